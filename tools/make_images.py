#!/usr/bin/python3
"""Draws Kestro's own pictures: the skin images of the picture buttons, the logo animation, the
recorder and video-window buttons, the fallback ad banners and the program's icons and cursor.

    make_images.py OUTDIR             write every .bmp, .ico and .cur file into OUTDIR
    make_images.py --preview OUT.png  write a contact sheet of all pictures
    make_images.py --sources DIR      rewrite skin.rc and skin_ids.h into DIR (src/resources)
    make_images.py --sample-ad OUT.bmp  an advertiser's 468 x 60 banner, for the screenshots

Standard library only. Everything is drawn by a small anti-aliased rasterizer: shapes are given
as signed distance functions, rendered into coverage masks and composited in floating point.
"""

import math
import os
import struct
import sys
import zlib

# The button-face colour the toolbar images are blended against at their anti-aliased edges.
# The skin loader puts the icons on COLOR_BTNFACE through their masks, so only edge pixels
# carry this guess; it sits between the usual light themes (240 and 245).
FACE = (245, 245, 245)
# The stock grey brush of the address panel's label column and the recorder display.
PANEL_GREY = (128, 128, 128)


# ---------------------------------------------------------------------------------------------
# Colours
# ---------------------------------------------------------------------------------------------


def rgb(spec, alpha=1.0):
    """'#rrggbb' or an (r, g, b) triple of 0..255 -> straight (r, g, b, a) floats."""
    if isinstance(spec, str):
        spec = spec.lstrip("#")
        spec = tuple(int(spec[i : i + 2], 16) for i in (0, 2, 4))
    return (spec[0] / 255.0, spec[1] / 255.0, spec[2] / 255.0, alpha)


def mix(c1, c2, t):
    return tuple(a + (b - a) * t for a, b in zip(c1, c2))


def greyed(c, lighten=0.45):
    """The disabled look of a colour: its luminance, pulled towards white."""
    lum = 0.3 * c[0] + 0.59 * c[1] + 0.11 * c[2]
    v = lum + (1.0 - lum) * lighten
    return (v, v, v, c[3])


def linear(x0, y0, x1, y1, stops):
    """Linear gradient paint; stops are (t, colour) pairs with t rising from 0 to 1."""
    dx, dy = x1 - x0, y1 - y0
    ll = dx * dx + dy * dy or 1.0

    def paint(x, y):
        t = ((x - x0) * dx + (y - y0) * dy) / ll
        return _stop_colour(stops, t)

    return paint


def radial(cx, cy, r, stops):
    def paint(x, y):
        return _stop_colour(stops, math.hypot(x - cx, y - cy) / r)

    return paint


def _stop_colour(stops, t):
    if t <= stops[0][0]:
        return stops[0][1]
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            return mix(c0, c1, (t - t0) / ((t1 - t0) or 1.0))
    return stops[-1][1]


# ---------------------------------------------------------------------------------------------
# Coverage masks
# ---------------------------------------------------------------------------------------------


def _clamp01(v):
    return 0.0 if v < 0.0 else (1.0 if v > 1.0 else v)


class Mask:
    """Per-pixel coverage 0..1. Shapes are added as a union (the larger coverage wins).

    Coverage of a pixel is 0.5 minus the signed distance of its centre to the shape's edge,
    clamped: exact for straight edges, good enough for curves a few pixels across."""

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.v = [0.0] * (w * h)
        self.box = None  # touched area (x0, y0, x1, y1), end exclusive

    def _span(self, x0, y0, x1, y1):
        ix0 = max(0, int(math.floor(x0)) - 1)
        iy0 = max(0, int(math.floor(y0)) - 1)
        ix1 = min(self.w, int(math.ceil(x1)) + 1)
        iy1 = min(self.h, int(math.ceil(y1)) + 1)
        if ix0 >= ix1 or iy0 >= iy1:
            return None
        if self.box is None:
            self.box = (ix0, iy0, ix1, iy1)
        else:
            b = self.box
            self.box = (min(b[0], ix0), min(b[1], iy0), max(b[2], ix1), max(b[3], iy1))
        return ix0, iy0, ix1, iy1

    def sdf(self, bbox, fn):
        """Adds the shape whose signed distance (negative inside) fn(x, y) gives."""
        span = self._span(*bbox)
        if not span:
            return self
        ix0, iy0, ix1, iy1 = span
        v, w = self.v, self.w
        for py in range(iy0, iy1):
            cy = py + 0.5
            row = py * w
            for px in range(ix0, ix1):
                c = 0.5 - fn(px + 0.5, cy)
                if c > 0.0:
                    if c > 1.0:
                        c = 1.0
                    if c > v[row + px]:
                        v[row + px] = c
        return self

    def capsule(self, ax, ay, bx, by, width):
        """A straight stroke with round ends."""
        r = width / 2.0
        span = self._span(min(ax, bx) - r, min(ay, by) - r, max(ax, bx) + r, max(ay, by) + r)
        if not span:
            return self
        ix0, iy0, ix1, iy1 = span
        dx, dy = bx - ax, by - ay
        ll = dx * dx + dy * dy
        v, w = self.v, self.w
        for py in range(iy0, iy1):
            cy = py + 0.5 - ay
            row = py * w
            for px in range(ix0, ix1):
                cx = px + 0.5 - ax
                if ll > 0.0:
                    t = (cx * dx + cy * dy) / ll
                    t = 0.0 if t < 0.0 else (1.0 if t > 1.0 else t)
                    ex, ey = cx - t * dx, cy - t * dy
                else:
                    ex, ey = cx, cy
                c = 0.5 + r - math.sqrt(ex * ex + ey * ey)
                if c > 0.0:
                    if c > 1.0:
                        c = 1.0
                    if c > v[row + px]:
                        v[row + px] = c
        return self

    def polyline(self, pts, width, closed=False):
        if len(pts) == 1:
            return self.capsule(pts[0][0], pts[0][1], pts[0][0], pts[0][1], width)
        seq = list(pts) + ([pts[0]] if closed else [])
        for (ax, ay), (bx, by) in zip(seq, seq[1:]):
            self.capsule(ax, ay, bx, by, width)
        return self

    def circle(self, cx, cy, r):
        return self.sdf((cx - r, cy - r, cx + r, cy + r), lambda x, y: math.hypot(x - cx, y - cy) - r)

    def ellipse(self, cx, cy, rx, ry):
        def fn(x, y):
            nx, ny = (x - cx) / rx, (y - cy) / ry
            k = math.hypot(nx, ny)
            if k == 0.0:
                return -min(rx, ry)
            g = math.hypot(nx / rx, ny / ry) / k
            return (k - 1.0) / g

        return self.sdf((cx - rx, cy - ry, cx + rx, cy + ry), fn)

    def rrect(self, x0, y0, x1, y1, r):
        """Rectangle with corners rounded by r (edges at the given coordinates)."""
        cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
        hx, hy = (x1 - x0) / 2.0 - r, (y1 - y0) / 2.0 - r

        def fn(x, y):
            qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
            out = math.hypot(max(qx, 0.0), max(qy, 0.0))
            return out + min(max(qx, qy), 0.0) - r

        return self.sdf((x0, y0, x1, y1), fn)

    def polygon(self, pts, grow=0.0):
        """Filled polygon (even-odd), optionally grown by `grow` with rounded corners."""
        n = len(pts)
        edges = [(pts[i], pts[(i + 1) % n]) for i in range(n)]

        def fn(x, y):
            best = 1e9
            inside = False
            for (ax, ay), (bx, by) in edges:
                dx, dy = bx - ax, by - ay
                ll = dx * dx + dy * dy
                t = ((x - ax) * dx + (y - ay) * dy) / ll if ll else 0.0
                t = 0.0 if t < 0.0 else (1.0 if t > 1.0 else t)
                d = math.hypot(x - ax - t * dx, y - ay - t * dy)
                if d < best:
                    best = d
                if (ay > y) != (by > y) and x < ax + (y - ay) * dx / dy:
                    inside = not inside
            return (-best if inside else best) - grow

        xs = [p[0] for p in pts]
        ys = [p[1] for p in pts]
        return self.sdf((min(xs) - grow, min(ys) - grow, max(xs) + grow, max(ys) + grow), fn)

    def arc(self, cx, cy, r, a0, a1, width, ry=None):
        """Stroke along an arc; angles in degrees, clockwise on screen (y down)."""
        return self.polyline(arc_points(cx, cy, r, ry or r, a0, a1), width)

    def clip(self, other):
        """Keeps only what the other mask covers."""
        v, o = self.v, other.v
        for i in range(len(v)):
            if v[i] > o[i]:
                v[i] = o[i]
        return self

    def blurred(self, radius, passes=2):
        """A box-blurred copy (for soft shadows and glows)."""
        out = Mask(self.w, self.h)
        out.v = list(self.v)
        out.box = (0, 0, self.w, self.h)
        r = int(radius)
        if r < 1:
            return out
        w, h = self.w, self.h
        for _ in range(passes):
            for horizontal in (True, False):
                src = out.v
                dst = [0.0] * (w * h)
                n, m = (w, h) if horizontal else (h, w)
                for j in range(m):
                    line = [src[j * w + i] if horizontal else src[i * w + j] for i in range(n)]
                    acc = [0.0]
                    for val in line:
                        acc.append(acc[-1] + val)
                    for i in range(n):
                        lo, hi = max(0, i - r), min(n, i + r + 1)
                        val = (acc[hi] - acc[lo]) / (2 * r + 1)
                        if horizontal:
                            dst[j * w + i] = val
                        else:
                            dst[i * w + j] = val
                out.v = dst
        return out


def arc_points(cx, cy, rx, ry, a0, a1, step=6.0):
    n = max(2, int(abs(a1 - a0) / step) + 1)
    pts = []
    for i in range(n + 1):
        a = math.radians(a0 + (a1 - a0) * i / n)
        pts.append((cx + rx * math.cos(a), cy + ry * math.sin(a)))
    return pts


# ---------------------------------------------------------------------------------------------
# Canvas
# ---------------------------------------------------------------------------------------------


class Canvas:
    """Premultiplied RGBA in floats."""

    def __init__(self, w, h, bg=None):
        self.w, self.h = w, h
        n = w * h
        if bg is None:
            self.r, self.g, self.b, self.a = [0.0] * n, [0.0] * n, [0.0] * n, [0.0] * n
        else:
            c = rgb(bg) if not (isinstance(bg, tuple) and len(bg) == 4) else bg
            self.r, self.g, self.b = [c[0] * c[3]] * n, [c[1] * c[3]] * n, [c[2] * c[3]] * n
            self.a = [c[3]] * n

    def mask(self):
        return Mask(self.w, self.h)

    def fill(self, mask, paint, opacity=1.0):
        if mask.box is None:
            return self
        x0, y0, x1, y1 = mask.box
        const = not callable(paint)
        if const:
            pr, pg, pb, pa = paint
            pa *= opacity
        R, G, B, A, mv, w = self.r, self.g, self.b, self.a, mask.v, self.w
        for y in range(y0, y1):
            row = y * w
            for x in range(x0, x1):
                i = row + x
                c = mv[i]
                if c <= 0.0:
                    continue
                if not const:
                    pr, pg, pb, pa = paint(x + 0.5, y + 0.5)
                    pa *= opacity
                sa = pa * c
                ia = 1.0 - sa
                R[i] = pr * sa + R[i] * ia
                G[i] = pg * sa + G[i] * ia
                B[i] = pb * sa + B[i] * ia
                A[i] = sa + A[i] * ia
        return self

    # Convenience: build a mask with one shape and fill it.
    def draw(self, paint, build, opacity=1.0):
        m = self.mask()
        build(m)
        return self.fill(m, paint, opacity)

    def shadow(self, build, blur=2, dy=1.0, opacity=0.3, colour=(0, 0, 0)):
        m = self.mask()
        build(m)
        if dy:
            shifted = Mask(self.w, self.h)
            off = int(round(dy))
            for y in range(self.h - off):
                shifted.v[(y + off) * self.w : (y + off + 1) * self.w] = m.v[y * self.w : (y + 1) * self.w]
            m = shifted
        self.fill(m.blurred(blur), rgb(colour), opacity)

    def over(self, bg):
        """Flattens onto an opaque colour; returns a new opaque canvas."""
        c = rgb(bg)
        out = Canvas(self.w, self.h)
        for i in range(self.w * self.h):
            ia = 1.0 - self.a[i]
            out.r[i] = self.r[i] + c[0] * ia
            out.g[i] = self.g[i] + c[1] * ia
            out.b[i] = self.b[i] + c[2] * ia
            out.a[i] = 1.0
        return out

    def blit(self, src, ox, oy):
        """Draws another canvas over this one at (ox, oy)."""
        for y in range(src.h):
            ty = y + oy
            if not 0 <= ty < self.h:
                continue
            for x in range(src.w):
                tx = x + ox
                if not 0 <= tx < self.w:
                    continue
                j = y * src.w + x
                sa = src.a[j]
                if sa <= 0.0:
                    continue
                i = ty * self.w + tx
                ia = 1.0 - sa
                self.r[i] = src.r[j] + self.r[i] * ia
                self.g[i] = src.g[j] + self.g[i] * ia
                self.b[i] = src.b[j] + self.b[i] * ia
                self.a[i] = sa + self.a[i] * ia
        return self

    def pixels(self):
        """Straight (non-premultiplied) 8-bit RGBA tuples, top row first."""
        out = []
        for i in range(self.w * self.h):
            a = self.a[i]
            if a <= 0.0:
                out.append((0, 0, 0, 0))
                continue
            out.append(
                (
                    _byte(self.r[i] / a),
                    _byte(self.g[i] / a),
                    _byte(self.b[i] / a),
                    _byte(a),
                )
            )
        return out


def _byte(v):
    v = int(v * 255.0 + 0.5)
    return 0 if v < 0 else (255 if v > 255 else v)


# ---------------------------------------------------------------------------------------------
# Stroke font
# ---------------------------------------------------------------------------------------------
# Glyph skeletons on a grid with y up: baseline 0, x-height 7, cap height 10, descender -3.
# A glyph is (width, zone, paths). A path is a space-separated list of points "x,y" and arcs
# "a(cx,cy,rx,ry,from,to)" (degrees, counter-clockwise positive); a single point is a dot.
# Zone "L" glyphs are hinted on the x-height, "U" glyphs on the cap height.

O7 = "a(3.5,3.5,3.5,3.5,0,360)"
O65 = "a(3.25,3.5,3.25,3.5,0,360)"

GLYPHS = {
    "A": (8, "U", ["0,0 4,10 8,0", "1.5,3.4 6.5,3.4"]),
    "B": (7, "U", ["0,5 4,5 a(4,7.5,2.5,2.5,-90,90) 0,10 0,0 4.3,0 a(4.3,2.5,2.7,2.5,-90,90) 4.3,5"]),
    "C": (8.6, "U", ["a(5,5,5,5,42,318)"]),
    "D": (8, "U", ["0,0 0,10 3,10 a(3,5,5,5,90,-90) 0,0"]),
    "E": (6.4, "U", ["6.4,10 0,10 0,0 6.4,0", "0,5 5.6,5"]),
    "F": (6, "U", ["6,10 0,10 0,0", "0,5 5.2,5"]),
    "G": (9.4, "U", ["a(5,5,5,5,42,360) 5.6,5"]),
    "H": (8, "U", ["0,0 0,10", "8,0 8,10", "0,5 8,5"]),
    "I": (0, "U", ["0,0 0,10"]),
    "J": (5.6, "U", ["5.6,10 5.6,3 a(2.8,3,2.8,3,0,-180)"]),
    "K": (7.2, "U", ["0,0 0,10", "7,10 0,3.4", "2.6,5.9 7.2,0"]),
    "L": (6, "U", ["0,10 0,0 6,0"]),
    "M": (10, "U", ["0,0 0,10 5,1.6 10,10 10,0"]),
    "N": (8, "U", ["0,0 0,10 8,0 8,10"]),
    "O": (10, "U", ["a(5,5,5,5,0,360)"]),
    "P": (7, "U", ["0,0 0,10 4,10 a(4,7.25,2.75,2.75,90,-90) 0,4.5"]),
    "Q": (10, "U", ["a(5,5,5,5,0,360)", "6.6,2.6 10,-0.6"]),
    "R": (7, "U", ["0,0 0,10 4,10 a(4,7.25,2.75,2.75,90,-90) 0,4.5", "3.6,4.5 7,0"]),
    "S": (7, "U", ["a(3.5,7.5,3.2,2.5,25,270) a(3.5,2.5,3.5,2.5,90,-150)"]),
    "T": (8, "U", ["0,10 8,10", "4,10 4,0"]),
    "U": (8, "U", ["0,10 0,4 a(4,4,4,4,180,360) 8,10"]),
    "V": (8, "U", ["0,10 4,0 8,10"]),
    "W": (11, "U", ["0,10 2.75,0 5.5,8 8.25,0 11,10"]),
    "X": (7.6, "U", ["0,10 7.6,0", "0,0 7.6,10"]),
    "Y": (8, "U", ["0,10 4,5 8,10", "4,5 4,0"]),
    "Z": (7, "U", ["0,10 7,10 0,0 7,0"]),
    "a": (6.5, "L", [O65, "6.5,7 6.5,0"]),
    "b": (6.5, "L", ["0,10 0,0", O65]),
    "c": (6, "L", ["a(3.5,3.5,3.5,3.5,45,315)"]),
    "d": (6.5, "L", [O65, "6.5,10 6.5,0"]),
    "e": (6.8, "L", ["0,3.5 6.8,3.5 a(3.4,3.5,3.4,3.5,0,318)"]),
    "f": (4.4, "L", ["1.5,0 1.5,7.8 a(4,7.8,2.5,2.2,180,75)", "0,7 4.2,7"]),
    "g": (6.5, "L", [O65, "6.5,7 6.5,-0.8 a(3.25,-0.8,3.25,2.2,0,-165)"]),
    "h": (6, "L", ["0,10 0,0", "0,3.8 a(3,3.8,3,3.2,180,0) 6,0"]),
    "i": (0, "L", ["0,0 0,7", "0,9.4"]),
    "j": (2.6, "L", ["2.6,7 2.6,-1.2 a(0.8,-1.2,1.8,1.8,0,-150)", "2.6,9.4"]),
    "k": (5.6, "L", ["0,10 0,0", "5.6,7 0,2.4", "1.9,4 5.6,0"]),
    "l": (0, "L", ["0,10 0,0"]),
    "m": (9.6, "L", ["0,7 0,0", "0,4.4 a(2.4,4.4,2.4,2.6,180,0) 4.8,0", "4.8,4.4 a(7.2,4.4,2.4,2.6,180,0) 9.6,0"]),
    "n": (6, "L", ["0,7 0,0", "0,3.8 a(3,3.8,3,3.2,180,0) 6,0"]),
    "o": (7, "L", [O7]),
    "p": (6.5, "L", ["0,7 0,-3", O65]),
    "q": (6.5, "L", [O65, "6.5,7 6.5,-3"]),
    "r": (4, "L", ["0,7 0,0", "0,3.6 a(3.6,3.6,3.6,3.4,180,80)"]),
    "s": (5.6, "L", ["a(2.8,5.25,2.5,1.75,30,270) a(2.8,1.75,2.8,1.75,90,-150)"]),
    "t": (4, "L", ["1.4,9.2 1.4,1.6 a(3.4,1.6,2,1.6,180,270) 4,0", "0,7 4,7"]),
    "u": (6, "L", ["0,7 0,3.2 a(3,3.2,3,3.2,180,360)", "6,7 6,0"]),
    "v": (6.4, "L", ["0,7 3.2,0 6.4,7"]),
    "w": (9.6, "L", ["0,7 2.4,0 4.8,6 7.2,0 9.6,7"]),
    "x": (6, "L", ["0,7 6,0", "0,0 6,7"]),
    "y": (6.4, "L", ["0,7 3.3,0", "6.4,7 2,-3"]),
    "z": (5.6, "L", ["0,7 5.6,7 0,0 5.6,0"]),
    "0": (7, "U", ["a(3.5,5,3.5,5,0,360)"]),
    "1": (4, "U", ["0.4,8 3,10 3,0"]),
    "2": (6.6, "U", ["a(3.3,6.9,3.1,3.1,160,-35) 0,0 6.6,0"]),
    "3": (6.6, "U", ["0.4,10 6,10 3.1,6 a(3.3,3,3.3,3,90,-150)"]),
    "4": (7, "U", ["5.2,0 5.2,10 0,3 7,3"]),
    "5": (6.6, "U", ["6,10 1.2,10 0.8,5.5 a(3.3,3.2,3.3,3.2,135,-150)"]),
    "6": (6.6, "U", ["a(3.3,3.3,3.3,3.3,0,360)", "5.6,10 0.4,4.4"]),
    "7": (6.6, "U", ["0,10 6.6,10 2,0"]),
    "8": (6.6, "U", ["a(3.3,7.6,2.8,2.4,0,360)", "a(3.3,2.7,3.3,2.7,0,360)"]),
    "9": (6.6, "U", ["a(3.3,6.7,3.3,3.3,0,360)", "6.2,5.6 1,0"]),
    ":": (0, "L", ["0,0.2", "0,6.2"]),
    ".": (0, "L", ["0,0.2"]),
    ",": (1, "L", ["1,0.6 0,-2"]),
    "!": (0, "U", ["0,10 0,3.4", "0,0.2"]),
    "?": (5.6, "U", ["a(2.8,7.5,2.8,2.5,165,-70) 2.8,3.6", "2.8,0.2"]),
    "-": (3.6, "L", ["0,3.6 3.6,3.6"]),
    "'": (0, "U", ["0,10 0,7.4"]),
    "/": (5, "U", ["0,-1 5,11"]),
    ">": (4.4, "L", ["0,7.4 4.4,3.6 0,-0.2"]),
    "+": (6, "L", ["0,3.6 6,3.6", "3,0.6 3,6.6"]),
    "(": (1.5, "U", ["a(6.4,4.5,6.4,7.5,140,220)"]),
    ")": (1.5, "U", ["a(-4.9,4.5,6.4,7.5,40,-40)"]),
}
KERNING = {"To": -1.2, "Ta": -1.0, "Te": -1.0, "Yo": -1.0, "Vi": -0.4, "Fo": -0.6}


def _parse_path(spec):
    pts = []
    for tok in spec.split():
        if tok.startswith("a("):
            cx, cy, rx, ry, a0, a1 = (float(v) for v in tok[2:-1].split(","))
            n = max(3, int(abs(a1 - a0) / 8.0) + 1)
            for i in range(n + 1):
                a = math.radians(a0 + (a1 - a0) * i / n)
                pts.append((cx + rx * math.cos(a), cy + ry * math.sin(a)))
        else:
            x, y = tok.split(",")
            pts.append((float(x), float(y)))
    return pts


_PARSED = {ch: (w, zone, [_parse_path(p) for p in paths]) for ch, (w, zone, paths) in GLYPHS.items()}


class Font:
    """A size of the stroke font: cap height in pixels and stroke width in pixels."""

    def __init__(self, cap, weight, italic=0.0, xh=None):
        self.s = cap / 10.0
        self.sw = weight
        self.italic = italic
        # Hinting: the outer edges of baseline, x-height and cap strokes fall on pixel edges.
        self.cap = max(1.0, round(cap + weight) - weight)
        x_height = xh if xh is not None else 7.0 * self.s
        self.xh = max(1.0, round(x_height + weight) - weight)
        self.gap = max(1, int(round(1.35 * self.s + 0.3 * weight)))
        self.space = max(2, int(round(3.4 * self.s + 0.3 * weight)))

    def _ymap(self, y, zone):
        if y <= 0.0:
            return y * self.s
        if zone == "L":
            if y <= 7.0:
                return y / 7.0 * self.xh
            return self.xh + (y - 7.0) / 3.0 * (self.cap - self.xh)
        return y / 10.0 * self.cap

    def _ink_width(self, w):
        """Whole-pixel width of a glyph's ink (skeleton plus stroke)."""
        return max(1, int(round(w * self.s + self.sw)))

    def advance(self, ch, nxt=None):
        if ch == " ":
            return self.space
        if ch not in _PARSED:
            ch = "?"
        adv = self._ink_width(_PARSED[ch][0]) + self.gap
        if nxt is not None and ch + nxt in KERNING:
            adv += int(round(KERNING[ch + nxt] * self.s))
        return adv

    def measure(self, text):
        total = 0
        for i, ch in enumerate(text):
            total += self.advance(ch, text[i + 1] if i + 1 < len(text) else None)
        return total - self.gap if text else 0

    def draw(self, mask, text, x, baseline):
        """Adds the text's strokes to the mask; x is the left ink edge, baseline the bottom
        ink edge of the letters (both pixel edges)."""
        pen = float(int(round(x)))
        base = float(int(round(baseline))) - self.sw / 2.0
        sw = self.sw
        for i, ch in enumerate(text):
            nxt = text[i + 1] if i + 1 < len(text) else None
            if ch != " ":
                key = ch if ch in _PARSED else "?"
                w, zone, paths = _PARSED[key]
                sx = max(0.0, self._ink_width(w) - sw) / w if w > 0 else 0.0
                left = pen + sw / 2.0
                for path in paths:
                    pts = []
                    for gx, gy in path:
                        py = base - self._ymap(gy, zone)
                        px = left + gx * sx + (base - py) * self.italic
                        pts.append((px, py))
                    if len(pts) == 1:
                        mask.capsule(pts[0][0], pts[0][1], pts[0][0], pts[0][1], sw * 1.2)
                    else:
                        mask.polyline(pts, sw)
            pen += self.advance(ch, nxt)
        return mask


def text(cv, font, s, x, baseline, paint, align="left", opacity=1.0):
    if align == "center":
        x = x - font.measure(s) / 2.0
    elif align == "right":
        x = x - font.measure(s)
    m = cv.mask()
    font.draw(m, s, x, baseline)
    cv.fill(m, paint, opacity)
    return m


# ---------------------------------------------------------------------------------------------
# File formats
# ---------------------------------------------------------------------------------------------


def _dib_rows_bgr(w, h, px):
    """24-bit rows, bottom row first, each padded to a multiple of 4 bytes."""
    pad = b"\0" * ((4 - (w * 3) % 4) % 4)
    out = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b = px[y * w + x][:3]
            out += bytes((b, g, r))
        out += pad
    return bytes(out)


def _dib_rows_bgra(w, h, px):
    out = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b, a = px[y * w + x]
            out += bytes((b, g, r, a))
    return bytes(out)


def _and_mask(w, h, opaque):
    """1-bit rows, bottom row first, padded to 4 bytes; a set bit is a transparent pixel."""
    stride = ((w + 31) // 32) * 4
    out = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            if not opaque[y * w + x]:
                row[x >> 3] |= 0x80 >> (x & 7)
        out += row
    return bytes(out)


def _info_header(w, h, bits, image_size, xppm=0):
    return struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, 0, image_size, xppm, xppm, 0, 0)


def bmp_bytes(w, h, px):
    """A 24-bit bottom-up BMP file of opaque pixels."""
    data = _dib_rows_bgr(w, h, px)
    info = _info_header(w, h, 24, len(data), 2835)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    return head + info + data


def icon_image(w, h, px, alpha):
    """One icon image (header, colour rows, AND mask). With alpha the colour is 32-bit BGRA;
    without, the picture is 24-bit and the mask alone decides what is transparent (transparent
    pixels are black in the colour rows so that AND-then-XOR drawing leaves the screen as is)."""
    if alpha:
        opaque = [p[3] > 0 for p in px]
        colour = _dib_rows_bgra(w, h, px)
        bits = 32
    else:
        opaque = [p[3] > 0 for p in px]
        colour = _dib_rows_bgr(w, h, [p if p[3] > 0 else (0, 0, 0, 0) for p in px])
        bits = 24
    mask = _and_mask(w, h, opaque)
    return _info_header(w, 2 * h, bits, len(colour) + len(mask)) + colour + mask, bits


def ico_bytes(images, cursor_hotspot=None):
    """An .ico (or, with a hotspot, a .cur) file of (w, h, pixels, alpha) images."""
    kind = 2 if cursor_hotspot else 1
    head = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    entries, blobs = b"", b""
    for w, h, px, alpha in images:
        blob, bits = icon_image(w, h, px, alpha)
        if cursor_hotspot:
            f1, f2 = cursor_hotspot
        else:
            f1, f2 = 1, bits
        entries += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, f1, f2, len(blob), offset)
        offset += len(blob)
        blobs += blob
    return head + entries + blobs


def png_bytes(w, h, px):
    """An 8-bit RGB PNG of opaque pixels."""

    def chunk(tag, data):
        c = struct.pack(">I", len(data)) + tag + data
        return c + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)

    raw = bytearray()
    for y in range(h):
        raw.append(0)
        for x in range(w):
            raw += bytes(px[y * w + x][:3])
    return (
        b"\x89PNG\r\n\x1a\n"
        + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0))
        + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
        + chunk(b"IEND", b"")
    )


# ---------------------------------------------------------------------------------------------
# Palette and pictograms
# ---------------------------------------------------------------------------------------------

INK = rgb("#2b3340")
SLATE_HI = rgb("#6a7a92")
SLATE = rgb("#4a586d")
SLATE_LO = rgb("#354152")
BLUE_HI = rgb("#5c9cf8")
BLUE = rgb("#2f7bea")
BLUE_LO = rgb("#1b56c2")
RED_HI = rgb("#f4736a")
RED = rgb("#e0443a")
RED_LO = rgb("#c02e25")
GREEN_HI = rgb("#5fdc8f")
GREEN_LO = rgb("#178a48")
WHITE = rgb("#ffffff")

HOVER_FILL, HOVER_EDGE = rgb("#e6f0fd"), rgb("#a7c7f2")
PRESS_FILL, PRESS_EDGE = rgb("#cadef9"), rgb("#78a6e8")


class Box:
    """Maps a pictogram's 24-unit design box to pixels: scale s, origin (ox, oy)."""

    def __init__(self, ox, oy, s, disabled=False):
        self.ox, self.oy, self.s, self.disabled = ox, oy, s, disabled

    def p(self, x, y):
        return (self.ox + x * self.s, self.oy + y * self.s)

    def pts(self, seq):
        return [self.p(x, y) for x, y in seq]

    def c(self, colour):
        return greyed(colour) if self.disabled else colour

    def v(self, d):
        return d * self.s

    def grad(self, y0, y1, top, bottom):
        return linear(0, self.oy + y0 * self.s, 0, self.oy + y1 * self.s, [(0, self.c(top)), (1, self.c(bottom))])


def rotate(pts, cx, cy, deg):
    a = math.radians(deg)
    ca, sa = math.cos(a), math.sin(a)
    return [(cx + (x - cx) * ca - (y - cy) * sa, cy + (x - cx) * sa + (y - cy) * ca) for x, y in pts]


PLANE_UPPER = [(21.6, 2.6), (1.8, 10.4), (10.2, 13.6)]
PLANE_LOWER = [(21.6, 2.6), (10.2, 13.6), (13.8, 21.6)]
PLANE_TAIL = [(10.2, 13.6), (10.9, 19.2), (13.1, 16.4)]


def picto_plane(cv, bx, light=None, shade=None, offset=(0.0, 0.0), clip=None):
    """Paper plane flying to the upper right."""
    dx, dy = offset

    def moved(seq):
        return bx.pts([(x + dx, y + dy) for x, y in seq])

    light = light or bx.grad(2, 14, BLUE_HI, BLUE)
    shade = shade or bx.c(BLUE_LO)
    for poly, paint in ((PLANE_TAIL, shade), (PLANE_LOWER, shade), (PLANE_UPPER, light)):
        m = cv.mask().polygon(moved(poly), grow=bx.v(0.25))
        if clip is not None:
            m.clip(clip)
        cv.fill(m, paint)


def picto_clip(cv, bx, colour=None):
    """Paper clip, leaning to the right."""
    path = [(6, 7), (6, 16)]
    path += arc_points(4, 16, 2, 2, 0, 180)
    path += [(2, 5)]
    path += arc_points(6, 5, 4, 4, 180, 360)
    path += [(10, 18)]
    path = [(x + 6, y + 1.5) for x, y in path]
    path = rotate(path, 12, 12, 40)
    paint = colour or bx.grad(3, 21, SLATE_HI, SLATE_LO)
    cv.draw(paint, lambda m: m.polyline(bx.pts(path), bx.v(2.1)))


def picto_mic(cv, bx, body=None, stand=None):
    """Microphone on a stand."""
    body = body or bx.grad(1.5, 15, SLATE_HI, SLATE_LO)
    stand = stand or bx.c(SLATE)
    x0, y0 = bx.p(8.2, 1.6)
    x1, y1 = bx.p(15.8, 15)
    cv.draw(body, lambda m: m.rrect(x0, y0, x1, y1, bx.v(3.8)))
    # grille slots
    for gy in (5.6, 8.2, 10.8):
        a, b = bx.p(10.4, gy), bx.p(13.6, gy)
        cv.draw(bx.c(rgb("#9fb3d1")), lambda m: m.capsule(a[0], a[1], b[0], b[1], bx.v(1.1)))
    cx, cy = bx.p(12, 10.4)
    cv.draw(stand, lambda m: m.arc(cx, cy, bx.v(6.4), 0, 180, bx.v(1.9)))
    a, b = bx.p(12, 17.2), bx.p(12, 20.6)
    cv.draw(stand, lambda m: m.capsule(a[0], a[1], b[0], b[1], bx.v(1.9)))
    a, b = bx.p(8, 21.2), bx.p(16, 21.2)
    cv.draw(stand, lambda m: m.capsule(a[0], a[1], b[0], b[1], bx.v(1.9)))


def picto_camcorder(cv, bx, body=None, light=True):
    """Video camera seen from the side, with its recording light."""
    body = body or bx.grad(6, 18.5, SLATE_HI, SLATE_LO)
    x0, y0 = bx.p(1.5, 6)
    x1, y1 = bx.p(15.6, 18.4)
    cv.draw(body, lambda m: m.rrect(x0, y0, x1, y1, bx.v(2.6)))
    lens = bx.pts([(16.6, 10.6), (22.6, 6.8), (22.6, 17.6), (16.6, 13.8)])
    cv.draw(body, lambda m: m.polygon(lens, grow=bx.v(0.5)))
    # highlight along the top of the body
    a, b = bx.p(4.5, 8.2), bx.p(12.6, 8.2)
    cv.draw(WHITE, lambda m: m.capsule(a[0], a[1], b[0], b[1], bx.v(1.0)), 0.25)
    if light:
        cx, cy = bx.p(5.2, 12.4)
        cv.draw(bx.c(RED), lambda m: m.circle(cx, cy, bx.v(1.7)))


def picto_cancel(cv, bx, face=None, mark=WHITE):
    """Stop sign: a round red disc with a white cross."""
    cx, cy = bx.p(12, 12)
    face = face or bx.grad(2, 22, RED_HI, RED_LO)
    cv.draw(face, lambda m: m.circle(cx, cy, bx.v(9.8)))
    k = 3.9
    for (ax, ay), (bx2, by2) in (((-k, -k), (k, k)), ((-k, k), (k, -k))):
        a, b = bx.p(12 + ax, 12 + ay), bx.p(12 + bx2, 12 + by2)
        cv.draw(mark, lambda m: m.capsule(a[0], a[1], b[0], b[1], bx.v(2.5)))


def picto_photo(cv, bx, body=None):
    """Still camera."""
    body = body or bx.grad(5, 20, SLATE_HI, SLATE_LO)
    x0, y0 = bx.p(2, 7)
    x1, y1 = bx.p(22, 20)
    hump = bx.pts([(7.5, 7.5), (9.2, 4.2), (14.8, 4.2), (16.5, 7.5)])

    def shape(m):
        m.rrect(x0, y0, x1, y1, bx.v(2.8))
        m.polygon(hump, grow=bx.v(0.8))

    cv.draw(body, shape)
    cx, cy = bx.p(12, 13.4)
    cv.draw(bx.c(rgb("#dfe7f2")), lambda m: m.circle(cx, cy, bx.v(4.6)))
    cv.draw(bx.grad(9, 18, BLUE_HI, BLUE_LO), lambda m: m.circle(cx, cy, bx.v(3.2)))
    hx, hy = bx.p(10.9, 12.2)
    cv.draw(WHITE, lambda m: m.circle(hx, hy, bx.v(1.0)), 0.8)
    fx, fy = bx.p(18.6, 9.6)
    cv.draw(bx.c(rgb("#ffd45a")), lambda m: m.circle(fx, fy, bx.v(1.1)))


def picto_speaker(cv, bx, colour):
    body = bx.pts([(3, 9), (7.5, 9), (13, 4), (13, 20), (7.5, 15), (3, 15)])
    cv.draw(colour, lambda m: m.polygon(body, grow=bx.v(0.6)))


def picto_envelope(cv, bx):
    x0, y0 = bx.p(2, 5)
    x1, y1 = bx.p(22, 19)
    edge = max(1.0, bx.v(0.8))
    line = bx.c(rgb("#8a9ab2"))
    cv.draw(line, lambda m: m.rrect(x0 - edge, y0 - edge, x1 + edge, y1 + edge, bx.v(1.9) + edge))
    cv.draw(linear(0, y0, 0, y1, [(0, WHITE), (1, rgb("#e9eef6"))]), lambda m: m.rrect(x0, y0, x1, y1, bx.v(1.9)))
    flap = bx.pts([(3, 6.2), (12, 13), (21, 6.2)])
    cv.draw(line, lambda m: m.polyline(flap, max(1.0, bx.v(1.3))))


# ---------------------------------------------------------------------------------------------
# Buttons
# ---------------------------------------------------------------------------------------------

TOOLBAR_W, TOOLBAR_H = 55, 40
LABEL_FONT = Font(7.6, 1.15)


def toolbar_button(label, picto, state, hover_fill=HOVER_FILL, hover_edge=HOVER_EDGE,
                   press_fill=PRESS_FILL, press_edge=PRESS_EDGE):
    """A 55 x 40 toolbar face: pictogram over its label. States: normal, hover, pressed,
    disabled."""
    cv = Canvas(TOOLBAR_W, TOOLBAR_H)
    down = 1 if state == "pressed" else 0
    if state in ("hover", "pressed"):
        fill, edge = (hover_fill, hover_edge) if state == "hover" else (press_fill, press_edge)
        cv.draw(edge, lambda m: m.rrect(1, 1, TOOLBAR_W - 1, TOOLBAR_H - 1, 6))
        cv.draw(fill, lambda m: m.rrect(2, 2, TOOLBAR_W - 2, TOOLBAR_H - 2, 5))
        if state == "hover":
            cv.draw(WHITE, lambda m: m.rrect(2, 2, TOOLBAR_W - 2, 14, 5), 0.35)
    bx = Box(TOOLBAR_W / 2.0 - 12.0, 2.0 + down, 1.0, disabled=(state == "disabled"))
    picto(cv, bx)
    ink = greyed(INK, 0.5) if state == "disabled" else INK
    text(cv, LABEL_FONT, label, TOOLBAR_W / 2.0 + 0.5, 36 + down, ink, align="center")
    return cv


def format_button(letter, on):
    """25 x 25 bold / italic / underline toggle."""
    cv = Canvas(25, 25)
    if on:
        cv.draw(PRESS_EDGE, lambda m: m.rrect(1, 1, 24, 24, 4))
        cv.draw(PRESS_FILL, lambda m: m.rrect(2, 2, 23, 23, 3))
    ink = rgb("#1a4fa8") if on else INK
    if letter == "B":
        f = Font(12, 2.6)
        text(cv, f, "B", 12.5, 18, ink, align="center")
    elif letter == "I":
        m = cv.mask()
        x = 12.0 - 1.3
        m.capsule(x + 0.4, 18.2, x + 3.0, 6.2, 1.8)
        m.capsule(x - 2.6, 18.2, x + 2.2, 18.2, 1.5)
        m.capsule(x + 0.6, 6.2, x + 5.4, 6.2, 1.5)
        cv.fill(m, ink)
    else:
        f = Font(11, 1.8)
        text(cv, f, "U", 12.5, 16, ink, align="center")
        cv.draw(ink, lambda m: m.capsule(7.5, 19.5, 17.5, 19.5, 1.4))
    return cv


def pill_button(w, h, state, content):
    """The small light buttons of the video window (normal, pressed, hover, disabled)."""
    cv = Canvas(w, h)
    edge, fill_top, fill_bottom = rgb("#b9c3d1"), rgb("#ffffff"), rgb("#eef1f5")
    if state == "hover":
        edge, fill_top, fill_bottom = rgb("#7fa9e6"), rgb("#f2f7fe"), rgb("#dce9fb")
    elif state == "pressed":
        edge, fill_top, fill_bottom = rgb("#5e92de"), rgb("#c4dbf8"), rgb("#d6e6fb")
    elif state == "disabled":
        edge, fill_top, fill_bottom = rgb("#d3d7dd"), rgb("#f7f7f7"), rgb("#f0f0f0")
    cv.shadow(lambda m: m.rrect(1, 1, w - 1, h - 1, 5), blur=1, dy=1, opacity=0.12)
    cv.draw(edge, lambda m: m.rrect(0.5, 0.5, w - 0.5, h - 1.0, 5))
    cv.draw(linear(0, 1.5, 0, h - 2, [(0, fill_top), (1, fill_bottom)]), lambda m: m.rrect(1.5, 1.5, w - 1.5, h - 2.0, 4))
    content(cv, 1 if state == "pressed" else 0, state == "disabled")
    return cv


def text_pill(label, state, w=50, h=20):
    f = Font(7.4, 1.15)

    def content(cv, down, disabled):
        ink = greyed(INK, 0.5) if disabled else (rgb("#16438f") if state in ("hover", "pressed") else INK)
        text(cv, f, label, w / 2.0 + 0.5, 13.5 + down, ink, align="center")

    return pill_button(w, h, state, content)


def glyph_pill(kind, state, w=38, h=25):
    def content(cv, down, disabled):
        cx, cy = w / 2.0, (h - 1) / 2.0 + down
        if kind == "picture":
            picto_photo(cv, Box(cx - 9.0, cy - 9.4, 18.0 / 24.0, disabled))
        elif kind == "record":
            col = greyed(RED) if disabled else RED
            cv.draw(radial(cx - 1.5, cy - 2, 8, [(0, RED_HI), (1, col)]), lambda m: m.circle(cx, cy, 5.8))
        else:
            cv.draw(linear(0, cy - 5, 0, cy + 5, [(0, SLATE_HI), (1, SLATE_LO)]), lambda m: m.rrect(cx - 5, cy - 5, cx + 5, cy + 5, 1.6))

    return pill_button(w, h, state, content)


def deck_key(kind, lit):
    """Opaque 37 x 25 transport key of the voice recorder (it sits on the grey display)."""
    w, h = 37, 25
    cv = Canvas(w, h, PANEL_GREY)
    cv.draw(rgb("#1d2026"), lambda m: m.rrect(0.5, 0.5, w - 0.5, h - 0.5, 4))
    top, bottom = rgb("#555b66"), rgb("#343841")
    if lit and kind == "stop":
        top, bottom = rgb("#2c3037"), rgb("#3a3e47")
    cv.draw(linear(0, 1.5, 0, h - 1.5, [(0, top), (1, bottom)]), lambda m: m.rrect(1.5, 1.5, w - 1.5, h - 1.5, 3))
    if not (lit and kind == "stop"):
        cv.draw(WHITE, lambda m: m.capsule(4.5, 2.4, w - 4.5, 2.4, 0.9), 0.22)
    cx, cy = w / 2.0, h / 2.0 + (1 if lit and kind == "stop" else 0)
    if kind == "record":
        if lit:
            glow = Mask(w, h).circle(cx, cy, 7.5).blurred(2)
            cv.fill(glow, rgb("#ff4a3d"), 0.7)
            cv.draw(radial(cx - 1.6, cy - 1.8, 7, [(0, rgb("#ffb3ab")), (0.5, rgb("#ff4b3e")), (1, rgb("#e0281c"))]), lambda m: m.circle(cx, cy, 5.4))
        else:
            cv.draw(radial(cx - 1.4, cy - 1.6, 7, [(0, rgb("#c85a53")), (1, rgb("#8a2a24"))]), lambda m: m.circle(cx, cy, 5.0))
    elif kind == "stop":
        cv.draw(rgb("#e8ebf0") if not lit else rgb("#ffffff"), lambda m: m.rrect(cx - 4.6, cy - 4.6, cx + 4.6, cy + 4.6, 1.2))
    else:
        tri = [(cx - 3.6, cy - 5.6), (cx + 5.6, cy), (cx - 3.6, cy + 5.6)]
        if lit:
            glow = Mask(w, h).polygon(tri, grow=2.0).blurred(2)
            cv.fill(glow, rgb("#3dff8a"), 0.6)
            cv.draw(linear(0, cy - 6, 0, cy + 6, [(0, rgb("#a8ffc8")), (1, rgb("#2ee07a"))]), lambda m: m.polygon(tri, grow=0.7))
        else:
            cv.draw(rgb("#3f9a63"), lambda m: m.polygon(tri, grow=0.5))
    return cv


# ---------------------------------------------------------------------------------------------
# Address labels
# ---------------------------------------------------------------------------------------------

LABEL_W, LABEL_H, LABEL_FIELD = 60, 26, 18
ADDR_FONT = Font(7.8, 1.3)


def address_label(label, state):
    """60-wide label on the grey label column; the field is 18 rows at 96 dpi and the rows
    below continue the background for larger fields."""
    cv = Canvas(LABEL_W, LABEL_H, PANEL_GREY)
    down = 0
    if state == "hover":
        cv.draw(rgb("#8799b8"), lambda m: m.rrect(2, 1, LABEL_W - 1, LABEL_FIELD - 1, 8))
    elif state == "pressed":
        cv.draw(rgb("#5f6b7e"), lambda m: m.rrect(2, 1, LABEL_W - 1, LABEL_FIELD - 1, 8))
        down = 1
    ink = rgb("#ffffff") if state != "normal" else rgb("#f1f3f6")
    text(cv, ADDR_FONT, label, LABEL_W - 7, 13 + down, ink, align="right")
    return cv


# ---------------------------------------------------------------------------------------------
# Logo and its sending animation
# ---------------------------------------------------------------------------------------------

LOGO_W, LOGO_H = 55, 50  # copied 55 x 40 by the animation and 50 x 50 into the button
LOGO_FRAMES = 31
DISC_TOP, DISC_BOTTOM = rgb("#5ea0fa"), rgb("#1a55c4")


def emblem(cv, cx, cy, r, plane_offset=0.0, speed=0.0, comet=None, ring=True):
    """The Kestro emblem: a blue disc with a white paper plane, an orbiting comet around it.
    plane_offset moves the plane along its flight line (in disc radii); speed draws trails."""
    cv.shadow(lambda m: m.circle(cx, cy + r * 0.04, r), blur=max(1, int(r / 10)), dy=max(1, r / 14), opacity=0.28)
    cv.draw(linear(0, cy - r, 0, cy + r, [(0, DISC_TOP), (1, DISC_BOTTOM)]), lambda m: m.circle(cx, cy, r))
    # soft sheen on the upper half
    sheen = Mask(cv.w, cv.h).ellipse(cx, cy - r * 0.42, r * 0.78, r * 0.5)
    sheen.clip(Mask(cv.w, cv.h).circle(cx, cy, r - max(1.0, r * 0.08)))
    cv.fill(sheen, linear(0, cy - r, 0, cy, [(0, rgb("#ffffff", 0.38)), (1, rgb("#ffffff", 0.0))]))
    if ring:
        cv.draw(rgb("#ffffff"), lambda m: m.arc(cx, cy, r - max(0.8, r * 0.05), 0, 360, max(0.8, r * 0.05)), 0.18)
    inner = Mask(cv.w, cv.h).circle(cx, cy, r - max(1.2, r * 0.07))
    # flight line: up and to the right
    ang = math.radians(-28)
    dx, dy = math.cos(ang) * plane_offset * r, math.sin(ang) * plane_offset * r
    size = r * 1.12
    bx = Box(cx - size / 2.0 + dx - r * 0.04, cy - size / 2.0 + dy + r * 0.03, size / 24.0)
    if speed > 0.02:
        for k, (ox, oy) in enumerate(((-0.34, 0.32), (-0.52, 0.06), (-0.22, 0.5))):
            tail = 0.55 * speed * r
            sx, sy = cx + dx + ox * r, cy + dy + oy * r
            ex, ey = sx - math.cos(ang) * tail, sy - math.sin(ang) * tail
            m = Mask(cv.w, cv.h).capsule(sx, sy, ex, ey, max(0.9, r * 0.07))
            m.clip(inner)
            cv.fill(m, WHITE, 0.55 * min(1.0, speed) * (1.0 - 0.25 * k))
    light = linear(0, bx.oy, 0, bx.oy + size, [(0, WHITE), (1, rgb("#e8f0ff"))])
    picto_plane(cv, bx, light=light, shade=rgb("#c3d6f6"), clip=inner)
    if comet is not None:
        # a fading arc whose bright head is at angle `comet` (degrees, clockwise from +x)
        rr = r + max(1.8, r * 0.16)
        steps = 14
        span = 120.0
        for i in range(steps):
            a0 = comet - span + span * i / steps
            a1 = comet - span + span * (i + 1) / steps
            t = (i + 1) / steps
            cv.draw(rgb("#4a8df4"), lambda m: m.arc(cx, cy, rr, a0, a1, max(1.0, r * 0.09) * (0.5 + 0.5 * t)), t ** 1.6)
        hx = cx + rr * math.cos(math.radians(comet))
        hy = cy + rr * math.sin(math.radians(comet))
        cv.draw(rgb("#2f7bea"), lambda m: m.circle(hx, hy, max(1.0, r * 0.1)))


def logo_frame(k):
    """Frame k of the logo. Frames 0..29 loop (frame 0 is the resting logo), frame 30 is the
    resting logo with a 'sent' tick."""
    cv = Canvas(LOGO_W, LOGO_H, FACE)
    cx, cy, r = 25.0, 20.5, 16.0
    t = (k % 30) / 30.0
    # The plane leaves to the upper right, comes back from the lower left and settles.
    if t < 0.45:
        u = t / 0.45
        off, speed = 1.9 * u * u, 1.6 * u
    else:
        u = (t - 0.45) / 0.55
        off, speed = -1.9 * (1 - u) ** 2, 1.6 * (1 - u)
    comet = -60.0 + 360.0 * t
    emblem(cv, cx, cy, r, plane_offset=off, speed=speed if k else 0.0, comet=comet)
    if k == 30:
        bx_, by_ = cx + r * 0.78, cy + r * 0.72
        cv.draw(WHITE, lambda m: m.circle(bx_, by_, 6.6))
        cv.draw(linear(0, by_ - 6, 0, by_ + 6, [(0, GREEN_HI), (1, GREEN_LO)]), lambda m: m.circle(bx_, by_, 5.4))
        cv.draw(WHITE, lambda m: m.polyline([(bx_ - 2.6, by_ + 0.1), (bx_ - 0.7, by_ + 2.1), (bx_ + 2.8, by_ - 2.0)], 1.5))
    return cv


# ---------------------------------------------------------------------------------------------
# Recorder animations (40 x 40, drawn on the recorder's grey display)
# ---------------------------------------------------------------------------------------------


def play_frame(k):
    """Playing: a speaker lights up (frames 0..5), then sound waves run outwards (6..12 loop)."""
    cv = Canvas(40, 40, PANEL_GREY)
    ramp = min(1.0, k / 6.0)
    base = mix(rgb("#a8acb2"), rgb("#ffffff"), ramp)
    bx = Box(1.0, 8.0, 1.0)
    cv.draw(rgb("#000000"), lambda m: m.polygon(bx.pts([(3, 9), (7.5, 9), (13, 4), (13, 20), (7.5, 15), (3, 15)]), grow=0.6), 0.12 + 0.1 * ramp)
    picto_speaker(cv, Box(0.0, 8.0, 1.0), linear(0, 12, 0, 28, [(0, base), (1, mix(base, rgb("#c9cfd8"), 0.6))]))
    phase = (k - 6) / 7.0 if k >= 6 else 0.0
    for i in range(3):
        pos = i + phase  # 0..3 across the three wave slots
        radius = 6.0 + pos * 7.0
        fade_in = _clamp01(pos / 0.8)
        fade_out = _clamp01((3.0 - pos) / 1.2)
        alpha = fade_in * fade_out * ramp if k >= 6 else _clamp01((k - 1 - 2 * i) / 2.0) * fade_out * 0.9
        if alpha <= 0.01:
            continue
        cv.draw(rgb("#39ff7e"), lambda m: m.arc(12.0, 20.0, radius, -42, 42, 2.2), alpha)
    return cv


def record_frame(k):
    """Recording: a microphone lights up and pick-up arcs grow round it; frame 8 stays."""
    cv = Canvas(40, 40, PANEL_GREY)
    ramp = min(1.0, k / 8.0)
    base = mix(rgb("#a8acb2"), rgb("#ffffff"), min(1.0, k / 4.0))
    grille = mix(rgb("#8d9096"), rgb("#ff5a4e"), ramp)
    bx = Box(8.0, 7.0, 1.0)
    body = linear(0, 8, 0, 22, [(0, base), (1, mix(base, rgb("#c9cfd8"), 0.6))])
    picto_mic(cv, bx, body=body, stand=base)
    for gy in (5.6, 8.2, 10.8):
        a, b = bx.p(10.4, gy), bx.p(13.6, gy)
        cv.draw(grille, lambda m: m.capsule(a[0], a[1], b[0], b[1], 1.2))
    for i in range(2):
        alpha = _clamp01((k - 2 - 2.5 * i) / 2.5)
        if alpha <= 0.0:
            continue
        rad = 11.0 + 4.5 * i
        cv.draw(rgb("#ff5a4e"), lambda m: m.arc(20.0, 15.0, rad, -40, 40, 2.0), alpha)
        cv.draw(rgb("#ff5a4e"), lambda m: m.arc(20.0, 15.0, rad, 140, 220, 2.0), alpha)
    if k >= 5:
        a = _clamp01((k - 4) / 3.0)
        cv.draw(rgb("#ff3b30"), lambda m: m.circle(33.5, 6.5, 3.2), a)
        cv.draw(rgb("#ffffff"), lambda m: m.circle(32.6, 5.6, 1.0), 0.6 * a)
    return cv


# ---------------------------------------------------------------------------------------------
# Fallback ad banners (468 x 60) and the about picture
# ---------------------------------------------------------------------------------------------


def picto_book(cv, bx, colour):
    x0, y0 = bx.p(5, 2.5)
    x1, y1 = bx.p(20, 21.5)
    cv.draw(colour, lambda m: m.rrect(x0, y0, x1, y1, bx.v(2.2)))
    hole = Mask(cv.w, cv.h)
    hx, hy = bx.p(12.8, 9.2)
    hole.circle(hx, hy, bx.v(2.6))
    sx, sy = bx.p(12.8, 15.8)
    hole.ellipse(sx, sy + bx.v(1.6), bx.v(4.6), bx.v(3.2))
    hole.clip(Mask(cv.w, cv.h).rrect(x0, y0, x1, bx.p(0, 18.6)[1], 0))
    cv.fill(hole, rgb("#000000"), 0.28)
    for ry in (6, 12, 18):
        a, b = bx.p(3.5, ry), bx.p(6.5, ry)
        cv.draw(colour, lambda m: m.capsule(a[0], a[1], b[0], b[1], bx.v(1.8)))


def picto_plug(cv, bx, colour):
    for px in (9.2, 14.8):
        a, b = bx.p(px, 2.5), bx.p(px, 8)
        cv.draw(colour, lambda m: m.capsule(a[0], a[1], b[0], b[1], bx.v(2.0)))
    x0, y0 = bx.p(5.5, 7.5)
    x1, y1 = bx.p(18.5, 15)
    cv.draw(colour, lambda m: m.rrect(x0, y0, x1, y1, bx.v(2.4)))
    nose = bx.pts([(8, 14), (16, 14), (14, 18.5), (10, 18.5)])
    cv.draw(colour, lambda m: m.polygon(nose, grow=bx.v(0.6)))
    cable = [bx.p(12, 18.5)] + [bx.p(x, y) for x, y in arc_points(15.5, 19, 3.5, 3, 180, 90)]
    cv.draw(colour, lambda m: m.polyline(cable, bx.v(2.0)))


def picto_waves(cv, bx, colour):
    picto_speaker(cv, Box(bx.ox - bx.v(1.5), bx.oy, bx.s), colour)
    cx, cy = bx.p(12.5, 12)
    for rr in (4.5, 8.0):
        cv.draw(colour, lambda m: m.arc(cx, cy, bx.v(rr), -45, 45, bx.v(1.9)))


BANNERS = [
    ("#1c57c8", "#3d8cf6", "emblem", "Kestro", "Voice and video e-mail, made simple."),
    ("#0b7d78", "#1fb29e", "mic", "Say it with your voice", "Record a voice message in one click."),
    ("#4b35b0", "#8659ee", "video", "Send a video hello", "Record a short clip and mail it."),
    ("#d2561f", "#f59c3d", "photo", "Snap and send", "Take a snapshot, send it as a JPEG."),
    ("#1f2f66", "#4461b8", "waves", "Small files, clear sound", "Voice is packed as GSM or MP3."),
    ("#17814a", "#38bb6c", "book", "Contacts in one place", "Keep names and addresses at hand."),
    ("#334258", "#5f7594", "mail", "Save now, send later", "Messages keep their attachments."),
    ("#b52748", "#ea5c6b", "plug", "Get more from Kestro", "Plug-ins, tips and updates online."),
]


def banner(index):
    return banner_picture(*BANNERS[index])


# An advertiser's banner as an ad server would send it: only for the screenshots of the banner.
SAMPLE_AD = ("#0e4a52", "#16a085", "waves", "Harbor Headsets", "Clear sound for every voice message.",
             "Shop now")


def banner_picture(c0, c1, kind, head, sub, label="Learn more"):
    w, h = 468, 60
    cv = Canvas(w, h, rgb(c0))
    cv.draw(linear(0, 0, w, h, [(0, rgb(c0)), (1, rgb(c1))]), lambda m: m.rrect(0, 0, w, h, 0))
    # decorative rings
    for (cx, cy, r, a) in ((410, -8, 46, 0.10), (455, 58, 30, 0.08), (30, 64, 34, 0.07)):
        cv.draw(WHITE, lambda m: m.circle(cx, cy, r), a)
    # emblem spot
    ex, ey = 34.0, 30.0
    if kind == "emblem":
        emblem(cv, ex, ey, 21.0, comet=-60.0)
    else:
        cv.draw(WHITE, lambda m: m.circle(ex, ey, 22.0), 0.18)
        cv.draw(WHITE, lambda m: m.arc(ex, ey, 22.0, 0, 360, 1.2), 0.35)
        bx = Box(ex - 14.0, ey - 14.0, 28.0 / 24.0)
        if kind == "mic":
            picto_mic(cv, bx, body=WHITE, stand=WHITE)
        elif kind == "video":
            picto_camcorder(cv, bx, body=WHITE)
        elif kind == "photo":
            picto_photo(cv, bx, body=WHITE)
        elif kind == "waves":
            picto_waves(cv, bx, WHITE)
        elif kind == "book":
            picto_book(cv, bx, WHITE)
        elif kind == "mail":
            picto_envelope(cv, bx)
        else:
            picto_plug(cv, bx, WHITE)
    # call to action
    bf = Font(8, 1.5)
    bw = bf.measure(label) + 34
    x1 = w - 16
    x0 = x1 - bw
    cv.shadow(lambda m: m.rrect(x0, 17, x1, 43, 13), blur=2, dy=2, opacity=0.25)
    cv.draw(WHITE, lambda m: m.rrect(x0, 17, x1, 43, 13))
    text(cv, bf, label, x0 + 13, 34, rgb(c0))
    ax = x0 + 13 + bf.measure(label) + 6
    cv.draw(rgb(c0), lambda m: m.polyline([(ax, 26.5), (ax + 3.5, 30), (ax, 33.5)], 1.6))
    left, right = 70, x0 - 14
    size = 14.0 if kind != "emblem" else 17.0
    hf = Font(size, size / 6.1)
    while hf.measure(head) > right - left and size > 9:
        size -= 0.5
        hf = Font(size, size / 6.1)
    size = 8.6
    sf = Font(size, 1.3)
    while sf.measure(sub) > right - left and size > 6:
        size -= 0.4
        sf = Font(size, 1.25)
    text(cv, hf, head, left + 1, 30 if kind != "emblem" else 31, rgb("#000000"), opacity=0.18)
    text(cv, hf, head, left, 29 if kind != "emblem" else 30, WHITE)
    text(cv, sf, sub, left, 47, rgb("#ffffff"), opacity=0.9)
    return cv


def about_picture():
    w, h = 320, 100
    cv = Canvas(w, h, WHITE)
    cv.draw(linear(0, 0, 0, h, [(0, rgb("#ffffff")), (1, rgb("#e9f1fd"))]), lambda m: m.rrect(0, 0, w, h, 0))
    cv.draw(rgb("#2f7bea"), lambda m: m.circle(w + 10, -30, 90), 0.06)
    emblem(cv, 52, 50, 31, comet=-60.0)
    text(cv, Font(26, 3.4), "Kestro", 104, 54, INK)
    text(cv, Font(10, 1.45), "Voice and video e-mail", 106, 75, SLATE)
    return cv


def large_logo(k):
    """100 x 100 emblem: resting (0) and in flight (1)."""
    cv = Canvas(100, 100)
    if k == 0:
        emblem(cv, 50, 49, 38, comet=-60.0)
    else:
        emblem(cv, 50, 49, 38, plane_offset=0.35, speed=1.0, comet=60.0)
    return cv


# ---------------------------------------------------------------------------------------------
# Program icons and the hand cursor (32-bit with alpha)
# ---------------------------------------------------------------------------------------------


def program_icon(size):
    cv = Canvas(size, size)
    r = size / 2.0 - (1.0 if size > 16 else 0.5)
    c = size / 2.0
    if size <= 16:
        cv.draw(linear(0, 0, 0, size, [(0, DISC_TOP), (1, DISC_BOTTOM)]), lambda m: m.circle(c, c, r))
        bx = Box(c - 6.6, c - 6.2, 13.0 / 24.0)
        picto_plane(cv, bx, light=WHITE, shade=rgb("#c9dafa"))
    else:
        emblem(cv, c, c - size * 0.01, r - size * 0.03)
    return cv


def message_sent_icon(size):
    cv = Canvas(size, size)
    s = size / 32.0
    picto_envelope(cv, Box(0.5 * s, 1.0 * s, 28.0 * s / 24.0))
    cx, cy, r = 22.5 * s, 21.5 * s, 8.5 * s
    cv.draw(WHITE, lambda m: m.circle(cx, cy, r + max(1.0, s)))
    cv.draw(linear(0, cy - r, 0, cy + r, [(0, GREEN_HI), (1, GREEN_LO)]), lambda m: m.circle(cx, cy, r))
    tick = [(cx - 4.2 * s, cy + 0.2 * s), (cx - 1.2 * s, cy + 3.2 * s), (cx + 4.4 * s, cy - 3.0 * s)]
    cv.draw(WHITE, lambda m: m.polyline(tick, max(1.4, 2.2 * s)))
    return cv


def video_driver_icon(size):
    cv = Canvas(size, size)
    s = size / 24.0
    bx = Box(0, 0, s)
    picto_camcorder(cv, bx, body=linear(0, 6 * s, 0, 18 * s, [(0, BLUE_HI), (1, BLUE_LO)]))
    return cv


CURSOR_HOTSPOT = (7, 1)


def hand_cursor():
    """Pointing hand, 32 x 32, hotspot at the tip of the index finger."""
    cv = Canvas(32, 32)

    def hand(m, grow):
        g2 = 2 * grow
        m.capsule(7.5, 3.2, 7.5, 14.5, 3.6 + g2)  # index finger
        for fx, top in ((11.0, 10.6), (14.2, 11.4), (17.2, 12.6)):
            m.capsule(fx, top, fx, 16.5, 3.4 + g2)
        m.polygon([(5.8, 14), (18.9, 13.5), (18.9, 19), (16.8, 24.5), (8.6, 24.5), (5.8, 19.5)], grow=1.2 + grow)
        m.capsule(3.4, 14.8, 6.8, 19.8, 3.4 + g2)  # thumb
        m.rrect(8.4 - grow, 23 - grow, 17.4 + grow, 27.6 + grow, 0.8)  # wrist

    cv.shadow(lambda m: hand(m, 1.0), blur=1, dy=1, opacity=0.3)
    cv.draw(rgb("#111111"), lambda m: hand(m, 1.0))
    cv.draw(linear(0, 3, 0, 27, [(0, WHITE), (1, rgb("#eef1f5"))]), lambda m: hand(m, 0.0))
    for fx, top in ((9.3, 12.2), (12.6, 12.8), (15.7, 13.8)):
        cv.draw(rgb("#7a7f88"), lambda m: m.capsule(fx, top, fx, top + 3.2, 0.7))
    return cv


# ---------------------------------------------------------------------------------------------
# The resource table
# ---------------------------------------------------------------------------------------------


def _toolbar_set(label, picto, states):
    return lambda: [toolbar_button(label, picto, s) for s in states]


def _cancel_set():
    red = dict(hover_fill=rgb("#fdeeed"), hover_edge=rgb("#f0aca7"), press_fill=rgb("#f9d4d1"), press_edge=rgb("#e3857f"))
    grey = dict(hover_fill=rgb("#ececec"), hover_edge=rgb("#cdcdcd"))
    return [
        toolbar_button("Cancel", picto_cancel, "normal"),
        toolbar_button("Cancel", picto_cancel, "disabled"),
        toolbar_button("Cancel", picto_cancel, "pressed", **red),
        toolbar_button("Cancel", picto_cancel, "hover", **red),
        _idle_cancel_hover(grey),
    ]


def _idle_cancel_hover(colours):
    """Hover look while nothing is being sent: a neutral frame around the dimmed sign."""
    cv = Canvas(TOOLBAR_W, TOOLBAR_H)
    cv.draw(colours["hover_edge"], lambda m: m.rrect(1, 1, TOOLBAR_W - 1, TOOLBAR_H - 1, 6))
    cv.draw(colours["hover_fill"], lambda m: m.rrect(2, 2, TOOLBAR_W - 2, TOOLBAR_H - 2, 5))
    cv.blit(toolbar_button("Cancel", picto_cancel, "disabled"), 0, 0)
    return cv


class SkinSet:
    def __init__(self, index, name, what, count, kind, size, states, make):
        self.index, self.name, self.what, self.count = index, name, what, count
        self.kind, self.size, self.states, self.make = kind, size, states, make

    @property
    def first_id(self):
        return 100 * (self.index + 1)


TB = (TOOLBAR_W, TOOLBAR_H)
TB3 = ["normal", "pressed", "hover", "disabled"]
LABEL_STATES = ["normal", "pressed", "hover", "normal"]
PILL_STATES = ["normal", "pressed", "hover", "disabled"]

SKIN_SETS = [
    SkinSet(0, "SEND", "Send button", 5, "icon", TB, ["normal", "disabled", "pressed", "hover", "disabled"],
            _toolbar_set("Send", picto_plane, ["normal", "disabled", "pressed", "hover", "disabled"])),
    SkinSet(1, "CANCEL", "Cancel button", 5, "icon", TB,
            ["normal", "disabled", "pressed, sending", "hover, sending", "hover, idle"], _cancel_set),
    SkinSet(2, "ATTACH", "Attach button", 4, "icon", TB, TB3, _toolbar_set("Attach", picto_clip, TB3)),
    SkinSet(3, "VOICE", "Voice button", 4, "icon", TB, TB3, _toolbar_set("Voice", picto_mic, TB3)),
    SkinSet(4, "VIDEO", "Video button", 4, "icon", TB, TB3, _toolbar_set("Video", picto_camcorder, TB3)),
    SkinSet(5, "BOLD", "bold button", 2, "icon", (25, 25), ["off", "on"], lambda: [format_button("B", k) for k in (0, 1)]),
    SkinSet(6, "ITALIC", "italic button", 2, "icon", (25, 25), ["off", "on"], lambda: [format_button("I", k) for k in (0, 1)]),
    SkinSet(7, "UNDERLINE", "underline button", 2, "icon", (25, 25), ["off", "on"], lambda: [format_button("U", k) for k in (0, 1)]),
    SkinSet(8, "LOGO", "logo animation", LOGO_FRAMES, "bitmap", (LOGO_W, LOGO_H),
            ["rest"] + ["frame %d" % k for k in range(1, 30)] + ["sent"], lambda: [logo_frame(k) for k in range(LOGO_FRAMES)]),
    SkinSet(9, "TO", "To label", 4, "bitmap", (LABEL_W, LABEL_H), LABEL_STATES, lambda: [address_label("To:", s) for s in LABEL_STATES]),
    SkinSet(10, "CC", "CC label", 4, "bitmap", (LABEL_W, LABEL_H), LABEL_STATES, lambda: [address_label("CC:", s) for s in LABEL_STATES]),
    SkinSet(11, "BCC", "BCC label", 4, "bitmap", (LABEL_W, LABEL_H), LABEL_STATES, lambda: [address_label("BCC:", s) for s in LABEL_STATES]),
    SkinSet(12, "REC_KEY", "recorder Record key", 2, "icon", (37, 25), ["normal", "lit"], lambda: [deck_key("record", k) for k in (0, 1)]),
    SkinSet(13, "STOP_KEY", "recorder Stop key", 2, "icon", (37, 25), ["normal", "pressed"], lambda: [deck_key("stop", k) for k in (0, 1)]),
    SkinSet(14, "PLAY_KEY", "recorder Play key", 2, "icon", (37, 25), ["normal", "lit"], lambda: [deck_key("play", k) for k in (0, 1)]),
    SkinSet(15, "PLAY_ANIM", "recorder playing animation", 13, "icon", (40, 40),
            ["frame %d" % k for k in range(13)], lambda: [play_frame(k) for k in range(13)]),
    SkinSet(16, "REC_ANIM", "recorder recording animation", 9, "icon", (40, 40),
            ["frame %d" % k for k in range(9)], lambda: [record_frame(k) for k in range(9)]),
    SkinSet(17, "SUBJECT", "Subject label", 4, "bitmap", (LABEL_W, LABEL_H), LABEL_STATES,
            lambda: [address_label("Subject:", s) for s in LABEL_STATES]),
    SkinSet(18, "FORMAT", "video Format button", 4, "icon", (50, 20), PILL_STATES, lambda: [text_pill("Format", s) for s in PILL_STATES]),
    SkinSet(19, "SOURCE", "video Source button", 4, "icon", (50, 20), PILL_STATES, lambda: [text_pill("Source", s) for s in PILL_STATES]),
    SkinSet(20, "CODEC", "video Codec button", 4, "icon", (50, 20), PILL_STATES, lambda: [text_pill("Codec", s) for s in PILL_STATES]),
    SkinSet(21, "PICTURE", "video Picture button", 2, "icon", (38, 25), ["normal", "pressed"],
            lambda: [glyph_pill("picture", s) for s in ("normal", "pressed")]),
    SkinSet(22, "RECORD", "video Record button", 2, "icon", (38, 25), ["normal", "pressed"],
            lambda: [glyph_pill("record", s) for s in ("normal", "pressed")]),
    SkinSet(23, "STOP", "video Stop button", 2, "icon", (38, 25), ["normal", "pressed"],
            lambda: [glyph_pill("stop", s) for s in ("normal", "pressed")]),
    SkinSet(24, "ABOUT", "about picture", 1, "bitmap", (320, 100), ["about"], lambda: [about_picture()]),
    SkinSet(25, "BANNER", "fallback ad banners", 8, "bitmap", (468, 60), ["banner %d" % k for k in range(8)],
            lambda: [banner(k) for k in range(8)]),
    SkinSet(26, "FROM", "From label", 4, "bitmap", (LABEL_W, LABEL_H), LABEL_STATES, lambda: [address_label("From:", s) for s in LABEL_STATES]),
    SkinSet(27, "BIG_LOGO", "large logo", 2, "icon", (100, 100), ["rest", "in flight"], lambda: [large_logo(k) for k in (0, 1)]),
]

# Resources outside the skin table: (symbol, id, type, file, what). The program icon's id,
# IDI_KESTRO, is defined with the menu and dialog ids in resource_ids.h.
PROGRAM_ICON_SIZES = (48, 32, 16)
OTHER_RESOURCES = [
    ("IDI_KESTRO", 1, "ICON", "kestro.ico", "program icon, 48, 32 and 16 pixels"),
    ("IDR_HAND_CURSOR", 100, "CURSOR", "hand.cur", "hand cursor of the ad banner"),
    ("IDI_MESSAGE_SENT", 10004, "ICON", "msgsent.ico", "icon of the Message Sent dialog"),
    ("IDI_VIDEO_DRIVER", 10005, "ICON", "videodrv.ico", "icon of the Video Driver notice"),
]
EDGE_ALPHA = 0.2  # icon pixels less covered than this stay transparent


def skin_file_name(skin, j):
    return "skin%04d.%s" % (skin.first_id + j, "ico" if skin.kind == "icon" else "bmp")


def skin_icon_pixels(cv):
    """Masked 24-bit icon pixels: colour flattened on the assumed face, binary opacity."""
    flat = cv.over(FACE).pixels()
    alpha = cv.a
    return [p[:3] + ((255,) if alpha[i] >= EDGE_ALPHA else (0,)) for i, p in enumerate(flat)]


def render_all():
    """{file name: (bytes, canvas or None)} for every resource."""
    files = {}
    for skin in SKIN_SETS:
        images = skin.make()
        assert len(images) == skin.count, skin.name
        for j, cv in enumerate(images):
            assert (cv.w, cv.h) == skin.size, (skin.name, j)
            name = skin_file_name(skin, j)
            if skin.kind == "icon":
                data = ico_bytes([(cv.w, cv.h, skin_icon_pixels(cv), False)])
            else:
                data = bmp_bytes(cv.w, cv.h, cv.over(FACE).pixels())
            files[name] = (data, cv)
    icons = [program_icon(s) for s in PROGRAM_ICON_SIZES]
    files["kestro.ico"] = (ico_bytes([(c.w, c.h, c.pixels(), True) for c in icons]), icons)
    sent = [message_sent_icon(s) for s in PROGRAM_ICON_SIZES]
    files["msgsent.ico"] = (ico_bytes([(c.w, c.h, c.pixels(), True) for c in sent]), sent)
    video = [video_driver_icon(s) for s in PROGRAM_ICON_SIZES]
    files["videodrv.ico"] = (ico_bytes([(c.w, c.h, c.pixels(), True) for c in video]), video)
    hand = hand_cursor()
    files["hand.cur"] = (ico_bytes([(32, 32, hand.pixels(), True)], cursor_hotspot=CURSOR_HOTSPOT), [hand])
    return files


# ---------------------------------------------------------------------------------------------
# Resource script and id header
# ---------------------------------------------------------------------------------------------


def ids_header():
    lines = [
        "// Ids of the program's pictures: the skin image table, icons and cursor. Generated by",
        "// tools/make_images.py --sources. Only #define lines: the resource compiler reads it too.",
        "#pragma once",
        "",
    ]
    for sym, rid, _, _, what in OTHER_RESOURCES:
        if sym != "IDI_KESTRO":
            lines.append("// %s" % (what[0].upper() + what[1:]))
            lines.append("#define %s %d" % (sym, rid))
    lines += [
        "",
        "// Skin image table: set k holds the resources 100 * (k + 1) + j for j = 0 .. count - 1.",
        "#define SKIN_SET_COUNT 28",
        "#define SKIN_SET_MAX_IMAGES 32",
        "#define SKIN_SET_FIRST_ID(set) (100 * ((set) + 1))",
        "#define SKIN_KIND_BITMAP 0",
        "#define SKIN_KIND_ICON 1",
    ]
    for skin in SKIN_SETS:
        p = "SKIN_" + skin.name
        if skin.count <= 5:
            states = ", ".join("%d %s" % (j, s) for j, s in enumerate(skin.states))
        else:
            states = "%d images" % skin.count
        lines.append("")
        lines.append("// %s: %s" % (skin.what[0].upper() + skin.what[1:], states))
        lines.append("#define SKIN_SET_%s %d" % (skin.name, skin.index))
        lines.append("#define %s_COUNT %d" % (p, skin.count))
        kind = "SKIN_KIND_ICON" if skin.kind == "icon" else "SKIN_KIND_BITMAP"
        lines.append("#define %s_KIND %s" % (p, kind))
        lines.append("#define %s_CX %d" % (p, skin.size[0]))
        lines.append("#define %s_CY %d" % (p, skin.size[1]))
    lines.append("")
    return "\n".join(lines)


def resource_script():
    lines = [
        "// The program's pictures, included by kestro.rc. The files are made by",
        "// tools/make_images.py into a folder that the build puts on the resource include path.",
        '#include "resource_ids.h"',
        '#include "skin_ids.h"',
        "",
    ]
    for sym, _, kind, name, what in OTHER_RESOURCES:
        lines.append("// %s" % what[0].upper() + what[1:])
        lines.append('%s %s "%s"' % (sym, kind, name))
    for skin in SKIN_SETS:
        lines.append("")
        lines.append("// Set %d, %s (%s)" % (skin.index, skin.what, "icons %dx%d" % skin.size if skin.kind == "icon" else "bitmaps"))
        for j in range(skin.count):
            state = skin.states[j]
            lines.append('%d %s "%s" // %s' % (skin.first_id + j, "ICON" if skin.kind == "icon" else "BITMAP",
                                               skin_file_name(skin, j), state))
    lines.append("")
    return "\n".join(lines)


# ---------------------------------------------------------------------------------------------
# Contact sheet
# ---------------------------------------------------------------------------------------------

SHEET_FACE = (245, 245, 245)  # the light theme's button face, to judge the icons in place


def canvas_from_pixels(w, h, px):
    cv = Canvas(w, h)
    for i, (r, g, b, a) in enumerate(px):
        f = a / 255.0
        cv.r[i], cv.g[i], cv.b[i], cv.a[i] = r / 255.0 * f, g / 255.0 * f, b / 255.0 * f, f
    return cv


def zoom(cv, k):
    out = Canvas(cv.w * k, cv.h * k)
    for y in range(out.h):
        for x in range(out.w):
            i, j = y * out.w + x, (y // k) * cv.w + x // k
            out.r[i], out.g[i], out.b[i], out.a[i] = cv.r[j], cv.g[j], cv.b[j], cv.a[j]
    return out


def crop(cv, x0, y0, w, h):
    out = Canvas(w, h)
    for y in range(h):
        for x in range(w):
            i, j = y * w + x, (y + y0) * cv.w + x + x0
            out.r[i], out.g[i], out.b[i], out.a[i] = cv.r[j], cv.g[j], cv.b[j], cv.a[j]
    return out


def as_loaded(skin, cv):
    """What the program shows: bitmaps as they are, icons put on the button face by their mask."""
    if skin.kind != "icon":
        return cv
    px = [p if p[3] else SHEET_FACE + (255,) for p in skin_icon_pixels(cv)]
    return canvas_from_pixels(cv.w, cv.h, px)


def mock_window(images):
    """The top of the main window and its banner, assembled from the pictures."""
    w, h = 640, 330
    cv = Canvas(w, h, (255, 255, 255))
    ui = Font(8.4, 1.15)
    grey_text = rgb("#808080")
    # toolbar
    cv.draw(rgb(SHEET_FACE), lambda m: m.rrect(0, 0, w, 46, 0))
    cv.draw(rgb("#d6d6d6"), lambda m: m.rrect(0, 45, w, 46, 0))
    sets = {s.name: s for s in SKIN_SETS}
    picks = [("SEND", 0), ("ATTACH", 2), ("VOICE", 0), ("VIDEO", 0), ("CANCEL", 0)]
    for n, (name, j) in enumerate(picks):
        cv.blit(as_loaded(sets[name], images[name][j]), n * 55, 2)
    cv.blit(crop(images["LOGO"][0], 0, 0, 50, 44), w - 55, 2)
    # address panel
    top, fh = 46, 18
    cv.draw(rgb("#808080"), lambda m: m.rrect(0, top, 62, top + 5 * fh + 22, 0))
    rows = [("FROM", 0, "send via MAPI", INK), ("TO", 2, "< click here to enter recipients >", grey_text),
            ("CC", 0, "< click here to enter carbon copy recipients >", grey_text),
            ("BCC", 0, "< click here to enter blind carbon copy recipients >", grey_text),
            ("SUBJECT", 0, "Weekend plans", INK)]
    for k, (name, j, value, ink) in enumerate(rows):
        y = top + k * fh + 2 * k + 2
        cv.blit(crop(images[name][j], 0, 0, LABEL_W, fh), 0, y)
        text(cv, ui, value.replace("<", "").replace(">", "").strip() if "<" in value else value, 70, y + 13, ink)
    cv.draw(rgb("#d0d0d0"), lambda m: m.rrect(0, top + 112, w, top + 113, 0))
    # format bar
    fy = top + 112 + 2
    cv.draw(rgb(SHEET_FACE), lambda m: m.rrect(0, fy - 1, w, fy + 26, 0))
    for x0, x1, label in ((10, 185, "Arial"), (195, 238, "10")):
        cv.draw(rgb("#b8b8b8"), lambda m: m.rrect(x0, fy + 2, x1, fy + 23, 0))
        cv.draw(WHITE, lambda m: m.rrect(x0 + 1, fy + 3, x1 - 1, fy + 22, 0))
        text(cv, ui, label, x0 + 5, fy + 16, INK)
    cv.draw(rgb("#b8b8b8"), lambda m: m.rrect(248, fy + 2, 293, fy + 23, 0))
    cv.draw(rgb("#000000"), lambda m: m.rrect(252, fy + 6, 276, fy + 19, 0))
    for n, (name, j) in enumerate((("BOLD", 1), ("ITALIC", 0), ("UNDERLINE", 0))):
        cv.blit(as_loaded(sets[name], images[name][j]), 303 + 25 * n, fy)
    # body
    by = fy + 28
    cv.draw(rgb("#c8c8c8"), lambda m: m.rrect(0, by - 1, w, by, 0))
    body = Font(8.6, 1.2)
    for k, line in enumerate(["Hi Sam,", "I recorded a short voice message about Saturday.", "Talk soon!"]):
        text(cv, body, line, 6, by + 16 + 15 * k, INK)
    # banner
    ay = h - 62
    cv.draw(rgb("#e8e8e8"), lambda m: m.rrect(0, ay, w, h, 0))
    cv.blit(images["BANNER"][0], (w - 468) // 2, ay + 1)
    return cv


def preview(path):
    images = {s.name: s.make() for s in SKIN_SETS}
    W = 1020
    ops = []
    title = Font(9, 1.35)
    small = Font(7, 1.05)
    y = 12

    def heading(s, y):
        ops.append(("text", 12, y + 12, s, title, INK))
        return y + 20

    y = heading("Main window, assembled from the pictures (Attach hovered, bold on)", y)
    mock = mock_window(images)
    ops.append(("img", 12, y, mock))
    ops.append(("img", 12 + mock.w + 14, y, zoom(crop(mock, 0, 0, 170, 110), 2)))
    y += mock.h + 16
    ops.append(("img", 12, y, zoom(crop(mock, 0, 0, 500, 46), 2)))
    y += 92 + 18
    for skin in SKIN_SETS:
        last = skin.first_id + skin.count - 1
        ids = "%d" % skin.first_id if skin.count == 1 else "%d-%d" % (skin.first_id, last)
        kind = "icons %dx%d" % skin.size if skin.kind == "icon" else "bitmaps %dx%d" % skin.size
        y = heading("Set %d  %s  (%s, %s)" % (skin.index, skin.what, ids, kind), y)
        x, row_h = 12, 0
        for j, cv in enumerate(images[skin.name]):
            shown = as_loaded(skin, cv)
            scale = 2 if skin.size[0] <= 60 else 1
            if scale > 1:
                shown = zoom(shown, scale)
            if x + shown.w > W - 12:
                x, y = 12, y + row_h + 18
                row_h = 0
            ops.append(("img", x, y, shown))
            ops.append(("text", x, y + shown.h + 10, "%d %s" % (j, skin.states[j]) if skin.count <= 5 else str(j), small, SLATE))
            x += shown.w + 10
            row_h = max(row_h, shown.h)
        y += row_h + 24
    y = heading("Program icon (1), Message Sent icon (10004), Video Driver icon (10005), hand cursor (100)", y)
    x = 12
    for maker in (program_icon, message_sent_icon, video_driver_icon):
        for bg in ((255, 255, 255), (45, 48, 56)):
            for s in PROGRAM_ICON_SIZES:
                ops.append(("img", x, y, canvas_from_pixels(s, s, Canvas(s, s, bg).blit(maker(s), 0, 0).over(bg).pixels())))
                x += s + 8
            x += 6
        ops.append(("img", x, y, zoom(maker(16), 4)))
        x += 64 + 20
    y += 74
    hand = hand_cursor()
    ops.append(("img", 12, y, hand))
    ops.append(("img", 56, y, zoom(hand, 3)))
    y += 110
    sheet = Canvas(W, y, SHEET_FACE)
    for op in ops:
        if op[0] == "img":
            sheet.blit(op[3], op[1], op[2])
        else:
            text(sheet, op[4], op[3], op[1], op[2], op[5])
    flat = sheet.over(SHEET_FACE)
    with open(path, "wb") as f:
        f.write(png_bytes(flat.w, flat.h, flat.pixels()))


# ---------------------------------------------------------------------------------------------


def main(argv):
    if len(argv) == 3 and argv[1] == "--preview":
        preview(argv[2])
        return 0
    if len(argv) == 3 and argv[1] == "--sample-ad":
        cv = banner_picture(*SAMPLE_AD)
        with open(argv[2], "wb") as f:
            f.write(bmp_bytes(cv.w, cv.h, cv.over((255, 255, 255)).pixels()))
        return 0
    if len(argv) == 3 and argv[1] == "--sources":
        with open(os.path.join(argv[2], "skin.rc"), "w", newline="\n") as f:
            f.write(resource_script())
        with open(os.path.join(argv[2], "skin_ids.h"), "w", newline="\n") as f:
            f.write(ids_header())
        return 0
    if len(argv) == 2 and not argv[1].startswith("-"):
        os.makedirs(argv[1], exist_ok=True)
        for name, (data, _) in sorted(render_all().items()):
            with open(os.path.join(argv[1], name), "wb") as f:
                f.write(data)
        return 0
    sys.stderr.write(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
