// The Standard painter: the classic raised and sunken three-dimensional
// look in system colours.
#include "library/lookandfeel/painters/cxLookAndFeelPainters_Internal.h"

using P = TcxStandardLookAndFeelPainter;

namespace {

// Two one-pixel frames, the second inside the first.
void DrawDoubleFrame(TcxCustomCanvas* ACanvas, TRect R, TColor AOuterLeftTop, TColor AOuterRightBottom,
                     TColor AInnerLeftTop, TColor AInnerRightBottom) {
  ACanvas->DrawComplexFrame(R, AOuterLeftTop, AOuterRightBottom);
  R.Deflate(1);
  ACanvas->DrawComplexFrame(R, AInnerLeftTop, AInnerRightBottom);
}

void DrawRaisedFrames(TcxCustomCanvas* ACanvas, const TRect& R) {
  DrawDoubleFrame(ACanvas, R, clBtnHighlight, cl3DDkShadow, cl3DLight, clBtnShadow);
}

}  // namespace

// ---------------------------------------------------------------------------
// Painter information and default colours

String P::LookAndFeelName() { return L"Standard"; }

TcxLookAndFeelStyle P::LookAndFeelStyle() { return lfsStandard; }

TColor P::DefaultSchedulerTimeRulerBorderColor() { return DefaultSchedulerTimeRulerBorderColorClassic(); }

TColor P::DefaultSchedulerTimeRulerTextColor() { return DefaultSchedulerTimeRulerBorderColorClassic(); }

TColor P::DefaultSchedulerViewContentColor() { return clWindow; }

TColor P::DefaultSchedulerViewContentColorClassic() { return clWindow; }

// ---------------------------------------------------------------------------
// Borders and buttons

int P::BorderSize() { return 2; }

void P::DrawBorder(TcxCustomCanvas* ACanvas, const TRect& R) {
  DrawDoubleFrame(ACanvas, R, clBtnShadow, clBtnHighlight, cl3DDkShadow, cl3DLight);
}

int P::ButtonBorderSize(TcxButtonState AState) { return AState == cxbsDefault ? 3 : 2; }

void P::DrawButtonBorder(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState) {
  TRect r = R;
  if (AState == cxbsPressed || AState == cxbsDefault) {
    ACanvas->FrameRect(r, clBlack);
    r.Deflate(1);
  }
  if (AState == cxbsPressed)
    ACanvas->FrameRect(r, clBtnShadow);
  else
    DrawRaisedFrames(ACanvas, r);
}

int P::ScaledButtonTextOffset(const TdxScaleFactor* AScaleFactor) { return AScaleFactor->Apply(1); }

int P::ScaledButtonTextShift(const TdxScaleFactor* AScaleFactor) { return AScaleFactor->Apply(1); }

// ---------------------------------------------------------------------------
// Group boxes, expand buttons, check boxes, the toggle switch and tokens

void P::DrawGroupBoxFrame(TcxCanvas* ACanvas, const TRect& R, bool, TcxGroupBoxCaptionPosition,
                          TcxBorders ABorders) {
  // Etched: the shadow frame and the highlight frame one pixel down-right.
  TRect r(R.Left, R.Top, R.Right - 1, R.Bottom - 1);
  ACanvas->FrameRect(r, clBtnShadow, 1, ABorders);
  r.Offset(1, 1);
  ACanvas->FrameRect(r, clBtnHighlight, 1, ABorders);
}

void P::DrawScaledExpandButton(TcxCustomCanvas* ACanvas, const TRect& R, bool AExpanded,
                               const TdxScaleFactor* AScaleFactor, TColor AColor, TcxExpandButtonState) {
  ACanvas->DrawEdge(R, false, true);
  TRect r = R;
  r.Deflate(1);
  ACanvas->DrawEdge(r, true, false);
  r.Deflate(1);
  ACanvas->FillRect(r, AColor == clDefault ? clBtnFace : AColor);
  // Centred in the box less its shadow row and column: on the even box the
  // mark would otherwise reach the inner edge at the right and bottom.
  DrawPlusMinusMark(ACanvas, TRect(R.Left, R.Top, R.Right - 1, R.Bottom - 1), AExpanded, clBtnText, AScaleFactor);
}

int P::ScaledExpandButtonSize(const TdxScaleFactor* AScaleFactor) { return AScaleFactor->Apply(12); }

void P::DrawScaledGroupExpandButton(TcxCustomCanvas* ACanvas, const TRect& R, bool AExpanded, TcxButtonState AState,
                                    const TdxScaleFactor* AScaleFactor) {
  TcxLookAndFeelPaintersManager* manager = GetPaintersManager();
  if (TcxCustomLookAndFeelPainter* flat = manager ? manager->GetPainter(lfsFlat) : nullptr; flat && flat != this)
    flat->DrawScaledGroupExpandButton(ACanvas, R, AExpanded, AState, AScaleFactor);
  else
    inherited::DrawScaledGroupExpandButton(ACanvas, R, AExpanded, AState, AScaleFactor);
}

void P::DrawCheckBorder(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState) {
  ACanvas->DrawEdge(R, true, true);
  TRect inner = R;
  inner.Deflate(1);
  ACanvas->DrawEdge(inner, true, false);
}

void P::DrawScaledToggleSwitchState(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState, bool AChecked,
                                    const TdxScaleFactor*) {
  ACanvas->FillRect(ABounds, ToggleSwitchToggleColor(AChecked));
  DrawContainerBorder(ACanvas, ABounds, cbsSingle, 2, static_cast<TColor>(RGB(105, 105, 105)), cxBordersAll());
}

TColor P::ToggleSwitchToggleColor(bool AChecked) {
  return static_cast<TColor>(AChecked ? RGB(33, 153, 33) : RGB(227, 227, 227));
}

void P::DrawScaledTokenBackground(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                  const TdxScaleFactor*) {
  ACanvas->DrawComplexFrame(R, clBtnShadow, clBtnHighlight);
  TRect inner = R;
  inner.Deflate(1);
  if (AState == cxbsHot)
    ACanvas->DrawComplexFrame(inner, clBtnHighlight, clBtnShadow);
  else if (AState == cxbsPressed)
    ACanvas->DrawComplexFrame(inner, clBtnShadow, clBtnHighlight);
}

// ---------------------------------------------------------------------------
// Scroll bars

void P::DoDrawScaledScrollBarPart(TcxCustomCanvas* ACanvas, bool AHorizontal, const TdxScaleFactor* AScaleFactor,
                                  TcxButtonState AState, TcxScrollBarPart APart, const TRect& R) {
  if (R.IsEmpty() || (APart == sbpThumbnail && AState == cxbsDisabled)) return;
  if (AState == cxbsHot) AState = cxbsNormal;
  const bool pressed = AState == cxbsPressed;
  switch (APart) {
    case sbpLineUp:
    case sbpLineDown: {
      static constexpr UINT kinds[] = {DFCS_SCROLLUP, DFCS_SCROLLDOWN, DFCS_SCROLLLEFT, DFCS_SCROLLRIGHT};
      UINT flags = kinds[ScrollBarLineArrow(AHorizontal, APart)];
      if (AState == cxbsDisabled) flags |= DFCS_INACTIVE;
      if (pressed) flags |= DFCS_FLAT | DFCS_PUSHED;
      const auto dpi = static_cast<std::uint16_t>(AScaleFactor->Apply(96));
      ACanvas->DrawNativeObject(
          R, TcxCanvasBasedResourceCacheKey::Create(this, R.GetSize(), static_cast<int>(flags), APart, dpi),
          [flags](TcxCanvas* ACanvas, const TRect& ARect) {
            RECT r = ARect;
            DrawFrameControl(ACanvas->Handle(), &r, DFC_SCROLL, flags);
          });
      break;
    }
    case sbpThumbnail: {
      TRect face = R;
      face.Deflate(2);
      ACanvas->FillRect(face, clBtnFace);
      break;
    }
    default: inherited::DoDrawScaledScrollBarPart(ACanvas, AHorizontal, AScaleFactor, AState, APart, R); return;
  }
  if (pressed)
    DrawDoubleFrame(ACanvas, R, clBtnShadow, clBtnShadow, clBtnFace, clBtnFace);
  else
    DrawDoubleFrame(ACanvas, R, clBtnFace, cl3DDkShadow, clBtnHighlight, clBtnShadow);
}

// ---------------------------------------------------------------------------
// Headers, sorting marks, footers, filter and find panels, and tabs: the
// pieces the Flat painter shares draw the same here.

int P::HeaderBorderSize() { return 1; }

int P::HeaderControlSectionBorderSize(TcxButtonState AState) { return AState == cxbsPressed ? 1 : 2; }

void P::DrawHeaderControlSectionBorder(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                                       TcxButtonState AState) {
  if (AState == cxbsPressed) {
    ACanvas->FrameRect(R, clBtnShadow, 1, ABorders);
    return;
  }
  ACanvas->DrawComplexFrame(R, clBtnHighlight, cl3DDkShadow, ABorders);
  // The inner frame moves in only from the sides drawn, as the system's
  // edges do: a side left to the neighbour stays full length.
  TRect inner = R;
  if (ABorders.Contains(bLeft)) ++inner.Left;
  if (ABorders.Contains(bTop)) ++inner.Top;
  if (ABorders.Contains(bRight)) --inner.Right;
  if (ABorders.Contains(bBottom)) --inner.Bottom;
  ACanvas->DrawComplexFrame(inner, cl3DLight, clBtnShadow, ABorders);
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

void P::DrawFooterBorder(TcxCanvas* ACanvas, const TRect& R) { ACanvas->DrawEdge(R, false, true); }

void P::DrawFooterCellBorder(TcxCanvas* ACanvas, const TRect& R) { ACanvas->DrawEdge(R, true, false); }

void P::DrawScaledFilterDropDownButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                       bool AIsFilterActive, const TdxScaleFactor*) {
  DrawFilterDropDownArrow(ACanvas, TcxFlatLookAndFeelPainter::DrawFilterDropDownButtonFace(ACanvas, R, AState),
                          TcxFlatLookAndFeelPainter::FilterDropDownArrowColor(AIsFilterActive));
}

void P::DrawFindPanelBorder(TcxCanvas*, const TRect&, TcxBorders) {}

int P::TabBorderSize(bool) { return 1; }

void P::DrawTabBorder(TcxCanvas* ACanvas, const TRect& R, TcxBorder ABorder, TcxBorders ABorders, bool AVertical) {
  TcxFlatLookAndFeelPainter::DrawTabBorderStrip(ACanvas, R, ABorder, ABorders, AVertical, clBtnHighlight);
}

void P::DrawTabsRoot(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders, bool) {
  ACanvas->DrawEdge(R, false, true, ABorders);
}

// ---------------------------------------------------------------------------
// Scheduler and track bars

void P::DrawScaledMonthHeader(TcxCanvas* ACanvas, const TRect& ABounds, const String& AText,
                              TcxNeighbors ANeighbors, const TcxViewParams& AViewParams, TcxArrowDirections AArrows,
                              int ASideWidth, const TdxScaleFactor* AScaleFactor,
                              const TcxDrawBackgroundEvent& AOnDrawBackground) {
  const TcxBorders borders = HeaderBorders(ANeighbors);
  DrawHeaderBorder(ACanvas, ABounds, ANeighbors, borders);
  DoDrawHeader(ACanvas, ScaledHeaderContentBounds(ABounds, borders, AScaleFactor), ABounds, taCenter, vaCenter, false,
               false, AText, AViewParams.Font, AViewParams.TextColor, AViewParams.Color, AOnDrawBackground);
  DrawMonthHeaderArrows(ACanvas, ABounds, AArrows, ASideWidth, clWindowText);
}

void P::DrawSchedulerSplitterBorder(TcxCanvas* ACanvas, const TRect& R, const TcxViewParams& AViewParams,
                                    bool AIsHorizontal) {
  // Two lines on each long side, outermost first: face over dark shadow,
  // then highlight over shadow.
  static constexpr TColor leading[] = {clBtnFace, clBtnHighlight};
  static constexpr TColor trailing[] = {cl3DDkShadow, clBtnShadow};
  TRect inner = R;
  for (int i = 0; i < 2; ++i) {
    if (AIsHorizontal) {
      ACanvas->FillRect(TRect(R.Left, R.Top + i, R.Right, R.Top + i + 1), leading[i]);
      ACanvas->FillRect(TRect(R.Left, R.Bottom - i - 1, R.Right, R.Bottom - i), trailing[i]);
    } else {
      ACanvas->FillRect(TRect(R.Left + i, R.Top, R.Left + i + 1, R.Bottom), leading[i]);
      ACanvas->FillRect(TRect(R.Right - i - 1, R.Top, R.Right - i, R.Bottom), trailing[i]);
    }
  }
  if (AIsHorizontal)
    inner.Inflate(0, -2);
  else
    inner.Inflate(-2, 0);
  ACanvas->FillRect(inner, AViewParams);
}

void P::DrawTrackBarTrackBounds(TcxCanvas* ACanvas, const TRect& ARect) { DrawBorder(ACanvas, ARect); }

void P::DrawTrackBarThumbBorderUpDown(TcxCanvas* ACanvas, std::span<const TPoint> ALightPolyLine,
                                      std::span<const TPoint> AShadowPolyLine, std::span<const TPoint> ADarkPolyLine) {
  ACanvas->Polyline(ALightPolyLine, clBtnHighlight);
  ACanvas->Polyline(AShadowPolyLine, clBtnShadow);
  ACanvas->Polyline(ADarkPolyLine, cl3DDkShadow);
}

void P::DrawTrackBarThumbBorderBoth(TcxCanvas* ACanvas, const TRect& ARect) { DrawRaisedFrames(ACanvas, ARect); }
