// The base painter's breadcrumb editor and alert window.
#include "library/core/system/dxDPIAwareUtils.h"
#include "library/graphics/canvas/cxCanvasScopes.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters_Internal.h"

#include <cmath>

using P = TcxCustomLookAndFeelPainter;

// ---------------------------------------------------------------------------
// The breadcrumb editor

namespace {

constexpr TcxButtonState BreadcrumbButtonState(TdxBreadcrumbEditButtonState AState) {
  constexpr TcxButtonState states[] = {cxbsNormal, cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled};
  return states[AState];
}

}  // namespace

TColor P::BreadcrumbEditBackgroundColor(TdxBreadcrumbEditState) { return clBtnFace; }

TRect P::BreadcrumbEditBordersSize() { return TRect(1, 1, 1, 1); }

IPtr<IdxColorPalette> P::BreadcrumbEditButtonColorPalette(TdxBreadcrumbEditButtonState) { return nullptr; }

bool P::BreadcrumbEditIsFadingSupports() { return false; }

TColor P::BreadcrumbEditNodeTextColor(TdxBreadcrumbEditButtonState AState) {
  return ButtonSymbolColor(AState == dxbcbsDisabled ? cxbsDisabled : cxbsNormal, clDefault);
}

TColor P::BreadcrumbEditProgressChunkTextColor() { return clDefault; }

int P::BreadcrumbEditScaledButtonAreaSeparatorSize(const TdxScaleFactor*) { return 2; }

TRect P::BreadcrumbEditScaledButtonContentOffsets(bool, bool, const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TRect(3, 3, 3, 3));
}

int P::BreadcrumbEditScaledDropDownButtonWidth(const TdxScaleFactor* AScaleFactor) {
  return GetSystemMetricsForScaleFactor(SM_CXHSCROLL, AScaleFactor);
}

int P::BreadcrumbEditScaledNodeDelimiterSize(const TdxScaleFactor* AScaleFactor) { return AScaleFactor->Apply(16); }

TRect P::BreadcrumbEditScaledNodeTextOffsets(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TRect(4, 4, 4, 4));
}

TSize P::BreadcrumbEditScaledProgressChunkOverlaySize(const TdxScaleFactor*) { return TSize(0, 0); }

TRect P::BreadcrumbEditScaledProgressChunkPadding(const TdxScaleFactor*) { return TRect(1, 1, 1, 1); }

void P::DrawBreadcrumbEditBorders(TcxCustomCanvas* ACanvas, const TRect& ARect, TcxBorders ABorders,
                                  TdxBreadcrumbEditState) {
  ACanvas->DrawComplexFrame(ARect, clBtnShadow, clBtnHighlight, ABorders);
}

void P::DrawBreadcrumbEditScaledButton(TcxCustomCanvas* ACanvas, const TRect& ARect,
                                       TdxBreadcrumbEditButtonState AState, bool, bool,
                                       const TdxScaleFactor* AScaleFactor) {
  if (AState == dxbcbsFocused || AState == dxbcbsHot || AState == dxbcbsPressed)
    DrawScaledButton(ACanvas, ARect, BreadcrumbButtonState(AState), AScaleFactor, cxbpButton, clDefault);
}

void P::DrawBreadcrumbEditScaledButtonAreaSeparator(TcxCustomCanvas*, const TRect&, TdxBreadcrumbEditState,
                                                    const TdxScaleFactor*) {}

void P::DrawBreadcrumbEditScaledDropDownButton(TcxCustomCanvas* ACanvas, const TRect& ARect,
                                               TdxBreadcrumbEditButtonState AState, bool AIsInEditor,
                                               const TdxScaleFactor* AScaleFactor) {
  if (AIsInEditor)
    DrawScaledButton(ACanvas, ARect, BreadcrumbButtonState(AState), AScaleFactor, cxbpButton, clDefault);
  else
    DrawBreadcrumbEditScaledButton(ACanvas, ARect, AState, true, true, AScaleFactor);
}

void P::DrawBreadcrumbEditScaledDropDownButtonGlyph(TcxCanvas* ACanvas, const TRect& ARect,
                                                    TdxBreadcrumbEditButtonState AState, bool,
                                                    const TdxScaleFactor* AScaleFactor) {
  TRect r = ARect;
  r.Deflate(AScaleFactor->Apply(2));
  DrawFilterDropDownArrow(ACanvas, r, ButtonSymbolColor(BreadcrumbButtonState(AState), clDefault));
}

void P::DrawBreadcrumbEditScaledNode(TcxCustomCanvas* ACanvas, const TRect& R, TdxBreadcrumbEditButtonState AState,
                                     bool AHasDelimiter, const TdxScaleFactor* AScaleFactor) {
  DrawBreadcrumbEditScaledButton(ACanvas, R, AState, false, AHasDelimiter, AScaleFactor);
}

void P::DrawBreadcrumbEditScaledNodeDelimiter(TcxCustomCanvas* ACanvas, const TRect& R,
                                              TdxBreadcrumbEditButtonState AState,
                                              const TdxScaleFactor* AScaleFactor) {
  DrawBreadcrumbEditScaledButton(ACanvas, R, AState, false, false, AScaleFactor);
}

void P::DrawBreadcrumbEditScaledNodeDelimiterGlyph(TcxCustomCanvas* ACanvas, const TRect& R,
                                                   TdxBreadcrumbEditButtonState AState, const TdxScaleFactor*,
                                                   TColor AColor) {
  DrawArrow(ACanvas, R, adDown, AColor == clDefault ? BreadcrumbEditNodeTextColor(AState) : AColor);
}

void P::DrawBreadcrumbEditScaledNodeMoreButtonGlyph(TcxCustomCanvas* ACanvas, const TRect& R,
                                                    TdxBreadcrumbEditButtonState AState,
                                                    const TdxScaleFactor* AScaleFactor, TColor AColor) {
  DrawBreadcrumbEditScaledNodeDelimiterGlyph(ACanvas, R, AState, AScaleFactor, AColor);
}

void P::DrawBreadcrumbEditScaledProgressChunk(TcxCustomCanvas* ACanvas, const TRect& R, const TdxScaleFactor*) {
  ACanvas->FillRect(R, TColor(0xAAA8A4));
}

void P::DrawBreadcrumbEditScaledProgressChunkOverlay(TcxCustomCanvas*, const TRect&, const TdxScaleFactor*) {}

int P::BreadcrumbEditButtonAreaSeparatorSize() { return BreadcrumbEditScaledButtonAreaSeparatorSize(SystemScaleFactor()); }

TRect P::BreadcrumbEditButtonContentOffsets(bool AIsFirst, bool AIsLast) {
  return BreadcrumbEditScaledButtonContentOffsets(AIsFirst, AIsLast, SystemScaleFactor());
}

int P::BreadcrumbEditDropDownButtonWidth() { return BreadcrumbEditScaledDropDownButtonWidth(SystemScaleFactor()); }

int P::BreadcrumbEditNodeDelimiterSize() { return BreadcrumbEditScaledNodeDelimiterSize(SystemScaleFactor()); }

TRect P::BreadcrumbEditNodeTextOffsets() { return BreadcrumbEditScaledNodeTextOffsets(SystemScaleFactor()); }

TRect P::BreadcrumbEditProgressChunkPadding() { return BreadcrumbEditScaledProgressChunkPadding(SystemScaleFactor()); }

TSize P::BreadcrumbEditProgressChunkOverlaySize() {
  return BreadcrumbEditScaledProgressChunkOverlaySize(SystemScaleFactor());
}

void P::DrawBreadcrumbEditButtonAreaSeparator(TcxCustomCanvas* ACanvas, const TRect& ARect,
                                              TdxBreadcrumbEditState AState) {
  DrawBreadcrumbEditScaledButtonAreaSeparator(ACanvas, ARect, AState, SystemScaleFactor());
}

void P::DrawBreadcrumbEditButton(TcxCustomCanvas* ACanvas, const TRect& ARect, TdxBreadcrumbEditButtonState AState,
                                 bool AIsFirst, bool AIsLast) {
  DrawBreadcrumbEditScaledButton(ACanvas, ARect, AState, AIsFirst, AIsLast, SystemScaleFactor());
}

void P::DrawBreadcrumbEditDropDownButton(TcxCustomCanvas* ACanvas, const TRect& ARect,
                                         TdxBreadcrumbEditButtonState AState, bool AIsInEditor) {
  DrawBreadcrumbEditScaledDropDownButton(ACanvas, ARect, AState, AIsInEditor, SystemScaleFactor());
}

void P::DrawBreadcrumbEditDropDownButtonGlyph(TcxCanvas* ACanvas, const TRect& ARect,
                                              TdxBreadcrumbEditButtonState AState, bool AIsInEditor) {
  DrawBreadcrumbEditScaledDropDownButtonGlyph(ACanvas, ARect, AState, AIsInEditor, SystemScaleFactor());
}

void P::DrawBreadcrumbEditNode(TcxCustomCanvas* ACanvas, const TRect& R, TdxBreadcrumbEditButtonState AState,
                               bool AHasDelimiter) {
  DrawBreadcrumbEditScaledNode(ACanvas, R, AState, AHasDelimiter, SystemScaleFactor());
}

void P::DrawBreadcrumbEditNodeDelimiter(TcxCustomCanvas* ACanvas, const TRect& R,
                                        TdxBreadcrumbEditButtonState AState) {
  DrawBreadcrumbEditScaledNodeDelimiter(ACanvas, R, AState, SystemScaleFactor());
}

void P::DrawBreadcrumbEditNodeDelimiterGlyph(TcxCustomCanvas* ACanvas, const TRect& R,
                                             TdxBreadcrumbEditButtonState AState, TColor AColor) {
  DrawBreadcrumbEditScaledNodeDelimiterGlyph(ACanvas, R, AState, SystemScaleFactor(), AColor);
}

void P::DrawBreadcrumbEditNodeMoreButtonGlyph(TcxCustomCanvas* ACanvas, const TRect& R,
                                              TdxBreadcrumbEditButtonState AState, TColor AColor) {
  DrawBreadcrumbEditScaledNodeMoreButtonGlyph(ACanvas, R, AState, SystemScaleFactor(), AColor);
}

void P::DrawBreadcrumbEditProgressChunk(TcxCustomCanvas* ACanvas, const TRect& R) {
  DrawBreadcrumbEditScaledProgressChunk(ACanvas, R, SystemScaleFactor());
}

void P::DrawBreadcrumbEditProgressChunkOverlay(TcxCustomCanvas* ACanvas, const TRect& R) {
  DrawBreadcrumbEditScaledProgressChunkOverlay(ACanvas, R, SystemScaleFactor());
}

// ---------------------------------------------------------------------------
// The alert window

IPtr<IdxColorPalette> P::AlertWindowButtonGetColorPalette(TcxButtonState AState) {
  return ButtonColorPalette(AState, cxbpButton);
}

int P::AlertWindowCornerRadius() { return 0; }

TColor P::AlertWindowTextColor() { return clBtnText; }

TColor P::AlertWindowNavigationPanelTextColor() { return AlertWindowTextColor(); }

TRect P::AlertWindowScaledButtonContentOffsets(TdxAlertWindowButtonKind, const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TRect(3, 3, 3, 3));
}

TSize P::AlertWindowScaledButtonGlyphSize(TdxAlertWindowButtonKind AKind, const TdxScaleFactor* AScaleFactor) {
  return AKind == awbkCustom ? TSize(0, 0) : AScaleFactor->Apply(TSize(10, 10));
}

TRect P::AlertWindowScaledContentOffsets(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TRect(4, 4, 4, 4));
}

void P::DrawAlertWindowBackground(TcxCanvas* ACanvas, const TRect& ABounds, const TdxScaleFactor*) {
  ACanvas->FillRect(ABounds, clBtnFace);
  const int radius = AlertWindowCornerRadius();
  ACanvas->RoundRect(ABounds, radius, radius);
}

void P::DrawAlertWindowNavigationPanel(TcxCanvas* ACanvas, const TRect& ABounds) {
  ACanvas->FrameRect(ABounds, clBtnShadow);
}

void P::DrawAlertWindowScaledButton(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                                    TdxAlertWindowButtonKind AKind, const TdxScaleFactor* AScaleFactor, bool ADown) {
  const TcxButtonState state = ADown ? cxbsPressed : AState;
  DrawScaledButton(ACanvas, ABounds, state, AScaleFactor, cxbpButton, clDefault);
  const TRect content = TRect(ABounds).DeflateByMargins(AlertWindowScaledButtonContentOffsets(AKind, AScaleFactor));
  const TColor color = ButtonSymbolColor(state, clDefault);
  switch (AKind) {
    case awbkClose:
      DrawScaledButtonCross(ACanvas, content, color, state, AScaleFactor);
      break;
    case awbkPin:
      DrawPin(ACanvas, content, color, ADown);
      break;
    case awbkDropdown:
      DrawArrow(ACanvas, content, adDown, color);
      break;
    case awbkPrevious:
      DrawArrow(ACanvas, content, adLeft, color);
      break;
    case awbkNext:
      DrawArrow(ACanvas, content, adRight, color);
      break;
    case awbkCustom:
      break;
  }
}

TRect P::AlertWindowButtonContentOffsets(TdxAlertWindowButtonKind AKind) {
  return AlertWindowScaledButtonContentOffsets(AKind, SystemScaleFactor());
}

TSize P::AlertWindowButtonGlyphSize(TdxAlertWindowButtonKind AKind) {
  return AlertWindowScaledButtonGlyphSize(AKind, SystemScaleFactor());
}

TRect P::AlertWindowContentOffsets() { return AlertWindowScaledContentOffsets(SystemScaleFactor()); }

void P::DrawAlertWindowButton(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                              TdxAlertWindowButtonKind AKind, bool ADown) {
  DrawAlertWindowScaledButton(ACanvas, ABounds, AState, AKind, SystemScaleFactor(), ADown);
}

void P::DrawPin(TcxCanvas* ACanvas, const TRect& ABounds, TColor AColor, bool APinned) {
  // Head, bar and needle: each part's share of the width (made odd) and of
  // the length.
  struct TPart {
    double Across, Along;
  };
  static constexpr TPart parts[] = {{0.5, 0.5}, {0.9, 0.1}, {0.1, 0.5}};
  const int W = ABounds.Width(), H = ABounds.Height();
  int edge = APinned ? ABounds.Top : ABounds.Right;
  for (int i = 0; i < 3; ++i) {
    const int across = static_cast<int>(W * parts[i].Across / 2) * 2 + 1;
    const int along = static_cast<int>(std::nearbyint(H * parts[i].Along));
    TRect r;
    if (APinned) {
      const int left = ABounds.Left + (W - across) / 2;
      r = TRect(left, edge, left + across, edge + along);
      edge = r.Bottom - 1;
    } else {
      const int top = ABounds.Top + (H - across) / 2;
      r = TRect(edge - along, top, edge, top + across);
      edge = r.Left + 1;
    }
    if (i > 0) {
      ACanvas->FillRect(r, AColor);
      continue;
    }
    ACanvas->FrameRect(r, AColor);
    if (APinned)
      ACanvas->FillRect(TRect(r.Left + r.Width() / 2, r.Top, r.Right, r.Bottom), AColor);
    else
      ACanvas->FillRect(TRect(r.Left, r.Top + r.Height() / 2, r.Right, r.Bottom), AColor);
  }
}

void P::DrawShellQuickAccessPin(TcxCanvas* ACanvas, const TRect& R, TcxImageFitMode AImageFitMode,
                                IdxColorPalette* APalette) {
  DrawMetafileScaled(ACanvas->Canvas(), R, CachedImage(FPinGlyph, L"DX_PIN", L"SVG"), AImageFitMode, APalette);
}
