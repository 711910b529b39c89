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

#include <cstdint>
#include <cstring>
#include <functional>
#include <type_traits>
#include <unordered_map>
#include <vector>

// A bounded cache: a dictionary plus a ring of Capacity slots that remembers
// the order in which keys were added. When the ring is full, each Add evicts
// the oldest surviving addition; a lookup does not refresh an entry. Every
// value that leaves (eviction, Remove, Clear, destruction) goes through
// ValueRemoved, where descendants release it.
template <class TKey, class TValue, class TComparer = TdxDefaultEqualityComparer<TKey>>
class TdxValueCacheManager : public TObject {
  SK_CLASS(TdxValueCacheManager, TObject)
 public:
  void Create(int ACapacity, TComparer AComparer = TComparer()) {
    inherited::Create();
    FCapacity = ACapacity > 0 ? ACapacity : 1;
    FComparer = AComparer;
    FData = TData(static_cast<std::size_t>(FCapacity), THash{&FComparer}, TEqual{&FComparer});
    FQueue.assign(static_cast<std::size_t>(FCapacity), TSlot{});
    FQueueCursor = 0;
  }
  void Destroy() override {
    ReleaseAll();
    inherited::Destroy();
  }

  int Capacity() const { return FCapacity; }
  int Count() const { return static_cast<int>(FData.size()); }
  // The ring slot the next Add fills.
  int QueueCursor() const { return FQueueCursor; }

  // Evicts the entry at the ring's cursor, then adds the pair. A key already
  // present raises EListError: callers look a key up first.
  void Add(const TKey& AKey, const TValue& AValue) {
    TSlot& slot = FQueue[static_cast<std::size_t>(FQueueCursor)];
    if (slot.Occupied) {
      slot.Occupied = false;
      RemoveFromData(slot.Key);
    }
    if (!FData.emplace(AKey, AValue).second) throw EListError(String(L"Duplikate sind nicht zulässig"));
    slot.Key = AKey;
    slot.Occupied = true;
    FQueueCursor = (FQueueCursor + 1) % FCapacity;
  }

  // AValue is the empty value when the key is missing. The ring is not touched.
  bool Get(const TKey& AKey, TValue& AValue) const {
    const auto it = FData.find(AKey);
    if (it == FData.end()) {
      AValue = TValue();
      return false;
    }
    AValue = it->second;
    return true;
  }

  // Frees the key's ring slot; the cursor stays, so the slot is reused only
  // when the cursor reaches it again.
  void Remove(const TKey& AKey) {
    for (TSlot& slot : FQueue)
      if (slot.Occupied && FComparer.Equals(slot.Key, AKey)) {
        slot.Occupied = false;
        RemoveFromData(slot.Key);
        return;
      }
  }

  void Clear() {
    ReleaseAll();
    for (TSlot& slot : FQueue) slot.Occupied = false;
    FQueueCursor = 0;
  }

 protected:
  virtual void ValueRemoved(const TValue&) {}

 private:
  struct THash {
    const TComparer* Comparer;
    std::size_t operator()(const TKey& AKey) const { return Comparer->GetHashCode(AKey); }
  };
  struct TEqual {
    const TComparer* Comparer;
    bool operator()(const TKey& A, const TKey& B) const { return Comparer->Equals(A, B); }
  };
  using TData = std::unordered_map<TKey, TValue, THash, TEqual>;
  struct TSlot {
    TKey Key{};
    bool Occupied = false;
  };

  void RemoveFromData(const TKey& AKey) {
    const auto it = FData.find(AKey);
    if (it == FData.end()) return;
    const TValue value = std::move(it->second);
    FData.erase(it);
    ValueRemoved(value);
  }

  void ReleaseAll() {
    // The dictionary is emptied first, so that a ValueRemoved that looks at
    // the cache finds it consistent.
    TData data(0, THash{&FComparer}, TEqual{&FComparer});
    data.swap(FData);
    for (const auto& entry : data) ValueRemoved(entry.second);
  }

  int FCapacity;
  TComparer FComparer;
  TData FData{0, THash{&FComparer}, TEqual{&FComparer}};
  std::vector<TSlot> FQueue;
  int FQueueCursor;
};
