#!/usr/bin/env bash
# Builds everything (the core, the Linux program, the Windows executable)
# and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test

scripts/check-format.sh

status=0
build_and_test() {
  local preset=$1
  shift
  echo "== $preset"
  cmake --preset "$preset" -DBUILD_TESTING=ON "$@" >/dev/null
  cmake --build --preset "$preset" -j"$(nproc)"
  ctest --preset "$preset" -j1 || status=1
}

build_and_test core
build_and_test linux
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  build_and_test win32 -DTAVIMO_WINE_TESTS=ON
else
  # Some kernels run no 32-bit code, so no 32-bit Wine: there the shipped
  # 32-bit program gets the checks that need no Wine, and the tests under
  # Wine run on an x86-64 build of the same sources.
  build_and_test win32 -DTAVIMO_WINE_TESTS=OFF
  build_and_test win32-wine64
fi
echo "== Debian package"
bash tests/qt/package_test.sh build/linux || status=1
exit $status
