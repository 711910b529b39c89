#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"

#include "library/lookandfeel/painters/cxLookAndFeelPainters_ImageLists.h"
#include "library/core/system/dxDPIAwareUtils.h"
#include "platform/ui/GdiScopes.h"
#include "tests/library_lookandfeel/PainterTesting.h"
#include "tests/support/SystemColors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

using P = TcxCustomLookAndFeelPainter;

// The base behaviour, reached through the UltraFlat painter where it does
// not override it.
P* Painter() { return UltraFlatPainter(); }

struct TPartFace {
  TcxButtonState State;
  COLORREF Frame;
  COLORREF Face;
};

// ---------------------------------------------------------------------------
// Check boxes

TEST(CheckBoxes, TheSizeIsACellOfTheSystemsCheckBoxBitmap) {
  const TOwnedBitmap bitmap(LoadBitmapW(nullptr, MAKEINTRESOURCEW(32759)));
  ASSERT_TRUE(bitmap);
  BITMAP info{};
  GetObjectW(bitmap.Get(), sizeof(info), &info);
  const TSize cell(info.bmWidth / 4, info.bmHeight / 3);
  EXPECT_EQ(cxStandardCheckBoxSize(), cell);
  EXPECT_EQ(Painter()->CheckButtonSize(), cell);
  for (const TScale& scale : Scales) {
    SCOPED_TRACE(testing::Message() << scale.Numerator << "/" << scale.Denominator);
    const TOwned<TdxScaleFactor> factor = ScaleFactorOf(scale.Numerator, scale.Denominator);
    const TSize expected(static_cast<int>(std::lround(cell.cx * scale.Numerator / double(scale.Denominator))),
                         static_cast<int>(std::lround(cell.cy * scale.Numerator / double(scale.Denominator))));
    EXPECT_EQ(Painter()->ScaledCheckButtonSize(factor.get()), expected);
    EXPECT_EQ(Painter()->ScaledCheckButtonAreaSize(factor.get()), expected) << "touch mode is off";
  }
}

TEST(CheckBoxes, BackgroundColoursByStateAndCheckState) {
  struct TRow {
    TcxButtonState State;
    TcxCheckBoxState CheckState;
    TColor Color;
  };
  const TRow rows[] = {{cxbsNormal, cbsUnchecked, clWindow}, {cxbsNormal, cbsChecked, clWindow},
                       {cxbsNormal, cbsGrayed, clBtnFace},   {cxbsDefault, cbsGrayed, clWindow},
                       {cxbsHot, cbsGrayed, clWindow},       {cxbsPressed, cbsUnchecked, clBtnFace},
                       {cxbsDisabled, cbsChecked, clBtnFace}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(testing::Message() << row.State << " " << row.CheckState);
    EXPECT_EQ(Painter()->CheckButtonColor(row.State, row.CheckState), row.Color);
  }
}

// The mark as GDI draws it from the template (0, 0), (500, 500), (1500, -499)
// in thousandths of the box width: three polylines a pixel apart, clipped to
// the box.
void DrawReferenceMark(HDC DC, const TRect& ABox) {
  const int w = ABox.Width();
  const int h = ABox.Height();
  const auto x = [&](int t) { return static_cast<int>(std::lround(t * w / 1000.0)) - (w * 15) / 100 - 1 + ABox.Left; };
  const auto y = [&](int t) {
    return static_cast<int>(t >= 0 ? std::lround(t * w / 1000.0) : -std::lround(-t * w / 1000.0)) + h / 3 + ABox.Top;
  };
  const TSavedDC saved(DC);
  IntersectClipRect(DC, ABox.Left, ABox.Top, ABox.Right, ABox.Bottom);
  const TSelectObject pen(DC, GetStockObject(BLACK_PEN));
  for (int pass = 0; pass < 3; ++pass) {
    const POINT points[] = {{x(0), y(0) - pass}, {x(500), y(500) - pass}, {x(1500), y(-499) - pass}};
    Polyline(DC, points, 3);
  }
}

TEST(CheckBoxes, CheckMarksFrom9To30PixelsLieOnTheThreePolylines) {
  for (int side = 9; side <= 30; ++side) {
    SCOPED_TRACE(testing::Message() << side << " px");
    const TRect r(3, 4, 3 + side, 4 + side);
    TCanvasOnSurface canvas(40, 40, Bg);
    Painter()->DrawScaledCheck(static_cast<TcxCustomCanvas*>(canvas.Get()), r, cxbsNormal, cbsChecked, clRed,
                               DefaultScaleFactor(), false);
    TPixelSurface reference(40, 40, Bg);
    TRect box = r;
    box.Deflate(1);
    DrawReferenceMark(reference.DC(), box);
    const int marked = canvas.Surface.Count(Red);
    EXPECT_GT(marked, 3 * side / 2) << canvas.Surface.Picture(Bg);
    EXPECT_EQ(canvas.Surface.Count(box, Red), marked) << "inside the box";
    for (int yy = 0; yy < 40; ++yy)
      for (int xx = 0; xx < 40; ++xx)
        if ((canvas.Surface.Pixel(xx, yy) == Red) != (reference.Pixel(xx, yy) == Black))
          ADD_FAILURE() << "(" << xx << ", " << yy << ")\n" << canvas.Surface.Picture(Bg);
  }
}

TEST(CheckBoxes, AnUncheckedMarkOnlyFillsAndAClearBrushFillsNothing) {
  const TRect r(2, 2, 15, 15);
  TCanvasOnSurface canvas(20, 20, Bg);
  Painter()->DrawScaledCheck(static_cast<TcxCustomCanvas*>(canvas.Get()), r, cxbsNormal, cbsUnchecked, clRed,
                             DefaultScaleFactor(), false);
  EXPECT_EQ(canvas.Surface.Count(Bg), 400);
  Painter()->DrawScaledCheck(static_cast<TcxCustomCanvas*>(canvas.Get()), r, cxbsPressed, cbsUnchecked, clRed,
                             DefaultScaleFactor(), true);
  EXPECT_EQ(canvas.Surface.Count(r, Sys(COLOR_BTNFACE)), r.Width() * r.Height());

  // Through a TcxCanvas the brush decides.
  canvas.Surface.Fill(Bg);
  canvas->Brush()->SetStyle(bsClear);
  Painter()->DrawScaledCheck(canvas.Get(), r, cxbsNormal, cbsChecked, clRed, DefaultScaleFactor());
  EXPECT_EQ(canvas.Surface.Count(Sys(COLOR_WINDOW)), 0);
  EXPECT_GT(canvas.Surface.Count(Red), 0);
  canvas->Brush()->SetStyle(bsSolid);
  Painter()->DrawScaledCheck(canvas.Get(), r, cxbsNormal, cbsChecked, clRed, DefaultScaleFactor());
  EXPECT_GT(canvas.Surface.Count(Sys(COLOR_WINDOW)), 0);
}

TEST(CheckBoxes, TheUltraFlatCheckButtonInEveryState) {
  struct TRow {
    TcxButtonState State;
    TcxCheckBoxState CheckState;
    COLORREF Inner;  // the second frame
    COLORREF Interior;
    COLORREF Mark;
  };
  const TRow rows[] = {
      {cxbsNormal, cbsChecked, Sys(COLOR_WINDOW), Sys(COLOR_WINDOW), Sys(COLOR_BTNTEXT)},
      {cxbsNormal, cbsGrayed, Sys(COLOR_WINDOW), Sys(COLOR_BTNFACE), Sys(COLOR_GRAYTEXT)},
      {cxbsHot, cbsChecked, Sys(COLOR_WINDOW), Sys(COLOR_WINDOW), Sys(COLOR_BTNTEXT)},
      {cxbsPressed, cbsChecked, Sys(COLOR_BTNFACE), Sys(COLOR_BTNFACE), Sys(COLOR_BTNTEXT)},
      {cxbsDisabled, cbsChecked, Sys(COLOR_BTNFACE), Sys(COLOR_BTNFACE), Sys(COLOR_GRAYTEXT)},
      {cxbsDefault, cbsUnchecked, Sys(COLOR_WINDOW), Sys(COLOR_WINDOW), Sys(COLOR_BTNTEXT)},
  };
  const TRect r(1, 1, 18, 18);
  for (const TRow& row : rows) {
    SCOPED_TRACE(testing::Message() << row.State << " " << row.CheckState);
    TCanvasOnSurface canvas(20, 20, Bg);
    UltraFlatPainter()->DrawScaledCheckButton(canvas.Get(), r, row.State, row.CheckState, DefaultScaleFactor());
    EXPECT_EQ(RingCount(canvas.Surface, r, Sys(COLOR_BTNTEXT)), RingLength(r));
    TRect inner = r;
    inner.Deflate(1);
    EXPECT_EQ(RingCount(canvas.Surface, inner, row.Inner), RingLength(inner));
    inner.Deflate(1);
    TRect box = inner;
    box.Deflate(1);
    // Around the mark's box the interior shows its colour; the mark is in its.
    EXPECT_EQ(RingCount(canvas.Surface, inner, row.Interior), RingLength(inner));
    const int mark = canvas.Surface.Count(box, row.Mark);
    if (row.CheckState == cbsUnchecked) {
      EXPECT_EQ(canvas.Surface.Count(box, row.Interior), box.Width() * box.Height());
    } else {
      EXPECT_EQ(mark + canvas.Surface.Count(box, row.Interior), box.Width() * box.Height());
      EXPECT_GT(mark, box.Width()) << canvas.Surface.Picture(Bg);
    }
    EXPECT_EQ(canvas.Surface.Count(Bg), 400 - r.Width() * r.Height());
  }
}

// ---------------------------------------------------------------------------
// Expand buttons and marks

TEST(ExpandButtons, TheUltraFlatButtonIsAFramedPlusOrMinus) {
  for (const TScale& scale : Scales) {
    SCOPED_TRACE(testing::Message() << scale.Numerator << "/" << scale.Denominator);
    const TOwned<TdxScaleFactor> factor = ScaleFactorOf(scale.Numerator, scale.Denominator);
    const int size = UltraFlatPainter()->ScaledExpandButtonSize(factor.get());
    EXPECT_EQ(size, static_cast<int>(std::lround(11.0 * scale.Numerator / scale.Denominator)));
    const int margin = static_cast<int>(std::lround(2.0 * scale.Numerator / scale.Denominator));
    for (const bool expanded : {false, true}) {
      SCOPED_TRACE(expanded ? "expanded" : "collapsed");
      const TRect r(3, 4, 3 + size, 4 + size);
      TCanvasOnSurface canvas(40, 40, Bg);
      UltraFlatPainter()->DrawScaledExpandButton(canvas.Get(), r, expanded, factor.get());
      EXPECT_EQ(RingCount(canvas.Surface, r, Sys(COLOR_BTNSHADOW)), RingLength(r));
      // The bars reach from the margin to the margin, through the centre.
      const int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
      const int half = (size - 2 * margin) / 2;
      const TRect bar(cx - half, cy, cx + half + 1, cy + 1);
      EXPECT_EQ(canvas.Surface.Count(bar, Sys(COLOR_BTNTEXT)), bar.Width());
      const int vertical = expanded ? 0 : 2 * half;
      EXPECT_EQ(canvas.Surface.Count(Sys(COLOR_BTNTEXT)), bar.Width() + vertical) << canvas.Surface.Picture(Bg);
      TRect inner = r;
      inner.Deflate(1);
      EXPECT_EQ(canvas.Surface.Count(inner, Sys(COLOR_BTNFACE)),
                inner.Width() * inner.Height() - bar.Width() - vertical);
    }
  }
}

TEST(ExpandButtons, TheNonVirtualFormExcludesTheButtonFromTheClip) {
  TCanvasOnSurface canvas(30, 30, Bg);
  const TRect r(5, 5, 16, 16);
  UltraFlatPainter()->DrawScaledExpandButton(canvas.Get(), r, true, DefaultScaleFactor());
  canvas->FillRect(TRect(0, 0, 30, 30), clRed);
  EXPECT_EQ(canvas.Surface.Count(Red), 900 - r.Width() * r.Height());
}

TEST(ExpandMarks, TwoChevronsTwoPixelsThickPointingUpWhenExpanded) {
  // s = 3 at 96 dpi: each chevron is two rows of 45-degree strokes from its
  // ends to its tip, 2s + 1 wide.
  for (const bool expanded : {false, true}) {
    SCOPED_TRACE(expanded ? "up" : "down");
    TCanvasOnSurface canvas(30, 30, Bg);
    const TRect r(0, 0, 15, 15);
    Painter()->DrawScaledExpandMark(canvas.Get(), r, clRed, expanded, DefaultScaleFactor());
    const TRect bounds = canvas.Surface.BoundsOf(Red);
    EXPECT_EQ(bounds.Width(), 7) << canvas.Surface.Picture(Bg);
    EXPECT_EQ(bounds.Height(), 8) << canvas.Surface.Picture(Bg);
    // The tip column: the topmost red pixels of an up mark lie at its centre.
    const int centre = bounds.Left + 3;
    const int tipRow = expanded ? bounds.Top : bounds.Bottom - 1;
    EXPECT_EQ(canvas.Surface.Pixel(centre, tipRow), Red);
    EXPECT_NE(canvas.Surface.Pixel(bounds.Left, tipRow), Red);
    // Two pixels per chevron in each column; the second row of a chevron
    // stops a pixel short of each end.
    for (int x = bounds.Left; x < bounds.Right; ++x) {
      const bool end = x == bounds.Left || x == bounds.Right - 1;
      EXPECT_EQ(canvas.Surface.Count(TRect(x, 0, x + 1, 30), Red), end ? 2 : 4) << "column " << x;
    }
    // Mirror images of each other.
    TCanvasOnSurface other(30, 30, Bg);
    Painter()->DrawScaledExpandMark(other.Get(), r, clRed, !expanded, DefaultScaleFactor());
    const TRect otherBounds = other.Surface.BoundsOf(Red);
    for (int y = 0; y < bounds.Height(); ++y)
      for (int x = 0; x < bounds.Width(); ++x)
        EXPECT_EQ(canvas.Surface.Pixel(bounds.Left + x, bounds.Top + y) == Red,
                  other.Surface.Pixel(otherBounds.Left + x, otherBounds.Bottom - 1 - y) == Red);
  }
}

TEST(ExpandButtons, PlusMinusOfTheSmallButtonAndSizes) {
  TCanvasOnSurface canvas(20, 20, Bg);
  const TRect r(2, 2, 11, 11);
  Painter()->DrawScaledSmallExpandButton(canvas.Get(), r, false, clRed, DefaultScaleFactor(),
                                         static_cast<TColor>(Green));
  EXPECT_EQ(RingCount(canvas.Surface, r, Red), RingLength(r));
  // Bars of (9 - 4) / 2 = 2 each side of the centre (6, 6).
  EXPECT_EQ(canvas.Surface.BoundsOf(Sys(COLOR_BTNTEXT)), TRect(4, 4, 9, 9));
  EXPECT_EQ(canvas.Surface.Count(Sys(COLOR_BTNTEXT)), 9);
  EXPECT_EQ(canvas.Surface.Count(Green), 7 * 7 - 9);
  const TOwned<TdxScaleFactor> twice = ScaleFactorOf(2, 1);
  EXPECT_EQ(Painter()->ScaledSmallExpandButtonSize(twice.get()), 18);
  EXPECT_EQ(Painter()->ScaledGroupExpandButtonSize(twice.get()), 30);
}

TEST(ExpandButtons, TheTreeViewButtonIsThePaintersButtonExcludedFromTheClip) {
  for (const TScale& scale : Scales) {
    SCOPED_TRACE(testing::Message() << scale.Numerator << "/" << scale.Denominator);
    const TOwned<TdxScaleFactor> factor = ScaleFactorOf(scale.Numerator, scale.Denominator);
    const int side = static_cast<int>(std::lround(11.0 * scale.Numerator / scale.Denominator));
    for (const bool explorer : {false, true}) {
      SCOPED_TRACE(explorer ? "explorer style" : "classic style");
      EXPECT_EQ(UltraFlatPainter()->TreeViewExpandButtonSize(explorer, factor.get()), TSize(side, side));
      for (const bool expanded : {false, true}) {
        SCOPED_TRACE(expanded ? "expanded" : "collapsed");
        const TRect r(4, 3, 4 + side, 3 + side);
        TCanvasOnSurface canvas(40, 40, Bg);
        UltraFlatPainter()->DrawTreeViewExpandButton(canvas.Get(), r, expanded, explorer, factor.get(),
                                                     static_cast<TColor>(Green));
        // A shadow frame around a green face with a plus or minus of bars
        // from margin to margin through the centre.
        EXPECT_EQ(RingCount(canvas.Surface, r, Sys(COLOR_BTNSHADOW)), RingLength(r));
        const int margin = static_cast<int>(std::lround(2.0 * scale.Numerator / scale.Denominator));
        const int half = (side - 2 * margin) / 2;
        const int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
        EXPECT_EQ(canvas.Surface.BoundsOf(Sys(COLOR_BTNTEXT)),
                  expanded ? TRect(cx - half, cy, cx + half + 1, cy + 1)
                           : TRect(cx - half, cy - half, cx + half + 1, cy + half + 1))
            << canvas.Surface.Picture(Bg);
        const int bars = expanded ? 2 * half + 1 : 4 * half + 1;
        EXPECT_EQ(canvas.Surface.Count(Sys(COLOR_BTNTEXT)), bars);
        EXPECT_EQ(canvas.Surface.Count(Green), (side - 2) * (side - 2) - bars);
        // A later fill leaves the button alone.
        canvas->FillRect(canvas.Surface.ClientRect(), clRed);
        EXPECT_EQ(canvas.Surface.Count(Red), 40 * 40 - side * side);
      }
    }
  }
}

// ---------------------------------------------------------------------------
// Toggle switch

TEST(ToggleSwitch, TheStateIndicatorIsTheTextAsDrawTextCentresItInTheGivenFont) {
  const TOwned<TFont> font(New<TFont>());
  font->SetHeight(-19);
  font->SetStyle(TFontStyles{fsBold});
  font->SetColor(clRed);  // the painter's text colour wins over the font's
  for (const TRect& bounds : {TRect(0, 0, 60, 30), TRect(7, 5, 47, 21), TRect(2, 2, 12, 12)}) {
    SCOPED_TRACE(testing::Message() << bounds.Left << ", " << bounds.Top << ", " << bounds.Right << ", "
                                    << bounds.Bottom);
    TCanvasOnSurface canvas(64, 34, Bg);
    const int heightBefore = canvas->Font()->Height();
    ASSERT_NE(heightBefore, -19);
    UltraFlatPainter()->DrawToggleSwitchStateIndicator(canvas.Get(), bounds, L"On", font.get());
    EXPECT_EQ(canvas->Font()->Height(), heightBefore) << "the canvas's font is restored";

    TPixelSurface reference(64, 34, Bg);
    {
      const TSelectObject selected(reference.DC(), font->Handle());
      SetTextColor(reference.DC(), GetSysColor(COLOR_WINDOWTEXT));
      SetBkMode(reference.DC(), TRANSPARENT);
      RECT r = bounds;
      DrawTextW(reference.DC(), L"On", 2, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    EXPECT_GT(reference.Count(Sys(COLOR_WINDOWTEXT)), 10);
    int differing = 0;
    for (int y = 0; y < 34; ++y)
      for (int x = 0; x < 64; ++x) differing += canvas.Surface.Pixel(x, y) != reference.Pixel(x, y);
    EXPECT_EQ(differing, 0) << canvas.Surface.Picture(Bg) << "\n" << reference.Picture(Bg);
  }
}

TEST(ToggleSwitch, TheTrackIsSplitAtTheThumbsCentreAndMirroredRightToLeft) {
  const COLORREF on = RGB(51, 153, 255), off = RGB(200, 200, 200);
  const TRect bounds(0, 0, 40, 16);
  struct TRow {
    const char* Name;
    TRect Thumb;
    bool RightToLeft;
    int OnColumns;  // columns left of this show the checked colour
    bool OnLeft;
  };
  const TRow rows[] = {{"left", TRect(0, 0, 20, 16), false, 0, false},
                       {"right", TRect(20, 0, 40, 16), false, 40, true},
                       {"dragged", TRect(10, 0, 30, 16), false, 20, true},
                       {"left, right to left", TRect(0, 0, 20, 16), true, 40, true},
                       {"dragged, right to left", TRect(10, 0, 30, 16), true, 20, false}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(40, 16, Bg);
    canvas->SetUseRightToLeftAlignment(row.RightToLeft);
    UltraFlatPainter()->DrawScaledToggleSwitch(canvas.Get(), bounds, cxbsNormal, row.Thumb, DefaultScaleFactor());
    const int y = 8;
    for (int x = 1; x < 39; ++x) {
      const bool leftPart = x < row.OnColumns;
      const COLORREF expected = row.OnColumns == 0 || row.OnColumns == 40 ? (row.OnLeft ? on : off)
                                : leftPart == row.OnLeft                  ? on
                                                                          : off;
      if (canvas.Surface.Pixel(x, y) != expected) {
        ADD_FAILURE() << "column " << x;
        break;
      }
    }
    // The thumb is drawn separately: nothing here draws it, and the state
    // picture keeps its outline.
    EXPECT_GT(canvas.Surface.Count(row.OnLeft || row.OnColumns == 40 ? Black : off), 0);
  }
}

TEST(ToggleSwitch, TheUltraFlatThumbIsAButtonWithABlackFrameInside) {
  TCanvasOnSurface canvas(30, 20, Bg);
  const TRect r(0, 0, 20, 16);
  UltraFlatPainter()->DrawScaledToggleSwitchThumb(canvas.Get(), r, cxbsHot, DefaultScaleFactor());
  TRect frame = r;
  frame.Deflate(2);
  EXPECT_EQ(RingCount(canvas.Surface, frame, Black), RingLength(frame));
  frame.Deflate(1);
  EXPECT_EQ(canvas.Surface.Count(frame, HotBlend()), frame.Width() * frame.Height());
  EXPECT_EQ(canvas.Surface.Count(Bg), 600 - 16 * 12);
}

// ---------------------------------------------------------------------------
// Radio buttons

TEST(RadioButtons, TheUltraFlatPainterDrawsItsImagesWithItsBodyColours) {
  const TOwned<TdxScaleFactor> factor = ScaleFactorOf(3, 2);
  TcxRadioButtonImageList* list = GetRadioButtonImageList(factor.get());
  const TSize size = UltraFlatPainter()->ScaledRadioButtonSize(factor.get());
  EXPECT_EQ(size, list->GetSize());
  struct TRow {
    TcxButtonState State;
    COLORREF Body;
  };
  const TRow rows[] = {{cxbsNormal, Sys(COLOR_WINDOW)},
                       {cxbsHot, HotBlend()},
                       {cxbsPressed, PressedBlend()},
                       {cxbsDisabled, Sys(COLOR_BTNFACE)}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.State);
    TCanvasOnSurface canvas(size.cx, size.cy, Bg);
    UltraFlatPainter()->DrawScaledRadioButton(canvas.Get(), 0, 0, row.State, false, false, clDefault, factor.get());
    EXPECT_EQ(canvas.Surface.Pixel(size.cx / 2, size.cy / 2), row.Body) << canvas.Surface.Picture(Bg);
    TCanvasOnSurface direct(size.cx, size.cy, Bg);
    list->Draw(direct.Get(), 0, 0, clDefault, lfUltraFlat, row.State, false, false, false);
    for (int y = 0; y < size.cy; ++y)
      for (int x = 0; x < size.cx; ++x) ASSERT_EQ(canvas.Surface.Pixel(x, y), direct.Surface.Pixel(x, y));
  }
}

TEST(RadioButtons, ListsAreSharedByDpiAndRecolouredOnASystemColourChange) {
  const TOwned<TdxScaleFactor> a = ScaleFactorOf(5, 4);
  const TOwned<TdxScaleFactor> b = ScaleFactorOf(10, 8);
  const TOwned<TdxScaleFactor> c = ScaleFactorOf(7, 4);
  TcxRadioButtonImageList* list = GetRadioButtonImageList(a.get());
  const int count = TcxRadioButtonImageListManager::Count();
  EXPECT_EQ(GetRadioButtonImageList(b.get()), list);
  EXPECT_EQ(TcxRadioButtonImageListManager::Count(), count);
  EXPECT_NE(GetRadioButtonImageList(c.get()), list);
  EXPECT_EQ(TcxRadioButtonImageListManager::Count(), count + 1);

  const TSize size = list->GetSize();
  const COLORREF window = RGB(250, 240, 200);
  {
    const TSystemColorsChange change({{COLOR_WINDOW, window}});
    // The real WM_SYSCOLORCHANGE reaches the hidden window of the notifiers.
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    EXPECT_EQ(GetRadioButtonImageList(a.get()), list) << "kept, not made anew";
    EXPECT_EQ(list->GetSize(), size);
    TCanvasOnSurface canvas(size.cx, size.cy, Bg);
    UltraFlatPainter()->DrawScaledRadioButton(canvas.Get(), 0, 0, cxbsNormal, false, false, clDefault, a.get());
    EXPECT_EQ(canvas.Surface.Pixel(size.cx / 2, size.cy / 2), window);
  }
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

// ---------------------------------------------------------------------------
// Label lines

TEST(LabelLines, AShadowLineOverAHighlightLine) {
  TCanvasOnSurface canvas(20, 20, Bg);
  Painter()->DrawLabelLine(canvas.Get(), TRect(2, 5, 18, 7), clDefault, clDefault, false);
  EXPECT_EQ(canvas.Surface.Count(TRect(2, 5, 18, 6), Sys(COLOR_BTNSHADOW)), 16);
  EXPECT_EQ(canvas.Surface.Count(TRect(2, 6, 18, 7), Sys(COLOR_BTNHIGHLIGHT)), 16);
  EXPECT_EQ(canvas.Surface.Count(Bg), 400 - 32);
  canvas.Surface.Fill(Bg);
  Painter()->DrawLabelLine(canvas.Get(), TRect(4, 1, 6, 19), clRed, static_cast<TColor>(Green), true);
  EXPECT_EQ(canvas.Surface.Count(TRect(4, 1, 5, 19), Red), 18);
  EXPECT_EQ(canvas.Surface.Count(TRect(5, 1, 6, 19), Green), 18);
  EXPECT_EQ(Painter()->LabelLineHeight(), 2);
}

// ---------------------------------------------------------------------------
// Halftone brushes and size grips

TEST(HalftoneBrushes, FillsReadTheCheckerboardsOfTheSystemColours) {
  const std::pair<COLORREF, COLORREF> expected[] = {{Sys(COLOR_BTNFACE), Sys(COLOR_BTNHIGHLIGHT)},
                                                     {RGB(0, 0, 0), Sys(COLOR_3DDKSHADOW)}};
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    TPixelSurface surface(16, 16, Bg);
    RECT r{0, 0, 16, 16};
    FillRect(surface.DC(), &r, cxLookAndFeelHalftoneBrush(i)->Handle());
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        ASSERT_EQ(surface.Pixel(x, y), (x % 2 == y % 2) ? expected[i].first : expected[i].second) << x << ", " << y;
  }
}

TEST(ScrollBars, PagesShowTheHalftonePatternOfTheirState) {
  for (const TcxButtonState state : {cxbsNormal, cxbsHot, cxbsPressed}) {
    SCOPED_TRACE(state);
    const COLORREF even = state == cxbsPressed ? RGB(0, 0, 0) : Sys(COLOR_BTNFACE);
    const COLORREF odd = state == cxbsPressed ? Sys(COLOR_3DDKSHADOW) : Sys(COLOR_BTNHIGHLIGHT);
    TCanvasOnSurface canvas(20, 30, Bg);
    const TRect r(2, 4, 18, 28);
    UltraFlatPainter()->DrawScaledScrollBarPart(canvas.Get(), false, r, sbpPageDown, state, DefaultScaleFactor());
    EXPECT_EQ(canvas.Surface.Count(r, even) + canvas.Surface.Count(r, odd), r.Width() * r.Height());
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x)
        ASSERT_EQ(canvas.Surface.Pixel(x, y), (x + y) % 2 == 0 ? even : odd) << x << ", " << y;
    EXPECT_EQ(canvas.Surface.Count(Bg), 600 - r.Width() * r.Height());
  }
}

// The rows of the arrow inside a part: the pixels that are neither frame
// nor face, counted per row (vertical arrows) or column.
std::vector<int> ArrowProfile(const TPixelSurface& ASurface, const TRect& AInner, COLORREF AFace, bool ARows) {
  std::vector<int> profile;
  const int lines = ARows ? AInner.Height() : AInner.Width();
  const int length = ARows ? AInner.Width() : AInner.Height();
  for (int i = 0; i < lines; ++i) {
    int n = 0;
    for (int j = 0; j < length; ++j)
      if (ASurface.Pixel(ARows ? AInner.Left + j : AInner.Left + i, ARows ? AInner.Top + i : AInner.Top + j) != AFace)
        ++n;
    if (n > 0) profile.push_back(n);
  }
  return profile;
}

TEST(ScrollBars, UltraFlatButtonsAndThumbInEveryState) {
  const TRect r(1, 1, 18, 18);
  for (const TPartFace& row : std::vector<TPartFace>{{cxbsNormal, Sys(COLOR_BTNTEXT), Sys(COLOR_BTNFACE)},
                                                    {cxbsHot, Sys(COLOR_HIGHLIGHT), HotBlend()},
                                                    {cxbsPressed, Sys(COLOR_HIGHLIGHT), PressedBlend()},
                                                    {cxbsDisabled, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNFACE)}}) {
    SCOPED_TRACE(row.State);
    TRect inner = r;
    inner.Deflate(1);
    {
      TCanvasOnSurface canvas(20, 20, Bg);
      UltraFlatPainter()->DrawScaledScrollBarPart(canvas.Get(), true, r, sbpThumbnail, row.State,
                                                  DefaultScaleFactor());
      if (row.State == cxbsDisabled) {
        EXPECT_EQ(canvas.Surface.Count(Bg), 400) << "no disabled thumb";
      } else {
        EXPECT_EQ(RingCount(canvas.Surface, r, row.Frame), RingLength(r));
        EXPECT_EQ(canvas.Surface.Count(inner, row.Face), inner.Width() * inner.Height());
      }
    }
    struct TArrow {
      const char* Name;
      bool Horizontal;
      bool RightToLeft;
      TcxScrollBarPart Part;
      bool GrowsForward;  // rows (or columns) widen toward the bottom (or right)
    };
    const TArrow arrows[] = {{"up", false, false, sbpLineUp, true},
                             {"down", false, false, sbpLineDown, false},
                             {"left", true, false, sbpLineUp, true},
                             {"right", true, false, sbpLineDown, false},
                             {"up, right to left: right", true, true, sbpLineUp, false},
                             {"down, right to left: left", true, true, sbpLineDown, true}};
    for (const TArrow& arrow : arrows) {
      SCOPED_TRACE(arrow.Name);
      TCanvasOnSurface canvas(20, 20, Bg);
      canvas->SetUseRightToLeftAlignment(arrow.RightToLeft);
      UltraFlatPainter()->DrawScaledScrollBarPart(canvas.Get(), arrow.Horizontal, r, arrow.Part, row.State,
                                                  DefaultScaleFactor());
      EXPECT_EQ(RingCount(canvas.Surface, r, row.Frame), RingLength(r));
      const std::vector<int> profile = ArrowProfile(canvas.Surface, inner, row.Face, !arrow.Horizontal);
      ASSERT_GE(profile.size(), 2u) << canvas.Surface.Picture(Bg);
      if (row.State != cxbsDisabled) {  // the embossed copy blurs the ends
        if (arrow.GrowsForward)
          EXPECT_LT(profile.front(), profile.back()) << canvas.Surface.Picture(Bg);
        else
          EXPECT_GT(profile.front(), profile.back()) << canvas.Surface.Picture(Bg);
      }
    }
  }
  TCanvasOnSurface canvas(20, 20, Bg);
  UltraFlatPainter()->DrawScaledScrollBarPart(canvas.Get(), false, TRect(5, 5, 5, 15), sbpLineUp, cxbsNormal,
                                              DefaultScaleFactor());
  EXPECT_EQ(canvas.Surface.Count(Bg), 400) << "an empty part draws nothing";
  EXPECT_EQ(UltraFlatPainter()->ScaledScrollBarMinimalThumbSize(true, ScaleFactorOf(2, 1).get()), 16);
}

// ---------------------------------------------------------------------------
// Popup windows

TEST(PopupWindows, EditPopupBordersAreTheSystemsEdges) {
  struct TRow {
    const char* Name;
    TcxEditPopupBorderStyle Style;
    bool ClientEdge;
    int Width;
  };
  const TRow rows[] = {{"default", epbsDefault, false, 1},   {"single", epbsSingle, false, 1},
                       {"flat", epbsFlat, true, 2},          {"3-D", epbsFrame3D, false, 4},
                       {"3-D, client edge", epbsFrame3D, true, 4}};
  const TRect bounds(2, 3, 30, 25);
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(32, 28, Bg);
    TRect r = bounds;
    Painter()->DrawEditPopupWindowBorder(canvas.Get(), r, row.Style, row.ClientEdge);
    TRect inner = bounds;
    inner.Deflate(row.Width);
    EXPECT_EQ(r, inner);

    // The same border through the system on the same kind of surface.
    TPixelSurface expected(32, 28, Bg);
    RECT e = bounds;
    const auto solidFrame = [&](int AColorIndex) {
      FrameRect(expected.DC(), &e, GetSysColorBrush(AColorIndex));
      InflateRect(&e, -1, -1);
    };
    switch (row.Style) {
      case epbsSingle: solidFrame(COLOR_BTNTEXT); break;
      case epbsFlat: DrawEdge(expected.DC(), &e, EDGE_RAISED, BF_RECT); break;
      case epbsFrame3D:
        DrawEdge(expected.DC(), &e, EDGE_RAISED, BF_RECT);
        InflateRect(&e, -2, -2);
        solidFrame(row.ClientEdge ? COLOR_INACTIVEBORDER : COLOR_BTNFACE);
        if (row.ClientEdge)
          solidFrame(COLOR_BTNFACE);
        else
          DrawEdge(expected.DC(), &e, BDR_SUNKENOUTER, BF_RECT);
        break;
      case epbsDefault: break;
    }
    int differing = 0;
    for (int y = 0; y < 28; ++y)
      for (int x = 0; x < 32; ++x) differing += canvas.Surface.Pixel(x, y) != expected.Pixel(x, y);
    EXPECT_EQ(differing, 0) << canvas.Surface.Picture(Bg);
    if (row.Style != epbsDefault) {
      EXPECT_EQ(Painter()->GetEditPopupWindowBorderWidth(row.Style), row.Width);
    }
  }
  EXPECT_EQ(Painter()->GetEditPopupWindowBorderWidth(epbsDefault), 0);
  EXPECT_EQ(Painter()->GetEditPopupWindowClientEdgeWidth(epbsSingle), 2);
  EXPECT_EQ(Painter()->GetEditPopupWindowClientEdgeWidth(epbsFlat), 1);
}

TEST(PopupWindows, TheBandSitsAtTheGripsEdgeWithTheCloseButtonAtItsOtherEnd) {
  for (const TScale& scale : Scales) {
    SCOPED_TRACE(testing::Message() << scale.Numerator << "/" << scale.Denominator);
    const TOwned<TdxScaleFactor> factor = ScaleFactorOf(scale.Numerator, scale.Denominator);
    const auto scaled = [&](int V) { return static_cast<int>(std::lround(V * scale.Numerator / double(scale.Denominator))); };
    const TSize grip(GetSystemMetricsForScaleFactor(SM_CXVSCROLL, factor.get()),
                     GetSystemMetricsForScaleFactor(SM_CYHSCROLL, factor.get()));
    const TSize close(scaled(14), scaled(15));
    const int height = std::max({grip.cy + 3, grip.cy + 4, close.cy + 6});
    EXPECT_EQ(Painter()->ScaledPopupPanelSize(factor.get()), height);
    const TRect borders(1, 2, 3, 4);
    const TRect panelBorders(1, 1, 1, 1);
    for (const TdxCorner corner : {coTopLeft, coTopRight, coBottomLeft, coBottomRight}) {
      SCOPED_TRACE(corner);
      TRect client(0, 0, 300, 200), panel, gripRect, closeRect;
      Painter()->CalculateScaledPopupPanelClientRect(client, panel, gripRect, closeRect, corner, borders,
                                                     panelBorders, factor.get());
      const bool top = corner == coTopLeft || corner == coTopRight;
      const bool right = corner == coTopRight || corner == coBottomRight;
      EXPECT_EQ(panel.Height(), height);
      EXPECT_EQ(panel.Left, 1);
      EXPECT_EQ(panel.Right, 297);
      EXPECT_EQ(top ? panel.Top : panel.Bottom, top ? 2 : 196);
      EXPECT_EQ(top ? client.Top : client.Bottom, top ? panel.Bottom : panel.Top);
      EXPECT_EQ(top ? client.Bottom : client.Top, top ? 196 : 2);
      EXPECT_EQ(gripRect.GetSize(), grip);
      EXPECT_EQ(right ? panel.Right - gripRect.Right : gripRect.Left - panel.Left, 2);
      EXPECT_EQ(top ? gripRect.Top - panel.Top : panel.Bottom - gripRect.Bottom, 2);
      EXPECT_EQ(closeRect.GetSize(), close);
      // Centred in the square at the strip's other end.
      const int side = height - 2;
      const int squareLeft = right ? panel.Left + 1 : panel.Right - 1 - side;
      EXPECT_LE(std::abs(2 * closeRect.Left + close.cx - (2 * squareLeft + side)), 1);
      EXPECT_LE(std::abs(2 * closeRect.Top + close.cy - (2 * (panel.Top + 1) + side)), 1);
    }
    TRect client(0, 0, 100, 100), panel, gripRect, closeRect;
    Painter()->CalculateScaledPopupPanelClientRect(client, panel, gripRect, closeRect, coBottomRight, TRect(),
                                                   TRect(), factor.get(), 30, false, false);
    EXPECT_EQ(panel, TRect(0, 70, 100, 100));
    EXPECT_TRUE(gripRect.IsZero());
    EXPECT_TRUE(closeRect.IsZero());
  }
}

TEST(PopupWindows, SmallButtonsAndContent) {
  TCanvasOnSurface canvas(20, 20, Bg);
  const TRect r(2, 2, 16, 17);
  UltraFlatPainter()->DrawScaledSmallButton(canvas.Get(), r, cxbsDefault, DefaultScaleFactor());
  // The default state's two frames, but the face starts inside one.
  EXPECT_EQ(RingCount(canvas.Surface, r, Sys(COLOR_WINDOWFRAME)), RingLength(r));
  TRect face = r;
  face.Deflate(1);
  EXPECT_EQ(canvas.Surface.Count(face, Sys(COLOR_BTNFACE)), face.Width() * face.Height());
  Painter()->DrawWindowContent(canvas.Get(), TRect(0, 0, 20, 20));
  EXPECT_EQ(canvas.Surface.Count(Sys(COLOR_BTNFACE)), 400);
  EXPECT_EQ(Painter()->PopupBorderStyle(), pbsUltraFlat);
  EXPECT_EQ(Painter()->ScaledSliderButtonSize(adUp, DefaultScaleFactor()), Painter()->SizeGripSize());
}

// The system's grip in the bottom-right of a W x H surface, then mirrored by
// StretchBlt into ACorner.
TPixelSurface SystemGrip(int W, int H, TdxCorner ACorner) {
  TPixelSurface grip(W, H, Bg);
  RECT r{0, 0, W, H};
  DrawFrameControl(grip.DC(), &r, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  TPixelSurface result(W, H, Bg);
  const bool mirrorX = ACorner == coTopLeft || ACorner == coBottomLeft;
  const bool mirrorY = ACorner == coTopLeft || ACorner == coTopRight;
  StretchBlt(result.DC(), mirrorX ? W - 1 : 0, mirrorY ? H - 1 : 0, mirrorX ? -W : W, mirrorY ? -H : H, grip.DC(), 0,
             0, W, H, SRCCOPY);
  return result;
}

TEST(SizeGrips, EachCornerIsTheSystemsGripTurnedThere) {
  const int w = 17, h = 15;
  const TRect r(3, 2, 3 + w, 2 + h);
  const TdxCorner corners[] = {coTopLeft, coTopRight, coBottomLeft, coBottomRight};
  const COLORREF background = RGB(90, 30, 160);
  for (const TdxCorner corner : corners) {
    SCOPED_TRACE(corner);
    // On what lay beneath: the grip covers its rectangle.
    {
      TCanvasOnSurface canvas(25, 20, Bg);
      Painter()->DrawScaledSizeGrip(canvas.Get(), r, DefaultScaleFactor(), clNone, corner);
      const TPixelSurface expected = SystemGrip(w, h, corner);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) ASSERT_EQ(canvas.Surface.Pixel(r.Left + x, r.Top + y), expected.Pixel(x, y));
      EXPECT_EQ(canvas.Surface.Count(Bg), 25 * 20 - w * h);
    }
    // On a colour: the face around the grip floods from the opposite corner.
    {
      TCanvasOnSurface canvas(25, 20, Bg);
      Painter()->DrawScaledSizeGrip(canvas.Get(), r, DefaultScaleFactor(), static_cast<TColor>(background), corner);
      TPixelSurface expected = SystemGrip(w, h, corner);
      const int sx = corner == coTopLeft || corner == coBottomLeft ? w - 1 : 0;
      const int sy = corner == coTopLeft || corner == coTopRight ? h - 1 : 0;
      {
        const TOwnedBrush brush(CreateSolidBrush(background));
        const TSelectObject selected(expected.DC(), brush.Get());
        ExtFloodFill(expected.DC(), sx, sy, expected.Pixel(sx, sy), FLOODFILLSURFACE);
      }
      EXPECT_GT(expected.Count(background), w * h / 2) << "the flood reached the face";
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) ASSERT_EQ(canvas.Surface.Pixel(r.Left + x, r.Top + y), expected.Pixel(x, y));
    }
  }
}

TEST(SizeGrips, TheSizeIsTheScrollBarsWidths) {
  EXPECT_EQ(Painter()->ScaledSizeGripSize(DefaultScaleFactor()),
            TSize(GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL)));
}

}  // namespace
