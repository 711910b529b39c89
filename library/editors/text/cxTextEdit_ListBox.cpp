// The drop-down list of a lookup and its container: rows, hot tracking,
// wheel, pan gestures and the list's MSAA node.
#include "library/core/colors/dxCoreGraphics.h"
#include "library/editors/text/cxTextEdit.h"
#include "library/graphics/text/cxDrawTextUtils.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"
#include "library/lookandfeel/settings/cxLookAndFeels.h"
#include "platform/ui/Messages.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// TcxCustomEditListBox: creation and owners

void TcxCustomEditListBox::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FGestureHelper.reset(New<TdxGestureHelper>(static_cast<IdxGestureOwner*>(this)));
  SetBorderStyle(bsNone);
}

void TcxCustomEditListBox::Destroy() {
  NotifyAccessibilityHelperRemoved(FIAccessibilityHelper);
  FGestureHelper.reset();
  inherited::Destroy();
}

bool TcxCustomEditListBox::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IdxGestureClient, IdxGestureClient2, IdxGestureOwner>(this, AIID, AObj) ||
         inherited::GetInterface(AIID, AObj);
}

TcxEditListBoxContainer* TcxCustomEditListBox::ListContainer() {
  return dynamic_cast<TcxEditListBoxContainer*>(Container());
}

TcxCustomTextEdit* TcxCustomEditListBox::Edit() {
  TcxEditListBoxContainer* container = ListContainer();
  auto* popup = container ? dynamic_cast<TcxCustomPopupWindow*>(container->Owner()) : nullptr;
  return popup ? dynamic_cast<TcxCustomTextEdit*>(popup->OwnerControl()) : nullptr;
}

TcxCustomTextEditLookupData* TcxCustomEditListBox::LookupData() {
  TcxCustomTextEdit* edit = Edit();
  return edit ? edit->LookupData() : nullptr;
}

TdxScaleFactor* TcxCustomEditListBox::EditScaleFactor() {
  TcxCustomTextEdit* edit = Edit();
  return edit ? edit->ScaleFactor() : nullptr;
}

bool TcxCustomEditListBox::CanFocus() {
  TcxCustomTextEdit* edit = Edit();
  if (edit && edit->ActiveProperties()->IsIncrementalFilteringActive()) return false;
  return inherited::CanFocus();
}

bool TcxCustomEditListBox::IsVisible() { return HandleAllocated() && IsWindowVisible(Handle()); }

void TcxCustomEditListBox::SetScrollWidth(int AValue) {
  FScrollWidth = AValue;
  if (!HandleAllocated()) return;
  // Through 0 first: the list ignores the width it already has.
  SendMessageW(Handle(), LB_SETHORIZONTALEXTENT, 0, 0);
  SendMessageW(Handle(), LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(std::max(AValue, 0)), 0);
}

// ---------------------------------------------------------------------------
// Rows

bool TcxCustomEditListBox::ItemPaddingApplies() {
  TcxCustomTextEdit* edit = Edit();
  return edit && edit->IsInplace() && !TdxVisualRefinements::ItemPadding().IsEmpty();
}

bool TcxCustomEditListBox::UsesItemPadding() {
  const TRect padding = TdxVisualRefinements::ItemPadding();
  return ItemPaddingApplies() && (padding.Top != 0 || padding.Bottom != 0);
}

bool TcxCustomEditListBox::HighlightsSearchText() {
  TcxCustomTextEdit* edit = Edit();
  if (!edit) return false;
  TcxCustomTextEditProperties* properties = edit->ActiveProperties();
  return properties->IncrementalFiltering() &&
         properties->IncrementalFilteringOptions().Contains(ifoHighlightSearchText);
}

String TcxCustomEditListBox::GetItemTextAt(int AIndex) {
  TStrings* items = Items();
  return AIndex >= 0 && AIndex < items->Count() ? items->Strings(AIndex) : String();
}

TClass TcxCustomEditListBox::GetAccessibilityHelperClass() {
  return TdxCustomEditListBoxAccessibilityHelper::ClassInfo();
}

int TcxCustomEditListBox::GetHeight(int ARowCount, int) { return ARowCount * GetItemHeight(-1); }

int TcxCustomEditListBox::GetItemHeight(int) {
  TdxScaleFactor* scale = EditScaleFactor();
  const auto scaled = [scale](int V) { return scale ? scale->Apply(V) : V; };
  int height = GetFontHeight(Font());
  if (ItemPaddingApplies()) {
    const TRect padding = TdxVisualRefinements::ItemPadding();
    height += scaled(padding.Top) + scaled(padding.Bottom);
  }
  EnsureTouchModeMinimum(height, scale);
  return height;
}

int TcxCustomEditListBox::GetItemWidth(int AIndex) {
  int width = GetTextWidthWithFont(Font(), GetItemTextAt(AIndex));
  if (ItemPaddingApplies()) {
    TdxScaleFactor* scale = EditScaleFactor();
    const TRect padding = TdxVisualRefinements::ItemPadding();
    width += scale ? scale->Apply(padding.Left) + scale->Apply(padding.Right) : padding.Left + padding.Right;
  }
  return width;
}

void TcxCustomEditListBox::MeasureItem(int, int& AHeight) { AHeight = GetItemHeight(-1); }

// ---------------------------------------------------------------------------
// Drawing

std::uint32_t TcxCustomEditListBox::GetItemDrawTextFlags() {
  if (HighlightsSearchText())
    return (UseRightToLeftReading() ? cxtoRight : cxtoLeft) | cxtoCenterY | cxtoSingleLine | cxtoEndEllipsis;
  std::uint32_t flags = DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER;
  if (UseRightToLeftReading()) flags |= DT_RTLREADING | DT_RIGHT;
  return flags;
}

void TcxCustomEditListBox::DrawItem(int AIndex, const TRect& ARect, TOwnerDrawState AState) {
  if (DrawItemByHandler(AIndex, ARect, AState)) return;
  TRect textRect = ARect;
  if (ItemPaddingApplies()) {
    TdxScaleFactor* scale = EditScaleFactor();
    const auto scaled = [scale](int V) { return scale ? scale->Apply(V) : V; };
    const TRect padding = TdxVisualRefinements::ItemPadding();
    const int width = std::max(FScrollWidth, ClientWidth());
    const bool rtl = UseRightToLeftReading();
    textRect.Left = ARect.Left + scaled(rtl ? padding.Right : padding.Left);
    textRect.Right = ARect.Left + width - scaled(rtl ? padding.Left : padding.Right);
    if (UsesItemPadding()) {
      textRect.Top += scaled(padding.Top);
      textRect.Bottom -= scaled(padding.Bottom);
    }
    // The strips around the text take the row's background.
    Canvas()->FillRect(TRect(ARect.Left, ARect.Top, textRect.Left, ARect.Bottom));
    Canvas()->FillRect(TRect(textRect.Right, ARect.Top, ARect.Right, ARect.Bottom));
    Canvas()->FillRect(TRect(textRect.Left, ARect.Top, textRect.Right, textRect.Top));
    Canvas()->FillRect(TRect(textRect.Left, textRect.Bottom, textRect.Right, ARect.Bottom));
  }
  DrawListItem(AIndex, textRect, AState);
}

void TcxCustomEditListBox::DrawListItem(int AIndex, const TRect& ARect, TOwnerDrawState) {
  Canvas()->FillRect(ARect);
  if (AIndex < 0 || AIndex >= Items()->Count()) return;
  TRect r = ARect;
  if (UseRightToLeftReading()) r.Right -= 2;
  else r.Left += 2;
  const String text = GetItemTextAt(AIndex);
  if (HighlightsSearchText()) {
    DrawItemTextWithSearchHighlight(text, r);
    return;
  }
  RECT bounds = r;
  ::DrawTextW(Canvas()->Handle(), text.c_str(), static_cast<int>(text.size()), &bounds, GetItemDrawTextFlags());
}

void TcxCustomEditListBox::DrawItemTextWithSearchHighlight(const String& AText, TRect& ARect) {
  TcxCustomTextEditLookupData* lookup = LookupData();
  const String search = lookup ? lookup->SearchText() : String();
  int position = -1;
  if (!search.empty()) {
    const size_t found = AnsiUpperCase(AText).find(AnsiUpperCase(search));
    if (found != String::npos) position = static_cast<int>(found);
  }
  TColor highlightText = clDefault;
  TColor highlightBack = clDefault;
  if (TcxCustomTextEdit* edit = Edit())
    if (TcxCustomLookAndFeelPainter* painter = edit->Style()->LookAndFeel()->Painter()) {
      highlightText = painter->DefaultSearchResultHighlightTextColor();
      highlightBack = painter->DefaultSearchResultHighlightColor();
    }
  if (highlightText == clDefault) highlightText = clHighlightText;
  if (highlightBack == clDefault) highlightBack = clHighlight;
  std::uint32_t flags = GetItemDrawTextFlags();
  if (Canvas()->TextFlags() & ETO_RTLREADING) flags |= cxtoRTLReading;
  DrawTextFormatted(Canvas()->Handle(), AText, ARect, flags, position, static_cast<int>(search.size()),
                    Canvas()->Font(), highlightBack, highlightText, 0, 0, 0, Canvas()->Font()->Color());
}

// ---------------------------------------------------------------------------
// Messages, mouse and selection

void TcxCustomEditListBox::WndProc(TMessage& Message) {
  if (FGestureHelper && FGestureHelper->HandleMessage(Message)) return;
  switch (Message.Msg) {
    case WM_GETOBJECT:
      if (IsAccessibilitySupported() &&
          (static_cast<LONG>(Message.LParam) == OBJID_CLIENT || Message.LParam == 0)) {
        if (!FIAccessibilityHelper) {
          auto* node = NewOfClass<TcxAccessibilityHelper>(GetAccessibilityHelperClass(), static_cast<TObject*>(this));
          FIAccessibilityHelper = TComPtr<IcxAccessibilityHelper>(static_cast<IcxAccessibilityHelper*>(node));
        }
        Message.Result = ReturnAccessibleObject(Message.WParam, FIAccessibilityHelper->GetHelper());
        return;
      }
      DefaultHandler(Message);
      return;
    case CN_DRAWITEM: {
      // The focus rectangle belongs to the lists whose row is the value:
      // fixed lists and no-edit editors, while nothing is filtered.
      TcxCustomTextEdit* edit = Edit();
      bool showsFocus = true;
      if (edit) {
        TcxCustomTextEditProperties* properties = edit->ActiveProperties();
        const TcxEditEditingStyle style = properties->GetEditingStyle();
        showsFocus = (style == esFixedList || style == esNoEdit) && !properties->IncrementalFiltering();
      }
      if (showsFocus) break;
      DRAWITEMSTRUCT item = *reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
      item.itemState &= ~static_cast<UINT>(ODS_FOCUS);
      const LPARAM original = Message.LParam;
      Message.LParam = reinterpret_cast<LPARAM>(&item);
      inherited::WndProc(Message);
      Message.LParam = original;
      return;
    }
    case LB_SETCURSEL: {
      const TControlTracker alive(this);
      inherited::WndProc(Message);
      if (alive.Alive()) ItemIndexChanged();
      return;
    }
    case CM_SHOWINGCHANGED: {
      const TControlTracker alive(this);
      inherited::WndProc(Message);
      // Drawn as focused while the keyboard stays in the editor.
      if (alive.Alive() && HandleAllocated()) {
        TMessage focus{};
        focus.Msg = WM_SETFOCUS;
        TListBox::DefaultHandler(focus);
      }
      return;
    }
    case CM_MOUSELEAVE: FPrevMousePos = TPoint(-1, -1); break;
    default: break;
  }
  inherited::WndProc(Message);
}

void TcxCustomEditListBox::ItemIndexChanged() {
  const TControlTracker alive(this);
  SetExternalScrollBarsParameters();
  if (alive.Alive()) CallEvent(FOnSelectItem, this);
}

void TcxCustomEditListBox::Click() {
  const TControlTracker alive(this);
  inherited::Click();
  if (!alive.Alive()) return;
  SetExternalScrollBarsParameters();
  if (alive.Alive()) CallEvent(FOnSelectItem, this);
}

void TcxCustomEditListBox::MouseMove(TShiftState Shift, int X, int Y) {
  const TControlTracker alive(this);
  inherited::MouseMove(Shift, X, Y);
  if (!alive.Alive()) return;
  const TPoint p(X, Y);
  if (GetCaptureControl() != this && FHotTrack && p != FPrevMousePos) {
    // A point below the last row keeps the highlighted row: the row after
    // the last is no row to select.
    const int row = ItemAtPos(p, true);
    if (row != -1 && row != ItemIndex()) SetItemIndex(row);
  }
  if (alive.Alive()) FPrevMousePos = p;
}

bool TcxCustomEditListBox::DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) {
  if (inherited::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  if (!HandleAllocated()) return false;
  const WPARAM keys = ShiftStateToKeys(Shift);
  const LRESULT result =
      CallWindowProcW(DefWndProc(), Handle(), WM_MOUSEWHEEL, MAKEWPARAM(keys, static_cast<SHORT>(WheelDelta)),
                      MAKELPARAM(static_cast<SHORT>(MousePos.X), static_cast<SHORT>(MousePos.Y)));
  SetExternalScrollBarsParameters();
  return result == 1;
}

// ---------------------------------------------------------------------------
// Gestures

bool TcxCustomEditListBox::IsScrollBarUsable(TScrollBarKind AKind) {
  TcxEditListBoxContainer* container = ListContainer();
  if (!container) return false;
  IcxControlScrollBar* bar = AKind == sbVertical ? container->GetVertScrollBar() : container->GetHorzScrollBar();
  return bar && bar->GetVisible() && bar->GetEnabled();
}

bool TcxCustomEditListBox::IsGestureEnabled(DWORD AGestureId) {
  if (AGestureId < GID_ZOOM || AGestureId > GID_PRESSANDTAP) return false;
  return Touch().InteractiveGestures().Contains(GestureIdToGestureKind(AGestureId));
}

bool TcxCustomEditListBox::AllowsPan(TScrollBarKind AScrollKind) { return IsScrollBarUsable(AScrollKind); }

bool TcxCustomEditListBox::IsPanArea(const TPoint& APoint) { return ClientRect().Contains(APoint); }

bool TcxCustomEditListBox::WantsPanFeedback(TScrollBarKind AScrollKind) { return IsScrollBarUsable(AScrollKind); }

bool TcxCustomEditListBox::IsPanning() { return FGestureHelper && FGestureHelper->IsPanning(); }

bool TcxCustomEditListBox::IsPanMirrored() { return UseRightToLeftReading(); }

IPtr<IInterface> TcxCustomEditListBox::GetGestureClient(const TPoint& APoint) {
  return ClientRect().Contains(APoint) ? IPtr<IInterface>(static_cast<IdxGestureClient*>(this)) : IPtr<IInterface>();
}

bool TcxCustomEditListBox::IsGestureTarget(HWND AWindow) { return HandleAllocated() && AWindow == Handle(); }

void TcxCustomEditListBox::BeginGestureScroll(const TPoint&) {
  FGestureAccumulatedDelta = TPoint();
  if (TcxEditListBoxContainer* container = ListContainer()) container->RevealScrollBars(false);
}

void TcxCustomEditListBox::EndGestureScroll() {
  if (TcxEditListBoxContainer* container = ListContainer()) container->HideScrollBars(false);
}

void TcxCustomEditListBox::GestureScroll(int ADeltaX, int ADeltaY) {
  TcxEditListBoxContainer* container = ListContainer();
  if (!container || !HandleAllocated()) return;
  if (IsScrollBarUsable(sbVertical)) {
    IcxControlScrollBar* bar = container->GetVertScrollBar();
    FGestureAccumulatedDelta.Y += ADeltaY;
    const int rows = FGestureAccumulatedDelta.Y / std::max(GetItemHeight(-1), 1);
    if (rows != 0) {
      FGestureAccumulatedDelta = TPoint();
      const int position = bar->GetPosition();
      int top = TopIndex() - rows;
      ScrollTo(true, scPosition, top);
      FGestureHelper->CheckOverpan(sbVertical, position - rows, 0, bar->GetMax() - bar->GetPageSize() + 1, ADeltaX,
                                   ADeltaY);
    }
  }
  if (IsScrollBarUsable(sbHorizontal)) {
    IcxControlScrollBar* bar = container->GetHorzScrollBar();
    const int maxPosition = bar->GetMax() - bar->GetPageSize() + 1;
    int position = std::clamp(bar->GetPosition() - ADeltaX, 0, std::max(maxPosition, 0));
    ScrollTo(false, scPosition, position);
    SetExternalScrollBarsParameters();
    FGestureHelper->CheckOverpan(sbHorizontal, bar->GetPosition() - ADeltaX, 0, maxPosition, ADeltaX, ADeltaY);
  }
}

// ---------------------------------------------------------------------------
// TcxEditListBoxContainer

void TcxEditListBoxContainer::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  SetBounds(Left(), Top(), 121, 97);
}

bool TcxEditListBoxContainer::CanFocus() {
  TcxCustomEditListBox* list = ListBox();
  return list && list->CanFocus() && inherited::CanFocus();
}

void TcxEditListBoxContainer::HandleScroll(TScrollBarKind AKind, TScrollCode ACode, int& APosition) {
  inherited::HandleScroll(AKind, ACode, APosition);
  if (Enabled() && ListBox()) ListBox()->ScrollTo(AKind == sbVertical, ACode, APosition);
}

void TcxEditListBoxContainer::WndProc(TMessage& Message) {
  const UINT msg = Message.Msg;
  inherited::WndProc(Message);
  if (msg != WM_WINDOWPOSCHANGED || IsDestroying() || FSettingScrollBars) return;
  // Moving the bars may place the window again.
  FSettingScrollBars = true;
  TScopeExit done([this] { FSettingScrollBars = false; });
  SetScrollBarsParameters(false);
}
