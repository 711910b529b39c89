#include "library/graphics/gdiplus/dxGDIPlusClasses.h"

#include <algorithm>
#include <cmath>

using namespace Gdiplus;

namespace {

constexpr DashCap PenDashCaps[] = {DashCapFlat, DashCapRound, DashCapTriangle};
constexpr LineCap PenLineCaps[] = {LineCapFlat, LineCapSquare, LineCapRound};

// Base patterns of the dashed styles, in pixels at scale 1.
std::vector<float> PenStylePattern(TdxGPPenStyle AStyle) {
  switch (AStyle) {
    case gppsDash: return {9, 4};
    case gppsDot: return {2, 4};
    case gppsDashDot: return {9, 4, 2, 4};
    case gppsDashDotDot: return {9, 4, 2, 4, 2, 4};
    case gppsSolid: break;
  }
  return {};
}

}  // namespace

void TdxGPPen::Create(TdxAlphaColor AColor, float AWidth, TdxGPPenStyle APenStyle, float AScale) {
  inherited::Create();
  FBrush.reset(CreateBrush());
  FBrush->SetColor(AColor);
  FBrush->SetOnHandleCreated(BindEvent<&TdxGPPen::BrushHandleCreated>(this));
  FBrush->SetOnChange(BindEvent<&TdxGPPen::BrushChanged>(this));
  FWidth = AWidth;
  FMiterLimit = 10;
  // GDI+ measures dashes in pen widths.
  if (APenStyle != gppsSolid) SetDashArray(PenStylePattern(APenStyle), AScale / std::max(AWidth, 0.001f));
}

void TdxGPPen::Destroy() {
  FBrush.reset();
  inherited::Destroy();
}

void TdxGPPen::Assign(TdxGPCustomGraphicObject* ASource) {
  auto* source = dynamic_cast<TdxGPPen*>(ASource);
  if (!source) return;
  SetBrush(source->FBrush.get());
  SetStyle(source->FStyle);
  SetWidth(source->FWidth);
  SetDashCapStyle(source->FDashCapStyle);
  SetLineStartCapStyle(source->FLineStartCapStyle);
  SetLineEndCapStyle(source->FLineEndCapStyle);
  SetLineJoin(source->FLineJoin);
  SetMiterLimit(source->FMiterLimit);
  if (!source->FDashArray.empty()) SetDashArray(source->FDashArray);
}

void TdxGPPen::HandleNeeded() {
  FBrush->HandleNeeded();
  inherited::HandleNeeded();
}

void TdxGPPen::CreateHandle(TdxGpHandle& AHandle) {
  TdxGpOwnedPen pen;
  CheckGdipStatus(GdipCreatePen2(FBrush->GpHandle(), FWidth, UnitPixel, pen.Receive()));
  GpPen* p = pen.Get();
  CheckGdipStatus(GdipSetPenDashStyle(p, static_cast<DashStyle>(FStyle)));
  CheckGdipStatus(GdipSetPenDashCap197819(p, PenDashCaps[FDashCapStyle]));
  CheckGdipStatus(GdipSetPenStartCap(p, PenLineCaps[FLineStartCapStyle]));
  CheckGdipStatus(GdipSetPenLineJoin(p, FLineJoin));
  CheckGdipStatus(GdipSetPenEndCap(p, PenLineCaps[FLineEndCapStyle]));
  CheckGdipStatus(GdipSetPenMiterLimit(p, FMiterLimit));
  // A rebuilt pen keeps its own dashes.
  if (!FDashArray.empty())
    CheckGdipStatus(GdipSetPenDashArray(p, FDashArray.data(), static_cast<INT>(FDashArray.size())));
  AHandle = pen.Release();
}

void TdxGPPen::DestroyHandle(TdxGpHandle& AHandle) { GdipDeletePen(static_cast<GpPen*>(AHandle)); }

void TdxGPPen::SetDashArray(const std::vector<float>& AValue, float AScale) {
  if (AValue.empty()) {
    SetStyle(gppsSolid);
    return;
  }
  std::vector<float> values = AValue;
  if (!dxSameValue(AScale, 1))
    for (float& value : values) value *= AScale;
  FDashArray = std::move(values);
  CheckGdipStatus(GdipSetPenDashArray(GpHandle(), FDashArray.data(), static_cast<INT>(FDashArray.size())));
  FStyle = gppsDashDotDot;
  Changed();
}

void TdxGPPen::SetDashCapStyle(TdxGPPenDashCapStyle AValue) {
  if (FDashCapStyle == AValue) return;
  FDashCapStyle = AValue;
  if (HandleAllocated()) CheckGdipStatus(GdipSetPenDashCap197819(static_cast<GpPen*>(FHandle), PenDashCaps[AValue]));
  Changed();
}

void TdxGPPen::SetLineEndCapStyle(TdxGPPenLineCapStyle AValue) {
  if (FLineEndCapStyle == AValue) return;
  FLineEndCapStyle = AValue;
  if (HandleAllocated()) CheckGdipStatus(GdipSetPenEndCap(static_cast<GpPen*>(FHandle), PenLineCaps[AValue]));
  Changed();
}

void TdxGPPen::SetLineStartCapStyle(TdxGPPenLineCapStyle AValue) {
  if (FLineStartCapStyle == AValue) return;
  FLineStartCapStyle = AValue;
  if (HandleAllocated()) CheckGdipStatus(GdipSetPenStartCap(static_cast<GpPen*>(FHandle), PenLineCaps[AValue]));
  Changed();
}

void TdxGPPen::SetLineJoin(TdxGpLineJoin AValue) {
  if (FLineJoin == AValue) return;
  FLineJoin = AValue;
  if (HandleAllocated()) CheckGdipStatus(GdipSetPenLineJoin(static_cast<GpPen*>(FHandle), AValue));
  Changed();
}

void TdxGPPen::SetMiterLimit(float AValue) {
  if (FMiterLimit == AValue) return;
  FMiterLimit = AValue;
  if (HandleAllocated()) CheckGdipStatus(GdipSetPenMiterLimit(static_cast<GpPen*>(FHandle), AValue));
  Changed();
}

void TdxGPPen::SetStyle(TdxGPPenStyle AValue) {
  // gppsDashDotDot is applied again every time: it also stands for a dash array.
  if (FStyle == AValue && AValue != gppsDashDotDot) return;
  FStyle = AValue;
  FDashArray.clear();
  if (HandleAllocated()) CheckGdipStatus(GdipSetPenDashStyle(static_cast<GpPen*>(FHandle), static_cast<DashStyle>(AValue)));
  Changed();
}

void TdxGPPen::SetWidth(float AValue) {
  AValue = std::max(AValue, 0.0f);
  if (dxSameValue(FWidth, AValue)) return;
  FWidth = AValue;
  if (HandleAllocated()) CheckGdipStatus(GdipSetPenWidth(static_cast<GpPen*>(FHandle), AValue));
  Changed();
}

bool TdxGPPen::GetIsEmpty() { return std::abs(FWidth) <= dxSingleTolerance || FBrush->IsEmpty(); }

void TdxGPPen::ApplyBrush() {
  if (HandleAllocated()) CheckGdipStatus(GdipSetPenBrushFill(static_cast<GpPen*>(FHandle), FBrush->GpHandle()));
}

void TdxGPPen::BrushHandleCreated(TObject*) { ApplyBrush(); }

void TdxGPPen::BrushChanged(TObject*) {
  ApplyBrush();
  Changed();
}
