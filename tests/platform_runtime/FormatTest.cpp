// Format, float formatting and number conversions.
#include "platform/runtime/SysUtils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

TFormatSettings GermanLike() {
  TFormatSettings s = TFormatSettings::Invariant();
  s.DecimalSeparator = L',';
  s.ThousandSeparator = L'.';
  s.DateSeparator = L'.';
  s.CurrencyString = L"€";
  s.CurrencyFormat = 3;
  s.NegCurrFormat = 8;
  return s;
}

// --- Format ------------------------------------------------------------------

struct TFormatCase {
  const char* Name;
  String Format;
  std::vector<TVarRec> Args;
  String Expected;
};

TEST(Format, Table) {
  const String abc = L"abc", a = L"a", b = L"b", c = L"c";
  const std::vector<TFormatCase> cases = {
      {"plain integer", L"%d", {42}, L"42"},
      {"width right-aligns", L"[%5d]", {42}, L"[   42]"},
      {"minus left-aligns", L"[%-5d]", {42}, L"[42   ]"},
      {"precision pads digits", L"%.4d", {42}, L"0042"},
      {"precision keeps the sign apart", L"%.4d", {-42}, L"-0042"},
      {"width narrower than text", L"%1d", {12345}, L"12345"},
      {"int64 minimum", L"%d", {std::numeric_limits<long long>::min()}, L"-9223372036854775808"},
      {"unsigned 64-bit in %d", L"%d", {18446744073709551615ull}, L"18446744073709551615"},
      {"unsigned of a negative int", L"%u", {-1}, L"4294967295"},
      {"hex upper-case", L"%x", {255}, L"FF"},
      {"hex precision", L"%.4x", {255}, L"00FF"},
      {"hex of a negative int is 32-bit", L"%x", {-1}, L"FFFFFFFF"},
      {"hex of a negative int64 is 64-bit", L"%x", {-1ll - 0x100000000ll}, L"FFFFFFFEFFFFFFFF"},
      {"upper-case type letter", L"%D|%X", {7, 10}, L"7|A"},
      {"string", L"<%s>", {abc}, L"<abc>"},
      {"string precision cuts", L"%.2s", {abc}, L"ab"},
      {"string width", L"[%5s][%-4s]", {abc, a}, L"[  abc][a   ]"},
      {"character argument", L"%s%s", {L'x', L"yz"}, L"xyz"},
      {"index selects and continues", L"%1:s %0:s %s", {a, b, c}, L"b a b"},
      {"index then the following", L"%2:s%s", {a, b, c, abc}, L"cabc"},
      {"star width", L"[%*d]", {5, 42}, L"[   42]"},
      {"star width negative left-aligns", L"[%*d]", {-4, 7}, L"[7   ]"},
      {"star precision", L"%.*f", {3, 3.14159}, L"3.142"},
      {"star width and precision", L"[%*.*f]", {8, 2, 3.14159}, L"[    3.14]"},
      {"star index", L"%*:s", {1, a, b}, L"a"},
      {"fixed default two decimals", L"%f", {3.14159}, L"3.14"},
      {"fixed of an integer argument", L"%f", {3}, L"3.00"},
      {"fixed half away from zero", L"%.0f|%.0f", {2.5, -2.5}, L"3|-3"},
      {"fixed exact half at two decimals", L"%.2f", {0.125}, L"0.13"},
      {"fixed below half stays down", L"%.2f", {2.675}, L"2.67"},
      {"fixed rounds to zero without a minus", L"%.1f", {-0.04}, L"0.0"},
      {"fixed width and precision", L"%6.1f", {3.14159}, L"   3.1"},
      {"exponent default", L"%e", {1234.5}, L"1.23450000000000E+003"},
      {"exponent precision is total digits", L"%.3e", {1234.5}, L"1.23E+003"},
      {"exponent negative", L"%.3e", {-0.00012345}, L"-1.23E-004"},
      {"exponent of zero", L"%.2e", {0.0}, L"0.0E+000"},
      {"general drops noise", L"%g", {0.1 + 0.2}, L"0.3"},
      {"general large", L"%g", {1e20}, L"1E20"},
      {"general small", L"%g", {1.5e-10}, L"1.5E-10"},
      {"general at the fixed limit", L"%g", {0.00001}, L"0.00001"},
      {"general precision", L"%.3g", {1234.5}, L"1.23E3"},
      {"general integer", L"%g", {123456.0}, L"123456"},
      {"number groups thousands", L"%n", {1234567.891}, L"1,234,567.89"},
      {"number negative", L"%.0n", {-1234567.0}, L"-1,234,567"},
      {"money", L"%m", {1234.5}, L"\u00A41,234.50"},
      {"money negative", L"%m", {-1234.5}, L"(\u00A41,234.50)"},
      {"pointer", L"%p", {reinterpret_cast<const void*>(std::uintptr_t{0x1234})}, L"0000000000001234"},
      {"percent", L"100%% %d%%", {5}, L"100% 5%"},
      {"infinite and NaN", L"%f %g", {std::numeric_limits<double>::infinity(), std::nan("")}, L"INF NAN"},
  };
  for (const TFormatCase& tc : cases) {
    SCOPED_TRACE(tc.Name);
    EXPECT_EQ(Format(tc.Format, std::span<const TVarRec>(tc.Args), TFormatSettings::Invariant()), tc.Expected);
  }
}

TEST(Format, UsesTheSettingsSeparators) {
  const TFormatSettings de = GermanLike();
  EXPECT_EQ(Format(L"%n", {1234567.891}, de), L"1.234.567,89");
  EXPECT_EQ(Format(L"%.3f", {-0.5}, de), L"-0,500");
  EXPECT_EQ(Format(L"%m|%m", {1234.5, -2.0}, de), L"1.234,50 €|-2,00 €");
  EXPECT_EQ(Format(L"%g", {0.25}, de), L"0,25");
}

TEST(Format, BadFormatsRaiseConvertErrorNamingTheFormat) {
  struct TCase {
    const char* Name;
    String Format;
    std::vector<TVarRec> Args;
  };
  const String text = L"x";
  const std::vector<TCase> cases = {
      {"string for %d", L"%d", {text}},
      {"number for %s", L"%s", {1}},
      {"float for %d", L"%d", {1.5}},
      {"missing argument", L"%d %d", {1}},
      {"no arguments", L"%s", {}},
      {"percent at the end", L"abc%", {}},
      {"unknown type", L"%k", {1}},
      {"index beyond the arguments", L"%3:d", {1, 2}},
      {"star without an integer", L"%*d", {text, 1}},
      {"integer for %p", L"%p", {1}},
      {"unterminated specifier", L"%5", {1}},
  };
  for (const TCase& tc : cases) {
    SCOPED_TRACE(tc.Name);
    try {
      Format(tc.Format, std::span<const TVarRec>(tc.Args));
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), L"Format '" + tc.Format + L"' ungültig oder nicht vereinbar mit Argument");
    }
  }
}

TEST(Format, ExceptionConstructorFormats) {
  const EConvertError e(L"Wert %d von %s", {3, L"x"});
  EXPECT_EQ(e.Message(), L"Wert 3 von x");
  EXPECT_STREQ(e.what(), "Wert 3 von x");
}

// --- Integers ----------------------------------------------------------------

TEST(IntegerConversion, StrToIntAccepts) {
  struct TCase {
    String Text;
    int Expected;
  };
  const TCase cases[] = {
      {L"123", 123},        {L"-123", -123},       {L"+7", 7},
      {L"  42", 42},        {L"$FF", 255},         {L"0x1A", 26},
      {L"x10", 16},         {L"-$10", -16},        {L"$FFFFFFFF", -1},
      {L"2147483647", 2147483647}, {L"-2147483648", std::numeric_limits<int>::min()},
      {L"007", 7},
  };
  for (const TCase& tc : cases) {
    SCOPED_TRACE(tc.Text);
    EXPECT_EQ(StrToInt(tc.Text), tc.Expected);
  }
}

TEST(IntegerConversion, StrToIntRejectsWithTheRunTimeText) {
  const String bad[] = {L"",  L" ",   L"12 ",  L"1.5", L"2147483648", L"-2147483649", L"abc",
                        L"$", L"-",   L"0x",   L"1e3", L"--1",        L"$100000000",  L"12a"};
  for (const String& text : bad) {
    SCOPED_TRACE(text);
    int v = 99;
    EXPECT_FALSE(TryStrToInt(text, v));
    EXPECT_EQ(v, 99);
    EXPECT_EQ(StrToIntDef(text, -5), -5);
    try {
      StrToInt(text);
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), L"'" + text + L"' ist kein gültiger Integerwert");
    }
  }
}

TEST(IntegerConversion, Int64Range) {
  EXPECT_EQ(StrToInt64(L"9223372036854775807"), std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(StrToInt64(L"-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(StrToInt64(L"$FFFFFFFFFFFFFFFF"), -1);
  EXPECT_EQ(StrToInt64(L"$FFFFFFFF"), 0xFFFFFFFFll);
  EXPECT_THROW(StrToInt64(L"9223372036854775808"), EConvertError);
  EXPECT_THROW(StrToInt64(L"$10000000000000000"), EConvertError);
  EXPECT_EQ(StrToInt64Def(L"nope", 3), 3);
  EXPECT_EQ(StrToUInt64(L"18446744073709551615"), std::numeric_limits<std::uint64_t>::max());
  EXPECT_THROW(StrToUInt64(L"-1"), EConvertError);
}

TEST(IntegerConversion, IntToHexUsesTheArgumentsWidth) {
  EXPECT_EQ(IntToHex(255, 4), L"00FF");
  EXPECT_EQ(IntToHex(0x90000, 5), L"90000");
  EXPECT_EQ(IntToHex(-1, 2), L"FFFFFFFF");
  EXPECT_EQ(IntToHex(-1ll, 1), L"FFFFFFFFFFFFFFFF");
  EXPECT_EQ(IntToHex(0, 0), L"0");
  EXPECT_EQ(IntToHex(0x1Eu, 6), L"00001E");
  EXPECT_EQ(IntToStr(-2147483647 - 1), L"-2147483648");
  EXPECT_EQ(UIntToStr(18446744073709551615ull), L"18446744073709551615");
}

// --- Floats ------------------------------------------------------------------

TEST(FloatConversion, FloatToStrGeneral) {
  struct TCase {
    double Value;
    String Expected;
  };
  const TCase cases[] = {
      {0.1, L"0.1"},
      {1.0 / 3, L"0.333333333333333"},
      {2.0 / 3, L"0.666666666666667"},
      {123456789012345.0, L"123456789012345"},
      {1e15, L"1E15"},
      {-0.5, L"-0.5"},
      {100, L"100"},
      {2.5e-7, L"2.5E-7"},
      {0.0, L"0"},
      {-0.0, L"0"},
      {1e308, L"1E308"},
      {std::numeric_limits<double>::quiet_NaN(), L"NAN"},
      {-std::numeric_limits<double>::infinity(), L"-INF"},
  };
  for (const TCase& tc : cases) {
    SCOPED_TRACE(tc.Expected);
    EXPECT_EQ(FloatToStr(tc.Value, TFormatSettings::Invariant()), tc.Expected);
  }
  EXPECT_EQ(FloatToStr(-1.25, GermanLike()), L"-1,25");
}

TEST(FloatConversion, FloatToStrFFormats) {
  const TFormatSettings inv = TFormatSettings::Invariant();
  struct TCase {
    const char* Name;
    double Value;
    TFloatFormat Format;
    int Precision, Digits;
    String Expected;
  };
  const TCase cases[] = {
      {"fixed", 1234.5678, ffFixed, 15, 2, L"1234.57"},
      {"fixed no decimals", 1234.5678, ffFixed, 15, 0, L"1235"},
      {"fixed small", 0.000123, ffFixed, 15, 4, L"0.0001"},
      {"fixed beyond precision goes general", 1e20, ffFixed, 15, 2, L"1E20"},
      {"number", 1234.5678, ffNumber, 15, 2, L"1,234.57"},
      {"number small", 999.999, ffNumber, 15, 2, L"1,000.00"},
      {"exponent", 1234.5678, ffExponent, 4, 2, L"1.235E+03"},
      {"exponent one digit", 1234.5678, ffExponent, 1, 0, L"1E+3"},
      {"general within precision", 1234.5678, ffGeneral, 4, 0, L"1235"},
      {"general beyond precision", 12345.678, ffGeneral, 4, 2, L"1.235E04"},
      {"general rounding carries", 9.9999, ffGeneral, 3, 0, L"10"},
      {"currency", -5.5, ffCurrency, 15, 2, L"(\u00A45.50)"},
  };
  for (const TCase& tc : cases) {
    SCOPED_TRACE(tc.Name);
    EXPECT_EQ(FloatToStrF(tc.Value, tc.Format, tc.Precision, tc.Digits, inv), tc.Expected);
  }
}

TEST(FloatConversion, CurrencyPatterns) {
  TFormatSettings s = TFormatSettings::Invariant();
  s.CurrencyString = L"$";
  const String positive[] = {L"$1.50", L"1.50$", L"$ 1.50", L"1.50 $"};
  for (int f = 0; f < 4; ++f) {
    s.CurrencyFormat = static_cast<std::uint8_t>(f);
    EXPECT_EQ(FloatToStrF(1.5, ffCurrency, 15, 2, s), positive[f]) << f;
  }
  const String negative[] = {L"($1.50)", L"-$1.50", L"$-1.50", L"$1.50-", L"(1.50$)", L"-1.50$",
                             L"1.50-$",  L"1.50$-", L"-1.50 $", L"-$ 1.50", L"1.50 $-", L"$ 1.50-",
                             L"$ -1.50", L"1.50- $", L"($ 1.50)", L"(1.50 $)"};
  for (int f = 0; f < 16; ++f) {
    s.NegCurrFormat = static_cast<std::uint8_t>(f);
    EXPECT_EQ(FloatToStrF(-1.5, ffCurrency, 15, 2, s), negative[f]) << f;
  }
}

TEST(FloatConversion, FloatToDecimalRoundsHalfAwayFromZero) {
  TFloatRec r;
  FloatToDecimal(r, 0.125, 15, 2);
  EXPECT_EQ(r.Digits, L"13");
  EXPECT_EQ(r.Exponent, 0);
  FloatToDecimal(r, 99.96, 15, 1);
  EXPECT_EQ(r.Digits, L"1");
  EXPECT_EQ(r.Exponent, 3);
  FloatToDecimal(r, -0.0004, 15, 3);
  EXPECT_TRUE(r.Digits.empty());
  EXPECT_FALSE(r.Negative);
  FloatToDecimal(r, -0.0005, 15, 3);
  EXPECT_EQ(r.Digits, L"1");
  EXPECT_EQ(r.Exponent, -2);
  EXPECT_TRUE(r.Negative);
}

TEST(FloatConversion, FormatFloatPictures) {
  const TFormatSettings inv = TFormatSettings::Invariant();
  struct TCase {
    String Format;
    double Value;
    String Expected;
  };
  const TCase cases[] = {
      {L"0.00", 1.005, L"1.00"},
      {L"0.00", 0.125, L"0.13"},
      {L"#,##0.00", 1234567.891, L"1,234,567.89"},
      {L"#,##0", -1234, L"-1,234"},
      {L"#.##", 0.5, L".5"},
      {L"0.##", 1, L"1"},
      {L"0.##", 1.5, L"1.5"},
      {L"0.0#", 1.5, L"1.5"},
      {L"0.0#", 1.567, L"1.57"},
      {L"000", 7, L"007"},
      {L"#", 0, L""},
      {L"00-00", 1234, L"12-34"},
      {L"0", 123456, L"123456"},
      {L"0.00;(0.00);\"zero\"", -1.5, L"(1.50)"},
      {L"0.00;(0.00);\"zero\"", 0, L"zero"},
      {L"0.00;(0.00);\"zero\"", -0.001, L"zero"},
      {L"0.00;;", -2, L"-2.00"},
      {L"0.0", -0.04, L"0.0"},
      {L"0.00E+00", 1234.5, L"1.23E+03"},
      {L"0.0E-0", 0.000123, L"1.2E-4"},
      {L"0.0E-0", 12345, L"1.2E4"},
      {L"00.0E+0", 1234, L"12.3E+2"},
      {L"0.0E+00", 0, L"0.0E+00"},
      {L"\"Wert: \"0.0", 2.25, L"Wert: 2.3"},
      {L"'x;y' 0", 5, L"x;y 5"},
      {L"0.00", 1e20, L"1E20"},
      {L"", 1.5, L"1.5"},
  };
  for (const TCase& tc : cases) {
    SCOPED_TRACE(tc.Format);
    EXPECT_EQ(FormatFloat(tc.Format, tc.Value, inv), tc.Expected);
  }
  EXPECT_EQ(FormatFloat(L"#,##0.00", 1234.5, GermanLike()), L"1.234,50");
  EXPECT_EQ(FormatFloat(L"0.#####", 0.1 + 0.2, inv), L"0.3");
}

TEST(FloatConversion, StrToFloatTable) {
  const TFormatSettings inv = TFormatSettings::Invariant();
  struct TCase {
    String Text;
    bool Valid;
    double Expected;
  };
  const TCase cases[] = {
      {L"1.5", true, 1.5},      {L" -2.5e3 ", true, -2500},  {L"+.5", true, 0.5},
      {L"5.", true, 5},         {L"1E-2", true, 0.01},       {L"1e-400", true, 0},
      {L"0.1", true, 0.1},      {L"1e400", false, 0},        {L"1,5", false, 0},
      {L"", false, 0},          {L"1.5x", false, 0},         {L"e5", false, 0},
      {L"1e", false, 0},        {L"1.2.3", false, 0},        {L".", false, 0},
      {L"1 000", false, 0},     {L"INF", false, 0},          {L"--1", false, 0},
  };
  for (const TCase& tc : cases) {
    SCOPED_TRACE(tc.Text);
    double v = -7;
    EXPECT_EQ(TryStrToFloat(tc.Text, v, inv), tc.Valid);
    if (tc.Valid) EXPECT_EQ(v, tc.Expected);
    else EXPECT_EQ(v, -7);
  }
  EXPECT_EQ(StrToFloat(L"1,5", GermanLike()), 1.5);
  EXPECT_THROW(StrToFloat(L"1.5", GermanLike()), EConvertError);
  EXPECT_EQ(StrToFloatDef(L"x", 2.5, inv), 2.5);
  try {
    StrToFloat(L"abc", inv);
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), L"'abc' ist kein gültiger Gleitkommawert");
  }
}

TEST(FloatConversion, TextRoundTripsThroughGeneralFormat) {
  const TFormatSettings inv = TFormatSettings::Invariant();
  for (double v : {0.1, 1.0 / 7, -123.456, 6.02214076e23, 1e-300, 42.0}) {
    SCOPED_TRACE(v);
    const double back = StrToFloat(FloatToStr(v, inv), inv);
    EXPECT_NEAR(back, v, std::fabs(v) * 1e-14);
  }
}

// --- Currency and Booleans ----------------------------------------------------

TEST(CurrencyConversion, ScaledAndRounded) {
  EXPECT_EQ(Currency::FromDouble(1.23456).Value, 12346);
  EXPECT_EQ(Currency::FromDouble(-1.5).Value, -15000);
  EXPECT_EQ(Currency::FromDouble(0.00005).Value, 0);  // 0.5 units: to the even neighbour
  EXPECT_THROW(Currency::FromDouble(1e15), EOverflow);
  EXPECT_THROW(Currency::FromDouble(std::nan("")), EOverflow);
  EXPECT_EQ(CurrToStr(Currency::FromScaled(-12345), TFormatSettings::Invariant()), L"-1.2345");
  EXPECT_EQ(CurrToStr(Currency::FromScaled(10000), TFormatSettings::Invariant()), L"1");
  EXPECT_EQ(CurrToStr(Currency::FromScaled(15000), GermanLike()), L"1,5");
  EXPECT_EQ(CurrToStr(Currency::FromScaled(std::numeric_limits<std::int64_t>::min()), TFormatSettings::Invariant()),
            L"-922337203685477.5808");
}

TEST(BooleanConversion, Table) {
  EXPECT_TRUE(StrToBool(L"true"));
  EXPECT_FALSE(StrToBool(L"FALSE"));
  EXPECT_FALSE(StrToBool(L"0"));
  EXPECT_TRUE(StrToBool(L"-1"));
  EXPECT_TRUE(StrToBool(L"2"));
  EXPECT_TRUE(StrToBoolDef(L"vielleicht", true));
  try {
    StrToBool(L"yes");
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), L"'yes' ist kein gültiger boolescher Wert");
  }
  EXPECT_EQ(BoolToStr(true), L"-1");
  EXPECT_EQ(BoolToStr(false), L"0");
  EXPECT_EQ(BoolToStr(true, true), L"True");
  EXPECT_EQ(BoolToStr(false, true), L"False");
}

}  // namespace
