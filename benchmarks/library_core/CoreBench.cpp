// The foundation's hot containers next to their standard-library equivalents,
// at 10^6 items, in the same run: fast-list append, sort and search, the hash
// table's interning and the value cache. Each line prints the best of several
// runs of both and the ratio (ours / standard); the target is at most 1.5.
#include "benchmarks/support/Ratios.h"
#include "library/core/CoreUnits.h"
#include "library/core/base/dxCoreClasses.h"
#include "library/core/colors/dxCoreGraphics.h"
#include "library/core/containers/dxHashUtils.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

constexpr int N = 1000000;
constexpr int Runs = 5;

double Best(const std::function<void()>& APrepare, const std::function<void()>& AWork) {
  return bench::BestOf(Runs, APrepare, AWork);
}

bench::TRatioReport GReport("ours", "std", 1.5, 34);

void Report(const char* AName, double AOurs, double AStandard) { GReport.Add(AName, AOurs, AStandard); }

void* P(std::uintptr_t AValue) { return reinterpret_cast<void*>(AValue); }

int CompareItems(void* A, void* B) {
  const auto a = reinterpret_cast<std::uintptr_t>(A);
  const auto b = reinterpret_cast<std::uintptr_t>(B);
  return a < b ? -1 : (a > b ? 1 : 0);
}

volatile std::uintptr_t GSink;

// ---------------------------------------------------------------------------
// Fast list

void BenchFastList(const std::vector<void*>& AValues) {
  TdxFastList* list = nullptr;
  std::vector<void*> vector;
  const double ourAppend = Best([&] { FreeAndNil(list); list = New<TdxFastList>(); }, [&] {
    for (void* v : AValues) list->Add(v);
  });
  const double stdAppend = Best([&] { std::vector<void*>().swap(vector); }, [&] {
    for (void* v : AValues) vector.push_back(v);
  });
  Report("fast list: append 10^6", ourAppend, stdAppend);

  const double ourSort = Best([&] { list->Clear(); for (void* v : AValues) list->Add(v); },
                              [&] { list->Sort(&CompareItems); });
  // The same compare function, called through a pointer as the list does.
  TListSortCompare volatile compareThrough = &CompareItems;
  const TListSortCompare compare = compareThrough;
  const double stdSort = Best([&] { vector = AValues; },
                              [&] { std::sort(vector.begin(), vector.end(), [compare](void* A, void* B) { return compare(A, B) < 0; }); });
  Report("fast list: sort 10^6 (function)", ourSort, stdSort);

  const double ourSortBy = Best([&] { list->Clear(); for (void* v : AValues) list->Add(v); }, [&] {
    list->SortBy([](void* A, void* B) { return CompareItems(A, B); });
  });
  const double stdSortBy = Best([&] { vector = AValues; }, [&] {
    std::sort(vector.begin(), vector.end(), [](void* A, void* B) { return reinterpret_cast<std::uintptr_t>(A) < reinterpret_cast<std::uintptr_t>(B); });
  });
  Report("fast list: sort 10^6 (inline)", ourSortBy, stdSortBy);

  // Search: 200 lookups spread over the list, from the beginning.
  list->Clear();
  for (void* v : AValues) list->Add(v);
  vector = AValues;
  const double ourSearch = Best([] {}, [&] {
    for (int i = 0; i < 200; ++i) GSink = static_cast<std::uintptr_t>(list->IndexOf(AValues[static_cast<std::size_t>(i) * 4999]));
  });
  const double stdSearch = Best([] {}, [&] {
    for (int i = 0; i < 200; ++i)
      GSink = static_cast<std::uintptr_t>(std::find(vector.begin(), vector.end(), AValues[static_cast<std::size_t>(i) * 4999]) - vector.begin());
  });
  Report("fast list: search (200 x 10^6)", ourSearch, stdSearch);
  list->Free();
}

// ---------------------------------------------------------------------------
// Hash table interning

class TBenchItem : public TdxHashTableItem {
  SK_CLASS(TBenchItem, TdxHashTableItem)
 public:
  void Create(int AValue) {
    inherited::Create();
    Value = AValue;
  }
  int Value;
  std::uint32_t StdKey;  // the key the standard container uses
  std::uint32_t ComputeKey() {
    std::uint32_t key = 0;
    CalculateKey(key);
    return key;
  }

 protected:
  void CalculateKey(std::uint32_t& AKey) override { HashBuffer(AKey, &Value, sizeof(Value)); }
  bool DoIsEqual(TdxHashTableItem* AItem) override { return static_cast<TBenchItem*>(AItem)->Value == Value; }
};

struct TItemHash {
  std::size_t operator()(TBenchItem* AItem) const { return AItem->StdKey; }
};
struct TItemEqual {
  bool operator()(TBenchItem* A, TBenchItem* B) const { return A->Value == B->Value; }
};

void BenchHashTable(const std::vector<int>& AValues) {
  TdxHashTable* table = nullptr;
  const double ours = Best([&] { FreeAndNil(table); table = New<TdxHashTable>(); }, [&] {
    for (int v : AValues) {
      TdxHashTableItem* item = New<TBenchItem>(v);
      table->AddItem(item);
    }
  });
  FreeAndNil(table);

  // The standard equivalent: the same objects and keys, a set of pointers.
  std::unordered_set<TBenchItem*, TItemHash, TItemEqual> set;
  auto clear = [&] {
    for (TBenchItem* item : set) item->Free();
    std::unordered_set<TBenchItem*, TItemHash, TItemEqual>().swap(set);
  };
  const double standard = Best(clear, [&] {
    for (int v : AValues) {
      auto* item = New<TBenchItem>(v);
      item->StdKey = item->ComputeKey();  // as the table computes it
      const auto [it, added] = set.insert(item);
      if (!added) item->Free();
    }
  });
  clear();
  Report("hash table: intern 10^6 (50% dup.)", ours, standard);
}

// ---------------------------------------------------------------------------
// Value cache

void BenchValueCache(const std::vector<int>& AKeys) {
  TdxValueCacheManager<int, std::uintptr_t>* cache = nullptr;
  const double ourAdd = Best([&] { FreeAndNil(cache); cache = New<TdxValueCacheManager<int, std::uintptr_t>>(N); }, [&] {
    for (int k : AKeys) cache->Add(k, static_cast<std::uintptr_t>(k));
  });
  std::unordered_map<int, std::uintptr_t> map;
  const double stdAdd = Best([&] { std::unordered_map<int, std::uintptr_t>().swap(map); map.reserve(N); }, [&] {
    for (int k : AKeys) map.emplace(k, static_cast<std::uintptr_t>(k));
  });
  Report("value cache: add 10^6", ourAdd, stdAdd);

  const double ourGet = Best([] {}, [&] {
    std::uintptr_t v = 0, sum = 0;
    for (int k : AKeys) {
      cache->Get(k, v);
      sum += v;
    }
    GSink = sum;
  });
  const double stdGet = Best([] {}, [&] {
    std::uintptr_t sum = 0;
    for (int k : AKeys) {
      const auto it = map.find(k);
      sum += it == map.end() ? 0 : it->second;
    }
    GSink = sum;
  });
  Report("value cache: get 10^6", ourGet, stdGet);

  // Eviction: a cache of 1,000 entries fed 10^6 keys, next to a map kept at
  // 1,000 entries by a ring of its own.
  TdxValueCacheManager<int, std::uintptr_t>* small = nullptr;
  const double ourEvict = Best([&] { FreeAndNil(small); small = New<TdxValueCacheManager<int, std::uintptr_t>>(1000); }, [&] {
    for (int i = 0; i < N; ++i) small->Add(i, static_cast<std::uintptr_t>(i));
  });
  std::unordered_map<int, std::uintptr_t> bounded;
  std::vector<int> ring(1000);
  const double stdEvict = Best([&] { std::unordered_map<int, std::uintptr_t>().swap(bounded); bounded.reserve(1000); }, [&] {
    for (int i = 0; i < N; ++i) {
      int& slot = ring[static_cast<std::size_t>(i % 1000)];
      if (i >= 1000) bounded.erase(slot);
      bounded.emplace(i, static_cast<std::uintptr_t>(i));
      slot = i;
    }
  });
  Report("value cache: add with eviction 10^6", ourEvict, stdEvict);
  FreeAndNil(small);
  FreeAndNil(cache);
}

}  // namespace

int wmain() {
  InitializeUnits({RuntimeUnits(), LibraryCoreUnits()});
  std::mt19937_64 random(2024);
  std::vector<void*> pointers(N);
  for (auto& p : pointers) p = P(random());
  std::vector<int> keys(N);
  for (int i = 0; i < N; ++i) keys[static_cast<std::size_t>(i)] = i;
  std::shuffle(keys.begin(), keys.end(), random);
  std::vector<int> interned(N);
  for (int i = 0; i < N; ++i) interned[static_cast<std::size_t>(i)] = static_cast<int>(random() % (N / 2));

  std::printf("library_core benchmark (best of %d runs)\n", Runs);
  BenchFastList(pointers);
  BenchHashTable(interned);
  BenchValueCache(keys);
  std::printf(GReport.Slower() ? "%d measurement(s) over 1.5x the standard container\n" : "all within 1.5x the standard containers\n",
              GReport.Slower());
  FinalizeUnits();
  return 0;
}
