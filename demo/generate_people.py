#!/usr/bin/env python3
"""Draws the demo's third standing character and the faces of the speaking characters.

sprite/stand/kai.png: Kai, a 160 x 400 figure with short hair and a jacket and, to its right,
two 48 x 12 eye patches (half closed, closed) laid over the eyes to blink, as the other two
characters of generate_sprites.py have them.
bmp/face/hina.png, sora.png, kai.png: 240 x 240 head-and-shoulder portraits on a round card in
the character's colour with the name written under the chin, shown at the left end of the
message window.
Only the standard library is used: python3 demo/generate_people.py
"""
import os

from generate_images import write_png
from generate_sprites import FONT, Canvas

HERE = os.path.dirname(os.path.abspath(__file__))
SKIN = (250, 220, 195, 255)
EYE = (40, 40, 70, 255)
LID = (120, 80, 60, 255)
# The two letters of the names that the train map's font lacks.
FONT.update(H=["101", "101", "111", "101", "101"], I=["111", "010", "010", "010", "111"])

PEOPLE = {
    # name: hair, clothes, card
    "hina": ((60, 40, 30, 255), (200, 80, 120, 255), (250, 200, 215, 255)),
    "sora": ((40, 60, 120, 255), (70, 140, 90, 255), (200, 235, 210, 255)),
    "kai": ((30, 30, 30, 255), (60, 70, 110, 255), (205, 215, 240, 255)),
}


def kai():
    hair, jacket, _ = PEOPLE["kai"]
    canvas = Canvas(208, 400)
    canvas.ellipse(80, 250, 66, 160, jacket, clip=lambda x, y: y >= 112)  # body
    canvas.rect(72, 112, 88, 170, (235, 235, 235, 255))  # shirt
    canvas.rect(62, 98, 98, 128, SKIN)  # neck
    canvas.ellipse(80, 64, 36, 42, SKIN)  # face
    canvas.ellipse(80, 36, 40, 20, hair, clip=lambda x, y: y < 44)  # short hair
    canvas.rect(42, 36, 50, 60, hair)  # sideburns
    canvas.rect(110, 36, 118, 60, hair)
    for ex in (67, 93):
        canvas.ellipse(ex, 60, 6, 4, EYE)
        canvas.put(ex + 2, 58, (255, 255, 255, 255))
        canvas.rect(ex - 7, 50, ex + 8, 52, hair)  # brows
    canvas.rect(73, 84, 87, 86, (170, 90, 80, 255))  # mouth
    for row, state in enumerate(("half", "closed")):
        oy = row * 12
        canvas.rect(160, oy, 208, oy + 12, SKIN)
        for ex in (67, 93):
            px = 160 + ex - 56
            if state == "half":
                canvas.ellipse(px, oy + 6, 6, 4, EYE, clip=lambda x, y, t=oy + 6: y >= t)
                canvas.rect(px - 6, oy + 5, px + 7, oy + 6, LID)
            else:
                canvas.rect(px - 6, oy + 6, px + 7, oy + 8, LID)
    canvas.save(os.path.join("stand", "kai.png"))


def face(name):
    hair, clothes, card = PEOPLE[name]
    canvas = Canvas(240, 240)
    canvas.ellipse(120, 120, 118, 118, card)
    inside = lambda x, y: (x - 120) ** 2 + (y - 120) ** 2 <= 118 ** 2
    canvas.ellipse(120, 250, 90, 70, clothes, clip=inside)  # shoulders
    canvas.rect(100, 150, 140, 190, SKIN)  # neck
    if name != "kai":
        canvas.ellipse(120, 100, 66, 74, hair, clip=inside)  # long hair behind the face
    canvas.ellipse(120, 104, 54, 60, SKIN)
    canvas.ellipse(120, 62, 60, 32, hair, clip=lambda x, y: y < 70)  # fringe
    for ex in (98, 142):
        canvas.ellipse(ex, 102, 8, 7 if name != "kai" else 5, EYE)
        canvas.put(ex + 3, 99, (255, 255, 255, 255))
    canvas.rect(110, 134, 130, 137, (200, 90, 90, 255))  # mouth
    text = name.upper()
    canvas.text(120 - len(text) * 6, 196, text, (255, 255, 255, 255), scale=3)
    write_png(os.path.join(HERE, "bmp", "face", name + ".png"), 240, 240, canvas.rows)


if __name__ == "__main__":
    os.makedirs(os.path.join(HERE, "sprite", "stand"), exist_ok=True)
    os.makedirs(os.path.join(HERE, "bmp", "face"), exist_ok=True)
    kai()
    for person in PEOPLE:
        face(person)
