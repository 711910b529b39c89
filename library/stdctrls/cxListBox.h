// The list box.
//
// A container that hosts the library's inner list box: the container draws
// the styled border, the inner native list draws the items and scrolls
// itself. The properties the main window and its form description use
// (Items, Clear, ExtendedSelect, ItemHeight, the four state styles) are
// passed to the inner list.
#pragma once

#include "library/controls/container/cxContainer.h"

class TcxListBox : public TcxContainer {
  SK_CLASS(TcxListBox, TcxContainer)
 public:
  static void Publish(TPublisher<TcxListBox>& P);

  void Create(TComponent* AOwner) override;

  TcxCustomInnerListBox* InnerListBox() const { return FInnerListBox; }
  TStrings* Items() const { return FInnerListBox->Items(); }
  void SetItems(TStrings* AValue) { FInnerListBox->SetItems(AValue); }
  void Clear() { FInnerListBox->Clear(); }
  bool ExtendedSelect() const { return FInnerListBox->ExtendedSelect(); }
  void SetExtendedSelect(bool AValue) { FInnerListBox->SetExtendedSelect(AValue); }
  int ItemHeight() const { return FInnerListBox->ItemHeight(); }
  void SetItemHeight(int AValue) { FInnerListBox->SetItemHeight(AValue); }

 protected:
  // The container's bars show the inner list's; the wheel stays with the list.
  bool WantsScrollBars() override { return true; }
  // Touch and hybrid bars float over the list; the designer keeps classic ones.
  bool AllowsOverlayScrollBars() override { return !ComponentState().Contains(csDesigning); }
  bool CanWheelScroll(TShiftState, int, const TPoint&) override { return false; }
  void HandleScroll(TScrollBarKind AKind, TScrollCode ACode, int& APosition) override;

 private:
  bool IsItemHeightStored() const { return FInnerListBox->Style() != lbStandard; }

  TcxCustomInnerListBox* FInnerListBox;  // owned by the list box as a component
};

// Unit start-up: registers the class by name.
void cxListBoxInitialization();
