#include "library/controls/control/cxControls_Internal.h"

#include "library/core/system/dxHooks.h"

#include "library/core/system/dxDPIAwareUtils.h"
#include "library/core/system/dxUxTheme.h"

#include <algorithm>
#include <utility>

namespace {

TcxSystemController* GSystemController = nullptr;
TdxSystemInfo* GSystemInfo = nullptr;
TdxMessagesController* GMessagesController = nullptr;
TcxWindowProcController* GWindowProcController = nullptr;
bool GControlsFinalized = false;
bool GBufferedPaintInitialized = false;

constexpr UINT SpiGetMouseWheelRouting = 0x201C;
constexpr UINT SpiSetMouseWheelRouting = 0x201D;
// The setting change after which the library's cursors are loaded again.
constexpr UINT SpiCursorsChanged = 159;

const wchar_t* const BlockedControllerProp = L"dxMessagesController";

}  // namespace

// ---------------------------------------------------------------------------
// TcxSystemController

void TcxSystemController::Create(bool AInsideLibrary) {
  inherited::Create();
  if (!AInsideLibrary) return;
  const HWND window = Handle();
  FPrevWakeMainThread = SetWakeMainThread([window] { PostMessageW(window, WM_SYNCHRONIZE_THREADS, 0, 0); });
  FWakeInstalled = true;
}

void TcxSystemController::Destroy() {
  if (FWakeInstalled) SetWakeMainThread(std::exchange(FPrevWakeMainThread, nullptr));
  FWakeInstalled = false;
  inherited::Destroy();
}

void TcxSystemController::WndProc(TMessage& AMessage) {
  if (AMessage.Msg == WM_SYNCHRONIZE_THREADS) {
    CheckSynchronize();
    return;
  }
  inherited::WndProc(AMessage);
}

// ---------------------------------------------------------------------------
// TdxSystemInfo

void TdxSystemInfo::Create() {
  inherited::Create();
  UpdateCache(SPI_SETDROPSHADOW);
  UpdateCache(SPI_SETNONCLIENTMETRICS);
  UpdateCache(SpiSetMouseWheelRouting);
}

void TdxSystemInfo::Destroy() {
  FListeners.clear();
  inherited::Destroy();
}

bool TdxSystemInfo::IsMessageOnly() { return !IsWin10OrLater; }

void TdxSystemInfo::AddListener(IdxSystemInfoListener* AListener) {
  if (AListener) FListeners.emplace_back(AListener);
}

void TdxSystemInfo::RemoveListener(IdxSystemInfoListener* AListener) {
  auto it = std::find_if(FListeners.begin(), FListeners.end(),
                         [AListener](const IPtr<IdxSystemInfoListener>& L) { return L.Get() == AListener; });
  if (it != FListeners.end()) FListeners.erase(it);
}

bool TdxSystemInfo::GetParameter(UINT ACode, void* AValue) {
  UINT parameter = 0;
  switch (ACode) {
    case SPI_GETICONTITLELOGFONT:
      parameter = sizeof(LOGFONTW);
      break;
    case SPI_GETNONCLIENTMETRICS:
      static_cast<NONCLIENTMETRICSW*>(AValue)->cbSize = sizeof(NONCLIENTMETRICSW);
      break;
    case SPI_GETANIMATION:
      static_cast<ANIMATIONINFO*>(AValue)->cbSize = sizeof(ANIMATIONINFO);
      parameter = sizeof(ANIMATIONINFO);
      break;
  }
  return SystemParametersInfoW(ACode, parameter, AValue, 0) != FALSE;
}

bool TdxSystemInfo::IsRemoteSession() { return GetSystemMetrics(SM_REMOTESESSION) == 1; }

void TdxSystemInfo::UpdateCache(UINT AParameter) {
  switch (AParameter) {
    case SPI_SETDROPSHADOW: {
      BOOL value = FALSE;
      FIsDropShadow = GetParameter(SPI_GETDROPSHADOW, value) && value != FALSE;
      break;
    }
    case SPI_SETNONCLIENTMETRICS:
      GetParameter(SPI_GETNONCLIENTMETRICS, FNonClientMetrics);
      break;
    case SpiSetMouseWheelRouting: {
      DWORD value = 0;
      FUseMouseWheelRouting = IsWin10OrLater && GetParameter(SpiGetMouseWheelRouting, value) && value != 0;
      break;
    }
    case SpiCursorsChanged:
      TdxCursorManager::Refresh();
      break;
  }
}

void TdxSystemInfo::WndProc(TMessage& AMessage) {
  if (AMessage.Msg == WM_SETTINGCHANGE && AMessage.WParam != 0) {
    const UINT parameter = static_cast<UINT>(AMessage.WParam);
    UpdateCache(parameter);
    // A listener may remove itself while it is told.
    const std::vector<IPtr<IdxSystemInfoListener>> listeners = FListeners;
    for (const IPtr<IdxSystemInfoListener>& listener : listeners) listener->Changed(parameter);
    AMessage.Result = 0;
    return;
  }
  inherited::WndProc(AMessage);
}

// ---------------------------------------------------------------------------
// TdxMessagesController

void TdxMessagesController::Destroy() {
  Unblock();
  inherited::Destroy();
}

void TdxMessagesController::LockMessages(std::initializer_list<UINT> AMessages) {
  FLockedMessages.insert(FLockedMessages.end(), AMessages.begin(), AMessages.end());
}

void TdxMessagesController::UnlockMessages(std::initializer_list<UINT> AMessages) {
  for (UINT message : AMessages) {
    auto it = std::find(FLockedMessages.begin(), FLockedMessages.end(), message);
    if (it != FLockedMessages.end()) FLockedMessages.erase(it);
  }
}

bool TdxMessagesController::IsMessageLocked(UINT AMessage) const {
  return std::find(FLockedMessages.begin(), FLockedMessages.end(), AMessage) != FLockedMessages.end();
}

void TdxMessagesController::BlockMessage(HWND AWnd) {
  if (FOldWndProc) throw EdxException(L"dxLockMessage fails");
  if (!IsWindow(AWnd)) throw EdxException(L"dxLockMessage fails");
  SetPropW(AWnd, BlockedControllerProp, this);
  FBlockedWnd = AWnd;
  FOldWndProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(AWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TdxMessagesController::BlockingWndProc)));
}

void TdxMessagesController::BlockLockedMessage(HWND AWnd, UINT& AMessage) {
  if (!IsMessageLocked(AMessage)) return;
  BlockMessage(AWnd);
  AMessage = 0;
}

void TdxMessagesController::Unblock() {
  if (!FOldWndProc) return;
  if (IsWindow(FBlockedWnd)) {
    SetWindowLongPtrW(FBlockedWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FOldWndProc));
    RemovePropW(FBlockedWnd, BlockedControllerProp);
  }
  FOldWndProc = nullptr;
  FBlockedWnd = nullptr;
}

LRESULT CALLBACK TdxMessagesController::BlockingWndProc(HWND AWnd, UINT AMsg, WPARAM AWParam, LPARAM ALParam) {
  auto* controller = static_cast<TdxMessagesController*>(GetPropW(AWnd, BlockedControllerProp));
  if (!controller || controller->FBlockedWnd != AWnd) return DefWindowProcW(AWnd, AMsg, AWParam, ALParam);
  controller->Unblock();
  return 1;
}

bool TdxMessagesController::IsMessageInQueue(HWND AWnd, UINT AMessage) {
  MSG msg;
  return PeekMessageW(&msg, AWnd, AMessage, AMessage, PM_NOREMOVE | PM_NOYIELD) && msg.hwnd == AWnd;
}

bool TdxMessagesController::KillMessages(HWND AWnd, UINT AMsgFrom, bool APurgeAll, UINT AMsgTo) {
  if (AMsgTo == 0) AMsgTo = AMsgFrom;
  bool removed = false;
  MSG msg;
  while (PeekMessageW(&msg, AWnd, AMsgFrom, AMsgTo, PM_REMOVE | PM_NOYIELD)) {
    if (msg.message == WM_QUIT) {
      // The loop that asked to quit must still see its request.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    removed = true;
    if (!APurgeAll) break;
  }
  return removed;
}

// ---------------------------------------------------------------------------
// Accessors and the unit

TcxSystemController* cxSystemController() { return GSystemController; }

TdxSystemInfo* SystemInfo() {
  if (!GSystemInfo && !GControlsFinalized) GSystemInfo = New<TdxSystemInfo>();
  return GSystemInfo;
}

TdxMessagesController* MessagesController() {
  if (!GMessagesController && !GControlsFinalized) GMessagesController = New<TdxMessagesController>();
  return GMessagesController;
}

TcxWindowProcController* WindowProcController() {
  if (!GWindowProcController && !GControlsFinalized) GWindowProcController = New<TcxWindowProcController>();
  return GWindowProcController;
}

namespace {

// The unit's work that the units loader runs: the system's buffered painting
// exists from Windows Vista on.
void StartControls() {
  if (IsWinVistaOrLater) GBufferedPaintInitialized = SUCCEEDED(UxBufferedPaintInit());
  CreateDesignSelectorGlyphCache();
}

void StopControls() {
  FreeDesignSelectorGlyphCache();
  if (std::exchange(GBufferedPaintInitialized, false)) UxBufferedPaintUnInit();
}

}  // namespace

bool cxControlsBufferedPaintInitialized() { return GBufferedPaintInitialized; }

bool cxControlsFinalizing() { return GControlsFinalized; }

void cxControlsInitialization() {
  GControlsFinalized = false;
  RegisterLibraryCursors();
  GSystemController = New<TcxSystemController>();
  if (TdxUnitsLoader* loader = GetUnitsLoader())
    loader->AddUnit(&StartControls, &StopControls);
  else
    StartControls();
  CreateApplicationActivateWindowHelper();
  BindLayeredWindowFunctions();
  SetSystemHook(htWndProc, &OverlayScrollBarsWndProcHook);
}

void cxControlsFinalization() {
  GControlsFinalized = true;
  ReleaseSystemHook(&OverlayScrollBarsWndProcHook);
  FreeApplicationActivateWindowHelper();
  if (TdxUnitsLoader* loader = GetUnitsLoader())
    loader->RemoveUnit(&StopControls);
  else
    StopControls();
  UnregisterLibraryCursors();
  FreeAndNil(GSystemController);
  // Tracking timers still running here are freed without telling anyone.
  FreeMouseTrackingTimerList();
  FreeAndNil(GWindowProcController);
  FreeAndNil(GMessagesController);
  FreeAndNil(GSystemInfo);
}
