// What the pixel-buffer unit shares between its source files and with its tests.
#pragma once

#include "library/graphics/imaging/dxPixelBuffers.h"

// The header GetGraphicPixels and SetGraphicPixels read and write with:
// 32-bit BI_RGB rows, the height negated for top-down rows.
BITMAPINFO dxPixelsBitmapInfo(int AWidth, int AHeight, bool ATopDown);

// The slow road of GetGraphicPixels: one GetDIBits call per row (scan lines
// count from the bottom), through a one-row scratch buffer when a direct
// read fails. AColors must hold AWidth x AHeight pixels; true only when
// every row was read.
bool dxReadBitmapRows(HDC ADC, HBITMAP ABitmap, int AWidth, int AHeight, bool ATopDown, TRGBColors& AColors);
