#include "library/graphics/dxPixelBuffers.h"
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

// The B-spline, bell, Hermite and linear kernels add up to one at any
// offset, so only the rounding of the integer weights (more of them the
// more a pass shrinks) and the truncation of each pass show; the Lanczos
// kernels do not add up to one (up to 4 % off here).
TEST(SmoothResize, AnEvenColourStaysEven) {
  struct {
    int SourceWidth, SourceHeight, TargetWidth, TargetHeight;
    TdxColors::TFilterFunc Filter;
    int Tolerance;
  } const cases[] = {
      {40, 30, 7, 5, &TdxColors::FilterSpline, 4},   {16, 16, 3, 48, &TdxColors::FilterBell, 4},
      {5, 5, 5, 5, &TdxColors::FilterHermite, 0},    {64, 64, 1, 1, &TdxColors::FilterLinear, 2},
      {3, 7, 11, 2, &TdxColors::FilterLinear, 2},    {2, 2, 9, 9, &TdxColors::FilterLanczos3, 10},
      {1, 1, 7, 2, &TdxColors::FilterLanczos3, 10},   {33, 9, 4, 20, &TdxColors::FilterLanczos2, 10},
  };
  const TChannels expected{60, 120, 180, 240};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.SourceWidth << "x" << c.SourceHeight << " to " << c.TargetWidth << "x"
                                    << c.TargetHeight);
    TRGBColors target;
    TdxColors::SmoothResize(Solid(c.SourceWidth * c.SourceHeight, Quad(60, 120, 180, 240)), c.SourceWidth,
                            c.SourceHeight, target, c.TargetWidth, c.TargetHeight, c.Filter);
    ASSERT_EQ(target.size(), static_cast<std::size_t>(c.TargetWidth * c.TargetHeight));
    for (const RGBQUAD& pixel : target) {
      const TChannels channels = Channels(pixel);
      for (std::size_t i = 0; i < channels.size(); ++i) ASSERT_NEAR(channels[i], expected[i], c.Tolerance);
    }
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

}  // namespace
