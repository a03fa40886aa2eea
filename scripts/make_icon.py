#!/usr/bin/env python3
"""Writes app/resources/ichscore.ico: a white cross on a teal-blue square with
curved corners, as seven 32-bit PNG-compressed images of 16 to 256 pixels.

Uses only the standard library: each pixel's coverage is found by sampling a
4 x 4 grid inside it, which smooths the curved corners and the cross's edges.
"""
import os
import struct
import zlib

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


def png(size):
    rows = bytearray()
    for y in range(size):
        rows.append(0)  # filter type: none
        for x in range(size):
            rows.extend(pixel(x, y, size))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))


def ico(images):
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        side = 0 if size == 256 else size  # 0 stands for 256 in the directory
        out += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in images)


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    path = os.path.join(root, "app", "resources", "ichscore.ico")
    with open(path, "wb") as f:
        f.write(ico([(size, png(size)) for size in SIZES]))
    print(path)


if __name__ == "__main__":
    main()
