// A small 32-bit drawing surface for painting tests: a top-down DIB section
// selected into its own memory device context. Draw into DC(), then read
// pixels back as RGB values (COLORREF, alpha dropped) or count them.
//
//   TPixelSurface s(40, 20, RGB(255, 255, 255));
//   FillRect(s.DC(), ...);
//   EXPECT_EQ(s.Count(TRect(0, 0, 10, 10), RGB(255, 0, 0)), 100);
#pragma once

#include "platform/runtime/Types.h"
#include "platform/ui/GdiScopes.h"

#include <cstdint>
#include <string>

class TPixelSurface {
 public:
  TPixelSurface(int AWidth, int AHeight, COLORREF AFill = RGB(255, 255, 255));

  HDC DC() const { return FMemory.DC(); }
  HBITMAP Bitmap() const { return FMemory.Bitmap(); }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  TRect ClientRect() const { return TRect(0, 0, FWidth, FHeight); }

  // Every pixel becomes AColor with alpha 0.
  void Fill(COLORREF AColor);
  // RGB of a pixel; raises std::out_of_range outside the surface.
  COLORREF Pixel(int X, int Y) const;
  std::uint8_t Alpha(int X, int Y) const;
  // The raw BGRA value of a pixel.
  std::uint32_t Raw(int X, int Y) const;
  void SetRaw(int X, int Y, std::uint32_t AValue);

  // Pixels of AColor inside R (clipped to the surface).
  int Count(const TRect& R, COLORREF AColor) const;
  int Count(COLORREF AColor) const { return Count(ClientRect(), AColor); }
  // Pixels inside R that are not AColor.
  int CountOther(const TRect& R, COLORREF AColor) const;
  // The smallest rectangle holding every pixel of AColor (zero when none).
  TRect BoundsOf(COLORREF AColor) const;
  // The smallest rectangle holding every pixel that is not ABackground.
  TRect BoundsOfOther(COLORREF ABackground) const;
  // Rows of characters, '.' for ABackground and '#' for anything else:
  // for failure messages of small drawings.
  std::string Picture(COLORREF ABackground) const;

 private:
  const std::uint32_t* Row(int Y) const;
  int FWidth;
  int FHeight;
  TMemoryDC FMemory;
  std::uint32_t* FBits = nullptr;
};

// Whether a GDI handle still names a live object.
inline bool GdiObjectAlive(HGDIOBJ AHandle) { return AHandle && GetObjectType(AHandle) != 0; }
