#include "library/controls/control/cxControls.h"

#include "tests/library_controls/ControlsTesting.h"
#include "tests/library_controls/OverlayScrollBarsTesting.h"
#include "tests/support/GuiLeaks.h"
#include "tests/support/Pixels.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>


namespace {

TRect ScreenClientRect(HWND AWnd) {
  RECT r{};
  GetClientRect(AWnd, &r);
  MapWindowPoints(AWnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return TRect(r.left, r.top, r.right, r.bottom);
}

TRect WindowRect(HWND AWnd) {
  RECT r{};
  GetWindowRect(AWnd, &r);
  return TRect(r.left, r.top, r.right, r.bottom);
}

struct TOverlayBars : testing::Test {
  TOwned<TForm> Form;
  TOverlayControl* Control = nullptr;

  void Make(TdxScrollbarMode AMode, bool ARightToLeft = false) {
    Form.reset(NewShownForm(TRect(60, 60, 560, 460)));
    Control = New<TOverlayControl>(Form.get());
    Control->LookAndFeel()->SetScrollbarMode(AMode);
    if (ARightToLeft) Control->SetBiDiMode(bdRightToLeft);
    Control->SetParent(Form.get());
    Control->SetBounds(20, 20, 200, 150);
    Control->HandleNeeded();
    PumpPending();
  }
  void TearDown() override { Form.reset(); }

  TcxControlPopupScrollBar* Bar(TScrollBarKind AKind) {
    IcxControlScrollBar* bar = AKind == sbHorizontal ? Control->GetHorzScrollBar() : Control->GetVertScrollBar();
    return bar ? dynamic_cast<TcxControlPopupScrollBar*>(bar->GetControl()) : nullptr;
  }
};

// ---------------------------------------------------------------------------
// Mode

TEST_F(TOverlayBars, ModeFollowsTheLookAndFeelAsFarAsTheControlAllows) {
  struct TCase {
    const char* Name;
    bool Overlay, Hybrid;
    TdxScrollbarMode Asked, Resolved;
  };
  Make(sbmClassic);
  for (const TCase& c : {
           TCase{"no overlay bars: classic whatever is asked", false, true, sbmHybrid, sbmClassic},
           TCase{"touch", true, true, sbmTouch, sbmTouch},
           TCase{"classic asked", true, true, sbmClassic, sbmClassic},
           TCase{"hybrid", true, true, sbmHybrid, sbmHybrid},
           TCase{"hybrid without hybrid bars: touch", true, false, sbmHybrid, sbmTouch},
           TCase{"default under a default root: touch", true, true, sbmDefault, sbmTouch},
       }) {
    SCOPED_TRACE(c.Name);
    Control->Overlay = c.Overlay;
    Control->Hybrid = c.Hybrid;
    Control->LookAndFeel()->SetScrollbarMode(c.Asked);
    Control->CheckScrollBarModeChange();
    EXPECT_EQ(Control->ScrollbarMode(), c.Resolved);
    ASSERT_NE(Control->GetVertScrollBar(), nullptr);
    // The set is rebuilt with the bars of the mode.
    const bool popup = Bar(sbVertical) != nullptr;
    EXPECT_EQ(popup, c.Resolved != sbmClassic);
  }
}

TEST_F(TOverlayBars, AModeChangeOfTheLookAndFeelRebuildsTheBars) {
  Make(sbmClassic);
  Control->SetContent(400, 400);
  ASSERT_EQ(Bar(sbVertical), nullptr);
  Control->LookAndFeel()->SetScrollbarMode(sbmTouch);
  EXPECT_EQ(Control->ScrollbarMode(), sbmTouch);
  Control->RefreshScrollBars();
  ASSERT_NE(Bar(sbVertical), nullptr);
  // The content no longer makes room for the bars.
  EXPECT_EQ(Control->ClientBounds(), TRect(0, 0, 200, 150));
}

// ---------------------------------------------------------------------------
// Windows and placement

TEST_F(TOverlayBars, TouchBarsAreLayeredPopupsOverTheContentsFarEdges) {
  Make(sbmTouch);
  Control->SetContent(400, 400);
  Control->RevealScrollBars(false);  // shown until released
  for (const TScrollBarKind kind : {sbVertical, sbHorizontal}) {
    SCOPED_TRACE(kind == sbVertical ? "vertical" : "horizontal");
    TcxControlPopupScrollBar* bar = Bar(kind);
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(bar->HandleAllocated());
    const HWND wnd = bar->Handle();
    // The system adds WS_CLIPSIBLINGS to every top-level window.
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(wnd, GWL_STYLE)) & ~(WS_VISIBLE | WS_DISABLED | WS_CLIPSIBLINGS),
              DWORD(WS_POPUP));
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(wnd, GWL_EXSTYLE)), DWORD(WS_EX_LAYERED));
    EXPECT_EQ(GetWindow(wnd, GW_OWNER), Form->Handle());
    EXPECT_TRUE(IsWindowVisible(wnd));
    // Inside the client area, 16 pixels thick along the far edge; touch bars
    // reserve no room, so the other bar does not shorten it.
    const TRect client = ScreenClientRect(Control->Handle());
    const TRect expected = kind == sbVertical ? TRect(client.Right - 16, client.Top, client.Right, client.Bottom)
                                              : TRect(client.Left, client.Bottom - 16, client.Right, client.Bottom);
    EXPECT_EQ(WindowRect(wnd), expected);
  }
  EXPECT_EQ(Control->ClientBounds(), TRect(0, 0, 200, 150));
}

TEST_F(TOverlayBars, HybridBarsKeepClearOfTheOtherBarsStripe) {
  Make(sbmHybrid, true);
  Control->SetContent(400, 400);
  Control->RevealScrollBars(false);  // shown until released
  const TRect client = ScreenClientRect(Control->Handle());
  // Right to left: the vertical bar on the left, the horizontal one mirrored
  // inside the client area, both 16 thick and the horizontal one shortened
  // by the collapsed 6 of the vertical one.
  ASSERT_NE(Bar(sbVertical), nullptr);
  EXPECT_EQ(WindowRect(Bar(sbVertical)->Handle()), TRect(client.Left, client.Top, client.Left + 16, client.Bottom - 6));
  EXPECT_EQ(WindowRect(Bar(sbHorizontal)->Handle()),
            TRect(client.Left + 6, client.Bottom - 16, client.Right, client.Bottom));
  struct TCase {
    const char* Name;
    TPoint P;
    bool On;
  };
  for (const TCase& c : {
           TCase{"on the vertical stripe", TPoint(3, 50), true},
           TCase{"beside the stripe, on the expanded bar", TPoint(10, 50), false},
           TCase{"on the horizontal stripe", TPoint(100, 147), true},
           TCase{"above the horizontal stripe", TPoint(100, 140), false},
           TCase{"the content", TPoint(100, 60), false},
       }) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(Control->IsOnScrollBarArea(c.P), c.On);
  }
}

TEST_F(TOverlayBars, AClickOnABarLeavesTheActiveWindowAsItWas) {
  Make(sbmTouch);
  Control->SetContent(200, 400);
  Control->RevealScrollBars(false);  // shown until released
  TcxControlPopupScrollBar* bar = Bar(sbVertical);
  ASSERT_NE(bar, nullptr);
  const HWND active = GetForegroundWindow();
  ASSERT_EQ(active, Form->Handle());
  const TRect r = WindowRect(bar->Handle());
  const TPoint p(r.Left + r.Width() / 2, r.Bottom - 4);
  ASSERT_TRUE(MoveUntil(p, [&] { return WindowFromPoint(POINT{p.X, p.Y}) == bar->Handle(); }));
  SendMouseButtons(p, MOUSEEVENTF_LEFTDOWN);
  SendMouseButtons(p, MOUSEEVENTF_LEFTUP);
  PumpPending();
  EXPECT_EQ(GetForegroundWindow(), active);
  EXPECT_EQ(GetActiveWindow(), active);
  // The click reached the bar: a page down from position 0.
  EXPECT_GT(bar->Position(), 0);
}

// ---------------------------------------------------------------------------
// What the layered window gets

TEST_F(TOverlayBars, TouchBarPaintsAGreyOutlinedThumbOnANearlyInvisibleTrack) {
  Make(sbmTouch);
  TLayerCapture capture;
  Control->SetContent(200, 600);
  Control->RevealScrollBars(false);  // shown until released
  TcxControlPopupScrollBar* bar = Bar(sbVertical);
  ASSERT_NE(bar, nullptr);
  capture.Only(bar->Handle());
  bar->Invalidate();
  const TCapturedLayer& layer = capture.Last();
  ASSERT_NE(layer.Pixels, nullptr);
  EXPECT_EQ(layer.Alpha, 255);
  ASSERT_EQ(layer.Pixels->Width(), 16);
  ASSERT_EQ(layer.Pixels->Height(), 150);

  TPremultiplied track;
  track.Over(TColor(0xC0C0C0), 1);
  TPremultiplied fill = track;
  fill.Over(TColor(0x808080), 150);
  TPremultiplied outline = fill;
  outline.Over(clWhite, 200);
  // The thumb starts at the top (position 0) and is 6 wide: 16 div 3 = 5
  // pixels off each side. Its first row is outline, then fill inside.
  ExpectPixel(*layer.Pixels, 0, 1, track);
  ExpectPixel(*layer.Pixels, 4, 5, track);
  ExpectPixel(*layer.Pixels, 5, 0, outline);
  ExpectPixel(*layer.Pixels, 5, 5, outline);
  ExpectPixel(*layer.Pixels, 7, 5, fill);
  ExpectPixel(*layer.Pixels, 8, 5, fill);
  ExpectPixel(*layer.Pixels, 10, 5, outline);
  ExpectPixel(*layer.Pixels, 11, 5, track);
  ExpectPixel(*layer.Pixels, 8, 140, track);
}

TEST_F(TOverlayBars, CollapsedHybridBarShowsOnlyItsStripeAndAThinLine) {
  Make(sbmHybrid);
  TLayerCapture capture;
  Control->SetContent(200, 600);
  Control->RevealScrollBars(false);  // shown until released
  TcxControlPopupScrollBar* bar = Bar(sbVertical);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->VisibleSize(), 6);
  capture.Only(bar->Handle());
  bar->Invalidate();
  const TCapturedLayer& layer = capture.Last();
  ASSERT_NE(layer.Pixels, nullptr);
  ASSERT_EQ(layer.Pixels->Width(), 16);
  // Dark text: the base colour is black. The stripe is the 6 columns at the
  // right; the thumb's line is columns 16 - 4 .. 16 - 2. The thumb starts
  // below the (undrawn) 16-pixel arrow button.
  const TColor base = clBlack;
  TPremultiplied none;
  TPremultiplied stripe;
  stripe.Over(base, 1);
  TPremultiplied thumb = stripe;
  thumb.Over(clWhite, 1);
  TPremultiplied line = thumb;
  line.Over(base, 133);
  ExpectPixel(*layer.Pixels, 9, 20, none, 0);
  ExpectPixel(*layer.Pixels, 12, 5, stripe, 1);
  ExpectPixel(*layer.Pixels, 10, 140, stripe, 1);
  ExpectPixel(*layer.Pixels, 10, 20, thumb, 1);
  ExpectPixel(*layer.Pixels, 12, 20, line);
  ExpectPixel(*layer.Pixels, 13, 20, line);
  ExpectPixel(*layer.Pixels, 14, 20, thumb, 1);
}

TEST_F(TOverlayBars, APartOfTheControlCoveredByAWindowStaysClearOfTheBar) {
  Make(sbmTouch);
  // A sibling above the control's right edge, over the top 40 rows of the bar.
  const HWND cover = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 20 + 150, 20, 100, 40, Form->Handle(),
                                     nullptr, nullptr, nullptr);
  ASSERT_NE(cover, nullptr);
  SetWindowPos(cover, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  TLayerCapture capture;
  Control->SetContent(200, 600);
  Control->RevealScrollBars(false);  // shown until released
  TcxControlPopupScrollBar* bar = Bar(sbVertical);
  ASSERT_NE(bar, nullptr);
  capture.Only(bar->Handle());
  bar->Invalidate();
  const HRGN region = bar->Helper()->VisibleRegion();
  ASSERT_NE(region, nullptr);
  EXPECT_FALSE(PtInRegion(region, 8, 10));
  EXPECT_FALSE(PtInRegion(region, 8, 39));
  EXPECT_TRUE(PtInRegion(region, 8, 40));
  EXPECT_TRUE(PtInRegion(region, 8, 149));
  // The thumb under the cover is not drawn; below it the track is.
  const TCapturedLayer& layer = capture.Last();
  ASSERT_NE(layer.Pixels, nullptr);
  EXPECT_EQ(layer.Pixels->Raw(8, 10), 0u);
  EXPECT_NE(layer.Pixels->Alpha(2, 100), 0);
  DestroyWindow(cover);
}

TEST_F(TOverlayBars, TouchGripIsATranslucentPopupBetweenTheBars) {
  Make(sbmTouch);
  Control->SetContent(400, 400);
  Control->RevealScrollBars(false);  // shown until released
  TcxSizeGrip* grip = Control->GetSizeGrip();
  ASSERT_NE(grip, nullptr);
  ASSERT_NE(dynamic_cast<TcxPopupSizeGrip*>(grip), nullptr);
  ASSERT_TRUE(grip->HandleAllocated());
  EXPECT_TRUE(IsWindowVisible(grip->Handle()));
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(grip->Handle(), GWL_EXSTYLE)), DWORD(WS_EX_LAYERED));
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(grip->Handle(), nullptr, &alpha, &flags));
  EXPECT_EQ(flags & LWA_ALPHA, DWORD(LWA_ALPHA));
  EXPECT_EQ(alpha, 50);
  // Touch bars reserve no strip: the grip is the corner where both end.
  const TRect client = ScreenClientRect(Control->Handle());
  const TRect corner = WindowRect(grip->Handle());
  EXPECT_EQ(corner.Right, client.Right);
  EXPECT_EQ(corner.Bottom, client.Bottom);
}

// ---------------------------------------------------------------------------
// Leaks

TEST_F(TOverlayBars, ControlsOfEveryModeLeaveNoWindowOrGdiObject) {
  Form.reset(NewShownForm(TRect(60, 60, 560, 460)));
  const auto round = [&](TdxScrollbarMode AMode) {
    auto* control = New<TOverlayControl>(Form.get());
    control->LookAndFeel()->SetScrollbarMode(AMode);
    control->SetParent(Form.get());
    control->SetBounds(10, 10, 120, 90);
    control->HandleNeeded();
    control->SetContent(300, 300);
    control->Free();
  };
  for (const TdxScrollbarMode mode : {sbmClassic, sbmTouch, sbmHybrid}) round(mode);
  PumpPending();
  const int windows = ThreadWindowCount();
  const int objects = GdiObjectCount();
  for (const TdxScrollbarMode mode : {sbmClassic, sbmTouch, sbmHybrid}) {
    SCOPED_TRACE(static_cast<int>(mode));
    for (int i = 0; i < 100; ++i) round(mode);
    PumpPending();
    EXPECT_EQ(ThreadWindowCount(), windows);
    EXPECT_EQ(GdiObjectCount(), objects);
  }
}

}  // namespace
