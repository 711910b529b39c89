// The settings of text editors: formats, letter case, echo mode, lookup
// items, and the conversions from edit values to display texts.
#include "library/core/data/cxVariants.h"
#include "library/editors/edit/cxEditConsts.h"
#include "library/editors/text/cxTextEdit.h"
#include "platform/classes/Filer.h"
#include "platform/runtime/FMTBcd.h"

#include <cmath>
#include <limits>

namespace {

String TextInCharCase(String AText, TEditCharCase ACharCase) {
  ApplyCharCase(AText, ACharCase);
  return AText;
}

// What the editor counts as focus: always focused for kinds that do not
// depend on it.
bool IsEditInternalFocused(TcxCustomEdit* AEdit) {
  return !AEdit->ActiveProperties()->DependsOnFocus() || AEdit->Focused();
}

[[noreturn]] void RaiseNumericValueConvertError() {
  throw EConvertError(LoadLocalizedResString(&cxSEditNumericValueConvertError));
}

// A numeric value, or a string holding a number, as a double.
bool TryVariantToDouble(const Variant& AValue, double& AResult) {
  if (VarIsStr(AValue)) return TryStrToFloat(VarToStr(AValue), AResult);
  if (!VarIsNumericOrBcd(AValue)) return false;
  AResult = VarIsFMTBcd(AValue) ? VarAsType(AValue, varDouble).AsDouble() : AValue.AsDouble();
  return true;
}

double NumericValueOf(const Variant& AValue) {
  double result = 0;
  if (!TryVariantToDouble(AValue, result)) RaiseNumericValueConvertError();
  return result;
}

int UnitStartCount = 0;

}  // namespace

// ---------------------------------------------------------------------------
// Numeric text helpers

bool TryTextToExtended(const String& AText, double& AValue) {
  const String separator(1, FormatSettings.DecimalSeparator);
  if (AText == separator || AText == L"-" + separator) {
    AValue = 0;
    return true;
  }
  return TryStrToFloat(AText, AValue);
}

bool TryTextToDouble(const String& AText, double& AValue) {
  String text = AText;
  std::erase(text, FormatSettings.ThousandSeparator);
  double value = 0;
  if (TryTextToExtended(text, value)) {
    const double magnitude = std::fabs(value);
    if (value == 0 || (magnitude >= std::numeric_limits<double>::min() &&
                       magnitude <= std::numeric_limits<double>::max())) {
      AValue = value;
      return true;
    }
  }
  AValue = 0;
  return AText.empty();
}

// ---------------------------------------------------------------------------
// TcxTextEditPropertiesValues

void TcxTextEditPropertiesValues::Publish(TPublisher<TcxTextEditPropertiesValues>& P) {
  P.Property(L"DisplayFormat", &TcxTextEditPropertiesValues::DisplayFormat,
             &TcxTextEditPropertiesValues::SetDisplayFormat)
      .Stored(&TcxTextEditPropertiesValues::IsDisplayFormatStored);
  P.Property(L"EditFormat", &TcxTextEditPropertiesValues::EditFormat, &TcxTextEditPropertiesValues::SetEditFormat)
      .Stored(&TcxTextEditPropertiesValues::IsEditFormatStored);
  P.Property(L"MaxLength", &TcxTextEditPropertiesValues::MaxLength, &TcxTextEditPropertiesValues::SetMaxLength)
      .Stored(false);
  P.Property(L"MaxValue", &TcxTextEditPropertiesValues::MaxValue, &TcxTextEditPropertiesValues::SetMaxValue)
      .Stored(&TcxTextEditPropertiesValues::IsMaxValueStored);
  P.Property(L"MinValue", &TcxTextEditPropertiesValues::MinValue, &TcxTextEditPropertiesValues::SetMinValue)
      .Stored(&TcxTextEditPropertiesValues::IsMinValueStored);
  P.Property(L"ReadOnly", &TcxTextEditPropertiesValues::ReadOnly, &TcxTextEditPropertiesValues::SetReadOnly)
      .Stored(false);
}

void TcxTextEditPropertiesValues::Assign(TPersistent* ASource) {
  auto* source = dynamic_cast<TcxTextEditPropertiesValues*>(ASource);
  if (!source) {
    inherited::Assign(ASource);
    return;
  }
  TextOwner()->UpdateBracket([&] {
    inherited::Assign(ASource);
    SetDisplayFormat(source->FDisplayFormat);
    SetEditFormat(source->FEditFormat);
    SetMaxLength(source->FMaxLength);
  });
}

void TcxTextEditPropertiesValues::RestoreDefaults() {
  TextOwner()->UpdateBracket([this] {
    inherited::RestoreDefaults();
    SetDisplayFormat(false);
    SetEditFormat(false);
    SetMaxLength(false);
  });
}

void TcxTextEditPropertiesValues::SetDisplayFormat(bool AValue) {
  if (FDisplayFormat == AValue) return;
  FDisplayFormat = AValue;
  TextOwner()->Changed();
}

void TcxTextEditPropertiesValues::SetEditFormat(bool AValue) {
  if (FEditFormat == AValue) return;
  FEditFormat = AValue;
  TextOwner()->Changed();
}

void TcxTextEditPropertiesValues::SetMaxLength(bool AValue) {
  if (FMaxLength == AValue) return;
  FMaxLength = AValue;
  TextOwner()->MaxLengthChanged();
}

TcxCustomTextEditProperties* TcxTextEditPropertiesValues::TextOwner() const {
  return static_cast<TcxCustomTextEditProperties*>(const_cast<TcxTextEditPropertiesValues*>(this)->GetOwner());
}

bool TcxTextEditPropertiesValues::IsFlagStored(bool AFlag, const wchar_t* AName, bool AOwnerValueEmpty) const {
  return AFlag && AOwnerValueEmpty && GetPropInfo(TextOwner()->ClassType(), AName) != nullptr;
}

bool TcxTextEditPropertiesValues::IsDisplayFormatStored() const {
  return IsFlagStored(FDisplayFormat, L"DisplayFormat", TextOwner()->DisplayFormat().empty());
}

bool TcxTextEditPropertiesValues::IsEditFormatStored() const {
  return IsFlagStored(FEditFormat, L"EditFormat", TextOwner()->EditFormat().empty());
}

bool TcxTextEditPropertiesValues::IsMaxValueStored() const {
  return IsFlagStored(MaxValue(), L"MaxValue", TextOwner()->MaxValue() == 0);
}

bool TcxTextEditPropertiesValues::IsMinValueStored() const {
  return IsFlagStored(MinValue(), L"MinValue", TextOwner()->MinValue() == 0);
}

// ---------------------------------------------------------------------------
// TcxCustomTextEditProperties

void TcxCustomTextEditProperties::Create(TPersistent* AOwner) {
  inherited::Create(AOwner);
  FIncrementalFilteringOptions = GetDefaultIncrementalFilteringOptions();
  FLookupItems.reset(New<TStringList>());
  FLookupItems->SetDuplicates(dupAccept);
  FLookupItems->SetOnChange(BindEvent<&TcxCustomTextEditProperties::LookupItemsChanged>(this));
  if (TcxFormatController* controller = FormatController()) controller->AddListener(this);
}

void TcxCustomTextEditProperties::Destroy() {
  if (TcxFormatController* controller = FormatController()) controller->RemoveListener(this);
  FLookupItems.reset();
  inherited::Destroy();
}

bool TcxCustomTextEditProperties::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IcxFormatControllerListener>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
}

void TcxCustomTextEditProperties::DefineProperties(TFiler* AFiler) {
  inherited::DefineProperties(AFiler);
  // Read from older forms, never written.
  AFiler->DefineProperty(
      L"IsDisplayFormatAssigned", [this](TReader* AReader) { ReadIsDisplayFormatAssigned(AReader); }, nullptr,
      false);
}

void TcxCustomTextEditProperties::ReadIsDisplayFormatAssigned(TReader* AReader) {
  AssignedValues()->SetDisplayFormat(AReader->ReadBoolean());
}

// Properties

void TcxCustomTextEditProperties::SetAlignment(TcxEditAlignment* AValue) {
  UpdateBracket([&] { inherited::SetAlignment(AValue); });
}

void TcxCustomTextEditProperties::AlignmentChanged(TObject* Sender) {
  UpdateBracket([&] { inherited::AlignmentChanged(Sender); });
}

void TcxCustomTextEditProperties::SetCharCase(TEditCharCase AValue) { SetTextField(FCharCase, AValue); }

String TcxCustomTextEditProperties::DisplayFormat() {
  if (AssignedValues()->DisplayFormat()) return FDisplayFormat;
  if (TcxCustomEditDefaultValuesProvider* provider = DefaultValuesProvider()) {
    const String format = provider->DefaultDisplayFormat();
    if (!format.empty()) return format;
  }
  return GetDefaultDisplayFormat();
}

void TcxCustomTextEditProperties::SetDisplayFormat(const String& AValue) {
  if (AssignedValues()->DisplayFormat() && FDisplayFormat == AValue) return;
  UpdateBracket([&] {
    AssignedValues()->SetDisplayFormat(true);
    FDisplayFormat = AValue;
    Changed();
  });
}

bool TcxCustomTextEditProperties::IsDisplayFormatStored() const { return AssignedValues()->DisplayFormat(); }

void TcxCustomTextEditProperties::SetEchoMode(TcxEditEchoMode AValue) { SetTextField(FEchoMode, AValue); }

String TcxCustomTextEditProperties::EditFormat() {
  bool isCurrency = false;
  String format;
  GetEditFormatInfo(isCurrency, format);
  return format;
}

void TcxCustomTextEditProperties::SetEditFormat(const String& AValue) {
  if (AssignedValues()->EditFormat() && FEditFormat == AValue) return;
  UpdateBracket([&] {
    AssignedValues()->SetEditFormat(true);
    FEditFormat = AValue;
    Changed();
  });
}

bool TcxCustomTextEditProperties::IsEditFormatStored() const { return AssignedValues()->EditFormat(); }

void TcxCustomTextEditProperties::SetHideSelection(bool AValue) { SetTextField(FHideSelection, AValue); }

void TcxCustomTextEditProperties::SetImeMode(TImeMode AValue) { SetTextField(FImeMode, AValue); }

void TcxCustomTextEditProperties::SetImeName(const String& AValue) { SetTextField(FImeName, AValue); }

void TcxCustomTextEditProperties::SetIncrementalFilteringOptions(TcxTextEditIncrementalFilteringOptions AValue) {
  FIncrementalFilteringOptions = AValue;
}

bool TcxCustomTextEditProperties::IsIncrementalFilteringOptionsStored() const {
  return !(FIncrementalFilteringOptions ==
           const_cast<TcxCustomTextEditProperties*>(this)->GetDefaultIncrementalFilteringOptions());
}

void TcxCustomTextEditProperties::SetIncrementalSearch(bool AValue) { SetTextField(FIncrementalSearch, AValue); }

TStrings* TcxCustomTextEditProperties::LookupItems() const { return FLookupItems.get(); }

void TcxCustomTextEditProperties::SetLookupItems(TStrings* AValue) { FLookupItems->Assign(AValue); }

bool TcxCustomTextEditProperties::LookupItemsSorted() const { return FLookupItems->Sorted(); }

void TcxCustomTextEditProperties::SetLookupItemsSorted(bool AValue) { FLookupItems->SetSorted(AValue); }

int TcxCustomTextEditProperties::MaxLength() {
  return AssignedValues()->MaxLength() ? FMaxLength : GetDefaultMaxLength();
}

void TcxCustomTextEditProperties::SetMaxLength(int AValue) {
  const int value = std::max(AValue, 0);
  if (AssignedValues()->MaxLength() && FMaxLength == value) return;
  // The flag reports MaxLengthChanged itself when it turns on; the value
  // must be in place by then.
  FMaxLength = value;
  if (AssignedValues()->MaxLength())
    MaxLengthChanged();
  else
    AssignedValues()->SetMaxLength(true);
}

bool TcxCustomTextEditProperties::IsMaxLengthStored() const { return AssignedValues()->MaxLength(); }

int TcxCustomTextEditProperties::GetDefaultMaxLength() {
  TcxCustomEditDefaultValuesProvider* provider = DefaultValuesProvider();
  return provider ? provider->DefaultMaxLength() : 0;
}

void TcxCustomTextEditProperties::SetNullstring(const String& AValue) { SetTextField(FNullstring, AValue); }

void TcxCustomTextEditProperties::SetOEMConvert(bool AValue) { SetTextField(FOEMConvert, AValue); }

void TcxCustomTextEditProperties::SetPasswordChar(wchar_t AValue) { SetTextField(FPasswordChar, AValue); }

void TcxCustomTextEditProperties::SetShowPasswordRevealButton(bool AValue) {
  if (FShowPasswordRevealButton == AValue) return;
  FShowPasswordRevealButton = AValue;
  if (!AValue) {
    if (FPasswordRevealButtonIndex >= 0 && FPasswordRevealButtonIndex < Buttons()->Count())
      Buttons()->Delete(FPasswordRevealButtonIndex);
    FPasswordRevealButtonIndex = -1;
    return;
  }
  if (FPasswordRevealButtonIndex >= 0) return;
  UpdateBracket([this] {
    TcxEditButton* button = Buttons()->Add();
    button->SetIndex(0);
    button->SetKind(bkGlyph);
    button->SetVisible(FEchoMode == eemPassword);
    FPasswordRevealButtonIndex = button->Index();
  });
}

void TcxCustomTextEditProperties::SetUseDisplayFormatWhenEditing(bool AValue) {
  SetTextField(FUseDisplayFormatWhenEditing, AValue);
}

void TcxCustomTextEditProperties::SetUseNullString(bool AValue) { SetTextField(FUseNullString, AValue); }

TcxTextEditViewStyle TcxCustomTextEditProperties::ViewStyle() const {
  switch (ButtonsViewStyle()) {
    case bvsButtonsOnly: return vsButtonsOnly;
    case bvsButtonsAutoWidth: return vsButtonsAutoWidth;
    default: return FHideCursor ? vsHideCursor : vsNormal;
  }
}

void TcxCustomTextEditProperties::SetViewStyle(TcxTextEditViewStyle AValue) {
  if (ViewStyle() == AValue) return;
  UpdateBracket([&] {
    switch (AValue) {
      case vsButtonsOnly: SetButtonsViewStyle(bvsButtonsOnly); break;
      case vsButtonsAutoWidth: SetButtonsViewStyle(bvsButtonsAutoWidth); break;
      default: SetButtonsViewStyle(bvsNormal); break;
    }
    SetTextField(FHideCursor, AValue != vsNormal);
  });
}

// Operations

void TcxCustomTextEditProperties::SetPasswordRevealButtonPressed(bool APressed) {
  FIsPasswordRevealButtonPressed = APressed;
  SetEchoMode(APressed ? eemNormal : eemPassword);
}

bool TcxCustomTextEditProperties::UpdatePasswordRevealButton(bool AHasText) {
  if (!FShowPasswordRevealButton || FPasswordRevealButtonIndex < 0 ||
      FPasswordRevealButtonIndex >= Buttons()->Count())
    return false;
  TcxEditButton* button = Buttons()->Items(FPasswordRevealButtonIndex);
  const bool visible = AHasText && (FIsPasswordRevealButtonPressed || FEchoMode == eemPassword);
  if (button->Visible() == visible) return false;
  button->SetVisible(visible);
  if (!visible && FIsPasswordRevealButtonPressed) SetPasswordRevealButtonPressed(false);
  return true;
}

bool TcxCustomTextEditProperties::IsIncrementalSearchActive() {
  const TcxEditEditingStyle style = GetEditingStyle();
  return (style == esEdit && FIncrementalSearch) || style == esEditList || style == esFixedList;
}

bool TcxCustomTextEditProperties::IsNullStringCase(const Variant& AValue) {
  return FUseNullString && VarIsNull(AValue);
}

void TcxCustomTextEditProperties::MaskDisplayText(bool ANativeStyle, String& AText) {
  if (FEchoMode == eemPassword) {
    wchar_t mask = FPasswordChar;
    if (mask == 0) {
      const TcxInnerTextEditSystemProbe& probe = cxInnerTextEditSystemProbe();
      mask = ANativeStyle && probe.IsWin7OrLater() && probe.AreThemesActive() ? L'\x25CF' : L'*';
    }
    AText.assign(AText.size(), mask);
  }
  DisplayValueToDisplayText(AText);
}

bool TcxCustomTextEditProperties::UsesLookupData() { return GetLookupDataClassType() != nullptr; }

bool TcxCustomTextEditProperties::IsIncrementalFilteringActive() {
  const TcxEditEditingStyle style = GetEditingStyle();
  return FIncrementalFiltering && (style == esEditList || style == esFixedList);
}

bool TcxCustomTextEditProperties::IsValueBoundDefined(int AKind) {
  const bool minAssigned = AssignedValues()->MinValue();
  const bool maxAssigned = AssignedValues()->MaxValue();
  if (minAssigned == maxAssigned) return MaxValue() > MinValue();
  return AKind == 0 ? minAssigned : maxAssigned;
}

bool TcxCustomTextEditProperties::HasValueBounds() { return IsValueBoundDefined(0) || IsValueBoundDefined(1); }

// Overridables

void TcxCustomTextEditProperties::FormatSettingsChanged() {
  FFormatChanging = true;
  const TScopeExit done([this] { FFormatChanging = false; });
  Changed();
}

void TcxCustomTextEditProperties::CheckValueBounds(const Variant& AValue, String& AErrorText, TcxCustomEdit*,
                                                   bool& AError) {
  if (!VarIsNumericOrBcd(AValue) && !VarIsDateValue(AValue)) return;
  const double value = VarIsDateValue(AValue) ? static_cast<double>(AValue.AsDateTime()) : NumericValueOf(AValue);
  if ((IsValueBoundDefined(0) && value < MinValue()) || (IsValueBoundDefined(1) && value > MaxValue())) {
    AError = true;
    AErrorText = DefaultValidationErrorText(1);
  }
}

void TcxCustomTextEditProperties::ValidateValueBounds(const Variant& ADisplayValue, String& AErrorText,
                                                      TcxCustomEdit* AEdit, bool& AError) {
  Variant editValue;
  AEdit->PrepareEditValue(ADisplayValue, editValue, IsEditInternalFocused(AEdit));
  CheckValueBounds(editValue, AErrorText, AEdit, AError);
}

void TcxCustomTextEditProperties::FormatDisplayValue(const Variant& AEditValue, Variant& ADisplayValue,
                                                     bool AEditFocused) {
  if (!IsValueNumeric()) {
    if (VarIsArray(AEditValue) && VarArrayDimCount(AEditValue) != 1)
      ADisplayValue = Variant(String());
    else
      ADisplayValue = Variant(ConvertVariantToUnicode(AEditValue));
    return;
  }
  if (VarIsNullOrEmptyString(AEditValue)) {
    ADisplayValue = Variant(String());
    return;
  }
  if (!VarIsNumericOrBcd(AEditValue) && !VarIsStr(AEditValue)) RaiseNumericValueConvertError();
  const String text = VarToStr(AEditValue);
  if (!AEditFocused) {
    const String format = DisplayFormat();
    ADisplayValue = Variant(format.empty() ? text : FormatFloat(format, NumericValueOf(AEditValue)));
    return;
  }
  bool isCurrency = false;
  String format;
  GetEditFormatInfo(isCurrency, format);
  TcxCustomEditDefaultValuesProvider* provider = DefaultValuesProvider();
  const int precision = provider ? provider->DefaultPrecision() : 15;
  double value = 0;
  if (isCurrency)
    ADisplayValue = Variant(TryVariantToDouble(AEditValue, value)
                                ? FloatToStrF(value, ffFixed, precision, FormatSettings.CurrencyDecimals)
                                : text);
  else if (!format.empty())
    ADisplayValue = Variant(FormatFloat(format, NumericValueOf(AEditValue)));
  else
    ADisplayValue =
        Variant(TryVariantToDouble(AEditValue, value) ? FloatToStrF(value, ffGeneral, precision, 0) : text);
}

bool TcxCustomTextEditProperties::FindLookupItem(const String& AText) {
  for (int i = 0; i < FLookupItems->Count(); ++i)
    if (AnsiSameText(FLookupItems->Strings(i), AText)) return true;
  return false;
}

TClass TcxCustomTextEditProperties::GetLookupDataClassType() { return TcxCustomTextEditLookupData::ClassInfo(); }

void TcxCustomTextEditProperties::GetEditFormatInfo(bool& AIsCurrency, String& AFormat) {
  AIsCurrency = false;
  AFormat.clear();
  if (AssignedValues()->EditFormat()) {
    AFormat = FEditFormat;
    return;
  }
  TcxCustomEditDefaultValuesProvider* provider = DefaultValuesProvider();
  if (provider) {
    AFormat = provider->DefaultEditFormat();
    if (!AFormat.empty()) return;
  }
  if (AssignedValues()->DisplayFormat())
    AFormat = DisplayFormat();
  else if (provider && !provider->DefaultDisplayFormat().empty())
    AFormat = provider->DefaultDisplayFormat();
  else if (!GetDefaultDisplayFormat().empty())
    AFormat = GetDefaultDisplayFormat();
  else if (provider)
    AIsCurrency = !QueryDisplayFormatOptions().Contains(dfoNoCurrencyValue) && provider->IsCurrency();
  if (!FUseDisplayFormatWhenEditing) AFormat.clear();
}

void TcxCustomTextEditProperties::DisplayValueToDisplayText(String& AText) {
  if (FEchoMode == eemNormal) ApplyCharCase(AText, FCharCase);
}

bool TcxCustomTextEditProperties::IsDisplayValueValid(Variant& ADisplayValue, bool) {
  const String text = VarToStr(ADisplayValue);
  if (text.empty()) return true;
  const TcxEditEditingStyle style = GetEditingStyle();
  if ((style == esEditList || style == esFixedList) && UsesLookupData() && !FindLookupItem(text)) return false;
  ADisplayValue = Variant(TextInCharCase(text, FCharCase));
  return true;
}

void TcxCustomTextEditProperties::EditValueToDisplayValue(const Variant& AEditValue, bool AEditFocused,
                                                          Variant& ADisplayValue) {
  Variant value = AEditValue;
  if (IsEditValueValid(value, AEditFocused))
    PrepareDisplayValue(AEditValue, ADisplayValue, AEditFocused);
  else if (VarIsDateValue(AEditValue))
    ADisplayValue = Variant(DateTimeToStr(AEditValue.AsDateTime()));
  else
    ADisplayValue = Variant(VarToStr(AEditValue));
}

// TcxCustomEditProperties

void TcxCustomTextEditProperties::CopyFrom(TcxCustomEditProperties* ASource) {
  inherited::CopyFrom(ASource);
  auto* source = dynamic_cast<TcxCustomTextEditProperties*>(ASource);
  if (!source) return;
  SetCharCase(source->CharCase());
  SetEchoMode(source->EchoMode());
  if (FFixedListSelection != source->FFixedListSelection) {
    FFixedListSelection = source->FFixedListSelection;
    if (GetEditingStyle() == esFixedList) Changed();
  }
  SetTextField(FHideCursor, source->FHideCursor);
  SetHideSelection(source->HideSelection());
  SetImmediateUpdateText(source->ImmediateUpdateText());
  SetIncrementalSearch(source->IncrementalSearch());
  SetIncrementalFiltering(source->IncrementalFiltering());
  SetIncrementalFilteringOptions(source->IncrementalFilteringOptions());
  SetUseNullString(source->UseNullString());
  SetNullstring(source->Nullstring());
  SetValidChars(source->ValidChars());
  SetLookupItemsSorted(false);
  SetLookupItems(source->LookupItems());
  SetLookupItemsSorted(source->LookupItemsSorted());
  AssignedValues()->SetDisplayFormat(false);
  if (source->AssignedValues()->DisplayFormat()) SetDisplayFormat(source->DisplayFormat());
  AssignedValues()->SetEditFormat(false);
  if (source->AssignedValues()->EditFormat()) SetEditFormat(source->FEditFormat);
  AssignedValues()->SetMaxLength(false);
  if (source->AssignedValues()->MaxLength()) SetMaxLength(source->MaxLength());
  SetOEMConvert(source->OEMConvert());
  SetImeMode(source->ImeMode());
  SetImeName(source->ImeName());
  SetPasswordChar(source->PasswordChar());
  FPasswordRevealButtonIndex = source->FPasswordRevealButtonIndex;
  SetShowPasswordRevealButton(source->ShowPasswordRevealButton());
  SetUseDisplayFormatWhenEditing(source->UseDisplayFormatWhenEditing());
  SetOnNewLookupDisplayText(source->OnNewLookupDisplayText());
}

String TcxCustomTextEditProperties::DefaultValidationErrorText(int AErrorKind) {
  if (AErrorKind == 1) return LoadLocalizedResString(&cxSEditValueOutOfBounds);
  return inherited::DefaultValidationErrorText(AErrorKind);
}

TClass TcxCustomTextEditProperties::GetViewDataClassType() { return TcxCustomTextEditViewData::ClassInfo(); }

TClass TcxCustomTextEditProperties::GetViewInfoClass() { return TcxCustomTextEditViewInfo::ClassInfo(); }

TClass TcxCustomTextEditProperties::GetContainerClass() { return TcxCustomTextEdit::ClassInfo(); }

bool TcxCustomTextEditProperties::CompareDisplayValues(const Variant& AEditValue1, const Variant& AEditValue2) {
  return GetDisplayText(AEditValue1, true) == GetDisplayText(AEditValue2, true);
}

String TcxCustomTextEditProperties::GetDisplayText(const Variant& AEditValue, bool, bool AIsInplace) {
  String text;
  if (IsValueFormattedByProvider()) {
    text = VarToStr(AEditValue);
  } else {
    Variant display;
    EditValueToDisplayValue(AEditValue, !AIsInplace && !DependsOnFocus(), display);
    text = VarToStr(display);
  }
  DisplayValueToDisplayText(text);
  return text;
}

TcxEditSupportedOperations TcxCustomTextEditProperties::GetSupportedOperations() {
  TcxEditSupportedOperations result = inherited::GetSupportedOperations() +
                                      TcxEditSupportedOperations{esoAutoHeight, esoEditing, esoFiltering,
                                                                 esoHorzAlignment, esoIncSearch, esoSorting};
  if (Buttons()->Count() == 0 && FEchoMode == eemNormal) result.Include(esoEditingAutoHeight);
  return result;
}

bool TcxCustomTextEditProperties::IsEditValueValid(Variant& AEditValue, bool AEditFocused) {
  if (VarIsNull(AEditValue) || !VarIsStr(AEditValue)) return true;
  return IsDisplayValueValid(AEditValue, AEditFocused);
}

void TcxCustomTextEditProperties::PrepareDisplayValue(const Variant& AEditValue, Variant& ADisplayValue,
                                                      bool AEditFocused) {
  if (IsNullValue(AEditValue) && FUseNullString && !AEditFocused && !IsOwnerDesigning())
    ADisplayValue = Variant(FNullstring);
  else
    FormatDisplayValue(AEditValue, ADisplayValue, AEditFocused);
}

void TcxCustomTextEditProperties::ValidateDisplayValue(Variant& ADisplayValue, String& AErrorText, bool& AError,
                                                       TcxCustomEdit* AEdit) {
  if (IsValueNumeric() && HasValueBounds()) ValidateValueBounds(ADisplayValue, AErrorText, AEdit, AError);
  inherited::ValidateDisplayValue(ADisplayValue, AErrorText, AError, AEdit);
}

TcxEditValueSource TcxCustomTextEditProperties::GetEditValueSource(bool AEditFocused) {
  if (AEditFocused || !FUseNullString) return evsText;
  return inherited::GetEditValueSource(AEditFocused);
}

// ---------------------------------------------------------------------------
// TcxTextEditProperties

void TcxTextEditProperties::Publish(TPublisher<TcxTextEditProperties>& P) {
  using T = TcxTextEditProperties;
  P.Property(L"Alignment", &T::Alignment, &T::SetAlignment).Stored(&T::IsAlignmentStored);
  P.Property(L"AssignedValues", &T::AssignedValues, &T::SetAssignedValues);
  P.Property(L"AutoSelect", &T::AutoSelect, &T::SetAutoSelect).Default(true);
  P.Property(L"BeepOnError", &T::BeepOnError, &T::SetBeepOnError).Default(false);
  P.Property(L"CharCase", &T::CharCase, &T::SetCharCase).Default(ecNormal);
  P.Property(L"ClearKey", &T::ClearKey, &T::SetClearKey).Default(0);
  P.Property(L"EchoMode", &T::EchoMode, &T::SetEchoMode).Default(eemNormal);
  P.Property(L"HideSelection", &T::HideSelection, &T::SetHideSelection).Default(true);
  P.Property(L"ImeMode", &T::ImeMode, &T::SetImeMode).Default(imDontCare);
  P.Property(L"ImeName", &T::ImeName, &T::SetImeName);
  P.Property(L"IncrementalSearch", &T::IncrementalSearch, &T::SetIncrementalSearch).Default(true);
  P.Property(L"LookupItems", &T::LookupItems, &T::SetLookupItems);
  P.Property(L"LookupItemsSorted", &T::LookupItemsSorted, &T::SetLookupItemsSorted).Default(false);
  P.Property(L"MaxLength", &T::MaxLength, &T::SetMaxLength).Stored(&T::IsMaxLengthStored);
  P.Property(L"Nullstring", &T::Nullstring, &T::SetNullstring);
  P.Property(L"OEMConvert", &T::OEMConvert, &T::SetOEMConvert).Default(false);
  P.Property(L"PasswordChar", &T::PasswordChar, &T::SetPasswordChar).Default(0);
  P.Property(L"ReadOnly", &T::ReadOnly, &T::SetReadOnly).Stored(&T::IsReadOnlyAssigned);
  P.Property(L"ShowPasswordRevealButton", &T::ShowPasswordRevealButton, &T::SetShowPasswordRevealButton)
      .Default(false);
  P.Property(L"UseLeftAlignmentOnEditing", &T::UseLeftAlignmentOnEditing, &T::SetUseLeftAlignmentOnEditing)
      .Default(true);
  P.Property(L"UseNullString", &T::UseNullString, &T::SetUseNullString).Default(false);
  P.Property(L"ValidateOnEnter", &T::ValidateOnEnter, &T::SetValidateOnEnter).Default(false);
  P.Property(L"ValidationErrorIconAlignment", &T::ValidationErrorIconAlignment, &T::SetValidationErrorIconAlignment)
      .Default(taLeftJustify);
  P.Property(L"ValidationOptions", &T::ValidationOptions, &T::SetValidationOptions)
      .Default(TcxEditValidationOptions{evoRaiseException});
  P.Property(L"OnChange", &T::OnChange, &T::SetOnChange);
  P.Property(L"OnEditValueChanged", &T::OnEditValueChanged, &T::SetOnEditValueChanged);
  P.Property(L"OnNewLookupDisplayText", &T::OnNewLookupDisplayText, &T::SetOnNewLookupDisplayText);
  P.Property(L"OnValidate", &T::OnValidate, &T::SetOnValidate);
}

// ---------------------------------------------------------------------------
// TcxFilterTextEditHelper

TClass TcxFilterTextEditHelper::TMeta::GetFilterEditClass() const { return TcxCustomTextEdit::ClassInfo(); }

void TcxFilterTextEditHelper::TMeta::InitializeProperties(TcxCustomEditProperties* AProperties,
                                                          TcxCustomEditProperties* AEditProperties,
                                                          bool AHasButtons) const {
  TcxCustomFilterEditHelper::TMeta::InitializeProperties(AProperties, AEditProperties, AHasButtons);
  auto* properties = static_cast<TcxCustomTextEditProperties*>(AProperties);
  properties->SetAutoSelect(true);
  properties->SetHideSelection(true);
  properties->SetViewStyle(vsNormal);
}

void TcxFilterTextEditHelper::TMeta::SetFilterValue(TcxCustomEdit* AEdit, TcxCustomEditProperties*,
                                                    const Variant& AValue) const {
  AEdit->SetEditValue(AValue);
}

// ---------------------------------------------------------------------------
// The unit's start-up and shut-down

void cxTextEditInitialization() {
  if (UnitStartCount++ != 0) return;
  cxTextEditRegisterClasses();
  GetRegisteredEditProperties()->Register(TcxTextEditProperties::ClassInfo(),
                                          LoadLocalizedResString(&scxSEditRepositoryTextItem));
  GetFilterEditsController()->Register(TcxTextEditProperties::ClassInfo(), TcxFilterTextEditHelper::ClassInfo());
}

void cxTextEditFinalization() {
  if (--UnitStartCount != 0) return;
  if (FilterEditsControllerExists())
    GetFilterEditsController()->Unregister(TcxTextEditProperties::ClassInfo(), TcxFilterTextEditHelper::ClassInfo());
}
