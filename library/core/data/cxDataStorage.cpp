#include "library/core/data/cxDataStorage.h"

#include "library/core/data/cxVariants.h"
#include "library/core/base/dxCoreClasses.h"
#include "platform/runtime/FMTBcd.h"
#include "platform/runtime/SqlTimSt.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <tuple>

namespace {

// Buffers need no alignment: every value goes in and out by copy.
template <class T>
T Load(const void* P) {
  T value;
  std::memcpy(&value, P, sizeof value);
  return value;
}

template <class T>
void Save(void* P, const T& AValue) {
  std::memcpy(P, &AValue, sizeof AValue);
}

// The heap value a managed buffer owns: nil for Null.
template <class T>
T* HeldIn(const void* ABuffer) {
  return Load<T*>(ABuffer);
}

// The held value, allocated on the first store.
template <class T>
T& HeldValue(void* ABuffer) {
  T* value = HeldIn<T>(ABuffer);
  if (!value) {
    value = std::make_unique<T>().release();  // owned by the buffer until FreeBuffer
    Save(ABuffer, value);
  }
  return *value;
}

template <class T>
void DisposeHeld(void* ABuffer) {
  const std::unique_ptr<T> owner(HeldIn<T>(ABuffer));
  Save<T*>(ABuffer, nullptr);
}

// Nil before any value and two nils equal; otherwise ACompare of the values.
template <class T, class F>
int CompareHeld(const void* P1, const void* P2, F ACompare) {
  const T* a = static_cast<const T*>(P1);
  const T* b = static_cast<const T*>(P2);
  if (!a || !b) return a ? 1 : (b ? -1 : 0);
  return ACompare(*a, *b);
}

template <class T>
int CompareScalars(T A, T B) {
  return A < B ? -1 : (B < A ? 1 : 0);
}

// Equal 0, greater 1, anything else (less or unordered) -1.
template <class T>
int CompareOrdered(T A, T B) {
  return A == B ? 0 : (A > B ? 1 : -1);
}

// The text a String buffer takes from a variant: the bytes of a byte array,
// else the variant's text.
String TextOfVariant(const Variant& AValue) {
  if (AValue.IsArray() && (AValue.VType() & varTypeMask) == varByte) return ConvertVariantToUnicode(AValue);
  return VarToStr(AValue);
}

// A WideString block: a 32-bit character count, then the UTF-16 characters.
String BlockText(const void* ABlock) {
  if (!ABlock) return String();
  const auto count = Load<std::int32_t>(ABlock);
  String text(static_cast<std::size_t>(count), L'\0');
  std::memcpy(text.data(), static_cast<const std::uint8_t*>(ABlock) + sizeof(std::int32_t), text.size() * sizeof(wchar_t));
  return text;
}

void StoreBlock(void* ABuffer, const String& AText) {
  FreeMemoryBlock(HeldIn<void>(ABuffer));
  Save<void*>(ABuffer, nullptr);
  void* block = AllocZeroedBlock(sizeof(std::int32_t) + AText.size() * sizeof(wchar_t));
  Save(block, static_cast<std::int32_t>(AText.size()));
  std::memcpy(static_cast<std::uint8_t*>(block) + sizeof(std::int32_t), AText.data(), AText.size() * sizeof(wchar_t));
  Save(ABuffer, block);
}

// An object reference as an integer of a pointer's width.
constexpr TVarType varObjectReference = sizeof(void*) == 8 ? varInt64 : varInteger;

}  // namespace

// ---------------------------------------------------------------------------
// TcxValueTypeStream

void TcxValueTypeStream::Create(TStream* AStream, bool AWideTexts) {
  FStream = AStream;
  FWideTexts = AWideTexts;
}

String TcxValueTypeStream::ReadText() {
  return FWideTexts ? ReadWideStringFromStream(this) : AnsiToString(ReadAnsiStringFromStream(this));
}

void TcxValueTypeStream::WriteText(const String& AText) {
  if (FWideTexts) WriteWideStringToStream(this, AText);
  else WriteAnsiStringToStream(this, StringToAnsi(AText));
}

// ---------------------------------------------------------------------------
// TcxValueType

int TcxValueType::TMeta::Compare(const void* ABuffer1, const void* ABuffer2) const {
  PrepareValueBuffer(ABuffer1);
  PrepareValueBuffer(ABuffer2);
  return CompareValues(ABuffer1, ABuffer2);
}

void TcxValueType::TMeta::FreeBuffer(void*) const {}

void TcxValueType::TMeta::FreeTextBuffer(TcxTextBuffer& ATextBuffer) const {
  const std::unique_ptr<String> owner(std::exchange(ATextBuffer, nullptr));
}

int TcxValueType::TMeta::BufferSize() const { return 0; }

void TcxValueType::TMeta::BufferToVariant(const void*, Variant& AValue) const { AValue = Null(); }

String TcxValueType::TMeta::BufferToText(const void* ABuffer) const {
  Variant value;
  BufferToVariant(ABuffer, value);
  try {
    return VarToStr(value);
  } catch (const EVariantError&) {
    return String();
  }
}

String TcxValueType::TMeta::TextBufferToText(TcxTextBuffer ATextBuffer) const {
  return ATextBuffer ? *ATextBuffer : String();
}

void TcxValueType::TMeta::ReadBufferFromStream(void* ABuffer, TcxValueTypeStream* AStream) const {
  VariantToBuffer(ABuffer, ReadVariantFromStream(AStream));
}

void TcxValueType::TMeta::ReadTextBufferFromStream(TcxTextBuffer& ATextBuffer, TcxValueTypeStream* AStream) const {
  TextToTextBuffer(ATextBuffer, AStream->ReadText());
}

void TcxValueType::TMeta::VariantToBuffer(void*, const Variant&) const {}

void TcxValueType::TMeta::TextToTextBuffer(TcxTextBuffer& ATextBuffer, const String& AText) const {
  if (!ATextBuffer) ATextBuffer = std::make_unique<String>().release();  // owned until FreeTextBuffer
  *ATextBuffer = AText;
}

void TcxValueType::TMeta::WriteBufferToStream(const void* ABuffer, TcxValueTypeStream* AStream) const {
  Variant value;
  BufferToVariant(ABuffer, value);
  WriteVariantToStream(AStream, value);
}

void TcxValueType::TMeta::WriteTextBufferToStream(TcxTextBuffer ATextBuffer, TcxValueTypeStream* AStream) const {
  AStream->WriteText(TextBufferToText(ATextBuffer));
}

String TcxValueType::TMeta::Caption() const {
  String name = ClassName();
  if (name.starts_with(L"Tcx")) name.erase(0, 3);
  if (name.ends_with(L"ValueType")) name.erase(name.size() - 9);
  return name;
}

int TcxValueType::TMeta::CompareValues(const void* P1, const void* P2) const {
  Variant a, b;
  BufferToVariant(P1, a);
  BufferToVariant(P2, b);
  return CompareVariants(a, b);
}

Variant TcxValueType::TMeta::GetValue(const void* ABuffer) const {
  Variant value;
  // A managed kind gets the pointer it holds; read it as a buffer again.
  if (IsManaged()) BufferToVariant(&ABuffer, value);
  else BufferToVariant(ABuffer, value);
  return value;
}

TVarType TcxValueType::TMeta::GetVarType() const { return varVariant; }
bool TcxValueType::TMeta::IsManaged() const { return false; }
bool TcxValueType::TMeta::IsNumeric() const { return false; }
bool TcxValueType::TMeta::IsString() const { return false; }

bool TcxValueType::TMeta::IsValueValid(Variant& AValue) const {
  if (AValue.IsNull() || GetVarType() == varVariant) return true;
  try {
    AValue = VarAsType(AValue, GetVarType());
    return true;
  } catch (const EVariantError&) {
    return false;
  }
}

void TcxValueType::TMeta::PrepareValueBuffer(const void*&) const {}

// ---------------------------------------------------------------------------
// String and WideString

void TcxStringValueType::TMeta::FreeBuffer(void* ABuffer) const { DisposeHeld<String>(ABuffer); }
int TcxStringValueType::TMeta::BufferSize() const { return static_cast<int>(sizeof(String*)); }

void TcxStringValueType::TMeta::BufferToVariant(const void* ABuffer, Variant& AValue) const {
  const String* text = HeldIn<String>(ABuffer);
  AValue = text ? VarAsType(Variant(*text), GetVarType()) : Null();
}

void TcxStringValueType::TMeta::ReadBufferFromStream(void* ABuffer, TcxValueTypeStream* AStream) const {
  HeldValue<String>(ABuffer) = AStream->ReadText();
}

void TcxStringValueType::TMeta::VariantToBuffer(void* ABuffer, const Variant& AValue) const {
  HeldValue<String>(ABuffer) = TextOfVariant(AValue);
}

void TcxStringValueType::TMeta::WriteBufferToStream(const void* ABuffer, TcxValueTypeStream* AStream) const {
  const String* text = HeldIn<String>(ABuffer);
  AStream->WriteText(text ? *text : String());
}

int TcxStringValueType::TMeta::CompareValues(const void* P1, const void* P2) const {
  return CompareHeld<String>(P1, P2, [](const String& A, const String& B) { return CompareStr(A, B); });
}

TVarType TcxStringValueType::TMeta::GetVarType() const { return varUString; }
bool TcxStringValueType::TMeta::IsManaged() const { return true; }
bool TcxStringValueType::TMeta::IsString() const { return true; }
void TcxStringValueType::TMeta::PrepareValueBuffer(const void*& ABuffer) const { ABuffer = HeldIn<const void>(ABuffer); }

void TcxWideStringValueType::TMeta::FreeBuffer(void* ABuffer) const {
  FreeMemoryBlock(HeldIn<void>(ABuffer));
  Save<void*>(ABuffer, nullptr);
}

void TcxWideStringValueType::TMeta::BufferToVariant(const void* ABuffer, Variant& AValue) const {
  const void* block = HeldIn<const void>(ABuffer);
  AValue = block ? Variant::FromOleStr(BlockText(block)) : Null();
}

void TcxWideStringValueType::TMeta::ReadBufferFromStream(void* ABuffer, TcxValueTypeStream* AStream) const {
  StoreBlock(ABuffer, ReadWideStringFromStream(AStream));
}

void TcxWideStringValueType::TMeta::VariantToBuffer(void* ABuffer, const Variant& AValue) const {
  StoreBlock(ABuffer, TextOfVariant(AValue));
}

void TcxWideStringValueType::TMeta::WriteBufferToStream(const void* ABuffer, TcxValueTypeStream* AStream) const {
  WriteWideStringToStream(AStream, BlockText(HeldIn<const void>(ABuffer)));
}

int TcxWideStringValueType::TMeta::CompareValues(const void* P1, const void* P2) const {
  if (!P1 || !P2) return P1 ? 1 : (P2 ? -1 : 0);
  return CompareScalars(CompareStr(BlockText(P1), BlockText(P2)), 0);
}

TVarType TcxWideStringValueType::TMeta::GetVarType() const { return varOleStr; }

// ---------------------------------------------------------------------------
// The fixed-size kinds

void TcxSmallintValueType::TMeta::VariantToBuffer(void* ABuffer, const Variant& AValue) const {
  Save(ABuffer, static_cast<std::int16_t>(VarAsType(AValue, varSmallint).AsInteger()));
}
int TcxSmallintValueType::TMeta::CompareValues(const void* P1, const void* P2) const {
  return Load<std::int16_t>(P1) - Load<std::int16_t>(P2);
}

void TcxIntegerValueType::TMeta::VariantToBuffer(void* ABuffer, const Variant& AValue) const {
  Save(ABuffer, static_cast<std::int32_t>(AValue.AsInteger()));
}
int TcxIntegerValueType::TMeta::CompareValues(const void* P1, const void* P2) const {
  return CompareScalars(Load<std::int32_t>(P1), Load<std::int32_t>(P2));
}

void TcxWordValueType::TMeta::VariantToBuffer(void* ABuffer, const Variant& AValue) const {
  Save(ABuffer, static_cast<std::uint16_t>(VarAsType(AValue, varWord).AsInteger()));
}
int TcxWordValueType::TMeta::CompareValues(const void* P1, const void* P2) const {
  return Load<std::uint16_t>(P1) - Load<std::uint16_t>(P2);
}

void TcxBooleanValueType::TMeta::BufferToVariant(const void* ABuffer, Variant& AValue) const {
  AValue = Variant(Load<std::uint8_t>(ABuffer) != 0);
}
String TcxBooleanValueType::TMeta::BufferToText(const void* ABuffer) const {
  return BoolToStr(Load<std::uint8_t>(ABuffer) != 0, true);
}
void TcxBooleanValueType::TMeta::VariantToBuffer(void* ABuffer, const Variant& AValue) const {
  Save(ABuffer, static_cast<std::uint8_t>(AValue.AsBoolean() ? 1 : 0));
}
int TcxBooleanValueType::TMeta::CompareValues(const void* P1, const void* P2) const {
  return Load<std::uint8_t>(P1) - Load<std::uint8_t>(P2);
}

void TcxSingleValueType::TMeta::VariantToBuffer(void* ABuffer, const Variant& AValue) const {
  Save(ABuffer, static_cast<float>(VarAsType(AValue, varSingle).AsDouble()));
}
int TcxSingleValueType::TMeta::CompareValues(const void* P1, const void* P2) const {
  return CompareOrdered(Load<float>(P1), Load<float>(P2));
}

void TcxFloatValueType::TMeta::ReadBufferFromStream(void* ABuffer, TcxValueTypeStream* AStream) const {
  Save(ABuffer, static_cast<double>(ReadExtendedFromStream(AStream)));
}
void TcxFloatValueType::TMeta::VariantToBuffer(void* ABuffer, const Variant& AValue) const {
  Save(ABuffer, AValue.AsDouble());
}
void TcxFloatValueType::TMeta::WriteBufferToStream(const void* ABuffer, TcxValueTypeStream* AStream) const {
  WriteExtendedToStream(AStream, Load<double>(ABuffer));
}
int TcxFloatValueType::TMeta::CompareValues(const void* P1, const void* P2) const {
  return CompareOrdered(Load<double>(P1), Load<double>(P2));
}

void TcxCurrencyValueType::TMeta::BufferToVariant(const void* ABuffer, Variant& AValue) const {
  AValue = Variant(Currency::FromScaled(Load<std::int64_t>(ABuffer)));
}
void TcxCurrencyValueType::TMeta::VariantToBuffer(void* ABuffer, const Variant& AValue) const {
  Save(ABuffer, AValue.AsCurrency().Value);
}
int TcxCurrencyValueType::TMeta::CompareValues(const void* P1, const void* P2) const {
  return CompareOrdered(Load<std::int64_t>(P1), Load<std::int64_t>(P2));
}

void TcxDateTimeValueType::TMeta::BufferToVariant(const void* ABuffer, Variant& AValue) const {
  AValue = Variant::FromDateTime(Load<double>(ABuffer));
}
String TcxDateTimeValueType::TMeta::BufferToText(const void* ABuffer) const {
  try {
    return VarToStr(Variant::FromDateTime(Load<double>(ABuffer)));
  } catch (const EVariantError&) {
    return DateTimeToStr(Load<double>(ABuffer));
  }
}
void TcxDateTimeValueType::TMeta::VariantToBuffer(void* ABuffer, const Variant& AValue) const {
  Save(ABuffer, AValue.AsDateTime());
}
int TcxDateTimeValueType::TMeta::CompareValues(const void* P1, const void* P2) const {
  return CompareOrdered(Load<double>(P1), Load<double>(P2));
}

void TcxLargeIntValueType::TMeta::VariantToBuffer(void* ABuffer, const Variant& AValue) const {
  Save(ABuffer, AValue.AsInt64());
}
int TcxLargeIntValueType::TMeta::CompareValues(const void* P1, const void* P2) const {
  const auto a = Load<std::int64_t>(P1), b = Load<std::int64_t>(P2);
  // The high halves signed, then the low halves unsigned.
  return CompareScalars(std::make_tuple(static_cast<std::int32_t>(a >> 32), static_cast<std::uint32_t>(a)),
                        std::make_tuple(static_cast<std::int32_t>(b >> 32), static_cast<std::uint32_t>(b)));
}

// ---------------------------------------------------------------------------
// Decimals and time stamps

int TcxFMTBcdValueType::TMeta::BufferSize() const { return static_cast<int>(sizeof(TBcd)); }
void TcxFMTBcdValueType::TMeta::BufferToVariant(const void* ABuffer, Variant& AValue) const {
  AValue = VarFMTBcdCreate(Load<TBcd>(ABuffer));
}
String TcxFMTBcdValueType::TMeta::BufferToText(const void* ABuffer) const { return BcdToStr(Load<TBcd>(ABuffer)); }
void TcxFMTBcdValueType::TMeta::VariantToBuffer(void* ABuffer, const Variant& AValue) const {
  Save(ABuffer, VarToBcd(AValue));
}
int TcxFMTBcdValueType::TMeta::CompareValues(const void* P1, const void* P2) const {
  return BcdCompare(Load<TBcd>(P1), Load<TBcd>(P2));
}
TVarType TcxFMTBcdValueType::TMeta::GetVarType() const { return VarFMTBcd(); }
bool TcxFMTBcdValueType::TMeta::IsNumeric() const { return true; }

int TcxSQLTimeStampValueType::TMeta::BufferSize() const { return static_cast<int>(sizeof(TSQLTimeStamp)); }
void TcxSQLTimeStampValueType::TMeta::BufferToVariant(const void* ABuffer, Variant& AValue) const {
  AValue = Variant::FromDateTime(SQLTimeStampToDateTime(Load<TSQLTimeStamp>(ABuffer)));
}
void TcxSQLTimeStampValueType::TMeta::VariantToBuffer(void* ABuffer, const Variant& AValue) const {
  Save(ABuffer, VarToSQLTimeStamp(AValue));
}
int TcxSQLTimeStampValueType::TMeta::CompareValues(const void* P1, const void* P2) const {
  const auto a = Load<TSQLTimeStamp>(P1), b = Load<TSQLTimeStamp>(P2);
  if (a.Year != b.Year) return a.Year - b.Year;
  if (a.Month != b.Month) return a.Month - b.Month;
  if (a.Day != b.Day) return a.Day - b.Day;
  if (a.Hour != b.Hour) return a.Hour - b.Hour;
  if (a.Minute != b.Minute) return a.Minute - b.Minute;
  if (a.Second != b.Second) return a.Second - b.Second;
  return CompareScalars(a.Fractions, b.Fractions);
}
TVarType TcxSQLTimeStampValueType::TMeta::GetVarType() const { return VarSQLTimeStamp(); }
bool TcxSQLTimeStampValueType::TMeta::IsNumeric() const { return true; }

// ---------------------------------------------------------------------------
// Variant and BLOB

void TcxVariantValueType::TMeta::FreeBuffer(void* ABuffer) const { DisposeHeld<Variant>(ABuffer); }
int TcxVariantValueType::TMeta::BufferSize() const { return static_cast<int>(sizeof(Variant*)); }
void TcxVariantValueType::TMeta::BufferToVariant(const void* ABuffer, Variant& AValue) const {
  const Variant* value = HeldIn<Variant>(ABuffer);
  AValue = value ? *value : Null();
}
void TcxVariantValueType::TMeta::VariantToBuffer(void* ABuffer, const Variant& AValue) const {
  HeldValue<Variant>(ABuffer) = AValue;
}
int TcxVariantValueType::TMeta::CompareValues(const void* P1, const void* P2) const {
  return CompareHeld<Variant>(P1, P2, [](const Variant& A, const Variant& B) { return CompareVariants(A, B); });
}
bool TcxVariantValueType::TMeta::IsManaged() const { return true; }
void TcxVariantValueType::TMeta::PrepareValueBuffer(const void*& ABuffer) const { ABuffer = HeldIn<const void>(ABuffer); }

void TcxBLOBValueType::TMeta::FreeBuffer(void* ABuffer) const { DisposeHeld<RawByteString>(ABuffer); }
int TcxBLOBValueType::TMeta::BufferSize() const { return static_cast<int>(sizeof(RawByteString*)); }
void TcxBLOBValueType::TMeta::BufferToVariant(const void* ABuffer, Variant& AValue) const {
  const RawByteString* bytes = HeldIn<RawByteString>(ABuffer);
  AValue = bytes ? Variant(*bytes) : Null();
}
void TcxBLOBValueType::TMeta::ReadBufferFromStream(void* ABuffer, TcxValueTypeStream* AStream) const {
  HeldValue<RawByteString>(ABuffer) = ReadAnsiStringFromStream(AStream);
}
void TcxBLOBValueType::TMeta::VariantToBuffer(void* ABuffer, const Variant& AValue) const {
  HeldValue<RawByteString>(ABuffer) = ConvertVariantToAnsi(AValue);
}
void TcxBLOBValueType::TMeta::WriteBufferToStream(const void* ABuffer, TcxValueTypeStream* AStream) const {
  const RawByteString* bytes = HeldIn<RawByteString>(ABuffer);
  WriteAnsiStringToStream(AStream, bytes ? *bytes : RawByteString());
}
int TcxBLOBValueType::TMeta::CompareValues(const void* P1, const void* P2) const {
  return CompareHeld<RawByteString>(P1, P2, [](const RawByteString& A, const RawByteString& B) { return A.compare(B); });
}
TVarType TcxBLOBValueType::TMeta::GetVarType() const { return varString; }
bool TcxBLOBValueType::TMeta::IsManaged() const { return true; }
bool TcxBLOBValueType::TMeta::IsString() const { return true; }
void TcxBLOBValueType::TMeta::PrepareValueBuffer(const void*& ABuffer) const { ABuffer = HeldIn<const void>(ABuffer); }

// ---------------------------------------------------------------------------
// Object

void TcxObjectValueType::TMeta::FreeBuffer(void* ABuffer) const {
  TObject* object = HeldIn<TObject>(ABuffer);
  Save<TObject*>(ABuffer, nullptr);
  if (object) object->Free();
}
int TcxObjectValueType::TMeta::BufferSize() const { return static_cast<int>(sizeof(TObject*)); }
void TcxObjectValueType::TMeta::BufferToVariant(const void* ABuffer, Variant& AValue) const {
  AValue = VarAsType(Variant(static_cast<long long>(reinterpret_cast<std::intptr_t>(HeldIn<TObject>(ABuffer)))),
                     varObjectReference);
}
void TcxObjectValueType::TMeta::ReadBufferFromStream(void*, TcxValueTypeStream*) const {}
void TcxObjectValueType::TMeta::VariantToBuffer(void* ABuffer, const Variant& AValue) const {
  Save(ABuffer, reinterpret_cast<TObject*>(static_cast<std::intptr_t>(AValue.AsInt64())));
}
void TcxObjectValueType::TMeta::WriteBufferToStream(const void*, TcxValueTypeStream*) const {}
int TcxObjectValueType::TMeta::CompareValues(const void* P1, const void* P2) const {
  return CompareScalars(reinterpret_cast<std::intptr_t>(P1), reinterpret_cast<std::intptr_t>(P2));
}
TVarType TcxObjectValueType::TMeta::GetVarType() const { return varObjectReference; }
bool TcxObjectValueType::TMeta::IsManaged() const { return true; }
void TcxObjectValueType::TMeta::PrepareValueBuffer(const void*& ABuffer) const { ABuffer = HeldIn<const void>(ABuffer); }

// ---------------------------------------------------------------------------
// TcxValueTypeClassList

void TcxValueTypeClassList::RegisterItem(TcxValueTypeClass AValueTypeClass) {
  if (std::find(FItems.begin(), FItems.end(), AValueTypeClass) == FItems.end()) FItems.push_back(AValueTypeClass);
}

void TcxValueTypeClassList::UnregisterItem(TcxValueTypeClass AValueTypeClass) {
  const auto found = std::find(FItems.begin(), FItems.end(), AValueTypeClass);
  if (found != FItems.end()) FItems.erase(found);
}

TcxValueTypeClass TcxValueTypeClassList::Items(int AIndex) const {
  if (AIndex < 0 || AIndex >= Count()) dxListIndexError(AIndex);
  return FItems[static_cast<std::size_t>(AIndex)];
}

TcxValueTypeClass TcxValueTypeClassList::ItemByCaption(const String& ACaption) const {
  const auto found = std::find_if(FItems.begin(), FItems.end(), [&](TcxValueTypeClass AClass) {
    return AnsiSameText(cxValueType(AClass)->Caption(), ACaption);
  });
  return found == FItems.end() ? nullptr : *found;
}

namespace {

TcxValueTypeClassList* GValueTypeClassList = nullptr;
bool GValueTypeClassListFinalized = false;

// In registration order.
std::array<TcxValueTypeClass, 16> RegisteredValueTypes() {
  return {TcxStringValueType::ClassInfo(),   TcxWideStringValueType::ClassInfo(), TcxSmallintValueType::ClassInfo(),
          TcxIntegerValueType::ClassInfo(),  TcxWordValueType::ClassInfo(),       TcxBooleanValueType::ClassInfo(),
          TcxSingleValueType::ClassInfo(),   TcxFloatValueType::ClassInfo(),      TcxCurrencyValueType::ClassInfo(),
          TcxDateTimeValueType::ClassInfo(), TcxLargeIntValueType::ClassInfo(),   TcxFMTBcdValueType::ClassInfo(),
          TcxSQLTimeStampValueType::ClassInfo(), TcxVariantValueType::ClassInfo(), TcxObjectValueType::ClassInfo(),
          TcxBLOBValueType::ClassInfo()};
}

}  // namespace

TcxValueTypeClassList* GetValueTypeClassList() {
  if (!GValueTypeClassList && !GValueTypeClassListFinalized) GValueTypeClassList = New<TcxValueTypeClassList>();
  return GValueTypeClassList;
}

bool IsDateTimeValueType(TcxValueTypeClass AClass) {
  return AClass == TcxDateTimeValueType::ClassInfo() || AClass == TcxSQLTimeStampValueType::ClassInfo();
}

void cxDataStorageInitialization() {
  GValueTypeClassListFinalized = false;
  for (TcxValueTypeClass c : RegisteredValueTypes()) GetValueTypeClassList()->RegisterItem(c);
}

void cxDataStorageFinalization() {
  const auto classes = RegisteredValueTypes();
  if (TcxValueTypeClassList* list = GetValueTypeClassList())
    for (auto c = classes.rbegin(); c != classes.rend(); ++c) list->UnregisterItem(*c);
  GValueTypeClassListFinalized = true;
  FreeAndNil(GValueTypeClassList);
}
