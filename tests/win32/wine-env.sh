# Sourced by the test scripts: the run's own Wine prefix and X display.
# Usage: . wine-env.sh BUILD_DIR
build=$1
export WINEPREFIX="$build/wineprefix"
export WINEARCH=win32
export WINEDEBUG=-all
# No Wine dialogs about missing Mono or Gecko during wineboot.
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ -f "$build/xvfb.display" ]; then
  export DISPLAY=":$(cat "$build/xvfb.display")"
fi
# A build for x86-64 (on kernels that run no 32-bit code) runs under the
# 64-bit loader in a 64-bit prefix.
if grep -qs '^CMAKE_SYSTEM_PROCESSOR:.*=x86_64' "$build/CMakeCache.txt" ||
  grep -qs 'x86_64-w64-mingw32' "$build/CMakeCache.txt"; then
  export WINEARCH=win64
  wine() { /usr/lib/wine/wine64 "$@"; }
  wineboot() { wine wineboot "$@"; }
fi

# What the tests stand on: when one of these fails, the harness says so
# with its log, apart from any failure of the program.
. "$(dirname "${BASH_SOURCE[0]}")/../harness.sh"
check_harness() {
  harness_alive "$(cat "$build/xvfb.pid" 2>/dev/null)" "Xvfb" "$build/xvfb.log"
  xdpyinfo >/dev/null 2>&1 || harness_fail "the X display $DISPLAY does not answer" "$build/xvfb.log"
  [ -f "$WINEPREFIX/system.reg" ] || harness_fail "no Wine prefix at $WINEPREFIX"
}
