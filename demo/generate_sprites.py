#!/usr/bin/env python3
"""Draws the demo game's sprite sheets and writes them as PNG files into sprite/.

mowl.png: the mascot, seven 48 x 48 cells: 1 eyes closed, 2 half open, 3 open, 4 looking left,
5 looking right, 6 and 7 asleep with a small and a large "z".
stand/hina.png, stand/sora.png: two standing characters, a 160 x 400 figure with its eyes open
and, to its right, two 48 x 12 eye patches (half closed, closed) laid over the eyes to blink.
(The train map's sheets are drawn by generate_train_map.py.)
Only the standard library is used: python3 demo/generate_sprites.py
"""
import os

from generate_images import write_png

HERE = os.path.dirname(os.path.abspath(__file__))
CLEAR = (0, 0, 0, 0)

# A 3 x 5 pixel font for the mascot's "z".
FONT = {
    "A": ["010", "101", "111", "101", "101"], "B": ["110", "101", "110", "101", "110"],
    "C": ["011", "100", "100", "100", "011"], "D": ["110", "101", "101", "101", "110"],
    "E": ["111", "100", "110", "100", "111"], "F": ["111", "100", "110", "100", "100"],
    "G": ["011", "100", "101", "101", "011"], "J": ["001", "001", "001", "101", "010"],
    "K": ["101", "110", "100", "110", "101"], "L": ["100", "100", "100", "100", "111"],
    "M": ["101", "111", "111", "101", "101"], "N": ["110", "101", "101", "101", "101"],
    "O": ["010", "101", "101", "101", "010"], "P": ["110", "101", "110", "100", "100"],
    "R": ["110", "101", "110", "101", "101"], "S": ["011", "100", "010", "001", "110"],
    "T": ["111", "010", "010", "010", "010"], "U": ["101", "101", "101", "101", "111"],
    "V": ["101", "101", "101", "010", "010"], "W": ["101", "101", "111", "111", "101"],
    "Y": ["101", "101", "010", "010", "010"], "Z": ["111", "001", "010", "100", "111"],
    "1": ["010", "110", "010", "010", "111"], "2": ["110", "001", "010", "100", "111"],
    "3": ["110", "001", "010", "001", "110"], "4": ["101", "101", "111", "001", "001"],
    "5": ["111", "100", "110", "001", "110"],
}


class Canvas:
    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.rows = [[CLEAR] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.rows[y][x] = colour

    def ellipse(self, cx, cy, rx, ry, colour, clip=None):
        for y in range(int(cy - ry), int(cy + ry) + 1):
            for x in range(int(cx - rx), int(cx + rx) + 1):
                if ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0:
                    if clip is None or clip(x, y):
                        self.put(x, y, colour)

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.put(x, y, colour)

    def text(self, x, y, label, colour, scale=2):
        for ch in label:
            for row, bits in enumerate(FONT[ch]):
                for col, bit in enumerate(bits):
                    if bit == "1":
                        self.rect(x + col * scale, y + row * scale, x + (col + 1) * scale,
                                  y + (row + 1) * scale, colour)
            x += 4 * scale

    def save(self, relative):
        write_png(os.path.join(HERE, "sprite", relative), self.width, self.height, self.rows)


def owl(canvas, cell, eyes, zzz=0):
    """One mascot cell: eyes 'closed', 'half', 'open', 'left' or 'right'."""
    ox = cell * 48
    brown, belly = (120, 80, 40, 255), (220, 190, 140, 255)
    canvas.ellipse(ox + 24, 28, 18, 18, brown)
    canvas.ellipse(ox + 24, 34, 11, 11, belly)
    for tuft in (-1, 1):  # ear tufts
        for i in range(6):
            canvas.rect(ox + 24 + tuft * (12 + i // 2) - 1, 8 + i, ox + 24 + tuft * (12 + i // 2) + 2,
                        9 + i, brown)
    for side in (-1, 1):
        ex, ey = ox + 24 + side * 8, 22
        if eyes == "closed":
            canvas.rect(ex - 5, ey, ex + 6, ey + 2, (40, 20, 10, 255))
            continue
        canvas.ellipse(ex, ey, 6, 6, (255, 255, 255, 255))
        look = {"left": -2, "right": 2}.get(eyes, 0)
        canvas.ellipse(ex + look, ey + 1, 2.5, 2.5, (0, 0, 0, 255))
        if eyes == "half":
            canvas.ellipse(ex, ey, 6, 6, brown, clip=lambda x, y, top=ey: y < top)
    for i in range(4):  # the beak
        canvas.rect(ox + 23 - i // 2, 28 + i, ox + 25 + i // 2, 29 + i, (240, 170, 40, 255))
    if zzz:
        canvas.text(ox + 36, 2, "Z", (90, 130, 255, 255), scale=zzz)


def mascot():
    canvas = Canvas(48 * 7, 48)
    for cell, eyes in enumerate(["closed", "half", "open", "left", "right", "closed", "closed"]):
        owl(canvas, cell, eyes, zzz={5: 1, 6: 2}.get(cell, 0))
    canvas.save("mowl.png")


def stand(name, hair, dress):
    canvas = Canvas(208, 400)
    skin = (250, 220, 195, 255)
    canvas.ellipse(80, 240, 62, 170, dress, clip=lambda x, y: y >= 110)  # body
    canvas.rect(60, 100, 100, 130, skin)  # neck
    canvas.ellipse(80, 60, 42, 48, hair)  # hair behind the face
    canvas.ellipse(80, 66, 36, 40, skin)  # face
    canvas.ellipse(80, 40, 40, 22, hair, clip=lambda x, y: y < 46)  # fringe
    for ex in (67, 93):
        canvas.ellipse(ex, 60, 6, 5, (40, 40, 70, 255))
        canvas.put(ex + 2, 58, (255, 255, 255, 255))
    canvas.rect(74, 84, 86, 86, (200, 90, 90, 255))  # mouth
    # Eye patches: the 48 x 12 area around the eyes (x 56..104, y 54..66), half closed and closed.
    for row, state in enumerate(("half", "closed")):
        oy = row * 12
        canvas.rect(160, oy, 208, oy + 12, skin)
        for ex in (67, 93):
            px = 160 + ex - 56
            if state == "half":
                canvas.ellipse(px, oy + 6, 6, 5, (40, 40, 70, 255), clip=lambda x, y, t=oy + 6: y >= t)
                canvas.rect(px - 6, oy + 5, px + 7, oy + 6, (120, 80, 60, 255))
            else:
                canvas.rect(px - 6, oy + 6, px + 7, oy + 8, (120, 80, 60, 255))
    canvas.save(os.path.join("stand", name + ".png"))


if __name__ == "__main__":
    os.makedirs(os.path.join(HERE, "sprite", "stand"), exist_ok=True)
    mascot()
    stand("hina", (60, 40, 30, 255), (200, 80, 120, 255))
    stand("sora", (40, 60, 120, 255), (70, 140, 90, 255))
