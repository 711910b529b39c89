// Variants in the library: one total order over values and arrays, the date
// and number tests editors ask, the tagged binary form in which variants
// are stored, the typed stream routines, and the published-property lists
// of a class.
//
// The order: Empty first, then Null, then every other value; an array sorts
// after any scalar, and two arrays by their length, then element by element.
//
// The tagged form is one type byte and the value, all numbers little-endian
// (the class library's value codes of component streaming):
//
//   0 Null          2 Int8          3 Int16         4 Int32
//   19 Int64        5 extended (10 bytes)            15 single   17 date (double)
//   16 currency (Int64 x 10,000)    8 False         9 True      13 Empty
//   6 byte string, 1-byte length    12 byte string, 4-byte length
//   18 UTF-16 string, 4-byte length in characters
//   1 list: a count in the form 2, 3, 4 or 19, then that many tagged values
//   64 binary-coded decimal (the 34-byte record)
//
// Integers are written in the smallest form that holds them. Reading checks
// every length against what the stream still holds, so a damaged stream
// raises EReadError instead of asking for a huge block.
#pragma once

#include "platform/classes/Streams.h"
#include "platform/runtime/TypInfo.h"
#include "platform/runtime/Variants.h"

#include <cstdint>
#include <vector>

// ---------------------------------------------------------------------------
// Comparison

// Negative, 0 or positive: CompareVariantArrays when either is an array,
// else CompareVariantScalars.
int CompareVariants(const Variant& A, const Variant& B);
// Empty before Null before any value; values that cannot be compared
// (EVariantError) give -1.
int CompareVariantScalars(const Variant& A, const Variant& B);
// An array after a scalar; two arrays by the difference of their high
// bounds, then by their elements from index 0 on.
int CompareVariantArrays(const Variant& A, const Variant& B);
bool VariantsEqual(const Variant& A, const Variant& B);
// With a Boolean on either side (and no Null), the two texts are compared.
bool VariantsEqualBooleanAware(const Variant& A, const Variant& B);

bool IsDateVarType(TVarType AVarType);
bool VarIsDateValue(const Variant& V);
bool VarIsNumericOrBcd(const Variant& V);
bool VarIsNullOrEmptyString(const Variant& V);

// ---------------------------------------------------------------------------
// Tagged variant streaming

// Raises EWriteError "Stream write error" for an array of more than one
// dimension or a value without a text form.
void WriteVariantToStream(TStream* AStream, const Variant& V);
// Raises EReadError "Stream read error" for an unknown type byte, a bad
// list count or a length beyond the stream's end; lists nest at most 256 deep
// and hold at most 2^20 elements in all.
void ReadVariantFromStream(TStream* AStream, Variant& V);
Variant ReadVariantFromStream(TStream* AStream);

// ---------------------------------------------------------------------------
// Typed stream routines: exactly the stated bytes, little-endian; reading
// past the end raises the stream's read error.

std::uint8_t ReadByteFromStream(TStream* AStream);
void ReadByteFromStream(TStream* AStream, std::uint8_t& AValue);
void WriteByteToStream(TStream* AStream, std::uint8_t AValue);
std::int16_t ReadSmallIntFromStream(TStream* AStream);
void ReadSmallIntFromStream(TStream* AStream, std::int16_t& AValue);
void WriteSmallIntToStream(TStream* AStream, std::int16_t AValue);
std::uint16_t ReadWordFromStream(TStream* AStream);
void ReadWordFromStream(TStream* AStream, std::uint16_t& AValue);
void WriteWordToStream(TStream* AStream, std::uint16_t AValue);
std::int32_t ReadIntegerFromStream(TStream* AStream);
void ReadIntegerFromStream(TStream* AStream, std::int32_t& AValue);
void WriteIntegerToStream(TStream* AStream, std::int32_t AValue);
float ReadSingleFromStream(TStream* AStream);
void ReadSingleFromStream(TStream* AStream, float& AValue);
void WriteSingleToStream(TStream* AStream, float AValue);
std::int64_t ReadInt64FromStream(TStream* AStream);
void ReadInt64FromStream(TStream* AStream, std::int64_t& AValue);
void WriteInt64ToStream(TStream* AStream, std::int64_t AValue);
double ReadDoubleFromStream(TStream* AStream);
void ReadDoubleFromStream(TStream* AStream, double& AValue);
void WriteDoubleToStream(TStream* AStream, double AValue);
// The 64-bit scaled integer.
Currency ReadCurrencyFromStream(TStream* AStream);
void ReadCurrencyFromStream(TStream* AStream, Currency& AValue);
void WriteCurrencyToStream(TStream* AStream, Currency AValue);
// The 80-bit extended form (10 bytes).
long double ReadExtendedFromStream(TStream* AStream);
void ReadExtendedFromStream(TStream* AStream, long double& AValue);
void WriteExtendedToStream(TStream* AStream, long double AValue);
// A 4-byte length, then that many bytes. A negative length or one beyond
// the stream's end raises EReadError "Stream read error".
RawByteString ReadAnsiStringFromStream(TStream* AStream);
void ReadAnsiStringFromStream(TStream* AStream, RawByteString& AValue);
void WriteAnsiStringToStream(TStream* AStream, const RawByteString& AValue);
// A 4-byte length in characters, then the UTF-16 characters; lengths are
// checked as for byte strings.
String ReadWideStringFromStream(TStream* AStream);
void ReadWideStringFromStream(TStream* AStream, String& AValue);
void WriteWideStringToStream(TStream* AStream, const String& AValue);

// ---------------------------------------------------------------------------
// Published-property lists

// False without a class or when the class publishes no property of those
// kinds; otherwise AList holds the ACount properties sorted by name (not
// case-sensitive), with or without ASort.
bool GetTypePropertyListOfKinds(TClass ATypeInfo, TSet<TTypeKind> AKinds, bool ASort, int& ACount,
                                std::vector<const TPropInfo*>& AList);
// The same for properties of every kind.
bool GetTypePropertyList(TClass ATypeInfo, std::vector<const TPropInfo*>& AList, int& ACount);
const String& GetPropertyName(const TPropInfo* APropInfo);
