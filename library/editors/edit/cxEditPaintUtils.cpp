#include "library/editors/edit/cxEditPaintUtils.h"

#include "library/core/system/dxThemeManager.h"
#include "library/core/system/dxUxTheme.h"
#include "library/lookandfeel/painters/dxOffice11.h"

#include <algorithm>
#include <array>
#include <utility>

void FillRectByColor(HDC ADC, const TRect& R, TColor AColor) {
  ::FillRect(ADC, R.WinRect(), TdxSolidBrushCache::Get(AColor));
}

void FillRectByColor(TcxCanvas* ACanvas, const TRect& R, TColor AColor) { FillRectByColor(ACanvas->Handle(), R, AColor); }

void FillRectExcept(TcxCanvas* ACanvas, const TRect& AOuterRect, const TRect& AInnerRect, HBRUSH ABrush) {
  if (AOuterRect.IsEmpty() || AOuterRect == AInnerRect) return;
  const HDC DC = ACanvas->Handle();
  if (AInnerRect.IsEmpty()) {
    ::FillRect(DC, AOuterRect.WinRect(), ABrush);
    return;
  }
  const TRect O = AOuterRect;
  const TRect I = AInnerRect;
  const std::array<TRect, 4> strips = {TRect(O.Left, O.Top, I.Left, O.Bottom), TRect(I.Left, O.Top, I.Right, I.Top),
                                       TRect(I.Right, O.Top, O.Right, O.Bottom),
                                       TRect(I.Left, I.Bottom, I.Right, O.Bottom)};
  for (const TRect& R : strips) ::FillRect(DC, R.WinRect(), ABrush);
}

void DrawPolylineWithEnd(TcxCanvas* ACanvas, std::span<const TPoint> APoints, int AHighIndex, TColor AColor,
                         bool AUseFillRect) {
  if (AHighIndex < 0 || AHighIndex >= static_cast<int>(APoints.size())) return;
  const TPoint& last = APoints[AHighIndex];
  if (!AUseFillRect) {
    ACanvas->Pen()->SetColor(AColor);
    ACanvas->Polyline(APoints.first(AHighIndex + 1));
    ACanvas->SetPixel(last.X, last.Y, AColor);
    return;
  }
  const HDC DC = ACanvas->Handle();
  for (int i = 0; i < AHighIndex; ++i) {
    const TPoint& P = APoints[i];
    const TPoint& Q = APoints[i + 1];
    // Covers P and every pixel towards Q, Q itself excluded.
    TRect R;
    if (P.X == Q.X)
      R = Q.Y >= P.Y ? TRect(P.X, P.Y, P.X + 1, Q.Y) : TRect(P.X, Q.Y + 1, P.X + 1, P.Y + 1);
    else
      R = Q.X >= P.X ? TRect(P.X, P.Y, Q.X, P.Y + 1) : TRect(Q.X + 1, P.Y, P.X + 1, P.Y + 1);
    FillRectByColor(DC, R, AColor);
  }
  FillRectByColor(DC, TRect(last.X, last.Y, last.X + 1, last.Y + 1), AColor);
}

void DrawEditButtonSides(TcxCanvas* ACanvas, TRect& R, TcxBorders ABorders, TColor AColor) {
  ACanvas->Pen()->SetColor(AColor);
  const TRect W(R.Left, R.Top, R.Right - 1, R.Bottom - 1);
  const auto line = [&](TPoint A, TPoint B) {
    const std::array<TPoint, 2> points = {A, B};
    DrawPolylineWithEnd(ACanvas, points, 1, AColor);
  };
  if (ABorders.Contains(bLeft)) {
    line({W.Left, W.Top}, {W.Left, W.Bottom});
    ++R.Left;
  }
  if (ABorders.Contains(bRight)) {
    line({W.Right, W.Top}, {W.Right, W.Bottom});
    --R.Right;
  }
  if (ABorders.Contains(bTop)) {
    line({W.Left, W.Top}, {W.Right, W.Top});
    ++R.Top;
  }
  if (ABorders.Contains(bBottom)) {
    line({W.Left, W.Bottom}, {W.Right, W.Bottom});
    --R.Bottom;
  }
}

void DrawEditButtonArrow(TcxCanvas* ACanvas, int AArrowSize, const TRect& AContentRect, TcxArrowDirection ADirection,
                         bool AIsDoubleArrow, bool AOffsetContent, TColor AColor) {
  const int S = AArrowSize;
  const int count = AIsDoubleArrow ? 2 : 1;
  const bool vertical = ADirection == adUp || ADirection == adDown;
  const int boxWidth = vertical ? 2 * S - 1 : count * S;
  const int boxHeight = vertical ? count * S : 2 * S - 1;
  int X = AContentRect.Left + (AContentRect.Width() - boxWidth) / 2;
  int Y = AContentRect.Top + (AContentRect.Height() - boxHeight) / 2;
  if (AOffsetContent) {
    ++X;
    ++Y;
  }
  const HDC DC = ACanvas->Handle();
  for (int n = 0; n < count; ++n) {
    for (int k = 0; k < S; ++k) {
      TRect line;
      switch (ADirection) {
        case adUp: line = TRect(X + S - 1 - k, Y + k, X + S + k, Y + k + 1); break;
        case adDown: line = TRect(X + k, Y + k, X + 2 * S - 1 - k, Y + k + 1); break;
        case adLeft: line = TRect(X + k, Y + S - 1 - k, X + k + 1, Y + S + k); break;
        case adRight: line = TRect(X + k, Y + k, X + k + 1, Y + 2 * S - 1 - k); break;
      }
      FillRectByColor(DC, line, AColor);
    }
    (vertical ? Y : X) += S;
  }
}

TSize GetEditButtonArrowSize(const TSize& ASize, TcxArrowDirection ADirection) {
  int a = (std::min(ASize.cx, ASize.cy) - 1) / 2;
  if (a % 2 == 0) ++a;
  const int b = a / 2 + 1;
  return ADirection == adUp || ADirection == adDown ? TSize(a, b) : TSize(b, a);
}

TcxCustomLookAndFeelPainter* GetLookAndFeelPainterForKind(bool ANativeStyle, TcxLookAndFeelKind AKind) {
  const TcxLookAndFeelStyle style = ANativeStyle && AreVisualStylesAvailable() ? lfsNative : LookAndFeelKindToStyle(AKind);
  return GetPaintersManager()->GetPainter(style);
}

TColor GetEditButtonColor(bool APressed, bool AIsOffice11) {
  return GetPaintersManager()->GetPainter(AIsOffice11 ? lfsOffice11 : lfsUltraFlat)->ButtonColor(APressed ? cxbsPressed : cxbsHot);
}

TColor EditHotBorderColor(bool AIsOffice11) {
  return AIsOffice11 ? Office11Color(Office11HighlightBorderColor) : clHighlight;
}

int EditButtonContentVerticalOffset(TcxCanvas* ACanvas, TcxEditButtonStyle AButtonStyle, bool ANativeStyle) {
  if (!ANativeStyle) {
    static constexpr std::array<int, 7> offsets = {0, 4, 2, 2, 2, 2, 2};
    return offsets[AButtonStyle];
  }
  const TRect bounds(0, 0, 100, 100);
  TRect content = bounds;
  UxGetThemeBackgroundContentRect(OpenTheme(totButton), ACanvas->Handle(), 1, 1, bounds, content);
  return content.Top + 100 - content.Bottom;
}

int NativeTextEditHeightCorrection(TcxCustomEditProperties* AProperties, bool AIsInplace) {
  return AIsInplace && AProperties->Buttons()->Count() > 0 ? 1 : 0;
}

namespace {

// (text-output flag, canvas flag)
constexpr std::array<std::pair<int, int>, 9> TextFlagPairs = {{{0x1, 0x4},
                                                               {0x2, 0x2},
                                                               {0x10, 0x20},
                                                               {0x20, 0x10},
                                                               {0x200, 0x40},
                                                               {0x100, 0x400},
                                                               {0x800, 0x800},
                                                               {0x8000, 0x80},
                                                               {0x4000000, 0x10000}}};

}  // namespace

int TextOutFlagsToCanvasFlags(int AFlags) {
  int result = 0;
  for (const auto& [textOut, canvas] : TextFlagPairs)
    if (AFlags & textOut) result |= canvas;
  return result;
}

int CanvasFlagsToTextOutFlags(int AFlags) {
  int result = 0;
  for (const auto& [textOut, canvas] : TextFlagPairs)
    if (AFlags & canvas) result |= textOut;
  return result;
}

bool IsNumericChar(wchar_t AChar) { return AChar >= L'0' && AChar <= L'9'; }
