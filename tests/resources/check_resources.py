#!/usr/bin/env python3
"""Check the checked-in image resources, decoded with Pillow.

Usage: python3 tests/resources/check_resources.py [RESOURCES_DIR]
(default: ../../resources relative to this file).  Exits non-zero on any
failure and ends with a line "<n> passed, <m> failed".  Pillow sorts an
icon's directory and ignores a 32-bit image's AND mask, so the directory,
the DIB headers and the masks are read with struct.
"""

import io
import os
import struct
import sys

from PIL import IcoImagePlugin, Image, ImageChops, ImageOps, ImageStat

# (side, bits, DIB bytes, offset): 2 colours at 32x32; 16 and 256 colours at
# 48, 32, 16; 32-bit at 128 to 16.  A DIB is a 40-byte header, the palette,
# then the colour and AND mask rows padded to 32 bits; the DIBs follow the
# directory in its order, and the file ends with the last.
ICON_FORMATS = [(32, 1, 304, 182), (48, 4, 1640, 486), (32, 4, 744, 2126), (16, 4, 296, 2870),
                (48, 8, 3752, 3166), (32, 8, 2216, 6918), (16, 8, 1384, 9134),
                (128, 32, 67624, 10518), (48, 32, 9640, 78142), (32, 32, 4264, 87782),
                (16, 32, 1128, 92046)]
ICO_BYTES = 93_174
SKINS = ["星空.jpg", "大海.jpg", "天空.jpg"]
KEY = (88, 88, 88)
BANNER, SKY = (500, 200), (480, 720)
PNG = "icons/hicolor/%dx%d/apps/tavimo-shutdown.png"
# file: format, size, mode, frames, (least, most) bytes; the exe carries
# main.jpg and splash.gif and must not grow
PICTURES = {
    "splash.gif": ("GIF", BANNER, "P", 2, (0, 13_844)),
    "about.bmp": ("BMP", BANNER, "RGB", 1, (300_054, 300_054)),
    "main.jpg": ("JPEG", SKY, "RGB", 1, (30_000, 35_453)),
    **{"skins/" + s: ("JPEG", SKY, "RGB", 1, (8_000, 70_000)) for s in SKINS},
    **{PNG % (s, s): ("PNG", (s, s), "RGBA", 1, None) for s in (16, 32, 48, 128)},
}
TOTAL_LIMIT = 630_000


class Checker:
    def __init__(self):
        self.passed = self.failed = 0

    def check(self, what, ok, detail=""):
        self.passed, self.failed = self.passed + bool(ok), self.failed + (not ok)
        if not ok:
            print("FAIL %s%s" % (what, ": " + detail if detail else ""))
        return ok


def where(level, test):
    """L picture, 255 where the value of the L picture `level` passes `test`."""
    return level.point(lambda v: 255 if test(v) else 0)


# ---------------------------------------------------------------------------
# ICO
# ---------------------------------------------------------------------------


def check_ico(c, path, kind):
    name = os.path.basename(path)
    data = open(path, "rb").read()
    want = [(size, size, {1: 2, 4: 16}.get(bpp, 0), 0, 1, bpp, length, offset)
            for size, bpp, length, offset in ICON_FORMATS]
    c.check(name + " header", data[:6] == struct.pack("<HHH", 0, 1, 11),
            "want reserved 0, type 1, 11 images")
    rows = list(struct.iter_unpack("<BBBBHHII", data[6:6 + 16 * len(ICON_FORMATS)]))
    wrong = ["#%d %r, want %r" % (i + 1, r, w) for i, (r, w) in enumerate(zip(rows, want))
             if r != w]
    if not c.check(name + " directory", rows == want, "; ".join(wrong) or "%d rows" % len(rows)):
        return {}
    c.check(name + " has no trailing bytes", len(data) == ICO_BYTES, "%d bytes" % len(data))
    frames = IcoImagePlugin.IcoFile(io.BytesIO(data))
    index = {e["offset"]: i for i, e in enumerate(frames.entry)}
    images = {}
    for i, (size, _, _, _, _, bpp, length, offset) in enumerate(want):
        tag = "%s #%d (%dx%d %d-bit)" % (name, i + 1, size, size, bpp)
        header = struct.unpack_from("<IiiHHIIiiII", data, offset)
        if not c.check(tag + " DIB", header[:6] == (40, size, 2 * size, 1, bpp, 0)
                       and header[9] in (0, 1 << bpp if bpp <= 8 else 0), "header %r" % (header,)):
            continue
        # the AND mask ends the DIB; as L, 255 where the screen shows through
        stride, end = (size + 31) // 32 * 4, offset + length
        mask = Image.frombytes("1", (size, size), data[end - size * stride:end], "raw",
                               ("1", stride, -1)).convert("L")
        images[size, bpp] = frames.frame(index[offset]), mask
        check_icon_pixels(c, tag, bpp, *images[size, bpp])
    check_icon_set(c, name, kind, images)
    return images


def check_icon_pixels(c, tag, bpp, im, mask):
    size = im.width
    opaque = mask.histogram()[0]
    c.check(tag + " silhouette size", 0.12 * size * size < opaque < 0.75 * size * size,
            "%d of %d pixels opaque" % (opaque, size * size))
    corners = [(0, 0), (size - 1, 0), (0, size - 1), (size - 1, size - 1)]
    c.check(tag + " corners transparent", all(mask.getpixel(p) for p in corners))
    # where the AND mask lets the screen through, the XOR part must be black
    # (or fully transparent), else the shape leaves a coloured halo
    bad = ImageChops.multiply(im.convert("RGB"), mask.convert("RGB")).getbbox()
    c.check(tag + " masked pixels are black", bad is None, "some in %r are not" % (bad,))
    if bpp == 32:
        alpha = im.getchannel("A")
        off = ImageChops.difference(mask, where(alpha, lambda a: a == 0)).getbbox()
        c.check(tag + " AND mask matches alpha", off is None, "they disagree in %r" % (off,))
        c.check(tag + " has soft edges", any(alpha.histogram()[1:255]), "alpha is all 0 or 255")
    # the silhouettes are left-right symmetric; a garbled row layout is not
    sym = ImageChops.difference(mask, ImageOps.mirror(mask)).histogram()[255]
    c.check(tag + " symmetric", sym <= 0.04 * size * size, "%d pixels differ" % sym)


def check_icon_set(c, name, kind, images):
    # palette images must show the same shape as the 32-bit one of that size
    for (size, bpp), (_, mask) in images.items():
        ref = images.get((size, 32))
        if bpp == 32 or not ref:
            continue
        soft, shape = where(ref[0].getchannel("A"), lambda a: a >= 128), ImageChops.invert(mask)
        inter = ImageChops.darker(soft, shape).histogram()[255]
        union = ImageChops.lighter(soft, shape).histogram()[255] or 1
        c.check("%s %dx%d %d-bit matches 32-bit shape" % (name, size, size, bpp),
                inter / union > 0.85 and ref[1].histogram()[0] >= shape.histogram()[255],
                "overlap %.2f" % (inter / union))
    if (128, 32) not in images:
        return
    big = images[128, 32][0]
    alpha = big.getchannel("A")
    r, g, b = ImageStat.Stat(big.convert("RGB"), where(alpha, lambda a: a == 255)).mean
    if kind == "bat":
        c.check(name + " is dark grey", max(r, g, b) - min(r, g, b) < 16 and max(r, g, b) < 110,
                "mean colour %.0f,%.0f,%.0f" % (r, g, b))
        # wings make the bat much wider than it is tall
        x0, y0, x1, y1 = alpha.getbbox()
        c.check(name + " has spread wings", x1 - x0 > 1.6 * (y1 - y0),
                "%d wide, %d tall" % (x1 - x0, y1 - y0))
    else:
        c.check(name + " is purple", b > g + 40 and r > g + 20,
                "mean colour %.0f,%.0f,%.0f" % (r, g, b))


# ---------------------------------------------------------------------------
# GIF, JPEG, BMP, PNG
# ---------------------------------------------------------------------------


def check_picture(c, path, fmt, size, mode, frames, budget):
    """Checks common to all pictures, then those of its format."""
    name = "png %dx%d" % size if fmt == "PNG" else os.path.basename(path)
    data = open(path, "rb").read()
    im = Image.open(io.BytesIO(data))
    got = (im.format, im.size, im.mode, getattr(im, "n_frames", 1))
    if c.check(name + " format, size, mode, frames", got == (fmt, size, mode, frames), str(got)):
        c.check(name + " bytes", not budget or budget[0] <= len(data) <= budget[1],
                "%d, expected %s" % (len(data), budget))
        return {"GIF": check_gif, "JPEG": check_jpeg, "BMP": check_bmp, "PNG": check_png}[fmt](
            c, name, im, data)


def shares(c, tag, im, rows):
    """Rows of (what, pixel test, share of the picture that must pass it, or
    None where no pixel may)."""
    for what, test, least in rows:
        n = sum(1 for p in im.getdata() if test(p))
        enough = n == 0 if least is None else n > least * im.width * im.height
        c.check("%s %s" % (tag, what), enough, "%d pixels" % n)


def check_gif(c, name, im, data):
    # Pillow widens a GIF to its largest frame: the logical screen is read
    screen = struct.unpack_from("<HH", data, 6)
    c.check(name + " screen is 500x200", screen == BANNER, "%dx%d" % screen)
    w, h = BANNER
    no_key = ("never uses the key colour 88,88,88", lambda p: p == KEY, None)
    # per frame: where it lies and what its colours are
    frames = [("covers the picture", lambda r: r == (0, 0, w, h),
               [no_key, ("white lettering", lambda p: min(p) >= 250, 0.04),
                ("cyan outline", lambda p: p[0] < 80 and p[1] > 180 and p[2] > 200, 0.01)]),
              ("lies in the picture", lambda r: 0 <= r[0] < r[2] <= w and 0 <= r[1] < r[3] <= h,
               [no_key, ("is grey", lambda p: max(p) - min(p) > 2, None),
                ("grey lettering", lambda p: min(p) > 120, 0.04)])]
    shapes = []
    for n, (placement, placed, colours) in enumerate(frames):
        im.seek(n)
        tag = "%s frame %d" % (name, n + 1)
        (_, rect, _, (_, interlaced, _)), = im.tile
        # the first frame is the one shown, so it covers the picture
        c.check(tag + " " + placement, placed(rect), str(rect))
        c.check(tag + " is not interlaced", not interlaced)
        rgb = im.convert("RGB")
        corners = [rgb.getpixel(p) for p in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1))]
        c.check(tag + " black ground", corners == [(0, 0, 0)] * 4, str(corners))
        shares(c, tag, rgb, colours)
        shapes.append([p != (0, 0, 0) for p in rgb.getdata()])
    diff = sum(a != b for a, b in zip(*shapes))
    c.check(name + " frames share the lettering", diff < 0.002 * w * h, "%d pixels differ" % diff)


def check_jpeg(c, name, im, data):
    im.load()
    c.check(name + " ends with EOI", data[-2:] == b"\xFF\xD9")
    return data


def check_bmp(c, name, im, data):
    magic, fsize = struct.unpack_from("<2sI", data)
    header = struct.unpack_from("<IiiHHI", data, 14)
    c.check(name + " file header", magic == b"BM" and fsize == len(data),
            "magic %r, size field %d of %d" % (magic, fsize, len(data)))
    c.check(name + " 500x200 24-bit bottom-up BITMAPINFOHEADER",
            header == (40, 500, 200, 1, 24, 0), str(header))
    # every edge pixel is pure red, so are the corners
    edges = ImageChops.difference(im, Image.new("RGB", im.size, (255, 0, 0)))
    edges.paste(0, (1, 1, im.width - 1, im.height - 1))
    c.check(name + " edges pure red", edges.getbbox() is None)
    shares(c, name, im, [("white lettering", lambda p: min(p) >= 250, 0.05),
                         ("blue shadow", lambda p: p[2] > 150 and p[0] < 90, 0.01)])


def check_png(c, name, im, data):
    Image.open(io.BytesIO(data)).verify()      # chunk CRCs
    c.check(name + " is not interlaced", im.info.get("interlace", 0) == 0, str(im.info))
    alpha = im.getchannel("A")
    c.check(name + " transparent corners",
            alpha.getpixel((0, 0)) == 0 and alpha.getpixel((im.width - 1, im.height - 1)) == 0)
    return alpha


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    root = argv[1] if len(argv) > 1 else os.path.join(here, "..", "..", "resources")
    c = Checker()
    path = lambda f: os.path.join(root, *f.split("/"))  # noqa: E731
    missing = [f for f in ["app.ico", "form1.ico", *PICTURES] if not os.path.isfile(path(f))]
    if not c.check("all resource files present", not missing, ", ".join(missing)):
        print("%d passed, %d failed" % (c.passed, c.failed))
        return 1

    def guarded(what, fn, *args, default=None):
        # a truncated or mangled file must fail the check, not crash it
        try:
            return fn(c, path(what), *args)
        except (IndexError, ValueError, OSError, EOFError, SyntaxError, struct.error) as e:
            c.check(what + " is readable", False, "%s: %s" % (type(e).__name__, e))
            return default

    bats = guarded("app.ico", check_ico, "bat", default={})
    guarded("form1.ico", check_ico, "spider")
    got = {f: guarded(f, check_picture, *row) for f, row in PICTURES.items()}
    c.check("the four backgrounds are different files",
            len({got[f] or f for f, row in PICTURES.items() if row[0] == "JPEG"}) == 4)
    for s in (16, 32, 48, 128):
        if (s, 32) in bats and got[PNG % (s, s)] is not None:
            diff = ImageChops.difference(got[PNG % (s, s)], bats[s, 32][0].getchannel("A"))
            c.check("png %dx%d is the app.ico bat" % (s, s), diff.getbbox() is None,
                    "alpha differs in %r" % (diff.getbbox(),))
    total = sum(os.path.getsize(path(f)) for f in ["app.ico", "form1.ico", *PICTURES])
    c.check("pictures total under %d bytes" % TOTAL_LIMIT, total <= TOTAL_LIMIT, "%d bytes" % total)
    print("%d passed, %d failed" % (c.passed, c.failed))
    return 1 if c.failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
