// The standard controls: the items of list and combo boxes, what the two
// share (TCustomListControl), TCustomListBox and TCustomComboBox.
#include "platform/ui/StdCtrls.h"

#include <commctrl.h>

#include <algorithm>
#include <numeric>

namespace {

const wchar_t* const SListIndexError = L"Listenindex außerhalb des gültigen Bereichs (%d)";
const wchar_t* const SSortedListError = L"Operation bei sortierten Listen nicht zulässig";
const wchar_t* const SNoRoom = L"Das Steuerelement '%s' nimmt keinen weiteren Eintrag auf";

// The order of a sorted list: by the user's locale, not case-sensitive.
int CompareItemText(const String& A, const String& B) { return lstrcmpiW(A.c_str(), B.c_str()); }

const wchar_t* const ComboOwnerProp = L"SkComboBox";
const wchar_t* const ComboEditProcProp = L"SkComboEditProc";

// An owner-drawn item starts with the control's font and brush, in the
// highlight colours when it is selected.
void PrepareItemCanvas(TCanvas* ACanvas, TWinControl* AControl, TOwnerDrawState AState) {
  ACanvas->Font()->Assign(AControl->Font());
  ACanvas->Brush()->Assign(AControl->Brush());
  if (AState.Contains(odSelected)) {
    ACanvas->Brush()->SetColor(clHighlight);
    ACanvas->Font()->SetColor(clHighlightText);
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// TCustomListControlItems

void TCustomListControlItems::CheckIndex(int AIndex) const {
  if (AIndex < 0 || AIndex >= GetCount()) Error(SListIndexError, AIndex);
}

int TCustomListControlItems::SortedIndexOf(const String& AText) const {
  const auto it = std::upper_bound(FItems.begin(), FItems.end(), AText,
                                   [](const String& T, const TListControlItem& I) { return CompareItemText(T, I.Text) < 0; });
  return static_cast<int>(it - FItems.begin());
}

std::vector<int> TCustomListControlItems::SortItems() {
  std::vector<int> order(FItems.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [this](int A, int B) { return CompareItemText(FItems[A].Text, FItems[B].Text) < 0; });
  std::vector<TListControlItem> sorted;
  sorted.reserve(FItems.size());
  std::vector<int> newIndex(FItems.size());
  for (std::size_t k = 0; k < order.size(); ++k) {
    sorted.push_back(std::move(FItems[order[k]]));
    newIndex[order[k]] = static_cast<int>(k);
  }
  FItems = std::move(sorted);
  return newIndex;
}

int TCustomListControlItems::InsertAt(int AIndex, const String& AValue, TObject* AObject) {
  FItems.insert(FItems.begin() + AIndex, TListControlItem{AValue, AObject, false});
  try {
    FControl->WindowInsert(AIndex);
  } catch (...) {
    FItems.erase(FItems.begin() + AIndex);
    throw;
  }
  return AIndex;
}

int TCustomListControlItems::Add(const String& AValue) { return AddObject(AValue, nullptr); }

int TCustomListControlItems::AddObject(const String& AValue, TObject* AObject) {
  return InsertAt(FControl->ItemsSorted() ? SortedIndexOf(AValue) : GetCount(), AValue, AObject);
}

void TCustomListControlItems::Clear() {
  FItems.clear();
  FControl->WindowClear();
}

void TCustomListControlItems::Delete(int AIndex) {
  CheckIndex(AIndex);
  FItems.erase(FItems.begin() + AIndex);
  FControl->WindowDelete(AIndex);
}

void TCustomListControlItems::Insert(int AIndex, const String& AValue) { InsertObject(AIndex, AValue, nullptr); }

void TCustomListControlItems::InsertObject(int AIndex, const String& AValue, TObject* AObject) {
  if (FControl->ItemsSorted()) throw EStringListError(SSortedListError);
  if (AIndex < 0 || AIndex > GetCount()) Error(SListIndexError, AIndex);
  InsertAt(AIndex, AValue, AObject);
}

void TCustomListControlItems::Exchange(int AIndex1, int AIndex2) {
  if (FControl->ItemsSorted()) throw EStringListError(SSortedListError);
  CheckIndex(AIndex1);
  CheckIndex(AIndex2);
  if (AIndex1 == AIndex2) return;
  std::swap(FItems[AIndex1], FItems[AIndex2]);
  FControl->WindowReplace(AIndex1);
  FControl->WindowReplace(AIndex2);
}

void TCustomListControlItems::Move(int ACurIndex, int ANewIndex) {
  if (FControl->ItemsSorted()) throw EStringListError(SSortedListError);
  CheckIndex(ACurIndex);
  CheckIndex(ANewIndex);
  if (ACurIndex == ANewIndex) return;
  TListControlItem item = FItems[ACurIndex];
  Delete(ACurIndex);
  InsertAt(ANewIndex, item.Text, item.Object);
}

String TCustomListControlItems::Get(int AIndex) const {
  CheckIndex(AIndex);
  return FItems[AIndex].Text;
}

TObject* TCustomListControlItems::GetObject(int AIndex) const {
  CheckIndex(AIndex);
  return FItems[AIndex].Object;
}

void TCustomListControlItems::Put(int AIndex, const String& AValue) {
  CheckIndex(AIndex);
  if (FItems[AIndex].Text == AValue) return;
  if (FControl->ItemsSorted()) {
    // A new text may belong elsewhere in a sorted list.
    TObject* object = FItems[AIndex].Object;
    Delete(AIndex);
    AddObject(AValue, object);
    return;
  }
  FItems[AIndex].Text = AValue;
  FControl->WindowReplace(AIndex);
}

void TCustomListControlItems::PutObject(int AIndex, TObject* AObject) {
  CheckIndex(AIndex);
  FItems[AIndex].Object = AObject;
  FControl->WindowSetObject(AIndex);
}

void TCustomListControlItems::SetUpdateState(bool AUpdating) { FControl->WindowRedraw(!AUpdating); }

// ---------------------------------------------------------------------------
// TCustomListControl

void TCustomListControl::Publish(TPublisher<TCustomListControl>& P) {
  P.Message<&TCustomListControl::CNDrawItem>(CN_DRAWITEM);
  P.Message<&TCustomListControl::CNMeasureItem>(CN_MEASUREITEM);
}

void TCustomListControl::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FItemsList.reset(New<TCustomListControlItems>(static_cast<TListControlWindow*>(this)));
  auto* canvas = New<TControlCanvas>();
  FCanvas.reset(canvas);
  canvas->SetControl(this);
  FItemHeight = 16;
  FItemIndex = -1;
}

void TCustomListControl::Destroy() {
  FCanvas.reset();
  inherited::Destroy();
  // The items go last: the window may still speak of them while it goes.
  FItemsList.reset();
}

void TCustomListControl::DrawItem(int AIndex, const TRect& ARect, TOwnerDrawState AState) {
  if (FOnDrawItem) {
    FOnDrawItem(this, AIndex, ARect, AState);
    return;
  }
  FCanvas->FillRect(ARect);
  if (AIndex < FItemsList->Count()) FCanvas->TextOut(ARect.Left + 2, ARect.Top, FItemsList->Strings(AIndex));
}

void TCustomListControl::MeasureItem(int AIndex, int& AHeight) { CallEvent(FOnMeasureItem, this, AIndex, AHeight); }

void TCustomListControl::CNDrawItem(TMessage& Message) {
  const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
  const TOwnerDrawState state = OwnerDrawStateOf(item.itemState);
  {
    const TCanvasDCScope drawing(FCanvas.get(), item.hDC);
    PrepareItemCanvas(FCanvas.get(), this, state);
    if (static_cast<int>(item.itemID) >= 0) DrawItem(static_cast<int>(item.itemID), TRect(item.rcItem), state);
    else FCanvas->FillRect(TRect(item.rcItem));
  }
  if (state.Contains(odFocused)) DrawFocusRect(item.hDC, &item.rcItem);
  Message.Result = TRUE;
}

void TCustomListControl::CNMeasureItem(TMessage& Message) {
  auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
  int height = FItemHeight;
  if (ItemsVaryInHeight() && static_cast<int>(item.itemID) >= 0) MeasureItem(static_cast<int>(item.itemID), height);
  item.itemHeight = static_cast<UINT>(std::max(height, 1));
  Message.Result = TRUE;
}

void TCustomListControl::WindowInsert(int AIndex) {
  if (!FHandle) {
    // The selection stays on its item; an index read from a description
    // names the item at that place once all are read.
    if (FItemIndex >= AIndex && !ComponentState().Contains(csLoading)) ++FItemIndex;
    return;
  }
  const TItemMessages& messages = ItemMessages();
  const TListControlItem& item = FItemsList->Data()[AIndex];
  const LRESULT r = SendMessageW(FHandle, messages.InsertString, static_cast<WPARAM>(AIndex),
                                 reinterpret_cast<LPARAM>(item.Text.c_str()));
  if (r < 0) throw EOutOfResources(SNoRoom, {Name()});
  if (item.Object)
    SendMessageW(FHandle, messages.SetItemData, static_cast<WPARAM>(AIndex), reinterpret_cast<LPARAM>(item.Object));
}

void TCustomListControl::WindowDelete(int AIndex) {
  if (!FHandle) {
    if (FItemIndex == AIndex) FItemIndex = -1;
    else if (FItemIndex > AIndex) --FItemIndex;
    return;
  }
  SendMessageW(FHandle, ItemMessages().DeleteString, static_cast<WPARAM>(AIndex), 0);
}

void TCustomListControl::WindowSetObject(int AIndex) {
  if (FHandle)
    SendMessageW(FHandle, ItemMessages().SetItemData, static_cast<WPARAM>(AIndex),
                 reinterpret_cast<LPARAM>(FItemsList->Data()[AIndex].Object));
}

void TCustomListControl::WindowRedraw(bool AOn) {
  if (!FHandle) return;
  SendMessageW(FHandle, WM_SETREDRAW, AOn, 0);
  if (AOn) InvalidateRect(FHandle, nullptr, TRUE);
}

// ---------------------------------------------------------------------------
// TCustomListBox

void TCustomListBox::Publish(TPublisher<TCustomListBox>& P) {
  P.Property(L"BorderStyle", &TCustomListBox::BorderStyle, &TCustomListBox::SetBorderStyle).Default(bsSingle);
  P.Property(L"Columns", &TCustomListBox::Columns, &TCustomListBox::SetColumns).Default(0);
  P.Property(L"ExtendedSelect", &TCustomListBox::ExtendedSelect, &TCustomListBox::SetExtendedSelect).Default(true);
  P.Property(L"IntegralHeight", &TCustomListBox::IntegralHeight, &TCustomListBox::SetIntegralHeight).Default(false);
  P.Property(L"ItemHeight", &TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight)
      .Stored(&TCustomListBox::IsItemHeightStored)
      .Default(16);
  P.Property(L"Items", &TCustomListBox::Items, &TCustomListBox::SetItems);
  P.Property(L"ItemIndex", &TCustomListBox::ItemIndex, &TCustomListBox::SetItemIndex).Default(-1);
  P.Property(L"MultiSelect", &TCustomListBox::MultiSelect, &TCustomListBox::SetMultiSelect).Default(false);
  P.Property(L"ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(false);
  P.Property(L"Sorted", &TCustomListBox::Sorted, &TCustomListBox::SetSorted).Default(false);
  P.Property(L"Style", &TCustomListBox::Style, &TCustomListBox::SetStyle).Default(lbStandard);
  P.Property(L"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true);
  P.Property(L"TabWidth", &TCustomListBox::TabWidth, &TCustomListBox::SetTabWidth).Default(0);
  P.Property(L"OnDrawItem", &TCustomListBox::OnDrawItem, &TCustomListBox::SetOnDrawItem);
  P.Property(L"OnMeasureItem", &TCustomListBox::OnMeasureItem, &TCustomListBox::SetOnMeasureItem);
  P.Message<&TCustomListBox::CNCommand>(CN_COMMAND);
}

void TCustomListBox::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  // Clicks and double clicks come as LBN_ notifications.
  FControlStyle = {csSetCaption, csOpaque};
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
  FBorderStyle = bsSingle;
  FExtendedSelect = true;
}

const TCustomListControl::TItemMessages& TCustomListBox::ItemMessages() const {
  static constexpr TItemMessages messages{LB_INSERTSTRING, LB_DELETESTRING, LB_SETITEMDATA};
  return messages;
}

void TCustomListBox::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  CreateSubClass(Params, L"LISTBOX");
  Params.Style |= WS_HSCROLL | WS_VSCROLL | LBS_HASSTRINGS | LBS_NOTIFY;
  if (FMultiSelect) Params.Style |= FExtendedSelect ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
  if (FStyle == lbOwnerDrawFixed) Params.Style |= LBS_OWNERDRAWFIXED;
  else if (FStyle == lbOwnerDrawVariable) Params.Style |= LBS_OWNERDRAWVARIABLE;
  if (FTabWidth != 0) Params.Style |= LBS_USETABSTOPS;
  if (FColumns > 0) Params.Style |= LBS_MULTICOLUMN;
  if (!FIntegralHeight) Params.Style |= LBS_NOINTEGRALHEIGHT;
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomListBox::CreateWnd() {
  inherited::CreateWnd();
  if (FTabWidth != 0) {
    int width = FTabWidth;
    SendMessageW(FHandle, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&width));
  }
  if (FColumns > 0) SendMessageW(FHandle, LB_SETCOLUMNWIDTH, static_cast<WPARAM>(std::max(1, Width() / FColumns)), 0);
  if (FStyle == lbOwnerDrawFixed) SendMessageW(FHandle, LB_SETITEMHEIGHT, 0, FItemHeight);
  FillWindow();
}

void TCustomListBox::DestroyWnd() {
  SaveWindowState();
  inherited::DestroyWnd();
}

void TCustomListBox::Loaded() {
  // Before the window comes (inherited): the index read may name no item.
  if (FItemIndex >= Count()) FItemIndex = -1;
  inherited::Loaded();
}

void TCustomListBox::SaveWindowState() {
  if (!FHandle) return;
  FItemIndex = ItemIndex();
  FTopIndex = TopIndex();
  auto& data = FItemsList->Data();
  for (std::size_t i = 0; i < data.size(); ++i)
    data[i].Selected = FMultiSelect ? SendMessageW(FHandle, LB_GETSEL, i, 0) > 0 : static_cast<int>(i) == FItemIndex;
}

void TCustomListBox::FillWindow() {
  if (!FHandle) return;
  SendMessageW(FHandle, WM_SETREDRAW, FALSE, 0);
  SendMessageW(FHandle, LB_RESETCONTENT, 0, 0);
  const auto& data = FItemsList->Data();
  for (std::size_t i = 0; i < data.size(); ++i) WindowInsert(static_cast<int>(i));
  const int count = static_cast<int>(data.size());
  const int index = FItemIndex >= 0 && FItemIndex < count ? FItemIndex : -1;
  if (FMultiSelect) {
    for (std::size_t i = 0; i < data.size(); ++i)
      if (data[i].Selected) SendMessageW(FHandle, LB_SETSEL, TRUE, static_cast<LPARAM>(i));
    if (index >= 0) SendMessageW(FHandle, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
  } else {
    SendMessageW(FHandle, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
  if (FTopIndex > 0 && FTopIndex < count) SendMessageW(FHandle, LB_SETTOPINDEX, static_cast<WPARAM>(FTopIndex), 0);
  SendMessageW(FHandle, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(FHandle, nullptr, TRUE);
}

void TCustomListBox::CheckIndex(int AIndex) const {
  if (AIndex < 0 || AIndex >= Count()) throw EListError(SListIndexError, {AIndex});
}

void TCustomListBox::SetSorted(bool AValue) {
  if (FSorted == AValue) return;
  FSorted = AValue;
  if (!AValue) return;
  // The selection and the first shown item stay with their items.
  SaveWindowState();
  if (!FMultiSelect) FItemIndex = ItemIndex();
  const std::vector<int> moved = FItemsList->SortItems();
  if (FItemIndex >= 0 && FItemIndex < static_cast<int>(moved.size())) FItemIndex = moved[FItemIndex];
  FTopIndex = 0;
  FillWindow();
}

int TCustomListBox::WindowCount() const {
  // A window without item data (LBS_NODATA) holds only a count.
  return FHandle ? static_cast<int>(SendMessageW(FHandle, LB_GETCOUNT, 0, 0)) : Count();
}

int TCustomListBox::ItemIndex() {
  if (!FHandle) return FItemIndex >= 0 && FItemIndex < Count() ? FItemIndex : -1;
  if (FMultiSelect) return WindowCount() > 0 ? static_cast<int>(SendMessageW(FHandle, LB_GETCARETINDEX, 0, 0)) : -1;
  return static_cast<int>(SendMessageW(FHandle, LB_GETCURSEL, 0, 0));
}

void TCustomListBox::SetItemIndex(int AValue) {
  // While a form description is read the items may come later (Loaded checks).
  const bool loading = ComponentState().Contains(csLoading);
  if (!loading && (AValue < 0 || AValue >= WindowCount())) AValue = -1;
  if (!FHandle) {
    FItemIndex = AValue;
    if (FMultiSelect) {
      auto& data = FItemsList->Data();
      for (std::size_t i = 0; i < data.size(); ++i) data[i].Selected = static_cast<int>(i) == AValue;
    }
    return;
  }
  if (FMultiSelect) {
    SendMessageW(FHandle, LB_SETSEL, FALSE, -1);
    if (AValue >= 0) {
      SendMessageW(FHandle, LB_SETSEL, TRUE, AValue);
      SendMessageW(FHandle, LB_SETCARETINDEX, static_cast<WPARAM>(AValue), FALSE);
    }
  } else {
    // Out-of-range indices were made -1 above: the list shows no selection.
    SendMessageW(FHandle, LB_SETCURSEL, static_cast<WPARAM>(AValue), 0);
  }
}

bool TCustomListBox::Selected(int AIndex) {
  CheckIndex(AIndex);
  if (!FHandle) return FMultiSelect ? FItemsList->Data()[AIndex].Selected : AIndex == ItemIndex();
  if (FMultiSelect) return SendMessageW(FHandle, LB_GETSEL, static_cast<WPARAM>(AIndex), 0) > 0;
  return SendMessageW(FHandle, LB_GETCURSEL, 0, 0) == AIndex;
}

void TCustomListBox::SetSelected(int AIndex, bool AValue) {
  CheckIndex(AIndex);
  if (FMultiSelect) {
    if (FHandle) SendMessageW(FHandle, LB_SETSEL, AValue, AIndex);
    else FItemsList->Data()[AIndex].Selected = AValue;
  } else if (AValue) {
    SetItemIndex(AIndex);
  } else if (ItemIndex() == AIndex) {
    SetItemIndex(-1);
  }
}

int TCustomListBox::SelCount() {
  if (!FMultiSelect) return -1;
  if (FHandle) return static_cast<int>(SendMessageW(FHandle, LB_GETSELCOUNT, 0, 0));
  const auto& data = FItemsList->Data();
  return static_cast<int>(std::count_if(data.begin(), data.end(), [](const TListControlItem& I) { return I.Selected; }));
}

void TCustomListBox::ClearSelection() {
  if (!FMultiSelect) {
    SetItemIndex(-1);
    return;
  }
  if (FHandle) SendMessageW(FHandle, LB_SETSEL, FALSE, -1);
  else
    for (TListControlItem& item : FItemsList->Data()) item.Selected = false;
}

void TCustomListBox::SelectAll() {
  if (!FMultiSelect) return;
  if (FHandle) SendMessageW(FHandle, LB_SETSEL, TRUE, -1);
  else
    for (TListControlItem& item : FItemsList->Data()) item.Selected = true;
}

void TCustomListBox::DeleteSelected() {
  if (!FMultiSelect) {
    if (const int index = ItemIndex(); index >= 0) FItemsList->Delete(index);
    return;
  }
  WithUpdate(FItemsList.get(), [&] {
    for (int i = Count() - 1; i >= 0; --i)
      if (Selected(i)) FItemsList->Delete(i);
  });
}

void TCustomListBox::SetMultiSelect(bool AValue) {
  if (FMultiSelect == AValue) return;
  SaveWindowState();
  FMultiSelect = AValue;
  RecreateWnd();
}

void TCustomListBox::SetExtendedSelect(bool AValue) {
  if (FExtendedSelect == AValue) return;
  FExtendedSelect = AValue;
  RecreateWnd();
}

void TCustomListBox::SetStyle(TListBoxStyle AValue) {
  if (FStyle == AValue) return;
  FStyle = AValue;
  RecreateWnd();
}

int TCustomListBox::ItemHeight() {
  if (FHandle && FStyle == lbStandard) return static_cast<int>(SendMessageW(FHandle, LB_GETITEMHEIGHT, 0, 0));
  return FItemHeight;
}

void TCustomListBox::SetItemHeight(int AValue) {
  if (AValue <= 0 || FItemHeight == AValue) return;
  FItemHeight = AValue;
  if (FStyle != lbStandard) RecreateWnd();
}

int TCustomListBox::TopIndex() {
  if (!FHandle) return FTopIndex;
  return static_cast<int>(SendMessageW(FHandle, LB_GETTOPINDEX, 0, 0));
}

void TCustomListBox::SetTopIndex(int AValue) {
  if (FHandle) SendMessageW(FHandle, LB_SETTOPINDEX, static_cast<WPARAM>(std::max(AValue, 0)), 0);
  else FTopIndex = std::max(AValue, 0);
}

void TCustomListBox::SetColumns(int AValue) {
  AValue = std::max(AValue, 0);
  if (FColumns == AValue) return;
  FColumns = AValue;
  RecreateWnd();
}

void TCustomListBox::SetIntegralHeight(bool AValue) {
  if (FIntegralHeight == AValue) return;
  FIntegralHeight = AValue;
  RecreateWnd();
}

void TCustomListBox::SetBorderStyle(TBorderStyle AValue) {
  if (FBorderStyle == AValue) return;
  FBorderStyle = AValue;
  RecreateWnd();
}

void TCustomListBox::SetTabWidth(int AValue) {
  AValue = std::max(AValue, 0);
  if (FTabWidth == AValue) return;
  FTabWidth = AValue;
  RecreateWnd();
}

int TCustomListBox::ItemAtPos(const TPoint& APos, bool AExisting) {
  if (FHandle && ClientRect().Contains(APos)) {
    const int count = Count();
    for (int i = TopIndex(); i < count; ++i) {
      RECT r{};
      SendMessageW(FHandle, LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
      if (TRect(r).Contains(APos)) return i;
    }
    if (!AExisting) return count;
  }
  return -1;
}

TRect TCustomListBox::ItemRect(int AIndex) {
  const int count = Count();
  RECT r{};
  if (!FHandle || AIndex < 0 || AIndex > count) return TRect();
  if (AIndex < count) {
    SendMessageW(FHandle, LB_GETITEMRECT, static_cast<WPARAM>(AIndex), reinterpret_cast<LPARAM>(&r));
    return TRect(r);
  }
  // One past the last item: the place the next one would take.
  if (count == 0) {
    const int height = ItemHeight();
    return TRect(0, 0, ClientWidth(), height);
  }
  SendMessageW(FHandle, LB_GETITEMRECT, static_cast<WPARAM>(count - 1), reinterpret_cast<LPARAM>(&r));
  TRect result(r);
  result.Offset(0, result.Height());
  return result;
}

void TCustomListBox::WindowClear() {
  // Reading the items clears them first; an index read before them stays.
  if (!ComponentState().Contains(csLoading)) {
    FItemIndex = -1;
    FTopIndex = 0;
  }
  if (FHandle) SendMessageW(FHandle, LB_RESETCONTENT, 0, 0);
}

void TCustomListBox::WindowReplace(int AIndex) {
  if (!FHandle) return;
  const bool selected = SendMessageW(FHandle, LB_GETSEL, static_cast<WPARAM>(AIndex), 0) > 0;
  const int top = TopIndex();
  const int caret = static_cast<int>(SendMessageW(FHandle, LB_GETCARETINDEX, 0, 0));
  SendMessageW(FHandle, WM_SETREDRAW, FALSE, 0);
  SendMessageW(FHandle, LB_DELETESTRING, static_cast<WPARAM>(AIndex), 0);
  try {
    WindowInsert(AIndex);
  } catch (...) {
    SendMessageW(FHandle, WM_SETREDRAW, TRUE, 0);
    throw;
  }
  if (FMultiSelect) {
    SendMessageW(FHandle, LB_SETSEL, selected, AIndex);
    SendMessageW(FHandle, LB_SETCARETINDEX, static_cast<WPARAM>(caret), FALSE);
  } else if (selected) {
    SendMessageW(FHandle, LB_SETCURSEL, static_cast<WPARAM>(AIndex), 0);
  }
  SendMessageW(FHandle, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
  SendMessageW(FHandle, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(FHandle, nullptr, TRUE);
}

void TCustomListBox::CNCommand(TMessage& Message) {
  switch (TWMCommand(Message).NotifyCode()) {
    case LBN_SELCHANGE: {
      TControlTracker alive(this);
      Perform(CM_CHANGED, 0, reinterpret_cast<LPARAM>(this));
      if (alive.Alive()) Click();
      break;
    }
    case LBN_DBLCLK:
      DblClick();
      break;
    default:
      break;
  }
}

// ---------------------------------------------------------------------------
// TCustomComboBox

void TCustomComboBox::Publish(TPublisher<TCustomComboBox>& P) {
  P.Property(L"DropDownCount", &TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount).Default(8);
  P.Property(L"ItemHeight", &TCustomComboBox::ItemHeight, &TCustomComboBox::SetItemHeight)
      .Stored(&TCustomComboBox::IsItemHeightStored)
      .Default(16);
  P.Property(L"Items", &TCustomComboBox::Items, &TCustomComboBox::SetItems);
  P.Property(L"ItemIndex", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex).Default(-1);
  P.Property(L"MaxLength", &TCustomComboBox::MaxLength, &TCustomComboBox::SetMaxLength).Default(0);
  P.Property(L"ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(false);
  P.Property(L"Sorted", &TCustomComboBox::Sorted, &TCustomComboBox::SetSorted).Default(false);
  P.Property(L"Style", &TCustomComboBox::Style, &TCustomComboBox::SetStyle).Default(csDropDown);
  P.Property(L"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true);
  P.Property(L"Text", &TControl::Text, &TControl::SetText);
  P.Property(L"OnChange", &TCustomComboBox::OnChange, &TCustomComboBox::SetOnChange);
  P.Property(L"OnCloseUp", &TCustomComboBox::OnCloseUp, &TCustomComboBox::SetOnCloseUp);
  P.Property(L"OnDrawItem", &TCustomComboBox::OnDrawItem, &TCustomComboBox::SetOnDrawItem);
  P.Property(L"OnDropDown", &TCustomComboBox::OnDropDown, &TCustomComboBox::SetOnDropDown);
  P.Property(L"OnMeasureItem", &TCustomComboBox::OnMeasureItem, &TCustomComboBox::SetOnMeasureItem);
  P.Property(L"OnSelect", &TCustomComboBox::OnSelect, &TCustomComboBox::SetOnSelect);
  P.Message<&TCustomComboBox::CNCommand>(CN_COMMAND);
}

void TCustomComboBox::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  // Clicks and double clicks come as CBN_ notifications.
  FControlStyle = {csSetCaption, csFixedHeight, csReplicatable};
  SetBounds(0, 0, 145, 25);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
  FStyle = csDropDown;
  FDropDownCount = 8;
}

const TCustomListControl::TItemMessages& TCustomComboBox::ItemMessages() const {
  static constexpr TItemMessages messages{CB_INSERTSTRING, CB_DELETESTRING, CB_SETITEMDATA};
  return messages;
}

bool TCustomComboBox::IsOwnerDraw() const { return FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable; }

int TCustomComboBox::DropListHeight() { return ItemHeight() * FDropDownCount + 2; }

void TCustomComboBox::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  CreateSubClass(Params, L"COMBOBOX");
  Params.Style |= WS_VSCROLL | CBS_HASSTRINGS;
  switch (FStyle) {
    case csDropDown: Params.Style |= CBS_DROPDOWN | CBS_AUTOHSCROLL; break;
    case csSimple: Params.Style |= CBS_SIMPLE | CBS_AUTOHSCROLL; break;
    case csDropDownList: Params.Style |= CBS_DROPDOWNLIST; break;
    case csOwnerDrawFixed: Params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED; break;
    case csOwnerDrawVariable: Params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE; break;
  }
  // A drop-down combo box's window height covers its open list too.
  if (FStyle != csSimple) Params.Height = FHeight + DropListHeight();
  // The text comes after the items (CreateWnd).
  Params.Caption.clear();
}

void TCustomComboBox::CreateWnd() {
  const String text = TextField();
  {
    FCreating = true;
    TScopeExit created([this] { FCreating = false; });
    inherited::CreateWnd();
    if (HasEdit() && FMaxLength > 0) SendMessageW(FHandle, CB_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
    SendMessageW(FHandle, CB_SETMINVISIBLE, static_cast<WPARAM>(FDropDownCount), 0);
    FillWindow(text);
  }
  HookEdit();
}

void TCustomComboBox::DestroyWnd() {
  if (FHandle) FItemIndex = static_cast<int>(SendMessageW(FHandle, CB_GETCURSEL, 0, 0));
  inherited::DestroyWnd();
}

void TCustomComboBox::DestroyWindowHandle() {
  UnhookEdit();
  inherited::DestroyWindowHandle();
}

void TCustomComboBox::FillWindow(const String& AEditText) {
  if (!FHandle) return;
  {
    const bool creating = std::exchange(FCreating, true);
    TScopeExit filled([this, creating] { FCreating = creating; });
    SendMessageW(FHandle, WM_SETREDRAW, FALSE, 0);
    SendMessageW(FHandle, CB_RESETCONTENT, 0, 0);
    const int count = FItemsList->Count();
    for (int i = 0; i < count; ++i) WindowInsert(i);
    const int index = FItemIndex >= 0 && FItemIndex < count ? FItemIndex : -1;
    SendMessageW(FHandle, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    if (HasEdit()) SetWindowTextW(FHandle, AEditText.c_str());
    SendMessageW(FHandle, WM_SETREDRAW, TRUE, 0);
  }
  InvalidateRect(FHandle, nullptr, TRUE);
}

void TCustomComboBox::Loaded() {
  // Before the window comes (inherited): text and index agree.
  const int count = FItemsList->Count();
  if (FItemIndex >= count) FItemIndex = -1;
  if (HasEdit()) {
    if (TextField().empty() && FItemIndex >= 0) SetTextField(FItemsList->Strings(FItemIndex));
  } else if (FItemIndex < 0 && !TextField().empty()) {
    FItemIndex = FItemsList->IndexOf(TextField());
  }
  inherited::Loaded();
}

void TCustomComboBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  // The window's height includes the open list; the closed part keeps the
  // height the font gives it.
  if (FHandle && FStyle != csSimple) AHeight += DropListHeight();
  inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
}

String TCustomComboBox::GetText() const {
  if (HasEdit()) return inherited::GetText();
  const int index = CurrentIndex();
  return index >= 0 ? FItemsList->Strings(index) : String();
}

void TCustomComboBox::SetTextBuf(const String& AValue) {
  // Read from a description, the text waits for the items (Loaded).
  if (HasEdit() || (ComponentState().Contains(csLoading) && !FHandle)) {
    inherited::SetTextBuf(AValue);
    return;
  }
  SetItemIndex(FItemsList->IndexOf(AValue));
  Perform(CM_TEXTCHANGED, 0, 0);
}

int TCustomComboBox::CurrentIndex() const {
  if (FHandle) return static_cast<int>(SendMessageW(FHandle, CB_GETCURSEL, 0, 0));
  return FItemIndex >= 0 && FItemIndex < FItemsList->Count() ? FItemIndex : -1;
}

int TCustomComboBox::ItemIndex() { return CurrentIndex(); }

void TCustomComboBox::SetItemIndex(int AValue) {
  if (ComponentState().Contains(csLoading) && !FHandle) {
    // The items may come later in the description (Loaded settles it).
    FItemIndex = AValue;
    return;
  }
  if (AValue < 0 || AValue >= FItemsList->Count()) AValue = -1;
  if (FHandle) {
    // Takes the item's text into the edit part (none for -1), silently.
    SendMessageW(FHandle, CB_SETCURSEL, static_cast<WPARAM>(AValue), 0);
    return;
  }
  FItemIndex = AValue;
  if (HasEdit()) SetTextField(AValue >= 0 ? FItemsList->Strings(AValue) : String());
}

void TCustomComboBox::Clear() {
  FItemsList->Clear();
  SetText(String());
}

void TCustomComboBox::SetSorted(bool AValue) {
  if (FSorted == AValue) return;
  FSorted = AValue;
  if (!AValue) return;
  const int index = ItemIndex();
  const String text = HasEdit() ? Text() : String();
  const std::vector<int> moved = FItemsList->SortItems();
  FItemIndex = index >= 0 ? moved[index] : -1;
  FillWindow(text);
}

void TCustomComboBox::SetStyle(TComboBoxStyle AValue) {
  if (FStyle == AValue) return;
  FStyle = AValue;
  RecreateWnd();
}

bool TCustomComboBox::DroppedDown() { return FHandle && SendMessageW(FHandle, CB_GETDROPPEDSTATE, 0, 0) != 0; }

void TCustomComboBox::SetDroppedDown(bool AValue) {
  if (FHandle) SendMessageW(FHandle, CB_SHOWDROPDOWN, AValue, 0);
}

void TCustomComboBox::SetDropDownCount(int AValue) {
  AValue = std::max(AValue, 1);
  if (FDropDownCount == AValue) return;
  FDropDownCount = AValue;
  if (!FHandle) return;
  SendMessageW(FHandle, CB_SETMINVISIBLE, static_cast<WPARAM>(AValue), 0);
  SetBounds(Left(), Top(), Width(), Height());
}

void TCustomComboBox::SetMaxLength(int AValue) {
  AValue = std::max(AValue, 0);
  if (FMaxLength == AValue) return;
  FMaxLength = AValue;
  if (FHandle && HasEdit()) SendMessageW(FHandle, CB_LIMITTEXT, static_cast<WPARAM>(AValue), 0);
}

int TCustomComboBox::ItemHeight() {
  if (FHandle && !IsOwnerDraw()) return static_cast<int>(SendMessageW(FHandle, CB_GETITEMHEIGHT, 0, 0));
  return FItemHeight;
}

void TCustomComboBox::SetItemHeight(int AValue) {
  if (AValue <= 0 || FItemHeight == AValue) return;
  FItemHeight = AValue;
  if (IsOwnerDraw()) RecreateWnd();
}

int TCustomComboBox::SelStart() {
  if (!FHandle || !HasEdit()) return 0;
  DWORD start = 0, end = 0;
  SendMessageW(FHandle, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(start);
}

void TCustomComboBox::SetSelStart(int AValue) {
  if (FHandle && HasEdit()) SendMessageW(FHandle, CB_SETEDITSEL, 0, MAKELPARAM(AValue, AValue));
}

int TCustomComboBox::SelLength() {
  if (!FHandle || !HasEdit()) return 0;
  DWORD start = 0, end = 0;
  SendMessageW(FHandle, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(end - start);
}

void TCustomComboBox::SetSelLength(int AValue) {
  if (!FHandle || !HasEdit()) return;
  const int start = SelStart();
  SendMessageW(FHandle, CB_SETEDITSEL, 0, MAKELPARAM(start, start + AValue));
}

void TCustomComboBox::SelectAll() {
  if (FHandle && HasEdit()) SendMessageW(FHandle, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

void TCustomComboBox::Change() {
  TControlTracker alive(this);
  Perform(CM_CHANGED, 0, reinterpret_cast<LPARAM>(this));
  if (alive.Alive()) CallEvent(FOnChange, this);
}

void TCustomComboBox::Select() {
  if (FOnSelect) FOnSelect(this);
  else Change();
}

void TCustomComboBox::CNCommand(TMessage& Message) {
  switch (TWMCommand(Message).NotifyCode()) {
    case CBN_EDITCHANGE:
      if (!FCreating && !FSelecting) Change();
      break;
    case CBN_SELCHANGE: {
      // The edit part shows the chosen item at once (the window would only
      // after this notification), without a change of its own.
      const int index = ItemIndex();
      if (HasEdit() && index >= 0) {
        FSelecting = true;
        SetWindowTextW(FHandle, FItemsList->Strings(index).c_str());
        FSelecting = false;
      }
      TControlTracker alive(this);
      Click();
      if (alive.Alive()) Select();
      break;
    }
    case CBN_DROPDOWN:
      DropDown();
      break;
    case CBN_CLOSEUP:
      CloseUp();
      break;
    case CBN_DBLCLK:
      DblClick();
      break;
    default:
      break;
  }
}

void TCustomComboBox::WindowClear() {
  // Reading the items clears them first; an index read before them stays.
  if (!ComponentState().Contains(csLoading)) FItemIndex = -1;
  if (!FHandle) return;
  // The window would empty its edit part too; the text stays.
  const String text = HasEdit() ? Text() : String();
  FillWindow(text);
}

void TCustomComboBox::WindowReplace(int AIndex) {
  if (!FHandle) return;
  const int selected = static_cast<int>(SendMessageW(FHandle, CB_GETCURSEL, 0, 0));
  const String text = HasEdit() ? Text() : String();
  const bool creating = std::exchange(FCreating, true);
  TScopeExit replaced([this, creating] { FCreating = creating; });
  SendMessageW(FHandle, CB_DELETESTRING, static_cast<WPARAM>(AIndex), 0);
  WindowInsert(AIndex);
  if (selected >= 0) SendMessageW(FHandle, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  // The selected item's edit text follows its new text; another stays.
  if (HasEdit() && selected != AIndex) SetWindowTextW(FHandle, text.c_str());
}

// The edit part: keys typed there reach the combo box's key events.

HWND TCustomComboBox::EditHandle() {
  if (!FHandle || !HasEdit()) return nullptr;
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  if (!GetComboBoxInfo(FHandle, &info) || info.hwndItem == FHandle) return nullptr;
  return info.hwndItem;
}

void TCustomComboBox::HookEdit() {
  HWND edit = EditHandle();
  if (!edit) return;
  SetPropW(edit, ComboOwnerProp, this);
  const auto old = SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditHookProc));
  SetPropW(edit, ComboEditProcProp, reinterpret_cast<HANDLE>(old));
  FEditHandle = edit;
}

void TCustomComboBox::UnhookEdit() {
  HWND edit = std::exchange(FEditHandle, nullptr);
  if (!edit || !IsWindow(edit)) return;
  if (auto old = reinterpret_cast<WNDPROC>(GetPropW(edit, ComboEditProcProp))) {
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit, GWLP_WNDPROC)) == &EditHookProc)
      SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
  }
  RemovePropW(edit, ComboOwnerProp);
  RemovePropW(edit, ComboEditProcProp);
}

LRESULT CALLBACK TCustomComboBox::EditHookProc(HWND AWnd, UINT AMsg, WPARAM AWParam, LPARAM ALParam) {
  const auto old = reinterpret_cast<WNDPROC>(GetPropW(AWnd, ComboEditProcProp));
  auto* combo = static_cast<TCustomComboBox*>(GetPropW(AWnd, ComboOwnerProp));
  if (!old) return DefWindowProcW(AWnd, AMsg, AWParam, ALParam);
  if (combo) {
    try {
      TMessage message{AMsg, AWParam, ALParam, 0};
      switch (AMsg) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
          if (combo->DoKeyDown(message)) return 0;
          AWParam = message.WParam;
          break;
        case WM_KEYUP:
        case WM_SYSKEYUP:
          if (combo->DoKeyUp(message)) return 0;
          AWParam = message.WParam;
          break;
        case WM_CHAR:
          if (combo->DoKeyPress(message)) return 0;
          AWParam = message.WParam;
          break;
        case WM_NCDESTROY:
          combo->UnhookEdit();
          break;
        default:
          break;
      }
    } catch (...) {
      HandleCallbackException(combo);
      return 0;
    }
  }
  return CallWindowProcW(old, AWnd, AMsg, AWParam, ALParam);
}
