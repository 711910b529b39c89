#include "library/stdctrls/cxListBox.h"

#include <windowsx.h>

// ---------------------------------------------------------------------------
// TcxInnerListBox

TcxListBox* TcxInnerListBox::ListBox() const { return dynamic_cast<TcxListBox*>(Container()); }

bool TcxInnerListBox::CanFocus() {
  TcxListBox* listBox = ListBox();
  return listBox ? listBox->CanFocus() : inherited::CanFocus();
}

bool TcxInnerListBox::ExecuteAction(TBasicAction* Action) {
  if (inherited::ExecuteAction(Action)) return true;
  TcxListBox* listBox = ListBox();
  return listBox && listBox->DataBinding()->ExecuteAction(Action);
}

void TcxInnerListBox::SetScrollWidth(int AValue) {
  AValue = std::max(AValue, 0);
  if (FScrollWidth == AValue) return;
  FScrollWidth = AValue;
  if (HandleAllocated()) SendMessageW(Handle(), LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(FScrollWidth), 0);
}

void TcxInnerListBox::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (!IsVirtual()) return;
  // A window without item data draws every item through its owner.
  Params.Style &= ~static_cast<DWORD>(LBS_HASSTRINGS | LBS_OWNERDRAWVARIABLE | LBS_SORT);
  Params.Style |= LBS_NODATA | LBS_OWNERDRAWFIXED;
}

void TcxInnerListBox::CreateWnd() {
  inherited::CreateWnd();
  if (FScrollWidth > 0) SendMessageW(Handle(), LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(FScrollWidth), 0);
  if (!IsVirtual()) return;
  SendMessageW(Handle(), LB_SETITEMHEIGHT, 0, ItemHeight());
  SendMessageW(Handle(), LB_SETCOUNT, static_cast<WPARAM>(FVirtualCount), 0);
}

void TcxInnerListBox::SetVirtualCount(int AValue) {
  AValue = std::max(AValue, 0);
  if (FVirtualCount == AValue) return;
  FVirtualCount = AValue;
  if (HandleAllocated() && IsVirtual()) SendMessageW(Handle(), LB_SETCOUNT, static_cast<WPARAM>(FVirtualCount), 0);
}

String TcxInnerListBox::VirtualText(int AIndex) {
  String result;
  if (AIndex >= 0 && AIndex < FVirtualCount) CallEvent(FOnData, this, AIndex, result);
  return result;
}

TObject* TcxInnerListBox::VirtualObject(int AIndex) {
  TObject* result = nullptr;
  if (AIndex >= 0 && AIndex < FVirtualCount) CallEvent(FOnDataObject, this, AIndex, result);
  return result;
}

void TcxInnerListBox::FindVirtualString(TMessage& Message) {
  Message.Result = LB_ERR;
  if (!FOnDataFind || !Message.LParam) return;
  const String text(reinterpret_cast<const wchar_t*>(Message.LParam));
  const int found = FOnDataFind(this, text);
  if (found >= 0 && found < FVirtualCount) Message.Result = found;
}

void TcxInnerListBox::WndProc(TMessage& Message) {
  if (IsVirtual() && (Message.Msg == LB_FINDSTRING || Message.Msg == LB_FINDSTRINGEXACT)) {
    FindVirtualString(Message);
    return;
  }
  TcxListBox* listBox = ListBox();
  if (Message.Msg == WM_LBUTTONDOWN && listBox && !listBox->DataBinding()->SetEditMode()) {
    // Read-only: the press focuses the list and reaches the handlers, but
    // the native list never sees it, so the selection stays.
    if (CanFocus() && !Focused()) SetFocus();
    const TPoint p(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
    MouseDown(mbLeft, KeysToShiftState(static_cast<WORD>(Message.WParam)), p.X, p.Y);
    return;
  }
  inherited::WndProc(Message);
}

void TcxInnerListBox::Click() {
  TcxListBox* listBox = ListBox();
  if (!listBox || listBox->DataBinding()->SetEditMode()) inherited::Click();
}

void TcxInnerListBox::DrawItem(int AIndex, const TRect& ARect, TOwnerDrawState AState) {
  TcxListBox* listBox = ListBox();
  if (listBox && listBox->DoDrawItem(Canvas(), AIndex, ARect, AState)) return;
  if (!IsVirtual()) {
    inherited::DrawItem(AIndex, ARect, AState);
    return;
  }
  Canvas()->FillRect(ARect);
  Canvas()->TextOut(ARect.Left + 2, ARect.Top, VirtualText(AIndex));
}

// ---------------------------------------------------------------------------
// TcxListBox

void TcxListBox::Publish(TPublisher<TcxListBox>& P) {
  P.Property(L"AutoComplete", &TcxListBox::AutoComplete, &TcxListBox::SetAutoComplete).Default(true);
  P.Property(L"AutoCompleteDelay", &TcxListBox::AutoCompleteDelay, &TcxListBox::SetAutoCompleteDelay).Default(500);
  P.Property(L"Columns", &TcxListBox::Columns, &TcxListBox::SetColumns).Default(0);
  P.Property(L"ExtendedSelect", &TcxListBox::ExtendedSelect, &TcxListBox::SetExtendedSelect).Default(true);
  P.Property(L"IntegralHeight", &TcxListBox::IntegralHeight, &TcxListBox::SetIntegralHeight).Default(false);
  P.Property(L"ItemHeight", &TcxListBox::ItemHeight, &TcxListBox::SetItemHeight).Stored(true);
  P.Property(L"Items", &TcxListBox::Items, &TcxListBox::SetItems);
  P.Property(L"ListStyle", &TcxListBox::ListStyle, &TcxListBox::SetListStyle).Default(lbStandard);
  P.Property(L"MultiSelect", &TcxListBox::MultiSelect, &TcxListBox::SetMultiSelect).Default(false);
  P.Property(L"ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(false);
  P.Property(L"ReadOnly", &TcxListBox::ReadOnly, &TcxListBox::SetReadOnly).Default(false);
  P.Property(L"ScrollWidth", &TcxListBox::ScrollWidth, &TcxListBox::SetScrollWidth).Default(0);
  P.Property(L"Sorted", &TcxListBox::Sorted, &TcxListBox::SetSorted).Default(false);
  P.Property(L"Style", &TcxListBox::Style, &TcxListBox::SetStyle);
  P.Property(L"StyleDisabled", &TcxListBox::StyleDisabled, &TcxListBox::SetStyleDisabled);
  P.Property(L"StyleFocused", &TcxListBox::StyleFocused, &TcxListBox::SetStyleFocused);
  P.Property(L"StyleHot", &TcxListBox::StyleHot, &TcxListBox::SetStyleHot);
  P.Property(L"TabWidth", &TcxListBox::TabWidth, &TcxListBox::SetTabWidth).Default(0);
  P.Property(L"OnDrawItem", &TcxListBox::OnDrawItem, &TcxListBox::SetOnDrawItem);
  P.Property(L"OnMeasureItem", &TcxListBox::OnMeasureItem, &TcxListBox::SetOnMeasureItem);
  P.Property(L"OnData", &TcxListBox::OnData, &TcxListBox::SetOnData);
  P.Property(L"OnDataFind", &TcxListBox::OnDataFind, &TcxListBox::SetOnDataFind);
  P.Property(L"OnDataObject", &TcxListBox::OnDataObject, &TcxListBox::SetOnDataObject);
}

void TcxListBox::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FItemHeightScale.reset(New<TdxScaleFactor>());
  FInnerListBox = CreateInnerListBox();
  AttachInnerListBox();
  SetBounds(Left(), Top(), 121, 97);
  FListStyle = lbStandard;
  SetItemHeight(16);
}

void TcxListBox::Destroy() {
  inherited::Destroy();
  FItemHeightScale.reset();
}

TcxCustomInnerListBox* TcxListBox::CreateInnerListBox() {
  return NewOfClass<TcxInnerListBox>(GetInnerListBoxClass(), this);
}

void TcxListBox::AttachInnerListBox() {
  FInnerListBox->SetBorderStyle(bsNone);
  FInnerListBox->SetContainer(this);
  FInnerListBox->SetParent(this);
  SetInnerControl(FInnerListBox);
  FInnerListBox->LookAndFeel()->SetMasterLookAndFeel(Style()->LookAndFeel());
}

// ---------------------------------------------------------------------------
// Item height and list style

namespace {

bool IsRefinementPath() { return TdxVisualRefinements::ItemPadding() != TRect(); }

}  // namespace

int TcxListBox::ItemHeight() { return FInnerListBox->ItemHeight(); }

void TcxListBox::SetItemHeight(int AValue) {
  FItemHeight = AValue;
  FItemHeightScale->Assign(ScaleFactor());
  if (!IsRefinementPath() || FListStyle != lbStandard) FInnerListBox->SetItemHeight(AValue);
}

int TcxListBox::ScaledItemHeight() { return ScaleFactor()->Apply(FItemHeight, FItemHeightScale.get()); }

void TcxListBox::SetListStyle(TListBoxStyle AValue) {
  if (FListStyle == AValue) return;
  FListStyle = AValue;
  ApplyListStyle();
}

void TcxListBox::ApplyListStyle() {
  if (!IsRefinementPath() || FListStyle != lbStandard) {
    FInnerListBox->SetStyle(FListStyle);
    FInnerListBox->SetItemHeight(ScaledItemHeight());
    return;
  }
  const TRect padding = ScaleFactor()->Apply(TdxVisualRefinements::ItemPadding());
  const int fontHeight = HandleAllocated() ? Canvas()->FontHeight(Font()) : ScaledItemHeight();
  FInnerListBox->SetStyle(lbOwnerDrawFixed);
  FInnerListBox->SetItemHeight(fontHeight + padding.Top + padding.Bottom);
}

int TcxListBox::GetItemHeightOf(int AIndex) {
  int height = ItemHeight();
  switch (FListStyle) {
    case lbStandard:
      height = HandleAllocated() ? Canvas()->FontHeight(Font()) : ScaledItemHeight();
      if (IsRefinementPath()) {
        const TRect padding = ScaleFactor()->Apply(TdxVisualRefinements::ItemPadding());
        height += padding.Top + padding.Bottom;
      }
      break;
    case lbOwnerDrawVariable:
      if (AIndex >= 0 && AIndex < Count()) CallEvent(FInnerListBox->OnMeasureItem(), FInnerListBox, AIndex, height);
      break;
    default: break;
  }
  return std::max(height, 1);
}

void TcxListBox::SetOnMeasureItem(TcxListBoxMeasureItemEvent AValue) {
  FOnMeasureItem = AValue;
  FInnerListBox->SetOnMeasureItem(AValue ? BindEvent<&TcxListBox::MeasureItemBridge>(this) : TMeasureItemEvent());
}

void TcxListBox::MeasureItemBridge(TWinControl*, int AIndex, int& AHeight) {
  CallEvent(FOnMeasureItem, this, AIndex, AHeight);
}

void TcxListBox::SetCount(int AValue) {
  if (InnerListBox()->IsVirtual())
    InnerListBox()->SetVirtualCount(AValue);
  else
    inherited::SetCount(AValue);
}

void TcxListBox::SetItemIndex(int AValue) {
  if (!InnerListBox()->IsVirtual()) {
    inherited::SetItemIndex(AValue);
    return;
  }
  if (AValue < 0 || AValue >= Count()) AValue = -1;
  if (InnerListBox()->MultiSelect()) {
    SendMessageW(InnerListBox()->Handle(), LB_SETSEL, FALSE, -1);
    if (AValue >= 0) SendMessageW(InnerListBox()->Handle(), LB_SETSEL, TRUE, AValue);
    SendMessageW(InnerListBox()->Handle(), LB_SETCARETINDEX, static_cast<WPARAM>(std::max(AValue, 0)), FALSE);
  } else {
    SendMessageW(InnerListBox()->Handle(), LB_SETCURSEL, static_cast<WPARAM>(AValue), 0);
  }
}

String TcxListBox::GetItemText(int AIndex) {
  return InnerListBox()->IsVirtual() ? InnerListBox()->VirtualText(AIndex) : Items()->Strings(AIndex);
}

bool TcxListBox::DoDrawItem(TCanvas* ACanvas, int AIndex, const TRect& ARect, TOwnerDrawState AState) {
  SyncInnerTextFlags();
  if (!FOnDrawItem || FListStyle == lbStandard || FListStyle == lbVirtual) return false;
  TOwned<TcxCanvas> canvas(New<TcxCanvas>(ACanvas));
  FOnDrawItem(this, canvas.get(), AIndex, ARect, AState);
  return true;
}

// ---------------------------------------------------------------------------
// Windows and layout

void TcxListBox::WndProc(TMessage& Message) {
  inherited::WndProc(Message);
  if (Message.Msg == WM_COMMAND && HIWORD(Message.WParam) == LBN_SELCHANGE)
    FInnerListBox->SetExternalScrollBarsParameters();
}

void TcxListBox::RecreateInnerWindow() {
  if (!FInnerListBox->HandleAllocated()) return;
  // The new window may first come at a size that shows more rows, which
  // would clamp the top row; it is put back once the list has its place.
  const int topIndex = FInnerListBox->TopIndex();
  FInnerListBox->Perform(CM_RECREATEWND, 0, 0);
  if (FInnerListBox->HandleAllocated()) {
    AdjustInnerControlBounds();
    FInnerListBox->SetTopIndex(topIndex);
  }
}

void TcxListBox::Loaded() {
  inherited::Loaded();
  RecreateInnerWindow();
}

void TcxListBox::AfterScaleChange() {
  inherited::AfterScaleChange();
  RecreateInnerWindow();
}

void TcxListBox::HandleScrollBarModeChange() {
  inherited::HandleScrollBarModeChange();
  RecreateInnerWindow();
}

void TcxListBox::RefinementsChanged() {
  ApplyListStyle();
  Invalidate();
  inherited::RefinementsChanged();
}

void TcxListBox::AdjustAlignRect(TRect& R) {
  TRect extents;
  GetBorderExtents(extents);
  R.Left += extents.Left;
  R.Top += extents.Top;
  R.Right -= extents.Right;
  R.Bottom -= extents.Bottom;
}

void cxListBoxInitialization() { RegisterClasses({TcxListBox::ClassInfo(), TdxCustomListBox::ClassInfo()}); }

void cxListBoxFinalization() {
  UnRegisterClass(TdxCustomListBox::ClassInfo());
  UnRegisterClass(TcxListBox::ClassInfo());
}
