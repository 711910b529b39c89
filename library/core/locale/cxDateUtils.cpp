// The calendar table base and the registry of tables, the locale's date
// texts, smart input, week arithmetic, and the unit's start-up and shut-down.
#include "library/core/locale/cxDateUtils.h"

#include "library/core/locale/cxFormats.h"
#include "library/core/base/cxLibraryStrs.h"

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <limits>

namespace {

// A TDateTime as a number that grows with time, also before 1899-12-30.
double ChronologicalValue(TDateTime ADate) { return ADate >= 0 ? ADate : 2 * std::trunc(ADate) - ADate; }

// The date part moved by ADays, the time of day kept (also across
// 1899-12-30, where the value changes sign). Far beyond every calendar's
// range the day stops moving; callers clamp.
TDateTime ShiftDays(TDateTime ADate, std::int64_t ADays) {
  TTimeStamp stamp = DateTimeToTimeStamp(ADate);
  stamp.Date = static_cast<int>(std::clamp<std::int64_t>(stamp.Date + ADays, -10000000, 10000000));
  return TimeStampToDateTime(stamp);
}

// A positive decimal integer: the whole text converts.
bool TryPositiveDecimal(const String& S, int& AValue) {
  if (S.empty()) return false;
  for (wchar_t c : S)
    if (c < L'0' || c > L'9') return false;
  int value = 0;
  if (!TryStrToInt(S, value) || value <= 0) return false;
  AValue = value;
  return true;
}

[[noreturn]] void RaiseInvalidNumber(const String& S) { throw EInvalidArgument(SInvalidInteger, {S}); }

// ---------------------------------------------------------------------------
// Process-wide state

TdxFastObjectList* GCalendarTables = nullptr;
bool GCalendarTablesFinalized = false;

bool GStartOfWeekAssigned = false;
TDay GAssignedStartOfWeek = dSunday;

std::vector<String> GSmartInputKeywords;

}  // namespace

// ---------------------------------------------------------------------------
// TcxEra

void TcxEra::Publish(TPublisher<TcxEra>& P) {
  P.Property(L"Era", &TcxEra::Era, &TcxEra::SetEra);
  P.Property(L"MaxEraYear", &TcxEra::MaxEraYear, &TcxEra::SetMaxEraYear);
  P.Property(L"MinEraYear", &TcxEra::MinEraYear, &TcxEra::SetMinEraYear);
  P.Property(L"StartDate", &TcxEra::StartDate, &TcxEra::SetStartDate);
  P.Property(L"YearOffset", &TcxEra::YearOffset, &TcxEra::SetYearOffset);
}

void TcxEra::Create(int AEra, TDateTime AStartDate, int AYearOffset, int AMinEraYear, int AMaxEraYear) {
  inherited::Create();
  FEra = AEra;
  FStartDate = AStartDate;
  FYearOffset = AYearOffset;
  FMinEraYear = AMinEraYear;
  FMaxEraYear = AMaxEraYear;
}

void TcxEra::Assign(TPersistent* ASource) {
  TcxEra* source = nullptr;
  if (!Safe::Cast(ASource, source)) {
    inherited::Assign(ASource);
    return;
  }
  FEra = source->FEra;
  FMaxEraYear = source->FMaxEraYear;
  FMinEraYear = source->FMinEraYear;
  FStartDate = source->FStartDate;
  FYearOffset = source->FYearOffset;
}

// ---------------------------------------------------------------------------
// TcxCustomCalendarTable: construction

void TcxCustomCalendarTable::Create() {
  inherited::Create();
  FEras.reset(New<TcxEras>());
  if (TdxFastObjectList* tables = CalendarTables()) tables->Add(this);
}

void TcxCustomCalendarTable::Destroy() {
  // Leaves the list without being freed by it.
  if (GCalendarTables) GCalendarTables->Extract(this);
  FEras.reset();
  inherited::Destroy();
}

// ---------------------------------------------------------------------------
// Eras

TcxEra* TcxCustomCalendarTable::NewDefaultEra() { return New<TcxEra>(-1, -700000.0, 0, 1, 9999); }

int TcxCustomCalendarTable::EraYearOffset(int AEra) const {
  if (AEra == -1) return DefaultEra()->YearOffset();
  if (AEra >= 0 && AEra < FEras->Count()) return FEras->Items(AEra)->YearOffset();
  return 0;
}

void TcxCustomCalendarTable::NormalizeEraYear(int& AYear, int& AEra) const { NormalizeEraDate(AYear, AEra, 1, 1); }

void TcxCustomCalendarTable::NormalizeEraDate(int& AYear, int& AEra, int AMonth, int ADay) const {
  const int gregorianYear = AYear + EraYearOffset(AEra);
  AEra = GetEra(gregorianYear, AMonth, ADay);
  if (AEra >= 0) AYear = gregorianYear - FEras->Items(AEra)->YearOffset();
}

int TcxCustomCalendarTable::GetEra(int AYear) const { return GetEra(AYear, 1, 1); }

int TcxCustomCalendarTable::GetEra(int AYear, int AMonth, int ADay) const {
  if (FEras->Empty() || AYear < 1) return -1;
  if (AYear > 9999) return FEras->Count() - 1;
  const TDateTime date = EncodeDate(AYear, AMonth, ADay);
  int result = -1;
  for (int i = 0; i < FEras->Count(); ++i)
    if (FEras->Items(i)->StartDate() <= date) result = i;
  return result;
}

// ---------------------------------------------------------------------------
// Range

void TcxCustomCalendarTable::ClampToSupportedRange(TDateTime& ADate) const {
  // Compared in time order: before 1899-12-30 a later time of a day is a
  // smaller TDateTime than its midnight.
  if (ChronologicalValue(ADate) < ChronologicalValue(MinSupportedDate()))
    ADate = MinSupportedDate();
  else if (!(ChronologicalValue(ADate) <= ChronologicalValue(MaxSupportedDate())))  // also not a number
    ADate = MaxSupportedDate();
}

int TcxCustomCalendarTable::TimeOfDay(const TcxDateTime& ADate) {
  TDateTime time = 0;
  if (!TryEncodeTime(ADate.Hours, ADate.Minutes, ADate.Seconds, ADate.Milliseconds, time))
    EncodeTime(ADate.Hours, ADate.Minutes, ADate.Seconds, ADate.Milliseconds);  // raises
  return ((ADate.Hours * 60 + ADate.Minutes) * 60 + ADate.Seconds) * 1000 + ADate.Milliseconds;
}

TDateTime TcxCustomCalendarTable::DayNumberToDateTime(int ADayNumber, const TcxDateTime& ATime) {
  return TimeStampToDateTime(TTimeStamp{TimeOfDay(ATime), ADayNumber});
}

TcxDateTime TcxCustomCalendarTable::CalendarDateTime(int AYear, int AMonth, int ADay, int AMilliseconds) {
  TcxDateTime result;
  result.Year = AYear;
  result.Month = AMonth;
  result.Day = ADay;
  result.Hours = static_cast<std::uint8_t>(AMilliseconds / 3600000);
  result.Minutes = static_cast<std::uint8_t>(AMilliseconds / 60000 % 60);
  result.Seconds = static_cast<std::uint8_t>(AMilliseconds / 1000 % 60);
  result.Milliseconds = static_cast<std::uint16_t>(AMilliseconds % 1000);
  return result;
}

// ---------------------------------------------------------------------------
// Arithmetic

TDateTime TcxCustomCalendarTable::AddDays(const TcxDateTime& ADate, int ACountDays) const {
  TDateTime result = ShiftDays(ToDateTime(ADate), ACountDays);
  ClampToSupportedRange(result);
  return result;
}

TDateTime TcxCustomCalendarTable::AddWeeks(TDateTime ADate, int ACountWeeks) const {
  return AddWeeks(FromDateTime(ADate), ACountWeeks);
}

TDateTime TcxCustomCalendarTable::AddWeeks(const TcxDateTime& ADate, int ACountWeeks) const {
  // So many days lie beyond every range anyway.
  const std::int64_t days = std::int64_t{7} * ACountWeeks;
  return AddDays(ADate, static_cast<int>(std::clamp<std::int64_t>(days, std::numeric_limits<int>::min(),
                                                                  std::numeric_limits<int>::max())));
}

TDateTime TcxCustomCalendarTable::AddMonths(TDateTime ADate, int ACountMonths) const {
  return AddMonths(FromDateTime(ADate), ACountMonths);
}

TDateTime TcxCustomCalendarTable::AddMonths(const TcxDateTime& ADate, int ACountMonths) const {
  if (!IsValidDay(ADate.Era, ADate.Year, ADate.Month, ADate.Day)) return MinSupportedDate();
  TcxDateTime date = ADate;
  std::int64_t month = std::int64_t{date.Month} + ACountMonths;
  // The direction is fixed once, so years of different lengths (Hebrew leap
  // years) are counted as they come.
  const bool forward = month > GetMonthsInYear(date.Era, date.Year);
  while (month > GetMonthsInYear(date.Era, date.Year) || month <= 0) {
    if (forward) {
      month -= GetMonthsInYear(date.Era, date.Year);
      ++date.Year;
    } else {
      --date.Year;
      month += GetMonthsInYear(date.Era, date.Year);
    }
    // Twelve thousand years away no era brings the date back into range.
    if (std::abs(std::int64_t{date.Year} - ADate.Year) > 12000) return MinSupportedDate();
  }
  date.Month = static_cast<int>(month);
  return SettledDate(date);
}

TDateTime TcxCustomCalendarTable::SettledDate(TcxDateTime ADate) const {
  if (!IsValidDay(ADate.Era, ADate.Year, ADate.Month, ADate.Day))
    ADate.Day = GetDaysInMonth(ADate.Era, ADate.Year, ADate.Month);
  NormalizeEraDate(ADate.Year, ADate.Era, ADate.Month, ADate.Day);
  // A date still invalid converts to MinSupportedDate.
  TDateTime result = ToDateTime(ADate);
  ClampToSupportedRange(result);
  return result;
}

TDateTime TcxCustomCalendarTable::AddYears(TDateTime ADate, int ACountYears) const {
  return AddYears(FromDateTime(ADate), ACountYears);
}

TDateTime TcxCustomCalendarTable::AddYears(const TcxDateTime& ADate, int ACountYears) const {
  if (!IsValidDay(ADate.Era, ADate.Year, ADate.Month, ADate.Day)) return MinSupportedDate();
  TcxDateTime date = ADate;
  const std::int64_t year = std::int64_t{date.Year} + ACountYears;
  if (year < std::numeric_limits<int>::min() / 2 || year > std::numeric_limits<int>::max() / 2)
    return MinSupportedDate();
  date.Year = static_cast<int>(year);
  NormalizeEraYear(date.Year, date.Era);
  if (!IsValidYear(date.Era, date.Year)) return MinSupportedDate();
  if (!IsValidMonth(date.Era, date.Year, date.Month)) date.Month = GetMonthsInYear(date.Era, date.Year);
  return SettledDate(date);
}

// ---------------------------------------------------------------------------
// Conversions

TcxDateTime TcxCustomCalendarTable::FromDateTime(int AYear, int AMonth, int ADay) const {
  return FromDateTime(EncodeDate(AYear, AMonth, ADay));
}

TcxDateTime TcxCustomCalendarTable::FromDateTime(int AYear, int AMonth, int ADay, int AHours, int AMinutes,
                                                 int ASeconds, int AMilliseconds) const {
  return FromDateTime(EncodeDateTime(AYear, AMonth, ADay, AHours, AMinutes, ASeconds, AMilliseconds));
}

TDateTime TcxCustomCalendarTable::ToDateTime(int AYear, int AMonth, int ADay) const {
  return ToDateTime(AYear, AMonth, ADay, 0, 0, 0, 0);
}

TDateTime TcxCustomCalendarTable::ToDateTime(int AYear, int AMonth, int ADay, int AHours, int AMinutes,
                                             int ASeconds, int AMilliseconds) const {
  EncodeTime(AHours, AMinutes, ASeconds, AMilliseconds);  // raises for an impossible time
  TcxDateTime date;
  date.Year = AYear;
  date.Month = AMonth;
  date.Day = ADay;
  date.Hours = static_cast<std::uint8_t>(AHours);
  date.Minutes = static_cast<std::uint8_t>(AMinutes);
  date.Seconds = static_cast<std::uint8_t>(ASeconds);
  date.Milliseconds = static_cast<std::uint16_t>(AMilliseconds);
  return ToDateTime(date);
}

TDateTime TcxCustomCalendarTable::ToDateTime(const TcxDate& ADate) const {
  TcxDateTime date;
  date.Era = ADate.Era;
  date.Year = ADate.Year;
  date.Month = ADate.Month;
  date.Day = ADate.Day;
  return ToDateTime(date);
}

// ---------------------------------------------------------------------------
// Days, months, years

int TcxCustomCalendarTable::GetDayOfYear(TDateTime ADate) const { return GetDayOfYear(FromDateTime(ADate)); }

int TcxCustomCalendarTable::GetDayOfYear(const TcxDateTime& ADate) const {
  // Months past the year's last one have no days to add.
  const int months = std::min(ADate.Month - 1, GetMonthsInYear(ADate.Year));
  int result = ADate.Day;
  for (int month = 1; month <= months; ++month) result += GetDaysInMonth(ADate.Year, month);
  return result;
}

int TcxCustomCalendarTable::GetDaysInMonth(int AYear, int AMonth) const { return GetDaysInMonth(-1, AYear, AMonth); }
int TcxCustomCalendarTable::GetDaysInYear(int AYear) const { return GetDaysInYear(-1, AYear); }
int TcxCustomCalendarTable::GetMonthsInYear(int AYear) const { return GetMonthsInYear(-1, AYear); }

TDateTime TcxCustomCalendarTable::GetFirstDayOfWeek(TDateTime ADate) const {
  return ToDateTime(GetFirstDayOfWeek(FromDateTime(ADate)));
}

TDateTime TcxCustomCalendarTable::GetFirstDayOfWeek(TDateTime ADate, TDay AStartDayOfWeek) const {
  int offset = static_cast<int>(AStartDayOfWeek) - static_cast<int>(GetWeekDay(ADate));
  if (offset > 0) offset -= 7;
  return ShiftDays(ADate, offset);
}

TcxDateTime TcxCustomCalendarTable::GetFirstDayOfWeek(const TcxDateTime& ADate) const {
  int offset = static_cast<int>(GetFirstWeekDay()) - static_cast<int>(GetWeekDay(ADate));
  if (offset > 0) offset -= 7;
  return FromDateTime(AddDays(ADate, offset));
}

TcxDateTime TcxCustomCalendarTable::GetFirstDayOfWeek(const TcxDateTime& ADate, TDay AStartDayOfWeek) const {
  return FromDateTime(GetFirstDayOfWeek(ToDateTime(ADate), AStartDayOfWeek));
}

TDateTime TcxCustomCalendarTable::GetFirstDayOfMonth(TDateTime ADate) const {
  return ToDateTime(GetFirstDayOfMonth(FromDateTime(ADate)));
}

TcxDateTime TcxCustomCalendarTable::GetFirstDayOfMonth(const TcxDateTime& ADate) const {
  TcxDateTime result = ADate;
  result.Day = 1;
  return result;
}

TDateTime TcxCustomCalendarTable::GetFirstDayOfYear(TDateTime ADate) const {
  return ToDateTime(GetFirstDayOfYear(FromDateTime(ADate)));
}

TcxDateTime TcxCustomCalendarTable::GetFirstDayOfYear(const TcxDateTime& ADate) const {
  TcxDateTime result = ADate;
  result.Month = 1;
  result.Day = 1;
  return result;
}

TDateTime TcxCustomCalendarTable::GetLastDayOfMonth(TDateTime ADate) const {
  return ToDateTime(GetLastDayOfMonth(FromDateTime(ADate)));
}

TcxDateTime TcxCustomCalendarTable::GetLastDayOfMonth(const TcxDateTime& ADate) const {
  TcxDateTime result = ADate;
  result.Day = GetDaysInMonth(ADate.Era, ADate.Year, ADate.Month);
  return result;
}

TDateTime TcxCustomCalendarTable::GetLastDayOfYear(TDateTime ADate) const {
  return ToDateTime(GetLastDayOfYear(FromDateTime(ADate)));
}

TcxDateTime TcxCustomCalendarTable::GetLastDayOfYear(const TcxDateTime& ADate) const {
  TcxDateTime result = ADate;
  result.Month = GetMonthsInYear(ADate.Era, ADate.Year);
  result.Day = GetDaysInMonth(ADate.Era, ADate.Year, result.Month);
  return result;
}

int TcxCustomCalendarTable::GetYear(TDateTime ADate) const { return FromDateTime(ADate).Year; }
int TcxCustomCalendarTable::GetYear(const TcxDate& ADate) const { return ADate.Year; }
int TcxCustomCalendarTable::GetYear(const TcxDateTime& ADate) const { return ADate.Year; }

TDay TcxCustomCalendarTable::GetWeekDay(TDateTime ADate) const { return WeekdayOf(ADate); }
TDay TcxCustomCalendarTable::GetWeekDay(const TcxDateTime& ADate) const { return GetWeekDay(ToDateTime(ADate)); }

int TcxCustomCalendarTable::GetWeekNumber(TDateTime ADate, TDay AStartOfWeek,
                                          TcxFirstWeekOfYear AFirstWeekOfYear) const {
  return GetWeekNumber(FromDateTime(ADate), AStartOfWeek, AFirstWeekOfYear);
}

// ---------------------------------------------------------------------------
// Leap days and validity

bool TcxCustomCalendarTable::IsLeapDay(int AYear, int AMonth, int ADay) const {
  return IsLeapDay(-1, AYear, AMonth, ADay);
}
bool TcxCustomCalendarTable::IsLeapMonth(int AYear, int AMonth) const { return IsLeapMonth(-1, AYear, AMonth); }
bool TcxCustomCalendarTable::IsLeapYear(int AYear) const { return IsLeapYear(-1, AYear); }

bool TcxCustomCalendarTable::IsValidYear(int AYear) const { return IsValidYear(-1, AYear); }

bool TcxCustomCalendarTable::IsValidYear(int, int AYear) const {
  return AYear >= GetFirstSupportedYear() && AYear <= GetLastSupportedYear();
}

bool TcxCustomCalendarTable::IsValidMonth(int AYear, int AMonth) const { return IsValidMonth(-1, AYear, AMonth); }

bool TcxCustomCalendarTable::IsValidMonth(int AEra, int AYear, int AMonth) const {
  return IsValidYear(AEra, AYear) && AMonth >= 1 && AMonth <= GetMonthsInYear(AEra, AYear);
}

bool TcxCustomCalendarTable::IsValidDay(int AYear, int AMonth, int ADay) const {
  return IsValidDay(-1, AYear, AMonth, ADay);
}

bool TcxCustomCalendarTable::IsValidDay(int AEra, int AYear, int AMonth, int ADay) const {
  return IsValidMonth(AEra, AYear, AMonth) && ADay >= 1 && ADay <= GetDaysInMonth(AEra, AYear, AMonth);
}

bool TcxCustomCalendarTable::IsValidDate(TDateTime ADate) const {
  const TcxDateTime date = FromDateTime(ADate);
  return IsValidDay(-1, date.Year, date.Month, date.Day);
}

// ---------------------------------------------------------------------------
// Numbers from text

bool TcxCustomCalendarTable::TryGetDayNumber(const String& S, int& AValue) const {
  int value = 0;
  if (!TryPositiveDecimal(S, value) || value > 31) return false;
  AValue = value;
  return true;
}

bool TcxCustomCalendarTable::TryGetMonthNumber(int, const String& S, int& AValue,
                                               const TFormatSettings& AFormat) const {
  if (TryPositiveDecimal(S, AValue)) return true;
  for (int i = 0; i < 12; ++i)
    if (AnsiSameText(S, AFormat.LongMonthNames[i]) || AnsiSameText(S, AFormat.ShortMonthNames[i])) {
      AValue = i + 1;
      return true;
    }
  return false;
}

int TcxCustomCalendarTable::TwoDigitYearMax() const {
  if (FTwoDigitYearMax != 0) return FTwoDigitYearMax;
  using TGetCalendarInfoW = int(WINAPI*)(LCID, CALID, CALTYPE, LPWSTR, int, LPDWORD);
  DWORD value = 0;
  if (HMODULE kernel = GetModuleHandleW(L"kernel32.dll"))
    if (auto getCalendarInfo = reinterpret_cast<TGetCalendarInfoW>(reinterpret_cast<void*>(GetProcAddress(kernel, "GetCalendarInfoW"))))
      if (!getCalendarInfo(GetThreadLocale(), static_cast<CALID>(CalendarID()), CAL_ITWODIGITYEARMAX | CAL_RETURN_NUMBER,
                           nullptr, 0, &value))
        value = 0;
  if (value == 0) {
    // Without the calendar's own window, the Gregorian one placed in this
    // calendar's years; never below 99, so that two digits never fall before
    // the calendar's first year.
    const TDateTime lastDay = EncodeDate(2049, 12, 31);
    const TDateTime clamped = std::clamp(lastDay, MinSupportedDate(), MaxSupportedDate());
    value = static_cast<DWORD>(std::max(99, FromDateTime(clamped).Year));
  }
  FTwoDigitYearMax = static_cast<int>(value);
  return FTwoDigitYearMax;
}

bool TcxCustomCalendarTable::TryGetYearNumber(const String& S, int& AValue) const {
  int value = 0;
  if (!TryPositiveDecimal(S, value)) return false;
  if (S.size() <= 2) {
    const int maximum = TwoDigitYearMax();
    const int century = maximum / 100 * 100;
    value += century;
    if (value - century > maximum % 100) value -= 100;
  }
  AValue = value;
  return true;
}

int TcxCustomCalendarTable::GetDayNumber(const String& S) const {
  int value = 0;
  if (!TryGetDayNumber(S, value)) RaiseInvalidNumber(S);
  return value;
}

int TcxCustomCalendarTable::GetMonthNumber(int AYear, const String& S) const {
  return GetMonthNumber(AYear, S, FormatSettings);
}

int TcxCustomCalendarTable::GetMonthNumber(int AYear, const String& S, const TFormatSettings& AFormat) const {
  int value = 0;
  if (!TryGetMonthNumber(AYear, S, value, AFormat)) RaiseInvalidNumber(S);
  return value;
}

int TcxCustomCalendarTable::GetYearNumber(const String& S) const {
  int value = 0;
  if (!TryGetYearNumber(S, value)) RaiseInvalidNumber(S);
  return value;
}

// ---------------------------------------------------------------------------
// The registry of tables

TdxFastObjectList* CalendarTables() {
  if (!GCalendarTables && !GCalendarTablesFinalized) GCalendarTables = New<TdxFastObjectList>(true);
  return GCalendarTables;
}

TClass GetCalendarTableClass(int ACalendarID) {
  switch (ACalendarID) {
    case cxCalendarGregorianUSEnglish: return TcxGregorianUSEnglishCalendarTable::ClassInfo();
    case cxCalendarJapanese: return TcxJapaneseCalendarTable::ClassInfo();
    case cxCalendarTaiwan: return TcxTaiwanCalendarTable::ClassInfo();
    case cxCalendarKorean: return TcxKoreanCalendarTable::ClassInfo();
    case cxCalendarHijri: return TcxHijriCalendarTable::ClassInfo();
    case cxCalendarThai: return TcxThaiCalendarTable::ClassInfo();
    case cxCalendarHebrew: return TcxHebrewCalendarTable::ClassInfo();
    case cxCalendarGregorianMiddleEastFrench: return TcxGregorianMiddleEastFrenchCalendarTable::ClassInfo();
    case cxCalendarGregorianArabic: return TcxGregorianArabicCalendarTable::ClassInfo();
    case cxCalendarGregorianTransliteratedEnglish: return TcxGregorianTransliteratedEnglishCalendarTable::ClassInfo();
    case cxCalendarGregorianTransliteratedFrench: return TcxGregorianTransliteratedFrenchCalendarTable::ClassInfo();
    default: return TcxGregorianCalendarTable::ClassInfo();
  }
}

TcxCustomCalendarTable* FindCalendarTable(int ACalendarID) {
  if (!GCalendarTables) return nullptr;
  for (int i = 0; i < GCalendarTables->Count(); ++i) {
    auto* table = static_cast<TcxCustomCalendarTable*>(GCalendarTables->Items(i));
    if (table->CalendarID() == ACalendarID) return table;
  }
  return nullptr;
}

TcxCustomCalendarTable* GetCalendarTable(int ACalendarID) {
  // An id without a table of its own is served by the Gregorian table, which
  // is found under its own id: one table for all of them, not a new one per call.
  const bool known = ACalendarID >= cxCalendarGregorian && ACalendarID <= cxCalendarGregorianTransliteratedFrench;
  const int id = known ? ACalendarID : cxCalendarGregorian;
  if (TcxCustomCalendarTable* table = FindCalendarTable(id)) return table;
  if (!CalendarTables()) return nullptr;
  return NewOfClass<TcxCustomCalendarTable>(GetCalendarTableClass(id));
}

int GetLocaleCalendarType(LCID ALocale) {
  return StrToIntDef(GetLocaleInfoText(ALocale, LOCALE_ICALENDARTYPE), cxCalendarGregorian);
}

TcxCustomCalendarTable* GetLocaleCalendarTable() { return GetCalendarTable(GetLocaleCalendarType(GetThreadLocale())); }

bool IsGregorianCalendar(const TcxCustomCalendarTable* ATable) {
  if (!ATable) ATable = GetLocaleCalendarTable();
  // Once the tables are gone, the locale's calendar id itself.
  const int id = ATable ? ATable->CalendarID() : GetLocaleCalendarType(GetThreadLocale());
  return id == cxCalendarGregorian || id == cxCalendarGregorianUSEnglish ||
         (id >= cxCalendarGregorianMiddleEastFrench && id <= cxCalendarGregorianTransliteratedFrench);
}

// ---------------------------------------------------------------------------
// Locale pictures

namespace {

String ThreadLocaleText(LCTYPE AType) { return GetLocaleInfoText(GetThreadLocale(), AType); }

wchar_t FirstCharOf(const String& S) { return S.empty() ? L'\0' : S[0]; }

}  // namespace

String GetLocaleShortDateFormat() { return ThreadLocaleText(LOCALE_SSHORTDATE); }
String GetLocaleLongDateFormat() { return ThreadLocaleText(LOCALE_SLONGDATE); }
String GetLocaleLongTimeFormat() { return ThreadLocaleText(LOCALE_STIMEFORMAT); }
String GetLocaleAMString() { return ThreadLocaleText(LOCALE_S1159); }
String GetLocalePMString() { return ThreadLocaleText(LOCALE_S2359); }
wchar_t GetLocaleDateSeparator() { return FirstCharOf(ThreadLocaleText(LOCALE_SDATE)); }
wchar_t GetLocaleTimeSeparator() { return FirstCharOf(ThreadLocaleText(LOCALE_STIME)); }

void GetLocaleFormatSettings(TFormatSettings& S) {
  S.DateSeparator = GetLocaleDateSeparator();
  S.ShortDateFormat = GetLocaleShortDateFormat();
  S.LongDateFormat = GetLocaleLongDateFormat();
  S.TimeSeparator = GetLocaleTimeSeparator();
  S.LongTimeFormat = GetLocaleLongTimeFormat();
  S.TimeAMString = GetLocaleAMString();
  S.TimePMString = GetLocalePMString();
  S.ListSeparator = FormatSettings.ListSeparator;
}

// ---------------------------------------------------------------------------
// Formatting

namespace {

bool UseRunTimeFormats() {
  const TcxFormatController* controller = FormatController();
  return controller && controller->UseTarnelDateTimeFormats();
}

bool UseRunTimeFormatsForLocale() {
  const TcxFormatController* controller = FormatController();
  return controller && controller->UseTarnelDateTimeFormats() && controller->LocalIsGregorianCalendar();
}

String TwoDigitsOf(int AValue) {
  String r = IntToStr(AValue % 100);
  return r.size() < 2 ? L"0" + r : r;
}

String FourDigitsOf(int AValue) {
  String r = IntToStr(AValue % 10000);
  while (r.size() < 4) r.insert(r.begin(), L'0');
  return r;
}

bool IsPictureStart(wchar_t AChar) {
  const wchar_t c = static_cast<wchar_t>(std::towlower(AChar));
  return c == L'"' || c == L'\'' || c == L'd' || c == L'm' || c == L'y';
}

}  // namespace

bool FormatDateByLocale(String& S, DWORD AFlags, const String& AFormat, TDateTime ADate) {
  if (UseRunTimeFormatsForLocale()) {
    S = FormatDatePicture(AFormat.empty() ? FormatSettings.LongDateFormat : AFormat, L'\0', ADate);
    return true;
  }
  const SYSTEMTIME st = DateTimeToSystemTime(ADate);
  wchar_t buffer[256];
  const int length =
      GetDateFormatW(GetThreadLocale(), AFlags, &st, AFormat.empty() ? nullptr : AFormat.c_str(), buffer, 256);
  if (length <= 0) {
    S.clear();
    return false;
  }
  S.assign(buffer, static_cast<std::size_t>(length - 1));
  return true;
}

String FormatDatePicture(const String& APicture, wchar_t ASeparator, TDateTime ADate) {
  const SYSTEMTIME st = DateTimeToSystemTime(ADate);
  String result;
  String pending;
  const auto append = [&](const String& APart) {
    if (!result.empty() || !pending.empty()) {
      if (ASeparator != L'\0')
        result += ASeparator;
      else
        result += pending;
    }
    result += APart;
    pending.clear();
  };
  const std::size_t n = APicture.size();
  std::size_t i = 0;
  const auto skipToPictureStart = [&] {
    while (i < n && !IsPictureStart(APicture[i])) ++i;
  };
  skipToPictureStart();
  while (i < n) {
    const wchar_t c = APicture[i];
    const wchar_t lower = static_cast<wchar_t>(std::towlower(c));
    if (c == L'"' || c == L'\'') {
      const std::size_t close = APicture.find(c, i + 1);
      const std::size_t end = close == String::npos ? n : close;
      pending.append(APicture, i + 1, end - i - 1);
      i = close == String::npos ? n : close + 1;
      continue;
    }
    if (lower == L'd' || lower == L'm' || lower == L'y') {
      std::size_t run = 1;
      while (i + run < n && std::towlower(APicture[i + run]) == lower) ++run;
      i += run;
      if (lower == L'd') {
        if (run == 3)
          append(FormatSettings.ShortDayNames[st.wDayOfWeek % 7]);
        else if (run == 4)
          append(FormatSettings.LongDayNames[st.wDayOfWeek % 7]);
        else if (run == 2)
          append(TwoDigitsOf(st.wDay));
        else
          append(IntToStr(st.wDay));
      } else if (lower == L'm') {
        append(run == 4 && st.wMonth >= 1 && st.wMonth <= 12 ? FormatSettings.LongMonthNames[st.wMonth - 1]
                                                             : TwoDigitsOf(st.wMonth));
      } else {
        append(run == 4 ? FourDigitsOf(st.wYear) : TwoDigitsOf(st.wYear));
      }
      continue;
    }
    if (lower == L'e') {
      pending.clear();
      ++i;
      skipToPictureStart();
      continue;
    }
    pending += c;
    ++i;
  }
  return result;
}

String GetCalendarMonthName(const TcxCustomCalendarTable* ATable, TDateTime ADate) {
  TcxDateTime date = ATable->FromDateTime(ADate);
  date.Day = 1;
  if (!(IsGregorianCalendar(ATable) && UseRunTimeFormats())) {
    String name;
    if (FormatDateByLocale(name, 0, L"MMMM", ATable->ToDateTime(date))) return name;
  }
  return date.Month >= 1 && date.Month <= 12 ? FormatSettings.LongMonthNames[date.Month - 1] : String();
}

String GetCalendarMonthNameOf(const TcxCustomCalendarTable* ATable, int AYear, int AMonth) {
  if (IsGregorianCalendar(ATable) && UseRunTimeFormats())
    return AMonth >= 1 && AMonth <= 12 ? FormatSettings.LongMonthNames[AMonth - 1] : String();
  if (!ATable->IsValidMonth(AYear, AMonth)) return String();
  return GetCalendarMonthName(ATable, ATable->ToDateTime(AYear, AMonth, 1));
}

// ---------------------------------------------------------------------------
// Smart input

void LoadSmartInputKeywords() {
  static constexpr PResStringRec keywords[cxSmartInputKeywordCount] = {
      &cxSDateToday,     &cxSDateYesterday, &cxSDateTomorrow, &cxSDateSunday,   &cxSDateMonday,
      &cxSDateTuesday,   &cxSDateWednesday, &cxSDateThursday, &cxSDateFriday,   &cxSDateSaturday,
      &cxSDateFirst,     &cxSDateSecond,    &cxSDateThird,    &cxSDateFourth,   &cxSDateFifth,
      &cxSDateSixth,     &cxSDateSeventh,   &cxSDateBOM,      &cxSDateEOM,      &cxSDateNow};
  GSmartInputKeywords.resize(cxSmartInputKeywordCount);
  for (int i = 0; i < cxSmartInputKeywordCount; ++i) GSmartInputKeywords[i] = LoadLocalizedResString(keywords[i]);
}

const std::vector<String>& SmartInputKeywords() { return GSmartInputKeywords; }

void AddQuotedRegExprLiteral(String& AText, const String& AKeyword) {
  std::size_t i = 0;
  while (i < AKeyword.size()) {
    if (AKeyword[i] == L'\'') {
      AText += L"\\'";
      ++i;
      continue;
    }
    const std::size_t end = std::min(AKeyword.find(L'\'', i), AKeyword.size());
    AText += L'\'';
    AText.append(AKeyword, i, end - i);
    AText += L'\'';
    i = end;
  }
}

void AddSmartInputToRegExpr(String& AMask, bool ACanEnterTime) {
  LoadSmartInputKeywords();
  String result = L"(" + AMask + L")|(";
  AddQuotedRegExprLiteral(result, GSmartInputKeywords[0]);
  const int count = ACanEnterTime ? cxSmartInputKeywordCount : cxSmartInputKeywordCount - 1;
  for (int i = 1; i < count; ++i) {
    result += L'|';
    AddQuotedRegExprLiteral(result, GSmartInputKeywords[i]);
  }
  result += L")((\\+|-)\\d(\\d(\\d\\d?)?)?)?";
  AMask = std::move(result);
}

// ---------------------------------------------------------------------------
// Week arithmetic

TDay GetStartOfWeek() { return GStartOfWeekAssigned ? GAssignedStartOfWeek : GetLocaleStartOfWeek(); }

void SetAssignedStartOfWeek(TDay AValue) {
  GAssignedStartOfWeek = AValue;
  GStartOfWeekAssigned = true;
}

void ClearAssignedStartOfWeek() { GStartOfWeekAssigned = false; }
bool IsStartOfWeekAssigned() { return GStartOfWeekAssigned; }

TDay GetLocaleStartOfWeek() {
  // Windows counts from Monday (0) to Sunday (6).
  const int value = StrToIntDef(ThreadLocaleText(LOCALE_IFIRSTDAYOFWEEK), 0);
  return static_cast<TDay>((std::clamp(value, 0, 6) + 1) % 7);
}

TcxFirstWeekOfYear GetLocaleFirstWeekOfYear() {
  const String text = ThreadLocaleText(LOCALE_IFIRSTWEEKOFYEAR);
  const wchar_t c = text.empty() ? L'0' : text[0];
  const int value = c >= L'0' && c <= L'2' ? c - L'0' : 0;
  return static_cast<TcxFirstWeekOfYear>(value + 1);
}

TDay WeekdayFromRunTime(int AValue) { return static_cast<TDay>((AValue + 6) % 7); }
TDay WeekdayOf(TDateTime ADate) { return WeekdayFromRunTime(DayOfWeek(ADate)); }

int DayOffsetFromStartOfWeek(TDay AStartOfWeek, TDateTime ADate) {
  int offset = static_cast<int>(WeekdayOf(ADate)) - static_cast<int>(AStartOfWeek);
  if (offset < 0) offset += 7;
  return offset;
}

int DayOffsetInWeek(TDateTime ADate) { return DayOffsetFromStartOfWeek(GetStartOfWeek(), ADate); }

int DateDayNumber(TDateTime ADate) {
  if (ADate == cxNullDayNumber) return cxNullDayNumber;
  return DateTimeToTimeStamp(ADate).Date - DateDelta;
}

int StartOfWeekDate(TDateTime ADate) { return DateDayNumber(ADate) - DayOffsetInWeek(ADate); }

int FirstWeekStart(int AYear, TcxFirstWeekOfYear AFirstWeekOfYear) {
  TDateTime january1 = 0;
  if (!TryEncodeDate(AYear, 1, 1, january1)) return cxInvalidWeekStart;
  switch (AFirstWeekOfYear) {
    case fwyJan1: return StartOfWeekDate(january1);
    case fwyFirstFourDays: return StartOfWeekDate(january1 + 3);
    default: return StartOfWeekDate(january1 + 6);
  }
}

int GetGregorianWeekNumber(TDateTime ADate, TcxFirstWeekOfYear AFirstWeekOfYear) {
  if (AFirstWeekOfYear == fwySystem) AFirstWeekOfYear = GetLocaleFirstWeekOfYear();
  int year = 0, month = 0, day = 0;
  DecodeDate(ADate, year, month, day);
  const int date = DateDayNumber(ADate);
  if (month == 12) {
    const int next = FirstWeekStart(year + 1, AFirstWeekOfYear);
    if (next != cxInvalidWeekStart && next <= date) return 1;
  }
  int start = FirstWeekStart(year, AFirstWeekOfYear);
  if (month == 1 && date < start) start = FirstWeekStart(year - 1, AFirstWeekOfYear);
  return static_cast<int>((std::int64_t{date} - start) / 7 + 1);
}

// ---------------------------------------------------------------------------
// The unit

void cxDateUtilsInitialization() {
  GAssignedStartOfWeek = GetLocaleStartOfWeek();
  GStartOfWeekAssigned = false;
  GCalendarTablesFinalized = false;
  if (TdxUnitsLoader* loader = GetUnitsLoader())
    loader->AddUnit(&TdxTimeZoneHelper::LoadTimeZonesOnFirstUse, &TdxTimeZoneHelper::ClearTimeZones);
  else
    TdxTimeZoneHelper::LoadTimeZonesOnFirstUse();
}

void cxDateUtilsFinalization() {
  if (TdxUnitsLoader* loader = GetUnitsLoader())
    loader->RemoveUnit(&TdxTimeZoneHelper::ClearTimeZones);
  else
    TdxTimeZoneHelper::ClearTimeZones();
  GCalendarTablesFinalized = true;
  FreeAndNil(GCalendarTables);
  GSmartInputKeywords = {};
  TdxTimeZoneHelper::ClearTimeZones();
}
