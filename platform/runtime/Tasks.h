// Tasks on a thread pool.
//
// Classes in this file:
//   TThreadPool             worker threads made on demand, up to a maximum
//   TTaskStatus, ITask      one unit of work and its state
//   TTask                   creating, running and waiting for tasks
//   EAggregateException     the exceptions of failed tasks, raised by Wait
//   EOperationCancelled     a wait on a cancelled task; CheckCanceled
//
// A task's body runs on a pool thread. An exception it raises never leaves
// that thread: the task keeps it, its status becomes Exception, and Wait
// raises EAggregateException with the inner exception's message. A task
// cancelled before it runs never runs; a running task ends early only when
// its body calls CheckCanceled (or TTask::CurrentTask()->CheckCanceled()).
// On the main thread, Wait keeps running the procedures that pool threads
// synchronise with it (Threads.h), so a task may Synchronize while the main
// thread waits for it.
#pragma once

#include "platform/runtime/Threads.h"

#include <exception>
#include <functional>
#include <memory>
#include <span>
#include <vector>

class EOperationCancelled : public Exception { public: using Exception::Exception; };

// The exceptions of one or more failed tasks. The message is the inner
// exception's message when there is one inner exception.
class EAggregateException : public Exception {
 public:
  EAggregateException(std::vector<std::exception_ptr> AInner);
  std::size_t Count() const { return FInner.size(); }
  const std::exception_ptr& InnerException(std::size_t AIndex) const { return FInner.at(AIndex); }
  // The message of an inner exception.
  String InnerMessage(std::size_t AIndex) const;
  // Raises the first inner exception itself.
  [[noreturn]] void RaiseInner(std::size_t AIndex = 0) const;

 private:
  std::vector<std::exception_ptr> FInner;
};

class TThreadPool : public TObject {
  SK_CLASS(TThreadPool, TObject)
 public:
  void Create();
  // Stops the pool: work not yet started is dropped (tasks among it end as
  // cancelled), running work is waited for, the threads are joined.
  void Destroy() override;

  // The process's pool; null once the run-time's shut-down has begun.
  static TThreadPool* Default();

  // Runs AWork on a pool thread. An exception from AWork goes to
  // HandleCallbackException. Raises EInvalidOperation once the pool stops.
  // ADrop, when given, runs instead of AWork (on the stopping thread) when
  // the pool stops before AWork started.
  void QueueWorkItem(std::function<void()> AWork, std::function<void()> ADrop = nullptr);

  // Idle threads above the minimum end after a while; at most the maximum
  // run at once, further work waits. Each setter is false for a value out
  // of range (minimum above maximum, maximum below 1).
  int MinWorkerThreads() const;
  int MaxWorkerThreads() const;
  bool SetMinWorkerThreads(int AValue);
  bool SetMaxWorkerThreads(int AValue);
  // Threads that exist now, and those of them that wait for work.
  int WorkerThreadCount() const;
  int IdleWorkerThreadCount() const;

  struct TState;  // the queue and the threads, shared with the pool threads

 private:
  struct TStateDeleter {
    void operator()(TState* AState) const noexcept;
  };
  std::unique_ptr<TState, TStateDeleter> FState;
};

enum class TTaskStatus { Created, WaitingToRun, Running, Completed, WaitingForChildren, Exception, Canceled };

struct ITask : public virtual IInterface {
  static constexpr GUID IID = {0x8F2A6C1D, 0x3B7E, 0x4C59, {0x9E, 0x21, 0x6D, 0x4A, 0x0F, 0x83, 0xB5, 0x17}};

  // Queues a task that was created; raises EInvalidOperation for a task
  // that was started before. A cancelled task is not started.
  virtual ITask* Start() = 0;
  // Waits for the end: true when the task ended in time, false on a
  // time-out. Raises EAggregateException when the body raised and
  // EOperationCancelled when the task was cancelled.
  virtual bool Wait(DWORD ATimeout = INFINITE) = 0;
  // A task that has not run yet is cancelled at once; a running one is
  // asked to stop (its final status is Canceled unless it raises).
  virtual void Cancel() = 0;
  // Raises EOperationCancelled when Cancel was called.
  virtual void CheckCanceled() = 0;
  virtual TTaskStatus Status() = 0;
  virtual int Id() = 0;

 protected:
  ~ITask() = default;
};

// Static operations only.
class TTask {
 public:
  TTask() = delete;
  // A task in status Created; start it with Start.
  static IPtr<ITask> Create(std::function<void()> AProc, TThreadPool* APool = nullptr);
  // A task started at once.
  static IPtr<ITask> Run(std::function<void()> AProc, TThreadPool* APool = nullptr);
  // Waits for every task: true when all ended in time. Raises
  // EAggregateException with the exceptions of all failed tasks (a
  // cancelled one adds an EOperationCancelled).
  static bool WaitForAll(std::span<const IPtr<ITask>> ATasks, DWORD ATimeout = INFINITE);
  static bool WaitForAll(std::initializer_list<IPtr<ITask>> ATasks, DWORD ATimeout = INFINITE);
  // The index of the first task that ended, -1 on a time-out.
  static int WaitForAny(std::span<const IPtr<ITask>> ATasks, DWORD ATimeout = INFINITE);
  // The task whose body runs on the calling thread, else null.
  static ITask* CurrentTask();
};

// Unit start-up and shut-down.
void TasksInitialization();
void TasksFinalization();
