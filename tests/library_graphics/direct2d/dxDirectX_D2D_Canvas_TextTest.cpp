// Text on the Direct2D canvas: DirectWrite text formats from fonts, layouts
// that follow the text flags, fit into a number of rows, are rebuilt when
// the text changes, and are drawn inside their box.
#include "library/graphics/text/cxDrawTextUtils.h"
#include "tests/library_graphics/Direct2DTesting.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

// Wine's DirectWrite finds only the fonts installed on the system.
constexpr const wchar_t* TextTestFamily = L"DejaVu Sans";

class Direct2DText : public Direct2DTest {
 protected:
  void SetUp() override {
    Direct2DTest::SetUp();
    FSurface.emplace(160, 60);
    FFont.reset(New<TFont>());
    FFont->SetName(TextTestFamily);
    FFont->SetHeight(-16);
  }
  void TearDown() override {
    FLayouts.clear();
    FFont.reset();
    FSurface.reset();
    Direct2DTest::TearDown();
  }

  TdxDirect2DCanvasBasedTextLayout* Layout(const String& AText, std::uint32_t AFlags = 0) {
    FLayouts.push_back(FSurface->Canvas()->CreateTextLayout());
    auto* layout = As<TdxDirect2DCanvasBasedTextLayout>(FLayouts.back().get());
    layout->SetFont(FFont.get());
    layout->SetFlags(AFlags);
    layout->SetText(AText);
    return layout;
  }

  std::optional<TDirect2DSurface> FSurface;
  TOwned<TFont> FFont;
  std::vector<TOwned<TcxCanvasBasedTextLayout>> FLayouts;
};

TEST_F(Direct2DText, TheTextFormatFollowsTheFont) {
  FFont->SetStyle(TFontStyles{fsBold, fsItalic});
  IDWriteTextFormat* format = Layout(L"x")->Font()->NativeHandle();
  ASSERT_NE(format, nullptr);
  EXPECT_FLOAT_EQ(format->GetFontSize(), 16);
  EXPECT_EQ(format->GetFontWeight(), DWRITE_FONT_WEIGHT_BOLD);
  EXPECT_EQ(format->GetFontStyle(), DWRITE_FONT_STYLE_ITALIC);
  EXPECT_EQ(format->GetFontStretch(), DWRITE_FONT_STRETCH_NORMAL);
  wchar_t family[64]{};
  ASSERT_EQ(format->GetFontFamilyName(family, 64), S_OK);
  EXPECT_EQ(String(family), TextTestFamily);
}

TEST_F(Direct2DText, ChangingTheTextDropsTheLayout) {
  TdxDirect2DCanvasBasedTextLayout* layout = Layout(L"First");
  const TComPtr<IDWriteTextLayout> first(layout->Handle());
  const TSize firstSize = layout->MeasureSize();
  layout->SetText(L"A longer second text");
  EXPECT_NE(layout->Handle(), first.Get());
  EXPECT_GT(layout->MeasureSize().cx, firstSize.cx);
}

TEST_F(Direct2DText, FlagsSetAlignmentWrappingAndTrimming) {
  struct TCase {
    std::uint32_t Flags;
    DWRITE_TEXT_ALIGNMENT Alignment;
    DWRITE_READING_DIRECTION Direction;
  };
  const TCase cases[] = {
      {0, DWRITE_TEXT_ALIGNMENT_LEADING, DWRITE_READING_DIRECTION_LEFT_TO_RIGHT},
      {cxtoCenterX, DWRITE_TEXT_ALIGNMENT_CENTER, DWRITE_READING_DIRECTION_LEFT_TO_RIGHT},
      {cxtoRight, DWRITE_TEXT_ALIGNMENT_TRAILING, DWRITE_READING_DIRECTION_LEFT_TO_RIGHT},
      {cxtoRTLReading, DWRITE_TEXT_ALIGNMENT_TRAILING, DWRITE_READING_DIRECTION_RIGHT_TO_LEFT},
      {cxtoRight | cxtoRTLReading, DWRITE_TEXT_ALIGNMENT_LEADING, DWRITE_READING_DIRECTION_RIGHT_TO_LEFT},
      {cxtoCenterX | cxtoRTLReading, DWRITE_TEXT_ALIGNMENT_CENTER, DWRITE_READING_DIRECTION_RIGHT_TO_LEFT},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Flags);
    IDWriteTextLayout* handle = Layout(L"Text", c.Flags)->Handle();
    EXPECT_EQ(handle->GetTextAlignment(), c.Alignment);
    EXPECT_EQ(handle->GetReadingDirection(), c.Direction);
    EXPECT_EQ(handle->GetWordWrapping(), DWRITE_WORD_WRAPPING_NO_WRAP);
  }
  // Flags changed on a built layout reach it.
  TdxDirect2DCanvasBasedTextLayout* layout = Layout(L"Text");
  IDWriteTextLayout* handle = layout->Handle();
  layout->SetFlags(cxtoWordBreak | cxtoEndEllipsis);
  EXPECT_EQ(layout->Handle(), handle);
  EXPECT_EQ(handle->GetWordWrapping(), DWRITE_WORD_WRAPPING_WRAP);
  DWRITE_TRIMMING trimming{};
  TComPtr<IDWriteInlineObject> sign;
  ASSERT_EQ(handle->GetTrimming(&trimming, sign.Receive()), S_OK);
  EXPECT_EQ(trimming.granularity, DWRITE_TRIMMING_GRANULARITY_CHARACTER);
  EXPECT_EQ(sign.Get(), layout->Font()->EndEllipsisSign());
  EXPECT_NE(sign.Get(), nullptr);
}

TEST_F(Direct2DText, UnderlineAndStrikeOutCoverTheWholeText) {
  FFont->SetStyle(TFontStyles{fsUnderline, fsStrikeOut});
  IDWriteTextLayout* handle = Layout(L"Lines")->Handle();
  BOOL underline = FALSE;
  BOOL strikethrough = FALSE;
  ASSERT_EQ(handle->GetUnderline(4, &underline, nullptr), S_OK);
  ASSERT_EQ(handle->GetStrikethrough(0, &strikethrough, nullptr), S_OK);
  EXPECT_TRUE(underline);
  EXPECT_TRUE(strikethrough);
}

TEST_F(Direct2DText, TwoRowsWithoutAWidthSplitTheTextEvenly) {
  const String text = L"one two three four five six seven eight";
  TdxDirect2DCanvasBasedTextLayout* single = Layout(text, cxtoWordBreak);
  const TSize line = single->MeasureSize();
  ASSERT_EQ(single->RowCount(), 1);
  TdxDirect2DCanvasBasedTextLayout* layout = Layout(text, cxtoWordBreak);
  layout->SetLayoutConstraints(0, 0, 2);
  const TSize size = layout->MeasureSize();
  EXPECT_EQ(layout->RowCount(), 2);
  EXPECT_NEAR(size.cy, 2 * line.cy, 2);
  EXPECT_GE(size.cx, line.cx / 2 - 2) << "no narrower than half";
  EXPECT_LE(size.cx, line.cx * 3 / 5) << "as narrow as two rows allow";
}

TEST_F(Direct2DText, RowsAreCappedByTheHeightAndTheCount) {
  TdxDirect2DCanvasBasedTextLayout* layout = Layout(L"a b c d e f g h i j k l", cxtoWordBreak);
  layout->SetLayoutConstraints(10, 0, 3);
  layout->MeasureSize();
  EXPECT_EQ(layout->RowCount(), 3);
  const int rowHeight = layout->MeasureSize().cy / 3;
  layout->SetLayoutConstraints(10, rowHeight * 2, 0);
  layout->MeasureSize();
  EXPECT_EQ(layout->RowCount(), 2);
  TdxDirect2DCanvasBasedTextLayout* empty = Layout(L"");
  EXPECT_EQ(empty->MeasureSize(), TSize());
  EXPECT_EQ(empty->RowCount(), 0);
}

TEST_F(Direct2DText, AMissingCanvasOrFontIsReportedByName) {
  const TOwned<TdxDirect2DCanvasBasedTextLayout> orphan(New<TdxDirect2DCanvasBasedTextLayout>(nullptr));
  try {
    orphan->Handle();
    ADD_FAILURE() << "no exception";
  } catch (const EdxDirectXInvalidStateException& E) {
    EXPECT_EQ(E.Message(), L"Cannot create TextLayout handle because Canvas is not set.");
  }
  FLayouts.push_back(FSurface->Canvas()->CreateTextLayout());
  auto* fontless = As<TdxDirect2DCanvasBasedTextLayout>(FLayouts.back().get());
  fontless->SetText(L"x");
  try {
    fontless->Handle();
    ADD_FAILURE() << "no exception";
  } catch (const EdxDirectXInvalidStateException& E) {
    EXPECT_EQ(E.Message(), L"Cannot create TextLayout handle because Font is not set.");
  }
}

TEST_F(Direct2DText, TextIsDrawnInItsColourInsideItsBox) {
  TdxDirect2DCanvasBasedTextLayout* layout = Layout(L"Hello");
  layout->SetColor(TdxAlphaColor{0xFFFF0000});
  const TRect box(40, 20, 140, 44);
  FSurface->Begin();
  layout->Draw(box);
  ASSERT_FALSE(FSurface->End());
  int red = 0;
  int outside = 0;
  for (int y = 0; y < FSurface->Height(); ++y)
    for (int x = 0; x < FSurface->Width(); ++x) {
      const COLORREF c = FSurface->Pixel(x, y);
      if (c == RGB(255, 255, 255)) continue;
      if (!TRect(box.Left - 1, box.Top - 1, box.Right, box.Bottom).Contains(TPoint(x, y))) ++outside;
      if (GetRValue(c) > 200 && GetGValue(c) < 80 && GetBValue(c) < 80) ++red;
    }
  EXPECT_GT(red, 20);
  EXPECT_EQ(outside, 0);
}

}  // namespace
