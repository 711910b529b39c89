#include "tests/library_vector/XMLTestSupport.h"

#include <cstdio>

namespace {

std::string EscapeDumpText(const String& AText) {
  std::string result;
  for (const char c : dxStringToXMLString(AText)) {
    switch (c) {
      case '\\': result += "\\\\"; break;
      case '\t': result += "\\t"; break;
      case '\n': result += "\\n"; break;
      case '\r': result += "\\r"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char hex[8];
          std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned>(c));
          result += hex;
        } else {
          result += c;
        }
    }
  }
  return result;
}

void DumpElements(const TdxXMLNode* ANode, int ALevel, std::string& AResult) {
  for (const TdxXMLNode* node = ANode->First(); node; node = node->Next()) {
    const std::string indent(2 * static_cast<std::size_t>(ALevel), ' ');
    AResult += indent + "E " + node->Name() + "\n";
    for (const TdxXMLNodeAttribute* a = node->Attributes()->First(); a; a = a->Next())
      AResult += indent + "  A " + a->Name() + "=" + EscapeDumpText(a->ValueAsString()) + "\n";
    if (!node->TextAsString().empty()) AResult += indent + "  T " + EscapeDumpText(node->TextAsString()) + "\n";
    DumpElements(node, ALevel + 1, AResult);
  }
}

}  // namespace

std::string DumpXMLTree(const TdxXMLNode* ANode) {
  std::string result;
  DumpElements(ANode, 0, result);
  return result;
}

TOwned<TdxXMLDocument> ReadXML(const std::string& ABytes) {
  TOwned<TdxXMLDocument> document(New<TdxXMLDocument>(nullptr));
  document->LoadFromString(ABytes);
  return document;
}

std::string WriteXML(TdxXMLDocument* ADocument, bool AAutoIndent) {
  ADocument->SetAutoIndent(AAutoIndent);
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  ADocument->SaveToStream(stream.get());
  return std::string(static_cast<const char*>(stream->Memory()), static_cast<std::size_t>(stream->Size()));
}
