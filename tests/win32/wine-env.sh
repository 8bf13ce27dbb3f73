# Sourced by the test scripts: the run's own Wine prefix and X display.
# TAVIMO_CMD=n runs the prefix's recording cmd.exe, =b Wine's own.
# Usage: . wine-env.sh BUILD_DIR
build=$1
export WINEPREFIX="$build/wineprefix"
export WINEARCH=win32
export WINEDEBUG=-all
# No Wine dialogs about missing Mono or Gecko during wineboot.
export WINEDLLOVERRIDES="mscoree,mshtml=${TAVIMO_CMD:+;cmd.exe=$TAVIMO_CMD}"
if [ -f "$build/display" ]; then
  export DISPLAY=":$(head -n1 "$build/display")"
fi
# A build for x86-64 (on kernels that run no 32-bit code) runs under the
# 64-bit loader in a 64-bit prefix.
if grep -qs 'x86_64-w64-mingw32' "$build/CMakeCache.txt"; then
  export WINEARCH=win64
  wine() { /usr/lib/wine/wine64 "$@"; }
  wineboot() { wine wineboot "$@"; }
fi
windows() { echo "Z:$1" | tr / '\\'; }

# Wine's helper processes (services, explorer) inherit the output of the
# process that starts them and outlive it: output goes to a file, kept off
# ctest's pipes, and a lingering server saves a start per run.
wine_logged() {  # LOG PROGRAM [ARGS...]
  local log=$1 status=0
  shift
  wineserver -p30 </dev/null >/dev/null 2>&1 || true
  wine "$@" </dev/null >"$log" 2>&1 || status=$?
  cat "$log"
  return $status
}

# What the tests stand on: when one of these fails, the harness says so
# with its log, apart from any failure of the program.
. "$(dirname "${BASH_SOURCE[0]}")/../harness.sh"
check_harness() {
  harness_alive "$(cat "$build/xvfb.pid" 2>/dev/null)" "Xvfb" "$build/xvfb.log"
  xdpyinfo >/dev/null 2>&1 || harness_fail "the X display $DISPLAY does not answer" "$build/xvfb.log"
  [ -f "$WINEPREFIX/system.reg" ] || harness_fail "no Wine prefix at $WINEPREFIX"
}
