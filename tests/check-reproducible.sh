#!/usr/bin/env bash
# Builds a target again from a copy of the tracked sources in another
# folder and compares what it wrote byte for byte with the build under test.
# Usage: check-reproducible.sh SOURCE_DIR PRESET TARGET FILE
set -euo pipefail
source_dir=$1
preset=$2
target=$3
file=$4
copy=$(mktemp -d /tmp/tavimo-second-build.XXXXXXXX)
trap 'rm -rf "$copy"' EXIT
git -C "$source_dir" ls-files -z | (cd "$source_dir" && xargs -0 tar -cf - --) | tar -xf - -C "$copy"
# The copy has no history: it is dated by the sources' last commit.
SOURCE_DATE_EPOCH=$(git -C "$source_dir" log -1 --format=%ct)
export SOURCE_DATE_EPOCH
# Only what ships: tests add nothing to it.
cmake --preset "$preset" -S "$copy" -DBUILD_TESTING=OFF >/dev/null
cmake --build "$copy/build/$preset" -j2 --target "$target" >/dev/null
if cmp "$file" "$copy/build/$preset/$(basename "$file")"; then
  echo "same bytes from $copy"
else
  echo "FAIL the second build differs"
  exit 1
fi
