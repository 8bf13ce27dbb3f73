#!/usr/bin/env bash
# Runs a cross-built test program under Wine in the build's prefix.
# Usage: [TAVIMO_CMD=b|n] wine-run.sh BUILD_DIR PROGRAM [ARGS...]
set -uo pipefail
. "$(dirname "$0")/wine-env.sh" "$1"
shift
output=$(mktemp)
trap 'rm -f "$output"' EXIT
wine_logged "$output" "$@"
