#!/usr/bin/env python3
"""Writes the program's icon, OxaAdvanced.ico, in the skin's colours.

Usage: make_icon.py OUTPUT_FOLDER
Deterministic: the same script always writes the same bytes. Standard
library only.

The picture is the settings dialog in small: a window with rounded top
corners, a red header bar and a light grey body holding two options, the
first ticked. Every size is drawn for its own pixel grid (a pixel is the
average of a grid of samples inside it), so the small ones stay sharp.
The sizes are those Windows asks for. The ones Windows XP asks for are
32-bit bitmaps with an AND mask; the others, which only later versions ask
for and which they read as PNG, are PNG, which keeps the program small.
"""
import math
import os
import struct
import sys
import zlib

HEADER_RED = (207, 0, 0)
HEADER_SHEEN = (236, 84, 78)
DARK_GREY = (114, 112, 112)
LIGHT_GREY = (226, 226, 226)
WHITE = (255, 255, 255)

SIZES = (16, 20, 24, 32, 40, 48, 64, 256)
PNG_SIZES = (20, 40, 64, 256)


class Layout:
    """Geometry of one size, in pixels of that size."""

    def __init__(self, size):
        s = float(size)
        pad = max(1.0, round(s / 16.0))
        self.left, self.top = pad - 1.0 if size < 24 else pad, pad
        self.right, self.bottom = s - self.left, s - pad
        self.outline = max(1.0, round(s / 24.0))
        self.radius = max(3.0, s * 0.2)
        self.header = round(s * 0.32)
        # Two options below the header: a box and a line each.
        body_top = self.top + self.header
        body = self.bottom - self.outline - body_top
        self.box = max(3.0, round(s * 0.18))
        self.box_left = self.left + self.outline + max(1.0, round(s * 0.1))
        self.rows = [body_top + body * 0.28 - self.box / 2.0, body_top + body * 0.74 - self.box / 2.0]
        self.rows = [round(r) for r in self.rows]
        self.line = max(1.0, round(s * 0.08))
        self.line_left = self.box_left + self.box + max(1.0, round(s * 0.08))
        self.line_right = self.right - self.outline - max(1.0, round(s * 0.1))
        self.stroke = max(1.2, self.box * 0.2)
        self.caption = s >= 32


def inside_window(g, x, y, inset):
    left, top = g.left + inset, g.top + inset
    right, bottom = g.right - inset, g.bottom - inset
    if not (left <= x < right and top <= y < bottom):
        return False
    r = g.radius - inset
    if y < top + r:
        if x < left + r:
            return math.hypot(left + r - x, top + r - y) <= r
        if x >= right - r:
            return math.hypot(x - (right - r), top + r - y) <= r
    return True


def distance_to_segment(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def colour_at(g, x, y):
    """(r, g, b, alpha 0..1) of the point (x, y)."""
    if not inside_window(g, x, y, 0.0):
        return (0, 0, 0, 0.0)
    if not inside_window(g, x, y, g.outline):
        return DARK_GREY + (1.0,)
    header_bottom = g.top + g.header
    if y < header_bottom:
        if g.caption:
            # A white caption line, centred on the bar.
            cy = g.top + g.header / 2.0
            half = max(1.0, g.line / 2.0)
            if abs(y - cy) < half and abs(x - (g.left + g.right) / 2.0) < (g.right - g.left) * 0.22:
                return WHITE + (1.0,)
        depth = (y - g.top) / g.header
        if depth < 0.45:
            t = depth / 0.45
            return tuple(HEADER_SHEEN[i] + (HEADER_RED[i] - HEADER_SHEEN[i]) * t for i in range(3)) + (1.0,)
        return HEADER_RED + (1.0,)
    for index, row in enumerate(g.rows):
        bx0, by0 = g.box_left, row
        bx1, by1 = bx0 + g.box, by0 + g.box
        if bx0 <= x < bx1 and by0 <= y < by1:
            edge = max(1.0, round(g.box / 6.0))
            if x < bx0 + edge or x >= bx1 - edge or y < by0 + edge or y >= by1 - edge:
                return DARK_GREY + (1.0,)
            if index == 0:
                # The tick, a red check mark inside the first box.
                ax, ay = bx0 + g.box * 0.22, by0 + g.box * 0.52
                mx, my = bx0 + g.box * 0.42, by0 + g.box * 0.74
                cx, cy = bx0 + g.box * 0.8, by0 + g.box * 0.26
                d = min(distance_to_segment(x, y, ax, ay, mx, my), distance_to_segment(x, y, mx, my, cx, cy))
                if d <= g.stroke / 2.0:
                    return HEADER_RED + (1.0,)
            return WHITE + (1.0,)
        line_top = row + (g.box - g.line) / 2.0
        line_top = round(line_top)
        if g.line_left <= x < g.line_right and line_top <= y < line_top + g.line:
            return DARK_GREY + (1.0,)
    return LIGHT_GREY + (1.0,)


def render(size):
    """Rows of (r, g, b, a) byte values, top row first."""
    g = Layout(size)
    samples = 4 if size <= 64 else 3
    offsets = [(i + 0.5) / samples for i in range(samples)]
    n = samples * samples
    rows = []
    for y in range(size):
        line = []
        for x in range(size):
            r = gr = b = a = 0.0
            for oy in offsets:
                for ox in offsets:
                    cr, cg, cb, ca = colour_at(g, x + ox, y + oy)
                    r += cr * ca
                    gr += cg * ca
                    b += cb * ca
                    a += ca
            if a == 0.0:
                line.append((0, 0, 0, 0))
            else:
                line.append((int(round(r / a)), int(round(gr / a)), int(round(b / a)), int(round(255 * a / n))))
        rows.append(line)
    return rows


def bitmap_entry(rows):
    """A 32-bit icon image: header, pixels bottom-up, AND mask."""
    size = len(rows)
    pixels = b"".join(bytes(c for (r, g, b, a) in line for c in (b, g, r, a)) for line in reversed(rows))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for line in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(line):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + pixels + bytes(mask)


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


def png_entry(rows):
    size = len(rows)
    raw = b"".join(b"\0" + bytes(c for px in line for c in px) for line in rows)
    return (b"\x89PNG\r\n\x1a\n"
            + png_chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + png_chunk(b"IDAT", zlib.compress(raw, 9))
            + png_chunk(b"IEND", b""))


def icon_file():
    images = [png_entry(render(s)) if s in PNG_SIZES else bitmap_entry(render(s)) for s in SIZES]
    out = struct.pack("<HHH", 0, 1, len(SIZES))
    offset = 6 + 16 * len(SIZES)
    for size, image in zip(SIZES, images):
        side = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return out + b"".join(images)


def main():
    if len(sys.argv) != 2:
        raise SystemExit("usage: make_icon.py OUTPUT_FOLDER")
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "OxaAdvanced.ico"), "wb") as f:
        f.write(icon_file())


if __name__ == "__main__":
    main()
