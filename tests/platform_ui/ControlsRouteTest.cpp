// The message route of controls: WindowProc -> WndProc -> handler -> DefaultHandler,
// reflection of child notifications, window creation and destruction.
#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"

#include "tests/support/GuiLeaks.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr UINT MsgProbe = WM_APP + 20;

std::vector<std::string>* GTrace = nullptr;
void Trace(const std::string& AStep) {
  if (GTrace) GTrace->push_back(AStep);
}

// A control that records each step of the route for MsgProbe.
class TRouteControl : public TCustomControl {
  SK_CLASS(TRouteControl, TCustomControl)
 public:
  static void Publish(TPublisher<TRouteControl>& P) { P.Message<&TRouteControl::WMProbe>(MsgProbe); }
  void WndProc(TMessage& Message) override {
    if (Message.Msg == MsgProbe) Trace("WndProc");
    inherited::WndProc(Message);
  }
  void DefaultHandler(TMessage& Message) override {
    if (Message.Msg == MsgProbe) {
      Trace("DefaultHandler");
      Message.Result += 100;
      return;
    }
    inherited::DefaultHandler(Message);
  }
  // A hook placed in front of WndProc, as a replaced WindowProc is.
  void Hook(TMessage& Message) {
    if (Message.Msg == MsgProbe) Trace("WindowProc");
    FOld(Message);
  }
  TWndMethod FOld;

 protected:
  void WMProbe(TMessage& Message) {
    Trace("handler");
    Message.Result = 1;
    InheritedMessage<TRouteControl>(Message);
  }
};

// A standard BUTTON window under our control: its notifications come back
// reflected as CN_COMMAND.
class TNativeButton : public TWinControl {
  SK_CLASS(TNativeButton, TWinControl)
 public:
  static void Publish(TPublisher<TNativeButton>& P) { P.Message<&TNativeButton::CNCommand>(CN_COMMAND); }
  void Create(TComponent* AOwner) override {
    inherited::Create(AOwner);
    SetBounds(0, 0, 80, 24);
  }
  int Clicks = 0;

 protected:
  void CreateParams(TCreateParams& Params) override {
    inherited::CreateParams(Params);
    CreateSubClass(Params, L"BUTTON");
    Params.Style |= BS_PUSHBUTTON;
  }
  void CNCommand(TMessage& Message) {
    if (HIWORD(Message.WParam) == BN_CLICKED) ++Clicks;
  }
};

class ControlsRouteTest : public testing::Test {
 protected:
  void SetUp() override {
    FWindows = ThreadWindowCount();
    GTrace = &FTrace;
    FForm = New<TForm>(nullptr);
    FForm->SetBounds(10, 10, 300, 200);
  }
  void TearDown() override {
    FreeAndNil(FForm);
    PumpPending();
    GTrace = nullptr;
    EXPECT_EQ(FWindows, ThreadWindowCount()) << "windows leaked";
  }
  TForm* FForm = nullptr;
  std::vector<std::string> FTrace;
  int FWindows = 0;
};

TEST_F(ControlsRouteTest, MessagePassesWindowProcWndProcHandlerDefaultHandlerInOrder) {
  auto* control = New<TRouteControl>(FForm);
  control->SetParent(FForm);
  control->FOld = control->WindowProc();
  control->SetWindowProc(BindEvent<&TRouteControl::Hook>(control));
  // Through the window and through Perform the route is the same.
  const LRESULT viaWindow = SendMessageW(control->Handle(), MsgProbe, 0, 0);
  EXPECT_EQ(101, viaWindow);
  const std::vector<std::string> expected{"WindowProc", "WndProc", "handler", "DefaultHandler"};
  EXPECT_EQ(expected, FTrace);
  FTrace.clear();
  EXPECT_EQ(101, control->Perform(MsgProbe, 0, 0));
  EXPECT_EQ(expected, FTrace);
  control->SetWindowProc(control->FOld);
}

TEST_F(ControlsRouteTest, WindowIsCreatedOnDemandAndDestroyedWithTheControl) {
  TOwned<TRouteControl> controlOwner(New<TRouteControl>(FForm));
  TRouteControl* control = controlOwner.get();
  control->SetBounds(5, 6, 50, 40);
  control->SetParent(FForm);
  EXPECT_FALSE(control->HandleAllocated()) << "a hidden form needs no windows yet";
  HWND wnd = control->Handle();
  ASSERT_TRUE(IsWindow(wnd));
  EXPECT_TRUE(FForm->HandleAllocated()) << "a child's window needs its parent's";
  EXPECT_EQ(FForm->Handle(), GetParent(wnd));
  EXPECT_EQ(control, FindControl(wnd));
  RECT r{};
  GetWindowRect(wnd, &r);
  EXPECT_EQ(50, r.right - r.left);
  EXPECT_EQ(40, r.bottom - r.top);
  controlOwner.reset();
  EXPECT_FALSE(IsWindow(wnd));
  EXPECT_EQ(nullptr, FindControl(wnd));
}

TEST_F(ControlsRouteTest, ChildNotificationIsReflectedToTheChild) {
  auto* button = New<TNativeButton>(FForm);
  button->SetParent(FForm);
  FForm->Show();
  SendMessageW(button->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(1, button->Clicks);
}

TEST_F(ControlsRouteTest, RecreatedWindowKeepsTextAndBounds) {
  auto* button = New<TNativeButton>(FForm);
  button->SetParent(FForm);
  button->SetBounds(7, 8, 90, 30);
  button->SetCaption(L"Öffnen");
  HWND first = button->Handle();
  button->RecreateWnd();
  FForm->Show();
  HWND second = button->Handle();
  EXPECT_NE(first, second);
  EXPECT_FALSE(IsWindow(first));
  wchar_t text[32] = {};
  GetWindowTextW(second, text, 32);
  EXPECT_EQ(String(L"Öffnen"), String(text));
  EXPECT_EQ(TRect(7, 8, 97, 38), button->BoundsRect());
}

}  // namespace
