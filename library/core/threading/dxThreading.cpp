#include "library/core/threading/dxThreading.h"

#include "platform/classes/Lists.h"

#include <algorithm>

namespace {

using TQueueUserWorkItem = BOOL(WINAPI*)(LPTHREAD_START_ROUTINE, PVOID, ULONG);

TQueueUserWorkItem GQueueUserWorkItem = nullptr;
// The bound entry point while tests switch the pool off.
TQueueUserWorkItem GBoundQueueUserWorkItem = nullptr;
bool GMultithreadingAvailable = false;
bool GEnableMultiThreading = true;
TdxMultithreadedSort* GSorter = nullptr;
TdxMultithreadedListIterator* GListIterator = nullptr;

void SortThroughSharedSorter(void** AList, int ACount, const TdxListSortCompareDelegate& ACompare) {
  if (GSorter)
    GSorter->SortList(AList, ACount, ACompare);
  else
    dxInternalQuickSortList(AList, ACount, ACompare);
}

}  // namespace

// Also seen by the task dispatcher (dxThreading_Tasks.cpp).
BOOL dxQueueUserWorkItem(LPTHREAD_START_ROUTINE AFunction, PVOID AContext, ULONG AFlags, bool& AAvailable) {
  AAvailable = GQueueUserWorkItem != nullptr;
  return AAvailable ? GQueueUserWorkItem(AFunction, AContext, AFlags) : FALSE;
}

bool IsMultithreadingEnabled() { return GMultithreadingAvailable && GEnableMultiThreading; }
bool dxEnableMultiThreading() { return GEnableMultiThreading; }
void SetEnableMultiThreading(bool AValue) { GEnableMultiThreading = AValue; }
int CPUCount() { return TThread::ProcessorCount(); }

TdxMultithreadedSort* dxMultithreadedSorter() { return GSorter; }
TdxMultithreadedListIterator* dxMultithreadedListIterator() { return GListIterator; }

void dxInstallMultithreadedSortHooks() { SetMultithreadedSortHooks({&IsMultithreadingEnabled, &SortThroughSharedSorter}); }

bool SetThreadPoolAvailable(bool AValue) {
  const bool previous = GQueueUserWorkItem != nullptr;
  GQueueUserWorkItem = AValue ? GBoundQueueUserWorkItem : nullptr;
  return previous;
}

// ---------------------------------------------------------------------------
// TdxThreadPoolHelper

void TdxThreadPoolHelper::Destroy() {
  DestroyEvent();
  inherited::Destroy();
}

void TdxThreadPoolHelper::CreateEvent() {
  if (FEvent) return;
  FEvent.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!FEvent) RaiseLastOSError();
}

void TdxThreadPoolHelper::DestroyEvent() {
  FEvent.Reset();
}

void TdxThreadPoolHelper::Initialize(int ANumThreads, bool ACreateEvent) {
  if (ACreateEvent) CreateEvent();
  FBatchSize = std::clamp(ANumThreads, 0, MaxWorkItems);
  FRunningTaskCount = FBatchSize;
  FTaskIndex = 0;
  std::lock_guard<std::mutex> lock(FExceptionLock);
  FException = nullptr;
}

void TdxThreadPoolHelper::QueueWorkItem(TObject* ASender, TWorkItemObjectProc AObjectProc, void* AContext,
                                        ULONG AFlags) {
  if (FTaskIndex >= FBatchSize) return;
  if (!AObjectProc) {
    ++FTaskIndex;
    ItemsEnded(1);
    return;
  }
  TUserWorkItem& record = FWorkItems[static_cast<std::size_t>(FTaskIndex)];
  record = TUserWorkItem{this, ASender, AContext, AObjectProc, nullptr};
  QueueRecord(record, AFlags);
}

void TdxThreadPoolHelper::QueueWorkItem(TWorkItemProc AProc, void* AContext, ULONG AFlags) {
  if (FTaskIndex >= FBatchSize) return;
  if (!AProc) {
    ++FTaskIndex;
    ItemsEnded(1);
    return;
  }
  TUserWorkItem& record = FWorkItems[static_cast<std::size_t>(FTaskIndex)];
  record = TUserWorkItem{this, nullptr, AContext, nullptr, AProc};
  QueueRecord(record, AFlags);
}

void TdxThreadPoolHelper::QueueRecord(TUserWorkItem& ARecord, ULONG AFlags) {
  bool available = false;
  if (!dxQueueUserWorkItem(&RunWorkItem, &ARecord, AFlags, available)) {
    const DWORD error = available ? GetLastError() : ERROR_CALL_NOT_IMPLEMENTED;
    // The rest of the batch will never run: count it as ended, so that a
    // wait for the items already queued still returns.
    ItemsEnded(FBatchSize - FTaskIndex);
    FTaskIndex = FBatchSize;
    RaiseLastOSError(error);
  }
  ++FTaskIndex;
}

void TdxThreadPoolHelper::ItemsEnded(LONG ACount) {
  if (ACount <= 0) return;
  const HANDLE event = FEvent.Get();
  if (InterlockedExchangeAdd(&FRunningTaskCount, -ACount) == ACount && event) SetEvent(event);
}

void TdxThreadPoolHelper::WaitForThreads(bool ADestroyEvent) {
  if (FEvent && FBatchSize > 0) WaitForSingleObject(FEvent.Get(), INFINITE);
  if (ADestroyEvent)
    DestroyEvent();
  else if (FEvent)
    ResetEvent(FEvent.Get());
}

std::exception_ptr TdxThreadPoolHelper::Exception() const {
  std::lock_guard<std::mutex> lock(FExceptionLock);
  return FException;
}

void TdxThreadPoolHelper::CheckException() const {
  if (std::exception_ptr e = Exception()) std::rethrow_exception(e);
}

void TdxThreadPoolHelper::CaptureException(std::exception_ptr AException) {
  std::lock_guard<std::mutex> lock(FExceptionLock);
  FException = std::move(AException);
}

DWORD WINAPI TdxThreadPoolHelper::RunWorkItem(LPVOID AParameter) {
  auto* record = static_cast<TUserWorkItem*>(AParameter);
  TdxThreadPoolHelper* pool = record->ThreadPool;
  try {
    if (record->Proc)
      record->Proc(record->Context);
    else
      record->ObjectProc(record->Sender, record->Context);
  } catch (...) {
    pool->CaptureException(std::current_exception());
  }
  // The waiter may free the pool object as soon as the count reaches zero:
  // nothing of it is touched after this call.
  pool->ItemsEnded(1);
  if (!SwitchToThread()) SleepEx(0, FALSE);
  return 0;
}

// ---------------------------------------------------------------------------
// TdxMultithreadOperation

void TdxMultithreadOperation::Create(int AThreadCount) {
  inherited::Create();
  FThreadCount = std::clamp(AThreadCount, 1, TdxThreadPoolHelper::MaxWorkItems);
  FThreadPoolHelper.reset(New<TdxThreadPoolHelper>());
}

void TdxMultithreadOperation::Destroy() {
  FThreadPoolHelper.reset();
  inherited::Destroy();
}

// ---------------------------------------------------------------------------
// TdxMultithreadedSort

namespace {

// Merges the sorted runs First..Mid and Mid+1..Last through ATemp. Of two
// equal heads the right run's goes first. When the comparer raises, the
// range gets its items back from the copy, so none is lost or doubled.
template <class C>
void MergeSortedRuns(void** AList, void** ATemp, int AFirst, int AMid, int ALast, C& ACompare) {
  std::copy(AList + AFirst, AList + ALast + 1, ATemp + AFirst);
  int i = AFirst;
  int j = AMid + 1;
  int k = AFirst;
  try {
    while (i <= AMid && j <= ALast) AList[k++] = ACompare(ATemp[i], ATemp[j]) < 0 ? ATemp[i++] : ATemp[j++];
  } catch (...) {
    std::copy(ATemp + AFirst, ATemp + ALast + 1, AList + AFirst);
    throw;
  }
  std::copy(ATemp + i, ATemp + AMid + 1, AList + k);
  k += AMid + 1 - i;
  std::copy(ATemp + j, ATemp + ALast + 1, AList + k);
}

}  // namespace

void TdxMultithreadedSort::Create(int AThreadCount) {
  inherited::Create(AThreadCount);
  ThreadPoolHelper()->CreateEvent();
}

void TdxMultithreadedSort::Sort(void** AList, int ACount, TCompareItems ACompareFunc) {
  if (!Lock()) {
    dxInternalQuickSortList(AList, ACount, ACompareFunc);
    return;
  }
  ClearComparer();
  FCompareClassFunc = ACompareFunc;
  DoSort(AList, ACount);
}

void TdxMultithreadedSort::Sort(TdxFastList* AList, TCompareItems ACompareFunc) {
  Sort(AList->List(), AList->Count(), ACompareFunc);
}

void TdxMultithreadedSort::Sort(void** AList, int ACount, TListSortCompare ACompareFunc) {
  if (!Lock()) {
    dxInternalQuickSortList(AList, ACount, ACompareFunc);
    return;
  }
  ClearComparer();
  FCompareFunc = ACompareFunc;
  DoSort(AList, ACount);
}

void TdxMultithreadedSort::Sort(TdxFastList* AList, TListSortCompare ACompareFunc) {
  Sort(AList->List(), AList->Count(), ACompareFunc);
}

void TdxMultithreadedSort::SortList(void** AList, int ACount, const TdxListSortCompareDelegate& ACompareDelegate) {
  if (!Lock()) {
    dxInternalQuickSortList(AList, ACount, ACompareDelegate);
    return;
  }
  ClearComparer();
  FCompareDelegate = &ACompareDelegate;
  DoSort(AList, ACount);
}

void TdxMultithreadedSort::SortList(TdxFastList* AList, const TdxListSortCompareDelegate& ACompareDelegate) {
  SortList(AList->List(), AList->Count(), ACompareDelegate);
}

void TdxMultithreadedSort::ClearComparer() {
  FCompareClassFunc = nullptr;
  FCompareFunc = nullptr;
  FCompareDelegate = nullptr;
}

// Runs under the lock taken by the caller and always releases it.
void TdxMultithreadedSort::DoSort(void** AList, int ACount) {
  TScopeExit done([this] {
    ClearComparer();
    Unlock();
  });
  FCount = ACount;
  if (AList && ACount > 1) {
    UpdateChunkCount();
    SortChunks(AList);
    MergeChunks(AList);
  }
}

void TdxMultithreadedSort::UpdateChunkCount() {
  if (FCount < 32 || ThreadCount() <= 1)
    FSortChunkCount = 1;
  else if (ThreadCount() <= 3)
    FSortChunkCount = 8;
  else
    FSortChunkCount = 16;
}

void TdxMultithreadedSort::SortChunks(void** AList) {
  const int q = FCount / FSortChunkCount;
  const int r = FCount % FSortChunkCount;
  int start = 0;
  for (int k = 0; k < FSortChunkCount; ++k) {
    const int size = k < r ? q + 1 : q;
    FSortChunks[static_cast<std::size_t>(k)] = TSortWorkItem{AList, start, start + size - 1};
    start += size;
  }
  TdxThreadPoolHelper* pool = ThreadPoolHelper();
  pool->Initialize(FSortChunkCount, false);
  // When queueing fails, the items queued still work on the array: they
  // are waited for all the same.
  TryFinally(
      [&] {
        for (int k = 0; k < FSortChunkCount; ++k)
          pool->QueueWorkItem(this, BindEvent<&TdxMultithreadedSort::SortChunkItem>(this),
                              &FSortChunks[static_cast<std::size_t>(k)]);
      },
      [pool] { pool->WaitForThreads(false); });
  pool->CheckException();
}

void TdxMultithreadedSort::MergeChunks(void** AList) {
  if (FSortChunkCount < 2) return;
  std::vector<void*> temp(static_cast<std::size_t>(FCount));
  // The runs to merge; FSortChunks keeps the layout of the sort phase.
  std::array<TSortWorkItem, MaxSortChunks> runs = FSortChunks;
  std::array<TMergeWorkItem, MaxSortChunks / 2> merges{};
  TdxThreadPoolHelper* pool = ThreadPoolHelper();
  for (int p = FSortChunkCount / 2; p > 0; p /= 2) {
    // Every pair's bounds are read before the batch starts: work item i
    // produces run i while another reads runs 2i and 2i + 1.
    for (int i = 0; i < p; ++i) {
      const TSortWorkItem& left = runs[static_cast<std::size_t>(2 * i)];
      const TSortWorkItem& right = runs[static_cast<std::size_t>(2 * i + 1)];
      merges[static_cast<std::size_t>(i)] = TMergeWorkItem{AList, temp.data(), left.StartIndex, left.EndIndex, right.EndIndex};
    }
    pool->Initialize(p, false);
    TryFinally(
        [&] {
          for (int i = 0; i < p; ++i)
            pool->QueueWorkItem(this, BindEvent<&TdxMultithreadedSort::MergeItem>(this),
                                &merges[static_cast<std::size_t>(i)]);
        },
        [pool] { pool->WaitForThreads(false); });
    pool->CheckException();
    for (int i = 0; i < p; ++i) {
      const TMergeWorkItem& m = merges[static_cast<std::size_t>(i)];
      runs[static_cast<std::size_t>(i)] = TSortWorkItem{AList, m.First, m.Last};
    }
  }
}

void TdxMultithreadedSort::SortChunkItem(TObject*, void* AContext) {
  const auto* chunk = static_cast<const TSortWorkItem*>(AContext);
  void** items = chunk->List + chunk->StartIndex;
  const int count = chunk->EndIndex - chunk->StartIndex + 1;
  if (FCompareClassFunc)
    dxInternalQuickSortList(items, count, FCompareClassFunc);
  else if (FCompareFunc)
    dxInternalQuickSortList(items, count, FCompareFunc);
  else if (FCompareDelegate)
    dxInternalQuickSortList(items, count, *FCompareDelegate);
}

void TdxMultithreadedSort::MergeItem(TObject*, void* AContext) {
  const auto* m = static_cast<const TMergeWorkItem*>(AContext);
  if (FCompareClassFunc)
    MergeSortedRuns(m->List, m->Temp, m->First, m->Mid, m->Last, FCompareClassFunc);
  else if (FCompareFunc)
    MergeSortedRuns(m->List, m->Temp, m->First, m->Mid, m->Last, FCompareFunc);
  else if (FCompareDelegate)
    MergeSortedRuns(m->List, m->Temp, m->First, m->Mid, m->Last, *FCompareDelegate);
}

// ---------------------------------------------------------------------------
// Iterators

void* TdxCustomMultithreadedIterator::GetChunkContext(int, void* AContext) { return AContext; }

bool TdxCustomMultithreadedIterator::PrepareRange(int AStartIndex, int AEndIndex, bool AReverse) {
  FFinishedIndex = -1;
  FCount = static_cast<int>(static_cast<std::int64_t>(AEndIndex) - AStartIndex + 1);
  if (AEndIndex < AStartIndex) return false;
  FStartIndex = AStartIndex;
  FEndIndex = AEndIndex;
  FReverse = AReverse;
  FChunkCount = std::min({FCount, ThreadCount(), TdxThreadPoolHelper::MaxWorkItems});
  return true;
}

int TdxCustomMultithreadedIterator::RunChunks(void* AContext) {
  BeforeIterate();
  const int q = FCount / FChunkCount;
  const int r = FCount % FChunkCount;
  int start = FStartIndex;
  for (int k = 0; k < FChunkCount; ++k) {
    const int size = k < r ? q + 1 : q;
    FChunks[static_cast<std::size_t>(k)] = TIterateChunkWorkItem{GetChunkContext(k, AContext), start, start + size - 1, FReverse};
    start += size;
  }
  TdxThreadPoolHelper* pool = ThreadPoolHelper();
  pool->Initialize(FChunkCount, true);
  TryFinally(
      [&] {
        for (int k = 0; k < FChunkCount; ++k)
          pool->QueueWorkItem(this, BindEvent<&TdxCustomMultithreadedIterator::IterateChunk>(this),
                              &FChunks[static_cast<std::size_t>(k)]);
      },
      [pool] { pool->WaitForThreads(true); });
  pool->CheckException();
  return FFinishedIndex;
}

void TdxCustomMultithreadedIterator::IterateChunk(TObject*, void* AContext) {
  const auto* chunk = static_cast<const TIterateChunkWorkItem*>(AContext);
  const int step = chunk->Reverse ? -1 : 1;
  const int first = chunk->Reverse ? chunk->EndIndex : chunk->StartIndex;
  const int last = chunk->Reverse ? chunk->StartIndex : chunk->EndIndex;
  for (int i = first;; i += step) {
    if (FFinishedIndex >= 0) return;
    if (IterateItem(chunk->Context, i)) {
      InterlockedExchange(&FFinishedIndex, i);
      return;
    }
    if (i == last) return;
  }
}

int TdxMultithreadedClassMethodIterator::IterateItems(int AStartIndex, int AEndIndex, void* AContext,
                                                      TdxIterateItemObjectFunc AItemObjectFunc, bool AReverse) {
  if (!PrepareRange(AStartIndex, AEndIndex, AReverse)) return FinishedIndex();
  FItemObjectFunc = AItemObjectFunc;
  return RunChunks(AContext);
}

namespace {

// The collection and the typed item function of one Iterate call; the call's
// own stack holds it, so concurrent callers share nothing.
struct TTypedIteration {
  void* Collection;
  std::function<bool(int)> Call;
};

}  // namespace

bool TdxMultithreadedListIterator::CallFunction(void* AContext, int AIndex) {
  return static_cast<TTypedIteration*>(AContext)->Call(AIndex);
}

int TdxMultithreadedListIterator::IterateCount(int ACount, void* AContext, TdxIterateItemObjectFunc AItemFunc,
                                               bool AReverse) {
  if (ACount <= 0 || !AItemFunc) return -1;
  if (ACount > 1 && IsMultithreadingEnabled() && Lock()) {
    TScopeExit unlock([this] { Unlock(); });
    return IterateItems(0, ACount - 1, AContext, AItemFunc, AReverse);
  }
  if (AReverse) {
    for (int i = ACount - 1; i >= 0; --i)
      if (AItemFunc(AContext, i)) return i;
  } else {
    for (int i = 0; i < ACount; ++i)
      if (AItemFunc(AContext, i)) return i;
  }
  return -1;
}

int TdxMultithreadedListIterator::Iterate(void* AContext, int ACount, TdxIterateItemObjectFunc AItemFunc,
                                          bool AReverse) {
  return IterateCount(ACount, AContext, AItemFunc, AReverse);
}

int TdxMultithreadedListIterator::Iterate(TdxFastList* AList, const TdxFastListItemFunc& AItemFunc, bool AReverse) {
  if (!AList || !AItemFunc) return -1;
  TTypedIteration iteration{AList, [&](int AIndex) { return AItemFunc(AList, AIndex); }};
  return IterateCount(AList->Count(), &iteration, BindEvent<&TdxMultithreadedListIterator::CallFunction>(this),
                      AReverse);
}

int TdxMultithreadedListIterator::Iterate(TList* AList, const TdxListItemFunc& AItemFunc, bool AReverse) {
  if (!AList || !AItemFunc) return -1;
  TTypedIteration iteration{AList, [&](int AIndex) { return AItemFunc(AList, AIndex); }};
  return IterateCount(AList->Count(), &iteration, BindEvent<&TdxMultithreadedListIterator::CallFunction>(this),
                      AReverse);
}

int TdxMultithreadedListIterator::Iterate(TStrings* AStrings, const TdxStringsListItemFunc& AItemFunc,
                                          bool AReverse) {
  if (!AStrings || !AItemFunc) return -1;
  TTypedIteration iteration{AStrings, [&](int AIndex) { return AItemFunc(AStrings, AIndex); }};
  return IterateCount(AStrings->Count(), &iteration, BindEvent<&TdxMultithreadedListIterator::CallFunction>(this),
                      AReverse);
}

// ---------------------------------------------------------------------------
// Unit start-up and shut-down

void dxCreateTaskDispatcher();
void dxFreeTaskDispatcher();

void dxThreadingInitialization() {
  if (HMODULE kernel = GetModuleHandleW(L"kernel32.dll"))
    GBoundQueueUserWorkItem = reinterpret_cast<TQueueUserWorkItem>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "QueueUserWorkItem")));
  GQueueUserWorkItem = GBoundQueueUserWorkItem;
  GMultithreadingAvailable = GQueueUserWorkItem && CPUCount() > 1;
  if (GMultithreadingAvailable) {
    GSorter = New<TdxMultithreadedSort>(std::min(4 * CPUCount(), TdxThreadPoolHelper::MaxWorkItems));
    GListIterator = New<TdxMultithreadedListIterator>(std::min(CPUCount(), TdxThreadPoolHelper::MaxWorkItems));
  }
  dxCreateTaskDispatcher();
  dxInstallMultithreadedSortHooks();
}

void dxThreadingFinalization() {
  SetMultithreadedSortHooks({});
  dxFreeTaskDispatcher();
  FreeAndNil(GSorter);
  FreeAndNil(GListIterator);
  GMultithreadingAvailable = false;
  GQueueUserWorkItem = nullptr;
  GBoundQueueUserWorkItem = nullptr;
}
