// Format settings read from a Windows locale.
//
// Windows writes time formats with "H" for the 24-hour clock and "tt" for the
// AM/PM designator; the run-time's tokens are "h" (24-hour unless an AM/PM
// token follows) and "AMPM". Date formats need no change: the tokens agree
// and case does not matter.
#include "platform/runtime/SysUtils.h"

#include <algorithm>

TFormatSettings FormatSettings;

namespace {

String LocaleText(LCID ALocale, LCTYPE AType, const String& ADefault) {
  const int size = GetLocaleInfoW(ALocale, AType, nullptr, 0);
  if (size <= 1) return ADefault;
  String r(static_cast<std::size_t>(size), L'\0');
  const int length = GetLocaleInfoW(ALocale, AType, r.data(), size);
  if (length <= 1) return ADefault;
  r.resize(static_cast<std::size_t>(length - 1));
  return r;
}

wchar_t LocaleChar(LCID ALocale, LCTYPE AType, wchar_t ADefault) {
  const String text = LocaleText(ALocale, AType, String());
  return text.empty() ? ADefault : text[0];
}

int LocaleNumber(LCID ALocale, LCTYPE AType, int ADefault) {
  return StrToIntDef(LocaleText(ALocale, AType, String()), ADefault);
}

String ConvertTimeFormat(const String& AFormat) {
  String r;
  wchar_t quote = 0;
  for (std::size_t i = 0; i < AFormat.size(); ++i) {
    const wchar_t c = AFormat[i];
    if (quote) {
      if (c == quote) quote = 0;
      r += c;
    } else if (c == L'\'' || c == L'"') {
      quote = c;
      r += c;
    } else if (c == L't') {
      while (i + 1 < AFormat.size() && AFormat[i + 1] == L't') ++i;
      r += L"AMPM";
    } else if (c == L'H') {
      r += L'h';
    } else {
      r += c;
    }
  }
  return r;
}

// "h:mm:ss AMPM" without its seconds part: "h:mm AMPM".
String WithoutSeconds(const String& AFormat) {
  String r;
  for (std::size_t i = 0; i < AFormat.size(); ++i) {
    const wchar_t c = AFormat[i];
    if ((c == L's' || c == L'S')) {
      while (!r.empty() && (r.back() == L':' || r.back() == L'.')) r.pop_back();
      while (i + 1 < AFormat.size() && (AFormat[i + 1] == L's' || AFormat[i + 1] == L'S')) ++i;
      continue;
    }
    r += c;
  }
  return r;
}

LCID UsableLocale(LCID ALocale) {
  return IsValidLocale(ALocale, LCID_SUPPORTED) ? ALocale : GetUserDefaultLCID();
}

}  // namespace

TFormatSettings TFormatSettings::Create(LCID ALocale) {
  const LCID l = UsableLocale(ALocale);
  const TFormatSettings inv = Invariant();
  TFormatSettings s;
  s.CurrencyString = LocaleText(l, LOCALE_SCURRENCY, inv.CurrencyString);
  s.CurrencyFormat = static_cast<std::uint8_t>(LocaleNumber(l, LOCALE_ICURRENCY, 0) & 3);
  s.NegCurrFormat = static_cast<std::uint8_t>(std::clamp(LocaleNumber(l, LOCALE_INEGCURR, 0), 0, 15));
  s.CurrencyDecimals = static_cast<std::uint8_t>(std::clamp(LocaleNumber(l, LOCALE_ICURRDIGITS, 2), 0, 18));
  s.ThousandSeparator = LocaleChar(l, LOCALE_STHOUSAND, L',');
  s.DecimalSeparator = LocaleChar(l, LOCALE_SDECIMAL, L'.');
  s.DateSeparator = LocaleChar(l, LOCALE_SDATE, L'/');
  s.TimeSeparator = LocaleChar(l, LOCALE_STIME, L':');
  s.ListSeparator = LocaleChar(l, LOCALE_SLIST, L',');
  s.ShortDateFormat = LocaleText(l, LOCALE_SSHORTDATE, inv.ShortDateFormat);
  s.LongDateFormat = LocaleText(l, LOCALE_SLONGDATE, inv.LongDateFormat);
  s.TimeAMString = LocaleText(l, LOCALE_S1159, String());
  s.TimePMString = LocaleText(l, LOCALE_S2359, String());
  s.LongTimeFormat = ConvertTimeFormat(LocaleText(l, LOCALE_STIMEFORMAT, L"HH:mm:ss"));
  const String shortTime = LocaleText(l, LOCALE_SSHORTTIME, String());
  s.ShortTimeFormat = shortTime.empty() ? WithoutSeconds(s.LongTimeFormat) : ConvertTimeFormat(shortTime);
  for (int i = 0; i < 12; ++i) {
    s.ShortMonthNames[i] = LocaleText(l, LOCALE_SABBREVMONTHNAME1 + i, inv.ShortMonthNames[i]);
    s.LongMonthNames[i] = LocaleText(l, LOCALE_SMONTHNAME1 + i, inv.LongMonthNames[i]);
  }
  // Windows counts the days from Monday; the run-time from Sunday.
  for (int i = 0; i < 7; ++i) {
    const int windowsDay = (i + 6) % 7;
    s.ShortDayNames[i] = LocaleText(l, LOCALE_SABBREVDAYNAME1 + windowsDay, inv.ShortDayNames[i]);
    s.LongDayNames[i] = LocaleText(l, LOCALE_SDAYNAME1 + windowsDay, inv.LongDayNames[i]);
  }
  s.TwoDigitYearCenturyWindow = 50;
  return s;
}

TFormatSettings TFormatSettings::Create() { return Create(GetUserDefaultLCID()); }

TFormatSettings TFormatSettings::Create(const String& ALocaleName) {
  const LCID locale = ALocaleName.empty() ? 0 : LocaleNameToLCID(ALocaleName.c_str(), 0);
  return locale ? Create(locale) : Create();
}

TFormatSettings TFormatSettings::Invariant() {
  static const wchar_t* const shortMonths[12] = {L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                                                 L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};
  static const wchar_t* const longMonths[12] = {L"January", L"February", L"March",     L"April",
                                                L"May",     L"June",     L"July",      L"August",
                                                L"September", L"October", L"November", L"December"};
  static const wchar_t* const shortDays[7] = {L"Sun", L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat"};
  static const wchar_t* const longDays[7] = {L"Sunday",   L"Monday", L"Tuesday", L"Wednesday",
                                             L"Thursday", L"Friday", L"Saturday"};
  TFormatSettings s;
  s.CurrencyString = L"\u00A4";
  s.CurrencyFormat = 0;
  s.NegCurrFormat = 0;
  s.CurrencyDecimals = 2;
  s.ThousandSeparator = L',';
  s.DecimalSeparator = L'.';
  s.DateSeparator = L'/';
  s.TimeSeparator = L':';
  s.ListSeparator = L',';
  s.ShortDateFormat = L"MM/dd/yyyy";
  s.LongDateFormat = L"dddd, dd MMMM yyyy";
  s.TimeAMString = L"AM";
  s.TimePMString = L"PM";
  s.ShortTimeFormat = L"hh:mm";
  s.LongTimeFormat = L"hh:mm:ss";
  for (int i = 0; i < 12; ++i) {
    s.ShortMonthNames[i] = shortMonths[i];
    s.LongMonthNames[i] = longMonths[i];
  }
  for (int i = 0; i < 7; ++i) {
    s.ShortDayNames[i] = shortDays[i];
    s.LongDayNames[i] = longDays[i];
  }
  return s;
}

void GetFormatSettings() { FormatSettings = TFormatSettings::Create(); }
