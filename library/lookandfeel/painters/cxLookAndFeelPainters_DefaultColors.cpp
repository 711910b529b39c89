// The base painter's default colours.
#include "library/core/base/dxCore.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters_Internal.h"
#include "library/lookandfeel/painters/dxOffice11.h"

using P = TcxCustomLookAndFeelPainter;

// ---------------------------------------------------------------------------
// Content, editors, selection

TColor P::DefaultContentColor() { return clWindow; }
TColor P::DefaultContentEvenColor() { return DefaultContentColor(); }
TColor P::DefaultContentOddColor() { return DefaultContentColor(); }
TColor P::DefaultContentTextColor() { return clWindowText; }
IPtr<IdxColorPalette> P::DefaultContentGlyphColorPalette(TcxButtonState) { return {}; }
TColor P::DefaultControlColor() { return clBtnFace; }
TColor P::DefaultControlTextColor() { return clBtnText; }

TColor P::DefaultEditorBackgroundColor(bool AIsDisabled) {
  return DefaultEditorBackgroundColorEx(AIsDisabled ? esckDisabled : esckNormal);
}

TColor P::DefaultEditorBackgroundColorEx(TcxEditStateColorKind) { return clDefault; }

TColor P::DefaultEditorTextColor(bool AIsDisabled) {
  return DefaultEditorTextColorEx(AIsDisabled ? esckDisabled : esckNormal);
}

TColor P::DefaultEditorTextColorEx(TcxEditStateColorKind) { return clDefault; }
TColor P::DefaultLabelTextColorEx(TcxEditStateColorKind AKind) { return DefaultEditorTextColorEx(AKind); }
TColor P::DefaultSearchResultHighlightColor() { return clDefault; }
TColor P::DefaultSearchResultHighlightTextColor() { return clDefault; }
TColor P::DefaultSelectionColor() { return clHighlight; }
TColor P::DefaultSelectionTextColor() { return clHighlightText; }
TColor P::DefaultHotTrackColor() { return clGradientInactiveCaption; }
TColor P::DefaultHotTrackTextColor() { return DefaultContentTextColor(); }
TColor P::DefaultHyperlinkTextColor() { return Rgb(0, 0, 255); }
TColor P::DefaultInactiveColor() { return clBtnFace; }
TColor P::DefaultInactiveTextColor() { return clBtnText; }
TColor P::DefaultPreviewTextColor() { return Rgb(0, 0, 255); }
TColor P::DefaultSeparatorColor() { return clBtnFace; }
TColor P::DefaultSizeGripAreaColor() { return clBtnFace; }

// ---------------------------------------------------------------------------
// Grids, headers, footers, groups, tabs

TColor P::DefaultFilterBoxColor() { return clBtnShadow; }
TColor P::DefaultFilterBoxTextColor() { return clBtnHighlight; }
TColor P::DefaultFixedSeparatorColor() { return clBtnText; }
TColor P::DefaultFooterColor() { return clBtnFace; }
TColor P::DefaultFooterTextColor() { return clBtnText; }
TColor P::DefaultGridDetailsSiteColor() { return clBtnFace; }
TColor P::DefaultGridLineColor() { return clBtnShadow; }
TColor P::DefaultGroupByBoxColor() { return clBtnShadow; }
TColor P::DefaultGroupByBoxLineColor() { return clBtnText; }
TColor P::DefaultGroupByBoxTextColor() { return clBtnFace; }
TColor P::DefaultGroupColor() { return clBtnFace; }
TRect P::DefaultGroupContentOffsets(const TdxScaleFactor*) { return TRect(); }
TColor P::DefaultGroupTextColor() { return clBtnText; }
TColor P::DefaultHeaderBackgroundColor() { return clBtnShadow; }
TColor P::DefaultHeaderBackgroundTextColor() { return clBtnFace; }
TColor P::DefaultHeaderColor() { return clBtnFace; }
TColor P::DefaultHeaderTextColor() { return clBtnText; }
TColor P::DefaultRecordSeparatorColor() { return DefaultGridLineColor(); }
TColor P::DefaultTabColor() { return clBtnFace; }
TColor P::DefaultTabTextColor() { return clBtnText; }
TColor P::DefaultTabsBackgroundColor() { return clWindow; }
TColor P::DefaultRootTabsBackgroundColor() { return clBtnFace; }
TColor P::DefaultTreeListGridLineColor() { return DefaultGridLineColor(); }
TColor P::DefaultTreeListTreeLineColor() { return DefaultGridLineColor(); }
TColor P::DefaultVGridBandLineColor() { return DefaultVGridLineColor(); }
TColor P::DefaultVGridCategoryColor() { return DefaultHeaderColor(); }
TColor P::DefaultVGridCategoryTextColor() { return clDefault; }
TColor P::DefaultVGridContentTextColor() { return DefaultContentTextColor(); }
TColor P::DefaultVGridHeaderColor() { return DefaultHeaderColor(); }
TColor P::DefaultVGridHeaderTextColor() { return DefaultHeaderTextColor(); }
TColor P::DefaultVGridLineColor() { return Rgb(0, 0, 0); }
TColor P::DefaultGridOptionsTreeViewCategoryColor(bool ASelected) { return ASelected ? clHighlight : clBtnShadow; }

TColor P::DefaultGridOptionsTreeViewCategoryTextColor(bool ASelected) {
  return ASelected ? clHighlightText : clBtnText;
}

TColor P::DefaultLayoutViewCaptionColor(TcxButtonState AState) {
  switch (AState) {
    case cxbsHot: return DefaultSelectionColor();
    case cxbsDisabled: return clInactiveCaption;
    default: return DefaultGroupColor();
  }
}

TColor P::DefaultLayoutViewCaptionTextColor(TcxGroupBoxCaptionPosition, TcxButtonState AState) {
  return DefaultLayoutViewContentTextColor(AState);
}

TColor P::DefaultLayoutViewContentColor() { return DefaultContentColor(); }

TColor P::DefaultLayoutViewContentTextColor(TcxButtonState AState) {
  switch (AState) {
    case cxbsPressed: return DefaultSelectionTextColor();
    case cxbsDisabled: return clInactiveCaptionText;
    default: return DefaultContentTextColor();
  }
}

// ---------------------------------------------------------------------------
// Date navigator

TColor P::DefaultDateNavigatorContentColor() {
  const TColor color = DefaultEditorBackgroundColor(false);
  return color == clDefault ? DefaultContentColor() : color;
}

TColor P::DefaultDateNavigatorHeaderColor() { return clBtnFace; }

TColor P::DefaultDateNavigatorHeaderTextColor(bool AIsHighlight) {
  return AIsHighlight ? HighlightedArrowColor() : DefaultHeaderTextColor();
}

TColor P::DefaultDateNavigatorHolydayTextColor() { return Rgb(255, 0, 0); }
TColor P::DefaultDateNavigatorInactiveTextColor() { return clGrayText; }
TColor P::DefaultDateNavigatorSelectionColor() { return clHighlight; }
TColor P::DefaultDateNavigatorSelectionTextColor() { return clHighlightText; }
TColor P::DefaultDateNavigatorSeparator1Color() { return clBtnShadow; }
TColor P::DefaultDateNavigatorSeparator2Color() { return clWindow; }
TColor P::DefaultDateNavigatorTextColor() { return clWindowText; }
TColor P::DefaultDateNavigatorTodayFrameColor() { return Rgb(128, 0, 0); }
TColor P::DefaultDateNavigatorTodayTextColor(bool ASelected) { return ASelected ? clDefault : Rgb(0, 0, 128); }
TColor P::DefaultDateNavigatorWeekendTextColor() { return DefaultDateNavigatorTextColor(); }

// ---------------------------------------------------------------------------
// Scheduler and time grid

TColor P::DefaultSchedulerBackgroundColor() { return clWindow; }
TColor P::DefaultSchedulerBorderColor() { return Rgb(157, 157, 161); }
TColor P::DefaultSchedulerContentColor(int) { return clDefault; }
TColor P::DefaultSchedulerControlColor() { return clBtnFace; }

TColor P::DefaultSchedulerDateNavigatorArrowColor(bool AIsHighlight) {
  return AIsHighlight ? HighlightedArrowColor() : Rgb(95, 95, 95);
}

TColor P::DefaultSchedulerDayHeaderBorderColor() { return Rgb(225, 225, 225); }
TColor P::DefaultSchedulerDayHeaderColor() { return Rgb(240, 240, 240); }
TColor P::DefaultSchedulerDayHeaderTextColor() { return Rgb(68, 68, 68); }
TColor P::DefaultSchedulerEventColor(bool) { return Rgb(215, 215, 215); }
TColor P::DefaultSchedulerEventColorClassic(bool AIsAllDayEvent) { return AIsAllDayEvent ? Rgb(255, 255, 255) : clWindow; }

TColor P::DefaultSchedulerHeaderContainerAlternateBackgroundColor() { return Office11Color(Office11PressedColor); }

TColor P::DefaultSchedulerHeaderContainerBackgroundColor(bool ASelected) {
  return ASelected ? DefaultSelectionColor() : Rgb(255, 255, 255);
}

TColor P::DefaultSchedulerHeaderContainerBorderColor() { return Rgb(225, 225, 225); }

TColor P::DefaultSchedulerHeaderContainerTextColor(bool ASelected) {
  return ASelected ? DefaultSelectionTextColor() : DefaultSchedulerDayHeaderTextColor();
}

TColor P::DefaultSchedulerNavigatorColor() { return clBtnFace; }
TColor P::DefaultSchedulerSelectedEventBorderColor() { return Rgb(0, 0, 0); }
TColor P::DefaultSchedulerTextColor() { return clWindowText; }
TColor P::DefaultSchedulerTimeRulerBorderColor() { return DefaultSchedulerHeaderContainerBorderColor(); }
TColor P::DefaultSchedulerTimeRulerBorderColorClassic() { return clBtnShadow; }
TColor P::DefaultSchedulerTimeRulerColor() { return DefaultSchedulerHeaderContainerBackgroundColor(false); }
TColor P::DefaultSchedulerTimeRulerColorClassic() { return DefaultHeaderColor(); }
TColor P::DefaultSchedulerTimeRulerTextColor() { return Rgb(102, 102, 102); }
TColor P::DefaultSchedulerTimeRulerTextColorClassic() { return DefaultHeaderTextColor(); }
TColor P::DefaultSchedulerViewContentColor() { return Rgb(255, 255, 255); }
TColor P::DefaultSchedulerViewContentColorClassic() { return Rgb(255, 255, 213); }
TColor P::DefaultSchedulerViewSelectedTextColor() { return DefaultSelectionTextColor(); }
TColor P::DefaultSchedulerViewTextColor() { return clWindowText; }
TColor P::DefaultSchedulerYearViewUnusedContentColor(bool) { return clDefault; }
TColor P::DefaultTimeGridMajorScaleColor() { return Rgb(255, 255, 255); }
TColor P::DefaultTimeGridMajorScaleTextColor() { return Rgb(0, 0, 0); }
TColor P::DefaultTimeGridMinorScaleColor() { return clBtnFace; }
TColor P::DefaultTimeGridMinorScaleTextColor() { return clBtnText; }
TColor P::DefaultTimeGridSelectionBarColor() { return Rgb(255, 255, 255); }

// ---------------------------------------------------------------------------
// Charts

TColor P::DefaultChartDiagramValueBorderColor() { return Rgb(0, 0, 0); }
TColor P::DefaultChartDiagramValueCaptionTextColor() { return Rgb(0, 0, 0); }
TColor P::DefaultChartHistogramAxisColor() { return Rgb(0, 0, 0); }
TColor P::DefaultChartHistogramGridLineColor() { return Rgb(207, 207, 207); }
TColor P::DefaultChartHistogramPlotColor() { return Rgb(255, 255, 255); }
TColor P::DefaultChartPieDiagramSeriesSiteBorderColor() { return clBtnShadow; }
TColor P::DefaultChartPieDiagramSeriesSiteCaptionColor() { return Rgb(166, 202, 240); }
TColor P::DefaultChartPieDiagramSeriesSiteCaptionTextColor() { return Rgb(0, 0, 128); }
TColor P::DefaultChartToolBoxDataLevelInfoBorderColor() { return clBtnShadow; }
TColor P::DefaultChartToolBoxItemSeparatorColor() { return clBtnShadow; }

// ---------------------------------------------------------------------------
// Alpha colours

TdxAlphaColor P::DefaultCustomScrollbarAnnotationColor() { return ColorToAlphaColor(Rgb(169, 169, 169), 255); }
TdxAlphaColor P::DefaultErrorScrollbarAnnotationColor() { return ColorToAlphaColor(Rgb(255, 0, 0), 150); }

TdxAlphaColor P::DefaultFixedColumnHighlightColor() {
  return ColorToAlphaColor(DefaultSelectionColor(), FixedColumnHighlightAlpha());
}

TdxAlphaColor P::DefaultFocusedScrollbarAnnotationColor() { return ColorToAlphaColor(Rgb(0, 128, 0), 255); }
TdxAlphaColor P::DefaultSearchResultAnnotationColor() { return ColorToAlphaColor(Rgb(255, 165, 0), 150); }
TdxAlphaColor P::DefaultSelectedScrollbarAnnotationColor() { return ColorToAlphaColor(Rgb(128, 128, 128), 255); }

// ---------------------------------------------------------------------------
// Protected colours

TColor P::HighlightedArrowColor() { return IsWinVistaOrLater ? clHotLight : clHighlightText; }

std::uint8_t P::FixedColumnHighlightAlpha() { return 15; }
