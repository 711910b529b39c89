// The UltraFlat painter: one-pixel frames in system colours, hot and pressed
// parts filled with blends of the highlight colour.
#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"

#include "library/lookandfeel/settings/cxLookAndFeels.h"

// ---------------------------------------------------------------------------
// Painter information

String TcxUltraFlatLookAndFeelPainter::LookAndFeelName() { return L"UltraFlat"; }

TcxLookAndFeelStyle TcxUltraFlatLookAndFeelPainter::LookAndFeelStyle() { return lfsUltraFlat; }

// ---------------------------------------------------------------------------
// Default colours

TColor TcxUltraFlatLookAndFeelPainter::DefaultFixedSeparatorColor() {
  return TdxVisualRefinements::LightBorders() ? cl3DDkShadow : inherited::DefaultFixedSeparatorColor();
}

TColor TcxUltraFlatLookAndFeelPainter::DefaultSchedulerBorderColor() { return clBtnShadow; }

TColor TcxUltraFlatLookAndFeelPainter::DefaultSchedulerTimeRulerBorderColor() {
  return DefaultSchedulerTimeRulerBorderColorClassic();
}

TColor TcxUltraFlatLookAndFeelPainter::DefaultSchedulerTimeRulerTextColor() {
  return DefaultSchedulerTimeRulerTextColorClassic();
}
