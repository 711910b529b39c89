// TcxCustomEdit: the inner control's creation, connection and the hook of its
// window procedure.
#include "library/editors/edit/cxEdit.h"

#include "library/controls/control/cxControls.h"

IcxCustomInnerEdit* TcxCustomEdit::CreateInnerEdit() {
  const TClass controlClass = GetInnerControlClass();
  if (!controlClass) return nullptr;
  auto* control = NewOfClass<TWinControl>(controlClass, static_cast<TComponent*>(this));
  control->SetControlStyle(control->ControlStyle() + TControlStyle{csOverrideStylePaint});
  if (auto* helper = SupportsRaw<IcxInnerEditHelper>(control)) return helper->GetHelper();
  return SupportsRaw<IcxCustomInnerEdit>(control);
}

void TcxCustomEdit::InitializeInnerEdit() {
  FInnerEdit->SetParent(this);
  if (ActiveProperties()->HasOwnChangeNotification())
    FInnerEdit->SetOnChange(BindEvent<&TcxCustomEdit::InnerEditChanged>(this));
  if (TWinControl* inner = InnerControl()) inner->SetParentShowHint(false);
}

bool TcxCustomEdit::IsInnerControlMissing() {
  return IsDestroying() || (GetInnerControlClass() != nullptr && FInnerEdit == nullptr);
}

void TcxCustomEdit::CreateHandle() {
  inherited::CreateHandle();
  if (HasInnerEdit() && Focused()) FInnerEdit->SafelySetFocus();
}

void TcxCustomEdit::HookInnerEditWindowProc() {
  if (!HasInnerEdit() || FWindowProcObject) return;
  FWindowProcObject = WindowProcController()->Add(FInnerEdit->GetControl()->Handle(),
                                                  BindEvent<&TcxCustomEdit::InnerEditWindowProc>(this));
}

void TcxCustomEdit::UnhookInnerEditWindowProc() {
  if (FWindowProcObject) WindowProcController()->Remove(FWindowProcObject);
}

void TcxCustomEdit::InnerEditWindowProc(TMessage& Message) {
  if (FWindowProcObject) FWindowProcObject->DefaultProc(Message);
}
