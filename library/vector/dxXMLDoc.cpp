// The document model: strings, date-times, the helper, attributes, nodes and
// the document. Reading is in dxXMLDoc_Reader.cpp, writing in dxXMLDoc_Writer.cpp.
#include "library/vector/dxXMLDoc.h"

#include "library/core/base/dxStringHelper.h"
#include "library/vector/dxXMLDoc_Internal.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace {

constexpr std::int64_t MSecsPerDay64 = MSecsPerDay;

// A pooled string builder, given back when the scope ends.
class TXMLPooledBuilder {
 public:
  explicit TXMLPooledBuilder(int ACapacity) : FBuilder(TdxStringBuilderManager::Get(ACapacity)) {}
  ~TXMLPooledBuilder() { TdxStringBuilderManager::Release(FBuilder); }
  TXMLPooledBuilder(const TXMLPooledBuilder&) = delete;
  TXMLPooledBuilder& operator=(const TXMLPooledBuilder&) = delete;
  TStringBuilder* operator->() const { return FBuilder; }

 private:
  TStringBuilder* FBuilder;
};

int HexDigitValue(wchar_t C) {
  if (C >= L'0' && C <= L'9') return C - L'0';
  if (C >= L'A' && C <= L'F') return C - L'A' + 10;
  if (C >= L'a' && C <= L'f') return C - L'a' + 10;
  return -1;
}

constexpr std::size_t CharEscapeLength = 7;  // _xHHHH_

// Whether "_x" and four hexadecimal digits stand at AIndex, with a seventh
// character after them; the digits' code in ACode.
bool IsEscapeHeadAt(std::wstring_view AText, std::size_t AIndex, wchar_t& ACode) {
  if (AText.size() - AIndex < CharEscapeLength || AText[AIndex] != L'_' || AText[AIndex + 1] != L'x') return false;
  unsigned code = 0;
  for (std::size_t i = AIndex + 2; i < AIndex + 6; ++i) {
    const int digit = HexDigitValue(AText[i]);
    if (digit < 0) return false;
    code = code * 16 + static_cast<unsigned>(digit);
  }
  ACode = static_cast<wchar_t>(code);
  return true;
}

// Whether a character escape starts at AIndex; its code in ACode.
bool IsCharEscapeAt(std::wstring_view AText, std::size_t AIndex, wchar_t& ACode) {
  return IsEscapeHeadAt(AText, AIndex, ACode) && AText[AIndex + 6] == L'_';
}

constexpr char32_t MaxCodePoint = 0x10FFFF;

// A character reference "&#digits;" or "&#xhex;" at the start of AText: its
// code point and length. References without digits, with another character
// before ';', without ';' or beyond U+10FFFF are none.
bool ReadCharReference(std::wstring_view AText, char32_t& ACode, std::size_t& ALength) {
  if (AText.size() < 4 || AText[0] != L'&' || AText[1] != L'#') return false;
  const bool hex = AText[2] == L'x';
  const unsigned base = hex ? 16 : 10;
  std::size_t i = hex ? 3 : 2;
  const std::size_t firstDigit = i;
  char32_t code = 0;
  for (; i < AText.size() && AText[i] != L';'; ++i) {
    const int digit = HexDigitValue(AText[i]);
    if (digit < 0 || static_cast<unsigned>(digit) >= base) return false;
    // Saturates: leading zeros are fine, anything larger is too large.
    code = std::min<char32_t>(code * base + static_cast<char32_t>(digit), MaxCodePoint + 1);
  }
  if (i == AText.size() || i == firstDigit || code > MaxCodePoint) return false;
  ACode = code;
  ALength = i + 1;
  return true;
}

void AppendCodePoint(String& AResult, char32_t ACode) {
  if (ACode <= 0xFFFF) {
    AResult.push_back(static_cast<wchar_t>(ACode));
  } else {
    ACode -= 0x10000;
    AResult.push_back(static_cast<wchar_t>(0xD800 + (ACode >> 10)));
    AResult.push_back(static_cast<wchar_t>(0xDC00 + (ACode & 0x3FF)));
  }
}

const TdxXMLServiceCharMapItem* FindServiceChar(wchar_t AChar) {
  for (const TdxXMLServiceCharMapItem& item : TdxXMLHelper::ServiceCharMap)
    if (item.Char == AChar) return &item;
  return nullptr;
}

bool IsLineBreak(wchar_t C) { return C == L'\r' || C == L'\n'; }
bool IsXMLWhiteSpace(wchar_t C) { return C == L'\t' || C == L'\n' || C == L'\r' || C == L' '; }

struct TXMLEncodeRules {
  bool RemoveLineBreaks;
  bool SkipEntities;
  bool KeepLineBreaks;
};

enum class TXMLCharForm { Itself, Space, Entity, Escape };

// How EncodeString puts out a character; an underscore is itself here (see
// UnderscoreNeedsEscape).
TXMLCharForm FormOf(wchar_t C, const TXMLEncodeRules& ARules) {
  if (IsLineBreak(C)) {
    if (ARules.RemoveLineBreaks) return TXMLCharForm::Space;
    if (ARules.KeepLineBreaks) return TXMLCharForm::Itself;
  }
  if (!ARules.SkipEntities && FindServiceChar(C)) return TXMLCharForm::Entity;
  // U+FFFE and U+FFFF are no XML characters either.
  return C < 32 || C >= 0xFFFE ? TXMLCharForm::Escape : TXMLCharForm::Itself;
}

// Whether the underscore at AIndex would start a character escape in the
// output: "_x" and four hexadecimal digits followed by an underscore, or by a
// character whose own escape begins with one.
bool UnderscoreNeedsEscape(std::wstring_view AText, std::size_t AIndex, const TXMLEncodeRules& ARules) {
  wchar_t ignored;
  if (!IsEscapeHeadAt(AText, AIndex, ignored)) return false;
  const wchar_t last = AText[AIndex + 6];
  return last == L'_' || FormOf(last, ARules) == TXMLCharForm::Escape;
}

// What EncodeString puts out for one character; empty when the character
// stays as it is (AEscape receives an escape's text).
std::wstring_view EncodedForm(std::wstring_view AText, std::size_t AIndex, const TXMLEncodeRules& ARules,
                              wchar_t (&AEscape)[CharEscapeLength + 1]) {
  const wchar_t c = AText[AIndex];
  switch (c == L'_' ? (UnderscoreNeedsEscape(AText, AIndex, ARules) ? TXMLCharForm::Escape : TXMLCharForm::Itself)
                    : FormOf(c, ARules)) {
    case TXMLCharForm::Itself:
      return {};
    case TXMLCharForm::Space:
      return L" ";
    case TXMLCharForm::Entity:
      return FindServiceChar(c)->Replacement;
    case TXMLCharForm::Escape:
      break;
  }
  static constexpr wchar_t hex[] = L"0123456789ABCDEF";
  AEscape[0] = L'_';
  AEscape[1] = L'x';
  for (int i = 0; i < 4; ++i) AEscape[5 - i] = hex[(c >> (4 * i)) & 0xF];
  AEscape[6] = L'_';
  return {AEscape, CharEscapeLength};
}

}  // namespace

// ---------------------------------------------------------------------------
// Strings

void xmldoc_detail::AppendUTF8(std::string& AResult, std::wstring_view AText) {
  for (std::size_t i = 0; i < AText.size(); ++i) {
    char32_t c = AText[i];
    if (c < 0x80) {
      AResult.push_back(static_cast<char>(c));
      continue;
    }
    if (c >= 0xD800 && c <= 0xDFFF) {
      const bool pair = c <= 0xDBFF && i + 1 < AText.size() && AText[i + 1] >= 0xDC00 && AText[i + 1] <= 0xDFFF;
      c = pair ? 0x10000 + ((c - 0xD800) << 10) + (AText[++i] - 0xDC00) : 0xFFFD;
    }
    if (c < 0x800) {
      AResult.push_back(static_cast<char>(0xC0 | (c >> 6)));
    } else {
      if (c < 0x10000) {
        AResult.push_back(static_cast<char>(0xE0 | (c >> 12)));
      } else {
        AResult.push_back(static_cast<char>(0xF0 | (c >> 18)));
        AResult.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      }
      AResult.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    }
    AResult.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

void xmldoc_detail::AppendEncodedUTF8(std::string& AResult, std::wstring_view AText, bool ARemoveLineBreaks) {
  wchar_t escape[CharEscapeLength + 1];
  std::size_t plain = 0;  // the start of the run that stays as it is
  for (std::size_t i = 0; i < AText.size(); ++i) {
    const std::wstring_view form = EncodedForm(AText, i, {ARemoveLineBreaks, false, false}, escape);
    if (form.empty()) continue;
    AppendUTF8(AResult, AText.substr(plain, i - plain));
    AppendUTF8(AResult, form);
    plain = i + 1;
  }
  AppendUTF8(AResult, AText.substr(plain));
}

namespace {

bool IsNameStartChar(char32_t C) {
  return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z') || C == '_' || C == ':' || (C >= 0xC0 && C <= 0xD6) ||
         (C >= 0xD8 && C <= 0xF6) || (C >= 0xF8 && C <= 0x2FF) || (C >= 0x370 && C <= 0x37D) ||
         (C >= 0x37F && C <= 0x1FFF) || (C >= 0x200C && C <= 0x200D) || (C >= 0x2070 && C <= 0x218F) ||
         (C >= 0x2C00 && C <= 0x2FEF) || (C >= 0x3001 && C <= 0xD7FF) || (C >= 0xF900 && C <= 0xFDCF) ||
         (C >= 0xFDF0 && C <= 0xFFFD) || (C >= 0x10000 && C <= 0xEFFFF);
}

bool IsNameChar(char32_t C) {
  return IsNameStartChar(C) || C == '-' || C == '.' || (C >= '0' && C <= '9') || C == 0xB7 ||
         (C >= 0x300 && C <= 0x36F) || (C >= 0x203F && C <= 0x2040);
}

}  // namespace

bool xmldoc_detail::IsValidName(std::wstring_view AName) {
  if (AName.empty()) return false;
  for (std::size_t i = 0; i < AName.size(); ++i) {
    char32_t c = AName[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < AName.size() && AName[i + 1] >= 0xDC00 && AName[i + 1] <= 0xDFFF)
      c = 0x10000 + ((c - 0xD800) << 10) + (AName[++i] - 0xDC00);
    else if (c >= 0xD800 && c <= 0xDFFF)
      return false;
    if (!(i == 0 ? IsNameStartChar(c) : IsNameChar(c))) return false;
  }
  return true;
}

TdxXMLString dxStringToXMLString(std::wstring_view AText) {
  TdxXMLString result;
  result.reserve(AText.size());
  xmldoc_detail::AppendUTF8(result, AText);
  return result;
}

String dxXMLStringToString(std::string_view AText) {
  String result(AText.size(), L'\0');
  std::size_t i = 0;
  for (; i < AText.size() && static_cast<unsigned char>(AText[i]) < 0x80; ++i) result[i] = static_cast<wchar_t>(AText[i]);
  if (i == AText.size()) return result;
  result.resize(i);
  return result + AnsiToString(AText.data() + i, AText.size() - i, CP_UTF8);
}

// ---------------------------------------------------------------------------
// TdxXMLDateTime

EdxXMLUnexpectedToken::EdxXMLUnexpectedToken(wchar_t AToken, const String& AText)
    : EdxException(L"Unexpected token was found (\"%s\" in \"%s\")",
                   {AToken == 0 ? String(L"#0") : String(1, AToken), AText}) {}

TdxXMLDateTime TdxXMLDateTime::Create(const String& AText) {
  TdxXMLDateTime result;
  result.Parse(AText);
  return result;
}

TdxXMLDateTime TdxXMLDateTime::Create(TDateTime AValue, bool AIsUTC) {
  TdxXMLDateTime result;
  result.Assign(AValue, AIsUTC);
  return result;
}

void TdxXMLDateTime::Assign(TDateTime AValue, bool AIsUTC) {
  int year, month, day, hour, minute, second, millisecond;
  DecodeDateTime(AValue, year, month, day, hour, minute, second, millisecond);
  Year = static_cast<std::uint16_t>(year);
  Month = static_cast<std::uint16_t>(month);
  Day = static_cast<std::uint16_t>(day);
  Hour = static_cast<std::uint16_t>(hour);
  Minute = static_cast<std::uint16_t>(minute);
  Second = static_cast<std::uint16_t>(second);
  Millisecond = static_cast<std::uint16_t>(millisecond);
  IsUTC = AIsUTC;
}

void TdxXMLDateTime::Parse(const String& AText) {
  Clear();
  std::size_t pos = 0;
  const auto current = [&] { return pos < AText.size() ? AText[pos] : L'\0'; };
  // A run of decimal digits; a run too long for a field saturates.
  const auto readRun = [&] {
    std::uint32_t value = 0;
    for (; current() >= L'0' && current() <= L'9'; ++pos)
      value = std::min<std::uint32_t>(value * 10 + static_cast<std::uint32_t>(current() - L'0'), 0xFFFF);
    return static_cast<std::uint16_t>(value);
  };
  const auto expect = [&](wchar_t AChar) {
    if (current() != AChar) throw EdxXMLUnexpectedToken(current(), AText);
    ++pos;
  };

  Year = readRun();
  expect(L'-');
  Month = readRun();
  expect(L'-');
  Day = readRun();
  bool carry = false;
  if (current() == L'T') {
    ++pos;
    Hour = readRun();
    expect(L':');
    Minute = readRun();
    expect(L':');
    Second = readRun();
    if (current() == L'.') {
      ++pos;
      // Milliseconds from the first three digits, rounded half to even by the
      // rest; a fraction of any length costs no more than that.
      int digits = 0;
      int millisecond = 0;
      wchar_t firstRest = L'0';
      bool restBeyondFirst = false;
      for (; current() >= L'0' && current() <= L'9'; ++pos, ++digits) {
        if (digits < 3) millisecond = millisecond * 10 + (current() - L'0');
        else if (digits == 3) firstRest = current();
        else if (current() != L'0') restBeyondFirst = true;
      }
      for (int d = digits; d < 3; ++d) millisecond *= 10;
      if (firstRest > L'5' || (firstRest == L'5' && (restBeyondFirst || millisecond % 2 == 1))) ++millisecond;
      carry = millisecond == 1000;
      Millisecond = static_cast<std::uint16_t>(carry ? 0 : millisecond);
    }
  }
  if (carry) AddSecond();
  if (current() == L'+' || current() == L'-') {
    const int sign = current() == L'+' ? 1 : -1;
    ++pos;
    const int hours = readRun();
    int minutes = 0;
    if (current() == L':') {
      ++pos;
      minutes = readRun();
    }
    SetTotalMilliseconds(TotalMilliseconds() - sign * (std::int64_t{hours} * 60 + minutes) * 60000);
    IsUTC = true;
  } else if (current() == L'Z') {
    ++pos;
    IsUTC = true;
    readRun();
  }
  if (pos < AText.size()) throw EdxXMLUnexpectedToken(current(), AText);
}

TDateTime TdxXMLDateTime::ToDateTime() const {
  return EncodeDateTime(Year, Month, Day, Hour, Minute, Second, Millisecond);
}

String TdxXMLDateTime::ToString() const {
  String result = FormatDateTime(L"yyyy-mm-dd'T'hh:nn:ss.zzz", ToDateTime(), InvariantFormatSettings);
  if (IsUTC) result += L'Z';
  return result;
}

std::int64_t TdxXMLDateTime::TotalMilliseconds() const {
  // Validates both halves the way ToDateTime does; whole days are exact.
  const auto days = static_cast<std::int64_t>(EncodeDate(Year, Month, Day));
  EncodeTime(Hour, Minute, Second, Millisecond);
  return days * MSecsPerDay64 + ((std::int64_t{Hour} * 60 + Minute) * 60 + Second) * 1000 + Millisecond;
}

void TdxXMLDateTime::SetTotalMilliseconds(std::int64_t AValue) {
  std::int64_t days = AValue / MSecsPerDay64;
  std::int64_t time = AValue % MSecsPerDay64;
  if (time < 0) {
    time += MSecsPerDay64;
    --days;
  }
  int year, month, day;
  DecodeDate(static_cast<TDateTime>(days), year, month, day);
  Year = static_cast<std::uint16_t>(year);
  Month = static_cast<std::uint16_t>(month);
  Day = static_cast<std::uint16_t>(day);
  Hour = static_cast<std::uint16_t>(time / 3600000);
  Minute = static_cast<std::uint16_t>(time / 60000 % 60);
  Second = static_cast<std::uint16_t>(time / 1000 % 60);
  Millisecond = static_cast<std::uint16_t>(time % 1000);
}

void TdxXMLDateTime::AddSecond() {
  TDateTime ignored;
  // Fields that make a date-time carry into the minute, hour, day...; others
  // stay as wrong as they came and only the second moves.
  if (TryEncodeDate(Year, Month, Day, ignored) && TryEncodeTime(Hour, Minute, Second, Millisecond, ignored))
    SetTotalMilliseconds(TotalMilliseconds() + 1000);
  else if (Second < 0xFFFF)
    ++Second;
}

// ---------------------------------------------------------------------------
// TdxXMLHelper

TdxXMLString TdxXMLHelper::ExtractNameScope(const TdxXMLString& AName) {
  const std::size_t colon = AName.rfind(':');
  return colon == TdxXMLString::npos ? TdxXMLString() : AName.substr(0, colon + 1);
}

TdxXMLString TdxXMLHelper::ExtractNameWithoutNameScope(const TdxXMLString& AName) {
  const std::size_t colon = AName.rfind(':');
  return colon == TdxXMLString::npos ? AName : AName.substr(colon + 1);
}

namespace {

// A decimal integer: an optional sign and decimal digits, within T's range.
// (The run-time's conversion would take hexadecimal text too.)
template <class T>
bool TryDecimalToInt(std::wstring_view AText, T& AValue) {
  const bool negative = !AText.empty() && AText.front() == L'-';
  if (!AText.empty() && (AText.front() == L'-' || AText.front() == L'+')) AText.remove_prefix(1);
  if (AText.empty()) return false;
  using TWide = unsigned long long;
  const TWide limit = negative ? TWide(std::numeric_limits<T>::max()) + 1 : TWide(std::numeric_limits<T>::max());
  TWide value = 0;
  for (const wchar_t c : AText) {
    if (c < L'0' || c > L'9') return false;
    value = value * 10 + static_cast<TWide>(c - L'0');
    if (value > limit) return false;
  }
  AValue = negative ? static_cast<T>(0 - value) : static_cast<T>(value);
  return true;
}

[[noreturn]] void RaiseInvalidInteger(const String& AText) {
  throw EConvertError(L"'%s' ist kein gültiger Integerwert", {AText});
}

}  // namespace

bool TdxXMLHelper::DecodeBoolean(const String& AText) {
  long long value = 0;
  if (TryDecimalToInt(AText, value)) return value != 0;
  return SameText(AText, L"true");
}

String TdxXMLHelper::DecodeString(const String& AText) {
  const std::wstring_view text(AText);
  std::size_t i = text.find_first_of(L"&_");
  if (i == std::wstring_view::npos) return AText;
  String result;
  result.reserve(text.size());
  result.append(text.substr(0, i));
  while (i < text.size()) {
    const wchar_t c = text[i];
    wchar_t escaped;
    if (c == L'_' && IsCharEscapeAt(text, i, escaped)) {
      result.push_back(escaped);
      i += CharEscapeLength;
      continue;
    }
    if (c == L'&') {
      const std::wstring_view rest = text.substr(i);
      const auto item = std::find_if(std::begin(ServiceCharMap), std::end(ServiceCharMap),
                                     [&](const TdxXMLServiceCharMapItem& AItem) { return rest.starts_with(AItem.Replacement); });
      if (item != std::end(ServiceCharMap)) {
        result.push_back(item->Char);
        i += item->Replacement.size();
        continue;
      }
      char32_t code;
      std::size_t length;
      if (ReadCharReference(rest, code, length)) {
        AppendCodePoint(result, code);
        i += length;
        continue;
      }
    }
    const std::size_t next = text.find_first_of(L"&_", i + 1);
    const std::size_t end = next == std::wstring_view::npos ? text.size() : next;
    result.append(text.substr(i, end - i));
    i = end;
  }
  return result;
}

String TdxXMLHelper::EncodeString(const String& AText, bool ARemoveLineBreaks, bool ASkipEntities,
                                  bool AKeepLineBreaks) {
  const std::wstring_view text(AText);
  const TXMLEncodeRules rules{ARemoveLineBreaks, ASkipEntities, AKeepLineBreaks};
  wchar_t escape[CharEscapeLength + 1];
  std::size_t i = 0;
  while (i < text.size() && EncodedForm(text, i, rules, escape).empty()) ++i;
  if (i == text.size()) return AText;

  TXMLPooledBuilder builder(static_cast<int>(std::min<std::size_t>(text.size() * 3 / 2, 0x7FFFFFFF)));
  builder->Append(text.substr(0, i));
  for (; i < text.size(); ++i) {
    const std::wstring_view form = EncodedForm(text, i, rules, escape);
    if (form.empty()) builder->Append(text[i]);
    else builder->Append(form);
  }
  return builder->ToString();
}

bool TdxXMLHelper::IsPreserveSpacesNeeded(const String& AText) {
  if (AText.empty()) return false;
  return IsXMLWhiteSpace(AText.front()) || IsXMLWhiteSpace(AText.back()) ||
         AText.find_first_of(L"\r\n") != String::npos;
}

// ---------------------------------------------------------------------------
// TdxXMLNodeAttribute

TDateTime TdxXMLNodeAttribute::ValueAsDateTime() const { return TdxXMLDateTime::Create(FValue).ToDateTime(); }

void TdxXMLNodeAttribute::SetValueAsDateTime(TDateTime AValue) {
  FValue = TdxXMLDateTime::Create(AValue, false).ToString();
}

double TdxXMLNodeAttribute::ValueAsFloat() const { return StrToFloatWithSeparator(FValue, L'.'); }

void TdxXMLNodeAttribute::SetValueAsFloat(double AValue) { FValue = FloatToStrWithSeparator(AValue, L'.'); }

namespace {

// A decimal integer, else "true" or "false" in any letter case; false for other text.
template <class T, bool (*TryConvert)(const String&, T&)>
bool TryAttributeInteger(const String& AText, T& AValue) {
  if (TryConvert(AText, AValue)) return true;
  if (SameText(AText, L"true")) AValue = 1;
  else if (SameText(AText, L"false")) AValue = 0;
  else return false;
  return true;
}

bool TryDecimalToInt32(const String& S, int& AValue) { return TryDecimalToInt(S, AValue); }
bool TryDecimalToInt64(const String& S, std::int64_t& AValue) { return TryDecimalToInt(S, AValue); }

}  // namespace

int TdxXMLNodeAttribute::ValueAsInteger() const {
  int value = 0;
  if (!TryAttributeInteger<int, &TryDecimalToInt32>(FValue, value)) RaiseInvalidInteger(FValue);
  return value;
}

std::int64_t TdxXMLNodeAttribute::ValueAsInt64() const {
  std::int64_t value = 0;
  if (!TryAttributeInteger<std::int64_t, &TryDecimalToInt64>(FValue, value)) RaiseInvalidInteger(FValue);
  return value;
}

// ---------------------------------------------------------------------------
// TdxXMLNodeAttributes

TdxXMLNodeAttribute* TdxXMLNodeAttributes::Add(const TdxXMLString& AName) {
  auto* attribute = static_cast<TdxXMLNodeAttribute*>(Add());
  attribute->FName = AName;
  return attribute;
}

TdxXMLNodeAttribute* TdxXMLNodeAttributes::Add(const TdxXMLString& AName, bool AValue) {
  TdxXMLNodeAttribute* attribute = Add(AName);
  attribute->SetValueAsBoolean(AValue);
  return attribute;
}

TdxXMLNodeAttribute* TdxXMLNodeAttributes::Add(const TdxXMLString& AName, int AValue) {
  TdxXMLNodeAttribute* attribute = Add(AName);
  attribute->SetValueAsInteger(AValue);
  return attribute;
}

TdxXMLNodeAttribute* TdxXMLNodeAttributes::Add(const TdxXMLString& AName, std::int64_t AValue) {
  TdxXMLNodeAttribute* attribute = Add(AName);
  attribute->SetValueAsInt64(AValue);
  return attribute;
}

TdxXMLNodeAttribute* TdxXMLNodeAttributes::Add(const TdxXMLString& AName, double AValue) {
  TdxXMLNodeAttribute* attribute = Add(AName);
  attribute->SetValueAsFloat(AValue);
  return attribute;
}

TdxXMLNodeAttribute* TdxXMLNodeAttributes::Add(const TdxXMLString& AName, const TdxXMLString& AValue) {
  TdxXMLNodeAttribute* attribute = Add(AName);
  attribute->SetValue(AValue);
  return attribute;
}

TdxXMLNodeAttribute* TdxXMLNodeAttributes::Add(const TdxXMLString& AName, const String& AValue) {
  TdxXMLNodeAttribute* attribute = Add(AName);
  attribute->FValue = AValue;
  return attribute;
}

void TdxXMLNodeAttributes::Assign(const TdxXMLNodeAttributes* ASource) {
  Clear();
  if (!ASource) return;
  for (const TdxXMLNodeAttribute* source = ASource->First(); source; source = source->Next())
    Add(source->FName, source->FValue);
}

bool TdxXMLNodeAttributes::Find(const TdxXMLString& AName, TdxXMLNodeAttribute*& AAttribute) const {
  for (AAttribute = First(); AAttribute; AAttribute = AAttribute->Next())
    if (AAttribute->FName == AName) return true;
  return false;
}

bool TdxXMLNodeAttributes::Exists(const TdxXMLString& AName) const {
  TdxXMLNodeAttribute* attribute;
  return Find(AName, attribute);
}

void TdxXMLNodeAttributes::Delete(const TdxXMLString& AName) {
  TdxXMLNodeAttribute* attribute;
  if (Find(AName, attribute)) Delete(attribute);
}

TdxXMLString TdxXMLNodeAttributes::GetValue(const TdxXMLString& AName, const TdxXMLString& ADefault) const {
  TdxXMLNodeAttribute* attribute;
  return Find(AName, attribute) ? attribute->Value() : ADefault;
}

String TdxXMLNodeAttributes::GetValueAsString(const TdxXMLString& AName, const String& ADefault) const {
  TdxXMLNodeAttribute* attribute;
  return Find(AName, attribute) ? attribute->FValue : ADefault;
}

bool TdxXMLNodeAttributes::GetValueAsBoolean(const TdxXMLString& AName, bool ADefault) const {
  TdxXMLNodeAttribute* attribute;
  return Find(AName, attribute) ? attribute->ValueAsBoolean() : ADefault;
}

double TdxXMLNodeAttributes::GetValueAsFloat(const TdxXMLString& AName, double ADefault) const {
  TdxXMLNodeAttribute* attribute;
  return Find(AName, attribute) ? attribute->ValueAsFloat() : ADefault;
}

int TdxXMLNodeAttributes::GetValueAsInteger(const TdxXMLString& AName, int ADefault) const {
  TdxXMLNodeAttribute* attribute;
  int value = 0;
  return Find(AName, attribute) && TryAttributeInteger<int, &TryDecimalToInt32>(attribute->FValue, value) ? value
                                                                                                    : ADefault;
}

std::int64_t TdxXMLNodeAttributes::GetValueAsInt64(const TdxXMLString& AName, std::int64_t ADefault) const {
  TdxXMLNodeAttribute* attribute;
  std::int64_t value = 0;
  return Find(AName, attribute) && TryAttributeInteger<std::int64_t, &TryDecimalToInt64>(attribute->FValue, value)
             ? value
             : ADefault;
}

TDateTime TdxXMLNodeAttributes::GetValueAsDateTime(const TdxXMLString& AName, TDateTime ADefault) const {
  TdxXMLNodeAttribute* attribute;
  return Find(AName, attribute) ? attribute->ValueAsDateTime() : ADefault;
}

bool TdxXMLNodeAttributes::GetValueAsDateTime(const TdxXMLString& AName, TdxXMLDateTime& AValue) const {
  TdxXMLNodeAttribute* attribute;
  if (!Find(AName, attribute)) return false;
  AValue.Parse(attribute->FValue);
  return true;
}

TdxDefaultBoolean TdxXMLNodeAttributes::GetValueAsDefaultBoolean(const TdxXMLString& AName) const {
  TdxXMLNodeAttribute* attribute;
  if (!Find(AName, attribute)) return bDefault;
  return BooleanToDefaultBoolean(attribute->ValueAsBoolean());
}

TdxXMLNodeAttribute* TdxXMLNodeAttributes::Ensure(const TdxXMLString& AName) {
  TdxXMLNodeAttribute* attribute;
  return Find(AName, attribute) ? attribute : Add(AName);
}

void TdxXMLNodeAttributes::SetValue(const TdxXMLString& AName, const TdxXMLString& AValue) {
  Ensure(AName)->SetValue(AValue);
}

void TdxXMLNodeAttributes::SetValueAsString(const TdxXMLString& AName, const String& AValue) {
  Ensure(AName)->FValue = AValue;
}

void TdxXMLNodeAttributes::SetValueAsBoolean(const TdxXMLString& AName, bool AValue) {
  Ensure(AName)->SetValueAsBoolean(AValue);
}

void TdxXMLNodeAttributes::SetValueAsInteger(const TdxXMLString& AName, int AValue) {
  Ensure(AName)->SetValueAsInteger(AValue);
}

void TdxXMLNodeAttributes::SetValueAsInt64(const TdxXMLString& AName, std::int64_t AValue) {
  Ensure(AName)->SetValueAsInt64(AValue);
}

void TdxXMLNodeAttributes::SetValueAsFloat(const TdxXMLString& AName, double AValue) {
  Ensure(AName)->SetValueAsFloat(AValue);
}

void TdxXMLNodeAttributes::SetValueAsDateTime(const TdxXMLString& AName, const TdxXMLDateTime& AValue) {
  Ensure(AName)->FValue = AValue.ToString();
}

void TdxXMLNodeAttributes::SetValueAsDateTime(const TdxXMLString& AName, TDateTime AValue) {
  Ensure(AName)->SetValueAsDateTime(AValue);
}

void TdxXMLNodeAttributes::SetValueAsDefaultBoolean(const TdxXMLString& AName, TdxDefaultBoolean AValue) {
  if (AValue == bDefault) Delete(AName);
  else SetValueAsBoolean(AName, AValue == bTrue);
}

// ---------------------------------------------------------------------------
// TdxXMLNodes

void TdxXMLNodes::Add(TdxXMLNode* ANode) { AppendNode(ANode); }

TdxXMLNode* TdxXMLNodes::First() const { return static_cast<TdxXMLNode*>(TcxDoublyLinkedObjectList::First()); }

TdxXMLNode* TdxXMLNodes::Last() const { return static_cast<TdxXMLNode*>(TcxDoublyLinkedObjectList::Last()); }

TClass TdxXMLNodes::GetNodeClass() { return TdxXMLNode::ClassInfo(); }

// ---------------------------------------------------------------------------
// TdxXMLNode

void TdxXMLNode::Create() { FAttributes.reset(CreateAttributes()); }

void TdxXMLNode::Destroy() {
  if (FParent && FParent->FChildren) FParent->FChildren->Extract(this);
  FParent = nullptr;
  FAttributes.reset();
  FreeChildren();
  inherited::Destroy();
}

TdxXMLNodeAttributes* TdxXMLNode::CreateAttributes() { return New<TdxXMLNodeAttributes>(this); }

TdxXMLNode* TdxXMLNode::AddChild(const TdxXMLString& ATagName) {
  if (!FChildren) FChildren.reset(New<TdxXMLNodes>());
  TdxXMLNode* child = NewOfClass<TdxXMLNode>(GetChildNodeClass());
  FChildren->Add(child);
  child->FParent = this;
  child->FName = ATagName;
  return child;
}

void TdxXMLNode::Assign(const TdxXMLNode* ASource) {
  Clear();
  if (!ASource) return;
  FName = ASource->FName;
  FAttributes->Assign(ASource->FAttributes.get());
  for (const TdxXMLNode* child = ASource->First(); child; child = child->Next())
    AddChild(child->FName)->Assign(child);
}

void TdxXMLNode::Clear() {
  FAttributes->Clear();
  FreeChildren();
}

void TdxXMLNode::FreeChildren() {
  // Subtrees are taken apart breadth-first, so freeing a deep tree needs no
  // deep recursion: each node is freed once its own children have been moved
  // to the pending lists.
  std::vector<TOwned<TdxXMLNodes>> pending;
  if (FChildren) pending.push_back(std::move(FChildren));
  while (!pending.empty()) {
    TOwned<TdxXMLNodes> list = std::move(pending.back());
    pending.pop_back();
    for (TdxXMLNode* child = list->First(); child; child = child->Next()) {
      child->FParent = nullptr;
      if (child->FChildren) pending.push_back(std::move(child->FChildren));
    }
  }
}

bool TdxXMLNode::FindChild(const TdxXMLString& AName, TdxXMLNode*& ANode) const {
  for (ANode = First(); ANode; ANode = ANode->Next())
    if (ANode->FName == AName) return true;
  return false;
}

TdxXMLNode* TdxXMLNode::FindChild(const TdxXMLString& AName) const {
  TdxXMLNode* node;
  return FindChild(AName, node) ? node : nullptr;
}

bool TdxXMLNode::FindChild(std::span<const TdxXMLString> ANames, bool ACanCreate, TdxXMLNode*& ANode) {
  ANode = nullptr;
  TdxXMLNode* node = this;
  for (const TdxXMLString& name : ANames) {
    TdxXMLNode* child;
    if (!node->FindChild(name, child)) {
      if (!ACanCreate) return false;
      child = node->AddChild(name);
    }
    node = child;
  }
  if (ANames.empty()) return false;
  ANode = node;
  return true;
}

void TdxXMLNode::ForEach(const TdxXMLNodeForEachProc& AProc, void* AUserData) {
  for (TdxXMLNode* child = First(); child; child = child->Next()) AProc(child, AUserData);
}

String TdxXMLNode::GetChildValue(const TdxXMLString& AName) const {
  const TdxXMLNode* child = FindChild(AName);
  return child ? child->FText : String();
}

TdxXMLNode* TdxXMLNode::GetItem(int AIndex) const {
  TdxXMLNode* child = AIndex >= 0 ? First() : nullptr;
  for (int i = 0; child && i < AIndex; ++i) child = child->Next();
  if (!child) dxListIndexError(AIndex);
  return child;
}

void TdxXMLNode::SetAttribute(const TdxXMLString& AName, const Variant& AValue) {
  FAttributes->SetValueAsString(AName, VarToStr(AValue));
}

TDateTime TdxXMLNode::TextAsDateTime() const { return TdxXMLDateTime::Create(FText).ToDateTime(); }

void TdxXMLNode::SetTextAsDateTime(TDateTime AValue) { FText = TdxXMLDateTime::Create(AValue, false).ToString(); }

double TdxXMLNode::TextAsFloat() const { return StrToFloatWithSeparator(FText, L'.'); }

int TdxXMLNode::TextAsInteger() const {
  int value = 0;
  if (!TryDecimalToInt(FText, value)) RaiseInvalidInteger(FText);
  return value;
}

void TdxXMLNode::SetTextAsFloat(double AValue) { FText = FloatToStrWithSeparator(AValue, L'.'); }

int TdxXMLNode::Index() const {
  if (!FParent) return -1;
  int index = 0;
  for (const TdxXMLNode* sibling = FParent->First(); sibling && sibling != this; sibling = sibling->Next()) ++index;
  return index;
}

bool TdxXMLNode::IsEmpty() const { return !FAttributes->First() && !HasChildren() && FText.empty(); }

int TdxXMLNode::Level() const {
  int level = -1;
  for (const TdxXMLNode* parent = FParent; parent; parent = parent->FParent) ++level;
  return level;
}

void TdxXMLNode::CheckPreserveSpacesAttribute() {
  if (TdxXMLHelper::IsPreserveSpacesNeeded(FText)) FAttributes->SetValueAsString("xml:space", L"preserve");
  else FAttributes->Delete("xml:space");
}

bool TdxXMLNode::IsSpacePreserved() const {
  TdxXMLNodeAttribute* attribute;
  return FAttributes->Find("xml:space", attribute) && attribute->ValueAsString() == L"preserve";
}

// ---------------------------------------------------------------------------
// TdxXMLDocument

void TdxXMLDocument::Create(TPersistent* AOwner) {
  inherited::Create(AOwner);
  FEncoding = "UTF-8";
  FVersion = "1.0";
  FRoot.reset(CreateRootNode());
}

void TdxXMLDocument::Destroy() {
  FRoot.reset();
  inherited::Destroy();
}

TdxXMLDocument* TdxXMLDocument::CreateEx(const String& AFileName) {
  TOwned<TdxXMLDocument> document(New<TdxXMLDocument>(nullptr));
  document->LoadFromFile(AFileName);
  return document.release();
}

TdxXMLNode* TdxXMLDocument::CreateRootNode() { return New<TdxXMLNode>(); }

bool TdxXMLDocument::FindChild(std::span<const TdxXMLString> ANames, TdxXMLNode*& ANode) const {
  return FRoot->FindChild(ANames, false, ANode);
}

TdxXMLNode* TdxXMLDocument::FindChild(std::span<const TdxXMLString> ANames) const {
  TdxXMLNode* node;
  return FindChild(ANames, node) ? node : nullptr;
}

void TdxXMLDocument::ForEach(std::span<const TdxXMLString> ANames, void* AUserData, const TdxXMLNodeForEachProc& AProc) {
  TdxXMLNode* node;
  if (FindChild(ANames, node)) node->ForEach(AProc, AUserData);
}
