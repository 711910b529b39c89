// The container control: state, refresh, window region and the inner control.
#include "library/controls/container/cxContainer.h"

#include "library/core/system/dxDPIAwareUtils.h"
#include "library/controls/windows/cxDWMApi.h"
#include "library/lookandfeel/painters/dxOffice11.h"
#include "platform/runtime/Handles.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Messages.h"

#include <uxtheme.h>

#include <algorithm>

namespace {

constexpr int ShadowSize = 3;
constexpr int TransparentMargin = 2;

// user32's GetScrollBarInfo, bound by name at start-up; nil when missing
// (the inner bars then count as invisible).
using TGetScrollBarInfo = BOOL(WINAPI*)(HWND, LONG, PSCROLLBARINFO);
TGetScrollBarInfo GetScrollBarInfoProc = nullptr;

TShiftState CurrentShiftState() {
  TShiftState shift;
  const std::pair<int, TShiftStateItem> keys[] = {{VK_SHIFT, ssShift}, {VK_MENU, ssAlt},      {VK_CONTROL, ssCtrl},
                                                   {VK_LBUTTON, ssLeft}, {VK_RBUTTON, ssRight}, {VK_MBUTTON, ssMiddle}};
  // One read of the whole table instead of one per key: each read asks the
  // window server.
  BYTE state[256] = {};
  GetKeyboardState(state);
  for (const auto& [key, item] : keys)
    if (state[key] & 0x80) shift.Include(item);
  return shift;
}

bool HoldsButtonOrModifier(TShiftState AShift) {
  for (TShiftStateItem item : {ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle})
    if (AShift.Contains(item)) return true;
  return false;
}

// Raises a counter for the length of a scope (also when it is left by an exception).
class TCounterScope {
 public:
  explicit TCounterScope(int& ACounter) : FCounter(ACounter) { ++FCounter; }
  ~TCounterScope() { --FCounter; }
  TCounterScope(const TCounterScope&) = delete;
  TCounterScope& operator=(const TCounterScope&) = delete;

 private:
  int& FCounter;
};

}  // namespace

TcxMouseButton ButtonToMouseButton(TMouseButton AButton) {
  switch (AButton) {
    case mbLeft: return cxmbLeft;
    case mbRight: return cxmbRight;
    case mbMiddle: return cxmbMiddle;
    default: return cxmbNone;
  }
}

bool TcxContainerMouseTracker::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IcxMouseTrackingCaller3, IcxMouseTrackingCaller2, IcxMouseTrackingCaller>(this, AIID, AObj) ||
         inherited::GetInterface(AIID, AObj);
}

void TcxContainerMouseTracker::MouseLeave() { FContainer->TrackedMouseLeave(); }
bool TcxContainerMouseTracker::PtInCaller(const TPoint& P) { return FContainer->TrackedPointInside(P); }
bool TcxContainerMouseTracker::IsCaptureObject() { return FContainer->TrackedCaptureInside(); }

// The container sets its own colour or font: the change is not copied back
// into the normal style.
struct TcxContainer::TInternalSetting : TCounterScope {
  explicit TInternalSetting(TcxContainer* AContainer) : TCounterScope(AContainer->FInternalSetting) {}
};

// ---------------------------------------------------------------------------
// Construction

void TcxContainer::Publish(TPublisher<TcxContainer>& P) {
  P.Message<&TcxContainer::WMKillFocus>(WM_KILLFOCUS);
  P.Message<&TcxContainer::WMSetFocus>(WM_SETFOCUS);
  P.Message<&TcxContainer::WMSetCursor>(WM_SETCURSOR);
  P.Message<&TcxContainer::WMWindowPosChanging>(WM_WINDOWPOSCHANGING);
  P.Message<&TcxContainer::WMWindowPosChanged>(WM_WINDOWPOSCHANGED);
  P.Message<&TcxContainer::WMDestroy>(WM_DESTROY);
  P.Message<&TcxContainer::CMColorChanged>(CM_COLORCHANGED);
  P.Message<&TcxContainer::CMFontChanged>(CM_FONTCHANGED);
  P.Message<&TcxContainer::CMParentColorChanged>(CM_PARENTCOLORCHANGED);
  P.Message<&TcxContainer::CMParentFontChanged>(CM_PARENTFONTCHANGED);
  P.Message<&TcxContainer::CMSysColorChange>(CM_SYSCOLORCHANGE);
  P.Message<&TcxContainer::CMSysColorChange>(CM_CTL3DCHANGED);
  P.Message<&TcxContainer::ShortRefreshMessage>(DXM_CONTAINERSHORTREFRESH);
  P.Message<&TcxContainer::ApplyWindowRegionMessage>(DXM_CONTAINERSETWINDOWREGION);
  P.Message<&TcxContainer::SetScrollBarsParametersMessage>(DXM_CONTAINERSETSCROLLBARS);
}

void TcxContainer::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FIsCreating = true;
  FMouseTracker.reset(New<TcxContainerMouseTracker>(this));
  FStyles.reset(NewOfClass<TcxContainerStyles>(StylesClass(), this, StyleClass()));
  FStyles->SetOnChanged(BindEvent<&TcxContainer::ApplyStyleChanges>(this));
  FActiveStyleState = {csNormal};
  FActiveStyle = Style();
  RecreateViewInfo();
  LookAndFeel()->SetMasterLookAndFeel(Style()->LookAndFeel());
  ControlStyle().Include(csCaptureMouse).Include(csSetCaption);
  SetTabStop(true);
  SetParentColor(DefaultsToParentColor() && !IsInplace() && !Style()->IsValueAssigned(svColor));
  if (!ParentColor()) {
    const TInternalSetting setting(this);
    SetColor(clWindow);
  }
  ClearSavedChildControlRegions();
  FIsCreating = false;
}

void TcxContainer::Destroy() {
  FNewWindowRegion.reset();
  if (FMouseTracker) EndMouseTracking(FMouseTracker.get());
  if (FInnerControl) FInnerControl->RemoveFreeNotification(this);
  FInnerControl = nullptr;
  FViewInfo.reset();
  if (FStyles) FStyles->SetOnChanged(nullptr);
  // The control's look-and-feel follows the normal style's: unhook it first.
  if (LookAndFeel()) LookAndFeel()->SetMasterLookAndFeel(nullptr);
  FStyles.reset();
  inherited::Destroy();
  FMouseTracker.reset();
}

void TcxContainer::Notification(TComponent* AComponent, TOperation AOperation) {
  inherited::Notification(AComponent, AOperation);
  if (AOperation == opRemove && AComponent == FInnerControl) SetInnerControl(nullptr);
}

void TcxContainer::Loaded() {
  inherited::Loaded();
  AdjustInnerControlLocked();
  ApplyStyleChanges(Style());
}

void TcxContainer::SetInnerControl(TWinControl* AValue) {
  if (FInnerControl == AValue) return;
  if (FInnerControl) FInnerControl->RemoveFreeNotification(this);
  FInnerControl = AValue;
  if (!FInnerControl) return;
  FInnerControl->FreeNotification(this);
  // The container is the tab stop: Tab moves from it (or from its inner
  // window) to the next control, never into the inner window.
  FInnerControl->SetTabStop(false);
}

void TcxContainer::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.WindowClass.style &= ~(CS_VREDRAW | CS_HREDRAW);
}

void TcxContainer::LockAlignControls(bool ALock) {
  if (ALock)
    ++FLockAlignControlsCount;
  else if (FLockAlignControlsCount > 0)
    --FLockAlignControlsCount;
}

void TcxContainer::LockPopupMenu(bool ALock) {
  if (ALock)
    ++FPopupMenuLockCount;
  else if (FPopupMenuLockCount > 0)
    --FPopupMenuLockCount;
}

bool TcxContainer::IsStylePropertyPublished(const String& APropertyName, bool AExtendedStyle) {
  TcxContainerStyleValue value;
  if (Style()->GetStyleValue(APropertyName, value) && HiddenStyleValues().Contains(value)) return false;
  return !AExtendedStyle || Style()->IsExtendedStylePropertyPublished(APropertyName);
}

bool TcxContainer::IsStyleValueAssigned(TcxContainerStyleValue AValue) {
  return Style()->IsValueAssigned(AValue) || CurrentStyle()->IsValueAssigned(AValue);
}

// ---------------------------------------------------------------------------
// Styles

void TcxContainer::ApplyStyleChanges(TObject*) {
  if (FIsCreating || IsLoading()) return;
  LockRefresh();
  TScopeExit unlock([this] { UnlockRefresh(false); });
  if (!ParentColor() || Style()->IsValueAssigned(svColor)) {
    const TInternalSetting setting(this);
    SetColor(Style()->ResolvedColor());
  }
  {
    const TInternalSetting setting(this);
    SetFont(Style()->Font());
  }
  if (Style()->AssignedValues().Contains(svFont)) SetParentFont(false);
}

TcxContainerStyle* TcxContainer::CurrentStyle() {
  if (!(FActiveStyleState == FViewInfo->ContainerState)) {
    FActiveStyleState = FViewInfo->ContainerState;
    FActiveStyle = SelectStyleForState(FActiveStyleState);
  }
  return FActiveStyle;
}

TcxContainerStyle* TcxContainer::SelectStyleForState(TcxContainerState AState) {
  if (AState.Contains(csDisabled)) return StyleDisabled();
  if (AState.Contains(csActive)) return StyleFocused();
  if (AState.Contains(csHotTrack) && Style()->HotTrack()) return StyleHot();
  return Style();
}

TFont* TcxContainer::GetVisibleFont() {
  TFont* font = CurrentStyle()->GetVisibleFont();
  AdjustFont(font);
  font->SetColor(GetTextColor());
  return font;
}

TColor TcxContainer::GetTextColor() { return FViewInfo->CalculateTextColor(CurrentStyle(), Enabled(), this); }

TcxEditStateColorKind TcxContainer::StyleStateIndex() {
  if (!Enabled()) return esckDisabled;
  return Focused() ? esckNormal : esckInactive;
}

bool TcxContainer::UsesNativeStyle() {
  return Style()->LookAndFeel()->NativeStyle() && OpenTheme(GetThemedObjectType()) != nullptr;
}

bool TcxContainer::HasTransparentBorder() {
  return CurrentStyle()->TransparentBorder() && !(FViewInfo->NativeStyle && Style()->BorderStyle() != cbsNone);
}

bool TcxContainer::HasShadow() { return CurrentStyle()->Shadow() && !UsesNativeStyle(); }

int TcxContainer::GetNativePart() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  GetVersionExW(&version);
#pragma GCC diagnostic pop
  return version.dwMajorVersion >= 6 ? 3 : 1;
}

int TcxContainer::GetNativeState() {
  if (!Enabled()) return 4;
  if (IsReadOnlyState()) return 6;
  if (Focused()) return 5;
  return FViewInfo->ContainerState.Contains(csHotTrack) ? 2 : 1;
}

// ---------------------------------------------------------------------------
// Geometry

void TcxContainer::GetBorderExtents(TRect& R) {
  TcxContainerStyle* style = CurrentStyle();
  if (style->TransparentBorder()) {
    R = TRect(TransparentMargin, TransparentMargin, TransparentMargin, TransparentMargin);
  } else if (!style->HasBorder() || (FViewInfo->NativeStyle && Style()->BorderStyle() == cbsNone)) {
    R = TRect();
  } else if (FViewInfo->NativeStyle) {
    R = TRect(TransparentMargin, TransparentMargin, TransparentMargin, TransparentMargin);
  } else {
    const int width = BorderStyleToWidth(FViewInfo->BorderStyle);
    const TcxBorders edges = style->Edges();
    R = TRect(edges.Contains(bLeft) ? width : 0, edges.Contains(bTop) ? width : 0, edges.Contains(bRight) ? width : 0,
              edges.Contains(bBottom) ? width : 0);
  }
  if (HasShadow()) {
    R.Right += ShadowSize;
    R.Bottom += ShadowSize;
  }
}

void TcxContainer::ComputeBorderBounds(TRect& R) {
  TRect extents;
  GetBorderExtents(extents);
  const TRect& bounds = FViewInfo->Bounds;
  R = TRect(bounds.Left + extents.Left, bounds.Top + extents.Top, bounds.Right - extents.Right,
            bounds.Bottom - extents.Bottom);
  const int width = FViewInfo->Painter ? FViewInfo->Painter->GetContainerBorderWidth(FViewInfo->GetBorderStyle()) : 0;
  const TcxBorders edges = CurrentStyle()->Edges();
  R.Left -= edges.Contains(bLeft) ? width : 0;
  R.Top -= edges.Contains(bTop) ? width : 0;
  R.Right += edges.Contains(bRight) ? width : 0;
  R.Bottom += edges.Contains(bBottom) ? width : 0;
}

TRect TcxContainer::GetVisibleBounds() {
  TRect r(0, 0, Width(), Height());
  if (IsInplace()) return r;
  if (FViewInfo->Shadow) {
    r.Right -= ShadowSize;
    r.Bottom -= ShadowSize;
  }
  TcxContainerStyle* style = CurrentStyle();
  const bool transparent = style->TransparentBorder();
  if (Style()->HasBorder()) {
    if (FViewInfo->NativeStyle) {
      if (transparent && Style()->BorderStyle() == cbsNone) r.Inflate(-TransparentMargin, -TransparentMargin);
    } else if (transparent) {
      const int width = FViewInfo->BorderWidth;
      r.Inflate(width - TransparentMargin, width - TransparentMargin);
      if (!FViewInfo->Edges.Contains(bLeft)) r.Left += width;
      if (!FViewInfo->Edges.Contains(bTop)) r.Top += width;
      if (!FViewInfo->Edges.Contains(bRight)) r.Right -= width;
      if (!FViewInfo->Edges.Contains(bBottom)) r.Bottom -= width;
    }
  } else if (transparent) {
    r.Inflate(-TransparentMargin, -TransparentMargin);
  }
  if (r.Bottom < r.Top) r = TRect(r.Left, 0, r.Right, 0);
  return r;
}

TRect TcxContainer::ClientBounds() { return FViewInfo->Calculated() ? FViewInfo->ClientRect : inherited::ClientBounds(); }

void TcxContainer::AdjustClientRect(TRect& ARect) {
  if (FViewInfo && FViewInfo->Calculated() && !IsDestroying() && !IsLoading())
    ARect = FViewInfo->ClientRect;
  else
    inherited::AdjustClientRect(ARect);
}

// ---------------------------------------------------------------------------
// The view info

TcxContainerState TcxContainer::ComputeContainerState(const TPoint& P, bool AAllowHotTrack) {
  if (!Enabled()) return {csDisabled};
  if (IsDesigning()) return {csNormal};
  TcxContainerState state{Focused() ? csActive : csNormal};
  if (AAllowHotTrack && GetVisibleBounds().Contains(P)) state.Include(csHotTrack);
  return state;
}

void TcxContainer::ComputeState(const TPoint& P, bool AAllowHotTrack) {
  FViewInfo->ContainerState = ComputeContainerState(P, AAllowHotTrack);
  TcxContainerStyle* style = CurrentStyle();
  const TcxContainerState& state = FViewInfo->ContainerState;
  if (!style->HotTrack())
    FViewInfo->HotState = chsNoHotTrack;
  else
    FViewInfo->HotState = state.Contains(csActive) || state.Contains(csHotTrack) ? chsSelected : chsNormal;
  TcxContainerBorderStyle borderStyle = FViewInfo->NativeStyle ? Style()->BorderStyle() : style->BorderStyle();
  if (!FViewInfo->NativeStyle && (borderStyle == cbsUltraFlat || borderStyle == cbsOffice11)) borderStyle = cbsSingle;
  FViewInfo->BorderStyle = borderStyle;
}

void TcxContainer::ComputeViewInfo(const TPoint& P, bool AAllowHotTrack) {
  TcxContainerViewInfo* vi = FViewInfo.get();
  vi->SetCalculated(true);
  vi->NativeStyle = UsesNativeStyle();
  vi->UpdateStyle(Style());
  const int previousWidth = BorderStyleToWidth(vi->BorderStyle);
  ComputeState(P, AAllowHotTrack);
  // The visible bounds that decide the hot state depend on the border width.
  if (!vi->NativeStyle && BorderStyleToWidth(vi->BorderStyle) < previousWidth) ComputeState(P, AAllowHotTrack);
  if (vi->NativeStyle) {
    vi->ThemedObjectType = GetThemedObjectType();
    vi->NativePart = GetNativePart();
    vi->NativeState = GetNativeState();
  }
  TcxContainerStyle* style = CurrentStyle();
  vi->Bounds = TRect(0, 0, Width(), Height());
  TRect extents;
  GetBorderExtents(extents);
  vi->BorderRect = TRect(vi->Bounds.Left + extents.Left, vi->Bounds.Top + extents.Top, vi->Bounds.Right - extents.Right,
                         vi->Bounds.Bottom - extents.Bottom);
  vi->ClientRect = vi->BorderRect;
  vi->BorderWidth = vi->Painter->GetContainerBorderWidth(vi->BorderStyle);
  vi->Edges = style->Edges();
  vi->Shadow = HasShadow();
  vi->BorderColor = vi->CalculateBorderColor(style, Enabled(), IsDesigning(), this);
  vi->SetBackgroundColor(vi->CalculateBackgroundColor(style, Enabled(), this));
}

void TcxContainer::RecreateViewInfo() {
  FViewInfo.reset(NewOfClass<TcxContainerViewInfo>(ViewInfoClass()));
  FViewInfo->Owner = this;
  FIsViewInfoCalculated = false;
}

void TcxContainer::EnsureViewInfo() {
  if (!FIsViewInfoCalculated) ShortRefreshContainer(false);
}

// ---------------------------------------------------------------------------
// Refresh

bool TcxContainer::CanRefreshNow() {
  return FRefreshLockCount == 0 && !FIsCreating && !IsDestroying() && !IsLoading() &&
         !ControlState().Contains(csDestroyingHandle) && HandleAllocated();
}

void TcxContainer::UnlockRefresh(bool AIsMouseEvent) {
  if (FRefreshLockCount > 0) --FRefreshLockCount;
  ShortRefreshContainer(AIsMouseEvent);
}

void TcxContainer::ShortRefreshContainer(bool AIsMouseEvent) {
  TPoint p(-1, -1);
  TShiftState shift;
  if (CanRefreshNow()) {
    POINT cursor{};
    GetCursorPos(&cursor);
    // A pointer outside the window's rectangle is over neither it nor its
    // children: the window search (a round trip to the window server) is
    // left for a pointer inside, where another window may still cover it.
    RECT bounds{};
    GetWindowRect(Handle(), &bounds);
    if (PtInRect(&bounds, cursor)) {
      const HWND under = WindowFromPoint(cursor);
      if (under && (under == Handle() || IsChild(Handle(), under))) p = ScreenToClient(TPoint(cursor.x, cursor.y));
    }
    shift = CurrentShiftState();
  }
  RefreshContainer(p, cxmbNone, AIsMouseEvent, shift);
}

void TcxContainer::RefreshContainer(const TPoint& P, TcxMouseButton AButton, bool AIsMouseEvent, TShiftState AShift) {
  FHasChanges = true;
  bool result = false;
  if (CanRefreshNow()) {
    const TCounterScope lock(FRefreshLockCount);
    FHasChanges = false;
    result = RefreshAtPoint(P, AButton, AShift, AIsMouseEvent);
  }
  if (AIsMouseEvent && CanRefreshNow() && FProcessEventsLockCount == 0) {
    const TCounterScope guard(FProcessEventsLockCount);
    CompleteMouseClick();
  }
  FIsViewInfoCalculated = result && !FHasChanges;
}

bool TcxContainer::RefreshAtPoint(const TPoint& P, TcxMouseButton, TShiftState AShift, bool) {
  const bool allowHotTrack = !HoldsButtonOrModifier(AShift) && CurrentStyle()->HotTrack();
  ComputeViewInfo(P, allowHotTrack);
  AdjustInnerControlLocked();
  StyleInnerControl();
  UpdateWindowRegion();
  InvalidateBorderRing();
  if (FViewInfo->ContainerState.Contains(csHotTrack)) BeginHotTracking();
  return true;
}

void TcxContainer::InvalidateBorderRing() {
  const TRect client(0, 0, Width(), Height());
  if (!FInnerControl) {
    RECT r = client;
    ::InvalidateRect(Handle(), &r, FALSE);
    return;
  }
  // The inner window paints itself: only the ring around it is redrawn.
  const TRect& inner = FViewInfo->BorderRect;
  std::vector<TRect> strips;
  if (inner.IsEmpty()) {
    strips.push_back(client);
  } else {
    strips = {TRect(client.Left, client.Top, inner.Left, client.Bottom), TRect(inner.Left, client.Top, inner.Right, inner.Top),
              TRect(inner.Right, client.Top, client.Right, client.Bottom),
              TRect(inner.Left, inner.Bottom, inner.Right, client.Bottom)};
  }
  for (const TRect& strip : strips) {
    if (strip.IsEmpty()) continue;
    RECT r = strip;
    RedrawWindow(Handle(), &r, nullptr, RDW_INVALIDATE);
  }
}

void TcxContainer::BeginHotTracking() { BeginMouseTracking(this, TRect(0, 0, Width(), Height()), FMouseTracker.get()); }

void TcxContainer::StopHotTracking() {
  EndMouseTracking(FMouseTracker.get());
  NotifyMouseLeave(nullptr);
}

void TcxContainer::HandlePositionChange() {
  if (!FInternalWindowRegionSetting) ShortRefreshContainer(false);
}

void TcxContainer::Invalidate() {
  inherited::Invalidate();
  if (HasInnerControlHandle()) FInnerControl->Invalidate();
}

void TcxContainer::HandleScrollBarModeChange() {
  // The inner list's integral-height style is fixed when its window is made.
  if (auto* list = dynamic_cast<TcxCustomInnerListBox*>(FInnerControl); list && list->HandleAllocated())
    list->RecreateWnd();
  // Overlay mode grows the inner window past the content; classic mode
  // shrinks it back beside the bars.
  ShortRefreshContainer(false);
  inherited::HandleScrollBarModeChange();
}

void TcxContainer::Resize() {
  inherited::Resize();
  // The overlay bars follow the new size once the inner window has its own.
  if (IsOverlayScrollMode() && (IsScrollBarVisible(sbHorizontal) || IsScrollBarVisible(sbVertical)) &&
      HandleAllocated() && FInnerControl && !IsDestroying())
    PostMessageW(Handle(), DXM_CONTAINERSETSCROLLBARS, 0, 0);
}

void TcxContainer::PaintControl() {
  auto* canvas = dynamic_cast<TcxCanvas*>(ActualCanvas());
  if (!canvas) canvas = Canvas();
  if (canvas->RectVisible(FViewInfo->Bounds) || !FIsViewInfoCalculated) {
    EnsureViewInfo();
    if (FViewInfo->Calculated()) FViewInfo->Paint(canvas);
  }
  PaintScrollBars(ActualCanvas());
}

// ---------------------------------------------------------------------------
// Window region

void TcxContainer::UpdateWindowRegion() {
  if (!HandleAllocated() || Width() <= 0 || Height() <= 0 || FInternalWindowRegionSetting || !NeedsWindowRegion())
    return;
  ++FUpdateWindowRegionCount;
  FNewWindowRegion = CreateWindowRegion();
  SendMessageW(Handle(), DXM_CONTAINERSETWINDOWREGION, 0, 0);
}

TOwned<TcxRegion> TcxContainer::CreateWindowRegion() {
  TOwned<TcxRegion> region;
  TRect border;
  const bool nativeBorder = FViewInfo->NativeStyle && Style()->BorderStyle() != cbsNone;
  if (FViewInfo->Shadow && !nativeBorder) {
    ComputeBorderBounds(border);
    TRect margins;
    GetOuterMargins(margins);
    TRect shadow = border;
    shadow.Offset(ShadowSize, ShadowSize);
    shadow = TRect(shadow.Left + margins.Left, shadow.Top + margins.Top, shadow.Right - margins.Right,
                   shadow.Bottom - margins.Bottom);
    region.reset(New<TcxRegion>(border));
    region->Combine(shadow, roAdd);
  } else if (HasTransparentBorder()) {
    ComputeBorderBounds(border);
    region.reset(New<TcxRegion>(border));
  }
  if (region) {
    TRect extra;
    GetExtraRegionBounds(extra);
    if (!extra.IsEmpty()) region->Combine(extra, roAdd);
  }
  return region;
}

void TcxContainer::ApplyWindowRegionMessage(TMessage&) {
  if (FUpdateWindowRegionCount > 0) --FUpdateWindowRegionCount;
  if (FUpdateWindowRegionCount != 0) return;
  FInternalWindowRegionSetting = true;
  TScopeExit reset([this] { FInternalWindowRegionSetting = false; });
  TOwned<TcxRegion> current(New<TcxRegion>());
  const bool hasCurrent = GetWindowRgn(Handle(), current->Handle()) != ERROR;
  const HRGN wanted = FNewWindowRegion ? FNewWindowRegion->Handle() : nullptr;
  const bool differs = (hasCurrent != (wanted != nullptr)) || (wanted && !EqualRgn(current->Handle(), wanted));
  if (!differs) {
    FNewWindowRegion.reset();
    return;
  }
  if (SetWindowRgn(Handle(), wanted, TRUE)) {
    // The window owns the region now.
    if (FNewWindowRegion) FNewWindowRegion->SetHandle(nullptr);
    FNewWindowRegion.reset();
  }
}

// ---------------------------------------------------------------------------
// The inner control

void TcxContainer::AdjustInnerControlLocked() {
  const TCounterScope lock(FRefreshLockCount);
  AdjustInnerControlBounds();
}

void TcxContainer::AdjustInnerControlBounds() {
  if (!FInnerControl || !FViewInfo->Calculated()) return;
  // Overlay mode: the inner window reaches past the content by its own bars,
  // so they fall outside the visible area and only the overlay bars show.
  // Resizing may change which inner bars show: the second round settles it.
  const int rounds = IsOverlayScrollMode() ? 2 : 1;
  for (int round = 0; round < rounds; ++round) {
    TRect r = FViewInfo->ClientRect;
    if (IsOverlayScrollMode()) r = InflateByInnerScrollBars(r);
    if (FInnerControl->BoundsRect() != r) FInnerControl->SetBounds(r.Left, r.Top, r.Width(), r.Height());
  }
}

TRect TcxContainer::InflateByInnerScrollBars(TRect R) {
  // A list box without its bar yet still gets room for one: adding items
  // must not make the list narrower under the overlay bar.
  const bool reservesBars = dynamic_cast<TcxCustomInnerListBox*>(FInnerControl) != nullptr;
  const TSize system = GetDefaultSystemScrollBarSize();
  SCROLLBARINFO info{};
  const int vertWidth = IsInnerScrollBarVisible(sbVertical, info) ? info.rcScrollBar.right - info.rcScrollBar.left
                        : reservesBars                            ? system.cx
                                                                  : 0;
  if (FInnerControl->UseRightToLeftScrollBar()) R.Left -= vertWidth;
  else R.Right += vertWidth;
  R.Bottom += IsInnerScrollBarVisible(sbHorizontal, info) ? info.rcScrollBar.bottom - info.rcScrollBar.top
              : reservesBars                              ? system.cy
                                                          : 0;
  return R;
}

void TcxContainer::StyleInnerControl() {
  if (!FInnerControl) return;
  FInnerControl->SetColor(FViewInfo->BackgroundColor());
  FInnerControl->SetFont(GetVisibleFont());
}

void TcxContainer::FocusInnerControl() {
  if (FInnerControl && FInnerControl->CanFocus()) FInnerControl->SetFocus();
}

void TcxContainer::GetChildRegionInfo(const TRect& R, TControl* AControl, TcxContainerInnerControlBounds& AInfo) {
  AInfo.IsEmpty = true;
  AInfo.Rect = TRect();
  if (!AControl) return;
  const TRect bounds = AControl->BoundsRect();
  TRect rect(0, 0, AControl->Width(), AControl->Height());
  bool cut = false;
  if (bounds.Left < R.Left) {
    rect.Left = R.Left - bounds.Left;
    cut = true;
  }
  if (bounds.Top < R.Top) {
    rect.Top = R.Top - bounds.Top;
    cut = true;
  }
  if (bounds.Right > R.Right) {
    rect.Right -= bounds.Right - R.Right;
    cut = true;
  }
  if (bounds.Bottom > R.Bottom) {
    rect.Bottom -= bounds.Bottom - R.Bottom;
    cut = true;
  }
  AInfo.IsEmpty = !cut;
  AInfo.Rect = rect;
}

bool TcxContainer::NeedsChildRegionUpdate(TControl* AControl, const TcxContainerInnerControlBounds& AInfo) {
  if (AControl != FInnerControl) return true;
  if (FInnerControlBounds.IsEmpty && AInfo.IsEmpty) return false;
  if (FInnerControlBounds.IsEmpty != AInfo.IsEmpty) return true;
  return FInnerControlBounds.Rect != AInfo.Rect;
}

// ---------------------------------------------------------------------------
// The inner window's scroll bars
//
// In classic mode the container's main bars lie exactly over the inner
// window's native bars and show their values; scrolling through them moves
// the inner window, whose own scroll messages bring the values back here.

void TcxContainer::RefreshScrollBars() {
  if (FInnerControl) SetScrollBarsParameters(false);
  else inherited::RefreshScrollBars();
}

void TcxContainer::SetScrollBarsParameters(bool AIsScrolling) {
  if (!FInnerControl || !WantsScrollBars() || IsDestroying() || !GetScrollBarInfoProc) return;
  FScrollBarsCalculating = true;
  TScopeExit calculated([this] { FScrollBarsCalculating = false; });
  const bool overlay = IsOverlayScrollMode();
  if (overlay && !AIsScrolling) PlaceOverlayScrollBars();
  for (const TScrollBarKind kind : {sbHorizontal, sbVertical}) {
    IcxControlScrollBar* bar = kind == sbHorizontal ? GetHorzScrollBar() : GetVertScrollBar();
    if (!bar) continue;
    if (overlay) {
      if (!bar->GetData().FVisible) {
        bar->ApplyData();
        continue;
      }
    } else {
      if (!AIsScrolling) SyncScrollBar(bar);
      if (!bar->GetVisible()) continue;
    }
    SCROLLINFO info{};
    if (!GetInnerScrollInfo(kind, info)) continue;
    if (kind == sbHorizontal && !KeepsHorzScrollBarBiDiMode() && bar->GetControl())
      bar->GetControl()->SetBiDiMode(bdLeftToRight);
    TcxScrollBarData& data = bar->GetData();
    if (overlay) {
      const bool visible = data.FVisible;
      SetScrollBarInfo(kind, info.nMin, info.nMax, data.FSmallChange, static_cast<int>(info.nPage), info.nPos, true,
                       true);
      data.FVisible = visible;
      bar->ApplyData();
      continue;
    }
    data.FMin = info.nMin;
    data.FMax = info.nMax;
    data.FPageSize = static_cast<int>(info.nPage);
    data.FPosition = info.nPos;
    data.Correct();
    bar->SetScrollParams(info.nMin, info.nMax, info.nPos, static_cast<int>(info.nPage), true);
  }
  if (overlay && ScrollbarsHelper() && ScrollbarsHelper()->MainScrollBars())
    ScrollbarsHelper()->MainScrollBars()->SetSizeGripVisible(BothScrollBarsVisible());
}

static void PlaceOverlayScrollBar(IcxControlScrollBar* ABar, const TRect& ABounds) {
  // Overlay bars are popups: their bounds are given relative to the owner.
  if (auto* bar = dynamic_cast<TcxControlScrollBar*>(ABar->GetControl())) bar->UpdateBounds(ABounds);
}

void TcxContainer::PlaceOverlayScrollBars() {
  IcxControlScrollBar* horz = GetHorzScrollBar();
  IcxControlScrollBar* vert = GetVertScrollBar();
  if (!horz || !vert) return;
  const auto shownAndEnabled = [this](TScrollBarKind AKind) {
    SCROLLBARINFO info{};
    return IsInnerScrollBarVisible(AKind, info) && (info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) == 0;
  };
  const bool h = shownAndEnabled(sbHorizontal);
  const bool v = shownAndEnabled(sbVertical);
  const TRect client = ClientBounds();
  const TSize size = OverlayScrollBarSize();
  if (h) {
    TRect r(client.Left, client.Bottom - size.cy, client.Right - (v ? VertScrollBarWidth() : 0), client.Bottom);
    if (UseRightToLeftAlignment()) r = TdxRightToLeftLayoutConverter::ConvertRect(r, client);
    PlaceOverlayScrollBar(horz, r);
  }
  if (v) {
    TRect r(client.Right - size.cx, client.Top, client.Right, client.Bottom - (h ? HorzScrollBarHeight() : 0));
    if (UseRightToLeftScrollBar()) r = TdxRightToLeftLayoutConverter::ConvertRect(r, client);
    PlaceOverlayScrollBar(vert, r);
  }
  horz->GetData().FVisible = h;
  vert->GetData().FVisible = v;
  if (TcxSizeGrip* grip = GetSizeGrip(); grip && h && v)
    grip->SetOwnerControlRelativeBounds(
        TRect(client.Right - VertScrollBarWidth(), client.Bottom - HorzScrollBarHeight(), client.Right, client.Bottom));
}

void TcxContainer::SyncScrollBar(IcxControlScrollBar* ABar) {
  SCROLLBARINFO info{};
  if (!IsInnerScrollBarVisible(ABar->GetKind(), info)) {
    ShowContainerScrollBar(ABar, false);
    return;
  }
  const bool enabled = InnerScrollBarEnabled(ABar, info);
  ABar->GetData().FEnabled = enabled;
  if (TWinControl* control = ABar->GetControl()) control->SetEnabled(enabled);
  const TRect r = GetInnerScrollBarClientRect(TRect(info.rcScrollBar));
  ABar->SetBoundsRect(r);
  ShowContainerScrollBar(ABar, r.Width() > 0 && r.Height() > 0);
}

bool TcxContainer::GetInnerScrollBarInfo(SCROLLBARINFO& AInfo, TScrollBarKind AKind) {
  if (IsDestroying() || !Parent() || !HandleAllocated() || !HasInnerControlHandle() || !GetScrollBarInfoProc)
    return false;
  AInfo = SCROLLBARINFO{};
  AInfo.cbSize = sizeof(AInfo);
  if (!GetScrollBarInfoProc(FInnerControl->Handle(), AKind == sbHorizontal ? OBJID_HSCROLL : OBJID_VSCROLL, &AInfo))
    return false;
  if (IsPerMonitorV2Aware()) {
    // The system answers in the metrics of its own scale; the bar is drawn
    // at the container's.
    const TSize size = GetSystemScrollBarSize(ScaleFactor());
    RECT& r = AInfo.rcScrollBar;
    if (AKind == sbHorizontal) {
      r.bottom = r.top + size.cy;
    } else if (FInnerControl->UseRightToLeftScrollBar()) {
      r.left = r.right - size.cx;
    } else {
      r.right = r.left + size.cx;
    }
  }
  return true;
}

bool TcxContainer::IsInnerScrollBarVisible(TScrollBarKind AKind, SCROLLBARINFO& AInfo) {
  if (!GetInnerScrollBarInfo(AInfo, AKind)) return false;
  const RECT& r = AInfo.rcScrollBar;
  return (AInfo.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)) == 0 && r.right - r.left >= 1 &&
         r.bottom - r.top >= 1;
}

TRect TcxContainer::GetInnerScrollBarClientRect(const TRect& AScreenRect) {
  const TPoint origin = ClientToScreen(TPoint(0, 0));
  const TPoint topLeft(AScreenRect.Left - origin.X, AScreenRect.Top - origin.Y);
  if (topLeft.X < 0 || topLeft.Y < 0 || AScreenRect.Width() > Width() || AScreenRect.Height() > Height()) return TRect();
  return TRect(topLeft.X, topLeft.Y, topLeft.X + AScreenRect.Width(), topLeft.Y + AScreenRect.Height());
}

bool TcxContainer::InnerScrollBarEnabled(IcxControlScrollBar*, const SCROLLBARINFO& AInfo) {
  return Enabled() && (AInfo.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) == 0;
}

bool TcxContainer::GetInnerScrollInfo(TScrollBarKind AKind, SCROLLINFO& AInfo) {
  if (!HasInnerControlHandle()) return false;
  AInfo = SCROLLINFO{};
  AInfo.cbSize = sizeof(AInfo);
  AInfo.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
  if (!GetScrollInfo(FInnerControl->Handle(), AKind == sbHorizontal ? SB_HORZ : SB_VERT, &AInfo)) return false;
  if (AInfo.nMax >= 0 && AInfo.nPage > static_cast<UINT>(AInfo.nMax)) AInfo.nPage = static_cast<UINT>(AInfo.nMax);
  return true;
}

void TcxContainer::ShowContainerScrollBar(IcxControlScrollBar* ABar, bool AVisible) {
  // The data keeps the choice: the bar's own apply step shows what it says.
  ABar->GetData().FVisible = AVisible;
  TWinControl* control = ABar->GetControl();
  if (!control) return;
  control->SetVisible(AVisible);
  if (!AVisible) return;
  control->SetCtl3D(false);
  if (control->HandleAllocated())
    SetWindowPos(control->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool TcxContainer::InnerControlDefaultHandler(TMessage& Message) {
  if (!HasInnerControlHandle() || IsDestroying()) return false;
  return FilterInnerControlMessage(Message);
}

bool TcxContainer::InnerControlMenuHandler(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEMOVE:
      if (HasInnerControlHandle()) {
        const TPoint p = ScreenToClient(FInnerControl->ClientToScreen(PointFromLParam(Message.LParam)));
        TControl::SetHint(HintTextAt(p));
      }
      return false;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN:
      for (TWinControl* c = this; c; c = c->Parent()) {
        if (!dynamic_cast<TcxControl*>(c)) break;
        if (TPopupMenu* menu = c->PopupMenu(); menu && menu->IsShortCut(Message)) {
          Message.Result = 1;
          return true;
        }
      }
      Message.Result = 0;
      return false;
    default:
      return false;
  }
}

bool TcxContainer::FilterInnerControlMessage(TMessage& Message) {
  bool result = TcxControlDefaultHandlerHelper::Process(Message);
  if (Message.Msg == DXM_CONTAINERBUFFEREDPAINTONGLASS && FInnerControlBufferedPaint) {
    FInnerControlBufferedPaint = false;
    const HWND inner = FInnerControl->Handle();
    if (const HDC dc = GetDC(inner)) {
      SendMessageW(inner, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
      ReleaseDC(inner, dc);
    }
    result = true;
  } else if (Message.Msg == CN_CTLCOLOREDIT && OnGlass() && IsCompositionEnabled() && !FInnerControlBufferedPaint) {
    // Glass shows through what the edit paints itself: it is painted once
    // more, after the current paint, through its own device context.
    FInnerControlBufferedPaint = true;
    PostMessageW(FInnerControl->Handle(), DXM_CONTAINERBUFFEREDPAINTONGLASS, 0, 0);
  }
  return result;
}

void TcxContainer::SetOnGlass(bool AValue) {
  if (AValue) ControlState().Include(csGlassPaint);
  else ControlState().Exclude(csGlassPaint);
}

void TcxContainer::DestroyWnd() {
  FInnerControlBufferedPaint = false;
  inherited::DestroyWnd();
}

void TcxContainer::AlignControls(TControl* AControl, TRect& ARect) {
  if (HostsChildControls()) {
    inherited::AlignControls(AControl, ARect);
    return;
  }
  if (FLockAlignControlsCount > 0 || !AControl || IsInternalChildControl(AControl) || FIsCreating) return;
  auto* child = dynamic_cast<TWinControl*>(AControl);
  if (!child || !child->HandleAllocated()) return;
  AdjustAlignRect(ARect);
  TcxContainerInnerControlBounds info;
  GetChildRegionInfo(ARect, AControl, info);
  if (!NeedsChildRegionUpdate(AControl, info)) return;
  if (info.IsEmpty) {
    SetWindowRgn(child->Handle(), nullptr, FALSE);
  } else {
    // The window owns the region once it is set.
    const HRGN region = CreateRectRgn(info.Rect.Left, info.Rect.Top, info.Rect.Right, info.Rect.Bottom);
    if (region && !SetWindowRgn(child->Handle(), region, FALSE)) DeleteObject(region);
  }
  if (AControl == FInnerControl) FInnerControlBounds = info;
}

void TcxContainer::GetTabOrderList(std::vector<TWinControl*>& AList) {
  inherited::GetTabOrderList(AList);
  if (HostsChildControls() || !FInnerControl || !CanFocus()) return;
  TCustomForm* form = GetParentForm(this);
  if (!form || form->ActiveControl() == this || form->ActiveControl() != FInnerControl) return;
  std::replace(AList.begin(), AList.end(), static_cast<TWinControl*>(this), FInnerControl);
}

// ---------------------------------------------------------------------------
// Focus

bool TcxContainer::IsFocusWindow(HWND AWindow) const {
  return AWindow && ((HandleAllocated() && AWindow == FHandle) || (HasInnerControlHandle() && AWindow == FInnerControl->Handle()));
}

bool TcxContainer::Focused() {
  if (IsDesigning() || ControlState().Contains(csDestroyingHandle)) return false;
  return IsFocusWindow(GetFocus());
}

void TcxContainer::SetFocus() {
  if (IsDesigning() || HasFocusInside()) return;
  inherited::SetFocus();
  if (HasInnerControlHandle() && GetFocus() == Handle()) {
    FocusInnerControl();
    if (TCustomForm* form = GetParentForm(this)) form->FocusControl(FInnerControl);
  }
}

void TcxContainer::FocusChanged() {
  inherited::FocusChanged();
  ShortRefreshContainer(false);
}

bool TcxContainer::ShouldFocusOnClick() {
  if (HasInnerControlHandle() && GetFocus() == FInnerControl->Handle()) return false;
  return inherited::ShouldFocusOnClick() && !FInnerControlMouseDown;
}

bool TcxContainer::FocusOnMouseDownAllowed(TMouseButton Button, int X, int Y) {
  if (HasInnerControlHandle() && GetFocus() == FInnerControl->Handle()) return false;
  return inherited::FocusOnMouseDownAllowed(Button, X, Y);
}

void TcxContainer::HandleEnabledChange() {
  if (!Enabled() && Focused()) ::SetFocus(nullptr);
  ShortRefreshContainer(false);
}

void TcxContainer::WMKillFocus(TMessage& Message) {
  if (HasInnerControlHandle() && reinterpret_cast<HWND>(Message.WParam) == FInnerControl->Handle()) {
    Message.Msg = 0;
    Message.Result = 0;
    return;
  }
  InheritedMessage<TcxContainer>(Message);
}

void TcxContainer::WMSetFocus(TMessage& Message) {
  if (!IsDestroying() && HasInnerControlHandle() && HandleAllocated()) {
    if (reinterpret_cast<HWND>(Message.WParam) == FInnerControl->Handle()) {
      Message.Msg = 0;
      Message.Result = 0;
      return;
    }
    InheritedMessage<TcxContainer>(Message);
    FocusInnerControl();
    return;
  }
  InheritedMessage<TcxContainer>(Message);
}

// ---------------------------------------------------------------------------
// Mouse and keys

void TcxContainer::NotifyMouseEnter(TControl* AControl) {
  inherited::NotifyMouseEnter(AControl);
  ShortRefreshContainer(true);
  BeginHotTracking();
}

void TcxContainer::NotifyMouseLeave(TControl* AControl) {
  inherited::NotifyMouseLeave(AControl);
  // Ended first: should the cursor be back inside, the refresh tracks anew.
  EndMouseTracking(FMouseTracker.get());
  ShortRefreshContainer(true);
}

void TcxContainer::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TControlTracker alive(this);
  inherited::MouseDown(Button, Shift, X, Y);
  if (alive.Alive() && MouseTrackingActive()) RefreshContainer(TPoint(X, Y), ButtonToMouseButton(Button), true, Shift);
}

void TcxContainer::MouseMove(TShiftState Shift, int X, int Y) {
  const TControlTracker alive(this);
  inherited::MouseMove(Shift, X, Y);
  if (!alive.Alive()) return;
  RefreshContainer(TPoint(X, Y), cxmbNone, true, Shift);
  BeginHotTracking();
}

void TcxContainer::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TControlTracker alive(this);
  inherited::MouseUp(Button, Shift, X, Y);
  if (alive.Alive()) RefreshContainer(TPoint(X, Y), ButtonToMouseButton(Button), true, Shift);
}

void TcxContainer::KeyDown(WORD& Key, TShiftState Shift) {
  const TControlTracker alive(this);
  inherited::KeyDown(Key, Shift);
  if (!alive.Alive()) return;
  if (Key != VK_TAB || !Focused() || Shift.Contains(ssCtrl) || Shift.Contains(ssAlt) || !HandlesTabKey()) return;
  Key = 0;
  if (TCustomForm* form = GetParentForm(this)) form->SelectNext(this, !Shift.Contains(ssShift), true);
  if (alive.Alive() && HandleAllocated() && GetFocus() == Handle()) FocusInnerControl();
}

void TcxContainer::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETFOCUS:
      if (!Visible()) return;
      break;
    case WM_NCCALCSIZE:
      if (FRefreshLockCount > 0) {
        Message.Result = 0;
        return;
      }
      break;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case CN_KEYDOWN:
    case CN_KEYUP:
    case CN_CHAR:
      if (HasInnerControlHandle()) {
        const UINT msg = Message.Msg >= CN_BASE ? Message.Msg - CN_BASE : Message.Msg;
        Message.Result = SendMessageW(FInnerControl->Handle(), msg, Message.WParam, Message.LParam);
        return;
      }
      break;
    default:
      break;
  }
  inherited::WndProc(Message);
}

void TcxContainer::WMSetCursor(TMessage& Message) {
  if (FInnerControl && reinterpret_cast<HWND>(Message.WParam) == Handle() && LOWORD(Message.LParam) == HTCLIENT &&
      !FViewInfo->ClientRect.Contains(GetMouseClientPos())) {
    ::SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    Message.Result = 1;
    return;
  }
  InheritedMessage<TcxContainer>(Message);
}

// ---------------------------------------------------------------------------
// Window messages

void TcxContainer::WMWindowPosChanging(TMessage& Message) {
  if (IsDestroying()) {
    Message.Result = 0;
    return;
  }
  auto* pos = reinterpret_cast<WINDOWPOS*>(Message.LParam);
  const int requestedWidth = pos->cx;
  const int requestedHeight = pos->cy;
  InheritedMessage<TcxContainer>(Message);
  if ((pos->flags & SWP_NOSIZE) == 0) {
    if (Align() == alRight && requestedWidth != Width() && (pos->flags & SWP_NOMOVE) == 0)
      pos->x += Width() - requestedWidth;
    if (Align() == alBottom && requestedHeight != Height() && (pos->flags & SWP_NOMOVE) == 0)
      pos->y += Height() - requestedHeight;
  }
}

void TcxContainer::WMWindowPosChanged(TMessage& Message) {
  InheritedMessage<TcxContainer>(Message);
  if (!IsDestroying()) HandlePositionChange();
}

void TcxContainer::WMDestroy(TMessage& Message) {
  FUpdateWindowRegionCount = 0;
  InheritedMessage<TcxContainer>(Message);
}

void TcxContainer::CMColorChanged(TMessage& Message) {
  if (FInternalSetting > 0) {
    InheritedMessage<TcxContainer>(Message);
    ShortRefreshContainer(false);
    return;
  }
  Style()->SetColor(Color());
}

void TcxContainer::CMFontChanged(TMessage& Message) {
  if (FInternalSetting > 0) {
    LockRefresh();
    TScopeExit unlock([this] { UnlockRefresh(false); });
    InheritedMessage<TcxContainer>(Message);
    AdjustInnerControlLocked();
    return;
  }
  if (ParentFont()) {
    InheritedMessage<TcxContainer>(Message);
    Style()->UpdateFont();
    return;
  }
  Style()->TakeFont(Font());
  InheritedMessage<TcxContainer>(Message);
}

void TcxContainer::CMParentColorChanged(TMessage& Message) {
  const bool hadColor = Style()->AssignedValues().Contains(svColor);
  InheritedMessage<TcxContainer>(Message);
  if (!hadColor || ParentColor()) Style()->SetAssignedValues(Style()->AssignedValues() - TcxContainerStyleValues{svColor});
  if (Style()->ResolvedColor() != Color()) ApplyStyleChanges(Style());
}

void TcxContainer::CMParentFontChanged(TMessage& Message) {
  const bool hadFont = Style()->AssignedValues().Contains(svFont);
  InheritedMessage<TcxContainer>(Message);
  if (!ParentFont()) Style()->UpdateFont();
  if (!hadFont || ParentFont()) Style()->SetAssignedValues(Style()->AssignedValues() - TcxContainerStyleValues{svFont});
}

void TcxContainer::CMSysColorChange(TMessage& Message) {
  LockRefresh();
  TScopeExit unlock([this] { UnlockRefresh(false); });
  InheritedMessage<TcxContainer>(Message);
}

void TcxContainer::ShortRefreshMessage(TMessage&) { ShortRefreshContainer(false); }

void cxContainerInitialization() {
  if (const HMODULE user32 = GetModuleHandleW(L"user32.dll"))
    GetScrollBarInfoProc = reinterpret_cast<TGetScrollBarInfo>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetScrollBarInfo")));
  RegisterClass(TcxStyleController::ClassInfo());
  GroupDescendentsWith(TcxStyleController::ClassInfo(), TControl::ClassInfo());
}
