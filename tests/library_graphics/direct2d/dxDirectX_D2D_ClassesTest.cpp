// Direct2D brushes made from GDI+ brushes, and the shared stroke styles:
// which brush the factory makes, when a brush is rebuilt or moved, and that
// its pixels are those of the GDI+ brush it stands for.
#include "tests/library_graphics/Direct2DTesting.h"
#include "tests/library_graphics/PixelTesting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

// A GDI+ brush of a class the factory has no entry of its own for.
class TSolidTestBrush : public TdxGPCustomBrush {
  SK_CLASS(TSolidTestBrush, TdxGPCustomBrush)
 public:
  using inherited::Create;
  void Create(TdxAlphaColor AColor) { FColor = AColor; }
  void Assign(TdxGPCustomGraphicObject* ASource) override {
    inherited::Assign(ASource);
    FColor = As<TSolidTestBrush>(ASource)->FColor;
  }

 protected:
  void CreateHandle(TdxGpHandle& AHandle) override {
    GpSolidFill* brush = nullptr;
    CheckGdipStatus(GdipCreateSolidFill(FColor, &brush));
    AHandle = brush;
  }
  bool GetIsEmpty() override { return FColor == 0; }

 private:
  TdxAlphaColor FColor;
};

class Direct2DBrushes : public Direct2DTest {
 protected:
  // ABrush laid over R and filled into R, on white.
  void Fill(TDirect2DSurface& ASurface, TdxDirect2DBrush* ABrush, const D2D1_RECT_F& R) {
    ASurface.Begin();
    ASurface.Context()->FillRectangle(&R, ABrush->GetHandle(R));
    ASSERT_FALSE(ASurface.End());
  }
};

TEST_F(Direct2DBrushes, TheFactoryChoosesByTheBrushClass) {
  TDirect2DSurface surface(8, 8);
  ID2D1DeviceContext* context = surface.Context();
  const auto gpBrush = [](TdxGPBrushStyle AStyle) {
    TOwned<TdxGPBrush> brush(New<TdxGPBrush>());
    brush->SetStyle(AStyle);
    brush->SetColor(0xFF00FF00);
    brush->GradientPoints()->Add(0, 0xFFFF0000);
    brush->GradientPoints()->Add(1, 0xFF0000FF);
    return brush;
  };
  struct TCase {
    const char* Name;
    TOwned<TdxGPCustomBrush> Brush;
    TClass Expected;
  };
  TCase cases[] = {
      {"solid", gpBrush(gpbsSolid), TdxDirect2DSolidBrush::ClassInfo()},
      {"gradient", gpBrush(gpbsGradient), TdxDirect2DLinearGradientBrush::ClassInfo()},
      {"texture", gpBrush(gpbsTexture), TdxDirect2DTexturedBrush::ClassInfo()},
      {"clear", gpBrush(gpbsClear), TdxDirect2DSolidBrush::ClassInfo()},
      {"hatch", TOwned<TdxGPCustomBrush>(New<TdxGPHatchBrush>(0xFFFFFFFF, 0xFF000000, Gdiplus::HatchStyleCross)),
       TdxDirect2DHatchBrush::ClassInfo()},
      {"any other", TOwned<TdxGPCustomBrush>(New<TSolidTestBrush>(0xFF123456)),
       TdxDirect2DComplexNativeBrush::ClassInfo()},
  };
  for (TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TOwned<TdxDirect2DBrush> brush = TdxDirect2DBrushFactory::Create(context, c.Brush.get());
    EXPECT_EQ(brush->ClassType(), c.Expected);
    EXPECT_EQ(brush->Context(), context);
  }
}

TEST_F(Direct2DBrushes, BrushesPaintWhatTheirGdiPlusBrushPaints) {
  TDirect2DSurface surface(16, 16);
  TGpSurface reference(16, 16);
  const TdxRectF area(0, 0, 16, 16);
  struct TCase {
    const char* Name;
    TOwned<TdxGPCustomBrush> Brush;
  };
  TOwned<TdxGPBrush> solid(New<TdxGPBrush>());
  solid->SetColor(0xFF3366CC);
  TCase cases[] = {
      {"solid", std::move(solid)},
      {"hatch as its 8 x 8 pattern",
       TOwned<TdxGPCustomBrush>(New<TdxGPHatchBrush>(0xFFFFFF00, 0xFF0000FF, Gdiplus::HatchStyleDiagonalCross))},
      {"any other through a bitmap", TOwned<TdxGPCustomBrush>(New<TSolidTestBrush>(0xFF808000))},
  };
  for (TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TOwned<TdxDirect2DBrush> brush = TdxDirect2DBrushFactory::Create(surface.Context(), c.Brush.get());
    Fill(surface, brush.get(), dxRectToD2DRect(area));
    reference.Canvas()->FillRectangle(area, c.Brush.get());
    reference.Flush();
    int different = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        if (surface.Pixel(x, y) != reference.Pixel(x, y)) ++different;
    EXPECT_EQ(different, 0);
  }
}

TEST_F(Direct2DBrushes, GradientsAreMadeAgainOnlyForAnotherTarget) {
  TDirect2DSurface surface(8, 8);
  const TOwned<TdxDirect2DLinearGradientBrush> brush(New<TdxDirect2DLinearGradientBrush>(
      surface.Context(), Gdiplus::LinearGradientModeHorizontal,
      std::vector<D2D1_GRADIENT_STOP>{{0, {1, 0, 0, 1}}, {1, {0, 0, 1, 1}}}));
  ID2D1Brush* first = brush->GetHandle({0, 0, 100, 10});
  EXPECT_EQ(brush->GetHandle({0, 0, 100, 10}), first);
  EXPECT_EQ(brush->GetHandle({0.005f, 0, 100.005f, 10}), first) << "within 0.01: the same target";
  EXPECT_EQ(brush->BuildCount(), 1);
  brush->GetHandle({0, 0, 50, 10});
  EXPECT_EQ(brush->BuildCount(), 2);
  EXPECT_FALSE(brush->IsEmpty());
  const TOwned<TdxDirect2DLinearGradientBrush> noStops(
      New<TdxDirect2DLinearGradientBrush>(surface.Context(), Gdiplus::LinearGradientModeVertical,
                                          std::vector<D2D1_GRADIENT_STOP>{}));
  EXPECT_TRUE(noStops->IsEmpty());
  EXPECT_EQ(noStops->GetHandle({0, 0, 10, 10}), nullptr);
  // Why: Direct2D refuses a gradient without stops, which would raise in
  // the middle of a paint where GDI+ paints nothing.
  TComPtr<ID2D1GradientStopCollection> none;
  const D2D1_GRADIENT_STOP unused{};
  EXPECT_TRUE(FAILED(surface.Context()->CreateGradientStopCollection(&unused, 0, D2D1_GAMMA_2_2,
                                                                     D2D1_EXTEND_MODE_CLAMP, none.Receive())));
}

// The colour of a two-stop gradient (red to blue) at fraction T of its way,
// with gamma 2.2 stops interpolated in the colours as they stand.
COLORREF RedToBlueAt(double T) {
  const double t = std::clamp(T, 0.0, 1.0);
  return RGB(static_cast<int>(std::lround(255 * (1 - t))), 0, static_cast<int>(std::lround(255 * t)));
}

TEST_F(Direct2DBrushes, LineAndRadialGradientsLieOnTheirFractionsOfTheTarget) {
  const std::vector<D2D1_GRADIENT_STOP> redToBlue{{0, {1, 0, 0, 1}}, {1, {0, 0, 1, 1}}};
  const D2D1_RECT_F target{10, 20, 50, 40};  // 40 x 20
  TDirect2DSurface surface(60, 50);
  // From a quarter of the way across to three quarters, at mid-height.
  const TOwned<TdxDirect2DLineGradientBrush> line(New<TdxDirect2DLineGradientBrush>(
      surface.Context(), TdxPointF(0.25f, 0.5f), TdxPointF(0.75f, 0.5f), redToBlue));
  Fill(surface, line.get(), target);
  for (int x = 10; x < 50; x += 3) {
    SCOPED_TRACE(x);
    // Start at 10 + 10, end at 10 + 30, pixels sampled at their centres.
    const COLORREF expected = RedToBlueAt((x + 0.5 - 20) / 20);
    EXPECT_LE(Distance(surface.Pixel(x, 25), expected), 3);
    EXPECT_EQ(surface.Pixel(x, 25), surface.Pixel(x, 35)) << "the same down a column";
  }
  // Centred, with radii of half the width and half the height: the target's
  // inscribed ellipse.
  const TOwned<TdxDirect2DRadialGradientBrush> radial(New<TdxDirect2DRadialGradientBrush>(
      surface.Context(), TdxPointF(0.5f, 0.5f), TdxPointF(0.5f, 0.5f), redToBlue));
  Fill(surface, radial.get(), target);
  const struct {
    int X, Y;
  } points[] = {{30, 30}, {35, 30}, {45, 30}, {30, 34}, {30, 38}, {38, 34}, {12, 22}};
  for (const auto& p : points) {
    SCOPED_TRACE(testing::Message() << p.X << ", " << p.Y);
    const double dx = (p.X + 0.5 - 30) / 20;
    const double dy = (p.Y + 0.5 - 30) / 10;
    EXPECT_LE(Distance(surface.Pixel(p.X, p.Y), RedToBlueAt(std::sqrt(dx * dx + dy * dy))), 3);
  }
  EXPECT_EQ(surface.Pixel(5, 5), RGB(255, 255, 255)) << "outside the target";
}

TEST_F(Direct2DBrushes, GradientLinesFollowTheMode) {
  struct TCase {
    const char* Name;
    Gdiplus::LinearGradientMode Mode;
    D2D1_POINT_2F Start;
    D2D1_POINT_2F End;
  };
  const TCase cases[] = {
      {"horizontal", Gdiplus::LinearGradientModeHorizontal, {10, 20}, {110, 20}},
      {"vertical", Gdiplus::LinearGradientModeVertical, {10, 20}, {10, 70}},
      {"forward diagonal", Gdiplus::LinearGradientModeForwardDiagonal, {10, 20}, {110, 70}},
      {"backward diagonal", Gdiplus::LinearGradientModeBackwardDiagonal, {110, 20}, {10, 70}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    D2D1_POINT_2F start;
    D2D1_POINT_2F end;
    TdxDirect2DLinearGradientBrush::GetGradientLine({10, 20, 110, 70}, c.Mode, start, end);
    EXPECT_EQ(start.x, c.Start.x);
    EXPECT_EQ(start.y, c.Start.y);
    EXPECT_EQ(end.x, c.End.x);
    EXPECT_EQ(end.y, c.End.y);
  }
}

TEST_F(Direct2DBrushes, TexturesStartAtTheTargetsCorner) {
  TDirect2DSurface surface(40, 40);
  // A 2 x 2 checker: red, green on top; blue, white below.
  const TOwned<TdxFastDIB> texture(New<TdxFastDIB>(2, 2, true));
  *texture->GetPixel(0, 0) = {0, 0, 255, 255};
  *texture->GetPixel(1, 0) = {0, 255, 0, 255};
  *texture->GetPixel(0, 1) = {255, 0, 0, 255};
  *texture->GetPixel(1, 1) = {255, 255, 255, 255};
  const TComPtr<ID2D1Bitmap> bitmap = dxCreateD2DBitmap(surface.Context(), texture.get(), afIgnored);
  const TOwned<TdxDirect2DTexturedBrush> brush(New<TdxDirect2DTexturedBrush>(surface.Context(), nullptr, bitmap.Get()));
  Fill(surface, brush.get(), {10, 20, 30, 40});
  EXPECT_EQ(surface.Pixel(10, 20), RGB(255, 0, 0));
  EXPECT_EQ(surface.Pixel(11, 20), RGB(0, 255, 0));
  EXPECT_EQ(surface.Pixel(10, 21), RGB(0, 0, 255));
  EXPECT_EQ(surface.Pixel(13, 23), RGB(255, 255, 255));

  // With a texture transform: the transform first, then the corner.
  const TOwned<TdxGPMatrix> doubled(New<TdxGPMatrix>(2.0f, 0.0f, 0.0f, 2.0f, 0.0f, 0.0f));
  const TOwned<TdxDirect2DTexturedBrush> scaled(
      New<TdxDirect2DTexturedBrush>(surface.Context(), doubled.get(), bitmap.Get()));
  ASSERT_NE(scaled->OriginalTransform(), nullptr);
  Fill(surface, scaled.get(), {10, 20, 30, 40});
  EXPECT_EQ(surface.Pixel(11, 21), RGB(255, 0, 0));
  EXPECT_EQ(surface.Pixel(12, 20), RGB(0, 255, 0));
  EXPECT_EQ(surface.Pixel(10, 22), RGB(0, 0, 255));
}

TEST_F(Direct2DBrushes, AnyOtherBrushIsRenderedForTheTargetsSize) {
  TDirect2DSurface surface(40, 40);
  const TOwned<TSolidTestBrush> red(New<TSolidTestBrush>(0xFFFF0000));
  const TOwned<TdxDirect2DComplexNativeBrush> brush(New<TdxDirect2DComplexNativeBrush>(surface.Context(), red.get()));
  EXPECT_FALSE(brush->IsEmpty());
  ID2D1Brush* first = brush->GetHandle({0, 0, 10, 10});
  EXPECT_EQ(brush->GetHandle({0.001f, 0, 10.001f, 10}), first);
  EXPECT_NE(brush->GetHandle({5, 5, 25, 15}), first) << "another size: another bitmap";
  Fill(surface, brush.get(), {5, 5, 25, 15});
  EXPECT_EQ(surface.Count(TRect(5, 5, 25, 15), RGB(255, 0, 0)), 200);
  EXPECT_EQ(surface.Count(surface.ClientRect(), RGB(255, 0, 0)), 200);
  const TOwned<TSolidTestBrush> transparent(New<TSolidTestBrush>(0));
  const TOwned<TdxDirect2DComplexNativeBrush> empty(
      New<TdxDirect2DComplexNativeBrush>(surface.Context(), transparent.get()));
  EXPECT_TRUE(empty->IsEmpty());
}

TEST_F(Direct2DBrushes, SolidPensHaveNoStrokeStyleAndDashesShareOne) {
  EXPECT_EQ(TdxDirect2DPenStyleCache::Get(TdxStrokeStyle::Solid), nullptr);
  ID2D1StrokeStyle1* dash = TdxDirect2DPenStyleCache::Get(TdxStrokeStyle::Dash);
  ASSERT_NE(dash, nullptr);
  EXPECT_EQ(TdxDirect2DPenStyleCache::Get(TdxStrokeStyle::Dash), dash);
  const TdxStrokeStyle styles[] = {TdxStrokeStyle::Dash, TdxStrokeStyle::Dot, TdxStrokeStyle::DashDot,
                                   TdxStrokeStyle::DashDotDot};
  for (TdxStrokeStyle style : styles) {
    ID2D1StrokeStyle1* stroke = TdxDirect2DPenStyleCache::Get(style);
    EXPECT_EQ(stroke->GetDashStyle(), static_cast<D2D1_DASH_STYLE>(style));
    EXPECT_EQ(stroke->GetStartCap(), D2D1_CAP_STYLE_FLAT);
    EXPECT_EQ(stroke->GetDashCap(), D2D1_CAP_STYLE_SQUARE);
    EXPECT_EQ(stroke->GetLineJoin(), D2D1_LINE_JOIN_MITER);
    EXPECT_FLOAT_EQ(stroke->GetMiterLimit(), 10);
  }
}

}  // namespace
