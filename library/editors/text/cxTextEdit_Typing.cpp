// TcxCustomTextEdit: how keys, typed characters and the wheel edit the text
// and move through the lookup items, and the incremental search that
// completes an item while the user types. Searching has no timer: each
// character extends or shortens the prefix matched at once.
#include "library/editors/text/cxTextEdit.h"

namespace {

bool IsTypedControlChar(wchar_t AChar) {
  WORD type = 0;
  return GetStringTypeW(CT_CTYPE1, &AChar, 1, &type) && (type & C1_CNTRL) != 0;
}

TShortCut KeyShortCut(WORD AKey, TShiftState AShift) {
  return ShortCut(AKey, AShift.Contains(ssShift), AShift.Contains(ssCtrl), AShift.Contains(ssAlt));
}

}  // namespace

// ---------------------------------------------------------------------------
// What counts as an edit

bool TcxCustomTextEdit::IsEditingKey(WORD Key, TShiftState Shift) {
  const TcxEditEditingStyle style = ActiveProperties()->GetEditingStyle();
  if (style == esNoEdit) return true;
  if (Key == VK_DELETE) {
    if (IsInplace() || IsBoundToDataStorage()) return true;
    IcxInnerTextEdit* inner = InnerTextEdit();
    if (inner && (inner->GetSelStart() < static_cast<int>(DisplayText().size()) || inner->GetSelLength() > 0))
      return true;
  }
  if (!UsesLookupData() || ILookupData()->IsEmpty() || !CanNavigateLookupItems(false)) return false;
  switch (Key) {
    case VK_PRIOR:
    case VK_NEXT:
      return !HasPopupWindow();
    case VK_UP:
    case VK_DOWN:
      return !Shift.Contains(ssAlt) && !HasPopupWindow();
    default:
      return false;
  }
}

bool TcxCustomTextEdit::IsEditingChar(wchar_t Key) {
  if (IsInplace() || IsBoundToDataStorage())
    return Key >= L' ' || Key == L'\b' || Key == 22 || Key == 24;
  if (Key >= L' ' || Key == 22) return true;
  if (Key == L'\b') return SelStart() > 0 || SelLength() > 0;
  if (Key == 24) return SelLength() > 0;
  return false;
}

bool TcxCustomTextEdit::IsLookupNavigationKey(WORD Key, TShiftState) {
  switch (Key) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_UP:
    case VK_DOWN:
      return true;
    default:
      return false;
  }
}

// ---------------------------------------------------------------------------
// Moving through the lookup items

bool TcxCustomTextEdit::NavigateLookupItems(TcxEditLookupDataGoDirection ADirection) {
  bool changed = false;
  LockChangeEvents(true);
  FLookupItemsScrolling = true;
  TryFinally(
      [&] {
        const Variant before = ILookupData()->GetCurrentKey();
        LockClick(true);
        TryFinally([&] { ILookupData()->Go(ADirection, false); }, [this] { LockClick(false); });
        changed = LookupKeyToItemIndex(ILookupData()->GetCurrentKey()) != LookupKeyToItemIndex(before);
        if (!changed) return;
        SetModifiedAndClick();
        if (CanPostEditValue() && ActiveProperties()->ImmediatePost() && ValidateByOptions(false))
          PostValueCore(false);
      },
      [this] {
        FLookupItemsScrolling = false;
        LockChangeEvents(false);
      });
  return changed;
}

bool TcxCustomTextEdit::CanScrollLookupByWheel(TShiftState Shift) {
  return CanNavigateLookupItems(true) && !HasPopupWindow() && UsesLookupData() && !ILookupData()->IsEmpty() &&
         CanUseMouseWheel(Shift);
}

bool TcxCustomTextEdit::CanWheelScroll(TShiftState Shift, int WheelDelta, const TPoint& MousePos) {
  return inherited::CanWheelScroll(Shift, WheelDelta, MousePos) || CanScrollLookupByWheel(Shift);
}

bool TcxCustomTextEdit::ScrollByWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) {
  if (inherited::ScrollByWheel(Shift, WheelDelta, MousePos)) return true;
  if (!CanScrollLookupByWheel(Shift) || !DoEditing()) return false;
  NavigateLookupItems(WheelDelta > 0 ? egdPrev : egdNext);
  return true;
}

// ---------------------------------------------------------------------------
// Keys

void TcxCustomTextEdit::ProcessKeyDown(WORD& Key, TShiftState Shift) {
  TcxCustomTextEditProperties* properties = ActiveProperties();
  const TcxEditEditingStyle style = properties->GetEditingStyle();
  const TShortCut shortCut = KeyShortCut(Key, Shift);
  if (style == esFixedList && shortCut != properties->ClearKey() && !IsDefaultButtonShortCut(shortCut) &&
      (Key == VK_LEFT || Key == VK_RIGHT || Key == VK_DELETE)) {
    SetFindSelection(false);
    DoAfterKeyDown(Key, Shift);
    Key = 0;
    return;
  }
  IcxInnerTextEdit* inner = InnerTextEdit();
  if (inner) inner->SetInternalUpdating(true);
  const WORD arrived = Key;
  const bool findSelection = FFindSelection;
  inherited::ProcessKeyDown(Key, Shift);
  if (arrived == VK_RETURN && UsesLookupData() && CanSelectLookupItemOnEnter(findSelection)) {
    ILookupData()->SelectItem();
    SelectAll();
  }
  if (Key == 0) return;
  switch (Key) {
    case VK_LEFT:
    case VK_RIGHT:
      SetFindSelection(false);
      break;
    case VK_DELETE:
      if (style == esEditList) {
        DoAfterKeyDown(Key, Shift);
        Key = 0;
        return;
      }
      SetFindSelection(false);
      break;
    default:
      break;
  }
  if (IsLookupNavigationKey(Key, Shift)) {
    const bool navigates = (style == esFixedList || (Key != VK_HOME && Key != VK_END)) && UsesLookupData() &&
                           CanNavigateLookupItems(false) && !ILookupData()->IsEmpty();
    if (navigates) {
      TcxEditLookupDataGoDirection direction = egdNext;
      switch (Key) {
        case VK_PRIOR:
          direction = Shift.Contains(ssCtrl) ? egdBegin : egdPageUp;
          break;
        case VK_NEXT:
          direction = Shift.Contains(ssCtrl) ? egdEnd : egdPageDown;
          break;
        case VK_END:
          direction = egdEnd;
          break;
        case VK_HOME:
          direction = egdBegin;
          break;
        case VK_UP:
          direction = egdPrev;
          break;
        default:
          direction = egdNext;
          break;
      }
      NavigateLookupItems(direction);
      Key = 0;
      return;
    }
    if (Key != VK_HOME && Key != VK_END && !(inner && inner->GetMultiLine())) {
      DoAfterKeyDown(Key, Shift);
      Key = 0;
      return;
    }
  }
  if (Key == VK_END && SelLength() == 0 && style != esFixedList) SetFindSelection(false);
  if (Key != 0 && inner) inner->SetInternalUpdating(false);
}

void TcxCustomTextEdit::KeyPress(wchar_t& Key) {
  const bool handled = Key == 0;
  inherited::KeyPress(Key);
  if (Key == 27 && handled && FIsPopupWindowJustClosed && !HasPopupWindow()) FIsPopupWindowJustClosed = false;
}

void TcxCustomTextEdit::ProcessKeyPress(wchar_t& Key) {
  IcxInnerTextEdit* inner = InnerTextEdit();
  if (inner) inner->SetInternalUpdating(true);
  inherited::ProcessKeyPress(Key);
  if (Key == 0) return;
  TcxCustomTextEditProperties* properties = ActiveProperties();
  const TcxEditEditingStyle style = properties->GetEditingStyle();
  const bool lookup = UsesLookupData();
  FLookupDataTextChangedLocked = false;
  const Variant keyBefore = lookup ? ILookupData()->GetCurrentKey() : Variant(-1);
  bool found = false;
  BeginUserAction();
  LockClick(true);
  TryFinally(
      [&] {
        if (style == esFixedList && Key == L'\b' && !properties->FixedListSelection()) {
          Key = 0;
          SetFindSelection(false);
          return;
        }
        const bool findSelection = FFindSelection;
        if (Key == L'\b') {
          if (!lookup || !properties->IsIncrementalSearchActive()) return;
          const String text = DisplayText();
          if (style == esEditList && !text.empty() && !FFindSelection) {
            SetSelLength(static_cast<int>(text.size()) - SelStart());
            SetFindSelection(true);
          }
          if (FFindSelection) {
            const int kept = std::max(0, static_cast<int>(text.size()) - SelLength());
            String search = text.substr(0, static_cast<size_t>(kept));
            if (!search.empty()) search.pop_back();
            FLookupDataTextChangedLocked = true;
            found = LocateLookupText(search);
          }
          if (style == esFixedList) Key = 0;
          return;
        }
        if (IsTypedControlChar(Key) || !lookup) return;
        const String text = DisplayText();
        const int selStart = inner ? inner->GetSelStart() : 0;
        const int selLength = inner ? inner->GetSelLength() : 0;
        const bool searches = style == esEditList || style == esFixedList ||
                              (selLength == 0 && selStart == static_cast<int>(text.size())) || FFindSelection ||
                              selLength > 0;
        if (properties->IsIncrementalSearchActive() && searches) {
          FLookupDataTextChangedLocked = true;
          String search;
          if (selLength == 0) {
            if (style == esFixedList) {
              if (FFindSelection) {
                search = text + Key;
                found = LocateLookupText(search);
                if (!found) search = String(1, Key);
              } else {
                search = String(1, Key);
              }
            } else {
              search = text;
              search.insert(static_cast<size_t>(std::clamp(selStart, 0, static_cast<int>(text.size()))), 1, Key);
            }
          } else {
            search = text.substr(0, static_cast<size_t>(std::clamp(selStart, 0, static_cast<int>(text.size())))) + Key;
          }
          if (!found) found = LocateLookupText(search);
        }
        if ((style == esEditList || style == esFixedList) && !found) {
          Key = 0;
          if (style == esEditList) {
            if (!DisplayText().empty()) SetFindSelection(true);
          } else if (findSelection) {
            SetFindSelection(true);
          }
        }
      },
      [this] {
        LockClick(false);
        EndUserAction();
      });
  if (lookup && LookupKeyToItemIndex(ILookupData()->GetCurrentKey()) != LookupKeyToItemIndex(keyBefore))
    SetModifiedAndClick();
  if (found) Key = 0;
  if (Key != 0 && inner) inner->SetInternalUpdating(false);
}

// ---------------------------------------------------------------------------
// Incremental search

bool TcxCustomTextEdit::LocateLookupText(String& AText) {
  IcxInnerTextEdit* inner = InnerTextEdit();
  const wchar_t imeChar = inner ? inner->GetImeLastChar() : L'\0';
  String search = AText;
  if (imeChar != L'\0') search += imeChar;
  String tail;
  const bool found = ILookupData()->Locate(search, tail, false);
  if (found) {
    AText = search;
    if (imeChar != L'\0' && !AText.empty()) {
      tail.insert(tail.begin(), AText.back());
      AText.pop_back();
    }
  }
  FFindSelection = found;
  if (AText.empty()) {
    if (ActiveProperties()->GetEditingStyle() != esFixedList) SetDisplayText(String());
    FFindSelection = false;
  }
  if (found) {
    DataBinding()->SetDisplayValue(Variant(AText + tail));
    SetSelStart(static_cast<int>(AText.size()));
    SetSelLength(static_cast<int>(tail.size()));
  }
  UpdateDrawValue();
  return found;
}
