#!/usr/bin/env python3
"""Draws Zestro's toolbar icons and application icon into this folder.

Toolbar icons are drawn on a 24-unit grid and written at 24 px and 48 px (name@2x.png, which QIcon
picks up on high-DPI screens). The application icon is drawn on a 256-unit grid and written at
the freedesktop icon sizes 16, 22, 24, 32, 48, 64, 128, 256 and 512 px (zestro.png is the 256 px
one), and as zestro.svg for the scalable icon folder. Run it again after changing a drawing; the
output is the same byte for byte on every run.

    python3 draw_icons.py                 # rewrite the PNGs beside this script
    python3 draw_icons.py --sheet out.png # also write a contact sheet for looking at them
"""

import os
import sys

sys.dont_write_bytecode = True  # keep the resources folder free of caches

from raster import (Box, Canvas, Capsule, Circle, Ellipse, Grow, Intersect, Poly, Stroke, Subtract,
                    Union, read_png, rgb, vgradient, write_png)

HERE = os.path.dirname(os.path.abspath(__file__))

# One palette for the whole set: a dark outline of the fill's own hue, fills lighter at the top.
INK = rgb("#3b4654")
PAPER = rgb("#ffffff")
PAPER_LINE = rgb("#9fb0c4")
BLUE_TOP, BLUE_BOTTOM, BLUE_INK = rgb("#5c9ded"), rgb("#2f6fc6"), rgb("#1d4c8f")
GREEN, GREEN_INK = rgb("#3fae4a"), rgb("#23752c")
RED_TOP, RED_BOTTOM, RED_INK = rgb("#f26b5e"), rgb("#d23a2f"), rgb("#8f1f18")
GOLD, GOLD_INK = rgb("#ffc93c"), rgb("#b07d0a")
GLASS, GLASS_INK = rgb("#dff1fb", 0.9), rgb("#4d7897")
DRINK = rgb("#f7a35c")
GREY_TOP, GREY_BOTTOM = rgb("#aab4bf"), rgb("#7b8794")


def outlined(canvas, shape, fill, ink, width=1.0):
    canvas.fill(shape, fill)
    canvas.fill(Stroke(shape, width), ink)


def arrow(canvas, pointing_left):
    pts = [(2.5, 12), (11, 3.5), (11, 8.5), (21, 8.5), (21, 15.5), (11, 15.5), (11, 20.5)]
    if not pointing_left:
        pts = [(24 - x, y) for x, y in pts]
    shape = Poly(pts, 0.5)
    outlined(canvas, shape, vgradient(BLUE_TOP, BLUE_BOTTOM, 4, 20), BLUE_INK)


def sheet(canvas, x0, y0, x1, y1, lines=True):
    page = Box(x0, y0, x1, y1, 1.0)
    outlined(canvas, page, PAPER, INK)
    if lines:
        y = y0 + 3.5
        while y < y1 - 2:
            canvas.fill(Capsule(x0 + 2.5, y, x1 - 2.5, y, 0.5), PAPER_LINE)
            y += 2.5


def badge(canvas, cx, cy, fill, ink):
    """A round badge with a white ring, so it stands clear of what it sits on."""
    canvas.fill(Circle(cx, cy, 6.2), PAPER)
    outlined(canvas, Circle(cx, cy, 5.2), fill, ink)


def check(canvas, cx, cy, size, colour, width):
    pts = [(cx - size, cy), (cx - size * 0.35, cy + size * 0.65), (cx + size, cy - size * 0.75)]
    canvas.fill(Union(Capsule(*pts[0], *pts[1], width / 2), Capsule(*pts[1], *pts[2], width / 2)), colour)


def cocktail_glass(canvas, left, top, right, bottom):
    """A stemmed cocktail glass on the 24 grid, half filled."""
    mid = (left + right) / 2
    bowl_bottom = top + (bottom - top) * 0.55
    bowl = Poly([(left, top), (right, top), (mid, bowl_bottom)], 0.3)
    canvas.fill(bowl, GLASS)
    level = top + (bowl_bottom - top) * 0.35
    canvas.fill(Intersect(bowl, Box(left - 1, level, right + 1, bowl_bottom + 1)), DRINK)
    canvas.fill(Stroke(bowl, 1.0), GLASS_INK)
    canvas.fill(Capsule(mid, bowl_bottom, mid, bottom - 0.5, 0.6), GLASS_INK)
    canvas.fill(Capsule(mid - 4, bottom - 0.5, mid + 4, bottom - 0.5, 0.7), GLASS_INK)


# ---- The toolbar icons (24-unit grid) ----

def icon_previous(c):
    arrow(c, True)


def icon_next(c):
    arrow(c, False)


def icon_copy(c):
    sheet(c, 3.5, 2.5, 15.5, 17.5)
    sheet(c, 8.5, 6.5, 20.5, 21.5)


def icon_add(c):
    sheet(c, 3.5, 2.5, 16.5, 20.5)
    badge(c, 17, 17, GREEN, GREEN_INK)
    c.fill(Capsule(14, 17, 20, 17, 0.95), PAPER)
    c.fill(Capsule(17, 14, 17, 20, 0.95), PAPER)


def icon_edit(c):
    # A pencil lying from top right to bottom left: eraser, band, yellow body, wooden tip, lead.
    def along(t, side):
        # Point at fraction t from the eraser end, offset sideways by side.
        ax, ay, bx, by = 19.5, 4.5, 4.5, 19.5
        nx, ny = 0.7071, 0.7071
        return (ax + (bx - ax) * t + nx * side, ay + (by - ay) * t + ny * side)

    def band(t0, t1, half):
        return Poly([along(t0, -half), along(t0, half), along(t1, half), along(t1, -half)])

    tip = Poly([along(0.78, -2.6), along(0.78, 2.6), along(1.02, 0)])
    lead = Poly([along(0.92, -0.9), along(0.92, 0.9), along(1.02, 0)])
    body = band(0.2, 0.78, 2.6)
    eraser = Poly([along(-0.04, -2.6), along(-0.04, 2.6), along(0.13, 2.6), along(0.13, -2.6)], 0.4)
    c.fill(eraser, rgb("#f28ba0"))
    c.fill(band(0.13, 0.2, 2.6), rgb("#b8c2cc"))
    c.fill(body, vgradient(GOLD, rgb("#f3a712"), 5, 18))
    c.fill(band(0.2, 0.78, 0.6), rgb("#f7b928"))
    c.fill(tip, rgb("#f3d6a4"))
    c.fill(lead, INK)
    outline = Union(eraser, band(0.1, 0.78, 2.6), tip)
    c.fill(Stroke(outline, 1.0), rgb("#6b4c12"))


def icon_delete(c):
    cross = Union(Capsule(5.5, 5.5, 18.5, 18.5, 2.6), Capsule(18.5, 5.5, 5.5, 18.5, 2.6))
    outlined(c, cross, vgradient(RED_TOP, RED_BOTTOM, 4, 20), RED_INK)


def icon_tried(c):
    cocktail_glass(c, 2.5, 3.5, 17.5, 21.5)
    badge(c, 17, 17, GREEN, GREEN_INK)
    check(c, 17, 17.3, 3.0, PAPER, 1.9)


def icon_print_mark(c):
    ribbon = Poly([(6.5, 2.5), (17.5, 2.5), (17.5, 21.5), (12, 16.5), (6.5, 21.5)], 0.3)
    outlined(c, ribbon, vgradient(RED_TOP, RED_BOTTOM, 3, 21), RED_INK)
    c.fill(Box(6.5, 5.5, 17.5, 7.5), rgb("#ffffff", 0.55))


def sparkle(c, cx, cy, r):
    star = Poly([(cx, cy - r), (cx + r * 0.28, cy - r * 0.28), (cx + r, cy), (cx + r * 0.28, cy + r * 0.28),
                 (cx, cy + r), (cx - r * 0.28, cy + r * 0.28), (cx - r, cy), (cx - r * 0.28, cy - r * 0.28)])
    outlined(c, star, GOLD, GOLD_INK, 0.8)


def icon_search_wizard(c):
    c.fill(Capsule(14.5, 14.5, 20.5, 20.5, 2.1), INK)
    c.fill(Capsule(15.2, 15.2, 20.0, 20.0, 1.0), rgb("#6c7886"))
    lens = Circle(9.5, 9.5, 6.5)
    c.fill(lens, rgb("#cfe9fb", 0.95))
    c.fill(Intersect(Circle(8, 8, 3.2), Subtract(lens, Circle(9.5, 9.5, 4.2))), rgb("#ffffff", 0.9))
    c.fill(Stroke(lens, 2.0), INK)
    sparkle(c, 19.5, 4.5, 4.2)
    c.fill(Poly([(21.5, 9), (22.1, 10.4), (23.5, 11), (22.1, 11.6), (21.5, 13), (20.9, 11.6), (19.5, 11),
                 (20.9, 10.4)]), GOLD_INK)


def icon_print(c):
    paper_in = Box(6.5, 2.5, 17.5, 10.5, 0.5)
    outlined(c, paper_in, PAPER, INK)
    body = Box(2.5, 8.5, 21.5, 17.5, 2.0)
    outlined(c, body, vgradient(GREY_TOP, GREY_BOTTOM, 9, 18), INK)
    c.fill(Capsule(5, 11.5, 6, 11.5, 0.7), GREEN)
    slot = Box(5.5, 14.5, 18.5, 16.0, 0.5)
    c.fill(slot, INK)
    paper_out = Box(6.5, 14.5, 17.5, 21.5, 0.5)
    outlined(c, paper_out, PAPER, INK)
    for y in (17.5, 19.5):
        c.fill(Capsule(8.5, y, 15.5, y, 0.45), PAPER_LINE)


TOOLBAR = [
    ("previous", icon_previous),
    ("next", icon_next),
    ("copy", icon_copy),
    ("add", icon_add),
    ("edit", icon_edit),
    ("delete", icon_delete),
    ("tried", icon_tried),
    ("print-mark", icon_print_mark),
    ("search-wizard", icon_search_wizard),
    ("print", icon_print),
]


# ---- The application icon (256-unit grid) ----

def app_icon(c, px):
    # Lines must stay at least about a pixel wide at the small sizes.
    line = max(9.0, 1.3 * 256 / px)
    tile = Box(6, 6, 250, 250, 52) if px >= 32 else Box(0, 0, 256, 256, 40)
    c.fill(tile, vgradient(rgb("#2f7ea6"), rgb("#153a57"), 0, 256))
    c.fill(Intersect(tile, Ellipse(128, 30, 190, 110)), rgb("#ffffff", 0.08))

    left, right, rim, point = 46, 210, 78, 152
    bowl = Poly([(left, rim), (right, rim), (128, point)])
    c.fill(bowl, rgb("#ffffff", 0.22))
    level = rim + 16
    c.fill(Intersect(bowl, Box(0, level, 256, 256)), vgradient(rgb("#d7f06a"), rgb("#8fc93a"), level, point))
    c.fill(Stroke(bowl, line), PAPER)
    c.fill(Capsule(128, point, 128, 206, line * 0.6), PAPER)
    c.fill(Ellipse(128, 212, 42, max(line * 0.75, 8)), PAPER)

    # The lime wheel sits on the rim's right corner with a cut, as a bartender puts it.
    cx, cy, r = 192, 70, 44 if px >= 32 else 56
    wheel = Circle(cx, cy, r)
    c.fill(Grow(wheel, line * 0.5), rgb("#153a57", 0.22))
    c.fill(wheel, rgb("#3f9a2e"))
    c.fill(Circle(cx, cy, r * 0.86), rgb("#f2f9d6"))
    flesh = Circle(cx, cy, r * 0.76)
    c.fill(flesh, rgb("#b7e04a"))
    if px >= 48:
        spokes = [Capsule(cx, cy, cx + r * 0.8 * dx, cy + r * 0.8 * dy, r * 0.045) for dx, dy in
                  ((1, 0), (0.7071, 0.7071), (0, 1), (-0.7071, 0.7071), (-1, 0), (-0.7071, -0.7071),
                   (0, -1), (0.7071, -0.7071))]
        c.fill(Intersect(Union(*spokes), flesh), rgb("#f2f9d6"))
        c.fill(Circle(cx, cy, r * 0.1), rgb("#f2f9d6"))


def app_icon_svg():
    """The application icon at its large-size drawing, as SVG text with the same geometry."""
    def f(v):
        return ("%.2f" % v).rstrip("0").rstrip(".")

    def hexa(colour):
        return "#%02x%02x%02x" % colour[:3]

    left, right, rim, point, level = 46, 210, 78, 152, 94
    t = (level - rim) / (point - rim)
    drink = [(left + (128 - left) * t, level), (right - (right - 128) * t, level), (128, point)]
    cx, cy, r = 192, 70, 44
    spokes = "".join(
        '<line x1="%s" y1="%s" x2="%s" y2="%s"/>' % (f(cx), f(cy), f(cx + r * 0.8 * dx), f(cy + r * 0.8 * dy))
        for dx, dy in ((1, 0), (0.7071, 0.7071), (0, 1), (-0.7071, 0.7071)) for dx, dy in ((dx, dy), (-dx, -dy)))
    return "\n".join([
        '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">',
        '<defs>',
        '<linearGradient id="tile" x1="0" y1="0" x2="0" y2="256" gradientUnits="userSpaceOnUse">'
        '<stop offset="0" stop-color="#2f7ea6"/><stop offset="1" stop-color="#153a57"/></linearGradient>',
        '<linearGradient id="drink" x1="0" y1="%s" x2="0" y2="%s" gradientUnits="userSpaceOnUse">'
        '<stop offset="0" stop-color="#d7f06a"/><stop offset="1" stop-color="#8fc93a"/></linearGradient>'
        % (level, point),
        '<clipPath id="tileClip"><rect x="6" y="6" width="244" height="244" rx="52"/></clipPath>',
        '<clipPath id="flesh"><circle cx="%s" cy="%s" r="%s"/></clipPath>' % (cx, cy, f(r * 0.76)),
        '</defs>',
        '<rect x="6" y="6" width="244" height="244" rx="52" fill="url(#tile)"/>',
        '<ellipse cx="128" cy="30" rx="190" ry="110" fill="#ffffff" fill-opacity="0.08" clip-path="url(#tileClip)"/>',
        '<polygon points="%s,%s %s,%s 128,%s" fill="#ffffff" fill-opacity="0.22"/>' % (left, rim, right, rim, point),
        '<polygon points="%s" fill="url(#drink)"/>' % " ".join("%s,%s" % (f(x), f(y)) for x, y in drink),
        '<polygon points="%s,%s %s,%s 128,%s" fill="none" stroke="%s" stroke-width="9" stroke-linejoin="round"/>'
        % (left, rim, right, rim, point, hexa(PAPER)),
        '<line x1="128" y1="%s" x2="128" y2="206" stroke="#ffffff" stroke-width="10.8" stroke-linecap="round"/>'
        % point,
        '<ellipse cx="128" cy="212" rx="42" ry="8" fill="#ffffff"/>',
        '<circle cx="%s" cy="%s" r="%s" fill="#153a57" fill-opacity="0.22"/>' % (cx, cy, f(r + 4.5)),
        '<circle cx="%s" cy="%s" r="%s" fill="#3f9a2e"/>' % (cx, cy, r),
        '<circle cx="%s" cy="%s" r="%s" fill="#f2f9d6"/>' % (cx, cy, f(r * 0.86)),
        '<circle cx="%s" cy="%s" r="%s" fill="#b7e04a"/>' % (cx, cy, f(r * 0.76)),
        '<g stroke="#f2f9d6" stroke-width="%s" stroke-linecap="round" clip-path="url(#flesh)">%s</g>'
        % (f(r * 0.09), spokes),
        '<circle cx="%s" cy="%s" r="%s" fill="#f2f9d6"/>' % (cx, cy, f(r * 0.1)),
        '</svg>',
        ''])


APP_SIZES = (16, 22, 24, 32, 48, 64, 128, 256, 512)


def render_all():
    written = []
    for name, draw in TOOLBAR:
        for px, suffix in ((24, ""), (48, "@2x")):
            canvas = Canvas(px, px, px / 24)
            draw(canvas)
            path = os.path.join(HERE, "%s%s.png" % (name, suffix))
            write_png(path, canvas.rows())
            written.append(path)
    for px in APP_SIZES:
        canvas = Canvas(px, px, px / 256)
        app_icon(canvas, px)
        path = os.path.join(HERE, "zestro.png" if px == 256 else "zestro-%d.png" % px)
        write_png(path, canvas.rows())
        written.append(path)
    path = os.path.join(HERE, "zestro.svg")
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        out.write(app_icon_svg())
    written.append(path)
    return written


def contact_sheet(path):
    """Every icon on a light and a dark strip, at its own size and enlarged four times."""
    images = [read_png(os.path.join(HERE, n + ".png")) for n, _ in TOOLBAR]
    images2x = [read_png(os.path.join(HERE, n + "@2x.png")) for n, _ in TOOLBAR]
    apps = [read_png(os.path.join(HERE, "zestro.png" if s == 256 else "zestro-%d.png" % s)) for s in APP_SIZES]
    width = 10 * 110 + 20
    height = 520
    sheet_px = [[(236, 238, 241, 255)] * width for _ in range(height)]
    for y in range(130, 170):
        sheet_px[y] = [(45, 49, 56, 255)] * width

    def put(img, ox, oy, zoom=1):
        for j, row in enumerate(img):
            for i, (r, g, b, a) in enumerate(row):
                for dy in range(zoom):
                    for dx in range(zoom):
                        x, y = ox + i * zoom + dx, oy + j * zoom + dy
                        if 0 <= x < width and 0 <= y < height:
                            br, bg, bb, _ = sheet_px[y][x]
                            t = a / 255
                            sheet_px[y][x] = (round(r * t + br * (1 - t)), round(g * t + bg * (1 - t)),
                                              round(b * t + bb * (1 - t)), 255)

    for k, (img, img2) in enumerate(zip(images, images2x)):
        put(img, 20 + k * 110, 10, 4)
        put(img, 20 + k * 110, 110)
        put(img, 60 + k * 110, 138)
        put(img2, 50 + k * 110, 180)
    x = 20
    for img in apps:
        put(img, x, 250)
        x += len(img[0]) + 20
    write_png(path, sheet_px)


def main():
    render_all()
    if len(sys.argv) == 3 and sys.argv[1] == "--sheet":
        contact_sheet(sys.argv[2])


if __name__ == "__main__":
    main()
