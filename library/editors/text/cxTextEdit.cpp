// The text editor: its three views of the content, the selection, the
// clipboard, the item index over the lookup items and the edit window's
// messages. The typing rules are in cxTextEdit_Typing.cpp.
#include "library/editors/text/cxTextEdit.h"

#include "library/core/data/cxVariants.h"
#include "library/core/locale/cxFormats.h"
#include "library/editors/edit/dxSpellCheckerCore.h"

#include "platform/ui/Clipbrd.h"

#include <algorithm>

namespace {

// AWork as one user action of AEdit.
template <class F>
void AsTextUserAction(TcxCustomEdit* AEdit, F&& AWork) {
  AEdit->BeginUserAction();
  TryFinally(AWork, [AEdit] { AEdit->EndUserAction(); });
}

int TextLength(const String& AText) { return static_cast<int>(AText.size()); }

}  // namespace

// ---------------------------------------------------------------------------
// TcxCustomTextEdit: creation and destruction

void TcxCustomTextEdit::Publish(TPublisher<TcxCustomTextEdit>& P) {
  P.Message<&TcxCustomTextEdit::WMGetText>(WM_GETTEXT);
  P.Message<&TcxCustomTextEdit::WMGetTextLength>(WM_GETTEXTLENGTH);
  P.Message<&TcxCustomTextEdit::WMSetText>(WM_SETTEXT);
  P.Message<&TcxCustomTextEdit::WMClear>(WM_CLEAR);
  P.Message<&TcxCustomTextEdit::WMCommand>(WM_COMMAND);
  P.Message<&TcxCustomTextEdit::WMSetFocus>(WM_SETFOCUS);
}

void TcxCustomTextEdit::InitializeEdit() {
  inherited::InitializeEdit();
  FBeepOnEnter = true;
  FFindSelection = false;
  if (TWinControl* inner = InnerControl()) inner->SetColor(clWindow);
  if (IcxInnerTextEdit* inner = InnerTextEdit())
    inner->SetOnSelChange(BindEvent<&TcxCustomTextEdit::InnerEditSelChange>(this));
  SetBounds(Left(), Top(), 121, 21);
  if (const TClass lookupClass = ActiveProperties()->GetLookupDataClassType()) {
    FLookupData.reset(NewOfClass<TcxCustomTextEditLookupData>(lookupClass, static_cast<TPersistent*>(this)));
    ILookupData()->SetOnSelectItem(BindEvent<&TcxCustomTextEdit::ApplyLookupSelection>(this));
  }
  FormatController()->AddListener(this);
}

void TcxCustomTextEdit::Destroy() {
  FormatController()->RemoveListener(this);
  FLookupData.reset();
  inherited::Destroy();
}

bool TcxCustomTextEdit::GetInterface(const GUID& AIID, void** AObj) {
  if (AIID == IcxFormatControllerListener::IID) {
    *AObj = static_cast<IcxFormatControllerListener*>(this);
    return true;
  }
  return inherited::GetInterface(AIID, AObj);
}

void TcxCustomTextEdit::Loaded() {
  inherited::Loaded();
  ShortRefreshContainer(false);
}

TClass TcxCustomTextEdit::GetInnerControlClass() { return TcxCustomInnerTextEdit::ClassInfo(); }

TClass TcxCustomTextEdit::GetAccessibilityHelperClass() { return TdxCustomTextEditAccessibilityHelper::ClassInfo(); }

IcxInnerTextEdit* TcxCustomTextEdit::InnerTextEdit() const {
  IcxCustomInnerEdit* inner = InnerEdit();
  return inner ? dynamic_cast<IcxInnerTextEdit*>(inner) : nullptr;
}

IcxTextEditLookupData* TcxCustomTextEdit::ILookupData() const {
  return FLookupData ? static_cast<IcxTextEditLookupData*>(FLookupData.get()) : nullptr;
}

bool TcxCustomTextEdit::UsesLookupData() { return ActiveProperties()->UsesLookupData() && FLookupData; }

// ---------------------------------------------------------------------------
// The display text, the display value and the edit value

String TcxCustomTextEdit::DisplayText() {
  String text;
  GetDisplayString(text);
  return text;
}

void TcxCustomTextEdit::GetDisplayString(String& AText) {
  IcxInnerTextEdit* inner = InnerTextEdit();
  AText = inner ? VarToStr(inner->GetEditValue()) : String();
}

void TcxCustomTextEdit::ApplyDisplayValue(const Variant& AValue) {
  if (IcxInnerTextEdit* inner = InnerTextEdit()) inner->SetEditValue(AValue);
}

void TcxCustomTextEdit::SetDisplayText(const String& AText) {
  DataBinding()->SetDisplayValue(Variant(AText));
  if (IsUserAction()) return;
  ResetFindSelection();
  SyncEditValueFromDisplay();
  SetEditModified(false);
}

void TcxCustomTextEdit::SyncEditValueFromDisplay() {
  TcxCustomTextEditProperties* properties = ActiveProperties();
  const Variant oldValue = properties->CanCompareEditValue() ? EditValue() : Variant::NullValue();
  Variant value;
  PrepareEditValue(Variant(DisplayText()), value, Focused());
  StoreEditValue(value);
  const bool changed = !IsSameEditValue(oldValue, value);
  if (IsUserAction())
    SetModifiedAfterEnter(true);
  else
    SetEditModified(false);
  if (!changed) return;
  EditValueChanged();
  if (!properties->HasOwnChangeNotification()) NotifyChange();
}

void TcxCustomTextEdit::SyncDisplayValue() {
  TcxCustomTextEditProperties* properties = ActiveProperties();
  Variant editValue = EditValue();
  Variant displayValue;
  if (!DataBinding()->CanCheckEditorValue() || properties->IsEditValueValid(editValue, Focused()))
    properties->PrepareDisplayValue(editValue, displayValue, Focused());
  else if (Focused())
    properties->GetEmptyDisplayValue(displayValue);
  else
    displayValue = Variant(VarToStrDef(editValue, String()));
  PushModifiedState();
  FIsDisplayValueSynchronizing = true;
  TryFinally([&] { DataBinding()->SetDisplayValue(displayValue); },
             [this] {
               FIsDisplayValueSynchronizing = false;
               PopModifiedState();
               ResetFindSelection();
               UpdateDrawValue();
             });
}

void TcxCustomTextEdit::HandleContentChanged() {
  LockChangeEvents(true);
  TryFinally(
      [this] {
        if (FIsDisplayValueSynchronizing) {
          PushModifiedState();
          TryFinally([this] { inherited::HandleContentChanged(); }, [this] { PopModifiedState(); });
        } else {
          inherited::HandleContentChanged();
        }
        if (!IsEditClass()) UpdateDrawValue();
      },
      [this] { LockChangeEvents(false); });
}

void TcxCustomTextEdit::UpdateDrawValue() {
  if (IsInnerControlMissing()) return;
  auto* viewInfo = dynamic_cast<TcxCustomTextEditViewInfo*>(ViewInfo());
  if (!viewInfo) return;
  TOwned<TcxCustomEditViewData> viewData = CreateEditViewData();
  auto* textViewData = dynamic_cast<TcxCustomTextEditViewData*>(viewData.get());
  if (!textViewData) return;
  textViewData->DisplayValueToDrawValue(Variant(DisplayText()), viewInfo);
  if (!HandleAllocated()) return;
  UpdateHotTrackState(GetMouseClientPos(), cxmbNone, KeyboardStateToShiftState(), false);
  textViewData->SelStart = SelStart();
  textViewData->SelLength = SelLength();
  textViewData->PrepareSelection(viewInfo);
  ::InvalidateRect(Handle(), nullptr, FALSE);
}

void TcxCustomTextEdit::PrepareViewDataValue(TcxCustomEditViewData* AViewData, TcxCustomEditViewInfo* AViewInfo) {
  auto* viewData = dynamic_cast<TcxCustomTextEditViewData*>(AViewData);
  auto* viewInfo = dynamic_cast<TcxCustomTextEditViewInfo*>(AViewInfo);
  if (!viewData || !viewInfo) {
    inherited::PrepareViewDataValue(AViewData, AViewInfo);
    return;
  }
  viewData->DisplayValueToDrawValue(Variant(EditingText()), viewInfo);
  viewData->SelStart = SelStart();
  viewData->SelLength = SelLength();
  viewData->PrepareSelection(viewInfo);
}

void TcxCustomTextEdit::SetTextPreservingModified(const String& AText) {
  if (ActiveProperties()->GetEditingStyle() == esEdit && UsesLookupData() && !ILookupData()->Find(AText))
    FireNewLookupDisplayText(AText);
  inherited::SetTextPreservingModified(AText);
}

void TcxCustomTextEdit::FireNewLookupDisplayText(const String& AText) {
  if (TcxCustomTextEditProperties* own = Properties())
    CallEvent(own->OnNewLookupDisplayText(), static_cast<TObject*>(this), AText);
  if (RepositoryItem()) CallEvent(ActiveProperties()->OnNewLookupDisplayText(), static_cast<TObject*>(this), AText);
}

void TcxCustomTextEdit::CheckDisplayValue(Variant& ADisplayValue, String& AErrorText, bool& AError) {
  TcxCustomTextEditProperties* properties = ActiveProperties();
  if (properties->ValidatesDisplayValue() && properties->GetEditingStyle() == esEdit && UsesLookupData() &&
      FFindSelection) {
    const Variant key = ILookupData()->GetCurrentKey();
    if (LookupKeyToItemIndex(key) != -1) {
      const String itemText = ILookupData()->GetDisplayText(key);
      if (AnsiUpperCase(VarToStr(ADisplayValue)) == AnsiUpperCase(itemText)) ADisplayValue = Variant(itemText);
    }
  }
  inherited::CheckDisplayValue(ADisplayValue, AErrorText, AError);
}

bool TcxCustomTextEdit::TrySetDisplayText(const String& AText) {
  Variant value(AText);
  if (!ActiveProperties()->IsDisplayValueValid(value, Focused())) return false;
  if (IsUserAction() && !DoEditing()) return false;
  SetDisplayText(VarToStr(value));
  return true;
}

void TcxCustomTextEdit::TakeDisplayTextAsEditValue() { SetValidatableEditValue(Variant(DisplayText())); }

void TcxCustomTextEdit::EditValueChanged() {
  inherited::EditValueChanged();
  InnerEditTextChanged();
}

void TcxCustomTextEdit::ResetEditValue() {
  inherited::ResetEditValue();
  if (UsesLookupData()) ILookupData()->SetCurrentKey(Variant(-1));
}

void TcxCustomTextEdit::SetEditingText(const String& AValue) {
  if (!DoEditing()) return;
  SetText(AValue);
  SetModifiedAfterEnter(true);
}

bool TcxCustomTextEdit::CanModify() { return ActiveProperties()->GetEditingStyle() != esNoEdit; }

bool TcxCustomTextEdit::IsEditClass() {
  const TcxEditEditingStyle style = ActiveProperties()->GetEditingStyle();
  return (style == esEdit || style == esEditList) && HasInnerEdit();
}

bool TcxCustomTextEdit::IsChildWindow(HWND AWnd) {
  if (inherited::IsChildWindow(AWnd)) return true;
  IdxSpellChecker* checker = TdxSpellCheckerInstance::ISpellChecker();
  return AWnd && checker && checker->IsDialogWindow(AWnd);
}

bool TcxCustomTextEdit::IsValidInputChar(wchar_t Key) {
  return inherited::IsValidInputChar(Key) || ActiveProperties()->ValidChars().Contains(static_cast<BYTE>(Key & 0xFF));
}

// ---------------------------------------------------------------------------
// The selection

int TcxCustomTextEdit::SelStart() {
  IcxInnerTextEdit* inner = InnerTextEdit();
  const TcxEditEditingStyle style = ActiveProperties()->GetEditingStyle();
  if (!inner || style == esNoEdit || (style == esFixedList && !FFindSelection)) return 0;
  return inner->GetSelStart();
}

void TcxCustomTextEdit::SetSelStart(int AValue) {
  IcxInnerTextEdit* inner = InnerTextEdit();
  if (inner && ActiveProperties()->GetEditingStyle() != esNoEdit) inner->SetSelStart(AValue);
}

int TcxCustomTextEdit::SelLength() {
  IcxInnerTextEdit* inner = InnerTextEdit();
  const TcxEditEditingStyle style = ActiveProperties()->GetEditingStyle();
  if (!inner || style == esNoEdit || (style == esFixedList && !FFindSelection)) return 0;
  return inner->GetSelLength();
}

void TcxCustomTextEdit::SetSelLength(int AValue) {
  IcxInnerTextEdit* inner = InnerTextEdit();
  if (inner && ActiveProperties()->GetEditingStyle() != esNoEdit) inner->SetSelLength(AValue);
}

String TcxCustomTextEdit::SelText() {
  IcxInnerTextEdit* inner = InnerTextEdit();
  const TcxEditEditingStyle style = ActiveProperties()->GetEditingStyle();
  if (!inner || style == esNoEdit || (style == esFixedList && !FFindSelection)) return String();
  return inner->GetSelText();
}

void TcxCustomTextEdit::SetSelText(const String& AValue) {
  String newText;
  int newSelStart = 0;
  if (!PrepareSelTextReplacement(AValue, newText, newSelStart)) return;
  SetDisplayText(newText);
  SetSelStart(newSelStart);
}

void TcxCustomTextEdit::SetSelection(int ASelStart, int ASelLength) {
  SetSelStart(ASelStart);
  SetSelLength(ASelLength);
}

void TcxCustomTextEdit::SelectAll() {
  if (IcxInnerTextEdit* inner = InnerTextEdit()) inner->SelectAll();
}

int TcxCustomTextEdit::CursorPos() {
  auto* inner = dynamic_cast<TcxCustomInnerTextEdit*>(InnerControl());
  if (!inner || !inner->HandleAllocated()) return 0;
  const HWND wnd = inner->Handle();
  const int length = GetWindowTextLengthW(wnd);
  POINT caret{};
  GetCaretPos(&caret);
  if (length == 0) return 0;
  const auto xOf = [wnd](int AIndex) {
    return static_cast<short>(LOWORD(SendMessageW(wnd, EM_POSFROMCHAR, static_cast<WPARAM>(AIndex), 0)));
  };
  if (xOf(length - 1) < caret.x) return length;
  int low = 0, high = length - 1;
  while (low < high) {
    const int middle = (low + high) / 2;
    const int x = xOf(middle);
    if (x == caret.x) return middle;
    if (x < caret.x)
      low = middle + 1;
    else
      high = middle;
  }
  return high;
}

String TcxCustomTextEdit::TextHint() {
  IcxInnerTextEdit* inner = InnerTextEdit();
  return inner ? inner->GetTextHint() : String();
}

void TcxCustomTextEdit::SetTextHint(const String& AValue) {
  if (IcxInnerTextEdit* inner = InnerTextEdit()) inner->SetTextHint(AValue);
}

bool TcxCustomTextEdit::PrepareSelTextReplacement(const String& AText, String& ANewText, int& ANewSelStart) {
  const TcxEditEditingStyle style = ActiveProperties()->GetEditingStyle();
  if (IsUserAction() && style == esNoEdit) return false;
  if (style == esFixedList || style == esNoEdit) SelectAll();
  const String text = DisplayText();
  // The native selection: a fixed list reads none while no search shows.
  IcxInnerTextEdit* inner = InnerTextEdit();
  const int selStart = inner ? std::clamp(inner->GetSelStart(), 0, TextLength(text)) : 0;
  const int selLength = inner ? std::clamp(inner->GetSelLength(), 0, TextLength(text) - selStart) : 0;
  const String before = text.substr(0, static_cast<size_t>(selStart));
  const String after = text.substr(static_cast<size_t>(selStart + selLength));
  const int maxLength = ActiveProperties()->MaxLength();
  if (IsUserAction() && style == esEdit && maxLength > 0) {
    ANewText = before + AText;
    ANewSelStart = std::min(TextLength(ANewText), maxLength);
    if (ANewSelStart < selStart) return false;
    ANewText += after;
    if (TextLength(ANewText) > maxLength) ANewText.resize(static_cast<size_t>(maxLength));
  } else {
    ANewText = style == esFixedList ? AText : before + AText + after;
    ANewSelStart = selStart + TextLength(AText);
  }
  Variant value(ANewText);
  const bool valid = ActiveProperties()->IsDisplayValueValid(value, Focused());
  ANewText = VarToStr(value);
  return valid && DoEditing();
}

void TcxCustomTextEdit::ClearSelection() {
  IcxInnerTextEdit* inner = InnerTextEdit();
  if (!inner || SelLength() == 0) return;
  const int start = SelStart();
  String text = DisplayText();
  text.erase(static_cast<size_t>(start), static_cast<size_t>(SelLength()));
  if (TrySetDisplayText(text)) SetSelStart(start);
}

// ---------------------------------------------------------------------------
// The clipboard

void TcxCustomTextEdit::CopyToClipboard() {
  const TcxEditEditingStyle style = ActiveProperties()->GetEditingStyle();
  if (style == esFixedList || style == esNoEdit) SelectAll();
  IcxInnerTextEdit* inner = InnerTextEdit();
  if (inner && inner->GetSelLength() > 0) inner->CopyToClipboard();
}

void TcxCustomTextEdit::CutToClipboard() {
  IcxInnerTextEdit* inner = InnerTextEdit();
  if (!inner || SelLength() == 0) return;
  if (!Focused()) {
    inner->CopyToClipboard();
    SetSelText(String());
    return;
  }
  AsTextUserAction(this, [this, inner] {
    String newText;
    int newSelStart = 0;
    if (PrepareSelTextReplacement(String(), newText, newSelStart)) inner->CallDefWndProc(WM_CUT, 0, 0);
  });
}

void TcxCustomTextEdit::PasteFromClipboard() {
  TClipboard* clipboard = Clipboard();
  if (!clipboard->HasFormat(CF_TEXT)) return;
  const String text = clipboard->AsText();
  if (!Focused()) {
    SetSelText(text);
    return;
  }
  IcxInnerTextEdit* inner = InnerTextEdit();
  if (!inner) return;
  AsTextUserAction(this, [this, inner, &text] {
    String newText;
    int newSelStart = 0;
    if (PrepareSelTextReplacement(text, newText, newSelStart)) inner->CallDefWndProc(WM_PASTE, 0, 0);
  });
}

// ---------------------------------------------------------------------------
// Lookup items and the item index

Variant TcxCustomTextEdit::LookupItemToEditValue(const Variant& AKey) {
  Variant value;
  PrepareEditValue(Variant(ILookupData()->GetDisplayText(AKey)), value, false);
  return value;
}

int TcxCustomTextEdit::LookupKeyToItemIndex(const Variant& AKey) {
  return AKey.IsNull() || AKey.IsEmpty() ? -1 : AKey.AsInteger();
}

int TcxCustomTextEdit::ItemIndex() {
  return UsesLookupData() ? LookupKeyToItemIndex(ILookupData()->GetCurrentKey()) : -1;
}

void TcxCustomTextEdit::SetItemIndex(int AValue) {
  if (!UsesLookupData()) return;
  const int before = ItemIndex();
  LockClick(true);
  TryFinally(
      [&] {
        ILookupData()->SetCurrentKey(ItemIndexToLookupKey(AValue));
        const Variant value = LookupItemToEditValue(ILookupData()->GetCurrentKey());
        if (!VariantsEqualBooleanAware(value, EditValue())) {
          FLookupDataTextChangedLocked = true;
          TryFinally([&] { SetInternalEditValue(value); }, [this] { FLookupDataTextChangedLocked = false; });
        }
      },
      [this] { LockClick(false); });
  if (ItemIndex() == before) return;
  SetEditModified(false);
  Click();
}

TObject* TcxCustomTextEdit::ItemObject() {
  const int index = ItemIndex();
  return index == -1 ? nullptr : ActiveProperties()->LookupItems()->Objects(index);
}

void TcxCustomTextEdit::SetItemObject(TObject* AValue) {
  TStrings* items = ActiveProperties()->LookupItems();
  int index = -1;
  for (int i = 0; i < items->Count() && index == -1; ++i)
    if (items->Objects(i) == AValue) index = i;
  SetItemIndex(index);
}

void TcxCustomTextEdit::ApplyLookupSelection(TObject*) {
  const Variant value = LookupItemToEditValue(ILookupData()->GetCurrentKey());
  const bool differs = !VariantsEqualBooleanAware(value, EditValue());
  if (differs && !DoEditing()) return;
  PushModifiedState();
  FLookupDataTextChangedLocked = true;
  TryFinally([&] { SetInternalEditValue(value); },
             [this] {
               FLookupDataTextChangedLocked = false;
               PopModifiedState();
             });
  if (differs) SetModifiedAfterEnter(true);
  SelectAll();
  ShortRefreshContainer(false);
}

bool TcxCustomTextEdit::NeedsListTextCheck() {
  return !IsInplace() && !IsBoundToDataStorage() && !ActiveProperties()->IsNullStringCase(EditValue());
}

void TcxCustomTextEdit::RefreshDisplayTextOnPropertiesChange() {
  if (IsInnerControlMissing() || IsDestroying()) return;
  const TcxEditEditingStyle style = ActiveProperties()->GetEditingStyle();
  if (style == esEdit || style == esNoEdit) {
    if (!ModifiedAfterEnter()) DataBinding()->UpdateDisplayValue();
    return;
  }
  if ((ModifiedAfterEnter() && !IsEditValidated()) || NeedsListTextCheck()) {
    Variant text(DisplayText());
    if (ActiveProperties()->IsDisplayValueValid(text, Focused())) return;
    Variant empty;
    ActiveProperties()->GetEmptyDisplayValue(empty);
    PushModifiedState();
    TryFinally([&] { DataBinding()->SetDisplayValue(empty); }, [this] { PopModifiedState(); });
    if (!ModifiedAfterEnter()) SyncEditValueFromDisplay();
    return;
  }
  SyncDisplayValue();
}

void TcxCustomTextEdit::ResetFindSelection() {
  if (ActiveProperties()->UsesLookupData()) SetFindSelection(false);
}

void TcxCustomTextEdit::SetFindSelection(bool AValue) {
  if (!HandleAllocated() || FFindSelection == AValue || FDisableRefresh) return;
  FFindSelection = AValue;
  UpdateHotTrackState(GetMouseClientPos(), cxmbNone, KeyboardStateToShiftState(), false);
  UpdateDrawValue();
}

// ---------------------------------------------------------------------------
// Properties change

void TcxCustomTextEdit::CheckEditorValueBounds() {
  TcxCustomTextEditProperties* properties = ActiveProperties();
  if (DataBinding()->CanCheckEditorValue() && properties->IsValueNumeric() && properties->HasValueBounds() &&
      HasInnerEdit())
    ApplyEditorValueBounds();
}

void TcxCustomTextEdit::PropertiesChanged(TObject* Sender) {
  TcxCustomTextEditProperties* properties = ActiveProperties();
  if (FLookupData) {
    if (auto* filter = dynamic_cast<IcxTextEditLookupDataIncrementalFilter*>(FLookupData.get()))
      filter->ResetIncrementalFilter();
    ILookupData()->PropertiesChanged();
    if (!FLookupDataTextChangedLocked) ILookupData()->TextChanged();
  }
  if (!IsInnerControlMissing() && !IsDestroying() && !IsEditClass()) UpdateDrawValue();
  if (IcxInnerTextEdit* inner = InnerTextEdit()) {
    FImeMode = properties->ImeMode();
    FImeName = properties->ImeName();
    inner->SetAlignment(properties->Alignment()->Horz());
    inner->SetUseLeftAlignmentOnEditing(properties->UseLeftAlignmentOnEditing());
    inner->SetAutoSelect(properties->AutoSelect() && !IsInplace());
    inner->SetCharCase(properties->CharCase());
    inner->SetEchoMode(properties->EchoMode());
    inner->SetHideSelection(properties->HideSelection());
    inner->SetImeMode(properties->ImeMode());
    inner->SetImeName(properties->ImeName());
    inner->SetMaxLength(properties->MaxLength());
    inner->SetOEMConvert(properties->OEMConvert());
    inner->SetPasswordChar(properties->PasswordChar());
    if (auto* edit = dynamic_cast<TcxCustomInnerTextEdit*>(InnerControl()))
      edit->IsPasswordRevealButtonPressed = properties->IsPasswordRevealButtonPressed();
    if (!IsInplaceInitializing()) {
      CheckEditorValueBounds();
      if (!IsPosting()) RefreshDisplayTextOnPropertiesChange();
      UpdateDrawValue();
    }
  }
  properties->UpdatePasswordRevealButton(!Text().empty());
  inherited::PropertiesChanged(Sender);
  if (TWinControl* inner = InnerControl()) inner->Invalidate();
}

void TcxCustomTextEdit::FormatSettingsChanged() {
  ActiveProperties()->Changed();
  SyncDisplayValue();
}

// ---------------------------------------------------------------------------
// Layout and the inner edit

int TcxCustomTextEdit::GetInnerEditFontHeight() {
  TWinControl* inner = InnerControl();
  return inner ? GetFontHeight(inner->Font()) : 0;
}

void TcxCustomTextEdit::PlaceInnerEdit() {
  if (FInnerEditPositionAdjusting || !HasInnerEdit() || !InnerControl() || !ViewInfo()) return;
  FInnerEditPositionAdjusting = true;
  TScopeExit done([this] { FInnerEditPositionAdjusting = false; });
  const int h = GetInnerEditFontHeight();
  const TRect c = ViewInfo()->ClientRect;
  const TRect o = ContentParams.Offsets;
  int top = c.Top + o.Top;
  switch (ActiveProperties()->Alignment()->Vert()) {
    case taBottomJustify:
      top = c.Bottom - h - o.Bottom;
      break;
    case taVCenter:
      top = c.Top + o.Top + (c.Bottom - c.Top - h - o.Top - o.Bottom) / 2;
      break;
    default:
      break;
  }
  top = std::max(top, c.Top + o.Top);
  TWinControl* inner = InnerControl();
  const TRect bounds(c.Left + o.Left, top, c.Left + o.Left + (c.Right - c.Left - o.Left - o.Right + 1), top + h);
  if (inner->BoundsRect() != bounds) inner->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
  TRect area = c;
  const TcxEditEditingStyle style = ActiveProperties()->GetEditingStyle();
  if (IsInplace()) {
    area.Top += 1;
    area.Bottom -= 1;
  } else if (auto* viewInfo = dynamic_cast<TcxCustomTextEditViewInfo*>(ViewInfo());
             viewInfo && viewInfo->NativeStyle && viewInfo->ComboBoxStyle && (style == esEdit || style == esEditList)) {
    area.Right -= 1;
    area.Bottom -= 1;
  }
  AlignControls(inner, area);
}

void TcxCustomTextEdit::SetScrollBarsParameters(bool AIsScrolling) {
  inherited::SetScrollBarsParameters(AIsScrolling);
  TrackInnerEditLayout();
}

// The default mask character follows the look-and-feel: a password edit
// window is made again with the new one.
void TcxCustomTextEdit::ApplyStyleChanges(TObject* Sender) {
  TcxCustomTextEditProperties* properties = ActiveProperties();
  TWinControl* inner = InnerControl();
  if (inner && inner->HandleAllocated() && !IsDestroying() && !ControlState().Contains(csCreating) &&
      properties->PasswordChar() == 0 && properties->EchoMode() == eemPassword)
    inner->RecreateWnd();
  inherited::ApplyStyleChanges(Sender);
}

void TcxCustomTextEdit::SetRevealButtonPressed(int AIndex, bool APressed) {
  TcxCustomTextEditProperties* own = Properties();
  TcxCustomEditViewInfo* viewInfo = ViewInfo();
  if (!own || !viewInfo || AIndex < 0 || AIndex >= static_cast<int>(viewInfo->ButtonsInfo.size())) return;
  if (viewInfo->ButtonsInfo[AIndex]->ButtonIndex != own->PasswordRevealButtonIndex()) return;
  const int lastPressed = viewInfo->LastPressedButton;
  own->SetPasswordRevealButtonPressed(APressed);
  if (ViewInfo()) ViewInfo()->LastPressedButton = lastPressed;
}

void TcxCustomTextEdit::PressButton(int AIndex) {
  inherited::PressButton(AIndex);
  SetRevealButtonPressed(AIndex, true);
}

void TcxCustomTextEdit::ReleaseButton(int AIndex) {
  inherited::ReleaseButton(AIndex);
  SetRevealButtonPressed(AIndex, false);
}

void TcxCustomTextEdit::GetEditSizeProperties(TcxEditSizeProperties& ASizeProperties) {
  inherited::GetEditSizeProperties(ASizeProperties);
  if (!ViewInfo()) return;
  ASizeProperties.Height = -1;
  ASizeProperties.MaxLineCount = 1;
  ASizeProperties.Width = -1;
}

bool TcxCustomTextEdit::RefreshAtPoint(const TPoint& P, TcxMouseButton AButton, TShiftState AShift,
                                       bool AIsMouseEvent) {
  const bool changed = inherited::RefreshAtPoint(P, AButton, AShift, AIsMouseEvent);
  if (changed) UpdateInnerEditAppearance();
  return changed;
}

void TcxCustomTextEdit::UpdateInnerEditAppearance() {
  IcxInnerTextEdit* inner = InnerTextEdit();
  TWinControl* control = InnerControl();
  if (!inner || !control || !ViewInfo()) return;
  inner->LockBounds(true);
  TryFinally(
      [&] {
        control->SetColor(ViewInfo()->BackgroundColor());
        TOwned<TFont> font(New<TFont>());
        font->Assign(GetVisibleFont());
        font->SetColor(ViewInfo()->TextColor);
        control->Font()->Assign(font.get());
      },
      [inner] { inner->LockBounds(false); });
}

void TcxCustomTextEdit::GetChildRegionInfo(const TRect& R, TControl* AControl, TcxContainerInnerControlBounds& AInfo) {
  if (IsEditClass()) {
    inherited::GetChildRegionInfo(R, AControl, AInfo);
    return;
  }
  AInfo = TcxContainerInnerControlBounds();
}

int TcxCustomTextEdit::GetTextBaseLine() {
  auto* viewInfo = dynamic_cast<TcxCustomTextEditViewInfo*>(ViewInfo());
  return viewInfo ? viewInfo->GetTextBaseLine() : 0;
}

void TcxCustomTextEdit::FocusChanged() {
  inherited::FocusChanged();
  if (TWinControl* inner = InnerControl()) inner->Invalidate();
}

void TcxCustomTextEdit::FocusAndSelect() {
  SetSelStart(0);
  inherited::FocusAndSelect();
}

void TcxCustomTextEdit::DoExit() {
  const TControlTracker alive(this);
  inherited::DoExit();
  if (alive.Alive()) SetFindSelection(false);
}

// ---------------------------------------------------------------------------
// The edit window's messages and the spell checker

bool TcxCustomTextEdit::CanSpellCheck() {
  return ActiveProperties()->EchoMode() == eemNormal && ActiveProperties()->AllowsInplaceEditing();
}

bool TcxCustomTextEdit::CanPostAfterSpellCheck() { return !IsInplace() && CanPostEditValue() && !Focused(); }

void TcxCustomTextEdit::DrawMisspellings(HDC ADC) {
  if (TWinControl* inner = InnerControl()) TdxSpellCheckerInstance::DrawMisspellings(inner, ADC);
}

void TcxCustomTextEdit::InnerEditLayoutChanged() {
  if (IcxInnerTextEdit* inner = InnerTextEdit()) FLastFirstVisibleCharIndex = inner->GetFirstVisibleCharIndex();
  if (TWinControl* inner = InnerControl()) TdxSpellCheckerInstance::LayoutChanged(inner);
}

void TcxCustomTextEdit::InnerEditSelectionChanged() {
  if (TWinControl* inner = InnerControl()) TdxSpellCheckerInstance::SelectionChanged(inner);
}

void TcxCustomTextEdit::InnerEditTextChanged() {
  if (TWinControl* inner = InnerControl()) TdxSpellCheckerInstance::TextChanged(inner);
  TcxCustomTextEditProperties* properties = ActiveProperties();
  properties->LockUpdate(true);
  bool changed = false;
  TryFinally([&] { changed = properties->UpdatePasswordRevealButton(!Text().empty()); },
             [properties] { properties->LockUpdate(false); });
  if (changed) ShortRefreshContainer(false);
}

void TcxCustomTextEdit::TrackInnerEditLayout() {
  IcxInnerTextEdit* inner = InnerTextEdit();
  if (!inner) return;
  if (inner->GetFirstVisibleCharIndex() != FLastFirstVisibleCharIndex) {
    InnerEditLayoutChanged();
  } else if (inner->GetSelStart() != FLastSelPosition || inner->GetSelLength() != FLastSelLength) {
    FLastSelPosition = inner->GetSelStart();
    FLastSelLength = inner->GetSelLength();
    InnerEditSelectionChanged();
  }
}

void TcxCustomTextEdit::ProcessInnerEditMessage(TMessage& Message) {
  TWinControl* inner = InnerControl();
  if (!inner) return;
  switch (Message.Msg) {
    case WM_SIZE:
    case WM_SETFONT:
      InnerEditLayoutChanged();
      break;
    case WM_SETFOCUS:
      TdxSpellCheckerInstance::CheckStart(inner);
      break;
    case WM_KILLFOCUS:
      TdxSpellCheckerInstance::CheckFinish();
      break;
    case WM_PAINT:
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT:
      DrawMisspellings(reinterpret_cast<HDC>(Message.WParam));
      break;
    case EM_UNDO:
    case WM_UNDO:
      TdxSpellCheckerInstance::Undo();
      break;
    case WM_KEYUP:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      TrackInnerEditLayout();
      break;
    case DXM_DRAWMISSPELLINGS:
      if (inner->HandleAllocated()) MessagesController()->KillMessages(inner->Handle(), DXM_DRAWMISSPELLINGS);
      DrawMisspellings(nullptr);
      break;
    case CN_CTLCOLOREDIT:
      if (inner->HandleAllocated()) PostMessageW(inner->Handle(), DXM_DRAWMISSPELLINGS, 0, 0);
      break;
    default:
      break;
  }
}

void TcxCustomTextEdit::InnerEditWindowProc(TMessage& Message) {
  if (Message.Msg != WM_SETFOCUS) {
    inherited::InnerEditWindowProc(Message);
    return;
  }
  IcxInnerTextEdit* inner = InnerTextEdit();
  if (inner && inner->GetAutoSelect()) inner->SelectAll();
}

void TcxCustomTextEdit::UnhookInnerEditWindowProc() {
  inherited::UnhookInnerEditWindowProc();
  IcxInnerTextEdit* inner = InnerTextEdit();
  TWinControl* control = InnerControl();
  if (!inner || !control || !control->HandleAllocated()) return;
  const TEditCharCase charCase = inner->GetCharCase();
  inner->SetCharCase(ecNormal);
  TryFinally([control] { SendMessageW(control->Handle(), WM_SETFOCUS, 0, 0); },
             [inner, charCase] { inner->SetCharCase(charCase); });
}

void TcxCustomTextEdit::ReplaceMisspelling(const String& AText, bool APost) {
  FIsChangeBySpellChecker = true;
  TryFinally(
      [&] {
        SetSelText(AText);
        if (APost && CanPostAfterSpellCheck()) {
          LockChangeEvents(true);
          TryFinally(
              [this] {
                TakeDisplayTextAsEditValue();
                PostEditValue();
              },
              [this] { LockChangeEvents(false); });
        }
      },
      [this] {
        FIsChangeBySpellChecker = false;
        SetModifiedAfterEnter(true);
      });
}

void TcxCustomTextEdit::SpellCheckerReplace(TMessage& Message) {
  TWinControl* inner = InnerControl();
  const auto* replacement = reinterpret_cast<const TdxSpellCheckerReplacement*>(Message.LParam);
  if (!inner || !inner->HandleAllocated() || !replacement) return;
  TcxCustomTextEditProperties* properties = ActiveProperties();
  const bool hideSelection = properties->HideSelection();
  FIsChangeBySpellChecker = true;
  properties->SetHideSelection(true);
  TryFinally(
      [&] {
        const HWND wnd = inner->Handle();
        SendMessageW(wnd, EM_SETSEL, static_cast<WPARAM>(replacement->SelStart),
                     static_cast<LPARAM>(replacement->SelStart + replacement->SelLength));
        SendMessageW(wnd, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(replacement->Text.c_str()));
        SendMessageW(wnd, EM_SETSEL, static_cast<WPARAM>(replacement->CaretPos),
                     static_cast<LPARAM>(replacement->CaretPos));
      },
      [&] {
        properties->SetHideSelection(hideSelection);
        FIsChangeBySpellChecker = false;
      });
}

void TcxCustomTextEdit::WndProc(TMessage& Message) {
  if (Message.Msg == DXM_SPELLCHECKERREPLACE && HasInnerControlHandle()) SpellCheckerReplace(Message);
  inherited::WndProc(Message);
}

void TcxCustomTextEdit::DefaultHandler(TMessage& Message) {
  // The editor's menu is the inner edit's; the window's own never shows.
  if (Message.Msg == WM_CONTEXTMENU) return;
  inherited::DefaultHandler(Message);
}

void TcxCustomTextEdit::WMGetText(TMessage& Message) {
  const String text = InternalProperties() ? GetWindowTextValue() : FText;
  auto* buffer = reinterpret_cast<wchar_t*>(Message.LParam);
  const auto size = static_cast<std::size_t>(Message.WParam);
  if (!buffer || size == 0) {
    Message.Result = 0;
    return;
  }
  const std::size_t n = std::min(size - 1, text.size());
  std::copy_n(text.data(), n, buffer);
  buffer[n] = L'\0';
  Message.Result = static_cast<LRESULT>(n);
}

void TcxCustomTextEdit::WMGetTextLength(TMessage& Message) {
  const String text = InternalProperties() ? GetWindowTextValue() : FText;
  Message.Result = static_cast<LRESULT>(text.size());
}

void TcxCustomTextEdit::WMSetText(TMessage& Message) {
  if (FInternalTextSetting || !InternalProperties()) {
    if (!InternalProperties()) {
      const auto* text = reinterpret_cast<const wchar_t*>(Message.LParam);
      FText = text ? text : L"";
    }
    inherited::DefaultHandler(Message);
    return;
  }
  const auto* text = reinterpret_cast<const wchar_t*>(Message.LParam);
  FInternalTextSetting = true;
  TryFinally([&] { Message.Result = SetWindowTextValue(text ? String(text) : String()) ? 1 : 0; },
             [this] { FInternalTextSetting = false; });
}

void TcxCustomTextEdit::WMClear(TMessage& Message) {
  Message.Result = 0;
  AsTextUserAction(this, [this] {
    if (!ActiveProperties()->ReadOnly() && DataBinding()->IsDataAvailable()) ClearSelection();
  });
}

void TcxCustomTextEdit::WMCommand(TMessage& Message) {
  TWinControl* inner = InnerControl();
  if (inner && inner->HandleAllocated() && reinterpret_cast<HWND>(Message.LParam) == inner->Handle()) {
    switch (HIWORD(Message.WParam)) {
      case EN_CHANGE:
        InnerEditTextChanged();
        break;
      case EN_HSCROLL:
      case EN_VSCROLL:
        InnerEditLayoutChanged();
        break;
      default:
        break;
    }
  }
  InheritedMessage<TcxCustomTextEdit>(Message);
}

void TcxCustomTextEdit::WMSetFocus(TMessage& Message) {
  if (TWinControl* inner = InnerControl(); inner && !IsInplace() && !IsDesigning()) inner->HandleNeeded();
  InheritedMessage<TcxCustomTextEdit>(Message);
}

// ---------------------------------------------------------------------------
// TcxTextEdit

void TcxTextEdit::Publish(TPublisher<TcxTextEdit>& P) {
  P.Property(L"Properties", &TcxTextEdit::Properties, &TcxTextEdit::SetProperties);
  P.Property(L"BeepOnEnter", &TcxTextEdit::BeepOnEnter, &TcxTextEdit::SetBeepOnEnter).Default(true);
  P.Property(L"Text", &TcxTextEdit::Text, &TcxTextEdit::SetText);
  P.Property(L"TextHint", &TcxTextEdit::TextHint, &TcxTextEdit::SetTextHint);
}

void cxTextEditRegisterClasses() { RegisterClasses({TcxTextEdit::ClassInfo()}); }
