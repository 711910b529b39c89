// In-place editing: the pool of editors a host takes them from, the data an
// editor keeps per row, and activation by program, key and mouse.
#include "library/editors/edit/cxEdit.h"

#include <algorithm>

namespace {

// Every live edit list, in creation order.
std::vector<TcxInplaceEditList*>& InplaceEditLists() {
  static std::vector<TcxInplaceEditList*> lists;
  return lists;
}

}  // namespace

TClass EditClassOfProperties(TClass APropertiesClass) {
  // The editor kind is a virtual of the properties object: ask a transient one.
  TOwned<TcxCustomEditProperties> properties(
      NewOfClass<TcxCustomEditProperties>(APropertiesClass, static_cast<TPersistent*>(nullptr)));
  return properties->GetContainerClass();
}

void DisconnectFromInplaceLists(TcxCustomEditProperties* AProperties) {
  // A copy: disconnecting runs editor code, which may make or free a list.
  const std::vector<TcxInplaceEditList*> lists = InplaceEditLists();
  for (TcxInplaceEditList* list : lists)
    if (std::ranges::find(InplaceEditLists(), list) != InplaceEditLists().end()) list->DisconnectProperties(AProperties);
}

// ---------------------------------------------------------------------------
// TcxInplaceEditList

void TcxInplaceEditList::Create(TComponent* AEditorOwner) {
  inherited::Create();
  FEditorOwner = AEditorOwner;
  FFreeNotificator.reset(New<TcxFreeNotificator>(static_cast<TObject*>(this)));
  FFreeNotificator->SetOnFreeNotification(BindEvent<&TcxInplaceEditList::EditFreed>(this));
  InplaceEditLists().push_back(this);
}

void TcxInplaceEditList::Destroy() {
  auto& lists = InplaceEditLists();
  if (const auto it = std::ranges::find(lists, this); it != lists.end()) lists.erase(it);
  while (!FItems.empty()) RemoveItemAt(0);
  FFreeNotificator.reset();
  inherited::Destroy();
}

const TcxEditListItem& TcxInplaceEditList::Items(int AIndex) const {
  if (AIndex < 0 || AIndex >= Count()) dxListIndexError(AIndex);
  return FItems[static_cast<std::size_t>(AIndex)];
}

TcxCustomEdit* TcxInplaceEditList::GetEdit(TcxCustomEditProperties* AProperties) {
  TcxCustomEdit* edit = FindEdit(AProperties);
  if (!edit) {
    edit = CreateEdit(AProperties->GetContainerClass());
    FItems.back().Properties = AProperties;
  }
  InitEdit(edit, AProperties);
  return edit;
}

TcxCustomEdit* TcxInplaceEditList::GetEdit(TClass APropertiesClass) {
  return GetEditOfClass(EditClassOfProperties(APropertiesClass));
}

TcxCustomEdit* TcxInplaceEditList::GetEditOfClass(TClass AEditClass) {
  const int index = FindFreeItem(AEditClass);
  return index >= 0 ? FItems[static_cast<std::size_t>(index)].Edit : CreateEdit(AEditClass);
}

TcxCustomEdit* TcxInplaceEditList::FindEdit(TcxCustomEditProperties* AProperties) {
  const int index = FindItem(AProperties, true);
  return index >= 0 ? FItems[static_cast<std::size_t>(index)].Edit : nullptr;
}

TcxCustomEdit* TcxInplaceEditList::FindEdit(TClass APropertiesClass) {
  const int index = FindFreeItem(EditClassOfProperties(APropertiesClass));
  return index >= 0 ? FItems[static_cast<std::size_t>(index)].Edit : nullptr;
}

void TcxInplaceEditList::DisconnectProperties(TcxCustomEditProperties* AProperties) {
  const auto it = std::ranges::find(FItems, AProperties, &TcxEditListItem::Properties);
  if (it == FItems.end()) return;
  TcxCustomEdit* edit = it->Edit;
  if (!AProperties->AllowRepositorySharing()) {
    edit->LockChangeEvents(true);
    TryFinally([edit] { edit->ResetEditValue(); }, [edit] { edit->LockChangeEvents(false, false); });
  }
  // Looked up again: resetting the value ran editor code.
  const auto item = std::ranges::find(FItems, edit, &TcxEditListItem::Edit);
  if (item != FItems.end()) item->Properties = nullptr;
}

void TcxInplaceEditList::RemoveItem(TcxCustomEditProperties* AProperties) {
  const auto it = std::ranges::find(FItems, AProperties, &TcxEditListItem::Properties);
  if (it != FItems.end()) RemoveItemAt(static_cast<int>(it - FItems.begin()));
}

void TcxInplaceEditList::RemoveItem(TClass APropertiesClass) {
  const TClass editClass = EditClassOfProperties(APropertiesClass);
  for (int index = FindFreeItem(editClass); index >= 0; index = FindFreeItem(editClass)) RemoveItemAt(index);
}

int TcxInplaceEditList::FindItem(TcxCustomEditProperties* AProperties, bool AUseFreeItem) {
  const auto it = std::ranges::find(FItems, AProperties, &TcxEditListItem::Properties);
  if (it != FItems.end()) return static_cast<int>(it - FItems.begin());
  if (!AUseFreeItem) return -1;
  const int index = FindFreeItem(AProperties->GetContainerClass());
  if (index >= 0) FItems[static_cast<std::size_t>(index)].Properties = AProperties;
  return index;
}

int TcxInplaceEditList::FindFreeItem(TClass AEditClass) const {
  const auto it = std::ranges::find_if(FItems, [AEditClass](const TcxEditListItem& AItem) {
    return !AItem.Properties && AItem.Edit->ClassType() == AEditClass;
  });
  return it != FItems.end() ? static_cast<int>(it - FItems.begin()) : -1;
}

TcxCustomEdit* TcxInplaceEditList::CreateEdit(TClass AEditClass) {
  TcxCustomEdit* edit = NewOfClass<TcxCustomEdit>(AEditClass, FEditorOwner, true);
  FItems.push_back({edit, nullptr});
  FFreeNotificator->AddSender(edit);
  edit->SetVisible(false);
  return edit;
}

void TcxInplaceEditList::InitEdit(TcxCustomEdit* AEdit, TcxCustomEditProperties* AProperties) {
  AEdit->LockChangeEvents(true);
  AEdit->FIsInplaceInitializing = true;
  TryFinally(
      [&] {
        AEdit->InternalProperties()->Assign(AProperties);
        if (!AProperties->AllowRepositorySharing()) AEdit->PrepareUnsharedProperties();
      },
      [AEdit] {
        AEdit->FIsInplaceInitializing = false;
        AEdit->LockChangeEvents(false, false);
      });
}

void TcxInplaceEditList::RemoveItemAt(int AIndex) {
  if (AIndex < 0) return;
  TOwned<TcxCustomEdit> edit(FItems[static_cast<std::size_t>(AIndex)].Edit);
  FItems.erase(FItems.begin() + AIndex);
  FFreeNotificator->RemoveSender(edit.get());
  edit->SetParent(nullptr);
}

// An editor freed by its owner component leaves the pool rather than being
// freed a second time by the list.
void TcxInplaceEditList::EditFreed(TComponent* AComponent) {
  const auto it = std::ranges::find(FItems, AComponent, [](const TcxEditListItem& AItem) -> TComponent* {
    return AItem.Edit;
  });
  if (it != FItems.end()) FItems.erase(it);
}

// ---------------------------------------------------------------------------
// TcxCustomEditData

void TcxCustomEditData::Create(TcxCustomEdit* AEdit) {
  inherited::Create();
  FEdit = AEdit;
  FFreeNotificator.reset(New<TcxFreeNotificator>(static_cast<TObject*>(this)));
  FFreeNotificator->SetOnFreeNotification(BindEvent<&TcxCustomEditData::EditFreed>(this));
  FFreeNotificator->AddSender(AEdit);
  Clear();
}

void TcxCustomEditData::Destroy() {
  // The editor must not go on naming data that is gone as its current data.
  if (FEdit && FEdit->FEditData == this) FEdit->FEditData = nullptr;
  FFreeNotificator.reset();
  inherited::Destroy();
}

void TcxCustomEditData::Clear() {
  FCleared = true;
  if (FEdit) FEdit->ApplyClearedEditData(this);
}

void TcxCustomEditData::EditFreed(TComponent* AComponent) {
  if (AComponent == FEdit) FEdit = nullptr;
}

// ---------------------------------------------------------------------------
// TcxCustomEdit: in-place activation

void TcxCustomEdit::CreateDblClickTimer() {
  FDblClickTimer.reset(CreateTimer(GetDoubleClickTime(), false, BindEvent<&TcxCustomEdit::DblClickTimerElapsed>(this)));
}

void TcxCustomEdit::DblClickTimerElapsed(TObject*) { FDblClickTimer->SetEnabled(false); }

void TcxCustomEdit::ApplyClearedEditData(TcxCustomEditData* AEditData) {
  if (!AEditData || AEditData != FEditData || !AEditData->FCleared) return;
  RestoreEditData();
  FEditData->FCleared = false;
}

void TcxCustomEdit::Activate(TcxCustomEditData*& AEditData, bool ANeedSetFocus) {
  if (!AEditData && GetEditDataClass()) AEditData = NewOfClass<TcxCustomEditData>(GetEditDataClass(), this);
  FEditData = AEditData;
  ApplyClearedEditData(AEditData);
  SetVisible(true);
  SyncDisplayValue();
  SetEditModified(false);
  FInplaceParams.MultiRowParent = true;
  if (HandleAllocated() && CanFocus() && ANeedSetFocus) FocusAndSelect();
}

void TcxCustomEdit::ActivateByKey(wchar_t Key, TcxCustomEditData*& AEditData) {
  HookInnerEditWindowProc();
  TryFinally(
      [&] {
        Activate(AEditData, true);
        if (ForwardsActivationKey(Key)) {
          FIsKeyPressHandled = false;
          SendEditKeyPress(this, Key);
        }
      },
      [this] { UnhookInnerEditWindowProc(); });
}

void TcxCustomEdit::ActivateByMouse(TShiftState Shift, int X, int Y, TcxCustomEditData*& AEditData) {
  Activate(AEditData, FNeedFocusOnClick);
  TPoint P(X, Y);
  if (TWinControl* host = Parent()) P = ScreenToClient(host->ClientToScreen(P));
  if (Shift.Contains(ssLeft)) {
    SendMouseMessage(this, WM_MOUSEMOVE, TShiftState(), P);
    SendMouseMessage(this, WM_LBUTTONDOWN, Shift, P);
    // The button went up before the editor existed: nothing will release the capture.
    if (GetCaptureControl() == this && !KeyboardStateToShiftState().Contains(ssLeft)) SetCaptureControl(nullptr);
  } else {
    SendMouseMessage(this, WM_LBUTTONUP, Shift, P);
  }
  FDblClickTimer->SetEnabled(true);
}

bool TcxCustomEdit::Deactivate() {
  FDblClickTimer->SetEnabled(false);
  FUserActionCount = 0;
  const bool result = ValidateByOptions(false);
  if (result) {
    SyncDisplayValue();
    FIsEditValidated = true;
  }
  return result;
}
