// Synchronisation objects.
//
// Classes in this file:
//   TWaitResult             the outcome of a wait
//   TSynchroObject          the base: Acquire, Release, WaitFor
//   TCriticalSection        a re-entrant lock of one process (Enter/Leave)
//   THandleObject           an object with a Windows wait handle
//   TEvent, TSimpleEvent    Windows events (manual or automatic reset)
//   TMonitor                a re-entrant lock on any object, by its address
//   TCriticalSectionLock, TMonitorLock   scope guards for the two locks
#pragma once

#include "platform/runtime/Handles.h"
#include "platform/runtime/SysUtils.h"

#include <cstdint>

enum TWaitResult { wrSignaled, wrTimeout, wrAbandoned, wrError, wrIOCompletion };

class ESyncObjectException : public Exception { public: using Exception::Exception; };

class TSynchroObject : public TObject {
  SK_CLASS(TSynchroObject, TObject)
 public:
  virtual void Acquire() {}
  virtual void Release() {}
  virtual TWaitResult WaitFor(DWORD ATimeout = INFINITE);
};

// A lock for the threads of one process; the owning thread may enter again.
class TCriticalSection : public TSynchroObject {
  SK_CLASS(TCriticalSection, TSynchroObject)
 public:
  void Create();
  // With a spin count: a contended Enter spins that often before it sleeps.
  void Create(DWORD ASpinCount);
  void Destroy() override;

  void Enter() { EnterCriticalSection(&FSection); }
  void Leave() { LeaveCriticalSection(&FSection); }
  bool TryEnter() { return TryEnterCriticalSection(&FSection) != 0; }
  void Acquire() override { Enter(); }
  void Release() override { Leave(); }
  // The previous spin count.
  DWORD SetSpinCount(DWORD ASpinCount) { return SetCriticalSectionSpinCount(&FSection, ASpinCount); }

 private:
  CRITICAL_SECTION FSection;
  bool FInitialized = false;
};

class TCriticalSectionLock {
 public:
  explicit TCriticalSectionLock(TCriticalSection* ASection) : FSection(ASection) { FSection->Enter(); }
  ~TCriticalSectionLock() { FSection->Leave(); }
  TCriticalSectionLock(const TCriticalSectionLock&) = delete;
  TCriticalSectionLock& operator=(const TCriticalSectionLock&) = delete;

 private:
  TCriticalSection* FSection;
};

// An object that owns a Windows wait handle, closed when it is freed.
class THandleObject : public TSynchroObject {
  SK_CLASS(THandleObject, TSynchroObject)
 public:
  void Destroy() override;
  HANDLE Handle() const { return FHandle.Get(); }
  // The Windows error of the last failed wait (wrError).
  DWORD LastError() const { return FLastError; }
  // wrSignaled, wrTimeout, wrAbandoned (an abandoned mutex), wrError.
  TWaitResult WaitFor(DWORD ATimeout = INFINITE) override;

 protected:
  TKernelHandle FHandle;
  DWORD FLastError = 0;
};

// A Windows event. Raises EOSError when it cannot be created.
class TEvent : public THandleObject {
  SK_CLASS(TEvent, THandleObject)
 public:
  // A manual-reset event stays set until ResetEvent; an automatic one lets
  // one waiter through and resets itself. A name makes it shared between
  // processes.
  void Create(bool AManualReset, bool AInitialState, const String& AName = String());
  // A manual-reset event, not set.
  void Create();
  void SetEvent();
  void ResetEvent();
};

// A manual-reset event that starts not set.
class TSimpleEvent : public TEvent {
  SK_CLASS(TSimpleEvent, TEvent)
};

// A re-entrant lock tied to an object's address, for code that guards an
// object's state with "the object's monitor". The lock exists while any
// thread holds or waits for it.
class TMonitor {
 public:
  static void Enter(const void* AObject);
  // False when the lock was not obtained within ATimeout milliseconds.
  static bool Enter(const void* AObject, DWORD ATimeout);
  static bool TryEnter(const void* AObject) { return Enter(AObject, 0); }
  // Raises ESyncObjectException when the calling thread does not hold it.
  static void Exit(const void* AObject);
};

class TMonitorLock {
 public:
  explicit TMonitorLock(const void* AObject) : FObject(AObject) { TMonitor::Enter(FObject); }
  ~TMonitorLock() { TMonitor::Exit(FObject); }
  TMonitorLock(const TMonitorLock&) = delete;
  TMonitorLock& operator=(const TMonitorLock&) = delete;

 private:
  const void* FObject;
};
