#!/usr/bin/env python3
"""Draws the backgrounds of the demo's first chapter into bmp/visual/, each labelled with its
file name in large letters so that a screenshot tells which picture (and which layer) is seen:

station.png   800 x 600  a station platform under a morning sky (PNG)
street.jpg    800 x 600  a street at dusk (JPEG, baseline, written by jpeg_writer.py)
square.jpg    800 x 600  the square before the station building, with its ticket window and
                         the shops still shut, on a morning (JPEG)
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


def square():
    canvas = Canvas(800, 600, lambda x, y: mix((100, 160, 225), (225, 238, 250), y / 300)
                    if y < 300 else mix((205, 195, 175), (165, 155, 135), (y - 300) / 300))
    canvas.disc(700, 90, 40, (255, 244, 200))                        # the morning sun
    for x in range(0, 800, 50):                                      # the paving
        canvas.rect(x, 400, x + 2, 600, (150, 140, 125))
    for y in range(420, 600, 30):
        canvas.rect(0, y, 800, y + 2, (150, 140, 125))
    canvas.rect(220, 170, 620, 400, (170, 72, 52))                   # the red brick building
    for row, y in enumerate(range(170, 400, 14)):                    # its mortar
        canvas.rect(220, y, 620, y + 2, (205, 175, 155))
        for x in range(220 + (row % 2) * 14, 620, 28):
            canvas.rect(x, y, x + 2, y + 14, (205, 175, 155))
    canvas.rect(205, 150, 635, 176, (70, 70, 90))                    # the roof
    canvas.disc(420, 215, 26, (60, 50, 50))                          # the clock
    canvas.disc(420, 215, 22, (250, 250, 240))
    canvas.rect(418, 197, 422, 217, (30, 30, 30))
    canvas.rect(404, 213, 422, 217, (30, 30, 30))                   # nine in the morning
    for x in (250, 310):                                             # windows
        canvas.rect(x, 250, x + 36, 330, (200, 220, 240))
    canvas.rect(375, 290, 465, 400, (45, 35, 35))                    # the way to the gates
    canvas.rect(498, 272, 602, 298, (40, 60, 130))                   # the ticket window
    canvas.text(508, 278, "TICKETS", 2, (255, 255, 255))
    canvas.rect(500, 302, 600, 360, (235, 230, 200))
    canvas.rect(500, 352, 600, 360, (120, 90, 60))
    for i, awning in enumerate(((200, 60, 60), (60, 140, 80), (60, 90, 170))):  # the shops
        left = i * 68
        canvas.rect(left, 250, left + 64, 420, (120, 110, 100))
        canvas.rect(left, 250, left + 64, 272, awning)
        for y in range(280, 420, 8):                                 # shut
            canvas.rect(left + 6, y, left + 58, y + 5, (170, 170, 180))
    canvas.rect(716, 290, 726, 410, (100, 70, 40))                   # a tree
    canvas.disc(721, 270, 50, (70, 140, 70))
    canvas.rect(168, 320, 174, 480, (50, 50, 60))                   # a lamp
    canvas.disc(171, 314, 10, (250, 240, 200))
    canvas.text(24, 24, "SQUARE.JPG", 6, (255, 255, 255))
    canvas.text(24, 80, "STATION SQUARE", 4, (255, 230, 120))
    write_jpeg(os.path.join(OUT, "square.jpg"), 800, 600, canvas.rows)


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
    square()
    grid()
