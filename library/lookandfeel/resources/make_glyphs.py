#!/usr/bin/env python3
"""Draws the look and feel's raster glyphs as PNG files beside this script:
the search glyph (four 16 x 16 state bands stacked: normal, hot, pressed,
disabled) and the command-link arrow (two 20 x 20 images stacked: normal,
hot). Run it again after a change; the vector glyphs are the .svg files."""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.realpath(__file__))


def png(pixels):
    height, width = len(pixels), len(pixels[0])
    raw = b"".join(b"\0" + bytes(c for px in row for c in px) for row in pixels)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def coverage(inside, x, y, samples=4):
    """The share of the pixel (x, y) that inside() covers."""
    hits = sum(inside(x + (i + 0.5) / samples, y + (j + 0.5) / samples)
               for i in range(samples) for j in range(samples))
    return hits / (samples * samples)


def draw(width, height, inside, color):
    return [[color + (round(255 * coverage(inside, x, y)),) for x in range(width)] for y in range(height)]


def magnifier(x, y):
    ring = abs(math.hypot(x - 6.5, y - 6.5) - 4.5) <= 1.25
    # The handle: a thick segment from the ring to the bottom-right corner.
    t = max(0.0, min(1.0, ((x - 10) + (y - 10)) / 8))
    handle = math.hypot(x - (10 + 4 * t), y - (10 + 4 * t)) <= 1.4
    return ring or handle


def arrow(x, y):
    # A shaft and a head pointing right.
    shaft = 3 <= x <= 12 and 8.5 <= y <= 11.5
    head = x >= 10 and abs(y - 10) <= (17 - x) * 0.9 and x <= 17
    return shaft or head


def main():
    states = [(96, 96, 96), (0, 102, 204), (0, 51, 153), (176, 176, 176)]
    search = []
    for color in states:
        search += draw(16, 16, magnifier, color)
    link = draw(20, 20, arrow, (0, 128, 64)) + draw(20, 20, arrow, (0, 170, 90))
    for name, pixels in (("SearchButtonGlyph.png", search), ("CommandLinkGlyph.png", link)):
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(png(pixels))


if __name__ == "__main__":
    main()
