#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"

#include "tests/library_lookandfeel/LookAndFeelTesting.h"

#include <gtest/gtest.h>

namespace {

TEST(LookAndFeelPainter, TheBaseNamesNoStyleOfItsOwn) {
  const TOwned<TcxCustomLookAndFeelPainter> base(New<TcxCustomLookAndFeelPainter>());
  EXPECT_EQ(base->LookAndFeelName(), L"");
  EXPECT_EQ(base->LookAndFeelStyle(), lfsStandard);
  EXPECT_FALSE(base->IsInternalPainter());
  EXPECT_FALSE(base->NeedRedrawOnResize());
  void* data = &data;
  EXPECT_FALSE(base->GetPainterData(data));
  EXPECT_EQ(data, nullptr);
}

TEST(LookAndFeelPainter, DetailsAreKeptUntilTheCachedResourcesGo) {
  const TOwned<TcxCustomLookAndFeelPainter> painter(New<TTestPainter>(L"TestIcons", lfsSkin));
  TdxSkinDetails* details = nullptr;
  ASSERT_TRUE(painter->GetPainterDetails(details));
  ASSERT_NE(details, nullptr);
  EXPECT_EQ(details->Name(), L"TestIcons");
  EXPECT_EQ(details->DisplayName(), L"TestIcons");
  EXPECT_EQ(details->GroupName(), L"Built-In Look && Feel Styles");
  // The test program carries the 16-pixel icon of this name only.
  EXPECT_EQ(details->GetIcon(sis16)->Width(), 16);
  EXPECT_TRUE(details->GetIcon(sis48)->Empty());
  TdxSkinDetails* again = nullptr;
  painter->GetPainterDetails(again);
  EXPECT_EQ(again, details);

  // The painters manager frees every painter's caches at shut-down; the
  // details are made anew afterwards.
  TcxCustomLookAndFeelPainter* ultraFlat = GetPaintersManager()->GetPainter(lfsUltraFlat);
  TdxSkinDetails* ultraFlatDetails = nullptr;
  ultraFlat->GetPainterDetails(ultraFlatDetails);
  EXPECT_EQ(ultraFlatDetails->Name(), L"UltraFlat");
  EXPECT_TRUE(ultraFlatDetails->GetIcon(sis16)->Empty()) << "the program carries no icons of the built-in styles";
  GetPaintersManager()->FreePaintersCachedResources();
  TdxSkinDetails* fresh = nullptr;
  ultraFlat->GetPainterDetails(fresh);
  EXPECT_EQ(fresh->Name(), L"UltraFlat");
}

}  // namespace
