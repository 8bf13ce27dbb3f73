#!/usr/bin/env bash
# Runs a cross-built test program under Wine in the build's prefix.
# Usage: wine-run.sh BUILD_DIR PROGRAM [ARGS...]
set -euo pipefail
. "$(dirname "$0")/wine-env.sh" "$1"
shift
exec wine "$@"
