#!/usr/bin/env python3
"""Draws every image of the launcher's skin into resources/skin/.

The pictures are generated, not painted by hand, so that the shipped skin can
be rebuilt byte for byte from this file alone. Standard library only (zlib and
struct write the PNGs). Regenerate after changing a drawing with:

    python3 tools/make_skin.py            # writes into resources/skin/
    python3 tools/make_skin.py OUT_DIR    # or anywhere else

Output (all 8-bit RGBA PNGs):
  loginBg.png          1176 x 731  login window: opaque magenta (0xFFFF00FF)
                                   outside the silhouette is the colour key
                                   the skin masks away; the silhouette edge
                                   is anti-aliased through the alpha channel
  minimize_{n,h,p}.png   32 x 31   login minimise button, normal/hot/pushed
  close_{n,h,p}.png      31 x 31   login close button, normal/hot/pushed
  PlayGameBg.png        120 x 64   play window nine-grid (corners 10,32,10,10;
                                   the top 32 rows are the title bar band)
  kefubtn.png, refreshbtn.png, minibtn.png, maxbtn.png, closebtn.png
                         81 x 27   title bar buttons: three 27 x 27 cells,
                                   normal, hot, pushed from left to right

Anti-aliasing: shapes are signed distance functions. The big background gets
its coverage analytically from the distance (0.5 - d, clamped), which is exact
for straight edges and needs one evaluation per pixel; the small button
images are drawn 4x larger and box-filtered down (supersampling).
"""
import math
import os
import struct
import sys
import zlib

# ---------------------------------------------------------------------------
# Colour helpers. Colours are (r, g, b) floats in 0..1.


def rgb(r, g, b):
    return (r / 255.0, g / 255.0, b / 255.0)


def lerp(a, b, t):
    return (a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t,
            a[2] + (b[2] - a[2]) * t)


def clamp01(v):
    return 0.0 if v < 0.0 else (1.0 if v > 1.0 else v)


def ramp(stops, t):
    """Piecewise linear colour ramp; stops are (position, colour) sorted."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return lerp(c0, c1, (t - p0) / (p1 - p0))
    return stops[-1][1]


# Polished metal: deep bronze through gold to a pale highlight.
GOLD = [(0.0, rgb(74, 44, 12)), (0.35, rgb(160, 104, 34)),
        (0.65, rgb(226, 176, 84)), (0.85, rgb(250, 222, 140)),
        (1.0, rgb(255, 246, 210))]


def gold(t):
    return ramp(GOLD, clamp01(t))


INK = rgb(12, 9, 6)          # outlines around metal
OUTLINE = 1.4                # their width beyond the shape
NAVY_TOP = rgb(38, 58, 112)
NAVY_BOTTOM = rgb(12, 20, 46)
PALE = rgb(240, 222, 170)    # glyph colour at rest
WHITE = (1.0, 1.0, 1.0)

# ---------------------------------------------------------------------------
# Signed distance functions: negative inside, positive outside, in pixels.


def sd_circle(cx, cy, r):
    hypot = math.hypot
    return lambda x, y: hypot(x - cx, y - cy) - r


def sd_ring(cx, cy, r, half_width):
    hypot = math.hypot
    return lambda x, y: abs(hypot(x - cx, y - cy) - r) - half_width


def sd_round_rect(x0, y0, x1, y1, radius):
    cx, cy = (x0 + x1) * 0.5, (y0 + y1) * 0.5
    hx, hy = (x1 - x0) * 0.5 - radius, (y1 - y0) * 0.5 - radius
    hypot = math.hypot

    def f(x, y):
        qx = abs(x - cx) - hx
        qy = abs(y - cy) - hy
        if qx > 0.0 and qy > 0.0:
            return hypot(qx, qy) - radius
        return (qx if qx > qy else qy) - radius
    return f


def sd_segment(ax, ay, bx, by, half_width):
    ex, ey = bx - ax, by - ay
    ee = ex * ex + ey * ey or 1.0
    sqrt = math.sqrt

    def f(x, y):
        wx, wy = x - ax, y - ay
        t = (wx * ex + wy * ey) / ee
        t = 0.0 if t < 0.0 else (1.0 if t > 1.0 else t)
        dx, dy = wx - ex * t, wy - ey * t
        return sqrt(dx * dx + dy * dy) - half_width
    return f


def sd_polygon(pts):
    """Exact distance to a simple polygon (even-odd sign)."""
    n = len(pts)
    edges = []
    for i in range(n):
        vx, vy = pts[i]
        ux, uy = pts[i - 1]
        ex, ey = ux - vx, uy - vy
        edges.append((vx, vy, ex, ey, ex * ex + ey * ey or 1.0, uy))
    sqrt = math.sqrt

    def f(x, y):
        best = 1e18
        sign = 1.0
        for vx, vy, ex, ey, ee, uy in edges:
            wx, wy = x - vx, y - vy
            t = (wx * ex + wy * ey) / ee
            t = 0.0 if t < 0.0 else (1.0 if t > 1.0 else t)
            bx, by = wx - ex * t, wy - ey * t
            d = bx * bx + by * by
            if d < best:
                best = d
            c1 = y >= vy
            c2 = y < uy
            c3 = ex * wy > ey * wx
            if (c1 and c2 and c3) or not (c1 or c2 or c3):
                sign = -sign
        return sign * sqrt(best)
    return f


def sd_arc(cx, cy, r, half_width, a0, a1):
    """Stroke along a circle between angles a0..a1 (radians, y down), with
    round ends."""
    hypot, atan2, tau = math.hypot, math.atan2, 2 * math.pi
    span = (a1 - a0) % tau
    ends = [(cx + r * math.cos(a), cy + r * math.sin(a)) for a in (a0, a1)]

    def f(x, y):
        a = (atan2(y - cy, x - cx) - a0) % tau
        if a <= span:
            return abs(hypot(x - cx, y - cy) - r) - half_width
        return min(hypot(x - ex, y - ey) for ex, ey in ends) - half_width
    return f


def union(*fs):
    return lambda x, y: min(f(x, y) for f in fs)


def subtract(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


def translate(f, dx, dy):
    return lambda x, y: f(x - dx, y - dy)


def poly_bbox(pts, pad=2):
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    return (min(xs) - pad, min(ys) - pad, max(xs) + pad, max(ys) + pad)


# ---------------------------------------------------------------------------
# Canvas: premultiplied RGBA float planes. Drawing coordinates are logical
# pixels; a canvas with scale s holds s x s samples per logical pixel and is
# box-filtered down when written.


class Canvas:
    def __init__(self, width, height, scale=1):
        self.width, self.height, self.scale = width, height, scale
        self.w, self.h = width * scale, height * scale
        n = self.w * self.h
        self.r = [0.0] * n
        self.g = [0.0] * n
        self.b = [0.0] * n
        self.a = [0.0] * n

    def _span(self, bbox):
        s = self.scale
        x0, y0, x1, y1 = bbox
        return (max(0, int(math.floor(x0 * s)) - 1),
                max(0, int(math.floor(y0 * s)) - 1),
                min(self.w, int(math.ceil(x1 * s)) + 1),
                min(self.h, int(math.ceil(y1 * s)) + 1))

    def shade(self, bbox, fn, add=False):
        """fn(x, y, aa) -> None or (r, g, b, k): composite colour with weight
        k over (or onto, with add) every sample in bbox. aa is the width of
        one sample in logical pixels, for coverage from a distance."""
        px0, py0, px1, py1 = self._span(bbox)
        inv = 1.0 / self.scale
        R, G, B, A, W = self.r, self.g, self.b, self.a, self.w
        for py in range(py0, py1):
            y = (py + 0.5) * inv
            base = py * W
            for px in range(px0, px1):
                v = fn((px + 0.5) * inv, y, inv)
                if v is None:
                    continue
                cr, cg, cb, k = v
                if k <= 0.0:
                    continue
                if k > 1.0:
                    k = 1.0
                i = base + px
                if add:
                    R[i] += cr * k
                    G[i] += cg * k
                    B[i] += cb * k
                else:
                    ik = 1.0 - k
                    R[i] = cr * k + R[i] * ik
                    G[i] = cg * k + G[i] * ik
                    B[i] = cb * k + B[i] * ik
                    A[i] = k + A[i] * ik

    def fill(self, sdf, bbox, colour, alpha=1.0, add=False):
        """Fill a shape; colour is a constant or fn(x, y) -> colour."""
        if callable(colour):
            def fn(x, y, aa):
                c = 0.5 - sdf(x, y) / aa
                if c <= 0.0:
                    return None
                r, g, b = colour(x, y)
                return (r, g, b, (1.0 if c > 1.0 else c) * alpha)
        else:
            r, g, b = colour

            def fn(x, y, aa):
                c = 0.5 - sdf(x, y) / aa
                if c <= 0.0:
                    return None
                return (r, g, b, (1.0 if c > 1.0 else c) * alpha)
        self.shade(bbox, fn, add)

    def glow(self, sdf, bbox, colour, strength, radius, add=True):
        """Soft light falling off outside a shape (and full inside)."""
        r, g, b = colour
        exp = math.exp
        reach = radius * math.log(strength / 0.002) if strength > 0.002 else 0.0

        def fn(x, y, aa):
            d = sdf(x, y)
            if d >= reach:
                return None
            k = strength if d <= 0.0 else strength * exp(-d / radius)
            return (r, g, b, k)
        # grow the box to where the light has faded, so no edge shows
        x0, y0, x1, y1 = bbox
        self.shade((x0 - reach, y0 - reach, x1 + reach, y1 + reach), fn, add)

    def pixels(self, dithered=False):
        """Box-filtered, un-premultiplied 8-bit rows of (r, g, b, a) bytes."""
        s = self.scale
        n = float(s * s)
        rows = []
        R, G, B, A, W = self.r, self.g, self.b, self.a, self.w
        for y in range(self.height):
            row = bytearray(self.width * 4)
            for x in range(self.width):
                sr = sg = sb = sa = 0.0
                for sy in range(y * s, y * s + s):
                    i = sy * W + x * s
                    for j in range(i, i + s):
                        sr += R[j]
                        sg += G[j]
                        sb += B[j]
                        sa += A[j]
                a = sa / n
                o = x * 4
                if a <= 0.0:
                    continue
                if a > 1.0:
                    a = 1.0
                q = dither(x, y) if dithered else 0.5
                row[o] = min(255, int(sr / sa * 255.0 + q))
                row[o + 1] = min(255, int(sg / sa * 255.0 + q))
                row[o + 2] = min(255, int(sb / sa * 255.0 + q))
                row[o + 3] = int(a * 255.0 + 0.5)
            rows.append(row)
        return rows


# ---------------------------------------------------------------------------
# PNG writing.


def _paeth_row(row, prev, bpp):
    out = bytearray(len(row))
    for i, v in enumerate(row):
        a = row[i - bpp] if i >= bpp else 0
        b = prev[i]
        c = prev[i - bpp] if i >= bpp else 0
        p = a + b - c
        pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
        pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
        out[i] = (v - pred) & 255
    return out


def write_png(path, width, height, rows):
    """RGBA, Paeth-filtered rows (smooth gradients pack best that way)."""
    raw = bytearray()
    prev = bytearray(width * 4)
    for row in rows:
        raw.append(4)
        raw += _paeth_row(row, prev, 4)
        prev = row

    def chunk(tag, data):
        body = tag + data
        return (struct.pack('>I', len(data)) + body
                + struct.pack('>I', zlib.crc32(body) & 0xffffffff))
    png = b'\x89PNG\r\n\x1a\n'
    png += chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0))
    png += chunk(b'IDAT', zlib.compress(bytes(raw), 9))
    png += chunk(b'IEND', b'')
    with open(path, 'wb') as f:
        f.write(png)


def dither(x, y):
    """4x4 ordered dither offset in 0..1, breaks up banding in the dark
    gradients without the bulk that random grain costs in a PNG."""
    m = (0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5)
    return (m[(y & 3) * 4 + (x & 3)] + 0.5) / 16.0


class Lcg:
    """Small deterministic generator, so the star field never changes."""

    def __init__(self, seed):
        self.state = seed & 0xffffffff

    def __call__(self):
        self.state = (self.state * 1664525 + 1013904223) & 0xffffffff
        return self.state / 4294967296.0

    def uniform(self, lo, hi):
        return lo + (hi - lo) * self()


def bevel(sdf, width, base, light=(-0.55, -0.83)):
    """Colour function for a raised metal shape: a flat face shaded by base(x,
    y) -> 0..1 and a rim of the given width lit from the top left."""
    lx, ly = light

    def colour(x, y):
        d = sdf(x, y)
        v = base(x, y)
        t = -d
        if t < width:
            nx = sdf(x + 0.5, y) - sdf(x - 0.5, y)
            ny = sdf(x, y + 0.5) - sdf(x, y - 0.5)
            n = math.hypot(nx, ny) or 1.0
            lit = (nx * lx + ny * ly) / n
            w = 1.0 - max(t, 0.0) / width
            v = v + (0.55 * lit) * w
        return gold(v)
    return colour


# ---------------------------------------------------------------------------
# Login window background: a night landscape on a rounded plate with a golden
# medallion breaking out of its top left, the game's name beneath it, and a
# framed panel for the login page.

LOGIN_W, LOGIN_H = 1176, 731
PLATE = (28.0, 108.0, 1148.0, 704.0, 26.0)
MX, MY, MR = 201.0, 232.0, 138.0          # medallion centre and radius
# The panel follows resources/config.xml: loginWebRect is where the login web
# window covers the background, and the minimise and close buttons (miniRect,
# closeRect, from y 155) land on the header band above it.
WEB = (384, 184, 1070, 621)
FRAME = (372.0, 146.0, 1082.0, 633.0)
HEADER_BOTTOM = 184.0
CREST_X = 727.0                           # centre of the panel


def ridge_far(x):
    return (512 - 30 * math.sin(x * 0.0062 + 0.8)
            - 18 * math.sin(x * 0.0171 + 2.1) - 7 * math.sin(x * 0.047 + 0.3))


def ridge_mid(x):
    return (586 - 24 * math.sin(x * 0.0083 + 2.6)
            - 13 * math.sin(x * 0.023 + 0.9) - 5 * math.sin(x * 0.061 + 1.7))


def ridge_near(x):
    return (650 - 18 * math.sin(x * 0.0101 + 4.0)
            - 9 * math.sin(x * 0.031 + 2.2) - 4 * math.sin(x * 0.077))


def star_outline():
    """Eight rays around the medallion: tips alternate with valleys well
    inside the ring, so only the slender spikes show."""
    lengths = (192, 170, 165, 170, 165, 170, 165, 170)  # up, then clockwise
    pts = []
    for i, length in enumerate(lengths):
        a = -math.pi / 2 + i * math.pi / 4
        pts.append((MX + length * math.cos(a), MY + length * math.sin(a)))
        v = a + math.pi / 8
        pts.append((MX + 60 * math.cos(v), MY + 60 * math.sin(v)))
    return pts


def crest_polys(cx, cy, half_h, half_w, bar):
    """A diamond gem on the plate's edge with two curved, tapering blades
    that sweep out along the edge."""
    gem = [(cx, cy - half_h), (cx + half_w, cy), (cx, cy + half_h),
           (cx - half_w, cy)]
    thick = half_h * 0.42
    top, bottom = [], []
    for k in range(13):
        s = k / 12.0
        x = cx - half_w + 6 - (bar + 6) * s
        top.append((x, cy - thick * (1.0 - s) ** 1.6 - 1.0 * s))
        bottom.append((x, cy + thick * 0.45 * (1.0 - s)))
    left = top + bottom[::-1][1:-1]
    right = [(2 * cx - x, y) for x, y in reversed(left)]
    return gem, left, right


TOP_CREST = crest_polys(CREST_X, PLATE[1], 30, 24, 118)
BOTTOM_CREST = crest_polys(CREST_X, PLATE[3], 17, 14, 70)


def castle_shapes():
    """A hill-top keep: towers with pointed roofs, in silhouette."""
    parts = []

    def tower(x0, x1, top, roof):
        parts.append([(x0, top), (x1, top), (x1, 690), (x0, 690)])
        mid = (x0 + x1) / 2
        parts.append([(x0 - 2, top + 0.5), (mid, top - roof), (x1 + 2, top + 0.5)])
    tower(246, 258, 560, 18)
    tower(268, 284, 536, 30)
    parts.append([(258, 566), (268, 566), (268, 690), (258, 690)])
    parts.append([(284, 556), (312, 556), (312, 690), (284, 690)])
    for k in range(4):  # battlements
        x = 285 + k * 7
        parts.append([(x, 550), (x + 4, 550), (x + 4, 557), (x, 557)])
    tower(312, 322, 548, 16)
    tower(322, 334, 570, 12)
    # a spire on the tallest tower
    parts.append([(275, 506), (277.5, 488), (280, 506)])
    # the rock it stands on
    parts.append([(290 + 84 * math.cos(a), 640 - 40 * math.sin(a))
                  for a in (k * math.pi / 16 for k in range(17))])
    return [[(x, y + CASTLE_DROP) for x, y in p] for p in parts]


CASTLE_DROP = 14
CASTLE_WINDOWS = [(x, y + CASTLE_DROP) for x, y in
                  ((276, 548), (276, 562), (252, 572), (298, 570),
                   (305, 580), (317, 560), (327, 582))]


def login_background():
    W, H = LOGIN_W, LOGIN_H
    cv = Canvas(W, H)
    R, G, B, A = cv.r, cv.g, cv.b, cv.a

    plate = sd_round_rect(*PLATE)
    star_pts = star_outline()
    # Shapes that break out of the plate, grown by the dark outline they get.
    breakouts = [(MX - MR, MY - MR, MX + MR, MY + MR, sd_circle(MX, MY, MR))]
    for p in [star_pts] + list(TOP_CREST) + list(BOTTOM_CREST):
        f = sd_polygon(p)
        breakouts.append(poly_bbox(p, 4) + ((lambda x, y, f=f: f(x, y) - OUTLINE),))
    castle = [sd_polygon(p) for p in castle_shapes()]
    castle_f = union(*castle)
    cbox = (204, 498, 376, 704)

    rf = [ridge_far(x + 0.5) for x in range(W)]
    rm = [ridge_mid(x + 0.5) for x in range(W)]
    rn = [ridge_near(x + 0.5) for x in range(W)]
    far_c, haze_far = rgb(40, 46, 96), rgb(70, 78, 140)
    mid_c, haze_mid = rgb(22, 26, 60), rgb(44, 50, 104)
    near_c, haze_near = rgb(8, 10, 26), rgb(20, 22, 50)
    castle_c = rgb(11, 13, 32)
    moon_rim = rgb(120, 150, 220)
    exp = math.exp

    dist = [0.0] * (W * H)
    for y in range(H):
        yc = y + 0.5
        active = [(int(b[0]) - 1, int(b[2]) + 2, b[4]) for b in breakouts
                  if b[1] - 2 <= yc <= b[3] + 2]
        t = clamp01((yc - 40.0) / 540.0)
        sky = lerp(rgb(6, 10, 28), rgb(48, 54, 112), t ** 1.35)
        in_castle_rows = cbox[1] <= yc <= cbox[3]
        base = y * W
        for x in range(W):
            xc = x + 0.5
            d = plate(xc, yc)
            for x0, x1, f in active:
                if x0 <= x < x1:
                    e = f(xc, yc)
                    if e < d:
                        d = e
            i = base + x
            dist[i] = d
            if d > 1.0:
                continue
            # Sky with a cold glow behind the medallion and a violet dusk
            # low on the right.
            g1 = exp(-((xc - MX) ** 2 + (yc - MY) ** 2) * (1.0 / 70000.0))
            g2 = exp(-((xc - 820.0) / 430.0) ** 2 - ((yc - 610.0) / 120.0) ** 2)
            r = sky[0] + 0.16 * g1 + 0.30 * g2
            g = sky[1] + 0.30 * g1 + 0.12 * g2
            b = sky[2] + 0.50 * g1 + 0.26 * g2
            # Three ranges of mountains, hazier with distance.
            for ridge, body, haze, depth, rim in (
                    (rf[x], far_c, haze_far, 120.0, 0.45),
                    (rm[x], mid_c, haze_mid, 90.0, 0.28),
                    (rn[x], near_c, haze_near, 70.0, 0.0)):
                if ridge is rn[x] and in_castle_rows and cbox[0] <= xc <= cbox[2]:
                    # the keep stands between the middle and the near range
                    cov = 0.5 - castle_f(xc, yc)
                    if cov > 0.0:
                        cov = min(cov, 1.0)
                        m = lerp(castle_c, haze_mid, clamp01((yc - 600.0) / 90.0) * 0.6)
                        r += (m[0] - r) * cov
                        g += (m[1] - g) * cov
                        b += (m[2] - b) * cov
                cov = yc + 0.5 - ridge
                if cov <= 0.0:
                    continue
                if cov > 1.0:
                    cov = 1.0
                below = yc - ridge
                m = lerp(body, haze, clamp01(below / depth) * 0.6)
                if rim and below < 2.5:
                    m = lerp(m, moon_rim, rim * (1.0 - clamp01(below / 2.5)))
                r += (m[0] - r) * cov
                g += (m[1] - g) * cov
                b += (m[2] - b) * cov
            # Vignette: darker towards the silhouette and the far corners.
            v = 1.0 - 0.6 * exp(d / 42.0) if d < 0.0 else 0.4
            v *= 1.0 - 0.3 * (((xc - 640.0) / 640.0) ** 2 + ((yc - 400.0) / 420.0) ** 2)
            R[i], G[i], B[i], A[i] = r * v, g * v, b * v, 1.0

    draw_rim(cv, plate)
    draw_stars(cv)
    draw_castle_lights(cv)
    draw_panel(cv)
    draw_medallion(cv, star_pts)
    draw_title(cv)
    draw_crest(cv, TOP_CREST, 1.0)
    draw_crest(cv, BOTTOM_CREST, 0.6)
    draw_side_ornament(cv)
    cut(cv, dist)
    return cv


def draw_stars(cv):
    rng = Lcg(0x5eed)
    fx0, fy0, fx1, fy1 = FRAME
    for _ in range(520):
        x = rng.uniform(36, 1140)
        y = rng.uniform(96, 560)
        size = 0.25 + 1.1 * rng() ** 3
        bright = 0.25 + 0.75 * rng()
        warm = rng()
        if y > ridge_far(x) - 3 or (fx0 - 4 < x < fx1 + 4 and fy0 - 4 < y < fy1 + 4):
            continue
        tint = lerp(rgb(190, 215, 255), rgb(255, 236, 200), warm)
        cv.glow(sd_circle(x, y, size * 0.5), (x - 5, y - 5, x + 5, y + 5),
                tint, bright, 0.6 + size * 0.6)
    # A few bright stars with cross flares.
    for x, y, s in ((520, 150, 9), (1110, 170, 7), (930, 128, 6), (120, 470, 6),
                    (610, 92, 5), (1050, 664, 5), (360, 130, 6)):
        if y > ridge_far(x) - 3:
            continue
        flare = union(sd_segment(x - s, y, x + s, y, 0.35),
                      sd_segment(x, y - s, x, y + s, 0.35))
        cv.glow(flare, (x - s - 6, y - s - 6, x + s + 6, y + s + 6),
                rgb(200, 225, 255), 0.5, 1.6)
        cv.glow(sd_circle(x, y, 0.9), (x - 12, y - 12, x + 12, y + 12),
                rgb(220, 235, 255), 0.9, 2.8)


def draw_castle_lights(cv):
    for x, y in CASTLE_WINDOWS:
        cv.glow(sd_round_rect(x - 1, y - 1.6, x + 1, y + 1.6, 0.6),
                (x - 8, y - 8, x + 8, y + 8), rgb(255, 196, 100), 0.9, 1.6)


def draw_panel(cv):
    fx0, fy0, fx1, fy1 = FRAME
    frame = sd_round_rect(fx0, fy0, fx1, fy1, 10)
    pad = 40
    # An arcane glow around the panel.
    cv.glow(frame, (fx0 - pad, fy0 - pad, fx1 + pad, fy1 + pad),
            rgb(70, 150, 255), 0.35, 13.0)
    # Frame body: dark blued steel.
    cv.fill(frame, (fx0, fy0, fx1, fy1),
            lambda x, y: lerp(rgb(40, 50, 82), rgb(14, 18, 34), (y - fy0) / (fy1 - fy0)))
    # Gold border with a bevel.
    border = subtract(frame, sd_round_rect(fx0 + 4, fy0 + 4, fx1 - 4, fy1 - 4, 7))

    def sheen(x, y):
        return 0.55 + 0.2 * math.sin(x * 0.011 + y * 0.02) - 0.25 * (y - fy0) / (fy1 - fy0)
    cv.fill(border, (fx0, fy0, fx1, fy1), bevel(frame, 4.0, sheen))
    cv.fill(subtract(sd_round_rect(fx0 + 4, fy0 + 4, fx1 - 4, fy1 - 4, 7),
                     sd_round_rect(fx0 + 5, fy0 + 5, fx1 - 5, fy1 - 5, 6)),
            (fx0, fy0, fx1, fy1), INK, 0.8)
    # Header band where the minimise and close buttons sit.
    hx0, hy0, hx1, hy1 = fx0 + 5, fy0 + 5, fx1 - 5, HEADER_BOTTOM
    cv.fill(sd_round_rect(hx0, hy0, hx1, hy1 + 6, 6), (hx0, hy0, hx1, hy1),
            lambda x, y: lerp(NAVY_TOP, NAVY_BOTTOM, (y - hy0) / (hy1 - hy0)))
    cv.fill(sd_round_rect(hx0 + 2, hy0 + 0.5, hx1 - 2, hy0 + 1.5, 0.5),
            (hx0, hy0, hx1, hy0 + 3), WHITE, 0.18)
    # Ornament on the header's left: a gem and a rule fading to the right.
    gy = (hy0 + hy1) / 2
    gem = [(400, gy - 8), (408, gy), (400, gy + 8), (392, gy)]
    cv.fill(sd_polygon(gem), poly_bbox(gem), bevel(sd_polygon(gem), 3.0, lambda x, y: 0.6))
    inner = [(400, gy - 4), (404, gy), (400, gy + 4), (396, gy)]
    cv.fill(sd_polygon(inner), poly_bbox(inner), rgb(120, 210, 255))
    cv.fill(sd_segment(414, gy, 760, gy, 0.6), (410, gy - 3, 764, gy + 3),
            lambda x, y: lerp(gold(0.8), gold(0.2), (x - 414) / 346.0),
            alpha=1.0)
    for k, x in enumerate((430, 446, 462)):
        cv.fill(sd_circle(x, gy, 1.6 - k * 0.3), (x - 3, gy - 3, x + 3, gy + 3), gold(0.85))
    # Gold rule between header and page.
    cv.fill(sd_round_rect(hx0, hy1 - 2.5, hx1, hy1, 0.5), (hx0, hy1 - 4, hx1, hy1),
            lambda x, y: gold(0.75 - 0.25 * abs(x - CREST_X) / 350.0))
    # The page area: deep blue with a soft centre, under the web window.
    wx0, wy0, wx1, wy1 = WEB
    cx, cy = (wx0 + wx1) / 2, (wy0 + wy1) / 2

    def page(x, y):
        q = ((x - cx) / 420.0) ** 2 + ((y - cy) / 300.0) ** 2
        c = lerp(rgb(26, 40, 78), rgb(7, 10, 22), clamp01(q))
        # faint diamond lattice
        u = (x + y) % 28.0
        v = (x - y) % 28.0
        if u < 1.0 or v < 1.0:
            c = lerp(c, rgb(90, 130, 210), 0.06)
        return c
    cv.fill(sd_round_rect(wx0, wy0, wx1, wy1, 0.01), (wx0, wy0, wx1, wy1), page)
    # Small studs at the frame corners.
    for x, y in ((fx0 + 2, fy0 + 2), (fx1 - 2, fy0 + 2), (fx0 + 2, fy1 - 2), (fx1 - 2, fy1 - 2)):
        stud = sd_circle(x, y, 5.5)
        cv.fill(stud, (x - 7, y - 7, x + 7, y + 7), INK)
        cv.fill(sd_circle(x, y, 4.5), (x - 7, y - 7, x + 7, y + 7),
                bevel(sd_circle(x, y, 4.5), 3.0, lambda a, b: 0.6))


def light_of(p, q, centre, light=(-0.55, -0.83)):
    """How much an edge p-q faces the light, seen from outside centre."""
    nx, ny = q[1] - p[1], p[0] - q[0]
    n = math.hypot(nx, ny) or 1.0
    nx, ny = nx / n, ny / n
    mx, my = (p[0] + q[0]) / 2 - centre[0], (p[1] + q[1]) / 2 - centre[1]
    if nx * mx + ny * my < 0:
        nx, ny = -nx, -ny
    return nx * light[0] + ny * light[1]


def shadow(cv, sdf, bbox, dx, dy, strength=0.6, radius=5.0):
    x0, y0, x1, y1 = bbox
    cv.glow(translate(sdf, dx, dy), (x0 + dx - 3 * radius, y0 + dy - 3 * radius,
                                     x1 + dx + 3 * radius, y1 + dy + 3 * radius),
            (0.0, 0.0, 0.0), strength, radius, add=False)


# The icon's "Z" blade (64-unit design grid), reused on the medallion.
Z_BLADE = [(16, 14), (49, 14), (49, 22), (28, 42), (49, 42), (49, 50),
           (15, 50), (15, 42), (36, 22), (16, 22)]


def draw_medallion(cv, star_pts):
    centre = (MX, MY)
    star = sd_polygon(star_pts)
    sbox = poly_bbox(star_pts)
    shadow(cv, star, sbox, 4, 6, 0.55, 6.0)
    cv.glow(sd_circle(MX, MY, MR), (MX - MR - 60, MY - MR - 60, MX + MR + 60, MY + MR + 60),
            rgb(80, 170, 255), 0.25, 18.0)
    cv.fill(lambda x, y: star(x, y) - OUTLINE, sbox, INK)
    n = len(star_pts)
    for i in range(0, n, 2):
        tip, prev, nxt = star_pts[i], star_pts[i - 1], star_pts[(i + 1) % n]
        reach = math.hypot(tip[0] - MX, tip[1] - MY)
        for a, b in ((prev, tip), (tip, nxt)):
            half = [centre, a, b]
            lit = light_of(a, b, centre)
            base = 0.5 + 0.38 * lit

            def colour(x, y, base=base, reach=reach):
                r = math.hypot(x - MX, y - MY)
                return gold(base + 0.25 * (r - MR) / (reach - MR))
            cv.fill(sd_polygon(half), poly_bbox(half), colour)
        cv.fill(sd_segment(MX + (tip[0] - MX) * 0.7, MY + (tip[1] - MY) * 0.7,
                           tip[0], tip[1], 0.45),
                poly_bbox([tip, centre]), gold(1.0), 0.55)
    # Ring: a bevelled gold band, a dark channel, a thin inner line.
    shadow(cv, sd_circle(MX, MY, MR), (MX - MR, MY - MR, MX + MR, MY + MR), 3, 5, 0.7, 5.0)
    box = (MX - MR - 2, MY - MR - 2, MX + MR + 2, MY + MR + 2)
    cv.fill(sd_circle(MX, MY, MR), box, INK)
    band = subtract(sd_circle(MX, MY, MR - 1.6), sd_circle(MX, MY, 121))

    def conic(x, y):
        a = math.atan2(y - MY, x - MX)
        return 0.58 + 0.18 * math.cos(2 * (a + 2.2)) + 0.08 * math.cos(7 * a)
    cv.fill(band, box, bevel(band, 3.5, conic))
    for k in range(24):
        a = k * math.pi / 12 + math.pi / 24
        rx, ry = MX + 128.5 * math.cos(a), MY + 128.5 * math.sin(a)
        if k % 2:
            cv.fill(sd_circle(rx, ry, 1.8), (rx - 3, ry - 3, rx + 3, ry + 3), INK, 0.75)
        else:
            ca, sa = math.cos(a), math.sin(a)
            notch = [(rx + 4.5 * ca, ry + 4.5 * sa), (rx - 2.2 * sa, ry + 2.2 * ca),
                     (rx - 4.5 * ca, ry - 4.5 * sa), (rx + 2.2 * sa, ry - 2.2 * ca)]
            cv.fill(sd_polygon(notch), poly_bbox(notch), INK, 0.8)
    inner = (MX - 122, MY - 122, MX + 122, MY + 122)
    cv.fill(sd_circle(MX, MY, 120.5), inner, rgb(6, 10, 22))
    cv.fill(sd_ring(MX, MY, 116, 1.5), inner, lambda x, y: gold(0.7 + 0.25 * conic(x, y) - 0.15))
    # Disc: a sapphire glow brightest towards the upper left.
    def disc(x, y):
        q = math.hypot(x - (MX - 34), y - (MY - 42)) / 150.0
        return lerp(rgb(86, 160, 240), rgb(10, 26, 76), clamp01(q))
    cv.fill(sd_circle(MX, MY, 112), inner, disc)
    cv.fill(sd_ring(MX, MY, 101, 0.6), inner, rgb(130, 200, 255), 0.35)
    cv.fill(sd_ring(MX, MY, 95, 0.5), inner, rgb(130, 200, 255), 0.2)
    for k in range(12):
        a = k * math.pi / 6
        ca, sa = math.cos(a), math.sin(a)
        cv.fill(sd_segment(MX + 95 * ca, MY + 95 * sa, MX + 101 * ca, MY + 101 * sa, 0.6),
                inner, rgb(150, 215, 255), 0.45)
    # A light wedge across the glass.
    sweep = sd_polygon([(MX - 112, MY - 20), (MX + 20, MY - 112), (MX + 70, MY - 112),
                        (MX - 112, MY + 40)])
    cv.fill(lambda x, y: max(sweep(x, y), math.hypot(x - MX, y - MY) - 110), inner,
            WHITE, 0.06)
    # The "Z" blade.
    s = 3.0
    z = [(MX + (px - 32.0) * s, MY + (py - 32.0) * s) for px, py in Z_BLADE]
    zf = sd_polygon(z)
    zbox = poly_bbox(z, 4)
    shadow(cv, zf, zbox, 5, 7, 0.75, 4.0)
    cv.fill(lambda x, y: zf(x, y) - 2.0, zbox, INK)
    top, bottom = z[0][1], z[6][1]
    cv.fill(zf, zbox, bevel(zf, 6.0, lambda x, y: 0.86 - 0.42 * (y - top) / (bottom - top)
                             + 0.08 * math.sin((x + y) * 0.05)))
    sparkle(cv, z[0][0] + 6, z[0][1] + 3, 12, 0.9)


def sparkle(cv, x, y, size, strength):
    star = union(sd_polygon([(x - size, y), (x, y - 1.4), (x + size, y), (x, y + 1.4)]),
                 sd_polygon([(x, y - size), (x + 1.4, y), (x, y + size), (x - 1.4, y)]))
    box = (x - size - 8, y - size - 8, x + size + 8, y + size + 8)
    cv.glow(star, box, rgb(255, 248, 220), strength, 1.2)
    cv.glow(sd_circle(x, y, 1.5), box, rgb(255, 250, 230), strength * 0.8, 4.0)


# Block capitals on a 32 x 50 grid (I is 8 wide), strokes 8 units thick.
def _rect(x0, y0, x1, y1):
    return [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]


LETTERS = {
    'Z': (32, [_rect(0, 0, 32, 8), [(23, 8), (32, 8), (9, 42), (0, 42)],
               _rect(0, 42, 32, 50)]),
    'E': (29, [_rect(0, 0, 8, 50), _rect(0, 0, 29, 8), _rect(0, 21, 24, 29),
               _rect(0, 42, 29, 50)]),
    'N': (32, [_rect(0, 0, 8, 50), _rect(24, 0, 32, 50),
               [(0, 0), (9, 0), (32, 50), (23, 50)]]),
    'T': (32, [_rect(0, 0, 32, 8), _rect(12, 0, 20, 50)]),
    'A': (34, [[(13, 0), (21, 0), (9, 50), (0, 50)], [(13, 0), (21, 0), (34, 50), (25, 50)],
               _rect(7, 31, 27, 38)]),
    'R': (32, [_rect(0, 0, 8, 50),
               [(0, 0), (25, 0), (32, 7), (32, 22), (25, 29), (0, 29), (0, 21), (21, 21),
                (24, 18), (24, 11), (21, 8), (0, 8)],
               [(13, 27), (22, 27), (32, 50), (23, 50)]]),
    'I': (8, [_rect(0, 0, 8, 50)]),
}


def text_shapes(text, left, top, scale, gap):
    """One signed distance function and box per letter, laid out in a row."""
    out = []
    x = left
    for ch in text:
        width, polys = LETTERS[ch]
        pts = [[(x + px * scale, top + py * scale) for px, py in p] for p in polys]
        f = union(*[sd_polygon(p) for p in pts])
        out.append((f, (x, top, x + width * scale, top + 50 * scale)))
        x += (width + gap) * scale
    return out


def text_width(text, scale, gap):
    return (sum(LETTERS[ch][0] for ch in text) + gap * (len(text) - 1)) * scale


def draw_title(cv):
    text, scale, gap = 'ZENTARI', 1.0, 10
    top = 428.0
    left = MX - text_width(text, scale, gap) / 2
    letters = text_shapes(text, left, top, scale, gap)
    height = 50 * scale
    for f, (x0, y0, x1, y1) in letters:
        cv.glow(f, (x0 - 14, y0 - 14, x1 + 14, y1 + 14), rgb(90, 170, 255), 0.16, 7.0)
    for f, box in letters:
        shadow(cv, f, box, 3, 4, 0.8, 3.0)
    for f, (x0, y0, x1, y1) in letters:
        cv.fill(lambda x, y, f=f: f(x, y) - 2.2, (x0 - 3, y0 - 3, x1 + 3, y1 + 3), INK)
    for f, box in letters:
        cv.fill(f, box, bevel(f, 2.6, lambda x, y: 0.92 - 0.55 * (y - top) / height
                              + (0.22 if abs(y - top - height * 0.5) < 1.0 else 0.0)))
    # A rule under the name: tapered gold lines around a small gem.
    y = top + height + 22
    half = text_width(text, scale, gap) / 2 + 6
    for sign in (-1, 1):
        blade = [(MX + sign * 10, y - 1.8), (MX + sign * half, y), (MX + sign * 10, y + 1.8)]
        cv.fill(sd_polygon(blade), poly_bbox(blade),
                lambda x, yy: gold(0.85 - 0.5 * abs(x - MX) / half))
    gem = [(MX, y - 7), (MX + 7, y), (MX, y + 7), (MX - 7, y)]
    g = sd_polygon(gem)
    cv.fill(lambda x, yy: g(x, yy) - 1.2, poly_bbox(gem, 3), INK)
    cv.fill(g, poly_bbox(gem), bevel(g, 3.0, lambda x, yy: 0.6))
    sparkle(cv, left + 4, top + 2, 9, 0.7)


def draw_gem(cv, pts, light=True):
    """Faceted sapphire: four facets lit from the upper left."""
    cx = sum(p[0] for p in pts) / 4
    cy = sum(p[1] for p in pts) / 4
    shades = (rgb(170, 230, 255), rgb(60, 140, 230), rgb(16, 46, 120), rgb(40, 96, 190))
    for k in range(4):
        tri = [(cx, cy), pts[k - 1], pts[k]]
        cv.fill(sd_polygon(tri), poly_bbox(tri), shades[k])
    if light:
        hx, hy = (pts[0][0] * 2 + pts[3][0]) / 3, (pts[0][1] * 2 + pts[3][1]) / 3
        cv.glow(sd_circle(hx, hy, 0.8), (hx - 8, hy - 8, hx + 8, hy + 8), WHITE, 0.8, 1.8)


def draw_crest(cv, polys, size):
    gem, left, right = polys
    for p in (left, right):
        f = sd_polygon(p)
        shadow(cv, f, poly_bbox(p), 2, 3, 0.6, 3.0)
        cv.fill(lambda x, y, f=f: f(x, y) - OUTLINE, poly_bbox(p, 4), INK)
        cv.fill(f, poly_bbox(p), bevel(f, 2.5, lambda x, y: 0.62))
    g = sd_polygon(gem)
    shadow(cv, g, poly_bbox(gem), 2, 4, 0.7, 4.0)
    cv.fill(lambda x, y: g(x, y) - OUTLINE, poly_bbox(gem, 4), INK)
    cv.fill(g, poly_bbox(gem), bevel(g, 5.0 * size, lambda x, y: 0.62))
    cx = gem[0][0]
    cy = (gem[0][1] + gem[2][1]) / 2
    inset = 6.0 * size
    hh = (gem[2][1] - gem[0][1]) / 2 - inset
    hw = (gem[1][0] - gem[3][0]) / 2 - inset * 0.8
    stone = [(cx, cy - hh), (cx + hw, cy), (cx, cy + hh), (cx - hw, cy)]
    s = sd_polygon(stone)
    cv.fill(lambda x, y: s(x, y) - 1.0, poly_bbox(stone, 3), INK, 0.9)
    draw_gem(cv, stone)
    cv.glow(s, poly_bbox(stone, 16), rgb(80, 170, 255), 0.18, 6.0)


def draw_side_ornament(cv):
    x = 1115.0
    y0, y1 = 196.0, 590.0
    cv.fill(sd_segment(x, y0, x, y1, 0.7), (x - 3, y0 - 3, x + 3, y1 + 3),
            lambda xx, y: gold(0.75 - 0.5 * abs(y - (y0 + y1) / 2) / ((y1 - y0) / 2)))
    for y in (y0, y1):
        cv.fill(sd_circle(x, y, 2.2), (x - 4, y - 4, x + 4, y + 4), gold(0.6))
    for y, h in ((300, 11), (393, 16), (486, 11)):
        gem = [(x, y - h), (x + h * 0.62, y), (x, y + h), (x - h * 0.62, y)]
        g = sd_polygon(gem)
        cv.fill(lambda xx, yy: g(xx, yy) - 1.3, poly_bbox(gem, 3), INK)
        cv.fill(g, poly_bbox(gem), bevel(g, 2.5, lambda xx, yy: 0.62))
        inset = h * 0.45
        stone = [(x, y - h + inset), (x + (h - inset) * 0.62, y), (x, y + h - inset),
                 (x - (h - inset) * 0.62, y)]
        draw_gem(cv, stone, light=h > 12)


def draw_rim(cv, plate):
    """Bevelled gold rim along the plate's edge, under everything that breaks
    out of it."""
    W = cv.w
    R, G, B = cv.r, cv.g, cv.b
    ink = INK
    lx, ly = -0.55, -0.83
    x0, y0, x1, y1, _ = PLATE
    for y in range(int(y0), int(math.ceil(y1))):
        yc = y + 0.5
        edge_rows = yc < y0 + 40 or yc > y1 - 40
        base = y * W
        for x in range(int(x0), int(math.ceil(x1))):
            xc = x + 0.5
            if not edge_rows and x0 + 13 < xc < x1 - 13:
                continue
            t = -plate(xc, yc)
            if t < -0.5 or t >= 12.5:
                continue
            i = base + x
            r, g, b = R[i], G[i], B[i]
            # a second, fine line well inside the rim
            k = min(clamp01(t - 9.2), clamp01(10.4 - t)) * 0.5
            if k > 0.0:
                c = gold(0.7)
                r += (c[0] - r) * k
                g += (c[1] - g) * k
                b += (c[2] - b) * k
            k = min(clamp01(t - 1.2), clamp01(5.9 - t))
            if k > 0.0:
                nx = plate(xc + 0.5, yc) - plate(xc - 0.5, yc)
                ny = plate(xc, yc + 0.5) - plate(xc, yc - 0.5)
                n = math.hypot(nx, ny) or 1.0
                lit = (nx * lx + ny * ly) / n
                across = (t - 1.2) / 4.0          # 0 outer .. 1 inner edge
                v = (0.6 + 0.32 * lit * (1.0 - across) - 0.18 * across
                     + 0.06 * math.sin(xc * 0.02 + yc * 0.013))
                c = gold(v)
                r += (c[0] - r) * k
                g += (c[1] - g) * k
                b += (c[2] - b) * k
            k = max(clamp01(1.7 - t), min(clamp01(t - 5.4), clamp01(6.9 - t)))
            if k > 0.0:
                r += (ink[0] - r) * k
                g += (ink[1] - g) * k
                b += (ink[2] - b) * k
            R[i], G[i], B[i] = r, g, b


def cut(cv, dist):
    """Apply the silhouette: anti-aliased alpha on its edge, the magenta
    colour key everywhere outside it."""
    R, G, B, A = cv.r, cv.g, cv.b, cv.a
    for i, d in enumerate(dist):
        if d >= 0.5:
            R[i], G[i], B[i], A[i] = 1.0, 0.0, 1.0, 1.0
        elif d > -0.5:
            cov = 0.5 - d
            R[i] *= cov
            G[i] *= cov
            B[i] *= cov
            A[i] = cov
        else:
            A[i] = 1.0


# ---------------------------------------------------------------------------
# Login window buttons: gold-rimmed gems on the panel's header band.

def login_button(width, height, glyph, state, danger):
    cv = Canvas(width, height, 4)
    cx = width / 2.0
    x0, y0, x1, y1 = cx - 12, 2.5, cx + 12, 26.5
    body = sd_round_rect(x0, y0, x1, y1, 6)
    box = (0, 0, width, height)
    if state == 'h':
        glow_c = rgb(255, 120, 70) if danger else rgb(90, 190, 255)
        cv.glow(body, box, glow_c, 0.5, 2.0, add=False)
    shadow(cv, body, (x0, y0, x1, y1), 0, 1.5, 0.6, 1.5)
    cv.fill(lambda x, y: body(x, y) - 0.8, box, INK)
    if state == 'n':
        top, bottom = rgb(40, 60, 112), rgb(12, 20, 46)
    elif state == 'h':
        top, bottom = ((rgb(226, 80, 60), rgb(110, 18, 16)) if danger
                       else (rgb(74, 124, 210), rgb(20, 44, 100)))
    else:
        top, bottom = ((rgb(70, 12, 10), rgb(150, 40, 30)) if danger
                       else (rgb(8, 14, 32), rgb(30, 48, 92)))
    cv.fill(body, box, lambda x, y: lerp(top, bottom, (y - y0) / (y1 - y0)))
    rim = subtract(body, sd_round_rect(x0 + 1.6, y0 + 1.6, x1 - 1.6, y1 - 1.6, 4.5))
    rim_v = {'n': 0.62, 'h': 0.8, 'p': 0.45}[state]
    cv.fill(rim, box, bevel(body, 1.6, lambda x, y: rim_v))
    # glass highlight on the upper half
    if state != 'p':
        cv.fill(sd_round_rect(x0 + 3, y0 + 2.5, x1 - 3, (y0 + y1) / 2, 3.5), box, WHITE,
                0.16 if state == 'h' else 0.1)
    dy = 1.0 if state == 'p' else 0.0
    g = translate(glyph(cx, (y0 + y1) / 2), 0, dy)
    ink = {'n': PALE, 'h': WHITE, 'p': rgb(200, 180, 130)}[state]
    cv.fill(translate(g, 0, 1.0), box, INK, 0.6)
    cv.fill(g, box, ink)
    return cv


def glyph_minimise(cx, cy):
    return sd_round_rect(cx - 5.5, cy + 2.5, cx + 5.5, cy + 5.0, 0.8)


def glyph_close(cx, cy):
    r = 4.6
    return union(sd_segment(cx - r, cy - r, cx + r, cy + r, 1.3),
                 sd_segment(cx + r, cy - r, cx - r, cy + r, 1.3))


# ---------------------------------------------------------------------------
# Play window: title bar buttons (three 27 x 27 cells) and the nine-grid.

CELL = 27


def glyph_headset(cx, cy):
    band = sd_arc(cx, cy + 1.0, 7.0, 0.95, math.pi, 2 * math.pi)
    cups = union(sd_round_rect(cx - 9.3, cy - 0.2, cx - 5.0, cy + 7.2, 1.8),
                 sd_round_rect(cx + 5.0, cy - 0.2, cx + 9.3, cy + 7.2, 1.8))
    boom = sd_arc(cx + 1.0, cy + 3.4, 6.0, 0.75, math.radians(40), math.radians(100))
    mic = sd_round_rect(cx - 2.8, cy + 8.2, cx + 0.9, cy + 10.6, 1.2)
    return union(band, cups, boom, mic)


def glyph_refresh(cx, cy):
    r = 5.8
    a0, a1 = math.radians(300), math.radians(225)
    arc = sd_arc(cx, cy, r, 1.1, a0, a1)
    ex, ey = cx + r * math.cos(a1), cy + r * math.sin(a1)
    tx, ty = -math.sin(a1), math.cos(a1)          # clockwise tangent
    rx, ry = math.cos(a1), math.sin(a1)           # radial
    head = [(ex + tx * 4.2, ey + ty * 4.2), (ex + rx * 3.4 - tx * 0.6, ey + ry * 3.4 - ty * 0.6),
            (ex - rx * 3.4 - tx * 0.6, ey - ry * 3.4 - ty * 0.6)]
    return union(arc, sd_polygon(head))


def glyph_dash(cx, cy):
    return sd_round_rect(cx - 5.5, cy + 2.2, cx + 5.5, cy + 4.4, 0.7)


def glyph_window(cx, cy):
    outer = sd_round_rect(cx - 5.5, cy - 5.0, cx + 5.5, cy + 5.0, 1.0)
    inner = sd_round_rect(cx - 4.1, cy - 2.4, cx + 4.1, cy + 3.6, 0.3)
    return subtract(outer, inner)


def glyph_cross(cx, cy):
    r = 4.6
    return union(sd_segment(cx - r, cy - r, cx + r, cy + r, 1.1),
                 sd_segment(cx + r, cy - r, cx - r, cy + r, 1.1))


def title_button_strip(glyph, danger=False):
    cv = Canvas(CELL * 3, CELL, 4)
    for k, state in enumerate('nhp'):
        ox = CELL * k
        cx, cy = ox + CELL / 2.0, CELL / 2.0
        box = (ox, 0, ox + CELL, CELL)
        face = sd_round_rect(ox + 1.5, 1.5, ox + CELL - 1.5, CELL - 1.5, 4)
        if state == 'h':
            if danger:
                cv.fill(face, box, lambda x, y: lerp(rgb(232, 84, 62), rgb(150, 26, 20), y / CELL))
            else:
                cv.fill(face, box, lambda x, y: lerp(rgb(150, 190, 255), rgb(90, 130, 220),
                                                     y / CELL), 0.24)
                cv.fill(subtract(face, translate(face, 0, 1)), box, WHITE, 0.25)
            cv.fill(subtract(face, sd_round_rect(ox + 2.5, 2.5, ox + CELL - 2.5, CELL - 2.5, 3)),
                    box, gold(0.8), 0.55)
        elif state == 'p':
            cv.fill(face, box, (0.0, 0.0, 0.0), 0.32)
            cv.fill(subtract(face, sd_round_rect(ox + 2.5, 2.5, ox + CELL - 2.5, CELL - 2.5, 3)),
                    box, gold(0.55), 0.45)
        dy = 1.0 if state == 'p' else 0.0
        g = translate(glyph(cx, cy), 0, dy)
        colour = {'n': PALE, 'h': WHITE, 'p': rgb(214, 194, 140)}[state]
        cv.fill(translate(g, 0.0, 1.0), box, (0.0, 0.0, 0.0), 0.55)
        cv.fill(g, box, colour)
    return cv


PLAY_BG_W, PLAY_BG_H = 120, 64
TITLE_BAND = 32


def play_background():
    """Nine-grid source: the title band in the top 32 rows, a two-pixel gold
    edged frame elsewhere (the page covers the rest), rounded corners keyed
    out in magenta. Everything in the stretched middle columns varies
    smoothly across x so that stretching it stays clean."""
    W, H = PLAY_BG_W, PLAY_BG_H
    cv = Canvas(W, H)
    outer = sd_round_rect(0, 0, W, H, 3.0)
    box = (0, 0, W, H)
    cv.fill(outer, box, INK)
    inner = sd_round_rect(1, 1, W - 1, H - 1, 2.0)
    cv.fill(inner, box, lambda x, y: gold(0.55 if y > TITLE_BAND else 0.5))
    cv.fill(sd_round_rect(2, TITLE_BAND, W - 2, H - 2, 0.01), box, rgb(8, 12, 24))

    def band(x, y):
        c = lerp(NAVY_TOP, NAVY_BOTTOM, clamp01((y - 1) / (TITLE_BAND - 4)))
        g = math.exp(-((x - W / 2) / (W * 0.32)) ** 2)
        return lerp(c, rgb(70, 110, 190), 0.22 * g * (1 - y / TITLE_BAND))
    cv.fill(sd_round_rect(1, 1, W - 1, TITLE_BAND - 2, 2.0), box, band)
    cv.fill(sd_round_rect(2, 1, W - 2, 2, 0.01), box, WHITE, 0.1)
    for k, a in ((3, 0.05), (2, 0.1), (1, 0.16)):   # light rising off the gold rule
        y = TITLE_BAND - 2 - k
        cv.fill(sd_round_rect(1, y, W - 1, y + 1, 0.01), box, rgb(90, 150, 240), a)
    cv.fill(sd_round_rect(1, TITLE_BAND - 2, W - 1, TITLE_BAND - 1, 0.01), box,
            lambda x, y: gold(0.78))
    cv.fill(sd_round_rect(1, TITLE_BAND - 1, W - 1, TITLE_BAND, 0.01), box, INK)
    d = [outer(x + 0.5, y + 0.5) for y in range(H) for x in range(W)]
    cut(cv, d)
    return cv


# ---------------------------------------------------------------------------

def save(cv, folder, name, dithered=False):
    rows = cv.pixels(dithered)
    write_png(os.path.join(folder, name), cv.width, cv.height, rows)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = (sys.argv[1] if len(sys.argv) > 1
              else os.path.join(here, os.pardir, 'resources', 'skin'))
    os.makedirs(folder, exist_ok=True)
    save(login_background(), folder, 'loginBg.png', dithered=True)
    for state in 'nhp':
        save(login_button(32, 31, glyph_minimise, state, False), folder,
             'minimize_%s.png' % state)
        save(login_button(31, 31, glyph_close, state, True), folder,
             'close_%s.png' % state)
    save(play_background(), folder, 'PlayGameBg.png')
    for name, glyph in (('kefubtn.png', glyph_headset), ('refreshbtn.png', glyph_refresh),
                        ('minibtn.png', glyph_dash), ('maxbtn.png', glyph_window)):
        save(title_button_strip(glyph), folder, name)
    save(title_button_strip(glyph_cross, danger=True), folder, 'closebtn.png')


if __name__ == '__main__':
    main()
