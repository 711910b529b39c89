// The GDI+ canvas's shapes in their three argument styles, and its text.
// Wine draws antialiased shapes with full-ink pixels, so the tests look at
// where the ink lies.
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "tests/library_graphics/GdiPlusTesting.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace Gdiplus;

namespace {

constexpr TdxAlphaColor Red = 0xFFFF0000;
constexpr TdxAlphaColor Blue = 0xFF0000FF;
constexpr COLORREF White = RGB(255, 255, 255);

class GdiPlusCanvasShapes : public GdiPlusTest {};

TOwned<TdxGPPen> PenOf(TdxAlphaColor AColor, float AWidth = 1) { return TOwned<TdxGPPen>(New<TdxGPPen>(AColor, AWidth)); }

TOwned<TdxGPBrush> BrushOf(TdxAlphaColor AColor) {
  TOwned<TdxGPBrush> result(New<TdxGPBrush>());
  result->SetColor(AColor);
  return result;
}

// Red on the left, blue on the right of whatever it is laid over.
TOwned<TdxGPBrush> RedToBlue() {
  TOwned<TdxGPBrush> result(New<TdxGPBrush>());
  result->SetStyle(gpbsGradient);
  result->GradientPoints()->Add(0, Red);
  result->GradientPoints()->Add(1, Blue);
  return result;
}

bool Reddish(COLORREF AColor) { return GetRValue(AColor) > 200 && GetBValue(AColor) < 60; }
bool Bluish(COLORREF AColor) { return GetBValue(AColor) > 200 && GetRValue(AColor) < 60; }

// ---------------------------------------------------------------------------
// Geometry

TEST_F(GdiPlusCanvasShapes, ShapesOfATRectStayInsideIt) {
  // Each outline runs along Left, Top, Right - 1, Bottom - 1: a one-pixel pen
  // inks the rectangle's first and last columns and rows, never beyond.
  const TRect r(2, 3, 14, 11);
  const TOwned<TdxGPPen> pen = PenOf(Red);
  const struct {
    const char* Name;
    std::function<void(TdxGPCanvas*)> Draw;
  } cases[] = {
      {"ellipse, objects", [&](TdxGPCanvas* C) { C->Ellipse(r, pen.get(), nullptr); }},
      {"ellipse, alpha colours", [&](TdxGPCanvas* C) { C->Ellipse(r, Red, TdxAlphaColors::Empty, 1, psSolid); }},
      {"ellipse, GDI colours", [&](TdxGPCanvas* C) { C->Ellipse(r, clRed, clNone, 1, psSolid, 255, 255); }},
      {"rectangle, objects", [&](TdxGPCanvas* C) { C->Rectangle(r, pen.get(), nullptr); }},
      {"rectangle, alpha colours", [&](TdxGPCanvas* C) { C->Rectangle(r, Red, TdxAlphaColors::Empty, 1, psSolid); }},
      {"rectangle, GDI colours", [&](TdxGPCanvas* C) { C->Rectangle(r, clRed, clNone, 1, psSolid, 255, 0); }},
      {"rounded rectangle, objects", [&](TdxGPCanvas* C) { C->RoundRect(r, pen.get(), nullptr, 3, 3); }},
      {"rounded rectangle, colours", [&](TdxGPCanvas* C) { C->RoundRect(r, clRed, clNone, 3, 3, 1, 255, 255); }},
      {"pie, colours", [&](TdxGPCanvas* C) { C->Pie(r, 0, 360, clRed, clNone, 1, psSolid, 255, 255); }},
      {"arc", [&](TdxGPCanvas* C) { C->Arc(r, 0, 360, clRed, 1, psSolid, 255); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TGpSurface surface(20, 20);
    c.Draw(surface.Canvas());
    surface.Flush();
    EXPECT_EQ(surface.BoundsOfOther(White), r) << surface.Picture(White);
  }
}

TEST_F(GdiPlusCanvasShapes, AnglesRunCounterClockwiseFromTheRight) {
  const TRect r(0, 0, 41, 41);
  const TOwned<TdxGPBrush> brush = BrushOf(Red);
  const struct {
    const char* Name;
    std::function<void(TdxGPCanvas*)> Draw;
  } cases[] = {
      {"pie, alpha colours", [&](TdxGPCanvas* C) { C->Pie(r, 0, 90, TdxAlphaColors::Empty, Red, 0, psClear); }},
      {"pie, objects", [&](TdxGPCanvas* C) { C->Pie(TdxRectF(0, 0, 40, 40), 0, 90, brush.get(), nullptr); }},
      {"arc", [&](TdxGPCanvas* C) { C->Arc(r, 0, 90, Red, 3, psSolid); }},
      {"arc between points", [&](TdxGPCanvas* C) { C->Arc(r, TPoint(40, 20), TPoint(20, 0), Red, 3, psSolid); }},
      {"donut slice without a hole", [&](TdxGPCanvas* C) {
         C->DonutSlice(TdxRectF(0, 0, 40, 40), 0, 90, 0, brush.get(), nullptr);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TGpSurface surface(41, 41);
    c.Draw(surface.Canvas());
    surface.Flush();
    const TRect ink = surface.BoundsOfOther(White);
    EXPECT_GE(ink.Left, 19) << surface.Picture(White);
    EXPECT_LE(ink.Bottom, 22);
    EXPECT_GT(surface.CountOther(TRect(21, 0, 41, 19), White), 0);
  }
}

TEST_F(GdiPlusCanvasShapes, ADonutSliceHasASquareHoleOfItsShareOfTheSmallerSide) {
  TGpSurface surface(100, 60);
  const TOwned<TdxGPBrush> brush = BrushOf(Red);
  // 50 % of 60: a hole of 30 x 30 around (50, 30).
  surface.Canvas()->DonutSlice(TdxRectF(0, 0, 100, 60), 0, 360, 50, brush.get(), nullptr);
  surface.Flush();
  EXPECT_EQ(surface.Pixel(50, 30), White) << surface.Picture(White);
  EXPECT_EQ(surface.Pixel(50 + 13, 30), White);
  EXPECT_EQ(surface.Pixel(50, 30 - 13), White);
  EXPECT_EQ(surface.Pixel(50 + 17, 30), RGB(255, 0, 0));
  EXPECT_EQ(surface.Pixel(50 - 17, 30), RGB(255, 0, 0));
  EXPECT_EQ(surface.Pixel(50, 30 + 17), RGB(255, 0, 0));
  EXPECT_EQ(surface.Pixel(50 + 40, 30), RGB(255, 0, 0));
  EXPECT_EQ(surface.Pixel(2, 2), White);
}

TEST_F(GdiPlusCanvasShapes, PolygonsFillByTheWindingRule) {
  // A five-pointed star drawn in one stroke: its centre is inside twice.
  const std::vector<TPoint> star{TPoint(20, 0), TPoint(32, 38), TPoint(0, 14), TPoint(40, 14), TPoint(8, 38)};
  std::vector<TdxPointF> starF(star.begin(), star.end());
  const TOwned<TdxGPBrush> brush = BrushOf(Red);
  const struct {
    const char* Name;
    std::function<void(TdxGPCanvas*)> Draw;
  } cases[] = {
      {"points, GDI colours", [&](TdxGPCanvas* C) { C->Polygon(star, clNone, clRed, 1, psSolid, 255, 255); }},
      {"points, alpha colours", [&](TdxGPCanvas* C) { C->Polygon(star, TdxAlphaColors::Empty, Red, 1, psSolid); }},
      {"float points, alpha colours", [&](TdxGPCanvas* C) { C->Polygon(starF, TdxAlphaColors::Empty, Red, 1, gppsSolid); }},
      {"float points, GDI colours", [&](TdxGPCanvas* C) { C->Polygon(starF, clNone, clRed, 1, psSolid, 0, 255); }},
      {"points, objects", [&](TdxGPCanvas* C) { C->Polygon(star, nullptr, brush.get()); }},
      {"float points, objects", [&](TdxGPCanvas* C) { C->Polygon(starF, nullptr, brush.get()); }},
      {"pointer and count", [&](TdxGPCanvas* C) { C->Polygon(starF.data(), 5, nullptr, brush.get()); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TGpSurface surface(41, 41);
    c.Draw(surface.Canvas());
    surface.Flush();
    EXPECT_EQ(surface.Pixel(20, 22), RGB(255, 0, 0)) << surface.Picture(White);
    EXPECT_EQ(surface.Pixel(20, 5), RGB(255, 0, 0));
    EXPECT_EQ(surface.Pixel(3, 3), White);
  }
}

TEST_F(GdiPlusCanvasShapes, LinesCurvesAndPolylinesInkTheirPath) {
  const std::vector<TPoint> points{TPoint(2, 10), TPoint(10, 10), TPoint(10, 2)};
  const std::vector<TdxPointF> pointsF(points.begin(), points.end());
  const TOwned<TdxGPPen> pen = PenOf(Red, 2);
  const struct {
    const char* Name;
    std::function<void(TdxGPCanvas*)> Draw;
  } cases[] = {
      {"line, GDI colour", [](TdxGPCanvas* C) { C->Line(2, 10, 10, 10, clRed, 2, psSolid, 255); }},
      {"line, alpha colour", [](TdxGPCanvas* C) { C->Line(2, 10, 10, 10, Red, 2, psSolid); }},
      {"line, floats", [](TdxGPCanvas* C) { C->Line(2.0f, 10.0f, 10.0f, 10.0f, Red, 2, psSolid); }},
      {"line, pen", [&](TdxGPCanvas* C) { C->Line(2, 10, 10, 10, pen.get()); }},
      {"line, floats and pen", [&](TdxGPCanvas* C) { C->Line(2.0f, 10.0f, 10.0f, 10.0f, pen.get()); }},
      {"polyline, GDI colour", [&](TdxGPCanvas* C) { C->Polyline(points, clRed, 2, psSolid, 255); }},
      {"polyline, floats, GDI colour", [&](TdxGPCanvas* C) { C->Polyline(pointsF, clRed, 2, psSolid, 255); }},
      {"polyline, alpha colour", [&](TdxGPCanvas* C) { C->Polyline(points, Red, 2, psSolid); }},
      {"polyline, floats, alpha colour", [&](TdxGPCanvas* C) { C->Polyline(pointsF, Red, 2, psSolid); }},
      {"polyline, pen", [&](TdxGPCanvas* C) { C->Polyline(points, pen.get()); }},
      {"polyline, floats, pen", [&](TdxGPCanvas* C) { C->Polyline(pointsF, pen.get()); }},
      {"polyline, pointer and count", [&](TdxGPCanvas* C) { C->Polyline(pointsF.data(), 3, pen.get()); }},
      {"curve, GDI colour", [&](TdxGPCanvas* C) { C->Curve(points, clRed, 2, psSolid, 255); }},
      {"curve, alpha colour", [&](TdxGPCanvas* C) { C->Curve(points, Red, 2, psSolid); }},
      {"curve, floats", [&](TdxGPCanvas* C) { C->Curve(pointsF, clRed, 2, psSolid, 255); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TGpSurface surface(14, 14);
    c.Draw(surface.Canvas());
    surface.Flush();
    EXPECT_EQ(surface.Pixel(4, 10), RGB(255, 0, 0)) << surface.Picture(White);
    const TRect ink = surface.BoundsOfOther(White);
    EXPECT_GE(ink.Left, 1);
    EXPECT_LE(ink.Bottom, 12);
    EXPECT_EQ(surface.Pixel(2, 3), White);
  }
}

// ---------------------------------------------------------------------------
// What each argument style leaves out

TEST_F(GdiPlusCanvasShapes, ColourFormsLeaveOutTheirInvisiblePart) {
  const TRect r(2, 2, 12, 12);
  const struct {
    const char* Name;
    std::function<void(TdxGPCanvas*)> Draw;
    bool Outline;
    bool Fill;
  } cases[] = {
      {"brush clNone", [&](TdxGPCanvas* C) { C->Rectangle(r, clBlue, clNone, 1, psSolid, 255, 255); }, true, false},
      {"pen psClear", [&](TdxGPCanvas* C) { C->Rectangle(r, clBlue, clRed, 1, psClear, 255, 255); }, false, true},
      {"pen psInsideFrame", [&](TdxGPCanvas* C) { C->Rectangle(r, clBlue, clRed, 1, psInsideFrame, 255, 255); },
       false, true},
      {"pen width 0", [&](TdxGPCanvas* C) { C->Rectangle(r, Blue, Red, 0, psSolid); }, false, true},
      {"pen clNone", [&](TdxGPCanvas* C) { C->Ellipse(r, clNone, clRed, 1, psSolid, 255, 255); }, false, true},
      {"transparent brush", [&](TdxGPCanvas* C) { C->Ellipse(r, Blue, 0x00FF0000u, 1, psSolid); }, true, false},
      {"both", [&](TdxGPCanvas* C) { C->Rectangle(TdxRectF(r), Blue, Red, 1, psSolid); }, true, true},
      {"path, brush only", [&](TdxGPCanvas* C) {
         const TOwned<TdxGPPath> path(New<TdxGPPath>());
         path->AddRect(TdxRectF(2, 2, 11, 11));
         C->Path(path.get(), clNone, clRed, 1, psSolid, 255, 255);
       }, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TGpSurface surface(14, 14);
    c.Draw(surface.Canvas());
    surface.Flush();
    EXPECT_EQ(surface.Pixel(7, 2) == RGB(0, 0, 255), c.Outline) << surface.Picture(White);
    EXPECT_EQ(surface.Pixel(7, 7) == RGB(255, 0, 0), c.Fill);
  }
}

TEST_F(GdiPlusCanvasShapes, ObjectsAreLaidOverTheShapeWhereverItIs) {
  const TOwned<TdxGPBrush> brush = RedToBlue();
  const TOwned<TdxGPPen> pen = PenOf(Red, 4);
  pen->SetBrush(brush.get());
  const struct {
    const char* Name;
    std::function<void(TdxGPCanvas*, int)> Draw;  // at X
  } cases[] = {
      {"rectangle", [&](TdxGPCanvas* C, int X) { C->Rectangle(TRect(X, 10, X + 41, 30), nullptr, brush.get()); }},
      {"float rectangle", [&](TdxGPCanvas* C, int X) {
         C->Rectangle(TdxRectF(X, 10, X + 40, 30), nullptr, brush.get());
       }},
      {"filled rectangle", [&](TdxGPCanvas* C, int X) { C->FillRectangle(TRect(X, 10, X + 40, 30), brush.get()); }},
      {"ellipse", [&](TdxGPCanvas* C, int X) { C->Ellipse(TRect(X, 0, X + 41, 41), nullptr, brush.get()); }},
      {"polygon", [&](TdxGPCanvas* C, int X) {
         C->Polygon(std::vector<TPoint>{TPoint(X, 10), TPoint(X + 40, 10), TPoint(X + 40, 30), TPoint(X, 30)}, nullptr,
                    brush.get());
       }},
      {"path", [&](TdxGPCanvas* C, int X) {
         const TOwned<TdxGPPath> path(New<TdxGPPath>());
         path->AddRect(TdxRectF(X, 10, X + 40, 30));
         C->Path(path.get(), nullptr, brush.get());
       }},
      {"rounded rectangle", [&](TdxGPCanvas* C, int X) {
         C->RoundRect(TRect(X, 10, X + 41, 31), nullptr, brush.get(), 2, 2);
       }},
      {"outline", [&](TdxGPCanvas* C, int X) { C->Line(X, 20, X + 40, 20, pen.get()); }},
      {"polyline", [&](TdxGPCanvas* C, int X) { C->Polyline(std::vector<TPoint>{TPoint(X, 20), TPoint(X + 40, 20)}, pen.get()); }},
      {"drawn rectangle", [&](TdxGPCanvas* C, int X) { C->DrawRectangle(TdxRectF(X, 18, X + 40, 22), pen.get()); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    for (int x : {0, 60}) {
      TGpSurface surface(110, 41);
      c.Draw(surface.Canvas(), x);
      surface.Flush();
      EXPECT_TRUE(Reddish(surface.Pixel(x + 1, 20))) << x;
      EXPECT_TRUE(Bluish(surface.Pixel(x + 39, 20))) << x;
    }
  }
}

TEST_F(GdiPlusCanvasShapes, APieOfObjectsLeavesTheirTargetAlone) {
  const TOwned<TdxGPBrush> brush = RedToBlue();
  brush->SetTargetRect(TRect(0, 0, 200, 40));
  const TdxGpRectF target = brush->TargetRect();
  TGpSurface surface(200, 41);
  surface.Canvas()->Pie(TdxRectF(0, 0, 40, 40), -90, 180, brush.get(), nullptr);
  surface.Flush();
  EXPECT_TRUE(GdipRectFEqual(brush->TargetRect(), target));
  // The gradient over 200 pixels is still red at x = 39.
  EXPECT_TRUE(Reddish(surface.Pixel(38, 20)));
  surface.Canvas()->Pie(TdxRectF(50, 0, 50, 40), 0, 90, brush.get(), nullptr);
  // Nor does a donut slice, with or without its hole.
  surface.Canvas()->DonutSlice(TdxRectF(90, 40, 140, 0), 0, 90, 50, brush.get(), PenOf(Red).get());
  surface.Canvas()->DonutSlice(TdxRectF(150, 0, 150, 40), 0, 90, 0, brush.get(), PenOf(Red).get());
  surface.Flush();
  EXPECT_EQ(surface.CountOther(TRect(45, 0, 200, 41), White), 0) << "an empty pie draws nothing";
}

TEST_F(GdiPlusCanvasShapes, NilObjectsDrawNothingOfTheirPart) {
  TGpSurface surface(20, 20);
  const TOwned<TdxGPPen> emptyPen = PenOf(0);
  surface.Canvas()->Ellipse(TRect(0, 0, 10, 10), nullptr, nullptr);
  surface.Canvas()->Rectangle(TdxRectF(0, 0, 10, 10), nullptr, nullptr);
  surface.Canvas()->Polygon(std::vector<TPoint>{TPoint(0, 0), TPoint(9, 0), TPoint(0, 9)}, nullptr, nullptr);
  surface.Canvas()->FillRectangle(TRect(0, 0, 10, 10), static_cast<TdxGPCustomBrush*>(nullptr));
  surface.Canvas()->Polyline(std::vector<TPoint>{TPoint(0, 0), TPoint(9, 9)}, static_cast<TdxGPPen*>(nullptr));
  surface.Canvas()->Polyline(std::vector<TPoint>{TPoint(0, 0), TPoint(9, 9)}, emptyPen.get());
  surface.Canvas()->Polyline(std::vector<TdxPointF>{}, PenOf(Red).get());
  surface.Canvas()->Polyline(static_cast<const TdxPointF*>(nullptr), -1, PenOf(Red).get());
  const TOwned<TdxGPPath> path(New<TdxGPPath>());
  path->AddRect(TdxRectF(0, 0, 10, 10));
  surface.Canvas()->Path(path.get(), emptyPen.get(), nullptr);
  surface.Flush();
  EXPECT_EQ(surface.Count(White), 400);
}

TEST_F(GdiPlusCanvasShapes, OutlinesThatNeedAPenRaiseWithoutOne) {
  TGpSurface surface(10, 10);
  const auto status = [](const std::function<void()>& ADraw) {
    try {
      ADraw();
    } catch (const EdxGdipException& e) {
      return e.Status();
    }
    return Ok;
  };
  EXPECT_EQ(status([&] { surface.Canvas()->Line(0, 0, 5, 5, static_cast<TdxGPPen*>(nullptr)); }), InvalidParameter);
  EXPECT_EQ(status([&] { surface.Canvas()->DrawRectangle(TdxRectF(0, 0, 5, 5), nullptr); }), InvalidParameter);
  EXPECT_EQ(status([&] { surface.Canvas()->Path(nullptr, nullptr, nullptr); }), InvalidParameter);
}

// ---------------------------------------------------------------------------
// Fills

TEST_F(GdiPlusCanvasShapes, GradientRectangles) {
  const struct {
    const char* Name;
    TdxAlphaColor Color2;
    TdxGPBrushGradientMode Mode;
    TPoint RedAt;   // where the first colour shows
    TPoint BlueAt;  // where the second does; the first colour again when no gradient
  } cases[] = {
      {"horizontal", Blue, gpbgmHorizontal, TPoint(0, 5), TPoint(39, 5)},
      {"vertical", Blue, gpbgmVertical, TPoint(20, 0), TPoint(20, 19)},
      {"equal colours", Red, gpbgmHorizontal, TPoint(0, 5), TPoint(39, 5)},
      {"the default marker", TdxAlphaColors::Default, gpbgmHorizontal, TPoint(0, 5), TPoint(39, 5)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    for (bool integer : {true, false}) {
      TGpSurface surface(40, 20);
      if (integer)
        surface.Canvas()->FillRectangleByGradient(TRect(0, 0, 40, 20), Red, c.Color2, c.Mode);
      else
        surface.Canvas()->FillRectangleByGradient(TdxRectF(0, 0, 40, 20), Red, c.Color2, c.Mode);
      surface.Flush();
      EXPECT_TRUE(Reddish(surface.Pixel(c.RedAt.X, c.RedAt.Y)));
      if (c.Color2 == Blue) {
        EXPECT_TRUE(Bluish(surface.Pixel(c.BlueAt.X, c.BlueAt.Y)));
      } else {
        EXPECT_EQ(surface.Count(RGB(255, 0, 0)), 800) << "one solid colour";
      }
    }
  }
  TGpSurface surface(10, 10);
  surface.Canvas()->FillRectangleByGradient(TRect(5, 5, 5, 9), Red, Blue, gpbgmHorizontal);
  surface.Canvas()->FillRectangleByGradient(TdxRectF(5, 5, 4, 9), Red, Blue, gpbgmHorizontal);
  surface.Flush();
  EXPECT_EQ(surface.Count(White), 100);
}

TEST_F(GdiPlusCanvasShapes, RectangleAndRegionFills) {
  TGpSurface surface(30, 10);
  surface.Canvas()->FillRectangle(TRect(0, 0, 5, 5), Red);
  surface.Canvas()->FillRectangle(TdxRectF(5, 0, 10, 5), Blue);
  surface.Canvas()->FillRectangle(TRect(0, 5, 10, 10), 0x00FF0000u);  // invisible
  const TOwned<TdxGPRegion> region(New<TdxGPRegion>(TRect(20, 0, 25, 10)));
  region->CombineRegionRect(TRect(20, 0, 30, 5), gmXor);
  surface.Canvas()->Region(region.get(), Blue, Red, 5, psSolid);
  surface.Flush();
  EXPECT_EQ(surface.Count(TRect(0, 0, 5, 5), RGB(255, 0, 0)), 25);
  EXPECT_EQ(surface.Count(TRect(5, 0, 10, 5), RGB(0, 0, 255)), 25);
  EXPECT_EQ(surface.Count(TRect(0, 5, 10, 10), White), 50);
  // The region has no outline: only its two red parts.
  EXPECT_EQ(surface.Count(TRect(20, 0, 30, 10), RGB(255, 0, 0)), 50);
  EXPECT_EQ(surface.Count(TRect(20, 0, 30, 10), RGB(0, 0, 255)), 0);
}

TEST_F(GdiPlusCanvasShapes, RoundedCornersAreCut) {
  TGpSurface surface(30, 30);
  surface.Canvas()->RoundRect(TRect(0, 0, 30, 30), TdxAlphaColors::Empty, Red, 8, 8, 1);
  surface.Flush();
  EXPECT_EQ(surface.Pixel(0, 0), White);
  EXPECT_EQ(surface.Pixel(28, 28), White);
  EXPECT_EQ(surface.Pixel(15, 0), RGB(255, 0, 0));
  EXPECT_EQ(surface.Pixel(0, 15), RGB(255, 0, 0));
  EXPECT_EQ(surface.CountOther(TRect(29, 0, 30, 30), White), 0);
}

// ---------------------------------------------------------------------------
// Text

class GdiPlusCanvasText : public GdiPlusTest {
 protected:
  void SetUp() override {
    GdiPlusTest::SetUp();
    FFont.reset(TdxGPFont::SafeCreate(L"DejaVu Sans", 10));
    FBrush = BrushOf(0xFF000000);
  }
  void TearDown() override {
    FFont.reset();
    FBrush.reset();
    GdiPlusTest::TearDown();
  }
  TOwned<TdxGPFont> FFont;
  TOwned<TdxGPBrush> FBrush;
};

GpStatus StatusOf(const std::function<void()>& AWork) {
  try {
    AWork();
  } catch (const EdxGdipException& e) {
    return e.Status();
  }
  return Ok;
}

TEST_F(GdiPlusCanvasText, StringsAreDrawnAtAPointOrInARectangle) {
  const TOwned<TdxGPStringFormat> format(New<TdxGPStringFormat>());
  const struct {
    const char* Name;
    std::function<void(TdxGPCanvas*)> Draw;
  } cases[] = {
      {"X, Y", [&](TdxGPCanvas* C) { C->DrawString(L"Wide text", FFont.get(), FBrush.get(), 20.0f, 5.0f); }},
      {"point", [&](TdxGPCanvas* C) { C->DrawString(L"Wide text", FFont.get(), FBrush.get(), TdxPointF(20, 5)); }},
      {"X, Y, format", [&](TdxGPCanvas* C) {
         C->DrawString(L"Wide text", FFont.get(), FBrush.get(), 20.0f, 5.0f, format.get());
       }},
      {"point, format", [&](TdxGPCanvas* C) {
         C->DrawString(L"Wide text", FFont.get(), FBrush.get(), TdxPointF(20, 5), format.get());
       }},
      {"rectangle", [&](TdxGPCanvas* C) {
         C->DrawString(L"Wide text", FFont.get(), FBrush.get(), TdxRectF(20, 5, 200, 40));
       }},
      {"rectangle, format", [&](TdxGPCanvas* C) {
         C->DrawString(L"Wide text", FFont.get(), FBrush.get(), TdxRectF(20, 5, 200, 40), format.get());
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TGpSurface surface(200, 40);
    c.Draw(surface.Canvas());
    surface.Flush();
    const TRect ink = surface.BoundsOfOther(White);
    EXPECT_GE(ink.Left, 20);
    EXPECT_GE(ink.Top, 5);
    // One line: a position lays the text out without wrapping.
    EXPECT_GT(ink.Width(), 40);
    EXPECT_LT(ink.Height(), 20);
  }
}

TEST_F(GdiPlusCanvasText, DrawingChecksFontAndBrushBeforeItLooksAtTheText) {
  TGpSurface surface(50, 20);
  TdxGPCanvas* canvas = surface.Canvas();
  EXPECT_EQ(StatusOf([&] { canvas->DrawString(L"a", nullptr, FBrush.get(), 0.0f, 0.0f); }), InvalidParameter);
  EXPECT_EQ(StatusOf([&] { canvas->DrawString(L"", FFont.get(), nullptr, TdxPointF()); }), InvalidParameter);
  EXPECT_EQ(StatusOf([&] { canvas->DrawString(L"", FFont.get(), FBrush.get(), 0.0f, 0.0f); }), Ok);
  // Into an empty rectangle without a format nothing happens at all.
  EXPECT_EQ(StatusOf([&] { canvas->DrawString(L"a", nullptr, nullptr, TdxRectF(0, 0, 0, 10)); }), Ok);
  EXPECT_EQ(StatusOf([&] { canvas->DrawString(L"a", nullptr, nullptr, TdxRectF(0, 0, 0, 10), nullptr); }),
            InvalidParameter);
  surface.Flush();
  EXPECT_EQ(surface.Count(White), 1000);
}

TEST_F(GdiPlusCanvasText, Measuring) {
  TGpSurface surface(10, 10);
  TdxGPCanvas* canvas = surface.Canvas();
  int fitted = -1;
  int lines = -1;
  EXPECT_EQ(canvas->MeasureString(L"", nullptr, TdxSizeF(100, 100), nullptr, fitted, lines), TdxSizeF());
  EXPECT_EQ(fitted, 0);
  EXPECT_EQ(lines, 0);
  EXPECT_EQ(canvas->MeasureString(L"", nullptr), TdxSizeF());
  EXPECT_EQ(StatusOf([&] { canvas->MeasureString(L"a", nullptr); }), InvalidParameter);

  const String text = L"one two three four five";
  const TdxSizeF line = canvas->MeasureString(text, FFont.get());
  EXPECT_GT(line.cx, 60);
  EXPECT_EQ(canvas->MeasureString(text, FFont.get(), TdxPointF(30, 30), nullptr), line);
  EXPECT_EQ(canvas->MeasureString(text, FFont.get(), TdxSizeF()), line);
  const TdxSizeF wrapped = canvas->MeasureString(text, FFont.get(), 40.0f);
  EXPECT_LE(wrapped.cx, 40);
  EXPECT_GT(wrapped.cy, 2 * line.cy);
  const TOwned<TdxGPStringFormat> noWrap(New<TdxGPStringFormat>(StringFormatFlagsNoWrap));
  EXPECT_EQ(canvas->MeasureString(text, FFont.get(), 40.0f, noWrap.get()).cy, line.cy);
  canvas->MeasureString(text, FFont.get(), TdxSizeF(40, 999999), nullptr, fitted, lines);
  EXPECT_EQ(fitted, static_cast<int>(text.size()));
  EXPECT_GT(lines, 2);
  EXPECT_EQ(canvas->MeasureString(text, FFont.get(), TdxSizeF(40, 999999), nullptr), wrapped);
}

TEST_F(GdiPlusCanvasText, OneRegionPerMeasurableRange) {
  TGpSurface surface(10, 10);
  TdxGPCanvas* canvas = surface.Canvas();
  const TOwned<TdxGPStringFormat> format(New<TdxGPStringFormat>());
  const TdxGpCharacterRange ranges[] = {{0, 3}, {4, 3}, {8, 5}};
  format->SetMeasurableCharacterRanges(3, ranges);
  const std::vector<TOwned<TdxGPRegion>> regions =
      canvas->MeasureCharacterRanges(L"one two three", FFont.get(), TdxRectF(0, 0, 500, 50), format.get());
  ASSERT_EQ(regions.size(), 3u);
  float right = 0;
  for (const auto& region : regions) {
    RectF bounds;
    ASSERT_EQ(GdipGetRegionBounds(region->Handle(), canvas->Handle(), &bounds), Ok);
    EXPECT_GT(bounds.Width, 0);
    EXPECT_GE(bounds.X, right) << "left to right";
    right = bounds.X + bounds.Width;
  }
  EXPECT_TRUE(canvas->MeasureCharacterRanges(L"", nullptr, TdxRectF(), format.get()).empty());
  EXPECT_EQ(StatusOf([&] { canvas->MeasureCharacterRanges(L"a", nullptr, TdxRectF(), format.get()); }),
            InvalidParameter);
}

}  // namespace
