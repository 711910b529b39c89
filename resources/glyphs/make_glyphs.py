#!/usr/bin/env python3
"""Draws the 16 x 16 glyphs of the main window's image list as PNG files and
writes them into the form description (resources/MainUnit.dfm) as the image
list's "ImageInfo" items. Items 11 to 14 are the buttons' (quit, open,
connect, flash); the others are plain marks. Run it again after a change."""
import os
import re
import struct
import zlib

HERE = os.path.dirname(os.path.realpath(__file__))
SIZE = 16


def png(pixels):
    raw = b"".join(b"\0" + bytes(c for px in row for c in px) for row in pixels)
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def canvas():
    return [[(0, 0, 0, 0) for _ in range(SIZE)] for _ in range(SIZE)]


def fill(p, x0, y0, x1, y1, color):
    for y in range(max(0, y0), min(SIZE, y1)):
        for x in range(max(0, x0), min(SIZE, x1)):
            p[y][x] = color


def disc(p, cx, cy, r, color):
    for y in range(SIZE):
        for x in range(SIZE):
            if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                p[y][x] = color


def quit_glyph():
    p = canvas()
    red = (200, 40, 40, 255)
    for i in range(2, 14):
        for d in (-1, 0, 1):
            if 0 <= i + d < SIZE:
                p[i][i + d] = red
                p[i][SIZE - 1 - i + d] = red
    return p


def open_glyph():
    p = canvas()
    fill(p, 1, 4, 7, 6, (200, 150, 30, 255))
    fill(p, 1, 5, 15, 14, (240, 190, 60, 255))
    fill(p, 1, 13, 15, 14, (170, 120, 20, 255))
    return p


def connect_glyph():
    p = canvas()
    green = (40, 150, 60, 255)
    disc(p, 4.5, 8, 3.5, green)
    disc(p, 11.5, 8, 3.5, green)
    fill(p, 4, 7, 12, 9, green)
    disc(p, 4.5, 8, 1.5, (0, 0, 0, 0))
    disc(p, 11.5, 8, 1.5, (0, 0, 0, 0))
    return p


def flash_glyph():
    p = canvas()
    orange = (255, 128, 0, 255)
    bolt = [(9, 1), (8, 2), (7, 3), (6, 4), (5, 5), (4, 6), (4, 7), (5, 7), (6, 7), (7, 7), (8, 7),
            (7, 8), (6, 9), (5, 10), (4, 11), (3, 12), (3, 13)]
    for x, y in bolt:
        fill(p, x, y, x + 4, y + 1, orange)
    return p


def mark(i):
    p = canvas()
    hue = [(60, 90, 160, 255), (90, 140, 200, 255), (120, 120, 120, 255)][i % 3]
    disc(p, 8, 8, 3 + i % 4, hue)
    return p


def main():
    glyphs = [mark(i) for i in range(11)] + [quit_glyph(), open_glyph(), connect_glyph(), flash_glyph()]
    items = []
    for i, g in enumerate(glyphs):
        data = png(g)
        with open(os.path.join(HERE, "ImageList_%02d.png" % i), "wb") as f:
            f.write(data)
        hexdata = data.hex().upper()
        lines = [hexdata[k:k + 64] for k in range(0, len(hexdata), 64)]
        body = "\n".join("          " + line for line in lines)
        items.append("      item\n        ImageClass = 'TdxPNGImage'\n        Image.Data = {\n%s}\n      end" % body)
    block = "    ImageInfo = <\n" + "\n".join(items) + ">\n"
    dfm = os.path.join(HERE, "..", "MainUnit.dfm")
    text = open(dfm, encoding="utf-8").read()
    start = text.index("  object cxImageList1: TcxImageList\n")
    end = text.index("  end\n", start)
    head = text[start:end]
    head = re.sub(r"    ImageInfo = <.*", "", head, flags=re.S)
    text = text[:start] + head + block + text[end:]
    open(dfm, "w", encoding="utf-8", newline="\n").write(text)


if __name__ == "__main__":
    main()
