#include "library/core/threading/dxUIThreadSyncService.h"

#include "platform/ui/Forms.h"

#include "tests/support/ExceptionLog.h"
#include "tests/support/PumpUntil.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <vector>

namespace {

class UIThreadSync : public testing::Test {
 protected:
  void SetUp() override {
    PumpPending();
    ASSERT_EQ(TdxUIThreadSyncService::QueueCount(), 0);
    FSink = New<TApplicationExceptionLog>();
    FOwnerA = New<TObject>();
    FOwnerB = New<TObject>();
  }
  void TearDown() override {
    Application()->ResetTerminated();
    PumpPending();
    FreeAndNil(FSink);
    FreeAndNil(FOwnerA);
    FreeAndNil(FOwnerB);
  }

  // Handles exactly one of the service's messages.
  static bool HandleOneMessage() {
    MSG msg;
    if (!PeekMessageW(&msg, TdxUIThreadSyncService::WindowHandle(), TdxUIThreadSyncService::WM_SYNC_PROCEDURES,
                      TdxUIThreadSyncService::WM_SYNC_PROCEDURES, PM_REMOVE))
      return false;
    if (msg.message == WM_QUIT) {
      // A pending quit request comes through any filter: leave it in place.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    DispatchMessageW(&msg);
    return true;
  }

  TApplicationExceptionLog* FSink = nullptr;
  TObject* FOwnerA = nullptr;
  TObject* FOwnerB = nullptr;
};

TEST_F(UIThreadSync, TheFirstMessageRunsEverythingQueuedInOrder) {
  std::vector<int> ran;
  for (int i = 1; i <= 3; ++i) TdxUIThreadSyncService::EnqueueInvokeInUIThread(FOwnerA, [&ran, i] { ran.push_back(i); });
  EXPECT_TRUE(ran.empty()) << "nothing runs before the message is handled";
  ASSERT_TRUE(HandleOneMessage());
  EXPECT_EQ(ran, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(TdxUIThreadSyncService::QueueCount(), 0);
  // Every call posted a message; the two later ones find the queue empty.
  EXPECT_TRUE(HandleOneMessage());
  EXPECT_TRUE(HandleOneMessage());
  EXPECT_FALSE(HandleOneMessage());
  EXPECT_EQ(ran, (std::vector<int>{1, 2, 3}));
}

TEST_F(UIThreadSync, WorkQueuedWhileDrainingRunsInTheSameDrain) {
  std::vector<int> ran;
  TdxUIThreadSyncService::EnqueueInvokeInUIThread(FOwnerA, [&] {
    ran.push_back(1);
    TdxUIThreadSyncService::EnqueueInvokeInUIThread(FOwnerA, [&] { ran.push_back(2); });
  });
  ASSERT_TRUE(HandleOneMessage());
  EXPECT_EQ(ran, (std::vector<int>{1, 2}));
}

TEST_F(UIThreadSync, UnsubscribeWithdrawsOnlyThatOwnersEntries) {
  std::vector<String> ran;
  auto add = [&](TObject* AOwner, const wchar_t* AName) {
    TdxUIThreadSyncService::EnqueueInvokeInUIThread(AOwner, [&ran, AName] { ran.push_back(AName); });
  };
  add(FOwnerA, L"a1");
  add(FOwnerB, L"b1");
  add(FOwnerA, L"a2");
  add(FOwnerB, L"b2");
  add(FOwnerA, L"a3");
  TdxUIThreadSyncService::Unsubscribe(FOwnerA);
  EXPECT_EQ(TdxUIThreadSyncService::QueueCount(FOwnerA), 0);
  EXPECT_EQ(TdxUIThreadSyncService::QueueCount(FOwnerB), 2);
  PumpPending();
  EXPECT_EQ(ran, (std::vector<String>{L"b1", L"b2"}));
}

TEST_F(UIThreadSync, ARaisingProcedureIsReportedWithItsOwnerAndTheNextStillRuns) {
  bool nextRan = false;
  TdxUIThreadSyncService::EnqueueInvokeInUIThread(FOwnerB, [] { throw EConvertError(L"deferred work failed"); });
  TdxUIThreadSyncService::EnqueueInvokeInUIThread(FOwnerA, [&] { nextRan = true; });
  ASSERT_TRUE(HandleOneMessage());
  EXPECT_TRUE(nextRan);
  EXPECT_EQ(FSink->Senders, std::vector<TObject*>{FOwnerB});
  EXPECT_EQ(FSink->Messages, std::vector<String>{L"deferred work failed"});
}

TEST_F(UIThreadSync, WorkerThreadsQueueForTheUIThreadInTheirOwnOrder) {
  constexpr int Threads = 4;
  constexpr int PerThread = 50;
  std::mutex lock;
  std::vector<std::pair<int, int>> ran;  // (thread, sequence) in running order
  std::atomic<int> wrongThread{0};
  std::atomic<int> finished{0};
  for (int t = 0; t < Threads; ++t) {
    TThread* worker = TThread::CreateAnonymousThread([&, t] {
      for (int i = 0; i < PerThread; ++i)
        TdxUIThreadSyncService::EnqueueInvokeInUIThread(nullptr, [&, t, i] {
          if (!IsMainThread()) ++wrongThread;
          std::lock_guard<std::mutex> guard(lock);
          ran.emplace_back(t, i);
        });
      ++finished;
    });
    worker->Start();
  }
  ASSERT_TRUE(PumpUntil([&] {
    std::lock_guard<std::mutex> guard(lock);
    return finished == Threads && ran.size() == static_cast<std::size_t>(Threads * PerThread);
  }));
  EXPECT_EQ(wrongThread, 0);
  std::vector<int> next(Threads, 0);
  for (const auto& [t, i] : ran) EXPECT_EQ(i, next[static_cast<std::size_t>(t)]++) << "thread " << t;
}

TEST_F(UIThreadSync, NothingIsQueuedOrPostedOnceTheApplicationTerminates) {
  bool ran = false;
  TdxUIThreadSyncService::EnqueueInvokeInUIThread(FOwnerA, [&] { ran = true; });
  Application()->Terminate();
  EXPECT_TRUE(TdxUIThreadSyncService::IsUIThreadSyncStopped());
  TdxUIThreadSyncService::EnqueueInvokeInUIThread(FOwnerA, [&] { ran = true; });
  EXPECT_EQ(TdxUIThreadSyncService::QueueCount(), 1) << "the second call queued";
  ASSERT_TRUE(HandleOneMessage());
  EXPECT_FALSE(HandleOneMessage()) << "the second call posted";
  EXPECT_FALSE(ran) << "queued work ran while terminating";
  Application()->ResetTerminated();
  // Terminate posts a quit request; the tests' own loops must not meet it.
  DropQuitRequests();
  TdxUIThreadSyncService::Unsubscribe(FOwnerA);
}

}  // namespace
