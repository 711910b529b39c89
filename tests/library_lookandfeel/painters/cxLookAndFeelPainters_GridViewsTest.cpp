#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"

#include "platform/ui/ImgList.h"
#include "tests/library_graphics/ImageListTesting.h"
#include "tests/library_lookandfeel/PainterTesting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <tuple>
#include <vector>

namespace {

using P = TcxCustomLookAndFeelPainter;

// GDI's own polygon with a one-pixel pen and a solid brush.
void GdiPolygon(HDC DC, const std::vector<POINT>& APoints, COLORREF ABrush, COLORREF APen) {
  const HPEN pen = CreatePen(PS_SOLID, 1, APen);
  const HBRUSH brush = CreateSolidBrush(ABrush);
  const HGDIOBJ oldPen = SelectObject(DC, pen);
  const HGDIOBJ oldBrush = SelectObject(DC, brush);
  Polygon(DC, APoints.data(), static_cast<int>(APoints.size()));
  SelectObject(DC, oldPen);
  SelectObject(DC, oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);
}

// ---------------------------------------------------------------------------
// Scheduler shapes against GDI's polygons

struct TShapeRow {
  const char* Name;
  TRect R;
};
const TShapeRow ShapeRows[] = {
    {"square", TRect(3, 4, 23, 24)},
    {"odd square", TRect(2, 2, 19, 19)},
    {"wide", TRect(1, 5, 29, 18)},
    {"tall", TRect(6, 1, 17, 29)},
};

TEST(SchedulerShapes, TheMilestoneIsAGreyDiamondInTheCentredEvenSquare) {
  for (const TShapeRow& row : ShapeRows) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(32, 32, Bg);
    UltraFlatPainter()->DrawSchedulerMilestone(canvas.Get(), row.R);
    // The even side below the shorter edge, its square centred.
    int side = row.R.Width() < row.R.Height() ? row.R.Width() : row.R.Height();
    side -= side % 2;
    const int left = row.R.Left + (row.R.Width() - side) / 2;
    const int top = row.R.Top + (row.R.Height() - side) / 2;
    TPixelSurface reference(32, 32, Bg);
    GdiPolygon(reference.DC(),
               {{left, top + side / 2}, {left + side / 2, top}, {left + side, top + side / 2},
                {left + side / 2, top + side}},
               RGB(128, 128, 128), RGB(0, 0, 0));
    EXPECT_EQ(Differing(canvas.Surface, reference), 0) << canvas.Surface.Picture(Bg) << "\n" << reference.Picture(Bg);
  }
}

TEST(SchedulerShapes, AGroupIsATabPointingDownOutlinedInBlack) {
  for (const TShapeRow& row : ShapeRows) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(32, 32, Bg);
    UltraFlatPainter()->DrawSchedulerGroup(canvas.Get(), row.R, clYellow);
    const int l = row.R.Left, t = row.R.Top + 2, r = row.R.Right - 1, b = row.R.Bottom - 2;
    const int h = (b - t) / 2;
    TPixelSurface reference(32, 32, Bg);
    GdiPolygon(reference.DC(), {{l, t}, {r, t}, {r, b}, {r - h, b - h}, {l + h, b - h}, {l, b}}, RGB(255, 255, 0),
               RGB(0, 0, 0));
    EXPECT_EQ(Differing(canvas.Surface, reference), 0) << canvas.Surface.Picture(Bg) << "\n" << reference.Picture(Bg);
  }
}

TEST(SchedulerShapes, EventProgressFramesInGreyAndFillsOnlyWhenOpaque) {
  const TRect bounds(2, 3, 30, 13);
  const TRect progress(4, 5, 15, 11);
  TcxViewParams params;
  params.Color = clYellow;
  for (const bool transparent : {true, false}) {
    SCOPED_TRACE(transparent ? "transparent" : "opaque");
    TCanvasOnSurface canvas(32, 16, Bg);
    UltraFlatPainter()->DrawSchedulerEventProgress(canvas.Get(), bounds, progress, params, transparent);
    TPixelSurface reference(32, 16, Bg);
    if (!transparent) GdiFill(reference.DC(), bounds, RGB(255, 255, 0));
    GdiFrame(reference.DC(), bounds, RGB(128, 128, 128));
    GdiFill(reference.DC(), progress, RGB(0, 0, 128));
    EXPECT_EQ(Differing(canvas.Surface, reference), 0) << canvas.Surface.Picture(Bg);
  }
}

// ---------------------------------------------------------------------------
// Scheduler navigation buttons

TEST(SchedulerNavigation, ButtonRectangles) {
  struct TRow {
    const char* Name;
    bool Next, Collapsed, Vertical;
    TSize PrevText, NextText;
    TRect Bounds;
    TRect ExpectedBounds, ExpectedText, ExpectedArrow;
  };
  // Arrow 7 x 7 at 96 DPI, so the arrow area is 21 long and the text keeps
  // 14 from the far end and 21 + 5 from the arrow's end.
  const TRow rows[] = {
      // Borders (0, 6, 2, 6): content 0..18 x 6..194; arrow centred in
      // rows 6..27; text from 6 + 21 + 5 down to 194 - 14.
      {"vertical previous", false, false, true, TSize(50, 10), TSize(40, 10), TRect(0, 0, 20, 200),
       TRect(0, 0, 20, 200), TRect(0, 32, 18, 180), TRect(5, 13, 12, 20)},
      // Text longer than the room (148) by 12: everything grows by 12
      // each way and the arrow moves up by 12.
      {"vertical, long text", false, false, true, TSize(100, 10), TSize(160, 10), TRect(0, 0, 20, 200),
       TRect(0, -12, 20, 212), TRect(0, 20, 18, 192), TRect(5, 1, 12, 8)},
      // Collapsed: height 21 + 12 re-centred around 100.
      {"vertical collapsed", true, true, true, TSize(50, 10), TSize(50, 10), TRect(0, 0, 20, 200),
       TRect(0, 83, 20, 116), TRect(), TRect(6, 96, 13, 103)},
      // Borders (6, 2, 6, 0): content 6..194 x 2..20; arrow centred in the
      // rightmost 21 columns; text from 6 + 14 to 194 - 26.
      {"horizontal next", true, false, false, TSize(30, 10), TSize(20, 10), TRect(0, 0, 200, 20),
       TRect(0, 0, 200, 20), TRect(20, 2, 168, 20), TRect(180, 7, 187, 14)},
      {"horizontal collapsed", false, true, false, TSize(30, 10), TSize(20, 10), TRect(0, 0, 200, 20),
       TRect(83, 0, 116, 20), TRect(), TRect(96, 6, 103, 13)},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TRect bounds = row.Bounds, text(1, 1, 2, 2), arrow;
    UltraFlatPainter()->CalculateSchedulerNavigationButtonRects(row.Next, row.Collapsed, row.PrevText, row.NextText,
                                                                bounds, text, arrow, DefaultScaleFactor(),
                                                                row.Vertical);
    EXPECT_EQ(bounds, row.ExpectedBounds);
    EXPECT_EQ(text, row.ExpectedText);
    EXPECT_EQ(arrow, row.ExpectedArrow);
  }
}

// The chevron in arrow coordinates: u runs from the side away from the tip
// to the tip, v across. Each bar is two pixels along u at distance k from
// the nearer edge across, k below ceil(across / 2); the last u is solid.
bool ChevronPixel(int u, int v, int AAlong, int AAcross) {
  if (u == AAlong - 1) return true;
  const int k = v < AAcross - 1 - v ? v : AAcross - 1 - v;
  return k < (AAcross + 1) / 2 && (u - k == 0 || u - k == 1);
}

TEST(SchedulerNavigation, ArrowsAreChevronsOfTwoPixelBars) {
  struct TRow {
    const char* Name;
    bool Next, Vertical;
    TRect R;
  };
  const TRow rows[] = {{"left", false, true, TRect(3, 2, 10, 9)},
                       {"right", true, true, TRect(4, 3, 12, 14)},
                       {"up", false, false, TRect(2, 4, 11, 9)},
                       {"down", true, false, TRect(3, 3, 10, 10)}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(16, 16, Bg);
    UltraFlatPainter()->DrawSchedulerNavigationButtonArrow(canvas.Get(), row.R, row.Next, clRed, row.Vertical);
    TPixelSurface reference(16, 16, Bg);
    const int along = row.Vertical ? row.R.Width() : row.R.Height();
    const int across = row.Vertical ? row.R.Height() : row.R.Width();
    for (int y = row.R.Top; y < row.R.Bottom; ++y)
      for (int x = row.R.Left; x < row.R.Right; ++x) {
        const int towardRight = x - row.R.Left, towardLeft = row.R.Right - 1 - x;
        const int towardBottom = y - row.R.Top, towardTop = row.R.Bottom - 1 - y;
        const int u = row.Vertical ? (row.Next ? towardRight : towardLeft) : (row.Next ? towardBottom : towardTop);
        const int v = row.Vertical ? y - row.R.Top : x - row.R.Left;
        if (ChevronPixel(u, v, along, across)) SetPixel(reference.DC(), x, y, RGB(255, 0, 0));
      }
    EXPECT_EQ(Differing(canvas.Surface, reference), 0) << canvas.Surface.Picture(Bg) << "\n" << reference.Picture(Bg);
  }
}

TEST(SchedulerNavigation, UltraFlatButtonsFrameTheirOuterSidesByState) {
  auto* painter = UltraFlatPainter();
  const TRect r(1, 1, 21, 41);
  for (const TcxButtonState state : {cxbsNormal, cxbsHot, cxbsPressed}) {
    SCOPED_TRACE(state);
    TCanvasOnSurface canvas(24, 44, Bg);
    // A previous vertical button: framed left, top and right.
    painter->DrawSchedulerNavigationButton(canvas.Get(), r, false, state, String(), TRect(), TRect(7, 5, 14, 12),
                                           true);
    const COLORREF frame = state == cxbsHot ? Sys(COLOR_BTNSHADOW) : Sys(COLOR_BTNTEXT);
    EXPECT_EQ(canvas.Surface.Count(TRect(1, 1, 21, 2), frame), 20) << "top";
    EXPECT_EQ(canvas.Surface.Count(TRect(1, 1, 2, 41), frame), 40) << "left";
    EXPECT_EQ(canvas.Surface.Count(TRect(20, 1, 21, 41), frame), 40) << "right";
    EXPECT_EQ(canvas.Surface.Count(TRect(2, 40, 20, 41), Sys(COLOR_BTNFACE)), 18) << "the bottom stays open";
    const COLORREF symbol = Rgb(painter->ButtonSymbolColor(state, clDefault));
    EXPECT_GT(canvas.Surface.Count(TRect(7, 5, 14, 12), symbol), 10);
  }
}

// ---------------------------------------------------------------------------
// The clock

TEST(Clock, MarksStayOutOfTheClipAndTheHandsPointByTheTime) {
  const TRect r(0, 0, 130, 130);
  TCanvasOnSurface canvas(130, 130, Bg);
  UltraFlatPainter()->DrawScaledClock(canvas.Get(), r, EncodeTime(3, 0, 0, 0), clWhite, DefaultScaleFactor());
  // Whatever the caller fills afterwards keeps off the marks.
  canvas->FillRect(r, clBlack);
  const COLORREF mark = RGB(0, 255, 255);
  const COLORREF shadow = Sys(COLOR_BTNTEXT);
  const double pi = std::acos(-1.0);
  for (int hour = 0; hour < 12; ++hour) {
    SCOPED_TRACE(hour);
    // Eleven o'clock lands on a half (63 x sin 330 degrees): the angle is
    // computed as the painter does, minutes of a turn, so that the tie
    // breaks the same way.
    const double a = (5 * hour) * 2 * pi / 60;
    const int x = 65 + static_cast<int>(std::nearbyint(63 * std::cos(a)));
    const int y = 65 + static_cast<int>(std::nearbyint(63 * std::sin(a)));
    // The square of two pixels centred at the point; its shadow one pixel
    // down and right shows where the mark, excluded first, left room.
    for (const TPoint p : {TPoint(x - 1, y - 1), TPoint(x, y - 1), TPoint(x - 1, y), TPoint(x, y)})
      EXPECT_EQ(canvas.Surface.Pixel(p.X, p.Y), mark);
    for (const TPoint p : {TPoint(x + 1, y), TPoint(x, y + 1), TPoint(x + 1, y + 1)})
      EXPECT_EQ(canvas.Surface.Pixel(p.X, p.Y), shadow);
  }
  EXPECT_EQ(canvas.Surface.Count(mark), 12 * 4);
  EXPECT_EQ(canvas.Surface.Count(RGB(255, 255, 255)), 0) << "the face itself is not kept";

  TCanvasOnSurface hands(130, 130, Bg);
  UltraFlatPainter()->DrawScaledClock(hands.Get(), r, EncodeTime(3, 0, 0, 0), clWhite, DefaultScaleFactor());
  const COLORREF teal = RGB(0, 128, 128);
  // The hour hand straight right to 0.75 of 63, the minute hand straight
  // up to 0.85 of 63; nothing of theirs down or to the left.
  EXPECT_EQ(hands.Surface.Pixel(65 + 47, 65), teal);
  EXPECT_NE(hands.Surface.Pixel(65 + 49, 65), teal);
  // (The second hand, also straight up, covers the minute hand's middle
  // column.)
  EXPECT_EQ(hands.Surface.Pixel(64, 65 - 30), teal);
  EXPECT_EQ(hands.Surface.Pixel(66, 65 - 30), teal);
  EXPECT_NE(hands.Surface.Pixel(64, 65 - 56), teal);
  EXPECT_NE(hands.Surface.Pixel(66, 65 - 56), teal);
  EXPECT_EQ(hands.Surface.Count(TRect(0, 80, 130, 130), teal), 0);
  EXPECT_EQ(hands.Surface.Count(TRect(0, 0, 50, 130), teal), 0);
  // The second hand: red from the centre straight up to 0.9 of 63.
  EXPECT_EQ(hands.Surface.Pixel(65, 65 - 56), RGB(255, 0, 0));
  EXPECT_GT(hands.Surface.Count(TRect(0, 0, 130, 130), RGB(255, 0, 0)), 0);
}

TEST(Clock, HandsAreGdiPathsFromTheirFourPoints) {
  struct TRow {
    const char* Name;
    int H, M, S;
  };
  const TRow rows[] = {{"3:00:00", 3, 0, 0}, {"10:10:30", 10, 10, 30}, {"7:42:13", 19, 42, 13}};
  const double pi = std::acos(-1.0);
  const TRect r(0, 0, 130, 120);
  const int cx = 65, cy = 60;
  const double rx = 63, ry = 58;
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(130, 120, Bg);
    UltraFlatPainter()->DrawScaledClock(canvas.Get(), r, EncodeTime(row.H, row.M, row.S, 0), clWhite,
                                        DefaultScaleFactor());
    TPixelSurface reference(130, 120, Bg);
    GdiFill(reference.DC(), r, RGB(255, 255, 255));
    const auto round = [](double V) { return static_cast<int>(std::nearbyint(V)); };
    const COLORREF teal = RGB(0, 128, 128);
    const HPEN pen = CreatePen(PS_SOLID, 1, teal);
    const HBRUSH brush = CreateSolidBrush(teal);
    const HGDIOBJ oldPen = SelectObject(reference.DC(), pen);
    const HGDIOBJ oldBrush = SelectObject(reference.DC(), brush);
    // Seconds of a twelve-hour dial and of an hour, a quarter turn back so
    // that zero points right.
    const double hourTurn = ((row.H % 12) * 3600 + row.M * 60 + row.S) / 43200.0 - 0.25;
    const double minuteTurn = (row.M * 60 + row.S) / 3600.0 - 0.25;
    for (const auto& [turn, tip, tail, width] :
         {std::tuple{hourTurn, 0.75, 0.15, 9.0}, std::tuple{minuteTurn, 0.85, 0.2, 7.0}}) {
      const double a = turn * 2 * pi, c = std::cos(a), s = std::sin(a);
      const POINT pTip{cx + round(tip * rx * c), cy + round(tip * ry * s)};
      const POINT pTail{cx + round(-tail * rx * c), cy + round(-tail * ry * s)};
      const POINT side1{cx + round(-width / 2 * s), cy + round(width / 2 * c)};
      const POINT side2{cx + round(width / 2 * s), cy + round(-width / 2 * c)};
      BeginPath(reference.DC());
      MoveToEx(reference.DC(), pTip.x, pTip.y, nullptr);
      for (const POINT& p : {side1, pTail, side2, pTip}) LineTo(reference.DC(), p.x, p.y);
      EndPath(reference.DC());
      StrokeAndFillPath(reference.DC());
      SetPixel(reference.DC(), pTip.x, pTip.y, teal);
    }
    SelectObject(reference.DC(), oldPen);
    SelectObject(reference.DC(), oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
    const HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    const HGDIOBJ old = SelectObject(reference.DC(), red);
    const double a = (row.S / 60.0 - 0.25) * 2 * pi;
    MoveToEx(reference.DC(), cx, cy, nullptr);
    LineTo(reference.DC(), cx + round(0.9 * rx * std::cos(a)), cy + round(0.9 * ry * std::sin(a)));
    SelectObject(reference.DC(), old);
    DeleteObject(red);
    // Inside the ring of marks (which lie on the full ellipse, two pixels
    // thick).
    int differing = 0;
    for (int y = 0; y < 120; ++y)
      for (int x = 0; x < 130; ++x) {
        const double dx = (x - cx) / rx, dy = (y - cy) / ry;
        if (dx * dx + dy * dy < 0.93 * 0.93) differing += canvas.Surface.Pixel(x, y) != reference.Pixel(x, y);
      }
    EXPECT_EQ(differing, 0);
  }
}

// ---------------------------------------------------------------------------
// Layout and explorer records, date navigator, zoom buttons

TEST(LayoutViews, AHotItemKeepsItsShadowFrameOutOfTheClip) {
  TCanvasOnSurface canvas(20, 16, Bg);
  const TRect r(2, 2, 18, 14);
  UltraFlatPainter()->LayoutViewDrawItem(canvas.Get(), r, cxbsHot, {});
  TPixelSurface reference(20, 16, Bg);
  GdiFill(reference.DC(), r, Sys(COLOR_GRADIENTINACTIVECAPTION));
  GdiFrame(reference.DC(), r, Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(Differing(canvas.Surface, reference), 0);
  canvas->FillRect(canvas.Surface.ClientRect(), clYellow);
  EXPECT_EQ(RingCount(canvas.Surface, r, Sys(COLOR_BTNSHADOW)), RingLength(r)) << "the frame stays excluded";
}

TEST(LayoutViews, ExplorerRecordsByState) {
  auto* painter = UltraFlatPainter();
  const TRect r(1, 1, 15, 11);
  for (const TcxButtonState state : {cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled}) {
    SCOPED_TRACE(state);
    TCanvasOnSurface canvas(16, 12, Bg);
    painter->WinExplorerViewDrawRecord(canvas.Get(), r, state);
    const bool framed = state != cxbsNormal;
    TRect fill = r;
    if (framed) fill.Deflate(1);
    EXPECT_EQ(RingCount(canvas.Surface, r, Sys(COLOR_BTNSHADOW)), framed ? RingLength(r) : 0);
    EXPECT_EQ(canvas.Surface.Count(fill, Rgb(painter->WinExplorerViewDefaultRecordColor(state))),
              fill.Width() * fill.Height());
  }
}

TEST(DateNavigator, TheCalendarMarksOnlyMarkedCellsWithTheTodayFrame) {
  const TRect r(2, 2, 14, 12);
  const COLORREF today = Rgb(UltraFlatPainter()->DefaultDateNavigatorTodayFrameColor());
  for (const TcxCalendarElementStates& states :
       {TcxCalendarElementStates{}, TcxCalendarElementStates{cesMarked}, TcxCalendarElementStates{cesHot}}) {
    TCanvasOnSurface canvas(16, 14, Bg);
    UltraFlatPainter()->DrawCalendarDateCellSelection(canvas.Get(), r, states);
    const bool marked = states.Contains(cesMarked);
    EXPECT_EQ(RingCount(canvas.Surface, r, today), marked ? RingLength(r) : 0);
    EXPECT_EQ(canvas.Surface.CountOther(canvas.Surface.ClientRect(), Bg), marked ? RingLength(r) : 0);
  }
}

TEST(DateNavigator, TheDateHeaderIsARaisedEdgeAndComesBackInsideIt) {
  TCanvasOnSurface canvas(20, 14, Bg);
  TRect r(2, 2, 18, 12);
  UltraFlatPainter()->DrawDateNavigatorDateHeader(canvas.Get(), r);
  EXPECT_EQ(r, TRect(3, 3, 17, 11));
  TPixelSurface reference(20, 14, Bg);
  GdiFill(reference.DC(), TRect(2, 2, 18, 12), Rgb(UltraFlatPainter()->DefaultDateNavigatorHeaderColor()));
  RECT edge = TRect(2, 2, 18, 12);
  // A raised inner edge: highlight left and top, shadow right and bottom.
  DrawEdge(reference.DC(), &edge, BDR_RAISEDINNER, BF_RECT);
  EXPECT_EQ(Differing(canvas.Surface, reference), 0) << canvas.Surface.Picture(Bg);
}

TEST(ZoomButtons, AMinusOrAPlusThreeScaledPixelsShortOfTheEdges) {
  auto* painter = UltraFlatPainter();
  for (const TScale& scale : Scales) {
    const TOwned<TdxScaleFactor> factor = ScaleFactorOf(scale.Numerator, scale.Denominator);
    const TSize size = painter->GetScaledZoomInButtonSize(factor.get());
    EXPECT_EQ(size, TSize(factor->Apply(15), factor->Apply(15)));
    const TRect r(0, 0, size.cx, size.cy);
    const int inset = factor->Apply(3);
    for (const bool zoomIn : {false, true}) {
      for (const TcxButtonState state : {cxbsNormal, cxbsDisabled}) {
        SCOPED_TRACE(testing::Message() << scale.Numerator << "/" << scale.Denominator << (zoomIn ? " in " : " out ")
                                        << state);
        TCanvasOnSurface canvas(size.cx, size.cy, Bg);
        if (zoomIn)
          painter->DrawScaledZoomInButton(canvas.Get(), r, state, factor.get());
        else
          painter->DrawScaledZoomOutButton(canvas.Get(), r, state, factor.get());
        const COLORREF symbol =
            state == cxbsDisabled ? Sys(COLOR_BTNSHADOW) : Rgb(painter->ButtonSymbolColor(state, clDefault));
        const int length = size.cx - 2 * inset;
        const int cy = size.cy / 2, cx = size.cx / 2;
        EXPECT_EQ(canvas.Surface.Count(TRect(inset, cy, size.cx - inset, cy + 1), symbol), length);
        EXPECT_EQ(canvas.Surface.Count(TRect(cx, inset, cx + 1, size.cy - inset), symbol), zoomIn ? length : 1);
        EXPECT_EQ(canvas.Surface.Count(TRect(1, 1, size.cx - 1, size.cy - 1), symbol),
                  zoomIn ? 2 * length - 1 : length);
      }
    }
  }
}

TEST(MonthHeaders, WithoutArrowsTheHeaderIsAPlainCentredHeader) {
  auto* painter = UltraFlatPainter();
  const TRect r(0, 0, 60, 20);
  TcxViewParams params;
  params.Color = clYellow;
  params.TextColor = clBlue;
  TCanvasOnSurface canvas(60, 20, Bg);
  params.Font = canvas->Font();
  painter->DrawScaledMonthHeader(canvas.Get(), r, L"May", {nLeft}, params, {}, 0, DefaultScaleFactor());
  TCanvasOnSurface reference(60, 20, Bg);
  painter->DrawScaledHeader(reference.Get(), r, r, {nLeft}, painter->HeaderBorders({nLeft}), cxbsNormal, taCenter,
                            vaCenter, false, false, L"May", reference->Font(), clBlue, clYellow,
                            DefaultScaleFactor());
  EXPECT_EQ(Differing(canvas.Surface, reference.Surface), 0);
  // With both arrows, the squares at the ends gain the arrows.
  painter->DrawScaledMonthHeader(canvas.Get(), r, L"May", {nLeft}, params, {adLeft, adRight}, 0,
                                 DefaultScaleFactor());
  const COLORREF arrow = Sys(COLOR_WINDOWTEXT);
  EXPECT_GT(canvas.Surface.Count(TRect(0, 0, 20, 20), arrow), reference.Surface.Count(TRect(0, 0, 20, 20), arrow));
  EXPECT_GT(canvas.Surface.Count(TRect(40, 0, 60, 20), arrow), reference.Surface.Count(TRect(40, 0, 60, 20), arrow));
}

TEST(Navigators, UltraFlatButtonsFrameInTheHighlightWhenActive) {
  auto* painter = UltraFlatPainter();
  const TRect r(1, 1, 19, 21);
  struct TRow {
    TcxButtonState State;
    TColor Background;
    COLORREF Frame;  // Bg: no frame
  };
  const TRow rows[] = {{cxbsNormal, clNone, Bg},
                       {cxbsNormal, clYellow, RGB(255, 255, 0)},
                       {cxbsDisabled, clDefault, Bg},
                       {cxbsHot, clYellow, Sys(COLOR_HIGHLIGHT)},
                       {cxbsPressed, clNone, Sys(COLOR_HIGHLIGHT)}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.State);
    TCanvasOnSurface canvas(20, 22, Bg);
    painter->DrawNavigatorButton(canvas.Get(), r, row.State, row.Background);
    EXPECT_EQ(RingCount(canvas.Surface, r, row.Frame), RingLength(r));
    TRect face = r;
    face.Deflate(1);
    EXPECT_EQ(canvas.Surface.Count(face, Rgb(painter->ButtonColor(row.State))), face.Width() * face.Height());
  }
  EXPECT_TRUE(painter->NavigatorBorderOverlap());
  EXPECT_EQ(painter->NavigatorBorderSize(), 1);
}

}  // namespace

namespace {

TEST(SchedulerSplitters, UltraFlatBordersTwoEdgesAndFillsBetweenThem) {
  TcxViewParams params;
  params.Color = clYellow;
  for (const bool horizontal : {true, false}) {
    SCOPED_TRACE(horizontal ? "horizontal" : "vertical");
    const TRect r = horizontal ? TRect(3, 4, 27, 9) : TRect(4, 3, 9, 27);
    TCanvasOnSurface canvas(30, 30, Bg);
    UltraFlatPainter()->DrawSchedulerSplitterBorder(canvas.Get(), r, params, horizontal);
    TPixelSurface reference(30, 30, Bg);
    const COLORREF border = Sys(COLOR_BTNSHADOW);
    // The fill reaches one pixel past the ends of the edges.
    const TRect fill = horizontal ? TRect(2, 5, 28, 8) : TRect(5, 2, 8, 28);
    GdiFill(reference.DC(), fill, RGB(255, 255, 0));
    if (horizontal) {
      GdiFill(reference.DC(), TRect(3, 4, 27, 5), border);
      GdiFill(reference.DC(), TRect(3, 8, 27, 9), border);
    } else {
      GdiFill(reference.DC(), TRect(4, 3, 5, 27), border);
      GdiFill(reference.DC(), TRect(8, 3, 9, 27), border);
    }
    EXPECT_EQ(Differing(canvas.Surface, reference), 0) << canvas.Surface.Picture(Bg);
  }
}

// ---------------------------------------------------------------------------
// Data-row layouts, the day header and the navigator's glyphs

TEST(DataRowLayouts, AHotSelectionSitsOnePixelInsideAndClipsToItsBounds) {
  auto* painter = UltraFlatPainter();
  const TRect r(2, 2, 30, 20);
  TCanvasOnSurface canvas(32, 22, Bg);
  painter->DrawDataRowLayoutSelection(canvas.Get(), r, cxbsHot);
  // The item one pixel in: its shadow frame, then the hot fill.
  TRect item = r;
  item.Deflate(1);
  TPixelSurface reference(32, 22, Bg);
  GdiFill(reference.DC(), item, Sys(COLOR_GRADIENTINACTIVECAPTION));
  GdiFrame(reference.DC(), item, Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(Differing(canvas.Surface, reference), 0) << canvas.Surface.Picture(Bg);
  // The item's clip exclusions went with the call's own clip.
  canvas->FillRect(canvas.Surface.ClientRect(), clYellow);
  EXPECT_EQ(canvas.Surface.Count(RGB(255, 255, 0)), 32 * 22);

  struct TRow {
    TcxButtonState State;
    COLORREF Fill;
  };
  const TRow rows[] = {{cxbsNormal, Rgb(painter->DefaultGroupColor())},
                       {cxbsPressed, Rgb(painter->DefaultSelectionColor())},
                       {cxbsDisabled, Sys(COLOR_INACTIVECAPTION)}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.State);
    TCanvasOnSurface other(32, 22, Bg);
    painter->DrawDataRowLayoutSelection(other.Get(), r, row.State);
    EXPECT_EQ(other.Surface.Count(r, row.Fill), r.Width() * r.Height()) << "no border outside the hot state";
  }
}

TEST(DataRowLayouts, TheContentIsTheContentColourInsideItsBounds) {
  auto* painter = UltraFlatPainter();
  TCanvasOnSurface canvas(20, 20, Bg);
  painter->DrawDataRowLayoutContent(canvas.Get(), TRect(3, 4, 15, 16));
  EXPECT_EQ(canvas.Surface.Count(Rgb(painter->DefaultContentColor())), 12 * 12);
  EXPECT_EQ(canvas.Surface.BoundsOfOther(Bg), TRect(3, 4, 15, 16));
  EXPECT_EQ(painter->DefaultDataRowLayoutContentTextColor(cxbsHot),
            painter->DefaultLayoutViewContentTextColor(cxbsHot));
}

TEST(SchedulerDayHeader, TheBaseHandsTheBoundsToTheCallersBackgroundAndDrawsNothingElse) {
  auto* painter = UltraFlatPainter();
  const TRect r(1, 2, 30, 18);
  TCanvasOnSurface canvas(32, 20, Bg);
  std::vector<TRect> calls;
  painter->DrawSchedulerDayHeader(canvas.Get(), r, TRect(3, 4, 20, 16), {nLeft}, cxBordersAll(), cxbsHot,
                                  taCenter, vaCenter, false, false, L"Monday", nullptr, clRed, clBlue,
                                  DefaultScaleFactor(), [&](TcxCanvas* ACanvas, const TRect& ABounds) {
                                    EXPECT_EQ(ACanvas, canvas.Get());
                                    calls.push_back(ABounds);
                                    return true;
                                  });
  EXPECT_EQ(calls, std::vector<TRect>{r});
  EXPECT_EQ(canvas.Surface.CountOther(canvas.Surface.ClientRect(), Bg), 0);
  // Without a background event nothing at all happens.
  painter->DrawSchedulerDayHeader(canvas.Get(), r, r, {}, cxBordersAll(), cxbsNormal, taLeftJustify, vaTop, false,
                                  false, L"Monday", nullptr, clRed, clBlue, DefaultScaleFactor());
  EXPECT_EQ(canvas.Surface.CountOther(canvas.Surface.ClientRect(), Bg), 0);
}

// A list of 11 x 11 solid squares, one per colour.
TOwned<TImageList> SolidList(const std::vector<COLORREF>& AColors) {
  TOwned<TImageList> list(New<TImageList>(nullptr));
  list->SetSize(11, 11);
  for (const COLORREF color : AColors) list->Add(SolidGlyph(11, 11, color).get(), nullptr);
  return list;
}

TEST(NavigatorGlyphs, AnEnabledGlyphIsDrawnAsItIsADisabledOneGreyed) {
  auto* painter = UltraFlatPainter();
  const auto list = SolidList({RGB(255, 0, 0), RGB(0, 0, 200)});
  const TRect glyph(4, 5, 15, 16);
  TCanvasOnSurface enabled(20, 20, Bg);
  painter->DrawNavigatorButtonGlyph(enabled.Get(), list.get(), 1, glyph, true, false);
  EXPECT_EQ(enabled.Surface.Count(glyph, RGB(0, 0, 200)), 121) << enabled.Surface.Picture(Bg);
  EXPECT_EQ(enabled.Surface.Count(Bg), 20 * 20 - 121) << "nothing outside the glyph";
  TCanvasOnSurface disabled(20, 20, Bg);
  painter->DrawNavigatorButtonGlyph(disabled.Get(), list.get(), 1, glyph, false, false);
  EXPECT_EQ(disabled.Surface.Count(RGB(0, 0, 200)), 0);
  EXPECT_GT(disabled.Surface.CountOther(glyph, Bg), 0) << "something greyed";
}

TEST(NavigatorGlyphs, SpreadsheetGroupButtonsShowItemEightExpandedAndSixCollapsed) {
  auto* painter = UltraFlatPainter();
  std::vector<COLORREF> colors(9, RGB(0, 0, 0));
  colors[6] = RGB(255, 0, 0);
  colors[8] = RGB(0, 255, 0);
  const auto list = SolidList(colors);
  const TRect r(0, 0, 21, 21);
  TCanvasOnSurface expanded(21, 21, Bg);
  painter->DrawSpreadSheetGroupExpandButtonGlyph(expanded.Get(), r, cxbsNormal, true, list.get());
  EXPECT_EQ(expanded.Surface.BoundsOf(RGB(0, 255, 0)), TRect(5, 5, 16, 16)) << "11 x 11, centred";
  TCanvasOnSurface collapsed(21, 21, Bg);
  painter->DrawSpreadSheetGroupExpandButtonGlyph(collapsed.Get(), r, cxbsNormal, false, list.get());
  EXPECT_EQ(collapsed.Surface.BoundsOf(RGB(255, 0, 0)), TRect(5, 5, 16, 16));
  EXPECT_EQ(collapsed.Surface.Count(RGB(0, 255, 0)), 0);
}

}  // namespace
