#include "library/core/base/dxCoreClasses.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// Persistent bases

bool TcxIUnknownObject::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IInterface>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
}

void TcxInterfacedPersistent::Create(TPersistent* AOwner) { FOwner = AOwner; }

TPersistent* TcxInterfacedPersistent::GetOwner() { return FOwner; }

void TcxOwnedPersistent::Create(TPersistent* AOwner) { FOwner = AOwner; }

void TcxOwnedPersistent::Assign(TPersistent* ASource) {
  if (Is<TcxOwnedPersistent>(ASource)) DoAssign(ASource);
  else inherited::Assign(ASource);
}

void TcxOwnedPersistent::DoAssign(TPersistent*) {}

TPersistent* TcxOwnedPersistent::GetOwner() { return FOwner; }

bool TcxOwnedInterfacedPersistent::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IInterface>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
}

void TcxLockablePersistent::BeginUpdate() { ++FLockCount; }

void TcxLockablePersistent::EndUpdate() {
  --FLockCount;
  if (FLockCount == 0 && FHasChanges) Changed();
}

void TcxLockablePersistent::CancelUpdate() {
  --FLockCount;
  if (FLockCount == 0) FHasChanges = false;
}

void TcxLockablePersistent::Changed() {
  if (IsLocked()) {
    FHasChanges = true;
  } else {
    FHasChanges = false;
    DoChanged();
  }
}

void TcxLockablePersistent::Assign(TPersistent* ASource) {
  WithUpdate(this, [&] {
    inherited::Assign(ASource);
  });
}

// ---------------------------------------------------------------------------
// TcxFreeNotificator

void TcxFreeNotificator::Create(TObject* AMaster) {
  TComponent* owner = nullptr;
  if (AMaster && AMaster->InheritsFrom(TComponent::ClassInfo())) owner = static_cast<TComponent*>(AMaster);
  inherited::Create(owner);
  FMaster = AMaster;
}

void TcxFreeNotificator::AddSender(TComponent* ASender) {
  if (!ASender) return;
  ASender->FreeNotification(this);
  if (std::find(FSenders.begin(), FSenders.end(), ASender) == FSenders.end()) FSenders.push_back(ASender);
}

void TcxFreeNotificator::RemoveSender(TComponent* ASender) {
  if (!ASender) return;
  ASender->RemoveFreeNotification(this);
  const auto it = std::find(FSenders.begin(), FSenders.end(), ASender);
  if (it != FSenders.end()) FSenders.erase(it);
  if (!FSenders.empty()) return;
  // The master may free this notificator in its handler: nothing follows.
  if (IdxFreeNotify* master = SupportsRaw<IdxFreeNotify>(FMaster)) master->RemoveNotificator();
}

void TcxFreeNotificator::Check(TcxFreeNotificator*& AFreeNotificator) {
  if (AFreeNotificator && AFreeNotificator->FSenders.empty()) FreeAndNil(AFreeNotificator);
}

void TcxFreeNotificator::Notification(TComponent* AComponent, TOperation AOperation) {
  inherited::Notification(AComponent, AOperation);
  // Its own removal from the master tells the master nothing.
  if (AOperation != opRemove || AComponent == this) return;
  const auto it = std::find(FSenders.begin(), FSenders.end(), AComponent);
  if (it != FSenders.end()) FSenders.erase(it);
  CallEvent(FOnFreeNotification, AComponent);
}

// ---------------------------------------------------------------------------
// TcxDoublyLinkedObjectList

void TcxDoublyLinkedObjectList::Destroy() {
  Clear();
  inherited::Destroy();
}

TcxDoublyLinkedObject* TcxDoublyLinkedObjectList::Add() {
  TcxDoublyLinkedObject* node = CreateNode();
  AppendNode(node);
  return node;
}

TcxDoublyLinkedObject* TcxDoublyLinkedObjectList::CreateNode() {
  return NewOfClass<TcxDoublyLinkedObject>(GetNodeClass());
}

TClass TcxDoublyLinkedObjectList::GetNodeClass() { return TcxDoublyLinkedObject::ClassInfo(); }

void TcxDoublyLinkedObjectList::AppendNode(TcxDoublyLinkedObject* ANode) {
  ANode->FPrev = FLast;
  ANode->FNext = nullptr;
  if (FLast) FLast->FNext = ANode;
  else FFirst = ANode;
  FLast = ANode;
}

void TcxDoublyLinkedObjectList::InsertBefore(TcxDoublyLinkedObject* ADestination, TcxDoublyLinkedObject* ASource) {
  ASource->FNext = ADestination;
  ASource->FPrev = ADestination->FPrev;
  if (ADestination->FPrev) ADestination->FPrev->FNext = ASource;
  else FFirst = ASource;
  ADestination->FPrev = ASource;
}

void TcxDoublyLinkedObjectList::InsertAfter(TcxDoublyLinkedObject* ADestination, TcxDoublyLinkedObject* ASource) {
  ASource->FPrev = ADestination;
  ASource->FNext = ADestination->FNext;
  if (ADestination->FNext) ADestination->FNext->FPrev = ASource;
  else FLast = ASource;
  ADestination->FNext = ASource;
}

void TcxDoublyLinkedObjectList::Extract(TcxDoublyLinkedObject* ALinkedObject) {
  if (ALinkedObject->FPrev) ALinkedObject->FPrev->FNext = ALinkedObject->FNext;
  else if (FFirst == ALinkedObject) FFirst = ALinkedObject->FNext;
  if (ALinkedObject->FNext) ALinkedObject->FNext->FPrev = ALinkedObject->FPrev;
  else if (FLast == ALinkedObject) FLast = ALinkedObject->FPrev;
  ALinkedObject->FPrev = nullptr;
  ALinkedObject->FNext = nullptr;
}

void TcxDoublyLinkedObjectList::Delete(TcxDoublyLinkedObject* ALinkedObject) {
  Extract(ALinkedObject);
  ALinkedObject->Free();
}

void TcxDoublyLinkedObjectList::Remove(TcxDoublyLinkedObject* ALinkedObject) { Delete(ALinkedObject); }

void TcxDoublyLinkedObjectList::Clear() {
  TcxDoublyLinkedObject* node = FLast;
  FFirst = nullptr;
  FLast = nullptr;
  while (node) {
    TcxDoublyLinkedObject* prev = node->FPrev;
    node->Free();
    node = prev;
  }
}

int TcxDoublyLinkedObjectList::Count() const {
  int count = 0;
  for (const TcxDoublyLinkedObject* node = FLast; node; node = node->FPrev) ++count;
  return count;
}
