#include "library/core/containers/dxGenerics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using Generics::cnAdded;
using Generics::cnExtracted;
using Generics::cnRemoved;
using Generics::TCollectionNotification;

struct TNote {
  int Value;
  TCollectionNotification Action;
  bool operator==(const TNote&) const = default;
};

std::ostream& operator<<(std::ostream& AStream, const TNote& ANote) {
  return AStream << ANote.Value << (ANote.Action == cnAdded ? "+" : ANote.Action == cnRemoved ? "-" : "x");
}

class TNoteLog : public TObject {
  SK_CLASS(TNoteLog, TObject)
 public:
  void Notified(TObject*, const int& AValue, TCollectionNotification AAction) { Notes.push_back({AValue, AAction}); }
  std::vector<TNote> Notes;
};

class OrdinalList : public testing::Test {
 protected:
  void SetUp() override {
    FLog = New<TNoteLog>();
    FList = New<TdxOrdinalList<int>>();
    for (int v : {10, 20, 30, 20}) FList->Add(v);
    FList->SetOnNotify(BindEvent<&TNoteLog::Notified>(FLog));
  }
  void TearDown() override {
    if (FList) FList->Free();
    FLog->Free();
  }
  TdxOrdinalList<int>* FList = nullptr;
  TNoteLog* FLog = nullptr;
};

TEST_F(OrdinalList, EveryAdditionAndRemovalIsReported) {
  struct Case {
    const char* Name;
    std::function<void(TdxOrdinalList<int>*)> Action;
    std::vector<TNote> Expected;
    std::vector<int> After;
  };
  const std::vector<Case> cases = {
      {"Add", [](auto* l) { l->Add(-5); }, {{-5, cnAdded}}, {10, 20, 30, 20, -5}},
      {"Insert", [](auto* l) { l->Insert(0, 7); }, {{7, cnAdded}}, {7, 10, 20, 30, 20}},
      {"Move", [](auto* l) { l->Move(0, 3); }, {{10, cnAdded}}, {20, 30, 20, 10}},
      {"Delete", [](auto* l) { l->Delete(1); }, {{20, cnRemoved}}, {10, 30, 20}},
      {"Remove", [](auto* l) { EXPECT_EQ(l->Remove(20), 1); }, {{20, cnRemoved}}, {10, 30, 20}},
      {"DeleteRange", [](auto* l) { l->DeleteRange(1, 2); }, {{20, cnRemoved}, {30, cnRemoved}}, {10, 20}},
      {"Clear", [](auto* l) { l->Clear(); }, {{10, cnRemoved}, {20, cnRemoved}, {30, cnRemoved}, {20, cnRemoved}}, {}},
      {"ShrinkCount", [](auto* l) { l->SetCount(2); }, {{30, cnRemoved}, {20, cnRemoved}}, {10, 20}},
      {"GrowCount", [](auto* l) { l->SetCount(5); }, {}, {10, 20, 30, 20, 0}},
      {"Extract", [](auto* l) { EXPECT_EQ(l->Extract(20), 20); }, {{20, cnExtracted}}, {10, 30, 20}},
      {"ExtractFromEnd", [](auto* l) { l->Extract(20, ldFromEnd); }, {{20, cnExtracted}}, {10, 20, 30}},
      {"ExtractByIndex", [](auto* l) { EXPECT_EQ(l->ExtractByIndex(2), 30); }, {{30, cnExtracted}}, {10, 20, 20}},
      {"ExtractAbsent", [](auto* l) { EXPECT_EQ(l->Extract(99), 0); }, {}, {10, 20, 30, 20}},
      {"SetItems", [](auto* l) { l->SetItems(0, 11); }, {{10, cnRemoved}, {11, cnAdded}}, {11, 20, 30, 20}},
      {"Exchange", [](auto* l) { l->Exchange(0, 2); }, {}, {30, 20, 10, 20}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    FList->SetOnNotify(nullptr);
    FList->Clear();
    for (int v : {10, 20, 30, 20}) FList->Add(v);
    FList->SetOnNotify(BindEvent<&TNoteLog::Notified>(FLog));
    FLog->Notes.clear();
    c.Action(FList);
    EXPECT_EQ(FLog->Notes, c.Expected);
    EXPECT_EQ(FList->ToArray(), c.After);
  }
}

TEST_F(OrdinalList, IndexErrorsAndSearches) {
  EXPECT_EQ(FList->IndexOf(20), 1);
  EXPECT_EQ(FList->LastIndexOf(20), 3);
  EXPECT_EQ(FList->IndexOf(99), -1);
  EXPECT_TRUE(FList->Contains(30));
  EXPECT_THROW(FList->Items(4), EListError);
  EXPECT_THROW(FList->Insert(5, 1), EListError);
  EXPECT_THROW(FList->Delete(-1), EListError);
  EXPECT_THROW(FList->DeleteRange(3, 2), EListError);
  EXPECT_THROW(FList->Move(1, 4), EListError);
  EXPECT_THROW(FList->SetCapacity(3), EListError);
  EXPECT_THROW(FList->SetCount(-1), EListError);
  try {
    FList->Items(-3);
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), L"Listenindex außerhalb des gültigen Bereichs (-3)");
  }
  TdxOrdinalList<int>* empty = New<TdxOrdinalList<int>>();
  try {
    empty->Last();
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), L"Listenindex außerhalb des gültigen Bereichs (-1)");
  }
  EXPECT_THROW(empty->First(), EListError);
  EXPECT_TRUE(TdxOrdinalList<>::Empty(empty));
  EXPECT_TRUE(TdxOrdinalList<>::Empty(nullptr));
  empty->Free();
}

TEST_F(OrdinalList, SortIsSignedAndBinarySearchFindsInsertionPoints) {
  FList->SetOnNotify(nullptr);
  FList->Clear();
  for (int v : {2000000000, -2000000000, 0, 5, -1}) FList->Add(v);
  FList->Sort();
  EXPECT_EQ(FList->ToArray(), (std::vector<int>{-2000000000, -1, 0, 5, 2000000000}));

  TdxOrdinalList<int>* odd = New<TdxOrdinalList<int>>(std::initializer_list<int>{1, 3, 5});
  int index = -1;
  EXPECT_FALSE(odd->BinarySearch(4, index));
  EXPECT_EQ(index, 2);
  EXPECT_TRUE(odd->BinarySearch(5, index));
  EXPECT_EQ(index, 2);
  EXPECT_FALSE(odd->BinarySearch(0, index));
  EXPECT_EQ(index, 0);
  EXPECT_FALSE(odd->BinarySearch(9, index));
  EXPECT_EQ(index, 3);
  odd->Free();
}

int CompareDescending(void* A, void* B) {
  const auto a = static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(A));
  const auto b = static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(B));
  return a > b ? -1 : (a < b ? 1 : 0);
}

TEST_F(OrdinalList, ComparerSortsSeeTheValues) {
  FList->Sort(&CompareDescending);
  EXPECT_EQ(FList->ToArray(), (std::vector<int>{30, 20, 20, 10}));
  FList->Add(-7);
  FList->SortList([](void* A, void* B) { return -CompareDescending(A, B); });
  EXPECT_EQ(FList->ToArray(), (std::vector<int>{-7, 10, 20, 20, 30}));
}

TEST(OrdinalListTypes, ValuesAreMaskedToTheirSize) {
  auto* bytes = New<TdxOrdinalList<std::int8_t>>();
  bytes->Add(-1);
  EXPECT_EQ(bytes->List()[0], 0xFFu);
  EXPECT_EQ(bytes->Items(0), -1);
  EXPECT_EQ(bytes->IndexOf(-1), 0);
  bytes->Free();
  enum class TColorKind : std::uint16_t { Red = 1, Blue = 0xFFFF };
  auto* kinds = New<TdxOrdinalList<TColorKind>>();
  kinds->Add(TColorKind::Blue);
  EXPECT_EQ(kinds->Items(0), TColorKind::Blue);
  EXPECT_EQ(kinds->List()[0], 0xFFFFu);
  kinds->Free();
  auto* chars = New<TdxOrdinalList<wchar_t>>();
  chars->AddRange(std::span<const wchar_t>(L"abc", 3));
  EXPECT_EQ(chars->Last(), L'c');
  chars->Free();
}

TEST(OrdinalListTypes, OtherTypesAreRefused) {
  try {
    New<TdxOrdinalList<double>>();
    ADD_FAILURE() << "no error";
  } catch (const EArgumentException& e) {
    EXPECT_EQ(e.Message(), L"Unsupported ordinal type");
  }
  // A pointer does not fit a 32-bit slot on this platform.
  EXPECT_THROW(New<TdxOrdinalList<void*>>(), EArgumentException);
}

// ---------------------------------------------------------------------------
// Class dictionary

TEST(ClassDictionary, LookupsFallBackToTheNearestAncestor) {
  auto* dictionary = New<TdxClassDictionary<int>>();
  dictionary->Add(TPersistent::ClassInfo(), 1);
  dictionary->Add(TComponent::ClassInfo(), 2);
  EXPECT_THROW(dictionary->Add(TComponent::ClassInfo(), 3), EListError);
  int value = 0;
  EXPECT_TRUE(dictionary->TryGetValue(TcxFreeNotificator::ClassInfo(), value));
  EXPECT_EQ(value, 2);
  EXPECT_TRUE(dictionary->TryGetValue(TcxOwnedPersistent::ClassInfo(), value));
  EXPECT_EQ(value, 1);
  EXPECT_FALSE(dictionary->TryGetValue(static_cast<const TObject*>(nullptr), value));
  EXPECT_FALSE(dictionary->TryGetValue(static_cast<TClass>(nullptr), value));
  TComponent* component = New<TComponent>(nullptr);
  EXPECT_TRUE(dictionary->TryGetValue(component, value));
  EXPECT_EQ(value, 2);
  component->Free();
  try {
    dictionary->Items(TdxFastList::ClassInfo());
    ADD_FAILURE() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), L"Value for the TdxFastList class was not found");
  }
  dictionary->AddOrSetValue(TComponent::ClassInfo(), 5);
  EXPECT_EQ(dictionary->Items(TcxFreeNotificator::ClassInfo()), 5);
  dictionary->Remove(TComponent::ClassInfo());
  EXPECT_EQ(dictionary->Items(TcxFreeNotificator::ClassInfo()), 1);
  EXPECT_EQ(dictionary->Count(), 1);
  dictionary->Free();
}

// ---------------------------------------------------------------------------
// Hash set

TEST(HashSet, IncludeExcludeAndEnumerate) {
  auto* set = New<TdxHashSet<int>>(16);
  set->Include(3);
  set->Include(3);
  const std::vector<int> more = {4, 5, 6};
  set->Include(std::span<const int>(more));
  EXPECT_EQ(set->Count(), 4);
  set->Exclude(9);  // absent: ignored
  set->Exclude(std::span<const int>(std::vector<int>{5, 6}));
  EXPECT_TRUE(set->Contains(4));
  EXPECT_FALSE(set->Contains(5));
  auto* other = New<TdxHashSet<int>>();
  other->Include(7);
  other->Include(3);
  set->Include(other);
  std::vector<int> values(set->begin(), set->end());
  std::sort(values.begin(), values.end());
  EXPECT_EQ(values, (std::vector<int>{3, 4, 7}));
  set->Exclude(other);
  std::vector<int> left = set->ToList();
  EXPECT_EQ(left, std::vector<int>{4});
  set->Exclude(set);
  EXPECT_EQ(set->Count(), 0);
  other->Free();
  set->Free();
}

}  // namespace
