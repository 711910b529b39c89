#include "library/controls/windows/dxForms.h"

#include "library/controls/control/cxControls.h"
#include "library/controls/windows/cxDWMApi.h"
#include "library/core/base/cxClasses.h"
#include "library/core/base/dxCoreClasses.h"
#include "library/core/system/dxDPIAwareUtils.h"
#include "library/core/system/dxHooks.h"
#include "library/core/threading/dxUIThreadSyncService.h"
#include "platform/runtime/Handles.h"
#include "platform/runtime/SysUtils.h"
#include "platform/runtime/TypInfo.h"
#include "platform/ui/GdiScopes.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <utility>

namespace {

constexpr int MinScalingDpi = 30;
constexpr int MaxScalingDpi = 480;

bool IsScalingDpi(int ADpi) { return ADpi >= MinScalingDpi && ADpi <= MaxScalingDpi; }

// Forms whose scale change runs, and forms handling a WM_DPICHANGED the
// scaling procedure sent them.
std::vector<TCustomForm*> GScaleChangeList;
std::vector<TCustomForm*> GDpiMessageList;

bool Contains(const std::vector<TCustomForm*>& AList, const TControl* AControl) {
  return std::find(AList.begin(), AList.end(), AControl) != AList.end();
}

void RemoveFrom(std::vector<TCustomForm*>& AList, TCustomForm* AForm) {
  const auto it = std::find(AList.begin(), AList.end(), AForm);
  if (it != AList.end()) AList.erase(it);
}

bool DefaultWindows11Probe() { return IsWin11OrLater; }
TdxWindows11Probe GWindows11Probe = &DefaultWindows11Probe;
bool IsWindows11() { return GWindows11Probe(); }

template <class F>
void BindEntry(HMODULE AModule, const char* AName, F& AEntry) {
  AEntry = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(AModule, AName)));
}

TEnableNonClientDpiScaling GEnableNonClientDpiScaling = nullptr;
TSetWindowCompositionAttribute GSetWindowCompositionAttribute = nullptr;

// A window size whose client part (the size less the non-client extent) is
// scaled by M / D; the extent stays as it is.
TSize ScaleKeepingExtent(const TSize& AWindow, const TSize& AExtent, int M, int D) {
  return TSize(MulDiv(AWindow.cx - AExtent.cx, M, D) + AExtent.cx, MulDiv(AWindow.cy - AExtent.cy, M, D) + AExtent.cy);
}

void CollectControls(TControl* AControl, std::vector<TControl*>& AList) {
  AList.push_back(AControl);
  if (auto* windowed = dynamic_cast<TWinControl*>(AControl))
    for (int i = 0; i < windowed->ControlCount(); ++i) CollectControls(windowed->Controls(i), AList);
}

}  // namespace

TdxWindows11Probe dxSetWindows11Probe(TdxWindows11Probe AProbe) {
  return std::exchange(GWindows11Probe, AProbe ? AProbe : &DefaultWindows11Probe);
}

bool dxIsWindows11() { return IsWindows11(); }

TEnableNonClientDpiScaling dxEnableNonClientDpiScaling() { return GEnableNonClientDpiScaling; }
TSetWindowCompositionAttribute dxSetWindowCompositionAttribute() { return GSetWindowCompositionAttribute; }

// ---------------------------------------------------------------------------
// TdxCustomForm

void TdxCustomForm::Publish(TPublisher<TdxCustomForm>& P) {
  P.Message<&TdxCustomForm::CMBiDiModeChanged>(CM_BIDIMODECHANGED);
  P.Message<&TdxCustomForm::WMDpiChanged>(WM_DPICHANGED);
}

void TdxCustomForm::CreateNew(TComponent* AOwner) {
  inherited::CreateNew(AOwner);
  SetCurrentPPI(PixelsPerInch());
  FScaleFactor.reset(New<TdxScaleFactor>());
  FScaleFactor->Assign(GetFormPixelsPerInch(this), dxDefaultDPI, false);
  FRightToLeftLayout = bDefault;
}

void TdxCustomForm::Destroy() {
  TdxUIThreadSyncService::Unsubscribe(this);
  inherited::Destroy();
  FScaleFactor.reset();
}

bool TdxCustomForm::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IdxScaleFactor>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
}

void TdxCustomForm::ScaleForPPI(int ATargetDPI) {
  if (TdxFormHelper::IsScaleChanging(this)) inherited::ScaleForPPI(ATargetDPI);
  else ScaleForPPI(ATargetDPI, nullptr);
}

void TdxCustomForm::ScaleForPPI(int ATargetDPI, const TRect* AWindowRect) {
  TdxFormHelper::ScaleForPPI(this, ATargetDPI, false, AWindowRect);
}

void TdxCustomForm::ForceScaleForPPI(int ATargetDPI, const TRect* AWindowRect) {
  const bool scaled = Scaled();
  SetScaled(true);
  const TScopeExit restore([this, scaled] { SetScaled(scaled); });
  ScaleForPPI(ATargetDPI, AWindowRect);
}

void TdxCustomForm::ChangeScale(int M, int D, bool AIsDpiChange) {
  const int oldDpi = CurrentPPI();
  FScaleFactor->Change(M, D);
  inherited::ChangeScale(M, D, AIsDpiChange);
  if (AIsDpiChange) TdxFormHelper::ScaleComponentsForDpi(this, MulDiv(oldDpi, M, D));
  ScaleChanged(M, D);
}

void TdxCustomForm::ScaleBy(int M, int D) { ScaleForPPI(MulDiv(GetFormPixelsPerInch(this), M, D)); }

void TdxCustomForm::ScaleChanged(int /*M*/, int /*D*/) { UpdateImageListsForDpi(); }

void TdxCustomForm::UpdateImageListsForDpi() {
  // The factor already holds the new DPI; PixelsPerInch follows later.
  TdxFormImageListHelper::Execute(ScaleFactorToDpi(FScaleFactor.get()), this);
}

void TdxCustomForm::CreateWnd() {
  inherited::CreateWnd();
  if (Parent()) ScaleForPPI(Parent()->CurrentPPI());
}

void TdxCustomForm::SetParent(TWinControl* AValue) {
  if (!TcxControlHelper::CanSetParent(this, AValue)) return;
  inherited::SetParent(AValue);
  TcxControlHelper::UpdateScaleFactorOnParentChange(this);
}

void TdxCustomForm::WMDpiChanged(TMessage& Message) {
  if (TdxFormHelper::ShouldPassDpiChangeMessage(this)) {
    TdxFormHelper::ProcessDpiChangeMessageBegin(this);
    const TScopeExit ended([this] { TdxFormHelper::ProcessDpiChangeMessageEnd(this); });
    inherited::WMDpiChanged(Message);
  } else if (Scaled()) {
    const auto* suggested = reinterpret_cast<const RECT*>(Message.LParam);
    const TRect rect = suggested ? TRect(*suggested) : TRect();
    TdxFormHelper::ScaleForPPI(this, HIWORD(Message.WParam), true, suggested ? &rect : nullptr);
  }
  Message.Result = 0;
}

// Right to left -------------------------------------------------------------

bool TdxCustomForm::IsRightToLeftLayoutRequested() const {
  return FRightToLeftLayout == bTrue || (FRightToLeftLayout == bDefault && UseRightToLeftAlignment());
}

void TdxCustomForm::SetRightToLeftLayout(TdxDefaultBoolean AValue) {
  if (FRightToLeftLayout == AValue) return;
  FRightToLeftLayout = AValue;
  CheckRightToLeftLayout();
}

void TdxCustomForm::CMBiDiModeChanged(TMessage& Message) {
  inherited::CMBiDiModeChanged(Message);
  CheckRightToLeftLayout();
}

void TdxCustomForm::CheckRightToLeftLayout() {
  const bool requested = IsRightToLeftLayoutRequested();
  if (requested == FRightToLeftApplied) return;
  if (FormState().Contains(fsShowing)) {
    // Recreating the window while it is being shown would lose the showing.
    TdxUIThreadSyncService::EnqueueInvokeInUIThread(this, [this] { CheckRightToLeftLayout(); });
    return;
  }
  ApplyRightToLeftLayout(requested);
}

void TdxCustomForm::ApplyRightToLeftLayout(bool AValue) {
  FRightToLeftApplied = AValue;
  if (AValue) TdxFormRightToLeftLayoutHelper::ResetMenusBiDiMode(this);
  else TdxFormRightToLeftLayoutHelper::SetMenusParentBiDiMode(this);
  RecreateWnd();
}

void TdxCustomForm::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (FRightToLeftApplied) TdxFormRightToLeftLayoutHelper::AddRightToLeftFormExStyle(Params);
}

TPoint TdxCustomForm::ClientOrigin() {
  TPoint origin = inherited::ClientOrigin();
  // A mirrored window maps its client origin to the right edge.
  if (FRightToLeftApplied) origin.X -= ClientWidth();
  return origin;
}

// ---------------------------------------------------------------------------
// TdxFormHelper

void TdxFormHelper::ScaleForPPI(TCustomForm* AForm, int ATargetDPI, bool AFromDpiMessage, const TRect* AWindowRect) {
  if (!IsScalingDpi(ATargetDPI) || IsScaleChanging(AForm)) return;
  if (ATargetDPI == GetFormPixelsPerInch(AForm)) {
    if (AForm->ComponentState().Contains(csLoading) && AForm->Scaled()) ScaleComponentsForDpi(AForm, ATargetDPI);
    return;
  }
  AForm->HandleNeeded();
  const int oldDpi = GetFormPixelsPerInch(AForm);
  if (ATargetDPI == oldDpi) return;

  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  if (!GetWindowPlacement(AForm->Handle(), &placement)) placement.rcNormalPosition = RECT{};
  if (!IsWindowVisible(AForm->Handle())) placement.showCmd = SW_HIDE;

  const TState state = BeginFormScaleChange(AForm);
  TryFinally(
      [&] {
        const TRect bounds = AForm->BoundsRect();
        const TRect client = AForm->ClientRect();
        const TSize extent(bounds.Width() - client.Width(), bounds.Height() - client.Height());
        const bool parentFont = AForm->ParentFont();
        if (AWindowRect && AFromDpiMessage) {
          RECT suggested = *AWindowRect;
          SendMessageW(AForm->Handle(), WM_DPICHANGED, MAKEWPARAM(ATargetDPI, ATargetDPI),
                       reinterpret_cast<LPARAM>(&suggested));
        } else {
          AForm->ScaleForPPI(ATargetDPI);
        }
        AForm->SetParentFont(parentFont);
        AForm->SetPixelsPerInch(ATargetDPI);

        if (AWindowRect) {
          AForm->SetBoundsRect(*AWindowRect);
        } else if (placement.showCmd == SW_SHOWMAXIMIZED) {
          const TRect normal(placement.rcNormalPosition);
          if (!normal.IsEmpty()) {
            const TSize size = ScaleKeepingExtent(normal.GetSize(), extent, ATargetDPI, oldDpi);
            // The restore rectangle is in workspace coordinates; its corner stays.
            placement.rcNormalPosition = TRect::CreateFromPointAndExtent(normal.TopLeft(), size.cx, size.cy);
            SetWindowPlacement(AForm->Handle(), &placement);
          }
          AForm->SetBoundsRect(bounds);
        } else {
          const TSize size = ScaleKeepingExtent(bounds.GetSize(), extent, ATargetDPI, oldDpi);
          AForm->SetBounds(bounds.Left, bounds.Top, size.cx, size.cy);
        }
      },
      [&] { EndFormScaleChange(state); });
}

TdxFormHelper::TState TdxFormHelper::BeginFormScaleChange(TCustomForm* AForm) {
  GScaleChangeList.push_back(AForm);
  TState state;
  state.Form = AForm;
  CollectControls(AForm, state.LockedControls);
  for (TControl* control : state.LockedControls) state.Trackers.push_back(std::make_unique<TControlTracker>(control));
  const bool maximised = std::any_of(state.LockedControls.begin(), state.LockedControls.end(), [](TControl* c) {
    auto* form = dynamic_cast<TCustomForm*>(c);
    return form && form->HandleAllocated() && IsZoomed(form->Handle());
  });
  state.RedrawLocked = IsWinVistaOrLater && AForm->HandleAllocated() && IsWindowVisible(AForm->Handle()) && !maximised;
  // The form is the first collected control.
  for (TControl* control : state.LockedControls) control->Perform(DXM_SCALECHANGING, 0, 0);
  if (state.RedrawLocked) AForm->Perform(WM_SETREDRAW, FALSE, 0);
  AForm->DisableAlign();
  return state;
}

void TdxFormHelper::EndFormScaleChange(const TState& AState) {
  TCustomForm* form = AState.Form;
  const TScopeExit leave([form] { RemoveFrom(GScaleChangeList, form); });
  if (!AState.Trackers[0]->Alive()) return;
  form->EnableAlign();
  form->Realign();
  if (AState.RedrawLocked) form->Perform(WM_SETREDRAW, TRUE, 0);
  // In reverse: the form hears last.
  for (std::size_t i = AState.LockedControls.size(); i-- > 0;)
    if (AState.Trackers[i]->Alive()) AState.LockedControls[i]->Perform(DXM_SCALECHANGED, 0, 0);
  if (AState.RedrawLocked && AState.Trackers[0]->Alive() && form->HandleAllocated())
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_ERASE | RDW_FRAME);
}

void TdxFormHelper::ScaleComponentsForDpi(TComponent* AOwner, int ANewPPI) {
  for (int i = 0; i < AOwner->ComponentCount(); ++i)
    if (IcxScalableComponent* scalable = SupportsRaw<IcxScalableComponent>(AOwner->Components(i)))
      scalable->ScaleForPPI(ANewPPI);
}

bool TdxFormHelper::IsScaleChanging(TControl* AContainer) {
  for (TControl* c = AContainer; c; c = c->Parent())
    if (Contains(GScaleChangeList, c)) return true;
  return false;
}

bool TdxFormHelper::ShouldPassDpiChangeMessage(TCustomForm* AForm) {
  return IsScaleChanging(AForm) && !Contains(GDpiMessageList, AForm);
}

bool TdxFormHelper::CanResetScalingFlags(TComponent* AComponent, int M, int D) {
  return !(AComponent->ComponentState().Contains(csLoading) && M == D && M != 1);
}

void TdxFormHelper::ResetScalingFlags(TControl* AControl) {
  AControl->SetScalingFlags({});
  if (auto* windowed = dynamic_cast<TWinControl*>(AControl))
    for (int i = 0; i < windowed->ControlCount(); ++i) ResetScalingFlags(windowed->Controls(i));
}

void TdxFormHelper::ProcessDpiChangeMessageBegin(TCustomForm* AForm) { GDpiMessageList.push_back(AForm); }

void TdxFormHelper::ProcessDpiChangeMessageEnd(TCustomForm* AForm) { RemoveFrom(GDpiMessageList, AForm); }

int TdxFormHelper::ScaleChangeCount() { return static_cast<int>(GScaleChangeList.size()); }

bool TdxFormHelper::GetAnimation() {
  ANIMATIONINFO info{};
  info.cbSize = sizeof(info);
  SystemParametersInfoW(SPI_GETANIMATION, sizeof(info), &info, 0);
  return info.iMinAnimate != 0;
}

bool TdxFormHelper::SetAnimation(bool AValue) {
  const bool previous = GetAnimation();
  if (previous != AValue) {
    ANIMATIONINFO info{};
    info.cbSize = sizeof(info);
    info.iMinAnimate = AValue;
    SystemParametersInfoW(SPI_SETANIMATION, sizeof(info), &info, 0);
  }
  return previous;
}

LONG_PTR TdxFormHelper::LockWindowRedrawing(HWND AWnd) {
  const LONG_PTR style = GetWindowLongPtrW(AWnd, GWL_STYLE);
  // Over a remote desktop connection the hidden window would be sent blank.
  if (!GetSystemMetrics(SM_REMOTESESSION)) SetWindowLongPtrW(AWnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VISIBLE));
  return style;
}

void TdxFormHelper::UnlockWindowRedrawing(HWND AWnd, LONG_PTR APrevStyle) {
  SetWindowLongPtrW(AWnd, GWL_STYLE, APrevStyle);
}

void TdxFormHelper::SetWindowTextWithoutRedrawing(HWND AWnd, const String& AText) {
  const LONG_PTR style = LockWindowRedrawing(AWnd);
  const TScopeExit unlock([AWnd, style] { UnlockWindowRedrawing(AWnd, style); });
  DefWindowProcW(AWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(AText.c_str()));
}

HRGN TdxFormHelper::CreateRoundedRegion(const TRect& ABounds, int ARadius) {
  const int ellipse = 2 * ARadius + 1;
  return CreateRoundRectRgn(ABounds.Left, ABounds.Top, ABounds.Right + 1, ABounds.Bottom + 1, ellipse, ellipse);
}

int TdxFormHelper::GetMinBorderWidth(int ARadius) {
  // std::nearbyint rounds halves to even in the default rounding mode.
  return static_cast<int>(std::nearbyint((1.0 - std::sqrt(2.0) / 2.0) * ARadius)) + 2;
}

HRGN TdxFormHelper::GetRegion(TWinControl* AForm) {
  const HWND wnd = AForm->Handle();
  RECT windowRect{};
  GetWindowRect(wnd, &windowRect);
  const TRect bounds(0, 0, windowRect.right - windowRect.left, windowRect.bottom - windowRect.top);
  TOwnedRegion region(CreateRectRgn(0, 0, 0, 0));
  const int kind = GetWindowRgn(wnd, region.Get());
  bool useDefault = kind == ERROR || kind == NULLREGION;
  if (!useDefault && kind == SIMPLEREGION && IsWindows11()) {
    RECT box{};
    GetRgnBox(region.Get(), &box);
    useDefault = TRect(box) == bounds;
  }
  if (!useDefault) return region.Release();
  if (IsWindows11()) {
    const int preference = GetWindowCornerPreference(wnd);
    if (preference == dxCornerRound || preference == dxCornerRoundSmall) {
      const int radius = preference == dxCornerRound ? 8 : 4;
      return CreateRoundedRegion(bounds, GetScaleFactorOf(AForm)->Apply(radius));
    }
  }
  return CreateRectRgn(bounds.Left, bounds.Top, bounds.Right, bounds.Bottom);
}

void TdxFormHelper::RepaintVisibleWindowArea(HWND AWnd, TOwnedRegion& APrevVisibleRegion) {
  RECT window{};
  if (!GetWindowRect(AWnd, &window)) return;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (!GetMonitorInfoW(MonitorFromWindow(AWnd, MONITOR_DEFAULTTONEAREST), &monitor)) return;
  RECT visible{};
  IntersectRect(&visible, &window, &monitor.rcWork);
  OffsetRect(&visible, -window.left, -window.top);
  TOwnedRegion region(CreateRectRgnIndirect(&visible));
  if (APrevVisibleRegion && EqualRgn(region.Get(), APrevVisibleRegion.Get())) return;
  TOwnedRegion fresh(CreateRectRgn(0, 0, 0, 0));
  const int kind = APrevVisibleRegion ? CombineRgn(fresh.Get(), region.Get(), APrevVisibleRegion.Get(), RGN_DIFF)
                                      : CombineRgn(fresh.Get(), region.Get(), nullptr, RGN_COPY);
  APrevVisibleRegion = std::move(region);
  if (kind == NULLREGION || kind == ERROR) return;
  // RedrawWindow takes client coordinates; the region is the window's.
  POINT client{0, 0};
  ClientToScreen(AWnd, &client);
  OffsetRgn(fresh.Get(), window.left - client.x, window.top - client.y);
  RedrawWindow(AWnd, nullptr, fresh.Get(), RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_ERASE);
}

// ---------------------------------------------------------------------------
// Right to left

void TdxFormRightToLeftLayoutHelper::AddRightToLeftFormExStyle(TCreateParams& Params) {
  Params.ExStyle = (Params.ExStyle | MirroredExStyle) & ~BiDiExStyles;
}

void TdxFormRightToLeftLayoutHelper::RemoveBiDiModeStyles(TWinControl* AForm) {
  if (!AForm->HandleAllocated()) return;
  const LONG_PTR exStyle = GetWindowLongPtrW(AForm->Handle(), GWL_EXSTYLE);
  SetWindowLongPtrW(AForm->Handle(), GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(BiDiExStyles));
}

void TdxFormRightToLeftLayoutHelper::SetMenusParentBiDiMode(TComponent* AForm) {
  for (int i = 0; i < AForm->ComponentCount(); ++i)
    if (auto* menu = dynamic_cast<TMenu*>(AForm->Components(i))) menu->SetParentBiDiMode(true);
}

void TdxFormRightToLeftLayoutHelper::ResetMenusBiDiMode(TComponent* AForm) {
  for (int i = 0; i < AForm->ComponentCount(); ++i)
    if (auto* menu = dynamic_cast<TMenu*>(AForm->Components(i))) menu->SetBiDiMode(bdLeftToRight);
}

// ---------------------------------------------------------------------------
// Windows 11 corners

int GetWindowCornerPreference(HWND AWnd) {
  const TdxDwmApi& api = dxDwmApi();
  if (!IsWindows11() || !api.DwmGetWindowAttribute) return 0;
  DWORD value = 0;
  if (FAILED(api.DwmGetWindowAttribute(AWnd, dxDwmWindowCornerPreference, &value, sizeof(value)))) return 0;
  return value >= dxCornerDoNotRound && value <= dxCornerRoundSmall ? static_cast<int>(value) : 0;
}

bool SetWindowCornerPreference(HWND AWnd, int APreference) {
  const TdxDwmApi& api = dxDwmApi();
  if (!IsWindows11() || !api.DwmSetWindowAttribute || APreference < dxCornerDefault || APreference > dxCornerRoundSmall) return false;
  const DWORD value = static_cast<DWORD>(APreference);
  return SUCCEEDED(api.DwmSetWindowAttribute(AWnd, dxDwmWindowCornerPreference, &value, sizeof(value)));
}

// ---------------------------------------------------------------------------
// Frames

// The controllers by frame, and the notificator that reports freed frames.
class TdxFrameControllerList : public TObject {
  SK_CLASS(TdxFrameControllerList, TObject)
 public:
  void Create() {
    FNotificator = New<TcxFreeNotificator>(static_cast<TObject*>(this));
    FNotificator->SetOnFreeNotification(BindEvent<&TdxFrameControllerList::FrameFreed>(this));
  }
  void Destroy() override {
    FItems.clear();
    FreeAndNil(FNotificator);
    inherited::Destroy();
  }

  TdxFrameController* Find(TCustomFrame* AFrame) const {
    const auto it = FItems.find(AFrame);
    return it == FItems.end() ? nullptr : it->second.get();
  }
  void Add(TCustomFrame* AFrame) {
    FNotificator->AddSender(AFrame);
    FItems[AFrame].reset(New<TdxFrameController>(AFrame));
  }
  void Remove(TCustomFrame* AFrame) {
    if (FItems.erase(AFrame)) FNotificator->RemoveSender(AFrame);
  }
  int Count() const { return static_cast<int>(FItems.size()); }

 private:
  void FrameFreed(TComponent* AComponent) { FItems.erase(static_cast<TCustomFrame*>(AComponent)); }

  std::map<TCustomFrame*, TOwned<TdxFrameController>> FItems;
  TcxFreeNotificator* FNotificator;
};

namespace {

TdxFrameControllerList* GFrameControllers = nullptr;

void FrameHookProc(int ACode, WPARAM, LPARAM ALParam, LRESULT&) {
  if (ACode != HC_ACTION) return;
  const auto* message = reinterpret_cast<const CWPSTRUCT*>(ALParam);
  if (message->message == WM_CREATE) TdxFrameControllerManager::Register(message->hwnd);
}

// Components on forms that are not the library's hear a DPI change too; a
// library form tells its own.
void ChangeScaleListener(const TChangeScaleMessage& AMessage) {
  if (IsScalingDpi(AMessage.M) && !Supports<IdxScaleFactor>(AMessage.Sender))
    TdxFormHelper::ScaleComponentsForDpi(AMessage.Sender, AMessage.M);
}

}  // namespace

void TdxFrameController::Create(TCustomFrame* AFrame) {
  FFrame = AFrame;
  FWindowProcObject = WindowProcController()->Add(AFrame, BindEvent<&TdxFrameController::WndProc>(this));
  ApplyDPI(GetParentDPI(), true);
}

void TdxFrameController::Destroy() {
  if (TcxWindowProcController* controller = WindowProcController()) controller->Remove(FWindowProcObject);
  inherited::Destroy();
}

int TdxFrameController::GetParentDPI() {
  int n = 0;
  int d = 0;
  if (FFrame->Parent() && TryGetComponentDpiRatio(FFrame->Parent(), n, d) && d != 0) return MulDiv(dxDefaultDPI, n, d);
  return dxDefaultDPI;
}

void TdxFrameController::ApplyDPI(int ADpi, bool AScale) {
  if (AScale && !FFrame->ComponentState().Contains(csLoading)) {
    const bool parentFont = FFrame->ParentFont();
    FFrame->ScaleForPPI(ADpi);
    if (parentFont && FFrame->Parent()) {
      FFrame->SetFont(FFrame->Parent()->Font());
      FFrame->SetParentFont(true);
    }
  }
  FFrame->SetCurrentPPI(ADpi);
  TdxFormHelper::ScaleComponentsForDpi(FFrame, ADpi);
}

void TdxFrameController::WndProc(TMessage& Message) {
  FWindowProcObject->DefaultProc(Message);
  switch (Message.Msg) {
    case WM_CREATE:
      if (FFrame->Parent()) ApplyDPI(GetParentDPI(), true);
      break;
    case DXM_SCALECHANGED:
      ApplyDPI(GetParentDPI(), false);
      break;
    case CM_PARENTFONTCHANGED:
    case CM_PARENTCTL3DCHANGED:
      if (FFrame->ParentFont() && FFrame->Parent()) {
        FFrame->SetFont(FFrame->Parent()->Font());
        FFrame->SetParentFont(true);
      }
      break;
    default:
      break;
  }
}

void TdxFrameControllerManager::Initialize() { GFrameControllers = New<TdxFrameControllerList>(); }

void TdxFrameControllerManager::Finalize() { FreeAndNil(GFrameControllers); }

void TdxFrameControllerManager::Register(HWND AWnd) {
  if (!GFrameControllers) return;
  auto* frame = dynamic_cast<TCustomFrame*>(FindControl(AWnd));
  if (!frame || SupportsRaw<IdxScaleFactor>(frame) || GFrameControllers->Find(frame)) return;
  GFrameControllers->Add(frame);
}

void TdxFrameControllerManager::Unregister(HWND AWnd) {
  auto* frame = dynamic_cast<TCustomFrame*>(FindControl(AWnd));
  if (frame && GFrameControllers) GFrameControllers->Remove(frame);
}

TdxFrameController* TdxFrameControllerManager::Find(TCustomFrame* AFrame) {
  return GFrameControllers ? GFrameControllers->Find(AFrame) : nullptr;
}

int TdxFrameControllerManager::Count() { return GFrameControllers ? GFrameControllers->Count() : 0; }

// ---------------------------------------------------------------------------
// TdxFormImageListHelper

void TdxFormImageListHelper::Create(int ATargetDPI) { FTargetDPI = ATargetDPI; }

void TdxFormImageListHelper::Execute(int ATargetDPI, TComponent* AForm) {
  TOwned<TdxFormImageListHelper> helper(New<TdxFormImageListHelper>(ATargetDPI));
  for (int i = 0; i < AForm->ComponentCount(); ++i) helper->Visit(AForm->Components(i), 0);
}

void TdxFormImageListHelper::Visit(TObject* AObject, int ADepth) {
  // Persistent objects nest only as deep as their classes do; the bound
  // stops a cycle of sub-objects.
  constexpr int MaxDepth = 16;
  if (ADepth > MaxDepth) return;
  for (const TPropInfo* prop : GetPropList(AObject)) {
    if (!prop->PropType || prop->PropType->Kind != tkClass || !prop->PropType->ClassType) continue;
    const TClass cls = prop->PropType->ClassType;
    if (cls->InheritsFrom(TCustomImageList::ClassInfo())) {
      auto* list = static_cast<TCustomImageList*>(GetObjectProp(AObject, prop));
      if (!list || !prop->HasSetter) continue;
      TCustomImageList* replacement = GetReplacement(list);
      if (replacement != list) SetObjectProp(AObject, prop, replacement);
    } else if (cls->InheritsFrom(TPersistent::ClassInfo()) && !cls->InheritsFrom(TComponent::ClassInfo())) {
      if (TObject* child = GetObjectProp(AObject, prop)) Visit(child, ADepth + 1);
    }
  }
}

TCustomImageList* TdxFormImageListHelper::GetReplacement(TCustomImageList* AImageList) {
  const auto cached = FReplacementCache.find(AImageList);
  if (cached != FReplacementCache.end()) return cached->second;
  TCustomImageList* result = AImageList;
  if (TComponent* owner = AImageList->Owner()) {
    String base = AImageList->Name();
    while (!base.empty() && std::iswdigit(base.back())) base.pop_back();
    const auto find = [&](const String& AName) -> TCustomImageList* {
      return dynamic_cast<TCustomImageList*>(owner->FindComponent(AName));
    };
    // The bare name stands for 96, also when 96 is the target itself:
    // a form going back to 96 must find its unscaled list again.
    const auto findForDpi = [&](int ADpi) {
      TCustomImageList* list = find(base + IntToStr(ADpi));
      return list || ADpi != dxDefaultDPI ? list : find(base);
    };
    TCustomImageList* found = findForDpi(FTargetDPI);
    for (const int dpi : {288, 240, 216, 192, 168, 144, 120, 96}) {
      if (found) break;
      if (dpi < FTargetDPI) found = findForDpi(dpi);
    }
    if (found) result = found;
  }
  FReplacementCache[AImageList] = result;
  return result;
}

// ---------------------------------------------------------------------------
// TdxFluentDesignContainerControlHelper

void TdxFluentDesignContainerControlHelper::CheckStyle(TWinControl* AControl) {
  if (IdxAcrylicContainer* parent = SupportsRaw<IdxAcrylicContainer>(AControl->Parent()))
    CheckStyle(AControl, parent->HasAcrylic());
}

void TdxFluentDesignContainerControlHelper::CheckStyle(TWinControl* AControl, bool AHasAcrylicParent) {
  if (!AControl->HandleAllocated()) return;
  const HWND wnd = AControl->Handle();
  const LONG_PTR exStyle = GetWindowLongPtrW(wnd, GWL_EXSTYLE);
  const bool layered = (exStyle & WS_EX_LAYERED) != 0;
  if (!AHasAcrylicParent) {
    if (!layered) return;
    SetWindowLongPtrW(wnd, GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
  } else if (!layered) {
    SetWindowLongPtrW(wnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    SetLayeredWindowAttributes(wnd, AcrylicColorKey, 0, LWA_COLORKEY);
    if (IdxFluentDesignStyleListener* listener = SupportsRaw<IdxFluentDesignStyleListener>(AControl))
      listener->LayeredStyleApplied();
  }
}

// ---------------------------------------------------------------------------
// Start-up and shut-down

void TdxFormHelper::Initialize() {
  if (const HMODULE user32 = GetModuleHandleW(L"user32.dll")) {
    BindEntry(user32, "EnableNonClientDpiScaling", GEnableNonClientDpiScaling);
    BindEntry(user32, "SetWindowCompositionAttribute", GSetWindowCompositionAttribute);
  }
  SubscribeToChangeScale(&ChangeScaleListener);
  TdxFrameControllerManager::Initialize();
  SetSystemHook(htWndProc, &FrameHookProc);
}

void TdxFormHelper::Finalize() {
  ReleaseSystemHook(&FrameHookProc);
  TdxFrameControllerManager::Finalize();
  UnsubscribeFromChangeScale(&ChangeScaleListener);
  GEnableNonClientDpiScaling = nullptr;
  GSetWindowCompositionAttribute = nullptr;
}

void dxFormsInitialization() { TdxFormHelper::Initialize(); }

void dxFormsFinalization() { TdxFormHelper::Finalize(); }
