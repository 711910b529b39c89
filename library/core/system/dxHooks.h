// One Windows hook per hook type, shared by any number of handler procedures.
//
// Classes in this file:
//   TdxHookType        the seven hook types
//   TdxHookProc        a handler procedure
//   TdxSystemHook      the Windows hook of one type and its handlers
//   TdxHookController  the seven system hooks
//
// The Windows hook of a type is set with the type's first handler and
// removed with its last. The handlers are called from the newest to the
// oldest; an exception of one goes to the application object and the next
// handler still runs, and the message always goes on to the next hook. A
// handler only fixes the value the hook returns (0 keeps the next hook's).
// The per-thread hooks belong to the thread that set them; all run on the UI
// thread.
#pragma once

#include "platform/runtime/System.h"

#include <array>
#include <vector>

enum TdxHookType { htKeyboard, htMouse, htWndProc, htGetMessage, htCBT, htWndProcRet, htMouseLL };
constexpr int dxHookTypeCount = 7;

using TdxHookProc = void (*)(int ACode, WPARAM AWParam, LPARAM ALParam, LRESULT& AHookResult);

class TdxSystemHook : public TObject {
  SK_CLASS(TdxSystemHook, TObject)
 public:
  void Create(TdxHookType AHookType);
  void Destroy() override;

  TdxHookType HookType() const { return FHookType; }
  // The Windows hook, null while no handler is registered.
  HHOOK Handle() const { return FHandle; }
  int Count() const { return static_cast<int>(FProcs.size()); }
  TdxHookProc Procs(int AIndex) const { return FProcs.at(static_cast<std::size_t>(AIndex)); }

  // The Windows hook's callback body: every handler, then the next hook.
  LRESULT Dispatch(int ACode, WPARAM AWParam, LPARAM ALParam);

 private:
  friend class TdxHookController;
  void Add(TdxHookProc AProc);
  // Removes the first occurrence; whether there was one.
  bool Remove(TdxHookProc AProc);

  TdxHookType FHookType;
  HHOOK FHandle;
  std::vector<TdxHookProc> FProcs;
};

class TdxHookController : public TObject {
  SK_CLASS(TdxHookController, TObject)
 public:
  void Create();
  // Frees the seven system hooks; hooks still set stay set (each user
  // releases its handlers at its own shut-down).
  void Destroy() override;

  void SetHook(TdxHookType AHookType, TdxHookProc AHookProc);
  // Removes the first occurrence of the procedure from every type.
  void ReleaseHook(TdxHookProc AHookProc);
  TdxSystemHook* Hooks(TdxHookType AHookType) const { return FHooks[static_cast<std::size_t>(AHookType)]; }

 private:
  std::array<TdxSystemHook*, dxHookTypeCount> FHooks;
};

// The process-wide controller, created on the first call (nil once the unit
// has shut down).
TdxHookController* HookController();
void SetSystemHook(TdxHookType AHookType, TdxHookProc AHookProc);
void ReleaseSystemHook(TdxHookProc AHookProc);

void dxHooksFinalization();
