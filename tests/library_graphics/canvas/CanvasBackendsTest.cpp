// The same scene drawn by the GDI-based, the GDI+ and the Direct2D canvas
// into off-screen targets and compared part by part, with a tolerance for
// the edges that antialiasing blends differently; image-list items in every
// drawing mode on each of them against the modes' formulas.
#include "library/graphics/gdiplus/dxGDIPlusCanvas.h"
#include "tests/library_graphics/CanvasScene.h"
#include "tests/library_graphics/Direct2DTesting.h"
#include "tests/library_graphics/GdiCanvasTesting.h"
#include "tests/library_graphics/ImageListTesting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>

namespace {

using TPixelReader = std::function<COLORREF(int X, int Y)>;

// Pixels of R whose channels differ by more than ATolerance.
int Mismatches(const TPixelReader& A, const TPixelReader& B, const TRect& R, int ATolerance) {
  int count = 0;
  for (int y = R.Top; y < R.Bottom; ++y)
    for (int x = R.Left; x < R.Right; ++x)
      if (Distance(A(x, y), B(x, y)) > ATolerance) ++count;
  return count;
}

// The pixels of R that are not white: what was drawn there.
TRect InkBounds(const TPixelReader& A, const TRect& R, int& ACount) {
  TRect bounds(R.Right, R.Bottom, R.Left, R.Top);
  ACount = 0;
  for (int y = R.Top; y < R.Bottom; ++y)
    for (int x = R.Left; x < R.Right; ++x)
      if (Distance(A(x, y), RGB(255, 255, 255)) > 64) {
        ++ACount;
        bounds = TRect(std::min(bounds.Left, x), std::min(bounds.Top, y), std::max(bounds.Right, x + 1),
                       std::max(bounds.Bottom, y + 1));
      }
  return bounds;
}

// The darkness of R summed over its pixels (0 for white, 255 a black pixel).
int Darkness(const TPixelReader& A, const TRect& R) {
  int sum = 0;
  for (int y = R.Top; y < R.Bottom; ++y)
    for (int x = R.Left; x < R.Right; ++x) {
      const COLORREF c = A(x, y);
      sum += 255 - (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3;
    }
  return sum;
}

// How two back ends must agree in a part of the scene: pixel by pixel
// (pixels off by more than Tolerance, at most MaxMismatchPercent of the
// part), or, where each back end puts thin strokes and glyphs on the pixel
// grid its own way, by where the ink lies (within Tolerance pixels) and how
// much there is (within MaxMismatchPercent).
enum class TSceneComparison { Pixels, Ink };

struct TScenePart {
  const char* Name;
  TRect Bounds;
  TSceneComparison Comparison;
  int Tolerance;
  int MaxMismatchPercent;
};

constexpr int AntialiasTolerance = 40;

const TScenePart ScenePartTable[] = {
    {"fill", CanvasSceneParts::Fill, TSceneComparison::Pixels, 2, 0},
    {"frame", CanvasSceneParts::Frame, TSceneComparison::Pixels, 2, 0},
    // GDI+ draws with a half-pixel offset; Direct2D centres a one-pixel line
    // on the pixel edge and spreads it over two rows.
    {"solid line", CanvasSceneParts::SolidLine, TSceneComparison::Ink, 2, 35},
    // Dash lengths follow each back end's own pattern for the style.
    {"dashed lines", CanvasSceneParts::DashedLines, TSceneComparison::Ink, 3, 35},
    // Outlines are antialiased differently; the fills are the same.
    {"ellipse", CanvasSceneParts::Ellipse, TSceneComparison::Pixels, AntialiasTolerance, 15},
    {"path", CanvasSceneParts::Path, TSceneComparison::Pixels, AntialiasTolerance, 15},
    // Interpolation of the colours differs by a step per pixel at most.
    {"gradient", CanvasSceneParts::Gradient, TSceneComparison::Pixels, 12, 2},
    {"png with alpha", CanvasSceneParts::Picture, TSceneComparison::Pixels, 4, 2},
    {"clipped fill", CanvasSceneParts::Clipped, TSceneComparison::Pixels, 2, 0},
    {"world transform", CanvasSceneParts::Transformed, TSceneComparison::Pixels, 2, 2},
    // Glyphs come from each back end's own text engine (GDI, DirectWrite).
    {"regular text", CanvasSceneParts::RegularText, TSceneComparison::Ink, 6, 35},
    {"bold text", CanvasSceneParts::BoldText, TSceneComparison::Ink, 6, 35},
};

class CanvasBackends : public Direct2DTest {
 protected:
  void SetUp() override {
    Direct2DTest::SetUp();
    FAssets.emplace();
  }
  void TearDown() override {
    FDirect2D.reset();
    FGdiPlusCanvas.reset();
    FGdiPlusTarget.reset();
    FGdi.reset();
    FAssets.reset();
    Direct2DTest::TearDown();
  }

  using TDrawing = std::function<void(TcxCustomCanvas* ACanvas)>;

  // What ADrawing draws on a white target of the scene's size (the scene
  // itself without one).
  TPixelReader DrawGdi(const TDrawing& ADrawing = nullptr) {
    FGdi.emplace(CanvasSceneWidth, CanvasSceneHeight);
    Draw(FGdi->Get(), ADrawing);
    return [this](int X, int Y) { return FGdi->Surface.Pixel(X, Y); };
  }
  TPixelReader DrawGdiPlus(const TDrawing& ADrawing = nullptr) {
    FGdiPlusTarget.emplace(CanvasSceneWidth, CanvasSceneHeight);
    FGdiPlusCanvas.reset(New<TdxGDIPlusControlCanvas>(FGdiPlusTarget->Canvas()));
    FGdiPlusCanvas->BeginPaint();
    Draw(FGdiPlusCanvas.get(), ADrawing);
    FGdiPlusCanvas->EndPaint();
    return [this](int X, int Y) { return FGdiPlusTarget->Surface.Pixel(X, Y); };
  }
  TPixelReader DrawDirect2D(const TDrawing& ADrawing = nullptr) {
    FDirect2D.emplace(CanvasSceneWidth, CanvasSceneHeight);
    FDirect2D->Begin();
    Draw(FDirect2D->Canvas(), ADrawing);
    EXPECT_FALSE(FDirect2D->End());
    return [this](int X, int Y) { return FDirect2D->Pixel(X, Y); };
  }
  void Draw(TcxCustomCanvas* ACanvas, const TDrawing& ADrawing) {
    if (ADrawing)
      ADrawing(ACanvas);
    else
      DrawCanvasScene(ACanvas, *FAssets);
  }

  // Whether the Direct2D device draws dashes: Wine's Direct2D strokes every
  // line solid whatever its stroke style (that the canvas hands over the
  // dashed style is tested with the brushes and stroke styles).
  static bool Direct2DDrawsDashes() {
    TDirect2DSurface surface(40, 4);
    surface.Begin();
    surface.Canvas()->Line(TPoint(0, 2), TPoint(40, 2), TdxAlphaColor{0xFF000000}, 1, psDash);
    surface.End();
    return surface.Count(TRect(0, 0, 40, 4), RGB(255, 255, 255)) > 40 * 3 + 5;
  }

  // ASolidDashes: B drew its dashed lines solid; only where they lie is compared.
  void Compare(const char* AWhich, const TPixelReader& A, const TPixelReader& B, bool ASolidDashes = false) {
    for (const TScenePart& part : ScenePartTable) {
      SCOPED_TRACE(std::string(AWhich) + ": " + part.Name);
      const bool boundsOnly = ASolidDashes && part.Bounds == CanvasSceneParts::DashedLines;
      int inkA = 0;
      int inkB = 0;
      const TRect boundsA = InkBounds(A, part.Bounds, inkA);
      const TRect boundsB = InkBounds(B, part.Bounds, inkB);
      ASSERT_GT(inkA, 0) << "nothing drawn";
      ASSERT_GT(inkB, 0) << "nothing drawn";
      if (part.Comparison == TSceneComparison::Pixels) {
        const int allowed = part.Bounds.Width() * part.Bounds.Height() * part.MaxMismatchPercent / 100;
        EXPECT_LE(Mismatches(A, B, part.Bounds, part.Tolerance), allowed)
            << "of " << part.Bounds.Width() * part.Bounds.Height() << " pixels";
      } else {
        EXPECT_NEAR(boundsA.Left, boundsB.Left, part.Tolerance);
        EXPECT_NEAR(boundsA.Top, boundsB.Top, part.Tolerance);
        EXPECT_NEAR(boundsA.Right, boundsB.Right, part.Tolerance);
        EXPECT_NEAR(boundsA.Bottom, boundsB.Bottom, part.Tolerance);
        if (boundsOnly) continue;
        const int darknessA = Darkness(A, part.Bounds);
        const int darknessB = Darkness(B, part.Bounds);
        EXPECT_NEAR(darknessA, darknessB, std::max(darknessA, darknessB) * part.MaxMismatchPercent / 100);
      }
    }
    // Nothing lands outside the parts.
    int strayA = 0;
    int strayB = 0;
    TPoint firstStray(-1, -1);
    for (int y = 0; y < CanvasSceneHeight; ++y)
      for (int x = 0; x < CanvasSceneWidth; ++x) {
        const auto inPart = [&](const TRect& R) { return R.Contains(TPoint(x, y)); };
        bool inside = false;
        for (const TScenePart& part : ScenePartTable) inside = inside || inPart(part.Bounds);
        if (inside) continue;
        const bool inkA = A(x, y) != RGB(255, 255, 255);
        const bool inkB = B(x, y) != RGB(255, 255, 255);
        if ((inkA || inkB) && firstStray.X < 0) firstStray = TPoint(x, y);
        strayA += inkA;
        strayB += inkB;
      }
    EXPECT_EQ(strayA, 0) << AWhich << ", first at " << firstStray.X << ", " << firstStray.Y;
    EXPECT_EQ(strayB, 0) << AWhich << ", first at " << firstStray.X << ", " << firstStray.Y;
  }

  std::optional<TCanvasSceneAssets> FAssets;
  std::optional<TCanvasOnSurface> FGdi;
  std::optional<TCanvasOnSurface> FGdiPlusTarget;
  TOwned<TdxGDIPlusControlCanvas> FGdiPlusCanvas;
  std::optional<TDirect2DSurface> FDirect2D;
};

TEST_F(CanvasBackends, GdiPlusDrawsTheSceneAsGdiDoes) {
  const TPixelReader gdi = DrawGdi();
  Compare("GDI+ against GDI", DrawGdiPlus(), gdi);
}

TEST_F(CanvasBackends, Direct2DDrawsTheSceneAsGdiPlusDoes) {
  const TPixelReader gdiPlus = DrawGdiPlus();
  Compare("GDI+ against Direct2D", gdiPlus, DrawDirect2D(), !Direct2DDrawsDashes());
}

TEST_F(CanvasBackends, ThePictureKeepsItsAlphaOnEveryBackEnd) {
  const TPixelReader readers[] = {DrawGdi(), DrawGdiPlus(), DrawDirect2D()};
  const TRect& picture = CanvasSceneParts::Picture;
  for (const TPixelReader& read : readers) {
    EXPECT_EQ(read(picture.Left + 4, picture.Top + 4), RGB(255, 0, 0)) << "opaque half";
    EXPECT_LE(Distance(read(picture.Left + 24, picture.Top + 4), RGB(127, 127, 255)), 3)
        << "half-transparent blue over white";
    EXPECT_EQ(read(picture.Left + 8, picture.Top + 28), RGB(255, 255, 255)) << "transparent quarter";
  }
}

// A canvas image at an opacity below 255, on every back end: the scene's
// picture (opaque red, half-transparent blue) at half opacity over white.
TEST_F(CanvasBackends, ImagesBlendAtTheOpacityTheyAreGiven) {
  const TRect& picture = CanvasSceneParts::Picture;
  const TDrawing drawing = [&](TcxCustomCanvas* ACanvas) {
    const TOwned<TcxCanvasBasedImage> image = ACanvas->CreateImage(FAssets->Picture(), ooReferenced);
    image->Draw(picture, 128);
    image->Draw(TdxRectF(OffsetRectangle(picture, 40, 0)), 64);
  };
  const std::pair<const char*, TPixelReader> backEnds[] = {
      {"GDI", DrawGdi(drawing)}, {"GDI+", DrawGdiPlus(drawing)}, {"Direct2D", DrawDirect2D(drawing)}};
  for (const auto& [backEnd, read] : backEnds) {
    SCOPED_TRACE(backEnd);
    for (const int alpha : {128, 64}) {
      SCOPED_TRACE(alpha);
      const int x = picture.Left + (alpha == 128 ? 0 : 40);
      // Red at alpha; blue at half of alpha (the picture's own half).
      const int blueAlpha = alpha * 128 / 255;
      EXPECT_LE(Distance(read(x + 4, picture.Top + 4), RGB(255, 255 - alpha, 255 - alpha)), 3);
      EXPECT_LE(Distance(read(x + 24, picture.Top + 4), RGB(255 - blueAlpha, 255 - blueAlpha, 255)), 3);
      EXPECT_EQ(read(x + 8, picture.Top + 28), RGB(255, 255, 255));
    }
  }
}

// Every drawing mode of an image-list item, on every back end: the pixels
// of the modes' formulas in the middle of each quadrant of the glyph.
TEST_F(CanvasBackends, ImageListItemsInEveryDrawingMode) {
  const TOwned<TcxImageList> library(New<TcxImageList>(nullptr));
  library->Add(QuadrantGlyph().get(), nullptr);
  // A list that shares its images draws its normal look natively.
  const TOwned<TcxImageList> shared(New<TcxImageList>(nullptr));
  shared->SetShareImages(true);
  shared->Add(QuadrantGlyph().get(), nullptr);
  // A list of the class library's own class: its native images only.
  const TOwned<TImageList> native(New<TImageList>(nullptr));
  native->SetColorDepth(cd32Bit);
  native->Add(QuadrantGlyph().get(), nullptr);
  struct TCase {
    const char* Name;
    TCustomImageList* Images;
    TcxImageDrawMode Mode;
  };
  const TCase cases[] = {
      {"normal", library.get(), idmNormal},         {"disabled", library.get(), idmDisabled},
      {"faded", library.get(), idmFaded},           {"grey", library.get(), idmGrayScale},
      {"dingy", library.get(), idmDingy},           {"shadowed", library.get(), idmShadowed},
      {"shared, normal", shared.get(), idmNormal},  {"shared, disabled", shared.get(), idmDisabled},
      {"class library's list, faded", native.get(), idmFaded},
  };
  // Each case in a cell of its own, 24 pixels apart.
  const auto cell = [](int AIndex) { return TRect(4 + AIndex * 20, 4, 20 + AIndex * 20, 20); };
  const TDrawing drawing = [&](TcxCustomCanvas* ACanvas) {
    for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
      const TOwned<TcxCanvasBasedImageList> images = ACanvas->CreateImageList(cases[i].Images);
      images->Draw(cell(i), 0, -1, cases[i].Mode);
    }
  };
  const std::pair<const char*, TPixelReader> backEnds[] = {
      {"GDI", DrawGdi(drawing)}, {"GDI+", DrawGdiPlus(drawing)}, {"Direct2D", DrawDirect2D(drawing)}};
  for (const auto& [backEnd, read] : backEnds) {
    for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
      const TCase& c = cases[i];
      SCOPED_TRACE(std::string(backEnd) + ", " + c.Name);
      const TRect r = cell(i);
      for (int q = 0; q < 4; ++q) {
        // A shadow shows through the half-transparent quadrant.
        if (c.Mode == idmShadowed && q == 1) continue;
        const int x = r.Left + 4 + (q % 2) * 8;
        const int y = r.Top + 4 + (q / 2) * 8;
        const COLORREF expected = ExpectedOverWhite(GlyphQuadrants[q], c.Mode == idmShadowed ? idmNormal : c.Mode);
        EXPECT_LE(Distance(read(x, y), expected), 4)
            << "quadrant " << q << ": " << std::hex << read(x, y) << " instead of " << expected;
      }
      // The image moves up and left by one; the first quadrant's shadow,
      // two pixels further, reaches into the transparent one below it.
      if (c.Mode == idmShadowed) {
        EXPECT_LE(Distance(read(r.Left + 4, r.Top + 8), ColorToRGB(clBtnShadow)), 4);
      }
    }
  }
}

}  // namespace
