// Tasks, the task dispatcher and the responsive wait of the main thread.
#include "library/core/threading/dxThreading.h"

#include <algorithm>
#include <numeric>

BOOL dxQueueUserWorkItem(LPTHREAD_START_ROUTINE AFunction, PVOID AContext, ULONG AFlags, bool& AAvailable);

namespace {
TdxTaskDispatcher* GTaskDispatcher = nullptr;
}  // namespace

TdxTaskDispatcher* dxTaskDispatcher() { return GTaskDispatcher; }

void dxCreateTaskDispatcher() {
  if (!GTaskDispatcher) GTaskDispatcher = New<TdxTaskDispatcher>();
}

void dxFreeTaskDispatcher() { FreeAndNil(GTaskDispatcher); }

// ---------------------------------------------------------------------------
// Calls and waits

void CallThreadMethod(TdxThreadMethodCallMode AMode, const TThreadProcedure& AMethod) {
  if (!AMethod) return;
  switch (AMode) {
    case tmcmAsync:
      AMethod();
      break;
    case tmcmSync:
      TThread::Synchronize(nullptr, AMethod);
      break;
    case tmcmSyncPostponed:
      TThread::Queue(nullptr, AMethod);
      break;
  }
}

TWaitResult WaitForHandle(HANDLE AHandle, DWORD ATimeOut) {
  if (!IsMainThread()) {
    switch (WaitForSingleObject(AHandle, ATimeOut)) {
      case WAIT_OBJECT_0:
        return wrSignaled;
      case WAIT_ABANDONED:
        return wrAbandoned;
      case WAIT_TIMEOUT:
        return wrTimeout;
      default:
        return wrError;
    }
  }
  const bool infinite = ATimeOut == INFINITE;
  DWORD remaining = ATimeOut;
  const HANDLE handles[2] = {AHandle, SyncEvent()};
  while (infinite || remaining > 0) {
    const DWORD pass = infinite ? 1000 : std::min<DWORD>(remaining, 1000);
    const ULONGLONG started = GetTickCount64();
    const DWORD r = MsgWaitForMultipleObjects(2, handles, FALSE, pass, QS_SENDMESSAGE);
    switch (r) {
      case WAIT_OBJECT_0:
        return wrSignaled;
      case WAIT_OBJECT_0 + 1:
        CheckSynchronize();
        break;
      case WAIT_OBJECT_0 + 2: {
        // Lets the messages that other threads send to this one through.
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
        break;
      }
      case WAIT_ABANDONED_0:
      case WAIT_ABANDONED_0 + 1:
        return wrAbandoned;
      case WAIT_TIMEOUT:
        if ((infinite || remaining >= 1000) && GTaskDispatcher) GTaskDispatcher->CheckCpuUsage();
        break;
      default:
        return wrError;
    }
    if (!infinite) {
      const ULONGLONG spent = GetTickCount64() - started;
      remaining = spent >= remaining ? 0 : remaining - static_cast<DWORD>(spent);
    }
  }
  return wrTimeout;
}

// ---------------------------------------------------------------------------
// TdxTaskEvent

void TdxTaskEvent::Create() {
  inherited::Create();
  FHandle.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!FHandle) RaiseLastOSError();
}

void TdxTaskEvent::Destroy() {
  FHandle.Reset();
  inherited::Destroy();
}

bool TdxTaskEvent::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IdxTaskEvent>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
}

bool TdxTaskEvent::Signal() { return SetEvent(FHandle.Get()) != FALSE; }

TWaitResult TdxTaskEvent::WaitFor(DWORD ATimeOut) { return WaitForHandle(FHandle.Get(), ATimeOut); }

// ---------------------------------------------------------------------------
// TdxTask and its wrappers

void TdxTask::Complete() { CallThreadMethod(FOnCompleteMode, FOnComplete); }

void TdxTaskDispatcher::TTaskWrapper::Create(const IPtr<IdxTask>& ATask) {
  inherited::Create();
  FTask = ATask;
  FCompleteSyncMode = IsMainThread() ? tmcmSync : tmcmAsync;
  // Until Run answers, the task did not run: a pending task that is
  // cancelled reports exactly that.
  FCompletedStatus = TdxTaskCompletedStatus::Cancelled;
}

void TdxTaskDispatcher::TTaskWrapper::Execute() {
  try {
    FCompletedStatus = FTask->Run(CancelTest());
  } catch (...) {
    FCompletedStatus = TdxTaskCompletedStatus::Fail;
    throw;
  }
}

void TdxTaskDispatcher::TTaskWrapper::Complete() {
  const IPtr<IdxTask> task = FTask;
  const TdxTaskCompletedStatus status = FCompletedStatus;
  CallThreadMethod(FCompleteSyncMode, [task, status] { task->OnComplete(status); });
}

void TdxTaskDispatcher::TTaskProcWrapper::Create(const TdxTaskProc& AProc) {
  inherited::Create();
  FProc = AProc;
}

void TdxTaskDispatcher::TTaskProcWrapper::Execute() {
  if (FProc) FProc(CancelTest());
}

// ---------------------------------------------------------------------------
// TdxTaskDispatcher

void TdxTaskDispatcher::Create() {
  inherited::Create();
  FLock.reset(New<TCriticalSection>(1024));
  FProcessorCount = CPUCount();
  FMaxActiveTasks = FProcessorCount + 2;
  FActualMaxActiveTasks = FMaxActiveTasks;
  FCpuUsageMonitor.reset(New<TTimer>(nullptr));
  FCpuUsageMonitor->SetEnabled(false);
  FCpuUsageMonitor->SetInterval(1000);
  FCpuUsageMonitor->SetOnTimer(BindEvent<&TdxTaskDispatcher::MonitorTimer>(this));
  FCpuUsageLog.fill(0);
}

void TdxTaskDispatcher::BeforeDestruction() {
  if (FCpuUsageMonitor) FCpuUsageMonitor->SetEnabled(false);
  {
    TCriticalSectionLock lock(FLock.get());
    FMaxActiveTasks = 0;
    FActualMaxActiveTasks = 0;
  }
  CancelAllTasks();
  inherited::BeforeDestruction();
}

void TdxTaskDispatcher::Destroy() {
  FCpuUsageMonitor.reset();
  for (TdxTask* task : FTasks) task->Free();
  FTasks.clear();
  FActiveTasks.clear();
  FLock.reset();
  inherited::Destroy();
}

TdxTaskHandle TdxTaskDispatcher::Run(const IPtr<IdxTask>& ATask) {
  return Run(New<TTaskWrapper>(ATask), nullptr, tmcmAsync, true);
}

TdxTaskHandle TdxTaskDispatcher::Run(const TdxTaskProc& AProc) {
  return Run(New<TTaskProcWrapper>(AProc), nullptr, tmcmAsync, true);
}

TdxTaskHandle TdxTaskDispatcher::Run(const TdxTaskProc& AProc, const TThreadProcedure& ACompleteEvent,
                                     TdxThreadMethodCallMode ACompleteEventCallMode) {
  return Run(New<TTaskProcWrapper>(AProc), ACompleteEvent, ACompleteEventCallMode, true);
}

TdxTaskHandle TdxTaskDispatcher::Run(TdxTask* ATask) { return Run(ATask, nullptr, tmcmAsync, true); }

TdxTaskHandle TdxTaskDispatcher::Run(TdxTask* ATask, const TThreadProcedure& ACompleteEvent,
                                     TdxThreadMethodCallMode ACompleteEventCallMode, bool ATaskAutoFree) {
  if (!ATask) throw EArgumentNilException(L"TdxTaskDispatcher.Run: no task");
  // An auto-free task may be gone when StartPendingTask returns.
  const TdxTaskHandle handle = ATask->Handle();
  {
    TCriticalSectionLock lock(FLock.get());
    ATask->FOnComplete = ACompleteEvent;
    ATask->FOnCompleteMode = ACompleteEventCallMode;
    ATask->FAutoFree = ATaskAutoFree;
    FTasks.push_back(ATask);
  }
  StartPendingTask();
  return handle;
}

void TdxTaskDispatcher::RunInCurrentThread(TdxTask* ATask, bool ATaskAutoFree) {
  if (!ATask) return;
  // An auto-free task goes once it has completed, however it ran.
  const TOwned<TdxTask> owned(ATaskAutoFree ? ATask : nullptr);
  TryFinally([ATask] { ATask->Execute(); }, [ATask] { ATask->Complete(); });
}

void TdxTaskDispatcher::RunInCurrentThread(const IPtr<IdxTask>& ATask) {
  RunInCurrentThread(New<TTaskWrapper>(ATask), true);
}

TdxTask* TdxTaskDispatcher::FindPending(TdxTaskHandle AHandle) const {
  for (TdxTask* task : FTasks)
    if (task->Handle() == AHandle) return task;
  return nullptr;
}

TdxTask* TdxTaskDispatcher::FindActive(TdxTaskHandle AHandle) const {
  for (TdxTask* task : FActiveTasks)
    if (task->Handle() == AHandle) return task;
  return nullptr;
}

void TdxTaskDispatcher::StartPendingTask() {
  TdxTask* task = nullptr;
  {
    TCriticalSectionLock lock(FLock.get());
    if (static_cast<int>(FActiveTasks.size()) < FActualMaxActiveTasks && !FTasks.empty()) {
      task = FTasks.front();
      PrepareStart(task);
    }
  }
  if (task) Launch(task);
}

void TdxTaskDispatcher::PrepareStart(TdxTask* ATask) {
  ATask->FOwner = this;
  ATask->FEvent = IPtr<IdxTaskEvent>(New<TdxTaskEvent>());
  FTasks.erase(std::find(FTasks.begin(), FTasks.end(), ATask));
  FActiveTasks.push_back(ATask);
}

void TdxTaskDispatcher::Launch(TdxTask* ATask) {
  bool available = false;
  if (dxQueueUserWorkItem(&RunPooledTask, ATask, WT_EXECUTELONGFUNCTION, available)) return;
  if (!available) {
    ExecuteTask(ATask);
    return;
  }
  const DWORD error = GetLastError();
  {
    // The task never reached the pool: it waits again, first in line.
    TCriticalSectionLock lock(FLock.get());
    FActiveTasks.erase(std::find(FActiveTasks.begin(), FActiveTasks.end(), ATask));
    ATask->FEvent = nullptr;
    FTasks.insert(FTasks.begin(), ATask);
  }
  RaiseLastOSError(error);
}

DWORD WINAPI TdxTaskDispatcher::RunPooledTask(LPVOID AParameter) {
  auto* task = static_cast<TdxTask*>(AParameter);
  try {
    task->FOwner->ExecuteTask(task);
  } catch (...) {
    HandleCallbackException(nullptr);
  }
  return 0;
}

void TdxTaskDispatcher::ExecuteTask(TdxTask* ATask) {
  IPtr<IdxTaskEvent> event;
  bool autoFree;
  {
    TCriticalSectionLock lock(FLock.get());
    event = ATask->FEvent;
    autoFree = ATask->FAutoFree;
    ATask->FThreadId = GetCurrentThreadId();
  }
  try {
    ATask->Execute();
  } catch (...) {
  }
  {
    // From here on a cancel request no longer waits for this task.
    TCriticalSectionLock lock(FLock.get());
    ATask->FEvent = nullptr;
  }
  try {
    ATask->Complete();
  } catch (...) {
  }
  {
    TCriticalSectionLock lock(FLock.get());
    auto it = std::find(FActiveTasks.begin(), FActiveTasks.end(), ATask);
    if (it != FActiveTasks.end()) FActiveTasks.erase(it);
    ATask->FThreadId = 0;
  }
  StartPendingTask();
  if (event) event->Signal();
  if (autoFree) ATask->Free();
}

TWaitResult TdxTaskDispatcher::Cancel(TdxTaskHandle ATaskHandle, DWORD AWaitTimeOut) {
  if (ATaskHandle == 0) return wrAbandoned;
  TdxTask* pending = nullptr;
  IPtr<IdxTaskEvent> event;
  bool running = false;
  {
    TCriticalSectionLock lock(FLock.get());
    if ((pending = FindPending(ATaskHandle)) != nullptr) {
      pending->FCanceled = 1;
      FTasks.erase(std::find(FTasks.begin(), FTasks.end(), pending));
    } else if (TdxTask* task = FindActive(ATaskHandle)) {
      running = true;
      InterlockedExchange(&task->FCanceled, 1);
      event = task->FEvent;
    }
  }
  if (pending) {
    // Completed outside the lock: a completion that runs in the main thread
    // must not wait for a main thread that waits for this lock.
    const TOwned<TdxTask> owned(pending->FAutoFree ? pending : nullptr);
    pending->Complete();
    return wrSignaled;
  }
  if (!running) return wrAbandoned;
  const TWaitResult result = event ? event->WaitFor(AWaitTimeOut) : wrAbandoned;
  if (IsMainThread()) CheckSynchronize();
  return result;
}

bool TdxTaskDispatcher::Cancel(TdxTaskHandle ATaskHandle, bool AWaitFor) {
  return Cancel(ATaskHandle, AWaitFor ? DWORD{INFINITE} : DWORD{0}) != wrError;
}

TWaitResult TdxTaskDispatcher::WaitFor(TdxTaskHandle ATaskHandle, DWORD AWaitTimeOut) {
  TdxTask* started = nullptr;
  IPtr<IdxTaskEvent> event;
  {
    TCriticalSectionLock lock(FLock.get());
    if (TdxTask* task = FindPending(ATaskHandle)) {
      PrepareStart(task);
      started = task;
    }
    if (TdxTask* task = FindActive(ATaskHandle)) event = task->FEvent;
  }
  if (started) Launch(started);
  return event ? event->WaitFor(AWaitTimeOut) : wrAbandoned;
}

bool TdxTaskDispatcher::WaitFor(TdxTaskHandle ATaskHandle) {
  const TWaitResult r = WaitFor(ATaskHandle, INFINITE);
  return r == wrSignaled || r == wrAbandoned;
}

bool TdxTaskDispatcher::IsCurrentTaskCanceled() {
  const DWORD thread = GetCurrentThreadId();
  TCriticalSectionLock lock(FLock.get());
  for (TdxTask* task : FActiveTasks)
    if (task->FThreadId == thread) return task->Canceled();
  return false;
}

void TdxTaskDispatcher::CancelAllTasks() {
  {
    TCriticalSectionLock lock(FLock.get());
    for (TdxTask* task : FActiveTasks) InterlockedExchange(&task->FCanceled, 1);
  }
  for (;;) {
    TdxTaskHandle handle = 0;
    {
      TCriticalSectionLock lock(FLock.get());
      if (FActiveTasks.empty()) return;
      handle = FActiveTasks.front()->Handle();
    }
    // A task past its body has no event any more: let it finish its way out.
    if (Cancel(handle, DWORD{INFINITE}) == wrAbandoned && !SwitchToThread()) Sleep(1);
  }
}

void TdxTaskDispatcher::SetMaxActiveTasks(int AValue) {
  AValue = std::max(AValue, 1);
  {
    TCriticalSectionLock lock(FLock.get());
    if (AValue == FMaxActiveTasks) return;
    FMaxActiveTasks = AValue;
    FActualMaxActiveTasks = AValue;
  }
  StartPendingTask();
}

int TdxTaskDispatcher::ActualMaxActiveTasks() const {
  TCriticalSectionLock lock(FLock.get());
  return FActualMaxActiveTasks;
}

int TdxTaskDispatcher::ActiveTaskCount() const {
  TCriticalSectionLock lock(FLock.get());
  return static_cast<int>(FActiveTasks.size());
}

int TdxTaskDispatcher::PendingTaskCount() const {
  TCriticalSectionLock lock(FLock.get());
  return static_cast<int>(FTasks.size());
}

bool TdxTaskDispatcher::UseCpuUsageMonitor() const { return FCpuUsageMonitor && FCpuUsageMonitor->Enabled(); }

void TdxTaskDispatcher::SetUseCpuUsageMonitor(bool AValue) {
  if (!IsMainThread()) throw EInvalidOperation(ClassName());
  FCpuUsageMonitor->SetEnabled(AValue);
  FCpuUsageLogIndex = 0;
}

String TdxTaskDispatcher::ToString() const {
  String s;
  s.reserve(64);
  {
    TCriticalSectionLock lock(FLock.get());
    s = L"Tasks: " + IntToStr(static_cast<int>(FActiveTasks.size()));
    if (!FTasks.empty()) s += L" (Pending: " + IntToStr(static_cast<int>(FTasks.size())) + L")";
    if (UseCpuUsageMonitor())
      s += L"\r\nQuota: " + IntToStr(FActualMaxActiveTasks) + L"\r\nCPU Usage: " + IntToStr(FAverageCpuUsage) + L"%";
  }
  return s;
}

void TdxTaskDispatcher::MonitorTimer(TObject*) { SampleCpuUsage(); }

void TdxTaskDispatcher::CheckCpuUsage() {
  if (UseCpuUsageMonitor()) SampleCpuUsage();
}

int TdxTaskDispatcher::ProposeQuota(int AMaxActiveTasks, int AProcessorCount, bool AHasPending, int ARunning,
                                    int AAverageCpuUsage) {
  int proposal = AMaxActiveTasks;
  if (AHasPending) {
    proposal = ARunning;
    if (AAverageCpuUsage <= 80)
      ++proposal;
    else if (AAverageCpuUsage >= 95)
      --proposal;
  }
  if (proposal < AMaxActiveTasks) return AMaxActiveTasks;
  return proposal > 8 * AProcessorCount ? 8 * AProcessorCount : proposal;
}

void TdxTaskDispatcher::SampleCpuUsage() {
  const int sample = FCpuUsageSampler ? FCpuUsageSampler() : TThread::GetCPUUsage(FPrevSystemTimes);
  std::copy_backward(FCpuUsageLog.begin(), FCpuUsageLog.end() - 1, FCpuUsageLog.end());
  FCpuUsageLog[0] = sample;
  FCpuUsageLogIndex = std::min(FCpuUsageLogIndex + 1, static_cast<int>(FCpuUsageLog.size()));
  if (FCpuUsageLogIndex < static_cast<int>(FCpuUsageLog.size())) return;
  FAverageCpuUsage = std::accumulate(FCpuUsageLog.begin(), FCpuUsageLog.end(), 0) / 10;
  {
    TCriticalSectionLock lock(FLock.get());
    const int proposal = ProposeQuota(FMaxActiveTasks, FProcessorCount, !FTasks.empty(),
                                      static_cast<int>(FActiveTasks.size()), FAverageCpuUsage);
    if (proposal == FActualMaxActiveTasks) return;
    FActualMaxActiveTasks = proposal;
    FCpuUsageLogIndex = 0;
  }
  StartPendingTask();
}
