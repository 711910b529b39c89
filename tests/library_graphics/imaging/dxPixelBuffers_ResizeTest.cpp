#include "library/graphics/imaging/dxPixelBuffers.h"
#include "tests/library_graphics/GdiPlusTesting.h"
#include "tests/library_graphics/PixelTesting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

using namespace Gdiplus;

namespace {

// ---------------------------------------------------------------------------
// Filters and contributors

TEST(ResizeFilters, KernelValues) {
  struct {
    const char* Name;
    TdxColors::TFilterFunc Filter;
    float X;
    float Expected;
  } const cases[] = {
      {"bell, centre", &TdxColors::FilterBell, 0, 0.75f},
      {"bell, inner edge", &TdxColors::FilterBell, 0.5f, 0.5f},
      {"bell, one to the left", &TdxColors::FilterBell, -1, 0.125f},
      {"bell, outside", &TdxColors::FilterBell, 1.5f, 0},
      {"hermite, centre", &TdxColors::FilterHermite, 0, 1},
      {"hermite, half", &TdxColors::FilterHermite, -0.5f, 0.5f},
      {"hermite, outside", &TdxColors::FilterHermite, 1, 0},
      {"linear, a quarter", &TdxColors::FilterLinear, 0.25f, 0.75f},
      {"linear, outside", &TdxColors::FilterLinear, -1, 0},
      {"nearest, right half-open edge", &TdxColors::FilterNearestNeighbour, 0.5f, 1},
      {"nearest, left edge excluded", &TdxColors::FilterNearestNeighbour, -0.5f, 0},
      {"spline, centre", &TdxColors::FilterSpline, 0, 2.0f / 3},
      {"spline, one", &TdxColors::FilterSpline, 1, 1.0f / 6},
      {"spline, outer part", &TdxColors::FilterSpline, -1.5f, 0.125f / 6},
      {"spline, outside", &TdxColors::FilterSpline, 2, 0},
      {"lanczos 2, centre", &TdxColors::FilterLanczos2, 0, 1},
      {"lanczos 2, half", &TdxColors::FilterLanczos2, 0.5f, 0.573159f},
      {"lanczos 2, a zero", &TdxColors::FilterLanczos2, 1, 0},
      {"lanczos 2, outside", &TdxColors::FilterLanczos2, 2, 0},
      {"lanczos 3, negative lobe", &TdxColors::FilterLanczos3, -1.5f, -0.135095f},
      {"lanczos 3, outside", &TdxColors::FilterLanczos3, 3, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_NEAR(c.Filter(c.X), c.Expected, 1e-5);
  }
  EXPECT_NEAR(TdxColors::FilterLanczosN(4, 2.5f), 0.0599095f, 1e-5);
  EXPECT_EQ(TdxColors::FilterLanczosN(4, 4), 0);
}

using TContributorPairs = std::vector<std::pair<int, int>>;

TContributorPairs Pairs(const TdxResizeFilter::TContributors& AContributors) {
  TContributorPairs result;
  for (const auto& c : AContributors) result.emplace_back(c.Pixel, c.Weight);
  return result;
}

TEST(ResizeFilters, ContributorsOfAHalvingPassMirrorAtTheEdges) {
  // 9 to 5 pixels: scale 4 / 8, so the linear filter spans two source pixels
  // each way and target i sits on source 2i.
  const auto list = TdxResizeFilter::Contributors(9, 5, &TdxColors::FilterLinear);
  ASSERT_EQ(list.size(), 5u);
  EXPECT_EQ(Pairs(list[0]), (TContributorPairs{{1, 64}, {0, 128}, {1, 64}}));
  EXPECT_EQ(Pairs(list[2]), (TContributorPairs{{3, 64}, {4, 128}, {5, 64}}));
  EXPECT_EQ(Pairs(list[4]), (TContributorPairs{{7, 64}, {8, 128}, {8, 64}}));
}

TEST(ResizeFilters, OnePixelGrownToThreeScalesByTheSizesThemselves) {
  // Scale 3 / 1: target 1 sits a third of the way from source 0 to the
  // mirrored source 1, which is source 0 again.
  const auto list = TdxResizeFilter::Contributors(1, 3, &TdxColors::FilterLinear);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(Pairs(list[0]), (TContributorPairs{{0, 256}}));
  EXPECT_EQ(Pairs(list[1]), (TContributorPairs{{0, 171}, {0, 85}}));
  EXPECT_EQ(Pairs(list[2]), (TContributorPairs{{0, 85}, {0, 171}}));
}

// A support wider than the source reaches past the mirrored edge; every
// contributor must still name a source pixel.
TEST(ResizeFilters, ContributorsStayInsideTheSource) {
  struct {
    int Source, Target;
    TdxColors::TFilterFunc Filter;
  } const cases[] = {
      {1, 3, &TdxColors::FilterLanczos3}, {1, 40, &TdxColors::FilterLanczos3}, {2, 9, &TdxColors::FilterLanczos3},
      {3, 50, &TdxColors::FilterSpline},  {5, 1, &TdxColors::FilterBell},      {100, 7, &TdxColors::FilterLanczos3},
      {1, 1, &TdxColors::FilterSpline},   {7, 2, &TdxColors::FilterLanczos2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Source << " to " << c.Target);
    const auto list = TdxResizeFilter::Contributors(c.Source, c.Target, c.Filter);
    ASSERT_EQ(static_cast<int>(list.size()), c.Target);
    for (const auto& contributors : list) {
      EXPECT_FALSE(contributors.empty());
      for (const auto& contributor : contributors) {
        EXPECT_GE(contributor.Pixel, 0);
        EXPECT_LT(contributor.Pixel, c.Source);
        EXPECT_NE(contributor.Weight, 0);
      }
    }
  }
}

// ---------------------------------------------------------------------------
// SmoothResize

TRGBColors Solid(int ACount, RGBQUAD AColor) { return TRGBColors(static_cast<std::size_t>(ACount), AColor); }

TEST(SmoothResize, OnePixelGrownToThreeByThreeKeepsItsColour) {
  TRGBColors target;
  TdxColors::SmoothResize(Solid(1, Quad(100, 150, 200, 255)), 1, 1, target, 3, 3, &TdxColors::FilterLinear);
  ASSERT_EQ(target.size(), 9u);
  for (const RGBQUAD& pixel : target) EXPECT_EQ(Channels(pixel), (TChannels{100, 150, 200, 255}));
}

// A kernel sampled at whole pixels seldom adds up to one: the triangle
// widened 1.6 times for 160 to 100 pixels adds up to 0.94 to 1.09 by the
// phase, and the Lanczos kernels never quite do. Unless the weights are
// scaled to add up to 256, an even colour comes out striped.
TEST(SmoothResize, AnEvenColourStaysExactlyEven) {
  struct {
    int SourceWidth, SourceHeight, TargetWidth, TargetHeight;
    TdxColors::TFilterFunc Filter;
  } const cases[] = {
      {160, 2, 100, 3, &TdxColors::FilterLinear}, {40, 30, 7, 5, &TdxColors::FilterSpline},
      {16, 16, 3, 48, &TdxColors::FilterBell},    {5, 5, 5, 5, &TdxColors::FilterHermite},
      {64, 64, 1, 1, &TdxColors::FilterLinear},   {3, 7, 11, 2, &TdxColors::FilterNearestNeighbour},
      {2, 2, 9, 9, &TdxColors::FilterLanczos3},   {1, 1, 7, 2, &TdxColors::FilterLanczos3},
      {33, 9, 4, 20, &TdxColors::FilterLanczos2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.SourceWidth << "x" << c.SourceHeight << " to " << c.TargetWidth << "x"
                                    << c.TargetHeight);
    TRGBColors target;
    TdxColors::SmoothResize(Solid(c.SourceWidth * c.SourceHeight, Quad(60, 120, 180, 240)), c.SourceWidth,
                            c.SourceHeight, target, c.TargetWidth, c.TargetHeight, c.Filter);
    ASSERT_EQ(target.size(), static_cast<std::size_t>(c.TargetWidth * c.TargetHeight));
    for (const RGBQUAD& pixel : target) ASSERT_EQ(Channels(pixel), (TChannels{60, 120, 180, 240}));
  }
}

TEST(SmoothResize, TheSameSizeThroughTheLinearKernelIsACopy) {
  std::mt19937 random(7);
  TRGBColors source(12 * 5);
  for (RGBQUAD& pixel : source) pixel = std::bit_cast<RGBQUAD>(static_cast<std::uint32_t>(random()));
  TRGBColors target;
  TdxColors::SmoothResize(source, 12, 5, target, 12, 5, &TdxColors::FilterLinear);
  ASSERT_EQ(target.size(), source.size());
  for (std::size_t i = 0; i < source.size(); ++i) EXPECT_EQ(Channels(target[i]), Channels(source[i])) << i;
}

// A Lanczos kernel overshoots at a hard edge; sums below 0 and above 255
// are clamped, never wrapped.
TEST(SmoothResize, OvershootIsClamped) {
  TRGBColors source;
  for (int x = 0; x < 8; ++x) source.push_back(x < 4 ? Quad(0, 0, 0, 0) : Quad(255, 255, 255, 255));
  TRGBColors target;
  TdxColors::SmoothResize(source, 8, 1, target, 29, 1, &TdxColors::FilterLanczos3);
  ASSERT_EQ(target.size(), 29u);
  for (int x = 0; x < 29; ++x) {
    SCOPED_TRACE(x);
    const int value = target[static_cast<std::size_t>(x)].rgbBlue;
    if (x < 10) {
      EXPECT_LE(value, 16) << "dark side";
    } else if (x > 18) {
      EXPECT_GE(value, 239) << "bright side";
    }
  }
  EXPECT_EQ(target.front().rgbBlue, 0);
  EXPECT_EQ(target.back().rgbBlue, 255);
}

TEST(SmoothResize, SizesAndArrays) {
  TRGBColors target(3);
  TdxColors::SmoothResize(Solid(4, Quad(1, 1, 1, 1)), 2, 2, target, 0, 4, &TdxColors::FilterLinear);
  EXPECT_TRUE(target.empty()) << "no target size";
  target.resize(3);
  TdxColors::SmoothResize(TRGBColors{}, 0, 2, target, 4, 4, &TdxColors::FilterLinear);
  EXPECT_TRUE(target.empty()) << "no source size";
  EXPECT_THROW(TdxColors::SmoothResize(Solid(5, Quad(1, 1, 1, 1)), 2, 3, target, 4, 4, &TdxColors::FilterLinear),
               EArgumentException)
      << "fewer pixels than the source size says";
  EXPECT_THROW(TdxColors::SmoothResize(Solid(4, Quad(1, 1, 1, 1)), 2, 2, target, 4, 4, nullptr), EArgumentException);
}

TEST(SmoothResize, BitmapsAreResampledAsBottomUpArrays) {
  TTestBitmaps bitmaps;
  std::mt19937 random(11);
  std::vector<RGBQUAD> pixels(6 * 4);
  for (RGBQUAD& pixel : pixels) pixel = std::bit_cast<RGBQUAD>(static_cast<std::uint32_t>(random()));
  TBitmap* source = bitmaps.Make32(6, 4, pixels);
  TBitmap* target = bitmaps.Make(pf32bit, 9, 5);
  TdxColors::SmoothResize(source, target, &TdxColors::FilterSpline);

  TRGBColors sourcePixels, expected, targetPixels;
  ASSERT_TRUE(GetGraphicPixels(source, sourcePixels, false));
  TdxColors::SmoothResize(sourcePixels, 6, 4, expected, 9, 5, &TdxColors::FilterSpline);
  ASSERT_TRUE(GetGraphicPixels(target, targetPixels, false));
  ASSERT_EQ(targetPixels.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(Channels(targetPixels[i]), Channels(expected[i])) << i;

  TBitmap* empty = bitmaps.Make(pf32bit, 0, 0);
  TdxColors::SmoothResize(source, empty, &TdxColors::FilterSpline);
  EXPECT_TRUE(empty->Empty());
}

// ---------------------------------------------------------------------------
// Against GDI+
//
// GDI+'s own high-quality bicubic resampling is the reference. Under Wine it
// is not bicubic at all: Wine's GDI+ takes one bilinear sample per target
// pixel (the impulse response is a triangle one source pixel wide each way,
// and a shrunk 1-pixel checkerboard comes out all black or all white), and
// it ignores the pixel offset mode. So the comparison uses the kernel it has
// in fact, FilterLinear, and GDI+ is given the source rectangle whose sample
// positions are SmoothResize's: target i at source i * (s - 1) / (t - 1).
//
// Both sides resample premultiplied pixels channel by channel (GDI+ keeps
// 32-bit premultiplied ARGB as it is), so all four channels are compared.

struct TTestImage {
  const char* Name;
  int Width, Height;
  TRGBColors Pixels;  // premultiplied, top-down
};

RGBQUAD Premultiplied(int ABlue, int AGreen, int ARed, int AAlpha) {
  std::vector<RGBQUAD> pixel = {Quad(ABlue, AGreen, ARed, AAlpha)};
  TdxColors::Premultiply(pixel);
  return pixel[0];
}

TTestImage Checkerboard(int AWidth, int AHeight, int ACell) {
  TTestImage image{"checkerboard", AWidth, AHeight, {}};
  for (int y = 0; y < AHeight; ++y)
    for (int x = 0; x < AWidth; ++x)
      image.Pixels.push_back((x / ACell + y / ACell) % 2 ? Premultiplied(250, 240, 230, 255)
                                                         : Premultiplied(20, 90, 200, 96));
  return image;
}

TTestImage Gradient(int AWidth, int AHeight) {
  TTestImage image{"gradient", AWidth, AHeight, {}};
  for (int y = 0; y < AHeight; ++y)
    for (int x = 0; x < AWidth; ++x)
      image.Pixels.push_back(Premultiplied(x * 255 / (AWidth - 1), y * 255 / (AHeight - 1),
                                           255 - (x + y) * 255 / (AWidth + AHeight - 2),
                                           64 + (AWidth - 1 - x) * 191 / (AWidth - 1)));
  return image;
}

// Value noise of three octaves (lattices of 16, 8 and 4 pixels, bilinearly
// blended) for each channel and for alpha: soft shapes with some grain, as
// in a photograph.
TTestImage PhotoNoise(int AWidth, int AHeight) {
  std::mt19937 random(2024);
  const auto octave = [&](int ACell) {
    const int columns = AWidth / ACell + 2;
    const int rows = AHeight / ACell + 2;
    std::vector<double> lattice(static_cast<std::size_t>(columns * rows));
    for (double& value : lattice) value = static_cast<double>(random() % 256);
    std::vector<double> result;
    for (int y = 0; y < AHeight; ++y)
      for (int x = 0; x < AWidth; ++x) {
        const double fx = static_cast<double>(x % ACell) / ACell;
        const double fy = static_cast<double>(y % ACell) / ACell;
        const auto at = [&](int AX, int AY) { return lattice[static_cast<std::size_t>(AY * columns + AX)]; };
        const int cx = x / ACell;
        const int cy = y / ACell;
        result.push_back((at(cx, cy) * (1 - fx) + at(cx + 1, cy) * fx) * (1 - fy) +
                         (at(cx, cy + 1) * (1 - fx) + at(cx + 1, cy + 1) * fx) * fy);
      }
    return result;
  };
  const auto channel = [&] {
    const std::vector<double> coarse = octave(16), middle = octave(8), fine = octave(4);
    std::vector<int> result;
    for (std::size_t i = 0; i < coarse.size(); ++i)
      result.push_back(static_cast<int>(0.55 * coarse[i] + 0.3 * middle[i] + 0.15 * fine[i]));
    return result;
  };
  const std::vector<int> blue = channel(), green = channel(), red = channel(), alpha = channel();
  TTestImage image{"photo-like noise", AWidth, AHeight, {}};
  for (std::size_t i = 0; i < blue.size(); ++i) image.Pixels.push_back(Premultiplied(blue[i], green[i], red[i], alpha[i]));
  return image;
}

// GDI+ with the high-quality bicubic mode draws the image into a target of
// its own, copying (not blending) the premultiplied pixels.
TRGBColors GdiPlusResize(const TTestImage& AImage, int ATargetWidth, int ATargetHeight) {
  TRGBColors source = AImage.Pixels;
  TRGBColors target(static_cast<std::size_t>(ATargetWidth * ATargetHeight));
  const auto bitmapOver = [](TRGBColors& APixels, int AWidth, int AHeight) {
    GpBitmap* bitmap = nullptr;
    CheckGdipStatus(GdipCreateBitmapFromScan0(AWidth, AHeight, AWidth * 4, PixelFormat32bppPARGB,
                                              reinterpret_cast<BYTE*>(APixels.data()), &bitmap));
    return TdxGpOwnedImage(bitmap);
  };
  const TdxGpOwnedImage sourceBitmap = bitmapOver(source, AImage.Width, AImage.Height);
  const TdxGpOwnedImage targetBitmap = bitmapOver(target, ATargetWidth, ATargetHeight);
  TdxGpOwnedGraphics graphics;
  CheckGdipStatus(GdipGetImageGraphicsContext(targetBitmap.Get(), graphics.Receive()));
  CheckGdipStatus(GdipSetInterpolationMode(graphics.Get(), InterpolationModeHighQualityBicubic));
  CheckGdipStatus(GdipSetPixelOffsetMode(graphics.Get(), PixelOffsetModeNone));
  CheckGdipStatus(GdipSetCompositingMode(graphics.Get(), CompositingModeSourceCopy));
  const auto span = [](int ASource, int ATarget) {
    return static_cast<float>(ASource - 1) * static_cast<float>(ATarget) / static_cast<float>(ATarget - 1);
  };
  CheckGdipStatus(GdipDrawImageRectRect(graphics.Get(), sourceBitmap.Get(), 0, 0, static_cast<float>(ATargetWidth),
                                        static_cast<float>(ATargetHeight), 0, 0, span(AImage.Width, ATargetWidth),
                                        span(AImage.Height, ATargetHeight), UnitPixel, nullptr, nullptr, nullptr));
  graphics.Reset();
  return target;
}

// Where a 2-D comparison looks: every pixel, or only target pixels whose
// whole footprint lies inside one cell of a checkerboard.
using TPixelFilter = bool (*)(const TTestImage& AImage, int ATargetWidth, int ATargetHeight, int X, int Y);

bool EveryPixel(const TTestImage&, int, int, int, int) { return true; }

// The source pixels the linear kernel reaches for target I: those closer to
// its centre than the kernel's half-width, which is one pixel, or 1 / scale
// when shrinking.
bool FootprintInOneCell(int ASource, int ATarget, int I, int ACell) {
  const double scale = static_cast<double>(ATarget - 1) / (ASource - 1);
  const double center = I / scale;
  const double reach = std::max(1.0, 1 / scale);
  const int first = static_cast<int>(std::floor(center - reach)) + 1;
  const int last = static_cast<int>(std::ceil(center + reach)) - 1;
  return first >= 0 && last < ASource && first / ACell == last / ACell;
}

constexpr int CheckerCell = 16;

bool InsideACell(const TTestImage& AImage, int ATargetWidth, int ATargetHeight, int X, int Y) {
  return FootprintInOneCell(AImage.Width, ATargetWidth, X, CheckerCell) &&
         FootprintInOneCell(AImage.Height, ATargetHeight, Y, CheckerCell);
}

struct TDifference {
  int Compared = 0;  // channel values
  int Largest = 0;
  double Mean = 0;
  double ShareAbove4 = 0;
};

TDifference Compare(const TTestImage& AImage, int ATargetWidth, int ATargetHeight, const TRGBColors& AOurs,
                    const TRGBColors& AReference, TPixelFilter AFilter) {
  TDifference result;
  long long sum = 0;
  int above = 0;
  for (int y = 0; y < ATargetHeight; ++y)
    for (int x = 0; x < ATargetWidth; ++x) {
      if (!AFilter(AImage, ATargetWidth, ATargetHeight, x, y)) continue;
      const std::size_t i = static_cast<std::size_t>(y * ATargetWidth + x);
      const TChannels ours = Channels(AOurs[i]);
      const TChannels reference = Channels(AReference[i]);
      for (std::size_t c = 0; c < ours.size(); ++c) {
        const int difference = std::abs(ours[c] - reference[c]);
        result.Largest = std::max(result.Largest, difference);
        sum += difference;
        above += difference > 4;
        ++result.Compared;
      }
    }
  if (result.Compared > 0) {
    result.Mean = static_cast<double>(sum) / result.Compared;
    result.ShareAbove4 = static_cast<double>(above) / result.Compared;
  }
  return result;
}

class SmoothResizeOracle : public GdiPlusTest {};

// Growing, both sides interpolate between the same two source pixels: ours
// with weights in 1/256 steps and each pass truncated to whole levels,
// GDI+ in floating point rounded once. That leaves at most 3 levels.
TEST_F(SmoothResizeOracle, GrowingMatchesGdiPlusWithin3Levels) {
  const TTestImage images[] = {Checkerboard(40, 32, 5), Gradient(40, 32), PhotoNoise(40, 32),
                               Checkerboard(160, 128, CheckerCell), Gradient(160, 128), PhotoNoise(160, 128)};
  for (const TTestImage& image : images)
    for (const TSize& size : {TSize(image.Width * 2 + 17, image.Height * 2 + 1), TSize(image.Width * 4 - 3, image.Height * 3)}) {
      SCOPED_TRACE(testing::Message() << image.Name << " " << image.Width << "x" << image.Height << " to " << size.cx
                                      << "x" << size.cy);
      TRGBColors ours;
      TdxColors::SmoothResize(image.Pixels, image.Width, image.Height, ours, size.cx, size.cy,
                              &TdxColors::FilterLinear);
      const TDifference d =
          Compare(image, size.cx, size.cy, ours, GdiPlusResize(image, size.cx, size.cy), &EveryPixel);
      EXPECT_LE(d.Largest, 3);
      EXPECT_LE(d.Mean, 0.5);
    }
}

// Shrinking, Wine's GDI+ takes one sample where ours averages the footprint
// (1.6 and 2.7 source pixels here). On a gradient the two agree within a
// few levels. On the photo-like noise the finest octave (4-pixel lattice)
// lies within the footprint, so the sample differs from the average there:
// the mean stays within 1.5 levels and 95 % of the values within 4, but
// single values differ by up to 20. On the checkerboard every footprint
// that crosses a cell edge differs by up to half the contrast, so only the
// targets whose footprint lies inside one cell are compared, and those
// must agree within 2 levels.
TEST_F(SmoothResizeOracle, ShrinkingMatchesGdiPlusWhereTheFootprintHoldsNoFinerDetail) {
  const TTestImage checkerboard = Checkerboard(160, 128, CheckerCell);
  const TTestImage gradient = Gradient(160, 128);
  const TTestImage noise = PhotoNoise(160, 128);
  struct {
    const TTestImage& Image;
    TSize Size;
    TPixelFilter Filter;
    int Largest;
    double Mean;
    double ShareAbove4;
  } const cases[] = {
      {gradient, TSize(100, 80), &EveryPixel, 4, 0.5, 0},
      {gradient, TSize(59, 47), &EveryPixel, 4, 0.5, 0},
      {noise, TSize(100, 80), &EveryPixel, 10, 1, 0.01},
      {noise, TSize(59, 47), &EveryPixel, 20, 1.5, 0.05},
      {checkerboard, TSize(100, 80), &InsideACell, 2, 0.5, 0},
      {checkerboard, TSize(59, 47), &InsideACell, 2, 0.5, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Image.Name << " to " << c.Size.cx << "x" << c.Size.cy);
    TRGBColors ours;
    TdxColors::SmoothResize(c.Image.Pixels, c.Image.Width, c.Image.Height, ours, c.Size.cx, c.Size.cy,
                            &TdxColors::FilterLinear);
    const TDifference d =
        Compare(c.Image, c.Size.cx, c.Size.cy, ours, GdiPlusResize(c.Image, c.Size.cx, c.Size.cy), c.Filter);
    EXPECT_GE(d.Compared, c.Size.cx * c.Size.cy) << "a quarter of the pixels at least";
    EXPECT_LE(d.Largest, c.Largest);
    EXPECT_LE(d.Mean, c.Mean);
    EXPECT_LE(d.ShareAbove4, c.ShareAbove4);
  }
}

}  // namespace
