#!/usr/bin/env bash
# Runs one end-to-end scenario: a fresh copy of the program and its skins
# in a throwaway folder, the driver under Wine, screenshots as PNG.
# Usage: run-scenario.sh BUILD_DIR DRIVER_EXE PROGRAM_EXE SCENARIO
set -euo pipefail
build=$1
driver=$2
program=$3
scenario=$4
here=$(cd "$(dirname "$0")" && pwd)
# The interpreter scenario runs Wine's own cmd.exe, all others the recording one.
TAVIMO_CMD=n
[ "$scenario" != interpreter ] || TAVIMO_CMD=b
. "$here/wine-env.sh" "$build"

work="$build/e2e/$scenario"
rm -rf "$work"
mkdir -p "$work/app" "$work/shots" "$build/screenshots"
cp "$program" "$(dirname "$program")"/*.jpg "$work/app/"
# A decoy interpreter beside the program: it must never be the one started.
cp "$WINEPREFIX/drive_c/windows/system32/cmd.exe" "$work/app/cmd.exe"

extra=()
case $scenario in
  interpreter)
    # A browser stand-in first on PATH.
    mkdir -p "$work/bin"
    cp "$here/recording-xdg-open.sh" "$work/bin/xdg-open"
    export PATH="$work/bin:$PATH" TAVIMO_BROWSER_LOG="$work/browser.log"
    extra=("$(windows "$work/browser.log")") ;;
  menus)
    # A skin smaller than main, of one exact colour: a BMP under a JPEG's name.
    convert -size 100x80 'xc:rgb(255,0,0)' "BMP3:$work/app/small.jpg" ;;
  pictures)
    /usr/bin/python3 "$here/make-pictures.py" "$work/pictures"
    # A named pipe with no writer under a skin's name.
    rm "$work/app/星空.jpg"
    mkfifo "$work/app/星空.jpg"
    extra=("$(windows "$work/pictures")") ;;
esac

# The display's density: dpi-N scenarios run at N dots per inch, all
# others at 96. Each process reads it at start.
dpi=96
case "$scenario" in dpi-*) dpi=${scenario#dpi-} ;; esac
if [ "$(cat "$build/logpixels" 2>/dev/null || echo 96)" != "$dpi" ]; then
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
    </dev/null >/dev/null 2>&1
  echo "$dpi" >"$build/logpixels"
fi

# Which program runs, as its PE header says, and how Wine runs.
echo "$(basename "$program") ($(file -b "$program" | cut -d, -f1)) under Wine, ${TAVIMO_WINE_RUN:-native}"

check_harness
status=0
wine_logged "$work/driver.log" "$driver" "$scenario" "$(windows "$work/app/$(basename "$program")")" \
  "$(windows "$work/commands.log")" "$(windows "$work/shots")" "${extra[@]}" || status=$?
# The driver always ends on its count of failures: without it, it or Wine
# under it broke, or the display went away.
if ! grep -q "^$scenario: [0-9]* failure(s)" "$work/driver.log"; then
  check_harness
  harness_fail "the driver ended without a result (status $status)" "$work/driver.log"
fi
for shot in "$work"/shots/*.ppm; do
  [ -e "$shot" ] || continue
  convert "$shot" "$build/screenshots/$(basename "${shot%.ppm}").png"
done
# What the 96-dpi screenshots show, against Pillow's reading of the
# resources: the splash's banner is its GIF's first frame wherever no label
# covers it, and each caption shows its form's own icon (every opaque pixel
# of the icon's 16x16 image, near the window's corner).
/usr/bin/python3 - "$work/shots" "$here/../../resources" <<'EOF' || status=1
import os, sys
from PIL import Image, ImageChops
shots, resources = sys.argv[1:]
def shown(name):
    path = os.path.join(shots, name + ".ppm")
    return os.path.exists(path) and Image.open(path).convert("RGB")
if splash := shown("splash"):
    banner = Image.open(os.path.join(resources, "splash.gif")).convert("RGB")
    if differ := ImageChops.difference(*(i.crop((0, 40, 370, 200)) for i in (splash, banner))).getbbox():
        sys.exit(f"FAIL: the splash's banner is not its first frame within {differ}")
for name, file in (("main", "app.ico"), ("skins", "form1.ico")):
    if not (shot := shown(name)):
        continue
    icon = Image.open(os.path.join(resources, file))
    icon.size = (16, 16)
    icon = icon.convert("RGBA")
    opaque = [(x, y) for y in range(16) for x in range(16) if icon.getpixel((x, y))[3] == 255]
    if not any(all(shot.getpixel((dx + x, dy + y)) == icon.getpixel((x, y))[:3] for x, y in opaque)
               for dy in range(9) for dx in range(9)):
        sys.exit(f"FAIL: the caption in {name}'s screenshot does not show {file}")
EOF
exit $status
