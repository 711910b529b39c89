#include "library/core/containers/dxHashUtils.h"

#include "library/core/base/dxCore.h"
#include "platform/runtime/SysUtils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Checksums and hashes

TEST(Checksums, Crc32CheckValue) {
  EXPECT_EQ(CalculateCrc32("123456789", 9), 0xCBF43926u);
  EXPECT_EQ(CalculateCrc32("", 0), 0u);
  // The running step over pieces gives the same.
  std::uint32_t crc = UpdateCrc32("1234", 4, 0xFFFFFFFFu);
  crc = UpdateCrc32("56789", 5, crc);
  EXPECT_EQ(~crc, 0xCBF43926u);
}

// Eight bytes at a time gives what one bit at a time gives, at every length
// and alignment.
TEST(Checksums, Crc32AgreesWithTheBitwiseDefinition) {
  std::vector<std::uint8_t> data(80);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 37 + 11);
  const auto bitwise = [](const std::uint8_t* P, std::size_t N) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < N; ++i) {
      crc ^= P[i];
      for (int k = 0; k < 8; ++k) crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return ~crc;
  };
  for (std::size_t offset = 0; offset < 8; ++offset)
    for (std::size_t length = 0; length + offset <= data.size(); ++length)
      ASSERT_EQ(CalculateCrc32(data.data() + offset, length), bitwise(data.data() + offset, length))
          << offset << " " << length;
}

// A memory stream that records the size of every read and may fail at one.
class TSpyStream : public TMemoryStream {
  SK_CLASS(TSpyStream, TMemoryStream)
 public:
  int Read(void* ABuffer, int ACount) override {
    Reads.push_back(ACount);
    if (FailAtRead == static_cast<int>(Reads.size())) throw EReadError(L"broken medium");
    return inherited::Read(ABuffer, ACount);
  }
  std::vector<int> Reads;
  int FailAtRead = 0;
};

TEST(Checksums, StreamCrcReadsInChunksAndRestoresThePosition) {
  std::vector<std::uint8_t> data(200000);
  std::mt19937 random(3);
  for (auto& b : data) b = static_cast<std::uint8_t>(random());
  TSpyStream* stream = New<TSpyStream>();
  stream->WriteBuffer(data.data(), static_cast<std::int64_t>(data.size()));
  stream->SetPosition(1234);
  EXPECT_EQ(CalculateStreamCrc32(stream, 10, 150000), CalculateCrc32(data.data() + 10, 150000));
  EXPECT_EQ(stream->Position(), 1234);
  EXPECT_EQ(*std::max_element(stream->Reads.begin(), stream->Reads.end()), 65535);
  // A count beyond the end stops at the end.
  EXPECT_EQ(CalculateStreamCrc32(stream, 199990, 1000000), CalculateCrc32(data.data() + 199990, 10));
  EXPECT_EQ(CalculateStreamCrc32(stream, 0, 0), 0u);
  stream->Reads.clear();
  stream->FailAtRead = 2;
  EXPECT_THROW(CalculateStreamCrc32(stream, 0, 200000), EReadError);
  EXPECT_EQ(stream->Position(), 1234);
  stream->Free();
}

TEST(Hashes, BobJenkinsReferenceValues) {
  EXPECT_EQ(BobJenkinsHash("", 0, 0), 0xDEADBEEFu);
  EXPECT_EQ(BobJenkinsHash("", 0, 0xDEADBEEFu), 0xBD5B7DDEu);
  const char* text = "Four score and seven years ago";
  EXPECT_EQ(BobJenkinsHash(text, 30, 0), 0x17770551u);
  EXPECT_EQ(BobJenkinsHash(text, 30, 1), 0xCD628161u);
  const String name = L"Skarnivel";
  EXPECT_EQ(BobJenkinsHash(name.data(), name.size() * 2, 0), 0x4C0D55B3u);
}

TEST(Hashes, ShiftXorAndElfAndMurmurReferenceValues) {
  EXPECT_EQ(HashBytesShiftXor("", 0), 0u);
  EXPECT_EQ(HashBytesShiftXor("a", 1), 0xDAu);
  EXPECT_EQ(HashBytesShiftXor("hello", 5), 0x88440DEFu);

  EXPECT_EQ(HashTextUpperCase(L"ABC", 3), 0x4563u);
  EXPECT_EQ(HashTextUpperCase(L"SKARNIVEL", 0), 0x672BD6Cu);  // up to the terminator
  EXPECT_EQ(HashTextUpperCase(L"HELLO WORLD", -1), 0x118E814u);
  EXPECT_EQ(HashTextUpperCase(nullptr, 5), 0u);
  EXPECT_NE(HashTextUpperCase(L"abc", 3), 0x4563u);
  wchar_t buffer[16];
  EXPECT_EQ(HashTextUpperCase(L"abc", 3, buffer, 16, LOCALE_INVARIANT), 0x4563u);
  EXPECT_EQ(HashTextUpperCase(L"Skarnivel", 9, buffer, 16), 0x672BD6Cu);
  // Too long for the buffer: the text as it is.
  EXPECT_EQ(HashTextUpperCase(L"abc", 3, buffer, 2), HashTextUpperCase(L"abc", 3));

  EXPECT_EQ(MurmurHash2TextNoSeed(L""), 0u);
  EXPECT_EQ(MurmurHash2TextNoSeed(L"a"), 0x92685F5Eu);
  EXPECT_EQ(MurmurHash2TextNoSeed(L"abc"), 0xC804A05Au);
  EXPECT_EQ(MurmurHash2TextNoSeed(L"Skarnivel"), 0x6338E94Fu);
  EXPECT_EQ(MurmurHash2Text(L"Skarnivel", 42), 0xDAD52B7Eu);
}

// ---------------------------------------------------------------------------
// Dynamic item list

std::vector<std::string> GLog;

class TLoggedItem : public TdxDynamicListItem {
  SK_CLASS(TLoggedItem, TdxDynamicListItem)
 public:
  void Destroy() override {
    GLog.push_back("free " + std::to_string(Index()) + Tag);
    inherited::Destroy();
  }
  void Assign(TdxDynamicListItem* ASource) override { Tag = static_cast<TLoggedItem*>(ASource)->Tag; }
  std::string Tag;
};

class TLoggedList : public TdxDynamicItemList {
  SK_CLASS(TLoggedList, TdxDynamicItemList)
 public:
  std::vector<int> Created;

 protected:
  TClass ListItemClass() const override { return TLoggedItem::ClassInfo(); }
  void ItemCreated(TdxDynamicListItem* AItem) override { Created.push_back(AItem->Index()); }
};

std::vector<int> Indexes(TdxDynamicItemList* AList) {
  std::vector<int> r;
  for (TdxDynamicListItem* i = AList->First(); i; i = i->Next()) r.push_back(i->Index());
  return r;
}

class DynamicItemList : public testing::Test {
 protected:
  void SetUp() override {
    GLog.clear();
    FList = New<TLoggedList>();
    for (int i : {3, 5, 9}) FList->GetOrCreateItem(i);
  }
  void TearDown() override {
    if (FList) FList->Free();
  }
  TLoggedList* FList = nullptr;
};

TEST_F(DynamicItemList, FindItemGivesTheFirstItemNotBelowTheIndex) {
  TdxDynamicListItem* found = FList->FindItem(7);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->Index(), 9);
  EXPECT_EQ(FList->CurrentItem(), found);
  EXPECT_EQ(FList->GetItem(7), nullptr);
  EXPECT_EQ(FList->GetItem(5)->Index(), 5);
  EXPECT_EQ(FList->FindItem(10), nullptr);
  EXPECT_EQ(FList->FindItem(2), nullptr);
  EXPECT_EQ(FList->FirstIndex(), 3);
  EXPECT_EQ(FList->LastIndex(), 9);
  EXPECT_EQ(FList->Count(), 10);
}

TEST_F(DynamicItemList, CreatedItemsAreLinkedInByIndex) {
  FList->GetOrCreateItem(7);
  FList->GetOrCreateItem(1);
  FList->GetOrCreateItem(12);
  EXPECT_EQ(FList->GetOrCreateItem(5), FList->GetItem(5));  // existing
  EXPECT_EQ(Indexes(FList), (std::vector<int>{1, 3, 5, 7, 9, 12}));
  EXPECT_EQ(FList->Created, (std::vector<int>{3, 5, 9, 7, 1, 12}));
  EXPECT_EQ(FList->CurrentItem()->Index(), 5);
  TLoggedItem* source = New<TLoggedItem>();
  source->Tag = "x";
  FList->SetItem(20, source);
  EXPECT_EQ(static_cast<TLoggedItem*>(FList->GetItem(20))->Tag, "x");
  source->Free();
}

TEST_F(DynamicItemList, AMiddleInsertionNeedsItsNeighbour) {
  TdxDynamicListItem* item = New<TdxDynamicListItem>(FList, 4);
  try {
    FList->InsertItem(item, nullptr);
    ADD_FAILURE() << "no error";
  } catch (const EdxException& e) {
    EXPECT_EQ(e.Message(), L"TdxDynamicItemList.InsertItem");
  }
  FList->InsertItem(item, FList->GetItem(5));  // before the larger neighbour
  TdxDynamicListItem* twin = New<TdxDynamicListItem>(FList, 4);
  FList->InsertItem(twin, item);  // after an equal one
  EXPECT_EQ(Indexes(FList), (std::vector<int>{3, 4, 4, 5, 9}));
  EXPECT_EQ(item->Next(), twin);
}

TEST_F(DynamicItemList, ForEachInRangeMayFreeTheItemItReceives) {
  for (int i : {4, 6, 7}) FList->GetOrCreateItem(i);
  std::vector<int> seen;
  FList->ForEachInRange([&](TdxDynamicListItem* AItem) {
    seen.push_back(AItem->Index());
    AItem->Free();
  }, 4, 7);
  EXPECT_EQ(seen, (std::vector<int>{4, 5, 6, 7}));
  EXPECT_EQ(Indexes(FList), (std::vector<int>{3, 9}));
  EXPECT_EQ(FList->CurrentItem()->Index(), 9);  // what follows the range
  seen.clear();
  FList->ForEach([&](TdxDynamicListItem* AItem) { seen.push_back(AItem->Index()); }, false);
  EXPECT_EQ(seen, (std::vector<int>{9, 3}));
  EXPECT_EQ(FList->CurrentItem(), nullptr);  // nothing follows backwards
}

TEST_F(DynamicItemList, WalksFromTheCursorFindTheWholeRange) {
  for (int i = 10; i < 100; ++i) FList->GetOrCreateItem(i);
  TdxDynamicListItem* twin = New<TdxDynamicListItem>(FList, 50);
  FList->InsertItem(twin, FList->GetItem(50));
  for (int cursor : {3, 49, 50, 60, 99}) {
    SCOPED_TRACE(cursor);
    std::vector<int> forward, backward;
    FList->FindItem(cursor);
    FList->ForEachInRange([&](TdxDynamicListItem* AItem) { forward.push_back(AItem->Index()); }, 48, 52);
    FList->FindItem(cursor);
    FList->ForEachInRange([&](TdxDynamicListItem* AItem) { backward.push_back(AItem->Index()); }, 48, 52, false);
    EXPECT_EQ(forward, (std::vector<int>{48, 49, 50, 50, 51, 52}));
    EXPECT_EQ(backward, (std::vector<int>{52, 51, 50, 50, 49, 48}));
  }
}

TEST_F(DynamicItemList, ClearFreesFromTheFirstToTheLast) {
  FList->Clear();
  EXPECT_EQ(GLog, (std::vector<std::string>{"free 3", "free 5", "free 9"}));
  EXPECT_EQ(FList->First(), nullptr);
  EXPECT_EQ(FList->Count(), 0);
  EXPECT_EQ(FList->FirstIndex(), 0);
}

// ---------------------------------------------------------------------------
// Hash table

class TNamedHashItem : public TdxHashTableItem {
  SK_CLASS(TNamedHashItem, TdxHashTableItem)
 public:
  void Create(const std::string& AName, std::uint32_t AFixedKey = 0) {
    inherited::Create();
    Name = AName;
    FixedKey = AFixedKey;
  }
  void Destroy() override {
    GLog.push_back("free " + Name);
    inherited::Destroy();
  }
  std::string Name;
  std::uint32_t FixedKey;

 protected:
  void CalculateKey(std::uint32_t& AKey) override {
    if (FixedKey) {
      AKey = FixedKey;
    } else {
      const std::string base = Name.substr(0, Name.find('#'));
      HashText(AKey, String(base.begin(), base.end()));
    }
  }
  // Names compare up to an optional "#" suffix, so that distinct objects can be equal.
  bool DoIsEqual(TdxHashTableItem* AItem) override {
    auto base = [](const std::string& s) { return s.substr(0, s.find('#')); };
    return base(static_cast<TNamedHashItem*>(AItem)->Name) == base(Name);
  }
};

class THashTableSpy : public TdxHashTable {
  SK_CLASS(THashTableSpy, TdxHashTable)
 public:
  std::vector<std::string> Removed;

 protected:
  void ItemRemoved(TdxHashTableItem* AItem) override { Removed.push_back(static_cast<TNamedHashItem*>(AItem)->Name); }
};

class HashTable : public testing::Test {
 protected:
  void SetUp() override {
    GLog.clear();
    FTable = New<THashTableSpy>();
  }
  void TearDown() override {
    if (FTable) FTable->Free();
  }
  TdxHashTableItem* Intern(TNamedHashItem* AItem) {
    TdxHashTableItem* item = AItem;
    FTable->AddItem(item);
    return item;
  }
  THashTableSpy* FTable = nullptr;
};

TEST_F(HashTable, EqualItemsInternToTheFirst) {
  TdxHashTableItem* first = Intern(New<TNamedHashItem>("brush"));
  first->AddRef();
  TdxHashTableItem* second = Intern(New<TNamedHashItem>("brush#2"));
  EXPECT_EQ(second, first);
  EXPECT_EQ(GLog, std::vector<std::string>{"free brush#2"});
  EXPECT_EQ(FTable->Count(), 1);
  EXPECT_NE(first->Key(), 0u);
  EXPECT_EQ(Intern(static_cast<TNamedHashItem*>(first)), first);  // again: the same
  first->Release();
  EXPECT_EQ(GLog, (std::vector<std::string>{"free brush#2", "free brush"}));
  EXPECT_EQ(FTable->Removed, std::vector<std::string>{"brush"});
  EXPECT_EQ(FTable->Count(), 0);
}

TEST_F(HashTable, KeysOneAndSixtyFiveThousandFiveHundredThirtySixShareARow) {
  Intern(New<TNamedHashItem>("two", 2));
  Intern(New<TNamedHashItem>("big", 65536));
  Intern(New<TNamedHashItem>("one", 1));
  Intern(New<TNamedHashItem>("one-again", 1));  // same key, not equal: behind the run
  std::vector<std::string> order;
  FTable->ForEachItem([&](TdxHashTableItem* AItem) { order.push_back(static_cast<TNamedHashItem*>(AItem)->Name); });
  EXPECT_EQ(order, (std::vector<std::string>{"one", "one-again", "big", "two"}));
  TdxHashTableItem* equal = Intern(New<TNamedHashItem>("one-again#x", 1));
  EXPECT_EQ(static_cast<TNamedHashItem*>(equal)->Name, "one-again");
}

TEST_F(HashTable, ReferencesCountInTheTableAndItemsBelongToOneTable) {
  TNamedHashItem* item = New<TNamedHashItem>("pen");
  item->AddRef();
  item->AddRef();
  Intern(item);
  EXPECT_EQ(FTable->Count(), 2);
  TdxHashTable* other = New<TdxHashTable>();
  TdxHashTableItem* moved = item;
  try {
    other->AddItem(moved);
    ADD_FAILURE() << "no error";
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.Message(), L"Hash table is already set");
  }
  EXPECT_EQ(other->Count(), 0);
  other->Free();
  item->Release();
  EXPECT_EQ(FTable->Count(), 1);
  item->Release();
  EXPECT_EQ(FTable->Count(), 0);
  EXPECT_EQ(GLog, std::vector<std::string>{"free pen"});
}

TEST_F(HashTable, ClearingKeepsReferencedItemsAlive) {
  TdxHashTableItem* kept = Intern(New<TNamedHashItem>("font"));
  kept->AddRef();
  Intern(New<TNamedHashItem>("unused"));
  FTable->Clear();
  EXPECT_EQ(GLog, std::vector<std::string>{"free unused"});
  EXPECT_EQ(FTable->Count(), 0);
  EXPECT_EQ(kept->HashTable(), nullptr);
  EXPECT_EQ(kept->Owner(), nullptr);
  FreeAndNil(FTable);
  kept->Release();  // the table is gone: the item goes alone
  EXPECT_EQ(GLog, (std::vector<std::string>{"free unused", "free font"}));
}

TEST_F(HashTable, AssignHashTableItemMovesTheReference) {
  TdxHashTableItem* a = Intern(New<TNamedHashItem>("a"));
  TdxHashTableItem* b = Intern(New<TNamedHashItem>("b"));
  TdxHashTableItem* holder = nullptr;
  EXPECT_TRUE(AssignHashTableItem(holder, a));
  EXPECT_FALSE(AssignHashTableItem(holder, a));
  EXPECT_EQ(a->RefCount(), 1);
  EXPECT_TRUE(AssignHashTableItem(holder, b));  // a goes
  EXPECT_EQ(GLog, std::vector<std::string>{"free a"});
  EXPECT_EQ(b->RefCount(), 1);
  EXPECT_TRUE(AssignHashTableItem(holder, static_cast<TdxHashTableItem*>(nullptr)));
  EXPECT_EQ(holder, nullptr);
  EXPECT_EQ(GLog, (std::vector<std::string>{"free a", "free b"}));
}

}  // namespace

TEST(HashUtilsUnit, StartUpSeedsTheRandomNumbers) {
  // The seed is 0 until something seeds it.
  EXPECT_NE(0u, RandSeed());
}
