#include "library/core/colors/dxCoreGraphics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

class TLoggingCache : public TdxValueCacheManager<int, std::string> {
  SK_CLASS(TLoggingCache, TdxValueCacheManager)
 public:
  std::vector<std::string> Removed;
  std::vector<std::string>* Log = nullptr;
  bool Has(int AKey) const {
    std::string v;
    return Get(AKey, v);
  }

 protected:
  void ValueRemoved(const std::string& AValue) override {
    Removed.push_back(AValue);
    if (Log) Log->push_back(AValue);
  }
};

class ValueCache : public testing::Test {
 protected:
  void SetUp() override { FCache = New<TLoggingCache>(2); }
  void TearDown() override {
    if (FCache) FCache->Free();
  }
  TLoggingCache* FCache = nullptr;
};

TEST_F(ValueCache, TheOldestAdditionIsEvictedFirst) {
  FCache->Add(1, "A");
  FCache->Add(2, "B");
  std::string value;
  EXPECT_TRUE(FCache->Get(1, value));  // a lookup does not refresh A
  EXPECT_EQ(value, "A");
  FCache->Add(3, "C");
  EXPECT_EQ(FCache->Removed, std::vector<std::string>{"A"});
  EXPECT_FALSE(FCache->Has(1));
  EXPECT_TRUE(FCache->Has(2));
  EXPECT_TRUE(FCache->Has(3));
  FCache->Add(4, "D");
  EXPECT_EQ(FCache->Removed, (std::vector<std::string>{"A", "B"}));
}

TEST_F(ValueCache, ARemovedEntryLeavesAFreeSlotForTheCursor) {
  FCache->Add(1, "A");
  FCache->Add(2, "B");  // full; the cursor is at A's slot
  FCache->Remove(2);
  EXPECT_EQ(FCache->Removed, std::vector<std::string>{"B"});
  FCache->Add(3, "C");  // evicts A all the same
  EXPECT_EQ(FCache->Removed, (std::vector<std::string>{"B", "A"}));
  FCache->Add(4, "D");  // fills B's freed slot: no eviction
  EXPECT_EQ(FCache->Removed, (std::vector<std::string>{"B", "A"}));
  EXPECT_TRUE(FCache->Has(3));
  EXPECT_TRUE(FCache->Has(4));
  FCache->Remove(99);  // unknown: nothing
  EXPECT_EQ(FCache->Count(), 2);
}

TEST_F(ValueCache, GetOfAMissingKeyGivesTheEmptyValue) {
  std::string value = "stale";
  EXPECT_FALSE(FCache->Get(5, value));
  EXPECT_EQ(value, "");
}

TEST_F(ValueCache, ADuplicateKeyRaises) {
  FCache->Add(1, "A");
  EXPECT_THROW(FCache->Add(1, "again"), EListError);
  std::string value;
  EXPECT_TRUE(FCache->Get(1, value));
  EXPECT_EQ(value, "A");
}

TEST_F(ValueCache, ClearReleasesEverythingAndRestartsAtSlotZero) {
  FCache->Add(1, "A");
  EXPECT_EQ(FCache->QueueCursor(), 1);
  FCache->Clear();
  EXPECT_EQ(FCache->Removed, std::vector<std::string>{"A"});
  EXPECT_EQ(FCache->Count(), 0);
  EXPECT_EQ(FCache->QueueCursor(), 0);
  FCache->Add(2, "B");
  FCache->Add(3, "C");
  FCache->Add(4, "D");
  EXPECT_EQ(FCache->Removed, (std::vector<std::string>{"A", "B"}));
}

TEST_F(ValueCache, DestructionReleasesEveryValue) {
  std::vector<std::string> seen;
  FCache->Log = &seen;  // outlives the cache
  FCache->Add(1, "A");
  FCache->Add(2, "B");
  FreeAndNil(FCache);
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(seen, (std::vector<std::string>{"A", "B"}));
}

TEST(ValueCacheKeys, RecordsCompareOverAllTheirBytes) {
  auto* cache = New<TdxValueCacheManager<LOGFONTW, int>>(4);
  LOGFONTW a{};
  a.lfHeight = -11;
  wcscpy(a.lfFaceName, L"Tahoma");
  LOGFONTW b = a;
  b.lfFaceName[10] = L'x';  // after the end of the name
  cache->Add(a, 1);
  cache->Add(b, 2);
  int value = 0;
  EXPECT_TRUE(cache->Get(a, value));
  EXPECT_EQ(value, 1);
  EXPECT_TRUE(cache->Get(b, value));
  EXPECT_EQ(value, 2);
  EXPECT_EQ(cache->Count(), 2);
  cache->Free();
}

struct TCaseInsensitive {
  static std::wstring Fold(const std::wstring& A) {
    std::wstring r = A;
    for (wchar_t& c : r) c = static_cast<wchar_t>(towupper(c));
    return r;
  }
  bool Equals(const std::wstring& A, const std::wstring& B) const { return Fold(A) == Fold(B); }
  std::size_t GetHashCode(const std::wstring& A) const { return std::hash<std::wstring>()(Fold(A)); }
};

TEST(ValueCacheKeys, AGivenComparerDecidesEquality) {
  auto* cache = New<TdxValueCacheManager<std::wstring, int, TCaseInsensitive>>(2);
  cache->Add(L"Brush", 7);
  int value = 0;
  EXPECT_TRUE(cache->Get(L"BRUSH", value));
  EXPECT_EQ(value, 7);
  cache->Remove(L"brush");
  EXPECT_EQ(cache->Count(), 0);
  cache->Free();
}

// Few hash values: long runs of neighbours, wrapping round the table's end,
// through which evictions and removals must keep every key findable.
struct TCrowdedHash {
  bool Equals(int A, int B) const { return A == B; }
  std::size_t GetHashCode(int A) const { return static_cast<std::size_t>(A % 3); }
};

TEST(ValueCacheKeys, CrowdedKeysStayFindableThroughEvictionsAndRemovals) {
  constexpr int Capacity = 50;
  constexpr int Keys = 200;
  auto* cache = New<TdxValueCacheManager<int, int, TCrowdedHash>>(Capacity);
  // The model: the ring's slots (-1: free) and its cursor.
  std::vector<int> ring(Capacity, -1);
  std::size_t cursor = 0;
  std::mt19937 random(7);
  for (int step = 0; step < 20000; ++step) {
    SCOPED_TRACE(step);
    const int key = static_cast<int>(random() % Keys);
    const auto slot = std::find(ring.begin(), ring.end(), key);
    if (random() % 4 == 0) {
      cache->Remove(key);
      if (slot != ring.end()) *slot = -1;
    } else if (slot == ring.end()) {
      cache->Add(key, key * 10);
      ring[cursor] = key;
      cursor = (cursor + 1) % Capacity;
    }
    ASSERT_EQ(cache->Count(), Capacity - static_cast<int>(std::count(ring.begin(), ring.end(), -1)));
    if (step % 50 != 0) continue;
    for (int k = 0; k < Keys; ++k) {
      SCOPED_TRACE(k);
      int value = -1;
      const bool held = std::find(ring.begin(), ring.end(), k) != ring.end();
      ASSERT_EQ(cache->Get(k, value), held);
      ASSERT_EQ(value, held ? k * 10 : 0);
    }
  }
  cache->Free();
}

}  // namespace
