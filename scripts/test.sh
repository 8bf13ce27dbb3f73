#!/usr/bin/env bash
# Builds everything (the core, the Linux program, the Windows executable)
# and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh test

scripts/check-format.sh

presets=(core linux win32)
# Some kernels run no 32-bit code, so no 32-bit Wine: there the shipped
# 32-bit program is built and its resources checked, and the Windows
# tests run on an x86-64 build of the same sources.
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  presets=(core linux win32-wine64)
fi

status=0
for preset in "${presets[@]}"; do
  echo "== $preset"
  cmake --preset "$preset" -DBUILD_TESTING=ON >/dev/null
  cmake --build --preset "$preset" -j"$(nproc)"
  ctest --preset "$preset" -j1 || status=1
done
if [ "${presets[2]}" = win32-wine64 ]; then
  echo "== win32 (program and resources only)"
  cmake --preset win32 -DBUILD_TESTING=ON >/dev/null
  cmake --build --preset win32 -j"$(nproc)" --target tavimo_win32
  ctest --preset win32 -R '^win32_resources$' || status=1
fi
echo "== Debian package"
bash tests/qt/package_test.sh build/linux || status=1
exit $status
