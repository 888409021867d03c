"""A small anti-aliased rasteriser and PNG writer, standard library only.

Shapes are signed distance functions in design units; a Canvas maps design units to pixels by a
scale and fills each shape with one sample per pixel, the coverage taken from the distance. That
gives clean edges at every size from one drawing, and the output is byte-for-byte repeatable.
"""

import math
import struct
import zlib


# ---- Shapes: d(x, y) < 0 inside; bbox = (x0, y0, x1, y1) in design units ----

class Shape:
    bbox = (-1e9, -1e9, 1e9, 1e9)

    def d(self, x, y):
        raise NotImplementedError


class Circle(Shape):
    def __init__(self, cx, cy, r):
        self.cx, self.cy, self.r = cx, cy, r
        self.bbox = (cx - r, cy - r, cx + r, cy + r)

    def d(self, x, y):
        return math.hypot(x - self.cx, y - self.cy) - self.r


class Ellipse(Shape):
    # Not an exact distance, but close enough near the edge for anti-aliasing.
    def __init__(self, cx, cy, rx, ry):
        self.cx, self.cy, self.rx, self.ry = cx, cy, rx, ry
        self.bbox = (cx - rx, cy - ry, cx + rx, cy + ry)

    def d(self, x, y):
        k = math.hypot((x - self.cx) / self.rx, (y - self.cy) / self.ry)
        return (k - 1.0) * min(self.rx, self.ry)


class Box(Shape):
    def __init__(self, x0, y0, x1, y1, radius=0.0):
        self.cx, self.cy = (x0 + x1) / 2, (y0 + y1) / 2
        self.hx, self.hy = (x1 - x0) / 2, (y1 - y0) / 2
        self.r = min(radius, self.hx, self.hy)
        self.bbox = (x0, y0, x1, y1)

    def d(self, x, y):
        qx = abs(x - self.cx) - self.hx + self.r
        qy = abs(y - self.cy) - self.hy + self.r
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - self.r


class Capsule(Shape):
    """A line segment with round ends, of radius r."""

    def __init__(self, ax, ay, bx, by, r):
        self.ax, self.ay, self.bx, self.by, self.r = ax, ay, bx, by, r
        self.bbox = (min(ax, bx) - r, min(ay, by) - r, max(ax, bx) + r, max(ay, by) + r)

    def d(self, x, y):
        px, py = x - self.ax, y - self.ay
        vx, vy = self.bx - self.ax, self.by - self.ay
        vv = vx * vx + vy * vy
        t = 0.0 if vv == 0 else max(0.0, min(1.0, (px * vx + py * vy) / vv))
        return math.hypot(px - vx * t, py - vy * t) - self.r


class Poly(Shape):
    """A closed polygon (even-odd rule), optionally rounded outwards by r."""

    def __init__(self, points, r=0.0):
        self.p = [(float(a), float(b)) for a, b in points]
        self.r = r
        xs = [a for a, _ in self.p]
        ys = [b for _, b in self.p]
        self.bbox = (min(xs) - r, min(ys) - r, max(xs) + r, max(ys) + r)

    def d(self, x, y):
        p = self.p
        best = float("inf")
        inside = False
        j = len(p) - 1
        for i in range(len(p)):
            ax, ay = p[j]
            bx, by = p[i]
            ex, ey = bx - ax, by - ay
            wx, wy = x - ax, y - ay
            ee = ex * ex + ey * ey
            t = 0.0 if ee == 0 else max(0.0, min(1.0, (wx * ex + wy * ey) / ee))
            dx, dy = wx - ex * t, wy - ey * t
            best = min(best, dx * dx + dy * dy)
            if (ay > y) != (by > y) and x < ax + (y - ay) * ex / ey:
                inside = not inside
            j = i
        dist = math.sqrt(best)
        return (-dist if inside else dist) - self.r


class Stroke(Shape):
    """The outline of a shape, width w centred on its edge."""

    def __init__(self, shape, w):
        self.s, self.w = shape, w
        x0, y0, x1, y1 = shape.bbox
        self.bbox = (x0 - w, y0 - w, x1 + w, y1 + w)

    def d(self, x, y):
        return abs(self.s.d(x, y)) - self.w / 2


class Grow(Shape):
    """The shape made larger (or smaller, with a negative amount) on every side."""

    def __init__(self, shape, amount):
        self.s, self.a = shape, amount
        x0, y0, x1, y1 = shape.bbox
        m = max(amount, 0.0)
        self.bbox = (x0 - m, y0 - m, x1 + m, y1 + m)

    def d(self, x, y):
        return self.s.d(x, y) - self.a


class Union(Shape):
    def __init__(self, *shapes):
        self.shapes = shapes
        self.bbox = (min(s.bbox[0] for s in shapes), min(s.bbox[1] for s in shapes),
                     max(s.bbox[2] for s in shapes), max(s.bbox[3] for s in shapes))

    def d(self, x, y):
        return min(s.d(x, y) for s in self.shapes)


class Intersect(Shape):
    def __init__(self, a, b):
        self.a, self.b = a, b
        self.bbox = (max(a.bbox[0], b.bbox[0]), max(a.bbox[1], b.bbox[1]),
                     min(a.bbox[2], b.bbox[2]), min(a.bbox[3], b.bbox[3]))

    def d(self, x, y):
        return max(self.a.d(x, y), self.b.d(x, y))


class Subtract(Shape):
    def __init__(self, a, b):
        self.a, self.b = a, b
        self.bbox = a.bbox

    def d(self, x, y):
        return max(self.a.d(x, y), -self.b.d(x, y))


class Zoom(Shape):
    """The shape scaled by k about (cx, cy): what a lens held there shows."""

    def __init__(self, shape, cx, cy, k):
        self.s, self.cx, self.cy, self.k = shape, cx, cy, k
        x0, y0, x1, y1 = shape.bbox
        self.bbox = (cx + (x0 - cx) * k, cy + (y0 - cy) * k, cx + (x1 - cx) * k, cy + (y1 - cy) * k)

    def d(self, x, y):
        return self.s.d(self.cx + (x - self.cx) / self.k, self.cy + (y - self.cy) / self.k) * self.k


# ---- Colours ----

def rgb(text, alpha=1.0):
    """'#rrggbb' -> (r, g, b, a) with r, g, b in 0..255 and a in 0..1."""
    text = text.lstrip("#")
    return (int(text[0:2], 16), int(text[2:4], 16), int(text[4:6], 16), alpha)


def vgradient(top, bottom, y0, y1):
    """A colour function running from top at y0 to bottom at y1."""
    def colour(_x, y):
        t = 0.0 if y1 == y0 else max(0.0, min(1.0, (y - y0) / (y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))
    return colour


# ---- Canvas ----

class Canvas:
    """Premultiplied RGBA in floats; scale = pixels per design unit."""

    def __init__(self, width, height, scale=1.0, background=(0, 0, 0, 0.0)):
        self.w, self.h, self.s = width, height, float(scale)
        r, g, b, a = background
        self.px = [r * a, g * a, b * a, a] * (width * height)

    def fill(self, shape, colour):
        x0, y0, x1, y1 = shape.bbox
        s = self.s
        # One pixel of margin so the soft edge is not cut off.
        i0 = max(0, int(math.floor(x0 * s)) - 1)
        j0 = max(0, int(math.floor(y0 * s)) - 1)
        i1 = min(self.w, int(math.ceil(x1 * s)) + 1)
        j1 = min(self.h, int(math.ceil(y1 * s)) + 1)
        px = self.px
        flat = not callable(colour)
        if flat:
            cr, cg, cb, ca = colour
        for j in range(j0, j1):
            y = (j + 0.5) / s
            for i in range(i0, i1):
                x = (i + 0.5) / s
                cover = 0.5 - shape.d(x, y) * s
                if cover <= 0.0:
                    continue
                if cover > 1.0:
                    cover = 1.0
                if not flat:
                    cr, cg, cb, ca = colour(x, y)
                a = ca * cover
                k = (j * self.w + i) * 4
                keep = 1.0 - a
                px[k] = cr * a + px[k] * keep
                px[k + 1] = cg * a + px[k + 1] * keep
                px[k + 2] = cb * a + px[k + 2] * keep
                px[k + 3] = a + px[k + 3] * keep

    def pixel(self, i, j):
        """Straight (not premultiplied) RGBA bytes of one pixel."""
        k = (j * self.w + i) * 4
        a = self.px[k + 3]
        if a <= 0.0:
            return (0, 0, 0, 0)
        return tuple(int(round(max(0.0, min(255.0, v)))) for v in
                     (self.px[k] / a, self.px[k + 1] / a, self.px[k + 2] / a, a * 255.0))

    def rows(self):
        return [[self.pixel(i, j) for i in range(self.w)] for j in range(self.h)]


# ---- PNG ----

def _chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png_bytes(rows):
    """8-bit RGBA PNG from rows of (r, g, b, a) tuples."""
    height, width = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for pixel in row:
            raw.extend(pixel)
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", header)
            + _chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + _chunk(b"IEND", b""))


def write_png(path, rows):
    with open(path, "wb") as out:
        out.write(png_bytes(rows))


def read_png(path):
    """Reads back an 8-bit RGBA, non-interlaced PNG of our own making (for contact sheets)."""
    with open(path, "rb") as src:
        data = src.read()
    pos, idat, width, height = 8, b"", 0, 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height = struct.unpack(">II", body[:8])
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * 4 + 1
    rows = []
    for j in range(height):
        line = raw[j * stride + 1:(j + 1) * stride]
        rows.append([tuple(line[i * 4:i * 4 + 4]) for i in range(width)])
    return rows
