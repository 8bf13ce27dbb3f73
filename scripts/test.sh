#!/usr/bin/env bash
# Builds everything (the core, the Linux program, the Windows executable)
# and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test

scripts/check-format.sh

status=0
for preset in core linux win32; do
  echo "== $preset"
  cmake --preset "$preset" -DBUILD_TESTING=ON >/dev/null
  cmake --build --preset "$preset" -j"$(nproc)"
  ctest --preset "$preset" -j1 || status=1
done
echo "== Debian package"
bash tests/qt/package_test.sh build/linux || status=1
exit $status
