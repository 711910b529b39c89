// Comparing a painter's picture with the system's picture of the same part,
// pixel by pixel.
#pragma once

#include "tests/support/Pixels.h"

#include <string>

// The pixels inside R whose RGB differs between the two surfaces.
inline int DifferingPixels(const TPixelSurface& A, const TPixelSurface& B, const TRect& R) {
  int result = 0;
  for (int y = R.Top; y < R.Bottom; ++y)
    for (int x = R.Left; x < R.Right; ++x)
      if (A.Pixel(x, y) != B.Pixel(x, y)) ++result;
  return result;
}
inline int DifferingPixels(const TPixelSurface& A, const TPixelSurface& B) {
  return DifferingPixels(A, B, A.ClientRect());
}
