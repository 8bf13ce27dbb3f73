#!/usr/bin/env bash
# Runs a command with two private D-Bus buses standing in for the system and
# the session bus, a stand-in logind and notification daemon on them, and
# both addresses exported, so nothing can reach the machine's real buses.
#   with_private_buses.sh LOG_FILE COMMAND...
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
log="$1"
shift
python="${TAVIMO_PYTHON:-/usr/bin/python3}"

work="$(mktemp -d)"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

start_bus() {
  dbus-daemon --config-file="$here/private-bus.conf" --fork \
    --print-address=3 --print-pid=4 3>"$work/$1.address" 4>"$work/$1.pid"
  pids+=("$(head -n1 "$work/$1.pid")")
}

start_bus system
start_bus session
DBUS_SYSTEM_BUS_ADDRESS="$(head -n1 "$work/system.address")"
DBUS_SESSION_BUS_ADDRESS="$(head -n1 "$work/session.address")"
export DBUS_SYSTEM_BUS_ADDRESS DBUS_SESSION_BUS_ADDRESS
export TAVIMO_BUS_LOG="$log"
: >"$log"

"$python" "$here/fake_desktop_services.py" --system "$DBUS_SYSTEM_BUS_ADDRESS" \
  --session "$DBUS_SESSION_BUS_ADDRESS" --log "$log" --ready "$work/ready" &
pids+=("$!")
for _ in $(seq 100); do
  [ -s "$work/ready" ] && break
  sleep 0.05
done
[ -s "$work/ready" ] || { echo "the stand-in services did not start" >&2; exit 1; }

"$@"
