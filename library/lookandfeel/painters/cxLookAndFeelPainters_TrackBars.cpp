// The base painter's track bars and splitters.
#include "library/graphics/canvas/cxCanvasScopes.h"
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters_Internal.h"

#include <vector>

using P = TcxCustomLookAndFeelPainter;

// ---------------------------------------------------------------------------
// Track bars

namespace {

// A thumb's body and its light, shadow and dark outlines.
struct TThumbOutline {
  std::vector<TPoint> Body;
  std::vector<TPoint> Light;
  std::vector<TPoint> Shadow;
  std::vector<TPoint> Dark;
};

// The points of a thumb on a horizontal track bar pointing toward its ticks
// (down or up).
TThumbOutline HorizontalThumbOutline(const TRect& ARect, bool ADown) {
  const int L = ARect.Left, T = ARect.Top, R = ARect.Right, B = ARect.Bottom;
  const int a = ARect.Width() / 2;
  if (ADown)
    return {{TPoint(R - 1, T + 1), TPoint(L + 1, T + 1), TPoint(L + 1, B - a), TPoint(L + a, B - 1),
             TPoint(R - 1, B - a)},
            {TPoint(R, T), TPoint(L, T), TPoint(L, B - a), TPoint(L + a, B)},
            {TPoint(L + a, B - 1), TPoint(R - 1, B - a), TPoint(R - 1, T)},
            {TPoint(L + a, B), TPoint(R, B - a), TPoint(R, T)}};
  const int m = T + a - 1;
  return {{TPoint(R - 1, B - 2), TPoint(L + 1, B - 2), TPoint(L + 1, m), TPoint(L + a, T), TPoint(R - 1, m)},
          {TPoint(L, B - 1), TPoint(L, m), TPoint(L + a, T - 1)},
          {TPoint(L + a, T), TPoint(R - 1, m), TPoint(R - 1, B - 2), TPoint(L, B - 2)},
          {TPoint(L + a, T - 1), TPoint(R, m), TPoint(R, B - 1), TPoint(L, B - 1)}};
}

// The left or right half of that thumb, its slope running the full width
// of ARect from the outer edge to the tip.
TThumbOutline HorizontalHalfThumbOutline(const TRect& ARect, bool ALeft, bool ADown) {
  const int L = ARect.Left, T = ARect.Top, R = ARect.Right, B = ARect.Bottom;
  const int a = ARect.Width();
  if (ALeft && ADown)
    return {{TPoint(R - 1, T + 1), TPoint(L + 1, T + 1), TPoint(L + 1, B - a), TPoint(R - 1, B - 1)},
            {TPoint(R, T), TPoint(L, T), TPoint(L, B - a), TPoint(R, B)},
            {TPoint(R - 1, B - 1), TPoint(R - 1, B - a), TPoint(R - 1, T)},
            {TPoint(R, B), TPoint(R, T)}};
  if (ALeft)
    return {{TPoint(R - 1, B - 2), TPoint(L + 1, B - 2), TPoint(L + 1, T + a - 1), TPoint(R - 1, T)},
            {TPoint(L, B - 1), TPoint(L, T + a - 1), TPoint(R, T - 1)},
            {TPoint(R - 1, T), TPoint(R - 1, B - 2), TPoint(L, B - 2)},
            {TPoint(R, T - 1), TPoint(R, B - 1), TPoint(L, B - 1)}};
  if (ADown)
    return {{TPoint(R - 1, T + 1), TPoint(L + 1, T + 1), TPoint(L + 1, B - 1), TPoint(R - 1, B - a)},
            {TPoint(R, T), TPoint(L, T), TPoint(L, B)},
            {TPoint(L, B - 1), TPoint(R - 1, B - a), TPoint(R - 1, T)},
            {TPoint(L, B), TPoint(R, B - a), TPoint(R, T)}};
  return {{TPoint(R - 1, B - 2), TPoint(L + 1, B - 2), TPoint(L + 1, T), TPoint(R - 1, T + a - 1)},
          {TPoint(L, B - 1), TPoint(L, T - 1)},
          {TPoint(L, T), TPoint(R - 1, T + a - 1), TPoint(R - 1, B - 2), TPoint(L, B - 2)},
          {TPoint(L, T - 1), TPoint(R, T + a - 1), TPoint(R, B - 1), TPoint(L, B - 1)}};
}

TPoint Exchanged(const TPoint& P) { return TPoint(P.Y, P.X); }

// AOutline of the horizontal thumb, given ARect; a vertical one passes it
// ARect with x and y exchanged and exchanges them back in the points.
template <typename TOutline>
TThumbOutline OrientedOutline(const TRect& ARect, bool AHorizontal, TOutline AOutline) {
  if (AHorizontal) return AOutline(ARect);
  TThumbOutline outline = AOutline(TRect(ARect.Top, ARect.Left, ARect.Bottom, ARect.Right));
  for (std::vector<TPoint>* line : {&outline.Body, &outline.Light, &outline.Shadow, &outline.Dark})
    for (TPoint& p : *line) p = Exchanged(p);
  return outline;
}

TThumbOutline ThumbOutline(const TRect& ARect, bool AHorizontal, bool ADown) {
  return OrientedOutline(ARect, AHorizontal,
                         [&](const TRect& R) { return HorizontalThumbOutline(R, ADown); });
}

TThumbOutline HalfThumbOutline(const TRect& ARect, bool AHorizontal, bool ALeft, bool ADown) {
  TThumbOutline outline = OrientedOutline(
      ARect, AHorizontal, [&](const TRect& R) { return HorizontalHalfThumbOutline(R, ALeft, ADown); });
  // Standing, the left thumb's inner shadow edge is one straight line.
  if (!AHorizontal && ALeft && ADown) outline.Shadow = {outline.Shadow.front(), outline.Shadow.back()};
  return outline;
}

void DrawRangeThumb(P* APainter, TcxCanvas* ACanvas, const TRect& ARect, bool AHorizontal, bool ALeft,
                    TcxTrackBarTicksAlign ATicks, TColor AThumbColor) {
  TRect thumb;
  GetRangeThumbRect(ARect, ATicks, AHorizontal, thumb);
  if (ATicks == tbtaBoth) {
    ACanvas->FillRect(thumb, AThumbColor);
    APainter->DrawTrackBarThumbBorderBoth(ACanvas, thumb);
    return;
  }
  const TThumbOutline outline = HalfThumbOutline(thumb, AHorizontal, ALeft, ATicks == tbtaDown);
  ACanvas->Polygon(outline.Body, AThumbColor, AThumbColor);
  APainter->DrawTrackBarThumbBorderUpDown(ACanvas, outline.Light, outline.Shadow, outline.Dark);
}

}  // namespace

void P::CorrectThumbRect(TcxCanvas*, TRect& ARect, bool, TcxTrackBarTicksAlign, const TdxScaleFactor*) {
  --ARect.Right;
  --ARect.Bottom;
}

void P::DrawTrackBarScaledTrack(TcxCanvas* ACanvas, const TRect& ARect, const TRect&, bool, bool, bool,
                                TColor ATrackColor, const TdxScaleFactor*) {
  ACanvas->FillRect(ARect, ATrackColor);
  DrawTrackBarTrackBounds(ACanvas, ARect);
}

void P::DrawTrackBarTrackBounds(TcxCanvas*, const TRect&) {}

void P::DrawTrackBarScaledThumb(TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState, bool AHorizontal,
                                TcxTrackBarTicksAlign ATicks, TColor AThumbColor, const TdxScaleFactor*) {
  if (ATicks == tbtaBoth) {
    ACanvas->FillRect(ARect, AThumbColor);
    DrawTrackBarThumbBorderBoth(ACanvas, ARect);
    return;
  }
  const TThumbOutline outline = ThumbOutline(ARect, AHorizontal, ATicks == tbtaDown);
  ACanvas->Polygon(outline.Body, AThumbColor, AThumbColor);
  DrawTrackBarThumbBorderUpDown(ACanvas, outline.Light, outline.Shadow, outline.Dark);
}

void P::DrawTrackBarThumbBorderUpDown(TcxCanvas*, std::span<const TPoint>, std::span<const TPoint>,
                                      std::span<const TPoint>) {}

void P::DrawTrackBarThumbBorderBoth(TcxCanvas*, const TRect&) {}

TSize P::TrackBarScaledThumbSize(bool, const TdxScaleFactor*) { return TSize(0, 0); }

int P::TrackBarScaledTrackSize(const TdxScaleFactor*) { return 0; }

TColor P::TrackBarTicksColor(bool) { return clDefault; }

void P::DrawTrackBarTrack(TcxCanvas* ACanvas, const TRect& ARect, const TRect& ASelection, bool AShowSelection,
                          bool AEnabled, bool AHorizontal, TColor ATrackColor) {
  DrawTrackBarScaledTrack(ACanvas, ARect, ASelection, AShowSelection, AEnabled, AHorizontal, ATrackColor,
                          SystemScaleFactor());
}

void P::DrawTrackBarThumb(TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState, bool AHorizontal,
                          TcxTrackBarTicksAlign ATicks, TColor AThumbColor) {
  DrawTrackBarScaledThumb(ACanvas, ARect, AState, AHorizontal, ATicks, AThumbColor, SystemScaleFactor());
}

void P::DrawRangeTrackBarScaledLeftThumb(TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState, bool AHorizontal,
                                         TcxTrackBarTicksAlign ATicks, TColor AThumbColor, const TdxScaleFactor*) {
  DrawRangeThumb(this, ACanvas, ARect, AHorizontal, true, ATicks, AThumbColor);
}

void P::DrawRangeTrackBarScaledRightThumb(TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState, bool AHorizontal,
                                          TcxTrackBarTicksAlign ATicks, TColor AThumbColor, const TdxScaleFactor*) {
  DrawRangeThumb(this, ACanvas, ARect, AHorizontal, false, ATicks, AThumbColor);
}

TSize P::RangeTrackBarScaledLeftThumbSize(bool, TcxTrackBarTicksAlign, const TdxScaleFactor*) { return TSize(0, 0); }

TSize P::RangeTrackBarScaledRightThumbSize(bool, TcxTrackBarTicksAlign, const TdxScaleFactor*) { return TSize(0, 0); }

void P::DrawRangeTrackBarLeftThumb(TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState, bool AHorizontal,
                                   TcxTrackBarTicksAlign ATicks, TColor AThumbColor) {
  DrawRangeTrackBarScaledLeftThumb(ACanvas, ARect, AState, AHorizontal, ATicks, AThumbColor, SystemScaleFactor());
}

void P::DrawRangeTrackBarRightThumb(TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState, bool AHorizontal,
                                    TcxTrackBarTicksAlign ATicks, TColor AThumbColor) {
  DrawRangeTrackBarScaledRightThumb(ACanvas, ARect, AState, AHorizontal, ATicks, AThumbColor, SystemScaleFactor());
}

TSize P::RangeTrackBarLeftThumbSize(bool AHorizontal, TcxTrackBarTicksAlign ATicks) {
  return RangeTrackBarScaledLeftThumbSize(AHorizontal, ATicks, SystemScaleFactor());
}

TSize P::RangeTrackBarRightThumbSize(bool AHorizontal, TcxTrackBarTicksAlign ATicks) {
  return RangeTrackBarScaledRightThumbSize(AHorizontal, ATicks, SystemScaleFactor());
}

TSize P::TrackBarThumbSize(bool AHorizontal) { return TrackBarScaledThumbSize(AHorizontal, SystemScaleFactor()); }

int P::TrackBarTrackSize() { return TrackBarScaledTrackSize(SystemScaleFactor()); }

// ---------------------------------------------------------------------------
// Splitters

TColor P::GetSplitterInnerColor(bool) { return clWhite; }

TColor P::GetSplitterOuterColor(bool) { return clBtnShadow; }

TSize P::GetScaledSplitterSize(bool AHorizontal, const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(AHorizontal ? TSize(17, 2) : TSize(2, 17));
}

bool P::HasSplitterInnerLine(bool AHorizontal, const TdxScaleFactor* AScaleFactor) {
  const TSize size = GetScaledSplitterSize(AHorizontal, AScaleFactor);
  return (AHorizontal ? size.cy : size.cx) > 1;
}

void P::DrawScaledSplitter(TcxCanvas* ACanvas, const TRect& ARect, bool AHighlighted, bool AClicked,
                           bool AHorizontal, const TdxScaleFactor* AScaleFactor, bool AHasCloseMark,
                           TcxArrowDirection AArrowDirection) {
  const bool inner = HasSplitterInnerLine(AHorizontal, AScaleFactor);
  TRect line = CenteredIn(ARect, AHorizontal ? TSize(ARect.Width(), 1) : TSize(1, ARect.Height()));
  if (inner) --(AHorizontal ? line.Right : line.Bottom);
  const TcxCanvasStateScope state(ACanvas);
  // Offsets along the line are pixels at every DPI: the dashes are a
  // texture, not a size.
  const auto pattern = [&](const TRect& ALine, TColor AColor) {
    ACanvas->Pen()->SetColor(AColor);
    ACanvas->Pen()->SetWidth(1);
    const int s = AHorizontal ? ALine.Left : ALine.Top;
    const int e = AHorizontal ? ALine.Right : ALine.Bottom;
    const int c = (s + e) / 2;
    const auto segment = [&](int AFrom, int ATo) {
      if (AHorizontal)
        ACanvas->Line(AFrom, ALine.Top, ATo, ALine.Top);
      else
        ACanvas->Line(ALine.Left, AFrom, ALine.Left, ATo);
    };
    segment(s, c - 5);
    if (!AHasCloseMark) {
      segment(c - 4, c - 2);
      segment(c - 1, c + 1);
      segment(c + 2, c + 4);
      segment(c + 5, e);
    } else {
      segment(c + (inner ? 8 : 6), e);
    }
  };
  pattern(line, GetSplitterOuterColor(AHighlighted));
  if (inner) {
    TRect innerLine = line;
    innerLine.Offset(1, 1);
    pattern(innerLine, GetSplitterInnerColor(AHighlighted));
  }
  if (AHasCloseMark)
    DrawSplitterCloseMark(ACanvas, ARect, AHighlighted, AClicked, AHorizontal, AScaleFactor, AArrowDirection);
}

void P::DrawSplitterCloseMark(TcxCanvas* ACanvas, const TRect& ARect, bool, bool, bool AHorizontal,
                              const TdxScaleFactor* AScaleFactor, TcxArrowDirection AArrowDirection) {
  TPoint c((ARect.Left + ARect.Right) / 2, (ARect.Top + ARect.Bottom) / 2);
  if (HasSplitterInnerLine(AHorizontal, AScaleFactor) && (AHorizontal ? ARect.Width() : ARect.Height()) % 2 != 0)
    ++(AHorizontal ? c.X : c.Y);
  const TcxCanvasStateScope state(ACanvas);
  ACanvas->Pen()->SetColor(GetSplitterOuterColor(false));
  ACanvas->Pen()->SetWidth(1);
  const int n = AScaleFactor->Apply(3);
  const int s2 = AScaleFactor->Apply(2), s3 = AScaleFactor->Apply(3), s4 = AScaleFactor->Apply(4),
            s5 = AScaleFactor->Apply(5);
  for (int i = 0; i <= n; ++i)
    for (const int sign : {-1, 1}) {
      const int d = sign * i;
      switch (AArrowDirection) {
        case adUp:
          ACanvas->Line(c.X + d, c.Y - s5 + i, c.X + d, c.Y - s3 + i);
          break;
        case adDown:
          ACanvas->Line(c.X + d, c.Y + s4 - i, c.X + d, c.Y + s2 - i);
          break;
        case adLeft:
          ACanvas->Line(c.X - s5 + i, c.Y + d, c.X - s3 + i, c.Y + d);
          break;
        case adRight:
          ACanvas->Line(c.X + s4 - i, c.Y + d, c.X + s2 - i, c.Y + d);
          break;
      }
    }
}

void P::DrawSplitter(TcxCanvas* ACanvas, const TRect& ARect, bool AHighlighted, bool AClicked, bool AHorizontal,
                     bool AHasCloseMark, TcxArrowDirection AArrowDirection) {
  DrawScaledSplitter(ACanvas, ARect, AHighlighted, AClicked, AHorizontal, SystemScaleFactor(), AHasCloseMark,
                     AArrowDirection);
}

TSize P::GetSplitterSize(bool AHorizontal) { return GetScaledSplitterSize(AHorizontal, SystemScaleFactor()); }

void P::DrawScaledScrollBarSplitter(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                    const TdxScaleFactor* AScaleFactor) {
  DrawNavigatorScaledButton(ACanvas, R, AState, clDefault, AScaleFactor);
  DrawNavigatorBorder(ACanvas, R, false);
  TRect splitter = R;
  splitter.Deflate(2);
  DrawScaledSplitter(ACanvas, splitter, AState == cxbsHot, AState == cxbsPressed, false, AScaleFactor, false, adLeft);
}

// ---------------------------------------------------------------------------
// The range control

namespace {

TdxAlphaColor ChosenOr(TdxAlphaColor AColor, TdxAlphaColor ADefault) {
  return AColor == TdxAlphaColors::Default ? ADefault : AColor;
}

constexpr TdxAlphaColor OpaqueWhite = 0xFFFFFFFF;

// A framed rectangle with three one-pixel grip lines standing in its middle.
void DrawRangeControlThumb(TcxCanvas* ACanvas, const TRect& ARect, TdxAlphaColor AColor, TdxAlphaColor ABorderColor,
                           const TdxScaleFactor* AScaleFactor) {
  const TdxGPPaintCanvasScope paint(ACanvas->Handle(), ARect);
  paint->Rectangle(ARect, ABorderColor, ChosenOr(AColor, OpaqueWhite), 1, psSolid);
  const int step = AScaleFactor->Apply(2);
  const int lineWidth = AScaleFactor->Apply(1);
  const TRect grip = GetCenteredRect(ARect, 2 * step + 1, ARect.Height() - AScaleFactor->Apply(8));
  for (int i = 0; i < 3; ++i) {
    const int x = grip.Left + i * step;
    paint->FillRectangle(TRect(x, grip.Top, x + lineWidth, grip.Bottom), ABorderColor);
  }
}

}  // namespace

void P::DrawRangeControlScaledLeftThumb(TcxCanvas* ACanvas, const TRect& ARect, TdxAlphaColor AColor,
                                        TdxAlphaColor ABorderColor, const TdxScaleFactor* AScaleFactor) {
  DrawRangeControlThumb(ACanvas, ARect, AColor, ABorderColor, AScaleFactor);
}

void P::DrawRangeControlScaledRightThumb(TcxCanvas* ACanvas, const TRect& ARect, TdxAlphaColor AColor,
                                         TdxAlphaColor ABorderColor, const TdxScaleFactor* AScaleFactor) {
  DrawRangeControlThumb(ACanvas, ARect, AColor, ABorderColor, AScaleFactor);
}

void P::DrawRangeControlScaledRulerHeader(TcxCanvas* ACanvas, const TRect& ARect, bool AIsHot, TdxAlphaColor AColor,
                                          TdxAlphaColor ABorderColor, const TdxScaleFactor*) {
  const TdxGPPaintCanvasScope paint(ACanvas->Handle(), ARect);
  paint->FillRectangle(ARect, ChosenOr(AColor, AIsHot ? 0xFFE2EAFD : OpaqueWhite));
  paint->FillRectangle(TRect(ARect.Left, ARect.Top, ARect.Left + 1, ARect.Bottom), ABorderColor);
  paint->FillRectangle(TRect(ARect.Left, ARect.Bottom - 1, ARect.Right, ARect.Bottom), ABorderColor);
}

void P::DrawRangeControlScaledSizingGlyph(TcxCanvas* ACanvas, const TRect& ARect, TdxAlphaColor ABorderColor,
                                          const TdxScaleFactor* AScaleFactor) {
  const TdxGPPaintCanvasScope paint(ACanvas->Handle(), ARect);
  paint->FillRectangle(GetCenteredRect(ARect, AScaleFactor->Apply(1), ARect.Height() - AScaleFactor->Apply(4)),
                       ABorderColor);
}

TColor P::GetRangeControlBackColor() { return clWindow; }

TColor P::GetRangeControlBorderColor() { return TColor(0xAAA09D); }

TColor P::GetRangeControlDefaultElementColor() { return TColor(0xA69A9A); }

TColor P::GetRangeControlElementForeColor() { return TColor(0xE1DEDD); }

TdxAlphaColor P::GetRangeControlElementsBorderColor() { return 0xFFB6B8BF; }

TColor P::GetRangeControlLabelColor() { return TColor(0xBAAEAE); }

TdxAlphaColor P::GetRangeControlOutOfRangeColor() { return 0x1E9DA0AA; }

TColor P::GetRangeControlRangePreviewColor() { return clWindow; }

TdxAlphaColor P::GetRangeControlRulerColor() { return 0x14000000; }

TColor P::GetRangeControlScrollAreaColor() { return TColor(0xE1DEDD); }

TdxAlphaColor P::GetRangeControlSelectedRegionBackgroundColor() { return 0x64A8C3F1; }

TdxAlphaColor P::GetRangeControlSelectedRegionBorderColor() { return 0x644571BA; }

TColor P::GetRangeControlViewPortPreviewColor() { return TColor(0xF2F1F0); }

int P::GetRangeControlScaledScrollAreaHeight(const TdxScaleFactor* AScaleFactor) { return AScaleFactor->Apply(11); }

TSize P::GetRangeControlScaledSizingGlyphSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TSize(5, 9));
}

TSize P::GetRangeControlScaledThumbSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TSize(11, 19));
}

void P::DrawRangeControlLeftThumb(TcxCanvas* ACanvas, const TRect& ARect, TdxAlphaColor AColor,
                                  TdxAlphaColor ABorderColor) {
  DrawRangeControlScaledLeftThumb(ACanvas, ARect, AColor, ABorderColor, SystemScaleFactor());
}

void P::DrawRangeControlRightThumb(TcxCanvas* ACanvas, const TRect& ARect, TdxAlphaColor AColor,
                                   TdxAlphaColor ABorderColor) {
  DrawRangeControlScaledRightThumb(ACanvas, ARect, AColor, ABorderColor, SystemScaleFactor());
}

void P::DrawRangeControlRulerHeader(TcxCanvas* ACanvas, const TRect& ARect, bool AIsHot, TdxAlphaColor AColor,
                                    TdxAlphaColor ABorderColor) {
  DrawRangeControlScaledRulerHeader(ACanvas, ARect, AIsHot, AColor, ABorderColor, SystemScaleFactor());
}

void P::DrawRangeControlSizingGlyph(TcxCanvas* ACanvas, const TRect& ARect, TdxAlphaColor ABorderColor) {
  DrawRangeControlScaledSizingGlyph(ACanvas, ARect, ABorderColor, SystemScaleFactor());
}

int P::GetRangeControlScrollAreaHeight() { return GetRangeControlScaledScrollAreaHeight(SystemScaleFactor()); }

TSize P::GetRangeControlSizingGlyphSize() { return GetRangeControlScaledSizingGlyphSize(SystemScaleFactor()); }

TSize P::GetRangeControlThumbSize() { return GetRangeControlScaledThumbSize(SystemScaleFactor()); }
