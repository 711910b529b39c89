// The mode interface and the classic mask's mode.
//
// The classic mode moves the caret through the editor's ordinary SelStart;
// the editor's selection-change handling then calls LMouseDown, which selects
// the character at the caret again (the block caret). Only the internal
// setters leave the selection as they set it.
#include "library/editors/masks/cxMaskEdit.h"

#include "library/editors/edit/cxEdit_Internal.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// TcxMaskEditCustomMode

void TcxMaskEditCustomMode::Create(TcxCustomMaskEdit* AEdit, TcxCustomMaskEditProperties* AProperties) {
  inherited::Create();
  FEdit = AEdit;
  if (!AEdit) FProperties = AProperties;
}

bool TcxMaskEditCustomMode::GetInsertedText(const String&, String&, int& ACaretPos) {
  ACaretPos = 0;
  return false;
}

TcxCustomMaskEditProperties* TcxMaskEditCustomMode::GetModeProperties() {
  return FEdit ? FEdit->ActiveProperties() : FProperties;
}

bool TcxMaskEditCustomMode::IsEditReady() { return FEdit && !FEdit->IsInnerControlMissing(); }

void TcxMaskEditCustomMode::BeepOnError() {
  TcxCustomMaskEditProperties* properties = GetModeProperties();
  if (properties && properties->BeepOnError()) EditErrorBeep();
}

bool TcxMaskEditCustomMode::ShiftOn() const { return FEdit && FEdit->FShiftOn; }

void TcxMaskEditCustomMode::ClearShiftOn() {
  if (FEdit) FEdit->FShiftOn = false;
}

void TcxMaskEditCustomMode::SynchronizeEditValue() {
  if (!IsEditReady()) return;
  Variant display;
  if (FEdit->ModifiedAfterEnter()) {
    String text;
    FEdit->GetDisplayString(text);
    display = Variant(GetFormattedText(text, true));
  } else {
    GetModeProperties()->PrepareDisplayValue(FEdit->EditValue(), display, FEdit->Focused());
  }
  FEdit->ApplyDisplayValue(display);
}

// ---------------------------------------------------------------------------
// TcxMaskEditStandardMode

void TcxMaskEditStandardMode::Create(TcxCustomMaskEdit* AEdit, TcxCustomMaskEditProperties* AProperties) {
  inherited::Create(AEdit, AProperties);
  FMask.reset(New<TcxStandardMask>());
}

bool TcxMaskEditStandardMode::IsLiteralAt(int APos) const {
  return APos >= 0 && APos < FMask->Count() && FMask->Items(APos)->IsLiteral();
}

int TcxMaskEditStandardMode::LiteralRun(int APos, int AStep) const {
  int count = 0;
  for (int p = APos; IsLiteralAt(p); p += AStep) ++count;
  return count;
}

void TcxMaskEditStandardMode::Compile(const String& AMask) {
  FEditMask = AMask;
  if (TcxCustomMaskEditProperties::IsEmptyMask(AMask)) return;
  FMask->Compile(AMask);
  FNeedUpdateEditValue = !IsEditReady();
}

String TcxMaskEditStandardMode::GetFormattedText(const String& AText, bool AMatchForBlanksAndLiterals) {
  String text = AText;
  FMask->Format(text, true, AMatchForBlanksAndLiterals);
  return text;
}

String TcxMaskEditStandardMode::GetUpdatedText(const String& AText, bool AMatchForBlanksAndLiterals) {
  if (FMask->Count() == 0) return AText;
  String text = AText;
  // With a character case the edit window converts; the mask's own case
  // conversions would fight it.
  FMask->Format(text, FCharCase == ecNormal, AMatchForBlanksAndLiterals);
  FMask->Format2(text);
  return text;
}

void TcxMaskEditStandardMode::UpdateEditValue() {
  if (!FNeedUpdateEditValue || !FEdit) return;
  FEdit->SetInternalEditValue(Variant(FMask->EmptyString()));
  FNeedUpdateEditValue = false;
}

void TcxMaskEditStandardMode::SynchronizeEditValue() {
  inherited::SynchronizeEditValue();
  LMouseDown();
}

bool TcxMaskEditStandardMode::IsFullValidText(const String& AText) {
  String text = AText;
  if (FMask->IsFullValid(text)) return true;
  TcxCustomMaskEditProperties* properties = GetModeProperties();
  return properties && properties->IgnoreMaskBlank() && AText == GetFormattedText(String(), true);
}

void TcxMaskEditStandardMode::LMouseDown() {
  if (!FEdit || !FEdit->HandleAllocated() || !GetModeProperties()->IsMasked()) return;
  if (FEdit->SelLength() == 0 && FEdit->SelStart() < static_cast<int>(FEdit->EditText().size()))
    FEdit->SetInternalSelLength(1);
}

bool TcxMaskEditStandardMode::IsCursorBegin() {
  const int first = LiteralRun(0, 1);
  return FEdit->SelStart() <= first && (FEdit->SelLength() < 2 || FEdit->CursorPos() == FEdit->SelStart());
}

bool TcxMaskEditStandardMode::IsCursorEnd() {
  return FEdit->SelStart() == static_cast<int>(FEdit->EditText().size());
}

bool TcxMaskEditStandardMode::PressHome() {
  if (ShiftOn()) return true;
  FEdit->SetSelStart(0);
  if (IsLiteralAt(0)) PressRight();
  return false;
}

bool TcxMaskEditStandardMode::PressEnd() {
  if (ShiftOn()) return true;
  FEdit->SetSelStart(static_cast<int>(FEdit->EditText().size()));
  return false;
}

bool TcxMaskEditStandardMode::PressLeft() {
  const int start = FEdit->SelStart();
  const int length = FEdit->SelLength();
  if (ShiftOn()) {
    // The native extension starts from the block's far end: the caret is put
    // behind the block and brought back over it.
    if (length == 1) {
      FEdit->SetSelStart(start + 1);
      FEdit->SetSelLength(0);
      FEdit->SendOwnKeyDown(VK_LEFT);
      FEdit->SendOwnKeyDown(VK_LEFT);
    }
    return true;
  }
  if (length >= 2) {
    const int textLength = static_cast<int>(FEdit->EditText().size());
    const bool reachesEnd = start + length >= textLength;
    const int last = reachesEnd ? start + length - 1 : start + length;
    int target = reachesEnd ? textLength : start;
    for (int p = start; p <= last && p < FMask->Count(); ++p)
      if (!IsLiteralAt(p)) {
        target = p;
        break;
      }
    FEdit->SetSelStart(0);
    FEdit->SetSelStart(target);
    return false;
  }
  const int literals = LiteralRun(start - 1, -1);
  if (start > 0 && literals < start) FEdit->SetSelStart(start - literals - 1);
  return false;
}

bool TcxMaskEditStandardMode::PressRight() {
  const int start = FEdit->SelStart();
  const int length = FEdit->SelLength();
  const int textLength = static_cast<int>(FEdit->EditText().size());
  if (ShiftOn()) {
    if (length == 1 && start == FEdit->CursorPos()) FEdit->SetSelLength(0);
    return true;
  }
  if (length >= 2) {
    int target = start + length;
    if (target < textLength) {
      int literals = 0;
      for (int p = target - 1; p >= start && IsLiteralAt(p); --p) ++literals;
      if (literals == length) literals = 0;
      target -= literals + 1;
    }
    FEdit->SetSelStart(0);
    FEdit->SetSelStart(target);
    return false;
  }
  const int target = start + LiteralRun(start + 1, 1) + 1;
  if (target <= textLength) FEdit->SetSelStart(target);
  return false;
}

bool TcxMaskEditStandardMode::PressDelete() {
  const wchar_t blank = GetBlank();
  const int start = FEdit->SelStart();
  const int end = start + FEdit->SelLength();
  FEdit->LockChangeEvents(true);
  TryFinally(
      [&] {
        String text = FEdit->EditText();
        bool changed = false;
        for (int p = start; p < end && p < static_cast<int>(text.size()); ++p) {
          if (p >= FMask->Count() || IsLiteralAt(p) || blank == 0) continue;
          text[static_cast<std::size_t>(p)] = blank;
          changed = true;
        }
        if (!changed) return;
        FEdit->ApplyDisplayValue(Variant(text));
        FEdit->SetSelStart(start);
      },
      [&] { FEdit->LockChangeEvents(false); });
  return false;
}

bool TcxMaskEditStandardMode::PressBackSpace() {
  if (FEdit->SelLength() <= 1) PressLeft();
  PressDelete();
  return false;
}

bool TcxMaskEditStandardMode::PressSymbol(wchar_t& ASymbol) {
  const String text = FEdit->EditText();
  const int start = FEdit->SelStart();
  if (text.empty() || start >= static_cast<int>(text.size())) return false;
  if (IsLiteralAt(start)) {
    ClearShiftOn();
    if (FEdit->SelLength() >= 2) PressDelete();
    const int before = FEdit->SelStart();
    PressRight();
    if (FEdit->SelStart() != before) PressSymbol(ASymbol);
    return false;
  }
  if (start >= FMask->Count()) return false;
  wchar_t symbol = ASymbol;
  if (!FMask->Items(start)->Check(symbol)) return false;
  if (!FEdit->CanTypeSymbol(symbol, start + 1)) return false;
  if (symbol == 0) {
    BeepOnError();
    return false;
  }
  if (FEdit->SelLength() >= 2) PressDelete();
  String typed = FEdit->EditText();
  if (start >= static_cast<int>(typed.size())) return false;
  typed[static_cast<std::size_t>(start)] = symbol;
  FEdit->ApplyDisplayValue(Variant(typed));
  ClearShiftOn();
  // The caret goes straight past the typed character and the literals after
  // it: every caret move selects the block again, which costs a repaint.
  const int next = start + LiteralRun(start + 1, 1) + 1;
  FEdit->SetSelStart(next <= static_cast<int>(typed.size()) ? next : start);
  return false;
}

bool TcxMaskEditStandardMode::GetInsertedText(const String& AText, String& AResult, int& ACaretPos) {
  if (AText.empty()) return false;
  AResult = FEdit->EditText();
  const int start = FEdit->SelStart();
  int caret = start + static_cast<int>(AText.size());
  int p = start;
  for (const wchar_t c : AText) {
    while (p < FMask->Count() && IsLiteralAt(p) &&
           static_cast<const TcxStandardMaskLiteralItem*>(FMask->Items(p))->Literal() != c) {
      ++p;
      ++caret;
    }
    if (p >= FMask->Count()) break;
    if (p < static_cast<int>(AResult.size()))
      AResult[static_cast<std::size_t>(p)] = c;
    else
      AResult += c;
    ++p;
  }
  ACaretPos = std::clamp(caret, 0, static_cast<int>(AResult.size()));
  return true;
}

void TcxMaskEditStandardMode::PrePasteFromClipboard() {
  FEdit->SetInternalSelStart(FEdit->SelStart());
  FEdit->SetInternalSelLength(FClipboardTextLength);
}

void TcxMaskEditStandardMode::AfterPasteFromClipboard() {
  const int start = FEdit->SelStart();
  if (start < static_cast<int>(FEdit->EditText().size()) && IsLiteralAt(start)) {
    ClearShiftOn();
    PressRight();
  }
}
