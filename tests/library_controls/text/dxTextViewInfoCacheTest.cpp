#include "library/controls/text/dxTextViewInfoCache.h"

#include "platform/ui/GdiScopes.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Measures on the given context with the font info's font, counting the
// placements it makes.
class TCountingMeasurer : public TdxCustomBoxMeasurer {
  SK_CLASS(TCountingMeasurer, TdxCustomBoxMeasurer)
 public:
  int Placements = 0;

  TdxTextViewInfo* CreateTextViewInfo(HDC ADC, const String& AText, const TdxFontInfo* AFontInfo) override {
    ++Placements;
    const TSelectObject selected(ADC, AFontInfo->GdiFontHandle());
    return CalculateTextViewInfo(ADC, AText, AFontInfo);
  }
  TdxTextViewInfo* CreateTextViewInfo(const String&, const TdxFontInfo*) override { return nullptr; }
};

class TextViewInfoCache : public testing::Test {
 protected:
  TdxFontInfo* Font(const wchar_t* AFace, int ADoubleSize) {
    TdxFontCache* cache = TdxFontCacheManager::GetClassLibraryFontCache(TdxDocumentLayoutUnit::Pixel, 96);
    return cache->Items(cache->CalcFontIndex(AFace, ADoubleSize, TFontStyles(), TdxCharacterFormattingScript::Normal));
  }
  SIZE Extent(const TdxFontInfo* AFont, const String& AText) {
    const TSelectObject selected(FDC.Get(), AFont->GdiFontHandle());
    SIZE size{};
    GetTextExtentPoint32W(FDC.Get(), AText.c_str(), static_cast<int>(AText.size()), &size);
    return size;
  }

  TOwnedDC FDC{CreateCompatibleDC(nullptr)};
  TOwned<TCountingMeasurer> FMeasurer{New<TCountingMeasurer>()};
};

const wchar_t* const Words[] = {L"a", L"Measure", L"characters", L"WAVE", L"fi", L"1234567890", L"(x)!", L"   "};

TEST_F(TextViewInfoCache, WidthsEqualTheTextExtent) {
  for (const wchar_t* face : {L"DejaVu Sans Mono", L"Tahoma"}) {
    TdxFontInfo* font = Font(face, 20);
    for (const wchar_t* word : Words) {
      SCOPED_TRACE(testing::Message() << face << " " << word);
      const SIZE extent = Extent(font, word);
      EXPECT_EQ(FMeasurer->MeasureText(FDC.Get(), word, font), TSize(extent.cx, extent.cy));
      TdxTextViewInfo* info = FMeasurer->TextViewInfoCache()->TryGetTextViewInfo(word, font);
      ASSERT_NE(info, nullptr);
      int sum = 0;
      for (int i = 0; i < static_cast<int>(String(word).size()); ++i) sum += info->CharacterWidths()[static_cast<std::size_t>(i)];
      EXPECT_EQ(sum, extent.cx);
      EXPECT_EQ(info->GlyphCount(), static_cast<int>(String(word).size()));
    }
  }
}

TEST_F(TextViewInfoCache, GlyphsAreTheFontsGlyphIndices) {
  TdxFontInfo* font = Font(L"Tahoma", 20);
  const String text = L"Glyphs";
  FMeasurer->MeasureText(FDC.Get(), text, font);
  TdxTextViewInfo* info = FMeasurer->TextViewInfoCache()->TryGetTextViewInfo(text, font);
  std::vector<WORD> expected(text.size());
  const TSelectObject selected(FDC.Get(), font->GdiFontHandle());
  GetGlyphIndicesW(FDC.Get(), text.c_str(), static_cast<int>(text.size()), expected.data(), 0);
  EXPECT_EQ(std::vector<WORD>(info->Glyphs().begin(), info->Glyphs().begin() + info->GlyphCount()), expected);
}

TEST_F(TextViewInfoCache, ASecondMeasurementMakesNoPlacement) {
  TdxFontInfo* small = Font(L"Tahoma", 20);
  TdxFontInfo* large = Font(L"Tahoma", 28);
  const TSize first = FMeasurer->MeasureText(FDC.Get(), L"again", small);
  EXPECT_EQ(FMeasurer->Placements, 1);
  EXPECT_EQ(FMeasurer->MeasureText(FDC.Get(), L"again", small), first);
  EXPECT_EQ(FMeasurer->Placements, 1);
  EXPECT_GT(FMeasurer->MeasureText(FDC.Get(), L"again", large).cx, first.cx);
  EXPECT_EQ(FMeasurer->Placements, 2);
  // Case matters.
  FMeasurer->MeasureText(FDC.Get(), L"Again", small);
  EXPECT_EQ(FMeasurer->Placements, 3);
  EXPECT_EQ(FMeasurer->TextViewInfoCache()->Count(), 3);
  FMeasurer->TextViewInfoCache()->Clear();
  EXPECT_EQ(FMeasurer->TextViewInfoCache()->TryGetTextViewInfo(L"again", small), nullptr);
}

TEST_F(TextViewInfoCache, EmptyTextHasNoSizeAndNoRectangles) {
  TdxFontInfo* font = Font(L"Tahoma", 20);
  EXPECT_EQ(FMeasurer->MeasureText(FDC.Get(), L"", font).cx, 0);
  EXPECT_TRUE(FMeasurer->MeasureCharactersBounds(FDC.Get(), L"", font, TRect(0, 0, 50, 10)).empty());
}

// A run wider than 16 bits of pixels.
TEST_F(TextViewInfoCache, AWideRunTakesItsWidthFromTheCarets) {
  TdxFontInfo* font = Font(L"DejaVu Sans Mono", 40);
  const String text(6000, L'W');
  const SIZE extent = Extent(font, text);
  ASSERT_GT(extent.cx, 65535);
  EXPECT_EQ(FMeasurer->MeasureText(FDC.Get(), text, font).cx, extent.cx);
}

TEST_F(TextViewInfoCache, CharacterBoundsFollowThePartialExtents) {
  TdxFontInfo* font = Font(L"Tahoma", 20);
  const String text = L"Bounds of each";
  const TRect bounds(10, 3, 200, 19);
  const std::vector<TRect> rects = FMeasurer->MeasureCharactersBounds(FDC.Get(), text, font, bounds);
  ASSERT_EQ(rects.size(), text.size());
  std::vector<int> partial(text.size());
  int fit = 0;
  SIZE size{};
  {
    const TSelectObject selected(FDC.Get(), font->GdiFontHandle());
    GetTextExtentExPointW(FDC.Get(), text.c_str(), static_cast<int>(text.size()), 0, &fit, partial.data(), &size);
  }
  for (std::size_t i = 0; i < rects.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(rects[i].Left, bounds.Left + (i == 0 ? 0 : partial[i - 1]));
    EXPECT_EQ(rects[i].Right, i + 1 < rects.size() ? bounds.Left + partial[i] : bounds.Right);
    EXPECT_EQ(rects[i].Top, bounds.Top);
    EXPECT_EQ(rects[i].Bottom, bounds.Bottom);
  }
  // The measurer's context keeps its own font.
  EXPECT_NE(GetCurrentObject(FDC.Get(), OBJ_FONT), font->GdiFontHandle());
}

TEST_F(TextViewInfoCache, LengthToFitEqualsTheSystemsFit) {
  TdxFontInfo* font = Font(L"Liberation Sans", 22);
  const String text = L"How many characters fit";
  for (int width : {0, 1, 5, 17, 40, 63, 99, 150, 1000}) {
    SCOPED_TRACE(width);
    int fit = 0;
    SIZE size{};
    {
      const TSelectObject selected(FDC.Get(), font->GdiFontHandle());
      GetTextExtentExPointW(FDC.Get(), text.c_str(), static_cast<int>(text.size()), width, &fit, nullptr, &size);
    }
    EXPECT_EQ(FMeasurer->FindLengthToFit(FDC.Get(), text, font, width, true), fit);
  }
  const HGDIOBJ own = GetCurrentObject(FDC.Get(), OBJ_FONT);
  FMeasurer->FindLengthToFit(FDC.Get(), text, font, 50, false);
  EXPECT_EQ(GetCurrentObject(FDC.Get(), OBJ_FONT), font->GdiFontHandle());
  SelectObject(FDC.Get(), own);
}

TEST_F(TextViewInfoCache, CaretBufferGrowsAndNeverShrinks) {
  int* small = FMeasurer->GetCaretPosBuffer(10);
  EXPECT_EQ(FMeasurer->GetCaretPosBuffer(64), small);
  int* large = FMeasurer->GetCaretPosBuffer(1000);
  large[999] = 7;
  EXPECT_EQ(FMeasurer->GetCaretPosBuffer(5), large);
}

}  // namespace
