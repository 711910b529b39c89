// Image drawing: sizes for a scale factor, fitting, every drawing mode as
// pixels against references computed here from the modes' formulas at
// several scale factors, and the image-list paint cache (hits, changes,
// sizes, lists that go).
#include "library/core/geometry/cxGeometry.h"
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "platform/ui/Forms.h"
#include "platform/ui/GdiScopes.h"
#include "tests/library_graphics/ImageListTesting.h"
#include "tests/library_graphics/SmartImageTesting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

TOwned<TdxScaleFactor> ScaleFactor(int ANumerator, int ADenominator) {
  TOwned<TdxScaleFactor> factor(New<TdxScaleFactor>());
  factor->Assign(ANumerator, ADenominator, false);
  return factor;
}

// ---------------------------------------------------------------------------
// Sizes and fitting

TEST(ImageFitting, FitSizesOfEachMode) {
  struct TCase {
    TcxImageFitMode Mode;
    TdxSizeF Image, Expected;
  };
  const TdxRectF target(0, 0, 32, 64);
  const TCase cases[] = {
      {ifmNormal, {16, 16}, {16, 16}},      {ifmStretch, {16, 16}, {32, 64}},
      {ifmProportionalStretch, {16, 16}, {32, 32}}, {ifmProportionalStretch, {64, 16}, {32, 8}},
      {ifmFit, {16, 16}, {16, 16}},         {ifmFit, {64, 64}, {32, 32}},
      {ifmFill, {16, 16}, {64, 64}},        {ifmFill, {16, 64}, {32, 128}},
      {ifmStretch, {0, 0}, {0, 0}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.Mode << ", " << c.Image.cx << " x " << c.Image.cy);
    const TdxSizeF size = CalcImageFitSize(target, c.Image, c.Mode);
    EXPECT_FLOAT_EQ(size.cx, c.Expected.cx);
    EXPECT_FLOAT_EQ(size.cy, c.Expected.cy);
  }
  EXPECT_EQ(CalcImageDrawRect(TRect(10, 10, 42, 74), TSize(16, 16), ifmProportionalStretch), TRect(10, 26, 42, 58));
  EXPECT_EQ(CalcImageDrawRect(TRect(10, 10, 42, 74), TSize(16, 16), ifmNormal, false, 50), TRect(10, 10, 18, 18));
}

class ImageSizes : public ImageListTest {};

TEST_F(ImageSizes, ScaledByTheFactorFromTheSourceDpi) {
  const TOwned<TdxSmartImage> glyph = LoadFixture(L"png32.png");
  List->Add(SolidGlyph(16, 16, RGB(1, 2, 3)).get(), nullptr);
  struct TCase {
    int N, D;
    TSize Item, Glyph;
  };
  const TCase cases[] = {{1, 1, {16, 16}, {24, 16}},
                         {5, 4, {20, 20}, {30, 20}},
                         {3, 2, {24, 24}, {36, 24}},
                         {2, 1, {32, 32}, {48, 32}}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.N << "/" << c.D);
    const TOwned<TdxScaleFactor> factor = ScaleFactor(c.N, c.D);
    EXPECT_EQ(GetImageScaledSize(nullptr, List.get(), 0, factor.get()), c.Item);
    EXPECT_EQ(GetImageScaledSize(glyph.get(), List.get(), 0, factor.get()), c.Glyph);
    EXPECT_EQ(GetImageScaledSize(nullptr, List.get(), 1, factor.get()), TSize());
  }
  // Images made for 192 DPI are halved at 96.
  List->SetSourceDPI(192);
  EXPECT_EQ(GetImageListScaledSize(List.get(), ScaleFactor(1, 1).get()), TSize(8, 8));
  EXPECT_EQ(GetImageListSizeForDpi(List.get(), 288), TSize(24, 24));
  TObject plain;
  EXPECT_EQ(GetObjectSourceDPI(&plain), 96);
  EXPECT_EQ(GetObjectSourceDPI(List.get()), 192);
}

// ---------------------------------------------------------------------------
// Drawing modes

struct TScale {
  int N, D;
};

class ImageDrawModes : public ImageListTest, public testing::WithParamInterface<TScale> {};

TEST_P(ImageDrawModes, EachModeGivesThePixelsOfItsFormula) {
  const TScale scale = GetParam();
  const TOwned<TdxScaleFactor> factor = ScaleFactor(scale.N, scale.D);
  List->Add(QuadrantGlyph().get(), nullptr);
  const TcxImageDrawMode modes[] = {idmNormal, idmDisabled, idmFaded, idmGrayScale, idmDingy, idmShadowed};
  for (TcxImageDrawMode mode : modes) {
    SCOPED_TRACE(testing::Message() << "mode " << mode);
    TPixelSurface surface(48, 48, RGB(255, 255, 255));
    const TOwned<TCanvas> canvas(New<TCanvas>());
    canvas->SetHandle(surface.DC());
    const TRect bounds(0, 0, 48, 48);
    DrawScaledImage(canvas.get(), bounds, nullptr, List.get(), 0, ifmNormal, mode, false, nullptr, factor.get());
    canvas->SetHandle(nullptr);
    const TSize size = GetImageScaledSize(nullptr, List.get(), 0, factor.get());
    const TRect drawn = CalcImageDrawRect(bounds, size);
    // The cache's images keep to their bounds, shadows too.
    EXPECT_EQ(surface.BoundsOfOther(RGB(255, 255, 255)), drawn)
        << surface.Picture(RGB(255, 255, 255));
    const double s = double(scale.N) / scale.D;
    for (int q = 0; q < 4; ++q) {
      // Under a half transparent quadrant its own shadow shows.
      if (mode == idmShadowed && q == 1) continue;
      // The middle of each quadrant, far from where smoothing mixes them.
      for (const TPoint g : {TPoint(4 + (q % 2) * 8, 4 + (q / 2) * 8), TPoint(3 + (q % 2) * 8, 4 + (q / 2) * 8)}) {
        const int x = drawn.Left + static_cast<int>((g.X + 0.5) * s);
        const int y = drawn.Top + static_cast<int>((g.Y + 0.5) * s);
        const COLORREF expected = ExpectedOverWhite(GlyphQuadrants[q], mode == idmShadowed ? idmNormal : mode);
        const COLORREF actual = surface.Pixel(x, y);
        EXPECT_LE(Distance(actual, expected), 3)
            << "quadrant " << q << " at (" << x << ", " << y << "): " << std::hex << actual << " instead of "
            << expected;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(ScaleFactors, ImageDrawModes,
                         testing::Values(TScale{1, 1}, TScale{5, 4}, TScale{3, 2}, TScale{2, 1}),
                         [](const testing::TestParamInfo<TScale>& AInfo) {
                           return "x" + std::to_string(AInfo.param.N) + "_" + std::to_string(AInfo.param.D);
                         });

TEST_F(ImageListTest, DisabledGlyphWithoutAlphaIsEmbossedWithAHighlightShadow) {
  // A 24-bit glyph whose fuchsia is transparent: a dark square on it.
  const TOwned<TcxBitmap> glyph(NewWith<TcxBitmap>([](TcxBitmap* B) { B->CreateSize(16, 16, pf24bit); }));
  glyph->Canvas()->Brush()->SetColor(clFuchsia);
  glyph->Canvas()->FillRect(TRect(0, 0, 16, 16));
  glyph->Canvas()->Brush()->SetColor(TColor(RGB(0, 0, 0)));
  glyph->Canvas()->FillRect(TRect(4, 4, 12, 12));
  TPixelSurface surface(16, 16, RGB(255, 255, 255));
  DrawImageThroughBuffer(surface.DC(), TRect(0, 0, 16, 16), glyph.get(), nullptr, -1, idmDisabled, false, nullptr,
                         clFuchsia, false, nullptr);
  // The square: grey blended with the button shadow; a highlight line one
  // pixel right and below it; the fuchsia nowhere.
  EXPECT_EQ(surface.Count(RGB(255, 0, 255)), 0);
  EXPECT_EQ(surface.Pixel(1, 1), RGB(255, 255, 255));
  EXPECT_NE(surface.Pixel(8, 8), RGB(0, 0, 0));
  EXPECT_NE(surface.Pixel(8, 8), RGB(255, 255, 255));
  EXPECT_EQ(surface.Pixel(12, 8), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(surface.Pixel(8, 12), ColorToRGB(clBtnHighlight));
}

// ---------------------------------------------------------------------------
// Drawing through the image list

TEST_F(ImageListTest, ListSizedRectanglesAreNeverStretchedAndOthersCentredUnlessAsked) {
  List->Add(SolidGlyph(16, 16, RGB(0, 0, 200)).get(), nullptr);
  struct TCase {
    TRect Rect;
    bool Stretch;
    TRect Drawn;
  };
  const TCase cases[] = {{TRect(4, 4, 20, 20), true, TRect(4, 4, 20, 20)},
                         {TRect(0, 0, 32, 32), false, TRect(8, 8, 24, 24)},
                         {TRect(0, 0, 32, 32), true, TRect(0, 0, 32, 32)}};
  for (const bool alphaBlending : {true, false}) {
    List->SetAlphaBlending(alphaBlending);
    for (const TCase& c : cases) {
      SCOPED_TRACE(testing::Message() << "alpha blending " << alphaBlending << ", stretch " << c.Stretch);
      TPixelSurface surface(40, 40, RGB(255, 255, 255));
      const TOwned<TCanvas> canvas(New<TCanvas>());
      canvas->SetHandle(surface.DC());
      List->Draw(canvas.get(), c.Rect, 0, c.Stretch);
      canvas->SetHandle(nullptr);
      EXPECT_EQ(surface.BoundsOf(RGB(0, 0, 200)), c.Drawn) << surface.Picture(RGB(255, 255, 255));
    }
  }
}

TEST_F(ImageListTest, ClassLibraryDrawingComesThroughTheListsOwnDrawing) {
  List->Add(QuadrantGlyph().get(), nullptr);
  for (const bool enabled : {true, false}) {
    SCOPED_TRACE(enabled);
    TPixelSurface surface(20, 20, RGB(255, 255, 255));
    const TOwned<TCanvas> canvas(New<TCanvas>());
    canvas->SetHandle(surface.DC());
    const int prepared = TdxImageListPaintCache::PreparedImageCount();
    List->TCustomImageList::Draw(canvas.get(), 2, 2, 0, enabled);
    canvas->SetHandle(nullptr);
    EXPECT_EQ(TdxImageListPaintCache::PreparedImageCount(), prepared + 1);
    for (int q = 0; q < 4; ++q) {
      SCOPED_TRACE(q);
      const COLORREF expected = ExpectedOverWhite(GlyphQuadrants[q], enabled ? idmNormal : idmDisabled);
      EXPECT_LE(Distance(surface.Pixel(2 + 4 + (q % 2) * 8, 2 + 4 + (q / 2) * 8), expected), 3);
    }
  }
}

// A masked list of the class library (a magenta key around a red square),
// stretched to twice its size: the square doubles, the key stays clear.
TEST(ClassLibraryImageList, AMaskedItemScaledUpKeepsItsColoursAndItsTransparentBorder) {
  const TOwned<TImageList> list(New<TImageList>(nullptr));
  list->SetSize(16, 16);
  {
    const TOwned<TBitmap> image(New<TBitmap>());
    image->SetSize(16, 16);
    const HDC dc = image->Canvas()->Handle();
    const RECT all{0, 0, 16, 16}, inner{2, 2, 14, 14};
    const TOwnedBrush magenta(CreateSolidBrush(RGB(255, 0, 255)));
    const TOwnedBrush red(CreateSolidBrush(RGB(200, 0, 0)));
    FillRect(dc, &all, magenta.Get());
    FillRect(dc, &inner, red.Get());
    list->AddMasked(image.get(), static_cast<TColor>(RGB(255, 0, 255)));
  }
  const auto draw = [&](int AScale, bool ASmooth) {
    TPixelSurface surface(40, 40, RGB(255, 255, 255));
    const TOwned<TCanvas> canvas(New<TCanvas>());
    canvas->SetHandle(surface.DC());
    const TOwned<TdxScaleFactor> factor = ScaleFactor(AScale, 1);
    DrawScaledImage(canvas.get(), TRect(4, 4, 4 + 16 * AScale, 4 + 16 * AScale), nullptr, list.get(), 0, ifmStretch,
                    idmNormal, false, nullptr, factor.get(), ASmooth);
    canvas->SetHandle(nullptr);
    return surface;
  };
  for (const int scale : {1, 2}) {
    SCOPED_TRACE(scale);
    const TPixelSurface surface = draw(scale, false);
    const int inset = 4 + 2 * scale, side = 12 * scale;
    EXPECT_EQ(surface.BoundsOf(RGB(200, 0, 0)), TRect(inset, inset, inset + side, inset + side))
        << surface.Picture(RGB(255, 255, 255));
    EXPECT_EQ(surface.Count(RGB(200, 0, 0)), side * side);
    EXPECT_EQ(surface.Count(RGB(255, 255, 255)), 40 * 40 - side * side);
  }
  // Smoothed, the edges blend red into white and nothing darker.
  const TPixelSurface smooth = draw(2, true);
  EXPECT_EQ(smooth.Pixel(20, 20), RGB(200, 0, 0));
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_GE(GetRValue(smooth.Pixel(x, y)), 200) << x << "," << y;
}

// ---------------------------------------------------------------------------
// The paint cache

class ImageListPaintCache : public ImageListTest {
 protected:
  void SetUp() override {
    ImageListTest::SetUp();
    Canvas.reset(New<TCanvas>());
    Canvas->SetHandle(Surface.DC());
    for (COLORREF color : {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(90, 90, 0)})
      List->Add(SolidGlyph(16, 16, color).get(), nullptr);
  }
  void TearDown() override {
    Canvas->SetHandle(nullptr);
    ImageListTest::TearDown();
  }
  // Draws an item and answers how many images that prepared.
  int Draw(int AIndex, const TRect& ABounds, TcxImageDrawMode AMode = idmNormal) {
    const int before = TdxImageListPaintCache::PreparedImageCount();
    TdxImageListPaintCache::Draw(Canvas.get(), ABounds, List.get(), AIndex, AMode, false, nullptr, false);
    return TdxImageListPaintCache::PreparedImageCount() - before;
  }

  TPixelSurface Surface{64, 64, RGB(255, 255, 255)};
  TOwned<TCanvas> Canvas;
};

TEST_F(ImageListPaintCache, ASecondDrawUsesThePreparedImage) {
  EXPECT_EQ(Draw(3, TRect(0, 0, 16, 16)), 1);
  EXPECT_EQ(Draw(3, TRect(20, 20, 36, 36)), 0);
  EXPECT_EQ(Surface.Pixel(28, 28), RGB(90, 90, 0));
  EXPECT_EQ(Draw(3, TRect(0, 0, 16, 16), idmDisabled), 1);
  EXPECT_EQ(Draw(2, TRect(0, 0, 16, 16)), 1);
  EXPECT_EQ(TdxImageListPaintCache::CachedImageCount(List.get()), 3);
}

TEST_F(ImageListPaintCache, AChangeOfTheListDropsItsImages) {
  EXPECT_EQ(Draw(1, TRect(0, 0, 16, 16)), 1);
  List->Replace(1, SolidGlyph(16, 16, RGB(7, 77, 177)).get(), nullptr);
  EXPECT_EQ(TdxImageListPaintCache::CachedImageCount(List.get()), 0);
  EXPECT_EQ(Draw(1, TRect(0, 0, 16, 16)), 1);
  EXPECT_EQ(Surface.Pixel(8, 8), RGB(7, 77, 177));
  List->SetSourceDPI(120);
  EXPECT_EQ(TdxImageListPaintCache::CachedImageCount(List.get()), 0);
}

TEST_F(ImageListPaintCache, KeepsTwiceAsManySizesAsMonitorsDroppingTheOldest) {
  const int limit = 2 * Screen()->MonitorCount();
  for (int i = 0; i <= limit; ++i) EXPECT_EQ(Draw(0, TRect(0, 0, 10 + i, 10 + i)), 1);
  EXPECT_EQ(TdxImageListPaintCache::CachedImageCount(List.get()), limit);
  EXPECT_EQ(Draw(0, TRect(0, 0, 10 + limit, 10 + limit)), 0);
  EXPECT_EQ(Draw(0, TRect(0, 0, 10, 10)), 1);
}

TEST_F(ImageListPaintCache, AListThatGoesTakesItsImagesWithIt) {
  EXPECT_EQ(Draw(0, TRect(0, 0, 16, 16)), 1);
  TCustomImageList* gone = List.get();
  List.reset(New<TcxImageList>(nullptr));
  EXPECT_EQ(TdxImageListPaintCache::CachedImageCount(gone), 0);
  List->Add(SolidGlyph(16, 16, RGB(1, 100, 1)).get(), nullptr);
  EXPECT_EQ(Draw(0, TRect(0, 0, 16, 16)), 1);
  EXPECT_EQ(Surface.Pixel(8, 8), RGB(1, 100, 1));
}

TEST_F(ImageListPaintCache, ListsOfTheClassLibraryAreDroppedThroughTheirChangeLink) {
  const TOwned<TImageList> plain(New<TImageList>(nullptr));
  plain->Add(SolidGlyph(16, 16, RGB(200, 0, 0)).get(), nullptr);
  TdxImageListPaintCache::Draw(Canvas.get(), TRect(0, 0, 16, 16), plain.get(), 0, idmNormal, false, nullptr, false);
  EXPECT_EQ(TdxImageListPaintCache::CachedImageCount(plain.get()), 1);
  EXPECT_EQ(Surface.Pixel(8, 8), RGB(200, 0, 0));
  plain->Replace(0, SolidGlyph(16, 16, RGB(0, 0, 200)).get(), nullptr);
  EXPECT_EQ(TdxImageListPaintCache::CachedImageCount(plain.get()), 0);
}

}  // namespace

namespace {

TEST_F(ImageListTest, ShadowedGlyphCastsAShadowTwoPixelsDownAndRight) {
  const TOwned<TcxBitmap32> glyph = MakeGlyph(16, 16, [](int x, int y) {
    return x >= 4 && x < 12 && y >= 4 && y < 12 ? Quad(0, 0, 200, 255) : Quad(0, 0, 0, 0);
  });
  glyph->SetAlphaFormat(afDefined);
  TPixelSurface surface(24, 24, RGB(255, 255, 255));
  DrawImageThroughBuffer(surface.DC(), TRect(4, 4, 20, 20), glyph.get(), nullptr, -1, idmShadowed, false, nullptr,
                         clNone, false, nullptr);
  // The image moves up and left by one; its shadow lies two pixels further.
  EXPECT_EQ(surface.BoundsOf(RGB(200, 0, 0)), TRect(7, 7, 15, 15)) << surface.Picture(RGB(255, 255, 255));
  EXPECT_EQ(surface.BoundsOfOther(RGB(255, 255, 255)), TRect(7, 7, 17, 17)) << surface.Picture(RGB(255, 255, 255));
  EXPECT_EQ(surface.Pixel(16, 12), ColorToRGB(clBtnShadow));
  EXPECT_EQ(surface.Pixel(12, 16), ColorToRGB(clBtnShadow));
  EXPECT_EQ(surface.Pixel(8, 16), RGB(255, 255, 255));
}

}  // namespace
