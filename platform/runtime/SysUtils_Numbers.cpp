// Number conversions: integers, floats (general, exponent, fixed, number,
// currency and picture formats), currency amounts and Booleans.
//
// Floats are first turned into decimal digits (FloatToDecimal): the double's
// 17 significant digits, correctly rounded, then rounded again in decimal to
// the requested digits with an exact half going away from zero, so 0.125
// shows as "0.13" with two decimals while 2.675 (stored as 2.67499999...)
// shows as "2.67". Every format builds its text from those digits.
#include "platform/runtime/SysUtils.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

namespace {

constexpr int kInfExponent = 0x7FFF;
constexpr int kNaNExponent = 0x8000;
constexpr int kMaxPrecision = 18;
constexpr int kUnlimitedDecimals = 9999;

[[noreturn]] void InvalidInteger(const String& S) {
  throw EConvertError(SInvalidInteger, {S});
}

[[noreturn]] void InvalidFloat(const String& S) {
  throw EConvertError(L"'%s' ist kein gültiger Gleitkommawert", {S});
}

int DigitValue(wchar_t C, bool AHex) {
  if (C >= L'0' && C <= L'9') return C - L'0';
  if (AHex && C >= L'a' && C <= L'f') return C - L'a' + 10;
  if (AHex && C >= L'A' && C <= L'F') return C - L'A' + 10;
  return -1;
}

// Reads leading blanks, an optional sign and a decimal or hexadecimal
// magnitude; nothing may follow.
bool ParseInteger(const String& S, bool& ANegative, std::uint64_t& AMagnitude, bool& AHex) {
  std::size_t i = 0;
  while (i < S.size() && (S[i] == L' ' || S[i] == L'\t')) ++i;
  ANegative = false;
  if (i < S.size() && (S[i] == L'+' || S[i] == L'-')) ANegative = S[i++] == L'-';
  AHex = false;
  if (i < S.size() && S[i] == L'$') {
    AHex = true;
    ++i;
  } else if (i + 1 < S.size() && S[i] == L'0' && (S[i + 1] == L'x' || S[i + 1] == L'X')) {
    AHex = true;
    i += 2;
  } else if (i < S.size() && (S[i] == L'x' || S[i] == L'X')) {
    AHex = true;
    ++i;
  }
  if (i >= S.size()) return false;
  const std::uint64_t base = AHex ? 16 : 10;
  std::uint64_t value = 0;
  for (; i < S.size(); ++i) {
    const int d = DigitValue(S[i], AHex);
    if (d < 0) return false;
    if (value > (std::numeric_limits<std::uint64_t>::max() - static_cast<std::uint64_t>(d)) / base) return false;
    value = value * base + static_cast<std::uint64_t>(d);
  }
  AMagnitude = value;
  return true;
}

bool ParseSigned(const String& S, std::int64_t& AValue, int ABits) {
  bool negative = false, hex = false;
  std::uint64_t magnitude = 0;
  if (!ParseInteger(S, negative, magnitude, hex)) return false;
  const std::uint64_t limit = std::uint64_t{1} << (ABits - 1);  // |minimum|
  const std::int64_t minimum = ABits == 64 ? std::numeric_limits<std::int64_t>::min()
                                           : -static_cast<std::int64_t>(limit);
  std::int64_t value;
  if (hex && !negative) {
    // An unsigned hexadecimal number may use the full width: its two's
    // complement form ($FFFFFFFF is -1 as a 32-bit integer).
    const std::uint64_t mask = ABits == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << ABits) - 1;
    if (magnitude > mask) return false;
    if (magnitude < limit || ABits == 64)
      value = static_cast<std::int64_t>(magnitude);
    else
      value = static_cast<std::int64_t>(magnitude) - static_cast<std::int64_t>(std::uint64_t{1} << ABits);
  } else if (negative) {
    if (magnitude > limit) return false;
    value = magnitude == limit ? minimum : -static_cast<std::int64_t>(magnitude);
  } else {
    if (magnitude >= limit) return false;
    value = static_cast<std::int64_t>(magnitude);
  }
  AValue = value;
  return true;
}

String HexDigits(std::uint64_t AValue, int ADigits) {
  static const wchar_t digits[] = L"0123456789ABCDEF";
  String r;
  do {
    r.insert(r.begin(), digits[AValue & 15]);
    AValue >>= 4;
  } while (AValue);
  if (ADigits > static_cast<int>(r.size())) r.insert(0, static_cast<std::size_t>(ADigits) - r.size(), L'0');
  return r;
}

}  // namespace

// ---------------------------------------------------------------------------
// Integers

String IntToStr(int AValue) { return std::to_wstring(AValue); }
String IntToStr(long AValue) { return std::to_wstring(AValue); }
String IntToStr(long long AValue) { return std::to_wstring(AValue); }
String UIntToStr(unsigned long long AValue) { return std::to_wstring(AValue); }

String IntToHex(int AValue, int ADigits) { return HexDigits(static_cast<std::uint32_t>(AValue), ADigits); }
String IntToHex(long long AValue, int ADigits) { return HexDigits(static_cast<std::uint64_t>(AValue), ADigits); }
String IntToHex(unsigned AValue, int ADigits) { return HexDigits(AValue, ADigits); }
String IntToHex(unsigned long long AValue, int ADigits) { return HexDigits(AValue, ADigits); }

bool TryStrToInt(const String& S, int& AValue) {
  std::int64_t v = 0;
  if (!ParseSigned(S, v, 32)) return false;
  AValue = static_cast<int>(v);
  return true;
}

int StrToInt(const String& S) {
  int v = 0;
  if (!TryStrToInt(S, v)) InvalidInteger(S);
  return v;
}

int StrToIntDef(const String& S, int ADefault) {
  int v = 0;
  return TryStrToInt(S, v) ? v : ADefault;
}

bool TryStrToInt64(const String& S, std::int64_t& AValue) { return ParseSigned(S, AValue, 64); }

std::int64_t StrToInt64(const String& S) {
  std::int64_t v = 0;
  if (!TryStrToInt64(S, v)) InvalidInteger(S);
  return v;
}

std::int64_t StrToInt64Def(const String& S, std::int64_t ADefault) {
  std::int64_t v = 0;
  return TryStrToInt64(S, v) ? v : ADefault;
}

bool TryStrToUInt64(const String& S, std::uint64_t& AValue) {
  bool negative = false, hex = false;
  std::uint64_t magnitude = 0;
  if (!ParseInteger(S, negative, magnitude, hex) || (negative && magnitude != 0)) return false;
  AValue = magnitude;
  return true;
}

std::uint64_t StrToUInt64(const String& S) {
  std::uint64_t v = 0;
  if (!TryStrToUInt64(S, v)) InvalidInteger(S);
  return v;
}

// ---------------------------------------------------------------------------
// Decimal digits of a float

void FloatToDecimal(TFloatRec& AResult, double AValue, int APrecision, int ADecimals) {
  AResult = TFloatRec();
  if (std::isnan(AValue)) {
    AResult.Exponent = kNaNExponent;
    return;
  }
  AResult.Negative = std::signbit(AValue);
  if (std::isinf(AValue)) {
    AResult.Exponent = kInfExponent;
    return;
  }
  if (AValue == 0) {
    AResult.Negative = false;
    return;
  }
  char buffer[64];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(AValue),
                                          std::chars_format::scientific, 16);
  if (error != std::errc()) return;
  // "d.dddddddddddddddde[+-]xx"
  String digits;
  const char* p = buffer;
  for (; p < end && *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9') digits += static_cast<wchar_t>(*p);
  int exponent = 0;
  if (p < end) std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), end, exponent);
  exponent += 1;  // value = 0.digits x 10^exponent

  APrecision = std::clamp(APrecision, 1, kMaxPrecision);
  const long long keep = std::min<long long>(APrecision, static_cast<long long>(exponent) + ADecimals);
  if (keep < 0) {
    AResult.Negative = false;
    return;
  }
  if (keep < static_cast<long long>(digits.size())) {
    const bool up = digits[static_cast<std::size_t>(keep)] >= L'5';
    digits.resize(static_cast<std::size_t>(keep));
    if (up) {
      std::size_t i = digits.size();
      while (i > 0 && digits[i - 1] == L'9') digits[--i] = L'0';
      if (i == 0) {
        digits.insert(digits.begin(), L'1');
        ++exponent;
      } else {
        ++digits[i - 1];
      }
    }
  }
  while (!digits.empty() && digits.back() == L'0') digits.pop_back();
  if (digits.empty()) {
    AResult.Negative = false;
    return;
  }
  AResult.Digits = digits;
  AResult.Exponent = exponent;
}

namespace {

String SpecialText(const TFloatRec& ARec) {
  if (ARec.Exponent == kNaNExponent) return L"NAN";
  return ARec.Negative ? L"-INF" : L"INF";
}

bool IsSpecial(const TFloatRec& ARec) {
  return ARec.Digits.empty() && (ARec.Exponent == kInfExponent || ARec.Exponent == kNaNExponent);
}

wchar_t DigitAt(const TFloatRec& ARec, int AIndex) {
  return AIndex >= 0 && AIndex < static_cast<int>(ARec.Digits.size()) ? ARec.Digits[static_cast<std::size_t>(AIndex)]
                                                                       : L'0';
}

String ExponentText(int AExponent, int AMinDigits, bool APlusSign) {
  String digits = std::to_wstring(AExponent < 0 ? -AExponent : AExponent);
  if (AMinDigits > static_cast<int>(digits.size()))
    digits.insert(0, static_cast<std::size_t>(AMinDigits) - digits.size(), L'0');
  if (AExponent < 0) return L"-" + digits;
  return APlusSign ? L"+" + digits : digits;
}

// The integer part's digits (at least "0") and ADecimals decimals.
void SplitFixed(const TFloatRec& ARec, int ADecimals, String& AInteger, String& AFraction) {
  AInteger.clear();
  for (int i = 0; i < ARec.Exponent; ++i) AInteger += DigitAt(ARec, i);
  if (AInteger.empty()) AInteger = L"0";
  AFraction.clear();
  for (int i = 0; i < ADecimals; ++i) AFraction += DigitAt(ARec, ARec.Exponent + i);
}

String GroupThousands(const String& AInteger, wchar_t ASeparator) {
  if (!ASeparator) return AInteger;
  String r;
  const std::size_t n = AInteger.size();
  for (std::size_t i = 0; i < n; ++i) {
    r += AInteger[i];
    const std::size_t rest = n - i - 1;
    if (rest > 0 && rest % 3 == 0) r += ASeparator;
  }
  return r;
}

String GeneralText(const TFloatRec& ARec, int APrecision, int AExpDigits, const TFormatSettings& ASettings) {
  if (ARec.Digits.empty()) return L"0";
  String r = ARec.Negative ? L"-" : L"";
  if (ARec.Exponent > APrecision || ARec.Exponent < -4) {
    r += ARec.Digits[0];
    if (ARec.Digits.size() > 1) r += ASettings.DecimalSeparator + ARec.Digits.substr(1);
    return r + L'E' + ExponentText(ARec.Exponent - 1, AExpDigits, false);
  }
  if (ARec.Exponent <= 0) {
    r += L'0';
    r += ASettings.DecimalSeparator;
    r.append(static_cast<std::size_t>(-ARec.Exponent), L'0');
    return r + ARec.Digits;
  }
  for (int i = 0; i < ARec.Exponent; ++i) r += DigitAt(ARec, i);
  if (static_cast<int>(ARec.Digits.size()) > ARec.Exponent)
    r += ASettings.DecimalSeparator + ARec.Digits.substr(static_cast<std::size_t>(ARec.Exponent));
  return r;
}

String ApplyCurrencyFormat(const String& ANumber, bool ANegative, const TFormatSettings& S) {
  const String& c = S.CurrencyString;
  if (!ANegative) {
    switch (S.CurrencyFormat) {
      case 1: return ANumber + c;
      case 2: return c + L' ' + ANumber;
      case 3: return ANumber + L' ' + c;
      default: return c + ANumber;
    }
  }
  switch (S.NegCurrFormat) {
    case 1: return L"-" + c + ANumber;
    case 2: return c + L"-" + ANumber;
    case 3: return c + ANumber + L"-";
    case 4: return L"(" + ANumber + c + L")";
    case 5: return L"-" + ANumber + c;
    case 6: return ANumber + L"-" + c;
    case 7: return ANumber + c + L"-";
    case 8: return L"-" + ANumber + L" " + c;
    case 9: return L"-" + c + L" " + ANumber;
    case 10: return ANumber + L" " + c + L"-";
    case 11: return c + L" " + ANumber + L"-";
    case 12: return c + L" -" + ANumber;
    case 13: return ANumber + L"- " + c;
    case 14: return L"(" + c + L" " + ANumber + L")";
    case 15: return L"(" + ANumber + L" " + c + L")";
    default: return L"(" + c + ANumber + L")";
  }
}

}  // namespace

String FloatToStrF(double AValue, TFloatFormat AFormat, int APrecision, int ADigits,
                   const TFormatSettings& ASettings) {
  APrecision = std::clamp(APrecision, 1, kMaxPrecision);
  TFloatRec rec;
  switch (AFormat) {
    case ffGeneral:
      FloatToDecimal(rec, AValue, APrecision, kUnlimitedDecimals);
      if (IsSpecial(rec)) return SpecialText(rec);
      return GeneralText(rec, APrecision, std::clamp(ADigits, 0, 4), ASettings);

    case ffExponent: {
      FloatToDecimal(rec, AValue, APrecision, kUnlimitedDecimals);
      if (IsSpecial(rec)) return SpecialText(rec);
      String r = rec.Negative ? L"-" : L"";
      r += DigitAt(rec, 0);
      if (APrecision > 1) {
        r += ASettings.DecimalSeparator;
        for (int i = 1; i < APrecision; ++i) r += DigitAt(rec, i);
      }
      const int exponent = rec.Digits.empty() ? 0 : rec.Exponent - 1;
      return r + L'E' + ExponentText(exponent, std::clamp(ADigits, 0, 4), true);
    }

    case ffFixed: case ffNumber: case ffCurrency: {
      const int decimals = std::clamp(ADigits, 0, kMaxPrecision);
      FloatToDecimal(rec, AValue, kMaxPrecision, decimals);
      if (IsSpecial(rec)) return SpecialText(rec);
      // More integer digits than the precision can hold: the general format.
      if (rec.Exponent > APrecision && !rec.Digits.empty()) {
        FloatToDecimal(rec, AValue, APrecision, kUnlimitedDecimals);
        return GeneralText(rec, APrecision, 0, ASettings);
      }
      String integer, fraction;
      SplitFixed(rec, decimals, integer, fraction);
      if (AFormat != ffFixed) integer = GroupThousands(integer, ASettings.ThousandSeparator);
      String number = integer;
      if (decimals > 0) number += ASettings.DecimalSeparator + fraction;
      if (AFormat == ffCurrency) return ApplyCurrencyFormat(number, rec.Negative, ASettings);
      return rec.Negative ? L"-" + number : number;
    }
  }
  return String();
}

String FloatToStrF(double AValue, TFloatFormat AFormat, int APrecision, int ADigits) {
  return FloatToStrF(AValue, AFormat, APrecision, ADigits, FormatSettings);
}

String FloatToStr(double AValue, const TFormatSettings& ASettings) {
  return FloatToStrF(AValue, ffGeneral, 15, 0, ASettings);
}

String FloatToStr(double AValue) { return FloatToStr(AValue, FormatSettings); }

// ---------------------------------------------------------------------------
// FormatFloat

namespace {

// One section of a picture, analysed.
struct TPicture {
  String Text;
  int IntPlaceholders = 0;
  int MinIntDigits = 0;    // placeholders from the first '0' to the point
  int DecPlaceholders = 0;
  int MinDecimals = 0;     // up to the last '0' after the point
  bool Thousands = false;
  bool Scientific = false;
  bool HasPlaceholder = false;
};

std::vector<String> SplitSections(const String& AFormat) {
  std::vector<String> sections(1);
  wchar_t quote = 0;
  for (wchar_t c : AFormat) {
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == L'\'' || c == L'"') {
      quote = c;
    } else if (c == L';') {
      sections.emplace_back();
      continue;
    }
    sections.back() += c;
  }
  return sections;
}

bool IsExponentAt(const String& S, std::size_t I) {
  return I + 1 < S.size() && (S[I] == L'E' || S[I] == L'e') && (S[I + 1] == L'+' || S[I + 1] == L'-');
}

TPicture AnalysePicture(const String& AText) {
  TPicture p;
  p.Text = AText;
  bool afterPoint = false;
  int firstZero = -1;
  wchar_t quote = 0;
  for (std::size_t i = 0; i < AText.size(); ++i) {
    const wchar_t c = AText[i];
    if (quote) {
      if (c == quote) quote = 0;
      continue;
    }
    if (c == L'\'' || c == L'"') {
      quote = c;
    } else if (c == L'0' || c == L'#') {
      p.HasPlaceholder = true;
      if (afterPoint) {
        ++p.DecPlaceholders;
        if (c == L'0') p.MinDecimals = p.DecPlaceholders;
      } else {
        if (c == L'0' && firstZero < 0) firstZero = p.IntPlaceholders;
        ++p.IntPlaceholders;
      }
    } else if (c == L'.') {
      afterPoint = true;
    } else if (c == L',') {
      if (!afterPoint) p.Thousands = true;
    } else if (IsExponentAt(AText, i) && p.HasPlaceholder) {
      p.Scientific = true;
      break;
    }
  }
  p.MinIntDigits = firstZero < 0 ? 0 : p.IntPlaceholders - firstZero;
  return p;
}

// Renders a non-negative value into the picture.
String RenderPicture(const TPicture& P, double AValue, const TFormatSettings& S) {
  if (!P.HasPlaceholder) {
    String r;
    wchar_t quote = 0;
    for (wchar_t c : P.Text) {
      if (quote) {
        if (c == quote) quote = 0; else r += c;
      } else if (c == L'\'' || c == L'"') {
        quote = c;
      } else {
        r += c;
      }
    }
    return r;
  }

  String integer, fraction;
  int exponent = 0;
  TFloatRec rec;
  if (P.Scientific) {
    const int significant = std::max(1, P.IntPlaceholders + P.DecPlaceholders);
    FloatToDecimal(rec, AValue, significant, kUnlimitedDecimals);
    exponent = rec.Digits.empty() ? 0 : rec.Exponent - P.IntPlaceholders;
    for (int i = 0; i < P.IntPlaceholders; ++i) integer += DigitAt(rec, i);
    // Leading zeros of the integer part are dropped down to its minimum.
    while (static_cast<int>(integer.size()) > P.MinIntDigits && integer.front() == L'0') integer.erase(0, 1);
    for (int i = 0; i < P.DecPlaceholders; ++i) fraction += DigitAt(rec, P.IntPlaceholders + i);
  } else {
    FloatToDecimal(rec, AValue, kMaxPrecision, P.DecPlaceholders);
    for (int i = 0; i < rec.Exponent; ++i) integer += DigitAt(rec, i);
    if (static_cast<int>(integer.size()) < P.MinIntDigits)
      integer.insert(0, static_cast<std::size_t>(P.MinIntDigits) - integer.size(), L'0');
    for (int i = 0; i < P.DecPlaceholders; ++i) fraction += DigitAt(rec, rec.Exponent + i);
  }
  while (static_cast<int>(fraction.size()) > P.MinDecimals && fraction.back() == L'0') fraction.pop_back();

  String r;
  const int intCount = static_cast<int>(integer.size());
  const int extra = intCount - P.IntPlaceholders;  // digits beyond the placeholders
  int intIndex = 0;                                // placeholders of the integer part seen
  int decIndex = 0;
  bool afterPoint = false;
  bool integerDone = false;
  auto emitDigit = [&](int AIndex) {
    r += integer[static_cast<std::size_t>(AIndex)];
    const int rest = intCount - AIndex - 1;
    if (P.Thousands && S.ThousandSeparator && rest > 0 && rest % 3 == 0) r += S.ThousandSeparator;
  };
  auto finishInteger = [&] {
    // Without integer placeholders the digits come where the point is.
    if (!integerDone && P.IntPlaceholders == 0)
      for (int i = 0; i < intCount; ++i) emitDigit(i);
    integerDone = true;
  };
  wchar_t quote = 0;
  const String& t = P.Text;
  for (std::size_t i = 0; i < t.size(); ++i) {
    const wchar_t c = t[i];
    if (quote) {
      if (c == quote) quote = 0; else r += c;
      continue;
    }
    if (c == L'\'' || c == L'"') {
      quote = c;
    } else if (c == L'0' || c == L'#') {
      if (!afterPoint) {
        if (intIndex == 0)
          for (int k = 0; k < extra; ++k) emitDigit(k);
        const int digit = extra + intIndex;
        if (digit >= 0) emitDigit(digit);
        ++intIndex;
      } else {
        if (decIndex < static_cast<int>(fraction.size())) r += fraction[static_cast<std::size_t>(decIndex)];
        ++decIndex;
      }
    } else if (c == L'.') {
      if (!afterPoint) {
        finishInteger();
        afterPoint = true;
        if (!fraction.empty()) r += S.DecimalSeparator;
      }
    } else if (c == L',') {
      // the thousands flag; it prints nothing itself
    } else if (P.Scientific && IsExponentAt(t, i)) {
      finishInteger();
      const bool plus = t[i + 1] == L'+';
      std::size_t j = i + 2;
      int minDigits = 0;
      while (j < t.size() && t[j] == L'0') {
        ++minDigits;
        ++j;
      }
      r += t[i];
      if (exponent < 0) r += L'-';
      else if (plus) r += L'+';
      String digits = std::to_wstring(exponent < 0 ? -exponent : exponent);
      if (minDigits > static_cast<int>(digits.size()))
        digits.insert(0, static_cast<std::size_t>(minDigits) - digits.size(), L'0');
      r += digits;
      i = j - 1;
      afterPoint = true;  // placeholders after the exponent belong to nothing
      decIndex = static_cast<int>(fraction.size());
    } else {
      r += c;
    }
  }
  finishInteger();
  return r;
}

}  // namespace

String FormatFloat(const String& AFormat, double AValue, const TFormatSettings& ASettings) {
  if (AFormat.empty() || !std::isfinite(AValue)) return FloatToStrF(AValue, ffGeneral, 15, 0, ASettings);
  const std::vector<String> sections = SplitSections(AFormat);
  const TPicture positive = AnalysePicture(sections[0]);
  if (!positive.Scientific && std::fabs(AValue) >= 1e18) return FloatToStrF(AValue, ffGeneral, 15, 0, ASettings);

  // Whether the value shows as zero in the positive picture.
  TFloatRec rec;
  if (positive.Scientific)
    FloatToDecimal(rec, AValue, std::max(1, positive.IntPlaceholders + positive.DecPlaceholders), kUnlimitedDecimals);
  else
    FloatToDecimal(rec, AValue, kMaxPrecision, positive.DecPlaceholders);
  const bool zero = rec.Digits.empty();

  if (zero && sections.size() > 2 && !sections[2].empty()) return RenderPicture(AnalysePicture(sections[2]), 0, ASettings);
  if (!zero && AValue < 0) {
    if (sections.size() > 1 && !sections[1].empty())
      return RenderPicture(AnalysePicture(sections[1]), -AValue, ASettings);
    return L"-" + RenderPicture(positive, -AValue, ASettings);
  }
  return RenderPicture(positive, std::fabs(AValue), ASettings);
}

String FormatFloat(const String& AFormat, double AValue) { return FormatFloat(AFormat, AValue, FormatSettings); }

// ---------------------------------------------------------------------------
// Text to float

bool TryStrToFloat(const String& S, double& AValue, const TFormatSettings& ASettings) {
  const String text = Trim(S);
  std::string ascii;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
    if (text[i] == L'-') ascii += '-';
    ++i;
  }
  bool digits = false;
  while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') {
    ascii += static_cast<char>(text[i++]);
    digits = true;
  }
  if (i < text.size() && text[i] == ASettings.DecimalSeparator) {
    ascii += '.';
    ++i;
    while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') {
      ascii += static_cast<char>(text[i++]);
      digits = true;
    }
  }
  if (!digits) return false;
  if (i < text.size() && (text[i] == L'e' || text[i] == L'E')) {
    ascii += 'e';
    ++i;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) ascii += static_cast<char>(text[i++]);
    bool expDigits = false;
    while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') {
      ascii += static_cast<char>(text[i++]);
      expDigits = true;
    }
    if (!expDigits) return false;
  }
  if (i != text.size()) return false;
  double value = 0;
  const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  if (end != ascii.data() + ascii.size()) return false;
  if (error == std::errc::result_out_of_range) {
    // Too small rounds to zero; too large is no number.
    value = std::strtod(ascii.c_str(), nullptr);
    if (!std::isfinite(value) || std::fabs(value) > 1) return false;
  } else if (error != std::errc()) {
    return false;
  }
  AValue = value;
  return true;
}

bool TryStrToFloat(const String& S, double& AValue) { return TryStrToFloat(S, AValue, FormatSettings); }

double StrToFloat(const String& S, const TFormatSettings& ASettings) {
  double v = 0;
  if (!TryStrToFloat(S, v, ASettings)) InvalidFloat(S);
  return v;
}

double StrToFloat(const String& S) { return StrToFloat(S, FormatSettings); }

double StrToFloatDef(const String& S, double ADefault, const TFormatSettings& ASettings) {
  double v = 0;
  return TryStrToFloat(S, v, ASettings) ? v : ADefault;
}

double StrToFloatDef(const String& S, double ADefault) { return StrToFloatDef(S, ADefault, FormatSettings); }

// ---------------------------------------------------------------------------
// Currency

Currency Currency::FromDouble(double AValue) {
  const double scaled = std::nearbyint(AValue * 10000.0);
  if (!std::isfinite(scaled) || std::fabs(scaled) >= 9.2233720368547758e18)
    throw EOverflow(L"Gleitkommaüberlauf bei der Umwandlung in einen Währungswert");
  return Currency{static_cast<std::int64_t>(scaled)};
}

String CurrToStr(Currency AValue, const TFormatSettings& ASettings) {
  // The scaled integer gives the digits exactly; no float rounding.
  const bool negative = AValue.Value < 0;
  const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(AValue.Value)
                                           : static_cast<std::uint64_t>(AValue.Value);
  String r = std::to_wstring(magnitude / 10000);
  String fraction = std::to_wstring(magnitude % 10000);
  fraction.insert(0, 4 - fraction.size(), L'0');
  while (!fraction.empty() && fraction.back() == L'0') fraction.pop_back();
  if (!fraction.empty()) r += ASettings.DecimalSeparator + fraction;
  return negative ? L"-" + r : r;
}

String CurrToStr(Currency AValue) { return CurrToStr(AValue, FormatSettings); }

// ---------------------------------------------------------------------------
// Booleans

bool TryStrToBool(const String& S, bool& AValue) {
  const String text = Trim(S);
  if (SameText(text, L"True")) {
    AValue = true;
    return true;
  }
  if (SameText(text, L"False")) {
    AValue = false;
    return true;
  }
  double number = 0;
  if (TryStrToFloat(text, number)) {
    AValue = number != 0;
    return true;
  }
  return false;
}

bool StrToBool(const String& S) {
  bool v = false;
  if (!TryStrToBool(S, v)) throw EConvertError(L"'%s' ist kein gültiger boolescher Wert", {S});
  return v;
}

bool StrToBoolDef(const String& S, bool ADefault) {
  bool v = false;
  return TryStrToBool(S, v) ? v : ADefault;
}

String BoolToStr(bool AValue, bool AUseBoolStrs) {
  if (AUseBoolStrs) return AValue ? L"True" : L"False";
  return AValue ? L"-1" : L"0";
}

// ---------------------------------------------------------------------------
// Random numbers

namespace {

std::atomic<std::uint32_t> GRandSeed{0};

// Advances the seed by one step and answers the new one; atomic, so that
// threads drawing at once never get the same number.
std::uint32_t NextRandSeed() {
  std::uint32_t seed = GRandSeed.load(std::memory_order_relaxed);
  std::uint32_t next;
  do {
    next = seed * 0x08088405u + 1;
  } while (!GRandSeed.compare_exchange_weak(seed, next, std::memory_order_relaxed));
  return next;
}

}  // namespace

std::uint32_t RandSeed() { return GRandSeed.load(std::memory_order_relaxed); }

void SetRandSeed(std::uint32_t AValue) { GRandSeed.store(AValue, std::memory_order_relaxed); }

void Randomize() {
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  SetRandSeed(static_cast<std::uint32_t>(counter.QuadPart) ^ static_cast<std::uint32_t>(counter.QuadPart >> 32));
}

int Random(int ARange) {
  if (ARange <= 0) return 0;
  // The seed's high bits are the good ones: scale instead of taking a rest.
  return static_cast<int>((static_cast<std::uint64_t>(NextRandSeed()) * static_cast<std::uint32_t>(ARange)) >> 32);
}

double Random() { return static_cast<double>(NextRandSeed()) / 4294967296.0; }
