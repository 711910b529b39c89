#include "platform/runtime/SyncObjs.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <unordered_map>

// ---------------------------------------------------------------------------
// TSynchroObject

TWaitResult TSynchroObject::WaitFor(DWORD) { return wrError; }

// ---------------------------------------------------------------------------
// TCriticalSection

void TCriticalSection::Create() { Create(0); }

void TCriticalSection::Create(DWORD ASpinCount) {
  InitializeCriticalSectionAndSpinCount(&FSection, ASpinCount);
  FInitialized = true;
}

void TCriticalSection::Destroy() {
  if (FInitialized) DeleteCriticalSection(&FSection);
  FInitialized = false;
  inherited::Destroy();
}

// ---------------------------------------------------------------------------
// THandleObject, TEvent

void THandleObject::Destroy() {
  FHandle.Reset();
  inherited::Destroy();
}

TWaitResult THandleObject::WaitFor(DWORD ATimeout) {
  switch (WaitForSingleObject(FHandle.Get(), ATimeout)) {
    case WAIT_OBJECT_0: return wrSignaled;
    case WAIT_TIMEOUT: return wrTimeout;
    case WAIT_ABANDONED: return wrAbandoned;
    case WAIT_IO_COMPLETION: return wrIOCompletion;
    default:
      FLastError = GetLastError();
      return wrError;
  }
}

void TEvent::Create(bool AManualReset, bool AInitialState, const String& AName) {
  FHandle.Reset(CreateEventW(nullptr, AManualReset, AInitialState, AName.empty() ? nullptr : AName.c_str()));
  if (!FHandle) RaiseLastOSError(GetLastError(), L"CreateEventW");
}

void TEvent::Create() { Create(true, false); }

void TEvent::SetEvent() { ::SetEvent(FHandle.Get()); }
void TEvent::ResetEvent() { ::ResetEvent(FHandle.Get()); }

// ---------------------------------------------------------------------------
// TMonitor: one re-entrant lock per address, made on first use and dropped
// when no thread holds or waits for it.

namespace {

struct TMonitorEntry {
  std::recursive_timed_mutex Lock;
  int Users = 0;                  // Enter calls holding or waiting; guarded by the table lock
  std::atomic<DWORD> Owner{0};    // the holding thread
  std::atomic<int> Depth{0};
};

std::mutex& MonitorTableLock() {
  static std::mutex lock;
  return lock;
}

std::unordered_map<const void*, std::unique_ptr<TMonitorEntry>>& MonitorTable() {
  static std::unordered_map<const void*, std::unique_ptr<TMonitorEntry>> table;
  return table;
}

TMonitorEntry* Acquire(const void* AObject) {
  std::lock_guard<std::mutex> lock(MonitorTableLock());
  auto& entry = MonitorTable()[AObject];
  if (!entry) entry = std::make_unique<TMonitorEntry>();
  ++entry->Users;
  return entry.get();
}

void Unuse(const void* AObject) {
  std::lock_guard<std::mutex> lock(MonitorTableLock());
  auto it = MonitorTable().find(AObject);
  if (it != MonitorTable().end() && --it->second->Users == 0) MonitorTable().erase(it);
}

}  // namespace

void TMonitor::Enter(const void* AObject) { Enter(AObject, INFINITE); }

bool TMonitor::Enter(const void* AObject, DWORD ATimeout) {
  if (!AObject) throw EArgumentNilException(L"Für den Monitor wurde kein Objekt angegeben");
  TMonitorEntry* entry = Acquire(AObject);
  bool locked;
  if (ATimeout == INFINITE) {
    entry->Lock.lock();
    locked = true;
  } else if (ATimeout == 0) {
    locked = entry->Lock.try_lock();
  } else {
    locked = entry->Lock.try_lock_for(std::chrono::milliseconds(ATimeout));
  }
  if (!locked) {
    Unuse(AObject);
    return false;
  }
  entry->Owner = GetCurrentThreadId();
  ++entry->Depth;
  return true;
}

void TMonitor::Exit(const void* AObject) {
  TMonitorEntry* entry = nullptr;
  {
    // Checked under the table lock: an entry nobody holds may vanish at once.
    std::lock_guard<std::mutex> lock(MonitorTableLock());
    auto it = MonitorTable().find(AObject);
    if (it != MonitorTable().end() && it->second->Depth > 0 && it->second->Owner == GetCurrentThreadId())
      entry = it->second.get();
  }
  if (!entry) throw ESyncObjectException(L"Der Monitor des Objekts wird von diesem Thread nicht gehalten");
  if (--entry->Depth == 0) entry->Owner = 0;
  entry->Lock.unlock();
  Unuse(AObject);
}
