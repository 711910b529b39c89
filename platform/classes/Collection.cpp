#include "platform/classes/Collection.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// TCollectionItem

void TCollectionItem::Create(TCollection* ACollection) { SetCollection(ACollection); }

void TCollectionItem::Destroy() {
  SetCollection(nullptr);
  inherited::Destroy();
}

void TCollectionItem::SetCollection(TCollection* AValue) {
  if (FCollection == AValue) return;
  if (FCollection) FCollection->RemoveItem(this);
  if (AValue) AValue->InsertItem(this);
}

int TCollectionItem::Index() const {
  if (!FCollection) return -1;
  const auto& items = FCollection->FItems;
  const auto it = std::find(items.begin(), items.end(), this);
  return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

void TCollectionItem::SetIndex(int AValue) {
  const int current = Index();
  if (current < 0 || current == AValue) return;
  auto& items = FCollection->FItems;
  AValue = std::clamp(AValue, 0, static_cast<int>(items.size()) - 1);
  items.erase(items.begin() + current);
  items.insert(items.begin() + AValue, this);
  Changed(true);
}

String TCollectionItem::DisplayName() { return ClassName(); }

void TCollectionItem::SetDisplayName(const String&) { Changed(false); }

String TCollectionItem::GetNamePath() {
  if (!FCollection) return ClassName();
  return FCollection->GetNamePath() + L"[" + std::to_wstring(Index()) + L"]";
}

void TCollectionItem::Changed(bool AAllItems) {
  if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(AAllItems ? nullptr : this);
}

TPersistent* TCollectionItem::GetOwner() { return FCollection; }

// ---------------------------------------------------------------------------
// TCollection

void TCollection::Create(TClass AItemClass) {
  if (!AItemClass || !AItemClass->InheritsFrom(TCollectionItem::ClassInfo()))
    throw EInvalidCast(L"Ungültige Klasse für Collection-Einträge");
  FItemClass = AItemClass;
}

void TCollection::Destroy() {
  FUpdateCount = 1;  // no Update calls for a collection that is going
  Clear();
  inherited::Destroy();
}

void TCollection::CheckIndex(int AIndex) const {
  if (AIndex < 0 || AIndex >= Count())
    throw EListError(L"Listenindex überschreitet das Maximum (%d)", {AIndex});
}

TCollectionItem* TCollection::Items(int AIndex) const {
  CheckIndex(AIndex);
  return FItems[static_cast<std::size_t>(AIndex)];
}

void TCollection::SetItems(int AIndex, TCollectionItem* AValue) { Items(AIndex)->Assign(AValue); }

TCollectionItem* TCollection::Add() { return NewOfClass<TCollectionItem>(FItemClass, this); }

TCollectionItem* TCollection::Insert(int AIndex) {
  TCollectionItem* item = Add();
  item->SetIndex(AIndex);
  return item;
}

void TCollection::Delete(int AIndex) {
  TCollectionItem* item = Items(AIndex);
  Notify(item, cnDeleting);
  item->Free();
}

void TCollection::Clear() {
  if (FItems.empty()) return;
  WithUpdate(this, [&] {
    while (!FItems.empty()) FItems.back()->Free();
  });
}

void TCollection::Exchange(int AIndex1, int AIndex2) {
  CheckIndex(AIndex1);
  CheckIndex(AIndex2);
  std::swap(FItems[static_cast<std::size_t>(AIndex1)], FItems[static_cast<std::size_t>(AIndex2)]);
  Changed();
}

TCollectionItem* TCollection::FindItemID(int AID) const {
  for (TCollectionItem* item : FItems)
    if (item->FID == AID) return item;
  return nullptr;
}

void TCollection::BeginUpdate() { ++FUpdateCount; }

void TCollection::EndUpdate() {
  --FUpdateCount;
  Changed();
}

void TCollection::Assign(TPersistent* ASource) {
  auto* source = dynamic_cast<TCollection*>(ASource);
  if (!source) {
    inherited::Assign(ASource);
    return;
  }
  WithUpdate(this, [&] {
    Clear();
    for (TCollectionItem* item : source->FItems) Add()->Assign(item);
  });
}

String TCollection::GetNamePath() {
  TPersistent* owner = GetOwner();
  if (!owner) return ClassName();
  const String ownerPath = owner->GetNamePath();
  const String prop = PropName();
  if (ownerPath.empty() || prop.empty()) return ClassName();
  return ownerPath + L"." + prop;
}

String TCollection::PropName() {
  TPersistent* owner = GetOwner();
  if (!owner) return {};
  for (const TPropInfo* p : GetPropList(owner))
    if (p->Kind() == tkClass && p->GetObj && p->GetObj(owner) == this) return p->Name;
  return {};
}

void TCollection::Changed() {
  if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::Notify(TCollectionItem*, TCollectionNotification) {}

void TCollection::Update(TCollectionItem*) {}

void TCollection::SetItemName(TCollectionItem*) {}

void TCollection::InsertItem(TCollectionItem* AItem) {
  FItems.push_back(AItem);
  AItem->FCollection = this;
  AItem->FID = FNextID++;
  SetItemName(AItem);
  Notify(AItem, cnAdded);
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* AItem) {
  Notify(AItem, cnExtracting);
  const auto it = std::find(FItems.begin(), FItems.end(), AItem);
  if (it != FItems.end()) FItems.erase(it);
  AItem->FCollection = nullptr;
  Changed();
}

// ---------------------------------------------------------------------------
// TOwnedCollection

void TOwnedCollection::Create(TPersistent* AOwner, TClass AItemClass) {
  FOwner = AOwner;
  inherited::Create(AItemClass);
}
