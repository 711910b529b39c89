#include "library/editors/edit/dxSpellCheckerCore.h"

#include "library/controls/control/cxControls.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

using TListenerList = std::vector<TNotifyEvent>;

struct TSpellCheckerState {
  IPtr<IdxSpellChecker> Checker;
  IPtr<IdxSpellCheckerKeyListener> KeyListener;
  IPtr<IdxSpellCheckerExtension> Extension;
  std::unique_ptr<TListenerList> Listeners;
};

constinit TSpellCheckerState GState;
int GStartCount = 0;

// A spell checker may unregister itself from inside a forwarded call: the
// local reference keeps it alive until the call returns.
template <class Call>
void Forward(Call ACall) {
  if (const IPtr<IdxSpellChecker> checker = GState.Checker) ACall(*checker.Get());
}

}  // namespace

IdxSpellChecker* TdxSpellCheckerInstance::ISpellChecker() { return GState.Checker.Get(); }
IdxSpellCheckerKeyListener* TdxSpellCheckerInstance::ISpellCheckerKeyListener() { return GState.KeyListener.Get(); }
IdxSpellCheckerExtension* TdxSpellCheckerInstance::ISpellCheckerExtension() { return GState.Extension.Get(); }

void TdxSpellCheckerInstance::SetInstance(TObject* AInstance) {
  GState.Checker = Supports<IdxSpellChecker>(AInstance);
  GState.KeyListener = Supports<IdxSpellCheckerKeyListener>(AInstance);
  GState.Extension = Supports<IdxSpellCheckerExtension>(AInstance);
  if (!GState.Listeners) return;
  // A listener may unregister itself or others, and the last one to go
  // frees the list: walk a copy.
  const TListenerList listeners = *GState.Listeners;
  for (const TNotifyEvent& listener : listeners) CallEvent(listener, AInstance);
}

void TdxSpellCheckerInstance::RegisterListener(TNotifyEvent AListener) {
  if (!GState.Listeners) GState.Listeners = std::make_unique<TListenerList>();
  GState.Listeners->push_back(AListener);
}

void TdxSpellCheckerInstance::UnregisterListener(TNotifyEvent AListener) {
  if (!GState.Listeners) return;
  TListenerList& listeners = *GState.Listeners;
  const auto it = std::find(listeners.begin(), listeners.end(), AListener);
  if (it == listeners.end()) return;
  listeners.erase(it);
  if (listeners.empty()) GState.Listeners.reset();
}

bool TdxSpellCheckerInstance::HasListenerList() { return GState.Listeners != nullptr; }

void TdxSpellCheckerInstance::CheckFinish() {
  Forward([](IdxSpellChecker& AChecker) { AChecker.CheckFinish(); });
}

void TdxSpellCheckerInstance::CheckStart(TWinControl* AControl) {
  Forward([AControl](IdxSpellChecker& AChecker) { AChecker.CheckStart(AControl); });
}

void TdxSpellCheckerInstance::DrawMisspellings(TWinControl* AControl, HDC ADC) {
  Forward([AControl, ADC](IdxSpellChecker& AChecker) { AChecker.DrawMisspellings(AControl, ADC); });
}

void TdxSpellCheckerInstance::LayoutChanged(TWinControl* AControl) {
  Forward([AControl](IdxSpellChecker& AChecker) { AChecker.LayoutChanged(AControl); });
}

void TdxSpellCheckerInstance::SelectionChanged(TWinControl* AControl) {
  Forward([AControl](IdxSpellChecker& AChecker) { AChecker.SelectionChanged(AControl); });
}

void TdxSpellCheckerInstance::TextChanged(TWinControl* AControl) {
  Forward([AControl](IdxSpellChecker& AChecker) { AChecker.TextChanged(AControl); });
}

void TdxSpellCheckerInstance::Undo() {
  Forward([](IdxSpellChecker& AChecker) { AChecker.Undo(); });
}

bool TdxSpellCheckerInstance::QueryPopup(TComponent* APopupMenu, const TPoint& APoint) {
  bool handled = false;
  Forward([&](IdxSpellChecker& AChecker) { handled = AChecker.QueryPopup(APopupMenu, APoint); });
  return handled;
}

namespace {

bool SpellCheckerContextPopup(TcxControl*, TComponent* APopupMenu, const TPoint& APoint) {
  return TdxSpellCheckerInstance::QueryPopup(APopupMenu, APoint);
}

}  // namespace

void dxSpellCheckerCoreInitialization() {
  if (GStartCount++ == 0) SetContextPopupHook(&SpellCheckerContextPopup);
}

void dxSpellCheckerCoreFinalization() {
  if (GStartCount == 0 || --GStartCount > 0) return;
  if (GetContextPopupHook() == &SpellCheckerContextPopup) SetContextPopupHook(nullptr);
  GState.Checker = nullptr;
  GState.KeyListener = nullptr;
  GState.Extension = nullptr;
  GState.Listeners.reset();
}
