// Exceptions, strings, file names, files and the replaceable beep and clock.
// Number conversions live in SysUtils_Numbers.cpp, Format in
// SysUtils_Format.cpp, locale settings in SysUtils_Locale.cpp and dates in
// SysUtils_DateTime.cpp.
#include "platform/runtime/SysUtils.h"

#include <cxxabi.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <typeinfo>
#include <vector>

// ---------------------------------------------------------------------------
// TVarRec

std::int64_t TVarRec::AsInteger() const {
  switch (FKind) {
    case TKind::Integer: case TKind::Boolean: return FInt;
    case TKind::Unsigned: return static_cast<std::int64_t>(FUInt);
    case TKind::Char: return FChar;
    default: throw EConvertError(L"Argument ist keine Ganzzahl");
  }
}

std::uint64_t TVarRec::AsUnsigned() const {
  switch (FKind) {
    case TKind::Integer: case TKind::Boolean: return static_cast<std::uint64_t>(FInt);
    case TKind::Unsigned: return FUInt;
    case TKind::Char: return FChar;
    case TKind::Pointer: return reinterpret_cast<std::uintptr_t>(FPointer);
    default: throw EConvertError(L"Argument ist keine Ganzzahl");
  }
}

double TVarRec::AsFloat() const {
  switch (FKind) {
    case TKind::Float: return FFloat;
    case TKind::Integer: return static_cast<double>(FInt);
    case TKind::Unsigned: return static_cast<double>(FUInt);
    default: throw EConvertError(L"Argument ist keine Zahl");
  }
}

String TVarRec::AsString() const {
  switch (FKind) {
    case TKind::String: return FString ? *FString : String();
    case TKind::PChar: return FChars ? String(FChars) : String();
    case TKind::Char: return String(1, FChar);
    default: throw EConvertError(L"Argument ist kein String");
  }
}

// ---------------------------------------------------------------------------
// Exception

Exception::Exception(const String& AFormat, std::initializer_list<TVarRec> AArgs)
    : FMessage(Format(AFormat, AArgs)) {}

String Exception::ClassName() const {
  const char* mangled = typeid(*this).name();
  int status = 0;
  std::unique_ptr<char, decltype(&std::free)> plain(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                   &std::free);
  const std::string name = status == 0 && plain ? plain.get() : mangled;
  return String(name.begin(), name.end());
}

const char* Exception::what() const noexcept {
  if (FWhat.empty() && !FMessage.empty()) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, FMessage.data(), static_cast<int>(FMessage.size()),
                                         nullptr, 0, nullptr, nullptr);
    FWhat.resize(static_cast<std::size_t>(size));
    WideCharToMultiByte(CP_UTF8, 0, FMessage.data(), static_cast<int>(FMessage.size()), FWhat.data(), size,
                        nullptr, nullptr);
  }
  return FWhat.c_str();
}

void Abort() { throw EAbort(L"Operation abgebrochen"); }

String SysErrorMessage(DWORD AErrorCode) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
          FORMAT_MESSAGE_ARGUMENT_ARRAY,
      nullptr, AErrorCode, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  String text = length && buffer ? String(buffer, length) : String();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
    text.pop_back();
  return text;
}

void RaiseLastOSError() { RaiseLastOSError(GetLastError()); }

void RaiseLastOSError(DWORD AErrorCode, const String& AAdditionalInfo) {
  String message;
  if (AErrorCode != 0)
    message = Format(L"Systemfehler. Code: %d.\r\n%s", {static_cast<unsigned long>(AErrorCode),
                                                        SysErrorMessage(AErrorCode)});
  else
    message = L"Ein Aufruf einer Betriebssystemfunktion ist fehlgeschlagen";
  if (!AAdditionalInfo.empty()) message += L"\r\n" + AAdditionalInfo;
  throw EOSError(AErrorCode, message);
}

String InOutErrorMessage(int AErrorCode) { return Format(L"E/A-Fehler %d", {AErrorCode}); }

void RaiseInOutError(int AErrorCode) { throw EInOutError(AErrorCode, InOutErrorMessage(AErrorCode)); }

// ---------------------------------------------------------------------------
// Exceptions at callback boundaries

namespace {
std::atomic<TCallbackExceptionHandler> GCallbackExceptionHandler{nullptr};
}

TCallbackExceptionHandler SetCallbackExceptionHandler(TCallbackExceptionHandler AHandler) {
  return GCallbackExceptionHandler.exchange(AHandler);
}

void HandleCallbackException(TObject* ASender) noexcept {
  try {
    if (TCallbackExceptionHandler handler = GCallbackExceptionHandler) {
      handler(ASender);
      return;
    }
    throw;
  } catch (const Exception& e) {
    OutputDebugStringW((e.ClassName() + L": " + e.Message()).c_str());
  } catch (...) {
    OutputDebugStringW(L"Unbekannte Ausnahme in einer Rückruffunktion");
  }
}

String CurrentExceptionMessage() {
  try {
    throw;
  } catch (const Exception& e) {
    return e.Message();
  } catch (const std::exception& e) {
    return UTF8ToString(e.what());
  } catch (...) {
    return L"Unbekannte Ausnahme";
  }
}

// ---------------------------------------------------------------------------
// Case and comparison

namespace {

wchar_t AsciiUpper(wchar_t C) { return C >= L'a' && C <= L'z' ? static_cast<wchar_t>(C - 32) : C; }
wchar_t AsciiLower(wchar_t C) { return C >= L'A' && C <= L'Z' ? static_cast<wchar_t>(C + 32) : C; }

String MapCase(const String& S, DWORD AFlags) {
  if (S.empty()) return S;
  const int length = LCMapStringW(LOCALE_USER_DEFAULT, AFlags, S.data(), static_cast<int>(S.size()), nullptr, 0);
  if (length <= 0) return S;
  String result(static_cast<std::size_t>(length), L'\0');
  LCMapStringW(LOCALE_USER_DEFAULT, AFlags, S.data(), static_cast<int>(S.size()), result.data(), length);
  return result;
}

int LocaleCompare(const String& S1, const String& S2, DWORD AFlags) {
  const int result = CompareStringW(LOCALE_USER_DEFAULT, AFlags, S1.data(), static_cast<int>(S1.size()),
                                    S2.data(), static_cast<int>(S2.size()));
  if (result == 0) return S1.compare(S2) < 0 ? -1 : (S1 == S2 ? 0 : 1);
  return result - CSTR_EQUAL;
}

}  // namespace

String UpperCase(const String& S) {
  String r = S;
  std::transform(r.begin(), r.end(), r.begin(), AsciiUpper);
  return r;
}

String LowerCase(const String& S) {
  String r = S;
  std::transform(r.begin(), r.end(), r.begin(), AsciiLower);
  return r;
}

String AnsiUpperCase(const String& S) { return MapCase(S, LCMAP_UPPERCASE); }
String AnsiLowerCase(const String& S) { return MapCase(S, LCMAP_LOWERCASE); }

int CompareStr(const String& S1, const String& S2) {
  const std::size_t n = std::min(S1.size(), S2.size());
  for (std::size_t i = 0; i < n; ++i)
    if (S1[i] != S2[i]) return static_cast<int>(S1[i]) - static_cast<int>(S2[i]);
  return static_cast<int>(S1.size()) - static_cast<int>(S2.size());
}

int CompareText(const String& S1, const String& S2) {
  const std::size_t n = std::min(S1.size(), S2.size());
  for (std::size_t i = 0; i < n; ++i) {
    const wchar_t a = AsciiUpper(S1[i]), b = AsciiUpper(S2[i]);
    if (a != b) return static_cast<int>(a) - static_cast<int>(b);
  }
  return static_cast<int>(S1.size()) - static_cast<int>(S2.size());
}

bool SameText(const String& S1, const String& S2) { return S1.size() == S2.size() && CompareText(S1, S2) == 0; }
bool SameStr(const String& S1, const String& S2) { return S1 == S2; }

int AnsiCompareStr(const String& S1, const String& S2) { return LocaleCompare(S1, S2, 0); }
int AnsiCompareText(const String& S1, const String& S2) { return LocaleCompare(S1, S2, NORM_IGNORECASE); }
bool AnsiSameText(const String& S1, const String& S2) { return AnsiCompareText(S1, S2) == 0; }
bool AnsiSameStr(const String& S1, const String& S2) { return AnsiCompareStr(S1, S2) == 0; }

// ---------------------------------------------------------------------------
// Trimming, quoting, replacing

String Trim(const String& S) {
  std::size_t first = 0, last = S.size();
  while (first < last && S[first] <= L' ') ++first;
  while (last > first && S[last - 1] <= L' ') --last;
  return S.substr(first, last - first);
}

String TrimLeft(const String& S) {
  std::size_t first = 0;
  while (first < S.size() && S[first] <= L' ') ++first;
  return S.substr(first);
}

String TrimRight(const String& S) {
  std::size_t last = S.size();
  while (last > 0 && S[last - 1] <= L' ') --last;
  return S.substr(0, last);
}

String QuotedStr(const String& S) { return AnsiQuotedStr(S, L'\''); }

String AnsiQuotedStr(const String& S, wchar_t AQuote) {
  String r(1, AQuote);
  for (wchar_t c : S) {
    r += c;
    if (c == AQuote) r += c;
  }
  r += AQuote;
  return r;
}

String AnsiDequotedStr(const String& S, wchar_t AQuote) {
  if (S.empty() || S[0] != AQuote) return S;
  String r;
  for (std::size_t i = 1; i < S.size(); ++i) {
    if (S[i] == AQuote) {
      if (i + 1 < S.size() && S[i + 1] == AQuote) {
        r += AQuote;
        ++i;
        continue;
      }
      break;
    }
    r += S[i];
  }
  return r;
}

String StringReplace(const String& S, const String& AOldPattern, const String& ANewPattern,
                     TReplaceFlags AFlags) {
  if (AOldPattern.empty()) return S;
  const bool ignoreCase = AFlags.Contains(rfIgnoreCase);
  const String haystack = ignoreCase ? AnsiUpperCase(S) : S;
  const String needle = ignoreCase ? AnsiUpperCase(AOldPattern) : AOldPattern;
  // Upper-casing may change lengths in rare scripts; then the plain text is searched.
  const bool mapped = haystack.size() == S.size();
  const String& source = mapped ? haystack : S;
  const String& pattern = mapped ? needle : AOldPattern;
  String r;
  std::size_t from = 0;
  while (true) {
    const std::size_t at = source.find(pattern, from);
    if (at == String::npos) break;
    r.append(S, from, at - from);
    r += ANewPattern;
    from = at + pattern.size();
    if (!AFlags.Contains(rfReplaceAll)) break;
  }
  r.append(S, from, String::npos);
  return r;
}

String StringOfChar(wchar_t AChar, int ACount) { return ACount > 0 ? String(static_cast<std::size_t>(ACount), AChar) : String(); }

bool IsDelimiter(const String& ADelimiters, const String& S, int AIndex) {
  if (AIndex < 1 || AIndex > static_cast<int>(S.size())) return false;
  return ADelimiters.find(S[static_cast<std::size_t>(AIndex - 1)]) != String::npos;
}

int LastDelimiter(const String& ADelimiters, const String& S) {
  const std::size_t at = S.find_last_of(ADelimiters);
  return at == String::npos ? 0 : static_cast<int>(at) + 1;
}

int Pos(const String& ASubStr, const String& S, int AOffset) {
  if (ASubStr.empty() || AOffset < 1 || AOffset > static_cast<int>(S.size())) return 0;
  const std::size_t at = S.find(ASubStr, static_cast<std::size_t>(AOffset - 1));
  return at == String::npos ? 0 : static_cast<int>(at) + 1;
}

String Copy(const String& S, int AIndex, int ACount) {
  if (AIndex < 1) AIndex = 1;
  if (ACount <= 0 || AIndex > static_cast<int>(S.size())) return String();
  return S.substr(static_cast<std::size_t>(AIndex - 1), static_cast<std::size_t>(ACount));
}

bool StartsText(const String& ASubText, const String& AText) {
  return ASubText.size() <= AText.size() && AnsiSameText(AText.substr(0, ASubText.size()), ASubText);
}

bool EndsText(const String& ASubText, const String& AText) {
  return ASubText.size() <= AText.size() && AnsiSameText(AText.substr(AText.size() - ASubText.size()), ASubText);
}

// ---------------------------------------------------------------------------
// Byte strings

RawByteString StringToAnsi(const String& S, UINT ACodePage) {
  if (S.empty()) return RawByteString();
  const int size = WideCharToMultiByte(ACodePage, 0, S.data(), static_cast<int>(S.size()), nullptr, 0, nullptr,
                                       nullptr);
  if (size <= 0) return RawByteString();
  RawByteString r(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(ACodePage, 0, S.data(), static_cast<int>(S.size()), r.data(), size, nullptr, nullptr);
  return r;
}

String AnsiToString(const char* AData, std::size_t ALength, UINT ACodePage) {
  if (ALength == 0) return String();
  // MultiByteToWideChar takes an int length; longer inputs go in pieces that
  // do not split a UTF-8 sequence or a DBCS pair.
  String r;
  std::size_t done = 0;
  constexpr std::size_t piece = 1 << 28;
  while (done < ALength) {
    std::size_t n = std::min(piece, ALength - done);
    if (done + n < ALength) {
      if (ACodePage == CP_UTF8)
        while (n > 1 && (static_cast<unsigned char>(AData[done + n]) & 0xC0) == 0x80) --n;
      else if (IsDBCSLeadByteEx(ACodePage, static_cast<BYTE>(AData[done + n - 1])))
        --n;
    }
    const int size = MultiByteToWideChar(ACodePage, 0, AData + done, static_cast<int>(n), nullptr, 0);
    if (size > 0) {
      const std::size_t at = r.size();
      r.resize(at + static_cast<std::size_t>(size));
      MultiByteToWideChar(ACodePage, 0, AData + done, static_cast<int>(n), r.data() + at, size);
    }
    done += n;
  }
  return r;
}

String AnsiToString(const RawByteString& S, UINT ACodePage) { return AnsiToString(S.data(), S.size(), ACodePage); }
RawByteString UTF8Encode(const String& S) { return StringToAnsi(S, CP_UTF8); }
String UTF8ToString(const RawByteString& S) { return AnsiToString(S, CP_UTF8); }

// ---------------------------------------------------------------------------
// File names

namespace {
const String GNameDelimiters = L"\\/:";
const String GPathDelimiters = L"\\/";
bool IsPathDelimiter(wchar_t C) { return C == L'\\' || C == L'/'; }
}  // namespace

String ExpandFileName(const String& AFileName) {
  if (AFileName.empty()) return String();
  const DWORD size = GetFullPathNameW(AFileName.c_str(), 0, nullptr, nullptr);
  if (size == 0) return AFileName;
  String r(size, L'\0');
  const DWORD length = GetFullPathNameW(AFileName.c_str(), size, r.data(), nullptr);
  if (length == 0 || length >= size) return AFileName;
  r.resize(length);
  return r;
}

String ExtractFileExt(const String& AFileName) {
  const int at = LastDelimiter(L"." + GNameDelimiters, AFileName);
  if (at > 0 && AFileName[static_cast<std::size_t>(at - 1)] == L'.') return AFileName.substr(static_cast<std::size_t>(at - 1));
  return String();
}

String ExtractFilePath(const String& AFileName) {
  return AFileName.substr(0, static_cast<std::size_t>(LastDelimiter(GNameDelimiters, AFileName)));
}

String ExtractFileDir(const String& AFileName) {
  int at = LastDelimiter(GNameDelimiters, AFileName);
  // "C:\dir\file" gives "C:\dir", but the root of "C:\file" keeps its delimiter.
  if (at > 1 && IsPathDelimiter(AFileName[static_cast<std::size_t>(at - 1)]) &&
      !IsDelimiter(GNameDelimiters, AFileName, at - 1))
    --at;
  return AFileName.substr(0, static_cast<std::size_t>(at));
}

String ExtractFileName(const String& AFileName) {
  return AFileName.substr(static_cast<std::size_t>(LastDelimiter(GNameDelimiters, AFileName)));
}

String ExtractFileDrive(const String& AFileName) {
  if (AFileName.size() >= 2 && AFileName[1] == L':') return AFileName.substr(0, 2);
  if (AFileName.size() >= 2 && IsPathDelimiter(AFileName[0]) && IsPathDelimiter(AFileName[1])) {
    // "\\server\share": up to the delimiter after the share name.
    std::size_t i = 2;
    int parts = 0;
    while (i < AFileName.size()) {
      if (IsPathDelimiter(AFileName[i]) && ++parts == 2) break;
      ++i;
    }
    if (parts >= 1) return AFileName.substr(0, i);
  }
  return String();
}

String ChangeFileExt(const String& AFileName, const String& AExtension) {
  const int at = LastDelimiter(L"." + GNameDelimiters, AFileName);
  if (at > 0 && AFileName[static_cast<std::size_t>(at - 1)] == L'.')
    return AFileName.substr(0, static_cast<std::size_t>(at - 1)) + AExtension;
  return AFileName + AExtension;
}

String IncludeTrailingPathDelimiter(const String& S) {
  if (!S.empty() && IsPathDelimiter(S.back())) return S;
  return S + PathDelim;
}

String ExcludeTrailingPathDelimiter(const String& S) {
  if (!S.empty() && IsPathDelimiter(S.back())) return S.substr(0, S.size() - 1);
  return S;
}

// ---------------------------------------------------------------------------
// Files and directories

bool FileExists(const String& AFileName) {
  if (AFileName.empty()) return false;
  const DWORD attributes = GetFileAttributesW(AFileName.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const String& ADirectory) {
  if (ADirectory.empty()) return false;
  const DWORD attributes = GetFileAttributesW(ADirectory.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateDir(const String& ADirectory) {
  return !ADirectory.empty() && CreateDirectoryW(ADirectory.c_str(), nullptr) != 0;
}

bool RemoveDir(const String& ADirectory) {
  return !ADirectory.empty() && RemoveDirectoryW(ADirectory.c_str()) != 0;
}

bool ForceDirectories(const String& ADirectory) {
  if (ADirectory.empty())
    throw EInOutError(ERROR_PATH_NOT_FOUND, String(L"Verzeichnis kann nicht erstellt werden"));
  const String dir = ExcludeTrailingPathDelimiter(ExpandFileName(ADirectory));
  if (dir.empty() || DirectoryExists(dir)) return true;
  const String parent = ExtractFileDir(dir);
  // A root or a share has no parent to make; stop when nothing shrinks.
  if (!parent.empty() && parent != dir && parent.size() < dir.size() && !ForceDirectories(parent)) return false;
  return CreateDir(dir) || DirectoryExists(dir);
}

bool DeleteFile(const String& AFileName) { return !AFileName.empty() && DeleteFileW(AFileName.c_str()) != 0; }

bool RenameFile(const String& AOldName, const String& ANewName) {
  return !AOldName.empty() && !ANewName.empty() && MoveFileW(AOldName.c_str(), ANewName.c_str()) != 0;
}

String GetCurrentDir() {
  const DWORD size = GetCurrentDirectoryW(0, nullptr);
  if (size == 0) return String();
  String r(size, L'\0');
  const DWORD length = GetCurrentDirectoryW(size, r.data());
  r.resize(length < size ? length : 0);
  return r;
}

bool SetCurrentDir(const String& ADirectory) {
  return !ADirectory.empty() && SetCurrentDirectoryW(ADirectory.c_str()) != 0;
}

void ChDir(const String& ADirectory) {
  if (ADirectory.empty()) return;  // an empty name leaves the directory as it is
  if (!SetCurrentDirectoryW(ADirectory.c_str())) {
    const DWORD error = GetLastError();
    RaiseInOutError(error ? static_cast<int>(error) : ERROR_PATH_NOT_FOUND);
  }
}

String GetEnvironmentVariable(const String& AName) {
  if (AName.empty()) return String();
  const DWORD size = GetEnvironmentVariableW(AName.c_str(), nullptr, 0);
  if (size == 0) return String();
  String r(size, L'\0');
  const DWORD length = GetEnvironmentVariableW(AName.c_str(), r.data(), size);
  r.resize(length < size ? length : 0);
  return r;
}

// ---------------------------------------------------------------------------
// Beep and clock

namespace {
std::mutex GHookLock;
TBeepHook GBeepHook;
std::atomic<TTickCountSource> GTickCountSource{nullptr};
}  // namespace

void Beep() {
  TBeepHook hook;
  {
    std::lock_guard<std::mutex> lock(GHookLock);
    hook = GBeepHook;
  }
  if (hook)
    hook();
  else
    MessageBeep(0);
}

TBeepHook SetBeepHook(TBeepHook AHook) {
  std::lock_guard<std::mutex> lock(GHookLock);
  return std::exchange(GBeepHook, std::move(AHook));
}

std::uint64_t TickCount() {
  const TTickCountSource source = GTickCountSource;
  return source ? source() : GetTickCount64();
}

TTickCountSource SetTickCountSource(TTickCountSource ASource) { return GTickCountSource.exchange(ASource); }

std::uint64_t TicksSince(std::uint64_t AStart) {
  const std::uint64_t now = TickCount();
  return now > AStart ? now - AStart : 0;
}
