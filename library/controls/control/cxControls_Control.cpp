// The base control: creation and destruction, scaling, the look-and-feel
// link, render modes and the control child component.

#include "library/controls/control/cxControls_Internal.h"

#include "library/core/system/dxDPIAwareUtils.h"
#include "library/core/threading/dxUIThreadSyncService.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"
#include "platform/ui/Forms.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// TcxCustomControl

void TcxCustomControl::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FScaleFactor.reset(New<TdxScaleFactor>());
  AddVisualRefinementsListener(this);
}

void TcxCustomControl::Destroy() {
  ClearObjectLinks(this);
  RemoveVisualRefinementsListener(this);
  FScaleFactor.reset();
  inherited::Destroy();
}

bool TcxCustomControl::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IdxScaleFactor>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
}

void TcxCustomControl::BeginScaleChange() {
  if (FScaleChangeCounter++ == 0) BeforeScaleChange();
}

void TcxCustomControl::EndScaleChange() {
  if (FScaleChangeCounter == 0) return;
  if (--FScaleChangeCounter == 0) AfterScaleChange();
}

void TcxCustomControl::ChangeScale(int M, int D, bool AIsDpiChange) {
  BeginScaleChange();
  TScopeExit ended([this] { EndScaleChange(); });
  ApplyScale(M, D, AIsDpiChange);
}

void TcxCustomControl::ApplyScale(int M, int D, bool AIsDpiChange) {
  FScaleFactor->Change(M, D);
  inherited::ChangeScale(M, D, AIsDpiChange);
}

void TcxCustomControl::ScaleControlsForDpi(int ANewPPI) {
  DisableAlign();
  TScopeExit aligned([this] { EnableAlign(); });
  BeginScaleChange();
  TScopeExit ended([this] { EndScaleChange(); });
  for (int i = 0; i < ControlCount(); ++i) Controls(i)->ScaleForPPI(ANewPPI);
}

void TcxCustomControl::SetParent(TWinControl* AValue) {
  if (AValue == Parent() && !ComponentState().Contains(csReading)) return;
  inherited::SetParent(AValue);
  TcxControlHelper::UpdateScaleFactorOnParentChange(this);
}

bool TcxCustomControl::NeedsDoubleBuffering() {
  // Every Windows this system runs on is 7 or later; only a process that
  // leaves DPI scaling to the system's bitmap stretching paints directly.
  return DoubleBuffered() || !IsUnawareGdiScaled();
}

bool TcxControl::NeedsDoubleBuffering() {
  // A render canvas that kept its own copy would repaint from it; the GDI
  // canvas keeps none.
  return inherited::NeedsDoubleBuffering();
}

// ---------------------------------------------------------------------------
// TcxControl: creation and destruction

void TcxControl::Publish(TPublisher<TcxControl>& P) {
  P.Message<&TcxControl::WMPaint>(WM_PAINT);
  P.Message<&TcxControl::WMEraseBkgnd>(WM_ERASEBKGND);
  P.Message<&TcxControl::WMNCPaint>(WM_NCPAINT);
  P.Message<&TcxControl::WMPrint>(WM_PRINT);
  P.Message<&TcxControl::WMNCCalcSize>(WM_NCCALCSIZE);
  P.Message<&TcxControl::WMSetCursor>(WM_SETCURSOR);
  P.Message<&TcxControl::WMContextMenu>(WM_CONTEXTMENU);
  P.Message<&TcxControl::WMCancelMode>(WM_CANCELMODE);
  P.Message<&TcxControl::WMGetDlgCode>(WM_GETDLGCODE);
  P.Message<&TcxControl::WMMouseHWheel>(WM_MOUSEHWHEEL);
  P.Message<&TcxControl::WMDestroy>(WM_DESTROY);
  P.Message<&TcxControl::CMMouseEnter>(CM_MOUSEENTER);
  P.Message<&TcxControl::CMMouseLeave>(CM_MOUSELEAVE);
  P.Message<&TcxControl::CMDesignHitTest>(CM_DESIGNHITTEST);
  P.Message<&TcxControl::CMInvalidate>(CM_INVALIDATE);
  P.Message<&TcxControl::CMEnabledChanged>(CM_ENABLEDCHANGED);
  P.Message<&TcxControl::CMFontChanged>(CM_FONTCHANGED);
  P.Message<&TcxControl::CNKeyDown>(CN_KEYDOWN);
  P.Message<&TcxControl::CNKeyDown>(CN_SYSKEYDOWN);
  P.Message<&TcxControl::CNKeyUp>(CN_KEYUP);
  P.Message<&TcxControl::DXMCheckScrollBarSizes>(DXM_CHECKSCROLLBARSIZES);
  P.Message<&TcxControl::DXMScaleChanging>(DXM_SCALECHANGING);
  P.Message<&TcxControl::DXMScaleChanged>(DXM_SCALECHANGED);
  P.Message<&TcxControl::DXMForwardedHWheel>(DXM_FORWARDEDHWHEEL);
}

void TcxControl::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  if (ShowsDragImage()) ControlStyle().Include(csDisplayDragImage);
  FCanvas.reset(New<TcxCanvas>(inherited::Canvas()));
  FFocusOnClick = true;
  CreateLookAndFeel(this, BindEvent<&TcxControl::LookAndFeelChangeHandler>(this));
  FScrollbarMode = ActualScrollBarMode();
  FScrollBarsManager.reset(New<TcxControlScrollBarsManager>(this));
  FScrollbarsHelper.reset(New<TcxControlMainScrollbarsHelper>(static_cast<TObject*>(this)));
  SetTabStop(WantsFocus());
  FGestureHelper.reset(New<TdxGestureHelper>(static_cast<IdxGestureOwner*>(this)));
}

void TcxControl::AfterConstruction() {
  inherited::AfterConstruction();
  CreateActualCanvas();
}

void TcxControl::BeforeDestruction() {
  TdxUIThreadSyncService::Unsubscribe(this);
  inherited::BeforeDestruction();
  FreeActualCanvas();
}

void TcxControl::Destroy() {
  // A half-built control may lack any of these.
  FGestureHelper.reset();
  FScrollbarsHelper.reset();
  FScrollBarsManager.reset();
  FDragAndDropObject.reset();
  FFontListenerList.clear();
  FCanvas.reset();
  FreeLookAndFeel();
  inherited::Destroy();
}

bool TcxControl::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IdxVisualRefinementsListener, IdxSystemInfoListener, IdxGestureOwner, IdxGestureClient>(
             this, AIID, AObj) ||
         inherited::GetInterface(AIID, AObj);
}

TcxCanvas* TcxControl::ActiveCanvas() {
  if (HandleAllocated() && FCanvas) return FCanvas.get();
  return SharedScreenCanvas();
}

TRect TcxControl::Bounds() {
  if (!FBounds.IsEmpty()) return FBounds;
  if (HandleAllocated()) return ClientRect();
  return TRect(0, 0, Width(), Height());
}

TRect TcxControl::ClientBounds() {
  TRect r = Bounds();
  const int border = BorderThickness();
  r.Inflate(-border, -border);
  if (IsClassicScrollBarMode()) {
    if (IsScrollBarVisible(sbHorizontal)) r.Bottom -= HorzScrollBarHeight();
    if (IsScrollBarVisible(sbVertical)) {
      if (UseRightToLeftScrollBar()) r.Left += VertScrollBarWidth();
      else r.Right -= VertScrollBarWidth();
    }
  }
  return r;
}

void TcxControl::SetBorderStyle(TcxControlBorderStyle AValue) {
  if (FBorderStyle == AValue) return;
  FBorderStyle = AValue;
  HandleBoundsChange();
}

void TcxControl::SetTransparent(bool AValue) {
  if (FTransparent == AValue) return;
  FTransparent = AValue;
  HandleTransparencyChange();
}

void TcxControl::HandleTransparencyChange() {
  if (FTransparent) {
    FControlStyle.Include(csParentBackground);
    FControlStyle.Exclude(csOpaque);
  } else {
    FControlStyle.Include(csOpaque);
    FControlStyle.Exclude(csParentBackground);
  }
  if (ControlCount() > 0) InvalidateWithChildren();
  else Invalidate();
}

void TcxControl::SetHint(const String& AValue) {
  FOriginalHint = AValue;
  TControl::SetHint(AValue);
}

void TcxControl::AddFontListener(IcxFontListener* AListener) { FFontListenerList.emplace_back(AListener); }

void TcxControl::RemoveFontListener(IcxFontListener* AListener) {
  const auto it = std::find_if(FFontListenerList.begin(), FFontListenerList.end(),
                               [AListener](const IPtr<IcxFontListener>& L) { return L.Get() == AListener; });
  if (it != FFontListenerList.end()) FFontListenerList.erase(it);
}

void TcxControl::HandleFontChange() {
  // A listener may remove itself while it is told.
  const std::vector<IPtr<IcxFontListener>> listeners = FFontListenerList;
  for (const IPtr<IcxFontListener>& listener : listeners) listener->Changed(this, Font());
  Invalidate();
}

void TcxControl::HandleBoundsChange() {
  RefreshScrollBars();
  if (RedrawsOnResize()) Invalidate();
}

void TcxControl::Resize() {
  inherited::Resize();
  HandleBoundsChange();
}

void TcxControl::SystemInfoChanged(UINT) {
  if (HandleAllocated()) SendNotifyMessageW(FHandle, DXM_CHECKSCROLLBARSIZES, 0, 0);
}

void TcxControl::RefinementsChanged() { HandleLookAndFeelChange(LookAndFeel(), TcxLookAndFeelValues()); }

// ---------------------------------------------------------------------------
// Window

void TcxControl::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN;
  // Without CS_DBLCLKS a double click arrives as two button-downs.
  Params.WindowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
}

void TcxControl::CreateWnd() {
  FCreatingWindow = true;
  TScopeExit created([this] { FCreatingWindow = false; });
  inherited::CreateWnd();
  if (FScrollbarsHelper) FScrollbarsHelper->HandleWindowCreated();
  ResetScrollBarsControls();
  RefreshScrollBars();
}

void TcxControl::DestroyWindowHandle() {
  inherited::DestroyWindowHandle();
  FControlState.Exclude(csClicked);
}

void TcxControl::WMDestroy(TMessage& Message) {
  // Every tracking of the control ends with its window, also when a parent
  // goes (the timers would tick into a freed control); a dying control is
  // not told.
  EndAllMouseTracking(this);
  FMouseEnterCounter = 0;
  DefaultHandler(Message);
}

void TcxControl::WMNCCalcSize(TMessage& Message) {
  DefaultHandler(Message);
  if (HandleAllocated()) PostMessageW(FHandle, DXM_CHECKSCROLLBARSIZES, 0, 0);
}

// The standard processing enables the window itself: without it a control
// read disabled from a form never took input again.
void TcxControl::CMEnabledChanged(TMessage& Message) {
  InheritedMessage<TcxControl>(Message);
  HandleEnabledChange();
}

void TcxControl::CMFontChanged(TMessage&) { HandleFontChange(); }

// ---------------------------------------------------------------------------
// Scaling

void TcxControl::DXMScaleChanging(TMessage&) { BeginScaleChange(); }

void TcxControl::DXMScaleChanged(TMessage&) { EndScaleChange(); }

void TcxControl::AfterScaleChange() {
  inherited::AfterScaleChange();
  if (LookAndFeel()) LookAndFeel()->Refresh();
}

// ---------------------------------------------------------------------------
// Look and feel

TcxCustomLookAndFeelPainter* TcxControl::ActivePainter() { return LookAndFeel() ? LookAndFeel()->Painter() : nullptr; }

void TcxControl::LookAndFeelChangeHandler(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues) {
  if (IsDestroying()) return;
  if (TApplication* app = Application(); !app || app->ComponentState().Contains(csDestroying)) return;
  HandleLookAndFeelChange(Sender, AChangedValues);
}

void TcxControl::HandleLookAndFeelChange(TcxLookAndFeel*, TcxLookAndFeelValues AChangedValues) {
  CheckScrollBarModeChange();
  if (AChangedValues.Contains(lfvRenderMode) && LookAndFeel() &&
      ResolveRenderMode(LookAndFeel()->RenderMode()) != FActualRenderMode)
    RecreateActualCanvas();
}

// ---------------------------------------------------------------------------
// Render modes

bool TcxControl::IsRenderModeSupported(TdxRenderMode AMode) {
  // Only a control offering a non-GDI canvas owner could take the other
  // modes, and no control of this system does.
  return AMode == rmGDI;
}

TdxRenderMode TcxControl::ResolveRenderMode(TdxRenderMode AMode) {
  if (IsRenderModeSupported(AMode)) return AMode;
  const TdxRenderMode fallback = GetDefaultRenderMode();
  if (IsRenderModeSupported(fallback)) return fallback;
  for (const TdxRenderMode mode : {rmGDI, rmGDIPlus, rmDirectX})
    if (IsRenderModeSupported(mode)) return mode;
  throw EInvalidOperation(L"No one render mode is supported");
}

TcxCustomCanvas* TcxControl::CreateRenderCanvas(TdxRenderMode& AMode) {
  for (;;) {
    switch (AMode) {
      case rmGDI:
        return FCanvas.get();
      case rmDirectX:
        // No Direct2D canvas can be made for a control of this system.
        AMode = GetDefaultRenderMode();
        if (AMode == rmDirectX) throw EInvalidArgument(L"GetDefaultRenderMode");
        break;
      case rmGDIPlus:
        // The GDI+ canvas is not part of this system: GDI draws the same.
        AMode = rmGDI;
        break;
      default:
        throw EInvalidArgument(L"Invalid Render Mode");
    }
  }
}

void TcxControl::CreateActualCanvas() {
  FActualRenderMode = ResolveRenderMode(LookAndFeel() ? LookAndFeel()->RenderMode() : rmDefault);
  FActualCanvas = CreateRenderCanvas(FActualRenderMode);
  AfterRenderCanvasCreated();
}

void TcxControl::FreeActualCanvas() {
  if (!FActualCanvas) return;
  BeforeRenderCanvasFreed();
  // The GDI canvas is FCanvas itself, which the control owns; no other
  // mode makes a canvas of its own here.
  FActualCanvas = nullptr;
}

void TcxControl::RecreateActualCanvas() {
  if (IsDesigning()) return;
  FreeActualCanvas();
  CreateActualCanvas();
  if (HandleAllocated()) RecreateWnd();
}

void TcxControl::RecreateActualCanvasNeeded() {
  TdxUIThreadSyncService::EnqueueInvokeInUIThread(this, [this] { RecreateActualCanvas(); });
}

// ---------------------------------------------------------------------------
// TcxControlChildComponent

void TcxControlChildComponent::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FScaleFactor.reset(New<TdxOwnedScaleFactor>());
  FScaleFactor->ListenerAdd(BindEvent<&TcxControlChildComponent::ScaleFactorChanged>(this));
  InitChild();
}

void TcxControlChildComponent::Create(TcxControl* AControl, bool AAssignOwner) {
  Create(AAssignOwner && AControl ? AControl->Owner() : nullptr);
  SetControl(AControl);
}

void TcxControlChildComponent::Destroy() {
  SetControl(nullptr);
  if (FScaleFactor) FScaleFactor->ListenerRemove(BindEvent<&TcxControlChildComponent::ScaleFactorChanged>(this));
  FScaleFactor.reset();
  inherited::Destroy();
}

void TcxControlChildComponent::SetControl(TcxControl* AValue) {
  FControl = AValue;
  if (!FScaleFactor) return;
  if (AValue) {
    FScaleFactor->SetOwner(AValue->ScaleFactor());
    FScaleFactor->SetUseOwnerValue(true);
  } else {
    FScaleFactor->SetOwner(nullptr);
  }
}

void TcxControlChildComponent::SetParentComponent(TComponent* AValue) {
  inherited::SetParentComponent(AValue);
  if (auto* control = dynamic_cast<TcxControl*>(AValue)) SetControl(control);
}

void TcxControlChildComponent::ScaleFactorChanged(TObject*, int M, int D, bool AIsLoading) {
  if (!AIsLoading) ApplyScaleChange(M, D);
}
