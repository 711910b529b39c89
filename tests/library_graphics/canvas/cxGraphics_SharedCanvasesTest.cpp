// The shared canvases: one measuring canvas, the screen canvas that gives
// its device context back when dormant, and the paint canvas that nests
// paints on raw device contexts and takes their selected objects.
#include "tests/library_graphics/GdiCanvasTesting.h"
#include "tests/library_graphics/GdiPlusTesting.h"

#include <gtest/gtest.h>

namespace {

class SharedCanvases : public GdiPlusTest {};

// The level the next SaveDC of DC would return, DC left as it was.
int NextSaveLevel(HDC DC) {
  const int level = SaveDC(DC);
  RestoreDC(DC, level);
  return level;
}

TEST_F(SharedCanvases, OneMeasuringCanvasWithTheFontGivenLast) {
  TcxMeasureCanvas* canvas = SharedMeasureCanvas();
  ASSERT_NE(canvas, nullptr);
  EXPECT_EQ(SharedMeasureCanvas(), canvas);
  canvas->Font()->SetName(L"Tahoma");
  canvas->Font()->SetHeight(-10);
  const TSize small = canvas->TextExtent(L"Measure");
  SharedMeasureCanvas()->Font()->SetHeight(-20);
  const TSize large = SharedMeasureCanvas()->TextExtent(L"Measure");
  EXPECT_GT(large.cx, small.cx);
  EXPECT_EQ(SharedMeasureCanvas()->Font()->Height(), -20) << "not reset between callers";
}

TEST_F(SharedCanvases, TheScreenCanvasComesBackAfterDormant) {
  TcxScreenCanvas* screen = SharedScreenCanvas();
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(screen->Canvas()->ClassType(), TScreenCanvas::ClassInfo());
  EXPECT_GT(GetDeviceCaps(screen->Handle(), LOGPIXELSY), 0);
  screen->Dormant();
  EXPECT_FALSE(screen->HandleAllocated()) << "the desktop's device context given back";
  EXPECT_EQ(screen->TextExtent(L"x").cy > 0, true) << "a new one taken when needed";
  EXPECT_TRUE(screen->HandleAllocated());
  screen->Dormant();
}

TEST_F(SharedCanvases, PaintsNestOnDeviceContexts) {
  TPixelSurface first(10, 10);
  TPixelSurface second(10, 10);
  const int firstLevel = NextSaveLevel(first.DC());
  const int secondLevel = NextSaveLevel(second.DC());
  TcxPaintCanvas* canvas = SharedPaintCanvas();
  ASSERT_EQ(canvas->Canvas(), nullptr);
  canvas->BeginPaint(first.DC());
  canvas->FillRect(TRect(0, 0, 2, 2), clRed);
  canvas->BeginPaint(second.DC());
  canvas->FillRect(TRect(0, 0, 3, 3), clBlue);
  canvas->SetClipRegion(New<TcxRegion>(0, 0, 1, 1), roSet);
  canvas->EndPaint();
  canvas->FillRect(TRect(5, 5, 7, 7), clRed);
  canvas->EndPaint();
  canvas->EndPaint();
  EXPECT_EQ(first.Count(Red), 8);
  EXPECT_EQ(second.Count(Blue), 9);
  EXPECT_EQ(NextSaveLevel(first.DC()), firstLevel);
  EXPECT_EQ(NextSaveLevel(second.DC()), secondLevel);
  EXPECT_EQ(GetClipRgn(second.DC(), TOwnedRegion(CreateRectRgn(0, 0, 0, 0)).Get()), 0) << "clipping taken back";
  EXPECT_EQ(canvas->Canvas(), nullptr) << "wrapping nothing again";

  // A class-library canvas is wrapped as it is.
  TCanvasOnSurface own(10, 10);
  canvas->BeginPaint(own.Canvas());
  EXPECT_EQ(canvas->Canvas(), own.Canvas());
  canvas->FillRect(TRect(0, 0, 1, 1), clGreen);
  canvas->EndPaint();
  EXPECT_EQ(own.Surface.Count(RGB(0, 128, 0)), 1);
  EXPECT_EQ(canvas->Canvas(), nullptr);
}

TEST_F(SharedCanvases, APaintTakesTheObjectsSelectedInTheDeviceContext) {
  struct Case {
    const char* Name;
    int Hatch;  // -1: solid, -2: no brush
    TBrushStyle Style;
  };
  const Case cases[] = {
      {"horizontal", HS_HORIZONTAL, bsHorizontal}, {"vertical", HS_VERTICAL, bsVertical},
      {"forward diagonal", HS_FDIAGONAL, bsFDiagonal}, {"backward diagonal", HS_BDIAGONAL, bsBDiagonal},
      {"cross", HS_CROSS, bsCross},               {"diagonal cross", HS_DIAGCROSS, bsDiagCross},
      {"solid", -1, bsSolid},                      {"null", -2, bsClear},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TPixelSurface surface(10, 10);
    const HDC DC = surface.DC();
    const TOwnedBrush brush(c.Hatch >= 0   ? CreateHatchBrush(c.Hatch, RGB(1, 2, 3))
                            : c.Hatch == -1 ? CreateSolidBrush(RGB(1, 2, 3))
                                            : static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
    const TOwnedPen pen(CreatePen(PS_DASH, 1, RGB(7, 8, 9)));
    const TOwnedFont font(CreateFontW(-17, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    const TSelectObject selectedBrush(DC, brush.Get());
    const TSelectObject selectedPen(DC, pen.Get());
    const TSelectObject selectedFont(DC, font.Get());
    SetTextColor(DC, RGB(20, 30, 40));
    SetROP2(DC, R2_XORPEN);
    TcxPaintCanvas* canvas = SharedPaintCanvas();
    canvas->BeginPaint(DC);
    EXPECT_EQ(canvas->Brush()->Style(), c.Style);
    if (c.Hatch != -2) {
      EXPECT_EQ(ColorToColorRef(canvas->Brush()->Color()), RGB(1, 2, 3));
    }
    EXPECT_EQ(canvas->Pen()->Style(), psDash);
    EXPECT_EQ(ColorToColorRef(canvas->Pen()->Color()), RGB(7, 8, 9));
    EXPECT_EQ(canvas->Pen()->Mode(), pmXor);
    EXPECT_EQ(canvas->Font()->Name(), L"Tahoma");
    EXPECT_EQ(canvas->Font()->Height(), -17);
    EXPECT_TRUE(canvas->Font()->Style().Contains(fsBold));
    EXPECT_EQ(ColorToColorRef(canvas->Font()->Color()), RGB(20, 30, 40));
    canvas->FillRect(TRect(0, 0, 10, 10), clRed);
    canvas->EndPaint();
    EXPECT_EQ(GetCurrentObject(DC, OBJ_BRUSH), brush.Get()) << "the device context's own objects back";
    EXPECT_EQ(GetCurrentObject(DC, OBJ_FONT), font.Get());
    EXPECT_EQ(GetROP2(DC), R2_XORPEN);
  }
  SharedPaintCanvas()->EndPaint();
  EXPECT_EQ(SharedPaintCanvas()->Canvas(), nullptr) << "an unmatched EndPaint does nothing";
}

TEST_F(SharedCanvases, NoneAfterTheUnitShutDown) {
  cxGraphicsFinalization();
  EXPECT_EQ(SharedMeasureCanvas(), nullptr);
  EXPECT_EQ(SharedScreenCanvas(), nullptr);
  EXPECT_EQ(SharedPaintCanvas(), nullptr);
  EXPECT_EQ(GetScratchBitmap(2, 2), nullptr);
  cxGraphicsInitialization();
  EXPECT_NE(SharedMeasureCanvas(), nullptr);
  EXPECT_NE(GetScratchBitmap(2, 2), nullptr);
  EXPECT_NE(cxMsImg32Functions().AlphaBlend, nullptr);
}

}  // namespace
