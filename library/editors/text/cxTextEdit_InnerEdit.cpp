// The native edit window a text editor hosts, its helper and its
// accessibility node.
#include "library/editors/text/cxTextEdit.h"

#include "library/controls/control/cxControls.h"
#include "library/controls/windows/cxDWMApi.h"
#include "library/core/base/dxCore.h"
#include "library/core/system/dxThemeManager.h"
#include "library/graphics/canvas/cxGraphics.h"
#include "platform/runtime/Handles.h"
#include "platform/runtime/SysUtils.h"
#include "platform/ui/GdiScopes.h"

#include <algorithm>
#include <utility>

namespace {

TAlignment Mirrored(TAlignment AValue) {
  switch (AValue) {
    case taLeftJustify: return taRightJustify;
    case taRightJustify: return taLeftJustify;
    default: return AValue;
  }
}

DWORD AlignmentEditStyle(TAlignment AValue) {
  switch (AValue) {
    case taRightJustify: return ES_RIGHT;
    case taCenter: return ES_CENTER;
    default: return 0;
  }
}

TcxInnerTextEditSystemProbe& SystemProbe() {
  static TcxInnerTextEditSystemProbe probe = cxDefaultInnerTextEditSystemProbe();
  return probe;
}

}  // namespace

TcxInnerTextEditSystemProbe cxDefaultInnerTextEditSystemProbe() {
  return {[] { return IsWinSevenOrLater; }, [] { return AreVisualStylesAvailable(); }};
}

const TcxInnerTextEditSystemProbe& cxInnerTextEditSystemProbe() { return SystemProbe(); }

TcxInnerTextEditSystemProbe cxSetInnerTextEditSystemProbe(const TcxInnerTextEditSystemProbe& AProbe) {
  return std::exchange(SystemProbe(), AProbe);
}

// ---------------------------------------------------------------------------
// The state a key may change

void SaveInnerTextEditState(IcxInnerTextEdit* AEdit, bool ASaveText, TcxCustomInnerTextEditPrevState& AState) {
  AState.IsPrevTextSaved = ASaveText;
  AState.PrevText = ASaveText ? VarToStr(AEdit->GetEditValue()) : String();
  AState.PrevSelStart = AEdit->GetSelStart();
  AState.PrevSelLength = AEdit->GetSelLength();
}

bool IsInnerTextEditStateChanged(IcxInnerTextEdit* AEdit, const TcxCustomInnerTextEditPrevState& AState) {
  if (!AEdit->GetControl()->HandleAllocated()) return true;
  if (AEdit->GetSelStart() != AState.PrevSelStart || AEdit->GetSelLength() != AState.PrevSelLength) return true;
  return AState.IsPrevTextSaved && AnsiUpperCase(VarToStr(AEdit->GetEditValue())) != AnsiUpperCase(AState.PrevText);
}

// ---------------------------------------------------------------------------
// TcxCustomInnerTextEditHelper

void TcxCustomInnerTextEditHelper::Create(TcxCustomInnerTextEdit* AEdit) {
  inherited::Create(nullptr);
  FEdit = AEdit;
}

bool TcxCustomInnerTextEditHelper::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IcxContainerInnerControl, IcxCustomInnerEdit, IcxInnerTextEdit>(this, AIID, AObj) ||
         inherited::GetInterface(AIID, AObj);
}

TWinControl* TcxCustomInnerTextEditHelper::GetControl() { return FEdit; }

TWinControl* TcxCustomInnerTextEditHelper::GetControlContainer() { return FEdit->Container(); }

LRESULT TcxCustomInnerTextEditHelper::CallDefWndProc(UINT AMsg, WPARAM AWParam, LPARAM ALParam) {
  return CallWindowProcW(FEdit->DefWndProc(), FEdit->Handle(), AMsg, AWParam, ALParam);
}

// The edit's state is read before and after every key: straight from the
// native procedure, not through the control's whole message chain.
Variant TcxCustomInnerTextEditHelper::GetEditValue() {
  if (!FEdit->HandleAllocated()) return Variant(FEdit->Text());
  const auto length = static_cast<std::size_t>(CallDefWndProc(WM_GETTEXTLENGTH, 0, 0));
  String text(length + 1, L'\0');
  const auto got = static_cast<std::size_t>(CallDefWndProc(WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data())));
  text.resize(std::min(got, length));
  return Variant(text);
}

std::pair<int, int> TcxCustomInnerTextEditHelper::NativeSelection() {
  if (!FEdit->HandleAllocated()) return {0, 0};
  DWORD start = 0, end = 0;
  CallDefWndProc(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {static_cast<int>(start), static_cast<int>(end - start)};
}

IcxAccessibilityHelper* TcxCustomInnerTextEditHelper::GetIAccessibilityHelper() {
  if (!FEdit->FIAccessibilityHelper) {
    auto* node = NewOfClass<TcxAccessibilityHelper>(FEdit->GetAccessibilityHelperClass(), static_cast<TObject*>(FEdit));
    FEdit->FIAccessibilityHelper = TComPtr<IcxAccessibilityHelper>(static_cast<IcxAccessibilityHelper*>(node));
  }
  return FEdit->FIAccessibilityHelper.Get();
}

TNotifyEvent TcxCustomInnerTextEditHelper::GetOnChange() { return FEdit->OnChange(); }
void TcxCustomInnerTextEditHelper::SetOnChange(TNotifyEvent AValue) { FEdit->SetOnChange(AValue); }
bool TcxCustomInnerTextEditHelper::GetReadOnly() { return FEdit->ReadOnly(); }
void TcxCustomInnerTextEditHelper::SetReadOnly(bool AValue) { FEdit->SetReadOnly(AValue); }

void TcxCustomInnerTextEditHelper::LockBounds(bool ALock) {
  if (ALock) ++FEdit->FLockBoundsCount;
  else if (FEdit->FLockBoundsCount > 0) --FEdit->FLockBoundsCount;
}

void TcxCustomInnerTextEditHelper::SafelySetFocus() {
  const bool autoSelect = FEdit->AutoSelect();
  FEdit->SetAutoSelect(false);
  TryFinally([this] { FEdit->SetFocus(); }, [this, autoSelect] { FEdit->SetAutoSelect(autoSelect); });
}

void TcxCustomInnerTextEditHelper::SetEditValue(const Variant& AValue) { FEdit->SetEditValue(AValue); }
void TcxCustomInnerTextEditHelper::SetParent(TWinControl* AValue) { FEdit->SetParent(AValue); }
void TcxCustomInnerTextEditHelper::ClearSelection() { FEdit->ClearSelection(); }
void TcxCustomInnerTextEditHelper::CopyToClipboard() { FEdit->CopyToClipboard(); }
TAlignment TcxCustomInnerTextEditHelper::GetAlignment() { return FEdit->FAlignment; }
void TcxCustomInnerTextEditHelper::SetAlignment(TAlignment AValue) { FEdit->SetAlignmentValue(AValue); }
bool TcxCustomInnerTextEditHelper::GetAutoSelect() { return FEdit->AutoSelect(); }
void TcxCustomInnerTextEditHelper::SetAutoSelect(bool AValue) { FEdit->SetAutoSelect(AValue); }
TEditCharCase TcxCustomInnerTextEditHelper::GetCharCase() { return FEdit->CharCase(); }
void TcxCustomInnerTextEditHelper::SetCharCase(TEditCharCase AValue) { FEdit->SetCharCase(AValue); }
TcxEditEchoMode TcxCustomInnerTextEditHelper::GetEchoMode() { return FEdit->FEchoMode; }
void TcxCustomInnerTextEditHelper::SetEchoMode(TcxEditEchoMode AValue) { FEdit->SetEchoMode(AValue); }

int TcxCustomInnerTextEditHelper::GetFirstVisibleCharIndex() {
  if (!FEdit->HandleAllocated()) return 0;
  return LOWORD(SendMessageW(FEdit->Handle(), EM_CHARFROMPOS, 0, MAKELPARAM(0, 0)));
}

bool TcxCustomInnerTextEditHelper::GetHideSelection() { return FEdit->HideSelection(); }
void TcxCustomInnerTextEditHelper::SetHideSelection(bool AValue) { FEdit->SetHideSelection(AValue); }
wchar_t TcxCustomInnerTextEditHelper::GetImeLastChar() { return FEdit->FImeCharCount >= 2 ? FEdit->FImeLastChar : 0; }
TImeMode TcxCustomInnerTextEditHelper::GetImeMode() { return FEdit->ImeMode(); }
void TcxCustomInnerTextEditHelper::SetImeMode(TImeMode AValue) { FEdit->SetImeMode(AValue); }
String TcxCustomInnerTextEditHelper::GetImeName() { return FEdit->ImeName(); }
void TcxCustomInnerTextEditHelper::SetImeName(const String& AValue) { FEdit->SetImeName(AValue); }
bool TcxCustomInnerTextEditHelper::GetInternalUpdating() { return FEdit->FInternalUpdating; }
void TcxCustomInnerTextEditHelper::SetInternalUpdating(bool AValue) { FEdit->FInternalUpdating = AValue; }
bool TcxCustomInnerTextEditHelper::GetIsInplace() { return FEdit->Container() && FEdit->Container()->IsInplace(); }
int TcxCustomInnerTextEditHelper::GetMaxLength() { return FEdit->MaxLength(); }
void TcxCustomInnerTextEditHelper::SetMaxLength(int AValue) { FEdit->SetMaxLength(AValue); }
bool TcxCustomInnerTextEditHelper::GetOEMConvert() { return FEdit->OEMConvert(); }
void TcxCustomInnerTextEditHelper::SetOEMConvert(bool AValue) { FEdit->SetOEMConvert(AValue); }
TNotifyEvent TcxCustomInnerTextEditHelper::GetOnSelChange() { return FEdit->FOnSelChange; }
void TcxCustomInnerTextEditHelper::SetOnSelChange(TNotifyEvent AValue) { FEdit->FOnSelChange = AValue; }
wchar_t TcxCustomInnerTextEditHelper::GetPasswordChar() { return FEdit->FPasswordChar; }

void TcxCustomInnerTextEditHelper::SetPasswordChar(wchar_t AValue) {
  if (FEdit->FPasswordChar == AValue) return;
  FEdit->FPasswordChar = AValue;
  if (FEdit->FEchoMode == eemPassword) RequestRecreateWindow(FEdit, false);
}

int TcxCustomInnerTextEditHelper::GetSelLength() {
  return FEdit->FImeCharCount > 0 ? FSelLength : NativeSelection().second;
}

int TcxCustomInnerTextEditHelper::GetSelStart() {
  return FEdit->FImeCharCount > 0 ? FSelStart : NativeSelection().first;
}

void TcxCustomInnerTextEditHelper::SetSelLength(int AValue) {
  if (!FEdit->HandleAllocated()) return;
  if (FEdit->FImeCharCount > 0) FSelLength = AValue;
  else FEdit->SetSelLength(AValue);
}

void TcxCustomInnerTextEditHelper::SetSelStart(int AValue) {
  if (!FEdit->HandleAllocated()) return;
  if (FEdit->FImeCharCount > 0) FSelStart = AValue;
  else FEdit->SetSelStart(AValue);
}

String TcxCustomInnerTextEditHelper::GetSelText() { return FEdit->SelText(); }
void TcxCustomInnerTextEditHelper::SetSelText(const String& AValue) { FEdit->SetSelText(AValue); }

void TcxCustomInnerTextEditHelper::SelectAll() {
  if (FEdit->HandleAllocated()) FEdit->SelectAll();
}

bool TcxCustomInnerTextEditHelper::GetUseLeftAlignmentOnEditing() { return FEdit->FUseLeftAlignmentOnEditing; }

void TcxCustomInnerTextEditHelper::SetUseLeftAlignmentOnEditing(bool AValue) {
  FEdit->SetUseLeftAlignmentOnEditing(AValue);
}

String TcxCustomInnerTextEditHelper::GetTextHint() { return FEdit->TextHint(); }
void TcxCustomInnerTextEditHelper::SetTextHint(const String& AValue) { FEdit->SetTextHint(AValue); }

// ---------------------------------------------------------------------------
// TcxCustomInnerTextEdit: construction and the window

void TcxCustomInnerTextEdit::Publish(TPublisher<TcxCustomInnerTextEdit>& P) {
  using T = TcxCustomInnerTextEdit;
  P.Property(L"EchoMode", &T::EchoMode, &T::SetEchoMode).Default(eemNormal);
  P.Property(L"OnSelChange", &T::OnSelChange, &T::SetOnSelChange);
  P.Message<&T::WMKeyDown>(WM_KEYDOWN);
  P.Message<&T::WMChar>(WM_CHAR);
  P.Message<&T::WMImeChar>(WM_IME_CHAR);
  P.Message<&T::WMImeComposition>(WM_IME_COMPOSITION);
  P.Message<&T::WMPaint>(WM_PAINT);
  P.Message<&T::WMPrintClient>(WM_PRINTCLIENT);
  P.Message<&T::WMSetFocus>(WM_SETFOCUS);
  P.Message<&T::WMKillFocus>(WM_KILLFOCUS);
  P.Message<&T::WMGetDlgCode>(WM_GETDLGCODE);
  P.Message<&T::WMGetObject>(WM_GETOBJECT);
  P.Message<&T::WMEraseBkgnd>(WM_ERASEBKGND);
  P.Message<&T::WMNCPaint>(WM_NCPAINT);
  P.Message<&T::WMClear>(WM_CLEAR);
  P.Message<&T::WMUndo>(WM_UNDO);
  P.Message<&T::WMSize>(WM_SIZE);
  P.Message<&T::WMSetFont>(WM_SETFONT);
  P.Message<&T::WMSetCursor>(WM_SETCURSOR);
  P.Message<&T::EMReplaceSel>(EM_REPLACESEL);
  P.Message<&T::EMSetSel>(EM_SETSEL);
  P.Message<&T::CMFontChanged>(CM_FONTCHANGED);
}

void TcxCustomInnerTextEdit::Create(TComponent* AOwner) {
  FIsCreating = true;
  inherited::Create(AOwner);
  FHelper.reset(CreateHelper());
  // The owner places the window; its height never follows the font.
  SetAutoSize(false);
  ControlStyle().Include(csDoubleClicks);
  SetParentColor(true);
  SetParentFont(false);
  FInternalUpdating = false;
  FAlignment = taLeftJustify;
  FEchoMode = eemNormal;
  FUseLeftAlignmentOnEditing = true;
  FIsCreating = false;
}

// The window goes before the helper: destroying it still sends messages
// that the handlers answer through the helper.
void TcxCustomInnerTextEdit::Destroy() {
  NotifyAccessibilityHelperRemoved(FIAccessibilityHelper);
  if (HandleAllocated()) DestroyHandle();
  FHelper.reset();
  inherited::Destroy();
}

bool TcxCustomInnerTextEdit::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IcxInnerEditHelper, IcxContainerInnerControl>(this, AIID, AObj) ||
         inherited::GetInterface(AIID, AObj);
}

TcxCustomInnerTextEditHelper* TcxCustomInnerTextEdit::CreateHelper() {
  return New<TcxCustomInnerTextEditHelper>(this);
}

TClass TcxCustomInnerTextEdit::GetAccessibilityHelperClass() {
  return TdxCustomInnerTextEditAccessibilityHelper::ClassInfo();
}

TcxCustomTextEdit* TcxCustomInnerTextEdit::Container() const { return dynamic_cast<TcxCustomTextEdit*>(Owner()); }

TWinControl* TcxCustomInnerTextEdit::GetControlContainer() { return Container(); }

IcxCustomInnerEdit* TcxCustomInnerTextEdit::GetHelper() { return FHelper.get(); }

void TcxCustomInnerTextEdit::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (FIsCreating || FLockBoundsCount != 0) return;
  TcxCustomTextEdit* owner = Container();
  if (!owner) {
    inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
    return;
  }
  owner->LockAlignControls(true);
  TryFinally([&] { inherited::SetBounds(ALeft, ATop, AWidth, AHeight); }, [owner] { owner->LockAlignControls(false); });
}

bool TcxCustomInnerTextEdit::CanFocus() {
  TcxCustomTextEdit* owner = Container();
  return owner ? owner->CanFocus() : inherited::CanFocus();
}

TAlignment TcxCustomInnerTextEdit::EditingAlignment() {
  TcxCustomTextEdit* owner = Container();
  if ((FUseLeftAlignmentOnEditing && !ComponentState().Contains(csDesigning)) || !owner) return taLeftJustify;
  return owner->ActiveProperties()->Alignment()->Horz();
}

void TcxCustomInnerTextEdit::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  const TAlignment alignment = UseRightToLeftAlignment() ? Mirrored(EditingAlignment()) : EditingAlignment();
  Params.Style &= ~static_cast<DWORD>(ES_CENTER | ES_RIGHT | WS_BORDER | WS_DLGFRAME | WS_THICKFRAME | ES_PASSWORD);
  Params.Style |= AlignmentEditStyle(alignment) | ES_AUTOHSCROLL;
  TcxCustomTextEdit* owner = Container();
  if (owner && owner->ActiveProperties()->EchoMode() == eemPassword) Params.Style |= ES_PASSWORD;
  Params.ExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
}

// The text goes in past every handler, so the owner sees no change while the
// window is made.
void TcxCustomInnerTextEdit::CreateWindowHandle(const TCreateParams& Params) {
  // Taken before the window exists: from then on Text reads the window.
  const String text = Text();
  TCreateParams params = Params;
  params.Caption.clear();
  inherited::CreateWindowHandle(params);
  if (!HandleAllocated()) return;
  CallWindowProcW(DefWndProc(), Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TcxCustomInnerTextEdit::CreateHandle() {
  TcxCustomTextEdit* owner = Container();
  if (owner && UseRightToLeftAlignment() && Width() == 0) inherited::SetBounds(Left(), Top(), owner->Width(), Height());
  if (owner) owner->ClearSavedChildControlRegions();
  inherited::CreateHandle();
  if (!owner || owner->ActiveProperties()->EchoMode() != eemPassword) return;
  TcxCustomTextEditProperties* properties = owner->ActiveProperties();
  wchar_t passwordChar = properties->PasswordChar();
  if (passwordChar == 0 &&
      (!SystemProbe().AreThemesActive() || !owner->UsesNativeStyle() ||
       (properties->Alignment()->Horz() != taLeftJustify && FUseLeftAlignmentOnEditing)))
    passwordChar = L'*';
  if (passwordChar != 0) SendMessageW(Handle(), EM_SETPASSWORDCHAR, passwordChar, 0);
}

void TcxCustomInnerTextEdit::CreateWnd() {
  inherited::CreateWnd();
  UpdateMargins();
}

void TcxCustomInnerTextEdit::DestroyWindowHandle() {
  FRepaintOnGlass = false;
  inherited::DestroyWindowHandle();
}

void TcxCustomInnerTextEdit::UpdateMargins() {
  if (HandleAllocated()) SendMessageW(Handle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 1));
}

void TcxCustomInnerTextEdit::RecreateIfAllocated() {
  if (HandleAllocated()) RecreateWnd();
}

void TcxCustomInnerTextEdit::SetEchoMode(TcxEditEchoMode AValue) {
  if (FEchoMode == AValue) return;
  FEchoMode = AValue;
  RecreateIfAllocated();
}

void TcxCustomInnerTextEdit::SetAlignmentValue(TAlignment AValue) {
  if (FAlignment == AValue) return;
  FAlignment = AValue;
  if (!FUseLeftAlignmentOnEditing) RecreateIfAllocated();
}

void TcxCustomInnerTextEdit::SetUseLeftAlignmentOnEditing(bool AValue) {
  if (FUseLeftAlignmentOnEditing == AValue) return;
  FUseLeftAlignmentOnEditing = AValue;
  if (FAlignment != taLeftJustify) RecreateIfAllocated();
}

// ---------------------------------------------------------------------------
// The edit value

void TcxCustomInnerTextEdit::SetEditValue(const Variant& AValue) {
  const bool designing = ComponentState().Contains(csDesigning);
  String text = VarToStr(AValue);
  const bool textChanges = designing && Text() != text;
  TcxCustomTextEdit* owner = Container();
  // While a value is validated, a completed lookup item keeps its selected
  // tail when only the letter case changes.
  const bool keepSelection = !designing && HandleAllocated() && owner && owner->IsEditValidating() &&
                             owner->UsesLookupData() && owner->FFindSelection &&
                             AnsiUpperCase(text) == AnsiUpperCase(Text()) && text != Text();
  const int selStart = keepSelection ? SelStart() : 0;
  const int selLength = keepSelection ? SelLength() : 0;
  if (CharCase() == ecUpperCase) text = AnsiUpperCase(text);
  else if (CharCase() == ecLowerCase) text = AnsiLowerCase(text);
  SetText(text);
  if (keepSelection) {
    SetSelStart(selStart);
    SetSelLength(selLength);
  }
  if (textChanges) Change();
}

// ---------------------------------------------------------------------------
// Keys

void TcxCustomInnerTextEdit::KeyDown(WORD& Key, TShiftState Shift) {
  FInternalUpdating = false;
  if (TcxCustomTextEdit* owner = Container()) {
    const TControlTracker alive(this);
    TryFinally([&] { owner->KeyDown(Key, Shift); },
               [&] {
                 if (Key == 0 && alive.Alive()) FInternalUpdating = true;
               });
    if (!alive.Alive()) return;
  }
  if (Key != 0) inherited::KeyDown(Key, Shift);
}

void TcxCustomInnerTextEdit::KeyPress(wchar_t& Key) {
  FInternalUpdating = false;
  if (Key == L'\t') Key = 0;
  const TControlTracker alive(this);
  if (TcxCustomTextEdit* owner = Container()) {
    if (Key != 0) owner->KeyPress(Key);
    if (!alive.Alive()) return;
    if ((Key == L'\r' || Key == 27) && (owner->IsInplace() || owner->FIsPopupWindowJustClosed)) {
      Key = 0;
      owner->FIsPopupWindowJustClosed = false;
    } else if ((Key == L'\r' || Key == L'\n') && !owner->FBeepOnEnter) {
      Key = 0;
      owner->FIsPopupWindowJustClosed = false;
    }
  }
  if (Key == 0) FInternalUpdating = true;
  else inherited::KeyPress(Key);
}

void TcxCustomInnerTextEdit::KeyUp(WORD& Key, TShiftState Shift) {
  if (Key == VK_TAB) Key = 0;
  FInternalUpdating = false;
  TcxCustomTextEdit* owner = Container();
  if (owner && Key != 0) {
    const TControlTracker alive(this);
    TryFinally([&] { owner->KeyUp(Key, Shift); },
               [&] {
                 if (Key == 0 && alive.Alive()) FInternalUpdating = true;
               });
    if (!alive.Alive()) return;
  }
  if (Key != 0) inherited::KeyUp(Key, Shift);
}

void TcxCustomInnerTextEdit::WMKeyDown(TMessage& Message) {
  TcxCustomInnerTextEditPrevState state;
  SaveInnerTextEditState(FHelper.get(), true, state);
  FInternalUpdating = false;
  const TControlTracker alive(this);
  inherited::WMKeyDown(Message);
  if (!alive.Alive()) return;
  WORD key = TWMKey(Message).CharCode();
  TcxCustomTextEdit* owner = Container();
  if (owner && key != 0 && !FInternalUpdating && !IsInnerTextEditStateChanged(FHelper.get(), state)) {
    owner->DoAfterKeyDown(key, KeyDataToShiftState(Message.LParam));
    TWMKey(Message).SetCharCode(key);
  }
}

void TcxCustomInnerTextEdit::WMChar(TMessage& Message) {
  TcxCustomTextEdit* owner = Container();
  // Selecting everything is no edit: the modified flags come back as they were.
  const bool selectAll = owner && TWMChar(Message).CharCode() == 1;
  if (selectAll) owner->PushModifiedState();
  const TControlTracker ownerAlive(owner);
  const TControlTracker alive(this);
  TryFinally(
      [&] {
        TcxCustomInnerTextEditPrevState state;
        SaveInnerTextEditState(FHelper.get(), true, state);
        FInternalUpdating = false;
        inherited::WMChar(Message);
        if (!alive.Alive() || !owner || !ownerAlive.Alive()) return;
        if (FImeCharCount > 0 && --FImeCharCount == 0 && owner->FFindSelection) {
          SetSelStart(FHelper->FSelStart);
          SetSelLength(FHelper->FSelLength);
        }
        owner->FLookupDataTextChangedLocked = false;
        if (!FInternalUpdating && IsInnerTextEditStateChanged(FHelper.get(), state)) owner->FFindSelection = false;
      },
      [&] {
        if (selectAll && ownerAlive.Alive()) owner->PopModifiedState();
      });
}

// ---------------------------------------------------------------------------
// Input method

void TcxCustomInnerTextEdit::WMImeChar(TMessage& Message) {
  if (HandleAllocated() && !IsWindowUnicode(Handle())) {
    if (FImeCharCount == 0) {
      FHelper->FSelStart = SelStart();
      FHelper->FSelLength = SelLength();
    }
    if (HIBYTE(LOWORD(Message.WParam)) != 0) {
      FImeCharCount += 2;
      FImeLastChar = static_cast<wchar_t>(LOBYTE(LOWORD(Message.WParam)));
    } else {
      ++FImeCharCount;
    }
  }
  DefaultHandler(Message);
}

void TcxCustomInnerTextEdit::WMImeComposition(TMessage& Message) {
  TcxCustomTextEdit* owner = Container();
  if (owner && !owner->DoEditing()) return;
  DefaultHandler(Message);
}

// ---------------------------------------------------------------------------
// Mouse and drag

void TcxCustomInnerTextEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TControlTracker alive(this);
  inherited::MouseDown(Button, Shift, X, Y);
  TcxCustomTextEdit* owner = Container();
  if (!alive.Alive() || !owner) return;
  owner->FInnerControlMouseDown = true;
  TScopeExit reset([owner] { owner->FInnerControlMouseDown = false; });
  const TPoint p = ToContainer(X, Y);
  owner->MouseDown(Button, Shift, p.X, p.Y);
}

void TcxCustomInnerTextEdit::MouseMove(TShiftState Shift, int X, int Y) {
  const TControlTracker alive(this);
  inherited::MouseMove(Shift, X, Y);
  TcxCustomTextEdit* owner = Container();
  if (!alive.Alive() || !owner) return;
  const TPoint p = ToContainer(X, Y);
  owner->MouseMove(Shift, p.X, p.Y);
}

void TcxCustomInnerTextEdit::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const TControlTracker alive(this);
  inherited::MouseUp(Button, Shift, X, Y);
  TcxCustomTextEdit* owner = Container();
  if (!alive.Alive() || !owner) return;
  const TPoint p = ToContainer(X, Y);
  owner->MouseUp(Button, Shift, p.X, p.Y);
}

void TcxCustomInnerTextEdit::Click() {
  const TControlTracker alive(this);
  inherited::Click();
  if (TcxCustomTextEdit* owner = Container(); owner && alive.Alive()) owner->Click();
}

void TcxCustomInnerTextEdit::DblClick() {
  const TControlTracker alive(this);
  inherited::DblClick();
  if (TcxCustomTextEdit* owner = Container(); owner && alive.Alive()) owner->DblClick();
}

void TcxCustomInnerTextEdit::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
  TcxCustomTextEdit* owner = Container();
  if (!owner) {
    inherited::DragOver(Source, X, Y, State, Accept);
    return;
  }
  const TPoint p = ToContainer(X, Y);
  owner->DragOver(Source, p.X, p.Y, State, Accept);
}

void TcxCustomInnerTextEdit::DragDrop(TObject* Source, int X, int Y) {
  TcxCustomTextEdit* owner = Container();
  if (!owner) {
    inherited::DragDrop(Source, X, Y);
    return;
  }
  const TPoint p = ToContainer(X, Y);
  owner->DragDrop(Source, p.X, p.Y);
}

void TcxCustomInnerTextEdit::MouseLeave(TControl*) {
  if (TcxCustomTextEdit* owner = Container()) owner->ShortRefreshContainer(true);
}

// ---------------------------------------------------------------------------
// Painting at rest

bool TcxCustomInnerTextEdit::PaintsAtRest() {
  TcxCustomTextEdit* owner = Container();
  return owner && FUseLeftAlignmentOnEditing && owner->ActiveProperties()->Alignment()->Horz() != taLeftJustify &&
         !Focused();
}

wchar_t TcxCustomInnerTextEdit::PasswordDisplayChar() {
  TcxCustomTextEdit* owner = Container();
  if (!owner) return L'*';
  if (const wchar_t own = owner->ActiveProperties()->PasswordChar()) return own;
  const TcxInnerTextEditSystemProbe& probe = SystemProbe();
  return owner->Style()->LookAndFeel()->NativeStyle() && probe.IsWin7OrLater() && probe.AreThemesActive() ? L'\x25CF'
                                                                                                           : L'*';
}

void TcxCustomInnerTextEdit::PaintAtRest(HDC DC) {
  TcxCustomTextEdit* owner = Container();
  const bool password = owner->ActiveProperties()->EchoMode() == eemPassword;
  const DWORD margins = static_cast<DWORD>(SendMessageW(Handle(), EM_GETMARGINS, 0, 0));
  const int leftMargin = LOWORD(margins);
  const int rightMargin = HIWORD(margins);
  const String text = password ? String(Text().size(), PasswordDisplayChar()) : Text();
  const TAlignment alignment = UseRightToLeftAlignment() ? Mirrored(owner->ActiveProperties()->Alignment()->Horz())
                                                         : owner->ActiveProperties()->Alignment()->Horz();
  TOwned<TFont> font(New<TFont>());
  font->Assign(Font());
  if (password && owner->Style()->LookAndFeel()->NativeStyle() && SystemProbe().AreThemesActive())
    font->SetName(L"Segoe UI");
  const TSelectObject selectFont(DC, font->Handle());
  const UINT rtl = UseRightToLeftReading() ? DT_RTLREADING : 0;
  RECT measured{};
  DrawTextW(DC, text.c_str(), static_cast<int>(text.size()), &measured, DT_CALCRECT | DT_NOPREFIX | rtl);
  const int textWidth = measured.right - measured.left;
  const TRect client = ClientRect();
  int x = leftMargin;
  if (alignment == taRightJustify) x = client.Width() + leftMargin - rightMargin - textWidth;
  else if (alignment == taCenter) x = leftMargin + (client.Width() - leftMargin - rightMargin - textWidth) / 2;
  const RECT clientRect = client;
  FillRect(DC, &clientRect, Brush()->Handle());
  TRect textRect = client;
  textRect.Left = client.Left + x;
  DrawTextWithColor(DC, text, textRect, DT_NOPREFIX | rtl, -1, font->Color(), TRANSPARENT);
}

void TcxCustomInnerTextEdit::WMPaint(TMessage& Message) {
  if (!PaintsAtRest()) {
    inherited::WMPaint(Message);
    return;
  }
  if (const HDC given = TWMPaint(Message).DC()) {
    PaintAtRest(given);
  } else {
    const TPaintScope paint(Handle());
    PaintAtRest(paint.DC());
  }
  Message.Result = 0;
}

void TcxCustomInnerTextEdit::WMPrintClient(TMessage& Message) {
  if (!PaintsAtRest()) {
    inherited::WMPrintClient(Message);
    return;
  }
  PaintAtRest(reinterpret_cast<HDC>(Message.WParam));
  Message.Result = 0;
}

// ---------------------------------------------------------------------------
// The window procedure and the message handlers

void TcxCustomInnerTextEdit::WndProc(TMessage& Message) {
  TcxCustomTextEdit* owner = Container();
  if (owner && owner->InnerControlMenuHandler(Message)) return;
  const bool onGlass = owner && owner->OnGlass() && IsCompositionEnabled();
  switch (Message.Msg) {
    case WM_PAINT:
      if (onGlass) {
        PaintWindowInBeginPaint(Handle(), this, false);
        Message.Result = 0;
        return;
      }
      break;
    case WM_CONTEXTMENU:
    case WM_COPY:
      // A revealed password can neither be copied nor offered in a menu.
      if (IsPasswordRevealButtonPressed && FEchoMode == eemNormal) return;
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (owner && owner->DragMode() == dmAutomatic && !owner->IsDesigning()) {
        owner->BeginAutoDrag();
        return;
      }
      break;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
      if (onGlass) {
        const bool glass = ControlState().Contains(csGlassPaint);
        ControlState().Exclude(csGlassPaint);
        {
          TScopeExit restore([this, glass] {
            if (glass) ControlState().Include(csGlassPaint);
          });
          inherited::WndProc(Message);
        }
        // What the edit painted itself hides the glass: it is painted once
        // more through its own device context, after the current paint.
        if (!FRepaintOnGlass && HandleAllocated()) {
          FRepaintOnGlass = true;
          SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
          PostMessageW(Handle(), DXM_INNEREDITREPAINTONGLASS, 0, 0);
        }
        return;
      }
      break;
    case DXM_INNEREDITREPAINTONGLASS:
      if (FRepaintOnGlass && HandleAllocated()) {
        SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
        PaintWindowThroughDC(Handle(), this, false);
        FRepaintOnGlass = false;
      }
      return;
    default:
      break;
  }
  const UINT msg = Message.Msg;
  const LPARAM lParam = Message.LParam;
  const TControlTracker alive(this);
  inherited::WndProc(Message);
  if (!alive.Alive()) return;
  if (msg == CM_MOUSEENTER || msg == CM_MOUSELEAVE) {
    auto* control = reinterpret_cast<TControl*>(lParam);
    if (!control) control = this;
    if (msg == CM_MOUSEENTER) MouseEnter(control);
    else MouseLeave(control);
  }
}

void TcxCustomInnerTextEdit::DefaultHandler(TMessage& Message) {
  TcxCustomTextEdit* owner = Container();
  if (!owner || !owner->InnerControlDefaultHandler(Message)) inherited::DefaultHandler(Message);
  if (owner && !owner->IsDestroying()) owner->ProcessInnerEditMessage(Message);
}

void TcxCustomInnerTextEdit::WMSetFocus(TMessage& Message) {
  const auto from = reinterpret_cast<HWND>(Message.WParam);
  const TControlTracker alive(this);
  inherited::WMSetFocus(Message);
  TcxCustomTextEdit* owner = Container();
  if (!alive.Alive() || !owner || ComponentState().Contains(csDestroying) || owner->IsDestroying()) return;
  if (owner->HandleAllocated() && from == owner->Handle()) return;
  owner->FocusChanged();
}

void TcxCustomInnerTextEdit::WMKillFocus(TMessage& Message) {
  const TControlTracker alive(this);
  inherited::WMKillFocus(Message);
  TcxCustomTextEdit* owner = Container();
  if (!alive.Alive() || !owner || ComponentState().Contains(csDestroying) || owner->IsDestroying()) return;
  owner->FocusChanged();
}

void TcxCustomInnerTextEdit::WMGetDlgCode(TMessage& Message) {
  DefaultHandler(Message);
  Message.Result |= DLGC_WANTCHARS;
  TcxCustomTextEdit* owner = Container();
  if (!owner) return;
  if (owner->WantsTabKey() && GetKeyState(VK_CONTROL) >= 0) Message.Result |= DLGC_WANTTAB;
  if (owner->IsInplace() || owner->HasPopupWindow() || (owner->ModifiedAfterEnter() && GetKeyState(VK_ESCAPE) < 0))
    Message.Result |= DLGC_WANTALLKEYS;
}

void TcxCustomInnerTextEdit::WMGetObject(TMessage& Message) {
  const auto objectId = static_cast<LONG>(Message.LParam);
  if (IsAccessibilitySupported() && (objectId == OBJID_CLIENT || objectId == 0)) {
    Message.Result = ReturnAccessibleObject(Message.WParam, FHelper->GetIAccessibilityHelper()->GetHelper());
    return;
  }
  DefaultHandler(Message);
}

void TcxCustomInnerTextEdit::WMClear(TMessage& Message) {
  if (ReadOnly()) return;
  TcxCustomTextEdit* owner = Container();
  if (!owner) {
    DefaultHandler(Message);
    return;
  }
  owner->BeginUserAction();
  TryFinally([owner] { owner->ClearSelection(); }, [owner] { owner->EndUserAction(); });
}

void TcxCustomInnerTextEdit::WMUndo(TMessage& Message) {
  DefaultHandler(Message);
  if (TcxCustomTextEdit* owner = Container()) owner->UndoPerformed();
}

void TcxCustomInnerTextEdit::WMSize(TMessage& Message) {
  const TControlTracker alive(this);
  inherited::WMSize(Message);
  if (alive.Alive()) UpdateMargins();
}

void TcxCustomInnerTextEdit::WMSetFont(TMessage& Message) {
  DefaultHandler(Message);
  UpdateMargins();
}

void TcxCustomInnerTextEdit::WMSetCursor(TMessage& Message) {
  TcxCustomTextEdit* owner = Container();
  if (owner && owner->HandleAllocated()) {
    POINT p{};
    GetCursorPos(&p);
    ::ScreenToClient(owner->Handle(), &p);
    const TCursor cursor = owner->CursorAt(p.x, p.y);
    if (cursor != crDefault) {
      if (TScreen* screen = Screen()) ::SetCursor(screen->Cursors(cursor));
      Message.Result = 1;
      return;
    }
  }
  inherited::WMSetCursor(Message);
}

void TcxCustomInnerTextEdit::EMReplaceSel(TMessage& Message) {
  TcxCustomTextEdit* owner = Container();
  if (!owner || owner->DoEditing()) DefaultHandler(Message);
}

void TcxCustomInnerTextEdit::EMSetSel(TMessage& Message) {
  DefaultHandler(Message);
  CallEvent(FOnSelChange, static_cast<TObject*>(this));
}

void TcxCustomInnerTextEdit::CMFontChanged(TMessage&) {
  if (!HandleAllocated()) return;
  Invalidate();
  SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
}

// ---------------------------------------------------------------------------
// TdxCustomInnerTextEditAccessibilityHelper

HWND TdxCustomInnerTextEditAccessibilityHelper::OwnerObjectWindow() {
  return Edit()->HandleAllocated() ? Edit()->Handle() : nullptr;
}

TcxAccessibilityHelper* TdxCustomInnerTextEditAccessibilityHelper::Parent() {
  TcxCustomTextEdit* owner = IsOwnerObjectLive() ? Edit()->Container() : nullptr;
  return owner ? owner->GetAccessibilityHelper()->GetHelper() : inherited::Parent();
}

int TdxCustomInnerTextEditAccessibilityHelper::GetState(int AChildID) {
  if (!IsOwnerObjectLive()) return STATE_SYSTEM_UNAVAILABLE;
  TcxCustomTextEdit* owner = Edit()->Container();
  TcxAccessibilityHelper* ownerNode = owner ? owner->GetAccessibilityHelper()->GetHelper() : nullptr;
  int state = ownerNode && ownerNode->Visible() && Edit()->Visible() ? 0 : STATE_SYSTEM_INVISIBLE;
  if (GetRole(AChildID) != ROLE_SYSTEM_STATICTEXT) {
    state |= STATE_SYSTEM_FOCUSABLE;
    if (Edit()->Focused()) state |= STATE_SYSTEM_FOCUSED;
  }
  return state;
}

String TdxCustomInnerTextEditAccessibilityHelper::GetValue(int) {
  return IsOwnerObjectLive() ? Edit()->Text() : String();
}

void TdxCustomInnerTextEditAccessibilityHelper::SetValue(int, const String& AValue) {
  if (IsOwnerObjectLive()) Edit()->SetText(AValue);
}

TRect TdxCustomInnerTextEditAccessibilityHelper::GetScreenBounds(int AChildID) {
  if (!IsOwnerObjectLive() || (GetState(AChildID) & STATE_SYSTEM_INVISIBLE)) return TRect();
  TcxCustomInnerTextEdit* edit = Edit();
  TcxCustomTextEdit* owner = edit->Container();
  if (!owner || !owner->HandleAllocated()) return TRect();
  const TPoint origin = owner->ClientToScreen(TPoint(edit->Left(), edit->Top()));
  return TRect(origin.X, origin.Y, origin.X + edit->Width(), origin.Y + edit->Height());
}
