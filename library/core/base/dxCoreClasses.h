// Base classes, lists and streams of the control library.
//
// Classes in this file:
//   TcxIUnknownObject              implements interfaces; its owner frees it
//   TcxInterfacedPersistent        a persistent object created with an owner
//   TcxOwnedPersistent             an owned persistent object (styles, options)
//   TcxOwnedInterfacedPersistent   an owned persistent object that implements interfaces
//   TcxLockablePersistent          collapses changes made under BeginUpdate/EndUpdate
//   IdxFreeNotify, TcxFreeNotificator   relays free notifications to a master
//   TcxDoublyLinkedObject, TcxDoublyLinkedObjectList
//   IcxMouseTrackingCaller, IcxMouseTrackingCaller2, IcxMouseTrackingCaller3
//   TdxFastList, TdxFastObjectList the library's pointer lists (dxCoreClasses_Lists.cpp)
//   dxInternalQuickSortList        the sort kernel of the lists
//   TdxOrdinalStringComparer, TdxOrdinalIStringComparer, TdxStringComparer, TdxIStringComparer
//   TdxMemoryStream, TdxReadOnlySubStream, TdxHGlobalReadOnlyStream, TdxBufferedStream
//                                  (dxCoreClasses_Streams.cpp)
//
// Ownership: an object that implements interfaces here is freed by its owner,
// never by the release of its last interface reference (AddRef and Release
// answer -1).
#pragma once

#include "platform/classes/Component.h"
#include "platform/classes/Lists.h"
#include "platform/classes/Streams.h"
#include "platform/runtime/Types.h"

#include <cstdint>
#include <functional>
#include <utility>

// ---------------------------------------------------------------------------
// Persistent bases

class TcxIUnknownObject : public TNoRefCount<TObject> {
  SK_CLASS(TcxIUnknownObject, TObject)
 public:
  bool GetInterface(const GUID& AIID, void** AObj) override;
};

class TcxInterfacedPersistent : public TInterfacedPersistent {
  SK_CLASS(TcxInterfacedPersistent, TInterfacedPersistent)
 public:
  virtual void Create(TPersistent* AOwner);
  TPersistent* Owner() const { return FOwner; }

 protected:
  TPersistent* GetOwner() override;

 private:
  TPersistent* FOwner;
};

class TcxOwnedPersistent : public TPersistent {
  SK_CLASS(TcxOwnedPersistent, TPersistent)
 public:
  virtual void Create(TPersistent* AOwner);
  // From another owned persistent object through DoAssign; otherwise the
  // class library's rules (a conversion error unless the source assigns itself).
  void Assign(TPersistent* ASource) override;
  TPersistent* Owner() const { return FOwner; }

 protected:
  virtual void DoAssign(TPersistent* ASource);
  TPersistent* GetOwner() override;

 private:
  TPersistent* FOwner;
};

class TcxOwnedInterfacedPersistent : public TNoRefCount<TcxOwnedPersistent> {
  SK_CLASS(TcxOwnedInterfacedPersistent, TcxOwnedPersistent)
 public:
  bool GetInterface(const GUID& AIID, void** AObj) override;
};

// Changes reported while locked are collapsed into one DoChanged at the
// outermost EndUpdate; CancelUpdate at the outermost level drops them.
class TcxLockablePersistent : public TcxOwnedInterfacedPersistent {
  SK_CLASS(TcxLockablePersistent, TcxOwnedInterfacedPersistent)
 public:
  virtual void BeginUpdate();
  virtual void EndUpdate();
  void CancelUpdate();
  bool IsLocked() const { return FLockCount != 0; }
  // While locked, remembers the change; otherwise reports it.
  void Changed();
  // The assignment runs inside BeginUpdate/EndUpdate (closed also when it raises).
  void Assign(TPersistent* ASource) override;

 protected:
  virtual void DoChanged() = 0;

 private:
  int FLockCount;
  bool FHasChanges;
};

// ---------------------------------------------------------------------------
// Free notification

class TcxFreeNotificator;

// A master implements this to hear that its notificator watches no component any more.
struct IdxFreeNotify : public virtual IInterface {
  static constexpr GUID IID = {0x8A9C3E51, 0x6F2B, 0x4C0D, {0xB7, 0x1E, 0x52, 0x9D, 0x0A, 0xC4, 0x38, 0x6F}};
  virtual void RemoveNotificator() = 0;

 protected:
  ~IdxFreeNotify() = default;
};

using TcxFreeNotificationEvent = Delegate<void(TComponent* AComponent)>;

// Watches components for its master and reports each that is freed.
class TcxFreeNotificator : public TComponent {
  SK_CLASS(TcxFreeNotificator, TComponent)
 public:
  // The notificator is a component of AMaster when the master is a component.
  void Create(TObject* AMaster);
  void Create(TComponent* AMaster) override { Create(static_cast<TObject*>(AMaster)); }

  void AddSender(TComponent* ASender);
  // May end in the master's RemoveNotificator, which may free this notificator.
  void RemoveSender(TComponent* ASender);
  // Frees the notificator in the variable, and clears it, when it watches nothing.
  static void Check(TcxFreeNotificator*& AFreeNotificator);

  TObject* Master() const { return FMaster; }
  int SenderCount() const { return static_cast<int>(FSenders.size()); }
  TcxFreeNotificationEvent OnFreeNotification() const { return FOnFreeNotification; }
  void SetOnFreeNotification(TcxFreeNotificationEvent AValue) { FOnFreeNotification = AValue; }

 protected:
  void Notification(TComponent* AComponent, TOperation AOperation) override;

 private:
  TObject* FMaster;
  std::vector<TComponent*> FSenders;
  TcxFreeNotificationEvent FOnFreeNotification;
};

// ---------------------------------------------------------------------------
// Doubly linked objects

class TcxDoublyLinkedObject : public TObject {
  SK_CLASS(TcxDoublyLinkedObject, TObject)
 public:
  // Virtual, so that CreateNode reaches the node class's own creation step.
  virtual void Create() {}
  TcxDoublyLinkedObject* Prev() const { return FPrev; }
  TcxDoublyLinkedObject* Next() const { return FNext; }

 private:
  friend class TcxDoublyLinkedObjectList;
  TcxDoublyLinkedObject* FPrev;
  TcxDoublyLinkedObject* FNext;
};

// Owns its nodes.
class TcxDoublyLinkedObjectList : public TObject {
  SK_CLASS(TcxDoublyLinkedObjectList, TObject)
 public:
  void Destroy() override;

  virtual TcxDoublyLinkedObject* Add();
  virtual void Clear();
  virtual void Delete(TcxDoublyLinkedObject* ALinkedObject);
  virtual void Extract(TcxDoublyLinkedObject* ALinkedObject);
  virtual void Remove(TcxDoublyLinkedObject* ALinkedObject);
  void InsertBefore(TcxDoublyLinkedObject* ADestination, TcxDoublyLinkedObject* ASource);
  void InsertAfter(TcxDoublyLinkedObject* ADestination, TcxDoublyLinkedObject* ASource);

  TcxDoublyLinkedObject* First() const { return FFirst; }
  TcxDoublyLinkedObject* Last() const { return FLast; }
  // Counted by walking back from the last node.
  int Count() const;

 protected:
  virtual TcxDoublyLinkedObject* CreateNode();
  virtual void AppendNode(TcxDoublyLinkedObject* ANode);
  virtual TClass GetNodeClass();

 private:
  TcxDoublyLinkedObject* FFirst;
  TcxDoublyLinkedObject* FLast;
};

// ---------------------------------------------------------------------------
// Mouse tracking callers (the control framework's mouse tracking calls them)

struct IcxMouseTrackingCaller : public virtual IInterface {
  static constexpr GUID IID = {0x84A4BCBE, 0xE001, 0x4D60, {0xB7, 0xA6, 0x75, 0xE2, 0xD0, 0xDC, 0xE5, 0x1B}};
  // The mouse left the tracked area.
  virtual void MouseLeave() = 0;

 protected:
  ~IcxMouseTrackingCaller() = default;
};

struct IcxMouseTrackingCaller2 : public IcxMouseTrackingCaller {
  static constexpr GUID IID = {0x3A7C1F5E, 0x9B28, 0x4E61, {0x8D, 0x40, 0x6C, 0x15, 0xE9, 0x27, 0xB3, 0xA2}};
  // Whether the point (client coordinates of the tracked control, or screen
  // coordinates without a control) lies over the caller.
  virtual bool PtInCaller(const TPoint& P) = 0;

 protected:
  ~IcxMouseTrackingCaller2() = default;
};

struct IcxMouseTrackingCaller3 : public IcxMouseTrackingCaller2 {
  static constexpr GUID IID = {0xD1E6B0A4, 0x27F3, 0x4B9C, {0xA5, 0x58, 0x0F, 0x7B, 0x3E, 0x91, 0xC2, 0x6D}};
  // Whether tracking goes on although the point left (the capture is inside the caller).
  virtual bool IsCaptureObject() = 0;

 protected:
  ~IcxMouseTrackingCaller3() = default;
};

// ---------------------------------------------------------------------------
// List errors of the library's own lists: EListError with the run-time's texts.

[[noreturn]] void dxListIndexError(int AIndex);
[[noreturn]] void dxListCapacityError(int ACapacity);
[[noreturn]] void dxListCountError(int ACount);
[[noreturn]] void dxListRangeError();

// Whether AIndex .. AIndex + ACount - 1 is a range of a list of ACountTotal
// items (0 items at any index up to the end included).
constexpr bool dxIsValidRange(int AIndex, int ACount, int ACountTotal) {
  return AIndex >= 0 && ACount >= 0 && static_cast<std::int64_t>(AIndex) + ACount <= ACountTotal;
}

// The growth step of the library's lists when an item finds them full.
constexpr int dxGrowCapacity(int ACapacity) {
  return ACapacity <= 16 ? ACapacity + 16 : ACapacity <= 128 ? ACapacity + 32 : ACapacity + ACapacity / 2;
}

// ---------------------------------------------------------------------------
// The sort kernel

using TdxPointerList = void**;
// Negative when AItem1 sorts before AItem2.
using TCompareItems = Delegate<int(void* AItem1, void* AItem2)>;
using TdxListSortCompareDelegate = std::function<int(void* AItem1, void* AItem2)>;

namespace dxsort_detail {

// Partitions while a range holds more than 35 items; smaller parts stay
// unsorted for the insertion phase. Recurses into the smaller part only.
template <class C>
void QuickSortPhase(void** AList, int R, C& ACompare) {
  while (R > 34) {
    const int m = R >> 1;
    void* p = AList[m];
    if (ACompare(AList[R], AList[0]) < 0) std::swap(AList[0], AList[R]);
    if (ACompare(p, AList[0]) < 0) {
      std::swap(AList[0], AList[m]);
      p = AList[m];
    } else if (ACompare(AList[R], p) < 0) {
      std::swap(AList[R], AList[m]);
      p = AList[m];
    }
    int i = 0;
    int j = R;
    // Items 0 and R stop the scans; the bounds only guard against a
    // comparer that contradicts itself.
    do ++i; while (ACompare(AList[i], p) < 0 && i < R);
    do --j; while (ACompare(p, AList[j]) < 0 && j > 0);
    while (i < j) {
      std::swap(AList[i], AList[j]);
      do ++i; while (ACompare(AList[i], p) < 0 && i < R);
      do --j; while (ACompare(p, AList[j]) < 0 && j > 0);
    }
    if (R < i + j) {
      if (R - j - 1 > 34) QuickSortPhase(AList + j + 1, R - j - 1, ACompare);
      R = i - 1;
    } else {
      if (i - 1 > 34) QuickSortPhase(AList, i - 1, ACompare);
      AList += j + 1;
      R -= j + 1;
    }
  }
}

}  // namespace dxsort_detail

// Sorts ACount pointers in place with ACompare (a callable taking two
// pointers and answering an int). Not stable.
template <class C>
void dxInternalQuickSortList(void** AList, int ACount, C&& ACompare) {
  if (!AList || ACount < 2) return;
  const int r = ACount - 1;
  if (r > 34) dxsort_detail::QuickSortPhase(AList, r, ACompare);
  // Sentinel: a smallest item of the whole array into index 0.
  int smallest = 0;
  for (int k = r < 34 ? r : 34; k >= 1; --k)
    if (ACompare(AList[k], AList[smallest]) < 0) smallest = k;
  std::swap(AList[0], AList[smallest]);
  for (int k = 2; k <= r; ++k) {
    if (ACompare(AList[k], AList[k - 1]) < 0) {
      void* taken = AList[k];
      int j = k;
      // A comparer that raises must not cost the item in hand.
      TScopeExit put([&] { AList[j] = taken; });
      do {
        AList[j] = AList[j - 1];
        --j;
      } while (j > 0 && ACompare(taken, AList[j - 1]) < 0);
    }
  }
}

// The multithreaded sorter of the threading unit. Until that unit installs
// its hooks (and on a machine where multithreading is not available) every
// sort runs in the calling thread.
struct TdxMultithreadedSortHooks {
  bool (*IsMultithreadingEnabled)() = nullptr;
  void (*Sort)(void** AList, int ACount, const TdxListSortCompareDelegate& ACompare) = nullptr;
};
void SetMultithreadedSortHooks(const TdxMultithreadedSortHooks& AHooks);
// Whether a sort of ACount items goes to the multithreaded sorter: asked
// for, available, and more than 32 items.
bool dxUseMultithreadedSort(bool AMultiThreaded, int ACount);
// Sorts through the multithreaded sorter (call only when dxUseMultithreadedSort).
void dxMultithreadedSort(void** AList, int ACount, const TdxListSortCompareDelegate& ACompare);

// ---------------------------------------------------------------------------
// Fast lists

enum TdxListDirection { ldFromBeginning, ldFromEnd };

// A growable array of pointers with index checks on every indexed access.
// Capacity grows by 16 while at most 16, by 32 while at most 128, and by half
// beyond; the range operations and the Count writer grow to exactly the size
// needed.
class TdxFastList : public TObject {
  SK_CLASS(TdxFastList, TObject)
 public:
  void Create(int ACapacity = 0);
  void Destroy() override;

  // Properties
  int Count() const { return FCount; }
  virtual void SetCount(int AValue);
  int Capacity() const { return FCapacity; }
  void SetCapacity(int AValue);
  void* Items(int AIndex) const {
    if (static_cast<unsigned>(AIndex) >= static_cast<unsigned>(FCount)) dxListIndexError(AIndex);
    return FList[AIndex];
  }
  virtual void SetItems(int AIndex, void* AItem);
  void* operator[](int AIndex) const { return Items(AIndex); }
  TdxPointerList List() const { return FList; }

  // Operations
  int Add(void* AItem) {
    if (FCount == FCapacity) Grow();
    FList[FCount] = AItem;
    return FCount++;
  }
  void AddRange(TdxFastList* AList) { InsertRange(FCount, AList); }
  void Insert(int AIndex, void* AItem);
  void Insert(int AIndex, TdxFastList* AList) { InsertRange(AIndex, AList); }
  void InsertRange(int AIndex, TdxFastList* AList);
  virtual void Delete(int AIndex);
  virtual void DeleteRange(int AIndex, int ACount);
  virtual void Clear();
  bool Empty() const { return FCount == 0; }
  // Also for an absent list.
  static bool Empty(const TdxFastList* AList) { return !AList || AList->FCount == 0; }
  void Exchange(int AIndex1, int AIndex2);
  TdxFastList* Expand();
  void* First() const;
  void* Last() const;
  // A new class-library list with the same items; the caller owns it.
  TList* GetTList() const;
  int IndexOf(void* AItem, TdxListDirection ADirection = ldFromBeginning) const;
  // Removes the match found by IndexOf; AItem, or nil when absent.
  void* Extract(void* AItem, TdxListDirection ADirection = ldFromBeginning);
  void* ExtractByIndex(int AIndex);
  void Move(int ACurrentIndex, int ANewIndex);
  void Pack(void* APattern = nullptr);
  // Deletes the first match; its former index or -1.
  int Remove(void* AItem);
  void Reverse();

  // Takes the source's count and capacity and copies its items, or combines
  // this list with the source by AOperator (membership by pointer).
  void Assign(TdxFastList* ASource, TListAssignOp AOperator = laCopy);
  void Assign(TList* ASource, TListAssignOp AOperator = laCopy);

  // A list of fewer than 2 items is left alone; with AMultiThreaded, more
  // than 32 items and multithreading available the multithreaded sorter
  // sorts it, otherwise the calling thread.
  void Sort(TCompareItems ACompare, bool AMultiThreaded = false);
  void Sort(TListSortCompare ACompare, bool AMultiThreaded = false);
  void SortList(const TdxListSortCompareDelegate& ACompare, bool AMultiThreaded = false);
  // In the calling thread with any callable; no type erasure.
  template <class C>
  void SortBy(C&& ACompare) {
    dxInternalQuickSortList(FList, FCount, std::forward<C>(ACompare));
  }

 protected:
  // Removes the slots of a range without any other work.
  void RemoveRange(int AIndex, int ACount);

 private:
  void Grow();
  void Reallocate(int ACapacity, bool AGrowing);
  void AssignItems(void* const* AItems, int ACount, int ACapacity, TListAssignOp AOperator);

  TdxPointerList FList;
  int FCount;
  int FCapacity;
  int FAllocated;  // slots of the block, at least FCapacity
};

// A fast list that may own its objects and then frees them when they leave.
class TdxFastObjectList : public TdxFastList {
  SK_CLASS(TdxFastObjectList, TdxFastList)
 public:
  void Create(bool AOwnsObjects = true, int ACapacity = 0);

  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool AValue) { FOwnsObjects = AValue; }
  TObject* Items(int AIndex) const { return static_cast<TObject*>(TdxFastList::Items(AIndex)); }
  TObject* operator[](int AIndex) const { return Items(AIndex); }
  int Add(TObject* AObject) { return TdxFastList::Add(AObject); }
  int IndexOf(TObject* AObject, TdxListDirection ADirection = ldFromBeginning) const {
    return TdxFastList::IndexOf(AObject, ADirection);
  }
  int Remove(TObject* AObject) { return TdxFastList::Remove(AObject); }
  TObject* Extract(TObject* AObject) { return static_cast<TObject*>(TdxFastList::Extract(AObject)); }
  // Removes the range without freeing.
  void ExtractRange(int AIndex, int ACount);

  void SetCount(int AValue) override;
  void SetItems(int AIndex, void* AItem) override;
  void Delete(int AIndex) override;
  void DeleteRange(int AIndex, int ACount) override;
  void Clear() override;

 private:
  bool FOwnsObjects;
};

// ---------------------------------------------------------------------------
// Streams

// A memory stream that grows in steps of 16,384 bytes, with typed reads and writes.
class TdxMemoryStream : public TMemoryStream {
  SK_CLASS(TdxMemoryStream, TMemoryStream)
 public:
  static constexpr std::int64_t GrowthStep = 16384;

  void Create() {}
  // The whole file, opened with AMode.
  void Create(const String& AFileName, std::uint16_t AMode) { LoadFromFile(AFileName, AMode); }
  // ACount bytes from AOffset of the array (the whole array by default),
  // then position 0. A range outside the array raises EStreamError.
  void Create(const TBytes& AContent) { Create(AContent, 0, static_cast<int>(AContent.size())); }
  void Create(const TBytes& AContent, int ACount) { Create(AContent, 0, ACount); }
  void Create(const TBytes& AContent, int AOffset, int ACount);

  // Opened for reading without restricting other users.
  void LoadFromFile(const String& AFileName) { LoadFromFile(AFileName, fmOpenRead | fmShareDenyNone); }
  void LoadFromFile(const String& AFileName, std::uint16_t AMode);
  // Short reads raise EReadError.
  std::uint8_t ReadByte();
  // 4 bytes, little-endian.
  std::int32_t ReadInteger();
  void WriteByte(std::uint8_t AValue) { WriteBuffer(&AValue, 1); }
  void WriteInteger(std::int32_t AValue);
  void WriteByteArray(const TBytes& AValue);
  TBytes ToArray() const;

 protected:
  // Capacities other than the size are raised to whole growth steps; the
  // first block is zero-filled.
  void* Realloc(std::int64_t& ANewCapacity) override;
};

// A read-only window onto another stream. Several windows over one source
// may be read from different threads: each read holds the source's monitor.
class TdxReadOnlySubStream : public TStream {
  SK_CLASS(TdxReadOnlySubStream, TStream)
 public:
  // The window is clamped to the source's size.
  void Create(TStream* ASource, std::int64_t AOffset, std::int64_t ASize,
              TStreamOwnership ASourceOwnership = soReference);
  void Destroy() override;

  std::int64_t Offset() const { return FOffset; }
  int Read(void* ABuffer, int ACount) override;
  // Raises EInvalidOperation.
  int Write(const void* ABuffer, int ACount) override;
  // Clamped to 0 .. Size.
  std::int64_t Seek(std::int64_t AOffset, TSeekOrigin AOrigin) override;
  // Raises EInvalidOperation.
  void SetSize(std::int64_t ANewSize) override;

 protected:
  std::int64_t GetSize() const override { return FSize; }

 private:
  TStream* FSource;
  TStreamOwnership FSourceOwnership;
  std::int64_t FOffset;
  std::int64_t FSize;
  std::int64_t FPosition;
};

// A read-only stream over a Windows global memory block, locked while the
// stream lives.
class TdxHGlobalReadOnlyStream : public TCustomMemoryStream {
  SK_CLASS(TdxHGlobalReadOnlyStream, TCustomMemoryStream)
 public:
  // Raises EStreamError for a block that cannot be locked.
  void Create(HGLOBAL AData, TStreamOwnership ADataOwnership = soReference);
  void Destroy() override;

  // Raise EInvalidOperation.
  int Write(const void* ABuffer, int ACount) override;
  void SetSize(std::int64_t ANewSize) override;

 private:
  HGLOBAL FData;
  TStreamOwnership FDataOwnership;
};

// Buffers the reads and writes of another stream. Written bytes reach the
// source when the position leaves the buffer's window, or at destruction.
class TdxBufferedStream : public TStream {
  SK_CLASS(TdxBufferedStream, TStream)
 public:
  void Create(TStream* ASource, TStreamOwnership AOwnership, int ABufferSize);
  // Over a new file stream opened with AAccessMode, owned.
  void Create(const String& AFileName, std::uint16_t AAccessMode, int ABufferSize);
  void Destroy() override;

  int BufferSize() const { return FBufferSize; }
  int Read(void* ABuffer, int ACount) override;
  // Takes all bytes.
  int Write(const void* ABuffer, int ACount) override;
  // Clamped to 0 .. Size; only the logical position moves.
  std::int64_t Seek(std::int64_t AOffset, TSeekOrigin AOrigin) override;
  // The source's size (the buffer is not touched).
  void SetSize(std::int64_t ANewSize) override;

 protected:
  // The source's size, or the end of unwritten changes when that is larger.
  std::int64_t GetSize() const override;

 private:
  void FlushBuffer();
  void RefillBuffer();

  TStream* FSource;
  TStreamOwnership FSourceOwnership;
  std::vector<std::uint8_t> FBuffer;
  int FBufferSize;
  int FBufferUsed;
  std::int64_t FBufferAllocationBase;
  std::int64_t FBufferPosition;
  bool FBufferModified;
};

// ---------------------------------------------------------------------------
// String comparers

template <class T>
class TdxCustomComparer {
 public:
  virtual ~TdxCustomComparer() = default;
  virtual int Compare(const T& ALeft, const T& ARight) const = 0;
  virtual bool Equals(const T& ALeft, const T& ARight) const = 0;
  virtual std::uint32_t GetHashCode(const T& AValue) const = 0;
};

// Byte order in memory (the low byte of a code unit first), then length.
class TdxOrdinalStringComparer : public TdxCustomComparer<String> {
 public:
  int Compare(const String& ALeft, const String& ARight) const override;
  bool Equals(const String& ALeft, const String& ARight) const override;
  std::uint32_t GetHashCode(const String& AValue) const override;
};

// The same on the texts lower-cased by the system's locale-aware mapping.
class TdxOrdinalIStringComparer : public TdxCustomComparer<String> {
 public:
  int Compare(const String& ALeft, const String& ARight) const override;
  bool Equals(const String& ALeft, const String& ARight) const override;
  std::uint32_t GetHashCode(const String& AValue) const override;
};

// The shared instances.
struct TdxStringComparer {
  static const TdxCustomComparer<String>& Ordinal();
};
struct TdxIStringComparer {
  static const TdxCustomComparer<String>& Ordinal();
};

// The two-lane hash of the ordinal comparer over UTF-16 code units.
std::uint32_t dxOrdinalStringHash(const wchar_t* AText, std::size_t ALength);
