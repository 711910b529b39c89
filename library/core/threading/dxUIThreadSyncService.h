// Procedures that run later in the UI thread.
//
// Classes in this file:
//   TdxUIThreadSyncService   a queue of (owner, procedure) drained by a hidden window
//
// Any thread (the UI thread too, to postpone work until the current message
// is handled) appends a procedure tagged with an owner object; one posted
// message drains the whole queue in arrival order. An owner that is being
// destroyed withdraws its entries, so no procedure runs for a freed object.
// Once shut-down has begun, or the application object has been told to
// terminate, nothing is queued and queued work no longer runs.
#pragma once

#include "platform/runtime/SyncObjs.h"
#include "platform/runtime/Threads.h"

#include <vector>

class TdxUIThreadSyncService {
 public:
  struct TEnqueuedProcedure {
    TObject* Owner = nullptr;  // not owned
    TThreadProcedure ProcedureRef;
  };
  // The service's private message, posted to its window.
  static constexpr UINT WM_SYNC_PROCEDURES = 0x81C2;

  TdxUIThreadSyncService() = delete;

  static bool IsUIThreadSyncStopped();
  // Ignored once stopped. Every call posts one message.
  static void EnqueueInvokeInUIThread(TObject* AOwner, const TThreadProcedure& AProcedure);
  // Withdraws every queued entry of AListener; ignored once stopped.
  static void Unsubscribe(TObject* AListener);

  // The number of queued entries, and of those of one owner.
  static int QueueCount();
  static int QueueCount(TObject* AOwner);
  // The hidden window (null before start-up and after shut-down).
  static HWND WindowHandle();

 private:
  friend void dxUIThreadSyncServiceInitialization();
  friend void dxUIThreadSyncServiceFinalization();
  static void Start();
  static void Stop();
  static void ProcessEnqueuedProcedures();
  static void WindowProc(TObject* ASelf, TMessage& AMessage);
};

void dxUIThreadSyncServiceInitialization();
void dxUIThreadSyncServiceFinalization();
