#include "platform/runtime/Variants.h"

#include <algorithm>
#include <cmath>
#include <limits>

struct Variant::TArray {
  std::vector<std::pair<int, int>> Bounds;  // low, high per dimension
  TVarType ElementType = varVariant;
  std::vector<Variant> Items;
};

void Variant::TArrayDeleter::operator()(TArray* AArray) const noexcept { delete AArray; }

namespace {

[[noreturn]] void CastError(TVarType AFrom, TVarType ATo) {
  throw EVariantTypeCastError(L"Variant des Typs (%s) konnte nicht in Typ (%s) konvertiert werden",
                              {VarTypeAsText(AFrom), VarTypeAsText(ATo)});
}

[[noreturn]] void OverflowError(TVarType AFrom, TVarType ATo) {
  throw EVariantOverflowError(L"Überlauf bei der Konvertierung einer Variant des Typs (%s) in Typ (%s)",
                              {VarTypeAsText(AFrom), VarTypeAsText(ATo)});
}

[[noreturn]] void InvalidOp() { throw EVariantInvalidOpError(L"Ungültige Variant-Operation"); }

bool IsSignedInt(TVarType T) {
  return T == varSmallint || T == varInteger || T == varShortInt || T == varByte || T == varWord ||
         T == varLongWord || T == varInt64;
}
bool IsIntegral(TVarType T) { return IsSignedInt(T) || T == varUInt64; }
bool IsFloatType(TVarType T) { return T == varSingle || T == varDouble || T == varCurrency; }
bool IsStringType(TVarType T) { return T == varUString || T == varOleStr || T == varString; }
bool IsNumberLike(TVarType T) { return IsIntegral(T) || IsFloatType(T) || T == varDate; }

// Custom types by code: index = code - varFirstCustom, null for a free code.
constexpr TVarType varFirstCustom = 0x010F;
std::vector<TCustomVariantType*> GCustomTypes;

// A double rounded to an integer, an exact half to the even neighbour; false
// when it does not fit.
bool RoundToInt64(double AValue, std::int64_t& AResult) {
  const double r = std::nearbyint(AValue);
  if (!std::isfinite(r) || r < -9.2233720368547758e18 || r >= 9.2233720368547758e18) return false;
  AResult = static_cast<std::int64_t>(r);
  return true;
}

}  // namespace

// ---------------------------------------------------------------------------
// Construction and copying

Variant::Variant(const Variant& A)
    : FType(A.FType), FData(A.FData), FString(A.FString), FBytes(A.FBytes) {
  if (A.FArray) FArray.reset(new TArray(*A.FArray));
}

Variant::Variant(Variant&& A) noexcept
    : FType(A.FType), FData(A.FData), FString(std::move(A.FString)), FBytes(std::move(A.FBytes)),
      FArray(std::move(A.FArray)) {
  A.FType = varEmpty;
}

Variant& Variant::operator=(const Variant& A) {
  if (this != &A) {
    Variant copy(A);
    *this = std::move(copy);
  }
  return *this;
}

Variant& Variant::operator=(Variant&& A) noexcept {
  if (this != &A) {
    FType = A.FType;
    FData = A.FData;
    FString = std::move(A.FString);
    FBytes = std::move(A.FBytes);
    FArray = std::move(A.FArray);
    A.FType = varEmpty;
  }
  return *this;
}

Variant::~Variant() = default;

void Variant::Clear() noexcept {
  FType = varEmpty;
  FData.Int = 0;
  FString.clear();
  FBytes.clear();
  FArray.reset();
}

Variant Variant::FromDateTime(TDateTime AValue) {
  Variant v(AValue);
  v.FType = varDate;
  return v;
}

Variant Variant::FromOleStr(const String& AValue) {
  Variant v(AValue);
  v.FType = varOleStr;
  return v;
}

Variant Variant::NullValue() {
  Variant v;
  v.FType = varNull;
  return v;
}

Variant Variant::FromCustom(TVarType AVarType, RawByteString AData) {
  Variant v;
  v.FType = AVarType;
  v.FBytes = std::move(AData);
  return v;
}

const RawByteString& Variant::CustomData() const {
  static const RawByteString none;
  return FindCustomVariantType(FType) ? FBytes : none;
}

Variant Null() { return Variant::NullValue(); }

// ---------------------------------------------------------------------------
// Custom types

void VarCastError(TVarType AFrom, TVarType ATo) { CastError(AFrom, ATo); }
void VarOverflowError(TVarType AFrom, TVarType ATo) { OverflowError(AFrom, ATo); }

TVarType RegisterCustomVariantType(TCustomVariantType* AType) {
  if (AType->FVarType != 0) return AType->FVarType;
  auto slot = std::find(GCustomTypes.begin(), GCustomTypes.end(), nullptr);
  if (slot == GCustomTypes.end()) slot = GCustomTypes.insert(slot, nullptr);
  *slot = AType;
  AType->FVarType = static_cast<TVarType>(varFirstCustom + (slot - GCustomTypes.begin()));
  return AType->FVarType;
}

void UnregisterCustomVariantType(TCustomVariantType* AType) {
  if (AType->FVarType == 0) return;
  GCustomTypes[static_cast<std::size_t>(AType->FVarType - varFirstCustom)] = nullptr;
  AType->FVarType = 0;
}

const TCustomVariantType* FindCustomVariantType(TVarType AVarType) {
  if (AVarType < varFirstCustom || AVarType - varFirstCustom >= static_cast<int>(GCustomTypes.size())) return nullptr;
  return GCustomTypes[static_cast<std::size_t>(AVarType - varFirstCustom)];
}
Variant Unassigned() { return Variant(); }

// ---------------------------------------------------------------------------
// Conversions

std::int64_t Variant::AsInt64() const {
  switch (FType) {
    case varEmpty: return 0;
    case varSmallint: case varInteger: case varShortInt: case varByte: case varWord: case varLongWord:
    case varInt64:
      return FData.Int;
    case varUInt64:
      if (FData.UInt > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
        OverflowError(FType, varInt64);
      return static_cast<std::int64_t>(FData.UInt);
    case varBoolean: return FData.Bool ? -1 : 0;
    case varSingle: case varDouble: case varDate: {
      std::int64_t r = 0;
      if (!RoundToInt64(FData.Float, r)) OverflowError(FType, varInt64);
      return r;
    }
    case varCurrency: {
      std::int64_t r = 0;
      RoundToInt64(static_cast<double>(FData.Int) / 10000.0, r);
      return r;
    }
    case varUString: case varOleStr: case varString: {
      const String text = AsString();
      std::int64_t r = 0;
      if (TryStrToInt64(text, r)) return r;
      double d = 0;
      if (TryStrToFloat(text, d)) {
        if (!RoundToInt64(d, r)) OverflowError(FType, varInt64);
        return r;
      }
      CastError(FType, varInt64);
    }
    default:
      if (const TCustomVariantType* custom = FindCustomVariantType(FType)) return custom->CastTo(*this, varInt64).AsInt64();
      CastError(FType, varInt64);
  }
}

int Variant::AsInteger() const {
  std::int64_t v = 0;
  try {
    v = AsInt64();
  } catch (const EVariantOverflowError&) {
    OverflowError(FType, varInteger);
  } catch (const EVariantTypeCastError&) {
    CastError(FType, varInteger);
  }
  if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) OverflowError(FType, varInteger);
  return static_cast<int>(v);
}

std::uint64_t Variant::AsUInt64() const {
  if (FType == varUInt64) return FData.UInt;
  if (IsStringType(FType)) {
    std::uint64_t r = 0;
    if (TryStrToUInt64(AsString(), r)) return r;
  }
  std::int64_t v = 0;
  try {
    v = AsInt64();
  } catch (const EVariantTypeCastError&) {
    CastError(FType, varUInt64);
  }
  if (v < 0) OverflowError(FType, varUInt64);
  return static_cast<std::uint64_t>(v);
}

double Variant::AsDouble() const {
  switch (FType) {
    case varEmpty: return 0;
    case varSmallint: case varInteger: case varShortInt: case varByte: case varWord: case varLongWord:
    case varInt64:
      return static_cast<double>(FData.Int);
    case varUInt64: return static_cast<double>(FData.UInt);
    case varBoolean: return FData.Bool ? -1 : 0;
    case varSingle: case varDouble: case varDate: return FData.Float;
    case varCurrency: return static_cast<double>(FData.Int) / 10000.0;
    case varUString: case varOleStr: case varString: {
      const String text = AsString();
      double d = 0;
      if (TryStrToFloat(text, d)) return d;
      std::int64_t i = 0;
      if (TryStrToInt64(text, i)) return static_cast<double>(i);
      CastError(FType, varDouble);
    }
    default:
      if (const TCustomVariantType* custom = FindCustomVariantType(FType)) return custom->CastTo(*this, varDouble).AsDouble();
      CastError(FType, varDouble);
  }
}

Currency Variant::AsCurrency() const {
  if (FType == varCurrency) return Currency::FromScaled(FData.Int);
  if (const TCustomVariantType* custom = FindCustomVariantType(FType)) return custom->CastTo(*this, varCurrency).AsCurrency();
  double d = 0;
  try {
    d = AsDouble();
  } catch (const EVariantTypeCastError&) {
    CastError(FType, varCurrency);
  }
  try {
    return Currency::FromDouble(d);
  } catch (const EOverflow&) {
    OverflowError(FType, varCurrency);
  }
}

TDateTime Variant::AsDateTime() const {
  if (FType == varDate) return FData.Float;
  if (const TCustomVariantType* custom = FindCustomVariantType(FType)) return custom->CastTo(*this, varDate).AsDateTime();
  try {
    return AsDouble();
  } catch (const EVariantTypeCastError&) {
    CastError(FType, varDate);
  }
}

bool Variant::AsBoolean() const {
  switch (FType) {
    case varEmpty: return false;
    case varBoolean: return FData.Bool;
    case varUString: case varOleStr: case varString: {
      bool b = false;
      if (TryStrToBool(AsString(), b)) return b;
      CastError(FType, varBoolean);
    }
    default:
      if (IsNumberLike(FType)) return FType == varUInt64 ? FData.UInt != 0 : AsDouble() != 0;
      if (const TCustomVariantType* custom = FindCustomVariantType(FType)) return custom->CastTo(*this, varBoolean).AsBoolean();
      CastError(FType, varBoolean);
  }
}

String Variant::AsString() const {
  switch (FType) {
    case varEmpty: return String();
    case varUString: case varOleStr: return FString;
    case varString: return AnsiToString(FBytes);
    case varBoolean: return BoolToStr(FData.Bool, true);
    case varSmallint: case varInteger: case varShortInt: case varByte: case varWord: case varLongWord:
    case varInt64:
      return IntToStr(static_cast<long long>(FData.Int));
    case varUInt64: return UIntToStr(FData.UInt);
    case varSingle: return FloatToStrF(FData.Float, ffGeneral, 7, 0);
    case varDouble: return FloatToStr(FData.Float);
    case varCurrency: return CurrToStr(Currency::FromScaled(FData.Int));
    case varDate: return DateTimeToStr(FData.Float);
    default:
      if (const TCustomVariantType* custom = FindCustomVariantType(FType)) return custom->CastTo(*this, varUString).AsString();
      CastError(FType, varUString);
  }
}

RawByteString Variant::AsRawByteString() const {
  if (FType == varString) return FBytes;
  try {
    return StringToAnsi(AsString());
  } catch (const EVariantTypeCastError&) {
    CastError(FType, varString);
  }
}

// ---------------------------------------------------------------------------
// Arrays

Variant VarArrayCreate(std::span<const int> ABounds, TVarType AVarType) {
  if (ABounds.empty() || ABounds.size() % 2 != 0 || (AVarType & ~varTypeMask) != 0 || AVarType == varNull ||
      AVarType == varEmpty)
    throw EVariantArrayCreateError(L"Fehler beim Erstellen des Variant-Arrays");
  Variant v;
  std::unique_ptr<Variant::TArray, Variant::TArrayDeleter> array(new Variant::TArray);
  array->ElementType = AVarType;
  std::uint64_t count = 1;
  for (std::size_t i = 0; i < ABounds.size(); i += 2) {
    const long long extent = static_cast<long long>(ABounds[i + 1]) - ABounds[i] + 1;
    if (extent < 0) throw EVariantArrayCreateError(L"Fehler beim Erstellen des Variant-Arrays");
    array->Bounds.emplace_back(ABounds[i], ABounds[i + 1]);
    count *= static_cast<std::uint64_t>(extent);
    if (count > (std::uint64_t{1} << 28)) throw EVariantArrayCreateError(L"Fehler beim Erstellen des Variant-Arrays");
  }
  Variant element;
  try {
    if (IsStringType(AVarType)) element = VarAsType(Variant(String()), AVarType);
    else if (AVarType != varVariant) element = VarAsType(Variant(0), AVarType);
  } catch (const EVariantError&) {
    throw EVariantArrayCreateError(L"Fehler beim Erstellen des Variant-Arrays");
  }
  array->Items.assign(static_cast<std::size_t>(count), element);
  v.FType = static_cast<TVarType>(varArray | AVarType);
  v.FArray = std::move(array);
  return v;
}

Variant VarArrayCreate(std::initializer_list<int> ABounds, TVarType AVarType) {
  return VarArrayCreate(std::span<const int>(ABounds.begin(), ABounds.size()), AVarType);
}

Variant VarArrayOf(std::initializer_list<Variant> AValues) {
  Variant v = VarArrayCreate({0, static_cast<int>(AValues.size()) - 1}, varVariant);
  int i = 0;
  for (const Variant& value : AValues) v.PutElement(i++, value);
  return v;
}

int VarArrayDimCount(const Variant& A) { return A.FArray ? static_cast<int>(A.FArray->Bounds.size()) : 0; }

int VarArrayLowBound(const Variant& A, int ADim) {
  if (!A.FArray || ADim < 1 || ADim > VarArrayDimCount(A))
    throw EVariantInvalidOpError(L"Ungültige Dimension eines Variant-Arrays");
  return A.FArray->Bounds[static_cast<std::size_t>(ADim - 1)].first;
}

int VarArrayHighBound(const Variant& A, int ADim) {
  if (!A.FArray || ADim < 1 || ADim > VarArrayDimCount(A))
    throw EVariantInvalidOpError(L"Ungültige Dimension eines Variant-Arrays");
  return A.FArray->Bounds[static_cast<std::size_t>(ADim - 1)].second;
}

std::size_t Variant::ElementOffset(std::span<const int> AIndices) const {
  if (!FArray) InvalidOp();
  if (AIndices.size() != FArray->Bounds.size())
    throw EVariantBadIndexError(L"Variant-Array-Index außerhalb des gültigen Bereichs");
  std::size_t offset = 0;
  for (std::size_t d = 0; d < AIndices.size(); ++d) {
    const auto [low, high] = FArray->Bounds[d];
    if (AIndices[d] < low || AIndices[d] > high)
      throw EVariantBadIndexError(L"Variant-Array-Index außerhalb des gültigen Bereichs");
    offset = offset * static_cast<std::size_t>(high - low + 1) + static_cast<std::size_t>(AIndices[d] - low);
  }
  return offset;
}

const Variant& Variant::GetElement(std::span<const int> AIndices) const {
  return FArray->Items[ElementOffset(AIndices)];
}

void Variant::PutElement(std::span<const int> AIndices, const Variant& AValue) {
  const std::size_t offset = ElementOffset(AIndices);
  FArray->Items[offset] = FArray->ElementType == varVariant ? AValue : VarAsType(AValue, FArray->ElementType);
}

const Variant& Variant::GetElement(int AIndex) const { return GetElement(std::span<const int>(&AIndex, 1)); }

void Variant::PutElement(int AIndex, const Variant& AValue) { PutElement(std::span<const int>(&AIndex, 1), AValue); }

// ---------------------------------------------------------------------------
// Tests and text

TVarType VarType(const Variant& V) { return V.VType(); }
bool VarIsNull(const Variant& V) { return V.IsNull(); }
bool VarIsEmpty(const Variant& V) { return V.IsEmpty(); }
bool VarIsClear(const Variant& V) { return V.IsNull() || V.IsEmpty(); }
bool VarIsOrdinal(const Variant& V) { return IsIntegral(V.VType()) || V.VType() == varBoolean; }
bool VarIsFloat(const Variant& V) { return IsFloatType(V.VType()); }
bool VarIsNumeric(const Variant& V) { return VarIsOrdinal(V) || VarIsFloat(V); }
bool VarIsStr(const Variant& V) { return IsStringType(V.VType()); }
bool VarIsType(const Variant& V, TVarType AVarType) { return V.VType() == AVarType; }
bool VarIsArray(const Variant& V) { return V.IsArray(); }

String VarToStr(const Variant& V) { return VarIsClear(V) ? String() : V.AsString(); }
String VarToStrDef(const Variant& V, const String& ADefault) { return V.IsNull() ? ADefault : VarToStr(V); }

String VarTypeAsText(TVarType AVarType) {
  static const struct {
    TVarType Type;
    const wchar_t* Name;
  } names[] = {
      {varEmpty, L"Empty"},       {varNull, L"Null"},         {varSmallint, L"Smallint"},
      {varInteger, L"Integer"},   {varSingle, L"Single"},     {varDouble, L"Double"},
      {varCurrency, L"Currency"}, {varDate, L"Date"},         {varOleStr, L"OleStr"},
      {varDispatch, L"Dispatch"}, {varError, L"Error"},       {varBoolean, L"Boolean"},
      {varVariant, L"Variant"},   {varUnknown, L"Unknown"},   {varShortInt, L"ShortInt"},
      {varByte, L"Byte"},         {varWord, L"Word"},         {varLongWord, L"LongWord"},
      {varInt64, L"Int64"},       {varUInt64, L"UInt64"},     {varString, L"String"},
      {varUString, L"UnicodeString"},
  };
  const TVarType base = AVarType & varTypeMask;
  String name;
  for (const auto& n : names)
    if (n.Type == base) name = n.Name;
  if (const TCustomVariantType* custom = FindCustomVariantType(base)) name = custom->Name();
  if (name.empty()) name = L"$" + IntToHex(static_cast<int>(base), 4);
  if (AVarType & varArray) name = L"Array " + name;
  if (AVarType & varByRef) name = L"Ref " + name;
  return name;
}

Variant VarAsType(const Variant& V, TVarType AVarType) {
  const TVarType from = V.VType();
  if (from == AVarType || AVarType == varVariant) return V;
  if (V.IsArray() || (AVarType & ~varTypeMask)) CastError(from, AVarType);
  if (V.IsNull()) CastError(from, AVarType);
  if (const TCustomVariantType* custom = FindCustomVariantType(AVarType)) return custom->CastFrom(V);
  if (const TCustomVariantType* custom = FindCustomVariantType(from)) return custom->CastTo(V, AVarType);
  auto ranged = [&](long long ALow, long long AHigh) {
    std::int64_t v = 0;
    try {
      v = V.AsInt64();
    } catch (const EVariantTypeCastError&) {
      CastError(from, AVarType);
    } catch (const EVariantOverflowError&) {
      OverflowError(from, AVarType);
    }
    if (v < ALow || v > AHigh) OverflowError(from, AVarType);
    return v;
  };
  switch (AVarType) {
    case varEmpty: return Variant();
    case varNull: return Null();
    case varSmallint: return Variant(static_cast<short>(ranged(-32768, 32767)));
    case varInteger: return Variant(static_cast<int>(ranged(std::numeric_limits<int>::min(), std::numeric_limits<int>::max())));
    case varShortInt: return Variant(static_cast<signed char>(ranged(-128, 127)));
    case varByte: return Variant(static_cast<unsigned char>(ranged(0, 255)));
    case varWord: return Variant(static_cast<unsigned short>(ranged(0, 65535)));
    case varLongWord: return Variant(static_cast<unsigned>(ranged(0, 0xFFFFFFFFll)));
    case varInt64: return Variant(static_cast<long long>(V.AsInt64()));
    case varUInt64: return Variant(static_cast<unsigned long long>(V.AsUInt64()));
    case varSingle: {
      const double d = V.AsDouble();
      if (std::isfinite(d) && std::fabs(d) > std::numeric_limits<float>::max()) OverflowError(from, AVarType);
      return Variant(static_cast<float>(d));
    }
    case varDouble: return Variant(V.AsDouble());
    case varCurrency: return Variant(V.AsCurrency());
    case varDate: return Variant::FromDateTime(V.AsDateTime());
    case varBoolean: return Variant(V.AsBoolean());
    case varUString: return Variant(V.AsString());
    case varOleStr: return Variant::FromOleStr(V.AsString());
    case varString: return Variant(V.AsRawByteString());
    default: CastError(from, AVarType);
  }
}

// ---------------------------------------------------------------------------
// Comparison

namespace {

template <class T>
TVariantRelationship Relate(const T& A, const T& B) {
  if (A < B) return vrLessThan;
  if (B < A) return vrGreaterThan;
  return vrEqual;
}

TVariantRelationship CompareNumbers(const Variant& A, const Variant& B) {
  const TVarType ta = A.VType(), tb = B.VType();
  const bool intA = IsIntegral(ta) || ta == varBoolean || ta == varEmpty;
  const bool intB = IsIntegral(tb) || tb == varBoolean || tb == varEmpty;
  if (intA && intB) {
    // Exact: an unsigned value above the signed range is greater than any signed one.
    if (ta == varUInt64 || tb == varUInt64) {
      const bool bigA = ta == varUInt64 && A.AsUInt64() > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
      const bool bigB = tb == varUInt64 && B.AsUInt64() > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
      if (bigA || bigB) {
        if (bigA && bigB) return Relate(A.AsUInt64(), B.AsUInt64());
        return bigA ? vrGreaterThan : vrLessThan;
      }
    }
    return Relate(A.AsInt64(), B.AsInt64());
  }
  if (ta == varCurrency && tb == varCurrency) return Relate(A.AsCurrency().Value, B.AsCurrency().Value);
  return Relate(A.AsDouble(), B.AsDouble());
}

// A string made into the kind of the other operand; raises a cast error
// naming that kind when it cannot.
Variant StringAs(const Variant& AText, TVarType AKind) {
  if (AKind == varBoolean) {
    bool b = false;
    if (!TryStrToBool(AText.AsString(), b)) CastError(AText.VType(), varBoolean);
    return Variant(b);
  }
  const String text = AText.AsString();
  std::int64_t i = 0;
  if (TryStrToInt64(text, i)) return Variant(static_cast<long long>(i));
  double d = 0;
  if (TryStrToFloat(text, d)) return Variant(d);
  CastError(AText.VType(), AKind);
}

// Empty as a value of the other operand's kind: "", False or 0.
Variant EmptyAs(TVarType AKind) {
  if (IsStringType(AKind)) return Variant(String());
  if (AKind == varBoolean) return Variant(false);
  return Variant(0);
}

}  // namespace

TVariantRelationship VarCompareValue(const Variant& A, const Variant& B) {
  if (A.IsArray() || B.IsArray()) InvalidOp();
  TVarType ta = A.VType(), tb = B.VType();
  if (ta == varNull || tb == varNull) return ta == tb ? vrEqual : vrNotEqual;
  if (ta == varEmpty && tb == varEmpty) return vrEqual;
  // A custom type compares in its own terms, the other operand made into it.
  const TCustomVariantType* customA = FindCustomVariantType(ta);
  if (const TCustomVariantType* custom = customA ? customA : FindCustomVariantType(tb))
    return custom->Compare(ta == custom->VarType() ? A : custom->CastFrom(A),
                           tb == custom->VarType() ? B : custom->CastFrom(B));
  if (IsStringType(ta) && IsStringType(tb)) {
    const int c = CompareStr(A.AsString(), B.AsString());
    return c < 0 ? vrLessThan : (c > 0 ? vrGreaterThan : vrEqual);
  }
  // Empty takes the kind of the other side.
  if (ta == varEmpty) return VarCompareValue(EmptyAs(tb), B);
  if (tb == varEmpty) return VarCompareValue(A, EmptyAs(ta));
  if (IsStringType(ta)) return VarCompareValue(StringAs(A, tb), B);
  if (IsStringType(tb)) return VarCompareValue(A, StringAs(B, ta));
  if (ta == varBoolean && tb == varBoolean) return Relate(A.AsBoolean() ? 1 : 0, B.AsBoolean() ? 1 : 0);
  if ((IsNumberLike(ta) || ta == varBoolean) && (IsNumberLike(tb) || tb == varBoolean)) return CompareNumbers(A, B);
  CastError(ta, tb);
}

bool operator==(const Variant& A, const Variant& B) { return VarCompareValue(A, B) == vrEqual; }
bool operator<(const Variant& A, const Variant& B) { return VarCompareValue(A, B) == vrLessThan; }
bool operator<=(const Variant& A, const Variant& B) {
  const TVariantRelationship r = VarCompareValue(A, B);
  return r == vrLessThan || r == vrEqual;
}

bool VarSameValue(const Variant& A, const Variant& B) { return A == B; }
