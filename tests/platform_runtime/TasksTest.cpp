#include "platform/runtime/Tasks.h"

#include "platform/runtime/Handles.h"
#include "tests/support/Gate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

namespace {

TEST(Tasks, RunOnAPoolThreadAndWait) {
  std::atomic<DWORD> ranOn{0};
  ITask* seenCurrent = nullptr;
  IPtr<ITask> task = TTask::Run([&] {
    ranOn = GetCurrentThreadId();
    seenCurrent = TTask::CurrentTask();
  });
  EXPECT_TRUE(task->Wait());
  EXPECT_EQ(task->Status(), TTaskStatus::Completed);
  EXPECT_NE(ranOn.load(), 0u);
  EXPECT_NE(ranOn.load(), GetCurrentThreadId());
  EXPECT_EQ(seenCurrent, task.Get());
  EXPECT_EQ(TTask::CurrentTask(), nullptr);
  EXPECT_NE(TThreadPool::Default(), nullptr);
  EXPECT_GT(task->Id(), 0);
}

TEST(Tasks, ExceptionIsKeptAndRaisedByWait) {
  IPtr<ITask> task = TTask::Run([] { throw EConvertError(L"'x' ist kein gültiger Integerwert"); });
  try {
    task->Wait();
    ADD_FAILURE() << "no exception";
  } catch (const EAggregateException& e) {
    EXPECT_EQ(e.Message(), L"'x' ist kein gültiger Integerwert");
    EXPECT_EQ(e.Count(), 1u);
    EXPECT_EQ(e.InnerMessage(0), L"'x' ist kein gültiger Integerwert");
    EXPECT_THROW(e.RaiseInner(), EConvertError);
  }
  EXPECT_EQ(task->Status(), TTaskStatus::Exception);
  // The pool thread survived and takes more work.
  IPtr<ITask> next = TTask::Run([] {});
  EXPECT_TRUE(next->Wait());
}

TEST(Tasks, CancelBeforeStartNeverRuns) {
  std::atomic<bool> ran{false};
  IPtr<ITask> task = TTask::Create([&] { ran = true; });
  EXPECT_EQ(task->Status(), TTaskStatus::Created);
  task->Cancel();
  EXPECT_EQ(task->Status(), TTaskStatus::Canceled);
  task->Start();  // nothing to start any more
  EXPECT_THROW(task->Wait(), EOperationCancelled);
  EXPECT_FALSE(ran.load());

  IPtr<ITask> started = TTask::Run([] {});
  started->Wait();
  EXPECT_THROW(started->Start(), EInvalidOperation);
}

TEST(Tasks, CancelAsksARunningTaskToStop) {
  TGate running;
  std::atomic<int> rounds{0};
  IPtr<ITask> task = TTask::Run([&] {
    running.Open();
    while (true) {
      TTask::CurrentTask()->CheckCanceled();
      ++rounds;
      TThread::Yield();
    }
  });
  ASSERT_TRUE(running.Wait());
  EXPECT_EQ(task->Status(), TTaskStatus::Running);
  task->Cancel();
  EXPECT_THROW(task->Wait(), EOperationCancelled);
  EXPECT_EQ(task->Status(), TTaskStatus::Canceled);

  // A body that ignores the request still ends as cancelled.
  TGate go;
  IPtr<ITask> stubborn = TTask::Run([&] { go.Wait(); });
  stubborn->Cancel();
  go.Open();
  EXPECT_THROW(stubborn->Wait(), EOperationCancelled);
}

TEST(Tasks, WaitTimesOut) {
  TGate release;
  IPtr<ITask> task = TTask::Run([&] { release.Wait(); });
  EXPECT_FALSE(task->Wait(10));
  release.Open();
  EXPECT_TRUE(task->Wait());
}

TEST(Tasks, WaitingForItselfIsRefused) {
  bool refused = false;
  IPtr<ITask> task;
  TGate created;
  task = TTask::Run([&] {
    created.Wait();
    try {
      TTask::CurrentTask()->Wait(0);
    } catch (const EInvalidOperation&) {
      refused = true;
    }
  });
  created.Open();
  task->Wait();
  EXPECT_TRUE(refused);
}

TEST(Tasks, ATaskMaySynchronizeWhileTheMainThreadWaits) {
  std::vector<int> order;  // main thread only
  std::vector<DWORD> threads;
  IPtr<ITask> task = TTask::Run([&] {
    TThread::Queue(nullptr, [&] { order.push_back(1); threads.push_back(GetCurrentThreadId()); });
    TThread::Synchronize(nullptr, [&] { order.push_back(2); threads.push_back(GetCurrentThreadId()); });
    TThread::Queue(nullptr, [&] { order.push_back(3); });
    TThread::Synchronize(nullptr, [] {});  // the closing hand-shake
  });
  EXPECT_TRUE(task->Wait());
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
  for (DWORD t : threads) EXPECT_EQ(t, MainThreadID());
}

TEST(Tasks, WaitForAllCollectsEveryFailure) {
  IPtr<ITask> ok = TTask::Run([] {});
  IPtr<ITask> failed = TTask::Run([] { throw EConvertError(L"eins"); });
  IPtr<ITask> cancelled = TTask::Create([] {});
  cancelled->Cancel();
  try {
    TTask::WaitForAll({ok, failed, cancelled});
    ADD_FAILURE() << "no exception";
  } catch (const EAggregateException& e) {
    ASSERT_EQ(e.Count(), 2u);
    EXPECT_EQ(e.InnerMessage(0), L"eins");
    EXPECT_EQ(e.InnerMessage(1), L"Vorgang abgebrochen");
    EXPECT_NE(e.Message().find(L"eins"), String::npos);
  }
  EXPECT_TRUE(TTask::WaitForAll({ok}));

  TGate release;
  IPtr<ITask> slow = TTask::Run([&] { release.Wait(); });
  EXPECT_FALSE(TTask::WaitForAll({ok, slow}, 10));
  const std::vector<IPtr<ITask>> both = {slow, ok};
  EXPECT_EQ(TTask::WaitForAny(both, 10000), 1);
  release.Open();
  EXPECT_TRUE(TTask::WaitForAll({slow}));
  EXPECT_THROW(TTask::WaitForAll({ok, IPtr<ITask>()}), EArgumentNilException);
}

TEST(ThreadPool, NeverRunsMoreThanItsMaximum) {
  TOwned<TThreadPool> poolOwner(New<TThreadPool>());
  TThreadPool* pool = poolOwner.get();
  ASSERT_TRUE(pool->SetMinWorkerThreads(0));
  ASSERT_TRUE(pool->SetMaxWorkerThreads(2));
  EXPECT_FALSE(pool->SetMaxWorkerThreads(0));
  EXPECT_FALSE(pool->SetMinWorkerThreads(3));
  EXPECT_FALSE(pool->SetMinWorkerThreads(-1));
  EXPECT_EQ(pool->MaxWorkerThreads(), 2);
  EXPECT_EQ(pool->WorkerThreadCount(), 0);  // made on demand

  TGate release;
  std::atomic<int> running{0}, peak{0}, done{0};
  std::vector<IPtr<ITask>> tasks;
  for (int i = 0; i < 6; ++i)
    tasks.push_back(TTask::Run(
        [&] {
          const int now = ++running;
          int seen = peak;
          while (now > seen && !peak.compare_exchange_weak(seen, now)) {}
          release.Wait();
          --running;
          ++done;
        },
        pool));
  // Two run, four wait.
  while (running.load() < 2) TThread::Yield();
  EXPECT_EQ(pool->WorkerThreadCount(), 2);
  release.Open();
  EXPECT_TRUE(TTask::WaitForAll(tasks));
  EXPECT_EQ(done.load(), 6);
  EXPECT_EQ(peak.load(), 2);
  poolOwner.reset();
}

TEST(ThreadPool, StoppingDropsWaitingTasksAsCancelled) {
  TThreadPool* pool = New<TThreadPool>();
  ASSERT_TRUE(pool->SetMinWorkerThreads(0));
  ASSERT_TRUE(pool->SetMaxWorkerThreads(1));
  TGate started, release;
  std::atomic<bool> secondRan{false};
  IPtr<ITask> first = TTask::Run([&] {
    started.Open();
    release.Wait();
  }, pool);
  IPtr<ITask> second = TTask::Run([&] { secondRan = true; }, pool);
  ASSERT_TRUE(started.Wait());

  IPtr<ITask> stopper = TTask::Run([&] { pool->Free(); });
  EXPECT_THROW(second->Wait(), EOperationCancelled);  // dropped by the stopping pool
  release.Open();
  EXPECT_TRUE(first->Wait());
  EXPECT_TRUE(stopper->Wait());
  EXPECT_FALSE(secondRan.load());
}

HANDLE GReported = nullptr;  // the running test's event
String GReportedMessage;

void RecordCallbackException(TObject*) {
  GReportedMessage = CurrentExceptionMessage();
  SetEvent(GReported);
}

TEST(ThreadPool, WorkItemExceptionsGoToTheCallbackHandler) {
  const TKernelHandle reported(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  GReported = reported.Get();
  SetCallbackExceptionHandler(&RecordCallbackException);
  TThreadPool::Default()->QueueWorkItem([] { throw EConvertError(L"im Pool"); });
  EXPECT_EQ(WaitForSingleObject(reported.Get(), 10000), WAIT_OBJECT_0);
  SetCallbackExceptionHandler(nullptr);
  EXPECT_EQ(GReportedMessage, L"im Pool");
  GReported = nullptr;
}

}  // namespace
