// The GDI canvas: its clip-region and state stacks as sequences with the
// clip boxes they leave, frames, fills, tiles, focus rectangles, pies and
// the shapes that set pen and brush in one step, drawn into a 32-bit DIB.
#include "tests/library_graphics/GdiCanvasTesting.h"
#include "tests/library_graphics/GdiPlusTesting.h"
#include "tests/support/GuiLeaks.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

class GdiCanvas : public GdiPlusTest {};

// Pixels a fill of the whole surface reaches: what the clip region lets through.
int FilledPixels(TCanvasOnSurface& ACanvas) {
  ACanvas.Surface.Fill(White);
  ACanvas->FillRect(TRect(-100, -100, 100, 100), clBlack);
  return ACanvas.Surface.Count(Black);
}

// ---------------------------------------------------------------------------
// Clip regions

TEST_F(GdiCanvas, ClipRegionStackAsASequence) {
  TCanvasOnSurface canvas;
  const HDC DC = canvas.Surface.DC();
  struct Step {
    const char* Name;
    std::function<void()> Action;
    TRect ClipBox;  // device coordinates
    int Pixels;
  };
  const Step steps[] = {
      {"no clip region", [] {}, TRect(0, 0, 40, 40), 1600},
      {"save, intersect",
       [&] {
         canvas->SaveClipRegion();
         canvas->SetClipRegion(New<TcxRegion>(5, 5, 30, 30), roIntersect);
       },
       TRect(5, 5, 30, 30), 625},
      {"save, subtract a hole at a moved origin",
       [&] {
         canvas->SaveClipRegion();
         canvas->SetWindowOrg(TPoint(3, 4));
         canvas->SetClipRegion(New<TcxRegion>(13, 14, 23, 24), roSubtract);
       },
       TRect(5, 5, 30, 30), 525},
      {"add in the moved coordinates", [&] { canvas->SetClipRegion(New<TcxRegion>(3, 4, 8, 9), roAdd); },
       TRect(0, 0, 30, 30), 550},
      {"origin back, restore", [&] {
         canvas->SetWindowOrg(TPoint());
         canvas->RestoreClipRegion();
       },
       TRect(5, 5, 30, 30), 625},
      {"restore", [&] { canvas->RestoreClipRegion(); }, TRect(0, 0, 40, 40), 1600},
      {"restore with nothing saved", [&] { canvas->RestoreClipRegion(); }, TRect(0, 0, 40, 40), 1600},
      {"set replaces", [&] { canvas->SetClipRegion(New<TcxRegion>(1, 2, 3, 4), roSet); }, TRect(1, 2, 3, 4), 4},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.Name);
    step.Action();
    EXPECT_EQ(DeviceClipBox(DC), step.ClipBox);
    const TPoint origin = canvas->WindowOrg();
    canvas->SetWindowOrg(TPoint());
    EXPECT_EQ(FilledPixels(canvas), step.Pixels);
    canvas->SetWindowOrg(origin);
  }
}

TEST_F(GdiCanvas, ClipRegionsInTheCanvasCoordinates) {
  TCanvasOnSurface canvas;
  TOwned<TcxRegion> none = canvas->GetClipRegion();
  EXPECT_EQ(none->BoundsRect(), TRect(0, 0, 30000, 30000)) << "no clip region: the large rectangle";

  // A subtraction from no clip region keeps the large rectangle around it.
  canvas->SetClipRegion(New<TcxRegion>(0, 0, 10, 30000), roSubtract);
  TOwned<TcxRegion> rest = canvas->GetClipRegion();
  EXPECT_EQ(rest->BoundsRect(), TRect(10, 0, 30000, 30000));
  EXPECT_EQ(FilledPixels(canvas), 1200);

  // The same region seen from a moved origin, and without the origin.
  canvas->SetWindowOrg(TPoint(-5, 2));
  EXPECT_EQ(canvas->GetClipRegion(true)->BoundsRect(), TRect(5, 2, 29995, 30002));
  EXPECT_EQ(canvas->GetClipRegion(false)->BoundsRect(), TRect(10, 0, 30000, 30000));

  // A saved region is in the canvas's coordinates: restored at another
  // origin it lands where that origin puts them.
  canvas->SetWindowOrg(TPoint());
  canvas->SetClipRegion(New<TcxRegion>(5, 5, 30, 30), roSet);
  canvas->SaveClipRegion();
  canvas->SetWindowOrg(TPoint(3, 4));
  canvas->RestoreClipRegion();
  EXPECT_EQ(DeviceClipBox(canvas.Surface.DC()), TRect(2, 1, 27, 26));
  canvas->SetWindowOrg(TPoint(-5, 2));

  // A region kept by the caller comes back unmoved.
  TOwned<TcxRegion> kept(New<TcxRegion>(0, 0, 8, 8));
  canvas->SetClipRegion(kept.get(), roSet, false);
  EXPECT_EQ(kept->BoundsRect(), TRect(0, 0, 8, 8));
  EXPECT_EQ(DeviceClipBox(canvas.Surface.DC()), TRect(5, 0, 13, 6));
}

TEST_F(GdiCanvas, RectFullyVisibleUpToTheLastPixel) {
  TCanvasOnSurface canvas;
  canvas->SetClipRegion(New<TcxRegion>(5, 5, 15, 15), roSet);
  struct Case {
    const char* Name;
    TRect R;
    bool Visible;
  };
  const Case cases[] = {
      {"exactly the clip region", TRect(5, 5, 15, 15), true},
      {"inside", TRect(6, 6, 14, 14), true},
      {"one column beyond", TRect(5, 5, 16, 15), false},
      {"one row above", TRect(5, 4, 15, 15), false},
      {"outside", TRect(20, 20, 25, 25), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(canvas->RectFullyVisible(c.R), c.Visible);
  }
}

TEST_F(GdiCanvas, PathToRegion) {
  TCanvasOnSurface canvas;
  canvas->SetWindowOrg(TPoint(2, 2));
  canvas->BeginPath();
  canvas->Rectangle(TRect(4, 4, 14, 10));
  canvas->EndPath();
  TOwned<TcxRegion> region = canvas->PathToRegion();
  EXPECT_FALSE(region->IsEmpty());
  EXPECT_TRUE(region->PtInRegion(5, 5)) << "in the canvas's coordinates";
  EXPECT_FALSE(region->PtInRegion(3, 3));
}

// ---------------------------------------------------------------------------
// States

TEST_F(GdiCanvas, StatesRestoreTheCanvasAndTheDeviceContext) {
  TCanvasOnSurface canvas;
  const HDC DC = canvas.Surface.DC();
  canvas->Font()->SetName(L"Tahoma");
  canvas->Font()->SetSize(9);
  canvas->Brush()->SetColor(clRed);
  canvas->Pen()->SetColor(clBlue);
  canvas->SetTextFlags(0);
  canvas->SaveState();
  canvas->SetClipRegion(New<TcxRegion>(0, 0, 10, 10), roSet);
  canvas->SetWindowOrg(TPoint(7, 7));
  canvas->Font()->SetSize(20);
  canvas->Font()->SetColor(clGreen);
  canvas->Brush()->SetStyle(bsClear);
  canvas->Pen()->SetWidth(3);
  canvas->SetTextFlags(ETO_RTLREADING);
  canvas->SetUseRightToLeftAlignment(true);

  canvas->SaveState();
  canvas->Brush()->SetColor(clYellow);
  canvas->RestoreState();
  EXPECT_EQ(canvas->Brush()->Style(), bsClear) << "the inner state only";
  EXPECT_EQ(canvas->Font()->Size(), 20);

  canvas->RestoreState();
  EXPECT_EQ(canvas->Font()->Size(), 9);
  EXPECT_EQ(canvas->Font()->Color(), clWindowText);
  EXPECT_EQ(canvas->Brush()->Style(), bsSolid);
  EXPECT_EQ(canvas->Brush()->Color(), clRed);
  EXPECT_EQ(canvas->Pen()->Width(), 1);
  EXPECT_EQ(canvas->Pen()->Color(), clBlue);
  EXPECT_EQ(canvas->TextFlags(), 0);
  EXPECT_FALSE(canvas->UseRightToLeftAlignment()) << "back to the default";
  EXPECT_EQ(GetClipRgn(DC, TOwnedRegion(CreateRectRgn(0, 0, 0, 0)).Get()), 0) << "no clip region again";
  EXPECT_EQ(canvas->WindowOrg(), TPoint());

  // The device context holds what the canvas selects now: drawing uses it.
  canvas->FillRect(TRect(0, 0, 4, 4), clDefault);
  EXPECT_EQ(canvas.Surface.Count(Red), 16);
  canvas->Rectangle(TRect(10, 10, 20, 20));
  EXPECT_EQ(canvas.Surface.Pixel(10, 15), Blue);
}

TEST_F(GdiCanvas, RestoreWithoutSaveChangesNothing) {
  TCanvasOnSurface canvas;
  canvas->Brush()->SetColor(clRed);
  canvas->SaveDC();
  canvas->SetWindowOrg(TPoint(5, 5));
  canvas->RestoreState();
  EXPECT_EQ(canvas->WindowOrg(), TPoint(5, 5)) << "no device-context level restored";
  EXPECT_EQ(canvas->Brush()->Color(), clRed);
  canvas->RestoreDC();
  EXPECT_EQ(canvas->WindowOrg(), TPoint());
  canvas->RestoreDC();
  EXPECT_EQ(canvas->WindowOrg(), TPoint());
}

TEST_F(GdiCanvas, DestroyFreesWhatIsStillSaved) {
  TCanvasOnSurface warmUp;
  warmUp->SaveState();
  warmUp->SaveClipRegion();
  warmUp->RestoreClipRegion();
  warmUp->RestoreState();
  const int before = GdiObjectCount();
  {
    TCanvasOnSurface canvas;
    canvas->Font()->Handle();
    canvas->SaveState();
    canvas->SaveClipRegion();
    canvas->SaveClipRegion();
    canvas->SetClipRegion(New<TcxRegion>(1, 1, 5, 5), roSet);
    canvas->SaveClipRegion();
    canvas->SaveState();
    EXPECT_GE(GdiObjectCount(), before + 3) << "three saved regions";
    canvas.FreeCxCanvas();
  }
  EXPECT_EQ(GdiObjectCount(), before);
}

// ---------------------------------------------------------------------------
// Fills and frames

TEST_F(GdiCanvas, FillsWithNoneAndDefaultColours) {
  TCanvasOnSurface canvas;
  canvas->Brush()->SetColor(clGreen);
  canvas->FillRect(TRect(0, 0, 10, 10), clNone);
  EXPECT_EQ(canvas.Surface.Count(White), 1600);
  EXPECT_EQ(canvas->Brush()->Color(), clGreen) << "the brush untouched";
  canvas->FillRect(TRect(0, 0, 10, 10), clDefault);
  EXPECT_EQ(canvas.Surface.Count(RGB(0, 128, 0)), 100);
  canvas->FillRect(TRect(0, 0, 5, 5), clBlue);
  EXPECT_EQ(canvas.Surface.Count(Blue), 25);
  EXPECT_EQ(canvas->Brush()->Color(), clBlue);

  TcxViewParams params;
  canvas->GetParams(params);
  EXPECT_EQ(params.Color, clBlue);
  EXPECT_EQ(params.Font, canvas->Font());
  params.Color = clNone;
  params.TextColor = clRed;
  canvas->SetParams(params);
  EXPECT_EQ(canvas->Brush()->Style(), bsClear);
  EXPECT_EQ(canvas->Font()->Color(), clRed);
}

TEST_F(GdiCanvas, FramesAsStrips) {
  struct Case {
    const char* Name;
    TRect R;
    int Width;
    TcxBorders Borders;
    int Pixels;
    TRect Bounds;
  };
  const Case cases[] = {
      {"one pixel all round", TRect(2, 2, 12, 12), 1, cxBordersAll(), 36, TRect(2, 2, 12, 12)},
      {"two pixels all round", TRect(2, 2, 12, 12), 2, cxBordersAll(), 64, TRect(2, 2, 12, 12)},
      {"wider than the rectangle", TRect(2, 2, 5, 5), 20, cxBordersAll(), 9, TRect(2, 2, 5, 5)},
      {"left only", TRect(2, 2, 12, 12), 2, TcxBorders{bLeft}, 20, TRect(2, 2, 4, 12)},
      {"bottom only", TRect(2, 2, 12, 12), 3, TcxBorders{bBottom}, 30, TRect(2, 9, 12, 12)},
      {"top and right", TRect(0, 0, 10, 5), 1, TcxBorders{bTop, bRight}, 14, TRect(0, 0, 10, 5)},
      {"empty rectangle", TRect(5, 5, 5, 20), 1, cxBordersAll(), 0, TRect()},
      {"no sides", TRect(2, 2, 12, 12), 1, TcxBorders{}, 0, TRect()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TCanvasOnSurface canvas(20, 20);
    canvas->FrameRect(c.R, clRed, c.Width, c.Borders);
    EXPECT_EQ(canvas.Surface.Count(Red), c.Pixels);
    EXPECT_EQ(canvas.Surface.BoundsOf(Red), c.Bounds);
  }
  TCanvasOnSurface canvas(20, 20);
  canvas->FrameRect(TRect(0, 0, 10, 10), clNone, 2);
  EXPECT_EQ(canvas.Surface.Count(White), 400);
  canvas->Brush()->SetColor(clBlue);
  canvas->FrameRect(TRect(0, 0, 10, 10));
  EXPECT_EQ(canvas.Surface.Count(Blue), 36) << "the current brush";
}

TEST_F(GdiCanvas, ExcludedFramesStayOutOfLaterDrawing) {
  TCanvasOnSurface canvas(20, 20);
  canvas->FrameRect(TRect(2, 2, 12, 12), clRed, 2, cxBordersAll(), true);
  canvas->FillRect(TRect(0, 0, 20, 20), clBlue);
  EXPECT_EQ(canvas.Surface.Count(Red), 64);
  EXPECT_EQ(canvas.Surface.Count(Blue), 400 - 64);

  TCanvasOnSurface other(20, 20);
  other->ExcludeFrameRect(TRect(0, 0, 10, 10), 1, TcxBorders{bTop});
  other->FillRect(TRect(0, 0, 20, 20), clBlue);
  EXPECT_EQ(other.Surface.Count(White), 10);

  // The framed rectangle of view parameters: frame, then the rest filled.
  TCanvasOnSurface framed(20, 20);
  TcxViewParams params;
  params.Color = clGreen;
  framed->Rectangle(TRect(0, 0, 10, 10), params, TcxBorders{bLeft, bTop}, clRed, 2, true);
  EXPECT_EQ(framed.Surface.Count(Red), 36);
  EXPECT_EQ(framed.Surface.Count(RGB(0, 128, 0)), 64);
  framed->FillRect(TRect(0, 0, 20, 20), clBlue);
  EXPECT_EQ(framed.Surface.Count(Blue), 300) << "the whole rectangle left the clip region";
}

TEST_F(GdiCanvas, TilesFollowTheGridAnchoredAtTheOrigin) {
  // A 4 x 3 tile whose every pixel has its own colour.
  TOwned<TBitmap> tile(CreateBitmapWithFormat(4, 3, pf24bit));
  auto tileColor = [](int X, int Y) { return RGB(10 + 40 * X, 20 + 50 * Y, 7); };
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) tile->Canvas()->SetPixels(x, y, TColor(tileColor(x, y)));
  struct Case {
    const char* Name;
    TRect R;
  };
  const Case cases[] = {
      {"whole tiles", TRect(4, 3, 12, 9)},
      {"partial tiles", TRect(5, 1, 14, 8)},
      {"right edge on a multiple", TRect(1, 0, 8, 6)},
      {"negative start", TRect(-3, -2, 6, 5)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TCanvasOnSurface canvas(20, 20);
    canvas->FillRect(c.R, tile.get());
    int wrong = 0;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x) {
        const COLORREF want =
            c.R.Contains(x, y) ? tileColor(((x % 4) + 4) % 4, ((y % 3) + 3) % 3) : White;
        if (canvas.Surface.Pixel(x, y) != want) ++wrong;
      }
    EXPECT_EQ(wrong, 0) << canvas.Surface.Picture(White);
  }
  TCanvasOnSurface canvas(20, 20);
  canvas->FillRect(TRect(0, 0, 0, 10), tile.get());
  EXPECT_EQ(canvas.Surface.Count(White), 400) << "an empty rectangle";
}

TEST_F(GdiCanvas, RegionsFilledAndFramed) {
  TCanvasOnSurface canvas(20, 20);
  TOwned<TcxRegion> region(New<TcxRegion>(2, 2, 12, 12));
  canvas->DrawRegion(region.get(), clBlue, clRed, 2, 1);
  EXPECT_EQ(canvas.Surface.Count(Red), 2 * 10 * 2 + 2 * 6 * 1);
  EXPECT_EQ(canvas.Surface.Count(Blue), 100 - 52);
  canvas->FillRegion(region.get(), clNone);
  canvas->FrameRegion(region.get(), clNone);
  EXPECT_EQ(canvas.Surface.Count(Red) + canvas.Surface.Count(Blue), 100);
}

TEST_F(GdiCanvas, InvertingTwiceRestoresThePixels) {
  TCanvasOnSurface canvas(20, 20);
  canvas->FillRect(TRect(0, 0, 10, 20), clRed);
  canvas->SetCopyMode(SRCPAINT);
  canvas->InvertRect(TRect(5, 5, 15, 15));
  EXPECT_EQ(canvas.Surface.Count(RGB(0, 255, 255)), 50);
  EXPECT_EQ(canvas.Surface.Count(Black), 50);
  EXPECT_EQ(canvas->CopyMode(), static_cast<TCopyMode>(SRCCOPY));
  canvas->InvertRect(TRect(5, 5, 15, 15));
  EXPECT_EQ(canvas.Surface.Count(Red), 200);
  EXPECT_EQ(canvas.Surface.Count(White), 200);

  canvas->InvertFrame(TRect(0, 0, 10, 10), 2);
  EXPECT_EQ(canvas.Surface.Count(RGB(0, 255, 255)), 64);
}

TEST_F(GdiCanvas, FocusRectanglesBySide) {
  TCanvasOnSurface whole(20, 20);
  whole->DrawFocusRect(TRect(2, 2, 12, 12));
  const int wholePixels = whole.Surface.CountOther(whole.Surface.ClientRect(), White);
  EXPECT_GT(wholePixels, 0);

  TCanvasOnSurface all(20, 20);
  all->DrawFocusRectEx(TRect(2, 2, 12, 12), cxBordersAll());
  EXPECT_EQ(all.Surface.Picture(White), whole.Surface.Picture(White));

  TCanvasOnSurface left(20, 20);
  left->DrawFocusRectEx(TRect(2, 2, 12, 12), TcxBorders{bLeft}, true);
  const TRect ink = left.Surface.BoundsOfOther(White);
  EXPECT_EQ(ink.Left, 2);
  EXPECT_EQ(ink.Right, 3) << "the left edge only";
  left->FillRect(TRect(0, 0, 20, 20), clBlue);
  EXPECT_EQ(left.Surface.Count(Blue), 400 - 10) << "the left strip stays excluded";

  TCanvasOnSurface none(20, 20);
  none->DrawFocusRectEx(TRect(2, 2, 12, 12), TcxBorders{});
  EXPECT_EQ(none.Surface.Count(White), 400);

  TCanvasOnSurface design(20, 20);
  design->DrawDesignSelection(TRect(2, 2, 12, 12), 2);
  EXPECT_GT(design.Surface.CountOther(TRect(3, 3, 11, 11), White), 0) << "the inner rectangle too";
}

// ---------------------------------------------------------------------------
// Shapes

TEST_F(GdiCanvas, PiesByAngle) {
  struct Case {
    const char* Name;
    int Start;
    int Sweep;
    TRect InkWithin;  // zero: no ink
  };
  // The ellipse of (0, 0, 20, 20); angles counter-clockwise from 3 o'clock.
  const Case cases[] = {
      {"no sweep", 0, 0, TRect()},
      {"upper right quarter", 0, 90, TRect(9, 0, 21, 11)},
      {"left half", 90, 180, TRect(0, 0, 11, 21)},
      {"whole", 0, 360, TRect(0, 0, 21, 21)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TCanvasOnSurface canvas(30, 30);
    canvas->Brush()->SetColor(clRed);
    canvas->Pen()->SetColor(clRed);
    canvas->Pie(TRect(0, 0, 20, 20), c.Start, c.Sweep);
    const TRect ink = canvas.Surface.BoundsOf(Red);
    if (c.InkWithin.IsEmpty()) {
      EXPECT_TRUE(ink.IsEmpty()) << canvas.Surface.Picture(White);
    } else {
      EXPECT_FALSE(ink.IsEmpty());
      EXPECT_TRUE(c.InkWithin.Contains(ink)) << canvas.Surface.Picture(White);
    }
  }
  TCanvasOnSurface canvas(30, 30);
  canvas->Pie(TRect(5, 5, 5, 20), 0, 90);
  EXPECT_EQ(canvas.Surface.Count(White), 900) << "an empty rectangle";
}

TEST_F(GdiCanvas, ShapesSetPenAndBrushInOneStep) {
  TCanvasOnSurface canvas(30, 30);
  canvas->Rectangle(TRect(0, 0, 10, 10), clRed, clBlue);
  EXPECT_EQ(canvas.Surface.Count(Blue), 36);
  EXPECT_EQ(canvas.Surface.Count(Red), 64);
  canvas->Rectangle(TRect(10, 0, 20, 10), clRed, clNone);
  EXPECT_EQ(canvas.Surface.Count(Blue), 36) << "no outline with clNone";
  EXPECT_EQ(canvas->Pen()->Style(), psClear);
  canvas->Ellipse(TRect(0, 10, 10, 20), clNone, clGreen);
  EXPECT_EQ(canvas.Surface.Count(RGB(0, 128, 0)) > 0, true);
  EXPECT_EQ(canvas.Surface.CountOther(TRect(3, 13, 7, 17), White), 0) << "no fill with clNone";
  const TPoint triangle[] = {TPoint(20, 20), TPoint(29, 20), TPoint(20, 29)};
  canvas->Polygon(triangle, clBlue, clBlue);
  EXPECT_EQ(canvas.Surface.Pixel(22, 22), Blue);
  const TPoint line[] = {TPoint(0, 25), TPoint(15, 25)};
  canvas->Polyline(line, clRed, 1, psSolid);
  EXPECT_EQ(canvas.Surface.Pixel(7, 25), Red);
  canvas->Line(0, 28, 10, 28);
  EXPECT_EQ(canvas.Surface.Pixel(5, 28), Red);

  // An arc of a solid pen is the system's; another style draws through GDI+.
  TCanvasOnSurface arcs(40, 20);
  arcs->Arc(TRect(0, 0, 20, 20), TPoint(20, 10), TPoint(0, 10), clBlue);
  arcs->Arc(TRect(20, 0, 40, 20), TPoint(40, 10), TPoint(20, 10), clBlue, 1, psDot);
  EXPECT_GT(arcs.Surface.CountOther(TRect(0, 0, 20, 11), White), 0);
  EXPECT_GT(arcs.Surface.CountOther(TRect(20, 0, 40, 20), White), 0);
}

}  // namespace
