// The reader: a forgiving single-pass tokenizer over the document's bytes.
//
// Tokens point into the buffer; only names, values and texts are copied out.
// Text is taken by position: an element's text is the run between its start
// tag and its first child or its end tag; a comment, a processing instruction
// or a declaration drops the run before it, and a CDATA section's text
// replaces it.
#include "library/core/containers/dxHashUtils.h"
#include "library/vector/dxXMLDoc.h"

#include <algorithm>

#include <array>
#include <cstring>
#include <memory>

namespace {

constexpr std::string_view CommentBegin = "<!--";
constexpr std::string_view CommentEnd = "-->";
constexpr std::string_view CDATABegin = "<![CDATA[";
constexpr std::string_view CDATAEnd = "]]>";

bool IsSpaceByte(char C) { return C == '\t' || C == '\n' || C == '\r' || C == ' '; }

// The bytes that end a word: '/', '=', '<', '>', quotes and white space.
constexpr std::array<bool, 256> WordStops = [] {
  std::array<bool, 256> stops{};
  for (unsigned char c : std::string_view("/=<>\"'\t\n\r ")) stops[c] = true;
  return stops;
}();

bool StartsWith(const char* AData, std::size_t ALength, std::string_view APrefix) {
  return ALength >= APrefix.size() && std::memcmp(AData, APrefix.data(), APrefix.size()) == 0;
}

template <class T>
std::uint32_t HashOf(std::basic_string_view<T> AValue) {
  return HashBytesShiftXor(AValue.data(), AValue.size() * sizeof(T));
}

// The stored string equal to AValue, appended to its bucket's chain when new.
template <class TEntry, class TChar>
const auto& InternIn(std::vector<TEntry*>& ATable, std::deque<TEntry>& AValues, std::basic_string_view<TChar> AValue) {
  if (ATable.empty()) ATable.assign(TdxXMLSharedStrings::TableSize, nullptr);
  const std::uint32_t hash = HashOf(AValue);
  TEntry** link = &ATable[hash % TdxXMLSharedStrings::TableSize];
  for (; *link; link = &(*link)->Next)
    if ((*link)->Hash == hash && (*link)->Value == AValue) return (*link)->Value;
  using TValue = decltype(TEntry::Value);
  *link = &AValues.emplace_back(TEntry{hash, nullptr, TValue(AValue)});
  return (*link)->Value;
}

}  // namespace

// ---------------------------------------------------------------------------
// TdxXMLSharedStrings

const TdxXMLString& TdxXMLSharedStrings::Add(std::string_view AValue) { return InternIn(FTableA, FValuesA, AValue); }

const String& TdxXMLSharedStrings::Add(std::wstring_view AValue) { return InternIn(FTableS, FValuesS, AValue); }

void TdxXMLSharedStrings::Clear() {
  FTableA.clear();
  FTableS.clear();
  FValuesA.clear();
  FValuesS.clear();
}

// ---------------------------------------------------------------------------
// TdxXMLParser

void TdxXMLParser::Create(TdxXMLDocument* ADocument, bool AShareStrings) {
  FDocument = ADocument;
  if (AShareStrings) FSharedStrings.reset(New<TdxXMLSharedStrings>());
}

bool TdxXMLParser::GetToken(TdxXMLToken& AToken) {
  while (FDataLength > 0 && IsSpaceByte(*FData)) {
    ++FData;
    --FDataLength;
  }
  if (FDataLength == 0) return false;
  const auto take = [&](std::size_t ACount, TdxXMLTokenID AType) {
    AToken.Buffer = FData;
    AToken.BufferLengthInChars = ACount;
    AToken.TokenType = AType;
    FData += ACount;
    FDataLength -= ACount;
  };
  // A section of AEnd-terminated text after ABegin, when it is complete.
  // AMissingFrom remembers where a search for AEnd found none, so that many
  // unterminated sections cost one search, not one each.
  const auto takeSection = [&](std::string_view ABegin, std::string_view AEnd, TdxXMLTokenID AType,
                               const char*& AMissingFrom) {
    if (!StartsWith(FData, FDataLength, ABegin) || FDataLength <= ABegin.size() + AEnd.size()) return false;
    const std::string_view rest(FData + ABegin.size(), FDataLength - ABegin.size());
    if (AMissingFrom && rest.data() >= AMissingFrom) return false;
    const std::size_t end = rest.find(AEnd);
    if (end == std::string_view::npos) {
      AMissingFrom = rest.data();
      return false;
    }
    AToken.Buffer = rest.data();
    AToken.BufferLengthInChars = end;
    AToken.TokenType = AType;
    const std::size_t consumed = ABegin.size() + end + AEnd.size();
    FData += consumed;
    FDataLength -= consumed;
    return true;
  };

  const char c = *FData;
  const char next = FDataLength > 1 ? FData[1] : '\0';
  if (c == '"' || c == '\'') {
    ++FData;
    --FDataLength;
    std::size_t length = 0;
    while (length < FDataLength && FData[length] != c && FData[length] != '<' && FData[length] != '>') ++length;
    take(length, ttUnknown);
    if (FDataLength > 0 && *FData == c) {
      ++FData;
      --FDataLength;
    }
    return true;
  }
  switch (c) {
    case '/':
    case '?':
      if (next == '>') take(2, ttTagEnd);
      else if (c == '/') take(1, ttUnknown);
      else break;
      return true;
    case '<':
      if (next == '/') take(2, ttTagFooter);
      else if (!takeSection(CommentBegin, CommentEnd, ttComment, FNoCommentEndFrom) &&
               !takeSection(CDATABegin, CDATAEnd, ttCDATA, FNoCDATAEndFrom))
        take(1, ttTagHeaderBegin);
      return true;
    case '=':
      take(1, ttEqual);
      return true;
    case '>':
      take(1, ttTagHeaderEnd);
      return true;
    default:
      break;
  }
  std::size_t length = 1;
  while (length < FDataLength && !WordStops[static_cast<unsigned char>(FData[length])]) ++length;
  take(length, ttUnknown);
  return true;
}

void TdxXMLParser::SelectEncoding() {
  const String encoding = dxXMLStringToString(FDocument->Encoding());
  FEncodingCodePage = 0;
  if (SameText(encoding, L"UTF-8")) {
    FEncoding = dxxeUTF8;
  } else if (encoding.size() >= 8 && SameText(encoding.substr(0, 8), L"Windows-")) {
    FEncoding = dxxeWindows;
    FEncodingCodePage = StrToIntDef(encoding.substr(8), 0);
  } else {
    FEncoding = dxxeNone;
  }
}

String TdxXMLParser::DecodeValue(const char* AData, std::size_t ACount) {
  if (ACount == 0) return String();
  UINT codePage = CP_ACP;
  if (FEncoding == dxxeUTF8) codePage = CP_UTF8;
  else if (FEncoding == dxxeWindows) codePage = static_cast<UINT>(FEncodingCodePage);
  // Plain ASCII reads the same in every code page the reader selects.
  String text(ACount, L'\0');
  bool coded = false;  // holds an entity or an escape
  std::size_t i = 0;
  for (; i < ACount && static_cast<unsigned char>(AData[i]) < 0x80; ++i) {
    text[i] = static_cast<wchar_t>(AData[i]);
    coded |= AData[i] == '&' || AData[i] == '_';
  }
  if (i < ACount) {
    text = AnsiToString(AData, ACount, codePage);
    coded = true;
  }
  return coded ? TdxXMLHelper::DecodeString(text) : text;
}

TdxXMLString TdxXMLParser::Intern(const TdxXMLToken& AToken) {
  return FSharedStrings ? FSharedStrings->Add(AToken) : TdxXMLString(AToken.View());
}

TdxXMLNode* TdxXMLParser::ParseNodeHeader(TdxXMLNode* ANode) {
  TdxXMLNode* result = ANode->Parent();
  TdxXMLNodeAttribute* attribute = nullptr;
  int counter = 0;
  TdxXMLToken token;
  while (GetToken(token)) {
    switch (token.TokenType) {
      case ttTagHeaderEnd:
        return ANode;
      case ttTagEnd:
        return result;
      case ttTagHeaderBegin:
      case ttComment:
      case ttCDATA:
        return nullptr;
      default:
        break;
    }
    // 0: the name; 1: an attribute's name; 2: '=' or the next attribute's
    // name; 3: the value.
    if (counter > 3) counter = 1;
    if (counter == 0) ANode->FName = Intern(token);
    if (counter == 2 && token.TokenType != ttEqual) counter = 1;
    if (counter == 1) attribute = ANode->Attributes()->Add(Intern(token));
    if (counter == 3) attribute->FValue = DecodeValue(token.Buffer, token.BufferLengthInChars);
    ++counter;
  }
  return result;
}

void TdxXMLParser::AssignNodeText(TdxXMLNode* ANode, const char* AStart, const char* AEnd, bool AKeepWhenBlank) {
  if (AKeepWhenBlank &&
      std::all_of(AStart, AEnd, [](char AByte) { return static_cast<unsigned char>(AByte) <= 32; }))
    return;
  if (!ANode->IsSpacePreserved()) {
    while (AStart < AEnd && static_cast<unsigned char>(*AStart) <= 32) ++AStart;
    while (AEnd > AStart && static_cast<unsigned char>(AEnd[-1]) < 32) --AEnd;
  }
  ANode->FText = DecodeValue(AStart, static_cast<std::size_t>(AEnd - AStart));
}

void TdxXMLParser::ParseDeclaration() {
  TOwned<TdxXMLNode> declaration(New<TdxXMLNode>());
  ParseNodeHeader(declaration.get());
  TdxXMLNodeAttribute* attribute;
  if (declaration->Attributes()->Find("encoding", attribute)) FDocument->SetEncoding(attribute->Value());
  if (declaration->Attributes()->Find("version", attribute)) FDocument->SetVersion(attribute->Value());
  SelectEncoding();
}

void TdxXMLParser::Parse(const char* ABuffer, std::size_t ACount) {
  FData = ABuffer;
  FDataLength = ABuffer ? ACount : 0;
  FNoCommentEndFrom = nullptr;
  FNoCDATAEndFrom = nullptr;
  TdxXMLNode* node = FDocument->Root();
  node->Clear();
  SelectEncoding();
  const char* textStart = nullptr;
  // A run after a self-closing child replaces the text before it only when
  // it holds more than white space: the writer puts an element's text before
  // its children, and the line breaks it writes between them (also inside
  // "preserve" elements) would otherwise wipe that text on the next read.
  bool afterEmptyChild = false;
  int depth = 0;
  TdxXMLToken token;
  while (node && GetToken(token)) {
    switch (token.TokenType) {
      case ttTagHeaderBegin:
        // Markup that makes no element ends the text run, as a comment does:
        // its bytes are no text.
        if (FDataLength > 0 && *FData == '?') {
          ParseDeclaration();
          textStart = nullptr;
        } else if (FDataLength > 0 && *FData == '!') {
          // Document types and other declarations are read and dropped.
          TOwned<TdxXMLNode> declaration(New<TdxXMLNode>());
          ParseNodeHeader(declaration.get());
          textStart = nullptr;
        } else if (depth == MaxDepth) {
          node = nullptr;
        } else {
          if (textStart) AssignNodeText(node, textStart, token.Buffer, afterEmptyChild);
          TdxXMLNode* child = node->AddChild(TdxXMLString());
          node = ParseNodeHeader(child);
          textStart = node ? FData : nullptr;
          afterEmptyChild = node != child;
          if (node == child) ++depth;
        }
        break;
      case ttTagFooter:
        if (!node->HasChildren() && textStart) AssignNodeText(node, textStart, token.Buffer);
        node = node->Parent();
        --depth;
        textStart = nullptr;
        break;
      case ttComment:
        textStart = nullptr;
        break;
      case ttCDATA:
        node->FText = DecodeValue(token.Buffer, token.BufferLengthInChars);
        textStart = nullptr;
        break;
      default:
        break;
    }
  }
}

// ---------------------------------------------------------------------------
// Loading

TOwned<TdxXMLParser> TdxXMLDocument::CreateParser() { return TOwned<TdxXMLParser>(New<TdxXMLParser>(this, true)); }

void TdxXMLDocument::ParseBuffer(const char* ABuffer, std::size_t ACount) { CreateParser()->Parse(ABuffer, ACount); }

void TdxXMLDocument::LoadFromStream(TStream* AStream) {
  WithUpdate(this, [&] {
    FRoot->Clear();
    const std::int64_t available = AStream->Size() - AStream->Position();
    if (available <= 0) return;
    const auto size = static_cast<std::size_t>(available);
    const auto buffer = std::make_unique_for_overwrite<char[]>(size);
    std::size_t read = 0;
    while (read < size) {
      const int chunk = AStream->Read(buffer.get() + read, static_cast<int>(std::min<std::size_t>(size - read, 1 << 30)));
      if (chunk <= 0) break;
      read += static_cast<std::size_t>(chunk);
    }
    if (read > 0) ParseBuffer(buffer.get(), read);
  });
}

void TdxXMLDocument::LoadFromFile(const String& AFileName) {
  // A file that cannot be opened leaves an empty document, as a failed read does.
  FRoot->Clear();
  TOwned<TFileStream> stream(New<TFileStream>(AFileName, static_cast<std::uint16_t>(fmOpenRead | fmShareDenyNone)));
  LoadFromStream(stream.get());
}

void TdxXMLDocument::LoadFromResource(HINSTANCE AInstance, const String& AResName, const wchar_t* AResType) {
  FRoot->Clear();
  TOwned<TResourceStream> stream(New<TResourceStream>(AInstance, AResName, AResType));
  LoadFromStream(stream.get());
}

void TdxXMLDocument::LoadFromString(const TdxXMLString& AText) {
  FRoot->Clear();
  ParseBuffer(AText.data(), AText.size());
}
