#include "library/core/locale/cxDateUtils.h"
#include "library/core/base/cxLibraryStrs.h"
#include "tests/library_core/DateTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

// A calendar table of a class for one test; it leaves the list of live
// tables when it goes.
template <class T>
TOwned<T> Table() {
  return TOwned<T>(New<T>());
}

TcxDateTime CalendarDate(int AEra, int AYear, int AMonth, int ADay) {
  TcxDateTime d;
  d.Era = AEra;
  d.Year = AYear;
  d.Month = AMonth;
  d.Day = ADay;
  return d;
}

std::string Text(const TcxDateTime& D) {
  return "era " + std::to_string(D.Era) + " " + std::to_string(D.Year) + "-" + std::to_string(D.Month) + "-" +
         std::to_string(D.Day);
}

std::string GregorianText(TDateTime ADate) {
  int y = 0, m = 0, d = 0;
  DecodeDate(ADate, y, m, d);
  return std::to_string(y) + "-" + std::to_string(m) + "-" + std::to_string(d);
}

#define EXPECT_CALENDAR_DATE(actual, era, year, month, day) \
  EXPECT_EQ(Text(actual), Text(CalendarDate(era, year, month, day)))

// ---------------------------------------------------------------------------
// Eras

TEST(CalendarEra, AssignCopiesTheFiveValuesOfAnotherEraOnly) {
  TOwned<TcxEra> era(New<TcxEra>(1, 100.0, 5, 1, 10));
  TOwned<TcxEra> other(New<TcxEra>(7, 2000.5, -3, 4, 99));
  era->Assign(other.get());
  EXPECT_EQ(era->Era(), 7);
  EXPECT_EQ(era->StartDate(), 2000.5);
  EXPECT_EQ(era->YearOffset(), -3);
  EXPECT_EQ(era->MinEraYear(), 4);
  EXPECT_EQ(era->MaxEraYear(), 99);
  TOwned<TPersistent> stranger(New<TPersistent>());
  EXPECT_THROW(era->Assign(stranger.get()), EConvertError);

  TOwned<TcxEras> eras(New<TcxEras>());
  eras->Add(New<TcxEra>(0, 0.0, 0, 1, 2));
  eras->SetItems(0, era.get());
  EXPECT_EQ(eras->Items(0)->Era(), 7);
  EXPECT_NE(eras->Items(0), era.get());  // assigned, not replaced
  EXPECT_NE(GetPropInfo(era.get(), L"StartDate"), nullptr);
}

// ---------------------------------------------------------------------------
// The generic arithmetic, on the Gregorian table

TEST(CalendarArithmetic, MonthsAndYearsKeepTheDayWithinTheMonth) {
  auto table = Table<TcxGregorianCalendarTable>();
  struct Case {
    const char* Name;
    TDateTime Actual, Expected;
  };
  const Case cases[] = {
      {"2024-01-31 + 1 month", table->AddMonths(EncodeDate(2024, 1, 31), 1), EncodeDate(2024, 2, 29)},
      {"2024-01-31 - 13 months", table->AddMonths(EncodeDate(2024, 1, 31), -13), EncodeDate(2022, 12, 31)},
      {"2024-03-31 - 1 month", table->AddMonths(EncodeDate(2024, 3, 31), -1), EncodeDate(2024, 2, 29)},
      {"2023-11-15 + 26 months", table->AddMonths(EncodeDate(2023, 11, 15), 26), EncodeDate(2026, 1, 15)},
      {"2024-02-29 + 1 year", table->AddYears(EncodeDate(2024, 2, 29), 1), EncodeDate(2025, 2, 28)},
      {"2024-02-29 - 4 years", table->AddYears(EncodeDate(2024, 2, 29), -4), EncodeDate(2020, 2, 29)},
      {"2024-02-29 + 2 weeks", table->AddWeeks(EncodeDate(2024, 2, 29), 2), EncodeDate(2024, 3, 14)},
      {"2024-02-29 - 60 days", table->AddDays(table->FromDateTime(EncodeDate(2024, 2, 29)), -60),
       EncodeDate(2023, 12, 31)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(GregorianText(c.Actual), GregorianText(c.Expected));
  }
}

TEST(CalendarArithmetic, ResultsStayInTheSupportedRange) {
  auto table = Table<TcxGregorianCalendarTable>();
  const TDateTime min = table->MinSupportedDate(), max = table->MaxSupportedDate();
  EXPECT_EQ(table->AddDays(table->FromDateTime(EncodeDate(9999, 12, 30)), 5), max);
  EXPECT_EQ(table->AddDays(table->FromDateTime(EncodeDate(100, 1, 2)), -5), min);
  EXPECT_EQ(table->AddWeeks(EncodeDate(2000, 1, 1), std::numeric_limits<int>::max()), max);
  // A month or year count past the range gives the minimum, without
  // walking the years one by one.
  EXPECT_EQ(table->AddMonths(EncodeDate(2000, 1, 1), std::numeric_limits<int>::max()), min);
  EXPECT_EQ(table->AddMonths(EncodeDate(2000, 1, 1), std::numeric_limits<int>::min()), min);
  EXPECT_EQ(table->AddYears(EncodeDate(2000, 1, 1), std::numeric_limits<int>::max()), min);
  EXPECT_EQ(table->AddYears(EncodeDate(9999, 6, 1), 1), min);
  // An invalid input date gives the minimum.
  EXPECT_EQ(table->AddMonths(CalendarDate(-1, 2023, 2, 29), 1), min);
  EXPECT_EQ(table->AddYears(CalendarDate(-1, 2023, 13, 1), 1), min);
  EXPECT_EQ(table->ToDateTime(CalendarDate(-1, 50, 1, 1)), min);  // before the first supported year
  // Months past the last one add no days (and take no time to count).
  EXPECT_EQ(table->GetDayOfYear(CalendarDate(-1, 2024, std::numeric_limits<int>::max(), 1)), 367);
  TDateTime value = std::numeric_limits<double>::quiet_NaN();
  table->ClampToSupportedRange(value);
  EXPECT_EQ(value, max);
}

TEST(CalendarArithmetic, FirstAndLastDaysKeepTheTime) {
  auto table = Table<TcxGregorianCalendarTable>();
  const TDateTime date = EncodeDateTime(2024, 5, 15, 13, 45, 0, 0);  // a Wednesday
  const TDateTime time = EncodeTime(13, 45, 0, 0);
  EXPECT_EQ(table->GetFirstDayOfMonth(date), EncodeDate(2024, 5, 1) + time);
  EXPECT_EQ(table->GetLastDayOfMonth(date), EncodeDate(2024, 5, 31) + time);
  EXPECT_EQ(table->GetFirstDayOfYear(date), EncodeDate(2024, 1, 1) + time);
  EXPECT_EQ(table->GetLastDayOfYear(date), EncodeDate(2024, 12, 31) + time);
  EXPECT_EQ(table->GetFirstDayOfWeek(date), EncodeDate(2024, 5, 12) + time);  // Sunday
  EXPECT_EQ(table->GetFirstDayOfWeek(date, dThursday), EncodeDate(2024, 5, 9) + time);
  EXPECT_EQ(table->GetFirstDayOfWeek(EncodeDate(2024, 5, 12)), EncodeDate(2024, 5, 12));  // already Sunday
  EXPECT_EQ(table->GetDayOfYear(date), 31 + 29 + 31 + 30 + 15);
  EXPECT_EQ(table->GetYear(date), 2024);
  EXPECT_EQ(table->GetWeekDay(date), dWednesday);
  // Across the change of sign of TDateTime: 1899-12-31 06:00 is 1.25,
  // 1899-12-29 06:00 is -1.25.
  EXPECT_EQ(table->GetFirstDayOfWeek(1.25, dFriday), -1.25);
  EXPECT_EQ(table->GetFirstDayOfWeek(-1.25), -1.25 - 5);  // Friday back to Sunday 1899-12-24

  auto arabic = Table<TcxGregorianArabicCalendarTable>();
  EXPECT_EQ(arabic->GetFirstDayOfWeek(date), EncodeDate(2024, 5, 11) + time);  // Saturday
  auto french = Table<TcxGregorianMiddleEastFrenchCalendarTable>();
  EXPECT_EQ(french->GetFirstDayOfWeek(date), EncodeDate(2024, 5, 13) + time);  // Monday
}

TEST(CalendarArithmetic, NumbersFromText) {
  TDateLocaleScope locale(L"en-US");
  auto table = Table<TcxGregorianCalendarTable>();
  ASSERT_EQ(table->TwoDigitYearMax(), 2049) << "Wine's two-digit-year maximum of the Gregorian calendar";
  struct Case {
    const wchar_t* Text;
    bool Day, Month, Year;
    int DayValue, MonthValue, YearValue;
  };
  const Case cases[] = {
      {L"49", false, true, true, 0, 49, 2049},  {L"50", false, true, true, 0, 50, 1950},
      {L"0049", false, true, true, 0, 49, 49},  {L"7", true, true, true, 7, 7, 2007},
      {L"31", true, true, true, 31, 31, 2031},  {L"32", false, true, true, 0, 32, 2032},
      {L"0", false, false, false, 0, 0, 0},     {L"13", true, true, true, 13, 13, 2013},
      {L"March", false, true, false, 0, 3, 0},  {L"mar", false, true, false, 0, 3, 0},
      {L"-5", false, false, false, 0, 0, 0},    {L" 5", false, false, false, 0, 0, 0},
      {L"$10", false, false, false, 0, 0, 0},   {L"", false, false, false, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "\"" << std::wstring(c.Text) << "\"");
    int value = -1;
    EXPECT_EQ(table->TryGetDayNumber(c.Text, value), c.Day);
    if (c.Day) {
      EXPECT_EQ(value, c.DayValue);
    }
    EXPECT_EQ(table->TryGetMonthNumber(2024, c.Text, value, FormatSettings), c.Month);
    if (c.Month) {
      EXPECT_EQ(value, c.MonthValue);
    }
    EXPECT_EQ(table->TryGetYearNumber(c.Text, value), c.Year);
    if (c.Year) {
      EXPECT_EQ(value, c.YearValue);
    }
  }
  EXPECT_EQ(table->GetMonthNumber(2024, L"December"), 12);
  try {
    table->GetDayNumber(L"x1");
    ADD_FAILURE() << "no exception";
  } catch (const EInvalidArgument& e) {
    EXPECT_EQ(e.Message(), L"'x1' ist kein gültiger Integerwert");
  }
  EXPECT_THROW(table->GetYearNumber(L"0"), EInvalidArgument);
  EXPECT_THROW(table->GetMonthNumber(2024, L"Brumaire"), EInvalidArgument);
}

TEST(CalendarArithmetic, TwoDigitYearsInCalendarsWithoutTheirOwnWindow) {
  // Wine gives the two-digit-year maximum for the Gregorian calendar only;
  // the others place the Gregorian window (2049) in their own years, and
  // never let two digits fall before their first year.
  struct Case {
    int CalendarID;
    const wchar_t* Text;
    int Expected;
  };
  const Case cases[] = {{cxCalendarThai, L"67", 2567},    {cxCalendarHijri, L"46", 1446},
                        {cxCalendarHebrew, L"85", 5785},  {cxCalendarKorean, L"57", 4357},
                        {cxCalendarTaiwan, L"13", 113},   {cxCalendarJapanese, L"49", 49},
                        {cxCalendarGregorianArabic, L"49", 2049}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.CalendarID);
    TcxCustomCalendarTable* table = GetCalendarTable(c.CalendarID);
    int value = 0;
    ASSERT_TRUE(table->TryGetYearNumber(c.Text, value));
    EXPECT_EQ(value, c.Expected);
  }
}

TEST(CalendarTables, OneLiveTablePerCalendarId) {
  struct Case {
    int Id;
    TClass Class;
  };
  const Case cases[] = {{1, TcxGregorianCalendarTable::ClassInfo()},
                        {2, TcxGregorianUSEnglishCalendarTable::ClassInfo()},
                        {3, TcxJapaneseCalendarTable::ClassInfo()},
                        {4, TcxTaiwanCalendarTable::ClassInfo()},
                        {5, TcxKoreanCalendarTable::ClassInfo()},
                        {6, TcxHijriCalendarTable::ClassInfo()},
                        {7, TcxThaiCalendarTable::ClassInfo()},
                        {8, TcxHebrewCalendarTable::ClassInfo()},
                        {9, TcxGregorianMiddleEastFrenchCalendarTable::ClassInfo()},
                        {10, TcxGregorianArabicCalendarTable::ClassInfo()},
                        {11, TcxGregorianTransliteratedEnglishCalendarTable::ClassInfo()},
                        {12, TcxGregorianTransliteratedFrenchCalendarTable::ClassInfo()},
                        {23, TcxGregorianCalendarTable::ClassInfo()},
                        {99, TcxGregorianCalendarTable::ClassInfo()}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Id);
    EXPECT_EQ(GetCalendarTableClass(c.Id), c.Class);
    TcxCustomCalendarTable* table = GetCalendarTable(c.Id);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->ClassType(), c.Class);
    EXPECT_EQ(GetCalendarTable(c.Id), table);
    EXPECT_GE(CalendarTables()->IndexOf(table), 0);
    const bool gregorian = c.Id == 1 || c.Id == 2 || c.Id >= 9;
    EXPECT_EQ(IsGregorianCalendar(table), gregorian);
  }
  // An unknown id has the Gregorian table (id 1): one table, not one per call.
  EXPECT_EQ(GetCalendarTable(99), GetCalendarTable(cxCalendarGregorian));
  const int count = CalendarTables()->Count();
  GetCalendarTable(23);
  EXPECT_EQ(CalendarTables()->Count(), count);
  TcxCustomCalendarTable* own = New<TcxHebrewCalendarTable>();
  EXPECT_GE(CalendarTables()->IndexOf(own), 0);
  own->Free();
  EXPECT_LT(CalendarTables()->IndexOf(own), 0);
}

TEST(CalendarTables, TheLocalesCalendar) {
  {
    TDateLocaleScope thai(L"th-TH");
    EXPECT_EQ(GetLocaleCalendarType(GetThreadLocale()), cxCalendarThai);
    EXPECT_EQ(GetLocaleCalendarTable()->CalendarID(), cxCalendarThai);
    EXPECT_FALSE(IsGregorianCalendar());
  }
  {
    // Wine's ar-SA calendar (Umm al-Qura, 23) has no table: the Gregorian one serves.
    TDateLocaleScope arabic(L"ar-SA");
    EXPECT_EQ(GetLocaleCalendarType(GetThreadLocale()), 23);
    EXPECT_EQ(GetLocaleCalendarTable(), GetCalendarTable(cxCalendarGregorian));
    EXPECT_TRUE(IsGregorianCalendar());
  }
  TDateLocaleScope english(L"en-US");
  EXPECT_EQ(GetLocaleCalendarTable()->CalendarID(), cxCalendarGregorian);
  EXPECT_TRUE(IsGregorianCalendar());
}

// ---------------------------------------------------------------------------
// Gregorian and era calendars

TEST(GregorianCalendar, LeapYearsAndWeeks) {
  auto table = Table<TcxGregorianCalendarTable>();
  EXPECT_FALSE(table->IsLeapYear(1900));
  EXPECT_TRUE(table->IsLeapYear(2000));
  EXPECT_TRUE(table->IsLeapYear(2024));
  EXPECT_EQ(table->GetDaysInMonth(1900, 2), 28);
  EXPECT_EQ(table->GetDaysInMonth(2000, 2), 29);
  EXPECT_EQ(table->GetDaysInYear(1900), 365);
  EXPECT_TRUE(table->IsLeapDay(2024, 2, 29));
  EXPECT_FALSE(table->IsLeapDay(2024, 3, 29));
  EXPECT_TRUE(table->IsLeapMonth(2024, 2));
  EXPECT_EQ(table->GetFullWeeksInYear(2020), 52);  // Wednesday, leap
  EXPECT_EQ(table->GetFullWeeksInYear(2015), 52);  // Thursday
  EXPECT_EQ(table->GetFullWeeksInYear(2016), 53);  // Friday, leap
  EXPECT_EQ(table->GetFullWeeksInYear(2011), 53);  // Saturday
  EXPECT_EQ(table->AlgorithmType(), catSolarCalendar);
  EXPECT_EQ(table->DefaultEra()->Era(), -1);
  EXPECT_EQ(table->Eras()->Count(), 0);
  EXPECT_EQ(table->GetEra(2024), -1);
  EXPECT_TRUE(table->IsValidDate(EncodeDate(100, 1, 1)));
  EXPECT_FALSE(table->IsValidDate(EncodeDate(99, 12, 31)));
}

TEST(JapaneseCalendar, ErasAndTheirYears) {
  auto table = Table<TcxJapaneseCalendarTable>();
  EXPECT_CALENDAR_DATE(table->FromDateTime(EncodeDate(1989, 1, 7)), 2, 64, 1, 7);
  EXPECT_CALENDAR_DATE(table->FromDateTime(EncodeDate(1989, 1, 8)), 3, 1, 1, 8);
  EXPECT_CALENDAR_DATE(table->FromDateTime(EncodeDate(1868, 9, 8)), 0, 1, 9, 8);
  // Before the first era: era -1, counted from the default (fourth) era.
  EXPECT_CALENDAR_DATE(table->FromDateTime(EncodeDate(1868, 9, 7)), -1, 1868 - 1988, 9, 7);
  EXPECT_CALENDAR_DATE(table->FromDateTime(EncodeDate(1988, 1, 1)), 2, 63, 1, 1);
  EXPECT_EQ(table->DefaultEra(), table->Eras()->Items(3));
  // One year on from Showa 63: Heisei 1 from January 8, Showa 64 before.
  EXPECT_EQ(table->AddYears(CalendarDate(2, 63, 1, 10), 1), EncodeDate(1989, 1, 10));
  EXPECT_CALENDAR_DATE(table->FromDateTime(table->AddYears(CalendarDate(2, 63, 1, 10), 1)), 3, 1, 1, 10);
  EXPECT_CALENDAR_DATE(table->FromDateTime(table->AddYears(CalendarDate(2, 63, 1, 5), 1)), 2, 64, 1, 5);
  // Showa 64 still has the days of January 1989 before Heisei.
  EXPECT_EQ(table->ToDateTime(CalendarDate(2, 64, 1, 7)), EncodeDate(1989, 1, 7));
  EXPECT_EQ(table->ToDateTime(CalendarDate(-1, 36, 5, 1)), EncodeDate(2024, 5, 1));
  int year = 70, era = 2;  // Showa 70 is Heisei 7
  table->NormalizeEraYear(year, era);
  EXPECT_EQ(era, 3);
  EXPECT_EQ(year, 7);
  EXPECT_EQ(table->ToDateTime(CalendarDate(3, 8011, 12, 31)), table->MaxSupportedDate());
  EXPECT_EQ(table->ToDateTime(CalendarDate(0, 8012, 1, 1)), table->MinSupportedDate());  // no such year
  EXPECT_EQ(table->GetEra(10000, 1, 1), 3);
  EXPECT_EQ(table->GetEra(0, 1, 1), -1);
  EXPECT_THROW(table->GetEra(2001, 2, 29), EConvertError);
}

TEST(JapaneseCalendar, TimesBefore1899KeepTheirDay) {
  auto table = Table<TcxJapaneseCalendarTable>();
  const TDateTime noon = EncodeDateTime(1868, 9, 8, 12, 0, 0, 0);
  const TcxDateTime date = table->FromDateTime(noon);
  EXPECT_CALENDAR_DATE(date, 0, 1, 9, 8);
  EXPECT_EQ(date.Hours, 12);
  EXPECT_EQ(table->ToDateTime(date), noon);
}

TEST(EraCalendars, YearsOfOneEra) {
  const TDateTime date = EncodeDate(2024, 3, 1);
  struct Case {
    int CalendarID;
    int Year;
    TDateTime MinDate;
    int FirstYear, LastYear;
  };
  const Case cases[] = {{cxCalendarThai, 2567, EncodeDate(1, 1, 1), 544, 10542},
                        {cxCalendarKorean, 4357, EncodeDate(1, 1, 1), 2334, 12332},
                        {cxCalendarTaiwan, 113, EncodeDate(1912, 1, 1), 1, 8088}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.CalendarID);
    TcxCustomCalendarTable* table = GetCalendarTable(c.CalendarID);
    EXPECT_CALENDAR_DATE(table->FromDateTime(date), 0, c.Year, 3, 1);
    EXPECT_EQ(table->ToDateTime(c.Year, 3, 1), date);
    EXPECT_EQ(table->MinSupportedDate(), c.MinDate);
    EXPECT_EQ(table->MaxSupportedDate(), EncodeDate(9999, 12, 31));
    EXPECT_EQ(table->GetFirstSupportedYear(), c.FirstYear);
    EXPECT_EQ(table->GetLastSupportedYear(), c.LastYear);
    EXPECT_FALSE(table->IsValidYear(-1, c.FirstYear - 1));
    EXPECT_TRUE(table->IsValidYear(-1, c.LastYear));
    EXPECT_TRUE(table->IsLeapYear(c.Year));  // 2024
  }
}

// ---------------------------------------------------------------------------
// Hijri

TEST(HijriCalendar, Conversions) {
  auto table = Table<TcxHijriCalendarTable>();
  EXPECT_CALENDAR_DATE(table->FromDateTime(EncodeDate(2024, 3, 10)), -1, 1445, 9, 1);
  EXPECT_CALENDAR_DATE(table->FromDateTime(EncodeDate(622, 7, 18)), -1, 1, 1, 1);
  EXPECT_CALENDAR_DATE(table->FromDateTime(EncodeDate(9999, 12, 31)), -1, 9666, 4, 3);
  EXPECT_TRUE(table->IsLeapYear(15));
  EXPECT_FALSE(table->IsLeapYear(16));
  EXPECT_EQ(table->GetDaysInMonth(2, 12), 30);
  EXPECT_EQ(table->GetDaysInMonth(3, 12), 29);
  EXPECT_EQ(table->GetDaysInMonth(3, 11), 30);
  EXPECT_EQ(table->GetDaysInYear(2), 355);
  EXPECT_TRUE(table->IsLeapDay(2, 12, 30));
  EXPECT_EQ(table->GetFullWeeksInYear(1445), 50);
  EXPECT_EQ(table->GetFirstWeekDay(), dSaturday);
}

TEST(HijriCalendar, EveryDateOfTheRangeRoundTrips) {
  auto table = Table<TcxHijriCalendarTable>();
  const int first = static_cast<int>(EncodeDate(622, 7, 18)), last = static_cast<int>(EncodeDate(9999, 12, 31));
  TcxDateTime previous = table->FromDateTime(first);
  int failures = 0;
  for (int day = first + 1; day <= last && failures < 5; ++day) {
    const TcxDateTime date = table->FromDateTime(day);
    // Each day follows the one before it in the calendar.
    const bool next = (date.Year == previous.Year && date.Month == previous.Month && date.Day == previous.Day + 1) ||
                      (date.Year == previous.Year && date.Month == previous.Month + 1 && date.Day == 1 &&
                       previous.Day == table->GetDaysInMonth(previous.Year, previous.Month)) ||
                      (date.Year == previous.Year + 1 && date.Month == 1 && date.Day == 1 && previous.Month == 12 &&
                       previous.Day == table->GetDaysInMonth(previous.Year, 12));
    if (!next || table->ToDateTime(date) != day) {
      ++failures;
      ADD_FAILURE() << "day " << day << ": " << Text(date) << " after " << Text(previous);
    }
    previous = date;
  }
}

// The minimum supported date is the first day the calendar counts: 1
// Muharram 1. Dates outside the range convert as its nearest end, and
// calendar dates past the end convert to it, instead of wrong dates.
TEST(HijriCalendar, TheRangeEndsAreConsistent) {
  auto table = Table<TcxHijriCalendarTable>();
  const TDateTime min = table->MinSupportedDate(), max = table->MaxSupportedDate();
  EXPECT_EQ(min, EncodeDate(622, 7, 18));
  EXPECT_EQ(table->ToDateTime(1, 1, 1), min);
  EXPECT_EQ(max, EncodeDateTime(9999, 12, 31, 23, 59, 59, 999));
  struct Case {
    const char* Name;
    TDateTime Date;
    int Year, Month, Day;
  };
  const Case cases[] = {{"0622-07-16, two days before", EncodeDate(622, 7, 16), 1, 1, 1},
                        {"0622-07-17", EncodeDate(622, 7, 17), 1, 1, 1},
                        {"0100-01-01", EncodeDate(100, 1, 1), 1, 1, 1},
                        {"the minimum", min, 1, 1, 1},
                        {"a day after", min + 1, 1, 1, 2},
                        {"a day before the maximum", EncodeDate(9999, 12, 30), 9666, 4, 2},
                        {"the maximum", max, 9666, 4, 3},
                        {"after the maximum", max + 1, 9666, 4, 3},
                        {"not a number", std::numeric_limits<double>::quiet_NaN(), 9666, 4, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_CALENDAR_DATE(table->FromDateTime(c.Date), -1, c.Year, c.Month, c.Day);
  }
  // Round trips at and around both ends, with a time of day.
  for (const TDateTime date : {min, EncodeDateTime(622, 7, 18, 6, 30, 0, 0),
                               EncodeDateTime(622, 7, 19, 23, 59, 59, 999), EncodeDateTime(9999, 12, 30, 12, 0, 0, 0),
                               max}) {
    SCOPED_TRACE(testing::Message() << date);
    EXPECT_EQ(table->ToDateTime(table->FromDateTime(date)), date);
  }
  EXPECT_EQ(table->ToDateTime(9666, 4, 4), max);  // past 9999-12-31
  EXPECT_EQ(table->ToDateTime(9666, 12, 29), max);
  EXPECT_EQ(table->ToDateTime(0, 12, 29), min);   // invalid: year 0
  EXPECT_EQ(table->ToDateTime(1445, 13, 1), min);  // invalid month
  EXPECT_EQ(table->AddDays(CalendarDate(-1, 1, 1, 1), -1), min);
  EXPECT_EQ(table->AddDays(CalendarDate(-1, 9666, 4, 3), 1), max);
}

// ---------------------------------------------------------------------------
// Hebrew

TEST(HebrewCalendar, Conversions) {
  auto table = Table<TcxHebrewCalendarTable>();
  EXPECT_EQ(table->ToDateTime(5785, 1, 1), EncodeDate(2024, 10, 3));
  EXPECT_EQ(table->ToDateTime(5784, 8, 15), EncodeDate(2024, 4, 23));  // leap year, Nisan
  EXPECT_EQ(table->ToDateTime(5783, 7, 15), EncodeDate(2023, 4, 6));   // common year, Nisan
  EXPECT_CALENDAR_DATE(table->FromDateTime(EncodeDate(2024, 10, 2)), -1, 5784, 13, 29);
  EXPECT_CALENDAR_DATE(table->FromDateTime(EncodeDate(2024, 10, 3)), -1, 5785, 1, 1);
  EXPECT_EQ(table->GetYearType(5342), 0);
  EXPECT_EQ(table->GetYearType(6000), 0);
  EXPECT_EQ(table->GetYearType(5785), 3);  // complete, common
  EXPECT_EQ(table->GetYearType(5784), 1);  // deficient, leap
  EXPECT_EQ(table->GetYearType(5786), 2);  // regular, common
  EXPECT_EQ(table->GetDaysInMonth(5785, 13), 0);
  EXPECT_EQ(table->GetDaysInMonth(5784, 13), 29);
  EXPECT_EQ(table->GetDaysInMonth(5784, 3), 29);  // Kislev of a deficient year
  EXPECT_EQ(table->GetDaysInYear(5784), 383);
  EXPECT_EQ(table->GetDaysInYear(5785), 355);
  EXPECT_EQ(table->GetDaysInYear(6000), 0);
  EXPECT_EQ(table->GetMonthsInYear(5784), 13);
  EXPECT_TRUE(table->IsLeapMonth(5784, 7));
  EXPECT_FALSE(table->IsLeapMonth(5785, 7));
  EXPECT_TRUE(table->IsLeapDay(5784, 7, 29));
  EXPECT_FALSE(table->IsLeapDay(5784, 7, 30));
  EXPECT_EQ(table->GetFullWeeksInYear(5784), 383 / 7);
  // Before the year table: as its first day.
  EXPECT_CALENDAR_DATE(table->FromDateTime(EncodeDate(1582, 12, 31)), -1, 5343, 4, 7);
  EXPECT_CALENDAR_DATE(table->FromDateTime(EncodeDate(1583, 1, 1)), -1, 5343, 4, 7);
  EXPECT_CALENDAR_DATE(table->FromDateTime(EncodeDate(2300, 1, 1)), -1, 5999, 13, 29);
  EXPECT_EQ(table->ToDateTime(5343, 1, 1), table->MinSupportedDate());  // before the table's first day
  EXPECT_EQ(table->ToDateTime(5785, 13, 1), table->MinSupportedDate());  // no such month
}

TEST(HebrewCalendar, YearTable) {
  struct Case {
    int Year, JanuaryFirst, YearType;
  };
  const Case cases[] = {{1583, 7, 3}, {1584, 17, 3}, {1585, 0, 4}, {2237, 3, 3}, {2238, 14, 2}, {2239, 24, 6},
                        {1582, 0, 0}, {2240, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Year);
    EXPECT_EQ(HebrewYearInfo(c.Year).JanuaryFirst, c.JanuaryFirst);
    EXPECT_EQ(HebrewYearInfo(c.Year).YearType, c.YearType);
  }
}

TEST(HebrewCalendar, TimesBefore1899RoundTrip) {
  auto table = Table<TcxHebrewCalendarTable>();
  for (const TDateTime date : {EncodeDateTime(1700, 5, 5, 18, 0, 0, 0), EncodeDateTime(1899, 12, 29, 23, 0, 0, 0),
                               EncodeDateTime(1583, 1, 1, 0, 0, 0, 1), table->MaxSupportedDate()}) {
    SCOPED_TRACE(testing::Message() << date);
    const TcxDateTime hebrew = table->FromDateTime(date);
    EXPECT_EQ(table->ToDateTime(hebrew), date);
    EXPECT_EQ(DateDayNumber(table->ToDateTime(hebrew.Year, hebrew.Month, hebrew.Day)), DateDayNumber(date));
  }
}

TEST(HebrewCalendar, MonthsAcrossLeapYears) {
  auto table = Table<TcxHebrewCalendarTable>();
  EXPECT_EQ(table->AddMonths(CalendarDate(-1, 5784, 6, 1), 1), table->ToDateTime(5784, 7, 1));  // Adar I to II
  EXPECT_EQ(table->AddMonths(CalendarDate(-1, 5783, 6, 10), 13), table->ToDateTime(5784, 7, 10));
  EXPECT_EQ(table->AddMonths(CalendarDate(-1, 5785, 1, 30), -1), table->ToDateTime(5784, 13, 29));
  EXPECT_EQ(table->AddYears(CalendarDate(-1, 5784, 13, 29), 1), table->ToDateTime(5785, 12, 29));
  EXPECT_EQ(table->AddYears(CalendarDate(-1, 5999, 1, 1), 1), table->MinSupportedDate());
}

TEST(HebrewCalendar, NumbersFromHebrewLetters) {
  auto table = Table<TcxHebrewCalendarTable>();
  int value = 0;
  EXPECT_EQ(HebrewNumeralValue(L"\u05EA\u05E9\u05E4\u05D4"), 785);  // tav shin pe he
  ASSERT_TRUE(table->TryGetYearNumber(L"\u05EA\u05E9\u05E4\u05D4", value));
  EXPECT_EQ(value, 5785);
  ASSERT_TRUE(table->TryGetDayNumber(L"\u05D8\u05D5", value));  // tet vav
  EXPECT_EQ(value, 15);
  EXPECT_EQ(HebrewNumeralValue(L"\u05DA\u05DB\u05DD\u05DE\u05DF\u05E0\u05E3\u05E4\u05E5\u05E6"),
            20 + 20 + 40 + 40 + 50 + 50 + 80 + 80 + 90 + 90);  // final forms count as their letters
  EXPECT_EQ(HebrewNumeralValue(L"a\u00E0\u05D0"), 1);  // only Hebrew letters count
  ASSERT_TRUE(table->TryGetMonthNumber(5784, L"\u05D6", value, FormatSettings));  // zayin: Adar II
  EXPECT_EQ(value, 7);
  EXPECT_FALSE(table->TryGetMonthNumber(5785, L"\u05D9\u05D2", value, FormatSettings));  // 13: no month of 5785
  ASSERT_TRUE(table->TryGetDayNumber(L"12", value));
  EXPECT_EQ(value, 12);
  ASSERT_TRUE(table->TryGetYearNumber(L"5785", value));
  EXPECT_EQ(value, 5785);
}

// ---------------------------------------------------------------------------
// Lunar week numbers

TEST(LunarCalendars, WeekNumbers) {
  auto hebrew = Table<TcxHebrewCalendarTable>();
  // 5785 begins on Thursday 2024-10-03; weeks begin on Sunday.
  struct Case {
    TcxDateTime Date;
    TcxFirstWeekOfYear Rule;
    int Week;
  };
  const Case cases[] = {
      {CalendarDate(-1, 5785, 1, 1), fwyJan1, 1},          {CalendarDate(-1, 5785, 1, 3), fwyJan1, 1},
      {CalendarDate(-1, 5785, 1, 4), fwyJan1, 2},          {CalendarDate(-1, 5785, 1, 1), fwyFirstFullWeek, 1},
      {CalendarDate(-1, 5785, 1, 4), fwyFirstFullWeek, 1}, {CalendarDate(-1, 5785, 1, 11), fwyFirstFullWeek, 2},
      {CalendarDate(-1, 5785, 1, 4), fwyFirstFourDays, 1}, {CalendarDate(-1, 5785, 1, 11), fwyFirstFourDays, 2},
      // Elul 29 (Monday 2025-09-22): its week reaches into 5786.
      {CalendarDate(-1, 5785, 12, 29), fwyJan1, 1},        {CalendarDate(-1, 5785, 12, 29), fwyFirstFourDays, 1},
      {CalendarDate(-1, 5785, 12, 29), fwyFirstFullWeek, 51},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << Text(c.Date) << " rule " << c.Rule);
    EXPECT_EQ(hebrew->GetWeekNumber(c.Date, dMonday, c.Rule), c.Week);
  }
  auto hijri = Table<TcxHijriCalendarTable>();
  // 1446 begins on Sunday 2024-07-07; weeks begin on Saturday.
  EXPECT_EQ(hijri->GetWeekNumber(CalendarDate(-1, 1446, 1, 1), dSunday, fwyJan1), 1);
  EXPECT_EQ(hijri->GetWeekNumber(CalendarDate(-1, 1446, 1, 7), dSunday, fwyJan1), 2);  // Saturday
  EXPECT_EQ(hijri->GetWeekNumber(CalendarDate(-1, 1446, 1, 7), dSunday, fwyFirstFullWeek), 1);
  EXPECT_EQ(hijri->GetWeekNumber(EncodeDate(2024, 7, 20), dSunday, fwyFirstFullWeek), 2);
}

// ---------------------------------------------------------------------------
// Locale texts and formatting

TEST(LocaleDateTexts, PicturesOfTheThreadLocale) {
  TDateLocaleScope locale(L"de-DE");
  EXPECT_EQ(GetLocaleShortDateFormat(), L"d.M.yyyy");
  EXPECT_EQ(GetLocaleLongDateFormat(), L"dddd, d. MMMM yyyy");
  EXPECT_EQ(GetLocaleLongTimeFormat(), L"HH:mm:ss");
  EXPECT_EQ(GetLocaleDateSeparator(), L'.');
  EXPECT_EQ(GetLocaleTimeSeparator(), L':');
  TFormatSettings s = TFormatSettings::Invariant();
  s.ListSeparator = L'#';
  FormatSettings.ListSeparator = L';';
  GetLocaleFormatSettings(s);
  EXPECT_EQ(s.ShortDateFormat, L"d.M.yyyy");
  EXPECT_EQ(s.LongTimeFormat, L"HH:mm:ss");
  EXPECT_EQ(s.DateSeparator, L'.');
  EXPECT_EQ(s.TimeAMString, GetLocaleAMString());
  EXPECT_EQ(s.TimePMString, GetLocalePMString());
  EXPECT_EQ(s.ListSeparator, L';');
  EXPECT_EQ(s.CurrencyString, TFormatSettings::Invariant().CurrencyString);  // untouched
  {
    TDateLocaleScope arabic(L"ar-SA");  // "\u200F/": the first character
    EXPECT_EQ(GetLocaleDateSeparator(), L'\u200F');
  }
}

TEST(LocaleDateTexts, FormatDatePicture) {
  TDateLocaleScope locale(L"en-US");
  const TDateTime date = EncodeDate(2024, 3, 5);  // a Tuesday
  struct Case {
    const wchar_t* Picture;
    wchar_t Separator;
    const wchar_t* Expected;
  };
  const Case cases[] = {
      {L"dddd, d. MMMM yyyy", L'\0', L"Tuesday, 5. March 2024"},
      {L"ddd dd MMM yy", L'\0', L"Tue 05 03 24"},
      {L"yy", L'\0', L"24"},
      {L"m", L'\0', L"03"},
      {L"d/M/yyyy", L'-', L"5-03-2024"},
      {L"xx d", L'\0', L"5"},  // text before the first part is skipped
      {L"d 'of' MMMM", L'\0', L"5 of March"},
      {L"d 'end'", L'\0', L"5"},  // text after the last part is dropped
      {L"yyyy e 'x' d", L'\0', L"2024x 5"},
      {L"\"y\"d", L'\0', L"y5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::wstring(c.Picture));
    EXPECT_EQ(FormatDatePicture(c.Picture, c.Separator, date), c.Expected);
  }
  EXPECT_EQ(FormatDatePicture(L"yyyy", L'\0', EncodeDate(45, 1, 1)), L"0045");
}

TEST(LocaleDateTexts, FormatDateByLocaleUsesWindowsUnlessTheRunTimesFormatsAreOn) {
  TDateLocaleScope locale(L"de-DE");
  TcxFormatController* controller = FormatController();
  controller->GetFormats();
  const TDateTime date = EncodeDate(2024, 3, 5);  // a Tuesday
  String text;
  ASSERT_TRUE(FormatDateByLocale(text, 0, L"dddd, d MMMM yyyy", date));
  EXPECT_EQ(text, L"Dienstag, 5 März 2024");
  // The locale's own long picture without one given.
  ASSERT_TRUE(FormatDateByLocale(text, DATE_LONGDATE, L"", date));
  EXPECT_EQ(text, L"Dienstag, 5. März 2024");
  EXPECT_FALSE(FormatDateByLocale(text, 0, L"yyyy", EncodeDate(1500, 1, 1)));  // before 1601
  EXPECT_TRUE(text.empty());

  FormatSettings.LongDateFormat = L"d MMMM yyyy";
  controller->SetUseTarnelDateTimeFormats(true);
  EXPECT_TRUE(FormatDateByLocale(text, 0, L"", date));
  EXPECT_EQ(text, L"5 " + FormatSettings.LongMonthNames[2] + L" 2024");
  EXPECT_TRUE(FormatDateByLocale(text, 0, L"yyyy", EncodeDate(1500, 1, 1)));
  EXPECT_EQ(text, L"1500");
  controller->SetUseTarnelDateTimeFormats(false);
}

TEST(LocaleDateTexts, MonthNamesOfCalendars) {
  TDateLocaleScope locale(L"de-DE");
  TcxFormatController* controller = FormatController();
  auto gregorian = Table<TcxGregorianCalendarTable>();
  const TDateTime date = EncodeDate(2024, 3, 5);
  EXPECT_EQ(GetCalendarMonthName(gregorian.get(), date), L"März");
  FormatSettings.LongMonthNames[2] = L"Lenzing";
  controller->SetUseTarnelDateTimeFormats(true);
  EXPECT_EQ(GetCalendarMonthName(gregorian.get(), date), L"Lenzing");
  EXPECT_EQ(GetCalendarMonthNameOf(gregorian.get(), 2024, 3), L"Lenzing");
  EXPECT_EQ(GetCalendarMonthNameOf(gregorian.get(), 2024, 13), L"");
  controller->SetUseTarnelDateTimeFormats(false);

  // A Hijri month is named by Windows from its first day. Wine names every
  // date by the Gregorian calendar, so the name is that of the Gregorian
  // month of the Hijri month's first day.
  const wchar_t* const german[12] = {L"Januar", L"Februar", L"März",     L"April",   L"Mai",      L"Juni",
                                     L"Juli",   L"August",  L"September", L"Oktober", L"November", L"Dezember"};
  auto hijri = Table<TcxHijriCalendarTable>();
  for (int month = 1; month <= 12; ++month) {
    SCOPED_TRACE(month);
    int year = 0, gregorianMonth = 0, day = 0;
    DecodeDate(hijri->ToDateTime(1445, month, 1), year, gregorianMonth, day);
    const String name = GetCalendarMonthNameOf(hijri.get(), 1445, month);
    EXPECT_EQ(name, german[gregorianMonth - 1]);
    // Names parse back to the first month of that name.
    int value = 0;
    ASSERT_TRUE(hijri->TryGetMonthNumber(1445, name, value, FormatSettings));
    EXPECT_EQ(GetCalendarMonthNameOf(hijri.get(), 1445, value), name);
    EXPECT_LE(value, month);
  }
  EXPECT_EQ(GetCalendarMonthNameOf(hijri.get(), 1445, 13), L"");
  auto hebrew = Table<TcxHebrewCalendarTable>();
  EXPECT_FALSE(GetCalendarMonthNameOf(hebrew.get(), 5784, 13).empty());
  EXPECT_EQ(GetCalendarMonthNameOf(hebrew.get(), 5785, 13), L"");
}

// ---------------------------------------------------------------------------
// Smart input

TEST(SmartInput, KeywordsAreAlternativesAfterTheMask) {
  String date = L"\\d+";
  AddSmartInputToRegExpr(date, false);
  EXPECT_EQ(date,
            L"(\\d+)|('today'|'yesterday'|'tomorrow'|'Sunday'|'Monday'|'Tuesday'|'Wednesday'|'Thursday'|'Friday'|"
            L"'Saturday'|'first'|'second'|'third'|'fourth'|'fifth'|'sixth'|'seventh'|'bom'|'eom')"
            L"((\\+|-)\\d(\\d(\\d\\d?)?)?)?");
  String dateTime = L"x";
  AddSmartInputToRegExpr(dateTime, true);
  EXPECT_NE(dateTime.find(L"|'eom'|'now')"), String::npos);
  ASSERT_EQ(SmartInputKeywords().size(), static_cast<std::size_t>(cxSmartInputKeywordCount));
  EXPECT_EQ(SmartInputKeywords()[17], L"bom");
}

TEST(SmartInput, ApostrophesOfKeywordsAreEscaped) {
  struct Case {
    const wchar_t* Keyword;
    const wchar_t* Expected;
  };
  const Case cases[] = {{L"aujourd'hui", L"'aujourd'\\''hui'"}, {L"'", L"\\'"}, {L"''x", L"\\'\\''x'"},
                        {L"x'", L"'x'\\'"}, {L"plain", L"'plain'"}, {L"", L""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::wstring(c.Keyword));
    String text = L">";
    AddQuotedRegExprLiteral(text, c.Keyword);
    EXPECT_EQ(text, String(L">") + c.Expected);
  }
  // A translation takes effect at the next mask.
  InstallResourceStringTranslator(TdxResStringTranslatorMode::ByRecord, {{String(), &cxSDateToday}},
                                  {L"aujourd'hui"});
  String mask = L"m";
  AddSmartInputToRegExpr(mask, false);
  DetachResourceStringTranslator();
  EXPECT_EQ(mask.substr(0, 21), L"(m)|('aujourd'\\''hui'");
  LoadSmartInputKeywords();
  EXPECT_EQ(SmartInputKeywords()[0], L"today");
}

// ---------------------------------------------------------------------------
// Week arithmetic

TEST(WeekArithmetic, GregorianWeekNumbersAtYearEnds) {
  TDateLocaleScope locale(L"en-US");
  struct Case {
    TDay StartOfWeek;
    TcxFirstWeekOfYear Rule;
    TDateTime Date;
    int Week;
  };
  const Case cases[] = {
      {dMonday, fwyFirstFourDays, EncodeDate(2021, 1, 1), 53},  // a Friday
      {dMonday, fwyFirstFourDays, EncodeDate(2021, 1, 4), 1},
      {dMonday, fwyFirstFourDays, EncodeDate(2024, 12, 30), 1},  // a Monday
      {dSunday, fwyJan1, EncodeDate(2022, 1, 1), 1},            // a Saturday
      {dSunday, fwyJan1, EncodeDate(2022, 12, 31), 53},         // a Saturday
      {dSunday, fwyJan1, EncodeDate(2024, 12, 29), 1},          // a Sunday: 2025-01-01 falls in its week
      {dSunday, fwyFirstFullWeek, EncodeDate(2022, 1, 1), 52},
      {dSunday, fwyFirstFullWeek, EncodeDate(2022, 1, 2), 1},
      {dMonday, fwyFirstFourDays, EncodeDateTime(2021, 1, 3, 23, 59, 0, 0), 53},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << GregorianText(c.Date) << " rule " << c.Rule << " start " << c.StartOfWeek);
    SetAssignedStartOfWeek(c.StartOfWeek);
    EXPECT_EQ(GetGregorianWeekNumber(c.Date, c.Rule), c.Week);
    // The Gregorian table counts by the process-wide start of the week.
    EXPECT_EQ(GetCalendarTable(cxCalendarGregorian)->GetWeekNumber(c.Date, dWednesday, c.Rule), c.Week);
  }
}

TEST(WeekArithmetic, LocaleRulesAndDayNumbers) {
  {
    TDateLocaleScope german(L"de-DE");
    EXPECT_EQ(GetLocaleStartOfWeek(), dMonday);
    EXPECT_EQ(GetLocaleFirstWeekOfYear(), fwyFirstFourDays);
    ClearAssignedStartOfWeek();
    EXPECT_EQ(GetStartOfWeek(), dMonday);
    // fwySystem takes the locale's rule: ISO weeks here.
    EXPECT_EQ(GetGregorianWeekNumber(EncodeDate(2021, 1, 1), fwySystem), 53);
  }
  TDateLocaleScope english(L"en-US");
  EXPECT_EQ(GetLocaleStartOfWeek(), dSunday);
  EXPECT_EQ(GetLocaleFirstWeekOfYear(), fwyJan1);
  SetAssignedStartOfWeek(dThursday);
  EXPECT_TRUE(IsStartOfWeekAssigned());
  EXPECT_EQ(GetStartOfWeek(), dThursday);
  EXPECT_EQ(DayOffsetInWeek(EncodeDate(2024, 5, 13)), 4);  // Monday, from Thursday
  EXPECT_EQ(StartOfWeekDate(EncodeDate(2024, 5, 13)), static_cast<int>(EncodeDate(2024, 5, 9)));
  ClearAssignedStartOfWeek();
  EXPECT_FALSE(IsStartOfWeekAssigned());

  EXPECT_EQ(WeekdayFromRunTime(1), dSunday);
  EXPECT_EQ(WeekdayFromRunTime(7), dSaturday);
  EXPECT_EQ(WeekdayOf(EncodeDate(2024, 5, 13)), dMonday);
  EXPECT_EQ(DayOffsetFromStartOfWeek(dSaturday, EncodeDate(2024, 5, 13)), 2);
  EXPECT_EQ(DateDayNumber(cxNullDayNumber), cxNullDayNumber);
  EXPECT_EQ(DateDayNumber(-1.25), -1);  // 1899-12-29 06:00
  EXPECT_EQ(DateDayNumber(2.75), 2);
  EXPECT_EQ(FirstWeekStart(0, fwyJan1), cxInvalidWeekStart);
  EXPECT_EQ(FirstWeekStart(10000, fwyJan1), cxInvalidWeekStart);
  EXPECT_EQ(GetGregorianWeekNumber(EncodeDate(9999, 12, 31), fwyJan1), 53);  // 10000 has no first week
}

}  // namespace
