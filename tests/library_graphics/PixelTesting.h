// Shared pieces of the pixel-buffer tests: pixels written and compared as
// their four channels, colours compared channel by channel, and 32-bit
// bitmaps freed with the test.
#pragma once

#include "library/graphics/imaging/dxPixelBuffers.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

// Blue, green, red, alpha: failure messages print the four numbers.
using TChannels = std::array<int, 4>;

inline RGBQUAD Quad(int ABlue, int AGreen, int ARed, int AAlpha) {
  return RGBQUAD{static_cast<BYTE>(ABlue), static_cast<BYTE>(AGreen), static_cast<BYTE>(ARed),
                 static_cast<BYTE>(AAlpha)};
}
inline TChannels Channels(const RGBQUAD& APixel) {
  return {APixel.rgbBlue, APixel.rgbGreen, APixel.rgbRed, APixel.rgbReserved};
}

// The largest difference of the two colours' red, green and blue.
inline int Distance(COLORREF A, COLORREF B) {
  return std::max({std::abs(GetRValue(A) - GetRValue(B)), std::abs(GetGValue(A) - GetGValue(B)),
                   std::abs(GetBValue(A) - GetBValue(B))});
}

// Bitmaps made for one test and freed with it.
class TTestBitmaps {
 public:
  TTestBitmaps() = default;
  TTestBitmaps(const TTestBitmaps&) = delete;
  TTestBitmaps& operator=(const TTestBitmaps&) = delete;
  TBitmap* Make(TPixelFormat AFormat, int AWidth, int AHeight) {
    TBitmap* bitmap = FItems.emplace_back(New<TBitmap>()).get();
    if (AFormat != pfDevice) bitmap->SetPixelFormat(AFormat);
    bitmap->SetSize(AWidth, AHeight);
    return bitmap;
  }
  // A 32-bit bitmap holding APixels, top row first.
  TBitmap* Make32(int AWidth, int AHeight, const std::vector<RGBQUAD>& APixels) {
    TBitmap* bitmap = Make(pf32bit, AWidth, AHeight);
    for (int y = 0; y < AHeight; ++y) {
      auto* row = static_cast<RGBQUAD*>(bitmap->ScanLine(y));
      for (int x = 0; x < AWidth; ++x) row[x] = APixels[static_cast<std::size_t>(y * AWidth + x)];
    }
    return bitmap;
  }

 private:
  std::vector<TOwned<TBitmap>> FItems;
};
