#!/usr/bin/env bash
# Makes the run's Wine prefix and X server, once per test run: fonts that
# draw Chinese, unmanaged undecorated windows, and the recording cmd.exe
# in place of the prefix's own.
# Usage: prefix-setup.sh BUILD_DIR RECORDING_CMD_EXE
set -euo pipefail
build=$1
recorder=$2
here=$(cd "$(dirname "$0")" && pwd)

if [ -f "$build/xvfb.pid" ] && kill -0 "$(cat "$build/xvfb.pid")" 2>/dev/null; then
  :
else
  rm -f "$build/xvfb.display"
  exec 3>"$build/xvfb.display.tmp"
  setsid Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp </dev/null >"$build/xvfb.log" 2>&1 &
  echo $! >"$build/xvfb.pid"
  exec 3>&-
  for _ in $(seq 100); do
    [ -s "$build/xvfb.display.tmp" ] && break
    sleep 0.1
  done
  tr -d '\n' <"$build/xvfb.display.tmp" >"$build/xvfb.display"
  rm -f "$build/xvfb.display.tmp"
fi
. "$here/wine-env.sh" "$build"
[ -s "$build/xvfb.display" ] || harness_fail "Xvfb announced no display" "$build/xvfb.log"
check_harness

# A server left lingering by earlier tests would make the waits below long.
wineserver -k 2>/dev/null || true
wineboot -i </dev/null >/dev/null 2>&1
wineserver -w
# regedit reads UTF-16 for the Chinese font name.
iconv -f UTF-8 -t UTF-16 "$here/prefix.reg" >"$build/prefix.reg"
wine regedit /S "$(echo "Z:$build/prefix.reg" | tr / '\\')" </dev/null >/dev/null 2>&1
wineserver -w
echo 96 >"$build/logpixels"
cp "$recorder" "$WINEPREFIX/drive_c/windows/system32/cmd.exe"
grep -q 'WenQuanYi' "$WINEPREFIX/user.reg"
echo "prefix ready on display $DISPLAY"
