#include "library/core/base/dxCoreClasses.h"
#include "library/core/containers/dxGenerics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

void* P(std::intptr_t AValue) { return reinterpret_cast<void*>(AValue); }
std::intptr_t V(void* AItem) { return reinterpret_cast<std::intptr_t>(AItem); }

std::vector<std::intptr_t> Values(const TdxFastList* AList) {
  std::vector<std::intptr_t> r;
  for (int i = 0; i < AList->Count(); ++i) r.push_back(V(AList->Items(i)));
  return r;
}

TdxFastList* MakeList(std::initializer_list<std::intptr_t> AValues) {
  TdxFastList* list = New<TdxFastList>();
  for (std::intptr_t v : AValues) list->Add(P(v));
  return list;
}

// The message of the list error that F raises.
template <class F>
String ListErrorOf(F&& AAction) {
  try {
    AAction();
  } catch (const EListError& e) {
    return e.Message();
  }
  return L"(no error)";
}

String IndexError(int AIndex) { return L"Listenindex außerhalb des gültigen Bereichs (" + std::to_wstring(AIndex) + L")"; }

class FastList : public testing::Test {
 protected:
  void TearDown() override {
    for (TdxFastList* l : FLists) l->Free();
  }
  TdxFastList* Make(std::initializer_list<std::intptr_t> AValues) { return FLists.emplace_back(MakeList(AValues)); }
  std::vector<TdxFastList*> FLists;
};

TEST_F(FastList, AddGrowsTheCapacityByTheGrowthRule) {
  TdxFastList* list = Make({});
  std::vector<int> capacities;
  for (int i = 0; i < 360; ++i) {
    const int before = list->Capacity();
    list->Add(P(i));
    if (list->Capacity() != before) capacities.push_back(list->Capacity());
  }
  EXPECT_EQ(capacities, (std::vector<int>{16, 32, 64, 96, 128, 160, 240, 360}));
  list->Insert(0, P(-1));  // full: Insert grows by the same rule
  EXPECT_EQ(list->Capacity(), 540);
}

TEST_F(FastList, RangeOperationsGrowToExactlyTheSizeNeeded) {
  TdxFastList* list = Make({1, 2, 3});
  list->SetCapacity(3);
  TdxFastList* other = Make({4, 5});
  list->AddRange(other);
  EXPECT_EQ(list->Capacity(), 5);
  list->SetCount(9);
  EXPECT_EQ(list->Capacity(), 9);
  EXPECT_EQ(Values(list), (std::vector<std::intptr_t>{1, 2, 3, 4, 5, 0, 0, 0, 0}));
  list->SetCount(2);
  EXPECT_EQ(Values(list), (std::vector<std::intptr_t>{1, 2}));
  EXPECT_EQ(list->Capacity(), 9);
}

TEST_F(FastList, IndexErrorsNameTheOffendingValue) {
  TdxFastList* list = Make({1, 2, 3});
  struct Case {
    const char* Name;
    std::function<void()> Action;
    String Message;
  };
  const Case cases[] = {
      {"Insert(Count + 1)", [&] { list->Insert(4, P(9)); }, IndexError(4)},
      {"Insert(-1)", [&] { list->Insert(-1, P(9)); }, IndexError(-1)},
      {"Items(3)", [&] { list->Items(3); }, IndexError(3)},
      {"SetItems(-2)", [&] { list->SetItems(-2, nullptr); }, IndexError(-2)},
      {"Delete(3)", [&] { list->Delete(3); }, IndexError(3)},
      {"Exchange(5, 9)", [&] { list->Exchange(5, 9); }, IndexError(5)},
      {"Exchange(0, 9)", [&] { list->Exchange(0, 9); }, IndexError(9)},
      {"Move(7, 1)", [&] { list->Move(7, 1); }, IndexError(7)},
      {"Move(1, 8)", [&] { list->Move(1, 8); }, IndexError(8)},
      {"Move(7, 8): the new index first", [&] { list->Move(7, 8); }, IndexError(8)},
      {"ExtractByIndex(3)", [&] { list->ExtractByIndex(3); }, IndexError(3)},
      {"InsertRange(4)", [&] { list->InsertRange(4, list); }, IndexError(4)},
      {"SetCapacity(2)", [&] { list->SetCapacity(2); }, L"Kapazität der Liste ist erschöpft (2)"},
      {"SetCount(-1)", [&] { list->SetCount(-1); }, L"Zu viele Einträge in der Liste (-1)"},
      {"DeleteRange(-1, 1)", [&] { list->DeleteRange(-1, 1); }, L"Argument außerhalb des Bereichs"},
      {"DeleteRange(0, -1)", [&] { list->DeleteRange(0, -1); }, L"Argument außerhalb des Bereichs"},
      {"DeleteRange(2, 2)", [&] { list->DeleteRange(2, 2); }, L"Argument außerhalb des Bereichs"},
      {"DeleteRange overflow", [&] { list->DeleteRange(2, INT32_MAX); }, L"Argument außerhalb des Bereichs"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(ListErrorOf(c.Action), c.Message);
  }
  EXPECT_EQ(Values(list), (std::vector<std::intptr_t>{1, 2, 3}));  // nothing changed
}

TEST_F(FastList, FirstAndLastOfAnEmptyList) {
  TdxFastList* list = Make({});
  EXPECT_EQ(ListErrorOf([&] { list->First(); }), IndexError(0));
  EXPECT_EQ(ListErrorOf([&] { list->Last(); }), IndexError(-1));
  EXPECT_TRUE(TdxFastList::Empty(nullptr));
  EXPECT_TRUE(TdxFastList::Empty(list));
  list->Add(P(4));
  list->Add(P(5));
  EXPECT_EQ(V(list->First()), 4);
  EXPECT_EQ(V(list->Last()), 5);
  EXPECT_FALSE(TdxFastList::Empty(list));
}

TEST_F(FastList, InsertDeleteMoveAndSearch) {
  TdxFastList* list = Make({1, 2, 3});
  list->Insert(3, P(4));  // Insert(Count) appends
  list->Insert(0, P(0));
  EXPECT_EQ(Values(list), (std::vector<std::intptr_t>{0, 1, 2, 3, 4}));
  list->Move(0, 4);
  EXPECT_EQ(Values(list), (std::vector<std::intptr_t>{1, 2, 3, 4, 0}));
  list->Move(3, 1);
  EXPECT_EQ(Values(list), (std::vector<std::intptr_t>{1, 4, 2, 3, 0}));
  list->Add(P(4));
  EXPECT_EQ(list->IndexOf(P(4)), 1);
  EXPECT_EQ(list->IndexOf(P(4), ldFromEnd), 5);
  EXPECT_EQ(list->IndexOf(P(9)), -1);
  EXPECT_EQ(V(list->Extract(P(4), ldFromEnd)), 4);
  EXPECT_EQ(list->Extract(P(9)), nullptr);
  EXPECT_EQ(Values(list), (std::vector<std::intptr_t>{1, 4, 2, 3, 0}));
  EXPECT_EQ(list->Remove(P(2)), 2);
  EXPECT_EQ(list->Remove(P(2)), -1);
  EXPECT_EQ(V(list->ExtractByIndex(0)), 1);
  list->DeleteRange(1, 2);
  EXPECT_EQ(Values(list), (std::vector<std::intptr_t>{4}));
  list->DeleteRange(1, 0);  // an empty range at the end
  list->Reverse();
  EXPECT_EQ(Values(list), (std::vector<std::intptr_t>{4}));
}

TEST_F(FastList, PackRemovesThePatternAndKeepsTheOrder) {
  TdxFastList* list = Make({0, 1, 0, 2, 7, 3, 0, 7});
  list->Pack();
  EXPECT_EQ(Values(list), (std::vector<std::intptr_t>{1, 2, 7, 3, 7}));
  list->Pack(P(7));
  EXPECT_EQ(Values(list), (std::vector<std::intptr_t>{1, 2, 3}));
  list->Reverse();
  EXPECT_EQ(Values(list), (std::vector<std::intptr_t>{3, 2, 1}));
}

TEST_F(FastList, InsertRangeAlsoFromItself) {
  TdxFastList* list = Make({1, 2, 3});
  TdxFastList* other = Make({8, 9});
  list->InsertRange(1, other);
  EXPECT_EQ(Values(list), (std::vector<std::intptr_t>{1, 8, 9, 2, 3}));
  list->InsertRange(2, list);
  EXPECT_EQ(Values(list), (std::vector<std::intptr_t>{1, 8, 1, 8, 9, 2, 3, 9, 2, 3}));
  list->InsertRange(0, Make({}));
  list->InsertRange(0, nullptr);
  EXPECT_EQ(list->Count(), 10);
}

struct AssignCase {
  const char* Name;
  TListAssignOp Op;
  std::vector<std::intptr_t> Dest, Source, Expected;
};

class FastListAssign : public testing::TestWithParam<AssignCase> {};

TEST_P(FastListAssign, CombinesByPointerMembership) {
  const AssignCase& c = GetParam();
  TdxFastList* dest = New<TdxFastList>();
  TdxFastList* source = New<TdxFastList>();
  for (auto v : c.Dest) dest->Add(P(v));
  for (auto v : c.Source) source->Add(P(v));
  dest->Assign(source, c.Op);
  EXPECT_EQ(Values(dest), c.Expected);
  // A class-library list as the source gives the same.
  TList* tlist = source->GetTList();
  TdxFastList* dest2 = New<TdxFastList>();
  for (auto v : c.Dest) dest2->Add(P(v));
  dest2->Assign(tlist, c.Op);
  EXPECT_EQ(Values(dest2), c.Expected);
  tlist->Free();
  dest2->Free();
  dest->Free();
  source->Free();
}

INSTANTIATE_TEST_SUITE_P(
    Table, FastListAssign,
    testing::Values(AssignCase{"Copy", laCopy, {1, 2}, {3, 4, 3}, {3, 4, 3}},
                    AssignCase{"And", laAnd, {1, 2, 3, 2, 4}, {2, 4, 9}, {2, 2, 4}},
                    AssignCase{"Or", laOr, {1, 2}, {2, 3, 3, 1, 4}, {1, 2, 3, 4}},
                    AssignCase{"Xor", laXor, {1, 2, 3}, {3, 5, 1, 6}, {2, 5, 6}},
                    AssignCase{"SrcUnique", laSrcUnique, {1, 2, 3, 2}, {2, 9}, {1, 3}},
                    AssignCase{"DestUnique", laDestUnique, {1, 2}, {2, 3, 4}, {4, 3}},
                    AssignCase{"DestUniqueNothingNew", laDestUnique, {1, 2}, {2, 1}, {}}),
    [](const testing::TestParamInfo<AssignCase>& AInfo) { return std::string(AInfo.param.Name); });

TEST_F(FastList, CopyTakesTheSourcesCapacity) {
  TdxFastList* source = Make({1, 2, 3});
  source->SetCapacity(50);
  TdxFastList* dest = Make({7});
  dest->Assign(source);
  EXPECT_EQ(dest->Capacity(), 50);
  EXPECT_EQ(Values(dest), (std::vector<std::intptr_t>{1, 2, 3}));
  dest->Assign(dest, laOr);  // with itself
  EXPECT_EQ(Values(dest), (std::vector<std::intptr_t>{1, 2, 3}));
}

// ---------------------------------------------------------------------------
// Sorting

int CompareValues(void* A, void* B) { return V(A) < V(B) ? -1 : (V(A) > V(B) ? 1 : 0); }

class TComparerObject : public TObject {
  SK_CLASS(TComparerObject, TObject)
 public:
  int Compare(void* A, void* B) {
    ++Calls;
    return CompareValues(A, B);
  }
  int Calls = 0;
};

std::vector<std::intptr_t> RandomValues(int ACount, int ARange, unsigned ASeed) {
  std::mt19937 random(ASeed);
  std::uniform_int_distribution<int> dist(-ARange, ARange);
  std::vector<std::intptr_t> values(static_cast<std::size_t>(ACount));
  for (auto& v : values) v = dist(random);
  return values;
}

TEST(FastListSort, EveryEntryGivesASortedPermutation) {
  const int sizes[] = {0, 1, 2, 3, 34, 35, 36, 37, 70, 71, 100, 1000, 20000};
  for (int size : sizes)
    for (int range : {3, 1000000}) {  // many duplicates, and few
      for (int entry = 0; entry < 4; ++entry) {
        SCOPED_TRACE(testing::Message() << "size " << size << ", range " << range << ", entry " << entry);
        const std::vector<std::intptr_t> input = RandomValues(size, range, static_cast<unsigned>(size * 7 + range + entry));
        TdxFastList* list = New<TdxFastList>();
        for (auto v : input) list->Add(P(v));
        TComparerObject* comparer = New<TComparerObject>();
        switch (entry) {
          case 0: list->Sort(&CompareValues); break;
          case 1: list->Sort(BindEvent<&TComparerObject::Compare>(comparer)); break;
          case 2: list->SortList([](void* A, void* B) { return CompareValues(A, B); }); break;
          case 3: list->SortBy([](void* A, void* B) { return CompareValues(A, B); }); break;
        }
        std::vector<std::intptr_t> expected = input;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(Values(list), expected);
        comparer->Free();
        list->Free();
      }
    }
}

TEST(FastListSort, SortedAndReversedInputs) {
  for (int size : {36, 500, 5000}) {
    std::vector<void*> ascending, descending;
    for (int i = 0; i < size; ++i) {
      ascending.push_back(P(i));
      descending.push_back(P(size - i));
    }
    dxInternalQuickSortList(ascending.data(), size, &CompareValues);
    dxInternalQuickSortList(descending.data(), size, &CompareValues);
    EXPECT_TRUE(std::is_sorted(ascending.begin(), ascending.end(), [](void* a, void* b) { return V(a) < V(b); }));
    EXPECT_TRUE(std::is_sorted(descending.begin(), descending.end(), [](void* a, void* b) { return V(a) < V(b); }));
  }
}

// The first two compares show which phase the kernel starts with: the
// quicksort phase compares the last item with the first, then the middle
// item (the pivot) with the first; without it the sentinel scan compares
// items 34 and 33 with the first.
std::vector<std::pair<std::intptr_t, std::intptr_t>> FirstCompares(int ACount) {
  std::vector<void*> items;
  for (int i = 0; i < ACount; ++i) items.push_back(P(1000 + (i * 37) % ACount));
  std::vector<std::pair<std::intptr_t, std::intptr_t>> log;
  dxInternalQuickSortList(items.data(), ACount, [&](void* A, void* B) {
    log.emplace_back(V(A), V(B));
    return CompareValues(A, B);
  });
  EXPECT_TRUE(std::is_sorted(items.begin(), items.end(), [](void* a, void* b) { return V(a) < V(b); }));
  log.resize(2);
  return log;
}

TEST(FastListSort, ThirtyFiveItemsSkipTheQuicksortPhaseAndThirtySixEnterIt) {
  auto item = [](int ACount, int AIndex) { return std::intptr_t{1000 + (AIndex * 37) % ACount}; };
  const auto with35 = FirstCompares(35);
  EXPECT_EQ(with35[0], std::make_pair(item(35, 34), item(35, 0)));
  EXPECT_EQ(with35[1].first, item(35, 33));
  const auto with36 = FirstCompares(36);
  EXPECT_EQ(with36[0], std::make_pair(item(36, 35), item(36, 0)));
  EXPECT_EQ(with36[1].first, item(36, 17));  // the pivot, index 35 div 2
}

TEST(FastListSort, AContradictoryComparerStaysInsideTheArray) {
  std::vector<void*> items;
  for (int i = 0; i < 3000; ++i) items.push_back(P(i));
  std::mt19937 random(5);
  dxInternalQuickSortList(items.data(), 3000, [&](void*, void*) { return static_cast<int>(random() % 3) - 1; });
  std::sort(items.begin(), items.end());
  for (int i = 0; i < 3000; ++i) ASSERT_EQ(V(items[static_cast<std::size_t>(i)]), i);  // still a permutation
}

// A fake multithreaded sorter that records the sizes it was given.
std::vector<int> GPoolSorts;
bool GPoolEnabled = true;

class FastListMultithreadedSort : public testing::Test {
 protected:
  void SetUp() override {
    GPoolSorts.clear();
    GPoolEnabled = true;
    TdxMultithreadedSortHooks hooks;
    hooks.IsMultithreadingEnabled = [] { return GPoolEnabled; };
    hooks.Sort = [](void** AList, int ACount, const TdxListSortCompareDelegate& ACompare) {
      GPoolSorts.push_back(ACount);
      dxInternalQuickSortList(AList, ACount, ACompare);
    };
    SetMultithreadedSortHooks(hooks);
  }
  void TearDown() override { SetMultithreadedSortHooks({}); }

  static std::vector<int> SortSizes(int ACount, bool AMultiThreaded) {
    GPoolSorts.clear();
    TdxFastList* list = New<TdxFastList>();
    for (int i = ACount; i > 0; --i) list->Add(P(i));
    list->Sort(&CompareValues, AMultiThreaded);
    EXPECT_TRUE(ACount == 0 || V(list->First()) == 1);
    list->Free();
    return GPoolSorts;
  }
};

TEST_F(FastListMultithreadedSort, OnlyMoreThanThirtyTwoItemsGoToThePool) {
  EXPECT_EQ(SortSizes(32, true), std::vector<int>{});
  EXPECT_EQ(SortSizes(33, true), std::vector<int>{33});
  EXPECT_EQ(SortSizes(1000, false), std::vector<int>{});
  GPoolEnabled = false;
  EXPECT_EQ(SortSizes(1000, true), std::vector<int>{});
}

TEST_F(FastListMultithreadedSort, EveryComparerKindReachesThePool) {
  TdxFastList* list = New<TdxFastList>();
  for (int i = 40; i > 0; --i) list->Add(P(i));
  TComparerObject* comparer = New<TComparerObject>();
  list->Sort(BindEvent<&TComparerObject::Compare>(comparer), true);
  list->Reverse();
  list->SortList([](void* A, void* B) { return CompareValues(A, B); }, true);
  EXPECT_EQ(GPoolSorts, (std::vector<int>{40, 40}));
  EXPECT_GT(comparer->Calls, 0);
  EXPECT_EQ(V(list->First()), 1);
  comparer->Free();
  list->Free();
}

TEST_F(FastListMultithreadedSort, OrdinalListsFollowTheSameRuleExceptTheDelegateForm) {
  auto* list = New<TdxOrdinalList<int>>();
  for (int i = 33; i > 0; --i) list->Add(i);
  list->Sort(&CompareValues, true);
  EXPECT_EQ(GPoolSorts, std::vector<int>{33});
  list->Reverse();
  list->SortList([](void* A, void* B) { return CompareValues(A, B); });
  EXPECT_EQ(GPoolSorts, std::vector<int>{33});
  EXPECT_EQ(list->First(), 1);
  list->Delete(0);
  list->Reverse();
  list->Sort(&CompareValues, true);  // 32 values: the calling thread
  EXPECT_EQ(GPoolSorts, std::vector<int>{33});
  EXPECT_EQ(list->First(), 2);
  list->Free();
}

// ---------------------------------------------------------------------------
// Object lists

std::vector<int> GFreed;

class TItem : public TObject {
  SK_CLASS(TItem, TObject)
 public:
  void Create(int AId) { Id = AId; }
  void Destroy() override {
    GFreed.push_back(Id);
    inherited::Destroy();
  }
  int Id = 0;
};

class FastObjectList : public testing::Test {
 protected:
  void SetUp() override {
    GFreed.clear();
    FList = New<TdxFastObjectList>(true);
    for (int i = 1; i <= 5; ++i) FList->Add(New<TItem>(i));
  }
  void TearDown() override {
    if (FList) FList->Free();
  }
  TdxFastObjectList* FList = nullptr;
};

TEST_F(FastObjectList, StoringTheSameObjectKeepsItAlive) {
  FList->SetItems(0, FList->Items(0));
  EXPECT_TRUE(GFreed.empty());
  FList->SetItems(0, New<TItem>(10));
  EXPECT_EQ(GFreed, std::vector<int>{1});
}

TEST_F(FastObjectList, DeletionFreesExtractionDoesNot) {
  TObject* second = FList->Items(1);
  EXPECT_EQ(FList->Extract(second), second);
  FList->Delete(0);
  EXPECT_EQ(GFreed, std::vector<int>{1});
  FList->ExtractRange(0, 1);  // item 3 leaves without being freed
  FList->DeleteRange(0, 2);   // items 4 and 5
  EXPECT_EQ(GFreed, (std::vector<int>{1, 4, 5}));
  EXPECT_EQ(FList->Count(), 0);
  second->Free();
  EXPECT_EQ(GFreed, (std::vector<int>{1, 4, 5, 2}));
  GFreed.clear();
}

TEST_F(FastObjectList, ShrinkingAndClearingFreeInOrder) {
  FList->SetCount(3);
  EXPECT_EQ(GFreed, (std::vector<int>{4, 5}));
  FList->SetCount(4);  // grows with a nil slot
  EXPECT_EQ(FList->Items(3), nullptr);
  EXPECT_EQ(FList->Remove(FList->Items(1)), 1);
  FList->Clear();
  EXPECT_EQ(GFreed, (std::vector<int>{4, 5, 2, 1, 3}));
  EXPECT_EQ(FList->Capacity(), 0);
}

TEST_F(FastObjectList, ANonOwningListFreesNothing) {
  FList->SetOwnsObjects(false);
  std::vector<TObject*> objects;
  for (int i = 0; i < FList->Count(); ++i) objects.push_back(FList->Items(i));
  FList->Delete(0);
  FList->SetCount(1);
  FList->Free();
  FList = nullptr;
  EXPECT_TRUE(GFreed.empty());
  for (TObject* o : objects) o->Free();
}

// ---------------------------------------------------------------------------
// String comparers

TEST(StringComparers, OrdinalComparesBytesInMemoryOrder) {
  const auto& c = TdxStringComparer::Ordinal();
  EXPECT_LT(c.Compare(L"\u0100", L"\u00FF"), 0);  // low bytes 00 < FF decide
  EXPECT_EQ(c.Compare(L"\u0100", L"\u00FF"), 0x00 - 0xFF);
  EXPECT_EQ(c.Compare(L"\u0201", L"\u0101"), 1);  // equal low bytes: the high ones
  EXPECT_EQ(c.Compare(L"abc", L"ab"), 1);         // the longer sorts after
  EXPECT_EQ(c.Compare(L"", L"abcd"), -4);
  EXPECT_EQ(c.Compare(L"abc", L"abc"), 0);
  EXPECT_TRUE(c.Equals(L"abc", L"abc"));
  EXPECT_FALSE(c.Equals(L"abc", L"abC"));
}

TEST(StringComparers, OrdinalHashReferenceValues) {
  const auto& c = TdxStringComparer::Ordinal();
  EXPECT_EQ(c.GetHashCode(L""), 0x162A16FEu);
  EXPECT_EQ(c.GetHashCode(L"a"), 0x162CB7BDu);
  EXPECT_EQ(c.GetHashCode(L"ab"), 0x412F7A47u);
  EXPECT_EQ(c.GetHashCode(L"abc"), 0x418632AAu);
  EXPECT_EQ(c.GetHashCode(L"Skarnivel"), 0x8B009313u);
}

TEST(StringComparers, CaseInsensitiveVariant) {
  const auto& c = TdxIStringComparer::Ordinal();
  EXPECT_TRUE(c.Equals(L"\u00C4rger", L"\u00E4RGER"));
  EXPECT_FALSE(c.Equals(L"ab", L"abc"));
  EXPECT_EQ(c.Compare(L"ABC", L"abd"), L'c' - L'd');
  EXPECT_EQ(c.GetHashCode(L"Skarnivel"), TdxStringComparer::Ordinal().GetHashCode(L"skarnivel"));
  EXPECT_EQ(&TdxIStringComparer::Ordinal(), &c);
}

}  // namespace
