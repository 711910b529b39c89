// TcxCustomEdit: the key pipelines, the mouse, the editor's buttons, their
// accelerators and hints, the inner control's context menu and the
// clipboard messages.
#include "library/editors/edit/cxEdit_Internal.h"
#include "library/editors/edit/dxSpellCheckerCore.h"

#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"

namespace {

bool IsControlChar(wchar_t AChar) {
  WORD type = 0;
  return GetStringTypeW(CT_CTYPE1, &AChar, 1, &type) && (type & C1_CNTRL) != 0;
}

bool IsNavigationKey(WORD AKey) { return AKey >= VK_PRIOR && AKey <= VK_DOWN; }

TShortCut ShortCutOf(WORD AKey, TShiftState AShift) {
  return ShortCut(AKey, AShift.Contains(ssShift), AShift.Contains(ssCtrl), AShift.Contains(ssAlt));
}

// AWork as one user action of AEdit when AAsUserAction.
template <class F>
void AsUserAction(TcxCustomEdit* AEdit, bool AAsUserAction, F&& AWork) {
  if (!AAsUserAction) {
    AWork();
    return;
  }
  AEdit->BeginUserAction();
  TryFinally(AWork, [AEdit] { AEdit->EndUserAction(); });
}

}  // namespace

void TcxCustomEdit::PublishInputMessages(TPublisher<TcxCustomEdit>& P) {
  P.Message<&TcxCustomEdit::CMDialogChar>(CM_DIALOGCHAR);
  P.Message<&TcxCustomEdit::CMEnter>(CM_ENTER);
  P.Message<&TcxCustomEdit::CMHintShow>(CM_HINTSHOW);
  P.Message<&TcxCustomEdit::CMShowingChanged>(CM_SHOWINGCHANGED);
  P.Message<&TcxCustomEdit::WMClipboard>(WM_COPY);
  P.Message<&TcxCustomEdit::WMClipboard>(WM_CUT);
  P.Message<&TcxCustomEdit::WMClipboard>(WM_PASTE);
  P.Message<&TcxCustomEdit::DeferredExitMessage>(DXM_EDITDEFERREDEXIT);
}

// ---------------------------------------------------------------------------
// Keys

void TcxCustomEdit::KeyDown(WORD& Key, TShiftState Shift) {
  AsUserAction(this, true, [&] {
    FIsKeyPressHandled = false;
    // The click key reaches the default button without the owner's OnKeyDown.
    if (!IsDefaultButtonKey(Key, Shift)) {
      DisableUserAction();
      TryFinally([&] { inherited::KeyDown(Key, Shift); }, [this] { EnableUserAction(); });
    }
    if (Key != 0) ProcessKeyDown(Key, Shift);
    if (Key != 0 && IsPlainInsertOrDelete(Key, Shift)) DoAfterKeyDown(Key, Shift);
    if (Key != 0)
      if (IdxSpellCheckerKeyListener* listener = TdxSpellCheckerInstance::ISpellCheckerKeyListener())
        listener->KeyDown(Key, Shift);
  });
}

void TcxCustomEdit::ProcessKeyDown(WORD& Key, TShiftState Shift) {
  if (Key == 0) return;
  TcxCustomEditProperties* properties = ActiveProperties();
  const TShortCut shortCut = ShortCutOf(Key, Shift);
  if (shortCut == properties->ClearKey()) {
    LockChangeEvents(true);
    TryFinally(
        [this, properties] {
          AsUserAction(this, true, [this] {
            Variant empty;
            GetEmptyValue(empty);
            SetInternalEditValue(empty);
          });
          if (properties->ImmediatePost() && CanPostEditValue()) PostValueCore(false);
          FIsEditValidated = true;
        },
        [this] { LockChangeEvents(false); });
    Key = 0;
    return;
  }
  if (IsDefaultButtonShortCut(shortCut)) {
    // The character the key produced would reach the editor after the click.
    if (HandleAllocated()) MessagesController()->KillMessages(Handle(), WM_CHAR);
    if (HasInnerControlHandle()) MessagesController()->KillMessages(InnerControl()->Handle(), WM_CHAR);
    ClickDefaultButton();
    Key = 0;
    return;
  }
  if (!AllowsKeyDown(Key, Shift)) {
    DoAfterKeyDown(Key, Shift);
    Key = 0;
    return;
  }
  DisableUserAction();
  TryFinally(
      [&] {
        switch (Key) {
          case VK_TAB:
            if (!Shift.Contains(ssAlt) && !Shift.Contains(ssCtrl) && Focused() && !properties->KeepsTabKey()) {
              EnableUserAction();
              TryFinally([&] { PrepareTabExit(Shift); }, [this] { DisableUserAction(); });
              DoAfterKeyDown(Key, Shift);
              if (Key == 0) return;
              Key = 0;
              if (TCustomForm* form = GetParentForm(this))
                form->SelectNext(form->ActiveControl(), !Shift.Contains(ssShift), true);
              if (HandleAllocated() && GetFocus() == Handle() && HasInnerEdit()) InnerEdit()->SafelySetFocus();
            }
            break;
          case VK_RETURN:
            if (properties->ValidateOnEnter()) {
              Key = 0;
              ValidateAndPost();
            }
            break;
          case VK_ESCAPE:
            if (ModifiedAfterEnter() &&
                (FDataBinding->DefaultValuesProvider()->IsDataStorage() || properties->IsResetEditClass())) {
              LockChangeEvents(true);
              TryFinally(
                  [this] {
                    FDataBinding->RevertEditor();
                    SetEditModified(true);
                  },
                  [this] { LockChangeEvents(false); });
              // The Escape character that follows is not typed.
              FIsKeyPressHandled = true;
              Key = 0;
            }
            break;
          default:
            break;
        }
        // An owner that handles the event (a grid hosting the editor)
        // navigates; a stand-alone editor consumes the key.
        if (Key != 0 && !HandlesNavigationKeys() && IsNavigationKey(Key)) {
          DoAfterKeyDown(Key, Shift);
          Key = 0;
        }
      },
      [this] { EnableUserAction(); });
}

bool TcxCustomEdit::AllowsKeyDown(WORD& Key, TShiftState Shift) {
  return FDataBinding->Modified() || !IsEditingKey(Key, Shift) || DoEditing();
}

bool TcxCustomEdit::IsDefaultButtonKey(WORD Key, TShiftState Shift) {
  return IsDefaultButtonShortCut(ShortCutOf(Key, Shift));
}

bool TcxCustomEdit::IsDefaultButtonShortCut(TShortCut AShortCut) {
  if (AShortCut != ActiveProperties()->ClickKey()) return false;
  const int index = FindDefaultButton();
  return index != -1 && ViewInfo()->ButtonsInfo[index]->Data.State != ebsDisabled;
}

bool TcxCustomEdit::IsPlainInsertOrDelete(WORD Key, TShiftState Shift) {
  return (Key == VK_INSERT && !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl)) ||
         (Key == VK_DELETE && !Shift.Contains(ssShift));
}

void TcxCustomEdit::KeyPress(wchar_t& Key) {
  if (FIsKeyPressHandled) {
    FIsKeyPressHandled = false;
    Key = 0;
    return;
  }
  inherited::KeyPress(Key);
  if (Key != 0) AsUserAction(this, true, [&] { ProcessKeyPress(Key); });
  if (Key != 0)
    if (IdxSpellChecker* checker = TdxSpellCheckerInstance::ISpellChecker()) checker->KeyPress(Key);
}

bool TcxCustomEdit::FilterInputChar(wchar_t& Key) {
  if (!IsControlChar(Key) && !IsValidInputChar(Key)) {
    Key = 0;
    MessageBeep(0);
  } else if (IsEditingChar(Key) && !DoEditing()) {
    Key = 0;
  }
  return Key != 0;
}

// No default-values provider of this library restricts the characters.
bool TcxCustomEdit::IsValidInputChar(wchar_t) { return true; }

void TcxCustomEdit::KeyUp(WORD& Key, TShiftState Shift) {
  inherited::KeyUp(Key, Shift);
  if (Key != 0) ProcessKeyUp(Key, Shift);
  if (Key != 0)
    if (IdxSpellCheckerKeyListener* listener = TdxSpellCheckerInstance::ISpellCheckerKeyListener())
      listener->KeyUp(Key, Shift);
}

// ---------------------------------------------------------------------------
// Mouse

void TcxCustomEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TControlTracker alive(this);
  // An in-place editor activated by a click: a press while the timer runs is
  // the second click of a double click the editor did not see begin.
  if (Button == mbLeft && FDblClickTimer && FDblClickTimer->Enabled()) {
    FDblClickTimer->SetEnabled(false);
    if (ButtonAtPoint(TPoint(X, Y)) == -1) {
      DblClick();
      if (!alive.Alive()) return;
    }
  }
  inherited::MouseDown(Button, Shift, X, Y);
  if (!alive.Alive() || Button != mbLeft || !MouseCapture()) return;
  const int index = ButtonAtPoint(TPoint(X, Y));
  if (index != -1 && ViewInfo()->ButtonsInfo[index]->Data.State == ebsPressed) FCaptureButtonVisibleIndex = index;
}

void TcxCustomEdit::DblClick() {
  const TPoint p = GetMouseClientPos();
  if (ButtonAtPoint(p) == -1) {
    inherited::DblClick();
    return;
  }
  // The second click of a double click presses the button once more.
  const TControlTracker alive(this);
  MouseDown(mbLeft, KeyboardStateToShiftState() + MouseButtonToShift(mbLeft), p.X, p.Y);
  if (alive.Alive()) Click();
}

bool TcxCustomEdit::DoMouseWheel(TShiftState Shift, int WheelDelta, const TPoint& MousePos) {
  bool result = false;
  AsUserAction(this, true, [&] { result = inherited::DoMouseWheel(Shift, WheelDelta, MousePos); });
  return result;
}

bool TcxCustomEdit::CanUseMouseWheel(TShiftState Shift) {
  return !IsDesigning() && (ActiveProperties()->UseMouseWheel() || Shift.Contains(ssCtrl)) && Focused();
}

// ---------------------------------------------------------------------------
// Buttons

int TcxCustomEdit::ButtonAtPoint(const TPoint& P) {
  const auto& buttons = ViewInfo()->ButtonsInfo;
  for (int i = 0; i < static_cast<int>(buttons.size()); ++i)
    if (buttons[i]->Bounds.Contains(P)) return i;
  return -1;
}

int TcxCustomEdit::FindDefaultButton() {
  const auto& buttons = ViewInfo()->ButtonsInfo;
  for (int i = 0; i < static_cast<int>(buttons.size()); ++i)
    if (buttons[i]->Data.Default) return i;
  return -1;
}

void TcxCustomEdit::ClickDefaultButton() {
  const int index = FindDefaultButton();
  if (index != -1) ClickButton(index);
}

void TcxCustomEdit::CompleteMouseClick() {
  TcxCustomEditViewInfo* info = ViewInfo();
  if (info->LastPressedButton == info->PressedButton && info->LastSelectedButton == info->SelectedButton) return;
  if (info->LastPressedButton != -1) {
    const int released = info->LastPressedButton;
    // Released over the button it pressed: the cursor still selects it.
    const bool click = released == info->SelectedButton;
    ReleaseButton(released);
    if (click) ClickButton(released);
  } else if (info->PressedButton != -1) {
    const int pressed = info->PressedButton;
    if (TcxEditButtonFadingHelper* fading = info->ButtonsInfo[pressed]->FadingHelper.get()) fading->StopFading();
    PressButton(pressed);
  }
}

bool TcxCustomEdit::ClickAcceleratedButton(wchar_t AChar) {
  const auto& buttons = ViewInfo()->ButtonsInfo;
  for (int i = 0; i < static_cast<int>(buttons.size()); ++i) {
    if (buttons[i]->Data.State == ebsDisabled || !IsAccel(AChar, buttons[i]->Data.Caption)) continue;
    ClickButton(i);
    return true;
  }
  return false;
}

void TcxCustomEdit::CMDialogChar(TMessage& Message) {
  if (ClickAcceleratedButton(TCMDialogChar(Message).CharCode())) {
    Message.Result = 1;
    return;
  }
  InheritedMessage<TcxCustomEdit>(Message);
}

// ---------------------------------------------------------------------------
// Hints and the context menu

String TcxCustomEdit::HintTextAt(const TPoint& P) {
  TcxCustomEditViewInfo* viewInfo = ViewInfo();
  const int part = viewInfo->HitTestPart(P);
  if (part >= 0 || part == ecpErrorIcon) return viewInfo->GetPartHintText(part);
  // A text that does not fit shows in full, in place of the control's own hint.
  if (part == ecpNone && viewInfo->Calculated()) {
    String text;
    bool isMultiLine = false;
    TRect textRect;
    TcxScreenCanvas* canvas = SharedScreenCanvas();
    const TScopeExit release([canvas] { canvas->Dormant(); });
    if (viewInfo->NeedShowHint(canvas, P, TRect(), text, isMultiLine, textRect) && !text.empty()) return text;
  }
  return inherited::HintTextAt(P);
}

void TcxCustomEdit::CMHintShow(TMessage& Message) {
  InheritedMessage<TcxCustomEdit>(Message);
  auto* info = reinterpret_cast<THintInfo*>(Message.LParam);
  if (!info) return;
  const int part = ViewInfo()->HitTestPart(info->CursorPos);
  if (part == ecpOutside) {
    Message.Result = -1;
    return;
  }
  // Another part under the cursor shows its own hint.
  info->CursorRect = ViewInfo()->GetHitPartBounds(part);
}

bool TcxCustomEdit::InnerControlMenuHandler(TMessage& Message) {
  if (inherited::InnerControlMenuHandler(Message)) return true;
  if (Message.Msg != WM_CONTEXTMENU) return false;
  if (!Focused() && CanFocus()) SetFocus();
  Message.Result = Perform(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Handle()), Message.LParam);
  return true;
}

// ---------------------------------------------------------------------------
// Clipboard

bool TcxCustomEdit::FilterInnerControlMessage(TMessage& Message) {
  if (inherited::FilterInnerControlMessage(Message)) return true;
  switch (Message.Msg) {
    case WM_CUT:
    case WM_PASTE:
      if (!HasInnerEdit() || InnerEdit()->CanProcessClipboardMessages()) return false;
      if (Message.Msg == WM_CUT)
        CutOrCopy();
      else
        PasteIfAllowed();
      Message.Result = 0;
      return true;
    case WM_UNDO:
      // Asked only: the inner control undoes what it holds.
      AsUserAction(this, Focused(), [this] { DoEditing(); });
      return false;
    default:
      return false;
  }
}

void TcxCustomEdit::WMClipboard(TMessage& Message) {
  Message.Result = 0;
  if (Message.Msg == WM_COPY) {
    CopyToClipboard();
  } else if (FDataBinding->IsDataAvailable()) {
    if (Message.Msg == WM_CUT)
      CutOrCopy();
    else
      PasteIfAllowed();
  }
}

void TcxCustomEdit::CutOrCopy() {
  if (IsReadOnlyState()) return;
  AsUserAction(this, Focused(), [this] {
    if (DoEditing())
      CutToClipboard();
    else
      CopyToClipboard();
  });
}

void TcxCustomEdit::PasteIfAllowed() {
  if (IsReadOnlyState()) return;
  LockChangeEvents(true);
  TryFinally(
      [this] {
        AsUserAction(this, Focused(), [this] {
          if (DoEditing()) PasteFromClipboard();
        });
      },
      [this] { LockChangeEvents(false); });
}
