#!/usr/bin/env python3
"""Draws the demo game's cursor image and writes them as PNG files into bmp/.

cursor.png: a strip of 32 x 32 cells: 0 and 1 the plain arrow, 2 pointing hand (hot spot 12, 0),
3 text beam. Cell 0 is not a waiting pointer: the game shows it while it runs on its own (fades,
movies) and also after a page is turned and while keys steer a menu, when it waits for the
player. Only the standard library is used, so anyone can remake the files:
python3 demo/generate_images.py
"""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def write_png(path, width, height, pixels):
    """pixels: rows of (r, g, b, a) tuples."""
    raw = b"".join(b"\x00" + b"".join(struct.pack("4B", *p) for p in row) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
    data += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(data)


CLEAR = (0, 0, 0, 0)
BLACK = (0, 0, 0, 255)
WHITE = (255, 255, 255, 255)


def outlined(inside, x, y):
    """1 inside the shape, 2 on its outline, 0 outside."""
    if not inside(x, y):
        return 0
    for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
        if not inside(x + dx, y + dy):
            return 2
    return 1


def arrow_mask(x, y):
    """The arrow; tip at (0, 0)."""
    def inside(px, py):
        if 0 <= py < 16 and 0 <= px <= py * 0.6:
            return True
        # the tail
        return 12 <= py < 22 and 3 + (py - 12) * 0.3 <= px <= 6 + (py - 12) * 0.3
    return outlined(inside, x, y)


def hand_mask(x, y):
    """A pointing hand: finger up from (12, 0)."""
    def inside(px, py):
        finger = 10 <= px <= 14 and 0 <= py < 14
        palm = 6 <= px <= 22 and 12 <= py < 28
        return finger or palm
    return outlined(inside, x, y)


def beam_mask(x, y):
    def inside(px, py):
        stem = 7 <= px <= 8 and 0 <= py < 20
        bars = 4 <= px <= 11 and (py in (0, 1, 18, 19))
        return stem or bars
    return outlined(inside, x, y)


def cell_pixel(cell, x, y):
    if cell in (0, 1):
        m = arrow_mask(x, y)
    elif cell == 2:
        m = hand_mask(x, y)
    else:
        m = beam_mask(x, y)
    return {0: CLEAR, 1: WHITE, 2: BLACK}[m]


def cursor():
    cells = 4
    rows = [[cell_pixel(x // 32, x % 32, y) for x in range(32 * cells)] for y in range(32)]
    write_png(os.path.join(HERE, "bmp", "cursor.png"), 32 * cells, 32, rows)


if __name__ == "__main__":
    os.makedirs(os.path.join(HERE, "bmp"), exist_ok=True)
    cursor()
