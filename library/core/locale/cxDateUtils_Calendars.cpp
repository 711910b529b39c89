// The solar calendar tables: Gregorian with its localized variants, and the
// era calendars that count Gregorian years from an era (Japanese, Taiwan,
// Korean, Thai). Months, leap years and weekdays follow the Gregorian rules.
#include "library/core/locale/cxDateUtils.h"

// ---------------------------------------------------------------------------
// TcxGregorianCalendarTable

void TcxGregorianCalendarTable::Create() {
  inherited::Create();
  FDefaultEra.reset(NewDefaultEra());
}

void TcxGregorianCalendarTable::Destroy() {
  FDefaultEra.reset();
  inherited::Destroy();
}

TDateTime TcxGregorianCalendarTable::MaxSupportedDate() const { return 2958465.99999; }
TDateTime TcxGregorianCalendarTable::MinSupportedDate() const { return EncodeDate(100, 1, 1); }

int TcxGregorianCalendarTable::GetFullWeeksInYear(int AYear) const {
  TDateTime january1 = 0;
  if (!TryEncodeDate(AYear, 1, 1, january1)) return 52;
  int c = static_cast<int>(WeekdayOf(january1)) - static_cast<int>(GetFirstWeekDay());
  if (c < 0) c += 7;
  return c == 6 || (c == 5 && IsLeapYear(AYear)) ? 53 : 52;
}

bool TcxGregorianCalendarTable::IsLeapYear(int AEra, int AYear) const {
  const int year = AYear + EraYearOffset(AEra);
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

bool TcxGregorianCalendarTable::IsLeapMonth(int AEra, int AYear, int AMonth) const {
  return AMonth == 2 && IsLeapYear(AEra, AYear);
}

bool TcxGregorianCalendarTable::IsLeapDay(int AEra, int AYear, int AMonth, int ADay) const {
  return ADay == 29 && IsLeapMonth(AEra, AYear, AMonth);
}

int TcxGregorianCalendarTable::GetDaysInMonth(int AEra, int AYear, int AMonth) const {
  switch (AMonth) {
    case 2: return IsLeapYear(AEra, AYear) ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11: return 30;
    default: return 31;
  }
}

int TcxGregorianCalendarTable::GetDaysInYear(int AEra, int AYear) const { return IsLeapYear(AEra, AYear) ? 366 : 365; }

TcxDateTime TcxGregorianCalendarTable::FromDateTime(TDateTime ADate) const {
  int year = 0, month = 0, day = 0;
  DecodeDate(ADate, year, month, day);
  return CalendarDateTime(year, month, day, DateTimeToTimeStamp(ADate).Time);
}

TDateTime TcxGregorianCalendarTable::ToDateTime(const TcxDateTime& ADateTime) const {
  if (!IsValidDay(ADateTime.Era, ADateTime.Year, ADateTime.Month, ADateTime.Day)) return MinSupportedDate();
  return EncodeDateTime(ADateTime.Year, ADateTime.Month, ADateTime.Day, ADateTime.Hours, ADateTime.Minutes,
                        ADateTime.Seconds, ADateTime.Milliseconds);
}

int TcxGregorianCalendarTable::GetWeekNumber(const TcxDateTime& ADate, TDay, TcxFirstWeekOfYear AFirstWeekOfYear) const {
  return GetGregorianWeekNumber(ToDateTime(ADate), AFirstWeekOfYear);
}

// ---------------------------------------------------------------------------
// TcxJapaneseCalendarTable

void TcxJapaneseCalendarTable::Create() {
  inherited::Create();
  CreateEras();
}

void TcxJapaneseCalendarTable::CreateEras() {
  // Meiji, Taisho, Showa, Heisei.
  FEras->Add(New<TcxEra>(1, EncodeDate(1868, 9, 8), 1867, 1, 45));
  FEras->Add(New<TcxEra>(2, EncodeDate(1912, 7, 30), 1911, 1, 15));
  FEras->Add(New<TcxEra>(3, EncodeDate(1926, 12, 25), 1925, 1, 64));
  FEras->Add(New<TcxEra>(4, EncodeDate(1989, 1, 8), 1988, 1, 8011));
}

TcxEra* TcxJapaneseCalendarTable::DefaultEra() const { return FEras->Items(3); }
TDateTime TcxJapaneseCalendarTable::MaxSupportedDate() const { return EncodeDate(9999, 12, 31); }
TDateTime TcxJapaneseCalendarTable::MinSupportedDate() const { return EncodeDate(1868, 9, 8); }

TcxDateTime TcxJapaneseCalendarTable::FromDateTime(TDateTime ADate) const {
  TcxDateTime result = TcxGregorianCalendarTable::FromDateTime(ADate);
  result.Era = GetEra(result.Year, result.Month, result.Day);
  result.Year -= result.Era >= 0 ? FEras->Items(result.Era)->YearOffset() : DefaultEra()->YearOffset();
  return result;
}

TDateTime TcxJapaneseCalendarTable::ToDateTime(const TcxDateTime& ADateTime) const {
  if (!IsValidDay(ADateTime.Era, ADateTime.Year, ADateTime.Month, ADateTime.Day)) return MinSupportedDate();
  // A valid era year may still name a Gregorian year the run-time cannot hold.
  const int year = ADateTime.Year + EraYearOffset(ADateTime.Era);
  if (year < 1 || year > 9999) return MinSupportedDate();
  return EncodeDateTime(year, ADateTime.Month, ADateTime.Day, ADateTime.Hours, ADateTime.Minutes, ADateTime.Seconds,
                        ADateTime.Milliseconds);
}

// ---------------------------------------------------------------------------
// One-era calendars

TcxEra* TcxTaiwanCalendarTable::DefaultEra() const { return FEras->Items(0); }
TDateTime TcxTaiwanCalendarTable::MinSupportedDate() const { return DefaultEra()->StartDate(); }
int TcxTaiwanCalendarTable::GetLastSupportedYear() const { return DefaultEra()->MaxEraYear(); }
int TcxTaiwanCalendarTable::GetFirstSupportedYear() const { return DefaultEra()->MinEraYear(); }

void TcxTaiwanCalendarTable::CreateEras() { FEras->Add(New<TcxEra>(1, EncodeDate(1912, 1, 1), 1911, 1, 8088)); }

void TcxKoreanCalendarTable::CreateEras() { FEras->Add(New<TcxEra>(0, EncodeDate(1, 1, 1), -2333, 2334, 12332)); }

void TcxThaiCalendarTable::CreateEras() { FEras->Add(New<TcxEra>(0, EncodeDate(1, 1, 1), -543, 544, 10542)); }
