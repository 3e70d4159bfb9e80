#!/usr/bin/env python3
"""Writes the demo's title screen: its data files, item tables and images.

data/tiName.dat   the recollection items, 64-byte names: the three pictures of the first
                  chapter ("station", "street.jpg", "grid") and the scenes of the story
                  ("chapter1+chapter2+journey", one part per script)
data/tiPage.dat   their page counts (the gallery, item 0, has two pages)
data/tiBaloon.dat their balloon texts (Shift-JIS)
data/title.dat    the title page: the background and the four buttons (NEW GAME, LOAD,
                  RECOLLECTION, EXIT), values 1..4 for the label "menu" of script "title"
data/gallery.dat  the recollection pages: page 1 the pictures (seen ones clickable, the others
                  locked), page 2 the scenes, the page arrows (1001, 1002) and BACK (1003),
                  which the background also gives to a right click or Esc anywhere
bmp/title/*.png   the images of those items, each in its normal, hovered and pressed state

Item table records are 244 bytes: three 32-byte image names, flags, columns, rows, cell limit,
order, cell step x/y, screen step x/y, screen x/y, three source x/y, 32-byte script and label
names, first left and right values, state filter and page (little-endian 32-bit words).
Only the standard library is used: python3 demo/generate_title.py
"""
import os
import struct

from generate_images import write_png
from generate_story_images import Canvas, mix

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "data")
TITLE = os.path.join(HERE, "bmp", "title")

SHADOW = 1
HIGHLIGHT = 2

ITEMS = ["station", "street.jpg", "grid", "chapter1+chapter2+journey"]
PAGES = [2, 1, 1, 1]
BALLOONS = ["北の駅の朝", "雨の夕方の町", "背景の動き", "第一章、第二章と旅の三場面"]

MENU = ["NEW GAME", "LOAD", "RECOLLECTION", "EXIT"]
BUTTON_W, BUTTON_H = 240, 48
THUMB_W, THUMB_H = 200, 150
CARD_W, CARD_H = 300, 210
# The scene list opens centred on the screen, over the card: the card keeps its words above a
# well that holds the list with room around it (the list at its largest, in an 800 x 600 screen:
# 208 x 88 pixels around (400, 300); larger screens draw it smaller against the card).
CARD_X, CARD_Y = 250, 156
WELL = (12, 90, CARD_W - 12, 198)


def name_field(text, size):
    data = text.encode("cp932")
    assert len(data) <= size
    return data + b"\0" * (size - len(data))


def record(images, flags=0, columns=1, rows=1, limit=1, order=1, cell=(0, 0), step=(0, 0),
           dest=(0, 0), sources=((0, 0), (0, 0), (0, 0)), script="*", label="*", value=-1,
           right=-1, state=-1, page=-1):
    data = b"".join(name_field(image, 32) for image in images)
    data += struct.pack("<I10i", flags, columns, rows, limit, order, cell[0], cell[1], step[0],
                        step[1], dest[0], dest[1])
    data += b"".join(struct.pack("<2i", *source) for source in sources)
    data += name_field(script, 32) + name_field(label, 32)
    data += struct.pack("<4i", value, right, state, page)
    assert len(data) == 244
    return data


def write(name, data):
    with open(os.path.join(DATA, name), "wb") as f:
        f.write(data)


def save(name, canvas, clear=None):
    """Writes the canvas; `clear(x, y)` true makes that pixel transparent."""
    rows = canvas.rgba()
    if clear is not None:
        for y, row in enumerate(rows):
            for x in range(len(row)):
                if clear(x, y):
                    row[x] = (0, 0, 0, 0)
    write_png(os.path.join(TITLE, name), canvas.width, canvas.height, rows)


def rounded(width, height, radius):
    """True outside a rectangle of width x height cells with rounded corners, per cell."""
    def outside(x, y):
        cx = min(max(x, radius), width - 1 - radius)
        cy = min(max(y, radius), height - 1 - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 > radius * radius
    return outside


def centred_text(canvas, left, top, width, height, text, scale, colour):
    text_w = (6 * len(text) - 1) * scale
    canvas.text(left + (width - text_w) // 2, top + (height - 7 * scale) // 2, text, scale,
                colour)


def title_background():
    canvas = Canvas(800, 600, lambda x, y: mix((20, 30, 80), (230, 140, 90), y / 600))
    for i in range(9):  # rails running to the horizon
        x = 400 + (i - 4) * 90
        for y in range(420, 600):
            t = (y - 420) / 180
            canvas.rect(int(400 + (x - 400) * t) - 1, y, int(400 + (x - 400) * t) + 2, y + 1,
                        (60, 50, 60))
    canvas.rect(0, 418, 800, 422, (250, 220, 160))
    canvas.text(280, 60, "QUORVANE", 5, (255, 240, 200))
    canvas.text(160, 130, "OSTREVIA", 10, (255, 255, 255))
    canvas.text(346, 230, "DEMO", 4, (255, 220, 120))
    save("back.png", canvas)


def buttons(state):
    fill = {0: (40, 60, 130), 1: (80, 120, 210), 2: (20, 30, 70)}[state]
    ink = {0: (255, 255, 255), 1: (255, 240, 120), 2: (200, 200, 200)}[state]
    canvas = Canvas(BUTTON_W, BUTTON_H * len(MENU), lambda x, y: fill)
    outside = rounded(BUTTON_W, BUTTON_H, 10)
    for i, label in enumerate(MENU):
        top = i * BUTTON_H
        canvas.rect(4, top + 4, BUTTON_W - 4, top + 6, mix(fill, (255, 255, 255), 0.5))
        shift = 1 if state == 2 else 0
        centred_text(canvas, shift, top + shift, BUTTON_W, BUTTON_H, label, 3, ink)
    save("menu%d.png" % state, canvas, lambda x, y: outside(x, y % BUTTON_H))


def gallery_background():
    canvas = Canvas(800, 600, lambda x, y: mix((20, 50, 60), (10, 20, 30), y / 600))
    canvas.text(220, 30, "RECOLLECTION", 5, (255, 240, 200))
    canvas.rect(40, 140, 760, 142, (120, 160, 170))
    canvas.rect(40, 400, 760, 402, (120, 160, 170))
    save("gallery.png", canvas)


def page_labels():
    """The lettering alone, outline and ink: the gallery's background shows around it."""
    blank = (20, 50, 60)  # neither ink nor outline: left transparent
    canvas = Canvas(120, 80, lambda x, y: blank)
    centred_text(canvas, 0, 0, 120, 40, "PAGE 1", 3, (200, 230, 230))
    centred_text(canvas, 0, 40, 120, 40, "PAGE 2", 3, (200, 230, 230))
    save("pages.png", canvas, lambda x, y: canvas.rows[y][x] == blank)


THUMBS = [
    ("STATION", (120, 170, 230), (230, 200, 160)),
    ("STREET", (60, 50, 90), (200, 110, 60)),
    ("GRID", (50, 90, 130), (60, 110, 80)),
]


def thumbnails(hovered):
    canvas = Canvas(THUMB_W * len(THUMBS), THUMB_H, lambda x, y: (0, 0, 0))
    for i, (label, sky, ground) in enumerate(THUMBS):
        left = i * THUMB_W
        for y in range(THUMB_H):
            colour = mix(sky, ground, y / THUMB_H)
            if hovered:
                colour = mix(colour, (255, 255, 255), 0.3)
            canvas.rect(left, y, left + THUMB_W, y + 1, colour)
        edge = (255, 230, 120) if hovered else (230, 230, 230)
        for band in ((0, 0, THUMB_W, 4), (0, THUMB_H - 4, THUMB_W, THUMB_H), (0, 0, 4, THUMB_H),
                     (THUMB_W - 4, 0, THUMB_W, THUMB_H)):
            canvas.rect(left + band[0], band[1], left + band[2], band[3], edge)
        centred_text(canvas, left, 0, THUMB_W, THUMB_H, label, 4, (255, 255, 255))
    save("thumbs%d.png" % (1 if hovered else 0), canvas)


def locked(name, width, height):
    canvas = Canvas(width, height, lambda x, y: (50, 55, 60) if (x // 10 + y // 10) % 2 else
                    (60, 65, 70))
    canvas.rect(width // 2 - 22, height // 2 - 10, width // 2 + 22, height // 2 + 30,
                (150, 150, 150))
    canvas.disc(width // 2, height // 2 - 12, 16, (150, 150, 150))
    canvas.disc(width // 2, height // 2 - 12, 9, (55, 60, 65))
    canvas.rect(width // 2 - 9, height // 2 - 12, width // 2 + 9, height // 2 - 10,
                (55, 60, 65))
    canvas.disc(width // 2, height // 2 + 10, 5, (40, 40, 40))
    save(name, canvas)


def scene_card(hovered):
    fill = (90, 60, 120) if not hovered else (130, 90, 170)
    canvas = Canvas(CARD_W, CARD_H, lambda x, y: mix(fill, (20, 20, 40), y / CARD_H))
    centred_text(canvas, 0, 8, CARD_W, 40, "SCENES", 5, (255, 255, 255))
    centred_text(canvas, 0, 54, CARD_W, 26, "CHAPTER 1 2 +", 3, (255, 230, 160))
    left, top, right, bottom = WELL
    canvas.rect(left, top, right, bottom, mix(fill, (255, 255, 255), 0.4))
    canvas.rect(left + 2, top + 2, right, bottom, mix(fill, (0, 0, 0), 0.7))
    well = mix(fill, (10, 10, 25), 0.75)
    canvas.rect(left + 2, top + 2, right - 2, bottom - 2, well)
    # Small enough to lie under the list at every screen size.
    centred_text(canvas, left, top, right - left, bottom - top, "PLAY", 3, mix(well, fill, 0.9))
    save("scenes%d.png" % (1 if hovered else 0), canvas, rounded(CARD_W, CARD_H, 12))


def arrows(state):
    fill = {0: (200, 200, 200), 1: (255, 230, 120), 2: (140, 140, 140)}[state]
    canvas = Canvas(128, 64, lambda x, y: (0, 0, 0))

    def inside(x, y):
        cell, px = divmod(x, 64)
        if cell == 1:
            px = 63 - px
        return 12 <= px <= 52 and abs(y - 32) <= (px - 12) * 0.6
    for y in range(64):
        for x in range(128):
            if inside(x, y):
                canvas.rows[y][x] = fill
    save("arrows%d.png" % state, canvas, lambda x, y: not inside(x, y))


def back_button(state):
    fill = {0: (90, 100, 110), 1: (130, 150, 170), 2: (50, 55, 60)}[state]
    canvas = Canvas(160, 48, lambda x, y: fill)
    centred_text(canvas, 0, 0, 160, 48, "BACK", 3, (255, 255, 255))
    save("back%d.png" % state, canvas, rounded(160, 48, 10))


def title_table():
    back = record(("back.png", "*", "*"), cell=(800, 600))
    menu = record(("menu0.png", "menu1.png", "menu2.png"), SHADOW | HIGHLIGHT, rows=len(MENU),
                  limit=len(MENU), cell=(BUTTON_W, BUTTON_H), step=(0, 64), dest=(280, 300),
                  script="title", label="menu", value=1)
    return back + menu


def gallery_table():
    # The background covers the page: a right click anywhere (or Esc, a right click at the
    # pointer) is BACK.
    records = [record(("gallery.png", "*", "*"), cell=(800, 600), script="title",
                      label="gallery", right=1003)]
    for page in (1, 2):
        records.append(record(("pages.png", "*", "*"), cell=(120, 40), dest=(340, 90),
                              sources=((0, 40 * (page - 1)), (0, 0), (0, 0)), page=page))
    # Page 1: the pictures, clickable once seen; locked cells take one tile of their image.
    thumbs = dict(columns=3, limit=3, cell=(THUMB_W, THUMB_H), step=(250, 0), dest=(50, 180),
                  value=0, page=1)
    records.append(record(("thumbs0.png", "thumbs1.png", "thumbs1.png"), SHADOW | HIGHLIGHT,
                          script="title", label="picture", state=2, **thumbs))
    records.append(record(("locked.png", "*", "*"), SHADOW, state=1, **thumbs))
    # Page 2: the scenes of the story.
    card = dict(cell=(CARD_W, CARD_H), dest=(CARD_X, CARD_Y), value=3, page=2)
    records.append(record(("scenes0.png", "scenes1.png", "scenes1.png"), SHADOW | HIGHLIGHT,
                          script="title", label="scenes", state=2, **card))
    records.append(record(("scenes_locked.png", "*", "*"), SHADOW, state=1, **card))
    records.append(record(("arrows0.png", "arrows1.png", "arrows2.png"), 0, columns=2,
                          limit=2, cell=(64, 64), step=(636, 0), dest=(50, 420),
                          script="title", label="gallery", value=1001))
    records.append(record(("back0.png", "back1.png", "back2.png"), SHADOW, cell=(160, 48),
                          dest=(320, 520), script="title", label="gallery", value=1003))
    return b"".join(records)



if __name__ == "__main__":
    os.makedirs(DATA, exist_ok=True)
    os.makedirs(TITLE, exist_ok=True)
    write("tiName.dat", b"".join(name_field(name, 64) for name in ITEMS))
    write("tiPage.dat", struct.pack("<%dI" % len(PAGES), *PAGES))
    write("tiBaloon.dat", b"".join(name_field(text, 64) for text in BALLOONS))
    write("title.dat", title_table())
    write("gallery.dat", gallery_table())
    title_background()
    for state in (0, 1, 2):
        buttons(state)
        arrows(state)
        back_button(state)
    gallery_background()
    page_labels()
    thumbnails(False)
    thumbnails(True)
    locked("locked.png", THUMB_W, THUMB_H)
    locked("scenes_locked.png", CARD_W, CARD_H)
    scene_card(False)
    scene_card(True)
