#!/usr/bin/env python3
"""Draws the demo game's UI window images and writes them as PNG files into bmp/.

frame0.png .. frame4.png: the five images of a window frame: 0 the background tile, 1 the side
borders (left half left, right half right), 2 the top and bottom borders (upper half top, lower
half bottom), 3 the four corners, 4 the scroll-bar pieces (quadrants: upper left the thumb's caps,
upper right its body, lower left the down button, lower right the up button).
baloon.png: the explanation balloon, a 4 x 4 grid of 16-pixel quarters: columns 0..2 of rows
0..2 are the nine pieces of the box, column 3 of rows 0 and 1 the tail pointing down.
Only the standard library is used: python3 demo/generate_ui_images.py
"""
import os

from generate_images import write_png

HERE = os.path.dirname(os.path.abspath(__file__))

CLEAR = (0, 0, 0, 0)
DARK = (30, 40, 90, 255)
LIGHT = (200, 220, 255, 255)
MID = (90, 120, 200, 255)
FILL = (20, 30, 70, 255)
WHITE = (255, 255, 255, 255)
INK = (40, 40, 40, 255)


def image(name, width, height, pixel):
    rows = [[pixel(x, y) for x in range(width)] for y in range(height)]
    write_png(os.path.join(HERE, "bmp", name), width, height, rows)


def background(x, y):
    """A dark opaque tile with a faint diagonal weave: a popup's rows read clearly over the
    title's buttons, which would show through a translucent one."""
    if (x + y) % 8 == 0:
        return (30, 45, 95, 255)
    return FILL


def border_band(d):
    """Colour at distance d (0..7) from the outer edge of a border."""
    if d == 0:
        return DARK
    if d < 3:
        return LIGHT
    if d == 3:
        return DARK
    return CLEAR


def sides(x, y):
    return border_band(x if x < 8 else 15 - x)


def top_bottom(x, y):
    return border_band(y if y < 8 else 15 - y)


def corners(x, y):
    """Rounded corners: distance from the outer corner of each 8 x 8 quadrant."""
    qx = x if x < 8 else 15 - x
    qy = y if y < 8 else 15 - y
    # distance from the corner arc's centre at (7, 7) of the quadrant
    d = 7 - ((7 - qx) ** 2 + (7 - qy) ** 2) ** 0.5
    if d < -0.5:
        return CLEAR
    return border_band(max(0, int(round(d))))


def scroll_bar(x, y):
    qx, qy = x % 16, y % 16
    right, lower = x >= 16, y >= 16
    if not lower and not right:
        # thumb caps: a rounded top (upper half) and bottom (lower half)
        cy = 8 if qy < 8 else 7
        inside = (qx - 7.5) ** 2 + (qy - cy) ** 2 <= 36 and 2 <= qx <= 13
        edge = inside and (qx - 7.5) ** 2 + (qy - cy) ** 2 > 20
        return MID if edge else (LIGHT if inside else CLEAR)
    if not lower and right:
        return MID if qx in (2, 13) else (LIGHT if 2 < qx < 13 else CLEAR)
    # buttons: a triangle pointing down (left) or up (right)
    ty = qy if not right else 15 - qy
    half = 7 - ty // 2 if 2 <= ty <= 13 else -1
    if abs(qx - 7.5) <= half:
        return DARK if abs(qx - 7.5) > half - 1.5 or ty in (2, 3) else LIGHT
    return CLEAR


def bubble(x, y):
    """Nine pieces of a rounded white box with an ink outline, in a 48 x 48 square."""
    dx = max(0, 8 - x, x - 39)
    dy = max(0, 8 - y, y - 39)
    d = (dx * dx + dy * dy) ** 0.5
    if d > 8:
        return CLEAR
    if d > 6:
        return INK
    return WHITE


def tail(x, y):
    """16 x 32: rows 13..15 open the box's outline where the tail joins it (the tail overlaps
    the box's last rows, and by a row more when drawn flipped); the lower half points down."""
    if y < 13:
        return CLEAR
    if y < 16:
        return WHITE if abs(x - 7.5) < 3.5 else (INK if abs(x - 7.5) < 5.5 else CLEAR)
    half = (31 - y) * 5.5 / 15
    if abs(x - 7.5) <= half:
        return INK if abs(x - 7.5) > half - 2 else WHITE
    return CLEAR


def baloon(x, y):
    if x < 48 and y < 48:
        return bubble(x, y)
    if x >= 48 and y < 32:
        return tail(x - 48, y)
    return CLEAR


if __name__ == "__main__":
    os.makedirs(os.path.join(HERE, "bmp"), exist_ok=True)
    image("frame0.png", 32, 32, background)
    image("frame1.png", 16, 16, sides)
    image("frame2.png", 16, 16, top_bottom)
    image("frame3.png", 16, 16, corners)
    image("frame4.png", 32, 32, scroll_bar)
    image("baloon.png", 64, 64, baloon)
