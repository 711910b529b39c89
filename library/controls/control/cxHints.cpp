#include "library/controls/control/cxHints.h"

#include "library/controls/container/cxContainer.h"
#include "library/controls/control/cxControls.h"
#include "library/core/geometry/cxGeometry.h"
#include "library/core/system/dxDPIAwareUtils.h"
#include "library/lookandfeel/settings/cxLookAndFeels.h"
#include "platform/runtime/Handles.h"

#include <algorithm>

namespace {

TcxHintController* GHintController = nullptr;
std::vector<TClass>* GHintStyleClasses = nullptr;

std::vector<TClass>& HintStyleClasses() {
  if (!GHintStyleClasses) GHintStyleClasses = new std::vector<TClass>();
  return *GHintStyleClasses;
}

TRect MonitorWorkArea(const TPoint& P) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!GetMonitorInfoW(MonitorFromPoint(POINT{P.X, P.Y}, MONITOR_DEFAULTTONEAREST), &info)) return TRect();
  return TRect(info.rcWork);
}

// Shifted left and up where it sticks out right or bottom, then right and
// down where it sticks out left or top (the top-left corner wins).
void MoveIntoArea(TRect& R, const TRect& AArea) {
  if (R.Right > AArea.Right) R.Offset(AArea.Right - R.Right, 0);
  if (R.Bottom > AArea.Bottom) R.Offset(0, AArea.Bottom - R.Bottom);
  if (R.Left < AArea.Left) R.Offset(AArea.Left - R.Left, 0);
  if (R.Top < AArea.Top) R.Offset(0, AArea.Top - R.Top);
}

bool AnyMouseButtonDown() {
  const auto down = [](int AKey) { return (GetAsyncKeyState(AKey) & 0x8000) != 0; };
  return down(VK_LBUTTON) || down(VK_RBUTTON) || down(VK_MBUTTON);
}

}  // namespace

// ---------------------------------------------------------------------------
// Routines

void RegisterHintStyleClass(TClass AClass) {
  std::vector<TClass>& classes = HintStyleClasses();
  if (AClass && std::find(classes.begin(), classes.end(), AClass) == classes.end()) classes.push_back(AClass);
}

void UnregisterHintStyleClass(TClass AClass) {
  if (!GHintStyleClasses) return;
  std::erase(*GHintStyleClasses, AClass);
}

TClass FindHintStyleClass(const String& AClassName) {
  if (!GHintStyleClasses) return nullptr;
  for (TClass c : *GHintStyleClasses)
    if (c->ClassName() == AClassName) return c;
  return nullptr;
}

TcxHintController* HintController() { return GHintController; }

// ---------------------------------------------------------------------------
// TcxCustomHintStyle

void TcxCustomHintStyle::Create(TPersistent* AOwner) { inherited::Create(AOwner); }

void TcxCustomHintStyle::Assign(TPersistent* ASource) {
  if (!dynamic_cast<TcxCustomHintStyle*>(ASource)) inherited::Assign(ASource);
}

// ---------------------------------------------------------------------------
// TcxCustomHintStyleController

void TcxCustomHintStyleController::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FGlobal = true;
  FHintShortPause = 50;
  FHintPause = 500;
  FHintHidePause = 2500;
  FLookAndFeel.reset(New<TcxLookAndFeel>(this));
  CreateStyleAndWindow();
}

void TcxCustomHintStyleController::Destroy() {
  // Listeners may remove themselves while they hear of the end.
  const std::vector<TcxCustomHintStyle*> listeners = FListeners;
  for (TcxCustomHintStyle* listener : listeners) listener->StyleControllerRemoved(this);
  FListeners.clear();
  FreeStyleAndWindow();
  FLookAndFeel.reset();
  inherited::Destroy();
}

void TcxCustomHintStyleController::CreateStyleAndWindow() {
  if (FHintStyleClass) {
    FHintStyle.reset(NewOfClass<TcxCustomHintStyle>(FHintStyleClass, this));
    FHintStyle->SetOnChanged(BindEvent<&TcxCustomHintStyleController::StyleChanged>(this));
  }
  FHintWindow = NewOfClass<TcxCustomHintWindow>(WindowClass(), this);
  if (HintController()) HintController()->RegisterStyleController(this);
}

void TcxCustomHintStyleController::FreeStyleAndWindow() {
  if (HintController()) HintController()->UnregisterStyleController(this);
  FreeAndNil(FHintWindow);
  FHintStyle.reset();
}

TClass TcxCustomHintStyleController::WindowClass() const {
  return FHintStyle ? FHintStyle->StyleHintWindowClass() : TcxCustomHintWindow::ClassInfo();
}

void TcxCustomHintStyleController::SetHintStyleClass(TClass AValue) {
  if (FHintStyleClass == AValue) return;
  FreeStyleAndWindow();
  FHintStyleClass = AValue;
  CreateStyleAndWindow();
}

TcxCustomLookAndFeelPainter* TcxCustomHintStyleController::LookAndFeelPainter() const {
  return FLookAndFeel->Painter();
}

void TcxCustomHintStyleController::Assign(TPersistent* ASource) {
  auto* source = dynamic_cast<TcxCustomHintStyleController*>(ASource);
  if (!source) {
    inherited::Assign(ASource);
    return;
  }
  BeginUpdate();
  TScopeExit end([this] { EndUpdate(); });
  FOnHintStyleChanged = source->FOnHintStyleChanged;
  FOnShowHint = source->FOnShowHint;
  FOnShowHintEx = source->FOnShowHintEx;
  SetHintShortPause(source->FHintShortPause);
  SetHintPause(source->FHintPause);
  SetHintHidePause(source->FHintHidePause);
  SetHintStyleClass(source->FHintStyleClass ? FindHintStyleClass(source->FHintStyleClass->ClassName()) : nullptr);
  if (FHintStyle && source->FHintStyle) FHintStyle->Assign(source->FHintStyle.get());
  FLookAndFeel->Assign(source->FLookAndFeel.get());
}

void TcxCustomHintStyleController::Loaded() {
  inherited::Loaded();
  ApplyPauses();
}

void TcxCustomHintStyleController::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0) ApplyPauses();
}

void TcxCustomHintStyleController::ApplyPauses() {
  if (!Application() || ComponentState().Contains(csDesigning) || IsUpdating()) return;
  Application()->SetHintShortPause(FHintShortPause);
  Application()->SetHintPause(FHintPause);
  Application()->SetHintHidePause(FHintHidePause);
}

void TcxCustomHintStyleController::SetHintShortPause(int AValue) {
  if (FHintShortPause == AValue) return;
  FHintShortPause = AValue;
  ApplyPauses();
}

void TcxCustomHintStyleController::SetHintPause(int AValue) {
  if (FHintPause == AValue) return;
  FHintPause = AValue;
  ApplyPauses();
}

void TcxCustomHintStyleController::SetHintHidePause(int AValue) {
  if (FHintHidePause == AValue) return;
  FHintHidePause = AValue;
  ApplyPauses();
}

void TcxCustomHintStyleController::AddListener(TcxCustomHintStyle* AListener) {
  if (AListener && std::find(FListeners.begin(), FListeners.end(), AListener) == FListeners.end())
    FListeners.push_back(AListener);
}

void TcxCustomHintStyleController::RemoveListener(TcxCustomHintStyle* AListener) {
  if (ComponentState().Contains(csDestroying)) return;
  std::erase(FListeners, AListener);
}

void TcxCustomHintStyleController::StyleChanged(TObject*) {
  if (ComponentState().Contains(csDestroying)) return;
  CallEvent(FOnHintStyleChanged, this, FHintStyle.get());
  const std::vector<TcxCustomHintStyle*> listeners = FListeners;
  for (TcxCustomHintStyle* listener : listeners) {
    listener->StyleControllerChanged(this);
    CallEvent(FOnHintStyleChanged, this, listener);
  }
}

void TcxCustomHintStyleController::Notification(TComponent* AComponent, TOperation AOperation) {
  inherited::Notification(AComponent, AOperation);
  if (AOperation == opRemove && FHintStyle) FHintStyle->ComponentRemoved(AComponent);
  if (AOperation == opRemove && AComponent == FHintWindow) FHintWindow = nullptr;
}

void TcxCustomHintStyleController::ProcessApplicationHint(String& HintStr, bool& CanShow, THintInfo& HintInfo) {
  HintInfo.HintWindowClass = WindowClass();
  if (FHintStyle) FHintStyle->ProcessShowHint(HintStr, CanShow, HintInfo);
  CallEvent(FOnShowHint, this, HintStr, CanShow, HintInfo);
  String caption;
  CallEvent(FOnShowHintEx, this, caption, HintStr, CanShow, HintInfo);
  if (FHintWindow) FHintWindow->SetCaption(caption);
}

void TcxCustomHintStyleController::ShowHint(int X, int Y, int AMaxWidth, const String& AHint,
                                            const String& ACaption) {
  if (HintController())
    HintController()->SetHintedControl(FindControl(WindowFromPoint(POINT{X, Y})));
  if (FHintWindow) FHintWindow->ShowHintAt(X, Y, AMaxWidth, AHint, ACaption);
}

void TcxCustomHintStyleController::HideHint() {
  if (HintController()) HintController()->SetHintedControl(nullptr);
  if (FHintWindow && FHintWindow->HandleAllocated() && IsWindowVisible(FHintWindow->Handle()))
    ShowWindow(FHintWindow->Handle(), SW_HIDE);
}

// ---------------------------------------------------------------------------
// TcxHintController

void TcxHintController::Create(TComponent* AOwner) { inherited::Create(AOwner); }

void TcxHintController::Destroy() {
  if (IsHooked() && Application()) {
    Application()->SetOnShowHint(FSavedApplicationOnShowHint);
    SetHintWindowClass(FSavedHintWindowClass);
  }
  FControllerList.clear();
  inherited::Destroy();
}

bool TcxHintController::IsHooked() const { return FHooked; }

void TcxHintController::RegisterStyleController(TcxCustomHintStyleController* AController) {
  if (!AController || AController->ComponentState().Contains(csDesigning)) {
    if (AController) FControllerList.push_back(AController);
    return;
  }
  if (!FHooked && Application()) {
    FSavedApplicationOnShowHint = Application()->OnShowHint();
    FSavedHintWindowClass = HintWindowClass();
    Application()->SetOnShowHint(BindEvent<&TcxHintController::ApplicationShowHint>(this));
    FHooked = true;
  }
  SetHintWindowClass(AController->WindowClass());
  FControllerList.push_back(AController);
}

void TcxHintController::UnregisterStyleController(TcxCustomHintStyleController* AController) {
  const auto it = std::find(FControllerList.begin(), FControllerList.end(), AController);
  if (it == FControllerList.end()) return;
  if (AController->ComponentState().Contains(csDesigning)) {
    FControllerList.erase(it);
    return;
  }
  const bool newestClassShown = HintWindowClass() == FControllerList.back()->WindowClass();
  FControllerList.erase(it);
  const auto running = [](TcxCustomHintStyleController* c) { return !c->ComponentState().Contains(csDesigning); };
  if (newestClassShown)
    SetHintWindowClass(FControllerList.empty() ? FSavedHintWindowClass : FControllerList.back()->WindowClass());
  if (FHooked && std::none_of(FControllerList.begin(), FControllerList.end(), running)) {
    if (Application()) Application()->SetOnShowHint(FSavedApplicationOnShowHint);
    FSavedApplicationOnShowHint = nullptr;
    FHooked = false;
  }
}

void TcxHintController::SetHintedControl(TControl* AValue) {
  if (FHintedControl == AValue) return;
  if (FHintedControl) FHintedControl->RemoveFreeNotification(this);
  FHintedControl = AValue;
  if (FHintedControl) FHintedControl->FreeNotification(this);
}

void TcxHintController::Notification(TComponent* AComponent, TOperation AOperation) {
  inherited::Notification(AComponent, AOperation);
  if (AOperation == opRemove && AComponent == FHintedControl) FHintedControl = nullptr;
}

TControl* TcxHintController::FindHintedControl() const {
  if (FHintedControl) return FHintedControl;
  if (TControl* capture = GetCaptureControl()) return capture;
  const TPoint cursor = ReadCursorPos();
  return FindControl(WindowFromPoint(POINT{cursor.X, cursor.Y}));
}

// The first hint style controller owned by the control or one of its parents.
static TcxCustomHintStyleController* StyleControllerOfParents(TControl* AControl) {
  for (TControl* control = AControl; control; control = control->Parent()) {
    for (int i = 0; i < control->ComponentCount(); ++i)
      if (auto* found = dynamic_cast<TcxCustomHintStyleController*>(control->Components(i))) return found;
  }
  return nullptr;
}

TcxCustomHintStyleController* TcxHintController::ActiveStyleController() {
  TControl* hinted = FindHintedControl();
  if (TcxCustomHintStyleController* found = StyleControllerOfParents(hinted)) return found;
  // An inner control may live outside its container's parents.
  if (const IPtr<IcxContainerInnerControl> inner = Supports<IcxContainerInnerControl>(hinted))
    if (TcxCustomHintStyleController* found = StyleControllerOfParents(inner->GetControlContainer())) return found;
  for (auto it = FControllerList.rbegin(); it != FControllerList.rend(); ++it)
    if ((*it)->Global()) return *it;
  return nullptr;
}

TClass TcxHintController::GetHintWindowClass() {
  TcxCustomHintStyleController* controller = ActiveStyleController();
  return controller ? controller->WindowClass() : HintWindowClass();
}

void TcxHintController::ApplicationShowHint(String& HintStr, bool& CanShow, THintInfo& HintInfo) {
  SetHintedControl(HintInfo.HintControl);
  if (TcxCustomHintStyleController* controller = ActiveStyleController())
    controller->ProcessApplicationHint(HintStr, CanShow, HintInfo);
  CallEvent(FSavedApplicationOnShowHint, HintStr, CanShow, HintInfo);
  if (!CanShow || HintStr.empty()) SetHintedControl(nullptr);
}

// ---------------------------------------------------------------------------
// TcxBaseHintWindow

void TcxBaseHintWindow::Publish(TPublisher<TcxBaseHintWindow>& P) {
  P.Message<&TcxBaseHintWindow::CMTextChanged>(CM_TEXTCHANGED);
  P.Message<&TcxBaseHintWindow::WMEraseBkgnd>(WM_ERASEBKGND);
  P.Message<&TcxBaseHintWindow::WMWindowPosChanging>(WM_WINDOWPOSCHANGING);
}

void TcxBaseHintWindow::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FAnimationStyle = cxhaAuto;
  FAnimationDelay = 100;
  FBorderStyle = bsSingle;
  FScaleFactor.reset(New<TdxScaleFactor>());
  const int dpi = Screen() ? Screen()->PixelsPerInch() : USER_DEFAULT_SCREEN_DPI;
  FScaleFactor->Assign(dpi, USER_DEFAULT_SCREEN_DPI, false);
  SetCurrentPPI(dpi);
  SetDoubleBuffered(true);
}

void TcxBaseHintWindow::Destroy() {
  FScaleFactor.reset();
  inherited::Destroy();
}

void TcxBaseHintWindow::SetBorderStyle(TFormBorderStyle AValue) {
  if (FBorderStyle == AValue) return;
  FBorderStyle = AValue;
  RecreateWnd();
}

void TcxBaseHintWindow::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (FStandardHint) return;
  if (FBorderStyle == bsNone) Params.Style &= ~static_cast<DWORD>(WS_BORDER);
  Params.ExStyle |= WS_EX_TOPMOST;
}

DWORD TcxBaseHintWindow::TickCount() const { return FTickCount ? FTickCount() : GetTickCount(); }

TRect TcxBaseHintWindow::WorkAreaAt(const TPoint& P) const { return MonitorWorkArea(P); }

void TcxBaseHintWindow::FitToWorkArea(TRect& R) {
  MoveIntoArea(R, WorkAreaAt(FAbsolutePosition ? R.TopLeft() : ReadCursorPos()));
}

void TcxBaseHintWindow::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  const TRect area = WorkAreaAt(TPoint(ALeft, ATop));
  // The lower limit wins over the upper one for a window wider than the area.
  ALeft = std::max(area.Left, std::min(ALeft, area.Right - AWidth));
  ATop = std::max(area.Top, std::min(ATop, area.Bottom - AHeight));
  inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TcxBaseHintWindow::SetHintAreaBounds(const TRect& R, bool AUseMousePos) {
  FHintAreaBounds = R;
  FUseMousePos = AUseMousePos;
}

void TcxBaseHintWindow::ActivateHint(const TRect& ARect, const String& AHint) {
  if (FStandardHint) {
    inherited::ActivateHint(ARect, AHint);
    return;
  }
  FActivating = true;
  TScopeExit done([this] { FActivating = false; });
  THintWindow::SetCaption(AHint);
  TRect r = ARect;
  FitToWorkArea(r);
  SetBounds(r.Left, r.Top, r.Width(), r.Height());
  SetWindowPos(Handle(), HWND_TOPMOST, Left(), Top(), Width(), Height(),
               SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  StartAnimation(AHint);
  ShowHintWindow();
  FHintAreaBounds = TRect();
  FLastActive = TickCount();
}

DWORD TcxBaseHintWindow::AnimationFlags(TcxHintAnimationStyle AStyle) {
  switch (AStyle) {
    case cxhaSlideFromLeft: return AW_SLIDE | AW_HOR_POSITIVE;
    case cxhaSlideFromRight: return AW_SLIDE | AW_HOR_NEGATIVE;
    case cxhaSlideDownward: return AW_SLIDE | AW_VER_POSITIVE;
    case cxhaSlideUpward: return AW_SLIDE | AW_VER_NEGATIVE;
    case cxhaSlideFromCenter: return AW_SLIDE | AW_CENTER;
    case cxhaHide: return AW_SLIDE | AW_HIDE;
    case cxhaActivate: return AW_SLIDE | AW_ACTIVATE;
    case cxhaFadeIn: return AW_SLIDE | AW_BLEND;
    case cxhaAuto: return AW_SLIDE | AW_ACTIVATE;
    case cxhaNone: return 0;
  }
  return 0;
}

TcxHintAnimationStyle TcxBaseHintWindow::EffectiveAnimationStyle() {
  const auto setting = [this](UINT AAction) {
    if (FSystemSetting) return FSystemSetting(AAction);
    BOOL value = FALSE;
    return SystemParametersInfoW(AAction, 0, &value, 0) && value;
  };
  if (FAnimationStyle == cxhaNone || !setting(SPI_GETTOOLTIPANIMATION)) return cxhaNone;
  if (FAnimationStyle == cxhaAuto) return setting(SPI_GETTOOLTIPFADE) ? cxhaFadeIn : cxhaSlideDownward;
  return FAnimationStyle;
}

void TcxBaseHintWindow::StartAnimation(const String& AHint) {
  const DWORD now = TickCount();
  FHasAnimation = false;
  if (now - FLastActive > 250 && AHint.size() < 100) {
    const TcxHintAnimationStyle style = EffectiveAnimationStyle();
    if (style != cxhaNone) {
      if (HasWindowShape())
        ApplyWindowShape();
      else
        RemoveWindowRegion();
      const DWORD flags = AnimationFlags(style);
      FHasAnimation = FAnimateWindow ? FAnimateWindow(Handle(), static_cast<DWORD>(FAnimationDelay), flags)
                                     : ::AnimateWindow(Handle(), static_cast<DWORD>(FAnimationDelay), flags);
    }
  }
  if (HasWindowShape()) {
    if (!FHasAnimation) ApplyWindowShape();
  } else {
    RemoveWindowRegion();
  }
}

void TcxBaseHintWindow::RemoveWindowRegion() { SetWindowRgn(Handle(), nullptr, TRUE); }

void TcxBaseHintWindow::ShowHintWindow() {
  ShowWindow(Handle(), SW_SHOWNOACTIVATE);
  if (HasWindowShape() && FHasAnimation)
    RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW);
  else
    Invalidate();
}

void TcxBaseHintWindow::CMTextChanged(TMessage& Message) {
  if (!FActivating) DefaultHandler(Message);
}

void TcxBaseHintWindow::WMEraseBkgnd(TMessage& Message) {
  if (FNeedEraseBackground || FStandardHint)
    DefaultHandler(Message);
  else
    Message.Result = 1;
}

void TcxBaseHintWindow::WMWindowPosChanging(TMessage& Message) {
  if (!FActivating && !FStandardHint) reinterpret_cast<WINDOWPOS*>(Message.LParam)->flags &= ~SWP_SHOWWINDOW;
  DefaultHandler(Message);
}

void TcxBaseHintWindow::ScaleForPPI(int ADpi) {
  if (ADpi <= 0 || ADpi == CurrentPPI()) return;
  inherited::ScaleForPPI(ADpi);
  FScaleFactor->Assign(ADpi, USER_DEFAULT_SCREEN_DPI, false);
}

void TcxBaseHintWindow::CheckMonitorDpi(const TPoint& P) {
  const int dpi = GetDpiForPoint(P);
  if (dpi != CurrentPPI()) ScaleForPPI(dpi);
}

// ---------------------------------------------------------------------------
// TcxCustomHintWindow

void TcxCustomHintWindow::ShowHintAt(int X, int Y, int AMaxWidth, const String& AHint, const String& ACaption) {
  CheckMonitorDpi(TPoint(X, Y));
  FCaption = ACaption;
  TRect r = CalcHintRect(AMaxWidth, AHint);
  r.Offset(X, Y);
  ActivateHint(r, AHint);
}

// ---------------------------------------------------------------------------
// TcxCustomHintHelper

void TcxCustomHintHelper::Create() {
  FHintShowPause = HintShowPause;
  FHintHidePause = Application() ? Application()->HintHidePause() : 2500;
}

void TcxCustomHintHelper::Destroy() {
  FActivatingHintObject = nullptr;
  FActivatingHintIntf = nullptr;
  FHintShowTimer.reset();
  HideHint();
  FHintWindow.reset();
  inherited::Destroy();
}

bool TcxCustomHintHelper::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IcxMouseTrackingCaller, IcxMouseTrackingCaller2>(this, AIID, AObj) ||
         inherited::GetInterface(AIID, AObj);
}

TWinControl* TcxCustomHintHelper::HintWinControl() { return dynamic_cast<TWinControl*>(GetHintControl()); }

void TcxCustomHintHelper::StartTracking(const TRect& ABounds) {
  if (TWinControl* control = HintWinControl()) BeginMouseTracking(control, ABounds, this);
}

void TcxCustomHintHelper::StopShowTimer() {
  FActivatingHintObject = nullptr;
  FActivatingHintIntf = nullptr;
  FHintShowTimer.reset();
}

void TcxCustomHintHelper::ActivateHint(IcxHintableObject2* AHintableObject) {
  TObject* object = AHintableObject ? AHintableObject->GetObject() : nullptr;
  if (object == FActivatingHintObject || object == FHintableObject || object == FLastHintableObject) return;
  FLastHintableObject = nullptr;
  CancelHint();
  if (!AHintableObject || AHintableObject->GetHintText().empty()) return;
  FActivatingHintObject = object;
  FActivatingHintIntf = AHintableObject;
  FHintableObject = object;
  StartTracking(AHintableObject->GetHintAreaBounds());
  FHintShowTimer.reset(CreateTimer(FHintShowPause, true, BindEvent<&TcxCustomHintHelper::ShowTimerHandler>(this)));
  FHintCheckerTimer.reset();
  FHintHideTimer.reset();
}

void TcxCustomHintHelper::ShowTimerHandler(TObject*) {
  IcxHintableObject2* intf = FActivatingHintIntf;
  FHintShowTimer.reset();  // one shot; a handler may free its own timer
  FActivatingHintObject = nullptr;
  FActivatingHintIntf = nullptr;
  if (!intf) return;
  ShowHint(intf->GetHintAreaBounds(), intf->GetHintTextRect(), intf->GetHintFont(), intf->GetObject(),
           intf->GetHintTextUseWidth(), intf->GetHintText());
}

IPtr<IcxHintableObject> TcxCustomHintHelper::HintableIntf() const {
  return FHintableObject ? Supports<IcxHintableObject>(FHintableObject) : IPtr<IcxHintableObject>();
}

bool TcxCustomHintHelper::HintFollowsMouse() {
  const IPtr<IcxHintableObject> intf = HintableIntf();
  return intf && intf->IsHintAtMousePos();
}

bool TcxCustomHintHelper::UsesHidePause() {
  if (!FHintableObject) return true;
  const IPtr<IcxHintableObject> intf = HintableIntf();
  return intf && intf->UseHintHidePause();
}

bool TcxCustomHintHelper::IsPointInHintArea(const TPoint& P) {
  if (FHintableObject) {
    const IPtr<IcxHintableObject> intf = HintableIntf();
    return intf && intf->HasHintPoint(P);
  }
  TRect area = FHintAreaBounds;
  if (area.IsEmpty()) GetHintAreaBounds(area);
  return area.Contains(P);
}

bool TcxCustomHintHelper::CanShowHint() {
  if (HidesOnMouseDown() && AnyMouseButtonDown()) return false;
  return CanShowHintForControl(GetHintControl());
}

int TcxCustomHintHelper::GetHintHidePause() { return Application() ? Application()->HintHidePause() : 0; }

TClass TcxCustomHintHelper::GetHelperHintWindowClass() {
  return HintController() ? HintController()->GetHintWindowClass() : HintWindowClass();
}

void TcxCustomHintHelper::InflateHintWindowRect(TRect& R) {
  // The client offset: how far the client area lies inside the window.
  int offset = 0;
  if (FHintWindow && FHintWindow->HandleAllocated()) {
    RECT window{};
    GetWindowRect(FHintWindow->Handle(), &window);
    POINT client{0, 0};
    ClientToScreen(FHintWindow->Handle(), &client);
    offset = client.x - window.left;
  }
  R.Inflate(offset + 2, offset + 2);
}

TRect TcxCustomHintHelper::CalculateHintWindowRect(const TRect& AHintAreaBounds, const TRect& ATextRect,
                                                   bool AUseTextWidth, const String& AText) {
  (void)AHintAreaBounds;
  const int maxWidth = AUseTextWidth ? ATextRect.Width() : 32000;
  TRect r = FHintWindow->CalcHintRect(maxWidth, AText);
  r.Right -= 6;
  r.Bottom -= 2;
  TPoint origin = ATextRect.TopLeft();
  TControl* control = GetHintControl();
  if (control) origin = control->ClientToScreen(origin);
  const bool rightToLeft = GetSystemMetrics(SM_MIDEASTENABLED) != 0 && FHintWindow->BiDiMode() == bdRightToLeft;
  if (rightToLeft) {
    const int right = control ? control->ClientToScreen(ATextRect.BottomRight()).X : ATextRect.Right;
    r.Offset(right - r.Right, origin.Y);
  } else {
    r.Offset(origin.X, origin.Y);
  }
  InflateHintWindowRect(r);
  MoveIntoArea(r, MonitorWorkArea(r.TopLeft()));
  r.Bottom -= 4;
  return r;
}

void TcxCustomHintHelper::ShowHint(const TRect& AHintAreaBounds, const TRect& ATextRect, TFont* AFont,
                                   TObject* AObject, bool AUseTextWidth, const String& AText) {
  if (!CanShowHint()) return;
  const String text = AText.substr(0, MaxHintTextLength);
  if (FLastHintableObject && AObject == FLastHintableObject) {
    if (HintFollowsMouse()) {
      const TPoint cursor = ReadCursorPos();
      if (FHintHideTimer && FHintHideTimer->Enabled() && cursor != FLastHintMousePos) {
        FLastHintMousePos = cursor;
        FHintHideTimer->SetEnabled(false);
        FHintHideTimer->SetEnabled(true);
      } else if (UsesHidePause()) {
        return;
      }
    } else if (UsesHidePause()) {
      if (text != FLastHintText) ResetLastHintElement();
      return;
    }
  } else if (FLastHintableObject) {
    CancelHint();
  }
  DoShow(AHintAreaBounds, ATextRect, AFont, AObject, AUseTextWidth, text);
}

void TcxCustomHintHelper::DoShow(const TRect& AHintAreaBounds, const TRect& ATextRect, TFont* AFont,
                                 TObject* AObject, bool AUseTextWidth, const String& AText) {
  TClass windowClass = GetHelperHintWindowClass();
  if (FHintWindow && FHintWindow->ClassType() != windowClass) FHintWindow.reset();
  if (!FHintWindow) {
    FHintWindow.reset(NewOfClass<THintWindow>(windowClass, nullptr));
    if (Application()) FHintWindow->SetColor(Application()->HintColor());
  }
  if (FHintWindow->IsShowing()) {
    if (AText == FLastHintText && ATextRect == FHintTextRect) return;
    EndMouseTracking(this);
  }
  if (AFont) FHintWindow->Canvas()->Font()->Assign(AFont);
  if (AFont) FHintWindow->Font()->Assign(AFont);
  if (TControl* owner = GetOwnerControl()) FHintWindow->SetBiDiMode(owner->BiDiMode());

  TRect r = CalculateHintWindowRect(AHintAreaBounds, ATextRect, AUseTextWidth, AText);
  TControl* control = GetHintControl();
  THintInfo info;
  info.HintControl = control;
  info.HintWindowClass = windowClass;
  info.HintPos = r.TopLeft();
  info.HintMaxWidth = Screen() ? Screen()->Width() : GetSystemMetrics(SM_CXSCREEN);
  info.HintColor = Application() ? Application()->HintColor() : clInfoBk;
  info.ReshowTimeout = 0;
  const int hidePause = GetHintHidePause();
  info.HideTimeout = hidePause > 0 ? hidePause : (Application() ? Application()->HintHidePause() : 0);
  info.HintStr = AText;
  info.HintData = AObject;
  if (control) {
    info.CursorPos = control->ScreenToClient(ReadCursorPos());
    info.CursorRect = control->ClientRect();
  }
  bool canShow = true;
  String text = AText;
  if (Application() && Application()->OnShowHint()) {
    const THintInfo before = info;
    CallEvent(Application()->OnShowHint(), text, canShow, info);
    const bool changed = text != AText || info.HintWindowClass != before.HintWindowClass ||
                         info.HintColor != before.HintColor || info.HintPos != before.HintPos ||
                         info.HintMaxWidth != before.HintMaxWidth;
    const bool styled = HintController() && HintController()->ActiveStyleController();
    if (canShow && !text.empty() && (styled || changed)) {
      TClass newClass = info.HintWindowClass ? info.HintWindowClass : windowClass;
      if (FHintWindow->ClassType() != newClass) {
        FHintWindow.reset(NewOfClass<THintWindow>(newClass, nullptr));
        if (TControl* owner = GetOwnerControl()) FHintWindow->SetBiDiMode(owner->BiDiMode());
      }
      FHintWindow->SetColor(info.HintColor);
      r = CalculateHintWindowRect(AHintAreaBounds, ATextRect, AUseTextWidth, text);
    }
  }
  if (!canShow || text.empty()) return;

  FLastHintText = text;
  FHintTextRect = ATextRect;
  FHintAreaBounds = AHintAreaBounds;
  FHintableObject = AObject;
  FLastHintableObject = AObject;
  FLastHintMousePos = ReadCursorPos();
  if (IPtr<IcxHintWindowHelper> helper = Supports<IcxHintWindowHelper>(FHintWindow.get())) {
    TRect screenArea = AHintAreaBounds;
    if (control) screenArea = TRect(control->ClientToScreen(screenArea.TopLeft()),
                                    control->ClientToScreen(screenArea.BottomRight()));
    helper->SetHintAreaBounds(screenArea, HintFollowsMouse());
  }
  if (Application() && GetParent(FHintWindow->Handle()) != Application()->Handle()) {
    ShowWindow(FHintWindow->Handle(), SW_HIDE);
    SetWindowLongPtrW(FHintWindow->Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(Application()->Handle()));
  }
  FHintWindow->ActivateHint(r, text);
  FHintHidePause = info.HideTimeout;
  StartTracking(AHintAreaBounds);
  if (!FHintCheckerTimer)
    FHintCheckerTimer.reset(
        CreateTimer(HintCheckInterval, true, BindEvent<&TcxCustomHintHelper::CheckerTimerHandler>(this)));
  if (UsesHidePause() && FHintHidePause > 0)
    FHintHideTimer.reset(CreateTimer(static_cast<unsigned>(FHintHidePause), true,
                                     BindEvent<&TcxCustomHintHelper::HideTimerHandler>(this)));
}

void TcxCustomHintHelper::CheckerTimerHandler(TObject*) {
  if (!CanShowHint()) CancelHint();
}

void TcxCustomHintHelper::HideTimerHandler(TObject*) { HideHint(); }

void TcxCustomHintHelper::HideHint() {
  // Asked of the element before it is let go.
  const bool keepsText = UsesHidePause();
  FHintCheckerTimer.reset();  // a timer handler may free its own timer
  FHintHideTimer.reset();
  EndMouseTracking(this);
  FHintableObject = nullptr;
  FHintAreaBounds = TRect();
  if (FHintWindow && FHintWindow->HandleAllocated()) ShowWindow(FHintWindow->Handle(), SW_HIDE);
  if (!keepsText) FLastHintText.clear();
}

void TcxCustomHintHelper::CancelHint() {
  StopShowTimer();
  HideHint();
  ResetLastHintElement();
}

void TcxCustomHintHelper::ResetLastHintElement() { FLastHintableObject = nullptr; }

void TcxCustomHintHelper::MouseDown() {
  if (HidesOnMouseDown()) HideHint();
}

void TcxCustomHintHelper::UnsubscribeHintObject(TObject* AObject) {
  if (!AObject) return;
  if (AObject == FHintableObject) CancelHint();
  if (AObject == FActivatingHintObject) StopShowTimer();
  if (AObject == FLastHintableObject) FLastHintableObject = nullptr;
}

// ---------------------------------------------------------------------------
// Unit start-up and shut-down

void cxHintsInitialization() { GHintController = New<TcxHintController>(nullptr); }

void cxHintsFinalization() {
  FreeAndNil(GHintController);
  delete GHintStyleClasses;
  GHintStyleClasses = nullptr;
}
