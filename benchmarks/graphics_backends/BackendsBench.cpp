// One scene (fills, frames, dashed lines, ellipses, a path, a gradient, a
// PNG with alpha, text in two fonts, a clip and a world transform) drawn
// 1,000 times through each canvas back end in the same run: the GDI-based
// canvas, the GDI+ canvas and the Direct2D canvas, each into an off-screen
// target of its own. Prints the times and the ratios to GDI; there is no
// target (Direct2D renders on the CPU here).
#include "benchmarks/support/Ratios.h"
#include "library/core/CoreUnits.h"
#include "library/graphics/GraphicsUnits.h"
#include "library/graphics/canvas/cxGraphics.h"
#include "library/graphics/direct2d/dxDirectX_D2D_Canvas.h"
#include "library/graphics/gdiplus/dxGDIPlusCanvas.h"
#include "platform/ui/UiUnits.h"
#include "tests/library_graphics/CanvasScene.h"

#include <cstdio>

namespace {

constexpr int Frames = 1000;

// A Direct2D canvas drawing into a target bitmap; Finish waits until the
// device has rendered everything drawn so far.
class TBenchDirect2DTarget {
 public:
  bool Open() {
    if (!CreateDirect2DHwndCanvas(nullptr, FCanvas)) return false;
    D2D1_BITMAP_PROPERTIES1 properties{};
    properties.pixelFormat = {DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED};
    properties.bitmapOptions = D2D1_BITMAP_OPTIONS_TARGET | D2D1_BITMAP_OPTIONS_GDI_COMPATIBLE;
    const D2D1_SIZE_U size{CanvasSceneWidth, CanvasSceneHeight};
    dxCheckDirectXResult(FCanvas->DeviceContext()->CreateBitmap(size, nullptr, 0, &properties, FTarget.Receive()));
    properties.bitmapOptions = D2D1_BITMAP_OPTIONS_CPU_READ | D2D1_BITMAP_OPTIONS_CANNOT_DRAW;
    dxCheckDirectXResult(FCanvas->DeviceContext()->CreateBitmap(size, nullptr, 0, &properties, FReadBack.Receive()));
    FCanvas->DeviceContext()->SetTarget(FTarget.Get());
    return true;
  }
  ~TBenchDirect2DTarget() {
    if (FCanvas) FCanvas->DeviceContext()->SetTarget(nullptr);
  }

  TdxDirect2DHwndBasedCanvas* Canvas() const { return FCanvas.get(); }
  void Finish() {
    const D2D1_POINT_2U origin{0, 0};
    dxCheckDirectXResult(FReadBack->CopyFromBitmap(&origin, FTarget.Get(), nullptr));
    D2D1_MAPPED_RECT mapped{};
    dxCheckDirectXResult(FReadBack->Map(D2D1_MAP_OPTIONS_READ, &mapped));
    FReadBack->Unmap();
  }

 private:
  TOwned<TdxDirect2DHwndBasedCanvas> FCanvas;
  TComPtr<ID2D1Bitmap1> FTarget;
  TComPtr<ID2D1Bitmap1> FReadBack;
};

// A class-library canvas on a 32-bit DIB of the scene's size.
class TBenchGdiTarget {
 public:
  TBenchGdiTarget()
      : FSurface(TMemoryDC::Dib32(nullptr, CanvasSceneWidth, CanvasSceneHeight)), FCanvas(New<TCanvas>()) {
    FCanvas->SetHandle(FSurface.DC());
  }
  ~TBenchGdiTarget() { FCanvas->SetHandle(nullptr); }
  TBenchGdiTarget(const TBenchGdiTarget&) = delete;
  TBenchGdiTarget& operator=(const TBenchGdiTarget&) = delete;

  TCanvas* Canvas() const { return FCanvas.get(); }

 private:
  TMemoryDC FSurface;
  TOwned<TCanvas> FCanvas;
};

}  // namespace

int wmain() {
  InitializeUnits({RuntimeUnits(), UiUnits(), LibraryCoreUnits(), LibraryGraphicsUnits()});
  {
    const TCanvasSceneAssets assets;
    const TRect whole(0, 0, CanvasSceneWidth, CanvasSceneHeight);

    const TBenchGdiTarget gdiTarget;
    const TOwned<TcxCanvas> gdi(New<TcxCanvas>(gdiTarget.Canvas()));
    const auto drawGdi = [&] {
      for (int i = 0; i < Frames; ++i) {
        gdi->FillRect(whole, clWhite);
        DrawCanvasScene(gdi.get(), assets);
      }
      GdiFlush();
    };

    const TBenchGdiTarget gdiPlusTarget;
    const TOwned<TdxGDIPlusControlCanvas> gdiPlus(New<TdxGDIPlusControlCanvas>(gdiPlusTarget.Canvas()));
    const auto drawGdiPlus = [&] {
      for (int i = 0; i < Frames; ++i) {
        gdiPlus->BeginPaint();
        gdiPlus->FillRect(whole, TdxAlphaColor{0xFFFFFFFF});
        DrawCanvasScene(gdiPlus.get(), assets);
        gdiPlus->EndPaint();
      }
      GdiFlush();
    };

    TBenchDirect2DTarget direct2D;
    const bool hasDirect2D = direct2D.Open();
    const auto drawDirect2D = [&] {
      TdxDirect2DHwndBasedCanvas* canvas = direct2D.Canvas();
      for (int i = 0; i < Frames; ++i) {
        canvas->BeginDraw(whole);
        canvas->FillRect(whole, TdxAlphaColor{0xFFFFFFFF});
        DrawCanvasScene(canvas, assets);
        canvas->EndDraw();
      }
      direct2D.Finish();
    };

    std::printf("graphics_backends benchmark: the scene drawn %d times on a %d x %d target per back end\n", Frames,
                CanvasSceneWidth, CanvasSceneHeight);
    const double gdiTime = bench::BestOf(2, [] {}, drawGdi);
    const double gdiPlusTime = bench::BestOf(2, [] {}, drawGdiPlus);
    std::printf("%-9s %9.2f ms  %7.3f ms per scene\n", "GDI", gdiTime, gdiTime / Frames);
    std::printf("%-9s %9.2f ms  %7.3f ms per scene  ratio to GDI %5.2f\n", "GDI+", gdiPlusTime,
                gdiPlusTime / Frames, gdiPlusTime / gdiTime);
    if (hasDirect2D) {
      const double direct2DTime = bench::BestOf(2, [] {}, drawDirect2D);
      std::printf("%-9s %9.2f ms  %7.3f ms per scene  ratio to GDI %5.2f, to GDI+ %5.2f\n", "Direct2D",
                  direct2DTime, direct2DTime / Frames, direct2DTime / gdiTime, direct2DTime / gdiPlusTime);
    } else {
      std::printf("Direct2D  unavailable on this machine\n");
    }
  }
  FinalizeUnits();
  return 0;
}
