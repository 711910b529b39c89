// The base painter's scroll-bar parts and size grips, and the routine that
// turns a size grip into any corner.
#include "library/core/system/dxDPIAwareUtils.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters_Internal.h"

using P = TcxCustomLookAndFeelPainter;

// ---------------------------------------------------------------------------
// Scroll bars

void P::DrawScaledScrollBarBackground(TcxCustomCanvas* ACanvas, const TRect& R, bool AHorizontal,
                                      const TdxScaleFactor* AScaleFactor) {
  DrawScaledScrollBarPart(ACanvas, AHorizontal, R, sbpPageUp, cxbsNormal, AScaleFactor);
}

void P::DrawScaledScrollBarPart(TcxCustomCanvas* ACanvas, bool AHorizontal, const TRect& R, TcxScrollBarPart APart,
                                TcxButtonState AState, const TdxScaleFactor* AScaleFactor) {
  if (AHorizontal && ACanvas->UseRightToLeftAlignment()) {
    if (APart == sbpLineUp)
      APart = sbpLineDown;
    else if (APart == sbpLineDown)
      APart = sbpLineUp;
  }
  DoDrawScaledScrollBarPart(ACanvas, AHorizontal, AScaleFactor, AState, APart, R);
}

int P::ScaledScrollBarMinimalThumbSize(bool, const TdxScaleFactor* AScaleFactor) { return AScaleFactor->Apply(8); }

void P::DoDrawScaledScrollBarPart(TcxCustomCanvas* ACanvas, bool, const TdxScaleFactor* AScaleFactor,
                                  TcxButtonState AState, TcxScrollBarPart APart, const TRect& R) {
  if (APart != sbpPageUp && APart != sbpPageDown) return;
  TBrush* brush = cxLookAndFeelHalftoneBrush(AState == cxbsPressed ? 1 : 0);
  const auto dpi = static_cast<std::uint16_t>(AScaleFactor->Apply(96));
  ACanvas->DrawNativeObject(R, TcxCanvasBasedResourceCacheKey::Create(this, R.GetSize(), AState, APart, dpi),
                            [brush](TcxGdiBasedCanvas* ACanvas, const TRect& ARect) {
                              const RECT r = ARect;
                              FillRect(ACanvas->Handle(), &r, brush->Handle());
                            });
}

// ---------------------------------------------------------------------------
// Size grips

void P::DoDrawSizeGrip(TcxCanvas* ACanvas, const TRect& ARect, const TdxScaleFactor*) {
  RECT r = ARect;
  DrawFrameControl(ACanvas->Handle(), &r, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
}

void P::DrawScaledSizeGrip(TcxCanvas* ACanvas, const TRect& ARect, const TdxScaleFactor* AScaleFactor,
                           TColor ABackgroundColor, TdxCorner ACorner) {
  cxDrawSizeGrip(
      ACanvas, ARect,
      [this, AScaleFactor](TcxCanvas* ABitmapCanvas, const TRect& R) { DoDrawSizeGrip(ABitmapCanvas, R, AScaleFactor); },
      ABackgroundColor, ACorner);
}

TSize P::ScaledSizeGripSize(const TdxScaleFactor* AScaleFactor) {
  return TSize(GetSystemMetricsForScaleFactor(SM_CXVSCROLL, AScaleFactor),
               GetSystemMetricsForScaleFactor(SM_CYHSCROLL, AScaleFactor));
}

void P::DrawSizeGrip(TcxCanvas* ACanvas, const TRect& ARect, TColor ABackgroundColor, TdxCorner ACorner) {
  DrawScaledSizeGrip(ACanvas, ARect, SystemScaleFactor(), ABackgroundColor, ACorner);
}

void cxDrawSizeGrip(TcxCanvas* ACanvas, const TRect& ARect, const TcxDrawSizeGripProc& AProc,
                    TColor ABackgroundColor, TdxCorner ACorner) {
  if (ARect.IsEmpty()) return;
  const TOwned<TcxBitmap> bitmap(
      NewWith<TcxBitmap>([&](TcxBitmap* ABitmap) { ABitmap->CreateSize(ARect.Width(), ARect.Height()); }));
  TcxCanvas* canvas = bitmap->cxCanvas();
  canvas->Brush()->Assign(ACanvas->Brush());
  if (ABackgroundColor == clNone)
    BitBlt(canvas->Handle(), 0, 0, ARect.Width(), ARect.Height(), ACanvas->Handle(), ARect.Left, ARect.Top, SRCCOPY);
  else
    canvas->FillRect(bitmap->ClientRect(), ABackgroundColor == clDefault ? ACanvas->Brush()->Color()
                                                                         : ABackgroundColor);
  // The grip procedure draws bottom-right: turn the bitmap so that ACorner
  // lies there, and back afterwards (each turn undoes itself).
  const TcxRotationAngle angle = ACorner == coTopLeft || ACorner == coBottomLeft ? ra180 : ra0;
  const bool flip = ACorner == coTopRight || ACorner == coBottomLeft;
  bitmap->Rotate(angle, flip);
  if (AProc) AProc(canvas, bitmap->ClientRect());
  bitmap->Rotate(angle, flip);
  if (ABackgroundColor != clNone && ABackgroundColor != clDefault) {
    // What the grip left of its own face takes the background colour, from
    // the corner opposite the grip.
    const int right = ARect.Width() - 1;
    const int bottom = ARect.Height() - 1;
    const TPoint start = ACorner == coTopLeft      ? TPoint(right, bottom)
                         : ACorner == coTopRight   ? TPoint(0, bottom)
                         : ACorner == coBottomLeft ? TPoint(right, 0)
                                                   : TPoint(0, 0);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(ABackgroundColor);
    canvas->Canvas()->FloodFill(start.X, start.Y,
                                static_cast<TColor>(GetPixel(canvas->Handle(), start.X, start.Y)), fsSurface);
  }
  BitBlt(ACanvas->Handle(), ARect.Left, ARect.Top, ARect.Width(), ARect.Height(), canvas->Handle(), 0, 0, SRCCOPY);
}
