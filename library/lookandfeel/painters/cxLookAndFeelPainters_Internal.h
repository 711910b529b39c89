// What the painters unit's source files share among themselves.
#pragma once

#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"

#include <algorithm>
#include <array>

// True from the unit's finalize procedure on.
bool cxLookAndFeelPaintersFinalized();
// The manager when it has been made (never makes it).
TcxLookAndFeelPaintersManager* cxPaintersManagerIfExists();
// Hands the manager to the global object destroyer.
void cxFreePaintersManager();
// AValue / 2 rounded down, also for negative values.
constexpr int FloorHalf(int AValue) { return AValue >= 0 ? AValue / 2 : -((-AValue + 1) / 2); }
constexpr TColor Rgb(int R, int G, int B) { return TColor(RGB(R, G, B)); }
// A palette that paints every fill in AFillColor and leaves strokes alone.
inline IPtr<IdxColorPalette> OneColorPalette(TdxAlphaColor AFillColor) {
  return IPtr<IdxColorPalette>(New<TdxSimpleColorPalette>(AFillColor, TdxAlphaColor(0)));
}
// ASize centred in R (rounded towards R's top-left).
inline TRect CenteredIn(const TRect& R, const TSize& ASize) {
  const int left = R.Left + (R.Width() - ASize.cx) / 2;
  const int top = R.Top + (R.Height() - ASize.cy) / 2;
  return TRect(left, top, left + ASize.cx, top + ASize.cy);
}
// The arrow of a scroll bar's line part: left and right on a horizontal
// bar, up and down on a vertical one.
constexpr TcxArrowDirection ScrollBarLineArrow(bool AHorizontal, TcxScrollBarPart APart) {
  const bool up = APart == sbpLineUp;
  return AHorizontal ? (up ? adLeft : adRight) : (up ? adUp : adDown);
}
// The sides of a scheduler navigation button away from the view's edge.
inline TcxBorders SchedulerNavigationButtonFrameSides(bool AIsNextButton, bool AIsVertical) {
  if (AIsNextButton) return AIsVertical ? TcxBorders{bLeft, bTop, bBottom} : TcxBorders{bTop, bRight, bBottom};
  return AIsVertical ? TcxBorders{bLeft, bTop, bRight} : TcxBorders{bLeft, bRight, bBottom};
}
// The milestone diamond in the square of even side centred in R.
inline std::array<TPoint, 4> MilestoneDiamond(const TRect& R) {
  const int side = std::min(R.Width(), R.Height()) / 2 * 2;
  const TRect square = CenteredIn(R, TSize(side, side));
  const int half = side / 2;
  return {TPoint(square.Left, square.Top + half), TPoint(square.Left + half, square.Top),
          TPoint(square.Left + side, square.Top + half), TPoint(square.Left + half, square.Top + side)};
}
