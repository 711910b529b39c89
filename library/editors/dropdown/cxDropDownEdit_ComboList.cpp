// The combo box's list: its lookup data, the owner-drawn list box, the
// popup window's size rule, the row snapping of a resized list and the
// search box of a filtering list.
#include "library/editors/dropdown/cxDropDownEdit.h"

#include "library/lookandfeel/settings/cxLookAndFeels.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// TcxCustomComboBoxListBox

void TcxCustomComboBoxListBox::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  SetStyle(lbOwnerDrawVariable);
}

TcxCustomComboBox* TcxCustomComboBoxListBox::ComboBox() { return dynamic_cast<TcxCustomComboBox*>(Edit()); }

TcxCustomComboBoxProperties* TcxCustomComboBoxListBox::ComboProperties() {
  TcxCustomComboBox* combo = ComboBox();
  return combo ? combo->ActiveProperties() : nullptr;
}

bool TcxCustomComboBoxListBox::HasMeasureItemHandler() {
  TcxCustomComboBox* combo = ComboBox();
  return combo && combo->HasMeasureItemHandler();
}

bool TcxCustomComboBoxListBox::HasDrawItemHandler() {
  TcxCustomComboBox* combo = ComboBox();
  return combo && combo->HasDrawItemHandler();
}

void TcxCustomComboBoxListBox::UpdateItemLayout() {
  SetItemHeight(GetItemHeight(-1));
  SetStyle(HasMeasureItemHandler() ? lbOwnerDrawVariable : lbOwnerDrawFixed);
}

void TcxCustomComboBoxListBox::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  // Owner-drawn rows may depend on the width.
  if (HasDrawItemHandler()) Params.WindowClass.style |= CS_HREDRAW;
}

int TcxCustomComboBoxListBox::GetItemHeight(int AIndex) {
  TcxCustomComboBox* combo = ComboBox();
  TcxCustomComboBoxProperties* properties = ComboProperties();
  int height = 0;
  if (properties && properties->ItemHeight() > 0) {
    // The properties hold the height at their own scale; the list follows the editor's.
    TdxScaleFactor* scale = combo->ScaleFactor();
    height = scale ? scale->Apply(properties->ItemHeight(), properties->ScaleFactor()) : properties->ItemHeight();
  } else {
    height = inherited::GetItemHeight(AIndex);
  }
  if (AIndex >= 0 && combo) combo->DoMeasureItem(AIndex, height);
  return height;
}

bool TcxCustomComboBoxListBox::UsesItemPadding() {
  TcxCustomComboBoxProperties* properties = ComboProperties();
  if (properties && (properties->ItemHeight() != 0 || HasMeasureItemHandler())) return false;
  return inherited::UsesItemPadding();
}

void TcxCustomComboBoxListBox::MeasureItem(int AIndex, int& AHeight) {
  TcxCustomTextEditLookupData* lookup = ComboBox() ? ComboBox()->LookupData() : nullptr;
  AHeight = GetItemHeight(lookup ? lookup->FilteredIndexToItemIndex(AIndex) : AIndex);
}

bool TcxCustomComboBoxListBox::DrawItemByHandler(int AIndex, const TRect& ARect, TOwnerDrawState AState) {
  TcxCustomComboBox* combo = ComboBox();
  if (!combo || !combo->HasDrawItemHandler()) return false;
  const int item = combo->LookupData()->FilteredIndexToItemIndex(AIndex);
  if (!FItemCanvas) FItemCanvas.reset(New<TcxCanvas>(Canvas()));
  combo->DoDrawItem(FItemCanvas.get(), item, ARect, AState);
  return true;
}

String TcxCustomComboBoxListBox::GetItemTextAt(int AIndex) {
  TcxCustomComboBox* combo = ComboBox();
  return combo ? combo->LookupData()->GetVisibleItemText(AIndex) : inherited::GetItemTextAt(AIndex);
}

int TcxCustomComboBoxListBox::GetHeight(int ARowCount, int) {
  TcxCustomTextEditLookupData* lookup = ComboBox() ? ComboBox()->LookupData() : nullptr;
  int height = 0;
  for (int row = 0; row < ARowCount; ++row)
    height += GetItemHeight(lookup ? lookup->FilteredIndexToItemIndex(row) : row);
  return height;
}

void TcxCustomComboBoxListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) FMousePressed = true;
  inherited::MouseDown(Button, Shift, X, Y);
}

void TcxCustomComboBoxListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TControlTracker alive(this);
  inherited::MouseUp(Button, Shift, X, Y);
  if (!alive.Alive() || Button != mbLeft || !FMousePressed) return;
  FMousePressed = false;
  const int row = ItemAtPos(TPoint(X, Y), true);
  TcxCustomComboBox* combo = ComboBox();
  if (row == -1 || !combo) return;
  SetMouseCapture(false);
  SetItemIndex(row);
  combo->CloseListByUser();
}

void TcxCustomComboBoxListBox::MouseMove(TShiftState Shift, int X, int Y) {
  // After the list scrolled to the current item, or opened under the
  // pointer, the first move must not pull the highlight to the pointer.
  TcxCustomComboBox* combo = ComboBox();
  if (combo && combo->PopupMouseMoveLocked()) {
    combo->SetPopupMouseMoveLocked(false);
    return;
  }
  FHotTracking = true;
  TScopeExit done([this] { FHotTracking = false; });
  inherited::MouseMove(Shift, X, Y);
}

void TcxCustomComboBoxListBox::ItemIndexChanged() {
  if (!FHotTracking)
    if (TcxCustomComboBox* combo = ComboBox()) combo->SetPopupMouseMoveLocked(true);
  inherited::ItemIndexChanged();
}

void TcxCustomComboBoxListBox::Click() {
  const TControlTracker alive(this);
  inherited::Click();
  if (alive.Alive()) FocusSearchBox();
}

void TcxCustomComboBoxListBox::DblClick() {
  const TControlTracker alive(this);
  inherited::DblClick();
  if (alive.Alive()) FocusSearchBox();
}

void TcxCustomComboBoxListBox::FocusSearchBox() {
  TcxCustomComboBox* combo = ComboBox();
  if (!combo || !combo->ActiveProperties()->IsIncrementalFilteringActive()) return;
  TWinControl* active = combo->LookupData()->GetActiveControl();
  if (active && active != this && active->HandleAllocated() && active->CanFocus()) active->SetFocus();
}

// ---------------------------------------------------------------------------
// TcxComboBoxLookupData

void TcxComboBoxLookupData::Create(TPersistent* AOwner) {
  inherited::Create(AOwner);
  FIncrementalFilteringHelper = CreateFilteringHelper();
}

void TcxComboBoxLookupData::Destroy() {
  FIncrementalFilteringHelper.reset();
  inherited::Destroy();
}

TOwned<TcxComboBoxIncrementalFilteringHelper> TcxComboBoxLookupData::CreateFilteringHelper() {
  return TOwned<TcxComboBoxIncrementalFilteringHelper>(New<TcxComboBoxIncrementalFilteringHelper>(this));
}

TcxCustomComboBox* TcxComboBoxLookupData::ComboBox() const { return static_cast<TcxCustomComboBox*>(Edit()); }

TcxCustomComboBoxProperties* TcxComboBoxLookupData::ComboProperties() const { return ComboBox()->ActiveProperties(); }

int TcxComboBoxLookupData::GetMaxItemWidth() {
  int width = 0;
  const int count = GetVisibleItemCount();
  for (int row = 0; row < count; ++row) width = std::max(width, FList->GetItemWidth(row));
  return width + 4;
}

TClass TcxComboBoxLookupData::GetListBoxClass() { return TcxComboBoxListBox::ClassInfo(); }

bool TcxComboBoxLookupData::IsDroppedDown() { return ComboBox()->IsPopupOpenOrPending(); }

bool TcxComboBoxLookupData::IsFilteringApplied() {
  return ComboProperties()->IncrementalFiltering() && ComboProperties()->GetEditingStyle() != esNoEdit;
}

int TcxComboBoxLookupData::SearchBoxHeight() {
  TcxCustomTextEdit* box = FIncrementalFilteringHelper->SearchEdit();
  if (!box || FSearchText.empty()) return 0;
  const TRect offsets = FIncrementalFilteringHelper->GetSearchEditOffsets();
  return offsets.Top + offsets.Bottom + box->Height();
}

TSize TcxComboBoxLookupData::GetVisualAreaPreferredSize(int AMaxHeight, int AWidth) {
  if (!FList) return TSize();
  const int count = GetVisibleItemCount();
  const int dropDownRows = ComboProperties()->DropDownRows();
  const int rows = std::min(dropDownRows, count);
  TSize size(0, FList->GetHeight(rows, AMaxHeight));
  if (HasMultiLineItems()) {
    size.cx = AWidth;
    FList->SetScrollWidth(0);
  } else {
    size.cx = GetMaxItemWidth();
    FList->SetScrollWidth(size.cx);
    if (count > dropDownRows || (AMaxHeight > 0 && size.cy > AMaxHeight)) size.cx += GetSystemMetrics(SM_CXVSCROLL);
    if (AWidth > 0 && size.cx > AWidth) size.cy += GetSystemMetrics(SM_CYHSCROLL);
  }
  size.cy += SearchBoxHeight();
  return size;
}

bool TcxComboBoxLookupData::CanResizeVisualArea(TSize& NewSize, int AMaxHeight, int AMaxWidth) {
  if (!FList) return true;
  const int searchHeight = SearchBoxHeight();
  const int listHeight = FListContainer->Height();
  if (NewSize.cx == FListContainer->Width() && NewSize.cy == listHeight + searchHeight) return true;
  if (AMaxHeight == 0) AMaxHeight = 32000;
  if (AMaxWidth == 0) AMaxWidth = 32000;
  const int vs = GetSystemMetrics(SM_CXVSCROLL);
  const int hs = GetSystemMetrics(SM_CYHSCROLL);
  NewSize.cy -= searchHeight;
  const int count = GetVisibleItemCount();
  const bool growing = NewSize.cy >= listHeight;
  // The horizontal bar shows when the rows are wider than what is left
  // beside the vertical one.
  const auto needsHorzBar = [&](bool AScroll) {
    const int available = NewSize.cx - (AScroll ? vs : 0);
    return FList->ScrollWidth() > available || available > AMaxWidth;
  };
  int total = 0;
  bool scroll = false;
  bool horzBar = false;
  std::vector<int> heights;
  for (int i = 0; i < count; ++i) {
    heights.push_back(FList->GetItemHeight(FilteredIndexToItemIndex(i)));
    int sum = total + heights.back();
    scroll = i < count - 1;
    horzBar = needsHorzBar(scroll);
    const int withBar = sum + (horzBar ? hs : 0);
    if (withBar == NewSize.cy && withBar <= AMaxHeight) {
      total = withBar;
      break;
    }
    if (withBar < NewSize.cy && withBar <= AMaxHeight) {
      total = sum;
      if (i == count - 1) total = withBar;
      continue;
    }
    if (withBar > AMaxHeight || growing) {
      // One row too many: the rows before it.
      scroll = true;
      horzBar = needsHorzBar(true);
      total = total + (horzBar ? hs : 0);
      break;
    }
    total = withBar;  // shrinking: this row stays
    break;
  }
  NewSize.cy = total + searchHeight;
  NewSize.cx = std::max(NewSize.cx, (scroll ? vs : 0) + (horzBar ? vs : 0));
  return true;
}

void TcxComboBoxLookupData::PositionVisualArea(const TRect& AClientRect) {
  TRect listRect = AClientRect;
  TcxCustomTextEdit* box = FIncrementalFilteringHelper->SearchEdit();
  if (IsFilteringApplied() && box && box->HandleAllocated()) {
    const TRect offsets = FIncrementalFilteringHelper->GetSearchEditOffsets();
    const int height = box->Height();
    if (!FSearchText.empty()) {
      box->SetBounds(AClientRect.Left + offsets.Left, AClientRect.Top + offsets.Top,
                     AClientRect.Width() - offsets.Left - offsets.Right, height);
      listRect.Top = AClientRect.Top + offsets.Top + height + offsets.Bottom;
    } else {
      box->SetBounds(AClientRect.Left + offsets.Left, AClientRect.Top - height - 2,
                     AClientRect.Width() - offsets.Left - offsets.Right, height);
    }
  }
  PlaceList(listRect);
}

void TcxComboBoxLookupData::BuildList(TWinControl* AVisualControlsParent) {
  inherited::BuildList(AVisualControlsParent);
  if (IsFilteringApplied()) {
    TcxComboBoxIncrementalFilteringHelper* helper = FIncrementalFilteringHelper.get();
    if (!helper->SearchEdit()) {
      helper->CreateSearchEdit();
      helper->InitializeSearchEdit();
    }
    TcxCustomTextEdit* box = helper->SearchEdit();
    box->SetParent(AVisualControlsParent);
    box->SetStyle(ComboBox()->Style());
    box->SetText(FSearchText);
  } else {
    FIncrementalFilteringHelper->DestroySearchEdit();
  }
  FListContainer->Style()->LookAndFeel()->SetMasterLookAndFeel(ComboBox()->PopupControlsLookAndFeel());
}

void TcxComboBoxLookupData::CloseUp() {
  inherited::CloseUp();
  if (TcxCustomTextEdit* box = FIncrementalFilteringHelper->SearchEdit()) box->SetText(FSearchText);
}

TWinControl* TcxComboBoxLookupData::GetActiveControl() {
  if (TcxCustomTextEdit* box = FIncrementalFilteringHelper->SearchEdit()) return box;
  return FList;
}

void TcxComboBoxLookupData::TextChanged() {
  TcxCustomComboBox* combo = ComboBox();
  const bool filters = ComboProperties()->IncrementalFiltering() && !FIsInitializing &&
                       ComboProperties()->GetEditingStyle() == esEdit && combo->LookupFollowsText() &&
                       combo->IsPopupOpenOrPending();
  inherited::TextChanged();
  if (filters && combo->Text() != FSearchText) {
    ApplyFilter(combo->Text());
    combo->RepreparePopup();
  }
}

// ---------------------------------------------------------------------------
// TcxComboBoxIncrementalFilteringHelper

void TcxComboBoxIncrementalFilteringHelper::Create(TcxComboBoxLookupData* ALookupData) {
  inherited::Create();
  FLookupData = ALookupData;
}

TcxCustomLookAndFeelPainter* TcxComboBoxIncrementalFilteringHelper::GetPainter() {
  return FLookupData->ComboBox()->Style()->LookAndFeel()->Painter();
}

bool TcxComboBoxIncrementalFilteringHelper::SearchTextIsEmpty() { return GetSearchText().empty(); }

void TcxComboBoxIncrementalFilteringHelper::SearchEditKeyDown(TObject*, WORD& Key, TShiftState Shift) {
  const bool toCombo = Key == VK_RETURN || Key == VK_UP || Key == VK_DOWN || Key == VK_PRIOR || Key == VK_NEXT ||
                       (Key == VK_ESCAPE && SearchTextIsEmpty());
  if (toCombo) FLookupData->ComboBox()->HandleSearchBoxKeyDown(Key, Shift);
}

void TcxComboBoxIncrementalFilteringHelper::HandleSearchKey(TObject*, wchar_t& Key) {
  if (Key == L'\r' || (Key == L'\x1B' && SearchTextIsEmpty())) {
    FLookupData->ComboBox()->HandleSearchBoxKeyPress(Key);
  }
}

void TcxComboBoxIncrementalFilteringHelper::SearchEditMouseWheel(TObject*, TShiftState Shift, int WheelDelta,
                                                                 TPoint MousePos, bool& Handled) {
  TcxCustomEditListBox* list = FLookupData->List();
  if (!list || !list->HandleAllocated()) return;
  // The list scrolls as if the wheel turned over it.
  const WPARAM keys = (Shift.Contains(ssCtrl) ? MK_CONTROL : 0) | (Shift.Contains(ssShift) ? MK_SHIFT : 0);
  SendMessageW(list->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(keys, static_cast<WORD>(static_cast<short>(WheelDelta))),
               MAKELPARAM(MousePos.X, MousePos.Y));
  Handled = true;
}

void TcxComboBoxIncrementalFilteringHelper::SearchEditValueChanged(TObject*) {
  if (FLookupData->IsInitializing()) return;
  TcxCustomComboBox* combo = FLookupData->ComboBox();
  if (!combo->IsPopupOpenOrPending()) return;
  FLookupData->ApplyFilter(GetSearchText());
  combo->RepreparePopup();
}
