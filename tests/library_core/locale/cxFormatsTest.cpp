#include "library/core/locale/cxFormats.h"
#include "platform/ui/Forms.h"
#include "tests/library_core/DateTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

// An item list as text: "kind=data" per item, blank-separated.
String Items(const TcxDateTimeFormatInfo* AInfo) {
  static const wchar_t* const kinds[] = {L"lit", L"year", L"month", L"day",   L"hour", L"min",
                                         L"sec", L"msec", L"suffix", L"dsep", L"tsep"};
  String result;
  for (int i = 0; i < AInfo->ItemCount(); ++i) {
    const TcxDateTimeFormatItem* item = AInfo->Items(i);
    if (!result.empty()) result += L' ';
    result += kinds[item->Kind()];
    if (item->Kind() == dtikString)
      result += L"\"" + item->Data() + L"\"";
    else if (!item->Data().empty())
      result += L"=" + item->Data();
  }
  return result;
}

String Parsed(const String& AFormat) {
  TOwned<TcxDateTimeFormatInfo> info(New<TcxDateTimeFormatInfo>());
  ParseDateTimeFormat(AFormat, info.get());
  return Items(info.get());
}

// The nested formats of the tokenizer, fixed for a test: English settings
// with the thread locale en-US (long time "h:mm:ss tt").
class FormatTokenizer : public testing::Test {
 protected:
  TDateLocaleScope FLocale{L"en-US"};
  void SetUp() override {
    FormatSettings.ShortDateFormat = L"M/d/yyyy";
    FormatSettings.LongDateFormat = L"dddd, MMMM d, yyyy";
    FormatSettings.ShortTimeFormat = L"h:mm AMPM";
  }
};

TEST_F(FormatTokenizer, ItemListsOfFormats) {
  struct Case {
    const wchar_t* Format;
    const wchar_t* Expected;
  };
  const Case cases[] = {
      {L"dd/mm/yyyy", L"day=DD dsep month=MM dsep year=YYYY"},
      {L"hh:mm", L"hour=24HH tsep min=NN"},  // an "m" after "h" is minutes
      {L"h:nn AMPM", L"hour=12H tsep min=NN lit\" \" suffix=AMPM"},
      {L"hh:nn:ss am/pm", L"hour=12HH tsep min=NN tsep sec=SS lit\" \" suffix=am/pm"},  // as written
      {L"h A/P", L"hour=12H lit\" \" suffix=A/P"},
      {L"am/pm", L""},  // a suffix without an hour goes
      {L"yyyy yy", L"year=YYYY lit\" \""},
      {L"dddd dd", L"day=DDDD lit\" \" day=DD"},  // a day name never marks the day
      {L"dd dddd", L"day=DD lit\" \""},
      {L"'at' hh", L"lit\"at \" hour=24HH"},
      {L"\"o'clock\" h", L"lit\"o'clock \" hour=24H"},
      {L"'open", L"lit\"open\""},
      {L"#-#", L"lit\"#-#\""},
      {L"aaaa, d", L"day=DDDD lit\", \" day=D"},
      {L"aaa", L"day=DDD"},
      {L"mmmmm e eee", L"month=MMMM lit\" \" year=YY lit\" \""},
      {L"hhh:nnn:sss.zzzz", L"hour=24HH tsep min=NN tsep sec=SS lit\".\" msec=ZZZ"},
      {L"c", L"month=M dsep day=D dsep year=YYYY lit\" \" hour=12H tsep min=NN tsep sec=SS lit\" \" suffix=AMPM"},
      {L"", L"month=M dsep day=D dsep year=YYYY lit\" \" hour=12H tsep min=NN tsep sec=SS lit\" \" suffix=AMPM"},
      {L"ddddd", L"month=M dsep day=D dsep year=YYYY"},
      {L"dddddd", L"day=DDDD lit\", \" month=MMMM lit\" \" day=D lit\", \" year=YYYY"},
      {L"t", L"hour=12H tsep min=NN lit\" \" suffix=AMPM"},
      {L"tt", L"hour=12H tsep min=NN tsep sec=SS lit\" \" suffix=AMPM"},
      // The outermost level that saw an hour decides the clock: here the
      // 24-hour "hh" outside, though the nested short time has a suffix.
      {L"hh t", L"hour=24HH lit\" \" tsep min=NN lit\" \" suffix=AMPM"},
      {L"g", L""},
      {L"dd/mm/yyyy gg", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "format \"" << std::wstring(c.Format) << "\"");
    EXPECT_EQ(Parsed(c.Format), c.Expected);
  }
}

TEST_F(FormatTokenizer, DefinedKindsFollowTheItems) {
  TOwned<TcxDateTimeFormatInfo> info(New<TcxDateTimeFormatInfo>());
  ParseDateTimeFormat(L"dddd hh:nn", info.get());
  EXPECT_FALSE(info->DefinedItems(dtikDay));  // only a day name
  EXPECT_TRUE(info->DefinedItems(dtikHour));
  EXPECT_TRUE(info->DefinedItems(dtikTimeSeparator));
  EXPECT_TRUE(info->DefinedItems(dtikString));
  EXPECT_FALSE(info->DefinedItems(dtikYear));
  ParseDateTimeFormat(L"g", info.get());
  EXPECT_EQ(info->ItemCount(), 0);
  for (int kind = 0; kind < cxDateTimeFormatItemKindCount; ++kind)
    EXPECT_FALSE(info->DefinedItems(static_cast<TcxDateTimeFormatItemKind>(kind)));
}

TEST_F(FormatTokenizer, NestedFormatWithAnEraGivesAnEmptyList) {
  FormatSettings.ShortDateFormat = L"gg yyyy/M/d";
  EXPECT_EQ(Parsed(L"c"), L"");
  EXPECT_EQ(Parsed(L"ddddd"), L"");
  // Two levels down the era is never read.
  FormatSettings.ShortDateFormat = L"ddddd d/M";
  EXPECT_EQ(Parsed(L"ddddd"), L"lit\" \" day=D dsep month=M");
}

TEST_F(FormatTokenizer, LongTimeFormatComesFromTheLocaleOrTheRunTime) {
  EXPECT_EQ(GetLongTimeFormat(), L"h:mm:ss AMPM");  // en-US "h:mm:ss tt"
  {
    TDateLocaleScope korean(L"ko-KR");  // "tt h:mm:ss"
    EXPECT_EQ(GetLongTimeFormat(), L"AMPM h:mm:ss");
  }
  TcxFormatController* controller = FormatController();
  FormatSettings.LongTimeFormat = L"hh.nn";
  controller->SetUseTarnelDateTimeFormats(true);
  EXPECT_EQ(GetLongTimeFormat(), L"hh.nn");
  controller->SetUseTarnelDateTimeFormats(false);
}

TEST(FormatTokenizerConversion, WindowsTimePictures) {
  EXPECT_EQ(ConvertLocaleTimeFormat(L"tt h:mm:ss"), L"AMPM h:mm:ss");
  EXPECT_EQ(ConvertLocaleTimeFormat(L"h:mm t"), L"h:mm A/P");
  EXPECT_EQ(ConvertLocaleTimeFormat(L"HH:mm:ss"), L"HH:mm:ss");
  EXPECT_EQ(ConvertLocaleTimeFormat(L"tTth"), L"AMPMh");
}

TEST(FormatTokenizerInfo, RemoveAndClear) {
  TOwned<TcxDateTimeFormatInfo> info(New<TcxDateTimeFormatInfo>());
  info->AddItem(dtikYear, L"YYYY");
  info->AddItem(dtikString, L"-");
  info->SetDefinedItems(dtikYear, true);
  info->RemoveItem(0);
  EXPECT_EQ(Items(info.get()), L"lit\"-\"");
  EXPECT_TRUE(info->DefinedItems(dtikYear));  // RemoveItem leaves the flags
  info->ClearFormatInfo();
  EXPECT_EQ(info->ItemCount(), 0);
  EXPECT_FALSE(info->DefinedItems(dtikYear));
}

// ---------------------------------------------------------------------------
// Masks of parsed formats

const wchar_t* const DayExpr = L"([012]?[1-9]|[123]0|31)";
const wchar_t* const Hour12Expr = L"(0?[1-9]|1[012])";
const wchar_t* const Hour24Expr = L"([01]?\\d|2[0-3])";
const wchar_t* const MinSecExpr = L"[0-5]?\\d";
const wchar_t* const SmartInputTail = L")((\\+|-)\\d(\\d(\\d\\d?)?)?)?";

String MonthExpr(const String (&ANames)[12]) {
  String names;
  for (int i = 0; i < 12; ++i) names += (i ? L"|'" : L"'") + ANames[i] + L"'";
  return L"((0?[1-9]|1[012])|(" + names + L"))";
}

String SmartInputKeywordsExpr(bool AWithNow) {
  return String(L"'today'|'yesterday'|'tomorrow'|'Sunday'|'Monday'|'Tuesday'|'Wednesday'|'Thursday'|'Friday'|") +
         L"'Saturday'|'first'|'second'|'third'|'fourth'|'fifth'|'sixth'|'seventh'|'bom'|'eom'" +
         (AWithNow ? L"|'now'" : L"");
}

String WithSmartInput(const String& AMask, bool AWithNow) {
  return L"(" + AMask + L")|(" + SmartInputKeywordsExpr(AWithNow) + SmartInputTail;
}

class FormatMasks : public FormatTokenizer {};

TEST_F(FormatMasks, StandardRegExprAndDisplayFormatsOfOneFormat) {
  FormatSettings.DateSeparator = L'.';
  TOwned<TcxDateTimeFormatInfo> info(New<TcxDateTimeFormatInfo>());
  ParseDateTimeFormat(L"dd/MM/yyyy", info.get());
  EXPECT_EQ(GetDateTimeStandardMask(info.get(), TcxDateTimeMaskMode::Date), L"!99/99/9999;1; ");
  // The separator item takes the run-time's separator, not the format's "/".
  EXPECT_EQ(GetDateTimeRegExprMask(info.get(), TcxDateTimeMaskMode::Date),
            String(DayExpr) + L"\\." + MonthExpr(FormatSettings.ShortMonthNames) + L"\\.\\d\\d\\d\\d");
  EXPECT_EQ(GetMaskedDateTimeFormat(info.get()), L"dd/mm/yyyy");

  ParseDateTimeFormat(L"ddd, d. MMMM yy 'at' hh:nn:ss.zzz am/pm", info.get());
  EXPECT_EQ(GetDateTimeStandardMask(info.get(), TcxDateTimeMaskMode::DateTime),
            L"!lll\\,\\ 99\\.\\ lll\\ 99\\ \\a\\t\\ 99:99:99\\.\\ cc;1; ");
  EXPECT_EQ(GetDateTimeStandardMask(info.get(), TcxDateTimeMaskMode::Time),
            L"lll\\,\\ 99\\.\\ lll\\ 99\\ \\a\\t\\ 00:00:00\\.\\ cc;1;0");
  EXPECT_EQ(GetMaskedDateTimeFormat(info.get()), L"ddd', 'dd'. 'mmm' 'yy' at 'hh:nn:ss'.'' 'am/pm");
  // Time mode: the literals and the time items only.
  EXPECT_EQ(GetDateTimeRegExprMask(info.get(), TcxDateTimeMaskMode::Time),
            String(L"', ''. '' '' at '") + Hour12Expr + L"\\:" + MinSecExpr + L"\\:" + MinSecExpr + L"'.'' '" +
                L"(AM|PM)?");
}

TEST_F(FormatMasks, TimeSuffixAndSeparatorExpressions) {
  TOwned<TcxDateTimeFormatInfo> info(New<TcxDateTimeFormatInfo>());
  ParseDateTimeFormat(L"h:nn AMPM", info.get());
  struct Case {
    const wchar_t* Am;
    const wchar_t* Pm;
    wchar_t TimeSeparator;
    const wchar_t* Suffix;
    const wchar_t* Separator;
    const wchar_t* StandardSuffix;
  };
  const Case cases[] = {
      {L"AM", L"PM", L':', L"('AM'|'PM')?", L"\\:", L"cc"},
      {L"", L"", L' ', L"", L"' '", L""},
      {L"vorm.", L"", L'\0', L"('vorm.')?", L"", L"ccccc"},
      {L"", L"nachm.", L'.', L"('nachm.')?", L"\\.", L"cccccc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "AM \"" << std::wstring(c.Am) << "\" PM \"" << std::wstring(c.Pm) << "\"");
    FormatSettings.TimeAMString = c.Am;
    FormatSettings.TimePMString = c.Pm;
    FormatSettings.TimeSeparator = c.TimeSeparator;
    EXPECT_EQ(GetDateTimeRegExprMask(info.get(), TcxDateTimeMaskMode::Time),
              String(Hour12Expr) + c.Separator + MinSecExpr + L"' '" + c.Suffix);
    EXPECT_EQ(GetDateTimeStandardMask(info.get(), TcxDateTimeMaskMode::Time),
              String(L"00:00\\ ") + c.StandardSuffix + L";1;0");
  }
}

TEST_F(FormatMasks, ALiteralWithAnApostropheStaysOneLiteralOfTheExpression) {
  TOwned<TcxDateTimeFormatInfo> info(New<TcxDateTimeFormatInfo>());
  ParseDateTimeFormat(L"hh \"o'clock\"", info.get());
  EXPECT_EQ(GetDateTimeRegExprMask(info.get(), TcxDateTimeMaskMode::Time), String(Hour24Expr) + L"' o'\\''clock'");
}

TEST_F(FormatMasks, LongMonthNamesAddDifferingGenitives) {
  // Polish names a month one way alone and another way after a day number
  // ("styczeń", "5 stycznia"): every month has a genitive of its own.
  TDateLocaleScope polish(L"pl-PL");
  const wchar_t* const genitives[12] = {L"stycznia", L"lutego",   L"marca",    L"kwietnia",
                                        L"maja",     L"czerwca",  L"lipca",    L"sierpnia",
                                        L"września", L"października", L"listopada", L"grudnia"};
  String names;
  for (int month = 1; month <= 12; ++month) {
    SCOPED_TRACE(month);
    const String name = FormatSettings.LongMonthNames[month - 1];
    ASSERT_FALSE(AnsiSameText(name, genitives[month - 1]));
    EXPECT_EQ(GetGenitiveMonthName(month), genitives[month - 1]);
    names += (month > 1 ? L"|'" : L"'") + name + L"'|'" + genitives[month - 1] + L"'";
  }
  TOwned<TcxDateTimeFormatInfo> info(New<TcxDateTimeFormatInfo>());
  ParseDateTimeFormat(L"MMMM", info.get());
  EXPECT_EQ(GetDateTimeRegExprMask(info.get(), TcxDateTimeMaskMode::Date), L"((0?[1-9]|1[012])|(" + names + L"))");
  // English has no genitives: the names stand alone.
  TDateLocaleScope english(L"en-US");
  EXPECT_EQ(GetGenitiveMonthName(3), L"March");
  EXPECT_EQ(GetDateTimeRegExprMask(info.get(), TcxDateTimeMaskMode::Date), MonthExpr(FormatSettings.LongMonthNames));
}

TEST_F(FormatMasks, DateEditFormatDoublesLoneDaysAndMonths) {
  struct Case {
    const wchar_t* Short;
    bool Shorten;
    const wchar_t* Expected;
  };
  const Case cases[] = {
      {L"d.M.yy", false, L"dd.MM.yy"},   {L"dd/MM/yyyy", false, L"dd/MM/yyyy"},
      {L"M/d/yyyy", false, L"MM/dd/yyyy"}, {L"d-MMMM-yyyy", false, L"dd-MMMM-yyyy"},
      {L"d-MMMM-yyyy", true, L"dd-MMM-yyyy"}, {L"m/D", false, L"m/D"},  // only "d" and "M" count
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::wstring(c.Short));
    EXPECT_EQ(GetDateEditFormat(c.Short, c.Shorten), c.Expected);
  }
}

TEST_F(FormatMasks, ItemsOfAStandardMaskByPosition) {
  FormatSettings.TimeAMString = L"vorm.";
  FormatSettings.TimePMString = L"PM";
  TOwned<TcxDateTimeFormatInfo> info(New<TcxDateTimeFormatInfo>());
  ParseDateTimeFormat(L"ddd d/M/yy hh:nn AMPM", info.get());
  // lll _ 99 / 99 / 99 _ 99 : 99 _ ccccc
  struct Case {
    int Pos;
    TcxDateTimeFormatItemKind Kind;
    int Start, Length;
  };
  const Case cases[] = {{1, dtikDay, 1, 3},     {3, dtikDay, 1, 3},      {4, dtikString, 4, 1},
                        {5, dtikDay, 5, 2},     {7, dtikDateSeparator, 7, 1}, {11, dtikYear, 11, 2},
                        {14, dtikHour, 14, 2},  {17, dtikMin, 17, 2},    {20, dtikTimeSuffix, 20, 5},
                        {24, dtikTimeSuffix, 20, 5}};
  TcxDateTimeFormatItemInfo item;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Pos);
    ASSERT_TRUE(TcxFormatController::GetDateTimeFormatItemStandardMaskInfo(info.get(), c.Pos, item));
    EXPECT_EQ(item.Kind, c.Kind);
    EXPECT_EQ(item.ItemZoneStart, c.Start);
    EXPECT_EQ(item.ItemZoneLength, c.Length);
  }
  ASSERT_TRUE(TcxFormatController::GetDateTimeFormatItemStandardMaskInfo(info.get(), 20, item));
  EXPECT_EQ(item.TimeSuffixKind, tskAMPMString);
  EXPECT_EQ(TcxFormatController::GetDateTimeStandardMaskStringLength(info.get()), 24);
  EXPECT_FALSE(TcxFormatController::GetDateTimeFormatItemStandardMaskInfo(info.get(), 25, item));
  ParseDateTimeFormat(L"h a/p", info.get());
  ASSERT_TRUE(TcxFormatController::GetDateTimeFormatItemStandardMaskInfo(info.get(), 4, item));
  EXPECT_EQ(item.TimeSuffixKind, tskAP);
  EXPECT_EQ(item.ItemZoneLength, 1);
  ParseDateTimeFormat(L"h am/pm", info.get());
  ASSERT_TRUE(TcxFormatController::GetDateTimeFormatItemStandardMaskInfo(info.get(), 4, item));
  EXPECT_EQ(item.TimeSuffixKind, tskAMPM);
  EXPECT_EQ(item.ItemZoneLength, 2);
  EXPECT_FALSE(TcxFormatController::GetDateTimeFormatItemStandardMaskInfo(info.get(), 0, item));
  ParseDateTimeFormat(L"g", info.get());
  EXPECT_FALSE(TcxFormatController::GetDateTimeFormatItemStandardMaskInfo(info.get(), 1, item));
}

// ---------------------------------------------------------------------------
// The controller in real locales

struct LocaleCase {
  const wchar_t* Name;
  // Wine's pictures for the locale, as the expectations below assume them.
  const wchar_t* ShortDate;
  const wchar_t* LocaleLongTime;
  const wchar_t* DateEditFormat;
  const wchar_t* StandardDateMask;
  const wchar_t* StandardDateTimeMask;
  const wchar_t* MaskedDateFormat;
  const wchar_t* MaskedDateTimeFormat;
  const wchar_t* CurrencyFormat;
  bool GregorianCalendar;
};

void PrintTo(const LocaleCase& ALocale, std::ostream* AStream) { *AStream << testing::PrintToString(std::wstring(ALocale.Name)); }

// The regular expressions of a locale: the date expression built from its
// parts in format order, the time expression likewise.
String DateExprOf(const LocaleCase& ALocale) {
  const String month = MonthExpr(FormatSettings.ShortMonthNames);
  const String year = L"\\d\\d\\d\\d";
  const String name = ALocale.Name;
  if (name == L"en-US") return month + L"\\/" + DayExpr + L"\\/" + year;
  if (name == L"de-DE" || name == L"he-IL") return DayExpr + String(L"'.'") + month + L"'.'" + year;
  if (name == L"ja-JP") return year + L"\\/" + month + L"\\/" + DayExpr;
  if (name == L"ar-SA")  // the date separator is the right-to-left mark before the "/"
    return DayExpr + String(L"'\u200F'\\\u200F") + month + L"'\u200F'\\\u200F" + year;
  return DayExpr + String(L"\\/") + month + L"\\/" + year;  // th-TH
}

String TimeExprOf(const LocaleCase& ALocale) {
  const String hms = String(L"\\:") + MinSecExpr + L"\\:" + MinSecExpr;
  const String name = ALocale.Name;
  if (name == L"en-US") return Hour12Expr + hms + L"' '('AM'|'PM')?";
  if (name == L"ar-SA") return Hour12Expr + hms + L"' '('\u0635'|'\u0645')?";
  return Hour24Expr + hms;
}

class ControllerInLocale : public testing::TestWithParam<LocaleCase> {};

TEST_P(ControllerInLocale, BuildsMasksAndFormatsByTheLocale) {
  const LocaleCase& c = GetParam();
  TDateLocaleScope locale(c.Name);
  ASSERT_EQ(FormatSettings.ShortDateFormat, c.ShortDate) << "Wine's short date format changed";
  ASSERT_EQ(GetLocaleLongTimeFormat(), c.LocaleLongTime) << "Wine's long time format changed";
  TOwned<TcxFormatController> controller(New<TcxFormatController>());
  EXPECT_EQ(controller->DateEditFormat(), c.DateEditFormat);
  EXPECT_EQ(controller->DateEditMask(), c.StandardDateMask);
  EXPECT_EQ(controller->StandardDateEditMask(), c.StandardDateMask);
  EXPECT_TRUE(controller->IsStandardMaskValid());
  EXPECT_EQ(controller->StandardDateTimeEditMask(), c.StandardDateTimeMask);
  EXPECT_EQ(controller->MaskedDateEditFormat(), c.MaskedDateFormat);
  EXPECT_EQ(controller->MaskedDateTimeEditFormat(), c.MaskedDateTimeFormat);
  EXPECT_EQ(controller->CurrencyFormat(), c.CurrencyFormat);
  EXPECT_EQ(controller->LocalIsGregorianCalendar(), c.GregorianCalendar);

  const String date = DateExprOf(c);
  EXPECT_EQ(controller->RegExprDateEditMask(), WithSmartInput(date, false));
  EXPECT_EQ(controller->RegExprDateTimeEditMask(), WithSmartInput(date + L" ' '(" + TimeExprOf(c) + L")?", true));
  EXPECT_EQ(controller->RegExprCustomDateEditMask(c.ShortDate), date);

  // The locale's own pictures, untouched.
  const TFormatSettings& local = controller->LocalFormatSettings();
  EXPECT_EQ(local.ShortDateFormat, GetLocaleShortDateFormat());
  EXPECT_EQ(local.LongTimeFormat, c.LocaleLongTime);
  EXPECT_EQ(local.DateSeparator, GetLocaleDateSeparator());
  EXPECT_EQ(local.TimeAMString, GetLocaleAMString());
  EXPECT_EQ(local.ListSeparator, FormatSettings.ListSeparator);
  EXPECT_TRUE(local.CurrencyString.empty());
  EXPECT_EQ(local.DecimalSeparator, L'\0');
  EXPECT_TRUE(local.LongMonthNames[0].empty());
}

// Standard masks write every literal character escaped; "c" per character of
// the longer AM/PM string.
const LocaleCase GLocales[] = {
    {L"en-US", L"M/d/yyyy", L"h:mm:ss tt", L"MM/dd/yyyy", L"!99/99/9999;1; ", L"!99/99/9999\\ 99:99:99\\ cc;1; ",
     L"mm/dd/yyyy", L"mm/dd/yyyy' 'hh:nn:ss' 'ampm", L"$,0.00;($,0.00)", true},
    {L"de-DE", L"d.M.yyyy", L"HH:mm:ss", L"dd.MM.yyyy", L"!99\\.99\\.9999;1; ", L"!99\\.99\\.9999\\ 99:99:99;1; ",
     L"dd'.'mm'.'yyyy", L"dd'.'mm'.'yyyy' 'hh:nn:ss", L",0.00 \u20AC;-,0.00 \u20AC", true},
    {L"ja-JP", L"yyyy/M/d", L"H:mm:ss", L"yyyy/MM/dd", L"!9999/99/99;1; ", L"!9999/99/99\\ 99:99:99;1; ",
     L"yyyy/mm/dd", L"yyyy/mm/dd' 'hh:nn:ss", L"\uFFE5,0.;(\uFFE5,0.)", true},
    // Wine gives ar-SA the Umm al-Qura calendar (id 23), which has no table
    // of its own: the Gregorian table serves it, so the locale counts as
    // Gregorian. Its date separator is the right-to-left mark before the "/".
    {L"ar-SA", L"d\u200F/M\u200F/yyyy", L"h:mm:ss tt", L"dd\u200F/MM\u200F/yyyy", L"!99\\\u200F/99\\\u200F/9999;1; ",
     L"!99\\\u200F/99\\\u200F/9999\\ 99:99:99\\ c;1; ", L"dd'\u200F'/mm'\u200F'/yyyy",
     L"dd'\u200F'/mm'\u200F'/yyyy' 'hh:nn:ss' 'ampm",
     L",0.00\u0631'.'\u0633'.'\u200F;(,0.00\u0631'.'\u0633'.'\u200F)", true},
    {L"he-IL", L"d.M.yyyy", L"H:mm:ss", L"dd.MM.yyyy", L"!99\\.99\\.9999;1; ", L"!99\\.99\\.9999\\ 99:99:99;1; ",
     L"dd'.'mm'.'yyyy", L"dd'.'mm'.'yyyy' 'hh:nn:ss", L",0.00 \u20AA;-,0.00 \u20AA", true},
    // th-TH uses the Thai calendar (id 7).
    {L"th-TH", L"d/M/yyyy", L"HH:mm:ss", L"dd/MM/yyyy", L"!99/99/9999;1; ", L"!99/99/9999\\ 99:99:99;1; ",
     L"dd/mm/yyyy", L"dd/mm/yyyy' 'hh:nn:ss", L"\u0E3F,0.00;(\u0E3F,0.00)", false},
};

INSTANTIATE_TEST_SUITE_P(WineLocales, ControllerInLocale, testing::ValuesIn(GLocales),
                         [](const testing::TestParamInfo<LocaleCase>& AInfo) {
                           std::string name;
                           for (const wchar_t* p = AInfo.param.Name; *p; ++p)
                             if (*p != L'-') name += static_cast<char>(*p);
                           return name;
                         });

TEST(FormatController, MonthNamesOfUnequalLengthMakeTheStandardMaskInvalid) {
  TDateLocaleScope locale(L"en-US");
  FormatSettings.ShortDateFormat = L"dd-MMM-yyyy";
  TOwned<TcxFormatController> controller(New<TcxFormatController>());
  EXPECT_EQ(controller->DateEditMask(), L"!99\\-lll\\-9999;1; ");
  EXPECT_TRUE(controller->IsStandardMaskValid());  // Jan ... Dec
  FormatSettings.ShortMonthNames[8] = L"Sept";
  controller->GetFormats();
  EXPECT_FALSE(controller->IsStandardMaskValid());
  controller->SetStandardDateEditMask(L"!99-lll-9999;1;_");
  EXPECT_TRUE(controller->IsStandardMaskValid());
  EXPECT_EQ(controller->StandardDateEditMask(), L"!99-lll-9999;1;_");
}

TEST(FormatController, AnEraFormatGivesOnlyTheFixedParts) {
  TDateLocaleScope locale(L"en-US");
  FormatSettings.ShortDateFormat = L"gg y/M/d";
  TOwned<TcxFormatController> controller(New<TcxFormatController>());
  EXPECT_EQ(controller->DateEditMask(), L"!;1; ");
  EXPECT_EQ(controller->RegExprDateEditMask(), WithSmartInput(L"", false));
  EXPECT_EQ(controller->MaskedDateEditFormat(), L"");
  EXPECT_EQ(controller->MaskedDateTimeEditFormat(), L"");
}

TEST(FormatController, CurrencyFormats) {
  TFormatSettings s = TFormatSettings::Invariant();
  s.CurrencyString = L"$";
  s.CurrencyDecimals = 2;
  EXPECT_EQ(TcxFormatController::GetCurrencyFormat(s), L"$,0.00;($,0.00)");
  s.CurrencyString = L"kr.";
  s.CurrencyDecimals = 0;
  s.CurrencyFormat = 3;
  const wchar_t* const negatives[16] = {
      L"(kr'.',0.)",  L"-kr'.',0.",  L"kr'.'-,0.",  L"kr'.',0.-",   L"(,0.kr'.')",  L"-,0.kr'.'",
      L",0.-kr'.'",   L",0.kr'.'-",  L"-,0. kr'.'", L"-kr'.' ,0.",  L",0. kr'.'-",  L"kr'.' ,0.-",
      L"kr'.' -,0.", L",0.- kr'.'", L"(kr'.' ,0.)", L"(,0. kr'.')"};
  for (int i = 0; i < 16; ++i) {
    SCOPED_TRACE(i);
    s.NegCurrFormat = static_cast<std::uint8_t>(i);
    EXPECT_EQ(TcxFormatController::GetCurrencyFormat(s), String(L",0. kr'.';") + negatives[i]);
  }
  s.NegCurrFormat = 16;
  EXPECT_EQ(TcxFormatController::GetCurrencyFormat(s), L",0. kr'.';");
  const wchar_t* const positives[4] = {L"kr'.',0.", L",0.kr'.'", L"kr'.' ,0.", L",0. kr'.'"};
  s.NegCurrFormat = 16;
  for (int i = 0; i < 4; ++i) {
    s.CurrencyFormat = static_cast<std::uint8_t>(i);
    EXPECT_EQ(TcxFormatController::GetCurrencyFormat(s), String(positives[i]) + L";");
  }
}

// ---------------------------------------------------------------------------
// Listeners, updates, assigned values and messages

class TFormatsTestListener : public TcxIUnknownObject,
                             public IcxFormatControllerListener,
                             public IcxTimeChangeListener {
  SK_CLASS(TFormatsTestListener, TcxIUnknownObject)
 public:
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IcxFormatControllerListener, IcxTimeChangeListener>(this, AIID, AObj) ||
           inherited::GetInterface(AIID, AObj);
  }
  void FormatChanged() override {
    ++FormatChanges;
    Leave();
  }
  void TimeChanged() override {
    ++TimeChanges;
    Leave();
  }

  int FormatChanges = 0;
  int TimeChanges = 0;
  // When told, this listener leaves, and so does Other.
  TcxFormatController* LeaveController = nullptr;
  TFormatsTestListener* Other = nullptr;

 private:
  void Leave() {
    if (!LeaveController) return;
    LeaveController->RemoveListener(this);
    if (Other) LeaveController->RemoveListener(Other);
  }
};

class FormatControllerEvents : public testing::Test {
 protected:
  TDateLocaleScope FLocale{L"en-US"};
  TOwned<TcxFormatController> FController{New<TcxFormatController>()};
  TOwned<TFormatsTestListener> FListener{New<TFormatsTestListener>()};
  void SetUp() override { FController->AddListener(FListener.get()); }
  void TearDown() override { FController->RemoveListener(FListener.get()); }
};

TEST_F(FormatControllerEvents, ListenersAreTakenOnceAndToldInOrder) {
  FController->AddListener(FListener.get());
  EXPECT_EQ(FController->ListenerCount(), 1);
  TOwned<TFormatsTestListener> second(New<TFormatsTestListener>());
  FController->AddListener(second.get());
  FController->SetDateEditShowZeroTime(true);
  EXPECT_EQ(FListener->FormatChanges, 1);
  EXPECT_EQ(second->FormatChanges, 1);
  FController->SetDateEditShowZeroTime(true);  // equal: nothing
  EXPECT_EQ(FListener->FormatChanges, 1);
  FController->RemoveListener(second.get());
}

TEST_F(FormatControllerEvents, AListenerMayLeaveWhileItIsTold) {
  TOwned<TFormatsTestListener> second(New<TFormatsTestListener>());
  FController->AddListener(second.get());
  FListener->LeaveController = FController.get();
  const struct {
    const char* Name;
    std::function<void()> Tell;
    int TFormatsTestListener::*Count;
  } cases[] = {
      {"format change", [&] { FController->NotifyListeners(); }, &TFormatsTestListener::FormatChanges},
      {"time change", [&] { SendMessageW(FController->Handle(), WM_TIMECHANGE, 0, 0); },
       &TFormatsTestListener::TimeChanges},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    FController->AddListener(FListener.get());
    c.Tell();
    EXPECT_EQ((*FListener).*c.Count, 1);
    // The one after the listener that left is told all the same.
    EXPECT_EQ((*second).*c.Count, 1);
    EXPECT_EQ(FController->ListenerCount(), 1);
  }
  FController->RemoveListener(second.get());
}

TEST_F(FormatControllerEvents, AListenerMadeToLeaveByAnotherIsNotTold) {
  TOwned<TFormatsTestListener> second(New<TFormatsTestListener>());
  TOwned<TFormatsTestListener> third(New<TFormatsTestListener>());
  FController->AddListener(second.get());
  FController->AddListener(third.get());
  second->LeaveController = FController.get();
  second->Other = third.get();
  FController->NotifyListeners();
  EXPECT_EQ(FListener->FormatChanges, 1);
  EXPECT_EQ(second->FormatChanges, 1);
  EXPECT_EQ(third->FormatChanges, 0);
  EXPECT_EQ(FController->ListenerCount(), 1);
}

TEST_F(FormatControllerEvents, AnUpdateRebuildsNothingAndEndUpdateOnlyNotifies) {
  FController->BeginUpdate();
  FormatSettings.ShortDateFormat = L"yyyy-MM-dd";
  FController->SetFirstWeekOfYear(fwyFirstFourDays);
  EXPECT_EQ(FListener->FormatChanges, 0);
  EXPECT_EQ(FController->DateEditMask(), L"!99/99/9999;1; ");
  FController->EndUpdate();
  EXPECT_EQ(FListener->FormatChanges, 1);
  EXPECT_EQ(FController->DateEditMask(), L"!99/99/9999;1; ");  // not rebuilt
  EXPECT_EQ(FController->FirstWeekOfYear(), fwyFirstFourDays);
  FController->TranslationChanged();
  EXPECT_EQ(FController->DateEditMask(), L"!9999\\-99\\-99;1; ");
  EXPECT_EQ(FListener->FormatChanges, 2);
}

TEST_F(FormatControllerEvents, AssignedValuesSurviveRebuilds) {
  FController->SetStandardDateEditMask(FController->StandardDateEditMask());  // equal: assigned, no rebuild
  EXPECT_TRUE(FController->AssignedStandardDateEditMask());
  EXPECT_EQ(FListener->FormatChanges, 0);
  FController->SetCurrencyFormat(L"0.00 X");
  FController->SetRegExprDateEditMask(L"\\d+");
  FController->SetRegExprDateTimeEditMask(L"\\d+ \\d+");
  FController->SetStandardDateTimeEditMask(L"!0;1; ");
  EXPECT_EQ(FListener->FormatChanges, 4);
  FormatSettings.ShortDateFormat = L"yyyy-MM-dd";
  FController->GetFormats();
  EXPECT_EQ(FController->DateEditMask(), L"!9999\\-99\\-99;1; ");
  EXPECT_EQ(FController->StandardDateEditMask(), L"!99/99/9999;1; ");
  EXPECT_TRUE(FController->IsStandardMaskValid());
  EXPECT_EQ(FController->CurrencyFormat(), L"0.00 X");
  EXPECT_EQ(FController->RegExprDateEditMask(), L"\\d+");
  EXPECT_EQ(FController->RegExprDateTimeEditMask(), L"\\d+ \\d+");
  EXPECT_EQ(FController->StandardDateTimeEditMask(), L"!0;1; ");
  FController->SetAssignedStandardDateEditMask(false);
  FController->SetAssignedCurrencyFormat(false);
  EXPECT_EQ(FController->StandardDateEditMask(), L"!9999\\-99\\-99;1; ");
  EXPECT_EQ(FController->CurrencyFormat(), L"$,0.00;($,0.00)");
}

TEST_F(FormatControllerEvents, StartOfWeek) {
  const TDay locale = GetLocaleStartOfWeek();  // Sunday for en-US
  const TDay other = locale == dMonday ? dTuesday : dMonday;
  FController->SetStartOfWeek(locale);  // unchanged: not assigned
  EXPECT_FALSE(FController->AssignedStartOfWeek());
  FController->SetStartOfWeek(other);
  EXPECT_TRUE(FController->AssignedStartOfWeek());
  EXPECT_EQ(FController->StartOfWeek(), other);
  EXPECT_EQ(GetStartOfWeek(), other);
  EXPECT_EQ(FListener->FormatChanges, 1);
  FController->SetAssignedStartOfWeek(false);
  EXPECT_EQ(FController->StartOfWeek(), locale);
  FController->SetAssignedStartOfWeek(true);
  EXPECT_TRUE(FController->AssignedStartOfWeek());
  EXPECT_EQ(FController->StartOfWeek(), locale);
  EXPECT_EQ(FListener->FormatChanges, 1);  // neither rebuilds nor tells
}

TEST_F(FormatControllerEvents, RegionalSettingsChangeRereadsTheRunTimesSettings) {
  FormatSettings.ShortDateFormat = L"yyyy-MM-dd";
  SetThreadLocale(LocaleNameToLCID(L"de-DE", 0));
  FController->BeginUpdate();  // the message rebuilds regardless
  SendMessageW(FController->Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"intl"));
  FController->EndUpdate();
  EXPECT_EQ(FormatSettings.ShortDateFormat, TFormatSettings::Create().ShortDateFormat);
  EXPECT_EQ(GetThreadLocale(), ConvertDefaultLocale(LOCALE_USER_DEFAULT));
  EXPECT_EQ(FController->DateEditMask(), L"!99/99/9999;1; ");
  EXPECT_EQ(FListener->FormatChanges, 2);  // the message, then EndUpdate
}

TEST_F(FormatControllerEvents, WithoutUpdateFormatSettingsOnlyTheLocalSettingsFollow) {
  ASSERT_TRUE(Application());
  Application()->SetUpdateFormatSettings(false);
  FormatSettings.ShortDateFormat = L"yyyy-MM-dd";
  SetThreadLocale(LocaleNameToLCID(L"de-DE", 0));
  SendMessageW(FController->Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"intl"));
  Application()->SetUpdateFormatSettings(true);
  EXPECT_EQ(FormatSettings.ShortDateFormat, L"yyyy-MM-dd");
  EXPECT_EQ(FController->LocalFormatSettings().ShortDateFormat, L"d.M.yyyy");
  EXPECT_EQ(FController->DateEditMask(), L"!99/99/9999;1; ");
  EXPECT_EQ(FListener->FormatChanges, 0);
}

TEST_F(FormatControllerEvents, OtherSettingChangesPassUnchanged) {
  FormatSettings.ShortDateFormat = L"yyyy-MM-dd";
  SendMessageW(FController->Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"Intl"));
  SendMessageW(FController->Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"intl2"));
  SendMessageW(FController->Handle(), WM_SETTINGCHANGE, 1, reinterpret_cast<LPARAM>(L"intl"));
  SendMessageW(FController->Handle(), WM_SETTINGCHANGE, 0, 0);
  EXPECT_EQ(FormatSettings.ShortDateFormat, L"yyyy-MM-dd");
  EXPECT_EQ(FListener->FormatChanges, 0);
}

TEST_F(FormatControllerEvents, TimeChangeReachesTimeListeners) {
  EXPECT_EQ(SendMessageW(FController->Handle(), WM_TIMECHANGE, 0, 0), 0);
  EXPECT_EQ(FListener->TimeChanges, 1);
  EXPECT_EQ(FListener->FormatChanges, 0);
}

TEST(FormatController, ItsWindowHearsBroadcasts) {
  TOwned<TcxFormatController> controller(New<TcxFormatController>());
  // A top-level window, not a message-only one.
  EXPECT_EQ(GetAncestor(controller->Handle(), GA_PARENT), GetDesktopWindow());
}

TEST(FormatController, TheGlobalControllerIsTheFirstOneAndListensToTranslations) {
  TcxFormatController* global = FormatController();
  ASSERT_NE(global, nullptr);
  EXPECT_EQ(FormatController(), global);
  void* intf = nullptr;
  EXPECT_TRUE(global->GetInterface(IdxLocalizerListener::IID, &intf));
  TOwned<TcxFormatController> other(New<TcxFormatController>());
  EXPECT_EQ(FormatController(), global);
  const int listeners = GetResourceStringsRepository()->ListenerCount();
  other.reset();
  EXPECT_EQ(GetResourceStringsRepository()->ListenerCount(), listeners - 1);
}

}  // namespace
