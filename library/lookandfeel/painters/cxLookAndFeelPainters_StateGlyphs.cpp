// The base painter's expand buttons, check boxes, toggle switch, radio
// buttons and label lines, and the plus/minus mark and touch-mode minimum
// the painters share.
#include "library/core/system/dxDPIAwareUtils.h"
#include "library/graphics/canvas/cxCanvasScopes.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters_ImageLists.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters_Internal.h"

#include <array>

using P = TcxCustomLookAndFeelPainter;

namespace {

// The radio image set of each painter style.
TcxLookAndFeelKind RadioButtonKind(TcxLookAndFeelStyle AStyle) {
  switch (AStyle) {
    case lfsFlat: return lfFlat;
    case lfsStandard:
    case lfsNative: return lfStandard;
    case lfsOffice11: return lfOffice11;
    case lfsUltraFlat:
    case lfsSkin: break;
  }
  return lfUltraFlat;
}

TcxCheckBoxState CheckBoxState(bool AChecked) { return AChecked ? cbsChecked : cbsUnchecked; }

}  // namespace

// ---------------------------------------------------------------------------
// Expand buttons

bool P::IsPointOverGroupExpandButton(const TRect& R, const TPoint& APoint) { return R.Contains(APoint); }

bool P::DrawExpandButtonFirst() { return true; }

void P::DrawScaledExpandButton(TcxCustomCanvas*, const TRect&, bool, const TdxScaleFactor*, TColor,
                               TcxExpandButtonState) {}

int P::ScaledExpandButtonSize(const TdxScaleFactor*) { return 0; }

void P::DrawScaledExpandButtonEx(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AExpanded,
                                 const TdxScaleFactor* AScaleFactor, TcxRotationAngle ARotationAngle) {
  DrawScaledButton(ACanvas, R, AState, AScaleFactor, true, false, cxbpButton, clDefault);
  const bool quarterTurn = ARotationAngle == raPlus90 || ARotationAngle == raMinus90;
  const TSize size = quarterTurn ? TSize(R.Height(), R.Width()) : R.GetSize();
  const TOwned<TcxBitmap> bitmap(
      NewWith<TcxBitmap>([&](TcxBitmap* ABitmap) { ABitmap->CreateSize(size.cx, size.cy); }));
  bitmap->cxCanvas()->FillRect(bitmap->ClientRect(), ButtonColor(AState));
  DrawScaledExpandMark(bitmap->cxCanvas(), bitmap->ClientRect(), ButtonSymbolColor(AState, clDefault), AExpanded,
                       AScaleFactor);
  bitmap->Rotate(ARotationAngle);
  ACanvas->Draw(R.Left, R.Top, bitmap.get());
}

void P::DrawScaledExpandMark(TcxCustomCanvas* ACanvas, const TRect& R, TColor AColor, bool AExpanded,
                             const TdxScaleFactor* AScaleFactor) {
  const int s = AScaleFactor->Apply(3);
  const int x0 = (R.Left + R.Right - (2 * s + 1)) / 2;
  const int y0 = (R.Top + R.Bottom - 2 * (s + 1)) / 2;
  // The second chevron lies s - 1 below where a plain sequence of rows
  // would put it.
  const std::array<int, 4> rows = {y0, y0 + 1, y0 + s + 1, y0 + s + 2};
  const int direction = AExpanded ? 1 : -1;
  for (int i = 0; i < 4; ++i) {
    const int f = AExpanded ? i % 2 : 1 - i % 2;
    const int y = rows[static_cast<std::size_t>(i)] + (AExpanded ? s : 0);
    // The canvas's polyline leaves out the last point.
    const TPoint points[] = {{x0 + f, y - direction * f},
                             {x0 + s, y - direction * s},
                             {x0 + 2 * s + 1 - f, y + direction * (1 - f)}};
    ACanvas->Polyline(points, AColor);
  }
}

void P::DrawScaledGroupExpandButton(TcxCustomCanvas* ACanvas, const TRect& R, bool AExpanded, TcxButtonState AState,
                                    const TdxScaleFactor* AScaleFactor) {
  DrawScaledButton(ACanvas, R, AState, AScaleFactor, true, false, cxbpButton, clDefault);
  DrawScaledExpandMark(ACanvas, R, ButtonSymbolColor(AState, clDefault), AExpanded, AScaleFactor);
}

void P::DrawScaledSmallExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor ABorderColor,
                                    const TdxScaleFactor* AScaleFactor, TColor AColor) {
  ACanvas->FrameRect(R, ABorderColor);
  if (AColor != clDefault) {
    TRect inner = R;
    inner.Deflate(1);
    ACanvas->FillRect(inner, AColor);
  }
  DrawPlusMinusMark(ACanvas, R, AExpanded, clBtnText, AScaleFactor);
}

int P::ScaledExpandButtonAreaSize(const TdxScaleFactor* AScaleFactor) {
  int result = ScaledExpandButtonSize(AScaleFactor);
  EnsureTouchModeMinimum(result);
  return result;
}

int P::ScaledGroupExpandButtonSize(const TdxScaleFactor* AScaleFactor) { return AScaleFactor->Apply(15); }

int P::ScaledSmallExpandButtonSize(const TdxScaleFactor* AScaleFactor) { return AScaleFactor->Apply(9); }

void P::DrawTreeViewExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, bool,
                                 const TdxScaleFactor* AScaleFactor, TColor AColor, TcxExpandButtonState AState) {
  DrawScaledExpandButton(ACanvas, R, AExpanded, AScaleFactor, AColor, AState);
}

TSize P::TreeViewExpandButtonSize(bool, const TdxScaleFactor* AScaleFactor) {
  const int size = ScaledExpandButtonSize(AScaleFactor);
  return TSize(size, size);
}

void P::DrawScaledExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                               const TdxScaleFactor* AScaleFactor, TColor AColor, TcxExpandButtonState AState) {
  DrawScaledExpandButton(static_cast<TcxCustomCanvas*>(ACanvas), R, AExpanded, AScaleFactor, AColor, AState);
  ACanvas->ExcludeClipRect(R);
}

void P::DrawExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor AColor) {
  DrawScaledExpandButton(ACanvas, R, AExpanded, SystemScaleFactor(), AColor, cebsNormal);
}

int P::ExpandButtonSize() { return ScaledExpandButtonSize(SystemScaleFactor()); }

void P::DrawExpandMark(TcxCustomCanvas* ACanvas, const TRect& R, TColor AColor, bool AExpanded) {
  DrawScaledExpandMark(ACanvas, R, AColor, AExpanded, SystemScaleFactor());
}

// ---------------------------------------------------------------------------
// Check boxes

int P::CheckBorderSize() { return 2; }

TColor P::CheckButtonColor(TcxButtonState AState, TcxCheckBoxState ACheckState) {
  if (AState == cxbsNormal) return ACheckState == cbsGrayed ? clBtnFace : clWindow;
  return AState == cxbsPressed || AState == cxbsDisabled ? clBtnFace : clWindow;
}

TSize P::ScaledCheckButtonAreaSize(const TdxScaleFactor* AScaleFactor) {
  TSize result = ScaledCheckButtonSize(AScaleFactor);
  EnsureTouchModeMinimumSize(result);
  return result;
}

TSize P::ScaledCheckButtonSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(cxStandardCheckBoxSize(), SystemScaleFactor());
}

void P::DrawCheckBorder(TcxCustomCanvas*, const TRect&, TcxButtonState) {}

void P::DrawScaledCheck(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                        TcxCheckBoxState ACheckState, TColor AColor, const TdxScaleFactor*, bool ADrawBackground) {
  if (ADrawBackground) ACanvas->FillRect(R, CheckButtonColor(AState, ACheckState));
  if (ACheckState == cbsUnchecked) return;
  TRect box = R;
  box.Deflate(1);
  const int w = box.Width();
  const int h = box.Height();
  // The template, in thousandths of the box's width; its right arm runs
  // past the box and is clipped.
  constexpr TPoint Template[] = {{0, 0}, {500, 500}, {1500, -499}};
  std::array<TPoint, 3> points;
  for (std::size_t i = 0; i < points.size(); ++i)
    points[i] = TPoint(MulDiv(Template[i].X, w, 1000) - static_cast<int>(w * 0.15) - 1 + box.Left,
                       MulDiv(Template[i].Y, w, 1000) + h / 3 + box.Top);
  const TcxClipRegionScope clip(ACanvas, box);
  for (int pass = 0; pass < 3; ++pass) {
    ACanvas->Polyline(points, AColor);
    for (TPoint& point : points) --point.Y;
  }
}

void P::DrawScaledCheckButton(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                              TcxCheckBoxState ACheckState, const TdxScaleFactor* AScaleFactor, bool) {
  DrawCheckBorder(ACanvas, R, AState);
  TRect inner = R;
  inner.Deflate(CheckBorderSize());
  const TColor mark = AState == cxbsDisabled || ACheckState == cbsGrayed ? clGrayText : clBtnText;
  DrawScaledCheck(ACanvas, inner, AState, ACheckState, mark, AScaleFactor, true);
}

void P::DrawScaledCheck(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, TcxCheckBoxState ACheckState,
                        TColor AColor, const TdxScaleFactor* AScaleFactor) {
  DrawScaledCheck(static_cast<TcxCustomCanvas*>(ACanvas), R, AState, ACheckState, AColor, AScaleFactor,
                  ACanvas->Brush()->Style() == bsSolid);
}

void P::DrawScaledCheckButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                              TcxCheckBoxState ACheckState, const TdxScaleFactor* AScaleFactor) {
  DrawScaledCheckButton(static_cast<TcxCustomCanvas*>(ACanvas), R, AState, ACheckState, AScaleFactor,
                        ACanvas->Brush()->Style() == bsSolid);
}

void P::DrawCheck(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AChecked, TColor AColor) {
  DrawScaledCheck(ACanvas, R, AState, CheckBoxState(AChecked), AColor, SystemScaleFactor());
}

void P::DrawCheckButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AChecked) {
  DrawScaledCheckButton(ACanvas, R, AState, CheckBoxState(AChecked), SystemScaleFactor());
}

TSize P::CheckButtonSize() { return ScaledCheckButtonSize(SystemScaleFactor()); }

TSize P::CheckButtonAreaSize() { return ScaledCheckButtonAreaSize(SystemScaleFactor()); }

// ---------------------------------------------------------------------------
// Toggle switch

void P::DrawScaledToggleSwitch(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                               const TRect& AThumbBounds, const TdxScaleFactor* AScaleFactor) {
  const bool rightToLeft = ACanvas->UseRightToLeftAlignment();
  if (AThumbBounds.Left == ABounds.Left) {
    DrawScaledToggleSwitchState(ACanvas, ABounds, AState, rightToLeft, AScaleFactor);
  } else if (AThumbBounds.Right == ABounds.Right) {
    DrawScaledToggleSwitchState(ACanvas, ABounds, AState, !rightToLeft, AScaleFactor);
  } else {
    // Dragged: split at the thumb's centre.
    const int centre = AThumbBounds.Left + AThumbBounds.Width() / 2;
    {
      const TcxCanvasStateScope state(ACanvas);
      ACanvas->ExcludeClipRect(TRect(centre, ABounds.Top, ABounds.Right, ABounds.Bottom));
      DrawScaledToggleSwitchState(ACanvas, ABounds, AState, !rightToLeft, AScaleFactor);
    }
    const TcxCanvasStateScope state(ACanvas);
    ACanvas->ExcludeClipRect(TRect(ABounds.Left, ABounds.Top, centre, ABounds.Bottom));
    DrawScaledToggleSwitchState(ACanvas, ABounds, AState, rightToLeft, AScaleFactor);
  }
}

void P::DrawScaledToggleSwitchState(TcxCanvas*, const TRect&, TcxButtonState, bool, const TdxScaleFactor*) {}

void P::DrawScaledToggleSwitchThumb(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                                    const TdxScaleFactor* AScaleFactor) {
  TRect thumb = ABounds;
  thumb.Deflate(2);
  DrawScaledButton(ACanvas, thumb, AState, AScaleFactor, true, false, cxbpButton, clDefault);
}

void P::DrawToggleSwitchStateIndicator(TcxCanvas* ACanvas, const TRect& ABounds, const String& AText,
                                       TFont* AFont) {
  const TcxCanvasStateScope state(ACanvas);
  ACanvas->SetFont(AFont);
  DrawRotatedText(ACanvas, AText, ABounds, DT_CENTER | DT_VCENTER | DT_SINGLELINE, GetToggleSwitchTextColor(), ra0);
}

IPtr<IdxColorPalette> P::GetToggleSwitchColorPalette() { return {}; }

TColor P::GetToggleSwitchTextColor() { return DefaultContentTextColor(); }

int P::GetToggleSwitchThumbPercentsWidth() { return 50; }

TColor P::ToggleSwitchToggleColor(bool) { return clBlack; }

// ---------------------------------------------------------------------------
// Radio buttons and label lines

void P::DrawScaledRadioButton(TcxCanvas* ACanvas, int X, int Y, TcxButtonState AButtonState, bool AChecked,
                              bool AFocused, TColor ABrushColor, const TdxScaleFactor* AScaleFactor,
                              bool AIsDesigning) {
  GetRadioButtonImageList(AScaleFactor)
      ->Draw(ACanvas, X, Y, ABrushColor, RadioButtonKind(LookAndFeelStyle()), AButtonState, AChecked, AFocused,
             AIsDesigning);
}

TColor P::RadioButtonBodyColor(TcxButtonState AState) {
  return AState == cxbsPressed || AState == cxbsDisabled ? clBtnFace : clWindow;
}

TSize P::ScaledRadioButtonSize(const TdxScaleFactor* AScaleFactor) {
  return GetRadioButtonImageList(AScaleFactor)->GetSize();
}

void P::DrawRadioButton(TcxCanvas* ACanvas, int X, int Y, TcxButtonState AButtonState, bool AChecked, bool AFocused,
                        TColor ABrushColor, bool AIsDesigning) {
  DrawScaledRadioButton(ACanvas, X, Y, AButtonState, AChecked, AFocused, ABrushColor, SystemScaleFactor(),
                        AIsDesigning);
}

TSize P::RadioButtonSize() { return ScaledRadioButtonSize(SystemScaleFactor()); }

void P::DrawLabelLine(TcxCanvas* ACanvas, const TRect& R, TColor AOuterColor, TColor AInnerColor,
                      bool AIsVertical) {
  const TColor outer = AOuterColor == clDefault ? clBtnShadow : AOuterColor;
  const TColor inner = AInnerColor == clDefault ? clBtnHighlight : AInnerColor;
  ACanvas->DrawComplexFrame(R, outer, inner, AIsVertical ? TcxBorders{bLeft, bRight} : TcxBorders{bTop, bBottom});
}

int P::LabelLineHeight() { return 2; }

// ---------------------------------------------------------------------------
// What the painters share

void DrawPlusMinusMark(TcxCustomCanvas* ACanvas, const TRect& R, bool AExpanded, TColor AColor,
                       const TdxScaleFactor* AScaleFactor) {
  const int margin = AScaleFactor->Apply(2);
  const int half = (R.Width() - 2 * margin) / 2;
  const int cx = FloorHalf(R.Left + R.Right);
  const int cy = FloorHalf(R.Top + R.Bottom);
  ACanvas->FillRect(TRect(cx - half, cy, cx + half + 1, cy + 1), AColor);
  if (!AExpanded) ACanvas->FillRect(TRect(cx, cy - half, cx + 1, cy + half + 1), AColor);
}

void GetRangeThumbRect(const TRect& R, TcxTrackBarTicksAlign ATicks, bool AHorizontal, TRect& ARect) {
  ARect = R;
  if (ATicks == tbtaBoth) return;
  if (AHorizontal)
    --ARect.Right;
  else
    --ARect.Bottom;
}

void EnsureTouchModeMinimum(int& AValue, const TdxScaleFactor* AScaleFactor) {
  if (!cxIsTouchModeEnabled() || AValue <= 0) return;
  const TdxScaleFactor* factor = AScaleFactor ? AScaleFactor : SystemScaleFactor();
  AValue = std::max(AValue, factor->Apply(27));
}

void EnsureTouchModeMinimumSize(TSize& ASize, const TdxScaleFactor* AScaleFactor) {
  EnsureTouchModeMinimum(ASize.cx, AScaleFactor);
  EnsureTouchModeMinimum(ASize.cy, AScaleFactor);
}
