// The library's own generic containers.
//
// Classes in this file:
//   Generics::TCollectionNotification   what happened to a value of a container
//   TdxDefaultEqualityComparer          equality and hash: by value for scalars,
//                                       over every byte for records
//   TdxOrdinalList<>                    the untyped ordinal list: 32-bit slots,
//                                       every addition and removal reported
//   TdxOrdinalList<T>                   values of T (up to 32 bits), masked to their size
//   TdxClassDictionary<T>               lookups fall back to the nearest ancestor class
//   TdxHashSet<T>                       a set of values
#pragma once

#include "library/core/base/dxCoreClasses.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <span>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace Generics {
// A value entered, left by deletion, or left by extraction.
enum TCollectionNotification { cnAdded, cnRemoved, cnExtracted };
}  // namespace Generics

// Equality and hash of a value. Scalars compare by value; records compare
// over every byte of their memory.
template <class T>
struct TdxDefaultEqualityComparer {
  bool Equals(const T& A, const T& B) const {
    if constexpr (std::is_scalar_v<T>) {
      return A == B;
    } else {
      static_assert(std::is_trivially_copyable_v<T>, "give a comparer for this type");
      return std::memcmp(&A, &B, sizeof(T)) == 0;
    }
  }
  std::size_t GetHashCode(const T& AValue) const {
    if constexpr (std::is_scalar_v<T>) {
      return std::hash<T>()(AValue);
    } else {
      // FNV-1a over the bytes.
      const auto* bytes = reinterpret_cast<const unsigned char*>(&AValue);
      std::uint64_t h = 14695981039346656037ull;
      for (std::size_t i = 0; i < sizeof(T); ++i) h = (h ^ bytes[i]) * 1099511628211ull;
      return static_cast<std::size_t>(h);
    }
  }
};

// Adapts a comparer to the standard containers.
template <class T, class C>
struct TdxComparerHash {
  const C* Comparer;
  std::size_t operator()(const T& AValue) const { return Comparer->GetHashCode(AValue); }
};
template <class T, class C>
struct TdxComparerEqual {
  const C* Comparer;
  bool operator()(const T& A, const T& B) const { return Comparer->Equals(A, B); }
};

// ---------------------------------------------------------------------------
// Ordinal lists

template <class T = void>
class TdxOrdinalList;

// The untyped list: 32-bit slots. Index errors are the fast lists' (indices
// tested as signed values); capacity grows as theirs.
template <>
class TdxOrdinalList<void> : public TObject {
  SK_CLASS(TdxOrdinalList, TObject)
 public:
  void Create(int ACapacity = 0) { SetCapacity(ACapacity); }
  void Destroy() override;

  // Properties
  int Count() const { return static_cast<int>(FCount); }
  virtual void SetCount(int AValue);
  int Capacity() const { return FCapacity; }
  void SetCapacity(int AValue);
  bool Empty() const { return FCount == 0; }
  static bool Empty(const TdxOrdinalList* AList) { return !AList || AList->FCount == 0; }
  const std::uint32_t* List() const { return FList.data(); }

  // Operations on the stored (masked) values
  void InsertValue(int AIndex, std::uint32_t AValue);
  int AddValue(std::uint32_t AValue) {
    InsertValue(FCount, AValue);
    return FCount - 1;
  }
  void Delete(int AIndex);
  void DeleteRange(int AIndex, int ACount);
  int RemoveValue(std::uint32_t AValue);
  // The value, or 0 (nothing notified) when absent.
  std::uint32_t ExtractValue(std::uint32_t AValue, TdxListDirection ADirection = ldFromBeginning);
  std::uint32_t ExtractByIndexValue(int AIndex);
  int IndexOfValue(std::uint32_t AValue) const;
  int LastIndexOfValue(std::uint32_t AValue) const;
  std::uint32_t GetValue(int AIndex) const {
    CheckIndex(AIndex);
    return FList[static_cast<std::size_t>(AIndex)];
  }
  // Reports the old value removed, then the new one added.
  void SetValue(int AIndex, std::uint32_t AValue);
  // Taken out without notification, put back with Insert (which reports it added).
  void Move(int ACurrentIndex, int ANewIndex);
  void Exchange(int AIndex1, int AIndex2);
  void Reverse();
  virtual void Clear();

  // Ascending as signed 32-bit values, in the calling thread.
  void Sort();
  // The comparers see each value as a pointer-sized integer. Multithreaded
  // above 32 values when asked for and available; the delegate form always
  // sorts in the calling thread.
  void Sort(TCompareItems ACompare, bool AMultiThreaded = false);
  void Sort(TListSortCompare ACompare, bool AMultiThreaded = false);
  void SortList(const TdxListSortCompareDelegate& ACompare);

 protected:
  virtual void Notify(std::uint32_t AValue, Generics::TCollectionNotification AAction) = 0;
  void CheckIndex(int AIndex) const {
    if (AIndex < 0 || AIndex >= FCount) dxListIndexError(AIndex);
  }

 private:
  template <class C>
  void SortWith(C&& ASort);

  std::vector<std::uint32_t> FList;  // size = capacity
  int FCapacity;
  int FCount;
};

// Values of T (integer, character, enumeration or pointer types of up to
// 32 bits), masked to their size before they are stored or searched.
template <class T>
class TdxOrdinalList : public TdxOrdinalList<void> {
  SK_CLASS(TdxOrdinalList, TdxOrdinalList<void>)
 public:
  using TNotifyEvent = Delegate<void(TObject* Sender, const T& AItem, Generics::TCollectionNotification AAction)>;

  // Raises EArgumentException for a type that is no ordinal of up to 32 bits.
  void Create(int ACapacity = 0) {
    if constexpr (!Supported) throw EArgumentException(String(L"Unsupported ordinal type"));
    inherited::Create(ACapacity);
  }
  void Create(std::initializer_list<T> ACollection) {
    Create(0);
    AddRange(std::span<const T>(ACollection.begin(), ACollection.size()));
  }

  TNotifyEvent OnNotify() const { return FOnNotify; }
  void SetOnNotify(TNotifyEvent AValue) { FOnNotify = AValue; }

  T Items(int AIndex) const { return FromSlot(GetValue(AIndex)); }
  void SetItems(int AIndex, T AValue) { SetValue(AIndex, ToSlot(AValue)); }
  T operator[](int AIndex) const { return Items(AIndex); }
  T First() const {
    if (Count() == 0) dxListIndexError(0);
    return Items(0);
  }
  T Last() const {
    if (Count() == 0) dxListIndexError(-1);
    return Items(Count() - 1);
  }

  int Add(T AValue) { return AddValue(ToSlot(AValue)); }
  void AddRange(std::span<const T> AValues) {
    if (AValues.empty()) return;
    SetCapacity(Count() + static_cast<int>(AValues.size()));
    for (const T& v : AValues) Add(v);
  }
  void AddRange(const TdxOrdinalList* AList) {
    if (Empty(AList)) return;
    const std::vector<T> values = AList->ToArray();  // the list may be this one
    AddRange(std::span<const T>(values));
  }
  template <class E>
  void AddRangeEnumerable(const E& AEnumerable) {
    for (const T& v : AEnumerable) Add(v);
  }
  void Insert(int AIndex, T AValue) { InsertValue(AIndex, ToSlot(AValue)); }
  int IndexOf(T AValue) const { return IndexOfValue(ToSlot(AValue)); }
  int LastIndexOf(T AValue) const { return LastIndexOfValue(ToSlot(AValue)); }
  bool Contains(T AValue) const { return IndexOf(AValue) >= 0; }
  int Remove(T AValue) { return RemoveValue(ToSlot(AValue)); }
  T Extract(T AValue, TdxListDirection ADirection = ldFromBeginning) {
    return FromSlot(ExtractValue(ToSlot(AValue), ADirection));
  }
  T ExtractByIndex(int AIndex) { return FromSlot(ExtractByIndexValue(AIndex)); }

  // On a list sorted ascending: true and the index when found; otherwise
  // false and the insertion point.
  bool BinarySearch(T AValue, int& AIndex) const {
    int low = 0;
    int high = Count() - 1;
    while (low <= high) {
      const int middle = low + (high - low) / 2;
      const T stored = Items(middle);
      if (stored == AValue) {
        AIndex = middle;
        return true;
      }
      if (stored < AValue) low = middle + 1;
      else high = middle - 1;
    }
    AIndex = low;
    return false;
  }
  std::vector<T> ToArray() const {
    std::vector<T> result;
    result.reserve(static_cast<std::size_t>(Count()));
    for (int i = 0; i < Count(); ++i) result.push_back(FromSlot(List()[i]));
    return result;
  }

 protected:
  void Notify(std::uint32_t AValue, Generics::TCollectionNotification AAction) override {
    if (FOnNotify) FOnNotify(this, FromSlot(AValue), AAction);
  }

 private:
  static constexpr bool Supported =
      (std::is_integral_v<T> || std::is_enum_v<T> || std::is_pointer_v<T>) && sizeof(T) <= 4;
  static constexpr std::uint32_t Mask =
      sizeof(T) >= 4 ? 0xFFFFFFFFu : static_cast<std::uint32_t>((std::uint64_t{1} << (8 * sizeof(T))) - 1);

  static std::uint32_t ToSlot(T AValue) {
    if constexpr (!Supported) {
      return 0;
    } else if constexpr (std::is_pointer_v<T>) {
      return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(AValue)) & Mask;
    } else if constexpr (std::is_enum_v<T>) {
      return static_cast<std::uint32_t>(static_cast<std::underlying_type_t<T>>(AValue)) & Mask;
    } else {
      return static_cast<std::uint32_t>(AValue) & Mask;
    }
  }
  static T FromSlot(std::uint32_t AValue) {
    if constexpr (!Supported) {
      return T();
    } else if constexpr (std::is_pointer_v<T>) {
      return reinterpret_cast<T>(static_cast<std::uintptr_t>(AValue));
    } else if constexpr (std::is_enum_v<T>) {
      return static_cast<T>(static_cast<std::underlying_type_t<T>>(AValue));
    } else {
      return static_cast<T>(AValue);
    }
  }

  TNotifyEvent FOnNotify;
};

// ---------------------------------------------------------------------------
// Class dictionary

template <class T>
class TdxClassDictionary : public TcxIUnknownObject {
  SK_CLASS(TdxClassDictionary, TcxIUnknownObject)
 public:
  int Count() const { return static_cast<int>(FData.size()); }
  // A class already present raises EListError.
  void Add(TClass AClass, const T& AValue) {
    if (!FData.emplace(AClass, AValue).second) throw EListError(String(L"Duplikate sind nicht zulässig"));
  }
  void AddOrSetValue(TClass AClass, const T& AValue) { FData[AClass] = AValue; }
  void Remove(TClass AClass) { FData.erase(AClass); }
  void Clear() { FData.clear(); }

  // The class's value, else its parent's, and so on; false for nil.
  bool TryGetValue(TClass AClass, T& AValue) const {
    for (TClass c = AClass; c; c = c->ClassParent()) {
      const auto it = FData.find(c);
      if (it != FData.end()) {
        AValue = it->second;
        return true;
      }
    }
    return false;
  }
  bool TryGetValue(const TObject* AObject, T& AValue) const {
    return AObject ? TryGetValue(AObject->ClassType(), AValue) : false;
  }
  // Raises Exception "Value for the %s class was not found" when none is found.
  T Items(TClass AClass) const {
    T value{};
    if (!TryGetValue(AClass, value))
      throw Exception(L"Value for the %s class was not found", {AClass ? AClass->ClassName() : String(L"nil")});
    return value;
  }

 private:
  std::unordered_map<TClass, T> FData;
};

// ---------------------------------------------------------------------------
// Hash set

template <class T, class TComparer = TdxDefaultEqualityComparer<T>>
class TdxHashSet : public TObject {
  SK_CLASS(TdxHashSet, TObject)
 public:
  void Create(int ACapacity = 0, TComparer AComparer = TComparer()) {
    FComparer = AComparer;
    FSet = TSetData(static_cast<std::size_t>(ACapacity > 0 ? ACapacity : 0), THash{&FComparer}, TEqual{&FComparer});
  }
  void Create(TComparer AComparer) { Create(0, AComparer); }

  int Count() const { return static_cast<int>(FSet.size()); }
  bool Contains(const T& AValue) const { return FSet.count(AValue) != 0; }
  // A present value changes nothing.
  void Include(const T& AValue) { FSet.insert(AValue); }
  void Include(std::span<const T> AValues) {
    for (const T& v : AValues) Include(v);
  }
  void Include(const TdxHashSet* ASet) {
    if (ASet && ASet != this)
      for (const T& v : ASet->FSet) Include(v);
  }
  // An absent value is ignored.
  void Exclude(const T& AValue) { FSet.erase(AValue); }
  void Exclude(std::span<const T> AValues) {
    for (const T& v : AValues) Exclude(v);
  }
  void Exclude(const TdxHashSet* ASet) {
    if (!ASet) return;
    if (ASet == this) {
      Clear();
      return;
    }
    for (const T& v : ASet->FSet) Exclude(v);
  }
  void Clear() { FSet.clear(); }
  std::vector<T> ToArray() const { return std::vector<T>(FSet.begin(), FSet.end()); }
  // A new list of the values; the caller owns it.
  std::vector<T> ToList() const { return ToArray(); }

  // Enumeration
  auto begin() const { return FSet.begin(); }
  auto end() const { return FSet.end(); }

 private:
  using THash = TdxComparerHash<T, TComparer>;
  using TEqual = TdxComparerEqual<T, TComparer>;
  using TSetData = std::unordered_set<T, THash, TEqual>;

  TComparer FComparer;
  TSetData FSet{0, THash{&FComparer}, TEqual{&FComparer}};
};
