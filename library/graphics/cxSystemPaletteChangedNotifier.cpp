#include "library/graphics/cxSystemPaletteChangedNotifier.h"

#include "platform/ui/WindowAllocation.h"

#include <algorithm>
#include <vector>

namespace {

// The hidden window that hears WM_SYSCOLORCHANGE for every notifier.
class TcxSystemPaletteChangedListener : public TObject {
  SK_CLASS(TcxSystemPaletteChangedListener, TObject)
 public:
  void Create() {
    inherited::Create();
    FWindowHandle = AllocateHWnd(BindEvent<&TcxSystemPaletteChangedListener::WndProc>(this));
  }
  void Destroy() override {
    DeallocateHWnd(std::exchange(FWindowHandle, nullptr));
    inherited::Destroy();
  }

  void Add(TcxSystemPaletteChangedNotifier* ANotifier) {
    (ANotifier->IsPrimary() ? FPrimaryNotifierList : FNotifierList).push_back(ANotifier);
  }
  void Remove(TcxSystemPaletteChangedNotifier* ANotifier) {
    for (auto* list : {&FPrimaryNotifierList, &FNotifierList}) std::erase(*list, ANotifier);
  }
  bool Empty() const { return FPrimaryNotifierList.empty() && FNotifierList.empty(); }

 private:
  void WndProc(TMessage& AMessage) {
    try {
      if (AMessage.Msg == WM_SYSCOLORCHANGE) NotifyAll();
    } catch (...) {
      HandleCallbackException(this);
    }
    AMessage.Result = DefWindowProcW(FWindowHandle, AMessage.Msg, AMessage.WParam, AMessage.LParam);
  }

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
  HWND FWindowHandle;
};

TcxSystemPaletteChangedListener* GListener = nullptr;

}  // namespace

void TcxSystemPaletteChangedNotifier::Create(bool AIsPrimary) {
  inherited::Create();
  FIsPrimary = AIsPrimary;
  if (!GListener) GListener = New<TcxSystemPaletteChangedListener>();
  GListener->Add(this);
}

void TcxSystemPaletteChangedNotifier::Destroy() {
  if (GListener) {
    GListener->Remove(this);
    if (GListener->Empty()) FreeAndNil(GListener);
  }
  inherited::Destroy();
}

void TcxSystemPaletteChangedNotifier::DoSystemPaletteChanged() { CallEvent(FOnSystemPaletteChanged, this); }
