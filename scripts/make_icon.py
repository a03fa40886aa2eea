#!/usr/bin/python3
"""Writes app/resources/ichscore.ico: a white cross on a teal-blue square with
curved corners, as seven 32-bit PNG-compressed images of 16 to 256 pixels.

Each size is drawn on its own, each pixel's coverage found by sampling a
4 x 4 grid inside it, which smooths the curved corners and the cross's
edges; Pillow (Debian's python3-pil) writes the PNG images and the icon's
directory. Run it with Debian's Python: /usr/bin/python3 scripts/make_icon.py.
"""
import os

from PIL import Image

SIZES = (16, 24, 32, 48, 64, 128, 256)
TEAL = (0x00, 0x84, 0xB0)
WHITE = (0xFF, 0xFF, 0xFF)
SAMPLES = 4


def inside_rounded_square(u, v, radius):
    """u, v in 0..1; the square fills the image with corners of the radius."""
    cx = min(max(u, radius), 1 - radius)
    cy = min(max(v, radius), 1 - radius)
    return (u - cx) ** 2 + (v - cy) ** 2 <= radius ** 2


def inside_cross(u, v):
    arm_half = 0.11   # half the width of each bar
    reach = 0.30      # half the length of each bar
    horizontal = abs(v - 0.5) <= arm_half and abs(u - 0.5) <= reach
    vertical = abs(u - 0.5) <= arm_half and abs(v - 0.5) <= reach
    return horizontal or vertical


def pixel(x, y, size):
    square = cross = 0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            u = (x + (sx + 0.5) / SAMPLES) / size
            v = (y + (sy + 0.5) / SAMPLES) / size
            if inside_rounded_square(u, v, 0.22):
                square += 1
                if inside_cross(u, v):
                    cross += 1
    if square == 0:
        return (0, 0, 0, 0)
    w = cross / square
    rgb = tuple(round(t + (c - t) * w) for t, c in zip(TEAL, WHITE))
    return rgb + (round(255 * square / SAMPLES ** 2),)


def image(size):
    """The icon drawn at one size, as an 8-bit RGBA image."""
    data = bytes(c for y in range(size) for x in range(size) for c in pixel(x, y, size))
    return Image.frombytes("RGBA", (size, size), data)


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    path = os.path.join(root, "app", "resources", "ichscore.ico")
    images = [image(size) for size in SIZES]
    # The largest is the one saved; the others replace its scaled copies.
    images[-1].save(path, format="ICO", sizes=[(s, s) for s in SIZES], append_images=images[:-1],
                    bitmap_format="png")
    print(path)


if __name__ == "__main__":
    main()
