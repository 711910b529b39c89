// Locks, events, threads and the main-thread queue.
#include "platform/runtime/SyncObjs.h"
#include "platform/runtime/Threads.h"

#include "tests/support/ProcThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <vector>

namespace {

// Runs the main-thread queue until ADone holds, waiting on the sync event
// (never on a clock), with a generous limit so a broken queue fails instead
// of hanging.
void PumpUntil(const std::function<bool()>& ADone) {
  for (int i = 0; i < 100000 && !ADone(); ++i) {
    WaitForSingleObject(SyncEvent(), 100);
    CheckSynchronize();
  }
  ASSERT_TRUE(ADone());
}

// --- Locks and events --------------------------------------------------------

TEST(SyncObjects, CriticalSectionExcludesAndReenters) {
  TCriticalSection* section = New<TCriticalSection>(static_cast<DWORD>(1024));
  long long counter = 0;
  auto body = [&](TProcThread*) {
    for (int i = 0; i < 20000; ++i) {
      TCriticalSectionLock lock(section);
      counter = counter + 1;
    }
  };
  TProcThread* a = New<TProcThread>(body);
  TProcThread* b = New<TProcThread>(body);
  a->WaitFor();
  b->WaitFor();
  EXPECT_EQ(counter, 40000);

  section->Enter();
  section->Enter();  // re-entrant on one thread
  bool otherGotIt = true;
  TProcThread* other = New<TProcThread>([&](TProcThread*) { otherGotIt = section->TryEnter(); });
  other->WaitFor();
  EXPECT_FALSE(otherGotIt);
  section->Leave();
  section->Leave();
  EXPECT_TRUE(section->TryEnter());
  section->Leave();
  for (TThread* t : {static_cast<TThread*>(a), static_cast<TThread*>(b), static_cast<TThread*>(other)}) t->Free();
  section->Free();
}

TEST(SyncObjects, EventsResetManuallyOrAutomatically) {
  TEvent* automatic = New<TEvent>(false, false);
  EXPECT_EQ(automatic->WaitFor(0), wrTimeout);
  automatic->SetEvent();
  EXPECT_EQ(automatic->WaitFor(0), wrSignaled);
  EXPECT_EQ(automatic->WaitFor(0), wrTimeout);  // one waiter through, then reset

  TEvent* manual = New<TEvent>(true, true);
  EXPECT_EQ(manual->WaitFor(0), wrSignaled);
  EXPECT_EQ(manual->WaitFor(0), wrSignaled);
  manual->ResetEvent();
  EXPECT_EQ(manual->WaitFor(0), wrTimeout);

  TSimpleEvent* simple = New<TSimpleEvent>();
  EXPECT_EQ(simple->WaitFor(0), wrTimeout);
  TProcThread* setter = New<TProcThread>([&](TProcThread*) { simple->SetEvent(); });
  EXPECT_EQ(simple->WaitFor(INFINITE), wrSignaled);
  EXPECT_EQ(simple->WaitFor(0), wrSignaled);
  EXPECT_NE(simple->Handle(), nullptr);
  setter->WaitFor();
  setter->Free();
  automatic->Free();
  manual->Free();
  simple->Free();
}

TEST(SyncObjects, MonitorIsPerObjectAndReentrant) {
  int guarded = 0, other = 0;
  TMonitor::Enter(&guarded);
  TMonitor::Enter(&guarded);
  bool gotGuarded = true, gotOther = false, timedOut = false;
  TProcThread* t = New<TProcThread>([&](TProcThread*) {
    gotGuarded = TMonitor::TryEnter(&guarded);
    timedOut = !TMonitor::Enter(&guarded, 20);
    gotOther = TMonitor::TryEnter(&other);
    if (gotOther) TMonitor::Exit(&other);
  });
  t->WaitFor();
  t->Free();
  EXPECT_FALSE(gotGuarded);
  EXPECT_TRUE(timedOut);
  EXPECT_TRUE(gotOther);
  TMonitor::Exit(&guarded);
  TMonitor::Exit(&guarded);
  EXPECT_THROW(TMonitor::Exit(&guarded), ESyncObjectException);  // no longer held

  bool gotAfter = false;
  t = New<TProcThread>([&](TProcThread*) {
    TMonitorLock lock(&guarded);
    gotAfter = true;
  });
  t->WaitFor();
  t->Free();
  EXPECT_TRUE(gotAfter);
  EXPECT_THROW(TMonitor::Enter(nullptr), EArgumentNilException);
}

// --- TThread -----------------------------------------------------------------------

TEST(Threads, RunsExecuteAndReturnsItsValue) {
  std::atomic<DWORD> ranOn{0};
  TProcThread* t = New<TProcThread>([&](TProcThread* self) {
    ranOn = GetCurrentThreadId();
    self->SetReturnValue(42);
  });
  EXPECT_EQ(t->WaitFor(), 42);
  EXPECT_TRUE(t->Finished());
  EXPECT_EQ(ranOn.load(), t->ThreadID());
  EXPECT_NE(ranOn.load(), GetCurrentThreadId());
  EXPECT_FALSE(t->FatalException());
  t->Free();
}

TEST(Threads, SuspendedThreadStartsOnlyWhenAsked) {
  std::atomic<int> runs{0};
  TProcThread* t = New<TProcThread>([&](TProcThread*) { ++runs; }, true);
  EXPECT_TRUE(t->Suspended());
  EXPECT_THROW(t->WaitFor(), EThread);
  EXPECT_EQ(runs.load(), 0);
  t->Start();
  EXPECT_THROW(t->Start(), EThread);
  t->WaitFor();
  EXPECT_EQ(runs.load(), 1);
  t->Free();

  // Freed without a start: the body never runs.
  t = New<TProcThread>([&](TProcThread*) { ++runs; }, true);
  t->Free();
  EXPECT_EQ(runs.load(), 1);
}

TEST(Threads, FreeTerminatesAndWaits) {
  std::atomic<bool> sawTerminated{false};
  std::atomic<bool> started{false};
  TProcThread* t = New<TProcThread>([&](TProcThread* self) {
    started = true;
    while (!self->TerminatedNow()) TThread::Yield();
    sawTerminated = true;
  });
  while (!started) TThread::Yield();
  EXPECT_FALSE(t->Terminated());
  t->Free();  // returns only after the body saw Terminated
  EXPECT_TRUE(sawTerminated.load());
}

TEST(Threads, ExceptionInExecuteIsKept) {
  TOwned<TProcThread> tOwner(New<TProcThread>([](TProcThread*) { throw EConvertError(L"kaputt"); }));
  TProcThread* t = tOwner.get();
  t->WaitFor();
  ASSERT_TRUE(t->FatalException());
  try {
    std::rethrow_exception(t->FatalException());
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), L"kaputt");
  }
  tOwner.reset();
}

class TTerminateWatcher : public TObject {
  SK_CLASS(TTerminateWatcher, TObject)
 public:
  void ThreadTerminated(TObject* ASender) {
    Sender = ASender;
    CalledOn = GetCurrentThreadId();
  }
  TObject* Sender = nullptr;
  DWORD CalledOn = 0;
};

TEST(Threads, OnTerminateRunsOnTheMainThread) {
  TTerminateWatcher* watcher = New<TTerminateWatcher>();
  TProcThread* t = New<TProcThread>([](TProcThread*) {}, true);
  t->SetOnTerminate(BindEvent<&TTerminateWatcher::ThreadTerminated>(watcher));
  t->Start();
  t->WaitFor();  // the wait on the main thread runs the synchronised call
  EXPECT_EQ(watcher->Sender, t);
  EXPECT_EQ(watcher->CalledOn, MainThreadID());
  t->Free();
  watcher->Free();
}

TEST(Threads, FreeOnTerminateFreesItself) {
  class TSelfFreeing : public TThread {
    SK_CLASS(TSelfFreeing, TThread)
   public:
    void Create(HANDLE ADone) {
      FDone = ADone;
      inherited::Create(true);
      SetFreeOnTerminate(true);
    }
    void Destroy() override {
      inherited::Destroy();
      SetEvent(FDone);
    }

   protected:
    void Execute() override {}

   private:
    HANDLE FDone;
  };
  const TKernelHandle doneEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  const HANDLE done = doneEvent.Get();
  TSelfFreeing* t = New<TSelfFreeing>(done);
  EXPECT_THROW(t->WaitFor(), EThread);  // it may be gone any moment once started
  t->Start();
  EXPECT_EQ(WaitForSingleObject(done, 10000), WAIT_OBJECT_0);
}

TEST(Threads, CurrentThreadAndAnonymousThreads) {
  TThread* mainObject = TThread::CurrentThread();
  ASSERT_NE(mainObject, nullptr);
  EXPECT_EQ(mainObject->ThreadID(), GetCurrentThreadId());
  EXPECT_EQ(TThread::CurrentThread(), mainObject);  // one object per thread
  EXPECT_FALSE(TThread::CheckTerminated());
  EXPECT_THROW(mainObject->WaitFor(), EThread);

  TThread* seen = nullptr;
  bool waitRaised = false;
  TProcThread* t = New<TProcThread>([&](TProcThread* self) {
    seen = TThread::CurrentThread();
    try {
      self->WaitFor();
    } catch (const EThread&) {
      waitRaised = true;
    }
  });
  t->WaitFor();
  EXPECT_EQ(seen, t);
  EXPECT_TRUE(waitRaised);
  t->Free();

  const TKernelHandle doneEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  const HANDLE done = doneEvent.Get();
  std::atomic<DWORD> ranOn{0};
  TThread* anonymous = TThread::CreateAnonymousThread([&] {
    ranOn = GetCurrentThreadId();
    SetEvent(done);
  });
  anonymous->Start();
  EXPECT_EQ(WaitForSingleObject(done, 10000), WAIT_OBJECT_0);
  EXPECT_NE(ranOn.load(), GetCurrentThreadId());
}

TEST(Threads, SystemInformation) {
  EXPECT_GE(TThread::ProcessorCount(), 1);
  TThread::TSystemTimes times;
  ASSERT_TRUE(TThread::GetSystemTimes(times));
  EXPECT_GT(times.KernelTime + times.UserTime, 0u);
  TThread::SpinWait(1000);
  const int usage = TThread::GetCPUUsage(times);
  EXPECT_GE(usage, 0);
  EXPECT_LE(usage, 100);
  TThread::TSystemTimes zero;
  EXPECT_LE(TThread::GetCPUUsage(zero), 100);
  EXPECT_GT(zero.KernelTime, 0u);  // the present times were stored
}

// --- The main-thread queue ---------------------------------------------------------

TEST(MainThreadQueue, WorkFromSeveralThreadsRunsInEachThreadsOrder) {
  constexpr int kThreads = 4, kItems = 150;
  std::vector<std::pair<int, int>> log;  // touched on the main thread only
  std::atomic<int> wrongThread{0};
  std::vector<TProcThread*> workers;
  for (int w = 0; w < kThreads; ++w)
    workers.push_back(New<TProcThread>([&, w](TProcThread* self) {
      for (int i = 0; i < kItems; ++i) {
        auto record = [&, w, i] {
          if (!IsMainThread()) ++wrongThread;
          log.emplace_back(w, i);
        };
        // Mixed: most entries are queued, every tenth waits for the main thread.
        if (i % 10 == 9) self->Synchronize(record);
        else self->Queue(record);
      }
    }));
  PumpUntil([&] { return log.size() == static_cast<std::size_t>(kThreads * kItems); });
  for (TProcThread* w : workers) {
    w->WaitFor();
    w->Free();
  }
  EXPECT_EQ(wrongThread.load(), 0);
  std::vector<int> next(kThreads, 0);
  for (const auto& [w, i] : log) {
    EXPECT_EQ(i, next[static_cast<std::size_t>(w)]) << "thread " << w;
    next[static_cast<std::size_t>(w)] = i + 1;
  }
  EXPECT_FALSE(CheckSynchronize());  // nothing left
  EXPECT_EQ(WaitForSingleObject(SyncEvent(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST(MainThreadQueue, SynchronizeRaisesTheProceduresExceptionInTheWorker) {
  String caught;
  bool ranAfter = false;
  TProcThread* t = New<TProcThread>([&](TProcThread* self) {
    try {
      self->Synchronize([] { throw EConvertError(L"im Hauptthread"); });
    } catch (const EConvertError& e) {
      caught = e.Message();
    }
    self->Synchronize([&] { ranAfter = true; });
  });
  t->WaitFor();  // pumps the queue while it waits
  t->Free();
  EXPECT_EQ(caught, L"im Hauptthread");
  EXPECT_TRUE(ranAfter);
}

TEST(MainThreadQueue, OnTheMainThreadWorkRunsAtOnce) {
  int runs = 0;
  TThread::Synchronize(nullptr, [&] { ++runs; });
  TThread::Queue(nullptr, [&] { ++runs; });
  EXPECT_EQ(runs, 2);
  EXPECT_THROW(TThread::Synchronize(nullptr, [] { throw EAbort(L"x"); }), EAbort);
  TThread::ForceQueue(nullptr, [&] { ++runs; });
  EXPECT_EQ(runs, 2);
  EXPECT_EQ(WaitForSingleObject(SyncEvent(), 0), WAIT_OBJECT_0);
  EXPECT_TRUE(CheckSynchronize());
  EXPECT_EQ(runs, 3);
}

TEST(MainThreadQueue, RemoveQueuedEventsWithdrawsOneTagOnly) {
  TProcThread* tag = New<TProcThread>([](TProcThread*) {}, true);
  std::vector<int> ran;
  TThread::ForceQueue(tag, [&] { ran.push_back(1); });
  TThread::ForceQueue(nullptr, [&] { ran.push_back(2); });
  TThread::ForceQueue(tag, [&] { ran.push_back(3); });
  TThread::RemoveQueuedEvents(tag);
  CheckSynchronize();
  EXPECT_EQ(ran, std::vector<int>{2});
  // Freeing a thread withdraws its entries too.
  TThread::ForceQueue(tag, [&] { ran.push_back(4); });
  tag->Free();
  EXPECT_FALSE(CheckSynchronize());
  EXPECT_EQ(ran, std::vector<int>{2});
}

TEST(MainThreadQueue, AQueuedExceptionLeavesTheRestForTheNextCall) {
  std::vector<int> ran;
  TThread::ForceQueue(nullptr, [&] { ran.push_back(1); });
  TThread::ForceQueue(nullptr, [] { throw EConvertError(L"x"); });
  TThread::ForceQueue(nullptr, [&] { ran.push_back(3); });
  EXPECT_THROW(CheckSynchronize(), EConvertError);
  EXPECT_EQ(ran, std::vector<int>{1});
  EXPECT_EQ(WaitForSingleObject(SyncEvent(), 0), WAIT_OBJECT_0);
  EXPECT_TRUE(CheckSynchronize());
  EXPECT_EQ(ran, (std::vector<int>{1, 3}));
}

TEST(MainThreadQueue, NestedLoopsKeepTheOrderAndRequeuedWorkWaits) {
  std::vector<String> log;
  TThread::ForceQueue(nullptr, [&] {
    log.push_back(L"x begins");
    CheckSynchronize();  // a modal loop inside the procedure
    log.push_back(L"x ends");
  });
  TThread::ForceQueue(nullptr, [&] { log.push_back(L"y"); });
  CheckSynchronize();
  EXPECT_EQ(log, (std::vector<String>{L"x begins", L"y", L"x ends"}));

  int generations = 0;
  std::function<void()> again = [&] {
    ++generations;
    TThread::ForceQueue(nullptr, again);
  };
  TThread::ForceQueue(nullptr, again);
  CheckSynchronize();
  EXPECT_EQ(generations, 1);  // the re-queued one waits for the next call
  CheckSynchronize();
  EXPECT_EQ(generations, 2);
  TThread::RemoveQueuedEvents(nullptr);
}

TEST(MainThreadQueue, WakeHookAndEventSignalNewWork) {
  std::atomic<int> wakes{0};
  const TWakeMainThread previous = SetWakeMainThread([&] { ++wakes; });
  std::atomic<bool> ran{false};
  TProcThread* t = New<TProcThread>([&](TProcThread* self) { self->Queue([&] { ran = true; }); });
  EXPECT_EQ(WaitForSingleObject(SyncEvent(), 10000), WAIT_OBJECT_0);
  EXPECT_TRUE(CheckSynchronize());
  EXPECT_TRUE(ran.load());
  t->WaitFor();  // the hook is called after the entry is queued
  EXPECT_EQ(wakes.load(), 1);
  t->Free();
  SetWakeMainThread(previous);
}

TEST(MainThreadQueue, OnlyTheMainThreadDrainsIt) {
  bool raised = false;
  TProcThread* t = New<TProcThread>([&](TProcThread*) {
    try {
      CheckSynchronize();
    } catch (const EThread&) {
      raised = true;
    }
  });
  t->WaitFor();
  t->Free();
  EXPECT_TRUE(raised);
  EXPECT_TRUE(IsMainThread());
}

TEST(MainThreadQueue, RemainingTimeoutCountsDownToZero) {
  const std::uint64_t now = GetTickCount64();
  EXPECT_EQ(RemainingTimeout(now, INFINITE), INFINITE);
  EXPECT_EQ(RemainingTimeout(now - 100, 50), 0u) << "passed";
  EXPECT_EQ(RemainingTimeout(now - 100, 100), 0u) << "just passed";
  const DWORD left = RemainingTimeout(now - 100, 1000);
  EXPECT_LE(left, 900u);
  EXPECT_GT(left, 0u);
}

TEST(MainThreadQueue, WaitForHandleKeepsTheQueueRunning) {
  const TKernelHandle doneEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  const HANDLE done = doneEvent.Get();
  TProcThread* t = New<TProcThread>([&](TProcThread* self) {
    self->Synchronize([] {});  // would deadlock a plain wait
    SetEvent(done);
  });
  EXPECT_EQ(WaitForHandleSynchronizing(done, INFINITE), wrSignaled);
  EXPECT_EQ(WaitForHandleSynchronizing(GetCurrentProcess(), 5), wrTimeout);
  t->WaitFor();
  t->Free();
}

}  // namespace
