// The painters manager.
#include "library/lookandfeel/painters/cxLookAndFeelPainters_Internal.h"

#include "library/core/base/dxCore.h"
#include "library/lookandfeel/settings/cxLookAndFeels.h"

#include <algorithm>

namespace {

TcxLookAndFeelPaintersManager* GManager = nullptr;

// The built-in painters, in the order they are registered.
TClass BuiltInPainterClass(std::size_t AIndex) {
  static const TClass classes[] = {
      TcxStandardLookAndFeelPainter::ClassInfo(), TcxFlatLookAndFeelPainter::ClassInfo(),
      TcxUltraFlatLookAndFeelPainter::ClassInfo(), TcxOffice11LookAndFeelPainter::ClassInfo(),
      TcxWinXPLookAndFeelPainter::ClassInfo()};
  return AIndex < std::size(classes) ? classes[AIndex] : nullptr;
}

void RefreshRootLookAndFeel() {
  if (HasRootLookAndFeel()) GetRootLookAndFeel()->Refresh();
}

// Calls ANotify for each listener, the last added first; a listener that
// goes meanwhile is not called.
template <class F>
void NotifyListeners(const std::vector<IPtr<IcxLookAndFeelPainterListener>>& AListeners, F&& ANotify) {
  const std::vector<IPtr<IcxLookAndFeelPainterListener>> listeners = AListeners;
  for (auto it = listeners.rbegin(); it != listeners.rend(); ++it)
    if (std::ranges::find(AListeners, *it) != AListeners.end()) ANotify(it->Get());
}

}  // namespace

TcxLookAndFeelPaintersManager* GetPaintersManager() {
  if (cxLookAndFeelPaintersFinalized()) return nullptr;
  if (!GManager) {
    GManager = New<TcxLookAndFeelPaintersManager>();
    // The first look-and-feels resolve their painters themselves.
    GManager->BeginUpdate();
    const TScopeExit unlock([] { GManager->CancelUpdate(); });
    for (std::size_t i = 0; TClass painter = BuiltInPainterClass(i); ++i)
      GManager->Register(TOwned<TcxCustomLookAndFeelPainter>(NewOfClass<TcxCustomLookAndFeelPainter>(painter)));
  }
  return GManager;
}

TcxLookAndFeelPaintersManager* cxPaintersManagerIfExists() { return GManager; }

void cxFreePaintersManager() { ScheduleGlobalObjectFree(GManager); }

// ---------------------------------------------------------------------------
// TcxLookAndFeelPaintersManager

void TcxLookAndFeelPaintersManager::Create() {
  inherited::Create();
  FStandardPainters.fill(nullptr);
}

void TcxLookAndFeelPaintersManager::Destroy() {
  FListeners.clear();
  FStandardPainters.fill(nullptr);
  FPainters.clear();
  inherited::Destroy();
}

bool TcxLookAndFeelPaintersManager::Register(TOwned<TcxCustomLookAndFeelPainter> APainter) {
  const String name = APainter->LookAndFeelName();
  if (GetPainter(name)) return false;
  TcxCustomLookAndFeelPainter* painter = APainter.get();
  const auto position = std::ranges::upper_bound(FPainters, name, [](const String& A, const String& B) {
    return AnsiCompareStr(A, B) < 0;
  }, [](const TOwned<TcxCustomLookAndFeelPainter>& P) { return P->LookAndFeelName(); });
  FPainters.insert(position, std::move(APainter));
  FStandardPainters[painter->LookAndFeelStyle()] = painter;
  Changed();
  NotifyListeners(FListeners, [painter](IcxLookAndFeelPainterListener* L) { L->PainterAdded(painter); });
  return true;
}

bool TcxLookAndFeelPaintersManager::Unregister(const String& AName) {
  const auto it = std::ranges::find_if(FPainters, [&](const auto& P) { return AnsiSameText(P->LookAndFeelName(), AName); });
  if (it == FPainters.end()) return false;
  const TOwned<TcxCustomLookAndFeelPainter> removed = std::move(*it);
  FPainters.erase(it);
  // A later painter of the same style may have taken the entry over.
  TcxCustomLookAndFeelPainter*& entry = FStandardPainters[removed->LookAndFeelStyle()];
  if (entry == removed.get()) entry = nullptr;
  TryFinally(
      [&] {
        Changed();
        NotifyListeners(FListeners, [&](IcxLookAndFeelPainterListener* L) { L->PainterRemoved(removed.get()); });
      },
      // The refresh passes by look-and-feels that assign every value, and
      // none is refreshed while the manager is locked.
      [&] { cxLookAndFeelsPainterRemoved(removed.get()); });
  return true;
}

TcxCustomLookAndFeelPainter* TcxLookAndFeelPaintersManager::GetPainter(TcxLookAndFeelStyle AStyle) const {
  return FStandardPainters[AStyle];
}

bool TcxLookAndFeelPaintersManager::GetPainter(TcxLookAndFeelStyle AStyle,
                                               TcxCustomLookAndFeelPainter*& APainter) const {
  APainter = GetPainter(AStyle);
  return APainter != nullptr;
}

TcxCustomLookAndFeelPainter* TcxLookAndFeelPaintersManager::GetPainter(const String& AName) const {
  const auto it = std::ranges::find_if(FPainters, [&](const auto& P) { return AnsiSameText(P->LookAndFeelName(), AName); });
  return it == FPainters.end() ? nullptr : it->get();
}

bool TcxLookAndFeelPaintersManager::GetPainter(const String& AName, TcxCustomLookAndFeelPainter*& APainter) const {
  APainter = GetPainter(AName);
  return APainter != nullptr;
}

void TcxLookAndFeelPaintersManager::PopulateSkinNames(TStrings* AList) const {
  WithUpdate(AList, [&] {
    for (const auto& painter : FPainters)
      if (painter->LookAndFeelStyle() == lfsSkin) AList->Add(painter->LookAndFeelName());
  });
}

void TcxLookAndFeelPaintersManager::AddListener(IcxLookAndFeelPainterListener* AListener) {
  const IPtr<IcxLookAndFeelPainterListener> listener(AListener);
  if (std::ranges::find(FListeners, listener) == FListeners.end()) FListeners.push_back(listener);
}

void TcxLookAndFeelPaintersManager::RemoveListener(IcxLookAndFeelPainterListener* AListener) {
  std::erase(FListeners, IPtr<IcxLookAndFeelPainterListener>(AListener));
}

void TcxLookAndFeelPaintersManager::EndUpdate() {
  if (--FLockCount == 0) Changed();
}

void TcxLookAndFeelPaintersManager::FreePaintersCachedResources() {
  for (const auto& painter : FPainters) painter->FreeCachedResources();
}

void TcxLookAndFeelPaintersManager::Changed() {
  if (FLockCount == 0) RefreshRootLookAndFeel();
}
