// The base painter's scroll-bar parts, slider and small buttons, popup
// windows and size grips, and the routine that turns a size grip into any
// corner.
#include "library/core/system/dxDPIAwareUtils.h"
#include "library/graphics/canvas/cxCanvasScopes.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters_Internal.h"
#include "platform/ui/GdiScopes.h"

#include <algorithm>

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

void P::DrawScaledSliderButton(TcxCustomCanvas* ACanvas, const TRect& ARect, TcxArrowDirection ADirection,
                               TcxButtonState AState, const TdxScaleFactor* AScaleFactor) {
  const bool horizontal = ADirection == adLeft || ADirection == adRight;
  const TcxScrollBarPart part = ADirection == adDown || ADirection == adRight ? sbpLineDown : sbpLineUp;
  DrawScaledScrollBarPart(ACanvas, horizontal, ARect, part, AState, AScaleFactor);
}

TSize P::ScaledSliderButtonSize(TcxArrowDirection, const TdxScaleFactor* AScaleFactor) {
  return ScaledSizeGripSize(AScaleFactor);
}

void P::DrawScaledSmallButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, const TdxScaleFactor*) {
  DrawButtonBorder(ACanvas, R, AState);
  TRect face = R;
  face.Deflate(ButtonBorderSize(cxbsNormal));
  ACanvas->FillRect(face, ButtonColor(AState));
}

IPtr<IdxColorPalette> P::GetSmallButtonColorPalette(TcxButtonState) { return {}; }

void P::DrawScaledSmallCloseButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                   const TdxScaleFactor* AScaleFactor) {
  DrawScaledFilterCloseButton(ACanvas, R, AState, AScaleFactor);
}

TSize P::DoGetSmallCloseButtonSize() { return TSize(14, 15); }

TSize P::ScaledSmallCloseButtonSize(const TdxScaleFactor* AScaleFactor) {
  TSize result = AScaleFactor->Apply(DoGetSmallCloseButtonSize());
  // The touch minimum follows the system's DPI, not the control's.
  EnsureTouchModeMinimumSize(result);
  return result;
}

void P::DrawScaledFilterCloseButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                    const TdxScaleFactor* AScaleFactor) {
  DrawScaledSmallButton(ACanvas, R, AState, AScaleFactor);
  DrawScaledButtonCross(ACanvas, R, ButtonSymbolColor(AState, clDefault), ButtonSymbolState(AState), AScaleFactor);
}

TPoint P::ScaledFilterCloseButtonSize(const TdxScaleFactor* AScaleFactor) {
  return TPoint(AScaleFactor->Apply(16), AScaleFactor->Apply(14));
}

void P::DrawSmallCloseButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) {
  DrawScaledSmallCloseButton(ACanvas, R, AState, SystemScaleFactor());
}

void P::DrawFilterCloseButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) {
  DrawScaledFilterCloseButton(ACanvas, R, AState, SystemScaleFactor());
}

TPoint P::FilterCloseButtonSize() { return ScaledFilterCloseButtonSize(SystemScaleFactor()); }

void P::DrawScrollBarBackground(TcxCustomCanvas* ACanvas, const TRect& R, bool AHorizontal) {
  DrawScaledScrollBarBackground(ACanvas, R, AHorizontal, SystemScaleFactor());
}

void P::DrawScrollBarPart(TcxCustomCanvas* ACanvas, bool AHorizontal, const TRect& R, TcxScrollBarPart APart,
                          TcxButtonState AState) {
  DrawScaledScrollBarPart(ACanvas, AHorizontal, R, APart, AState, SystemScaleFactor());
}

int P::ScrollBarMinimalThumbSize(bool AVertical) {
  return ScaledScrollBarMinimalThumbSize(AVertical, SystemScaleFactor());
}

TSize P::SizeGripSize() { return ScaledSizeGripSize(SystemScaleFactor()); }

TSize P::SliderButtonSize(TcxArrowDirection ADirection) {
  return ScaledSliderButtonSize(ADirection, SystemScaleFactor());
}

void P::DrawSliderButton(TcxCustomCanvas* ACanvas, const TRect& ARect, TcxArrowDirection ADirection,
                         TcxButtonState AState) {
  DrawScaledSliderButton(ACanvas, ARect, ADirection, AState, SystemScaleFactor());
}

TSize P::SmallCloseButtonSize() { return ScaledSmallCloseButtonSize(SystemScaleFactor()); }

void P::DrawSmallButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) {
  DrawScaledSmallButton(ACanvas, R, AState, SystemScaleFactor());
}

// ---------------------------------------------------------------------------
// Popup windows

TColor P::GetWindowContentTextColor() { return clBtnText; }

void P::DrawWindowContent(TcxCanvas* ACanvas, const TRect& ARect) { ACanvas->FillRect(ARect, clBtnFace); }

void P::DrawEditPopupWindowBorder(TcxCanvas* ACanvas, TRect& R, TcxEditPopupBorderStyle ABorderStyle,
                                  bool AClientEdge) {
  // Each frame lies a pixel inside the one before; R ends inside the last.
  const auto frame = [&](TColor ALeftTop, TColor ARightBottom) {
    ACanvas->DrawComplexFrame(R, ALeftTop, ARightBottom);
    R.Deflate(1);
  };
  switch (ABorderStyle) {
    case epbsSingle: frame(clBtnText, clBtnText); break;
    case epbsFrame3D:
    case epbsFlat:
      frame(cl3DLight, cl3DDkShadow);
      frame(clBtnHighlight, clBtnShadow);
      if (ABorderStyle == epbsFrame3D) {
        frame(AClientEdge ? clInactiveBorder : clBtnFace, AClientEdge ? clInactiveBorder : clBtnFace);
        if (AClientEdge)
          frame(clBtnFace, clBtnFace);
        else
          frame(clBtnShadow, clBtnHighlight);
      }
      break;
    case epbsDefault:
      // Nothing drawn, yet a pixel in like the others.
      R.Deflate(1);
      break;
  }
}

int P::GetEditPopupWindowBorderWidth(TcxEditPopupBorderStyle AStyle) {
  static constexpr int Widths[] = {0, 1, 4, 2};
  return Widths[AStyle];
}

int P::GetEditPopupWindowClientEdgeWidth(TcxEditPopupBorderStyle AStyle) {
  static constexpr int Widths[] = {0, 2, 2, 1};
  return Widths[AStyle];
}

TcxPopupBorderStyle P::PopupBorderStyle() { return pbsUltraFlat; }

void P::CalculateScaledPopupPanelClientRect(TRect& AClientRect, TRect& APanelRect, TRect& AGripRect,
                                            TRect& ACloseButtonRect, TdxCorner ACorner, const TRect& ABorders,
                                            const TRect& APanelBorders, const TdxScaleFactor* AScaleFactor,
                                            int APanelHeight, bool AShowCloseButton, bool AShowGripSize) {
  const int panelHeight = APanelHeight == 0 ? ScaledPopupPanelSize(AScaleFactor) : APanelHeight;
  const bool top = ACorner == coTopLeft || ACorner == coTopRight;
  const bool right = ACorner == coTopRight || ACorner == coBottomRight;
  AClientRect = TRect(AClientRect.Left + ABorders.Left, AClientRect.Top + ABorders.Top,
                      AClientRect.Right - ABorders.Right, AClientRect.Bottom - ABorders.Bottom);
  APanelRect = AClientRect;
  if (top) {
    APanelRect.Bottom = APanelRect.Top + panelHeight;
    AClientRect.Top = APanelRect.Bottom;
  } else {
    APanelRect.Top = APanelRect.Bottom - panelHeight;
    AClientRect.Bottom = APanelRect.Top;
  }

  AGripRect = TRect();
  if (AShowGripSize) {
    // The insets from the band's edges are not scaled.
    const TSize grip = ScaledSizeGripSize(AScaleFactor);
    AGripRect = APanelRect;
    if (right) {
      AGripRect.Right -= 2;
      AGripRect.Left = AGripRect.Right - grip.cx;
    } else {
      AGripRect.Left += 2;
      AGripRect.Right = AGripRect.Left + grip.cx;
    }
    if (top) {
      AGripRect.Top += 2;
      AGripRect.Bottom = AGripRect.Top + grip.cy;
    } else {
      AGripRect.Bottom -= 2;
      AGripRect.Top = AGripRect.Bottom - grip.cy;
    }
  }

  ACloseButtonRect = TRect();
  if (AShowCloseButton) {
    const TRect strip(APanelRect.Left + APanelBorders.Left, APanelRect.Top + APanelBorders.Top,
                      APanelRect.Right - APanelBorders.Right, APanelRect.Bottom - APanelBorders.Bottom);
    const int side = strip.Height();
    const TRect square = right ? TRect(strip.Left, strip.Top, strip.Left + side, strip.Bottom)
                               : TRect(strip.Right - side, strip.Top, strip.Right, strip.Bottom);
    const TSize size = ScaledSmallCloseButtonSize(AScaleFactor);
    ACloseButtonRect.Left = square.Left + (square.Width() - size.cx) / 2;
    ACloseButtonRect.Top = square.Top + (square.Height() - size.cy) / 2;
    ACloseButtonRect.SetWidth(size.cx);
    ACloseButtonRect.SetHeight(size.cy);
  }
}

void P::CalculatePopupPanelClientRect(TRect& AClientRect, TRect& APanelRect, TRect& AGripRect,
                                      TRect& ACloseButtonRect, TdxCorner ACorner, const TRect& ABorders,
                                      const TRect& APanelBorders, int APanelHeight, bool AShowCloseButton,
                                      bool AShowGripSize) {
  CalculateScaledPopupPanelClientRect(AClientRect, APanelRect, AGripRect, ACloseButtonRect, ACorner, ABorders,
                                      APanelBorders, SystemScaleFactor(), APanelHeight, AShowCloseButton,
                                      AShowGripSize);
}

void P::DrawScaledPopupPanelBand(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& AGripRect,
                                 const TRect& ACloseButtonRect, TdxCorner AGripCorner,
                                 TcxButtonState ACloseButtonState, const TRect& ABorders, TColor ABorderColor,
                                 const TdxScaleFactor* AScaleFactor, bool AShowGripSize, bool AShowCloseButton) {
  const TRect inner(ABounds.Left + ABorders.Left, ABounds.Top + ABorders.Top, ABounds.Right - ABorders.Right,
                    ABounds.Bottom - ABorders.Bottom);
  {
    // Only the border lines take the border colour.
    const TcxClipRegionScope clip(ACanvas);
    ACanvas->ExcludeClipRect(inner);
    ACanvas->FillRect(ABounds, ABorderColor);
  }
  if (AShowGripSize && !AGripRect.IsEmpty()) {
    // The grip is turned over the window content in a bitmap of its own.
    const TOwned<TcxBitmap> bitmap(NewWith<TcxBitmap>(
        [&](TcxBitmap* ABitmap) { ABitmap->CreateSize(AGripRect.Width(), AGripRect.Height()); }));
    TcxCanvas* canvas = bitmap->cxCanvas();
    DrawWindowContent(canvas, bitmap->ClientRect());
    DrawScaledSizeGrip(canvas, bitmap->ClientRect(), AScaleFactor, clNone, AGripCorner);
    BitBlt(ACanvas->Handle(), AGripRect.Left, AGripRect.Top, AGripRect.Width(), AGripRect.Height(), canvas->Handle(),
           0, 0, SRCCOPY);
    ACanvas->ExcludeClipRect(AGripRect);
  }
  if (AShowCloseButton) {
    DrawWindowContent(ACanvas, ACloseButtonRect);
    DrawScaledSmallCloseButton(ACanvas, ACloseButtonRect, ACloseButtonState, AScaleFactor);
    ACanvas->ExcludeClipRect(ACloseButtonRect);
  }
  DrawWindowContent(ACanvas, inner);
  ACanvas->ExcludeClipRect(ABounds);
}

void P::DrawPopupPanelBand(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& AGripRect,
                           const TRect& ACloseButtonRect, TdxCorner AGripCorner, TcxButtonState ACloseButtonState,
                           const TRect& ABorders, TColor ABorderColor, bool AShowGripSize, bool AShowCloseButton) {
  DrawScaledPopupPanelBand(ACanvas, ABounds, AGripRect, ACloseButtonRect, AGripCorner, ACloseButtonState, ABorders,
                           ABorderColor, SystemScaleFactor(), AShowGripSize, AShowCloseButton);
}

void P::DrawScaledPopupNCPanel(HWND AHandle, bool AMouseAboveCloseButton, bool ACloseButtonIsTracking,
                               TdxCorner ACorner, const TRect& ACloseButtonRect, const TRect& AGripRect,
                               TColor ABorderColor, const TdxScaleFactor* AScaleFactor) {
  // Everything in window coordinates: the window's top-left corner is (0, 0).
  RECT windowRect{};
  GetWindowRect(AHandle, &windowRect);
  const TPoint origin(windowRect.left, windowRect.top);
  const TRect window(0, 0, windowRect.right - windowRect.left, windowRect.bottom - windowRect.top);
  RECT clientRect{};
  GetClientRect(AHandle, &clientRect);
  MapWindowPoints(AHandle, nullptr, reinterpret_cast<POINT*>(&clientRect), 2);
  TRect client(clientRect);
  client.Offset(-origin.X, -origin.Y);
  const int border = client.Left;

  const TWindowDC dc(AHandle, true);
  if (!dc) return;
  const TcxPaintCanvasScope paint(dc.Get());
  TcxCanvas* canvas = paint.Canvas();
  canvas->FrameRect(window, ABorderColor, border);

  const bool top = ACorner == coTopLeft || ACorner == coTopRight;
  TRect band = window;
  band.Deflate(border);
  if (top)
    band.Bottom = client.Top;
  else
    band.Top = client.Bottom;
  TRect closeButton = ACloseButtonRect;
  closeButton.Offset(-origin.X, -origin.Y);
  TRect grip = AGripRect;
  grip.Offset(-origin.X, -origin.Y);
  const TcxButtonState state = AMouseAboveCloseButton && ACloseButtonIsTracking   ? cxbsPressed
                               : AMouseAboveCloseButton || ACloseButtonIsTracking ? cxbsHot
                                                                                  : cxbsNormal;
  // One border line on the band's client side.
  const TRect borders = top ? TRect(0, 0, 0, 1) : TRect(0, 1, 0, 0);
  DrawScaledPopupPanelBand(canvas, band, grip, closeButton, ACorner, state, borders, ABorderColor, AScaleFactor);
}

void P::DrawPopupNCPanel(HWND AHandle, bool AMouseAboveCloseButton, bool ACloseButtonIsTracking, TdxCorner ACorner,
                         const TRect& ACloseButtonRect, const TRect& AGripRect, TColor ABorderColor) {
  DrawScaledPopupNCPanel(AHandle, AMouseAboveCloseButton, ACloseButtonIsTracking, ACorner, ACloseButtonRect,
                         AGripRect, ABorderColor, SystemScaleFactor());
}

int P::ScaledPopupPanelSize(const TdxScaleFactor* AScaleFactor) {
  return std::max({GetSystemMetricsForScaleFactor(SM_CYHSCROLL, AScaleFactor) + 3,
                   ScaledSizeGripSize(AScaleFactor).cy + 4, ScaledSmallCloseButtonSize(AScaleFactor).cy + 6});
}

int P::PopupPanelSize() { return ScaledPopupPanelSize(SystemScaleFactor()); }

// ---------------------------------------------------------------------------
// Size grips

void P::DoDrawSizeGrip(TcxCanvas* ACanvas, const TRect& ARect, const TdxScaleFactor*) {
  RECT r = ARect;
  DrawFrameControl(ACanvas->Handle(), &r, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
}

void P::DoDrawSizeGrip(TcxCanvas* ACanvas, const TRect& ARect) { DoDrawSizeGrip(ACanvas, ARect, SystemScaleFactor()); }

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
