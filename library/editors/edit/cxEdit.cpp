// TcxCustomEdit: creation, destruction, the link to a repository item and the
// chain from a settings change to the screen; the data binding.
#include "library/editors/edit/cxEdit.h"

#include "library/editors/edit/cxEditConsts.h"
#include "library/editors/edit/cxEditRepositoryItems.h"
#include "library/editors/edit/cxEdit_Internal.h"
#include "library/lookandfeel/animation/dxFading.h"

// ---------------------------------------------------------------------------
// TcxEditDataBinding

void TcxEditDataBinding::Create(TcxCustomEdit* AEdit) {
  FEdit = AEdit;
  FDefaultValuesProvider.reset(
      NewOfClass<TcxCustomEditDefaultValuesProvider>(GetDefaultValuesProviderClass(), static_cast<TPersistent*>(nullptr)));
}

void TcxEditDataBinding::Destroy() {
  FDefaultValuesProvider.reset();
  inherited::Destroy();
}

TPersistent* TcxEditDataBinding::GetOwner() { return FEdit; }

void TcxEditDataBinding::DefaultValuesChanged() {
  TcxCustomEditProperties* properties = FEdit->ActiveProperties();
  if (!FEdit->RepositoryItem()) {
    properties->Changed();
    return;
  }
  // The item is shared: only this editor refreshes.
  properties->BeginUpdate();
  properties->Changed();
  properties->EndUpdate(false);
  FEdit->PropertiesChanged(properties);
}

Variant TcxEditDataBinding::GetDisplayValue() {
  String text;
  FEdit->GetDisplayString(text);
  return Variant(text);
}

void TcxEditDataBinding::SetDisplayValue(const Variant& AValue) { FEdit->ApplyDisplayValue(AValue); }
bool TcxEditDataBinding::Editing() { return FEdit->ModifiedAfterEnter(); }
bool TcxEditDataBinding::Modified() { return FEdit->ModifiedAfterEnter(); }
Variant TcxEditDataBinding::GetStoredValue() { return FEdit->EditValue(); }
void TcxEditDataBinding::RevertEditor() { FEdit->RevertEditValue(); }

bool TcxEditDataBinding::EnterEditMode() {
  FEdit->SetModifiedAfterEnter(true);
  return true;
}

bool TcxEditDataBinding::CanCheckEditorValue() {
  return FEdit->IsDesigning() || !FEdit->ModifiedAfterEnter();
}

void TcxEditDataBinding::SetModified() {
  if (FEdit->Focused()) FEdit->SetModifiedAfterEnter(true);
}

void TcxEditDataBinding::UpdateDisplayValue() { FEdit->SyncDisplayValue(); }

// ---------------------------------------------------------------------------
// TcxCustomEdit: creation and destruction

void TcxCustomEdit::Publish(TPublisher<TcxCustomEdit>& P) {
  P.Property(L"PropertiesEvents", &TcxCustomEdit::PropertiesEvents, &TcxCustomEdit::SetPropertiesEvents);
  P.Property(L"RepositoryItem", &TcxCustomEdit::RepositoryItem, &TcxCustomEdit::SetRepositoryItem);
  P.Property(L"EditValue", &TcxCustomEdit::EditValue, &TcxCustomEdit::SetEditValue)
      .Stored(&TcxCustomEdit::IsEditValueStored);
  P.Property(L"Style", &TcxCustomEdit::Style, &TcxCustomEdit::SetStyle);
  P.Property(L"StyleDisabled", &TcxCustomEdit::StyleDisabled, &TcxCustomEdit::SetStyleDisabled);
  P.Property(L"StyleFocused", &TcxCustomEdit::StyleFocused, &TcxCustomEdit::SetStyleFocused);
  P.Property(L"StyleHot", &TcxCustomEdit::StyleHot, &TcxCustomEdit::SetStyleHot);
  PublishInputMessages(P);
  P.Message<&TcxCustomEdit::WMGetObject>(WM_GETOBJECT);
  P.Property(L"AutoSize", &TcxCustomEdit::AutoSize, &TcxCustomEdit::SetAutoSize).Default(true);
  // DefineProperties writes them where the content does not decide them.
  P.Property(L"Height", &TcxCustomEdit::Height, &TcxCustomEdit::SetHeight).Stored(false);
  P.Property(L"Width", &TcxCustomEdit::Width, &TcxCustomEdit::SetWidth).Stored(false);
}

void TcxCustomEdit::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  SetControlStyle(ControlStyle() + TControlStyle{csActionClient});
  FIsCreatingEdit = true;
  FNeedFocusOnClick = true;
  InitializeEdit();
  FIsCreatingEdit = false;
  if (HandleAllocated()) ShortRefreshContainer(false);
}

void TcxCustomEdit::Create(TComponent* AOwner, bool AIsInplace) {
  FIsInplace = AIsInplace;
  Create(AOwner);
}

void TcxCustomEdit::InitializeEdit() {
  FChangeEventsCatcher.reset(New<TcxEditChangeEventsCatcher>(this));
  FProperties.reset(NewOfClass<TcxCustomEditProperties>(GetPropertiesClass(), static_cast<TPersistent*>(this)));
  RecreateViewInfo();
  SetControlStyle(ControlStyle() + TControlStyle{csCaptureMouse, csSetCaption, csReplicatable});
  SetTabStop(true);
  if (IcxCustomInnerEdit* inner = CreateInnerEdit()) {
    FInnerEdit = inner;
    SetInnerControl(inner->GetControl());
    InitializeInnerEdit();
  }
  FDataBinding.reset(NewOfClass<TcxEditDataBinding>(GetDataBindingClass(), this));
  FEditValue = Variant::NullValue();
  FLockValidate = 0;
  ConnectOwnProperties();
  CreateDblClickTimer();
  if (IsInplace()) SetKeys(Keys() + (HasInnerEdit() ? TcxKeys{kAll, kArrows} : TcxKeys{kAll, kArrows, kTab}));
  if (!IsInplace()) FProperties->SetDefaultValuesProvider(FDataBinding->DefaultValuesProvider());
  ViewInfo()->SetEdit(this);
  FIsJustCreated = true;
  FAutoWidth = !IsInplace();
  FAutoHeight = !IsInplace();
  FillContentParams();
}

// The window goes first: destroying it sends messages (the focus loss, child
// notifications, accessibility queries) that must still find the properties,
// the binding and the catcher alive. Only then is what the editor owns freed.
void TcxCustomEdit::Destroy() {
  if (FProperties) {
    if (HandleAllocated()) DestroyHandle();
    if (TdxFader* fader = GetFader()) fader->Remove(this, true);
    if (FRepositoryItem) FRepositoryItem->RemoveListener(this);
    FRepositoryItem = nullptr;
    DisconnectOwnProperties();
    if (!IsInplace()) FProperties->SetDefaultValuesProvider(nullptr);
  }
  FDblClickTimer.reset();
  NotifyAccessibilityHelperRemoved(FIAccessibilityHelper);
  UnhookInnerEditWindowProc();
  FInnerEdit = nullptr;
  FDataBinding.reset();
  FPrevModifiedList.clear();
  FProperties.reset();
  FChangeEventsCatcher.reset();
  inherited::Destroy();
}

bool TcxCustomEdit::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IcxEditRepositoryItemListener, IdxFadingObject>(this, AIID, AObj) ||
         inherited::GetInterface(AIID, AObj);
}

// ---------------------------------------------------------------------------
// Properties in force and the repository item

TcxCustomEditProperties* TcxCustomEdit::ActiveProperties() {
  if (!FRepositoryItem) return FProperties.get();
  TcxCustomEditProperties* properties = FRepositoryItem->Properties();
  // A shared item answers to the last editor that read it.
  properties->FDefaultValuesProvider = FDataBinding->DefaultValuesProvider();
  return properties;
}

bool TcxCustomEdit::IsRepositoryItemAcceptable(TcxEditRepositoryItem* AItem) {
  return !AItem || AItem->ArePropertiesCompatible(GetPropertiesClass());
}

void TcxCustomEdit::SetRepositoryItem(TcxEditRepositoryItem* AValue) {
  if (AValue == FRepositoryItem) return;
  if (!IsRepositoryItemAcceptable(AValue)) throw EcxEditError(LoadLocalizedResString(&cxSEditInvalidRepositoryItem));
  BeforeRepositoryItemChange();
  if (FRepositoryItem) {
    FRepositoryItem->RemoveListener(this);
    FRepositoryItem->RemoveFreeNotification(this);
  }
  FRepositoryItem = AValue;
  if (FRepositoryItem) {
    FRepositoryItem->AddListener(this);
    FRepositoryItem->FreeNotification(this);
    FProperties->FDefaultValuesProvider = nullptr;
    RepositoryItemPropertiesChanged(FRepositoryItem);
    DisconnectOwnProperties();
  } else {
    if (!IsLoading() && !IsDestroying()) ConnectOwnProperties();
    FProperties->SetDefaultValuesProvider(FDataBinding->DefaultValuesProvider());
  }
  AfterRepositoryItemChange();
}

void TcxCustomEdit::RepositoryItemRemoved(TcxEditRepositoryItem*) { SetRepositoryItem(nullptr); }

void TcxCustomEdit::RepositoryItemPropertiesChanged(TcxEditRepositoryItem* AItem) {
  if (!IsLoading() && !IsDestroying()) PropertiesChanged(AItem->Properties());
}

void TcxCustomEdit::Notification(TComponent* AComponent, TOperation AOperation) {
  inherited::Notification(AComponent, AOperation);
  if (AOperation == opRemove && AComponent == FRepositoryItem) SetRepositoryItem(nullptr);
}

// ---------------------------------------------------------------------------
// Settings reaching the screen

void TcxCustomEdit::PropertiesChanged(TObject*) {
  FIsEditValidated = false;
  UpdateInnerEditReadOnly();
  if (FModifiedAfterEnter && IsEditReadOnly()) FModifiedAfterEnter = false;
  // A False value leaves the control as it is.
  if (ActiveProperties()->Transparent()) SetTransparent(true);
  ShortRefreshContainer(false);
}

bool TcxCustomEdit::IsEditReadOnly() { return ActiveProperties()->ReadOnly() || !FDataBinding->CanModify(); }

bool TcxCustomEdit::IsReadOnlyState() { return ActiveProperties()->ReadOnly(); }

void TcxCustomEdit::ReadState(TReader* Reader) {
  // The stored settings arrive one by one; PropertiesChanged runs once, from Loaded.
  DisconnectOwnProperties();
  inherited::ReadState(Reader);
}

void TcxCustomEdit::Loaded() {
  // The first anchored layout keeps the anchors read from the file.
  FIsFirstSetSize = true;
  inherited::Loaded();
  LockChangeEvents(true);
  LockClick(true);
  TryFinally(
      [this] {
        FDataBinding->UpdateNotConnectedDBEditDisplayValue();
        ShortRefreshContainer(false);
        if (!FRepositoryItem) ConnectOwnProperties();
        PropertiesChanged(ActiveProperties());
      },
      [this] {
        LockClick(false);
        LockChangeEvents(false, false);
      });
}

void TcxCustomEdit::SetParent(TWinControl* AValue) {
  if (AValue && FIsJustCreated) {
    FIsJustCreated = false;
    // An edit list initialising the editor sets its display itself.
    if (!FIsInplaceInitializing) {
      FDataBinding->UpdateNotConnectedDBEditDisplayValue();
      PropertiesChanged(FProperties.get());
      FDataBinding->UpdateDisplayValue();
    }
  }
  inherited::SetParent(AValue);
}
