#include "library/core/base/dxCoreClasses.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> GLog;

// ---------------------------------------------------------------------------
// Interfaces without reference counting

TEST(IUnknownObject, AnswersInterfacesWithoutCountingReferences) {
  TcxIUnknownObject* object = New<TcxIUnknownObject>();
  void* intf = nullptr;
  ASSERT_EQ(object->QueryInterface(IInterface::IID, &intf), S_OK);
  ASSERT_NE(intf, nullptr);
  EXPECT_EQ(static_cast<IInterface*>(intf)->_AddRef(), -1);
  EXPECT_EQ(static_cast<IInterface*>(intf)->_Release(), -1);
  EXPECT_EQ(object->QueryInterface(IdxFreeNotify::IID, &intf), E_NOINTERFACE);
  object->Free();  // still alive after the releases
}

// ---------------------------------------------------------------------------
// Owned and lockable persistent objects

class TOwnedValue : public TcxLockablePersistent {
  SK_CLASS(TOwnedValue, TcxLockablePersistent)
 public:
  void SetValue(int AValue) {
    if (FValue == AValue) return;
    FValue = AValue;
    Changed();
  }
  int Value() const { return FValue; }
  int ChangeCount = 0;
  bool FailAssign = false;

 protected:
  void DoChanged() override { ++ChangeCount; }
  void DoAssign(TPersistent* ASource) override {
    SetValue(static_cast<TOwnedValue*>(ASource)->FValue);
    if (FailAssign) throw EConvertError(L"assignment failed");
  }

 private:
  int FValue;
};

class LockablePersistent : public testing::Test {
 protected:
  void SetUp() override { FValue = New<TOwnedValue>(nullptr); }
  void TearDown() override { FValue->Free(); }
  TOwnedValue* FValue = nullptr;
};

TEST_F(LockablePersistent, NestedUpdatesReportOnceAtTheOutermostEnd) {
  FValue->BeginUpdate();
  FValue->SetValue(1);
  FValue->BeginUpdate();
  FValue->SetValue(2);
  FValue->SetValue(3);
  FValue->EndUpdate();
  EXPECT_EQ(FValue->ChangeCount, 0);
  EXPECT_TRUE(FValue->IsLocked());
  FValue->EndUpdate();
  EXPECT_EQ(FValue->ChangeCount, 1);
  EXPECT_FALSE(FValue->IsLocked());
  FValue->SetValue(4);  // unlocked: at once
  EXPECT_EQ(FValue->ChangeCount, 2);
}

TEST_F(LockablePersistent, EndUpdateWithoutChangeReportsNothing) {
  FValue->BeginUpdate();
  FValue->EndUpdate();
  EXPECT_EQ(FValue->ChangeCount, 0);
}

TEST_F(LockablePersistent, CancelUpdateAtTheOutermostLevelDropsChanges) {
  FValue->BeginUpdate();
  FValue->BeginUpdate();
  FValue->SetValue(5);
  FValue->CancelUpdate();  // inner: the change stays pending
  FValue->BeginUpdate();
  FValue->EndUpdate();
  EXPECT_EQ(FValue->ChangeCount, 0);
  FValue->CancelUpdate();
  EXPECT_FALSE(FValue->IsLocked());
  FValue->BeginUpdate();
  FValue->EndUpdate();
  EXPECT_EQ(FValue->ChangeCount, 0);
}

TEST_F(LockablePersistent, ARaisingAssignStillClosesItsUpdate) {
  TOwnedValue* source = New<TOwnedValue>(nullptr);
  source->SetValue(9);
  FValue->FailAssign = true;
  EXPECT_THROW(FValue->Assign(source), EConvertError);
  EXPECT_FALSE(FValue->IsLocked());
  EXPECT_EQ(FValue->Value(), 9);
  EXPECT_EQ(FValue->ChangeCount, 1);  // the pending change was reported
  source->Free();
}

TEST_F(LockablePersistent, AssignFromAStrangerRaisesTheConversionError) {
  TPersistent* stranger = New<TPersistent>();
  EXPECT_THROW(FValue->Assign(stranger), EConvertError);
  EXPECT_FALSE(FValue->IsLocked());
  stranger->Free();
}

TEST(OwnedPersistent, ReportsItsOwnerToTheClassLibrary) {
  TComponent* form = New<TComponent>(nullptr);
  form->SetName(L"Form1");
  TcxOwnedPersistent* owned = New<TcxOwnedPersistent>(form);
  EXPECT_EQ(owned->Owner(), form);
  EXPECT_EQ(owned->GetNamePath(), L"Form1.TcxOwnedPersistent");
  TcxInterfacedPersistent* interfaced = New<TcxInterfacedPersistent>(form);
  EXPECT_EQ(interfaced->GetNamePath(), L"Form1.TcxInterfacedPersistent");
  interfaced->Free();
  owned->Free();
  form->Free();
}

// ---------------------------------------------------------------------------
// Free notificator

class TMaster : public TNoRefCount<TComponent>, public IdxFreeNotify {
  SK_CLASS(TMaster, TComponent)
 public:
  bool GetInterface(const GUID& AIID, void** AObj) override {
    return AnswerInterfaces<IdxFreeNotify>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
  }
  void RemoveNotificator() override {
    GLog.push_back("no senders");
    TcxFreeNotificator::Check(Notificator);
  }
  void Freed(TComponent* AComponent) { GLog.push_back("freed " + std::to_string(AComponent->Tag())); }
  TcxFreeNotificator* Notificator = nullptr;
};

TEST(FreeNotificator, ReportsFreedSendersAndLetsTheMasterDropIt) {
  GLog.clear();
  TMaster* master = New<TMaster>(nullptr);
  master->Notificator = New<TcxFreeNotificator>(static_cast<TObject*>(master));
  TcxFreeNotificator* notificator = master->Notificator;
  EXPECT_EQ(notificator->Owner(), master);
  notificator->SetOnFreeNotification(BindEvent<&TMaster::Freed>(master));
  TComponent* a = New<TComponent>(nullptr);
  a->SetTag(1);
  TComponent* b = New<TComponent>(nullptr);
  b->SetTag(2);
  notificator->AddSender(nullptr);
  notificator->AddSender(a);
  notificator->AddSender(b);
  notificator->AddSender(b);
  EXPECT_EQ(notificator->SenderCount(), 2);

  a->Free();
  EXPECT_EQ(GLog, std::vector<std::string>{"freed 1"});
  TcxFreeNotificator::Check(master->Notificator);  // still watches b: kept
  EXPECT_EQ(master->Notificator, notificator);

  notificator->RemoveSender(nullptr);
  notificator->RemoveSender(b);  // the last one: the master frees the notificator
  EXPECT_EQ(GLog, (std::vector<std::string>{"freed 1", "no senders"}));
  EXPECT_EQ(master->Notificator, nullptr);
  EXPECT_EQ(master->ComponentCount(), 0);
  b->Free();  // no longer watched: nothing reported
  EXPECT_EQ(GLog.size(), 2u);
  master->Free();
}

TEST(FreeNotificator, AMasterThatIsNoComponentOwnsNothing) {
  TcxIUnknownObject* master = New<TcxIUnknownObject>();
  TcxFreeNotificator* notificator = New<TcxFreeNotificator>(static_cast<TObject*>(master));
  EXPECT_EQ(notificator->Owner(), nullptr);
  EXPECT_EQ(notificator->Master(), master);
  TcxFreeNotificator::Check(notificator);
  EXPECT_EQ(notificator, nullptr);
  master->Free();
}

// ---------------------------------------------------------------------------
// Doubly linked objects

class TNamedNode : public TcxDoublyLinkedObject {
  SK_CLASS(TNamedNode, TcxDoublyLinkedObject)
 public:
  void Create() override { Name = "node" + std::to_string(++Created); }
  void Destroy() override {
    GLog.push_back("free " + Name);
    inherited::Destroy();
  }
  static inline int Created = 0;
  std::string Name;
};

class TNamedList : public TcxDoublyLinkedObjectList {
  SK_CLASS(TNamedList, TcxDoublyLinkedObjectList)
 protected:
  TClass GetNodeClass() override { return TNamedNode::ClassInfo(); }
};

std::vector<std::string> Names(const TcxDoublyLinkedObjectList* AList) {
  std::vector<std::string> names;
  for (TcxDoublyLinkedObject* n = AList->First(); n; n = n->Next()) names.push_back(static_cast<TNamedNode*>(n)->Name);
  return names;
}

TEST(DoublyLinkedList, NodesOfTheListsClassAreLinkedAndFreedLastFirst) {
  GLog.clear();
  TNamedNode::Created = 0;
  TNamedList* list = New<TNamedList>();
  auto* n1 = static_cast<TNamedNode*>(list->Add());
  auto* n2 = static_cast<TNamedNode*>(list->Add());
  EXPECT_EQ(n1->Name, "node1");
  EXPECT_EQ(list->Count(), 2);
  auto* n3 = New<TNamedNode>();
  list->InsertBefore(n1, n3);  // a new first node
  auto* n4 = New<TNamedNode>();
  list->InsertAfter(n2, n4);  // a new last node
  EXPECT_EQ(Names(list), (std::vector<std::string>{"node3", "node1", "node2", "node4"}));
  EXPECT_EQ(list->First(), n3);
  EXPECT_EQ(list->Last(), n4);
  EXPECT_EQ(n4->Prev(), n2);
  list->Delete(n1);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"node3", "node2", "node4"}));
  EXPECT_EQ(n2->Prev(), n3);
  list->Free();
  EXPECT_EQ(GLog, (std::vector<std::string>{"free node1", "free node4", "free node2", "free node3"}));
}

TEST(DoublyLinkedList, ExtractingTheOnlyNodeEmptiesTheList) {
  TcxDoublyLinkedObjectList* list = New<TcxDoublyLinkedObjectList>();
  TcxDoublyLinkedObject* node = list->Add();
  list->Extract(node);
  EXPECT_EQ(list->First(), nullptr);
  EXPECT_EQ(list->Last(), nullptr);
  EXPECT_EQ(list->Count(), 0);
  EXPECT_EQ(node->Prev(), nullptr);
  EXPECT_EQ(node->Next(), nullptr);
  node->Free();
  list->Free();
}

}  // namespace
