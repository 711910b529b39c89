#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"

#include "library/core/base/dxCore.h"
#include "tests/library_lookandfeel/LookAndFeelTesting.h"

#include <gtest/gtest.h>

namespace {

using P = TcxCustomLookAndFeelPainter;

struct TColorRow {
  const char* Name;
  TColor (P::*Operation)();
  int SysColor;    // COLOR_xxx, or -1 for a fixed colour
  COLORREF Fixed;  // the fixed colour, or CLR_INVALID for clDefault
};

constexpr COLORREF DefaultMarker = CLR_INVALID;

// Each system colour is answered by its marker, which resolves to what the
// system reports now.
void ExpectColor(TColor AColor, const TColorRow& ARow) {
  if (ARow.SysColor >= 0) {
    EXPECT_EQ(AColor, SysColor(ARow.SysColor));
    EXPECT_EQ(ColorToColorRef(AColor), GetSysColor(ARow.SysColor));
  } else if (ARow.Fixed == DefaultMarker) {
    EXPECT_EQ(AColor, clDefault);
  } else {
    EXPECT_EQ(static_cast<COLORREF>(AColor), ARow.Fixed);
  }
}

#define ROW(op, sys, fixed) TColorRow{#op, &P::op, sys, fixed}
const TColorRow BaseColors[] = {
    ROW(DefaultContentColor, COLOR_WINDOW, 0),
    ROW(DefaultSchedulerBackgroundColor, COLOR_WINDOW, 0),
    ROW(DefaultDateNavigatorSeparator2Color, COLOR_WINDOW, 0),
    ROW(DefaultTabsBackgroundColor, COLOR_WINDOW, 0),
    ROW(DefaultContentTextColor, COLOR_WINDOWTEXT, 0),
    ROW(DefaultSchedulerTextColor, COLOR_WINDOWTEXT, 0),
    ROW(DefaultDateNavigatorTextColor, COLOR_WINDOWTEXT, 0),
    ROW(DefaultSchedulerViewTextColor, COLOR_WINDOWTEXT, 0),
    ROW(DefaultControlColor, COLOR_BTNFACE, 0),
    ROW(DefaultDateNavigatorHeaderColor, COLOR_BTNFACE, 0),
    ROW(DefaultFooterColor, COLOR_BTNFACE, 0),
    ROW(DefaultGridDetailsSiteColor, COLOR_BTNFACE, 0),
    ROW(DefaultGroupColor, COLOR_BTNFACE, 0),
    ROW(DefaultGroupByBoxTextColor, COLOR_BTNFACE, 0),
    ROW(DefaultHeaderColor, COLOR_BTNFACE, 0),
    ROW(DefaultHeaderBackgroundTextColor, COLOR_BTNFACE, 0),
    ROW(DefaultInactiveColor, COLOR_BTNFACE, 0),
    ROW(DefaultSizeGripAreaColor, COLOR_BTNFACE, 0),
    ROW(DefaultSchedulerControlColor, COLOR_BTNFACE, 0),
    ROW(DefaultSchedulerNavigatorColor, COLOR_BTNFACE, 0),
    ROW(DefaultSeparatorColor, COLOR_BTNFACE, 0),
    ROW(DefaultTabColor, COLOR_BTNFACE, 0),
    ROW(DefaultRootTabsBackgroundColor, COLOR_BTNFACE, 0),
    ROW(DefaultTimeGridMinorScaleColor, COLOR_BTNFACE, 0),
    ROW(DefaultControlTextColor, COLOR_BTNTEXT, 0),
    ROW(DefaultFixedSeparatorColor, COLOR_BTNTEXT, 0),
    ROW(DefaultFooterTextColor, COLOR_BTNTEXT, 0),
    ROW(DefaultGroupTextColor, COLOR_BTNTEXT, 0),
    ROW(DefaultGroupByBoxLineColor, COLOR_BTNTEXT, 0),
    ROW(DefaultHeaderTextColor, COLOR_BTNTEXT, 0),
    ROW(DefaultInactiveTextColor, COLOR_BTNTEXT, 0),
    ROW(DefaultTabTextColor, COLOR_BTNTEXT, 0),
    ROW(DefaultTimeGridMinorScaleTextColor, COLOR_BTNTEXT, 0),
    ROW(DefaultDateNavigatorSeparator1Color, COLOR_BTNSHADOW, 0),
    ROW(DefaultFilterBoxColor, COLOR_BTNSHADOW, 0),
    ROW(DefaultGridLineColor, COLOR_BTNSHADOW, 0),
    ROW(DefaultGroupByBoxColor, COLOR_BTNSHADOW, 0),
    ROW(DefaultHeaderBackgroundColor, COLOR_BTNSHADOW, 0),
    ROW(DefaultSchedulerTimeRulerBorderColorClassic, COLOR_BTNSHADOW, 0),
    ROW(DefaultChartPieDiagramSeriesSiteBorderColor, COLOR_BTNSHADOW, 0),
    ROW(DefaultChartToolBoxDataLevelInfoBorderColor, COLOR_BTNSHADOW, 0),
    ROW(DefaultChartToolBoxItemSeparatorColor, COLOR_BTNSHADOW, 0),
    ROW(DefaultFilterBoxTextColor, COLOR_BTNHIGHLIGHT, 0),
    ROW(DefaultDateNavigatorInactiveTextColor, COLOR_GRAYTEXT, 0),
    ROW(DefaultSelectionColor, COLOR_HIGHLIGHT, 0),
    ROW(DefaultDateNavigatorSelectionColor, COLOR_HIGHLIGHT, 0),
    ROW(DefaultSelectionTextColor, COLOR_HIGHLIGHTTEXT, 0),
    ROW(DefaultDateNavigatorSelectionTextColor, COLOR_HIGHLIGHTTEXT, 0),
    ROW(DefaultHotTrackColor, COLOR_GRADIENTINACTIVECAPTION, 0),
    ROW(DefaultSearchResultHighlightColor, -1, DefaultMarker),
    ROW(DefaultSearchResultHighlightTextColor, -1, DefaultMarker),
    ROW(DefaultVGridCategoryTextColor, -1, DefaultMarker),
    ROW(DefaultVGridLineColor, -1, RGB(0, 0, 0)),
    ROW(DefaultSchedulerSelectedEventBorderColor, -1, RGB(0, 0, 0)),
    ROW(DefaultTimeGridMajorScaleTextColor, -1, RGB(0, 0, 0)),
    ROW(DefaultChartDiagramValueBorderColor, -1, RGB(0, 0, 0)),
    ROW(DefaultChartDiagramValueCaptionTextColor, -1, RGB(0, 0, 0)),
    ROW(DefaultChartHistogramAxisColor, -1, RGB(0, 0, 0)),
    ROW(DefaultSchedulerViewContentColor, -1, RGB(255, 255, 255)),
    ROW(DefaultTimeGridMajorScaleColor, -1, RGB(255, 255, 255)),
    ROW(DefaultTimeGridSelectionBarColor, -1, RGB(255, 255, 255)),
    ROW(DefaultChartHistogramPlotColor, -1, RGB(255, 255, 255)),
    ROW(DefaultHyperlinkTextColor, -1, RGB(0, 0, 255)),
    ROW(DefaultPreviewTextColor, -1, RGB(0, 0, 255)),
    ROW(DefaultDateNavigatorHolydayTextColor, -1, RGB(255, 0, 0)),
    ROW(DefaultDateNavigatorTodayFrameColor, -1, RGB(128, 0, 0)),
    ROW(DefaultSchedulerBorderColor, -1, RGB(157, 157, 161)),
    ROW(DefaultSchedulerDayHeaderColor, -1, RGB(240, 240, 240)),
    ROW(DefaultSchedulerDayHeaderBorderColor, -1, RGB(225, 225, 225)),
    ROW(DefaultSchedulerHeaderContainerBorderColor, -1, RGB(225, 225, 225)),
    ROW(DefaultSchedulerTimeRulerBorderColor, -1, RGB(225, 225, 225)),
    ROW(DefaultSchedulerDayHeaderTextColor, -1, RGB(68, 68, 68)),
    ROW(DefaultSchedulerTimeRulerTextColor, -1, RGB(102, 102, 102)),
    ROW(DefaultSchedulerViewContentColorClassic, -1, RGB(255, 255, 213)),
    ROW(DefaultSchedulerTimeRulerColor, -1, RGB(255, 255, 255)),
    ROW(DefaultChartHistogramGridLineColor, -1, RGB(207, 207, 207)),
    ROW(DefaultChartPieDiagramSeriesSiteCaptionColor, -1, RGB(166, 202, 240)),
    ROW(DefaultChartPieDiagramSeriesSiteCaptionTextColor, -1, RGB(0, 0, 128)),
    ROW(DefaultContentOddColor, COLOR_WINDOW, 0),
    ROW(DefaultContentEvenColor, COLOR_WINDOW, 0),
    ROW(DefaultLayoutViewContentColor, COLOR_WINDOW, 0),
    ROW(DefaultDateNavigatorContentColor, COLOR_WINDOW, 0),
    ROW(DefaultDateNavigatorWeekendTextColor, COLOR_WINDOWTEXT, 0),
    ROW(DefaultRecordSeparatorColor, COLOR_BTNSHADOW, 0),
    ROW(DefaultTreeListGridLineColor, COLOR_BTNSHADOW, 0),
    ROW(DefaultTreeListTreeLineColor, COLOR_BTNSHADOW, 0),
    ROW(DefaultVGridCategoryColor, COLOR_BTNFACE, 0),
    ROW(DefaultVGridHeaderColor, COLOR_BTNFACE, 0),
    ROW(DefaultSchedulerTimeRulerColorClassic, COLOR_BTNFACE, 0),
    ROW(DefaultVGridHeaderTextColor, COLOR_BTNTEXT, 0),
    ROW(DefaultSchedulerTimeRulerTextColorClassic, COLOR_BTNTEXT, 0),
    ROW(DefaultVGridContentTextColor, COLOR_WINDOWTEXT, 0),
    ROW(DefaultHotTrackTextColor, COLOR_WINDOWTEXT, 0),
    ROW(DefaultVGridBandLineColor, -1, RGB(0, 0, 0)),
    ROW(DefaultSchedulerViewSelectedTextColor, COLOR_HIGHLIGHTTEXT, 0),
};

TEST(DefaultColors, TheBaseAnswersSystemColoursByTheirMarkersAndFixedColours) {
  const TOwned<P> base(New<P>());
  for (const TColorRow& row : BaseColors) {
    SCOPED_TRACE(row.Name);
    ExpectColor((base.get()->*row.Operation)(), row);
  }
}

TEST(DefaultColors, TheUltraFlatPainterChangesFourOfThem) {
  TcxCustomLookAndFeelPainter* ultraFlat = GetPaintersManager()->GetPainter(lfsUltraFlat);
  const TColorRow changed[] = {
      ROW(DefaultSchedulerBorderColor, COLOR_BTNSHADOW, 0),
      ROW(DefaultSchedulerTimeRulerBorderColor, COLOR_BTNSHADOW, 0),
      ROW(DefaultSchedulerTimeRulerTextColor, COLOR_BTNTEXT, 0),
      ROW(DefaultFixedSeparatorColor, COLOR_BTNTEXT, 0),
  };
  for (const TColorRow& row : changed) {
    SCOPED_TRACE(row.Name);
    ExpectColor((ultraFlat->*row.Operation)(), row);
  }
  // The rest are the base's.
  const TOwned<P> base(New<P>());
  for (const TColorRow& row : BaseColors) {
    if (std::ranges::any_of(changed, [&](const TColorRow& C) { return C.Operation == row.Operation; })) continue;
    SCOPED_TRACE(row.Name);
    EXPECT_EQ((ultraFlat->*row.Operation)(), (base.get()->*row.Operation)());
  }
}
#undef ROW

TEST(DefaultColors, ColoursWithArguments) {
  const TOwned<P> base(New<P>());
  for (const bool disabled : {false, true}) {
    EXPECT_EQ(base->DefaultEditorBackgroundColor(disabled), clDefault);
    EXPECT_EQ(base->DefaultEditorTextColor(disabled), clDefault);
  }
  for (const TcxEditStateColorKind kind : {esckNormal, esckDisabled, esckInactive, esckReadOnly}) {
    EXPECT_EQ(base->DefaultLabelTextColorEx(kind), clDefault);
    EXPECT_EQ(base->DefaultEditorBackgroundColorEx(kind), clDefault);
  }
  EXPECT_EQ(base->DefaultDateNavigatorTodayTextColor(true), clDefault);
  EXPECT_EQ(static_cast<COLORREF>(base->DefaultDateNavigatorTodayTextColor(false)), RGB(0, 0, 128));
  EXPECT_EQ(base->DefaultDateNavigatorHeaderTextColor(false), clBtnText);
  EXPECT_EQ(static_cast<COLORREF>(base->DefaultSchedulerDateNavigatorArrowColor(false)), RGB(95, 95, 95));
  EXPECT_EQ(static_cast<COLORREF>(base->DefaultSchedulerEventColor(true)), RGB(215, 215, 215));
  EXPECT_EQ(static_cast<COLORREF>(base->DefaultSchedulerEventColor(false)), RGB(215, 215, 215));
  EXPECT_EQ(base->DefaultSchedulerEventColorClassic(false), clWindow);
  EXPECT_EQ(static_cast<COLORREF>(base->DefaultSchedulerEventColorClassic(true)), RGB(255, 255, 255));
  EXPECT_EQ(base->DefaultSchedulerHeaderContainerBackgroundColor(true), clHighlight);
  EXPECT_EQ(base->DefaultSchedulerHeaderContainerTextColor(true), clHighlightText);
  EXPECT_EQ(static_cast<COLORREF>(base->DefaultSchedulerHeaderContainerTextColor(false)), RGB(68, 68, 68));
  EXPECT_EQ(base->DefaultSchedulerContentColor(3), clDefault);
  EXPECT_EQ(base->DefaultSchedulerYearViewUnusedContentColor(true), clDefault);
  EXPECT_EQ(base->DefaultGridOptionsTreeViewCategoryColor(true), clHighlight);
  EXPECT_EQ(base->DefaultGridOptionsTreeViewCategoryColor(false), clBtnShadow);
  EXPECT_EQ(base->DefaultGridOptionsTreeViewCategoryTextColor(true), clHighlightText);
  EXPECT_EQ(base->DefaultGridOptionsTreeViewCategoryTextColor(false), clBtnText);
  const TdxScaleFactor* factor = SystemScaleFactor();
  EXPECT_EQ(base->DefaultGroupContentOffsets(factor), TRect());
  EXPECT_EQ(base->DefaultContentGlyphColorPalette(cxbsHot).Get(), nullptr);

  struct TStateRow {
    TcxButtonState State;
    TColor Caption;
    TColor Content;
  };
  for (const TStateRow& row : {TStateRow{cxbsDefault, clBtnFace, clWindowText}, TStateRow{cxbsNormal, clBtnFace, clWindowText},
                               TStateRow{cxbsHot, clHighlight, clWindowText},
                               TStateRow{cxbsPressed, clBtnFace, clHighlightText},
                               TStateRow{cxbsDisabled, clInactiveCaption, clInactiveCaptionText}}) {
    SCOPED_TRACE(row.State);
    EXPECT_EQ(base->DefaultLayoutViewCaptionColor(row.State), row.Caption);
    EXPECT_EQ(base->DefaultLayoutViewContentTextColor(row.State), row.Content);
    EXPECT_EQ(base->DefaultLayoutViewCaptionTextColor(cxgpLeft, row.State), row.Content);
  }
}

TEST(DefaultColors, AnnotationColoursCarryTheirAlpha) {
  const TOwned<P> base(New<P>());
  EXPECT_EQ(base->DefaultCustomScrollbarAnnotationColor(), 0xFFA9A9A9u);
  EXPECT_EQ(base->DefaultErrorScrollbarAnnotationColor(), 0x96FF0000u);
  EXPECT_EQ(base->DefaultFocusedScrollbarAnnotationColor(), 0xFF008000u);
  EXPECT_EQ(base->DefaultSelectedScrollbarAnnotationColor(), 0xFF808080u);
  EXPECT_EQ(base->DefaultSearchResultAnnotationColor(), 0x96FFA500u);
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  EXPECT_EQ(base->DefaultFixedColumnHighlightColor(),
            (15u << 24) | (GetRValue(highlight) << 16) | (GetGValue(highlight) << 8) | GetBValue(highlight));
}

// Derived colours follow the operations they name, in any painter.
class TOverridingPainter : public TcxCustomLookAndFeelPainter {
  SK_CLASS(TOverridingPainter, TcxCustomLookAndFeelPainter)
 public:
  TColor DefaultContentColor() override { return TColor(RGB(1, 2, 3)); }
  TColor DefaultGridLineColor() override { return TColor(RGB(4, 5, 6)); }
  TColor DefaultHeaderTextColor() override { return TColor(RGB(7, 8, 9)); }
  TColor DefaultEditorBackgroundColorEx(TcxEditStateColorKind AKind) override {
    return AKind == esckDisabled ? TColor(RGB(10, 11, 12)) : clDefault;
  }
  TColor DefaultSelectionColor() override { return TColor(RGB(13, 14, 15)); }
  std::uint8_t FixedColumnHighlightAlpha() override { return 99; }
  TColor HighlightedArrowColor() override { return TColor(RGB(16, 17, 18)); }
};

TEST(DefaultColors, DerivedColoursFollowAnOverride) {
  const TOwned<TOverridingPainter> painter(New<TOverridingPainter>());
  for (TColor c : {painter->DefaultContentOddColor(), painter->DefaultContentEvenColor(),
                   painter->DefaultLayoutViewContentColor(), painter->DefaultDateNavigatorContentColor()})
    EXPECT_EQ(static_cast<COLORREF>(c), RGB(1, 2, 3));
  for (TColor c : {painter->DefaultRecordSeparatorColor(), painter->DefaultTreeListGridLineColor(),
                   painter->DefaultTreeListTreeLineColor()})
    EXPECT_EQ(static_cast<COLORREF>(c), RGB(4, 5, 6));
  for (TColor c : {painter->DefaultVGridHeaderTextColor(), painter->DefaultSchedulerTimeRulerTextColorClassic(),
                   painter->DefaultDateNavigatorHeaderTextColor(false)})
    EXPECT_EQ(static_cast<COLORREF>(c), RGB(7, 8, 9));
  EXPECT_EQ(static_cast<COLORREF>(painter->DefaultEditorBackgroundColor(true)), RGB(10, 11, 12));
  EXPECT_EQ(painter->DefaultEditorBackgroundColor(false), clDefault);
  EXPECT_EQ(static_cast<COLORREF>(painter->DefaultSchedulerHeaderContainerBackgroundColor(true)), RGB(13, 14, 15));
  EXPECT_EQ(painter->DefaultFixedColumnHighlightColor(), 0x630D0E0Fu);
  EXPECT_EQ(static_cast<COLORREF>(painter->DefaultDateNavigatorHeaderTextColor(true)), RGB(16, 17, 18));
  EXPECT_EQ(static_cast<COLORREF>(painter->DefaultSchedulerDateNavigatorArrowColor(true)), RGB(16, 17, 18));
}

TEST(DefaultColors, TheHighlightedArrowIsTheHotLightFromVistaOn) {
  const TOwned<P> base(New<P>());
  ASSERT_TRUE(IsWinVistaOrLater) << "the test prefix reports Windows 7";
  EXPECT_EQ(base->DefaultDateNavigatorHeaderTextColor(true), clHotLight);
  const bool saved = std::exchange(IsWinVistaOrLater, false);
  const TScopeExit restore([saved] { IsWinVistaOrLater = saved; });
  EXPECT_EQ(base->DefaultDateNavigatorHeaderTextColor(true), clHighlightText);
  EXPECT_EQ(base->DefaultSchedulerDateNavigatorArrowColor(true), clHighlightText);
}

}  // namespace
