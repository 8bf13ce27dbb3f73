#!/usr/bin/env bash
# Builds the executable again from a copy of the tracked sources in another
# folder and compares it byte for byte with the build under test.
# Usage: check-reproducible.sh SOURCE_DIR EXE
set -euo pipefail
source_dir=$1
exe=$2
copy=$(mktemp -d /tmp/tavimo-second-build.XXXXXXXX)
trap 'rm -rf "$copy"' EXIT
git -C "$source_dir" ls-files -z | (cd "$source_dir" && xargs -0 tar -cf - --) | tar -xf - -C "$copy"
# Only the program: tests and their Wine prefix add nothing to it.
cmake --preset win32 -S "$copy" -DBUILD_TESTING=OFF >/dev/null
cmake --build "$copy/build/win32" -j2 --target tavimo_win32 >/dev/null
if cmp "$exe" "$copy/build/win32/$(basename "$exe")"; then
  echo "same bytes from $copy"
else
  echo "FAIL the second build differs"
  exit 1
fi
