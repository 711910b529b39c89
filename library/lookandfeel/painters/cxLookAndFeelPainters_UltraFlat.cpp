// The UltraFlat painter: one-pixel frames in system colours, hot and pressed
// parts filled with blends of the highlight colour.
#include "library/lookandfeel/painters/cxLookAndFeelPainters_Internal.h"

#include "library/lookandfeel/settings/cxLookAndFeels.h"

// ---------------------------------------------------------------------------
// Painter information

String TcxUltraFlatLookAndFeelPainter::LookAndFeelName() { return L"UltraFlat"; }

TcxLookAndFeelStyle TcxUltraFlatLookAndFeelPainter::LookAndFeelStyle() { return lfsUltraFlat; }

// ---------------------------------------------------------------------------
// Default colours

TColor TcxUltraFlatLookAndFeelPainter::DefaultFixedSeparatorColor() {
  return TdxVisualRefinements::LightBorders() ? cl3DDkShadow : inherited::DefaultFixedSeparatorColor();
}

TColor TcxUltraFlatLookAndFeelPainter::DefaultSchedulerBorderColor() { return clBtnShadow; }

TColor TcxUltraFlatLookAndFeelPainter::DefaultSchedulerTimeRulerBorderColor() {
  return DefaultSchedulerTimeRulerBorderColorClassic();
}

TColor TcxUltraFlatLookAndFeelPainter::DefaultSchedulerTimeRulerTextColor() {
  return DefaultSchedulerTimeRulerTextColorClassic();
}

// ---------------------------------------------------------------------------
// Borders and separators

int TcxUltraFlatLookAndFeelPainter::BorderSize() { return 1; }

void TcxUltraFlatLookAndFeelPainter::DrawBorder(TcxCustomCanvas* ACanvas, const TRect& R) {
  ACanvas->FrameRect(R, clBtnShadow);
}

void TcxUltraFlatLookAndFeelPainter::DoDrawSeparator(TcxCustomCanvas* ACanvas, const TRect& R, bool) {
  ACanvas->FillRect(R, clBtnShadow);
}

// ---------------------------------------------------------------------------
// Buttons

int TcxUltraFlatLookAndFeelPainter::ButtonBorderSize(TcxButtonState AState) { return AState == cxbsDefault ? 2 : 1; }

TColor TcxUltraFlatLookAndFeelPainter::ButtonColor(TcxButtonState AState) {
  switch (AState) {
    case cxbsHot: return FaceBlends().Hot;
    case cxbsPressed: return FaceBlends().Pressed;
    default: return clBtnFace;
  }
}

const TcxUltraFlatLookAndFeelPainter::TFaceBlends& TcxUltraFlatLookAndFeelPainter::FaceBlends() {
  if (!FFaceBlends) {
    // Told before any look-and-feel repaints for the new colours.
    if (!FSystemPaletteChangedNotifier) {
      FSystemPaletteChangedNotifier.reset(New<TcxSystemPaletteChangedNotifier>(true));
      FSystemPaletteChangedNotifier->SetOnSystemPaletteChanged(
          BindEvent<&TcxUltraFlatLookAndFeelPainter::SystemPaletteChanged>(this));
    }
    FFaceBlends = TFaceBlends{GetLighterHighlightColor(), GetLightHighlightColor()};
  }
  return *FFaceBlends;
}

void TcxUltraFlatLookAndFeelPainter::SystemPaletteChanged(TObject*) { FFaceBlends.reset(); }

void TcxUltraFlatLookAndFeelPainter::FreeCachedResources() {
  FFaceBlends.reset();
  FSystemPaletteChangedNotifier.reset();
  inherited::FreeCachedResources();
}

void TcxUltraFlatLookAndFeelPainter::DrawButtonBorder(TcxCustomCanvas* ACanvas, const TRect& R,
                                                      TcxButtonState AState) {
  switch (AState) {
    case cxbsDefault: {
      ACanvas->FrameRect(R, clWindowFrame);
      TRect inner = R;
      inner.Deflate(1);
      ACanvas->FrameRect(inner, clWindowFrame);
      break;
    }
    case cxbsNormal:
      ACanvas->FrameRect(R, TdxVisualRefinements::LightBorders() ? cl3DDkShadow : clBtnText);
      break;
    case cxbsDisabled:
      ACanvas->FrameRect(R, clBtnShadow);
      break;
    case cxbsHot:
    case cxbsPressed:
      ACanvas->FrameRect(R, clHighlight);
      break;
  }
}

TColor TcxUltraFlatLookAndFeelPainter::ButtonSymbolColor(TcxButtonState AState, TColor ADefaultColor,
                                                         TcxButtonPart APart) {
  return AState == cxbsPressed ? clHighlightText : inherited::ButtonSymbolColor(AState, ADefaultColor, APart);
}

TcxButtonState TcxUltraFlatLookAndFeelPainter::ButtonSymbolState(TcxButtonState) { return cxbsNormal; }

TRect TcxUltraFlatLookAndFeelPainter::ScaledButtonFocusRect(TcxCustomCanvas*, const TRect& R,
                                                            const TdxScaleFactor* AScaleFactor) {
  TRect r = R;
  r.Deflate(AScaleFactor->Apply(3));
  return r.IsEmpty() ? R : r;
}

int TcxUltraFlatLookAndFeelPainter::ScaledButtonTextOffset(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(2);
}

int TcxUltraFlatLookAndFeelPainter::ScaledButtonTextShift(const TdxScaleFactor*) { return 0; }

bool TcxUltraFlatLookAndFeelPainter::IsButtonHotTrack() { return true; }

// ---------------------------------------------------------------------------
// Added operations

TColor TcxUltraFlatLookAndFeelPainter::ButtonFrameColor(TcxButtonState AState) {
  return AState == cxbsNormal ? clBtnShadow : clHighlight;
}

void TcxUltraFlatLookAndFeelPainter::DrawBreadcrumbButtonFrame(TcxCustomCanvas* ACanvas, const TRect& R,
                                                               TcxBorders ABorders,
                                                               TdxBreadcrumbEditButtonState AState) {
  struct TLook {
    TcxButtonState State;
    TColor Frame;
  };
  static constexpr TLook looks[] = {{cxbsNormal, clNone},
                                    {cxbsNormal, clBtnShadow},
                                    {cxbsHot, clHighlight},
                                    {cxbsPressed, clHighlight},
                                    {cxbsDisabled, clNone}};
  const TLook& look = looks[AState];
  ACanvas->FillRect(R, ButtonColor(look.State));
  ACanvas->FrameRect(R, look.Frame, 1, ABorders);
}

TColor TcxUltraFlatLookAndFeelPainter::TabBorderColor() { return clBtnShadow; }

TColor TcxUltraFlatLookAndFeelPainter::TabSelectedBorderColor() { return clBtnText; }

TColor TcxUltraFlatLookAndFeelPainter::BorderHighlightColor() { return clHighlight; }

// ---------------------------------------------------------------------------
// Expand buttons, check boxes, radio buttons and the toggle switch

void TcxUltraFlatLookAndFeelPainter::DrawScaledExpandButton(TcxCustomCanvas* ACanvas, const TRect& R, bool AExpanded,
                                                            const TdxScaleFactor* AScaleFactor, TColor AColor,
                                                            TcxExpandButtonState) {
  ACanvas->FrameRect(R, clBtnShadow);
  TRect inner = R;
  inner.Deflate(1);
  ACanvas->FillRect(inner, AColor == clDefault ? clBtnFace : AColor);
  DrawPlusMinusMark(ACanvas, R, AExpanded, clBtnText, AScaleFactor);
}

int TcxUltraFlatLookAndFeelPainter::ScaledExpandButtonSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(11);
}

void TcxUltraFlatLookAndFeelPainter::DrawCheckBorder(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState) {
  ACanvas->FrameRect(R, clBtnText);
  TRect inner = R;
  inner.Deflate(1);
  ACanvas->FrameRect(inner, CheckButtonColor(AState, cbsChecked));
}

TColor TcxUltraFlatLookAndFeelPainter::RadioButtonBodyColor(TcxButtonState AState) {
  switch (AState) {
    case cxbsNormal: return clWindow;
    case cxbsHot: return FaceBlends().Hot;
    case cxbsPressed: return FaceBlends().Pressed;
    default: return clBtnFace;
  }
}

TColor TcxUltraFlatLookAndFeelPainter::ToggleSwitchToggleColor(bool AChecked) {
  return AChecked ? static_cast<TColor>(RGB(51, 153, 255)) : static_cast<TColor>(RGB(200, 200, 200));
}

void TcxUltraFlatLookAndFeelPainter::GetBevelShapeColors(TColor& AColor1, TColor& AColor2) {
  AColor1 = clBtnShadow;
  AColor2 = clNone;
}

TSize TcxUltraFlatLookAndFeelPainter::GetBevelMinimalShapeSize(TdxBevelShape) { return TSize(1, 1); }

void TcxUltraFlatLookAndFeelPainter::DrawScaledTokenBackground(TcxCustomCanvas* ACanvas, const TRect& R,
                                                               TcxButtonState AState, const TdxScaleFactor*) {
  const bool lit = AState == cxbsHot || AState == cxbsPressed;
  if (AState != cxbsNormal && AState != cxbsDisabled) {
    TRect inner = R;
    inner.Deflate(1);
    ACanvas->FillRect(inner, ButtonColor(AState));
  }
  ACanvas->FrameRect(R, lit ? clHighlight : clBtnShadow);
}

void TcxUltraFlatLookAndFeelPainter::DrawScaledToggleSwitchState(TcxCanvas* ACanvas, const TRect& ABounds,
                                                                 TcxButtonState, bool AChecked,
                                                                 const TdxScaleFactor*) {
  ACanvas->FillRect(ABounds, ToggleSwitchToggleColor(AChecked));
  ACanvas->FrameRect(ABounds, AChecked ? clBlack : static_cast<TColor>(RGB(160, 160, 160)));
}

void TcxUltraFlatLookAndFeelPainter::DrawScaledToggleSwitchThumb(TcxCanvas* ACanvas, const TRect& ABounds,
                                                                 TcxButtonState AState,
                                                                 const TdxScaleFactor* AScaleFactor) {
  inherited::DrawScaledToggleSwitchThumb(ACanvas, ABounds, AState, AScaleFactor);
  TRect frame = ABounds;
  frame.Deflate(2);
  ACanvas->FrameRect(frame, clBlack);
}

// ---------------------------------------------------------------------------
// Group boxes and drop-down lists

void TcxUltraFlatLookAndFeelPainter::DrawGroupBoxFrame(TcxCanvas* ACanvas, const TRect& R, bool AEnabled,
                                                       TcxGroupBoxCaptionPosition, TcxBorders ABorders) {
  ACanvas->FrameRect(R, AEnabled ? clHighlight : clBtnShadow, 1, ABorders);
}

void TcxUltraFlatLookAndFeelPainter::DrawDropDownListBoxBackground(TcxCanvas* ACanvas, const TRect& R,
                                                                   bool AHasBorders) {
  TRect r = R;
  if (AHasBorders) {
    ACanvas->FrameRect(r, clBtnShadow);
    r.Deflate(1);
    ACanvas->FrameRect(r, clBtnHighlight);
    r.Deflate(1);
  }
  ACanvas->FillRect(r, clWindow);
}

void TcxUltraFlatLookAndFeelPainter::DrawDropDownListBoxScaledGutterBackground(TcxCanvas* ACanvas, const TRect& R,
                                                                               const TdxScaleFactor*) {
  ACanvas->FillRect(R, clBtnFace);
}

void TcxUltraFlatLookAndFeelPainter::DrawDropDownListBoxScaledSelection(TcxCanvas* ACanvas, const TRect& R,
                                                                        const TRect&, const TdxScaleFactor*) {
  // The hot blend as mixed, not matched to the screen.
  ACanvas->FillRect(R, BlendSystemColors(-2, 30, 72));
  ACanvas->FrameRect(R, clHighlight);
}

void TcxUltraFlatLookAndFeelPainter::DrawDropDownListBoxScaledSeparator(TcxCanvas* ACanvas, const TRect& R,
                                                                        const TRect& AGutterRect,
                                                                        const TdxScaleFactor* AScaleFactor) {
  const int top = R.Top + (R.Height() - 1) / 2;
  ACanvas->FillRect(TRect(AGutterRect.Right + AScaleFactor->Apply(4), top, R.Right, top + 1), clBtnShadow);
}

TColor TcxUltraFlatLookAndFeelPainter::DropDownListBoxItemTextColor(bool) { return clMenuText; }

// ---------------------------------------------------------------------------
// Scroll bars

void TcxUltraFlatLookAndFeelPainter::DoDrawScaledScrollBarPart(TcxCustomCanvas* ACanvas, bool AHorizontal,
                                                               const TdxScaleFactor* AScaleFactor,
                                                               TcxButtonState AState, TcxScrollBarPart APart,
                                                               const TRect& R) {
  if (R.IsEmpty()) return;
  switch (APart) {
    case sbpThumbnail:
      if (AState == cxbsDisabled) return;
      DrawScaledButton(ACanvas, R, AState, AScaleFactor, true, false, cxbpButton, clDefault);
      return;
    case sbpLineUp:
    case sbpLineDown: {
      DrawScaledButton(ACanvas, R, AState, AScaleFactor, true, false, cxbpButton, clDefault);
      const bool up = APart == sbpLineUp;
      const TcxArrowDirection direction = AHorizontal ? (up ? adLeft : adRight) : (up ? adUp : adDown);
      DrawScaledScrollBarArrow(ACanvas, R, AState, direction, AScaleFactor);
      return;
    }
    default: inherited::DoDrawScaledScrollBarPart(ACanvas, AHorizontal, AScaleFactor, AState, APart, R);
  }
}

TPoint TcxUltraFlatLookAndFeelPainter::ScaledFilterCloseButtonSize(const TdxScaleFactor* AScaleFactor) {
  TPoint result = inherited::ScaledFilterCloseButtonSize(AScaleFactor);
  ++result.Y;
  return result;
}

void TcxUltraFlatLookAndFeelPainter::DrawScaledFilterDropDownButton(TcxCanvas* ACanvas, const TRect& R,
                                                                    TcxButtonState AState, bool AIsFilterActive,
                                                                    const TdxScaleFactor*) {
  ACanvas->FrameRect(R, ButtonFrameColor(AState));
  TRect face = R;
  face.Deflate(1);
  ACanvas->FillRect(face, ButtonColor(AState));
  DrawFilterDropDownArrow(ACanvas, face, AIsFilterActive ? static_cast<TColor>(RGB(0, 0, 255)) : ButtonSymbolColor(AState));
}

// ---------------------------------------------------------------------------
// Headers, sorting marks, footers and tabs

int TcxUltraFlatLookAndFeelPainter::HeaderBorderSize() { return 1; }

TcxBorders TcxUltraFlatLookAndFeelPainter::HeaderBorders(TcxNeighbors ANeighbors) {
  // A neighbour on the left or above draws the shared line.
  TcxBorders result = inherited::HeaderBorders(ANeighbors);
  if (ANeighbors.Contains(nLeft)) result.Exclude(bLeft);
  if (ANeighbors.Contains(nTop)) result.Exclude(bTop);
  return result;
}

void TcxUltraFlatLookAndFeelPainter::DrawHeaderBorder(TcxCanvas* ACanvas, const TRect& R, TcxNeighbors,
                                                      TcxBorders ABorders) {
  if (TdxVisualRefinements::LightBorders())
    ACanvas->FrameRect(R, cl3DDkShadow, 1, ABorders + TcxBorders{bBottom});
  else
    ACanvas->FrameRect(R, clBtnText, 1, ABorders + TcxBorders{bRight, bBottom});
}

void TcxUltraFlatLookAndFeelPainter::DrawScaledHeaderEx(
    TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds, TcxNeighbors ANeighbors,
    TcxBorders ABorders, TcxButtonState, TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert, bool AMultiLine,
    bool AShowEndEllipsis, const String& AText, TFont* AFont, TColor ATextColor, TColor ABkColor,
    const TdxScaleFactor* AScaleFactor, const TcxDrawBackgroundEvent& AOnDrawBackground) {
  DoDrawHeader(ACanvas, ScaledHeaderContentBounds(ABounds, ABorders, AScaleFactor), ATextAreaBounds, AAlignmentHorz,
               AAlignmentVert, AMultiLine, AShowEndEllipsis, AText, AFont, ATextColor, ABkColor, AOnDrawBackground);
  TRect border = ABounds;
  border.Deflate(1);
  DrawHeaderBorder(ACanvas, border, ANeighbors, ABorders);
}

void TcxUltraFlatLookAndFeelPainter::DrawHeaderControlSectionBorder(TcxCanvas* ACanvas, const TRect& R,
                                                                    TcxBorders ABorders, TcxButtonState AState) {
  const TColor color = AState == cxbsDisabled ? clBtnShadow : clBlack;
  ACanvas->DrawComplexFrame(R, color, color, ABorders);
}

void TcxUltraFlatLookAndFeelPainter::DrawHeaderControlSectionContent(
    TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds, TcxButtonState AState,
    TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert, bool AMultiLine, bool AShowEndEllipsis,
    const String& AText, TFont* AFont, TColor ATextColor, TColor ABkColor) {
  const bool active = AState == cxbsHot || AState == cxbsPressed;
  inherited::DrawHeaderControlSectionContent(ACanvas, ABounds, ATextAreaBounds, AState, AAlignmentHorz,
                                             AAlignmentVert, AMultiLine, AShowEndEllipsis, AText, AFont, ATextColor,
                                             active ? ButtonColor(AState) : ABkColor);
}

TSize TcxUltraFlatLookAndFeelPainter::ScaledSortingMarkSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TSize(7, 8));
}

TSize TcxUltraFlatLookAndFeelPainter::ScaledSummarySortingMarkSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TSize(7, 9));
}

void TcxUltraFlatLookAndFeelPainter::DrawScaledSortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
                                                           const TdxScaleFactor* AScaleFactor) {
  DrawSortingTriangle(ACanvas, R, clBtnShadow, clBtnShadow, AAscendingSorting, AScaleFactor);
}

void TcxUltraFlatLookAndFeelPainter::DrawScaledSummarySortingMark(TcxCanvas* ACanvas, const TRect& R,
                                                                  bool AAscendingSorting,
                                                                  const TdxScaleFactor* AScaleFactor) {
  DrawSummarySortingTriangle(ACanvas, R, clBtnShadow, clBtnShadow, AAscendingSorting, AScaleFactor);
}

TcxBorders TcxUltraFlatLookAndFeelPainter::FooterBorders() { return {bRight, bBottom}; }

int TcxUltraFlatLookAndFeelPainter::FooterBorderSize() { return 1; }

int TcxUltraFlatLookAndFeelPainter::FooterCellBorderSize() { return 1; }

int TcxUltraFlatLookAndFeelPainter::FooterCellOffset() { return 2; }

void TcxUltraFlatLookAndFeelPainter::DrawFooterBorder(TcxCanvas* ACanvas, const TRect& R) {
  DrawFooterBorderEx(ACanvas, R, {bRight, bBottom});
}

void TcxUltraFlatLookAndFeelPainter::DrawFooterBorderEx(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders) {
  ACanvas->FrameRect(R, FooterSeparatorColor(), FooterSeparatorSize(), ABorders);
}

void TcxUltraFlatLookAndFeelPainter::DrawFooterCellBorder(TcxCanvas* ACanvas, const TRect& R) {
  ACanvas->FrameRect(R, FooterSeparatorColor());
}

int TcxUltraFlatLookAndFeelPainter::TabBorderSize(bool) { return 1; }

void TcxUltraFlatLookAndFeelPainter::DrawTabBorder(TcxCanvas* ACanvas, const TRect& R, TcxBorder ABorder, TcxBorders,
                                                   bool AVertical) {
  // The side away from the light: the right of a horizontal tab (short of
  // its bottom border), the bottom of a vertical one.
  TRect strip = R;
  const bool shaded = AVertical ? ABorder == bBottom : ABorder == bRight;
  if (shaded && !AVertical) strip.Bottom -= TabBorderSize(AVertical);
  ACanvas->FillRect(strip, shaded ? TabSelectedBorderColor() : TabBorderColor());
}

void TcxUltraFlatLookAndFeelPainter::DrawTabsRoot(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders, bool) {
  ACanvas->FrameRect(R, TabBorderColor(), 1, ABorders);
}

// ---------------------------------------------------------------------------
// Navigator and scheduler

void TcxUltraFlatLookAndFeelPainter::DrawNavigatorBorder(TcxCanvas* ACanvas, const TRect& R, bool ASelected) {
  ACanvas->FrameRect(R, ASelected ? BorderHighlightColor() : clBtnShadow);
}

void TcxUltraFlatLookAndFeelPainter::DrawNavigatorScaledButton(TcxCanvas* ACanvas, const TRect& R,
                                                               TcxButtonState AState, TColor ABackgroundColor,
                                                               const TdxScaleFactor*) {
  if (AState != cxbsNormal && AState != cxbsDisabled)
    ACanvas->FrameRect(R, BorderHighlightColor());
  else if (IsColorValid(ABackgroundColor))
    ACanvas->FrameRect(R, ABackgroundColor);
  TRect face = R;
  face.Deflate(1);
  ACanvas->FillRect(face, ButtonColor(AState));
}

bool TcxUltraFlatLookAndFeelPainter::NavigatorBorderOverlap() { return true; }

int TcxUltraFlatLookAndFeelPainter::NavigatorBorderSize() { return BorderSize(); }

void TcxUltraFlatLookAndFeelPainter::DrawSchedulerScaledNavigatorButton(TcxCanvas* ACanvas, const TRect& R,
                                                                        TcxButtonState AState,
                                                                        const TdxScaleFactor* AScaleFactor) {
  DrawScaledButton(ACanvas, R, AState, AScaleFactor, AState == cxbsHot || AState == cxbsPressed, false, cxbpButton,
                   clDefault);
}

void TcxUltraFlatLookAndFeelPainter::DrawSchedulerSplitterBorder(TcxCanvas* ACanvas, const TRect& R,
                                                                 const TcxViewParams& AViewParams,
                                                                 bool AIsHorizontal) {
  const TColor border = DefaultSchedulerBorderColor();
  TRect inner = R;
  if (AIsHorizontal) {
    ACanvas->FillRect(TRect(R.Left, R.Top, R.Right, R.Top + 1), border);
    ACanvas->FillRect(TRect(R.Left, R.Bottom - 1, R.Right, R.Bottom), border);
    inner = TRect(R.Left - 1, R.Top + 1, R.Right + 1, R.Bottom - 1);
  } else {
    ACanvas->FillRect(TRect(R.Left, R.Top, R.Left + 1, R.Bottom), border);
    ACanvas->FillRect(TRect(R.Right - 1, R.Top, R.Right, R.Bottom), border);
    inner = TRect(R.Left + 1, R.Top - 1, R.Right - 1, R.Bottom + 1);
  }
  ACanvas->FillRect(inner, AViewParams);
}

void TcxUltraFlatLookAndFeelPainter::DrawSchedulerNavigationButtonContent(TcxCanvas* ACanvas, const TRect& ARect,
                                                                          const TRect& AArrowRect,
                                                                          bool AIsNextButton, TcxButtonState AState,
                                                                          bool AIsVertical) {
  ACanvas->FillRect(ARect, clBtnFace);
  ACanvas->FrameRect(ARect, AState == cxbsHot ? TabBorderColor() : TabSelectedBorderColor(), 1,
                     SchedulerNavigationButtonFrameSides(AIsNextButton, AIsVertical));
  DrawSchedulerNavigationButtonArrow(ACanvas, AArrowRect, AIsNextButton, ButtonSymbolColor(AState, clDefault),
                                     AIsVertical);
}

// ---------------------------------------------------------------------------
// Track bars and splitters

void TcxUltraFlatLookAndFeelPainter::DrawTrackBarTrackBounds(TcxCanvas* ACanvas, const TRect& ARect) {
  ACanvas->FrameRect(ARect, clWindowText);
}

void TcxUltraFlatLookAndFeelPainter::DrawTrackBarThumbBorderUpDown(TcxCanvas* ACanvas,
                                                                   std::span<const TPoint> ALightPolyLine,
                                                                   std::span<const TPoint>,
                                                                   std::span<const TPoint> ADarkPolyLine) {
  ACanvas->Polyline(ALightPolyLine, clWindowText);
  ACanvas->Polyline(ADarkPolyLine, clWindowText);
}

void TcxUltraFlatLookAndFeelPainter::DrawTrackBarThumbBorderBoth(TcxCanvas* ACanvas, const TRect& ARect) {
  ACanvas->FrameRect(ARect, clWindowText);
}

TColor TcxUltraFlatLookAndFeelPainter::GetSplitterOuterColor(bool AHighlighted) {
  return AHighlighted ? clHighlight : inherited::GetSplitterOuterColor(AHighlighted);
}

TSize TcxUltraFlatLookAndFeelPainter::GetScaledSplitterSize(bool AHorizontal, const TdxScaleFactor* AScaleFactor) {
  TSize size = inherited::GetScaledSplitterSize(AHorizontal, AScaleFactor);
  (AHorizontal ? size.cy : size.cx) = 1;
  return size;
}

// ---------------------------------------------------------------------------
// Print preview

void TcxUltraFlatLookAndFeelPainter::DrawPrintPreviewScaledBackground(TcxCanvas* ACanvas, const TRect& R,
                                                                      const TdxScaleFactor*) {
  const COLORREF shadow = static_cast<COLORREF>(ColorToRGB(clBtnShadow));
  const auto lighter = [](int c) { return c + (255 - c) / 3; };
  ACanvas->FillRect(R, Rgb(lighter(GetRValue(shadow)), lighter(GetGValue(shadow)), lighter(GetBValue(shadow))));
}

// ---------------------------------------------------------------------------
// Breadcrumbs

namespace {

bool IsBreadcrumbButtonShown(TdxBreadcrumbEditButtonState AState) {
  return AState != dxbcbsNormal && AState != dxbcbsDisabled;
}

}  // namespace

int TcxUltraFlatLookAndFeelPainter::BreadcrumbEditScaledButtonAreaSeparatorSize(const TdxScaleFactor*) { return 1; }

TRect TcxUltraFlatLookAndFeelPainter::BreadcrumbEditScaledButtonContentOffsets(bool AIsFirst, bool AIsLast,
                                                                              const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TRect(AIsFirst ? 2 : 3, 3, AIsLast ? 2 : 3, 3));
}

void TcxUltraFlatLookAndFeelPainter::DrawBreadcrumbEditBorders(TcxCustomCanvas* ACanvas, const TRect& ARect,
                                                               TcxBorders ABorders, TdxBreadcrumbEditState AState) {
  const bool lit = AState == dxbcsFocused || AState == dxbcsHot;
  ACanvas->FrameRect(ARect, lit ? clHighlight : clBtnShadow, 1, ABorders);
}

void TcxUltraFlatLookAndFeelPainter::DrawBreadcrumbEditScaledButtonAreaSeparator(TcxCustomCanvas* ACanvas,
                                                                                 const TRect& ARect,
                                                                                 TdxBreadcrumbEditState AState,
                                                                                 const TdxScaleFactor*) {
  DrawBreadcrumbEditBorders(ACanvas, ARect, {bLeft}, AState);
}

void TcxUltraFlatLookAndFeelPainter::DrawBreadcrumbEditScaledButton(TcxCustomCanvas* ACanvas, const TRect& ARect,
                                                                    TdxBreadcrumbEditButtonState AState,
                                                                    bool AIsFirst, bool AIsLast,
                                                                    const TdxScaleFactor*) {
  if (!IsBreadcrumbButtonShown(AState)) return;
  TcxBorders borders{bLeft, bRight};
  if (AIsFirst) borders -= TcxBorders{bLeft};
  if (AIsLast) borders -= TcxBorders{bRight};
  DrawBreadcrumbButtonFrame(ACanvas, ARect, borders, AState);
}

void TcxUltraFlatLookAndFeelPainter::DrawBreadcrumbEditScaledDropDownButton(TcxCustomCanvas* ACanvas,
                                                                            const TRect& ARect,
                                                                            TdxBreadcrumbEditButtonState AState,
                                                                            bool AIsInEditor, const TdxScaleFactor*) {
  if (AIsInEditor || IsBreadcrumbButtonShown(AState)) DrawBreadcrumbButtonFrame(ACanvas, ARect, {bLeft}, AState);
}
