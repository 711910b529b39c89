// The writer: UTF-8 text with an XML declaration, optionally indented with
// tabs and broken into lines with carriage return and line feed.
#include "library/vector/dxXMLDoc.h"

namespace {

constexpr int SaveBufferSize = 262144;

void WriteBytes(TStream* AStream, std::string_view ABytes) {
  if (!ABytes.empty()) AStream->WriteBuffer(ABytes.data(), static_cast<std::int64_t>(ABytes.size()));
}

void WriteLineBreak(TStream* AStream) { WriteBytes(AStream, "\r\n"); }

void WriteIndent(TStream* AStream, int ALevel) {
  for (int i = 0; i < ALevel; ++i) WriteBytes(AStream, "\t");
}

}  // namespace

// ---------------------------------------------------------------------------
// TdxXMLNode

void TdxXMLNode::Write(TStream* AStream, bool AAutoIndent) {
  if (AAutoIndent && !(FParent && FParent->IsSpacePreserved())) WriteIndent(AStream, Level());
  CheckPreserveSpacesAttribute();
  WriteBytes(AStream, "<");
  WriteBytes(AStream, FName);
  WriteAttributes(AStream);
  if (HasChildren() || !FText.empty()) {
    WriteBytes(AStream, ">");
    WriteContent(AStream, AAutoIndent);
    WriteBytes(AStream, "</");
    WriteBytes(AStream, FName);
    WriteBytes(AStream, ">");
  } else {
    WriteBytes(AStream, "/>");
  }
  if (AAutoIndent) WriteLineBreak(AStream);
}

void TdxXMLNode::WriteAttributes(TStream* AStream) {
  for (const TdxXMLNodeAttribute* attribute = FAttributes->First(); attribute; attribute = attribute->Next()) {
    WriteBytes(AStream, " ");
    WriteBytes(AStream, attribute->Name());
    WriteBytes(AStream, "=\"");
    WriteBytes(AStream, dxStringToXMLString(TdxXMLHelper::EncodeString(attribute->ValueAsString(), true)));
    WriteBytes(AStream, "\"");
  }
}

void TdxXMLNode::WriteContent(TStream* AStream, bool AAutoIndent) {
  if (!FText.empty()) WriteBytes(AStream, dxStringToXMLString(TdxXMLHelper::EncodeString(FText)));
  if (!HasChildren()) return;
  if (AAutoIndent && (FText.empty() || !IsSpacePreserved())) WriteLineBreak(AStream);
  WriteChildren(AStream, AAutoIndent);
  if (AAutoIndent) WriteIndent(AStream, Level());
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
