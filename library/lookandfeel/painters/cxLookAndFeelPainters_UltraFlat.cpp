// The UltraFlat painter: one-pixel frames in system colours, hot and pressed
// parts filled with blends of the highlight colour.
#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"

// ---------------------------------------------------------------------------
// Painter information

String TcxUltraFlatLookAndFeelPainter::LookAndFeelName() { return L"UltraFlat"; }

TcxLookAndFeelStyle TcxUltraFlatLookAndFeelPainter::LookAndFeelStyle() { return lfsUltraFlat; }
