#!/usr/bin/env bash
# Runs a command with two private D-Bus buses standing in for the system and
# the session bus, dbusmock's logind (with logind_shutdown.py) and
# notification daemon on them, and both addresses exported, so nothing can
# reach the machine's real buses. The mocks log their calls to
# LOG_PREFIX.system.log and LOG_PREFIX.session.log.
#   with_private_buses.sh LOG_PREFIX COMMAND...
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
. "$here/../harness.sh"
logs="$1"
shift
python="${TAVIMO_PYTHON:-/usr/bin/python3}"

work="$(mktemp -d)"
pids=()
trap harness_cleanup EXIT

start_bus() {
  dbus-daemon --config-file="$here/private-bus.conf" --fork --print-address=3 --print-pid=4 \
    3>"$work/$1.address" 4>"$work/$1.pid" 2>"$work/$1-bus.log" ||
    harness_fail "the private $1 bus did not start" "$work/$1-bus.log"
  pids+=("$(head -n1 "$work/$1.pid")")
}
owned() {  # BUS NAME
  dbus-send --"$1" --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner "string:$2" 2>/dev/null | grep -q 'boolean true'
}
start_mock() {  # BUS TEMPLATE NAME
  "$python" -m dbusmock --"$1" -t "$2" -l "$logs.$1.log" 2>"$work/$1-mock.log" &
  pids+=("$!")
  poll 200 owned "$1" "$3" || harness_fail "dbusmock's $2 did not take $3 on the $1 bus" "$work/$1-mock.log"
}

start_bus system
start_bus session
DBUS_SYSTEM_BUS_ADDRESS="$(head -n1 "$work/system.address")"
DBUS_SESSION_BUS_ADDRESS="$(head -n1 "$work/session.address")"
export DBUS_SYSTEM_BUS_ADDRESS DBUS_SESSION_BUS_ADDRESS
export TAVIMO_BUS_LOG="$logs"  # tells the tests they run here
start_mock system "$here/logind_shutdown.py" org.freedesktop.login1
start_mock session notification_daemon org.freedesktop.Notifications

status=0
"$@" || status=$?
# A failure while a bus or a mock was gone is the harness's.
if [ "$status" -ne 0 ] && [ "$status" -ne 3 ]; then
  parts=("the private system bus:system-bus" "the private session bus:session-bus"
    "dbusmock's logind:system-mock" "dbusmock's notification daemon:session-mock")  # as in pids
  for i in "${!parts[@]}"; do harness_alive "${pids[i]}" "${parts[i]%:*}" "$work/${parts[i]#*:}.log"; done
fi
exit "$status"
