#include "library/core/base/dxStringHelper.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

std::vector<int> GFreed;

class TTaggedBuilder : public TStringBuilder {
  SK_CLASS(TTaggedBuilder, TStringBuilder)
 public:
  void Create(int ATag, int ACapacity) {
    inherited::Create(ACapacity);
    Tag = ATag;
  }
  void Destroy() override {
    GFreed.push_back(Tag);
    inherited::Destroy();
  }
  int Tag = 0;
};

class StringBuilderPool : public testing::Test {
 protected:
  void SetUp() override {
    TdxStringBuilderManager::Finalize();
    GFreed.clear();
  }
  void TearDown() override { TdxStringBuilderManager::Finalize(); }
};

TEST_F(StringBuilderPool, FiveReleasesFillFourSlotsAndFreeTheOldest) {
  for (int tag = 1; tag <= 5; ++tag) {
    TStringBuilder* b = New<TTaggedBuilder>(tag, 16);
    TdxStringBuilderManager::Release(b);
    EXPECT_EQ(b, nullptr);
  }
  EXPECT_EQ(GFreed, std::vector<int>{1});
  // Slot 0 holds the newest.
  std::vector<int> order;
  for (int i = 0; i < 4; ++i) order.push_back(static_cast<TTaggedBuilder*>(TdxStringBuilderManager::Get(8))->Tag);
  EXPECT_EQ(order, (std::vector<int>{5, 4, 3, 2}));
  TStringBuilder* fresh = TdxStringBuilderManager::Get(8);  // the pool is empty now
  EXPECT_EQ(fresh->ClassType(), TStringBuilder::ClassInfo());
  fresh->Free();
}

TEST_F(StringBuilderPool, LargeBuildersAreNeverPooled) {
  TStringBuilder* b = New<TTaggedBuilder>(7, 2000000);
  TdxStringBuilderManager::Release(b);
  EXPECT_EQ(GFreed, std::vector<int>{7});
  EXPECT_EQ(b, nullptr);
  TStringBuilder* nothing = nullptr;
  TdxStringBuilderManager::Release(nothing);  // nil is ignored
}

TEST_F(StringBuilderPool, AReusedBuilderIsEmptiedAndGrown) {
  TStringBuilder* b = New<TTaggedBuilder>(3, 50);
  b->Append(L"old text").Append(std::int64_t{-12});
  EXPECT_EQ(b->ToString(), L"old text-12");
  TStringBuilder* released = b;
  TdxStringBuilderManager::Release(b);
  TStringBuilder* again = TdxStringBuilderManager::Get(100);
  EXPECT_EQ(again, released);
  EXPECT_EQ(again->Length(), 0);
  EXPECT_GE(again->Capacity(), 100);
  TdxStringBuilderManager::Release(again);
  EXPECT_TRUE(GFreed.empty());
}

TEST_F(StringBuilderPool, ThreadsShareThePoolWithoutLosingBuilders) {
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([] {
      for (int i = 0; i < 2000; ++i) {
        TStringBuilder* b = TdxStringBuilderManager::Get(32);
        b->Append(L'x');
        EXPECT_EQ(b->Length(), 1);  // nobody else holds it
        TdxStringBuilderManager::Release(b);
      }
    });
  for (std::thread& t : threads) t.join();
}

}  // namespace
