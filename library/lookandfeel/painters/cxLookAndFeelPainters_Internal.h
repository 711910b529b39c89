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
// The arrow of a scroll bar's line part: left and right on a horizontal
// bar, up and down on a vertical one.
constexpr TcxArrowDirection ScrollBarLineArrow(bool AHorizontal, TcxScrollBarPart APart) {
  const bool up = APart == sbpLineUp;
  return AHorizontal ? (up ? adLeft : adRight) : (up ? adUp : adDown);
}
