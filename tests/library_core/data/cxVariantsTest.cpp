#include "library/core/data/cxVariants.h"

#include "platform/classes/Persistent.h"
#include "platform/runtime/FMTBcd.h"
#include "platform/runtime/SqlTimSt.h"

#include "tests/library_core/ErrorText.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using TByteText = std::string;

// "03 C8 00" for the bytes 3, 200, 0.
TByteText Hex(const void* AData, std::size_t ASize) {
  static const char digits[] = "0123456789ABCDEF";
  TByteText r;
  const auto* p = static_cast<const unsigned char*>(AData);
  for (std::size_t i = 0; i < ASize; ++i) {
    if (i) r += ' ';
    r += digits[p[i] >> 4];
    r += digits[p[i] & 15];
  }
  return r;
}

TByteText Written(const Variant& V) {
  TOwned<TMemoryStream> s(New<TMemoryStream>());
  WriteVariantToStream(s.get(), V);
  return Hex(s->Memory(), static_cast<std::size_t>(s->Size()));
}

TOwned<TMemoryStream> StreamOfBytes(const std::vector<int>& ABytes) {
  TOwned<TMemoryStream> s(New<TMemoryStream>());
  for (int b : ABytes) s->WriteBufferData(static_cast<std::uint8_t>(b));
  s->SetPosition(0);
  return s;
}

Variant Bcd(const wchar_t* AText) {
  static const TFormatSettings plain;
  return VarFMTBcdCreate(StrToBcd(AText, plain));
}

int Sign(int AValue) { return AValue < 0 ? -1 : (AValue > 0 ? 1 : 0); }

// ---------------------------------------------------------------------------
// Comparison

TEST(CompareVariants, TotalOrder) {
  struct TCase {
    const char* Name;
    Variant A;
    Variant B;
    int Result;
  };
  const std::vector<TCase> cases = {
      {"empty before null", Variant(), Null(), -1},
      {"null after empty", Null(), Variant(), 1},
      {"empty before a value", Variant(), Variant(0), -1},
      {"null before a value", Null(), Variant(5), -1},
      {"a value after null", Variant(5), Null(), 1},
      {"two empties", Variant(), Variant(), 0},
      {"two nulls", Null(), Null(), 0},
      {"integer and double", Variant(3), Variant(3.0), 0},
      {"numbers", Variant(2), Variant(10), -1},
      {"strings", Variant(L"abc"), Variant(L"abd"), -1},
      {"booleans", Variant(true), Variant(false), 1},
      {"string against a number it is not", Variant(L"x"), Variant(5), -1},
      {"number against a string it is not", Variant(5), Variant(L"x"), -1},
      {"decimal against an integer", Bcd(L"2.5"), Variant(2), 1},
      {"array after a scalar", VarArrayOf({1}), Variant(5), 1},
      {"scalar before an array", Variant(5), VarArrayOf({1}), -1},
      {"array after null", VarArrayOf({}), Null(), 1},
      {"longer array", VarArrayOf({1, 2}), VarArrayOf({9}), 1},
      {"element order", VarArrayOf({1, 2}), VarArrayOf({1, 3}), -1},
      {"elements' own order", VarArrayOf({Null()}), VarArrayOf({Variant()}), 1},
      {"nested arrays", VarArrayOf({1, VarArrayOf({2, L"x"})}), VarArrayOf({1, VarArrayOf({2, L"x"})}), 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(Sign(CompareVariants(c.A, c.B)), c.Result);
  }
  EXPECT_EQ(CompareVariantArrays(VarArrayOf({1, 2, 3}), VarArrayOf({1})), 2);  // the high bounds' difference
}

TEST(CompareVariants, Equality) {
  EXPECT_TRUE(VariantsEqual(Variant(1), Variant(1.0)));
  EXPECT_FALSE(VariantsEqual(Variant(L"x"), Variant(1)));
  struct TCase {
    const char* Name;
    Variant A;
    Variant B;
    bool Equal;
  };
  const std::vector<TCase> cases = {
      {"boolean and its text", Variant(true), Variant(L"True"), true},
      {"text and boolean", Variant(L"False"), Variant(false), true},
      {"texts differ in case", Variant(true), Variant(L"true"), false},
      {"boolean and a number are texts", Variant(true), Variant(-1), false},
      {"boolean and null: plain comparison", Variant(false), Null(), false},
      {"no boolean: plain comparison", Variant(1), Variant(L"1"), true},
      {"an array has no text", Variant(true), VarArrayOf({true}), false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(VariantsEqualBooleanAware(c.A, c.B), c.Equal);
  }
}

TEST(CompareVariants, KindTests) {
  EXPECT_TRUE(IsDateVarType(varDate));
  EXPECT_TRUE(IsDateVarType(VarSQLTimeStamp()));
  EXPECT_FALSE(IsDateVarType(varDouble));
  EXPECT_TRUE(VarIsDateValue(VarSQLTimeStampCreate(1.0)));
  EXPECT_TRUE(VarIsNumericOrBcd(Bcd(L"1")));
  EXPECT_TRUE(VarIsNumericOrBcd(Variant(1)));
  EXPECT_FALSE(VarIsNumericOrBcd(Variant(L"1")));
  EXPECT_TRUE(VarIsNullOrEmptyString(Null()));
  EXPECT_TRUE(VarIsNullOrEmptyString(Variant(L"")));
  EXPECT_TRUE(VarIsNullOrEmptyString(Variant(RawByteString())));
  EXPECT_FALSE(VarIsNullOrEmptyString(Variant(L" ")));
  EXPECT_FALSE(VarIsNullOrEmptyString(Variant()));
}

// ---------------------------------------------------------------------------
// Tagged streaming

TEST(VariantStream, BytesAndReadBack) {
  TBcd bcd;
  bcd.Precision = 4;
  bcd.SignSpecialPlaces = 2;
  bcd.Fraction[0] = 0x12;
  bcd.Fraction[1] = 0x34;
  const RawByteString long300(300, 'q');
  struct TCase {
    const char* Name;
    Variant Value;
    TByteText Bytes;  // a trailing "..." stands for the rest
    TVarType ReadType;
  };
  const std::vector<TCase> cases = {
      {"200", Variant(200), "03 C8 00", varSmallint},
      {"-1", Variant(-1), "02 FF", varShortInt},
      {"70000", Variant(70000), "04 70 11 01 00", varInteger},
      {"int64", Variant(5000000000ll), "13 00 F2 05 2A 01 00 00 00", varInt64},
      {"longword beyond 32 bits", Variant(4000000000u), "13 00 28 6B EE 00 00 00 00", varInt64},
      {"byte", Variant(static_cast<unsigned char>(200)), "03 C8 00", varSmallint},
      {"null", Null(), "00", varNull},
      {"empty", Variant(), "0D", varEmpty},
      {"true", Variant(true), "09", varBoolean},
      {"false", Variant(false), "08", varBoolean},
      {"single", Variant(1.5f), "0F 00 00 C0 3F", varSingle},
      {"double as extended", Variant(1.0), "05 00 00 00 00 00 00 00 80 FF 3F", varDouble},
      {"currency", Variant(Currency::FromScaled(15000)), "10 98 3A 00 00 00 00 00 00", varCurrency},
      {"date", Variant::FromDateTime(2.0), "11 00 00 00 00 00 00 00 40", varDate},
      {"time stamp as date", VarSQLTimeStampCreate(2.0), "11 00 00 00 00 00 00 00 40", varDate},
      {"utf-16", Variant(L"ab"), "12 02 00 00 00 61 00 62 00", varOleStr},
      {"short byte string", Variant(RawByteString("ab")), "06 02 61 62", varString},
      {"300 bytes", Variant(long300), "0C 2C 01 00 00 71 71...", varString},
      {"list", VarArrayOf({1, L"x"}), "01 02 02 02 01 12 01 00 00 00 78 00", static_cast<TVarType>(varArray | varVariant)},
      {"decimal", VarFMTBcdCreate(bcd), "40 04 02 12 34 00...", VarFMTBcd()},
      {"uint64 as its text", Variant(5ull), "06 01 35", varString},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TByteText bytes = Written(c.Value);
    if (c.Bytes.ends_with("...")) {
      EXPECT_EQ(bytes.substr(0, c.Bytes.size() - 3), c.Bytes.substr(0, c.Bytes.size() - 3));
    } else {
      EXPECT_EQ(bytes, c.Bytes);
    }
    TOwned<TMemoryStream> s(New<TMemoryStream>());
    WriteVariantToStream(s.get(), c.Value);
    s->SetPosition(0);
    Variant back;
    ReadVariantFromStream(s.get(), back);
    EXPECT_EQ(VarType(back), c.ReadType);
    EXPECT_EQ(s->Position(), s->Size());
    EXPECT_TRUE(VariantsEqual(back, VarIsSQLTimeStamp(c.Value) ? Variant::FromDateTime(2.0) : c.Value));
  }
}

TEST(VariantStream, Failures) {
  TOwned<TMemoryStream> s(New<TMemoryStream>());
  Variant twoDimensions = VarArrayCreate({0, 1, 0, 1}, varVariant);
  EXPECT_EQ(ErrorOf([&] { WriteVariantToStream(s.get(), twoDimensions); }), L"EWriteError: Stream write error");

  struct TCase {
    const char* Name;
    std::vector<int> Bytes;
    String Error;
  };
  const String readError = L"EReadError: Stream read error";
  std::vector<int> deep;
  for (int i = 0; i < 300; ++i) deep.insert(deep.end(), {1, 2, 1});
  const std::vector<TCase> cases = {
      {"unknown type", {7}, readError},
      {"list count of another form", {1, 8}, readError},
      {"negative list count", {1, 2, 0xFF}, readError},
      {"list longer than the stream", {1, 4, 0xFF, 0xFF, 0, 0, 9}, readError},
      {"negative string length", {12, 0xFF, 0xFF, 0xFF, 0xFF}, readError},
      {"string beyond the end", {12, 0x10, 0, 0, 0, 0x41}, readError},
      {"characters beyond the end", {18, 2, 0, 0, 0, 0x41, 0}, readError},
      {"lists nested too deep", deep, readError},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TOwned<TMemoryStream> in = StreamOfBytes(c.Bytes);
    EXPECT_EQ(ErrorOf([&] { ReadVariantFromStream(in.get()); }), c.Error);
  }
  // A value cut short raises the stream's own read error.
  TOwned<TMemoryStream> cut = StreamOfBytes({4, 1, 2});
  EXPECT_THROW(ReadVariantFromStream(cut.get()), EReadError);
}

TEST(TypedStream, ExactBytesBothForms) {
  TOwned<TMemoryStream> s(New<TMemoryStream>());
  WriteByteToStream(s.get(), 0xAB);
  WriteSmallIntToStream(s.get(), -2);
  WriteWordToStream(s.get(), 0xBEEF);
  WriteIntegerToStream(s.get(), -70000);
  WriteSingleToStream(s.get(), 0.25f);
  WriteInt64ToStream(s.get(), -5000000000ll);
  WriteDoubleToStream(s.get(), 1e300);
  WriteCurrencyToStream(s.get(), Currency::FromScaled(-7));
  WriteExtendedToStream(s.get(), 0.1L);
  WriteAnsiStringToStream(s.get(), "bytes");
  WriteWideStringToStream(s.get(), L"\u00e4x");
  EXPECT_EQ(s->Size(), 1 + 2 + 2 + 4 + 4 + 8 + 8 + 8 + 10 + (4 + 5) + (4 + 4));

  s->SetPosition(0);
  EXPECT_EQ(ReadByteFromStream(s.get()), 0xAB);
  EXPECT_EQ(ReadSmallIntFromStream(s.get()), -2);
  EXPECT_EQ(ReadWordFromStream(s.get()), 0xBEEF);
  EXPECT_EQ(ReadIntegerFromStream(s.get()), -70000);
  EXPECT_EQ(ReadSingleFromStream(s.get()), 0.25f);
  EXPECT_EQ(ReadInt64FromStream(s.get()), -5000000000ll);
  EXPECT_EQ(ReadDoubleFromStream(s.get()), 1e300);
  EXPECT_EQ(ReadCurrencyFromStream(s.get()).Value, -7);
  EXPECT_EQ(ReadExtendedFromStream(s.get()), 0.1L);
  EXPECT_EQ(ReadAnsiStringFromStream(s.get()), "bytes");
  EXPECT_EQ(ReadWideStringFromStream(s.get()), L"\u00e4x");

  s->SetPosition(0);
  std::uint8_t b = 0;
  std::int16_t si = 0;
  std::uint16_t w = 0;
  std::int32_t i = 0;
  float f = 0;
  std::int64_t i64 = 0;
  double d = 0;
  Currency c;
  long double e = 0;
  RawByteString a;
  String ws;
  ReadByteFromStream(s.get(), b);
  ReadSmallIntFromStream(s.get(), si);
  ReadWordFromStream(s.get(), w);
  ReadIntegerFromStream(s.get(), i);
  ReadSingleFromStream(s.get(), f);
  ReadInt64FromStream(s.get(), i64);
  ReadDoubleFromStream(s.get(), d);
  ReadCurrencyFromStream(s.get(), c);
  ReadExtendedFromStream(s.get(), e);
  ReadAnsiStringFromStream(s.get(), a);
  ReadWideStringFromStream(s.get(), ws);
  EXPECT_EQ(b, 0xAB);
  EXPECT_EQ(si, -2);
  EXPECT_EQ(w, 0xBEEF);
  EXPECT_EQ(i, -70000);
  EXPECT_EQ(f, 0.25f);
  EXPECT_EQ(i64, -5000000000ll);
  EXPECT_EQ(d, 1e300);
  EXPECT_EQ(c.Value, -7);
  EXPECT_EQ(e, 0.1L);
  EXPECT_EQ(a, "bytes");
  EXPECT_EQ(ws, L"\u00e4x");
  EXPECT_THROW(ReadByteFromStream(s.get()), EReadError);
}

// ---------------------------------------------------------------------------
// Property lists

enum TcxVariantsTestKind { vtkOne, vtkTwo };

}  // namespace

template <>
struct TEnumInfo<TcxVariantsTestKind> {
  static constexpr const wchar_t* Name = L"TcxVariantsTestKind";
  static constexpr const wchar_t* Names[] = {L"vtkOne", L"vtkTwo"};
  static constexpr TcxVariantsTestKind Last = vtkTwo;
};

namespace {

class TcxVariantsTestBase : public TPersistent {
  SK_CLASS(TcxVariantsTestBase, TPersistent)
 public:
  static void Publish(TPublisher<TcxVariantsTestBase>& P) {
    P.Property(L"width", &TcxVariantsTestBase::Width, &TcxVariantsTestBase::SetWidth);
    P.Property(L"Caption", &TcxVariantsTestBase::Caption, &TcxVariantsTestBase::SetCaption);
  }
  int Width() const { return FWidth; }
  void SetWidth(int AValue) { FWidth = AValue; }
  String Caption() const { return FCaption; }
  void SetCaption(String AValue) { FCaption = AValue; }

 private:
  int FWidth;
  String FCaption;
};

class TcxVariantsTestItem : public TcxVariantsTestBase {
  SK_CLASS(TcxVariantsTestItem, TcxVariantsTestBase)
 public:
  static void Publish(TPublisher<TcxVariantsTestItem>& P) {
    P.Property(L"Kind", &TcxVariantsTestItem::Kind, &TcxVariantsTestItem::SetKind);
    P.Property(L"Amount", &TcxVariantsTestItem::Amount, &TcxVariantsTestItem::SetAmount);
  }
  TcxVariantsTestKind Kind() const { return FKind; }
  void SetKind(TcxVariantsTestKind AValue) { FKind = AValue; }
  int Amount() const { return FAmount; }
  void SetAmount(int AValue) { FAmount = AValue; }

 private:
  TcxVariantsTestKind FKind;
  int FAmount;
};

std::vector<String> Names(const std::vector<const TPropInfo*>& AList) {
  std::vector<String> r;
  for (const TPropInfo* info : AList) r.push_back(GetPropertyName(info));
  return r;
}

TEST(PropertyLists, ByKindSortedByName) {
  std::vector<const TPropInfo*> list;
  int count = -1;
  ASSERT_TRUE(GetTypePropertyList(TcxVariantsTestItem::ClassInfo(), list, count));
  EXPECT_EQ(count, 4);
  EXPECT_EQ(Names(list), (std::vector<String>{L"Amount", L"Caption", L"Kind", L"width"}));

  ASSERT_TRUE(GetTypePropertyListOfKinds(TcxVariantsTestItem::ClassInfo(), {tkInteger}, true, count, list));
  EXPECT_EQ(Names(list), (std::vector<String>{L"Amount", L"width"}));
  EXPECT_EQ(count, 2);
  EXPECT_TRUE(GetTypePropertyListOfKinds(TcxVariantsTestItem::ClassInfo(), {tkEnumeration, tkUString}, false, count, list));
  EXPECT_EQ(Names(list), (std::vector<String>{L"Caption", L"Kind"}));

  EXPECT_FALSE(GetTypePropertyListOfKinds(TcxVariantsTestItem::ClassInfo(), {tkFloat}, true, count, list));
  EXPECT_EQ(count, 0);
  EXPECT_TRUE(list.empty());
  EXPECT_FALSE(GetTypePropertyList(nullptr, list, count));
  EXPECT_FALSE(GetTypePropertyList(TObject::ClassInfo(), list, count));
}

}  // namespace
