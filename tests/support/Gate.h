// A meeting point for threaded tests.
#pragma once

#include "platform/runtime/WinApi.h"

// A manual-reset Windows event that the test owns: closed until Open.
class TGate {
 public:
  TGate() : FHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~TGate() { CloseHandle(FHandle); }
  TGate(const TGate&) = delete;
  TGate& operator=(const TGate&) = delete;

  void Open() { SetEvent(FHandle); }
  bool IsOpen() const { return WaitForSingleObject(FHandle, 0) == WAIT_OBJECT_0; }
  // A plain wait (any thread): whether the gate opened within ATimeout.
  bool Wait(DWORD ATimeout = 10000) const { return WaitForSingleObject(FHandle, ATimeout) == WAIT_OBJECT_0; }
  HANDLE Handle() const { return FHandle; }

 private:
  HANDLE FHandle;
};
