#include "library/core/data/cxVariants.h"

#include "platform/runtime/FMTBcd.h"
#include "platform/runtime/SqlTimSt.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

// The type bytes of the tagged form.
enum TcxVariantStreamTag : std::uint8_t {
  vstNull = 0,
  vstList = 1,
  vstInt8 = 2,
  vstInt16 = 3,
  vstInt32 = 4,
  vstExtended = 5,
  vstString = 6,
  vstFalse = 8,
  vstTrue = 9,
  vstLString = 12,
  vstNil = 13,
  vstSingle = 15,
  vstCurrency = 16,
  vstDate = 17,
  vstWString = 18,
  vstInt64 = 19,
  vstBcd = 64,
};

constexpr int MaxListDepth = 256;
// The most elements one value may hold, nested lists counted whole: a
// null takes one byte in the stream and some 50 once read, so a stream of
// nulls would cost fifty times its size. A million is some 50 MB; the
// values editors keep have a handful.
constexpr std::int64_t MaxListElements = std::int64_t{1} << 20;

// What is left of a value's element budget as it is read.
struct TReadBudget {
  std::int64_t Elements = MaxListElements;
};

[[noreturn]] void StreamReadError() { throw EReadError(L"Stream read error"); }
[[noreturn]] void StreamWriteError() { throw EWriteError(L"Stream write error"); }

// A block of ACount items of AItemSize bytes must still be in the stream.
void CheckReadLength(TStream* AStream, std::int64_t ACount, std::int64_t AItemSize) {
  if (ACount < 0 || ACount > (AStream->Size() - AStream->Position()) / AItemSize) StreamReadError();
}

template <class T>
T ReadScalar(TStream* AStream) {
  T value{};
  AStream->ReadBufferData(value);
  return value;
}

void WriteTag(TStream* AStream, TcxVariantStreamTag ATag) { AStream->WriteBufferData(static_cast<std::uint8_t>(ATag)); }

// The integer in the smallest of the forms 2, 3, 4 and 19.
void WriteInteger(TStream* AStream, std::int64_t AValue) {
  if (AValue >= -128 && AValue <= 127) {
    WriteTag(AStream, vstInt8);
    AStream->WriteBufferData(static_cast<std::int8_t>(AValue));
  } else if (AValue >= -32768 && AValue <= 32767) {
    WriteTag(AStream, vstInt16);
    AStream->WriteBufferData(static_cast<std::int16_t>(AValue));
  } else if (AValue >= std::numeric_limits<std::int32_t>::min() && AValue <= std::numeric_limits<std::int32_t>::max()) {
    WriteTag(AStream, vstInt32);
    AStream->WriteBufferData(static_cast<std::int32_t>(AValue));
  } else {
    WriteTag(AStream, vstInt64);
    AStream->WriteBufferData(AValue);
  }
}

void WriteByteString(TStream* AStream, const RawByteString& AValue) {
  if (AValue.size() <= 255) {
    WriteTag(AStream, vstString);
    AStream->WriteBufferData(static_cast<std::uint8_t>(AValue.size()));
    AStream->WriteBuffer(AValue.data(), static_cast<std::int64_t>(AValue.size()));
  } else {
    WriteTag(AStream, vstLString);
    WriteAnsiStringToStream(AStream, AValue);
  }
}

bool IsIntegerVarType(TVarType AVarType) {
  switch (AVarType) {
    case varSmallint: case varInteger: case varShortInt: case varByte: case varWord: case varLongWord: case varInt64:
      return true;
    default:
      return false;
  }
}

void WriteScalar(TStream* AStream, const Variant& V) {
  const TVarType type = V.VType();
  if (IsIntegerVarType(type)) return WriteInteger(AStream, V.AsInt64());
  switch (type) {
    case varEmpty: return WriteTag(AStream, vstNil);
    case varNull: return WriteTag(AStream, vstNull);
    case varBoolean: return WriteTag(AStream, V.AsBoolean() ? vstTrue : vstFalse);
    case varSingle:
      WriteTag(AStream, vstSingle);
      return WriteSingleToStream(AStream, static_cast<float>(V.AsDouble()));
    case varDouble:
      WriteTag(AStream, vstExtended);
      return WriteExtendedToStream(AStream, V.AsDouble());
    case varCurrency:
      WriteTag(AStream, vstCurrency);
      return WriteCurrencyToStream(AStream, V.AsCurrency());
    case varDate:
      WriteTag(AStream, vstDate);
      return WriteDoubleToStream(AStream, V.AsDateTime());
    case varOleStr: case varUString:
      WriteTag(AStream, vstWString);
      return WriteWideStringToStream(AStream, V.AsString());
    case varString: return WriteByteString(AStream, V.AsRawByteString());
    default:
      break;
  }
  if (VarIsSQLTimeStamp(V)) {
    WriteTag(AStream, vstDate);
    return WriteDoubleToStream(AStream, V.AsDateTime());
  }
  if (VarIsFMTBcd(V)) {
    WriteTag(AStream, vstBcd);
    const TBcd bcd = VarToBcd(V);
    return AStream->WriteBufferData(bcd);
  }
  RawByteString text;
  try {
    text = V.AsRawByteString();
  } catch (const Exception&) {
    StreamWriteError();
  }
  WriteByteString(AStream, text);
}

void WriteValue(TStream* AStream, const Variant& V) {
  if (!V.IsArray()) return WriteScalar(AStream, V);
  if (VarArrayDimCount(V) != 1) StreamWriteError();
  const int low = VarArrayLowBound(V, 1), high = VarArrayHighBound(V, 1);
  WriteTag(AStream, vstList);
  WriteInteger(AStream, static_cast<std::int64_t>(high) - low + 1);
  for (int i = low; i <= high; ++i) WriteValue(AStream, V.GetElement(i));
}

Variant ReadValue(TStream* AStream, int ADepth, TReadBudget& ABudget);

Variant ReadList(TStream* AStream, int ADepth, TReadBudget& ABudget) {
  if (ADepth >= MaxListDepth) StreamReadError();
  std::int64_t count = 0;
  switch (ReadScalar<std::uint8_t>(AStream)) {
    case vstInt8: count = ReadScalar<std::int8_t>(AStream); break;
    case vstInt16: count = ReadScalar<std::int16_t>(AStream); break;
    case vstInt32: count = ReadScalar<std::int32_t>(AStream); break;
    case vstInt64: count = ReadScalar<std::int64_t>(AStream); break;
    default: StreamReadError();
  }
  // Every element takes at least its type byte.
  CheckReadLength(AStream, count, 1);
  if (count > ABudget.Elements) StreamReadError();
  ABudget.Elements -= count;
  Variant list = VarArrayCreate({0, static_cast<int>(count) - 1}, varVariant);
  for (int i = 0; i < static_cast<int>(count); ++i) list.PutElement(i, ReadValue(AStream, ADepth + 1, ABudget));
  return list;
}

Variant ReadValue(TStream* AStream, int ADepth, TReadBudget& ABudget) {
  switch (ReadScalar<std::uint8_t>(AStream)) {
    case vstNull: return Null();
    case vstList: return ReadList(AStream, ADepth, ABudget);
    case vstInt8: return Variant(ReadScalar<std::int8_t>(AStream));
    case vstInt16: return Variant(ReadScalar<std::int16_t>(AStream));
    case vstInt32: return Variant(ReadScalar<std::int32_t>(AStream));
    case vstInt64: return Variant(static_cast<long long>(ReadScalar<std::int64_t>(AStream)));
    case vstExtended: return Variant(static_cast<double>(ReadExtendedFromStream(AStream)));
    case vstString: {
      const std::uint8_t length = ReadScalar<std::uint8_t>(AStream);
      RawByteString text(length, '\0');
      AStream->ReadBuffer(text.data(), length);
      return Variant(std::move(text));
    }
    case vstFalse: return Variant(false);
    case vstTrue: return Variant(true);
    case vstLString: return Variant(ReadAnsiStringFromStream(AStream));
    case vstNil: return Variant();
    case vstSingle: return Variant(ReadSingleFromStream(AStream));
    case vstCurrency: return Variant(ReadCurrencyFromStream(AStream));
    case vstDate: return Variant::FromDateTime(ReadDoubleFromStream(AStream));
    case vstWString: return Variant::FromOleStr(ReadWideStringFromStream(AStream));
    case vstBcd: return VarFMTBcdCreate(ReadScalar<TBcd>(AStream));
    default: StreamReadError();
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// Comparison

int CompareVariants(const Variant& A, const Variant& B) {
  return A.IsArray() || B.IsArray() ? CompareVariantArrays(A, B) : CompareVariantScalars(A, B);
}

int CompareVariantScalars(const Variant& A, const Variant& B) {
  if (A.IsEmpty()) return B.IsEmpty() ? 0 : -1;
  if (B.IsEmpty()) return 1;
  try {
    if (A == B) return 0;
    return !A.IsNull() && (B.IsNull() || A > B) ? 1 : -1;
  } catch (const EVariantError&) {
    return -1;
  }
}

int CompareVariantArrays(const Variant& A, const Variant& B) {
  if (!B.IsArray()) return 1;
  if (!A.IsArray()) return -1;
  const int highA = VarArrayHighBound(A, 1), highB = VarArrayHighBound(B, 1);
  if (highA != highB) return highA - highB;
  for (int i = 0; i <= highA; ++i)
    if (const int r = CompareVariants(A.GetElement(i), B.GetElement(i))) return r;
  return 0;
}

bool VariantsEqual(const Variant& A, const Variant& B) { return CompareVariants(A, B) == 0; }

bool VariantsEqualBooleanAware(const Variant& A, const Variant& B) {
  if (A.IsNull() || B.IsNull() || (VarType(A) != varBoolean && VarType(B) != varBoolean)) return VariantsEqual(A, B);
  try {
    return VarToStr(A) == VarToStr(B);
  } catch (const EVariantError&) {
    return false;
  }
}

bool IsDateVarType(TVarType AVarType) {
  return AVarType == varDate || (VarSQLTimeStamp() != 0 && AVarType == VarSQLTimeStamp());
}

bool VarIsDateValue(const Variant& V) { return IsDateVarType(V.VType()); }
bool VarIsNumericOrBcd(const Variant& V) { return VarIsNumeric(V) || VarIsFMTBcd(V); }
bool VarIsNullOrEmptyString(const Variant& V) { return V.IsNull() || (VarIsStr(V) && V.AsString().empty()); }

// ---------------------------------------------------------------------------
// Tagged variant streaming

void WriteVariantToStream(TStream* AStream, const Variant& V) { WriteValue(AStream, V); }
void ReadVariantFromStream(TStream* AStream, Variant& V) { V = ReadVariantFromStream(AStream); }
Variant ReadVariantFromStream(TStream* AStream) {
  TReadBudget budget;
  return ReadValue(AStream, 0, budget);
}

// ---------------------------------------------------------------------------
// Typed stream routines

std::uint8_t ReadByteFromStream(TStream* AStream) { return ReadScalar<std::uint8_t>(AStream); }
void ReadByteFromStream(TStream* AStream, std::uint8_t& AValue) { AValue = ReadByteFromStream(AStream); }
void WriteByteToStream(TStream* AStream, std::uint8_t AValue) { AStream->WriteBufferData(AValue); }
std::int16_t ReadSmallIntFromStream(TStream* AStream) { return ReadScalar<std::int16_t>(AStream); }
void ReadSmallIntFromStream(TStream* AStream, std::int16_t& AValue) { AValue = ReadSmallIntFromStream(AStream); }
void WriteSmallIntToStream(TStream* AStream, std::int16_t AValue) { AStream->WriteBufferData(AValue); }
std::uint16_t ReadWordFromStream(TStream* AStream) { return ReadScalar<std::uint16_t>(AStream); }
void ReadWordFromStream(TStream* AStream, std::uint16_t& AValue) { AValue = ReadWordFromStream(AStream); }
void WriteWordToStream(TStream* AStream, std::uint16_t AValue) { AStream->WriteBufferData(AValue); }
std::int32_t ReadIntegerFromStream(TStream* AStream) { return ReadScalar<std::int32_t>(AStream); }
void ReadIntegerFromStream(TStream* AStream, std::int32_t& AValue) { AValue = ReadIntegerFromStream(AStream); }
void WriteIntegerToStream(TStream* AStream, std::int32_t AValue) { AStream->WriteBufferData(AValue); }
float ReadSingleFromStream(TStream* AStream) { return ReadScalar<float>(AStream); }
void ReadSingleFromStream(TStream* AStream, float& AValue) { AValue = ReadSingleFromStream(AStream); }
void WriteSingleToStream(TStream* AStream, float AValue) { AStream->WriteBufferData(AValue); }
std::int64_t ReadInt64FromStream(TStream* AStream) { return ReadScalar<std::int64_t>(AStream); }
void ReadInt64FromStream(TStream* AStream, std::int64_t& AValue) { AValue = ReadInt64FromStream(AStream); }
void WriteInt64ToStream(TStream* AStream, std::int64_t AValue) { AStream->WriteBufferData(AValue); }
double ReadDoubleFromStream(TStream* AStream) { return ReadScalar<double>(AStream); }
void ReadDoubleFromStream(TStream* AStream, double& AValue) { AValue = ReadDoubleFromStream(AStream); }
void WriteDoubleToStream(TStream* AStream, double AValue) { AStream->WriteBufferData(AValue); }
Currency ReadCurrencyFromStream(TStream* AStream) { return Currency::FromScaled(ReadInt64FromStream(AStream)); }
void ReadCurrencyFromStream(TStream* AStream, Currency& AValue) { AValue = ReadCurrencyFromStream(AStream); }
void WriteCurrencyToStream(TStream* AStream, Currency AValue) { WriteInt64ToStream(AStream, AValue.Value); }

static_assert(std::numeric_limits<long double>::digits == 64, "long double is the 80-bit extended float");
constexpr std::int64_t ExtendedSize = 10;

long double ReadExtendedFromStream(TStream* AStream) {
  unsigned char bytes[sizeof(long double)] = {};
  AStream->ReadBuffer(bytes, ExtendedSize);
  long double value;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

void ReadExtendedFromStream(TStream* AStream, long double& AValue) { AValue = ReadExtendedFromStream(AStream); }

void WriteExtendedToStream(TStream* AStream, long double AValue) {
  unsigned char bytes[sizeof(long double)];
  std::memcpy(bytes, &AValue, sizeof bytes);
  AStream->WriteBuffer(bytes, ExtendedSize);
}

RawByteString ReadAnsiStringFromStream(TStream* AStream) {
  const std::int32_t length = ReadIntegerFromStream(AStream);
  CheckReadLength(AStream, length, 1);
  RawByteString text(static_cast<std::size_t>(length), '\0');
  AStream->ReadBuffer(text.data(), length);
  return text;
}

void ReadAnsiStringFromStream(TStream* AStream, RawByteString& AValue) { AValue = ReadAnsiStringFromStream(AStream); }

void WriteAnsiStringToStream(TStream* AStream, const RawByteString& AValue) {
  WriteIntegerToStream(AStream, static_cast<std::int32_t>(AValue.size()));
  AStream->WriteBuffer(AValue.data(), static_cast<std::int64_t>(AValue.size()));
}

String ReadWideStringFromStream(TStream* AStream) {
  const std::int32_t length = ReadIntegerFromStream(AStream);
  CheckReadLength(AStream, length, static_cast<std::int64_t>(sizeof(wchar_t)));
  String text(static_cast<std::size_t>(length), L'\0');
  AStream->ReadBuffer(text.data(), static_cast<std::int64_t>(length) * static_cast<std::int64_t>(sizeof(wchar_t)));
  return text;
}

void ReadWideStringFromStream(TStream* AStream, String& AValue) { AValue = ReadWideStringFromStream(AStream); }

void WriteWideStringToStream(TStream* AStream, const String& AValue) {
  WriteIntegerToStream(AStream, static_cast<std::int32_t>(AValue.size()));
  AStream->WriteBuffer(AValue.data(), static_cast<std::int64_t>(AValue.size() * sizeof(wchar_t)));
}

// ---------------------------------------------------------------------------
// Published-property lists

bool GetTypePropertyListOfKinds(TClass ATypeInfo, TSet<TTypeKind> AKinds, [[maybe_unused]] bool ASort, int& ACount,
                                std::vector<const TPropInfo*>& AList) {
  AList.clear();
  ACount = 0;
  if (!ATypeInfo) return false;
  for (const TPropInfo* info : ATypeInfo->TypeData().Properties())
    if (AKinds.Contains(info->Kind())) AList.push_back(info);
  // Always in name order, so ASort has nothing left to do.
  std::stable_sort(AList.begin(), AList.end(),
                   [](const TPropInfo* A, const TPropInfo* B) { return CompareText(A->Name, B->Name) < 0; });
  ACount = static_cast<int>(AList.size());
  return ACount > 0;
}

bool GetTypePropertyList(TClass ATypeInfo, std::vector<const TPropInfo*>& AList, int& ACount) {
  TSet<TTypeKind> all;
  for (int kind = tkUnknown; kind <= tkProcedure; ++kind) all.Include(static_cast<TTypeKind>(kind));
  return GetTypePropertyListOfKinds(ATypeInfo, all, false, ACount, AList);
}

const String& GetPropertyName(const TPropInfo* APropInfo) { return APropInfo->Name; }
