// Fast lists, their sort entry and the string comparers.
#include "library/core/base/dxCoreClasses.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <unordered_set>
#include <vector>

namespace {

const wchar_t* const SListIndexError = L"Listenindex außerhalb des gültigen Bereichs (%d)";
const wchar_t* const SListCapacityError = L"Kapazität der Liste ist erschöpft (%d)";
const wchar_t* const SListCountError = L"Zu viele Einträge in der Liste (%d)";
const wchar_t* const SArgumentOutOfRange = L"Argument außerhalb des Bereichs";

TdxMultithreadedSortHooks GSortHooks;

}  // namespace

void dxListIndexError(int AIndex) { throw EListError(SListIndexError, {AIndex}); }
void dxListCapacityError(int ACapacity) { throw EListError(SListCapacityError, {ACapacity}); }
void dxListCountError(int ACount) { throw EListError(SListCountError, {ACount}); }
void dxListRangeError() { throw EListError(String(SArgumentOutOfRange)); }

void SetMultithreadedSortHooks(const TdxMultithreadedSortHooks& AHooks) { GSortHooks = AHooks; }

bool dxUseMultithreadedSort(bool AMultiThreaded, int ACount) {
  return AMultiThreaded && ACount > 32 && GSortHooks.Sort && GSortHooks.IsMultithreadingEnabled &&
         GSortHooks.IsMultithreadingEnabled();
}

void dxMultithreadedSort(void** AList, int ACount, const TdxListSortCompareDelegate& ACompare) {
  GSortHooks.Sort(AList, ACount, ACompare);
}

// ---------------------------------------------------------------------------
// TdxFastList

void TdxFastList::Create(int ACapacity) {
  inherited::Create();
  SetCapacity(ACapacity);
}

void TdxFastList::Destroy() {
  // A half-built list (a raising Create) has nothing to clear.
  if (FList || FCount) Clear();
  std::free(FList);
  FList = nullptr;
  inherited::Destroy();
}

// The block may be larger than the capacity: growth by items doubles the
// block, so that appending stays linear however the capacity grows, while
// Capacity follows the growth rule exactly. An explicit capacity far below
// the block gives memory back.
void TdxFastList::Reallocate(int ACapacity, bool AGrowing) {
  if (ACapacity == 0) {
    std::free(FList);
    FList = nullptr;
    FAllocated = 0;
  } else if (ACapacity > FAllocated || (!AGrowing && ACapacity < FAllocated / 2)) {
    std::size_t allocated = static_cast<std::size_t>(ACapacity);
    if (AGrowing) allocated = std::max<std::size_t>(allocated, std::min<std::size_t>(INT32_MAX, 2 * static_cast<std::size_t>(FAllocated)));
    auto* list = static_cast<TdxPointerList>(std::malloc(allocated * sizeof(void*)));
    if (!list) throw EOutOfMemory(L"Zu wenig Arbeitsspeicher");
    if (FCount) std::memcpy(list, FList, static_cast<std::size_t>(FCount) * sizeof(void*));
    std::free(FList);
    FList = list;
    FAllocated = static_cast<int>(allocated);
  }
  FCapacity = ACapacity;
}

void TdxFastList::Grow() { Reallocate(dxGrowCapacity(FCapacity), true); }

void TdxFastList::SetCapacity(int AValue) {
  if (AValue < FCount) dxListCapacityError(AValue);
  if (AValue != FCapacity) Reallocate(AValue, false);
}

void TdxFastList::SetCount(int AValue) {
  if (AValue < 0) dxListCountError(AValue);
  if (AValue > FCapacity) SetCapacity(AValue);
  if (AValue > FCount)
    std::memset(FList + FCount, 0, static_cast<std::size_t>(AValue - FCount) * sizeof(void*));
  FCount = AValue;
}

void TdxFastList::SetItems(int AIndex, void* AItem) {
  if (static_cast<unsigned>(AIndex) >= static_cast<unsigned>(FCount)) dxListIndexError(AIndex);
  FList[AIndex] = AItem;
}

void TdxFastList::Insert(int AIndex, void* AItem) {
  if (static_cast<unsigned>(AIndex) > static_cast<unsigned>(FCount)) dxListIndexError(AIndex);
  if (FCount == FCapacity) Grow();
  if (AIndex < FCount)
    std::memmove(FList + AIndex + 1, FList + AIndex, static_cast<std::size_t>(FCount - AIndex) * sizeof(void*));
  FList[AIndex] = AItem;
  ++FCount;
}

void TdxFastList::InsertRange(int AIndex, TdxFastList* AList) {
  if (static_cast<unsigned>(AIndex) > static_cast<unsigned>(FCount)) dxListIndexError(AIndex);
  if (Empty(AList)) return;
  const int count = AList->FCount;
  if (static_cast<std::int64_t>(FCount) + count > INT32_MAX) dxListCountError(count);
  // Inserting a list into itself: copy its items before they move.
  std::vector<void*> own;
  void* const* source = AList->FList;
  if (AList == this) {
    own.assign(FList, FList + FCount);
    source = own.data();
  }
  if (FCount + count > FCapacity) SetCapacity(FCount + count);
  if (AIndex < FCount)
    std::memmove(FList + AIndex + count, FList + AIndex, static_cast<std::size_t>(FCount - AIndex) * sizeof(void*));
  std::memcpy(FList + AIndex, source, static_cast<std::size_t>(count) * sizeof(void*));
  FCount += count;
}

void TdxFastList::RemoveRange(int AIndex, int ACount) {
  if (ACount <= 0) return;
  const int tail = FCount - AIndex - ACount;
  if (tail > 0) std::memmove(FList + AIndex, FList + AIndex + ACount, static_cast<std::size_t>(tail) * sizeof(void*));
  FCount -= ACount;
}

void TdxFastList::Delete(int AIndex) {
  if (static_cast<unsigned>(AIndex) >= static_cast<unsigned>(FCount)) dxListIndexError(AIndex);
  RemoveRange(AIndex, 1);
}

void TdxFastList::DeleteRange(int AIndex, int ACount) {
  if (!dxIsValidRange(AIndex, ACount, FCount)) dxListRangeError();
  RemoveRange(AIndex, ACount);
}

void TdxFastList::Clear() {
  FCount = 0;
  SetCapacity(0);
}

void TdxFastList::Exchange(int AIndex1, int AIndex2) {
  if (static_cast<unsigned>(AIndex1) >= static_cast<unsigned>(FCount)) dxListIndexError(AIndex1);
  if (static_cast<unsigned>(AIndex2) >= static_cast<unsigned>(FCount)) dxListIndexError(AIndex2);
  std::swap(FList[AIndex1], FList[AIndex2]);
}

TdxFastList* TdxFastList::Expand() {
  if (FCount == FCapacity) Grow();
  return this;
}

void* TdxFastList::First() const {
  if (FCount == 0) dxListIndexError(0);
  return FList[0];
}

void* TdxFastList::Last() const {
  if (FCount == 0) dxListIndexError(-1);
  return FList[FCount - 1];
}

TList* TdxFastList::GetTList() const {
  TOwned<TList> list(New<TList>());
  list->SetCapacity(FCount);
  for (int i = 0; i < FCount; ++i) list->Add(FList[i]);
  return list.release();
}

int TdxFastList::IndexOf(void* AItem, TdxListDirection ADirection) const {
  if (ADirection == ldFromBeginning) {
    void* const* end = FList + FCount;
    void* const* it = std::find(static_cast<void* const*>(FList), end, AItem);
    return it == end ? -1 : static_cast<int>(it - FList);
  }
  for (int i = FCount - 1; i >= 0; --i)
    if (FList[i] == AItem) return i;
  return -1;
}

void* TdxFastList::Extract(void* AItem, TdxListDirection ADirection) {
  const int index = IndexOf(AItem, ADirection);
  if (index < 0) return nullptr;
  RemoveRange(index, 1);
  return AItem;
}

void* TdxFastList::ExtractByIndex(int AIndex) {
  if (static_cast<unsigned>(AIndex) >= static_cast<unsigned>(FCount)) dxListIndexError(AIndex);
  void* item = FList[AIndex];
  RemoveRange(AIndex, 1);
  return item;
}

void TdxFastList::Move(int ACurrentIndex, int ANewIndex) {
  if (ACurrentIndex == ANewIndex) return;
  if (static_cast<unsigned>(ANewIndex) >= static_cast<unsigned>(FCount)) dxListIndexError(ANewIndex);
  if (static_cast<unsigned>(ACurrentIndex) >= static_cast<unsigned>(FCount)) dxListIndexError(ACurrentIndex);
  void* item = FList[ACurrentIndex];
  if (ACurrentIndex < ANewIndex)
    std::memmove(FList + ACurrentIndex, FList + ACurrentIndex + 1,
                 static_cast<std::size_t>(ANewIndex - ACurrentIndex) * sizeof(void*));
  else
    std::memmove(FList + ANewIndex + 1, FList + ANewIndex,
                 static_cast<std::size_t>(ACurrentIndex - ANewIndex) * sizeof(void*));
  FList[ANewIndex] = item;
}

void TdxFastList::Pack(void* APattern) {
  void** end = std::remove(FList, FList + FCount, APattern);
  FCount = static_cast<int>(end - FList);
}

int TdxFastList::Remove(void* AItem) {
  const int index = IndexOf(AItem);
  if (index >= 0) Delete(index);
  return index;
}

void TdxFastList::Reverse() { std::reverse(FList, FList + FCount); }

void TdxFastList::Assign(TdxFastList* ASource, TListAssignOp AOperator) {
  if (!ASource) return;
  // A copy, since the source may be this very list.
  const std::vector<void*> items(ASource->FList, ASource->FList + ASource->FCount);
  AssignItems(items.data(), ASource->FCount, ASource->FCapacity, AOperator);
}

void TdxFastList::Assign(TList* ASource, TListAssignOp AOperator) {
  if (!ASource) return;
  AssignItems(ASource->List(), ASource->Count(), ASource->Capacity(), AOperator);
}

void TdxFastList::AssignItems(void* const* AItems, int ACount, int ACapacity, TListAssignOp AOperator) {
  if (AOperator == laCopy) {
    Clear();
    SetCapacity(std::max(ACapacity, ACount));
    if (ACount) std::memcpy(FList, AItems, static_cast<std::size_t>(ACount) * sizeof(void*));
    FCount = ACount;
    return;
  }
  const std::unordered_set<void*> source(AItems, AItems + ACount);
  auto deleteHeld = [&](bool AHeld) {  // deletes own items whose membership in the source is AHeld
    for (int i = FCount - 1; i >= 0; --i)
      if ((source.count(FList[i]) != 0) == AHeld) Delete(i);
  };
  auto sourceNotHeld = [&] {  // the source items this list does not hold, in source order
    const std::unordered_set<void*> own(FList, FList + FCount);
    std::vector<void*> result;
    for (int i = 0; i < ACount; ++i)
      if (!own.count(AItems[i])) result.push_back(AItems[i]);
    return result;
  };
  switch (AOperator) {
    case laCopy:
      break;
    case laAnd:
      deleteHeld(false);
      break;
    case laOr: {
      std::unordered_set<void*> own(FList, FList + FCount);
      for (int i = 0; i < ACount; ++i)
        if (own.insert(AItems[i]).second) Add(AItems[i]);
      break;
    }
    case laXor: {
      const std::vector<void*> added = sourceNotHeld();
      deleteHeld(true);
      for (void* item : added) Add(item);
      break;
    }
    case laSrcUnique:
      deleteHeld(true);
      break;
    case laDestUnique: {
      const std::vector<void*> added = sourceNotHeld();
      Clear();
      for (auto it = added.rbegin(); it != added.rend(); ++it) Add(*it);
      break;
    }
  }
}

void TdxFastList::Sort(TCompareItems ACompare, bool AMultiThreaded) {
  if (FCount < 2) return;
  if (dxUseMultithreadedSort(AMultiThreaded, FCount))
    dxMultithreadedSort(FList, FCount, [ACompare](void* A, void* B) { return ACompare(A, B); });
  else
    dxInternalQuickSortList(FList, FCount, ACompare);
}

void TdxFastList::Sort(TListSortCompare ACompare, bool AMultiThreaded) {
  if (FCount < 2) return;
  if (dxUseMultithreadedSort(AMultiThreaded, FCount)) dxMultithreadedSort(FList, FCount, ACompare);
  else dxInternalQuickSortList(FList, FCount, ACompare);
}

void TdxFastList::SortList(const TdxListSortCompareDelegate& ACompare, bool AMultiThreaded) {
  if (FCount < 2) return;
  if (dxUseMultithreadedSort(AMultiThreaded, FCount)) dxMultithreadedSort(FList, FCount, ACompare);
  else dxInternalQuickSortList(FList, FCount, ACompare);
}

// ---------------------------------------------------------------------------
// TdxFastObjectList

void TdxFastObjectList::Create(bool AOwnsObjects, int ACapacity) {
  inherited::Create(ACapacity);
  FOwnsObjects = AOwnsObjects;
}

void TdxFastObjectList::ExtractRange(int AIndex, int ACount) {
  if (!dxIsValidRange(AIndex, ACount, Count())) dxListRangeError();
  RemoveRange(AIndex, ACount);
}

// Objects leave the list before they are freed, so that a destructor that
// looks at the list finds a consistent one.
void TdxFastObjectList::SetCount(int AValue) {
  if (AValue < 0) dxListCountError(AValue);
  if (FOwnsObjects && AValue < Count()) {
    const std::vector<void*> dropped(List() + AValue, List() + Count());
    inherited::SetCount(AValue);
    for (void* object : dropped)
      if (object) static_cast<TObject*>(object)->Free();
  } else {
    inherited::SetCount(AValue);
  }
}

void TdxFastObjectList::SetItems(int AIndex, void* AItem) {
  void* old = TdxFastList::Items(AIndex);
  if (old == AItem) return;
  inherited::SetItems(AIndex, AItem);
  if (FOwnsObjects && old) static_cast<TObject*>(old)->Free();
}

void TdxFastObjectList::Delete(int AIndex) {
  void* object = TdxFastList::Items(AIndex);
  inherited::Delete(AIndex);
  if (FOwnsObjects && object) static_cast<TObject*>(object)->Free();
}

void TdxFastObjectList::DeleteRange(int AIndex, int ACount) {
  if (!dxIsValidRange(AIndex, ACount, Count())) dxListRangeError();
  if (!FOwnsObjects) {
    RemoveRange(AIndex, ACount);
    return;
  }
  const std::vector<void*> removed(List() + AIndex, List() + AIndex + ACount);
  RemoveRange(AIndex, ACount);
  for (void* object : removed)
    if (object) static_cast<TObject*>(object)->Free();
}

void TdxFastObjectList::Clear() {
  if (FOwnsObjects && Count() > 0) {
    const std::vector<void*> objects(List(), List() + Count());
    RemoveRange(0, Count());
    for (void* object : objects)
      if (object) static_cast<TObject*>(object)->Free();
  }
  inherited::Clear();
}

// ---------------------------------------------------------------------------
// String comparers

std::uint32_t dxOrdinalStringHash(const wchar_t* AText, std::size_t ALength) {
  std::uint32_t h1 = 5381;
  std::uint32_t h2 = 5381;
  std::size_t i = 0;
  for (; i + 1 < ALength; i += 2) {
    h1 = (h1 * 33) ^ static_cast<std::uint16_t>(AText[i]);
    h2 = (h2 * 33) ^ static_cast<std::uint16_t>(AText[i + 1]);
  }
  // An odd length pairs the last unit with the terminating zero, which is
  // not hashed.
  if (i < ALength) h1 = (h1 * 33) ^ static_cast<std::uint16_t>(AText[i]);
  return h1 + h2 * 1566083941u;
}

int TdxOrdinalStringComparer::Compare(const String& ALeft, const String& ARight) const {
  const std::size_t n = std::min(ALeft.size(), ARight.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto a = static_cast<std::uint16_t>(ALeft[i]);
    const auto b = static_cast<std::uint16_t>(ARight[i]);
    if (a == b) continue;
    // Memory order: the low byte decides first.
    if ((a & 0xFF) != (b & 0xFF)) return static_cast<int>(a & 0xFF) - static_cast<int>(b & 0xFF);
    return static_cast<int>(a >> 8) - static_cast<int>(b >> 8);
  }
  return static_cast<int>(ALeft.size()) - static_cast<int>(ARight.size());
}

bool TdxOrdinalStringComparer::Equals(const String& ALeft, const String& ARight) const { return ALeft == ARight; }

std::uint32_t TdxOrdinalStringComparer::GetHashCode(const String& AValue) const {
  return dxOrdinalStringHash(AValue.data(), AValue.size());
}

namespace {

String LocaleLowerCase(const String& AText) {
  if (AText.empty()) return AText;
  const int length = static_cast<int>(AText.size());
  const int size = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_LOWERCASE, AText.data(), length, nullptr, 0);
  if (size <= 0) return AText;
  String result(static_cast<std::size_t>(size), L'\0');
  LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_LOWERCASE, AText.data(), length, result.data(), size);
  return result;
}

}  // namespace

int TdxOrdinalIStringComparer::Compare(const String& ALeft, const String& ARight) const {
  return TdxOrdinalStringComparer().Compare(LocaleLowerCase(ALeft), LocaleLowerCase(ARight));
}

bool TdxOrdinalIStringComparer::Equals(const String& ALeft, const String& ARight) const {
  if (ALeft.size() != ARight.size()) return false;
  return LocaleLowerCase(ALeft) == LocaleLowerCase(ARight);
}

std::uint32_t TdxOrdinalIStringComparer::GetHashCode(const String& AValue) const {
  const String lower = LocaleLowerCase(AValue);
  return dxOrdinalStringHash(lower.data(), lower.size());
}

// Stateless: constant-initialised, nothing to create or release.
const TdxCustomComparer<String>& TdxStringComparer::Ordinal() {
  static const TdxOrdinalStringComparer comparer;
  return comparer;
}

const TdxCustomComparer<String>& TdxIStringComparer::Ordinal() {
  static const TdxOrdinalIStringComparer comparer;
  return comparer;
}
