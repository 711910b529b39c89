// Recording timer ticks in tests.
#pragma once

#include "platform/runtime/SysUtils.h"

#include <vector>

// Records the ticks of the timers bound to it (sender and time); can free
// its timer from inside its own tick, and raise.
class TTickSink : public TObject {
  SK_CLASS(TTickSink, TObject)
 public:
  std::vector<TObject*> Senders;
  std::vector<ULONGLONG> Times;
  // Freed (and set to null) at the next tick.
  TObject* FreeOnTick = nullptr;
  bool Raise = false;

  void Tick(TObject* Sender) {
    Senders.push_back(Sender);
    Times.push_back(GetTickCount64());
    if (FreeOnTick) FreeAndNil(FreeOnTick);
    if (Raise) throw EConvertError(L"tick failed");
  }
  TNotifyEvent Event() { return BindEvent<&TTickSink::Tick>(this); }
};
