#include "library/editors/cxDropDownEdit.h"

// ---------------------------------------------------------------------------
// TcxCustomComboBoxProperties

void TcxCustomComboBoxProperties::Publish(TPublisher<TcxCustomComboBoxProperties>& P) {
  P.Property(L"DropDownListStyle", &TcxCustomComboBoxProperties::DropDownListStyle,
             &TcxCustomComboBoxProperties::SetDropDownListStyle)
      .Default(lsEditList);
  P.Property(L"Items", &TcxCustomComboBoxProperties::Items, &TcxCustomComboBoxProperties::SetItems);
}

void TcxCustomComboBoxProperties::Create(TcxComboBox* ACombo) { FCombo = ACombo; }

void TcxCustomComboBoxProperties::Assign(TPersistent* ASource) {
  if (auto* source = dynamic_cast<TcxCustomComboBoxProperties*>(ASource)) {
    SetDropDownListStyle(source->FDropDownListStyle);
    Items()->Assign(source->Items());
    return;
  }
  inherited::Assign(ASource);
}

void TcxCustomComboBoxProperties::SetDropDownListStyle(TcxEditDropDownListStyle AValue) {
  if (FDropDownListStyle == AValue) return;
  FDropDownListStyle = AValue;
  FCombo->ApplyListStyle(AValue);
}

TStrings* TcxCustomComboBoxProperties::Items() const { return FCombo->Items(); }

TPersistent* TcxCustomComboBoxProperties::GetOwner() { return FCombo; }

// ---------------------------------------------------------------------------
// TcxComboBox

void TcxComboBox::Publish(TPublisher<TcxComboBox>& P) {
  P.Property(L"Properties", &TcxComboBox::Properties, &TcxComboBox::SetProperties);
  PublishStyles(P);
}

void TcxComboBox::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  CreateStyles(this, BindEvent<&TcxComboBox::StyleChanged>(this));
  FProperties.reset(New<TcxComboBoxProperties>(this));
  ApplyListStyle(FProperties->DropDownListStyle());
  SetWidth(121);
}

void TcxComboBox::Destroy() {
  FProperties.reset();
  inherited::Destroy();
}

void TcxComboBox::ApplyListStyle(TcxEditDropDownListStyle AValue) {
  // The native box has no "typed text must match an item" mode: both typing
  // styles take its edit part, the fixed list its list-only form.
  inherited::SetStyle(AValue == lsFixedList ? csDropDownList : csDropDown);
}

void TcxComboBox::StyleChanged(TObject*) { ApplyStyleFont(Font()); }

void cxDropDownEditInitialization() {
  RegisterClasses({TcxComboBox::ClassInfo(), TcxComboBoxProperties::ClassInfo()});
}
