// Graphics types shared by the canvases: the bounded value cache.
//
// Classes in this file:
//   TdxValueCacheManager         a dictionary with first-in-first-out eviction
//                                (keys compare by TdxDefaultEqualityComparer unless
//                                a comparer is given: scalars by value, records
//                                over every byte)
#pragma once

#include "library/core/dxGenerics.h"
#include "platform/classes/ClassErrors.h"
#include "platform/runtime/System.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

// A bounded cache: a dictionary plus a ring of Capacity slots that remembers
// the order in which keys were added. When the ring is full, each Add evicts
// the oldest surviving addition; a lookup does not refresh an entry. Every
// value that leaves (eviction, Remove, Clear, destruction) goes through
// ValueRemoved, where descendants release it.
//
// The ring's slots hold the entries themselves, in the order of addition;
// the dictionary is an index of slot numbers, sized once (the ring bounds
// the count) to at least twice the capacity, with open addressing and
// linear probing. A removal shifts the rest of its run back rather than
// leaving a marker, so constant eviction never slows lookups down.
template <class TKey, class TValue, class TComparer = TdxDefaultEqualityComparer<TKey>>
class TdxValueCacheManager : public TObject {
  SK_CLASS(TdxValueCacheManager, TObject)
 public:
  void Create(int ACapacity, TComparer AComparer = TComparer()) {
    inherited::Create();
    FCapacity = ACapacity > 0 ? ACapacity : 1;
    FComparer = AComparer;
    int bits = 1;
    while ((std::size_t{1} << bits) < 2 * static_cast<std::size_t>(FCapacity)) ++bits;
    FShift = 64 - bits;
    FMask = (std::size_t{1} << bits) - 1;
    FIndex.assign(FMask + 1, FreeEntry);
    FCount = 0;
    FQueue.assign(static_cast<std::size_t>(FCapacity), TSlot{});
    FQueueCursor = 0;
  }
  void Destroy() override {
    ReleaseAll(false);
    inherited::Destroy();
  }

  int Capacity() const { return FCapacity; }
  int Count() const { return FCount; }
  // The ring slot the next Add fills.
  int QueueCursor() const { return FQueueCursor; }

  // Evicts the entry at the ring's cursor, then adds the pair. A key already
  // present raises EListError: callers look a key up first.
  void Add(const TKey& AKey, const TValue& AValue) {
    const auto cursor = static_cast<std::int32_t>(FQueueCursor);
    if (const TSlot& oldest = FQueue[static_cast<std::size_t>(cursor)]; oldest.Occupied)
      if (const std::size_t i = Find(oldest.Key); i != NotFound) RemoveAt(i);
    std::size_t i = Home(AKey);
    for (; FIndex[i] != FreeEntry; i = (i + 1) & FMask)
      if (FComparer.Equals(Slot(i).Key, AKey)) throw EListError(String(L"Duplikate sind nicht zulässig"));
    FQueue[static_cast<std::size_t>(cursor)] = TSlot{AKey, AValue, true};
    FIndex[i] = cursor;
    ++FCount;
    FQueueCursor = FQueueCursor + 1 < FCapacity ? FQueueCursor + 1 : 0;
  }

  // AValue is the empty value when the key is missing. The ring is not touched.
  bool Get(const TKey& AKey, TValue& AValue) const {
    const std::size_t i = Find(AKey);
    if (i == NotFound) {
      AValue = TValue();
      return false;
    }
    AValue = Slot(i).Value;
    return true;
  }

  // Frees the key's ring slot; the cursor stays, so the slot is reused only
  // when the cursor reaches it again.
  void Remove(const TKey& AKey) {
    if (const std::size_t i = Find(AKey); i != NotFound) RemoveAt(i);
  }

  void Clear() {
    ReleaseAll(true);
    FQueueCursor = 0;
  }

 protected:
  virtual void ValueRemoved(const TValue&) {}

 private:
  static constexpr std::size_t NotFound = ~std::size_t{0};
  static constexpr std::int32_t FreeEntry = -1;

  struct TSlot {
    TKey Key{};
    TValue Value{};
    bool Occupied = false;
  };

  const TSlot& Slot(std::size_t AIndexEntry) const { return FQueue[static_cast<std::size_t>(FIndex[AIndexEntry])]; }

  // The comparer's hash spread over the index (Fibonacci hashing), so keys
  // whose low bits agree, such as aligned addresses, do not crowd together.
  std::size_t Home(const TKey& AKey) const {
    return static_cast<std::size_t>((static_cast<std::uint64_t>(FComparer.GetHashCode(AKey)) * 0x9E3779B97F4A7C15ull) >>
                                    FShift);
  }

  // The index entry of the key. The index always has a free entry.
  std::size_t Find(const TKey& AKey) const {
    if (FCount == 0) return NotFound;
    for (std::size_t i = Home(AKey); FIndex[i] != FreeEntry; i = (i + 1) & FMask)
      if (FComparer.Equals(Slot(i).Key, AKey)) return i;
    return NotFound;
  }

  // Takes the entry out of the index and its slot, then releases its value.
  void RemoveAt(std::size_t AIndexEntry) {
    TSlot& slot = FQueue[static_cast<std::size_t>(FIndex[AIndexEntry])];
    // Closes the gap: each later entry of the run that may live at the gap
    // (its home is not between the gap and itself) moves into it.
    for (std::size_t j = (AIndexEntry + 1) & FMask; FIndex[j] != FreeEntry; j = (j + 1) & FMask) {
      if (((j - Home(Slot(j).Key)) & FMask) >= ((j - AIndexEntry) & FMask)) {
        FIndex[AIndexEntry] = FIndex[j];
        AIndexEntry = j;
      }
    }
    FIndex[AIndexEntry] = FreeEntry;
    --FCount;
    const TValue value = std::move(slot.Value);
    slot = TSlot{};
    ValueRemoved(value);
  }

  // The cache is emptied first, so that a ValueRemoved that looks at it
  // finds it consistent; ARebuild leaves it ready for use.
  void ReleaseAll(bool ARebuild) {
    std::vector<TSlot> ring(ARebuild ? FQueue.size() : 0);
    ring.swap(FQueue);
    if (ARebuild) std::fill(FIndex.begin(), FIndex.end(), FreeEntry);
    else FIndex.clear();
    FCount = 0;
    for (const TSlot& slot : ring)
      if (slot.Occupied) ValueRemoved(slot.Value);
  }

  int FCapacity;
  TComparer FComparer;
  std::vector<TSlot> FQueue;          // the ring: the entries in the order of addition
  std::vector<std::int32_t> FIndex;   // the dictionary: slot numbers (FreeEntry: none)
  std::size_t FMask;
  int FShift;
  int FCount;
  int FQueueCursor;
};
