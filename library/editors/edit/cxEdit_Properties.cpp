// TcxCustomEditProperties and its assigned-values flags.
#include "library/core/data/cxVariants.h"
#include "library/editors/edit/cxEditConsts.h"
#include "library/editors/edit/cxEdit_Internal.h"
#include "library/graphics/canvas/cxGraphics.h"

#include "platform/ui/Menus.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// TcxCustomEditPropertiesValues

void TcxCustomEditPropertiesValues::Assign(TPersistent* ASource) {
  if (auto* source = dynamic_cast<TcxCustomEditPropertiesValues*>(ASource)) {
    FOwner->UpdateBracket([&] {
      SetMaxValue(source->FMaxValue);
      SetMinValue(source->FMinValue);
      SetReadOnly(source->FReadOnly);
    });
    return;
  }
  inherited::Assign(ASource);
}

void TcxCustomEditPropertiesValues::RestoreDefaults() {
  FOwner->UpdateBracket([this] {
    SetMaxValue(false);
    SetMinValue(false);
    SetReadOnly(false);
  });
}

TPersistent* TcxCustomEditPropertiesValues::GetOwner() { return FOwner; }

void TcxCustomEditPropertiesValues::SetFlag(bool& AFlag, bool AValue) {
  if (AFlag == AValue) return;
  AFlag = AValue;
  FOwner->Changed();
}

// ---------------------------------------------------------------------------
// TcxCustomEditDefaultValuesProvider

void TcxCustomEditDefaultValuesProvider::Destroy() {
  ClearUsers();
  inherited::Destroy();
}

void TcxCustomEditDefaultValuesProvider::ClearUsers() {
  // A copy: a user may leave the list while it drops the provider.
  const std::vector<TcxCustomEditProperties*> users = EditPropertiesList();
  for (TcxCustomEditProperties* properties : users)
    if (properties->DefaultValuesProvider() == this) properties->DefaultValuesProviderDestroyed();
}

// ---------------------------------------------------------------------------
// TcxCustomEditProperties

void TcxCustomEditProperties::Create(TPersistent* AOwner) {
  inherited::Create(AOwner);
  MutableEditPropertiesList().push_back(this);
  FAlignment.reset(New<TcxEditAlignment>(static_cast<TPersistent*>(this), taLeftJustify, DefaultVertAlignment()));
  FAlignment->SetOnChanged(BindEvent<&TcxCustomEditProperties::AlignmentChanged>(this));
  FAssignedValues.reset(NewOfClass<TcxCustomEditPropertiesValues>(GetPropertiesValuesClass(), this));
  FAutoSelect = true;
  FButtonsViewStyle = bvsNormal;
  FButtons.reset(NewOfClass<TcxEditButtons>(GetButtonsClass(), static_cast<TPersistent*>(this),
                                            TcxEditButtons::GetButtonClass()));
  FButtons->SetOnChange(BindEvent<&TcxCustomEditProperties::ButtonsChanged>(this));
  FClickKey = static_cast<TShortCut>(scCtrl | VK_RETURN);
  FUseLeftAlignmentOnEditing = true;
  FUseMouseWheel = true;
  FImageChangeLink.reset(New<TChangeLink>());
  FImageChangeLink->SetOnChange(BindEvent<&TcxCustomEditProperties::ImageListChanged>(this));
  FInnerAlignment.reset(New<TcxEditAlignment>(static_cast<TPersistent*>(this), taLeftJustify, DefaultVertAlignment()));
  FValidationErrorIconAlignment = taLeftJustify;
  FValidationOptions = {evoRaiseException};
  FInternalValidationOptions = FValidationOptions;
  FErrorIcon.reset(New<TdxSmartImage>());
  FErrorIcon->SetOnChange(BindEvent<&TcxCustomEditProperties::ErrorIconChanged>(this));
}

void TcxCustomEditProperties::Destroy() {
  // No pooled editor may keep properties that are gone.
  DisconnectFromInplaceLists(this);
  FErrorIcon.reset();
  FDefaultValuesProvider = nullptr;
  FButtons.reset();
  FInnerAlignment.reset();
  FAssignedValues.reset();
  FAlignment.reset();
  // The link unregisters from the list and the notificator leaves it: a list
  // that outlives the properties calls neither again.
  if (FImages && FFreeNotificator) FImages->RemoveFreeNotification(FFreeNotificator.get());
  FFreeNotificator.reset();
  FImageChangeLink.reset();
  auto& list = MutableEditPropertiesList();
  if (const auto it = std::find(list.begin(), list.end(), this); it != list.end()) list.erase(it);
  inherited::Destroy();
}

void TcxCustomEditProperties::Assign(TPersistent* ASource) {
  if (auto* source = dynamic_cast<TcxCustomEditProperties*>(ASource)) {
    UpdateBracket([&] { CopyFrom(source); });
    return;
  }
  inherited::Assign(ASource);
}

void TcxCustomEditProperties::BeginUpdate() {
  if (FUpdateCount == 0) FChangedOccurred = false;
  ++FUpdateCount;
}

void TcxCustomEditProperties::EndUpdate(bool AInvokeChanged) {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0 && AInvokeChanged && FChangedOccurred) Changed();
}

void TcxCustomEditProperties::Changed() {
  if (ChangedLocked() || IsOwnerDestroying()) {
    FChangedOccurred = true;
    return;
  }
  NotifyPropertiesChanged();
}

void TcxCustomEditProperties::NotifyPropertiesChanged() {
  if (!FOnPropertiesChanged) return;
  ++FIsChangingCount;
  const TScopeExit done([this] { --FIsChangingCount; });
  FOnPropertiesChanged(this);
}

bool TcxCustomEditProperties::IsOwnerDestroying() {
  auto* owner = dynamic_cast<TComponent*>(Owner());
  return owner && owner->ComponentState().Contains(csDestroying);
}

bool TcxCustomEditProperties::IsOwnerWriting() {
  TComponent* owner = GetPropertiesOwnerComponent(this);
  return owner && owner->ComponentState().Contains(csWriting);
}

bool TcxCustomEditProperties::IsOwnerDesigning() {
  auto* owner = dynamic_cast<TComponent*>(Owner());
  return owner && owner->ComponentState().Contains(csDesigning);
}

void TcxCustomEditProperties::Update(TcxCustomEditProperties* AProperties) {
  if (AProperties && AProperties != this && AProperties->InheritsFrom(ClassType())) DoUpdate(AProperties);
}

// ---------------------------------------------------------------------------
// Alignment, error icon and images

TcxEditAlignment* TcxCustomEditProperties::Alignment() {
  const TNotifyEvent handler = FAlignment->OnChanged();
  FAlignment->SetOnChanged(TNotifyEvent());
  const TScopeExit reattach([&] { FAlignment->SetOnChanged(handler); });
  FAlignment->Assign(FInnerAlignment.get());
  // A form being written gets exactly the stored alignment, no default in it.
  if (IsAlignmentStored() && IsOwnerWriting()) return FAlignment.get();
  if (!FInnerAlignment->IsHorzStored()) {
    FAlignment->SetHorz(DefaultHorzAlignment());
    // Shown, not assigned: a later write of this very value must still count.
    FAlignment->Reset();
  }
  return FAlignment.get();
}

void TcxCustomEditProperties::SetAlignment(TcxEditAlignment* AValue) {
  FInnerAlignment->Assign(AValue);
  Changed();
}

void TcxCustomEditProperties::AlignmentChanged(TObject*) {
  // An unassigned horizontal value in the public object is the default it
  // shows, not a setting: taking it over would pin it (a Vert write would
  // store the provider's default).
  const TAlignment horz = FInnerAlignment->Horz();
  FInnerAlignment->Assign(FAlignment.get());
  if (!FAlignment->IsHorzAssigned()) {
    FInnerAlignment->SetHorz(horz);
    FInnerAlignment->Reset();
  }
  Changed();
}

TAlignment TcxCustomEditProperties::DefaultHorzAlignment() {
  return FDefaultValuesProvider ? FDefaultValuesProvider->DefaultAlignment() : FAlignment->Horz();
}

void TcxCustomEditProperties::SetErrorIcon(TdxSmartImage* AValue) {
  const bool same = AValue ? (AValue->Empty() && FErrorIcon->Empty()) || CompareGraphics(FErrorIcon.get(), AValue)
                           : FErrorIcon->Empty();
  if (same) return;
  // Copying may report the picture's change more than once.
  UpdateBracket([&] { FErrorIcon->Assign(AValue); });
}

void TcxCustomEditProperties::SetImages(TCustomImageList* AValue) {
  if (AValue == FImages) return;
  if (!FFreeNotificator) {
    FFreeNotificator.reset(New<TcxFreeNotificator>(static_cast<TObject*>(this)));
    FFreeNotificator->SetOnFreeNotification(BindEvent<&TcxCustomEditProperties::HandleFreeNotification>(this));
  }
  // The link reports the new list's change, but nothing when the list goes:
  // one change either way.
  UpdateBracket([&] {
    FButtons->SetImages(AValue);
    SetImageListLink(AValue, FImages, FImageChangeLink.get(), FFreeNotificator.get());
    Changed();
  });
}

void TcxCustomEditProperties::ImageListChanged(TObject* Sender) {
  if (Sender == FImages) Changed();
}

void TcxCustomEditProperties::HandleFreeNotification(TComponent* AComponent) {
  if (AComponent && AComponent == FImages) SetImages(nullptr);
}

void TcxCustomEditProperties::SetDefaultValuesProvider(TcxCustomEditDefaultValuesProvider* AValue) {
  FDefaultValuesProvider = AValue;
  if (dynamic_cast<TcxCustomEdit*>(Owner())) Changed();
}

bool TcxCustomEditProperties::ReadOnly() const {
  if (FAssignedValues->ReadOnly()) return FReadOnly;
  return FDefaultValuesProvider && FDefaultValuesProvider->DefaultReadOnly();
}

void TcxCustomEditProperties::SetReadOnly(bool AValue) {
  if (FAssignedValues->ReadOnly() && FReadOnly == AValue) return;
  UpdateBracket([&] {
    FReadOnly = AValue;
    FAssignedValues->SetReadOnly(true);
    Changed();
  });
}

double TcxCustomEditProperties::GetMaxValue() {
  double value = 0;
  if (FAssignedValues->MaxValue()) return FMaxValue;
  if (FDefaultValuesProvider && FDefaultValuesProvider->DefaultMaxValue(value)) return value;
  return 0;
}

double TcxCustomEditProperties::GetMinValue() {
  double value = 0;
  if (FAssignedValues->MinValue()) return FMinValue;
  if (FDefaultValuesProvider && FDefaultValuesProvider->DefaultMinValue(value)) return value;
  return 0;
}

void TcxCustomEditProperties::SetMaxValue(double AValue) {
  if (FAssignedValues->MaxValue() && FMaxValue == AValue) return;
  UpdateBracket([&] {
    FMaxValue = AValue;
    FAssignedValues->SetMaxValue(true);
    Changed();
  });
}

void TcxCustomEditProperties::SetMinValue(double AValue) {
  if (FAssignedValues->MinValue() && FMinValue == AValue) return;
  UpdateBracket([&] {
    FMinValue = AValue;
    FAssignedValues->SetMinValue(true);
    Changed();
  });
}

void TcxCustomEditProperties::SetMinMaxValues(double AMax, double AMin) {
  if (FAssignedValues->MaxValue() && FAssignedValues->MinValue() && FMaxValue == AMax && FMinValue == AMin) return;
  UpdateBracket([&] {
    SetMaxValue(AMax);
    SetMinValue(AMin);
  });
}

void TcxCustomEditProperties::SetValidationOptions(TcxEditValidationOptions AValue) {
  FInternalValidationOptions = AValue;
  SetField(FValidationOptions, AValue);
}

void TcxCustomEditProperties::CopyFrom(TcxCustomEditProperties* ASource) {
  SetImages(ASource->Images());
  SetAutoSelect(ASource->AutoSelect());
  SetButtonsViewStyle(ASource->ButtonsViewStyle());
  SetButtons(ASource->Buttons());
  SetBeepOnError(ASource->BeepOnError());
  SetClearKey(ASource->ClearKey());
  SetClickKey(ASource->ClickKey());
  SetUseLeftAlignmentOnEditing(ASource->UseLeftAlignmentOnEditing());
  SetDefaultValuesProvider(ASource->DefaultValuesProvider());
  const TcxEditAlignment* alignment = ASource->FInnerAlignment.get();
  if (alignment->Horz() != FInnerAlignment->Horz() || alignment->Vert() != FInnerAlignment->Vert() ||
      alignment->IsHorzAssigned() != FInnerAlignment->IsHorzAssigned())
    SetAlignment(ASource->FInnerAlignment.get());
  FAssignedValues->SetMaxValue(false);
  if (ASource->AssignedValues()->MaxValue()) SetMaxValue(ASource->MaxValue());
  FAssignedValues->SetMinValue(false);
  if (ASource->AssignedValues()->MinValue()) SetMinValue(ASource->MinValue());
  FAssignedValues->SetReadOnly(false);
  if (ASource->AssignedValues()->ReadOnly()) SetReadOnly(ASource->ReadOnly());
  SetImmediatePost(ASource->ImmediatePost());
  SetTransparent(ASource->Transparent());
  SetUseMouseWheel(ASource->UseMouseWheel());
  SetValidateOnEnter(ASource->ValidateOnEnter());
  SetValidationOptions(ASource->ValidationOptions());
  SetValidationErrorIconAlignment(ASource->ValidationErrorIconAlignment());
  // The custom icon is a setting like the side it is shown on: a copy keeps it.
  SetErrorIcon(ASource->ErrorIcon());
  FOnButtonClick = ASource->OnButtonClick();
  FOnChange = ASource->OnChange();
  FOnEditValueChanged = ASource->OnEditValueChanged();
  FOnValidate = ASource->OnValidate();
}

String TcxCustomEditProperties::DefaultValidationErrorText(int) {
  return LoadLocalizedResString(&cxSEditValidateErrorText);
}

TcxCustomEditProperties* TcxCustomEditProperties::Clone(TPersistent* AOwner) {
  TOwned<TcxCustomEditProperties> clone(NewOfClass<TcxCustomEditProperties>(ClassType(), AOwner));
  clone->Assign(this);
  return clone.release();
}

TClass TcxCustomEditProperties::GetContainerClass() { return TcxCustomEdit::ClassInfo(); }

bool TcxCustomEditProperties::CompareDisplayValues(const Variant& AEditValue1, const Variant& AEditValue2) {
  Variant display1, display2;
  PrepareDisplayValue(AEditValue1, display1, false);
  PrepareDisplayValue(AEditValue2, display2, false);
  return VariantsEqual(display1, display2);
}

TcxCustomEditProperties* TcxCustomEditProperties::CreatePreviewProperties() {
  return NewOfClass<TcxCustomEditProperties>(ClassType(), static_cast<TPersistent*>(nullptr));
}

String TcxCustomEditProperties::GetDisplayText(const Variant&, bool, bool) { return String(); }

bool TcxCustomEditProperties::IsEditValueValid(Variant&, bool) { return true; }

void TcxCustomEditProperties::PrepareDisplayValue(const Variant& AEditValue, Variant& ADisplayValue, bool) {
  ADisplayValue = AEditValue;
}

void TcxCustomEditProperties::RestoreDefaults() {
  UpdateBracket([this] {
    // The inner alignment reports nothing itself; an assigned horizontal
    // value given up may let the provider's default show.
    const bool wasAssigned = FInnerAlignment->IsHorzAssigned();
    FInnerAlignment->Reset();
    if (wasAssigned) Changed();
    FAssignedValues->RestoreDefaults();
  });
}

void TcxCustomEditProperties::ValidateDisplayValue(Variant& ADisplayValue, String& AErrorText, bool& AError,
                                                   TcxCustomEdit* AEdit) {
  if (!ValidatesDisplayValue()) return;
  if (AErrorText.empty()) AErrorText = DefaultValidationErrorText(0);
  if (!AEdit->HasValidateHandlers()) return;
  const Variant before = ADisplayValue;
  AEdit->FireValidate(ADisplayValue, AErrorText, AError);
  // A handler that rejects without correcting gets the text the editor shows.
  if (AError && VariantsEqual(ADisplayValue, before)) AEdit->GetDisplayVariant(ADisplayValue);
}

// ---------------------------------------------------------------------------
// In-place editing

bool TcxCustomEditProperties::AllowsInplaceEditing() {
  if (IsReadOnlyAssigned() && !FReadOnly) return true;
  const bool readOnly = ReadOnly();
  if (!readOnly && FDefaultValuesProvider)
    return FDefaultValuesProvider->DefaultCanModify() && FDefaultValuesProvider->CanSetEditMode();
  return !readOnly;
}
