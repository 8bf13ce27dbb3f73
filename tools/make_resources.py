#!/usr/bin/env python3
"""Draw the image resources of Tavimo 关机工具 with Pillow.

Usage: python3 tools/make_resources.py [OUTPUT_DIR]   (default: resources/)

Shapes are drawn oversized and scaled down for soft edges; noise, glows and
blurs are Pillow's own operations on greyscale layers.  Pillow writes every
file except the icons: its ICO writer keeps one image per size, writes no
4-bit images and no real AND masks, and the program's icon groups need
uncompressed 1-, 4-, 8- and 32-bit images of the same sizes, so the small
ICO writer below packs those DIBs with Pillow's raw packers.
Fixed seeds give the same files on every run.  The outputs are checked in;
builds do not need this script.
"""

import functools
import io
import math
import os
import random
import struct
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageOps

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from glyphs import GUAN, JI, TAVIMO  # noqa: E402


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def smooth(t):
    t = clamp(t)
    return t * t * (3.0 - 2.0 * t)


def mix(c1, c2, t):
    return tuple(int(round(a + (b - a) * t)) for a, b in zip(c1, c2))


def ramp(stops, eased=True):
    """256 colours through sorted (position, (r, g, b)) stops."""
    out = []
    for i in range(256):
        t = i / 255
        c = stops[-1][1] if t > stops[-1][0] else stops[0][1]
        for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
            if p0 <= t <= p1:
                k = (t - p0) / (p1 - p0)
                c = mix(c0, c1, smooth(k) if eased else k)
                break
        out.append(c)
    return out


def coloured(level, stops, eased=True):
    """RGB picture: each pixel of the L picture `level` looked up in a ramp."""
    lut = ramp(stops, eased)
    return Image.merge("RGB", [level.point([c[i] for c in lut]) for i in range(3)])


def curve(level, fn):
    """Apply fn, taking and giving values in [0, 1], to an L picture."""
    return level.point([int(round(255 * clamp(fn(v / 255)))) for v in range(256)])


def solid(size, colour):
    return Image.new("RGB", size, colour)


def vertical(size):
    """L picture running from 0 at the top to 255 at the bottom."""
    return Image.linear_gradient("L").resize(size, Image.BILINEAR)


def distance(size, cx, cy):
    """L picture of each pixel's distance from (cx, cy), capped at 255."""
    out = Image.new("L", size, 255)
    out.paste(Image.radial_gradient("L").resize((512, 512), Image.BILINEAR),
              (int(cx) - 256, int(cy) - 256))
    return out


def profile(size, fn, coeffs, span=512, scale=1.0):
    """L picture of fn(u) where u = (a x + b y + c) / (g x + h y + 1).

    fn is sampled once along a line and Pillow's perspective transform
    spreads it over the picture: bands, beams, columns."""
    line = Image.new("L", (span, 1))
    line.putdata([int(round(255 * clamp(fn((i - span / 2) / scale)))) for i in range(span)])
    a, b, c, g, h = coeffs
    mid = span / 2
    data = (a * scale + g * mid, b * scale + h * mid, c * scale + mid, 0, 0, 0.5, g, h)
    return line.transform(size, Image.PERSPECTIVE, data, Image.BILINEAR)


def noise(size, seed, cell, octaves=4, aspect=1.0):
    """Value noise: random lattices of halving spacing, scaled up smoothly
    and averaged with halving weights; `aspect` > 1 stretches it sideways."""
    rng = random.Random(seed)
    w, h = size
    out, weight, amp = None, 0.0, 1.0
    for _ in range(octaves):
        cw, ch = cell * aspect, cell
        gw, gh = int(w / cw) + 3, int(h / ch) + 3
        lattice = Image.frombytes("L", (gw, gh), rng.randbytes(gw * gh))
        layer = lattice.resize(size, Image.BICUBIC, box=(0, 0, w / cw, h / ch))
        out = layer if out is None else Image.blend(out, layer, amp / (weight + amp))
        weight += amp
        amp *= 0.5
        cell /= 2.0
    return out


def multiply(*layers):
    return functools.reduce(ImageChops.multiply, layers)


def scaled(level, k):
    return level.point(lambda v: v * k)


def add_grain(img, rng, amount):
    """Faint noise so smooth gradients do not band after JPEG coding."""
    grain = Image.frombytes("L", img.size, rng.randbytes(img.size[0] * img.size[1]))
    grain = scaled(grain, (2 * amount + 1) / 256)
    return ImageChops.add(img, Image.merge("RGB", [grain] * 3), 1.0, -round(amount))


# ---------------------------------------------------------------------------
# Stars: drawn four times oversized on a black layer that is added to the sky
# ---------------------------------------------------------------------------

SS = 4
STAR_TINTS = [(255, 255, 255), (200, 220, 255), (255, 240, 210), (210, 255, 250), (255, 215, 240)]


def tinted(tint, brightness):
    return tuple(int(c * brightness / 255) for c in tint)


def scatter_stars(draw, rng, count, density, box, bright=(0.25, 1.0), sizes=(0.45, 0.9)):
    """Tiny stars; `density(x, y)` in [0, 1] thins them out by position."""
    x0, y0, x1, y1 = box
    placed = 0
    while placed < count:
        x, y = rng.uniform(x0, x1), rng.uniform(y0, y1)
        if rng.random() > density(x, y):
            continue
        placed += 1
        r = rng.uniform(*sizes) * SS
        colour = tinted(rng.choice(STAR_TINTS), rng.uniform(*bright) ** 2 * 255)
        draw.ellipse((x * SS - r, y * SS - r, x * SS + r, y * SS + r), fill=colour)


def sparkle(draw, x, y, length, colour):
    """A bright core with four long spikes and four short diagonal ones."""
    x, y, length = x * SS, y * SS, length * SS
    for k in range(8):
        reach = length * (1.0 if k % 2 == 0 else 0.4)
        a = k * math.pi / 4
        dx, dy = math.cos(a), math.sin(a)
        half = SS * 0.45
        draw.polygon([(x - dy * half, y + dx * half), (x + dx * reach, y + dy * reach),
                      (x + dy * half, y - dx * half)], fill=colour)
    r = SS * 1.2
    draw.ellipse((x - r, y - r, x + r, y + r), fill=colour)


def starlight(size, rng, stars, sparkles):
    """Layer of light to add to a sky: `stars` are (count, density, box,
    bright, sizes) rows, `sparkles` (x, y, length, brightness) spots."""
    w, h = size
    layer = Image.new("RGB", (w * SS, h * SS))
    draw = ImageDraw.Draw(layer)
    for row in stars:
        scatter_stars(draw, rng, *row)
    halo = Image.new("RGB", (w, h))
    halo_draw = ImageDraw.Draw(halo)
    for x, y, length, b in sparkles:
        colour = tinted(rng.choice(STAR_TINTS[:4]), b)
        sparkle(draw, x, y, length, colour)
        r = length * 0.35
        halo_draw.ellipse((x - r, y - r, x + r, y + r), fill=tinted(colour, 90))
    small = layer.resize(size, Image.BOX)
    # a little bloom, so the brightest points glow rather than sit as dots
    bloom = small.filter(ImageFilter.GaussianBlur(1.2))
    return ImageChops.add(ImageChops.add(small, bloom), halo.filter(ImageFilter.GaussianBlur(3)))


def random_sparkles(rng, n, box, length=(6, 14), bright=(170, 255)):
    x0, y0, x1, y1 = box
    return [(rng.uniform(x0, x1), rng.uniform(y0, y1), rng.uniform(*length),
             rng.uniform(*bright)) for _ in range(n)]


# ---------------------------------------------------------------------------
# Sky pictures (480 x 720)
# ---------------------------------------------------------------------------

SKY = (480, 720)
# the window normally shows only this top-left part of a background
VISIBLE = (0, 0, 238, 274)


def main_sky():
    """Blue and teal above, purple and pink lower down, warm glow at the foot."""
    w, h = SKY
    rng = random.Random(1001)
    wave = curve(noise(SKY, 7, 160, 4, aspect=1.6), lambda v: 0.5 + (v - 0.5) * 0.16)
    t = ImageChops.add(vertical(SKY), wave, 1.0, -128)
    img = coloured(t, [(0.00, (4, 10, 42)), (0.16, (10, 30, 96)), (0.30, (16, 70, 130)),
                       (0.40, (22, 104, 140)), (0.52, (70, 52, 140)), (0.66, (150, 58, 150)),
                       (0.80, (228, 104, 150)), (0.92, (250, 168, 130)), (1.00, (255, 214, 120))])
    # faint nebula: teal high up, rose lower down
    tint = coloured(t, [(0.14, (40, 150, 170)), (0.86, (255, 120, 190))], eased=False)
    nebula = multiply(curve(noise(SKY, 8, 90, 5), lambda v: smooth((v - 0.48) * 3.5)),
                      curve(vertical(SKY), lambda v: (0.35 + 0.5 * v) * 0.45))
    img = Image.composite(tint, img, nebula)
    spots = [(52, 46, 13, 255), (176, 30, 9, 230), (128, 118, 16, 255), (206, 168, 10, 240),
             (38, 212, 11, 235), (156, 246, 8, 220), (92, 182, 6, 200)]
    spots += random_sparkles(rng, 16, (VISIBLE[2], 0, w, h * 0.75))
    spots += random_sparkles(rng, 8, (0, h * 0.4, w, h * 0.9), (4, 9), (120, 200))
    # stars thin out towards the bright bottom
    light = starlight(SKY, rng, [(1700, lambda x, y: (1 - y / h) ** 1.6, (0, 0, w, h)),
                                 (260, lambda x, y: 1.0, VISIBLE, (0.4, 1.0))], spots)
    return add_grain(ImageChops.add(img, light), rng, 1.5)


def hills(img, rng, base_y, height, colour):
    """Dark rolling ridge silhouette along the bottom edge."""
    w, h = img.size
    phases = [rng.uniform(0, 6.3) for _ in range(3)]
    ridge = [(x / SS, base_y - height * (0.5 + 0.3 * math.sin(x / SS / 90 + phases[0])
                                         + 0.15 * math.sin(x / SS / 37 + phases[1])
                                         + 0.05 * math.sin(x / SS / 11 + phases[2])))
             for x in range(0, w * SS + 1, SS)]
    mask = Image.new("L", (w * SS, h * SS))
    ImageDraw.Draw(mask).polygon([(x * SS, y * SS) for x, y in ridge]
                                 + [(w * SS, h * SS), (0, h * SS)], fill=255)
    return Image.composite(solid(img.size, colour), img, mask.resize(img.size, Image.BOX))


def milky_way_sky():
    """Skin 星空: a black-violet night crossed by the Milky Way, hills below."""
    w, h = SKY
    rng = random.Random(2002)
    glow = noise(SKY, 22, 120, 4)
    # distance across and along the band, which runs from the upper left
    # down to the right through (-40, 40)
    ax, ay, dx, dy = -40.0, 40.0, 0.62, 0.78
    def line(a, b, c, unit):
        return (a / unit, b / unit, c / unit, 0, 0)

    gauss = lambda d: math.exp(-d * d)  # noqa: E731
    across = (dy, -dx, -ax * dy + ay * dx)
    band = profile(SKY, gauss, line(*across, 80), span=1024, scale=64)
    core = multiply(profile(SKY, gauss, line(*across, 28), span=2048, scale=32),
                    profile(SKY, lambda a: 0.55 + 0.45 * math.sin(a),
                            line(dx, dy, -ax * dx - ay * dy, 140), span=2048, scale=64))
    lanes = ImageChops.invert(multiply(curve(noise(SKY, 21, 70, 5),
                                             lambda v: 0.55 * smooth((v - 0.5) * 2.5)), band))
    strength = multiply(ImageChops.add(scaled(band, 0.55), scaled(core, 0.5)), lanes,
                        curve(glow, lambda v: 0.6 + 0.6 * v))
    light = coloured(core, [(0, (70, 60, 150)), (1, (255, 214, 178))], eased=False)
    base = coloured(vertical(SKY), [(0, (6, 4, 22)), (0.5, (14, 8, 38)), (1, (26, 12, 46))])
    img = ImageChops.add(base, ImageChops.multiply(light, Image.merge("RGB", [strength] * 3)))

    def near_band(x, y):
        return 0.25 + 0.75 * math.exp(-(((x - ax) * dy - (y - ay) * dx) / 90) ** 2)

    spots = [(64, 150, 11, 250), (196, 52, 9, 230), (150, 220, 7, 210)]
    spots += random_sparkles(rng, 10, (0, 0, w, h * 0.8), (5, 10), (150, 230))
    img = ImageChops.add(img, starlight(SKY, rng, [
        (2400, near_band, (0, 0, w, h), (0.2, 0.9), (0.4, 0.7)),
        (150, near_band, VISIBLE, (0.5, 1.0))], spots))
    return add_grain(hills(img, rng, 600, 60, (4, 3, 10)), rng, 1.2)


def sea_view():
    """Skin 大海: a low sun over the sea, its light scattered on the waves."""
    w, h = SKY
    rng = random.Random(3003)
    horizon, sun_x, sun_y = 140, 150, 94
    sky_size, sea_size = (w, horizon), (w, h - horizon)
    sky = coloured(vertical(sky_size), [(0, (60, 128, 206)), (0.7, (150, 196, 236)),
                                        (1, (236, 226, 214))])
    sun = curve(distance(sky_size, sun_x, sun_y),
                lambda d: math.exp(-d * 255 / 55) * 0.6 + clamp(17 - d * 255))
    sky = Image.composite(solid(sky_size, (255, 246, 220)), sky, sun)
    clouds = multiply(curve(noise(sky_size, 32, 80, 4, aspect=3.0),
                            lambda v: smooth((v - 0.55) * 3)),
                      curve(vertical(sky_size), lambda v: (0.3 + 0.7 * v) * 0.7))
    sky = Image.composite(solid(sky_size, (250, 250, 252)), sky, clouds)
    # waves: a flat sheet of stretched noise seen in perspective from just
    # above the water, so they shrink towards the horizon; far off they
    # blur out to an even grey
    sheet = noise((720, 1200), 31, 10, 4, aspect=2.5)
    c = 60.0
    waves = sheet.transform(sea_size, Image.PERSPECTIVE,
                            (1.0, 360.0 / c, 360.0 - sun_x, 0, 21.0, 0, 0, 1 / c), Image.BILINEAR)
    depth = vertical(sea_size)
    waves = Image.composite(waves, Image.new("L", sea_size, 128),
                            curve(depth, lambda v: 0.5 + 0.5 * smooth(v * 8)))
    sea = coloured(depth, [(0, (120, 176, 206)), (0.08, (48, 124, 176)), (0.5, (18, 78, 140)),
                           (1, (6, 36, 86))])
    sea = Image.composite(solid(sea_size, (150, 206, 230)), sea,
                          curve(waves, lambda n: smooth((n - 0.52) * 5) * 0.45))
    sea = Image.composite(solid(sea_size, (6, 34, 72)), sea,
                          curve(waves, lambda n: smooth((0.46 - n) * 4) * 0.45))
    # glitter in a column under the sun, wider close by
    column = profile(sea_size, lambda u: math.exp(-u * u), (0.1, 0, -0.1 * sun_x, 0, 0.035),
                     scale=64)
    glint = multiply(column, curve(depth, lambda t: (1.1 - t) ** 2),
                     curve(waves, lambda n: smooth((n - 0.53) * 6)))
    sea = Image.composite(solid(sea_size, (255, 244, 210)), sea, glint)
    img = Image.new("RGB", SKY)
    img.paste(sky, (0, 0))
    img.paste(sea, (0, horizon))
    return add_grain(img, rng, 1.0)


def day_sky():
    """Skin 天空: bright blue sky, sun in the corner, drifting clouds."""
    rng = random.Random(4004)
    img = coloured(vertical(SKY), [(0, (24, 92, 196)), (0.5, (70, 150, 230)), (1, (170, 212, 244))])
    sun = curve(distance(SKY, 58, 52),
                lambda d: math.exp(-d * 255 / 70) * 0.85 + clamp(25 - d * 255))
    img = Image.composite(solid(SKY, (255, 252, 235)), img, sun)
    cloud = noise(SKY, 41, 130, 6, aspect=1.8)
    # lit from above: where the cloud thins further down, its underside is greyer
    below = ImageChops.offset(cloud, 0, -6)
    shade = ImageChops.subtract(cloud, below, 1 / 6, 128)
    cloud_colour = coloured(shade, [(0, (196, 208, 226)), (1, (255, 255, 255))], eased=False)
    cover = curve(cloud, lambda n: smooth((n - 0.47) * 4.0) * 0.95)
    return add_grain(Image.composite(cloud_colour, img, cover), rng, 1.0)


# ---------------------------------------------------------------------------
# Brush lettering: a Catmull-Rom path with a width per control point,
# stamped with a slanted nib.  The tail of a "dry" stroke splits into
# bristles that run out of ink one by one, like a calligraphy brush.
# ---------------------------------------------------------------------------

# strokes running down-right come out broad, strokes running down-left taper
NIB_ASPECT, NIB_ANGLE = 0.42, math.radians(-38)


def spline(ctrl, step=0.35):
    """Resample Catmull-Rom through (x, y, w) points every `step` pixels."""
    pts = [ctrl[0]] + list(ctrl) + [ctrl[-1]]
    out = []
    for i in range(1, len(pts) - 2):
        p0, p1, p2, p3 = pts[i - 1], pts[i], pts[i + 1], pts[i + 2]
        n = max(2, int(math.hypot(p2[0] - p1[0], p2[1] - p1[1]) / step) + 1)
        for k in range(n):
            t = k / n
            out.append(tuple(
                0.5 * (2 * b + (-a + c) * t + (2 * a - 5 * b + 4 * c - d) * t * t
                       + (-a + 3 * b - 3 * c + d) * t * t * t)
                for a, b, c, d in zip(p0, p1, p2, p3)))
    out.append(tuple(ctrl[-1]))
    return out


def ellipse_points(cx, cy, rx, ry, n=64):
    return [(cx + rx * math.cos(2 * math.pi * i / n), cy + ry * math.sin(2 * math.pi * i / n))
            for i in range(n)]


def nib(draw, x, y, a, b):
    co, si = math.cos(NIB_ANGLE), math.sin(NIB_ANGLE)
    draw.polygon([(x + u * co - v * si, y + u * si + v * co)
                  for u, v in ellipse_points(0, 0, a, b, 16)], fill=255)


def brush_stroke(draw, ctrl, dry, seed, grow, bristles=15):
    samples = spline(ctrl)
    n = len(samples)
    rng = random.Random(seed)
    # bristle offsets across the brush and where each one runs dry: most
    # reach the end, a few give out early and leave thin gaps
    tufts = [((2 * (j + 0.5) / bristles - 1) * 0.85,
              1.0 - dry * 0.85 * rng.random() ** 1.5) for j in range(bristles)]
    for i, (x, y, w) in enumerate(samples):
        t = i / (n - 1)
        if not dry or t <= 1.0 - dry:
            nib(draw, x, y, w / 2 + grow, w / 2 * NIB_ASPECT + grow)
            continue
        a, b = samples[max(0, i - 1)], samples[min(n - 1, i + 1)]
        ln = math.hypot(b[0] - a[0], b[1] - a[1]) or 1.0
        nx, ny = (a[1] - b[1]) / ln, (b[0] - a[0]) / ln
        r = w / bristles * 1.4 + grow
        for off, end in tufts:
            if t < end:
                cx, cy = x + nx * off * w / 2, y + ny * off * w / 2
                draw.ellipse((cx - r, cy - r, cx + r, cy + r), fill=255)


def lettering(size, glyphs, grow=0.0, ss=3, weight=1.8):
    """L coverage of brush strokes; glyphs are (strokes, x, y, scale) rows,
    `grow` widens every stroke by that many pixels."""
    mask = Image.new("L", (size[0] * ss, size[1] * ss))
    draw = ImageDraw.Draw(mask)
    for strokes, ox, oy, scale in glyphs:
        for k, st in enumerate(strokes):
            # a slight forward lean, as in a quickly written signature
            ctrl = [((ox + (x + (0.5 - y) * 0.14) * scale) * ss, (oy + y * scale) * ss,
                     w * scale * weight * ss) for x, y, w in st["pts"]]
            brush_stroke(draw, ctrl, st.get("dry", 0.0), st.get("seed", k), grow * ss)
    return mask.resize(size, Image.BOX)


# ---------------------------------------------------------------------------
# Splash and about pictures (500 x 200)
# ---------------------------------------------------------------------------

BANNER = (500, 200)
# The splash window keys this colour out, so no pixel may have it.
SPLASH_KEY = (88, 88, 88)


def splash_frame(inner, outer, ground, rim, fill, levels=32):
    """Outline `rim` around `fill` over `ground`, as a 64-colour picture:
    indices below `levels` ramp ground -> rim, the rest rim -> fill."""
    top = levels - 1
    pal = [mix(a, b, k / top) for a, b in ((ground, rim), (rim, fill)) for k in range(levels)]
    pal = [(r, g, b + 1) if (r, g, b) == SPLASH_KEY else (r, g, b) for r, g, b in pal]
    idx = Image.composite(inner.point(lambda v: levels + round(v / 255 * top)),
                          outer.point(lambda v: round(v / 255 * top)),
                          inner.point(lambda v: 255 if v else 0))
    idx.putpalette([v for c in pal for v in c])  # makes it a "P" picture
    return idx


def splash_gif():
    glyphs = [(GUAN, 70, 16, 170), (JI, 265, 16, 170)]
    inner, outer = lettering(BANNER, glyphs), lettering(BANNER, glyphs, grow=3.0)
    lit = splash_frame(inner, outer, (0, 0, 0), (0, 226, 255), (255, 255, 255))
    dim = splash_frame(inner, outer, (0, 0, 0), (112, 112, 112), (168, 168, 168))
    return encoded(lit, "GIF", save_all=True, append_images=[dim], duration=1000, disposal=1,
                   optimize=True)


def about_bmp():
    text = lettering(BANNER, [(TAVIMO, 40, 10, 170)])
    shadow = ImageChops.offset(text.filter(ImageFilter.BoxBlur(1)), 6, 6)
    img = Image.composite(solid(BANNER, (10, 40, 210)), solid(BANNER, (255, 0, 0)), shadow)
    return encoded(Image.composite(solid(BANNER, (255, 255, 255)), img, text), "BMP")


def encoded(img, fmt, **options):
    out = io.BytesIO()
    img.save(out, fmt, **options)
    return out.getvalue()


# ---------------------------------------------------------------------------
# Icons: silhouettes drawn in a [-1, 1] box, y pointing down
# ---------------------------------------------------------------------------


def quad_bezier(p0, c, p1, n=12):
    """Points of a quadratic Bezier, without its first point."""
    return [((1 - t) ** 2 * p0[0] + 2 * (1 - t) * t * c[0] + t * t * p1[0],
             (1 - t) ** 2 * p0[1] + 2 * (1 - t) * t * c[1] + t * t * p1[1])
            for t in (i / n for i in range(1, n + 1))]


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
    return right + [(-x, y) for x, y in reversed(right[1:-1])]


def fit(points, size, margin, ss):
    """Map shape-space points into a size x size canvas drawn ss times over."""
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    k = (size - 2 * margin) / max(max(xs) - min(xs), max(ys) - min(ys)) * ss
    cx, cy = (max(xs) + min(xs)) / 2, (max(ys) + min(ys)) / 2
    return lambda x, y: (size * ss / 2 + (x - cx) * k, size * ss / 2 + (y - cy) * k), k


def draw_bat(draw, size, margin, ss):
    pts = bat_outline()
    tf, _ = fit(pts, size, margin, ss)
    draw.polygon([tf(x, y) for x, y in pts], fill=255)


def draw_spider(draw, size, margin, ss):
    leg_w = max(0.075, 2.5 / size)        # legs must survive at 16x16
    bodies = [ellipse_points(0, 0.30, 0.27, 0.36), ellipse_points(0, -0.16, 0.19, 0.18),
              ellipse_points(0, -0.34, 0.10, 0.08)]
    legs = [[(0.10, -0.26), (0.36, -0.50), (0.46, -0.80), (0.44, -0.99)],
            [(0.14, -0.20), (0.52, -0.40), (0.80, -0.44), (0.97, -0.62)],
            [(0.15, -0.12), (0.56, -0.10), (0.82, 0.04), (0.96, 0.30)],
            [(0.12, -0.05), (0.44, 0.18), (0.60, 0.52), (0.64, 0.92)]]
    legs += [[(-x, y) for x, y in leg] for leg in legs]
    extent = [p for b in bodies for p in b] + [p for leg in legs for p in leg]
    # feet carry half a leg width beyond the polyline ends
    extent += [(x + dx, y + dy) for x, y in extent for dx, dy in
               ((leg_w / 2, 0), (-leg_w / 2, 0), (0, leg_w / 2), (0, -leg_w / 2))]
    tf, k = fit(extent, size, margin, ss)
    for b in bodies:
        draw.polygon([tf(x, y) for x, y in b], fill=255)
    for leg in legs:
        pts = [tf(x, y) for x, y in leg]
        for i, (a, b) in enumerate(zip(pts, pts[1:])):
            # tapering towards the foot
            w = leg_w * k * (1.35 - 0.45 * (i + 0.5) / (len(pts) - 1))
            draw.line([a, b], fill=255, width=max(1, round(w)))
            for x, y in (a, b):
                draw.ellipse((x - w / 2, y - w / 2, x + w / 2, y + w / 2), fill=255)


ICON_FORMATS = [(32, 1), (48, 4), (32, 4), (16, 4), (48, 8), (32, 8), (16, 8),
                (128, 32), (48, 32), (32, 32), (16, 32)]


def render_icon(draw_shape, size, rim_light):
    """Coverage and shade (0 dark .. 255 light) of a silhouette at `size`."""
    ss = 8 if size <= 48 else 4
    big = Image.new("L", (size * ss, size * ss))
    draw_shape(ImageDraw.Draw(big), size, max(0.5, size / 32), ss)
    alpha = big.resize((size, size), Image.BOX)
    # a lit rim, so the dark shape still reads on a dark taskbar; outside
    # the canvas counts as empty
    r = 1 if size <= 48 else 2
    inside = ImageOps.expand(alpha, r).filter(ImageFilter.MinFilter(2 * r + 1)).crop(
        (r, r, r + size, r + size))
    rim = ImageChops.subtract(alpha, inside)
    # soft light from the top left
    shade = Image.new("L", (size, size))
    shade.putdata([int(255 * clamp(0.85 - 0.75 * (y + 0.5) / size - 0.25 * (x + 0.5) / size
                                   + 0.2 * (1 - abs(2 * (x + 0.5) / size - 1))))
                   for y in range(size) for x in range(size)])
    return alpha, ImageChops.add(shade, scaled(rim, rim_light))


def icon_image(draw_shape, size, bpp, dark, light, rim_light):
    """(picture, AND mask) of one icon image; the mask is 1 where the screen
    shows through, and there the picture is black."""
    alpha, shade = render_icon(draw_shape, size, rim_light)
    # 32-bit images show all but the empty pixels, the others what is half covered
    clear = alpha.point(lambda v: 255 if v < (1 if bpp == 32 else 128) else 0)
    if bpp == 32:
        pic = coloured(shade, [(0, dark), (1, light)], eased=False)
        pic.putalpha(alpha)
        pic = Image.composite(Image.new("RGBA", pic.size), pic, clear)
    elif bpp == 1:
        # the silhouette is black: index 0 everywhere
        pic = Image.new("P", (size, size))
        pic.putpalette([0, 0, 0, 255, 255, 255])
    else:
        # index 0 is black (under the mask), then a ramp dark -> light
        n = 1 << bpp
        pic = shade.point(lambda v: 1 + round(v / 255 * (n - 2)))
        pic.paste(0, mask=clear)
        pal = [(0, 0, 0)] + [mix(dark, light, i / (n - 2)) for i in range(n - 1)]
        pic.putpalette([v for c in pal for v in c])
    return pic, clear.convert("1", dither=Image.NONE)


def dib(pic, mask, bpp):
    """An ICO image: BITMAPINFOHEADER of twice the height, palette, colour
    rows, then AND mask rows, both bottom-up and padded to 32 bits."""
    w, h = pic.size

    def rows(img, rawmode, bits):
        return img.tobytes("raw", (rawmode, (w * bits + 31) // 32 * 4, -1))

    bitmap = rows(pic, {1: "P;1", 4: "P;4", 8: "P", 32: "BGRA"}[bpp], bpp) + rows(mask, "1", 1)
    palette = bytes(pic.getpalette("BGRX")).ljust(4 << bpp, b"\0") if bpp <= 8 else b""
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, bpp, 0, len(bitmap), 0, 0, 0, 0)
    return header + palette + bitmap


def icon_file(draw_shape, dark, light, rim_light):
    """ICO bytes of the eleven images, and the 32-bit images by size."""
    images, rgba = [], {}
    for size, bpp in ICON_FORMATS:
        pic, mask = icon_image(draw_shape, size, bpp, dark, light, rim_light)
        if bpp == 32:
            rgba[size] = pic
        images.append((size, bpp, dib(pic, mask, bpp)))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, bpp, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, {1: 2, 4: 16}.get(bpp, 0), 0, 1,
                           bpp, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, _, data in images), rgba


BAT_DARK, BAT_LIGHT = (38, 38, 42), (96, 96, 102)
SPIDER_DARK, SPIDER_LIGHT = (72, 22, 110), (178, 96, 226)


# ---------------------------------------------------------------------------
# Output
# ---------------------------------------------------------------------------

# qualities keep the whole resource set near 600 KB (about.bmp alone is 300)
JPEGS = [("main.jpg", main_sky, 70),
         ("skins/星空.jpg", milky_way_sky, 65),
         ("skins/大海.jpg", sea_view, 65),
         ("skins/天空.jpg", day_sky, 70)]
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
    app, bat = icon_file(draw_bat, BAT_DARK, BAT_LIGHT, 0.45)
    write(root, "app.ico", app)
    write(root, "form1.ico", icon_file(draw_spider, SPIDER_DARK, SPIDER_LIGHT, 0.2)[0])
    for size in PNG_SIZES:
        write(root, "icons/hicolor/%dx%d/apps/tavimo-shutdown.png" % (size, size),
              encoded(bat[size], "PNG", optimize=True))
    write(root, "splash.gif", splash_gif())
    write(root, "about.bmp", about_bmp())
    for name, scene, quality in JPEGS:
        write(root, name, encoded(scene(), "JPEG", quality=quality, optimize=True, subsampling=2))


if __name__ == "__main__":
    main(sys.argv)
