#!/usr/bin/env bash
# Builds the Linux program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run
cmake --preset linux -DBUILD_TESTING=OFF >/dev/null
cmake --build --preset linux -j"$(nproc)"
exec build/linux/src/platform/qt/tavimo-shutdown
