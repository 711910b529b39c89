#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"

#include "library/core/colors/dxCoreGraphics.h"
#include "tests/library_lookandfeel/PainterTesting.h"
#include "tests/library_lookandfeel/SurfaceComparing.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TcxCustomLookAndFeelPainter* Standard() { return GetPaintersManager()->GetPainter(lfsStandard); }

constexpr int W = 40;
constexpr int H = 30;
const TRect Part(3, 4, 35, 26);

// What the system draws with DrawEdge on a surface like the painter's.
TPixelSurface SystemEdge(const TRect& R, UINT AEdge, UINT AFlags) {
  TPixelSurface s(W, H, Bg);
  RECT r = R;
  DrawEdge(s.DC(), &r, AEdge, AFlags);
  return s;
}

TEST(StandardPainter, NamesItselfAndIsFiledUnderItsStyle) {
  ASSERT_NE(Standard(), nullptr);
  EXPECT_TRUE(Is<TcxStandardLookAndFeelPainter>(Standard()));
  EXPECT_EQ(Standard()->LookAndFeelName(), L"Standard");
  EXPECT_FALSE(Standard()->IsButtonHotTrack());
}

TEST(StandardPainter, TheNormalButtonIsTheSystemsPushButton) {
  TCanvasOnSurface canvas(W, H, Bg);
  Standard()->DrawScaledButton(canvas.Get(), Part, cxbsNormal, DefaultScaleFactor(), cxbpButton, clDefault);
  TPixelSurface system(W, H, Bg);
  RECT r = Part;
  DrawFrameControl(system.DC(), &r, DFC_BUTTON, DFCS_BUTTONPUSH);
  EXPECT_EQ(DifferingPixels(canvas.Surface, system), 0) << canvas.Surface.Picture(Bg);
}

// Each classic frame against the system's edge of the same kind.
TEST(StandardPainter, FramesAreTheSystemsEdges) {
  struct TRow {
    const char* Name;
    void (*Draw)(TcxCanvas* ACanvas, const TRect& R);
    UINT Edge;
    UINT Flags;
  };
  const TRow rows[] = {
      {"border", [](TcxCanvas* C, const TRect& R) { Standard()->DrawBorder(C, R); }, EDGE_SUNKEN, BF_RECT},
      {"check border", [](TcxCanvas* C, const TRect& R) { Standard()->DrawCheckBorder(C, R, cxbsNormal); },
       EDGE_SUNKEN, BF_RECT},
      {"hot button border", [](TcxCanvas* C, const TRect& R) { Standard()->DrawButtonBorder(C, R, cxbsHot); },
       EDGE_RAISED, BF_RECT | BF_SOFT},
      {"header section",
       [](TcxCanvas* C, const TRect& R) { Standard()->DrawHeaderControlSectionBorder(C, R, cxBordersAll(), cxbsHot); },
       EDGE_RAISED, BF_RECT | BF_SOFT},
      {"header section, left and top",
       [](TcxCanvas* C, const TRect& R) {
         Standard()->DrawHeaderControlSectionBorder(C, R, TcxBorders{bLeft, bTop}, cxbsNormal);
       },
       EDGE_RAISED, BF_LEFT | BF_TOP | BF_SOFT},
      {"footer", [](TcxCanvas* C, const TRect& R) { Standard()->DrawFooterBorder(C, R); }, BDR_RAISEDOUTER, BF_RECT},
      {"footer cell", [](TcxCanvas* C, const TRect& R) { Standard()->DrawFooterCellBorder(C, R); }, BDR_SUNKENINNER,
       BF_RECT},
      {"tabs root",
       [](TcxCanvas* C, const TRect& R) { Standard()->DrawTabsRoot(C, R, TcxBorders{bLeft, bTop, bRight}, false); },
       BDR_RAISEDOUTER, BF_LEFT | BF_TOP | BF_RIGHT},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TCanvasOnSurface canvas(W, H, Bg);
    row.Draw(canvas.Get(), Part);
    EXPECT_EQ(DifferingPixels(canvas.Surface, SystemEdge(Part, row.Edge, row.Flags)), 0)
        << canvas.Surface.Picture(Bg);
  }
}

TEST(StandardPainter, PressedAndDefaultButtonsHaveABlackFrameOutside) {
  struct TRow {
    TcxButtonState State;
    int Size;
  };
  for (const TRow& row : {TRow{cxbsPressed, 2}, TRow{cxbsDefault, 3}}) {
    SCOPED_TRACE(row.State);
    EXPECT_EQ(Standard()->ButtonBorderSize(row.State), row.Size);
    TCanvasOnSurface canvas(W, H, Bg);
    Standard()->DrawButtonBorder(canvas.Get(), Part, row.State);
    EXPECT_EQ(RingCount(canvas.Surface, Part, RGB(0, 0, 0)), RingLength(Part));
    TRect inner = Part;
    inner.Deflate(1);
    if (row.State == cxbsPressed) {
      EXPECT_EQ(RingCount(canvas.Surface, inner, Sys(COLOR_BTNSHADOW)), RingLength(inner));
    } else {
      // The raised frames of any other button, a pixel further in.
      EXPECT_EQ(DifferingPixels(canvas.Surface, SystemEdge(inner, EDGE_RAISED, BF_RECT | BF_SOFT), inner), 0);
    }
  }
  EXPECT_EQ(Standard()->ButtonBorderSize(cxbsNormal), 2);
}

TEST(StandardPainter, APressedCaptionMovesOnePixelRightAndDown) {
  const auto captionBounds = [](TcxCustomLookAndFeelPainter* APainter, TcxButtonState AState) {
    TCanvasOnSurface canvas(80, 30, Bg);
    APainter->DrawScaledButton(canvas.Get(), TRect(0, 0, 80, 30), L"Ok", AState, DefaultScaleFactor(), false,
                               static_cast<TColor>(Bg), static_cast<TColor>(RGB(0, 0, 0)));
    return canvas.Surface.BoundsOf(RGB(0, 0, 0));
  };
  TRect normal = captionBounds(Standard(), cxbsNormal);
  ASSERT_FALSE(normal.IsEmpty());
  normal.Offset(1, 1);
  EXPECT_EQ(captionBounds(Standard(), cxbsPressed), normal);
  EXPECT_EQ(captionBounds(UltraFlatPainter(), cxbsPressed), captionBounds(UltraFlatPainter(), cxbsNormal));
}

TEST(StandardPainter, TheGroupBoxFrameIsEtched) {
  // The shadow frame and, a pixel down-right, the highlight frame, drawn
  // with the system's own frame routine.
  const auto expected = [](const TRect& R, TcxBorders ABorders) {
    TPixelSurface s(W, H, Bg);
    const auto frame = [&](TRect F, int AColor) {
      const HBRUSH brush = GetSysColorBrush(AColor);
      if (ABorders == cxBordersAll()) {
        RECT r = F;
        FrameRect(s.DC(), &r, brush);
        return;
      }
      // Only the left and top sides.
      RECT left = TRect(F.Left, F.Top, F.Left + 1, F.Bottom);
      RECT top = TRect(F.Left, F.Top, F.Right, F.Top + 1);
      FillRect(s.DC(), &left, brush);
      FillRect(s.DC(), &top, brush);
    };
    frame(TRect(R.Left, R.Top, R.Right - 1, R.Bottom - 1), COLOR_BTNSHADOW);
    frame(TRect(R.Left + 1, R.Top + 1, R.Right, R.Bottom), COLOR_BTNHIGHLIGHT);
    return s;
  };
  for (const TcxBorders borders : {cxBordersAll(), TcxBorders{bLeft, bTop}}) {
    TCanvasOnSurface canvas(W, H, Bg);
    Standard()->DrawGroupBoxFrame(canvas.Get(), Part, true, cxgpTop, borders);
    EXPECT_EQ(DifferingPixels(canvas.Surface, expected(Part, borders)), 0) << canvas.Surface.Picture(Bg);
  }
}

TEST(StandardPainter, TheExpandButtonIsARaisedBoxWithASunkenInnerEdge) {
  EXPECT_EQ(Standard()->ScaledExpandButtonSize(DefaultScaleFactor()), 12);
  const TRect r(2, 2, 14, 14);
  TCanvasOnSurface canvas(16, 16, Bg);
  Standard()->DrawScaledExpandButton(canvas.Get(), r, false, DefaultScaleFactor(), static_cast<TColor>(Red));
  TPixelSurface system(16, 16, Bg);
  RECT outer = r;
  DrawEdge(system.DC(), &outer, BDR_RAISEDOUTER, BF_RECT);
  RECT inner = TRect(3, 3, 13, 13);
  DrawEdge(system.DC(), &inner, BDR_SUNKENINNER, BF_RECT);
  TRect face = r;
  face.Deflate(2);
  EXPECT_EQ(DifferingPixels(canvas.Surface, system, TRect(0, 0, 16, 16)) - DifferingPixels(canvas.Surface, system, face),
            0)
      << canvas.Surface.Picture(Bg);
  // Inside: the fill around the plus.
  const int red = canvas.Surface.Count(face, Red);
  const int mark = canvas.Surface.Count(face, Sys(COLOR_BTNTEXT));
  EXPECT_GT(red, 0);
  EXPECT_GT(mark, 0);
  EXPECT_EQ(red + mark, face.Width() * face.Height());
}

// Scroll bars: the arrow buttons are the system's frame controls inside the
// thumb's frames.
TEST(StandardPainter, ScrollArrowsAreTheSystemsFrameControls) {
  struct TRow {
    bool Horizontal;
    TcxScrollBarPart Part;
    TcxButtonState State;
    UINT Kind;
  };
  const TRow rows[] = {{false, sbpLineUp, cxbsNormal, DFCS_SCROLLUP},
                       {false, sbpLineDown, cxbsHot, DFCS_SCROLLDOWN},
                       {true, sbpLineUp, cxbsDisabled, DFCS_SCROLLLEFT | DFCS_INACTIVE},
                       {true, sbpLineDown, cxbsPressed, DFCS_SCROLLRIGHT | DFCS_FLAT | DFCS_PUSHED}};
  const TRect r(2, 2, 19, 19);
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Kind);
    TCanvasOnSurface canvas(21, 21, Bg);
    Standard()->DrawScaledScrollBarPart(canvas.Get(), row.Horizontal, r, row.Part, row.State, DefaultScaleFactor());
    TPixelSurface system(21, 21, Bg);
    RECT sr = r;
    DrawFrameControl(system.DC(), &sr, DFC_SCROLL, row.Kind);
    TRect inside = r;
    inside.Deflate(2);
    EXPECT_EQ(DifferingPixels(canvas.Surface, system, inside), 0) << canvas.Surface.Picture(Bg);
    const bool pressed = row.State == cxbsPressed;
    EXPECT_EQ(canvas.Surface.Pixel(2, 2), Sys(pressed ? COLOR_BTNSHADOW : COLOR_BTNFACE));
    EXPECT_EQ(canvas.Surface.Pixel(18, 18), Sys(pressed ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW));
    EXPECT_EQ(canvas.Surface.Pixel(3, 3), Sys(pressed ? COLOR_BTNFACE : COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(canvas.Surface.Pixel(17, 17), Sys(pressed ? COLOR_BTNFACE : COLOR_BTNSHADOW));
  }
}

TEST(StandardPainter, ScrollThumbs) {
  const TRect r(2, 2, 19, 30);
  const auto draw = [&](TcxButtonState AState) {
    TCanvasOnSurface canvas(21, 32, Bg);
    Standard()->DrawScaledScrollBarPart(canvas.Get(), false, r, sbpThumbnail, AState, DefaultScaleFactor());
    return canvas;
  };
  EXPECT_TRUE(draw(cxbsDisabled).Surface.BoundsOfOther(Bg).IsEmpty());
  EXPECT_EQ(DifferingPixels(draw(cxbsHot).Surface, draw(cxbsNormal).Surface), 0);
  const TCanvasOnSurface normal = draw(cxbsNormal);
  TRect face = r;
  face.Deflate(2);
  EXPECT_EQ(normal.Surface.Count(face, Sys(COLOR_BTNFACE)), face.Width() * face.Height());
  EXPECT_EQ(normal.Surface.Pixel(18, 29), Sys(COLOR_3DDKSHADOW));
  EXPECT_EQ(normal.Surface.CountOther(TRect(0, 0, 21, 32), Bg), r.Width() * r.Height());
  // Nothing at all for an empty rectangle.
  TCanvasOnSurface empty(21, 32, Bg);
  Standard()->DrawScaledScrollBarPart(empty.Get(), false, TRect(2, 2, 19, 2), sbpLineUp, cxbsNormal,
                                      DefaultScaleFactor());
  EXPECT_TRUE(empty.Surface.BoundsOfOther(Bg).IsEmpty());
}

TEST(StandardPainter, TokensAndToggleSwitch) {
  struct TRow {
    TcxButtonState State;
    int InnerLeftTop;  // -1: no inner frame
    int InnerRightBottom;
  };
  const TRow rows[] = {{cxbsNormal, -1, -1},
                       {cxbsHot, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW},
                       {cxbsPressed, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.State);
    TCanvasOnSurface canvas(W, H, Bg);
    Standard()->DrawScaledTokenBackground(canvas.Get(), Part, row.State, DefaultScaleFactor());
    EXPECT_EQ(canvas.Surface.Pixel(Part.Left, Part.Top + 5), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(canvas.Surface.Pixel(Part.Right - 1, Part.Top + 5), Sys(COLOR_BTNHIGHLIGHT));
    if (row.InnerLeftTop < 0) {
      EXPECT_EQ(canvas.Surface.Pixel(Part.Left + 1, Part.Top + 5), Bg);
    } else {
      EXPECT_EQ(canvas.Surface.Pixel(Part.Left + 1, Part.Top + 5), Sys(row.InnerLeftTop));
      EXPECT_EQ(canvas.Surface.Pixel(Part.Right - 2, Part.Top + 5), Sys(row.InnerRightBottom));
    }
  }
  for (const bool checked : {false, true}) {
    TCanvasOnSurface canvas(W, H, Bg);
    Standard()->DrawScaledToggleSwitchState(canvas.Get(), Part, cxbsNormal, checked, DefaultScaleFactor());
    TRect inner = Part;
    inner.Deflate(2);
    EXPECT_EQ(canvas.Surface.Count(inner, checked ? RGB(33, 153, 33) : RGB(227, 227, 227)),
              inner.Width() * inner.Height());
    EXPECT_EQ(canvas.Surface.Count(Part, RGB(105, 105, 105)), Part.Width() * Part.Height() - inner.Width() * inner.Height());
  }
}

TEST(StandardPainter, HeaderFooterAndTabSizes) {
  const auto twice = ScaleFactorOf(2, 1);
  EXPECT_EQ(Standard()->HeaderBorderSize(), 1);
  EXPECT_EQ(Standard()->HeaderControlSectionBorderSize(cxbsNormal), 2);
  EXPECT_EQ(Standard()->HeaderControlSectionBorderSize(cxbsPressed), 1);
  EXPECT_EQ(Standard()->ScaledSortingMarkSize(twice.get()), TSize(16, 14));
  EXPECT_EQ(Standard()->ScaledSummarySortingMarkSize(twice.get()), TSize(16, 16));
  EXPECT_EQ(Standard()->FooterBorderSize(), 1);
  EXPECT_EQ(Standard()->FooterCellBorderSize(), 1);
  EXPECT_EQ(Standard()->FooterCellOffset(), 1);
  EXPECT_EQ(Standard()->TabBorderSize(true), 1);
}

TEST(StandardPainter, APressedHeaderSectionIsOneShadowFrameOnItsBorders) {
  for (const TcxBorders borders : {cxBordersAll(), TcxBorders{bTop, bRight}}) {
    TCanvasOnSurface canvas(W, H, Bg);
    Standard()->DrawHeaderControlSectionBorder(canvas.Get(), Part, borders, cxbsPressed);
    TPixelSurface system(W, H, Bg);
    for (const TcxBorder side : {bLeft, bTop, bRight, bBottom}) {
      if (!borders.Contains(side)) continue;
      TRect line = Part;
      if (side == bLeft) line.Right = line.Left + 1;
      if (side == bRight) line.Left = line.Right - 1;
      if (side == bTop) line.Bottom = line.Top + 1;
      if (side == bBottom) line.Top = line.Bottom - 1;
      RECT r = line;
      FillRect(system.DC(), &r, GetSysColorBrush(COLOR_BTNSHADOW));
    }
    EXPECT_EQ(DifferingPixels(canvas.Surface, system), 0) << canvas.Surface.Picture(Bg);
  }
}

TEST(StandardPainter, SortingMarksAreInTheButtonHighlightAndShadow) {
  for (const bool summary : {false, true}) {
    for (const bool ascending : {false, true}) {
      SCOPED_TRACE(testing::Message() << "summary " << summary << " ascending " << ascending);
      TCanvasOnSurface canvas(W, H, Bg);
      if (summary)
        Standard()->DrawScaledSummarySortingMark(canvas.Get(), Part, ascending, DefaultScaleFactor());
      else
        Standard()->DrawScaledSortingMark(canvas.Get(), Part, ascending, DefaultScaleFactor());
      const int shadow = canvas.Surface.Count(Sys(COLOR_BTNSHADOW));
      const int light = canvas.Surface.Count(Sys(COLOR_BTNHIGHLIGHT));
      EXPECT_GT(shadow, 0);
      EXPECT_GT(light, 0);
      EXPECT_EQ(shadow + light, canvas.Surface.CountOther(canvas.Surface.ClientRect(), Bg));
    }
  }
}

TEST(StandardPainter, TheFindPanelHasNoBorder) {
  TCanvasOnSurface canvas(W, H, Bg);
  Standard()->DrawFindPanelBorder(canvas.Get(), Part, cxBordersAll());
  EXPECT_TRUE(canvas.Surface.BoundsOfOther(Bg).IsEmpty());
}

}  // namespace

namespace {

// The pixels of a two-pixel ring just inside R that differ.
int DifferingInRing(const TPixelSurface& A, const TPixelSurface& B, const TRect& R) {
  TRect inner = R;
  inner.Deflate(2);
  return DifferingPixels(A, B, R) - DifferingPixels(A, B, inner);
}

// The track is sunken like an edit's border; a two-sided thumb is raised
// like a push button's frame (whose face the thumb leaves alone).
TEST(StandardPainter, TrackBarBordersAreTheSystemsEdges) {
  TCanvasOnSurface track(W, H, Bg);
  Standard()->DrawTrackBarTrackBounds(track.Get(), Part);
  EXPECT_EQ(DifferingPixels(track.Surface, SystemEdge(Part, EDGE_SUNKEN, BF_RECT)), 0) << track.Surface.Picture(Bg);

  TCanvasOnSurface thumb(W, H, Bg);
  Standard()->DrawTrackBarThumbBorderBoth(thumb.Get(), Part);
  TPixelSurface button(W, H, Bg);
  RECT r = Part;
  DrawFrameControl(button.DC(), &r, DFC_BUTTON, DFCS_BUTTONPUSH);
  EXPECT_EQ(DifferingInRing(thumb.Surface, button, Part), 0) << thumb.Surface.Picture(Bg);
  TRect inside = Part;
  inside.Deflate(2);
  EXPECT_EQ(thumb.Surface.CountOther(inside, Bg), 0);

  const TPoint light[] = {{5, 20}, {5, 6}, {20, 6}};
  const TPoint shadow[] = {{21, 7}, {21, 20}};
  const TPoint dark[] = {{22, 6}, {22, 21}, {5, 21}};
  TCanvasOnSurface outline(W, H, Bg);
  Standard()->DrawTrackBarThumbBorderUpDown(outline.Get(), light, shadow, dark);
  TPixelSurface gdi(W, H, Bg);
  GdiPolyline(gdi.DC(), light, Sys(COLOR_BTNHIGHLIGHT));
  GdiPolyline(gdi.DC(), shadow, Sys(COLOR_BTNSHADOW));
  GdiPolyline(gdi.DC(), dark, Sys(COLOR_3DDKSHADOW));
  EXPECT_EQ(DifferingPixels(outline.Surface, gdi), 0) << outline.Surface.Picture(Bg);
}

// Two lines on each long side, the view's colour between them.
// A month header: the raised inner edge, the view's colour inside with the
// text centred, the corners softened where a neighbour joins, and the
// arrows of the shared routine at the ends.
TEST(StandardPainter, AMonthHeaderIsARaisedHeaderWithCentredText) {
  const TRect r(2, 3, 38, 24);
  struct TRow {
    const char* Name;
    TcxNeighbors Neighbors;
    std::vector<TPoint> FacePixels;  // the edge's pixels taking the face colour
  };
  const TRow rows[] = {
      {"alone", {}, {}},
      {"left neighbour", {nLeft}, {TPoint(2, 4), TPoint(2, 22)}},
      {"right neighbour", {nRight}, {TPoint(37, 4), TPoint(37, 22)}},
  };
  TcxViewParams params;
  params.Color = clYellow;
  params.TextColor = clBlue;
  for (const TRow& row : rows) {
    for (const bool withText : {false, true}) {
      SCOPED_TRACE(testing::Message() << row.Name << (withText ? ", with text" : ""));
      TCanvasOnSurface canvas(W, H, Bg);
      params.Font = canvas->Font();
      Standard()->DrawScaledMonthHeader(canvas.Get(), r, withText ? L"May" : L"", row.Neighbors, params, {}, 0,
                                        DefaultScaleFactor());
      TPixelSurface system = SystemEdge(r, BDR_RAISEDINNER, BF_RECT);
      TRect inner = r;
      inner.Deflate(1);
      GdiFill(system.DC(), inner, RGB(255, 255, 0));
      for (const TPoint& p : row.FacePixels) SetPixel(system.DC(), p.X, p.Y, Sys(COLOR_BTNFACE));
      // Where a neighbour joins on the right, the top corner is light.
      if (row.Neighbors.Contains(nRight)) SetPixel(system.DC(), r.Right - 1, r.Top, Sys(COLOR_BTNHIGHLIGHT));
      if (withText) {
        const HGDIOBJ old = SelectObject(system.DC(), canvas->Font()->Handle());
        SetBkMode(system.DC(), TRANSPARENT);
        SetTextColor(system.DC(), RGB(0, 0, 255));
        RECT text = r;
        DrawTextW(system.DC(), L"May", 3, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        SelectObject(system.DC(), old);
        GdiFlush();
      }
      EXPECT_EQ(DifferingPixels(canvas.Surface, system), 0) << canvas.Surface.Picture(Bg);
    }
  }
  // With arrows, the ends gain them and nothing else changes.
  TCanvasOnSurface plain(W, H, Bg);
  Standard()->DrawScaledMonthHeader(plain.Get(), r, L"", {}, params, {}, 0, DefaultScaleFactor());
  TCanvasOnSurface arrows(W, H, Bg);
  Standard()->DrawScaledMonthHeader(arrows.Get(), r, L"", {}, params, {adLeft, adRight}, 0, DefaultScaleFactor());
  Standard()->DrawMonthHeaderArrows(plain.Get(), r, {adLeft, adRight}, 0, clWindowText);
  EXPECT_EQ(DifferingPixels(arrows.Surface, plain.Surface), 0);
  EXPECT_GT(arrows.Surface.Count(Sys(COLOR_WINDOWTEXT)), 0);
}

TEST(StandardPainter, SchedulerSplittersHaveTwoLinesOnEachLongSide) {
  TcxViewParams params;
  params.Color = clYellow;
  for (const bool horizontal : {true, false}) {
    SCOPED_TRACE(horizontal ? "horizontal" : "vertical");
    const TRect r = horizontal ? TRect(3, 4, 27, 11) : TRect(4, 3, 11, 27);
    TCanvasOnSurface canvas(W, H, Bg);
    Standard()->DrawSchedulerSplitterBorder(canvas.Get(), r, params, horizontal);
    TPixelSurface reference(W, H, Bg);
    GdiFill(reference.DC(), r, RGB(255, 255, 0));
    const COLORREF colours[] = {Sys(COLOR_BTNFACE), Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNSHADOW), Sys(COLOR_3DDKSHADOW)};
    // Rows (or columns) from the first long side to the second.
    const int lines[] = {0, 1, -2, -1};
    for (int i = 0; i < 4; ++i) {
      if (horizontal) {
        const int y = lines[i] >= 0 ? r.Top + lines[i] : r.Bottom + lines[i];
        GdiFill(reference.DC(), TRect(r.Left, y, r.Right, y + 1), colours[i]);
      } else {
        const int x = lines[i] >= 0 ? r.Left + lines[i] : r.Right + lines[i];
        GdiFill(reference.DC(), TRect(x, r.Top, x + 1, r.Bottom), colours[i]);
      }
    }
    EXPECT_EQ(DifferingPixels(canvas.Surface, reference), 0) << canvas.Surface.Picture(Bg);
  }
}

}  // namespace
