// The stand-alone scroll-bar control and the painter that draws bars with
// the look-and-feel painters.

#include "library/controls/scrollbars/cxScrollBar.h"

#include "library/controls/control/cxControls.h"
#include "library/graphics/canvas/cxGraphics.h"
#include "platform/runtime/Handles.h"

// ---------------------------------------------------------------------------
// TcxScrollBarLookAndFeelPainter

TcxCustomLookAndFeelPainter* TcxScrollBarLookAndFeelPainter::LookAndFeelPainter() const {
  TcxLookAndFeel* lookAndFeel = ScrollBar()->LookAndFeel();
  if (!lookAndFeel && HasRootLookAndFeel()) lookAndFeel = GetRootLookAndFeel();
  return lookAndFeel ? lookAndFeel->GetAvailablePainter(totScrollBar) : nullptr;
}

int TcxScrollBarLookAndFeelPainter::MinThumbnailSize() {
  TcxCustomLookAndFeelPainter* painter = LookAndFeelPainter();
  const bool vertical = ScrollBar()->Kind() == sbVertical;
  // Without a painter the thumb is as short as the system's arrow is long.
  return painter ? painter->ScaledScrollBarMinimalThumbSize(vertical, ScrollBar()->ScaleFactor())
                 : GetSystemMetricsForScaleFactor(vertical ? SM_CYVTHUMB : SM_CXHTHUMB, ScrollBar()->ScaleFactor());
}

bool TcxScrollBarLookAndFeelPainter::IsButtonHotTrack() {
  TcxCustomLookAndFeelPainter* painter = LookAndFeelPainter();
  return painter && painter->IsButtonHotTrack();
}

void TcxScrollBarLookAndFeelPainter::DrawLookBackground(TcxCustomCanvas* ACanvas, const TRect& R) {
  if (TcxCustomLookAndFeelPainter* painter = LookAndFeelPainter())
    painter->DrawScaledScrollBarBackground(ACanvas, R, ScrollBar()->Kind() == sbHorizontal, ScrollBar()->ScaleFactor());
}

void TcxScrollBarLookAndFeelPainter::DrawLookPart(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                  TcxScrollBarPart APart) {
  if (TcxCustomLookAndFeelPainter* painter = LookAndFeelPainter())
    painter->DrawScaledScrollBarPart(ACanvas, ScrollBar()->Kind() == sbHorizontal, R, APart, AState,
                                     ScrollBar()->ScaleFactor());
}

// ---------------------------------------------------------------------------
// TcxScrollBar

void TcxScrollBar::Publish(TPublisher<TcxScrollBar>& P) {
  P.Property(L"Ctl3D", &TcxScrollBar::Ctl3D, &TcxScrollBar::SetCtl3D).Stored(&TcxScrollBar::IsCtl3DStored);
  P.Property(L"Kind", &TcxScrollBar::Kind, &TcxScrollBar::SetKind).Default(sbHorizontal);
  P.Property(L"LargeChange", &TcxScrollBar::LargeChange, &TcxScrollBar::SetLargeChange).Default(1);
  PublishLookAndFeel(P);
  P.Property(L"Max", &TcxScrollBar::Max, &TcxScrollBar::SetMax).Default(100);
  P.Property(L"Min", &TcxScrollBar::Min, &TcxScrollBar::SetMin).Default(0);
  P.Property(L"PageSize", &TcxScrollBar::PageSize, &TcxScrollBar::SetPageSize).Default(0);
  P.Property(L"Position", &TcxScrollBar::Position, &TcxScrollBar::SetPosition).Default(0);
  P.Property(L"ReverseDirection", &TcxScrollBar::ReverseDirection, &TcxScrollBar::SetReverseDirection).Default(false);
  P.Property(L"SmallChange", &TcxScrollBar::SmallChange, &TcxScrollBar::SetSmallChange).Default(1);
  P.Property(L"UnlimitedTracking", &TcxScrollBar::UnlimitedTracking, &TcxScrollBar::SetUnlimitedTracking)
      .Default(false);
  P.Property(L"OnChange", &TcxScrollBar::OnChange, &TcxScrollBar::SetOnChange);
  P.Property(L"OnMouseEnter", &TcxScrollBar::OnMouseEnter, &TcxScrollBar::SetOnMouseEnter);
  P.Property(L"OnMouseLeave", &TcxScrollBar::OnMouseLeave, &TcxScrollBar::SetOnMouseLeave);
  P.Property(L"OnScroll", &TcxScrollBar::OnScroll, &TcxScrollBar::SetOnScroll);
  P.Message<&TcxScrollBar::CNScroll>(CN_HSCROLL);
  P.Message<&TcxScrollBar::CNScroll>(CN_VSCROLL);
  P.Message<&TcxScrollBar::CMCtl3DChanged>(CM_CTL3DCHANGED);
  P.Message<&TcxScrollBar::CMEnabledChanged>(CM_ENABLEDCHANGED);
  P.Message<&TcxScrollBar::CMVisibleChanged>(CM_VISIBLECHANGED);
  P.Message<&TcxScrollBar::CMSysColorChange>(CM_SYSCOLORCHANGE);
  P.Message<&TcxScrollBar::CNCtlColorScrollBar>(CN_CTLCOLORSCROLLBAR);
  P.Message<&TcxScrollBar::CMMouseEnter>(CM_MOUSEENTER);
  P.Message<&TcxScrollBar::CMMouseLeave>(CM_MOUSELEAVE);
  P.Message<&TcxScrollBar::WMEraseBkgnd>(WM_ERASEBKGND);
  P.Message<&TcxScrollBar::WMCancelMode>(WM_CANCELMODE);
  P.Message<&TcxScrollBar::WMGestureNotify>(WM_GESTURENOTIFY);
}

void TcxScrollBar::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FRealCtl3D = Ctl3D();
  CreateLookAndFeel(this, BindEvent<&TcxScrollBar::LookAndFeelChangeHandler>(this));
  FScaleFactor.reset(New<TdxOwnedScaleFactor>());
  FHelper.reset(static_cast<TcxScrollBarHelper*>(
      NewOfClass<TcxScrollBarHelper>(GetHelperClass(), static_cast<IcxScrollBarOwner*>(this))));
  FHelper->SetOnScroll(BindEvent<&TcxScrollBar::HelperScroll>(this));
  FHelper->SetOnChange(BindEvent<&TcxScrollBar::HelperChange>(this));
  ControlStyle().Include(csCaptureMouse);
  ControlStyle().Include(csFramed);
  ControlStyle().Include(csOpaque);
  SetBounds(0, 0, 121, GetDefaultSize().cy);
  FThemeChangedNotificator.reset(New<TdxThemeChangedNotificator>());
  FThemeChangedNotificator->SetOnThemeChanged(BindEvent<&TcxScrollBar::ThemeChanged>(this));
  FHelper->SetBoundsRect(ClientRect());
  FHelper->Calculate();
}

void TcxScrollBar::Destroy() {
  // A half-built bar may lack any of these.
  FThemeChangedNotificator.reset();
  FHelper.reset();
  FScaleFactor.reset();
  FreeLookAndFeel();
  inherited::Destroy();
}

bool TcxScrollBar::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IcxScrollBarOwner, IdxScrollbarAnnotationRenderer>(this, AIID, AObj) ||
         inherited::GetInterface(AIID, AObj);
}

TClass TcxScrollBar::GetHelperClass() { return TcxScrollBarHelper::ClassInfo(); }

TSize TcxScrollBar::GetDefaultSize() { return GetSystemScrollBarSize(FScaleFactor.get()); }

void TcxScrollBar::SetScrollParams(int AMin, int AMax, int APosition, int APageSize, bool ARedraw) {
  FHelper->SetScrollParams(AMin, AMax, APosition, APageSize, ARedraw);
}

void TcxScrollBar::SetParams(int APosition, int AMin, int AMax) { SetScrollParams(AMin, AMax, APosition, PageSize()); }

void TcxScrollBar::SetKind(TScrollBarKind AValue) {
  if (Kind() == AValue) return;
  FHelper->SetKind(AValue);
  FHelper->Calculate();
  Invalidate();
}

void TcxScrollBar::SetReverseDirection(bool AValue) {
  if (ReverseDirection() == AValue) return;
  FHelper->SetReverseDirection(AValue);
  FHelper->Calculate();
  Invalidate();
}

void TcxScrollBar::SetCtl3D(bool AValue) {
  FRealCtl3D = AValue;
  ApplyCtl3D();
}

void TcxScrollBar::ApplyCtl3D() {
  const bool value = FRealCtl3D && !(LookAndFeel() && LookAndFeel()->SkinPainter());
  if (Ctl3D() == value) return;
  FApplyingCtl3D = true;
  TScopeExit applied([this] { FApplyingCtl3D = false; });
  inherited::SetCtl3D(value);
}

void TcxScrollBar::Change() { CallEvent(FOnChange, this); }

void TcxScrollBar::Scroll(TScrollCode AScrollCode, int& AScrollPos) { CallEvent(FOnScroll, this, AScrollCode, AScrollPos); }

void TcxScrollBar::HelperChange(TObject*) { Change(); }

void TcxScrollBar::HelperScroll(TObject*, TScrollCode AScrollCode, int& AScrollPos) { Scroll(AScrollCode, AScrollPos); }

void TcxScrollBar::LookAndFeelChangeHandler(TcxLookAndFeel*, TcxLookAndFeelValues) { LookAndFeelChanged(); }

void TcxScrollBar::LookAndFeelChanged() {
  ApplyCtl3D();
  FHelper->Calculate();
  Invalidate();
}

void TcxScrollBar::ThemeChanged() {
  FHelper->Calculate();
  UpdateHalftoneBrushes();
  Invalidate();
  if (Parent()) Parent()->Realign();
}

void TcxScrollBar::PaintTo(TcxCustomCanvas* ACanvas) { FHelper->Paint(ACanvas); }

void TcxScrollBar::Paint() { FHelper->Paint(Canvas()); }

void TcxScrollBar::Resize() {
  inherited::Resize();
  if (!FHelper) return;
  FHelper->SetBoundsRect(ClientRect());
  FHelper->Calculate();
}

void TcxScrollBar::Loaded() {
  inherited::Loaded();
  FHelper->Calculate();
}

void TcxScrollBar::ChangeScale(int M, int D, bool AIsDpiChange) {
  FScaleFactor->Change(M, D);
  inherited::ChangeScale(M, D, AIsDpiChange);
  if (LookAndFeel()) LookAndFeel()->Refresh();
}

void TcxScrollBar::SetParent(TWinControl* AValue) {
  if (!TcxControlHelper::CanSetParent(this, AValue)) return;
  inherited::SetParent(AValue);
  TcxControlHelper::UpdateScaleFactorOnParentChange(this);
}

void TcxScrollBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TControlTracker alive(this);
  inherited::MouseDown(Button, Shift, X, Y);
  if (alive.Alive()) FHelper->MouseDown(Button, Shift, X, Y);
}

void TcxScrollBar::MouseMove(TShiftState Shift, int X, int Y) {
  TControlTracker alive(this);
  inherited::MouseMove(Shift, X, Y);
  if (alive.Alive()) FHelper->MouseMove(Shift, X, Y);
}

void TcxScrollBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TControlTracker alive(this);
  inherited::MouseUp(Button, Shift, X, Y);
  if (alive.Alive()) FHelper->MouseUp(Button, Shift, X, Y);
}

void TcxScrollBar::CNScroll(TMessage& Message) {
  FHelper->Scroll(static_cast<TScrollCode>(LOWORD(Message.WParam)));
  Message.Result = 0;
}

void TcxScrollBar::CMCtl3DChanged(TMessage&) {
  if (FApplyingCtl3D) return;
  FRealCtl3D = Ctl3D();
  LookAndFeelChanged();
}

void TcxScrollBar::CMEnabledChanged(TMessage& Message) {
  TWinControl::CMEnabledChanged(Message);
  FHelper->SetEnabled(Enabled());
  FHelper->Calculate();
  Invalidate();
}

void TcxScrollBar::CMVisibleChanged(TMessage& Message) {
  FHelper->SetVisible(Visible());
  TWinControl::CMVisibleChanged(Message);
}

void TcxScrollBar::CMSysColorChange(TMessage& Message) {
  UpdateHalftoneBrushes();
  DefaultHandler(Message);
}

void TcxScrollBar::CNCtlColorScrollBar(TMessage& Message) {
  UpdateHalftoneBrushes();
  TWinControl::CNCtlColor(Message);
}

void TcxScrollBar::CMMouseEnter(TMessage& Message) {
  TControlTracker alive(this);
  TControl::CMMouseEnter(Message);
  if (!alive.Alive()) return;
  TControl* control = TCMMouseEnter(Message).Control();
  FHelper->MouseEnter(control);
  if (alive.Alive() && control == this) CallEvent(FOnMouseEnter, this);
}

void TcxScrollBar::CMMouseLeave(TMessage& Message) {
  TControlTracker alive(this);
  TControl::CMMouseLeave(Message);
  if (!alive.Alive()) return;
  TControl* control = TCMMouseLeave(Message).Control();
  FHelper->MouseLeave(control);
  if (alive.Alive() && control == this) CallEvent(FOnMouseLeave, this);
}

void TcxScrollBar::WMEraseBkgnd(TMessage& Message) { Message.Result = 1; }

void TcxScrollBar::WMCancelMode(TMessage& Message) {
  TControlTracker alive(this);
  TControl::WMCancelMode(Message);
  if (alive.Alive()) FHelper->CancelMode();
}

void TcxScrollBar::WMGestureNotify(TMessage& Message) {
  GESTURECONFIG config{0, 0, GC_ALLGESTURES};
  SetGestureConfig(Handle(), 0, 1, &config, sizeof(config));
  Message.Result = 0;
}

void cxScrollBarInitialization() { RegisterClasses({TcxScrollBar::ClassInfo()}); }
