// Threads and the main-thread queue.
//
// The queue holds entries in arrival order. CheckSynchronize takes them one
// at a time from the front, so a procedure that runs a nested message loop
// (a modal dialog) lets that loop continue with the entries behind it, and
// every thread's entries still run in the order the thread queued them.
// Each call runs only the entries that were there when it began, so a
// procedure that queues again cannot keep it busy forever.
#include "platform/runtime/Threads.h"

#include <algorithm>
#include <atomic>
#include <deque>
#include <memory>
#include <mutex>

namespace {

struct TSyncEntry {
  TThreadProcedure Proc;
  TThread* Thread = nullptr;
  std::uint64_t Sequence = 0;
  bool Synchronous = false;
  HANDLE Done = nullptr;  // synchronous entries: set when the procedure ran
  std::exception_ptr Error;
};

std::atomic<DWORD> GMainThreadID{0};
HANDLE GSyncEvent = nullptr;
std::mutex GQueueLock;
std::deque<std::shared_ptr<TSyncEntry>> GQueue;
std::uint64_t GSequence = 0;
bool GStopped = false;
std::mutex GWakeLock;
TWakeMainThread GWakeMainThread;

void WakeMain() {
  TWakeMainThread hook;
  {
    std::lock_guard<std::mutex> lock(GWakeLock);
    hook = GWakeMainThread;
  }
  if (hook) hook();
}

// Appends an entry; false once the queue has stopped.
bool Enqueue(const std::shared_ptr<TSyncEntry>& AEntry) {
  {
    std::lock_guard<std::mutex> lock(GQueueLock);
    if (GStopped) return false;
    AEntry->Sequence = ++GSequence;
    GQueue.push_back(AEntry);
    SetEvent(GSyncEvent);
  }
  WakeMain();
  return true;
}

// The fiber-local slot that holds the calling thread's TThread object. Its
// callback frees the objects made for foreign threads when they end.
void WINAPI FreeExternalThread(void* AData);

DWORD CurrentThreadSlot() {
  static const DWORD slot = FlsAlloc(&FreeExternalThread);
  return slot;
}

TWaitResult WaitResultOf(DWORD AResult) {
  switch (AResult) {
    case WAIT_OBJECT_0: return wrSignaled;
    case WAIT_TIMEOUT: return wrTimeout;
    case WAIT_ABANDONED: return wrAbandoned;
    default: return wrError;
  }
}

}  // namespace

// A thread object for a thread that TThread did not make.
class TExternalThread : public TThread {
  SK_CLASS(TExternalThread, TThread)
 public:
  void Create(bool) override {
    FExternal = true;
    FStarted = true;
    FThreadID = GetCurrentThreadId();
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), FHandle.Receive(), 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
  }

 protected:
  void Execute() override {}
};

namespace {

void WINAPI FreeExternalThread(void* AData) {
  auto* thread = static_cast<TThread*>(AData);
  if (thread && Is<TExternalThread>(thread)) {
    try {
      thread->Free();
    } catch (...) {
      // The thread is ending; nothing can report this any more.
    }
  }
}

// Runs a thread body for CreateAnonymousThread.
class TAnonymousThread : public TThread {
  SK_CLASS(TAnonymousThread, TThread)
 public:
  void Create(const TThreadProcedure& AProc) {
    FProc = AProc;
    inherited::Create(true);
    SetFreeOnTerminate(true);
  }

 protected:
  void Execute() override {
    if (FProc) FProc();
  }

 private:
  TThreadProcedure FProc;
};

}  // namespace

// ---------------------------------------------------------------------------
// Main thread, queue and wake-up

DWORD MainThreadID() { return GMainThreadID; }
bool IsMainThread() { return GetCurrentThreadId() == GMainThreadID; }
HANDLE SyncEvent() { return GSyncEvent; }

TWakeMainThread SetWakeMainThread(TWakeMainThread AHook) {
  std::lock_guard<std::mutex> lock(GWakeLock);
  return std::exchange(GWakeMainThread, std::move(AHook));
}

bool CheckSynchronize(int ATimeout) {
  if (!IsMainThread())
    throw EThread(L"CheckSynchronize wurde nicht im Hauptthread aufgerufen");
  if (ATimeout > 0 && GSyncEvent) WaitForSingleObject(GSyncEvent, static_cast<DWORD>(ATimeout));
  std::uint64_t last;
  {
    std::lock_guard<std::mutex> lock(GQueueLock);
    last = GSequence;
  }
  bool ran = false;
  while (true) {
    std::shared_ptr<TSyncEntry> entry;
    {
      std::lock_guard<std::mutex> lock(GQueueLock);
      if (GQueue.empty()) {
        if (GSyncEvent) ResetEvent(GSyncEvent);
        break;
      }
      if (GQueue.front()->Sequence > last) break;  // queued while this call ran: the next call
      entry = GQueue.front();
      GQueue.pop_front();
    }
    ran = true;
    if (entry->Synchronous) {
      try {
        entry->Proc();
      } catch (...) {
        entry->Error = std::current_exception();
      }
      SetEvent(entry->Done);
    } else {
      // The rest stays queued (and the event set) for the next call.
      entry->Proc();
    }
  }
  return ran;
}

void TThread::Synchronize(TThread* AThread, const TThreadProcedure& AProc) {
  if (!AProc) return;
  if (IsMainThread()) {
    AProc();
    return;
  }
  auto entry = std::make_shared<TSyncEntry>();
  entry->Proc = AProc;
  entry->Thread = AThread;
  entry->Synchronous = true;
  const TKernelHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!done) RaiseLastOSError(GetLastError(), L"CreateEventW");
  entry->Done = done.Get();
  if (!Enqueue(entry)) throw EThread(L"Der Hauptthread nimmt keine Aufträge mehr an");
  WaitForSingleObject(entry->Done, INFINITE);
  if (entry->Error) std::rethrow_exception(entry->Error);
}

void TThread::Queue(TThread* AThread, const TThreadProcedure& AProc) {
  if (!AProc) return;
  if (IsMainThread()) {
    AProc();
    return;
  }
  ForceQueue(AThread, AProc);
}

void TThread::ForceQueue(TThread* AThread, const TThreadProcedure& AProc) {
  if (!AProc) return;
  auto entry = std::make_shared<TSyncEntry>();
  entry->Proc = AProc;
  entry->Thread = AThread;
  Enqueue(entry);  // after shut-down the work is dropped
}

void TThread::RemoveQueuedEvents(TThread* AThread) {
  std::lock_guard<std::mutex> lock(GQueueLock);
  std::erase_if(GQueue, [AThread](const std::shared_ptr<TSyncEntry>& AEntry) {
    return !AEntry->Synchronous && AEntry->Thread == AThread;
  });
  if (GQueue.empty() && GSyncEvent) ResetEvent(GSyncEvent);
}

DWORD RemainingTimeout(std::uint64_t AStart, DWORD ATimeout) {
  if (ATimeout == INFINITE) return INFINITE;
  const std::uint64_t spent = GetTickCount64() - AStart;
  return spent >= ATimeout ? 0 : static_cast<DWORD>(ATimeout - spent);
}

TWaitResult WaitForHandleSynchronizing(HANDLE AHandle, DWORD ATimeout) {
  if (!IsMainThread() || !GSyncEvent) return WaitResultOf(WaitForSingleObject(AHandle, ATimeout));
  const std::uint64_t start = GetTickCount64();
  while (true) {
    const DWORD remaining = RemainingTimeout(start, ATimeout);
    const HANDLE handles[2] = {AHandle, GSyncEvent};
    const DWORD result = MsgWaitForMultipleObjects(2, handles, FALSE, remaining, QS_SENDMESSAGE);
    if (result == WAIT_OBJECT_0) return wrSignaled;
    if (result == WAIT_OBJECT_0 + 1) {
      try {
        CheckSynchronize();
      } catch (...) {
        HandleCallbackException(nullptr);
      }
    } else if (result == WAIT_OBJECT_0 + 2) {
      // Sent messages are delivered by the peek; posted ones stay queued.
      MSG msg;
      PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
    } else if (result == WAIT_ABANDONED_0) {
      return wrAbandoned;
    } else if (result == WAIT_TIMEOUT) {
      return wrTimeout;
    } else {
      return wrError;
    }
    if (remaining == 0) return wrTimeout;
  }
}

// ---------------------------------------------------------------------------
// TThread

void TThread::Create(bool ACreateSuspended) {
  FCreatedSuspended = ACreateSuspended;
  FHandle.Reset(CreateThread(nullptr, 0, &TThread::ThreadProc, this, CREATE_SUSPENDED, &FThreadID));
  if (!FHandle) {
    const DWORD error = GetLastError();
    throw EThread(L"Thread-Erstellungsfehler: %s", {SysErrorMessage(error)});
  }
}

void TThread::AfterConstruction() {
  inherited::AfterConstruction();
  if (!FExternal && !FCreatedSuspended) {
    FStarted = true;
    ResumeThread(FHandle.Get());
  }
}

void TThread::Destroy() {
  if (FHandle && !FExternal) {
    if (!FStarted) {
      // Never started: the thread ends without running Execute.
      FSkipExecute = true;
      FStarted = true;
      ResumeThread(FHandle.Get());
      WaitForSingleObject(FHandle.Get(), INFINITE);
    } else if (GetCurrentThreadId() != FThreadID) {
      Terminate();
      WaitForHandleSynchronizing(FHandle.Get(), INFINITE);
    }
  }
  RemoveQueuedEvents(this);
  FHandle.Reset();
  inherited::Destroy();
}

void TThread::Start() {
  if (FStarted || Finished()) throw EThread(L"Ein laufender oder beendeter Thread kann nicht gestartet werden");
  FStarted = true;
  if (ResumeThread(FHandle.Get()) == static_cast<DWORD>(-1)) {
    const DWORD error = GetLastError();
    throw EThread(L"Thread-Fehler: %s (%d)", {SysErrorMessage(error), static_cast<unsigned long>(error)});
  }
}

void TThread::Terminate() {
  InterlockedExchange(&FTerminated, 1);
  TerminatedSet();
}

bool TThread::Terminated() const { return InterlockedCompareExchange(const_cast<volatile LONG*>(&FTerminated), 0, 0) != 0; }

bool TThread::Finished() const { return InterlockedCompareExchange(const_cast<volatile LONG*>(&FFinished), 0, 0) != 0; }

int TThread::WaitFor() {
  if (FExternal) throw EThread(L"Auf einen fremden Thread kann nicht gewartet werden");
  if (GetCurrentThreadId() == FThreadID) throw EThread(L"Ein Thread kann nicht auf sich selbst warten");
  if (FFreeOnTerminate) throw EThread(L"Auf einen Thread, der sich selbst freigibt, kann nicht gewartet werden");
  if (!FStarted) throw EThread(L"Der Thread wurde nicht gestartet");
  if (WaitForHandleSynchronizing(FHandle.Get(), INFINITE) == wrError) RaiseLastOSError();
  return FReturnValue;
}

namespace {
const int GPriorities[] = {THREAD_PRIORITY_IDLE,   THREAD_PRIORITY_LOWEST,  THREAD_PRIORITY_BELOW_NORMAL,
                           THREAD_PRIORITY_NORMAL, THREAD_PRIORITY_ABOVE_NORMAL, THREAD_PRIORITY_HIGHEST,
                           THREAD_PRIORITY_TIME_CRITICAL};
}

TThreadPriority TThread::Priority() const {
  const int p = GetThreadPriority(FHandle.Get());
  for (int i = 0; i < 7; ++i)
    if (GPriorities[i] == p) return static_cast<TThreadPriority>(i);
  return tpNormal;
}

void TThread::SetPriority(TThreadPriority AValue) {
  if (!SetThreadPriority(FHandle.Get(), GPriorities[std::clamp(static_cast<int>(AValue), 0, 6)])) RaiseLastOSError();
}

void TThread::DoTerminate() {
  if (FOnTerminate) Synchronize(this, [this] { FOnTerminate(this); });
}

DWORD WINAPI TThread::ThreadProc(LPVOID AParameter) {
  auto* thread = static_cast<TThread*>(AParameter);
  FlsSetValue(CurrentThreadSlot(), thread);
  return static_cast<DWORD>(thread->Run());
}

int TThread::Run() noexcept {
  if (FSkipExecute) {
    InterlockedExchange(&FFinished, 1);
    FlsSetValue(CurrentThreadSlot(), nullptr);
    return 0;
  }
  try {
    Execute();
  } catch (...) {
    FFatalException = std::current_exception();
  }
  try {
    DoTerminate();
  } catch (...) {
    HandleCallbackException(this);
  }
  const bool freeIt = FFreeOnTerminate;
  const int result = FReturnValue;
  FlsSetValue(CurrentThreadSlot(), nullptr);
  InterlockedExchange(&FFinished, 1);
  if (freeIt) {
    try {
      Free();
    } catch (...) {
      HandleCallbackException(nullptr);
    }
  }
  return result;
}

TThread* TThread::CurrentThread() {
  const DWORD slot = CurrentThreadSlot();
  if (auto* thread = static_cast<TThread*>(FlsGetValue(slot))) return thread;
  TThread* external = New<TExternalThread>(false);
  FlsSetValue(slot, external);
  return external;
}

bool TThread::CheckTerminated() { return CurrentThread()->Terminated(); }

TThread* TThread::CreateAnonymousThread(const TThreadProcedure& AProc) { return New<TAnonymousThread>(AProc); }

int TThread::ProcessorCount() {
  static const int count = [] {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return std::max(1, static_cast<int>(info.dwNumberOfProcessors));
  }();
  return count;
}

void TThread::SpinWait(int AIterations) {
  for (int i = 0; i < AIterations; ++i) YieldProcessor();
}

void TThread::Sleep(int ATimeout) { ::Sleep(ATimeout < 0 ? INFINITE : static_cast<DWORD>(ATimeout)); }

void TThread::Yield() { SwitchToThread(); }

bool TThread::GetSystemTimes(TSystemTimes& ASystemTimes) {
  FILETIME idle, kernel, user;
  if (!::GetSystemTimes(&idle, &kernel, &user)) return false;
  auto value = [](const FILETIME& F) {
    return (static_cast<std::uint64_t>(F.dwHighDateTime) << 32) | F.dwLowDateTime;
  };
  ASystemTimes.IdleTime = value(idle);
  ASystemTimes.KernelTime = value(kernel);  // includes the idle time
  ASystemTimes.UserTime = value(user);
  ASystemTimes.NiceTime = 0;
  return true;
}

int TThread::GetCPUUsage(TSystemTimes& APrevSystemTimes) {
  TSystemTimes now;
  if (!GetSystemTimes(now)) return 0;
  const std::uint64_t busyAndIdle = (now.KernelTime - APrevSystemTimes.KernelTime) + (now.UserTime - APrevSystemTimes.UserTime);
  const std::uint64_t idle = now.IdleTime - APrevSystemTimes.IdleTime;
  APrevSystemTimes = now;
  if (busyAndIdle == 0 || idle > busyAndIdle) return 0;
  return static_cast<int>((busyAndIdle - idle) * 100 / busyAndIdle);
}

// ---------------------------------------------------------------------------
// Unit start-up and shut-down

void ThreadsInitialization() {
  GMainThreadID = GetCurrentThreadId();
  CurrentThreadSlot();
  std::lock_guard<std::mutex> lock(GQueueLock);
  GStopped = false;
  if (!GSyncEvent) GSyncEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!GSyncEvent) RaiseLastOSError(GetLastError(), L"CreateEventW");
}

void ThreadsFinalization() {
  std::deque<std::shared_ptr<TSyncEntry>> left;
  {
    std::lock_guard<std::mutex> lock(GQueueLock);
    GStopped = true;
    left.swap(GQueue);
  }
  // A thread still waiting for the main thread gets an error instead of a
  // wait without end.
  for (const auto& entry : left)
    if (entry->Synchronous) {
      entry->Error = std::make_exception_ptr(EThread(L"Der Hauptthread wurde beendet"));
      SetEvent(entry->Done);
    }
  // The main thread's own object, when one was made, goes now.
  const DWORD slot = CurrentThreadSlot();
  if (auto* thread = static_cast<TThread*>(FlsGetValue(slot)); thread && Is<TExternalThread>(thread)) {
    FlsSetValue(slot, nullptr);
    thread->Free();
  }
}
