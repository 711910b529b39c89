#include "library/editors/masks/cxRegExpr.h"

#include "library/editors/edit/cxEditConsts.h"
#include "library/editors/masks/cxRegExpr_Internal.h"
#include "platform/runtime/Encoding.h"
#include "platform/runtime/SysUtils.h"

#include <algorithm>
#include <climits>

namespace {

bool IsWhiteSpace(wchar_t C) { return C == 0 || C == 9 || C == 10 || C == 12 || C == 13 || C == 32; }
bool IsDigit(wchar_t C) { return C >= L'0' && C <= L'9'; }

int HexValue(wchar_t C) {
  if (C >= L'0' && C <= L'9') return C - L'0';
  if (C >= L'A' && C <= L'F') return C - L'A' + 10;
  if (C >= L'a' && C <= L'f') return C - L'a' + 10;
  return -1;
}

String FormatText(const TResStringRec& AText, const String& AArgument) {
  return Format(LoadLocalizedResString(&AText), {AArgument});
}

const String QuoteArgument = L" ' ";

bool IsSpecial(const TcxLexem& ALexem, wchar_t AChar) {
  return ALexem.Code == relcSpecial && ALexem.Value.size() == 1 && ALexem.Value[0] == AChar;
}

// The digits of an integer lexem, saturated far beyond any count the limits allow.
int IntegerValue(const TcxLexem& ALexem) {
  long long value = 0;
  for (wchar_t c : ALexem.Value) value = std::min<long long>(value * 10 + (c - L'0'), INT_MAX);
  return static_cast<int>(value);
}

std::unique_ptr<TcxRegExprItem> CreateTest(const TcxLexem& ALexem) {
  switch (ALexem.Code) {
    case relcAll: return std::make_unique<TcxRegExprAll>();
    case relcId: return std::make_unique<TcxRegExprIdLetter>(false);
    case relcNotId: return std::make_unique<TcxRegExprIdLetter>(true);
    case relcDigit: return std::make_unique<TcxRegExprDigit>(false);
    case relcNotDigit: return std::make_unique<TcxRegExprDigit>(true);
    case relcSpace: return std::make_unique<TcxRegExprSpace>(false);
    case relcNotSpace: return std::make_unique<TcxRegExprSpace>(true);
    case relcDateSeparator: return std::make_unique<TcxRegExprDateSeparator>();
    case relcTimeSeparator: return std::make_unique<TcxRegExprTimeSeparator>();
    default: return std::make_unique<TcxRegExprSymbol>(ALexem.Value[0]);
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// Errors

String TcxRegExprError::FullMessage() const {
  String result;
  if (FLine > 0) {
    result = LoadLocalizedResString(&scxRegExprLine) + IntToStr(FLine);
    if (FChar > 0) result += L", " + LoadLocalizedResString(&scxRegExprChar) + IntToStr(FChar);
    result += L": ";
  }
  return result + FMessage;
}

// ---------------------------------------------------------------------------
// Parser

// Builds the parse tree from the lexems, recording every syntax error.
class TcxRegExpr::TParser {
 public:
  explicit TParser(TcxRegExpr& AOwner) : FOwner(AOwner), FLexems(AOwner.FLexems) {}

  std::unique_ptr<TcxRegExprParserAlts> ParseExpression() {
    auto result = std::make_unique<TcxRegExprParserAlts>();
    while (ParseLexems(*result->AddAlt(), false)) {
    }
    return result;
  }

 private:
  using TItemPtr = std::unique_ptr<TcxRegExprParserItem>;

  bool HasLexem() const { return FIndex < FLexems.Count(); }
  const TcxLexem& Current() const { return FLexems.GetItems(FIndex); }
  void Error(const TcxLexem& ALexem, const String& AMessage) {
    FOwner.AddError(ALexem.Line, ALexem.Char, AMessage);
  }
  void Error(const TcxLexem& ALexem, const TResStringRec& AMessage) {
    Error(ALexem, LoadLocalizedResString(&AMessage));
  }
  bool WithinBudget(const TcxRegExprParserItem& AItem, long long ACopies, int AExtraDepth) const {
    return FExpandedItems + AItem.Size() * ACopies <= MaxExpandedItems && AItem.Depth() + AExtraDepth <= MaxNesting;
  }

  // One alternative; true when it ended with '|'.
  bool ParseLexems(TcxRegExprParserAlt& AAlt, bool AInGroup) {
    if (!HasLexem()) {
      FOwner.AddError(0, 0, LoadLocalizedResString(&scxRegExprCantCreateEmptyAlt));
      return false;
    }
    if (IsSpecial(Current(), L'|')) {
      Error(FLexems.GetItems(FIndex++), scxRegExprCantCreateEmptyAlt);
      return true;
    }
    if (AInGroup && IsSpecial(Current(), L')')) {
      Error(FLexems.GetItems(FIndex++), scxRegExprCantCreateEmptyBlock);
      return false;
    }
    bool hasLast = false;
    while (HasLexem()) {
      const TcxLexem& lexem = FLexems.GetItems(FIndex++);
      switch (lexem.Code) {
        case relcInteger:
          Error(lexem, scxRegExprIllegalIntegerValue);
          break;
        case relcReference:
          hasLast = ParseReference(AAlt, lexem) || hasLast;
          break;
        case relcSpecial:
          switch (lexem.Value[0]) {
            case L'(':
              AAlt.Add(ParseGroup());
              hasLast = true;
              break;
            case L'[':
              AAlt.Add(ParseCharClass());
              hasLast = true;
              break;
            case L')':
              if (AInGroup) return false;
              Error(lexem, FormatText(scxRegExprIllegalSymbol, L")"));
              break;
            case L'|':
              return true;
            case L'*':
            case L'+':
            case L'?':
              if (hasLast)
                ApplyQuantifier(AAlt, lexem);
              else
                Error(lexem, FormatText(scxRegExprIllegalQuantifier, lexem.Value));
              break;
            case L'{':
              if (hasLast)
                ParseRepeat(AAlt, lexem);
              else
                Error(lexem, scxRegExprIncorrectParameterQuantifier);
              break;
            case L'-':
            case L']':
            case L'}':
              Error(lexem, FormatText(scxRegExprIllegalSymbol, lexem.Value));
              break;
            default:
              break;
          }
          break;
        default:
          AAlt.Add(NewSimpleItem(CreateTest(lexem)));
          hasLast = true;
          break;
      }
    }
    return false;
  }

  TItemPtr NewSimpleItem(std::unique_ptr<TcxRegExprItem> ATest) {
    auto item = std::make_unique<TcxRegExprParserSimpleItem>(std::move(ATest));
    FExpandedItems += item->Size();
    return item;
  }

  // A copy of the pattern of group N as it stands now.
  bool ParseReference(TcxRegExprParserAlt& AAlt, const TcxLexem& ALexem) {
    const std::size_t number = static_cast<std::size_t>(ALexem.Value[0] - L'0');
    if (number > FBlocks.size()) {
      Error(ALexem, scxRegExprTooBigReferenceNumber);
      return false;
    }
    TcxRegExprParserBlockItem& group = *FBlocks[number - 1];
    group.Recompute();  // the group may still be open
    if (!WithinBudget(group, 1, 0)) {
      Error(ALexem, scxRegExprTooBigReferenceNumber);
      return false;
    }
    FExpandedItems += group.Size();
    AAlt.Add(group.Clone());
    return true;
  }

  std::unique_ptr<TcxRegExprParserBlockItem> ParseGroup() {
    auto group = std::make_unique<TcxRegExprParserBlockItem>();
    FBlocks.push_back(group.get());
    while (ParseLexems(*group->Alts().AddAlt(), true)) {
    }
    group->Recompute();
    return group;
  }

  static std::unique_ptr<TcxRegExprParserBlockItem> NewBlock(TItemPtr AItem, TcxRegExprQuantifier AQuantifier) {
    auto group = std::make_unique<TcxRegExprParserBlockItem>();
    group->Alts().AddAlt()->Add(std::move(AItem));
    group->SetQuantifier(AQuantifier);
    group->Recompute();
    return group;
  }

  void ApplyQuantifier(TcxRegExprParserAlt& AAlt, const TcxLexem& ALexem) {
    TcxRegExprParserItem& item = *AAlt.LastItem();
    const wchar_t symbol = ALexem.Value[0];
    if (symbol != L'?' && item.CanEmpty()) {
      Error(ALexem, symbol == L'*' ? scxRegExprCantUseStarQuantifier : scxRegExprCantUsePlusQuantifier);
      return;
    }
    const TcxRegExprQuantifier quantifier = symbol == L'?'   ? TcxRegExprQuantifier::Question
                                            : symbol == L'*' ? TcxRegExprQuantifier::Star
                                                             : TcxRegExprQuantifier::Plus;
    if (item.NotQuantifier()) {
      item.SetQuantifier(quantifier);
      return;
    }
    if (!WithinBudget(item, 0, 1)) {
      Error(ALexem, FormatText(scxRegExprIllegalQuantifier, ALexem.Value));
      return;
    }
    // A second quantifier applies to a group around the element.
    auto group = std::make_unique<TcxRegExprParserBlockItem>();
    TcxRegExprParserBlockItem& wrapper = *group;
    wrapper.Alts().AddAlt()->Add(AAlt.ReplaceLastItem(std::move(group)));
    wrapper.SetQuantifier(quantifier);
    wrapper.Recompute();
  }

  // {n}, {n,} or {n,m}; false (and an error) when malformed.
  bool ParseRepeatCounts(const TcxLexem& ABrace, int& AMin, int& AMax) {
    const TcxLexem* last = &ABrace;
    auto fail = [&](const TcxLexem& AAt) {
      Error(AAt, scxRegExprIncorrectParameterQuantifier);
      return false;
    };
    auto expect = [&](auto AIs) -> const TcxLexem* {
      if (!HasLexem() || !AIs(Current())) return nullptr;
      last = &FLexems.GetItems(FIndex++);
      return last;
    };
    auto isInteger = [](const TcxLexem& L) { return L.Code == relcInteger; };
    auto isComma = [](const TcxLexem& L) { return IsSpecial(L, L','); };
    auto isClose = [](const TcxLexem& L) { return IsSpecial(L, L'}'); };
    auto failHere = [&] { return fail(HasLexem() ? Current() : *last); };

    const TcxLexem* lexem = expect(isInteger);
    if (!lexem) return failHere();
    AMin = IntegerValue(*lexem);
    if (expect(isClose)) {
      AMax = AMin;
      return true;
    }
    if (!expect(isComma)) return failHere();
    if (expect(isClose)) {
      AMax = -1;
      return true;
    }
    lexem = expect(isInteger);
    if (!lexem) return failHere();
    AMax = IntegerValue(*lexem);
    const TcxLexem* close = expect(isClose);
    if (!close) return failHere();
    return AMax >= AMin || fail(*close);
  }

  void ParseRepeat(TcxRegExprParserAlt& AAlt, const TcxLexem& ABrace) {
    int min = 0;
    int max = 0;
    if (!ParseRepeatCounts(ABrace, min, max)) return;
    TcxRegExprParserItem& item = *AAlt.LastItem();
    if (item.CanMissing()) {
      Error(ABrace, scxRegExprCantUseParameterQuantifier);
      return;
    }
    const long long copies = max < 0 ? static_cast<long long>(min) + 1 : max;
    const int chain = max > min ? max - min : 0;
    if (!WithinBudget(item, copies, chain + 1)) {
      Error(ABrace, scxRegExprIncorrectParameterQuantifier);
      return;
    }
    auto expansion = std::make_unique<TcxRegExprParserBlockItem>();
    TcxRegExprParserAlt& sequence = *expansion->Alts().AddAlt();
    for (int i = 0; i < min; ++i) sequence.Add(item.Clone());
    if (max < 0) {
      TItemPtr star = item.Clone();
      star->SetQuantifier(TcxRegExprQuantifier::Star);
      sequence.Add(std::move(star));
    } else if (chain > 0) {
      TItemPtr rest = item.Clone();
      rest->SetQuantifier(TcxRegExprQuantifier::Question);
      for (int i = 1; i < chain; ++i) {
        auto link = std::make_unique<TcxRegExprParserBlockItem>();
        TcxRegExprParserAlt& linkAlt = *link->Alts().AddAlt();
        linkAlt.Add(item.Clone());
        linkAlt.Add(std::move(rest));
        link->SetQuantifier(TcxRegExprQuantifier::Question);
        link->Recompute();
        rest = std::move(link);
      }
      sequence.Add(std::move(rest));
    }
    FExpandedItems += item.Size() * copies;
    expansion->Recompute();
    if (min == 0) expansion->SetQuantifier(TcxRegExprQuantifier::Question);
    // The element as written stays alive beside the tree: a later reference to
    // it, or to a group inside it, copies the pattern as written.
    FReplaced.push_back(AAlt.ReplaceLastItem(std::move(expansion)));
  }

  TItemPtr ParseCharClass() {
    bool inverse = false;
    if (HasLexem() && IsSpecial(Current(), L'^')) {
      inverse = true;
      ++FIndex;
    }
    auto enumeration = std::make_unique<TcxRegExprUserEnumeration>(inverse);
    if (HasLexem() && IsSpecial(Current(), L']')) {
      Error(FLexems.GetItems(FIndex++), scxRegExprCantCreateEmptyEnum);
      return NewSimpleItem(std::move(enumeration));
    }
    while (HasLexem()) {
      const TcxLexem& lexem = FLexems.GetItems(FIndex++);
      if (IsSpecial(lexem, L']')) break;
      if (HasLexem() && IsSpecial(Current(), L'-')) {
        ++FIndex;
        if (!HasLexem()) break;  // the scan has reported the missing ']'
        const TcxLexem& finish = FLexems.GetItems(FIndex++);
        if (lexem.Value[0] < finish.Value[0])
          enumeration->Add(std::make_unique<TcxRegExprSubrange>(lexem.Value[0], finish.Value[0]));
        else
          Error(finish, scxRegExprSubrangeOrder);
        while (HasLexem() && IsSpecial(Current(), L'-'))
          Error(FLexems.GetItems(FIndex++), FormatText(scxRegExprIllegalSymbol, L"-"));
        continue;
      }
      enumeration->Add(CreateTest(lexem));
    }
    return NewSimpleItem(std::move(enumeration));
  }

  TcxRegExpr& FOwner;
  const TcxLexems& FLexems;
  int FIndex = 0;
  std::vector<TcxRegExprParserBlockItem*> FBlocks;  // in the order of their '('
  std::vector<TItemPtr> FReplaced;
  long long FExpandedItems = 0;
};

// ---------------------------------------------------------------------------
// Engine

void TcxRegExpr::TAutomatDeleter::operator()(TcxRegExprAutomat* AAutomat) const {
  std::default_delete<TcxRegExprAutomat>()(AAutomat);
}

void TcxRegExpr::Destroy() {
  FAutomat.reset();
  FStream.reset();
  inherited::Destroy();
}

void TcxRegExpr::AddError(int ALine, int AChar, const String& AMessage) { FErrors.Add({ALine, AChar, AMessage}); }

void TcxRegExpr::RaiseErrors() { throw EcxRegExprError(FErrors.Clone()); }

void TcxRegExpr::CheckCompiled() const {
  if (!FCompiled) throw EcxEditError(LoadLocalizedResString(&scxRegExprNotCompiled));
}

void TcxRegExpr::ClearCompiled() {
  if (FStream) FStream->Clear();
  FSource.clear();
  FErrors.Clear();
  FLexems.Clear();
  FAutomat.reset();
  FIndex = 0;
  FChar = 0;
  FLine = 1;
  FCompiled = false;
}

void TcxRegExpr::Compile(const String& S) {
  TOwned<TStringStream> stream(New<TStringStream>(S, TEncoding::UTF8()));
  Compile(stream.get());
}

void TcxRegExpr::Compile(TStream* AStream) {
  if (FFirstExpr)
    FFirstExpr = false;
  else
    ClearCompiled();
  try {
    if (AStream == nullptr) throw EdxException(L"nil stream");
    if (!FStream) FStream.reset(New<TMemoryStream>());
    FStream->CopyFrom(AStream, 0);
  } catch (const Exception&) {
    AddError(0, 0, LoadLocalizedResString(&scxRegExprNotAssignedSourceStream));
    RaiseErrors();
  }
  RawByteString bytes(static_cast<std::size_t>(FStream->Size()), '\0');
  FStream->SetPosition(0);
  if (!bytes.empty()) FStream->ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  FSource = UTF8ToString(bytes);
  if (std::all_of(FSource.begin(), FSource.end(), IsWhiteSpace)) {
    AddError(0, 0, LoadLocalizedResString(&scxRegExprEmptySourceStream));
    RaiseErrors();
  }
  ScanLexems();
  if (FErrors.Count() > 0) RaiseErrors();
  ParseExpression();
  if (FErrors.Count() > 0) RaiseErrors();
  FCompiled = true;
  if (FUpdateOn) FAutomat->Update();
}

void TcxRegExpr::ParseExpression() {
  TParser parser(*this);
  std::unique_ptr<TcxRegExprParserAlts> expression = parser.ParseExpression();
  if (FErrors.Count() == 0) FAutomat.reset(std::make_unique<TcxRegExprAutomat>(std::move(expression), this).release());
}

bool TcxRegExpr::Next(wchar_t& AToken) {
  CheckCompiled();
  if (!FAutomat->Next(AToken, FCaseInsensitive, true)) return false;
  if (FUpdateOn && !FAutomat->IsFinal()) FAutomat->Update();
  return true;
}

String TcxRegExpr::NextEx(const String& AString) {
  CheckCompiled();
  String result;
  for (wchar_t c : AString) {
    wchar_t token = c;
    if (FAutomat->Next(token, FCaseInsensitive, true)) result += c;
  }
  return result;
}

bool TcxRegExpr::Prev() {
  CheckCompiled();
  if (FUpdateOn) FAutomat->ReUpdate();
  return FAutomat->Prev();
}

void TcxRegExpr::Reset() {
  CheckCompiled();
  FAutomat->Reset();
}

bool TcxRegExpr::IsStart() {
  CheckCompiled();
  return FAutomat->IsStart();
}

bool TcxRegExpr::IsFinal() {
  CheckCompiled();
  return FAutomat->IsFinal();
}

String TcxRegExpr::Print() const { return FCompiled ? FAutomat->Print() : String(); }

void TcxRegExpr::SetUpdateOn(bool AValue) {
  FUpdateOn = AValue;
  if (FCompiled && AValue) FAutomat->Update();
}

// ---------------------------------------------------------------------------
// Lexical scan

wchar_t TcxRegExpr::ReadChar() {
  const wchar_t c = FSource[static_cast<std::size_t>(FIndex++)];
  if (c == 13) ++FLine;
  if (c == 10)
    FChar = 0;
  else
    ++FChar;
  return c;
}

void TcxRegExpr::AddLexem(TcxRegExprLexemCode ACode, int ALine, int AChar, String AValue) {
  FLexems.Add({AChar, ACode, ALine, std::move(AValue)});
}

void TcxRegExpr::ScanLexems() {
  int depth = 0;
  bool tooDeep = false;
  while (!AtEnd()) {
    const wchar_t c = ReadChar();
    const int line = FLine;
    const int column = FChar;
    if (IsWhiteSpace(c)) continue;
    switch (c) {
      case L'\'':
        ScanQuotedText();
        break;
      case L'(':
        AddLexem(relcSpecial, line, column, String(1, c));
        if (++depth > MaxNesting && !tooDeep) {
          tooDeep = true;
          AddError(line, column, FormatText(scxRegExprIllegalSymbol, L"("));
        }
        break;
      case L')':
        AddLexem(relcSpecial, line, column, String(1, c));
        --depth;
        break;
      case L'*':
      case L'+':
      case L'?':
      case L'|':
        AddLexem(relcSpecial, line, column, String(1, c));
        break;
      case L'.':
        AddLexem(relcAll, line, column, String(1, c));
        break;
      case L'/':
        AddLexem(relcDateSeparator, line, column, String(1, c));
        break;
      case L':':
        AddLexem(relcTimeSeparator, line, column, String(1, c));
        break;
      case L'[':
        AddLexem(relcSpecial, line, column, String(1, c));
        ScanCharClass();
        break;
      case L'\\':
        ScanEscape();
        break;
      case L'{':
        AddLexem(relcSpecial, line, column, String(1, c));
        ScanQuantifierBraces();
        break;
      default:
        AddLexem(relcSymbol, line, column, String(1, c));
        break;
    }
  }
  if (depth > 0) AddError(0, 0, FormatText(scxRegExprMissing, L")"));
  if (depth < 0) AddError(0, 0, FormatText(scxRegExprUnnecessary, L")"));
}

void TcxRegExpr::ScanEscape() {
  const int line = FLine;
  const int column = FChar;  // the backslash's
  if (AtEnd()) return;
  const wchar_t c = ReadChar();
  static constexpr struct {
    wchar_t Letter;
    TcxRegExprLexemCode Code;
  } classes[] = {{L'd', relcDigit}, {L'D', relcNotDigit}, {L'w', relcId},
                 {L'W', relcNotId}, {L's', relcSpace},    {L'S', relcNotSpace}};
  static constexpr struct {
    wchar_t Letter;
    wchar_t Symbol;
  } controls[] = {{L'a', 7}, {L'e', 27}, {L'f', 12}, {L'n', 10}, {L'r', 13}, {L't', 9}};
  if (c >= L'1' && c <= L'9') return AddLexem(relcReference, line, column, String(1, c));
  if (IsWhiteSpace(c)) return AddError(FLine, FChar, LoadLocalizedResString(&scxRegExprIncorrectSpace));
  for (const auto& entry : classes)
    if (entry.Letter == c) return AddLexem(entry.Code, line, column, String(1, c));
  for (const auto& entry : controls)
    if (entry.Letter == c) return AddLexem(relcSymbol, line, column, String(1, entry.Symbol));
  if (c == L'p') return AddLexem(relcSymbol, line, column, String(1, FormatSettings.DecimalSeparator));
  if (c == L'x') return ScanHexCode(line, column);
  AddLexem(relcSymbol, line, column, String(1, c));
}

void TcxRegExpr::ScanHexCode(int ALine, int AChar) {
  int value = 0;
  for (int i = 0; i < 2; ++i) {
    if (AtEnd()) return ErrorAtEnd(LoadLocalizedResString(&scxRegExprHexNumberExpected0));
    const wchar_t c = ReadChar();
    const int digit = HexValue(c);
    if (digit < 0) return AddError(FLine, FChar, FormatText(scxRegExprHexNumberExpected, String(1, c)));
    value = value * 16 + digit;
  }
  AddLexem(relcSymbol, ALine, AChar, String(1, static_cast<wchar_t>(value)));
}

void TcxRegExpr::ScanCharClass() {
  // A separator, escape or quoted text in a class; false for other characters.
  auto scanShared = [this](wchar_t C, int ALine, int AChar) {
    switch (C) {
      case L'\'': ScanQuotedText(); return true;
      case L'/': AddLexem(relcDateSeparator, ALine, AChar, String(1, C)); return true;
      case L':': AddLexem(relcTimeSeparator, ALine, AChar, String(1, C)); return true;
      case L'\\': ScanEscape(); return true;
      default: return false;
    }
  };
  while (!AtEnd() && IsWhiteSpace(Peek())) ReadChar();
  if (AtEnd()) return ErrorAtEnd(FormatText(scxRegExprMissing, L"]"));
  wchar_t c = ReadChar();
  if (scanShared(c, FLine, FChar)) {
  } else if (c == L']') {
    return AddLexem(relcSpecial, FLine, FChar, String(1, c));
  } else {
    AddLexem(c == L'^' ? relcSpecial : relcSymbol, FLine, FChar, String(1, c));
  }
  while (!AtEnd()) {
    c = ReadChar();
    const int line = FLine;
    const int column = FChar;
    if (IsWhiteSpace(c) || scanShared(c, line, column)) continue;
    if (c == L']') return AddLexem(relcSpecial, line, column, String(1, c));
    if (c == L'-') {
      std::size_t ahead = static_cast<std::size_t>(FIndex);
      while (ahead < FSource.size() && IsWhiteSpace(FSource[ahead])) ++ahead;
      const bool beforeClose = ahead < FSource.size() && FSource[ahead] == L']';
      AddLexem(beforeClose ? relcSymbol : relcSpecial, line, column, String(1, c));
      continue;
    }
    AddLexem(relcSymbol, line, column, String(1, c));
  }
  ErrorAtEnd(FormatText(scxRegExprMissing, L"]"));
}

void TcxRegExpr::ScanQuantifierBraces() {
  while (!AtEnd()) {
    const wchar_t c = ReadChar();
    const int line = FLine;
    const int column = FChar;
    if (IsWhiteSpace(c)) continue;
    if (IsDigit(c)) {
      String digits(1, c);
      while (!AtEnd() && IsDigit(Peek())) digits += ReadChar();
      AddLexem(relcInteger, line, column, std::move(digits));
    } else if (c == L',') {
      AddLexem(relcSpecial, line, column, String(1, c));
    } else if (c == L'}') {
      return AddLexem(relcSpecial, line, column, String(1, c));
    } else {
      AddError(line, column, FormatText(scxRegExprIllegalSymbol, c == L'\'' ? QuoteArgument : String(1, c)));
    }
  }
  ErrorAtEnd(FormatText(scxRegExprMissing, L"}"));
}

void TcxRegExpr::ScanQuotedText() {
  while (!AtEnd()) {
    const wchar_t c = ReadChar();
    const int line = FLine;
    const int column = FChar;
    if (c == L'\'') {
      if (AtEnd() || Peek() != L'\'') return;
      ReadChar();
    }
    AddLexem(relcSymbol, line, column, String(1, c));
  }
  ErrorAtEnd(FormatText(scxRegExprMissing, QuoteArgument));
}
