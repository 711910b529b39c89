#include "platform/runtime/FMTBcd.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace {

// A decimal as digits and a scale: value = Digits x 10^-Scale. Digits has no
// leading zeros; zero has none at all.
struct TBcdDecimal {
  bool Negative = false;
  std::string Digits;
  int Scale = 0;

  bool IsZero() const { return Digits.empty(); }
};

[[noreturn]] void InvalidRecord() { throw EBcdException(L"Ungültiger BCD-Wert"); }
[[noreturn]] void Overflow() { throw EBcdOverflowException(L"BCD-Überlauf"); }

void StripLeadingZeros(std::string& ADigits) {
  const std::size_t first = ADigits.find_first_not_of('0');
  ADigits.erase(0, first == std::string::npos ? ADigits.size() : first);
}

TBcdDecimal Decode(const TBcd& ABcd) {
  const int places = ABcd.SignSpecialPlaces & 0x3F;
  if (ABcd.Precision > MaxFMTBcdFractionSize) InvalidRecord();
  TBcdDecimal d;
  d.Digits.reserve(ABcd.Precision);
  for (int i = 0; i < ABcd.Precision; ++i) {
    const int nibble = (i % 2 == 0 ? ABcd.Fraction[i / 2] >> 4 : ABcd.Fraction[i / 2]) & 0x0F;
    if (nibble > 9) InvalidRecord();
    d.Digits.push_back(static_cast<char>('0' + nibble));
  }
  StripLeadingZeros(d.Digits);
  d.Scale = places;
  d.Negative = (ABcd.SignSpecialPlaces & 0x80) != 0 && !d.IsZero();
  return d;
}

// Drops the last ACount digits, rounding half away from zero.
void DropDigits(TBcdDecimal& D, int ACount) {
  if (ACount <= 0) return;
  if (static_cast<std::size_t>(ACount) > D.Digits.size()) {
    D.Digits.clear();
  } else {
    const bool up = D.Digits[D.Digits.size() - static_cast<std::size_t>(ACount)] >= '5';
    D.Digits.resize(D.Digits.size() - static_cast<std::size_t>(ACount));
    if (up) {
      std::size_t i = D.Digits.size();
      while (i > 0 && D.Digits[i - 1] == '9') D.Digits[--i] = '0';
      if (i == 0) D.Digits.insert(D.Digits.begin(), '1');
      else ++D.Digits[i - 1];
    }
  }
  D.Scale -= ACount;
  if (D.IsZero()) D.Negative = false;
}

TBcd Encode(TBcdDecimal D) {
  // The fraction gives way first: more than 64 digits or 63 places round.
  const int integerDigits = static_cast<int>(D.Digits.size()) - D.Scale;
  if (integerDigits > MaxFMTBcdFractionSize) Overflow();
  const int keepScale = std::min({D.Scale, 63, MaxFMTBcdFractionSize - std::max(integerDigits, 0)});
  DropDigits(D, D.Scale - keepScale);
  if (static_cast<int>(D.Digits.size()) - D.Scale > MaxFMTBcdFractionSize) Overflow();  // rounding carried
  // Leading zeros fill the fraction when the digits do not reach the point.
  const std::string digits = std::string(static_cast<std::size_t>(std::max(D.Scale - static_cast<int>(D.Digits.size()), 0)), '0') +
                             (D.Digits.empty() && D.Scale == 0 ? std::string("0") : D.Digits);
  TBcd r;
  r.Precision = static_cast<std::uint8_t>(digits.size());
  r.SignSpecialPlaces = static_cast<std::uint8_t>(D.Scale | (D.Negative ? 0x80 : 0));
  for (std::size_t i = 0; i < digits.size(); ++i) {
    const auto nibble = static_cast<std::uint8_t>(digits[i] - '0');
    r.Fraction[i / 2] |= static_cast<std::uint8_t>(i % 2 == 0 ? nibble << 4 : nibble);
  }
  return r;
}

bool Parse(const String& AText, wchar_t ASeparator, TBcdDecimal& D) {
  const String s = Trim(AText);
  std::size_t i = 0;
  D = TBcdDecimal();
  if (i < s.size() && (s[i] == L'-' || s[i] == L'+')) D.Negative = s[i++] == L'-';
  bool anyDigit = false, separator = false;
  for (; i < s.size(); ++i) {
    if (s[i] >= L'0' && s[i] <= L'9') {
      D.Digits.push_back(static_cast<char>(s[i]));
      if (separator) ++D.Scale;
      anyDigit = true;
    } else if (s[i] == ASeparator && !separator) {
      separator = true;
    } else {
      break;
    }
  }
  if (!anyDigit) return false;
  if (i < s.size() && (s[i] == L'E' || s[i] == L'e')) {
    ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == L'-' || s[i] == L'+')) negative = s[i++] == L'-';
    if (i == s.size()) return false;
    long long exponent = 0;
    for (; i < s.size() && s[i] >= L'0' && s[i] <= L'9'; ++i)
      exponent = std::min(exponent * 10 + (s[i] - L'0'), 100000ll);
    const long long scale = D.Scale - (negative ? -exponent : exponent);
    StripLeadingZeros(D.Digits);
    if (D.Digits.empty()) {
      D.Scale = 0;
    } else if (scale < 0) {
      if (static_cast<long long>(D.Digits.size()) - scale > MaxFMTBcdFractionSize) throw EBcdOverflowException(L"BCD-Überlauf");
      D.Digits.append(static_cast<std::size_t>(-scale), '0');
      D.Scale = 0;
    } else if (scale > 100000) {
      D.Digits.clear();  // far below the smallest place: zero
      D.Scale = 0;
    } else {
      D.Scale = static_cast<int>(scale);
    }
  }
  if (i != s.size()) return false;
  StripLeadingZeros(D.Digits);
  if (D.IsZero()) D.Negative = false;
  return true;
}

// The value times 10^AShift rounded to an integer (half to even); false
// beyond the 64-bit range.
bool RoundToInteger(const TBcd& ABcd, int AShift, std::int64_t& AResult) {
  TBcdDecimal d = Decode(ABcd);
  d.Scale -= AShift;
  std::string integer = d.Digits, dropped;
  if (d.Scale <= 0) {
    if (!integer.empty()) integer.append(static_cast<std::size_t>(-d.Scale), '0');
  } else if (static_cast<std::size_t>(d.Scale) >= integer.size()) {
    dropped = std::string(static_cast<std::size_t>(d.Scale) - integer.size(), '0') + integer;
    integer.clear();
  } else {
    dropped = integer.substr(integer.size() - static_cast<std::size_t>(d.Scale));
    integer.resize(integer.size() - static_cast<std::size_t>(d.Scale));
  }
  StripLeadingZeros(integer);
  if (integer.size() > 19) return false;  // 19 digits always fit 64 unsigned bits
  std::uint64_t magnitude = 0;
  for (char c : integer) magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
  if (!dropped.empty()) {
    const bool tail = dropped.find_first_not_of('0', 1) != std::string::npos;
    if (dropped[0] > '5' || (dropped[0] == '5' && (tail || magnitude % 2 == 1))) ++magnitude;
  }
  const std::uint64_t limit = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + (d.Negative ? 1 : 0);
  if (magnitude > limit) return false;
  AResult = d.Negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
  return true;
}

class TBcdVariantType final : public TCustomVariantType {
 public:
  String Name() const override { return L"FMTBcd"; }

  Variant CastTo(const Variant& ASource, TVarType AVarType) const override {
    const TBcd bcd = Record(ASource);
    switch (AVarType) {
      case varUString: case varOleStr: case varString:
        return VarAsType(Variant(BcdToStr(bcd)), AVarType);
      case varSingle: case varDouble: case varDate:
        return VarAsType(Variant(BcdToDouble(bcd)), AVarType);
      case varCurrency: {
        std::int64_t scaled = 0;
        if (!RoundToInteger(bcd, 4, scaled)) VarOverflowError(ASource.VType(), AVarType);
        return Variant(Currency::FromScaled(scaled));
      }
      case varBoolean: return Variant(!Decode(bcd).IsZero());
      case varSmallint: case varInteger: case varShortInt: case varByte: case varWord: case varLongWord:
      case varInt64: case varUInt64: {
        std::int64_t value = 0;
        if (!RoundToInteger(bcd, 0, value)) VarOverflowError(ASource.VType(), AVarType);
        return VarAsType(Variant(static_cast<long long>(value)), AVarType);
      }
      default:
        VarCastError(ASource.VType(), AVarType);
    }
  }

  Variant CastFrom(const Variant& ASource) const override {
    const TVarType from = ASource.VType();
    TBcd bcd;
    switch (from) {
      case varEmpty: bcd = IntegerToBcd(0); break;
      case varBoolean: bcd = IntegerToBcd(ASource.AsBoolean() ? -1 : 0); break;
      case varSmallint: case varInteger: case varShortInt: case varByte: case varWord: case varLongWord:
      case varInt64:
        bcd = IntegerToBcd(ASource.AsInt64());
        break;
      case varCurrency: bcd = CurrToBcd(ASource.AsCurrency()); break;
      case varUInt64: case varUString: case varOleStr: case varString:
        if (!TryStrToBcd(ASource.AsString(), bcd)) VarCastError(from, VarType());
        break;
      default:
        try {
          bcd = DoubleToBcd(ASource.AsDouble());
        } catch (const EBcdException&) {
          VarCastError(from, VarType());
        }
    }
    return VarFMTBcdCreate(bcd);
  }

  TVariantRelationship Compare(const Variant& A, const Variant& B) const override {
    const int c = BcdCompare(Record(A), Record(B));
    return c < 0 ? vrLessThan : (c > 0 ? vrGreaterThan : vrEqual);
  }

  static TBcd Record(const Variant& AValue) {
    TBcd r;
    const RawByteString& data = AValue.CustomData();
    std::memcpy(&r, data.data(), std::min(data.size(), sizeof r));
    return r;
  }
};

TBcdVariantType& BcdVariantType() {
  static TBcdVariantType type;
  return type;
}

// Numbers as text for the conversions: '.' and no thousands.
const TFormatSettings& PlainSettings() {
  static const TFormatSettings settings;
  return settings;
}

}  // namespace

bool TryStrToBcd(const String& AValue, TBcd& ABcd) { return TryStrToBcd(AValue, ABcd, FormatSettings); }

bool TryStrToBcd(const String& AValue, TBcd& ABcd, const TFormatSettings& ASettings) {
  TBcdDecimal d;
  if (!Parse(AValue, ASettings.DecimalSeparator, d)) return false;
  ABcd = Encode(d);
  return true;
}

TBcd StrToBcd(const String& AValue) { return StrToBcd(AValue, FormatSettings); }

TBcd StrToBcd(const String& AValue, const TFormatSettings& ASettings) {
  TBcd r;
  if (!TryStrToBcd(AValue, r, ASettings)) throw EBcdException(L"'%s' ist kein gültiger BCD-Wert", {AValue});
  return r;
}

String BcdToStr(const TBcd& ABcd) { return BcdToStr(ABcd, FormatSettings); }

String BcdToStr(const TBcd& ABcd, const TFormatSettings& ASettings) {
  const TBcdDecimal d = Decode(ABcd);
  const std::size_t scale = static_cast<std::size_t>(d.Scale);
  const std::string all = std::string(scale >= d.Digits.size() ? scale - d.Digits.size() + 1 : 0, '0') + d.Digits;
  std::string integer = all.substr(0, all.size() - scale), fraction = all.substr(all.size() - scale);
  fraction.erase(fraction.find_last_not_of('0') + 1);
  String r = d.Negative ? L"-" : L"";
  for (char c : integer) r.push_back(static_cast<wchar_t>(c));
  if (!fraction.empty()) {
    r.push_back(ASettings.DecimalSeparator);
    for (char c : fraction) r.push_back(static_cast<wchar_t>(c));
  }
  return r;
}

TBcd IntegerToBcd(std::int64_t AValue) {
  TBcdDecimal d;
  d.Negative = AValue < 0;
  const std::uint64_t magnitude = d.Negative ? 0 - static_cast<std::uint64_t>(AValue) : static_cast<std::uint64_t>(AValue);
  d.Digits = magnitude == 0 ? std::string() : std::to_string(magnitude);
  return Encode(d);
}

TBcd DoubleToBcd(double AValue) {
  TBcdDecimal d;
  if (!Parse(FloatToStr(AValue, PlainSettings()), L'.', d)) InvalidRecord();
  return Encode(d);
}

double BcdToDouble(const TBcd& ABcd) {
  const TBcdDecimal d = Decode(ABcd);
  if (d.IsZero()) return 0;
  // "digits" E "-scale": no decimal point, so the C locale's separator does not matter.
  const std::string text = (d.Negative ? "-" : "") + d.Digits + "E-" + std::to_string(d.Scale);
  return std::strtod(text.c_str(), nullptr);
}

TBcd CurrToBcd(Currency AValue) {
  TBcd r = IntegerToBcd(AValue.Value);
  TBcdDecimal d = Decode(r);
  d.Scale = 4;
  return Encode(d);
}

Currency BcdToCurr(const TBcd& ABcd) {
  std::int64_t scaled = 0;
  if (!RoundToInteger(ABcd, 4, scaled)) Overflow();
  return Currency::FromScaled(scaled);
}

std::int64_t BcdToInt64(const TBcd& ABcd) {
  std::int64_t r = 0;
  if (!RoundToInteger(ABcd, 0, r)) Overflow();
  return r;
}

int BcdCompare(const TBcd& A, const TBcd& B) {
  const TBcdDecimal a = Decode(A), b = Decode(B);
  if (a.Negative != b.Negative) return a.Negative ? -1 : 1;
  const int sign = a.Negative ? -1 : 1;
  if (a.IsZero() || b.IsZero()) return a.IsZero() == b.IsZero() ? 0 : (a.IsZero() ? -sign : sign);
  // Without leading zeros the position of the first digit orders the magnitudes.
  const int leadA = static_cast<int>(a.Digits.size()) - a.Scale, leadB = static_cast<int>(b.Digits.size()) - b.Scale;
  if (leadA != leadB) return leadA < leadB ? -sign : sign;
  const std::size_t n = std::max(a.Digits.size(), b.Digits.size());
  for (std::size_t i = 0; i < n; ++i) {
    const char ca = i < a.Digits.size() ? a.Digits[i] : '0', cb = i < b.Digits.size() ? b.Digits[i] : '0';
    if (ca != cb) return ca < cb ? -sign : sign;
  }
  return 0;
}

TVarType VarFMTBcd() { return BcdVariantType().VarType(); }

Variant VarFMTBcdCreate(const TBcd& ABcd) {
  return Variant::FromCustom(VarFMTBcd(), RawByteString(reinterpret_cast<const char*>(&ABcd), sizeof ABcd));
}

bool VarIsFMTBcd(const Variant& AValue) { return VarFMTBcd() != 0 && AValue.VType() == VarFMTBcd(); }

TBcd VarToBcd(const Variant& AValue) {
  if (VarIsFMTBcd(AValue)) return TBcdVariantType::Record(AValue);
  return TBcdVariantType::Record(BcdVariantType().CastFrom(AValue));
}

void FMTBcdInitialization() { RegisterCustomVariantType(&BcdVariantType()); }
void FMTBcdFinalization() { UnregisterCustomVariantType(&BcdVariantType()); }
