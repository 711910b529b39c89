// What the XML tests share: a tree as text lines, documents from bytes.
#pragma once

#include "library/vector/dxXMLDoc.h"

#include <string>

// The elements below ANode, one line each with their attributes and text
// (the form tests/library_vector/xmlconf-expected.py writes):
//   E name
//     A name=value
//     T text
// indented by two spaces per level; values and texts escape the backslash,
// tab, line feed, carriage return and other characters below U+0020; UTF-8.
std::string DumpXMLTree(const TdxXMLNode* ANode);

// A new document read from the bytes (the caller owns it).
TOwned<TdxXMLDocument> ReadXML(const std::string& ABytes);
// The document written to bytes.
std::string WriteXML(TdxXMLDocument* ADocument, bool AAutoIndent = false);
