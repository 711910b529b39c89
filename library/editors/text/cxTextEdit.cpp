// The text editor and its properties: what the hosted edit window asks of
// them.
#include "library/editors/text/cxTextEdit.h"

// ---------------------------------------------------------------------------
// TcxCustomTextEdit

void TcxCustomTextEdit::InitializeEdit() {
  inherited::InitializeEdit();
  FBeepOnEnter = true;
  FFindSelection = false;
  if (TWinControl* inner = InnerControl()) inner->SetColor(clWindow);
  SetBounds(Left(), Top(), 121, 21);
}

TClass TcxCustomTextEdit::GetInnerControlClass() { return TcxCustomInnerTextEdit::ClassInfo(); }

IcxInnerTextEdit* TcxCustomTextEdit::InnerTextEdit() const {
  IcxCustomInnerEdit* inner = InnerEdit();
  return inner ? dynamic_cast<IcxInnerTextEdit*>(inner) : nullptr;
}

void TcxCustomTextEdit::ClearSelection() {
  IcxInnerTextEdit* inner = InnerTextEdit();
  if (!inner || inner->GetSelLength() == 0) return;
  const int start = inner->GetSelStart();
  String text = VarToStr(inner->GetEditValue());
  text.erase(static_cast<size_t>(start), static_cast<size_t>(inner->GetSelLength()));
  inner->SetEditValue(Variant(text));
  inner->SetSelStart(start);
  inner->SetSelLength(0);
}
