#!/usr/bin/env bash
# Runs a cross-built test program under Wine in the build's prefix.
# Usage: wine-run.sh BUILD_DIR PROGRAM [ARGS...]
#
# Wine's helper processes (services, explorer) inherit the output of the
# process that starts them and outlive it; writing to a file keeps them
# off ctest's pipes, and a lingering server saves a start per test.
set -uo pipefail
. "$(dirname "$0")/wine-env.sh" "$1"
shift
wineserver -p30 </dev/null >/dev/null 2>&1 || true
output=$(mktemp)
wine "$@" </dev/null >"$output" 2>&1
status=$?
cat "$output"
rm -f "$output"
exit $status
