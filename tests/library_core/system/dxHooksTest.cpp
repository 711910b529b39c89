#include "library/core/system/dxHooks.h"

#include "library/core/system/dxGestures.h"

#include "platform/ui/Forms.h"
#include "platform/ui/WindowAllocation.h"

#include "tests/support/ExceptionLog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr UINT WM_PROBE = WM_APP + 0x31;

std::vector<std::string> GCalls;

// Records the probe message of the window procedure hook.
void HookA(int, WPARAM, LPARAM ALParam, LRESULT&) {
  if (reinterpret_cast<const CWPSTRUCT*>(ALParam)->message == WM_PROBE) GCalls.push_back("A");
}
void HookB(int, WPARAM, LPARAM ALParam, LRESULT&) {
  if (reinterpret_cast<const CWPSTRUCT*>(ALParam)->message == WM_PROBE) GCalls.push_back("B");
}
void HookRaising(int, WPARAM, LPARAM ALParam, LRESULT&) {
  if (reinterpret_cast<const CWPSTRUCT*>(ALParam)->message != WM_PROBE) return;
  GCalls.push_back("raising");
  throw EConvertError(L"hook failed");
}
void HookSeven(int, WPARAM, LPARAM, LRESULT& AResult) { AResult = 7; }
void HookCreation(int ACode, WPARAM, LPARAM, LRESULT&) {
  if (ACode == HCBT_CREATEWND) GCalls.push_back("create");
}

class TProbeWindow : public TObject {
  SK_CLASS(TProbeWindow, TObject)
 public:
  HWND Handle = nullptr;
  int Received = 0;
  void Create() { Handle = AllocateHWnd(BindEvent<&TProbeWindow::WndProc>(this)); }
  void Destroy() override {
    DeallocateHWnd(Handle);
    inherited::Destroy();
  }
  void WndProc(TMessage& AMessage) {
    if (AMessage.Msg == WM_PROBE) {
      ++Received;
      return;
    }
    AMessage.Result = DefWindowProcW(Handle, AMessage.Msg, AMessage.WParam, AMessage.LParam);
  }
};

// The gesture unit holds a window-procedure handler from start-up on; it
// steps aside while these tests count the handlers of the hook controller.
class SystemHooks : public testing::Test {
 protected:
  void SetUp() override {
    ReleaseSystemHook(&GestureNotifyHook);
    GCalls.clear();
    FWindow = New<TProbeWindow>();
    FSink = New<TApplicationExceptionLog>();
  }
  void TearDown() override {
    for (TdxHookProc proc : {&HookA, &HookB, &HookRaising, &HookSeven, &HookCreation}) {
      ReleaseSystemHook(proc);
      ReleaseSystemHook(proc);
    }
    FreeAndNil(FSink);
    FreeAndNil(FWindow);
    SetSystemHook(htWndProc, &GestureNotifyHook);
  }
  void Probe() { SendMessageW(FWindow->Handle, WM_PROBE, 0, 0); }
  static HHOOK Installed(TdxHookType AType) { return HookController()->Hooks(AType)->Handle(); }

  TProbeWindow* FWindow = nullptr;
  TApplicationExceptionLog* FSink = nullptr;
};

TEST_F(SystemHooks, TheNewestHandlerRunsFirstOnOneWindowsHook) {
  ASSERT_EQ(Installed(htWndProc), nullptr);
  SetSystemHook(htWndProc, &HookA);
  const HHOOK first = Installed(htWndProc);
  ASSERT_NE(first, nullptr);
  SetSystemHook(htWndProc, &HookB);
  EXPECT_EQ(Installed(htWndProc), first) << "the second handler shares the hook";
  Probe();
  EXPECT_EQ(GCalls, (std::vector<std::string>{"B", "A"}));
  EXPECT_EQ(FWindow->Received, 1);
}

TEST_F(SystemHooks, ARaisingHandlerIsReportedAndTheOthersAndTheWindowStillRun) {
  SetSystemHook(htWndProc, &HookA);
  SetSystemHook(htWndProc, &HookRaising);
  Probe();
  EXPECT_EQ(GCalls, (std::vector<std::string>{"raising", "A"}));
  EXPECT_EQ(FSink->Messages, std::vector<String>{L"hook failed"});
  EXPECT_EQ(FWindow->Received, 1) << "the message went on";
}

TEST_F(SystemHooks, TheLastReleaseRemovesTheWindowsHook) {
  SetSystemHook(htWndProc, &HookA);
  SetSystemHook(htWndProc, &HookB);
  ReleaseSystemHook(&HookA);
  EXPECT_NE(Installed(htWndProc), nullptr);
  Probe();
  EXPECT_EQ(GCalls, std::vector<std::string>{"B"});
  ReleaseSystemHook(&HookB);
  EXPECT_EQ(Installed(htWndProc), nullptr);
  ReleaseSystemHook(&HookB);  // not registered any more: nothing changes
  EXPECT_EQ(HookController()->Hooks(htWndProc)->Count(), 0);
  GCalls.clear();
  Probe();
  EXPECT_TRUE(GCalls.empty());
}

TEST_F(SystemHooks, OneReleaseTakesAHandlerFromEveryType) {
  SetSystemHook(htCBT, &HookCreation);
  SetSystemHook(htWndProc, &HookCreation);
  TProbeWindow* other = New<TProbeWindow>();
  EXPECT_EQ(GCalls, std::vector<std::string>{"create"});
  other->Free();
  ReleaseSystemHook(&HookCreation);
  EXPECT_EQ(Installed(htCBT), nullptr);
  EXPECT_EQ(Installed(htWndProc), nullptr);
}

TEST_F(SystemHooks, AHandlerCanOnlyFixTheValueTheHookReturns) {
  SetSystemHook(htGetMessage, &HookSeven);
  SetSystemHook(htGetMessage, &HookA);  // newest, leaves the value alone
  CWPSTRUCT dummy{};
  EXPECT_EQ(HookController()->Hooks(htGetMessage)->Dispatch(HC_ACTION, 0, reinterpret_cast<LPARAM>(&dummy)), 7);
}

}  // namespace
