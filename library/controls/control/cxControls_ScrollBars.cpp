// A control's main scroll bars: the bar data, the classic bars and size
// grip, the set that holds them, the helper that settles which bars show,
// and the control's side of all that.

#include "library/controls/control/cxControls_Internal.h"

#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"
#include "platform/ui/Forms.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

int SaturateToInt(std::int64_t AValue) {
  return static_cast<int>(std::clamp<std::int64_t>(AValue, INT_MIN, INT_MAX));
}

// Copies the owner's locked-state snapshot under the child; false when the
// owner shows none.
bool DrawParentLockedState(TCustomControl* AChild, TCanvas* ACanvas) {
  if (!AChild->Parent()) return false;
  const TOwned<TcxCanvas> canvas(New<TcxCanvas>(ACanvas));
  return TcxControlHelper::DrawLockedState(canvas.get(), AChild->Parent(), AChild);
}

// The window goes to the top of its siblings; nothing moves, sizes or
// activates.
void RaiseWindow(TWinControl* AControl) {
  if (AControl->HandleAllocated())
    SetWindowPos(AControl->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace

// ---------------------------------------------------------------------------
// TcxScrollBarData

void TcxScrollBarData::Correct() {
  const std::int64_t range = std::int64_t{FMax} - FMin + 1;
  // A negative page is no page the bar could show: the bar would refuse it.
  FIsValid = FMin <= FMax && FPageSize >= 0 && FPageSize < range && FMin <= FPosition;
}

// ---------------------------------------------------------------------------
// TcxControlScrollBar

void TcxControlScrollBar::Publish(TPublisher<TcxControlScrollBar>& P) {
  // The bar works at design time and shows no hint of its own.
  P.Message<&TcxControlScrollBar::CMAnswerOne>(CM_DESIGNHITTEST);
  P.Message<&TcxControlScrollBar::CMAnswerOne>(CM_HINTSHOW);
}

void TcxControlScrollBar::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  SetColor(clBtnFace);
  ControlStyle().Exclude(csFramed);
  ControlStyle().Include(csNoDesignVisible);
  SetTabStop(false);
  SetVisible(false);
  SetParentShowHint(false);
  SetShowHint(true);
}

void TcxControlScrollBar::Create(TcxControl* AOwnerControl) {
  FOwnerControl = AOwnerControl;
  Create(static_cast<TComponent*>(nullptr));
}

void TcxControlScrollBar::Create(TdxMainScrollbarsOwnerHelper* AScrollbarOwner) {
  Create(AScrollbarOwner->GetControl());
}

bool TcxControlScrollBar::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IcxControlScrollBar>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
}

void TcxControlScrollBar::ApplyData() {
  if (FData.FVisible && FData.FIsValid) {
    SetScrollParams(FData.FMin, FData.FMax, FData.FPosition, FData.FPageSize, true);
    SetSmallChange(FData.FSmallChange);
    SetLargeChange(FData.FLargeChange);
  }
  SetEnabled(FData.FEnabled);
  if (WantsVisible() != Visible()) SetVisible(WantsVisible());
}

void TcxControlScrollBar::InitializeParent() { SetParent(FOwnerControl); }

void TcxControlScrollBar::SetOwnerControlRelativeBounds(const TRect& ABounds) { SetBoundsRect(ABounds); }

void TcxControlScrollBar::UpdateBounds(const TRect& ABounds) { SetOwnerControlRelativeBounds(ABounds); }

void TcxControlScrollBar::WndProc(TMessage& Message) {
  TControlTracker alive(this);
  if (!FOwnerControl || !FOwnerControl->IsDestroying()) ProcessMessage(Message);
  if (alive.Alive()) inherited::WndProc(Message);
}

void TcxControlScrollBar::ProcessMessage(TMessage& Message) {
  if (Message.Msg == WM_LBUTTONDOWN) FocusOwner();
}

void TcxControlScrollBar::FocusOwner() {
  if (FOwnerControl) {
    if (FOwnerControl->FocusesOnChildClick(this)) FOwnerControl->SetFocus();
    return;
  }
  TWinControl* parent = Parent();
  if (!parent) return;
  if (auto* control = dynamic_cast<TcxControl*>(parent)) {
    if (control->FocusesOnChildClick(this)) control->SetFocus();
  } else if (parent->CanFocus()) {
    parent->SetFocus();
  }
}

void TcxControlScrollBar::CreateHandle() {
  inherited::CreateHandle();
  if (Parent()) RaiseWindow(this);
}

void TcxControlScrollBar::Paint() {
  if (!DrawParentLockedState(this, Canvas())) inherited::Paint();
}

// ---------------------------------------------------------------------------
// TcxSizeGrip

void TcxSizeGrip::Publish(TPublisher<TcxSizeGrip>& P) { P.Message<&TcxSizeGrip::WMEraseBkgnd>(WM_ERASEBKGND); }

void TcxSizeGrip::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  SetColor(clBtnFace);
  ControlStyle().Include(csNoDesignVisible);
  SetTabStop(false);
  SetVisible(false);
  CreateLookAndFeel(this, BindEvent<&TcxSizeGrip::LookAndFeelChangeHandler>(this));
}

void TcxSizeGrip::Create(TcxControl* AOwnerControl) {
  Create(static_cast<TComponent*>(nullptr));
  FOwnerControl = AOwnerControl;
}

void TcxSizeGrip::Create(TdxMainScrollbarsOwnerHelper* AScrollbarOwner) { Create(AScrollbarOwner->GetControl()); }

void TcxSizeGrip::Destroy() {
  FreeLookAndFeel();
  inherited::Destroy();
}

bool TcxSizeGrip::IsAvailable(TControl* AControl) {
  if (!AControl) return false;
  TCustomForm* form = GetParentForm(AControl);
  if (!form || !form->HandleAllocated()) return false;
  const HWND wnd = form->Handle();
  if ((GetWindowLongW(wnd, GWL_STYLE) & WS_THICKFRAME) == 0 || IsZoomed(wnd) || IsIconic(wnd)) return false;
  const TPoint corner = PointToParent(AControl, form, TPoint(AControl->Width(), AControl->Height()));
  return corner.X == form->ClientWidth() && corner.Y >= form->ClientHeight();
}

void TcxSizeGrip::InitializeParent() { SetParent(FOwnerControl); }

void TcxSizeGrip::CreateHandle() {
  inherited::CreateHandle();
  if (Parent()) RaiseWindow(this);
}

void TcxSizeGrip::Paint() {
  if (DrawParentLockedState(this, Canvas())) return;
  const TOwned<TcxCanvas> canvas(New<TcxCanvas>(Canvas()));
  DrawGrip(canvas.get());
}

void TcxSizeGrip::DrawGrip(TcxCanvas* ACanvas) {
  TcxCustomLookAndFeelPainter* painter = LookAndFeel() ? LookAndFeel()->Painter() : nullptr;
  ACanvas->FillRect(ClientRect(), painter ? painter->DefaultSizeGripAreaColor() : clBtnFace);
}

// ---------------------------------------------------------------------------
// TcxControlCustomScrollBars

void TcxControlCustomScrollBars::Create(TcxControl* AOwner) { Create(AOwner, AOwner->ScrollbarsHelper()); }

void TcxControlCustomScrollBars::Create(TcxControl* AOwner, TdxMainScrollbarsOwnerHelper* AMainScrollbarsOwner) {
  inherited::Create();
  FOwner = AOwner;
  FMainScrollbarsOwner = AMainScrollbarsOwner;
  CreateScrollBars();
}

void TcxControlCustomScrollBars::Destroy() {
  DestroyScrollBars();
  inherited::Destroy();
}

void TcxControlCustomScrollBars::CreateScrollBars() {
  FHScrollBar = CreateScrollBar(sbHorizontal);
  FVScrollBar = CreateScrollBar(sbVertical);
  FSizeGrip = CreateSizeGrip();
}

void TcxControlCustomScrollBars::DestroyScrollBars() {
  // The set frees its windows before its control does: a child window freed
  // here leaves the control's list of children.
  FreeAndNil(FSizeGrip);
  FreeAndNil(FVScrollBar);
  FreeAndNil(FHScrollBar);
}

IcxControlScrollBar* TcxControlCustomScrollBars::GetScrollBar(TScrollBarKind AKind) {
  TObject* bar = AKind == sbHorizontal ? FHScrollBar : FVScrollBar;
  IcxControlScrollBar* result = nullptr;
  if (bar) bar->GetInterface(IcxControlScrollBar::IID, reinterpret_cast<void**>(&result));
  return result;
}

bool TcxControlCustomScrollBars::GetScrollBarVisible(TScrollBarKind AKind) {
  IcxControlScrollBar* bar = GetScrollBar(AKind);
  if (!bar) return false;
  return FCalculating ? bar->GetData().FVisible : bar->GetVisible();
}

bool TcxControlCustomScrollBars::IsScrollBarControl(TControl* AControl) {
  return AControl && (AControl == FHScrollBar || AControl == FVScrollBar || AControl == FSizeGrip);
}

void TcxControlCustomScrollBars::ScrollBarScroll(TObject* Sender, TScrollCode AScrollCode, int& AScrollPos) {
  const TScrollBarKind kind = Sender == FHScrollBar ? sbHorizontal : sbVertical;
  FMainScrollbarsOwner->Scroll(kind, AScrollCode, AScrollPos);
}

// ---------------------------------------------------------------------------
// TcxControlWindowedScrollBars

TObject* TcxControlWindowedScrollBars::CreateScrollBar(TScrollBarKind AKind) {
  auto* bar = As<TcxControlScrollBar>(FMainScrollbarsOwner->CreateScrollBar(AKind));
  if (!bar) return nullptr;
  bar->SetKind(AKind);
  bar->SetOnScroll(BindEvent<&TcxControlWindowedScrollBars::ScrollBarScroll>(this));
  if (FOwner) bar->LookAndFeel()->SetMasterLookAndFeel(FOwner->LookAndFeel());
  bar->ControlStyle().Include(csReplicatable);
  bar->SetOnMouseEnter(BindEvent<&TcxControlWindowedScrollBars::BarMouseEnter>(this));
  return bar;
}

TdxScrollbarMode TcxControlWindowedScrollBars::Mode() const { return FMainScrollbarsOwner->ScrollbarMode(); }

void TcxControlWindowedScrollBars::BarMouseEnter(TObject*) {
  if (Mode() == sbmTouch) FMainScrollbarsOwner->RevealScrollBars(true);
}

TObject* TcxControlWindowedScrollBars::CreateSizeGrip() {
  auto* grip = As<TcxSizeGrip>(FMainScrollbarsOwner->CreateSizeGrip());
  if (!grip) return nullptr;
  if (FOwner) grip->LookAndFeel()->SetMasterLookAndFeel(FOwner->LookAndFeel());
  grip->ControlStyle().Include(csReplicatable);
  return grip;
}

bool TcxControlWindowedScrollBars::AdjustScrollBarSize(bool AVertical) {
  TcxControlScrollBar* bar = Bar(AVertical ? sbVertical : sbHorizontal);
  if (!bar) return false;
  if (AVertical) {
    const int width = FMainScrollbarsOwner->VertScrollBarWidthNow();
    if (bar->Width() == width) return false;
    bar->SetWidth(width);
  } else {
    const int height = FMainScrollbarsOwner->HorzScrollBarHeightNow();
    if (bar->Height() == height) return false;
    bar->SetHeight(height);
  }
  return true;
}

void TcxControlWindowedScrollBars::SetSizeGripVisible(bool AValue) {
  if (!Grip()) return;
  if (Mode() != sbmClassic && FMainScrollbarsOwner->AreOverlayScrollBarsHidden()) AValue = false;
  Grip()->SetVisible(AValue);
  if (AValue && !Grip()->Parent() && Grip()->HandleAllocated()) PlacePopupAboveOwnerForm(Grip()->Handle());
}

bool TcxControlWindowedScrollBars::GetScrollBarVisible(TScrollBarKind AKind) {
  TcxControlScrollBar* bar = Bar(AKind);
  if (!bar) return false;
  const TdxScrollbarMode mode = Mode();
  // An overlay bar hidden by its manager still counts as shown: the layout
  // must not change each time the bars fade.
  if (mode == sbmTouch) return static_cast<TcxControlPopupScrollBar*>(bar)->AllowVisible();
  if (FCalculating) return bar->GetData().FVisible;
  return mode == sbmClassic ? bar->Visible() : static_cast<TcxControlPopupScrollBar*>(bar)->AllowVisible();
}

void TcxControlWindowedScrollBars::RaiseScrollBars() {
  if (Mode() != sbmClassic) return;
  for (TObject* object : {FHScrollBar, FVScrollBar, FSizeGrip})
    if (auto* control = static_cast<TWinControl*>(object); control && control->Visible()) RaiseWindow(control);
}

void TcxControlWindowedScrollBars::Invalidate() {
  for (TObject* object : {FHScrollBar, FVScrollBar, FSizeGrip})
    if (auto* control = static_cast<TWinControl*>(object); control && control->Visible()) control->Invalidate();
}

void TcxControlWindowedScrollBars::UpdateControlStates() {
  // Applying the data is what shows or hides a bar, so both take it.
  for (const TScrollBarKind kind : {sbHorizontal, sbVertical})
    if (TcxControlScrollBar* bar = Bar(kind)) bar->ApplyData();
}

void TcxControlWindowedScrollBars::HideAll() {
  for (const TScrollBarKind kind : {sbHorizontal, sbVertical})
    if (TcxControlScrollBar* bar = Bar(kind)) bar->SetVisible(false);
  if (Grip()) Grip()->SetVisible(false);
}

void TcxControlWindowedScrollBars::ReleasePopupHandles() {
  if (Mode() == sbmClassic) return;
  for (const TScrollBarKind kind : {sbHorizontal, sbVertical})
    if (TcxControlScrollBar* bar = Bar(kind); bar && !bar->Parent()) bar->ReleaseWindow();
  if (Grip() && !Grip()->Parent()) Grip()->ReleaseWindow();
}

void TcxControlWindowedScrollBars::InitializeParents() {
  if (Bar(sbHorizontal)) Bar(sbHorizontal)->InitializeParent();
  if (Bar(sbVertical)) Bar(sbVertical)->InitializeParent();
  if (Grip()) Grip()->InitializeParent();
}

void TcxControlWindowedScrollBars::UpdateBounds() {
  if (Grip() && Grip()->Visible()) Grip()->SetOwnerControlRelativeBounds(FMainScrollbarsOwner->SizeGripBoundsNow());
  if (TcxControlScrollBar* bar = Bar(sbHorizontal); bar && bar->Visible())
    bar->SetOwnerControlRelativeBounds(FMainScrollbarsOwner->HorzScrollBarBounds());
  if (TcxControlScrollBar* bar = Bar(sbVertical); bar && bar->Visible())
    bar->SetOwnerControlRelativeBounds(FMainScrollbarsOwner->VertScrollBarBounds());
}

// ---------------------------------------------------------------------------
// TdxMainScrollbarsOwnerHelper

void TdxMainScrollbarsOwnerHelper::Create(TObject* AOwner) {
  inherited::Create();
  FOwner = AOwner;
  FHybridScrollbarBaseColor = clDefault;
  FHybridScrollbarsManager.reset(New<TdxHybridScrollbarsManager>(static_cast<IdxHybridScrollbarOwner*>(this)));
  FScrollUIActivityHelper.reset(New<TdxTouchScrollUIActivityHelper>());
  FScrollBars = ScrollBarsStyle();
  CreateScrollBars();
}

void TdxMainScrollbarsOwnerHelper::Destroy() {
  // The touch manager must not call a helper that is gone.
  TdxTouchScrollUIModeManager::Deactivate(this);
  DestroyScrollBars();
  FHybridScrollbarsManager.reset();
  FScrollUIActivityHelper.reset();
  inherited::Destroy();
}

bool TdxMainScrollbarsOwnerHelper::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IdxSystemInfoListener, IdxTouchScrollUIOwner, IdxHybridScrollbarOwner>(this, AIID, AObj) ||
         inherited::GetInterface(AIID, AObj);
}

// ---------------------------------------------------------------------------
// TdxMainScrollbarsOwnerHelper: overlay bars and their managers

TWinControl* TdxMainScrollbarsOwnerHelper::GetOwnerControl() { return GetControl(); }

bool TdxMainScrollbarsOwnerHelper::AreOverlayScrollBarsHidden() {
  switch (ScrollbarMode()) {
    case sbmTouch: return TdxTouchScrollUIModeManager::IsScrollUIHidden(this);
    case sbmHybrid: return !FHybridScrollbarsManager || !FHybridScrollbarsManager->AllowVisible();
    default: return false;
  }
}

int TdxMainScrollbarsOwnerHelper::HybridVisibleSizePercent() {
  return FHybridScrollbarsManager ? FHybridScrollbarsManager->VisibleSize() : 0;
}

std::uint8_t TdxMainScrollbarsOwnerHelper::HybridFadingValue() {
  return FHybridScrollbarsManager ? FHybridScrollbarsManager->FadingValue() : 255;
}

TObject* TdxMainScrollbarsOwnerHelper::HybridAnimatedBar() {
  return FHybridScrollbarsManager ? FHybridScrollbarsManager->AnimateObject() : nullptr;
}

void TdxMainScrollbarsOwnerHelper::HybridBarEntered(TObject* ABar) {
  if (FHybridScrollbarsManager) FHybridScrollbarsManager->BeginExpand(ABar);
}

void TdxMainScrollbarsOwnerHelper::HybridBarLeft(TObject*) {
  if (FHybridScrollbarsManager) FHybridScrollbarsManager->EndExpand();
}

void TdxMainScrollbarsOwnerHelper::HybridBarReleased(TObject* ABar) {
  if (FHybridScrollbarsManager) FHybridScrollbarsManager->BarReleased(ABar);
}

void TdxMainScrollbarsOwnerHelper::RevealScrollBars(bool ATimerControlled) {
  if (!FMainScrollBars) return;
  switch (ScrollbarMode()) {
    case sbmTouch: TdxTouchScrollUIModeManager::ShowScrollUI(this, ATimerControlled); break;
    case sbmHybrid:
      if (FHybridScrollbarsManager) FHybridScrollbarsManager->Show(ATimerControlled);
      break;
    default: break;
  }
}

void TdxMainScrollbarsOwnerHelper::HideScrollBars(bool AImmediately) {
  if (!FMainScrollBars) return;
  switch (ScrollbarMode()) {
    case sbmTouch: TdxTouchScrollUIModeManager::HideScrollUI(this, AImmediately); break;
    case sbmHybrid:
      if (FHybridScrollbarsManager) FHybridScrollbarsManager->Hide(AImmediately, !AImmediately);
      break;
    default: break;
  }
}

void TdxMainScrollbarsOwnerHelper::CheckScrollActivity(const TMessage& Message) {
  TcxControl* control = GetControl();
  if (!control || IsClassicScrollBarModeNow() || !FScrollUIActivityHelper) return;
  const auto onBars = [this](const TPoint& P) { return IsOnOverlayScrollBar(P); };
  if (FScrollUIActivityHelper->CheckScrollActivity(control, Message, onBars)) RevealScrollBars(true);
}

bool TdxMainScrollbarsOwnerHelper::IsScrollUIVisible() {
  if (!FMainScrollBars) return false;
  for (const TScrollBarKind kind : {sbHorizontal, sbVertical})
    if (IcxControlScrollBar* bar = GetScrollBar(kind); bar && bar->GetVisible()) return true;
  return false;
}

void TdxMainScrollbarsOwnerHelper::ShowOverlayScrollBars() {
  if (!FMainScrollBars) return;
  // The bars were hidden through the last layout: they take their data and
  // their places now.
  FMainScrollBars->UpdateControlStates();
  FMainScrollBars->SetSizeGripVisible(BothScrollBarsVisibleNow());
  PlaceScrollBars();
}

void TdxMainScrollbarsOwnerHelper::HideOverlayScrollBars() {
  if (FMainScrollBars) FMainScrollBars->HideAll();
}

void TdxMainScrollbarsOwnerHelper::RefreshHybridScrollBars() {
  if (FMainScrollBars) FMainScrollBars->Invalidate();
}

TClass TdxMainScrollbarsOwnerHelper::ScrollBarsClass() { return TcxControlWindowedScrollBars::ClassInfo(); }

void TdxMainScrollbarsOwnerHelper::CreateScrollBars() {
  if (FMainScrollBars || !WantsScrollBars()) return;
  FMainScrollBars.reset(NewOfClass<TcxControlCustomScrollBars>(ScrollBarsClass(), GetControl(), this));
  if (TdxSystemInfo* info = SystemInfo(); info && !FListening) {
    info->AddListener(this);
    FListening = true;
  }
}

void TdxMainScrollbarsOwnerHelper::DestroyScrollBars() {
  if (FListening) {
    if (TdxSystemInfo* info = SystemInfo()) info->RemoveListener(this);
    FListening = false;
  }
  FMainScrollBars.reset();
}

void TdxMainScrollbarsOwnerHelper::HandleWindowCreated() {
  if (!WantsScrollBars()) {
    DestroyScrollBars();
    return;
  }
  CreateScrollBars();
  ResetScrollBarsControls();
}

void TdxMainScrollbarsOwnerHelper::ResetScrollBarsControls() {
  if (WantsScrollBars() && FMainScrollBars) FMainScrollBars->InitializeParents();
}

TObject* TdxMainScrollbarsOwnerHelper::CreateScrollBar(TScrollBarKind) {
  if (!GetControl()) return nullptr;
  if (IsClassicScrollBarModeNow()) return New<TcxControlScrollBar>(GetControl());
  return New<TcxControlPopupScrollBar>(this);
}

TObject* TdxMainScrollbarsOwnerHelper::CreateSizeGrip() {
  if (!GetControl()) return nullptr;
  if (IsClassicScrollBarModeNow()) return New<TcxSizeGrip>(GetControl());
  return New<TcxPopupSizeGrip>(this);
}

bool TdxMainScrollbarsOwnerHelper::CanUpdateScrollBars() { return !IsLoading() && WantsScrollBars(); }

// Classic bars take room beside the content, hybrid ones keep their collapsed
// stripe clear of the other bar, touch bars take none.
int TdxMainScrollbarsOwnerHelper::HorzScrollBarHeight() {
  switch (ScrollbarMode()) {
    case sbmTouch: return 0;
    case sbmHybrid: return GetHybridScrollBarSize(ScaleFactor(), false).cy;
    default: return GetSystemScrollBarSize(ScaleFactor()).cy;
  }
}

int TdxMainScrollbarsOwnerHelper::VertScrollBarWidth() {
  switch (ScrollbarMode()) {
    case sbmTouch: return 0;
    case sbmHybrid: return GetHybridScrollBarSize(ScaleFactor(), false).cx;
    default: return GetSystemScrollBarSize(ScaleFactor()).cx;
  }
}

TSize TdxMainScrollbarsOwnerHelper::OverlayScrollBarSize(TdxScrollbarMode AMode) {
  switch (AMode) {
    case sbmTouch: return GetTouchScrollBarSize(ScaleFactor());
    case sbmHybrid: return GetHybridScrollBarSize(ScaleFactor(), true);
    default: return GetSystemScrollBarSize(ScaleFactor());
  }
}

TColor TdxMainScrollbarsOwnerHelper::HybridScrollBarBaseColor() {
  if (FHybridScrollbarBaseColor != clDefault) return FHybridScrollbarBaseColor;
  const TColor text = DefaultTextColor();
  if (text == clDefault) return clBlack;
  return TdxColorUtils::ColorToHSL(ColorToRGB(text)).L <= 0.6 ? clBlack : clWhite;
}

bool TdxMainScrollbarsOwnerHelper::IsOnOverlayScrollBar(const TPoint& P) {
  if (ScrollbarMode() != sbmHybrid) return false;
  const TSize collapsed = GetHybridScrollBarSize(ScaleFactor(), false);
  if (IsScrollBarVisible(sbVertical)) {
    TRect r = VertScrollBarBounds();
    const bool leftSide = GetControl() && GetControl()->UseRightToLeftScrollBar();
    if (leftSide) r.Right = r.Left + collapsed.cx;
    else r.Left = r.Right - collapsed.cx;
    if (r.Contains(P)) return true;
  }
  if (IsScrollBarVisible(sbHorizontal)) {
    TRect r = HorzScrollBarBounds();
    r.Top = r.Bottom - collapsed.cy;
    if (r.Contains(P)) return true;
  }
  return false;
}

void TdxMainScrollbarsOwnerHelper::HideAllScrollBars() {
  if (!FMainScrollBars) return;
  if (IsClassicScrollBarModeNow()) FMainScrollBars->HideAll();
  else HideScrollBars(true);
}

TRect TdxMainScrollbarsOwnerHelper::SizeGripBounds() {
  const TRect vert = VertScrollBarBounds();
  const TRect horz = HorzScrollBarBounds();
  return TRect(vert.Left, horz.Top, vert.Right, horz.Bottom);
}

bool TdxMainScrollbarsOwnerHelper::IsOnSizeGrip(const TPoint& P) {
  TcxSizeGrip* grip = GetSizeGrip();
  return grip && grip->Visible() && grip->BoundsRect().Contains(P);
}

bool TdxMainScrollbarsOwnerHelper::BothScrollBarsVisible() {
  return IsScrollBarVisible(sbHorizontal) && IsScrollBarVisible(sbVertical);
}

bool TdxMainScrollbarsOwnerHelper::IsScrollBarVisible(TScrollBarKind AKind) {
  return FMainScrollBars && FMainScrollBars->GetScrollBarVisible(AKind);
}

IcxControlScrollBar* TdxMainScrollbarsOwnerHelper::GetScrollBar(TScrollBarKind AKind) {
  return FMainScrollBars ? FMainScrollBars->GetScrollBar(AKind) : nullptr;
}

TcxSizeGrip* TdxMainScrollbarsOwnerHelper::GetSizeGrip() {
  return FMainScrollBars ? dynamic_cast<TcxSizeGrip*>(FMainScrollBars->SizeGrip()) : nullptr;
}

TcxScrollBarData* TdxMainScrollbarsOwnerHelper::Data(TScrollBarKind AKind) {
  IcxControlScrollBar* bar = GetScrollBar(AKind);
  return bar ? &bar->GetData() : nullptr;
}

void TdxMainScrollbarsOwnerHelper::DrawSizeGrip(TcxCanvas* ACanvas) {
  if (FMainScrollBars) FMainScrollBars->DrawSizeGrip(ACanvas);
}

void TdxMainScrollbarsOwnerHelper::LockScrollBars() {
  if (FScrollBarsLockCount++ == 0) FScrollBarsUpdateNeeded = false;
}

void TdxMainScrollbarsOwnerHelper::UnlockScrollBars() {
  if (FScrollBarsLockCount == 0) return;
  if (--FScrollBarsLockCount == 0 && FScrollBarsUpdateNeeded) UpdateScrollBars();
}

void TdxMainScrollbarsOwnerHelper::UpdateScrollBars() {
  if (!CanUpdateScrollBars()) return;
  if (FScrollBarsLockCount > 0) FScrollBarsUpdateNeeded = true;
  else CalculateScrollBarsNow();
}

void TdxMainScrollbarsOwnerHelper::SetScrollBarInfo(TScrollBarKind AKind, int AMin, int AMax, int AStep, int APage,
                                                    int APos, bool AAllowShow, bool AAllowHide) {
  TcxScrollBarData* data = Data(AKind);
  if (!data) return;
  data->FPageSize = APage;
  data->FMin = AMin;
  data->FMax = AMax;
  data->FSmallChange = static_cast<TScrollBarInc>(std::clamp(AStep, 1, 0x7FFF));
  data->FLargeChange = static_cast<TScrollBarInc>(std::clamp(APage, 1, 0x7FFF));
  data->FPosition = APos;
  data->Correct();
  const TScrollStyle own = AKind == sbHorizontal ? TScrollStyle::ssHorizontal : TScrollStyle::ssVertical;
  const bool styleAllows = FScrollBars == own || FScrollBars == TScrollStyle::ssBoth;
  // Classic bars show even with nothing to scroll (disabled); an overlay bar
  // shows only over something to scroll.
  data->FAllowShow = AAllowShow && styleAllows && (IsClassicScrollBarModeNow() || data->FIsValid);
  data->FAllowHide = AAllowHide;
  if (!data->FAllowShow) {
    data->FVisible = false;
  } else if (data->FIsValid) {
    data->FEnabled = true;
    data->FVisible = true;
  } else if (AAllowHide) {
    data->FVisible = false;
  } else {
    data->FEnabled = false;
    data->FVisible = true;
  }
}

void TdxMainScrollbarsOwnerHelper::CalculateScrollBars() {
  // A helper without a control has a set without bars.
  if (!FMainScrollBars || !Data(sbHorizontal) || !Data(sbVertical)) return;
  if (FUpdateScrollBarsCount == 0) {
    FInitialHScrollBarActive = IsScrollBarVisible(sbHorizontal);
    FInitialVScrollBarActive = IsScrollBarVisible(sbVertical);
  } else {
    // A relayout inside a relayout: back at the first layout, or nested too
    // deep, the layouts take turns; keep this one.
    const bool backAtStart = Data(sbHorizontal)->FVisible == FInitialHScrollBarActive &&
                             Data(sbVertical)->FVisible == FInitialVScrollBarActive;
    if (backAtStart || FUpdateScrollBarsCount >= MaxSetupRounds) {
      ApplyLayout();
      return;
    }
  }
  ++FUpdateScrollBarsCount;
  TScopeExit counted([this] { --FUpdateScrollBarsCount; });
  const bool wasHorz = IsScrollBarVisible(sbHorizontal);
  const bool wasVert = IsScrollBarVisible(sbVertical);
  RunSetupFixpoint();
  FMainScrollBars->UpdateControlStates();
  const int changes =
      (wasHorz != IsScrollBarVisible(sbHorizontal) ? 1 : 0) | (wasVert != IsScrollBarVisible(sbVertical) ? 2 : 0);
  // A bar that came or went changes the client area: the owner lays out
  // again, which calculates the bars again inside this call.
  if (changes != 0) HandleScrollBarsVisibilityChange(changes);
  else ApplyLayout();
}

void TdxMainScrollbarsOwnerHelper::RunSetupFixpoint() {
  if (FMainScrollBars->Calculating()) return;
  FMainScrollBars->SetCalculating(true);
  TScopeExit calculated([this] { FMainScrollBars->SetCalculating(false); });
  Data(sbHorizontal)->FVisible = false;
  Data(sbVertical)->FVisible = false;
  BeforeSetupScrollBars();
  for (int round = 0; round < MaxSetupRounds; ++round) {
    const bool horz = IsScrollBarVisible(sbHorizontal);
    const bool vert = IsScrollBarVisible(sbVertical);
    SetupScrollBars();
    if (horz == IsScrollBarVisible(sbHorizontal) && vert == IsScrollBarVisible(sbVertical)) break;
  }
  ExtendPagesWhenBothBarsFit();
}

void TdxMainScrollbarsOwnerHelper::ExtendPagesWhenBothBarsFit() {
  TcxScrollBarData& horz = *Data(sbHorizontal);
  TcxScrollBarData& vert = *Data(sbVertical);
  const auto hideable = [](const TcxScrollBarData& D) { return D.FVisible && D.FEnabled && D.FAllowHide; };
  if (!hideable(horz) || !hideable(vert)) return;
  const int horzHeight = HorzScrollBarHeightNow();
  const int vertWidth = VertScrollBarWidthNow();
  // Without the other bar the page would hold the whole range.
  const auto fitsWith = [](const TcxScrollBarData& D, int AOtherThickness) {
    return std::int64_t{AOtherThickness} + D.FPageSize >= std::int64_t{D.FMax} - D.FMin + 1;
  };
  if (!ExtendsPageWhenBothBarsFit(sbHorizontal) || !ExtendsPageWhenBothBarsFit(sbVertical) ||
      !fitsWith(horz, vertWidth) || !fitsWith(vert, horzHeight))
    return;
  const auto extend = [this](TScrollBarKind AKind, const TcxScrollBarData D, int AOtherThickness) {
    SetScrollBarInfo(AKind, D.FMin, D.FMax, D.FSmallChange, SaturateToInt(std::int64_t{D.FPageSize} + AOtherThickness),
                     D.FPosition, D.FAllowShow, D.FAllowHide);
  };
  extend(sbHorizontal, horz, vertWidth);
  extend(sbVertical, vert, horzHeight);
}

void TdxMainScrollbarsOwnerHelper::ApplyLayout() {
  FMainScrollBars->SetSizeGripVisible(BothScrollBarsVisibleNow());
  PositionScrollBars();
  if (KeepsScrollBarsOnTop()) FMainScrollBars->RaiseScrollBars();
}

void TdxMainScrollbarsOwnerHelper::PlaceScrollBars() {
  if (FMainScrollBars) FMainScrollBars->UpdateBounds();
}

void TdxMainScrollbarsOwnerHelper::ScrollContent(TcxDirection ADirection) {
  if (ADirection == dirNone || (!WantsScrollBars() && !CanScrollWithoutScrollBars(ADirection))) return;
  const TScrollBarKind kind = ADirection == dirLeft || ADirection == dirRight ? sbHorizontal : sbVertical;
  const TScrollCode code = ADirection == dirLeft || ADirection == dirUp ? scLineUp : scLineDown;
  IcxControlScrollBar* bar = GetScrollBar(kind);
  int position = bar ? bar->GetPosition() : 0;
  RevealScrollBars(false);
  TScopeExit hidden([this] { HideScrollBars(false); });
  HandleScroll(kind, code, position);
  UpdateOwner();
}

void TdxMainScrollbarsOwnerHelper::GestureScroll(TScrollBarKind AKind, int ADeltaX, int ADeltaY) {
  IcxControlScrollBar* bar = GetScrollBar(AKind);
  if (!bar) return;
  const TcxScrollBarData& data = bar->GetData();
  const bool byData = PansAlongWheelAxisOnly();
  if (!(bar->GetVisible() && bar->GetEnabled()) && !(byData && data.FIsValid)) return;
  int& accumulated = FGestureAccumulatedDelta[AKind == sbHorizontal ? 0 : 1];
  accumulated += AKind == sbHorizontal ? ADeltaX : ADeltaY;

  const int min = byData ? data.FMin : bar->GetMin();
  const int max = byData ? data.FMax : bar->GetMax();
  const int page = byData ? data.FPageSize : bar->GetPageSize();
  const int position = byData ? data.FPosition : bar->GetPosition();
  // The last position whose page still lies inside the range (Max itself
  // without a page), never below Min.
  const std::int64_t highest = std::max<std::int64_t>(min, std::int64_t{max} - std::max(page - 1, 0));
  const TSize client = ClientSize();
  const int extent = AKind == sbHorizontal ? client.cx : client.cy;
  // A client smaller than the page would make a unit of no pixels.
  const int pixelsPerUnit = page <= 0 ? 30 : std::clamp(extent / page, 1, 30);

  const int units = accumulated / pixelsPerUnit;
  if (units == 0) return;
  accumulated -= units * pixelsPerUnit;
  const std::int64_t target = std::int64_t{position} - units;
  ReportOverpan(AKind, SaturateToInt(target), ADeltaY, ADeltaX, static_cast<int>(highest), min);
  TrackScrollTo(AKind, static_cast<int>(std::clamp<std::int64_t>(target, min, highest)));
  UpdateOwner();
}

// ---------------------------------------------------------------------------
// TcxControlMainScrollbarsHelper

TcxControl* TcxControlMainScrollbarsHelper::Control() const { return static_cast<TcxControl*>(Owner()); }

TcxControl* TcxControlMainScrollbarsHelper::GetControl() { return Control(); }

void TcxControlMainScrollbarsHelper::SystemInfoChanged(UINT AParameter) { Control()->SystemInfoChanged(AParameter); }

bool TcxControlMainScrollbarsHelper::PansAlongWheelAxisOnly() { return Control()->PansAlongWheelAxisOnly(); }

TObject* TcxControlMainScrollbarsHelper::CreateScrollBar(TScrollBarKind) {
  return NewOfClass<TcxControlScrollBar>(Control()->ScrollBarClass(), static_cast<TdxMainScrollbarsOwnerHelper*>(this));
}

TObject* TcxControlMainScrollbarsHelper::CreateSizeGrip() {
  return NewOfClass<TcxSizeGrip>(Control()->SizeGripClass(), static_cast<TdxMainScrollbarsOwnerHelper*>(this));
}

TdxScrollbarMode TcxControlMainScrollbarsHelper::ScrollbarMode() { return Control()->ScrollbarMode(); }

bool TcxControlMainScrollbarsHelper::IsClassicScrollBarModeNow() { return Control()->IsClassicScrollBarMode(); }

TColor TcxControlMainScrollbarsHelper::DefaultTextColor() { return Control()->DefaultTextColor(); }

TClass TcxControlMainScrollbarsHelper::ScrollBarsClass() { return Control()->ScrollBarsClass(); }

TScrollStyle TcxControlMainScrollbarsHelper::ScrollBarsStyle() { return Control()->ScrollBarsStyle(); }

TRect TcxControlMainScrollbarsHelper::HorzScrollBarBounds() { return Control()->HorzScrollBarBounds(); }

TRect TcxControlMainScrollbarsHelper::VertScrollBarBounds() { return Control()->VertScrollBarBounds(); }

bool TcxControlMainScrollbarsHelper::IsDesigning() { return Control()->IsDesigning(); }

bool TcxControlMainScrollbarsHelper::IsDestroying() { return Control()->IsDestroying(); }

bool TcxControlMainScrollbarsHelper::IsLoading() { return Control()->IsLoading(); }

TdxScaleFactor* TcxControlMainScrollbarsHelper::ScaleFactor() { return Control()->ScaleFactor(); }

TSize TcxControlMainScrollbarsHelper::ClientSize() {
  return TSize(Control()->ClientWidth(), Control()->ClientHeight());
}

TcxLookAndFeel* TcxControlMainScrollbarsHelper::ScrollBarsLookAndFeel() { return Control()->LookAndFeel(); }

bool TcxControlMainScrollbarsHelper::WantsScrollBarsNow() { return Control()->WantsScrollBars(); }

bool TcxControlMainScrollbarsHelper::WantsScrollBars() { return Control()->WantsScrollBars(); }

void TcxControlMainScrollbarsHelper::SetupScrollBars() { Control()->SetupScrollBars(); }

void TcxControlMainScrollbarsHelper::BeforeSetupScrollBars() { Control()->BeforeSetupScrollBars(); }

bool TcxControlMainScrollbarsHelper::ExtendsPageWhenBothBarsFit(TScrollBarKind AKind) {
  return Control()->ExtendsPageWhenBothBarsFit(AKind);
}

bool TcxControlMainScrollbarsHelper::KeepsScrollBarsOnTop() { return Control()->KeepsScrollBarsOnTop(); }

bool TcxControlMainScrollbarsHelper::CanScrollWithoutScrollBars(TcxDirection ADirection) {
  return Control()->CanScrollWithoutScrollBars(ADirection);
}

void TcxControlMainScrollbarsHelper::ReportOverpan(TScrollBarKind AKind, int ANewPos, int ADeltaY, int ADeltaX,
                                                   int AMaxPos, int AMinPos) {
  Control()->ReportOverpan(AKind, ANewPos, ADeltaY, ADeltaX, AMaxPos, AMinPos);
}

void TcxControlMainScrollbarsHelper::CalculateScrollBarsNow() { Control()->CalculateScrollBars(); }

void TcxControlMainScrollbarsHelper::TrackScrollTo(TScrollBarKind AKind, int APosition) {
  Control()->TrackScrollTo(AKind, APosition);
}

int TcxControlMainScrollbarsHelper::HorzScrollBarHeightNow() { return Control()->HorzScrollBarHeight(); }

int TcxControlMainScrollbarsHelper::VertScrollBarWidthNow() { return Control()->VertScrollBarWidth(); }

TRect TcxControlMainScrollbarsHelper::SizeGripBoundsNow() { return Control()->SizeGripBounds(); }

bool TcxControlMainScrollbarsHelper::BothScrollBarsVisibleNow() { return Control()->BothScrollBarsVisible(); }

void TcxControlMainScrollbarsHelper::PositionScrollBars() { Control()->PositionScrollBars(); }

void TcxControlMainScrollbarsHelper::UpdateOwner() { Control()->Update(); }

void TcxControlMainScrollbarsHelper::HandleScroll(TScrollBarKind AKind, TScrollCode ACode, int& APosition) {
  Control()->HandleScroll(AKind, ACode, APosition);
}

void TcxControlMainScrollbarsHelper::HandleScrollBarsVisibilityChange(int AChanges) {
  Control()->HandleScrollBarsVisibilityChange(AChanges);
}

// ---------------------------------------------------------------------------
// TcxControl: main scroll bars

void TcxControl::SetScrollBarInfo(TScrollBarKind AScrollBarKind, int AMin, int AMax, int AStep, int APage, int APos,
                                  bool AAllowShow, bool AAllowHide) {
  if (FScrollbarsHelper)
    FScrollbarsHelper->SetScrollBarInfo(AScrollBarKind, AMin, AMax, AStep, APage, APos, AAllowShow, AAllowHide);
}

void TcxControl::LockScrollBars() {
  if (FScrollbarsHelper) FScrollbarsHelper->LockScrollBars();
}

void TcxControl::UnlockScrollBars() {
  if (FScrollbarsHelper) FScrollbarsHelper->UnlockScrollBars();
}

void TcxControl::RefreshScrollBars() {
  if (FScrollbarsHelper) FScrollbarsHelper->UpdateScrollBars();
}

void TcxControl::CalculateScrollBars() {
  if (FScrollbarsHelper) FScrollbarsHelper->CalculateScrollBars();
}

void TcxControl::ScrollContent(TcxDirection ADirection) {
  if (FScrollbarsHelper) FScrollbarsHelper->ScrollContent(ADirection);
}

bool TcxControl::IsScrollBarVisible(TScrollBarKind AKind) {
  return FScrollbarsHelper && FScrollbarsHelper->IsScrollBarVisible(AKind);
}

IcxControlScrollBar* TcxControl::GetHorzScrollBar() {
  return FScrollbarsHelper ? FScrollbarsHelper->GetScrollBar(sbHorizontal) : nullptr;
}

IcxControlScrollBar* TcxControl::GetVertScrollBar() {
  return FScrollbarsHelper ? FScrollbarsHelper->GetScrollBar(sbVertical) : nullptr;
}

TcxSizeGrip* TcxControl::GetSizeGrip() { return FScrollbarsHelper ? FScrollbarsHelper->GetSizeGrip() : nullptr; }

bool TcxControl::FocusesOnChildClick(TControl*) { return ShouldFocusOnClick(); }

void TcxControl::PositionScrollBars() {
  if (FScrollbarsHelper) FScrollbarsHelper->PlaceScrollBars();
}

bool TcxControl::KeepsScrollBarsOnTop() { return !IsDesigning(); }

void TcxControl::BringScrollBarsToFront() {
  if (FScrollbarsHelper && FScrollbarsHelper->MainScrollBars()) FScrollbarsHelper->MainScrollBars()->RaiseScrollBars();
}

int TcxControl::HorzScrollBarHeight() {
  return FScrollbarsHelper ? FScrollbarsHelper->HorzScrollBarHeight() : GetSystemScrollBarSize(ScaleFactor()).cy;
}

int TcxControl::VertScrollBarWidth() {
  return FScrollbarsHelper ? FScrollbarsHelper->VertScrollBarWidth() : GetSystemScrollBarSize(ScaleFactor()).cx;
}

TSize TcxControl::OverlayScrollBarSize() {
  return FScrollbarsHelper ? FScrollbarsHelper->OverlayScrollBarSize(FScrollbarMode) : TSize();
}

// Classic bars lie beside the client bounds; overlay bars lie inside them
// along the far edge, clear of the other bar's reserved strip.
TRect TcxControl::HorzScrollBarBounds() {
  const TRect client = ClientBounds();
  TRect r = client;
  if (IsClassicScrollBarMode()) {
    r.Top = client.Bottom;
    r.Bottom = r.Top + HorzScrollBarHeight();
  } else {
    r.Top = client.Bottom - OverlayScrollBarSize().cy;
    if (IsScrollBarVisible(sbVertical)) r.Right -= VertScrollBarWidth();
  }
  return UseRightToLeftAlignment() ? TdxRightToLeftLayoutConverter::ConvertRect(r, client) : r;
}

TRect TcxControl::VertScrollBarBounds() {
  const TRect client = ClientBounds();
  TRect r = client;
  if (IsClassicScrollBarMode()) {
    r.Left = client.Right;
    r.Right = r.Left + VertScrollBarWidth();
  } else {
    r.Left = client.Right - OverlayScrollBarSize().cx;
    if (IsScrollBarVisible(sbHorizontal)) r.Bottom -= HorzScrollBarHeight();
  }
  return UseRightToLeftScrollBar() ? TdxRightToLeftLayoutConverter::ConvertRect(r, client) : r;
}

TRect TcxControl::SizeGripBounds() { return FScrollbarsHelper ? FScrollbarsHelper->SizeGripBounds() : TRect(); }

bool TcxControl::BothScrollBarsVisible() { return FScrollbarsHelper && FScrollbarsHelper->BothScrollBarsVisible(); }

bool TcxControl::IsOnSizeGrip(const TPoint& P) {
  return FScrollbarsHelper && FScrollbarsHelper->IsOnSizeGrip(P);
}

bool TcxControl::IsOnScrollBarArea(const TPoint& P) {
  if (!IsClassicScrollBarMode()) return FScrollbarsHelper && FScrollbarsHelper->IsOnOverlayScrollBar(P);
  return (FScrollBarsManager && FScrollBarsManager->IsScrollBarsArea(P)) || IsOnSizeGrip(P);
}

bool TcxControl::IsInternalChildControl(TControl* AControl) {
  return FScrollbarsHelper && FScrollbarsHelper->MainScrollBars() &&
         FScrollbarsHelper->MainScrollBars()->IsScrollBarControl(AControl);
}

void TcxControl::ResetScrollBarsControls() {
  if (FScrollbarsHelper) FScrollbarsHelper->ResetScrollBarsControls();
}

void TcxControl::HideScrollBarWindows() {
  if (FScrollbarsHelper && FScrollbarsHelper->MainScrollBars()) FScrollbarsHelper->MainScrollBars()->HideAll();
}

TdxScrollbarMode TcxControl::ActualScrollBarMode() {
  if (!AllowsOverlayScrollBars()) return sbmClassic;
  TcxLookAndFeel* lookAndFeel = LookAndFeel();
  TdxScrollbarMode mode = lookAndFeel ? lookAndFeel->ScrollbarMode() : sbmDefault;
  if (mode == sbmDefault) {
    const TdxScrollbarMode root = HasRootLookAndFeel() ? GetRootLookAndFeel()->ScrollbarMode() : sbmDefault;
    mode = root == sbmDefault || root == sbmTouch ? sbmTouch : sbmClassic;
  }
  if (mode == sbmHybrid && !AllowsHybridScrollBars()) mode = sbmTouch;
  return mode;
}

void TcxControl::CheckScrollBarModeChange() {
  if (WantsScrollBars() && ActualScrollBarMode() != FScrollbarMode) ApplyScrollBarMode();
}

void TcxControl::ApplyScrollBarMode() {
  if (!FScrollbarsHelper) return;
  {
    FIsScrollUIModeChanging = true;
    TScopeExit changed([this] { FIsScrollUIModeChanging = false; });
    FScrollbarsHelper->HideAllScrollBars();
    FScrollbarsHelper->DestroyScrollBars();
    FScrollbarMode = ActualScrollBarMode();
    FScrollbarsHelper->CreateScrollBars();
    if (HandleAllocated()) FScrollbarsHelper->ResetScrollBarsControls();
  }
  HandleScrollBarModeChange();
}

void TcxControl::NotifyOverlayScrollBarsMoved(const TMessage& Message) {
  if (!FScrollbarsHelper || IsClassicScrollBarMode() || !Message.LParam || !HandleAllocated()) return;
  const UINT flags = reinterpret_cast<const WINDOWPOS*>(Message.LParam)->flags;
  if ((flags & SWP_NOMOVE) != 0) return;
  TdxHybridScrollbarManagers::WindowMoved(Handle(), true, false);
  TdxTouchScrollUIModeManager::WindowMoved(Handle(), true, false);
}

void TcxControl::RevealScrollBars(bool ATimerControlled) {
  if (FScrollbarsHelper) FScrollbarsHelper->RevealScrollBars(ATimerControlled);
}

void TcxControl::HideScrollBars(bool AImmediately) {
  if (FScrollbarsHelper) FScrollbarsHelper->HideScrollBars(AImmediately);
}

void TcxControl::InvalidateScrollBars() {
  if (FScrollbarsHelper && FScrollbarsHelper->MainScrollBars()) FScrollbarsHelper->MainScrollBars()->Invalidate();
}

TClass TcxControl::ScrollBarsClass() { return TcxControlWindowedScrollBars::ClassInfo(); }

TClass TcxControl::ScrollBarClass() {
  return IsClassicScrollBarMode() ? TcxControlScrollBar::ClassInfo() : TcxControlPopupScrollBar::ClassInfo();
}

TClass TcxControl::SizeGripClass() {
  return IsClassicScrollBarMode() ? TcxSizeGrip::ClassInfo() : TcxPopupSizeGrip::ClassInfo();
}

void TcxControl::ReportOverpan(TScrollBarKind AKind, int ANewPos, int ADeltaY, int ADeltaX, int AMaxPos, int AMinPos) {
  if (FGestureHelper) FGestureHelper->CheckOverpan(AKind, ANewPos, AMinPos, AMaxPos, ADeltaX, ADeltaY);
}

void TcxControl::TrackScrollTo(TScrollBarKind AKind, int APosition) { HandleScroll(AKind, scTrack, APosition); }

void TcxControl::DXMCheckScrollBarSizes(TMessage& Message) {
  Message.Result = 0;
  if (!WantsScrollBars() || !FScrollbarsHelper || !FScrollbarsHelper->MainScrollBars()) return;
  TcxControlCustomScrollBars* bars = FScrollbarsHelper->MainScrollBars();
  // Both are fitted, whichever changed.
  const bool horzChanged = bars->AdjustScrollBarSize(false);
  const bool vertChanged = bars->AdjustScrollBarSize(true);
  if (horzChanged || vertChanged) HandleBoundsChange();
}
