#include "library/core/data/cxDataStorage.h"

#include "library/core/data/cxVariants.h"
#include "platform/runtime/FMTBcd.h"
#include "platform/runtime/SqlTimSt.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A zeroed data buffer, deliberately one byte off alignment.
class TValueBuffer {
 public:
  explicit TValueBuffer(TcxValueTypeClass AClass)
      : FType(cxValueType(AClass)), FBytes(static_cast<std::size_t>(FType->BufferSize()) + 1, 0) {}
  ~TValueBuffer() { FType->FreeBuffer(Get()); }
  TValueBuffer(const TValueBuffer&) = delete;
  TValueBuffer& operator=(const TValueBuffer&) = delete;

  void* Get() { return FBytes.data() + 1; }
  Variant Value() {
    Variant v;
    FType->BufferToVariant(Get(), v);
    return v;
  }
  // The buffer as PrepareValueBuffer leaves it.
  const void* Prepared() {
    const void* p = Get();
    FType->PrepareValueBuffer(p);
    return p;
  }

 private:
  const TcxValueType::TMeta* FType;
  std::vector<std::uint8_t> FBytes;
};

class TcxDataStorageTestObject : public TObject {
  SK_CLASS(TcxDataStorageTestObject, TObject)
 public:
  void Create(bool* AFreed) { FFreed = AFreed; }
  void Destroy() override {
    *FFreed = true;
    inherited::Destroy();
  }

 private:
  bool* FFreed;
};

Variant ObjectValue(TObject* AObject) {
  return Variant(static_cast<long long>(reinterpret_cast<std::intptr_t>(AObject)));
}

TBcd Decimal(const wchar_t* AText) {
  static const TFormatSettings plain;
  return StrToBcd(AText, plain);
}

TSQLTimeStamp Stamp(int AYear, int ASecond) { return DateTimeToSQLTimeStamp(EncodeDateTime(AYear, 5, 6, 7, 8, ASecond, 9)); }

TEST(ValueTypes, RegisteredInOrderByCaption) {
  TcxValueTypeClassList* list = GetValueTypeClassList();
  ASSERT_NE(list, nullptr);
  std::vector<String> captions;
  for (int i = 0; i < list->Count(); ++i) captions.push_back(cxValueType(list->Items(i))->Caption());
  EXPECT_EQ(captions, (std::vector<String>{L"String", L"WideString", L"Smallint", L"Integer", L"Word", L"Boolean",
                                           L"Single", L"Float", L"Currency", L"DateTime", L"LargeInt", L"FMTBcd",
                                           L"SQLTimeStamp", L"Variant", L"Object", L"BLOB"}));
  EXPECT_EQ(list->ItemByCaption(L"integer"), TcxIntegerValueType::ClassInfo());
  EXPECT_EQ(list->ItemByCaption(L"blob"), TcxBLOBValueType::ClassInfo());
  EXPECT_EQ(list->ItemByCaption(L"Unknown"), nullptr);
  EXPECT_THROW(list->Items(16), EListError);

  TOwned<TcxValueTypeClassList> own(New<TcxValueTypeClassList>());
  own->RegisterItem(TcxFloatValueType::ClassInfo());
  own->RegisterItem(TcxFloatValueType::ClassInfo());
  EXPECT_EQ(own->Count(), 1);
  own->UnregisterItem(TcxFloatValueType::ClassInfo());
  EXPECT_EQ(own->Count(), 0);

  EXPECT_TRUE(IsDateTimeValueType(TcxDateTimeValueType::ClassInfo()));
  EXPECT_TRUE(IsDateTimeValueType(TcxSQLTimeStampValueType::ClassInfo()));
  EXPECT_FALSE(IsDateTimeValueType(TcxFloatValueType::ClassInfo()));
}

// Every kind: buffer to variant and back, through both stream forms,
// compared, and freed.
TEST(ValueTypes, EveryKindRoundTrips) {
  // The two objects belong to the Object case's buffers, which free them.
  bool freedA = false, freedB = false;
  TObject* objectA = New<TcxDataStorageTestObject>(&freedA);
  TObject* objectB = New<TcxDataStorageTestObject>(&freedB);
  if (objectB < objectA) std::swap(objectA, objectB);  // A below B
  const int pointer = static_cast<int>(sizeof(void*));
  struct TCase {
    TcxValueTypeClass Class;
    Variant Low;
    Variant High;
    int Size;
    TVarType VarType;
    int StreamSize;  // of High; -1: depends on the text form
    bool Managed, Numeric, IsString;
  };
  const std::vector<TCase> cases = {
      {TcxStringValueType::ClassInfo(), Variant(L"apple"), Variant(L"pear"), pointer, varUString, -1, true, false, true},
      {TcxWideStringValueType::ClassInfo(), Variant(L"\u00e4pfel"), Variant(L"\u00f6l"), pointer, varOleStr, 4 + 4, true, false, true},
      {TcxSmallintValueType::ClassInfo(), Variant(static_cast<short>(-300)), Variant(static_cast<short>(12)), 2, varSmallint, 2, false, true, false},
      {TcxIntegerValueType::ClassInfo(), Variant(-70000), Variant(70000), 4, varInteger, 4, false, true, false},
      {TcxWordValueType::ClassInfo(), Variant(static_cast<unsigned short>(7)), Variant(static_cast<unsigned short>(65535)), 2, varWord, 2, false, true, false},
      {TcxBooleanValueType::ClassInfo(), Variant(false), Variant(true), 1, varBoolean, 1, false, false, false},
      {TcxSingleValueType::ClassInfo(), Variant(-1.5f), Variant(0.25f), 4, varSingle, 4, false, true, false},
      {TcxFloatValueType::ClassInfo(), Variant(0.1), Variant(1e300), 8, varDouble, 10, false, true, false},
      {TcxCurrencyValueType::ClassInfo(), Variant(Currency::FromScaled(-5)), Variant(Currency::FromScaled(123456789)), 8, varCurrency, 8, false, true, false},
      {TcxDateTimeValueType::ClassInfo(), Variant::FromDateTime(45000.25), Variant::FromDateTime(45001), 8, varDate, 8, false, true, false},
      {TcxLargeIntValueType::ClassInfo(), Variant(-5000000000ll), Variant(5000000000ll), 8, varInt64, 8, false, true, false},
      {TcxFMTBcdValueType::ClassInfo(), VarFMTBcdCreate(Decimal(L"-12.5")), VarFMTBcdCreate(Decimal(L"3.25")), 34, VarFMTBcd(), 1 + 34, false, true, false},
      {TcxSQLTimeStampValueType::ClassInfo(), Variant::FromDateTime(SQLTimeStampToDateTime(Stamp(1999, 1))),
       Variant::FromDateTime(SQLTimeStampToDateTime(Stamp(1999, 2))), 16, varDate, 1 + 8, false, true, false},
      {TcxVariantValueType::ClassInfo(), Variant(3), Variant(7.5), pointer, varVariant, 1 + 10, true, false, false},
      {TcxObjectValueType::ClassInfo(), ObjectValue(objectA), ObjectValue(objectB), pointer,
       sizeof(void*) == 8 ? varInt64 : varInteger, 0, true, true, false},
      {TcxBLOBValueType::ClassInfo(), Variant(RawByteString("\x01\x02")), Variant(RawByteString("\x01\x03zz")), pointer, varString, 4 + 4, true, false, true},
  };
  ASSERT_EQ(cases.size(), 16u);
  for (const TCase& c : cases) {
    SCOPED_TRACE(UTF8Encode(c.Class->ClassName()));
    const TcxValueType::TMeta* type = cxValueType(c.Class);
    EXPECT_EQ(type->BufferSize(), c.Size);
    EXPECT_EQ(type->IsManaged(), c.Managed);
    EXPECT_EQ(type->IsNumeric(), c.Numeric);
    EXPECT_EQ(type->IsString(), c.IsString);

    TValueBuffer low(c.Class), high(c.Class);
    type->VariantToBuffer(low.Get(), c.Low);
    type->VariantToBuffer(high.Get(), c.High);
    const Variant back = low.Value();
    if (c.Class != TcxVariantValueType::ClassInfo()) {
      EXPECT_EQ(VarType(back), c.VarType);
    }
    EXPECT_TRUE(VariantsEqual(back, c.Low));
    EXPECT_TRUE(VariantsEqual(type->GetValue(low.Prepared()), c.Low));

    EXPECT_LT(type->Compare(low.Get(), high.Get()), 0);
    EXPECT_GT(type->Compare(high.Get(), low.Get()), 0);
    EXPECT_EQ(type->Compare(low.Get(), low.Get()), 0);

    for (bool wide : {true, false}) {
      SCOPED_TRACE(wide ? "wide texts" : "8-bit texts");
      TOwned<TMemoryStream> memory(New<TMemoryStream>());
      TOwned<TcxValueTypeStream> stream(New<TcxValueTypeStream>(memory.get(), wide));
      type->WriteBufferToStream(high.Get(), stream.get());
      if (c.StreamSize >= 0) {
        EXPECT_EQ(memory->Size(), c.StreamSize);
      }
      stream->SetPosition(0);
      TValueBuffer read(c.Class);
      type->ReadBufferFromStream(read.Get(), stream.get());
      EXPECT_EQ(stream->Position(), memory->Size());
      if (c.Class != TcxObjectValueType::ClassInfo()) {
        EXPECT_TRUE(VariantsEqual(read.Value(), c.High));
      }
    }
  }
  // The Object buffers freed their objects.
  EXPECT_TRUE(freedA);
  EXPECT_TRUE(freedB);
}

TEST(ValueTypes, StringStreamFormsFollowTheTextFlag) {
  const TcxValueType::TMeta* type = cxValueType(TcxStringValueType::ClassInfo());
  TValueBuffer buffer(TcxStringValueType::ClassInfo());
  type->VariantToBuffer(buffer.Get(), Variant(L"ab\u00e4"));
  TOwned<TMemoryStream> memory(New<TMemoryStream>());
  TOwned<TcxValueTypeStream> wide(New<TcxValueTypeStream>(memory.get(), true));
  type->WriteBufferToStream(buffer.Get(), wide.get());
  EXPECT_EQ(memory->Size(), 4 + 6);
  TOwned<TcxValueTypeStream> narrow(New<TcxValueTypeStream>(memory.get(), false));
  type->WriteBufferToStream(buffer.Get(), narrow.get());
  EXPECT_EQ(memory->Size(), 4 + 6 + 4 + 3);
  EXPECT_EQ(static_cast<const unsigned char*>(memory->Memory())[10 + 4 + 2], 0xE4);  // the code page's byte
}

TEST(ValueTypes, ManagedBuffersHoldNilForNull) {
  const TcxValueType::TMeta* type = cxValueType(TcxStringValueType::ClassInfo());
  TValueBuffer null1(TcxStringValueType::ClassInfo()), null2(TcxStringValueType::ClassInfo()),
      text(TcxStringValueType::ClassInfo());
  type->VariantToBuffer(text.Get(), Variant(L""));
  EXPECT_EQ(type->Compare(null1.Get(), text.Get()), -1);
  EXPECT_EQ(type->Compare(text.Get(), null1.Get()), 1);
  EXPECT_EQ(type->Compare(null1.Get(), null2.Get()), 0);
  EXPECT_TRUE(null1.Value().IsNull());
  EXPECT_EQ(type->BufferToText(null1.Get()), L"");

  // A byte array becomes the text of its bytes.
  Variant bytes = VarArrayCreate({0, 2}, varByte);
  for (int i = 0; i < 3; ++i) bytes.PutElement(i, Variant(static_cast<unsigned char>('a' + i)));
  type->VariantToBuffer(text.Get(), bytes);
  EXPECT_EQ(text.Value().AsString(), L"abc");

  for (TcxValueTypeClass c : {TcxStringValueType::ClassInfo(), TcxWideStringValueType::ClassInfo(),
                              TcxVariantValueType::ClassInfo(), TcxBLOBValueType::ClassInfo()}) {
    SCOPED_TRACE(UTF8Encode(c->ClassName()));
    TValueBuffer b(c);
    cxValueType(c)->VariantToBuffer(b.Get(), Variant(L"v"));
    cxValueType(c)->VariantToBuffer(b.Get(), Variant(L"w"));  // replaces, frees the old value
    EXPECT_EQ(b.Value().AsString(), L"w");
    cxValueType(c)->FreeBuffer(b.Get());
    EXPECT_EQ(b.Prepared(), nullptr);
    EXPECT_TRUE(b.Value().IsNull());
  }
}

TEST(ValueTypes, CompareAsEachKindSays) {
  struct TCase {
    TcxValueTypeClass Class;
    Variant A;
    Variant B;
    int Result;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::vector<TCase> cases = {
      {TcxSmallintValueType::ClassInfo(), Variant(static_cast<short>(5)), Variant(static_cast<short>(3)), 2},
      {TcxWordValueType::ClassInfo(), Variant(static_cast<unsigned short>(1)), Variant(static_cast<unsigned short>(65535)), -65534},
      {TcxBooleanValueType::ClassInfo(), Variant(true), Variant(false), 1},
      {TcxIntegerValueType::ClassInfo(), Variant(-2000000000), Variant(2000000000), -1},
      {TcxFloatValueType::ClassInfo(), Variant(nan), Variant(1.0), -1},
      {TcxFloatValueType::ClassInfo(), Variant(1.0), Variant(nan), -1},
      {TcxLargeIntValueType::ClassInfo(), Variant(-1ll), Variant(1ll), -1},
      {TcxLargeIntValueType::ClassInfo(), Variant(0x100000000ll), Variant(0xFFFFFFFFll), 1},
      {TcxFMTBcdValueType::ClassInfo(), VarFMTBcdCreate(Decimal(L"1.50")), VarFMTBcdCreate(Decimal(L"1.5")), 0},
      {TcxSQLTimeStampValueType::ClassInfo(), Variant::FromDateTime(EncodeDateTime(2001, 1, 1, 0, 0, 0, 0)),
       Variant::FromDateTime(EncodeDateTime(1999, 12, 31, 23, 59, 59, 999)), 2},
      {TcxVariantValueType::ClassInfo(), Null(), Variant(1), -1},
      {TcxBLOBValueType::ClassInfo(), Variant(RawByteString("b")), Variant(RawByteString("ab")), 1},
      {TcxWideStringValueType::ClassInfo(), Variant(L"B"), Variant(L"a"), -1},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << UTF8Encode(c.Class->ClassName()) << " " << static_cast<int>(&c - cases.data()));
    TValueBuffer a(c.Class), b(c.Class);
    cxValueType(c.Class)->VariantToBuffer(a.Get(), c.A);
    cxValueType(c.Class)->VariantToBuffer(b.Get(), c.B);
    EXPECT_EQ(cxValueType(c.Class)->Compare(a.Get(), b.Get()), c.Result);
  }
}

TEST(ValueTypes, ValidityCastsInPlace) {
  const TcxValueType::TMeta* integer = cxValueType(TcxIntegerValueType::ClassInfo());
  Variant twelve(L"12");
  EXPECT_TRUE(integer->IsValueValid(twelve));
  EXPECT_EQ(VarType(twelve), varInteger);
  EXPECT_EQ(twelve.AsInteger(), 12);
  Variant x(L"x");
  EXPECT_FALSE(integer->IsValueValid(x));
  EXPECT_EQ(VarType(x), varUString);
  Variant null = Null();
  EXPECT_TRUE(integer->IsValueValid(null));
  Variant big(5000000000ll);
  EXPECT_FALSE(integer->IsValueValid(big));
  Variant anything(L"x");
  EXPECT_TRUE(cxValueType(TcxVariantValueType::ClassInfo())->IsValueValid(anything));
  Variant decimal(L"2.5");
  EXPECT_TRUE(cxValueType(TcxFMTBcdValueType::ClassInfo())->IsValueValid(decimal));
  EXPECT_TRUE(VarIsFMTBcd(decimal));
  Variant notDecimal(L"2,5,5");
  EXPECT_FALSE(cxValueType(TcxFMTBcdValueType::ClassInfo())->IsValueValid(notDecimal));
}

TEST(ValueTypes, DisplayTextsAndTextBuffers) {
  TValueBuffer flag(TcxBooleanValueType::ClassInfo());
  cxValueType(TcxBooleanValueType::ClassInfo())->VariantToBuffer(flag.Get(), Variant(true));
  EXPECT_EQ(cxValueType(TcxBooleanValueType::ClassInfo())->BufferToText(flag.Get()), L"True");
  TValueBuffer date(TcxDateTimeValueType::ClassInfo());
  cxValueType(TcxDateTimeValueType::ClassInfo())->VariantToBuffer(date.Get(), Variant::FromDateTime(45000.5));
  EXPECT_EQ(cxValueType(TcxDateTimeValueType::ClassInfo())->BufferToText(date.Get()), DateTimeToStr(45000.5));
  TValueBuffer decimal(TcxFMTBcdValueType::ClassInfo());
  cxValueType(TcxFMTBcdValueType::ClassInfo())->VariantToBuffer(decimal.Get(), VarFMTBcdCreate(Decimal(L"-0.50")));
  EXPECT_EQ(cxValueType(TcxFMTBcdValueType::ClassInfo())->BufferToText(decimal.Get()), BcdToStr(Decimal(L"-0.5")));

  const TcxValueType::TMeta* type = cxValueType(TcxIntegerValueType::ClassInfo());
  TcxTextBuffer text = nullptr;
  EXPECT_EQ(type->TextBufferToText(text), L"");
  type->TextToTextBuffer(text, L"first");
  type->TextToTextBuffer(text, L"s\u00e9cond");
  EXPECT_EQ(type->TextBufferToText(text), L"s\u00e9cond");
  for (bool wide : {true, false}) {
    TOwned<TMemoryStream> memory(New<TMemoryStream>());
    TOwned<TcxValueTypeStream> stream(New<TcxValueTypeStream>(memory.get(), wide));
    type->WriteTextBufferToStream(text, stream.get());
    EXPECT_EQ(memory->Size(), wide ? 4 + 12 : 4 + 6);
    stream->SetPosition(0);
    TcxTextBuffer read = nullptr;
    type->ReadTextBufferFromStream(read, stream.get());
    EXPECT_EQ(type->TextBufferToText(read), L"s\u00e9cond");
    type->FreeTextBuffer(read);
    EXPECT_EQ(read, nullptr);
  }
  type->FreeTextBuffer(text);
  EXPECT_EQ(text, nullptr);
  type->FreeTextBuffer(text);  // nothing cached: nothing to do
}

TEST(ValueTypes, FloatKeepsItsDoubleThroughTheExtendedForm) {
  const TcxValueType::TMeta* type = cxValueType(TcxFloatValueType::ClassInfo());
  for (double value : {0.1, -1.0 / 3.0, 1e-310, 1.7976931348623157e308}) {
    SCOPED_TRACE(value);
    TValueBuffer in(TcxFloatValueType::ClassInfo()), out(TcxFloatValueType::ClassInfo());
    type->VariantToBuffer(in.Get(), Variant(value));
    TOwned<TMemoryStream> memory(New<TMemoryStream>());
    TOwned<TcxValueTypeStream> stream(New<TcxValueTypeStream>(memory.get(), true));
    type->WriteBufferToStream(in.Get(), stream.get());
    EXPECT_EQ(memory->Size(), 10);
    stream->SetPosition(0);
    type->ReadBufferFromStream(out.Get(), stream.get());
    EXPECT_EQ(out.Value().AsDouble(), value);
  }
}

}  // namespace
