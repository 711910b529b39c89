#include "library/graphics/system/cxSystemPaletteChangedNotifier.h"

#include "library/core/system/cxMessageWindow.h"
#include "platform/runtime/Handles.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

TcxSystemPaletteColorSet GColorSet;

void CallColorSet(void (*AProc)()) {
  if (AProc) AProc();
}

class TcxSystemPaletteChangedListener;
void FreeEmptyListener(TcxSystemPaletteChangedListener* AListener);

// The hidden window that hears WM_SYSCOLORCHANGE for every notifier.
class TcxSystemPaletteChangedListener : public TcxMessageWindow {
  SK_CLASS(TcxSystemPaletteChangedListener, TcxMessageWindow)
 public:
  // The colour set comes before the window, and goes after it.
  void Create() override {
    CallColorSet(GColorSet.Acquire);
    FColorSetAcquired = true;
    inherited::Create();
  }
  void Destroy() override {
    inherited::Destroy();
    if (std::exchange(FColorSetAcquired, false)) CallColorSet(GColorSet.Release);
  }
  void Add(TcxSystemPaletteChangedNotifier* ANotifier) {
    (ANotifier->IsPrimary() ? FPrimaryNotifierList : FNotifierList).push_back(ANotifier);
  }
  void Remove(TcxSystemPaletteChangedNotifier* ANotifier) {
    for (auto* list : {&FPrimaryNotifierList, &FNotifierList}) std::erase(*list, ANotifier);
  }
  bool Empty() const { return FPrimaryNotifierList.empty() && FNotifierList.empty(); }
  // While the notifiers are told, the last one to go leaves the listener to
  // free itself when it is done.
  bool Notifying() const { return FNotifying; }

 protected:
  // A top-level window: it hears the system's broadcasts.
  bool IsMessageOnly() override { return false; }
  void WndProc(TMessage& AMessage) override {
    if (AMessage.Msg != WM_SYSCOLORCHANGE) return inherited::WndProc(AMessage);
    CallColorSet(GColorSet.Refresh);
    {
      FNotifying = true;
      const TScopeExit done([this] { FNotifying = false; });
      NotifyAll();
    }
    inherited::WndProc(AMessage);
    if (Empty()) FreeEmptyListener(this);
  }

 private:
  // A handler may free notifiers (its own among them): the lists are walked
  // as they were, and a notifier gone meanwhile is skipped.
  void NotifyAll() {
    const std::vector<TcxSystemPaletteChangedNotifier*> primary = FPrimaryNotifierList;
    const std::vector<TcxSystemPaletteChangedNotifier*> ordinary = FNotifierList;
    for (const auto* list : {&primary, &ordinary})
      for (auto it = list->rbegin(); it != list->rend(); ++it)
        if (Contains(*it)) (*it)->DoSystemPaletteChanged();
  }
  bool Contains(TcxSystemPaletteChangedNotifier* ANotifier) const {
    return std::ranges::find(FPrimaryNotifierList, ANotifier) != FPrimaryNotifierList.end() ||
           std::ranges::find(FNotifierList, ANotifier) != FNotifierList.end();
  }

  std::vector<TcxSystemPaletteChangedNotifier*> FNotifierList;
  std::vector<TcxSystemPaletteChangedNotifier*> FPrimaryNotifierList;
  bool FNotifying;
  bool FColorSetAcquired;
};

TcxSystemPaletteChangedListener* GListener = nullptr;

void FreeEmptyListener(TcxSystemPaletteChangedListener* AListener) {
  if (GListener == AListener) GListener = nullptr;
  AListener->Free();
}

}  // namespace

void SetSystemPaletteColorSet(const TcxSystemPaletteColorSet& ASet) {
  if (GListener) CallColorSet(GColorSet.Release);
  GColorSet = ASet;
  if (GListener) CallColorSet(GColorSet.Acquire);
}

void TcxSystemPaletteChangedNotifier::Create(bool AIsPrimary) {
  inherited::Create();
  FIsPrimary = AIsPrimary;
  if (!GListener) GListener = New<TcxSystemPaletteChangedListener>();
  GListener->Add(this);
}

void TcxSystemPaletteChangedNotifier::Destroy() {
  if (GListener) {
    GListener->Remove(this);
    if (GListener->Empty() && !GListener->Notifying()) FreeEmptyListener(GListener);
  }
  inherited::Destroy();
}

void TcxSystemPaletteChangedNotifier::DoSystemPaletteChanged() { CallEvent(FOnSystemPaletteChanged, this); }
