// The spin buttons' layout and painting: two or four buttons side by side or
// stacked, mirrored for right to left, themed with the spin theme's parts or
// drawn in each button style with arrows.
//
// Button indexes are the spin editor's: 0 down, 1 up, 2 fast down, 3 fast
// up. The buttons collection holds exactly these, all visible, so a visible
// index is a button index.
#include "library/editors/spin/cxSpinEdit.h"

#include "library/core/system/dxThemeManager.h"
#include "library/core/system/dxUxTheme.h"
#include "library/editors/edit/cxEditPaintUtils.h"
#include "library/lookandfeel/settings/cxLookAndFeels.h"

#include <algorithm>

namespace {

constexpr int DownIndex = 0;
constexpr int UpIndex = 1;
constexpr int FastDownIndex = 2;
constexpr int FastUpIndex = 3;

TcxEditButtonViewInfo* ButtonAt(TcxCustomEditViewInfo* AViewInfo, int AIndex) {
  return AIndex < static_cast<int>(AViewInfo->ButtonsInfo.size()) ? AViewInfo->ButtonsInfo[AIndex].get() : nullptr;
}

TRect MirroredWithin(const TRect& R, int ALeft, int ARight) {
  return TRect(ALeft + ARight - R.Right, R.Top, ALeft + ARight - R.Left, R.Bottom);
}

bool IsDownButton(int AIndex) { return AIndex == DownIndex || AIndex == FastDownIndex; }

TcxButtonState PainterStateOf(TcxEditButtonState AState) {
  switch (AState) {
    case ebsDisabled: return cxbsDisabled;
    case ebsPressed: return cxbsPressed;
    case ebsSelected: return cxbsHot;
    default: return cxbsNormal;
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// TcxSpinEditViewData

void TcxSpinEditViewData::Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, TcxMouseButton Button,
                                    TShiftState Shift, TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) {
  inherited::Calculate(ACanvas, ABounds, P, Button, Shift, AViewInfo, AIsMouseEvent);
  AViewInfo->UseRightToLeftAlignment = UseRightToLeftAlignment;
}

void TcxSpinEditViewData::CalculateButtonViewInfo(TcxCanvas*, TcxCustomEditViewInfo* AViewInfo,
                                                  int AButtonVisibleIndex, TRect&) {
  // Bounds come from CalculateSpinButtons, for all buttons together.
  InitializeButtonInfo(AViewInfo, AButtonVisibleIndex);
}

void TcxSpinEditViewData::DoCalculateButtonViewInfos(TcxCanvas* ACanvas, TRect& AButtonsRect,
                                                     TcxCustomEditViewInfo* AViewInfo) {
  inherited::DoCalculateButtonViewInfos(ACanvas, AButtonsRect, AViewInfo);
  CalculateSpinButtons(ACanvas, AViewInfo, AButtonsRect);
}

bool TcxSpinEditViewData::CanPressButton(TcxCustomEditViewInfo*, int) {
  auto* edit = dynamic_cast<TcxCustomSpinEdit*>(Edit());
  return !edit || edit->PressedState() == epsNone;
}

bool TcxSpinEditViewData::IsButtonHeldPressed(TcxCustomEditViewInfo*, int AButtonVisibleIndex) {
  return AButtonVisibleIndex + 1 == static_cast<int>(PressedState);
}

bool TcxSpinEditViewData::IgnoreButtonWhileStretching(int AButtonVisibleIndex) {
  return AButtonVisibleIndex == DownIndex && SpinProperties()->SpinButtons()->Position() == sbpVert;
}

bool TcxSpinEditViewData::IsButtonLeftAligned(TcxCustomEditViewInfo* AViewInfo, int AButtonVisibleIndex) {
  const bool leftRight = SpinProperties()->SpinButtons()->Position() == sbpHorzLeftRight;
  if (leftRight && (AButtonVisibleIndex == UpIndex || AButtonVisibleIndex == FastUpIndex)) return false;
  if (leftRight && IsDownButton(AButtonVisibleIndex)) return true;
  return inherited::IsButtonLeftAligned(AViewInfo, AButtonVisibleIndex);
}

void TcxSpinEditViewData::CalculateNativePartAndState(HTHEME ATheme, TcxEditButtonViewInfo* AButtonViewInfo) {
  static constexpr int ThemeStates[] = {4, 1, 3, 2};  // disabled, normal, pressed, hot
  TcxEditButtonViewInfoData& data = AButtonViewInfo->Data;
  data.NativeState = ATheme ? ThemeStates[data.State] : 0;
}

bool TcxSpinEditViewData::UsesSpinTheme() {
  return NativeStyle && OpenThemeForScaleFactor(totSpin, ScaleFactor()) != nullptr;
}

void TcxSpinEditViewData::CheckButtonsOnly(TcxCustomEditViewInfo* AViewInfo, int APrevButtonsWidth,
                                           int AButtonsWidth) {
  inherited::CheckButtonsOnly(AViewInfo, APrevButtonsWidth, AButtonsWidth);
  const TcxSpinEditButtonsPosition position = SpinProperties()->SpinButtons()->Position();
  TcxEditButtonViewInfo* down = ButtonAt(AViewInfo, DownIndex);
  TcxEditButtonViewInfo* up = ButtonAt(AViewInfo, UpIndex);
  if (position == sbpVert && down && up) {
    down->Bounds.Left = up->Bounds.Left;
    down->Bounds.Right = up->Bounds.Right;
  }
  for (auto& button : AViewInfo->ButtonsInfo) {
    button->VisibleBounds = button->Bounds;
    button->VisibleBounds.Intersect(AViewInfo->BorderRect);
  }
  auto* vi = dynamic_cast<TcxSpinEditViewInfo*>(AViewInfo);
  if (!vi) return;
  vi->DelimiterLine[0] = vi->DelimiterLine[1] = TPoint();
  if (!down || !up || !UsesSpinTheme()) return;
  if (position == sbpHorzRight) {
    vi->DelimiterLine[0] = TPoint(down->Bounds.Right, down->Bounds.Top);
    vi->DelimiterLine[1] = TPoint(down->Bounds.Right, down->Bounds.Bottom - 1);
  } else if (position == sbpVert) {
    vi->DelimiterLine[0] = TPoint(up->Bounds.Left, up->Bounds.Bottom);
    vi->DelimiterLine[1] = TPoint(up->Bounds.Right - 1, up->Bounds.Bottom);
  }
}

void TcxSpinEditViewData::CalculateSpinButtons(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo,
                                               TRect& AButtonsRect) {
  auto* vi = static_cast<TcxSpinEditViewInfo*>(AViewInfo);
  const int count = static_cast<int>(vi->ButtonsInfo.size());
  if (count == 0) return;
  const TcxSpinEditButtonsPosition position = SpinProperties()->SpinButtons()->Position();
  vi->ButtonsPosition = position;
  const bool fast = count >= 4;
  const bool themed = UsesSpinTheme();
  const bool skinned = vi->UseSkins && vi->Painter;

  // Sizes.
  TcxScreenCanvas* screen = ACanvas ? nullptr : SharedScreenCanvas();
  TcxCanvas* canvas = ACanvas ? ACanvas : screen;
  canvas->Font()->Assign(Style()->GetVisibleFont());
  const int A = CalculateButtonWidth(vi->ButtonsInfo.back().get());
  const int halfHeight = AButtonsRect.Height() / 2;
  vi->ArrowSize = GetEditButtonArrowSize(TSize(A + 2, halfHeight + 2), adUp).cy;
  int W = 0, F = 0;
  if (skinned) {
    const int S = ScaleFactor()->Apply(vi->Painter->EditButtonSize().cy);
    W = S / 2 + vi->ArrowSize;
    F = 3 * W / 2 + S % 2;
  } else {
    if (themed) {
      const TRect client = GetClientExtent(canvas, vi);
      const TRect buttons = GetButtonsExtent(canvas);
      const int C = GetEditContentSizeCorrection().cy + canvas->TextHeight(L"Zg") + client.Top + client.Bottom -
                    buttons.Top - buttons.Bottom - 1;
      W = (C + 1) / 2;
    } else {
      W = 4 * vi->ArrowSize - 3;
    }
    if (SupportsTouchMode && cxIsTouchModeEnabled()) EnsureTouchModeMinimum(W, ScaleFactor());
    F = MulDiv(W, 3, 2) + W % 2;
    if (SupportsTouchMode && cxIsTouchModeEnabled()) EnsureTouchModeMinimum(F, ScaleFactor());
  }
  if (screen) screen->Dormant();
  const int D = themed && !vi->IsCustomDrawButton(0) ? 1 : 0;
  const int G = themed && IsWinVistaOrLater ? 1 : 0;

  // Placement, from the right edge inward.
  const TRect R0 = AButtonsRect;
  TRect& R = AButtonsRect;
  TRect rects[4];
  if (fast) {
    rects[FastUpIndex] = TRect(R.Right - F, R.Top, R.Right, R.Bottom - G);
    R.Right = rects[FastUpIndex].Left;
  }
  if (position == sbpVert) {
    rects[UpIndex] = TRect(R.Right - A, R.Top, R.Right, R.Top + (R.Height() - D) / 2);
    rects[DownIndex] = TRect(R.Right - A, rects[UpIndex].Bottom + D, R.Right, R.Bottom);
    R.Right = rects[DownIndex].Left;
  } else {
    rects[UpIndex] = TRect(R.Right - W, R.Top, R.Right, R.Bottom - G);
    R.Right = rects[UpIndex].Left - D;
  }
  if (position == sbpHorzLeftRight) {
    if (fast) {
      rects[FastDownIndex] = TRect(R.Left, R.Top, R.Left + F, R.Bottom - G);
      R.Left = rects[FastDownIndex].Right;
    }
    rects[DownIndex] = TRect(R.Left, R.Top, R.Left + W, R.Bottom - G);
    R.Left = rects[DownIndex].Right;
  } else {
    if (position == sbpHorzRight) {
      rects[DownIndex] = TRect(R.Right - W, R.Top, R.Right, R.Bottom - G);
      R.Right = rects[DownIndex].Left;
    }
    if (fast) {
      rects[FastDownIndex] = TRect(R.Right - F, R.Top, R.Right, R.Bottom - G);
      R.Right = rects[FastDownIndex].Left;
    }
  }
  // Right to left the group moves to the left side, its order unchanged.
  if (UseRightToLeftAlignment && position != sbpHorzLeftRight) {
    R = MirroredWithin(R, R0.Left, R0.Right);
    for (int i = 0; i < count && i < 4; ++i) rects[i] = MirroredWithin(rects[i], R0.Left, R0.Right);
    const int cut = rects[fast ? FastDownIndex : DownIndex].Right;
    for (int i = 0; i < count && i < 4; ++i) rects[i] = MirroredWithin(rects[i], R0.Left, cut);
  }

  static constexpr int VertParts[] = {2, 1, 4, 3};
  static constexpr int HorzParts[] = {4, 3, 4, 3};
  for (int i = 0; i < count && i < 4; ++i) {
    TcxEditButtonViewInfo* button = vi->ButtonsInfo[i].get();
    button->Bounds = rects[i];
    button->VisibleBounds = rects[i];
    button->Width = rects[i].Width();
    button->Data.NativeStyle = themed;
    button->Data.NativePart = themed ? (position == sbpVert ? VertParts[i] : HorzParts[i]) : 0;
  }
}

// ---------------------------------------------------------------------------
// TcxSpinEditViewInfo

void TcxSpinEditViewInfo::InternalPaint(TcxCanvas* ACanvas) {
  inherited::InternalPaint(ACanvas);
  if (ButtonsInfo.empty() || ButtonsInfo[0]->Data.NativePart == 0 || ButtonsPosition == sbpHorzLeftRight ||
      IsCustomDrawButton(0) || (DelimiterLine[0] == TPoint() && DelimiterLine[1] == TPoint()))
    return;
  const HDC DC = ACanvas->Handle();
  const TSavedDC saved(DC);
  ::IntersectClipRect(DC, BorderRect.Left, BorderRect.Top, BorderRect.Right, BorderRect.Bottom);
  DrawPolylineWithEnd(ACanvas, DelimiterLine, 1, BackgroundColor(), true);
}

void TcxSpinEditViewInfo::DrawNativeButton(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo, const TRect&,
                                           const TRect&) {
  const TcxEditButtonViewInfoData& data = AViewInfo->Data;
  if (const HTHEME theme = OpenThemeForScaleFactor(totSpin, ScaleFactor()))
    UxDrawThemeBackground(theme, ACanvas->Handle(), data.NativePart, data.NativeState, AViewInfo->Bounds);
}

void TcxSpinEditViewInfo::DrawThemedButtonBorder(TcxCanvas*, TcxEditButtonViewInfo* AViewInfo, TRect&,
                                                 TRect& AContentRect, TColor& APenColor, TColor& ABrushColor) {
  // The theme draws the arrows.
  AContentRect = IsCustomDrawButton(0) ? AViewInfo->Bounds : TRect();
  APenColor = clBtnText;
  ABrushColor = AViewInfo->Data.BackgroundColor;
}

namespace {

// The sides a hot or pressed ultra-flat spin button draws, so that lines it
// shares with the editor's frame or a neighbour are not doubled.
int UltraFlatPattern(int AIndex, int ACount, TcxSpinEditButtonsPosition APosition, bool ARightToLeft) {
  switch (AIndex) {
    case DownIndex:
      if (APosition == sbpVert) return ACount > 2 ? 4 : ARightToLeft ? 7 : 6;
      return ACount != 2 || (APosition == sbpHorzRight && !ARightToLeft) ? 1 : 0;
    case UpIndex:
      if (APosition == sbpVert) return ACount > 2 ? 3 : ARightToLeft ? 8 : 5;
      return ACount > 2 || (ARightToLeft && APosition == sbpHorzRight) ? 1 : 2;
    case FastDownIndex: return APosition != sbpHorzLeftRight ? 1 : 0;
    default: return ARightToLeft && APosition != sbpHorzLeftRight ? 1 : 2;
  }
}

// The hot-flat edge type of a button.
int HotFlatType(int AIndex, int ACount, TcxSpinEditButtonsPosition APosition, bool ARightToLeft) {
  if (AIndex == FastDownIndex || AIndex == FastUpIndex) {
    const bool down = AIndex == FastDownIndex;
    if (APosition == sbpHorzLeftRight) return down ? 0 : 2;
    if (!ARightToLeft) return down ? 3 : 2;
    return down ? 0 : 1;
  }
  // [right to left][four buttons][position] -> {down, up}
  static constexpr int Types[2][2][3][2] = {
      {{{1, 3}, {3, 2}, {7, 6}}, {{1, 3}, {2, 2}, {5, 4}}},
      {{{1, 3}, {0, 1}, {9, 8}}, {{1, 3}, {0, 0}, {10, 11}}},
  };
  return Types[ARightToLeft ? 1 : 0][ACount > 2 ? 1 : 0][APosition][AIndex == DownIndex ? 0 : 1];
}

}  // namespace

void TcxSpinEditViewInfo::DrawUltraFlatButtonBorder(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo,
                                                    bool AIsOffice11, TRect& ARect, TRect& AContentRect, TColor&,
                                                    TColor& ABrushColor) {
  const TcxEditButtonViewInfoData& data = AViewInfo->Data;
  const TColor highlight = EditHotBorderColor(AIsOffice11);
  const bool active = data.State == ebsPressed || data.State == ebsSelected;
  if (data.Transparent)
    ABrushColor = data.BackgroundColor;
  else if (!active)
    ABrushColor = data.State != ebsDisabled && AIsOffice11
                      ? GetPaintersManager()->GetPainter(lfsOffice11)->ButtonColor(cxbsNormal)
                      : clBtnFace;
  else
    ABrushColor = GetEditButtonColor(data.State == ebsPressed, AIsOffice11);

  const bool bordered = data.IsInplace ? PaintOptions.Contains(epoHasExternalBorder) : BorderStyle != ebsNone;
  if (!active || !bordered) {
    if (active)
      FrameButtonRect(ACanvas, ARect, highlight);
    else if (!Transparent)
      FrameButtonRect(ACanvas, ARect, data.BackgroundColor);
    else
      ARect.Inflate(-1, -1);
    AContentRect = ARect;
    return;
  }

  const int pattern = UltraFlatPattern(AViewInfo->ButtonVisibleIndex, static_cast<int>(ButtonsInfo.size()),
                                       ButtonsPosition, UseRightToLeftAlignment);
  const bool atLeft = ARect.Left == BorderRect.Left;
  const bool atRight = ARect.Right == BorderRect.Right;
  TcxBorders lines;
  TRect shrink;  // the content's shrink after the lines: left, top, right, bottom
  int contentLeft = 0, contentRight = 0;
  switch (pattern) {
    case 0: lines = {bRight}; shrink = TRect(1, 1, 0, 1); break;
    case 1:
      if (atLeft) {
        lines = {bRight};
        shrink = TRect(1, 1, 0, 1);
      } else {
        lines = {bLeft, bRight};
        shrink = TRect(0, 1, 0, 1);
      }
      break;
    case 2: lines = {bLeft}; shrink = TRect(0, 1, 1, 1); break;
    case 3: lines = {bLeft, bRight, bBottom}; shrink = TRect(0, 1, 0, 0); break;
    case 4: lines = {bLeft, bTop, bRight}; shrink = TRect(0, 0, 0, 1); break;
    case 5:
    case 6:
      lines = {pattern == 5 ? bBottom : bTop};
      if (atLeft)
        contentLeft = 1;
      else
        lines.Include(bLeft);
      shrink = pattern == 5 ? TRect(0, 1, 1, 0) : TRect(0, 0, 1, 1);
      break;
    default:
      lines = {pattern == 8 ? bBottom : bTop};
      if (atRight)
        contentRight = 1;
      else
        lines.Include(bRight);
      shrink = pattern == 8 ? TRect(1, 1, 0, 0) : TRect(1, 0, 0, 1);
      break;
  }
  DrawEditButtonSides(ACanvas, ARect, lines, highlight);
  AContentRect = TRect(ARect.Left + shrink.Left + contentLeft, ARect.Top + shrink.Top,
                       ARect.Right - shrink.Right - contentRight, ARect.Bottom - shrink.Bottom);
}

void TcxSpinEditViewInfo::DrawHotFlatButtonBorder(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo, TRect& ARect,
                                                  TRect& AContentRect, TColor& APenColor, TColor& ABrushColor) {
  const TcxEditButtonViewInfoData& data = AViewInfo->Data;
  const bool pressed = data.State == ebsPressed, hot = data.State == ebsSelected;
  if (data.Transparent)
    ABrushColor = data.BackgroundColor;
  else
    ABrushColor = pressed ? clBtnText : hot ? clBtnShadow : clBtnFace;
  APenColor = !(pressed || hot) ? clBtnText : data.Transparent && hot ? clBtnShadow : clBtnHighlight;

  const int type = HotFlatType(AViewInfo->ButtonVisibleIndex, static_cast<int>(ButtonsInfo.size()),
                               ButtonsPosition, UseRightToLeftAlignment);
  struct TEdge {
    TcxBorders Shadow, Face;
  };
  TEdge edge;
  switch (type) {
    case 0: case 11: edge = {{bLeft, bTop, bBottom}, {bRight}}; break;
    case 2: case 4: edge = {{bTop, bRight, bBottom}, {bLeft}}; break;
    case 5: edge = {{bRight, bBottom}, {bLeft, bTop}}; break;
    case 7: case 9: edge = {{bLeft, bRight, bBottom}, {bTop}}; break;
    case 10: edge = {{bLeft, bBottom}, {bTop, bRight}}; break;
    default:
      FrameButtonRect(ACanvas, ARect, clBtnShadow);
      AContentRect = ARect;
      return;
  }
  DrawEditButtonSides(ACanvas, ARect, edge.Shadow, clBtnShadow);
  DrawEditButtonSides(ACanvas, ARect, edge.Face, ABrushColor);
  AContentRect = ARect;
}

void TcxSpinEditViewInfo::DrawPainterButton(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo, const TRect& ARect,
                                            const TRect&) {
  const bool down = IsDownButton(AViewInfo->ButtonVisibleIndex);
  const TcxEditBtnKind kind = ButtonsPosition == sbpVert ? (down ? cxbkSpinDownBtn : cxbkSpinUpBtn)
                                                         : (down ? cxbkSpinLeftBtn : cxbkSpinRightBtn);
  Painter->DrawScaledEditorButton(ACanvas, ARect, kind, PainterStateOf(AViewInfo->Data.State), ScaleFactor(),
                                  AViewInfo->Data.LeftAlignment ? cxbpLeft : cxbpRight);
}

void TcxSpinEditViewInfo::DrawButtonContent(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo,
                                            const TRect& AContentRect, TColor APenColor, TColor,
                                            bool ANeedOffsetContent) {
  const TcxEditButtonViewInfoData& data = AViewInfo->Data;
  const int index = AViewInfo->ButtonVisibleIndex;
  const bool down = IsDownButton(index);
  if (UseSkins && Painter) {
    const TcxEditBtnKind kind = ButtonsPosition == sbpVert ? (down ? cxbkSpinDownBtn : cxbkSpinUpBtn)
                                                           : (down ? cxbkSpinLeftBtn : cxbkSpinRightBtn);
    Painter->DrawScaledEditorButtonGlyph(ACanvas, AViewInfo->Bounds, kind, PainterStateOf(data.State), ScaleFactor(),
                                         data.LeftAlignment ? cxbpLeft : cxbpRight);
    return;
  }
  const bool fastButton = index == FastDownIndex || index == FastUpIndex;
  TcxArrowDirection direction = down ? adLeft : adRight;
  if (ButtonsPosition == sbpVert && !fastButton) direction = down ? adDown : adUp;
  const HDC DC = ACanvas->Handle();
  const TSavedDC saved(DC);
  ::IntersectClipRect(DC, AContentRect.Left, AContentRect.Top, AContentRect.Right, AContentRect.Bottom);
  if (data.State == ebsDisabled) {
    TRect shifted = AContentRect;
    shifted.Offset(1, 1);
    DrawEditButtonArrow(ACanvas, ArrowSize, shifted, direction, fastButton, ANeedOffsetContent, clBtnHighlight);
    DrawEditButtonArrow(ACanvas, ArrowSize, AContentRect, direction, fastButton, ANeedOffsetContent, clBtnShadow);
    return;
  }
  TColor color = APenColor;
  if (FOnGetButtonContentColor) FOnGetButtonContentColor(AViewInfo, color);
  DrawEditButtonArrow(ACanvas, ArrowSize, AContentRect, direction, fastButton, ANeedOffsetContent, color);
}
