// The lunar calendar tables: the tabular Hijri calendar and the Hebrew
// calendar of the Gregorian years 1583 to 2239.
//
// Both convert through day numbers (0001-01-01 is day 1): the run-time's time
// stamp carries exactly that number, so dates before 1899-12-30 with a time
// of day come apart and go together without the sign trap of TDateTime.
#include "library/core/locale/cxDateUtils.h"

#include <array>
#include <cstdint>

namespace {

// The date of a day number, at midnight.
TDateTime DateOfDayNumber(int ADayNumber) { return static_cast<TDateTime>(ADayNumber - DateDelta); }

// The week number of both lunar tables: weeks start on the table's own first
// week day; the first week is chosen by AFirstWeekOfYear.
int LunarWeekNumber(const TcxCustomCalendarTable& ATable, const TcxDateTime& ADate,
                    TcxFirstWeekOfYear AFirstWeekOfYear) {
  if (AFirstWeekOfYear == fwySystem) AFirstWeekOfYear = GetLocaleFirstWeekOfYear();
  TcxDateTime firstDay = ADate;
  firstDay.Month = 1;
  firstDay.Day = 1;
  int start = DateDayNumber(ATable.ToDateTime(ATable.GetFirstDayOfWeek(firstDay)));
  // Whole days of TDateTime (DateDayNumber), not day numbers from 0001-01-01.
  const auto inPreviousYear = [&](int ADay) { return ATable.FromDateTime(ADay).Year < ADate.Year; };
  if ((AFirstWeekOfYear == fwyFirstFullWeek && inPreviousYear(start)) ||
      (AFirstWeekOfYear == fwyFirstFourDays && inPreviousYear(start + 3)))
    start += 7;
  const int date = DateDayNumber(ATable.ToDateTime(ADate));
  int result = (date - start) / 7 + 1;
  if (ADate.Month == ATable.GetMonthsInYear(ADate.Era, ADate.Year)) {
    const int weekStart = DateDayNumber(ATable.ToDateTime(ATable.GetFirstDayOfWeek(ADate)));
    const auto inFirstMonth = [&](int ADay) { return ATable.FromDateTime(ADay).Month == 1; };
    if ((AFirstWeekOfYear == fwyJan1 && inFirstMonth(weekStart + 6)) ||
        (AFirstWeekOfYear == fwyFirstFourDays && inFirstMonth(weekStart + 3)))
      result = 1;
  }
  return result;
}

// ---------------------------------------------------------------------------
// Hijri arithmetic

// 1 Muharram 1 is day number HijriEpoch + 1 (0622-07-18).
constexpr int HijriEpoch = 227013;

constexpr bool IsHijriLeapYear(int AYear) {
  switch (AYear % 30) {
    case 2: case 5: case 7: case 10: case 13: case 15: case 18: case 21: case 24: case 26: case 29: return true;
    default: return false;
  }
}

// Leap years among the years 1 to j of a cycle.
constexpr std::array<int, 30> HijriLeapYearsUpTo = [] {
  std::array<int, 30> r{};
  for (int j = 1; j < 30; ++j) r[j] = r[j - 1] + (IsHijriLeapYear(j) ? 1 : 0);
  return r;
}();

// Days before 1 Muharram of AYear (>= 1), counted from the epoch.
constexpr int HijriDaysBeforeYear(int AYear) {
  const int k = AYear - 1;
  return 354 * k + 11 * (k / 30) + HijriLeapYearsUpTo[k % 30];
}

constexpr int HijriDaysInMonth(int AYear, int AMonth) {
  if (AMonth == 12 && IsHijriLeapYear(AYear)) return 30;
  return AMonth % 2 == 0 ? 29 : 30;
}

// Days of the months before AMonth (1 to 12): odd months 30, even 29.
constexpr int HijriDaysBeforeMonth(int AMonth) { return 29 * (AMonth - 1) + AMonth / 2; }

// ---------------------------------------------------------------------------
// Hebrew arithmetic
//
// The year table is made at compile time from the rules of the calendar
// (the molad of Tishrei and its postponements), and the day number of each
// new year from the table.

constexpr int HebrewFirstGregorianYear = 1583;
constexpr int HebrewLastGregorianYear = 2239;
constexpr int HebrewYearCount = HebrewLastGregorianYear - HebrewFirstGregorianYear + 1;
constexpr int HebrewGregorianOffset = 3760;

// Row: the year type (1 to 3 common, 4 to 6 leap); index: the month.
constexpr int HebrewMonthDays[7][14] = {
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {0, 30, 29, 29, 29, 30, 29, 30, 29, 30, 29, 30, 29, 0},
    {0, 30, 29, 30, 29, 30, 29, 30, 29, 30, 29, 30, 29, 0},
    {0, 30, 30, 30, 29, 30, 29, 30, 29, 30, 29, 30, 29, 0},
    {0, 30, 29, 29, 29, 30, 30, 29, 30, 29, 30, 29, 30, 29},
    {0, 30, 29, 30, 29, 30, 30, 29, 30, 29, 30, 29, 30, 29},
    {0, 30, 30, 30, 29, 30, 30, 29, 30, 29, 30, 29, 30, 29},
};

// Days of the months before a month, per row.
constexpr std::array<std::array<int, 15>, 7> HebrewDaysBeforeMonth = [] {
  std::array<std::array<int, 15>, 7> r{};
  for (int row = 0; row < 7; ++row)
    for (int month = 1; month <= 14; ++month) r[row][month] = r[row][month - 1] + HebrewMonthDays[row][month - 1];
  return r;
}();

constexpr int GregorianDayNumber(int AYear, int AMonth, int ADay) {
  constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const int y = AYear - 1;
  int result = 365 * y + y / 4 - y / 100 + y / 400 + ADay;
  for (int m = 1; m < AMonth; ++m) result += days[m - 1];
  if (AMonth > 2 && ((AYear % 4 == 0 && AYear % 100 != 0) || AYear % 400 == 0)) ++result;
  return result;
}

// Days from the epoch of the calendar to its new year AYear, before the
// postponements that depend on the neighbouring years.
constexpr std::int64_t HebrewElapsedDays(std::int64_t AYear) {
  const std::int64_t months = (235 * AYear - 234) / 19;
  const std::int64_t parts = 12084 + 13753 * months;
  const std::int64_t day = 29 * months + parts / 25920;
  return (3 * (day + 1)) % 7 < 3 ? day + 1 : day;
}

// The day number of 1 Tishrei of AYear.
constexpr int HebrewNewYear(int AYear) {
  constexpr std::int64_t epoch = -1373427;  // 1 Tishrei 1, in the proleptic Gregorian day count
  const std::int64_t previous = HebrewElapsedDays(AYear - 1);
  const std::int64_t current = HebrewElapsedDays(AYear);
  const std::int64_t next = HebrewElapsedDays(AYear + 1);
  std::int64_t correction = 0;
  if (next - current == 356)
    correction = 2;
  else if (current - previous == 382)
    correction = 1;
  return static_cast<int>(epoch + current + correction);
}

constexpr int HebrewYearTypeOfLength(int ALength) {
  switch (ALength) {
    case 353: return 1;
    case 354: return 2;
    case 355: return 3;
    case 383: return 4;
    case 384: return 5;
    case 385: return 6;
    default: throw "a Hebrew year has 353 to 355 or 383 to 385 days";
  }
}

// The code of January 1 by its Hebrew month and day (Kislev 3, Tevet 4, Shevat 5).
constexpr int HebrewJanuaryFirstCode(int AMonth, int ADay) {
  if (AMonth == 4) return ADay;
  if (AMonth == 5 && ADay <= 3) return ADay == 1 ? 0 : 29 + ADay;
  if (AMonth == 3 && ADay >= 29) return ADay == 30 ? 30 : 33;
  throw "January 1 falls between Kislev 29 and Shevat 3";
}

constexpr std::array<TcxHebrewYearInfo, HebrewYearCount> HebrewYearTable = [] {
  std::array<TcxHebrewYearInfo, HebrewYearCount> r{};
  for (int i = 0; i < HebrewYearCount; ++i) {
    const int gregorian = HebrewFirstGregorianYear + i;
    const int year = gregorian + HebrewGregorianOffset;
    const int newYear = HebrewNewYear(year);
    const int type = HebrewYearTypeOfLength(HebrewNewYear(year + 1) - newYear);
    int offset = GregorianDayNumber(gregorian, 1, 1) - newYear;
    int month = 1;
    while (offset >= HebrewMonthDays[type][month]) offset -= HebrewMonthDays[type][month++];
    r[i] = {HebrewJanuaryFirstCode(month, offset + 1), type};
  }
  return r;
}();

// The Hebrew month and day a January-1 code stands for.
constexpr void DecodeHebrewJanuaryFirst(int ACode, int& AMonth, int& ADay) {
  switch (ACode) {
    case 0: AMonth = 5; ADay = 1; break;
    case 31: AMonth = 5; ADay = 2; break;
    case 32: AMonth = 5; ADay = 3; break;
    case 30: AMonth = 3; ADay = 30; break;
    case 33: AMonth = 3; ADay = 29; break;
    default: AMonth = 4; ADay = ACode; break;
  }
}

// The day number of 1 Tishrei of each year 5343 to 6000, read back from the
// year table.
constexpr std::array<int, HebrewYearCount + 1> HebrewNewYears = [] {
  std::array<int, HebrewYearCount + 1> r{};
  for (int i = 0; i < HebrewYearCount; ++i) {
    int month = 0, day = 0;
    DecodeHebrewJanuaryFirst(HebrewYearTable[i].JanuaryFirst, month, day);
    const int dayOfYear = HebrewDaysBeforeMonth[HebrewYearTable[i].YearType][month] + day;
    r[i] = GregorianDayNumber(HebrewFirstGregorianYear + i, 1, 1) - dayOfYear + 1;
  }
  const TcxHebrewYearInfo& last = HebrewYearTable[HebrewYearCount - 1];
  r[HebrewYearCount] = r[HebrewYearCount - 1] + HebrewDaysBeforeMonth[last.YearType][14];
  return r;
}();

static_assert(HebrewYearTable[0].JanuaryFirst == 7 && HebrewYearTable[0].YearType == 3);
static_assert(HebrewYearTable[HebrewYearCount - 1].JanuaryFirst == 24 &&
              HebrewYearTable[HebrewYearCount - 1].YearType == 6);
static_assert(HebrewNewYears[5785 - TcxHebrewCalendarTable::FirstYear] == GregorianDayNumber(2024, 10, 3));

constexpr bool IsHebrewYearInTable(int AYear) {
  return AYear >= TcxHebrewCalendarTable::FirstYear && AYear <= TcxHebrewCalendarTable::LastYear;
}

// The table row of a year in the table (1 to 6).
int HebrewRow(int AYear) { return HebrewYearTable[AYear - TcxHebrewCalendarTable::FirstYear].YearType; }

int HebrewNewYearOf(int AYear) { return HebrewNewYears[AYear - TcxHebrewCalendarTable::FirstYear]; }

}  // namespace

TcxHebrewYearInfo HebrewYearInfo(int AGregorianYear) {
  if (AGregorianYear < HebrewFirstGregorianYear || AGregorianYear > HebrewLastGregorianYear) return {0, 0};
  return HebrewYearTable[AGregorianYear - HebrewFirstGregorianYear];
}

int HebrewNumeralValue(const String& S) {
  // Alef to tav in code-page order, each final form before its ordinary form.
  static constexpr int values[27] = {1,  2,  3,  4,  5,  6,  7,  8,   9,   10,  20,  20,  30, 40,
                                     40, 50, 50, 60, 70, 80, 80, 90, 90, 100, 200, 300, 400};
  int result = 0;
  for (wchar_t c : S)
    if (c >= 0x05D0 && c <= 0x05EA) result += values[c - 0x05D0];
  return result;
}

// ---------------------------------------------------------------------------
// TcxHijriCalendarTable

void TcxHijriCalendarTable::Create() {
  inherited::Create();
  FDefaultEra.reset(NewDefaultEra());
}

void TcxHijriCalendarTable::Destroy() {
  FDefaultEra.reset();
  inherited::Destroy();
}

TDateTime TcxHijriCalendarTable::MinSupportedDate() const { return DateOfDayNumber(HijriEpoch + 1); }
TDateTime TcxHijriCalendarTable::MaxSupportedDate() const { return EncodeDateTime(9999, 12, 31, 23, 59, 59, 999); }

bool TcxHijriCalendarTable::IsLeapYear(int, int AYear) const { return IsHijriLeapYear(AYear); }

bool TcxHijriCalendarTable::IsLeapMonth(int AEra, int AYear, int AMonth) const {
  return AMonth == 12 && IsLeapYear(AEra, AYear);
}

bool TcxHijriCalendarTable::IsLeapDay(int AEra, int AYear, int AMonth, int ADay) const {
  return ADay == 30 && IsLeapMonth(AEra, AYear, AMonth);
}

int TcxHijriCalendarTable::GetDaysInMonth(int AEra, int AYear, int AMonth) const {
  if (IsLeapMonth(AEra, AYear, AMonth)) return 30;
  return AMonth % 2 == 0 ? 29 : 30;
}

int TcxHijriCalendarTable::GetDaysInYear(int AEra, int AYear) const { return IsLeapYear(AEra, AYear) ? 355 : 354; }

TcxDateTime TcxHijriCalendarTable::FromDateTime(TDateTime ADate) const {
  ClampToSupportedRange(ADate);
  const TTimeStamp stamp = DateTimeToTimeStamp(ADate);
  int n = stamp.Date - HijriEpoch;
  int year = 30 * n / 10631 + 1;
  n -= HijriDaysBeforeYear(year);
  int month = 1;
  while (HijriDaysInMonth(year, month) < n) {
    n -= HijriDaysInMonth(year, month);
    if (++month > 12) {
      month = 1;
      ++year;
    }
  }
  // n = 0: the estimate of the year went one day too far.
  if (n == 0) return CalendarDateTime(year - 1, 12, HijriDaysInMonth(year - 1, 12), stamp.Time);
  return CalendarDateTime(year, month, n, stamp.Time);
}

TDateTime TcxHijriCalendarTable::ToDateTime(const TcxDateTime& ADateTime) const {
  if (!IsValidDay(ADateTime.Era, ADateTime.Year, ADateTime.Month, ADateTime.Day)) return MinSupportedDate();
  const int dayNumber =
      HijriEpoch + HijriDaysBeforeYear(ADateTime.Year) + HijriDaysBeforeMonth(ADateTime.Month) + ADateTime.Day;
  TDateTime result = DayNumberToDateTime(dayNumber, ADateTime);
  ClampToSupportedRange(result);
  return result;
}

int TcxHijriCalendarTable::GetWeekNumber(const TcxDateTime& ADate, TDay, TcxFirstWeekOfYear AFirstWeekOfYear) const {
  return LunarWeekNumber(*this, ADate, AFirstWeekOfYear);
}

bool TcxHijriCalendarTable::TryGetMonthNumber(int AYear, const String& S, int& AValue,
                                              const TFormatSettings& AFormat) const {
  for (int month = 1; month <= 12; ++month) {
    const String name = GetCalendarMonthNameOf(this, AYear, month);
    if (!name.empty() && AnsiSameText(S, name)) {
      AValue = month;
      return true;
    }
  }
  return inherited::TryGetMonthNumber(AYear, S, AValue, AFormat);
}

// ---------------------------------------------------------------------------
// TcxHebrewCalendarTable

void TcxHebrewCalendarTable::Create() {
  inherited::Create();
  FDefaultEra.reset(NewDefaultEra());
}

void TcxHebrewCalendarTable::Destroy() {
  FDefaultEra.reset();
  inherited::Destroy();
}

TDateTime TcxHebrewCalendarTable::MinSupportedDate() const { return EncodeDate(1583, 1, 1); }
TDateTime TcxHebrewCalendarTable::MaxSupportedDate() const { return EncodeDateTime(2239, 9, 29, 23, 59, 59, 999); }

int TcxHebrewCalendarTable::GetYearType(int AYear) const {
  if (!IsHebrewYearInTable(AYear)) return 0;
  const int type = HebrewRow(AYear);
  return type > 3 ? type - 3 : type;
}

bool TcxHebrewCalendarTable::IsLeapYear(int, int AYear) const {
  return IsHebrewYearInTable(AYear) && HebrewRow(AYear) >= 4;
}

bool TcxHebrewCalendarTable::IsLeapMonth(int AEra, int AYear, int AMonth) const {
  return AMonth == 7 && IsLeapYear(AEra, AYear) && IsValidMonth(AEra, AYear, AMonth);
}

bool TcxHebrewCalendarTable::IsLeapDay(int AEra, int AYear, int AMonth, int ADay) const {
  return IsLeapMonth(AEra, AYear, AMonth) && IsValidDay(AEra, AYear, AMonth, ADay);
}

int TcxHebrewCalendarTable::GetMonthsInYear(int AEra, int AYear) const { return IsLeapYear(AEra, AYear) ? 13 : 12; }

int TcxHebrewCalendarTable::GetDaysInMonth(int AEra, int AYear, int AMonth) const {
  if (!IsValidMonth(AEra, AYear, AMonth)) return 0;
  return HebrewMonthDays[HebrewRow(AYear)][AMonth];
}

int TcxHebrewCalendarTable::GetDaysInYear(int AEra, int AYear) const {
  if (!IsValidYear(AEra, AYear)) return 0;
  const int type = GetYearType(AYear);
  const int days = type == 2 ? 354 : (type == 3 ? 355 : 353);
  return IsLeapYear(AEra, AYear) ? days + 30 : days;
}

TcxDateTime TcxHebrewCalendarTable::FromDateTime(TDateTime ADate) const {
  ClampToSupportedRange(ADate);
  const TTimeStamp stamp = DateTimeToTimeStamp(ADate);
  const int dayNumber = stamp.Date;
  // The Gregorian year's new year, or the one after it when the date lies
  // in the autumn past it.
  int year = FirstYear + static_cast<int>((std::int64_t{dayNumber} - HebrewNewYears[0]) * 10000 / 3652425);
  while (year < LastYear && HebrewNewYearOf(year + 1) <= dayNumber) ++year;
  while (year > FirstYear && HebrewNewYearOf(year) > dayNumber) --year;
  int day = dayNumber - HebrewNewYearOf(year) + 1;
  const int row = HebrewRow(year);
  int month = 1;
  while (day > HebrewMonthDays[row][month]) day -= HebrewMonthDays[row][month++];
  return CalendarDateTime(year, month, day, stamp.Time);
}

TDateTime TcxHebrewCalendarTable::ToDateTime(const TcxDateTime& ADateTime) const {
  if (!IsValidDay(ADateTime.Era, ADateTime.Year, ADateTime.Month, ADateTime.Day)) return MinSupportedDate();
  const int dayNumber = HebrewNewYearOf(ADateTime.Year) +
                        HebrewDaysBeforeMonth[HebrewRow(ADateTime.Year)][ADateTime.Month] + ADateTime.Day - 1;
  TDateTime result = DayNumberToDateTime(dayNumber, ADateTime);
  ClampToSupportedRange(result);
  return result;
}

int TcxHebrewCalendarTable::GetWeekNumber(const TcxDateTime& ADate, TDay, TcxFirstWeekOfYear AFirstWeekOfYear) const {
  return LunarWeekNumber(*this, ADate, AFirstWeekOfYear);
}

bool TcxHebrewCalendarTable::TryGetDayNumber(const String& S, int& AValue) const {
  if (const int value = HebrewNumeralValue(S); value != 0) {
    AValue = value;
    return true;
  }
  return inherited::TryGetDayNumber(S, AValue);
}

bool TcxHebrewCalendarTable::TryGetMonthNumber(int AYear, const String& S, int& AValue,
                                               const TFormatSettings& AFormat) const {
  if (const int value = HebrewNumeralValue(S); IsValidMonth(AYear, value)) {
    AValue = value;
    return true;
  }
  for (int month = 1; month <= 13; ++month) {
    const String name = GetCalendarMonthNameOf(this, AYear, month);
    if (!name.empty() && AnsiSameText(S, name)) {
      AValue = month;
      return true;
    }
  }
  return inherited::TryGetMonthNumber(AYear, S, AValue, AFormat);
}

bool TcxHebrewCalendarTable::TryGetYearNumber(const String& S, int& AValue) const {
  if (const int value = HebrewNumeralValue(S); value != 0) {
    AValue = value + 5000;
    return true;
  }
  return inherited::TryGetYearNumber(S, AValue);
}
