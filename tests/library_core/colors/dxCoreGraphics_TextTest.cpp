#include "library/core/base/dxCore.h"
#include "library/core/colors/dxCoreGraphics.h"
#include "tests/support/Pixels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <optional>

namespace {

// A memory DC with a font of its own selected: the system's answers for the
// same font, measured away from the unit's canvas.
class TFontOracle {
 public:
  explicit TFontOracle(TFont* AFont) {
    const LOGFONTW logFont = AFont->LogFont();
    FFont.Reset(CreateFontIndirectW(&logFont));
    FSelect.emplace(FDC.Get(), FFont.Get());
  }
  HDC DC() const { return FDC.Get(); }
  HFONT Font() const { return FFont.Get(); }
  TEXTMETRICW Metrics() const {
    TEXTMETRICW m{};
    GetTextMetricsW(DC(), &m);
    return m;
  }
  TSize Extent(const String& AText) const {
    SIZE s{};
    GetTextExtentPoint32W(DC(), AText.c_str(), static_cast<int>(AText.size()), &s);
    return TSize(s.cx, s.cy);
  }
  TRect DrawTextRect(const String& AText, TRect AR, UINT AFlags) const {
    RECT r = AR;
    DrawTextW(DC(), AText.c_str(), static_cast<int>(AText.size()), &r, AFlags | DT_CALCRECT);
    return r;
  }

 private:
  TOwnedDC FDC{CreateCompatibleDC(nullptr)};
  TOwnedFont FFont;
  std::optional<TSelectObject> FSelect;
};

struct TFontCase {
  const wchar_t* Name;
  int Size;
  TFontStyles Style;
};
const TFontCase FontCases[] = {
    {L"Tahoma", 8, {}},           {L"Tahoma", 11, {fsBold}},       {L"MS Sans Serif", 8, {}},
    {L"DejaVu Sans", 12, {}},     {L"DejaVu Serif", 9, {fsItalic}}, {L"DejaVu Sans Mono", 10, {}},
};

TOwned<TFont> MakeFont(const TFontCase& ACase) {
  TOwned<TFont> font(New<TFont>());
  font->SetName(ACase.Name);
  font->SetSize(ACase.Size);
  font->SetStyle(ACase.Style);
  return font;
}

String Trace(const TFontCase& ACase) {
  return String(ACase.Name) + L" " + std::to_wstring(ACase.Size) + (ACase.Style.Empty() ? L"" : L" styled");
}

const String Sample = L"The quick brown fox jumps over the lazy dog";

TEST(TextMeasure, WineHasTheFontsTheTestsName) {
  for (const wchar_t* face : {L"Tahoma", L"MS Sans Serif", L"DejaVu Sans"}) {
    TOwned<TFont> font(New<TFont>());
    font->SetName(face);
    TFontOracle oracle(font.get());
    wchar_t actual[LF_FACESIZE] = {};
    GetTextFaceW(oracle.DC(), LF_FACESIZE, actual);
    EXPECT_EQ(String(actual), String(face)) << "the test prefix lacks the font";
  }
}

TEST(TextMeasure, HeightsAndMetricsAreTheSystemsForTheFont) {
  for (const TFontCase& c : FontCases) {
    SCOPED_TRACE(testing::Message() << Trace(c));
    TOwned<TFont> font = MakeFont(c);
    const TFontOracle oracle(font.get());
    const TEXTMETRICW expected = oracle.Metrics();
    EXPECT_EQ(GetFontHeight(font.get()), expected.tmHeight);
    EXPECT_EQ(GetDCTextHeight(oracle.DC()), expected.tmHeight);
    TEXTMETRICW metrics{};
    ASSERT_TRUE(GetTextMetricsForFont(font.get(), metrics));
    EXPECT_EQ(metrics.tmAscent, expected.tmAscent);
    EXPECT_EQ(metrics.tmAveCharWidth, expected.tmAveCharWidth);
    EXPECT_EQ(metrics.tmWeight, expected.tmWeight);
  }
}

TEST(TextMeasure, ExtentsInTheFontAtItsOwnOrAnotherSize) {
  for (const TFontCase& c : FontCases) {
    SCOPED_TRACE(testing::Message() << Trace(c));
    TOwned<TFont> font = MakeFont(c);
    const TSize own = TFontOracle(font.get()).Extent(Sample);
    TSize size;
    MeasureTextWithFont(font.get(), Sample, 0, size);
    EXPECT_EQ(size, own) << "size 0 keeps the font";
    MeasureTextWithFont(font.get(), Sample, c.Size, size);
    EXPECT_EQ(size, own) << "the font's own size keeps it";
    EXPECT_EQ(GetTextWidthWithFont(font.get(), Sample), own.cx);

    TOwned<TFont> larger = MakeFont(c);
    larger->SetSize(c.Size * 2);
    MeasureTextWithFont(font.get(), Sample, c.Size * 2, size);
    EXPECT_EQ(size, TFontOracle(larger.get()).Extent(Sample));
    EXPECT_EQ(font->Size(), c.Size) << "the caller's font is not changed";
  }
}

TEST(TextMeasure, AnEmptyTextMeasuresNothingAndLeavesTheCanvasAlone) {
  TOwned<TFont> first = MakeFont(FontCases[0]);
  TOwned<TFont> other = MakeFont(FontCases[3]);
  GetFontHeight(first.get());
  TSize size(5, 5);
  MeasureTextWithFont(other.get(), L"", 30, size);
  EXPECT_EQ(size, TSize(0, 0));
  EXPECT_EQ(GetTextWidthWithFontStyle(other.get(), L"", {fsBold}), 0);
  EXPECT_EQ(SharedTextMeasureCanvas()->Font()->Name(), first->Name());
}

TEST(TextMeasure, WidthWithAnotherStyle) {
  for (const TFontCase& c : FontCases) {
    SCOPED_TRACE(testing::Message() << Trace(c));
    TOwned<TFont> font = MakeFont(c);
    TOwned<TFont> bold = MakeFont(c);
    bold->SetStyle({fsBold});
    EXPECT_EQ(GetTextWidthWithFontStyle(font.get(), Sample, {fsBold}), TFontOracle(bold.get()).Extent(Sample).cx);
    EXPECT_EQ(GetTextWidthWithFontStyle(font.get(), Sample, c.Style), TFontOracle(font.get()).Extent(Sample).cx);
    EXPECT_EQ(font->Style(), c.Style);
  }
}

TEST(TextMeasure, DrawTextRectangles) {
  struct Case {
    const wchar_t* Text;
    UINT Flags;
    int Width;
  };
  const Case cases[] = {
      {L"one line", DT_SINGLELINE, 0},
      {L"two\r\nlines", 0, 0},
      {L"The quick brown fox jumps over the lazy dog", DT_WORDBREAK, 80},
      {L"&File and &&more", 0, 0},
      {L"a\ttab", DT_EXPANDTABS, 0},
  };
  for (const TFontCase& f : FontCases) {
    TOwned<TFont> font = MakeFont(f);
    const TFontOracle oracle(font.get());
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << Trace(f) << ": " << String(c.Text));
      const TRect expected = oracle.DrawTextRect(c.Text, TRect(0, 0, c.Width, 0), c.Flags);
      TRect r(0, 0, c.Width, 0);
      CalcTextRect(oracle.DC(), c.Text, r, c.Flags);
      EXPECT_EQ(r, expected);
      r = TRect(0, 0, c.Width, 0);
      CalcTextRectWithFont(r, c.Text, font.get(), c.Flags);
      EXPECT_EQ(r, expected);
      if (c.Width == 0) {
        EXPECT_EQ(MeasureTextRect(font.get(), c.Text, c.Flags), TSize(expected.Width(), expected.Height()));
      }
    }
  }
}

TEST(TextMeasure, HeightInAWidthIsDrawTextsAnswerWithoutVerticalCentring) {
  for (const TFontCase& c : FontCases) {
    SCOPED_TRACE(testing::Message() << Trace(c));
    TOwned<TFont> font = MakeFont(c);
    const TFontOracle oracle(font.get());
    const int rows = oracle.DrawTextRect(Sample, TRect(0, 0, 90, 0), DT_WORDBREAK).Height();
    EXPECT_EQ(GetTextHeightInWidth(font.get(), Sample, 90, 1000, DT_WORDBREAK), rows);
    EXPECT_EQ(GetTextHeightInWidth(font.get(), L"x", 90, 1000, DT_SINGLELINE | DT_VCENTER), oracle.Metrics().tmHeight)
        << "centred in 1000 pixels, DrawText would answer the bottom of the text";
    EXPECT_EQ(GetTextHeightInWidth(font.get(), L"", 90, 1000, DT_WORDBREAK), 0);
  }
}

void DrawTextMeasure(HDC DC, const String& AText, TRect& AR, UINT AFlags) { CalcTextRect(DC, AText, AR, AFlags); }

TEST(TextMeasure, FitTextToLinesFindsTheNarrowestWidth) {
  for (const TFontCase& c : FontCases) {
    TOwned<TFont> font = MakeFont(c);
    const TFontOracle oracle(font.get());
    const int lineHeight = oracle.Metrics().tmHeight;
    const auto lines = [&](int AWidth) {
      return oracle.DrawTextRect(Sample, TRect(0, 0, AWidth, 1), DT_WORDBREAK).Height() / lineHeight;
    };
    const int widestWord = oracle.DrawTextRect(Sample, TRect(0, 0, 1, 1), DT_WORDBREAK).Right;
    for (int lineCount : {2, 3, 4}) {
      SCOPED_TRACE(testing::Message() << Trace(c) << ", " << lineCount << " lines");
      TRect r;
      FitTextToLines(oracle.DC(), Sample, lineCount, &DrawTextMeasure, DT_SINGLELINE, DT_WORDBREAK, false, r);
      EXPECT_LE(lines(r.Width()), lineCount);
      if (r.Width() > widestWord) {
        EXPECT_GT(lines(r.Width() - 1), lineCount) << "one pixel less needs more lines";
      }
      EXPECT_EQ(r.Height(), lines(r.Width()) * lineHeight);
      FitTextToLines(oracle.DC(), Sample, lineCount, &DrawTextMeasure, DT_SINGLELINE, DT_WORDBREAK, true, r);
      EXPECT_EQ(r.Bottom, lineCount * lineHeight);
    }
    SCOPED_TRACE(Trace(c));
    TRect r;
    FitTextToLines(oracle.DC(), Sample, 1, &DrawTextMeasure, DT_SINGLELINE, DT_WORDBREAK, false, r);
    EXPECT_EQ(r.Width(), oracle.Extent(Sample).cx);
    EXPECT_EQ(r.Height(), lineHeight);
    FitTextToLines(oracle.DC(), Sample, 0, &DrawTextMeasure, DT_SINGLELINE, DT_WORDBREAK, false, r);
    EXPECT_EQ(r.Width(), widestWord) << "without a limit the search ends at the widest word";
  }
}

// The advance of each character: its share of the partial extents plus the
// font's kerning with the character after it.
std::vector<int> KernedRights(const TFontOracle& AOracle, const String& AText, int ALeft) {
  std::vector<int> partial(AText.size());
  int fit = 0;
  SIZE total{};
  GetTextExtentExPointW(AOracle.DC(), AText.c_str(), static_cast<int>(AText.size()), 0, &fit, partial.data(), &total);
  std::vector<KERNINGPAIR> pairs(GetKerningPairsW(AOracle.DC(), 0, nullptr));
  if (!pairs.empty()) GetKerningPairsW(AOracle.DC(), static_cast<DWORD>(pairs.size()), pairs.data());
  std::vector<int> rights;
  int kerning = 0;
  for (std::size_t i = 0; i < AText.size(); ++i) {
    if (i + 1 < AText.size())
      for (const KERNINGPAIR& p : pairs)
        if (p.wFirst == AText[i] && p.wSecond == AText[i + 1]) kerning += p.iKernAmount;
    rights.push_back(ALeft + partial[i] + kerning);
  }
  return rights;
}

TEST(TextMeasure, CharacterRectanglesAreTheKernedAdvances) {
  const String text = L"Wavy text, kerned AV To";
  const TRect bounds(10, 4, 500, 30);
  for (const TFontCase& c : FontCases) {
    SCOPED_TRACE(testing::Message() << Trace(c));
    TOwned<TFont> font = MakeFont(c);
    const TFontOracle oracle(font.get());
    const std::vector<int> rights = KernedRights(oracle, text, bounds.Left);

    const TOwnedDC other(CreateCompatibleDC(nullptr));
    const HGDIOBJ before = GetCurrentObject(other.Get(), OBJ_FONT);
    const std::vector<TRect> rects =
        GetCharacterRects(other.Get(), text, static_cast<int>(text.size()), bounds, oracle.Font(), false);
    EXPECT_EQ(GetCurrentObject(other.Get(), OBJ_FONT), before) << "the font is put back";
    ASSERT_EQ(rects.size(), text.size());
    for (std::size_t i = 0; i < rects.size(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(rects[i].Left, i == 0 ? bounds.Left : rects[i - 1].Right);
      EXPECT_EQ(rects[i].Right, rights[i]);
      EXPECT_EQ(rects[i].Top, bounds.Top);
      EXPECT_EQ(rects[i].Bottom, bounds.Bottom);
    }
    EXPECT_TRUE(GetCharacterRects(oracle.DC(), text, 0, bounds, nullptr, false).empty());
    EXPECT_EQ(GetCharacterRects(oracle.DC(), text, 4, bounds, nullptr, false).size(), 4u);
  }
}

TEST(TextMeasure, RightToLeftRectanglesComeInVisualOrder) {
  TOwned<TFont> font = MakeFont(FontCases[3]);
  const TFontOracle oracle(font.get());
  const String hebrew = L"\x05e9\x05dc\x05d5\x05dd";
  const TRect bounds(0, 0, 200, 20);
  const std::vector<TRect> logical = GetCharacterRects(oracle.DC(), hebrew, 4, bounds, nullptr, false);
  const std::vector<TRect> visual = GetCharacterRects(oracle.DC(), hebrew, 4, bounds, nullptr, true);
  ASSERT_EQ(visual.size(), 4u);
  // The first letter of a right-to-left word stands rightmost.
  for (std::size_t i = 1; i < visual.size(); ++i) EXPECT_GT(visual[i - 1].Left, visual[i].Left);
  const auto widths = [](const std::vector<TRect>& ARects) {
    std::vector<int> w;
    for (const TRect& r : ARects) w.push_back(r.Width());
    std::sort(w.begin(), w.end());
    return w;
  };
  EXPECT_EQ(widths(visual), widths(logical));
}

TEST(TextMeasure, TextRegions) {
  TOwned<TFont> font = MakeFont(FontCases[3]);
  const TFontOracle oracle(font.get());
  const String text = L"abc\x200b" L"def";
  const int count = static_cast<int>(text.size());
  const TRect bounds(5, 0, 300, 16);
  const std::vector<TRect> rects = GetCharacterRects(oracle.DC(), text, count, bounds, nullptr, false);
  ASSERT_EQ(rects.size(), text.size());
  ASSERT_EQ(rects[3].Width(), 0) << "a zero-width space takes no room";

  struct Case {
    int Start;
    int Length;
    bool Region;
    int Left;
    int Right;
  };
  const Case cases[] = {
      {1, 2, true, rects[1].Left, rects[2].Right},
      {2, 3, true, rects[2].Left, rects[4].Right},
      {5, 10, true, rects[5].Left, rects[6].Right},  // cut at the character count
      {3, 1, false, 0, 0},                            // only the zero-width space
      {0, 0, false, 0, 0},
      {8, 1, false, 0, 0},                            // beyond the count
      {7, 1, false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Start << "+" << c.Length);
    const TOwnedRegion region = CreateTextRegion(oracle.DC(), text, count, false, nullptr, c.Length, c.Start, bounds);
    ASSERT_EQ(static_cast<bool>(region), c.Region);
    if (!region) continue;
    RECT box;
    EXPECT_EQ(GetRgnBox(region.Get(), &box), SIMPLEREGION);
    EXPECT_EQ(TRect(box), TRect(c.Left, bounds.Top, c.Right, bounds.Bottom));
  }
}

TEST(TextMeasure, SavedClipRegionsComeBack) {
  TPixelSurface surface(50, 50);
  const HDC dc = surface.DC();
  EXPECT_FALSE(SaveClipRegion(dc)) << "no clipping, no region";

  IntersectClipRect(dc, 10, 10, 20, 30);
  TOwnedRegion saved = SaveClipRegion(dc);
  ASSERT_TRUE(saved);
  RECT box;
  GetRgnBox(saved.Get(), &box);
  EXPECT_EQ(TRect(box), TRect(10, 10, 20, 30));

  SelectClipRgn(dc, nullptr);
  RestoreClipRegion(dc, std::move(saved));
  GetClipBox(dc, &box);
  EXPECT_EQ(TRect(box), TRect(10, 10, 20, 30));

  RestoreClipRegion(dc, TOwnedRegion());
  const TOwnedRegion none(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(GetClipRgn(dc, none.Get()), 0) << "none removes the clipping";
}

TEST(TextMeasure, CursorsFromResources) {
  const HINSTANCE user32 = GetModuleHandleW(L"user32.dll");
  const wchar_t* arrow = MAKEINTRESOURCEW(32512);
  const bool win8 = IsWin8OrLater;
  IsWin8OrLater = false;
  const HCURSOR shared = LoadCursorFromResource(user32, arrow);
  EXPECT_NE(shared, nullptr);
  EXPECT_EQ(LoadCursorFromResource(user32, arrow), shared) << "LoadCursorW shares its cursors";
  EXPECT_EQ(LoadCursorFromResource(nullptr, IDC_ARROW), LoadCursorW(nullptr, IDC_ARROW));

  IsWin8OrLater = true;
  const HCURSOR own = LoadCursorFromResource(user32, arrow);
  const HCURSOR another = LoadCursorFromResource(user32, arrow);
  EXPECT_NE(own, nullptr);
  EXPECT_NE(own, another) << "LoadImageW without LR_SHARED makes a cursor each time";
  DestroyCursor(own);
  DestroyCursor(another);
  EXPECT_EQ(LoadCursorFromResource(nullptr, IDC_ARROW), LoadCursorW(nullptr, IDC_ARROW)) << "no module: LoadCursorW";
  IsWin8OrLater = win8;
}

}  // namespace
