#!/usr/bin/env python3
"""Writes the skin's bitmaps (uncompressed, bottom-up, 40-byte header).

Usage: make_bitmaps.py OUTPUT_FOLDER
Deterministic: the same script always writes the same bytes. Standard
library only.

Each picture is described as a colour at any point of the plane; a pixel is
the average of a 4 x 4 grid of samples inside it, which smooths the rounded
outlines.
"""
import math
import os
import struct
import sys

SAMPLES = 4

# The message box's background and the outer corners of the header caps.
DARK_BRUSH = (114, 112, 112)
# The outer line of the frame; the header's outline continues it.
OUTLINE_GREY = (64, 64, 64)

CAP_WIDTH, BAR_HEIGHT = 16, 32
# The window's top corners are circles of radius 15 whose region covers
# pixels 0..28; the caps follow the same curve.
CORNER_RADIUS = 14.5

FACE_WIDTH, FACE_HEIGHT = 109, 37


def mix(a, b, t):
    """a where t = 0, b where t = 1."""
    t = 0.0 if t < 0 else 1.0 if t > 1 else t
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def render(width, height, colour_at):
    """Pixel grid [y][x] of (r, g, b) byte values, y from the top."""
    step = 1.0 / SAMPLES
    offsets = [(i + 0.5) * step for i in range(SAMPLES)]
    grid = []
    for y in range(height):
        line = []
        for x in range(width):
            r = g = b = 0.0
            for oy in offsets:
                for ox in offsets:
                    cr, cg, cb = colour_at(x + ox, y + oy)
                    r += cr
                    g += cg
                    b += cb
            n = SAMPLES * SAMPLES
            line.append(tuple(int(round(v / n)) for v in (r, g, b)))
        grid.append(line)
    return grid


# ---------------------------------------------------------------- header bar

def bar_body(y):
    """The glossy red of the bar's body at height y (0..32)."""
    if y < 15.0:
        # Upper half: a light sheen fading into the red.
        return mix((246, 92, 86), (214, 28, 24), y / 15.0)
    if y < 16.0:
        return mix((214, 28, 24), (178, 6, 4), y - 15.0)
    # Lower half: deeper red, lifting a little towards the bottom.
    return mix((178, 6, 4), (206, 22, 16), (y - 16.0) / 15.0)


def bar_profile(depth, y):
    """Colour at `depth` pixels in from the bar's outline, at height y."""
    if depth < 0:
        return DARK_BRUSH
    if depth < 2.0:
        return OUTLINE_GREY
    if depth < 3.0:
        return (255, 196, 188)
    if depth < 4.0:
        return mix((255, 196, 188), bar_body(y), 0.5)
    return bar_body(y)


def bar_colour(x, y):
    """The left end of the bar: x from 0 (outside edge) up, y from the top."""
    if y >= 31.0:
        return OUTLINE_GREY if x < 2.0 else (116, 0, 0)
    c = CORNER_RADIUS
    if x < c and y < c:
        depth = c - math.hypot(c - x, c - y)
        if depth >= 2.0 and depth < 4.0:
            # The highlight follows the curve but fades on the way down, so
            # the side stays a clean red next to the grey outline.
            fade = max(0.0, min(1.0, (c - y) / c)) ** 0.7
            return mix(bar_body(y), bar_profile(depth, y), fade)
        return bar_profile(depth, y)
    if x < c:
        return OUTLINE_GREY if x < 2.0 else bar_body(y)
    return bar_profile(y, y)


def left_cap():
    return render(CAP_WIDTH, BAR_HEIGHT, bar_colour)


def right_cap():
    return [list(reversed(line)) for line in left_cap()]


def tile():
    # The column where the cap's top is already straight, so rows line up.
    return render(1, BAR_HEIGHT, lambda x, y: bar_colour(CAP_WIDTH - 1 + x, y))


# -------------------------------------------------------------- button faces

FACE_RADIUS = 9.0
FACE_INSET = 1.0


def rounded_depth(x, y):
    """How far (x, y) lies inside the face's rounded rectangle (negative outside)."""
    left, top = FACE_INSET, FACE_INSET
    right, bottom = FACE_WIDTH - FACE_INSET, FACE_HEIGHT - FACE_INSET
    cx, cy = (left + right) / 2.0, (top + bottom) / 2.0
    hx, hy = (right - left) / 2.0 - FACE_RADIUS, (bottom - top) / 2.0 - FACE_RADIUS
    qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    inside = min(max(qx, qy), 0.0)
    return -(outside + inside - FACE_RADIUS)


def face(top_light, mid_light, mid_dark, bottom, outline, rim, surround, ring=None):
    """A glossy face: light upper half, darker lower half, thin rim light."""
    middle = FACE_HEIGHT / 2.0

    def body(y):
        if y < middle:
            return mix(top_light, mid_light, (y - FACE_INSET) / (middle - FACE_INSET))
        return mix(mid_dark, bottom, (y - middle) / (FACE_HEIGHT - FACE_INSET - middle))

    def colour(x, y):
        depth = rounded_depth(x, y)
        if depth < 0.0:
            return surround
        if ring is not None:
            # A light ring around the face, inside the dark surround.
            if depth < 1.5:
                return ring
            depth -= 1.5
        if depth < 1.25:
            return outline
        if depth < 2.25:
            # The rim light is strong along the top and fades downwards.
            return mix(rim, body(y), 0.35 + 0.65 * (y / FACE_HEIGHT))
        return body(y)

    return render(FACE_WIDTH, FACE_HEIGHT, colour)


FACE_SURROUND = DARK_BRUSH


def face_normal():
    return face((244, 104, 98), (218, 36, 30), (182, 8, 6), (208, 30, 22),
                (72, 10, 8), (255, 190, 182), FACE_SURROUND)


def face_hover():
    return face((255, 146, 138), (246, 64, 56), (216, 22, 16), (246, 66, 54),
                (86, 14, 10), (255, 220, 214), FACE_SURROUND)


def face_pressed():
    # The gradient turned upside down: dark at the top, lighter below.
    return face((104, 0, 0), (128, 2, 2), (144, 6, 6), (176, 34, 30),
                (52, 4, 4), (150, 40, 36), FACE_SURROUND)


def face_disabled():
    return face((222, 222, 222), (202, 202, 202), (184, 184, 184), (200, 200, 200),
                (120, 120, 120), (246, 246, 246), FACE_SURROUND)


def face_ringed():
    return face((244, 104, 98), (218, 36, 30), (182, 8, 6), (208, 30, 22),
                (72, 10, 8), (255, 190, 182), FACE_SURROUND, ring=(250, 226, 222))


# -------------------------------------------------------------------- files

def bmp_headers(width, height, bits, data_size, palette_size):
    colours_used = 256 if bits == 8 else 0
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, data_size, 2835, 2835, colours_used, 0)
    offset = 14 + 40 + palette_size
    file_header = struct.pack("<2sIHHI", b"BM", offset + data_size, 0, 0, offset)
    return file_header + info


def write_bmp24(path, grid):
    height, width = len(grid), len(grid[0])
    stride = (width * 3 + 3) & ~3
    rows = []
    for line in reversed(grid):
        row = bytearray()
        for r, g, b in line:
            row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    with open(path, "wb") as f:
        f.write(bmp_headers(width, height, 24, len(data), 0) + data)


def write_bmp8(path, grid):
    height, width = len(grid), len(grid[0])
    colours = sorted({c for line in grid for c in line})
    if len(colours) > 256:
        raise SystemExit("%s: %d colours do not fit a 256-colour palette" % (path, len(colours)))
    index = {c: i for i, c in enumerate(colours)}
    palette = colours + [(0, 0, 0)] * (256 - len(colours))
    stride = (width + 3) & ~3
    data = b"".join(bytes(index[c] for c in line) + b"\0" * (stride - width) for line in reversed(grid))
    pal = b"".join(bytes((b, g, r, 0)) for (r, g, b) in palette)
    with open(path, "wb") as f:
        f.write(bmp_headers(width, height, 8, len(data), len(pal)) + pal + data)


def main():
    if len(sys.argv) != 2:
        raise SystemExit("usage: make_bitmaps.py OUTPUT_FOLDER")
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_bmp24(os.path.join(out, "header_left.bmp"), left_cap())
    write_bmp24(os.path.join(out, "header_right.bmp"), right_cap())
    write_bmp24(os.path.join(out, "header_tile.bmp"), tile())
    write_bmp8(os.path.join(out, "face_disabled.bmp"), face_disabled())
    write_bmp24(os.path.join(out, "face_hover.bmp"), face_hover())
    write_bmp24(os.path.join(out, "face_normal.bmp"), face_normal())
    write_bmp24(os.path.join(out, "face_pressed.bmp"), face_pressed())
    write_bmp24(os.path.join(out, "face_ringed.bmp"), face_ringed())


if __name__ == "__main__":
    main()
