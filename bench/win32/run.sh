#!/usr/bin/env bash
# Figures for the Windows program: executable size by section, start-up
# time against a minimal Win32 window (and against one that also makes the
# splash's load-handler calls), a 60-second countdown's timing and the
# working set before and after a 6000x4000 photo is chosen as skin, under
# Wine. Prints figures and asserts nothing.
# Usage: bench/win32/run.sh [SECONDS]   (after building the win32 preset)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-60}
name="Tavimo关机工具3.6.0.exe"
shipped="$root/build/win32/$name"
# The shipped 32-bit program is measured; where the kernel runs no 32-bit
# code, the timings and working set come from the x86-64 build under native
# 64-bit Wine: emulated 32-bit timings (tests/win32/emulated.sh) are the
# emulator's, not the program's.
build="$root/build/win32"
runs="the shipped i686 exe under native 32-bit Wine"
if [[ ${TAVIMO_WINE_RUN:-} == emulated* ]] || ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  build="$root/build/win32-wine64"
  runs="the x86-64 build of the same sources under native 64-bit Wine (no 32-bit code runs here)"
fi
exe="$build/$name"
driver="$build/tests/win32/e2e_driver.exe"
minimal="$build/bench/win32/minimal_window.exe"
loaded="$build/bench/win32/load_handler_window.exe"
for f in "$shipped" "$exe" "$driver" "$minimal" "$loaded"; do
  [ -f "$f" ] || { echo "missing $f: build the win32 preset (and win32-wine64) first" >&2; exit 1; }
done

echo "== size of the shipped i686 exe"
i686-w64-mingw32-objdump -h "$shipped" | python3 -c '
import os, sys
total = os.path.getsize(sys.argv[1])
sizes = {}
for line in sys.stdin:
    f = line.split()
    if len(f) > 2 and f[0].isdigit() and f[1].startswith("."):
        sizes[f[1]] = int(f[2], 16)
        print(f"  {f[1]:<9} {sizes[f[1]] / 1024:8.1f} KiB")
print(f"  whole exe         {total / 1024:8.1f} KiB (target <= 700)")
rsrc, text = sizes.get(".rsrc", 0), sizes.get(".text", 0)
print(f"  without resources {(total - rsrc) / 1024:8.1f} KiB")
print(f"  code (.text)      {text / 1024:8.1f} KiB (target <= 200)")
' "$shipped"

# The test fixture's prefix and X server, for this run only.
bash "$root/tests/win32/prefix.sh" "$build" setup "$build/tests/win32/cmd.exe" >/dev/null
trap 'bash "$root/tests/win32/prefix.sh" "$build" cleanup' EXIT
TAVIMO_CMD=n
. "$root/tests/win32/wine-env.sh" "$build"
wineserver -p30 </dev/null >/dev/null 2>&1 || true

work="$build/bench-run"
rm -rf "$work"
mkdir -p "$work/app"
cp "$exe" "$build"/*.jpg "$minimal" "$loaded" "$work/app/"
app="$(windows "$work/app/$(basename "$exe")")"

echo "== start-up, countdown and memory: $runs"
echo "== start-up"
wine "$driver" bench-startup "$app" "$(windows "$work/startup.log")" "$(windows "$work")" \
  "$(windows "$work/app/minimal_window.exe")" </dev/null 2>/dev/null | grep -v failure |
  sed 's/\r$//; /^ratio:/s/$/ (target <= 1.15)/'
echo "== countdown"
wine "$driver" bench-countdown "$app" "$(windows "$work/countdown.log")" "$(windows "$work")" \
  "$seconds" </dev/null 2>/dev/null | grep -v failure
echo "== memory"
# Working set, median of five runs: main with its built-in picture, then
# with a small skin (a first choice makes the chooser, its notice and the
# decoder, whatever the picture), then with a camera-sized photo, made here
# rather than kept in the tree. The photo's own growth is against its target.
convert -size 6000x4000 gradient:navy-orange -quality 90 "$work/photo.jpg"
for _ in 1 2 3 4 5; do
  wine "$driver" bench-memory "$app" "$(windows "$work/memory.log")" "$(windows "$work")" \
    "$(windows "$work/photo.jpg")" </dev/null 2>/dev/null | grep -v failure
done | python3 -c '
import re, sys
from statistics import median
runs = {"built-in picture": [], "a small skin": [], "photo skin": []}
for line in sys.stdin:
    m = re.match(r"working set, (.*?): +([0-9.]+) MiB", line)
    if m and m.group(1) in runs:
        runs[m.group(1)].append(float(m.group(2)))
    elif line.strip():
        print(line, end="")
idle, small, photo = runs.values()
if idle and len(idle) == len(small) == len(photo):
    print(f"main with its built-in picture:  {median(idle):.1f} MiB")
    print(f"a small skin, chosen first:      {median([s - i for i, s in zip(idle, small)]):+.1f} MiB")
    own = sorted(p - s for s, p in zip(small, photo))
    print(f"then the 6000x4000 photo:        {median(own):+.1f} MiB"
          f" (runs {own[0]:+.1f} to {own[-1]:+.1f}) (target <= +1.0)")
    print(f"photo over the built-in picture: {median([p - i for i, p in zip(idle, photo)]):+.1f} MiB")
'
