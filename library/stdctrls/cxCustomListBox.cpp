#include "library/stdctrls/cxCustomListBox.h"

#include "library/controls/control/cxControls.h"
#include "platform/runtime/SysUtils.h"

void TcxCustomListBox::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FDataBinding.reset(NewOfClass<TcxCustomDataBinding>(GetDataBindingClass(), this, this));
  FDataBinding->SetOnDataChange(BindEvent<&TcxCustomListBox::HandleDataChange>(this));
  FDataBinding->SetOnDataSetChange(BindEvent<&TcxCustomListBox::HandleDataSetChange>(this));
  FDataBinding->SetOnUpdateData(BindEvent<&TcxCustomListBox::StoreDataValue>(this));
}

void TcxCustomListBox::Destroy() {
  inherited::Destroy();
  FDataBinding.reset();
}

bool TcxCustomListBox::ExecuteAction(TBasicAction* Action) {
  return inherited::ExecuteAction(Action) || FDataBinding->ExecuteAction(Action);
}

// ---------------------------------------------------------------------------
// Items and selection

void TcxCustomListBox::SetItems(TStrings* AValue) {
  FInnerListBox->SetItems(AValue);
  HandleDataChange();
}

void TcxCustomListBox::SetCount(int AValue) {
  AValue = std::max(AValue, 0);
  TStrings* items = Items();
  WithUpdate(items, [&] {
    while (items->Count() > AValue) items->Delete(items->Count() - 1);
    while (items->Count() < AValue) items->Add(String());
  });
}

TObject* TcxCustomListBox::ItemObject() {
  const int index = ItemIndex();
  return index == -1 ? nullptr : Items()->Objects(index);
}

void TcxCustomListBox::SetItemObject(TObject* AValue) { SetItemIndex(Items()->IndexOfObject(AValue)); }

template <class TOperation>
void TcxCustomListBox::InItemsUpdate(TOperation AOperation) {
  WithUpdate(Items(), AOperation);
}

void TcxCustomListBox::ClearSelection() {
  InItemsUpdate([this] { FInnerListBox->ClearSelection(); });
}

void TcxCustomListBox::DeleteSelected() {
  InItemsUpdate([this] { FInnerListBox->DeleteSelected(); });
}

void TcxCustomListBox::SelectAll() {
  InItemsUpdate([this] { FInnerListBox->SelectAll(); });
}

void TcxCustomListBox::CopySelection(TCustomListControl* ADestination) {
  InItemsUpdate([&] {
    TStrings* items = Items();
    for (int i = 0; i < items->Count(); ++i)
      if (Selected(i)) ADestination->AddItem(items->Strings(i), items->Objects(i));
  });
}

void TcxCustomListBox::MoveSelection(TCustomListControl* ADestination) {
  InItemsUpdate([&] {
    CopySelection(ADestination);
    FInnerListBox->DeleteSelected();
  });
}

int TcxCustomListBox::ItemAtPos(const TPoint& APos, bool AExisting) {
  return FInnerListBox->ItemAtPos(TPoint(APos.X - FInnerListBox->Left(), APos.Y - FInnerListBox->Top()), AExisting);
}

TRect TcxCustomListBox::ItemRect(int AIndex) {
  TRect r = FInnerListBox->ItemRect(AIndex);
  r.Offset(FInnerListBox->Left(), FInnerListBox->Top());
  return r;
}

// ---------------------------------------------------------------------------
// Settings

void TcxCustomListBox::SetColumns(int AValue) {
  FInnerListBox->SetColumns(AValue);
  SetScrollBarsParameters(false);
}

void TcxCustomListBox::SetIntegralHeight(bool AValue) {
  if (FIntegralHeight == AValue) return;
  FIntegralHeight = AValue;
  AdjustInnerControlBounds();
}

bool TcxCustomListBox::IsAlignedToFill() const {
  const TAlign align = Align();
  return align == alLeft || align == alRight || align == alClient;
}

// ---------------------------------------------------------------------------
// Integral height

int TcxCustomListBox::GetItemHeightOf(int) {
  const int height = ListStyle() == lbStandard ? Canvas()->FontHeight(Font()) : ItemHeight();
  return std::max(height, 1);
}

int TcxCustomListBox::AdjustIntegralHeight(int AHeight) {
  TRect extents;
  GetBorderExtents(extents);
  const TSize bars = OverlayScrollBarSize();
  int scrollWidth = ScrollWidth();
  if (scrollWidth > 0) scrollWidth += 4;
  const int borderWidth = Width() - (extents.Left + extents.Right);
  // The usable width while items from AIndex on still follow.
  auto needsHorzBar = [&](bool AMoreItems) { return borderWidth - (AMoreItems ? bars.cx : 0) < scrollWidth; };

  int accumulated = extents.Top + extents.Bottom;
  for (int i = GetIntegralHeightStartIndex();; ++i) {
    const int height = std::max(GetItemHeightOf(i), 1);
    accumulated += height;
    const int total = accumulated + (needsHorzBar(Count() > i + 1) ? bars.cy : 0);
    if (total == AHeight) return AHeight;
    if (total < AHeight) continue;
    if (i == GetIntegralHeightStartIndex()) return total;
    return accumulated - height + (needsHorzBar(i < Count()) ? bars.cy : 0);
  }
}

bool TcxCustomListBox::CanResize(int& NewWidth, int& NewHeight) {
  const bool result = inherited::CanResize(NewWidth, NewHeight);
  if (result && FIntegralHeight && !IsLoading() && !IsAlignedToFill()) NewHeight = AdjustIntegralHeight(NewHeight);
  return result;
}

void TcxCustomListBox::AdjustInnerControlBounds() {
  const TRect before = FInnerListBox->BoundsRect();
  if (FIntegralHeight && !IsLoading() && !IsAlignedToFill()) {
    const int height = AdjustIntegralHeight(Height());
    if (height != Height()) SetHeight(height);
  }
  inherited::AdjustInnerControlBounds();
  // Moves queued for the old place would hot-track items that are not there.
  if (FInnerListBox->BoundsRect() != before && FInnerListBox->HandleAllocated())
    MessagesController()->KillMessages(FInnerListBox->Handle(), WM_MOUSEMOVE);
}

// ---------------------------------------------------------------------------
// Messages, keys and focus

namespace {

// The list-box messages from LB_ADDSTRING on that go straight to the inner window.
constexpr UINT LastListBoxMessage = 0x1B3;

}  // namespace

bool TcxCustomListBox::ChangeItemsByMessage(TMessage& Message) {
  TStrings* items = Items();
  const int index = static_cast<int>(Message.WParam);
  const auto text = [&] { return String(reinterpret_cast<const wchar_t*>(Message.LParam)); };
  switch (Message.Msg) {
    case LB_ADDSTRING: Message.Result = items->Add(text()); return true;
    case LB_INSERTSTRING:
      if (index < -1 || index > items->Count()) return false;
      // A sorted list keeps its own order.
      if (index == -1 || Sorted()) Message.Result = items->Add(text());
      else {
        items->Insert(index, text());
        Message.Result = index;
      }
      return true;
    case LB_DELETESTRING:
      if (index < 0 || index >= items->Count()) return false;
      items->Delete(index);
      Message.Result = items->Count();
      return true;
    case LB_RESETCONTENT: items->Clear(); return true;
    default: return false;
  }
}

void TcxCustomListBox::WndProc(TMessage& Message) {
  if (Message.Msg >= LB_ADDSTRING && Message.Msg <= LastListBoxMessage && FInnerListBox) {
    // Item changes go through the items, which keep the window in step;
    // everything else is the window's own answer.
    if (!ChangeItemsByMessage(Message))
      Message.Result = SendMessageW(FInnerListBox->Handle(), Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  inherited::WndProc(Message);
}

void TcxCustomListBox::HandleScroll(TScrollBarKind AKind, TScrollCode ACode, int& APosition) {
  inherited::HandleScroll(AKind, ACode, APosition);
  if (Enabled()) FInnerListBox->ScrollTo(AKind == sbVertical, ACode, APosition);
}

void TcxCustomListBox::DoExit() {
  if (IsDestroying() || FIsExitProcessing) return;
  FIsExitProcessing = true;
  TryFinally(
      [this] {
        try {
          FDataBinding->UpdateDataSource();
        } catch (...) {
          SetFocus();
          throw;
        }
        inherited::DoExit();
      },
      [this] { FIsExitProcessing = false; });
}

void TcxCustomListBox::CheckNavigationKey(WORD& Key) {
  if (Key >= VK_PRIOR && Key <= VK_DOWN && !FDataBinding->SetEditMode()) Key = 0;
}

bool TcxCustomListBox::IsBlockedChar(wchar_t AChar) { return AChar >= L' ' && !FDataBinding->SetEditMode(); }

void TcxCustomListBox::KeyDown(WORD& Key, TShiftState Shift) {
  inherited::KeyDown(Key, Shift);
  if (Key != 0) CheckNavigationKey(Key);
}

void TcxCustomListBox::KeyPress(wchar_t& Key) {
  inherited::KeyPress(Key);
  if (Key == L' ') FDataBinding->Reset();
  if (IsBlockedChar(Key)) Key = 0;
}

void TcxCustomListBox::SyncInnerTextFlags() { FInnerListBox->Canvas()->SetTextFlags(Canvas()->TextFlags()); }

// ---------------------------------------------------------------------------
// Data binding

void TcxCustomListBox::HandleDataChange() {
  if (FDataBinding->IsDataSourceLive())
    SetItemIndex(IndexOfItemText(VarToStr(FDataBinding->GetStoredValue(evsText, Focused()))));
  else
    SetItemIndex(-1);
}

void TcxCustomListBox::StoreDataValue() {
  const int index = ItemIndex();
  FDataBinding->SetStoredValue(evsText, index == -1 ? String() : GetItemText(index));
}
