#include "platform/runtime/FMTBcd.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const TFormatSettings& Plain() {
  static const TFormatSettings settings;  // '.' decimal separator
  return settings;
}

TBcd Bcd(const wchar_t* AText) { return StrToBcd(AText, Plain()); }

TEST(FMTBcd, TextRoundTrip) {
  struct TCase {
    const wchar_t* Text;
    const wchar_t* Shown;
  };
  const std::vector<TCase> cases = {
      {L"0", L"0"},
      {L"-0.00", L"0"},
      {L"1.5", L"1.5"},
      {L"-12.340", L"-12.34"},
      {L"007.25", L"7.25"},
      {L".05", L"0.05"},
      {L"1E3", L"1000"},
      {L"  2.5e-2 ", L"0.025"},
      {L"+4", L"4"},
      {L"1234567890123456789012345678901234567890123456789012345678901234",
       L"1234567890123456789012345678901234567890123456789012345678901234"},
      // 70 digits: the fraction gives way, rounding half away from zero.
      {L"1.234567890123456789012345678901234567890123456789012345678901234567895",
       L"1.234567890123456789012345678901234567890123456789012345678901235"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << static_cast<int>(&c - cases.data()));
    EXPECT_EQ(BcdToStr(Bcd(c.Text), Plain()), c.Shown);
  }
}

TEST(FMTBcd, RecordLayout) {
  const TBcd bcd = Bcd(L"-12.34");
  EXPECT_EQ(bcd.Precision, 4);
  EXPECT_EQ(bcd.SignSpecialPlaces, 0x80 | 2);
  EXPECT_EQ(bcd.Fraction[0], 0x12);
  EXPECT_EQ(bcd.Fraction[1], 0x34);
  EXPECT_EQ(bcd.Fraction[2], 0);
}

TEST(FMTBcd, BadTextsAndRecords) {
  for (const wchar_t* text : {L"", L"-", L"1.2.3", L"abc", L"1e", L"1 2", L"1,5"}) {
    SCOPED_TRACE(testing::Message() << static_cast<const void*>(text));
    TBcd bcd;
    EXPECT_FALSE(TryStrToBcd(text, bcd, Plain()));
    EXPECT_THROW(StrToBcd(text, Plain()), EBcdException);
  }
  EXPECT_THROW(StrToBcd(String(65, L'9'), Plain()), EBcdOverflowException);

  TBcd nibble = Bcd(L"12");
  nibble.Fraction[0] = 0x1A;
  EXPECT_THROW(BcdToStr(nibble), EBcdException);
  TBcd precision = Bcd(L"12");
  precision.Precision = 65;
  EXPECT_THROW(BcdCompare(precision, Bcd(L"1")), EBcdException);
}

TEST(FMTBcd, CompareByValue) {
  struct TCase {
    const wchar_t* A;
    const wchar_t* B;
    int Result;
  };
  const std::vector<TCase> cases = {
      {L"1.50", L"1.5", 0},   {L"-1", L"1", -1},      {L"0.05", L"0.5", -1}, {L"100", L"99.99", 1},
      {L"-2", L"-10", 1},     {L"0", L"-0.000", 0},   {L"0", L"0.001", -1},  {L"-0.001", L"0", -1},
      {L"12.345", L"12.34", 1},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << static_cast<int>(&c - cases.data()));
    EXPECT_EQ(BcdCompare(Bcd(c.A), Bcd(c.B)), c.Result);
    EXPECT_EQ(BcdCompare(Bcd(c.B), Bcd(c.A)), -c.Result);
  }
}

TEST(FMTBcd, NumberConversions) {
  EXPECT_EQ(BcdToDouble(Bcd(L"0.1")), 0.1);
  EXPECT_EQ(BcdToDouble(Bcd(L"-1234.5")), -1234.5);
  EXPECT_EQ(BcdToStr(DoubleToBcd(1.25), Plain()), L"1.25");
  EXPECT_EQ(BcdToStr(DoubleToBcd(-3e20), Plain()), L"-300000000000000000000");
  EXPECT_THROW(DoubleToBcd(std::numeric_limits<double>::infinity()), EBcdException);
  EXPECT_EQ(BcdToStr(IntegerToBcd(std::numeric_limits<std::int64_t>::min()), Plain()), L"-9223372036854775808");
  EXPECT_EQ(BcdToInt64(IntegerToBcd(std::numeric_limits<std::int64_t>::min())), std::numeric_limits<std::int64_t>::min());
  // Integers and currency round half to the even neighbour.
  EXPECT_EQ(BcdToInt64(Bcd(L"2.5")), 2);
  EXPECT_EQ(BcdToInt64(Bcd(L"3.5")), 4);
  EXPECT_EQ(BcdToInt64(Bcd(L"-2.5")), -2);
  EXPECT_EQ(BcdToInt64(Bcd(L"2.5000001")), 3);
  EXPECT_EQ(BcdToCurr(Bcd(L"1.00005")).Value, 10000);
  EXPECT_EQ(BcdToCurr(Bcd(L"1.00015")).Value, 10002);
  EXPECT_EQ(BcdToStr(CurrToBcd(Currency::FromScaled(-12345)), Plain()), L"-1.2345");
  EXPECT_THROW(BcdToInt64(Bcd(L"9223372036854775808")), EBcdOverflowException);
  EXPECT_EQ(BcdToInt64(Bcd(L"-9223372036854775808")), std::numeric_limits<std::int64_t>::min());
}

TEST(FMTBcd, VariantType) {
  ASSERT_NE(VarFMTBcd(), 0);
  const Variant v = VarFMTBcdCreate(Bcd(L"2.5"));
  EXPECT_TRUE(VarIsFMTBcd(v));
  EXPECT_EQ(VarTypeAsText(VarType(v)), L"FMTBcd");
  const Variant copy = v;
  EXPECT_EQ(BcdCompare(VarToBcd(copy), Bcd(L"2.50")), 0);
  EXPECT_EQ(v.AsDouble(), 2.5);
  EXPECT_EQ(v.AsInteger(), 2);
  EXPECT_EQ(v.AsCurrency().Value, 25000);
  EXPECT_FALSE(VarIsNumeric(v));

  EXPECT_EQ(VarCompareValue(v, Variant(2)), vrGreaterThan);
  EXPECT_EQ(VarCompareValue(Variant(3), v), vrGreaterThan);
  EXPECT_EQ(VarCompareValue(v, Variant(L"2.5")), vrEqual);
  EXPECT_EQ(VarCompareValue(v, Null()), vrNotEqual);
  EXPECT_THROW(VarCompareValue(v, Variant(L"x")), EVariantTypeCastError);

  EXPECT_TRUE(VarIsFMTBcd(VarAsType(Variant(7), VarFMTBcd())));
  EXPECT_EQ(VarToBcd(Variant(7)).Precision, 1);
  EXPECT_EQ(VarType(VarAsType(v, varDouble)), varDouble);
  EXPECT_THROW(VarAsType(VarFMTBcdCreate(Bcd(L"1E30")), varInteger), EVariantOverflowError);
  EXPECT_THROW(VarAsType(Variant(L"x"), VarFMTBcd()), EVariantTypeCastError);
}

}  // namespace
