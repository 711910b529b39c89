// Tagged values.
//
// Classes in this file:
//   Variant                 a value of one of the variant types, or an array
//   EVariantError           and its descendants EVariantTypeCastError,
//                           EVariantOverflowError, EVariantInvalidOpError,
//                           EVariantBadIndexError, EVariantArrayCreateError
//   TCustomVariantType      a variant type the run-time adds to the built-in
//                           ones (the decimal and the SQL time-stamp types)
//
// A variant is Empty (unassigned), Null (no value), a number, a Boolean, a
// date, a currency amount, a string or an array of variants. Copies are
// independent (arrays included). Conversions follow the run-time's rules:
// Empty converts to 0, False or the empty string; Null converts to nothing
// and raises EVariantTypeCastError; strings convert to numbers by the global
// format settings; numbers round to integers with an exact half going to the
// even neighbour.
//
// A custom type's value lives in the variant as the bytes of its record; the
// type registered for its code converts and compares it.
#pragma once

#include "platform/runtime/SysUtils.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

using TVarType = std::uint16_t;

constexpr TVarType varEmpty = 0x0000;
constexpr TVarType varNull = 0x0001;
constexpr TVarType varSmallint = 0x0002;
constexpr TVarType varInteger = 0x0003;
constexpr TVarType varSingle = 0x0004;
constexpr TVarType varDouble = 0x0005;
constexpr TVarType varCurrency = 0x0006;
constexpr TVarType varDate = 0x0007;
constexpr TVarType varOleStr = 0x0008;
constexpr TVarType varDispatch = 0x0009;
constexpr TVarType varError = 0x000A;
constexpr TVarType varBoolean = 0x000B;
constexpr TVarType varVariant = 0x000C;
constexpr TVarType varUnknown = 0x000D;
constexpr TVarType varShortInt = 0x0010;
constexpr TVarType varByte = 0x0011;
constexpr TVarType varWord = 0x0012;
constexpr TVarType varLongWord = 0x0013;
constexpr TVarType varInt64 = 0x0014;
constexpr TVarType varUInt64 = 0x0015;
constexpr TVarType varString = 0x0100;   // byte string
constexpr TVarType varUString = 0x0102;  // UTF-16 string
constexpr TVarType varTypeMask = 0x0FFF;
constexpr TVarType varArray = 0x2000;
constexpr TVarType varByRef = 0x4000;

class EVariantError : public Exception { public: using Exception::Exception; };
// "Variant des Typs (%s) konnte nicht in Typ (%s) konvertiert werden"
class EVariantTypeCastError : public EVariantError { public: using EVariantError::EVariantError; };
class EVariantOverflowError : public EVariantError { public: using EVariantError::EVariantError; };
class EVariantInvalidOpError : public EVariantError { public: using EVariantError::EVariantError; };
class EVariantBadIndexError : public EVariantError { public: using EVariantError::EVariantError; };
class EVariantArrayCreateError : public EVariantError { public: using EVariantError::EVariantError; };

enum TVariantRelationship { vrEqual, vrLessThan, vrGreaterThan, vrNotEqual };

class Variant;

// The operations of a custom variant type. The type object outlives every
// variant of its type (units register theirs at start-up).
class TCustomVariantType {
 public:
  TCustomVariantType(const TCustomVariantType&) = delete;
  TCustomVariantType& operator=(const TCustomVariantType&) = delete;
  virtual ~TCustomVariantType() = default;

  // The code given at registration (0 while unregistered).
  TVarType VarType() const { return FVarType; }
  // What VarTypeAsText shows.
  virtual String Name() const = 0;
  // A value of this type as one of the built-in types; raises
  // EVariantTypeCastError when it has no such form (EVariantOverflowError
  // when it does not fit).
  virtual Variant CastTo(const Variant& ASource, TVarType AVarType) const = 0;
  // A value of another type as a value of this type; raises as CastTo.
  virtual Variant CastFrom(const Variant& ASource) const = 0;
  // Two values of this type.
  virtual TVariantRelationship Compare(const Variant& A, const Variant& B) const = 0;

 protected:
  TCustomVariantType() = default;

 private:
  friend TVarType RegisterCustomVariantType(TCustomVariantType* AType);
  friend void UnregisterCustomVariantType(TCustomVariantType* AType);
  TVarType FVarType = 0;
};

// Gives the type the lowest free code from 0x010F on and answers it; a type
// registered already keeps its code.
TVarType RegisterCustomVariantType(TCustomVariantType* AType);
// Frees the type's code.
void UnregisterCustomVariantType(TCustomVariantType* AType);
// The type registered under a code, or null.
const TCustomVariantType* FindCustomVariantType(TVarType AVarType);
// The run-time's conversion errors, for custom types: EVariantTypeCastError
// and EVariantOverflowError naming both types.
[[noreturn]] void VarCastError(TVarType AFrom, TVarType ATo);
[[noreturn]] void VarOverflowError(TVarType AFrom, TVarType ATo);

class Variant {
 public:
  Variant() = default;
  Variant(bool AValue) : FType(varBoolean) { FData.Bool = AValue; }
  Variant(signed char AValue) : FType(varShortInt) { FData.Int = AValue; }
  Variant(unsigned char AValue) : FType(varByte) { FData.Int = AValue; }
  Variant(short AValue) : FType(varSmallint) { FData.Int = AValue; }
  Variant(unsigned short AValue) : FType(varWord) { FData.Int = AValue; }
  Variant(int AValue) : FType(varInteger) { FData.Int = AValue; }
  Variant(long AValue) : FType(varInteger) { FData.Int = AValue; }
  Variant(unsigned AValue) : FType(varLongWord) { FData.Int = AValue; }
  Variant(unsigned long AValue) : FType(varLongWord) { FData.Int = static_cast<std::int64_t>(AValue); }
  Variant(long long AValue) : FType(varInt64) { FData.Int = AValue; }
  Variant(unsigned long long AValue) : FType(varUInt64) { FData.UInt = AValue; }
  Variant(float AValue) : FType(varSingle) { FData.Float = AValue; }
  Variant(double AValue) : FType(varDouble) { FData.Float = AValue; }
  Variant(Currency AValue) : FType(varCurrency) { FData.Int = AValue.Value; }
  Variant(wchar_t AValue) : FType(varUString), FString(1, AValue) {}
  Variant(const wchar_t* AValue) : FType(varUString), FString(AValue ? AValue : L"") {}
  Variant(String AValue) : FType(varUString), FString(std::move(AValue)) {}
  Variant(RawByteString AValue) : FType(varString), FBytes(std::move(AValue)) {}
  // A narrow literal would silently become a Boolean.
  Variant(const char*) = delete;
  Variant(std::nullptr_t) = delete;

  Variant(const Variant& A);
  Variant(Variant&& A) noexcept;
  Variant& operator=(const Variant& A);
  Variant& operator=(Variant&& A) noexcept;
  ~Variant();

  // Named constructors for the types C++ cannot tell apart.
  static Variant FromDateTime(TDateTime AValue);
  static Variant FromOleStr(const String& AValue);
  static Variant NullValue();
  // A value of a registered custom type, held as its record's bytes.
  static Variant FromCustom(TVarType AVarType, RawByteString AData);

  TVarType VType() const { return FType; }
  bool IsEmpty() const { return FType == varEmpty; }
  bool IsNull() const { return FType == varNull; }
  bool IsArray() const { return (FType & varArray) != 0; }
  // The record of a custom type's value (empty for other types).
  const RawByteString& CustomData() const;

  // Conversions; each raises EVariantTypeCastError when the value has none
  // and EVariantOverflowError when it does not fit.
  int AsInteger() const;
  std::int64_t AsInt64() const;
  std::uint64_t AsUInt64() const;
  double AsDouble() const;
  Currency AsCurrency() const;
  TDateTime AsDateTime() const;
  bool AsBoolean() const;
  String AsString() const;
  RawByteString AsRawByteString() const;

  // One-dimensional array access by index (within the bounds), raising
  // EVariantBadIndexError outside them and EVariantInvalidOpError for a
  // variant that is no array.
  const Variant& GetElement(int AIndex) const;
  void PutElement(int AIndex, const Variant& AValue);
  const Variant& operator[](int AIndex) const { return GetElement(AIndex); }
  // Any number of dimensions: one index per dimension.
  const Variant& GetElement(std::span<const int> AIndices) const;
  void PutElement(std::span<const int> AIndices, const Variant& AValue);

  // Equality and order by value (see VarCompareValue); Null equals only Null
  // and is neither less nor greater than anything. Values that cannot be
  // compared raise EVariantTypeCastError.
  friend bool operator==(const Variant& A, const Variant& B);
  friend bool operator<(const Variant& A, const Variant& B);
  friend bool operator>(const Variant& A, const Variant& B) { return B < A; }
  friend bool operator<=(const Variant& A, const Variant& B);
  friend bool operator>=(const Variant& A, const Variant& B) { return B <= A; }

 private:
  struct TArray;
  struct TArrayDeleter {
    void operator()(TArray* AArray) const noexcept;
  };
  friend Variant VarArrayCreate(std::span<const int> ABounds, TVarType AVarType);
  friend int VarArrayDimCount(const Variant& A);
  friend int VarArrayLowBound(const Variant& A, int ADim);
  friend int VarArrayHighBound(const Variant& A, int ADim);
  void Clear() noexcept;
  std::size_t ElementOffset(std::span<const int> AIndices) const;

  TVarType FType = varEmpty;
  union {
    std::int64_t Int;
    std::uint64_t UInt;
    double Float;
    bool Bool;
  } FData{0};
  String FString;
  RawByteString FBytes;
  std::unique_ptr<TArray, TArrayDeleter> FArray;
};

Variant Null();
Variant Unassigned();

TVarType VarType(const Variant& V);
bool VarIsNull(const Variant& V);
bool VarIsEmpty(const Variant& V);
// Null or Empty.
bool VarIsClear(const Variant& V);
// The integer types and Boolean (ordinal), single, double and currency
// (float); numeric is either. A date is neither.
bool VarIsNumeric(const Variant& V);
bool VarIsOrdinal(const Variant& V);
bool VarIsFloat(const Variant& V);
// A UTF-16 or byte string.
bool VarIsStr(const Variant& V);
bool VarIsType(const Variant& V, TVarType AVarType);
bool VarIsArray(const Variant& V);

// The text of a value; Null and Empty give the empty string.
String VarToStr(const Variant& V);
// ADefault for Null, else VarToStr.
String VarToStrDef(const Variant& V, const String& ADefault);
// The value converted to the type (raises as the conversions do).
Variant VarAsType(const Variant& V, TVarType AVarType);
// "Integer", "UnicodeString", "Null" ...
String VarTypeAsText(TVarType AVarType);

// vrEqual, vrLessThan, vrGreaterThan; vrNotEqual when exactly one is Null.
// Two Nulls are equal. Empty compares as 0, False or the empty string.
// Numbers (dates and currency included) compare by value, integers exactly;
// a Boolean counts as -1 (True) or 0 against a number, and two Booleans
// order False before True. Strings compare ordinally; a string against a
// number by the string's numeric value, against a Boolean by its Boolean
// value. Raises EVariantTypeCastError when the string has no such value,
// and EVariantInvalidOpError for arrays.
TVariantRelationship VarCompareValue(const Variant& A, const Variant& B);
bool VarSameValue(const Variant& A, const Variant& B);

// Arrays. ABounds holds a low and a high bound per dimension.
Variant VarArrayCreate(std::span<const int> ABounds, TVarType AVarType);
Variant VarArrayCreate(std::initializer_list<int> ABounds, TVarType AVarType);
// A one-dimensional array of variants, bounds 0..count - 1.
Variant VarArrayOf(std::initializer_list<Variant> AValues);
int VarArrayDimCount(const Variant& A);
int VarArrayLowBound(const Variant& A, int ADim);
int VarArrayHighBound(const Variant& A, int ADim);
