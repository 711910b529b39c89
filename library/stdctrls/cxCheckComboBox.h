// The check combo box: a fixed-list combo box whose popup list shows a
// check mark before every item. Toggling a row changes the value, which
// packs the states of all items in one Variant; the edit area shows the
// checked items joined by a delimiter.
//
// Classes in this file:
//   TcxCheckComboBoxItem, TcxCheckComboBoxItems   the items with a short description
//   TcxCheckPaintHelper                  row geometry and the next state of a toggle
//   TcxCustomCheckComboBoxProperties, TcxCheckComboBoxProperties
//   TcxCustomCheckComboBoxViewData       the edit area's text from a value
//   TcxCustomCheckComboBox, TcxCheckComboBox      the editor and its states
//   TcxCheckComboBoxLookupData           the lookup over the items
//   TcxCustomCheckComboBoxListBox        the check list in the popup (cxCheckComboBox_List.cpp)
//   TdxCheckComboBoxListBoxAccessibilityHelper, TdxCheckComboBoxListBoxToggleProvider
//                                        the rows as check items to MSAA and UI Automation
//   TcxFilterChecksHelper, TcxFilterCheckComboBoxHelper   the editor in a filter row
#pragma once

#include "library/editors/dropdown/cxDropDownEdit.h"
#include "library/stdctrls/cxCheckBox.h"
#include "library/stdctrls/cxGroupBox.h"

class TcxCustomCheckComboBox;
class TcxCustomCheckComboBoxListBox;
class TcxCustomCheckComboBoxProperties;

// (Sender, ItemIndex, var AllowToggle)
using TcxCheckComboClickCheckEvent = Delegate<void(TObject*, int, bool&)>;

// ---------------------------------------------------------------------------
// Items

class TcxCheckComboBoxItem : public TcxButtonGroupItem {
  SK_CLASS(TcxCheckComboBoxItem, TcxButtonGroupItem)
 public:
  // Refuses to join check combo items that a cvfInteger value could no
  // longer hold: nothing is added and the item-count error is raised.
  void Create(TCollection* ACollection) override;
  void Assign(TPersistent* ASource) override;

  const String& Description() const { return Caption(); }
  void SetDescription(const String& AValue) { SetCaption(AValue); }
  const String& ShortDescription() const { return FShortDescription; }
  void SetShortDescription(const String& AValue);
  // The short text when there is one.
  virtual String DisplayDescription();

 private:
  String FShortDescription;
};

class TcxCheckComboBoxItems : public TcxButtonGroupItems {
  SK_CLASS(TcxCheckComboBoxItems, TcxButtonGroupItems)
 public:
  TcxCheckComboBoxItem* Add() { return static_cast<TcxCheckComboBoxItem*>(TCollection::Add()); }
  TcxCheckComboBoxItem* AddCheckItem(const String& ADescription, const String& AShortDescription = String());
  TcxCheckComboBoxItem* GetItems(int AIndex) const { return static_cast<TcxCheckComboBoxItem*>(Items(AIndex)); }
  void SetItems(int AIndex, TcxCheckComboBoxItem* AValue) { TCollection::SetItems(AIndex, AValue); }
  // A source with more items than a cvfInteger owner holds is refused
  // before anything changes.
  void Assign(TPersistent* ASource) override;
  TcxCustomCheckComboBoxProperties* CheckProperties() const;
};

// ---------------------------------------------------------------------------
// TcxCheckPaintHelper

class TcxCheckPaintHelper : public TcxOwnedPersistent {
  SK_CLASS(TcxCheckPaintHelper, TcxOwnedPersistent)
 public:
  void Create(TPersistent* AOwner) override;
  void Destroy() override;

  TcxCustomEditStyle* Style() const { return FStyle.get(); }
  TdxSmartGlyph* Glyph() const { return FGlyph; }
  int GlyphCount() const { return FGlyphCount; }
  void SetGlyph(TdxSmartGlyph* AGlyph, int ACount) {
    FGlyph = AGlyph;
    FGlyphCount = ACount;
  }

  // Checked for unchecked; unchecked for checked and grayed.
  virtual TcxCheckBoxState GetNextState(TcxCheckBoxState AState);
  // The row without the square the mark takes at its start.
  virtual TRect GetTextRect(const TRect& ARowRect, TcxCheckBoxState AState);
  virtual TPoint GetCheckPosition(const TRect& ARect);
  virtual int GetCheckSize() { return 13; }

 private:
  TOwned<TcxCustomEditStyle> FStyle;
  TdxSmartGlyph* FGlyph = nullptr;
  int FGlyphCount = 0;
};

// ---------------------------------------------------------------------------
// Properties

class TcxCustomCheckComboBoxProperties : public TcxCustomComboBoxProperties {
  SK_CLASS(TcxCustomCheckComboBoxProperties, TcxCustomComboBoxProperties)
 public:
  void Create(TPersistent* AOwner) override;
  void Destroy() override;

  // Kept for stored forms; the list never makes an item grayed.
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool AValue) { FAllowGrayed = AValue; }
  TcxCheckPaintHelper* CheckPaintHelper() const { return FCheckPaintHelper.get(); }
  const String& Delimiter() const { return FDelimiter; }
  void SetDelimiter(const String& AValue);
  bool IsDelimiterStored() const { return FDelimiter != L";"; }
  TcxCheckStatesValueFormat EditValueFormat() const { return FEditValueFormat; }
  // A change to cvfInteger with more than 64 items is refused (the item-count error).
  void SetEditValueFormat(TcxCheckStatesValueFormat AValue);
  const String& EmptySelectionText() const { return FEmptySelectionText; }
  void SetEmptySelectionText(const String& AValue);
  bool IsEmptySelectionTextStored() const;
  TdxSmartGlyph* Glyph() const { return FGlyph.get(); }
  void SetGlyph(TdxSmartGlyph* AValue) { FGlyph->Assign(AValue); }
  int GlyphCount() const { return FGlyphCount; }
  void SetGlyphCount(int AValue);
  // Hides the combo box's string items: the check items.
  TcxCheckComboBoxItems* Items() const { return FItems.get(); }
  void SetItems(TcxCheckComboBoxItems* AValue);
  bool ShowEmptyText() const { return FShowEmptyText; }
  void SetShowEmptyText(bool AValue);

  TcxCheckComboClickCheckEvent OnClickCheck() const { return FOnClickCheck; }
  void SetOnClickCheck(TcxCheckComboClickCheckEvent AValue) { FOnClickCheck = AValue; }
  TcxValueToCheckStatesEvent OnEditValueToStates() const { return FOnEditValueToStates; }
  void SetOnEditValueToStates(TcxValueToCheckStatesEvent AValue) { FOnEditValueToStates = AValue; }
  TcxCheckStatesToValueEvent OnStatesToEditValue() const { return FOnStatesToEditValue; }
  void SetOnStatesToEditValue(TcxCheckStatesToValueEvent AValue) { FOnStatesToEditValue = AValue; }

  // cvfCustom when both conversion events are assigned.
  TcxCheckStatesValueFormatEx EffectiveValueFormat() const;
  // Raises the item-count error when a cvfInteger value (AFormat) could
  // not hold ACount items.
  void CheckItemCount(int ACount, TcxCheckStatesValueFormatEx AFormat) const;
  void CheckItemCount() const { CheckItemCount(FItems->Count(), EffectiveValueFormat()); }

  virtual void EditValueToStates(TObject* Sender, const Variant& AValue, TcxCheckStates& AStates);
  virtual void StatesToDisplayText(const TcxCheckStates& AStates, String& AText);
  virtual void StatesToEditValue(TObject* Sender, const TcxCheckStates& AStates, Variant& AValue);

  // TcxCustomEditProperties
  void CopyFrom(TcxCustomEditProperties* ASource) override;
  TClass GetContainerClass() override;
  TClass GetViewDataClassType() override;
  TClass GetLookupDataClassType() override;
  TClass GetPopupWindowClass() override;
  bool IsEditValueValid(Variant&, bool) override { return true; }
  TcxEditValueSource GetEditValueSource(bool) override { return evsValue; }
  bool HasOwnChangeNotification() override { return false; }
  void PrepareDisplayValue(const Variant& AEditValue, Variant& ADisplayValue, bool AEditFocused) override;

 private:
  void GlyphChanged(TObject*) { Changed(); }

  bool FAllowGrayed = false;
  TOwned<TcxCheckPaintHelper> FCheckPaintHelper;
  String FDelimiter = L";";
  TcxCheckStatesValueFormat FEditValueFormat = cvfInteger;
  String FEmptySelectionText;
  TOwned<TdxSmartGlyph> FGlyph;
  int FGlyphCount = 6;
  TOwned<TcxCheckComboBoxItems> FItems;
  bool FShowEmptyText = true;
  TcxCheckComboClickCheckEvent FOnClickCheck;
  TcxValueToCheckStatesEvent FOnEditValueToStates;
  TcxCheckStatesToValueEvent FOnStatesToEditValue;
};

class TcxCheckComboBoxProperties : public TcxCustomCheckComboBoxProperties {
  SK_CLASS(TcxCheckComboBoxProperties, TcxCustomCheckComboBoxProperties)
 public:
  static void Publish(TPublisher<TcxCheckComboBoxProperties>& P);
};

// ---------------------------------------------------------------------------
// View data

class TcxCustomCheckComboBoxViewData : public TcxCustomDropDownEditViewData {
  SK_CLASS(TcxCustomCheckComboBoxViewData, TcxCustomDropDownEditViewData)
 public:
  bool IsComboStyle() override { return true; }
  void ValueToDisplayText(const Variant& AEditValue, String& AText) override;
};

// ---------------------------------------------------------------------------
// The editor

class TcxCustomCheckComboBox : public TcxCustomComboBox {
  SK_CLASS(TcxCustomCheckComboBox, TcxCustomComboBox)
 public:
  TcxCustomCheckComboBoxProperties* ActiveProperties() {
    return static_cast<TcxCustomCheckComboBoxProperties*>(TcxCustomEdit::ActiveProperties());
  }
  TcxCustomCheckComboBoxProperties* Properties() const {
    return static_cast<TcxCustomCheckComboBoxProperties*>(InternalProperties());
  }
  TClass GetPropertiesClass() override { return TcxCheckComboBoxProperties::ClassInfo(); }

  // Both raise the list-index error outside the items.
  TcxCheckBoxState GetItemState(int AIndex);
  // Grayed and an unchanged state are ignored; the value follows the states.
  void SetItemState(int AIndex, TcxCheckBoxState AState);
  const TcxCheckStates& States() const { return FStates; }
  bool StatesItems() const { return FStatesItems; }
  void SetStatesItems(bool AValue) { FStatesItems = AValue; }
  Variant Value() { return GetValue(); }
  void SetValue(const Variant& AValue) { WriteValue(AValue); }
  // Moves the list's current item only.
  void SetItemIndex(int AValue);
  TcxEditBorderStyle CheckBorderStyle() const { return FCheckBorderStyle; }
  bool CheckNativeStyle() const { return FNativeStyle; }
  // The edit area's text: the checked items' descriptions.
  String CheckedText();

  // Whether the user may toggle item AItemIndex: editing allowed, every
  // OnClickCheck handler agrees, then OnEditing.
  virtual bool CanToggleItem(int AItemIndex);
  // The states changed: the value follows with its change events.
  void SyncEditValueFromDisplay() override;
  void ClosePopup(TcxEditCloseUpReason AReason) override;
  TClass GetAccessibilityHelperClass() override;
  void PrepareEditValue(const Variant& ADisplayValue, Variant& AEditValue, bool AEditFocused) override;
  // A key the filtering list's search box passes on.
  void SearchBoxKeyPress(wchar_t& Key) { KeyPress(Key); }

 protected:
  friend class TcxCustomCheckComboBoxListBox;
  friend class TdxCheckComboBoxListBoxAccessibilityHelper;

  virtual Variant GetValue() { return EditValue(); }
  virtual void WriteValue(const Variant& AValue) { SetInternalEditValue(AValue); }

  void InitializeEdit() override;
  bool IsEditValueStored() const override;
  void GetValueWhileEditing(Variant& AValue) override { AValue = EditValue(); }
  void ApplyLookupSelection(TObject*) override {}
  void SetTextPreservingModified(const String&) override {}
  String GetWindowTextValue() override;
  bool SetWindowTextValue(const String&) override { return false; }
  void SyncDisplayValue() override;
  void UpdateDrawValue() override;
  void PrepareViewDataValue(TcxCustomEditViewData* AViewData, TcxCustomEditViewInfo* AViewInfo) override;
  void PropertiesChanged(TObject* Sender) override;
  // The states, not the value, survive a change of the items.
  void RefreshDisplayTextOnPropertiesChange() override {}
  bool RefreshAtPoint(const TPoint& P, TcxMouseButton AButton, TShiftState AShift, bool AIsMouseEvent) override;
  void KeyPress(wchar_t& Key) override;
  void SetupPopupWindow() override;
  void AfterPopupOpened(TObject* Sender) override;
  void PopupLookAndFeelChanged(TObject* Sender) override;

  void UpdateCheckStyle();
  TcxCustomCheckComboBoxListBox* CheckList();

 private:
  TcxEditBorderStyle FCheckBorderStyle = ebsUltraFlat;
  bool FNativeStyle = false;
  TcxCheckStates FStates;
  bool FStatesItems = false;
};

class TcxCheckComboBox : public TcxCustomCheckComboBox {
  SK_CLASS(TcxCheckComboBox, TcxCustomCheckComboBox)
 public:
  static void Publish(TPublisher<TcxCheckComboBox>& P);
  TcxCheckComboBoxProperties* ActiveProperties() {
    return static_cast<TcxCheckComboBoxProperties*>(TcxCustomEdit::ActiveProperties());
  }
  TcxCheckComboBoxProperties* Properties() const {
    return static_cast<TcxCheckComboBoxProperties*>(InternalProperties());
  }
  void SetProperties(TcxCheckComboBoxProperties* AValue) { InternalProperties()->Assign(AValue); }
};

// The editor as a combo box to MSAA clients; its value is the shown text.
class TdxCheckComboBoxAccessibilityHelper : public TdxCustomDropDownEditAccessibilityHelper {
  SK_CLASS(TdxCheckComboBoxAccessibilityHelper, TdxCustomDropDownEditAccessibilityHelper)
 protected:
  String GetValue(int AChildID) override;
};

// ---------------------------------------------------------------------------
// Lookup data and popup

class TcxCheckComboBoxIncrementalFilteringHelper : public TcxComboBoxIncrementalFilteringHelper {
  SK_CLASS(TcxCheckComboBoxIncrementalFilteringHelper, TcxComboBoxIncrementalFilteringHelper)
 public:
  void Create(TcxComboBoxLookupData* ALookupData) override;
  // A space toggles the current row; every other key stays in the box.
  void HandleSearchKey(TObject* Sender, wchar_t& Key) override;
  void SearchEditKeyDown(TObject*, WORD&, TShiftState) override {}

 private:
  TcxComboBoxLookupData* FCheckLookupData = nullptr;
};

class TcxCheckComboBoxLookupData : public TcxComboBoxLookupData {
  SK_CLASS(TcxCheckComboBoxLookupData, TcxComboBoxLookupData)
 public:
  void TextChanged() override {}

 protected:
  TOwned<TcxComboBoxIncrementalFilteringHelper> CreateFilteringHelper() override;
  TClass GetListBoxClass() override;
  String GetItemText(int AIndex) override;
  int GetItemCount() override;

 private:
  TcxCheckComboBoxItems* CheckItems() const;
};

class TcxCheckComboBoxPopupWindow : public TcxComboBoxPopupWindow {
  SK_CLASS(TcxCheckComboBoxPopupWindow, TcxComboBoxPopupWindow)
};

// ---------------------------------------------------------------------------
// The check list (cxCheckComboBox_List.cpp)

class TcxCustomCheckComboBoxListBox : public TcxCustomComboBoxListBox, public IcxMouseTrackingCaller {
  SK_CLASS(TcxCustomCheckComboBoxListBox, TcxCustomComboBoxListBox)
 public:
  void Create(TComponent* AOwner) override;
  void Destroy() override;
  bool GetInterface(const GUID& AIID, void** AObj) override;

  int CapturedCheckIndex() const { return FCapturedCheckIndex; }
  int HotCheckIndex() const { return FHotCheckIndex; }
  int PressedCheckIndex() const { return FPressedCheckIndex; }
  TSize CheckSize() const { return FCheckSize; }
  int CheckBorderOffset() const { return FCheckBorderOffset; }

  // The mark's square in a row, grown by the ring with AInflate.
  TRect GetCheckRect(const TRect& ARowRect, bool AInflate);
  // The row under a point among the rows that exist; -1 elsewhere.
  int RowAtPoint(const TPoint& P);
  void UpdateHotAndPressedByMouse(TShiftState AShift, int X, int Y);
  // Toggles the row's item when the editor allows it.
  virtual void ToggleItem(int ARow);

  void DrawListItem(int AIndex, const TRect& ARect, TOwnerDrawState AState) override;
  bool UsesItemPadding() override;
  int GetItemHeight(int AIndex) override;
  int GetItemWidth(int AIndex) override;
  void UpdateItemLayout() override;
  TClass GetAccessibilityHelperClass() override;

  // IcxMouseTrackingCaller
  void MouseLeave() override;

 protected:
  void WndProc(TMessage& Message) override;
  void KeyPress(wchar_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) override;
  void CMMouseEnter();

  TcxCustomCheckComboBox* CheckComboBox();
  TcxCheckBoxState RowState(int ARow);
  bool IsRowEnabled(int ARow);

 private:
  void SetHotAndPressed(int AHot, int APressed);
  void InvalidateCheck(int ARow);

  int FCapturedCheckIndex = -1;
  int FCheckBorderOffset = 0;
  TSize FCheckSize;
  int FHotCheckIndex = -1;
  bool FInternalUpdate = false;
  int FPressedCheckIndex = -1;
  TOwned<TcxCanvas> FCheckCanvas;
};

// The toggle pattern of one item: the editor's SetItemState, no click-check events.
class TdxCheckComboBoxListBoxToggleProvider : public TdxToggleProvider {
 public:
  TdxCheckComboBoxListBoxToggleProvider(TcxAccessibilityHelper* AOwner, TcxCustomCheckComboBox* ACheckComboBox)
      : TdxToggleProvider(AOwner), FCheckComboBox(ACheckComboBox) {}
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int AValue) { FItemIndex = AValue; }

 protected:
  void DoToggle() override;
  int GetToggleState() override;

 private:
  TcxCustomCheckComboBox* FCheckComboBox;
  int FItemIndex = -1;
};

// Child n >= 1 is row n - 1; its name, state and toggle are those of the
// item that row shows.
class TdxCheckComboBoxListBoxAccessibilityHelper : public TdxCustomEditListBoxAccessibilityHelper {
  SK_CLASS(TdxCheckComboBoxListBoxAccessibilityHelper, TdxCustomEditListBoxAccessibilityHelper)
 public:
  void Create(TObject* AOwnerObject) override;
  void Destroy() override;

  String GetName(int AChildID) override;
  int GetState(int AChildID) override;
  bool GetPatternProvider(PATTERNID APatternID, TComPtr<IUnknown>& AProvider, int AChildID) override;

 private:
  TcxCustomCheckComboBox* CheckComboBox();
  // The item row AChildID - 1 shows, -1 for none.
  int ChildItemIndex(int AChildID);

  std::unique_ptr<TdxCheckComboBoxListBoxToggleProvider> FToggleProvider;
};

// ---------------------------------------------------------------------------
// Filter rows

class TcxFilterChecksHelper : public TcxFilterComboBoxHelper {
  SK_CLASS(TcxFilterChecksHelper, TcxFilterComboBoxHelper)
 public:
  struct TMeta : TcxFilterComboBoxHelper::TMeta {
    TClass GetFilterEditClass() const override;
    TcxFilterControlOperators GetSupportedFilterOperators(TcxCustomEditProperties* AProperties,
                                                          TcxValueTypeClass AValueTypeClass,
                                                          bool AExtendedSet) const override;
    void InitializeProperties(TcxCustomEditProperties* AProperties, TcxCustomEditProperties* AEditProperties,
                              bool AHasButtons) const override;
    virtual TcxCheckStatesValueFormat GetEditValueFormat(TcxCustomEditProperties* AEditProperties) const;
    virtual IcxCheckItems* GetItems(TcxCustomEditProperties* AEditProperties) const;
  };
};

class TcxFilterCheckComboBoxHelper : public TcxFilterChecksHelper {
  SK_CLASS(TcxFilterCheckComboBoxHelper, TcxFilterChecksHelper)
 public:
  struct TMeta : TcxFilterChecksHelper::TMeta {
    TcxCheckStatesValueFormat GetEditValueFormat(TcxCustomEditProperties* AEditProperties) const override;
    IcxCheckItems* GetItems(TcxCustomEditProperties* AEditProperties) const override;
  };
};

// Unit start-up and shut-down: the properties class with the editor
// repository, the filter helper, the classes by name.
void cxCheckComboBoxInitialization();
void cxCheckComboBoxFinalization();
