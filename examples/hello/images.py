#!/usr/bin/env python3
"""Draws the example's splash image and icon: images.py OUT_FOLDER.

Writes splash.png (480x270) and hello.ico (16, 32, 48 and 256 pixels), with
nothing but the standard library, so that the example needs no image tools.
"""
import math
import struct
import sys
import zlib


def png(width, height, pixel):
    rows = b"".join(b"\0" + b"".join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b"")


def cup(x, y, size):
    """A steaming cup on transparent ground, as RGBA, in a size-by-size square."""
    u, v = x / size, y / size
    body = 0.22 < u < 0.70 and 0.45 < v < 0.88
    handle = 0.035 < math.hypot(u - 0.72, v - 0.62) - 0.08 < 0.06 and u > 0.70
    steam = 0.12 < v < 0.40 and abs(u - (0.36 + 0.05 * math.sin(v * 20))) < 0.03 or \
        0.12 < v < 0.40 and abs(u - (0.54 + 0.05 * math.sin(v * 20 + 2))) < 0.03
    if body or handle:
        return (250, 245, 235, 255)
    if steam:
        return (200, 220, 255, 200)
    return (0, 0, 0, 0)


def icon_image(size):
    def pixel(x, y):
        r, g, b, a = cup(x, y, size)
        if a:
            return (r, g, b, a)
        inside = math.hypot(x + 0.5 - size / 2, y + 0.5 - size / 2) < size * 0.48
        return (20, 90, 160, 255) if inside else (0, 0, 0, 0)
    if size >= 256:
        return png(size, size, pixel)
    # Classic icon image: a bottom-up 32-bit DIB of double height, then its mask.
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, 0, 0, 0, 0, 0)
    colours = b"".join(bytes((b, g, r, a)) for y in reversed(range(size)) for x in range(size)
                       for r, g, b, a in [pixel(x, y)])
    mask = bytes(((size + 31) // 32) * 4 * size)
    return header + colours + mask


def ico(sizes):
    images = [icon_image(size) for size in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for size, image in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return out + b"".join(images)


def splash(x, y):
    width, height = 480, 270
    t = y / height
    base = (int(16 + 30 * t), int(60 + 80 * t), int(120 + 60 * t), 255)
    r, g, b, a = cup(x - (width - height) / 2, y, height) if (width - height) / 2 <= x < (width + height) / 2 else (0, 0, 0, 0)
    k = a / 255
    return (round(r * k + base[0] * (1 - k)), round(g * k + base[1] * (1 - k)), round(b * k + base[2] * (1 - k)), 255)


if __name__ == "__main__":
    folder = sys.argv[1]
    with open(f"{folder}/splash.png", "wb") as f:
        f.write(png(480, 270, splash))
    with open(f"{folder}/hello.ico", "wb") as f:
        f.write(ico([16, 32, 48, 256]))
