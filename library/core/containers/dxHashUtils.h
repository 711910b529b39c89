// Checksums, hashes and the interning hash table.
//
// Classes in this file:
//   CalculateCrc32, BobJenkinsHash, HashBytesShiftXor, HashTextUpperCase, MurmurHash2Text
//   TdxDynamicListItem, TdxDynamicItemList   a sparse list sorted by index
//   TdxHashTableItem, TdxHashTableRow, TdxHashTable
//                                            items stored once, shared by reference counts
//
// A hash table item's key is its index in its row (0: not computed yet);
// rows are the 65,535 slots of the table, chosen by key mod 65,535.
#pragma once

#include "library/core/base/dxCoreClasses.h"
#include "platform/classes/Streams.h"

#include <cstdint>
#include <functional>

// ---------------------------------------------------------------------------
// Checksums and hashes (32-bit unsigned results)

// The CRC-32 of ISO 3309 / IEEE 802.3 (reflected 0xEDB88320, initial value
// 0xFFFFFFFF, final complement).
std::uint32_t CalculateCrc32(const void* ABuffer, std::size_t ASize);
// The running step, without the initial value and the final complement.
std::uint32_t UpdateCrc32(const void* ABuffer, std::size_t ASize, std::uint32_t ACrc);
// Of up to ACount bytes from AOffset, read in chunks of at most 65,535 bytes
// until the count is used up or a read gives nothing; the stream's position
// is restored, also when reading raises.
std::uint32_t CalculateStreamCrc32(TStream* AStream, std::int64_t AOffset, std::int64_t ACount);
// Bob Jenkins' lookup3 hash (hashlittle).
std::uint32_t BobJenkinsHash(const void* ABuffer, std::size_t ASize, std::uint32_t AInitial);
std::uint32_t HashBytesShiftXor(const void* AData, std::size_t ALength);
// The ELF hash of the UTF-16 units; 0 for absent text; a length of 0 or less
// means up to the terminating zero. With a buffer, the text is upper-cased
// into it for the locale first and the mapped text is hashed (the text as it
// is when it does not fit).
std::uint32_t HashTextUpperCase(const wchar_t* AText, int ALength, wchar_t* ABuffer = nullptr,
                                int ABufferLength = 0, LCID ALocale = LOCALE_USER_DEFAULT);
// MurmurHash2 over the UTF-16 bytes; the seed is xor-ed with the number of
// code units at the start.
std::uint32_t MurmurHash2Text(const String& AText, std::uint32_t ASeed);
inline std::uint32_t MurmurHash2TextNoSeed(const String& AText) { return MurmurHash2Text(AText, 0); }

// ---------------------------------------------------------------------------
// Dynamic item list

class TdxDynamicItemList;

class TdxDynamicListItem : public TcxIUnknownObject {
  SK_CLASS(TdxDynamicListItem, TcxIUnknownObject)
 public:
  virtual void Create(TdxDynamicItemList* AOwner, int AIndex);
  void Create() { Create(nullptr, 0); }
  // Leaves its list.
  void Destroy() override;
  virtual void Assign(TdxDynamicListItem*) {}
  virtual void ShiftIndex(int ADelta) { FIndex += ADelta; }

  TdxDynamicItemList* Owner() const { return FOwner; }
  int Index() const { return FIndex; }
  TdxDynamicListItem* Prev() const { return FPrev; }
  TdxDynamicListItem* Next() const { return FNext; }

 protected:
  friend class TdxDynamicItemList;
  friend class TdxHashTable;
  friend class TdxHashTableRow;
  TdxDynamicItemList* FOwner;
  int FIndex;
  TdxDynamicListItem* FPrev;
  TdxDynamicListItem* FNext;
};

using TdxDynamicListItemClass = TClass;
using TdxDynamicItemListForEachProc = std::function<void(TdxDynamicListItem* AItem)>;

// Items in ascending index order (an index may repeat), with a cursor at the
// item found or created last.
class TdxDynamicItemList : public TObject {
  SK_CLASS(TdxDynamicItemList, TObject)
 public:
  void Destroy() override;

  int FirstIndex() const { return FFirst ? FFirst->FIndex : 0; }
  int LastIndex() const { return FLast ? FLast->FIndex : -1; }
  int Count() const { return LastIndex() + 1; }
  TdxDynamicListItem* First() const { return FFirst; }
  TdxDynamicListItem* Last() const { return FLast; }
  TdxDynamicListItem* CurrentItem() const { return FCurrentItem; }

  // The first item whose index is at least AIndex; nil when the list is
  // empty or AIndex lies outside FirstIndex .. LastIndex.
  TdxDynamicListItem* FindItem(int AIndex);
  // The first item with exactly that index, or nil.
  TdxDynamicListItem* GetItem(int AIndex);
  void SetItem(int AIndex, TdxDynamicListItem* AValue);
  TdxDynamicListItem* GetOrCreateItem(int AIndex);
  // Links AItem in by its index; ANearItem is the first item whose index is
  // not smaller (needed for an insertion in the middle).
  void InsertItem(TdxDynamicListItem* AItem, TdxDynamicListItem* ANearItem);
  // Called by an item that is destroyed.
  void RemoveItem(TdxDynamicListItem* AItem);
  // The next item is taken before each call, so the procedure may free the
  // item it receives.
  void ForEach(const TdxDynamicItemListForEachProc& AProc, bool AForward = true);
  void ForEachInRange(const TdxDynamicItemListForEachProc& AProc, int AFrom, int ATo, bool AForward = true);
  virtual void Clear();

 protected:
  virtual void ItemCreated(TdxDynamicListItem*) {}
  virtual TdxDynamicListItemClass ListItemClass() const { return TdxDynamicListItem::ClassInfo(); }
  virtual void DeleteItem(TdxDynamicListItem* AItem) { AItem->Free(); }
  bool IsDeletion() const { return FIsDeletion; }

 private:
  TdxDynamicListItem* FFirst;
  TdxDynamicListItem* FLast;
  TdxDynamicListItem* FCurrentItem;
  bool FIsDeletion;
};

// ---------------------------------------------------------------------------
// Hash table

class TdxHashTable;

// An item that describes a resource; equal items are stored once and shared.
class TdxHashTableItem : public TdxDynamicListItem {
  SK_CLASS(TdxHashTableItem, TdxDynamicListItem)
 public:
  // Tells its table, then leaves its row.
  void Destroy() override;

  std::uint32_t Key() const { return static_cast<std::uint32_t>(FIndex); }
  int RefCount() const { return FRefCount; }
  TdxHashTable* HashTable() const { return FHashTable; }
  void AddRef();
  // Frees the item when the count reaches 0.
  void Release();
  bool IsEqual(TdxHashTableItem* AItem) { return AItem == this || DoIsEqual(AItem); }

 protected:
  friend class TdxHashTable;
  friend class TdxHashTableRow;
  virtual void CalculateKey(std::uint32_t& AKey) = 0;
  virtual bool DoIsEqual(TdxHashTableItem* AItem) = 0;
  // AKey = the lookup3 hash of the text's UTF-16 bytes with AKey as initial value.
  static void HashText(std::uint32_t& AKey, const String& AText);
  static void HashBuffer(std::uint32_t& AKey, const void* ABuffer, std::size_t ASize);

 private:
  TdxHashTable* FHashTable;
  int FRefCount;
};

class TdxHashTableRow : public TdxDynamicItemList {
  SK_CLASS(TdxHashTableRow, TdxDynamicItemList)
 protected:
  // An unreferenced item is freed; one still referenced leaves the table and
  // the row and lives until its last Release.
  void DeleteItem(TdxDynamicListItem* AItem) override;
};

class TdxHashTable : public TObject {
  SK_CLASS(TdxHashTable, TObject)
 public:
  static constexpr int RowCount = 65535;
  using TForEachItemProc = std::function<void(TdxHashTableItem* AItem)>;

  virtual void Create();
  void Destroy() override;

  // The sum of the reference counts of the items in the table.
  int Count() const { return FCount; }
  // Interns AItem: on return it is the stored item, the given one or an
  // equal one already present (the given one is then freed). An item that
  // belongs to another table raises EInvalidOperation.
  void AddItem(TdxHashTableItem*& AItem);
  void ForEachItem(const TForEachItemProc& AProc);
  virtual void Clear();

 protected:
  friend class TdxHashTableItem;
  friend class TdxHashTableRow;
  virtual void ItemRemoved(TdxHashTableItem*) {}

 private:
  std::vector<TdxHashTableRow*> FTable;
  int FCount;
};

// Stores AItem in the variable with AddRef, releasing the previous item;
// false when the variable already holds it.
bool AssignHashTableItem(TdxHashTableItem*& AVariable, TdxHashTableItem* AItem);

template <class T>
bool AssignHashTableItem(T*& AVariable, T* AItem) {
  TdxHashTableItem* v = AVariable;
  const bool changed = AssignHashTableItem(v, static_cast<TdxHashTableItem*>(AItem));
  AVariable = static_cast<T*>(v);
  return changed;
}

// The unit's start-up: seeds the run-time's random-number generator.
void dxHashUtilsInitialization();
