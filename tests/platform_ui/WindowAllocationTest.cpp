#include "platform/ui/WindowAllocation.h"

#include "tests/support/GuiLeaks.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Records what reaches its window; may raise or free its own window.
class TReceiver : public TObject {
  SK_CLASS(TReceiver, TObject)
 public:
  static constexpr UINT Ping = WM_APP + 1;
  static constexpr UINT Fail = WM_APP + 2;
  static constexpr UINT FreeSelf = WM_APP + 3;

  HWND Wnd = nullptr;
  std::vector<TMessage> Received;

  void WndProc(TMessage& Message) {
    switch (Message.Msg) {
      case Ping:
        Received.push_back(Message);
        Message.Result = static_cast<LRESULT>(Message.WParam + Message.LParam);
        break;
      case Fail:
        throw EAbort(L"from the window method");
      case FreeSelf: {
        HWND wnd = Wnd;
        Wnd = nullptr;
        DeallocateHWnd(wnd);
        Message.Result = 7;
        break;
      }
      default:
        Message.Result = DefWindowProcW(Wnd, Message.Msg, Message.WParam, Message.LParam);
    }
  }
};

TObject* GLastSender = nullptr;
int GHandled = 0;
void RecordException(TObject* ASender) {
  GLastSender = ASender;
  ++GHandled;
}

class WindowAllocationTest : public testing::Test {
 protected:
  void SetUp() override {
    FWindows = ThreadWindowCount();
    FReceiver = New<TReceiver>();
  }
  void TearDown() override {
    DeallocateHWnd(FReceiver->Wnd);
    FreeAndNil(FReceiver);
    EXPECT_EQ(FWindows, ThreadWindowCount()) << "window leaked";
  }
  TReceiver* FReceiver = nullptr;
  int FWindows = 0;
};

TEST_F(WindowAllocationTest, MessagesReachTheMethodAndItsResultReturns) {
  FReceiver->Wnd = AllocateHWnd(BindEvent<&TReceiver::WndProc>(FReceiver));
  ASSERT_TRUE(IsWindow(FReceiver->Wnd));
  EXPECT_FALSE(IsWindowVisible(FReceiver->Wnd));
  EXPECT_EQ(40, SendMessageW(FReceiver->Wnd, TReceiver::Ping, 30, 10));
  ASSERT_EQ(1u, FReceiver->Received.size());
  EXPECT_EQ(30u, FReceiver->Received[0].WParam);
  EXPECT_EQ(10, FReceiver->Received[0].LParam);

  // Posted messages arrive through the ordinary loop.
  PostMessageW(FReceiver->Wnd, TReceiver::Ping, 1, 2);
  MSG msg;
  while (PeekMessageW(&msg, FReceiver->Wnd, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  EXPECT_EQ(2u, FReceiver->Received.size());
}

TEST_F(WindowAllocationTest, ExceptionInTheMethodGoesToTheCallbackHandler) {
  const TCallbackExceptionHandler old = SetCallbackExceptionHandler(&RecordException);
  GLastSender = nullptr;
  GHandled = 0;
  FReceiver->Wnd = AllocateHWnd(BindEvent<&TReceiver::WndProc>(FReceiver));
  EXPECT_EQ(0, SendMessageW(FReceiver->Wnd, TReceiver::Fail, 0, 0));
  EXPECT_EQ(1, GHandled);
  EXPECT_EQ(FReceiver, GLastSender);
  SetCallbackExceptionHandler(old);
  // The window keeps working afterwards.
  EXPECT_EQ(5, SendMessageW(FReceiver->Wnd, TReceiver::Ping, 2, 3));
}

TEST_F(WindowAllocationTest, MethodMayFreeItsOwnWindow) {
  FReceiver->Wnd = AllocateHWnd(BindEvent<&TReceiver::WndProc>(FReceiver));
  HWND wnd = FReceiver->Wnd;
  EXPECT_EQ(7, SendMessageW(wnd, TReceiver::FreeSelf, 0, 0));
  EXPECT_FALSE(IsWindow(wnd));
  EXPECT_EQ(nullptr, FReceiver->Wnd);
}

TEST_F(WindowAllocationTest, DeallocateLeavesForeignAndMissingWindowsAlone) {
  DeallocateHWnd(nullptr);
  HWND foreign = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(foreign);
  DeallocateHWnd(foreign);
  EXPECT_TRUE(IsWindow(foreign));
  DestroyWindow(foreign);
  DeallocateHWnd(foreign);  // already gone

  HWND wnd = AllocateHWnd(BindEvent<&TReceiver::WndProc>(FReceiver));
  DeallocateHWnd(wnd);
  DeallocateHWnd(wnd);
  EXPECT_FALSE(IsWindow(wnd));
}

TEST_F(WindowAllocationTest, ManyWindowsDoNotLeak) {
  for (int i = 0; i < 50; ++i) DeallocateHWnd(AllocateHWnd(BindEvent<&TReceiver::WndProc>(FReceiver)));
}

}  // namespace
