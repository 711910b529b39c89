#!/usr/bin/env python3
"""Chooses librsvg's reference tests (Debian's librsvg2-tests) whose features
the SVG units implement, and writes them, with the reason for each test left
out, to rsvg-reftests.txt beside this script.

A test is chosen when its SVG file uses only the elements svg, g, circle,
ellipse, line, image (data URIs), path, polygon, polyline, rect, text, tspan,
use, defs, clipPath, stop, linearGradient, radialGradient, pattern and style
(besides title, desc, metadata and elements of other namespaces, which draw
nothing; no XInclude), is plain XML (not gzip-compressed), has only class and tag selectors in its style sheets, and none of the
properties and attributes that select behaviour the units do not have:
display or visibility that hide, masks, filters, markers, spread methods, bounding-box clip or content units, conditional processing,
text layout beyond x, y, dx, dy and anchors, units relative to fonts, paint
order and blend modes; and when it has a size of its own (a view box, or a
width and a height).

Usage: rsvg-reftests.py [FIXTURES-DIR]   (run with Debian's python3: it needs lxml)
"""
import os
import re
import sys

from lxml import etree

FIXTURES = sys.argv[1] if len(sys.argv) > 1 else "/usr/libexec/installed-tests/RSVG/fixtures"
REFTESTS = os.path.join(FIXTURES, "reftests")
SVG = "http://www.w3.org/2000/svg"
XLINK = "http://www.w3.org/1999/xlink"
ELEMENTS = {"svg", "g", "circle", "ellipse", "line", "image", "path", "polygon", "polyline", "rect", "text",
            "tspan", "use", "defs", "clipPath", "stop", "linearGradient", "radialGradient", "pattern", "style",
            "title", "desc", "metadata"}
TEXT_LAYOUT = {"letter-spacing", "word-spacing", "writing-mode", "direction", "text-decoration", "font-variant",
               "baseline-shift", "dominant-baseline", "alignment-baseline", "font-stretch", "unicode-bidi",
               "textLength", "lengthAdjust", "rotate"}
NEUTRAL = {"normal", "none", "0", "0px", "ltr", "lr-tb", "baseline", "auto", "start", "inherit", "spacing", ""}


def properties(element):
    result = {etree.QName(k).localname: v.strip() for k, v in element.attrib.items()}
    for declaration in (element.get("style") or "").split(";"):
        if ":" in declaration:
            name, value = declaration.split(":", 1)
            result[name.strip()] = value.strip()
    return result


def selector_reasons(css):
    css = re.sub(r"/\*.*?\*/", "", css, flags=re.S)
    reasons = set()
    if "@" in css:
        reasons.add("CSS at-rules")
    if "!important" in css:
        reasons.add("CSS !important")
    for rule in css.split("}"):
        if "{" not in rule:
            continue
        for selector in rule.split("{")[0].split(","):
            selector = selector.strip()
            if selector and not re.fullmatch(r"\.[A-Za-z_][\w-]*|[A-Za-z]+", selector):
                reasons.add("CSS selectors beyond classes and tags")
    return reasons


def reasons_of(path):
    with open(path, "rb") as f:
        if f.read(2) == b"\x1f\x8b":
            return {"gzip-compressed (the reader takes plain XML)"}
    try:
        tree = etree.parse(path, etree.XMLParser(resolve_entities=False, no_network=True))
    except etree.XMLSyntaxError:
        return {"not well-formed XML"}
    top = tree.getroot()
    reasons = set()
    for element in tree.iter():
        if not isinstance(element.tag, str):
            continue
        qname = etree.QName(element)
        if qname.namespace == "http://www.w3.org/2001/XInclude":
            reasons.add("XInclude")
        if qname.namespace not in (SVG, None):
            continue
        name = qname.localname
        if name not in ELEMENTS:
            reasons.add("element " + name)
        if name == "svg" and element is not top:
            reasons.add("nested svg")
        href = element.get("{%s}href" % XLINK) or element.get("href") or ""
        if name == "image" and not href.startswith("data:"):
            reasons.add("external image")
        if name == "use" and not href.startswith("#"):
            reasons.add("external use")
        if name == "style":
            reasons |= selector_reasons(element.text or "")
        if name == "tspan" and etree.QName(element.getparent()).localname == "tspan":
            reasons.add("nested tspan")
        for key, value in properties(element).items():
            if key == "display" and value == "none":
                reasons.add("display none")
            elif key == "visibility" and value in ("hidden", "collapse"):
                reasons.add("visibility")
            elif key in ("mask", "filter") and value not in ("none", ""):
                reasons.add(key)
            elif key.startswith("marker") and value not in ("none", ""):
                reasons.add("markers")
            elif key == "spreadMethod" and value != "pad":
                reasons.add("spreadMethod")
            elif key in ("patternContentUnits", "clipPathUnits") and value == "objectBoundingBox":
                reasons.add(key)
            elif key in ("requiredFeatures", "requiredExtensions", "systemLanguage"):
                reasons.add("conditional processing")
            elif key == "preserveAspectRatio" and element is not top:
                reasons.add("preserveAspectRatio")
            elif key in TEXT_LAYOUT and value not in NEUTRAL:
                reasons.add("text layout (%s)" % key)
            elif key in ("paint-order", "mix-blend-mode", "isolation", "vector-effect") and value not in NEUTRAL:
                reasons.add(key)
            elif re.search(r"\d(em|ex)\b", value) and key not in ("font", "font-size"):
                reasons.add("font-relative units")
        if name in ("text", "tspan"):
            for key in ("x", "y", "dx", "dy"):
                if len((element.get(key) or "").replace(",", " ").split()) > 1:
                    reasons.add("text position lists")
    reasons |= shape_reasons(top)
    return reasons


def length(text):
    match = re.fullmatch(r"\s*([-+0-9.eE]+)\s*(px|pt|pc|mm|cm|in)?\s*", text or "")
    if not match:
        return None
    scale = {None: 1, "px": 1, "pt": 96 / 72, "pc": 16, "mm": 96 / 25.4, "cm": 96 / 2.54, "in": 96}
    return float(match.group(1)) * scale[match.group(2)]


def shape_reasons(top):
    numbers = [float(n) for n in re.findall(r"[-+]?[0-9.]+(?:[eE][-+]?\d+)?", top.get("viewBox") or "")]
    width, height = (numbers[2], numbers[3]) if len(numbers) == 4 else (0, 0)
    width = width or length(top.get("width")) or 0
    height = height or length(top.get("height")) or 0
    if width <= 0 or height <= 0:
        return {"no size of its own"}
    return set()


def main():
    chosen, left_out = [], []
    for folder, _, files in sorted(os.walk(REFTESTS)):
        for name in sorted(files):
            if not name.endswith(".svg") or name.startswith("ignore-"):
                continue
            path = os.path.join(folder, name)
            reference = path[:-4] + "-ref.png"
            relative = os.path.relpath(path, REFTESTS)
            if not os.path.exists(reference):
                continue
            reasons = reasons_of(path)
            if reasons:
                left_out.append("# left out: %s: %s" % (relative, ", ".join(sorted(reasons))))
            else:
                chosen.append(relative)
    target = os.path.join(os.path.dirname(os.path.abspath(__file__)), "rsvg-reftests.txt")
    with open(target, "w") as out:
        out.write("# librsvg's reference tests that the SVG units can draw: written by rsvg-reftests.py\n")
        out.write("# (which says how they are chosen); one path below reftests/ per line.\n")
        out.write("# %d chosen, %d left out.\n" % (len(chosen), len(left_out)))
        for line in chosen:
            out.write(line + "\n")
        for line in left_out:
            out.write(line + "\n")
    print("%d chosen, %d left out" % (len(chosen), len(left_out)))


if __name__ == "__main__":
    main()
