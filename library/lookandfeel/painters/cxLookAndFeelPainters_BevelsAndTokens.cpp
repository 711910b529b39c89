// The base painter's bevels and token backgrounds.
#include "library/graphics/canvas/cxCanvasScopes.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters_Internal.h"

#include <utility>

using P = TcxCustomLookAndFeelPainter;

// ---------------------------------------------------------------------------
// Bevels

void P::GetBevelShapeColors(TColor& AColor1, TColor& AColor2) {
  AColor1 = clBtnShadow;
  AColor2 = clBtnHighlight;
}

TSize P::GetBevelMinimalShapeSize(TdxBevelShape) { return TSize(2, 2); }

void P::DrawBevelFrame(TcxCustomCanvas* ACanvas, const TRect& R, TColor AColor1, TColor AColor2, bool ABoxStyle) {
  if (AColor2 == clNone) {
    ACanvas->FrameRect(R, AColor1);
  } else if (ABoxStyle) {
    ACanvas->DrawComplexFrame(R, AColor1, AColor2);
  } else {
    // Etched: the second colour one pixel down and right of the first.
    const TRect lower(R.Left + 1, R.Top + 1, R.Right, R.Bottom);
    ACanvas->FrameRect(lower, AColor2);
    ACanvas->FrameRect(TRect(R.Left, R.Top, R.Right - 1, R.Bottom - 1), AColor1);
  }
}

void P::DrawBevelLine(TcxCustomCanvas* ACanvas, const TRect& R, TColor AColor1, TColor AColor2, bool AIsVertical) {
  if (AColor2 == clNone)
    ACanvas->FillRect(R, AColor1);
  else
    ACanvas->DrawComplexFrame(R, AColor1, AColor2, AIsVertical ? TcxBorders{bLeft, bRight} : TcxBorders{bTop, bBottom});
}

void P::DrawBevelShape(TcxCustomCanvas* ACanvas, const TRect& R, TdxBevelShape AShape, TdxBevelStyle AStyle) {
  const TSize size = GetBevelMinimalShapeSize(AShape);
  TColor color1 = clNone;
  TColor color2 = clNone;
  GetBevelShapeColors(color1, color2);
  if (AStyle == dxbsRaised) std::swap(color1, color2);
  // A one-colour bevel keeps its colour first whatever the style.
  if (color1 == clNone) std::swap(color1, color2);
  const int centreLeft = FloorHalf(R.Left + R.Right - size.cx);
  const int centreTop = FloorHalf(R.Top + R.Bottom - size.cy);
  switch (AShape) {
    case dxbsNone: break;
    case dxbsBox:
    case dxbsFrame: DrawBevelFrame(ACanvas, R, color1, color2, AShape == dxbsBox); break;
    case dxbsLineTop:
      DrawBevelLine(ACanvas, TRect(R.Left, R.Top, R.Right, R.Top + size.cy), color1, color2, false);
      break;
    case dxbsLineBottom:
      DrawBevelLine(ACanvas, TRect(R.Left, R.Bottom - size.cy, R.Right, R.Bottom), color1, color2, false);
      break;
    case dxbsLineLeft:
      DrawBevelLine(ACanvas, TRect(R.Left, R.Top, R.Left + size.cx, R.Bottom), color1, color2, true);
      break;
    case dxbsLineRight:
      DrawBevelLine(ACanvas, TRect(R.Right - size.cx, R.Top, R.Right, R.Bottom), color1, color2, true);
      break;
    case dxbsLineCenteredHorz:
      DrawBevelLine(ACanvas, TRect(centreLeft, R.Top, centreLeft + size.cx, R.Bottom), color1, color2, true);
      break;
    case dxbsLineCenteredVert:
      DrawBevelLine(ACanvas, TRect(R.Left, centreTop, R.Right, centreTop + size.cy), color1, color2, false);
      break;
  }
}

// ---------------------------------------------------------------------------
// Tokens

void P::DrawScaledTokenBackground(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                  const TdxScaleFactor* AScaleFactor) {
  const TcxClipRegionScope clip(ACanvas);
  ACanvas->FrameRect(R, clBtnShadow);
  if (AState == cxbsNormal || AState == cxbsDisabled) return;
  TRect inner = R;
  inner.Deflate(1);
  ACanvas->IntersectClipRect(inner);
  DrawScaledButton(ACanvas, R, AState, AScaleFactor, true, false, cxbpButton, clDefault);
}

void P::DrawTokenBackground(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState) {
  DrawScaledTokenBackground(ACanvas, R, AState, SystemScaleFactor());
}

void P::DrawScaledTokenCloseGlyph(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                  const TdxScaleFactor* AScaleFactor) {
  DrawScaledButtonCrossEx(ACanvas, R, GetTokenTextColor(AState), AState, 7, AScaleFactor);
}

TSize P::GetScaledTokenCloseGlyphSize(const TdxScaleFactor* AScaleFactor) {
  TSize result = AScaleFactor->Apply(TSize(12, 11));
  EnsureTouchModeMinimum(result.cx);
  return result;
}

TRect P::GetScaledTokenContentOffsets(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TRect(3, 3, 3, 3));
}

TSize P::GetScaledTokenDefaultGlyphSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TSize(12, 12));
}

IPtr<IdxColorPalette> P::GetTokenColorPalette(TcxButtonState) { return {}; }

TColor P::GetTokenTextColor(TcxButtonState AState) { return ButtonSymbolColor(AState, clDefault); }

void P::DrawTokenCloseGlyph(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) {
  DrawScaledTokenCloseGlyph(ACanvas, R, AState, SystemScaleFactor());
}

TSize P::GetTokenCloseGlyphSize() { return GetScaledTokenCloseGlyphSize(SystemScaleFactor()); }

TRect P::GetTokenContentOffsets() { return GetScaledTokenContentOffsets(SystemScaleFactor()); }

TSize P::GetTokenDefaultGlyphSize() { return GetScaledTokenDefaultGlyphSize(SystemScaleFactor()); }
