// Run-time routines: exceptions, formatting, conversions, strings, file
// names, files, dates and times.
//
// Classes in this file:
//   TVarRec                 one argument of Format
//   Exception               the base of every exception, and its descendants:
//     EAbort, EAbstractError, EInvalidCast, EConvertError, EPropertyError,
//     EPropertyConvertError, EInOutError, EOSError, EArgumentException,
//     EArgumentOutOfRangeException, EArgumentNilException, EInvalidOperation,
//     EIntError (EDivByZero, ERangeError, EIntOverflow), EMathError
//     (EInvalidOp, EZeroDivide, EOverflow, EUnderflow, EInvalidArgument),
//     EOutOfMemory, ENotSupportedException, ENotImplemented, EInvalidPointer
//   TFormatSettings         separators, date/time formats and names of a locale
//   Currency                a fixed-point number with four decimals
//   TFloatRec               a float as decimal digits (FloatToDecimal)
//   TTimeStamp              a date-time as days and milliseconds
//
// Strings are UTF-16 and indexed from 0 in C++; the few routines that take
// or return a character position (Pos, Copy, IsDelimiter, LastDelimiter)
// count from 1 and answer 0 for "none", so code written against the usual
// run-time positions reads the same.
#pragma once

#include "platform/runtime/Handles.h"
#include "platform/runtime/System.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <type_traits>

class TVarRec;
struct TFormatSettings;

// ---------------------------------------------------------------------------
// Arguments of Format

class TVarRec {
 public:
  enum class TKind { Integer, Unsigned, Float, String, PChar, Char, Boolean, Pointer };

  TVarRec(int AValue) : FKind(TKind::Integer), FInt(AValue) {}
  TVarRec(long AValue) : FKind(TKind::Integer), FInt(AValue) {}
  TVarRec(long long AValue) : FKind(TKind::Integer), FInt(AValue) {}
  TVarRec(unsigned AValue) : FKind(TKind::Unsigned), FUInt(AValue) {}
  TVarRec(unsigned long AValue) : FKind(TKind::Unsigned), FUInt(AValue) {}
  TVarRec(unsigned long long AValue) : FKind(TKind::Unsigned), FUInt(AValue) {}
  TVarRec(double AValue) : FKind(TKind::Float), FFloat(AValue) {}
  TVarRec(const String& AValue) : FKind(TKind::String), FString(&AValue) {}
  TVarRec(const wchar_t* AValue) : FKind(TKind::PChar), FChars(AValue) {}
  TVarRec(wchar_t AValue) : FKind(TKind::Char), FChar(AValue) {}
  TVarRec(bool AValue) : FKind(TKind::Boolean), FInt(AValue) {}
  TVarRec(const void* AValue) : FKind(TKind::Pointer), FPointer(AValue) {}

  TKind Kind() const { return FKind; }
  bool IsText() const { return FKind == TKind::String || FKind == TKind::PChar || FKind == TKind::Char; }
  bool IsInteger() const { return FKind == TKind::Integer || FKind == TKind::Unsigned; }
  std::int64_t AsInteger() const;
  std::uint64_t AsUnsigned() const;
  double AsFloat() const;
  String AsString() const;
  const void* AsPointer() const { return FPointer; }

 private:
  TKind FKind;
  union {
    std::int64_t FInt;
    std::uint64_t FUInt;
    double FFloat;
    const String* FString;
    const wchar_t* FChars;
    wchar_t FChar;
    const void* FPointer;
  };
};

// ---------------------------------------------------------------------------
// Exceptions

// The base of every exception of the system. Thrown by value, caught by
// reference; ClassName comes from the C++ type.
class Exception : public std::exception {
 public:
  Exception() = default;
  explicit Exception(String AMessage) : FMessage(std::move(AMessage)) {}
  // The message formatted with Format.
  Exception(const String& AFormat, std::initializer_list<TVarRec> AArgs);
  ~Exception() override = default;

  const String& Message() const { return FMessage; }
  void SetMessage(const String& AValue) { FMessage = AValue; FWhat.clear(); }
  String ClassName() const;
  // The message in UTF-8.
  const char* what() const noexcept override;

 private:
  String FMessage;
  mutable std::string FWhat;
};

// The silent exception: the application object shows nothing for it.
class EAbort : public Exception { public: using Exception::Exception; };
// Raises EAbort.
[[noreturn]] void Abort();

class EAbstractError : public Exception { public: using Exception::Exception; };
class EInvalidCast : public Exception { public: using Exception::Exception; };
class EConvertError : public Exception { public: using Exception::Exception; };
class EPropertyError : public Exception { public: using Exception::Exception; };
class EPropertyConvertError : public Exception { public: using Exception::Exception; };
class EInvalidOperation : public Exception { public: using Exception::Exception; };
class EInvalidPointer : public Exception { public: using Exception::Exception; };
class EOutOfMemory : public Exception { public: using Exception::Exception; };
class ENotSupportedException : public Exception { public: using Exception::Exception; };
class ENotImplemented : public Exception { public: using Exception::Exception; };

class EArgumentException : public Exception { public: using Exception::Exception; };
class EArgumentOutOfRangeException : public EArgumentException {
 public:
  using EArgumentException::EArgumentException;
};
class EArgumentNilException : public EArgumentException { public: using EArgumentException::EArgumentException; };

class EIntError : public Exception { public: using Exception::Exception; };
class EDivByZero : public EIntError { public: using EIntError::EIntError; };
class ERangeError : public EIntError { public: using EIntError::EIntError; };
class EIntOverflow : public EIntError { public: using EIntError::EIntError; };

class EMathError : public Exception { public: using Exception::Exception; };
class EInvalidOp : public EMathError { public: using EMathError::EMathError; };
class EZeroDivide : public EMathError { public: using EMathError::EMathError; };
class EOverflow : public EMathError { public: using EMathError::EMathError; };
class EUnderflow : public EMathError { public: using EMathError::EMathError; };
class EInvalidArgument : public EMathError { public: using EMathError::EMathError; };

// An input/output error of the run-time's file routines; ErrorCode is the
// run-time's I/O error number (the Windows error code for failed system calls).
class EInOutError : public Exception {
 public:
  using Exception::Exception;
  EInOutError(int AErrorCode, String AMessage) : Exception(std::move(AMessage)), FErrorCode(AErrorCode) {}
  int ErrorCode() const { return FErrorCode; }
  void SetErrorCode(int AValue) { FErrorCode = AValue; }

 private:
  int FErrorCode = 0;
};
// Raises EInOutError for an I/O error number with the text "E/A-Fehler <n>"
// (followed by the system's description when the number is a Windows error).
[[noreturn]] void RaiseInOutError(int AErrorCode);
String InOutErrorMessage(int AErrorCode);

// A failed operating-system call; ErrorCode is the Windows error code.
class EOSError : public Exception {
 public:
  using Exception::Exception;
  EOSError(DWORD AErrorCode, String AMessage) : Exception(std::move(AMessage)), FErrorCode(AErrorCode) {}
  DWORD ErrorCode() const { return FErrorCode; }
  void SetErrorCode(DWORD AValue) { FErrorCode = AValue; }

 private:
  DWORD FErrorCode = 0;
};
// The system's text for a Windows error code, without trailing line breaks.
String SysErrorMessage(DWORD AErrorCode);
// Raises EOSError for GetLastError (or the given code), with an optional
// note (e.g. the name of the failed call) appended.
[[noreturn]] void RaiseLastOSError();
[[noreturn]] void RaiseLastOSError(DWORD AErrorCode, const String& AAdditionalInfo = String());
// Raises EOSError when AValue is false (for API results).
inline void Win32Check(BOOL AValue) { if (!AValue) RaiseLastOSError(); }

// Exceptions caught where a Windows callback returns (window procedures,
// hooks, timers, pool threads) go to one handler; the application object
// installs its own, which shows them. Call HandleCallbackException from
// inside a catch block: the handler reads std::current_exception().
using TCallbackExceptionHandler = void (*)(TObject* ASender);
// Answers the handler that was installed before.
TCallbackExceptionHandler SetCallbackExceptionHandler(TCallbackExceptionHandler AHandler);
void HandleCallbackException(TObject* ASender) noexcept;

// The message of the exception being handled (for catch (...) blocks):
// Exception's message, a std::exception's what() widened, or a fixed text.
String CurrentExceptionMessage();

// Runs AWork, then AFinally, also when AWork raises: AWork's exception goes
// on unless AFinally raises one of its own. Answers AWork's result. (Unlike a
// destructor, AFinally may raise; a clean-up that cannot is a TScopeExit.)
template <class TWork, class TFinally>
std::invoke_result_t<TWork&> TryFinally(TWork&& AWork, TFinally&& AFinally) {
  using R = std::invoke_result_t<TWork&>;
  if constexpr (std::is_void_v<R>) {
    try {
      AWork();
    } catch (...) {
      AFinally();
      throw;
    }
    AFinally();
  } else {
    R result = [&]() -> R {
      try {
        return AWork();
      } catch (...) {
        AFinally();
        throw;
      }
    }();
    AFinally();
    return result;
  }
}

// Runs AWork between AObject's BeginUpdate and EndUpdate (see TryFinally).
template <class T, class TWork>
decltype(auto) WithUpdate(T* AObject, TWork&& AWork) {
  AObject->BeginUpdate();
  return TryFinally(AWork, [AObject] { AObject->EndUpdate(); });
}

// ---------------------------------------------------------------------------
// Format settings

struct TFormatSettings {
  // Currency: CurrencyFormat 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"; NegCurrFormat
  // 0..15 the locale's negative patterns.
  String CurrencyString;
  std::uint8_t CurrencyFormat = 0;
  std::uint8_t NegCurrFormat = 0;
  std::uint8_t CurrencyDecimals = 2;
  wchar_t ThousandSeparator = L',';
  wchar_t DecimalSeparator = L'.';
  wchar_t DateSeparator = L'/';
  wchar_t TimeSeparator = L':';
  wchar_t ListSeparator = L',';
  String ShortDateFormat;
  String LongDateFormat;
  String TimeAMString;
  String TimePMString;
  String ShortTimeFormat;
  String LongTimeFormat;
  String ShortMonthNames[12];
  String LongMonthNames[12];
  String ShortDayNames[7];  // Sunday first
  String LongDayNames[7];
  std::uint16_t TwoDigitYearCenturyWindow = 50;

  // The settings of the user's locale.
  static TFormatSettings Create();
  // The settings of a locale; a locale Windows does not know gives the
  // user's settings.
  static TFormatSettings Create(LCID ALocale);
  // By locale name ("de-DE"); an unknown name gives the user's settings.
  static TFormatSettings Create(const String& ALocaleName);
  // The invariant locale: '.' decimal, ',' thousands, English names,
  // "MM/dd/yyyy", "HH:mm:ss".
  static TFormatSettings Invariant();
};

// The run-time's global settings: the user's locale, read at unit start-up
// (and again by GetFormatSettings, e.g. after a regional settings change).
// Written only on the main thread; threads that format concurrently pass
// their own copy.
extern TFormatSettings FormatSettings;
void GetFormatSettings();

// ---------------------------------------------------------------------------
// Format: "%" [index ":"] ["-"] [width] ["." precision] type, where index,
// width and precision may be "*" (taken from the arguments); types d u e f
// g n m p s x (either case); "%%" is a percent sign. Raises EConvertError
// for a bad format or an argument of the wrong kind.

String Format(const String& AFormat, std::initializer_list<TVarRec> AArgs);
String Format(const String& AFormat, std::initializer_list<TVarRec> AArgs, const TFormatSettings& ASettings);
String Format(const String& AFormat, std::span<const TVarRec> AArgs);
String Format(const String& AFormat, std::span<const TVarRec> AArgs, const TFormatSettings& ASettings);

// ---------------------------------------------------------------------------
// Integer conversions

String IntToStr(int AValue);
String IntToStr(long AValue);
String IntToStr(long long AValue);
String UIntToStr(unsigned long long AValue);
// Upper-case hexadecimal with at least ADigits digits; a negative value is
// shown as its two's complement of the argument's width.
String IntToHex(int AValue, int ADigits);
String IntToHex(long long AValue, int ADigits);
String IntToHex(unsigned AValue, int ADigits);
String IntToHex(unsigned long long AValue, int ADigits);

// Decimal, or hexadecimal after "$", "0x" or "x"; an optional sign; leading
// blanks are allowed, nothing may follow. Out of range is not a number.
// StrToInt raises EConvertError with SInvalidInteger.
constexpr const wchar_t* SInvalidInteger = L"'%s' ist kein gültiger Integerwert";
int StrToInt(const String& S);
int StrToIntDef(const String& S, int ADefault);
bool TryStrToInt(const String& S, int& AValue);
std::int64_t StrToInt64(const String& S);
std::int64_t StrToInt64Def(const String& S, std::int64_t ADefault);
bool TryStrToInt64(const String& S, std::int64_t& AValue);
std::uint64_t StrToUInt64(const String& S);
bool TryStrToUInt64(const String& S, std::uint64_t& AValue);

// ---------------------------------------------------------------------------
// Random numbers: one linear congruential generator for the process, 0 as
// its seed until Randomize; the same seed gives the same sequence.

std::uint32_t RandSeed();
void SetRandSeed(std::uint32_t AValue);
// Seeds the generator from the performance counter.
void Randomize();
// An integer in 0 .. ARange - 1 (0 when ARange is not positive).
int Random(int ARange);
// A float in [0, 1).
double Random();

// ---------------------------------------------------------------------------
// Floating-point conversions

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };
enum TFloatValue { fvExtended, fvCurrency };

// A float as decimal digits: value = 0.Digits x 10^Exponent. Rounded to
// APrecision significant digits and at most ADecimals digits after the
// decimal point, an exact half away from zero; no trailing zeros; zero has no
// digits. Special values have an empty Digits and Exponent 0x7FFF (infinite)
// or 0x8000 (not a number).
struct TFloatRec {
  int Exponent = 0;
  bool Negative = false;
  String Digits;
};
void FloatToDecimal(TFloatRec& AResult, double AValue, int APrecision, int ADecimals);

// The general format with 15 significant digits.
String FloatToStr(double AValue);
String FloatToStr(double AValue, const TFormatSettings& ASettings);
// APrecision significant digits; ADigits: ffGeneral/ffExponent the minimum
// exponent digits (0..4), ffFixed/ffNumber/ffCurrency the decimals.
String FloatToStrF(double AValue, TFloatFormat AFormat, int APrecision, int ADigits);
String FloatToStrF(double AValue, TFloatFormat AFormat, int APrecision, int ADigits,
                   const TFormatSettings& ASettings);
// Picture format: sections "positive;negative;zero"; placeholders 0 and #,
// "." decimal point, "," thousands, E+ E- e+ e- exponent, quoted literals
// '...' and "..."; any other character stands for itself.
String FormatFloat(const String& AFormat, double AValue);
String FormatFloat(const String& AFormat, double AValue, const TFormatSettings& ASettings);

// An optional sign, digits with the settings' decimal separator, an optional
// exponent; blanks around are allowed. StrToFloat raises EConvertError
// "'%s' ist kein gültiger Gleitkommawert".
double StrToFloat(const String& S);
double StrToFloat(const String& S, const TFormatSettings& ASettings);
double StrToFloatDef(const String& S, double ADefault);
double StrToFloatDef(const String& S, double ADefault, const TFormatSettings& ASettings);
bool TryStrToFloat(const String& S, double& AValue);
bool TryStrToFloat(const String& S, double& AValue, const TFormatSettings& ASettings);

// A fixed-point number with four decimals (the value times 10,000).
struct Currency {
  std::int64_t Value = 0;  // the amount x 10,000

  static Currency FromScaled(std::int64_t AValue) { return Currency{AValue}; }
  // Rounds to four decimals (an exact half to the even neighbour); raises
  // EOverflow beyond the range.
  static Currency FromDouble(double AValue);
  double ToDouble() const { return static_cast<double>(Value) / 10000.0; }
  friend bool operator==(const Currency&, const Currency&) = default;
  friend auto operator<=>(const Currency&, const Currency&) = default;
};
String CurrToStr(Currency AValue);
String CurrToStr(Currency AValue, const TFormatSettings& ASettings);

// Booleans: StrToBool accepts "True"/"False" (any case) and numbers (non-zero
// is true); else EConvertError "'%s' ist kein gültiger boolescher Wert".
// BoolToStr gives "True"/"False" with AUseBoolStrs, else "-1"/"0".
bool StrToBool(const String& S);
bool StrToBoolDef(const String& S, bool ADefault);
bool TryStrToBool(const String& S, bool& AValue);
String BoolToStr(bool AValue, bool AUseBoolStrs = false);

// ---------------------------------------------------------------------------
// Strings

// ASCII case only.
String UpperCase(const String& S);
String LowerCase(const String& S);
// The user locale's case mapping.
String AnsiUpperCase(const String& S);
String AnsiLowerCase(const String& S);
// Ordinal: < 0, 0 or > 0.
int CompareStr(const String& S1, const String& S2);
// Ordinal, ignoring the case of ASCII letters.
int CompareText(const String& S1, const String& S2);
bool SameText(const String& S1, const String& S2);
bool SameStr(const String& S1, const String& S2);
// The user locale's collation: -1, 0 or 1.
int AnsiCompareStr(const String& S1, const String& S2);
int AnsiCompareText(const String& S1, const String& S2);
bool AnsiSameText(const String& S1, const String& S2);
bool AnsiSameStr(const String& S1, const String& S2);

// Remove blanks and control characters (code <= 32) at the ends.
String Trim(const String& S);
String TrimLeft(const String& S);
String TrimRight(const String& S);

// 'text' with inner quotes doubled.
String QuotedStr(const String& S);
String AnsiQuotedStr(const String& S, wchar_t AQuote);
// The text between the quote at the start of S and its closing quote, with
// doubled quotes made single; S itself when it does not begin with AQuote;
// an unterminated quote takes the rest of S.
String AnsiDequotedStr(const String& S, wchar_t AQuote);

enum TReplaceFlag { rfReplaceAll, rfIgnoreCase };
using TReplaceFlags = TSet<TReplaceFlag>;
// Replaces the first (or every) occurrence of AOldPattern; an empty pattern
// changes nothing. rfIgnoreCase compares in the user locale's upper case.
String StringReplace(const String& S, const String& AOldPattern, const String& ANewPattern,
                     TReplaceFlags AFlags);

String StringOfChar(wchar_t AChar, int ACount);
// Whether S[AIndex] (1-based) is one of ADelimiters.
bool IsDelimiter(const String& ADelimiters, const String& S, int AIndex);
// The 1-based position of the last character of S that is in ADelimiters, 0
// when there is none.
int LastDelimiter(const String& ADelimiters, const String& S);
// The 1-based position of ASubStr in S from AOffset on, 0 when absent.
int Pos(const String& ASubStr, const String& S, int AOffset = 1);
// ACount characters from the 1-based AIndex on, clamped to S.
String Copy(const String& S, int AIndex, int ACount);
bool StartsText(const String& ASubText, const String& AText);
bool EndsText(const String& ASubText, const String& AText);

// Byte strings: the ANSI code page, UTF-8.
RawByteString StringToAnsi(const String& S, UINT ACodePage = CP_ACP);
String AnsiToString(const RawByteString& S, UINT ACodePage = CP_ACP);
String AnsiToString(const char* AData, std::size_t ALength, UINT ACodePage = CP_ACP);
RawByteString UTF8Encode(const String& S);
String UTF8ToString(const RawByteString& S);

// ---------------------------------------------------------------------------
// File names: '\\', '/' and the drive colon separate the parts.

constexpr wchar_t PathDelim = L'\\';
constexpr wchar_t DriveDelim = L':';
constexpr wchar_t PathSep = L';';

String ExpandFileName(const String& AFileName);
// ".ext" with its dot, or empty.
String ExtractFileExt(const String& AFileName);
// The directory with its trailing delimiter.
String ExtractFilePath(const String& AFileName);
// The directory without its trailing delimiter (a root keeps it).
String ExtractFileDir(const String& AFileName);
String ExtractFileName(const String& AFileName);
// "C:" or "\\server\share", else empty.
String ExtractFileDrive(const String& AFileName);
String ChangeFileExt(const String& AFileName, const String& AExtension);
String IncludeTrailingPathDelimiter(const String& S);
String ExcludeTrailingPathDelimiter(const String& S);

// ---------------------------------------------------------------------------
// Files and directories

bool FileExists(const String& AFileName);
bool DirectoryExists(const String& ADirectory);
bool CreateDir(const String& ADirectory);
bool RemoveDir(const String& ADirectory);
// Creates every missing directory of the path; raises EInOutError for an
// empty path.
bool ForceDirectories(const String& ADirectory);
bool DeleteFile(const String& AFileName);
bool RenameFile(const String& AOldName, const String& ANewName);
String GetCurrentDir();
bool SetCurrentDir(const String& ADirectory);
// The run-time's directory change: raises EInOutError on failure.
void ChDir(const String& ADirectory);
// Empty when the variable is not set.
String GetEnvironmentVariable(const String& AName);

// ---------------------------------------------------------------------------
// Dates and times: days since 1899-12-30, the time of day as the fraction.
// Before that day the date is negative and the fraction still counts
// forward from midnight (-1.25 is 1899-12-29 06:00).

using TDateTime = double;

constexpr int HoursPerDay = 24;
constexpr int MinsPerDay = 24 * 60;
constexpr int SecsPerDay = 24 * 60 * 60;
constexpr int MSecsPerDay = 24 * 60 * 60 * 1000;
constexpr int DateDelta = 693594;  // days from 0001-01-01 to 1899-12-31

struct TTimeStamp {
  int Time = 0;  // milliseconds since midnight
  int Date = 0;  // days since 0001-01-01, plus one
};

bool IsLeapYear(int AYear);
int DaysInAMonth(int AYear, int AMonth);
// EncodeDate/EncodeTime raise EConvertError for an invalid date or time.
TDateTime EncodeDate(int AYear, int AMonth, int ADay);
TDateTime EncodeTime(int AHour, int AMin, int ASec, int AMSec);
TDateTime EncodeDateTime(int AYear, int AMonth, int ADay, int AHour, int AMin, int ASec, int AMSec);
bool TryEncodeDate(int AYear, int AMonth, int ADay, TDateTime& ADate);
bool TryEncodeTime(int AHour, int AMin, int ASec, int AMSec, TDateTime& ATime);
void DecodeDate(TDateTime ADate, int& AYear, int& AMonth, int& ADay);
// Also the day of the week, 1 Sunday .. 7 Saturday; false unless a leap year.
bool DecodeDateFully(TDateTime ADate, int& AYear, int& AMonth, int& ADay, int& ADayOfWeek);
void DecodeTime(TDateTime ATime, int& AHour, int& AMin, int& ASec, int& AMSec);
void DecodeDateTime(TDateTime AValue, int& AYear, int& AMonth, int& ADay, int& AHour, int& AMin, int& ASec,
                    int& AMSec);
// 1 Sunday .. 7 Saturday.
int DayOfWeek(TDateTime ADate);
TTimeStamp DateTimeToTimeStamp(TDateTime AValue);
TDateTime TimeStampToDateTime(const TTimeStamp& AValue);
SYSTEMTIME DateTimeToSystemTime(TDateTime AValue);
TDateTime SystemTimeToDateTime(const SYSTEMTIME& AValue);

// The local clock.
TDateTime Now();
TDateTime Date();
TDateTime Time();

// Tokens (letters in any case): c, d dd ddd dddd ddddd dddddd, m mm mmm mmmm
// (minutes right after h or hh), yy yyyy, h hh, n nn, s ss, z zzz, t tt,
// am/pm a/p ampm, '/' and ':' (the settings' separators), '...' and "..."
// literals; any other character stands for itself.
String FormatDateTime(const String& AFormat, TDateTime AValue);
String FormatDateTime(const String& AFormat, TDateTime AValue, const TFormatSettings& ASettings);
// The date in the short format and, when the time is not midnight, the time
// in the long format.
String DateTimeToStr(TDateTime AValue);
String DateTimeToStr(TDateTime AValue, const TFormatSettings& ASettings);
String DateToStr(TDateTime AValue);
String DateToStr(TDateTime AValue, const TFormatSettings& ASettings);
String TimeToStr(TDateTime AValue);
String TimeToStr(TDateTime AValue, const TFormatSettings& ASettings);

// ---------------------------------------------------------------------------
// Sound and clock, both replaceable for tests

// Beep plays the default sound (MessageBeep(0)) through a replaceable hook;
// SetBeepHook returns the previous hook; an empty hook restores the default.
using TBeepHook = std::function<void()>;
void Beep();
TBeepHook SetBeepHook(TBeepHook AHook);

// Milliseconds since start-up (GetTickCount64) through a replaceable source.
using TTickCountSource = std::uint64_t (*)();
std::uint64_t TickCount();
TTickCountSource SetTickCountSource(TTickCountSource ASource);
// Milliseconds from AStart to now, never negative.
std::uint64_t TicksSince(std::uint64_t AStart);
