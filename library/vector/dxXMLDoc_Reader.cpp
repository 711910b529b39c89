// The reader: a forgiving single-pass tokenizer over the document's bytes.
//
// Tokens point into the buffer; only names, values and texts are copied out.
// Text is taken by position: an element's text is the run between its start
// tag and its first child or its end tag; a comment, a processing instruction
// or a declaration drops the run before it, and a CDATA section's text
// replaces it.
//
// Whatever the bytes, the tree is one the writer can write as XML: names are
// XML names, held as UTF-8 (a start tag without one ends the parse, an
// attribute without one is dropped), and the parse ends with the first
// top-level element. UTF-16 text (with a byte-order mark, or starting "<?")
// is read through UTF-8.
#include "library/core/containers/dxHashUtils.h"
#include "library/vector/dxXMLDoc.h"
#include "library/vector/dxXMLDoc_Internal.h"

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

// Over every byte: names that share their last bytes must not share buckets.
template <class T>
std::uint32_t HashOf(std::basic_string_view<T> AValue) {
  return BobJenkinsHash(AValue.data(), AValue.size() * sizeof(T), 0);
}

// The byte order of UTF-16 text, by its byte-order mark or its first "<?".
enum class TUTF16Order { None, LittleEndian, BigEndian };

TUTF16Order UTF16OrderOf(const char* AData, std::size_t ACount) {
  if (ACount < 2) return TUTF16Order::None;
  const auto byte = [&](std::size_t I) { return I < ACount ? static_cast<unsigned char>(AData[I]) : 0xFFu; };
  if (byte(0) == 0xFF && byte(1) == 0xFE) return TUTF16Order::LittleEndian;
  if (byte(0) == 0xFE && byte(1) == 0xFF) return TUTF16Order::BigEndian;
  if (byte(0) == '<' && byte(1) == 0 && byte(2) == '?' && byte(3) == 0) return TUTF16Order::LittleEndian;
  if (byte(0) == 0 && byte(1) == '<' && byte(2) == 0 && byte(3) == '?') return TUTF16Order::BigEndian;
  return TUTF16Order::None;
}

// The UTF-16 text as UTF-8, without its byte-order mark; an odd last byte is dropped.
std::string UTF16ToUTF8(const char* AData, std::size_t ACount, TUTF16Order AOrder) {
  std::wstring text(ACount / 2, L'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto lo = static_cast<unsigned char>(AData[2 * i + (AOrder == TUTF16Order::LittleEndian ? 0 : 1)]);
    const auto hi = static_cast<unsigned char>(AData[2 * i + (AOrder == TUTF16Order::LittleEndian ? 1 : 0)]);
    text[i] = static_cast<wchar_t>(lo | (hi << 8));
  }
  if (!text.empty() && text.front() == 0xFEFF) text.erase(0, 1);
  return dxStringToXMLString(text);
}

// Skips a declaration after "<!" up to its '>' (nothing left when there is
// none): quoted text and an internal subset in brackets, with its comments,
// are passed whole, so markup inside an entity value makes no element.
std::size_t DeclarationLength(const char* AData, std::size_t ACount) {
  int depth = 0;
  char quote = 0;
  for (std::size_t i = 0; i < ACount; ++i) {
    const char c = AData[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (depth > 0 && StartsWith(AData + i, ACount - i, CommentBegin)) {
      const std::string_view rest(AData + i + CommentBegin.size(), ACount - i - CommentBegin.size());
      const std::size_t end = rest.find(CommentEnd);
      if (end == std::string_view::npos) return ACount;
      i += CommentBegin.size() + end + CommentEnd.size() - 1;
    } else if (c == '[') {
      ++depth;
    } else if (c == ']') {
      depth = std::max(depth - 1, 0);
    } else if (c == '>' && depth == 0) {
      return i + 1;
    }
  }
  return ACount;
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
  const UINT codePage = CodePage();
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

// A name of other bytes than ASCII is read in the document's encoding and
// kept as UTF-8 (the writer writes names as they are held).
bool TdxXMLParser::InternName(const TdxXMLToken& AToken, TdxXMLString& AName) {
  const std::string_view bytes = AToken.View();
  TdxXMLString name;
  if (std::all_of(bytes.begin(), bytes.end(), [](char C) { return static_cast<unsigned char>(C) < 0x80; })) {
    if (!xmldoc_detail::IsValidName(String(bytes.begin(), bytes.end()))) return false;
    name = TdxXMLString(bytes);
  } else {
    const String text = AnsiToString(bytes.data(), bytes.size(), CodePage());
    if (!xmldoc_detail::IsValidName(text)) return false;
    name = dxStringToXMLString(text);
  }
  AName = FSharedStrings ? FSharedStrings->Add(std::string_view(name)) : name;
  return true;
}

UINT TdxXMLParser::CodePage() const {
  if (FEncoding == dxxeUTF8) return CP_UTF8;
  if (FEncoding == dxxeWindows) return static_cast<UINT>(FEncodingCodePage);
  return CP_ACP;
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
    // name; 3: the value. A start tag without an element name is no element
    // (the parse ends); an attribute without a name is dropped with its value.
    if (counter > 3) counter = 1;
    if (counter == 0 && !InternName(token, ANode->FName)) return nullptr;
    if (counter == 2 && token.TokenType != ttEqual) counter = 1;
    if (counter == 1) {
      TdxXMLString name;
      attribute = InternName(token, name) ? ANode->Attributes()->Add(name) : nullptr;
    }
    if (counter == 3 && attribute) attribute->FValue = DecodeValue(token.Buffer, token.BufferLengthInChars);
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
  // The '?' is no part of the target's name.
  if (FDataLength > 0 && *FData == '?') {
    ++FData;
    --FDataLength;
  }
  TOwned<TdxXMLNode> declaration(New<TdxXMLNode>());
  ParseNodeHeader(declaration.get());
  TdxXMLNodeAttribute* attribute;
  // Text read from UTF-16 is UTF-8 whatever the declaration says.
  if (!FEncodingFixed && declaration->Attributes()->Find("encoding", attribute))
    FDocument->SetEncoding(attribute->Value());
  if (declaration->Attributes()->Find("version", attribute)) FDocument->SetVersion(attribute->Value());
  SelectEncoding();
}

void TdxXMLParser::Parse(const char* ABuffer, std::size_t ACount) {
  FEncodingFixed = false;
  if (ABuffer) {
    if (const TUTF16Order order = UTF16OrderOf(ABuffer, ACount); order != TUTF16Order::None) {
      const std::string text = UTF16ToUTF8(ABuffer, ACount, order);
      FDocument->SetEncoding("UTF-8");
      FEncodingFixed = true;
      return ParseBytes(text.data(), text.size());
    }
  }
  ParseBytes(ABuffer, ACount);
}

void TdxXMLParser::ParseBytes(const char* ABuffer, std::size_t ACount) {
  FData = ABuffer;
  FDataLength = ABuffer ? ACount : 0;
  FNoCommentEndFrom = nullptr;
  FNoCDATAEndFrom = nullptr;
  TdxXMLNode* const root = FDocument->Root();
  TdxXMLNode* node = root;
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
  // The parse ends with the first top-level element: what follows it is no
  // part of an XML document.
  while (node && GetToken(token)) {
    switch (token.TokenType) {
      case ttTagHeaderBegin:
        // Markup that makes no element ends the text run, as a comment does:
        // its bytes are no text.
        if (FDataLength > 0 && *FData == '?') {
          ParseDeclaration();
          textStart = nullptr;
        } else if (FDataLength > 0 && *FData == '!') {
          // Document types and other declarations are skipped.
          const std::size_t length = DeclarationLength(FData, FDataLength);
          FData += length;
          FDataLength -= length;
          textStart = nullptr;
        } else if (depth == MaxDepth) {
          node = nullptr;
        } else {
          if (textStart) AssignNodeText(node, textStart, token.Buffer, afterEmptyChild);
          TdxXMLNode* child = node->AddChild(TdxXMLString());
          node = ParseNodeHeader(child);
          if (child->Name().empty()) {
            child->Free();
            node = nullptr;
          }
          textStart = node ? FData : nullptr;
          afterEmptyChild = node != child;
          if (node == child) ++depth;
          if (node == root) node = nullptr;
        }
        break;
      case ttTagFooter:
        if (!node->HasChildren() && textStart) AssignNodeText(node, textStart, token.Buffer);
        node = node->Parent();
        --depth;
        textStart = nullptr;
        if (node == root) node = nullptr;
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
