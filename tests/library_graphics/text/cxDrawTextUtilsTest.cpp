#include "library/graphics/text/cxDrawTextUtils.h"
#include "tests/support/Pixels.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

// Every character 10 pixels wide and 16 high: layouts whose rows can be
// worked out by hand. The user data counts the calls.
void TenPixelsEach(HDC, const wchar_t*, int ALength, bool, void* AUserData, TSize& ASize) {
  ASize = TSize(ALength * 10, 16);
  if (AUserData) ++*static_cast<int*>(AUserData);
}

// A DC with a font of ATextHeight pixels (tmHeight) selected.
class TFontDC {
 public:
  TFontDC(const wchar_t* AFace = L"Tahoma", int ACharHeight = 11) : FSurface(100, 100) {
    FFont.Reset(CreateFontW(-ACharHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, AFace));
    FSelect.emplace(FSurface.DC(), FFont.Get());
  }
  HDC DC() const { return FSurface.DC(); }

 private:
  TPixelSurface FSurface;
  TOwnedFont FFont;
  std::optional<TSelectObject> FSelect;
};

TcxTextParams FixedParams(std::uint32_t AFlags) {
  const TFontDC dc;
  TcxTextParams params;
  CalcTextParamsForDC(dc.DC(), AFlags, 1.0, params);
  params.RowHeight = params.FullRowHeight = 16;
  return params;
}

// The rows of a layout with ten-pixel characters, as strings.
std::vector<String> Rows(const String& AText, std::uint32_t AFlags, int AWidth, int AHeight = 1000, int AMaxRows = 0,
                         bool* AFits = nullptr) {
  TcxTextParams params = FixedParams(AFlags);
  TcxTextRows rows;
  int count = -1;
  const bool fits = BreakTextIntoRows(nullptr, AText.c_str(), static_cast<int>(AText.size()), TRect(0, 0, AWidth, AHeight),
                                      params, rows, count, AMaxRows, nullptr, &TenPixelsEach);
  if (AFits) *AFits = fits;
  std::vector<String> result;
  for (int i = 0; i < count; ++i) result.push_back(rows[i].ToString());
  return result;
}

using TStrings = std::vector<String>;

TEST(TextLayout, ManyRowsGoBeyondTheInlineOnes) {
  String text;
  for (int i = 0; i < 40; ++i) text += L"line " + std::to_wstring(i) + L"\r\n";
  text.resize(text.size() - 2);
  TcxTextParams params = FixedParams(cxtoWordBreak);
  TcxTextRows rows;
  int count = 0;
  EXPECT_TRUE(BreakTextIntoRows(nullptr, text.c_str(), static_cast<int>(text.size()), TRect(0, 0, 500, 10000), params,
                                rows, count, 0, nullptr, &TenPixelsEach));
  ASSERT_EQ(count, 40);
  EXPECT_EQ(rows.Count(), 40);
  EXPECT_GE(rows.DynamicRows().size(), 8u);
  for (int i = 0; i < 40; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(rows[i].ToString(), L"line " + std::to_wstring(i));
    EXPECT_EQ(rows[i].StartOffset, static_cast<int>(rows[i].Text - text.c_str()));
  }
  EXPECT_EQ(&rows[32], &rows.DynamicRows()[0]);
  rows.Clear();
  EXPECT_EQ(rows.Count(), 0);
  EXPECT_TRUE(rows.DynamicRows().empty());
}

TEST(TextLayout, WrappedBlanksByAlignment) {
  // The column holds "aaa b": five characters.
  EXPECT_EQ(Rows(L"aaa bbb", cxtoWordBreak | cxtoLeft, 50), (TStrings{L"aaa ", L"bbb"}));
  EXPECT_EQ(Rows(L"aaa bbb", cxtoWordBreak | cxtoRight, 50), (TStrings{L"aaa", L"bbb"}));
  EXPECT_EQ(Rows(L"aaa bbb", cxtoWordBreak | cxtoCenterX, 50), (TStrings{L"aaa", L"bbb"}));
  // The blank that does not fit any more: left alignment skips one.
  EXPECT_EQ(Rows(L"aaaa  bbb", cxtoWordBreak | cxtoLeft, 40), (TStrings{L"aaaa", L" bbb"}));
  EXPECT_EQ(Rows(L"aaaa  bbb", cxtoWordBreak | cxtoCenterX, 40), (TStrings{L"aaaa", L" bbb"}));
  EXPECT_EQ(Rows(L"aaaa  bbb", cxtoWordBreak | cxtoRight, 40), (TStrings{L"aaaa", L" ", L"bbb"}));
  // Excel style skips every space at the start of a wrapped row, not tabs.
  EXPECT_EQ(Rows(L"aaaa    bbb", cxtoWordBreak | cxtoExcelStyle, 40), (TStrings{L"aaaa", L"bbb"}));
  EXPECT_EQ(Rows(L"aaaa \t bb", cxtoWordBreak | cxtoExcelStyle, 40), (TStrings{L"aaaa", L"\t bb"}));
}

TEST(TextLayout, AWordWiderThanTheColumn) {
  EXPECT_EQ(Rows(L"abcdefgh ij", cxtoWordBreak, 35), (TStrings{L"abcdefgh", L"ij"})) << "it overflows";
  EXPECT_EQ(Rows(L"abcdefgh ij", cxtoWordBreak | cxtoCharBreak, 35), (TStrings{L"abc", L"def", L"gh ", L"ij"}));
  EXPECT_EQ(Rows(L"abcdefgh", cxtoWordBreak | cxtoEditControl, 35), (TStrings{L"abc", L"def", L"gh"}));
  EXPECT_EQ(Rows(L"abc", cxtoWordBreak | cxtoCharBreak, 1), (TStrings{L"a", L"b", L"c"})) << "at least one each";
  // A surrogate pair is never split.
  EXPECT_EQ(Rows(L"\xD83D\xDE00\xD83D\xDE00", cxtoWordBreak | cxtoCharBreak, 10),
            (TStrings{L"\xD83D\xDE00", L"\xD83D\xDE00"}));
  EXPECT_EQ(Rows(L"a\xD83D\xDE00", cxtoWordBreak | cxtoCharBreak, 20), (TStrings{L"a", L"\xD83D\xDE00"}));
}

TEST(TextLayout, LineBreaks) {
  EXPECT_EQ(Rows(L"a\r\n\r\nb", cxtoWordBreak, 100), (TStrings{L"a", L"", L"b"}));
  EXPECT_EQ(Rows(L"a\n\rb\r\rc\nd", 0, 100), (TStrings{L"a", L"b", L"", L"c", L"d"})) << "LF CR is one break";
  EXPECT_EQ(Rows(L"a\r\n", cxtoWordBreak, 100), (TStrings{L"a"}));
  // An overflowing word before a break: an empty row follows, as with
  // DrawText, unless the row may end with an ellipsis.
  EXPECT_EQ(Rows(L"abcdef\r\nxy", cxtoWordBreak, 30), (TStrings{L"abcdef", L"", L"xy"}));
  EXPECT_EQ(Rows(L"abcdef\r\nxy", cxtoWordBreak | cxtoEndEllipsis, 30), (TStrings{L"abcdef", L"xy"}));
  EXPECT_EQ(Rows(L"one two\r\nthree", cxtoSingleLine, 1000), (TStrings{L"one two"}));
  // A column of no width (or less) still ends every row.
  for (int width : {0, -10}) {
    SCOPED_TRACE(width);
    EXPECT_EQ(Rows(L"a\r\n\r\nb", cxtoWordBreak, width), (TStrings{L"a", L"", L"", L"b"}));
    EXPECT_EQ(Rows(L"a\r\n\r\nb", cxtoWordBreak | cxtoCharBreak | cxtoCalcRowCount, width),
              (TStrings{L"a", L"", L"", L"b"}));
  }
}

TEST(TextLayout, OnlyTheRowsThatFit) {
  const String text = L"aa bb cc dd ee";
  bool fits = true;
  // 2.5 rows of 16 pixels.
  EXPECT_EQ(Rows(text, cxtoWordBreak | cxtoEditControl, 30, 40, 0, &fits), (TStrings{L"aa ", L"bb "}));
  EXPECT_FALSE(fits);
  EXPECT_EQ(Rows(text, cxtoWordBreak, 30, 40, 0, &fits), (TStrings{L"aa ", L"bb ", L"cc "}));
  EXPECT_FALSE(fits);
  EXPECT_EQ(Rows(text, cxtoWordBreak | cxtoEditControl | cxtoNoClip, 30, 40).size(), 3u);
  EXPECT_EQ(Rows(text, cxtoWordBreak | cxtoCalcRect, 30, 40).size(), 5u) << "measuring lays out everything";
  EXPECT_EQ(Rows(text, cxtoWordBreak | cxtoCenterY, 30, 40).size(), 5u);
  EXPECT_EQ(Rows(text, cxtoWordBreak, 30, 1000, 2, &fits).size(), 2u);
  EXPECT_FALSE(fits);
  EXPECT_EQ(Rows(text, cxtoWordBreak, 30, 1000, 0, &fits).size(), 5u);
  EXPECT_TRUE(fits);
  // The last row shown with an ellipsis takes words until one overflows.
  EXPECT_EQ(Rows(text, cxtoWordBreak | cxtoEndEllipsis, 30, 40, 0, &fits), (TStrings{L"aa ", L"bb ", L"cc dd"}));
  EXPECT_FALSE(fits);
}

TEST(TextLayout, SingleLine) {
  bool fits = true;
  EXPECT_EQ(Rows(L"aaa bbb", cxtoSingleLine, 50, 1000, 0, &fits), (TStrings{L"aaa bbb"}));
  EXPECT_FALSE(fits) << "the row is wider than the column";
  EXPECT_EQ(Rows(L"aaa bbb\r\nccc", cxtoSingleLine | cxtoCalcRect, 50, 1000, 0, &fits), (TStrings{L"aaa bbb\r\nccc"}));
  EXPECT_TRUE(fits);
  EXPECT_EQ(Rows(L"aaa bbb", cxtoSingleLine, 70, 1000, 0, &fits), (TStrings{L"aaa bbb"}));
  EXPECT_TRUE(fits);
  EXPECT_TRUE(Rows(L"", cxtoWordBreak, 70, 1000, 0, &fits).empty());
  EXPECT_TRUE(fits);
}

TEST(TextLayout, JustifiedRowsCountTheirGaps) {
  struct Case {
    std::uint32_t Flags;
    const wchar_t* Text;
    int Width;
    std::vector<int> Gaps;
    TStrings Rows;
  };
  const Case cases[] = {
      // Justified rows keep their blanks at the start; only wrapped ones are
      // justified, distributed ones all.
      {cxtoJustifyX, L"aa b cc dd ee", 55, {1, 1, 0}, {L"aa b", L"cc dd", L" ee"}},
      {cxtoDistributeX, L"aa b cc dd ee", 55, {1, 1, 1}, {L"aa b", L"cc dd", L" ee"}},
      {cxtoJustifyX, L"a b\r\nc d e ", 65, {0, 0}, {L"a b", L"c d e "}},
      {cxtoDistributeX, L"a b\r\nc d e ", 65, {1, 2}, {L"a b", L"c d e"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << String(c.Text));
    TcxTextParams params = FixedParams(c.Flags);
    TcxTextRows rows;
    int count = 0;
    BreakTextIntoRows(nullptr, c.Text, static_cast<int>(wcslen(c.Text)), TRect(0, 0, c.Width, 1000), params, rows, count, 0,
                      nullptr, &TenPixelsEach);
    ASSERT_EQ(count, static_cast<int>(c.Rows.size()));
    for (int i = 0; i < count; ++i) {
      EXPECT_EQ(rows[i].ToString(), c.Rows[static_cast<std::size_t>(i)]);
      EXPECT_EQ(rows[i].BreakCount, c.Gaps[static_cast<std::size_t>(i)]);
    }
  }
}

TEST(TextLayout, TheMeasureProcReceivesTheUserData) {
  TcxTextParams params = FixedParams(cxtoWordBreak);
  TcxTextRows rows;
  int count = 0;
  int calls = 0;
  BreakTextIntoRows(nullptr, L"aa bb", 5, TRect(0, 0, 100, 100), params, rows, count, 0, &calls, &TenPixelsEach);
  EXPECT_GT(calls, 0);
  EXPECT_EQ(rows[0].TextExtents, TSize(50, 16));
}

TEST(TextLayout, WordBreaks) {
  const String text = L"ab cd\tef\r\ngh\x65E5\x672C\x3001\x8A9E!x";
  const wchar_t* const end = text.c_str() + text.size();
  std::vector<String> words;
  for (const wchar_t* p = text.c_str(); p < end;) {
    const wchar_t* next = GetNextWordBreak(0, p, end);
    words.emplace_back(p, next);
    p = next == p ? p + 1 : next;  // a line break is an empty word
  }
  EXPECT_EQ(words, (TStrings{L"ab", L" ", L"cd", L"\t", L"ef", L"", L"", L"gh", L"\x65E5", L"\x672C\x3001", L"\x8A9E!",
                             L"x"}));
  EXPECT_EQ(GetNextWordBreak(0, end, end), end);
}

TEST(TextLayout, FullWidthTextBreaksBetweenAnyTwoCharactersButBeforeACommaNever) {
  const String text = L"\x65E5\x672C\x8A9E\x3001\x6587\x7AE0\x3002\x30C6\x30B9\x30C8";
  for (int width : {10, 20, 30}) {
    SCOPED_TRACE(width);
    const std::vector<String> rows = Rows(text, cxtoWordBreak, width);
    String joined;
    for (const String& row : rows) {
      joined += row;
      ASSERT_FALSE(row.empty());
      EXPECT_NE(row.front(), L'\x3001');
      EXPECT_NE(row.front(), L'\x3002');
    }
    EXPECT_EQ(joined, text);
  }
  EXPECT_EQ(Rows(text, cxtoWordBreak, 20).front(), L"\x65E5\x672C");
}

TEST(TextLayout, RowPositions) {
  TcxTextParams params = FixedParams(cxtoWordBreak);
  TcxTextRows rows;
  rows.SetCount(3);
  const int widths[] = {40, 100, 0};
  for (int i = 0; i < 3; ++i) rows[i].TextExtents = TSize(widths[i], 16);
  const TRect r(10, 20, 90, 120);
  struct Case {
    const char* Name;
    TcxTextAlignX X;
    TcxTextAlignY Y;
    bool PreventLeft;
    bool PreventTop;
    bool RightToLeft;
    int Left[3];
    int Top;
  };
  const Case cases[] = {
      {"left top", taLeft, taTop, false, false, false, {10, 10, 10}, 20},
      {"centre", taCenterX, taCenterY, false, false, false, {30, 0, 50}, 46},
      {"right bottom", taRight, taBottom, false, false, false, {50, -10, 90}, 72},
      {"justified rows start left", taJustifyX, taTop, false, false, false, {10, 10, 10}, 20},
      {"no row left of the column", taRight, taTop, true, false, false, {50, 10, 90}, 20},
      {"right to left: no row past the right", taLeft, taTop, true, false, true, {10, -10, 10}, 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    params.TextAlignX = c.X;
    params.TextAlignY = c.Y;
    params.PreventLeftExceed = c.PreventLeft;
    params.PreventTopExceed = c.PreventTop;
    params.RTLReading = c.RightToLeft;
    CalcTextRowPositions(nullptr, r, params, rows, 3);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(rows[i].TextOriginX, c.Left[i]);
      EXPECT_EQ(rows[i].TextOriginY, c.Top + 16 * i);
    }
  }
  // Higher than the rectangle: centring goes above it unless prevented.
  params.TextAlignX = taLeft;
  params.TextAlignY = taCenterY;
  params.PreventTopExceed = false;
  CalcTextRowPositions(nullptr, TRect(0, 0, 100, 20), params, rows, 3);
  EXPECT_EQ(rows[0].TextOriginY, -14);
  params.PreventTopExceed = true;
  CalcTextRowPositions(nullptr, TRect(0, 0, 100, 20), params, rows, 3);
  EXPECT_EQ(rows[0].TextOriginY, 0);
}

TEST(TextLayout, DistributedRows) {
  TcxTextParams params = FixedParams(cxtoDistributeY);
  params.RowHeight = params.FullRowHeight = 10;
  TcxTextRows rows;
  rows.SetCount(3);
  CalcTextRowPositions(nullptr, TRect(0, 0, 100, 50), params, rows, 3);
  EXPECT_EQ((std::vector<int>{rows[0].TextOriginY, rows[1].TextOriginY, rows[2].TextOriginY}), (std::vector<int>{0, 20, 40}));
  // 51 pixels: the pixel left over goes to the first gap.
  params.FullRowHeight = 10;
  CalcTextRowPositions(nullptr, TRect(0, 0, 100, 51), params, rows, 3);
  EXPECT_EQ((std::vector<int>{rows[0].TextOriginY, rows[1].TextOriginY, rows[2].TextOriginY}), (std::vector<int>{0, 21, 41}));
  // Too little room: the rows keep their height.
  params.FullRowHeight = 10;
  CalcTextRowPositions(nullptr, TRect(0, 0, 100, 25), params, rows, 3);
  EXPECT_EQ(rows[2].TextOriginY, 20);
}

TEST(TextLayout, ParametersFromTheFontAndTheFlags) {
  const TFontDC dc(L"Tahoma", 11);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc.DC(), &metrics);
  ASSERT_EQ(metrics.tmHeight, 13) << "the font the cases are worked out for";
  TcxTextParams params;
  CalcTextParamsForDC(dc.DC(), cxtoRight | cxtoBottom | cxtoWordBreak | cxtoEndEllipsis | cxtoRTLReading, 1.0, params);
  EXPECT_EQ(params.TextAlignX, taRight);
  EXPECT_EQ(params.TextAlignY, taBottom);
  EXPECT_TRUE(params.WordBreak);
  EXPECT_TRUE(params.RTLReading);
  EXPECT_FALSE(params.SingleLine);
  EXPECT_EQ(params.RowHeight, 13);
  EXPECT_EQ(params.MaxCharWidth, metrics.tmMaxCharWidth);
  EXPECT_EQ(params.BreakChar, metrics.tmBreakChar);
  EXPECT_FALSE(params.Bold);
  EXPECT_EQ(params.OnePixel, 1);
  SIZE dots{};
  GetTextExtentPoint32W(dc.DC(), L"...", 3, &dots);
  EXPECT_EQ(params.EndEllipsisWidth, dots.cx);

  CalcTextParamsForDC(dc.DC(), cxtoExternalLeading, 1.5, params);
  EXPECT_EQ(params.tmExternalLeading, metrics.tmExternalLeading);
  EXPECT_EQ(params.FullRowHeight, 20) << "19.5 rounds to the even neighbour";
  CalcTextParamsForDC(dc.DC(), 0, 2.5, params);
  EXPECT_EQ(params.FullRowHeight, 32) << "32.5 rounds to the even neighbour";
  EXPECT_EQ(params.EndEllipsisWidth, 0);
  CalcTextParamsForDC(dc.DC(), 7, 1.0, params);
  EXPECT_EQ(params.TextAlignX, taLeft) << "no such alignment";

  // A normal font is too large for a patterned bar; a tiny one is not.
  CalcTextParamsForDC(dc.DC(), cxtoPatternedText, 1.0, params);
  EXPECT_FALSE(params.PatternedText);
  const TFontDC tiny(L"Tahoma", 3);
  CalcTextParamsForDC(tiny.DC(), cxtoPatternedText, 1.0, params);
  EXPECT_TRUE(params.PatternedText);

  // One device pixel is two logical units when the DC scales by one half.
  SetMapMode(dc.DC(), MM_ANISOTROPIC);
  SetWindowExtEx(dc.DC(), 2, 2, nullptr);
  SetViewportExtEx(dc.DC(), 1, 1, nullptr);
  CalcTextParamsForDC(dc.DC(), cxtoAutoIndents, 1.0, params);
  EXPECT_EQ(params.OnePixel, 2);
  TRect content;
  GetTextParamsContentRect(TRect(0, 0, 100, 50), params, 3, 1, content);
  EXPECT_EQ(content, TRect(10, 4, 94, 46));
  TRect outer;
  GetTextParamsOuterRect(content, params, 3, 1, outer);
  EXPECT_EQ(outer, TRect(0, 0, 100, 50));
}

TEST(TextLayout, ParametersOfACanvas) {
  TOwned<TFont> font(New<TFont>());
  font->SetName(L"DejaVu Serif");
  font->SetSize(14);
  font->SetStyle({fsBold});
  TdxTextMeasurer::TMeasureCanvas* canvas = SharedTextMeasureCanvas();
  canvas->SetFont(font.get());
  TcxTextParams params;
  CalcTextParams(canvas, cxtoCenterX, params, 2.0);
  EXPECT_EQ(params.RowHeight, GetFontHeight(font.get()));
  EXPECT_EQ(params.FullRowHeight, 2 * params.RowHeight);
  EXPECT_TRUE(params.Bold);
  EXPECT_EQ(params.TextAlignX, taCenterX);
}

TEST(TextLayout, ExtentsWithTabs) {
  const TFontDC dc(L"DejaVu Sans", 13);
  const String text = L"a\tbb\tccc";
  TSize size;
  GetTextExtentForDC(dc.DC(), text.c_str(), static_cast<int>(text.size()), true, size);
  const DWORD tabbed = GetTabbedTextExtentW(dc.DC(), text.c_str(), static_cast<int>(text.size()), 0, nullptr);
  EXPECT_EQ(size, TSize(LOWORD(tabbed), HIWORD(tabbed)));
  SIZE plain{};
  GetTextExtentPoint32W(dc.DC(), text.c_str(), static_cast<int>(text.size()), &plain);
  GetTextExtentForDC(dc.DC(), text.c_str(), static_cast<int>(text.size()), false, size);
  EXPECT_EQ(size, TSize(plain.cx, plain.cy));

  // Wider than 65535 pixels in fewer than 4096 characters: the system's
  // 16-bit width is made whole again.
  const TFontDC large(L"DejaVu Sans", 40);
  for (int count : {1000, 1700, 3500}) {
    SCOPED_TRACE(count);
    const String wide = String(static_cast<std::size_t>(count), L'W') + L"\tW";
    SIZE ws{};
    GetTextExtentPoint32W(large.DC(), wide.c_str(), count, &ws);
    const DWORD tabbedWide = GetTabbedTextExtentW(large.DC(), wide.c_str(), static_cast<int>(wide.size()), 0, nullptr);
    GetTextExtentForDC(large.DC(), wide.c_str(), static_cast<int>(wide.size()), true, size);
    EXPECT_EQ(size.cx % 65536, LOWORD(tabbedWide));
    EXPECT_GT(size.cx, ws.cx) << "wider than the W's before the tab";
    EXPECT_LT(size.cx, ws.cx + 1000) << "by a tab stop and a W";
  }
}

TEST(TextLayout, WidestRow) {
  TcxTextRows rows;
  EXPECT_EQ(GetMaxTextRowWidth(rows, 5), 0);
  rows.SetCount(3);
  rows[0].TextExtents.cx = 10;
  rows[1].TextExtents.cx = 30;
  rows[2].TextExtents.cx = 20;
  EXPECT_EQ(GetMaxTextRowWidth(rows, 1), 10);
  EXPECT_EQ(GetMaxTextRowWidth(rows, 3), 30);
  EXPECT_EQ(GetMaxTextRowWidth(rows, 99), 30);
}

}  // namespace
