// Work spread over the processors through the Windows thread pool, and the
// library's background tasks.
//
// Classes in this file:
//   TUserWorkItem, TdxThreadPoolHelper   a batch of up to 32 work items, waited for as one
//   TdxMultithreadOperation              an operation that serves one caller at a time
//   TdxMultithreadedSort                 parallel sort of pointer arrays (sorted chunks, merged)
//   TdxCustomMultithreadedIterator, TdxMultithreadedClassMethodIterator,
//   TdxMultithreadedListIterator         parallel search for an item
//   TdxThreadMethodCallMode, TdxTaskCompletedStatus
//   IdxTask, IdxTaskEvent, TdxTaskEvent  a unit of work and the event of a running task
//   TdxTask                              a task of the dispatcher
//   TdxTaskDispatcher                    the process-wide queue of background tasks with a
//                                        CPU-usage quota (dxThreading_Tasks.cpp)
//
// Exceptions never leave a pool thread. A work item's exception is kept by
// its batch; the sorter and the iterators raise it again in the calling
// thread once every work item of the batch has ended, so a failed sort is
// never reported as done. A task's exception ends the task (a wrapped IdxTask
// reports Fail).
#pragma once

#include "library/core/base/dxCoreClasses.h"
#include "platform/runtime/SyncObjs.h"
#include "platform/runtime/Threads.h"
#include "platform/ui/ExtCtrls.h"

#include <array>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <vector>

class TStrings;

// Whether the library may use the thread pool: QueueUserWorkItem exists, the
// machine has more than one processor, and the library switch is on.
bool IsMultithreadingEnabled();
// The library switch (on by default).
bool dxEnableMultiThreading();
void SetEnableMultiThreading(bool AValue);
// The number of processors.
int CPUCount();

// ---------------------------------------------------------------------------
// Thread-pool work items

class TdxThreadPoolHelper;

using TWorkItemObjectProc = Delegate<void(TObject* Sender, void* AContext)>;
using TWorkItemProc = void (*)(void* AContext);

struct TUserWorkItem {
  TdxThreadPoolHelper* ThreadPool = nullptr;
  TObject* Sender = nullptr;
  void* Context = nullptr;
  TWorkItemObjectProc ObjectProc;  // exactly one of the two is set
  TWorkItemProc Proc = nullptr;
};

// One batch at a time: Initialize(N), exactly N QueueWorkItem calls, then
// WaitForThreads. The work item handed to the pool is the address of its
// record inside this object, so a batch holds at most 32 items.
class TdxThreadPoolHelper : public TObject {
  SK_CLASS(TdxThreadPoolHelper, TObject)
 public:
  static constexpr int MaxWorkItems = 32;

  void Destroy() override;

  void CreateEvent();
  void DestroyEvent();
  // Starts a batch of min(ANumThreads, 32) items and forgets the exception
  // of the previous batch.
  void Initialize(int ANumThreads, bool ACreateEvent);
  // Queue the next item of the batch. A refused item raises EOSError; the
  // items it leaves unqueued count as ended, so WaitForThreads still returns
  // once the queued ones are done. An unassigned procedure counts as an item
  // that ended at once.
  void QueueWorkItem(TObject* ASender, TWorkItemObjectProc AObjectProc, void* AContext, ULONG AFlags = 0);
  void QueueWorkItem(TWorkItemProc AProc, void* AContext, ULONG AFlags = 0);
  // Waits without limit for the last item of the batch; then destroys the
  // event or resets it for the next batch.
  void WaitForThreads(bool ADestroyEvent);

  // The last exception a work item of the batch raised (the latest wins).
  std::exception_ptr Exception() const;
  // Raises that exception in the calling thread, when there is one.
  void CheckException() const;
  int TaskIndex() const { return FTaskIndex; }

 private:
  static DWORD WINAPI RunWorkItem(LPVOID AParameter);
  void QueueRecord(TUserWorkItem& ARecord, ULONG AFlags);
  void ItemsEnded(LONG ACount);
  void CaptureException(std::exception_ptr AException);

  volatile LONG FRunningTaskCount;
  int FBatchSize;
  int FTaskIndex;
  TKernelHandle FEvent;
  mutable std::mutex FExceptionLock;
  std::exception_ptr FException;
  std::array<TUserWorkItem, MaxWorkItems> FWorkItems;
};

// Serves one operation at a time: Lock answers false while another caller
// holds it, and that caller then does its work in its own thread.
class TdxMultithreadOperation : public TObject {
  SK_CLASS(TdxMultithreadOperation, TObject)
 public:
  // At most 32 threads.
  virtual void Create(int AThreadCount);
  // One thread per processor.
  virtual void Create() { Create(CPUCount()); }
  void Destroy() override;

  bool Lock() { return InterlockedCompareExchange(&FLocked, 1, 0) == 0; }
  void Unlock() { InterlockedCompareExchange(&FLocked, 0, 1); }
  int ThreadCount() const { return FThreadCount; }

 protected:
  TdxThreadPoolHelper* ThreadPoolHelper() const { return FThreadPoolHelper.get(); }

 private:
  volatile LONG FLocked;
  int FThreadCount;
  TOwned<TdxThreadPoolHelper> FThreadPoolHelper;
};

// ---------------------------------------------------------------------------
// Multithreaded sort: the array is cut into 1, 8 or 16 chunks, each sorted by
// a work item, then adjacent chunks are merged pairwise, batch by batch. Of
// two equal items from different chunks the one of the later chunk ends first.
// A comparer that raises ends the sort with that exception once all work
// items have ended; the array then holds the same items, in some order.

class TdxMultithreadedSort : public TdxMultithreadOperation {
  SK_CLASS(TdxMultithreadedSort, TdxMultithreadOperation)
 public:
  struct TSortWorkItem {
    void** List = nullptr;
    int StartIndex = 0;
    int EndIndex = -1;
  };
  static constexpr int MaxSortChunks = 16;

  using TdxMultithreadOperation::Create;
  void Create(int AThreadCount) override;

  void Sort(void** AList, int ACount, TCompareItems ACompareFunc);
  void Sort(TdxFastList* AList, TCompareItems ACompareFunc);
  void Sort(void** AList, int ACount, TListSortCompare ACompareFunc);
  void Sort(TdxFastList* AList, TListSortCompare ACompareFunc);
  void SortList(void** AList, int ACount, const TdxListSortCompareDelegate& ACompareDelegate);
  void SortList(TdxFastList* AList, const TdxListSortCompareDelegate& ACompareDelegate);

  // The chunks the last sort on the pool sorted before merging them.
  int SortChunkCount() const { return FSortChunkCount; }
  const TSortWorkItem& SortChunks(int AIndex) const { return FSortChunks.at(static_cast<std::size_t>(AIndex)); }

 private:
  struct TMergeWorkItem {
    void** List;
    void** Temp;
    int First;
    int Mid;
    int Last;
  };

  void DoSort(void** AList, int ACount);
  void SortInCallingThread(void** AList, int ACount);
  void UpdateChunkCount();
  void SortChunks(void** AList);
  void MergeChunks(void** AList);
  void SortChunkItem(TObject* Sender, void* AContext);
  void MergeItem(TObject* Sender, void* AContext);
  void ClearComparer();

  TCompareItems FCompareClassFunc;
  TListSortCompare FCompareFunc;
  const TdxListSortCompareDelegate* FCompareDelegate;
  int FCount;
  int FSortChunkCount;
  std::array<TSortWorkItem, MaxSortChunks> FSortChunks;
};

// ---------------------------------------------------------------------------
// Multithreaded search: the range is cut into one chunk per thread (at most
// 32); every chunk is walked by a work item until an item function answers
// true or another chunk has found one. The result is an index where the
// function answered true, not necessarily the first in walking order.

// True: found, stop.
using TdxIterateItemObjectFunc = Delegate<bool(void* AContext, int AIndex)>;

class TdxCustomMultithreadedIterator : public TdxMultithreadOperation {
  SK_CLASS(TdxCustomMultithreadedIterator, TdxMultithreadOperation)
 public:
  struct TIterateChunkWorkItem {
    void* Context = nullptr;
    int StartIndex = 0;
    int EndIndex = -1;
    bool Reverse = false;
  };

  int ChunkCount() const { return FChunkCount; }
  const TIterateChunkWorkItem& Chunks(int AIndex) const { return FChunks.at(static_cast<std::size_t>(AIndex)); }

 protected:
  virtual void* GetChunkContext(int AChunkIndex, void* AContext);
  virtual void BeforeIterate() {}
  // The test of one item (true: found).
  virtual bool IterateItem(void* AContext, int AIndex) = 0;

  // False (nothing to walk) when AEndIndex < AStartIndex.
  bool PrepareRange(int AStartIndex, int AEndIndex, bool AReverse);
  // Walks the prepared range on the pool; raises the exception of an item
  // function once all chunks have ended.
  int RunChunks(void* AContext);
  int FinishedIndex() const { return FFinishedIndex; }

 private:
  void IterateChunk(TObject* Sender, void* AContext);

  int FCount;
  int FStartIndex;
  int FEndIndex;
  volatile LONG FFinishedIndex;
  int FChunkCount;
  std::array<TIterateChunkWorkItem, TdxThreadPoolHelper::MaxWorkItems> FChunks;
  bool FReverse;
};

class TdxMultithreadedClassMethodIterator : public TdxCustomMultithreadedIterator {
  SK_CLASS(TdxMultithreadedClassMethodIterator, TdxCustomMultithreadedIterator)
 public:
  // The index where AItemObjectFunc answered true, or -1.
  int IterateItems(int AStartIndex, int AEndIndex, void* AContext, TdxIterateItemObjectFunc AItemObjectFunc,
                   bool AReverse);

 protected:
  bool IterateItem(void* AContext, int AIndex) override { return FItemObjectFunc(AContext, AIndex); }

 private:
  TdxIterateItemObjectFunc FItemObjectFunc;
};

using TdxFastListItemFunc = std::function<bool(TdxFastList* AList, int AIndex)>;
using TdxListItemFunc = std::function<bool(TList* AList, int AIndex)>;
using TdxStringsListItemFunc = std::function<bool(TStrings* AStrings, int AIndex)>;

class TdxMultithreadedListIterator : public TdxMultithreadedClassMethodIterator {
  SK_CLASS(TdxMultithreadedListIterator, TdxMultithreadedClassMethodIterator)
 public:
  // Each answers the index at which the item function answered true, or -1.
  // The pool serves collections of more than one item while this iterator
  // is free; otherwise the calling thread walks them, from the last item to
  // the first when AReverse, and answers the first match.
  int Iterate(void* AContext, int ACount, TdxIterateItemObjectFunc AItemFunc, bool AReverse = false);
  int Iterate(TdxFastList* AList, const TdxFastListItemFunc& AItemFunc, bool AReverse = false);
  int Iterate(TList* AList, const TdxListItemFunc& AItemFunc, bool AReverse = false);
  int Iterate(TStrings* AStrings, const TdxStringsListItemFunc& AItemFunc, bool AReverse = false);

 private:
  int IterateCount(int ACount, void* AContext, TdxIterateItemObjectFunc AItemFunc, bool AReverse);
  bool CallFunction(void* AContext, int AIndex);
};

// Connects the fast lists' multithreaded sort to the shared sorter (the
// unit's start-up does it).
void dxInstallMultithreadedSortHooks();

// The shared sorter and list iterator: nil when multithreading is not
// available or after the unit's shut-down.
TdxMultithreadedSort* dxMultithreadedSorter();
TdxMultithreadedListIterator* dxMultithreadedListIterator();

// ---------------------------------------------------------------------------
// Tasks

enum TdxThreadMethodCallMode {
  tmcmAsync,          // in the calling thread
  tmcmSync,           // in the main thread, waiting for it (TThread::Synchronize)
  tmcmSyncPostponed,  // queued to the main thread (TThread::Queue)
};

enum class TdxTaskCompletedStatus { Success, Fail, Cancelled };

// The cancel test of a running task: true once the task is cancelled.
using TdxTaskCancelCallback = std::function<bool()>;
using TdxTaskProc = std::function<void(const TdxTaskCancelCallback& ACanceled)>;
using TdxTaskHandle = std::uintptr_t;

struct IdxTask : public virtual IInterface {
  static constexpr GUID IID = {0x5E2C47A1, 0x9D30, 0x4F6B, {0xA8, 0x1C, 0x27, 0x6B, 0xE4, 0x90, 0x3D, 0x58}};
  virtual TdxTaskCompletedStatus Run(const TdxTaskCancelCallback& ACanceled) = 0;
  virtual void OnComplete(TdxTaskCompletedStatus AStatus) = 0;

 protected:
  ~IdxTask() = default;
};

struct IdxTaskEvent : public virtual IInterface {
  static constexpr GUID IID = {0xB1F0D8C3, 0x4A27, 0x4E95, {0x8C, 0x63, 0x1F, 0xD2, 0x75, 0x0A, 0xE9, 0x4B}};
  virtual bool Signal() = 0;
  virtual TWaitResult WaitFor(DWORD ATimeOut) = 0;

 protected:
  ~IdxTaskEvent() = default;
};

// A manual-reset Windows event, not set at first, closed when the last
// reference goes.
class TdxTaskEvent : public TInterfacedObject, public IdxTaskEvent {
  SK_CLASS(TdxTaskEvent, TInterfacedObject)
 public:
  // Raises EOSError when Windows refuses the event.
  void Create();
  void Destroy() override;
  bool GetInterface(const GUID& AIID, void** AObj) override;

  bool Signal() override;
  TWaitResult WaitFor(DWORD ATimeOut) override;
  HANDLE Handle() const { return FHandle.Get(); }

 private:
  TKernelHandle FHandle;
};

// Calls AMethod as AMode says; nothing for an unassigned method.
void CallThreadMethod(TdxThreadMethodCallMode AMode, const TThreadProcedure& AMethod);

// Waits for AHandle. In the main thread the wait keeps the program alive:
// queued synchronisation runs, sent messages are let through, and every idle
// second lets the task dispatcher sample the processor load.
TWaitResult WaitForHandle(HANDLE AHandle, DWORD ATimeOut);

class TdxTaskDispatcher;

class TdxTask : public TcxIUnknownObject {
  SK_CLASS(TdxTask, TcxIUnknownObject)
 public:
  bool Canceled() { return GetCanceled(); }
  TdxTaskHandle Handle() const { return reinterpret_cast<TdxTaskHandle>(this); }
  // Calls the completion method (set by the dispatcher) as its mode says.
  virtual void Complete();

 protected:
  virtual void Execute() = 0;
  virtual bool GetCanceled() { return FCanceled != 0; }
  // The cancel test handed to the task's body.
  TdxTaskCancelCallback CancelTest() { return [this] { return GetCanceled(); }; }

 private:
  friend class TdxTaskDispatcher;
  bool FAutoFree;
  volatile LONG FCanceled;
  IPtr<IdxTaskEvent> FEvent;
  TdxTaskDispatcher* FOwner;
  DWORD FThreadId;
  TThreadProcedure FOnComplete;
  TdxThreadMethodCallMode FOnCompleteMode;
};

class TdxTaskDispatcher : public TObject {
  SK_CLASS(TdxTaskDispatcher, TObject)
 public:
  // Runs an IdxTask; its OnComplete receives the status Run returned (Fail
  // when Run raised, Cancelled when the task was cancelled before it ran).
  class TTaskWrapper : public TdxTask {
    SK_CLASS(TTaskWrapper, TdxTask)
   public:
    void Create(const IPtr<IdxTask>& ATask);
    void Complete() override;

   protected:
    void Execute() override;

   private:
    IPtr<IdxTask> FTask;
    TdxTaskCompletedStatus FCompletedStatus;
    TdxThreadMethodCallMode FCompleteSyncMode;
  };

  class TTaskProcWrapper : public TdxTask {
    SK_CLASS(TTaskProcWrapper, TdxTask)
   public:
    void Create(const TdxTaskProc& AProc);

   protected:
    void Execute() override;

   private:
    TdxTaskProc FProc;
  };

  // The processor load in percent since the previous sample.
  using TCpuUsageSampler = std::function<int()>;

  void Create();
  void BeforeDestruction() override;
  void Destroy() override;

  // Each returns the task's handle. Auto-free tasks are freed by the
  // dispatcher when they end or are cancelled while pending.
  TdxTaskHandle Run(const IPtr<IdxTask>& ATask);
  TdxTaskHandle Run(const TdxTaskProc& AProc);
  TdxTaskHandle Run(const TdxTaskProc& AProc, const TThreadProcedure& ACompleteEvent,
                    TdxThreadMethodCallMode ACompleteEventCallMode);
  TdxTaskHandle Run(TdxTask* ATask);
  TdxTaskHandle Run(TdxTask* ATask, const TThreadProcedure& ACompleteEvent,
                    TdxThreadMethodCallMode ACompleteEventCallMode, bool ATaskAutoFree);
  // Execute, then Complete (also when Execute raises; the exception goes on).
  void RunInCurrentThread(TdxTask* ATask, bool ATaskAutoFree);
  void RunInCurrentThread(const IPtr<IdxTask>& ATask);

  // A pending task is withdrawn and completed at once (wrSignaled); a
  // running one is told to stop and waited for up to AWaitTimeOut; an
  // unknown handle answers wrAbandoned.
  TWaitResult Cancel(TdxTaskHandle ATaskHandle, DWORD AWaitTimeOut);
  bool Cancel(TdxTaskHandle ATaskHandle, bool AWaitFor);
  // A pending task starts at once, whatever the quota; the wait is on the
  // running task. An unknown or finished task answers wrAbandoned.
  TWaitResult WaitFor(TdxTaskHandle ATaskHandle, DWORD AWaitTimeOut);
  bool WaitFor(TdxTaskHandle ATaskHandle);
  // Whether the task that the calling thread runs was cancelled.
  bool IsCurrentTaskCanceled();
  void CancelAllTasks();

  int MaxActiveTasks() const { return FMaxActiveTasks; }
  // Raised to at least 1; sets the quota too.
  void SetMaxActiveTasks(int AValue);
  // The number of tasks that may run now.
  int ActualMaxActiveTasks() const;
  int ActiveTaskCount() const;
  int PendingTaskCount() const;
  bool UseCpuUsageMonitor() const;
  // Main thread only; elsewhere raises EInvalidOperation.
  void SetUseCpuUsageMonitor(bool AValue);
  int AverageCpuUsage() const { return FAverageCpuUsage; }
  String ToString() const;

  // Takes one sample of the processor load and, after ten, adjusts the
  // quota (what the monitor's timer does every second).
  void SampleCpuUsage();
  // Samples when the monitor is on (the main thread's long waits call it).
  void CheckCpuUsage();
  // Where samples come from (the system's load by default) and how many
  // processors the quota counts with.
  void SetCpuUsageSampler(TCpuUsageSampler ASampler) { FCpuUsageSampler = std::move(ASampler); }
  void SetProcessorCount(int AValue) { FProcessorCount = AValue > 0 ? AValue : 1; }

  // The quota the monitor proposes from the average load: with tasks
  // pending, one more than run now below 81 %, one less from 95 % on; never
  // below AMaxActiveTasks, and otherwise at most 8 tasks per processor.
  static int ProposeQuota(int AMaxActiveTasks, int AProcessorCount, bool AHasPending, int ARunning,
                          int AAverageCpuUsage);

 private:
  static DWORD WINAPI RunPooledTask(LPVOID AParameter);
  void StartPendingTask();
  // Under the lock: moves the task to the running list with a new event.
  void PrepareStart(TdxTask* ATask);
  // Outside the lock: hands a prepared task to the pool (or runs it).
  void Launch(TdxTask* ATask);
  void ExecuteTask(TdxTask* ATask);
  TdxTask* FindPending(TdxTaskHandle AHandle) const;
  TdxTask* FindActive(TdxTaskHandle AHandle) const;
  void MonitorTimer(TObject* Sender);

  std::vector<TdxTask*> FTasks;  // pending, owned
  std::vector<TdxTask*> FActiveTasks;
  TOwned<TCriticalSection> FLock;
  int FMaxActiveTasks;
  int FActualMaxActiveTasks;
  TOwned<TTimer> FCpuUsageMonitor;
  std::array<int, 10> FCpuUsageLog;
  int FCpuUsageLogIndex;
  int FAverageCpuUsage;
  TThread::TSystemTimes FPrevSystemTimes;
  TCpuUsageSampler FCpuUsageSampler;
  int FProcessorCount;
};

// The process-wide dispatcher: nil after the unit's shut-down.
TdxTaskDispatcher* dxTaskDispatcher();

// For tests: whether the system's thread pool is used (the dispatcher runs
// tasks in the calling thread without it). Answers the previous state.
bool SetThreadPoolAvailable(bool AValue);

// The unit's start-up and shut-down.
void dxThreadingInitialization();
void dxThreadingFinalization();
