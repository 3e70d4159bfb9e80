#!/usr/bin/env python3
"""Draws the demo's train map: its background, the sheet of the sprite container "train", the
figures of the two characters, and the sound a choice makes.

bmp/visual/map.png  800 x 600: land, sea, a lake and a hill, the rails between the four
                    stations and their names (KITA, OKA, MINATO, MIZUUMI), labelled MAP.PNG.
sprite/train.png    cells of 72 x 72 in rows of eight:
                      0..3   the clock of the calendar, its hand in four positions
                      4..15  the months JAN..DEC
                      16..18 the day types (weekday, Saturday, Sunday)
                      19..33 the week numbers 1..5 of each day type, coloured as the day type
                      34..37 the marks of stations 1..4, 38..41 the same marks hovered
                      42, 43 the hover ring, bright and dim
sprite/ch01.png,    the figures of hina and sora standing on the map: cells of 32 x 48,
sprite/ch02.png       0 and 1 standing (breathing), 2 and 3 waving
sound/se001.wav     the click of a choice

The containers that use the sheets are written by qvn-kra from sprite/train.txt, ch01.txt and
ch02.txt. Only the standard library is used: python3 demo/generate_train_map.py
"""
import math
import os

from generate_images import write_png
from generate_sprites import Canvas as SpriteCanvas
from generate_story_images import FONT, Canvas, mix
from generate_story_sounds import frequency, mix_into, note, write_wave, RATE

HERE = os.path.dirname(os.path.abspath(__file__))
TILE = 72

# Design coordinates of the stations, as the journey script places them.
STATIONS = [("KITA", 170, 200), ("OKA", 380, 320), ("MINATO", 640, 450), ("MIZUUMI", 200, 470)]
STATION_COLOURS = [(220, 60, 60), (60, 110, 220), (60, 170, 80), (160, 80, 200)]
MONTHS = ["JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JULY", "AUG", "SEP", "OCT", "NOV", "DEC"]
SEASONS = [(70, 110, 170), (70, 110, 170), (200, 120, 160), (200, 120, 160), (200, 120, 160),
           (60, 150, 90), (60, 150, 90), (60, 150, 90), (190, 110, 50), (190, 110, 50),
           (190, 110, 50), (70, 110, 170)]
# The day types weekday, Saturday and Sunday.
DAYS = [("WKD", (90, 90, 100)), ("SAT", (60, 100, 200)), ("SUN", (200, 60, 60))]


class Sheet(SpriteCanvas):
    """The sprite canvas with rings and the 5 x 7 font of the backgrounds."""

    def disc(self, cx, cy, radius, colour, inner=-1.0):
        """A disc, or with `inner` a ring between the two radii (pixel centres)."""
        for y in range(int(cy - radius) - 1, int(cy + radius) + 2):
            for x in range(int(cx - radius) - 1, int(cx + radius) + 2):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                if inner < d <= radius:
                    self.put(x, y, colour)

    def centred(self, cx, y, label, scale, colour):
        """`label` in the 5 x 7 font, centred on cx."""
        x = cx - (6 * len(label) - 1) * scale // 2
        for char in label:
            for row, cells in enumerate(FONT[char]):
                for column, cell in enumerate(cells):
                    if cell == "#":
                        self.rect(x + column * scale, y + row * scale, x + (column + 1) * scale,
                                  y + (row + 1) * scale, colour)
            x += 6 * scale


def tile(sheet, index, colour):
    """The top left of cell `index`, filled as a rounded calendar card of `colour`."""
    x, y = (index % 8) * TILE, (index // 8) * TILE
    if colour is not None:
        sheet.rect(x + 2, y + 2, x + TILE - 2, y + TILE - 2, colour + (230,))
        sheet.rect(x + 4, y + 4, x + TILE - 4, y + 6, (255, 255, 255, 120))
    return x, y


def train_sheet():
    sheet = Sheet(8 * TILE, 6 * TILE)
    for hand in range(4):  # the clock: a face, twelve ticks and a hand turning a quarter a cell
        x, y = tile(sheet, hand, None)
        sheet.disc(x + 36, y + 36, 32, (250, 245, 225, 255))
        sheet.disc(x + 36, y + 36, 32, (60, 50, 40, 255), inner=29)
        for tick in range(12):
            a = tick * math.pi / 6
            sheet.disc(x + 36 + math.sin(a) * 24, y + 36 - math.cos(a) * 24, 2, (60, 50, 40, 255))
        angle = hand * math.pi / 2
        for r in range(22):
            sheet.disc(x + 36 + math.sin(angle) * r, y + 36 - math.cos(angle) * r, 2,
                       (200, 40, 40, 255))
        sheet.disc(x + 36, y + 36, 4, (60, 50, 40, 255))
    for i, month in enumerate(MONTHS):
        x, y = tile(sheet, 4 + i, SEASONS[i])
        sheet.centred(x + 36, y + 14, str(i + 1) if i < 9 else "1" + str(i - 9), 3,
                      (255, 255, 255, 255))
        sheet.centred(x + 36, y + 44, month, 2, (255, 240, 200, 255))
    for i, (short, colour) in enumerate(DAYS):
        x, y = tile(sheet, 16 + i, colour)
        sheet.centred(x + 36, y + 26, short, 3, (255, 255, 255, 255))
    for i, (_, colour) in enumerate(DAYS):
        for week in range(5):
            x, y = tile(sheet, 19 + i * 5 + week, colour)
            sheet.centred(x + 36, y + 10, "WEEK", 2, (255, 255, 255, 255))
            sheet.centred(x + 36, y + 30, str(week + 1), 5, (255, 240, 120, 255))
    for i, (r, g, b) in enumerate(STATION_COLOURS):
        x, y = tile(sheet, 34 + i, None)
        sheet.disc(x + 36, y + 36, 14, (255, 255, 255, 255))
        sheet.disc(x + 36, y + 36, 11, (r, g, b, 255))
        sheet.centred(x + 36, y + 29, str(i + 1), 2, (255, 255, 255, 255))
        x, y = tile(sheet, 38 + i, None)
        sheet.disc(x + 36, y + 36, 18, (255, 255, 255, 255))
        sheet.disc(x + 36, y + 36, 15, (255, 210, 40, 255))
        sheet.centred(x + 36, y + 29, str(i + 1), 2, (r, g, b, 255))
    for i, alpha in enumerate((255, 110)):
        x, y = tile(sheet, 42 + i, None)
        sheet.disc(x + 36, y + 36, 30, (255, 250, 200, alpha), inner=24)
    sheet.save("train.png")


def figure(name, hair, dress):
    sheet = Sheet(32 * 4, 48)
    skin = (250, 220, 195, 255)
    for cell in range(4):
        ox = cell * 32
        bob = 1 if cell == 1 else 0
        sheet.rect(ox + 11, 38, ox + 14, 47, (60, 50, 60, 255))  # legs
        sheet.rect(ox + 18, 38, ox + 21, 47, (60, 50, 60, 255))
        for row in range(18):  # the dress widens downwards
            half = 5 + row // 3
            sheet.rect(ox + 16 - half, 21 + row + bob, ox + 16 + half, 22 + row + bob, dress)
        sheet.disc(ox + 16, 12 + bob, 10, hair)
        sheet.disc(ox + 16, 14 + bob, 8, skin)
        sheet.rect(ox + 8, 4 + bob, ox + 24, 9 + bob, hair)  # fringe
        sheet.put(ox + 13, 14 + bob, (40, 40, 70, 255))
        sheet.put(ox + 19, 14 + bob, (40, 40, 70, 255))
        if cell >= 2:  # one arm raised, waving
            reach = 0 if cell == 2 else 3
            for step in range(10):
                sheet.rect(ox + 22 + step // 3 + reach * step // 10, 24 - step,
                           ox + 25 + step // 3 + reach * step // 10, 25 - step, skin)
    sheet.save(name + ".png")


def rails(canvas, a, b):
    """A rail line between two stations: sleepers across, two rails along."""
    (_, x0, y0), (_, x1, y1) = a, b
    length = math.hypot(x1 - x0, y1 - y0)
    ux, uy = (x1 - x0) / length, (y1 - y0) / length
    for s in range(0, int(length), 12):
        cx, cy = x0 + ux * s, y0 + uy * s
        for t in range(-7, 8):
            canvas.disc(int(cx - uy * t), int(cy + ux * t), 1, (110, 80, 50))
    for side in (-4, 4):
        for s in range(int(length)):
            canvas.disc(int(x0 + ux * s - uy * side), int(y0 + uy * s + ux * side), 1,
                        (70, 70, 80))


def map_background():
    canvas = Canvas(800, 600, lambda x, y: mix((150, 190, 110), (100, 150, 80), y / 600))
    for y in range(600):  # the sea in the lower right, behind a curved shore
        shore = 560 - 120 * math.sin(min(1.0, max(0.0, (y - 330) / 270)) * math.pi / 2)
        if y > 330:
            canvas.rect(int(shore), y, 800, y + 1, mix((60, 120, 190), (30, 80, 150), (y - 330) / 270))
    for y in range(430, 560):  # the lake in the lower left
        for x in range(60, 340):
            if ((x - 200) / 130) ** 2 + ((y - 500) / 55) ** 2 <= 1.0:
                canvas.rows[y][x] = (90, 150, 200)
    canvas.disc(380, 300, 95, (160, 150, 100))  # the hill
    canvas.disc(380, 300, 60, (180, 170, 120))
    by_name = {name: (name, x, y) for name, x, y in STATIONS}
    for a, b in (("KITA", "OKA"), ("OKA", "MINATO"), ("OKA", "MIZUUMI")):
        rails(canvas, by_name[a], by_name[b])
    for name, x, y in STATIONS:
        canvas.text(x - (6 * len(name) - 1) * 3 // 2, y + 26, name, 3, (255, 255, 255))
    canvas.text(24, 24, "MAP.PNG", 6, (255, 255, 255))
    canvas.text(24, 80, "TRAIN MAP", 4, (255, 230, 120))
    write_png(os.path.join(HERE, "bmp", "visual", "map.png"), 800, 600, canvas.rgba())


def choice_sound():
    click = [0.0] * int(0.25 * RATE)
    mix_into(click, 0, note(frequency("A5"), 0.12, 6000, 12.0))
    mix_into(click, int(0.06 * RATE), note(frequency("E6"), 0.18, 6000, 10.0))
    write_wave("sound/se001.wav", click)


if __name__ == "__main__":
    train_sheet()
    figure("ch01", (60, 40, 30, 255), (200, 80, 120, 255))
    figure("ch02", (40, 60, 120, 255), (70, 140, 90, 255))
    map_background()
    choice_sound()
