// What the painters unit's source files share among themselves.
#pragma once

#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"

// True from the unit's finalize procedure on.
bool cxLookAndFeelPaintersFinalized();
// The manager when it has been made (never makes it).
TcxLookAndFeelPaintersManager* cxPaintersManagerIfExists();
// Hands the manager to the global object destroyer.
void cxFreePaintersManager();
