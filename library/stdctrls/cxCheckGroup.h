// The check group: a button group of check boxes, one per item, whose edit
// value packs the states of all items in one of the check-state value
// formats.
//
// Classes in this file:
//   TcxCheckGroupItem, TcxCheckGroupItems      the items
//   TcxCustomCheckGroupProperties,
//   TcxCheckGroupProperties                    settings and value conversion
//   TcxCheckGroupButtonViewInfo                one cell of the grid, with its state
//   TcxCheckGroupViewInfo                      paint record: marks and captions
//   TcxCheckGroupViewData                      the grid calculation
//   TcxCheckGroupButtonProperties,
//   TcxCheckGroupButtonViewData,
//   TcxCheckGroupCheckButtonViewInfo,
//   TcxCheckGroupButton                        the inner check box
//   TcxCustomCheckGroup, TcxCheckGroup         the control
#pragma once

#include "library/stdctrls/cxCheckBox.h"
#include "library/stdctrls/cxGroupBox.h"

class TcxCustomCheckGroup;

// ---------------------------------------------------------------------------
// Items

class TcxCheckGroupItem : public TcxButtonGroupItem {
  SK_CLASS(TcxCheckGroupItem, TcxButtonGroupItem)
 public:
  static void Publish(TPublisher<TcxCheckGroupItem>& P);
  // An item the value format cannot hold is refused before it joins.
  void Create(TCollection* ACollection) override;
};

class TcxCheckGroupItems : public TcxButtonGroupItems {
  SK_CLASS(TcxCheckGroupItems, TcxButtonGroupItems)
 public:
  TcxCheckGroupItem* Add() { return static_cast<TcxCheckGroupItem*>(inherited::Add()); }
  TcxCheckGroupItem* GetItem(int AIndex) const { return static_cast<TcxCheckGroupItem*>(Items(AIndex)); }
  void SetItem(int AIndex, TcxCheckGroupItem* AValue) { SetItems(AIndex, AValue); }
};

// ---------------------------------------------------------------------------
// TcxCustomCheckGroupProperties

class TcxCustomCheckGroupProperties : public TcxCustomButtonGroupProperties {
  SK_CLASS(TcxCustomCheckGroupProperties, TcxCustomButtonGroupProperties)
 public:
  void Create(TPersistent* AOwner) override;
  void Destroy() override;

  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool AValue);
  // A format under which the items no longer fit is refused: the old one
  // stays and EdxException is raised.
  TcxCheckStatesValueFormat EditValueFormat() const { return FEditValueFormat; }
  void SetEditValueFormat(TcxCheckStatesValueFormat AValue);
  TdxSmartGlyph* Glyph() const { return FGlyph.get(); }
  void SetGlyph(TdxSmartGlyph* AValue) { FGlyph->Assign(AValue); }
  int GlyphCount() const { return FGlyphCount; }
  void SetGlyphCount(int AValue);
  TcxCheckGroupItems* Items() const { return static_cast<TcxCheckGroupItems*>(inherited::Items()); }
  void SetItems(TcxCheckGroupItems* AValue) { inherited::SetItems(AValue); }
  TcxValueToCheckStatesEvent OnEditValueToStates() const { return FOnEditValueToStates; }
  void SetOnEditValueToStates(TcxValueToCheckStatesEvent AValue) { FOnEditValueToStates = AValue; }
  TcxCheckStatesToValueEvent OnStatesToEditValue() const { return FOnStatesToEditValue; }
  void SetOnStatesToEditValue(TcxCheckStatesToValueEvent AValue) { FOnStatesToEditValue = AValue; }

  // cvfCustom when both conversion events are assigned, else EditValueFormat.
  TcxCheckStatesValueFormatEx EffectiveValueFormat() const;
  String GetGlyphPartName(int AIndex) const { return GetCheckGlyphPartName(AIndex); }

  // AEdit is the standalone group, nil in place.
  virtual void EditValueToStates(TObject* AEdit, const Variant& AValue, TcxCheckStates& AStates);
  virtual void StatesToEditValue(TObject* AEdit, const TcxCheckStates& AStates, Variant& AValue);

  TOwned<TcxButtonGroupItems> CreateItems() override;
  void CopyFrom(TcxCustomEditProperties* ASource) override;
  bool CompareDisplayValues(const Variant& AEditValue1, const Variant& AEditValue2) override;
  String GetDisplayText(const Variant& AEditValue, bool AFullText = false, bool AIsInplace = true) override;
  TClass GetContainerClass() override;
  TClass GetViewDataClassType() override;
  TClass GetViewInfoClass() override;
  // Raises EdxException when AFormat cannot hold ACount items: cvfInteger
  // packs at most 64.
  void CheckItemCount(TcxCheckStatesValueFormatEx AFormat, int ACount) const;

 private:
  void GlyphChanged(TObject*) { Changed(); }

  bool FAllowGrayed = false;
  TcxCheckStatesValueFormat FEditValueFormat = cvfIndices;
  TOwned<TdxSmartGlyph> FGlyph;
  int FGlyphCount = 6;
  TcxValueToCheckStatesEvent FOnEditValueToStates;
  TcxCheckStatesToValueEvent FOnStatesToEditValue;
};

class TcxCheckGroupProperties : public TcxCustomCheckGroupProperties {
  SK_CLASS(TcxCheckGroupProperties, TcxCustomCheckGroupProperties)
 public:
  static void Publish(TPublisher<TcxCheckGroupProperties>& P);
};

// ---------------------------------------------------------------------------
// Paint record and layout

class TcxCheckGroupButtonViewInfo : public TcxButtonGroupButtonViewInfo {
  SK_CLASS(TcxCheckGroupButtonViewInfo, TcxButtonGroupButtonViewInfo)
 public:
  void Assign(TPersistent* ASource) override;
  TcxCheckBoxState State = cbsUnchecked;
};

class TcxCheckGroupViewInfo : public TcxButtonGroupViewInfo {
  SK_CLASS(TcxCheckGroupViewInfo, TcxButtonGroupViewInfo)
 public:
  TClass GetButtonViewInfoClass() const override { return TcxCheckGroupButtonViewInfo::ClassInfo(); }
  void DrawButtonCaption(TcxCanvas* ACanvas, TcxGroupBoxButtonViewInfo* AButtonViewInfo,
                         const TRect& AGlyphRect) override;
  void DrawButtonGlyph(TcxCanvas* ACanvas, TcxGroupBoxButtonViewInfo* AButtonViewInfo,
                       const TRect& AGlyphRect) override;
  bool IsButtonGlyphTransparent(TcxGroupBoxButtonViewInfo*) override { return Transparent; }

  TcxCustomCheckGroup* Edit() const;

  TcxEditBorderStyle CheckBorderStyle = ebsUltraFlat;
  TdxSmartGlyph* Glyph = nullptr;
  int GlyphCount = 0;
};

class TcxCheckGroupViewData : public TcxButtonGroupViewData {
  SK_CLASS(TcxCheckGroupViewData, TcxButtonGroupViewData)
 public:
  TcxCustomCheckGroupProperties* Properties() const {
    return static_cast<TcxCustomCheckGroupProperties*>(inherited::Properties());
  }
  void Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, TcxMouseButton Button, TShiftState Shift,
                 TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  void EditValueToDrawValue(const Variant& AEditValue, TcxCustomEditViewInfo* AViewInfo) override;
  void GetButtonMetrics(bool AHasWidth, TcxCanvas* ACanvas, TcxButtonGroupMetrics& AMetrics) override;
  void GetCaptionExtent(TRect& ARect) override;

 private:
  TSize CheckMarkSize();
};

// ---------------------------------------------------------------------------
// The inner check box

class TcxCheckGroupButtonProperties : public TcxCheckBoxProperties {
  SK_CLASS(TcxCheckGroupButtonProperties, TcxCheckBoxProperties)
 public:
  TdxSmartGlyph* InternalGetGlyph() override;
  bool IsGroupButton() override { return true; }
  TClass GetViewDataClassType() override;
  TClass GetViewInfoClass() override;
};

class TcxCheckGroupButtonViewData : public TcxCustomCheckBoxViewData {
  SK_CLASS(TcxCheckGroupButtonViewData, TcxCustomCheckBoxViewData)
 protected:
  // The group around it draws the frame.
  void AdjustContentExtent(TRect& AExtent) override { AExtent = TRect(); }
};

class TcxCheckGroupCheckButtonViewInfo : public TcxCustomCheckBoxViewInfo {
  SK_CLASS(TcxCheckGroupCheckButtonViewInfo, TcxCustomCheckBoxViewInfo)
};

class TcxCheckGroupButton : public TcxCustomCheckBox {
  SK_CLASS(TcxCheckGroupButton, TcxCustomCheckBox)
 public:
  TClass GetPropertiesClass() override { return TcxCheckGroupButtonProperties::ClassInfo(); }
  TcxCheckGroupButtonProperties* ActiveProperties() {
    return static_cast<TcxCheckGroupButtonProperties*>(TcxCustomEdit::ActiveProperties());
  }
  TcxCheckGroupButtonProperties* Properties() const {
    return static_cast<TcxCheckGroupButtonProperties*>(InternalProperties());
  }
  TcxCustomCheckGroup* CheckGroup() const;

  int Column() const { return FColumn; }
  int Row() const { return FRow; }
  bool UsesNativeStyle() override;

 protected:
  friend class TcxCustomCheckGroup;
  void InitializeEdit() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void DoExit() override;
  bool CanAutoSize() override { return false; }
  bool NeedsWindowRegion() override { return true; }
  void UpdateTransparentBorder();

 private:
  int FColumn = 0;
  int FRow = 0;
};

// ---------------------------------------------------------------------------
// TcxCustomCheckGroup

class TcxCustomCheckGroup : public TcxCustomButtonGroup {
  SK_CLASS(TcxCustomCheckGroup, TcxCustomButtonGroup)
 public:
  TcxCustomCheckGroupProperties* ActiveProperties() {
    return static_cast<TcxCustomCheckGroupProperties*>(TcxCustomEdit::ActiveProperties());
  }
  TcxCustomCheckGroupProperties* Properties() const {
    return static_cast<TcxCustomCheckGroupProperties*>(InternalProperties());
  }
  void SetProperties(TcxCustomCheckGroupProperties* AValue) { InternalProperties()->Assign(AValue); }
  TClass GetPropertiesClass() override { return TcxCustomCheckGroupProperties::ClassInfo(); }
  TcxCheckGroupViewInfo* ViewInfo() const { return static_cast<TcxCheckGroupViewInfo*>(inherited::ViewInfo()); }

  // The state of inner button AIndex.
  TcxCheckBoxState GetState(int AIndex);
  void SetState(int AIndex, TcxCheckBoxState AValue);
  TcxCheckGroupButton* CheckButton(int AIndex) const { return static_cast<TcxCheckGroupButton*>(Button(AIndex)); }
  bool StatesItems() const { return FStatesItems; }
  void SetStatesItems(bool AValue) { FStatesItems = AValue; }
  // The inner button the group focuses when it gets the focus; -1 none.
  int FocusedItemIndex() const { return FFocusedItemIndex; }
  // The group itself or one of its buttons has the focus.
  bool IsGroupFocused();

  void SetFocus() override;
  void GetTabOrderList(std::vector<TWinControl*>& AList) override;
  void FocusAndSelect() override;

 protected:
  friend class TcxCheckGroupButton;
  void InitializeEdit() override;
  bool IsEditValueStored() const override;
  void SyncDisplayValue() override;
  void SetTextPreservingModified(const String& AText) override;
  void ApplyEditValue(const Variant& AValue) override;
  void PropertiesChanged(TObject* Sender) override;
  bool HandlesNavigationKeys() override { return !IsInplace(); }

  TWinControl* CreateButton() override;
  HDC GetButtonDC(int AIndex) override;
  void ArrangeButtons() override;
  void UpdateButtons() override;
  void UpdateButtonStyles() override;

  virtual void ClearButtonsModified();

 private:
  // The group or nil in place: what the conversions get as AEdit.
  TObject* ConversionEdit();
  void RebuildEditValueFromButtons();
  int FindFocusableButton(int AStart);
  // Moves the focus from AButton to the previous or next enabled button,
  // wrapping around.
  void FocusAdjacentButton(TcxCheckGroupButton* AButton, bool AForward);
  void HandleButtonStateChange(TObject* Sender);
  void HandleButtonEditing(TObject* Sender, bool& CanEdit);
  void HandleButtonFocusChange(TObject* Sender);

  bool FButtonStatesChanging = false;
  int FFocusedItemIndex = -1;
  bool FStatesItems = false;
};

class TcxCheckGroup : public TcxCustomCheckGroup {
  SK_CLASS(TcxCheckGroup, TcxCustomCheckGroup)
 public:
  static void Publish(TPublisher<TcxCheckGroup>& P);
  TClass GetPropertiesClass() override { return TcxCheckGroupProperties::ClassInfo(); }
  TcxCheckGroupProperties* Properties() const { return static_cast<TcxCheckGroupProperties*>(InternalProperties()); }
  void SetProperties(TcxCheckGroupProperties* AValue) { InternalProperties()->Assign(AValue); }
  TcxCheckGroupProperties* ActiveProperties() {
    return static_cast<TcxCheckGroupProperties*>(TcxCustomEdit::ActiveProperties());
  }
};

// Unit start-up and shut-down: the properties class with the editor
// repository, the classes by name.
void cxCheckGroupInitialization();
void cxCheckGroupFinalization();
