// The regular-expression modes.
//
// Between keys the edit window's text is FHead followed by FTail, the caret
// stands between them and the engine has been fed FHead. A click or a text
// set from outside only marks the model stale; the next key rebuilds it
// (Resync). Characters keep the case they have in the text: the engine adapts
// the case of what the user types, never of what the model already holds, so
// that head and tail always spell the text.
//
// The extended mode types the forced characters itself, through key messages
// the editor sends to its own window; each is performed by the edit window
// before the message returns, so the text is current when the next step
// reads it.
#include "library/editors/masks/cxMaskEdit.h"

#include "library/core/base/dxCore.h"
#include "library/editors/edit/cxEditConsts.h"

#include <algorithm>

namespace {

std::size_t Clamped(int AValue, std::size_t ALimit) {
  return std::min(static_cast<std::size_t>(std::max(AValue, 0)), ALimit);
}

}  // namespace

// ---------------------------------------------------------------------------
// TcxMaskEditRegExprMode

void TcxMaskEditRegExprMode::Create(TcxCustomMaskEdit* AEdit, TcxCustomMaskEditProperties* AProperties) {
  inherited::Create(AEdit, AProperties);
  FRegExpr.reset(New<TcxRegExpr>());
  SetRegExprCaseInsensitive();
  FMouseAction = false;
}

void TcxMaskEditRegExprMode::Destroy() {
  FRegExpr.reset();
  inherited::Destroy();
}

void TcxMaskEditRegExprMode::SetRegExprCaseInsensitive() {
  TcxCustomMaskEditProperties* properties = GetModeProperties();
  FRegExpr->SetCaseInsensitive(!properties || properties->CaseInsensitive());
}

void TcxMaskEditRegExprMode::Compile(const String& AMask) {
  FEditMask = AMask;
  if (TcxCustomMaskEditProperties::IsEmptyMask(AMask)) return;
  try {
    FRegExpr->Compile(AMask);
  } catch (const EcxRegExprError& E) {
    String message = LoadLocalizedResString(&scxMaskEditRegExprError);
    for (int i = 0; i < E.Errors().Count(); ++i) message += L"\r\n" + E.Errors().GetItems(i).FullMessage();
    throw EcxMaskEditError(message);
  }
}

String TcxMaskEditRegExprMode::GetFormattedText(const String& AText, bool) {
  if (!FRegExpr->IsCompiled()) return String();
  FRegExpr->Reset();
  String result;
  for (wchar_t c : AText)
    if (FRegExpr->Next(c)) result += c;
  return result;
}

bool TcxMaskEditRegExprMode::IsCursorBegin() { return FEdit->SelStart() == 0; }

bool TcxMaskEditRegExprMode::IsCursorEnd() {
  return FEdit->SelStart() == static_cast<int>(FEdit->EditText().size());
}

bool TcxMaskEditRegExprMode::CompileCopy(TcxRegExpr* AOther) {
  TStream* source = FRegExpr->Stream();
  if (!source) return false;
  source->SetPosition(0);
  AOther->Compile(source);
  return true;
}

bool TcxMaskEditRegExprMode::IsFullValidText(const String& AText) {
  if (AText.empty()) return true;
  TOwned<TcxRegExpr> engine(New<TcxRegExpr>());
  TcxCustomMaskEditProperties* properties = GetModeProperties();
  engine->SetCaseInsensitive(!properties || properties->CaseInsensitive());
  if (!CompileCopy(engine.get())) return false;
  for (wchar_t c : AText)
    if (!engine->Next(c)) return false;
  return (properties && properties->IgnoreMaskBlank()) || engine->IsFinal();
}

void TcxMaskEditRegExprMode::ResetModel(const String& AText) {
  FHead.clear();
  FTail = AText;
  if (FRegExpr->IsCompiled()) FRegExpr->Reset();
}

bool TcxMaskEditRegExprMode::TailFits() {
  int fed = 0;
  bool fits = true;
  for (wchar_t c : FTail) {
    if (!Feed(c)) {
      fits = false;
      break;
    }
    ++fed;
  }
  for (int i = 0; i < fed; ++i) FRegExpr->Prev();
  return fits;
}

void TcxMaskEditRegExprMode::DropTail() {
  String text = FEdit->EditText();
  const std::size_t caret = Clamped(FEdit->SelStart(), text.size());
  text.erase(caret, FTail.size());
  FEdit->ApplyDisplayValue(Variant(text));
  FEdit->SetInternalSelStart(static_cast<int>(text.size()));
  FTail.clear();
}

void TcxMaskEditRegExprMode::MoveCharLeft() {
  if (FHead.empty()) return;
  FRegExpr->Prev();
  FTail.insert(FTail.begin(), FHead.back());
  FHead.pop_back();
}

void TcxMaskEditRegExprMode::MoveCharRight() {
  if (FTail.empty()) return;
  wchar_t c = FTail.front();
  Feed(c);
  FHead += FTail.front();
  FTail.erase(0, 1);
}

bool TcxMaskEditRegExprMode::NeedsResync() {
  if (FMouseAction) return true;
  const String text = FEdit->EditText();
  if (text.empty() || !FHead.empty()) return false;
  return text != FHead + FTail || FEdit->CursorPos() != static_cast<int>(FHead.size());
}

void TcxMaskEditRegExprMode::Resync() {
  if (!FEdit || !FRegExpr->IsCompiled() || !NeedsResync()) return;
  FMouseAction = false;
  ResetModel(FEdit->EditText());
  const std::size_t caret = Clamped(FEdit->CursorPos(), FTail.size());
  for (std::size_t i = 0; i < caret; ++i) {
    wchar_t c = FTail.front();
    Feed(c);
    FHead += FTail.front();
    FTail.erase(0, 1);
  }
}

void TcxMaskEditRegExprMode::CutSelection() {
  const int start = FEdit->SelStart();
  const int length = FEdit->SelLength();
  const int head = static_cast<int>(FHead.size());
  if (start == head) {
    FSelect = FTail.substr(0, Clamped(length, FTail.size()));
    FTail.erase(0, FSelect.size());
    FBeginCursor = true;
  } else if (start + length == head) {
    const std::size_t count = Clamped(length, FHead.size());
    FSelect = FHead.substr(FHead.size() - count);
    FHead.erase(FHead.size() - count);
    for (std::size_t i = 0; i < count; ++i) FRegExpr->Prev();
    FBeginCursor = false;
  }
}

bool TcxMaskEditRegExprMode::DeleteSelection(const std::function<void()>& ANativeKey) {
  CutSelection();
  if (TailFits()) return true;
  // The rest no longer matches: the native key takes the selection instead.
  ANativeKey();
  DropTail();
  return false;
}

void TcxMaskEditRegExprMode::RestoreSelection() {
  if (FBeginCursor) {
    FTail.insert(0, FSelect);
    return;
  }
  FHead += FSelect;
  for (wchar_t c : FSelect) Feed(c);
}

void TcxMaskEditRegExprMode::SetText(const String& AText) {
  if (FClipboardTextLength < 1 || AText.empty() || !FEdit) {
    ResetModel(AText);
    return;
  }
  // Right after a paste: the caret stands behind the pasted text.
  if (FRegExpr->IsCompiled()) FRegExpr->Reset();
  const std::size_t count = Clamped(FEdit->SelStart() + FClipboardTextLength, AText.size());
  if (FRegExpr->IsCompiled())
    for (std::size_t i = 0; i < count; ++i) {
      wchar_t c = AText[i];
      Feed(c);
    }
  FHead = AText.substr(0, count);
  FTail = AText.substr(count);
  FClipboardTextLength = 0;
}

void TcxMaskEditRegExprMode::SynchronizeEditValue() {
  inherited::SynchronizeEditValue();
  if (!IsEditReady()) return;
  const String text = FEdit->EditText();
  FEdit->SetInternalSelStart(static_cast<int>(text.size()));
  ResetModel(text);
}

bool TcxMaskEditRegExprMode::PressHome() {
  Resync();
  if (!FHead.empty()) {
    FTail.insert(0, FHead);
    FHead.clear();
    FRegExpr->Reset();
  }
  return true;
}

bool TcxMaskEditRegExprMode::PressEnd() {
  Resync();
  if (!FTail.empty()) {
    for (wchar_t c : FTail) Feed(c);
    FHead += FTail;
    FTail.clear();
  }
  return true;
}

void TcxMaskEditRegExprMode::GotoEnd() {
  if (FRegExpr->IsCompiled()) PressEnd();
}

bool TcxMaskEditRegExprMode::PressLeft() {
  Resync();
  if (FHead.empty()) return true;
  const int length = FEdit->SelLength();
  if (length > 0 && !ShiftOn()) {
    if (FEdit->CursorPos() == FEdit->SelStart() + length) {
      for (int i = 0; i < length; ++i) MoveCharLeft();
    }
    return true;
  }
  MoveCharLeft();
  return true;
}

bool TcxMaskEditRegExprMode::PressRight() {
  Resync();
  if (FTail.empty()) return true;
  const int length = FEdit->SelLength();
  if (length > 0 && !ShiftOn()) {
    if (FEdit->CursorPos() == FEdit->SelStart()) {
      for (int i = 0; i < length; ++i) MoveCharRight();
    }
    return true;
  }
  MoveCharRight();
  return true;
}

bool TcxMaskEditRegExprMode::PressSymbol(wchar_t& ASymbol) {
  Resync();
  if (!FRegExpr->IsCompiled()) return true;
  if (FEdit->SelLength() > 0) CutSelection();
  bool result = false;
  wchar_t c = ASymbol;
  if (Feed(c)) {
    ASymbol = c;
    FHead += c;
    result = true;
    if (!TailFits()) {
      if (!FSelect.empty()) {
        FEdit->SendOwnKeyDown(VK_DELETE);
        FEdit->SendOwnKeyPress(c);
        result = false;
      }
      DropTail();
    }
  } else {
    RestoreSelection();
  }
  FSelect.clear();
  if (!result) BeepOnError();
  return result;
}

bool TcxMaskEditRegExprMode::PressDelete() {
  Resync();
  if (!FRegExpr->IsCompiled()) return true;
  bool result = true;
  if (FEdit->SelLength() > 0) {
    result = DeleteSelection([this] { FEdit->SendOwnKeyDown(VK_DELETE); });
  } else if (!FTail.empty()) {
    FSelect = FTail.substr(0, 1);
    FTail.erase(0, 1);
    if (!TailFits()) {
      DropTail();
      // The native Delete then takes the one character of the old tail
      // that is left.
      if (FEdit->SelStart() > 0) FEdit->SetInternalSelStart(FEdit->SelStart() - 1);
    }
  }
  FSelect.clear();
  if (!result) BeepOnError();
  return result;
}

bool TcxMaskEditRegExprMode::PressBackSpace() {
  Resync();
  if (!FRegExpr->IsCompiled()) return true;
  bool result = true;
  if (FEdit->SelLength() > 0) {
    result = DeleteSelection([this] { FEdit->SendOwnKeyPress(L'\b'); });
  } else if (!FHead.empty()) {
    FRegExpr->Prev();
    FHead.pop_back();
    if (!TailFits()) DropTail();
  }
  FSelect.clear();
  if (!result) BeepOnError();
  return result;
}

// ---------------------------------------------------------------------------
// TcxMaskEditRegExprExMode

void TcxMaskEditRegExprExMode::Create(TcxCustomMaskEdit* AEdit, TcxCustomMaskEditProperties* AProperties) {
  inherited::Create(AEdit, AProperties);
  FRegExpr->SetOnSymbolUpdate(BindEvent<&TcxMaskEditRegExprExMode::SymbolUpdated>(this));
  FRegExpr->SetOnSymbolDelete(BindEvent<&TcxMaskEditRegExprExMode::SymbolDeleted>(this));
  FRegExpr->SetUpdateOn(true);
  ResetUpdate();
}

template <class F>
void TcxMaskEditRegExprExMode::Quietly(F&& AWork) {
  FRegExpr->SetUpdateOn(false);
  TryFinally(AWork, [this] { FRegExpr->SetUpdateOn(true); });
}

void TcxMaskEditRegExprExMode::ReportForced() {
  FRegExpr->SetUpdateOn(false);
  FRegExpr->SetUpdateOn(true);
}

void TcxMaskEditRegExprExMode::Compile(const String& AMask) {
  ResetUpdate();
  inherited::Compile(AMask);
  FNeedUpdateEditValue = !IsEditReady();
}

void TcxMaskEditRegExprExMode::UpdateEditValue() {
  if (!FNeedUpdateEditValue || !FEdit) return;
  FEdit->SetInternalEditValue(Variant(FUpdate));
  FNeedUpdateEditValue = false;
}

bool TcxMaskEditRegExprExMode::ForcedPrefix(TcxRegExpr* AEngine, String& APrefix) {
  TcxCustomMaskEditProperties* properties = GetModeProperties();
  AEngine->SetCaseInsensitive(!properties || properties->CaseInsensitive());
  if (!CompileCopy(AEngine)) return false;
  AEngine->SetOnSymbolUpdate(BindEvent<&TcxMaskEditRegExprExMode::InternalSymbolUpdated>(this));
  FInternalUpdate.clear();
  AEngine->SetUpdateOn(true);
  APrefix = FInternalUpdate;
  return true;
}

String TcxMaskEditRegExprExMode::GetEmptyString() {
  TOwned<TcxRegExpr> engine(New<TcxRegExpr>());
  String prefix;
  return ForcedPrefix(engine.get(), prefix) ? prefix : String();
}

String TcxMaskEditRegExprExMode::GetFormattedText(const String& AText, bool AMatchForBlanksAndLiterals) {
  if (!FRegExpr->IsCompiled()) return String();
  ResetUpdate();
  String accepted;
  Quietly([&] { accepted = inherited::GetFormattedText(AText, AMatchForBlanksAndLiterals); });
  return accepted + FUpdate;
}

bool TcxMaskEditRegExprExMode::IsFullValidText(const String& AText) {
  TOwned<TcxRegExpr> engine(New<TcxRegExpr>());
  String prefix;
  if (!ForcedPrefix(engine.get(), prefix)) return false;
  if (AText == prefix) return true;
  engine->SetUpdateOn(false);
  engine->Reset();
  for (wchar_t c : AText)
    if (!engine->Next(c)) return false;
  TcxCustomMaskEditProperties* properties = GetModeProperties();
  return (properties && properties->IgnoreMaskBlank()) || engine->IsFinal();
}

void TcxMaskEditRegExprExMode::SetText(const String& AText) {
  if (FRegExpr->IsCompiled()) {
    FRegExpr->SetUpdateOn(false);
    FRegExpr->Reset();
    for (wchar_t c : AText) Feed(c);
    ResetUpdate();
    FRegExpr->SetUpdateOn(true);
  }
  FHead = AText + FUpdate;
  FTail.clear();
  if (IsEditReady()) {
    FMouseAction = true;
    Resync();
  }
  FClipboardTextLength = 0;
}

void TcxMaskEditRegExprExMode::GotoEnd() {
  if (FRegExpr->IsCompiled()) Quietly([this] { inherited::GotoEnd(); });
}

bool TcxMaskEditRegExprExMode::PressEnd() {
  if (!FRegExpr->IsCompiled()) return true;
  Resync();
  ResetUpdate();
  Quietly([this] { inherited::PressEnd(); });
  return true;
}

bool TcxMaskEditRegExprExMode::PressHome() {
  if (!FRegExpr->IsCompiled()) return true;
  Resync();
  ResetUpdate();
  inherited::PressHome();
  return true;
}

void TcxMaskEditRegExprExMode::CutSelection() {
  Quietly([this] { inherited::CutSelection(); });
  if (!FUpdate.empty()) {
    FRegExpr->Prev();
    ResetUpdate();
  }
}

void TcxMaskEditRegExprExMode::RestoreSelection() {
  Quietly([this] { inherited::RestoreSelection(); });
  if (!FUpdate.empty()) {
    FRegExpr->Prev();
    ResetUpdate();
  }
}

void TcxMaskEditRegExprExMode::UnitRight() {
  if (FTail.empty()) return;
  ResetUpdate();
  wchar_t c = FTail.front();
  Feed(c);
  const std::size_t count = std::min(FUpdate.size() + 1, FTail.size());
  FHead += FTail.substr(0, count);
  FTail.erase(0, count);
}

void TcxMaskEditRegExprExMode::UnitLeft() {
  if (FHead.empty()) return;
  ResetUpdate();
  FRegExpr->Prev();
  const std::size_t count = Clamped(FDeleteNumber + 1, FHead.size());
  FTail.insert(0, FHead.substr(FHead.size() - count));
  FHead.erase(FHead.size() - count);
  if (FRegExpr->IsStart()) {
    FTail.insert(0, FHead);
    FHead.clear();
  }
}

void TcxMaskEditRegExprExMode::Resync() {
  if (!IsEditReady() || !FEdit->HandleAllocated() || !FRegExpr->IsCompiled()) return;
  if (NeedsResync()) {
    ResetModel(FEdit->EditText());
    FMouseAction = true;
  }
  if (!FMouseAction) return;
  FMouseAction = false;
  const std::size_t start = static_cast<std::size_t>(FEdit->SelStart());
  const std::size_t end = start + static_cast<std::size_t>(FEdit->SelLength());
  const bool selected = end > start;
  // A caret inside a unit snaps to its edge.
  while (FHead.size() < start && !FTail.empty()) {
    UnitRight();
    if (FHead.size() > start) {
      UnitLeft();
      FEdit->SetInternalSelStart(static_cast<int>(FHead.size()));
      break;
    }
  }
  while (FHead.size() > start) {
    UnitLeft();
    if (FHead.size() < start) {
      FEdit->SetInternalSelStart(static_cast<int>(FHead.size()));
      break;
    }
  }
  if (!selected) return;
  while (FHead.size() < end && !FTail.empty()) UnitRight();
  FEdit->SetInternalSelLength(static_cast<int>(FHead.size()) - FEdit->SelStart());
}

void TcxMaskEditRegExprExMode::CompleteTail() {
  ResetUpdate();
  if (FTail.empty()) return;
  for (wchar_t c : FTail) {
    Feed(c);
    FEdit->SetInternalSelStart(FEdit->SelStart() + 1);
  }
  FRegExpr->SetUpdateOn(true);
  for (const wchar_t c : FUpdate) {
    FTail += c;
    FEdit->SendOwnKeyPress(c);
  }
  FRegExpr->SetUpdateOn(false);
  for (std::size_t i = 0; i < FTail.size(); ++i) {
    FRegExpr->Prev();
    FEdit->SetInternalSelStart(FEdit->SelStart() - 1);
  }
}

void TcxMaskEditRegExprExMode::CompleteOrDropTail() {
  Quietly([this] {
    if (TailFits())
      CompleteTail();
    else
      DropTail();
  });
}

bool TcxMaskEditRegExprExMode::KeepForcedPrefix() {
  if (FEdit->SelStart() != 0) return false;
  ReportForced();
  if (FUpdate.empty()) return false;
  const std::size_t prefix = FUpdate.size();
  const int end = FEdit->SelLength();
  FHead = FUpdate;
  ResetUpdate();
  FTail.insert(0, FSelect);
  FSelect.clear();
  FTail.erase(0, std::min(prefix, FTail.size()));
  FEdit->SetInternalSelStart(static_cast<int>(prefix));
  FEdit->SetInternalSelLength(std::max(end - static_cast<int>(prefix), 0));
  return true;
}

bool TcxMaskEditRegExprExMode::PressSymbol(wchar_t& ASymbol) {
  if (!FRegExpr->IsCompiled()) return true;
  Resync();
  ResetUpdate();
  const bool selected = FEdit->SelLength() > 0;
  if (selected) {
    CutSelection();
    if (KeepForcedPrefix()) return PressSymbol(ASymbol);
  }
  wchar_t c = ASymbol;
  if (Feed(c)) {
    const String forced = FUpdate;
    FHead += c;
    FHead += forced;
    FEdit->SendOwnKeyPress(c);
    for (const wchar_t f : forced) FEdit->SendOwnKeyPress(f);
    CompleteOrDropTail();
  } else {
    if (selected) RestoreSelection();
    BeepOnError();
  }
  FSelect.clear();
  return false;
}

bool TcxMaskEditRegExprExMode::PressBackSpace() {
  if (!FRegExpr->IsCompiled()) return true;
  Resync();
  ResetUpdate();
  if (FEdit->SelLength() > 0) {
    CutSelection();
    if (KeepForcedPrefix()) return PressBackSpace();
    FEdit->SendOwnKeyPress(L'\b');
    CompleteOrDropTail();
  } else if (!FHead.empty()) {
    FRegExpr->Prev();
    if (FRegExpr->IsStart() && FEdit->SelStart() == FDeleteNumber) {
      // Only the forced prefix lies before the caret: it stays.
      wchar_t c = FHead.front();
      Feed(c);
      BeepOnError();
    } else {
      const std::size_t before = FEdit->EditText().size();
      for (int i = 0; i <= FDeleteNumber; ++i) FEdit->SendOwnKeyPress(L'\b');
      const std::size_t lost = before - std::min(before, FEdit->EditText().size());
      FHead.erase(FHead.size() - std::min(lost, FHead.size()));
      CompleteOrDropTail();
    }
  }
  FSelect.clear();
  return false;
}

bool TcxMaskEditRegExprExMode::PressDelete() {
  if (!FRegExpr->IsCompiled()) return true;
  Resync();
  ResetUpdate();
  if (FEdit->SelLength() > 0) return PressBackSpace();
  if (!FTail.empty()) {
    if (FEdit->SelStart() == 0) {
      ReportForced();
      if (!FUpdate.empty()) {
        FRegExpr->Prev();
        ResetUpdate();
        BeepOnError();
        return false;
      }
    }
    wchar_t c = FTail.front();
    const bool accepted = Feed(c);
    const std::size_t count = std::min(FUpdate.size() + 1, FTail.size());
    for (std::size_t i = 0; i < count; ++i) FEdit->SendOwnKeyDown(VK_DELETE);
    FTail.erase(0, count);
    if (accepted) FRegExpr->Prev();
    CompleteOrDropTail();
  }
  FSelect.clear();
  return false;
}

bool TcxMaskEditRegExprExMode::PressLeft() {
  if (!FRegExpr->IsCompiled()) return true;
  Resync();
  ResetUpdate();
  const int length = FEdit->SelLength();
  if (length > 0 && !ShiftOn()) {
    if (FEdit->CursorPos() == FEdit->SelStart() + length) {
      FRegExpr->SetUpdateOn(false);
      inherited::PressLeft();
      ResetUpdate();
      FRegExpr->SetUpdateOn(true);
      if (!FUpdate.empty()) FRegExpr->Prev();
      return true;
    }
    if (FEdit->CursorPos() == FEdit->SelStart()) return true;
  }
  inherited::PressLeft();
  if (FRegExpr->IsStart()) {
    const int start = FEdit->SelStart();
    if (start > 0) {
      if (FDeleteNumber == start) --FDeleteNumber;
    } else if (FDeleteNumber == FEdit->SelLength()) {
      --FDeleteNumber;
    }
  }
  if (FDeleteNumber > 0) {
    const std::size_t count = Clamped(FDeleteNumber, FHead.size());
    FTail.insert(0, FHead.substr(FHead.size() - count));
    FHead.erase(FHead.size() - count);
    for (std::size_t i = 0; i < count; ++i) FEdit->SendOwnKeyDown(VK_LEFT);
  }
  return true;
}

bool TcxMaskEditRegExprExMode::PressRight() {
  if (!FRegExpr->IsCompiled()) return true;
  Resync();
  ResetUpdate();
  const int length = FEdit->SelLength();
  if (length > 0 && !ShiftOn()) {
    if (FEdit->CursorPos() == FEdit->SelStart()) {
      FRegExpr->SetUpdateOn(false);
      inherited::PressRight();
      ResetUpdate();
      FRegExpr->SetUpdateOn(true);
      return true;
    }
    if (FEdit->CursorPos() == FEdit->SelStart() + length) return true;
  }
  inherited::PressRight();
  if (!FUpdate.empty()) {
    const std::size_t count = std::min(FUpdate.size(), FTail.size());
    FHead += FTail.substr(0, count);
    FTail.erase(0, count);
    for (std::size_t i = 0; i < count; ++i) FEdit->SendOwnKeyDown(VK_RIGHT);
  }
  return true;
}
