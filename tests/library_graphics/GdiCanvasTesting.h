// Shared pieces of the GDI canvas tests: a TcxCanvas over a class-library
// canvas on a 32-bit surface, and the clip box of a device context.
#pragma once

#include "library/graphics/canvas/cxGraphics.h"
#include "tests/support/Pixels.h"

constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF Green = RGB(0, 255, 0);
constexpr COLORREF Blue = RGB(0, 0, 255);

// The canvas draws on the surface; the class-library canvas lets go of the
// surface's device context when the test ends.
class TCanvasOnSurface {
 public:
  explicit TCanvasOnSurface(int AWidth = 40, int AHeight = 40, COLORREF AFill = White)
      : Surface(AWidth, AHeight, AFill), FCanvas(New<TCanvas>()) {
    FCanvas->SetHandle(Surface.DC());
    FcxCanvas.reset(New<TcxCanvas>(FCanvas.get()));
  }
  TcxCanvas* operator->() const { return FcxCanvas.get(); }
  TcxCanvas* Get() const { return FcxCanvas.get(); }
  TCanvas* Canvas() const { return FCanvas.get(); }
  // Frees the GDI canvas early (its own end of life is the test's).
  void FreeCxCanvas() { FcxCanvas.reset(); }

  TPixelSurface Surface;

 private:
  TOwned<TCanvas> FCanvas;
  TOwned<TcxCanvas> FcxCanvas;
};

// The device context's clip box in device coordinates; the whole surface
// when it has no clip region.
inline TRect DeviceClipBox(HDC DC) {
  POINT window{};
  POINT viewport{};
  GetWindowOrgEx(DC, &window);
  GetViewportOrgEx(DC, &viewport);
  RECT box{};
  GetClipBox(DC, &box);
  TRect r(box);
  r.Offset(viewport.x - window.x, viewport.y - window.y);
  return r;
}
