// The GDI+ wrappers next to the same drawing made on the flat API directly,
// in the same run: 10^5 antialiased lines (through a pen object, through the
// cache of shared pens and through the canvas in alpha colours), 10^4 filled
// paths, 10^4 outlined ellipses and stretched images through the canvas, and
// 10^4 one-shape paints of the shared paint canvas on a device context. Each
// line prints the best of several runs of both and the ratio (wrappers /
// flat); the target is at most 1.1.
#include "benchmarks/support/GdiPlusMain.h"
#include "benchmarks/support/Ratios.h"
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"

#include <array>
#include <cstdio>
#include <functional>

using namespace Gdiplus;

namespace {

constexpr int LineCount = 100000;
constexpr int PathCount = 10000;
constexpr int Runs = 3;
constexpr int SurfaceSize = 256;
constexpr std::array<TdxAlphaColor, 4> Colors = {0xFF000000, 0xFFFF0000, 0xFF00A000, 0x800000FF};

double Best(const std::function<void()>& AWork) { return bench::BestOf(Runs, [] {}, AWork); }

bench::TRatioReport GReport("wrappers", "flat", 1.1, 30);

void Report(const char* AName, double AWrapped, double AFlat) { GReport.Add(AName, AWrapped, AFlat); }

// The end points of line I: spread over the surface, never the same twice in a row.
float Coordinate(int I, int AStep) { return static_cast<float>((I * AStep) % SurfaceSize); }

void BenchLines(GpGraphics* AGraphics, TdxGPCanvas* ACanvas) {
  std::array<GpPen*, Colors.size()> flatPens{};
  for (std::size_t i = 0; i < Colors.size(); ++i) GdipCreatePen1(Colors[i], 1.5f, UnitPixel, &flatPens[i]);
  const auto flat = [&] {
    for (int i = 0; i < LineCount; ++i)
      GdipDrawLine(AGraphics, flatPens[i % Colors.size()], Coordinate(i, 7), Coordinate(i, 13), Coordinate(i, 29),
                   Coordinate(i, 31));
  };

  std::array<TOwned<TdxGPPen>, Colors.size()> pens;
  for (std::size_t i = 0; i < Colors.size(); ++i) pens[i].reset(New<TdxGPPen>(Colors[i], 1.5f));
  const auto wrapped = [&] {
    for (int i = 0; i < LineCount; ++i)
      GdipDrawLine(AGraphics, pens[i % Colors.size()]->GpHandle(), Coordinate(i, 7), Coordinate(i, 13),
                   Coordinate(i, 29), Coordinate(i, 31));
  };
  const auto cached = [&] {
    IPtr<IdxGPHandle> pen;
    for (int i = 0; i < LineCount; ++i)
      if (TdxGPResourceManager::GetPen(Colors[i % Colors.size()], gppsSolid, 1.5f, pen))
        GdipDrawLine(AGraphics, static_cast<GpPen*>(pen->GetNativeHandle()), Coordinate(i, 7), Coordinate(i, 13),
                     Coordinate(i, 29), Coordinate(i, 31));
  };
  const auto canvas = [&] {
    for (int i = 0; i < LineCount; ++i)
      ACanvas->Line(Coordinate(i, 7), Coordinate(i, 13), Coordinate(i, 29), Coordinate(i, 31),
                    Colors[i % Colors.size()], 1.5f, psSolid);
  };
  const double flatTime = Best(flat);
  Report("antialiased lines, pens", Best(wrapped), flatTime);
  Report("antialiased lines, cached", Best(cached), flatTime);
  Report("antialiased lines, canvas", Best(canvas), flatTime);
  for (GpPen* pen : flatPens) GdipDeletePen(pen);
}

void BenchPaths(GpGraphics* AGraphics) {
  GpSolidFill* flatBrush = nullptr;
  GdipCreateSolidFill(0xFF3060C0, &flatBrush);
  const auto flat = [&] {
    for (int i = 0; i < PathCount; ++i) {
      GpPath* path = nullptr;
      GdipCreatePath(FillModeAlternate, &path);
      const float x = Coordinate(i, 7);
      const float y = Coordinate(i, 13);
      GdipAddPathEllipse(path, x, y, 40, 30);
      GdipAddPathRectangle(path, x + 10, y + 5, 20, 20);
      GdipFillPath(AGraphics, flatBrush, path);
      GdipDeletePath(path);
    }
  };

  const TOwned<TdxGPBrush> brush(New<TdxGPBrush>());
  brush->SetColor(0xFF3060C0);
  const auto wrapped = [&] {
    for (int i = 0; i < PathCount; ++i) {
      const TOwned<TdxGPPath> path(New<TdxGPPath>());
      const float x = Coordinate(i, 7);
      const float y = Coordinate(i, 13);
      path->AddEllipse(TdxRectF(x, y, x + 40, y + 30));
      path->AddRect(TdxRectF(x + 10, y + 5, x + 30, y + 25));
      GdipFillPath(AGraphics, brush->GpHandle(), path->Handle());
    }
  };
  Report("filled paths", Best(wrapped), Best(flat));
  GdipDeleteBrush(flatBrush);
}

void BenchCanvasShapes(GpGraphics* AGraphics, TdxGPCanvas* ACanvas) {
  GpSolidFill* flatBrush = nullptr;
  GpPen* flatPen = nullptr;
  GdipCreateSolidFill(0xFF3060C0, &flatBrush);
  GdipCreatePen1(0xFF000000, 1.5f, UnitPixel, &flatPen);
  const auto flat = [&] {
    for (int i = 0; i < PathCount; ++i) {
      const float x = Coordinate(i, 7);
      const float y = Coordinate(i, 13);
      GdipFillEllipse(AGraphics, flatBrush, x, y, 40, 30);
      GdipDrawEllipse(AGraphics, flatPen, x, y, 40, 30);
    }
  };
  const TOwned<TdxGPBrush> brush(New<TdxGPBrush>());
  brush->SetColor(0xFF3060C0);
  const TOwned<TdxGPPen> pen(New<TdxGPPen>(0xFF000000, 1.5f));
  const auto objects = [&] {
    for (int i = 0; i < PathCount; ++i) {
      const float x = Coordinate(i, 7);
      const float y = Coordinate(i, 13);
      ACanvas->Ellipse(TdxRectF(x, y, x + 40, y + 30), pen.get(), brush.get());
    }
  };
  const auto colors = [&] {
    for (int i = 0; i < PathCount; ++i) {
      const float x = Coordinate(i, 7);
      const float y = Coordinate(i, 13);
      ACanvas->Ellipse(TdxRectF(x, y, x + 40, y + 30), 0xFF000000, 0xFF3060C0, 1.5f, psSolid);
    }
  };
  const double flatTime = Best(flat);
  Report("outlined ellipses, objects", Best(objects), flatTime);
  Report("outlined ellipses, colours", Best(colors), flatTime);
  GdipDeletePen(flatPen);
  GdipDeleteBrush(flatBrush);
}

void BenchCanvasImages(GpGraphics* AGraphics, TdxGPCanvas* ACanvas) {
  const TdxGpOwnedImage image = CreateGdipBitmap(16, 16);
  const auto flat = [&] {
    for (int i = 0; i < PathCount; ++i)
      GdipDrawImageRectRectI(AGraphics, image.Get(), static_cast<INT>(Coordinate(i, 7)),
                             static_cast<INT>(Coordinate(i, 13)), 24, 24, 0, 0, 15, 15, UnitPixel, nullptr, nullptr,
                             nullptr);
  };
  const auto canvas = [&] {
    for (int i = 0; i < PathCount; ++i) {
      const int x = static_cast<int>(Coordinate(i, 7));
      const int y = static_cast<int>(Coordinate(i, 13));
      ACanvas->Draw(image.Get(), TRect(x, y, x + 24, y + 24), TRect(0, 0, 16, 16));
    }
  };
  Report("stretched images", Best(canvas), Best(flat));
}

void BenchPaints() {
  const TMemoryDC surface = TMemoryDC::Dib32(nullptr, SurfaceSize, SurfaceSize);
  GpSolidFill* flatBrush = nullptr;
  GdipCreateSolidFill(0xFF3060C0, &flatBrush);
  const auto flat = [&] {
    for (int i = 0; i < PathCount; ++i) {
      GpGraphics* graphics = nullptr;
      GdipCreateFromHDC(surface.DC(), &graphics);
      GdipFillEllipseI(graphics, flatBrush, i % 200, 10, 40, 30);
      GdipDeleteGraphics(graphics);
    }
  };
  const auto paints = [&] {
    for (int i = 0; i < PathCount; ++i) {
      const TdxGPPaintCanvasScope paint(surface.DC(), TRect(i % 200, 10, i % 200 + 41, 41));
      paint->Ellipse(TRect(i % 200, 10, i % 200 + 41, 41), TdxAlphaColors::Empty, 0xFF3060C0, 0, psClear);
    }
  };
  Report("one-shape paints on a DC", Best(paints), Best(flat));
  GdipDeleteBrush(flatBrush);
}

}  // namespace

int wmain() {
  return bench::RunWithGdiPlus([] {
    {
      const TdxGpOwnedImage bitmap = CreateGdipBitmap(SurfaceSize, SurfaceSize);
      TdxGpOwnedGraphics graphics;
      GdipGetImageGraphicsContext(bitmap.Get(), graphics.Receive());
      GdipSetSmoothingMode(graphics.Get(), SmoothingModeAntiAlias);
      TdxGpOwnedGraphics canvasGraphics;
      GdipGetImageGraphicsContext(bitmap.Get(), canvasGraphics.Receive());
      const TOwned<TdxGPCanvas> canvas(New<TdxGPCanvas>(canvasGraphics.Release()));
      canvas->SetSmoothingMode(smAntiAlias);
      std::printf("library_graphics benchmark (best of %d runs)\n", Runs);
      BenchLines(graphics.Get(), canvas.get());
      BenchPaths(graphics.Get());
      BenchCanvasShapes(graphics.Get(), canvas.get());
      BenchCanvasImages(graphics.Get(), canvas.get());
      BenchPaints();
    }
    std::printf(GReport.Slower() ? "%d measurement(s) over 1.1x the flat API\n" : "all within 1.1x the flat API\n",
                GReport.Slower());
    return 0;
  });
}
