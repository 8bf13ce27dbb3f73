#!/usr/bin/env bash
# Figures for the Linux program: start-up to the splash mapped, resident
# memory and CPU time with main idle, how late the 60 s countdown's
# request reaches logind, and resident memory after a large photo skin. Runs on its own Xvfb display with private buses
# and a stand-in logind; asserts nothing.
#   bench/qt/run.sh [PROGRAM]
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
program="${1:-$root/build/linux/src/platform/qt/tavimo-shutdown}"
[ -x "$program" ] || { echo "build the linux preset first: $program" >&2; exit 1; }
python="${TAVIMO_PYTHON:-/usr/bin/python3}"

work="$(mktemp -d)"
xvfb=""
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(head -n1 "$work/display")" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work"
unset WAYLAND_DISPLAY

"$root/tests/qt/with_private_buses.sh" "$work/bus.jsonl" \
  "$python" "$root/bench/qt/measure.py" "$program"
"$root/tests/qt/with_private_buses.sh" "$work/bus.jsonl" \
  "$python" "$root/bench/qt/measure.py" "$program" skin
