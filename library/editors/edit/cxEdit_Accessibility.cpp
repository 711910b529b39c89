// The accessibility nodes of an editor and its buttons, and the editor's
// answer to WM_GETOBJECT.
#include "library/editors/edit/cxEdit.h"

// ---------------------------------------------------------------------------
// TdxEditButtonAccessibilityHelper

TdxEditAccessibilityHelper* TdxEditButtonAccessibilityHelper::EditNode() {
  TcxCustomEditViewInfo* viewInfo = ButtonViewInfo()->EditViewInfo;
  TcxCustomEdit* edit = viewInfo ? viewInfo->Edit() : nullptr;
  return edit ? dynamic_cast<TdxEditAccessibilityHelper*>(edit->GetAccessibilityHelper()->GetHelper()) : nullptr;
}

TcxAccessibilityHelper* TdxEditButtonAccessibilityHelper::Parent() { return EditNode(); }

void TdxEditButtonAccessibilityHelper::DoDefaultAction(int) {
  if (TdxEditAccessibilityHelper* parent = EditNode())
    parent->PerformButtonDefaultAction(ButtonViewInfo()->ButtonVisibleIndex);
}

String TdxEditButtonAccessibilityHelper::GetDefaultActionDescription(int) { return L"Push"; }

String TdxEditButtonAccessibilityHelper::GetName(int) {
  const String& caption = ButtonViewInfo()->Data.Caption;
  if (!caption.empty()) return caption;
  TdxEditAccessibilityHelper* parent = EditNode();
  return parent ? parent->GetButtonAccessibleName(ButtonViewInfo()->ButtonVisibleIndex) : String();
}

TRect TdxEditButtonAccessibilityHelper::GetScreenBounds(int) {
  TRect result = ButtonViewInfo()->Bounds;
  if (TcxAccessibilityHelper* parent = Parent()) {
    const TRect parentBounds = parent->GetScreenBounds(CHILDID_SELF);
    result.Offset(parentBounds.Left, parentBounds.Top);
  }
  return result;
}

// ---------------------------------------------------------------------------
// TdxEditAccessibilityHelper

void TdxEditAccessibilityHelper::Destroy() {
  FAccessibilityChildren.clear();
  inherited::Destroy();
}

// The children belong to the editor's parts: none is reached once it is gone.
void TdxEditAccessibilityHelper::OwnerObjectDestroyed() {
  FAccessibilityChildren.clear();
  inherited::OwnerObjectDestroyed();
}

TcxCustomEdit* TdxEditAccessibilityHelper::Edit() const { return static_cast<TcxCustomEdit*>(FOwnerObject); }

void TdxEditAccessibilityHelper::RebuildChildren() {
  FAccessibilityChildren.clear();
  const auto add = [this](IcxAccessibilityHelper* ANode) {
    if (auto* child = dynamic_cast<TdxEditChildAccessibilityHelper*>(ANode->GetHelper()))
      child->SetLocalId(static_cast<int>(FAccessibilityChildren.size()) + 1);
    FAccessibilityChildren.emplace_back(ANode);
  };
  TcxCustomEdit* edit = Edit();
  if (IcxAccessibilityHelper* inner = edit->GetInnerEditAccessibilityHelper()) add(inner);
  if (TcxCustomEditViewInfo* viewInfo = edit->ViewInfo())
    for (const auto& button : viewInfo->ButtonsInfo) add(button->GetAccessibilityHelper());
}

int TdxEditAccessibilityHelper::ChildCount() {
  RebuildChildren();
  return static_cast<int>(FAccessibilityChildren.size());
}

// Resolved against the editor as it is now, never against an older list:
// the layout may have freed the buttons a previous list named.
TcxAccessibilityHelper* TdxEditAccessibilityHelper::GetChild(int AIndex) {
  RebuildChildren();
  if (AIndex < 0 || AIndex >= static_cast<int>(FAccessibilityChildren.size())) return nullptr;
  return FAccessibilityChildren[AIndex]->GetHelper();
}

String TdxEditAccessibilityHelper::GetName(int) { return Edit()->Text(); }

HWND TdxEditAccessibilityHelper::OwnerObjectWindow() {
  TcxCustomEdit* edit = Edit();
  return Visible() && edit->HandleAllocated() ? edit->Handle() : nullptr;
}

int TdxEditAccessibilityHelper::GetState(int) {
  TcxCustomEdit* edit = Edit();
  int result = STATE_SYSTEM_FOCUSABLE;
  if (!edit->Enabled()) result |= STATE_SYSTEM_UNAVAILABLE;
  if (edit->Focused()) {
    // A text field inside reports the focus itself.
    IcxAccessibilityHelper* inner = edit->GetInnerEditAccessibilityHelper();
    if (!inner || inner->GetHelper()->GetRole(CHILDID_SELF) == ROLE_SYSTEM_STATICTEXT) result |= STATE_SYSTEM_FOCUSED;
  }
  if (!edit->Parent() || !edit->ViewInfo() || !edit->Visible()) result |= STATE_SYSTEM_INVISIBLE;
  return result;
}

String TdxEditAccessibilityHelper::GetValue(int) { return VarToStr(Edit()->EditValue()); }

TRect TdxEditAccessibilityHelper::GetScreenBounds(int) {
  if (!Visible()) return TRect();
  TcxCustomEdit* edit = Edit();
  TRect result = edit->ViewInfo()->Bounds;
  result.Offset(edit->ClientOrigin());
  return result;
}

void TdxEditAccessibilityHelper::PerformButtonDefaultAction(int AButtonIndex) { Edit()->ClickButton(AButtonIndex); }

String TdxEditAccessibilityHelper::GetButtonAccessibleName(int) { return String(); }

// ---------------------------------------------------------------------------
// The nodes' owners

IcxAccessibilityHelper* TcxEditButtonViewInfo::GetAccessibilityHelper() {
  if (!FAccessibilityHelper) {
    auto* node = New<TdxEditButtonAccessibilityHelper>(static_cast<TObject*>(this));
    FAccessibilityHelper = TComPtr<IcxAccessibilityHelper>(static_cast<IcxAccessibilityHelper*>(node));
  }
  return FAccessibilityHelper.Get();
}

TClass TcxCustomEdit::GetAccessibilityHelperClass() { return TdxEditAccessibilityHelper::ClassInfo(); }

IcxAccessibilityHelper* TcxCustomEdit::GetAccessibilityHelper() {
  if (!FIAccessibilityHelper) {
    auto* node = NewOfClass<TcxAccessibilityHelper>(GetAccessibilityHelperClass(), static_cast<TObject*>(this));
    FIAccessibilityHelper = TComPtr<IcxAccessibilityHelper>(static_cast<IcxAccessibilityHelper*>(node));
  }
  return FIAccessibilityHelper.Get();
}

IcxAccessibilityHelper* TcxCustomEdit::GetInnerEditAccessibilityHelper() {
  return FInnerEdit ? FInnerEdit->GetIAccessibilityHelper() : nullptr;
}

void TcxCustomEdit::WMGetObject(TMessage& Message) {
  // A dying editor makes no node: its parts are being freed.
  if (!CanProvideAccessibleObject() || !IsAccessibilitySupported() || IsDestroying()) {
    InheritedMessage<TcxCustomEdit>(Message);
    return;
  }
  const auto objectID = static_cast<LONG>(Message.LParam);
  TcxAccessibilityHelper* node = GetAccessibilityHelper()->GetHelper();
  if (objectID == OBJID_CLIENT || objectID == 0) {
    Message.Result = ReturnAccessibleObject(Message.WParam, node);
    return;
  }
  if (objectID > 0 && objectID <= node->ChildCount()) {
    Message.Result = ReturnAccessibleObject(Message.WParam, node->GetChild(objectID - 1));
    return;
  }
  InheritedMessage<TcxCustomEdit>(Message);
}
