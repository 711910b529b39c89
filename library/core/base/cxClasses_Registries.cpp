// Object links, class registries, lists and the sortable collection.
#include "library/core/base/cxClasses.h"

#include "platform/runtime/SyncObjs.h"

#include <algorithm>

namespace {

TcxObjectLinkController* GObjectLinkController = nullptr;
bool GLinksFinalized = false;

// Frees the controller when the global object destroyer lets it go, and
// only then forgets it: components destroyed with the forms before that
// still clear their links.
class TcxObjectLinkControllerReleaser : public TObject {
  SK_CLASS(TcxObjectLinkControllerReleaser, TObject)
 public:
  void Destroy() override {
    FreeAndNil(GObjectLinkController);
    inherited::Destroy();
  }
};

}  // namespace

void cxReleaseObjectLinkController() {
  GLinksFinalized = true;
  if (GObjectLinkController) ScheduleGlobalObjectFreeObject(New<TcxObjectLinkControllerReleaser>());
}

void cxResetObjectLinksFinalized() { GLinksFinalized = false; }

// ---------------------------------------------------------------------------
// Object links

void TcxObjectLinkController::Destroy() {
  {
    TMonitorLock lock(this);
    // The links belong to their holders; they just stop being cleared.
    FLinks.Clear();
  }
  inherited::Destroy();
}

TcxObjectLink* TcxObjectLinkController::AddLink(TObject* AObject) {
  TcxObjectLink* link = New<TcxObjectLink>();
  link->Ref = AObject;
  TMonitorLock lock(this);
  FLinks.Include(link);
  return link;
}

void TcxObjectLinkController::RemoveLink(TcxObjectLink* ALink) {
  if (!ALink) return;
  {
    TMonitorLock lock(this);
    FLinks.Exclude(ALink);
  }
  ALink->Free();
}

void TcxObjectLinkController::ClearLinks(TObject* AObject) {
  TMonitorLock lock(this);
  std::vector<TcxObjectLink*> cleared;
  for (TcxObjectLink* link : FLinks)
    if (link->Ref == AObject) cleared.push_back(link);
  for (TcxObjectLink* link : cleared) {
    link->Ref = nullptr;
    FLinks.Exclude(link);
  }
}

int TcxObjectLinkController::LinkCount() const {
  TMonitorLock lock(this);
  return FLinks.Count();
}

TcxObjectLinkController* ObjectLinkController() {
  if (!GObjectLinkController && !GLinksFinalized) GObjectLinkController = New<TcxObjectLinkController>();
  return GObjectLinkController;
}

TcxObjectLink* AddObjectLink(TObject* AObject) {
  if (!AObject) return nullptr;
  if (TcxObjectLinkController* controller = ObjectLinkController()) return controller->AddLink(AObject);
  // After shut-down: a link that no destruction clears any more.
  TcxObjectLink* link = New<TcxObjectLink>();
  link->Ref = AObject;
  return link;
}

void RemoveObjectLink(TcxObjectLink* ALink) {
  if (!ALink) return;
  // While the controller lives the link must leave its set, even after
  // shut-down began: a freed link left there would be written to later.
  if (GObjectLinkController)
    GObjectLinkController->RemoveLink(ALink);
  else
    ALink->Free();
}

void ClearObjectLinks(TObject* AObject) {
  if (GObjectLinkController && AObject) GObjectLinkController->ClearLinks(AObject);
}

// ---------------------------------------------------------------------------
// TcxRegisteredClassList

void TcxRegisteredClassList::Create() {
  inherited::Create();
  FItems.reset(New<TdxFastList>());
}

void TcxRegisteredClassList::Destroy() {
  if (FItems) Clear();
  FItems.reset();
  inherited::Destroy();
}

void TcxRegisteredClassList::Clear() {
  for (int i = 0; i < FItems->Count(); ++i) Items(i)->Free();
  FItems->Clear();
}

bool TcxRegisteredClassList::Find(TClass AClass, int& AIndex) {
  if (!AClass) return false;
  for (int i = Count() - 1; i >= 0; --i) {
    if (AClass->InheritsFrom(Items(i)->ItemClass)) {
      AIndex = i;
      return true;
    }
  }
  for (int i = 0; i < Count(); ++i) {
    if (Items(i)->ItemClass->InheritsFrom(AClass)) {
      AIndex = i;
      break;
    }
  }
  return false;
}

void TcxRegisteredClassList::Register(TClass AItemClass, TClass ARegisteredClass) {
  if (!AItemClass) return;
  int index = Count();
  if (Find(AItemClass, index)) ++index;
  TcxRegisteredClassListItemData* data = New<TcxRegisteredClassListItemData>();
  data->ItemClass = AItemClass;
  data->RegisteredClass = ARegisteredClass;
  FItems->Insert(index, data);
}

void TcxRegisteredClassList::Unregister(TClass AItemClass, TClass ARegisteredClass) {
  for (int i = Count() - 1; i >= 0; --i) {
    TcxRegisteredClassListItemData* data = Items(i);
    if (data->ItemClass == AItemClass && data->RegisteredClass == ARegisteredClass) {
      FItems->Delete(i);
      data->Free();
    }
  }
}

TClass TcxRegisteredClassList::FindClass(TClass AItemClass) {
  int index = -1;
  return Find(AItemClass, index) ? Items(index)->RegisteredClass : nullptr;
}

// ---------------------------------------------------------------------------
// TcxRegisteredClasses

void TcxRegisteredClasses::Create(bool ARegisterClasses) {
  inherited::Create();
  FRegisterClasses = ARegisterClasses;
}

void TcxRegisteredClasses::CheckIndex(int AIndex) const {
  if (AIndex < 0 || AIndex >= Count()) dxListIndexError(AIndex);
}

TClass TcxRegisteredClasses::Items(int AIndex) const {
  CheckIndex(AIndex);
  return FItems[static_cast<std::size_t>(AIndex)].second;
}

String TcxRegisteredClasses::Descriptions(int AIndex) const {
  CheckIndex(AIndex);
  return GetShortText(FItems[static_cast<std::size_t>(AIndex)].first);
}

String TcxRegisteredClasses::Hints(int AIndex) const {
  CheckIndex(AIndex);
  return GetLongText(FItems[static_cast<std::size_t>(AIndex)].first);
}

void TcxRegisteredClasses::SetSorted(bool AValue) {
  if (FSorted == AValue) return;
  FSorted = AValue;
  if (FSorted) Sort();
}

void TcxRegisteredClasses::Register(TClass AClass, const String& ADescription) {
  if (!AClass || GetIndexByClass(AClass) >= 0) return;
  FItems.emplace_back(ADescription, AClass);
  if (FSorted) Sort();
  if (FRegisterClasses) RegisterClass(AClass);
}

void TcxRegisteredClasses::Unregister(TClass AClass) {
  const int index = GetIndexByClass(AClass);
  if (index >= 0) FItems.erase(FItems.begin() + index);
}

int TcxRegisteredClasses::GetIndexByClass(TClass AClass) const {
  for (int i = 0; i < Count(); ++i)
    if (FItems[static_cast<std::size_t>(i)].second == AClass) return i;
  return -1;
}

String TcxRegisteredClasses::GetDescriptionByClass(TClass AClass) const {
  const int index = GetIndexByClass(AClass);
  return index >= 0 ? Descriptions(index) : String();
}

String TcxRegisteredClasses::GetHintByClass(TClass AClass) const {
  const int index = GetIndexByClass(AClass);
  return index >= 0 ? Hints(index) : String();
}

TClass TcxRegisteredClasses::FindByClassName(const String& AClassName) const {
  for (const auto& item : FItems)
    if (item.second->ClassName() == AClassName) return item.second;
  return nullptr;
}

TClass TcxRegisteredClasses::FindByDescription(const String& ADescription) const {
  if (ADescription.empty()) return nullptr;
  for (const auto& item : FItems)
    if (GetShortText(item.first) == ADescription) return item.second;
  return nullptr;
}

int TcxRegisteredClasses::CompareDescriptions(int AIndex1, int AIndex2) const {
  return AnsiCompareText(Descriptions(AIndex1), Descriptions(AIndex2));
}

void TcxRegisteredClasses::Sort() {
  // Sorted by index through CompareDescriptions, so that a descendant's
  // comparison is the one used.
  std::vector<int> order(FItems.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::stable_sort(order.begin(), order.end(), [this](int A, int B) { return CompareDescriptions(A, B) < 0; });
  std::vector<std::pair<String, TClass>> sorted;
  sorted.reserve(FItems.size());
  for (int i : order) sorted.push_back(FItems[static_cast<std::size_t>(i)]);
  FItems.swap(sorted);
}

// ---------------------------------------------------------------------------
// TcxObjectList

void TcxObjectList::Create(bool AOwnObjects) {
  inherited::Create();
  FOwnObjects = AOwnObjects;
}

void TcxObjectList::Clear() {
  if (FOwnObjects)
    for (int i = 0; i < Count(); ++i) FreeObjectAt(i);
  inherited::Clear();
}

void TcxObjectList::FreeObjectAt(int AIndex) {
  if (TObject* object = Items(AIndex)) object->Free();
}

void TcxObjectList::FreeAndDelete(int AIndex) {
  TObject* object = Items(AIndex);
  Delete(AIndex);
  if (object) object->Free();
}

int TcxObjectList::FreeAndRemove(TObject* AObject) {
  const int index = IndexOf(AObject);
  if (index >= 0) FreeAndDelete(index);
  return index;
}

// ---------------------------------------------------------------------------
// TcxComponentList

void TcxComponentList::Create() { inherited::Create(false); }

void TcxComponentList::Destroy() {
  FUpdateCount = 1;
  inherited::Destroy();
}

void TcxComponentList::EndUpdate() {
  --FUpdateCount;
  Changed(nullptr, ccnChanged);
}

void TcxComponentList::Clear() {
  WithUpdate(this, [&] {
    while (Count() > 0) Delete(0);
    inherited::Clear();
  });
}

void TcxComponentList::Notify(void* AItem, TListNotification AAction) {
  auto* component = static_cast<TComponent*>(AItem);
  if (component && component->InheritsFrom(ListItemClass()))
    DispatchNotification(component, AAction);
  else if (AAction == lnAdded)
    TList::Extract(AItem);
}

void TcxComponentList::DispatchNotification(TComponent* AComponent, TListNotification AAction) {
  inherited::Notify(AComponent, AAction);
  CallEvent(FOnNotify, this, AComponent, AAction);
  switch (AAction) {
    case lnAdded:
      Changed(AComponent, ccnAdded);
      break;
    case lnExtracted:
      Changed(AComponent, ccnExtracted);
      break;
    case lnDeleted:
      Changed(AComponent, ccnDeleting);
      break;
  }
}

void TcxComponentList::Changed(TComponent* AComponent, TcxComponentCollectionNotification ANotification) {
  if (FUpdateCount == 0) CallEvent(FOnComponentListChanged, this, AComponent, ANotification);
}

// ---------------------------------------------------------------------------
// TcxStringList

void TcxStringList::Sort() {
  if (!FOnCompare) {
    inherited::Sort();
    return;
  }
  const TcxStringListCompareEvent compare = FOnCompare;
  CustomSort([compare](TStringList* AList, int AIndex1, int AIndex2) {
    return compare(static_cast<TcxStringList*>(AList), AIndex1, AIndex2);
  });
}

// ---------------------------------------------------------------------------
// TcxOwnedInterfacedCollection

void TcxOwnedInterfacedCollection::Destroy() {
  FInternalState.Include(cisDestroying);
  inherited::Destroy();
}

void TcxOwnedInterfacedCollection::SetSorted(bool AValue) {
  if (FSorted == AValue) return;
  FSorted = AValue;
  if (FSorted) SortItems();
}

void TcxOwnedInterfacedCollection::Update(TCollectionItem* AItem) {
  if (FInternalState.Contains(cisUpdating)) return;
  FInternalState.Include(cisUpdating);
  TScopeExit updated([this] { FInternalState.Exclude(cisUpdating); });
  if (FSorted && !AItem) SortItems();
  inherited::Update(AItem);
  if (!FInternalState.Contains(cisDestroying)) CallEvent(FOnChange, this, AItem);
}

int TcxOwnedInterfacedCollection::DoCompareItems(TCollectionItem* AItem1, TCollectionItem* AItem2) {
  return AItem1->Index() - AItem2->Index();
}

int TcxOwnedInterfacedCollection::CompareItems(TCollectionItem* AItem1, TCollectionItem* AItem2) {
  return FOnCompare ? FOnCompare(this, AItem1, AItem2) : DoCompareItems(AItem1, AItem2);
}

int TcxOwnedInterfacedCollection::CompareListItems(TcxStringList* AList, int AIndex1, int AIndex2) {
  return CompareItems(static_cast<TCollectionItem*>(AList->Objects(AIndex1)),
                      static_cast<TCollectionItem*>(AList->Objects(AIndex2)));
}

void TcxOwnedInterfacedCollection::SortItems() {
  if (UpdateCount() != 0 || FInternalState.Contains(cisSorting)) return;
  FInternalState.Include(cisSorting);
  TScopeExit sorted([this] { FInternalState.Exclude(cisSorting); });
  const TOwned<TcxStringList> list(New<TcxStringList>());
  for (int i = 0; i < Count(); ++i) list->AddObject(IntToStr(i), Items(i));
  list->SetOnCompare(BindEvent<&TcxOwnedInterfacedCollection::CompareListItems>(this));
  list->Sort();
  WithUpdate(this, [&] {
    for (int i = 0; i < list->Count(); ++i) static_cast<TCollectionItem*>(list->Objects(i))->SetIndex(i);
  });
}
