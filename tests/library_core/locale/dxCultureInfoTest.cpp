#include "library/core/locale/dxCultureInfo.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(CultureNames, BuiltAtStartUp) {
  TdxCultureNameDictionary* names = CultureNames();
  ASSERT_NE(names, nullptr);
  EXPECT_EQ(names->Count(), 376);
  struct TCase {
    int Key;
    const wchar_t* Name;
  };
  const std::vector<TCase> cases = {
      {1, L"ar"},          {4, L"zh-Hans"},      {127, L""},          {146, L"ku"},
      {1033, L"en-US"},    {1031, L"de-DE"},     {1170, L"ku-Arab-IQ"}, {2051, L"ca-ES-valencia"},
      {9225, L"en-029"},   {21514, L"es-US"},    {25626, L"bs-Cyrl"},  {28698, L"sr-Latn"},
      {31748, L"zh-Hant"}, {31890, L"ku-Arab"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Key);
    String name = L"(none)";
    EXPECT_TRUE(names->TryGetValue(c.Key, name));
    EXPECT_EQ(name, c.Name);
  }
  String name = L"kept";
  for (int missing : {0, 48, 147, 1034, 31891}) {
    SCOPED_TRACE(missing);
    EXPECT_FALSE(names->ContainsKey(missing));
    EXPECT_FALSE(names->TryGetValue(missing, name));
  }
  EXPECT_EQ(name, L"kept");
}

TEST(CultureNames, KeyKinds) {
  // Primary languages name a language alone (Chinese a script too); full
  // locales a language and a region or variant.
  TdxCultureNameDictionary* names = CultureNames();
  int primary = 0, locales = 0, neutral = 0;
  for (int key = 0; key <= 0xFFFF; ++key) {
    String name;
    if (!names->TryGetValue(key, name)) continue;
    SCOPED_TRACE(key);
    if (key <= 146) {
      ++primary;
      EXPECT_EQ(name.find(L'-') == String::npos, key != 4);
    } else if (key < 0x6000) {
      ++locales;
      EXPECT_GE(key, 0x0401);
      EXPECT_NE(name.find(L'-'), String::npos);
    } else {
      ++neutral;
    }
  }
  EXPECT_EQ(primary + locales + neutral, 376);
  EXPECT_EQ(neutral, 32);  // script and language groups, 0x641A on
}

TEST(CultureNames, RebuiltAndFreed) {
  FreeCultureNames();
  EXPECT_EQ(CultureNames(), nullptr);
  RegisterCultureNames();
  ASSERT_NE(CultureNames(), nullptr);
  EXPECT_EQ(CultureNames()->Count(), 376);
  TOwned<TdxCultureNameDictionary> own(New<TdxCultureNameDictionary>());
  own->Add(7, L"de");
  EXPECT_THROW(own->Add(7, L"x"), EListError);
}

}  // namespace
