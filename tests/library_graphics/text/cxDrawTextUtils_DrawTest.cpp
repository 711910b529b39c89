// The drawing half of the text engine, in pixels: what it paints is compared
// with what the system paints for the same text, font and DC (TextOutW,
// DrawTextW), colour by colour. The font is a raster font: its pixels are
// either ink or background, and (unlike Wine's TrueType rendering, which
// draws glyphs closer together than it measures them) it is output where it
// is measured.
#include "library/graphics/text/cxDrawTextUtils.h"
#include "tests/library_graphics/PixelTesting.h"
#include "tests/support/GuiLeaks.h"
#include "tests/support/Pixels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <optional>
#include <string>

namespace {

constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF HighlightBackground = RGB(0, 0, 255);
constexpr COLORREF HighlightText = RGB(255, 0, 0);

// A white surface with the raster font selected and black text.
class TTextPicture : public TPixelSurface {
 public:
  TTextPicture(int AWidth, int AHeight, int ACharHeight = 13, int AWeight = FW_NORMAL,
               const wchar_t* AFace = L"MS Sans Serif")
      : TPixelSurface(AWidth, AHeight, White) {
    FFont.Reset(CreateFontW(-ACharHeight, 0, 0, 0, AWeight, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, AFace));
    FSelect.emplace(DC(), FFont.Get());
    SetTextColor(DC(), Black);
    SetBkMode(DC(), TRANSPARENT);
    GetTextMetricsW(DC(), &FMetrics);
  }
  HFONT Font() const { return FFont.Get(); }
  int RowHeight() const { return FMetrics.tmHeight; }
  int Advance(const String& AText) const {
    SIZE size{};
    GetTextExtentPoint32W(DC(), AText.c_str(), static_cast<int>(AText.size()), &size);
    return size.cx;
  }
  // Rows of '#' (any of AInk) and '.' (anything else) inside R.
  std::string Mask(const TRect& R, std::initializer_list<COLORREF> AInk) const {
    std::string result;
    for (int y = R.Top; y < R.Bottom; ++y) {
      for (int x = R.Left; x < R.Right; ++x) {
        const COLORREF c = Pixel(x, y);
        result += std::find(AInk.begin(), AInk.end(), c) != AInk.end() ? '#' : '.';
      }
      result += '\n';
    }
    return result;
  }
  // The columns of R that hold ink (anything but white): first and last, or
  // (-1, -1) for none.
  std::pair<int, int> InkColumns(const TRect& R) const {
    const TRect bounds = BoundsOfOtherIn(R);
    return bounds.IsEmpty() ? std::pair(-1, -1) : std::pair(bounds.Left, bounds.Right - 1);
  }
  TRect BoundsOfOtherIn(const TRect& R) const {
    TRect result(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    for (int y = R.Top; y < R.Bottom; ++y)
      for (int x = R.Left; x < R.Right; ++x)
        if (Pixel(x, y) != White) {
          result.Left = std::min(result.Left, x);
          result.Top = std::min(result.Top, y);
          result.Right = std::max(result.Right, x + 1);
          result.Bottom = std::max(result.Bottom, y + 1);
        }
    return result.Left == INT_MAX ? TRect() : result;
  }

 private:
  TOwnedFont FFont;
  std::optional<TSelectObject> FSelect;
  TEXTMETRICW FMetrics{};
};

// What the system paints: AText output at (X, Y) in black.
std::string SystemTextMask(const TTextPicture& ALike, int X, int Y, const String& AText, const TRect& AMaskRect) {
  TTextPicture system(ALike.Width(), ALike.Height());
  TextOutW(system.DC(), X, Y, AText.c_str(), static_cast<int>(AText.size()));
  return system.Mask(AMaskRect, {Black});
}

TEST(TextDrawing, HighlightedRangeKeepsEveryGlyphOnce) {
  struct TCase {
    const char* Name;
    int Start;
    int Length;
    int ExpectedFrom;  // the highlighted characters, -1 for none
    int ExpectedTo;
  };
  const TCase cases[] = {
      {"cde", 2, 3, 2, 5},
      {"runs past the end", 5, 10, 5, 7},
      {"starts beyond the end", 7, 3, -1, -1},
      {"negative start", -1, 3, -1, -1},
      {"empty", 3, 0, -1, -1},
  };
  const String text = L"abcdefg";
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TTextPicture picture(160, 30);
    TRect r(10, 5, 150, 25);
    DrawTextFormatted(picture.DC(), text, r, cxtoLeft, c.Start, c.Length, nullptr, TColor(HighlightBackground),
                      TColor(HighlightText));
    const TRect all = picture.ClientRect();
    // Every glyph pixel is where the system puts it: nothing doubled, nothing lost.
    EXPECT_EQ(picture.Mask(all, {Black, HighlightText}), SystemTextMask(picture, 10, 5, text, all));
    if (c.ExpectedFrom < 0) {
      EXPECT_EQ(picture.Count(HighlightBackground) + picture.Count(HighlightText), 0);
      continue;
    }
    const TRect band(10 + picture.Advance(text.substr(0, c.ExpectedFrom)), 5,
                     10 + picture.Advance(text.substr(0, c.ExpectedTo)), 5 + picture.RowHeight());
    EXPECT_EQ(picture.Count(band, HighlightBackground) + picture.Count(band, HighlightText), band.Width() * band.Height())
        << "the range's background and glyphs fill its cell";
    EXPECT_GT(picture.Count(band, HighlightText), 0);
    EXPECT_EQ(picture.Count(HighlightBackground) + picture.Count(HighlightText),
              picture.Count(band, HighlightBackground) + picture.Count(band, HighlightText))
        << "nothing of the highlight outside the range";
  }
}

TEST(TextDrawing, HighlightLeavesTheClipRegionAlone) {
  TTextPicture picture(160, 30);
  TRect r(10, 5, 150, 25);
  DrawTextFormatted(picture.DC(), L"abcdefg", r, cxtoLeft, 2, 3, nullptr, TColor(HighlightBackground),
                    TColor(HighlightText));
  EXPECT_EQ(GetClipRgn(picture.DC(), TOwnedRegion(CreateRectRgn(0, 0, 0, 0)).Get()), 0) << "no clip region was left";
}

// The last rows of ellipsis placement: the engine against DrawTextW with
// DT_END_ELLIPSIS on one line, for each alignment.
TEST(TextDrawing, EndEllipsisLikeDrawText) {
  struct TCase {
    const char* Name;
    std::uint32_t Flags;
    UINT SystemFlags;
  };
  const TCase cases[] = {
      {"left", cxtoLeft, DT_LEFT},
      {"centred", cxtoCenterX, DT_CENTER},
      {"right", cxtoRight, DT_RIGHT},
  };
  const String text = L"The quick brown fox jumps over the lazy dog";
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TTextPicture engine(200, 30);
    TTextPicture system(200, 30);
    const TRect column(10, 5, 10 + engine.Advance(L"The quick brown"), 25);
    TRect r = column;
    DrawTextFormatted(engine.DC(), text, r, c.Flags | cxtoSingleLine | cxtoEndEllipsis, 0, 0, nullptr, clNone, clNone);
    RECT sr = column;
    DrawTextW(system.DC(), text.c_str(), static_cast<int>(text.size()), &sr,
              c.SystemFlags | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    EXPECT_EQ(engine.Mask(engine.ClientRect(), {Black}), system.Mask(system.ClientRect(), {Black}));
    const auto [first, last] = engine.InkColumns(engine.ClientRect());
    EXPECT_GE(first, column.Left);
    EXPECT_LT(last, column.Right);
  }
}

TEST(TextDrawing, EllipsisAfterTheLastRowThatFits) {
  const String text = L"aaa bbb ccc ddd";
  TTextPicture probe(1, 1);
  const int h = probe.RowHeight();
  const int width = probe.Advance(L"aaa bb");
  // Two and a half rows.
  const TRect column(10, 5, 10 + width, 5 + 2 * h + h / 2);
  const TRect thirdRow(0, 5 + 2 * h, 200, 5 + 3 * h);

  TTextPicture clipped(200, 80);
  TRect r = column;
  DrawTextFormatted(clipped.DC(), text, r, cxtoWordBreak | cxtoEndEllipsis, 0, 0, nullptr, clNone, clNone);
  // The third row ends with "..." inside the column, cut off at its bottom.
  TTextPicture system(200, 80);
  RECT sr{column.Left, thirdRow.Top, column.Right, column.Bottom};
  DrawTextW(system.DC(), L"ccc ddd", 7, &sr, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  EXPECT_EQ(clipped.Mask(thirdRow, {Black}), system.Mask(thirdRow, {Black}));
  EXPECT_EQ(clipped.Count(TRect(0, column.Bottom, 200, 80), Black), 0) << "nothing below the column";
  for (int row = 0; row < 2; ++row)
    EXPECT_EQ(clipped.Mask(TRect(0, 5 + row * h, 200, 5 + (row + 1) * h), {Black}),
              SystemTextMask(clipped, 10, 5 + row * h, row == 0 ? L"aaa " : L"bbb ",
                             TRect(0, 5 + row * h, 200, 5 + (row + 1) * h)));

  // Unclipped, the third row is output whole and without an ellipsis.
  TTextPicture unclipped(200, 80);
  r = column;
  DrawTextFormatted(unclipped.DC(), text, r, cxtoWordBreak | cxtoEndEllipsis | cxtoNoClip, 0, 0, nullptr, clNone,
                    clNone);
  EXPECT_EQ(unclipped.Mask(thirdRow, {Black}), SystemTextMask(unclipped, 10, thirdRow.Top, L"ccc ", thirdRow));
}

TEST(TextDrawing, AnEmptyHighlightKeepsTheEllipsis) {
  // A zero-width character at the end of the shortened row, highlighted:
  // its cell is empty, and the ellipsis is drawn all the same.
  const String text = L"abc\x200B" L"defghijklmnop";
  const auto draw = [&](TTextPicture& APicture, int AHighlightLength) {
    ASSERT_EQ(APicture.Advance(L"\x200B"), 0);
    SIZE ellipsis{};
    GetTextExtentPoint32W(APicture.DC(), L"...", 3, &ellipsis);
    TRect r(10, 5, 10 + APicture.Advance(L"abc") + ellipsis.cx + 1, 25);
    DrawTextFormatted(APicture.DC(), text, r, cxtoSingleLine | cxtoEndEllipsis, 3, AHighlightLength, nullptr,
                      TColor(HighlightBackground), clNone);
  };
  TTextPicture highlighted(100, 30, 13, FW_NORMAL, L"DejaVu Sans");
  draw(highlighted, 1);
  TTextPicture plain(100, 30, 13, FW_NORMAL, L"DejaVu Sans");
  draw(plain, 0);
  EXPECT_EQ(highlighted.Count(HighlightBackground), 0);
  EXPECT_EQ(highlighted.Mask(highlighted.ClientRect(), {White}), plain.Mask(plain.ClientRect(), {White}));
  EXPECT_GT(plain.CountOther(TRect(10 + plain.Advance(L"abc"), 0, 100, 30), White), 0) << "the ellipsis";
}

TEST(TextDrawing, JustifiedRowsReachTheRightEdge) {
  struct TCase {
    const char* Name;
    std::uint32_t Align;
    bool LastRowSpread;
  };
  const TCase cases[] = {{"justify", cxtoJustifyX, false}, {"distribute", cxtoDistributeX, true}};
  const String text = L"aa bb cc dd ee ff gg hh ii jj kk ll mm";
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TTextPicture picture(200, 100);
    const int h = picture.RowHeight();
    const TRect column(10, 5, 10 + picture.Advance(L"aa bb cc dd ee"), 95);
    // The rows the layout makes.
    TcxTextParams params;
    CalcTextParamsForDC(picture.DC(), c.Align | cxtoWordBreak, 1.0, params);
    TcxTextRows rows;
    int count = 0;
    BreakTextIntoRows(picture.DC(), text.c_str(), static_cast<int>(text.size()), column, params, rows, count);
    ASSERT_GE(count, 3);
    ASSERT_EQ(rows[count - 1].BreakCount > 0, c.LastRowSpread) << "only a distributed last row has gaps to spread";

    TRect r = column;
    DrawTextFormatted(picture.DC(), text, r, c.Align | cxtoWordBreak, 0, 0, nullptr, clNone, clNone);
    for (int row = 0; row < count; ++row) {
      SCOPED_TRACE(row);
      const TRect band(0, 5 + row * h, 200, 5 + (row + 1) * h);
      const auto [first, last] = picture.InkColumns(band);
      EXPECT_GE(first, column.Left);
      EXPECT_LT(last, column.Right);
      if (row < count - 1 || c.LastRowSpread) {
        // The last glyph ends at the right edge (less its bearing).
        EXPECT_GE(last, column.Right - 3);
      } else {
        EXPECT_EQ(picture.Mask(band, {Black}), SystemTextMask(picture, column.Left, band.Top, rows[row].ToString(), band));
      }
    }
  }
}

TEST(TextDrawing, MeasuringNarrowsTheRectangle) {
  TTextPicture picture(200, 100);
  const String text = L"one two three four five six";
  // Indents of 3 and 2 pixels leave a column of 95.
  TRect r(10, 10, 110, 10);
  const int height = DrawTextFormatted(picture.DC(), text, r, cxtoWordBreak | cxtoCalcRect, 0, 0, nullptr, clNone,
                                       clNone, 0, 3, 2);
  RECT system{0, 0, 95, 0};
  DrawTextW(picture.DC(), text.c_str(), static_cast<int>(text.size()), &system, DT_WORDBREAK | DT_CALCRECT);
  EXPECT_EQ(height, system.bottom);
  EXPECT_EQ(r.Height(), height);
  EXPECT_EQ(r.Left, 10);
  // The widest row (its trailing blank kept) plus both indents.
  TcxTextParams params;
  CalcTextParamsForDC(picture.DC(), cxtoWordBreak | cxtoCalcRect, 1.0, params);
  TcxTextRows rows;
  int count = 0;
  BreakTextIntoRows(picture.DC(), text.c_str(), static_cast<int>(text.size()), TRect(0, 0, 95, 0), params, rows, count);
  EXPECT_EQ(r.Width(), GetMaxTextRowWidth(rows, count) + 5);
  EXPECT_LT(r.Width(), 100);
  EXPECT_EQ(picture.Count(Black), 0) << "measuring paints nothing";
}

TEST(TextDrawing, RowCountEvenWhenNothingIsDrawn) {
  TTextPicture picture(200, 100);
  // Nothing is visible: the whole surface is clipped away.
  const TOwnedRegion empty(CreateRectRgn(0, 0, 0, 0));
  SelectClipRgn(picture.DC(), empty.Get());
  TRect r(10, 10, 10 + picture.Advance(L"aa "), 90);
  EXPECT_EQ(DrawTextFormatted(picture.DC(), L"aa bb cc dd", r, cxtoWordBreak | cxtoCalcRowCount, 0, 0, nullptr, clNone,
                              clNone),
            4);
  SelectClipRgn(picture.DC(), nullptr);
  EXPECT_EQ(picture.Count(Black), 0);
}

TEST(TextDrawing, NothingLeftToDrawKeepsTheDCAsItWas) {
  TTextPicture picture(100, 40);
  TOwned<TFont> font(New<TFont>());
  font->SetColor(clRed);
  const HGDIOBJ before = GetCurrentObject(picture.DC(), OBJ_FONT);
  for (const auto& [text, flags] : {std::pair(String(L"&"), cxtoHidePrefix), std::pair(String(L"abc"), cxtoLeft)}) {
    TRect r(0, 0, text == L"&" ? 80 : 0, 30);
    EXPECT_EQ(DrawTextFormatted(picture.DC(), text, r, flags, 0, 0, font.get(), clNone, clNone, 0, 0, 0, clBlue), 0);
    EXPECT_EQ(GetCurrentObject(picture.DC(), OBJ_FONT), before);
    EXPECT_EQ(GetTextColor(picture.DC()), Black);
  }
  EXPECT_EQ(picture.Count(Black) + picture.Count(RGB(255, 0, 0)), 0);
}

TEST(TextDrawing, FontAndTextColour) {
  TTextPicture picture(100, 40);
  TOwned<TFont> font(New<TFont>());
  font->SetName(L"Tahoma");
  font->SetHeight(-13);
  font->SetQuality(fqNonAntialiased);
  font->SetColor(clRed);
  TRect r(0, 0, 100, 40);
  DrawTextFormatted(picture.DC(), L"Ab", r, cxtoLeft, 0, 0, font.get(), clNone, clNone);
  EXPECT_GT(picture.Count(RGB(255, 0, 0)), 0) << "the font's colour";
  picture.Fill(White);
  DrawTextFormatted(picture.DC(), L"Ab", r, cxtoLeft, 0, 0, font.get(), clNone, clNone, 0, 0, 0, clLime);
  EXPECT_GT(picture.Count(RGB(0, 255, 0)), 0) << "the given colour wins";
  EXPECT_EQ(picture.Count(RGB(255, 0, 0)), 0);
}

TEST(TextDrawing, PatternedRows) {
  struct TCase {
    const char* Name;
    int Weight;
    bool Solid;
  };
  for (const TCase& c : {TCase{"normal: a checkerboard", FW_NORMAL, false}, TCase{"bold: solid", FW_BOLD, true}}) {
    SCOPED_TRACE(c.Name);
    // Rows lower than six pixels: only a TrueType font is that small.
    TTextPicture picture(100, 20, 4, c.Weight, L"Tahoma");
    SetTextColor(picture.DC(), RGB(200, 0, 0));
    TRect r(0, 0, 100, 20);
    DrawTextFormatted(picture.DC(), L"some small text", r, cxtoPatternedText, 0, 0, nullptr, clNone, clNone);
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const TRect bar = picture.BoundsOfOther(White);
    ASSERT_FALSE(bar.IsEmpty());
    EXPECT_EQ(bar.Left, 0);
    EXPECT_EQ(bar.Top, 1);
    EXPECT_EQ(bar.Height(), picture.RowHeight() - 2);
    const int area = bar.Width() * bar.Height();
    if (c.Solid) {
      EXPECT_EQ(picture.Count(bar, RGB(200, 0, 0)), area);
    } else {
      EXPECT_NEAR(picture.Count(bar, RGB(200, 0, 0)), area / 2, bar.Height());
      EXPECT_EQ(picture.Count(bar, RGB(200, 0, 0)) + picture.Count(bar, window), area);
      EXPECT_NE(picture.Pixel(bar.Left, bar.Top), picture.Pixel(bar.Left + 1, bar.Top));
    }
  }
}

TEST(TextDrawing, RightToLeftRowsStayInTheirRectangle) {
  const std::uint32_t cases[] = {cxtoRTLReading, cxtoRTLReading | cxtoExpandTabs, cxtoRTLReading | cxtoRight,
                                 cxtoRTLReading | cxtoRight | cxtoExpandTabs, cxtoRTLReading | cxtoCenterX};
  for (std::uint32_t flags : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << flags);
    TTextPicture picture(300, 30);
    const TRect r(10, 5, 150, 25);
    TRect drawn = r;
    DrawTextFormatted(picture.DC(), L"abc\tdef gh", drawn, flags, 0, 0, nullptr, clNone, clNone);
    const TRect ink = picture.BoundsOfOther(White);
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_GE(ink.Left, r.Left);
    EXPECT_LE(ink.Right, r.Right);
  }
}

TEST(TextDrawing, RightToLeftHighlight) {
  const String text = L"abcdefg";
  TTextPicture picture(160, 30);
  TRect r(10, 5, 150, 25);
  DrawTextFormatted(picture.DC(), text, r, cxtoRTLReading, 2, 3, nullptr, TColor(HighlightBackground),
                    TColor(HighlightText));
  TTextPicture system(160, 30);
  SetTextAlign(system.DC(), TA_RTLREADING);
  TextOutW(system.DC(), 10, 5, text.c_str(), static_cast<int>(text.size()));
  EXPECT_EQ(picture.Mask(picture.ClientRect(), {Black, HighlightText}), system.Mask(system.ClientRect(), {Black}));
  const TRect row(10, 5, 10 + picture.Advance(text), 5 + picture.RowHeight());
  const int highlighted = picture.Count(HighlightBackground) + picture.Count(HighlightText);
  EXPECT_EQ(highlighted, row.Height() * picture.Advance(L"cde"));
  EXPECT_EQ(picture.Count(row, HighlightBackground) + picture.Count(row, HighlightText), highlighted);
}

// ---------------------------------------------------------------------------
// Alpha

TEST(TextAlphaRecovery, PixelsFromCoverage) {
  const int grey = std::trunc(255 * std::pow(128 / 255.0, 10.0 / 7.0));
  EXPECT_EQ(TcxTextAlphaRecoveryHelper::Gamma(128), grey);
  struct TCase {
    const char* Name;
    RGBQUAD Pixel;
    RGBQUAD Color;
    RGBQUAD Expected;
  };
  const TCase cases[] = {
      {"white, opaque", {255, 255, 255, 0}, {30, 60, 90, 255}, {30, 60, 90, 255}},
      {"grey, opaque", {128, 128, 128, 0}, {255, 255, 255, 255}, {BYTE(grey), BYTE(grey), BYTE(grey), BYTE(grey)}},
      {"white, half opaque", {255, 255, 255, 0}, {255, 0, 100, 128}, {128, 0, 50, 128}},
      {"black stays empty", {0, 0, 0, 77}, {255, 255, 255, 255}, {0, 0, 0, 0}},
      {"only green: weight 151 of 256", {0, 255, 0, 0}, {0, 0, 255, 255}, {0, 0, 150, 150}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    RGBQUAD pixel = c.Pixel;
    TcxTextAlphaRecoveryHelper::RecoverAlpha(&pixel, 1, c.Color);
    EXPECT_EQ(Channels(pixel), Channels(c.Expected));
  }
}

TEST(TextAlphaRecovery, OpaqueUnderTheGlyphsUntouchedBeside) {
  const String text = L"Alpha text";
  const TRect textRect(4, 3, 140, 30);
  // The rows, laid out on a probe of the font.
  TTextPicture probe(160, 40);
  TcxTextParams params;
  CalcTextParamsForDC(probe.DC(), cxtoLeft, 1.0, params);
  TcxTextRows rows;
  int count = 0;
  BreakTextIntoRows(probe.DC(), text.c_str(), static_cast<int>(text.size()), textRect, params, rows, count);
  CalcTextRowPositions(probe.DC(), textRect, params, rows, count);
  ASSERT_EQ(count, 1);

  // Where the glyphs are: the system's own output.
  const std::string glyphs = SystemTextMask(probe, textRect.Left, textRect.Top, text, probe.ClientRect());

  TTextPicture surface(160, 40);
  constexpr std::uint32_t Background = 0x00102030;  // alpha 0
  for (int y = 0; y < surface.Height(); ++y)
    for (int x = 0; x < surface.Width(); ++x) surface.SetRaw(x, y, Background);
  DrawTextRowsWithAlphaRecovery(surface.DC(), textRect, params, rows, count, false, RGBQUAD{0, 0, 200, 255});
  std::size_t i = 0;
  int inked = 0;
  for (int y = 0; y < surface.Height(); ++y, ++i)
    for (int x = 0; x < surface.Width(); ++x, ++i) {
      if (glyphs[i] == '#') {
        ++inked;
        EXPECT_EQ(surface.Raw(x, y), 0xFFC80000u) << x << "," << y;
      } else {
        EXPECT_EQ(surface.Raw(x, y), Background) << x << "," << y;
      }
    }
  EXPECT_GT(inked, 20);
}

TEST(TextAlphaRecovery, TranslucentTextBlendsOver) {
  TTextPicture probe(100, 30);
  const String text = L"W";
  const TRect textRect(2, 2, 60, 28);
  TcxTextParams params;
  CalcTextParamsForDC(probe.DC(), cxtoLeft, 1.0, params);
  TcxTextRows rows;
  int count = 0;
  BreakTextIntoRows(probe.DC(), text.c_str(), 1, textRect, params, rows, count);
  CalcTextRowPositions(probe.DC(), textRect, params, rows, count);
  // Opaque white under half-opaque black text: mid grey where the glyph is.
  for (int y = 0; y < probe.Height(); ++y)
    for (int x = 0; x < probe.Width(); ++x) probe.SetRaw(x, y, 0xFFFFFFFF);
  DrawTextRowsWithAlphaRecovery(probe.DC(), textRect, params, rows, count, false, RGBQUAD{0, 0, 0, 128});
  EXPECT_GT(probe.Count(RGB(127, 127, 127)), 10);
  EXPECT_EQ(probe.Count(RGB(127, 127, 127)) + probe.Count(White), probe.Width() * probe.Height());
  EXPECT_EQ(probe.Alpha(0, 0), 255);
}

// ---------------------------------------------------------------------------
// Measuring for a row count and rotated text

TEST(TextDrawing, NarrowestRectangleForARowCount) {
  TTextPicture picture(10, 10);
  const String text = L"one two three four five six seven eight nine ten";
  for (int rows : {1, 2, 3, 5}) {
    SCOPED_TRACE(rows);
    TRect r;
    CalcTextRectForRowCount(picture.DC(), text, rows, cxtoLeft, r);
    TRect check(0, 0, r.Width(), 1);
    EXPECT_LE(DrawTextFormattedDefaultColors(picture.DC(), text, check, cxtoWordBreak | cxtoCalcRect | cxtoCalcRowCount),
              rows);
    TRect narrower(0, 0, r.Width() - 1, 1);
    if (rows > 1) {
      EXPECT_GT(DrawTextFormattedDefaultColors(picture.DC(), text, narrower,
                                               cxtoWordBreak | cxtoCalcRect | cxtoCalcRowCount),
                rows);
    }
  }
}

TEST(TextDrawing, RotatedLinesStandInTheRectangle) {
  struct TCase {
    const char* Name;
    int Direction;
    bool WordWrap;
    int Lines;
  };
  const TCase cases[] = {
      {"clockwise, one line", 0, false, 1},
      {"counter-clockwise, one line", 1, false, 1},
      {"clockwise, wrapped", 0, true, 3},
      {"counter-clockwise, wrapped", 1, true, 3},
  };
  TOwned<TFont> font(New<TFont>());
  font->SetName(L"Tahoma");
  font->SetHeight(-13);
  font->SetQuality(fqNonAntialiased);
  const String text = L"word word word";
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TTextPicture picture(120, 160);
    // The text's extents in the rotated font itself.
    LOGFONTW logFont = font->LogFont();
    logFont.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    const TOwnedFont plain(CreateFontIndirectW(&logFont));
    const TSelectObject selected(picture.DC(), plain.Get());
    const int word = picture.Advance(L"word");
    const int all = picture.Advance(text);
    const int lineStep = picture.Advance(L"Zq") > 0 ? [&] {
      SIZE size{};
      GetTextExtentPoint32W(picture.DC(), L"Zq", 2, &size);
      return static_cast<int>(size.cy);
    }() : 0;
    // One line needs room for the whole text; wrapped lines hold one word.
    const int room = c.Lines == 1 ? all + 6 : word + picture.Advance(L"wo");
    const TRect r(10, 10, 110, 10 + room + 4);
    DrawRotatedTextLines(picture.DC(), r, text, font.get(), 0, 0, c.WordWrap, false, false, c.Direction, 0);
    const TRect ink = picture.BoundsOfOther(White);
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_GE(ink.Left, r.Left);
    EXPECT_GE(ink.Top, r.Top);
    EXPECT_LE(ink.Right, r.Right);
    EXPECT_LE(ink.Bottom, r.Bottom);
    // Standing upright, one column per line: its height the line's width.
    EXPECT_NEAR(ink.Height(), c.Lines == 1 ? all : word, 4);
    EXPECT_GT(ink.Width(), (c.Lines - 1) * lineStep);
    EXPECT_LE(ink.Width(), c.Lines * lineStep);
    EXPECT_EQ(GetTextAlign(picture.DC()), static_cast<UINT>(TA_LEFT | TA_TOP));
  }
}

TEST(TextDrawing, LineBreaksEndRotatedLines) {
  // Each break ends a line (CR LF as one): "a", an empty line, "b".
  TOwned<TFont> font(New<TFont>());
  font->SetName(L"Tahoma");
  font->SetHeight(-13);
  font->SetQuality(fqNonAntialiased);
  TTextPicture picture(100, 100);
  DrawRotatedTextLines(picture.DC(), TRect(0, 0, 100, 100), L"a\r\n\r\nb\n", font.get(), 0, 0, true, false, false, 1, 0);
  const TRect ink = picture.BoundsOfOther(White);
  ASSERT_FALSE(ink.IsEmpty());
  // Two glyph columns two line steps apart, with the empty line between.
  int inkedColumns = 0;
  for (int x = ink.Left; x < ink.Right; ++x) inkedColumns += picture.CountOther(TRect(x, 0, x + 1, 100), White) > 0;
  EXPECT_LT(inkedColumns, ink.Width() / 2) << picture.Picture(White);
  EXPECT_GT(ink.Width(), 2 * 13);
}

TEST(TextDrawing, NoGdiObjectLeftBehind) {
  TTextPicture picture(200, 60);
  TOwned<TFont> font(New<TFont>());
  const auto round = [&] {
    TRect r(0, 0, 80, 25);
    DrawTextFormatted(picture.DC(), L"aaa bbb ccc ddd", r, cxtoWordBreak | cxtoEndEllipsis, 1, 5, font.get(),
                      TColor(HighlightBackground), TColor(HighlightText));
    DrawTextFormatted(picture.DC(), L"aaa bbb", r, cxtoRTLReading, 1, 3, nullptr, TColor(HighlightBackground), clNone);
    DrawRotatedTextLines(picture.DC(), TRect(0, 0, 60, 60), L"aa bb", font.get(), 1, 1, true, false, false, 0, 9);
    TcxTextParams params;
    CalcTextParamsForDC(picture.DC(), 0, 1.0, params);
    TcxTextRows rows;
    int count = 0;
    BreakTextIntoRows(picture.DC(), L"x", 1, r, params, rows, count);
    CalcTextRowPositions(picture.DC(), r, params, rows, count);
    DrawTextRowsWithAlphaRecovery(picture.DC(), r, params, rows, count, false, RGBQUAD{0, 0, 0, 200});
  };
  round();
  const int before = GdiObjectCount();
  for (int i = 0; i < 3; ++i) round();
  EXPECT_EQ(GdiObjectCount(), before);
}

}  // namespace
