// The date unit: calendar tables that convert TDateTime to and from the
// dates of the calendars Windows locales use, the locale's date texts and
// smart-input keywords, week arithmetic, and the time zones of the registry.
//
// Classes in this file:
//   TcxDateTime, TcxDate            a date of some calendar (era, year, month, day[, time])
//   TcxCalendarAlgorithmType, TDay, TcxFirstWeekOfYear
//   TcxEra                          one era of a calendar
//   TcxEras                         the eras of a table, by start date
//   TcxCustomCalendarTable          the arithmetic every calendar shares
//   TcxGregorianCalendarTable       Gregorian (id 1) and its localized variants:
//     TcxGregorianUSEnglishCalendarTable (2), TcxGregorianMiddleEastFrenchCalendarTable (9),
//     TcxGregorianArabicCalendarTable (10), TcxGregorianTransliteratedEnglishCalendarTable (11),
//     TcxGregorianTransliteratedFrenchCalendarTable (12)
//   TcxJapaneseCalendarTable (3)    Gregorian years counted from four eras; and one-era
//     TcxTaiwanCalendarTable (4), TcxKoreanCalendarTable (5), TcxThaiCalendarTable (7)
//   TcxHijriCalendarTable (6)       the tabular Islamic calendar (cxDateUtils_Lunar.cpp)
//   TcxHebrewCalendarTable (8)      the Hebrew calendar of 1583 to 2239 (cxDateUtils_Lunar.cpp)
//   TcxTZIField, TcxDSTInfo, TcxTimeZoneInformation, TdxTimeZoneHelper
//                                   the registry's time zones (cxDateUtils_TimeZones.cpp)
//
// Conventions. Dates are the run-time's TDateTime (days since 1899-12-30);
// before that day the value is negative and its fraction still counts
// forward from midnight, so every date-and-time is put together and taken
// apart through the run-time's routines, never by adding the fraction. A
// calendar date names its era by index into the table's Eras, or -1 for the
// table's default era. Years may be zero or negative in era calendars (a
// date before the first era counts from the default era), so the fields are
// signed. A "day number" counts days so that 0001-01-01 is day 1.
#pragma once

#include "library/core/base/dxCore.h"
#include "library/core/base/dxCoreClasses.h"
#include "platform/classes/Persistent.h"
#include "platform/classes/Registry.h"
#include "platform/runtime/SysUtils.h"

#include <cstdint>
#include <vector>

class TcxCustomCalendarTable;

// ---------------------------------------------------------------------------
// Shared types

struct TcxDateTime {
  int Era = -1;
  int Year = 0;
  int Month = 0;
  int Day = 0;
  std::uint8_t Hours = 0;
  std::uint8_t Minutes = 0;
  std::uint8_t Seconds = 0;
  std::uint16_t Milliseconds = 0;
  friend bool operator==(const TcxDateTime&, const TcxDateTime&) = default;
};

struct TcxDate {
  int Era = -1;
  int Year = 0;
  int Month = 0;
  int Day = 0;
  friend bool operator==(const TcxDate&, const TcxDate&) = default;
};

enum TcxCalendarAlgorithmType { catUnknown, catSolarCalendar, catLunarCalendar, catLunarSolarCalendar };
enum TDay { dSunday, dMonday, dTuesday, dWednesday, dThursday, dFriday, dSaturday };
enum TcxFirstWeekOfYear { fwySystem, fwyJan1, fwyFirstFullWeek, fwyFirstFourDays };

// Windows calendar ids (CAL_GREGORIAN ...).
constexpr int cxCalendarGregorian = 1;
constexpr int cxCalendarGregorianUSEnglish = 2;
constexpr int cxCalendarJapanese = 3;
constexpr int cxCalendarTaiwan = 4;
constexpr int cxCalendarKorean = 5;
constexpr int cxCalendarHijri = 6;
constexpr int cxCalendarThai = 7;
constexpr int cxCalendarHebrew = 8;
constexpr int cxCalendarGregorianMiddleEastFrench = 9;
constexpr int cxCalendarGregorianArabic = 10;
constexpr int cxCalendarGregorianTransliteratedEnglish = 11;
constexpr int cxCalendarGregorianTransliteratedFrench = 12;

// Stands for no date in DateDayNumber, and for a week start that cannot be
// computed in FirstWeekStart.
constexpr int cxNullDayNumber = -700000;
constexpr int cxInvalidWeekStart = -699999;

// ---------------------------------------------------------------------------
// Eras

class TcxEra : public TPersistent {
  SK_CLASS(TcxEra, TPersistent)
 public:
  static void Publish(TPublisher<TcxEra>& P);

  void Create(int AEra, TDateTime AStartDate, int AYearOffset, int AMinEraYear, int AMaxEraYear);
  // Copies the five values of another era; any other source cannot be assigned.
  void Assign(TPersistent* ASource) override;

  int Era() const { return FEra; }
  void SetEra(int AValue) { FEra = AValue; }
  int MaxEraYear() const { return FMaxEraYear; }
  void SetMaxEraYear(int AValue) { FMaxEraYear = AValue; }
  int MinEraYear() const { return FMinEraYear; }
  void SetMinEraYear(int AValue) { FMinEraYear = AValue; }
  // The first day of the era.
  TDateTime StartDate() const { return FStartDate; }
  void SetStartDate(TDateTime AValue) { FStartDate = AValue; }
  // Gregorian year = era year + offset.
  int YearOffset() const { return FYearOffset; }
  void SetYearOffset(int AValue) { FYearOffset = AValue; }

 private:
  int FEra;
  int FMaxEraYear;
  int FMinEraYear;
  TDateTime FStartDate;
  int FYearOffset;
};

// The eras of a table in ascending order of start date; owns them.
class TcxEras : public TdxFastObjectList {
  SK_CLASS(TcxEras, TdxFastObjectList)
 public:
  void Create() { inherited::Create(true); }

  TcxEra* Items(int AIndex) const { return static_cast<TcxEra*>(TdxFastObjectList::Items(AIndex)); }
  // Assigns the values of AEra to the era at the index.
  void SetItems(int AIndex, TcxEra* AEra) { Items(AIndex)->Assign(AEra); }
  using TdxFastObjectList::SetItems;
};

// ---------------------------------------------------------------------------
// Calendar tables

// The arithmetic of one Windows calendar. The abstract operations are the
// calendar's own; everything else (adding days, weeks, months and years,
// first and last days, validity, eras, reading numbers from text) is built
// on them here. Every overload without an era passes -1 (the default era);
// every TDateTime overload converts with FromDateTime, applies the
// TcxDateTime overload and converts back with ToDateTime.
//
// A table joins the process-wide list of live tables (CalendarTables) when
// it is created and leaves it when it is freed.
class TcxCustomCalendarTable : public TObject {
  SK_CLASS(TcxCustomCalendarTable, TObject)
 public:
  virtual void Create();
  void Destroy() override;

  // Constants of the calendar
  virtual TcxCalendarAlgorithmType AlgorithmType() const = 0;
  virtual int CalendarID() const = 0;
  // The era a date means when it names era -1.
  virtual TcxEra* DefaultEra() const = 0;
  virtual TDateTime MaxSupportedDate() const = 0;
  virtual TDateTime MinSupportedDate() const = 0;
  virtual int GetLastSupportedYear() const = 0;
  virtual int GetFirstSupportedYear() const = 0;
  virtual TDay GetFirstWeekDay() const = 0;
  virtual int GetFullWeeksInYear(int AYear) const = 0;
  TcxEras* Eras() const { return FEras.get(); }

  // After arithmetic moved a year: the era the date now falls in, and the
  // year counted in that era (NormalizeEraYear: for month 1, day 1).
  virtual void NormalizeEraYear(int& AYear, int& AEra) const;
  virtual void NormalizeEraDate(int& AYear, int& AEra, int AMonth, int ADay) const;
  // Below the minimum gives the minimum; above the maximum (or not a number)
  // gives the maximum.
  virtual void ClampToSupportedRange(TDateTime& ADate) const;

  // Arithmetic; each result is clamped to the supported range, and an invalid
  // input date gives MinSupportedDate.
  virtual TDateTime AddDays(const TcxDateTime& ADate, int ACountDays) const;
  virtual TDateTime AddMonths(TDateTime ADate, int ACountMonths) const;
  virtual TDateTime AddMonths(const TcxDateTime& ADate, int ACountMonths) const;
  virtual TDateTime AddYears(TDateTime ADate, int ACountYears) const;
  virtual TDateTime AddYears(const TcxDateTime& ADate, int ACountYears) const;
  virtual TDateTime AddWeeks(TDateTime ADate, int ACountWeeks) const;
  virtual TDateTime AddWeeks(const TcxDateTime& ADate, int ACountWeeks) const;

  // Conversions. The overloads with numbers encode a Gregorian date (raising
  // EConvertError for an impossible one) and convert it.
  virtual TcxDateTime FromDateTime(TDateTime ADate) const = 0;
  virtual TcxDateTime FromDateTime(int AYear, int AMonth, int ADay) const;
  virtual TcxDateTime FromDateTime(int AYear, int AMonth, int ADay, int AHours, int AMinutes, int ASeconds,
                                   int AMilliseconds) const;
  virtual TDateTime ToDateTime(int AYear, int AMonth, int ADay) const;
  virtual TDateTime ToDateTime(int AYear, int AMonth, int ADay, int AHours, int AMinutes, int ASeconds,
                               int AMilliseconds) const;
  virtual TDateTime ToDateTime(const TcxDate& ADate) const;
  // An invalid date gives MinSupportedDate.
  virtual TDateTime ToDateTime(const TcxDateTime& ADateTime) const = 0;

  virtual int GetDayOfYear(TDateTime ADate) const;
  virtual int GetDayOfYear(const TcxDateTime& ADate) const;
  virtual int GetDaysInMonth(int AYear, int AMonth) const;
  virtual int GetDaysInMonth(int AEra, int AYear, int AMonth) const = 0;
  virtual int GetDaysInYear(int AYear) const;
  virtual int GetDaysInYear(int AEra, int AYear) const = 0;
  virtual int GetMonthsInYear(int AYear) const;
  virtual int GetMonthsInYear(int AEra, int AYear) const = 0;

  // The index of the last era whose start is not after the Gregorian date,
  // or -1 (also in a table without eras). A year beyond the run-time's range
  // lies after every era start or before all of them.
  virtual int GetEra(int AYear) const;
  virtual int GetEra(int AYear, int AMonth, int ADay) const;

  // The nearest day not after the date that falls on the table's first week
  // day (or on AStartDayOfWeek).
  virtual TDateTime GetFirstDayOfWeek(TDateTime ADate) const;
  virtual TDateTime GetFirstDayOfWeek(TDateTime ADate, TDay AStartDayOfWeek) const;
  virtual TcxDateTime GetFirstDayOfWeek(const TcxDateTime& ADate) const;
  virtual TcxDateTime GetFirstDayOfWeek(const TcxDateTime& ADate, TDay AStartDayOfWeek) const;
  // The time fields stay as they are.
  virtual TDateTime GetFirstDayOfMonth(TDateTime ADate) const;
  virtual TcxDateTime GetFirstDayOfMonth(const TcxDateTime& ADate) const;
  virtual TDateTime GetFirstDayOfYear(TDateTime ADate) const;
  virtual TcxDateTime GetFirstDayOfYear(const TcxDateTime& ADate) const;
  virtual TDateTime GetLastDayOfMonth(TDateTime ADate) const;
  virtual TcxDateTime GetLastDayOfMonth(const TcxDateTime& ADate) const;
  virtual TDateTime GetLastDayOfYear(TDateTime ADate) const;
  virtual TcxDateTime GetLastDayOfYear(const TcxDateTime& ADate) const;

  virtual int GetYear(TDateTime ADate) const;
  virtual int GetYear(const TcxDate& ADate) const;
  virtual int GetYear(const TcxDateTime& ADate) const;
  virtual TDay GetWeekDay(TDateTime ADate) const;
  virtual TDay GetWeekDay(const TcxDateTime& ADate) const;
  virtual int GetWeekNumber(TDateTime ADate, TDay AStartOfWeek, TcxFirstWeekOfYear AFirstWeekOfYear) const;
  virtual int GetWeekNumber(const TcxDateTime& ADate, TDay AStartOfWeek,
                            TcxFirstWeekOfYear AFirstWeekOfYear) const = 0;

  virtual bool IsLeapDay(int AYear, int AMonth, int ADay) const;
  virtual bool IsLeapDay(int AEra, int AYear, int AMonth, int ADay) const = 0;
  virtual bool IsLeapMonth(int AYear, int AMonth) const;
  virtual bool IsLeapMonth(int AEra, int AYear, int AMonth) const = 0;
  virtual bool IsLeapYear(int AYear) const;
  virtual bool IsLeapYear(int AEra, int AYear) const = 0;

  // The era is not consulted for the year.
  virtual bool IsValidYear(int AYear) const;
  virtual bool IsValidYear(int AEra, int AYear) const;
  virtual bool IsValidMonth(int AYear, int AMonth) const;
  virtual bool IsValidMonth(int AEra, int AYear, int AMonth) const;
  virtual bool IsValidDay(int AYear, int AMonth, int ADay) const;
  virtual bool IsValidDay(int AEra, int AYear, int AMonth, int ADay) const;
  virtual bool IsValidDate(TDateTime ADate) const;

  // Numbers from text. A day is a decimal 1 to 31; a month a positive decimal
  // (no upper bound) or a month name of AFormat; a year a positive decimal,
  // which at most two characters long is placed in the century window of the
  // locale's two-digit-year maximum for this calendar.
  virtual bool TryGetDayNumber(const String& S, int& AValue) const;
  virtual bool TryGetMonthNumber(int AYear, const String& S, int& AValue, const TFormatSettings& AFormat) const;
  virtual bool TryGetYearNumber(const String& S, int& AValue) const;
  // The Try operations' values; on failure EInvalidArgument with the
  // run-time's invalid-integer message.
  int GetDayNumber(const String& S) const;
  int GetMonthNumber(int AYear, const String& S) const;
  int GetMonthNumber(int AYear, const String& S, const TFormatSettings& AFormat) const;
  int GetYearNumber(const String& S) const;

  // The locale's two-digit-year maximum for this calendar, read once.
  int TwoDigitYearMax() const;

 protected:
  // The era's offset (the default era's for -1; 0 for an index that names no era).
  int EraYearOffset(int AEra) const;
  // The default era of a table without eras: -1, from before every
  // representable date, no offset, years 1 to 9999. The table frees it.
  static TcxEra* NewDefaultEra();
  // Milliseconds since midnight of the time fields; EConvertError for an
  // impossible time.
  static int TimeOfDay(const TcxDateTime& ADate);
  // A date of the default era at a time of day (milliseconds since midnight).
  static TcxDateTime CalendarDateTime(int AYear, int AMonth, int ADay, int AMilliseconds);
  // The day number (0001-01-01 is 1) at the time of ATime.
  static TDateTime DayNumberToDateTime(int ADayNumber, const TcxDateTime& ATime);

  TOwned<TcxEras> FEras;
  mutable int FTwoDigitYearMax;

 private:
  // The end of month and year arithmetic: an invalid day becomes the month's
  // last, the era follows the date, and the result is clamped.
  TDateTime SettledDate(TcxDateTime ADate) const;
};

class TcxGregorianCalendarTable : public TcxCustomCalendarTable {
  SK_CLASS(TcxGregorianCalendarTable, TcxCustomCalendarTable)
 public:
  using TcxCustomCalendarTable::FromDateTime;
  using TcxCustomCalendarTable::GetDaysInMonth;
  using TcxCustomCalendarTable::GetDaysInYear;
  using TcxCustomCalendarTable::GetMonthsInYear;
  using TcxCustomCalendarTable::GetWeekNumber;
  using TcxCustomCalendarTable::IsLeapDay;
  using TcxCustomCalendarTable::IsLeapMonth;
  using TcxCustomCalendarTable::IsLeapYear;
  using TcxCustomCalendarTable::ToDateTime;

  void Create() override;
  void Destroy() override;

  TcxCalendarAlgorithmType AlgorithmType() const override { return catSolarCalendar; }
  int CalendarID() const override { return cxCalendarGregorian; }
  TcxEra* DefaultEra() const override { return FDefaultEra.get(); }
  TDateTime MaxSupportedDate() const override;
  TDateTime MinSupportedDate() const override;
  int GetLastSupportedYear() const override { return 9999; }
  int GetFirstSupportedYear() const override { return 100; }
  TDay GetFirstWeekDay() const override { return dSunday; }
  int GetFullWeeksInYear(int AYear) const override;

  TcxDateTime FromDateTime(TDateTime ADate) const override;
  TDateTime ToDateTime(const TcxDateTime& ADateTime) const override;
  int GetDaysInMonth(int AEra, int AYear, int AMonth) const override;
  int GetDaysInYear(int AEra, int AYear) const override;
  int GetMonthsInYear(int, int) const override { return 12; }
  // By the process-wide week rule (GetGregorianWeekNumber); AStartOfWeek is
  // not consulted.
  int GetWeekNumber(const TcxDateTime& ADate, TDay AStartOfWeek, TcxFirstWeekOfYear AFirstWeekOfYear) const override;
  bool IsLeapDay(int AEra, int AYear, int AMonth, int ADay) const override;
  bool IsLeapMonth(int AEra, int AYear, int AMonth) const override;
  bool IsLeapYear(int AEra, int AYear) const override;

 protected:
  TOwned<TcxEra> FDefaultEra;
};

class TcxGregorianUSEnglishCalendarTable : public TcxGregorianCalendarTable {
  SK_CLASS(TcxGregorianUSEnglishCalendarTable, TcxGregorianCalendarTable)
 public:
  int CalendarID() const override { return cxCalendarGregorianUSEnglish; }
};

class TcxGregorianMiddleEastFrenchCalendarTable : public TcxGregorianCalendarTable {
  SK_CLASS(TcxGregorianMiddleEastFrenchCalendarTable, TcxGregorianCalendarTable)
 public:
  int CalendarID() const override { return cxCalendarGregorianMiddleEastFrench; }
  TDay GetFirstWeekDay() const override { return dMonday; }
};

class TcxGregorianArabicCalendarTable : public TcxGregorianCalendarTable {
  SK_CLASS(TcxGregorianArabicCalendarTable, TcxGregorianCalendarTable)
 public:
  int CalendarID() const override { return cxCalendarGregorianArabic; }
  TDay GetFirstWeekDay() const override { return dSaturday; }
};

class TcxGregorianTransliteratedEnglishCalendarTable : public TcxGregorianCalendarTable {
  SK_CLASS(TcxGregorianTransliteratedEnglishCalendarTable, TcxGregorianCalendarTable)
 public:
  int CalendarID() const override { return cxCalendarGregorianTransliteratedEnglish; }
  TDay GetFirstWeekDay() const override { return dMonday; }
};

class TcxGregorianTransliteratedFrenchCalendarTable : public TcxGregorianCalendarTable {
  SK_CLASS(TcxGregorianTransliteratedFrenchCalendarTable, TcxGregorianCalendarTable)
 public:
  int CalendarID() const override { return cxCalendarGregorianTransliteratedFrench; }
  TDay GetFirstWeekDay() const override { return dMonday; }
};

// Gregorian years counted from eras: Meiji, Taisho, Showa and Heisei (era
// indices 0 to 3). A date before the first era has era -1 and a year counted
// from the default (fourth) era.
class TcxJapaneseCalendarTable : public TcxGregorianCalendarTable {
  SK_CLASS(TcxJapaneseCalendarTable, TcxGregorianCalendarTable)
 public:
  void Create() override;

  int CalendarID() const override { return cxCalendarJapanese; }
  TcxEra* DefaultEra() const override;
  TDateTime MaxSupportedDate() const override;
  TDateTime MinSupportedDate() const override;
  int GetLastSupportedYear() const override { return 8011; }
  int GetFirstSupportedYear() const override { return 1; }

  TcxDateTime FromDateTime(TDateTime ADate) const override;
  TDateTime ToDateTime(const TcxDateTime& ADateTime) const override;

 protected:
  // The eras of this calendar, in order of start.
  virtual void CreateEras();
};

// A calendar of one era: its start is the first supported day.
class TcxTaiwanCalendarTable : public TcxJapaneseCalendarTable {
  SK_CLASS(TcxTaiwanCalendarTable, TcxJapaneseCalendarTable)
 public:
  int CalendarID() const override { return cxCalendarTaiwan; }
  TcxEra* DefaultEra() const override;
  TDateTime MinSupportedDate() const override;
  int GetLastSupportedYear() const override;
  int GetFirstSupportedYear() const override;

 protected:
  void CreateEras() override;
};

class TcxKoreanCalendarTable : public TcxTaiwanCalendarTable {
  SK_CLASS(TcxKoreanCalendarTable, TcxTaiwanCalendarTable)
 public:
  int CalendarID() const override { return cxCalendarKorean; }

 protected:
  void CreateEras() override;
};

class TcxThaiCalendarTable : public TcxTaiwanCalendarTable {
  SK_CLASS(TcxThaiCalendarTable, TcxTaiwanCalendarTable)
 public:
  int CalendarID() const override { return cxCalendarThai; }

 protected:
  void CreateEras() override;
};

// The tabular Islamic calendar: a 30-year cycle with the leap years 2, 5, 7,
// 10, 13, 15, 18, 21, 24, 26 and 29; 1 Muharram 1 is 0622-07-18.
class TcxHijriCalendarTable : public TcxCustomCalendarTable {
  SK_CLASS(TcxHijriCalendarTable, TcxCustomCalendarTable)
 public:
  using TcxCustomCalendarTable::FromDateTime;
  using TcxCustomCalendarTable::GetDaysInMonth;
  using TcxCustomCalendarTable::GetDaysInYear;
  using TcxCustomCalendarTable::GetMonthsInYear;
  using TcxCustomCalendarTable::GetWeekNumber;
  using TcxCustomCalendarTable::IsLeapDay;
  using TcxCustomCalendarTable::IsLeapMonth;
  using TcxCustomCalendarTable::IsLeapYear;
  using TcxCustomCalendarTable::ToDateTime;

  void Create() override;
  void Destroy() override;

  TcxCalendarAlgorithmType AlgorithmType() const override { return catLunarCalendar; }
  int CalendarID() const override { return cxCalendarHijri; }
  TcxEra* DefaultEra() const override { return FDefaultEra.get(); }
  // From 1 Muharram 1 (0622-07-18), the first day the calendar counts, to the
  // last moment of 9999-12-31 (3 Rabi' II 9666).
  TDateTime MaxSupportedDate() const override;
  TDateTime MinSupportedDate() const override;
  int GetLastSupportedYear() const override { return 9666; }
  int GetFirstSupportedYear() const override { return 1; }
  TDay GetFirstWeekDay() const override { return dSaturday; }
  int GetFullWeeksInYear(int) const override { return 50; }

  // A date outside the supported range converts as the nearest end of it.
  TcxDateTime FromDateTime(TDateTime ADate) const override;
  // An invalid date, and one after 9999-12-31, gives the out-of-range date.
  TDateTime ToDateTime(const TcxDateTime& ADateTime) const override;
  int GetDaysInMonth(int AEra, int AYear, int AMonth) const override;
  int GetDaysInYear(int AEra, int AYear) const override;
  int GetMonthsInYear(int, int) const override { return 12; }
  int GetWeekNumber(const TcxDateTime& ADate, TDay AStartOfWeek, TcxFirstWeekOfYear AFirstWeekOfYear) const override;
  bool IsLeapDay(int AEra, int AYear, int AMonth, int ADay) const override;
  bool IsLeapMonth(int AEra, int AYear, int AMonth) const override;
  bool IsLeapYear(int AEra, int AYear) const override;
  // Also the calendar month names of the year.
  bool TryGetMonthNumber(int AYear, const String& S, int& AValue, const TFormatSettings& AFormat) const override;

 private:
  TOwned<TcxEra> FDefaultEra;
};

// The Hebrew calendar from a year table of the Gregorian years 1583 to 2239.
// Months: 1 Tishrei to 5 Shevat; then 6 Adar, 7 Nisan ... 12 Elul in a common
// year, 6 Adar I, 7 Adar II (the leap month), 8 Nisan ... 13 Elul in a leap year.
class TcxHebrewCalendarTable : public TcxCustomCalendarTable {
  SK_CLASS(TcxHebrewCalendarTable, TcxCustomCalendarTable)
 public:
  using TcxCustomCalendarTable::FromDateTime;
  using TcxCustomCalendarTable::GetDaysInMonth;
  using TcxCustomCalendarTable::GetDaysInYear;
  using TcxCustomCalendarTable::GetMonthsInYear;
  using TcxCustomCalendarTable::GetWeekNumber;
  using TcxCustomCalendarTable::IsLeapDay;
  using TcxCustomCalendarTable::IsLeapMonth;
  using TcxCustomCalendarTable::IsLeapYear;
  using TcxCustomCalendarTable::ToDateTime;

  static constexpr int FirstYear = 5343;
  static constexpr int LastYear = 5999;

  void Create() override;
  void Destroy() override;

  TcxCalendarAlgorithmType AlgorithmType() const override { return catLunarSolarCalendar; }
  int CalendarID() const override { return cxCalendarHebrew; }
  TcxEra* DefaultEra() const override { return FDefaultEra.get(); }
  // 1583-01-01 to the last moment of 2239-09-29.
  TDateTime MaxSupportedDate() const override;
  TDateTime MinSupportedDate() const override;
  int GetLastSupportedYear() const override { return LastYear; }
  int GetFirstSupportedYear() const override { return FirstYear; }
  TDay GetFirstWeekDay() const override { return dSunday; }
  int GetFullWeeksInYear(int AYear) const override { return GetDaysInYear(AYear) / 7; }

  // 0 outside 5343 to 5999; else 1 deficient, 2 regular, 3 complete.
  int GetYearType(int AYear) const;

  // A date outside the supported range converts as the nearest end of it.
  TcxDateTime FromDateTime(TDateTime ADate) const override;
  // An invalid date, and a valid one outside the supported range, gives the
  // out-of-range date.
  TDateTime ToDateTime(const TcxDateTime& ADateTime) const override;
  int GetDaysInMonth(int AEra, int AYear, int AMonth) const override;
  int GetDaysInYear(int AEra, int AYear) const override;
  int GetMonthsInYear(int AEra, int AYear) const override;
  int GetWeekNumber(const TcxDateTime& ADate, TDay AStartOfWeek, TcxFirstWeekOfYear AFirstWeekOfYear) const override;
  bool IsLeapDay(int AEra, int AYear, int AMonth, int ADay) const override;
  bool IsLeapMonth(int AEra, int AYear, int AMonth) const override;
  bool IsLeapYear(int AEra, int AYear) const override;
  // Hebrew numerals first (a day, a month of the year, a year + 5000), then
  // the calendar month names of the year, then the inherited rules.
  bool TryGetDayNumber(const String& S, int& AValue) const override;
  bool TryGetMonthNumber(int AYear, const String& S, int& AValue, const TFormatSettings& AFormat) const override;
  bool TryGetYearNumber(const String& S, int& AValue) const override;

 private:
  TOwned<TcxEra> FDefaultEra;
};

// The value of a text of Hebrew letters (alef 1 ... tav 400; final forms count
// as their letters); other characters count 0.
int HebrewNumeralValue(const String& S);

// The year table of the Hebrew calendar: for each Gregorian year 1583 to
// 2239, the Hebrew date of January 1 (1 to 29: that day of Tevet; 0, 31, 32:
// Shevat 1, 2, 3; 30: Kislev 30; 33: Kislev 29) and the type of the Hebrew
// year g + 3760 (1 to 3 deficient, regular, complete; 4 to 6 the same for
// leap years).
struct TcxHebrewYearInfo {
  int JanuaryFirst;
  int YearType;
};
TcxHebrewYearInfo HebrewYearInfo(int AGregorianYear);

// ---------------------------------------------------------------------------
// The registry of tables

// Every live table; owns them. Created on first use; nil once the unit's
// shut-down has begun.
TdxFastObjectList* CalendarTables();
// The table class of a Windows calendar id (Gregorian for an unknown id).
TClass GetCalendarTableClass(int ACalendarID);
TcxCustomCalendarTable* FindCalendarTable(int ACalendarID);
// The live table of the id, or a new one; nil once the unit's shut-down has begun.
TcxCustomCalendarTable* GetCalendarTable(int ACalendarID);
// LOCALE_ICALENDARTYPE of a locale.
int GetLocaleCalendarType(LCID ALocale);
TcxCustomCalendarTable* GetLocaleCalendarTable();
// Calendar ids 1, 2 and 9 to 12; nil means the thread locale's table.
bool IsGregorianCalendar(const TcxCustomCalendarTable* ATable = nullptr);

// ---------------------------------------------------------------------------
// Locale pictures (Windows picture syntax, from the thread locale)

String GetLocaleShortDateFormat();
String GetLocaleLongDateFormat();
String GetLocaleLongTimeFormat();
String GetLocaleAMString();
String GetLocalePMString();
// The first character, or the null character.
wchar_t GetLocaleDateSeparator();
wchar_t GetLocaleTimeSeparator();
// Fills the separators, the date and long time pictures and the AM/PM
// strings from the locale, the list separator from the run-time's settings.
void GetLocaleFormatSettings(TFormatSettings& S);

// ---------------------------------------------------------------------------
// Formatting

// With a Gregorian locale calendar and the run-time's formats in use
// (TcxFormatController::UseTarnelDateTimeFormats), FormatDatePicture;
// otherwise Windows' GetDateFormatW for the thread locale. False, with S
// empty, when Windows fails (also for dates before 1601).
bool FormatDateByLocale(String& S, DWORD AFlags, const String& AFormat, TDateTime ADate);
// The library's own formatter of a Windows date picture (d, dd, ddd, dddd,
// M, MM, MMMM, yy, yyyy, quoted text, "e" drops the text before it). With
// ASeparator other than the null character, it stands between the parts in
// place of the picture's own text.
String FormatDatePicture(const String& APicture, wchar_t ASeparator, TDateTime ADate);
// The name of the month that contains ADate in the table's calendar.
String GetCalendarMonthName(const TcxCustomCalendarTable* ATable, TDateTime ADate);
// The name of month AMonth of AYear (default era), or empty for a month the
// calendar does not have.
String GetCalendarMonthNameOf(const TcxCustomCalendarTable* ATable, int AYear, int AMonth);

// ---------------------------------------------------------------------------
// Smart input: the keywords a date mask accepts (today, yesterday, tomorrow,
// Sunday ... Saturday, first ... seventh, bom, eom, now), each optionally
// followed by a sign and one to four digits.

constexpr int cxSmartInputKeywordCount = 20;
// (Re)reads the keywords' texts through the resource-string lookup.
void LoadSmartInputKeywords();
const std::vector<String>& SmartInputKeywords();
// Appends a literal of the regular-expression mask syntax: runs of
// characters other than the apostrophe in apostrophes, each apostrophe as \'.
void AddQuotedRegExprLiteral(String& AText, const String& AKeyword);
// AMask := "(" AMask ")|(" keywords ")" and the optional signed number; "now"
// only when ACanEnterTime.
void AddSmartInputToRegExpr(String& AMask, bool ACanEnterTime);

// ---------------------------------------------------------------------------
// Week arithmetic

// The assigned start of the week when one is assigned, else the locale's.
TDay GetStartOfWeek();
void SetAssignedStartOfWeek(TDay AValue);
void ClearAssignedStartOfWeek();
bool IsStartOfWeekAssigned();
TDay GetLocaleStartOfWeek();
// fwyJan1, fwyFirstFullWeek or fwyFirstFourDays.
TcxFirstWeekOfYear GetLocaleFirstWeekOfYear();
// The run-time's DayOfWeek value 1 (Sunday) to 7 (Saturday) as a TDay.
TDay WeekdayFromRunTime(int AValue);
TDay WeekdayOf(TDateTime ADate);
int DayOffsetFromStartOfWeek(TDay AStartOfWeek, TDateTime ADate);
int DayOffsetInWeek(TDateTime ADate);
// The whole day of ADate (cxNullDayNumber stays itself), also for dates
// before 1899-12-30 with a time.
int DateDayNumber(TDateTime ADate);
int StartOfWeekDate(TDateTime ADate);
// The day the first week of AYear starts on; cxInvalidWeekStart when
// January 1 of AYear cannot be encoded.
int FirstWeekStart(int AYear, TcxFirstWeekOfYear AFirstWeekOfYear);
int GetGregorianWeekNumber(TDateTime ADate, TcxFirstWeekOfYear AFirstWeekOfYear);

// ---------------------------------------------------------------------------
// Time zones

// The registry's REG_TZI_FORMAT.
struct TcxTZIField {
  std::int32_t Bias = 0;
  std::int32_t StandardBias = 0;
  std::int32_t DaylightBias = 0;
  SYSTEMTIME StandardDate{};
  SYSTEMTIME DaylightDate{};
};
static_assert(sizeof(TcxTZIField) == 44, "the registry's REG_TZI_FORMAT");

#pragma pack(push, 1)
// The moments daylight saving begins and ends in a year, local time; both 0
// in a year without daylight saving.
struct TcxDSTInfo {
  std::uint16_t Year = 0;
  TDateTime DaylightDate = 0;
  TDateTime StandardDate = 0;
};
#pragma pack(pop)
static_assert(sizeof(TcxDSTInfo) == 18, "packed");

struct TcxTimeZoneInformation {
  String Display;
  String StandardName;
  String DaylightName;
  int Index = 0;
  String MapId;
  TcxTZIField TZI;
  std::vector<TcxDSTInfo> DynamicDST;  // in the order read
};

// The time zones the registry lists, read once (on first use after the
// unit's start-up), with the system's current zone and its index in the list.
class TdxTimeZoneHelper final {
 public:
  TdxTimeZoneHelper() = delete;

  static const std::vector<TcxTimeZoneInformation>& TimeZones();
  static const TcxTimeZoneInformation& CurrentTimeZone();
  // -1 until a zone of the list is recognised as the current one.
  static int CurrentTimeZoneIndex();

  static void LoadTimeZones();
  // The start-up read: the list is emptied and read by its first use, so
  // that the registry's round trips (a sixth of a second under Wine, and a
  // busy wine server for everything else) are paid only where it is used.
  static void LoadTimeZonesOnFirstUse();
  static void ClearTimeZones();
  // Reads the zone key that ARegistry has open (the key is closed when the
  // zone has a "Dynamic DST" subkey, which is then read).
  static void ReadTimeZoneFromRegistry(TRegistry* ARegistry, TcxTimeZoneInformation& AInfo);
  // The moment of a transition in AYear: absolute when the rule names that
  // year, else the rule's occurrence of a weekday in its month (5: the last).
  // Raises EConvertError for a rule that names no date.
  static TDateTime TransitionDate(int AYear, const SYSTEMTIME& ASystemTime);
  static bool TryTransitionDate(int AYear, const SYSTEMTIME& ASystemTime, TDateTime& ADate);
  static void TimeZoneToSystemInformation(const TcxTimeZoneInformation& AInfo, TIME_ZONE_INFORMATION& ATimeZone);
  static void TimeZoneFromSystemInformation(const TIME_ZONE_INFORMATION& ATimeZone, TcxTimeZoneInformation& AInfo);
  // The key name of the system's current zone; false when the system cannot tell.
  static bool GetDynamicTimeZoneKeyName(String& AKeyName);

 private:
  // LoadTimeZones' reading, into a list already empty.
  static void ReadTimeZones();
  static void ReadWhenDue();
};

// ---------------------------------------------------------------------------
// The unit's start-up and shut-down (listed in the layer's unit table)

void cxDateUtilsInitialization();
void cxDateUtilsFinalization();
