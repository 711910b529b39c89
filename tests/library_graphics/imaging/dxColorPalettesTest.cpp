#include "library/graphics/imaging/dxColorPalettes.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

GUID IdOf(IdxColorPalette* APalette) {
  GUID id;
  GetPaletteID(APalette, id);
  return id;
}

// A palette of its own colours that counts its identity changes and its
// destruction.
class TCountingPalette : public TdxCustomColorPalette {
  SK_CLASS(TCountingPalette, TdxCustomColorPalette)
 public:
  void Create(bool* AFreed) {
    inherited::Create();
    FFreed = AFreed;
  }
  void Destroy() override {
    if (FFreed) *FFreed = true;
    inherited::Destroy();
  }
  TdxAlphaColor GetFillColor(const String& AID) override { return AID == L"accent" ? 0xFFFF0000 : 0xFF000000; }
  TdxAlphaColor GetStrokeColor(const String&) override { return 0; }
  void Touch() { Changed(); }
  int Calculations() const { return FCalculations; }

 protected:
  void CalculateID() override {
    ++FCalculations;
    inherited::CalculateID();
  }

 private:
  bool* FFreed;
  int FCalculations;
};

class TSimplePaletteWatch : public TdxSimpleColorPalette {
  SK_CLASS(TSimplePaletteWatch, TdxSimpleColorPalette)
 public:
  int Changes() const { return FChanges; }

 protected:
  void Changed() override {
    ++FChanges;
    inherited::Changed();
  }

 private:
  int FChanges;
};

TEST(ColorPalettes, SimplePalettesWithEqualColoursShareTheirIdentity) {
  const IPtr<IdxColorPalette> first(New<TdxSimpleColorPalette>(0xFF336699u, 0x80FF0000u));
  auto* second = New<TdxSimpleColorPalette>(0xFF336699u, 0x80FF0000u);
  const IPtr<IdxColorPalette> secondRef(second);

  EXPECT_EQ(IdOf(first.Get()), IdOf(secondRef.Get()));
  second->SetFillColor(0xFF000000);
  EXPECT_NE(IdOf(first.Get()), IdOf(secondRef.Get()));
  second->SetFillColor(0xFF336699);
  EXPECT_EQ(IdOf(first.Get()), IdOf(secondRef.Get()));
  second->SetStrokeColor(0);
  EXPECT_NE(IdOf(first.Get()), IdOf(secondRef.Get()));
}

TEST(ColorPalettes, ASimplePalettesIdentityHoldsItsTwoColoursAndZerosAfterThem) {
  const IPtr<IdxColorPalette> palette(New<TdxSimpleColorPalette>(0x11223344u, 0xAABBCCDDu));
  const GUID id = palette->GetID();
  unsigned char bytes[sizeof(GUID)];
  std::memcpy(bytes, &id, sizeof(id));
  const unsigned char expected[sizeof(GUID)] = {0x44, 0x33, 0x22, 0x11, 0xDD, 0xCC, 0xBB, 0xAA};
  EXPECT_EQ(std::memcmp(bytes, expected, sizeof(bytes)), 0);
}

TEST(ColorPalettes, ASimplePaletteAnswersItsColoursForEveryElement) {
  const IPtr<IdxColorPalette> palette(New<TdxSimpleColorPalette>(0xFF0000FFu, 0u));
  for (const wchar_t* element : {L"", L"path1", L"accent"}) {
    SCOPED_TRACE(testing::Message() << "element " << element);
    EXPECT_EQ(palette->GetFillColor(element), 0xFF0000FFu);
    EXPECT_EQ(palette->GetStrokeColor(element), 0u);
  }
}

TEST(ColorPalettes, SettingAnEqualColourIsNoChange) {
  auto* palette = New<TSimplePaletteWatch>(0xFF102030u, 0xFF405060u);
  const IPtr<IdxColorPalette> reference(palette);
  palette->SetFillColor(0xFF102030);
  palette->SetStrokeColor(0xFF405060);
  EXPECT_EQ(palette->Changes(), 0);
  palette->SetStrokeColor(0xFF405061);
  EXPECT_EQ(palette->Changes(), 1);
  EXPECT_EQ(palette->StrokeColor(), 0xFF405061u);
}

TEST(ColorPalettes, ACustomPaletteTakesANewRandomIdentityOnEveryChange) {
  auto* palette = New<TCountingPalette>(nullptr);
  const IPtr<IdxColorPalette> reference(palette);
  const IPtr<IdxColorPalette> other(New<TCountingPalette>(nullptr));
  EXPECT_EQ(palette->Calculations(), 1) << "the identity is made once the palette is constructed";

  const GUID before = palette->GetID();
  EXPECT_EQ(palette->GetID(), before) << "asking does not change it";
  EXPECT_NE(before, other->GetID());
  EXPECT_NE(before, GUID{});
  palette->Touch();
  const GUID after = palette->GetID();
  EXPECT_NE(after, before) << "a cache keyed on the old identity must miss";
  palette->Touch();
  EXPECT_NE(palette->GetID(), after);
  EXPECT_EQ(reference->GetFillColor(L"accent"), 0xFFFF0000u);
}

TEST(ColorPalettes, NoPaletteHasTheZeroIdentity) {
  EXPECT_EQ(IdOf(nullptr), GUID{});
  const IPtr<IdxColorPalette> red(New<TdxSimpleColorPalette>(0xFFFF0000u, 0u));
  EXPECT_EQ(IdOf(red.Get()), red->GetID());
}

// A palette of two empty colours draws a glyph without fill and stroke; were
// its identity the zero GUID, a cache would hand it the unpaletted picture.
TEST(ColorPalettes, TwoEmptyColoursAreNotTakenForNoPalette) {
  const IPtr<IdxColorPalette> empty(New<TdxSimpleColorPalette>(0u, 0u));
  const IPtr<IdxColorPalette> other(New<TdxSimpleColorPalette>(0u, 0u));
  EXPECT_NE(IdOf(empty.Get()), IdOf(nullptr));
  EXPECT_EQ(IdOf(empty.Get()), IdOf(other.Get()));
  EXPECT_NE(IdOf(empty.Get()), IdOf(IPtr<IdxColorPalette>(New<TdxSimpleColorPalette>(0x00010203u, 0u)).Get()));
}

TEST(ColorPalettes, APaletteLivesWhileADrawingOperationHoldsIt) {
  bool freed = false;
  IPtr<IdxColorPalette> held = Supports<IdxColorPalette>(New<TCountingPalette>(&freed));
  ASSERT_TRUE(held);
  {
    const IPtr<IdxColorPalette> call = held;
    held = nullptr;
    EXPECT_FALSE(freed);
    EXPECT_EQ(call->GetStrokeColor(L"x"), 0u);
  }
  EXPECT_TRUE(freed);
}

}  // namespace
