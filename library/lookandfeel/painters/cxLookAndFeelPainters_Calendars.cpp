// The base painter's modern calendar parts and the modern clock.
#include "library/core/base/dxCore.h"
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters_Internal.h"

#include <cmath>
#include <numbers>

using P = TcxCustomLookAndFeelPainter;

// ---------------------------------------------------------------------------
// Modern calendars

void P::DrawModernCalendarDateCellSelection(TcxCustomCanvas* ACanvas, const TRect& ARect,
                                            TcxCalendarElementStates AStates) {
  TRect inner = ARect;
  inner.Deflate(1);
  const bool hot = AStates.Contains(cesHot);
  const bool selected = AStates.Contains(cesSelected);
  if (hot || selected) {
    TColor frame = Rgb(112, 192, 231);
    TColor fill = Rgb(229, 243, 251);
    if (selected && hot) {
      frame = Rgb(102, 167, 232);
      fill = Rgb(209, 232, 255);
    } else if (selected && AStates.Contains(cesFocused)) {
      frame = Rgb(38, 160, 218);
      fill = Rgb(203, 232, 246);
    } else if (selected) {
      frame = Rgb(222, 222, 222);
      fill = Rgb(247, 247, 247);
    }
    ACanvas->FrameRect(ARect, frame);
    ACanvas->FillRect(inner, fill);
  }
  if (AStates.Contains(cesMarked)) ACanvas->FrameRect(ARect, GetModernCalendarMarkedCellBorderColor());
  if (AStates.Contains(cesFocused)) ACanvas->FocusRectangle(inner);
}

void P::DrawModernCalendarDateHeaderSelection(TcxCustomCanvas*, const TRect&, TcxCalendarElementStates) {}

void P::DrawModernCalendarHeaderSelection(TcxCanvas* ACanvas, const TRect&, TcxCalendarElementStates AStates) {
  if (AStates.Contains(cesHot) || AStates.Contains(cesPressed))
    ACanvas->Font()->SetStyle(ACanvas->Font()->Style() + TFontStyles{fsUnderline});
}

TColor P::GetModernCalendarCellTextColor(TcxCalendarElementStates AStates) {
  if (AStates.Contains(cesDisabled)) return clGrayText;
  if (AStates.Contains(cesHot) || (AStates.Contains(cesMarked) && !AStates.Contains(cesSelected)))
    return GetModernCalendarSelectedTextColor();
  if (AStates.Contains(cesHighlighted)) return DefaultDateNavigatorWeekendTextColor();
  return clBtnText;
}

TColor P::GetModernCalendarDateHeaderTextColor(TcxCalendarElementStates AStates) {
  return AStates == TcxCalendarElementStates{cesHot} ? GetModernCalendarSelectedTextColor()
                                                     : DefaultDateNavigatorHeaderTextColor(false);
}

TColor P::GetModernCalendarHeaderTextColor(TcxCalendarElementStates) { return clHotLight; }

TColor P::GetModernCalendarMarkedCellBorderColor() { return clHotLight; }

TColor P::GetModernCalendarSelectedTextColor() { return clHotLight; }

TRect P::GetModernCalendarHeaderTextOffsets() { return TRect(); }

void P::DrawScaledModernCalendarArrow(TcxCustomCanvas* ACanvas, const TRect& ARect, TcxArrowDirection ADirection,
                                      TcxCalendarElementStates AState, const TdxScaleFactor*) {
  TRect r = ARect;
  --r.Bottom;
  TcxArrowPoints points;
  CalculateArrowPoints(r, points, ADirection, false);
  TColor color = clBtnText;
  if (AState.Contains(cesHot) || AState.Contains(cesPressed))
    color = GetModernCalendarSelectedTextColor();
  else if (AState.Contains(cesDisabled))
    color = clGrayText;
  ACanvas->Polygon(points, color, color);
}

void P::DrawModernCalendarArrow(TcxCustomCanvas* ACanvas, const TRect& ARect, TcxArrowDirection ADirection,
                                TcxCalendarElementStates AState) {
  DrawScaledModernCalendarArrow(ACanvas, ARect, ADirection, AState, SystemScaleFactor());
}

// ---------------------------------------------------------------------------
// The modern clock

void P::DrawModernCalendarClock(TcxCanvas* ACanvas, const TRect& ARect, TDateTime ADateTime, TColor ABackgroundColor,
                                const TdxScaleFactor* AScaleFactor) {
  if (ARect.IsEmpty()) return;
  // Composed at the bitmap's own origin, whatever ARect's place on the
  // canvas, then put back under ARect.
  const TOwned<TcxBitmap> bitmap(
      NewWith<TcxBitmap>([&](TcxBitmap* ABitmap) { ABitmap->CreateSize(ARect.Width(), ARect.Height()); }));
  TcxCanvas* canvas = bitmap->cxCanvas();
  const TRect face = bitmap->ClientRect();
  if (ABackgroundColor == clNone)
    BitBlt(canvas->Handle(), 0, 0, face.Width(), face.Height(), ACanvas->Handle(), ARect.Left, ARect.Top, SRCCOPY);
  else
    canvas->FillRect(face, ABackgroundColor);
  CachedImage(FClockFace, L"CX_CLOCKFACE", L"PNG")->StretchDraw(canvas->Handle(), face);
  DrawScaledModernClockHands(canvas, face, ADateTime, Rgb(70, 70, 70), AScaleFactor);
  CachedImage(FClockGlass, L"CX_CLOCKGLASS", L"PNG")->StretchDraw(canvas->Handle(), face);
  BitBlt(ACanvas->Handle(), ARect.Left, ARect.Top, face.Width(), face.Height(), canvas->Handle(), 0, 0, SRCCOPY);
}

TSize P::ClockFaceSize() {
  const TdxSmartImage* face = CachedImage(FClockFace, L"CX_CLOCKFACE", L"PNG");
  return TSize(face->Width(), face->Height());
}

void P::DrawScaledModernClockHands(TcxCanvas* ACanvas, const TRect& ARect, TDateTime ADateTime, TColor AColor,
                                   const TdxScaleFactor* AScaleFactor) {
  int hours = 0, minutes = 0, seconds = 0, milliseconds = 0;
  DecodeTime(ADateTime, hours, minutes, seconds, milliseconds);
  const TdxGPPaintCanvasScope paint(ACanvas->Handle(), ARect);
  paint->SetSmoothingMode(smAntiAlias);
  const double xc = (ARect.Left + ARect.Right) / 2.0;
  const double yc = (ARect.Top + ARect.Bottom) / 2.0;
  const double halfWidth = ARect.Width() / 2.0;
  const double halfHeight = ARect.Height() / 2.0;
  const double scale = static_cast<double>(AScaleFactor->Numerator()) / AScaleFactor->Denominator();
  const TdxAlphaColor color = ColorToAlphaColor(AColor);
  // Angles run clockwise from three o'clock (y grows downwards); a hand
  // reaches L of the way to the rim and its tail T behind the centre.
  const auto hand = [&](double AAngle, double L, double T, double AWidth) {
    const double c = std::cos(AAngle), s = std::sin(AAngle);
    paint->Line(static_cast<float>(xc - c * halfWidth * T), static_cast<float>(yc - s * halfHeight * T),
                static_cast<float>(xc + c * halfWidth * L), static_cast<float>(yc + s * halfHeight * L), color,
                static_cast<float>(AWidth * scale), psSolid);
  };
  constexpr double turn = 2 * std::numbers::pi;
  hand(((hours % 12) * 3600 + minutes * 60 + seconds - 10800) * turn / 12 / 60 / 60, 0.55, 0.05, 1.8);
  hand((minutes * 60 + seconds - 900) * turn / 60 / 60, 0.7, 0.05, 1.8);
  hand((seconds - 15) * turn / 60, 0.745, 0.1, 1);
}

void P::DrawModernClockHands(TcxCanvas* ACanvas, const TRect& ARect, TDateTime ADateTime, TColor AColor) {
  DrawScaledModernClockHands(ACanvas, ARect, ADateTime, AColor, DefaultScaleFactor());
}

// ---------------------------------------------------------------------------
// Month headers

void P::DrawMonthHeaderArrows(TcxCustomCanvas* ACanvas, const TRect& R, TcxArrowDirections AArrows, int,
                              TColor AColor) {
  const int side = R.Height();
  if (AArrows.Contains(adLeft)) DrawArrow(ACanvas, TRect(R.Left, R.Top, R.Left + side, R.Bottom), adLeft, AColor);
  if (AArrows.Contains(adRight)) DrawArrow(ACanvas, TRect(R.Right - side, R.Top, R.Right, R.Bottom), adRight, AColor);
}
