// The library's events and threads.
#include "library/core/base/cxClasses.h"

#include "library/core/threading/dxThreading.h"
#include "platform/runtime/SyncObjs.h"
#include "platform/ui/Forms.h"

// ---------------------------------------------------------------------------
// TcxEvent

void TcxEvent::Create(bool AManualReset, bool AInitialState) {
  inherited::Create();
  FHandle.Reset(CreateEventW(nullptr, AManualReset ? TRUE : FALSE, AInitialState ? TRUE : FALSE, nullptr));
  if (!FHandle) RaiseLastOSError();
}

void TcxEvent::Destroy() {
  FHandle.Reset();
  inherited::Destroy();
}

void TcxEvent::SetEvent() { ::SetEvent(FHandle.Get()); }
void TcxEvent::ResetEvent() { ::ResetEvent(FHandle.Get()); }
TWaitResult TcxEvent::WaitFor(DWORD ATimeOut) { return WaitForHandle(FHandle.Get(), ATimeOut); }

// ---------------------------------------------------------------------------
// TcxCustomThread

void TcxCustomThread::ReportThreadException() {
  const std::exception_ptr exception = std::current_exception();
  if (!exception) return;
  try {
    std::rethrow_exception(exception);
  } catch (const EAbort&) {
    return;
  } catch (...) {
  }
  Synchronize([exception] {
    try {
      std::rethrow_exception(exception);
    } catch (...) {
      if (TApplication* application = Application())
        application->HandleException(nullptr);
      else
        HandleCallbackException(nullptr);
    }
  });
}

// ---------------------------------------------------------------------------
// TcxThread

void TcxThread::Create(bool ACreateSuspended, bool ACreatePaused) {
  // The thread starts after construction, so everything it uses exists first.
  inherited::Create(ACreateSuspended);
  FRTLCriticalSection.reset(New<TCriticalSection>());
  FPauseEvent.reset(New<TcxEvent>(true, true));
  FWaitForPauseEvent.reset(New<TcxEvent>(true, true));
  if (ACreatePaused) Pause(false);
}

void TcxThread::Destroy() {
  FDestroying = true;
  Terminate();
  Unpause();
  // The thread may sit at a pause point or still work with the events and
  // the lock below: it has to end before they go.
  if (Started() && !Finished() && GetCurrentThreadId() != ThreadID()) WaitFor();
  FPauseEvent.reset();
  FWaitForPauseEvent.reset();
  FRTLCriticalSection.reset();
  inherited::Destroy();
}

void TcxThread::Pause(bool AWaitForPause) {
  if (FPaused || FDestroying || Terminated()) return;
  {
    TCriticalSectionLock lock(FRTLCriticalSection.get());
    FPaused = true;
    if (!FCheckingForPause) FWaitForPauseEvent->ResetEvent();
    FPauseEvent->ResetEvent();
  }
  if (AWaitForPause) FWaitForPauseEvent->WaitFor(INFINITE);
}

void TcxThread::Unpause() {
  if (!FPaused || !FRTLCriticalSection) return;
  TCriticalSectionLock lock(FRTLCriticalSection.get());
  FPaused = false;
  FPauseEvent->SetEvent();
}

void TcxThread::CheckForPause() {
  bool paused;
  {
    TCriticalSectionLock lock(FRTLCriticalSection.get());
    FCheckingForPause = true;
    paused = FPaused;
  }
  if (paused) {
    FWaitForPauseEvent->SetEvent();
    WaitForSingleObject(FPauseEvent->Handle(), INFINITE);
  }
  TCriticalSectionLock lock(FRTLCriticalSection.get());
  FCheckingForPause = false;
}
