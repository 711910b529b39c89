// The base painter's gantt charts, list and tree views and gauges.
#include "library/graphics/canvas/cxCanvasScopes.h"
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
