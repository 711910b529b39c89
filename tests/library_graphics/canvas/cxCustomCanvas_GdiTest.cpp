// The abstract canvas's operations on the GDI-based canvas, drawn into a
// 32-bit DIB and checked at chosen pixels: fills, frames, lines, shapes,
// gradients, images with alpha, clipping, origins and world transforms.
// Wine draws antialiased shapes with full-ink pixels, so shapes are checked
// by where their ink lies.
#include "tests/library_graphics/CanvasTesting.h"
#include "tests/library_graphics/ImageListTesting.h"
#include "tests/library_graphics/PixelTesting.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr COLORREF White = RGB(255, 255, 255);
constexpr TdxAlphaColor Red = 0xFFFF0000;
constexpr TdxAlphaColor Blue = 0xFF0000FF;

bool Reddish(COLORREF AColor) { return GetRValue(AColor) > 200 && GetGValue(AColor) < 60 && GetBValue(AColor) < 60; }
bool Bluish(COLORREF AColor) { return GetBValue(AColor) > 200 && GetRValue(AColor) < 60 && GetGValue(AColor) < 60; }

class GdiBasedCanvas : public CanvasTest {};

// ---------------------------------------------------------------------------
// Fills and frames

TEST_F(GdiBasedCanvas, FillsInGdiAndAlphaColours) {
  TSurfaceCanvas* canvas = Canvas(20, 20);
  canvas->FillRect(TRect(2, 3, 8, 9), clRed);
  EXPECT_EQ(Surface().BoundsOf(RGB(255, 0, 0)), TRect(2, 3, 8, 9));
  EXPECT_EQ(Surface().Count(RGB(255, 0, 0)), 36);

  Surface().Fill(White);
  canvas->FillRect(TRect(2, 3, 8, 9), Blue);
  EXPECT_EQ(Surface().BoundsOf(RGB(0, 0, 255)), TRect(2, 3, 8, 9));
  EXPECT_EQ(Surface().Count(RGB(0, 0, 255)), 36);

  // Half-transparent red over white.
  Surface().Fill(White);
  canvas->FillRect(TRect(0, 0, 4, 4), clRed, 128);
  const COLORREF blended = Surface().Pixel(1, 1);
  EXPECT_EQ(GetRValue(blended), 255);
  EXPECT_NEAR(GetGValue(blended), 127, 2);
  EXPECT_EQ(Surface().Pixel(5, 5), White);

  // Float rectangles, through a brush.
  Surface().Fill(White);
  canvas->FillRect(TdxRectF(10, 10, 15, 14), Red);
  EXPECT_EQ(Surface().BoundsOf(RGB(255, 0, 0)), TRect(10, 10, 15, 14));
}

TEST_F(GdiBasedCanvas, NothingOfNoColourAndNoDeviceContextAskedFor) {
  TSurfaceCanvas* canvas = Canvas(10, 10);
  canvas->HandleRequests = 0;
  canvas->FillRect(TRect(0, 0, 10, 10), TdxAlphaColors::Empty);
  canvas->FillRect(TRect(0, 0, 10, 10), TdxAlphaColor(0x00FFFFFF));
  canvas->FillRect(TRect(0, 0, 10, 10), clNone);
  canvas->Rectangle(TRect(0, 0, 10, 10), TdxAlphaColors::Empty, Red, psSolid, 0);
  canvas->FrameRect(TRect(0, 0, 10, 10), TdxAlphaColor(0x00FFFFFF));
  canvas->FrameRect(TRect(0, 0, 10, 10), clNone);
  canvas->FrameRect(TRect(5, 5, 5, 10), clRed);
  canvas->FrameRect(TdxRectF(0, 0, 10, 10), Red, 0);
  canvas->Arc(TRect(0, 0, 10, 10), TPoint(0, 5), TPoint(10, 5), TdxAlphaColors::Empty);
  canvas->FillRectByGradient(TRect(0, 0, 10, 10), TdxAlphaColors::Empty, TdxAlphaColors::Empty,
                             Gdiplus::LinearGradientModeHorizontal);
  EXPECT_EQ(canvas->HandleRequests, 0) << "no paint was begun";
  EXPECT_EQ(Surface().CountOther(Surface().ClientRect(), White), 0);
}

TEST_F(GdiBasedCanvas, FramesOfGdiColoursOverlapAtTheCorners) {
  TSurfaceCanvas* canvas = Canvas(20, 20);
  // Two pixels wide on three by three: the bands cover everything.
  canvas->FrameRect(TRect(1, 1, 4, 4), clRed, 2);
  EXPECT_EQ(Surface().Count(RGB(255, 0, 0)), 9);
  EXPECT_EQ(Surface().BoundsOf(RGB(255, 0, 0)), TRect(1, 1, 4, 4));

  Surface().Fill(White);
  canvas->FrameRect(TRect(5, 5, 15, 15), clBlue, 2, TcxBorders{bLeft, bBottom});
  EXPECT_EQ(Surface().Count(RGB(0, 0, 255)), 2 * 10 + 2 * 10 - 4);
  EXPECT_EQ(Surface().Pixel(6, 5), RGB(0, 0, 255));
  EXPECT_EQ(Surface().Pixel(14, 14), RGB(0, 0, 255));
  EXPECT_EQ(Surface().Pixel(14, 5), White) << "no right or top band";
}

TEST_F(GdiBasedCanvas, AlphaFramesBlendEachPixelOnce) {
  struct TCase {
    const char* Name;
    std::function<void(TcxCustomCanvas*)> Draw;
  };
  const TCase cases[] = {
      {"integer", [](TcxCustomCanvas* C) { C->FrameRect(TRect(2, 2, 12, 12), TdxAlphaColor(0x80FF0000), 2); }},
      {"float", [](TcxCustomCanvas* C) { C->FrameRect(TdxRectF(2, 2, 12, 12), TdxAlphaColor(0x80FF0000), 2.0f); }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TSurfaceCanvas* canvas = Canvas(16, 16);
    c.Draw(canvas);
    const COLORREF side = Surface().Pixel(7, 2);
    EXPECT_NE(side, White);
    for (const TPoint corner : {TPoint(2, 2), TPoint(11, 2), TPoint(2, 11), TPoint(11, 11), TPoint(3, 3)})
      EXPECT_EQ(Surface().Pixel(corner.X, corner.Y), side) << corner.X << "," << corner.Y;
    EXPECT_EQ(Surface().Pixel(6, 6), White) << "inside";
    EXPECT_EQ(Surface().BoundsOfOther(White), TRect(2, 2, 12, 12));
  }
}

TEST_F(GdiBasedCanvas, EdgesInTheirSystemColours) {
  struct TCase {
    bool Sunken;
    bool Outer;
    int LeftTop;
    int RightBottom;
  };
  const TCase cases[] = {
      {true, true, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT},
      {true, false, COLOR_3DDKSHADOW, COLOR_3DLIGHT},
      {false, true, COLOR_3DLIGHT, COLOR_3DDKSHADOW},
      {false, false, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Sunken << c.Outer);
    TSurfaceCanvas* canvas = Canvas(12, 12);
    canvas->DrawEdge(TRect(1, 1, 11, 11), c.Sunken, c.Outer);
    EXPECT_EQ(Surface().Pixel(1, 5), GetSysColor(c.LeftTop));
    EXPECT_EQ(Surface().Pixel(5, 1), GetSysColor(c.LeftTop));
    EXPECT_EQ(Surface().Pixel(10, 5), GetSysColor(c.RightBottom));
    EXPECT_EQ(Surface().Pixel(5, 10), GetSysColor(c.RightBottom));
  }
}

TEST_F(GdiBasedCanvas, PixelsAndFocusRectangles) {
  TSurfaceCanvas* canvas = Canvas(12, 12);
  canvas->FillPixel(3, 4, clLime);
  EXPECT_EQ(Surface().Count(RGB(0, 255, 0)), 1);
  EXPECT_EQ(Surface().Pixel(3, 4), RGB(0, 255, 0));
  Surface().Fill(White);
  canvas->FocusRectangle(TRect(2, 2, 10, 10));
  const TRect ink = Surface().BoundsOfOther(White);
  EXPECT_EQ(ink, TRect(2, 2, 10, 10));
  EXPECT_EQ(Surface().Pixel(5, 5), White);
}

// ---------------------------------------------------------------------------
// Lines and shapes

TEST_F(GdiBasedCanvas, EveryShapeInksItsOwnArea) {
  struct TCase {
    const char* Name;
    std::function<void(TcxCustomCanvas*, TcxCanvasBasedBrush*, TcxCanvasBasedPen*)> Draw;
    TRect Bounds;  // where the ink lies
    TPoint Inside;  // a pixel of the fill (-1: none)
  };
  const TPoint triangle[] = {TPoint(4, 4), TPoint(24, 4), TPoint(4, 24)};
  const TdxPointF triangleF[] = {TdxPointF(4, 4), TdxPointF(24, 4), TdxPointF(4, 24)};
  const TCase cases[] = {
      {"line, GDI colour", [](auto C, auto, auto) { C->Line(TPoint(3, 10), TPoint(25, 10), clRed); },
       TRect(3, 10, 26, 11), TPoint(-1, -1)},
      {"line, pen", [](auto C, auto, auto P) { C->Line(TdxPointF(3, 10), TdxPointF(25, 10), P); },
       TRect(3, 9, 26, 11), TPoint(-1, -1)},
      {"polyline", [&](auto C, auto, auto) { C->Polyline(triangle, Red); }, TRect(4, 4, 25, 25), TPoint(-1, -1)},
      {"polyline, pen", [&](auto C, auto, auto P) { C->Polyline(triangleF, P); }, TRect(3, 3, 25, 25),
       TPoint(-1, -1)},
      {"polygon", [&](auto C, auto, auto) { C->Polygon(triangle, Red, Blue); }, TRect(4, 4, 25, 25), TPoint(8, 8)},
      {"polygon, brush and pen", [&](auto C, auto B, auto P) { C->Polygon(triangleF, B, P); }, TRect(3, 3, 25, 25),
       TPoint(8, 8)},
      {"filled polygon", [&](auto C, auto, auto) { C->FillPolygon(triangle, clRed); }, TRect(4, 4, 25, 25),
       TPoint(8, 8)},
      {"filled polygon, brush", [&](auto C, auto B, auto) { C->FillPolygon(triangleF, B); }, TRect(4, 4, 24, 24),
       TPoint(8, 8)},
      {"ellipse", [](auto C, auto, auto) { C->Ellipse(TRect(4, 6, 26, 20), clRed, clBlue); }, TRect(4, 6, 26, 20),
       TPoint(15, 13)},
      {"ellipse, brush and pen", [](auto C, auto B, auto P) { C->Ellipse(TdxRectF(4, 6, 26, 20), B, P); },
       TRect(3, 5, 27, 21), TPoint(15, 13)},
      {"rectangle", [](auto C, auto, auto) { C->Rectangle(TRect(4, 6, 26, 20), clRed, clBlue); },
       TRect(4, 6, 26, 20), TPoint(15, 13)},
      {"rectangle, brush and pen", [](auto C, auto B, auto P) { C->Rectangle(TdxRectF(4, 6, 26, 20), B, P); },
       TRect(3, 5, 27, 21), TPoint(15, 13)},
      {"arc", [](auto C, auto, auto) { C->Arc(TRect(4, 4, 25, 25), TPoint(25, 14), TPoint(4, 14), clRed); },
       TRect(4, 4, 25, 15), TPoint(-1, -1)},
      {"pie", [](auto C, auto B, auto P) { C->Pie(TdxRectF(4, 4, 25, 25), 0, 90, B, P); }, TRect(14, 3, 26, 16),
       TPoint(18, 10)},
      {"donut slice", [](auto C, auto B, auto P) { C->DonutSlice(TdxRectF(4, 4, 25, 25), 0, 90, 40, B, P); },
       TRect(14, 3, 26, 16), TPoint(21, 8)},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TSurfaceCanvas* canvas = Canvas(30, 30);
    const TOwned<TcxCanvasBasedBrush> brush = canvas->CreateBrush(Red);
    const TOwned<TcxCanvasBasedPen> pen = canvas->CreatePeN(Blue);
    c.Draw(canvas, brush.get(), pen.get());
    const TRect ink = Surface().BoundsOfOther(White);
    ASSERT_FALSE(ink.IsEmpty()) << "nothing drawn";
    EXPECT_TRUE(c.Bounds.Contains(ink)) << FormatRectText(ink) << "\n" << Surface().Picture(White);
    EXPECT_GE(ink.Width() * ink.Height(), c.Bounds.Width() * c.Bounds.Height() / 2) << FormatRectText(ink);
    if (c.Inside.X >= 0) {
      EXPECT_TRUE(Reddish(Surface().Pixel(c.Inside.X, c.Inside.Y))) << Surface().Picture(White);
    }
  }
}

TEST_F(GdiBasedCanvas, PathsOfThisCanvasOnly) {
  TSurfaceCanvas* canvas = Canvas(30, 30);
  const TOwned<TcxCanvasBasedPath> path = canvas->CreatePath();
  path->FigureStart();
  path->AddLine(TdxPointF(4, 4), TdxPointF(24, 4));
  path->AddPolyline(std::vector<TdxPointF>{TdxPointF(24, 4), TdxPointF(24, 24), TdxPointF(4, 24)});
  path->FigureClose();
  const TOwned<TcxCanvasBasedBrush> brush = canvas->CreateBrush(Red);
  canvas->Path(path.get(), brush.get(), nullptr);
  EXPECT_TRUE(Reddish(Surface().Pixel(14, 14)));
  EXPECT_TRUE(TRect(3, 3, 26, 26).Contains(Surface().BoundsOfOther(White)));

  TPixelSurface otherSurface(30, 30);
  const TOwned<TSurfaceCanvas> other(New<TSurfaceCanvas>(&otherSurface));
  const TOwned<TcxCanvasBasedBrush> otherBrush = other->CreateBrush(Red);
  other->Path(path.get(), otherBrush.get(), nullptr);
  other->Path(nullptr, otherBrush.get(), nullptr);
  canvas->Path(path.get(), nullptr, nullptr);
  EXPECT_EQ(otherSurface.CountOther(otherSurface.ClientRect(), White), 0) << "a path of another canvas";

  // Arcs run counter-clockwise on the canvas: a quarter from 0 to 90 lies
  // above the centre, on the right.
  Surface().Fill(White);
  const TOwned<TcxCanvasBasedPath> arc = canvas->CreatePath();
  arc->AddArc(TdxRectF(4, 4, 24, 24), 0, 90);
  const TOwned<TcxCanvasBasedPen> pen = canvas->CreatePeN(Blue);
  canvas->Path(arc.get(), nullptr, pen.get());
  const TRect ink = Surface().BoundsOfOther(White);
  EXPECT_LE(ink.Bottom, 16) << Surface().Picture(White);
  EXPECT_GE(ink.Left, 12);
}

// ---------------------------------------------------------------------------
// Gradients

TEST_F(GdiBasedCanvas, Gradients) {
  TSurfaceCanvas* canvas = Canvas(40, 40);
  // From red to blue along the gradient's direction, one colour across it.
  for (const bool horizontal : {true, false}) {
    SCOPED_TRACE(horizontal ? "horizontal" : "vertical");
    Surface().Fill(White);
    canvas->FillRectByGradient(TRect(0, 0, 40, 40), clRed, clBlue, horizontal);
    const auto at = [&](int AAlong, int AAcross) {
      return horizontal ? Surface().Pixel(AAlong, AAcross) : Surface().Pixel(AAcross, AAlong);
    };
    EXPECT_TRUE(Reddish(at(0, 5)));
    EXPECT_TRUE(Bluish(at(39, 5)));
    for (int i = 1; i < 40; ++i) {
      EXPECT_LE(GetRValue(at(i, 5)), GetRValue(at(i - 1, 5))) << i;
      EXPECT_GE(GetBValue(at(i, 5)), GetBValue(at(i - 1, 5))) << i;
    }
    EXPECT_EQ(at(20, 0), at(20, 39)) << "one colour across the direction";
  }

  struct TCase {
    const char* Name;
    TdxAlphaColor Color1;
    TdxAlphaColor Color2;
    COLORREF Solid;
  };
  const TCase cases[] = {
      {"equal colours", Red, Red, RGB(255, 0, 0)},
      {"an invisible second colour", Red, TdxAlphaColors::Empty, RGB(255, 0, 0)},
      {"an invisible first colour", TdxAlphaColors::Default, Blue, RGB(0, 0, 255)},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Surface().Fill(White);
    canvas->FillRectByGradient(TRect(0, 0, 40, 10), c.Color1, c.Color2, Gdiplus::LinearGradientModeVertical);
    EXPECT_EQ(Surface().Count(c.Solid), 400);
    EXPECT_EQ(Surface().Pixel(20, 20), White);
  }
}

// ---------------------------------------------------------------------------
// Images

// A 2 x 2 bitmap: opaque red, half-transparent blue (premultiplied), clear, opaque green.
TBitmap* AlphaBitmap(TTestBitmaps& ABitmaps) {
  return ABitmaps.Make32(2, 2, {Quad(0, 0, 255, 255), Quad(128, 0, 0, 128), Quad(0, 0, 0, 0), Quad(0, 255, 0, 255)});
}

TEST_F(GdiBasedCanvas, BitmapsBlendOrCopyByTheirAlphaFormat) {
  TTestBitmaps bitmaps;
  TBitmap* bitmap = AlphaBitmap(bitmaps);
  struct TCase {
    const char* Name;
    TcxCanvasImageStretchQuality Quality;
    TAlphaFormat Format;
    bool Blended;
  };
  const TCase cases[] = {
      {"copied", isqStandard, afIgnored, false},
      {"blended", isqStandard, afPremultiplied, true},
      {"blended through a canvas image", isqHigh, afPremultiplied, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TSurfaceCanvas* canvas = Canvas(10, 10);
    canvas->SetImageStretchQuality(c.Quality);
    canvas->DrawBitmap(bitmap, TRect(2, 2, 4, 4), TRect(0, 0, 2, 2), c.Format);
    EXPECT_EQ(Surface().Pixel(2, 2), RGB(255, 0, 0));
    EXPECT_EQ(Surface().Pixel(3, 3), RGB(0, 255, 0));
    if (c.Blended) {
      EXPECT_EQ(Surface().Pixel(2, 3), White) << "clear";
      const COLORREF half = Surface().Pixel(3, 2);
      EXPECT_NEAR(GetRValue(half), 127, 2);
      EXPECT_EQ(GetBValue(half), 255);
    } else {
      EXPECT_EQ(Surface().Pixel(2, 3), RGB(0, 0, 0)) << "the colour bytes as they are";
      EXPECT_EQ(Surface().Pixel(3, 2), RGB(0, 0, 128));
    }
    EXPECT_EQ(Surface().CountOther(TRect(0, 0, 10, 2), White), 0);
  }
}

TEST_F(GdiBasedCanvas, FastPixelBuffersStretched) {
  TSurfaceCanvas* canvas = Canvas(12, 12);
  const TOwned<TdxFastDIB> dib(New<TdxFastDIB>(2, 2, true));
  *dib->GetPixel(0, 0) = Quad(0, 0, 255, 255);
  *dib->GetPixel(1, 0) = Quad(255, 0, 0, 255);
  *dib->GetPixel(0, 1) = Quad(0, 255, 0, 255);
  *dib->GetPixel(1, 1) = Quad(0, 0, 0, 0);
  canvas->DrawBitmap(dib.get(), TRect(0, 0, 8, 8), afPremultiplied);
  EXPECT_EQ(Surface().Count(TRect(0, 0, 4, 4), RGB(255, 0, 0)), 16);
  EXPECT_EQ(Surface().Count(TRect(4, 0, 8, 4), RGB(0, 0, 255)), 16);
  EXPECT_EQ(Surface().Count(TRect(4, 4, 8, 8), White), 16) << "clear";
  // Float rectangles shrink to the whole pixels inside them.
  Surface().Fill(White);
  canvas->DrawBitmap(dib.get(), TdxRectF(0.5f, 0.5f, 4.5f, 4.5f), TdxRectF(0, 0, 2, 2), afIgnored);
  EXPECT_EQ(Surface().BoundsOfOther(White), TRect(1, 1, 4, 4));

  const TOwned<TdxGpFastDIB> gp(New<TdxGpFastDIB>(2, 2, true));
  *gp->GetPixel(0, 0) = Quad(0, 0, 255, 255);
  *gp->GetPixel(1, 0) = Quad(128, 0, 0, 128);
  Surface().Fill(White);
  canvas->DrawBitmap(gp.get(), TRect(0, 0, 8, 8), afPremultiplied);
  EXPECT_TRUE(Reddish(Surface().Pixel(1, 1)));
  const COLORREF half = Surface().Pixel(6, 1);
  EXPECT_NEAR(GetRValue(half), 127, 3);
  EXPECT_EQ(GetBValue(half), 255);
  EXPECT_EQ(Surface().Pixel(2, 6), White);
}

TEST_F(GdiBasedCanvas, ImagesDrawnAndTiled) {
  TSurfaceCanvas* canvas = Canvas(12, 12);
  TTestBitmaps bitmaps;
  const TOwned<TcxCanvasBasedImage> image = canvas->CreateImage(AlphaBitmap(bitmaps), afPremultiplied);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->Size(), TSize(2, 2));
  image->Draw(TRect(1, 1, 3, 3), 255);
  EXPECT_EQ(Surface().Pixel(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(Surface().Pixel(2, 2), RGB(0, 255, 0));
  EXPECT_EQ(Surface().Pixel(1, 2), White);
  EXPECT_EQ(Surface().BoundsOfOther(White), TRect(1, 1, 3, 3));

  // Half the opacity.
  Surface().Fill(White);
  image->Draw(TdxRectF(0, 0, 2, 2), 128);
  EXPECT_NEAR(GetGValue(Surface().Pixel(0, 0)), 127, 2);

  // Tiles at the image's own size from the top-left corner, cut at the edge.
  Surface().Fill(White);
  canvas->FillRect(TRect(1, 1, 6, 6), image.get());
  for (int y = 1; y < 6; ++y)
    for (int x = 1; x < 6; ++x) {
      const int column = (x - 1) % 2;
      const int row = (y - 1) % 2;
      const COLORREF expected = row == 0 ? (column == 0 ? RGB(255, 0, 0) : Surface().Pixel(2, 1))
                                         : (column == 0 ? White : RGB(0, 255, 0));
      EXPECT_EQ(Surface().Pixel(x, y), expected) << x << "," << y;
    }
  EXPECT_EQ(Surface().CountOther(TRect(6, 0, 12, 12), White), 0);
  EXPECT_EQ(GetClipRgn(Surface().DC(), TOwnedRegion(CreateRectRgn(0, 0, 0, 0)).Get()), 0) << "the clip is back";

  // Any other graphic: opaque.
  Surface().Fill(White);
  TBitmap* plain = bitmaps.Make(pf24bit, 3, 3);
  plain->Canvas()->Brush()->SetColor(clBlue);
  plain->Canvas()->FillRect(TRect(0, 0, 3, 3));
  const TOwned<TcxCanvasBasedImage> fromGraphic = canvas->CreateImage(static_cast<TGraphic*>(plain));
  fromGraphic->Draw(TRect(0, 0, 3, 3));
  EXPECT_EQ(Surface().Count(RGB(0, 0, 255)), 9);
}

// A 2 x 2 smart image of the alpha bitmap's pixels.
TOwned<TdxSmartImage> AlphaImage() {
  const RGBQUAD pixels[] = {Quad(0, 0, 255, 255), Quad(128, 0, 0, 128), Quad(0, 0, 0, 0), Quad(0, 255, 0, 255)};
  return TOwned<TdxSmartImage>(
      NewWith<TdxSmartImage>([&](TdxSmartImage* AImage) { AImage->CreateFromBits(2, 2, pixels, afPremultiplied); }));
}

TEST_F(GdiBasedCanvas, SmartImagesDrawThemselves) {
  TSurfaceCanvas* canvas = Canvas(12, 12);
  const TOwned<TdxSmartImage> image = AlphaImage();
  canvas->DrawImage(image.get(), TRect(1, 1, 3, 3));
  EXPECT_EQ(Surface().Pixel(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(Surface().Pixel(2, 2), RGB(0, 255, 0));
  EXPECT_EQ(Surface().Pixel(1, 2), White);
  EXPECT_NEAR(GetRValue(Surface().Pixel(2, 1)), 127, 2);
  EXPECT_EQ(Surface().BoundsOfOther(White), TRect(1, 1, 3, 3));

  Surface().Fill(White);
  canvas->DrawImage(image.get(), TdxRectF(4, 4, 6, 6));
  EXPECT_EQ(Surface().Pixel(4, 4), RGB(255, 0, 0));
  EXPECT_EQ(Surface().BoundsOfOther(White), TRect(4, 4, 6, 6));

  // Tiled over a rectangle at its own size.
  Surface().Fill(White);
  canvas->FillRect(TRect(0, 0, 5, 4), image.get());
  EXPECT_EQ(Surface().Pixel(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(Surface().Pixel(2, 0), RGB(255, 0, 0));
  EXPECT_EQ(Surface().Pixel(4, 2), RGB(255, 0, 0));
  EXPECT_EQ(Surface().Pixel(3, 3), RGB(0, 255, 0));
  EXPECT_EQ(Surface().CountOther(TRect(5, 0, 12, 12), White) + Surface().CountOther(TRect(0, 4, 12, 12), White), 0);
  canvas->DrawImage(nullptr, TRect(0, 0, 4, 4));
  canvas->FillRect(TRect(0, 0, 4, 4), static_cast<TdxGPImage*>(nullptr));
}

TEST_F(GdiBasedCanvas, CanvasImagesKeepSmartImagesByTheOwnershipRule) {
  TSurfaceCanvas* canvas = Canvas(4, 4);
  TOwned<TdxSmartImage> image = AlphaImage();
  {
    const TOwned<TcxCanvasBasedImage> cloned = canvas->CreateImage(image.get(), ooCloned);
    const TOwned<TcxCanvasBasedImage> referenced = canvas->CreateImage(image.get(), ooReferenced);
    EXPECT_NE(As<TcxGdiCanvasBasedImage>(cloned.get())->Image(), image.get());
    EXPECT_EQ(As<TcxGdiCanvasBasedImage>(referenced.get())->Image(), image.get());
    EXPECT_EQ(cloned->Size(), TSize(2, 2));
    const TOwned<TcxCanvasBasedImage> fromGraphic = canvas->CreateImage(static_cast<TGraphic*>(image.get()));
    EXPECT_NE(As<TcxGdiCanvasBasedImage>(fromGraphic.get())->Image(), image.get()) << "a graphic is cloned";
  }
  EXPECT_EQ(image->Size(), TSize(2, 2)) << "a referenced image stays its holder's";
  // An owned image goes with the canvas image.
  const TOwned<TcxCanvasBasedImage> owned = canvas->CreateImage(image.release(), ooOwned);
  EXPECT_EQ(canvas->CreateImage(static_cast<TdxGPImage*>(nullptr), ooOwned), nullptr);
}

TEST_F(GdiBasedCanvas, ImageListItems) {
  TSurfaceCanvas* canvas = Canvas(20, 20);
  TOwned<TCustomImageList> list(New<TCustomImageList>(nullptr));
  list->SetColorDepth(cd32Bit);
  list->SetSize(4, 4);
  TTestBitmaps bitmaps;
  TBitmap* item = bitmaps.Make32(4, 4, std::vector<RGBQUAD>(16, Quad(0, 0, 255, 255)));
  list->Add(item, nullptr);

  const TOwned<TcxCanvasBasedImageList> images = canvas->CreateImageList(list.get());
  EXPECT_EQ(images->GetSize(), TSize(4, 4));
  images->Draw(TRect(2, 2, 6, 6), 0);
  EXPECT_EQ(Surface().Count(RGB(255, 0, 0)), 16);
  EXPECT_EQ(Surface().BoundsOf(RGB(255, 0, 0)), TRect(2, 2, 6, 6));
  TcxCanvasBasedImageListHandle* handle = images->ListHandle();
  images->Draw(TRect(8, 8, 16, 16), 0);
  EXPECT_EQ(handle->CachedImageCount(), 1) << "one image per item, mode and palette";
  images->Draw(TRect(8, 8, 16, 16), list->Count());
  EXPECT_EQ(handle->CachedImageCount(), 1) << "no such item";
  list->Add(item, nullptr);
  EXPECT_EQ(handle->CachedImageCount(), 0) << "a change of the list empties the cache";
  TOwned<TcxCanvasBasedImageList> same = canvas->CreateImageList(list.get());
  EXPECT_EQ(same->Handle(), images->Handle());
}

TEST_F(GdiBasedCanvas, ImageListOverlaysNativelyAndThroughTheLibrarysDrawing) {
  // Red on the left half of the item, blue on the right half of the overlay.
  const auto half = [](bool ALeft, const RGBQUAD& AColor) {
    return MakeGlyph(16, 16, [=](int x, int) { return (x < 8) == ALeft ? AColor : Quad(0, 0, 0, 0); });
  };
  for (const bool shareImages : {false, true}) {
    SCOPED_TRACE(shareImages ? "native" : "library");
    TSurfaceCanvas* canvas = Canvas(20, 20);
    const TOwned<TcxImageList> list(New<TcxImageList>(nullptr));
    list->SetShareImages(shareImages);
    list->Add(half(true, Quad(0, 0, 255, 255)).get(), nullptr);
    list->Add(half(false, Quad(255, 0, 0, 255)).get(), nullptr);
    // The native list finds overlay 1 in its slot, the library's drawing
    // takes the image at index 1.
    ASSERT_TRUE(list->Overlay(1, 1));
    const TOwned<TcxCanvasBasedImageList> images = canvas->CreateImageList(list.get());
    EXPECT_EQ(images->ListHandle()->UseNativeDrawing(), shareImages);
    images->Draw(TRect(2, 2, 18, 18), 0, 1);
    if (shareImages) {
      // What the native list itself draws with the overlay's style bits.
      TPixelSurface native(20, 20, White);
      ImageList_DrawEx(list->Handle(), 0, native.DC(), 2, 2, 0, 0, CLR_NONE, CLR_NONE, INDEXTOOVERLAYMASK(2));
      for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_EQ(Surface().Pixel(x, y), native.Pixel(x, y)) << x << ", " << y;
    } else {
      EXPECT_EQ(Surface().BoundsOf(RGB(255, 0, 0)), TRect(2, 2, 10, 18));
      EXPECT_EQ(Surface().BoundsOf(RGB(0, 0, 255)), TRect(10, 2, 18, 18));
    }
  }
}

TEST_F(GdiBasedCanvas, ImageListSizeFollowsTheListsSourceDpi) {
  TSurfaceCanvas* canvas = Canvas(40, 40);
  const TOwned<TcxImageList> list(New<TcxImageList>(nullptr));
  list->SetSize(32, 32);
  list->SetSourceDPI(192);
  list->Add(SolidGlyph(32, 32, RGB(0, 0, 255)).get(), nullptr);
  const TOwned<TcxCanvasBasedImageList> images = canvas->CreateImageList(list.get());
  EXPECT_EQ(images->GetSize(), TSize(16, 16));
  const TOwned<TdxScaleFactor> factor(New<TdxScaleFactor>());
  factor->Assign(3, 2, false);
  EXPECT_EQ(images->GetSize(factor.get()), TSize(24, 24));
  // The item is made at the list's size and drawn whole into the rectangle.
  images->Draw(TRect(4, 4, 20, 20), 0);
  EXPECT_EQ(Surface().BoundsOf(RGB(0, 0, 255)), TRect(4, 4, 20, 20));
  EXPECT_EQ(Surface().Count(RGB(0, 0, 255)), 16 * 16);
}

// ---------------------------------------------------------------------------
// Clipping, origins and world transforms

TEST_F(GdiBasedCanvas, ClippingLimitsEveryKindOfDrawing) {
  TSurfaceCanvas* canvas = Canvas(30, 30);
  canvas->IntersectClipRect(TRect(5, 5, 15, 15));
  canvas->ExcludeClipRect(TRect(5, 5, 8, 8));
  EXPECT_FALSE(canvas->RectVisible(TRect(20, 20, 25, 25)));
  EXPECT_TRUE(canvas->RectVisible(TdxRectF(14.5f, 14.5f, 20, 20)));
  canvas->FillRect(TRect(0, 0, 30, 10), clRed);
  canvas->FillRect(TRect(0, 10, 30, 20), Blue);
  EXPECT_EQ(Surface().BoundsOf(RGB(255, 0, 0)), TRect(5, 5, 15, 10));
  EXPECT_EQ(Surface().Count(RGB(255, 0, 0)), 50 - 9);
  EXPECT_EQ(Surface().BoundsOf(RGB(0, 0, 255)), TRect(5, 10, 15, 15));
  canvas->SaveClipRegion();
  canvas->IntersectClipRect(TdxRectF(9.5f, 9.5f, 10.5f, 10.5f));
  EXPECT_FALSE(canvas->RectVisible(TRect(5, 5, 9, 9)));
  canvas->RestoreClipRegion();
  EXPECT_TRUE(canvas->RectVisible(TRect(5, 5, 9, 9)));
}

TEST_F(GdiBasedCanvas, OriginsMoveWhatIsDrawn) {
  TSurfaceCanvas* canvas = Canvas(30, 30);
  EXPECT_EQ(canvas->MoveWindowOrg(TPoint(10, 5)), TPoint(0, 0));
  canvas->FillRect(TRect(0, 0, 3, 3), clRed);
  canvas->FillRect(TRect(3, 0, 6, 3), Blue);
  EXPECT_EQ(Surface().BoundsOf(RGB(255, 0, 0)), TRect(10, 5, 13, 8));
  EXPECT_EQ(Surface().BoundsOf(RGB(0, 0, 255)), TRect(13, 5, 16, 8));
  EXPECT_EQ(canvas->WindowOrg(), TPoint(-10, -5));
  EXPECT_EQ(canvas->DCOrigin(), TPoint(10, 5));

  // A base origin from the brush origin's synchronisation: the window
  // origin reads without it, and writes back the same.
  canvas->SetWindowOrg(TPoint(-4, -4));
  canvas->SyncBrushOrigin();
  EXPECT_EQ(canvas->BaseOrigin(), TPoint(-4, -4));
  EXPECT_EQ(canvas->WindowOrg(), TPoint(0, 0));
  canvas->SetWindowOrg(TPoint(7, 3));
  EXPECT_EQ(canvas->WindowOrg(), TPoint(7, 3));
  canvas->RestoreBrushOrigin();
  EXPECT_EQ(canvas->BaseOrigin(), TPoint(0, 0));

  canvas->SetWindowOrg(TPoint(0, 0));
  canvas->SetViewportOrg(TPoint(2, 2));
  EXPECT_EQ(canvas->ViewportOrg(), TPoint(2, 2));
  EXPECT_EQ(canvas->DCOrigin(), TPoint(2, 2));
}

TEST_F(GdiBasedCanvas, WorldTransformsMultiplyAndComeBack) {
  TSurfaceCanvas* canvas = Canvas(40, 20);
  canvas->SaveWorldTransform();
  canvas->ModifyWorldTransform(MakeTranslationXForm(10, 0));
  canvas->ModifyWorldTransform(MakeScaleXForm(2, 2));
  // Scaled first, then moved: (1, 1, 3, 3) becomes (12, 2, 16, 6).
  canvas->FillRect(TRect(1, 1, 3, 3), clRed);
  EXPECT_EQ(Surface().BoundsOf(RGB(255, 0, 0)), TRect(12, 2, 16, 6));
  // GDI+ drawing goes through the same transform.
  canvas->FillRect(TRect(5, 1, 7, 3), Blue);
  EXPECT_EQ(Surface().BoundsOf(RGB(0, 0, 255)), TRect(20, 2, 24, 6));
  canvas->RestoreWorldTransform();
  Surface().Fill(White);
  canvas->FillRect(TRect(1, 1, 3, 3), clRed);
  EXPECT_EQ(Surface().BoundsOf(RGB(255, 0, 0)), TRect(1, 1, 3, 3));
  canvas->RestoreWorldTransform();  // nothing saved: nothing happens
  canvas->FillRect(TRect(4, 1, 5, 2), clRed);
  EXPECT_EQ(Surface().BoundsOf(RGB(255, 0, 0)), TRect(1, 1, 5, 3));
}

TEST_F(GdiBasedCanvas, NativeObjectsPaintThroughGdiPlus) {
  TSurfaceCanvas* canvas = Canvas(20, 20);
  const auto key = TcxCanvasBasedResourceCacheKey::Create(this, TSize(5, 5), 0, 0, 96);
  TRect seen;
  canvas->DrawNativeObject(TRect(2, 2, 7, 7), key, TcxCanvasNativeDrawExProc([&](TdxGPCanvas* ACanvas, const TRect& R) {
                             seen = R;
                             ACanvas->FillRectangle(R, Red);
                           }));
  EXPECT_EQ(seen, TRect(2, 2, 7, 7));
  EXPECT_EQ(Surface().BoundsOf(RGB(255, 0, 0)), TRect(2, 2, 7, 7));
  canvas->IntersectClipRect(TRect(10, 10, 20, 20));
  bool called = false;
  canvas->DrawNativeObject(TRect(2, 2, 7, 7), key,
                           TcxCanvasNativeDrawExProc([&](TdxGPCanvas*, const TRect&) { called = true; }));
  EXPECT_FALSE(called) << "an invisible rectangle";
}

TEST_F(GdiBasedCanvas, NativeGdiProceduresGetAFullGdiCanvasOnTheSameDeviceContext) {
  TSurfaceCanvas* canvas = Canvas(20, 20);
  // A TcxCanvas hands over itself.
  const TOwned<TCanvas> target(New<TCanvas>());
  target->SetHandle(Surface().DC());
  const TOwned<TcxCanvas> own(New<TcxCanvas>(target.get()));
  TcxCanvas* handed = nullptr;
  own->DrawNativeObject(TRect(2, 2, 7, 7), TcxCanvasBasedResourceCacheKey(),
                        TcxCanvasNativeDrawProc([&](TcxCanvas* ACanvas, const TRect&) { handed = ACanvas; }));
  EXPECT_EQ(handed, own.get());
  // Another GDI canvas lends its device context to one: what the procedure
  // draws with TcxCanvas's own operations lands on the surface.
  handed = nullptr;
  canvas->DrawNativeObject(TRect(2, 2, 9, 9), TcxCanvasBasedResourceCacheKey(),
                           TcxCanvasNativeDrawProc([&](TcxCanvas* ACanvas, const TRect& R) {
                             handed = ACanvas;
                             EXPECT_EQ(ACanvas->Handle(), Surface().DC());
                             ACanvas->FrameRect(R, clBlue, 2, TcxBorders{bLeft, bTop});
                           }));
  EXPECT_NE(handed, nullptr);
  EXPECT_EQ(Surface().BoundsOf(RGB(0, 0, 255)), TRect(2, 2, 9, 9));
  EXPECT_EQ(Surface().Count(RGB(0, 0, 255)), 7 * 2 + 5 * 2);
}

// Wine gives no device context of 16 bits per pixel or fewer (memory DCs
// report the display's depth), so only the true-colour answer is seen here.
TEST_F(GdiBasedCanvas, ATrueColourDeviceIsNoLowColourOne) {
  TSurfaceCanvas* canvas = Canvas(4, 4);
  EXPECT_FALSE(canvas->IsLowColorsMode());
}

}  // namespace
