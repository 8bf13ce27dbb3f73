#!/usr/bin/env bash
# Runs the escaping test with Wine's own cmd.exe in place of the prefix's
# recording one.
# Usage: run-cmd-escaping.sh BUILD_DIR TEST_EXE
set -euo pipefail
. "$(dirname "$0")/wine-env.sh" "$1"
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;cmd.exe=b"
# A Chinese system's code page, so that the echoed Chinese text survives.
export LC_ALL=zh_CN.UTF-8
wineserver -p30 </dev/null >/dev/null 2>&1 || true
output=$(mktemp)
status=0
wine "$2" </dev/null >"$output" 2>&1 || status=$?
cat "$output"
rm -f "$output"
exit $status
