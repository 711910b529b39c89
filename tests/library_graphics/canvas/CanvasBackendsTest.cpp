// The same scene drawn by the GDI-based, the GDI+ and the Direct2D canvas
// into off-screen targets and compared part by part, with a tolerance for
// the edges that antialiasing blends differently.
#include "library/graphics/gdiplus/dxGDIPlusCanvas.h"
#include "tests/library_graphics/CanvasScene.h"
#include "tests/library_graphics/Direct2DTesting.h"
#include "tests/library_graphics/GdiCanvasTesting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>

namespace {

using TPixelReader = std::function<COLORREF(int X, int Y)>;

int ChannelDifference(COLORREF A, COLORREF B) {
  return std::max({std::abs(GetRValue(A) - GetRValue(B)), std::abs(GetGValue(A) - GetGValue(B)),
                   std::abs(GetBValue(A) - GetBValue(B))});
}

// Pixels of R whose channels differ by more than ATolerance.
int Mismatches(const TPixelReader& A, const TPixelReader& B, const TRect& R, int ATolerance) {
  int count = 0;
  for (int y = R.Top; y < R.Bottom; ++y)
    for (int x = R.Left; x < R.Right; ++x)
      if (ChannelDifference(A(x, y), B(x, y)) > ATolerance) ++count;
  return count;
}

// The pixels of R that are not white: what was drawn there.
TRect InkBounds(const TPixelReader& A, const TRect& R, int& ACount) {
  TRect bounds(R.Right, R.Bottom, R.Left, R.Top);
  ACount = 0;
  for (int y = R.Top; y < R.Bottom; ++y)
    for (int x = R.Left; x < R.Right; ++x)
      if (ChannelDifference(A(x, y), RGB(255, 255, 255)) > 64) {
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

  TPixelReader DrawGdi() {
    FGdi.emplace(CanvasSceneWidth, CanvasSceneHeight);
    DrawCanvasScene(FGdi->Get(), *FAssets);
    return [this](int X, int Y) { return FGdi->Surface.Pixel(X, Y); };
  }
  TPixelReader DrawGdiPlus() {
    FGdiPlusTarget.emplace(CanvasSceneWidth, CanvasSceneHeight);
    FGdiPlusCanvas.reset(New<TdxGDIPlusControlCanvas>(FGdiPlusTarget->Canvas()));
    FGdiPlusCanvas->BeginPaint();
    DrawCanvasScene(FGdiPlusCanvas.get(), *FAssets);
    FGdiPlusCanvas->EndPaint();
    return [this](int X, int Y) { return FGdiPlusTarget->Surface.Pixel(X, Y); };
  }
  TPixelReader DrawDirect2D() {
    FDirect2D.emplace(CanvasSceneWidth, CanvasSceneHeight);
    FDirect2D->Begin();
    DrawCanvasScene(FDirect2D->Canvas(), *FAssets);
    EXPECT_FALSE(FDirect2D->End());
    return [this](int X, int Y) { return FDirect2D->Pixel(X, Y); };
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
    EXPECT_LE(ChannelDifference(read(picture.Left + 24, picture.Top + 4), RGB(127, 127, 255)), 3)
        << "half-transparent blue over white";
    EXPECT_EQ(read(picture.Left + 8, picture.Top + 28), RGB(255, 255, 255)) << "transparent quarter";
  }
}

}  // namespace
