#include "library/controls/control/cxControls.h"

#include "platform/ui/Forms.h"

#include "tests/support/ExceptionLog.h"
#include "tests/support/GuiLeaks.h"
#include "tests/support/InterfaceIdentities.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

namespace {

constexpr UINT WM_PROBE = WM_APP + 0x44;

// ---------------------------------------------------------------------------
// Message windows

class TProbeMessageWindow : public TcxMessageWindow {
  SK_CLASS(TProbeMessageWindow, TcxMessageWindow)
 public:
  bool MessageOnly = true;
  bool Raise = false;
  std::vector<UINT> Probes;

 protected:
  bool IsMessageOnly() override { return MessageOnly; }
  void WndProc(TMessage& AMessage) override {
    if (AMessage.Msg != WM_PROBE) {
      inherited::WndProc(AMessage);
      return;
    }
    Probes.push_back(AMessage.Msg);
    AMessage.Result = 42;
    if (Raise) throw EConvertError(L"window failed");
  }
};

// A message window created with IsMessageOnly answering false.
class TTopLevelMessageWindow : public TProbeMessageWindow {
  SK_CLASS(TTopLevelMessageWindow, TProbeMessageWindow)
 protected:
  bool IsMessageOnly() override { return false; }
};

bool IsMessageOnlyWindow(HWND AWnd) { return GetAncestor(AWnd, GA_PARENT) != GetDesktopWindow(); }

TEST(cxMessageWindow, IsMessageOnlyUnlessItSaysOtherwise) {
  const int windows = ThreadWindowCount();
  TOwned<TProbeMessageWindow> hiddenOwner(New<TProbeMessageWindow>());
  TProbeMessageWindow* hidden = hiddenOwner.get();
  TOwned<TTopLevelMessageWindow> topLevelOwner(New<TTopLevelMessageWindow>());
  TTopLevelMessageWindow* topLevel = topLevelOwner.get();
  ASSERT_TRUE(IsWindow(hidden->Handle()));
  EXPECT_TRUE(IsMessageOnlyWindow(hidden->Handle()));
  EXPECT_FALSE(IsMessageOnlyWindow(topLevel->Handle()));
  EXPECT_FALSE(IsWindowVisible(topLevel->Handle()));
  EXPECT_EQ(SendMessageW(hidden->Handle(), WM_PROBE, 0, 0), 42);
  EXPECT_EQ(hidden->Probes.size(), 1u);
  const HWND handle = hidden->Handle();
  hiddenOwner.reset();
  topLevelOwner.reset();
  EXPECT_FALSE(IsWindow(handle));
  EXPECT_EQ(ThreadWindowCount(), windows);
}

TEST(cxMessageWindow, AnExceptionInsideWndProcReachesTheApplicationWithTheWindowAsSender) {
  TOwned<TApplicationExceptionLog> log(New<TApplicationExceptionLog>());
  TProbeMessageWindow* window = New<TProbeMessageWindow>();
  window->Raise = true;
  SendMessageW(window->Handle(), WM_PROBE, 0, 0);
  EXPECT_EQ(log->Senders, std::vector<TObject*>{window});
  EXPECT_EQ(log->Messages, std::vector<String>{L"window failed"});
  window->Free();
}

// ---------------------------------------------------------------------------
// System controller

TEST(cxSystemController, InAnExecutableTheWakeUpStaysTheApplications) {
  int woken = 0;
  const TWakeMainThread original = SetWakeMainThread([&] { ++woken; });
  TcxSystemController* controller = New<TcxSystemController>();
  controller->Free();
  // The hook in place now is still the one set above.
  const TWakeMainThread current = SetWakeMainThread(original);
  ASSERT_TRUE(static_cast<bool>(current));
  current();
  EXPECT_EQ(woken, 1);
  EXPECT_NE(cxSystemController(), nullptr) << "created at the unit's start-up";
}

TEST(cxSystemController, InsideALibraryItWakesTheUIThreadForQueuedWork) {
  int previousCalls = 0;
  const TWakeMainThread original = SetWakeMainThread([&] { ++previousCalls; });
  TcxSystemController* controller = New<TcxSystemController>(true);
  std::atomic<bool> queued{false};
  bool ran = false;
  TThread* worker = TThread::CreateAnonymousThread([&] {
    TThread::Queue(nullptr, [&] { ran = IsMainThread(); });
    queued = true;
  });
  worker->Start();
  // The controller's wake-up posts to its window; pumping runs the work.
  EXPECT_TRUE(PumpUntil([&] { return ran; }));
  EXPECT_EQ(previousCalls, 0) << "the replaced wake-up was called";
  controller->Free();
  const TWakeMainThread restored = SetWakeMainThread(original);
  ASSERT_TRUE(static_cast<bool>(restored));
  restored();
  EXPECT_EQ(previousCalls, 1) << "destruction put the previous wake-up back";
}

// ---------------------------------------------------------------------------
// System information

class TSettingListener : public TcxIUnknownObject, public IdxSystemInfoListener {
  SK_CLASS(TSettingListener, TcxIUnknownObject)
 public:
  std::vector<UINT>* Log = nullptr;
  UINT Tag = 0;
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IdxSystemInfoListener>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
  }
  void Changed(UINT AParameter) override { Log->push_back(Tag * 1000000 + AParameter); }
};

TEST(dxSystemInfo, TheListenerIdentityIsTheRegisteredOne) {
  const TInterfaceIdentity identities[] = {
      {"IdxSystemInfoListener", IdxSystemInfoListener::IID, L"{F137963E-6165-47F9-A4C7-96BB4EB91AE0}"}};
  ExpectInterfaceIdentities(identities);
}

TEST(dxSystemInfo, ListenersHearEverySettingChangeWithACode) {
  TdxSystemInfo* info = SystemInfo();
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(SystemInfo(), info);
  std::vector<UINT> log;
  TSettingListener* a = New<TSettingListener>();
  TSettingListener* b = New<TSettingListener>();
  a->Log = b->Log = &log;
  a->Tag = 1;
  b->Tag = 2;
  info->AddListener(a);
  info->AddListener(b);
  SendMessageW(info->Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"intl"));
  EXPECT_TRUE(log.empty()) << "the registry-key form reaches nobody";
  EXPECT_EQ(SendMessageW(info->Handle(), WM_SETTINGCHANGE, SPI_SETDROPSHADOW, 0), 0);
  EXPECT_EQ(log, (std::vector<UINT>{1000000 + SPI_SETDROPSHADOW, 2000000 + SPI_SETDROPSHADOW}));
  info->RemoveListener(a);
  log.clear();
  SendMessageW(info->Handle(), WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
  EXPECT_EQ(log, (std::vector<UINT>{2000000 + SPI_SETNONCLIENTMETRICS}));
  info->RemoveListener(b);
  EXPECT_EQ(info->ListenerCount(), 0);
  a->Free();
  b->Free();
}

TEST(dxSystemInfo, CachesTheSystemsSettings) {
  TdxSystemInfo* info = SystemInfo();
  NONCLIENTMETRICSW metrics{};
  ASSERT_TRUE(info->GetParameter(SPI_GETNONCLIENTMETRICS, metrics));
  EXPECT_EQ(metrics.cbSize, sizeof(NONCLIENTMETRICSW));
  EXPECT_EQ(info->NonClientMetrics().iCaptionHeight, metrics.iCaptionHeight);
  EXPECT_GT(info->NonClientMetrics().iCaptionHeight, 0);
  BOOL shadow = FALSE;
  SystemParametersInfoW(SPI_GETDROPSHADOW, 0, &shadow, 0);
  EXPECT_EQ(info->IsDropShadow(), shadow != FALSE);
  LOGFONTW font{};
  EXPECT_TRUE(info->GetParameter(SPI_GETICONTITLELOGFONT, font));
  EXPECT_NE(font.lfFaceName[0], 0);
  EXPECT_FALSE(info->IsRemoteSession());
}

// ---------------------------------------------------------------------------
// Messages controller

class TCountingWindow : public TcxMessageWindow {
  SK_CLASS(TCountingWindow, TcxMessageWindow)
 public:
  std::vector<UINT> Received;

 protected:
  void WndProc(TMessage& AMessage) override {
    if (AMessage.Msg >= WM_APP) Received.push_back(AMessage.Msg);
    inherited::WndProc(AMessage);
  }
};

TEST(dxMessagesController, ABlockedWindowSwallowsExactlyOneMessage) {
  TdxMessagesController* controller = New<TdxMessagesController>();
  TCountingWindow* window = New<TCountingWindow>();
  TCountingWindow* other = New<TCountingWindow>();
  controller->BlockMessage(window->Handle());
  EXPECT_TRUE(controller->IsBlocked());
  try {
    controller->BlockMessage(other->Handle());
    ADD_FAILURE() << "a second window was blocked";
  } catch (const EdxException& e) {
    EXPECT_EQ(e.Message(), L"dxLockMessage fails");
  }
  EXPECT_EQ(SendMessageW(window->Handle(), WM_APP + 7, 0, 0), 1);
  EXPECT_FALSE(controller->IsBlocked());
  SendMessageW(window->Handle(), WM_APP + 8, 0, 0);
  EXPECT_EQ(window->Received, std::vector<UINT>{WM_APP + 8});
  other->Free();
  window->Free();
  controller->Free();
}

TEST(dxMessagesController, OnlyLockedMessagesAreBlocked) {
  TdxMessagesController* controller = New<TdxMessagesController>();
  TCountingWindow* window = New<TCountingWindow>();
  controller->LockMessages({WM_APP + 1, WM_APP + 1, WM_APP + 2});
  controller->UnlockMessages({WM_APP + 1});
  EXPECT_TRUE(controller->IsMessageLocked(WM_APP + 1)) << "locked twice, unlocked once";
  controller->UnlockMessages({WM_APP + 1});
  EXPECT_FALSE(controller->IsMessageLocked(WM_APP + 1));
  UINT message = WM_APP + 1;
  controller->BlockLockedMessage(window->Handle(), message);
  EXPECT_EQ(message, WM_APP + 1u);
  EXPECT_FALSE(controller->IsBlocked());
  message = WM_APP + 2;
  controller->BlockLockedMessage(window->Handle(), message);
  EXPECT_EQ(message, 0u);
  EXPECT_TRUE(controller->IsBlocked());
  controller->Free();  // gives the window its procedure back
  SendMessageW(window->Handle(), WM_APP + 3, 0, 0);
  EXPECT_EQ(window->Received, std::vector<UINT>{WM_APP + 3});
  window->Free();
}

TEST(dxMessagesController, KillMessagesRemovesTheWindowsMessagesButKeepsAQuitRequest) {
  TOwned<TdxMessagesController> controllerOwner(New<TdxMessagesController>());
  TdxMessagesController* controller = controllerOwner.get();
  TOwned<TCountingWindow> windowOwner(New<TCountingWindow>());
  TCountingWindow* window = windowOwner.get();
  const HWND h = window->Handle();
  PostMessageW(h, WM_APP + 1, 0, 0);
  PostMessageW(h, WM_APP + 1, 0, 0);
  PostMessageW(h, WM_APP + 2, 0, 0);
  EXPECT_TRUE(controller->IsMessageInQueue(h, WM_APP + 1));
  EXPECT_FALSE(controller->IsMessageInQueue(h, WM_APP + 5));
  EXPECT_TRUE(controller->KillMessages(h, WM_APP + 1, false));
  EXPECT_TRUE(controller->IsMessageInQueue(h, WM_APP + 1)) << "without purge-all one is removed";
  EXPECT_TRUE(controller->KillMessages(h, WM_APP + 1));
  EXPECT_FALSE(controller->IsMessageInQueue(h, WM_APP + 1));
  EXPECT_FALSE(controller->KillMessages(h, WM_APP + 1));
  EXPECT_TRUE(controller->IsMessageInQueue(h, WM_APP + 2)) << "outside the range";

  // A quit request found on the way is posted again and ends the removal.
  PostQuitMessage(5);
  PostMessageW(h, WM_APP + 1, 0, 0);
  EXPECT_TRUE(controller->KillMessages(nullptr, WM_APP + 1, true, WM_APP + 2));
  MSG msg{};
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 5u);
  DropQuitRequests();
  PumpPending();
  EXPECT_TRUE(window->Received.empty());
  windowOwner.reset();
  controllerOwner.reset();
}

TEST(cxControlsUnit, TheServicesAreProcessWide) {
  EXPECT_NE(MessagesController(), nullptr);
  EXPECT_EQ(MessagesController(), MessagesController());
  EXPECT_NE(SystemInfo(), nullptr);
}

TEST(cxControlsUnit, ItsBufferedPaintingComesAndGoesThroughTheUnitsLoader) {
  TdxUnitsLoader* loader = GetUnitsLoader();
  ASSERT_NE(loader, nullptr);
  EXPECT_TRUE(cxControlsBufferedPaintInitialized()) << "the start-up ran at registration";
  const std::size_t registered = loader->FinalizeList().size();

  cxControlsFinalization();
  EXPECT_EQ(loader->FinalizeList().size(), registered - 1);
  EXPECT_FALSE(cxControlsBufferedPaintInitialized()) << "leaving the loader ran the finalize procedure";
  EXPECT_EQ(cxSystemController(), nullptr);
  EXPECT_EQ(SystemInfo(), nullptr);

  cxControlsInitialization();
  EXPECT_EQ(loader->FinalizeList().size(), registered);
  EXPECT_TRUE(cxControlsBufferedPaintInitialized());
  EXPECT_NE(cxSystemController(), nullptr);
}

}  // namespace
