#!/usr/bin/env python3
"""Draws the control library's 32 cursors (32 x 32, two colours and a
transparent mask, as .cur files) and the three origin markers of middle-button
scrolling (28 x 28, 24-bit .bmp files), and writes Cursors.rc, which names them
as the program's resources. Only the resource names matter to the library;
the pictures are our own. Run it again after a change."""
import os
import struct

HERE = os.path.dirname(os.path.realpath(__file__))
SIZE = 32
MARKER = 28

# ---------------------------------------------------------------------------
# Drawing on a 32 x 32 mask: a cursor is its shape in white with a black
# outline one pixel wide around it; everything else is transparent.


def blank():
    return [[0] * SIZE for _ in range(SIZE)]


def inside_polygon(x, y, points):
    # Even-odd rule at the pixel's centre.
    px, py = x + 0.5, y + 0.5
    result = False
    j = len(points) - 1
    for i in range(len(points)):
        xi, yi = points[i]
        xj, yj = points[j]
        if (yi > py) != (yj > py) and px < (xj - xi) * (py - yi) / (yj - yi) + xi:
            result = not result
        j = i
    return result


def polygon(m, points, value=1):
    for y in range(SIZE):
        for x in range(SIZE):
            if inside_polygon(x, y, points):
                m[y][x] = value


def rect(m, x0, y0, x1, y1, value=1):
    for y in range(max(0, y0), min(SIZE, y1)):
        for x in range(max(0, x0), min(SIZE, x1)):
            m[y][x] = value


def frame(m, x0, y0, x1, y1, value=1):
    rect(m, x0, y0, x1, y0 + 1, value)
    rect(m, x0, y1 - 1, x1, y1, value)
    rect(m, x0, y0, x0 + 1, y1, value)
    rect(m, x1 - 1, y0, x1, y1, value)


def line(m, x0, y0, x1, y1, value=1):
    dx, dy = abs(x1 - x0), -abs(y1 - y0)
    sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
    err = dx + dy
    while True:
        if 0 <= x0 < SIZE and 0 <= y0 < SIZE:
            m[y0][x0] = value
        if x0 == x1 and y0 == y1:
            return
        e2 = 2 * err
        if e2 >= dy:
            err += dy
            x0 += sx
        if e2 <= dx:
            err += dx
            y0 += sy


def disc(m, cx, cy, r, value=1):
    for y in range(SIZE):
        for x in range(SIZE):
            if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                m[y][x] = value


# Values: 0 nothing, 1 white body, 2 black detail drawn over a body.
def pointer(m, x=0, y=0):
    polygon(m, [(x + 1, y + 1), (x + 1, y + 17), (x + 5, y + 13), (x + 8, y + 20), (x + 10, y + 19),
                (x + 7, y + 12), (x + 12, y + 12)])


def arrow_head(m, cx, cy, direction, size=5):
    # A filled triangle whose tip is at (cx, cy).
    dx, dy = {"up": (0, 1), "down": (0, -1), "left": (1, 0), "right": (-1, 0)}[direction]
    bx, by = cx + dx * size, cy + dy * size
    px, py = -dy, dx
    polygon(m, [(cx + 0.5, cy + 0.5), (bx + px * size + 0.5, by + py * size + 0.5),
                (bx - px * size + 0.5, by - py * size + 0.5)])


def double_arrow(m, horizontal, centre=16, half=12, shaft=2):
    if horizontal:
        rect(m, centre - half + 4, centre - shaft, centre + half - 4, centre + shaft)
        arrow_head(m, centre - half, centre, "left")
        arrow_head(m, centre + half, centre, "right")
    else:
        rect(m, centre - shaft, centre - half + 4, centre + shaft, centre + half - 4)
        arrow_head(m, centre, centre - half, "up")
        arrow_head(m, centre, centre + half, "down")


def page(m, x, y, w=9, h=7):
    rect(m, x, y, x + w, y + h)
    frame(m, x, y, x + w, y + h, 2)


def plus_badge(m, x, y):
    rect(m, x, y, x + 9, y + 9)
    frame(m, x, y, x + 9, y + 9, 2)
    rect(m, x + 2, y + 4, x + 7, y + 5, 2)
    rect(m, x + 4, y + 2, x + 5, y + 7, 2)


def no_sign(m, cx, cy, r):
    disc(m, cx, cy, r)
    disc(m, cx, cy, r - 2, 2)
    disc(m, cx, cy, r - 4, 1)
    for k in range(-r + 2, r - 1):
        for t in (0, 1):
            xx, yy = cx + k, cy - k - t
            if 0 <= xx < SIZE and 0 <= yy < SIZE:
                m[yy][xx] = 2


def hand(m, pointing):
    # A hand with a raised index finger, or a fist that grips (dragging).
    rect(m, 7, 14, 23, 28)
    rect(m, 9, 28, 21, 30)
    if pointing:
        rect(m, 11, 3, 15, 15)
    else:
        rect(m, 11, 10, 15, 15)
    rect(m, 15, 10, 18, 15)
    rect(m, 18, 11, 21, 15)
    rect(m, 21, 12, 23, 16)
    rect(m, 4, 16, 7, 21)
    for x in (15, 18, 21):
        rect(m, x, 15, x + 1, 20, 2)


def drop_marker(m, where):
    pointer(m)
    # A bar with an arrow: where the dragged item lands.
    y = {"before": 20, "after": 28, "inside": 24}[where]
    rect(m, 13, y - 1, 30, y + 2)
    rect(m, 14, y, 29, y + 1, 2)
    if where == "inside":
        frame(m, 16, 18, 28, 31)


CURSORS = [
    # (index, resource name, file, hot spot, drawing)
    (2100, "CX_DRAGCOPYCURSOR", "dragcopy", (1, 1), lambda m: (pointer(m), page(m, 12, 18), plus_badge(m, 21, 22))),
    (2101, "CX_FULLSCROLLCURSOR", "fullscroll", (16, 16),
     lambda m: (double_arrow(m, True), double_arrow(m, False), disc(m, 16, 16, 2, 2))),
    (2102, "CX_HORSCROLLCURSOR", "horscroll", (16, 16), lambda m: (double_arrow(m, True), disc(m, 16, 16, 2, 2))),
    (2103, "CX_VERSCROLLCURSOR", "verscroll", (16, 16), lambda m: (double_arrow(m, False), disc(m, 16, 16, 2, 2))),
    (2104, "CX_UPSCROLLCURSOR", "upscroll", (16, 4),
     lambda m: (rect(m, 14, 9, 18, 24), arrow_head(m, 16, 4, "up"), disc(m, 16, 26, 3))),
    (2105, "CX_RIGHTSCROLLCURSOR", "rightscroll", (27, 16),
     lambda m: (rect(m, 8, 14, 23, 18), arrow_head(m, 27, 16, "right"), disc(m, 6, 16, 3))),
    (2106, "CX_DOWNSCROLLCURSOR", "downscroll", (16, 27),
     lambda m: (rect(m, 14, 8, 18, 23), arrow_head(m, 16, 27, "down"), disc(m, 16, 6, 3))),
    (2107, "CX_LEFTSCROLLCURSOR", "leftscroll", (4, 16),
     lambda m: (rect(m, 9, 14, 24, 18), arrow_head(m, 4, 16, "left"), disc(m, 26, 16, 3))),
    (2108, "CX_REMOVECURSOR", "remove", (1, 1),
     lambda m: (pointer(m), rect(m, 17, 17, 30, 30), line(m, 19, 19, 27, 27, 2), line(m, 27, 19, 19, 27, 2))),
    (2109, "CX_VERTSIZECURSOR", "vertsize", (16, 16),
     lambda m: (double_arrow(m, False), rect(m, 6, 15, 26, 17), rect(m, 7, 15, 25, 16, 2))),
    (2110, "CX_HORZSIZECURSOR", "horzsize", (16, 16),
     lambda m: (double_arrow(m, True), rect(m, 15, 6, 17, 26), rect(m, 15, 7, 16, 25, 2))),
    (2111, "CX_MULTIDRAGCURSOR", "multidrag", (1, 1), lambda m: (pointer(m), page(m, 14, 16), page(m, 17, 20), page(m, 20, 24))),
    (2112, "CX_NODROPCURSOR", "nodrop", (1, 1), lambda m: (pointer(m), no_sign(m, 22, 22, 8))),
    (2113, "CX_DRAGCURSOR", "drag", (1, 1), lambda m: (pointer(m), page(m, 13, 20))),
    (2114, "CX_COLORPICKERCURSOR", "colorpicker", (2, 29),
     lambda m: (polygon(m, [(2, 29), (2, 25), (18, 9), (22, 13), (6, 29)]), rect(m, 18, 4, 28, 14),
                line(m, 4, 27, 17, 14, 2))),
    (2115, "CX_MULTIDRAGCOPYCURSOR", "multidragcopy", (1, 1),
     lambda m: (pointer(m), page(m, 12, 14), page(m, 15, 18), plus_badge(m, 21, 22))),
    (2116, "CX_HANDCURSOR", "hand", (16, 16), lambda m: hand(m, False)),
    (2117, "CX_HANDDRAGCURSOR", "handdrag", (16, 16), lambda m: (hand(m, False), rect(m, 11, 8, 23, 11, 0))),
    (2119, "DXLAYOUTCONTROLNODROP", "layoutnodrop", (1, 1), lambda m: (pointer(m), no_sign(m, 22, 22, 7))),
    (2120, "DXLAYOUTCONTROLREMOVE", "layoutremove", (1, 1),
     lambda m: (pointer(m), disc(m, 23, 23, 7), rect(m, 19, 22, 28, 25, 2))),
    (2121, "DXLAYOUTCONTROLDROPAFTER", "layoutdropafter", (1, 1), lambda m: drop_marker(m, "after")),
    (2122, "DXLAYOUTCONTROLDROPBEFORE", "layoutdropbefore", (1, 1), lambda m: drop_marker(m, "before")),
    (2123, "DXLAYOUTCONTROLDROPINSIDE", "layoutdropinside", (1, 1), lambda m: drop_marker(m, "inside")),
    (2124, "CXDROPAFTERCOPY", "dropaftercopy", (1, 1), lambda m: (drop_marker(m, "after"), plus_badge(m, 2, 22))),
    (2125, "CXDROPBEFORECOPY", "dropbeforecopy", (1, 1), lambda m: (drop_marker(m, "before"), plus_badge(m, 2, 22))),
    (2126, "CXDROPINSIDECOPY", "dropinsidecopy", (1, 1), lambda m: (drop_marker(m, "inside"), plus_badge(m, 2, 22))),
    (2127, "CX_LEFTARROWCURSOR", "leftarrow", (3, 16),
     lambda m: (arrow_head(m, 3, 16, "left", 8), rect(m, 11, 13, 28, 19))),
    (2128, "CX_RIGHTARROWCURSOR", "rightarrow", (28, 16),
     lambda m: (arrow_head(m, 28, 16, "right", 8), rect(m, 3, 13, 20, 19))),
    (2129, "CX_CROSSCURSOR", "cross", (16, 16),
     lambda m: (rect(m, 14, 2, 18, 30), rect(m, 2, 14, 30, 18), rect(m, 15, 3, 17, 29, 2), rect(m, 3, 15, 29, 17, 2))),
    (2130, "CX_TASKLINKCURSOR", "tasklink", (1, 1),
     lambda m: (pointer(m), frame(m, 14, 18, 24, 26), frame(m, 20, 22, 30, 30), line(m, 19, 22, 25, 26, 2))),
    (2131, "CX_HORZRESIZECURSOR", "horzresize", (16, 16),
     lambda m: (double_arrow(m, True), rect(m, 13, 4, 19, 28), rect(m, 15, 5, 17, 27, 2))),
    (-2099, "CX_HANDPOINTCURSOR", "handpoint", (12, 3), lambda m: hand(m, True)),
]


def outlined(m):
    """The shape's pixels white, its details and a one-pixel rim black."""
    colour = [[None] * SIZE for _ in range(SIZE)]
    for y in range(SIZE):
        for x in range(SIZE):
            if m[y][x] == 1:
                colour[y][x] = "white"
            elif m[y][x] == 2:
                colour[y][x] = "black"
    for y in range(SIZE):
        for x in range(SIZE):
            if colour[y][x] is None and any(
                    0 <= x + dx < SIZE and 0 <= y + dy < SIZE and m[y + dy][x + dx]
                    for dx in (-1, 0, 1) for dy in (-1, 0, 1)):
                colour[y][x] = "black"
    return colour


def cur_file(colour, hotspot):
    # One 32 x 32 monochrome image: XOR mask (1 = white) over AND mask
    # (1 = transparent), rows bottom-up, 4 bytes each.
    def rows(bit):
        data = b""
        for y in reversed(range(SIZE)):
            value = 0
            for x in range(SIZE):
                if bit(colour[y][x]):
                    value |= 1 << (31 - x)
            data += struct.pack(">I", value)
        return data
    xor = rows(lambda c: c == "white")
    and_ = rows(lambda c: c is None)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, len(xor) + len(and_), 0, 0, 2, 2)
    palette = struct.pack("<II", 0x000000, 0xFFFFFF)
    image = header + palette + xor + and_
    directory = struct.pack("<HHH", 0, 2, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, hotspot[0], hotspot[1],
                                                           len(image), 6 + 16)
    return directory + image


# ---------------------------------------------------------------------------
# Origin markers: a light disc with a dot in the middle and arrows towards the
# directions that scroll.


def marker_file(directions):
    window = (255, 255, 255)
    ink = (0, 0, 0)
    grey = (160, 160, 160)
    pixels = [[window] * MARKER for _ in range(MARKER)]
    c = MARKER / 2
    for y in range(MARKER):
        for x in range(MARKER):
            d = ((x + 0.5 - c) ** 2 + (y + 0.5 - c) ** 2) ** 0.5
            if d <= 2:
                pixels[y][x] = ink
            elif c - 1.5 <= d <= c:
                pixels[y][x] = grey

    def head(tip_x, tip_y, dx, dy):
        for k in range(5):
            for s in range(-k, k + 1):
                x = tip_x + dx * k + dy * s
                y = tip_y + dy * k + dx * s
                if 0 <= x < MARKER and 0 <= y < MARKER:
                    pixels[y][x] = ink

    m = MARKER // 2
    if "up" in directions:
        head(m, 4, 0, 1)
    if "down" in directions:
        head(m, MARKER - 5, 0, -1)
    if "left" in directions:
        head(4, m, 1, 0)
    if "right" in directions:
        head(MARKER - 5, m, -1, 0)
    stride = (MARKER * 3 + 3) // 4 * 4
    data = b""
    for y in reversed(range(MARKER)):
        row = b"".join(bytes((b, g, r)) for (r, g, b) in pixels[y])
        data += row + b"\0" * (stride - len(row))
    info = struct.pack("<IiiHHIIiiII", 40, MARKER, MARKER, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + len(info) + len(data), 0, 0, 14 + len(info)) + info + data


MARKERS = [
    ("CX_FULLSCROLLBITMAP", "fullscroll", ("up", "down", "left", "right")),
    ("CX_VERSCROLLBITMAP", "verscroll", ("up", "down")),
    ("CX_HORSCROLLBITMAP", "horscroll", ("left", "right")),
]


def main():
    lines = ["// The control library's cursors and middle-button scrolling markers, by resource",
             "// name (made by make_cursors.py; only the names bind).", ""]
    for index, name, file, hotspot, draw in CURSORS:
        m = blank()
        draw(m)
        with open(os.path.join(HERE, file + ".cur"), "wb") as f:
            f.write(cur_file(outlined(m), hotspot))
        lines.append('%s CURSOR "resources/cursors/%s.cur"  // %d' % (name, file, index))
    lines.append("")
    for name, file, directions in MARKERS:
        with open(os.path.join(HERE, file + ".bmp"), "wb") as f:
            f.write(marker_file(directions))
        lines.append('%s BITMAP "resources/cursors/%s.bmp"' % (name, file))
    with open(os.path.join(HERE, "..", "Cursors.rc"), "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
