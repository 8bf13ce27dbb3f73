#!/usr/bin/env python3
"""Generate the image resources of Tavimo 关机工具.

Usage: python3 tools/make_resources.py [OUTPUT_DIR]   (default: resources/)

Everything is computed here with the Python standard library only: shapes
are rasterised with supersampling, and the ICO, BMP, PNG, GIF (LZW) and
baseline JPEG encoders are written out below.  No external program is
called.  All randomness comes from fixed seeds, so two runs produce
byte-identical files.  The outputs are checked in; builds do not need this.
"""

import math
import os
import random
import struct
import sys
import zlib

# ---------------------------------------------------------------------------
# Small maths helpers
# ---------------------------------------------------------------------------


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(c1, c2, t):
    return tuple(a + (b - a) * t for a, b in zip(c1, c2))


def smooth(t):
    return t * t * (3.0 - 2.0 * t)


def gradient(stops, t):
    """Colour at t from a sorted list of (position, (r, g, b)) stops."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, smooth((t - p0) / (p1 - p0)))
    return stops[-1][1]


# ---------------------------------------------------------------------------
# Supersampled coverage mask: shapes are unioned, then box-filtered.
# ---------------------------------------------------------------------------


class Mask:
    def __init__(self, w, h, ss=4):
        self.w, self.h, self.ss = w, h, ss
        self.sw, self.sh = w * ss, h * ss
        self.rows = [bytearray(self.sw) for _ in range(self.sh)]
        self._ones = b"\x01" * self.sw

    def _span(self, sy, x0, x1):
        # a sample i is inside when its centre i + 0.5 lies in [x0, x1)
        a = max(0, math.ceil(x0 - 0.5))
        b = min(self.sw, math.ceil(x1 - 0.5))
        if b > a:
            self.rows[sy][a:b] = self._ones[: b - a]

    def polygon(self, pts):
        """Fill a simple polygon given in pixel coordinates (even-odd)."""
        s = self.ss
        p = [(x * s, y * s) for x, y in pts]
        edges = [(a, b) for a, b in zip(p, p[1:] + p[:1]) if a[1] != b[1]]
        ys = [q[1] for q in p]
        for sy in range(max(0, int(min(ys))), min(self.sh, int(max(ys)) + 1)):
            yc = sy + 0.5
            xs = sorted(
                ax + (yc - ay) * (bx - ax) / (by - ay)
                for (ax, ay), (bx, by) in edges
                if (ay <= yc < by) or (by <= yc < ay)
            )
            for i in range(0, len(xs) - 1, 2):
                self._span(sy, xs[i], xs[i + 1])

    def disc(self, cx, cy, r):
        s = self.ss
        cx, cy, r = cx * s, cy * s, r * s
        for sy in range(max(0, int(cy - r)), min(self.sh, int(cy + r) + 1)):
            dy = sy + 0.5 - cy
            if dy * dy < r * r:
                hw = math.sqrt(r * r - dy * dy)
                self._span(sy, cx - hw, cx + hw)

    def ellipse(self, cx, cy, a, b, angle):
        """Filled ellipse with semi-axes a, b; the a axis points at `angle`."""
        s = self.ss
        cx, cy, a, b = cx * s, cy * s, a * s, b * s
        co, si = math.cos(angle), math.sin(angle)
        qa = co * co / (a * a) + si * si / (b * b)
        qb = 2 * co * si * (1 / (a * a) - 1 / (b * b))
        qc = si * si / (a * a) + co * co / (b * b)
        ext = math.sqrt(a * a * si * si + b * b * co * co)   # half height
        for sy in range(max(0, int(cy - ext)), min(self.sh, int(cy + ext) + 1)):
            dy = sy + 0.5 - cy
            disc = (qb * dy) ** 2 - 4 * qa * (qc * dy * dy - 1)
            if disc > 0:
                r = math.sqrt(disc)
                self._span(sy, cx + (-qb * dy - r) / (2 * qa), cx + (-qb * dy + r) / (2 * qa))

    def coverage(self):
        """Fraction of covered samples per pixel, row-major floats."""
        s, w = self.ss, self.w
        inv = 1.0 / (s * s)
        out = []
        zero = [0.0] * w
        for y in range(self.h):
            band = self.rows[y * s:(y + 1) * s]
            if not any(r.count(1) for r in band):
                out.extend(zero)
                continue
            col = [sum(c) for c in zip(*band)]
            out.extend(sum(col[i:i + s]) * inv for i in range(0, self.sw, s))
        return out


def ellipse_points(cx, cy, rx, ry, n=64, start=0.0):
    return [(cx + rx * math.cos(start + 2 * math.pi * i / n),
             cy + ry * math.sin(start + 2 * math.pi * i / n)) for i in range(n)]


def quad_bezier(p0, c, p1, n=12):
    """Points of a quadratic Bezier, without its first point."""
    pts = []
    for i in range(1, n + 1):
        t = i / n
        u = 1 - t
        pts.append((u * u * p0[0] + 2 * u * t * c[0] + t * t * p1[0],
                    u * u * p0[1] + 2 * u * t * c[1] + t * t * p1[1]))
    return pts


def thick_segment(mask, a, b, wa, wb):
    """Tapered line from a (width wa) to b (width wb) with round ends."""
    dx, dy = b[0] - a[0], b[1] - a[1]
    ln = math.hypot(dx, dy) or 1.0
    nx, ny = -dy / ln, dx / ln
    mask.polygon([(a[0] + nx * wa / 2, a[1] + ny * wa / 2),
                  (b[0] + nx * wb / 2, b[1] + ny * wb / 2),
                  (b[0] - nx * wb / 2, b[1] - ny * wb / 2),
                  (a[0] - nx * wa / 2, a[1] - ny * wa / 2)])
    mask.disc(a[0], a[1], wa / 2)
    mask.disc(b[0], b[1], wb / 2)


# ---------------------------------------------------------------------------
# Brush strokes: a Catmull-Rom path with a width per control point, stamped
# as discs.  The tail of a "dry" stroke splits into bristles that run out of
# ink one by one, which gives the streaky look of a calligraphy brush.
# ---------------------------------------------------------------------------


def spline(ctrl, step=0.35):
    """Resample Catmull-Rom through (x, y, w) points every `step` pixels."""
    pts = [ctrl[0]] + list(ctrl) + [ctrl[-1]]
    out = []
    for i in range(1, len(pts) - 2):
        p0, p1, p2, p3 = pts[i - 1], pts[i], pts[i + 1], pts[i + 2]
        seg = math.hypot(p2[0] - p1[0], p2[1] - p1[1])
        n = max(2, int(seg / step) + 1)
        for k in range(n):
            t = k / n
            t2, t3 = t * t, t * t * t
            out.append(tuple(
                0.5 * (2 * b + (-a + c) * t + (2 * a - 5 * b + 4 * c - d) * t2
                       + (-a + 3 * b - 3 * c + d) * t3)
                for a, b, c, d in zip(p0, p1, p2, p3)))
    out.append(tuple(ctrl[-1]))
    return out


# The nib is a slanted ellipse, like a brush held at an angle: strokes
# running down-right come out broad, strokes running down-left taper.
NIB_ASPECT, NIB_ANGLE = 0.42, math.radians(-38)


def brush_stroke(mask, ctrl, dry=0.0, seed=0, grow=0.0, bristles=15):
    samples = spline(ctrl)
    n = len(samples)
    rng = random.Random(seed)
    # bristle offsets across the brush and where each one runs dry: most
    # reach the end, a few give out early and leave thin gaps
    tufts = [((2 * (j + 0.5) / bristles - 1) * 0.85,
              1.0 - dry * 0.85 * rng.random() ** 1.5) for j in range(bristles)]
    for i, (x, y, w) in enumerate(samples):
        t = i / (n - 1)
        if dry and t > 1.0 - dry:
            a = samples[max(0, i - 1)]
            b = samples[min(n - 1, i + 1)]
            dx, dy = b[0] - a[0], b[1] - a[1]
            ln = math.hypot(dx, dy) or 1.0
            nx, ny = -dy / ln, dx / ln
            for off, end in tufts:
                if t < end:
                    mask.disc(x + nx * off * w / 2, y + ny * off * w / 2,
                              w / bristles * 1.4 + grow)
        else:
            mask.ellipse(x, y, w / 2 + grow, w / 2 * NIB_ASPECT + grow, NIB_ANGLE)


def draw_strokes(mask, strokes, ox, oy, scale, grow=0.0, weight=1.8):
    """Draw strokes given in a unit box, placed at (ox, oy) with `scale`;
    `weight` thickens every stroke (widths are the nib's long axis)."""
    for k, st in enumerate(strokes):
        # a slight forward lean, as in a quickly written signature
        ctrl = [(ox + (x + (0.5 - y) * 0.14) * scale, oy + y * scale, w * scale * weight)
                for x, y, w in st["pts"]]
        brush_stroke(mask, ctrl, dry=st.get("dry", 0.0), seed=st.get("seed", k),
                     grow=grow)


# ---------------------------------------------------------------------------
# RGB images as flat lists of float triples
# ---------------------------------------------------------------------------


class Image:
    def __init__(self, w, h, colour=(0, 0, 0)):
        self.w, self.h = w, h
        self.px = [tuple(map(float, colour))] * (w * h)

    def composite(self, cov, colour, dx=0, dy=0):
        """Blend `colour` over the image with coverage `cov` shifted by dx,dy."""
        w, h = self.w, self.h
        px = self.px
        for y in range(h):
            sy = y - dy
            if not 0 <= sy < h:
                continue
            for x in range(w):
                sx = x - dx
                if 0 <= sx < w:
                    a = cov[sy * w + sx]
                    if a > 0.0:
                        p = px[y * w + x]
                        px[y * w + x] = (p[0] + (colour[0] - p[0]) * a,
                                         p[1] + (colour[1] - p[1]) * a,
                                         p[2] + (colour[2] - p[2]) * a)

    def add_glow(self, x0, y0, fn, radius, colour):
        """Add colour * fn(dx, dy) in a square window around (x0, y0)."""
        w, h = self.w, self.h
        for y in range(max(0, int(y0 - radius)), min(h, int(y0 + radius) + 2)):
            for x in range(max(0, int(x0 - radius)), min(w, int(x0 + radius) + 2)):
                k = fn(x + 0.5 - x0, y + 0.5 - y0)
                if k > 0.002:
                    p = self.px[y * w + x]
                    self.px[y * w + x] = (p[0] + colour[0] * k, p[1] + colour[1] * k,
                                          p[2] + colour[2] * k)

    def to_bytes(self):
        """Clamped 8-bit RGB rows, top-down."""
        out = bytearray()
        for r, g, b in self.px:
            out += bytes((int(clamp(r, 0, 255) + 0.5), int(clamp(g, 0, 255) + 0.5),
                          int(clamp(b, 0, 255) + 0.5)))
        return bytes(out)


def blur(values, w, h, radius):
    """Box blur of a flat float list, applied twice (close to a Gaussian)."""
    def one_pass(src, w, h, r):
        out = [0.0] * (w * h)
        n = 2 * r + 1
        for y in range(h):
            row = src[y * w:(y + 1) * w]
            acc = sum(row[0] for _ in range(r)) + sum(row[:r + 1])
            for x in range(w):
                out[y * w + x] = acc / n
                acc += row[min(w - 1, x + r + 1)] - row[max(0, x - r)]
        return out

    def transpose(src, w, h):
        return [src[y * w + x] for x in range(w) for y in range(h)]

    v = values
    for _ in range(2):
        v = one_pass(v, w, h, radius)
        v = transpose(one_pass(transpose(v, w, h), h, w, radius), h, w)
    return v


# ---------------------------------------------------------------------------
# Value noise (fractal sum of smoothly interpolated lattice values)
# ---------------------------------------------------------------------------


def fbm(w, h, seed, cell, octaves=4, gain=0.5, aspect=1.0):
    """Noise field in [0, 1]; `cell` is the largest lattice spacing in pixels.

    `aspect` > 1 stretches features horizontally (waves, cloud banks)."""
    rng = random.Random(seed)
    total = [0.0] * (w * h)
    amp, norm = 1.0, 0.0
    for _ in range(octaves):
        cx, cy = cell * aspect, cell
        nx, ny = int(w / cx) + 3, int(h / cy) + 3
        lat = [[rng.random() for _ in range(nx)] for _ in range(ny)]
        xi = [(int(x / cx), smooth(x / cx - int(x / cx))) for x in range(w)]
        for y in range(h):
            j, fy = int(y / cy), smooth(y / cy - int(y / cy))
            r0, r1 = lat[j], lat[j + 1]
            row = [a + (b - a) * fy for a, b in zip(r0, r1)]
            base = y * w
            for x, (i, fx) in enumerate(xi):
                a = row[i]
                total[base + x] += amp * (a + (row[i + 1] - a) * fx)
        norm += amp
        amp *= gain
        cell /= 2.0
    return [v / norm for v in total]


# ---------------------------------------------------------------------------
# Encoders
# ---------------------------------------------------------------------------


def png_bytes(w, h, rgba):
    """RGBA 8-bit PNG; `rgba` is top-down rows of w*4 bytes."""
    def chunk(tag, data):
        return (struct.pack(">I", len(data)) + tag + data
                + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF))

    raw = b"".join(b"\x00" + rgba[y * w * 4:(y + 1) * w * 4] for y in range(h))
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def bmp_bytes(w, h, rgb):
    """24-bit bottom-up BMP with a BITMAPINFOHEADER; `rgb` is top-down."""
    stride = (w * 3 + 3) & ~3
    pad = b"\x00" * (stride - w * 3)
    rows = []
    for y in range(h - 1, -1, -1):
        row = rgb[y * w * 3:(y + 1) * w * 3]
        bgr = bytearray(row)
        bgr[0::3], bgr[2::3] = row[2::3], row[0::3]
        rows.append(bytes(bgr) + pad)
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return head + info + pixels


def _pack_bits(bits, w):
    """1bpp rows padded to 32 bits; `bits` is one row of 0/1 values."""
    out = bytearray((w + 31) // 32 * 4)
    for x, b in enumerate(bits):
        if b:
            out[x >> 3] |= 0x80 >> (x & 7)
    return bytes(out)


def ico_dib(size, bpp, palette, pixels, and_mask):
    """One ICO image as a DIB: header, palette, XOR bitmap, AND mask.

    `pixels` holds palette indices (bpp <= 8) or (r, g, b, a) tuples (32),
    top-down; `and_mask` holds 1 where the screen should show through."""
    w = h = size
    xor_rows, and_rows = [], []
    for y in range(h - 1, -1, -1):
        row = pixels[y * w:(y + 1) * w]
        if bpp == 32:
            data = b"".join(bytes((b, g, r, a)) for r, g, b, a in row)
        elif bpp == 1:
            data = _pack_bits(row, w)
        else:
            per = 8 // bpp
            data = bytearray((w * bpp + 31) // 32 * 4)
            for x, v in enumerate(row):
                data[x // per] |= v << (8 - bpp * (x % per + 1))
            data = bytes(data)
        xor_rows.append(data)
        and_rows.append(_pack_bits(and_mask[y * w:(y + 1) * w], w))
    bitmap = b"".join(xor_rows) + b"".join(and_rows)
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, bpp, 0, len(bitmap), 0, 0, 0, 0)
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return header + pal + bitmap


def ico_bytes(images):
    """`images` is a list of (size, bpp, dib) in directory order."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, bpp, dib in images:
        colours = {1: 2, 4: 16}.get(bpp, 0)
        out += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bpp,
                           len(dib), offset)
        offset += len(dib)
    return out + b"".join(dib for _, _, dib in images)


def lzw_encode(indices, min_size=8):
    """GIF flavour of LZW, returned as data sub-blocks."""
    clear, eoi = 1 << min_size, (1 << min_size) + 1
    out = bytearray()
    acc = nbits = 0

    def emit(code, size):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += size
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    size, nxt, table = min_size + 1, eoi + 1, {}
    emit(clear, size)
    prefix = indices[0]
    for k in indices[1:]:
        key = (prefix << 8) | k
        code = table.get(key)
        if code is not None:
            prefix = code
            continue
        emit(prefix, size)
        if nxt == 4096:
            # table full: start over rather than grow past 12 bits
            emit(clear, size)
            size, nxt, table = min_size + 1, eoi + 1, {}
        else:
            table[key] = nxt
            nxt += 1
            if nxt > (1 << size) and size < 12:
                size += 1
        prefix = k
    emit(prefix, size)
    emit(eoi, size)
    if nbits:
        out.append(acc & 0xFF)
    blocks = bytearray([min_size])
    for i in range(0, len(out), 255):
        part = out[i:i + 255]
        blocks += bytes([len(part)]) + part
    return bytes(blocks + b"\x00")


def gif_bytes(w, h, frames, delay_cs=100):
    """GIF89a; `frames` is a list of (palette, indices), each palette a
    power-of-two list of rgb triples kept as that frame's local table."""
    out = bytearray(b"GIF89a" + struct.pack("<HHBBB", w, h, 0x70, 0, 0))
    for palette, indices in frames:
        bits = max(2, (len(palette) - 1).bit_length())
        assert len(palette) == 1 << bits
        # graphic control: leave frame in place, no transparent index
        out += b"\x21\xF9\x04" + struct.pack("<BHBB", 0x04, delay_cs, 0, 0)
        out += b"\x2C" + struct.pack("<HHHHB", 0, 0, w, h, 0x80 | (bits - 1))
        out += b"".join(bytes(c) for c in palette)
        out += lzw_encode(indices, bits)
    return bytes(out + b"\x3B")


# --- baseline JPEG (4:2:0, Huffman tables optimised per image) --------------

_ZIGZAG = [0, 1, 8, 16, 9, 2, 3, 10, 17, 24, 32, 25, 18, 11, 4, 5, 12, 19, 26, 33,
           40, 48, 41, 34, 27, 20, 13, 6, 7, 14, 21, 28, 35, 42, 49, 56, 57, 50,
           43, 36, 29, 22, 15, 23, 30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39,
           46, 53, 60, 61, 54, 47, 55, 62, 63]

_Q_LUMA = [16, 11, 10, 16, 24, 40, 51, 61, 12, 12, 14, 19, 26, 58, 60, 55,
           14, 13, 16, 24, 40, 57, 69, 56, 14, 17, 22, 29, 51, 87, 80, 62,
           18, 22, 37, 56, 68, 109, 103, 77, 24, 35, 55, 64, 81, 104, 113, 92,
           49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99]

_Q_CHROMA = [17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
             24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99] + [99] * 32

_DCT = [[(math.sqrt(0.5) if u == 0 else 1.0) * 0.5 * math.cos((2 * x + 1) * u * math.pi / 16)
         for x in range(8)] for u in range(8)]


def _scaled_quant(table, quality):
    s = 5000 / quality if quality < 50 else 200 - 2 * quality
    return [max(1, min(255, (q * s + 50) // 100)) for q in table]


def _fdct_quant(block, q):
    """Forward DCT of 64 level-shifted samples, quantised, zigzag order."""
    rows = [[sum(c * v for c, v in zip(cu, block[y * 8:y * 8 + 8])) for cu in _DCT]
            for y in range(8)]
    coef = [0.0] * 64
    for u in range(8):
        col = [rows[y][u] for y in range(8)]
        for v in range(8):
            coef[v * 8 + u] = sum(c * s for c, s in zip(_DCT[v], col))
    return [int(round(coef[z] / q[z])) for z in _ZIGZAG]


def _category(v):
    v = abs(v)
    return v.bit_length()


def _huffman_table(freq):
    """Length-limited optimal code (JPEG Annex K.2): (bits, values)."""
    freq = list(freq) + [1]  # reserved symbol keeps all-ones codes unused
    size = [0] * 257
    other = [-1] * 257
    while True:
        c1 = c2 = -1
        for i in range(257):
            if freq[i] and (c1 < 0 or freq[i] <= freq[c1]):
                c1 = i
        for i in range(257):
            if freq[i] and i != c1 and (c2 < 0 or freq[i] <= freq[c2]):
                c2 = i
        if c2 < 0:
            break
        freq[c1] += freq[c2]
        freq[c2] = 0
        size[c1] += 1
        while other[c1] >= 0:
            c1 = other[c1]
            size[c1] += 1
        other[c1] = c2
        size[c2] += 1
        while other[c2] >= 0:
            c2 = other[c2]
            size[c2] += 1
    bits = [0] * 33
    for s in size:
        if s:
            bits[s] += 1
    for i in range(32, 16, -1):
        while bits[i] > 0:
            j = i - 2
            while bits[j] == 0:
                j -= 1
            bits[i] -= 2
            bits[i - 1] += 1
            bits[j + 1] += 2
            bits[j] -= 1
    i = 16
    while bits[i] == 0:
        i -= 1
    bits[i] -= 1
    values = [s for ln in range(1, 33) for s in range(256) if size[s] == ln]
    return bits[1:17], values


def _huffman_codes(bits, values):
    codes, code, k = {}, 0, 0
    for ln in range(1, 17):
        for _ in range(bits[ln - 1]):
            codes[values[k]] = (code, ln)
            code += 1
            k += 1
        code <<= 1
    return codes


def jpeg_bytes(w, h, rgb, quality=85):
    """Baseline JFIF; `rgb` is top-down 8-bit RGB bytes."""
    qy, qc = _scaled_quant(_Q_LUMA, quality), _scaled_quant(_Q_CHROMA, quality)
    qy_nat, qc_nat = [0] * 64, [0] * 64
    for k, z in enumerate(_ZIGZAG):
        qy_nat[z], qc_nat[z] = qy[k], qc[k]
    pw, ph = (w + 15) // 16 * 16, (h + 15) // 16 * 16
    Y, Cb, Cr = [0.0] * (pw * ph), [0.0] * (pw * ph), [0.0] * (pw * ph)
    for y in range(ph):
        sy = min(y, h - 1)
        for x in range(pw):
            i = (sy * w + min(x, w - 1)) * 3
            r, g, b = rgb[i], rgb[i + 1], rgb[i + 2]
            Y[y * pw + x] = 0.299 * r + 0.587 * g + 0.114 * b - 128
            Cb[y * pw + x] = -0.168736 * r - 0.331264 * g + 0.5 * b
            Cr[y * pw + x] = 0.5 * r - 0.418688 * g - 0.081312 * b

    def block(plane, stride, bx, by):
        return [plane[(by + j) * stride + bx + i] for j in range(8) for i in range(8)]

    def sub_block(plane, bx, by):
        # 2x2 average for 4:2:0 chroma
        out = []
        for j in range(8):
            r0 = (by + 2 * j) * pw + bx
            r1 = r0 + pw
            for i in range(8):
                out.append((plane[r0 + 2 * i] + plane[r0 + 2 * i + 1]
                            + plane[r1 + 2 * i] + plane[r1 + 2 * i + 1]) * 0.25)
        return out

    # pass 1: quantised blocks in scan order, tagged by component
    blocks = []
    for my in range(0, ph, 16):
        for mx in range(0, pw, 16):
            for oy, ox in ((0, 0), (0, 8), (8, 0), (8, 8)):
                blocks.append((0, _fdct_quant(block(Y, pw, mx + ox, my + oy), qy_nat)))
            blocks.append((1, _fdct_quant(sub_block(Cb, mx, my), qc_nat)))
            blocks.append((2, _fdct_quant(sub_block(Cr, mx, my), qc_nat)))

    # pass 2: symbols and their frequencies (table 0 luma, 1 chroma)
    symbols = []
    dc_freq = [[0] * 256, [0] * 256]
    ac_freq = [[0] * 256, [0] * 256]
    pred = [0, 0, 0]
    for comp, zz in blocks:
        t = 0 if comp == 0 else 1
        diff = zz[0] - pred[comp]
        pred[comp] = zz[0]
        items = [(0, t, _category(diff), diff)]
        run = 0
        last = max((k for k in range(1, 64) if zz[k]), default=0)
        for k in range(1, last + 1):
            v = zz[k]
            if v == 0:
                run += 1
                continue
            while run > 15:
                items.append((1, t, 0xF0, 0))
                run -= 16
            items.append((1, t, (run << 4) | _category(v), v))
            run = 0
        if last < 63:
            items.append((1, t, 0x00, 0))
        for kind, tt, sym, _ in items:
            (dc_freq if kind == 0 else ac_freq)[tt][sym] += 1
        symbols.extend(items)

    tables = {}
    dht = b""
    for kind, freqs in ((0, dc_freq), (1, ac_freq)):
        for t in (0, 1):
            bits, values = _huffman_table(freqs[t])
            tables[(kind, t)] = _huffman_codes(bits, values)
            body = bytes([kind << 4 | t]) + bytes(bits) + bytes(values)
            dht += b"\xFF\xC4" + struct.pack(">H", len(body) + 2) + body

    data = bytearray()
    acc = nbits = 0
    for kind, t, sym, val in symbols:
        code, ln = tables[(kind, t)][sym]
        size = sym & 0x0F if kind else sym
        if size:
            extra = val if val > 0 else val + (1 << size) - 1
            code, ln = (code << size) | extra, ln + size
        acc = (acc << ln) | code
        nbits += ln
        while nbits >= 8:
            nbits -= 8
            byte = (acc >> nbits) & 0xFF
            data.append(byte)
            if byte == 0xFF:
                data.append(0)
        acc &= (1 << nbits) - 1
    if nbits:
        byte = ((acc << (8 - nbits)) | ((1 << (8 - nbits)) - 1)) & 0xFF
        data.append(byte)
        if byte == 0xFF:
            data.append(0)

    def segment(marker, body):
        return b"\xFF" + bytes([marker]) + struct.pack(">H", len(body) + 2) + body

    app0 = segment(0xE0, b"JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00")
    dqt = segment(0xDB, b"\x00" + bytes(qy) + b"\x01" + bytes(qc))
    sof = segment(0xC0, struct.pack(">BHHB", 8, h, w, 3)
                  + b"\x01\x22\x00\x02\x11\x01\x03\x11\x01")
    sos = segment(0xDA, b"\x03\x01\x00\x02\x11\x03\x11\x00\x3F\x00")
    return b"\xFF\xD8" + app0 + dqt + sof + dht + sos + bytes(data) + b"\xFF\xD9"


# ---------------------------------------------------------------------------
# Icons: silhouettes drawn in a [-1, 1] box, y pointing down
# ---------------------------------------------------------------------------


def bat_outline():
    """Polygon of a bat with spread wings (symmetric about x = 0)."""
    right = [(0.0, -0.30), (0.05, -0.33), (0.12, -0.56), (0.15, -0.28),
             (0.13, -0.18), (0.19, -0.15)]
    right += quad_bezier(right[-1], (0.42, -0.22), (0.62, -0.58), 10)   # arm
    right += quad_bezier(right[-1], (0.80, -0.44), (1.0, -0.12), 10)    # to wing tip
    # trailing edge: arcs between finger tips, bowed up into the wing
    tips = [(1.0, -0.12), (0.76, 0.10), (0.47, 0.24), (0.17, 0.26)]
    for a, b in zip(tips, tips[1:]):
        mid = ((a[0] + b[0]) / 2, (a[1] + b[1]) / 2)
        d = math.hypot(b[0] - a[0], b[1] - a[1])
        right += quad_bezier(a, (mid[0] - 0.10 * d, mid[1] - 0.42 * d), b, 10)
    right += [(0.13, 0.38), (0.06, 0.48), (0.0, 0.52)]
    left = [(-x, y) for x, y in reversed(right[1:-1])]
    return right + left


def draw_bat(mask, size, margin):
    pts = bat_outline()
    fit_polygons(mask, [pts], size, margin)


def spider_parts(size):
    """Body ellipses and leg polylines of a spider seen from above."""
    px = 2.0 / size                      # one pixel in shape units
    leg_w = max(0.075, 1.25 * px)        # legs must survive at 16x16
    bodies = [ellipse_points(0, 0.30, 0.27, 0.36),
              ellipse_points(0, -0.16, 0.19, 0.18),
              ellipse_points(0, -0.34, 0.10, 0.08)]
    legs = [[(0.10, -0.26), (0.36, -0.50), (0.46, -0.80), (0.44, -0.99)],
            [(0.14, -0.20), (0.52, -0.40), (0.80, -0.44), (0.97, -0.62)],
            [(0.15, -0.12), (0.56, -0.10), (0.82, 0.04), (0.96, 0.30)],
            [(0.12, -0.05), (0.44, 0.18), (0.60, 0.52), (0.64, 0.92)]]
    legs += [[(-x, y) for x, y in leg] for leg in legs]
    return bodies, legs, leg_w


def fit_transform(points, size, margin):
    """Scale and centre shape-space points into a size x size canvas."""
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    span = max(max(xs) - min(xs), max(ys) - min(ys))
    k = (size - 2 * margin) / span
    cx, cy = (max(xs) + min(xs)) / 2, (max(ys) + min(ys)) / 2
    return lambda x, y: (size / 2 + (x - cx) * k, size / 2 + (y - cy) * k), k


def fit_polygons(mask, polys, size, margin):
    tf, _ = fit_transform([p for poly in polys for p in poly], size, margin)
    for poly in polys:
        mask.polygon([tf(x, y) for x, y in poly])


def draw_spider(mask, size, margin):
    bodies, legs, leg_w = spider_parts(size)
    extent = [p for b in bodies for p in b] + [p for leg in legs for p in leg]
    # feet carry half a leg width beyond the polyline ends
    extent += [(x + dx, y + dy) for x, y in extent for dx, dy in
               ((leg_w / 2, 0), (-leg_w / 2, 0), (0, leg_w / 2), (0, -leg_w / 2))]
    tf, k = fit_transform(extent, size, margin)
    for b in bodies:
        mask.polygon([tf(x, y) for x, y in b])
    for leg in legs:
        pts = [tf(x, y) for x, y in leg]
        n = len(pts) - 1
        for i in range(n):
            w0 = leg_w * k * (1.35 - 0.45 * i / n)
            w1 = leg_w * k * (1.35 - 0.45 * (i + 1) / n)
            thick_segment(mask, pts[i], pts[i + 1], w0, w1)


ICON_FORMATS = [(32, 1), (48, 4), (32, 4), (16, 4), (48, 8), (32, 8), (16, 8),
                (128, 32), (48, 32), (32, 32), (16, 32)]


def render_icon(draw, size, rim_light):
    """Coverage and shade (0 dark .. 1 light) of a silhouette at `size`."""
    margin = max(0.5, size / 32)
    mask = Mask(size, size, 8 if size <= 48 else 4)
    draw(mask, size, margin)
    alpha = mask.coverage()
    rim = edge_band(alpha, size, 1 if size <= 48 else 2)
    shade = []
    for y in range(size):
        for x in range(size):
            # soft light from the top left, and a lit rim so the dark shape
            # still reads on a dark taskbar
            u, v = (x + 0.5) / size, (y + 0.5) / size
            s = 0.85 - 0.75 * v - 0.25 * u + 0.2 * (1 - abs(2 * u - 1))
            shade.append(clamp(s + rim_light * rim[y * size + x]))
    return alpha, shade


def edge_band(alpha, size, r):
    """How much of a pixel lies within r pixels of the shape's border."""
    out = []
    for y in range(size):
        for x in range(size):
            lo = 1.0
            for j in range(max(0, y - r), min(size, y + r + 1)):
                for i in range(max(0, x - r), min(size, x + r + 1)):
                    lo = min(lo, alpha[j * size + i])
            # outside the canvas counts as empty
            if x < r or y < r or x >= size - r or y >= size - r:
                lo = 0.0
            out.append(clamp(alpha[y * size + x] - lo))
    return out


def icon_palette(dark, light, n):
    """Index 0 is black (under the AND mask), then a ramp dark -> light."""
    return [(0, 0, 0)] + [tuple(int(round(c)) for c in mix(dark, light, i / (n - 2)))
                          for i in range(n - 1)]


def icon_images(draw, dark, light, rim_light):
    images, rgba_by_size = [], {}
    for size, bpp in ICON_FORMATS:
        alpha, shade = render_icon(draw, size, rim_light)
        if bpp == 32:
            px, mask = [], []
            for a, s in zip(alpha, shade):
                ai = int(round(a * 255))
                c = tuple(int(round(v)) for v in mix(dark, light, s))
                px.append(c + (ai,) if ai else (0, 0, 0, 0))
                mask.append(1 if ai == 0 else 0)
            rgba_by_size[size] = b"".join(bytes(p) for p in px)
            images.append((size, bpp, ico_dib(size, bpp, [], px, mask)))
            continue
        if bpp == 1:
            palette = [(0, 0, 0), (255, 255, 255)]
            idx = [0] * (size * size)      # the silhouette is black
        else:
            palette = icon_palette(dark, light, 1 << bpp)
            steps = len(palette) - 2
            idx = [1 + int(round(s * steps)) for s in shade]
        mask = [0 if a >= 0.5 else 1 for a in alpha]
        idx = [0 if m else i for i, m in zip(idx, mask)]
        images.append((size, bpp, ico_dib(size, bpp, palette, idx, mask)))
    return ico_bytes(images), rgba_by_size


BAT_DARK, BAT_LIGHT = (38, 38, 42), (96, 96, 102)
SPIDER_DARK, SPIDER_LIGHT = (72, 22, 110), (178, 96, 226)


# ---------------------------------------------------------------------------
# Brush lettering.  Strokes live in a unit box: (x, y, width) control points.
# ---------------------------------------------------------------------------

# 关: two dots, two rising horizontals, a sweeping left fall, a heavy right fall
GUAN = [
    {"pts": [(0.27, 0.05, 0.02), (0.30, 0.09, 0.06), (0.35, 0.16, 0.075), (0.38, 0.21, 0.02)]},
    {"pts": [(0.71, 0.04, 0.02), (0.69, 0.08, 0.065), (0.63, 0.15, 0.06), (0.57, 0.21, 0.01)]},
    {"pts": [(0.15, 0.37, 0.02), (0.19, 0.35, 0.065), (0.50, 0.325, 0.045), (0.78, 0.29, 0.05),
             (0.83, 0.30, 0.075), (0.83, 0.33, 0.02)]},
    {"pts": [(0.03, 0.57, 0.02), (0.08, 0.55, 0.07), (0.50, 0.525, 0.05), (0.88, 0.48, 0.055),
             (0.94, 0.495, 0.08), (0.94, 0.53, 0.02)]},
    {"pts": [(0.51, 0.20, 0.03), (0.52, 0.26, 0.075), (0.51, 0.50, 0.065), (0.43, 0.71, 0.055),
             (0.27, 0.87, 0.035), (0.06, 0.97, 0.01)], "dry": 0.3, "seed": 11},
    {"pts": [(0.53, 0.60, 0.02), (0.61, 0.69, 0.045), (0.73, 0.81, 0.075), (0.86, 0.90, 0.095),
             (1.00, 0.94, 0.03)], "dry": 0.25, "seed": 12},
]

# 机: 木 on the left, 几 with a long curved hook on the right
JI = [
    {"pts": [(0.00, 0.33, 0.02), (0.04, 0.31, 0.06), (0.25, 0.29, 0.045), (0.41, 0.27, 0.05),
             (0.45, 0.29, 0.02)]},
    {"pts": [(0.22, 0.02, 0.02), (0.24, 0.07, 0.07), (0.24, 0.50, 0.06), (0.23, 0.82, 0.05),
             (0.22, 0.99, 0.015)], "dry": 0.25, "seed": 21},
    {"pts": [(0.22, 0.36, 0.05), (0.19, 0.48, 0.045), (0.11, 0.62, 0.03), (0.01, 0.72, 0.01)],
     "dry": 0.3, "seed": 22},
    {"pts": [(0.29, 0.44, 0.02), (0.33, 0.48, 0.05), (0.38, 0.55, 0.06), (0.39, 0.58, 0.02)]},
    {"pts": [(0.58, 0.14, 0.03), (0.59, 0.20, 0.065), (0.59, 0.45, 0.055), (0.56, 0.68, 0.045),
             (0.48, 0.86, 0.03), (0.38, 0.96, 0.008)], "dry": 0.3, "seed": 23},
    {"pts": [(0.60, 0.17, 0.03), (0.68, 0.14, 0.05), (0.80, 0.12, 0.045), (0.85, 0.14, 0.07),
             (0.83, 0.30, 0.055), (0.82, 0.62, 0.05), (0.85, 0.84, 0.055), (0.92, 0.92, 0.055),
             (1.00, 0.90, 0.045), (1.05, 0.80, 0.03), (1.04, 0.70, 0.01)], "dry": 0.15, "seed": 24},
]


def lettering_masks(w, h, glyphs, grow, ss=3):
    """Coverage of the lettering and of the lettering widened by `grow` px."""
    inner, outer = Mask(w, h, ss), Mask(w, h, ss)
    for strokes, ox, oy, scale in glyphs:
        draw_strokes(inner, strokes, ox, oy, scale)
        draw_strokes(outer, strokes, ox, oy, scale, grow=grow)
    return inner.coverage(), outer.coverage()

# "Tavimo" in a connected brush script; the box is about 2.5 wide, 1 high
TAVIMO = [
    # T: wavy bar, then a stem that curls back to the left
    {"pts": [(0.02, 0.26, 0.02), (0.10, 0.20, 0.05), (0.30, 0.15, 0.05), (0.52, 0.14, 0.045),
             (0.70, 0.09, 0.035), (0.78, 0.06, 0.01)]},
    {"pts": [(0.44, 0.16, 0.03), (0.43, 0.22, 0.07), (0.41, 0.50, 0.07), (0.36, 0.78, 0.06),
             (0.27, 0.93, 0.045), (0.16, 0.93, 0.03), (0.11, 0.84, 0.01)]},
    # a, running on into v
    {"pts": [(0.84, 0.53, 0.02), (0.75, 0.49, 0.04), (0.64, 0.58, 0.055), (0.61, 0.76, 0.06),
             (0.67, 0.87, 0.05), (0.77, 0.78, 0.05), (0.84, 0.52, 0.05), (0.82, 0.74, 0.065),
             (0.86, 0.87, 0.055), (0.93, 0.80, 0.035), (0.98, 0.53, 0.035), (1.01, 0.60, 0.06),
             (1.06, 0.86, 0.065), (1.08, 0.87, 0.05), (1.13, 0.66, 0.05), (1.18, 0.50, 0.04),
             (1.22, 0.52, 0.01)]},
    # i and its dot
    {"pts": [(1.30, 0.52, 0.02), (1.29, 0.58, 0.06), (1.27, 0.80, 0.06), (1.32, 0.88, 0.05),
             (1.40, 0.80, 0.04), (1.44, 0.58, 0.04)]},
    {"pts": [(1.30, 0.33, 0.02), (1.33, 0.36, 0.065), (1.36, 0.40, 0.02)]},
    # m
    {"pts": [(1.44, 0.58, 0.04), (1.47, 0.50, 0.045), (1.52, 0.60, 0.06), (1.51, 0.87, 0.06),
             (1.54, 0.66, 0.04), (1.62, 0.50, 0.045), (1.68, 0.62, 0.06), (1.67, 0.87, 0.06),
             (1.70, 0.66, 0.04), (1.78, 0.50, 0.045), (1.84, 0.62, 0.06), (1.82, 0.80, 0.06),
             (1.88, 0.88, 0.05), (1.96, 0.80, 0.04)]},
    # o, ending in a long swash under the word
    {"pts": [(2.10, 0.52, 0.02), (2.01, 0.53, 0.05), (1.96, 0.68, 0.06), (1.99, 0.86, 0.06),
             (2.09, 0.87, 0.055), (2.15, 0.70, 0.05), (2.10, 0.53, 0.045), (2.16, 0.58, 0.04),
             (2.30, 0.56, 0.035), (2.44, 0.48, 0.01)]},
]


# ---------------------------------------------------------------------------
# Sky pictures (480 x 720)
# ---------------------------------------------------------------------------

SKY_W, SKY_H = 480, 720
# the window normally shows only this top-left part of a background
VISIBLE_W, VISIBLE_H = 238, 274


class PointNoise:
    """Value noise that can be sampled anywhere (tiles every 256 cells)."""

    def __init__(self, seed):
        rng = random.Random(seed)
        self.lat = [rng.random() for _ in range(256 * 256)]

    def at(self, x, y):
        ix, iy = math.floor(x), math.floor(y)
        fx, fy = smooth(x - ix), smooth(y - iy)
        lat = self.lat
        r0, r1 = (iy & 255) * 256, ((iy + 1) & 255) * 256
        x0, x1 = ix & 255, (ix + 1) & 255
        a = lat[r0 + x0] + (lat[r0 + x1] - lat[r0 + x0]) * fx
        b = lat[r1 + x0] + (lat[r1 + x1] - lat[r1 + x0]) * fx
        return a + (b - a) * fy

    def fbm(self, x, y, octaves=3):
        total, amp, norm = 0.0, 1.0, 0.0
        for _ in range(octaves):
            total += amp * self.at(x, y)
            norm += amp
            amp *= 0.5
            x, y = x * 2.03 + 17.1, y * 2.03 + 5.3
        return total / norm


def star_dot(sigma):
    k = 1.0 / (2 * sigma * sigma)
    return lambda dx, dy: math.exp(-(dx * dx + dy * dy) * k)


def star_sparkle(length, sigma=0.8):
    """A bright core with four long spikes and four short diagonal ones."""
    core = star_dot(sigma)
    inv = 1.0 / length

    def f(dx, dy):
        ax, ay = abs(dx), abs(dy)
        spikes = (math.exp(-ax * inv * 1.7) * math.exp(-dy * dy * 2.0)
                  + math.exp(-ay * inv * 1.7) * math.exp(-dx * dx * 2.0))
        u, v = abs(dx + dy) * 0.7071, abs(dx - dy) * 0.7071
        diag = 0.35 * (math.exp(-u * inv * 6) * math.exp(-v * v * 3.0)
                       + math.exp(-v * inv * 6) * math.exp(-u * u * 3.0))
        return core(dx, dy) + 0.8 * spikes + diag
    return f


STAR_TINTS = [(255, 255, 255), (200, 220, 255), (255, 240, 210), (210, 255, 250), (255, 215, 240)]


def scatter_stars(img, rng, count, density, box=None, bright=(0.25, 1.0), sizes=(0.45, 0.9)):
    """Tiny stars; `density(x, y)` in [0, 1] thins them out by position."""
    x0, y0, x1, y1 = box or (0, 0, img.w, img.h)
    placed = 0
    while placed < count:
        x, y = rng.uniform(x0, x1), rng.uniform(y0, y1)
        if rng.random() > density(x, y):
            continue
        placed += 1
        b = rng.uniform(*bright) ** 2 * 255
        tint = rng.choice(STAR_TINTS)
        img.add_glow(x, y, star_dot(rng.uniform(*sizes)), 3, [c / 255 * b for c in tint])


def add_sparkles(img, rng, spots):
    """Big twinkling stars at given (x, y, length, brightness) spots."""
    for x, y, length, b in spots:
        tint = rng.choice(STAR_TINTS[:4])
        img.add_glow(x, y, star_sparkle(length), length * 1.6, [c / 255 * b for c in tint])
        # a soft halo around the core
        img.add_glow(x, y, star_dot(length * 0.22), length * 0.8,
                     [c / 255 * b * 0.25 for c in tint])


def random_sparkles(rng, n, box, length=(6, 14), bright=(170, 255)):
    x0, y0, x1, y1 = box
    return [(rng.uniform(x0, x1), rng.uniform(y0, y1), rng.uniform(*length),
             rng.uniform(*bright)) for _ in range(n)]


def add_grain(img, rng, amount):
    """Faint noise so smooth gradients do not band after JPEG coding."""
    img.px = [(r + d, g + d, b + d) for (r, g, b), d in
              zip(img.px, (rng.uniform(-amount, amount) for _ in img.px))]


def main_sky():
    """Blue and teal above, purple and pink lower down, warm glow at the foot."""
    w, h = SKY_W, SKY_H
    rng = random.Random(1001)
    stops = [(0.00, (4, 10, 42)), (0.16, (10, 30, 96)), (0.30, (16, 70, 130)),
             (0.40, (22, 104, 140)), (0.52, (70, 52, 140)), (0.66, (150, 58, 150)),
             (0.80, (228, 104, 150)), (0.92, (250, 168, 130)), (1.00, (255, 214, 120))]
    wave = fbm(w, h, 7, 160, 4, aspect=1.6)
    cloud = fbm(w, h, 8, 90, 5)
    img = Image(w, h)
    px = []
    for y in range(h):
        for x in range(w):
            i = y * w + x
            t = y / h + (wave[i] - 0.5) * 0.16
            c = gradient(stops, t)
            # faint nebula: teal high up, rose lower down
            neb = smooth(clamp((cloud[i] - 0.48) * 3.5)) * (0.35 + 0.5 * y / h)
            tint = mix((40, 150, 170), (255, 120, 190), clamp(t * 1.4 - 0.2))
            px.append(tuple(a + (b - a) * neb * 0.45 for a, b in zip(c, tint)))
    img.px = px
    # stars thin out towards the bright bottom
    scatter_stars(img, rng, 1700, lambda x, y: (1 - y / h) ** 1.6)
    scatter_stars(img, rng, 260, lambda x, y: 1.0, box=(0, 0, VISIBLE_W, VISIBLE_H),
                  bright=(0.4, 1.0))
    add_sparkles(img, rng, [(52, 46, 13, 255), (176, 30, 9, 230), (128, 118, 16, 255),
                            (206, 168, 10, 240), (38, 212, 11, 235), (156, 246, 8, 220),
                            (92, 182, 6, 200)])
    add_sparkles(img, rng, random_sparkles(rng, 16, (VISIBLE_W, 0, w, h * 0.75)))
    add_sparkles(img, rng, random_sparkles(rng, 8, (0, h * 0.4, w, h * 0.9), (4, 9), (120, 200)))
    add_grain(img, rng, 1.5)
    return img


def milky_way_sky():
    """Skin 星空: a black-violet night crossed by the Milky Way, hills below."""
    w, h = SKY_W, SKY_H
    rng = random.Random(2002)
    dust = fbm(w, h, 21, 70, 5)
    glow = fbm(w, h, 22, 120, 4)
    # band axis from the upper left down to the right
    ax, ay, dx, dy = -40.0, 40.0, 0.62, 0.78
    img = Image(w, h)
    px = []
    for y in range(h):
        for x in range(w):
            i = y * w + x
            dist = (x - ax) * dy - (y - ay) * dx
            along = (x - ax) * dx + (y - ay) * dy
            band = math.exp(-(dist / (70 + 25 * glow[i])) ** 2)
            core = math.exp(-(dist / 28) ** 2) * (0.55 + 0.45 * math.sin(along / 140))
            lanes = 1 - 0.55 * smooth(clamp((dust[i] - 0.5) * 2.5)) * band
            base = gradient([(0, (6, 4, 22)), (0.5, (14, 8, 38)), (1, (26, 12, 46))], y / h)
            light = mix((70, 60, 150), (255, 214, 178), core)
            k = (band * 0.55 + core * 0.5) * lanes * (0.6 + 0.6 * glow[i])
            px.append(tuple(b + l * k for b, l in zip(base, light)))
    img.px = px

    def near_band(x, y):
        dist = (x - ax) * dy - (y - ay) * dx
        return 0.25 + 0.75 * math.exp(-(dist / 90) ** 2)

    scatter_stars(img, rng, 2400, near_band, bright=(0.2, 0.9), sizes=(0.4, 0.7))
    scatter_stars(img, rng, 150, near_band, box=(0, 0, VISIBLE_W, VISIBLE_H), bright=(0.5, 1.0))
    add_sparkles(img, rng, [(64, 150, 11, 250), (196, 52, 9, 230), (150, 220, 7, 210)])
    add_sparkles(img, rng, random_sparkles(rng, 10, (0, 0, w, h * 0.8), (5, 10), (150, 230)))
    hills(img, rng, 600, 60, (4, 3, 10))
    add_grain(img, rng, 1.2)
    return img


def hills(img, rng, base_y, height, colour):
    """Dark rolling ridge silhouette along the bottom edge."""
    phases = [rng.uniform(0, 6.3) for _ in range(3)]
    for x in range(img.w):
        ridge = base_y - height * (0.5 + 0.3 * math.sin(x / 90 + phases[0])
                                   + 0.15 * math.sin(x / 37 + phases[1])
                                   + 0.05 * math.sin(x / 11 + phases[2]))
        for y in range(max(0, int(ridge)), img.h):
            a = clamp(y + 1 - ridge)
            p = img.px[y * img.w + x]
            img.px[y * img.w + x] = mix(p, colour, a)


def sea_view():
    """Skin 大海: a low sun over the sea, its light scattered on the waves."""
    w, h = SKY_W, SKY_H
    rng = random.Random(3003)
    horizon, sun_x, sun_y = 140, 150, 94
    waves = PointNoise(31)
    clouds = fbm(w, horizon + 1, 32, 80, 4, aspect=3.0)
    img = Image(w, h)
    px = []
    for y in range(h):
        for x in range(w):
            if y <= horizon:
                t = y / horizon
                c = gradient([(0, (60, 128, 206)), (0.7, (150, 196, 236)), (1, (236, 226, 214))], t)
                d = math.hypot(x - sun_x, y - sun_y)
                sun = math.exp(-d / 55) * 0.6 + (1.0 if d < 16 else clamp(17 - d))
                c = mix(c, (255, 246, 220), clamp(sun))
                cl = smooth(clamp((clouds[y * w + x] - 0.55) * 3)) * (0.3 + 0.7 * t)
                c = mix(c, (250, 250, 252), cl * 0.7)
            else:
                # perspective: a point on the water at depth `depth` and
                # sideways offset `side` (camera one unit above the water)
                depth = 400.0 / (y - horizon + 2)
                side = (x - sun_x) * depth / 400.0
                n = waves.fbm(side * 5.0, depth * 14.0, 2)
                far = clamp(depth / 40.0)        # waves blur out far away
                n = 0.5 + (n - 0.5) * (1 - 0.8 * far)
                t = (y - horizon) / (h - horizon)
                c = gradient([(0, (120, 176, 206)), (0.08, (48, 124, 176)), (0.5, (18, 78, 140)),
                              (1, (6, 36, 86))], t)
                c = mix(c, (150, 206, 230), smooth(clamp((n - 0.52) * 5)) * 0.45)
                c = mix(c, (6, 34, 72), smooth(clamp((0.46 - n) * 4)) * 0.45)
                # glitter in a column under the sun, wider close by
                spread = 10 + (y - horizon) * 0.35
                col = math.exp(-((x - sun_x) / spread) ** 2) * (1.1 - t) ** 2
                glint = smooth(clamp((n - 0.55) * 7)) * col
                c = mix(c, (255, 244, 210), clamp(glint))
            px.append(c)
    img.px = px
    add_grain(img, rng, 1.0)
    return img


def day_sky():
    """Skin 天空: bright blue sky, sun in the corner, drifting clouds."""
    w, h = SKY_W, SKY_H
    rng = random.Random(4004)
    cloud = fbm(w, h, 41, 130, 6, aspect=1.8)
    img = Image(w, h)
    px = []
    for y in range(h):
        for x in range(w):
            i = y * w + x
            c = gradient([(0, (24, 92, 196)), (0.5, (70, 150, 230)), (1, (170, 212, 244))], y / h)
            d = math.hypot(x - 58, y - 52)
            c = mix(c, (255, 252, 235), clamp(math.exp(-d / 70) * 0.85 + clamp(25 - d)))
            n = cloud[i]
            cov = smooth(clamp((n - 0.47) * 4.0))
            if cov > 0:
                # lit from above: the underside of a cloud is greyer
                below = cloud[min(h - 1, y + 6) * w + x]
                shade = clamp(0.5 + (n - below) * 6)
                cc = mix((196, 208, 226), (255, 255, 255), shade)
                c = mix(c, cc, cov * 0.95)
            px.append(c)
    img.px = px
    add_grain(img, rng, 1.0)
    return img


# ---------------------------------------------------------------------------
# Splash and about pictures
# ---------------------------------------------------------------------------

# The splash window keys this colour out, so no pixel may have it.
SPLASH_KEY = (88, 88, 88)
SPLASH_GLYPHS = [(GUAN, 70, 16, 170), (JI, 265, 16, 170)]


def two_ramp_palette(c0, c1, c2, levels, avoid):
    """c0 -> c1 then c1 -> c2 in `levels` steps each, nudged off `avoid`."""
    pal = []
    for a, b in ((c0, c1), (c1, c2)):
        for k in range(levels):
            c = tuple(int(round(v)) for v in mix(a, b, k / (levels - 1)))
            if c == avoid:
                c = (c[0], c[1], c[2] + 1)
            pal.append(c)
    return pal


def splash_frame(inner, outer, ground, rim, fill, levels=32):
    """Palette and indices: outline `rim` around `fill`, over `ground`."""
    pal = two_ramp_palette(ground, rim, fill, levels, SPLASH_KEY)
    top = levels - 1
    idx = []
    for a_in, a_out in zip(inner, outer):
        if a_in > 0.0:
            idx.append(levels + int(round(a_in * top)))
        else:
            idx.append(int(round(a_out * top)))
    return pal, idx


def splash_gif():
    w, h = 500, 200
    inner, outer = lettering_masks(w, h, SPLASH_GLYPHS, grow=3.0)
    lit = splash_frame(inner, outer, (0, 0, 0), (0, 226, 255), (255, 255, 255))
    dim = splash_frame(inner, outer, (0, 0, 0), (112, 112, 112), (168, 168, 168))
    return gif_bytes(w, h, [lit, dim])


def about_bmp():
    w, h = 500, 200
    text, _ = lettering_masks(w, h, [(TAVIMO, 40, 10, 170)], grow=0.0)
    img = Image(w, h, (255, 0, 0))
    img.composite(blur(text, w, h, 1), (10, 40, 210), 6, 6)
    img.composite(text, (255, 255, 255))
    return bmp_bytes(w, h, img.to_bytes())


# ---------------------------------------------------------------------------
# Output
# ---------------------------------------------------------------------------

# qualities keep the whole resource set near 600 KB (about.bmp alone is 300)
SKINS = [("星空.jpg", milky_way_sky, 65),
         ("大海.jpg", sea_view, 65),
         ("天空.jpg", day_sky, 70)]
PNG_SIZES = (16, 32, 48, 128)


def write(root, rel, data):
    path = os.path.join(root, *rel.split("/"))
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
    print("%8d  %s" % (len(data), rel))


def main(argv):
    root = argv[1] if len(argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "resources")
    app, bat_rgba = icon_images(draw_bat, BAT_DARK, BAT_LIGHT, 0.45)
    write(root, "app.ico", app)
    write(root, "form1.ico", icon_images(draw_spider, SPIDER_DARK, SPIDER_LIGHT, 0.2)[0])
    for size in PNG_SIZES:
        write(root, "icons/hicolor/%dx%d/apps/tavimo-shutdown.png" % (size, size),
              png_bytes(size, size, bat_rgba[size]))
    write(root, "splash.gif", splash_gif())
    write(root, "about.bmp", about_bmp())
    sky = main_sky()
    write(root, "main.jpg", jpeg_bytes(sky.w, sky.h, sky.to_bytes(), 76))
    for name, scene, quality in SKINS:
        img = scene()
        write(root, "skins/" + name, jpeg_bytes(img.w, img.h, img.to_bytes(), quality))


if __name__ == "__main__":
    main(sys.argv)
