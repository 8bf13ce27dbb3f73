#!/usr/bin/env bash
# Figures for the Linux program: start-up to the splash mapped, resident
# memory and CPU time with main idle, how late the 60 s countdown's
# request is made (on X11 and on Wayland), and resident memory after
# a large photo skin. Runs on its own Xvfb display and headless weston with
# private buses and dbusmock's logind; asserts nothing.
#   bench/qt/run.sh [PROGRAM]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
program="${1:-$root/build/linux/src/platform/qt/tavimo-shutdown}"
[ -x "$program" ] || { echo "build the linux preset first: $program" >&2; exit 1; }
python="${TAVIMO_PYTHON:-/usr/bin/python3}"

work="$(mktemp -d)"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

. "$root/tests/harness.sh"
start_xvfb "$work"
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work"
unset WAYLAND_DISPLAY

echo "== on X11 (Xvfb)"
"$root/tests/qt/with_private_buses.sh" "$work/bus" \
  "$python" "$root/bench/qt/measure.py" "$program"
"$root/tests/qt/with_private_buses.sh" "$work/bus" \
  "$python" "$root/bench/qt/measure.py" "$program" skin

# The countdown natively on Wayland: weston on no hardware, drawing with
# pixman, and the start button pressed through the accessibility bus.
weston --backend=headless-backend.so --use-pixman --socket=tavimo-bench \
  --width=1024 --height=768 >"$work/weston.log" 2>&1 &
pids+=("$!")
for _ in $(seq 100); do [ -S "$work/tavimo-bench" ] && break; sleep 0.05; done
[ -S "$work/tavimo-bench" ] || harness_fail "weston did not open its socket tavimo-bench" "$work/weston.log"
echo "== on Wayland (weston)"
WAYLAND_DISPLAY=tavimo-bench QT_QPA_PLATFORM=wayland QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
  "$root/tests/qt/with_private_buses.sh" "$work/bus" bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately 2>/dev/null &
    for _ in $(seq 100); do
      dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
        org.a11y.Bus.GetAddress >/dev/null 2>&1 && break
      sleep 0.05
    done
    "$@"
    kill $!' _ "$python" "$root/bench/qt/measure.py" "$program" wayland
