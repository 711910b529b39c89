#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"

#include "tests/library_lookandfeel/PainterTesting.h"

#include <gtest/gtest.h>

namespace {

using P = TcxCustomLookAndFeelPainter;

// ---------------------------------------------------------------------------
// Modern calendar cells

TEST(ModernCalendar, DateCellsByState) {
  struct TRow {
    const char* Name;
    TcxCalendarElementStates States;
    COLORREF Frame;  // CLR_NONE: no state frame
    COLORREF Fill;
  };
  const TRow rows[] = {
      {"normal", {}, CLR_NONE, 0},
      {"selected and hot", {cesSelected, cesHot}, RGB(102, 167, 232), RGB(209, 232, 255)},
      {"selected, hot and focused", {cesSelected, cesHot, cesFocused}, RGB(102, 167, 232), RGB(209, 232, 255)},
      {"selected and focused", {cesSelected, cesFocused}, RGB(38, 160, 218), RGB(203, 232, 246)},
      {"selected", {cesSelected}, RGB(222, 222, 222), RGB(247, 247, 247)},
      {"hot", {cesHot}, RGB(112, 192, 231), RGB(229, 243, 251)},
      {"hot and focused", {cesHot, cesFocused}, RGB(112, 192, 231), RGB(229, 243, 251)},
      {"marked", {cesMarked}, CLR_NONE, 0},
      {"marked and hot", {cesMarked, cesHot}, RGB(112, 192, 231), RGB(229, 243, 251)},
      {"focused", {cesFocused}, CLR_NONE, 0},
  };
  const TRect r(3, 2, 27, 20);
  const TRect inner(4, 3, 26, 19);
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(30, 22, Bg);
    UltraFlatPainter()->DrawModernCalendarDateCellSelection(canvas.Get(), r, row.States);
    TPixelSurface reference(30, 22, Bg);
    if (row.Frame != CLR_NONE) {
      GdiFrame(reference.DC(), r, row.Frame);
      GdiFill(reference.DC(), inner, row.Fill);
    }
    // The marked frame lies over the state's frame.
    if (row.States.Contains(cesMarked)) GdiFrame(reference.DC(), r, Sys(COLOR_HOTLIGHT));
    if (row.States.Contains(cesFocused)) {
      SetTextColor(reference.DC(), RGB(0, 0, 0));
      SetBkColor(reference.DC(), RGB(255, 255, 255));
      const RECT focus = inner;
      DrawFocusRect(reference.DC(), &focus);
    }
    EXPECT_EQ(Differing(canvas.Surface, reference), 0) << canvas.Surface.Picture(Bg) << "\n" << reference.Picture(Bg);
  }
}

TEST(ModernCalendar, CellTextColours) {
  struct TRow {
    const char* Name;
    TcxCalendarElementStates States;
    TColor Expected;
  };
  P* painter = UltraFlatPainter();
  const TRow rows[] = {
      {"disabled beats hot", {cesDisabled, cesHot}, clGrayText},
      {"hot", {cesHot}, clHotLight},
      {"marked, not selected", {cesMarked}, clHotLight},
      {"marked and selected", {cesMarked, cesSelected}, clBtnText},
      {"marked, selected and highlighted", {cesMarked, cesSelected, cesHighlighted},
       painter->DefaultDateNavigatorWeekendTextColor()},
      {"highlighted", {cesHighlighted}, painter->DefaultDateNavigatorWeekendTextColor()},
      {"normal", {}, clBtnText},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    EXPECT_EQ(painter->GetModernCalendarCellTextColor(row.States), row.Expected);
  }
  // Only hot alone makes a date header selected.
  EXPECT_EQ(painter->GetModernCalendarDateHeaderTextColor({cesHot}), clHotLight);
  EXPECT_EQ(painter->GetModernCalendarDateHeaderTextColor({cesHot, cesFocused}),
            painter->DefaultDateNavigatorHeaderTextColor(false));
}

TEST(ModernCalendar, HeaderSelectionUnderlinesTheFontWhileHotOrPressed) {
  for (const TcxCalendarElementState state : {cesNormal, cesHot, cesPressed, cesSelected}) {
    SCOPED_TRACE(state);
    TCanvasOnSurface canvas(20, 20, Bg);
    canvas->Font()->SetStyle({fsBold});
    UltraFlatPainter()->DrawModernCalendarHeaderSelection(canvas.Get(), TRect(0, 0, 20, 20), {state});
    const bool underlined = state == cesHot || state == cesPressed;
    const TFontStyles expected = underlined ? TFontStyles{fsBold, fsUnderline} : TFontStyles{fsBold};
    EXPECT_EQ(canvas->Font()->Style(), expected);
    EXPECT_EQ(canvas.Surface.Count(Bg), 400) << "nothing drawn";
  }
}

TEST(ModernCalendar, ArrowsTakeTheStatesColourAndLeaveTheBottomRow) {
  struct TRow {
    TcxCalendarElementStates States;
    COLORREF Color;
  };
  const TRow rows[] = {{{}, Sys(COLOR_BTNTEXT)},
                       {{cesHot}, Sys(COLOR_HOTLIGHT)},
                       {{cesPressed, cesDisabled}, Sys(COLOR_HOTLIGHT)},
                       {{cesDisabled}, Sys(COLOR_GRAYTEXT)}};
  const TRect r(2, 2, 18, 18);
  for (const TRow& row : rows) {
    for (const TcxArrowDirection direction : {adUp, adDown, adLeft, adRight}) {
      SCOPED_TRACE(direction);
      TCanvasOnSurface canvas(20, 20, Bg);
      UltraFlatPainter()->DrawModernCalendarArrow(canvas.Get(), r, direction, row.States);
      const int drawn = canvas.Surface.CountOther(canvas.Surface.ClientRect(), Bg);
      EXPECT_GT(drawn, 6);
      EXPECT_EQ(canvas.Surface.Count(r, row.Color), drawn) << canvas.Surface.Picture(Bg);
      EXPECT_EQ(canvas.Surface.CountOther(TRect(0, 17, 20, 20), Bg), 0) << "the bottom row is left out";
    }
  }
}

// ---------------------------------------------------------------------------
// The modern clock

constexpr TDateTime Time(int AHour, int AMinute, int ASecond) {
  return (AHour * 3600 + AMinute * 60 + ASecond) / 86400.0;
}

// Hand pixels: darker than anything of the face, the glass or the
// backgrounds the tests use.
bool IsHand(COLORREF C) { return GetRValue(C) < 140 && GetGValue(C) < 140 && GetBValue(C) < 140; }

// The bounds of the hand pixels within R.
TRect HandBounds(const TPixelSurface& S, const TRect& R) {
  TRect result(R.Right, R.Bottom, R.Left, R.Top);
  for (int y = R.Top; y < R.Bottom; ++y)
    for (int x = R.Left; x < R.Right; ++x)
      if (IsHand(S.Pixel(x, y))) {
        result.Left = std::min(result.Left, x);
        result.Top = std::min(result.Top, y);
        result.Right = std::max(result.Right, x + 1);
        result.Bottom = std::max(result.Bottom, y + 1);
      }
  return result;
}

TEST(ModernClock, HandsPointAtTheirAnglesClockwiseFromTwelve) {
  // A 61 x 61 dial centred at (40.5, 30.5), away from the origin. The
  // second hand reaches 0.745 x 30.5 = 22.7 pixels, the hour hand 16.8.
  const TRect r(10, 0, 71, 61);
  const auto draw = [&](TDateTime ATime) {
    TCanvasOnSurface canvas(80, 64, RGB(255, 255, 255));
    UltraFlatPainter()->DrawModernClockHands(canvas.Get(), r, ATime, clBlack);
    return HandBounds(canvas.Surface, canvas.Surface.ClientRect());
  };
  {
    SCOPED_TRACE("12:00:00: every hand straight up");
    const TRect hands = draw(Time(12, 0, 0));
    EXPECT_GE(hands.Left, 38);
    EXPECT_LE(hands.Right, 43);
    EXPECT_LE(hands.Top, 30 - 21);
    EXPECT_LE(hands.Bottom, 30 + 5) << "only the tails below the centre";
  }
  {
    SCOPED_TRACE("3:00:00: the hour hand right, the others up");
    TCanvasOnSurface canvas(80, 64, RGB(255, 255, 255));
    UltraFlatPainter()->DrawModernClockHands(canvas.Get(), r, Time(3, 0, 0), clBlack);
    const TRect right = HandBounds(canvas.Surface, TRect(44, 0, 80, 64));
    EXPECT_GE(right.Right, 40 + 15);
    EXPECT_GE(right.Top, 28);
    EXPECT_LE(right.Bottom, 33);
    EXPECT_EQ(HandBounds(canvas.Surface, TRect(0, 0, 37, 64)).IsEmpty(), true) << "nothing far left";
    EXPECT_EQ(HandBounds(canvas.Surface, TRect(0, 36, 80, 64)).IsEmpty(), true) << "nothing far down";
  }
  {
    SCOPED_TRACE("6:00:30: hour down, minute up, second down");
    TCanvasOnSurface canvas(80, 64, RGB(255, 255, 255));
    UltraFlatPainter()->DrawModernClockHands(canvas.Get(), r, Time(6, 0, 30), clBlack);
    const TRect hands = HandBounds(canvas.Surface, canvas.Surface.ClientRect());
    EXPECT_GE(hands.Left, 38);
    EXPECT_LE(hands.Right, 43);
    EXPECT_GE(hands.Bottom, 30 + 21) << "the second hand down";
    EXPECT_LE(hands.Top, 30 - 19) << "the minute hand up";
  }
}

TEST(ModernClock, AClockAwayFromTheOriginShowsInPlace) {
  // The same clock at the origin and at (37, 23) of a larger canvas: the
  // same picture, moved, and nothing outside its rectangle.
  const TSize size(64, 64);
  const TRect away(37, 23, 37 + 64, 23 + 64);
  for (const TColor background : {clNone, static_cast<TColor>(RGB(250, 240, 200))}) {
    SCOPED_TRACE(background == clNone ? "over what lies beneath" : "over a colour");
    TCanvasOnSurface origin(size.cx, size.cy, Bg);
    TCanvasOnSurface moved(120, 100, Bg);
    for (const TDateTime time : {Time(12, 0, 0), Time(3, 0, 0)}) {
      UltraFlatPainter()->DrawModernCalendarClock(origin.Get(), TRect::CreateFromSize(size), time, background,
                                                  DefaultScaleFactor());
      UltraFlatPainter()->DrawModernCalendarClock(moved.Get(), away, time, background, DefaultScaleFactor());
      int differing = 0;
      for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x) differing += origin.Surface.Pixel(x, y) != moved.Surface.Pixel(x + 37, y + 23);
      EXPECT_EQ(differing, 0) << moved.Surface.Picture(Bg);
      EXPECT_EQ(moved.Surface.CountOther(moved.Surface.ClientRect(), Bg), moved.Surface.CountOther(away, Bg))
          << "nothing outside";
      // The corners outside the dial show the background.
      const COLORREF corner = background == clNone ? Bg : static_cast<COLORREF>(background);
      EXPECT_EQ(moved.Surface.Pixel(away.Left, away.Top), corner);
      EXPECT_EQ(moved.Surface.Pixel(away.Right - 1, away.Bottom - 1), corner);
    }
    // The hands of 3:00 (drawn last): hour right, minute and second up.
    const int cx = away.Left + 32, cy = away.Top + 32;
    EXPECT_FALSE(HandBounds(moved.Surface, TRect(cx + 4, cy - 2, cx + 16, cy + 3)).IsEmpty()) << "hour hand right";
    EXPECT_FALSE(HandBounds(moved.Surface, TRect(cx - 2, cy - 20, cx + 3, cy - 4)).IsEmpty()) << "minute hand up";
    EXPECT_TRUE(HandBounds(moved.Surface, TRect(away.Left, cy + 5, away.Right, away.Bottom)).IsEmpty())
        << "nothing down";
    EXPECT_TRUE(HandBounds(moved.Surface, TRect(away.Left, away.Top, cx - 4, away.Bottom)).IsEmpty())
        << "nothing left";
  }
}

}  // namespace
