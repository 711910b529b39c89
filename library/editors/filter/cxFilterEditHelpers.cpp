// The base filter-edit helper and the registry of helpers.
#include "library/editors/filter/cxFilterEditHelpers.h"

namespace {

TOwned<TcxFilterEditsController>& FilterEditsControllerStore() {
  static TOwned<TcxFilterEditsController> controller;
  return controller;
}

constexpr TcxFilterControlOperator TextOperators[] = {fcoLike,     fcoNotLike,     fcoContains,
                                                      fcoNotContains, fcoBeginsWith, fcoEndsWith};

}  // namespace

// ---------------------------------------------------------------------------
// TcxCustomFilterEditHelper

void TcxCustomFilterEditHelper::TMeta::ClearPropertiesEvents(TcxCustomEditProperties* AProperties) const {
  if (!AProperties) return;
  AProperties->SetOnButtonClick(TcxEditButtonClickEvent());
  AProperties->SetOnChange(TNotifyEvent());
  AProperties->SetOnEditValueChanged(TNotifyEvent());
  AProperties->SetOnValidate(TcxEditValidateEvent());
}

void TcxCustomFilterEditHelper::TMeta::InitializeFilterEdit(TcxCustomEdit* AEdit,
                                                            TcxCustomEditProperties* AEditProperties) const {
  InitializeProperties(AEdit->ActiveProperties(), AEditProperties, EditPropertiesHasButtons());
}

bool TcxCustomFilterEditHelper::TMeta::KeepsDefaultValuesProvider(TcxCustomEditProperties*) const { return true; }

TcxFilterDataType TcxCustomFilterEditHelper::TMeta::GetFilterDataType(TcxValueTypeClass AValueTypeClass) const {
  if (!AValueTypeClass) return fdtText;
  if (IsDateTimeValueType(AValueTypeClass)) return fdtDate;
  return cxValueType(AValueTypeClass)->IsNumeric() ? fdtNumeric : fdtText;
}

void TcxCustomFilterEditHelper::TMeta::GetFilterValue(TcxCustomEdit* AEdit, TcxCustomEditProperties* AEditProperties,
                                                      Variant& V, String& S) const {
  V = AEdit->EditValue();
  S = AEditProperties->GetDisplayText(V, false, true);
  if (S.empty()) S = VarToStr(V);
}

TcxFilterControlOperators TcxCustomFilterEditHelper::TMeta::GetSupportedFilterOperators(
    TcxCustomEditProperties*, TcxValueTypeClass AValueTypeClass, bool AExtendedSet) const {
  TcxFilterControlOperators result;
  for (int op = fcoEqual; op <= fcoNonBlanks; ++op) result.Include(static_cast<TcxFilterControlOperator>(op));
  if (AExtendedSet) result += {fcoBetween, fcoNotBetween, fcoInList, fcoNotInList};
  if (!AValueTypeClass || !cxValueType(AValueTypeClass)->IsString())
    for (const TcxFilterControlOperator op : TextOperators) result.Exclude(op);
  return result;
}

void TcxCustomFilterEditHelper::TMeta::InitializeProperties(TcxCustomEditProperties* AProperties,
                                                            TcxCustomEditProperties* AEditProperties,
                                                            bool AHasButtons) const {
  AProperties->Assign(AEditProperties);
  AProperties->Alignment()->SetHorz(taLeftJustify);
  AProperties->Alignment()->SetVert(taVCenter);
  AProperties->FBeepOnError = false;
  if (!AHasButtons) AProperties->Buttons()->Clear();
  AProperties->SetReadOnly(false);
  AProperties->FValidateOnEnter = true;
  if (!KeepsDefaultValuesProvider(AEditProperties)) AProperties->SetDefaultValuesProvider(nullptr);
  ClearPropertiesEvents(AProperties);
}

bool TcxCustomFilterEditHelper::TMeta::IsValueValid(TcxValueTypeClass AValueTypeClass, Variant& AValue) const {
  return cxValueType(AValueTypeClass)->IsValueValid(AValue);
}

void TcxCustomFilterEditHelper::TMeta::SetFilterValue(TcxCustomEdit*, TcxCustomEditProperties*,
                                                      const Variant&) const {}

TcxCustomEdit* TcxCustomFilterEditHelper::TMeta::GetFilterEdit(TcxCustomEditProperties* AEditProperties,
                                                               TcxInplaceEditList* AInplaceEditList) const {
  if (AInplaceEditList) {
    TcxCustomEdit* edit = AInplaceEditList->GetEditOfClass(GetFilterEditClass());
    InitializeFilterEdit(edit, AEditProperties);
    return edit;
  }
  // Ours until returned: freed if preparing it fails.
  TOwned<TcxCustomEdit> edit(NewOfClass<TcxCustomEdit>(GetFilterEditClass(), static_cast<TComponent*>(nullptr)));
  InitializeFilterEdit(edit.get(), AEditProperties);
  return edit.release();
}

// ---------------------------------------------------------------------------
// TcxFilterEditsController

void TcxFilterEditsController::Unregister(TClass APropertiesClass, TClass AHelperClass) {
  inherited::Unregister(APropertiesClass, AHelperClass);
  TOwned<TcxFilterEditsController>& store = FilterEditsControllerStore();
  if (Count() == 0 && store.get() == this) store.reset();  // nothing may follow: this object is gone
}

TClass TcxFilterEditsController::FindHelper(TClass APropertiesClass) {
  // The nearest class with a pair of its own; of two pairs, the later one.
  for (TClass cls = APropertiesClass; cls; cls = cls->ClassParent())
    for (int i = Count() - 1; i >= 0; --i)
      if (Items(i)->ItemClass == cls) return Items(i)->RegisteredClass;
  return nullptr;
}

TcxFilterEditsController* GetFilterEditsController() {
  TOwned<TcxFilterEditsController>& store = FilterEditsControllerStore();
  if (!store) store.reset(New<TcxFilterEditsController>());
  return store.get();
}

bool FilterEditsControllerExists() { return FilterEditsControllerStore() != nullptr; }

void cxFilterEditHelpersFinalization() { FilterEditsControllerStore().reset(); }
