// What the painters unit's source files share among themselves.
#pragma once

#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"

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
// The sides of a scheduler navigation button away from the view's edge.
inline TcxBorders SchedulerNavigationButtonFrameSides(bool AIsNextButton, bool AIsVertical) {
  if (AIsNextButton) return AIsVertical ? TcxBorders{bLeft, bTop, bBottom} : TcxBorders{bTop, bRight, bBottom};
  return AIsVertical ? TcxBorders{bLeft, bTop, bRight} : TcxBorders{bLeft, bRight, bBottom};
}
