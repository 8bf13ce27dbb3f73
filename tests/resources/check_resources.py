#!/usr/bin/env python3
"""Check the checked-in image resources, decoded with Pillow.

Usage: python3 tests/resources/check_resources.py [RESOURCES_DIR]
(default: ../../resources relative to this file).  Exits non-zero on any
failure and ends with a line "<n> passed, <m> failed".  Pillow reorders an
icon's directory and drops a 32-bit image's AND mask, so the directory
entries and DIB headers are read with struct.
"""

import io
import os
import struct
import sys

from PIL import Image, IcoImagePlugin

# 2 colours at 32x32; 16 and 256 colours at 48, 32, 16; 32-bit at 128 to 16
ICON_FORMATS = [(32, 1), (48, 4), (32, 4), (16, 4), (48, 8), (32, 8), (16, 8),
                (128, 32), (48, 32), (32, 32), (16, 32)]
SKINS = ["星空.jpg", "大海.jpg", "天空.jpg"]
PNG_SIZES = [16, 32, 48, 128]
KEY = (88, 88, 88)
BANNER = (500, 200)
# byte budgets: the exe carries main.jpg and splash.gif and must not grow
MAIN_JPG, SKIN_JPG, SPLASH_GIF, TOTAL_LIMIT = (30_000, 35_453), (8_000, 70_000), 13_844, 630_000


class Checker:
    def __init__(self):
        self.passed = self.failed = 0

    def check(self, what, ok, detail=""):
        if ok:
            self.passed += 1
        else:
            self.failed += 1
            print("FAIL %s%s" % (what, ": " + detail if detail else ""))
        return ok


class Bad(Exception):
    """A file is too broken to check further."""


# ---------------------------------------------------------------------------
# ICO
# ---------------------------------------------------------------------------


def dib_layout(data, size, bpp):
    """Check one entry's DIB header and length; return its AND mask
    (L, 255 where the screen shows through)."""
    if data[:8] == b"\x89PNG\r\n\x1a\n":
        raise Bad("entry is PNG, not a DIB")
    hsize, w, h, planes, bits, comp, _, _, _, used, _ = struct.unpack_from("<IiiHHIIiiII", data)
    if (hsize, w, h, planes, bits, comp) != (40, size, 2 * size, 1, bpp, 0):
        raise Bad("header %r, wanted (40, %d, %d, 1, %d, 0)"
                  % ((hsize, w, h, planes, bits, comp), size, 2 * size, bpp))
    colours = 1 << bpp if bpp <= 8 else 0
    if used not in (0, colours):
        raise Bad("biClrUsed %d for %d-bit" % (used, bpp))
    xor_stride, and_stride = (size * bpp + 31) // 32 * 4, (size + 31) // 32 * 4
    and_at = 40 + 4 * colours + size * xor_stride
    if len(data) != and_at + size * and_stride:
        raise Bad("DIB is %d bytes, layout needs %d" % (len(data), and_at + size * and_stride))
    return Image.frombytes("1", (size, size), data[and_at:], "raw",
                           ("1", and_stride, -1)).convert("L")


def check_ico(c, path, kind):
    name = os.path.basename(path)
    data = open(path, "rb").read()
    if not c.check(name + " header", data[:6] == struct.pack("<HHH", 0, 1, 11),
                   "want reserved 0, type 1, 11 images"):
        return {}
    frames = IcoImagePlugin.IcoFile(io.BytesIO(data))
    by_offset = {e["offset"]: i for i, e in enumerate(frames.entry)}
    images = {}
    end = 6 + 16 * 11
    for i, (size, bpp) in enumerate(ICON_FORMATS):
        w, h, count, res, planes, bits, length, offset = struct.unpack_from(
            "<BBBBHHII", data, 6 + 16 * i)
        tag = "%s #%d (%dx%d %d-bit)" % (name, i + 1, size, size, bpp)
        want_count = {1: 2, 4: 16}.get(bpp, 0)
        c.check(tag + " directory entry",
                (w, h, count, res, planes, bits) == (size, size, want_count, 0, 1, bpp),
                "got w=%d h=%d colours=%d reserved=%d planes=%d bits=%d"
                % (w, h, count, res, planes, bits))
        if not c.check(tag + " placement", offset == end and offset + length <= len(data),
                       "offset %d length %d, expected data at %d" % (offset, length, end)):
            continue
        end = offset + length
        try:
            mask = dib_layout(data[offset:end], size, bpp)
        except Bad as e:
            c.check(tag + " DIB", False, str(e))
            continue
        c.check(tag + " DIB", True)
        px = list(frames.frame(by_offset[offset]).getdata())
        images[(size, bpp)] = (px, [1 if m else 0 for m in mask.getdata()])
        check_icon_pixels(c, tag, size, bpp, *images[(size, bpp)])
    c.check(name + " has no trailing bytes", end == len(data))
    if images:
        check_icon_set(c, name, kind, images)
    return images


def check_icon_pixels(c, tag, size, bpp, px, mask):
    opaque = mask.count(0)
    c.check(tag + " silhouette size", 0.12 * size * size < opaque < 0.75 * size * size,
            "%d of %d pixels opaque" % (opaque, size * size))
    corners = [0, size - 1, size * (size - 1), size * size - 1]
    c.check(tag + " corners transparent", all(mask[i] for i in corners))
    # where the AND mask lets the screen through, the XOR part must be black
    # (or fully transparent), else the shape leaves a coloured halo
    bad = sum(1 for p, m in zip(px, mask) if m and p[:3] != (0, 0, 0))
    c.check(tag + " masked pixels are black", bad == 0, "%d are not" % bad)
    if bpp == 32:
        off = sum(1 for p, m in zip(px, mask) if m != (p[3] == 0))
        c.check(tag + " AND mask matches alpha", off == 0, "%d pixels disagree" % off)
        c.check(tag + " has soft edges", any(0 < p[3] < 255 for p in px), "alpha is all 0 or 255")
    # the silhouettes are left-right symmetric; a garbled row layout is not
    sym = sum(1 for y in range(size) for x in range(size)
              if mask[y * size + x] != mask[y * size + size - 1 - x])
    c.check(tag + " symmetric", sym <= 0.04 * size * size, "%d pixels differ" % sym)


def check_icon_set(c, name, kind, images):
    # palette images must show the same shape as the 32-bit one of that size
    for size in (48, 32, 16):
        ref = images.get((size, 32))
        for bpp in (1, 4, 8):
            img = images.get((size, bpp))
            if not ref or not img:
                continue
            soft = [1 if p[3] >= 128 else 0 for p in ref[0]]
            b = [1 - m for m in img[1]]
            inter = sum(x & y for x, y in zip(soft, b))
            union = sum(x | y for x, y in zip(soft, b)) or 1
            c.check("%s %dx%d %d-bit matches 32-bit shape" % (name, size, size, bpp),
                    inter / union > 0.85 and ref[1].count(0) >= sum(b),
                    "overlap %.2f" % (inter / union))
    big = images.get((128, 32))
    if not big:
        return
    sel = [p for p in big[0] if p[3] == 255]
    r, g, b = (sum(p[i] for p in sel) / len(sel) for i in range(3))
    if kind == "bat":
        c.check(name + " is dark grey", max(r, g, b) - min(r, g, b) < 16 and max(r, g, b) < 110,
                "mean colour %.0f,%.0f,%.0f" % (r, g, b))
        # wings make the bat much wider than it is tall
        x0, y0, x1, y1 = Image.frombytes("L", (128, 128), bytes(p[3] for p in big[0])).getbbox()
        c.check(name + " has spread wings", x1 - x0 > 1.6 * (y1 - y0),
                "%d wide, %d tall" % (x1 - x0, y1 - y0))
    else:
        c.check(name + " is purple", b > g + 40 and r > g + 20,
                "mean colour %.0f,%.0f,%.0f" % (r, g, b))


# ---------------------------------------------------------------------------
# GIF, JPEG, BMP, PNG
# ---------------------------------------------------------------------------


def check_gif(c, path):
    name = os.path.basename(path)
    im = Image.open(path)
    c.check(name + " is a GIF", im.format == "GIF", str(im.format))
    # Pillow widens a GIF to its largest frame: the logical screen is read
    screen = struct.unpack_from("<HH", open(path, "rb").read(10), 6)
    c.check(name + " is 500x200", im.size == screen == BANNER, "%dx%d" % screen)
    if not c.check(name + " has two frames", im.n_frames == 2, "%d frames" % im.n_frames):
        return
    frames = []
    for n in (1, 2):
        im.seek(n - 1)
        tag = "%s frame %d" % (name, n)
        (_, rect, _, (_, interlaced, _)), = im.tile
        # the first frame is the one shown, so it covers the picture
        c.check(tag + " covers the picture" if n == 1 else tag + " lies in the picture",
                rect == (0, 0) + BANNER if n == 1 else
                0 <= rect[0] < rect[2] <= BANNER[0] and 0 <= rect[1] < rect[3] <= BANNER[1],
                str(rect))
        c.check(tag + " is not interlaced", not interlaced)
        px = list(im.convert("RGB").getdata())
        frames.append(px)
        keyed = px.count(KEY)
        c.check(tag + " never uses the key colour 88,88,88", keyed == 0, "%d pixels" % keyed)
        corners = [px[0], px[499], px[-500], px[-1]]
        c.check(tag + " black ground", all(p == (0, 0, 0) for p in corners), str(corners))
        if n == 1:
            white = sum(1 for p in px if min(p) >= 250)
            cyan = sum(1 for p in px if p[0] < 80 and p[1] > 180 and p[2] > 200)
            c.check(tag + " white lettering", white > 0.04 * len(px), "%d white" % white)
            c.check(tag + " cyan outline", cyan > 0.01 * len(px), "%d cyan" % cyan)
        else:
            colour = sum(1 for p in px if max(p) - min(p) > 2)
            light = sum(1 for p in px if min(p) > 120)
            c.check(tag + " is grey", colour == 0, "%d coloured pixels" % colour)
            c.check(tag + " grey lettering", light > 0.04 * len(px), "%d light" % light)
    diff = sum((p != (0, 0, 0)) != (q != (0, 0, 0)) for p, q in zip(*frames))
    c.check(name + " frames share the lettering", diff < 0.002 * len(frames[0]),
            "%d pixels differ" % diff)


def check_jpeg(c, path, low, high):
    name = os.path.basename(path)
    data = open(path, "rb").read()
    im = Image.open(io.BytesIO(data))
    im.load()
    c.check(name + " is a complete JPEG", im.format == "JPEG" and data[-2:] == b"\xFF\xD9")
    c.check(name + " is 480x720 colour", (im.size, im.mode) == ((480, 720), "RGB"),
            "%dx%d %s" % (im.size + (im.mode,)))
    c.check(name + " size", low <= len(data) <= high,
            "%d bytes, expected %d..%d" % (len(data), low, high))
    return data


def check_bmp(c, path):
    name = os.path.basename(path)
    data = open(path, "rb").read()
    magic, fsize = struct.unpack_from("<2sI", data)
    header = struct.unpack_from("<IiiHHI", data, 14)
    c.check(name + " file header", magic == b"BM" and fsize == len(data),
            "magic %r, size field %d of %d" % (magic, fsize, len(data)))
    if not c.check(name + " 500x200 24-bit bottom-up BITMAPINFOHEADER",
                   header == (40, 500, 200, 1, 24, 0), str(header)):
        return
    im = Image.open(io.BytesIO(data))
    im.load()
    w, h = im.size
    corners = [im.getpixel(p) for p in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1))]
    c.check(name + " corners pure red", all(p == (255, 0, 0) for p in corners))
    border = [im.getpixel((x, y)) for x in range(w) for y in (0, h - 1)]
    border += [im.getpixel((x, y)) for y in range(h) for x in (0, w - 1)]
    c.check(name + " edges pure red", all(p == (255, 0, 0) for p in border),
            "%d edge pixels differ" % sum(p != (255, 0, 0) for p in border))
    px = list(im.getdata())
    white = sum(1 for p in px if min(p) >= 250)
    blue = sum(1 for p in px if p[2] > 150 and p[0] < 90)
    c.check(name + " white lettering", white > 0.05 * len(px), "%d white" % white)
    c.check(name + " blue shadow", blue > 0.01 * len(px), "%d blue" % blue)


def check_png(c, path, size, ico_images):
    name = "png %dx%d" % (size, size)
    Image.open(path).verify()      # chunk CRCs
    im = Image.open(path)
    c.check(name + " is 8-bit RGBA, not interlaced",
            (im.format, im.mode, im.info.get("interlace", 0)) == ("PNG", "RGBA", 0),
            "%s %s" % (im.mode, im.info))
    c.check(name + " size", im.size == (size, size), "%dx%d" % im.size)
    px = list(im.convert("RGBA").getdata())
    c.check(name + " transparent corners", px[0][3] == 0 and px[-1][3] == 0)
    ref = ico_images.get((size, 32))
    if ref and im.size == (size, size):
        diff = sum(1 for p, q in zip(px, ref[0]) if p[3] != q[3])
        c.check(name + " is the app.ico bat", diff == 0, "%d alpha values differ" % diff)


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    root = argv[1] if len(argv) > 1 else os.path.join(here, "..", "..", "resources")
    c = Checker()
    wanted = (["app.ico", "form1.ico", "splash.gif", "main.jpg", "about.bmp"]
              + ["skins/" + s for s in SKINS]
              + ["icons/hicolor/%dx%d/apps/tavimo-shutdown.png" % (s, s) for s in PNG_SIZES])
    missing = [f for f in wanted if not os.path.isfile(os.path.join(root, f))]
    if not c.check("all resource files present", not missing, ", ".join(missing)):
        print("%d passed, %d failed" % (c.passed, c.failed))
        return 1
    path = lambda f: os.path.join(root, *f.split("/"))

    def guarded(what, fn, *args, default=None):
        # a truncated or mangled file must fail the check, not crash it
        try:
            return fn(c, *args)
        except (IndexError, ValueError, OSError, EOFError, SyntaxError, struct.error, Bad) as e:
            c.check(what + " is readable", False, "%s: %s" % (type(e).__name__, e))
            return default

    bats = guarded("app.ico", check_ico, path("app.ico"), "bat", default={})
    guarded("form1.ico", check_ico, path("form1.ico"), "spider")
    guarded("splash.gif", check_gif, path("splash.gif"))
    c.check("splash.gif small", os.path.getsize(path("splash.gif")) <= SPLASH_GIF)
    jpegs = {"main.jpg": guarded("main.jpg", check_jpeg, path("main.jpg"), *MAIN_JPG)}
    for s in SKINS:
        jpegs[s] = guarded(s, check_jpeg, path("skins/" + s), *SKIN_JPG, default=s)
    c.check("the four backgrounds are different files", len(set(jpegs.values())) == 4)
    guarded("about.bmp", check_bmp, path("about.bmp"))
    for s in PNG_SIZES:
        guarded("png %d" % s, check_png,
                path("icons/hicolor/%dx%d/apps/tavimo-shutdown.png" % (s, s)), s, bats)
    total = sum(os.path.getsize(path(f)) for f in wanted)
    c.check("pictures total under %d bytes" % TOTAL_LIMIT, total <= TOTAL_LIMIT, "%d bytes" % total)
    print("%d passed, %d failed" % (c.passed, c.failed))
    return 1 if c.failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
