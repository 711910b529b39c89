// Text editor layout: the text rectangle, text flags, measured sizes against
// GDI's own measures, the hint over clipped text, the base line from the
// font's metrics and letter case by the locale.
#include "library/editors/text/cxTextEdit.h"

#include "tests/library_graphics/GdiCanvasTesting.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Properties that answer the editing style a test sets, as a combo box's
// list style will.
class TLayoutStyleTextProperties : public TcxCustomTextEditProperties {
  SK_CLASS(TLayoutStyleTextProperties, TcxCustomTextEditProperties)
 public:
  TcxEditEditingStyle GetEditingStyle() override { return EditingStyle; }
  TClass GetViewDataClassType() override { return TcxCustomTextEditViewData::ClassInfo(); }
  TClass GetViewInfoClass() override { return TcxCustomTextEditViewInfo::ClassInfo(); }
  TcxEditEditingStyle EditingStyle = esEdit;
};

class TLayoutStyleTextEdit : public TcxCustomTextEdit {
  SK_CLASS(TLayoutStyleTextEdit, TcxCustomTextEdit)
 public:
  TClass GetPropertiesClass() override { return TLayoutStyleTextProperties::ClassInfo(); }
  TLayoutStyleTextProperties* TestProperties() {
    return static_cast<TLayoutStyleTextProperties*>(ActiveProperties());
  }
};

// The main window's look: ultra-flat, not native, standalone.
struct TTextLayoutFixture {
  TOwned<TLayoutStyleTextEdit> Edit{New<TLayoutStyleTextEdit>(nullptr)};
  TCanvasOnSurface Canvas{300, 60};
  TOwned<TcxCustomTextEditViewData> ViewData;
  TOwned<TcxCustomTextEditViewInfo> ViewInfo{New<TcxCustomTextEditViewInfo>()};

  explicit TTextLayoutFixture(TcxEditEditingStyle AStyle = esEdit, bool AIsInplace = false) {
    Edit->Style()->LookAndFeel()->SetKind(lfUltraFlat);
    Edit->Style()->LookAndFeel()->SetNativeStyle(false);
    Edit->Style()->SetBorderStyle(ebsUltraFlat);
    Edit->TestProperties()->EditingStyle = AStyle;
    MakeViewData(AIsInplace);
  }
  void MakeViewData(bool AIsInplace) {
    TOwned<TcxCustomEditViewData> data = Edit->ActiveProperties()->CreateViewData(Edit->Style(), AIsInplace);
    ViewData.reset(dynamic_cast<TcxCustomTextEditViewData*>(data.release()));
    ViewData->SetEdit(Edit.get());
  }
  TcxCustomTextEditViewInfo* Calculate(const TRect& ABounds = TRect(0, 0, 121, 21)) {
    ViewData->Calculate(Canvas.Get(), ABounds, TPoint(-1, -1), cxmbNone, {}, ViewInfo.get(), false);
    return ViewInfo.get();
  }
  TEXTMETRICW Metrics() const {
    TPixelSurface surface(1, 1);
    const TSelectObject font(surface.DC(), Edit->Style()->GetVisibleFont()->Handle());
    TEXTMETRICW result{};
    GetTextMetricsW(surface.DC(), &result);
    return result;
  }
  TSize Extent(const String& AText) const {
    TPixelSurface surface(1, 1);
    const TSelectObject font(surface.DC(), Edit->Style()->GetVisibleFont()->Handle());
    SIZE result{};
    GetTextExtentPoint32W(surface.DC(), AText.c_str(), static_cast<int>(AText.size()), &result);
    return TSize(result.cx, result.cy);
  }
  // DrawTextW's height for AText wrapped at AWidth.
  int WrappedHeight(const String& AText, int AWidth) const {
    TPixelSurface surface(1, 1);
    const TSelectObject font(surface.DC(), Edit->Style()->GetVisibleFont()->Handle());
    RECT R{0, 0, AWidth, 0};
    DrawTextW(surface.DC(), AText.c_str(), static_cast<int>(AText.size()), &R,
              DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
    return R.bottom - R.top;
  }
};

}  // namespace

// ---------------------------------------------------------------------------
// Text rectangle and flags

TEST(cxTextEditViewDataLayout, ListStylesMoveTheTextOnePixelDownAndAwayFromTheAlignedEdge) {
  struct Row {
    const char* Name;
    TcxEditEditingStyle Style;
    TAlignment Alignment;
    TRect Move;  // added to the plain editor's text rectangle
  };
  const Row rows[] = {
      {"edit, left", esEdit, taLeftJustify, TRect(0, 0, 0, 0)},
      {"edit list, right", esEditList, taRightJustify, TRect(0, 0, 0, 0)},
      {"fixed list, left", esFixedList, taLeftJustify, TRect(1, 1, 0, 1)},
      {"fixed list, right", esFixedList, taRightJustify, TRect(0, 1, -1, 1)},
      {"fixed list, centre", esFixedList, taCenter, TRect(1, 1, 0, 1)},
      {"no edit, right", esNoEdit, taRightJustify, TRect(0, 1, -1, 1)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    TTextLayoutFixture plain(esEdit), list(row.Style);
    plain.Edit->ActiveProperties()->Alignment()->SetHorz(row.Alignment);
    list.Edit->ActiveProperties()->Alignment()->SetHorz(row.Alignment);
    plain.MakeViewData(false);
    list.MakeViewData(false);
    const TRect expected(plain.Calculate()->TextRect.Left + row.Move.Left, plain.ViewInfo->TextRect.Top + row.Move.Top,
                         plain.ViewInfo->TextRect.Right + row.Move.Right,
                         plain.ViewInfo->TextRect.Bottom + row.Move.Bottom);
    EXPECT_EQ(list.Calculate()->TextRect, expected);
    EXPECT_EQ(list.ViewInfo->EditingStyle, row.Style);
  }
}

TEST(cxTextEditViewDataLayout, InPlaceListsKeepTheContentOffsets) {
  TTextLayoutFixture plain(esEdit, true), list(esFixedList, true);
  EXPECT_EQ(list.Calculate()->TextRect, plain.Calculate()->TextRect);
}

TEST(cxTextEditViewDataLayout, ALowTextRectangleGrowsToOneLineButNotPastTheClientArea) {
  TTextLayoutFixture f;
  const int lineHeight = f.Metrics().tmHeight;
  struct Row {
    const char* Name;
    int Height;
  };
  for (const Row& row : {Row{"roomy", 40}, Row{"a line without its bottom offset", lineHeight + 4},
                         Row{"lower than a line", lineHeight - 4}, Row{"two pixels", 4}}) {
    SCOPED_TRACE(row.Name);
    const TcxCustomTextEditViewInfo* vi = f.Calculate(TRect(0, 0, 121, row.Height));
    const TRect offsets = f.ViewData->GetDrawTextOffset();
    const int top = vi->ClientRect.Top + offsets.Top;
    const int plainBottom = vi->ClientRect.Bottom - offsets.Bottom;
    const int expectedBottom =
        plainBottom - top >= lineHeight ? plainBottom : std::min<int>(vi->ClientRect.Bottom, top + lineHeight);
    EXPECT_EQ(vi->TextRect.Top, top);
    EXPECT_EQ(vi->TextRect.Bottom, expectedBottom);
    EXPECT_LE(vi->TextRect.Bottom, vi->ClientRect.Bottom);
  }
}

TEST(cxTextEditViewDataLayout, TextFlagsFollowTheAlignmentsAndTheReadingOrder) {
  struct Row {
    const char* Name;
    TAlignment Horz;
    TcxEditVertAlignment Vert;
    bool RightToLeftAlignment;
    bool RightToLeftReading;
    bool EndEllipsis;
    std::uint32_t Expected;
  };
  constexpr std::uint32_t base = cxtoSingleLine | cxtoPreventLeftExceed | cxtoPreventTopExceed;
  const Row rows[] = {
      {"left, centred (the text default)", taLeftJustify, taVCenter, false, false, false, base | cxtoLeft | cxtoCenterY},
      {"right, top", taRightJustify, taTopJustify, false, false, false, base | cxtoRight | cxtoTop},
      {"centre, bottom", taCenter, taBottomJustify, false, false, false, base | cxtoCenterX | cxtoBottom},
      {"left mirrored", taLeftJustify, taTopJustify, true, false, false, base | cxtoRight | cxtoTop},
      {"right mirrored", taRightJustify, taTopJustify, true, false, false, base | cxtoLeft | cxtoTop},
      {"centre stays when mirrored", taCenter, taTopJustify, true, true, false,
       base | cxtoCenterX | cxtoTop | cxtoRTLReading},
      {"end ellipsis", taLeftJustify, taTopJustify, false, false, true, base | cxtoTop | cxtoEndEllipsis},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    TTextLayoutFixture f;
    f.Edit->ActiveProperties()->Alignment()->SetHorz(row.Horz);
    f.Edit->ActiveProperties()->Alignment()->SetVert(row.Vert);
    f.MakeViewData(false);
    f.ViewData->UseRightToLeftAlignment = row.RightToLeftAlignment;
    f.ViewData->UseRightToLeftReading = row.RightToLeftReading;
    if (row.EndEllipsis) f.ViewData->PaintOptions.Include(epoShowEndEllipsis);
    EXPECT_EQ(f.Calculate()->DrawTextFlags, row.Expected);
  }
  TTextLayoutFixture f;
  EXPECT_EQ(f.Edit->ActiveProperties()->Alignment()->Vert(), taVCenter);
}

// ---------------------------------------------------------------------------
// Measured size

TEST(cxTextEditSize, AutomaticWidthIsTheTextExtentPlusTheCorrections) {
  struct Row {
    const char* Name;
    TcxEditEditingStyle Style;
    bool Inplace;
    bool AddWidthCorrection;
    int ListPixel;
  };
  const Row rows[] = {
      {"plain editor", esEdit, false, true, 0},
      {"edit list", esEditList, false, true, 0},
      {"standalone fixed list", esFixedList, false, true, 1},
      {"standalone no-edit", esNoEdit, false, true, 1},
      {"in-place fixed list", esFixedList, true, true, 0},
      {"fixed list without width correction", esFixedList, false, false, 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    TTextLayoutFixture f(row.Style, row.Inplace);
    const TSize C = f.ViewData->GetEditContentSizeCorrection();
    const TSize extent = f.Extent(L"9600");
    TcxEditSizeProperties size;
    size.Width = -1;
    const TSize measured = CalculateTextEditSize(f.Canvas.Get(), f.ViewData.get(), L"9600",
                                                 f.ViewData->GetDrawTextFlags(), size, 0, row.AddWidthCorrection);
    EXPECT_EQ(measured.cx, extent.cx + row.ListPixel + (row.AddWidthCorrection ? C.cx : 0));
    EXPECT_EQ(measured.cy, extent.cy + C.cy);
  }
}

TEST(cxTextEditSize, FixedWidthGivesTheWrappedRowsOrTheAskedLines) {
  TTextLayoutFixture f;
  const TSize C = f.ViewData->GetEditContentSizeCorrection();
  const int line = f.Metrics().tmHeight;
  const String items = L"9600 14400 19200 28800 38400 56000 57600 115200";
  const std::uint32_t flags = f.ViewData->GetDrawTextFlags();
  struct Row {
    const char* Name;
    int Width;
    String Text;
    int LineCount;
    bool AllowZeroHeight;
    TSize Expected;
  };
  const int narrow = f.Extent(L"115200 ").cx + 2;
  const Row rows[] = {
      {"empty text, zero height allowed", 50, L"", 0, true, TSize(50, 0)},
      {"empty text", 50, L"", 0, false, TSize(50, line + C.cy)},
      {"two lines asked", 50, L"9600", 2, false, TSize(50, 2 * line + C.cy)},
      {"one row", 200, L"9600", 0, false, TSize(200, line + C.cy)},
      {"wrapped rows", narrow, items, 0, false, TSize(narrow, f.WrappedHeight(items, narrow) + C.cy)},
      {"no room left", 0, L"9600", 0, true, TSize(0, line + C.cy)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    f.ViewData->PaintOptions = row.AllowZeroHeight ? TcxEditPaintOptions{epoAllowZeroHeight} : TcxEditPaintOptions{};
    TcxEditSizeProperties size;
    size.Width = row.Width;
    EXPECT_EQ(CalculateTextEditSize(f.Canvas.Get(), f.ViewData.get(), row.Text, flags, size, row.LineCount, true),
              row.Expected);
  }
}

TEST(cxTextEditSize, AutomaticWidthOfSeveralLinesIsTheWidestLineByTheirCount) {
  TTextLayoutFixture f;
  const TSize C = f.ViewData->GetEditContentSizeCorrection();
  const int line = f.Metrics().tmHeight;
  TcxEditSizeProperties size;
  size.Width = -1;
  const std::uint32_t flags = f.ViewData->GetDrawTextFlags() & ~cxtoSingleLine;
  EXPECT_EQ(CalculateTextEditSize(f.Canvas.Get(), f.ViewData.get(), L"9600\r\n115200", flags, size, 0, false),
            TSize(f.Extent(L"115200").cx, 2 * line + C.cy));
  EXPECT_EQ(CalculateTextEditSize(f.Canvas.Get(), f.ViewData.get(), L"9600", flags, size, 3, false),
            TSize(f.Extent(L"9600").cx, 3 * line + C.cy));
}

TEST(cxTextEditSize, TheEditSizeOfAValueHoldsItsText) {
  TTextLayoutFixture f(esFixedList);
  TcxEditSizeProperties size;
  size.Width = -1;
  const TSize content = f.ViewData->GetEditContentSize(f.Canvas.Get(), Variant(String(L"115200")), size);
  const TSize C = f.ViewData->GetEditContentSizeCorrection();
  EXPECT_EQ(content, TSize(f.Extent(L"115200").cx + 1 + C.cx, f.Extent(L"115200").cy + C.cy));
}

// ---------------------------------------------------------------------------
// Hint over clipped text

TEST(cxTextEditViewInfoHint, OnlyTextThatDoesNotFitUnderThePointerAsksForAHint) {
  TTextLayoutFixture f;
  const String longText = L"9600 14400 19200 28800 38400 56000 57600 115200";
  struct Row {
    const char* Name;
    String Text;
    TPoint Point;
    TRect VisibleBounds;
    bool Expected;
  };
  const Row rows[] = {
      {"short text", L"9600", TPoint(10, 10), TRect(), false},
      {"long text", longText, TPoint(10, 10), TRect(), true},
      {"long text, pointer on the frame", longText, TPoint(0, 0), TRect(), false},
      {"short text in a narrow visible part", L"115200", TPoint(5, 10), TRect(0, 0, 12, 21), true},
      {"short text, pointer outside the visible part", L"115200", TPoint(40, 10), TRect(0, 0, 12, 21), false},
      {"empty text", L"", TPoint(10, 10), TRect(), false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    TcxCustomTextEditViewInfo* vi = f.Calculate();
    vi->Text = row.Text;
    String text = L"stale";
    bool multiLine = true;
    TRect textRect;
    EXPECT_EQ(vi->NeedShowHint(f.Canvas.Get(), row.Point, row.VisibleBounds, text, multiLine, textRect), row.Expected);
    EXPECT_EQ(text, row.Text);
    EXPECT_FALSE(multiLine);
    EXPECT_EQ(textRect, vi->TextRect);
  }
}

TEST(cxTextEditViewInfoHint, TheHintRectangleIsTheTextRectangleAtTheEditorsPlace) {
  TTextLayoutFixture f;
  const TRect bounds(30, 40, 151, 61);
  f.ViewData->CalculateEx(f.Canvas.Get(), bounds, TPoint(-1, -1), cxmbNone, {}, f.ViewInfo.get(), false);
  TcxCustomTextEditViewInfo* vi = f.ViewInfo.get();
  vi->Text = L"9600 14400 19200 28800 38400 56000 57600 115200";
  String text;
  bool multiLine = false;
  TRect textRect;
  ASSERT_TRUE(vi->NeedShowHint(f.Canvas.Get(), TPoint(40, 50), TRect(), text, multiLine, textRect));
  TRect expected = vi->TextRect;
  expected.Offset(30, 40);
  EXPECT_EQ(textRect, expected);
}

// ---------------------------------------------------------------------------
// Base line

TEST(cxTextEditViewInfoBaseLine, TheBaseLineFollowsTheVerticalAlignmentAndTheFontsMetrics) {
  TTextLayoutFixture f;
  const TEXTMETRICW tm = f.Metrics();
  for (const TcxEditVertAlignment alignment : {taTopJustify, taBottomJustify, taVCenter}) {
    SCOPED_TRACE(static_cast<int>(alignment));
    f.Edit->ActiveProperties()->Alignment()->SetVert(alignment);
    f.MakeViewData(false);
    const TcxCustomTextEditViewInfo* vi = f.Calculate(TRect(0, 0, 121, 40));
    const TRect& R = vi->TextRect;
    const int expected = alignment == taTopJustify      ? R.Top + tm.tmAscent + 1
                         : alignment == taBottomJustify ? R.Bottom - tm.tmDescent + 1
                                                        : R.Top + (R.Height() - tm.tmHeight) / 2 + tm.tmAscent + 1;
    EXPECT_EQ(f.ViewInfo->GetTextBaseLine(), expected);
  }
}

// ---------------------------------------------------------------------------
// Letter case

TEST(cxTextEditCharCase, TheCaseIsTheLocalesOwn) {
  const String texts[] = {L"", L"com3", L"COM3", L"Ärger über Öl", L"straße", L"ΣΊΣΥΦΟΣ σίσυφος", L"ǅungla", L"ıi İI"};
  for (const String& text : texts) {
    for (const TEditCharCase charCase : {ecNormal, ecUpperCase, ecLowerCase}) {
      SCOPED_TRACE(std::to_string(static_cast<int>(charCase)));
      String expected = text;
      if (charCase != ecNormal && !text.empty()) {
        const DWORD map = charCase == ecUpperCase ? LCMAP_UPPERCASE : LCMAP_LOWERCASE;
        expected.resize(text.size() * 3);
        const int n = LCMapStringW(LOCALE_USER_DEFAULT, map, text.c_str(), static_cast<int>(text.size()),
                                   expected.data(), static_cast<int>(expected.size()));
        ASSERT_GT(n, 0);
        expected.resize(static_cast<std::size_t>(n));
      }
      String actual = text;
      ApplyCharCase(actual, charCase);
      EXPECT_EQ(actual, expected);
    }
  }
  String upper = L"com3";
  ApplyCharCase(upper, ecUpperCase);
  EXPECT_EQ(upper, L"COM3");
}
