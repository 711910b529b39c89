#include "library/controls/control/cxControls.h"

#include "tests/library_controls/ControlsTesting.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A control carrying two windowless bars: a vertical one along its right
// edge and a horizontal one along its bottom.
class TBarsControl : public TcxControl {
  SK_CLASS(TBarsControl, TcxControl)
 public:
  TOwned<TcxControlScrollBarHelper> Vert;
  TOwned<TcxControlScrollBarHelper> Horz;
  int MouseDowns = 0;
  std::vector<TScrollCode> Codes;

  void Create(TComponent* AOwner) override {
    inherited::Create(AOwner);
    Vert.reset(NewBar(sbVertical, TRect(150, 0, 167, 100)));
    Horz.reset(NewBar(sbHorizontal, TRect(0, 100, 150, 117)));
  }
  void Destroy() override {
    for (auto* bar : {Vert.get(), Horz.get()})
      if (bar && ScrollBarsManager()) ScrollBarsManager()->UnRegisterScrollBar(bar);
    Vert.reset();
    Horz.reset();
    inherited::Destroy();
  }
  void Scroll(TObject*, TScrollCode ACode, int&) { Codes.push_back(ACode); }

 protected:
  bool WantsScrollBars() override { return false; }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    ++MouseDowns;
    inherited::MouseDown(Button, Shift, X, Y);
  }

 private:
  TcxControlScrollBarHelper* NewBar(TScrollBarKind AKind, const TRect& ABounds) {
    auto* bar = New<TcxControlScrollBarHelper>(static_cast<IcxScrollBarOwner*>(this));
    bar->SetKind(AKind);
    bar->SetOwnerControlRelativeBounds(ABounds);
    bar->SetScrollParams(0, 100, 0, 10, true);
    bar->SetVisible(true);
    bar->SetOnScroll(BindEvent<&TBarsControl::Scroll>(this));
    bar->Calculate();
    ScrollBarsManager()->RegisterScrollBar(bar);
    return bar;
  }
};

void WaitForButtonsUp() {
  PumpUntil([] { return GetAsyncKeyState(VK_LBUTTON) >= 0 && GetAsyncKeyState(VK_RBUTTON) >= 0; });
  PumpPending();
}

struct TWindowlessBars : testing::Test {
  TOwned<TForm> Form;
  TBarsControl* Control = nullptr;

  void SetUp() override {
    // A move to where the cursor already is sends nothing: start outside.
    SendMouseMove(TPoint(5, 5));
    Form.reset(NewShownForm(TRect(40, 40, 440, 340)));
    Control = New<TBarsControl>(Form.get());
    Control->SetParent(Form.get());
    Control->SetBounds(20, 20, 200, 150);
    Control->HandleNeeded();
    Control->Repaint();
    PumpPending();
  }
  void TearDown() override {
    for (const DWORD up : {MOUSEEVENTF_LEFTUP, MOUSEEVENTF_RIGHTUP}) {
      const int key = up == MOUSEEVENTF_LEFTUP ? VK_LBUTTON : VK_RBUTTON;
      if (GetAsyncKeyState(key) < 0) SendMouseButtons(ReadCursorPos(), up);
    }
    WaitForButtonsUp();
    Form.reset();
  }
  TcxControlScrollBarsManager* Manager() const { return Control->ScrollBarsManager(); }
  TPoint Screen(const TPoint& AClient) const { return Control->ClientToScreen(AClient); }
  TPoint ThumbCentre(TcxControlScrollBarHelper* ABar) const {
    return ABar->ViewInfo()->PartBounds(sbpThumbnail).GetCenter();
  }
};

TEST_F(TWindowlessBars, TheBarUnderTheMouseIsHot) {
  ASSERT_EQ(Manager()->ScrollBarCount(), 2);
  ASSERT_TRUE(MoveUntil(Screen(TPoint(158, 50)), [&] { return Manager()->HotScrollBar() == Control->Vert.get(); }));
  ASSERT_TRUE(MoveUntil(Screen(TPoint(75, 108)), [&] { return Manager()->HotScrollBar() == Control->Horz.get(); }));
  EXPECT_TRUE(IsMouseTrackingActive(Manager()));
  ASSERT_TRUE(MoveUntil(Screen(TPoint(50, 50)), [&] { return Manager()->HotScrollBar() == nullptr; }));
  // Leaving the control from a bar: the tracking un-hots it.
  ASSERT_TRUE(MoveUntil(Screen(TPoint(158, 50)), [&] { return Manager()->HotScrollBar() == Control->Vert.get(); }));
  ASSERT_TRUE(MoveUntil(Screen(TPoint(300, 50)), [&] { return Manager()->HotScrollBar() == nullptr; }));
  EXPECT_FALSE(IsMouseTrackingActive(Manager()));
}

TEST_F(TWindowlessBars, TheCaptureHoldsThroughADragAndKeepsTheBar) {
  const TPoint thumb = ThumbCentre(Control->Vert.get());
  ASSERT_TRUE(MoveUntil(Screen(thumb), [&] { return Manager()->HotScrollBar() == Control->Vert.get(); }));
  SendMouseButtons(Screen(thumb), MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(PumpUntil([&] { return Manager()->IsCapture(); }));
  EXPECT_EQ(GetCapture(), Control->Handle());
  EXPECT_EQ(Control->MouseDowns, 0) << "the press went to the bar only";
  // Over the other bar while dragging: the dragged bar stays hot.
  SendMouseMove(Screen(TPoint(75, 108)));
  PumpPending();
  EXPECT_EQ(Manager()->HotScrollBar(), Control->Vert.get());
  SendMouseMove(Screen(TPoint(thumb.X, thumb.Y + 30)));
  ASSERT_TRUE(PumpUntil([&] { return Control->Vert->Position() > 0; }));
  SendMouseButtons(Screen(TPoint(thumb.X, thumb.Y + 30)), MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return !Manager()->IsCapture(); }));
  EXPECT_EQ(GetCapture(), nullptr);
  ASSERT_FALSE(Control->Codes.empty());
  EXPECT_EQ(Control->Codes.back(), scEndScroll);
}

TEST_F(TWindowlessBars, TheCaptureIsRetakenWhenTheWindowIsRecreatedMidDrag) {
  const TPoint thumb = ThumbCentre(Control->Vert.get());
  ASSERT_TRUE(MoveUntil(Screen(thumb), [&] { return Manager()->HotScrollBar() == Control->Vert.get(); }));
  SendMouseButtons(Screen(thumb), MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(PumpUntil([&] { return Manager()->IsCapture(); }));
  const HWND before = Control->Handle();
  Control->RecreateWnd();
  Control->HandleNeeded();
  ASSERT_NE(Control->Handle(), before);
  EXPECT_TRUE(Manager()->IsCapture());
  EXPECT_EQ(GetCapture(), Control->Handle());
  SendMouseButtons(Screen(thumb), MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return !Manager()->IsCapture(); }));
}

TEST_F(TWindowlessBars, ARightClickIsConsumedOnlyOverAHotBarAndTakesNoCapture) {
  ASSERT_TRUE(MoveUntil(Screen(TPoint(158, 50)), [&] { return Manager()->HotScrollBar() == Control->Vert.get(); }));
  const LPARAM overBar = MAKELPARAM(158, 50);
  SendMessageW(Control->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, overBar);
  SendMessageW(Control->Handle(), WM_RBUTTONUP, 0, overBar);
  EXPECT_EQ(Control->MouseDowns, 0);
  EXPECT_FALSE(Manager()->IsCapture());
  EXPECT_NE(GetCapture(), Control->Handle());
  ASSERT_TRUE(MoveUntil(Screen(TPoint(50, 50)), [&] { return Manager()->HotScrollBar() == nullptr; }));
  SendMessageW(Control->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(50, 50));
  SendMessageW(Control->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(50, 50));
  EXPECT_EQ(Control->MouseDowns, 1);
}

TEST_F(TWindowlessBars, UnregisteringTheHotBarEndsItsTracking) {
  ASSERT_TRUE(MoveUntil(Screen(TPoint(158, 50)), [&] { return Manager()->HotScrollBar() == Control->Vert.get(); }));
  ASSERT_TRUE(IsMouseTrackingActive(Manager()));
  Manager()->UnRegisterScrollBar(Control->Vert.get());
  EXPECT_EQ(Manager()->HotScrollBar(), nullptr);
  EXPECT_FALSE(IsMouseTrackingActive(Manager()));
  EXPECT_EQ(Manager()->ScrollBarCount(), 1);
}

TEST_F(TWindowlessBars, TheBarsAreTheScrollBarArea) {
  EXPECT_TRUE(Manager()->IsScrollBarsArea(TPoint(158, 50)));
  EXPECT_TRUE(Manager()->IsScrollBarsArea(TPoint(0, 116)));
  EXPECT_FALSE(Manager()->IsScrollBarsArea(TPoint(149, 99)));
  Control->Vert->SetVisible(false);
  EXPECT_FALSE(Manager()->IsScrollBarsArea(TPoint(158, 50)));
}

}  // namespace
