#include "library/graphics/gdiplus/dxGDIPlusClasses.h"

using namespace Gdiplus;

namespace {
TdxGPAlphaBlendAttributes* SharedAlphaBlendAttributes = nullptr;
}  // namespace

// ---------------------------------------------------------------------------
// TdxGPImageAttributes

void TdxGPImageAttributes::Create() { CheckGdipStatus(GdipCreateImageAttributes(FHandle.Receive())); }

TdxGPImageAttributes* TdxGPImageAttributes::Clone() const {
  TOwned<TdxGPImageAttributes> result(New<TdxGPImageAttributes>());
  CheckGdipStatus(GdipCloneImageAttributes(Handle(), result->FHandle.Receive()));
  return result.release();
}

void TdxGPImageAttributes::SetColorKey(TdxAlphaColor AColorLow, TdxAlphaColor AColorHigh, TAdjustType AType) {
  CheckGdipStatus(GdipSetImageAttributesColorKeys(Handle(), AType, TRUE, AColorLow, AColorHigh));
}

void TdxGPImageAttributes::ClearColorKey(TAdjustType AType) {
  CheckGdipStatus(GdipSetImageAttributesColorKeys(Handle(), AType, FALSE, 0, 0));
}

void TdxGPImageAttributes::SetColorMatrix(const ColorMatrix& ANewColorMatrix, ColorMatrixFlags AMode, TAdjustType AType) {
  CheckGdipStatus(GdipSetImageAttributesColorMatrix(Handle(), AType, TRUE, &ANewColorMatrix, nullptr, AMode));
}

void TdxGPImageAttributes::SetColorMatrices(const ColorMatrix& ANewColorMatrix, const ColorMatrix& AGrayMatrix,
                                            ColorMatrixFlags AMode, TAdjustType AType) {
  CheckGdipStatus(GdipSetImageAttributesColorMatrix(Handle(), AType, TRUE, &ANewColorMatrix, &AGrayMatrix, AMode));
}

void TdxGPImageAttributes::ClearColorMatrix(TAdjustType AType) {
  CheckGdipStatus(
      GdipSetImageAttributesColorMatrix(Handle(), AType, FALSE, nullptr, nullptr, ColorMatrixFlagsDefault));
}

void TdxGPImageAttributes::SetGamma(float AGamma, TAdjustType AType) {
  CheckGdipStatus(GdipSetImageAttributesGamma(Handle(), AType, TRUE, AGamma));
}

void TdxGPImageAttributes::ClearGamma(TAdjustType AType) {
  CheckGdipStatus(GdipSetImageAttributesGamma(Handle(), AType, FALSE, 0));
}

void TdxGPImageAttributes::SetNoOp(TAdjustType AType) {
  CheckGdipStatus(GdipSetImageAttributesNoOp(Handle(), AType, TRUE));
}

void TdxGPImageAttributes::ClearNoOp(TAdjustType AType) {
  CheckGdipStatus(GdipSetImageAttributesNoOp(Handle(), AType, FALSE));
}

void TdxGPImageAttributes::SetOutputChannel(ColorChannelFlags AFlags, TAdjustType AType) {
  CheckGdipStatus(GdipSetImageAttributesOutputChannel(Handle(), AType, TRUE, AFlags));
}

void TdxGPImageAttributes::ClearOutputChannel(TAdjustType AType) {
  CheckGdipStatus(GdipSetImageAttributesOutputChannel(Handle(), AType, FALSE, ColorChannelFlagsLast));
}

void TdxGPImageAttributes::SetOutputChannelColorProfile(const String& AColorProfileFilename, TAdjustType AType) {
  CheckGdipStatus(GdipSetImageAttributesOutputChannelColorProfile(Handle(), AType, TRUE, AColorProfileFilename.c_str()));
}

void TdxGPImageAttributes::ClearOutputChannelColorProfile(TAdjustType AType) {
  CheckGdipStatus(GdipSetImageAttributesOutputChannelColorProfile(Handle(), AType, FALSE, nullptr));
}

void TdxGPImageAttributes::SetRemapTable(const std::vector<ColorMap>& AMap, TAdjustType AType) {
  CheckGdipStatus(
      GdipSetImageAttributesRemapTable(Handle(), AType, TRUE, static_cast<UINT>(AMap.size()), AMap.data()));
}

void TdxGPImageAttributes::ClearRemapTable(TAdjustType AType) {
  CheckGdipStatus(GdipSetImageAttributesRemapTable(Handle(), AType, FALSE, 0, nullptr));
}

void TdxGPImageAttributes::SetThreshold(float AThreshold, TAdjustType AType) {
  CheckGdipStatus(GdipSetImageAttributesThreshold(Handle(), AType, TRUE, AThreshold));
}

void TdxGPImageAttributes::ClearThreshold(TAdjustType AType) {
  CheckGdipStatus(GdipSetImageAttributesThreshold(Handle(), AType, FALSE, 0));
}

void TdxGPImageAttributes::SetWrapMode(WrapMode AMode, TdxAlphaColor AColor, bool AClamp) {
  CheckGdipStatus(GdipSetImageAttributesWrapMode(Handle(), AMode, AColor, AClamp));
}

void TdxGPImageAttributes::GetAdjustedPalette(ColorPalette* APalette, TAdjustType AType) const {
  CheckGdipStatus(GdipGetImageAttributesAdjustedPalette(Handle(), APalette, AType));
}

// ---------------------------------------------------------------------------
// TdxGPAlphaBlendAttributes

void TdxGPAlphaBlendAttributes::Create() {
  inherited::Create();
  FAlpha = 255;
  FColorMatrix = ColorMatrix{};
  for (int i = 0; i < 5; ++i) FColorMatrix.m[i][i] = 1;
}

void TdxGPAlphaBlendAttributes::SetAlpha(std::uint8_t AValue) {
  if (FAlpha == AValue) return;
  FAlpha = AValue;
  FColorMatrix.m[3][3] = AValue / 255.0f;
  SetColorMatrix(FColorMatrix, ColorMatrixFlagsDefault, ColorAdjustTypeBitmap);
}

TdxGPImageAttributes* GetAlphaBlendAttributes(std::uint8_t AAlpha) {
  if (AAlpha == 255) return nullptr;
  if (!SharedAlphaBlendAttributes) SharedAlphaBlendAttributes = New<TdxGPAlphaBlendAttributes>();
  SharedAlphaBlendAttributes->SetAlpha(AAlpha);
  return SharedAlphaBlendAttributes;
}

void dxGDIPlusClassesFreeAlphaBlendAttributes() { FreeAndNil(SharedAlphaBlendAttributes); }
