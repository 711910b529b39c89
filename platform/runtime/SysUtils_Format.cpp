// Format: "%" [index ":"] ["-"] [width] ["." precision] type, with "*" taking
// index, width or precision from the arguments; types d u e f g n m p s x.
// The float types go through FloatToStrF with the given settings.
#include "platform/runtime/SysUtils.h"

#include <algorithm>
#include <cwctype>
#include <vector>

namespace {

[[noreturn]] void BadFormat(const String& AFormat) {
  throw EConvertError(L"Format '%s' ungültig oder nicht vereinbar mit Argument", {AFormat});
}

String Digits(std::uint64_t AValue, unsigned ABase) {
  static const wchar_t digits[] = L"0123456789ABCDEF";
  String r;
  do {
    r.insert(r.begin(), digits[AValue % ABase]);
    AValue /= ABase;
  } while (AValue);
  return r;
}

String ZeroPad(String ADigits, int AMinDigits) {
  if (AMinDigits > static_cast<int>(ADigits.size()))
    ADigits.insert(0, static_cast<std::size_t>(AMinDigits) - ADigits.size(), L'0');
  return ADigits;
}

constexpr int kMaxWidth = 1 << 20;  // a width beyond this is a mistake, not a layout

}  // namespace

String Format(const String& AFormat, std::span<const TVarRec> AArgs, const TFormatSettings& ASettings) {
  std::size_t next = 0;
  auto take = [&]() -> const TVarRec& {
    if (next >= AArgs.size()) BadFormat(AFormat);
    return AArgs[next++];
  };

  String out;
  const std::size_t n = AFormat.size();
  for (std::size_t i = 0; i < n; ++i) {
    const wchar_t c = AFormat[i];
    if (c != L'%') {
      out += c;
      continue;
    }
    if (++i >= n) BadFormat(AFormat);
    if (AFormat[i] == L'%') {
      out += L'%';
      continue;
    }
    // A number or "*"; false when neither is there.
    auto number = [&](int& AValue) -> bool {
      if (i < n && AFormat[i] == L'*') {
        const TVarRec& a = take();
        if (!a.IsInteger()) BadFormat(AFormat);
        const std::int64_t v = a.AsInteger();
        AValue = static_cast<int>(std::clamp<std::int64_t>(v, -kMaxWidth, kMaxWidth));
        ++i;
        return true;
      }
      bool any = false;
      AValue = 0;
      while (i < n && AFormat[i] >= L'0' && AFormat[i] <= L'9') {
        if (AValue < kMaxWidth) AValue = AValue * 10 + (AFormat[i] - L'0');
        ++i;
        any = true;
      }
      return any;
    };

    bool left = false, haveWidth = false;
    int width = 0, precision = -1, value = 0;
    if (i < n && AFormat[i] != L'-' && number(value)) {
      if (i < n && AFormat[i] == L':') {
        if (value < 0) BadFormat(AFormat);
        next = static_cast<std::size_t>(value);
        ++i;
      } else {
        width = value;
        haveWidth = true;
      }
    }
    if (!haveWidth) {
      if (i < n && AFormat[i] == L'-') {
        left = true;
        ++i;
      }
      haveWidth = number(width);
    }
    if (width < 0) {
      // "*" gave a negative width: left-aligned.
      left = true;
      width = -width;
    }
    if (i < n && AFormat[i] == L'.') {
      ++i;
      if (!number(precision)) precision = 0;
      if (precision < 0) precision = -1;
    }
    if (i >= n) BadFormat(AFormat);

    String field;
    const wchar_t type = static_cast<wchar_t>(std::towlower(AFormat[i]));
    switch (type) {
      case L'd': case L'u': case L'x': {
        const TVarRec& a = take();
        if (!a.IsInteger()) BadFormat(AFormat);
        if (type == L'd') {
          const bool isUnsigned = a.Kind() == TVarRec::TKind::Unsigned;
          const std::int64_t v = a.AsInteger();
          const bool negative = !isUnsigned && v < 0;
          const std::uint64_t magnitude = isUnsigned ? a.AsUnsigned()
                                                     : (negative ? 0 - static_cast<std::uint64_t>(v)
                                                                 : static_cast<std::uint64_t>(v));
          field = (negative ? L"-" : L"") + ZeroPad(Digits(magnitude, 10), precision);
        } else {
          std::uint64_t v = a.AsUnsigned();
          // A negative 32-bit argument shows as its 32-bit two's complement.
          if (a.Kind() == TVarRec::TKind::Integer && a.AsInteger() < 0 && a.AsInteger() >= INT32_MIN)
            v &= 0xFFFFFFFFu;
          field = ZeroPad(Digits(v, type == L'x' ? 16 : 10), precision);
        }
        break;
      }
      case L'e': case L'f': case L'g': case L'n': case L'm': {
        const TVarRec& a = take();
        if (a.Kind() != TVarRec::TKind::Float && !a.IsInteger()) BadFormat(AFormat);
        const double v = a.AsFloat();
        switch (type) {
          case L'e': field = FloatToStrF(v, ffExponent, precision < 0 ? 15 : precision, 3, ASettings); break;
          case L'f': field = FloatToStrF(v, ffFixed, 18, precision < 0 ? 2 : precision, ASettings); break;
          case L'g': field = FloatToStrF(v, ffGeneral, precision < 0 ? 15 : precision, 0, ASettings); break;
          case L'n': field = FloatToStrF(v, ffNumber, 18, precision < 0 ? 2 : precision, ASettings); break;
          default:
            field = FloatToStrF(v, ffCurrency, 18, precision < 0 ? ASettings.CurrencyDecimals : precision, ASettings);
            break;
        }
        break;
      }
      case L'p': {
        const TVarRec& a = take();
        if (a.Kind() != TVarRec::TKind::Pointer) BadFormat(AFormat);
        field = ZeroPad(Digits(a.AsUnsigned(), 16), static_cast<int>(sizeof(void*) * 2));
        break;
      }
      case L's': {
        const TVarRec& a = take();
        if (!a.IsText()) BadFormat(AFormat);
        field = a.AsString();
        if (precision >= 0 && static_cast<std::size_t>(precision) < field.size())
          field.resize(static_cast<std::size_t>(precision));
        break;
      }
      default:
        BadFormat(AFormat);
    }
    if (width > static_cast<int>(field.size())) {
      const std::size_t pad = static_cast<std::size_t>(width) - field.size();
      if (left) field.append(pad, L' ');
      else field.insert(0, pad, L' ');
    }
    out += field;
  }
  return out;
}

String Format(const String& AFormat, std::span<const TVarRec> AArgs) {
  return Format(AFormat, AArgs, FormatSettings);
}

String Format(const String& AFormat, std::initializer_list<TVarRec> AArgs, const TFormatSettings& ASettings) {
  return Format(AFormat, std::span<const TVarRec>(AArgs.begin(), AArgs.size()), ASettings);
}

String Format(const String& AFormat, std::initializer_list<TVarRec> AArgs) {
  return Format(AFormat, std::span<const TVarRec>(AArgs.begin(), AArgs.size()), FormatSettings);
}
