#!/usr/bin/env python3
"""Check the checked-in image resources by parsing them with stdlib code.

Usage: python3 tests/resources/check_resources.py [RESOURCES_DIR]
(default: ../../resources relative to this file).  Exits non-zero on any
failure and ends with a line "<n> passed, <m> failed".
"""

import os
import struct
import sys
import zlib

ICON_FORMATS = [(32, 1), (48, 4), (32, 4), (16, 4), (48, 8), (32, 8), (16, 8),
                (128, 32), (48, 32), (32, 32), (16, 32)]
SKINS = ["星空.jpg", "大海.jpg", "天空.jpg"]
PNG_SIZES = [16, 32, 48, 128]
KEY = (88, 88, 88)
TOTAL_LIMIT = 630_000


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


def parse_dib(data, size, bpp):
    """Return (rgba pixels top-down, and-mask top-down) of one ICO DIB."""
    if data[:8] == b"\x89PNG\r\n\x1a\n":
        raise Bad("entry is PNG, not a DIB")
    if len(data) < 40:
        raise Bad("DIB shorter than its header")
    (hsize, w, h, planes, bits, comp, _img, _xp, _yp, used, _imp) = struct.unpack_from(
        "<IiiHHIIiiII", data)
    if (hsize, w, h, planes, bits, comp) != (40, size, 2 * size, 1, bpp, 0):
        raise Bad("header %r, wanted (40, %d, %d, 1, %d, 0)"
                  % ((hsize, w, h, planes, bits, comp), size, 2 * size, bpp))
    colours = 1 << bpp if bpp <= 8 else 0
    if used not in (0, colours):
        raise Bad("biClrUsed %d for %d-bit" % (used, bpp))
    xor_stride = (size * bpp + 31) // 32 * 4
    and_stride = (size + 31) // 32 * 4
    want = 40 + 4 * colours + size * (xor_stride + and_stride)
    if len(data) != want:
        raise Bad("DIB is %d bytes, layout needs %d" % (len(data), want))
    pal = [(data[40 + 4 * i + 2], data[40 + 4 * i + 1], data[40 + 4 * i])
           for i in range(colours)]
    xor_at = 40 + 4 * colours
    and_at = xor_at + size * xor_stride
    px, mask = [], []
    for y in range(size - 1, -1, -1):          # rows are stored bottom-up
        row = data[xor_at + y * xor_stride:]
        arow = data[and_at + y * and_stride:]
        for x in range(size):
            mask.append((arow[x >> 3] >> (7 - (x & 7))) & 1)
            if bpp == 32:
                b, g, r, a = row[4 * x:4 * x + 4]
                px.append((r, g, b, a))
            else:
                per = 8 // bpp
                v = (row[x // per] >> (8 - bpp * (x % per + 1))) & ((1 << bpp) - 1)
                px.append(pal[v] + (255,))
    return px, mask


def check_ico(c, path, kind):
    name = os.path.basename(path)
    data = open(path, "rb").read()
    if not c.check(name + " header", data[:6] == struct.pack("<HHH", 0, 1, 11),
                   "want reserved 0, type 1, 11 images"):
        return {}
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
            px, mask = parse_dib(data[offset:offset + length], size, bpp)
        except Bad as e:
            c.check(tag + " DIB", False, str(e))
            continue
        c.check(tag + " DIB", True)
        images[(size, bpp)] = (px, mask)
        check_icon_pixels(c, tag, size, bpp, px, mask)
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
        c.check(tag + " has soft edges",
                any(0 < p[3] < 255 for p in px), "alpha is all 0 or 255")
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
            a = [1 - m for m in ref[1]]
            soft = [1 if p[3] >= 128 else 0 for p in ref[0]]
            b = [1 - m for m in img[1]]
            inter = sum(x & y for x, y in zip(soft, b))
            union = sum(x | y for x, y in zip(soft, b)) or 1
            c.check("%s %dx%d %d-bit matches 32-bit shape" % (name, size, size, bpp),
                    inter / union > 0.85 and sum(a) >= sum(b), "overlap %.2f" % (inter / union))
    big = images.get((128, 32))
    if not big:
        return
    sel = [p for p in big[0] if p[3] == 255]
    r, g, b = (sum(p[i] for p in sel) / len(sel) for i in range(3))
    if kind == "bat":
        c.check(name + " is dark grey", max(r, g, b) - min(r, g, b) < 16 and max(r, g, b) < 110,
                "mean colour %.0f,%.0f,%.0f" % (r, g, b))
        # wings make the bat much wider than it is tall
        rows = [y for y in range(128) if any(big[0][y * 128 + x][3] for x in range(128))]
        cols = [x for x in range(128) if any(big[0][y * 128 + x][3] for y in range(128))]
        c.check(name + " has spread wings", len(cols) > 1.6 * len(rows),
                "%d wide, %d tall" % (len(cols), len(rows)))
    else:
        c.check(name + " is purple", b > g + 40 and r > g + 20,
                "mean colour %.0f,%.0f,%.0f" % (r, g, b))


# ---------------------------------------------------------------------------
# GIF
# ---------------------------------------------------------------------------


def lzw_decode(data, min_size, count):
    clear, eoi = 1 << min_size, (1 << min_size) + 1
    size, table, prev = min_size + 1, None, None
    out = []
    acc = nbits = pos = 0

    def reset():
        return [bytes([i]) for i in range(clear)] + [b"", b""]

    table = reset()
    while True:
        while nbits < size:
            if pos >= len(data):
                raise Bad("LZW data ends without an end code")
            acc |= data[pos] << nbits
            pos += 1
            nbits += 8
        code = acc & ((1 << size) - 1)
        acc >>= size
        nbits -= size
        if code == clear:
            table, size, prev = reset(), min_size + 1, None
            continue
        if code == eoi:
            break
        if code < len(table):
            entry = table[code]
            if prev is not None:
                table.append(prev + entry[:1])
        elif code == len(table) and prev is not None:
            entry = prev + prev[:1]
            table.append(entry)
        else:
            raise Bad("bad LZW code %d" % code)
        out.extend(entry)
        prev = entry
        if len(table) == (1 << size) and size < 12:
            size += 1
    if len(out) != count:
        raise Bad("frame decodes to %d pixels, wanted %d" % (len(out), count))
    return out


def parse_gif(data):
    if data[:6] not in (b"GIF87a", b"GIF89a"):
        raise Bad("not a GIF")
    w, h, flags = struct.unpack_from("<HHB", data, 6)
    pos = 13
    gpal = None
    if flags & 0x80:
        n = 2 << (flags & 7)
        gpal = [tuple(data[pos + 3 * i:pos + 3 * i + 3]) for i in range(n)]
        pos += 3 * n
    frames = []
    while True:
        if pos >= len(data):
            raise Bad("no trailer")
        tag = data[pos]
        if tag == 0x3B:
            break
        if tag == 0x21:
            pos += 2
            while data[pos]:
                pos += data[pos] + 1
            pos += 1
        elif tag == 0x2C:
            fx, fy, fw, fh, fl = struct.unpack_from("<HHHHB", data, pos + 1)
            pos += 10
            pal = gpal
            if fl & 0x80:
                n = 2 << (fl & 7)
                pal = [tuple(data[pos + 3 * i:pos + 3 * i + 3]) for i in range(n)]
                pos += 3 * n
            if fl & 0x40:
                raise Bad("interlaced frames are not expected")
            if pal is None:
                raise Bad("frame without a palette")
            min_size = data[pos]
            pos += 1
            chunks = bytearray()
            while data[pos]:
                chunks += data[pos + 1:pos + 1 + data[pos]]
                pos += data[pos] + 1
            pos += 1
            idx = lzw_decode(bytes(chunks), min_size, fw * fh)
            if max(idx) >= len(pal):
                raise Bad("pixel index beyond the palette")
            frames.append(((fx, fy, fw, fh), [pal[i] for i in idx]))
        else:
            raise Bad("unknown block 0x%02x" % tag)
    return (w, h), frames


def check_gif(c, path):
    name = os.path.basename(path)
    try:
        (w, h), frames = parse_gif(open(path, "rb").read())
    except Bad as e:
        c.check(name + " parses", False, str(e))
        return
    c.check(name + " parses", True)
    c.check(name + " is 500x200", (w, h) == (500, 200), "%dx%d" % (w, h))
    c.check(name + " has two frames", len(frames) == 2, "%d frames" % len(frames))
    for n, (rect, px) in enumerate(frames, 1):
        tag = "%s frame %d" % (name, n)
        c.check(tag + " covers the picture", rect == (0, 0, 500, 200), str(rect))
        keyed = px.count(KEY)
        c.check(tag + " never uses the key colour 88,88,88", keyed == 0, "%d pixels" % keyed)
        if rect != (0, 0, 500, 200):
            continue
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
    if len(frames) == 2 and all(f[0] == (0, 0, 500, 200) for f in frames):
        a = [p != (0, 0, 0) for p in frames[0][1]]
        b = [p != (0, 0, 0) for p in frames[1][1]]
        diff = sum(x != y for x, y in zip(a, b))
        c.check(name + " frames share the lettering", diff < 0.002 * len(a),
                "%d pixels differ" % diff)


# ---------------------------------------------------------------------------
# JPEG, BMP, PNG
# ---------------------------------------------------------------------------


def jpeg_size(data):
    """(width, height, components) from the first SOF marker."""
    if data[:2] != b"\xFF\xD8":
        raise Bad("no SOI marker")
    if data[-2:] != b"\xFF\xD9":
        raise Bad("no EOI marker at the end")
    pos = 2
    while pos + 4 <= len(data):
        if data[pos] != 0xFF:
            raise Bad("marker expected at %d" % pos)
        marker = data[pos + 1]
        length = struct.unpack_from(">H", data, pos + 2)[0]
        if marker in (0xC0, 0xC1, 0xC2):
            _, h, w, n = struct.unpack_from(">BHHB", data, pos + 4)
            return w, h, n
        if marker == 0xDA:
            break
        pos += 2 + length
    raise Bad("no SOF marker before the scan")


def check_jpeg(c, path, low, high):
    name = os.path.basename(path)
    data = open(path, "rb").read()
    try:
        w, h, n = jpeg_size(data)
    except Bad as e:
        c.check(name + " parses", False, str(e))
        return data
    c.check(name + " is 480x720 colour", (w, h, n) == (480, 720, 3), "%dx%d, %d comps" % (w, h, n))
    c.check(name + " size", low <= len(data) <= high,
            "%d bytes, expected %d..%d" % (len(data), low, high))
    return data


def check_bmp(c, path):
    name = os.path.basename(path)
    data = open(path, "rb").read()
    magic, fsize, _r1, _r2, offset = struct.unpack_from("<2sIHHI", data)
    hsize, w, h, planes, bpp, comp = struct.unpack_from("<IiiHHI", data, 14)
    c.check(name + " file header", magic == b"BM" and fsize == len(data),
            "magic %r, size field %d of %d" % (magic, fsize, len(data)))
    if not c.check(name + " 500x200 24-bit bottom-up BITMAPINFOHEADER",
                   (hsize, w, h, planes, bpp, comp) == (40, 500, 200, 1, 24, 0),
                   str((hsize, w, h, planes, bpp, comp))):
        return
    stride = (w * 3 + 3) & ~3
    if not c.check(name + " pixel data complete", offset + stride * h <= len(data)):
        return

    def at(x, y):  # y counted from the top
        i = offset + (h - 1 - y) * stride + 3 * x
        return data[i + 2], data[i + 1], data[i]

    border = [at(x, y) for x in range(w) for y in (0, h - 1)]
    border += [at(x, y) for y in range(h) for x in (0, w - 1)]
    corners = ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1))
    c.check(name + " corners pure red", all(at(x, y) == (255, 0, 0) for x, y in corners))
    c.check(name + " edges pure red", all(p == (255, 0, 0) for p in border),
            "%d edge pixels differ" % sum(p != (255, 0, 0) for p in border))
    px = [at(x, y) for y in range(h) for x in range(w)]
    white = sum(1 for p in px if min(p) >= 250)
    blue = sum(1 for p in px if p[2] > 150 and p[0] < 90)
    c.check(name + " white lettering", white > 0.05 * len(px), "%d white" % white)
    c.check(name + " blue shadow", blue > 0.01 * len(px), "%d blue" % blue)


def parse_png(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise Bad("no PNG signature")
    pos, ihdr, idat = 8, None, b""
    while pos < len(data):
        length, tag = struct.unpack_from(">I4s", data, pos)
        body = data[pos + 8:pos + 8 + length]
        crc = struct.unpack_from(">I", data, pos + 8 + length)[0]
        if zlib.crc32(tag + body) & 0xFFFFFFFF != crc:
            raise Bad("bad CRC in %r" % tag)
        if tag == b"IHDR":
            ihdr = struct.unpack(">IIBBBBB", body)
        elif tag == b"IDAT":
            idat += body
        elif tag == b"IEND":
            break
        pos += 12 + length
    if ihdr is None:
        raise Bad("no IHDR")
    w, h, depth, ctype, _c, _f, interlace = ihdr
    if (depth, ctype, interlace) != (8, 6, 0):
        raise Bad("want 8-bit RGBA, not interlaced; got %r" % (ihdr,))
    raw = zlib.decompress(idat)
    stride = 4 * w
    if len(raw) != h * (stride + 1):
        raise Bad("pixel data has the wrong length")
    rows, prev = [], bytearray(stride)
    for y in range(h):
        f = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - 4] if i >= 4 else 0
            b = prev[i]
            cc = prev[i - 4] if i >= 4 else 0
            if f == 1:
                line[i] = (line[i] + a) & 255
            elif f == 2:
                line[i] = (line[i] + b) & 255
            elif f == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - cc
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - cc)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else cc)) & 255
            elif f != 0:
                raise Bad("bad filter %d" % f)
        rows.append(bytes(line))
        prev = line
    px = [tuple(r[4 * x:4 * x + 4]) for r in rows for x in range(w)]
    return w, h, px


def check_png(c, path, size, ico_images):
    name = "png %dx%d" % (size, size)
    try:
        w, h, px = parse_png(open(path, "rb").read())
    except Bad as e:
        c.check(name + " parses", False, str(e))
        return
    c.check(name + " size", (w, h) == (size, size), "%dx%d" % (w, h))
    c.check(name + " transparent corners", px[0][3] == 0 and px[-1][3] == 0)
    ref = ico_images.get((size, 32))
    if ref and (w, h) == (size, size):
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
        except (IndexError, ValueError, struct.error, zlib.error, Bad) as e:
            c.check(what + " is readable", False, "%s: %s" % (type(e).__name__, e))
            return default

    bats = guarded("app.ico", check_ico, path("app.ico"), "bat", default={})
    guarded("form1.ico", check_ico, path("form1.ico"), "spider")
    guarded("splash.gif", check_gif, path("splash.gif"))
    c.check("splash.gif small", os.path.getsize(path("splash.gif")) <= 25_000)
    jpegs = {"main.jpg": guarded("main.jpg", check_jpeg, path("main.jpg"), 35_000, 70_000)}
    for s in SKINS:
        jpegs[s] = guarded(s, check_jpeg, path("skins/" + s), 8_000, 70_000, default=s)
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
