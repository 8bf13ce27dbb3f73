#!/usr/bin/env bash
# Creates the build's Wine prefix at build time: making one takes longer
# than ctest allows for listing the core tests under Wine.
# Usage: prefix-init.sh BUILD_DIR STAMP
set -euo pipefail
. "$(dirname "$0")/wine-env.sh" "$1"
unset DISPLAY
wineboot -i </dev/null >/dev/null 2>&1
wineserver -w
touch "$2"
