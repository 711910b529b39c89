// The container's classic bars against the inner list's native ones: place,
// range, page and position from GetScrollBarInfo and GetScrollInfo of the
// inner LISTBOX, scrolling through the container's bar with real clicks
// against a plain LISTBOX scrolled the same way.
#include "library/controls/container/cxContainer.h"

#include "platform/runtime/SysUtils.h"
#include "platform/ui/Forms.h"

#include "tests/library_controls/ControlsTesting.h"
#include "tests/support/NativeScrollBars.h"
#include "tests/support/Pixels.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

namespace {

// A container that shows the inner list's bars and scrolls the list
// through them, as the list box does.
class TScrollingListHost : public TcxContainer {
  SK_CLASS(TScrollingListHost, TcxContainer)
 public:
  TcxCustomInnerListBox* List = nullptr;
  bool Overlay = false;
  using TcxContainer::ClientBounds;
  using TcxContainer::RevealScrollBars;
  void Create(TComponent* AOwner) override {
    inherited::Create(AOwner);
    List = New<TcxCustomInnerListBox>(this);
    List->SetContainer(this);
    List->SetParent(this);
    SetInnerControl(List);
  }

 protected:
  bool WantsScrollBars() override { return true; }
  bool AllowsOverlayScrollBars() override { return Overlay; }
  void HandleScroll(TScrollBarKind AKind, TScrollCode ACode, int& APosition) override {
    List->ScrollTo(AKind == sbVertical, ACode, APosition);
  }
};

struct ContainerScrollBars : testing::Test {
  TOwned<TForm> Form{NewShownForm(TRect(150, 120, 500, 420))};
  TScrollingListHost* Host = nullptr;
  TcxCustomInnerListBox* List = nullptr;

  void SetUp() override {
    Host = New<TScrollingListHost>(Form.get());
    Host->SetParent(Form.get());
    Host->SetBounds(10, 10, 180, 130);
    Host->Style()->LookAndFeel()->SetNativeStyle(false);
    List = Host->List;
    PumpPending();
  }
  void TearDown() override {
    if (GetAsyncKeyState(VK_LBUTTON) < 0) SendMouseButtons(TPoint(0, 0), MOUSEEVENTF_LEFTUP);
  }

  IcxControlScrollBar* Bar(TScrollBarKind AKind) const {
    return AKind == sbHorizontal ? Host->GetHorzScrollBar() : Host->GetVertScrollBar();
  }
  TRect BarOnScreen(TScrollBarKind AKind) const {
    const TRect r = Bar(AKind)->GetBoundsRect();
    const TPoint origin = Host->ClientToScreen(TPoint(0, 0));
    return TRect(r.Left + origin.X, r.Top + origin.Y, r.Right + origin.X, r.Bottom + origin.Y);
  }
  void AddLines(int ACount) {
    const int first = List->Items()->Count();
    for (int i = 0; i < ACount; ++i) List->Items()->Add(L"line " + IntToStr(first + i));
  }

  // Each bar of the container is where the inner one is and says what it says.
  void ExpectBarsFollowTheList() {
    for (const TScrollBarKind kind : {sbHorizontal, sbVertical}) {
      SCOPED_TRACE(kind == sbHorizontal ? "horizontal" : "vertical");
      IcxControlScrollBar* bar = Bar(kind);
      ASSERT_NE(bar, nullptr);
      const bool shown = NativeBarShown(List->Handle(), kind);
      EXPECT_EQ(bar->GetVisible(), shown);
      EXPECT_EQ(Host->IsScrollBarVisible(kind), shown);
      if (!shown) continue;
      EXPECT_EQ(BarOnScreen(kind), TRect(NativeBarInfo(List->Handle(), kind).rcScrollBar));
      const SCROLLINFO info = NativeScrollInfo(List->Handle(), kind);
      EXPECT_EQ(bar->GetMin(), info.nMin);
      EXPECT_EQ(bar->GetMax(), info.nMax);
      EXPECT_EQ(bar->GetPageSize(), static_cast<int>(info.nPage));
      EXPECT_EQ(bar->GetPosition(), info.nPos);
    }
  }
};

TEST_F(ContainerScrollBars, TheBarsFollowTheListThroughEveryChange) {
  const struct {
    const char* Name;
    std::function<void(ContainerScrollBars&)> Step;
  } steps[] = {
      {"a few lines, no bar", [](ContainerScrollBars& F) { F.AddLines(3); }},
      {"more lines than fit", [](ContainerScrollBars& F) { F.AddLines(40); }},
      {"a line deleted", [](ContainerScrollBars& F) { F.List->Items()->Delete(0); }},
      {"the list scrolled by the wheel",
       [](ContainerScrollBars& F) {
         POINT p{5, 5};
         ClientToScreen(F.List->Handle(), &p);
         SendMessageW(F.List->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(p.x, p.y));
       }},
      {"the list scrolled by the End key",
       [](ContainerScrollBars& F) {
         F.List->SetFocus();
         ASSERT_TRUE(PumpUntil([&] { return GetFocus() == F.List->Handle(); }));
         SendKey(VK_DOWN, false);
         SendKey(VK_DOWN, true);
         ASSERT_TRUE(PumpUntil([&] { return F.List->ItemIndex() >= 0; }));
         SendKey(VK_END, false);
         SendKey(VK_END, true);
         ASSERT_TRUE(PumpUntil([&] { return F.List->ItemIndex() == F.List->Items()->Count() - 1; }));
       }},
      {"wider than the list", [](ContainerScrollBars& F) { SendMessageW(F.List->Handle(), LB_SETHORIZONTALEXTENT, 600, 0); }},
      {"the container resized", [](ContainerScrollBars& F) { F.Host->SetBounds(10, 10, 230, 160); }},
      {"the top line chosen", [](ContainerScrollBars& F) { F.List->SetTopIndex(7); }},
      {"narrow again", [](ContainerScrollBars& F) { SendMessageW(F.List->Handle(), LB_SETHORIZONTALEXTENT, 0, 0); }},
      {"cleared", [](ContainerScrollBars& F) { F.List->Items()->Clear(); }},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.Name);
    step.Step(*this);
    PumpPending();
    ExpectBarsFollowTheList();
  }
}

TEST_F(ContainerScrollBars, ClicksOnTheContainersBarScrollTheListAsThePlainListScrolls) {
  AddLines(40);
  PumpPending();
  ASSERT_TRUE(Bar(sbVertical)->GetVisible());
  // The same list as a plain LISTBOX, scrolled by the same codes.
  const TRect inner = List->BoundsRect();
  const HWND plain = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0, 0,
                                     inner.Width(), inner.Height(), Form->Handle(), nullptr, GetModuleHandleW(nullptr),
                                     nullptr);
  ASSERT_NE(plain, nullptr);
  SendMessageW(plain, WM_SETFONT, reinterpret_cast<WPARAM>(List->Font()->Handle()), TRUE);
  for (int i = 0; i < List->Items()->Count(); ++i)
    SendMessageW(plain, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(List->Items()->Strings(i).c_str()));

  const TRect bar = BarOnScreen(sbVertical);
  const int arrow = GetSystemMetrics(SM_CYVSCROLL);
  const struct {
    const char* Name;
    TPoint Where;
    WORD Code;
  } clicks[] = {
      {"the down arrow", TPoint(bar.GetCenter().X, bar.Bottom - arrow / 2), SB_LINEDOWN},
      {"the page below the thumb", TPoint(bar.GetCenter().X, bar.Bottom - arrow - 3), SB_PAGEDOWN},
      {"the up arrow", TPoint(bar.GetCenter().X, bar.Top + arrow / 2), SB_LINEUP},
  };
  for (const auto& click : clicks) {
    SCOPED_TRACE(click.Name);
    const int before = NativeScrollInfo(List->Handle(), sbVertical).nPos;
    SendMessageW(plain, WM_VSCROLL, MAKEWPARAM(click.Code, 0), 0);
    const int expected = NativeScrollInfo(plain, sbVertical).nPos;
    ASSERT_NE(expected, before);
    SendMouseMove(click.Where);
    SendMouseSteps({{click.Where, MOUSEEVENTF_LEFTDOWN}, {click.Where, MOUSEEVENTF_LEFTUP}});
    ASSERT_TRUE(PumpUntil([&] { return NativeScrollInfo(List->Handle(), sbVertical).nPos != before; }));
    PumpPending();
    EXPECT_EQ(NativeScrollInfo(List->Handle(), sbVertical).nPos, expected);
    EXPECT_EQ(List->TopIndex(), SendMessageW(plain, LB_GETTOPINDEX, 0, 0));
    ExpectBarsFollowTheList();
  }
  DestroyWindow(plain);
}

TEST_F(ContainerScrollBars, TheScreenShowsTheContainersBarOverTheNativeOne) {
  AddLines(40);
  SendMessageW(List->Handle(), LB_SETHORIZONTALEXTENT, 600, 0);
  List->SetTopIndex(5);
  Form->Update();
  PumpPending();
  for (const TScrollBarKind kind : {sbHorizontal, sbVertical}) {
    SCOPED_TRACE(kind == sbHorizontal ? "horizontal" : "vertical");
    ASSERT_TRUE(Bar(kind)->GetVisible());
    const TRect onScreen = BarOnScreen(kind);
    auto* control = static_cast<TWinControl*>(Bar(kind)->GetControl());
    ASSERT_NE(control, nullptr);
    control->Update();
    // What the bar paints by itself, and what the screen shows where the
    // native bar lies.
    TPixelSurface painted(onScreen.Width(), onScreen.Height());
    control->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(painted.DC()), PRF_CLIENT);
    TPixelSurface screen(onScreen.Width(), onScreen.Height());
    const HDC desktop = GetDC(nullptr);
    BitBlt(screen.DC(), 0, 0, onScreen.Width(), onScreen.Height(), desktop, onScreen.Left, onScreen.Top, SRCCOPY);
    ReleaseDC(nullptr, desktop);
    int differing = 0;
    for (int y = 0; y < onScreen.Height(); ++y)
      for (int x = 0; x < onScreen.Width(); ++x)
        if (painted.Pixel(x, y) != screen.Pixel(x, y)) ++differing;
    EXPECT_EQ(differing, 0);
  }
}

// ---------------------------------------------------------------------------
// Touch mode: the inner list covers the content and hides its own bars past
// it; the container's popup bars lie over the content's far edges.

struct ContainerOverlayScrollBars : testing::TestWithParam<int> {
  TOwned<TForm> Form{NewShownForm(TRect(150, 120, 500, 460))};
  TScrollingListHost* Host = nullptr;
  TcxCustomInnerListBox* List = nullptr;

  void SetUp() override {
    Host = New<TScrollingListHost>(Form.get());
    Host->Overlay = true;
    Host->SetParent(Form.get());
    Host->SetBounds(10, 10, 180, GetParam());
    Host->Style()->LookAndFeel()->SetNativeStyle(false);
    List = Host->List;
    PumpPending();
    // The list's window exists already: the mode change must remake it.
    Host->LookAndFeel()->SetScrollbarMode(sbmTouch);
    for (int i = 0; i < 40; ++i) List->Items()->Add(L"line " + IntToStr(i));
    PumpPending();
  }
  TRect ContentOnScreen() const {
    const TRect c = Host->ClientBounds();
    const TPoint origin = Host->ClientToScreen(TPoint(0, 0));
    return TRect(c.Left + origin.X, c.Top + origin.Y, c.Right + origin.X, c.Bottom + origin.Y);
  }
  TcxControlPopupScrollBar* PopupBar(TScrollBarKind AKind) const {
    IcxControlScrollBar* bar = AKind == sbHorizontal ? Host->GetHorzScrollBar() : Host->GetVertScrollBar();
    return bar ? dynamic_cast<TcxControlPopupScrollBar*>(bar->GetControl()) : nullptr;
  }
};

TEST_P(ContainerOverlayScrollBars, TheListCoversTheContentWithItsOwnBarsOutsideIt) {
  ASSERT_EQ(Host->ScrollbarMode(), sbmTouch);
  ASSERT_EQ(List->Items()->Count(), 40);
  EXPECT_NE(GetWindowLongW(List->Handle(), GWL_STYLE) & LBS_NOINTEGRALHEIGHT, 0);
  // The list reaches past the content by a system bar on the right and at
  // the bottom, to the pixel: no rounding to whole items.
  const TRect content = ContentOnScreen();
  const TRect expected(content.Left, content.Top, content.Right + GetSystemMetrics(SM_CXVSCROLL),
                       content.Bottom + GetSystemMetrics(SM_CYHSCROLL));
  EXPECT_EQ(ScreenRectOf(List->Handle()), expected);
  // The native vertical bar is there, but all of it past the content.
  ASSERT_TRUE(NativeBarShown(List->Handle(), sbVertical));
  EXPECT_GE(NativeBarInfo(List->Handle(), sbVertical).rcScrollBar.left, content.Right);
}

TEST_P(ContainerOverlayScrollBars, ThePopupBarsLieOverTheContentsFarEdgesAndSayWhatTheListSays) {
  const TRect content = ContentOnScreen();
  const int touch = 16;  // a touch bar's thickness at 96 DPI
  const struct {
    const char* Name;
    int Extent;  // LB_SETHORIZONTALEXTENT
    bool Horizontal;
  } steps[] = {
      {"only lines to scroll", 0, false},
      {"lines wider than the list", 600, true},
      {"narrow again", 0, false},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.Name);
    SendMessageW(List->Handle(), LB_SETHORIZONTALEXTENT, step.Extent, 0);
    PumpPending();
    Host->RevealScrollBars(false);
    PumpPending();
    for (const TScrollBarKind kind : {sbHorizontal, sbVertical}) {
      SCOPED_TRACE(kind == sbHorizontal ? "horizontal" : "vertical");
      TcxControlPopupScrollBar* bar = PopupBar(kind);
      ASSERT_NE(bar, nullptr);
      const bool shown = kind == sbVertical || step.Horizontal;
      EXPECT_EQ(Host->IsScrollBarVisible(kind), shown);
      EXPECT_EQ(bar->HandleAllocated() && IsWindowVisible(bar->Handle()), shown);
      if (!shown) continue;
      // Touch bars reserve no room: neither shortens the other.
      const TRect where = kind == sbVertical
                              ? TRect(content.Right - touch, content.Top, content.Right, content.Bottom)
                              : TRect(content.Left, content.Bottom - touch, content.Right, content.Bottom);
      EXPECT_EQ(ScreenRectOf(bar->Handle()), where);
      const SCROLLINFO info = NativeScrollInfo(List->Handle(), kind);
      EXPECT_EQ(bar->GetMin(), info.nMin);
      EXPECT_EQ(bar->GetMax(), info.nMax);
      EXPECT_EQ(bar->GetPageSize(), static_cast<int>(info.nPage));
      EXPECT_EQ(bar->GetPosition(), info.nPos);
    }
  }
}

// Heights that are and are not whole lines of the list.
INSTANTIATE_TEST_SUITE_P(Heights, ContainerOverlayScrollBars, testing::Values(130, 137));

}  // namespace

namespace {

// Hybrid bars: each keeps its collapsed stripe clear of the other, so with
// both shown they stop short of the corner, where the grip sits.
TEST(ContainerHybridScrollBars, BothBarsStopShortOfTheCornerWhereTheGripSits) {
  TOwned<TForm> form(NewShownForm(TRect(150, 120, 500, 460)));
  auto* host = New<TScrollingListHost>(form.get());
  host->Overlay = true;
  host->SetParent(form.get());
  host->SetBounds(10, 10, 180, 137);
  host->Style()->LookAndFeel()->SetNativeStyle(false);
  PumpPending();
  host->LookAndFeel()->SetScrollbarMode(sbmHybrid);
  for (int i = 0; i < 40; ++i) host->List->Items()->Add(L"line " + IntToStr(i));
  PumpPending();
  ASSERT_EQ(host->ScrollbarMode(), sbmHybrid);
  const HWND list = host->List->Handle();
  const TPoint origin = host->ClientToScreen(TPoint(0, 0));
  TRect content = host->ClientBounds();
  content.Offset(origin.X, origin.Y);
  // The list still covers the content with its own bars past it.
  EXPECT_EQ(ScreenRectOf(list), TRect(content.Left, content.Top, content.Right + GetSystemMetrics(SM_CXVSCROLL),
                                      content.Bottom + GetSystemMetrics(SM_CYHSCROLL)));
  const int expanded = 16, collapsed = 6;  // a hybrid bar's thicknesses at 96 DPI
  const struct {
    const char* Name;
    int Extent;  // LB_SETHORIZONTALEXTENT
    TRect Vert, Horz, Grip;  // empty: not shown
  } steps[] = {
      {"only lines to scroll", 0, TRect(content.Right - expanded, content.Top, content.Right, content.Bottom), TRect(),
       TRect()},
      {"lines wider than the list", 600,
       TRect(content.Right - expanded, content.Top, content.Right, content.Bottom - collapsed),
       TRect(content.Left, content.Bottom - expanded, content.Right - collapsed, content.Bottom),
       TRect(content.Right - collapsed, content.Bottom - collapsed, content.Right, content.Bottom)},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.Name);
    SendMessageW(list, LB_SETHORIZONTALEXTENT, step.Extent, 0);
    PumpPending();
    host->RevealScrollBars(false);
    PumpPending();
    for (const TScrollBarKind kind : {sbHorizontal, sbVertical}) {
      SCOPED_TRACE(kind == sbHorizontal ? "horizontal" : "vertical");
      IcxControlScrollBar* bar = kind == sbHorizontal ? host->GetHorzScrollBar() : host->GetVertScrollBar();
      ASSERT_NE(bar, nullptr);
      auto* window = dynamic_cast<TcxControlPopupScrollBar*>(bar->GetControl());
      ASSERT_NE(window, nullptr);
      const TRect where = kind == sbHorizontal ? step.Horz : step.Vert;
      const bool shown = !where.IsEmpty();
      EXPECT_EQ(window->HandleAllocated() && IsWindowVisible(window->Handle()), shown);
      if (!shown) continue;
      EXPECT_EQ(ScreenRectOf(window->Handle()), where);
      const SCROLLINFO info = NativeScrollInfo(list, kind);
      EXPECT_EQ(bar->GetMin(), info.nMin);
      EXPECT_EQ(bar->GetMax(), info.nMax);
      EXPECT_EQ(bar->GetPageSize(), static_cast<int>(info.nPage));
      EXPECT_EQ(bar->GetPosition(), info.nPos);
    }
    TcxSizeGrip* grip = host->GetSizeGrip();
    const bool gripShown = grip && grip->HandleAllocated() && IsWindowVisible(grip->Handle());
    EXPECT_EQ(gripShown, !step.Grip.IsEmpty());
    if (gripShown) {
      EXPECT_EQ(ScreenRectOf(grip->Handle()), step.Grip);
    }
  }
}

}  // namespace
