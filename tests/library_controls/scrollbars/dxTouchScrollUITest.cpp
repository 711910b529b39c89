#include "library/controls/scrollbars/dxTouchScrollUI.h"

#include "tests/library_controls/ControlsTesting.h"
#include "tests/library_controls/OverlayScrollBarsTesting.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

namespace {

TMessage MouseMove(int X, int Y) {
  TMessage message{};
  message.Msg = WM_MOUSEMOVE;
  message.LParam = MAKELPARAM(X, Y);
  return message;
}

TEST(dxTouchScrollUIActivityHelper, JitterIsNoActivityAMoveOntoTheBarsIs) {
  TOwned<TForm> form(NewShownForm(TRect(60, 60, 360, 260)));
  TOwned<TdxTouchScrollUIActivityHelper> helper(New<TdxTouchScrollUIActivityHelper>());
  // The bars' area: the 16 columns on the right of a 200-wide client.
  const auto onBars = [](const TPoint& P) { return P.X >= 184; };
  struct TStep {
    const char* Name;
    TMessage Message;
    bool Activity;
  };
  TMessage leave{};
  leave.Msg = CM_MOUSELEAVE;
  TMessage click{};
  click.Msg = WM_LBUTTONDOWN;
  for (const TStep& step : {
           TStep{"the first move only records", MouseMove(50, 50), false},
           TStep{"9 pixels in both directions: jitter", MouseMove(59, 41), false},
           TStep{"10 pixels in X", MouseMove(60, 50), true},
           TStep{"measured from the new position", MouseMove(65, 55), false},
           TStep{"10 pixels in Y", MouseMove(60, 65), true},
           TStep{"onto the bars' area, however short", MouseMove(185, 65), true},
           TStep{"a click is no move", click, false},
           TStep{"leaving", leave, false},
           TStep{"the first move after coming back only records", MouseMove(120, 120), false},
           TStep{"and the next is measured from it", MouseMove(121, 131), true},
       }) {
    SCOPED_TRACE(step.Name);
    EXPECT_EQ(helper->CheckScrollActivity(form.get(), step.Message, onBars), step.Activity);
  }
}

struct TTouchScrollUI : testing::Test {
  TOwned<TForm> Form;
  TOverlayControl* First = nullptr;
  TOverlayControl* Second = nullptr;

  TOverlayControl* NewControl(int ALeft) {
    auto* control = New<TOverlayControl>(Form.get());
    control->LookAndFeel()->SetScrollbarMode(sbmTouch);
    control->SetParent(Form.get());
    control->SetBounds(ALeft, 20, 150, 120);
    control->HandleNeeded();
    control->SetContent(150, 500);
    return control;
  }
  void SetUp() override {
    Form.reset(NewShownForm(TRect(60, 60, 460, 300)));
    First = NewControl(10);
    Second = NewControl(200);
    PumpPending();
  }
  void TearDown() override {
    TdxTouchScrollUIModeManager::HideActive();
    Form.reset();
  }

  static bool BarShown(TOverlayControl* AControl) {
    IcxControlScrollBar* bar = AControl->GetVertScrollBar();
    auto* popup = bar ? dynamic_cast<TWinControl*>(bar->GetControl()) : nullptr;
    return popup && popup->HandleAllocated() && IsWindowVisible(popup->Handle());
  }
};

TEST_F(TTouchScrollUI, BarsShowOnRevealAndHideOneSecondAfterTheLastActivity) {
  EXPECT_FALSE(BarShown(First));
  First->RevealScrollBars(true);
  EXPECT_TRUE(BarShown(First));
  TcxTimer* timer = TdxTouchScrollUIModeManager::HideTimer();
  ASSERT_NE(timer, nullptr);
  EXPECT_TRUE(timer->Enabled());
  EXPECT_EQ(timer->Interval(), 1000u);
  // More activity restarts the wait; a request without the timer holds the
  // UI until it is released.
  First->RevealScrollBars(false);
  EXPECT_FALSE(timer->Enabled());
  First->HideScrollBars(false);
  EXPECT_TRUE(timer->Enabled());
  CallEvent(timer->OnTimer(), timer);
  EXPECT_FALSE(BarShown(First));
  EXPECT_TRUE(TdxTouchScrollUIModeManager::IsScrollUIHidden(First->ScrollbarsHelper()));
}

TEST_F(TTouchScrollUI, OnlyOneControlShowsItsBars) {
  First->RevealScrollBars(true);
  ASSERT_TRUE(BarShown(First));
  Second->RevealScrollBars(true);
  EXPECT_FALSE(BarShown(First));
  EXPECT_TRUE(BarShown(Second));
  EXPECT_EQ(TdxTouchScrollUIModeManager::ActiveOwner(),
            static_cast<IdxTouchScrollUIOwner*>(Second->ScrollbarsHelper()));
}

TEST_F(TTouchScrollUI, AMouseMoveOverTheControlRevealsItsBars) {
  const TRect r = First->ClientRect();
  const TPoint a = First->ClientToScreen(TPoint(r.Width() / 3, r.Height() / 2));
  const TPoint b = a + TPoint(30, 0);
  ASSERT_TRUE(MoveUntil(a, [] { return true; }));
  ASSERT_TRUE(MoveUntil(b, [&] { return BarShown(First); }));
}

TEST_F(TTouchScrollUI, MinimisingOrHidingTheFormHidesTheBarsAtOnce) {
  struct TCase {
    const char* Name;
    std::function<void()> Hide;
    std::function<void()> Restore;
  };
  for (const TCase& c : {
           TCase{"SC_MINIMIZE", [&] { SendMessageW(Form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0); },
                 [&] { ShowWindow(Form->Handle(), SW_RESTORE); }},
           TCase{"hidden", [&] { ShowWindow(Form->Handle(), SW_HIDE); },
                 [&] { ShowWindow(Form->Handle(), SW_SHOW); }},
       }) {
    SCOPED_TRACE(c.Name);
    First->RevealScrollBars(false);
    ASSERT_TRUE(BarShown(First));
    c.Hide();
    EXPECT_FALSE(BarShown(First));
    EXPECT_FALSE(TdxTouchScrollUIModeManager::Visible());
    c.Restore();
    PumpPending();
  }
}

TEST_F(TTouchScrollUI, DisablingTheFormHidesTheBarsEnablingItDoesNot) {
  EnableWindow(Form->Handle(), FALSE);
  First->RevealScrollBars(false);
  ASSERT_TRUE(BarShown(First));
  EnableWindow(Form->Handle(), TRUE);
  EXPECT_TRUE(BarShown(First));
  EnableWindow(Form->Handle(), FALSE);
  EXPECT_FALSE(BarShown(First));
  EnableWindow(Form->Handle(), TRUE);
}

TEST_F(TTouchScrollUI, AFreedControlIsForgotten) {
  First->RevealScrollBars(false);
  ASSERT_NE(TdxTouchScrollUIModeManager::ActiveOwner(), nullptr);
  First->Free();
  First = nullptr;
  EXPECT_EQ(TdxTouchScrollUIModeManager::ActiveOwner(), nullptr);
  TdxTouchScrollUIModeManager::HideActive();
}

}  // namespace
