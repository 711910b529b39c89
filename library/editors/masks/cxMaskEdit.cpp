// The mask editor and its properties.
#include "library/editors/masks/cxMaskEdit.h"

#include "library/core/base/dxCore.h"
#include "library/editors/edit/cxEditConsts.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Menus.h"

#include <algorithm>
#include <cstdlib>

// ---------------------------------------------------------------------------
// TcxCustomMaskEditProperties

void TcxCustomMaskEditProperties::Publish(TPublisher<TcxCustomMaskEditProperties>& P) {
  using T = TcxCustomMaskEditProperties;
  P.Property(L"AlwaysShowBlanksAndLiterals", &T::AlwaysShowBlanksAndLiterals, &T::SetAlwaysShowBlanksAndLiterals)
      .Default(false);
  P.Property(L"CaseInsensitive", &T::CaseInsensitive, &T::SetCaseInsensitive).Default(true);
  P.Property(L"IgnoreMaskBlank", &T::IgnoreMaskBlank, &T::SetIgnoreMaskBlank).Default(false);
  // The kind comes first, so that a stored mask compiles in its own syntax.
  P.Property(L"MaskKind", &T::MaskKind, &T::SetMaskKind).Default(emkStandard);
  P.Property(L"EditMask", &T::EditMask, &T::SetEditMask);
}

void TcxCustomMaskEditProperties::Create(TPersistent* AOwner) {
  inherited::Create(AOwner);
  FMaskKind = emkStandard;
  FAlwaysShowBlanksAndLiterals = false;
  SetValidateOnEnter(true);
  FCaseInsensitive = true;
}

void TcxCustomMaskEditProperties::Destroy() {
  FTempMode.reset();
  inherited::Destroy();
}

bool TcxCustomMaskEditProperties::IsEmptyMask(const String& AMask) {
  return std::all_of(AMask.begin(), AMask.end(), [](wchar_t c) { return IsWhiteSpaceChar(c); });
}

TcxEditMask TcxCustomMaskEditProperties::EditMask() { return FEditMask; }

void TcxCustomMaskEditProperties::SetEditMask(const TcxEditMask& AValue) {
  if (AValue == EditMask()) {
    FEditMask = AValue;
    return;
  }
  // Raises for a pattern with errors before anything changes.
  CreateMode()->Compile(AValue);
  FEditMask = AValue;
  Changed();
}

void TcxCustomMaskEditProperties::SetMaskKind(TcxEditMaskKind AValue) {
  if (FMaskKind == AValue) return;
  FMaskKind = AValue;
  Changed();
}

void TcxCustomMaskEditProperties::SetAlwaysShowBlanksAndLiterals(bool AValue) {
  if (FAlwaysShowBlanksAndLiterals == AValue) return;
  FAlwaysShowBlanksAndLiterals = AValue;
  Changed();
}

void TcxCustomMaskEditProperties::SetCaseInsensitive(bool AValue) {
  // The edit window converts typed letters, so a pattern matched with case
  // would refuse every letter of the other case it cannot receive.
  FCaseInsensitive = AValue || CharCase() != ecNormal;
  Changed();
}

void TcxCustomMaskEditProperties::SetCharCase(TEditCharCase AValue) {
  if (AValue != ecNormal) FCaseInsensitive = true;
  inherited::SetCharCase(AValue);
}

TcxMaskEditModeClass TcxCustomMaskEditProperties::GetModeClass(TcxEditMaskKind AMaskKind) {
  switch (AMaskKind) {
    case emkStandard: return TcxMaskEditStandardMode::ClassInfo();
    case emkRegExpr: return TcxMaskEditRegExprMode::ClassInfo();
    default: return TcxMaskEditRegExprExMode::ClassInfo();
  }
}

TOwned<TcxMaskEditCustomMode> TcxCustomMaskEditProperties::CreateMode() {
  return TOwned<TcxMaskEditCustomMode>(
      NewOfClass<TcxMaskEditCustomMode>(GetModeClass(FMaskKind), static_cast<TcxCustomMaskEdit*>(nullptr), this));
}

TOwned<TcxMaskEditCustomMode> TcxCustomMaskEditProperties::CreateCompiledMode() {
  const String mask = EditMask();
  if (IsEmptyMask(mask)) return nullptr;
  TOwned<TcxMaskEditCustomMode> mode = CreateMode();
  mode->Compile(mask);
  return mode;
}

String TcxCustomMaskEditProperties::FormatByMode(TcxMaskEditCustomMode* AMode, const String& AText, bool AEditFocused,
                                                 bool AMatchForBlanksAndLiterals) {
  if (AEditFocused || AMode->GetMaskKind() != emkStandard || FAlwaysShowBlanksAndLiterals)
    return AMode->GetFormattedText(AText, AMatchForBlanksAndLiterals);
  return AMode->GetUpdatedText(AText, AMatchForBlanksAndLiterals);
}

void TcxCustomMaskEditProperties::CopyFrom(TcxCustomEditProperties* ASource) {
  inherited::CopyFrom(ASource);
  auto* source = dynamic_cast<TcxCustomMaskEditProperties*>(ASource);
  if (!source) return;
  SetMaskKind(source->MaskKind());
  SetEditMask(source->FEditMask);
  SetCaseInsensitive(source->CaseInsensitive());
  SetIgnoreMaskBlank(source->IgnoreMaskBlank());
  SetAlwaysShowBlanksAndLiterals(source->AlwaysShowBlanksAndLiterals());
}

void TcxCustomMaskEditProperties::NotifyPropertiesChanged() {
  FTempMode.reset();
  inherited::NotifyPropertiesChanged();
}

TClass TcxCustomMaskEditProperties::GetContainerClass() { return TcxMaskEdit::ClassInfo(); }

bool TcxCustomMaskEditProperties::IsEditValueValid(Variant& AEditValue, bool AEditFocused) {
  return IsMasked() || inherited::IsEditValueValid(AEditValue, AEditFocused);
}

void TcxCustomMaskEditProperties::PrepareDisplayValue(const Variant& AEditValue, Variant& ADisplayValue,
                                                      bool AEditFocused) {
  if (!IsMasked()) {
    inherited::PrepareDisplayValue(AEditValue, ADisplayValue, AEditFocused);
    return;
  }
  const String mask = EditMask();
  if (!FTempMode || FTempMode->ClassType() != GetModeClass(FMaskKind) || FTempMode->EditMask() != mask)
    FTempMode = CreateCompiledMode();
  const String text = AEditValue.IsNull() ? String() : VarToStr(AEditValue);
  ADisplayValue = Variant(FormatByMode(FTempMode.get(), text, AEditFocused, false));
}

void TcxCustomMaskEditProperties::ValidateDisplayValue(Variant& ADisplayValue, String& AErrorText, bool& AError,
                                                       TcxCustomEdit* AEdit) {
  auto* edit = dynamic_cast<TcxCustomMaskEdit*>(AEdit);
  if (!AError && edit && edit->IsMasked() && !edit->Mode()->IsFullValidText(VarToStr(ADisplayValue))) {
    AError = true;
    AErrorText = LoadLocalizedResString(&scxMaskEditInvalidEditValue);
  }
  inherited::ValidateDisplayValue(ADisplayValue, AErrorText, AError, AEdit);
}

bool TcxCustomMaskEditProperties::IsValueFormattedByProperties() { return !FEditMask.empty(); }

void TcxMaskEditProperties::Publish(TPublisher<TcxMaskEditProperties>&) {}

// ---------------------------------------------------------------------------
// TcxCustomMaskEdit

void TcxCustomMaskEdit::InitializeEdit() {
  inherited::InitializeEdit();
  FMode.reset(NewOfClass<TcxMaskEditCustomMode>(ActiveProperties()->GetModeClass(emkStandard), this,
                                                ActiveProperties()));
  FShiftOn = false;
  ActiveProperties()->FEmptyString = GetMaskEmptyText();
}

void TcxCustomMaskEdit::Destroy() {
  inherited::Destroy();
  FMode.reset();
}

String TcxCustomMaskEdit::GetMaskEmptyText() { return IsMasked() ? FMode->GetEmptyString() : String(); }

void TcxCustomMaskEdit::RecreateMode(TcxEditMaskKind AKind) {
  FMode.reset();
  FMode.reset(NewOfClass<TcxMaskEditCustomMode>(ActiveProperties()->GetModeClass(AKind), this, ActiveProperties()));
}

void TcxCustomMaskEdit::PropertiesChanged(TObject* Sender) {
  if (!FMode || ComponentState().Contains(csDestroying)) {
    inherited::PropertiesChanged(Sender);
    return;
  }
  TcxCustomMaskEditProperties* properties = ActiveProperties();
  const String mask = properties->EditMask();
  const bool maskChanged = FMode->EditMask() != mask;
  const TcxEditMaskKind oldKind = FMode->GetMaskKind();
  const bool kindChanged = oldKind != properties->MaskKind();
  properties->LockUpdate(true);
  TryFinally(
      [&] {
        bool emptied = false;
        if (kindChanged) {
          RecreateMode(properties->MaskKind());
          // A classic mask means nothing as a pattern, nor the other way round.
          if ((oldKind == emkStandard) != (properties->MaskKind() == emkStandard)) {
            properties->FEditMask.clear();
            emptied = true;
          }
          const String effective = properties->EditMask();
          FMode->Compile(effective);
          if (!TcxCustomMaskEditProperties::IsEmptyMask(effective)) FMode->SynchronizeEditValue();
          properties->FEmptyString = GetMaskEmptyText();
        }
        if (maskChanged) {
          FMode->Compile(mask);
          if (emptied) properties->FEditMask = mask;
          if (!TcxCustomMaskEditProperties::IsEmptyMask(mask))
            FMode->SynchronizeEditValue();
          else if (FMode->GetMaskKind() == emkStandard && HandleAllocated() && SelLength() == 1)
            SetInternalSelLength(0);
          properties->FEmptyString = GetMaskEmptyText();
        }
        if ((IsInnerControlMissing() || !EditValue().IsNull()) && IsMasked()) FMode->UpdateEditValue();
      },
      [&] { properties->LockUpdate(false); });
  if (auto* regExprMode = dynamic_cast<TcxMaskEditRegExprMode*>(FMode.get())) regExprMode->SetRegExprCaseInsensitive();
  inherited::PropertiesChanged(Sender);
  if (kindChanged || maskChanged) FText = FMode->GetUpdatedText(EditText(), true);
}

void TcxCustomMaskEdit::Loaded() {
  inherited::Loaded();
  if (!IsMasked()) return;
  LockChangeEvents(true);
  TryFinally([this] { RefreshMaskedText(); }, [this] { LockChangeEvents(false); });
}

void TcxCustomMaskEdit::RefreshMaskedText() {
  Variant display;
  PrepareEditDisplayValue(EditValue(), display, IsFocusedForDisplay());
  SetDisplayText(VarToStr(display));
}

bool TcxCustomMaskEdit::IsFocusedForDisplay() { return Focused(); }

// ---------------------------------------------------------------------------
// Text and values

String TcxCustomMaskEdit::EditText() {
  IcxInnerTextEdit* inner = InnerTextEdit();
  return inner ? VarToStr(inner->GetEditValue()) : String();
}

void TcxCustomMaskEdit::SetInnerText(const String& AText) {
  if (IcxInnerTextEdit* inner = InnerTextEdit()) inner->SetEditValue(Variant(AText));
}

void TcxCustomMaskEdit::SetEditText(const String& AValue) {
  String text = AValue;
  if (IsMasked()) text = ActiveProperties()->FormatByMode(FMode.get(), AValue, IsFocusedForDisplay(), true);
  SetInnerText(text);
  UpdateModeText();
  StoreEditValue(Variant(FText));
}

void TcxCustomMaskEdit::SetDisplayText(const String& AText) {
  String text = AText;
  if (IsMasked() && !ComponentState().Contains(csLoading))
    text = ActiveProperties()->FormatByMode(FMode.get(), AText, IsFocusedForDisplay(), true);
  inherited::SetDisplayText(text);
  UpdateModeText();
}

void TcxCustomMaskEdit::UpdateModeText() {
  if (FMode && CanSetModeText()) FMode->SetText(EditText());
}

void TcxCustomMaskEdit::SyncDisplayValue() {
  inherited::SyncDisplayValue();
  if (IsMasked()) UpdateModeText();
}

void TcxCustomMaskEdit::UndoPerformed() {
  inherited::UndoPerformed();
  UpdateModeText();
}

void TcxCustomMaskEdit::HandleContentChanged() {
  if (FMode) FText = FMode->GetUpdatedText(EditText(), true);
  inherited::HandleContentChanged();
}

String TcxCustomMaskEdit::GetWindowTextValue() { return IsMasked() ? FText : inherited::GetWindowTextValue(); }

bool TcxCustomMaskEdit::SetWindowTextValue(const String& AText) {
  if (!IsMasked() || ComponentState().Contains(csLoading)) return inherited::SetWindowTextValue(AText);
  SetInternalEditValue(Variant(AText));
  StoreEditValue(Variant(FText));
  return true;
}

void TcxCustomMaskEdit::PrepareEditValue(const Variant& ADisplayValue, Variant& AEditValue, bool AEditFocused) {
  if (!IsMasked()) {
    inherited::PrepareEditValue(ADisplayValue, AEditValue, AEditFocused);
    return;
  }
  const String text = VarToStr(ADisplayValue);
  auto* standard = dynamic_cast<TcxMaskEditStandardMode*>(FMode.get());
  if (AEditFocused || !standard ||
      (!standard->Mask()->SaveLiteralCharacters() && ActiveProperties()->AlwaysShowBlanksAndLiterals()))
    AEditValue = Variant(FMode->GetUpdatedText(text, true));
  else
    AEditValue = Variant(text);
}

// ---------------------------------------------------------------------------
// Caret and selection

bool TcxCustomMaskEdit::PrepareSelTextReplacement(const String& AText, String& AResult, int& ACaretPos) {
  if (IsMasked() && FMode->GetInsertedText(AText, AResult, ACaretPos)) return true;
  return inherited::PrepareSelTextReplacement(AText, AResult, ACaretPos);
}

void TcxCustomMaskEdit::SetSelText(const String& AValue) {
  if (!IsMasked()) {
    inherited::SetSelText(AValue);
    return;
  }
  FMode->SetClipboardTextLength(static_cast<int>(AValue.size()));
  FMode->PrePasteFromClipboard();
  inherited::SetSelText(AValue);
  FMode->AfterPasteFromClipboard();
}

void TcxCustomMaskEdit::SetInternalSelStart(int AValue) {
  const bool previous = FInternalTextSelection;
  FInternalTextSelection = true;
  TryFinally([&] { SetSelStart(AValue); }, [&] { FInternalTextSelection = previous; });
}

void TcxCustomMaskEdit::SetInternalSelLength(int AValue) {
  const bool previous = FInternalTextSelection;
  FInternalTextSelection = true;
  TryFinally([&] { SetSelLength(AValue); }, [&] { FInternalTextSelection = previous; });
}

void TcxCustomMaskEdit::InnerEditSelChange(TObject*) {
  if (!FInternalTextSelection && FMode) FMode->LMouseDown();
}

// ---------------------------------------------------------------------------
// Own key messages

void TcxCustomMaskEdit::SendOwnKeyDown(WORD AKey) {
  if (!HandleAllocated()) return;
  const bool previous = FMyMessage;
  FMyMessage = true;
  TryFinally([&] { SendEditKeyDown(this, AKey, TShiftState()); }, [&] { FMyMessage = previous; });
}

void TcxCustomMaskEdit::SendOwnKeyPress(wchar_t AKey) {
  if (!HandleAllocated()) return;
  const bool previous = FMyMessage;
  FMyMessage = true;
  TryFinally([&] { SendEditKeyPress(this, AKey); }, [&] { FMyMessage = previous; });
}

// ---------------------------------------------------------------------------
// Keys

void TcxCustomMaskEdit::KeyDown(WORD& Key, TShiftState Shift) {
  if (!FMyMessage) inherited::KeyDown(Key, Shift);
}

void TcxCustomMaskEdit::KeyPress(wchar_t& Key) {
  if (!FMyMessage) inherited::KeyPress(Key);
}

void TcxCustomMaskEdit::KeyUp(WORD& Key, TShiftState Shift) {
  if (!FMyMessage) inherited::KeyUp(Key, Shift);
}

void TcxCustomMaskEdit::ProcessKeyDown(WORD& Key, TShiftState Shift) {
  const TShortCut shortCut = ShortCut(Key, Shift.Contains(ssShift), Shift.Contains(ssCtrl), Shift.Contains(ssAlt));
  if (Key == 0 || !IsMasked() || shortCut == ActiveProperties()->ClearKey() || IsDefaultButtonShortCut(shortCut)) {
    inherited::ProcessKeyDown(Key, Shift);
    return;
  }
  if (!AllowsKeyDown(Key, Shift)) {
    DoAfterKeyDown(Key, Shift);
    Key = 0;
    return;
  }
  if (Key != VK_TAB) FShiftOn = Shift.Contains(ssShift);
  // A key the mode took is dropped; the caret at the edge reports it first.
  auto step = [&](bool (TcxMaskEditCustomMode::*APress)(), bool (TcxMaskEditCustomMode::*AAtEdge)(), WORD AJump,
                  bool (TcxMaskEditCustomMode::*AJumpPress)()) {
    if (Shift.Contains(ssCtrl)) {
      SendOwnKeyDown(AJump);
      if (!(FMode.get()->*AJumpPress)()) Key = 0;
      return;
    }
    const bool atEdge = (FMode.get()->*AAtEdge)();
    if ((FMode.get()->*APress)()) return;
    if (atEdge) DoAfterKeyDown(Key, Shift);
    Key = 0;
  };
  switch (Key) {
    case VK_UP:
    case VK_DOWN:
      if (!HasPopupWindow()) {
        DoAfterKeyDown(Key, Shift);
        Key = 0;
      }
      break;
    case VK_LEFT:
      step(&TcxMaskEditCustomMode::PressLeft, &TcxMaskEditCustomMode::IsCursorBegin, VK_HOME,
           &TcxMaskEditCustomMode::PressHome);
      break;
    case VK_RIGHT:
      step(&TcxMaskEditCustomMode::PressRight, &TcxMaskEditCustomMode::IsCursorEnd, VK_END,
           &TcxMaskEditCustomMode::PressEnd);
      break;
    case VK_DELETE:
      if (Shift.Contains(ssCtrl)) {
        // The edit window would delete a whole word past the mode.
        Key = 0;
      } else if (!Shift.Contains(ssShift)) {
        if (!FMode->PressDelete()) Key = 0;
      } else if (SelLength() == 0) {
        // Acts as Backspace: with the Shift flag up, or the classic mode's
        // step left would only extend a selection and delete nothing.
        FShiftOn = false;
        if (!FMode->PressBackSpace()) Key = 0;
      } else {
        // The edit window would cut past the mode.
        CutToClipboard();
        Key = 0;
      }
      break;
    case VK_INSERT:
      // Likewise its paste; copying changes nothing.
      if (Shift.Contains(ssShift) && !Shift.Contains(ssCtrl)) {
        PasteFromClipboard();
        Key = 0;
      }
      break;
    case VK_HOME:
      if (!FMode->PressHome()) Key = 0;
      break;
    case VK_END:
      if (!FMode->PressEnd()) Key = 0;
      break;
    default:
      break;
  }
  if (Key != 0) inherited::ProcessKeyDown(Key, Shift);
}

void TcxCustomMaskEdit::ProcessKeyPress(wchar_t& Key) {
  if (!IsMasked()) {
    inherited::ProcessKeyPress(Key);
    return;
  }
  if (Key == L'\t' || Key == 27 || !FilterInputChar(Key)) {
    Key = 0;
    return;
  }
  switch (Key) {
    case L'\r':
      return;
    case 1:
    case 3:
    case 22:
    case 24:
      inherited::ProcessKeyPress(Key);
      return;
    case L'\b':
      if (!FMode->PressBackSpace()) Key = 0;
      return;
    default:
      if (!FMode->PressSymbol(Key)) Key = 0;
      return;
  }
}

// ---------------------------------------------------------------------------
// Mouse and focus

void TcxCustomMaskEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && IsMasked()) FMode->LMouseDown();
  inherited::MouseDown(Button, Shift, X, Y);
}

void TcxCustomMaskEdit::MouseMove(TShiftState Shift, int X, int Y) {
  if (Shift.Contains(ssLeft) && IsMasked()) {
    const bool previous = FShiftOn;
    FShiftOn = true;
    TryFinally([this] { FMode->LMouseDown(); }, [&] { FShiftOn = previous; });
  }
  inherited::MouseMove(Shift, X, Y);
}

void TcxCustomMaskEdit::DblClick() {
  if (IsMasked()) {
    FMode->GotoEnd();
    FMode->LMouseDown();
  }
  inherited::DblClick();
}

void TcxCustomMaskEdit::DoEnter() {
  if (IsMasked() && ActiveProperties()->AutoSelect()) FMode->GotoEnd();
  inherited::DoEnter();
}

void TcxCustomMaskEdit::HookInnerEditWindowProc() {
  if (IsMasked() && HasInnerControlHandle()) {
    SendMessageW(InnerControl()->Handle(), WM_SETREDRAW, FALSE, 0);
    return;
  }
  inherited::HookInnerEditWindowProc();
}

void TcxCustomMaskEdit::UnhookInnerEditWindowProc() {
  if (IsMasked() && HasInnerControlHandle()) {
    SendMessageW(InnerControl()->Handle(), WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(InnerControl()->Handle(), nullptr, TRUE);
    return;
  }
  inherited::UnhookInnerEditWindowProc();
}

// ---------------------------------------------------------------------------
// Clipboard

void TcxCustomMaskEdit::CutToClipboard() {
  if (!IsMasked()) {
    inherited::CutToClipboard();
    return;
  }
  // Nothing selected: the Backspace below would take the character before the caret.
  if (SelLength() == 0 || (Focused() && !DoEditing())) return;
  CopyToClipboard();
  if (FMode->PressDelete()) SendOwnKeyPress(L'\b');
}

void TcxCustomMaskEdit::PasteFromClipboard() {
  if (!Clipboard()->HasFormat(CF_UNICODETEXT)) return;
  if (!IsMasked()) {
    inherited::PasteFromClipboard();
    return;
  }
  const String text = Clipboard()->AsText();
  FMode->SetClipboardTextLength(static_cast<int>(text.size()));
  FMode->PressDelete();
  FMode->PrePasteFromClipboard();
  SetSelText(text);
  FMode->AfterPasteFromClipboard();
}

// ---------------------------------------------------------------------------
// TcxMaskEdit

void TcxMaskEdit::Publish(TPublisher<TcxMaskEdit>& P) {
  P.Property(L"Properties", &TcxMaskEdit::Properties, &TcxMaskEdit::SetProperties);
}

// ---------------------------------------------------------------------------
// TcxFilterMaskEditHelper

TClass TcxFilterMaskEditHelper::TMeta::GetFilterEditClass() const { return TcxMaskEdit::ClassInfo(); }

TcxFilterControlOperators TcxFilterMaskEditHelper::TMeta::GetSupportedFilterOperators(
    TcxCustomEditProperties* AProperties, TcxValueTypeClass AValueTypeClass, bool AExtendedSet) const {
  TcxFilterControlOperators result =
      TcxFilterTextEditHelper::TMeta::GetSupportedFilterOperators(AProperties, AValueTypeClass, AExtendedSet);
  auto* properties = dynamic_cast<TcxCustomMaskEditProperties*>(AProperties);
  if (properties && properties->IsMasked())
    result -= {fcoLike, fcoNotLike, fcoContains, fcoNotContains, fcoBeginsWith, fcoEndsWith};
  return result;
}

void TcxFilterMaskEditHelper::TMeta::InitializeProperties(TcxCustomEditProperties* AProperties,
                                                          TcxCustomEditProperties* AEditProperties,
                                                          bool AHasButtons) const {
  TcxFilterTextEditHelper::TMeta::InitializeProperties(AProperties, AEditProperties, AHasButtons);
  auto* properties = static_cast<TcxCustomMaskEditProperties*>(AProperties);
  // A filter value is typed whole; the completing mode keeps a partial value a valid prefix.
  auto* source = dynamic_cast<TcxCustomMaskEditProperties*>(AEditProperties);
  if (source && source->MaskKind() == emkRegExpr) properties->SetMaskKind(emkRegExprEx);
  properties->SetAutoSelect(!properties->IsMasked());
}

// ---------------------------------------------------------------------------
// Unit

namespace {
int MaskEditUnitStartCount = 0;
}  // namespace

void cxMaskEditInitialization() {
  if (MaskEditUnitStartCount++ != 0) return;
  RegisterClasses({TcxMaskEdit::ClassInfo(), TcxMaskEditProperties::ClassInfo()});
  GetRegisteredEditProperties()->Register(TcxMaskEditProperties::ClassInfo(),
                                          LoadLocalizedResString(&scxSEditRepositoryMaskItem));
  GetFilterEditsController()->Register(TcxCustomMaskEditProperties::ClassInfo(),
                                       TcxFilterMaskEditHelper::ClassInfo());
}

void cxMaskEditFinalization() {
  if (--MaskEditUnitStartCount != 0) return;
  if (FilterEditsControllerExists())
    GetFilterEditsController()->Unregister(TcxCustomMaskEditProperties::ClassInfo(),
                                           TcxFilterMaskEditHelper::ClassInfo());
}
