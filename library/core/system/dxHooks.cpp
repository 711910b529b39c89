#include "library/core/system/dxHooks.h"

#include "library/core/base/dxCore.h"
#include "platform/runtime/SysUtils.h"

#include <algorithm>

namespace {

TdxHookController* GHookController = nullptr;
bool GHooksFinalized = false;

template <TdxHookType Type>
LRESULT CALLBACK HookCallback(int ACode, WPARAM AWParam, LPARAM ALParam) {
  TdxHookController* controller = HookController();
  if (!controller) return CallNextHookEx(nullptr, ACode, AWParam, ALParam);
  return controller->Hooks(Type)->Dispatch(ACode, AWParam, ALParam);
}

struct THookTypeInfo {
  int WindowsHook;
  HOOKPROC Callback;
  bool AllThreads;
};

const THookTypeInfo HookTypes[dxHookTypeCount] = {
    {WH_KEYBOARD, &HookCallback<htKeyboard>, false},     {WH_MOUSE, &HookCallback<htMouse>, false},
    {WH_CALLWNDPROC, &HookCallback<htWndProc>, false},   {WH_GETMESSAGE, &HookCallback<htGetMessage>, false},
    {WH_CBT, &HookCallback<htCBT>, false},               {WH_CALLWNDPROCRET, &HookCallback<htWndProcRet>, false},
    {WH_MOUSE_LL, &HookCallback<htMouseLL>, true},
};

}  // namespace

// ---------------------------------------------------------------------------
// TdxSystemHook

void TdxSystemHook::Create(TdxHookType AHookType) {
  inherited::Create();
  FHookType = AHookType;
}

void TdxSystemHook::Destroy() {
  FProcs.clear();
  inherited::Destroy();
}

void TdxSystemHook::Add(TdxHookProc AProc) {
  if (FProcs.empty()) {
    const THookTypeInfo& info = HookTypes[FHookType];
    // A refusal leaves the handle empty; the handlers then simply never run.
    FHandle = SetWindowsHookExW(info.WindowsHook, info.Callback, nullptr, info.AllThreads ? 0 : GetCurrentThreadId());
  }
  FProcs.push_back(AProc);
}

bool TdxSystemHook::Remove(TdxHookProc AProc) {
  auto it = std::find(FProcs.begin(), FProcs.end(), AProc);
  if (it == FProcs.end()) return false;
  FProcs.erase(it);
  if (FProcs.empty() && FHandle) UnhookWindowsHookEx(std::exchange(FHandle, nullptr));
  return true;
}

LRESULT TdxSystemHook::Dispatch(int ACode, WPARAM AWParam, LPARAM ALParam) {
  LRESULT result = 0;
  // A handler may register or release handlers: walk by index and stay
  // inside the list as it is now.
  for (int i = Count() - 1; i >= 0; --i) {
    if (i >= Count()) continue;
    try {
      FProcs[static_cast<std::size_t>(i)](ACode, AWParam, ALParam, result);
    } catch (...) {
      HandleCallbackException(nullptr);
    }
  }
  const LRESULT next = CallNextHookEx(FHandle, ACode, AWParam, ALParam);
  return result != 0 ? result : next;
}

// ---------------------------------------------------------------------------
// TdxHookController

void TdxHookController::Create() {
  inherited::Create();
  for (int t = 0; t < dxHookTypeCount; ++t) FHooks[static_cast<std::size_t>(t)] = New<TdxSystemHook>(static_cast<TdxHookType>(t));
}

void TdxHookController::Destroy() {
  for (TdxSystemHook*& hook : FHooks) FreeAndNil(hook);
  inherited::Destroy();
}

void TdxHookController::SetHook(TdxHookType AHookType, TdxHookProc AHookProc) {
  if (!AHookProc) return;
  Hooks(AHookType)->Add(AHookProc);
}

void TdxHookController::ReleaseHook(TdxHookProc AHookProc) {
  for (TdxSystemHook* hook : FHooks) hook->Remove(AHookProc);
}

// ---------------------------------------------------------------------------
// Unit routines

TdxHookController* HookController() {
  if (!GHookController && !GHooksFinalized) GHookController = New<TdxHookController>();
  return GHookController;
}

void SetSystemHook(TdxHookType AHookType, TdxHookProc AHookProc) {
  if (TdxHookController* controller = HookController()) controller->SetHook(AHookType, AHookProc);
}

void ReleaseSystemHook(TdxHookProc AHookProc) {
  if (TdxHookController* controller = HookController()) controller->ReleaseHook(AHookProc);
}

void dxHooksFinalization() {
  GHooksFinalized = true;
  // From here on the callbacks find no controller and only pass messages on.
  TdxHookController* controller = std::exchange(GHookController, nullptr);
  ScheduleGlobalObjectFree(controller);
}
