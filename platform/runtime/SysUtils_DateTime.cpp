// Dates and times: encoding, decoding, the clock and FormatDateTime.
#include "platform/runtime/SysUtils.h"

#include <cmath>
#include <cwctype>

namespace {

const int GMonthDays[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                               {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};

// Days from 0001-01-01 to the date, the day itself counted (0001-01-01 is 1).
int DayNumber(int AYear, int AMonth, int ADay) {
  const int y = AYear - 1;
  int days = y * 365 + y / 4 - y / 100 + y / 400 + ADay;
  const int* months = GMonthDays[IsLeapYear(AYear) ? 1 : 0];
  for (int m = 0; m < AMonth - 1; ++m) days += months[m];
  return days;
}

// Splits a day number (1 = 0001-01-01) into year, month, day; false when it
// lies before that day.
bool SplitDayNumber(int ADayNumber, int& AYear, int& AMonth, int& ADay) {
  if (ADayNumber <= 0) {
    AYear = AMonth = ADay = 0;
    return false;
  }
  constexpr int D1 = 365, D4 = D1 * 4 + 1, D100 = D4 * 25 - 1, D400 = D100 * 4 + 1;
  int t = ADayNumber - 1;
  int year = 1 + (t / D400) * 400;
  t %= D400;
  int i = t / D100;
  int d = t % D100;
  if (i == 4) {
    --i;
    d += D100;
  }
  year += i * 100;
  year += (d / D4) * 4;
  d %= D4;
  i = d / D1;
  d %= D1;
  if (i == 4) {
    --i;
    d += D1;
  }
  year += i;
  const int* months = GMonthDays[IsLeapYear(year) ? 1 : 0];
  int month = 0;
  while (d >= months[month]) d -= months[month++];
  AYear = year;
  AMonth = month + 1;
  ADay = d + 1;
  return true;
}

}  // namespace

bool IsLeapYear(int AYear) { return AYear % 4 == 0 && (AYear % 100 != 0 || AYear % 400 == 0); }

int DaysInAMonth(int AYear, int AMonth) {
  if (AMonth < 1 || AMonth > 12) return 0;
  return GMonthDays[IsLeapYear(AYear) ? 1 : 0][AMonth - 1];
}

bool TryEncodeDate(int AYear, int AMonth, int ADay, TDateTime& ADate) {
  if (AYear < 1 || AYear > 9999 || AMonth < 1 || AMonth > 12 || ADay < 1 || ADay > DaysInAMonth(AYear, AMonth))
    return false;
  ADate = static_cast<double>(DayNumber(AYear, AMonth, ADay) - DateDelta);
  return true;
}

bool TryEncodeTime(int AHour, int AMin, int ASec, int AMSec, TDateTime& ATime) {
  if (AHour < 0 || AHour > 23 || AMin < 0 || AMin > 59 || ASec < 0 || ASec > 59 || AMSec < 0 || AMSec > 999)
    return false;
  ATime = (((AHour * 60.0 + AMin) * 60.0 + ASec) * 1000.0 + AMSec) / MSecsPerDay;
  return true;
}

TDateTime EncodeDate(int AYear, int AMonth, int ADay) {
  TDateTime r = 0;
  if (!TryEncodeDate(AYear, AMonth, ADay, r))
    throw EConvertError(L"Ungültiges Argument für Datumskodierung: %d-%d-%d", {AYear, AMonth, ADay});
  return r;
}

TDateTime EncodeTime(int AHour, int AMin, int ASec, int AMSec) {
  TDateTime r = 0;
  if (!TryEncodeTime(AHour, AMin, ASec, AMSec, r))
    throw EConvertError(L"Ungültiges Argument für Zeitkodierung: %d:%d:%d.%d", {AHour, AMin, ASec, AMSec});
  return r;
}

TDateTime EncodeDateTime(int AYear, int AMonth, int ADay, int AHour, int AMin, int ASec, int AMSec) {
  const TDateTime date = EncodeDate(AYear, AMonth, ADay);
  const TDateTime time = EncodeTime(AHour, AMin, ASec, AMSec);
  // Before 1899-12-30 the date is negative and the time still counts forward.
  return date >= 0 ? date + time : date - time;
}

TTimeStamp DateTimeToTimeStamp(TDateTime AValue) {
  TTimeStamp r;
  if (!std::isfinite(AValue) || std::fabs(AValue) > 2958466.0 + DateDelta) return r;  // no such date
  const double day = std::trunc(AValue);
  long long ms = std::llround(std::fabs(AValue - day) * MSecsPerDay);
  int date = static_cast<int>(day) + DateDelta;
  if (ms >= MSecsPerDay) {
    // Rounding reached the next midnight.
    ms -= MSecsPerDay;
    ++date;
  }
  r.Time = static_cast<int>(ms);
  r.Date = date;
  return r;
}

TDateTime TimeStampToDateTime(const TTimeStamp& AValue) {
  const double date = static_cast<double>(AValue.Date - DateDelta);
  const double time = static_cast<double>(AValue.Time) / MSecsPerDay;
  return date >= 0 ? date + time : date - time;
}

void DecodeDate(TDateTime ADate, int& AYear, int& AMonth, int& ADay) {
  SplitDayNumber(DateTimeToTimeStamp(ADate).Date, AYear, AMonth, ADay);
}

bool DecodeDateFully(TDateTime ADate, int& AYear, int& AMonth, int& ADay, int& ADayOfWeek) {
  const TTimeStamp stamp = DateTimeToTimeStamp(ADate);
  if (!SplitDayNumber(stamp.Date, AYear, AMonth, ADay)) {
    ADayOfWeek = 0;
    return false;
  }
  ADayOfWeek = stamp.Date % 7 + 1;
  return IsLeapYear(AYear);
}

void DecodeTime(TDateTime ATime, int& AHour, int& AMin, int& ASec, int& AMSec) {
  int ms = DateTimeToTimeStamp(ATime).Time;
  AHour = ms / 3600000;
  ms %= 3600000;
  AMin = ms / 60000;
  ms %= 60000;
  ASec = ms / 1000;
  AMSec = ms % 1000;
}

void DecodeDateTime(TDateTime AValue, int& AYear, int& AMonth, int& ADay, int& AHour, int& AMin, int& ASec,
                    int& AMSec) {
  DecodeDate(AValue, AYear, AMonth, ADay);
  DecodeTime(AValue, AHour, AMin, ASec, AMSec);
}

int DayOfWeek(TDateTime ADate) {
  const int date = DateTimeToTimeStamp(ADate).Date;
  return date > 0 ? date % 7 + 1 : 0;
}

SYSTEMTIME DateTimeToSystemTime(TDateTime AValue) {
  SYSTEMTIME st{};
  int y, m, d, dow, h, n, s, ms;
  DecodeDateFully(AValue, y, m, d, dow);
  DecodeTime(AValue, h, n, s, ms);
  st.wYear = static_cast<WORD>(y);
  st.wMonth = static_cast<WORD>(m);
  st.wDay = static_cast<WORD>(d);
  st.wDayOfWeek = static_cast<WORD>(dow > 0 ? dow - 1 : 0);
  st.wHour = static_cast<WORD>(h);
  st.wMinute = static_cast<WORD>(n);
  st.wSecond = static_cast<WORD>(s);
  st.wMilliseconds = static_cast<WORD>(ms);
  return st;
}

TDateTime SystemTimeToDateTime(const SYSTEMTIME& AValue) {
  return EncodeDateTime(AValue.wYear, AValue.wMonth, AValue.wDay, AValue.wHour, AValue.wMinute, AValue.wSecond,
                        AValue.wMilliseconds);
}

TDateTime Now() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return SystemTimeToDateTime(st);
}

TDateTime Date() { return std::trunc(Now()); }

TDateTime Time() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return EncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds);
}

// ---------------------------------------------------------------------------
// FormatDateTime

namespace {

String TwoDigits(int AValue) {
  String r = std::to_wstring(AValue);
  return r.size() < 2 ? L"0" + r : r;
}

bool MatchesAt(const String& S, std::size_t I, const wchar_t* AToken) {
  for (std::size_t k = 0; AToken[k]; ++k)
    if (I + k >= S.size() || std::towlower(S[I + k]) != AToken[k]) return false;
  return true;
}

// Whether an AM/PM token follows position I (outside quotes).
bool AmPmFollows(const String& S, std::size_t I) {
  wchar_t quote = 0;
  for (; I < S.size(); ++I) {
    const wchar_t c = S[I];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == L'\'' || c == L'"') {
      quote = c;
    } else if (MatchesAt(S, I, L"am/pm") || MatchesAt(S, I, L"a/p") || MatchesAt(S, I, L"ampm")) {
      return true;
    }
  }
  return false;
}

class TDateFormatter {
 public:
  TDateFormatter(TDateTime AValue, const TFormatSettings& ASettings) : FSettings(ASettings) {
    int dow;
    DecodeDateFully(AValue, FYear, FMonth, FDay, dow);
    FDayOfWeek = dow;
    DecodeTime(AValue, FHour, FMinute, FSecond, FMSec);
  }

  void Append(const String& AFormat, int ADepth) {
    // Nested formats (c, ddddd, t ...) end after two levels, so a format
    // that names itself cannot recurse forever.
    if (ADepth > 2) return;
    const String& f = AFormat;
    std::size_t i = 0;
    wchar_t lastToken = 0;
    while (i < f.size()) {
      const wchar_t c = f[i];
      const wchar_t lc = static_cast<wchar_t>(std::towlower(c));
      if (c == L'\'' || c == L'"') {
        std::size_t j = i + 1;
        while (j < f.size() && f[j] != c) FOut += f[j++];
        i = j + 1;
        continue;
      }
      auto run = [&] {
        std::size_t j = i;
        while (j < f.size() && std::towlower(f[j]) == lc) ++j;
        const int count = static_cast<int>(j - i);
        i = j;
        return count;
      };
      if (MatchesAt(f, i, L"am/pm") || MatchesAt(f, i, L"a/p")) {
        const bool longForm = MatchesAt(f, i, L"am/pm");
        const bool pm = FHour >= 12;
        // The case of the token decides the case of the text.
        const wchar_t* source = &f[i + (pm ? (longForm ? 3 : 2) : 0)];
        FOut.append(source, longForm ? 2 : 1);
        i += longForm ? 5 : 3;
        continue;
      }
      if (MatchesAt(f, i, L"ampm")) {
        FOut += FHour >= 12 ? FSettings.TimePMString : FSettings.TimeAMString;
        i += 4;
        continue;
      }
      switch (lc) {
        case L'c': {
          run();
          Append(FSettings.ShortDateFormat, ADepth + 1);
          if (HasTime()) {
            FOut += L' ';
            Append(FSettings.LongTimeFormat, ADepth + 1);
          }
          break;
        }
        case L'd': {
          const int count = run();
          if (count == 1) FOut += std::to_wstring(FDay);
          else if (count == 2) FOut += TwoDigits(FDay);
          else if (count == 3) FOut += DayName(FSettings.ShortDayNames);
          else if (count == 4) FOut += DayName(FSettings.LongDayNames);
          else if (count == 5) Append(FSettings.ShortDateFormat, ADepth + 1);
          else Append(FSettings.LongDateFormat, ADepth + 1);
          break;
        }
        case L'e': {
          const int count = run();
          FOut += count >= 2 ? TwoDigits(FYear % 100) : std::to_wstring(FYear);
          break;
        }
        case L'g':
          run();  // a Gregorian date has no era name
          break;
        case L'y': {
          const int count = run();
          if (count <= 2) FOut += TwoDigits(FYear % 100);
          else {
            String year = std::to_wstring(FYear);
            if (year.size() < 4) year.insert(0, 4 - year.size(), L'0');
            FOut += year;
          }
          break;
        }
        case L'm': {
          const int count = run();
          if (lastToken == L'h') {
            FOut += count == 1 ? std::to_wstring(FMinute) : TwoDigits(FMinute);
          } else if (count == 1) {
            FOut += std::to_wstring(FMonth);
          } else if (count == 2) {
            FOut += TwoDigits(FMonth);
          } else if (FMonth >= 1) {
            FOut += count == 3 ? FSettings.ShortMonthNames[FMonth - 1] : FSettings.LongMonthNames[FMonth - 1];
          }
          break;
        }
        case L'h': {
          const int count = run();
          int hour = FHour;
          if (AmPmFollows(f, i)) {
            hour %= 12;
            if (hour == 0) hour = 12;
          }
          FOut += count == 1 ? std::to_wstring(hour) : TwoDigits(hour);
          break;
        }
        case L'n': {
          const int count = run();
          FOut += count == 1 ? std::to_wstring(FMinute) : TwoDigits(FMinute);
          break;
        }
        case L's': {
          const int count = run();
          FOut += count == 1 ? std::to_wstring(FSecond) : TwoDigits(FSecond);
          break;
        }
        case L'z': {
          const int count = run();
          String ms = std::to_wstring(FMSec);
          if (count >= 3) ms.insert(0, 3 - ms.size(), L'0');
          FOut += ms;
          break;
        }
        case L't': {
          const int count = run();
          Append(count == 1 ? FSettings.ShortTimeFormat : FSettings.LongTimeFormat, ADepth + 1);
          break;
        }
        case L'/':
          if (FSettings.DateSeparator) FOut += FSettings.DateSeparator;
          ++i;
          break;
        case L':':
          if (FSettings.TimeSeparator) FOut += FSettings.TimeSeparator;
          ++i;
          break;
        default:
          FOut += c;
          ++i;
          continue;
      }
      if (lc != L'/' && lc != L':') lastToken = lc;
    }
  }

  const String& Result() const { return FOut; }

 private:
  bool HasTime() const { return FHour || FMinute || FSecond || FMSec; }
  String DayName(const String (&ANames)[7]) const {
    return FDayOfWeek >= 1 && FDayOfWeek <= 7 ? ANames[FDayOfWeek - 1] : String();
  }

  const TFormatSettings& FSettings;
  int FYear = 0, FMonth = 0, FDay = 0, FDayOfWeek = 0;
  int FHour = 0, FMinute = 0, FSecond = 0, FMSec = 0;
  String FOut;
};

}  // namespace

String FormatDateTime(const String& AFormat, TDateTime AValue, const TFormatSettings& ASettings) {
  TDateFormatter formatter(AValue, ASettings);
  formatter.Append(AFormat.empty() ? String(L"c") : AFormat, 0);
  return formatter.Result();
}

String FormatDateTime(const String& AFormat, TDateTime AValue) {
  return FormatDateTime(AFormat, AValue, FormatSettings);
}

String DateTimeToStr(TDateTime AValue, const TFormatSettings& ASettings) {
  return FormatDateTime(L"c", AValue, ASettings);
}
String DateTimeToStr(TDateTime AValue) { return DateTimeToStr(AValue, FormatSettings); }
String DateToStr(TDateTime AValue, const TFormatSettings& ASettings) {
  return FormatDateTime(L"ddddd", AValue, ASettings);
}
String DateToStr(TDateTime AValue) { return DateToStr(AValue, FormatSettings); }
String TimeToStr(TDateTime AValue, const TFormatSettings& ASettings) {
  return FormatDateTime(L"tt", AValue, ASettings);
}
String TimeToStr(TDateTime AValue) { return TimeToStr(AValue, FormatSettings); }
