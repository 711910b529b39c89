// The standard controls: group box, label, edit and the buttons. List and
// combo boxes are in StdCtrls_Lists.cpp.
#include "platform/ui/StdCtrls.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>

namespace {

// The height of the font's characters and its average width, measured on
// the screen (for sizes computed without a window or a paint).
TEXTMETRICW FontMetrics(TFont* AFont) {
  TEXTMETRICW tm{};
  const TScreenDC dc;
  const TSelectObject font(dc.Get(), AFont->Handle());
  GetTextMetricsW(dc.Get(), &tm);
  return tm;
}

DWORD AlignmentStyle(TAlignment AAlignment) {
  switch (AAlignment) {
    case taRightJustify: return ES_RIGHT;
    case taCenter: return ES_CENTER;
    default: return ES_LEFT;
  }
}

}  // namespace

TOwnerDrawState OwnerDrawStateOf(UINT AItemState) {
  // The ODS_ bits are the set's members in order (ODS_SELECTED = bit 0 ...).
  return TOwnerDrawState::FromBits(AItemState & 0x1FFF);
}

// ---------------------------------------------------------------------------
// TCustomGroupBox

void TCustomGroupBox::Publish(TPublisher<TCustomGroupBox>& P) {
  P.Message<&TCustomGroupBox::CMDialogChar>(CM_DIALOGCHAR);
  P.Message<&TCustomGroupBox::CMTextChanged>(CM_TEXTCHANGED);
  P.Message<&TCustomGroupBox::CMFontChanged>(CM_FONTCHANGED);
  P.Message<&TCustomGroupBox::CMEnabledChanged>(CM_ENABLEDCHANGED);
}

void TCustomGroupBox::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks,
                   csReplicatable, csParentBackground};
  SetBounds(0, 0, 185, 105);
}

TRect TCustomGroupBox::FrameRect() {
  // The frame's top line runs through the middle of the caption.
  const int h = FontMetrics(Font()).tmHeight;
  return TRect(0, h / 2 - 1, Width(), Height());
}

void TCustomGroupBox::AdjustClientRect(TRect& ARect) {
  inherited::AdjustClientRect(ARect);
  ARect.Top += FontMetrics(Font()).tmHeight;
  ARect.Inflate(-2, -2);
}

void TCustomGroupBox::Paint() {
  TCanvas* canvas = Canvas();
  const TRect client(0, 0, Width(), Height());
  canvas->Brush()->SetColor(Color());
  canvas->Brush()->SetStyle(bsSolid);
  canvas->FillRect(client);
  RECT frame = FrameRect();
  DrawEdge(canvas->Handle(), &frame, EDGE_ETCHED, BF_RECT);
  const String text = Caption();
  if (text.empty()) return;
  // The caption interrupts the top line, on the group's own colour.
  TRect r(8, 0, 8, 0);
  String measured = text;
  canvas->TextRect(r, measured, TTextFormat{tfCalcRect, tfSingleLine, tfLeft});
  if (!Enabled()) canvas->Font()->SetColor(clGrayText);
  String shown = text;
  canvas->TextRect(r, shown, TTextFormat{tfSingleLine, tfLeft});
}

void TCustomGroupBox::CMDialogChar(TMessage& Message) {
  // The caption's accelerator goes to the first control inside.
  if (IsAccel(TWMChar(Message).CharCode(), Caption()) && CanFocus()) {
    SelectFirst();
    Message.Result = 1;
    return;
  }
  InheritedMessage<TCustomGroupBox>(Message);
}

void TCustomGroupBox::CMTextChanged(TMessage&) {
  Invalidate();
  Realign();
}

void TCustomGroupBox::CMFontChanged(TMessage& Message) {
  InheritedMessage<TCustomGroupBox>(Message);
  Realign();
}

void TCustomGroupBox::CMEnabledChanged(TMessage& Message) {
  InheritedMessage<TCustomGroupBox>(Message);
  Invalidate();
}

// ---------------------------------------------------------------------------
// TCustomLabel

void TCustomLabel::Publish(TPublisher<TCustomLabel>& P) {
  P.Property(L"Alignment", &TCustomLabel::Alignment, &TCustomLabel::SetAlignment).Default(taLeftJustify);
  P.Property(L"AutoSize", &TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize).Default(true);
  P.Property(L"FocusControl", &TCustomLabel::FocusControl, &TCustomLabel::SetFocusControl);
  P.Property(L"Layout", &TCustomLabel::Layout, &TCustomLabel::SetLayout).Default(tlTop);
  P.Property(L"ShowAccelChar", &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar).Default(true);
  P.Property(L"Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent).Default(false);
  P.Property(L"WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap).Default(false);
  P.Message<&TCustomLabel::CMTextChanged>(CM_TEXTCHANGED);
  P.Message<&TCustomLabel::CMFontChanged>(CM_FONTCHANGED);
  P.Message<&TCustomLabel::CMDialogChar>(CM_DIALOGCHAR);
}

void TCustomLabel::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FControlStyle += TControlStyle{csOpaque, csReplicatable};
  SetBounds(0, 0, 65, 17);
  FAutoSize = true;
  FShowAccelChar = true;
}

void TCustomLabel::SetAlignment(TAlignment AValue) {
  if (FAlignment == AValue) return;
  FAlignment = AValue;
  Invalidate();
}

void TCustomLabel::SetAutoSize(bool AValue) {
  if (FAutoSize == AValue) return;
  FAutoSize = AValue;
  AdjustBounds();
}

void TCustomLabel::SetLayout(TTextLayout AValue) {
  if (FLayout == AValue) return;
  FLayout = AValue;
  Invalidate();
}

void TCustomLabel::SetWordWrap(bool AValue) {
  if (FWordWrap == AValue) return;
  FWordWrap = AValue;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetTransparent(bool AValue) {
  if (Transparent() == AValue) return;
  if (AValue) FControlStyle.Exclude(csOpaque);
  else FControlStyle.Include(csOpaque);
  Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* AValue) {
  if (FFocusControl == AValue) return;
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = AValue;
  if (FFocusControl) FFocusControl->FreeNotification(this);
}

void TCustomLabel::SetShowAccelChar(bool AValue) {
  if (FShowAccelChar == AValue) return;
  FShowAccelChar = AValue;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation AOperation) {
  inherited::Notification(AComponent, AOperation);
  if (AOperation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::Loaded() {
  inherited::Loaded();
  AdjustBounds();
}

String TCustomLabel::GetLabelText() { return Caption(); }

UINT TCustomLabel::DrawTextFlags() const {
  UINT flags = DT_EXPANDTABS;
  if (FWordWrap) flags |= DT_WORDBREAK;
  if (!FShowAccelChar) flags |= DT_NOPREFIX;
  switch (FAlignment) {
    case taRightJustify: flags |= DT_RIGHT; break;
    case taCenter: flags |= DT_CENTER; break;
    default: flags |= DT_LEFT; break;
  }
  return flags;
}

void TCustomLabel::DoDrawText(TRect& ARect, UINT AFlags) {
  String text = GetLabelText();
  // An empty caption (or a lone accelerator mark) still measures one line.
  if ((AFlags & DT_CALCRECT) && (text.empty() || (FShowAccelChar && text == L"&"))) text += L' ';
  TCanvas* canvas = Canvas();
  canvas->Font()->Assign(Font());
  HDC dc = canvas->Handle();
  // The canvas selects its font when asked for it: measure once through it.
  canvas->TextExtent(L"0");
  SetBkMode(dc, TRANSPARENT);
  RECT r = ARect;
  if (AFlags & DT_CALCRECT) {
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, AFlags);
    ARect = TRect(r);
    return;
  }
  if (!Enabled()) {
    // Disabled text: an engraved look, light below right, shadow on top.
    RECT shifted = r;
    OffsetRect(&shifted, 1, 1);
    SetTextColor(dc, ColorToColorRef(clBtnHighlight));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &shifted, AFlags);
    SetTextColor(dc, ColorToColorRef(clBtnShadow));
  } else {
    SetTextColor(dc, ColorToColorRef(Font()->Color()));
  }
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, AFlags);
}

void TCustomLabel::Paint() {
  TCanvas* canvas = Canvas();
  const TRect client(0, 0, Width(), Height());
  if (!Transparent()) {
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(client);
  }
  canvas->Brush()->SetStyle(bsClear);
  TRect r = client;
  if (FLayout != tlTop) {
    TRect calc = client;
    DoDrawText(calc, DrawTextFlags() | DT_CALCRECT);
    if (FLayout == tlBottom) r.Offset(0, Height() - calc.Bottom);
    else r.Offset(0, (Height() - calc.Bottom) / 2);
  }
  DoDrawText(r, DrawTextFlags());
}

void TCustomLabel::AdjustBounds() {
  if (!FAutoSize || ComponentState().Contains(csLoading) || ComponentState().Contains(csReading)) return;
  TRect r(0, 0, FWordWrap ? Width() : 0, 0);
  {
    // Without a paint going on, the text is measured on the screen.
    std::optional<TScreenDC> screen;
    std::optional<TCanvasDCScope> measuring;
    if (!Canvas()->HandleAllocated()) measuring.emplace(Canvas(), screen.emplace().Get());
    DoDrawText(r, DrawTextFlags() | DT_CALCRECT);
  }
  // The edge the alignment names stays where it is.
  int x = Left();
  if (FAlignment == taRightJustify) x += Width() - r.Right;
  else if (FAlignment == taCenter) x += (Width() - r.Right) / 2;
  SetBounds(x, Top(), r.Right, r.Bottom);
}

void TCustomLabel::CMTextChanged(TMessage&) {
  Invalidate();
  AdjustBounds();
}

void TCustomLabel::CMFontChanged(TMessage& Message) {
  InheritedMessage<TCustomLabel>(Message);
  AdjustBounds();
}

void TCustomLabel::CMDialogChar(TMessage& Message) {
  if (FFocusControl && Enabled() && FShowAccelChar && IsAccel(TWMChar(Message).CharCode(), Caption()) &&
      FFocusControl->CanFocus()) {
    FFocusControl->SetFocus();
    Message.Result = 1;
    return;
  }
  InheritedMessage<TCustomLabel>(Message);
}

// ---------------------------------------------------------------------------
// TCustomEdit

void TCustomEdit::Publish(TPublisher<TCustomEdit>& P) {
  P.Property(L"Alignment", &TCustomEdit::Alignment, &TCustomEdit::SetAlignment).Default(taLeftJustify);
  P.Property(L"AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect).Default(true);
  P.Property(L"AutoSize", &TCustomEdit::AutoSize, &TCustomEdit::SetAutoSize).Default(true);
  P.Property(L"BorderStyle", &TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle).Default(bsSingle);
  P.Property(L"CharCase", &TCustomEdit::CharCase, &TCustomEdit::SetCharCase).Default(ecNormal);
  P.Property(L"HideSelection", &TCustomEdit::HideSelection, &TCustomEdit::SetHideSelection).Default(true);
  P.Property(L"MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength).Default(0);
  P.Property(L"NumbersOnly", &TCustomEdit::NumbersOnly, &TCustomEdit::SetNumbersOnly).Default(false);
  P.Property(L"OEMConvert", &TCustomEdit::OEMConvert, &TCustomEdit::SetOEMConvert).Default(false);
  P.Property(L"ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(false);
  P.Property(L"PasswordChar", &TCustomEdit::PasswordChar, &TCustomEdit::SetPasswordChar).Default(0);
  P.Property(L"ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly).Default(false);
  P.Property(L"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true);
  P.Property(L"Text", &TControl::Text, &TControl::SetText);
  P.Property(L"TextHint", &TCustomEdit::TextHint, &TCustomEdit::SetTextHint);
  P.Property(L"OnChange", &TCustomEdit::OnChange, &TCustomEdit::SetOnChange);
  P.Message<&TCustomEdit::CNCommand>(CN_COMMAND);
  P.Message<&TCustomEdit::CMEnter>(CM_ENTER);
  P.Message<&TCustomEdit::CMFontChanged>(CM_FONTCHANGED);
}

void TCustomEdit::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FControlStyle = {csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight};
  SetBounds(0, 0, 121, 25);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
  FBorderStyle = bsSingle;
  FAutoSize = true;
  FAutoSelect = true;
  FHideSelection = true;
  UpdateHeight();
}

void TCustomEdit::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  CreateSubClass(Params, L"EDIT");
  Params.Style |= ES_AUTOHSCROLL | AlignmentStyle(FAlignment);
  if (FPasswordChar) Params.Style |= ES_PASSWORD;
  if (!FHideSelection) Params.Style |= ES_NOHIDESEL;
  if (FOEMConvert) Params.Style |= ES_OEMCONVERT;
  if (FNumbersOnly) Params.Style |= ES_NUMBER;
  if (FReadOnly) Params.Style |= ES_READONLY;
  if (FCharCase == ecUpperCase) Params.Style |= ES_UPPERCASE;
  else if (FCharCase == ecLowerCase) Params.Style |= ES_LOWERCASE;
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateWnd() {
  {
    FCreating = true;
    TScopeExit created([this] { FCreating = false; });
    inherited::CreateWnd();
  }
  HWND wnd = FHandle;
  SendMessageW(wnd, EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
  if (FPasswordChar) SendMessageW(wnd, EM_SETPASSWORDCHAR, FPasswordChar, 0);
  SendMessageW(wnd, EM_SETMODIFY, FModified, 0);
  if (!FTextHint.empty()) SendMessageW(wnd, EM_SETCUEBANNER, FALSE, reinterpret_cast<LPARAM>(FTextHint.c_str()));
  UpdateHeight();
}

void TCustomEdit::DestroyWnd() {
  if (FHandle) FModified = SendMessageW(FHandle, EM_GETMODIFY, 0, 0) != 0;
  inherited::DestroyWnd();
}

void TCustomEdit::SetAlignment(TAlignment AValue) {
  if (FAlignment == AValue) return;
  FAlignment = AValue;
  RecreateWnd();
}

void TCustomEdit::SetBorderStyle(TBorderStyle AValue) {
  if (FBorderStyle == AValue) return;
  FBorderStyle = AValue;
  UpdateHeight();
  RecreateWnd();
}

void TCustomEdit::SetCharCase(TEditCharCase AValue) {
  if (FCharCase == AValue) return;
  FCharCase = AValue;
  RecreateWnd();
}

void TCustomEdit::SetHideSelection(bool AValue) {
  if (FHideSelection == AValue) return;
  FHideSelection = AValue;
  RecreateWnd();
}

void TCustomEdit::SetOEMConvert(bool AValue) {
  if (FOEMConvert == AValue) return;
  FOEMConvert = AValue;
  RecreateWnd();
}

void TCustomEdit::SetNumbersOnly(bool AValue) {
  if (FNumbersOnly == AValue) return;
  FNumbersOnly = AValue;
  RecreateWnd();
}

void TCustomEdit::SetMaxLength(int AValue) {
  AValue = std::max(AValue, 0);
  if (FMaxLength == AValue) return;
  FMaxLength = AValue;
  if (FHandle) SendMessageW(FHandle, EM_LIMITTEXT, static_cast<WPARAM>(AValue), 0);
}

void TCustomEdit::SetReadOnly(bool AValue) {
  if (FReadOnly == AValue) return;
  FReadOnly = AValue;
  if (FHandle) SendMessageW(FHandle, EM_SETREADONLY, AValue, 0);
}

void TCustomEdit::SetPasswordChar(wchar_t AValue) {
  if (FPasswordChar == AValue) return;
  // Masking on or off changes the window's style; another mask does not.
  const bool styleChanges = (FPasswordChar == 0) != (AValue == 0);
  FPasswordChar = AValue;
  if (!FHandle) return;
  if (styleChanges) {
    RecreateWnd();
  } else {
    SendMessageW(FHandle, EM_SETPASSWORDCHAR, AValue, 0);
    Invalidate();
  }
}

void TCustomEdit::SetTextHint(const String& AValue) {
  if (FTextHint == AValue) return;
  FTextHint = AValue;
  if (FHandle) SendMessageW(FHandle, EM_SETCUEBANNER, FALSE, reinterpret_cast<LPARAM>(FTextHint.c_str()));
}

void TCustomEdit::SetAutoSize(bool AValue) {
  if (FAutoSize == AValue) return;
  FAutoSize = AValue;
  UpdateHeight();
}

void TCustomEdit::UpdateHeight() {
  if (FAutoSize && FBorderStyle == bsSingle) {
    FControlStyle.Include(csFixedHeight);
    AdjustHeight();
  } else {
    FControlStyle.Exclude(csFixedHeight);
  }
}

void TCustomEdit::AdjustHeight() {
  if (ComponentState().Contains(csLoading)) return;
  // The font's line and the sunken border above and below it.
  const TEXTMETRICW tm = FontMetrics(Font());
  SetHeight(tm.tmHeight + 8 * GetSystemMetrics(SM_CYBORDER));
}

int TCustomEdit::SelStart() {
  if (!FHandle) return 0;
  DWORD start = 0, end = 0;
  SendMessageW(FHandle, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(start);
}

void TCustomEdit::SetSelStart(int AValue) {
  if (FHandle) SendMessageW(FHandle, EM_SETSEL, static_cast<WPARAM>(AValue), AValue);
}

int TCustomEdit::SelLength() {
  if (!FHandle) return 0;
  DWORD start = 0, end = 0;
  SendMessageW(FHandle, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(end - start);
}

void TCustomEdit::SetSelLength(int AValue) {
  if (!FHandle) return;
  const int start = SelStart();
  SendMessageW(FHandle, EM_SETSEL, static_cast<WPARAM>(start), start + AValue);
  SendMessageW(FHandle, EM_SCROLLCARET, 0, 0);
}

String TCustomEdit::SelText() {
  if (!FHandle) return String();
  DWORD start = 0, end = 0;
  SendMessageW(FHandle, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const String text = Text();
  if (start >= text.size() || end <= start) return String();
  return text.substr(start, std::min<std::size_t>(end, text.size()) - start);
}

void TCustomEdit::SetSelText(const String& AValue) {
  if (FHandle) SendMessageW(FHandle, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(AValue.c_str()));
}

bool TCustomEdit::Modified() { return FHandle ? SendMessageW(FHandle, EM_GETMODIFY, 0, 0) != 0 : FModified; }

void TCustomEdit::SetModified(bool AValue) {
  if (FHandle) SendMessageW(FHandle, EM_SETMODIFY, AValue, 0);
  else FModified = AValue;
}

bool TCustomEdit::CanUndo() { return FHandle && SendMessageW(FHandle, EM_CANUNDO, 0, 0) != 0; }

void TCustomEdit::Clear() { SetText(String()); }

void TCustomEdit::ClearSelection() {
  if (FHandle) SendMessageW(FHandle, WM_CLEAR, 0, 0);
}

void TCustomEdit::CopyToClipboard() {
  if (FHandle) SendMessageW(FHandle, WM_COPY, 0, 0);
}

void TCustomEdit::CutToClipboard() {
  if (FHandle) SendMessageW(FHandle, WM_CUT, 0, 0);
}

void TCustomEdit::PasteFromClipboard() {
  if (FHandle) SendMessageW(FHandle, WM_PASTE, 0, 0);
}

void TCustomEdit::SelectAll() {
  if (FHandle) SendMessageW(FHandle, EM_SETSEL, 0, -1);
}

void TCustomEdit::Undo() {
  if (FHandle) SendMessageW(FHandle, WM_UNDO, 0, 0);
}

void TCustomEdit::ClearUndo() {
  if (FHandle) SendMessageW(FHandle, EM_EMPTYUNDOBUFFER, 0, 0);
}

void TCustomEdit::Change() {
  TControlTracker alive(this);
  Perform(CM_CHANGED, 0, reinterpret_cast<LPARAM>(this));
  if (alive.Alive()) CallEvent(FOnChange, this);
}

void TCustomEdit::CNCommand(TMessage& Message) {
  if (TWMCommand(Message).NotifyCode() == EN_CHANGE && !FCreating) Change();
}

void TCustomEdit::CMEnter(TMessage& Message) {
  // Entered by keyboard: the whole text is selected, ready to be replaced.
  if (FAutoSelect && !FControlState.Contains(csLButtonDown) && FHandle &&
      !(GetWindowLongPtrW(FHandle, GWL_STYLE) & ES_MULTILINE))
    SelectAll();
  InheritedMessage<TCustomEdit>(Message);
}

void TCustomEdit::CMFontChanged(TMessage& Message) {
  InheritedMessage<TCustomEdit>(Message);
  if (FHandle) UpdateHeight();
}

// ---------------------------------------------------------------------------
// TButtonControl

void TButtonControl::Publish(TPublisher<TButtonControl>& P) {
  P.Property(L"WordWrap", &TButtonControl::WordWrap, &TButtonControl::SetWordWrap).Default(false);
}

void TButtonControl::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  // The window reports clicks itself (BN_CLICKED): no clicks from the mouse
  // messages as well.
  FControlStyle = {csSetCaption};
}

void TButtonControl::SetWordWrap(bool AValue) {
  if (FWordWrap == AValue) return;
  FWordWrap = AValue;
  RecreateWnd();
}

void TButtonControl::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  CreateSubClass(Params, L"BUTTON");
  if (FWordWrap) Params.Style |= BS_MULTILINE;
}

// ---------------------------------------------------------------------------
// TCustomButton

void TCustomButton::Publish(TPublisher<TCustomButton>& P) {
  P.Property(L"Cancel", &TCustomButton::Cancel, &TCustomButton::SetCancel).Default(false);
  P.Property(L"Default", &TCustomButton::Default, &TCustomButton::SetDefault).Default(false);
  P.Property(L"ModalResult", &TCustomButton::ModalResult, &TCustomButton::SetModalResult).Default(mrNone);
  P.Property(L"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true);
  P.Message<&TCustomButton::CNCommand>(CN_COMMAND);
  P.Message<&TCustomButton::CMDialogKey>(CM_DIALOGKEY);
  P.Message<&TCustomButton::CMDialogChar>(CM_DIALOGCHAR);
  P.Message<&TCustomButton::CMFocusChanged>(CM_FOCUSCHANGED);
}

void TCustomButton::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
}

void TCustomButton::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TCustomButton::CreateWnd() {
  inherited::CreateWnd();
  FActive = FDefault;
  FShownDefault = FDefault;
}

void TCustomButton::SetButtonStyle(bool ADefault) {
  if (FShownDefault == ADefault) return;
  FShownDefault = ADefault;
  if (FHandle) SendMessageW(FHandle, BM_SETSTYLE, ADefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TCustomButton::SetDefault(bool AValue) {
  if (FDefault == AValue) return;
  FDefault = AValue;
  if (!FHandle) return;
  // The form tells every button again which one is active now.
  if (TCustomForm* form = GetParentForm(this)) {
    form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(form->ActiveControl()));
  } else {
    FActive = FDefault;
    SetButtonStyle(FDefault);
  }
}

void TCustomButton::Click() {
  TControlTracker alive(this);
  if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
  if (alive.Alive()) inherited::Click();
}

void TCustomButton::CNCommand(TMessage& Message) {
  if (TWMCommand(Message).NotifyCode() == BN_CLICKED) Click();
}

void TCustomButton::CMDialogKey(TMessage& Message) {
  TWMKey key(Message);
  const WORD code = key.CharCode();
  if (((code == VK_RETURN && FActive) || (code == VK_ESCAPE && FCancel)) &&
      KeyDataToShiftState(key.KeyData()).Empty() && CanFocus()) {
    Message.Result = 1;
    Click();
    return;
  }
  InheritedMessage<TCustomButton>(Message);
}

void TCustomButton::CMDialogChar(TMessage& Message) {
  if (IsAccel(TWMChar(Message).CharCode(), Caption()) && CanFocus()) {
    Message.Result = 1;
    Click();
    return;
  }
  InheritedMessage<TCustomButton>(Message);
}

void TCustomButton::CMFocusChanged(TMessage& Message) {
  // The focused button is the one Enter presses; with the focus elsewhere,
  // the default button is.
  TControl* focused = TCMFocusChanged(Message).Sender();
  FActive = Is<TCustomButton>(focused) ? focused == this : FDefault;
  SetButtonStyle(FActive);
  InheritedMessage<TCustomButton>(Message);
}

// ---------------------------------------------------------------------------
// TCustomCheckBox

void TCustomCheckBox::Publish(TPublisher<TCustomCheckBox>& P) {
  P.Property(L"Alignment", &TCustomCheckBox::Alignment, &TCustomCheckBox::SetAlignment).Default(taRightJustify);
  P.Property(L"AllowGrayed", &TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed).Default(false);
  // State is what the form description keeps; Checked is its view by name.
  P.Property(L"Checked", &TCustomCheckBox::Checked, &TCustomCheckBox::SetCheckedState).Stored(false);
  P.Property(L"State", &TCustomCheckBox::State, &TCustomCheckBox::SetState).Default(cbUnchecked);
  P.Property(L"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true);
  P.Message<&TCustomCheckBox::CNCommand>(CN_COMMAND);
  P.Message<&TCustomCheckBox::CMDialogChar>(CM_DIALOGCHAR);
}

void TCustomCheckBox::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  SetBounds(0, 0, 97, 17);
  SetTabStop(true);
  FAlignment = taRightJustify;
}

void TCustomCheckBox::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  // The control decides the next state itself (Toggle), so not BS_AUTO3STATE.
  Params.Style |= BS_3STATE;
  if (FAlignment == taLeftJustify) Params.Style |= BS_LEFTTEXT;
}

void TCustomCheckBox::CreateWnd() {
  inherited::CreateWnd();
  SendMessageW(FHandle, BM_SETCHECK, static_cast<WPARAM>(FState), 0);
}

void TCustomCheckBox::SetState(TCheckBoxState AValue) {
  if (AValue < cbUnchecked || AValue > cbGrayed)
    throw EInvalidOperation(L"Ungültiger Zustand %d für '%s'", {static_cast<int>(AValue), Name()});
  if (FState == AValue) return;
  FState = AValue;
  if (FHandle) SendMessageW(FHandle, BM_SETCHECK, static_cast<WPARAM>(FState), 0);
  if (!ClicksDisabled() && !ComponentState().Contains(csLoading) && !ComponentState().Contains(csReading)) Click();
}

void TCustomCheckBox::SetAlignment(TLeftRight AValue) {
  if (FAlignment == AValue) return;
  FAlignment = AValue;
  RecreateWnd();
}

void TCustomCheckBox::Toggle() {
  switch (FState) {
    case cbUnchecked: SetState(FAllowGrayed ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
  }
}

void TCustomCheckBox::CNCommand(TMessage& Message) {
  if (TWMCommand(Message).NotifyCode() == BN_CLICKED) Toggle();
}

void TCustomCheckBox::CMDialogChar(TMessage& Message) {
  if (IsAccel(TWMChar(Message).CharCode(), Caption()) && CanFocus()) {
    Message.Result = 1;
    TControlTracker alive(this);
    SetFocus();
    if (alive.Alive() && Focused()) Toggle();
    return;
  }
  InheritedMessage<TCustomCheckBox>(Message);
}

// ---------------------------------------------------------------------------
// TRadioButton

void TRadioButton::Publish(TPublisher<TRadioButton>& P) {
  P.Property(L"Alignment", &TRadioButton::Alignment, &TRadioButton::SetAlignment).Default(taRightJustify);
  P.Property(L"Checked", &TRadioButton::Checked, &TRadioButton::SetCheckedState).Default(false);
  P.Message<&TRadioButton::CNCommand>(CN_COMMAND);
  P.Message<&TRadioButton::CMDialogChar>(CM_DIALOGCHAR);
}

void TRadioButton::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  SetBounds(0, 0, 113, 17);
  FAlignment = taRightJustify;
}

void TRadioButton::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style |= BS_RADIOBUTTON;
  if (FAlignment == taLeftJustify) Params.Style |= BS_LEFTTEXT;
}

void TRadioButton::CreateWnd() {
  inherited::CreateWnd();
  SendMessageW(FHandle, BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetAlignment(TLeftRight AValue) {
  if (FAlignment == AValue) return;
  FAlignment = AValue;
  RecreateWnd();
}

void TRadioButton::SetChecked(bool AValue) {
  if (FChecked == AValue) return;
  FChecked = AValue;
  // Tab reaches a group of radio buttons at its checked one.
  SetTabStop(AValue);
  if (FHandle) SendMessageW(FHandle, BM_SETCHECK, AValue ? BST_CHECKED : BST_UNCHECKED, 0);
  if (!AValue) return;
  if (TWinControl* parent = Parent())
    for (int i = 0; i < parent->ControlCount(); ++i)
      if (auto* sibling = dynamic_cast<TRadioButton*>(parent->Controls(i)); sibling && sibling != this)
        sibling->SetChecked(false);
  if (!ClicksDisabled() && !ComponentState().Contains(csLoading) && !ComponentState().Contains(csReading)) Click();
}

void TRadioButton::CNCommand(TMessage& Message) {
  switch (TWMCommand(Message).NotifyCode()) {
    case BN_CLICKED: SetChecked(true); break;
    case BN_DOUBLECLICKED: DblClick(); break;
    default: break;
  }
}

void TRadioButton::CMDialogChar(TMessage& Message) {
  // The accelerator focuses and checks (not every system's window checks a
  // radio button on focus by itself).
  if (IsAccel(TWMChar(Message).CharCode(), Caption()) && CanFocus()) {
    Message.Result = 1;
    TControlTracker alive(this);
    SetFocus();
    if (alive.Alive() && Focused()) SetChecked(true);
    return;
  }
  InheritedMessage<TRadioButton>(Message);
}

// ---------------------------------------------------------------------------
// Unit start-up

void StdCtrlsInitialization() {
  RegisterClasses({TGroupBox::ClassInfo(), TLabel::ClassInfo(), TEdit::ClassInfo(), TListBox::ClassInfo(),
                   TComboBox::ClassInfo(), TButton::ClassInfo(), TCheckBox::ClassInfo(),
                   TRadioButton::ClassInfo()});
}
