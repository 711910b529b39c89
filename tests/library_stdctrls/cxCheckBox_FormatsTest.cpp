// Check-state value formats: packing item states into one edit value and
// reading them back, the caption items the conversions read.
#include "library/stdctrls/cxCheckBox.h"

#include "library/core/data/cxVariants.h"
#include "platform/runtime/FMTBcd.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace {

constexpr TcxCheckBoxState U = cbsUnchecked, C = cbsChecked, G = cbsGrayed;

struct FormatItemsFixture : testing::Test {
  TOwned<TcxCaptionItems> Items{New<TcxCaptionItems>(nullptr, TcxCaptionItem::ClassInfo())};

  IcxCheckItems* Fill(std::initializer_list<const wchar_t*> ACaptions) {
    Items->Clear();
    for (const wchar_t* caption : ACaptions) static_cast<TcxCaptionItem*>(Items->Add())->SetCaption(caption);
    return Items.get();
  }

  IcxCheckItems* FillCount(int ACount) {
    Items->Clear();
    for (int i = 0; i < ACount; ++i)
      static_cast<TcxCaptionItem*>(Items->Add())->SetCaption(L"i;" + IntToStr(i) + L":,");
    return Items.get();
  }
};

const wchar_t* FormatName(TcxCheckStatesValueFormatEx AFormat) {
  static const wchar_t* const names[] = {L"cvfCaptions", L"cvfIndices", L"cvfInteger", L"cvfStatesString",
                                         L"cvfCustom"};
  return names[AFormat];
}

struct PackCase {
  std::initializer_list<const wchar_t*> Captions;
  TcxCheckStates States;
  TcxCheckStatesValueFormatEx Format;
  Variant Expected;
};

using CheckStatesPacking = FormatItemsFixture;

TEST_F(CheckStatesPacking, GivesTheTextOrNumberOfEachFormat) {
  const PackCase cases[] = {
      {{L"A", L"BC"}, {G, C}, cvfCaptions, Variant(String(L"1:A;2:BC"))},
      {{L"A", L"BC"}, {U, C}, cvfCaptions, Variant(String(L";2:BC"))},
      {{L"A", L"BC"}, {G, U}, cvfCaptions, Variant(String(L"1:A"))},
      {{L"A", L"BC"}, {U, U}, cvfCaptions, Variant(String())},
      {{L"a;b", L"cd"}, {G, C}, cvfCaptions, Variant(String(L"3:a;b;2:cd"))},
      {{L"a", L"b", L"c", L"d"}, {G, U, C, C}, cvfIndices, Variant(String(L"0;2,3"))},
      {{L"a", L"b", L"c"}, {U, C, C}, cvfIndices, Variant(String(L";1,2"))},
      {{L"a", L"b", L"c"}, {G, G, U}, cvfIndices, Variant(String(L"0,1"))},
      {{L"a", L"b", L"c"}, {C, G, C}, cvfInteger, Variant(std::int64_t{5})},
      {{L"a", L"b", L"c"}, {U, C, G}, cvfStatesString, Variant(String(L"012"))},
      {{L"a"}, {C}, cvfCustom, Null()},
  };
  for (const PackCase& c : cases) {
    const Variant value = CheckStatesToEditValue(c.States, Fill(c.Captions), c.Format);
    EXPECT_EQ(VarType(value), VarType(c.Expected)) << FormatName(c.Format);
    EXPECT_TRUE(VariantsEqual(value, c.Expected)) << FormatName(c.Format) << " gave " << VarToStr(value);
  }
}

TEST_F(CheckStatesPacking, IntegerHoldsTheFirst64ItemsAsA64BitValue) {
  TcxCheckStates states(70, C);
  const Variant value = CheckStatesToEditValue(states, FillCount(70), cvfInteger);
  EXPECT_EQ(VarType(value), varInt64);
  EXPECT_EQ(value.AsInt64(), -1);
}

struct UnpackCase {
  std::initializer_list<const wchar_t*> Captions;
  Variant Value;
  TcxCheckStatesValueFormatEx Format;
  bool Read;
  TcxCheckStates Expected;
};

using CheckStatesUnpacking = FormatItemsFixture;

TEST_F(CheckStatesUnpacking, ReadsOrFailsWithEveryItemUnchecked) {
  const auto abcd = {L"a", L"b", L"c", L"d"};
  const UnpackCase cases[] = {
      {{L"a;b", L"cd"}, Variant(String(L"3:a;b;2:cd")), cvfCaptions, true, {G, C}},
      {{L"A", L"BC"}, Variant(String(L";2:bc")), cvfCaptions, true, {U, C}},
      {{L"x", L"y", L"x"}, Variant(String(L"1:X1:x")), cvfCaptions, true, {G, U, G}},
      {{L"x", L"y"}, Variant(String(L"1:x1:x")), cvfCaptions, false, {U, U}},
      {{L"A", L"BC"}, Variant(String(L"1:A;2:BC;1:Z")), cvfCaptions, false, {U, U}},
      {{L"A", L"BC"}, Variant(String(L"1:A;5:BC")), cvfCaptions, false, {U, U}},
      {{L"A", L"BC"}, Variant(String(L"1A")), cvfCaptions, false, {U, U}},
      {{L"A", L"BC"}, Variant(String(L"1:A;;2:BC")), cvfCaptions, false, {U, U}},
      {{L"A", L"BC"}, Variant(String(L"2147483648:A")), cvfCaptions, false, {U, U}},
      {{L"A", L"BC"}, Variant(7), cvfCaptions, false, {U, U}},
      {abcd, Variant(String(L"0;2,3")), cvfIndices, true, {G, U, C, C}},
      {abcd, Variant(String(L"0,2,")), cvfIndices, true, {G, U, G, U}},
      {abcd, Variant(String(L";1")), cvfIndices, true, {U, C, U, U}},
      {abcd, Variant(String(L"5")), cvfIndices, false, {U, U, U, U}},
      {abcd, Variant(String(L"1,5")), cvfIndices, false, {U, U, U, U}},
      {abcd, Variant(String(L"0x1")), cvfIndices, false, {U, U, U, U}},
      {abcd, Variant(String(L"-1")), cvfIndices, false, {U, U, U, U}},
      {abcd, Variant(String(L"0;1;2")), cvfIndices, false, {U, U, U, U}},
      {abcd, Variant(String(L"21")), cvfStatesString, true, {G, C, U, U}},
      {{L"a", L"b"}, Variant(String(L"12x")), cvfStatesString, true, {C, G}},
      {abcd, Variant(String(L"2x")), cvfStatesString, false, {U, U, U, U}},
      {abcd, Variant(true), cvfStatesString, false, {U, U, U, U}},
      {abcd, Variant(5), cvfInteger, true, {C, U, C, U}},
      {abcd, Variant(String(L"10")), cvfInteger, true, {U, C, U, C}},
      {abcd, Variant(String(L"x")), cvfInteger, false, {U, U, U, U}},
      {abcd, Variant(10.4), cvfInteger, true, {U, C, U, C}},
      {abcd, Variant(Currency::FromDouble(3)), cvfInteger, true, {C, C, U, U}},
      {abcd, Variant::FromDateTime(TDateTime(6)), cvfInteger, true, {U, C, C, U}},
      {abcd, VarFMTBcdCreate(IntegerToBcd(9)), cvfInteger, true, {C, U, U, C}},
      // Values without a 64-bit integer form.
      {abcd, Variant(std::numeric_limits<double>::quiet_NaN()), cvfInteger, false, {U, U, U, U}},
      {abcd, Variant(std::numeric_limits<double>::infinity()), cvfInteger, false, {U, U, U, U}},
      {abcd, Variant(-std::numeric_limits<double>::infinity()), cvfInteger, false, {U, U, U, U}},
      {abcd, Variant(1e19), cvfInteger, false, {U, U, U, U}},
      {abcd, Variant(-1e19), cvfInteger, false, {U, U, U, U}},
      {abcd, Variant(std::uint64_t{1} << 63), cvfInteger, false, {U, U, U, U}},
      {abcd, Variant::FromDateTime(TDateTime(1e300)), cvfInteger, false, {U, U, U, U}},
      {abcd, VarFMTBcdCreate(StrToBcd(L"123456789012345678901234567890")), cvfInteger, false, {U, U, U, U}},
      {abcd, Variant(), cvfInteger, false, {U, U, U, U}},
      {abcd, Variant(String(L"0")), cvfCustom, false, {U, U, U, U}},
  };
  for (const UnpackCase& c : cases) {
    TcxCheckStates states{C, C, C, C, C, C, C, C};
    EXPECT_EQ(EditValueToCheckStates(c.Value, Fill(c.Captions), c.Format, states), c.Read)
        << FormatName(c.Format) << " " << VarToStr(c.Value);
    EXPECT_EQ(states, c.Expected) << FormatName(c.Format) << " " << VarToStr(c.Value);
  }
}

TEST_F(CheckStatesUnpacking, NullReadsAsAllUncheckedInEveryFormatButCustom) {
  for (auto format : {cvfCaptions, cvfIndices, cvfInteger, cvfStatesString, cvfCustom}) {
    TcxCheckStates states;
    EXPECT_EQ(EditValueToCheckStates(Null(), FillCount(3), format, states), format != cvfCustom)
        << FormatName(format);
    EXPECT_EQ(states, (TcxCheckStates{U, U, U})) << FormatName(format);
  }
}

TEST_F(CheckStatesUnpacking, PackedRandomStatesComeBack) {
  std::mt19937 random(47);
  for (auto format : {cvfCaptions, cvfIndices, cvfInteger, cvfStatesString})
    for (int count = 0; count <= 70; ++count) {
      IcxCheckItems* items = FillCount(count);
      TcxCheckStates states(count), expected(count);
      for (int i = 0; i < count; ++i) {
        states[i] = static_cast<TcxCheckBoxState>(random() % 3);
        // The integer holds checked bits of the first 64 items only.
        expected[i] = format == cvfInteger && (states[i] == G || i >= 64) ? U : states[i];
      }
      TcxCheckStates read;
      ASSERT_TRUE(EditValueToCheckStates(CheckStatesToEditValue(states, items, format), items, format, read))
          << FormatName(format) << " " << count;
      EXPECT_EQ(read, expected) << FormatName(format) << " " << count;
    }
}

using CaptionItems = FormatItemsFixture;

TEST_F(CaptionItems, AnswerTheCheckItemsAndSortByCaptionIgnoringCase) {
  Fill({L"b", L"C", L"a"});
  IcxCheckItems* items = SupportsRaw<IcxCheckItems>(Items.get());
  ASSERT_NE(items, nullptr);
  EXPECT_EQ(items->GetCount(), 3);
  EXPECT_EQ(items->GetItemCaption(1), L"C");
  Items->SetSorted(true);
  EXPECT_EQ(items->GetItemCaption(0), L"a");
  EXPECT_EQ(items->GetItemCaption(1), L"b");
  EXPECT_EQ(items->GetItemCaption(2), L"C");
  Items->GetItem(0)->SetCaption(L"D");
  EXPECT_EQ(items->GetItemCaption(0), L"b") << "a new caption re-sorts";
  EXPECT_EQ(items->GetItemCaption(2), L"D");
}

TEST_F(CaptionItems, AssignCopiesCaptionAndTag) {
  Fill({L"one", L"two"});
  Items->GetItem(0)->SetTag(42);
  Items->GetItem(1)->Assign(Items->GetItem(0));
  EXPECT_EQ(Items->GetItem(1)->Caption(), L"one");
  EXPECT_EQ(Items->GetItem(1)->Tag(), 42);
}

}  // namespace
