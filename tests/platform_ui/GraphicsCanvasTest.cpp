#include "platform/classes/ClassErrors.h"
#include "platform/ui/Graphics.h"

#include "tests/support/GuiLeaks.h"
#include "tests/support/Pixels.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

constexpr COLORREF White = RGB(255, 255, 255);

// A canvas over a pixel surface, freed at the end of the test.
struct TSurfaceCanvas {
  TPixelSurface Surface;
  const TOwned<TCanvas> Canvas;
  TSurfaceCanvas(int W, int H) : Surface(W, H, White), Canvas(New<TCanvas>()) { Canvas->SetHandle(Surface.DC()); }
};

TEST(GraphicsCanvas, FillRectCoversExactlyTheHalfOpenRectangle) {
  TSurfaceCanvas s(20, 20);
  s.Canvas->Brush()->SetColor(clRed);
  s.Canvas->FillRect(TRect(2, 3, 12, 8));
  EXPECT_EQ(s.Surface.Count(TRect(2, 3, 12, 8), RGB(255, 0, 0)), 50);
  EXPECT_EQ(s.Surface.Count(RGB(255, 0, 0)), 50) << s.Surface.Picture(White);
}

TEST(GraphicsCanvas, SystemColoursPaintAsGetSysColor) {
  TSurfaceCanvas s(10, 10);
  s.Canvas->Brush()->SetColor(clBtnFace);
  s.Canvas->FillRect(TRect(0, 0, 10, 10));
  EXPECT_EQ(s.Surface.Pixel(5, 5), GetSysColor(COLOR_BTNFACE));
}

TEST(GraphicsCanvas, FrameRectDrawsOnlyTheBorder) {
  TSurfaceCanvas s(20, 20);
  s.Canvas->Brush()->SetColor(clBlue);
  s.Canvas->FrameRect(TRect(2, 2, 12, 10));
  EXPECT_EQ(s.Surface.Count(RGB(0, 0, 255)), 2 * 10 + 2 * 6);
  EXPECT_EQ(s.Surface.BoundsOf(RGB(0, 0, 255)), TRect(2, 2, 12, 10));
  EXPECT_EQ(s.Surface.Count(TRect(3, 3, 11, 9), RGB(0, 0, 255)), 0);
}

TEST(GraphicsCanvas, RectangleOutlinesWithPenAndFillsWithBrush) {
  TSurfaceCanvas s(20, 20);
  s.Canvas->Pen()->SetColor(clLime);
  s.Canvas->Brush()->SetColor(clBlue);
  s.Canvas->Rectangle(TRect(0, 0, 10, 10));
  EXPECT_EQ(s.Surface.Count(RGB(0, 255, 0)), 36);
  EXPECT_EQ(s.Surface.Count(RGB(0, 0, 255)), 64);
  // A clear brush leaves the inside alone.
  s.Surface.Fill(White);
  s.Canvas->Brush()->SetStyle(bsClear);
  s.Canvas->Rectangle(TRect(0, 0, 10, 10));
  EXPECT_EQ(s.Surface.Count(TRect(1, 1, 9, 9), White), 64);
}

TEST(GraphicsCanvas, LinesMoveThePen) {
  TSurfaceCanvas s(20, 20);
  s.Canvas->Pen()->SetColor(clRed);
  s.Canvas->MoveTo(2, 5);
  s.Canvas->LineTo(12, 5);
  EXPECT_EQ(s.Canvas->PenPos(), TPoint(12, 5));
  // The end point is not drawn.
  EXPECT_EQ(s.Surface.BoundsOf(RGB(255, 0, 0)), TRect(2, 5, 12, 6));
  s.Canvas->LineTo(12, 15);
  EXPECT_EQ(s.Surface.BoundsOf(RGB(255, 0, 0)), TRect(2, 5, 13, 15));
}

TEST(GraphicsCanvas, PenWidthAndClearStyle) {
  TSurfaceCanvas s(30, 30);
  s.Canvas->Pen()->SetColor(clBlack);
  s.Canvas->Pen()->SetWidth(3);
  s.Canvas->MoveTo(5, 15);
  s.Canvas->LineTo(25, 15);
  const TRect b = s.Surface.BoundsOf(RGB(0, 0, 0));
  EXPECT_EQ(b.Height(), 3);
  s.Surface.Fill(White);
  s.Canvas->Pen()->SetStyle(psClear);
  s.Canvas->LineTo(25, 25);
  EXPECT_EQ(s.Surface.Count(RGB(0, 0, 0)), 0);
}

TEST(GraphicsCanvas, PolygonAndEllipseStayInsideTheirBounds) {
  TSurfaceCanvas s(40, 40);
  s.Canvas->Pen()->SetColor(clRed);
  s.Canvas->Brush()->SetColor(clRed);
  const TPoint triangle[] = {{5, 5}, {25, 5}, {5, 25}};
  s.Canvas->Polygon(triangle);
  const TRect b = s.Surface.BoundsOf(RGB(255, 0, 0));
  EXPECT_TRUE(TRect(5, 5, 26, 26).Contains(b)) << s.Surface.Picture(White);
  EXPECT_EQ(s.Surface.Pixel(7, 7), RGB(255, 0, 0));
  EXPECT_EQ(s.Surface.Pixel(22, 22), White);

  s.Surface.Fill(White);
  s.Canvas->Ellipse(TRect(10, 10, 30, 20));
  EXPECT_TRUE(TRect(10, 10, 30, 20).Contains(s.Surface.BoundsOf(RGB(255, 0, 0))));
  EXPECT_EQ(s.Surface.Pixel(20, 15), RGB(255, 0, 0));
  EXPECT_EQ(s.Surface.Pixel(10, 10), White);
}

TEST(GraphicsCanvas, EveryShapeInksInsideItsBounds) {
  struct Case {
    const char* Name;
    void (*Draw)(TCanvas*);
    TRect Bounds;
  };
  const Case cases[] = {
      {"RoundRect", [](TCanvas* c) { c->RoundRect(TRect(4, 4, 30, 20), 8, 8); }, TRect(4, 4, 30, 20)},
      {"Arc", [](TCanvas* c) { c->Arc(4, 4, 30, 30, 30, 17, 4, 17); }, TRect(4, 4, 30, 30)},
      {"Chord", [](TCanvas* c) { c->Chord(4, 4, 30, 30, 30, 17, 4, 17); }, TRect(4, 4, 30, 30)},
      {"Pie", [](TCanvas* c) { c->Pie(4, 4, 30, 30, 30, 17, 17, 4); }, TRect(4, 4, 30, 30)},
      {"Polyline", [](TCanvas* c) {
         const TPoint pts[] = {{5, 5}, {20, 25}, {30, 5}};
         c->Polyline(pts);
       }, TRect(5, 5, 31, 26)},
      {"PolyBezier", [](TCanvas* c) {
         const TPoint pts[] = {{5, 30}, {5, 5}, {30, 5}, {30, 30}};
         c->PolyBezier(pts);
       }, TRect(5, 5, 31, 31)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TSurfaceCanvas s(40, 40);
    s.Canvas->Pen()->SetColor(clRed);
    s.Canvas->Brush()->SetColor(clBlue);
    c.Draw(s.Canvas.get());
    const TRect ink = s.Surface.BoundsOfOther(White);
    EXPECT_FALSE(ink.IsEmpty());
    EXPECT_TRUE(c.Bounds.Contains(ink)) << s.Surface.Picture(White);
    EXPECT_GT(s.Surface.Count(RGB(255, 0, 0)), 0);
  }
  // Filled shapes fill with the brush; the arc does not.
  TSurfaceCanvas pie(40, 40);
  pie.Canvas->Brush()->SetColor(clBlue);
  pie.Canvas->Pie(4, 4, 30, 30, 30, 17, 17, 4);  // the upper right quarter
  EXPECT_EQ(pie.Surface.Pixel(22, 12), RGB(0, 0, 255));
  EXPECT_EQ(pie.Surface.Pixel(10, 22), White);
}

TEST(GraphicsCanvas, FloodFillStopsAtTheBorder) {
  TSurfaceCanvas s(20, 20);
  s.Canvas->Brush()->SetColor(clBlack);
  s.Canvas->FrameRect(TRect(2, 2, 12, 12));
  s.Canvas->Brush()->SetColor(clLime);
  s.Canvas->FloodFill(5, 5, clBlack, fsBorder);
  EXPECT_EQ(s.Surface.Count(RGB(0, 255, 0)), 64);
  EXPECT_EQ(s.Surface.Pixel(15, 15), White);
  // By surface colour: the white outside.
  s.Canvas->Brush()->SetColor(clRed);
  s.Canvas->FloodFill(15, 15, clWhite, fsSurface);
  EXPECT_EQ(s.Surface.Count(White), 0);
  EXPECT_EQ(s.Surface.Count(RGB(0, 255, 0)), 64);
}

TEST(GraphicsCanvas, CopyRectStretchesWithTheCopyMode) {
  TSurfaceCanvas source(4, 4);
  source.Canvas->Brush()->SetColor(clRed);
  source.Canvas->FillRect(TRect(0, 0, 2, 4));
  TSurfaceCanvas target(20, 20);
  target.Canvas->CopyRect(TRect(0, 0, 8, 8), source.Canvas.get(), TRect(0, 0, 4, 4));
  EXPECT_EQ(target.Surface.BoundsOf(RGB(255, 0, 0)), TRect(0, 0, 4, 8));
  target.Canvas->SetCopyMode(cmNotSrcCopy);
  target.Canvas->CopyRect(TRect(10, 10, 14, 14), source.Canvas.get(), TRect(0, 0, 4, 4));
  EXPECT_EQ(target.Surface.Pixel(10, 10), RGB(0, 255, 255));
  EXPECT_EQ(target.Surface.Pixel(13, 13), RGB(0, 0, 0));
}

TEST(GraphicsCanvas, FocusRectTwiceRestoresThePixels) {
  TSurfaceCanvas s(20, 20);
  s.Canvas->DrawFocusRect(TRect(2, 2, 15, 12));
  const TRect ink = s.Surface.BoundsOfOther(White);
  EXPECT_EQ(ink, TRect(2, 2, 15, 12));
  EXPECT_EQ(s.Surface.Count(TRect(3, 3, 14, 11), White), 11 * 8) << "only the frame";
  s.Canvas->DrawFocusRect(TRect(2, 2, 15, 12));
  EXPECT_EQ(s.Surface.Count(White), 400);
}

TEST(GraphicsCanvas, ClipRectFollowsTheContext) {
  TSurfaceCanvas s(30, 20);
  EXPECT_EQ(s.Canvas->ClipRect(), TRect(0, 0, 30, 20));
  HRGN region = CreateRectRgn(5, 5, 10, 10);
  SelectClipRgn(s.Surface.DC(), region);
  DeleteObject(region);
  EXPECT_EQ(s.Canvas->ClipRect(), TRect(5, 5, 10, 10));
  s.Canvas->Brush()->SetColor(clRed);
  s.Canvas->FillRect(TRect(0, 0, 30, 20));
  EXPECT_EQ(s.Surface.Count(RGB(255, 0, 0)), 25);
  SelectClipRgn(s.Surface.DC(), nullptr);
}

TEST(GraphicsCanvas, PixelsReadAndWrite) {
  TSurfaceCanvas s(10, 10);
  s.Canvas->SetPixels(3, 4, clFuchsia);
  EXPECT_EQ(s.Surface.Pixel(3, 4), RGB(255, 0, 255));
  EXPECT_EQ(s.Canvas->Pixels(3, 4), clFuchsia);
  EXPECT_EQ(s.Canvas->Pixels(50, 50), clNone);
}

TEST(GraphicsCanvas, TextOutDrawsInFontColourAndAdvancesThePen) {
  TSurfaceCanvas s(120, 40);
  s.Canvas->Font()->SetColor(clBlue);
  s.Canvas->Brush()->SetStyle(bsClear);
  const TSize extent = s.Canvas->TextExtent(L"Hello");
  ASSERT_GT(extent.cx, 0);
  ASSERT_GT(extent.cy, 0);
  s.Canvas->TextOut(10, 5, L"Hello");
  const TRect ink = s.Surface.BoundsOfOther(White);
  EXPECT_FALSE(ink.IsEmpty());
  EXPECT_TRUE(Bounds(10, 5, extent.cx + 1, extent.cy).Contains(ink)) << s.Surface.Picture(White);
  EXPECT_GT(s.Surface.Count(RGB(0, 0, 255)), 0);
  EXPECT_EQ(s.Canvas->PenPos(), TPoint(10 + extent.cx, 5));
}

TEST(GraphicsCanvas, OpaqueTextPaintsTheBrushBehind) {
  TSurfaceCanvas s(120, 40);
  s.Canvas->Brush()->SetColor(clYellow);
  s.Canvas->Font()->SetColor(clBlack);
  const TSize extent = s.Canvas->TextExtent(L"Wg");
  s.Canvas->TextOut(0, 0, L"Wg");
  EXPECT_GT(s.Surface.Count(Bounds(0, 0, extent.cx, extent.cy), RGB(255, 255, 0)), 0);
  EXPECT_EQ(s.Surface.BoundsOfOther(White), Bounds(0, 0, extent.cx, extent.cy));
}

TEST(GraphicsCanvas, TextRectClipsAndCalculates) {
  TSurfaceCanvas s(100, 40);
  s.Canvas->Brush()->SetStyle(bsClear);
  s.Canvas->Font()->SetColor(clBlack);
  s.Canvas->TextRect(TRect(10, 10, 20, 30), 10, 10, L"WWWWWWWW");
  EXPECT_TRUE(TRect(10, 10, 20, 30).Contains(s.Surface.BoundsOfOther(White)));

  TRect r(0, 0, 0, 0);
  String text = L"Hello";
  s.Canvas->TextRect(r, text, {tfCalcRect, tfSingleLine});
  EXPECT_EQ(r.GetSize(), s.Canvas->TextExtent(L"Hello"));

  // Centred in a wide rectangle: ink on both sides of the middle.
  s.Surface.Fill(White);
  TRect box(0, 0, 100, 40);
  s.Canvas->TextRect(box, text, {tfCenter, tfVerticalCenter, tfSingleLine});
  const TRect ink = s.Surface.BoundsOfOther(White);
  EXPECT_LT(ink.Left, 50);
  EXPECT_GT(ink.Right, 50);
  EXPECT_NEAR(ink.Left, 100 - ink.Right, 3);
}

TEST(GraphicsCanvas, TextRectModifyStringShortensTheText) {
  TSurfaceCanvas s(100, 40);
  TRect r(0, 0, 30, 20);
  String text = L"A rather long caption";
  s.Canvas->TextRect(r, text, {tfEndEllipsis, tfModifyString, tfSingleLine});
  EXPECT_LT(text.size(), 21u);
  EXPECT_NE(text.find(L"..."), String::npos);
}

TEST(GraphicsCanvas, ChangingTheBrushTakesEffectOnTheNextOperation) {
  TSurfaceCanvas s(10, 10);
  s.Canvas->Brush()->SetColor(clRed);
  s.Canvas->FillRect(TRect(0, 0, 5, 10));
  s.Canvas->Brush()->SetColor(clLime);
  s.Canvas->FillRect(TRect(5, 0, 10, 10));
  EXPECT_EQ(s.Surface.Count(RGB(255, 0, 0)), 50);
  EXPECT_EQ(s.Surface.Count(RGB(0, 255, 0)), 50);
}

TEST(GraphicsCanvas, DetachingRestoresTheContextsObjects) {
  TPixelSurface surface(10, 10);
  HGDIOBJ font = GetCurrentObject(surface.DC(), OBJ_FONT);
  HGDIOBJ pen = GetCurrentObject(surface.DC(), OBJ_PEN);
  HGDIOBJ brush = GetCurrentObject(surface.DC(), OBJ_BRUSH);
  TCanvas* canvas = New<TCanvas>();
  canvas->SetHandle(surface.DC());
  canvas->Rectangle(TRect(0, 0, 5, 5));
  canvas->TextOut(0, 0, L"x");
  HGDIOBJ ours = GetCurrentObject(surface.DC(), OBJ_BRUSH);
  EXPECT_NE(ours, brush);
  canvas->SetHandle(nullptr);
  EXPECT_EQ(GetCurrentObject(surface.DC(), OBJ_FONT), font);
  EXPECT_EQ(GetCurrentObject(surface.DC(), OBJ_PEN), pen);
  EXPECT_EQ(GetCurrentObject(surface.DC(), OBJ_BRUSH), brush);
  canvas->Free();
}

TEST(GraphicsCanvas, NoContextRaisesInvalidOperation) {
  TCanvas* canvas = New<TCanvas>();
  EXPECT_THROW(canvas->FillRect(TRect(0, 0, 1, 1)), EInvalidOperation);
  EXPECT_FALSE(canvas->HandleAllocated());
  canvas->Free();
}

TEST(GraphicsCanvas, ChangeEventsBracketEveryDrawing) {
  struct TListener : TObject {
    int Changing = 0, Changed = 0;
    void OnChanging(TObject*) { ++Changing; }
    void OnChanged(TObject*) { EXPECT_EQ(Changing, Changed + 1); ++Changed; }
  };
  TSurfaceCanvas s(10, 10);
  TListener listener;
  s.Canvas->SetOnChanging(BindEvent<&TListener::OnChanging>(&listener));
  s.Canvas->SetOnChange(BindEvent<&TListener::OnChanged>(&listener));
  s.Canvas->FillRect(TRect(0, 0, 2, 2));
  s.Canvas->TextOut(0, 0, L"a");
  s.Canvas->LineTo(5, 5);
  EXPECT_EQ(listener.Changing, 3);
  EXPECT_EQ(listener.Changed, 3);
}

TEST(GraphicsCanvas, LockIsReentrantAndExcludesOtherThreads) {
  TCanvas* canvas = New<TCanvas>();
  canvas->Lock();
  canvas->Lock();
  EXPECT_EQ(canvas->LockCount(), 2);
  bool otherGotIt = true;
  std::thread([&] { otherGotIt = canvas->TryLock(); }).join();
  EXPECT_FALSE(otherGotIt);
  canvas->Unlock();
  canvas->Unlock();
  std::thread([&] {
    otherGotIt = canvas->TryLock();
    if (otherGotIt) canvas->Unlock();
  }).join();
  EXPECT_TRUE(otherGotIt);
  EXPECT_EQ(canvas->LockCount(), 0);
  canvas->Free();
}

TEST(GraphicsCanvas, DrawingLeaksNoGdiObjects) {
  auto cycle = [] {
    TPixelSurface surface(16, 16);
    TCanvas* canvas = New<TCanvas>();
    canvas->SetHandle(surface.DC());
    for (TColor c : {clRed, clBlue, clBtnFace}) {
      canvas->Brush()->SetColor(c);
      canvas->Pen()->SetColor(c);
      canvas->Font()->SetColor(c);
      canvas->Font()->SetHeight(-10 - static_cast<int>(c & 3));
      canvas->Rectangle(TRect(0, 0, 8, 8));
      canvas->TextOut(0, 0, L"ab");
    }
    canvas->Brush()->SetStyle(bsDiagCross);
    canvas->FillRect(TRect(0, 0, 16, 16));
    canvas->Free();
  };
  cycle();
  const int before = GdiObjectCount();
  for (int i = 0; i < 5; ++i) cycle();
  EXPECT_EQ(GdiObjectCount(), before);
}

}  // namespace
