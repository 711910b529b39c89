#include "library/controls/scrollbars/dxScrollbarAnnotations.h"

#include "platform/runtime/Handles.h"

#include <algorithm>

void TdxScrollbarAnnotations::Create() { inherited::Create(); }

void TdxScrollbarAnnotations::Destroy() {
  // Each renderer leaves the list through RemoveRenderer as it lets go.
  for (std::size_t i = FRenderers.size(); i-- > 0;) {
    if (i >= FRenderers.size()) continue;
    const IPtr<IdxScrollbarAnnotationRenderer> renderer = FRenderers[i];
    renderer->SetAnnotations(nullptr);
  }
  FRenderers.clear();
  FItemLists.clear();
  inherited::Destroy();
}

void TdxScrollbarAnnotations::AddRenderer(IdxScrollbarAnnotationRenderer* ARenderer) {
  if (ARenderer) FRenderers.emplace_back(ARenderer);
}

void TdxScrollbarAnnotations::RemoveRenderer(IdxScrollbarAnnotationRenderer* ARenderer) {
  const auto it = std::find_if(FRenderers.begin(), FRenderers.end(),
                               [ARenderer](const auto& r) { return r.Get() == ARenderer; });
  if (it != FRenderers.end()) FRenderers.erase(it);
}

void TdxScrollbarAnnotations::InvalidateRenderers(const TdxScrollbarAnnotationKinds& AAnnotationKinds) {
  const auto renderers = FRenderers;
  for (const auto& renderer : renderers) renderer->ScrollbarAnnotationsInvalidate(AAnnotationKinds);
}

int TdxScrollbarAnnotations::GetDataScrollSize() {
  return IsRecordIndexBasedRendering() ? GetScrollableRecordCount() : GetPixelScrollSize();
}

bool TdxScrollbarAnnotations::IsKindVisible(TdxScrollbarAnnotationKind AKind) {
  IdxScrollbarAnnotationOptions* options = GetAnnotationOptions();
  return options && options->IsKindVisible(AKind);
}

void TdxScrollbarAnnotations::GetStyle(TdxScrollbarAnnotationKind AKind, TdxScrollbarAnnotationStyle& AStyle) {
  if (IdxScrollbarAnnotationOptions* options = GetAnnotationOptions()) options->GetStyle(AKind, AStyle);
}

void TdxScrollbarAnnotations::AddRowIndex(TdxScrollbarAnnotationKind AKind, int ARowIndex) {
  if (ARowIndex < GetFirstRecordIndex() || ARowIndex > GetLastRecordIndex()) return;
  FItemLists[AKind].push_back(ARowIndex);
  TdxScrollbarAnnotationKinds kinds;
  kinds.set(AKind);
  Changed(kinds);
}

void TdxScrollbarAnnotations::ClearKind(TdxScrollbarAnnotationKind AKind) {
  const auto it = FItemLists.find(AKind);
  if (it == FItemLists.end()) return;
  it->second.clear();
  TdxScrollbarAnnotationKinds kinds;
  kinds.set(AKind);
  Changed(kinds);
}

void TdxScrollbarAnnotations::Changed(const TdxScrollbarAnnotationKinds& AKinds) {
  FChangedKinds |= AKinds;
  if (FLockCount == 0) NotifyRenderers();
}

void TdxScrollbarAnnotations::EndUpdate() {
  if (FLockCount == 0) return;
  if (--FLockCount == 0 && FChangedKinds.any()) NotifyRenderers();
}

void TdxScrollbarAnnotations::NotifyRenderers() {
  for (auto& [kind, rows] : FItemLists)
    if (FChangedKinds.test(kind)) std::sort(rows.begin(), rows.end());
  // Renderers read ChangedKinds while it still holds the kinds.
  TScopeExit cleared([this] { FChangedKinds.reset(); });
  const auto renderers = FRenderers;
  for (const auto& renderer : renderers) renderer->ScrollbarAnnotationsUpdate();
}

void TdxScrollbarAnnotations::UpdateKinds(const TdxScrollbarAnnotationKinds& AAnnotationKinds) {
  BeginUpdate();
  TScopeExit end([this] { EndUpdate(); });
  TdxScrollbarAnnotationRowIndexList rows;
  for (int kind = 0; kind < 256; ++kind) {
    if (!AAnnotationKinds.test(static_cast<std::size_t>(kind))) continue;
    const auto k = static_cast<TdxScrollbarAnnotationKind>(kind);
    ClearKind(k);
    if (!IsKindVisible(k)) continue;
    PopulateRowIndexes(k, rows);
    for (int row : rows) AddRowIndex(k, row);
    rows.clear();
  }
}

bool TdxScrollbarAnnotations::GoToNext(const TdxScrollbarAnnotationKinds& AKinds, bool AGoForward, bool AGoOnCycle) {
  if (AKinds.none()) return false;
  const int current = CurrentRecordIndex();
  const int first = GetFirstRecordIndex();
  const int last = GetLastRecordIndex();
  if (!AGoOnCycle && (AGoForward ? current >= last : first >= current)) return false;
  const int start = AGoForward ? (current < last ? current + 1 : first) : (first < current ? current - 1 : last);

  int found = -1;
  for (const auto& [kind, rows] : FItemLists) {
    if (!AKinds.test(kind) || rows.empty()) continue;
    const auto at = std::lower_bound(rows.begin(), rows.end(), start);
    if (at != rows.end() && *at == start) {
      found = start;
      break;
    }
    const bool allBefore = at == rows.end();
    const bool allAfter = at == rows.begin();
    if (!AGoOnCycle && (AGoForward ? allBefore : allAfter)) continue;
    const int candidate = AGoForward ? (allBefore ? rows.front() : *at) : (allAfter ? rows.back() : *(at - 1));
    if (found == -1) {
      found = candidate;
      continue;
    }
    // A row on the far side of the start comes only after a wrap: the near
    // side wins, and within a side the nearest row.
    const bool oppositeSides = (candidate > start) != (found > start);
    if (AGoForward)
      found = oppositeSides ? std::max(found, candidate) : std::min(found, candidate);
    else
      found = oppositeSides ? std::min(found, candidate) : std::max(found, candidate);
  }
  if (found == -1) return false;
  SetCurrentRecordIndex(found);
  return true;
}
