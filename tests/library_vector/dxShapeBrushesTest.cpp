// The GDI+ brushes laid over a target rectangle and the shape brushes over
// them. Fills go straight through GDI+ after the brush has been given its
// target rectangle, as the canvases do.
#include "tests/library_vector/ShapeTesting.h"

#include <functional>
#include <vector>

using namespace Gdiplus;

namespace {

constexpr TdxAlphaColor Red = 0xFFFF0000;
constexpr TdxAlphaColor Green = 0xFF00FF00;
constexpr TdxAlphaColor Blue = 0xFF0000FF;

class ShapeBrushes : public ShapeTest {
 protected:
  // Fills R with the brush laid over R.
  static void Fill(TGpSurface& ASurface, TdxGPCustomBrush* ABrush, const TdxRectF& R) {
    ABrush->SetTargetRect(R);
    CheckGdipStatus(GdipFillRectangle(ASurface.Graphics(), ABrush->GpHandle(), R.Left, R.Top, R.Width(), R.Height()));
    ASurface.Flush();
  }
  // A 2 x 2 image: red, green in the first row, blue, black in the second.
  static TOwned<TdxGPImage> Checker(TdxAlphaColor ATopLeft = Red) {
    const TdxAlphaColor pixels[] = {ATopLeft, Green, Blue, 0xFF000000};
    GpBitmap* bitmap = nullptr;
    CheckGdipStatus(GdipCreateBitmapFromScan0(2, 2, 8, PixelFormat32bppARGB,
                                              reinterpret_cast<BYTE*>(const_cast<TdxAlphaColor*>(pixels)), &bitmap));
    // The bitmap reads the pixels above; the image keeps a copy of its own.
    const TdxGpOwnedImage image(bitmap);
    GpImage* copy = nullptr;
    CheckGdipStatus(GdipCloneImage(image.Get(), &copy));
    TOwned<TdxGPImage> result(New<TdxGPImage>());
    result->SetHandle(copy);
    return result;
  }
  template <class T>
  static TOwned<T> Gradient(std::initializer_list<std::pair<float, TdxAlphaColor>> AStops) {
    TOwned<T> result(New<T>());
    for (const auto& [offset, color] : AStops) result->GradientPoints()->Add(offset, color);
    return result;
  }
};

bool Reddish(COLORREF AColor) { return GetRValue(AColor) > 190 && GetBValue(AColor) < 70; }
bool Bluish(COLORREF AColor) { return GetBValue(AColor) > 190 && GetRValue(AColor) < 70; }

// ---------------------------------------------------------------------------
// Emptiness and handles

TEST_F(ShapeBrushes, ABrushIsEmptyWhenItWouldPaintNothing) {
  const TOwned<TdxGPImage> image = Checker();
  const struct {
    const char* Name;
    std::function<TdxGPCustomBrush*()> Make;
    bool Empty;
  } cases[] = {
      {"solid, empty colour", [] { return New<TdxGPSolidBrush>(0); }, true},
      {"solid, default marker", [] { return New<TdxGPSolidBrush>(0x00010203); }, true},
      {"solid, transparent white", [] { return New<TdxGPSolidBrush>(0x00FFFFFF); }, true},
      {"solid, opaque black", [] { return New<TdxGPSolidBrush>(0xFF000000); }, false},
      {"solid, half-transparent red", [] { return New<TdxGPSolidBrush>(0x80FF0000); }, false},
      {"texture without image", [] { return New<TdxGPTextureBrush>(); }, true},
      {"texture with image", [&] { return New<TdxGPTextureBrush>(image.get()); }, false},
      {"linear without stops", [] { return New<TdxLinearGradientBrush>(); }, true},
      {"linear with a stop", [] { return Gradient<TdxLinearGradientBrush>({{0.5f, Red}}).release(); }, false},
      {"radial without stops", [] { return New<TdxRadialGradientBrush>(); }, true},
      {"radial with a stop", [] { return Gradient<TdxRadialGradientBrush>({{0.5f, Red}}).release(); }, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const TOwned<TdxGPCustomBrush> brush(c.Make());
    EXPECT_EQ(brush->IsEmpty(), c.Empty);
  }
}

TEST_F(ShapeBrushes, ASolidColourGoesIntoTheLiveObject) {
  const TOwned<TdxGPSolidBrush> brush(New<TdxGPSolidBrush>(Red));
  int changes = 0;
  TOwned<TShapeChangeCounter> counter(New<TShapeChangeCounter>(&changes));
  brush->SetOnChange(BindEvent<&TShapeChangeCounter::Notify>(counter.get()));

  brush->SetColor(Blue);  // no object yet: made with the new colour
  ASSERT_TRUE(brush->HandleAllocated());
  GpBrush* handle = brush->GpHandle();
  ARGB color = 0;
  GdipGetSolidFillColor(static_cast<GpSolidFill*>(handle), &color);
  EXPECT_EQ(color, Blue);

  brush->SetColor(Green);
  EXPECT_EQ(brush->GpHandle(), handle);
  GdipGetSolidFillColor(static_cast<GpSolidFill*>(handle), &color);
  EXPECT_EQ(color, Green);
  brush->SetColor(Green);
  EXPECT_EQ(changes, 2);

  brush->SetTargetRect(TdxRectF(0, 0, 10, 10));
  EXPECT_EQ(brush->GpHandle(), handle) << "a solid brush does not depend on its target";
}

TEST_F(ShapeBrushes, TheTargetRectangleIsStoredGrownByOne) {
  const TOwned<TdxGPSolidBrush> brush(New<TdxGPSolidBrush>(Red));
  brush->SetTargetRect(TdxRectF(10, 20, 40, 30));
  const TdxGpRectF& r = brush->TargetRect();
  EXPECT_EQ(TdxRectF(r.X, r.Y, r.X + r.Width, r.Y + r.Height), TdxRectF(9, 19, 41, 31));
}

// ---------------------------------------------------------------------------
// Textures

// The colour the checker shows at (X, Y) when its tiles start at AOrigin.
COLORREF CheckerAt(int X, int Y, const TPoint& AOrigin) {
  static const COLORREF colors[2][2] = {{RGB(255, 0, 0), RGB(0, 255, 0)}, {RGB(0, 0, 255), RGB(0, 0, 0)}};
  return colors[((Y - AOrigin.Y) % 2 + 2) % 2][((X - AOrigin.X) % 2 + 2) % 2];
}

TEST_F(ShapeBrushes, ATextureTilesFromTheTargetRectanglesCorner) {
  const TOwned<TdxGPImage> image = Checker();
  const TOwned<TdxGPTextureBrush> brush(New<TdxGPTextureBrush>(image.get()));
  // The target rectangle is stored grown by one, so the tiles start one
  // pixel up and left of the filled rectangle; a second target moves them.
  for (const TRect r : {TRect(4, 6, 12, 14), TRect(5, 6, 13, 14), TRect(4, 7, 12, 15)}) {
    SCOPED_TRACE(testing::Message() << r.Left << "," << r.Top);
    TGpSurface surface(20, 20);
    Fill(surface, brush.get(), TdxRectF(r));
    const TPoint origin(r.Left - 1, r.Top - 1);
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) ASSERT_EQ(surface.Pixel(x, y), CheckerAt(x, y, origin)) << x << "," << y;
    EXPECT_EQ(surface.BoundsOfOther(ShapeWhite), r);
  }
}

TEST_F(ShapeBrushes, ATextureBrushDrawsItsNewImage) {
  const TOwned<TdxGPImage> red = Checker(Red);
  const TOwned<TdxGPImage> white = Checker(0xFFFFFFFF);
  const TOwned<TdxGPTextureBrush> brush(New<TdxGPTextureBrush>(red.get()));
  TGpSurface before(8, 8);
  Fill(before, brush.get(), TdxRectF(1, 1, 7, 7));
  EXPECT_EQ(before.Count(RGB(255, 0, 0)), 9);

  brush->SetTexture(white.get());
  TGpSurface after(8, 8);
  Fill(after, brush.get(), TdxRectF(1, 1, 7, 7));
  EXPECT_EQ(after.Count(RGB(255, 0, 0)), 0) << after.Picture(ShapeWhite);
  EXPECT_EQ(after.Count(ShapeWhite), 64 - 27);
}

TEST_F(ShapeBrushes, ATextureBrushWithoutImagePaintsNothing) {
  const TOwned<TdxGPTextureBrush> brush(New<TdxGPTextureBrush>());
  TGpSurface surface(10, 10);
  Fill(surface, brush.get(), TdxRectF(0, 0, 10, 10));
  EXPECT_EQ(surface.Count(ShapeWhite), 100);
}

// ---------------------------------------------------------------------------
// Gradients

TEST_F(ShapeBrushes, AGradientWithoutStopsGetsOneTransparentStopWhenMadeNevertheless) {
  const TOwned<TdxLinearGradientBrush> brush(New<TdxLinearGradientBrush>());
  TGpSurface surface(10, 10);
  Fill(surface, brush.get(), TdxRectF(0, 0, 10, 10));
  EXPECT_EQ(surface.Count(ShapeWhite), 100);
  ASSERT_EQ(brush->GradientPoints()->Count(), 1);
  EXPECT_EQ(brush->GradientPoints()->Offsets(0), 1.0f);
  EXPECT_EQ(brush->GradientPoints()->Colors(0), 0u);
  EXPECT_FALSE(brush->IsEmpty());
}

// The preset blend of a path gradient brush, as GDI+ holds it.
std::vector<std::pair<float, TdxAlphaColor>> PresetBlendOf(TdxGPCustomBrush* ABrush) {
  auto* gradient = static_cast<GpPathGradient*>(ABrush->GpHandle());
  INT count = 0;
  CheckGdipStatus(GdipGetPathGradientPresetBlendCount(gradient, &count));
  std::vector<ARGB> colors(static_cast<std::size_t>(count));
  std::vector<REAL> offsets(static_cast<std::size_t>(count));
  CheckGdipStatus(GdipGetPathGradientPresetBlend(gradient, colors.data(), offsets.data(), count));
  std::vector<std::pair<float, TdxAlphaColor>> result;
  for (INT i = 0; i < count; ++i) result.emplace_back(offsets[i], colors[i]);
  return result;
}

TEST_F(ShapeBrushes, APathGradientMirrorsItsStopsFromTheCentreToTheOutline) {
  using TStops = std::vector<std::pair<float, TdxAlphaColor>>;
  const struct {
    const char* Name;
    TStops Stops;
    TStops Blend;
  } cases[] = {
      {"red to blue", {{0, Red}, {1, Blue}}, {{0, Blue}, {0, Blue}, {1, Red}, {1, Red}}},
      {"one stop inside", {{0.25f, Red}}, {{0, Red}, {0.75f, Red}, {1, Red}}},
      // No offset above 0: the outline is transparent.
      {"one stop at the centre", {{0, Red}}, {{0, 0}, {1, Red}, {1, Red}}},
      {"no stops", {}, {{0, 0}, {0, 0}, {1, 0}}},
      {"three stops", {{0, Red}, {0.5f, Green}, {0.75f, Blue}}, {{0, Blue}, {0.25f, Blue}, {0.5f, Green}, {1, Red}, {1, Red}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const TOwned<TdxRadialGradientBrush> brush(New<TdxRadialGradientBrush>());
    for (const auto& [offset, color] : c.Stops) brush->GradientPoints()->Add(offset, color);
    brush->SetTargetRect(TdxRectF(0, 0, 20, 20));
    EXPECT_EQ(PresetBlendOf(brush.get()), c.Blend);
    EXPECT_EQ(brush->GradientPoints()->Count(), static_cast<int>(c.Stops.size())) << "the brush's own stops stay";
  }
}

// Wine paints path gradients in their centre and surround colours and
// leaves preset blends aside, so these tests look at where the ink lies; the
// blend itself is checked above, as GDI+ holds it.
constexpr COLORREF Black = RGB(0, 0, 0);

TEST_F(ShapeBrushes, ARadialGradientLiesOnItsEllipse) {
  const struct {
    const char* Name;
    TdxPointF Center;
    TdxPointF Radius;
    TRect Ink;
  } cases[] = {
      // The default is the ellipse of the target rectangle, which is the
      // filled rectangle grown by one.
      {"default", TdxPointF(0.5f, 0.5f), TdxPointF(0.5f, 0.5f), TRect(0, 0, 40, 40)},
      {"radii (0, 0): the whole target, whatever the centre", TdxPointF(0.25f, 0.25f), TdxPointF(0, 0),
       TRect(0, 0, 40, 40)},
      {"top-left quarter", TdxPointF(0.25f, 0.25f), TdxPointF(0.25f, 0.25f), TRect(0, 0, 20, 20)},
      {"flat", TdxPointF(0.5f, 0.5f), TdxPointF(0.5f, 0.25f), TRect(0, 10, 40, 30)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const TOwned<TdxRadialGradientBrush> brush = Gradient<TdxRadialGradientBrush>({{0, Red}, {1, Blue}});
    brush->SetCenter(c.Center);
    brush->SetRadius(c.Radius);
    TGpSurface surface(40, 40, Black);
    Fill(surface, brush.get(), TdxRectF(0, 0, 40, 40));
    const TRect ink = surface.BoundsOfOther(Black);
    EXPECT_LE(std::abs(ink.Left - c.Ink.Left) + std::abs(ink.Top - c.Ink.Top) + std::abs(ink.Right - c.Ink.Right) +
                  std::abs(ink.Bottom - c.Ink.Bottom),
              4)
        << surface.Picture(Black);
    EXPECT_EQ(surface.Pixel(c.Ink.Left, c.Ink.Top), Black) << "the corners lie outside the ellipse";
    EXPECT_EQ(surface.Pixel(c.Ink.Right - 1, c.Ink.Bottom - 1), Black);
  }
}

TEST_F(ShapeBrushes, ALinearGradientRunsAcrossItsTarget) {
  // Where red and blue end up in a 40 x 40 fill.
  const struct {
    const char* Name;
    TdxGPLinearGradientBrushMode Mode;
    TdxPointF Start;
    TdxPointF End;
    TPoint RedAt;
    TPoint BlueAt;
  } cases[] = {
      {"horizontal", gplgbmHorizontal, {}, {}, TPoint(1, 20), TPoint(38, 20)},
      {"vertical", gplgbmVertical, {}, {}, TPoint(20, 1), TPoint(20, 38)},
      {"forward diagonal", gplgbmForwardDiagonal, {}, {}, TPoint(1, 1), TPoint(38, 38)},
      {"backward diagonal", gplgbmBackwardDiagonal, {}, {}, TPoint(38, 1), TPoint(1, 38)},
      {"line from right to left", gplgbmLine, TdxPointF(1, 0), TdxPointF(0, 0), TPoint(38, 20), TPoint(1, 20)},
      {"line from bottom to top", gplgbmLine, TdxPointF(0, 1), TdxPointF(0, 0), TPoint(20, 38), TPoint(20, 1)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const TOwned<TdxLinearGradientBrush> brush = Gradient<TdxLinearGradientBrush>({{0, Red}, {1, Blue}});
    brush->SetGradientMode(c.Mode);
    brush->SetStartPoint(c.Start);
    brush->SetEndPoint(c.End);
    TGpSurface surface(40, 40);
    Fill(surface, brush.get(), TdxRectF(0, 0, 40, 40));
    EXPECT_TRUE(Reddish(surface.Pixel(c.RedAt.X, c.RedAt.Y)));
    EXPECT_TRUE(Bluish(surface.Pixel(c.BlueAt.X, c.BlueAt.Y)));
  }
}

TEST_F(ShapeBrushes, AGradientDrawsWhatItWasChangedTo) {
  // Each change after the brush has been used shows in the next fill.
  const struct {
    const char* Name;
    std::function<void(TdxGPLinearGradientBrush*)> Change;
    TPoint RedAt;
  } linear[] = {
      {"mode", [](TdxGPLinearGradientBrush* B) { B->SetGradientMode(gplgbmVertical); }, TPoint(20, 1)},
      {"start point", [](TdxGPLinearGradientBrush* B) { B->SetGradientMode(gplgbmLine); B->SetStartPoint(TdxPointF(1, 0)); B->SetEndPoint(TdxPointF(0, 0)); },
       TPoint(38, 20)},
      {"stops", [](TdxGPLinearGradientBrush* B) { B->GradientPoints()->Clear(); B->GradientPoints()->Add(0, Blue); B->GradientPoints()->Add(1, Red); },
       TPoint(38, 20)},
  };
  for (const auto& c : linear) {
    SCOPED_TRACE(c.Name);
    const TOwned<TdxLinearGradientBrush> brush = Gradient<TdxLinearGradientBrush>({{0, Red}, {1, Blue}});
    TGpSurface before(40, 40);
    Fill(before, brush.get(), TdxRectF(0, 0, 40, 40));
    ASSERT_TRUE(Reddish(before.Pixel(1, 20)));
    c.Change(brush.get());
    TGpSurface after(40, 40);
    Fill(after, brush.get(), TdxRectF(0, 0, 40, 40));
    EXPECT_TRUE(Reddish(after.Pixel(c.RedAt.X, c.RedAt.Y)));
    EXPECT_FALSE(Reddish(after.Pixel(1, 38)));
  }

  const TOwned<TdxRadialGradientBrush> radial = Gradient<TdxRadialGradientBrush>({{0, Red}, {1, Blue}});
  TGpSurface before(40, 40, Black);
  Fill(before, radial.get(), TdxRectF(0, 0, 40, 40));
  ASSERT_NE(before.Pixel(30, 30), Black);
  radial->SetRadius(TdxPointF(0.25f, 0.25f));
  radial->SetCenter(TdxPointF(0.25f, 0.25f));
  TGpSurface after(40, 40, Black);
  Fill(after, radial.get(), TdxRectF(0, 0, 40, 40));
  EXPECT_EQ(after.Pixel(30, 30), Black);
  EXPECT_NE(after.Pixel(10, 10), Black);
}

TEST_F(ShapeBrushes, AssignCopiesEachKindsSettings) {
  const TOwned<TdxLinearGradientBrush> linear = Gradient<TdxLinearGradientBrush>({{0, Red}, {1, Blue}});
  linear->SetGradientMode(gplgbmLine);
  linear->SetStartPoint(TdxPointF(0.25f, 0.5f));
  linear->SetEndPoint(TdxPointF(0.75f, 1));
  linear->SetTargetRect(TdxRectF(1, 2, 3, 4));
  const TOwned<TdxLinearGradientBrush> linearCopy(static_cast<TdxLinearGradientBrush*>(linear->Clone()));
  EXPECT_EQ(linearCopy->GradientMode(), gplgbmLine);
  EXPECT_EQ(linearCopy->StartPoint(), TdxPointF(0.25f, 0.5f));
  EXPECT_EQ(linearCopy->EndPoint(), TdxPointF(0.75f, 1));
  EXPECT_EQ(linearCopy->GradientPoints()->Count(), 2);
  EXPECT_EQ(linearCopy->TargetRect().X, 0.0f);

  const TOwned<TdxRadialGradientBrush> radial(New<TdxRadialGradientBrush>());
  radial->SetCenter(TdxPointF(0.1f, 0.2f));
  radial->SetRadius(TdxPointF(0.3f, 0.4f));
  const TOwned<TdxRadialGradientBrush> radialCopy(static_cast<TdxRadialGradientBrush*>(radial->Clone()));
  EXPECT_EQ(radialCopy->Center(), TdxPointF(0.1f, 0.2f));
  EXPECT_EQ(radialCopy->Radius(), TdxPointF(0.3f, 0.4f));

  const TOwned<TdxGPSolidBrush> solid(New<TdxGPSolidBrush>(Green));
  EXPECT_EQ(TOwned<TdxGPSolidBrush>(static_cast<TdxGPSolidBrush*>(solid->Clone()))->Color(), Green);

  const TOwned<TdxGPImage> image = Checker();
  const TOwned<TdxGPTextureBrush> texture(New<TdxGPTextureBrush>(image.get()));
  const TOwned<TdxGPTextureBrush> textureCopy(static_cast<TdxGPTextureBrush*>(texture->Clone()));
  EXPECT_EQ(textureCopy->Texture()->Width(), 2);
  EXPECT_NE(textureCopy->Texture()->Handle(), image->Handle()) << "each brush keeps an image of its own";
}

// ---------------------------------------------------------------------------
// Shape brushes

TEST_F(ShapeBrushes, EachShapeBrushMakesItsKindOfGDIPlusBrush) {
  const struct {
    TClass ShapeBrush;
    TClass GPBrush;
  } cases[] = {
      {TdxShapeSolidBrush::ClassInfo(), TdxGPSolidBrush::ClassInfo()},
      {TdxShapeLinearGradientBrush::ClassInfo(), TdxLinearGradientBrush::ClassInfo()},
      {TdxShapeRadialGradientBrush::ClassInfo(), TdxRadialGradientBrush::ClassInfo()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.ShapeBrush->ClassName()));
    const TOwned<TdxShapeCustomBrush> brush(NewOfClass<TdxShapeCustomBrush>(c.ShapeBrush));
    EXPECT_EQ(brush->GPBrush()->ClassType(), c.GPBrush);
  }
  const TOwned<TdxShapeLinearGradientBrush> linear(New<TdxShapeLinearGradientBrush>());
  EXPECT_EQ(linear->LinearBrush()->GradientMode(), gplgbmLine);
}

TEST_F(ShapeBrushes, ShapeBrushSettingsGoToTheGDIPlusBrushAndReportTheChange) {
  int changes = 0;
  const TOwned<TShapeChangeCounter> counter(New<TShapeChangeCounter>(&changes));
  const TOwned<TdxShapeLinearGradientBrush> linear(New<TdxShapeLinearGradientBrush>());
  linear->SetOnChange(BindEvent<&TShapeChangeCounter::Notify>(counter.get()));
  linear->SetStartPoint(L"0.25,1");
  linear->SetEndPoint(L" 1 , 0.5");
  EXPECT_EQ(linear->LinearBrush()->StartPoint(), TdxPointF(0.25f, 1));
  EXPECT_EQ(linear->LinearBrush()->EndPoint(), TdxPointF(1, 0.5f));
  EXPECT_EQ(linear->StartPoint(), L"0.25,1");
  linear->SetStartPoint(L"0.25,1");
  EXPECT_EQ(changes, 2);
  EXPECT_THROW(linear->SetEndPoint(L"1;0"), EConvertError);

  const TOwned<TdxShapeRadialGradientBrush> radial(New<TdxShapeRadialGradientBrush>());
  radial->SetRadiusX(0.125f);
  EXPECT_EQ(radial->RadialBrush()->Radius(), TdxPointF(0.125f, 0.5f)) << "the other radius stays";
  radial->SetRadiusY(0.25f);
  EXPECT_EQ(radial->RadialBrush()->Radius(), TdxPointF(0.125f, 0.25f));
  radial->SetCenter(L"0.5,0.75");
  EXPECT_EQ(radial->Center(), L"0.5,0.75");

  const TOwned<TdxShapeSolidBrush> solid(New<TdxShapeSolidBrush>());
  changes = 0;
  solid->SetOnChange(BindEvent<&TShapeChangeCounter::Notify>(counter.get()));
  solid->SetColor(Red);
  solid->SetColor(Red);
  EXPECT_EQ(solid->SolidBrush()->Color(), Red);
  EXPECT_EQ(changes, 1);
}

}  // namespace
