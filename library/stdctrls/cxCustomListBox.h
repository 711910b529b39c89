// The list box base: a container hosting a platform list box.
//
// Classes in this file:
//   TcxCustomListBox    the container: its styled border around a borderless
//                       inner list box that keeps and draws the items; list
//                       messages, items and selection pass through to it;
//                       input is gated by the data binding; optional
//                       integral height
#pragma once

#include "library/core/data/cxDataUtils.h"
#include "library/editors/edit/cxEdit.h"

class TcxCustomListBox : public TcxCustomEditContainer {
  SK_CLASS(TcxCustomListBox, TcxCustomEditContainer)
 public:
  void Create(TComponent* AOwner) override;
  void Destroy() override;
  bool ExecuteAction(TBasicAction* Action) override;

  TcxCustomInnerListBox* InnerListBox() const { return FInnerListBox; }
  TcxCustomDataBinding* DataBinding() const { return FDataBinding.get(); }

  // Items and selection: the inner list box's.
  TStrings* Items() const { return FInnerListBox->Items(); }
  // Assigns the strings, then selects what the binding's value names.
  void SetItems(TStrings* AValue);
  int Count() const { return FInnerListBox->Count(); }
  void SetCount(int AValue);
  void AddItem(const String& AItem, TObject* AObject) { FInnerListBox->AddItem(AItem, AObject); }
  void Clear() { FInnerListBox->Clear(); }
  int ItemIndex() { return FInnerListBox->ItemIndex(); }
  void SetItemIndex(int AValue) { FInnerListBox->SetItemIndex(AValue); }
  TObject* ItemObject();
  void SetItemObject(TObject* AValue);
  bool Selected(int AIndex) { return FInnerListBox->Selected(AIndex); }
  void SetSelected(int AIndex, bool AValue) { FInnerListBox->SetSelected(AIndex, AValue); }
  int SelCount() { return FInnerListBox->SelCount(); }
  int TopIndex() { return FInnerListBox->TopIndex(); }
  void SetTopIndex(int AValue) { FInnerListBox->SetTopIndex(AValue); }
  void ClearSelection();
  void DeleteSelected();
  void SelectAll();
  // The selected items added to ADestination; MoveSelection also deletes them here.
  void CopySelection(TCustomListControl* ADestination);
  void MoveSelection(TCustomListControl* ADestination);

  // Points and rectangles in the list box's own coordinates.
  int ItemAtPos(const TPoint& APos, bool AExisting);
  TRect ItemRect(int AIndex);
  bool ItemVisible(int AIndex) { return FInnerListBox->ItemVisible(AIndex); }

  // Settings of the inner list box
  bool AutoComplete() const { return FInnerListBox->AutoComplete(); }
  void SetAutoComplete(bool AValue) { FInnerListBox->SetAutoComplete(AValue); }
  DWORD AutoCompleteDelay() const { return FInnerListBox->AutoCompleteDelay(); }
  void SetAutoCompleteDelay(DWORD AValue) { FInnerListBox->SetAutoCompleteDelay(AValue); }
  int Columns() const { return FInnerListBox->Columns(); }
  void SetColumns(int AValue);
  bool ExtendedSelect() const { return FInnerListBox->ExtendedSelect(); }
  void SetExtendedSelect(bool AValue) { FInnerListBox->SetExtendedSelect(AValue); }
  bool MultiSelect() const { return FInnerListBox->MultiSelect(); }
  void SetMultiSelect(bool AValue) { FInnerListBox->SetMultiSelect(AValue); }
  // The width the items scroll over horizontally; none in the base.
  virtual int ScrollWidth() const { return 0; }
  bool Sorted() const { return FInnerListBox->Sorted(); }
  void SetSorted(bool AValue) { FInnerListBox->SetSorted(AValue); }
  int TabWidth() const { return FInnerListBox->TabWidth(); }
  void SetTabWidth(int AValue) { FInnerListBox->SetTabWidth(AValue); }

  // Settings of the container
  bool IntegralHeight() const { return FIntegralHeight; }
  void SetIntegralHeight(bool AValue);
  bool ReadOnly() const { return FDataBinding->ReadOnly(); }
  void SetReadOnly(bool AValue) { FDataBinding->SetReadOnly(AValue); }
  virtual int ItemHeight() { return FInnerListBox->ItemHeight(); }
  virtual void SetItemHeight(int AValue) { FInnerListBox->SetItemHeight(AValue); }
  virtual TListBoxStyle ListStyle() { return FInnerListBox->Style(); }
  virtual void SetListStyle(TListBoxStyle AValue) { FInnerListBox->SetStyle(AValue); }

  // The height H becomes: whole items between the borders (at least one),
  // with room for a horizontal bar when the scroll width needs one.
  virtual int AdjustIntegralHeight(int AHeight);

 protected:
  // The inner list box is made and hooked into the container here.
  virtual TcxCustomInnerListBox* CreateInnerListBox() = 0;
  virtual void AttachInnerListBox() = 0;
  virtual TClass GetDataBindingClass() { return TcxCustomDataBinding::ClassInfo(); }
  virtual int GetIntegralHeightStartIndex() { return 0; }
  virtual String GetItemText(int AIndex) = 0;
  // Every item counts as at least one pixel, so a measuring handler that
  // answers nothing cannot stall the integral height.
  virtual int GetItemHeightOf(int AIndex);
  virtual int IndexOfItemText(const String& AText) = 0;
  // Keys 33 to 40 need edit mode; refused, the key is cleared.
  virtual void CheckNavigationKey(WORD& Key);
  virtual bool IsBlockedChar(wchar_t AChar);
  virtual void SyncInnerTextFlags();

  bool CanResize(int& NewWidth, int& NewHeight) override;
  void WndProc(TMessage& Message) override;
  void DoExit() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(wchar_t& Key) override;
  void HandleScroll(TScrollBarKind AKind, TScrollCode ACode, int& APosition) override;
  bool ManagesInnerControl() override { return false; }
  bool IsReadOnlyState() override { return FDataBinding->IsControlReadOnly(); }
  void AdjustInnerControlBounds() override;

  // The binding's three notifications.
  virtual void HandleDataChange();
  virtual void HandleDataSetChange() { QuickRefresh(); }
  virtual void StoreDataValue();

  TcxCustomInnerListBox* FInnerListBox;  // owned by the list box as a component

 private:
  // LB_ADDSTRING, LB_INSERTSTRING, LB_DELETESTRING and LB_RESETCONTENT as
  // item changes; false for other messages and indexes the window refuses.
  bool ChangeItemsByMessage(TMessage& Message);
  bool IsAlignedToFill() const;
  template <class TOperation>
  void InItemsUpdate(TOperation AOperation);

  bool FIsExitProcessing;
  bool FIntegralHeight;
  TOwned<TcxCustomDataBinding> FDataBinding;
};
