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
