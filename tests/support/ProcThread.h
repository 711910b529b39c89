// A thread for tests that runs a procedure.
#pragma once

#include "platform/runtime/Threads.h"

#include <functional>
#include <utility>

// Runs AProc (which gets the thread itself) once started; the test waits for
// it and frees it.
class TProcThread : public TThread {
  SK_CLASS(TProcThread, TThread)
 public:
  void Create(std::function<void(TProcThread*)> AProc, bool ASuspended = false) {
    FProc = std::move(AProc);
    inherited::Create(ASuspended);
  }
  bool TerminatedNow() const { return Terminated(); }

 protected:
  void Execute() override { FProc(this); }

 private:
  std::function<void(TProcThread*)> FProc;
};
