// The check combo box's popup list: rows with a check mark, hot and
// pressed marks that follow the mouse, toggling by click and Space, and the
// rows as check items to accessibility clients.
#include "library/stdctrls/cxCheckComboBox.h"

#include "library/controls/control/cxControls.h"
#include "library/graphics/canvas/cxCanvasScopes.h"
#include "library/lookandfeel/settings/cxLookAndFeels.h"
#include "platform/ui/Messages.h"

#include <algorithm>

namespace {

// UI Automation's toggle-state property change, raised as a WinEvent.
constexpr DWORD CheckComboToggleStateEvent = 30086;
constexpr PATTERNID CheckComboTogglePattern = 10015;

}  // namespace

// ---------------------------------------------------------------------------
// TcxCustomCheckComboBoxListBox: owners and layout

void TcxCustomCheckComboBoxListBox::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  SetStyle(lbOwnerDrawFixed);
}

void TcxCustomCheckComboBoxListBox::Destroy() {
  EndMouseTracking(this);
  inherited::Destroy();
}

bool TcxCustomCheckComboBoxListBox::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IcxMouseTrackingCaller>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
}

TcxCustomCheckComboBox* TcxCustomCheckComboBoxListBox::CheckComboBox() {
  return dynamic_cast<TcxCustomCheckComboBox*>(Edit());
}

TClass TcxCustomCheckComboBoxListBox::GetAccessibilityHelperClass() {
  return TdxCheckComboBoxListBoxAccessibilityHelper::ClassInfo();
}

bool TcxCustomCheckComboBoxListBox::UsesItemPadding() {
  TcxCustomCheckComboBox* edit = CheckComboBox();
  if (edit && edit->ActiveProperties()->ItemHeight() != 0) return false;
  return TcxCustomEditListBox::UsesItemPadding();
}

int TcxCustomCheckComboBoxListBox::GetItemHeight(int AIndex) {
  TcxCustomCheckComboBox* edit = CheckComboBox();
  if (edit && edit->ActiveProperties()->ItemHeight() > 0) return edit->ActiveProperties()->ItemHeight();
  int checkHeight = FCheckSize.cy + 2;
  const TRect padding = TdxVisualRefinements::ItemPadding();
  if (edit && ItemPaddingApplies() && !padding.IsEmpty()) {
    TdxScaleFactor* scale = edit->ScaleFactor();
    checkHeight += scale ? scale->Apply(padding.Top) + scale->Apply(padding.Bottom) : padding.Top + padding.Bottom;
  }
  return std::max(TcxCustomEditListBox::GetItemHeight(AIndex), checkHeight);
}

int TcxCustomCheckComboBoxListBox::GetItemWidth(int AIndex) {
  int width = TcxCustomEditListBox::GetItemWidth(AIndex) + GetItemHeight(-1);
  if (UsesItemPadding()) {
    const TRect padding = TdxVisualRefinements::ItemPadding();
    TdxScaleFactor* scale = CheckComboBox() ? CheckComboBox()->ScaleFactor() : nullptr;
    width -= scale ? scale->Apply(padding.Top) + scale->Apply(padding.Bottom) : padding.Top + padding.Bottom;
  }
  return width;
}

void TcxCustomCheckComboBoxListBox::UpdateItemLayout() {
  TcxCustomCheckComboBox* edit = CheckComboBox();
  if (!edit) {
    inherited::UpdateItemLayout();
    return;
  }
  TcxCustomCheckComboBoxProperties* properties = edit->ActiveProperties();
  TcxLookAndFeel* popupLookAndFeel = edit->PopupControlsLookAndFeel();
  TdxSmartGlyph* glyph = properties->Glyph();
  FCheckSize = GetCheckMarkSize(glyph, properties->GlyphCount(), popupLookAndFeel->NativeStyle(),
                                popupLookAndFeel->SkinPainter(), edit->ScaleFactor());
  const bool glyphShown = !glyph->Empty() && properties->GlyphCount() > 0;
  if (edit->CheckNativeStyle() || glyphShown || LookAndFeel()->SkinPainter())
    FCheckBorderOffset = 0;
  else
    FCheckBorderOffset = 2 - BorderStyleToWidth(static_cast<TcxContainerBorderStyle>(edit->CheckBorderStyle()));
  FCheckSize.cx -= 2 * FCheckBorderOffset;
  FCheckSize.cy -= 2 * FCheckBorderOffset;
  SetItemHeight(GetItemHeight(-1));
  SetStyle(edit->HasMeasureItemHandler() ? lbOwnerDrawVariable : lbOwnerDrawFixed);
}

// ---------------------------------------------------------------------------
// Rows

TcxCheckBoxState TcxCustomCheckComboBoxListBox::RowState(int ARow) {
  TcxCustomCheckComboBox* edit = CheckComboBox();
  if (!edit) return cbsUnchecked;
  const int item = edit->LookupData()->FilteredIndexToItemIndex(ARow);
  return item >= 0 && item < static_cast<int>(edit->FStates.size()) ? edit->FStates[static_cast<size_t>(item)]
                                                                     : cbsUnchecked;
}

bool TcxCustomCheckComboBoxListBox::IsRowEnabled(int ARow) {
  TcxCustomCheckComboBox* edit = CheckComboBox();
  if (!edit) return false;
  const int item = edit->LookupData()->FilteredIndexToItemIndex(ARow);
  TcxCheckComboBoxItems* items = edit->ActiveProperties()->Items();
  return item >= 0 && item < items->Count() && items->GetItems(item)->Enabled();
}

TRect TcxCustomCheckComboBoxListBox::GetCheckRect(const TRect& ARowRect, bool AInflate) {
  const int d = (ARowRect.Height() - FCheckSize.cy) / 2;
  TRect r;
  r.Top = ARowRect.Top + d;
  r.Bottom = r.Top + FCheckSize.cy;
  r.Left = d > 0 ? ARowRect.Left + d : ARowRect.Left + 1;
  r.Right = r.Left + FCheckSize.cx;
  if (UseRightToLeftAlignment()) r = TdxRightToLeftLayoutConverter::ConvertRect(r, ARowRect);
  if (AInflate) r.Inflate(FCheckBorderOffset, FCheckBorderOffset);
  return r;
}

int TcxCustomCheckComboBoxListBox::RowAtPoint(const TPoint& P) { return ItemAtPos(P, true); }

void TcxCustomCheckComboBoxListBox::DrawListItem(int AIndex, const TRect& ARect, TOwnerDrawState AState) {
  TcxCustomCheckComboBox* edit = CheckComboBox();
  TCanvas* canvas = Canvas();
  canvas->FillRect(ARect);
  if (!edit || AIndex < 0 || AIndex >= Items()->Count()) return;
  TcxCustomCheckComboBoxProperties* properties = edit->ActiveProperties();
  TcxCheckPaintHelper* helper = properties->CheckPaintHelper();
  helper->SetGlyph(properties->Glyph(), properties->GlyphCount());
  const TcxCheckBoxState state = RowState(AIndex);
  TRect textRect = helper->GetTextRect(ARect, state);
  if (UseRightToLeftAlignment()) textRect = TdxRightToLeftLayoutConverter::ConvertRect(textRect, ARect);
  const bool enabled = IsRowEnabled(AIndex);
  if (!enabled) canvas->Font()->SetColor(edit->StyleDisabled()->TextColor());
  const String text = GetItemTextAt(AIndex);
  if (HighlightsSearchText()) {
    TcxCustomEditListBox::DrawListItem(AIndex, textRect, AState);
  } else {
    const int oldMode = SetBkMode(canvas->Handle(), TRANSPARENT);
    RECT bounds = textRect;
    ::DrawTextW(canvas->Handle(), text.c_str(), static_cast<int>(text.size()), &bounds, GetItemDrawTextFlags());
    SetBkMode(canvas->Handle(), oldMode);
  }
  if (ARect.Top < 0) return;
  TcxEditCheckState editState = ecsNormal;
  if (!enabled) editState = ecsDisabled;
  else if (AIndex == FHotCheckIndex) editState = ecsHot;
  else if (AIndex == FPressedCheckIndex) editState = ecsPressed;
  const bool native = edit->CheckNativeStyle();
  TcxEditBorderStyle border = edit->CheckBorderStyle();
  if (!native && border == ebsFlat && (editState == ecsHot || editState == ecsPressed)) border = ebs3D;
  if (!FCheckCanvas) FCheckCanvas.reset(New<TcxCanvas>(canvas));
  const TcxCanvasStateScope colors(FCheckCanvas.get());
  DrawCheckMark(FCheckCanvas.get(), GetCheckRect(ARect, true), state, editState, properties->Glyph(),
                properties->GlyphCount(), border, native, clBtnText, Color(), false, false, false, false,
                edit->Style()->LookAndFeel()->SkinPainter(), edit->ScaleFactor(), nssGrayedChecked);
}

// ---------------------------------------------------------------------------
// Hot and pressed marks

void TcxCustomCheckComboBoxListBox::InvalidateCheck(int ARow) {
  if (ARow < 0 || !HandleAllocated() || ARow >= Items()->Count()) return;
  TRect r = ItemRect(ARow);
  const TRect padding = TdxVisualRefinements::ItemPadding();
  if (ItemPaddingApplies() && !padding.IsEmpty()) {
    TdxScaleFactor* scale = CheckComboBox() ? CheckComboBox()->ScaleFactor() : nullptr;
    const auto scaled = [scale](int V) { return scale ? scale->Apply(V) : V; };
    const bool rtl = UseRightToLeftAlignment();
    r.Left += scaled(rtl ? padding.Right : padding.Left);
    r.Right -= scaled(rtl ? padding.Left : padding.Right);
    if (UsesItemPadding()) {
      r.Top += scaled(padding.Top);
      r.Bottom -= scaled(padding.Bottom);
    }
  }
  const RECT check = GetCheckRect(r, false);
  ::InvalidateRect(Handle(), &check, FALSE);
}

void TcxCustomCheckComboBoxListBox::SetHotAndPressed(int AHot, int APressed) {
  if (AHot != FHotCheckIndex) {
    InvalidateCheck(FHotCheckIndex);
    FHotCheckIndex = AHot;
    InvalidateCheck(FHotCheckIndex);
  }
  if (APressed != FPressedCheckIndex) {
    InvalidateCheck(FPressedCheckIndex);
    FPressedCheckIndex = APressed;
    InvalidateCheck(FPressedCheckIndex);
  }
}

void TcxCustomCheckComboBoxListBox::UpdateHotAndPressedByMouse(TShiftState AShift, int X, int Y) {
  int hot = FHotCheckIndex;
  int pressed = FPressedCheckIndex;
  const int row = RowAtPoint(TPoint(X, Y));
  if (FCapturedCheckIndex != -1) {
    pressed = row == FCapturedCheckIndex ? FCapturedCheckIndex : -1;
    hot = -1;
  }
  if (GetCaptureControl() != this && IsPlainMouseMove(AShift)) hot = row;
  SetHotAndPressed(hot, pressed);
}

// ---------------------------------------------------------------------------
// Mouse and keys

void TcxCustomCheckComboBoxListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TControlTracker alive(this);
  // The combo list's press picks a row on release; here a release toggles.
  TcxCustomEditListBox::MouseDown(Button, Shift, X, Y);
  if (!alive.Alive()) return;
  if (Button == mbLeft) {
    FCapturedCheckIndex = RowAtPoint(TPoint(X, Y));
    SetHotAndPressed(-1, FCapturedCheckIndex);
  } else {
    SetHotAndPressed(-1, -1);
  }
}

void TcxCustomCheckComboBoxListBox::MouseMove(TShiftState Shift, int X, int Y) {
  TcxCustomCheckComboBox* edit = CheckComboBox();
  const bool locked = edit && edit->PopupMouseMoveLocked();
  const TControlTracker alive(this);
  inherited::MouseMove(Shift, X, Y);
  if (!alive.Alive() || locked) return;
  UpdateHotAndPressedByMouse(Shift, X, Y);
  BeginMouseTracking(this, ClientRect(), this);
}

void TcxCustomCheckComboBoxListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TControlTracker alive(this);
  TcxCustomEditListBox::MouseUp(Button, Shift, X, Y);
  if (!alive.Alive()) return;
  const int row = RowAtPoint(TPoint(X, Y));
  int pressed = FPressedCheckIndex;
  if (Button == mbLeft) {
    SetMouseCapture(false);
    const int captured = FCapturedCheckIndex;
    FCapturedCheckIndex = -1;
    if (row != -1 && IsRowEnabled(row)) {
      if (TcxCustomCheckComboBox* edit = CheckComboBox())
        edit->ILookupData()->SetCurrentKey(Variant(edit->LookupData()->FilteredIndexToItemIndex(row)));
      if (!alive.Alive()) return;
      if (row == pressed && row == captured) ToggleItem(row);
      if (!alive.Alive()) return;
    }
    pressed = -1;
  }
  SetHotAndPressed(IsPlainMouseMove(Shift) ? row : -1, pressed);
}

bool TcxCustomCheckComboBoxListBox::DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) {
  const TControlTracker alive(this);
  const bool result = inherited::DoMouseWheel(Shift, WheelDelta, MousePos);
  if (alive.Alive() && HandleAllocated()) {
    POINT cursor{};
    GetCursorPos(&cursor);
    const TPoint p = ScreenToClient(TPoint(cursor.x, cursor.y));
    UpdateHotAndPressedByMouse(KeyboardStateToShiftState(), p.X, p.Y);
  }
  return result;
}

void TcxCustomCheckComboBoxListBox::MouseLeave() {
  UpdateHotAndPressedByMouse(TShiftState(), -1, -1);
  EndMouseTracking(this);
}

void TcxCustomCheckComboBoxListBox::KeyPress(wchar_t& Key) {
  TcxCustomCheckComboBox* edit = CheckComboBox();
  const int row = ItemIndex();
  if (!edit || row < 0) {
    inherited::KeyPress(Key);
    return;
  }
  if (Key == L' ' && IsRowEnabled(row)) {
    FInternalUpdate = true;
    TScopeExit done([this] { FInternalUpdate = false; });
    ToggleItem(row);
  }
  Key = 0;
}

void TcxCustomCheckComboBoxListBox::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case LB_GETTEXTLEN: Message.Result = 0; return;
    case LB_SETCURSEL:
      if (FInternalUpdate) return;
      break;
    case CM_MOUSEENTER: {
      const TControlTracker alive(this);
      inherited::WndProc(Message);
      if (alive.Alive() && HandleAllocated()) BeginMouseTracking(this, ClientRect(), this);
      return;
    }
    case CM_MOUSELEAVE: {
      const TControlTracker alive(this);
      inherited::WndProc(Message);
      if (alive.Alive()) MouseLeave();
      return;
    }
    case WM_DESTROY: EndMouseTracking(this); break;
    default: break;
  }
  inherited::WndProc(Message);
}

void TcxCustomCheckComboBoxListBox::ToggleItem(int ARow) {
  TcxCustomCheckComboBox* edit = CheckComboBox();
  if (!edit) return;
  const int item = edit->LookupData()->FilteredIndexToItemIndex(ARow);
  if (item < 0 || item >= static_cast<int>(edit->FStates.size())) return;
  const TControlTracker alive(this);
  if (!edit->CanToggleItem(item) || !alive.Alive()) return;
  TcxCheckBoxState& state = edit->FStates[static_cast<size_t>(item)];
  state = edit->ActiveProperties()->CheckPaintHelper()->GetNextState(state);
  if (HandleAllocated()) NotifyWinEvent(CheckComboToggleStateEvent, Handle(), OBJID_CLIENT, ARow + 1);
  edit->SyncEditValueFromDisplay();
  if (!alive.Alive()) return;
  edit->SetModifiedAfterEnter(true);
  if (edit->ActiveProperties()->ImmediatePost() && edit->CanPostEditValue()) edit->PostValueCore(false);
  if (alive.Alive()) InvalidateCheck(ARow);
}

// ---------------------------------------------------------------------------
// Accessibility

void TdxCheckComboBoxListBoxToggleProvider::DoToggle() {
  if (!Owner()->IsOwnerObjectLive() || FItemIndex < 0 || FItemIndex >= static_cast<int>(FCheckComboBox->States().size()))
    return;
  const TcxCheckBoxState state = FCheckComboBox->GetItemState(FItemIndex);
  FCheckComboBox->SetItemState(FItemIndex, state == cbsChecked ? cbsUnchecked : cbsChecked);
}

int TdxCheckComboBoxListBoxToggleProvider::GetToggleState() {
  if (!Owner()->IsOwnerObjectLive() || FItemIndex < 0 || FItemIndex >= static_cast<int>(FCheckComboBox->States().size()))
    return 0;
  switch (FCheckComboBox->GetItemState(FItemIndex)) {
    case cbsChecked: return 1;
    case cbsGrayed: return 2;
    default: return 0;
  }
}

void TdxCheckComboBoxListBoxAccessibilityHelper::Create(TObject* AOwnerObject) { inherited::Create(AOwnerObject); }

void TdxCheckComboBoxListBoxAccessibilityHelper::Destroy() {
  FToggleProvider.reset();
  inherited::Destroy();
}

TcxCustomCheckComboBox* TdxCheckComboBoxListBoxAccessibilityHelper::CheckComboBox() {
  auto* list = dynamic_cast<TcxCustomCheckComboBoxListBox*>(OwnerListBox());
  return list ? dynamic_cast<TcxCustomCheckComboBox*>(list->Edit()) : nullptr;
}

int TdxCheckComboBoxListBoxAccessibilityHelper::ChildItemIndex(int AChildID) {
  TcxCustomCheckComboBox* edit = CheckComboBox();
  if (!edit || AChildID < 1) return -1;
  const int item = edit->LookupData()->FilteredIndexToItemIndex(AChildID - 1);
  return item >= 0 && item < edit->ActiveProperties()->Items()->Count() ? item : -1;
}

String TdxCheckComboBoxListBoxAccessibilityHelper::GetName(int AChildID) {
  if (AChildID == CHILDID_SELF) return inherited::GetName(AChildID);
  const int item = ChildItemIndex(AChildID);
  return item >= 0 ? CheckComboBox()->ActiveProperties()->Items()->GetItems(item)->Description() : String();
}

int TdxCheckComboBoxListBoxAccessibilityHelper::GetState(int AChildID) {
  int state = inherited::GetState(AChildID);
  const int item = ChildItemIndex(AChildID);
  if (item < 0) return state;
  TcxCustomCheckComboBox* edit = CheckComboBox();
  if (!edit->ActiveProperties()->Items()->GetItems(item)->Enabled()) state |= STATE_SYSTEM_UNAVAILABLE;
  if (item < static_cast<int>(edit->States().size()) && edit->States()[static_cast<size_t>(item)] == cbsChecked)
    state |= STATE_SYSTEM_CHECKED;
  return state;
}

bool TdxCheckComboBoxListBoxAccessibilityHelper::GetPatternProvider(PATTERNID APatternID,
                                                                    TComPtr<IUnknown>& AProvider, int AChildID) {
  if (APatternID != CheckComboTogglePattern) return false;
  const int item = ChildItemIndex(AChildID);
  if (item < 0) return false;
  TcxCustomCheckComboBox* edit = CheckComboBox();
  if (!FToggleProvider) FToggleProvider = std::make_unique<TdxCheckComboBoxListBoxToggleProvider>(this, edit);
  FToggleProvider->SetItemIndex(item);
  AProvider = TComPtr<IUnknown>(static_cast<IUnknown*>(FToggleProvider.get()));
  return true;
}
