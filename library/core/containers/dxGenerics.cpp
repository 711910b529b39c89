#include "library/core/containers/dxGenerics.h"

#include <algorithm>

void TdxOrdinalList<void>::Destroy() {
  Clear();
  inherited::Destroy();
}

void TdxOrdinalList<void>::SetCapacity(int AValue) {
  if (AValue < FCount) dxListCapacityError(AValue);
  if (AValue == FCapacity) return;
  FList.resize(static_cast<std::size_t>(AValue));
  if (AValue == 0) FList.shrink_to_fit();
  FCapacity = AValue;
}

void TdxOrdinalList<void>::SetCount(int AValue) {
  if (AValue < 0) dxListCountError(AValue);
  if (AValue > FCapacity) SetCapacity(AValue);
  if (AValue > FCount) {
    std::fill(FList.begin() + FCount, FList.begin() + AValue, 0u);
    FCount = AValue;
    return;
  }
  // Shrinking: the tail leaves first, then each value is reported in order.
  const std::vector<std::uint32_t> removed(FList.begin() + AValue, FList.begin() + FCount);
  std::fill(FList.begin() + AValue, FList.begin() + FCount, 0u);
  FCount = AValue;
  for (std::uint32_t value : removed) Notify(value, Generics::cnRemoved);
}

void TdxOrdinalList<void>::InsertValue(int AIndex, std::uint32_t AValue) {
  if (AIndex < 0 || AIndex > FCount) dxListIndexError(AIndex);
  if (FCount == FCapacity) SetCapacity(dxGrowCapacity(FCapacity));
  std::copy_backward(FList.begin() + AIndex, FList.begin() + FCount, FList.begin() + FCount + 1);
  FList[static_cast<std::size_t>(AIndex)] = AValue;
  ++FCount;
  Notify(AValue, Generics::cnAdded);
}

void TdxOrdinalList<void>::Delete(int AIndex) {
  CheckIndex(AIndex);
  const std::uint32_t value = FList[static_cast<std::size_t>(AIndex)];
  std::copy(FList.begin() + AIndex + 1, FList.begin() + FCount, FList.begin() + AIndex);
  --FCount;
  FList[static_cast<std::size_t>(FCount)] = 0;
  Notify(value, Generics::cnRemoved);
}

void TdxOrdinalList<void>::DeleteRange(int AIndex, int ACount) {
  if (!dxIsValidRange(AIndex, ACount, FCount)) dxListRangeError();
  if (ACount == 0) return;
  const std::vector<std::uint32_t> removed(FList.begin() + AIndex, FList.begin() + AIndex + ACount);
  std::copy(FList.begin() + AIndex + ACount, FList.begin() + FCount, FList.begin() + AIndex);
  std::fill(FList.begin() + FCount - ACount, FList.begin() + FCount, 0u);
  FCount -= ACount;
  for (std::uint32_t value : removed) Notify(value, Generics::cnRemoved);
}

int TdxOrdinalList<void>::IndexOfValue(std::uint32_t AValue) const {
  const auto end = FList.begin() + FCount;
  const auto it = std::find(FList.begin(), end, AValue);
  return it == end ? -1 : static_cast<int>(it - FList.begin());
}

int TdxOrdinalList<void>::LastIndexOfValue(std::uint32_t AValue) const {
  for (int i = FCount - 1; i >= 0; --i)
    if (FList[static_cast<std::size_t>(i)] == AValue) return i;
  return -1;
}

int TdxOrdinalList<void>::RemoveValue(std::uint32_t AValue) {
  const int index = IndexOfValue(AValue);
  if (index >= 0) Delete(index);
  return index;
}

std::uint32_t TdxOrdinalList<void>::ExtractByIndexValue(int AIndex) {
  CheckIndex(AIndex);
  const std::uint32_t value = FList[static_cast<std::size_t>(AIndex)];
  std::copy(FList.begin() + AIndex + 1, FList.begin() + FCount, FList.begin() + AIndex);
  --FCount;
  FList[static_cast<std::size_t>(FCount)] = 0;
  Notify(value, Generics::cnExtracted);
  return value;
}

std::uint32_t TdxOrdinalList<void>::ExtractValue(std::uint32_t AValue, TdxListDirection ADirection) {
  const int index = ADirection == ldFromBeginning ? IndexOfValue(AValue) : LastIndexOfValue(AValue);
  return index < 0 ? 0 : ExtractByIndexValue(index);
}

void TdxOrdinalList<void>::SetValue(int AIndex, std::uint32_t AValue) {
  CheckIndex(AIndex);
  const std::uint32_t old = FList[static_cast<std::size_t>(AIndex)];
  FList[static_cast<std::size_t>(AIndex)] = AValue;
  Notify(old, Generics::cnRemoved);
  Notify(AValue, Generics::cnAdded);
}

void TdxOrdinalList<void>::Move(int ACurrentIndex, int ANewIndex) {
  if (ACurrentIndex == ANewIndex) return;
  CheckIndex(ANewIndex);
  CheckIndex(ACurrentIndex);
  const std::uint32_t value = FList[static_cast<std::size_t>(ACurrentIndex)];
  std::copy(FList.begin() + ACurrentIndex + 1, FList.begin() + FCount, FList.begin() + ACurrentIndex);
  --FCount;
  InsertValue(ANewIndex, value);
}

void TdxOrdinalList<void>::Exchange(int AIndex1, int AIndex2) {
  CheckIndex(AIndex1);
  CheckIndex(AIndex2);
  std::swap(FList[static_cast<std::size_t>(AIndex1)], FList[static_cast<std::size_t>(AIndex2)]);
}

void TdxOrdinalList<void>::Reverse() { std::reverse(FList.begin(), FList.begin() + FCount); }

void TdxOrdinalList<void>::Clear() {
  SetCount(0);
  SetCapacity(0);
}

void TdxOrdinalList<void>::Sort() {
  std::sort(FList.begin(), FList.begin() + FCount,
            [](std::uint32_t A, std::uint32_t B) { return static_cast<std::int32_t>(A) < static_cast<std::int32_t>(B); });
}

template <class C>
void TdxOrdinalList<void>::SortWith(C&& ASort) {
  if (FCount < 2) return;
  // The sort kernel works on pointers: each value rides in one.
  std::vector<void*> items(static_cast<std::size_t>(FCount));
  for (int i = 0; i < FCount; ++i)
    items[static_cast<std::size_t>(i)] = reinterpret_cast<void*>(static_cast<std::uintptr_t>(FList[static_cast<std::size_t>(i)]));
  ASort(items.data(), FCount);
  for (int i = 0; i < FCount; ++i)
    FList[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(items[static_cast<std::size_t>(i)]));
}

void TdxOrdinalList<void>::Sort(TCompareItems ACompare, bool AMultiThreaded) {
  SortWith([&](void** AItems, int ACount) {
    if (dxUseMultithreadedSort(AMultiThreaded, ACount))
      dxMultithreadedSort(AItems, ACount, [ACompare](void* A, void* B) { return ACompare(A, B); });
    else
      dxInternalQuickSortList(AItems, ACount, ACompare);
  });
}

void TdxOrdinalList<void>::Sort(TListSortCompare ACompare, bool AMultiThreaded) {
  SortWith([&](void** AItems, int ACount) {
    if (dxUseMultithreadedSort(AMultiThreaded, ACount)) dxMultithreadedSort(AItems, ACount, ACompare);
    else dxInternalQuickSortList(AItems, ACount, ACompare);
  });
}

void TdxOrdinalList<void>::SortList(const TdxListSortCompareDelegate& ACompare) {
  SortWith([&](void** AItems, int ACount) { dxInternalQuickSortList(AItems, ACount, ACompare); });
}
