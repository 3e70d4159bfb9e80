#!/usr/bin/env python3
"""Draws the backgrounds of the demo's first chapter into bmp/visual/, each labelled with its
file name in large letters so that a screenshot tells which picture (and which layer) is seen:

station.png   800 x 600  a station platform under a morning sky (PNG)
street.jpg    800 x 600  a street at dusk (JPEG, baseline, written by jpeg_writer.py)
grid.png      1000 x 750 a numbered grid with corner marks for the background animations

Only the standard library is used: python3 demo/generate_story_images.py
"""
import math
import os

from generate_images import write_png
from jpeg_writer import write_jpeg

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "bmp", "visual")

# A 5 x 7 font: each glyph is seven rows of five cells, "#" set.
FONT = {
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "B": ["####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."],
    "C": [".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."],
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "F": ["#####", "#....", "#....", "####.", "#....", "#....", "#...."],
    "G": [".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"],
    "H": ["#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "I": [".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "J": ["..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."],
    "K": ["#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    "N": ["#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "Q": [".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "U": ["#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "V": ["#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    "W": ["#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."],
    "X": ["#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"],
    "Y": ["#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."],
    "Z": ["#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"],
    "0": [".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."],
    "1": ["..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "2": [".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"],
    "3": ["#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."],
    "4": ["...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."],
    "5": ["#####", "#....", "####.", "....#", "....#", "#...#", ".###."],
    "6": ["..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."],
    "7": ["#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."],
    "8": [".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."],
    "9": [".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."],
    ".": [".....", ".....", ".....", ".....", ".....", ".##..", ".##.."],
    "-": [".....", ".....", ".....", "#####", ".....", ".....", "....."],
    "+": [".....", "..#..", "..#..", "#####", "..#..", "..#..", "....."],
    " ": ["....."] * 7,
}


class Canvas:
    def __init__(self, width, height, fill):
        self.width = width
        self.height = height
        self.rows = [[fill(x, y) for x in range(width)] for y in range(height)]

    def rect(self, left, top, right, bottom, colour):
        for y in range(max(top, 0), min(bottom, self.height)):
            row = self.rows[y]
            for x in range(max(left, 0), min(right, self.width)):
                row[x] = colour

    def disc(self, cx, cy, radius, colour):
        for y in range(max(cy - radius, 0), min(cy + radius + 1, self.height)):
            for x in range(max(cx - radius, 0), min(cx + radius + 1, self.width)):
                if (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius:
                    self.rows[y][x] = colour

    def text(self, x, y, text, scale, colour, outline=(0, 0, 0)):
        """Draws `text` with its top left at (x, y), each font cell `scale` pixels, outlined."""
        for pass_colour, grow in ((outline, max(scale // 3, 1)), (colour, 0)):
            pen = x
            for char in text:
                glyph = FONT[char]
                for row, cells in enumerate(glyph):
                    for column, cell in enumerate(cells):
                        if cell == "#":
                            left = pen + column * scale
                            top = y + row * scale
                            self.rect(left - grow, top - grow, left + scale + grow,
                                      top + scale + grow, pass_colour)
                pen += 6 * scale

    def rgba(self):
        return [[(r, g, b, 255) for r, g, b in row] for row in self.rows]


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def station():
    sky_top, sky_low = (90, 150, 220), (220, 235, 250)
    canvas = Canvas(800, 600, lambda x, y: mix(sky_top, sky_low, y / 360) if y < 360
                    else mix((110, 110, 120), (70, 70, 80), (y - 360) / 240))
    canvas.disc(640, 110, 50, (255, 244, 200))                     # the morning sun
    canvas.rect(0, 300, 800, 360, (150, 90, 60))                     # the station roof line
    for x in range(40, 800, 160):                                    # pillars
        canvas.rect(x, 360, x + 18, 470, (200, 200, 210))
    canvas.rect(0, 470, 800, 500, (230, 220, 120))                   # the platform edge
    for y in (530, 570):                                             # rails
        canvas.rect(0, y, 800, y + 6, (190, 190, 200))
    for x in range(0, 800, 40):                                      # sleepers
        canvas.rect(x, 520, x + 14, 590, (90, 60, 40))
    canvas.text(24, 24, "STATION.PNG", 6, (255, 255, 255))
    canvas.text(24, 80, "PICTURE 1", 4, (255, 230, 120))
    write_png(os.path.join(OUT, "station.png"), 800, 600, canvas.rgba())


def street():
    canvas = Canvas(800, 600, lambda x, y: mix((250, 150, 80), (70, 40, 110), y / 600))
    buildings = [(0, 260, 140), (150, 200, 110), (270, 300, 160), (440, 180, 120),
                 (570, 240, 100), (680, 210, 120)]
    for left, top, width in buildings:
        canvas.rect(left, top, left + width, 600, (40, 30, 60))
        for wy in range(top + 20, 560, 40):
            for wx in range(left + 15, left + width - 20, 30):
                lit = (wx * 7 + wy * 13) % 5 < 3
                canvas.rect(wx, wy, wx + 14, wy + 20, (255, 220, 120) if lit else (70, 60, 90))
    canvas.rect(0, 560, 800, 600, (30, 25, 40))
    canvas.text(24, 24, "STREET.JPG", 6, (255, 255, 255))
    canvas.text(24, 80, "PICTURE 2", 4, (255, 230, 120))
    write_jpeg(os.path.join(OUT, "street.jpg"), 800, 600, canvas.rows)


def grid():
    width, height = 1000, 750

    def fill(x, y):
        band = ((x // 100) + (y // 75)) % 2
        base = (60, 110, 80) if band else (50, 90, 130)
        if x % 100 < 2 or y % 75 < 2:
            return (230, 230, 230)
        return mix(base, (20, 20, 30), math.hypot(x - 500, y - 375) / 900)

    canvas = Canvas(width, height, fill)
    canvas.disc(500, 375, 40, (240, 80, 80))
    canvas.rect(496, 300, 504, 450, (255, 255, 255))
    canvas.rect(425, 371, 575, 379, (255, 255, 255))
    for x, y, label in ((10, 10, "TL"), (width - 90, 10, "TR"), (10, height - 50, "BL"),
                        (width - 90, height - 50, "BR")):
        canvas.text(x, y, label, 6, (255, 255, 0))
    canvas.text(120, 150, "GRID.PNG", 8, (255, 255, 255))
    canvas.text(120, 230, "1000 X 750", 4, (200, 240, 255))
    write_png(os.path.join(OUT, "grid.png"), width, height, canvas.rgba())


if __name__ == "__main__":
    os.makedirs(OUT, exist_ok=True)
    station()
    street()
    grid()
