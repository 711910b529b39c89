// The Flat painter: thin one-pixel bevels of the button highlight and
// shadow.
#include "library/lookandfeel/painters/cxLookAndFeelPainters_Internal.h"

using P = TcxFlatLookAndFeelPainter;

// ---------------------------------------------------------------------------
// Painter information and default colours

String P::LookAndFeelName() { return L"Flat"; }

TcxLookAndFeelStyle P::LookAndFeelStyle() { return lfsFlat; }

TColor P::DefaultSchedulerTimeRulerBorderColor() { return DefaultSchedulerTimeRulerBorderColorClassic(); }

TColor P::DefaultSchedulerTimeRulerTextColor() { return DefaultSchedulerTimeRulerBorderColorClassic(); }

// ---------------------------------------------------------------------------
// Borders and buttons

int P::BorderSize() { return 1; }

int P::SeparatorSize() { return 2; }

void P::DrawBorder(TcxCustomCanvas* ACanvas, const TRect& R) { ACanvas->DrawEdge(R, true, true); }

int P::ButtonBorderSize(TcxButtonState AState) { return AState == cxbsDefault ? 2 : 1; }

void P::DrawButtonBorder(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState) {
  if (AState == cxbsPressed) {
    ACanvas->DrawComplexFrame(R, clBtnShadow, clBtnHighlight);
    return;
  }
  TRect r = R;
  if (AState == cxbsDefault) {
    ACanvas->FrameRect(r, clBlack);
    r.Deflate(1);
  }
  ACanvas->DrawComplexFrame(r, clBtnHighlight, clBtnShadow);
}

int P::ScaledButtonTextOffset(const TdxScaleFactor* AScaleFactor) { return AScaleFactor->Apply(1); }

int P::ScaledButtonTextShift(const TdxScaleFactor* AScaleFactor) { return AScaleFactor->Apply(1); }

// ---------------------------------------------------------------------------
// Group boxes, expand buttons, check boxes and the toggle switch

void P::DrawGroupBoxFrame(TcxCanvas* ACanvas, const TRect& R, bool, TcxGroupBoxCaptionPosition,
                          TcxBorders ABorders) {
  ACanvas->FrameRect(R, clBtnShadow, 1, ABorders);
  TRect inner = R;
  inner.Deflate(1);
  ACanvas->FrameRect(inner, clBtnHighlight, 1, ABorders);
}

void P::DrawScaledExpandButton(TcxCustomCanvas* ACanvas, const TRect& R, bool AExpanded,
                               const TdxScaleFactor* AScaleFactor, TColor AColor, TcxExpandButtonState) {
  DrawScaledButton(ACanvas, R, cxbsNormal, AScaleFactor, true, false, cxbpButton, AColor);
  TRect inner = R;
  inner.Deflate(1);
  DrawPlusMinusMark(ACanvas, inner, AExpanded, clBtnText, AScaleFactor);
}

int P::ScaledExpandButtonSize(const TdxScaleFactor* AScaleFactor) { return AScaleFactor->Apply(11); }

void P::DrawCheckBorder(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState) {
  ACanvas->DrawEdge(R, true, true);
  TRect inner = R;
  inner.Deflate(1);
  ACanvas->FrameRect(inner, CheckButtonColor(AState, cbsChecked));
}

void P::DrawScaledToggleSwitchState(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState, bool AChecked,
                                    const TdxScaleFactor*) {
  ACanvas->FillRect(ABounds, ToggleSwitchToggleColor(AChecked));
  // The light comes from the bottom right: a shadow on the top and left.
  const TPoint bottomLeft(ABounds.Left, ABounds.Bottom - 1);
  const TPoint topLeft(ABounds.Left, ABounds.Top);
  const TPoint topRight(ABounds.Right - 1, ABounds.Top);
  const TPoint bottomRight(ABounds.Right - 1, ABounds.Bottom - 1);
  const TPoint shadow[] = {bottomLeft, topLeft, topRight};
  const TPoint light[] = {topRight, bottomRight, bottomLeft};
  ACanvas->Polyline(shadow, static_cast<TColor>(0xA0A0A0));
  ACanvas->Polyline(light, static_cast<TColor>(0xFFFFFF));
}

TColor P::ToggleSwitchToggleColor(bool AChecked) { return static_cast<TColor>(AChecked ? 0xA0A0A0 : 0xC8C8C8); }

// ---------------------------------------------------------------------------
// Scroll bars

void P::DoDrawScaledScrollBarPart(TcxCustomCanvas* ACanvas, bool AHorizontal, const TdxScaleFactor* AScaleFactor,
                                  TcxButtonState AState, TcxScrollBarPart APart, const TRect& R) {
  if (R.IsEmpty() || (APart == sbpThumbnail && AState == cxbsDisabled)) return;
  if (AState == cxbsHot) AState = cxbsNormal;
  switch (APart) {
    case sbpLineUp:
    case sbpLineDown:
    case sbpThumbnail: {
      DrawScaledButton(ACanvas, R, AState, AScaleFactor, true, false, cxbpButton, clDefault);
      if (APart == sbpThumbnail) return;
      TRect inner = R;
      inner.Deflate(ButtonBorderSize(cxbsNormal));
      DrawScaledScrollBarArrow(ACanvas, inner, AState, ScrollBarLineArrow(AHorizontal, APart), AScaleFactor);
      return;
    }
    default: inherited::DoDrawScaledScrollBarPart(ACanvas, AHorizontal, AScaleFactor, AState, APart, R);
  }
}

// ---------------------------------------------------------------------------
// Headers, sorting marks, footers, filter and find panels, and tabs

int P::HeaderBorderSize() { return 1; }

void P::DrawHeaderControlSectionBorder(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                                       TcxButtonState AState) {
  if (AState == cxbsPressed)
    ACanvas->DrawComplexFrame(R, clBtnShadow, clBtnHighlight, ABorders);
  else
    ACanvas->DrawComplexFrame(R, clBtnHighlight, clBtnShadow, ABorders);
}

TSize P::ScaledSortingMarkSize(const TdxScaleFactor* AScaleFactor) { return AScaleFactor->Apply(TSize(8, 7)); }

TSize P::ScaledSummarySortingMarkSize(const TdxScaleFactor* AScaleFactor) { return AScaleFactor->Apply(TSize(8, 8)); }

void P::DrawScaledSortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
                              const TdxScaleFactor* AScaleFactor) {
  DrawSortingTriangle(ACanvas, R, clBtnShadow, clBtnHighlight, AAscendingSorting, AScaleFactor);
}

void P::DrawScaledSummarySortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
                                     const TdxScaleFactor* AScaleFactor) {
  DrawSummarySortingTriangle(ACanvas, R, clBtnShadow, clBtnHighlight, AAscendingSorting, AScaleFactor);
}

int P::FooterBorderSize() { return 1; }

int P::FooterCellBorderSize() { return 1; }

int P::FooterCellOffset() { return 1; }

void P::DrawFooterBorder(TcxCanvas* ACanvas, const TRect& R) { ACanvas->DrawEdge(R, false, false); }

void P::DrawFooterCellBorder(TcxCanvas* ACanvas, const TRect& R) { ACanvas->DrawEdge(R, true, true); }

TRect P::DrawFilterDropDownButtonFace(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) {
  if (AState == cxbsPressed)
    ACanvas->DrawEdge(R, true, true);
  else
    ACanvas->DrawEdge(R, false, false);
  TRect face = R;
  face.Deflate(1);
  ACanvas->FillRect(face, clBtnFace);
  return face;
}

TColor P::FilterDropDownArrowColor(bool AIsFilterActive) {
  return AIsFilterActive ? static_cast<TColor>(RGB(0, 0, 255)) : clBtnText;
}

void P::DrawScaledFilterDropDownButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                       bool AIsFilterActive, const TdxScaleFactor*) {
  DrawFilterDropDownArrow(ACanvas, DrawFilterDropDownButtonFace(ACanvas, R, AState),
                          FilterDropDownArrowColor(AIsFilterActive));
}

void P::DrawFindPanelBorder(TcxCanvas*, const TRect&, TcxBorders) {}

int P::TabBorderSize(bool) { return 1; }

void P::DrawTabBorderStrip(TcxCanvas* ACanvas, TRect R, TcxBorder ABorder, TcxBorders ABorders, bool AVertical,
                           TColor ACornerColor) {
  // The shaded side is the one away from the light: the right of a
  // horizontal tab, the bottom of a vertical one. The leading side (the top
  // of a horizontal tab, the left of a vertical one) is cut at its ends,
  // and one pixel beside each cut rounds the corner.
  const bool shaded = AVertical ? ABorder == bBottom : ABorder == bRight;
  const TcxBorder leading = AVertical ? bLeft : bTop;
  if (!AVertical) {
    if (ABorder == bLeft || ABorder == bRight) {
      if (ABorders.Contains(bTop)) R.Top += 2;
      if (ABorders.Contains(bBottom)) --R.Bottom;
    } else if (ABorder == bTop) {
      R.Inflate(-1, 0);
    }
  } else {
    if (ABorder == bLeft) {
      R.Top += ABorders.Contains(bTop) ? 2 : 1;
      R.Bottom -= ABorders.Contains(bBottom) ? 2 : 1;
    } else if ((ABorder == bTop || ABorder == bBottom) && ABorders.Contains(bLeft)) {
      ++R.Left;
    }
  }
  ACanvas->FillRect(R, shaded ? clBtnShadow : clBtnHighlight);
  if (ABorder != leading) return;
  if (AVertical) {
    ACanvas->SetPixel(R.Left + 1, R.Top - 1, ACornerColor);
    ACanvas->SetPixel(R.Left + 1, R.Bottom, ACornerColor);
  } else {
    ACanvas->SetPixel(R.Left - 1, R.Top + 1, ACornerColor);
    ACanvas->SetPixel(R.Right, R.Top + 1, ACornerColor);
  }
}

void P::DrawTabBorder(TcxCanvas* ACanvas, const TRect& R, TcxBorder ABorder, TcxBorders ABorders, bool AVertical) {
  // The corners are notched in an all-but-black colour.
  DrawTabBorderStrip(ACanvas, R, ABorder, ABorders, AVertical, static_cast<TColor>(0x010100));
}

void P::DrawTabsRoot(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders, bool) {
  ACanvas->DrawEdge(R, false, false, ABorders);
}

// ---------------------------------------------------------------------------
// Scheduler, date navigator, track bars and splitters

void P::DrawSchedulerSplitterBorder(TcxCanvas* ACanvas, const TRect& R, const TcxViewParams& AViewParams,
                                    bool AIsHorizontal) {
  // A bevel on the long sides; the view runs on under the short ones.
  TRect inner = R;
  if (AIsHorizontal) {
    ACanvas->FillRect(TRect(R.Left, R.Top, R.Right, R.Top + 1), clBtnHighlight);
    ACanvas->FillRect(TRect(R.Left, R.Bottom - 1, R.Right, R.Bottom), clBtnShadow);
    inner = TRect(R.Left - 1, R.Top + 1, R.Right + 1, R.Bottom - 1);
  } else {
    ACanvas->FillRect(TRect(R.Left, R.Top, R.Left + 1, R.Bottom), clBtnHighlight);
    ACanvas->FillRect(TRect(R.Right - 1, R.Top, R.Right, R.Bottom), clBtnShadow);
    inner = TRect(R.Left + 1, R.Top - 1, R.Right - 1, R.Bottom + 1);
  }
  ACanvas->FillRect(inner, AViewParams);
}

void P::DrawDateNavigatorDateHeader(TcxCanvas* ACanvas, TRect& R) {
  ACanvas->FillRect(R, DefaultDateNavigatorHeaderColor());
  --R.Bottom;
  ACanvas->FillRect(TRect(R.Left, R.Bottom, R.Right, R.Bottom + 1), clBtnFace);
}

void P::DrawTrackBarTrackBounds(TcxCanvas* ACanvas, const TRect& ARect) {
  ACanvas->DrawComplexFrame(ARect, clBtnShadow, clBtnHighlight);
  TRect inner = ARect;
  inner.Deflate(1);
  ACanvas->DrawComplexFrame(inner, clBtnFace, clBtnFace);
}

void P::DrawTrackBarThumbBorderUpDown(TcxCanvas* ACanvas, std::span<const TPoint> ALightPolyLine,
                                      std::span<const TPoint>, std::span<const TPoint> ADarkPolyLine) {
  ACanvas->Polyline(ALightPolyLine, clBtnHighlight);
  ACanvas->Polyline(ADarkPolyLine, clBtnShadow);
}

void P::DrawTrackBarThumbBorderBoth(TcxCanvas* ACanvas, const TRect& ARect) {
  ACanvas->DrawComplexFrame(ARect, clBtnHighlight, clBtnShadow);
}

TColor P::GetSplitterOuterColor(bool AHighlighted) {
  return AHighlighted ? cl3DDkShadow : inherited::GetSplitterOuterColor(AHighlighted);
}
