#include "platform/classes/Collection.h"
#include "platform/classes/Component.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<String> GLog;

class TPart : public TComponent {
  SK_CLASS(TPart, TComponent)
 public:
  void Destroy() override {
    GLog.push_back(L"free " + Name());
    inherited::Destroy();
  }
  TComponent* Watched = nullptr;

 protected:
  void Notification(TComponent* AComponent, TOperation AOperation) override {
    inherited::Notification(AComponent, AOperation);
    if (AOperation == opRemove && AComponent == Watched) {
      GLog.push_back(Name() + L" heard " + AComponent->Name());
      Watched = nullptr;
    }
  }
};

TPart* MakePart(TComponent* AOwner, const wchar_t* AName) {
  TPart* p = New<TPart>(AOwner);
  p->SetName(AName);
  return p;
}

TEST(Component, OwnerFreesOwnedLastFirstAndTellsSubscribers) {
  GLog.clear();
  TPart* form = MakePart(nullptr, L"Form");
  MakePart(form, L"A");
  MakePart(form, L"B");
  TPart* outsider = MakePart(nullptr, L"Outsider");
  TComponent* b = form->FindComponent(L"b");
  ASSERT_NE(b, nullptr);
  outsider->Watched = b;
  b->FreeNotification(outsider);
  EXPECT_TRUE(b->ComponentState().Contains(csFreeNotification));

  form->Free();
  EXPECT_EQ(GLog, (std::vector<String>{L"free Form", L"free B", L"Outsider heard B", L"free A"}));
  EXPECT_EQ(outsider->Watched, nullptr);
  outsider->Free();
}

TEST(Component, SiblingsHearOfEachOtherThroughTheOwner) {
  GLog.clear();
  TPart* form = MakePart(nullptr, L"Form");
  TPart* a = MakePart(form, L"A");
  TPart* b = MakePart(form, L"B");
  a->Watched = b;
  b->Free();
  EXPECT_EQ(GLog, (std::vector<String>{L"free B", L"A heard B"}));
  EXPECT_EQ(form->ComponentCount(), 1);
  EXPECT_EQ(a->ComponentIndex(), 0);
  form->Free();
}

TEST(Component, RemovedSubscriptionIsNotTold) {
  GLog.clear();
  TPart* a = MakePart(nullptr, L"A");
  TPart* b = MakePart(nullptr, L"B");
  b->Watched = a;
  a->FreeNotification(b);
  a->RemoveFreeNotification(b);
  a->Free();
  EXPECT_EQ(GLog, (std::vector<String>{L"free A"}));
  b->Free();
}

TEST(Component, NamesAreIdentifiersUniqueWithinTheOwner) {
  TPart* form = MakePart(nullptr, L"Form");
  TPart* a = MakePart(form, L"Button1");
  TPart* other = MakePart(form, L"Other");
  EXPECT_THROW(other->SetName(L"button1"), EComponentError);
  EXPECT_EQ(other->Name(), L"Other");
  EXPECT_THROW(a->SetName(L"1st"), EComponentError);
  EXPECT_THROW(a->SetName(L"with space"), EComponentError);
  a->SetName(L"_Ok2");
  EXPECT_EQ(form->FindComponent(L"_ok2"), a);
  EXPECT_EQ(form->ComponentCount(), 2);
  form->Free();
}

TEST(Component, LoadedClearsLoadingState) {
  TPart* p = MakePart(nullptr, L"P");
  p->IncludeState(csLoading);
  p->CallLoaded();
  EXPECT_FALSE(p->ComponentState().Contains(csLoading));
  p->Free();
}

class TPanelForm : public TComponent {
  SK_CLASS(TPanelForm, TComponent)
 public:
  static void Publish(TPublisher<TPanelForm>& P) {
    P.Field<&TPanelForm::Button1>(L"Button1");
    P.Field<&TPanelForm::Label1>(L"Label1");
  }
  TPart* Button1 = nullptr;
  TPanelForm* Label1 = nullptr;  // a field of another class than the part of that name
};

TEST(Component, PublishedFieldsFollowTheOwnedComponentOfTheirName) {
  TPanelForm* form = New<TPanelForm>(nullptr);
  TPart* part = MakePart(form, L"Button1");
  EXPECT_EQ(form->Button1, part);
  part->SetName(L"Other");
  EXPECT_EQ(form->Button1, nullptr);
  part->SetName(L"Button1");
  EXPECT_EQ(form->Button1, part);
  EXPECT_THROW(MakePart(form, L"Label1"), EComponentError);
  EXPECT_EQ(form->Label1, nullptr);
  part->Free();
  EXPECT_EQ(form->Button1, nullptr);
  form->Free();
}

// --- Collections -------------------------------------------------------------

class TColumn : public TCollectionItem {
  SK_CLASS(TColumn, TCollectionItem)
 public:
  int Width = 0;
  void Assign(TPersistent* ASource) override {
    if (auto* c = dynamic_cast<TColumn*>(ASource)) {
      Width = c->Width;
      Changed(false);
      return;
    }
    inherited::Assign(ASource);
  }
  void Touch() { Changed(false); }
};

class TColumns : public TCollection {
  SK_CLASS(TColumns, TCollection)
 public:
  std::vector<String> Events;

 protected:
  void Notify(TCollectionItem* AItem, TCollectionNotification AAction) override {
    static const wchar_t* names[] = {L"added", L"extracting", L"deleting"};
    Events.push_back(String(names[AAction]) + L" " + std::to_wstring(AItem->ID()));
  }
  void Update(TCollectionItem* AItem) override {
    Events.push_back(AItem ? L"update " + std::to_wstring(AItem->ID()) : L"update all");
  }
};

TEST(Collection, NotifiesAndUpdatesOnceAfterBatch) {
  TColumns* cols = New<TColumns>(TColumn::ClassInfo());
  cols->Add();
  EXPECT_EQ(cols->Events, (std::vector<String>{L"added 0", L"update all"}));
  cols->Events.clear();

  cols->BeginUpdate();
  cols->Add();
  cols->Add();
  static_cast<TColumn*>(cols->Items(0))->Touch();
  cols->EndUpdate();
  EXPECT_EQ(cols->Events, (std::vector<String>{L"added 1", L"added 2", L"update all"}));
  cols->Events.clear();

  static_cast<TColumn*>(cols->Items(1))->Touch();
  EXPECT_EQ(cols->Events, (std::vector<String>{L"update 1"}));
  cols->Events.clear();

  cols->Delete(0);
  EXPECT_EQ(cols->Events, (std::vector<String>{L"deleting 0", L"extracting 0", L"update all"}));
  EXPECT_EQ(cols->Count(), 2);
  EXPECT_EQ(cols->Items(0)->ID(), 1);
  EXPECT_EQ(cols->Items(1)->Index(), 1);
  EXPECT_THROW(cols->Items(2), EListError);
  cols->Free();
}

TEST(Collection, IndexMovesItemsAndAssignCopies) {
  TOwned<TColumns> colsOwner(New<TColumns>(TColumn::ClassInfo()));
  TColumns* cols = colsOwner.get();
  for (int i = 0; i < 3; ++i) static_cast<TColumn*>(cols->Add())->Width = 10 * i;
  cols->Items(2)->SetIndex(0);
  EXPECT_EQ(static_cast<TColumn*>(cols->Items(0))->Width, 20);
  EXPECT_EQ(static_cast<TColumn*>(cols->Items(1))->Width, 0);

  TOwned<TColumns> copyOwner(New<TColumns>(TColumn::ClassInfo()));
  TColumns* copy = copyOwner.get();
  copy->Add();
  copy->Assign(cols);
  ASSERT_EQ(copy->Count(), 3);
  EXPECT_EQ(static_cast<TColumn*>(copy->Items(0))->Width, 20);
  colsOwner.reset();
  copyOwner.reset();
}

TEST(Persistent, AssignWithoutSupportRaisesCannotAssign) {
  TColumns* cols = New<TColumns>(TColumn::ClassInfo());
  TPart* part = MakePart(nullptr, L"P");
  try {
    cols->Assign(part);
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), L"TPart kann nicht zu einem TColumns zugewiesen werden");
  }
  part->Free();
  cols->Free();
}

}  // namespace
