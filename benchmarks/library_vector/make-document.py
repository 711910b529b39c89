#!/usr/bin/env python3
"""Writes the benchmark's XML document: about 20 MB of SVG-like markup
(groups, paths, shapes, texts with entities and non-ASCII characters),
the same bytes every time.

Usage: make-document.py OUTPUT [MEGABYTES]"""

import random
import sys


def main():
    output = sys.argv[1]
    target = int(float(sys.argv[2] if len(sys.argv) > 2 else 20) * 1000000)
    rnd = random.Random(20)
    parts = ['<?xml version="1.0" encoding="UTF-8"?>\n',
             '<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" '
             'width="1000" height="1000" viewBox="0 0 1000 1000">\n']
    size = sum(len(p) for p in parts)
    words = ["alpha", "beta", "gamma", "delta", "Größe", "naïve", "日本", "x&amp;y", "&lt;tag&gt;", "&#65;"]
    group = 0
    while size < target:
        group += 1
        lines = ['  <g id="g%d" transform="translate(%d,%d)" fill="#%06x" opacity="0.%d">\n'
                 % (group, rnd.randrange(1000), rnd.randrange(1000), rnd.randrange(1 << 24), rnd.randrange(10))]
        for _ in range(rnd.randrange(3, 9)):
            kind = rnd.randrange(4)
            if kind == 0:
                d = " ".join("%s %d %d" % (rnd.choice("MLCQ"), rnd.randrange(1000), rnd.randrange(1000))
                             for _ in range(rnd.randrange(4, 16)))
                lines.append('    <path d="%s Z" stroke="#%06x" stroke-width="%d.5"/>\n'
                             % (d, rnd.randrange(1 << 24), rnd.randrange(5)))
            elif kind == 1:
                lines.append('    <rect x="%d" y="%d" width="%d" height="%d" rx="2"/>\n'
                             % tuple(rnd.randrange(1000) for _ in range(4)))
            elif kind == 2:
                text = " ".join(rnd.choice(words) for _ in range(rnd.randrange(2, 12)))
                lines.append('    <text x="%d" y="%d" font-family="Arial" font-size="12">%s</text>\n'
                             % (rnd.randrange(1000), rnd.randrange(1000), text))
            else:
                lines.append('    <g class="inner"><circle cx="%d" cy="%d" r="%d"/>'
                             '<use xlink:href="#g%d"/></g>\n'
                             % (rnd.randrange(1000), rnd.randrange(1000), rnd.randrange(50), rnd.randrange(1, group + 1)))
        lines.append("  </g>\n")
        chunk = "".join(lines)
        parts.append(chunk)
        size += len(chunk.encode("utf-8"))
    parts.append("</svg>\n")
    with open(output, "w", encoding="utf-8", newline="\n") as f:
        f.write("".join(parts))


if __name__ == "__main__":
    main()
