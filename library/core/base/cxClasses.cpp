#include "library/core/base/cxClasses.h"

#include "library/core/system/cxMessageWindow.h"
#include "library/core/system/dxDPIAwareUtils.h"
#include "platform/classes/Filer.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"

namespace {

// Set from the unit's shut-down on: no timer window or running list is made
// any more.
bool GClassesFinalized = false;
TdxFastList* GRunningTimers = nullptr;

// A component's owner hears of the removal through its own Notification,
// which the component model keeps protected; naming it through a descendant
// is how a routine outside the class reaches it.
struct TComponentAccess : TComponent {
  static void Notify(TComponent* AReceiver, TComponent* AComponent, TOperation AOperation) {
    (AReceiver->*static_cast<void (TComponent::*)(TComponent*, TOperation)>(&TComponentAccess::Notification))(
        AComponent, AOperation);
  }
};

struct TPersistentAccess : TPersistent {
  static TPersistent* Owner(TPersistent* APersistent) {
    return (APersistent->*static_cast<TPersistent* (TPersistent::*)()>(&TPersistentAccess::GetOwner))();
  }
};

TdxFastList* RunningTimers() {
  if (!GRunningTimers && !GClassesFinalized) GRunningTimers = New<TdxFastList>();
  return GRunningTimers;
}

}  // namespace

// The one hidden window of every TcxTimer.
class TcxTimerWindow : public TcxMessageWindow {
  SK_CLASS(TcxTimerWindow, TcxMessageWindow)
 protected:
  void WndProc(TMessage& AMessage) override {
    if (AMessage.Msg != WM_TIMER) {
      inherited::WndProc(AMessage);
      return;
    }
    // Only a running timer is served: a message queued before its timer
    // stopped or was freed finds its id gone.
    auto* timer = reinterpret_cast<TcxTimer*>(AMessage.WParam);
    if (GRunningTimers && GRunningTimers->IndexOf(timer) >= 0) timer->FireTimer();
  }
};

namespace {

TcxTimerWindow* GTimerWindow = nullptr;

TcxTimerWindow* TimerWindow() {
  if (!GTimerWindow && !GClassesFinalized) GTimerWindow = New<TcxTimerWindow>();
  return GTimerWindow;
}

}  // namespace

// ---------------------------------------------------------------------------
// Component bases

void TcxCustomComponent::BeforeDestruction() {
  inherited::BeforeDestruction();
  NotifyOwnerOfRemoval(this);
}

void TcxCustomComponent::Destroy() {
  ClearObjectLinks(this);
  inherited::Destroy();
}

void TcxComponent::Publish(TPublisher<TcxComponent>& P) {
  P.Property(L"FakeComponentLink1", &TcxComponent::FakeComponentLink1, &TcxComponent::SetFakeComponentLink1);
  P.Property(L"FakeComponentLink2", &TcxComponent::FakeComponentLink2, &TcxComponent::SetFakeComponentLink2);
  P.Property(L"FakeComponentLink3", &TcxComponent::FakeComponentLink3, &TcxComponent::SetFakeComponentLink3);
}

void TcxComponent::SetFakeLink(TComponent*& AField, TComponent* AValue) {
  if (AField == AValue) return;
  AField = AValue;
  // A linked component that goes must not leave its address behind.
  RequestFreeNotification(this, AValue);
}

void TcxComponent::Notification(TComponent* AComponent, TOperation AOperation) {
  inherited::Notification(AComponent, AOperation);
  if (AOperation != opRemove) return;
  for (TComponent** link : {&FFakeComponentLink1, &FFakeComponentLink2, &FFakeComponentLink3})
    if (*link == AComponent) *link = nullptr;
}

void TcxComponent::Loaded() {
  inherited::Loaded();
  if (!IsDesigning() || IsDestroying() || !Owner()) return;
  std::vector<TComponent*> links;
  GetFakeComponentLinks(links);
  SetFakeComponentLink1(links.size() > 0 ? links[0] : nullptr);
  SetFakeComponentLink2(links.size() > 1 ? links[1] : nullptr);
  SetFakeComponentLink3(links.size() > 2 ? links[2] : nullptr);
}

void TcxScalableComponent::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FScalable = true;
  FScaleFactor.reset(New<TdxScaleFactor>());
  FScaleFactor->Assign(GetTargetDPI(), dxDefaultDPI, false);
}

void TcxScalableComponent::Destroy() {
  FScaleFactor.reset();
  inherited::Destroy();
}

bool TcxScalableComponent::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IcxScalableComponent>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
}

int TcxScalableComponent::GetTargetDPI() {
  const int level = GetDpiAwarenessLevel();
  if (level >= 1 && level <= 3) return GetComponentDpi(Owner());
  return Screen() ? Screen()->PixelsPerInch() : GetScreenDpi();
}

void TcxScalableComponent::ScaleForPPI(int ATargetPPI) {
  const int current = ScaleFactorToDpi(FScaleFactor.get());
  if (FScalable && ATargetPPI != current) ChangeScaleFactor(ATargetPPI, current);
}

void TcxScalableComponent::ChangeScaleFactor(int ANumerator, int ADenominator) {
  FScaleFactor->Change(ANumerator, ADenominator);
}

void TcxScalableComponent::DefineProperties(TFiler* AFiler) {
  inherited::DefineProperties(AFiler);
  AFiler->DefineProperty(
      L"PixelsPerInch",
      [this](TReader* AReader) {
        const int dpi = AReader->ReadInteger();
        if (dpi <= 0) throw EReadError(L"PixelsPerInch: %d ist kein gültiger Wert", {dpi});
        FScaleFactor->Assign(dpi, dxDefaultDPI, true);
      },
      [this](TWriter* AWriter) { AWriter->WriteInteger(ScaleFactorToDpi(FScaleFactor.get())); }, true);
}

void TcxScalableComponent::Loaded() {
  inherited::Loaded();
  const int target = GetTargetDPI();
  ScaleForPPI(target);
  FScaleFactor->Assign(target, dxDefaultDPI, false);
}

bool IsComponentDestroying(TComponent* AComponent, bool ACheckOwnerAndParent) {
  if (!AComponent) return false;
  if (AComponent->ComponentState().Contains(csDestroying)) return true;
  if (!ACheckOwnerAndParent) return false;
  TComponent* owner = AComponent->Owner();
  if (owner && owner->ComponentState().Contains(csDestroying)) return true;
  if (auto* control = dynamic_cast<TControl*>(AComponent)) {
    TComponent* parent = control->Parent();
    if (parent && parent != owner && parent->ComponentState().Contains(csDestroying)) return true;
  }
  return false;
}

void NotifyOwnerOfRemoval(TComponent* AComponent) {
  if (!AComponent) return;
  AComponent->RemoveFreeNotifications();
  if (TComponent* owner = AComponent->Owner()) TComponentAccess::Notify(owner, AComponent, opRemove);
}

void RequestFreeNotification(TComponent* AComponent, TComponent* AWatched) {
  if (AComponent && AWatched) AWatched->FreeNotification(AComponent);
}

// ---------------------------------------------------------------------------
// TcxTimer

void TcxTimer::Publish(TPublisher<TcxTimer>& P) {
  P.Property(L"Enabled", &TcxTimer::Enabled, &TcxTimer::SetEnabled).Default(true);
  P.Property(L"Interval", &TcxTimer::Interval, &TcxTimer::SetInterval).Default(1000);
  P.Property(L"OnTimer", &TcxTimer::OnTimer, &TcxTimer::SetOnTimer);
}

void TcxTimer::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FEnabled = true;
  FInterval = 1000;
  FEventID = reinterpret_cast<UINT_PTR>(this);
}

void TcxTimer::Destroy() {
  StopTimer();
  inherited::Destroy();
}

void TcxTimer::SetEnabled(bool AValue) {
  if (FEnabled == AValue) return;
  FEnabled = AValue;
  Restart();
}

void TcxTimer::SetInterval(unsigned AValue) {
  if (AValue == FInterval || AValue == 0) return;
  FInterval = AValue;
  Restart();
}

void TcxTimer::SetOnTimer(TNotifyEvent AValue) {
  FOnTimer = AValue;
  Restart();
}

void TcxTimer::Reset() {
  if (FEnabled) Restart();
}

void TcxTimer::Restart() {
  StopTimer();
  StartTimer();
}

void TcxTimer::StartTimer() {
  if (!FEnabled || FTimerOn || !FOnTimer) return;
  TcxTimerWindow* window = TimerWindow();
  if (window && SetTimer(window->Handle(), FEventID, FInterval, nullptr)) SetTimerOn(true);
}

void TcxTimer::StopTimer() {
  if (!FTimerOn) return;
  SetTimerOn(false);
  if (GTimerWindow) KillTimer(GTimerWindow->Handle(), FEventID);
}

void TcxTimer::SetTimerOn(bool AValue) {
  if (FTimerOn == AValue) return;
  FTimerOn = AValue;
  if (AValue) {
    if (TdxFastList* list = RunningTimers()) list->Add(this);
  } else if (GRunningTimers) {
    GRunningTimers->Remove(this);
  }
}

void TcxTimer::FireTimer() { CallEvent(FOnTimer, this); }

TcxTimer* CreateTimer(unsigned AInterval, bool AEnabled, TNotifyEvent AOnTimer) {
  TOwned<TcxTimer> timer(New<TcxTimer>(nullptr));
  timer->SetEnabled(AEnabled);
  timer->SetInterval(AInterval);
  timer->SetOnTimer(AOnTimer);
  return timer.release();
}

HWND cxTimerWindowHandle() {
  TcxTimerWindow* window = TimerWindow();
  return window ? window->Handle() : nullptr;
}

int cxRunningTimerCount() { return GRunningTimers ? GRunningTimers->Count() : 0; }

// ---------------------------------------------------------------------------
// Unit routines

String GetShortText(const String& AText) {
  const auto p = AText.find(L'|');
  return p == String::npos ? AText : AText.substr(0, p);
}

String GetLongText(const String& AText) {
  const auto p = AText.find(L'|');
  return p == String::npos ? AText : AText.substr(p + 1);
}

const wchar_t* CharPointerAt(const String& AText, int APosition) {
  if (APosition < 1 || static_cast<std::size_t>(APosition) > AText.size() + 1)
    throw ERangeError(L"CharPointerAt: Position %d außerhalb des Texts", {APosition});
  return AText.c_str() + (APosition - 1);
}

int CharByteLength(const String& AText, int APosition) {
  const wchar_t* p = CharPointerAt(AText, APosition);
  return static_cast<int>(reinterpret_cast<const char*>(CharNextW(p)) - reinterpret_cast<const char*>(p));
}

void RegisterControlClasses(std::initializer_list<TClass> AClasses) {
  StartClassGroup(TControl::ClassInfo());
  ActivateClassGroup(TControl::ClassInfo());
  for (TClass c : AClasses) {
    GroupDescendentsWith(c, TControl::ClassInfo());
    RegisterClass(c);
  }
}

TPersistent* GetPersistentOwner(TPersistent* APersistent) {
  return APersistent ? TPersistentAccess::Owner(APersistent) : nullptr;
}

// ---------------------------------------------------------------------------
// Unit start-up and shut-down

void cxReleaseObjectLinkController();
void cxResetObjectLinksFinalized();

void cxClassesInitialization() {
  GClassesFinalized = false;
  cxResetObjectLinksFinalized();
  GroupDescendentsWith(TcxComponent::ClassInfo(), TControl::ClassInfo());
  GroupDescendentsWith(TcxCustomComponent::ClassInfo(), TControl::ClassInfo());
}

void cxClassesFinalization() {
  GClassesFinalized = true;
  // Timers that outlive the unit stop counting as running: their late
  // messages have no window to arrive at.
  FreeAndNil(GRunningTimers);
  FreeAndNil(GTimerWindow);
  cxReleaseObjectLinkController();
}
