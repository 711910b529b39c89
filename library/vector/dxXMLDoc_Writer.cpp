// The writer: UTF-8 text with an XML declaration, optionally indented with
// tabs and broken into lines with carriage return and line feed.
//
// What it writes is XML or nothing: a tree without exactly one top-level
// element, or with a name that is no XML name, is refused before a byte is
// written; of attributes of the same name only the first (the one lookups
// find) is written. Each step gathers its bytes and hands them to the stream
// at once.
#include "library/vector/dxXMLDoc.h"
#include "library/vector/dxXMLDoc_Internal.h"

#include <unordered_set>

namespace {

constexpr int SaveBufferSize = 262144;

void WriteBytes(TStream* AStream, std::string_view ABytes) {
  if (!ABytes.empty()) AStream->WriteBuffer(ABytes.data(), static_cast<std::int64_t>(ABytes.size()));
}

void AppendIndent(std::string& AResult, int ALevel) { AResult.append(static_cast<std::size_t>(ALevel), '\t'); }

// The bytes a step gathers, emptied: one buffer serves the whole tree, since
// every step takes it right before it builds and hands the bytes on before
// it calls another step.
std::string& Scratch() {
  thread_local std::string bytes;
  bytes.clear();
  return bytes;
}

// A name is held as UTF-8 bytes: bytes that are no UTF-8 make no name either.
void CheckName(const TdxXMLString& AName) {
  const String name = dxXMLStringToString(AName);
  if (!xmldoc_detail::IsValidName(name) || dxStringToXMLString(name) != AName)
    throw EdxException(L"The XML document cannot be written: \"%s\" is no XML name", {dxXMLStringToString(AName)});
}

// Every name below ANode, without recursion.
void CheckNames(const TdxXMLNode* ANode) {
  std::vector<const TdxXMLNode*> pending{ANode};
  while (!pending.empty()) {
    const TdxXMLNode* node = pending.back();
    pending.pop_back();
    CheckName(node->Name());
    for (const TdxXMLNodeAttribute* a = node->Attributes()->First(); a; a = a->Next()) CheckName(a->Name());
    for (const TdxXMLNode* child = node->First(); child; child = child->Next()) pending.push_back(child);
  }
}

// A document is written when it holds exactly one top-level element.
void CheckWritable(const TdxXMLNode* ARoot) {
  if (ARoot->Count() != 1)
    throw EdxException(ARoot->Count() == 0 ? L"The XML document cannot be written: it has no element"
                                           : L"The XML document cannot be written: it has more than one top-level element");
  CheckNames(ARoot->First());
}

}  // namespace

// ---------------------------------------------------------------------------
// TdxXMLNode

void TdxXMLNode::Write(TStream* AStream, bool AAutoIndent) {
  std::string& head = Scratch();
  if (AAutoIndent && !(FParent && FParent->IsSpacePreserved())) AppendIndent(head, Level());
  CheckPreserveSpacesAttribute();
  WriteBytes(AStream, head.append("<").append(FName));
  WriteAttributes(AStream);
  const bool hasContent = HasChildren() || !FText.empty();
  if (hasContent) {
    WriteBytes(AStream, ">");
    WriteContent(AStream, AAutoIndent);
  }
  std::string& tail = Scratch();
  if (hasContent) tail.append("</").append(FName).append(">");
  else tail.append("/>");
  if (AAutoIndent) tail.append("\r\n");
  WriteBytes(AStream, tail);
}

void TdxXMLNode::WriteAttributes(TStream* AStream) {
  std::string& bytes = Scratch();
  std::unordered_set<std::string_view> written;
  for (const TdxXMLNodeAttribute* attribute = FAttributes->First(); attribute; attribute = attribute->Next()) {
    if (!written.insert(attribute->Name()).second) continue;
    bytes.append(" ").append(attribute->Name()).append("=\"");
    xmldoc_detail::AppendEncodedUTF8(bytes, attribute->ValueAsString(), true);
    bytes.append("\"");
  }
  WriteBytes(AStream, bytes);
}

void TdxXMLNode::WriteContent(TStream* AStream, bool AAutoIndent) {
  std::string& bytes = Scratch();
  xmldoc_detail::AppendEncodedUTF8(bytes, FText, false);
  if (HasChildren() && AAutoIndent && (FText.empty() || !IsSpacePreserved())) bytes.append("\r\n");
  WriteBytes(AStream, bytes);
  if (!HasChildren()) return;
  WriteChildren(AStream, AAutoIndent);
  if (AAutoIndent) WriteBytes(AStream, std::string(static_cast<std::size_t>(Level()), '\t'));
}

void TdxXMLNode::WriteChildren(TStream* AStream, bool AAutoIndent) {
  for (TdxXMLNode* child = First(); child; child = child->Next()) child->Write(AStream, AAutoIndent);
}

// ---------------------------------------------------------------------------
// TdxXMLDocument

TdxXMLString TdxXMLDocument::GetHeader() {
  if (FVersion.empty() && FEncoding.empty() && FStandalone.empty()) return TdxXMLString();
  TdxXMLString header = "<?xml";
  const std::pair<const char*, const TdxXMLString*> fields[] = {
      {"version", &FVersion}, {"encoding", &FEncoding}, {"standalone", &FStandalone}};
  for (const auto& [name, value] : fields)
    if (!value->empty()) header.append(" ").append(name).append("=\"").append(*value).append("\"");
  return header + "?>\r\n";
}

void TdxXMLDocument::SaveToStream(TStream* AStream) {
  CheckWritable(FRoot.get());
  FEncoding = "UTF-8";
  WriteBytes(AStream, GetHeader());
  FRoot->WriteChildren(AStream, FAutoIndent);
  WriteBytes(AStream, GetFooter());
}

void TdxXMLDocument::SaveToFile(const String& AFileName) {
  // Refused before the file is made: an existing file stays as it was.
  CheckWritable(FRoot.get());
  TOwned<TdxBufferedStream> stream(New<TdxBufferedStream>(AFileName, fmCreate, SaveBufferSize));
  SaveToStream(stream.get());
  // The last bytes reach the file when the stream goes: freed here, a
  // failure to write them propagates.
  stream.release()->Free();
}
