#!/usr/bin/env python3
"""Makes findfile.gif, the busy clip of the "Searching..." window: a magnifying glass sweeping
back and forth over a shelf of bottles, enlarging what it passes.

The frames are drawn with the rasteriser in ../icons and written by the GIF encoder below
(LZW and all), standard library only. The output is the same byte for byte on every run.

    python3 make_clip.py [OUT.gif]
"""

import math
import os
import sys

sys.dont_write_bytecode = True  # keep the resources folder free of caches
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "icons"))

from raster import (Box, Canvas, Capsule, Circle, Intersect, Poly, Stroke, Union, Zoom, rgb)  # noqa: E402

WIDTH, HEIGHT = 100, 60
FRAMES = 18
DELAY_CS = 8  # hundredths of a second per frame
# The status window's background: the clip's edges are blended against it, and pixels of exactly
# this colour are left transparent.
MATTE = (244, 246, 249)
INK = rgb("#3b4654")


def bottle(cx, base, body_w, body_h, neck_w, neck_h, glass, label, cap):
    """The parts of one bottle standing on base, as (shape, colour) pairs, back to front."""
    top = base - body_h
    shoulder = min(6.0, body_w / 2)
    body = Box(cx - body_w / 2, top, cx + body_w / 2, base, min(2.5, body_w / 3))
    shoulders = Poly([(cx - body_w / 2 + 0.5, top + 2), (cx + body_w / 2 - 0.5, top + 2),
                      (cx + neck_w / 2, top - shoulder + 1), (cx - neck_w / 2, top - shoulder + 1)], 0.5)
    neck = Box(cx - neck_w / 2, top - shoulder - neck_h, cx + neck_w / 2, top - shoulder + 2)
    whole = Union(body, shoulders, neck)
    return [
        (whole, glass),
        (Box(cx - body_w / 2 + 1.5, top + body_h * 0.35, cx + body_w / 2 - 1.5, top + body_h * 0.75, 0.5), label),
        (Box(cx - body_w / 2 + 1.5, top + 2, cx - body_w / 2 + 3, base - 3, 0.7), rgb("#ffffff", 0.35)),
        (Box(cx - neck_w / 2 - 0.5, top - shoulder - neck_h - 0.5, cx + neck_w / 2 + 0.5,
             top - shoulder - neck_h + 2.5, 0.6), cap),
        (Stroke(whole, 0.9), rgb("#2f3a46", 0.75)),
    ]


def shelf_scene():
    base = 47
    parts = []
    parts += bottle(20, base, 10, 17, 3.5, 7, rgb("#2e7d4f"), rgb("#f1e6c8"), rgb("#8e2b2b"))
    parts += bottle(35, base, 13, 15, 4.0, 4, rgb("#c9822a"), rgb("#fdf5e2"), rgb("#3b2a1a"))
    parts += bottle(50, base, 8, 22, 3.0, 7, rgb("#3d6fb6"), rgb("#ffffff"), rgb("#c7a23a"))
    parts += bottle(64, base, 11, 12, 3.5, 5, rgb("#b8322c"), rgb("#f6efe0"), rgb("#2b2b2b"))
    parts += bottle(80, base, 12, 19, 4.0, 6, rgb("#cfe6ea", 0.95), rgb("#3e7d8c"), rgb("#9aa4ad"))
    parts.append((Box(10, base, 92, base + 3.5, 1.0), rgb("#a8763e")))
    parts.append((Box(10, base + 2.2, 92, base + 3.5, 1.0), rgb("#7e5529")))
    return parts


def draw_frame(t, scene):
    canvas = Canvas(WIDTH, HEIGHT, 1.0, MATTE + (1.0,))
    for shape, colour in scene:
        canvas.fill(shape, colour)

    # The glass swings across the shelf and back, dipping a little at the ends of its travel.
    angle = 2 * math.pi * t
    cx = 50 + 25 * math.sin(angle)
    cy = 31 - 2 * math.cos(2 * angle)
    r = 12
    lens = Circle(cx, cy, r)
    hx, hy = cx + r * 0.72, cy + r * 0.72
    canvas.fill(Capsule(hx + 1, hy + 1, hx + 10, hy + 10, 2.6), INK)
    canvas.fill(Capsule(hx + 3, hy + 3, hx + 9.5, hy + 9.5, 1.1), rgb("#6c7886"))

    # Inside the lens: the shelf enlarged about the lens's centre.
    canvas.fill(lens, MATTE + (1.0,))
    zoom = 1.6
    for shape, colour in scene:
        enlarged = Zoom(shape, cx, cy, zoom)
        canvas.fill(Intersect(enlarged, lens), colour)
    canvas.fill(lens, rgb("#cfe9fb", 0.18))
    glint = Intersect(Circle(cx - r * 0.4, cy - r * 0.4, r * 0.3), lens)
    canvas.fill(glint, rgb("#ffffff", 0.5))
    canvas.fill(Stroke(lens, 3.0), INK)
    return canvas


# ---- Colour table ----

def opaque_pixels(canvas):
    out = []
    for j in range(canvas.h):
        for i in range(canvas.w):
            r, g, b, _a = canvas.pixel(i, j)
            out.append((r, g, b))
    return out


def build_palette(frames):
    """Up to 255 colours for all frames (index 0 stays transparent) and a colour -> index map."""
    counts = {}
    for pixels in frames:
        for c in pixels:
            if c != MATTE:
                counts[c] = counts.get(c, 0) + 1
    if len(counts) <= 255:
        palette = sorted(counts)
    else:
        # Too many shades from the soft edges: keep the most used of 5-bit buckets, each
        # represented by the average of its members, and send the rest to the nearest one.
        buckets = {}
        for (r, g, b), n in counts.items():
            key = (r >> 3, g >> 3, b >> 3)
            tot = buckets.setdefault(key, [0, 0, 0, 0])
            tot[0] += r * n
            tot[1] += g * n
            tot[2] += b * n
            tot[3] += n
        ranked = sorted(buckets.items(), key=lambda kv: (-kv[1][3], kv[0]))[:255]
        palette = sorted({(round(r / n), round(g / n), round(b / n)) for _k, (r, g, b, n) in ranked})
    lookup = {}

    def index_of(c):
        if c == MATTE:
            return 0
        found = lookup.get(c)
        if found is None:
            found = 1 + min(range(len(palette)),
                            key=lambda k: (palette[k][0] - c[0]) ** 2 + (palette[k][1] - c[1]) ** 2
                            + (palette[k][2] - c[2]) ** 2)
            lookup[c] = found
        return found

    return [MATTE] + palette, index_of


# ---- GIF writer ----

def lzw_compress(indices, min_code_size):
    """Variable-length-code LZW as GIF wants it, packed least significant bit first."""
    clear = 1 << min_code_size
    end = clear + 1
    out = bytearray()
    acc = 0
    nbits = 0

    def emit(code, size):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += size
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    size = min_code_size + 1
    table = {}
    next_code = end + 1
    emit(clear, size)
    prefix = indices[0]
    for k in indices[1:]:
        key = (prefix, k)
        code = table.get(key)
        if code is not None:
            prefix = code
            continue
        emit(prefix, size)
        if next_code < 4096:
            table[key] = next_code
            next_code += 1
            # The decoder adds each entry one code later than we do, so it widens its codes
            # after reading this one: widen ours from the next code on.
            if next_code > (1 << size) and size < 12:
                size += 1
        else:
            emit(clear, size)
            table = {}
            next_code = end + 1
            size = min_code_size + 1
        prefix = k
    emit(prefix, size)
    emit(end, size)
    if nbits:
        out.append(acc & 0xFF)
    return bytes(out)


def sub_blocks(data):
    out = bytearray()
    for pos in range(0, len(data), 255):
        piece = data[pos:pos + 255]
        out.append(len(piece))
        out += piece
    out.append(0)
    return bytes(out)


def gif_bytes(width, height, palette, frames, delay_cs):
    palette = palette + [(0, 0, 0)] * (256 - len(palette))
    out = bytearray(b"GIF89a")
    out += width.to_bytes(2, "little") + height.to_bytes(2, "little")
    out += bytes([0xF7, 0, 0])  # global colour table of 256 entries, background index 0
    for r, g, b in palette:
        out += bytes([r, g, b])
    # Loop for ever.
    out += b"\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00"
    for indices in frames:
        # Graphic control: restore to background after each frame (so the transparent
        # background does not show the frame before), delay, transparent index 0.
        out += b"\x21\xF9\x04" + bytes([(2 << 2) | 1]) + delay_cs.to_bytes(2, "little") + b"\x00\x00"
        out += b"\x2C" + (0).to_bytes(2, "little") * 2 + width.to_bytes(2, "little") + height.to_bytes(2, "little")
        out += b"\x00"
        out += bytes([8]) + sub_blocks(lzw_compress(indices, 8))
    out += b"\x3B"
    return bytes(out)


def main():
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "findfile.gif")
    scene = shelf_scene()
    frames = [opaque_pixels(draw_frame(n / FRAMES, scene)) for n in range(FRAMES)]
    palette, index_of = build_palette(frames)
    indexed = [[index_of(c) for c in pixels] for pixels in frames]
    with open(target, "wb") as out:
        out.write(gif_bytes(WIDTH, HEIGHT, palette, indexed, DELAY_CS))


if __name__ == "__main__":
    main()
