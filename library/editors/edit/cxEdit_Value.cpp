// TcxCustomEdit: the edit value, its change events and their locks, the
// modified flags, user actions, the editing permission and posting.
#include "library/core/data/cxVariants.h"
#include "library/editors/edit/cxEditRepositoryItems.h"
#include "library/editors/edit/cxEdit_Internal.h"

// ---------------------------------------------------------------------------
// TcxEditChangeEventsCatcher

void TcxEditChangeEventsCatcher::Lock(bool ALock, bool AInvokeChangedOnUnlock) {
  if (ALock) {
    if (FLockCount == 0) {
      FOnChangeEvent = false;
      FOnEditValueChangedEvent = false;
    }
    ++FLockCount;
    return;
  }
  if (FLockCount == 0) return;
  if (--FLockCount > 0 || !AInvokeChangedOnUnlock) return;
  if (FEdit->IsLoading() || FEdit->IsDestroying()) return;
  // Each event once, OnChange first, without the in-place flag juggling.
  if (FOnChangeEvent && FEdit->HasChangeHandlers()) {
    FOnChangeEvent = false;
    FEdit->FireChange();
  }
  if (FOnEditValueChangedEvent && FEdit->HasEditValueChangedHandlers()) {
    FOnEditValueChangedEvent = false;
    FEdit->FireEditValueChanged();
  }
}

// ---------------------------------------------------------------------------
// Writing the value

Variant TcxCustomEdit::EditingValue() { return GetEditingValue(); }

Variant TcxCustomEdit::GetEditingValue() {
  Variant value;
  if (Focused() && !FIsEditValidated && FModifiedAfterEnter)
    GetValueWhileEditing(value);
  else
    value = EditValue();
  return value;
}

void TcxCustomEdit::WriteEditValue(const Variant& AValue) {
  if (FEditValueChangingLockCount > 0) return;
  LockClick(true);
  TryFinally(
      [&] {
        if (IsUserAction() && !DoEditing()) return;
        ApplyEditValue(AValue);
      },
      [this] { LockClick(false); });
}

void TcxCustomEdit::WriteInternalEditValue(const Variant& AValue) {
  if (FEditValueChangingLockCount > 0) return;
  if (IsUserAction() && !DoEditing()) return;
  ApplyEditValue(AValue);
}

void TcxCustomEdit::ApplyEditValue(const Variant& AValue) {
  if (IsUserAction() && !DoEditing()) return;
  TcxCustomEditProperties* properties = ActiveProperties();
  const bool changed = properties->CanCompareEditValue() && !EditValuesEqual(AValue, FEditValue);
  StoreEditValue(AValue);
  SyncDisplayValue();
  if (IsUserAction())
    SetModifiedAfterEnter(true);
  else
    SetEditModified(false);
  if (!changed) return;
  EditValueChanged();
  if (!ActiveProperties()->HasOwnChangeNotification()) NotifyChange();
}

void TcxCustomEdit::Clear() {
  Variant empty;
  GetEmptyValue(empty);
  SetEditValue(empty);
}

void TcxCustomEdit::Reset() { FDataBinding->RevertEditor(); }

void TcxCustomEdit::SetValidatableEditValue(const Variant& AValue) {
  BeginUserAction();
  TryFinally([&] { SetEditValue(AValue); }, [this] { EndUserAction(); });
}

// ---------------------------------------------------------------------------
// Change events

bool TcxCustomEdit::HasEditEvent(bool (*AAssigned)(TcxCustomEditProperties*)) {
  return AAssigned(FProperties.get()) || (FRepositoryItem && AAssigned(ActiveProperties()));
}

bool TcxCustomEdit::HasChangeHandlers() {
  return HasEditEvent([](TcxCustomEditProperties* P) { return static_cast<bool>(P->OnChange()); });
}

bool TcxCustomEdit::HasEditValueChangedHandlers() {
  return HasEditEvent([](TcxCustomEditProperties* P) { return static_cast<bool>(P->OnEditValueChanged()); });
}

bool TcxCustomEdit::HasValidateHandlers() {
  return HasEditEvent([](TcxCustomEditProperties* P) { return static_cast<bool>(P->OnValidate()); });
}

// Own properties first, then the repository item's.
void TcxCustomEdit::CallEditEvents(TNotifyEvent (TcxCustomEditProperties::*AEvent)() const) {
  DisableUserAction();
  TryFinally(
      [&] {
        CallNotifyEvent((FProperties.get()->*AEvent)(), this);
        if (FRepositoryItem) CallNotifyEvent((ActiveProperties()->*AEvent)(), this);
      },
      [this] { EnableUserAction(); });
}

void TcxCustomEdit::DoAfterKeyDown(WORD& Key, TShiftState Shift) {
  if (!FOnAfterKeyDown) return;
  DisableUserAction();
  TryFinally([&] { FOnAfterKeyDown(this, Key, Shift); }, [this] { EnableUserAction(); });
}

void TcxCustomEdit::ClickButton(int AIndex) {
  TcxCustomEditViewInfo* info = ViewInfo();
  if (!info || AIndex < 0 || AIndex >= static_cast<int>(info->ButtonsInfo.size())) return;
  const int buttonIndex = info->ButtonsInfo[AIndex]->ButtonIndex;
  TActionLink* link = info->ButtonsInfo[AIndex]->Data.ActionLink;
  DisableUserAction();
  TryFinally(
      [&] {
        if (link) link->Execute(this);
        if (auto handler = FProperties->OnButtonClick()) handler(this, buttonIndex);
        if (FRepositoryItem)
          if (auto handler = ActiveProperties()->OnButtonClick()) handler(this, buttonIndex);
      },
      [this] { EnableUserAction(); });
}

void TcxCustomEdit::FireChange() { CallEditEvents(&TcxCustomEditProperties::OnChange); }

void TcxCustomEdit::FireEditValueChanged() { CallEditEvents(&TcxCustomEditProperties::OnEditValueChanged); }

// An in-place editor's handlers see the value as modified; its own flags come back afterwards.
void TcxCustomEdit::InvokeEditValueChangedWithModifiedFlags(void (TcxCustomEdit::*AFire)()) {
  if (!IsInplace()) {
    (this->*AFire)();
    return;
  }
  PushModifiedState();
  FModified = true;
  FModifiedAfterEnter = true;
  TryFinally([&] { (this->*AFire)(); }, [this] { PopModifiedState(); });
}

void TcxCustomEdit::EditValueChanged() {
  if (IsLoading() || IsDestroying() || !HasEditValueChangedHandlers()) return;
  if (AreChangeEventsLocked()) {
    FChangeEventsCatcher->SetOnEditValueChangedEvent(true);
    return;
  }
  InvokeEditValueChangedWithModifiedFlags(&TcxCustomEdit::FireEditValueChanged);
}

void TcxCustomEdit::NotifyChange() {
  if (IsLoading() || IsDestroying()) return;
  if (HasChangeHandlers()) {
    if (AreChangeEventsLocked())
      FChangeEventsCatcher->SetOnChangeEvent(true);
    else
      InvokeEditValueChangedWithModifiedFlags(&TcxCustomEdit::FireChange);
  }
  TcxCustomEditProperties* properties = ActiveProperties();
  if (!properties->HasOwnChangeNotification() && !properties->CanCompareEditValue()) EditValueChanged();
}

void TcxCustomEdit::HandleContentChanged() {
  if (Focused())
    SetModifiedAfterEnter(true);
  else if (!ActiveProperties()->IsChanging())
    FDataBinding->SetModified();
  NotifyChange();
}

// ---------------------------------------------------------------------------
// Locks

void TcxCustomEdit::LockChangeEvents(bool ALock, bool AInvokeChangedOnUnlock) {
  FChangeEventsCatcher->Lock(ALock, AInvokeChangedOnUnlock);
}

void TcxCustomEdit::LockClick(bool ALock) {
  if (ALock)
    ++FClickLockCount;
  else if (FClickLockCount > 0)
    --FClickLockCount;
}

void TcxCustomEdit::LockEditValueChanging(bool ALock) {
  if (ALock)
    ++FEditValueChangingLockCount;
  else if (FEditValueChangingLockCount > 0)
    --FEditValueChangingLockCount;
}

void TcxCustomEdit::Click() {
  if (IsDestroying() || FClickLockCount != 0 || (IsLoading() && !CanClickWhileLoading())) return;
  inherited::Click();
}

void TcxCustomEdit::EnableUserAction() {
  if (FUserActionDisabledCount <= 0) throw EInvalidOperation(L"TcxCustomEdit.EnableUserAction fails");
  --FUserActionDisabledCount;
}

// ---------------------------------------------------------------------------
// Modified flags

void TcxCustomEdit::SetEditModified(bool AValue) {
  FModified = AValue;
  if (!AValue) FModifiedAfterEnter = false;
}

void TcxCustomEdit::SetModifiedAfterEnter(bool AValue) {
  FModifiedAfterEnter = AValue;
  if (AValue) {
    FIsEditValidated = false;
    FModified = true;
  }
}

void TcxCustomEdit::PushModifiedState() { FPrevModifiedList.push_back({FModified, FModifiedAfterEnter}); }

void TcxCustomEdit::PopModifiedState() {
  const TcxEditModifiedState state = FPrevModifiedList.back();
  FPrevModifiedList.pop_back();
  FModified = state.Modified;
  FModifiedAfterEnter = state.ModifiedAfterEnter;
}

void TcxCustomEdit::SetModifiedAndClick() {
  SetModifiedAfterEnter(true);
  if (FClickLockCount == 0) Click();
}

void TcxCustomEdit::SetTextPreservingModified(const String& AText) {
  PushModifiedState();
  TryFinally([&] { SetDisplayText(AText); }, [this] { PopModifiedState(); });
}

// ---------------------------------------------------------------------------
// The editing permission

bool TcxCustomEdit::IsEditingAllowed() {
  TcxCustomEditProperties* properties = ActiveProperties();
  if (IsInplace()) return properties->AllowsInplaceEditing();
  if (properties->IsReadOnlyAssigned()) return !properties->ReadOnly();
  TcxCustomEditDefaultValuesProvider* provider = FDataBinding->DefaultValuesProvider();
  return provider->DefaultCanModify() && provider->CanSetEditMode();
}

bool TcxCustomEdit::DoEditing() {
  if (!CanModify()) return false;
  if (FDataBinding->Modified()) return true;
  bool result = !IsUserAction() || IsEditingAllowed();
  if (!result) return false;
  FEditModeSetting = true;
  TryFinally(
      [&] {
        if (IsInplace()) {
          // A value written by the handler is ignored.
          LockEditValueChanging(true);
          TryFinally([&] { CallEvent(FOnEditing, this, result); }, [this] { LockEditValueChanging(false); });
          return;
        }
        const bool editing = FDataBinding->Editing();
        LockEditValueChanging(true);
        TryFinally([&] { CallEvent(FOnEditing, this, result); }, [this] { LockEditValueChanging(false); });
        if (!result) return;
        if (editing) {
          FDataBinding->SetModified();
        } else {
          LockEditValueChanging(true);
          TryFinally([&] { result = FDataBinding->EnterEditMode(); }, [this] { LockEditValueChanging(false); });
        }
      },
      [this] { FEditModeSetting = false; });
  return result;
}

// ---------------------------------------------------------------------------
// Posting

bool TcxCustomEdit::CanPostEditValue() { return !IsDesigning() && FDataBinding->CanPostEditorValue(); }

void TcxCustomEdit::PostEditValue() {
  if (CanPostEditValue()) {
    PostValueCore(true);
    return;
  }
  if (!Focused() || !DoEditing()) return;
  SetModifiedAfterEnter(true);
  FIsEditValidated = true;
  TryFinally([this] { PostValueCore(false); }, [this] { SetModifiedAfterEnter(false); });
}

bool TcxCustomEdit::PostValueCore(bool AValidate) {
  if (AValidate) {
    DisableUserAction();
    const bool valid = TryFinally([this] { return ValidateByOptions(false); }, [this] { EnableUserAction(); });
    if (!valid) return false;
  }
  try {
    BeginPosting();
    TryFinally(
        [&] {
          if (IsInplace()) {
            if (!AValidate) ++FLockValidate;
            TryFinally(
                [this] {
                  DisableUserAction();
                  TryFinally([this] { CallEvent(FOnPostEditValue, this); }, [this] { EnableUserAction(); });
                },
                [&] {
                  if (!AValidate) --FLockValidate;
                });
            SetEditModified(false);
          } else if (FDataBinding->Modified()) {
            PushModifiedState();
            TryFinally([this] { FDataBinding->SetStoredValue(EditValue()); }, [this] { PopModifiedState(); });
          }
        },
        [this] { EndPosting(); });
  } catch (...) {
    // In place, the grid that hosts the editor reports its own errors.
    if (!ReportsPostErrors()) return false;
    ReportValidationError(String(), ActiveProperties()->ValidationOptions(), false);
    throw;
  }
  return true;
}
