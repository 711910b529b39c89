#include "platform/runtime/SqlTimSt.h"

#include <algorithm>
#include <cstring>
#include <tuple>

namespace {

class TSQLTimeStampVariantType final : public TCustomVariantType {
 public:
  String Name() const override { return L"SQLTimeStamp"; }

  Variant CastTo(const Variant& ASource, TVarType AVarType) const override {
    try {
      return VarAsType(Variant::FromDateTime(SQLTimeStampToDateTime(Record(ASource))), AVarType);
    } catch (const EConvertError&) {
      VarCastError(ASource.VType(), AVarType);
    }
  }

  Variant CastFrom(const Variant& ASource) const override {
    return VarSQLTimeStampCreate(ASource.AsDateTime());
  }

  TVariantRelationship Compare(const Variant& A, const Variant& B) const override {
    const TSQLTimeStamp a = Record(A), b = Record(B);
    const auto fields = [](const TSQLTimeStamp& T) {
      return std::make_tuple(T.Year, T.Month, T.Day, T.Hour, T.Minute, T.Second, T.Fractions);
    };
    if (fields(a) < fields(b)) return vrLessThan;
    return fields(b) < fields(a) ? vrGreaterThan : vrEqual;
  }

  static TSQLTimeStamp Record(const Variant& AValue) {
    TSQLTimeStamp r;
    const RawByteString& data = AValue.CustomData();
    std::memcpy(&r, data.data(), std::min(data.size(), sizeof r));
    return r;
  }
};

TSQLTimeStampVariantType& SQLTimeStampVariantType() {
  static TSQLTimeStampVariantType type;
  return type;
}

}  // namespace

TDateTime SQLTimeStampToDateTime(const TSQLTimeStamp& AValue) {
  if (AValue == TSQLTimeStamp()) return 0;
  return EncodeDateTime(AValue.Year, AValue.Month, AValue.Day, AValue.Hour, AValue.Minute, AValue.Second,
                        static_cast<int>(std::min<std::uint32_t>(AValue.Fractions, 0x7FFFFFFF)));
}

TSQLTimeStamp DateTimeToSQLTimeStamp(TDateTime AValue) {
  int y = 0, m = 0, d = 0, h = 0, n = 0, s = 0, ms = 0;
  DecodeDateTime(AValue, y, m, d, h, n, s, ms);
  TSQLTimeStamp r;
  r.Year = static_cast<std::int16_t>(y);
  r.Month = static_cast<std::uint16_t>(m);
  r.Day = static_cast<std::uint16_t>(d);
  r.Hour = static_cast<std::uint16_t>(h);
  r.Minute = static_cast<std::uint16_t>(n);
  r.Second = static_cast<std::uint16_t>(s);
  r.Fractions = static_cast<std::uint32_t>(ms);
  return r;
}

String SQLTimeStampToStr(const TSQLTimeStamp& AValue) { return DateTimeToStr(SQLTimeStampToDateTime(AValue)); }

TVarType VarSQLTimeStamp() { return SQLTimeStampVariantType().VarType(); }

Variant VarSQLTimeStampCreate(const TSQLTimeStamp& AValue) {
  return Variant::FromCustom(VarSQLTimeStamp(), RawByteString(reinterpret_cast<const char*>(&AValue), sizeof AValue));
}

Variant VarSQLTimeStampCreate(TDateTime AValue) { return VarSQLTimeStampCreate(DateTimeToSQLTimeStamp(AValue)); }

bool VarIsSQLTimeStamp(const Variant& AValue) {
  return VarSQLTimeStamp() != 0 && AValue.VType() == VarSQLTimeStamp();
}

TSQLTimeStamp VarToSQLTimeStamp(const Variant& AValue) {
  if (VarIsSQLTimeStamp(AValue)) return TSQLTimeStampVariantType::Record(AValue);
  return DateTimeToSQLTimeStamp(AValue.AsDateTime());
}

void SqlTimStInitialization() { RegisterCustomVariantType(&SQLTimeStampVariantType()); }
void SqlTimStFinalization() { UnregisterCustomVariantType(&SQLTimeStampVariantType()); }
