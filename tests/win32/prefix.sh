#!/usr/bin/env bash
# The tests' Wine prefix and X server.
#   init, at build time: the prefix; making one takes longer than ctest
#     allows for listing the core tests under Wine.
#   setup, once per test run: an X server, fonts that draw Chinese,
#     unmanaged undecorated windows, and the recording cmd.exe in place of
#     the prefix's own.
#   cleanup: stops the Wine server and the X server.
# Usage: prefix.sh BUILD_DIR init STAMP | setup RECORDING_CMD_EXE | cleanup
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh" "$build"
case $2 in
  init)
    unset DISPLAY
    wineboot -i </dev/null >/dev/null 2>&1
    wineserver -w
    touch "$3"
    exit ;;
  cleanup)
    wineserver -k 2>/dev/null || true
    kill "$(cat "$build/xvfb.pid" 2>/dev/null)" 2>/dev/null || true
    rm -f "$build/xvfb.pid" "$build/display"
    exit ;;
esac

# Outlives this test, off ctest's pipes, for the run's other tests.
if ! kill -0 "$(cat "$build/xvfb.pid" 2>/dev/null)" 2>/dev/null; then
  start_xvfb "$build" 1920x1080x24 </dev/null >/dev/null
  echo "$xvfb_pid" >"$build/xvfb.pid"
fi
check_harness

# A server left lingering by earlier tests would make the waits below long.
wineserver -k 2>/dev/null || true
wineboot -i </dev/null >/dev/null 2>&1
wineserver -w
# regedit reads UTF-16 for the Chinese font name.
iconv -f UTF-8 -t UTF-16 "$here/prefix.reg" >"$build/prefix.reg"
wine regedit /S "$(windows "$build/prefix.reg")" </dev/null >/dev/null 2>&1
wineserver -w
echo 96 >"$build/logpixels"
cp "$3" "$WINEPREFIX/drive_c/windows/system32/cmd.exe"
grep -q 'WenQuanYi' "$WINEPREFIX/user.reg"
echo "prefix ready on display $DISPLAY"
