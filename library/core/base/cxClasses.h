// The library's component bases, its timer, and its small infrastructure
// classes.
//
// Classes in this file:
//   TcxAlignmentVert, TcxCollectionOperation, TcxDirection,
//   TcxComponentCollectionNotification, TcxCollectionInternalState(s)
//   IcxScalableComponent, IdxAdornerRootTargetElement, IdxAdornerTargetElement,
//   IdxAdornerTargetElementCollection, TdxSkinName
//   TcxCustomComponent, TcxComponent, TcxScalableComponent   the component bases
//   TcxTimer                          the timer component (all timers share one hidden window)
//   TcxObjectLink, TcxObjectLinkController   weak references that turn nil (cxClasses_Registries.cpp)
//   TcxRegisteredClassListItemData, TcxRegisteredClassList   class-to-class registry
//   TcxRegisteredClasses              class registry with descriptions
//   TcxObjectList                     a list that may own its objects
//   TcxComponentList                  a component list with batched change events
//   TcxStringList                     a string list sorted through an event
//   TcxOwnedInterfacedCollection      a sortable owned collection
//   TcxEvent, TcxCustomThread, TcxThread   the library's events and threads (cxClasses_Threads.cpp)
//
// Timers: every TcxTimer is a Windows timer on one hidden window, identified
// by the timer object's address and served only while the timer runs, so a
// WM_TIMER that arrives after its timer stopped or was freed calls nothing.
// A timer runs exactly while it is enabled, has an OnTimer handler and
// Windows accepted it; each change of Enabled, Interval or OnTimer restarts it.
#pragma once

#include "library/core/geometry/cxGeometry.h"
#include "library/core/base/dxCore.h"
#include "library/core/base/dxCoreClasses.h"
#include "library/core/containers/dxGenerics.h"
#include "platform/classes/Collection.h"
#include "platform/classes/Lists.h"
#include "platform/runtime/Handles.h"
#include "platform/runtime/Threads.h"

#include <exception>
#include <vector>

// ---------------------------------------------------------------------------
// Shared types

enum TcxAlignmentVert { vaTop, vaBottom, vaCenter };
enum TcxCollectionOperation { copAdd, copDelete, copChanged };
enum TcxDirection { dirNone, dirLeft, dirRight, dirUp, dirDown };
template <>
struct TEnumInfo<TcxDirection> {
  static constexpr const wchar_t* Name = L"TcxDirection";
  static constexpr const wchar_t* Names[] = {L"dirNone", L"dirLeft", L"dirRight", L"dirUp", L"dirDown"};
  static constexpr TcxDirection Last = dirDown;
};
enum TcxComponentCollectionNotification { ccnAdded, ccnChanged, ccnExtracting, ccnExtracted, ccnDeleting };
enum TcxCollectionInternalState { cisDestroying, cisUpdating, cisSorting };
using TcxCollectionInternalStates = TSet<TcxCollectionInternalState>;
using TdxSkinName = String;

// A component that scales its own sizes to a new DPI.
struct IcxScalableComponent : public virtual IInterface {
  static constexpr GUID IID = {0x2B4D9E61, 0x7C05, 0x4A3F, {0x91, 0x8E, 0x54, 0x0C, 0xB7, 0x2A, 0xD6, 0x13}};
  virtual void ScaleForPPI(int ATargetPPI) = 0;

 protected:
  ~IcxScalableComponent() = default;
};

// Adorners (overlay decorations) place themselves over target elements.
struct IdxAdornerTargetElement : public virtual IInterface {
  static constexpr GUID IID = {0x6F1A3C27, 0xE849, 0x4B0D, {0xA3, 0x75, 0x1D, 0x92, 0xC8, 0x4E, 0x07, 0xB6}};
  virtual TRect GetAdornerTargetBounds() = 0;
  virtual bool GetAdornerTargetVisible() = 0;

 protected:
  ~IdxAdornerTargetElement() = default;
};

struct IdxAdornerRootTargetElement : public virtual IInterface {
  static constexpr GUID IID = {0x0D8E52B4, 0x3A61, 0x47C9, {0x86, 0x2F, 0xE0, 0x5B, 0x19, 0x7D, 0xA4, 0x3C}};
  virtual void UpdateAdornerTarget() = 0;

 protected:
  ~IdxAdornerRootTargetElement() = default;
};

// A marker: the element holds further target elements.
struct IdxAdornerTargetElementCollection : public virtual IInterface {
  static constexpr GUID IID = {0xC47B0E93, 0x5D12, 0x4F86, {0xB9, 0x0A, 0x63, 0xE1, 0x2C, 0x48, 0x9F, 0x75}};

 protected:
  ~IdxAdornerTargetElementCollection() = default;
};

// ---------------------------------------------------------------------------
// Component bases

class TcxCustomComponent : public TComponent {
  SK_CLASS(TcxCustomComponent, TComponent)
 public:
  // Tells the owner and the free-notification subscribers before the
  // descendants' destruction runs.
  void BeforeDestruction() override;
  // Clears every object link to this component first.
  void Destroy() override;
};

class TcxComponent : public TcxCustomComponent {
  SK_CLASS(TcxComponent, TcxCustomComponent)
 public:
  static void Publish(TPublisher<TcxComponent>& P);

  bool IsDesigning() const { return ComponentState().Contains(csDesigning); }
  bool IsDestroying() const { return ComponentState().Contains(csDestroying); }
  bool IsLoading() const { return ComponentState().Contains(csLoading); }

  // Design-time links that keep related components with this one.
  TComponent* FakeComponentLink1() const { return FFakeComponentLink1; }
  void SetFakeComponentLink1(TComponent* AValue) { SetFakeLink(FFakeComponentLink1, AValue); }
  TComponent* FakeComponentLink2() const { return FFakeComponentLink2; }
  void SetFakeComponentLink2(TComponent* AValue) { SetFakeLink(FFakeComponentLink2, AValue); }
  TComponent* FakeComponentLink3() const { return FFakeComponentLink3; }
  void SetFakeComponentLink3(TComponent* AValue) { SetFakeLink(FFakeComponentLink3, AValue); }

 protected:
  // At design time, for an owned component: up to three links collected
  // through GetFakeComponentLinks.
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation AOperation) override;
  virtual void GetFakeComponentLinks(std::vector<TComponent*>& /*AList*/) {}

 private:
  void SetFakeLink(TComponent*& AField, TComponent* AValue);

  TComponent* FFakeComponentLink1;
  TComponent* FFakeComponentLink2;
  TComponent* FFakeComponentLink3;
};

// A component with a scale factor of its own, stored as "PixelsPerInch".
class TcxScalableComponent : public TNoRefCount<TcxComponent>, public IcxScalableComponent {
  SK_CLASS(TcxScalableComponent, TcxComponent)
 public:
  // The factor starts at the target DPI over 96.
  void Create(TComponent* AOwner) override;
  void Destroy() override;
  bool GetInterface(const GUID& AIID, void** AObj) override;

  bool Scalable() const { return FScalable; }
  void SetScalable(bool AValue) { FScalable = AValue; }
  TdxScaleFactor* ScaleFactor() const { return FScaleFactor.get(); }
  // Rescales when scalable and ATargetPPI is not the current DPI.
  void ScaleForPPI(int ATargetPPI) override;

 protected:
  // The owner's DPI when the thread is DPI aware, else the screen's.
  int GetTargetDPI();
  // Multiplies the factor; descendants rescale their own sizes too.
  virtual void ChangeScaleFactor(int ANumerator, int ADenominator);
  void DefineProperties(TFiler* AFiler) override;
  void Loaded() override;

 private:
  bool FScalable;
  TOwned<TdxScaleFactor> FScaleFactor;
};

// Whether the component is being destroyed; with ACheckOwnerAndParent also
// when its owner is, or its parent (a control's parent other than its owner).
bool IsComponentDestroying(TComponent* AComponent, bool ACheckOwnerAndParent = false);
// Tells the component's free-notification subscribers and its owner now
// that it goes.
void NotifyOwnerOfRemoval(TComponent* AComponent);
// AComponent hears (Notification) when AWatched is freed; nothing for nil.
void RequestFreeNotification(TComponent* AComponent, TComponent* AWatched);

// ---------------------------------------------------------------------------
// Timer

class TcxTimer : public TComponent {
  SK_CLASS(TcxTimer, TComponent)
 public:
  static void Publish(TPublisher<TcxTimer>& P);

  // Enabled, 1000 ms, no handler: nothing runs yet.
  void Create(TComponent* AOwner) override;
  void Destroy() override;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool AValue);
  unsigned Interval() const { return FInterval; }
  // An equal value and 0 are ignored.
  void SetInterval(unsigned AValue);
  TNotifyEvent OnTimer() const { return FOnTimer; }
  // Restarts even for the same handler.
  void SetOnTimer(TNotifyEvent AValue);
  // The interval starts counting anew (when enabled).
  void Reset();
  // A Windows timer runs for this component.
  bool TimerOn() const { return FTimerOn; }
  // The id the timer has with Windows: its own address.
  UINT_PTR EventID() const { return FEventID; }

 protected:
  // Calls OnTimer; the handler may free the timer.
  virtual void FireTimer();

 private:
  friend class TcxTimerWindow;
  void Restart();
  void StartTimer();
  void StopTimer();
  void SetTimerOn(bool AValue);

  bool FEnabled;
  unsigned FInterval;
  TNotifyEvent FOnTimer;
  UINT_PTR FEventID;
  bool FTimerOn;
};

// An unowned timer with Enabled, then Interval, then OnTimer set.
TcxTimer* CreateTimer(unsigned AInterval, bool AEnabled = true, TNotifyEvent AOnTimer = nullptr);
// The hidden window every timer runs on (created on first need; nil once
// the unit has shut down), and the number of running timers.
HWND cxTimerWindowHandle();
int cxRunningTimerCount();

// ---------------------------------------------------------------------------
// Object links: a link's Ref turns nil when its object is destroyed (every
// TcxCustomComponent clears its links). Safe for any thread.

class TcxObjectLink : public TObject {
  SK_CLASS(TcxObjectLink, TObject)
 public:
  TObject* Ref = nullptr;
};

class TcxObjectLinkController : public TObject {
  SK_CLASS(TcxObjectLinkController, TObject)
 public:
  void Destroy() override;

  // The caller owns the link.
  TcxObjectLink* AddLink(TObject* AObject);
  // Frees the link.
  void RemoveLink(TcxObjectLink* ALink);
  void ClearLinks(TObject* AObject);
  int LinkCount() const;

 private:
  TdxHashSet<TcxObjectLink*> FLinks;
};

// Nil for nil.
TcxObjectLink* AddObjectLink(TObject* AObject);
void RemoveObjectLink(TcxObjectLink* ALink);
void ClearObjectLinks(TObject* AObject);
// The process-wide controller (created on first need; nil once the unit has
// shut down and let it go).
TcxObjectLinkController* ObjectLinkController();

// ---------------------------------------------------------------------------
// Registries

class TcxRegisteredClassListItemData : public TObject {
  SK_CLASS(TcxRegisteredClassListItemData, TObject)
 public:
  TClass ItemClass = nullptr;
  TClass RegisteredClass = nullptr;
};

// Maps item classes to classes: a class finds the pair of its nearest
// registered ancestor (or itself); a later registration of the same item
// class wins.
class TcxRegisteredClassList : public TObject {
  SK_CLASS(TcxRegisteredClassList, TObject)
 public:
  void Create();
  void Destroy() override;

  int Count() const { return FItems->Count(); }
  TcxRegisteredClassListItemData* Items(int AIndex) const {
    return static_cast<TcxRegisteredClassListItemData*>(FItems->Items(AIndex));
  }
  void Clear();
  // The registered class for AItemClass, or nil.
  TClass FindClass(TClass AItemClass);

  // From the last pair to the first: the first whose item class is AClass or
  // an ancestor of it. Otherwise false, with AIndex the first pair whose item
  // class descends from AClass (unchanged when none does).
  virtual bool Find(TClass AClass, int& AIndex);
  virtual void Register(TClass AItemClass, TClass ARegisteredClass);
  // Every pair equal in both classes.
  virtual void Unregister(TClass AItemClass, TClass ARegisteredClass);

 private:
  TOwned<TdxFastList> FItems;  // owned pairs
};

// Classes with a description and a hint ("description|hint"; without "|"
// the text is both).
class TcxRegisteredClasses : public TObject {
  SK_CLASS(TcxRegisteredClasses, TObject)
 public:
  // With ARegisterClasses each class is also registered for form descriptions.
  void Create(bool ARegisterClasses = false);

  int Count() const { return static_cast<int>(FItems.size()); }
  TClass Items(int AIndex) const;
  String Descriptions(int AIndex) const;
  String Hints(int AIndex) const;
  bool RegisterClasses() const { return FRegisterClasses; }
  void SetRegisterClasses(bool AValue) { FRegisterClasses = AValue; }
  bool Sorted() const { return FSorted; }
  // Switching it on sorts at once.
  void SetSorted(bool AValue);

  void Clear() { FItems.clear(); }
  // A class already present keeps its description.
  void Register(TClass AClass, const String& ADescription);
  // The registration for form descriptions stays.
  void Unregister(TClass AClass);
  String GetDescription(int AIndex) const { return Descriptions(AIndex); }
  String GetHint(int AIndex) const { return Hints(AIndex); }
  TClass GetItem(int AIndex) const { return Items(AIndex); }
  int GetIndexByClass(TClass AClass) const;
  String GetDescriptionByClass(TClass AClass) const;
  String GetHintByClass(TClass AClass) const;
  // Exact class name, else nil.
  TClass FindByClassName(const String& AClassName) const;
  // Exact description (nil for an empty text).
  TClass FindByDescription(const String& ADescription) const;

  // By description, ignoring case as the locale does.
  virtual void Sort();

 protected:
  virtual int CompareDescriptions(int AIndex1, int AIndex2) const;

 private:
  void CheckIndex(int AIndex) const;

  std::vector<std::pair<String, TClass>> FItems;
  bool FRegisterClasses;
  bool FSorted;
};

// ---------------------------------------------------------------------------
// Lists and collections

class TcxObjectList : public TList {
  SK_CLASS(TcxObjectList, TList)
 public:
  void Create(bool AOwnObjects = false);

  bool OwnObjects() const { return FOwnObjects; }
  TObject* Items(int AIndex) const { return static_cast<TObject*>(TList::Items(AIndex)); }
  // An owning list frees its objects first.
  void Clear() override;
  // Frees the object and deletes its slot, owning or not.
  void FreeAndDelete(int AIndex);
  // The same for the first slot of AObject; its former index or -1.
  int FreeAndRemove(TObject* AObject);

 protected:
  virtual void FreeObjectAt(int AIndex);

 private:
  bool FOwnObjects;
};

using TcxComponentListNotifyEvent = Delegate<void(TObject* Sender, TComponent* AComponent, TListNotification AAction)>;
using TcxComponentListChangeEvent =
    Delegate<void(TObject* Sender, TComponent* AComponent, TcxComponentCollectionNotification AAction)>;

// Holds components of ListItemClass only (another is taken out again at
// once); changes are reported to OnComponentListChanged outside update blocks.
class TcxComponentList : public TComponentList {
  SK_CLASS(TcxComponentList, TComponentList)
 public:
  // The list does not own its components.
  void Create();
  // Reports nothing.
  void Destroy() override;

  void BeginUpdate() { ++FUpdateCount; }
  // Without a report.
  void CancelUpdate() { --FUpdateCount; }
  // Reports ccnChanged once the count is back at 0.
  void EndUpdate();
  // One ccnChanged for the whole clearing.
  void Clear() override;
  int UpdateCount() const { return FUpdateCount; }

  TcxComponentListNotifyEvent OnNotify() const { return FOnNotify; }
  void SetOnNotify(TcxComponentListNotifyEvent AValue) { FOnNotify = AValue; }
  TcxComponentListChangeEvent OnComponentListChanged() const { return FOnComponentListChanged; }
  void SetOnComponentListChanged(TcxComponentListChangeEvent AValue) { FOnComponentListChanged = AValue; }

 protected:
  void Notify(void* AItem, TListNotification AAction) override;
  virtual void DispatchNotification(TComponent* AComponent, TListNotification AAction);
  virtual TClass ListItemClass() { return TComponent::ClassInfo(); }
  void Changed(TComponent* AComponent, TcxComponentCollectionNotification ANotification);

 private:
  int FUpdateCount;
  TcxComponentListNotifyEvent FOnNotify;
  TcxComponentListChangeEvent FOnComponentListChanged;
};

class TcxStringList;
using TcxStringListCompareEvent = Delegate<int(TcxStringList* AList, int AIndex1, int AIndex2)>;

class TcxStringList : public TStringList {
  SK_CLASS(TcxStringList, TStringList)
 public:
  TcxStringListCompareEvent OnCompare() const { return FOnCompare; }
  void SetOnCompare(TcxStringListCompareEvent AValue) { FOnCompare = AValue; }
  // Through OnCompare when assigned.
  void Sort() override;

 private:
  TcxStringListCompareEvent FOnCompare;
};

using TcxCollectionNotifyEvent = Delegate<void(TObject* Sender, TCollectionItem* AItem)>;
using TcxCollectionCompareEvent = Delegate<int(TObject* Sender, TCollectionItem* AItem1, TCollectionItem* AItem2)>;

// An owned collection that reports its changes through OnChange and can keep
// its items sorted (through OnCompare, else in their present order).
class TcxOwnedInterfacedCollection : public TNoRefCount<TOwnedCollection> {
  SK_CLASS(TcxOwnedInterfacedCollection, TOwnedCollection)
 public:
  void Destroy() override;

  bool Sorted() const { return FSorted; }
  // Switching it on sorts at once.
  void SetSorted(bool AValue);
  // Outside update blocks only.
  void SortItems();
  const TcxCollectionInternalStates& InternalState() const { return FInternalState; }

  TcxCollectionNotifyEvent OnChange() const { return FOnChange; }
  void SetOnChange(TcxCollectionNotifyEvent AValue) { FOnChange = AValue; }
  TcxCollectionCompareEvent OnCompare() const { return FOnCompare; }
  void SetOnCompare(TcxCollectionCompareEvent AValue) { FOnCompare = AValue; }

 protected:
  void Update(TCollectionItem* AItem) override;
  // The sign of the difference of the items' present indexes.
  virtual int DoCompareItems(TCollectionItem* AItem1, TCollectionItem* AItem2);

 private:
  int CompareItems(TCollectionItem* AItem1, TCollectionItem* AItem2);
  int CompareListItems(TcxStringList* AList, int AIndex1, int AIndex2);

  TcxCollectionInternalStates FInternalState;
  bool FSorted;
  TcxCollectionNotifyEvent FOnChange;
  TcxCollectionCompareEvent FOnCompare;
};

// ---------------------------------------------------------------------------
// Events and threads

class TcxEvent : public TObject {
  SK_CLASS(TcxEvent, TObject)
 public:
  // Raises EOSError when Windows refuses the event.
  void Create(bool AManualReset, bool AInitialState);
  void Destroy() override;

  HANDLE Handle() const { return FHandle.Get(); }
  void SetEvent();
  void ResetEvent();
  // In the main thread the wait keeps synchronisation and sent messages
  // flowing.
  TWaitResult WaitFor(DWORD ATimeOut);

 private:
  TKernelHandle FHandle;
};

class TcxCustomThread : public TThread {
  SK_CLASS(TcxCustomThread, TThread)
 public:
  // For a thread body's exception handler: shows the exception being
  // handled in the main thread (EAbort stays silent).
  virtual void ReportThreadException();
};

// A thread that can be paused between steps of its work. The working thread
// meets the pause requests at its pause points (CheckForPause).
class TcxThread : public TcxCustomThread {
  SK_CLASS(TcxThread, TcxCustomThread)
 public:
  void Create(bool ACreateSuspended) override { Create(ACreateSuspended, false); }
  virtual void Create(bool ACreateSuspended, bool ACreatePaused);
  // Stops the thread and waits for it to end before anything it uses goes.
  void Destroy() override;

  // Nothing when paused already, being destroyed or terminated. With
  // AWaitForPause the caller waits until the thread has reached its pause
  // point.
  virtual void Pause(bool AWaitForPause);
  virtual void Unpause();
  bool Paused() const { return FPaused; }

 protected:
  // The working thread's pause point: while paused, it tells a waiting
  // Pause caller and sleeps until Unpause (or destruction).
  void CheckForPause();

 private:
  volatile bool FCheckingForPause;
  volatile bool FDestroying;
  volatile bool FPaused;
  TOwned<TcxEvent> FPauseEvent;
  TOwned<TcxEvent> FWaitForPauseEvent;
  TOwned<TCriticalSection> FRTLCriticalSection;
};

// ---------------------------------------------------------------------------
// Unit routines

// The text before the first "|", or the whole text.
String GetShortText(const String& AText);
// The text after the first "|", or the whole text.
String GetLongText(const String& AText);
// The character at a 1-based position.
const wchar_t* CharPointerAt(const String& AText, int APosition);
// The bytes from the character at a 1-based position to the next one as
// CharNextW sees it.
int CharByteLength(const String& AText, int APosition);
// floor((A + B) / 2).
constexpr int CenterOfRange(int A, int B) {
  const long long s = static_cast<long long>(A) + B;
  return static_cast<int>(s >= 0 ? s / 2 : -((-s + 1) / 2));
}
constexpr int SignOfFloat(double AValue) { return AValue >= 0 ? 1 : -1; }
constexpr TSize SizeFromValues(int ACX, int ACY) { return TSize(ACX, ACY); }
// Registers the classes for form descriptions inside the class group of
// TControl, which it starts and activates.
void RegisterControlClasses(std::initializer_list<TClass> AClasses);
TPersistent* GetPersistentOwner(TPersistent* APersistent);
inline void CallNotify(const TNotifyEvent& AEvent, TObject* ASender) { CallNotifyEvent(AEvent, ASender); }

// The unit's start-up and shut-down.
void cxClassesInitialization();
void cxClassesFinalization();
