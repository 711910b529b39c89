// A meeting point for threaded tests.
#pragma once

#include "platform/runtime/Handles.h"

// A manual-reset Windows event that the test owns: closed until Open.
class TGate {
 public:
  TGate() : FHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

  void Open() { SetEvent(FHandle.Get()); }
  bool IsOpen() const { return WaitForSingleObject(FHandle.Get(), 0) == WAIT_OBJECT_0; }
  // A plain wait (any thread): whether the gate opened within ATimeout.
  bool Wait(DWORD ATimeout = 10000) const { return WaitForSingleObject(FHandle.Get(), ATimeout) == WAIT_OBJECT_0; }
  HANDLE Handle() const { return FHandle.Get(); }

 private:
  TKernelHandle FHandle;
};
