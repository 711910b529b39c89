#!/usr/bin/env python3
"""Draws the look and feel's raster glyphs as PNG files beside this script:
the search glyph (four 16 x 16 state bands stacked: normal, hot, pressed,
disabled), the command-link arrow (two 20 x 20 images stacked: normal,
hot), the back button (four 24 x 24 bands: normal, hot, pressed, disabled),
the rating star (three 16 x 16 bands: unchecked, hover, checked), the
fixed-group pin (16 x 16), the clock's face and glass (64 x 64; the face
is light throughout so that the hands stand out), the map pushpin (20 x 28)
and the navigation bar's customization button (16 x 16, three dots). Run it again after a
change; the vector glyphs are the .svg files."""
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


def back_arrow(x, y):
    # A circle with a left-pointing arrow cut out of it.
    disc = math.hypot(x - 12, y - 12) <= 10.5
    shaft = 7 <= x <= 17 and 10.8 <= y <= 13.2
    head = 6 <= x <= 12 and abs(y - 12) <= (x - 6) * 0.9 + 0.6
    return disc and not (shaft or head)


def star(x, y):
    # A five-pointed star: inside when the polar radius is under the star's
    # edge at that angle.
    dx, dy = x - 8, y - 8.5
    r = math.hypot(dx, dy)
    a = (math.atan2(dy, dx) + math.pi / 2) % (2 * math.pi / 5) - math.pi / 5
    outer, inner = 7.5, 3.2
    # The edge between an outer point (a = 0) and an inner one (a = +-36deg).
    t = abs(a) / (math.pi / 5)
    return r <= outer * (1 - t) + inner * t


def pin(x, y):
    head = 4 <= x <= 12 and 2 <= y <= 8
    collar = 2 <= x <= 14 and 8 <= y <= 10
    needle = 7.2 <= x <= 8.8 and 10 <= y <= 15
    return head or collar or needle


def pushpin(x, y):
    # A drop: a disc on a point, with a hole in the disc.
    dx, dy = x - 10, y - 10
    r = math.hypot(dx, dy)
    disc = r <= 9
    hole = r <= 3.2
    point = 10 <= y <= 27 and abs(dx) <= 8.2 * (27 - y) / 17
    return (disc or point) and not hole


def dots(x, y):
    return any(math.hypot(x - cx, y - 8) <= 1.8 for cx in (3, 8, 13))


def clock_face(size):
    c = (size - 1) / 2
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            d = math.hypot(x - c, y - c)
            a = math.atan2(y - c, x - c) % (2 * math.pi / 12)
            tick = d >= size * 0.40 and min(a, 2 * math.pi / 12 - a) * d <= 0.9
            rim = d >= size * 0.46
            color = (150, 160, 175) if rim else (185, 190, 200) if tick else (244, 245, 247)
            alpha = round(255 * coverage(lambda u, v: math.hypot(u - size / 2, v - size / 2) <= size / 2, x, y))
            row.append(color + (alpha,))
        pixels.append(row)
    return pixels


def clock_glass(size):
    # A faint white sheen over the upper half.
    return [[(255, 255, 255, 48 if y < size / 2 and math.hypot(x - size / 2, y - size / 2) <= size / 2 - 3 else 0)
             for x in range(size)] for y in range(size)]


def main():
    states = [(96, 96, 96), (0, 102, 204), (0, 51, 153), (176, 176, 176)]
    search = []
    for color in states:
        search += draw(16, 16, magnifier, color)
    link = draw(20, 20, arrow, (0, 128, 64)) + draw(20, 20, arrow, (0, 170, 90))
    back = []
    for color in [(70, 70, 70), (0, 102, 204), (0, 51, 153), (176, 176, 176)]:
        back += draw(24, 24, back_arrow, color)
    rating = draw(16, 16, star, (200, 200, 200)) + draw(16, 16, star, (255, 200, 80)) + draw(16, 16, star, (240, 160, 0))
    outputs = (("SearchButtonGlyph.png", search), ("CommandLinkGlyph.png", link), ("BackButton.png", back),
               ("RatingControlIndicator.png", rating), ("FixedGroupIndicator.png", draw(16, 16, pin, (90, 90, 90))),
               ("ClockFace.png", clock_face(64)), ("ClockGlass.png", clock_glass(64)),
               ("MapPushpin.png", draw(20, 28, pushpin, (214, 72, 40))),
               ("NavigationBarCustomizationButton.png", draw(16, 16, dots, (86, 86, 86))))
    for name, pixels in outputs:
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(png(pixels))


if __name__ == "__main__":
    main()
