// The base painter's headers, sorting marks, footers, filter and find
// panels, hints and screen tips, tabs and the record indicator.
#include "library/core/base/dxCore.h"
#include "library/graphics/canvas/cxCanvasScopes.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters_ImageLists.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters_Internal.h"
#include "library/lookandfeel/painters/dxOffice11.h"
#include "library/lookandfeel/settings/cxLookAndFeels.h"

#include <array>

using P = TcxCustomLookAndFeelPainter;

namespace {

TRect Deflated(const TRect& R, const TRect& AMargins) {
  return TRect(R.Left + AMargins.Left, R.Top + AMargins.Top, R.Right - AMargins.Right, R.Bottom - AMargins.Bottom);
}

// Filter token backgrounds: the first colour at rest, the second hot (and
// in the default state).
void FillFilterBackground(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, TColor ANormal, TColor AHot) {
  const TcxCanvasStateScope state(ACanvas);
  ACanvas->FillRect(R, AState == cxbsDefault || AState == cxbsHot ? AHot : ANormal);
}

// The summary-value mark among the indicator images.
constexpr int SummaryValueSortingImage = 7;

}  // namespace

// ---------------------------------------------------------------------------
// Headers

void P::DrawHeaderBorder(TcxCanvas* ACanvas, const TRect& R, TcxNeighbors ANeighbors, TcxBorders) {
  ACanvas->DrawComplexFrame(R, clBtnHighlight, clBtnShadow);
  // Where a neighbour joins, the corners blend into the face.
  if (ANeighbors.Contains(nLeft)) {
    ACanvas->FillPixel(R.Left, R.Top + 1, clBtnFace);
    ACanvas->FillPixel(R.Left, R.Bottom - 2, clBtnFace);
  }
  if (ANeighbors.Contains(nRight)) {
    ACanvas->FillPixel(R.Right - 1, R.Top, clBtnHighlight);
    ACanvas->FillPixel(R.Right - 1, R.Top + 1, clBtnFace);
    ACanvas->FillPixel(R.Right - 1, R.Bottom - 2, clBtnFace);
  }
}

void P::DrawHeaderPressed(TcxCanvas* ACanvas, const TRect& ABounds) { ACanvas->InvertRect(ABounds); }

void P::DrawHeaderControlSectionBorder(TcxCanvas*, const TRect&, TcxBorders, TcxButtonState) {}

void P::DrawHeaderControlSectionContent(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                                        TcxButtonState AState, TAlignment AAlignmentHorz,
                                        TcxAlignmentVert AAlignmentVert, bool AMultiLine, bool AShowEndEllipsis,
                                        const String& AText, TFont* AFont, TColor ATextColor, TColor ABkColor) {
  ACanvas->FillRect(ABounds, ABkColor);
  DrawHeaderControlSectionText(ACanvas, HeaderControlSectionTextAreaBounds(ATextAreaBounds, AState), AState,
                               AAlignmentHorz, AAlignmentVert, AMultiLine, AShowEndEllipsis, AText, AFont, ATextColor);
}

void P::DrawHeaderControlSectionText(TcxCanvas* ACanvas, const TRect& ATextAreaBounds, TcxButtonState AState,
                                     TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert, bool AMultiLine,
                                     bool AShowEndEllipsis, const String& AText, TFont* AFont, TColor ATextColor) {
  if (AText.empty()) return;
  const TcxCanvasStateScope state(ACanvas);
  ACanvas->SetBrushColor(clNone);
  if (AFont) ACanvas->Font()->Assign(AFont);
  const auto draw = [&](const TRect& R, TColor AColor) {
    ACanvas->Font()->SetColor(AColor);
    ACanvas->DrawTexT(AText, R, AAlignmentHorz, AAlignmentVert, AMultiLine, AShowEndEllipsis);
  };
  if (AState == cxbsDisabled) {
    TRect shifted = ATextAreaBounds;
    shifted.Offset(1, 1);
    draw(shifted, clBtnHighlight);
    draw(ATextAreaBounds, clBtnShadow);
  } else {
    draw(ATextAreaBounds, ATextColor);
  }
}

void P::DrawHeaderSeparator(TcxCanvas* ACanvas, const TRect& ABounds, int AIndentSize, TColor AColor,
                            const TcxViewParams& AViewParams) {
  ACanvas->FillRect(TRect(ABounds.Left, ABounds.Top, ABounds.Left + AIndentSize, ABounds.Bottom), AViewParams);
  ACanvas->FillRect(TRect(ABounds.Right - AIndentSize, ABounds.Top, ABounds.Right, ABounds.Bottom), AViewParams);
  ACanvas->FillRect(TRect(ABounds.Left + AIndentSize, ABounds.Top, ABounds.Right - AIndentSize, ABounds.Bottom),
                    AColor);
}

void P::DrawScaledHeader(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState, TcxNeighbors ANeighbors,
                         TcxBorders ABorders, const TdxScaleFactor*, bool, bool) {
  DrawHeaderBorder(ACanvas, ABounds, ANeighbors, ABorders);
  DrawHeaderBackground(ACanvas, HeaderContentBounds(ABounds, ABorders), DefaultHeaderColor());
}

void P::DrawScaledHeader(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                         TcxNeighbors ANeighbors, TcxBorders ABorders, TcxButtonState, TAlignment AAlignmentHorz,
                         TcxAlignmentVert AAlignmentVert, bool AMultiLine, bool AShowEndEllipsis, const String& AText,
                         TFont* AFont, TColor ATextColor, TColor ABkColor, const TdxScaleFactor* AScaleFactor,
                         const TcxDrawBackgroundEvent& AOnDrawBackground, bool, bool) {
  DrawHeaderBorder(ACanvas, ABounds, ANeighbors, ABorders);
  DoDrawHeader(ACanvas, ScaledHeaderContentBounds(ABounds, ABorders, AScaleFactor), ATextAreaBounds, AAlignmentHorz,
               AAlignmentVert, AMultiLine, AShowEndEllipsis, AText, AFont, ATextColor, ABkColor, AOnDrawBackground);
}

void P::DrawScaledHeaderEx(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                           TcxNeighbors ANeighbors, TcxBorders ABorders, TcxButtonState AState,
                           TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert, bool AMultiLine,
                           bool AShowEndEllipsis, const String& AText, TFont* AFont, TColor ATextColor,
                           TColor ABkColor, const TdxScaleFactor* AScaleFactor,
                           const TcxDrawBackgroundEvent& AOnDrawBackground) {
  DrawScaledHeader(ACanvas, ABounds, ATextAreaBounds, ANeighbors, ABorders, AState, AAlignmentHorz, AAlignmentVert,
                   AMultiLine, AShowEndEllipsis, AText, AFont, ATextColor, ABkColor, AScaleFactor, AOnDrawBackground,
                   false, false);
}

void P::DrawScaledHeaderControlSection(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                                       TcxNeighbors, TcxBorders ABorders, TcxButtonState AState,
                                       TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert, bool AMultiLine,
                                       bool AShowEndEllipsis, const String& AText, TFont* AFont, TColor ATextColor,
                                       TColor ABkColor, const TdxScaleFactor*) {
  DrawHeaderControlSectionBorder(ACanvas, ABounds, ABorders, AState);
  DrawHeaderControlSectionContent(ACanvas, HeaderControlSectionContentBounds(ABounds, AState), ATextAreaBounds, AState,
                                  AAlignmentHorz, AAlignmentVert, AMultiLine, AShowEndEllipsis, AText, AFont,
                                  ATextColor, ABkColor);
}

TcxBorders P::HeaderBorders(TcxNeighbors) { return cxBordersAll(); }

int P::HeaderBorderSize() { return 0; }

TRect P::HeaderBounds(const TRect& ABounds, TcxNeighbors ANeighbors, TcxBorders ABorders) {
  const TcxBorders own = HeaderBorders(ANeighbors);
  const int size = HeaderBorderSize();
  const auto grow = [&](TcxBorder ABorder) { return ABorders.Contains(ABorder) && !own.Contains(ABorder) ? size : 0; };
  return TRect(ABounds.Left - grow(bLeft), ABounds.Top - grow(bTop), ABounds.Right + grow(bRight),
               ABounds.Bottom + grow(bBottom));
}

TRect P::HeaderContentOffsets(const TdxScaleFactor* AScaleFactor) {
  const TRect padding = AScaleFactor->Apply(TdxVisualRefinements::HeaderPadding());
  const int offset = AScaleFactor->Apply(2);
  return TRect(offset + padding.Left, offset + padding.Top, offset + padding.Right, offset + padding.Bottom);
}

int P::HeaderControlSectionBorderSize(TcxButtonState) { return 1; }

TRect P::HeaderControlSectionContentBounds(const TRect& ABounds, TcxButtonState AState) {
  TRect result = ABounds;
  result.Deflate(HeaderControlSectionBorderSize(AState));
  return result;
}

TRect P::HeaderControlSectionTextAreaBounds(const TRect& ABounds, TcxButtonState AState) {
  TRect result = ABounds;
  if (AState == cxbsPressed) result.Offset(1, 1);
  return result;
}

bool P::HeaderDrawCellsFirst() { return true; }

IPtr<IdxColorPalette> P::HeaderGlyphColorPalette(TcxButtonState) { return {}; }

bool P::IsHeaderHotTrack() { return false; }

TRect P::ScaledHeaderContentBounds(const TRect& ABounds, TcxBorders ABorders, const TdxScaleFactor*) {
  const int size = HeaderBorderSize();
  const auto inset = [&](TcxBorder ABorder) { return ABorders.Contains(ABorder) ? size : 0; };
  return Deflated(ABounds, TRect(inset(bLeft), inset(bTop), inset(bRight), inset(bBottom)));
}

int P::ScaledHeaderHeight(int AFontHeight, const TdxScaleFactor* AScaleFactor) {
  const TRect offsets = HeaderContentOffsets(AScaleFactor);
  int result = offsets.Top + offsets.Bottom + AFontHeight + 2 * HeaderBorderSize();
  EnsureTouchModeMinimum(result, AScaleFactor);
  return result;
}

int P::ScaledHeaderWidth(TcxCanvas* ACanvas, TcxBorders ABorders, const String& AText, TFont* AFont,
                         const TdxScaleFactor* AScaleFactor) {
  const TcxCanvasStateScope state(ACanvas);
  if (AFont) ACanvas->Font()->Assign(AFont);
  const TRect offsets = HeaderContentOffsets(AScaleFactor);
  int result = offsets.Left + offsets.Right + ACanvas->TextWidth(AText);
  // The right border counts against the width, as it always has.
  if (ABorders.Contains(bLeft)) result += HeaderBorderSize();
  if (ABorders.Contains(bRight)) result -= HeaderBorderSize();
  return result;
}

void P::DrawHeader(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds, TcxNeighbors ANeighbors,
                   TcxBorders ABorders, TcxButtonState AState, TAlignment AAlignmentHorz,
                   TcxAlignmentVert AAlignmentVert, bool AMultiLine, bool AShowEndEllipsis, const String& AText,
                   TFont* AFont, TColor ATextColor, TColor ABkColor, const TcxDrawBackgroundEvent& AOnDrawBackground,
                   bool AIsLast, bool AIsGroup) {
  DrawScaledHeader(ACanvas, ABounds, ATextAreaBounds, ANeighbors, ABorders, AState, AAlignmentHorz, AAlignmentVert,
                   AMultiLine, AShowEndEllipsis, AText, AFont, ATextColor, ABkColor, DefaultScaleFactor(),
                   AOnDrawBackground, AIsLast, AIsGroup);
}

void P::DrawHeaderEx(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds, TcxNeighbors ANeighbors,
                     TcxBorders ABorders, TcxButtonState AState, TAlignment AAlignmentHorz,
                     TcxAlignmentVert AAlignmentVert, bool AMultiLine, bool AShowEndEllipsis, const String& AText,
                     TFont* AFont, TColor ATextColor, TColor ABkColor,
                     const TcxDrawBackgroundEvent& AOnDrawBackground) {
  DrawScaledHeaderEx(ACanvas, ABounds, ATextAreaBounds, ANeighbors, ABorders, AState, AAlignmentHorz, AAlignmentVert,
                     AMultiLine, AShowEndEllipsis, AText, AFont, ATextColor, ABkColor, DefaultScaleFactor(),
                     AOnDrawBackground);
}

TRect P::HeaderContentBounds(const TRect& ABounds, TcxBorders ABorders) {
  return ScaledHeaderContentBounds(ABounds, ABorders, DefaultScaleFactor());
}

int P::HeaderHeight(int AFontHeight) { return ScaledHeaderHeight(AFontHeight, DefaultScaleFactor()); }

void P::DrawHeaderControlSection(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                                 TcxNeighbors ANeighbors, TcxBorders ABorders, TcxButtonState AState,
                                 TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert, bool AMultiLine,
                                 bool AShowEndEllipsis, const String& AText, TFont* AFont, TColor ATextColor,
                                 TColor ABkColor) {
  DrawScaledHeaderControlSection(ACanvas, ABounds, ATextAreaBounds, ANeighbors, ABorders, AState, AAlignmentHorz,
                                 AAlignmentVert, AMultiLine, AShowEndEllipsis, AText, AFont, ATextColor, ABkColor,
                                 SystemScaleFactor());
}

int P::HeaderWidth(TcxCanvas* ACanvas, TcxBorders ABorders, const String& AText, TFont* AFont) {
  return ScaledHeaderWidth(ACanvas, ABorders, AText, AFont, SystemScaleFactor());
}

void P::DoDrawHeader(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                     TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert, bool AMultiLine,
                     bool AShowEndEllipsis, const String& AText, TFont* AFont, TColor ATextColor, TColor ABkColor,
                     const TcxDrawBackgroundEvent& AOnDrawBackground) {
  if (!AOnDrawBackground || !AOnDrawBackground(ACanvas, ABounds)) DrawHeaderBackground(ACanvas, ABounds, ABkColor);
  if (AText.empty()) return;
  const TcxCanvasStateScope state(ACanvas);
  ACanvas->SetBrushColor(clNone);
  if (AFont) ACanvas->Font()->Assign(AFont);
  ACanvas->Font()->SetColor(ATextColor);
  ACanvas->DrawTexT(AText, ATextAreaBounds, AAlignmentHorz, AAlignmentVert, AMultiLine, AShowEndEllipsis);
}

void P::DrawHeaderBackground(TcxCanvas* ACanvas, const TRect& R, TColor AColor) { ACanvas->FillRect(R, AColor); }

void P::FillPartBackground(TcxCanvas* ACanvas, const TRect& R, TBitmap* ABitmap, TColor AColor, bool ATransparent) {
  if (!ATransparent)
    ACanvas->FillRect(R, AColor);
  else if (ABitmap && !ABitmap->Empty())
    ACanvas->FillRect(R, ABitmap);
}

// ---------------------------------------------------------------------------
// Sorting marks

void P::DrawScaledSortingMark(TcxCanvas*, const TRect&, bool, const TdxScaleFactor*) {}

void P::DrawScaledSummarySortingMark(TcxCanvas*, const TRect&, bool, const TdxScaleFactor*) {}

TSize P::ScaledSortingMarkSize(const TdxScaleFactor*) { return TSize(); }

TSize P::ScaledSummarySortingMarkSize(const TdxScaleFactor*) { return TSize(); }

TPoint P::ScaledSortingMarkAreaSize(const TdxScaleFactor* AScaleFactor) {
  return TPoint(AScaleFactor->Apply(cxIsTouchModeEnabled() ? 20 : 16), ScaledSortingMarkSize(AScaleFactor).cy);
}

void P::DrawScaledSummaryValueSortingMark(TcxCanvas* ACanvas, const TRect& R, bool,
                                          const TdxScaleFactor* AScaleFactor) {
  if (TCustomImageList* images = cxIndicatorImages())
    DrawScaledImage(ACanvas->Canvas(), R, nullptr, images, SummaryValueSortingImage, ifmNormal, idmNormal, false,
                    nullptr, AScaleFactor);
}

TSize P::ScaledSummaryValueSortingMarkSize(const TdxScaleFactor* AScaleFactor) {
  TCustomImageList* images = cxIndicatorImages();
  return images ? AScaleFactor->Apply(TSize(images->Width(), images->Height())) : TSize();
}

namespace {

// The triangle of a sorting mark w wide and h tall, its apex row at y and
// its base h - 1 rows further in the direction s; the pen is light on the
// right edge, dark on the left, and the base takes the colour of the side
// the mark points away from.
void DrawTriangle(TcxCanvas* ACanvas, int x, int y, int w, int h, bool AAscending, TColor ADarkColor,
                  TColor ALightColor) {
  const int s = AAscending ? 1 : -1;
  const int r = w / 2;
  const int l = w % 2 == 0 ? r - 1 : r;
  TPen* pen = ACanvas->Pen();
  pen->SetColor(ALightColor);
  ACanvas->MoveTo(x + r, y + (h - 2) * s);
  ACanvas->LineTo(x + r - l, y);
  ACanvas->LineTo(x + r, y + (h - 1) * s);
  if (!AAscending) pen->SetColor(ADarkColor);
  ACanvas->LineTo(x - l, y + (h - 1) * s);
  if (AAscending) pen->SetColor(ADarkColor);
  ACanvas->LineTo(x, y);
  ACanvas->LineTo(x - l, y + (h - w % 2) * s);
}

int TriangleX(const TRect& R, int w) { return (R.Left + R.Right) / 2 - (w % 2 == 0 ? 1 : 0); }

}  // namespace

void P::DrawSortingTriangle(TcxCanvas* ACanvas, const TRect& R, TColor ADarkColor, TColor ALightColor,
                            bool AAscending, const TdxScaleFactor* AScaleFactor) {
  const TSize size = ScaledSortingMarkSize(AScaleFactor);
  const int y = AAscending ? (R.Top + R.Bottom - size.cy) / 2 : (R.Top + R.Bottom + size.cy) / 2 - 1;
  DrawTriangle(ACanvas, TriangleX(R, size.cx), y, size.cx, size.cy, AAscending, ADarkColor, ALightColor);
}

void P::DrawSummarySortingTriangle(TcxCanvas* ACanvas, const TRect& R, TColor ADarkColor, TColor ALightColor,
                                   bool AAscending, const TdxScaleFactor* AScaleFactor) {
  const TSize size = ScaledSummarySortingMarkSize(AScaleFactor);
  const int x = TriangleX(R, size.cx);
  const int r = size.cx / 2;
  const int l = size.cx % 2 == 0 ? r - 1 : r;
  // The bar: dark, with a light row under it when the colours differ.
  ACanvas->Pen()->SetColor(ADarkColor);
  ACanvas->MoveTo(x - l, R.Top);
  ACanvas->LineTo(x + r + 1, R.Top);
  if (ADarkColor != ALightColor) {
    ACanvas->Pen()->SetColor(ALightColor);
    ACanvas->MoveTo(x - l, R.Top + 1);
    ACanvas->LineTo(x + r + 1, R.Top + 1);
  }
  const int h = size.cy - 2;
  const int y = AAscending ? (R.Top + R.Bottom - h) / 2 + 2 : (R.Top + R.Bottom + h) / 2 + 1;
  DrawTriangle(ACanvas, x, y, size.cx, h, AAscending, ADarkColor, ALightColor);
}

TPoint P::SortingMarkAreaSize() { return ScaledSortingMarkAreaSize(SystemScaleFactor()); }

TSize P::SortingMarkSize() { return ScaledSortingMarkSize(SystemScaleFactor()); }

TSize P::SummarySortingMarkSize() { return ScaledSummarySortingMarkSize(SystemScaleFactor()); }

TSize P::SummaryValueSortingMarkSize() { return ScaledSummaryValueSortingMarkSize(SystemScaleFactor()); }

void P::DrawSortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting) {
  DrawScaledSortingMark(ACanvas, R, AAscendingSorting, SystemScaleFactor());
}

void P::DrawSummarySortingMark(TcxCanvas*, const TRect&, bool) {}

void P::DrawSummaryValueSortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting) {
  DrawScaledSummaryValueSortingMark(ACanvas, R, AAscendingSorting, SystemScaleFactor());
}

// ---------------------------------------------------------------------------
// Footers

TcxBorders P::FooterBorders() { return cxBordersAll(); }

int P::FooterBorderSize() { return 0; }

int P::FooterCellBorderSize() { return 0; }

int P::FooterCellOffset() { return 0; }

bool P::FooterDrawCellsFirst() { return true; }

TColor P::FooterSeparatorColor() { return clBtnShadow; }

int P::FooterSeparatorSize() { return 1; }

void P::DrawFooterBorder(TcxCanvas*, const TRect&) {}

void P::DrawFooterBorderEx(TcxCanvas* ACanvas, const TRect& R, TcxBorders) {
  const int separator = FooterSeparatorSize();
  DrawFooterSeparator(ACanvas, TRect(R.Left, R.Top, R.Right, R.Top + separator));
  DrawFooterBorder(ACanvas, TRect(R.Left, R.Top + separator, R.Right, R.Bottom));
}

void P::DrawFooterCell(TcxCanvas* ACanvas, const TRect& ABounds, TAlignment AAlignmentHorz,
                       TcxAlignmentVert AAlignmentVert, bool AMultiLine, const String& AText, TFont* AFont,
                       TColor ATextColor, TColor ABkColor, const TcxDrawBackgroundEvent& AOnDrawBackground) {
  DrawFooterCellBorder(ACanvas, ABounds);
  DrawFooterCellContent(ACanvas, ABounds, AAlignmentHorz, AAlignmentVert, AMultiLine, AText, AFont, ATextColor,
                        ABkColor, AOnDrawBackground);
}

void P::DrawFooterCellBorder(TcxCanvas*, const TRect&) {}

void P::DrawFooterCellContent(TcxCanvas* ACanvas, const TRect& ABounds, TAlignment AAlignmentHorz,
                              TcxAlignmentVert AAlignmentVert, bool AMultiLine, const String& AText, TFont* AFont,
                              TColor ATextColor, TColor ABkColor, const TcxDrawBackgroundEvent& AOnDrawBackground) {
  DoDrawHeader(ACanvas, FooterCellContentBounds(ABounds), FooterCellTextAreaBounds(ABounds), AAlignmentHorz,
               AAlignmentVert, AMultiLine, false, AText, AFont, ATextColor, ABkColor, AOnDrawBackground);
}

void P::DrawFooterContent(TcxCanvas* ACanvas, const TRect& ARect, const TcxViewParams& AViewParams) {
  ACanvas->FillRect(ARect, AViewParams);
}

void P::DrawFooterSeparator(TcxCanvas* ACanvas, const TRect& R) { ACanvas->FillRect(R, FooterSeparatorColor()); }

void P::DrawFooterPanel(TcxCanvas* ACanvas, const TRect& ABounds, const TcxViewParams& AViewParams,
                        TcxBorders ABorders) {
  const TcxClipRegionScope clip(ACanvas, ABounds);
  DrawFooterContent(ACanvas, ABounds, AViewParams);
  DrawFooterBorderEx(ACanvas, ABounds, ABorders);
}

TRect P::FooterCellContentBounds(const TRect& R) {
  TRect result = R;
  result.Deflate(FooterCellBorderSize());
  return result;
}

TRect P::FooterCellTextAreaBounds(const TRect& R) {
  TRect result = FooterCellContentBounds(R);
  result.Deflate(2);
  return Deflated(result, TdxVisualRefinements::ItemPadding());
}

// ---------------------------------------------------------------------------
// Grid group rows, the group-by box and the filter row

void P::DrawGroupByBox(TcxCanvas* ACanvas, const TRect& ARect, bool ATransparent, TColor ABackgroundColor,
                       TBitmap* ABackgroundBitmap) {
  FillPartBackground(ACanvas, ARect, ABackgroundBitmap, ABackgroundColor, ATransparent);
}

TColor P::GridGroupRowStyleOffice11ContentColor(bool AHasData) {
  return AHasData ? clWindow : Office11GroupRowContentColor();
}

TColor P::GridGroupRowStyleOffice11SeparatorColor() { return Office11GroupRowSeparatorColor(); }

TColor P::GridGroupRowStyleOffice11TextColor() { return Office11Color(Office11GroupRowTextColor); }

int P::GridBordersOverlapSize() { return 0; }

bool P::GridDrawHeaderCellsFirst() { return HeaderDrawCellsFirst(); }

void P::DrawFilterRowSeparator(TcxCanvas* ACanvas, const TRect& ARect, TColor ABackgroundColor) {
  DrawHeader(ACanvas, ARect, ARect, {}, cxBordersAll(), cxbsNormal, taLeftJustify, vaTop, false, false, String(),
             nullptr, clWindowText, ABackgroundColor);
}

// ---------------------------------------------------------------------------
// Filter panel and filter control

void P::DrawFilterPanel(TcxCanvas* ACanvas, const TRect& ARect, bool ATransparent, TColor ABackgroundColor,
                        TGraphic* ABackgroundBitmap) {
  TOwned<TBitmap> bitmap;
  if (ABackgroundBitmap && !ABackgroundBitmap->Empty()) {
    bitmap.reset(New<TBitmap>());
    bitmap->SetSize(ABackgroundBitmap->Width(), ABackgroundBitmap->Height());
    bitmap->Canvas()->Draw(0, 0, ABackgroundBitmap);
  }
  FillPartBackground(ACanvas, ARect, bitmap.get(), ABackgroundColor, ATransparent);
}

void P::DrawScaledFilterActivateButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AChecked,
                                       const TdxScaleFactor* AScaleFactor) {
  DrawScaledCheckButton(ACanvas, R, AState, AChecked ? cbsChecked : cbsUnchecked, AScaleFactor);
}

void P::DrawScaledFilterDropDownButton(TcxCanvas*, const TRect&, TcxButtonState, bool, const TdxScaleFactor*) {}

void P::DrawScaledFilterSmartTag(TcxCanvas* ACanvas, const TRect& R, TcxFilterSmartTagState AState,
                                 bool AIsFilterActive, const TdxScaleFactor*) {
  const IPtr<IdxColorPalette> palette(
      New<TdxSimpleColorPalette>(TdxAlphaColor(0), ColorToAlphaColor(FilterSmartTagColor(AState, AIsFilterActive))));
  CachedImage(FSmartTagGlyph, L"CX_SMARTTAG", L"SVG")->StretchDraw(ACanvas->Handle(), R, 255, palette.Get());
}

IPtr<IdxColorPalette> P::FilterControlMenuGetColorPalette() { return {}; }

TPoint P::ScaledFilterActivateButtonSize(const TdxScaleFactor* AScaleFactor) {
  return TPoint(AScaleFactor->Apply(13), AScaleFactor->Apply(13));
}

TPoint P::ScaledFilterDropDownButtonSize(const TdxScaleFactor* AScaleFactor) {
  TPoint result(AScaleFactor->Apply(15), 0);
  // The touch minimum follows the system's DPI, not the control's.
  EnsureTouchModeMinimum(result.X);
  return result;
}

TSize P::ScaledFilterSmartTagSize(const TdxScaleFactor* AScaleFactor) { return AScaleFactor->Apply(TSize(10, 10)); }

void P::DrawScaledFilterBoolOperatorBackground(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                               const TdxScaleFactor*) {
  FillFilterBackground(ACanvas, R, AState, TColor(0xCDCDF7), TColor(0xB4B4F3));
}

void P::DrawScaledFilterItemCaptionBackground(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                              const TdxScaleFactor*) {
  FillFilterBackground(ACanvas, R, AState, TColor(0xA8CAE9), TColor(0x9ACBF4));
}

void P::DrawScaledFilterOperatorBackground(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                           const TdxScaleFactor*) {
  FillFilterBackground(ACanvas, R, AState, TColor(0xE0CCC1), TColor(0xE4C8BA));
}

void P::DrawScaledFilterValueBackground(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                        const TdxScaleFactor*) {
  FillFilterBackground(ACanvas, R, AState, TColor(0xBFD3C0), TColor(0xB7D5BC));
}

void P::DrawScaledFilterControlAddButtonGlyph(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                              const TdxScaleFactor*) {
  const IPtr<IdxColorPalette> palette = OneColorPalette(FilterControlAddButtonGlyphColor(AState));
  CachedImage(FFilterControlAddButtonGlyph, L"DX_FILTERCONTROLADDBUTTON", L"SVG")
      ->StretchDraw(ACanvas->Handle(), R, 255, palette.Get());
}

void P::DrawScaledFilterControlRemoveButtonGlyph(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                                 const TdxScaleFactor*) {
  const IPtr<IdxColorPalette> palette = OneColorPalette(FilterControlRemoveButtonGlyphColor(AState));
  CachedImage(FFilterControlRemoveButtonGlyph, L"DX_FILTERCONTROLREMOVEBUTTON", L"SVG")
      ->StretchDraw(ACanvas->Handle(), R, 255, palette.Get());
}

void P::DrawScaledFilterPanelRemoveButtonGlyph(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                               const TdxScaleFactor*) {
  const IPtr<IdxColorPalette> palette = OneColorPalette(FilterControlRemoveButtonGlyphColor(AState));
  CachedImage(FFilterPanelRemoveButtonGlyph, L"DX_FILTERPANELREMOVEBUTTON", L"SVG")
      ->StretchDraw(ACanvas->Handle(), R, 255, palette.Get());
}

void P::DrawScaledFilterPanelBrackets(TcxCanvas* ACanvas, const TRect& R, const TdxScaleFactor*) {
  const TColor color = TColor(0xC3C3C3);
  const TRect left(R.Left, R.Top, R.Left + 4, R.Bottom);
  const TRect right(R.Right - 4, R.Top, R.Right, R.Bottom);
  // Each polyline leaves out its last point.
  const std::array<TPoint, 4> opening = {TPoint(left.Right - 1, left.Bottom - 1), TPoint(left.Left, left.Bottom - 1),
                                         TPoint(left.Left, left.Top), TPoint(left.Right, left.Top)};
  const std::array<TPoint, 4> closing = {TPoint(right.Left, right.Bottom - 1), TPoint(right.Right - 1, right.Bottom - 1),
                                         TPoint(right.Right - 1, right.Top), TPoint(right.Left - 1, right.Top)};
  ACanvas->Polyline(opening, color);
  ACanvas->Polyline(closing, color);
}

void P::DrawScaledFilterPanelRemovingArea(TcxCanvas* ACanvas, const TRect& R, const TdxScaleFactor*) {
  std::uint8_t alpha = 0;
  ACanvas->Rectangle(R, clNone, ConvertAlphaColorToColor(FilterControlRemoveButtonGlyphColor(cxbsHot), alpha), psDot);
}

void P::GetScaledFilterTokenParams(TdxFilterTokenParams& AParams, const TdxScaleFactor* AScaleFactor) {
  const TColor text = DefaultContentTextColor();
  const TRect margins = AScaleFactor->Apply(TRect(5, 3, 5, 3));
  AParams.BoolOperatorTextColor = text;
  AParams.BoolOperatorTextMargins = margins;
  AParams.ElementsIndent = AScaleFactor->Apply(2);
  AParams.FilterControlBackgroundColor = clDefault;
  AParams.FilterPanelItemMargins = TRect(4, 3, 4, 3);
  AParams.ItemCaptionTextColor = text;
  AParams.ItemCaptionTextMargins = margins;
  AParams.OperatorTextColor = text;
  AParams.OperatorTextMargins = margins;
  AParams.ValueTextColor = text;
  AParams.ValueTextMargins = margins;
}

void P::DrawFilterActivateButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AChecked) {
  DrawScaledFilterActivateButton(ACanvas, R, AState, AChecked, SystemScaleFactor());
}

void P::DrawFilterDropDownButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AIsFilterActive) {
  DrawScaledFilterDropDownButton(ACanvas, R, AState, AIsFilterActive, SystemScaleFactor());
}

void P::DrawFilterSmartTag(TcxCanvas* ACanvas, const TRect& R, TcxFilterSmartTagState AState, bool AIsFilterActive) {
  DrawScaledFilterSmartTag(ACanvas, R, AState, AIsFilterActive, SystemScaleFactor());
}

TPoint P::FilterActivateButtonSize() { return ScaledFilterActivateButtonSize(SystemScaleFactor()); }

TPoint P::FilterDropDownButtonSize() { return ScaledFilterDropDownButtonSize(SystemScaleFactor()); }

TSize P::FilterSmartTagSize() { return ScaledFilterSmartTagSize(SystemScaleFactor()); }

void P::DrawFilterDropDownArrow(TcxCanvas* ACanvas, const TRect& R, TColor AColor) {
  int base = R.Width() / 2;
  if (base % 2 == 0) --base;
  const int height = base / 2 + 1;
  const int left = R.Left + (R.Width() - base) / 2;
  const int top = R.Top + (R.Height() - height) / 2;
  const std::array<TPoint, 3> points = {TPoint(left, top), TPoint(left + base - 1, top),
                                        TPoint(left + base / 2, top + height - 1)};
  ACanvas->Polygon(points, AColor, AColor);
}

TdxAlphaColor P::FilterControlAddButtonGlyphColor(TcxButtonState AState) {
  if (AState == cxbsDefault || AState == cxbsHot) return ColorToAlphaColor(Rgb(34, 33, 55));
  return ColorToAlphaColor(AState == cxbsPressed ? Rgb(84, 84, 84) : Rgb(132, 132, 132));
}

TdxAlphaColor P::FilterControlRemoveButtonGlyphColor(TcxButtonState AState) {
  if (AState == cxbsDefault || AState == cxbsHot) return ColorToAlphaColor(Rgb(213, 8, 8));
  return ColorToAlphaColor(AState == cxbsPressed ? Rgb(84, 84, 84) : Rgb(132, 132, 132));
}

TColor P::FilterSmartTagColor(TcxFilterSmartTagState AState, bool AHighlighted) {
  switch (AState) {
    case fstsHot: return Rgb(132, 132, 132);
    case fstsPressed: return Rgb(48, 48, 48);
    case fstsNormal:
    case fstsParentHot: return AHighlighted ? Rgb(0, 38, 255) : Rgb(96, 96, 96);
  }
  return Rgb(96, 96, 96);
}

// ---------------------------------------------------------------------------
// The find panel

void P::DrawFindPanel(TcxCanvas* ACanvas, const TRect& ARect, bool ATransparent, TColor ABackgroundColor,
                      TGraphic* ABackgroundBitmap) {
  DrawFilterPanel(ACanvas, ARect, ATransparent, ABackgroundColor, ABackgroundBitmap);
}

void P::DrawFindPanelBorder(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders) {
  DrawFooterBorderEx(ACanvas, R, ABorders);
}

void P::DrawScaledFindPanelNextButtonGlyph(TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState,
                                           const TdxScaleFactor*) {
  const IPtr<IdxColorPalette> palette = OneColorPalette(ColorToAlphaColor(ButtonSymbolColor(AState, clDefault)));
  CachedImage(FFindPanelNextButtonGlyph, L"CX_DOWN", L"SVG")->StretchDraw(ACanvas->Handle(), ARect, 255, palette.Get());
}

void P::DrawScaledFindPanelPreviousButtonGlyph(TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState,
                                               const TdxScaleFactor*) {
  const IPtr<IdxColorPalette> palette = OneColorPalette(ColorToAlphaColor(ButtonSymbolColor(AState, clDefault)));
  CachedImage(FFindPanelPreviousButtonGlyph, L"CX_UP", L"SVG")->StretchDraw(ACanvas->Handle(), ARect, 255, palette.Get());
}

void P::DrawScaledGroupByBoxSearchButtonGlyph(TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState,
                                              const TdxScaleFactor*, TColor AColor) {
  const bool active = AState == cxbsHot || AState == cxbsPressed;
  const TdxAlphaColor fill = AColor != clDefault ? ColorToAlphaColor(AColor, active ? 150 : 255)
                             : active            ? ColorToAlphaColor(DefaultContentTextColor())
                                                 : ColorToAlphaColor(DefaultGroupByBoxTextColor());
  const IPtr<IdxColorPalette> palette = OneColorPalette(fill);
  CachedImage(FGroupByBoxSearchButtonGlyph, L"CX_GROUPBYBOXSEARCHBUTTON", L"SVG")
      ->StretchDraw(ACanvas->Handle(), ARect, 255, palette.Get());
}

// ---------------------------------------------------------------------------
// Hints and screen tips

TColor P::GetHintBorderColor() { return clDefault; }

void P::DrawHintBackground(TcxCanvas* ACanvas, const TRect& ARect, TColor AColor) {
  ACanvas->FillRect(ARect, AColor == clDefault ? clInfoBk : AColor);
}

IPtr<IdxColorPalette> P::ScreenTipGetColorPalette() { return {}; }

TColor P::ScreenTipGetDescriptionTextColor() { return clDefault; }

int P::ScreenTipGetFooterLineSize() { return 3; }

TColor P::ScreenTipGetTitleTextColor() { return clDefault; }

TRect P::ScreenTipGetWindowPadding() { return TRect(10, 8, 10, 8); }

TRect P::ScreenTipGetHeaderPadding() { return TRect(); }

TRect P::ScreenTipGetDescriptionPadding() { return TRect(8, 8, 0, 4); }

TRect P::ScreenTipGetSeparatorPadding() { return TRect(0, 6, 0, 6); }

TRect P::ScreenTipGetFooterPadding() { return TRect(); }

void P::ScreenTipDrawBackground(TcxCanvas* ACanvas, const TRect& ARect) {
  TRect inner = ARect;
  inner.Deflate(1);
  DrawHintBackground(ACanvas, inner, clDefault);
  const TcxCanvasStateScope state(ACanvas);
  ACanvas->Pen()->SetColor(clWindowFrame);
  ACanvas->Pen()->SetWidth(1);
  ACanvas->Pen()->SetStyle(psSolid);
  ACanvas->SetBrushColor(clNone);
  ACanvas->RoundRect(ARect, 2, 2);
}

void P::ScreenTipDrawFooterLine(TcxCanvas* ACanvas, const TRect& ARect) {
  ACanvas->FillRect(TRect(ARect.Left, ARect.Top, ARect.Right, ARect.Top + 1), clWindowFrame);
  ACanvas->FillRect(TRect(ARect.Left, ARect.Top + 1, ARect.Right, ARect.Top + 2), clWhite);
}

// ---------------------------------------------------------------------------
// Tabs

void P::DrawTab(TcxCanvas*, const TRect&, TcxBorders, const String&, TcxButtonState, bool, TFont*, TColor, TColor,
                bool) {}

void P::DrawTabBorder(TcxCanvas*, const TRect&, TcxBorder, TcxBorders, bool) {}

void P::DrawTabsRoot(TcxCanvas*, const TRect&, TcxBorders, bool) {}

bool P::IsDrawTabImplemented(bool) { return false; }

bool P::IsTabHotTrack(bool) { return false; }

int P::TabBorderSize(bool) { return 0; }

// ---------------------------------------------------------------------------
// The record indicator

void P::DrawScaledIndicatorImage(TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind,
                                 const TdxScaleFactor* AScaleFactor) {
  cxDrawIndicatorImage(ACanvas, R, AKind, AScaleFactor);
}

void P::DrawScaledIndicatorItem(TcxCanvas* ACanvas, const TRect& R, const TRect& AImageAreaBounds,
                                TcxIndicatorKind AKind, TColor AColor, const TdxScaleFactor* AScaleFactor,
                                const TcxDrawBackgroundEvent& AOnDrawBackground, TcxNeighbors ANeighbors, bool) {
  DrawScaledHeader(ACanvas, R, R, {}, HeaderBorders(ANeighbors), cxbsNormal, taLeftJustify, vaTop, false, false,
                   String(), nullptr, clNone, AColor, AScaleFactor, AOnDrawBackground);
  DrawScaledIndicatorImage(ACanvas, AImageAreaBounds, AKind, AScaleFactor);
}

void P::DrawScaledIndicatorItem(TcxCanvas* ACanvas, const TRect& R, const TRect& AImageAreaBounds,
                                TcxIndicatorKind AKind, TColor AColor, const TdxScaleFactor* AScaleFactor,
                                const TcxDrawBackgroundEvent& AOnDrawBackground, TcxNeighbors ANeighbors) {
  DrawScaledIndicatorItem(ACanvas, R, AImageAreaBounds, AKind, AColor, AScaleFactor, AOnDrawBackground, ANeighbors,
                          true);
}

void P::DrawScaledIndicatorItem(TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind, TColor AColor,
                                const TdxScaleFactor* AScaleFactor, const TcxDrawBackgroundEvent& AOnDrawBackground) {
  DrawScaledIndicatorItem(ACanvas, R, R, AKind, AColor, AScaleFactor, AOnDrawBackground, {nTop, nBottom}, true);
}

void P::DrawScaledIndicatorItemEx(TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind, TColor AColor,
                                  const TdxScaleFactor* AScaleFactor,
                                  const TcxDrawBackgroundEvent& AOnDrawBackground) {
  DrawScaledHeaderEx(ACanvas, R, R, {}, cxBordersAll(), cxbsNormal, taLeftJustify, vaTop, false, false, String(),
                     nullptr, clNone, AColor, AScaleFactor, AOnDrawBackground);
  DrawScaledIndicatorImage(ACanvas, R, AKind, AScaleFactor);
}

void P::DrawScaledIndicatorCustomizationMark(TcxCanvas* ACanvas, const TRect& R, TColor AColor,
                                             const TdxScaleFactor* AScaleFactor) {
  const int d = AScaleFactor->Apply(1);
  const int pitch = AScaleFactor->Apply(2);
  const int x = R.Left + AScaleFactor->Apply(3);
  const int right = x + R.Width() - AScaleFactor->Apply(6);
  int y = (R.Top + R.Bottom - 5 * d - 4) / 2;
  for (int line = 1; line <= 5; ++line, y += pitch) {
    // The first, third and fifth lines begin with a dot.
    if (line % 2 == 1) ACanvas->FillRect(TRect(x, y, x + d, y + d), AColor);
    ACanvas->FillRect(TRect(x + 2 * d, y, right, y + d), AColor);
  }
}

bool P::IndicatorDrawItemsFirst() { return true; }

void P::DrawIndicatorImage(TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind) {
  DrawScaledIndicatorImage(ACanvas, R, AKind, SystemScaleFactor());
}

void P::DrawIndicatorItem(TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind, TColor AColor,
                          const TcxDrawBackgroundEvent& AOnDrawBackground) {
  DrawScaledIndicatorItem(ACanvas, R, AKind, AColor, SystemScaleFactor(), AOnDrawBackground);
}

void P::DrawIndicatorItemEx(TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind, TColor AColor,
                            const TcxDrawBackgroundEvent& AOnDrawBackground) {
  DrawScaledIndicatorItemEx(ACanvas, R, AKind, AColor, SystemScaleFactor(), AOnDrawBackground);
}
