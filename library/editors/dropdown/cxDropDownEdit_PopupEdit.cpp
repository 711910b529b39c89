// The popup edit: a drop-down editor whose popup hosts any control of the
// form and gives it back, with its parent, alignment, bounds and
// visibility, when the popup closes.
#include "library/editors/dropdown/cxDropDownEdit.h"

#include "library/editors/edit/cxEditConsts.h"

// ---------------------------------------------------------------------------
// TcxCustomPopupEditProperties

void TcxCustomPopupEditProperties::Create(TPersistent* AOwner) {
  inherited::Create(AOwner);
  FFreeNotificator.reset(New<TcxFreeNotificator>(static_cast<TObject*>(nullptr)));
  FFreeNotificator->SetOnFreeNotification(BindEvent<&TcxCustomPopupEditProperties::PopupControlFreed>(this));
  SetPopupAutoSize(true);
  SetPopupMinHeight(100);
  SetPopupMinWidth(100);
  SetPopupHeight(200);
  SetPopupSizeable(true);
  SetPopupWidth(250);
}

void TcxCustomPopupEditProperties::Destroy() {
  if (FPopupControl && FFreeNotificator) FFreeNotificator->RemoveSender(FPopupControl);
  FPopupControl = nullptr;
  FFreeNotificator.reset();
  inherited::Destroy();
}

void TcxCustomPopupEditProperties::SetPopupControl(TControl* AValue) {
  if (AValue == FPopupControl) return;
  if (FPopupControl) FFreeNotificator->RemoveSender(FPopupControl);
  FPopupControl = AValue;
  if (FPopupControl) FFreeNotificator->AddSender(FPopupControl);
  Changed();
}

void TcxCustomPopupEditProperties::PopupControlFreed(TComponent* AComponent) {
  if (AComponent == FPopupControl) FPopupControl = nullptr;
}

TClass TcxCustomPopupEditProperties::GetPopupWindowClass() { return TcxPopupEditPopupWindow::ClassInfo(); }
TClass TcxCustomPopupEditProperties::GetContainerClass() { return TcxPopupEdit::ClassInfo(); }

void TcxCustomPopupEditProperties::CopyFrom(TcxCustomEditProperties* ASource) {
  inherited::CopyFrom(ASource);
  if (auto* source = dynamic_cast<TcxCustomPopupEditProperties*>(ASource)) SetPopupControl(source->PopupControl());
}

void TcxPopupEditProperties::Create(TPersistent* AOwner) {
  inherited::Create(AOwner);
  SetImmediateDropDownWhenActivated(true);
}

// ---------------------------------------------------------------------------
// TcxPopupEditPopupWindowViewInfo

void TcxPopupEditPopupWindowViewInfo::DrawBorder(TcxCanvas* ACanvas, const TRect& R) {
  // The hosted control sits on a client edge whatever the setting says.
  const bool clientEdge = ClientEdge;
  ClientEdge = true;
  TScopeExit restore([this, clientEdge] { ClientEdge = clientEdge; });
  inherited::DrawBorder(ACanvas, R);
}

// ---------------------------------------------------------------------------
// TcxCustomPopupEdit

void TcxCustomPopupEdit::Destroy() {
  if (HasPopupWindow()) RestorePopupControl();
  inherited::Destroy();
}

TWinControl* TcxCustomPopupEdit::GetPopupFocusedControl() {
  return dynamic_cast<TWinControl*>(ActiveProperties()->PopupControl());
}

TSize TcxCustomPopupEdit::CalculatePopupSize() {
  TControl* control = ActiveProperties()->PopupControl();
  return control ? TSize{control->Width(), control->Height()} : TSize{0, 0};
}

void TcxCustomPopupEdit::DoInitPopup() {
  TControl* control = ActiveProperties()->PopupControl();
  bool circular = control && control == PopupWindow();
  for (TControl* c = this; c && !circular; c = c->Parent()) circular = c == control;
  if (circular) throw EcxEditError(LoadLocalizedResString(&cxSEditPopupCircularReferencingError));
  inherited::DoInitPopup();
}

void TcxCustomPopupEdit::SavePopupControl() {
  TControl* control = ActiveProperties()->PopupControl();
  FSavedControl = control;
  FPrevPopupControlData.Align = control->Align();
  if (auto* form = dynamic_cast<TCustomForm*>(control)) {
    FPrevPopupControlData.BorderStyle = form->BorderStyle();
    form->SetBorderStyle(bsNone);
  }
  FPrevPopupControlData.Bounds = control->BoundsRect();
  FPrevPopupControlData.Parent = control->Parent();
  FPrevPopupControlData.Visible = control->Visible();
  FPrevPopupControlData.ActiveControl = nullptr;
}

void TcxCustomPopupEdit::PreparePopupWindow() {
  TControl* control = ActiveProperties()->PopupControl();
  if (!control) {
    inherited::PreparePopupWindow();
    return;
  }
  if (FSavedControl != control) SavePopupControl();
  PopupWindow()->Font()->Assign(control->Font());
  control->SetParent(PopupWindow());
  control->SetVisible(true);
  inherited::PreparePopupWindow();
  control->SetAlign(alClient);
}

void TcxCustomPopupEdit::PositionPopupContent(const TRect& AClientRect) {
  if (TControl* control = ActiveProperties()->PopupControl(); control && control->Parent() == PopupWindow())
    control->SetBoundsRect(AClientRect);
}

void TcxCustomPopupEdit::PopupWindowClosing(TObject* Sender) {
  FPrevPopupControlData.ActiveControl = PopupWindow()->ActiveControl();
  inherited::PopupWindowClosing(Sender);
}

void TcxCustomPopupEdit::PopupWindowClosed(TObject* Sender) {
  RestorePopupControl();
  inherited::PopupWindowClosed(Sender);
}

void TcxCustomPopupEdit::RestorePopupControl() {
  TControl* control = FSavedControl;
  FSavedControl = nullptr;
  if (!control || control != ActiveProperties()->PopupControl()) return;
  for (TWinControl* c = FPrevPopupControlData.ActiveControl; c && c != PopupWindow(); c = c->Parent())
    if (c->HandleAllocated()) SendMessageW(c->Handle(), CM_EXIT, 0, 0);
  FPrevPopupControlData.ActiveControl = nullptr;
  control->SetVisible(false);
  {
    PopupWindow()->SetWindowEnabled(false);
    TScopeExit enable([this] { PopupWindow()->SetWindowEnabled(true); });
    control->SetParent(FPrevPopupControlData.Parent);
  }
  control->SetAlign(FPrevPopupControlData.Align);
  if (auto* form = dynamic_cast<TCustomForm*>(control)) form->SetBorderStyle(FPrevPopupControlData.BorderStyle);
  control->SetBoundsRect(FPrevPopupControlData.Bounds);
  control->SetVisible(FPrevPopupControlData.Visible);
}

void TcxCustomPopupEdit::RequestClosePopup(TcxEditCloseUpReason AReason) {
  FCloseUpReason = AReason;
  if (PopupWindow()) PopupWindow()->ClosePopup();
}
