#include "library/controls/container/cxContainer.h"

#include "library/core/system/dxThemeManager.h"
#include "platform/ui/Graphics.h"

#include "tests/support/Pixels.h"

#include <gtest/gtest.h>

#include <uxtheme.h>
#include <vssym32.h>

namespace {

COLORREF Sys(int AIndex) { return GetSysColor(AIndex); }

// A view info over the painter of a look-and-feel of the kind, with the
// rectangles a container of ABounds computes for the border width.
struct ViewInfoPaint : testing::Test {
  TOwned<TcxLookAndFeel> LookAndFeel{New<TcxLookAndFeel>(nullptr)};
  TOwned<TcxContainerViewInfo> ViewInfo{New<TcxContainerViewInfo>()};
  COLORREF Outside = RGB(1, 2, 3);

  void SetUp() override {
    LookAndFeel->SetNativeStyle(false);
    LookAndFeel->SetKind(lfUltraFlat);
    ViewInfo->Painter = LookAndFeel->Painter();
  }

  void Prepare(const TRect& ABounds, const TRect& AExtents, TcxContainerBorderStyle AStyle, TColor ABorderColor) {
    ViewInfo->Bounds = ABounds;
    ViewInfo->BorderRect = TRect(ABounds.Left + AExtents.Left, ABounds.Top + AExtents.Top,
                                 ABounds.Right - AExtents.Right, ABounds.Bottom - AExtents.Bottom);
    ViewInfo->ClientRect = ViewInfo->BorderRect;
    ViewInfo->BorderStyle = AStyle;
    ViewInfo->BorderWidth = LookAndFeel->Painter()->GetContainerBorderWidth(AStyle);
    ViewInfo->BorderColor = ABorderColor;
    ViewInfo->SetBackgroundColor(clWindow);
    ViewInfo->SetCalculated(true);
  }

  void PaintOn(TPixelSurface& ASurface) {
    ASurface.Fill(Outside);
    TOwned<TCanvas> canvas(New<TCanvas>());
    const TCanvasDCScope scope(canvas.get(), ASurface.DC());
    TOwned<TcxCanvas> cxCanvas(New<TcxCanvas>(canvas.get()));
    ViewInfo->Paint(cxCanvas.get());
  }
};

// The ring one pixel outside R, on the sides given.
int RingPixels(const TRect& R, bool ARight = true) {
  const int w = R.Width() + 1 + (ARight ? 1 : 0);
  return 2 * w + 2 * R.Height() - (ARight ? 0 : R.Height());
}

TEST_F(ViewInfoPaint, SingleBorderIsAOnePixelRingAroundTheBackground) {
  for (TColor color : {clBtnShadow, clHighlight}) {
    SCOPED_TRACE(static_cast<int>(color));
    ViewInfo->Edges = cxBordersAll();
    Prepare(TRect(0, 0, 40, 20), TRect(2, 2, 2, 2), cbsSingle, color);
    TPixelSurface s(40, 20);
    PaintOn(s);
    const COLORREF ring = Sys(color == clBtnShadow ? COLOR_BTNSHADOW : COLOR_HIGHLIGHT);
    EXPECT_EQ(s.BoundsOf(ring), TRect(1, 1, 39, 19)) << s.Picture(Outside);
    EXPECT_EQ(s.Count(ring), RingPixels(TRect(2, 2, 38, 18)));
    EXPECT_EQ(s.Count(TRect(2, 2, 38, 18), Sys(COLOR_WINDOW)), 36 * 16);
    // The transparent margin's outer pixel is left to the parent.
    EXPECT_EQ(s.Count(Outside), 2 * 40 + 2 * 18);
  }
}

TEST_F(ViewInfoPaint, EdgesWithoutRightLeaveTheRightSideUndrawn) {
  ViewInfo->Edges = {bLeft, bTop, bBottom};
  // No border width is reserved on the right: BorderRect reaches the edge.
  Prepare(TRect(0, 0, 30, 12), TRect(1, 1, 0, 1), cbsSingle, clBtnShadow);
  TPixelSurface s(30, 12);
  PaintOn(s);
  const COLORREF ring = Sys(COLOR_BTNSHADOW);
  EXPECT_EQ(s.BoundsOf(ring), TRect(0, 0, 30, 12)) << s.Picture(Outside);
  for (int y = 1; y < 11; ++y) EXPECT_EQ(s.Pixel(29, y), Sys(COLOR_WINDOW)) << y;
  EXPECT_EQ(s.Count(TRect(1, 1, 30, 11), Sys(COLOR_WINDOW)), 29 * 10);
  EXPECT_EQ(s.Count(Outside), 0);
}

TEST_F(ViewInfoPaint, ShadowFillsThreePixelsRightAndBelowTheRing) {
  ViewInfo->Edges = cxBordersAll();
  ViewInfo->Shadow = true;
  // Border extents grow by the shadow on the right and at the bottom.
  Prepare(TRect(0, 0, 40, 24), TRect(1, 1, 1 + 3, 1 + 3), cbsSingle, clBtnShadow);
  TPixelSurface s(40, 24);
  PaintOn(s);
  const COLORREF shadow = Sys(COLOR_BTNSHADOW);
  // BorderRect (1, 1, 36, 20), the ring (0, 0, 37, 21); the shadow strips
  // (3, 21, 37, 24) and (37, 3, 40, 24) leave two 3 x 3 corners to the parent.
  EXPECT_EQ(s.Count(TRect(3, 21, 37, 24), shadow), 34 * 3) << s.Picture(Outside);
  EXPECT_EQ(s.Count(TRect(37, 3, 40, 24), shadow), 3 * 21);
  EXPECT_EQ(s.Count(TRect(37, 0, 40, 3), Outside), 3 * 3);
  EXPECT_EQ(s.Count(TRect(0, 21, 3, 24), Outside), 3 * 3);
  EXPECT_EQ(s.Count(TRect(0, 0, 37, 21), shadow), RingPixels(TRect(1, 1, 36, 20)));
  EXPECT_EQ(s.Count(TRect(1, 1, 36, 20), Sys(COLOR_WINDOW)), 35 * 19);
  EXPECT_EQ(s.Count(Outside), 2 * 9);
}

TEST_F(ViewInfoPaint, OffsetMovesOnlyACalculatedViewInfo) {
  ViewInfo->Bounds = TRect(0, 0, 10, 10);
  ViewInfo->Offset(5, 5);
  EXPECT_EQ(ViewInfo->Bounds, TRect(0, 0, 10, 10));
  ViewInfo->SetCalculated(true);
  ViewInfo->ClientRect = TRect(1, 1, 9, 9);
  ViewInfo->Offset(5, -1);
  EXPECT_EQ(ViewInfo->Bounds, TRect(5, -1, 15, 9));
  EXPECT_EQ(ViewInfo->ClientRect, TRect(6, 0, 14, 8));
  TOwned<TcxContainerViewInfo> copy(New<TcxContainerViewInfo>());
  copy->Assign(ViewInfo.get());
  EXPECT_EQ(copy->ClientRect, ViewInfo->ClientRect);
  EXPECT_EQ(copy->Bounds, TRect());
  EXPECT_TRUE(ViewInfo->GetUpdateRegion(copy.get())->IsEmpty());
}

// Natively the theme's edit frame: the same pixels as the theme drawing the
// edit part on the same kind of surface.
TEST_F(ViewInfoPaint, NativeBorderEqualsTheThemedEdit) {
  const HTHEME theme = OpenTheme(totEdit);
  ASSERT_NE(theme, nullptr);
  for (int state : {ETS_NORMAL, ETS_HOT, ETS_DISABLED, ETS_FOCUSED}) {
    SCOPED_TRACE(state);
    COLORREF fill = Sys(COLOR_WINDOW);
    if (state == ETS_DISABLED) GetThemeColor(theme, EP_EDITTEXT, state, TMT_FILLCOLOR, &fill);
    ViewInfo->NativeStyle = true;
    ViewInfo->ThemedObjectType = totEdit;
    ViewInfo->NativeState = state;
    Prepare(TRect(0, 0, 100, 20), TRect(2, 2, 2, 2), cbsSingle, clDefault);
    ViewInfo->SetBackgroundColor(static_cast<TColor>(fill));
    TPixelSurface s(100, 20);
    PaintOn(s);
    TPixelSurface reference(100, 20, Outside);
    const RECT r{0, 0, 100, 20};
    ASSERT_EQ(DrawThemeBackground(theme, reference.DC(), EP_EDITTEXT, state, &r, nullptr), S_OK);
    int differing = 0;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 100; ++x) differing += s.Pixel(x, y) != reference.Pixel(x, y);
    EXPECT_EQ(differing, 0) << s.Picture(Outside);
  }
}

TEST_F(ViewInfoPaint, NativeWithoutBorderFillsTheBounds) {
  ViewInfo->NativeStyle = true;
  Prepare(TRect(0, 0, 20, 10), TRect(2, 2, 2, 2), cbsNone, clDefault);
  ViewInfo->SetBackgroundColor(clRed);
  TPixelSurface s(20, 10);
  PaintOn(s);
  EXPECT_EQ(s.Count(RGB(255, 0, 0)), 200);
}

}  // namespace
