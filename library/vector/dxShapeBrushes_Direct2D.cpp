// The Direct2D forms of the shape unit's GDI+ brushes. The Direct2D brush
// factory lies in the graphics layer below and reads these brushes through
// the entries registered here; the canvas resource cache there makes its
// solid and texture brushes through the factory registered here too.
#include "library/vector/dxShapeBrushes.h"
#include "library/graphics/canvas/cxCustomCanvas.h"

#include "library/graphics/direct2d/dxDirectX_D2D_Classes.h"

namespace {

TOwned<TdxDirect2DBrush> D2DSolidBrushOf(ID2D1DeviceContext* AContext, TdxGPCustomBrush* ABrush) {
  return TOwned<TdxDirect2DBrush>(New<TdxDirect2DSolidBrush>(AContext, static_cast<TdxGPSolidBrush*>(ABrush)->Color()));
}

TOwned<TdxDirect2DBrush> D2DTextureBrushOf(ID2D1DeviceContext* AContext, TdxGPCustomBrush* ABrush) {
  const TComPtr<ID2D1Bitmap> texture =
      dxCreateD2DBitmap(AContext, static_cast<TdxGPTextureBrush*>(ABrush)->Texture()->Handle());
  return TOwned<TdxDirect2DBrush>(New<TdxDirect2DTexturedBrush>(AContext, nullptr, texture.Get()));
}

TOwned<TdxDirect2DBrush> D2DLinearGradientBrushOf(ID2D1DeviceContext* AContext, TdxGPCustomBrush* ABrush) {
  auto* brush = static_cast<TdxGPLinearGradientBrush*>(ABrush);
  const std::vector<D2D1_GRADIENT_STOP> stops = dxGpGradientPointsToD2DStops(brush->GradientPoints(), false);
  if (brush->GradientMode() == gplgbmLine)
    return TOwned<TdxDirect2DBrush>(
        New<TdxDirect2DLineGradientBrush>(AContext, brush->StartPoint(), brush->EndPoint(), stops));
  return TOwned<TdxDirect2DBrush>(New<TdxDirect2DLinearGradientBrush>(
      AContext, static_cast<Gdiplus::LinearGradientMode>(brush->GradientMode()), stops));
}

TOwned<TdxDirect2DBrush> D2DRadialGradientBrushOf(ID2D1DeviceContext* AContext, TdxGPCustomBrush* ABrush) {
  auto* brush = static_cast<TdxRadialGradientBrush*>(ABrush);
  return TOwned<TdxDirect2DBrush>(New<TdxDirect2DRadialGradientBrush>(
      AContext, brush->Center(), brush->Radius(), dxGpGradientPointsToD2DStops(brush->GradientPoints(), true)));
}

struct TD2DShapeBrushEntry {
  TClass (*BrushClass)();
  TOwned<TdxDirect2DBrush> (*Create)(ID2D1DeviceContext* AContext, TdxGPCustomBrush* ABrush);
};

constexpr TD2DShapeBrushEntry D2DShapeBrushEntries[] = {
    {&TdxGPSolidBrush::ClassInfo, &D2DSolidBrushOf},
    {&TdxGPTextureBrush::ClassInfo, &D2DTextureBrushOf},
    {&TdxGPLinearGradientBrush::ClassInfo, &D2DLinearGradientBrushOf},
    {&TdxRadialGradientBrush::ClassInfo, &D2DRadialGradientBrushOf},
};

}  // namespace

namespace {

// The canvas resource cache's solid and texture brushes are these.
const TcxCanvasBasedBrushHandle::TGPBrushFactory CanvasBrushFactory = {
    [](TdxAlphaColor AColor) -> TdxGPCustomBrush* { return New<TdxGPSolidBrush>(AColor); },
    [](TdxGPImage* ATexture) -> TdxGPCustomBrush* { return New<TdxGPTextureBrush>(ATexture); },
};

}  // namespace

void dxShapeBrushesInitialization() {
  for (const TD2DShapeBrushEntry& entry : D2DShapeBrushEntries)
    TdxDirect2DBrushFactory::RegisterBrushClass(entry.BrushClass(), entry.Create);
  TcxCanvasBasedBrushHandle::SetGPBrushFactory(&CanvasBrushFactory);
}

void dxShapeBrushesFinalization() {
  TcxCanvasBasedBrushHandle::SetGPBrushFactory(nullptr);
  for (const TD2DShapeBrushEntry& entry : D2DShapeBrushEntries)
    TdxDirect2DBrushFactory::UnregisterBrushClass(entry.BrushClass());
}
