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
# The shipped 32-bit program runs every Windows test, under 32-bit Wine as
# it is or, where the kernel runs no 32-bit code, emulated.
export -f build_and_test
tests/win32/emulated.sh bash -c 'set -euo pipefail; status=0
  echo "== Windows tests: Tavimo关机工具3.6.0.exe (i686) under 32-bit Wine, $TAVIMO_WINE_RUN"
  build_and_test win32 -DTAVIMO_WINE_TESTS=ON
  exit $status' || status=1
# The same sources for x86-64 under 64-bit Wine: the faster second run.
build_and_test win32-wine64
echo "== Debian package"
bash tests/qt/package_test.sh build/linux || status=1
exit $status
