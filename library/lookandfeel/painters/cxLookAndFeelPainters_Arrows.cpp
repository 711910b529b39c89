// The base painter's arrows, borders and separators.
#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"

#include "library/core/system/dxDPIAwareUtils.h"

#include <algorithm>

using P = TcxCustomLookAndFeelPainter;

namespace {

TcxArrowPoints Offset(TcxArrowPoints P, int D) {
  for (TPoint& p : P) p.Offset(D, D);
  return P;
}

}  // namespace

// Halves are truncated toward zero; the vertical start is rounded (MulDiv),
// so that arrows in even and odd rectangles sit as the system's do.
void P::CalculateArrowPoints(TRect R, TcxArrowPoints& P, TcxArrowDirection AArrowDirection, bool AProportional,
                             int AArrowSize) {
  if (AProportional) {
    const int d = R.Width() - R.Height();
    if (d > 0) {
      R.Left += d / 2;
      R.Right -= d / 2;
    } else {
      R.Top += -d / 2;
      R.Bottom -= -d / 2;
    }
  }
  const bool vertical = AArrowDirection == adUp || AArrowDirection == adDown;
  const int size = AArrowSize != 0 ? AArrowSize : (vertical ? R.Width() - 1 : R.Height() - 1) / 4 + 1;
  const int cx = vertical ? 2 * size - 1 : size;
  const int cy = vertical ? size : 2 * size - 1;
  const int ym = MulDiv(R.Top + R.Bottom - cy, 1, 2);
  const int xl = (R.Left + R.Right - cx) / 2;
  switch (AArrowDirection) {
    case adUp:
      P = {TPoint(xl, ym + cy - 1), TPoint((R.Left + R.Right - 1) / 2, ym), TPoint(xl + cx - 1, ym + cy - 1)};
      break;
    case adDown:
      P = {TPoint(xl + cx - 1, ym), TPoint((R.Left + R.Right - 1) / 2, ym + cy - 1), TPoint(xl, ym)};
      break;
    case adLeft:
      P = {TPoint(xl + cx - 1, ym + cy - 1), TPoint(xl, (R.Top + R.Bottom) / 2), TPoint(xl + cx - 1, ym)};
      break;
    case adRight:
      P = {TPoint(xl, ym), TPoint(xl + cx - 1, (R.Top + R.Bottom) / 2), TPoint(xl, ym + cy - 1)};
      break;
  }
}

void P::DrawArrow(TcxCustomCanvas* ACanvas, const TRect& R, TcxArrowDirection AArrowDirection, TColor AColor) {
  TcxArrowPoints points;
  CalculateArrowPoints(R, points, AArrowDirection, true);
  ACanvas->FillPolygon(points, AColor);
}

void P::DrawCollapseArrow(TcxCanvas* ACanvas, const TRect& R, TColor AColor, int ALineWidth) {
  const int size = (std::min(R.Width(), R.Height()) - 1) / 4;
  ACanvas->SetBrushColor(AColor);
  const int width = size + 3 * ALineWidth - 1;
  const int left = R.Left + (R.Width() - width) / 2;
  const int y = (R.Top + R.Bottom) / 2;
  for (const int x : {left, left + 2 * ALineWidth})
    for (int i = 0; i < size; ++i) {
      ACanvas->FillRect(TRect(x + i, y - i, x + i + ALineWidth, y - i + 1));
      ACanvas->FillRect(TRect(x + i, y + i, x + i + ALineWidth, y + i + 1));
    }
}

void P::DrawScaledArrow(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                        TcxArrowDirection AArrowDirection, const TdxScaleFactor* AScaleFactor, bool ADrawBorder) {
  if (ADrawBorder)
    DrawScaledArrowBorder(ACanvas, R, AState, AScaleFactor);
  else
    ACanvas->FillRect(R, ButtonColor(AState));
  TcxArrowPoints points;
  CalculateArrowPoints(R, points, AArrowDirection, false);
  ACanvas->FillPolygon(points, ButtonSymbolColor(AState, clDefault, cxbpButton));
}

void P::DrawScaledArrowBorder(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                              const TdxScaleFactor*) {
  ACanvas->FillRect(R, ButtonColor(AState));
  DrawButtonBorder(ACanvas, R, AState);
}

void P::DrawScaledScrollBarArrow(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                 TcxArrowDirection AArrowDirection, const TdxScaleFactor* AScaleFactor) {
  TRect r = R;
  if (AState == cxbsPressed) {
    const int shift = ScaledButtonTextShift(AScaleFactor);
    r.Offset(shift, shift);
  }
  TcxArrowPoints points;
  CalculateArrowPoints(r, points, AArrowDirection, true);
  if (AState == cxbsDisabled) {
    ACanvas->FillPolygon(Offset(points, AScaleFactor->Apply(1)), clBtnHighlight);
    ACanvas->FillPolygon(points, clBtnShadow);
  } else {
    ACanvas->FillPolygon(points, ButtonSymbolColor(AState, clDefault, cxbpButton));
  }
}

int P::BorderSize() { return 0; }

int P::SeparatorSize() { return BorderSize(); }

void P::DrawBorder(TcxCustomCanvas*, const TRect&) {}

void P::DrawContainerBorder(TcxCustomCanvas* ACanvas, const TRect& R, TcxContainerBorderStyle AStyle, int AWidth,
                            TColor AColor, TcxBorders ABorders) {
  TRect inner = R;
  inner.Deflate(1);
  switch (AStyle) {
    case cbsSingle:
    case cbsThick:
      ACanvas->FrameRect(R, AColor, AWidth);
      break;
    case cbsFlat:
      ACanvas->DrawEdge(R, true, true, ABorders);
      ACanvas->FrameRect(inner, clBtnFace);
      break;
    case cbs3D:
      ACanvas->DrawEdge(R, true, true, ABorders);
      ACanvas->DrawEdge(inner, true, false, ABorders);
      break;
    default:
      break;
  }
}

void P::DoDrawSeparator(TcxCustomCanvas* ACanvas, const TRect& R, bool) {
  // The system would draw a reversed rectangle as well.
  if (R.IsEmpty()) return;
  TRect line(R.Left, R.Top, R.Right - 1, R.Bottom - 1);
  ACanvas->FillRect(line, clBtnShadow);
  line.Offset(1, 1);
  ACanvas->FillRect(line, clBtnHighlight);
}

TRect P::CalculateSeparatorBounds(const TRect& R, int ASize, bool AIsVertical) {
  TRect r = R;
  if (AIsVertical) {
    r.Left = R.Left + R.Width() / 2 - ASize / 2;
    r.Right = r.Left + ASize;
  } else {
    r.Top = R.Top + R.Height() / 2 - ASize / 2;
    r.Bottom = r.Top + ASize;
  }
  return r;
}

void P::DrawSeparator(TcxCustomCanvas* ACanvas, const TRect& R, bool AIsVertical) {
  DoDrawSeparator(ACanvas, CalculateSeparatorBounds(R, SeparatorSize(), AIsVertical), AIsVertical);
}

void P::DrawArrow(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState, TcxArrowDirection AArrowDirection,
                  bool ADrawBorder) {
  DrawScaledArrow(ACanvas, R, AState, AArrowDirection, SystemScaleFactor(), ADrawBorder);
}

void P::DrawArrowBorder(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState) {
  DrawScaledArrowBorder(ACanvas, R, AState, SystemScaleFactor());
}

void P::DrawScrollBarArrow(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                           TcxArrowDirection AArrowDirection) {
  DrawScaledScrollBarArrow(ACanvas, R, AState, AArrowDirection, SystemScaleFactor());
}
