#include "platform/runtime/Encoding.h"

#include "platform/runtime/SysUtils.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

namespace {

constexpr UINT CodePageUnicode = 1200;
constexpr UINT CodePageBigEndianUnicode = 1201;
constexpr UINT CodePageASCII = 20127;
constexpr wchar_t ReplacementChar = 0xFFFD;

void CheckLength(std::size_t ACount) {
  // The conversion functions take int lengths.
  if (ACount > static_cast<std::size_t>(INT_MAX / 4))
    throw EEncodingError(L"Der Text ist zu lang für eine Umwandlung (%u Zeichen)",
                         {static_cast<unsigned long long>(ACount)});
}

// A Windows code page through MultiByteToWideChar / WideCharToMultiByte.
class TMBCSEncoding : public TEncoding {
  SK_CLASS(TMBCSEncoding, TEncoding)
 public:
  void Create(UINT ACodePage, bool AWithPreamble) {
    FCodePage = ACodePage;
    FWithPreamble = AWithPreamble;
    CPINFO info{};
    FMaxCharSize = ::GetCPInfo(ACodePage, &info) ? static_cast<int>(info.MaxCharSize) : 4;
  }
  bool IsSingleByte() const override { return FMaxCharSize == 1; }

  TBytes GetBytes(const wchar_t* AChars, std::size_t ACount) const override {
    TBytes result;
    if (ACount == 0) return result;
    CheckLength(ACount);
    const int n = ::WideCharToMultiByte(FCodePage, 0, AChars, static_cast<int>(ACount), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return result;
    result.resize(static_cast<std::size_t>(n));
    ::WideCharToMultiByte(FCodePage, 0, AChars, static_cast<int>(ACount), reinterpret_cast<char*>(result.data()), n,
                          nullptr, nullptr);
    return result;
  }

  String GetString(const std::uint8_t* ABytes, std::size_t ACount) const override {
    String result;
    if (ACount == 0) return result;
    CheckLength(ACount);
    const char* bytes = reinterpret_cast<const char*>(ABytes);
    const int n = ::MultiByteToWideChar(FCodePage, 0, bytes, static_cast<int>(ACount), nullptr, 0);
    if (n <= 0) return String(ACount, ReplacementChar);
    result.resize(static_cast<std::size_t>(n));
    ::MultiByteToWideChar(FCodePage, 0, bytes, static_cast<int>(ACount), result.data(), n);
    return result;
  }

  TBytes GetPreamble() const override {
    if (FWithPreamble && FCodePage == CP_UTF8) return {0xEF, 0xBB, 0xBF};
    return {};
  }

 private:
  bool FWithPreamble;
  int FMaxCharSize;
};

// 7-bit ASCII done here: the result must not depend on the system's tables.
class TASCIIEncoding : public TEncoding {
  SK_CLASS(TASCIIEncoding, TEncoding)
 public:
  void Create() { FCodePage = CodePageASCII; }
  bool IsSingleByte() const override { return true; }
  TBytes GetBytes(const wchar_t* AChars, std::size_t ACount) const override {
    TBytes result(ACount);
    for (std::size_t i = 0; i < ACount; ++i)
      result[i] = AChars[i] < 0x80 ? static_cast<std::uint8_t>(AChars[i]) : std::uint8_t('?');
    return result;
  }
  String GetString(const std::uint8_t* ABytes, std::size_t ACount) const override {
    String result(ACount, L'\0');
    for (std::size_t i = 0; i < ACount; ++i)
      result[i] = ABytes[i] < 0x80 ? static_cast<wchar_t>(ABytes[i]) : ReplacementChar;
    return result;
  }
};

// UTF-16 in either byte order; a trailing odd byte becomes U+FFFD.
class TUnicodeEncoding : public TEncoding {
  SK_CLASS(TUnicodeEncoding, TEncoding)
 public:
  void Create(bool ABigEndian) {
    FBigEndian = ABigEndian;
    FCodePage = ABigEndian ? CodePageBigEndianUnicode : CodePageUnicode;
  }
  bool IsSingleByte() const override { return false; }
  TBytes GetBytes(const wchar_t* AChars, std::size_t ACount) const override {
    TBytes result(ACount * 2);
    for (std::size_t i = 0; i < ACount; ++i) {
      const auto c = static_cast<std::uint16_t>(AChars[i]);
      result[2 * i + (FBigEndian ? 1 : 0)] = static_cast<std::uint8_t>(c & 0xFF);
      result[2 * i + (FBigEndian ? 0 : 1)] = static_cast<std::uint8_t>(c >> 8);
    }
    return result;
  }
  String GetString(const std::uint8_t* ABytes, std::size_t ACount) const override {
    String result((ACount + 1) / 2, L'\0');
    for (std::size_t i = 0; i + 1 < ACount; i += 2) {
      const std::uint8_t lo = ABytes[i + (FBigEndian ? 1 : 0)];
      const std::uint8_t hi = ABytes[i + (FBigEndian ? 0 : 1)];
      result[i / 2] = static_cast<wchar_t>(lo | (hi << 8));
    }
    if (ACount % 2) result.back() = ReplacementChar;
    return result;
  }
  TBytes GetPreamble() const override {
    if (FBigEndian) return {0xFE, 0xFF};
    return {0xFF, 0xFE};
  }

 private:
  bool FBigEndian;
};

// The process-wide encodings, made on first use.
struct TEncodings {
  std::mutex Lock;
  TOwned<TEncoding> Default, ASCII, UTF8, Unicode, BigEndianUnicode;
  std::map<UINT, TOwned<TEncoding>> ByCodePage;
};

TEncodings& Encodings() {
  static TEncodings encodings;
  return encodings;
}

template <class T, class... A>
TEncoding* Standard(TOwned<TEncoding>& ASlot, A... AArgs) {
  TEncodings& all = Encodings();
  std::lock_guard<std::mutex> guard(all.Lock);
  if (!ASlot) ASlot.reset(New<T>(AArgs...));
  return ASlot.get();
}

bool StartsWith(const std::uint8_t* ABuffer, std::size_t ALength, const TBytes& APreamble) {
  return !APreamble.empty() && ALength >= APreamble.size() &&
         std::memcmp(ABuffer, APreamble.data(), APreamble.size()) == 0;
}

}  // namespace

TEncoding* TEncoding::Default() { return Standard<TMBCSEncoding>(Encodings().Default, ::GetACP(), false); }
TEncoding* TEncoding::ASCII() { return Standard<TASCIIEncoding>(Encodings().ASCII); }
TEncoding* TEncoding::UTF8() { return Standard<TMBCSEncoding>(Encodings().UTF8, UINT(CP_UTF8), true); }
TEncoding* TEncoding::Unicode() { return Standard<TUnicodeEncoding>(Encodings().Unicode, false); }
TEncoding* TEncoding::BigEndianUnicode() {
  return Standard<TUnicodeEncoding>(Encodings().BigEndianUnicode, true);
}

TEncoding* TEncoding::GetEncoding(UINT ACodePage) {
  switch (ACodePage) {
    case CP_ACP: return Default();
    case CP_UTF8: return UTF8();
    case CodePageUnicode: return Unicode();
    case CodePageBigEndianUnicode: return BigEndianUnicode();
    case CodePageASCII: return ASCII();
    default: break;
  }
  if (ACodePage == ::GetACP()) return Default();
  if (!::IsValidCodePage(ACodePage))
    throw EEncodingError(L"Die Codepage %u wird nicht unterstützt", {static_cast<unsigned>(ACodePage)});
  TEncodings& all = Encodings();
  std::lock_guard<std::mutex> guard(all.Lock);
  auto& slot = all.ByCodePage[ACodePage];
  if (!slot) slot.reset(New<TMBCSEncoding>(ACodePage, false));
  return slot.get();
}

bool TEncoding::IsStandardEncoding(const TEncoding* AEncoding) {
  return AEncoding && (AEncoding == Default() || AEncoding == ASCII() || AEncoding == UTF8() ||
                       AEncoding == Unicode() || AEncoding == BigEndianUnicode());
}

std::size_t TEncoding::GetBufferEncoding(const std::uint8_t* ABuffer, std::size_t ALength, TEncoding*& AEncoding,
                                         TEncoding* ADefault) {
  if (AEncoding) {
    const TBytes preamble = AEncoding->GetPreamble();
    return StartsWith(ABuffer, ALength, preamble) ? preamble.size() : 0;
  }
  for (TEncoding* candidate : {UTF8(), Unicode(), BigEndianUnicode()}) {
    const TBytes preamble = candidate->GetPreamble();
    if (StartsWith(ABuffer, ALength, preamble)) {
      AEncoding = candidate;
      return preamble.size();
    }
  }
  AEncoding = ADefault ? ADefault : Default();
  return 0;
}

TBytes TEncoding::Convert(const TEncoding* ASource, const TEncoding* ADest, const TBytes& ABytes) {
  return ADest->GetBytes(ASource->GetString(ABytes));
}

String TEncoding::EncodingName() const {
  CPINFOEXW info{};
  if (::GetCPInfoExW(FCodePage, 0, &info)) return info.CodePageName;
  return Format(L"Codepage %u", {static_cast<unsigned>(FCodePage)});
}

bool TEncoding::IsSingleByte() const { return false; }

String TEncoding::GetString(const TBytes& ABytes, std::size_t AIndex, std::size_t ACount) const {
  if (AIndex > ABytes.size() || ACount > ABytes.size() - AIndex)
    throw EEncodingError(L"Bereich außerhalb des Byte-Arrays (Index %u, Anzahl %u)",
                         {static_cast<unsigned long long>(AIndex), static_cast<unsigned long long>(ACount)});
  return GetString(ABytes.data() + AIndex, ACount);
}

TBytes TEncoding::GetPreamble() const { return {}; }
