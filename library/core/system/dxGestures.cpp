#include "library/core/system/dxGestures.h"

#include "library/core/base/dxCoreClasses.h"
#include "library/core/system/dxDPIAwareUtils.h"
#include "library/core/system/dxHooks.h"
#include "library/core/system/dxUxTheme.h"
#include "platform/runtime/Handles.h"

#include <cstdlib>

static_assert(sizeof(TdxGestureConfig) == sizeof(GESTURECONFIG), "SetGestureConfig takes the records as they are");

namespace {

TdxGestureApi GApi;
bool GPanPointConversion = false;
// The touch point of the last WM_GESTURENOTIFY, in screen coordinates.
TPoint GTouchPoint;
// The live helpers (not owned); kept after shut-down until the application
// object frees it, but no longer used then.
TdxFastObjectList* GHelpers = nullptr;
bool GHelpersFinalized = false;

template <class F>
F Bind(HMODULE AModule, const char* AName) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(AModule, AName)));
}

bool Opposite(int A, int B) { return (A < 0 && B > 0) || (A > 0 && B < 0); }

TInteractiveGestureFlags FlagsOf(DWORD AFlags) {
  TInteractiveGestureFlags flags;
  if (AFlags & GF_BEGIN) flags.Include(gfBegin);
  if (AFlags & GF_INERTIA) flags.Include(gfInertia);
  if (AFlags & GF_END) flags.Include(gfEnd);
  return flags;
}

}  // namespace

const TdxGestureApi& dxGestureApi() { return GApi; }
void dxSetGestureApi(const TdxGestureApi& AApi) { GApi = AApi; }
bool dxGesturePanPointConversion() { return GPanPointConversion; }
void dxSetGesturePanPointConversion(bool AValue) { GPanPointConversion = AValue; }

// ---------------------------------------------------------------------------
// Routines

TInteractiveGesture GestureIdToGestureKind(DWORD AId) {
  switch (AId) {
    case GID_ZOOM: return igZoom;
    case GID_PAN: return igPan;
    case GID_ROTATE: return igRotate;
    case GID_TWOFINGERTAP: return igTwoFingerTap;
    default: return igPressAndTap;
  }
}

TInteractiveGestureOption PanOptionToGestureOption(DWORD AFlag) {
  switch (AFlag) {
    case GC_PAN_WITH_SINGLE_FINGER_VERTICALLY: return igoPanSingleFingerVertical;
    case GC_PAN_WITH_SINGLE_FINGER_HORIZONTALLY: return igoPanSingleFingerHorizontal;
    case GC_PAN_WITH_GUTTER: return igoPanGutter;
    default: return igoPanInertia;
  }
}

TInteractiveGestureOptions PanOptionsToGestureOptions(DWORD AFlags) {
  TInteractiveGestureOptions options;
  for (DWORD flag : {GC_PAN_WITH_SINGLE_FINGER_VERTICALLY, GC_PAN_WITH_SINGLE_FINGER_HORIZONTALLY, GC_PAN_WITH_GUTTER,
                     GC_PAN_WITH_INERTIA})
    if (AFlags & flag) options.Include(PanOptionToGestureOption(flag));
  return options;
}

DWORD GestureOptionsToPanOptions(TInteractiveGestureOptions AOptions) {
  DWORD flags = 0;
  if (AOptions.Contains(igoPanSingleFingerHorizontal)) flags |= GC_PAN_WITH_SINGLE_FINGER_HORIZONTALLY;
  if (AOptions.Contains(igoPanSingleFingerVertical)) flags |= GC_PAN_WITH_SINGLE_FINGER_VERTICALLY;
  if (AOptions.Contains(igoPanInertia)) flags |= GC_PAN_WITH_INERTIA;
  if (AOptions.Contains(igoPanGutter)) flags |= GC_PAN_WITH_GUTTER;
  return flags;
}

bool ApplyGestureConfig(HWND AWindow, const TdxGestureConfigs& AConfigs) {
  if (!GApi.SetGestureConfig) return false;
  return GApi.SetGestureConfig(AWindow, 0, static_cast<UINT>(AConfigs.size()),
                               reinterpret_cast<PGESTURECONFIG>(const_cast<TdxGestureConfig*>(AConfigs.data())),
                               sizeof(GESTURECONFIG)) != FALSE;
}

void DisableAllGestures(HWND AWindow, TMessage& AMessage) {
  ApplyGestureConfig(AWindow, {TdxGestureConfig{0, 0, 1}});
  AMessage.Result = 1;
}

bool PhysicalToLogicalPointOf(HWND AWindow, TPoint& APoint) {
  if (!GApi.PhysicalToLogicalPoint) return false;
  POINT p{APoint.X, APoint.Y};
  if (!GApi.PhysicalToLogicalPoint(AWindow, &p)) return false;
  APoint = TPoint(p.x, p.y);
  return true;
}

void GestureNotifyHook(int, WPARAM, LPARAM ALParam, LRESULT&) {
  const auto* call = reinterpret_cast<const CWPSTRUCT*>(ALParam);
  if (!call || call->message != WM_GESTURENOTIFY || !call->lParam) return;
  const auto* notify = reinterpret_cast<const GESTURENOTIFYSTRUCT*>(call->lParam);
  GTouchPoint = TPoint(notify->ptsLocation.x, notify->ptsLocation.y);
  if (GHelpers && !GHelpersFinalized)
    for (int i = 0; i < GHelpers->Count(); ++i)
      static_cast<TdxGestureHelper*>(GHelpers->Items(i))->FNotifyTouchControl.Set(nullptr);
}

// ---------------------------------------------------------------------------
// TdxGestureHelper

void TdxGestureHelper::TTrackedControl::Set(TControl* AControl) {
  FTracker = AControl ? std::make_unique<TControlTracker>(AControl) : nullptr;
  FControl = AControl;
}

void TdxGestureHelper::Create(IdxGestureOwner* AGestureOwner) {
  FGestureOwner = AGestureOwner;
  if (GHelpers && !GHelpersFinalized) GHelpers->Add(this);
}

void TdxGestureHelper::Destroy() {
  if (GHelpers && !GHelpersFinalized) GHelpers->Remove(this);
  inherited::Destroy();
}

bool TdxGestureHelper::HandleMessage(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GESTURE:
      WMGesture(Message);
      return true;
    case WM_GESTURENOTIFY:
      WMGestureNotify();
      return false;
    case WM_DESTROY:
      if (FIsPanning) EndPanning();
      return false;
    default:
      return false;
  }
}

TPoint TdxGestureHelper::TouchStartPoint() {
  TPoint p = GTouchPoint;
  PhysicalToLogicalPointOf(GetHandle(), p);
  return ScreenToClient(p);
}

void TdxGestureHelper::WMGestureNotify() {
  const TPoint p = TouchStartPoint();
  TWinControl* control = FindControl(GetHandle());
  if (!control || !control->ClientRect().Contains(p)) return;
  TControl* child = control->ControlAtPos(p, true);
  FNotifyTouchControl.Set(child ? child : control);
}

void TdxGestureHelper::WMGesture(TMessage& Message) {
  const auto handle = reinterpret_cast<HGESTUREINFO>(Message.LParam);
  const TScopeExit close([handle] {
    if (GApi.CloseGestureInfoHandle) GApi.CloseGestureInfoHandle(handle);
  });
  GESTUREINFO info{};
  info.cbSize = sizeof info;
  if (!GApi.GetGestureInfo || !GApi.GetGestureInfo(handle, &info)) return;

  TGestureEventInfo event;
  event.GestureID = static_cast<TGestureID>(info.dwID) + 256;
  event.Flags = FlagsOf(info.dwFlags);
  const bool begin = event.Flags.Contains(gfBegin);
  if (event.GestureID != igiBegin && event.GestureID != igiEnd &&
      (FTouchControl.Get() || (begin && FNotifyTouchControl.Get()))) {
    if (begin) FTouchControl.Set(FNotifyTouchControl.Get());
    // Up to the parents that let the gesture through and take it.
    TControl* target = FTouchControl.Get();
    const TInteractiveGesture kind = GestureIdToGestureKind(info.dwID);
    while (target->Parent() && target->Touch().InteractiveGestureOptions().Contains(igoParentPassthrough) &&
           !target->Touch().InteractiveGestures().Contains(kind))
      target = target->Parent();

    const TPoint location(info.ptsLocation.x, info.ptsLocation.y);
    event.Location = target->ScreenToClient(location);
    const auto argument = static_cast<DWORD>(info.ullArguments);
    switch (info.dwID) {
      case GID_PAN:
        event.Distance = static_cast<int>(argument);
        event.InertiaVector.X = static_cast<std::int16_t>(LOWORD(info.ullArguments >> 32));
        event.InertiaVector.Y = static_cast<std::int16_t>(HIWORD(info.ullArguments >> 32));
        break;
      case GID_ROTATE:
        event.Angle = GID_ROTATE_ANGLE_FROM_ARGUMENT(argument);
        break;
      case GID_PRESSANDTAP: {
        TPoint tap = location + TPoint(static_cast<std::int16_t>(LOWORD(argument)), static_cast<std::int16_t>(HIWORD(argument)));
        auto* windowed = dynamic_cast<TWinControl*>(target);
        PhysicalToLogicalPointOf(windowed ? windowed->Handle() : target->Parent()->Handle(), tap);
        tap = target->ScreenToClient(tap);
        event.TapLocation.X = static_cast<std::int16_t>(tap.X);
        event.TapLocation.Y = static_cast<std::int16_t>(tap.Y);
        break;
      }
      default:
        event.Distance = static_cast<int>(argument);
        break;
    }
    Message.Result = target->Perform(CM_GESTURE, 0, reinterpret_cast<LPARAM>(&event));
    if (event.Flags.Contains(gfEnd)) FTouchControl.Set(nullptr);
  }
  if (Message.Result != 1) Message.Result = DefWindowProcW(GetHandle(), WM_GESTURE, Message.WParam, Message.LParam);
}

void TdxGestureHelper::CheckGestureOptions(TInteractiveGestures& AGestures, TInteractiveGestureOptions& AOptions) {
  const TPoint p = TouchStartPoint();
  FGestureNotifyClient = FGestureOwner->GetGestureClient(p);
  if (!AGestures.Contains(igPan)) return;
  if (!IsPanArea(p)) {
    AOptions.Exclude(igoPanSingleFingerHorizontal).Exclude(igoPanSingleFingerVertical);
  } else {
    if (!AllowPan(sbHorizontal)) AOptions.Exclude(igoPanSingleFingerHorizontal);
    if (!AllowPan(sbVertical)) AOptions.Exclude(igoPanSingleFingerVertical);
  }
  if (!AOptions.Contains(igoPanSingleFingerHorizontal) && !AOptions.Contains(igoPanSingleFingerVertical))
    AGestures.Exclude(igPan);
}

void TdxGestureHelper::DoGesture(const TGestureEventInfo& AEventInfo, bool& AHandled) {
  switch (AEventInfo.GestureID) {
    case igiZoom: AHandled = Zoom(AEventInfo.Distance, AEventInfo.Flags); break;
    case igiPan: AHandled = Pan(AEventInfo.Location, AEventInfo.Flags); break;
    case igiRotate: AHandled = Rotate(AEventInfo.Angle, AEventInfo.Flags); break;
    default: break;
  }
}

bool TdxGestureHelper::Pan(TPoint ALocation, TInteractiveGestureFlags AFlags) {
  if (GPanPointConversion) {
    if (TdxScaleFactor* system = SystemScaleFactor()) ALocation = system->Apply(ALocation, DesktopScaleFactor());
  }
  FIsInertia = AFlags.Contains(gfInertia);
  if (AFlags.Contains(gfBegin)) {
    FGestureClient = Supports<IdxGestureClient>(FGestureNotifyClient);
    if (FGestureClient) BeginPanning(ALocation);
  } else if (FGestureClient) {
    TPoint delta = ALocation - FPanPoint;
    if (AFlags.Contains(gfEnd)) FOverPan = TPoint();
    // A move back against the over-pan first takes the over-pan back.
    bool overPanChanged = false;
    const auto takeBack = [&](int& AOverPan, int& ADelta, TScrollBarKind AKind) {
      if (AOverPan == 0 || !Opposite(AOverPan, ADelta) || !NeedPanningFeedback(AKind)) return;
      const int part = std::abs(AOverPan) >= std::abs(ADelta) ? ADelta : -AOverPan;
      AOverPan += part;
      ADelta -= part;
      overPanChanged = true;
    };
    takeBack(FOverPan.X, delta.X, sbHorizontal);
    takeBack(FOverPan.Y, delta.Y, sbVertical);
    if (overPanChanged) UpdateFeedback();
    FGestureClient->GestureScroll(IsMirrored() ? -delta.X : delta.X, delta.Y);
    if (AFlags.Contains(gfEnd)) EndPanning();
  }
  FPanPoint = ALocation;
  return true;
}

bool TdxGestureHelper::Zoom(int ADistance, TInteractiveGestureFlags AFlags) {
  if (AFlags.Contains(gfBegin)) {
    FLastDistance = ADistance;
    FGestureClient = Supports<IdxGestureClient>(FGestureNotifyClient);
  }
  bool handled = false;
  if (const IPtr<IdxZoomClient> zoom = Supports<IdxZoomClient>(FGestureClient)) zoom->Zoom(ADistance - FLastDistance, handled);
  FLastDistance = ADistance;
  if (AFlags.Contains(gfEnd)) FGestureClient = nullptr;
  return handled;
}

bool TdxGestureHelper::Rotate(double AAngle, TInteractiveGestureFlags AFlags) {
  if (AFlags.Contains(gfBegin)) FGestureClient = Supports<IdxGestureClient>(FGestureNotifyClient);
  bool handled = false;
  if (const IPtr<IdxRotationClient> rotation = Supports<IdxRotationClient>(FGestureClient)) rotation->Rotate(AAngle, handled);
  if (AFlags.Contains(gfEnd)) FGestureClient = nullptr;
  return handled;
}

void TdxGestureHelper::BeginPanning(const TPoint& ALocation) {
  FIsPanning = true;
  FGestureClient->BeginGestureScroll(ALocation);
  if (NeedPanningFeedback(sbHorizontal) || NeedPanningFeedback(sbVertical)) UxBeginPanningFeedback(GetHandle());
  FOverPan = TPoint();
}

void TdxGestureHelper::EndPanning() {
  FIsPanning = false;
  if (FGestureClient) {
    FGestureClient->EndGestureScroll();
    if (NeedPanningFeedback(sbHorizontal) || NeedPanningFeedback(sbVertical)) UxEndPanningFeedback(GetHandle(), true);
  }
  FGestureClient = nullptr;
}

void TdxGestureHelper::CheckOverpan(TScrollBarKind AScrollKind, int ANewDataPos, int AMinDataPos, int AMaxDataPos,
                                    int ADeltaX, int ADeltaY) {
  if (!NeedPanningFeedback(AScrollKind) || (AMinDataPos < ANewDataPos && ANewDataPos < AMaxDataPos)) return;
  if (AScrollKind == sbVertical) FOverPan.Y += ADeltaY;
  else FOverPan.X += IsMirrored() ? -ADeltaX : ADeltaX;
  UpdateFeedback();
}

void TdxGestureHelper::UpdateFeedback() { UxUpdatePanningFeedback(GetHandle(), FOverPan, FIsInertia); }

bool TdxGestureHelper::IsMirrored() const {
  const IPtr<IdxGestureClient2> client = Supports<IdxGestureClient2>(FGestureClient);
  return client && client->IsPanMirrored();
}

IPtr<IdxGestureClient> TdxGestureHelper::NotifyClient() const { return Supports<IdxGestureClient>(FGestureNotifyClient); }

bool TdxGestureHelper::AllowGesture(DWORD AGestureId) {
  const IPtr<IdxGestureClient> client = NotifyClient();
  return client && client->IsGestureEnabled(AGestureId);
}

bool TdxGestureHelper::AllowPan(TScrollBarKind AScrollKind) {
  const IPtr<IdxGestureClient> client = NotifyClient();
  return client && client->AllowsPan(AScrollKind);
}

HWND TdxGestureHelper::GetHandle() { return FGestureOwner->GestureWindowHandle(); }

bool TdxGestureHelper::IsPanningActive() {
  const IPtr<IdxGestureClient> client = NotifyClient();
  return client && client->IsPanning();
}

bool TdxGestureHelper::IsGestureTarget(HWND AWindow) { return FGestureOwner->IsGestureTarget(AWindow); }

bool TdxGestureHelper::IsPanArea(const TPoint& APoint) {
  const IPtr<IdxGestureClient> client = NotifyClient();
  return client && client->IsPanArea(APoint);
}

bool TdxGestureHelper::NeedPanningFeedback(TScrollBarKind AScrollKind) {
  return FGestureClient && FGestureClient->WantsPanFeedback(AScrollKind);
}

TPoint TdxGestureHelper::ScreenToClient(const TPoint& APoint) { return FGestureOwner->GestureScreenToClient(APoint); }

// ---------------------------------------------------------------------------
// Start-up and shut-down

void dxGesturesInitialization() {
  GApi = TdxGestureApi();
  if (HMODULE user32 = GetModuleHandleW(L"user32.dll")) {
    GApi.GetGestureInfo = Bind<decltype(GApi.GetGestureInfo)>(user32, "GetGestureInfo");
    GApi.CloseGestureInfoHandle = Bind<decltype(GApi.CloseGestureInfoHandle)>(user32, "CloseGestureInfoHandle");
    GApi.SetGestureConfig = Bind<decltype(GApi.SetGestureConfig)>(user32, "SetGestureConfig");
    GApi.LogicalToPhysicalPoint = Bind<decltype(GApi.LogicalToPhysicalPoint)>(user32, "LogicalToPhysicalPoint");
    GApi.PhysicalToLogicalPoint = Bind<decltype(GApi.PhysicalToLogicalPoint)>(user32, "PhysicalToLogicalPoint");
  }
  GPanPointConversion = !IsWin8OrLater && !IsDpiAwareProcess();
  GHelpersFinalized = false;
  GHelpers = New<TdxFastObjectList>(false);
  SetSystemHook(htWndProc, &GestureNotifyHook);
}

void dxGesturesFinalization() {
  ReleaseSystemHook(&GestureNotifyHook);
  GHelpersFinalized = true;
  ScheduleGlobalObjectFree(GHelpers);
  GApi = TdxGestureApi();
}
