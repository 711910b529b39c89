// Checks of a resource-string unit: the product it registers holds exactly
// the expected identifiers, each bound to its record, and every record reads
// its default text through LoadLocalizedResString; the unit's start-up and
// shut-down are counted.
#pragma once

#include "library/core/base/dxCore.h"

#include <gtest/gtest.h>

#include <set>
#include <span>

struct TStringRow {
  const wchar_t* Name;
  PResStringRec Record;
  const wchar_t* Text;
};

inline TdxProductResourceStrings* FindProduct(const wchar_t* AProductName) {
  TdxResourceStringsRepository* repository = GetResourceStringsRepository();
  const int index = repository ? repository->GetProductIndexByName(AProductName) : -1;
  return index < 0 ? nullptr : repository->Products(index);
}

inline void ExpectStringSet(const wchar_t* AProductName, std::span<const TStringRow> ARows) {
  TdxProductResourceStrings* product = FindProduct(AProductName);
  ASSERT_NE(product, nullptr);
  EXPECT_EQ(product->ResStringsCount(), static_cast<int>(ARows.size()));
  std::set<PResStringRec> records;
  for (const TStringRow& row : ARows) {
    SCOPED_TRACE(UTF8Encode(row.Name));
    EXPECT_EQ(LoadLocalizedResString(row.Record), row.Text);
    const int index = product->GetIndexByName(row.Name);
    ASSERT_GE(index, 0);
    EXPECT_EQ(product->Names(index), row.Name);  // the identifier's own spelling
    EXPECT_EQ(product->ResStrings(index), row.Record);
    EXPECT_EQ(product->Values(index), row.Text);
    EXPECT_TRUE(records.insert(row.Record).second) << "a record shared by two identifiers";
  }
}

// The unit's start-up has run once (the test program's start-up). A second
// start-up and one shut-down leave the product; the last shut-down removes
// it; a start-up brings it back as before.
inline void ExpectCountedStartUp(const wchar_t* AProductName, int ACount, void (*AInitialization)(),
                                 void (*AFinalization)()) {
  ASSERT_NE(FindProduct(AProductName), nullptr);
  AInitialization();
  AFinalization();
  ASSERT_NE(FindProduct(AProductName), nullptr);
  EXPECT_EQ(FindProduct(AProductName)->ResStringsCount(), ACount);
  AFinalization();
  EXPECT_EQ(FindProduct(AProductName), nullptr);
  AFinalization();  // one more shut-down than start-ups: nothing to undo
  AInitialization();
  ASSERT_NE(FindProduct(AProductName), nullptr);
  EXPECT_EQ(FindProduct(AProductName)->ResStringsCount(), ACount);
  AFinalization();
  EXPECT_EQ(FindProduct(AProductName), nullptr) << "an unmatched shut-down was counted";
  AInitialization();
}
