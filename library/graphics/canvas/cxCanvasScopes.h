// Named scopes for the state of a canvas: what a scope saves when it starts
// comes back when it ends, also when an exception leaves the scope.
//
//   const TcxCanvasStateScope state(ACanvas);
//   const TcxClipRegionScope clip(ACanvas, R);     // saved, then clipped to R
//   ACanvas->FillRect(...);
//
// Classes in this file:
//   TcxCanvasScope           what every scope below shares: the restore at its end
//   TcxCanvasStateScope      SaveState ... RestoreState
//   TcxDCStateScope          SaveDC ... RestoreDC (the GDI canvas's device-context level)
//   TcxClipRegionScope       SaveClipRegion ... RestoreClipRegion, optionally clipped to a rectangle
//   TcxWorldTransformScope   SaveWorldTransform ... RestoreWorldTransform
//   TcxWindowOrgScope        the window origin, optionally moved, set back at the end
//
// Each scope works on any canvas that has its pair of operations: the
// abstract canvas and its GDI, GDI+ and Direct2D back ends, the GDI+
// graphics object (TdxGPCanvas, clip and transform) and the SVG renderer.
// The class is deduced from the pointer given. A scope costs what its save
// and restore cost: it allocates nothing itself. The paint scopes of the two
// shared paint canvases live with them: TdxGPPaintCanvasScope
// (dxGDIPlusClasses.h) and TcxPaintCanvasScope (cxGraphics.h); those of a
// bare device context in platform/ui/GdiScopes.h.
#pragma once

#include <exception>
#include <type_traits>
#include <utility>

// A restore that raises while another exception is leaving the scope is
// dropped, so that the first exception goes on (as a destructor cannot
// replace it); otherwise the restore's exception leaves the scope.
class TcxCanvasScope {
 public:
  TcxCanvasScope(const TcxCanvasScope&) = delete;
  TcxCanvasScope& operator=(const TcxCanvasScope&) = delete;

 protected:
  TcxCanvasScope() = default;
  ~TcxCanvasScope() = default;

  template <class F>
  void Restore(F&& ARestore) noexcept(false) {
    if (std::uncaught_exceptions() == FUncaughtExceptions) {
      ARestore();
      return;
    }
    try {
      ARestore();
    } catch (...) {
      // The exception already on its way wins.
    }
  }

 private:
  int FUncaughtExceptions = std::uncaught_exceptions();
};

template <class TCanvas>
class [[nodiscard]] TcxCanvasStateScope : TcxCanvasScope {
 public:
  explicit TcxCanvasStateScope(TCanvas* ACanvas) : FCanvas(ACanvas) { FCanvas->SaveState(); }
  ~TcxCanvasStateScope() noexcept(false) {
    Restore([this] { FCanvas->RestoreState(); });
  }

 private:
  TCanvas* FCanvas;
};

template <class TCanvas>
class [[nodiscard]] TcxDCStateScope : TcxCanvasScope {
 public:
  explicit TcxDCStateScope(TCanvas* ACanvas) : FCanvas(ACanvas) { FCanvas->SaveDC(); }
  ~TcxDCStateScope() noexcept(false) {
    Restore([this] { FCanvas->RestoreDC(); });
  }

 private:
  TCanvas* FCanvas;
};

template <class TCanvas>
class [[nodiscard]] TcxClipRegionScope : TcxCanvasScope {
 public:
  explicit TcxClipRegionScope(TCanvas* ACanvas) : FCanvas(ACanvas) { FCanvas->SaveClipRegion(); }
  // The clip saved, then intersected with ARect (a TRect or a TdxRectF).
  template <class TRectangle>
  TcxClipRegionScope(TCanvas* ACanvas, const TRectangle& ARect) : TcxClipRegionScope(ACanvas) {
    FCanvas->IntersectClipRect(ARect);
  }
  ~TcxClipRegionScope() noexcept(false) {
    Restore([this] { FCanvas->RestoreClipRegion(); });
  }

 private:
  TCanvas* FCanvas;
};

template <class TCanvas>
class [[nodiscard]] TcxWorldTransformScope : TcxCanvasScope {
 public:
  explicit TcxWorldTransformScope(TCanvas* ACanvas) : FCanvas(ACanvas) { FCanvas->SaveWorldTransform(); }
  ~TcxWorldTransformScope() noexcept(false) {
    Restore([this] { FCanvas->RestoreWorldTransform(); });
  }

 private:
  TCanvas* FCanvas;
};

template <class TCanvas>
class [[nodiscard]] TcxWindowOrgScope : TcxCanvasScope {
 public:
  explicit TcxWindowOrgScope(TCanvas* ACanvas) : FCanvas(ACanvas), FOrigin(ACanvas->WindowOrg()) {}
  // The origin moved so that what is drawn afterwards lands moved by AOffset.
  template <class TOffset>
  TcxWindowOrgScope(TCanvas* ACanvas, const TOffset& AOffset)
      : FCanvas(ACanvas), FOrigin(ACanvas->MoveWindowOrg(AOffset)) {}
  ~TcxWindowOrgScope() noexcept(false) {
    Restore([this] { FCanvas->SetWindowOrg(FOrigin); });
  }

 private:
  TCanvas* FCanvas;
  std::remove_cvref_t<decltype(std::declval<TCanvas&>().WindowOrg())> FOrigin;
};
