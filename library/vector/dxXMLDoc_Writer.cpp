// The writer: UTF-8 text with an XML declaration, optionally indented with
// tabs and broken into lines with carriage return and line feed.
//
// Each step gathers its bytes and hands them to the stream at once.
#include "library/vector/dxXMLDoc.h"
#include "library/vector/dxXMLDoc_Internal.h"

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
  for (const TdxXMLNodeAttribute* attribute = FAttributes->First(); attribute; attribute = attribute->Next()) {
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
  FEncoding = "UTF-8";
  WriteBytes(AStream, GetHeader());
  FRoot->WriteChildren(AStream, FAutoIndent);
  WriteBytes(AStream, GetFooter());
}

void TdxXMLDocument::SaveToFile(const String& AFileName) {
  TOwned<TdxBufferedStream> stream(New<TdxBufferedStream>(AFileName, fmCreate, SaveBufferSize));
  SaveToStream(stream.get());
  // The last bytes reach the file when the stream goes: freed here, a
  // failure to write them propagates.
  stream.release()->Free();
}
