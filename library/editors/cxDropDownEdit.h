// The combo box.
//
// Classes in this file:
//   TcxEditDropDownListStyle        how much of the text the user may type
//   TcxCustomComboBoxProperties, TcxComboBoxProperties   the combo box's settings
//   TcxComboBox                     the combo box
//
// This is the minimal form of the combo box: the class with the properties
// the main window and its form description use (Properties.DropDownListStyle
// and Properties.Items, Style.HotTrack, Style.ButtonTransparency, the four
// state styles' LookAndFeel, Text, ItemIndex), built over the class
// library's native combo box, which draws and handles input itself.
#pragma once

#include "library/editors/edit/cxEdit.h"
#include "platform/ui/StdCtrls.h"

// lsEditFixedList: typing, with the text meant to be one of the items;
// lsEditList: any text; lsFixedList: only a choice from the list.
enum TcxEditDropDownListStyle { lsEditFixedList, lsEditList, lsFixedList };
template <>
struct TEnumInfo<TcxEditDropDownListStyle> {
  static constexpr const wchar_t* Name = L"TcxEditDropDownListStyle";
  static constexpr const wchar_t* Names[] = {L"lsEditFixedList", L"lsEditList", L"lsFixedList"};
  static constexpr TcxEditDropDownListStyle Last = lsFixedList;
};

class TcxComboBox;

class TcxCustomComboBoxProperties : public TPersistent {
  SK_CLASS(TcxCustomComboBoxProperties, TPersistent)
 public:
  static void Publish(TPublisher<TcxCustomComboBoxProperties>& P);

  // The properties of ACombo, which keeps the items.
  void Create(TcxComboBox* ACombo);
  void Assign(TPersistent* ASource) override;

  TcxEditDropDownListStyle DropDownListStyle() const { return FDropDownListStyle; }
  void SetDropDownListStyle(TcxEditDropDownListStyle AValue);
  // The item list (the combo box's own).
  TStrings* Items() const;
  void SetItems(TStrings* AValue) { Items()->Assign(AValue); }

 protected:
  TPersistent* GetOwner() override;

 private:
  TcxComboBox* FCombo;
  TcxEditDropDownListStyle FDropDownListStyle = lsEditList;
};

class TcxComboBoxProperties : public TcxCustomComboBoxProperties {
  SK_CLASS(TcxComboBoxProperties, TcxCustomComboBoxProperties)
};

class TcxComboBox : public TCustomComboBox, public TcxEditStylesOwner {
  SK_CLASS(TcxComboBox, TCustomComboBox)
 public:
  static void Publish(TPublisher<TcxComboBox>& P);

  void Create(TComponent* AOwner) override;
  void Destroy() override;

  TcxComboBoxProperties* Properties() const { return FProperties.get(); }
  void SetProperties(TcxComboBoxProperties* AValue) { FProperties->Assign(AValue); }
  // The state styles, not the combo box's window style.
  using TcxEditStylesOwner::Style;
  using TcxEditStylesOwner::SetStyle;

 private:
  friend class TcxCustomComboBoxProperties;
  void ApplyListStyle(TcxEditDropDownListStyle AValue);
  void StyleChanged(TObject* Sender);

  TOwned<TcxComboBoxProperties> FProperties;
};

// Unit start-up: registers the classes by name.
void cxDropDownEditInitialization();
