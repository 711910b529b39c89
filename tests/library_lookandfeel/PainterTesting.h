// Shared pieces of the painter tests: canvases on 32-bit surfaces, the
// painters under test, scale factors, and colours computed from the system's
// own colours.
#pragma once

#include "library/core/system/dxDPIAwareUtils.h"
#include "library/graphics/gdiplus/dxGDIPlusAPI.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"
#include "platform/ui/GdiScopes.h"
#include "tests/library_graphics/GdiCanvasTesting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <span>
#include <utility>
#include <vector>

inline COLORREF Sys(int AIndex) { return GetSysColor(AIndex); }
inline COLORREF Rgb(TColor AColor) { return static_cast<COLORREF>(ColorToRGB(AColor)); }

// How many pixels of two surfaces of one size differ.
inline int Differing(const TPixelSurface& A, const TPixelSurface& B) {
  int result = 0;
  for (int y = 0; y < A.Height(); ++y)
    for (int x = 0; x < A.Width(); ++x) result += A.Pixel(x, y) != B.Pixel(x, y);
  return result;
}

// GDI's own fill and frames, for references drawn beside a painter's.
inline void GdiFill(HDC DC, const TRect& R, COLORREF AColor) {
  const TOwnedBrush brush(CreateSolidBrush(AColor));
  const RECT r = R;
  FillRect(DC, &r, brush.Get());
}
// AWidth one-pixel frames, each inside the last.
inline void GdiFrame(HDC DC, const TRect& R, COLORREF AColor, int AWidth = 1) {
  const TOwnedBrush brush(CreateSolidBrush(AColor));
  for (int i = 0; i < AWidth; ++i) {
    const RECT r{R.Left + i, R.Top + i, R.Right - i, R.Bottom - i};
    FrameRect(DC, &r, brush.Get());
  }
}

// GDI's own one-pixel polyline in AColor.
inline void GdiPolyline(HDC DC, std::span<const TPoint> APoints, COLORREF AColor) {
  const TOwnedPen pen(CreatePen(PS_SOLID, 1, AColor));
  const TSelectObject selected(DC, pen.Get());
  const std::vector<POINT> points(APoints.begin(), APoints.end());
  Polyline(DC, points.data(), static_cast<int>(points.size()));
}

// The surfaces' background: no system colour (Wine's button highlight is
// white).
constexpr COLORREF Bg = RGB(10, 200, 60);

inline TcxCustomLookAndFeelPainter* UltraFlatPainter() { return GetPaintersManager()->GetPainter(lfsUltraFlat); }

// Button face, highlight and window mixed channel by channel with signed
// per-cent weights, each product rounded, the sum clamped.
inline COLORREF SystemMix(int AFace, int AHighlight, int AWindow) {
  const COLORREF f = Sys(COLOR_BTNFACE), h = Sys(COLOR_HIGHLIGHT), w = Sys(COLOR_WINDOW);
  const auto channel = [&](int cf, int ch, int cw) {
    const long sum = std::lround(cf * AFace / 100.0) + std::lround(ch * AHighlight / 100.0) +
                     std::lround(cw * AWindow / 100.0);
    return static_cast<int>(std::clamp(sum, 0L, 255L));
  };
  return RGB(channel(GetRValue(f), GetRValue(h), GetRValue(w)), channel(GetGValue(f), GetGValue(h), GetGValue(w)),
             channel(GetBValue(f), GetBValue(h), GetBValue(w)));
}
inline COLORREF HotBlend() { return SystemMix(-2, 30, 72); }
inline COLORREF PressedBlend() { return SystemMix(14, 44, 40); }

// A scale factor of ANumerator / ADenominator.
inline TOwned<TdxScaleFactor> ScaleFactorOf(int ANumerator, int ADenominator) {
  TOwned<TdxScaleFactor> factor(New<TdxScaleFactor>());
  factor->Assign(ANumerator, ADenominator, false);
  return factor;
}

struct TScale {
  int Numerator;
  int Denominator;
};
inline constexpr TScale Scales[] = {{1, 1}, {5, 4}, {3, 2}, {2, 1}};

// The system scale factor at another value for the length of a scope.
class TSystemScale {
 public:
  TSystemScale(int ANumerator, int ADenominator) { SystemScaleFactor()->Assign(ANumerator, ADenominator, false); }
  ~TSystemScale() { SystemScaleFactor()->Update(); }
  TSystemScale(const TSystemScale&) = delete;
  TSystemScale& operator=(const TSystemScale&) = delete;
};

// The pixels of a one-pixel ring just inside R that are AColor.
inline int RingCount(const TPixelSurface& ASurface, const TRect& R, COLORREF AColor) {
  TRect inner = R;
  inner.Deflate(1);
  return ASurface.Count(R, AColor) - ASurface.Count(inner, AColor);
}
inline int RingLength(const TRect& R) { return 2 * (R.Width() + R.Height()) - 4; }

// The largest difference of any colour channel between two surfaces.
inline int MaxChannelDifference(const TPixelSurface& A, const TPixelSurface& B) {
  int result = 0;
  for (int y = 0; y < A.Height(); ++y)
    for (int x = 0; x < A.Width(); ++x) {
      const COLORREF a = A.Pixel(x, y), b = B.Pixel(x, y);
      result = std::max({result, std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                         std::abs(GetBValue(a) - GetBValue(b))});
    }
  return result;
}

constexpr ARGB Argb(COLORREF AColor, BYTE AAlpha) {
  return (static_cast<ARGB>(AAlpha) << 24) | (GetRValue(AColor) << 16) | (GetGValue(AColor) << 8) | GetBValue(AColor);
}

// GDI+'s own fills of the rectangles given.
inline void GdipFill(HDC DC, const std::vector<TRect>& ARects, ARGB AColor) {
  GpGraphics* graphics = nullptr;
  GdipCreateFromHDC(DC, &graphics);
  GpSolidFill* brush = nullptr;
  GdipCreateSolidFill(AColor, &brush);
  for (const TRect& r : ARects) GdipFillRectangleI(graphics, brush, r.Left, r.Top, r.Width(), r.Height());
  GdipDeleteBrush(brush);
  GdipDeleteGraphics(graphics);
}
inline void GdipFill(HDC DC, const std::vector<TRect>& ARects, COLORREF AColor, BYTE AAlpha) {
  GdipFill(DC, ARects, Argb(AColor, AAlpha));
}
