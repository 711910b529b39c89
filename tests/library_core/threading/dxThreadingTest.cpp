#include "library/core/threading/dxThreading.h"

#include "platform/classes/Lists.h"

#include "tests/support/Gate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <atomic>
#include <numeric>
#include <random>
#include <set>
#include <vector>

namespace {

// Opens its gate once Arrive was called N times.
class TLatch {
 public:
  explicit TLatch(int ACount) : FRemaining(ACount) {}
  void Arrive() {
    if (--FRemaining == 0) FGate.Open();
  }
  // On the main thread the wait keeps synchronisation alive.
  bool Wait(DWORD ATimeout = 5000) const { return WaitForHandle(FGate.Handle(), ATimeout) == wrSignaled; }

 private:
  std::atomic<int> FRemaining;
  TGate FGate;
};

struct TKeyed {
  int Key;
  int Id;
};

int CompareKeys(void* A, void* B) { return static_cast<TKeyed*>(A)->Key - static_cast<TKeyed*>(B)->Key; }

std::vector<TKeyed> MakeKeys(int ACount, unsigned ASeed) {
  std::vector<TKeyed> items(static_cast<std::size_t>(ACount));
  std::mt19937 random(ASeed);
  for (int i = 0; i < ACount; ++i) items[static_cast<std::size_t>(i)] = {static_cast<int>(random() % 1000000), i};
  return items;
}

std::vector<void*> Pointers(std::vector<TKeyed>& AItems) {
  std::vector<void*> p;
  for (TKeyed& k : AItems) p.push_back(&k);
  return p;
}

bool IsSortedByKey(const std::vector<void*>& AList) {
  return std::is_sorted(AList.begin(), AList.end(), [](void* A, void* B) { return CompareKeys(A, B) < 0; });
}

bool SameItems(std::vector<void*> A, std::vector<void*> B) {
  std::sort(A.begin(), A.end());
  std::sort(B.begin(), B.end());
  return A == B;
}

// A comparer object for the delegate form, which also records the threads
// that compared.
class TComparer : public TObject {
  SK_CLASS(TComparer, TObject)
 public:
  std::atomic<int> Calls{0};
  std::atomic<int> InFlight{0};
  int FailAtCall = -1;  // raises at this call number (0-based)
  std::mutex Lock;
  std::set<DWORD> Threads;

  int Compare(void* A, void* B) {
    ++InFlight;
    TScopeExit leave([this] { --InFlight; });
    {
      std::lock_guard<std::mutex> guard(Lock);
      Threads.insert(GetCurrentThreadId());
    }
    if (Calls++ == FailAtCall) throw EConvertError(L"comparer failed");
    return CompareKeys(A, B);
  }
  TCompareItems Event() { return BindEvent<&TComparer::Compare>(this); }
};

// ---------------------------------------------------------------------------
// Thread-pool batches

std::atomic<int> GProcCalls{0};
void CountCall(void* AContext) {
  ++GProcCalls;
  static_cast<std::atomic<int>*>(AContext)->fetch_add(1);
}
void RaiseInItem(void*) { throw EConvertError(L"item failed"); }

TEST(ThreadPoolHelper, WaitsForEveryItemOfTheBatchAndKeepsTheirException) {
  if (!IsMultithreadingEnabled()) GTEST_SKIP() << "no thread pool on this machine";
  TdxThreadPoolHelper* pool = New<TdxThreadPoolHelper>();
  std::atomic<int> done{0};
  pool->Initialize(5, true);
  for (int i = 0; i < 4; ++i) pool->QueueWorkItem(&CountCall, &done);
  pool->QueueWorkItem(&RaiseInItem, nullptr);
  pool->WaitForThreads(false);
  EXPECT_EQ(done, 4) << "the wait returned before every item ended";
  EXPECT_THROW(pool->CheckException(), EConvertError);

  // The next batch starts clean: the old exception is not raised again.
  pool->Initialize(2, false);
  pool->QueueWorkItem(&CountCall, &done);
  pool->QueueWorkItem(&CountCall, &done);
  pool->WaitForThreads(true);
  EXPECT_EQ(done, 6);
  EXPECT_NO_THROW(pool->CheckException());
  pool->Free();
}

TEST(ThreadPoolHelper, AnUnassignedItemDoesNotLeaveTheWaitHanging) {
  TdxThreadPoolHelper* pool = New<TdxThreadPoolHelper>();
  std::atomic<int> done{0};
  pool->Initialize(2, true);
  pool->QueueWorkItem(nullptr, nullptr);
  pool->QueueWorkItem(&CountCall, &done);
  pool->WaitForThreads(true);
  EXPECT_EQ(done, 1);
  pool->Free();
}

// ---------------------------------------------------------------------------
// Multithreaded sort

class MultithreadedSort : public testing::Test {
 protected:
  void SetUp() override {
    if (!IsMultithreadingEnabled()) GTEST_SKIP() << "no thread pool on this machine";
  }
};

int CompareFunction(void* A, void* B) { return CompareKeys(A, B); }

TEST_F(MultithreadedSort, SortsWithEveryComparerKindAndSize) {
  TdxMultithreadedSort* sorter = New<TdxMultithreadedSort>(8);
  TComparer* comparer = New<TComparer>();
  for (int count : {0, 1, 2, 31, 32, 33, 100, 1000, 20000}) {
    for (int kind = 0; kind < 3; ++kind) {
      SCOPED_TRACE(testing::Message() << count << " items, comparer kind " << kind);
      std::vector<TKeyed> keys = MakeKeys(count, static_cast<unsigned>(count + kind));
      std::vector<void*> list = Pointers(keys);
      const std::vector<void*> original = list;
      const TdxListSortCompareDelegate asFunction = [](void* A, void* B) { return CompareKeys(A, B); };
      if (kind == 0) sorter->Sort(list.data(), count, comparer->Event());
      if (kind == 1) sorter->Sort(list.data(), count, &CompareFunction);
      if (kind == 2) sorter->SortList(list.data(), count, asFunction);
      EXPECT_TRUE(IsSortedByKey(list));
      EXPECT_TRUE(SameItems(list, original));
    }
  }
  comparer->Free();
  sorter->Free();
}

TEST_F(MultithreadedSort, CutsTheArrayIntoChunksByThreadCount) {
  struct Case {
    const char* Name;
    int Threads;
    int Count;
    int Chunks;
  };
  const Case cases[] = {
      {"fewer than 32 items", 8, 31, 1},
      {"one thread", 1, 100, 1},
      {"two threads", 2, 100, 8},
      {"three threads", 3, 100, 8},
      {"four threads", 4, 100, 16},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TdxMultithreadedSort* sorter = New<TdxMultithreadedSort>(c.Threads);
    std::vector<TKeyed> keys = MakeKeys(c.Count, 7);
    std::vector<void*> list = Pointers(keys);
    sorter->Sort(list.data(), c.Count, &CompareFunction);
    EXPECT_EQ(sorter->SortChunkCount(), c.Chunks);
    EXPECT_TRUE(IsSortedByKey(list));
    sorter->Free();
  }
}

TEST_F(MultithreadedSort, HundredItemsOnEightThreadsMakeFourChunksOfSevenThenTwelveOfSix) {
  TOwned<TdxMultithreadedSort> sorterOwner(New<TdxMultithreadedSort>(8));
  TdxMultithreadedSort* sorter = sorterOwner.get();
  std::vector<TKeyed> keys = MakeKeys(100, 3);
  std::vector<void*> list = Pointers(keys);
  sorter->Sort(list.data(), 100, &CompareFunction);
  ASSERT_EQ(sorter->SortChunkCount(), 16);
  int next = 0;
  for (int k = 0; k < 16; ++k) {
    SCOPED_TRACE(k);
    const auto& chunk = sorter->SortChunks(k);
    EXPECT_EQ(chunk.StartIndex, next) << "chunks follow each other";
    EXPECT_EQ(chunk.EndIndex - chunk.StartIndex + 1, k < 4 ? 7 : 6);
    next = chunk.EndIndex + 1;
  }
  EXPECT_EQ(next, 100);
  sorterOwner.reset();
}

TEST_F(MultithreadedSort, EqualItemsOfDifferentChunksEndLaterChunkFirst) {
  TOwned<TdxMultithreadedSort> sorterOwner(New<TdxMultithreadedSort>(8));
  TdxMultithreadedSort* sorter = sorterOwner.get();
  // Unique keys but for one pair: index 3 (first chunk) and index 97 (last chunk).
  std::vector<TKeyed> keys(100);
  for (int i = 0; i < 100; ++i) keys[static_cast<std::size_t>(i)] = {(i * 37) % 101 + 1000, i};
  keys[3].Key = 500;
  keys[97].Key = 500;
  std::vector<void*> list = Pointers(keys);
  sorter->Sort(list.data(), 100, &CompareFunction);
  ASSERT_TRUE(IsSortedByKey(list));
  EXPECT_EQ(static_cast<TKeyed*>(list[0])->Id, 97);
  EXPECT_EQ(static_cast<TKeyed*>(list[1])->Id, 3);
  sorterOwner.reset();
}

TEST_F(MultithreadedSort, ARaisingComparerEndsTheSortAfterEveryWorkItemAndLosesNothing) {
  TdxMultithreadedSort* sorter = New<TdxMultithreadedSort>(8);
  // A dry run counts the comparisons: the last one belongs to the final merge.
  TComparer* counter = New<TComparer>();
  std::vector<TKeyed> keys = MakeKeys(5000, 11);
  {
    std::vector<void*> list = Pointers(keys);
    sorter->Sort(list.data(), 5000, counter->Event());
  }
  const int total = counter->Calls;
  counter->Free();
  for (int failAt : {0, total / 3, total - 1}) {
    SCOPED_TRACE(testing::Message() << "raising at comparison " << failAt << " of " << total);
    TComparer* comparer = New<TComparer>();
    comparer->FailAtCall = failAt;
    std::vector<void*> list = Pointers(keys);
    const std::vector<void*> original = list;
    EXPECT_THROW(sorter->Sort(list.data(), 5000, comparer->Event()), EConvertError);
    EXPECT_EQ(comparer->InFlight, 0) << "a work item still compared after the sort returned";
    EXPECT_TRUE(SameItems(list, original)) << "items were lost or doubled";
    comparer->Free();
  }
  // The sorter is free again.
  std::vector<void*> list = Pointers(keys);
  sorter->Sort(list.data(), 5000, &CompareFunction);
  EXPECT_TRUE(IsSortedByKey(list));
  sorter->Free();
}

TEST(SortKernel, AComparerThatRaisesLeavesEveryItemInTheArray) {
  std::vector<TKeyed> keys = MakeKeys(300, 13);
  for (int failAt : {0, 50, 400, 1500, 2500}) {
    SCOPED_TRACE(failAt);
    TComparer* comparer = New<TComparer>();
    comparer->FailAtCall = failAt;
    std::vector<void*> list = Pointers(keys);
    const std::vector<void*> original = list;
    EXPECT_THROW(dxInternalQuickSortList(list.data(), 300, comparer->Event()), EConvertError);
    EXPECT_TRUE(SameItems(list, original));
    comparer->Free();
  }
}

TEST_F(MultithreadedSort, ASecondCallerSortsInItsOwnThread) {
  TOwned<TdxMultithreadedSort> sorterOwner(New<TdxMultithreadedSort>(8));
  TdxMultithreadedSort* sorter = sorterOwner.get();
  ASSERT_TRUE(sorter->Lock());  // another sort holds it
  TComparer* comparer = New<TComparer>();
  std::vector<TKeyed> keys = MakeKeys(1000, 5);
  std::vector<void*> list = Pointers(keys);
  sorter->Sort(list.data(), 1000, comparer->Event());
  EXPECT_TRUE(IsSortedByKey(list));
  EXPECT_EQ(comparer->Threads, std::set<DWORD>{GetCurrentThreadId()});
  sorter->Unlock();
  comparer->Free();
  sorterOwner.reset();
}

TEST_F(MultithreadedSort, FastListsHandLargeMultithreadedSortsToTheSharedSorter) {
  dxInstallMultithreadedSortHooks();
  TComparer* comparer = New<TComparer>();
  std::vector<TKeyed> keys = MakeKeys(4000, 9);
  TdxFastList* list = New<TdxFastList>();
  for (TKeyed& k : keys) list->Add(&k);
  list->Sort(comparer->Event(), true);
  EXPECT_GT(comparer->Threads.size(), 1u) << "the sort did not reach the pool";
  EXPECT_TRUE(IsSortedByKey(std::vector<void*>(list->List(), list->List() + list->Count())));

  comparer->Threads.clear();
  SetEnableMultiThreading(false);
  std::shuffle(list->List(), list->List() + list->Count(), std::mt19937(1));
  list->Sort(comparer->Event(), true);
  SetEnableMultiThreading(true);
  EXPECT_EQ(comparer->Threads, std::set<DWORD>{GetCurrentThreadId()});
  EXPECT_TRUE(IsSortedByKey(std::vector<void*>(list->List(), list->List() + list->Count())));
  list->Free();
  comparer->Free();
}

// ---------------------------------------------------------------------------
// Multithreaded iterator

class TVisits : public TObject {
  SK_CLASS(TVisits, TObject)
 public:
  std::vector<std::atomic<int>> Counts = std::vector<std::atomic<int>>(2000);
  std::set<int> Matches;
  std::mutex Lock;
  std::vector<int> Order;
  std::set<DWORD> Threads;

  bool Visit(void*, int AIndex) {
    ++Counts[static_cast<std::size_t>(AIndex)];
    {
      std::lock_guard<std::mutex> guard(Lock);
      Order.push_back(AIndex);
      Threads.insert(GetCurrentThreadId());
    }
    return Matches.count(AIndex) != 0;
  }
  TdxIterateItemObjectFunc Event() { return BindEvent<&TVisits::Visit>(this); }
};

TEST(MultithreadedIterator, AnEmptyCollectionAnswersMinusOneWithoutCalls) {
  TdxMultithreadedListIterator* iterator = New<TdxMultithreadedListIterator>(4);
  TVisits* visits = New<TVisits>();
  EXPECT_EQ(iterator->Iterate(nullptr, 0, visits->Event()), -1);
  EXPECT_TRUE(visits->Order.empty());
  visits->Free();
  iterator->Free();
}

TEST(MultithreadedIterator, FindsAMatchOnThePoolOrVisitsEveryItemOnce) {
  if (!IsMultithreadingEnabled()) GTEST_SKIP() << "no thread pool on this machine";
  TdxMultithreadedListIterator* iterator = New<TdxMultithreadedListIterator>(4);
  TVisits* visits = New<TVisits>();
  EXPECT_EQ(iterator->Iterate(nullptr, 2000, visits->Event()), -1);
  EXPECT_TRUE(std::all_of(visits->Counts.begin(), visits->Counts.end(), [](const std::atomic<int>& c) { return c == 1; }));
  EXPECT_EQ(iterator->ChunkCount(), 4);

  TVisits* found = New<TVisits>();
  found->Matches = {150, 1200, 1999};
  const int index = iterator->Iterate(nullptr, 2000, found->Event());
  EXPECT_TRUE(found->Matches.count(index)) << index;
  found->Free();
  visits->Free();
  iterator->Free();
}

TEST(MultithreadedIterator, AnItemFunctionThatRaisesReachesTheCaller) {
  if (!IsMultithreadingEnabled()) GTEST_SKIP() << "no thread pool on this machine";
  TdxMultithreadedListIterator* iterator = New<TdxMultithreadedListIterator>(4);
  TList* list = New<TList>();
  for (int i = 0; i < 100; ++i) list->Add(nullptr);
  EXPECT_THROW(iterator->Iterate(list, [](TList*, int AIndex) -> bool {
    if (AIndex == 60) throw EConvertError(L"broken item");
    return false;
  }),
               EConvertError);
  // Free again afterwards.
  EXPECT_EQ(iterator->Iterate(list, [](TList*, int AIndex) { return AIndex == 10; }), 10);
  list->Free();
  iterator->Free();
}

TEST(MultithreadedIterator, ACallerThatFindsItBusyWalksInItsOwnThreadInOrder) {
  TOwned<TdxMultithreadedListIterator> iteratorOwner(New<TdxMultithreadedListIterator>(4));
  TdxMultithreadedListIterator* iterator = iteratorOwner.get();
  ASSERT_TRUE(iterator->Lock());
  for (bool reverse : {false, true}) {
    SCOPED_TRACE(reverse ? "reverse" : "forward");
    TVisits* visits = New<TVisits>();
    visits->Matches = {2, 7};
    const int index = iterator->Iterate(nullptr, 10, visits->Event(), reverse);
    EXPECT_EQ(index, reverse ? 7 : 2) << "the first match in walking order";
    EXPECT_EQ(visits->Order, reverse ? std::vector<int>({9, 8, 7}) : std::vector<int>({0, 1, 2}));
    EXPECT_EQ(visits->Threads, std::set<DWORD>{GetCurrentThreadId()});
    visits->Free();
  }
  iterator->Unlock();
  iteratorOwner.reset();
}

TEST(MultithreadedIterator, TypedCollectionsPassThemselvesToTheItemFunction) {
  TdxMultithreadedListIterator* iterator = New<TdxMultithreadedListIterator>(2);
  TStringList* strings = New<TStringList>();
  for (const wchar_t* s : {L"alpha", L"beta", L"gamma", L"delta"}) strings->Add(s);
  EXPECT_EQ(iterator->Iterate(strings, [](TStrings* S, int I) { return S->Strings(I) == L"gamma"; }), 2);
  TdxFastList* fast = New<TdxFastList>();
  for (std::intptr_t i = 0; i < 50; ++i) fast->Add(reinterpret_cast<void*>(i * 3));
  EXPECT_EQ(iterator->Iterate(fast, [](TdxFastList* L, int I) { return L->Items(I) == reinterpret_cast<void*>(33); }), 11);
  fast->Free();
  strings->Free();
  iterator->Free();
}

// ---------------------------------------------------------------------------
// Tasks and the dispatcher

// A task body that reports its start, then waits for its gate or a cancel.
struct TBlockingWork {
  TLatch* Started = nullptr;
  const TGate* Release = nullptr;
  std::atomic<bool> Ran{false};
  std::atomic<bool> SawCancel{false};

  TdxTaskProc Proc() {
    return [this](const TdxTaskCancelCallback& ACanceled) {
      Ran = true;
      if (Started) Started->Arrive();
      while (!Release->IsOpen()) {
        if (ACanceled()) {
          SawCancel = true;
          return;
        }
        WaitForSingleObject(Release->Handle(), 5);
      }
    };
  }
};

class TaskDispatcher : public testing::Test {
 protected:
  void SetUp() override { FDispatcher = New<TdxTaskDispatcher>(); }
  void TearDown() override {
    FRelease.Open();
    FreeAndNil(FDispatcher);
  }
  // Task bodies live as long as the dispatcher can still run them.
  TBlockingWork& Work(TLatch* AStarted, const TGate* ARelease = nullptr) {
    auto& work = *FWorks.emplace_back(std::make_unique<TBlockingWork>());
    work.Started = AStarted;
    work.Release = ARelease ? ARelease : &FRelease;
    return work;
  }
  TdxTaskDispatcher* FDispatcher = nullptr;
  TGate FRelease;
  TGate FNever;
  std::vector<std::unique_ptr<TBlockingWork>> FWorks;
};

TEST_F(TaskDispatcher, ThreeTasksUnderALimitOfOneRunOneAfterTheOther) {
  FDispatcher->SetMaxActiveTasks(1);
  TLatch first(1);
  TLatch all(3);
  std::vector<int> order;
  std::mutex lock;
  auto work = [&](int AId, TLatch* AStarted) {
    return [&, AId, AStarted](const TdxTaskCancelCallback&) {
      {
        std::lock_guard<std::mutex> guard(lock);
        order.push_back(AId);
      }
      if (AStarted) AStarted->Arrive();
      FRelease.Wait();
      all.Arrive();
    };
  };
  FDispatcher->Run(work(1, &first));
  FDispatcher->Run(work(2, nullptr));
  const TdxTaskHandle third = FDispatcher->Run(work(3, nullptr));
  ASSERT_TRUE(first.Wait());
  EXPECT_EQ(FDispatcher->ActiveTaskCount(), 1);
  EXPECT_EQ(FDispatcher->PendingTaskCount(), 2);
  FRelease.Open();
  ASSERT_TRUE(all.Wait());
  EXPECT_TRUE(FDispatcher->WaitFor(third));
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(FDispatcher->PendingTaskCount(), 0);
}

TEST_F(TaskDispatcher, WaitForStartsAPendingTaskWhateverTheQuota) {
  FDispatcher->SetMaxActiveTasks(1);
  TLatch started(1);
  TBlockingWork& blocker = Work(&started);
  FDispatcher->Run(blocker.Proc());
  ASSERT_TRUE(started.Wait());
  std::atomic<bool> ran{false};
  const TdxTaskHandle pending = FDispatcher->Run([&](const TdxTaskCancelCallback&) { ran = true; });
  EXPECT_EQ(FDispatcher->PendingTaskCount(), 1);
  EXPECT_EQ(FDispatcher->WaitFor(pending, DWORD{5000}), wrSignaled);
  EXPECT_TRUE(ran);
  EXPECT_EQ(FDispatcher->WaitFor(pending, DWORD{0}), wrAbandoned) << "a finished task is no longer known";
}

TEST_F(TaskDispatcher, CancelOfAPendingTaskCompletesItAtOnceWithoutRunningIt) {
  FDispatcher->SetMaxActiveTasks(1);
  TLatch started(1);
  TBlockingWork& blocker = Work(&started);
  FDispatcher->Run(blocker.Proc());
  ASSERT_TRUE(started.Wait());
  TBlockingWork& pendingWork = Work(nullptr);
  int completed = 0;
  const TdxTaskHandle pending = FDispatcher->Run(pendingWork.Proc(), [&] { ++completed; }, tmcmAsync);
  EXPECT_EQ(FDispatcher->Cancel(pending, DWORD{INFINITE}), wrSignaled);
  EXPECT_EQ(completed, 1);
  EXPECT_EQ(FDispatcher->PendingTaskCount(), 0);
  FRelease.Open();
  EXPECT_FALSE(pendingWork.Ran);
}

TEST_F(TaskDispatcher, CancelOfAZeroHandleIsAbandonedAndOfARunningTaskNeedNotWait) {
  EXPECT_EQ(FDispatcher->Cancel(TdxTaskHandle{0}, DWORD{INFINITE}), wrAbandoned);
  TLatch started(1);
  TBlockingWork& work = Work(&started, &FNever);
  int completed = 0;
  const TdxTaskHandle running = FDispatcher->Run(work.Proc(), [&] { ++completed; }, tmcmSyncPostponed);
  ASSERT_TRUE(started.Wait());
  EXPECT_TRUE(FDispatcher->Cancel(running, false));
  // The body notices the cancel test and ends; its completion is queued to
  // this thread.
  const ULONGLONG deadline = GetTickCount64() + 5000;
  while (completed == 0 && GetTickCount64() < deadline) CheckSynchronize(50);
  EXPECT_TRUE(work.SawCancel);
  EXPECT_EQ(completed, 1);
}

TEST_F(TaskDispatcher, CancellingAPendingTaskFromAWorkerDoesNotBlockTheMainThread) {
  // The pending task completes in the main thread (tmcmSync): the worker that
  // cancels it must not hold the dispatcher's lock while it waits for that.
  FDispatcher->SetMaxActiveTasks(1);
  TLatch started(1);
  TBlockingWork& blocker = Work(&started);
  FDispatcher->Run(blocker.Proc());
  ASSERT_TRUE(started.Wait());
  bool completedInMain = false;
  const TdxTaskHandle pending =
      FDispatcher->Run([](const TdxTaskCancelCallback&) {}, [&] { completedInMain = IsMainThread(); }, tmcmSync);
  std::atomic<bool> cancelled{false};
  TThread* worker = TThread::CreateAnonymousThread([&] {
    FDispatcher->Cancel(pending, DWORD{INFINITE});
    cancelled = true;
  });
  // A deadlock cannot be caught as a failure: a watchdog ends the program.
  TGate finished;
  TThread* watchdog = TThread::CreateAnonymousThread([&] {
    if (WaitForSingleObject(finished.Handle(), 10000) == WAIT_TIMEOUT) {
      std::fputs("deadlock: the main thread waits for the dispatcher's lock\n", stderr);
      std::fflush(stderr);
      TerminateProcess(GetCurrentProcess(), 3);
    }
  });
  watchdog->SetFreeOnTerminate(false);
  watchdog->Start();
  worker->Start();
  // Mostly inside the lock, now and then running synchronised work.
  while (!cancelled) {
    FDispatcher->PendingTaskCount();
    CheckSynchronize(0);
  }
  finished.Open();
  watchdog->WaitFor();
  watchdog->Free();
  EXPECT_TRUE(completedInMain);
}

class TRecordingTask : public TInterfacedObject, public IdxTask {
  SK_CLASS(TRecordingTask, TInterfacedObject)
 public:
  bool Raise = false;
  const TGate* Release = nullptr;
  std::vector<TdxTaskCompletedStatus> Statuses;
  std::atomic<bool> Ran{false};

  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IdxTask>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
  }
  TdxTaskCompletedStatus Run(const TdxTaskCancelCallback&) override {
    Ran = true;
    if (Release) Release->Wait();
    if (Raise) throw EConvertError(L"task failed");
    return TdxTaskCompletedStatus::Success;
  }
  void OnComplete(TdxTaskCompletedStatus AStatus) override { Statuses.push_back(AStatus); }
};

TEST_F(TaskDispatcher, AWrappedTaskReportsSuccessFailOrCancelled) {
  struct Case {
    const char* Name;
    bool Raise;
    bool CancelWhilePending;
    TdxTaskCompletedStatus Expected;
  };
  const Case cases[] = {
      {"returns", false, false, TdxTaskCompletedStatus::Success},
      {"raises", true, false, TdxTaskCompletedStatus::Fail},
      {"cancelled before it ran", false, true, TdxTaskCompletedStatus::Cancelled},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TRecordingTask* task = New<TRecordingTask>();
    IPtr<IdxTask> ref(task);
    task->Raise = c.Raise;
    TdxTaskHandle handle;
    if (c.CancelWhilePending) {
      FDispatcher->SetMaxActiveTasks(1);
      TLatch started(1);
      TGate release;
      TBlockingWork& blocker = Work(&started, &release);
      FDispatcher->Run(blocker.Proc());
      ASSERT_TRUE(started.Wait());
      handle = FDispatcher->Run(ref);
      EXPECT_EQ(FDispatcher->Cancel(handle, DWORD{INFINITE}), wrSignaled);
      release.Open();
      while (FDispatcher->ActiveTaskCount() > 0) CheckSynchronize(5);
    } else {
      handle = FDispatcher->Run(ref);
      EXPECT_TRUE(FDispatcher->WaitFor(handle));
    }
    // Completions of tasks started in the main thread run there.
    const ULONGLONG deadline = GetTickCount64() + 5000;
    while (task->Statuses.empty() && GetTickCount64() < deadline) CheckSynchronize(50);
    EXPECT_EQ(task->Statuses, std::vector<TdxTaskCompletedStatus>{c.Expected});
    EXPECT_EQ(task->Ran, !c.CancelWhilePending);
    while (FDispatcher->ActiveTaskCount() > 0) CheckSynchronize(5);
  }
}

TEST_F(TaskDispatcher, RunInCurrentThreadCompletesAndLetsTheExceptionThrough) {
  TRecordingTask* task = New<TRecordingTask>();
  IPtr<IdxTask> ref(task);
  task->Raise = true;
  EXPECT_THROW(FDispatcher->RunInCurrentThread(ref), EConvertError);
  EXPECT_EQ(task->Statuses, std::vector<TdxTaskCompletedStatus>{TdxTaskCompletedStatus::Fail});
}

TEST_F(TaskDispatcher, ATaskSeesItsOwnCancelThroughTheDispatcher) {
  TLatch started(1);
  std::atomic<bool> seen{false};
  const TdxTaskHandle handle = FDispatcher->Run([&](const TdxTaskCancelCallback&) {
    started.Arrive();
    const ULONGLONG deadline = GetTickCount64() + 5000;
    while (!FDispatcher->IsCurrentTaskCanceled() && GetTickCount64() < deadline) SwitchToThread();
    seen = FDispatcher->IsCurrentTaskCanceled();
  });
  ASSERT_TRUE(started.Wait());
  EXPECT_FALSE(FDispatcher->IsCurrentTaskCanceled()) << "the main thread runs no task";
  EXPECT_TRUE(FDispatcher->Cancel(handle, true));
  EXPECT_TRUE(seen);
}

TEST_F(TaskDispatcher, WithoutAThreadPoolTasksRunInTheCallingThread) {
  const bool previous = SetThreadPoolAvailable(false);
  DWORD thread = 0;
  int completed = 0;
  FDispatcher->Run([&](const TdxTaskCancelCallback&) { thread = GetCurrentThreadId(); }, [&] { ++completed; },
                   tmcmAsync);
  SetThreadPoolAvailable(previous);
  EXPECT_EQ(thread, GetCurrentThreadId());
  EXPECT_EQ(completed, 1);
  EXPECT_EQ(FDispatcher->ActiveTaskCount(), 0);
}

TEST_F(TaskDispatcher, DestructionCancelsRunningTasksAndWaitsForThem) {
  TLatch started(2);
  TBlockingWork& a = Work(&started, &FNever);
  TBlockingWork& b = Work(&started, &FNever);
  FDispatcher->Run(a.Proc());
  FDispatcher->Run(b.Proc());
  ASSERT_TRUE(started.Wait());
  FreeAndNil(FDispatcher);
  EXPECT_TRUE(a.SawCancel);
  EXPECT_TRUE(b.SawCancel);
}

TEST_F(TaskDispatcher, TheMonitorRaisesTheQuotaAfterTenIdleSamples) {
  FDispatcher->SetMaxActiveTasks(2);
  FDispatcher->SetCpuUsageSampler([] { return 50; });
  TLatch twoStarted(2);
  TLatch thirdStarted(1);
  TBlockingWork& a = Work(&twoStarted);
  TBlockingWork& b = Work(&twoStarted);
  TBlockingWork& c = Work(&thirdStarted);
  FDispatcher->Run(a.Proc());
  FDispatcher->Run(b.Proc());
  FDispatcher->Run(c.Proc());
  ASSERT_TRUE(twoStarted.Wait());
  ASSERT_EQ(FDispatcher->PendingTaskCount(), 1);
  for (int i = 0; i < 9; ++i) FDispatcher->SampleCpuUsage();
  EXPECT_EQ(FDispatcher->ActualMaxActiveTasks(), 2) << "fewer than ten samples change nothing";
  FDispatcher->SampleCpuUsage();
  EXPECT_EQ(FDispatcher->AverageCpuUsage(), 50);
  EXPECT_EQ(FDispatcher->ActualMaxActiveTasks(), 3);
  EXPECT_TRUE(thirdStarted.Wait()) << "the pending task starts under the new quota";
}

TEST_F(TaskDispatcher, TheMonitorNeedsTenNewSamplesAfterEachChange) {
  FDispatcher->SetMaxActiveTasks(1);
  FDispatcher->SetProcessorCount(4);
  int load = 50;
  FDispatcher->SetCpuUsageSampler([&] { return load; });
  TLatch first(1);
  TLatch second(1);
  TBlockingWork& a = Work(&first);
  TBlockingWork& b = Work(&second);
  TBlockingWork& c = Work(nullptr);
  FDispatcher->Run(a.Proc());
  FDispatcher->Run(b.Proc());
  FDispatcher->Run(c.Proc());
  ASSERT_TRUE(first.Wait());
  for (int i = 0; i < 10; ++i) FDispatcher->SampleCpuUsage();
  ASSERT_EQ(FDispatcher->ActualMaxActiveTasks(), 2);
  ASSERT_TRUE(second.Wait());
  // Busy now: the next proposal would lower the quota again, but only after
  // ten fresh samples.
  load = 99;
  for (int i = 0; i < 9; ++i) FDispatcher->SampleCpuUsage();
  EXPECT_EQ(FDispatcher->ActualMaxActiveTasks(), 2);
  FDispatcher->SampleCpuUsage();
  EXPECT_EQ(FDispatcher->AverageCpuUsage(), 99);
  EXPECT_EQ(FDispatcher->ActualMaxActiveTasks(), 1) << "never below the limit";
}

TEST(TaskQuota, ProposalsFollowTheLoadWithinTheLimits) {
  struct Case {
    const char* Name;
    int Max;
    int Cpus;
    bool Pending;
    int Running;
    int Load;
    int Expected;
  };
  const Case cases[] = {
      {"idle with work waiting", 2, 4, true, 2, 50, 3},
      {"at 80 % still one more", 2, 4, true, 5, 80, 6},
      {"between 81 and 94 % unchanged", 2, 4, true, 5, 90, 5},
      {"from 95 % one less", 2, 4, true, 5, 95, 4},
      {"never below the limit", 4, 4, true, 2, 99, 4},
      {"never above 8 per processor", 2, 4, true, 32, 10, 32},
      {"nothing pending: the limit", 3, 4, false, 10, 10, 3},
      {"limit 100 with nothing pending: 8 per processor", 100, 4, false, 0, 50, 32},
      {"limit 100 with work waiting: back to the limit", 100, 4, true, 10, 50, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(TdxTaskDispatcher::ProposeQuota(c.Max, c.Cpus, c.Pending, c.Running, c.Load), c.Expected);
  }
}

TEST_F(TaskDispatcher, ToStringCountsRunningAndPendingTasks) {
  FDispatcher->SetMaxActiveTasks(2);
  TLatch started(2);
  for (int i = 0; i < 5; ++i) FDispatcher->Run(Work(i < 2 ? &started : nullptr).Proc());
  ASSERT_TRUE(started.Wait());
  EXPECT_EQ(FDispatcher->ToString(), L"Tasks: 2 (Pending: 3)");
}

TEST_F(TaskDispatcher, TheMonitorIsSwitchedOnlyInTheMainThread) {
  String message;
  TThread* worker = TThread::CreateAnonymousThread([&] {
    try {
      FDispatcher->SetUseCpuUsageMonitor(true);
    } catch (const EInvalidOperation& e) {
      message = e.Message();
    }
  });
  worker->SetFreeOnTerminate(false);
  worker->Start();
  worker->WaitFor();
  worker->Free();
  EXPECT_EQ(message, L"TdxTaskDispatcher");
  EXPECT_FALSE(FDispatcher->UseCpuUsageMonitor());
  FDispatcher->SetUseCpuUsageMonitor(true);
  EXPECT_TRUE(FDispatcher->UseCpuUsageMonitor());
  EXPECT_NE(FDispatcher->ToString().find(L"\r\nQuota: "), String::npos);
}

TEST(WaitForHandle, RunsSynchronisedWorkWhileTheMainThreadWaits) {
  TGate done;
  int ranOn = 0;
  TThread* worker = TThread::CreateAnonymousThread([&] {
    TThread::Synchronize(nullptr, [&] { ranOn = IsMainThread() ? 1 : 2; });
    done.Open();
  });
  worker->Start();
  EXPECT_EQ(WaitForHandle(done.Handle(), 5000), wrSignaled);
  EXPECT_EQ(ranOn, 1);
  TGate never;
  const ULONGLONG before = GetTickCount64();
  EXPECT_EQ(WaitForHandle(never.Handle(), 30), wrTimeout);
  EXPECT_GE(GetTickCount64() - before, 25u);
}

TEST(WaitForHandle, OutsideTheMainThreadItIsAPlainWait) {
  TGate gate;
  gate.Open();
  TWaitResult signalled = wrError;
  TWaitResult timedOut = wrError;
  TGate never;
  TThread* worker = TThread::CreateAnonymousThread([&] {
    signalled = WaitForHandle(gate.Handle(), 1000);
    timedOut = WaitForHandle(never.Handle(), 1);
  });
  worker->SetFreeOnTerminate(false);
  worker->Start();
  worker->WaitFor();
  worker->Free();
  EXPECT_EQ(signalled, wrSignaled);
  EXPECT_EQ(timedOut, wrTimeout);
}

}  // namespace
