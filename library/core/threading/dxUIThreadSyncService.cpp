#include "library/core/threading/dxUIThreadSyncService.h"

#include "platform/ui/Forms.h"
#include "platform/ui/WindowAllocation.h"

#include <algorithm>
#include <mutex>

namespace {

using TEnqueuedProcedure = TdxUIThreadSyncService::TEnqueuedProcedure;

// The lock outlives the service: a worker thread may still be on its way in
// while the service stops, and must then find the stopped flag, not a freed
// lock.
CRITICAL_SECTION& QueueLock() {
  static CRITICAL_SECTION section;
  static std::once_flag once;
  std::call_once(once, [] { InitializeCriticalSectionAndSpinCount(&section, 1024); });
  return section;
}

class TQueueLock {
 public:
  TQueueLock() { EnterCriticalSection(&QueueLock()); }
  ~TQueueLock() { LeaveCriticalSection(&QueueLock()); }
  TQueueLock(const TQueueLock&) = delete;
  TQueueLock& operator=(const TQueueLock&) = delete;
};

std::vector<TEnqueuedProcedure> GQueue;
HWND GWindow = nullptr;
// True before start-up and from shut-down on.
bool GStopped = true;

}  // namespace

bool TdxUIThreadSyncService::IsUIThreadSyncStopped() {
  if (GStopped) return true;
  TApplication* application = Application();
  return application && application->Terminated();
}

void TdxUIThreadSyncService::EnqueueInvokeInUIThread(TObject* AOwner, const TThreadProcedure& AProcedure) {
  if (IsUIThreadSyncStopped()) return;
  TQueueLock lock;
  if (GStopped) return;
  GQueue.push_back(TEnqueuedProcedure{AOwner, AProcedure});
  PostMessageW(GWindow, WM_SYNC_PROCEDURES, 0, 0);
}

void TdxUIThreadSyncService::Unsubscribe(TObject* AListener) {
  if (IsUIThreadSyncStopped()) return;
  TQueueLock lock;
  for (auto i = GQueue.size(); i-- > 0;)
    if (GQueue[i].Owner == AListener) GQueue.erase(GQueue.begin() + static_cast<std::ptrdiff_t>(i));
}

int TdxUIThreadSyncService::QueueCount() {
  TQueueLock lock;
  return static_cast<int>(GQueue.size());
}

int TdxUIThreadSyncService::QueueCount(TObject* AOwner) {
  TQueueLock lock;
  return static_cast<int>(std::count_if(GQueue.begin(), GQueue.end(),
                                        [AOwner](const TEnqueuedProcedure& e) { return e.Owner == AOwner; }));
}

HWND TdxUIThreadSyncService::WindowHandle() { return GWindow; }

void TdxUIThreadSyncService::ProcessEnqueuedProcedures() {
  for (;;) {
    if (IsUIThreadSyncStopped()) return;
    TEnqueuedProcedure entry;
    {
      TQueueLock lock;
      if (GQueue.empty()) return;
      // Moving out leaves the slot empty, so its reference goes at once.
      entry = std::move(GQueue.front());
      GQueue.erase(GQueue.begin());
    }
    try {
      if (entry.ProcedureRef) entry.ProcedureRef();
    } catch (...) {
      HandleCallbackException(entry.Owner);
    }
  }
}

void TdxUIThreadSyncService::WindowProc(TObject*, TMessage& AMessage) {
  if (AMessage.Msg == WM_SYNC_PROCEDURES && !GStopped) {
    ProcessEnqueuedProcedures();
    AMessage.Result = 1;
    return;
  }
  AMessage.Result = DefWindowProcW(GWindow, AMessage.Msg, AMessage.WParam, AMessage.LParam);
}

void TdxUIThreadSyncService::Start() {
  QueueLock();
  GWindow = AllocateHWnd(TWndMethod(nullptr, &TdxUIThreadSyncService::WindowProc));
  TQueueLock lock;
  GQueue.reserve(4096);
  GStopped = false;
}

void TdxUIThreadSyncService::Stop() {
  std::vector<TEnqueuedProcedure> dropped;
  {
    TQueueLock lock;
    GStopped = true;
    dropped.swap(GQueue);
  }
  // The procedures are released without running.
  dropped.clear();
  DeallocateHWnd(std::exchange(GWindow, nullptr));
}

void dxUIThreadSyncServiceInitialization() { TdxUIThreadSyncService::Start(); }
void dxUIThreadSyncServiceFinalization() { TdxUIThreadSyncService::Stop(); }
