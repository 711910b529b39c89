// The shape unit's GDI+ brushes as Direct2D brushes: the graphics layer's
// brush factory finds the entries the shape unit registers, and each
// Direct2D brush paints what its GDI+ brush paints over the same target.
#include "library/graphics/direct2d/dxDirectX_D2D_Classes.h"
#include "library/vector/dxShapeBrushes.h"
#include "tests/library_graphics/Direct2DTesting.h"
#include "tests/library_graphics/PixelTesting.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

constexpr TdxAlphaColor Red = 0xFFFF0000;
constexpr TdxAlphaColor Blue = 0xFF0000FF;

bool Reddish(COLORREF AColor) { return GetRValue(AColor) > 190 && GetBValue(AColor) < 70; }
bool Bluish(COLORREF AColor) { return GetBValue(AColor) > 190 && GetRValue(AColor) < 70; }

template <class T>
TOwned<TdxGPCustomBrush> RedToBlue(const std::function<void(T*)>& ASetUp = nullptr) {
  TOwned<T> brush(New<T>());
  brush->GradientPoints()->Add(0, Red);
  brush->GradientPoints()->Add(1, Blue);
  if (ASetUp) ASetUp(brush.get());
  return TOwned<TdxGPCustomBrush>(brush.release());
}

TOwned<TdxGPCustomBrush> Linear(TdxGPLinearGradientBrushMode AMode, TdxPointF AStart = {}, TdxPointF AEnd = {}) {
  return RedToBlue<TdxGPLinearGradientBrush>([&](TdxGPLinearGradientBrush* B) {
    B->SetGradientMode(AMode);
    B->SetStartPoint(AStart);
    B->SetEndPoint(AEnd);
  });
}

class ShapeBrushesOnDirect2D : public Direct2DTest {};

TEST_F(ShapeBrushesOnDirect2D, EachBrushBecomesItsKindAndPaintsWhatGdiPlusPaints) {
  struct TCase {
    const char* Name;
    TOwned<TdxGPCustomBrush> Brush;
    TClass Expected;
    // Sampled on both back ends; gradients differ by a step per pixel.
    int Tolerance;
  };
  TCase cases[] = {
      {"solid", TOwned<TdxGPCustomBrush>(New<TdxGPSolidBrush>(0xFF3366CC)), TdxDirect2DSolidBrush::ClassInfo(), 0},
      {"horizontal", Linear(gplgbmHorizontal), TdxDirect2DLinearGradientBrush::ClassInfo(), 12},
      {"vertical", Linear(gplgbmVertical), TdxDirect2DLinearGradientBrush::ClassInfo(), 12},
      {"forward diagonal", Linear(gplgbmForwardDiagonal), TdxDirect2DLinearGradientBrush::ClassInfo(), 12},
      {"line from right to left", Linear(gplgbmLine, TdxPointF(1, 0), TdxPointF(0, 0)),
       TdxDirect2DLineGradientBrush::ClassInfo(), 12},
  };
  const TdxRectF area(0, 0, 40, 40);
  for (TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TDirect2DSurface surface(40, 40);
    const TOwned<TdxDirect2DBrush> brush = TdxDirect2DBrushFactory::Create(surface.Context(), c.Brush.get());
    ASSERT_EQ(brush->ClassType(), c.Expected);
    const D2D1_RECT_F target = dxRectToD2DRect(area);
    surface.Begin();
    surface.Context()->FillRectangle(&target, brush->GetHandle(target));
    ASSERT_FALSE(surface.End());
    TGpSurface reference(40, 40);
    reference.Canvas()->FillRectangle(area, c.Brush.get());
    reference.Flush();
    for (int y = 2; y < 40; y += 6)
      for (int x = 2; x < 40; x += 6) {
        SCOPED_TRACE(testing::Message() << x << ", " << y);
        EXPECT_LE(Distance(surface.Pixel(x, y), reference.Pixel(x, y)), c.Tolerance);
      }
  }
}

// Wine's GDI+ paints path gradients in their centre and surround colours
// only, so the radial brush is checked by where its colours lie.
TEST_F(ShapeBrushesOnDirect2D, ARadialGradientRunsFromItsCentreToItsEllipse) {
  TDirect2DSurface surface(40, 40);
  const TOwned<TdxGPCustomBrush> gpBrush = RedToBlue<TdxRadialGradientBrush>([](TdxRadialGradientBrush* B) {
    B->SetCenter(TdxPointF(0.25f, 0.5f));
    B->SetRadius(TdxPointF(0.25f, 0.5f));
  });
  const TOwned<TdxDirect2DBrush> brush = TdxDirect2DBrushFactory::Create(surface.Context(), gpBrush.get());
  ASSERT_EQ(brush->ClassType(), TdxDirect2DRadialGradientBrush::ClassInfo());
  const D2D1_RECT_F target{0, 0, 40, 40};
  surface.Begin();
  surface.Context()->FillRectangle(&target, brush->GetHandle(target));
  ASSERT_FALSE(surface.End());
  // The centre at (10, 20), radii 10 across and 20 down.
  EXPECT_TRUE(Reddish(surface.Pixel(10, 20)));
  EXPECT_TRUE(Bluish(surface.Pixel(19, 20))) << "near the ellipse across";
  EXPECT_TRUE(Bluish(surface.Pixel(10, 39))) << "near the ellipse down";
  EXPECT_FALSE(Bluish(surface.Pixel(10, 30))) << "half way down is half way";
  EXPECT_FALSE(Reddish(surface.Pixel(10, 30)));
}

}  // namespace
