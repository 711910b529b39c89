// The thread pool and tasks.
//
// Pool threads are TThread objects. A queued item wakes an idle thread or,
// when every thread is busy and the maximum allows, makes a new one; a
// thread that found no work for a while ends unless the pool would drop
// below its minimum. Each item runs inside a catch-all, so no exception
// leaves a pool thread.
#include "platform/runtime/Tasks.h"

#include "platform/runtime/Units.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace {
constexpr auto kIdleTimeout = std::chrono::seconds(15);
}

struct TThreadPool::TState {
  struct TItem {
    std::function<void()> Work;
    std::function<void()> Drop;
  };
  std::mutex Lock;
  std::condition_variable WorkReady;
  std::deque<TItem> Queue;
  std::vector<TThread*> Workers;
  int MinWorkers = 1;
  int MaxWorkers = 1;
  int Idle = 0;
  bool Stopping = false;
};

namespace {

class TPoolWorker : public TThread {
  SK_CLASS(TPoolWorker, TThread)
 public:
  void Create(TThreadPool::TState* AState) {
    FState = AState;
    inherited::Create(false);
  }

 protected:
  void Execute() override {
    TThreadPool::TState& s = *FState;
    std::unique_lock<std::mutex> lock(s.Lock);
    while (true) {
      ++s.Idle;
      const bool woken = s.WorkReady.wait_for(lock, kIdleTimeout, [&] { return s.Stopping || !s.Queue.empty(); });
      --s.Idle;
      if (s.Stopping) return;
      if (!woken) {
        if (static_cast<int>(s.Workers.size()) > s.MinWorkers) {
          // Retire: the pool no longer knows this thread, which frees itself.
          std::erase(s.Workers, static_cast<TThread*>(this));
          SetFreeOnTerminate(true);
          return;
        }
        continue;
      }
      std::function<void()> work = std::move(s.Queue.front().Work);
      s.Queue.pop_front();
      lock.unlock();
      try {
        work();
      } catch (...) {
        HandleCallbackException(nullptr);
      }
      work = nullptr;  // captured state goes here, outside the lock
      lock.lock();
    }
  }

 private:
  TThreadPool::TState* FState = nullptr;
};

std::mutex GDefaultPoolLock;
TThreadPool* GDefaultPool = nullptr;
bool GTasksFinalized = false;

}  // namespace

// ---------------------------------------------------------------------------
// TThreadPool

void TThreadPool::TStateDeleter::operator()(TState* AState) const noexcept { delete AState; }

void TThreadPool::Create() {
  FState.reset(new TState);
  FState->MinWorkers = TThread::ProcessorCount();
  FState->MaxWorkers = TThread::ProcessorCount() * 25;
}

void TThreadPool::Destroy() {
  if (FState) {
    std::deque<TState::TItem> dropped;
    std::vector<TThread*> workers;
    {
      std::lock_guard<std::mutex> lock(FState->Lock);
      FState->Stopping = true;
      dropped.swap(FState->Queue);
      workers.swap(FState->Workers);
    }
    FState->WorkReady.notify_all();
    for (TState::TItem& item : dropped)
      if (item.Drop) {
        try {
          item.Drop();
        } catch (...) {
          HandleCallbackException(this);
        }
      }
    dropped.clear();
    // Free waits for each thread; on the main thread the wait keeps running
    // the work that the last items synchronise with it.
    for (TThread* worker : workers) worker->Free();
    FState.reset();
  }
  inherited::Destroy();
}

TThreadPool* TThreadPool::Default() {
  std::lock_guard<std::mutex> lock(GDefaultPoolLock);
  if (GTasksFinalized || UnitsFinalizing()) return nullptr;
  if (!GDefaultPool) GDefaultPool = New<TThreadPool>();
  return GDefaultPool;
}

void TThreadPool::QueueWorkItem(std::function<void()> AWork, std::function<void()> ADrop) {
  if (!AWork) return;
  std::lock_guard<std::mutex> lock(FState->Lock);
  if (FState->Stopping) throw EInvalidOperation(L"Der Thread-Pool nimmt keine Arbeit mehr an");
  FState->Queue.push_back({std::move(AWork), std::move(ADrop)});
  // Each waiting item needs an idle thread of its own.
  if (static_cast<int>(FState->Queue.size()) > FState->Idle &&
      static_cast<int>(FState->Workers.size()) < FState->MaxWorkers) {
    try {
      FState->Workers.push_back(New<TPoolWorker>(FState.get()));
    } catch (...) {
      // Without any thread the item would wait for ever: it is refused.
      if (FState->Workers.empty()) FState->Queue.pop_back();
      throw;
    }
  }
  FState->WorkReady.notify_one();
}

int TThreadPool::MinWorkerThreads() const {
  std::lock_guard<std::mutex> lock(FState->Lock);
  return FState->MinWorkers;
}

int TThreadPool::MaxWorkerThreads() const {
  std::lock_guard<std::mutex> lock(FState->Lock);
  return FState->MaxWorkers;
}

bool TThreadPool::SetMinWorkerThreads(int AValue) {
  std::lock_guard<std::mutex> lock(FState->Lock);
  if (AValue < 0 || AValue > FState->MaxWorkers) return false;
  FState->MinWorkers = AValue;
  return true;
}

bool TThreadPool::SetMaxWorkerThreads(int AValue) {
  std::lock_guard<std::mutex> lock(FState->Lock);
  if (AValue < 1 || AValue < FState->MinWorkers) return false;
  FState->MaxWorkers = AValue;
  return true;
}

int TThreadPool::WorkerThreadCount() const {
  std::lock_guard<std::mutex> lock(FState->Lock);
  return static_cast<int>(FState->Workers.size());
}

int TThreadPool::IdleWorkerThreadCount() const {
  std::lock_guard<std::mutex> lock(FState->Lock);
  return FState->Idle;
}

// ---------------------------------------------------------------------------
// Exceptions

namespace {

String MessageOf(const std::exception_ptr& AError) {
  try {
    std::rethrow_exception(AError);
  } catch (...) {
    return CurrentExceptionMessage();
  }
}

String AggregateMessage(const std::vector<std::exception_ptr>& AInner) {
  if (AInner.size() == 1) return MessageOf(AInner[0]);
  String message = L"Ein oder mehrere Fehler sind aufgetreten";
  for (const std::exception_ptr& e : AInner) message += L"\r\n" + MessageOf(e);
  return message;
}

}  // namespace

EAggregateException::EAggregateException(std::vector<std::exception_ptr> AInner)
    : Exception(AggregateMessage(AInner)), FInner(std::move(AInner)) {}

String EAggregateException::InnerMessage(std::size_t AIndex) const { return MessageOf(FInner.at(AIndex)); }

void EAggregateException::RaiseInner(std::size_t AIndex) const { std::rethrow_exception(FInner.at(AIndex)); }

// ---------------------------------------------------------------------------
// Tasks

namespace {

thread_local ITask* GCurrentTask = nullptr;
std::atomic<int> GNextTaskId{0};

[[noreturn]] void RaiseCancelled() { throw EOperationCancelled(L"Vorgang abgebrochen"); }

class TTaskItem : public TInterfacedObject, public ITask {
  SK_CLASS(TTaskItem, TInterfacedObject)
 public:
  void Create(std::function<void()> AProc, TThreadPool* APool) {
    FProc = std::move(AProc);
    FPool = APool;
    FId = ++GNextTaskId;
    FDone.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!FDone) RaiseLastOSError(GetLastError(), L"CreateEventW");
  }

  void Destroy() override {
    FDone.Reset();
    inherited::Destroy();
  }

  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<ITask>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
  }

  ITask* Start() override {
    TTaskStatus expected = TTaskStatus::Created;
    if (!FStatus.compare_exchange_strong(expected, TTaskStatus::WaitingToRun)) {
      if (expected == TTaskStatus::Canceled) return this;
      throw EInvalidOperation(L"Die Aufgabe wurde bereits gestartet");
    }
    // The queued item holds a reference, so the task outlives its callers.
    IPtr<ITask> self(static_cast<ITask*>(this));
    try {
      FPool->QueueWorkItem([self] { static_cast<TTaskItem*>(self.Get())->Execute(); },
                           [self] { static_cast<TTaskItem*>(self.Get())->Finish(TTaskStatus::Canceled); });
    } catch (...) {
      Finish(TTaskStatus::Canceled);
      throw;
    }
    return this;
  }

  bool Wait(DWORD ATimeout) override {
    if (GCurrentTask == this) throw EInvalidOperation(L"Eine Aufgabe kann nicht auf sich selbst warten");
    const TWaitResult result = WaitForHandleSynchronizing(FDone.Get(), ATimeout);
    if (result == wrTimeout) return false;
    if (result != wrSignaled) RaiseLastOSError();
    switch (FStatus.load()) {
      case TTaskStatus::Exception: throw EAggregateException({FError});
      case TTaskStatus::Canceled: RaiseCancelled();
      default: return true;
    }
  }

  void Cancel() override {
    FCancelRequested = true;
    for (TTaskStatus from : {TTaskStatus::Created, TTaskStatus::WaitingToRun}) {
      TTaskStatus expected = from;
      if (FStatus.compare_exchange_strong(expected, TTaskStatus::Canceled)) {
        SetEvent(FDone.Get());
        return;
      }
    }
  }

  void CheckCanceled() override {
    if (FCancelRequested) RaiseCancelled();
  }

  TTaskStatus Status() override { return FStatus.load(); }
  int Id() override { return FId; }

  HANDLE DoneEvent() const { return FDone.Get(); }
  std::exception_ptr Error() const { return FError; }

 private:
  void Execute() noexcept {
    TTaskStatus expected = TTaskStatus::WaitingToRun;
    if (!FStatus.compare_exchange_strong(expected, TTaskStatus::Running)) return;  // cancelled meanwhile
    ITask* outer = std::exchange(GCurrentTask, this);
    TTaskStatus final = TTaskStatus::Completed;
    try {
      FProc();
    } catch (const EOperationCancelled&) {
      final = TTaskStatus::Canceled;
    } catch (...) {
      FError = std::current_exception();
      final = TTaskStatus::Exception;
    }
    GCurrentTask = outer;
    if (final == TTaskStatus::Completed && FCancelRequested) final = TTaskStatus::Canceled;
    FProc = nullptr;  // what the body captured is released before waiters go on
    Finish(final);
  }

  void Finish(TTaskStatus AStatus) {
    const TTaskStatus current = FStatus.load();
    if (current == TTaskStatus::Completed || current == TTaskStatus::Exception) return;
    FStatus = AStatus;
    SetEvent(FDone.Get());
  }

  std::function<void()> FProc;
  TThreadPool* FPool = nullptr;
  int FId = 0;
  TKernelHandle FDone;
  std::atomic<TTaskStatus> FStatus{TTaskStatus::Created};
  std::atomic<bool> FCancelRequested{false};
  std::exception_ptr FError;
};

TTaskItem* ItemOf(const IPtr<ITask>& ATask) {
  auto* item = dynamic_cast<TTaskItem*>(ATask.Get());
  if (!item) throw EArgumentNilException(L"Eine Aufgabe der Liste fehlt oder stammt nicht von TTask");
  return item;
}

}  // namespace

IPtr<ITask> TTask::Create(std::function<void()> AProc, TThreadPool* APool) {
  TThreadPool* pool = APool ? APool : TThreadPool::Default();
  if (!pool) throw EInvalidOperation(L"Es steht kein Thread-Pool mehr zur Verfügung");
  TTaskItem* item = New<TTaskItem>(std::move(AProc), pool);
  return IPtr<ITask>(static_cast<ITask*>(item));
}

IPtr<ITask> TTask::Run(std::function<void()> AProc, TThreadPool* APool) {
  IPtr<ITask> task = Create(std::move(AProc), APool);
  task->Start();
  return task;
}

bool TTask::WaitForAll(std::span<const IPtr<ITask>> ATasks, DWORD ATimeout) {
  for (const IPtr<ITask>& task : ATasks) ItemOf(task);
  const std::uint64_t start = GetTickCount64();
  for (const IPtr<ITask>& task : ATasks) {
    const DWORD remaining = RemainingTimeout(start, ATimeout);
    if (WaitForHandleSynchronizing(ItemOf(task)->DoneEvent(), remaining) != wrSignaled) return false;
  }
  std::vector<std::exception_ptr> errors;
  for (const IPtr<ITask>& task : ATasks) {
    const TTaskStatus status = task->Status();
    if (status == TTaskStatus::Exception) errors.push_back(ItemOf(task)->Error());
    else if (status == TTaskStatus::Canceled)
      errors.push_back(std::make_exception_ptr(EOperationCancelled(L"Vorgang abgebrochen")));
  }
  if (!errors.empty()) throw EAggregateException(std::move(errors));
  return true;
}

bool TTask::WaitForAll(std::initializer_list<IPtr<ITask>> ATasks, DWORD ATimeout) {
  return WaitForAll(std::span<const IPtr<ITask>>(ATasks.begin(), ATasks.size()), ATimeout);
}

int TTask::WaitForAny(std::span<const IPtr<ITask>> ATasks, DWORD ATimeout) {
  if (ATasks.empty()) return -1;
  if (ATasks.size() > MAXIMUM_WAIT_OBJECTS - 1)
    throw EArgumentOutOfRangeException(L"Zu viele Aufgaben für WaitForAny: %d", {static_cast<int>(ATasks.size())});
  std::vector<HANDLE> handles;
  for (const IPtr<ITask>& task : ATasks) handles.push_back(ItemOf(task)->DoneEvent());
  const DWORD count = static_cast<DWORD>(handles.size());
  const bool pump = IsMainThread() && SyncEvent();
  if (pump) handles.push_back(SyncEvent());
  const std::uint64_t start = GetTickCount64();
  while (true) {
    const DWORD remaining = RemainingTimeout(start, ATimeout);
    const DWORD result = WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE, remaining);
    if (result < WAIT_OBJECT_0 + count) return static_cast<int>(result - WAIT_OBJECT_0);
    if (pump && result == WAIT_OBJECT_0 + count) {
      try {
        CheckSynchronize();
      } catch (...) {
        HandleCallbackException(nullptr);
      }
      continue;
    }
    if (result == WAIT_TIMEOUT) return -1;
    RaiseLastOSError();
  }
}

ITask* TTask::CurrentTask() { return GCurrentTask; }

// ---------------------------------------------------------------------------
// Unit start-up and shut-down

void TasksInitialization() {
  std::lock_guard<std::mutex> lock(GDefaultPoolLock);
  GTasksFinalized = false;
}

void TasksFinalization() {
  TThreadPool* pool;
  {
    std::lock_guard<std::mutex> lock(GDefaultPoolLock);
    GTasksFinalized = true;
    pool = GDefaultPool;
  }
  // Freed outside the lock: its threads may still ask for Default.
  if (pool) pool->Free();
  std::lock_guard<std::mutex> lock(GDefaultPoolLock);
  GDefaultPool = nullptr;
}
