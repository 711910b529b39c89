// The base painter's gantt charts, list and tree views, gauges, maps, the
// office navigation bar, the PDF viewer and spreadsheets.
#include "library/core/system/dxDPIAwareUtils.h"
#include "library/graphics/canvas/cxCanvasScopes.h"
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters_Internal.h"

using P = TcxCustomLookAndFeelPainter;

namespace {

constexpr std::uint8_t GanttAlpha = 128;

TColor Defaulted(TColor AColor, TColor ADefault) { return AColor == clDefault ? ADefault : AColor; }

// A bracket of bars AThickness wide: a full-width bar at one end of R (the
// top, or the bottom when upside down) and a leg down each side from it.
void FillBracket(TcxCanvas* ACanvas, const TRect& R, int AThickness, bool AUpsideDown, TColor AColor) {
  const TRect bar = AUpsideDown ? TRect(R.Left, R.Bottom - AThickness, R.Right, R.Bottom)
                                : TRect(R.Left, R.Top, R.Right, R.Top + AThickness);
  const int top = AUpsideDown ? R.Top : R.Top + AThickness;
  const int bottom = AUpsideDown ? R.Bottom - AThickness : R.Bottom;
  ACanvas->FillRect(bar, AColor, GanttAlpha);
  ACanvas->FillRect(TRect(R.Left, top, R.Left + AThickness, bottom), AColor, GanttAlpha);
  ACanvas->FillRect(TRect(R.Right - AThickness, top, R.Right, bottom), AColor, GanttAlpha);
}

}  // namespace

// ---------------------------------------------------------------------------
// Gantt charts

TColor P::DefaultGanttCurrentDateGridLineColor() { return TColor(0x32CD32); }

TColor P::DefaultGanttProjectStartGridLineColor() {
  const COLORREF c = static_cast<COLORREF>(ColorToRGB(DefaultContentTextColor()));
  return Rgb(MulDiv(GetRValue(c), 80, 100), MulDiv(GetGValue(c), 80, 100), MulDiv(GetBValue(c), 80, 100));
}

TColor P::DefaultGanttProjectFinishGridLineColor() { return DefaultGanttProjectStartGridLineColor(); }

void P::DrawGanttTask(TcxCanvas* ACanvas, const TRect& R, TColor AColor) {
  ACanvas->FillRect(R, Defaulted(AColor, clBtnFace), GanttAlpha);
}

void P::DoDrawGanttTaskProgress(TcxCanvas* ACanvas, const TRect& R, TColor AColor) {
  ACanvas->FillRect(R, Defaulted(AColor, clBtnHighlight), GanttAlpha);
}

void P::DrawGanttSummaryTask(TcxCanvas* ACanvas, const TRect& R, const TdxScaleFactor* AScaleFactor, TColor AColor) {
  FillBracket(ACanvas, R, AScaleFactor->Apply(3), false, Defaulted(AColor, clBtnFace));
}

void P::DoDrawGanttSummaryTaskProgress(TcxCanvas* ACanvas, const TRect& R, const TdxScaleFactor* AScaleFactor,
                                       TColor AColor) {
  FillBracket(ACanvas, R, AScaleFactor->Apply(3), false, Defaulted(AColor, clBtnHighlight));
}

void P::DrawGanttBaselineTask(TcxCanvas* ACanvas, const TRect& R, TColor AColor) {
  ACanvas->FillRect(R, Defaulted(AColor, clBtnShadow), GanttAlpha);
}

void P::DrawGanttBaselineSummaryTask(TcxCanvas* ACanvas, const TRect& R, const TdxScaleFactor* AScaleFactor,
                                     TColor AColor) {
  FillBracket(ACanvas, R, AScaleFactor->Apply(3), true, Defaulted(AColor, clBtnShadow));
}

void P::DrawGanttMilestone(TcxCanvas* ACanvas, const TRect& R, const TdxScaleFactor* AScaleFactor, TColor AColor) {
  const TColor color = Defaulted(AColor, clBtnFace);
  ACanvas->Polygon(MilestoneDiamond(CenteredIn(R, AScaleFactor->Apply(GetGanttMilestoneSize()))), color, color);
}

void P::DrawGanttBaselineMilestone(TcxCanvas* ACanvas, const TRect& R, const TdxScaleFactor* AScaleFactor,
                                   TColor AColor) {
  const auto diamond = MilestoneDiamond(CenteredIn(R, AScaleFactor->Apply(GetGanttBaselineMilestoneSize())));
  const TPoint outline[] = {diamond[0], diamond[1], diamond[2], diamond[3], diamond[0]};
  ACanvas->Polyline(outline, Defaulted(AColor, clBtnShadow));
}

void P::DrawGanttDependencyEditPoint(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool) {
  switch (AState) {
    case cxbsNormal:
      ACanvas->FillRect(R, clBtnFace);
      break;
    case cxbsHot:
      ACanvas->FillRect(R, clBtnHighlight, GanttAlpha);
      break;
    case cxbsPressed:
      ACanvas->FillRect(R, clBtnHighlight);
      break;
    default:
      break;
  }
}

void P::DrawGanttFocusedRow(TcxCanvas* ACanvas, const TRect& R, bool) { ACanvas->FillRect(R, clBtnShadow, 32); }

void P::DrawGanttTaskTextLabel(TcxCanvas* ACanvas, const TRect& R) { ACanvas->FrameRect(R, clBtnShadow); }

TSize P::GetGanttDependencyEditPointSize(bool) { return TSize(8, 8); }

TSize P::GetGanttBaselineMilestoneSize() { return TSize(10, 10); }

TSize P::GetGanttMilestoneSize() { return TSize(10, 10); }

int P::GetGanttBaselineSummaryTaskHeight() { return 10; }

int P::GetGanttBaselineTaskHeight() { return 5; }

int P::GetGanttSummaryTaskHeight() { return 10; }

int P::GetGanttTaskHeight() { return 10; }

int P::GetGanttTaskTextLabelHeight() { return 10; }

int P::GetGanttTaskTextLabelOffset() { return 10; }

TColor P::GetGanttMilestoneColor() { return TColor(0x636363); }

TColor P::GetGanttSummaryTaskColor() { return TColor(0x054545); }

TColor P::GetGanttTaskColor(bool AManualSchedule) { return AManualSchedule ? TColor(0xADA32B) : TColor(0xD7843B); }

bool P::GetGanttTaskTextLabelTextBold() { return false; }

TColor P::GetGanttTaskTextLabelTextColor() { return clBtnText; }

void P::DrawGanttTaskProgress(TcxCanvas* ACanvas, const TRect& ATaskRect, const TRect& AProgressRect,
                              TColor AColor) {
  const TcxClipRegionScope clip(ACanvas, AProgressRect);
  DoDrawGanttTaskProgress(ACanvas, ATaskRect, AColor);
}

void P::DrawGanttSummaryTaskProgress(TcxCanvas* ACanvas, const TRect& ATaskRect, const TRect& AProgressRect,
                                     const TdxScaleFactor* AScaleFactor, TColor AColor) {
  const TcxClipRegionScope clip(ACanvas, AProgressRect);
  DoDrawGanttSummaryTaskProgress(ACanvas, ATaskRect, AScaleFactor, AColor);
}

// ---------------------------------------------------------------------------
// List and tree views

namespace {

constexpr TColor ExplorerFocusColor = TColor(0xCC0000);

TdxListViewItemStates ListViewItemStates(TdxTreeViewNodeStates AState) {
  TdxListViewItemStates result;
  if (AState.Contains(dxtnsFocused)) result += TdxListViewItemStates{dxlisFocused};
  if (AState.Contains(dxtnsHot)) result += TdxListViewItemStates{dxlisHot};
  if (AState.Contains(dxtnsSelected)) result += TdxListViewItemStates{dxlisSelected};
  if (AState.Contains(dxtnsDisabled)) result += TdxListViewItemStates{dxlisDisabled};
  if (AState.Contains(dxtnsInactive)) result += TdxListViewItemStates{dxlisInactive};
  return result;
}

TColor WindowIfDefault(TColor AColor) { return AColor == clDefault ? clWindow : AColor; }

}  // namespace

void P::DrawListViewBackground(TcxCanvas* ACanvas, const TRect& ABounds, bool AExplorerStyle, bool AEnabled) {
  const TColor color = AExplorerStyle ? GridLikeControlContentColor() : DefaultEditorBackgroundColor(!AEnabled);
  ACanvas->FillRect(ABounds, WindowIfDefault(color));
}

void P::DrawListViewItemBackground(TcxCanvas* ACanvas, const TRect& ABounds, TdxListViewItemStates AState,
                                   bool AExplorerStyle) {
  const bool hot = AState.Contains(dxlisHot);
  const bool selected = AState.Contains(dxlisSelected);
  const bool inactive = AState.Contains(dxlisInactive);
  if (hot) {
    if (selected)
      ACanvas->Rectangle(ABounds, DefaultSelectionColor(), ExplorerFocusColor);
    else
      ACanvas->FillRect(ABounds, TColor(0xF6E1C7));
  } else if (!selected) {
    ACanvas->FillRect(ABounds, GridLikeControlContentColor());
  } else {
    ACanvas->FillRect(ABounds, inactive ? DefaultInactiveColor() : DefaultSelectionColor());
  }
  if (!AState.Contains(dxlisFocused) || inactive) return;
  if (!AExplorerStyle) {
    TRect focus = ABounds;
    focus.Deflate(1);
    ACanvas->DrawFocusRect(focus);
  } else if (!hot) {
    ACanvas->FrameRect(ABounds, ExplorerFocusColor);
  }
}

void P::DrawListViewCheckButton(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState, bool AChecked,
                                const TdxScaleFactor* AScaleFactor) {
  DrawScaledCheckButton(ACanvas, ABounds, AState, AChecked ? cbsChecked : cbsUnchecked, AScaleFactor, false);
}

void P::DrawListViewSortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
                                const TdxScaleFactor* AScaleFactor) {
  DrawListViewSortingTriangle(ACanvas, R, clBtnShadow, clBtnShadow, AAscendingSorting, AScaleFactor);
}

void P::DrawListViewGroupExpandButton(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                                      bool AExpanded, bool, const TdxScaleFactor* AScaleFactor) {
  WinExplorerViewDrawScaledRecordExpandButton(ACanvas, ABounds, AState, AExpanded, AScaleFactor);
}

void P::DrawListViewGroupHeaderBackground(TcxCanvas* ACanvas, const TRect& ABounds,
                                          TdxListViewGroupHeaderStates AState, bool, const TdxScaleFactor*) {
  const bool hot = AState.Contains(dxlgsHot);
  ACanvas->FillRect(ABounds, hot ? DefaultSelectionColor() : GridLikeControlContentColor());
  if (!AState.Contains(dxlgsFocused)) return;
  if (AState.Contains(dxlgsInactive)) {
    TRect focus = ABounds;
    focus.Deflate(1);
    ACanvas->DrawFocusRect(focus);
  } else if (!hot) {
    ACanvas->FrameRect(ABounds, ExplorerFocusColor);
  }
}

void P::DrawListViewGroupHeaderLine(TcxCanvas* ACanvas, const TRect& ABounds) {
  ACanvas->FillRect(ABounds, TColor(0xFF953D));
}

IPtr<IdxColorPalette> P::GetListViewColumnHeaderColorPalette(TcxButtonState, bool) { return nullptr; }

IPtr<IdxColorPalette> P::GetListViewGroupHeaderColorPalette(TdxListViewGroupHeaderStates, bool) { return nullptr; }

IPtr<IdxColorPalette> P::GetListViewItemColorPalette(TdxListViewItemStates, bool) { return nullptr; }

TRect P::GetListViewColumnHeaderContentOffsets(bool AExplorerStyle, const TdxScaleFactor* AScaleFactor) {
  return AExplorerStyle ? AScaleFactor->Apply(TRect(4, 4, 4, 4)) : HeaderContentOffsets(AScaleFactor);
}

TSize P::GetListViewColumnHeaderSortingMarkSize(const TdxScaleFactor* AScaleFactor) {
  return ScaledSortingMarkSize(AScaleFactor);
}

TColor P::GetListViewColumnHeaderTextColor(TcxButtonState, bool) { return DefaultHeaderTextColor(); }

int P::GetListViewExpandButtonSize(const TdxScaleFactor* AScaleFactor) {
  return ScaledGroupExpandButtonSize(AScaleFactor);
}

TColor P::GetListViewGroupTextColor(TdxListViewGroupTextKind AKind, TdxListViewGroupHeaderStates AState, bool) {
  return AState.Contains(dxlgsHot) && AKind != dxlgtFooter ? DefaultSelectionTextColor()
                                                            : GridLikeControlContentTextColor();
}

TRect P::GetListViewItemContentPadding() {
  const int border = BorderSize();
  return TRect(border, border, border, border);
}

TColor P::GetListViewItemTextColor(TdxListViewItemStates AState, bool) {
  const bool hot = AState.Contains(dxlisHot);
  if (AState.Contains(dxlisSelected))
    return AState.Contains(dxlisInactive) && !hot ? DefaultInactiveTextColor() : DefaultSelectionTextColor();
  if (hot) return DefaultHotTrackTextColor();
  const TColor color = DefaultEditorTextColor(AState.Contains(dxlisDisabled));
  return color == clDefault ? GridLikeControlContentTextColor() : color;
}

void P::DrawTreeViewNodeBackground(TcxCanvas* ACanvas, const TRect& ABounds, TdxTreeViewNodeStates AState) {
  DrawListViewItemBackground(ACanvas, ABounds, ListViewItemStates(AState), false);
}

TColor P::GetTreeViewBackgroundColor(bool AEnabled) { return WindowIfDefault(DefaultEditorBackgroundColor(!AEnabled)); }

IPtr<IdxColorPalette> P::GetTreeViewNodeColorPalette(TdxTreeViewNodeStates AState) {
  return GetListViewItemColorPalette(ListViewItemStates(AState), false);
}

TColor P::GetTreeViewNodeTextColor(TdxTreeViewNodeStates AState) {
  return GetListViewItemTextColor(ListViewItemStates(AState), false);
}

void P::DrawListViewSortingTriangle(TcxCanvas* ACanvas, const TRect& R, TColor ADarkColor, TColor ALightColor,
                                    bool AAscending, const TdxScaleFactor* AScaleFactor) {
  const TSize size = GetListViewColumnHeaderSortingMarkSize(AScaleFactor);
  const int w = size.cx, h = size.cy, s = AAscending ? 1 : -1;
  const int x = (R.Left + R.Right) / 2 - (w % 2 == 0 ? 1 : 0);
  const int r = w / 2;
  const int l = w % 2 == 0 ? r - 1 : r;
  const int y = AAscending ? (R.Top + R.Bottom - h) / 2 : (R.Top + R.Bottom + h) / 2 - 1;
  const TPoint p[] = {{x + r, y + (h - 2) * s}, {x + r - l, y},         {x + r, y + (h - 1) * s},
                      {x - l, y + (h - 1) * s}, {x, y},                 {x - l, y + (h - w % 2) * s}};
  const TColor base = AAscending ? ALightColor : ADarkColor;
  const TColor colors[] = {ALightColor, ALightColor, base, ADarkColor, ADarkColor};
  const TcxCanvasStateScope state(ACanvas);
  for (int i = 0; i < 5; ++i) {
    ACanvas->Pen()->SetColor(colors[i]);
    ACanvas->Line(p[i], p[i + 1]);
  }
}

// ---------------------------------------------------------------------------
// Gauges

TColor P::GaugeControlBackgroundColor() { return clWindow; }

void P::DrawGaugeControlBackground(TcxCanvas* ACanvas, const TRect& ARect, bool ATransparent,
                                   TColor ABackgroundColor) {
  FillPartBackground(ACanvas, ARect, nullptr, ABackgroundColor, ATransparent);
}

// ---------------------------------------------------------------------------
// Maps

TColor P::MapControlBackgroundColor() { return TColor(0x958B5F); }

TdxAlphaColor P::MapControlPanelBackColor() { return 0xC8000000; }

TdxAlphaColor P::MapControlPanelHotTrackedTextColor() { return 0xFFFFFFFF; }

TdxAlphaColor P::MapControlPanelPressedTextColor() { return 0xFF7E8383; }

TdxAlphaColor P::MapControlPanelTextColor() { return 0xFFADDFFF; }

TdxAlphaColor P::MapControlMapCustomElementTextColor() { return 0xFF000000; }

TdxAlphaColor P::MapControlMapCustomElementTextGlowColor() { return 0xFFFFFFFF; }

TdxAlphaColor P::MapControlMapPushpinTextColor() { return 0xFF000000; }

TdxAlphaColor P::MapControlMapPushpinTextGlowColor() { return 0xFFFFFFFF; }

TdxAlphaColor P::MapControlSelectedRegionBackgroundColor() { return 0x800072AE; }

TdxAlphaColor P::MapControlSelectedRegionBorderColor() { return 0xFF3399FF; }

TdxAlphaColor P::MapControlShapeColor() { return 0xFFD7D7D7; }

TdxAlphaColor P::MapControlShapeHighlightedColor() { return 0xFFD7D7D7; }

TdxAlphaColor P::MapControlShapeSelectedColor() { return 0xFFD7D7D7; }

TdxAlphaColor P::MapControlShapeBorderColor() { return 0xFFFFFFFF; }

TdxAlphaColor P::MapControlShapeBorderHighlightedColor() { return 0xFFFFFFFF; }

TdxAlphaColor P::MapControlShapeBorderSelectedColor() { return 0xFFFFFFFF; }

int P::MapControlShapeBorderWidth(const TdxScaleFactor* AScaleFactor) { return AScaleFactor->Apply(1); }

int P::MapControlShapeBorderHighlightedWidth(const TdxScaleFactor* AScaleFactor) { return AScaleFactor->Apply(1); }

int P::MapControlShapeBorderSelectedWidth(const TdxScaleFactor* AScaleFactor) { return AScaleFactor->Apply(1); }

TSize P::MapControlGetMapPushpinSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(CachedImage(FMapPushpin, L"DX_MAPPUSHPIN", L"PNG")->Size());
}

TPoint P::MapControlGetMapPushpinTextOrigin(const TdxScaleFactor* AScaleFactor) {
  return TPoint(AScaleFactor->Apply(17), AScaleFactor->Apply(17));
}

TRect P::MapControlMapCustomElementSelectionOffset(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TRect(14, 14, 14, 14));
}

void P::DrawMapPushpin(TcxCanvas* ACanvas, const TRect& ARect, TdxMapControlElementState, const TdxScaleFactor*) {
  CachedImage(FMapPushpin, L"DX_MAPPUSHPIN", L"PNG")->StretchDraw(ACanvas->Handle(), ARect);
}

void P::DrawMapCustomElementBackground(TcxCanvas* ACanvas, const TRect& ARect, TdxMapControlElementState AState) {
  TdxAlphaColor pen = TdxAlphaColors::Empty, brush = TdxAlphaColors::Empty;
  if (AState == mcesHot || AState == mcesPressed) {
    pen = 0x5A000000;
    brush = 0x5AFFFFFF;
  } else if (AState == mcesSelected) {
    pen = 0x80000000;
    brush = 0x80FFFFFF;
  }
  TRect r = ARect;
  r.Deflate(1);
  const TdxGPPaintCanvasScope paint(ACanvas->Handle(), ARect);
  paint->SetSmoothingMode(smAntiAlias);
  paint->RoundRect(r, pen, brush, 4, 4, 1);
}

// ---------------------------------------------------------------------------
// The office navigation bar

namespace {

bool IsNavigationBarItemLit(TcxCalendarElementState AState) {
  return AState == cesHot || AState == cesPressed || AState == cesSelected;
}

}  // namespace

void P::OfficeNavigationBarDrawBackground(TcxCanvas* ACanvas, const TRect& ARect) {
  ACanvas->FillRect(ARect, TColor(0xE4E4E4));
}

void P::OfficeNavigationBarDrawScaledButtonItemBackground(TcxCanvas* ACanvas, const TRect& ARect,
                                                          TcxCalendarElementState AState,
                                                          const TdxScaleFactor* AScaleFactor) {
  DrawScaledButton(ACanvas, ARect, AState == cesHot ? cxbsHot : cxbsNormal, AScaleFactor, cxbpButton, clDefault);
}

void P::OfficeNavigationBarDrawScaledCustomizationButton(TcxCanvas* ACanvas, const TRect& ARect,
                                                         TcxCalendarElementState, const TdxScaleFactor*,
                                                         TdxAlphaColor AColor) {
  TdxSmartImage* image =
      CachedImage(FNavigationBarCustomizationButton, L"DX_NAVIGATIONBARCUSTOMIZATIONBUTTON", L"PNG");
  if (AColor == TdxAlphaColors::Default) {
    image->StretchDraw(ACanvas->Handle(), ARect);
    return;
  }
  std::uint8_t alpha = 0;
  const TColor color = ConvertAlphaColorToColor(AColor, alpha);
  const TOwned<TdxCustomSmartImage> copy = image->Clone();
  copy->ChangeColor(color);
  copy->StretchDraw(ACanvas->Handle(), ARect, alpha);
}

void P::OfficeNavigationBarDrawScaledItemBackground(TcxCanvas*, const TRect&, TcxCalendarElementState,
                                                    const TdxScaleFactor*) {}

void P::OfficeNavigationBarDrawScaledImageSelection(TcxCanvas* ACanvas, const TRect& ARect,
                                                    TcxCalendarElementState AState, const TdxScaleFactor*) {
  if (AState == cesHot || AState == cesSelected)
    ACanvas->FillRect(ARect, TColor(0xF7E6CD));
  else if (AState == cesPressed)
    ACanvas->FillRect(ARect, TColor(0xE0C092));
}

TColor P::OfficeNavigationBarButtonItemTextColor(TcxCalendarElementState AState) {
  return OfficeNavigationBarItemTextColor(AState);
}

TColor P::OfficeNavigationBarItemTextColor(TcxCalendarElementState AState) {
  return IsNavigationBarItemLit(AState) ? TColor(0xC67200) : TColor(0x565656);
}

TRect P::OfficeNavigationBarScaledButtonItemContentOffsets(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TRect(4, 4, 4, 4));
}

int P::OfficeNavigationBarScaledButtonItemFontSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(9);
}

TRect P::OfficeNavigationBarScaledContentOffsets(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TRect(2, 2, 2, 2));
}

TSize P::OfficeNavigationBarScaledCustomizationButtonSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(
      CachedImage(FNavigationBarCustomizationButton, L"DX_NAVIGATIONBARCUSTOMIZATIONBUTTON", L"PNG")->Size());
}

TRect P::OfficeNavigationBarScaledItemContentOffsets(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TRect(2, 2, 2, 2));
}

int P::OfficeNavigationBarScaledItemFontSize(const TdxScaleFactor* AScaleFactor) { return AScaleFactor->Apply(19); }

void P::OfficeNavigationBarDrawCustomizationButton(TcxCanvas* ACanvas, const TRect& ARect,
                                                   TcxCalendarElementState AState) {
  OfficeNavigationBarDrawScaledCustomizationButton(ACanvas, ARect, AState, SystemScaleFactor());
}

void P::OfficeNavigationBarDrawImageSelection(TcxCanvas* ACanvas, const TRect& ARect,
                                              TcxCalendarElementState AState) {
  OfficeNavigationBarDrawScaledImageSelection(ACanvas, ARect, AState, SystemScaleFactor());
}

void P::OfficeNavigationBarButtonItemDrawBackground(TcxCanvas* ACanvas, const TRect& ARect,
                                                    TcxCalendarElementState AState) {
  OfficeNavigationBarDrawScaledButtonItemBackground(ACanvas, ARect, AState, SystemScaleFactor());
}

void P::OfficeNavigationBarItemDrawBackground(TcxCanvas* ACanvas, const TRect& ARect,
                                              TcxCalendarElementState AState) {
  OfficeNavigationBarDrawScaledItemBackground(ACanvas, ARect, AState, SystemScaleFactor());
}

TRect P::OfficeNavigationBarContentOffsets() { return OfficeNavigationBarScaledContentOffsets(SystemScaleFactor()); }

TSize P::OfficeNavigationBarCustomizationButtonSize() {
  return OfficeNavigationBarScaledCustomizationButtonSize(SystemScaleFactor());
}

TRect P::OfficeNavigationBarButtonItemContentOffsets() {
  return OfficeNavigationBarScaledButtonItemContentOffsets(SystemScaleFactor());
}

int P::OfficeNavigationBarButtonItemFontSize() {
  return OfficeNavigationBarScaledButtonItemFontSize(SystemScaleFactor());
}

TRect P::OfficeNavigationBarItemContentOffsets() {
  return OfficeNavigationBarScaledItemContentOffsets(SystemScaleFactor());
}

int P::OfficeNavigationBarItemFontSize() { return OfficeNavigationBarScaledItemFontSize(SystemScaleFactor()); }

// ---------------------------------------------------------------------------
// The PDF viewer

IPtr<IdxColorPalette> P::PDFViewerNavigationPaneButtonColorPalette(TcxButtonState) { return nullptr; }

TRect P::PDFViewerNavigationPaneButtonContentOffsets(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TRect(2, 2, 2, 2));
}

TPoint P::PDFViewerNavigationPaneButtonOverlay(const TdxScaleFactor* AScaleFactor) {
  const TRect offsets = PDFViewerNavigationPaneContentOffsets(AScaleFactor);
  return TPoint(offsets.Left, offsets.Top + BorderSize());
}

TSize P::PDFViewerNavigationPaneButtonSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TSize(42, 42));
}

TRect P::PDFViewerNavigationPaneContentOffsets(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TRect(4, 4, 4, 4));
}

TRect P::PDFViewerNavigationPanePageCaptionContentOffsets(const TdxScaleFactor* AScaleFactor) {
  return PDFViewerNavigationPaneContentOffsets(AScaleFactor);
}

TColor P::PDFViewerNavigationPanePageCaptionTextColor() { return DefaultContentTextColor(); }

TRect P::PDFViewerNavigationPanePageContentOffsets(const TdxScaleFactor* AScaleFactor) {
  return PDFViewerNavigationPaneContentOffsets(AScaleFactor);
}

TRect P::PDFViewerNavigationPanePageToolbarContentOffsets(const TdxScaleFactor* AScaleFactor) {
  return PDFViewerNavigationPaneContentOffsets(AScaleFactor);
}

TColor P::PDFViewerSelectionColor() { return DefaultSelectionColor(); }

void P::PDFViewerDrawFindPanelBackground(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders) {
  DrawBorder(ACanvas, R);
  const int border = BorderSize();
  TRect inside = R;
  if (ABorders.Contains(bLeft)) inside.Left += border;
  if (ABorders.Contains(bTop)) inside.Top += border;
  if (ABorders.Contains(bRight)) inside.Right -= border;
  if (ABorders.Contains(bBottom)) inside.Bottom -= border;
  ACanvas->FillRect(inside, DefaultControlColor());
}

void P::PDFViewerDrawNavigationPaneBackground(TcxCanvas* ACanvas, const TRect& R, const TdxScaleFactor*) {
  PDFViewerDrawFindPanelBackground(ACanvas, R, {bRight});
}

void P::PDFViewerDrawNavigationPaneButton(TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState,
                                          const TdxScaleFactor* AScaleFactor, bool AMinimized, bool ASelected,
                                          bool) {
  // The pressed state always reaches out by the overlay, whatever AState.
  TRect r = PDFViewerNavigationPaneButtonRect(ARect, cxbsPressed, ASelected, AScaleFactor);
  if (AMinimized || !ASelected) {
    PDFViewerDrawFindPanelBackground(ACanvas, r, {bRight});
    r.Deflate(ButtonBorderSize(cxbsNormal));
    ACanvas->FillRect(r, ButtonColor(AState));
    return;
  }
  DrawBorder(ACanvas, r);
  r.Top += BorderSize();
  r.Bottom -= BorderSize();
  ACanvas->FillRect(r, DefaultControlColor());
}

void P::PDFViewerDrawNavigationPanePageBackground(TcxCanvas* ACanvas, const TRect& R) {
  PDFViewerDrawFindPanelBackground(ACanvas, R, {bRight});
}

void P::PDFViewerDrawNavigationPanePageButton(TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState,
                                              const TdxScaleFactor*) {
  if (AState == cxbsHot || AState == cxbsPressed) ACanvas->FillRect(ARect, clBtnShadow);
}

void P::PDFViewerDrawNavigationPanePageCaptionBackground(TcxCanvas* ACanvas, const TRect& R) {
  PDFViewerDrawFindPanelBackground(ACanvas, R, {bRight});
}

void P::PDFViewerDrawNavigationPanePageToolbarBackground(TcxCanvas* ACanvas, const TRect& R) {
  PDFViewerDrawFindPanelBackground(ACanvas, R, TcxBorders());
}

void P::PDFViewerDrawPageThumbnailPreviewBackground(TcxCanvas* ACanvas, const TRect& R,
                                                    const TdxScaleFactor* AScaleFactor) {
  DrawPrintPreviewScaledBackground(ACanvas, R, AScaleFactor);
}

TRect P::PDFViewerNavigationPaneButtonRect(const TRect& ARect, TcxButtonState AState, bool ASelected,
                                           const TdxScaleFactor* AScaleFactor) {
  TRect r = ARect;
  if (ASelected || AState == cxbsPressed) {
    const TPoint overlay = PDFViewerNavigationPaneButtonOverlay(AScaleFactor);
    r.Inflate(overlay.X, overlay.Y);
  }
  return r;
}

// ---------------------------------------------------------------------------
// Spreadsheets and the gantt sheet header

void P::DrawSpreadSheetScaledHeader(TcxCanvas* ACanvas, const TRect& R, TcxNeighbors ANeighbors, TcxBorders ABorders,
                                    TcxButtonState AState, const TdxScaleFactor*) {
  DrawHeaderBorder(ACanvas, R, ANeighbors, ABorders);
  TColor color = DefaultHeaderColor();
  if (AState == cxbsHot)
    color = BlendColors(clBtnHighlight, clHighlight, 85);
  else if (AState == cxbsPressed)
    color = BlendColors(clBtnFace, clHighlight, 70);
  ACanvas->FillRect(ScaledHeaderContentBounds(R, ABorders, DefaultScaleFactor()), color);
}

void P::DrawSpreadSheetScaledGroupExpandButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                               const TdxScaleFactor* AScaleFactor) {
  DrawScaledButton(ACanvas, R, AState, AScaleFactor, cxbpButton, clDefault);
}

void P::DrawSpreadSheetScaledGroupExpandButtonGlyph(TcxCanvas* ACanvas, const TRect& R, TcxButtonState,
                                                    bool AExpanded, const TdxScaleFactor* AScaleFactor,
                                                    TCustomImageList* ADefaultGlyphs) {
  const TRect glyph = CenteredIn(R, NavigatorScaledButtonGlyphSize(AScaleFactor));
  DrawNavigatorScaledButtonGlyph(ACanvas, ADefaultGlyphs, AExpanded ? 8 : 6, glyph, true, false, AScaleFactor);
}

TColor P::SpreadSheetContentColor() { return clWindow; }

TColor P::SpreadSheetContentTextColor() { return clWindowText; }

TColor P::SpreadSheetFrozenPaneSeparatorColor() { return clBlack; }

TColor P::SpreadSheetGroupExpandButtonTextColor(TcxButtonState AState) { return ButtonSymbolColor(AState, clDefault); }

TColor P::SpreadSheetGroupLineColor() { return TColor(0x808080); }

TColor P::SpreadSheetSelectionColor() { return DefaultSelectionColor(); }

TRect P::SpreadSheetScaledGroupExpandButtonContentOffsets(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TRect(3, 3, 3, 3));
}

TSize P::SpreadSheetScaledGroupExpandButtonGlyphSize(const TdxScaleFactor* AScaleFactor) {
  return NavigatorScaledButtonGlyphSize(AScaleFactor);
}

TSize P::SpreadSheetScaledGroupLevelMarkSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TSize(2, 2));
}

void P::DrawSpreadSheetFormulaBarScaledExpandButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                    bool AExpanded, const TdxScaleFactor*) {
  DrawScrollBarPart(ACanvas, false, R, AExpanded ? sbpLineUp : sbpLineDown, AState);
}

void P::DrawSpreadSheetFormulaBarScaledSeparator(TcxCanvas* ACanvas, const TRect& R,
                                                 const TdxScaleFactor* AScaleFactor) {
  DrawScaledSplitter(ACanvas, R, false, false, false, AScaleFactor, false, adLeft);
}

int P::SpreadSheetFormulaBarGetScaledSeparatorSize(const TdxScaleFactor* AScaleFactor) {
  return GetScaledSplitterSize(false, AScaleFactor).cx;
}

void P::DrawSpreadSheetGroupExpandButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) {
  DrawSpreadSheetScaledGroupExpandButton(ACanvas, R, AState, SystemScaleFactor());
}

void P::DrawSpreadSheetGroupExpandButtonGlyph(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                              bool AExpanded, TCustomImageList* ADefaultGlyphs) {
  DrawSpreadSheetScaledGroupExpandButtonGlyph(ACanvas, R, AState, AExpanded, SystemScaleFactor(), ADefaultGlyphs);
}

TRect P::SpreadSheetGroupExpandButtonContentOffsets() {
  return SpreadSheetScaledGroupExpandButtonContentOffsets(SystemScaleFactor());
}

TSize P::SpreadSheetGroupExpandButtonGlyphSize() { return SpreadSheetScaledGroupExpandButtonGlyphSize(SystemScaleFactor()); }

TSize P::SpreadSheetGroupLevelMarkSize() { return SpreadSheetScaledGroupLevelMarkSize(SystemScaleFactor()); }

void P::DrawGanttSheetHeader(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                             TcxNeighbors ANeighbors, TcxBorders ABorders, const TdxScaleFactor* AScaleFactor) {
  DrawSpreadSheetScaledHeader(ACanvas, ABounds, ANeighbors, ABorders, AState, AScaleFactor);
}
