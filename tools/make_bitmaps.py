#!/usr/bin/env python3
"""Writes the skin's bitmaps (uncompressed, bottom-up, 40-byte header).

Usage: make_bitmaps.py OUTPUT_FOLDER
Deterministic: the same script always writes the same bytes.
"""
import os
import struct
import sys


def write_bmp24(path, width, height, pixel):
    """pixel(x, y) -> (r, g, b), y counted from the top."""
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    offset = 14 + 40
    filehdr = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(filehdr + header + data)


def write_bmp8(path, width, height, pixel):
    """Palette image: pixel(x, y) -> (r, g, b); at most 256 distinct colours."""
    palette = []
    index = {}
    grid = []
    for y in range(height):
        line = []
        for x in range(width):
            c = pixel(x, y)
            if c not in index:
                index[c] = len(palette)
                palette.append(c)
            line.append(index[c])
        grid.append(line)
    assert len(palette) <= 256
    palette += [(0, 0, 0)] * (256 - len(palette))
    stride = (width + 3) & ~3
    data = b"".join(bytes(grid[y]) + b"\0" * (stride - width) for y in range(height - 1, -1, -1))
    pal = b"".join(bytes((b, g, r, 0)) for (r, g, b) in palette)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(data), 2835, 2835, 256, 0)
    offset = 14 + 40 + len(pal)
    filehdr = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(filehdr + header + pal + data)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    red = lambda x, y: (200, 0, 0)
    write_bmp24(os.path.join(out, "header_left.bmp"), 16, 32, red)
    write_bmp24(os.path.join(out, "header_right.bmp"), 16, 32, red)
    write_bmp24(os.path.join(out, "header_tile.bmp"), 1, 32, red)
    write_bmp8(os.path.join(out, "face_disabled.bmp"), 109, 37, lambda x, y: (160, 160, 160))
    write_bmp24(os.path.join(out, "face_hover.bmp"), 109, 37, lambda x, y: (240, 40, 40))
    write_bmp24(os.path.join(out, "face_normal.bmp"), 109, 37, red)
    write_bmp24(os.path.join(out, "face_pressed.bmp"), 109, 37, lambda x, y: (130, 0, 0))
    write_bmp24(os.path.join(out, "face_ringed.bmp"), 109, 37, red)


if __name__ == "__main__":
    main()
