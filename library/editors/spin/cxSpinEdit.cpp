// The spin editor: its properties, values and their texts, stepping, keys,
// mouse, wheel and auto-repeat, accessibility, the filter helper and the
// unit's registration. The buttons' layout and painting are in
// cxSpinEdit_ViewInfo.cpp.
#include "library/editors/spin/cxSpinEdit.h"

#include "library/core/data/cxVariants.h"
#include "library/editors/edit/cxEditConsts.h"
#include "library/editors/edit/cxEdit_Internal.h"

#include "platform/classes/Filer.h"

#include <cfloat>
#include <cmath>
#include <limits>

namespace {

constexpr std::int64_t Int64Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t Int64Min = std::numeric_limits<std::int64_t>::min();

// The repeat timer's first and following intervals.
constexpr unsigned RepeatFirstDelay = 400;
constexpr unsigned RepeatInterval = 100;

bool IsUpButton(TcxSpinEditButton AButton) { return AButton == sebForward || AButton == sebFastForward; }

double DoubleOf(const Variant& V) { return V.AsDouble(); }

// A floating-point result as its text reads back, so that steps of 0.1 do
// not pile up binary remainders.
double ThroughText(double AValue) {
  double result = AValue;
  return TryStrToFloat(FloatToStr(AValue), result) ? result : AValue;
}

bool AddIntIncrement(std::int64_t& V, std::int64_t AInc, std::int64_t AMin, std::int64_t AMax, int ABoundsMode) {
  // 128 bits: the room to either bound and the wrapped position never overflow.
  const __int128 sum = static_cast<__int128>(V) + AInc;
  if (sum >= AMin && sum <= AMax) {
    V = static_cast<std::int64_t>(sum);
    return true;
  }
  switch (ABoundsMode) {
    case cxSpinBoundsNone: return false;
    case cxSpinBoundsStop: V = sum > AMax ? AMax : AMin; return true;
    default: {
      // The bounds are neighbours: one step past the maximum is the minimum.
      const __int128 period = static_cast<__int128>(AMax) - AMin + 1;
      __int128 offset = (sum - AMin) % period;
      if (offset < 0) offset += period;
      V = static_cast<std::int64_t>(AMin + offset);
      return true;
    }
  }
}

bool AddFloatIncrement(double& V, double AInc, double AMin, double AMax, int ABoundsMode) {
  // The room to each bound, with the type's extreme for a difference beyond it.
  const double below = std::max(AMin - V, -DBL_MAX);
  const double above = std::min(AMax - V, DBL_MAX);
  if (AInc >= below && AInc <= above) {
    V = ThroughText(V) + AInc;
    return true;
  }
  switch (ABoundsMode) {
    case cxSpinBoundsNone: return false;
    case cxSpinBoundsStop: V = AInc > above ? AMax : AMin; return true;
    default: {
      // The bounds are one point of the circle: the part of the step beyond
      // one bound continues from the other, reduced by whole turns.
      const double span = AMax - AMin;
      if (!(span > 0) || !std::isfinite(span)) {
        V = AMin;
        return true;
      }
      if (AInc > above)
        V = AMin + std::fmod(AInc - above, span);
      else
        V = AMax - std::fmod(below - AInc, span);
      V = std::clamp(ThroughText(V), AMin, AMax);
      return true;
    }
  }
}

}  // namespace

std::int64_t cxSpinRoundToInt64(double AValue) {
  if (std::isnan(AValue)) return 0;
  // 2^63 is the first double above the range; the last one below is exact.
  if (AValue >= 9223372036854775808.0) return Int64Max;
  if (AValue <= -9223372036854775808.0) return Int64Min;
  return static_cast<std::int64_t>(std::nearbyint(AValue));
}

Variant cxSpinToValueType(const Variant& V, TcxSpinEditValueType AValueType) {
  if (!VarIsNumeric(V)) return V;
  if (AValueType == vtFloat) return Variant(V.AsDouble());
  if (VarIsFloat(V)) return Variant(static_cast<long long>(cxSpinRoundToInt64(V.AsDouble())));
  return Variant(static_cast<long long>(V.AsInt64()));
}

bool cxSpinEditAddIncrement(Variant& V, double AIncrement, const Variant& AMin, const Variant& AMax,
                            TcxSpinEditValueType AValueType, int ABoundsMode) {
  if (AValueType == vtInt) {
    std::int64_t value = cxSpinToValueType(V, vtInt).AsInt64();
    if (!AddIntIncrement(value, cxSpinRoundToInt64(AIncrement), cxSpinToValueType(AMin, vtInt).AsInt64(),
                         cxSpinToValueType(AMax, vtInt).AsInt64(), ABoundsMode))
      return false;
    V = Variant(static_cast<long long>(value));
    return true;
  }
  double value = DoubleOf(V);
  if (!AddFloatIncrement(value, AIncrement, DoubleOf(AMin), DoubleOf(AMax), ABoundsMode)) return false;
  V = Variant(value);
  return true;
}

std::optional<Variant> cxSpinStrToValue(const String& AText, TcxSpinEditValueType AValueType) {
  if (AValueType == vtInt) {
    std::int64_t value = 0;
    if (!TryStrToInt64(AText, value)) return std::nullopt;
    return Variant(static_cast<long long>(value));
  }
  String text;
  for (wchar_t c : AText)
    if (c != FormatSettings.ThousandSeparator) text += c;
  if (Trim(text).empty()) return Variant(0.0);
  double value = 0;
  if (!TryStrToFloat(text, value) || !std::isfinite(value) || std::fabs(value) > DBL_MAX) return std::nullopt;
  return Variant(value);
}

String cxSpinValueToStr(const Variant& V, TcxSpinEditValueType AValueType) {
  if (!VarIsNumeric(V)) return VarToStr(V);
  if (AValueType == vtInt) return IntToStr(static_cast<long long>(cxSpinToValueType(V, vtInt).AsInt64()));
  return FloatToStr(V.AsDouble());
}

// ---------------------------------------------------------------------------
// TcxSpinEditButtons

void TcxSpinEditButtons::Publish(TPublisher<TcxSpinEditButtons>& P) {
  using B = TcxSpinEditButtons;
  P.Property(L"Position", &B::Position, &B::SetPosition).Default(sbpVert);
  P.Property(L"ShowFastButtons", &B::ShowFastButtons, &B::SetShowFastButtons).Default(false);
  P.Property(L"Visible", &B::Visible, &B::SetVisible).Default(true);
}

void TcxSpinEditButtons::Assign(TPersistent* ASource) {
  if (auto* source = dynamic_cast<TcxSpinEditButtons*>(ASource)) {
    FOwner->UpdateBracket([&] {
      SetPosition(source->FPosition);
      SetShowFastButtons(source->FShowFastButtons);
      SetVisible(source->FVisible);
    });
    return;
  }
  inherited::Assign(ASource);
}

TPersistent* TcxSpinEditButtons::GetOwner() { return FOwner; }

// ---------------------------------------------------------------------------
// TcxSpinEditPropertiesValues

void TcxSpinEditPropertiesValues::Assign(TPersistent* ASource) {
  if (auto* source = dynamic_cast<TcxSpinEditPropertiesValues*>(ASource)) {
    static_cast<TcxCustomEditProperties*>(GetOwner())->UpdateBracket([&] {
      inherited::Assign(ASource);
      SetValueType(source->FValueType);
    });
    return;
  }
  inherited::Assign(ASource);
}

void TcxSpinEditPropertiesValues::RestoreDefaults() {
  static_cast<TcxCustomEditProperties*>(GetOwner())->UpdateBracket([this] {
    inherited::RestoreDefaults();
    SetValueType(false);
  });
}

void TcxSpinEditPropertiesValues::SetValueType(bool AValue) {
  if (FValueType == AValue) return;
  FValueType = AValue;
  static_cast<TcxCustomEditProperties*>(GetOwner())->Changed();
}

// ---------------------------------------------------------------------------
// TcxCustomSpinEditProperties

void TcxCustomSpinEditProperties::Create(TPersistent* AOwner) {
  inherited::Create(AOwner);
  FSpinButtons.reset(New<TcxSpinEditButtons>(this));
  AdjustButtonCount();
}

void TcxCustomSpinEditProperties::Destroy() {
  FSpinButtons.reset();
  inherited::Destroy();
}

TcxSpinEditValueType TcxCustomSpinEditProperties::ValueType() {
  // No value source of this library reports a floating-point field.
  return AssignedValues()->ValueType() ? FValueType : vtInt;
}

void TcxCustomSpinEditProperties::SetValueType(TcxSpinEditValueType AValue) {
  if (AssignedValues()->ValueType() && FValueType == AValue) return;
  FValueType = AValue;
  UpdateBracket([this] {
    AssignedValues()->SetValueType(true);
    Changed();
  });
}

bool TcxCustomSpinEditProperties::IsValueBoundDefined(int AKind) {
  TcxSpinEditPropertiesValues* assigned = AssignedValues();
  if (assigned->MinValue() == assigned->MaxValue()) return MaxValue() > MinValue();
  return AKind == 0 ? assigned->MinValue() : assigned->MaxValue();
}

void TcxCustomSpinEditProperties::GetMaxValueAsVariant(Variant& V) {
  if (IsValueBoundDefined(1))
    V = ToValueType(Variant(MaxValue()));
  else
    V = ToValueType(ValueType() == vtFloat ? Variant(DBL_MAX) : Variant(static_cast<long long>(Int64Max)));
}

void TcxCustomSpinEditProperties::GetMinValueAsVariant(Variant& V) {
  if (IsValueBoundDefined(0))
    V = ToValueType(Variant(MinValue()));
  else
    V = ToValueType(ValueType() == vtFloat ? Variant(-DBL_MAX) : Variant(static_cast<long long>(Int64Min)));
}

int TcxCustomSpinEditProperties::GetBoundsMode() {
  if (FCircular) return cxSpinBoundsCircular;
  return CanStopAtBounds() ? cxSpinBoundsStop : cxSpinBoundsNone;
}

void TcxCustomSpinEditProperties::ClampToBounds(const Variant& AValue, Variant& AResult) {
  AResult = ToValueType(AValue);
  if (!VarIsNumeric(AResult)) return;
  Variant bound;
  if (IsValueBoundDefined(0)) {
    GetMinValueAsVariant(bound);
    if (AResult.AsDouble() < bound.AsDouble() ||
        (ValueType() == vtInt && AResult.AsInt64() < bound.AsInt64()))
      AResult = bound;
  }
  if (IsValueBoundDefined(1)) {
    GetMaxValueAsVariant(bound);
    if (AResult.AsDouble() > bound.AsDouble() ||
        (ValueType() == vtInt && AResult.AsInt64() > bound.AsInt64()))
      AResult = bound;
  }
}

void TcxCustomSpinEditProperties::PrepareValue(const Variant& AValue, Variant& AResult) {
  if (AValue.IsNull() || AValue.IsEmpty() || (VarIsStr(AValue) && VarToStr(AValue).empty())) {
    AResult = ToValueType(Variant(0));
    return;
  }
  if (VarIsStr(AValue)) {
    const std::optional<Variant> parsed = TryTextToValue(VarToStr(AValue));
    if (!parsed) throw EcxEditError(LoadLocalizedResString(&cxSSpinEditInvalidNumericValue));
    AResult = *parsed;
    return;
  }
  AResult = ToValueType(AValue);
}

std::optional<Variant> TcxCustomSpinEditProperties::TryTextToValue(const String& AText) {
  return cxSpinStrToValue(AText, ValueType());
}

bool TcxCustomSpinEditProperties::IsDisplayValueValid(Variant& ADisplayValue, bool) {
  const String text = VarToStr(ADisplayValue);
  if (text.empty()) return true;
  const std::optional<Variant> value = TryTextToValue(text);
  if (!value) return false;
  ADisplayValue = Variant(ValueToDisplayText(*value));
  return true;
}

bool TcxCustomSpinEditProperties::IsEditValueValid(Variant& AEditValue, bool) {
  if (AEditValue.IsNull() || AEditValue.IsEmpty() || AEditValue.VType() == varDate) return true;
  if (VarIsStr(AEditValue) && VarToStr(AEditValue).empty()) return true;
  if (VarIsStr(AEditValue) || VarIsNumeric(AEditValue)) {
    // A floating-point value is checked through its text form.
    const String text = VarIsStr(AEditValue) ? VarToStr(AEditValue)
                                             : cxSpinValueToStr(AEditValue, VarIsFloat(AEditValue) ? vtFloat : vtInt);
    std::optional<Variant> value = TryTextToValue(text);
    if (!value && VarIsNumeric(AEditValue)) value = ToValueType(AEditValue);
    if (!value) return false;
    if (VarIsStr(AEditValue)) AEditValue = *value;
  } else {
    return false;
  }
  try {
    Variant prepared;
    PrepareValue(AEditValue, prepared);
    AEditValue = prepared;
  } catch (const Exception&) {
    return false;
  }
  return true;
}

void TcxCustomSpinEditProperties::PrepareDisplayValue(const Variant& AEditValue, Variant& ADisplayValue, bool) {
  Variant value = AEditValue;
  if (!IsEditValueValid(value, false) || !VarIsNumeric(value)) {
    ADisplayValue = Variant(VarIsStr(AEditValue) ? VarToStr(AEditValue) : String());
    if (AEditValue.IsNull() || AEditValue.IsEmpty()) {
      Variant zero;
      ClampToBounds(Variant(0), zero);
      ADisplayValue = Variant(ValueToDisplayText(zero));
    }
    return;
  }
  ADisplayValue = Variant(ValueToDisplayText(value));
}

String TcxCustomSpinEditProperties::GetDisplayText(const Variant& AEditValue, bool, bool) {
  Variant display;
  PrepareDisplayValue(AEditValue, display, false);
  return VarToStr(display);
}

void TcxCustomSpinEditProperties::ValidateDisplayValue(Variant& ADisplayValue, String& AErrorText, bool& AError,
                                                       TcxCustomEdit* AEdit) {
  auto* edit = dynamic_cast<TcxCustomSpinEdit*>(AEdit);
  if (edit) {
    Variant value;
    if (edit->IsCustomText()) {
      String error;
      if (!edit->TextToEditValue(VarToStr(ADisplayValue), false, error, value)) {
        AError = true;
        AErrorText = error;
      }
    } else {
      value = edit->Value();
    }
    if (!AError) {
      if (value.IsNull()) ClampToBounds(Variant(0), value);
      value = ToValueType(value);
      Variant minimum, maximum;
      GetMinValueAsVariant(minimum);
      GetMaxValueAsVariant(maximum);
      Variant clamped;
      ClampToBounds(value, clamped);
      const bool outside = VarIsNumeric(value) && !VariantsEqual(value, clamped);
      if (!FExceptionOnInvalidInput) value = clamped;
      ADisplayValue = Variant(ValueToDisplayText(value));
      if (FExceptionOnInvalidInput && outside) {
        AError = true;
        AErrorText = LoadLocalizedResString(&cxSEditValueOutOfBounds);
      }
    }
  }
  inherited::ValidateDisplayValue(ADisplayValue, AErrorText, AError, AEdit);
}

void TcxCustomSpinEditProperties::CopyFrom(TcxCustomEditProperties* ASource) {
  auto* source = dynamic_cast<TcxCustomSpinEditProperties*>(ASource);
  if (!source) {
    inherited::CopyFrom(ASource);
    return;
  }
  SetDefaultValuesProvider(source->DefaultValuesProvider());
  AssignedValues()->SetValueType(false);
  if (source->AssignedValues()->ValueType()) SetValueType(source->FValueType);
  inherited::CopyFrom(ASource);
  SetCanEdit(source->FCanEdit);
  SetCircular(source->FCircular);
  SetExceptionOnInvalidInput(source->FExceptionOnInvalidInput);
  SetIncrement(source->FIncrement);
  SetLargeIncrement(source->FLargeIncrement);
  SetSpinButtons(source->SpinButtons());
  SetUseCtrlIncrement(source->FUseCtrlIncrement);
  SetOnGetValue(source->FOnGetValue);
}

int TcxCustomSpinEditProperties::NeededButtonCount() const {
  if (!FSpinButtons || !FSpinButtons->Visible()) return 0;
  return FSpinButtons->ShowFastButtons() ? 4 : 2;
}

bool TcxCustomSpinEditProperties::AdjustButtonCount() {
  const int needed = NeededButtonCount();
  if (!FSpinButtons || Buttons()->Count() == needed) return false;
  UpdateBracket([&] {
    while (Buttons()->Count() < needed) Buttons()->Add();
    while (Buttons()->Count() > needed) Buttons()->Delete(0);
  });
  return true;
}

void TcxCustomSpinEditProperties::NotifyPropertiesChanged() {
  // A count that changes reports once more from the bracket's end, which
  // then finds the buttons in line.
  if (AdjustButtonCount()) return;
  inherited::NotifyPropertiesChanged();
}

void TcxCustomSpinEditProperties::DefineProperties(TFiler* AFiler) {
  inherited::DefineProperties(AFiler);
  auto* ancestor = dynamic_cast<TcxCustomSpinEditProperties*>(AFiler->Ancestor());
  const bool zeroIncrement = FIncrement == 0 && (!ancestor || ancestor->FIncrement != FIncrement);
  const bool zeroLarge = FLargeIncrement == 0 && (!ancestor || ancestor->FLargeIncrement != FLargeIncrement);
  AFiler->DefineProperty(
      L"ZeroIncrement", [this](TReader* R) { ReadZeroIncrement(R); }, [this](TWriter* W) { WriteZeroIncrement(W); },
      zeroIncrement);
  AFiler->DefineProperty(
      L"ZeroLargeIncrement", [this](TReader* R) { ReadZeroLargeIncrement(R); },
      [this](TWriter* W) { WriteZeroLargeIncrement(W); }, zeroLarge);
}

void TcxCustomSpinEditProperties::ReadZeroIncrement(TReader* AReader) {
  if (AReader->ReadBoolean()) SetIncrement(0);
}
void TcxCustomSpinEditProperties::WriteZeroIncrement(TWriter* AWriter) { AWriter->WriteBoolean(true); }
void TcxCustomSpinEditProperties::ReadZeroLargeIncrement(TReader* AReader) {
  if (AReader->ReadBoolean()) SetLargeIncrement(0);
}
void TcxCustomSpinEditProperties::WriteZeroLargeIncrement(TWriter* AWriter) { AWriter->WriteBoolean(true); }

TClass TcxCustomSpinEditProperties::GetViewDataClassType() { return TcxSpinEditViewData::ClassInfo(); }
TClass TcxCustomSpinEditProperties::GetViewInfoClass() { return TcxSpinEditViewInfo::ClassInfo(); }
TClass TcxCustomSpinEditProperties::GetContainerClass() { return TcxSpinEdit::ClassInfo(); }

// ---------------------------------------------------------------------------
// TcxSpinEditProperties

void TcxSpinEditProperties::Publish(TPublisher<TcxSpinEditProperties>& P) {
  using S = TcxSpinEditProperties;
  P.Property(L"AssignedValues", &S::AssignedValues, &S::SetAssignedValues);
  P.Property(L"CanEdit", &S::CanEdit, &S::SetCanEdit).Default(true);
  P.Property(L"ExceptionOnInvalidInput", &S::ExceptionOnInvalidInput, &S::SetExceptionOnInvalidInput)
      .Default(false);
  P.Property(L"Increment", &S::Increment, &S::SetIncrement).Stored(&S::IsIncrementStored);
  P.Property(L"LargeIncrement", &S::LargeIncrement, &S::SetLargeIncrement).Stored(&S::IsLargeIncrementStored);
  P.Property(L"MaxValue", &S::MaxValue, &S::SetMaxValue).Stored(&S::IsMaxValueStored);
  P.Property(L"MinValue", &S::MinValue, &S::SetMinValue).Stored(&S::IsMinValueStored);
  P.Property(L"SpinButtons", &S::SpinButtons, &S::SetSpinButtons);
  P.Property(L"UseCtrlIncrement", &S::UseCtrlIncrement, &S::SetUseCtrlIncrement).Default(false);
  P.Property(L"ValueType", &S::ValueType, &S::SetValueType).Stored(&S::IsValueTypeStored);
  P.Property(L"OnGetValue", &S::OnGetValue, &S::SetOnGetValue);
}

// ---------------------------------------------------------------------------
// TcxCustomSpinEdit

void TcxCustomSpinEdit::Destroy() {
  FTimer.reset();
  inherited::Destroy();
}

void TcxCustomSpinEdit::InitializeEdit() {
  inherited::InitializeEdit();
  FInternalValue = Variant(0LL);
  SetInternalEditValue(Variant(0LL));
}

TcxContainerStyleValues TcxCustomSpinEdit::HiddenStyleValues() {
  TcxContainerStyleValues result = inherited::HiddenStyleValues();
  result.Exclude(svButtonStyle).Exclude(svButtonTransparency).Exclude(svGradientButtons);
  return result;
}

template <class F>
void TcxCustomSpinEdit::AsCustomTextAction(F&& AWork) {
  const bool saved = FIsCustomTextAction;
  FIsCustomTextAction = true;
  TryFinally(AWork, [&] { FIsCustomTextAction = saved; });
}

bool TcxCustomSpinEdit::IsRightToLeft() { return UseRightToLeftAlignment(); }

// -- values and texts

bool TcxCustomSpinEdit::TextToEditValue(const String& ADisplayValue, bool ARaise, String& AErrorText, Variant& V) {
  TcxCustomSpinEditProperties* properties = ActiveProperties();
  if (ADisplayValue.empty()) {
    if (DataBinding()->DefaultValuesProvider()->IsDataStorage())
      properties->ClampToBounds(Variant(0), V);
    else
      V = Variant::NullValue();
    return true;
  }
  std::optional<Variant> value = properties->TryTextToValue(ADisplayValue);
  String handlerText;
  if (!value) {
    const auto askHandler = [&](TcxCustomSpinEditProperties* AProperties) {
      if (value || !AProperties->OnGetValue()) return;
      Variant supplied;
      bool error = true;
      AProperties->OnGetValue()(this, ADisplayValue, supplied, handlerText, error);
      if (!error) value = supplied;
    };
    try {
      askHandler(static_cast<TcxCustomSpinEditProperties*>(InternalProperties()));
      if (RepositoryItem()) askHandler(properties);
    } catch (const Exception& E) {
      if (ARaise) throw;
      AErrorText = E.Message();
      return false;
    }
  }
  if (!value) {
    AErrorText = handlerText.empty() ? LoadLocalizedResString(&cxSSpinEditInvalidNumericValue) : handlerText;
    if (!properties->ExceptionOnInvalidInput()) AErrorText.clear();
    if (ARaise && properties->ExceptionOnInvalidInput()) throw EcxEditError(AErrorText);
    // Without ExceptionOnInvalidInput the last good value silently stands in.
    V = properties->ToValueType(FInternalValue);
    return !properties->ExceptionOnInvalidInput();
  }
  V = properties->ToValueType(*value);
  return true;
}

void TcxCustomSpinEdit::PrepareEditValue(const Variant& ADisplayValue, Variant& AEditValue, bool) {
  String error;
  TextToEditValue(VarToStr(ADisplayValue), true, error, AEditValue);
}

bool TcxCustomSpinEdit::IsCustomText() {
  if (FIsCustomText) return true;
  // A change the edit window made without telling counts by its text.
  String internal;
  ValueToText(FInternalValue, internal);
  return EditText() != internal;
}

Variant TcxCustomSpinEdit::GetValue() {
  TcxCustomSpinEditProperties* properties = ActiveProperties();
  Variant result;
  if (Focused()) {
    if (IsCustomText()) {
      String error;
      TextToEditValue(EditText(), false, error, result);
    } else {
      result = FInternalValue;
    }
    if (!VarIsNumeric(result)) result = Variant(0);
  } else {
    const Variant value = EditValue();
    if (VarIsNumeric(value))
      result = value;
    else if (VarIsStr(value))
      result = properties->TryTextToValue(VarToStr(value)).value_or(Variant(0));
    else
      result = Variant(0);
  }
  return properties->ToValueType(result);
}

void TcxCustomSpinEdit::WriteValue(const Variant& AValue) {
  if (!VarIsNumeric(AValue)) return;
  Variant value = AValue;
  if (ActiveProperties()->IsEditValueValid(value, Focused())) SetInternalEditValue(value);
}

void TcxCustomSpinEdit::ValueToText(const Variant& AValue, String& AText) {
  Variant display;
  ActiveProperties()->PrepareDisplayValue(AValue, display, Focused());
  AText = VarToStr(display);
}

void TcxCustomSpinEdit::StoreEditValue(const Variant& AValue) {
  inherited::StoreEditValue(AValue);
  Variant value = AValue;
  if (ActiveProperties()->IsEditValueValid(value, false) && VarIsNumeric(value)) FInternalValue = value;
}

void TcxCustomSpinEdit::SyncDisplayValue() {
  TcxCustomSpinEditProperties* properties = ActiveProperties();
  Variant value = EditValue();
  if (properties->IsEditValueValid(value, Focused()) && VarIsNumeric(value))
    FInternalValue = value;
  else
    properties->ClampToBounds(Variant(0), FInternalValue);
  // The program's value, not the user's text: no custom text of its own.
  const bool saved = FIsCustomTextAction;
  FIsCustomTextAction = false;
  ++FSyncCount;
  TryFinally([this] { inherited::SyncDisplayValue(); },
             [&] {
               --FSyncCount;
               FIsCustomTextAction = saved;
             });
  FIsCustomText = false;
}

void TcxCustomSpinEdit::ApplyDisplayValue(const Variant& AValue) {
  ++FSyncCount;
  TryFinally([&] { inherited::ApplyDisplayValue(AValue); }, [this] { --FSyncCount; });
  FIsCustomText = false;
  Variant value;
  String error;
  if (TextToEditValue(VarToStr(AValue), false, error, value)) inherited::StoreEditValue(value);
}

void TcxCustomSpinEdit::HandleContentChanged() {
  if (FSyncCount == 0) FIsCustomText = FIsCustomTextAction;
  inherited::HandleContentChanged();
}

void TcxCustomSpinEdit::PropertiesChanged(TObject* Sender) {
  inherited::PropertiesChanged(Sender);
  if (!DataBinding()->DefaultValuesProvider()->IsDataStorage() && ModifiedAfterEnter()) ApplyEditorValueBounds();
}

void TcxCustomSpinEdit::ApplyEditorValueBounds() {
  Variant value = Value(), clamped;
  ActiveProperties()->ClampToBounds(value, clamped);
  if (!VariantsEqual(value, clamped)) SetValue(clamped);
}

TOwned<TcxCustomEditViewData> TcxCustomSpinEdit::CreateEditViewData() {
  TOwned<TcxCustomEditViewData> result = inherited::CreateEditViewData();
  if (auto* data = dynamic_cast<TcxSpinEditViewData*>(result.get())) data->PressedState = FPressedState;
  return result;
}

TClass TcxCustomSpinEdit::GetAccessibilityHelperClass() { return TdxSpinEditAccessibilityHelper::ClassInfo(); }

// -- stepping

double TcxCustomSpinEdit::GetIncrementValue(TcxSpinEditButton AButton) {
  TcxCustomSpinEditProperties* properties = ActiveProperties();
  double result = 0;
  switch (AButton) {
    case sebBackward: result = -properties->Increment(); break;
    case sebForward: result = properties->Increment(); break;
    case sebFastBackward: result = -properties->LargeIncrement(); break;
    case sebFastForward: result = properties->LargeIncrement(); break;
    default: throw EdxException(L"TcxCustomSpinEditProperties.GetIncrement fails");
  }
  if (properties->ValueType() == vtInt) result = static_cast<double>(cxSpinRoundToInt64(result));
  return result;
}

bool TcxCustomSpinEdit::AddIncrement(Variant& AValue, double AIncrement) {
  TcxCustomSpinEditProperties* properties = ActiveProperties();
  Variant minimum, maximum;
  properties->GetMinValueAsVariant(minimum);
  properties->GetMaxValueAsVariant(maximum);
  return cxSpinEditAddIncrement(AValue, AIncrement, minimum, maximum, properties->ValueType(),
                                properties->GetBoundsMode());
}

bool TcxCustomSpinEdit::GetNewValue(TcxSpinEditButton AButton, Variant& AValue) {
  TcxCustomSpinEditProperties* properties = ActiveProperties();
  if (IsRightToLeft()) {
    const bool stacked = properties->SpinButtons()->Position() == sbpVert;
    switch (AButton) {
      case sebBackward: if (!stacked) AButton = sebForward; break;
      case sebForward: if (!stacked) AButton = sebBackward; break;
      case sebFastBackward: AButton = sebFastForward; break;
      case sebFastForward: AButton = sebFastBackward; break;
    }
  }
  AValue = Value();
  const int mode = properties->GetBoundsMode();
  Variant minimum, maximum;
  properties->GetMinValueAsVariant(minimum);
  properties->GetMaxValueAsVariant(maximum);
  const bool isInt = properties->ValueType() == vtInt;
  const bool below = isInt ? AValue.AsInt64() < minimum.AsInt64() : AValue.AsDouble() < minimum.AsDouble();
  const bool above = isInt ? AValue.AsInt64() > maximum.AsInt64() : AValue.AsDouble() > maximum.AsDouble();
  if (below) {
    if (IsUpButton(AButton))
      AValue = minimum;
    else if (mode == cxSpinBoundsCircular)
      AValue = maximum;
    else
      return false;
  } else if (above) {
    if (!IsUpButton(AButton))
      AValue = maximum;
    else if (mode == cxSpinBoundsCircular)
      AValue = minimum;
    else
      return false;
  } else if (!AddIncrement(AValue, GetIncrementValue(AButton))) {
    return false;
  }
  AValue = properties->ToValueType(AValue);
  return true;
}

bool TcxCustomSpinEdit::Increment(TcxSpinEditButton AButton) {
  bool result = false;
  LockChangeEvents(true);
  TryFinally(
      [&] {
        if (!DoEditing()) return;
        Variant value;
        if (!GetNewValue(AButton, value)) return;
        const String oldText = EditText();
        String text;
        ValueToText(value, text);
        const int selStart = SelStart();
        const int selLength = SelLength();
        FInternalValue = ActiveProperties()->ToValueType(value);
        ApplyDisplayValue(Variant(text));
        result = text != oldText;
        if (!result) return;
        SetModifiedAfterEnter(true);
        if (ActiveProperties()->KeepsSelectionOnStep()) {
          SetSelStart(selStart);
          SetSelLength(selLength);
        } else {
          SetSelStart(static_cast<int>(text.size()));
          SetSelLength(0);
        }
        if (ActiveProperties()->ImmediatePost() && CanPostEditValue() && ValidateByOptions(false)) {
          PostEditValue();
          SyncDisplayValue();
        }
      },
      [this] { LockChangeEvents(false); });
  return result;
}

// -- keyboard

void TcxCustomSpinEdit::ProcessKeyDown(WORD& Key, TShiftState Shift) {
  TcxCustomSpinEditProperties* properties = ActiveProperties();
  const bool stepKey = Key == VK_UP || Key == VK_DOWN || Key == VK_PRIOR || Key == VK_NEXT;
  if (stepKey && (!properties->UseCtrlIncrement() || Shift.Contains(ssCtrl))) {
    BeginUserAction();
    TryFinally(
        [&] {
          if (DataBinding()->Modified() || DoEditing()) {
            TcxSpinEditButton button = sebBackward;
            switch (Key) {
              case VK_PRIOR: button = sebFastForward; break;
              case VK_UP: button = sebForward; break;
              case VK_DOWN: button = sebBackward; break;
              default: button = sebFastBackward; break;
            }
            FPressedState = static_cast<TcxSpinEditPressedState>(button + 1);
            ShortRefreshContainer(false);
            if (TWinControl* inner = InnerControl(); inner && inner->HandleAllocated() && GetCapture() == inner->Handle())
              ReleaseCapture();
            Increment(button);
          }
        },
        [this] { EndUserAction(); });
    Key = 0;
    return;
  }
  StopTracking();
  if (Key != VK_ESCAPE) FIsCustomTextAction = true;
  if (!properties->CanEdit() && IsEditingKey(Key, Shift)) {
    DoAfterKeyDown(Key, Shift);
    Key = 0;
    return;
  }
  inherited::ProcessKeyDown(Key, Shift);
}

void TcxCustomSpinEdit::ProcessKeyUp(WORD& Key, TShiftState Shift) {
  FIsCustomTextAction = false;
  if (Key == VK_UP || Key == VK_DOWN || Key == VK_PRIOR || Key == VK_NEXT) StopTracking();
  inherited::ProcessKeyUp(Key, Shift);
}

bool TcxCustomSpinEdit::IsEditingKey(WORD Key, TShiftState Shift) {
  if (Key == VK_DELETE || Key == VK_BACK) return true;
  if (Key == VK_INSERT && Shift.Contains(ssShift)) return true;
  return Shift.Contains(ssCtrl) && (Key == 'V' || Key == 'X');
}

void TcxCustomSpinEdit::ProcessKeyPress(wchar_t& Key) {
  if (Key == L'.' || Key == L',') Key = FormatSettings.DecimalSeparator;
  WORD type = 0;
  const bool control = GetStringTypeW(CT_CTYPE1, &Key, 1, &type) && (type & C1_CNTRL) != 0;
  if ((!control || Key == VK_BACK) && !IsValidInputChar(Key)) {
    Key = 0;
    EditErrorBeep();
    return;
  }
  FIsCustomTextAction = true;
  inherited::ProcessKeyPress(Key);
}

bool TcxCustomSpinEdit::IsValidInputChar(wchar_t Key) {
  TcxCustomSpinEditProperties* properties = ActiveProperties();
  WORD type = 0;
  const bool control = GetStringTypeW(CT_CTYPE1, &Key, 1, &type) && (type & C1_CNTRL) != 0;
  if (!properties->CanEdit()) return control && Key != VK_BACK;
  if (properties->OnGetValue()) return true;
  if (control) return true;
  if (Key == L'-' || Key == L'+' || (Key >= L'0' && Key <= L'9') || Key == L'e' || Key == L'E') return true;
  return properties->ValueType() == vtFloat && Key == FormatSettings.DecimalSeparator;
}

// -- mouse

void TcxCustomSpinEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TControlTracker alive(this);
  inherited::MouseDown(Button, Shift, X, Y);
  if (alive.Alive() && ButtonAtPoint(TPoint(X, Y)) == -1) StopTracking();
}

void TcxCustomSpinEdit::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TControlTracker alive(this);
  inherited::MouseUp(Button, Shift, X, Y);
  if (alive.Alive()) StopTracking();
}

bool TcxCustomSpinEdit::DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) {
  if (inherited::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  if (WheelDelta == 0 || !CanUseMouseWheel(Shift)) return false;
  BeginUserAction();
  TryFinally([&] { Increment(WheelDelta > 0 ? sebForward : sebBackward); }, [this] { EndUserAction(); });
  return true;
}

void TcxCustomSpinEdit::PressButton(int AIndex) {
  inherited::PressButton(AIndex);
  TcxCustomEditViewInfo* info = ViewInfo();
  if (FPressedState != epsNone || AIndex < 0 || AIndex >= static_cast<int>(info->ButtonsInfo.size()) ||
      info->PressedButton == -1)
    return;
  const auto button = static_cast<TcxSpinEditButton>(info->ButtonsInfo[AIndex]->ButtonIndex);
  const TControlTracker alive(this);
  BeginUserAction();
  TryFinally([&] { Increment(button); }, [&] {
    if (alive.Alive()) EndUserAction();
  });
  if (!alive.Alive() || ActiveProperties()->ReadOnly() || !DataBinding()->IsDataAvailable()) return;
  FTimerButton = button;
  FTimer.reset(New<TcxTimer>(static_cast<TComponent*>(nullptr)));
  FTimer->SetInterval(RepeatFirstDelay);
  FTimer->SetOnTimer(BindEvent<&TcxCustomSpinEdit::TimerTick>(this));
}

void TcxCustomSpinEdit::TimerTick(TObject*) {
  if (FTimer->Interval() != RepeatInterval) FTimer->SetInterval(RepeatInterval);
  TcxCustomEditViewInfo* info = ViewInfo();
  const int pressed = info->PressedButton;
  if (pressed < 0 || pressed >= static_cast<int>(info->ButtonsInfo.size()) ||
      info->ButtonsInfo[pressed]->ButtonIndex != FTimerButton)
    return;
  BeginUserAction();
  TryFinally([&] { Increment(FTimerButton); }, [this] { EndUserAction(); });
}

void TcxCustomSpinEdit::StopTracking() {
  // Freed after the tick that may be running has returned to the timer.
  if (FTimer) {
    FTimer->SetEnabled(false);
    TOwned<TcxTimer> timer = std::move(FTimer);
    timer.release()->Free();
  }
  TcxCustomEditViewInfo* info = ViewInfo();
  for (int i = 0; info && i < static_cast<int>(info->ButtonsInfo.size()) && i < 2; ++i)
    if (info->ButtonsInfo[i]->Data.State == ebsPressed) info->ButtonsInfo[i]->Data.State = ebsNormal;
  ResetCaptureButton();
  if (FPressedState != epsNone) {
    FPressedState = epsNone;
    if (HandleAllocated()) ShortRefreshContainer(false);
  }
  if (HandleAllocated() && MouseCapture()) SetMouseCapture(false);
}

void TcxCustomSpinEdit::EditFocusChanged() {
  StopTracking();
  inherited::EditFocusChanged();
}

// -- clipboard

void TcxCustomSpinEdit::ClearSelection() {
  if (Focused() && !ActiveProperties()->CanEdit()) return;
  AsCustomTextAction([this] { inherited::ClearSelection(); });
}

void TcxCustomSpinEdit::CutToClipboard() {
  if (Focused() && !ActiveProperties()->CanEdit()) return;
  AsCustomTextAction([this] { inherited::CutToClipboard(); });
}

void TcxCustomSpinEdit::PasteFromClipboard() {
  if (Focused() && !ActiveProperties()->CanEdit()) return;
  AsCustomTextAction([this] { inherited::PasteFromClipboard(); });
}

// ---------------------------------------------------------------------------
// TcxSpinEdit

void TcxSpinEdit::Publish(TPublisher<TcxSpinEdit>& P) {
  P.Property(L"Properties", &TcxSpinEdit::Properties, &TcxSpinEdit::SetProperties);
  P.Property(L"Value", &TcxSpinEdit::Value, &TcxSpinEdit::SetValue).Stored(&TcxSpinEdit::IsValueStored);
}

bool TcxSpinEdit::IsValueStored() const {
  const Variant value = const_cast<TcxSpinEdit*>(this)->Value();
  return !VarIsNumeric(value) || value.AsDouble() != 0;
}

// ---------------------------------------------------------------------------
// TdxSpinEditAccessibilityHelper

String TdxSpinEditAccessibilityHelper::GetValue(int) {
  auto* edit = dynamic_cast<TcxCustomSpinEdit*>(Edit());
  return edit ? VarToStr(edit->Value()) : String();
}

// ---------------------------------------------------------------------------
// TcxFilterSpinEditHelper

TcxFilterControlOperators TcxFilterSpinEditHelper::TMeta::GetSupportedFilterOperators(TcxCustomEditProperties*,
                                                                                      TcxValueTypeClass,
                                                                                      bool AExtendedSet) const {
  TcxFilterControlOperators result{fcoEqual, fcoNotEqual, fcoLess, fcoLessEqual, fcoGreater, fcoGreaterEqual,
                                   fcoBlanks, fcoNonBlanks};
  if (AExtendedSet) result.Include(fcoBetween).Include(fcoNotBetween).Include(fcoInList).Include(fcoNotInList);
  return result;
}

void TcxFilterSpinEditHelper::TMeta::InitializeProperties(TcxCustomEditProperties* AProperties,
                                                          TcxCustomEditProperties* AEditProperties,
                                                          bool AHasButtons) const {
  TcxFilterMaskEditHelper::TMeta::InitializeProperties(AProperties, AEditProperties, AHasButtons);
  if (auto* spin = dynamic_cast<TcxCustomSpinEditProperties*>(AProperties)) spin->SetCanEdit(true);
}

// ---------------------------------------------------------------------------
// Start-up and shut-down

void cxSpinEditInitialization() {
  GetRegisteredEditProperties()->Register(TcxSpinEditProperties::ClassInfo(),
                                          LoadLocalizedResString(&scxSEditRepositorySpinItem));
  GetFilterEditsController()->Register(TcxSpinEditProperties::ClassInfo(), TcxFilterSpinEditHelper::ClassInfo());
}

void cxSpinEditFinalization() {
  if (FilterEditsControllerExists())
    GetFilterEditsController()->Unregister(TcxSpinEditProperties::ClassInfo(), TcxFilterSpinEditHelper::ClassInfo());
}
