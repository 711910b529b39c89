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
