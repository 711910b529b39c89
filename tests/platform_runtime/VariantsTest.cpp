#include "platform/runtime/Variants.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <vector>

namespace {

TEST(Variants, TypesOfConstructedValues) {
  struct TCase {
    const char* Name;
    Variant Value;
    TVarType Type;
  };
  const std::vector<TCase> cases = {
      {"empty", Variant(), varEmpty},
      {"null", Null(), varNull},
      {"unassigned", Unassigned(), varEmpty},
      {"bool", Variant(true), varBoolean},
      {"shortint", Variant(static_cast<signed char>(-1)), varShortInt},
      {"byte", Variant(static_cast<unsigned char>(1)), varByte},
      {"smallint", Variant(static_cast<short>(1)), varSmallint},
      {"word", Variant(static_cast<unsigned short>(1)), varWord},
      {"integer", Variant(1), varInteger},
      {"longword", Variant(1u), varLongWord},
      {"int64", Variant(1ll), varInt64},
      {"uint64", Variant(1ull), varUInt64},
      {"single", Variant(1.5f), varSingle},
      {"double", Variant(1.5), varDouble},
      {"currency", Variant(Currency::FromScaled(5)), varCurrency},
      {"date", Variant::FromDateTime(1.5), varDate},
      {"literal", Variant(L"x"), varUString},
      {"string", Variant(String(L"x")), varUString},
      {"char", Variant(L'x'), varUString},
      {"olestr", Variant::FromOleStr(L"x"), varOleStr},
      {"bytes", Variant(RawByteString("x")), varString},
  };
  for (const TCase& tc : cases) {
    SCOPED_TRACE(tc.Name);
    EXPECT_EQ(VarType(tc.Value), tc.Type);
  }
}

TEST(Variants, TypeTests) {
  EXPECT_TRUE(VarIsNull(Null()));
  EXPECT_FALSE(VarIsNull(Variant()));
  EXPECT_TRUE(VarIsEmpty(Variant()));
  EXPECT_TRUE(VarIsClear(Null()));
  EXPECT_TRUE(VarIsNumeric(Variant(true)));
  EXPECT_TRUE(VarIsNumeric(Variant(1)));
  EXPECT_TRUE(VarIsNumeric(Variant(1.5)));
  EXPECT_TRUE(VarIsNumeric(Variant(Currency())));
  EXPECT_FALSE(VarIsNumeric(Variant::FromDateTime(1)));
  EXPECT_FALSE(VarIsNumeric(Variant(L"1")));
  EXPECT_FALSE(VarIsNumeric(Null()));
  EXPECT_TRUE(VarIsOrdinal(Variant(1ull)));
  EXPECT_FALSE(VarIsOrdinal(Variant(1.0)));
  EXPECT_TRUE(VarIsFloat(Variant(Currency())));
  EXPECT_TRUE(VarIsStr(Variant(RawByteString("a"))));
  EXPECT_TRUE(VarIsStr(Variant::FromOleStr(L"a")));
  EXPECT_FALSE(VarIsStr(Variant(1)));
  EXPECT_TRUE(VarIsArray(VarArrayOf({1})));
  EXPECT_EQ(VarTypeAsText(varArray | varInteger), L"Array Integer");
  EXPECT_EQ(VarTypeAsText(0x7F), L"$007F");
}

TEST(Variants, ToString) {
  struct TCase {
    const char* Name;
    Variant Value;
    String Expected;
  };
  const TDateTime date = EncodeDate(2024, 3, 5);
  const std::vector<TCase> cases = {
      {"null", Null(), L""},
      {"empty", Variant(), L""},
      {"true", Variant(true), L"True"},
      {"false", Variant(false), L"False"},
      {"integer", Variant(-42), L"-42"},
      {"uint64", Variant(std::numeric_limits<unsigned long long>::max()), L"18446744073709551615"},
      {"double", Variant(1.5), FloatToStr(1.5)},
      {"single keeps seven digits", Variant(0.1f), L"0.1"},
      {"currency", Variant(Currency::FromScaled(12500)), CurrToStr(Currency::FromScaled(12500))},
      {"date", Variant::FromDateTime(date), DateTimeToStr(date)},
      {"bytes", Variant(RawByteString("abc")), L"abc"},
  };
  for (const TCase& tc : cases) {
    SCOPED_TRACE(tc.Name);
    EXPECT_EQ(VarToStr(tc.Value), tc.Expected);
  }
  EXPECT_EQ(VarToStrDef(Null(), L"x"), L"x");
  EXPECT_EQ(VarToStrDef(Variant(), L"x"), L"");
  EXPECT_EQ(VarToStrDef(Variant(3), L"x"), L"3");
  EXPECT_THROW(Null().AsString(), EVariantTypeCastError);
}

TEST(Variants, NumericConversions) {
  EXPECT_EQ(Variant(L"42").AsInteger(), 42);
  EXPECT_EQ(Variant(L"$10").AsInteger(), 16);
  EXPECT_EQ(Variant(L"2.5").AsInteger(), 2);  // an exact half to the even neighbour
  EXPECT_EQ(Variant(3.5).AsInteger(), 4);
  EXPECT_EQ(Variant(-2.5).AsInt64(), -2);
  EXPECT_EQ(Variant(true).AsInteger(), -1);
  EXPECT_EQ(Variant().AsInteger(), 0);
  EXPECT_EQ(Variant(Currency::FromScaled(25000)).AsInteger(), 2);
  EXPECT_DOUBLE_EQ(Variant(L"1.5").AsDouble(), 1.5);
  EXPECT_DOUBLE_EQ(Variant(Currency::FromScaled(12345)).AsDouble(), 1.2345);
  EXPECT_EQ(Variant(1.23456).AsCurrency().Value, 12346);
  EXPECT_EQ(Variant(7).AsUInt64(), 7u);
  EXPECT_TRUE(Variant(L"True").AsBoolean());
  EXPECT_TRUE(Variant(2).AsBoolean());
  EXPECT_FALSE(Variant(0.0).AsBoolean());
  EXPECT_EQ(Variant(L"x").AsRawByteString(), "x");
}

TEST(Variants, FailedConversionsNameBothTypes) {
  struct TCase {
    const char* Name;
    std::function<void()> Convert;
    String Message;
  };
  const std::vector<TCase> cases = {
      {"text to integer", [] { Variant(L"abc").AsInteger(); },
       L"Variant des Typs (UnicodeString) konnte nicht in Typ (Integer) konvertiert werden"},
      {"null to integer", [] { Null().AsInteger(); },
       L"Variant des Typs (Null) konnte nicht in Typ (Integer) konvertiert werden"},
      {"text to double", [] { Variant(L"1,5x").AsDouble(); },
       L"Variant des Typs (UnicodeString) konnte nicht in Typ (Double) konvertiert werden"},
      {"text to boolean", [] { Variant(L"vielleicht").AsBoolean(); },
       L"Variant des Typs (UnicodeString) konnte nicht in Typ (Boolean) konvertiert werden"},
      {"array to text", [] { VarArrayOf({1}).AsString(); },
       L"Variant des Typs (Array Variant) konnte nicht in Typ (UnicodeString) konvertiert werden"},
  };
  for (const TCase& tc : cases) {
    SCOPED_TRACE(tc.Name);
    try {
      tc.Convert();
      ADD_FAILURE() << "no exception";
    } catch (const EVariantTypeCastError& e) {
      EXPECT_EQ(e.Message(), tc.Message);
    }
  }
  EXPECT_THROW(Variant(3e10).AsInteger(), EVariantOverflowError);
  EXPECT_THROW(Variant(std::numeric_limits<unsigned long long>::max()).AsInt64(), EVariantOverflowError);
  EXPECT_THROW(Variant(-1).AsUInt64(), EVariantOverflowError);
  EXPECT_THROW(Variant(1e300).AsCurrency(), EVariantOverflowError);
}

TEST(Variants, VarAsType) {
  const Variant small = VarAsType(Variant(L"12"), varSmallint);
  EXPECT_EQ(VarType(small), varSmallint);
  EXPECT_EQ(small.AsInteger(), 12);
  EXPECT_THROW(VarAsType(Variant(70000), varSmallint), EVariantOverflowError);
  EXPECT_THROW(VarAsType(Variant(-1), varByte), EVariantOverflowError);
  EXPECT_THROW(VarAsType(Variant(1e40), varSingle), EVariantOverflowError);
  EXPECT_THROW(VarAsType(Null(), varInteger), EVariantTypeCastError);
  EXPECT_EQ(VarAsType(Variant(1.5), varUString).AsString(), FloatToStr(1.5));
  EXPECT_EQ(VarType(VarAsType(Variant(5), varVariant)), varInteger);
  EXPECT_EQ(VarType(VarAsType(Variant(2), varBoolean)), varBoolean);
  EXPECT_TRUE(VarAsType(Variant(2), varBoolean).AsBoolean());
  EXPECT_EQ(VarAsType(Variant(L"x"), varString).AsRawByteString(), "x");
  EXPECT_EQ(VarType(VarAsType(Variant(1.0), varDate)), varDate);
  EXPECT_EQ(VarType(VarAsType(Variant(1), varNull)), varNull);
}

TEST(Variants, CompareValueTable) {
  struct TCase {
    const char* Name;
    Variant A, B;
    TVariantRelationship Expected;
  };
  const std::vector<TCase> cases = {
      {"null null", Null(), Null(), vrEqual},
      {"null value", Null(), Variant(5), vrNotEqual},
      {"value null", Variant(5), Null(), vrNotEqual},
      {"null empty", Null(), Variant(), vrNotEqual},
      {"empty empty", Variant(), Variant(), vrEqual},
      {"empty zero", Variant(), Variant(0), vrEqual},
      {"empty text", Variant(), Variant(L""), vrEqual},
      {"empty one", Variant(), Variant(1), vrLessThan},
      {"empty false", Variant(), Variant(false), vrEqual},
      {"integer double", Variant(1), Variant(1.0), vrEqual},
      {"integer less", Variant(1), Variant(2.5), vrLessThan},
      {"int64 exact", Variant(9007199254740993ll), Variant(9007199254740992ll), vrGreaterThan},
      {"int64 vs uint64 max", Variant(std::numeric_limits<long long>::max()),
       Variant(std::numeric_limits<unsigned long long>::max()), vrLessThan},
      {"uint64 max vs negative", Variant(std::numeric_limits<unsigned long long>::max()), Variant(-1), vrGreaterThan},
      {"text ordinal", Variant(L"a"), Variant(L"b"), vrLessThan},
      {"text case", Variant(L"B"), Variant(L"a"), vrLessThan},
      {"bytes and text", Variant(RawByteString("a")), Variant(L"a"), vrEqual},
      {"text as number", Variant(L"10"), Variant(9), vrGreaterThan},
      {"number and text", Variant(2.5), Variant(L"2.5"), vrEqual},
      {"boolean and text", Variant(true), Variant(L"True"), vrEqual},
      {"booleans", Variant(true), Variant(false), vrGreaterThan},
      {"true is minus one", Variant(true), Variant(-1), vrEqual},
      {"true and one", Variant(true), Variant(1), vrLessThan},
      {"currency double", Variant(Currency::FromScaled(15000)), Variant(1.5), vrEqual},
      {"currency exact", Variant(Currency::FromScaled(1)), Variant(Currency::FromScaled(2)), vrLessThan},
      {"date double", Variant::FromDateTime(45292.5), Variant(45292.5), vrEqual},
  };
  for (const TCase& tc : cases) {
    SCOPED_TRACE(tc.Name);
    EXPECT_EQ(VarCompareValue(tc.A, tc.B), tc.Expected);
  }
}

TEST(Variants, IncomparableValuesRaise) {
  EXPECT_THROW(VarCompareValue(Variant(L"abc"), Variant(5)), EVariantTypeCastError);
  EXPECT_THROW(VarCompareValue(Variant(5), Variant(L"abc")), EVariantTypeCastError);
  EXPECT_THROW(VarCompareValue(Variant(true), Variant(L"abc")), EVariantTypeCastError);
  EXPECT_THROW(VarCompareValue(VarArrayOf({1}), Variant(1)), EVariantInvalidOpError);
  EXPECT_THROW((void)(Variant(L"abc") == Variant(1)), EVariantError);
}

TEST(Variants, Operators) {
  EXPECT_TRUE(Null() == Null());
  EXPECT_FALSE(Null() == Variant(5));
  EXPECT_FALSE(Null() < Variant(5));
  EXPECT_FALSE(Variant(5) < Null());
  EXPECT_FALSE(Variant(5) > Null());
  EXPECT_TRUE(Null() <= Null());
  EXPECT_TRUE(Variant(5) <= Variant(5));
  EXPECT_TRUE(Variant(2) > Variant(1));
  EXPECT_TRUE(Variant(1) >= Variant(1.0));
  EXPECT_TRUE(VarSameValue(Variant(L"x"), Variant(L"x")));
}

TEST(Variants, ArraysAreValuesWithBounds) {
  Variant a = VarArrayCreate({0, 2}, varInteger);
  EXPECT_EQ(VarType(a), varArray | varInteger);
  EXPECT_EQ(VarArrayDimCount(a), 1);
  EXPECT_EQ(VarArrayHighBound(a, 1), 2);
  EXPECT_EQ(VarType(a[1]), varInteger);
  EXPECT_EQ(a[1].AsInteger(), 0);
  a.PutElement(1, Variant(L"7"));  // converted to the element type
  EXPECT_EQ(VarType(a[1]), varInteger);
  EXPECT_EQ(a[1].AsInteger(), 7);
  EXPECT_THROW(a.PutElement(2, Variant(L"x")), EVariantTypeCastError);

  Variant copy = a;
  copy.PutElement(0, Variant(9));
  EXPECT_EQ(a[0].AsInteger(), 0);  // the copy is independent
  EXPECT_EQ(copy[0].AsInteger(), 9);

  EXPECT_THROW(a.GetElement(3), EVariantBadIndexError);
  EXPECT_THROW(a.GetElement(-1), EVariantBadIndexError);
  EXPECT_THROW(Variant(1).GetElement(0), EVariantInvalidOpError);
  EXPECT_THROW(VarArrayHighBound(a, 2), EVariantInvalidOpError);

  const Variant mixed = VarArrayOf({1, L"x", Null()});
  EXPECT_EQ(VarArrayLowBound(mixed, 1), 0);
  EXPECT_EQ(VarArrayHighBound(mixed, 1), 2);
  EXPECT_EQ(mixed[1].AsString(), L"x");
  EXPECT_TRUE(VarIsNull(mixed[2]));

  Variant grid = VarArrayCreate({1, 2, 0, 1}, varVariant);
  EXPECT_EQ(VarArrayDimCount(grid), 2);
  EXPECT_EQ(VarArrayLowBound(grid, 1), 1);
  EXPECT_EQ(VarArrayHighBound(grid, 2), 1);
  const int at[] = {2, 1};
  grid.PutElement(at, Variant(L"corner"));
  EXPECT_EQ(grid.GetElement(at).AsString(), L"corner");
  const int other[] = {1, 1};
  EXPECT_TRUE(VarIsEmpty(grid.GetElement(other)));
  EXPECT_THROW(grid.GetElement(1), EVariantBadIndexError);  // one index for two dimensions

  const Variant empty = VarArrayCreate({0, -1}, varVariant);
  EXPECT_EQ(VarArrayHighBound(empty, 1), -1);
  EXPECT_EQ(VarArrayOf({}).IsArray(), true);
  EXPECT_EQ(VarArrayCreate({0, 1}, varUString)[0].AsString(), L"");
  EXPECT_THROW(VarArrayCreate({}, varVariant), EVariantArrayCreateError);
  EXPECT_THROW(VarArrayCreate({0, -2}, varVariant), EVariantArrayCreateError);
  EXPECT_THROW(VarArrayCreate({0, 1}, varNull), EVariantArrayCreateError);
  EXPECT_THROW(VarArrayCreate({0, 2000000000}, varVariant), EVariantArrayCreateError);
}

TEST(Variants, MovedFromIsEmpty) {
  Variant a(L"text");
  Variant b(std::move(a));
  EXPECT_EQ(b.AsString(), L"text");
  EXPECT_TRUE(VarIsEmpty(a));  // NOLINT(bugprone-use-after-move)
  a = b;
  b = Null();
  EXPECT_EQ(a.AsString(), L"text");
}

// A published Variant property travels through the property accessors.
class TValueHolder : public TObject {
  SK_CLASS(TValueHolder, TObject)
 public:
  static void Publish(TPublisher<TValueHolder>& P) { P.Property(L"Value", &TValueHolder::Value, &TValueHolder::SetValue); }
  Variant Value() const { return FValue; }
  void SetValue(const Variant& AValue) { FValue = AValue; }

 private:
  Variant FValue;
};

TEST(Variants, PublishedProperty) {
  TOwned<TValueHolder> holderOwner(New<TValueHolder>());
  TValueHolder* holder = holderOwner.get();
  const TPropInfo* prop = GetPropInfo(holder, L"Value");
  ASSERT_NE(prop, nullptr);
  EXPECT_EQ(prop->Kind(), tkVariant);
  SetVariantProp(holder, prop, Variant(L"abc"));
  Variant back;
  GetVariantProp(holder, prop, back);
  EXPECT_EQ(back.AsString(), L"abc");
  holderOwner.reset();
}

}  // namespace
