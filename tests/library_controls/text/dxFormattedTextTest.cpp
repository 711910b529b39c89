#include "library/controls/text/dxFormattedText.h"

#include "platform/classes/ClassErrors.h"
#include "platform/runtime/TextFiles.h"
#include "tests/support/Pixels.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <tuple>
#include <sstream>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Helpers

// Runs as (class, action, start, length); a text of one plain run by default.
void SetRuns(TdxFormattedText* AText, const String& AValue,
             std::initializer_list<std::tuple<TClass, TdxFormattedTextRunAction, int, int>> ARuns = {}) {
  AText->SetText(AValue);
  AText->InternalRuns().Clear();
  if (ARuns.size() == 0) {
    AText->InternalRuns().Add(New<TdxFormattedTextRun>(AText, traOpen, 0, static_cast<int>(AValue.size())));
    return;
  }
  for (const auto& [cls, action, start, length] : ARuns) {
    auto* run = static_cast<TdxFormattedTextRun*>(cls->NewInstance());
    run->Create(AText, action, start, length);
    run->AfterConstruction();
    AText->InternalRuns().Add(run);
  }
}

TOwned<TFont> MakeFont(const wchar_t* AFace, int AHeight) {
  TOwned<TFont> font(New<TFont>());
  font->SetName(AFace);
  font->SetHeight(AHeight);
  font->SetColor(clBlack);
  return font;
}

// A row as text: text boxes as they are, spaces and tabs as characters,
// trailing blanks dropped.
String RowText(const TdxFormattedTextLayoutRow* ARow) {
  String result;
  for (int i = 0; i < ARow->Count(); ++i) {
    const TdxFormattedTextLayoutBox* box = ARow->Items(i);
    switch (box->GetKind()) {
      case TdxFormattedTextBoxKind::Text:
        result += static_cast<const TdxFormattedTextTextLayoutBox*>(box)->Text();
        break;
      case TdxFormattedTextBoxKind::Space:
        result += String(static_cast<std::size_t>(static_cast<const TdxFormattedTextSpaceLayoutBox*>(box)->Count()), L' ');
        break;
      case TdxFormattedTextBoxKind::Tab:
        result += String(static_cast<std::size_t>(static_cast<const TdxFormattedTextSpaceLayoutBox*>(box)->Count()), L'\t');
        break;
      default:
        break;
    }
  }
  while (!result.empty() && (result.back() == L' ' || result.back() == L'\t')) result.pop_back();
  return result;
}

std::vector<String> Rows(const TdxFormattedText& AText) {
  std::vector<String> rows;
  for (int i = 0; i < AText.Layout()->Count(); ++i) rows.push_back(RowText(AText.Layout()->Items(i)));
  return rows;
}

// The paragraphs of Debian's GPL-3, each in one line with single spaces.
std::vector<String> GplParagraphs() {
  std::ifstream file("Z:\\usr\\share\\common-licenses\\GPL-3");
  std::vector<String> result;
  String paragraph;
  std::string line;
  const auto flush = [&] {
    if (!paragraph.empty()) result.push_back(paragraph);
    paragraph.clear();
  };
  while (std::getline(file, line)) {
    std::istringstream words(line);
    std::string word;
    bool any = false;
    while (words >> word) {
      any = true;
      if (!paragraph.empty()) paragraph += L' ';
      paragraph += String(word.begin(), word.end());
    }
    if (!any) flush();
  }
  flush();
  return result;
}

std::vector<String> SplitWords(const String& AText) {
  std::vector<String> words;
  std::wistringstream in(AText);
  String word;
  while (in >> word) words.push_back(word);
  return words;
}

// DrawTextW's lines of a paragraph: the longest run of words from each
// line's first word that DrawTextW itself lays out in one line.
std::vector<String> DrawTextLines(HDC DC, const String& AParagraph, int AWidth) {
  const std::vector<String> words = SplitWords(AParagraph);
  TEXTMETRICW tm{};
  GetTextMetricsW(DC, &tm);
  const auto oneLine = [&](std::size_t AFrom, std::size_t ACount) {
    String text;
    for (std::size_t i = 0; i < ACount; ++i) text += (i ? L" " : L"") + words[AFrom + i];
    RECT r{0, 0, AWidth, 0};
    DrawTextW(DC, text.c_str(), static_cast<int>(text.size()), &r, DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
    return std::make_pair(r.bottom - r.top <= tm.tmHeight, text);
  };
  std::vector<String> lines;
  for (std::size_t at = 0; at < words.size();) {
    std::size_t count = 1;
    String line = words[at];
    while (at + count < words.size()) {
      const auto [fits, text] = oneLine(at, count + 1);
      if (!fits) break;
      line = text;
      ++count;
    }
    lines.push_back(line);
    at += count;
  }
  return lines;
}

// Paints its characters on yellow.
class TBackgroundRun : public TdxFormattedTextRun {
  SK_CLASS(TBackgroundRun, TdxFormattedTextRun)
 public:
  void ApplyStyle(TdxFormattedTextCharacterProperties& AStyle) const override { AStyle.BackgroundColor = clYellow; }
};

class FormattedText : public testing::Test {
 protected:
  TOwned<TdxFormattedText> FText{New<TdxFormattedText>()};
  TPixelSurface FSurface{640, 200};

  void Layout(const TFont* AFont, const TRect& ABounds, std::uint32_t AFormat) {
    FText->CalculateLayout(FSurface.DC(), const_cast<TFont*>(AFont), ABounds, AFormat);
  }
  TdxFormattedTextLayoutBox* Box(int ARow, int ABox) const { return FText->Layout()->Items(ARow)->Items(ABox); }
};

// ---------------------------------------------------------------------------
// The model

class TAcceptingConverter : public TdxFormattedTextConverter {
 public:
  bool Accept = true;
  bool CanImport(const String&) const override { return Accept; }
  void Import(TdxFormattedText* ATarget, const String& ASource, TFont*) const override {
    ATarget->SetText(L"<" + ASource + L">");
  }
};

TEST_F(FormattedText, PlainImportAndExport) {
  ASSERT_EQ(TdxFormattedTextConverters::Count(), 1);
  const String source = L"any <b>string</b>\r\n\twith tabs";
  FText->Import(source, nullptr);
  EXPECT_EQ(FText->Text(), source);
  EXPECT_EQ(FText->Runs().Count(), 0);
  EXPECT_EQ(FText->InternalRuns().Count(), 0);
  EXPECT_EQ(FText->Export(TdxFormattedTextConverter::PlainText(), nullptr), source);
  FText->Import(Variant(42), nullptr);
  EXPECT_EQ(FText->Text(), L"42");
}

TEST_F(FormattedText, TheLastConverterThatAcceptsImports) {
  TAcceptingConverter converter;
  TdxFormattedTextConverters::Register(&converter);
  FText->Import(String(L"x"), nullptr);
  EXPECT_EQ(FText->Text(), L"<x>");
  converter.Accept = false;
  FText->Import(String(L"x"), nullptr);
  EXPECT_EQ(FText->Text(), L"x");
  TdxFormattedTextConverters::Unregister(&converter);
  EXPECT_EQ(TdxFormattedTextConverters::Count(), 1);
}

TEST_F(FormattedText, RunStackAndStyles) {
  SetRuns(FText.get(), L"abcdef",
          {{TdxFormattedTextURLRun::ClassInfo(), traOpen, 0, 2},
           {TdxFormattedTextURLRun::ClassInfo(), traOpen, 2, 2},
           {TdxFormattedTextURLRun::ClassInfo(), traClose, 4, 2}});
  TdxFormattedTextRuns& runs = FText->InternalRuns();
  TdxFormattedTextRunStack stack;
  for (int i = 0; i < runs.Count(); ++i) stack.ProcessRun(runs.Items(i));
  ASSERT_EQ(stack.Count(), 1);
  EXPECT_EQ(stack.Items(0), runs.Items(0));
  // A closing run of another class removes nothing.
  TOwned<TdxFormattedTextRun> plainClose(New<TdxFormattedTextRun>(FText.get(), traClose, 0, 0));
  stack.ProcessRun(plainClose.get());
  EXPECT_EQ(stack.Count(), 1);

  TdxFormattedTextCharacterProperties style;
  style.FontColor = clBlack;
  stack.CalculateStyle(style);
  EXPECT_EQ(style.FontColor, TColor(0x00FF0000));
  EXPECT_TRUE(style.FontStyle.Contains(fsUnderline));
  static_cast<TdxFormattedTextURLRun*>(runs.Items(0))->SetColor(clRed);
  stack.CalculateStyle(style);
  EXPECT_EQ(style.FontColor, clRed);

  EXPECT_EQ(runs.ExtractURLText(runs.Items(0)), L"abcd");
  EXPECT_EQ(runs.ExtractURLText(runs.Items(2)), L"");
  EXPECT_EQ(runs.Items(1)->Text(), L"cd");
  TOwned<TdxFormattedTextRun> clone(runs.Items(0)->Clone());
  EXPECT_EQ(clone->ClassType(), TdxFormattedTextURLRun::ClassInfo());
  EXPECT_EQ(static_cast<TdxFormattedTextURLRun*>(clone.get())->Color(), clRed);
  EXPECT_EQ(clone->TextFinish(), 2);
  EXPECT_THROW(runs.Items(3), EListError);
}

TEST_F(FormattedText, DisplayTextAndFormatting) {
  EXPECT_FALSE(FText->HasFormatting());
  FText->SetText(L"Hello world");
  FText->Runs().Add(New<TdxFormattedTextRun>(FText.get(), traOpen, 0, 6));
  EXPECT_FALSE(FText->HasFormatting());
  FText->Runs().Add(New<TdxFormattedTextRun>(FText.get(), traClose, 6, 5));
  EXPECT_TRUE(FText->HasFormatting());
  EXPECT_EQ(FText->GetDisplayText(), L"Hello world");
  EXPECT_THROW(FText->GetUrl(0), EListError);
  EXPECT_EQ(FText->GetBaseLine(3), 0);
}

// ---------------------------------------------------------------------------
// Layout against DrawTextW

TEST_F(FormattedText, PlacementWidthsEqualTheTextExtentInTheTestFace) {
  const auto font = MakeFont(L"DejaVu Sans Mono", -13);
  SetRuns(FText.get(), L"placement widths");
  Layout(font.get(), TRect(0, 0, 600, 100), cxtoWordBreak);
  const TdxFormattedTextLayoutBox* box = Box(0, 0);
  const TSelectObject selected(FSurface.DC(), box->FontInfo()->GdiFontHandle());
  SIZE size{};
  GetTextExtentPoint32W(FSurface.DC(), L"placement", 9, &size);
  EXPECT_EQ(box->Bounds().Width(), size.cx);
}

TEST_F(FormattedText, RowBreaksEqualDrawTextWordBreak) {
  const std::vector<String> paragraphs = GplParagraphs();
  ASSERT_GT(paragraphs.size(), 100u);
  for (const wchar_t* face : {L"DejaVu Sans Mono", L"Tahoma"}) {
    const auto font = MakeFont(face, -13);
    for (int width = 80; width <= 600; width += 65) {
      for (std::size_t p = 0; p < paragraphs.size(); p += 7) {
        SCOPED_TRACE(testing::Message() << face << " width " << width << " paragraph " << p);
        SetRuns(FText.get(), paragraphs[p]);
        Layout(font.get(), TRect(0, 0, width, 100000), cxtoWordBreak);
        const TSelectObject selected(FSurface.DC(), Box(0, 0)->FontInfo()->GdiFontHandle());
        const std::vector<String> expected = DrawTextLines(FSurface.DC(), paragraphs[p], width);
        ASSERT_EQ(Rows(*FText), expected);
      }
    }
  }
}

TEST_F(FormattedText, EndEllipsisKeepsDrawTextsPrefix) {
  const auto font = MakeFont(L"Tahoma", -13);
  const String text = L"An end ellipsis cuts this single line of text";
  for (int width : {40, 77, 120, 181, 230}) {
    SCOPED_TRACE(width);
    SetRuns(FText.get(), text);
    Layout(font.get(), TRect(0, 0, width, 50), cxtoSingleLine | cxtoEndEllipsis);
    const String row = RowText(FText->Layout()->Items(0));
    ASSERT_GE(row.size(), 3u);
    ASSERT_EQ(row.substr(row.size() - 3), L"...");
    const TSelectObject selected(FSurface.DC(), Box(0, 0)->FontInfo()->GdiFontHandle());
    std::vector<wchar_t> buffer(text.begin(), text.end());
    buffer.resize(text.size() + 8, 0);
    RECT r{0, 0, width, 50};
    DrawTextW(FSurface.DC(), buffer.data(), static_cast<int>(text.size()), &r,
              DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING | DT_NOPREFIX);
    String drawn(buffer.data());
    ASSERT_EQ(drawn.substr(drawn.size() - 3), L"...");
    const int expected = static_cast<int>(drawn.size()) - 3;
    const int ours = static_cast<int>(row.size()) - 3;
    EXPECT_LE(std::abs(ours - expected), 1) << row << " / " << drawn;
  }
}

// ---------------------------------------------------------------------------
// Pixels

// The first column with ink, drawn by ADraw on a white surface.
int FirstInkColumn(const std::function<void(HDC)>& ADraw) {
  TPixelSurface surface(400, 40);
  ADraw(surface.DC());
  return surface.BoundsOfOther(RGB(255, 255, 255)).Left;
}

TEST_F(FormattedText, CentredAndRightRowsSitWhereDrawTextPutsThem) {
  const auto font = MakeFont(L"Liberation Sans", -15);
  const String text = L"Aligned row";
  for (const auto& [ours, system] : {std::pair{cxtoCenterX, DT_CENTER}, std::pair{cxtoRight, DT_RIGHT}}) {
    SetRuns(FText.get(), text);
    Layout(font.get(), TRect(0, 0, 333, 40), cxtoSingleLine | ours);
    const HFONT handle = Box(0, 0)->FontInfo()->GdiFontHandle();
    const int layout = FirstInkColumn([&](HDC DC) { FText->Draw(DC, TPoint(0, 0)); });
    const int drawText = FirstInkColumn([&](HDC DC) {
      const TSelectObject selected(DC, handle);
      SetBkMode(DC, TRANSPARENT);
      RECT r{0, 0, 333, 40};
      DrawTextW(DC, text.c_str(), -1, &r, DT_SINGLELINE | system);
    });
    EXPECT_LE(std::abs(layout - drawText), 1) << "flags " << ours;
  }
}

TEST_F(FormattedText, GlyphRunDrawsTheStringsPixels) {
  // A face without kerning: its placement advances are the string's.
  const auto font = MakeFont(L"DejaVu Sans Mono", -16);
  SetRuns(FText.get(), L"Glyphs,drawn");
  Layout(font.get(), TRect(0, 0, 300, 40), cxtoSingleLine);
  TPixelSurface ours(300, 40);
  FText->Draw(ours.DC(), TPoint(3, 2));
  const TdxFormattedTextLayoutBox* box = Box(0, 0);
  const TdxFontInfo* info = box->FontInfo();
  TPixelSurface system(300, 40);
  {
    SIZE extent{};
    const TSelectObject measured(system.DC(), info->GdiFontHandle());
    GetTextExtentPoint32W(system.DC(), L"Glyphs,drawn", 12, &extent);
    ASSERT_EQ(box->Bounds().Width(), extent.cx);
  }
  {
    const TSelectObject selected(system.DC(), info->GdiFontHandle());
    SetBkMode(system.DC(), TRANSPARENT);
    SetTextColor(system.DC(), RGB(0, 0, 0));
    // The same top as the layout's: its free space above, less the offsets
    // that put GDI's ascent on the layout's baseline.
    const int top = 2 + box->Bounds().Top + info->Free() - info->GdiOffset() - info->DrawingOffset();
    ExtTextOutW(system.DC(), 3 + box->Bounds().Left, top, 0, nullptr, L"Glyphs,drawn", 12, nullptr);
  }
  ASSERT_GT(ours.CountOther(ours.ClientRect(), RGB(255, 255, 255)), 20);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 300; ++x) ASSERT_EQ(ours.Pixel(x, y), system.Pixel(x, y)) << x << "," << y;
}

TEST_F(FormattedText, TabsLandOnTheirStops) {
  const auto font = MakeFont(L"DejaVu Sans Mono", -13);
  SetRuns(FText.get(), L"ab\t\tc\td");
  Layout(font.get(), TRect(0, 0, 600, 40), cxtoSingleLine | cxtoExpandTabs);
  const TdxFormattedTextLayoutRow* row = FText->Layout()->Items(0);
  ASSERT_EQ(RowText(row), L"ab\t\tc\td");
  // "ab" is 16 pixels: two tabs end at 96, one more at 144.
  ASSERT_EQ(row->Items(0)->Bounds().Width(), 16);
  EXPECT_EQ(row->Items(2)->Bounds().Left, 96);
  EXPECT_EQ(row->Items(4)->Bounds().Left, 144);
  // DT_EXPANDTABS with a tab of six 8-pixel characters agrees.
  const TSelectObject selected(FSurface.DC(), row->Items(0)->FontInfo()->GdiFontHandle());
  RECT r{0, 0, 600, 40};
  DRAWTEXTPARAMS params{sizeof params, 6, 0, 0, 0};
  DrawTextExW(FSurface.DC(), const_cast<wchar_t*>(L"ab\t\tc"), -1, &r,
              DT_SINGLELINE | DT_EXPANDTABS | DT_TABSTOP | DT_CALCRECT, &params);
  EXPECT_EQ(r.right, row->Items(2)->Bounds().Right);
}

// ---------------------------------------------------------------------------
// Edge cases

TEST_F(FormattedText, EachLineBreakFormEndsOneRow) {
  const auto font = MakeFont(L"Tahoma", -13);
  for (const wchar_t* text : {L"one\r\ntwo", L"one\n\rtwo", L"one\rtwo", L"one\ntwo"}) {
    SetRuns(FText.get(), text);
    Layout(font.get(), TRect(0, 0, 200, 200), cxtoWordBreak);
    EXPECT_EQ(Rows(*FText), (std::vector<String>{L"one", L"two"}));
  }
  SetRuns(FText.get(), L"end\r\n");
  Layout(font.get(), TRect(0, 0, 200, 200), cxtoWordBreak);
  ASSERT_EQ(FText->Layout()->Count(), 2);
  EXPECT_EQ(Box(1, 0)->GetKind(), TdxFormattedTextBoxKind::Empty);
  // Two line breaks: an empty row between.
  SetRuns(FText.get(), L"a\n\nb");
  Layout(font.get(), TRect(0, 0, 200, 200), cxtoWordBreak);
  EXPECT_EQ(Rows(*FText), (std::vector<String>{L"a", L"", L"b"}));
}

TEST_F(FormattedText, BottomRowsStackUpFromTheBottom) {
  const auto font = MakeFont(L"Tahoma", -13);
  SetRuns(FText.get(), L"first\nsecond");
  Layout(font.get(), TRect(0, 0, 200, 100), cxtoWordBreak | cxtoBottom);
  const int height = Box(0, 0)->FontInfo()->LineSpacing();
  EXPECT_EQ(FText->Layout()->Items(0)->Bounds().Top, 100 - 2 * height);
  EXPECT_EQ(FText->Layout()->Items(1)->Bounds().Top, 100 - height);
}

TEST_F(FormattedText, JustifiedRowsReachTheRightEdgeExceptTheLastAndBrokenOnes) {
  const auto font = MakeFont(L"Tahoma", -13);
  SetRuns(FText.get(), L"justified text fills every row but the last one\nand rows ended by breaks");
  Layout(font.get(), TRect(0, 0, 150, 400), cxtoWordBreak | cxtoJustifyX);
  const TdxFormattedTextLayout* layout = FText->Layout();
  ASSERT_GE(layout->Count(), 4);
  for (int i = 0; i < layout->Count(); ++i) {
    const TdxFormattedTextLayoutRow* row = layout->Items(i);
    const bool brokenOrLast = i == layout->Count() - 1 ||
                              row->Items(row->Count() - 1)->GetKind() == TdxFormattedTextBoxKind::LineBreak;
    SCOPED_TRACE(RowText(row));
    EXPECT_EQ(row->TextAlignX(), brokenOrLast ? taLeft : taJustifyX);
    int lastText = row->Count() - 1;
    while (row->Items(lastText)->GetKind() != TdxFormattedTextBoxKind::Text) --lastText;
    if (!brokenOrLast)
      EXPECT_EQ(row->Items(lastText)->Bounds().Right, 150);
    else
      EXPECT_LT(row->Items(lastText)->Bounds().Right, 150);
  }
}

TEST_F(FormattedText, AWordMovesWithThePartsEarlierRunsPlaced) {
  const auto font = MakeFont(L"DejaVu Sans Mono", -13);
  // "bbb" ends the first run, "ccc" (a link) goes on the same word.
  SetRuns(FText.get(), L"aaa bbbccc",
          {{TdxFormattedTextRun::ClassInfo(), traOpen, 0, 7},
           {TdxFormattedTextURLRun::ClassInfo(), traOpen, 7, 3},
           {TdxFormattedTextURLRun::ClassInfo(), traClose, 10, 0}});
  // Room for "aaa bbbc" but not the whole word.
  Layout(font.get(), TRect(0, 0, 8 * 8, 200), cxtoWordBreak);
  EXPECT_EQ(Rows(*FText), (std::vector<String>{L"aaa", L"bbbccc"}));
  // The link's box went along: its record names row 1, box 1.
  ASSERT_EQ(FText->Layout()->Hyperlinks().size(), 1u);
}

TEST_F(FormattedText, EndEllipsisEndsTheLastVisibleRow) {
  const auto font = MakeFont(L"Tahoma", -13);
  SetRuns(FText.get(), L"many words that will never fit into two short rows of this box");
  Layout(font.get(), TRect(0, 0, 100, 2 * 16 + 4), cxtoWordBreak | cxtoEndEllipsis);
  const std::vector<String> rows = Rows(*FText);
  ASSERT_GE(rows.size(), 1u);
  EXPECT_EQ(rows.back().substr(rows.back().size() - 3), L"...");
  const TSize size = FText->TextSize();
  EXPECT_LE(size.cx, 100);
}

TEST_F(FormattedText, HyperlinkRecordsItsFirstRowBoxAndCount) {
  const auto font = MakeFont(L"Tahoma", -13);
  auto* url = static_cast<TdxFormattedTextURLRun*>(nullptr);
  SetRuns(FText.get(), L"see two words here",
          {{TdxFormattedTextRun::ClassInfo(), traOpen, 0, 4},
           {TdxFormattedTextURLRun::ClassInfo(), traOpen, 4, 9},
           {TdxFormattedTextURLRun::ClassInfo(), traClose, 13, 5}});
  url = static_cast<TdxFormattedTextURLRun*>(FText->InternalRuns().Items(1));
  url->SetHyperlink(L"https://example.invalid/");
  Layout(font.get(), TRect(0, 0, 400, 100), cxtoWordBreak);
  ASSERT_EQ(FText->Layout()->Hyperlinks().size(), 1u);
  const TdxFormattedTextHyperlinkData& link = FText->Layout()->Hyperlinks()[0];
  EXPECT_EQ(link.BeginRowIndex, 0);
  // "see" and its space are boxes 0 and 1: the link starts at box 2.
  EXPECT_EQ(link.BeginBoxIndex, 2);
  EXPECT_EQ(link.BoxCount, 3);
  EXPECT_EQ(FText->GetUrl(0), L"https://example.invalid/");
  // Blue and underlined; the hit test finds the link's boxes.
  const TdxFormattedTextLayoutBox* word = Box(0, 2);
  EXPECT_EQ(word->FontColor(), TColor(0x00FF0000));
  EXPECT_TRUE(word->Underline());
  EXPECT_TRUE(word->IsHyperlink());
  const TRect b = word->Bounds();
  EXPECT_EQ(FText->HitTest(TPoint(b.Left, b.Top)), word);
  EXPECT_EQ(FText->HitTest(TPoint(b.Right - 1, b.Bottom - 1)), word);
  EXPECT_FALSE(Box(0, 0)->IsHyperlink());
  EXPECT_EQ(FText->HitTest(TPoint(399, 99)), nullptr);
  EXPECT_EQ(FText->HitTest(TPoint(-1, 0)), nullptr);
  // The underline is drawn in the link's colour under the word.
  TPixelSurface surface(400, 40);
  FText->Draw(surface.DC(), TPoint(0, 0));
  const int underline = word->Bounds().Top + word->FontInfo()->AscentAndFree() + word->UnderlinePosition();
  EXPECT_EQ(surface.Count(TRect(b.Left, underline, b.Right, underline + word->UnderlineThickness()), RGB(0, 0, 255)),
            b.Width() * word->UnderlineThickness());
}

TEST_F(FormattedText, ABackgroundFillsTheGapToTheNextBox) {
  const auto font = MakeFont(L"Tahoma", -13);
  // The first run carries the default style: the background run comes second.
  SetRuns(FText.get(), L"gap test and more words",
          {{TdxFormattedTextRun::ClassInfo(), traOpen, 0, 0}, {TBackgroundRun::ClassInfo(), traOpen, 0, 23}});
  Layout(font.get(), TRect(0, 0, 400, 200), cxtoWordBreak);
  const int width = Box(0, 2)->Bounds().Right + 5;
  Layout(font.get(), TRect(0, 0, width, 200), cxtoWordBreak | cxtoJustifyX);
  const TdxFormattedTextLayoutRow* row = FText->Layout()->Items(0);
  ASSERT_EQ(RowText(row), L"gap test");
  // The justified row's last word sits at the right edge, away from the
  // widened space: the space box's background runs up to it.
  const TRect space = row->Items(1)->Bounds();
  const TRect last = row->Items(2)->Bounds();
  ASSERT_EQ(last.Right, width);
  TPixelSurface surface(100, 40);
  FText->Draw(surface.DC(), TPoint(0, 0));
  const TRect gap(space.Left, row->Bounds().Top, last.Left, row->Bounds().Bottom);
  EXPECT_EQ(surface.Count(gap, RGB(255, 255, 0)), gap.Width() * gap.Height());
  EXPECT_EQ(row->Items(0)->BackgroundColor(), clYellow);
}

TEST_F(FormattedText, LayoutIsKeptUntilTheTextOrDataChange) {
  const auto font = MakeFont(L"Tahoma", -13);
  SetRuns(FText.get(), L"kept layout");
  Layout(font.get(), TRect(0, 0, 300, 40), cxtoSingleLine);
  const TdxFormattedTextLayoutRow* row = FText->Layout()->Items(0);
  // Moving the bounds alone changes nothing.
  Layout(font.get(), TRect(50, 50, 350, 90), cxtoSingleLine);
  EXPECT_EQ(FText->Layout()->Items(0), row);
  Layout(font.get(), TRect(0, 0, 301, 40), cxtoSingleLine);
  EXPECT_NE(FText->Layout()->Count(), 0);
  // No runs: nothing is laid out.
  TOwned<TdxFormattedText> empty(New<TdxFormattedText>());
  empty->SetText(L"no runs");
  empty->CalculateLayout(FSurface.DC(), font.get(), TRect(0, 0, 100, 100), cxtoWordBreak);
  EXPECT_EQ(empty->Layout()->Count(), 0);
}

}  // namespace

namespace {

// No character of the text is laid out twice, whatever the flags and the
// room: with an end ellipsis the last visible row is laid out again.
TEST_F(FormattedText, NoCharacterIsInTwoBoxes) {
  const auto font = MakeFont(L"Tahoma", -13);
  const String texts[] = {L"one two\nthree four\n", L"a\n\nb c d e f\r\n", L"words and words\n\n\n",
                          L"x\ty\tz\nlong line of text\n"};
  const std::uint32_t formats[] = {cxtoWordBreak | cxtoEndEllipsis, cxtoEndEllipsis,
                                   cxtoWordBreak | cxtoEndEllipsis | cxtoEditControl,
                                   cxtoWordBreak | cxtoEndEllipsis | cxtoExpandTabs | cxtoCenterY};
  for (const String& text : texts)
    for (const std::uint32_t format : formats)
      for (int width = 10; width <= 130; width += 30)
        for (int height = 0; height <= 70; height += 5) {
          SetRuns(FText.get(), text);
          Layout(font.get(), TRect(0, 0, width, height), format);
          int characters = 0;
          for (int r = 0; r < FText->Layout()->Count(); ++r) {
            const String row = RowText(FText->Layout()->Items(r));
            const bool ellipsis = row.size() >= 3 && row.substr(row.size() - 3) == L"...";
            characters += static_cast<int>(row.size()) - (ellipsis ? 3 : 0);
          }
          ASSERT_LE(characters, static_cast<int>(text.size()))
              << "format " << format << " width " << width << " height " << height << " text " << text;
        }
}

}  // namespace
