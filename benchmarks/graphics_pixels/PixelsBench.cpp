// Pixel buffers beside their references, in the same run:
// - smooth resize of a 2048 x 2048 ARGB image to 333 x 333 and of a 64 x 64
//   glyph to 256 x 256, beside GDI+'s high-quality bicubic DrawImage for the
//   same sizes (under Wine that mode is one bilinear sample per pixel); the
//   linear kernel computes what Wine's GDI+ computes, the cubic B-spline is
//   the library's cubic; target: at most 1.5 x GDI+;
// - premultiplying a 4096 x 4096 image beside a straightforward scalar loop
//   (a rounded division per channel); target: at most 1.0 x the loop.
// Each line prints the best of several runs of both and their ratio.
#include "benchmarks/support/GdiPlusMain.h"
#include "benchmarks/support/Ratios.h"
#include "library/graphics/imaging/dxPixelBuffers.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <random>

using namespace Gdiplus;

namespace {

constexpr int Runs = 7;

// ARGB pixels of gradients with noise, alpha all over the range.
TRGBColors TestImage(int AWidth, int AHeight) {
  std::mt19937 random(5);
  TRGBColors pixels;
  pixels.reserve(static_cast<std::size_t>(AWidth) * static_cast<std::size_t>(AHeight));
  for (int y = 0; y < AHeight; ++y)
    for (int x = 0; x < AWidth; ++x) {
      const auto noise = static_cast<int>(random() % 32);
      pixels.push_back(RGBQUAD{static_cast<BYTE>((x * 255 / AWidth + noise) & 0xFF),
                               static_cast<BYTE>((y * 255 / AHeight + noise) & 0xFF),
                               static_cast<BYTE>(((x ^ y) + noise) & 0xFF), static_cast<BYTE>((x + y + noise) & 0xFF)});
    }
  return pixels;
}

// GDI+ draws a premultiplied bitmap over APixels into a target bitmap of
// the new size, copying the pixels (no blending), in high-quality bicubic mode.
class TGdiPlusResize {
 public:
  TGdiPlusResize(TRGBColors& APixels, int AWidth, int AHeight, int ATargetWidth, int ATargetHeight)
      : FWidth(AWidth), FHeight(AHeight), FTargetWidth(ATargetWidth), FTargetHeight(ATargetHeight),
        FTarget(static_cast<std::size_t>(ATargetWidth) * static_cast<std::size_t>(ATargetHeight)) {
    GpBitmap* bitmap = nullptr;
    CheckGdipStatus(GdipCreateBitmapFromScan0(AWidth, AHeight, AWidth * 4, PixelFormat32bppPARGB,
                                              reinterpret_cast<BYTE*>(APixels.data()), &bitmap));
    FSource.Reset(bitmap);
    CheckGdipStatus(GdipCreateBitmapFromScan0(ATargetWidth, ATargetHeight, ATargetWidth * 4, PixelFormat32bppPARGB,
                                              reinterpret_cast<BYTE*>(FTarget.data()), &bitmap));
    FTargetBitmap.Reset(bitmap);
    CheckGdipStatus(GdipGetImageGraphicsContext(FTargetBitmap.Get(), FGraphics.Receive()));
    CheckGdipStatus(GdipSetInterpolationMode(FGraphics.Get(), InterpolationModeHighQualityBicubic));
    CheckGdipStatus(GdipSetCompositingMode(FGraphics.Get(), CompositingModeSourceCopy));
  }
  void Run() {
    CheckGdipStatus(GdipDrawImageRectRectI(FGraphics.Get(), FSource.Get(), 0, 0, FTargetWidth, FTargetHeight, 0, 0,
                                           FWidth, FHeight, UnitPixel, nullptr, nullptr, nullptr));
    GdipFlush(FGraphics.Get(), FlushIntentionSync);
  }

 private:
  int FWidth, FHeight, FTargetWidth, FTargetHeight;
  TRGBColors FTarget;
  TdxGpOwnedImage FSource;
  TdxGpOwnedImage FTargetBitmap;
  TdxGpOwnedGraphics FGraphics;
};

bench::TRatioReport GResizeReport("ours", "GDI+", 1.5, 40);
bench::TRatioReport GPremultiplyReport("tables", "scalar", 1.0, 40);

void BenchResize(const char* AName, int AWidth, int AHeight, int ATargetWidth, int ATargetHeight) {
  TRGBColors source = TestImage(AWidth, AHeight);
  TGdiPlusResize gdiPlus(source, AWidth, AHeight, ATargetWidth, ATargetHeight);
  const double reference = bench::BestOf(Runs, [] {}, [&] { gdiPlus.Run(); });
  const struct {
    const char* Kernel;
    TdxColors::TFilterFunc Filter;
  } kernels[] = {{"linear", &TdxColors::FilterLinear}, {"spline", &TdxColors::FilterSpline}};
  for (const auto& kernel : kernels) {
    TRGBColors target;
    const double ours = bench::BestOf(Runs, [] {}, [&] {
      TdxColors::SmoothResize(source, AWidth, AHeight, target, ATargetWidth, ATargetHeight, kernel.Filter);
    });
    char name[64];
    std::snprintf(name, sizeof(name), "%s, %s", AName, kernel.Kernel);
    GResizeReport.Add(name, ours, reference);
  }
}

// What one would write without the tables.
void ScalarPremultiply(TRGBColors& APixels) {
  for (RGBQUAD& pixel : APixels) {
    const unsigned alpha = pixel.rgbReserved;
    pixel.rgbBlue = static_cast<BYTE>((pixel.rgbBlue * alpha + 127) / 255);
    pixel.rgbGreen = static_cast<BYTE>((pixel.rgbGreen * alpha + 127) / 255);
    pixel.rgbRed = static_cast<BYTE>((pixel.rgbRed * alpha + 127) / 255);
  }
}

void BenchPremultiply() {
  const TRGBColors original = TestImage(4096, 4096);
  TRGBColors scalarPixels, tablePixels;
  double scalar = 1e300, tables = 1e300;
  // Taken in turns, so that a busy moment of the machine weighs on both.
  for (int i = 0; i < Runs; ++i) {
    scalarPixels = original;
    scalar = std::min(scalar, bench::BestOf(1, [] {}, [&] { ScalarPremultiply(scalarPixels); }));
    tablePixels = original;
    tables = std::min(tables, bench::BestOf(1, [] {}, [&] { TdxColors::Premultiply(tablePixels); }));
  }
  const auto same = [](const RGBQUAD& A, const RGBQUAD& B) {
    return std::bit_cast<std::uint32_t>(A) == std::bit_cast<std::uint32_t>(B);
  };
  if (!std::equal(tablePixels.begin(), tablePixels.end(), scalarPixels.begin(), scalarPixels.end(), same))
    std::printf("the two premultiplications disagree\n");
  GPremultiplyReport.Add("premultiply 4096 x 4096", tables, scalar);
}

}  // namespace

int wmain() {
  return bench::RunWithGdiPlus([] {
    std::printf("graphics_pixels benchmark (best of %d runs)\n", Runs);
    BenchResize("resize 2048 x 2048 to 333 x 333", 2048, 2048, 333, 333);
    BenchResize("resize 64 x 64 to 256 x 256", 64, 64, 256, 256);
    BenchPremultiply();
    const int slower = GResizeReport.Slower() + GPremultiplyReport.Slower();
    std::printf(slower ? "%d measurement(s) over their target\n" : "all within their targets\n", slower);
    return 0;
  });
}
