// Strings, file names, files, locale settings, dates and the replaceable hooks.
#include "platform/runtime/SysUtils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

namespace {

// --- Strings -------------------------------------------------------------------

TEST(Strings, CaseAndComparison) {
  EXPECT_EQ(UpperCase(L"abc äöü"), L"ABC äöü");
  EXPECT_EQ(LowerCase(L"ABC ÄÖÜ"), L"abc ÄÖÜ");
  EXPECT_EQ(AnsiUpperCase(L"abc äöü"), L"ABC ÄÖÜ");
  EXPECT_EQ(AnsiLowerCase(L"ABC ÄÖÜ"), L"abc äöü");
  EXPECT_LT(CompareStr(L"abc", L"abd"), 0);
  EXPECT_GT(CompareStr(L"abc", L"ab"), 0);
  EXPECT_LT(CompareStr(L"ABC", L"abc"), 0);  // ordinal: upper case first
  EXPECT_EQ(CompareText(L"Hello", L"hELLO"), 0);
  EXPECT_LT(CompareText(L"abc", L"ABD"), 0);
  EXPECT_TRUE(SameText(L"Ab", L"aB"));
  EXPECT_FALSE(SameText(L"Ab", L"aBc"));
  EXPECT_FALSE(SameText(L"ä", L"Ä"));  // ASCII letters only
  EXPECT_TRUE(AnsiSameText(L"ä", L"Ä"));
  EXPECT_EQ(AnsiCompareText(L"a", L"B"), -1);
  EXPECT_EQ(AnsiCompareText(L"b", L"A"), 1);
  EXPECT_EQ(AnsiCompareStr(L"x", L"x"), 0);
  EXPECT_TRUE(StartsText(L"ab", L"ABC"));
  EXPECT_FALSE(StartsText(L"abcd", L"abc"));
  EXPECT_TRUE(EndsText(L".HEX", L"file.hex"));
}

TEST(Strings, TrimRemovesBlanksAndControlCharacters) {
  EXPECT_EQ(Trim(L" \t\r\n x y \x01"), L"x y");
  EXPECT_EQ(TrimLeft(L"  x "), L"x ");
  EXPECT_EQ(TrimRight(L"  x \n"), L"  x");
  EXPECT_EQ(Trim(L"   "), L"");
  EXPECT_EQ(Trim(L""), L"");
}

TEST(Strings, Quoting) {
  EXPECT_EQ(QuotedStr(L"it's"), L"'it''s'");
  EXPECT_EQ(QuotedStr(L""), L"''");
  EXPECT_EQ(AnsiQuotedStr(L"a\"b", L'"'), L"\"a\"\"b\"");
  EXPECT_EQ(AnsiDequotedStr(L"'it''s' rest", L'\''), L"it's");
  EXPECT_EQ(AnsiDequotedStr(L"noquote", L'\''), L"noquote");
  EXPECT_EQ(AnsiDequotedStr(L"'open", L'\''), L"open");
  EXPECT_EQ(AnsiDequotedStr(L"''", L'\''), L"");
  EXPECT_EQ(AnsiDequotedStr(QuotedStr(L"a''b"), L'\''), L"a''b");
}

TEST(Strings, StringReplace) {
  struct TCase {
    const char* Name;
    TReplaceFlags Flags;
    String Expected;
  };
  const TCase cases[] = {
      {"first, exact case", {}, L"aXb-cx"},
      {"all, exact case", {rfReplaceAll}, L"aXb-c-"},
      {"first, any case", {rfIgnoreCase}, L"a-bxcx"},
      {"all, any case", {rfReplaceAll, rfIgnoreCase}, L"a-b-c-"},
  };
  for (const TCase& tc : cases) {
    SCOPED_TRACE(tc.Name);
    const String replaced = StringReplace(L"aXbxcx", L"x", L"-", tc.Flags);
    EXPECT_EQ(replaced, tc.Expected);
  }
  EXPECT_EQ(StringReplace(L"abc", L"", L"x", {rfReplaceAll}), L"abc");
  EXPECT_EQ(StringReplace(L"aaa", L"a", L"aa", {rfReplaceAll}), L"aaaaaa");
  EXPECT_EQ(StringReplace(L"Größe", L"Ö", L"oe", {rfIgnoreCase}), L"Groeße");
}

TEST(Strings, PositionsCountFromOne) {
  EXPECT_EQ(LastDelimiter(L"\\.", L"C:\\a.b\\c"), 7);
  EXPECT_EQ(LastDelimiter(L".", L"abc"), 0);
  EXPECT_TRUE(IsDelimiter(L":\\", L"C:\\x", 2));
  EXPECT_FALSE(IsDelimiter(L":\\", L"C:\\x", 1));
  EXPECT_FALSE(IsDelimiter(L":", L"C:", 3));
  EXPECT_FALSE(IsDelimiter(L":", L"C:", 0));
  EXPECT_EQ(Pos(L"b", L"abcb"), 2);
  EXPECT_EQ(Pos(L"b", L"abcb", 3), 4);
  EXPECT_EQ(Pos(L"z", L"abc"), 0);
  EXPECT_EQ(Pos(L"", L"abc"), 0);
  EXPECT_EQ(Copy(L"abcdef", 2, 3), L"bcd");
  EXPECT_EQ(Copy(L"abcdef", 5, 99), L"ef");
  EXPECT_EQ(Copy(L"abc", 9, 1), L"");
  EXPECT_EQ(Copy(L"abc", 0, 2), L"ab");
  EXPECT_EQ(StringOfChar(L'-', 3), L"---");
  EXPECT_EQ(StringOfChar(L'-', -1), L"");
}

TEST(Strings, ByteStrings) {
  EXPECT_EQ(UTF8Encode(L"Größe"), "Gr\xC3\xB6\xC3\x9F" "e");
  EXPECT_EQ(UTF8ToString("Gr\xC3\xB6\xC3\x9F" "e"), L"Größe");
  EXPECT_EQ(AnsiToString(std::string("a\xE4", 2), 1252), L"aä");
  EXPECT_EQ(StringToAnsi(L"aä", 1252), std::string("a\xE4"));
  EXPECT_EQ(AnsiToString(std::string("a\0b", 3), 1252), String(L"a\0b", 3));
}

// --- File names ----------------------------------------------------------------

TEST(FileNames, Table) {
  struct TCase {
    String Name, Path, Dir, File, Ext, Drive;
  };
  const TCase cases[] = {
      {L"C:\\dir\\file.txt", L"C:\\dir\\", L"C:\\dir", L"file.txt", L".txt", L"C:"},
      {L"C:\\file", L"C:\\", L"C:\\", L"file", L"", L"C:"},
      {L"file.tar.gz", L"", L"", L"file.tar.gz", L".gz", L""},
      {L"C:\\dir.d\\file", L"C:\\dir.d\\", L"C:\\dir.d", L"file", L"", L"C:"},
      {L"\\\\server\\share\\x\\y.z", L"\\\\server\\share\\x\\", L"\\\\server\\share\\x", L"y.z", L".z",
       L"\\\\server\\share"},
      {L"dir/sub/f.c", L"dir/sub/", L"dir/sub", L"f.c", L".c", L""},
      {L"C:", L"C:", L"C:", L"", L"", L"C:"},
      {L"C:file.x", L"C:", L"C:", L"file.x", L".x", L"C:"},
      {L".hidden", L"", L"", L".hidden", L".hidden", L""},
      {L"dir\\", L"dir\\", L"dir", L"", L"", L""},
      {L"", L"", L"", L"", L"", L""},
  };
  for (const TCase& tc : cases) {
    SCOPED_TRACE(tc.Name);
    EXPECT_EQ(ExtractFilePath(tc.Name), tc.Path);
    EXPECT_EQ(ExtractFileDir(tc.Name), tc.Dir);
    EXPECT_EQ(ExtractFileName(tc.Name), tc.File);
    EXPECT_EQ(ExtractFileExt(tc.Name), tc.Ext);
    EXPECT_EQ(ExtractFileDrive(tc.Name), tc.Drive);
  }
}

TEST(FileNames, ChangeAndDelimiters) {
  EXPECT_EQ(ChangeFileExt(L"a\\b.hex", L".eep"), L"a\\b.eep");
  EXPECT_EQ(ChangeFileExt(L"a.d\\b", L".x"), L"a.d\\b.x");
  EXPECT_EQ(ChangeFileExt(L"b.hex", L""), L"b");
  EXPECT_EQ(ChangeFileExt(L"b.tar.gz", L".zip"), L"b.tar.zip");
  EXPECT_EQ(IncludeTrailingPathDelimiter(L"C:\\x"), L"C:\\x\\");
  EXPECT_EQ(IncludeTrailingPathDelimiter(L"C:\\x\\"), L"C:\\x\\");
  EXPECT_EQ(IncludeTrailingPathDelimiter(L""), L"\\");
  EXPECT_EQ(ExcludeTrailingPathDelimiter(L"C:\\x\\"), L"C:\\x");
  EXPECT_EQ(ExcludeTrailingPathDelimiter(L"C:\\x"), L"C:\\x");
  EXPECT_EQ(ExpandFileName(L"C:\\a\\..\\b\\.\\c.txt"), L"C:\\b\\c.txt");
  EXPECT_EQ(ExpandFileName(L"x.txt"), IncludeTrailingPathDelimiter(GetCurrentDir()) + L"x.txt");
}

// --- Files and directories -------------------------------------------------------

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    FRoot = IncludeTrailingPathDelimiter(temp) + L"sk_sysutils_" + IntToStr(static_cast<long long>(GetCurrentProcessId()));
    FOldDir = GetCurrentDir();
  }
  void TearDown() override {
    SetCurrentDir(FOldDir);
    RemoveTree(FRoot);
  }
  static void RemoveTree(const String& ADir) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((ADir + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const String name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        const String full = ADir + L"\\" + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(full);
        else DeleteFileW(full.c_str());
      } while (FindNextFileW(find, &data));
      FindClose(find);
    }
    RemoveDirectoryW(ADir.c_str());
  }
  static void Touch(const String& AName) {
    const TKernelHandle file(CreateFileW(AName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file);
  }
  String FRoot, FOldDir;
};

TEST_F(FilesTest, CreateFindRenameDelete) {
  const String deep = FRoot + L"\\a\\b\\c";
  EXPECT_FALSE(DirectoryExists(deep));
  EXPECT_TRUE(ForceDirectories(deep + L"\\"));
  EXPECT_TRUE(DirectoryExists(deep));
  EXPECT_TRUE(ForceDirectories(deep));  // already there
  EXPECT_FALSE(FileExists(deep));       // a directory is no file

  const String file = deep + L"\\f.txt";
  EXPECT_FALSE(FileExists(file));
  Touch(file);
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(DirectoryExists(file));
  EXPECT_TRUE(RenameFile(file, deep + L"\\g.txt"));
  EXPECT_FALSE(FileExists(file));
  EXPECT_TRUE(FileExists(deep + L"\\g.txt"));
  EXPECT_FALSE(RenameFile(file, deep + L"\\h.txt"));  // source gone
  EXPECT_TRUE(DeleteFile(deep + L"\\g.txt"));
  EXPECT_FALSE(DeleteFile(deep + L"\\g.txt"));
  EXPECT_FALSE(FileExists(L""));
  EXPECT_FALSE(DirectoryExists(L""));
  EXPECT_TRUE(RemoveDir(deep));
  EXPECT_FALSE(DirectoryExists(deep));
  EXPECT_THROW(ForceDirectories(L""), EInOutError);
}

TEST_F(FilesTest, ChDirRaisesTheRunTimeIOError) {
  ASSERT_TRUE(ForceDirectories(FRoot));
  ChDir(FRoot);
  EXPECT_TRUE(SameText(ExcludeTrailingPathDelimiter(GetCurrentDir()), FRoot));

  const String missing = FRoot + L"\\missing";
  EXPECT_FALSE(SetCurrentDir(missing));
  try {
    ChDir(missing);
    ADD_FAILURE() << "no exception";
  } catch (const EInOutError& e) {
    EXPECT_NE(e.ErrorCode(), 0);
    EXPECT_EQ(e.Message(), L"E/A-Fehler " + IntToStr(e.ErrorCode()));
  }
  // The failed change left the directory where it was.
  EXPECT_TRUE(SameText(ExcludeTrailingPathDelimiter(GetCurrentDir()), FRoot));
}

TEST(Environment, Variables) {
  SetEnvironmentVariableW(L"SK_RUNTIME_TEST", L"wert");
  EXPECT_EQ(GetEnvironmentVariable(L"SK_RUNTIME_TEST"), L"wert");
  SetEnvironmentVariableW(L"SK_RUNTIME_TEST", nullptr);
  EXPECT_EQ(GetEnvironmentVariable(L"SK_RUNTIME_TEST"), L"");
  EXPECT_EQ(GetEnvironmentVariable(L""), L"");
}

TEST(OSErrors, MessageAndCode) {
  try {
    RaiseLastOSError(ERROR_FILE_NOT_FOUND, L"CreateFileW");
    ADD_FAILURE();
  } catch (const EOSError& e) {
    EXPECT_EQ(e.ErrorCode(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(e.Message().rfind(L"Systemfehler. Code: 2.\r\n", 0), 0u) << e.Message();
    EXPECT_NE(e.Message().find(SysErrorMessage(ERROR_FILE_NOT_FOUND)), String::npos);
    EXPECT_TRUE(e.Message().ends_with(L"\r\nCreateFileW"));
  }
  EXPECT_FALSE(SysErrorMessage(ERROR_ACCESS_DENIED).empty());
  EXPECT_FALSE(SysErrorMessage(ERROR_ACCESS_DENIED).ends_with(L"\n"));
  SetLastError(0);
  EXPECT_THROW(RaiseLastOSError(), EOSError);
  EXPECT_THROW(Win32Check(FALSE), EOSError);
  EXPECT_NO_THROW(Win32Check(TRUE));
  EXPECT_THROW(Abort(), EAbort);
}

TEST(Exceptions, CurrentExceptionMessage) {
  try {
    throw EConvertError(L"kaputt");
  } catch (...) {
    EXPECT_EQ(CurrentExceptionMessage(), L"kaputt");
  }
  try {
    throw std::runtime_error("Größe");
  } catch (...) {
    EXPECT_EQ(CurrentExceptionMessage(), L"Größe");
  }
  try {
    throw 5;
  } catch (...) {
    EXPECT_EQ(CurrentExceptionMessage(), L"Unbekannte Ausnahme");
  }
  EXPECT_EQ(EDivByZero(L"x").ClassName(), L"EDivByZero");
}

// Counts the brackets it is put in, as a list with BeginUpdate/EndUpdate does.
struct TUpdateCounter {
  int Depth = 0;
  int Ends = 0;
  bool RaiseOnEnd = false;
  void BeginUpdate() { ++Depth; }
  void EndUpdate() {
    --Depth;
    ++Ends;
    if (RaiseOnEnd) throw EInvalidOperation(L"end failed");
  }
};

TEST(Exceptions, TryFinallyRunsTheCleanUpOnEveryPath) {
  std::vector<String> log;
  const int answer = TryFinally([&] { log.push_back(L"work"); return 42; }, [&] { log.push_back(L"finally"); });
  EXPECT_EQ(answer, 42);
  EXPECT_EQ(log, (std::vector<String>{L"work", L"finally"}));

  log.clear();
  EXPECT_THROW(TryFinally([&] { throw EConvertError(L"work failed"); }, [&] { log.push_back(L"finally"); }),
               EConvertError);
  EXPECT_EQ(log, std::vector<String>{L"finally"});

  // The clean-up's own exception leaves, whether the work raised or not.
  EXPECT_THROW(TryFinally([] { throw EConvertError(L"work failed"); },
                          [] { throw EInvalidOperation(L"finally failed"); }),
               EInvalidOperation);
  EXPECT_THROW(TryFinally([] { return 1; }, [] { throw EInvalidOperation(L"finally failed"); }), EInvalidOperation);
}

TEST(Exceptions, WithUpdateClosesItsBracketAlsoWhenTheWorkRaises) {
  TUpdateCounter counter;
  int depthInside = 0;
  EXPECT_EQ(WithUpdate(&counter, [&] { depthInside = counter.Depth; return 7; }), 7);
  EXPECT_EQ(depthInside, 1);
  EXPECT_EQ(counter.Depth, 0);
  EXPECT_THROW(WithUpdate(&counter, [] { throw EConvertError(L"work failed"); }), EConvertError);
  EXPECT_EQ(counter.Depth, 0);
  EXPECT_EQ(counter.Ends, 2);
  // An end that raises is an exception like any other, not the end of the program.
  counter.RaiseOnEnd = true;
  EXPECT_THROW(WithUpdate(&counter, [] {}), EInvalidOperation);
  EXPECT_EQ(counter.Depth, 0);
}

// --- Locale settings -------------------------------------------------------------

TEST(FormatSettingsTest, GermanLocale) {
  const TFormatSettings de = TFormatSettings::Create(1031);
  EXPECT_EQ(de.DecimalSeparator, L',');
  EXPECT_EQ(de.ThousandSeparator, L'.');
  EXPECT_EQ(de.DateSeparator, L'.');
  EXPECT_EQ(de.LongMonthNames[0], L"Januar");
  EXPECT_EQ(de.LongMonthNames[2], L"März");
  EXPECT_EQ(de.LongDayNames[0], L"Sonntag");  // Sunday first
  EXPECT_EQ(de.LongDayNames[1], L"Montag");
  EXPECT_EQ(de.LongTimeFormat, L"hh:mm:ss");
  EXPECT_EQ(Format(L"%.2n", {1234.5}, de), L"1.234,50");
  const TFormatSettings byName = TFormatSettings::Create(L"de-DE");
  EXPECT_EQ(byName.DecimalSeparator, L',');
  EXPECT_EQ(byName.ShortDateFormat, de.ShortDateFormat);
}

TEST(FormatSettingsTest, EnglishLocaleTimeFormatIsConverted) {
  const TFormatSettings en = TFormatSettings::Create(1033);
  EXPECT_EQ(en.DecimalSeparator, L'.');
  EXPECT_EQ(en.TimeAMString, L"AM");
  EXPECT_EQ(en.LongTimeFormat, L"h:mm:ss AMPM");
  EXPECT_EQ(en.ShortDateFormat, L"M/d/yyyy");
  EXPECT_EQ(en.ShortDayNames[0], L"Sun");
  EXPECT_EQ(FormatDateTime(L"t", EncodeTime(13, 5, 0, 0), en), L"1:05 PM");
}

TEST(FormatSettingsTest, GlobalSettingsComeFromTheUserLocale) {
  const TFormatSettings user = TFormatSettings::Create();
  EXPECT_EQ(FormatSettings.DecimalSeparator, user.DecimalSeparator);
  EXPECT_EQ(FormatSettings.ShortDateFormat, user.ShortDateFormat);
  EXPECT_EQ(FormatSettings.LongMonthNames[11], user.LongMonthNames[11]);
  // An unknown locale falls back to the user's.
  EXPECT_EQ(TFormatSettings::Create(0x7FFF0).ShortDateFormat, user.ShortDateFormat);
  EXPECT_EQ(TFormatSettings::Create(L"xx-NOPE").ShortDateFormat, user.ShortDateFormat);
}

// --- Dates and times -------------------------------------------------------------

TEST(DateTime, EncodeDecodeTable) {
  struct TCase {
    int Year, Month, Day;
    double Serial;
    int DayOfWeek;
  };
  const TCase cases[] = {
      {1899, 12, 30, 0, 7},  {1899, 12, 31, 1, 1},   {2000, 1, 1, 36526, 7},   {2024, 1, 1, 45292, 2},
      {2024, 2, 29, 45351, 5}, {1, 1, 1, -693593, 2}, {9999, 12, 31, 2958465, 6}, {1900, 3, 1, 61, 5},
  };
  for (const TCase& tc : cases) {
    SCOPED_TRACE(tc.Serial);
    EXPECT_EQ(EncodeDate(tc.Year, tc.Month, tc.Day), tc.Serial);
    int y, m, d;
    DecodeDate(tc.Serial, y, m, d);
    EXPECT_EQ(y, tc.Year);
    EXPECT_EQ(m, tc.Month);
    EXPECT_EQ(d, tc.Day);
    EXPECT_EQ(DayOfWeek(tc.Serial), tc.DayOfWeek);
  }
}

TEST(DateTime, InvalidDatesRaise) {
  EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
  EXPECT_THROW(EncodeDate(0, 1, 1), EConvertError);
  EXPECT_THROW(EncodeDate(2024, 13, 1), EConvertError);
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
  TDateTime d = 5;
  EXPECT_FALSE(TryEncodeDate(1900, 2, 29, d));
  EXPECT_EQ(d, 5);
  EXPECT_TRUE(TryEncodeDate(2000, 2, 29, d));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_TRUE(IsLeapYear(2024));
  EXPECT_EQ(DaysInAMonth(2023, 2), 28);
  EXPECT_EQ(DaysInAMonth(2023, 13), 0);
}

TEST(DateTime, TimesAndNegativeDates) {
  int h, n, s, ms;
  DecodeTime(EncodeTime(23, 59, 59, 999), h, n, s, ms);
  EXPECT_EQ(h * 10000000 + n * 100000 + s * 1000 + ms, 23 * 10000000 + 59 * 100000 + 59 * 1000 + 999);
  // Before 1899-12-30 the fraction still counts forward from midnight.
  EXPECT_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), -1.25);
  int y, m, d;
  DecodeDateTime(-1.25, y, m, d, h, n, s, ms);
  EXPECT_EQ(y * 10000 + m * 100 + d, 18991229);
  EXPECT_EQ(h, 6);
  // A time that rounds up to midnight belongs to the next day.
  DecodeDateTime(1.0 - 1e-10, y, m, d, h, n, s, ms);
  EXPECT_EQ(y * 10000 + m * 100 + d, 18991231);
  EXPECT_EQ(h + n + s + ms, 0);
  // Before the first day there is no date.
  DecodeDate(-693594, y, m, d);
  EXPECT_EQ(y + m + d, 0);
  const SYSTEMTIME st = DateTimeToSystemTime(EncodeDateTime(2024, 3, 5, 14, 7, 9, 45));
  EXPECT_EQ(st.wDayOfWeek, 2);  // Tuesday, Sunday = 0
  EXPECT_EQ(SystemTimeToDateTime(st), EncodeDateTime(2024, 3, 5, 14, 7, 9, 45));
  const TTimeStamp stamp = DateTimeToTimeStamp(EncodeDateTime(1, 1, 1, 0, 0, 1, 0));
  EXPECT_EQ(stamp.Date, 1);
  EXPECT_EQ(stamp.Time, 1000);
  EXPECT_EQ(TimeStampToDateTime(stamp), EncodeDateTime(1, 1, 1, 0, 0, 1, 0));
}

TEST(DateTime, ClockAgreesWithWindows) {
  SYSTEMTIME before, after;
  GetLocalTime(&before);
  const TDateTime now = Now();
  GetLocalTime(&after);
  EXPECT_GE(now, SystemTimeToDateTime(before));
  EXPECT_LE(now, SystemTimeToDateTime(after));
  EXPECT_EQ(Date(), static_cast<double>(static_cast<long long>(now)));
  EXPECT_LT(Time(), 1.0);
}

TEST(DateTime, FormatDateTimeTokens) {
  const TFormatSettings inv = TFormatSettings::Invariant();
  const TDateTime v = EncodeDateTime(2024, 3, 5, 14, 7, 9, 45);
  struct TCase {
    String Format;
    String Expected;
  };
  const TCase cases[] = {
      {L"yyyy-mm-dd hh:nn:ss.zzz", L"2024-03-05 14:07:09.045"},
      {L"d/m/yy", L"5/3/24"},
      {L"dddd, mmmm d", L"Tuesday, March 5"},
      {L"ddd mmm", L"Tue Mar"},
      {L"h:mm am/pm", L"2:07 pm"},
      {L"hh:mm AM/PM", L"02:07 PM"},
      {L"h:m a/p", L"2:7 p"},
      {L"hh:mm ampm", L"02:07 PM"},
      {L"HH:MM", L"14:07"},
      {L"hh:m", L"14:7"},
      {L"m", L"3"},
      {L"c", L"03/05/2024 14:07:09"},
      {L"", L"03/05/2024 14:07:09"},
      {L"ddddd", L"03/05/2024"},
      {L"dddddd", L"Tuesday, 05 March 2024"},
      {L"t", L"14:07"},
      {L"tt", L"14:07:09"},
      {L"'hh' hh \"mm\"", L"hh 14 mm"},
      {L"s z", L"9 45"},
      {L"yy", L"24"},
  };
  for (const TCase& tc : cases) {
    SCOPED_TRACE(tc.Format);
    EXPECT_EQ(FormatDateTime(tc.Format, v, inv), tc.Expected);
  }
  EXPECT_EQ(FormatDateTime(L"h:nn am/pm", EncodeTime(0, 5, 0, 0), inv), L"12:05 am");
  EXPECT_EQ(DateTimeToStr(EncodeDate(2024, 3, 5), inv), L"03/05/2024");
  EXPECT_EQ(DateToStr(v, inv), L"03/05/2024");
  EXPECT_EQ(TimeToStr(v, inv), L"14:07:09");
  TFormatSettings de = inv;
  de.DateSeparator = L'.';
  EXPECT_EQ(FormatDateTime(L"dd/mm/yyyy", v, de), L"05.03.2024");
  // A format that names itself ends instead of recursing.
  TFormatSettings loop = inv;
  loop.ShortDateFormat = L"c";
  EXPECT_NO_THROW(FormatDateTime(L"c", v, loop));
}

// --- Hooks -------------------------------------------------------------------------

TEST(Hooks, BeepGoesThroughTheHook) {
  int beeps = 0;
  const TBeepHook previous = SetBeepHook([&] { ++beeps; });
  Beep();
  Beep();
  SetBeepHook(previous);
  EXPECT_EQ(beeps, 2);
}

std::uint64_t GFakeTicks = 0;

TEST(Hooks, TickCountSourceIsReplaceable) {
  GFakeTicks = 1000;
  const TTickCountSource previous = SetTickCountSource([] { return GFakeTicks; });
  EXPECT_EQ(TickCount(), 1000u);
  GFakeTicks = 1400;
  EXPECT_EQ(TicksSince(1000), 400u);
  EXPECT_EQ(TicksSince(2000), 0u);  // never negative
  SetTickCountSource(previous);
  EXPECT_GE(TickCount(), GetTickCount64() - 1000);
}

}  // namespace

TEST(RandomNumbers, TheSeedFixesTheSequenceAndEveryValueIsInRange) {
  SetRandSeed(12345);
  std::vector<int> first;
  std::vector<bool> seen(7);
  for (int i = 0; i < 1000; ++i) {
    const int value = Random(7);
    ASSERT_GE(value, 0);
    ASSERT_LT(value, 7);
    seen[static_cast<std::size_t>(value)] = true;
    if (i < 20) first.push_back(value);
  }
  EXPECT_EQ(std::vector<bool>(7, true), seen) << "a value never came";
  SetRandSeed(12345);
  for (std::size_t i = 0; i < first.size(); ++i) EXPECT_EQ(first[i], Random(7)) << i;
  for (int i = 0; i < 1000; ++i) {
    const double value = Random();
    ASSERT_GE(value, 0.0);
    ASSERT_LT(value, 1.0);
  }
  EXPECT_EQ(0, Random(0));
  EXPECT_EQ(0, Random(-5));
}

TEST(RandomNumbers, RandomizeChangesTheSeed) {
  SetRandSeed(0);
  Randomize();
  const std::uint32_t seed = RandSeed();
  EXPECT_NE(0u, seed);
  Sleep(1);
  Randomize();
  EXPECT_NE(seed, RandSeed());
}

TEST(RandomNumbers, ThreadsDrawingAtOnceShareOneSequence) {
  constexpr int Threads = 4;
  constexpr int Draws = 5000;
  SetRandSeed(777);
  std::vector<int> expected;
  for (int i = 0; i < Threads * Draws; ++i) expected.push_back(Random(1 << 30));
  SetRandSeed(777);
  std::vector<std::vector<int>> drawn(Threads);
  std::vector<std::thread> workers;
  for (auto& values : drawn)
    workers.emplace_back([&values] {
      for (int i = 0; i < Draws; ++i) values.push_back(Random(1 << 30));
    });
  for (auto& worker : workers) worker.join();
  std::vector<int> all;
  for (const auto& values : drawn) all.insert(all.end(), values.begin(), values.end());
  std::ranges::sort(expected);
  std::ranges::sort(all);
  EXPECT_EQ(expected, all) << "a step of the generator was lost or taken twice";
}
