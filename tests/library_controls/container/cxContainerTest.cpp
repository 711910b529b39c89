#include "library/controls/container/cxContainer.h"

#include "library/core/system/dxThemeManager.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"

#include "tests/library_controls/ControlsTesting.h"
#include "tests/support/Pixels.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <uxtheme.h>
#include <vssym32.h>

namespace {

// Counts what the tests watch: refreshes and frame changes (SetWindowRgn
// changes the frame of the window).
class TWatchedContainer : public TcxContainer {
  SK_CLASS(TWatchedContainer, TcxContainer)
 public:
  int Refreshes = 0;
  int FrameChanges = 0;

  // The container's own key handling with the given shift state.
  void PressKey(WORD& AKey, TShiftState AShift) { KeyDown(AKey, AShift); }

 protected:
  bool RefreshAtPoint(const TPoint& P, TcxMouseButton AButton, TShiftState AShift, bool AIsMouseEvent) override {
    ++Refreshes;
    return inherited::RefreshAtPoint(P, AButton, AShift, AIsMouseEvent);
  }
  void WndProc(TMessage& Message) override {
    if (Message.Msg == WM_WINDOWPOSCHANGING &&
        (reinterpret_cast<WINDOWPOS*>(Message.LParam)->flags & SWP_FRAMECHANGED) != 0)
      ++FrameChanges;
    inherited::WndProc(Message);
  }
};

COLORREF Sys(int AIndex) { return GetSysColor(AIndex); }

// The window's region, or nil without one.
TOwned<TcxRegion> WindowRegion(HWND AWindow) {
  TOwned<TcxRegion> region(New<TcxRegion>());
  if (GetWindowRgn(AWindow, region->Handle()) == ERROR) region.reset();
  return region;
}

HRGN RectRegion(const TRect& R) { return CreateRectRgn(R.Left, R.Top, R.Right, R.Bottom); }

struct Container : testing::Test {
  TOwned<TForm> Form{NewShownForm(TRect(200, 150, 500, 350))};
  TWatchedContainer* Box = nullptr;
  TButton* Other = nullptr;
  static constexpr COLORREF Outside = RGB(12, 34, 56);

  void SetUp() override {
    Other = New<TButton>(Form.get());
    Other->SetParent(Form.get());
    Other->SetBounds(200, 10, 60, 24);
    Box = New<TWatchedContainer>(Form.get());
    Box->Style()->LookAndFeel()->SetNativeStyle(false);
    Box->Style()->LookAndFeel()->SetKind(lfUltraFlat);
    Box->SetParent(Form.get());
    Box->SetBounds(20, 20, 60, 24);
    MoveUntil(ScreenCenterOf(Other), [] { return true; });
    PumpPending();
    Box->ShortRefreshContainer(false);
  }

  TPixelSurface Paint() {
    TPixelSurface surface(Box->Width(), Box->Height(), Outside);
    Box->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.DC()), PRF_CLIENT);
    return surface;
  }

  // The 1-pixel ring just inside the 1-pixel margin the transparent border leaves.
  void ExpectRing(COLORREF AColor) {
    const TPixelSurface s = Paint();
    const TRect ring(1, 1, Box->Width() - 1, Box->Height() - 1);
    EXPECT_EQ(s.BoundsOf(AColor), ring) << s.Picture(Outside);
    EXPECT_EQ(s.Count(AColor), 2 * ring.Width() + 2 * (ring.Height() - 2));
  }

  TPoint ScreenCenterOf(TControl* AControl) {
    return AControl->ClientToScreen(TPoint(AControl->Width() / 2, AControl->Height() / 2));
  }
};

TEST_F(Container, UltraFlatRingIsShadowNormallyAndHighlightWhenFocusedOrHot) {
  ExpectRing(Sys(COLOR_BTNSHADOW));
  const TPixelSurface s = Paint();
  EXPECT_EQ(s.Count(TRect(2, 2, 58, 22), Sys(COLOR_WINDOW)), 56 * 20);

  Box->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return Box->Focused(); }));
  EXPECT_TRUE(Box->ViewInfo()->ContainerState.Contains(csActive));
  ExpectRing(Sys(COLOR_HIGHLIGHT));

  Other->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return !Box->Focused(); }));
  ExpectRing(Sys(COLOR_BTNSHADOW));

  // The mouse over the control, no button held: hot.
  ASSERT_TRUE(MoveUntil(ScreenCenterOf(Box), [&] { return Box->ViewInfo()->ContainerState.Contains(csHotTrack); }));
  ExpectRing(Sys(COLOR_HIGHLIGHT));
  // Leaving is noticed by the tracking timer.
  ASSERT_TRUE(MoveUntil(ScreenCenterOf(Other), [&] { return !Box->ViewInfo()->ContainerState.Contains(csHotTrack); }));
  ExpectRing(Sys(COLOR_BTNSHADOW));
}

TEST_F(Container, HoldingAModifierSuppressesTheHotState) {
  ASSERT_TRUE(MoveUntil(ScreenCenterOf(Box), [&] { return Box->ViewInfo()->ContainerState.Contains(csHotTrack); }));
  SendKey(VK_SHIFT, false);
  ASSERT_TRUE(PumpUntil([] { return GetKeyState(VK_SHIFT) < 0; }));
  Box->ShortRefreshContainer(true);
  const bool hotWithShift = Box->ViewInfo()->ContainerState.Contains(csHotTrack);
  SendKey(VK_SHIFT, true);
  ASSERT_TRUE(PumpUntil([] { return GetKeyState(VK_SHIFT) >= 0; }));
  EXPECT_FALSE(hotWithShift);
  Box->ShortRefreshContainer(true);
  EXPECT_TRUE(Box->ViewInfo()->ContainerState.Contains(csHotTrack));
}

TEST_F(Container, DisabledDrawsTheDisabledStyle) {
  Box->SetEnabled(false);
  EXPECT_EQ(Box->ViewInfo()->ContainerState, TcxContainerState{csDisabled});
  // Not parent-coloured: the disabled style's default background is the button face.
  const TPixelSurface s = Paint();
  EXPECT_EQ(s.Count(TRect(2, 2, 58, 22), Sys(COLOR_BTNFACE)), 56 * 20) << s.Picture(Outside);
  Box->StyleDisabled()->SetBorderColor(clRed);
  ExpectRing(RGB(255, 0, 0));
}

TEST_F(Container, WindowRegionIsTheBorderBoundsAndIsSetOnlyWhenItChanges) {
  // The transparent border leaves its outer pixel to the parent.
  TOwned<TcxRegion> region = WindowRegion(Box->Handle());
  ASSERT_TRUE(region);
  const TOwned<TcxRegion> expected(New<TcxRegion>(RectRegion(TRect(1, 1, 59, 23))));
  EXPECT_TRUE(EqualRgn(region->Handle(), expected->Handle()));

  const int before = Box->FrameChanges;
  for (int i = 0; i < 3; ++i) Box->ShortRefreshContainer(false);
  EXPECT_EQ(Box->FrameChanges, before) << "an equal region is not handed to the window again";

  // With the shadow: the border bounds and their copy moved by (3, 3).
  Box->Style()->SetShadow(true);
  EXPECT_GT(Box->FrameChanges, before);
  region = WindowRegion(Box->Handle());
  ASSERT_TRUE(region);
  const TRect border(1, 1, 60 - 3 - 1, 24 - 3 - 1);
  TOwned<TcxRegion> shadowed(New<TcxRegion>(RectRegion(border)));
  TRect moved = border;
  moved.Offset(3, 3);
  shadowed->Combine(moved, roAdd);
  EXPECT_TRUE(EqualRgn(region->Handle(), shadowed->Handle()));
  // The client area is 3 pixels narrower and lower.
  EXPECT_EQ(Box->ViewInfo()->ClientRect, TRect(2, 2, 60 - 3 - 2, 24 - 3 - 2));

  // Without a transparent border or shadow the window keeps its rectangle.
  Box->Style()->SetShadow(false);
  Box->Style()->SetTransparentBorder(false);
  EXPECT_FALSE(WindowRegion(Box->Handle()));
}

TEST_F(Container, RefreshInvalidatesTheRingAroundAnInnerWindowOnly) {
  auto* inner = New<TEdit>(Form.get());
  inner->SetParent(Box);
  Box->SetInnerControl(inner);
  Box->ShortRefreshContainer(false);
  EXPECT_EQ(inner->BoundsRect(), Box->ViewInfo()->ClientRect);
  ValidateRect(Box->Handle(), nullptr);
  Box->ShortRefreshContainer(false);
  TOwned<TcxRegion> update(New<TcxRegion>());
  GetUpdateRgn(Box->Handle(), update->Handle(), FALSE);
  TOwned<TcxRegion> ring(New<TcxRegion>(RectRegion(TRect(0, 0, 60, 24))));
  ring->Combine(RectRegion(Box->ViewInfo()->BorderRect), roSubtract);
  EXPECT_TRUE(EqualRgn(update->Handle(), ring->Handle()));

  // Without an inner window the whole client is invalidated.
  Box->SetInnerControl(nullptr);
  ValidateRect(Box->Handle(), nullptr);
  Box->ShortRefreshContainer(false);
  GetUpdateRgn(Box->Handle(), update->Handle(), FALSE);
  const TOwned<TcxRegion> client(New<TcxRegion>(RectRegion(TRect(0, 0, 60, 24))));
  EXPECT_TRUE(EqualRgn(update->Handle(), client->Handle()));
}

TEST_F(Container, ALockedBatchRefreshesOnce) {
  const int before = Box->Refreshes;
  Box->LockRefresh();
  Box->Style()->SetBorderColor(clRed);
  Box->Style()->SetColor(clYellow);
  Box->Style()->SetShadow(true);
  EXPECT_EQ(Box->Refreshes, before);
  EXPECT_FALSE(Box->IsViewInfoCalculated());
  Box->UnlockRefresh();
  EXPECT_EQ(Box->Refreshes, before + 1);
  EXPECT_TRUE(Box->IsViewInfoCalculated());
  EXPECT_EQ(Box->Color(), clYellow) << "the style's colour becomes the control's";
}

TEST_F(Container, ARefreshWithoutAWindowIsDoneByTheFirstPaint) {
  auto* box = New<TWatchedContainer>(Form.get());
  box->Style()->LookAndFeel()->SetNativeStyle(false);
  box->Style()->SetBorderColor(clRed);
  EXPECT_EQ(box->Refreshes, 0);
  EXPECT_FALSE(box->IsViewInfoCalculated());
  box->SetParent(Form.get());
  box->SetBounds(100, 100, 40, 20);
  TPixelSurface surface(40, 20, Outside);
  box->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.DC()), PRF_CLIENT);
  EXPECT_TRUE(box->IsViewInfoCalculated());
  EXPECT_EQ(surface.Pixel(1, 1), RGB(255, 0, 0));
}

TEST_F(Container, FocusPassesToTheInnerWindowAndBackWithoutLeavingTheContainer) {
  auto* inner = New<TEdit>(Form.get());
  inner->SetParent(Box);
  Box->SetInnerControl(inner);
  Box->ShortRefreshContainer(false);
  int focusChanges = 0;
  struct TCounter : TObject {
    int* Count;
    void Changed(TObject*) { ++*Count; }
  } counter;
  counter.Count = &focusChanges;
  Box->SetOnFocusChanged(BindEvent<&TCounter::Changed>(&counter));
  Box->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == inner->Handle(); }));
  EXPECT_TRUE(Box->Focused()) << "the inner window's focus is the container's";
  EXPECT_TRUE(Box->ViewInfo()->ContainerState.Contains(csActive));
  // Focus moving from the container to its inner window is no leave.
  const int changes = focusChanges;
  ::SetFocus(Box->Handle());
  PumpPending();
  EXPECT_LE(focusChanges - changes, 1);
  Other->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return !Box->Focused(); }));
  EXPECT_FALSE(Box->ViewInfo()->ContainerState.Contains(csActive));
  Box->SetOnFocusChanged(nullptr);
}

TEST_F(Container, TabMovesToTheNextControlUnlessCtrlOrAltIsHeld) {
  auto* third = New<TWatchedContainer>(Form.get());
  third->SetParent(Form.get());
  third->SetBounds(20, 60, 60, 24);
  Other->SetTabOrder(0);
  Box->SetTabOrder(1);
  third->SetTabOrder(2);
  struct TCase {
    const char* Name;
    TShiftState Shift;
    TWinControl* Expected;
  };
  const TCase cases[] = {
      {"Tab", {}, third}, {"Shift+Tab", {ssShift}, Other}, {"Ctrl+Tab", {ssCtrl}, Box}, {"Alt+Tab", {ssAlt}, Box}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Box->SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == Box->Handle(); }));
    WORD key = VK_TAB;
    Box->PressKey(key, c.Shift);
    PumpPending();
    EXPECT_EQ(GetFocus(), c.Expected->Handle());
    EXPECT_EQ(key, c.Expected == Box ? VK_TAB : 0);
  }
}

TEST_F(Container, ParentColorShowsTheParentsColourUntilTheStyleAssignsOne) {
  Form->SetColor(clYellow);
  Box->SetParentColor(true);
  EXPECT_EQ(Box->Style()->Color(), clYellow);
  Box->ShortRefreshContainer(false);
  const TPixelSurface parentColored = Paint();
  EXPECT_EQ(parentColored.Count(TRect(2, 2, 58, 22), RGB(255, 255, 0)), 56 * 20) << parentColored.Picture(Outside);
  Box->Style()->SetColor(clAqua);
  EXPECT_FALSE(Box->ParentColor());
  EXPECT_EQ(Box->Color(), clAqua);
  const TPixelSurface own = Paint();
  EXPECT_EQ(own.Count(TRect(2, 2, 58, 22), RGB(0, 255, 255)), 56 * 20);
}

TEST_F(Container, NativeFrameEqualsTheThemedEditInEachState) {
  const HTHEME theme = OpenTheme(totEdit);
  ASSERT_NE(theme, nullptr);
  Box->Style()->LookAndFeel()->SetNativeStyle(true);
  ASSERT_TRUE(Box->ViewInfo()->NativeStyle);
  for (bool enabled : {true, false}) {
    SCOPED_TRACE(enabled ? "enabled" : "disabled");
    Box->SetEnabled(enabled);
    const int state = enabled ? ETS_NORMAL : ETS_DISABLED;
    EXPECT_EQ(Box->ViewInfo()->NativeState, state);
    const TPixelSurface s = Paint();
    TPixelSurface reference(Box->Width(), Box->Height(), Outside);
    const RECT r{0, 0, Box->Width(), Box->Height()};
    ASSERT_EQ(DrawThemeBackground(theme, reference.DC(), EP_EDITTEXT, state, &r, nullptr), S_OK);
    int differing = 0;
    for (int y = 0; y < s.Height(); ++y)
      for (int x = 0; x < s.Width(); ++x) differing += s.Pixel(x, y) != reference.Pixel(x, y);
    EXPECT_EQ(differing, 0) << s.Picture(Outside);
  }
  // A native frame keeps the plain window rectangle.
  EXPECT_FALSE(WindowRegion(Box->Handle()));
}

}  // namespace
