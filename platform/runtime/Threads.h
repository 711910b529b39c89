// Threads and the main-thread queue.
//
// Classes in this file:
//   TThread                 a thread object: derive and override Execute
//   EThread                 misuse of a thread object
//
// Work for the main thread: any thread may Queue a procedure (no wait) or
// Synchronize one (wait until the main thread ran it; an exception it raised
// is raised again in the waiting thread). Both go into one queue, so the
// main thread runs them in the order each thread put them there. The main
// thread drains the queue with CheckSynchronize; its message loop learns of
// new work through SyncEvent() (wait on it with MsgWaitForMultipleObjects)
// and through the WakeMainThread hook, which the application object sets to
// post to its hidden window. Called on the main thread, Synchronize and
// Queue run the procedure at once.
#pragma once

#include "platform/runtime/SyncObjs.h"

#include <cstdint>
#include <exception>
#include <functional>

class EThread : public Exception { public: using Exception::Exception; };

using TThreadProcedure = std::function<void()>;

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TThread : public TObject {
  SK_CLASS(TThread, TObject)
 public:
  struct TSystemTimes {
    std::uint64_t IdleTime = 0;
    std::uint64_t UserTime = 0;
    std::uint64_t KernelTime = 0;
    std::uint64_t NiceTime = 0;
  };

  // The thread is created at once and, unless ACreateSuspended, starts
  // running Execute after construction. Raises EThread when Windows refuses.
  virtual void Create(bool ACreateSuspended);
  void AfterConstruction() override;
  // Terminates the thread, waits for it (a never started one is not run),
  // withdraws its queued procedures and closes the handle.
  void Destroy() override;

  // Starts a thread created suspended; raises EThread when it runs already
  // or has finished.
  void Start();
  // Sets Terminated; Execute is expected to look at it and return.
  void Terminate();
  // Waits for the end of the thread and returns ReturnValue. On the main
  // thread the wait keeps running queued procedures, so a thread that
  // synchronises while it ends cannot deadlock the caller. Raises EThread
  // when called from the thread itself.
  int WaitFor();

  bool Terminated() const;
  bool Started() const { return FStarted; }
  bool Finished() const;
  bool Suspended() const { return FCreatedSuspended && !FStarted; }
  HANDLE Handle() const { return FHandle.Get(); }
  DWORD ThreadID() const { return FThreadID; }
  int ReturnValue() const { return FReturnValue; }
  void SetReturnValue(int AValue) { FReturnValue = AValue; }
  // Whether the object frees itself when the thread ends.
  bool FreeOnTerminate() const { return FFreeOnTerminate; }
  void SetFreeOnTerminate(bool AValue) { FFreeOnTerminate = AValue; }
  TThreadPriority Priority() const;
  void SetPriority(TThreadPriority AValue);
  // The exception that ended Execute, if any.
  std::exception_ptr FatalException() const { return FFatalException; }
  // Called on the main thread (through Synchronize) when Execute has ended.
  TNotifyEvent OnTerminate() const { return FOnTerminate; }
  void SetOnTerminate(TNotifyEvent AValue) { FOnTerminate = AValue; }

  // Instance forms: the procedure is tagged with this thread.
  void Synchronize(const TThreadProcedure& AProc) { Synchronize(this, AProc); }
  void Queue(const TThreadProcedure& AProc) { Queue(this, AProc); }

  // AThread tags the entry (for RemoveQueuedEvents); it may be null.
  static void Synchronize(TThread* AThread, const TThreadProcedure& AProc);
  static void Queue(TThread* AThread, const TThreadProcedure& AProc);
  // Queues even on the main thread (runs at the next CheckSynchronize).
  static void ForceQueue(TThread* AThread, const TThreadProcedure& AProc);
  // Withdraws the queued (not the synchronised) procedures tagged AThread.
  static void RemoveQueuedEvents(TThread* AThread);

  // The thread object of the calling thread; a thread not made by TThread
  // gets an object of its own that lives until that thread ends.
  static TThread* CurrentThread();
  // Whether the calling thread's object was told to terminate.
  static bool CheckTerminated();
  // A thread object that runs AProc; it frees itself when done and starts
  // suspended (call Start).
  static TThread* CreateAnonymousThread(const TThreadProcedure& AProc);

  static int ProcessorCount();
  static bool IsSingleProcessor() { return ProcessorCount() == 1; }
  static void SpinWait(int AIterations);
  static void Sleep(int ATimeout);
  static void Yield();
  // Idle, kernel and user time of all processors since start-up; false
  // when Windows does not tell.
  static bool GetSystemTimes(TSystemTimes& ASystemTimes);
  // The processor load in percent (0..100) since the times in
  // APrevSystemTimes, which then take the present times.
  static int GetCPUUsage(TSystemTimes& APrevSystemTimes);

 protected:
  virtual void Execute() = 0;
  // Runs after Execute; calls OnTerminate on the main thread when assigned.
  virtual void DoTerminate();
  // Runs in the terminating thread when Terminate is called.
  virtual void TerminatedSet() {}

 private:
  friend class TExternalThread;
  static DWORD WINAPI ThreadProc(LPVOID AParameter);
  int Run() noexcept;

  TKernelHandle FHandle;
  DWORD FThreadID = 0;
  int FReturnValue = 0;
  volatile LONG FTerminated = 0;
  volatile LONG FFinished = 0;
  bool FStarted = false;
  bool FCreatedSuspended = false;
  bool FFreeOnTerminate = false;
  bool FExternal = false;
  bool FSkipExecute = false;
  std::exception_ptr FFatalException;
  TNotifyEvent FOnTerminate;
};

// The thread that ran the run-time's start-up.
DWORD MainThreadID();
bool IsMainThread();

// Runs the queued procedures on the main thread in queue order, first
// waiting up to ATimeout ms for work when there is none. Returns whether
// any ran. A queued procedure that raises stops the run: the rest stays
// queued for the next call and the exception goes on. Raises EThread when
// called from another thread.
bool CheckSynchronize(int ATimeout = 0);

// Set while procedures are queued for the main thread (manual reset; the
// queue resets it when it takes the work).
HANDLE SyncEvent();

// Called (from the queuing thread) whenever work is queued for the main
// thread. SetWakeMainThread returns the previous hook.
using TWakeMainThread = std::function<void()>;
TWakeMainThread SetWakeMainThread(TWakeMainThread AHook);

// Waits for AHandle. On the main thread the wait also runs CheckSynchronize
// whenever procedures are queued and lets sent messages through, so a
// thread that synchronises with the main thread cannot deadlock it.
TWaitResult WaitForHandleSynchronizing(HANDLE AHandle, DWORD ATimeout);
// What is left of a wait of ATimeout milliseconds begun at AStart (a
// GetTickCount64 value): INFINITE stays INFINITE, a passed one is 0.
DWORD RemainingTimeout(std::uint64_t AStart, DWORD ATimeout);

// Unit start-up and shut-down.
void ThreadsInitialization();
void ThreadsFinalization();
