// TcxCustomEdit: focus entry and exit, where a value is validated and posted
// when the user leaves the editor, and the focus state with the
// application's active state.
#include "library/editors/edit/cxEdit_Internal.h"
#include "library/editors/edit/dxSpellCheckerCore.h"

#include "platform/ui/Forms.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// Entry

void TcxCustomEdit::DoEnter() {
  if (IsDestroying()) return;
  ProcessEnter();
  ShortRefreshContainer(false);
  if (HasInnerControl()) TdxSpellCheckerInstance::CheckStart(InnerControl());
}

void TcxCustomEdit::ProcessEnter() {
  PushModifiedState();
  TryFinally(
      [this] {
        // While an error pulls the focus back the editor was never left.
        if (!FValidateErrorProcessing) {
          const TControlTracker alive(this);
          inherited::DoEnter();
          if (!alive.Alive()) return;
          if (SyncsOnFocusChange()) FDataBinding->UpdateDisplayValue();
        }
        if (ActiveProperties()->IsResetEditClass()) SavePrevEditValue(EditValue());
        if (SyncsOnFocusChange()) SyncDisplayValue();
      },
      [this] {
        PopModifiedState();
        FModifiedAfterEnter = false;
      });
}

void TcxCustomEdit::CMEnter(TMessage& Message) {
  const TControlTracker alive(this);
  InheritedMessage<TcxCustomEdit>(Message);
  if (!alive.Alive()) return;
  if (HasInnerEdit() && FDataBinding->CanModify() && !ActiveProperties()->ReadOnly()) InnerEdit()->SetReadOnly(false);
}

// ---------------------------------------------------------------------------
// Exit

void TcxCustomEdit::DoExit() {
  DisableUserAction();
  TryFinally(
      [this] {
        if (HasInnerControl()) TdxSpellCheckerInstance::CheckFinish();
        ProcessExit(true);
      },
      [this] { EnableUserAction(); });
}

void TcxCustomEdit::DeferredExitMessage(TMessage&) {
  if (FDataBinding->DefaultValuesProvider()->IsDataStorage()) ProcessExit(true);
}

void TcxCustomEdit::ProcessExit(bool ARaiseExit) {
  if (IsDestroying() || FValidateErrorProcessing) return;
  PushModifiedState();
  FIsHiding = true;
  TryFinally(
      [&] {
        TryFinally(
            [this] {
              LockChangeEvents(true);
              TryFinally(
                  [this] {
                    ValidateByOptions(false);
                    if (!IsInplace() && CanPostEditValue()) PostValueCore(false);
                  },
                  [this] { LockChangeEvents(false); });
              if (SyncsOnFocusChange()) FDataBinding->UpdateDisplayValue();
              UpdateDrawValue();
              ShortRefreshContainer(false);
            },
            // OnExit sees the flags as they were before the post.
            [this] { PopModifiedState(); });
        if (ARaiseExit) TryFinally([this] { inherited::DoExit(); }, [this] { FModifiedAfterEnter = false; });
      },
      [this] { FIsHiding = false; });
}

// ---------------------------------------------------------------------------
// Focus state

void TcxCustomEdit::FocusChanged() {
  if (IsDestroying() || FValidateErrorProcessing) return;
  // An editor of an inactive application shows no focus.
  const TApplication* application = Application();
  const bool focused = Focused() && (!application || application->Active());
  if (focused == FFocused) return;
  FFocused = focused;
  const TControlTracker alive(this);
  inherited::FocusChanged();
  if (alive.Alive()) EditFocusChanged();
}

void TcxCustomEdit::EditFocusChanged() {
  UpdateDrawValue();
  // A modal form closed with any result but Cancel takes the focused value:
  // no exit processing runs, since its active control stays.
  const TCustomForm* form = GetParentForm(this);
  if (form && !form->Visible() && form->FormState().Contains(fsModal) && form->ModalResult() != mrNone &&
      form->ModalResult() != mrCancel)
    ValidateByOptions(false);
}

void TcxCustomEdit::FocusAndSelect() {
  SetFocus();
  if (ActiveProperties()->AutoSelect()) SelectAll();
}

bool TcxCustomEdit::ShouldFocusOnClick() { return inherited::ShouldFocusOnClick() && FNeedFocusOnClick; }

void TcxCustomEdit::GetTabOrderList(std::vector<TWinControl*>& AList) {
  inherited::GetTabOrderList(AList);
  // In place the editor stands for the cell of its parent, which is not a
  // stop of its own.
  if (IsInplace() && Visible()) std::erase(AList, Parent());
}

void TcxCustomEdit::CMShowingChanged(TMessage& Message) {
  const TControlTracker alive(this);
  InheritedMessage<TcxCustomEdit>(Message);
  if (alive.Alive() && Showing() && HasInnerControl()) AdjustInnerControlLocked();
}
