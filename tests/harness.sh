# Sourced by the test scripts. What the tests stand on (display server,
# compositor, buses, the Wine prefix) failing is the harness's fault, told
# apart from the program's failures by "HARNESS:" and exit status 3, with
# the failing part's log.

harness_fail() {  # WHAT [LOG]
  echo "HARNESS: $1${2:+; log $2:}" >&2
  [ -z "${2:-}" ] || tail -n 20 "$2" 2>/dev/null | sed 's/^/  | /' >&2
  exit 3
}

# Ends the processes a script started (its pids) and removes its work
# folder, at its exit.
harness_cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}

# Until COMMAND succeeds, trying it every 0.05 s, TRIES times and once more;
# its last status.
poll() {  # TRIES COMMAND...
  local tries="$1"
  shift
  for _ in $(seq "$tries"); do "$@" && return 0; sleep 0.05; done
  "$@"
}
not() { ! "$@"; }

# Until the X server at $DISPLAY answers a client: it announces its
# display number before it accepts connections.
wait_for_x() {  # WHAT LOG
  poll 100 xdpyinfo >/dev/null 2>&1 || harness_fail "$1 did not accept connections" "$2"
}

# Xvfb on a display number nobody uses, ready for clients; sets DISPLAY
# and xvfb_pid, and adds it to the caller's pids to end.
start_xvfb() {  # WORK_DIR [SCREEN]
  Xvfb -displayfd 3 -screen 0 "${2:-1024x768x24}" -nolisten tcp 3>"$1/display" 2>"$1/xvfb.log" &
  xvfb_pid=$!
  pids+=("$xvfb_pid")
  poll 100 test -s "$1/display" || harness_fail "Xvfb did not start" "$1/xvfb.log"
  DISPLAY=":$(head -n1 "$1/display")"
  export DISPLAY
  wait_for_x "Xvfb $DISPLAY" "$1/xvfb.log"
}

# Fails as the harness's when a process it started has died.
harness_alive() {  # PID WHAT LOG
  kill -0 "$1" 2>/dev/null || harness_fail "$2 died" "$3"
}
