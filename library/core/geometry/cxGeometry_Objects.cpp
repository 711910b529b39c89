// Publishable geometry objects.
#include "library/core/geometry/cxGeometry.h"

// ---------------------------------------------------------------------------
// TcxGeometryObject

void TcxGeometryObject::Publish(TPublisher<TcxGeometryObject>& P) {
  P.Property(L"OnChange", &TcxGeometryObject::OnChange, &TcxGeometryObject::SetOnChange);
}

void TcxGeometryObject::ChangeScale(int M, int D) {
  WithUpdate(this, [&] {
    DoChangeScale(M, D);
  });
}

void TcxGeometryObject::DoChanged() { CallEvent(FOnChange, this); }

namespace {

std::int32_t ReadInt32(TStream* AStream) {
  std::uint8_t b[4];
  AStream->ReadBuffer(b, 4);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
                                   static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24);
}

void WriteInt32(TStream* AStream, std::int32_t AValue) {
  const auto u = static_cast<std::uint32_t>(AValue);
  const std::uint8_t b[4] = {static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8),
                             static_cast<std::uint8_t>(u >> 16), static_cast<std::uint8_t>(u >> 24)};
  AStream->WriteBuffer(b, 4);
}

}  // namespace

// ---------------------------------------------------------------------------
// TcxPointBasedGeometryObject

void TcxPointBasedGeometryObject::Create(TPersistent* AOwner, int ADefaultX, int ADefaultY) {
  inherited::Create(AOwner);
  FDefaultValue = TPoint(ADefaultX, ADefaultY);
  FValue = FDefaultValue;
}

TPoint TcxPointBasedGeometryObject::GetValue() const { return TPoint(GetValueByIndex(0), GetValueByIndex(1)); }

void TcxPointBasedGeometryObject::SetValue(const TPoint& AValue) {
  TPoint value = AValue;
  AdjustValue(value);
  if (value == FValue) return;
  FValue = value;
  Changed();
}

int TcxPointBasedGeometryObject::GetValueByIndex(int AIndex) const { return AIndex == 0 ? FValue.X : FValue.Y; }

void TcxPointBasedGeometryObject::SetValueByIndex(int AIndex, int AValue) {
  TPoint value = FValue;
  if (AIndex == 0) value.X = AValue;
  else value.Y = AValue;
  SetValue(value);
}

bool TcxPointBasedGeometryObject::IsValueStored(int AIndex) const {
  return AIndex == 0 ? FValue.X != FDefaultValue.X : FValue.Y != FDefaultValue.Y;
}

void TcxPointBasedGeometryObject::LoadFromStream(TStream* AStream) {
  const std::int32_t x = ReadInt32(AStream);
  const std::int32_t y = ReadInt32(AStream);
  SetValue(TPoint(x, y));
}

void TcxPointBasedGeometryObject::SaveToStream(TStream* AStream) {
  WriteInt32(AStream, FValue.X);
  WriteInt32(AStream, FValue.Y);
}

void TcxPointBasedGeometryObject::DoAssign(TPersistent* ASource) {
  inherited::DoAssign(ASource);
  if (auto* source = dynamic_cast<TcxPointBasedGeometryObject*>(ASource)) SetValue(source->FValue);
}

void TcxPointBasedGeometryObject::DoChangeScale(int M, int D) {
  SetValue(TPoint(MulDiv(FValue.X, M, D), MulDiv(FValue.Y, M, D)));
}

// ---------------------------------------------------------------------------
// TcxSize

void TcxSize::Publish(TPublisher<TcxSize>& P) {
  P.Property(L"Width", &TcxSize::Width, &TcxSize::SetWidth).Stored(&TcxSize::IsWidthStored);
  P.Property(L"Height", &TcxSize::Height, &TcxSize::SetHeight).Stored(&TcxSize::IsHeightStored);
}

void TcxSize::AdjustValue(TPoint& AValue) {
  if (AValue.X < 0) AValue.X = 0;
  if (AValue.Y < 0) AValue.Y = 0;
}

// ---------------------------------------------------------------------------
// TcxRectBasedGeometryObject

void TcxRectBasedGeometryObject::Publish(TPublisher<TcxRectBasedGeometryObject>& P) {
  using T = TcxRectBasedGeometryObject;
  P.Property(L"Left", &T::Left, &T::SetLeft).Stored(&T::IsLeftStored);
  P.Property(L"Top", &T::Top, &T::SetTop).Stored(&T::IsTopStored);
  P.Property(L"Right", &T::Right, &T::SetRight).Stored(&T::IsRightStored);
  P.Property(L"Bottom", &T::Bottom, &T::SetBottom).Stored(&T::IsBottomStored);
  P.Property(L"Width", &T::Width, &T::SetWidth).Stored(false);
  P.Property(L"Height", &T::Height, &T::SetHeight).Stored(false);
}

void TcxRectBasedGeometryObject::Create(TPersistent* AOwner, const TRect& ADefaultValue) {
  inherited::Create(AOwner);
  FDefaultValue = ADefaultValue;
  Reset();
}

void TcxRectBasedGeometryObject::SetValue(const TRect& AValue) {
  TRect value = AValue;
  AdjustValue(value);
  if (value == FValue) return;
  FValue = value;
  Changed();
}

bool TcxRectBasedGeometryObject::IsValueStored(int AIndex) const {
  const auto side = static_cast<TcxBorder>(AIndex);
  return GetRectBorderValue(FValue, side) != GetRectBorderValue(FDefaultValue, side);
}

void TcxRectBasedGeometryObject::LoadFromStream(TStream* AStream) {
  TRect r;
  r.Left = ReadInt32(AStream);
  r.Top = ReadInt32(AStream);
  r.Right = ReadInt32(AStream);
  r.Bottom = ReadInt32(AStream);
  SetValue(r);
}

void TcxRectBasedGeometryObject::SaveToStream(TStream* AStream) {
  WriteInt32(AStream, FValue.Left);
  WriteInt32(AStream, FValue.Top);
  WriteInt32(AStream, FValue.Right);
  WriteInt32(AStream, FValue.Bottom);
}

void TcxRectBasedGeometryObject::DoAssign(TPersistent* ASource) {
  inherited::DoAssign(ASource);
  if (auto* source = dynamic_cast<TcxRectBasedGeometryObject*>(ASource)) SetValue(source->FValue);
}

void TcxRectBasedGeometryObject::DoChangeScale(int M, int D) { SetValue(ScaleRectangle(FValue, M, D, M, D)); }

// ---------------------------------------------------------------------------
// TcxOffsets

void TcxOffsets::Publish(TPublisher<TcxOffsets>& P) {
  P.Property(L"All", &TcxOffsets::All, &TcxOffsets::SetAll).Stored(&TcxOffsets::IsAllStored);
}

int TcxOffsets::All() const {
  const TRect& v = Value();
  return v.Left == v.Top && v.Left == v.Right && v.Left == v.Bottom ? v.Left : -1;
}

void TcxOffsets::SetAll(int AValue) {
  if (AValue == All()) return;
  if (AValue == -1) Reset();
  else SetValue(TRect(AValue, AValue, AValue, AValue));
}

bool TcxOffsets::IsAllStored() const { return All() != -1 && !IsDefault(); }

bool TcxOffsets::IsValueStored(int AIndex) const { return All() == -1 && inherited::IsValueStored(AIndex); }
