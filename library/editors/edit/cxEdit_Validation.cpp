// TcxCustomEdit: validation, its error report and the revert on Escape.
#include "library/core/data/cxVariants.h"
#include "library/editors/edit/cxEditRepositoryItems.h"
#include "library/editors/edit/cxEdit_Internal.h"

namespace {

bool SameCheckedValue(const Variant& A, const Variant& B) { return A.VType() == B.VType() && VariantsEqual(A, B); }

}  // namespace

bool TcxCustomEdit::ValidateEdit(bool ARaiseExceptionOnError) {
  return ValidateEditCore(ARaiseExceptionOnError ? TcxEditValidationOptions{evoRaiseException}
                                                 : TcxEditValidationOptions(),
                          true);
}

bool TcxCustomEdit::ValidateEdit() { return ValidateEditCore(ActiveProperties()->ValidationOptions(), true); }

bool TcxCustomEdit::ValidateByOptions(bool AForced) {
  return ValidateEditCore(ActiveProperties()->ValidationOptions(), AForced);
}

void TcxCustomEdit::GetDisplayVariant(Variant& AValue) {
  String text;
  GetDisplayString(text);
  AValue = Variant(text);
}

void TcxCustomEdit::GetEditValueAsText(Variant& AValue) { AValue = Variant(VarToStr(EditValue())); }

void TcxCustomEdit::PrepareEditDisplayValue(const Variant& AEditValue, Variant& ADisplayValue, bool AEditFocused) {
  ActiveProperties()->PrepareDisplayValue(AEditValue, ADisplayValue, AEditFocused);
}

void TcxCustomEdit::PrepareEditValue(const Variant&, Variant& AEditValue, bool) { AEditValue = Variant(); }

void TcxCustomEdit::FireValidate(Variant& ADisplayValue, String& AErrorText, bool& AError) {
  CallEvent(FProperties->OnValidate(), this, ADisplayValue, AErrorText, AError);
  if (FRepositoryItem) CallEvent(ActiveProperties()->OnValidate(), this, ADisplayValue, AErrorText, AError);
}

void TcxCustomEdit::CheckDisplayValue(Variant& ADisplayValue, String& AErrorText, bool& AError) {
  TcxCustomEditProperties* properties = ActiveProperties();
  if (properties->ValidatesDisplayValue()) properties->ValidateDisplayValue(ADisplayValue, AErrorText, AError, this);
}

void TcxCustomEdit::PostShortRefresh() {
  if (HandleAllocated()) PostMessageW(Handle(), DXM_CONTAINERSHORTREFRESH, 0, 0);
}

bool TcxCustomEdit::ValidateEditCore(TcxEditValidationOptions AOptions, bool AForced) {
  DisableUserAction();
  return TryFinally(
      [&]() -> bool {
        if (!AForced && (!FModifiedAfterEnter || FIsEditValidated || FLockValidate != 0)) return !FValidationError;
        FIsEditValidating = true;
        return TryFinally(
            [&]() -> bool {
              const auto valueToCheck = [this] {
                Variant value;
                if (!FModifiedAfterEnter && !EditValue().IsNull())
                  GetEditValueAsText(value);
                else
                  GetDisplayVariant(value);
                return value;
              };
              Variant value = valueToCheck();
              FValidationErrorText.clear();
              const bool prevError = FValidationError;
              FValidationError = false;
              TcxCustomEditProperties* properties = ActiveProperties();
              properties->SetInternalValidationOptions(AOptions);
              CheckDisplayValue(value, FValidationErrorText, FValidationError);
              AOptions = properties->InternalValidationOptions();
              // The error icon shows or hides on the next refresh.
              if (FValidationError != prevError || FValidationError) PostShortRefresh();
              const bool result = !FValidationError;
              if (FValidationError) {
                TryFinally([&] { ReportValidationError(FValidationErrorText, AOptions, !AForced); },
                           [&] {
                             if (VariantsEqual(value, valueToCheck())) return;
                             ApplyDisplayValue(value);
                             if (!Visible()) return;
                             SelectAll();
                             if (!IsEditClass()) UpdateDrawValue();
                           });
              }
              if (!FValidationError || AOptions.Contains(evoAllowLoseFocus)) {
                const bool proceed = FModifiedAfterEnter || !SameCheckedValue(value, valueToCheck());
                if (proceed && (!IsUserAction() || DoEditing())) {
                  SetTextPreservingModified(VarToStr(value));
                  if (!IsInplace() && !Focused()) SetModifiedAfterEnter(false);
                  FIsEditValidated = true;
                }
              }
              return result;
            },
            [this] { FIsEditValidating = false; });
      },
      [this] { EnableUserAction(); });
}

void TcxCustomEdit::ReportValidationError(const String& AErrorText, TcxEditValidationOptions AOptions, bool AStop) {
  const bool raises = !AErrorText.empty() && AOptions.Contains(evoRaiseException);
  if (!CanFocus()) {
    FIsEditValidated = true;
  } else if (HandleAllocated() && IsWindowVisible(Handle())) {
    // A message to raise keeps the user in the editor whatever the options say.
    const bool allowLoseFocus = ActiveProperties()->ValidationOptions().Contains(evoAllowLoseFocus) && !raises;
    if (!Focused() && !allowLoseFocus) {
      FValidateErrorProcessing = true;
      TryFinally(
          [this] {
            if (InnerControl() && InnerControl()->CanFocus())
              InnerControl()->SetFocus();
            else
              SetFocus();
          },
          [this] { FValidateErrorProcessing = false; });
      // The pull-back's own focus notification was ignored: the focus state
      // follows the focus the editor holds again, or it would show unfocused.
      FocusChanged();
    }
    if (Focused()) SelectAll();
  }
  if (ActiveProperties()->BeepOnError()) EditErrorBeep();
  if (raises) throw EcxEditValidationError(AErrorText);
  if (AStop && !AOptions.Contains(evoAllowLoseFocus)) Abort();
}

void TcxCustomEdit::SavePrevEditValue(const Variant& AValue) {
  if (FValidateErrorProcessing) return;
  FPrevEditValue = AValue;
  FPrevValidationError = FValidationError;
}

void TcxCustomEdit::RevertEditValue() {
  if (!FModifiedAfterEnter || !ActiveProperties()->IsResetEditClass()) return;
  LockChangeEvents(true);
  TryFinally(
      [this] {
        FModifiedAfterEnter = false;
        SetInternalEditValue(FDataBinding->DefaultValuesProvider()->IsDataStorage() ? FDataBinding->GetStoredValue()
                                                                                    : FPrevEditValue);
        FValidationError = FPrevValidationError;
        FPrevValidationError = false;
        PostShortRefresh();
        SetEditModified(true);
        SelectAll();
        if (ActiveProperties()->ImmediatePost() && CanPostEditValue()) PostValueCore(false);
      },
      [this] { LockChangeEvents(false); });
}

void TcxCustomEdit::ValidateAndPost() {
  LockChangeEvents(true);
  TryFinally(
      [this] {
        if (ValidateByOptions(false) && CanPostEditValue()) PostValueCore(false);
      },
      [this] { LockChangeEvents(false); });
}
