#include "library/graphics/gdiplus/dxGDIPlusClasses.h"

#include <cmath>
#include <utility>

using namespace Gdiplus;

// ---------------------------------------------------------------------------
// TdxGPBrushGradientPoints

namespace {
// The growth of the run-time's lists.
int GrownCapacity(int ACapacity) {
  if (ACapacity <= 16) return ACapacity + 16;
  if (ACapacity <= 128) return ACapacity + 32;
  return ACapacity + ACapacity / 2;
}
}  // namespace

int TdxGPBrushGradientPoints::Add(float AOffset, TdxAlphaColor AColor) {
  if (FCount == FCapacity) SetCapacity(GrownCapacity(FCapacity));
  const int result = FCount;
  FColors[FCount + 1] = AColor;
  FOffsets[FCount + 1] = AOffset;
  ++FCount;
  Sort(1, FCount);
  Changed();
  return result;
}

void TdxGPBrushGradientPoints::Assign(const TdxGPBrushGradientPoints* ASource) {
  if (!ASource || ASource == this) return;
  SetCapacity(ASource->FCapacity);
  FColors = ASource->FColors;
  FOffsets = ASource->FOffsets;
  FCount = ASource->FCount;
  Changed();
}

void TdxGPBrushGradientPoints::CheckIndex(int AIndex) const {
  if (AIndex < 0 || AIndex >= FCount) throw Exception(L"Listenindex außerhalb des gültigen Bereichs (%d)", {AIndex});
}

void TdxGPBrushGradientPoints::Delete(int AIndex) {
  CheckIndex(AIndex);
  for (int i = AIndex + 1; i < FCount; ++i) {
    FColors[i] = FColors[i + 1];
    FOffsets[i] = FOffsets[i + 1];
  }
  --FCount;
  Changed();
}

void TdxGPBrushGradientPoints::InvertOrder() {
  if (FCount < 2) return;
  std::reverse(FColors.begin() + 1, FColors.begin() + 1 + FCount);
  std::reverse(FOffsets.begin() + 1, FOffsets.begin() + 1 + FCount);
  for (int i = 1; i <= FCount; ++i) FOffsets[i] = 1 - FOffsets[i];
  Changed();
}

void TdxGPBrushGradientPoints::SetCapacity(int AValue) {
  AValue = std::max(AValue, 0);
  if (AValue == FCapacity && !FColors.empty()) return;
  FCapacity = AValue;
  FColors.resize(static_cast<std::size_t>(AValue) + 2);
  FOffsets.resize(static_cast<std::size_t>(AValue) + 2);
  if (FCount > FCapacity) {
    FCount = FCapacity;
    Changed();
  }
}

TdxAlphaColor TdxGPBrushGradientPoints::Colors(int AIndex) const {
  CheckIndex(AIndex);
  return FColors[AIndex + 1];
}

void TdxGPBrushGradientPoints::SetColor(int AIndex, TdxAlphaColor AValue) {
  CheckIndex(AIndex);
  if (FColors[AIndex + 1] == AValue) return;
  FColors[AIndex + 1] = AValue;
  Changed();
}

float TdxGPBrushGradientPoints::Offsets(int AIndex) const {
  CheckIndex(AIndex);
  return FOffsets[AIndex + 1];
}

void TdxGPBrushGradientPoints::SetOffset(int AIndex, float AValue) {
  CheckIndex(AIndex);
  if (dxSameValue(FOffsets[AIndex + 1], AValue)) return;
  FOffsets[AIndex + 1] = AValue;
  Sort(1, FCount);
  Changed();
}

void TdxGPBrushGradientPoints::Sort(int L, int R) {
  // Quicksort on the offsets, colours moving along; equal offsets may swap.
  while (L < R) {
    int i = L;
    int j = R;
    const float pivot = FOffsets[(L + R) / 2];
    while (i <= j) {
      while (FOffsets[i] < pivot) ++i;
      while (FOffsets[j] > pivot) --j;
      if (i <= j) {
        std::swap(FOffsets[i], FOffsets[j]);
        std::swap(FColors[i], FColors[j]);
        ++i;
        --j;
      }
    }
    if (L < j) Sort(L, j);
    L = i;
  }
}

void TdxGPBrushGradientPoints::GetPresetBlendArrays(const ARGB*& AColors, const float*& AOffsets, int& ACount) {
  int first = 1;
  ACount = FCount;
  if (Offsets(0) > 0) {
    // Entry 0 is never written: colour 0 at offset 0.
    first = 0;
    ++ACount;
  }
  const float last = Offsets(FCount - 1);
  if (!(last >= 1)) {  // below 1, or not a number
    FColors[FCount + 1] = 0;
    FOffsets[FCount + 1] = 1;
    ++ACount;
  }
  static_assert(sizeof(ARGB) == sizeof(TdxAlphaColor));
  AColors = reinterpret_cast<const ARGB*>(FColors.data() + first);
  AOffsets = FOffsets.data() + first;
}

// ---------------------------------------------------------------------------
// TdxGPCustomBrush

void TdxGPCustomBrush::Assign(TdxGPCustomGraphicObject* ASource) {
  if (auto* source = dynamic_cast<TdxGPCustomBrush*>(ASource)) {
    FTargetRect = source->FTargetRect;
    TargetRectChanged();
  }
}

void TdxGPCustomBrush::SetTargetRect(const TdxGpRectF& R) {
  const TdxGpRectF grown = TdxGpRectF::Init(R.X - 1, R.Y - 1, R.Width + 2, R.Height + 2);
  if (GdipRectFEqual(grown, FTargetRect)) return;
  FTargetRect = grown;
  TargetRectChanged();
}

void TdxGPCustomBrush::TargetRectChanged() {
  if (IsTargetRectDependent()) FreeHandle();
}

void TdxGPCustomBrush::DestroyHandle(TdxGpHandle& AHandle) { GdipDeleteBrush(static_cast<GpBrush*>(AHandle)); }

// ---------------------------------------------------------------------------
// TdxGPHatchBrush

void TdxGPHatchBrush::Create(TdxAlphaColor ABackgroundColor, TdxAlphaColor AForegroundColor, HatchStyle AStyle) {
  inherited::Create();
  FBackgroundColor = ABackgroundColor;
  FForegroundColor = AForegroundColor;
  FStyle = AStyle;
}

void TdxGPHatchBrush::Assign(TdxGPCustomGraphicObject* ASource) {
  inherited::Assign(ASource);
  if (auto* source = dynamic_cast<TdxGPHatchBrush*>(ASource)) {
    SetBackgroundColor(source->FBackgroundColor);
    SetForegroundColor(source->FForegroundColor);
    SetStyle(source->FStyle);
  }
}

void TdxGPHatchBrush::SetBackgroundColor(TdxAlphaColor AValue) {
  if (FBackgroundColor == AValue) return;
  FBackgroundColor = AValue;
  Changed();
}

void TdxGPHatchBrush::SetForegroundColor(TdxAlphaColor AValue) {
  if (FForegroundColor == AValue) return;
  FForegroundColor = AValue;
  Changed();
}

void TdxGPHatchBrush::SetStyle(HatchStyle AValue) {
  if (FStyle == AValue) return;
  FStyle = AValue;
  Changed();
}

void TdxGPHatchBrush::Changed() {
  FreeHandle();
  inherited::Changed();
}

void TdxGPHatchBrush::CreateHandle(TdxGpHandle& AHandle) {
  GpHatch* brush = nullptr;
  CheckGdipStatus(GdipCreateHatchBrush(FStyle, FForegroundColor, FBackgroundColor, &brush));
  AHandle = brush;
}

// ---------------------------------------------------------------------------
// TdxGPBrush

void TdxGPBrush::Create() {
  inherited::Create();
  FStyle = gpbsSolid;
  FGradientMode = gpbgmHorizontal;
  FGradientPoints.reset(New<TdxGPBrushGradientPoints>());
  FGradientPoints->SetOnChange(BindEvent<&TdxGPBrush::GradientChanged>(this));
  FTextureTransform.reset(New<TdxGPMatrix>());
  FTextureTransform->SetOnChange(BindEvent<&TdxGPBrush::TextureChanged>(this));
}

void TdxGPBrush::Destroy() {
  FTextureTransform.reset();
  FTexture.Reset();
  FGradientPoints.reset();
  inherited::Destroy();
}

void TdxGPBrush::Assign(TdxGPCustomGraphicObject* ASource) {
  inherited::Assign(ASource);
  if (auto* source = dynamic_cast<TdxGPBrush*>(ASource)) {
    SetColor(source->FColor);
    SetGradientMode(source->FGradientMode);
    SetGradientPoints(source->FGradientPoints.get());
    SetTexture(source->Texture());
    SetTextureTransform(source->FTextureTransform.get());
    SetStyle(source->FStyle);
  }
}

void TdxGPBrush::SetColor(TdxAlphaColor AValue) {
  if (FColor == AValue) return;
  FColor = AValue;
  if (HandleAllocated() && FStyle == gpbsSolid)
    CheckGdipStatus(GdipSetSolidFillColor(static_cast<GpSolidFill*>(FHandle), FColor));
  Changed();
}

void TdxGPBrush::SetGradientMode(TdxGPBrushGradientMode AValue) {
  if (FGradientMode == AValue) return;
  FGradientMode = AValue;
  GradientChanged(this);
}

void TdxGPBrush::SetStyle(TdxGPBrushStyle AValue) {
  if (FStyle == AValue) return;
  FStyle = AValue;
  FreeHandle();
  Changed();
}

void TdxGPBrush::SetTexture(GpImage* AValue) {
  if (AValue == FTexture.Get()) return;
  TdxGpOwnedImage texture;
  if (AValue) CheckGdipStatus(GdipCloneImage(AValue, texture.Receive()));
  FTexture = std::move(texture);
  TextureChanged(this);
}

void TdxGPBrush::GradientChanged(TObject*) {
  if (FStyle == gpbsGradient) FreeHandle();
  Changed();
}

void TdxGPBrush::TextureChanged(TObject*) {
  if (FStyle == gpbsTexture) FreeHandle();
  Changed();
}

bool TdxGPBrush::GetIsEmpty() {
  switch (FStyle) {
    case gpbsSolid: return FColor == 0;
    case gpbsGradient: return FGradientPoints->Count() == 0;
    case gpbsTexture: return !FTexture;
    case gpbsClear: break;
  }
  return true;
}

void TdxGPBrush::CreateHandle(TdxGpHandle& AHandle) {
  switch (FStyle) {
    case gpbsSolid: CreateSolidHandle(AHandle, FColor); break;
    case gpbsGradient: CreateGradientHandle(AHandle); break;
    case gpbsTexture: CreateTextureHandle(AHandle); break;
    case gpbsClear: CreateSolidHandle(AHandle, 0); break;
  }
}

void TdxGPBrush::HandleCreated() {
  inherited::HandleCreated();
  CallEvent(FOnHandleCreated, this);
}

void TdxGPBrush::CreateSolidHandle(TdxGpHandle& AHandle, TdxAlphaColor AColor) {
  GpSolidFill* brush = nullptr;
  CheckGdipStatus(GdipCreateSolidFill(AColor, &brush));
  AHandle = brush;
}

void TdxGPBrush::CreateGradientHandle(TdxGpHandle& AHandle) {
  // A NaN size passes, as a comparison with it fails both ways.
  const bool hasArea = !(FTargetRect.Width <= 0) && !(FTargetRect.Height <= 0);
  if (FGradientPoints->Count() == 0 || !hasArea) return CreateSolidHandle(AHandle, 0);
  TdxGpOwnedBrush brush;
  CheckGdipStatus(GdipCreateLineBrushFromRect(FTargetRect.AsGdip(), 0, 0, static_cast<LinearGradientMode>(FGradientMode),
                                              WrapModeTileFlipX, reinterpret_cast<GpLineGradient**>(brush.Receive())));
  const ARGB* colors;
  const float* offsets;
  int count;
  FGradientPoints->GetPresetBlendArrays(colors, offsets, count);
  CheckGdipStatus(GdipSetLinePresetBlend(static_cast<GpLineGradient*>(brush.Get()), colors, offsets, count));
  AHandle = brush.Release();
}

void TdxGPBrush::CreateTextureHandle(TdxGpHandle& AHandle) {
  if (!FTexture) return CreateSolidHandle(AHandle, 0);
  TdxGpOwnedBrush brush;
  CheckGdipStatus(GdipCreateTexture(FTexture.Get(), WrapModeTile, reinterpret_cast<GpTexture**>(brush.Receive())));
  ApplyTextureTransform(static_cast<GpTexture*>(brush.Get()));
  AHandle = brush.Release();
}

void TdxGPBrush::ApplyTextureTransform(GpTexture* ABrush) {
  if (FTextureTransform->HandleAllocated())
    CheckGdipStatus(GdipSetTextureTransform(ABrush, FTextureTransform->GpHandle()));
  else
    CheckGdipStatus(GdipResetTextureTransform(ABrush));
  // The texture's origin sits at the target rectangle's corner.
  CheckGdipStatus(GdipTranslateTextureTransform(ABrush, FTargetRect.X, FTargetRect.Y, MatrixOrderAppend));
}

void TdxGPBrush::TargetRectChanged() {
  inherited::TargetRectChanged();
  // Without an image the brush is a transparent solid one: nothing to place.
  if (FStyle == gpbsTexture && FTexture) ApplyTextureTransform(static_cast<GpTexture*>(Handle()));
}
