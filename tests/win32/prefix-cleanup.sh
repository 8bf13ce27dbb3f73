#!/usr/bin/env bash
# Stops the run's Wine server and X server.
# Usage: prefix-cleanup.sh BUILD_DIR
set -uo pipefail
build=$1
. "$(dirname "$0")/wine-env.sh" "$build"
wineserver -k 2>/dev/null
if [ -f "$build/xvfb.pid" ]; then
  kill "$(cat "$build/xvfb.pid")" 2>/dev/null
  rm -f "$build/xvfb.pid" "$build/xvfb.display"
fi
exit 0
