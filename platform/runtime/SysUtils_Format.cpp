// Format: "%" [index ":"] ["-"] [width] ["." precision] type, with "*" taking
// index, width or precision from the arguments; types d u e f g n m p s x.
#include "platform/runtime/SysUtils.h"

#include <cmath>
#include <cstdio>
#include <cwctype>
#include <vector>

namespace {

[[noreturn]] void BadFormat(const String& AFormat) {
  throw EConvertError(L"Format '%s' ungültig oder nicht vereinbar mit Argument", {AFormat});
}

String Widen(const char* AText) {
  String r;
  for (const char* p = AText; *p; ++p) r += static_cast<wchar_t>(static_cast<unsigned char>(*p));
  return r;
}

String Digits(std::uint64_t AValue, unsigned ABase, bool AUpper) {
  const wchar_t* digits = AUpper ? L"0123456789ABCDEF" : L"0123456789abcdef";
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

String Fixed(double AValue, int APrecision) {
  char buf[512];
  std::snprintf(buf, sizeof buf, "%.*f", APrecision, AValue);
  return Widen(buf);
}

String WithThousands(const String& AFixed) {
  std::size_t start = AFixed.starts_with(L'-') ? 1 : 0;
  std::size_t end = AFixed.find(L'.');
  if (end == String::npos) end = AFixed.size();
  String r = AFixed;
  for (std::ptrdiff_t i = static_cast<std::ptrdiff_t>(end) - 3; i > static_cast<std::ptrdiff_t>(start); i -= 3)
    r.insert(static_cast<std::size_t>(i), 1, L',');
  return r;
}

String Scientific(double AValue, int APrecision) {
  // d.ddd...E+ddd with APrecision significant digits and at least three exponent digits.
  if (APrecision < 1) APrecision = 1;
  if (APrecision > 18) APrecision = 18;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*E", APrecision - 1, AValue);
  String s = Widen(buf);
  const std::size_t e = s.find(L'E');
  if (e == String::npos) return s;
  String mantissa = s.substr(0, e);
  const wchar_t sign = s[e + 1];
  String exponent = s.substr(e + 2);
  return mantissa + L'E' + sign + ZeroPad(exponent, 3);
}

String General(double AValue, int APrecision) {
  if (APrecision < 1 || APrecision > 15) APrecision = 15;
  if (AValue == 0) return L"0";
  if (!std::isfinite(AValue)) return std::isnan(AValue) ? L"NAN" : (AValue > 0 ? L"INF" : L"-INF");
  const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(AValue))));
  if (exponent >= APrecision || exponent < -5) {
    String s = Scientific(AValue, APrecision);
    // Trailing zeros of the mantissa go; the exponent keeps no leading zeros.
    const std::size_t e = s.find(L'E');
    String mantissa = s.substr(0, e);
    if (mantissa.find(L'.') != String::npos) {
      while (mantissa.ends_with(L'0')) mantissa.pop_back();
      if (mantissa.ends_with(L'.')) mantissa.pop_back();
    }
    String digits = s.substr(e + 2);
    while (digits.size() > 1 && digits.front() == L'0') digits.erase(0, 1);
    return mantissa + L'E' + s[e + 1] + digits;
  }
  String s = Fixed(AValue, std::max(0, APrecision - 1 - exponent));
  if (s.find(L'.') != String::npos) {
    while (s.ends_with(L'0')) s.pop_back();
    if (s.ends_with(L'.')) s.pop_back();
  }
  return s;
}

}  // namespace

String Format(const String& AFormat, std::initializer_list<TVarRec> AArgs) {
  const std::vector<const TVarRec*> args = [&] {
    std::vector<const TVarRec*> v;
    for (const TVarRec& a : AArgs) v.push_back(&a);
    return v;
  }();
  std::size_t next = 0;
  auto take = [&]() -> const TVarRec& {
    if (next >= args.size()) BadFormat(AFormat);
    return *args[next++];
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
    auto number = [&](int& AValue) -> bool {
      if (i < n && AFormat[i] == L'*') {
        AValue = static_cast<int>(take().AsInteger());
        ++i;
        return true;
      }
      bool any = false;
      AValue = 0;
      while (i < n && std::iswdigit(AFormat[i])) {
        AValue = AValue * 10 + (AFormat[i] - L'0');
        ++i;
        any = true;
      }
      return any;
    };
    int value = 0;
    bool left = false;
    int width = -1, precision = -1;
    const std::size_t start = i;
    if (number(value)) {
      if (i < n && AFormat[i] == L':') {
        next = static_cast<std::size_t>(value);
        ++i;
      } else {
        width = value;
      }
    }
    if (width < 0 || start == i) {
      if (i < n && AFormat[i] == L'-') {
        left = true;
        ++i;
      }
      if (number(value)) width = value;
    }
    if (i < n && AFormat[i] == L'.') {
      ++i;
      if (!number(precision)) precision = 0;
    }
    if (i >= n) BadFormat(AFormat);

    String field;
    switch (std::towlower(AFormat[i])) {
      case L'd': {
        const TVarRec& a = take();
        if (a.Kind() != TVarRec::TKind::Integer && a.Kind() != TVarRec::TKind::Unsigned) BadFormat(AFormat);
        const std::int64_t v = a.Kind() == TVarRec::TKind::Unsigned ? static_cast<std::int64_t>(a.AsUnsigned())
                                                                    : a.AsInteger();
        const std::uint64_t magnitude = v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
        field = (v < 0 ? L"-" : L"") + ZeroPad(Digits(magnitude, 10, false), precision);
        break;
      }
      case L'u': {
        const TVarRec& a = take();
        if (a.Kind() != TVarRec::TKind::Integer && a.Kind() != TVarRec::TKind::Unsigned) BadFormat(AFormat);
        std::uint64_t v = a.AsUnsigned();
        if (a.Kind() == TVarRec::TKind::Integer && a.AsInteger() < 0) v &= 0xFFFFFFFFu;
        field = ZeroPad(Digits(v, 10, false), precision);
        break;
      }
      case L'x': {
        const TVarRec& a = take();
        if (a.Kind() != TVarRec::TKind::Integer && a.Kind() != TVarRec::TKind::Unsigned) BadFormat(AFormat);
        std::uint64_t v = a.AsUnsigned();
        if (a.Kind() == TVarRec::TKind::Integer && a.AsInteger() < 0 && a.AsInteger() >= INT32_MIN)
          v &= 0xFFFFFFFFu;
        field = ZeroPad(Digits(v, 16, true), precision);
        break;
      }
      case L'e': case L'f': case L'g': case L'n': case L'm': {
        const TVarRec& a = take();
        if (a.Kind() != TVarRec::TKind::Float && a.Kind() != TVarRec::TKind::Integer &&
            a.Kind() != TVarRec::TKind::Unsigned)
          BadFormat(AFormat);
        const double v = a.AsFloat();
        switch (std::towlower(AFormat[i])) {
          case L'e': field = Scientific(v, precision < 0 ? 15 : precision); break;
          case L'f': field = Fixed(v, precision < 0 ? 2 : std::min(precision, 18)); break;
          case L'g': field = General(v, precision); break;
          case L'n': field = WithThousands(Fixed(v, precision < 0 ? 2 : std::min(precision, 18))); break;
          default: field = WithThousands(Fixed(v, precision < 0 ? 2 : std::min(precision, 18))); break;
        }
        break;
      }
      case L'p': {
        const TVarRec& a = take();
        if (a.Kind() != TVarRec::TKind::Pointer) BadFormat(AFormat);
        field = ZeroPad(Digits(a.AsUnsigned(), 16, true), static_cast<int>(sizeof(void*) * 2));
        break;
      }
      case L's': {
        const TVarRec& a = take();
        if (!a.IsText()) BadFormat(AFormat);
        field = a.AsString();
        if (precision >= 0 && static_cast<std::size_t>(precision) < field.size()) field.resize(precision);
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
