// TParser: the tokeniser of form descriptions.
//
// Strings are read as one token across their parts ('a'#13#10'b'); the
// reader joins tokens separated by '+'. A '-' directly before a digit or '$'
// belongs to the number. '{' starts binary data, read up to '}' across lines.
// Every error names the line on which the offending token starts.
#include "platform/classes/FormReader.h"

#include <charconv>
#include <cwctype>
#include <limits>

namespace {

bool IsIdentStart(wchar_t C) { return C == L'_' || std::iswalpha(C); }
bool IsIdentChar(wchar_t C) { return C == L'_' || std::iswalnum(C); }
bool IsDigit(wchar_t C) { return C >= L'0' && C <= L'9'; }

int HexValue(wchar_t C) {
  if (C >= L'0' && C <= L'9') return C - L'0';
  if (C >= L'a' && C <= L'f') return C - L'a' + 10;
  if (C >= L'A' && C <= L'F') return C - L'A' + 10;
  return -1;
}

bool SameName(const String& A, const String& B) {
  if (A.size() != B.size()) return false;
  for (std::size_t i = 0; i < A.size(); ++i)
    if (std::towupper(A[i]) != std::towupper(B[i])) return false;
  return true;
}

// How a character appears in a message.
String CharText(wchar_t C) {
  if (C >= 32 && C < 127) return String(1, C);
  return Format(L"#%d", {static_cast<int>(C)});
}

}  // namespace

void TParser::Create(const String& AText) {
  FText = AText;
  FPos = 0;
  FLine = 1;
  NextToken();
}

void TParser::Error(const String& AMessage) const {
  throw EParserError(L"Zeile %d: %s", {FTokenLine, AMessage});
}

bool TParser::TokenSymbolIs(const String& ASymbol) const {
  return FToken == toSymbol && SameName(FTokenString, ASymbol);
}

String TParser::TokenDescription() const {
  switch (FToken) {
    case toEOF: return L"Ende der Beschreibung";
    case toSymbol: return L"Bezeichner '" + FTokenString + L"'";
    case toString: return L"Zeichenkette";
    case toInteger: return L"Ganzzahl " + FTokenString;
    case toFloat: return L"Gleitkommazahl " + FTokenString;
    case toBinary: return L"Binärdaten";
    default: return L"'" + CharText(FToken) + L"'";
  }
}

void TParser::CheckToken(wchar_t AToken) const {
  if (FToken == AToken) return;
  String expected;
  switch (AToken) {
    case toEOF: expected = L"Ende der Beschreibung"; break;
    case toSymbol: expected = L"Bezeichner"; break;
    case toString: expected = L"Zeichenkette"; break;
    case toInteger: expected = L"Ganzzahl"; break;
    case toFloat: expected = L"Gleitkommazahl"; break;
    case toBinary: expected = L"Binärdaten"; break;
    default: expected = L"'" + CharText(AToken) + L"'"; break;
  }
  Error(Format(L"%s erwartet, aber %s gefunden", {expected, TokenDescription()}));
}

void TParser::CheckTokenSymbol(const String& ASymbol) const {
  if (!TokenSymbolIs(ASymbol))
    Error(Format(L"'%s' erwartet, aber %s gefunden", {ASymbol, TokenDescription()}));
}

String TParser::TokenComponentIdent() {
  CheckToken(toSymbol);
  String result = FTokenString;
  NextToken();
  while (FToken == L'.') {
    NextToken();
    CheckToken(toSymbol);
    result += L'.';
    result += FTokenString;
    NextToken();
  }
  return result;
}

void TParser::SkipBlanks() {
  while (FPos < FText.size()) {
    const wchar_t c = FText[FPos];
    if (c == L'\n') {
      ++FLine;
    } else if (c == L'\r') {
      if (FPos + 1 >= FText.size() || FText[FPos + 1] != L'\n') ++FLine;
    } else if (!(c == L' ' || c == L'\t' || c == L'\f' || c == L'\v' || c == 0 || c == 0xFEFF)) {
      return;
    }
    ++FPos;
  }
}

wchar_t TParser::NextToken() {
  SkipBlanks();
  FTokenLine = FLine;
  FTokenString.clear();
  FTokenValue.clear();
  FTokenInt = 0;
  FTokenFloat = 0;
  FTokenBinary.clear();
  if (FPos >= FText.size()) return FToken = toEOF;
  const wchar_t c = FText[FPos];
  if (IsIdentStart(c)) {
    const std::size_t start = FPos;
    while (FPos < FText.size() && IsIdentChar(FText[FPos])) ++FPos;
    FTokenString = FText.substr(start, FPos - start);
    return FToken = toSymbol;
  }
  if (c == L'\'' || c == L'#') {
    ReadStringToken();
    return FToken = toString;
  }
  if (IsDigit(c) || c == L'$' ||
      (c == L'-' && FPos + 1 < FText.size() && (IsDigit(FText[FPos + 1]) || FText[FPos + 1] == L'$'))) {
    ReadNumber();
    return FToken;
  }
  if (c == L'{') {
    ReadBinaryToken();
    return FToken = toBinary;
  }
  switch (c) {
    case L'=': case L':': case L'.': case L',': case L'[': case L']': case L'(': case L')':
    case L'<': case L'>': case L'+': case L'-':
      ++FPos;
      FTokenString = String(1, c);
      return FToken = c;
    default:
      FToken = c;
      Error(Format(L"Ungültiges Zeichen '%s'", {CharText(c)}));
  }
}

void TParser::ReadStringToken() {
  String value;
  while (FPos < FText.size()) {
    const wchar_t c = FText[FPos];
    if (c == L'\'') {
      ++FPos;
      for (;;) {
        if (FPos >= FText.size() || FText[FPos] == L'\r' || FText[FPos] == L'\n')
          Error(L"Zeichenkette nicht abgeschlossen");
        const wchar_t s = FText[FPos++];
        if (s == L'\'') {
          if (FPos < FText.size() && FText[FPos] == L'\'') {
            value += L'\'';
            ++FPos;
            continue;
          }
          break;
        }
        value += s;
      }
    } else if (c == L'#') {
      ++FPos;
      std::uint32_t code = 0;
      std::size_t digits = 0;
      const bool hex = FPos < FText.size() && FText[FPos] == L'$';
      if (hex) ++FPos;
      while (FPos < FText.size()) {
        const int d = hex ? HexValue(FText[FPos]) : (IsDigit(FText[FPos]) ? FText[FPos] - L'0' : -1);
        if (d < 0) break;
        code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(d);
        if (code > 0x10FFFF) Error(L"Zeichencode nach '#' ist zu groß");
        ++digits;
        ++FPos;
      }
      if (digits == 0) Error(L"Zeichencode nach '#' erwartet");
      if (code > 0xFFFF) {
        code -= 0x10000;
        value += static_cast<wchar_t>(0xD800 + (code >> 10));
        value += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
      } else {
        value += static_cast<wchar_t>(code);
      }
    } else {
      break;
    }
  }
  FTokenValue = std::move(value);
}

void TParser::ReadNumber() {
  const std::size_t start = FPos;
  const bool negative = FText[FPos] == L'-';
  if (negative) ++FPos;
  if (FText[FPos] == L'$') {
    ++FPos;
    std::uint64_t value = 0;
    std::size_t digits = 0;
    while (FPos < FText.size() && HexValue(FText[FPos]) >= 0) {
      if (++digits > 16) {
        FTokenString = FText.substr(start, FPos - start);
        Error(L"Hexadezimalzahl hat mehr als 16 Ziffern");
      }
      value = value * 16 + static_cast<std::uint64_t>(HexValue(FText[FPos]));
      ++FPos;
    }
    if (digits == 0) Error(L"Hexadezimalziffer nach '$' erwartet");
    if (FPos < FText.size() && IsIdentChar(FText[FPos]))
      Error(Format(L"Ungültige Zahl '%s'", {FText.substr(start, FPos + 1 - start)}));
    FTokenString = FText.substr(start, FPos - start);
    // Up to 16 digits are the two's complement bits: $FFFFFFFFFFFFFFFF is -1.
    const auto bits = static_cast<std::int64_t>(value);
    FTokenInt = negative ? static_cast<std::int64_t>(0 - value) : bits;
    FToken = toInteger;
    return;
  }
  while (FPos < FText.size() && IsDigit(FText[FPos])) ++FPos;
  bool isFloat = false;
  if (FPos + 1 < FText.size() && FText[FPos] == L'.' && IsDigit(FText[FPos + 1])) {
    isFloat = true;
    ++FPos;
    while (FPos < FText.size() && IsDigit(FText[FPos])) ++FPos;
  }
  if (FPos < FText.size() && (FText[FPos] == L'e' || FText[FPos] == L'E')) {
    std::size_t p = FPos + 1;
    if (p < FText.size() && (FText[p] == L'+' || FText[p] == L'-')) ++p;
    if (p < FText.size() && IsDigit(FText[p])) {
      isFloat = true;
      FPos = p;
      while (FPos < FText.size() && IsDigit(FText[FPos])) ++FPos;
    }
  }
  FTokenString = FText.substr(start, FPos - start);
  // A float may carry its stored type: s (single), c (currency), d (date).
  if (isFloat && FPos < FText.size() && std::wcschr(L"sScCdD", FText[FPos]) &&
      (FPos + 1 >= FText.size() || !IsIdentChar(FText[FPos + 1])))
    ++FPos;
  if (FPos < FText.size() && IsIdentChar(FText[FPos]))
    Error(Format(L"Ungültige Zahl '%s'", {FText.substr(start, FPos + 1 - start)}));

  std::string narrow(FTokenString.begin(), FTokenString.end());
  const char* first = narrow.data();
  const char* last = narrow.data() + narrow.size();
  if (isFloat) {
    double value = 0;
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last)
      Error(Format(L"Zahl %s liegt außerhalb des gültigen Bereichs", {FTokenString}));
    FTokenFloat = value;
    FToken = toFloat;
  } else {
    std::int64_t value = 0;
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last)
      Error(Format(L"Zahl %s liegt außerhalb des gültigen Bereichs", {FTokenString}));
    FTokenInt = value;
    FTokenFloat = static_cast<double>(value);
    FToken = toInteger;
  }
}

void TParser::ReadBinaryToken() {
  ++FPos;  // '{'
  int high = -1;
  for (;;) {
    if (FPos >= FText.size()) Error(L"Binärdaten nicht abgeschlossen ('}' fehlt)");
    const wchar_t c = FText[FPos];
    if (c == L'}') {
      ++FPos;
      break;
    }
    if (c == L'\n') {
      ++FLine;
    } else if (c == L'\r') {
      if (FPos + 1 >= FText.size() || FText[FPos + 1] != L'\n') ++FLine;
    } else if (c != L' ' && c != L'\t') {
      const int d = HexValue(c);
      if (d < 0) {
        FTokenLine = FLine;
        Error(Format(L"Ungültiges Zeichen '%s' in Binärdaten", {CharText(c)}));
      }
      if (high < 0) {
        high = d;
      } else {
        FTokenBinary.push_back(static_cast<std::uint8_t>(high * 16 + d));
        high = -1;
      }
    }
    ++FPos;
  }
  if (high >= 0) Error(L"Binärdaten mit ungerader Anzahl Hexadezimalziffern");
}
