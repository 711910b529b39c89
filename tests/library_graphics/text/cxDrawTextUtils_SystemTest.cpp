// The layout engine against the system's DrawTextW: for a table of texts,
// flags and widths, the rows the engine makes are the rows DrawTextW makes
// for the same font on the same DC, and so are their extents. Where the
// engine's rules differ from the system's on purpose, the row says so.
#include "library/core/base/dxCore.h"
#include "library/graphics/text/cxDrawTextUtils.h"
#include "tests/support/Pixels.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

// A surface with a font selected: the DC both the engine and DrawTextW use.
class TTextSurface {
 public:
  TTextSurface(const wchar_t* AFace, int AHeight) : FSurface(400, 400) {
    FFont.Reset(CreateFontW(-AHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, AFace));
    FSelect.emplace(FSurface.DC(), FFont.Get());
    GetTextMetricsW(DC(), &FMetrics);
  }
  HDC DC() const { return FSurface.DC(); }
  int LineHeight() const { return FMetrics.tmHeight; }

  // DrawTextW's rectangle for the text in a column of AWidth.
  TRect SystemRect(const String& AText, int AWidth, UINT AFlags) const {
    RECT r{0, 0, AWidth, 0};
    DrawTextW(DC(), AText.c_str(), static_cast<int>(AText.size()), &r, AFlags | DT_CALCRECT);
    return r;
  }
  int SystemRows(const String& AText, int AWidth, UINT AFlags) const {
    return SystemRect(AText, AWidth, AFlags).Height() / LineHeight();
  }

 private:
  TPixelSurface FSurface;
  TOwnedFont FFont;
  std::optional<TSelectObject> FSelect;
  TEXTMETRICW FMetrics{};
};

struct TLayout {
  std::vector<TcxTextRow> Rows;
  bool Fits = false;
};

TLayout Layout(const TTextSurface& ASurface, const String& AText, std::uint32_t AFlags, int AWidth, int AHeight = 10000) {
  TcxTextParams params;
  CalcTextParamsForDC(ASurface.DC(), AFlags, 1.0, params);
  TcxTextRows rows;
  int count = 0;
  TLayout result;
  result.Fits = BreakTextIntoRows(ASurface.DC(), AText.c_str(), static_cast<int>(AText.size()), TRect(0, 0, AWidth, AHeight),
                                  params, rows, count);
  for (int i = 0; i < count; ++i) result.Rows.push_back(rows[i]);
  return result;
}

String Visible(const String& AText) {
  String result;
  for (wchar_t c : AText) {
    if (c == L'\r')
      result += L"\\r";
    else if (c == L'\n')
      result += L"\\n";
    else if (c == L'\t')
      result += L"\\t";
    else
      result += c;
  }
  return result;
}

String RowTexts(const TLayout& ALayout) {
  String result;
  for (const TcxTextRow& row : ALayout.Rows) result += L"[" + Visible(row.ToString()) + L"]";
  return result;
}

TcxTextRows ToRows(const TLayout& ALayout) {
  TcxTextRows rows;
  rows.SetCount(static_cast<int>(ALayout.Rows.size()));
  for (std::size_t i = 0; i < ALayout.Rows.size(); ++i) rows[static_cast<int>(i)] = ALayout.Rows[i];
  return rows;
}

// How a case is compared: row by row, or (for texts the engine gets with
// their accelerator markers already removed) by the rows and width of the
// whole text, or (for the ellipses) by what the layout reports.
enum class TCompare { Rows, Totals, Cut };

struct TSystemCase {
  const char* Name;
  const wchar_t* Text;
  std::uint32_t EngineFlags;
  UINT SystemFlags;
  // The column: the width of this text in the font, plus Extra pixels.
  const wchar_t* WidthOf;
  int Extra;
  TCompare Compare = TCompare::Rows;
  // Where the engine differs from DrawTextW on purpose; null when it does not.
  const char* OnPurpose = nullptr;
};

// Where the engine's rules differ from this DrawTextW on purpose. Each blank
// and tab is a piece of its own, and a row ends before a piece that does not
// fit: so a word stays on its row when only the blank after it passes the
// edge (DrawTextW moves the word down), and a row may end at a tab
// (DrawTextW breaks rows at blanks only).
const char* const BlankAfterTheEdge =
    "the engine keeps a word on its row when only the blank after it passes the edge; DrawTextW moves the word down";
const char* const BreakAtTab = "the engine may end a row at a tab; DrawTextW breaks rows at blanks only";

const wchar_t* const Fox = L"The quick brown fox jumps over the lazy dog";

const TSystemCase SystemCases[] = {
    {"one line", Fox, cxtoSingleLine, DT_SINGLELINE | DT_NOPREFIX, Fox, 20},
    {"word wrap, rows of one word", Fox, cxtoWordBreak, DT_WORDBREAK | DT_NOPREFIX, L"quick ", 2},
    {"word wrap, rows of two words", Fox, cxtoWordBreak, DT_WORDBREAK | DT_NOPREFIX, L"The quick ", 1},
    {"word wrap, the blank passes the edge", Fox, cxtoWordBreak, DT_WORDBREAK | DT_NOPREFIX, L"The quick", 1,
     TCompare::Rows, BlankAfterTheEdge},
    {"word wrap, wide", Fox, cxtoWordBreak, DT_WORDBREAK | DT_NOPREFIX, L"The quick brown fox jumps ", 3},
    {"blanks between words", L"aaa    bbb  ccc     ddd", cxtoWordBreak, DT_WORDBREAK | DT_NOPREFIX, L"aaa    b", 0},
    {"a long word overflows", L"Supercalifragilisticexpialidocious is long", cxtoWordBreak, DT_WORDBREAK | DT_NOPREFIX,
     L"Supercalifragil", 0},
    {"a long word is broken", L"Supercalifragilisticexpialidocious is long", cxtoWordBreak | cxtoEditControl,
     DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX, L"Supercalifragil", 0},
    {"a long word, then a line break", L"Supercalifragilistic\r\nnext", cxtoWordBreak, DT_WORDBREAK | DT_NOPREFIX,
     L"Supercali", 0},
    {"line breaks of every kind", L"one\r\ntwo\nthree\rfour\n\rfive\r\r six\r\n\r\nseven", cxtoWordBreak,
     DT_WORDBREAK | DT_NOPREFIX, L"three four five", 0},
    {"line breaks without word wrap", L"one\r\ntwo\nthree four five six seven\n\rlast", 0, DT_NOPREFIX, L"three", 0},
    {"line breaks and wrapping", L"first line here\r\nsecond line is longer than that", cxtoWordBreak,
     DT_WORDBREAK | DT_NOPREFIX, L"second line is ", 1},
    {"tabs", L"Name:\tValue\tMore\r\nKey\tOther", cxtoExpandTabs, DT_EXPANDTABS | DT_NOPREFIX, L"Name:", 0},
    {"tabs with word wrap", L"Name:\tValue and a longer tail\tMore", cxtoExpandTabs | cxtoWordBreak,
     DT_EXPANDTABS | DT_WORDBREAK | DT_NOPREFIX, L"Value and a longer ", 1, TCompare::Rows, BreakAtTab},
    {"accelerator prefixes", L"&File and &&Edit, &View", cxtoWordBreak | cxtoHidePrefix, DT_WORDBREAK | DT_HIDEPREFIX,
     L"File and ", 1, TCompare::Totals},
    {"right-to-left marks", L"abc \x200F" L"def \x200E" L"ghi jkl \x200Fmno", cxtoWordBreak,
     DT_WORDBREAK | DT_NOPREFIX, L"abc \x200F" L"def ", 1},
    {"right-to-left reading", L"\x05e9\x05dc\x05d5\x05dd \x05e2\x05d5\x05dc\x05dd \x05d9\x05e4\x05d4",
     cxtoWordBreak | cxtoRTLReading, DT_WORDBREAK | DT_RTLREADING | DT_NOPREFIX, L"\x05e9\x05dc\x05d5\x05dd ", 1},
    {"centred rows", Fox, cxtoWordBreak | cxtoCenterX, DT_WORDBREAK | DT_CENTER | DT_NOPREFIX, L"brown fox ", 1},
    {"right-aligned rows", Fox, cxtoWordBreak | cxtoRight, DT_WORDBREAK | DT_RIGHT | DT_NOPREFIX, L"brown fox ", 1},
    {"end ellipsis", Fox, cxtoSingleLine | cxtoEndEllipsis, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX,
     L"The quick brown", 0, TCompare::Cut,
     "the layout keeps the whole row and reports it cut; the ellipsis is put in when the row is drawn"},
    {"path ellipsis", L"C:\\Program Files\\Vendor\\Product\\readme.txt", cxtoSingleLine | cxtoEndEllipsis,
     DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_NOPREFIX, L"C:\\Program Files", 0, TCompare::Cut,
     "the engine has no path ellipsis: it reports the path cut at its end where the system shortens its middle"},
};

bool IsBlankChar(wchar_t C) { return C == L' ' || C == L'\t'; }

// Pictures of the text in black on white, in the surface's font, unclipped:
// the column (ASize) and whatever passes its edge.
constexpr int PictureMargin = 8;

std::string Picture(const TTextSurface& ASurface, const TSize& ASize, const std::function<void(HDC)>& ADraw) {
  TPixelSurface picture(2 * ASize.cx + PictureMargin, ASize.cy + PictureMargin, RGB(255, 255, 255));
  const TSelectObject font(picture.DC(), GetCurrentObject(ASurface.DC(), OBJ_FONT));
  SetBkMode(picture.DC(), TRANSPARENT);
  ADraw(picture.DC());
  return picture.Picture(RGB(255, 255, 255));
}

std::string SystemPicture(const TTextSurface& ASurface, const String& AText, UINT AFlags, const TSize& ASize) {
  return Picture(ASurface, ASize, [&](HDC DC) {
    RECT r{0, 0, ASize.cx, ASize.cy};
    DrawTextW(DC, AText.c_str(), static_cast<int>(AText.size()), &r, AFlags | DT_NOCLIP);
  });
}

// The rows output at their origins, as the engine's drawing half does.
std::string EnginePicture(const TTextSurface& ASurface, const String& AText, std::uint32_t AFlags, const TSize& ASize) {
  return Picture(ASurface, ASize, [&](HDC DC) {
    TcxTextParams params;
    CalcTextParamsForDC(DC, AFlags, 1.0, params);
    TcxTextRows rows;
    int count = 0;
    const TRect bounds(0, 0, ASize.cx, ASize.cy);
    BreakTextIntoRows(DC, AText.c_str(), static_cast<int>(AText.size()), bounds, params, rows, count);
    CalcTextRowPositions(DC, bounds, params, rows, count);
    if (params.RTLReading) SetTextAlign(DC, TA_RTLREADING);
    for (int i = 0; i < count; ++i) {
      const TcxTextRow& row = rows[i];
      if (params.ExpandTabs)
        TabbedTextOutW(DC, row.TextOriginX, row.TextOriginY, row.Text, row.TextLength, 0, nullptr, row.TextOriginX);
      else
        TextOutW(DC, row.TextOriginX, row.TextOriginY, row.Text, row.TextLength);
    }
  });
}

class LayoutAgainstDrawText : public testing::TestWithParam<const wchar_t*> {};

TEST_P(LayoutAgainstDrawText, RowsAndExtents) {
  const TTextSurface surface(GetParam(), 13);
  for (const TSystemCase& c : SystemCases) {
    SCOPED_TRACE(c.Name);
    const String original = c.Text;
    const String text = (c.EngineFlags & cxtoHidePrefix) ? StripAccelerators(original) : original;
    const bool tabs = c.EngineFlags & cxtoExpandTabs;
    TSize widthOf;
    GetTextExtentForDC(surface.DC(), c.WidthOf, static_cast<int>(wcslen(c.WidthOf)), tabs, widthOf);
    const int width = widthOf.cx + c.Extra;
    const TLayout layout = Layout(surface, text, c.EngineFlags, width);
    SCOPED_TRACE(testing::Message() << "width " << width << ", rows " << RowTexts(layout));
    ASSERT_FALSE(layout.Rows.empty());
    const TRect system = surface.SystemRect(original, width, c.SystemFlags);

    if (c.Compare == TCompare::Cut) {
      // Both see that the text does not fit; the system shortens it.
      std::printf("  [on purpose] %ls, %s: %s\n", GetParam(), c.Name, c.OnPurpose);
      String shortened = original + String(8, L'\0');
      RECT r{0, 0, width, 100};
      DrawTextW(surface.DC(), shortened.data(), static_cast<int>(original.size()), &r,
                c.SystemFlags | DT_MODIFYSTRING | DT_CALCRECT);
      EXPECT_NE(String(shortened.c_str()), original) << "the system shortens the text";
      EXPECT_FALSE(layout.Fits);
      ASSERT_EQ(layout.Rows.size(), 1u);
      EXPECT_EQ(layout.Rows[0].ToString(), text);
      EXPECT_GT(layout.Rows[0].TextExtents.cx, width);
      continue;
    }

    // Every row measures as DrawTextW measures it on its own.
    const UINT lineFlags = DT_SINGLELINE | DT_NOPREFIX | (tabs ? DT_EXPANDTABS : 0);
    for (const TcxTextRow& row : layout.Rows)
      EXPECT_EQ(row.TextExtents.cx, surface.SystemRect(row.ToString(), 0, lineFlags).Width()) << Visible(row.ToString());

    // Each row is the first row DrawTextW makes of the text from the row's
    // start: the row alone is one row, and with what follows it (the next
    // word, or the next character of a word broken in two) it is two.
    int differences = 0;
    if (c.Compare == TCompare::Rows) {
      for (std::size_t k = 0; k < layout.Rows.size(); ++k) {
        const TcxTextRow& row = layout.Rows[k];
        if (row.TextLength == 0) continue;
        const std::size_t start = static_cast<std::size_t>(row.StartOffset);
        const std::size_t rowEnd = start + static_cast<std::size_t>(row.TextLength);
        std::size_t after = rowEnd;
        while (after < text.size() && IsBlankChar(text[after])) ++after;
        const bool lineEnds = after >= text.size() || text[after] == L'\r' || text[after] == L'\n';
        std::size_t unitEnd = after;
        if (!lineEnds) {
          const bool brokenWord = after == rowEnd && rowEnd > start && !IsBlankChar(text[rowEnd - 1]);
          unitEnd = brokenWord ? after + 1
                               : static_cast<std::size_t>(GetNextWordBreak(0, text.c_str() + after, text.c_str() + text.size()) -
                                                          text.c_str());
        }
        // The rows where the engine's rules part from DrawTextW's.
        String trimmed = row.ToString();
        while (!trimmed.empty() && IsBlankChar(trimmed.back())) trimmed.pop_back();
        const bool severalWords = trimmed.find_first_of(L" \t") != String::npos;
        const bool blankOverflows =
            severalWords && rowEnd < text.size() && text[rowEnd] == L' ' &&
            surface.SystemRect(text.substr(start, rowEnd + 1 - start), 0, lineFlags).Width() > width;
        const bool tabBreak = text.substr(start, after - start).back() == L'\t' ||
                              text.substr(rowEnd, after - rowEnd).find(L'\t') != String::npos;
        const char* reason = blankOverflows ? BlankAfterTheEdge : (tabBreak && c.OnPurpose == BreakAtTab) ? BreakAtTab : nullptr;
        if (reason) {
          std::printf("  [on purpose] %ls, %s, row %zu: %s\n", GetParam(), c.Name, k + 1, reason);
          ++differences;
          continue;
        }
        EXPECT_EQ(surface.SystemRows(row.ToString(), width, c.SystemFlags), 1)
            << "row " << k + 1 << " [" << Visible(row.ToString()) << "] is more than one row for DrawTextW";
        if (!lineEnds) {
          EXPECT_EQ(surface.SystemRows(text.substr(start, unitEnd - start), width, c.SystemFlags), 2)
              << "row " << k + 1 << " [" << Visible(row.ToString()) << "] with what follows";
        }
      }
      if (c.OnPurpose) {
        EXPECT_GT(differences, 0) << "the case shows: " << c.OnPurpose;
      }
    }

    // As many rows, and the widest as wide (a row's width takes its blanks
    // along, on both sides).
    if (differences == 0) {
      EXPECT_EQ(static_cast<int>(layout.Rows.size()) * surface.LineHeight(), system.Height());
      EXPECT_EQ(GetMaxTextRowWidth(ToRows(layout), static_cast<int>(layout.Rows.size())), system.Width());
      // And drawn where the engine places them, the rows are DrawTextW's picture.
      if (c.Compare == TCompare::Rows) {
        const TSize band(width, system.Height());
        EXPECT_EQ(EnginePicture(surface, text, c.EngineFlags, band), SystemPicture(surface, original, c.SystemFlags, band));
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Fonts, LayoutAgainstDrawText, testing::Values(L"Tahoma", L"MS Sans Serif", L"DejaVu Sans"),
                         [](const testing::TestParamInfo<const wchar_t*>& AInfo) {
                           String name = AInfo.param;
                           std::string result;
                           for (wchar_t c : name)
                             if (c != L' ') result += static_cast<char>(c);
                           return result;
                         });

}  // namespace
