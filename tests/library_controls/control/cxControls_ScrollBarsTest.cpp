#include "library/controls/control/cxControls.h"

#include "tests/library_controls/ControlsTesting.h"
#include "tests/support/GuiLeaks.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <climits>
#include <tuple>
#include <vector>

namespace {

// A control with content of a given size, scrolled by its two main bars in
// pixels, the way a list or a grid sets them up.
class TContentControl : public TcxControl {
  SK_CLASS(TContentControl, TcxControl)
 public:
  TSize Content{0, 0};
  bool AllowHide = true;
  bool ExtendsPage = false;
  // Flips the vertical bar on every setup call.
  bool Flips = false;
  int SetupCalls = 0;
  int Calculations = 0;
  std::vector<std::tuple<TScrollBarKind, TScrollCode, int>> ScrollCalls;
  // Fixed parameters for one bar instead of the content's.
  struct TFixed {
    bool Used = false;
    int Min = 0, Max = 0, Page = 0, Pos = 0;
  } FixedVert;

  using TcxControl::BothScrollBarsVisible;
  using TcxControl::ClientBounds;
  using TcxControl::GestureScroll;
  using TcxControl::HorzScrollBarBounds;
  using TcxControl::RefreshScrollBars;
  using TcxControl::SizeGripBounds;
  using TcxControl::VertScrollBarBounds;

  void SetContent(int AWidth, int AHeight) {
    Content = TSize(AWidth, AHeight);
    RefreshScrollBars();
  }

 protected:
  bool ExtendsPageWhenBothBarsFit(TScrollBarKind) override { return ExtendsPage; }
  void BeforeSetupScrollBars() override { ++Calculations; }
  void SetupScrollBars() override {
    ++SetupCalls;
    const TRect client = ClientBounds();
    SetScrollBarInfo(sbHorizontal, 0, Content.cx - 1, 1, client.Width(), 0, true, AllowHide);
    if (FixedVert.Used)
      SetScrollBarInfo(sbVertical, FixedVert.Min, FixedVert.Max, 1, FixedVert.Page, FixedVert.Pos, true, AllowHide);
    else if (Flips)
      SetScrollBarInfo(sbVertical, 0, SetupCalls % 2 == 0 ? 10000 : 0, 1, client.Height(), 0, true, true);
    else
      SetScrollBarInfo(sbVertical, 0, Content.cy - 1, 1, client.Height(), 0, true, AllowHide);
  }
  void HandleScroll(TScrollBarKind AKind, TScrollCode ACode, int& APosition) override {
    ScrollCalls.emplace_back(AKind, ACode, APosition);
    // The content follows a gesture, as a real control's does.
    if (ACode == scTrack && AKind == sbVertical && FixedVert.Used) {
      FixedVert.Pos = APosition;
      RefreshScrollBars();
    }
  }
};

// Asks for the vertical bar only, from its creation on.
class TVerticalOnlyControl : public TContentControl {
  SK_CLASS(TVerticalOnlyControl, TContentControl)
 protected:
  TScrollStyle ScrollBarsStyle() override { return TScrollStyle::ssVertical; }
};

struct TMainScrollBars : testing::Test {
  TOwned<TForm> Form;
  TContentControl* Control = nullptr;
  int BarWidth = GetSystemMetrics(SM_CXVSCROLL);
  int BarHeight = GetSystemMetrics(SM_CYHSCROLL);

  void SetUp() override {
    Form.reset(NewShownForm(TRect(40, 40, 540, 440)));
    Control = New<TContentControl>(Form.get());
    Control->SetParent(Form.get());
    Control->SetBounds(10, 10, 200, 150);
    Control->HandleNeeded();
    PumpPending();
  }
  void TearDown() override { Form.reset(); }

  HWND BarWindow(TScrollBarKind AKind) {
    IcxControlScrollBar* bar = AKind == sbHorizontal ? Control->GetHorzScrollBar() : Control->GetVertScrollBar();
    return bar ? static_cast<TWinControl*>(bar->GetControl())->Handle() : nullptr;
  }
};

// ---------------------------------------------------------------------------
// The data record

TEST(cxScrollBarData, ValidOnlyWithSomethingToScroll) {
  struct TCase {
    const char* Name;
    int Min, Max, Page, Pos;
    bool Valid;
  };
  for (const TCase& c : {
           TCase{"page shorter than the range", 0, 99, 10, 0, true},
           TCase{"page as long as the range", 0, 9, 10, 0, false},
           TCase{"no page", 0, 0, 0, 0, true},
           TCase{"empty range", 5, 4, 0, 5, false},
           TCase{"position below the minimum", 10, 99, 10, 9, false},
           TCase{"negative page", 0, 99, -1, 0, false},
           TCase{"the whole Integer range", INT_MIN, INT_MAX, 100, 0, true},
           TCase{"a page of INT_MAX over the whole range", INT_MIN, INT_MAX, INT_MAX, INT_MIN, true},
       }) {
    SCOPED_TRACE(c.Name);
    TcxScrollBarData data;
    data.FMin = c.Min;
    data.FMax = c.Max;
    data.FPageSize = c.Page;
    data.FPosition = c.Pos;
    data.Correct();
    EXPECT_EQ(data.FIsValid, c.Valid);
  }
}

// ---------------------------------------------------------------------------
// Visibility against a native window's scroll bar

TEST_F(TMainScrollBars, ShownHiddenOrDisabledAsANativeWindowShowsItsBar) {
  struct TCase {
    const char* Name;
    int Min, Max, Page;
    bool AllowHide;
  };
  for (const TCase& c : {
           TCase{"a long range", 0, 99, 10, true},
           TCase{"a long range, kept", 0, 99, 10, false},
           TCase{"range fits the page", 0, 9, 10, true},
           TCase{"range fits the page, kept", 0, 9, 10, false},
           TCase{"one more than the page", 0, 10, 10, true},
           TCase{"an offset range", 50, 80, 30, true},
           TCase{"an offset range that fits", 50, 79, 30, false},
           TCase{"no page", 0, 5, 0, true},
       }) {
    SCOPED_TRACE(c.Name);
    // A window of its own each time: the system keeps a hidden bar hidden
    // whatever the flags say.
    const HWND native = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 250, 10, 100, 100,
                                        Form->Handle(), nullptr, nullptr, nullptr);
    ASSERT_NE(native, nullptr);
    SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS | (c.AllowHide ? 0u : SIF_DISABLENOSCROLL),
                    c.Min, c.Max, static_cast<UINT>(c.Page), c.Min, 0};
    SetScrollInfo(native, SB_VERT, &info, TRUE);
    SCROLLBARINFO bar{};
    bar.cbSize = sizeof(bar);
    ASSERT_TRUE(GetScrollBarInfo(native, OBJID_VSCROLL, &bar));
    const bool nativeVisible = (bar.rgstate[0] & STATE_SYSTEM_INVISIBLE) == 0;
    const bool nativeEnabled = (bar.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) == 0;
    DestroyWindow(native);

    Control->AllowHide = c.AllowHide;
    Control->FixedVert = {true, c.Min, c.Max, c.Page, c.Min};
    Control->RefreshScrollBars();
    EXPECT_EQ(Control->IsScrollBarVisible(sbVertical), nativeVisible);
    ASSERT_NE(Control->GetVertScrollBar(), nullptr);
    if (nativeVisible) {
      EXPECT_EQ(Control->GetVertScrollBar()->GetEnabled(), nativeEnabled);
    }
    EXPECT_EQ(IsWindowVisible(BarWindow(sbVertical)) != FALSE, nativeVisible);
  }
}

// ---------------------------------------------------------------------------
// Settling the bars

TEST_F(TMainScrollBars, OneBarCanBringTheOther) {
  struct TCase {
    const char* Name;
    TSize Content;
    bool Horz, Vert;
  };
  // The client is 200 × 150 without bars.
  for (const TCase& c : {
           TCase{"fits", TSize(200, 150), false, false},
           TCase{"too tall: the vertical bar narrows the width below 200", TSize(200, 151), true, true},
           TCase{"too tall, narrow enough", TSize(200 - BarWidth, 151), false, true},
           TCase{"too wide, low enough", TSize(201, 150 - BarHeight), true, false},
           TCase{"too wide: the horizontal bar lowers the height below 150", TSize(201, 150 - BarHeight + 1), true,
                 true},
       }) {
    SCOPED_TRACE(c.Name);
    Control->SetContent(c.Content.cx, c.Content.cy);
    EXPECT_EQ(Control->IsScrollBarVisible(sbHorizontal), c.Horz);
    EXPECT_EQ(Control->IsScrollBarVisible(sbVertical), c.Vert);
    const TRect client = Control->ClientBounds();
    EXPECT_EQ(client, TRect(0, 0, 200 - (c.Vert ? BarWidth : 0), 150 - (c.Horz ? BarHeight : 0)));
    // The bars lie beside the client, and the grip in the corner between.
    if (c.Horz) {
      EXPECT_EQ(GetControlWindowRect(static_cast<TWinControl*>(Control->GetHorzScrollBar()->GetControl())),
                TRect(0, client.Bottom, client.Right, 150));
    }
    if (c.Vert) {
      EXPECT_EQ(GetControlWindowRect(static_cast<TWinControl*>(Control->GetVertScrollBar()->GetControl())),
                TRect(client.Right, 0, 200, client.Bottom));
    }
    ASSERT_NE(Control->GetSizeGrip(), nullptr);
    EXPECT_EQ(Control->GetSizeGrip()->Visible(), c.Horz && c.Vert);
    if (c.Horz && c.Vert) {
      EXPECT_EQ(GetControlWindowRect(Control->GetSizeGrip()), TRect(200 - BarWidth, 150 - BarHeight, 200, 150));
    }
  }
}

TEST_F(TMainScrollBars, RightToLeftPutsTheVerticalBarOnTheLeft) {
  Control->SetBiDiMode(bdRightToLeft);
  Control->HandleNeeded();
  Control->SetContent(100, 400);
  ASSERT_TRUE(Control->IsScrollBarVisible(sbVertical));
  EXPECT_EQ(Control->ClientBounds(), TRect(BarWidth, 0, 200, 150));
  EXPECT_EQ(GetControlWindowRect(static_cast<TWinControl*>(Control->GetVertScrollBar()->GetControl())),
            TRect(0, 0, BarWidth, 150));
}

TEST_F(TMainScrollBars, BothBarsGoWhenEachPageWouldHoldItsRangeWithoutTheOther) {
  // A vertical page of 90 over 101 positions: the bar shows, and it narrows
  // the client so that 200 pixels of content need the horizontal bar too.
  // Without the other bar each page would hold its range (90 plus the
  // horizontal bar's height reaches 101, 200 - BarWidth plus BarWidth
  // reaches 200).
  ASSERT_GE(BarHeight, 11);
  for (const bool extends : {false, true}) {
    SCOPED_TRACE(extends);
    Control->ExtendsPage = extends;
    Control->FixedVert = {true, 0, 100, 90, 0};
    Control->SetContent(200, 10);
    EXPECT_EQ(Control->IsScrollBarVisible(sbHorizontal), !extends);
    EXPECT_EQ(Control->IsScrollBarVisible(sbVertical), !extends);
  }
  // One pixel more and the horizontal range no longer fits: both stay.
  Control->SetContent(201, 10);
  EXPECT_TRUE(Control->BothScrollBarsVisible());
}

TEST_F(TMainScrollBars, AStyleWithoutAKindNeverShowsThatBar) {
  auto* control = New<TVerticalOnlyControl>(Form.get());
  control->SetParent(Form.get());
  control->SetBounds(10, 200, 100, 100);
  control->HandleNeeded();
  control->SetContent(5000, 5000);
  EXPECT_FALSE(control->IsScrollBarVisible(sbHorizontal));
  EXPECT_TRUE(control->IsScrollBarVisible(sbVertical));
}

TEST_F(TMainScrollBars, ASetupThatFlipsOnEveryCallStillEnds) {
  Control->Flips = true;
  Control->SetupCalls = 0;
  Control->RefreshScrollBars();
  EXPECT_GT(Control->SetupCalls, 0);
  EXPECT_LE(Control->SetupCalls,
            TdxMainScrollbarsOwnerHelper::MaxSetupRounds * (TdxMainScrollbarsOwnerHelper::MaxSetupRounds + 1));
}

TEST_F(TMainScrollBars, LockedUpdatesCollapseIntoOneAtTheLastUnlock) {
  Control->UnlockScrollBars();  // without a lock: nothing
  Control->LockScrollBars();
  Control->LockScrollBars();
  Control->Calculations = 0;
  Control->SetContent(400, 400);
  Control->SetContent(500, 500);
  EXPECT_EQ(Control->Calculations, 0);
  Control->UnlockScrollBars();
  EXPECT_EQ(Control->Calculations, 0);
  Control->UnlockScrollBars();
  // One calculation, and the relayout the new bars cause.
  EXPECT_GE(Control->Calculations, 1);
  EXPECT_LE(Control->Calculations, 2);
  EXPECT_TRUE(Control->BothScrollBarsVisible());
  Control->Calculations = 0;
  Control->UnlockScrollBars();
  EXPECT_EQ(Control->Calculations, 0);
}

TEST_F(TMainScrollBars, TheClientLosesTheSystemBarWidthAtEachResolution) {
  for (const int dpi : {96, 120, 144, 192}) {
    SCOPED_TRACE(dpi);
    TContentControl* control = New<TContentControl>(Form.get());
    control->SetParent(Form.get());
    control->SetBounds(10, 200, 300, 100);
    control->ChangeScale(dpi, 96, true);
    control->SetBounds(10, 200, 300, 100);
    control->HandleNeeded();
    control->SetContent(100, 1000);
    ASSERT_TRUE(control->IsScrollBarVisible(sbVertical));
    EXPECT_EQ(control->ClientBounds().Width(), 300 - GetSystemMetricsForDpi(SM_CXVSCROLL, dpi));
    control->Free();
  }
}

TEST_F(TMainScrollBars, TheRefitMessageGivesTheBarsTheSystemThicknessAgain) {
  Control->SetContent(1000, 1000);
  ASSERT_TRUE(Control->BothScrollBarsVisible());
  auto* vert = static_cast<TWinControl*>(Control->GetVertScrollBar()->GetControl());
  auto* horz = static_cast<TWinControl*>(Control->GetHorzScrollBar()->GetControl());
  vert->SetWidth(5);
  horz->SetHeight(6);
  Control->Perform(DXM_CHECKSCROLLBARSIZES, 0, 0);
  EXPECT_EQ(vert->Width(), BarWidth);
  EXPECT_EQ(horz->Height(), BarHeight);
}

// ---------------------------------------------------------------------------
// Scrolling

TEST_F(TMainScrollBars, AScrollMessageFromTheBarReachesTheControl) {
  Control->SetContent(100, 1000);
  const HWND bar = BarWindow(sbVertical);
  ASSERT_NE(bar, nullptr);
  SendMessageW(Control->Handle(), WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(bar));
  ASSERT_FALSE(Control->ScrollCalls.empty());
  EXPECT_EQ(std::get<0>(Control->ScrollCalls[0]), sbVertical);
  EXPECT_EQ(std::get<1>(Control->ScrollCalls[0]), scLineDown);
}

TEST_F(TMainScrollBars, AClickOnTheBarsArrowScrollsTheControlByALine) {
  Control->SetContent(100, 1000);
  auto* bar = static_cast<TcxControlScrollBar*>(Control->GetVertScrollBar()->GetControl());
  const TPoint arrow = bar->ClientToScreen(bar->Helper()->ViewInfo()->PartBounds(sbpLineDown).GetCenter());
  SendMouseMove(arrow);
  SendMouseSteps({{arrow, MOUSEEVENTF_LEFTDOWN}, {arrow, MOUSEEVENTF_LEFTUP}});
  ASSERT_TRUE(PumpUntil([&] {
    return !Control->ScrollCalls.empty() && std::get<1>(Control->ScrollCalls.back()) == scEndScroll;
  }));
  ASSERT_GE(Control->ScrollCalls.size(), 2u);
  EXPECT_EQ(Control->ScrollCalls.front(), std::make_tuple(sbVertical, scLineDown, 1));
}

TEST_F(TMainScrollBars, ScrollContentStepsALineAlongTheDirection) {
  Control->SetContent(1000, 1000);
  Control->ScrollContent(dirLeft);
  Control->ScrollContent(dirDown);
  Control->ScrollContent(dirNone);
  const std::vector<std::tuple<TScrollBarKind, TScrollCode, int>> expected = {{sbHorizontal, scLineUp, 0},
                                                                              {sbVertical, scLineDown, 0}};
  EXPECT_EQ(Control->ScrollCalls, expected);
}

TEST_F(TMainScrollBars, AClickOnABarFocusesTheControl) {
  TWinControl* other = New<TContentControl>(Form.get());
  other->SetParent(Form.get());
  other->SetBounds(300, 10, 50, 50);
  Control->SetContent(100, 1000);
  other->SetFocus();
  PumpPending();
  ASSERT_FALSE(Control->Focused());
  RECT r;
  GetWindowRect(BarWindow(sbVertical), &r);
  const TPoint center((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  SendMouseButtons(center, MOUSEEVENTF_LEFTDOWN);
  SendMouseButtons(center, MOUSEEVENTF_LEFTUP);
  PumpUntil([&] { return Control->Focused(); });
  EXPECT_TRUE(Control->Focused());
}

struct TGestureCase {
  const char* Name;
  int Min, Max, Page, Pos;
  int ClientHeight;
  std::vector<int> Deltas;
  // The track positions that reach the control.
  std::vector<int> Tracks;
};

TEST_F(TMainScrollBars, GesturePixelsTurnIntoTrackPositions) {
  // Pixels per unit: client height div page, at most 30, at least 1.
  for (const TGestureCase& c : {
           // 150 div 10 = 15 pixels a unit; 14 pixels wait for the 15th.
           TGestureCase{"pixels accumulate", 0, 999, 10, 500, 150, {-14, -1, -30}, {501, 503}},
           TGestureCase{"upwards", 0, 999, 10, 500, 150, {45}, {497}},
           TGestureCase{"at most 30 pixels a unit", 0, 999, 2, 500, 150, {-30}, {501}},
           // A client lower than the page: one pixel a unit, not none.
           TGestureCase{"a collapsed client", 0, 999, 400, 500, 150, {-3}, {503}},
           // The last position is Max less the page plus one, whatever Min is.
           TGestureCase{"held at the end of an offset range", 100, 150, 10, 130, 150, {-15 * 40}, {141}},
           TGestureCase{"held at an offset start", 100, 150, 10, 110, 150, {15 * 40}, {100}},
       }) {
    SCOPED_TRACE(c.Name);
    Control->SetBounds(10, 10, 200, c.ClientHeight);
    Control->FixedVert = {true, c.Min, c.Max, c.Page, c.Pos};
    Control->SetContent(100, 100);
    ASSERT_TRUE(Control->IsScrollBarVisible(sbVertical));
    Control->BeginGestureScroll(TPoint());
    Control->ScrollCalls.clear();
    for (const int delta : c.Deltas) Control->GestureScroll(0, delta);
    std::vector<int> tracks;
    for (const auto& [kind, code, pos] : Control->ScrollCalls) {
      EXPECT_EQ(kind, sbVertical);
      EXPECT_EQ(code, scTrack);
      tracks.push_back(pos);
    }
    EXPECT_EQ(tracks, c.Tracks);
  }
}

TEST_F(TMainScrollBars, PanFollowsTheVisibleBars) {
  Control->SetContent(100, 1000);
  EXPECT_TRUE(Control->AllowsPan(sbVertical));
  EXPECT_FALSE(Control->AllowsPan(sbHorizontal));
  Control->SetContent(1000, 100);
  EXPECT_TRUE(Control->AllowsPan(sbHorizontal));
}

// ---------------------------------------------------------------------------
// The size grip

TEST(cxSizeGrip, IsAvailableOnlyWhereItWouldSizeTheForm) {
  struct TCase {
    const char* Name;
    TFormBorderStyle Border;
    TWindowState State;
    bool AtRight;
    bool Available;
  };
  for (const TCase& c : {
           TCase{"sizable, in the corner", bsSizeable, wsNormal, true, true},
           TCase{"sizable, away from the right edge", bsSizeable, wsNormal, false, false},
           TCase{"no sizing border", bsSingle, wsNormal, true, false},
           TCase{"maximised", bsSizeable, wsMaximized, true, false},
       }) {
    SCOPED_TRACE(c.Name);
    TOwned<TForm> form(NewShownForm(TRect(40, 40, 440, 340)));
    form->SetBorderStyle(c.Border);
    form->SetWindowState(c.State);
    PumpPending();
    TContentControl* control = New<TContentControl>(form.get());
    control->SetParent(form.get());
    const int width = 100;
    const int left = form->ClientWidth() - width - (c.AtRight ? 0 : 1);
    control->SetBounds(left, form->ClientHeight() - 50, width, 50);
    EXPECT_EQ(TcxSizeGrip::IsAvailable(control), c.Available);
  }
  EXPECT_FALSE(TcxSizeGrip::IsAvailable(nullptr));
}

// ---------------------------------------------------------------------------
// Resources

TEST(cxControlMainScrollBars, CreatingAndFreeingControlsLeavesNoWindowOrGdiObject) {
  TOwned<TForm> form(NewShownForm(TRect(40, 40, 340, 240)));
  auto once = [&] {
    TContentControl* control = New<TContentControl>(form.get());
    control->SetParent(form.get());
    control->SetBounds(10, 10, 150, 100);
    control->SetContent(400, 400);
    control->Repaint();
    control->Free();
  };
  once();  // the first builds the shared caches
  const int gdi = GdiObjectCount();
  const int windows = ThreadWindowCount();
  for (int i = 0; i < 200; ++i) once();
  EXPECT_LE(GdiObjectCount(), gdi + 2);
  EXPECT_EQ(ThreadWindowCount(), windows);
  EXPECT_EQ(GetWindow(form->Handle(), GW_CHILD), nullptr);
}

}  // namespace
