// The base painter's grid-like views, layout and explorer records, scheduler
// parts, analogue clock, data and date navigators and zoom buttons.
#include "library/core/base/dxCore.h"
#include "library/graphics/canvas/cxCanvasScopes.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters_Internal.h"

#include <algorithm>
#include <cmath>
#include <numbers>

using P = TcxCustomLookAndFeelPainter;

// ---------------------------------------------------------------------------
// Grid-like controls and views

TColor P::GridLikeControlBackgroundColor() { return DefaultContentColor(); }

TColor P::GridLikeControlContentColor() { return DefaultContentColor(); }

TColor P::GridLikeControlContentEvenColor() { return DefaultContentEvenColor(); }

TColor P::GridLikeControlContentOddColor() { return DefaultContentOddColor(); }

TColor P::GridLikeControlContentTextColor() { return DefaultContentTextColor(); }

bool P::GridLikeControlDefaultUseOddEvenStyle() {
  const TColor odd = GridLikeControlContentOddColor();
  return GridLikeControlContentColor() != odd || odd != GridLikeControlContentEvenColor();
}

TColor P::PivotGridHeadersAreaColor() { return DefaultHeaderBackgroundColor(); }

TColor P::PivotGridHeadersAreaTextColor() { return DefaultHeaderBackgroundTextColor(); }

TRect P::LayoutViewGetPadding(TcxLayoutElement) { return TRect(); }

TRect P::LayoutViewGetSpacing(TcxLayoutElement) { return TRect(); }

void P::LayoutViewDrawItem(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState, TcxBorders) {
  switch (AState) {
    case cxbsHot:
      ACanvas->FrameRect(ABounds, clBtnShadow, 1, cxBordersAll(), true);
      ACanvas->FillRect(ABounds, clGradientInactiveCaption);
      break;
    case cxbsPressed:
      ACanvas->FillRect(ABounds, DefaultSelectionColor());
      break;
    case cxbsDisabled:
      ACanvas->FillRect(ABounds, clInactiveCaption);
      break;
    default:
      ACanvas->FillRect(ABounds, DefaultGroupColor());
  }
}

void P::LayoutViewDrawRecordBorder(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                                   TcxBorders ABorders) {
  ACanvas->FrameRect(ABounds, AState == cxbsHot ? DefaultSelectionColor() : clBtnShadow, 1, ABorders, true);
}

void P::LayoutViewDrawRecordCaption(TcxCanvas* ACanvas, const TRect& ABounds, const TRect&,
                                    TcxGroupBoxCaptionPosition, TcxButtonState AState, TColor AColor,
                                    TBitmap* ABitmap) {
  LayoutViewDrawRecordBorder(ACanvas, ABounds, AState, cxBordersAll());
  const TColor color = AColor == clDefault && ABitmap == nullptr ? DefaultLayoutViewCaptionColor(AState) : AColor;
  FillPartBackground(ACanvas, ABounds, ABitmap, color, ABitmap != nullptr);
}

void P::LayoutViewDrawRecordContent(TcxCanvas* ACanvas, const TRect& ABounds, TcxGroupBoxCaptionPosition,
                                    TcxButtonState AState, TcxBorders ABorders) {
  LayoutViewDrawRecordBorder(ACanvas, ABounds, AState, ABorders);
  ACanvas->FillRect(ABounds, DefaultGroupColor());
}

void P::LayoutViewDrawScaledRecordExpandButton(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                                               bool AExpanded, const TdxScaleFactor* AScaleFactor) {
  DrawScaledGroupExpandButton(ACanvas, ABounds, AExpanded, AState, AScaleFactor);
}

int P::LayoutViewRecordCaptionTailSize(TcxGroupBoxCaptionPosition) { return 0; }

bool P::LayoutViewRecordCaptionTextBold() { return false; }

void P::LayoutViewDrawRecordExpandButton(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                                         bool AExpanded) {
  LayoutViewDrawScaledRecordExpandButton(ACanvas, ABounds, AState, AExpanded, SystemScaleFactor());
}

TColor P::WinExplorerViewDefaultRecordColor(TcxButtonState AState) {
  switch (AState) {
    case cxbsHot:
      return clGradientInactiveCaption;
    case cxbsPressed:
      return DefaultSelectionColor();
    case cxbsDisabled:
      return clInactiveCaption;
    default:
      return DefaultContentColor();
  }
}

void P::WinExplorerViewDrawRecord(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState, TColor AColor,
                                  TBitmap* ABitmap) {
  if (AState == cxbsHot || AState == cxbsPressed || AState == cxbsDisabled)
    ACanvas->FrameRect(ABounds, clBtnShadow, 1, cxBordersAll(), true);
  const TColor color =
      AColor == clDefault && ABitmap == nullptr ? WinExplorerViewDefaultRecordColor(AState) : AColor;
  FillPartBackground(ACanvas, ABounds, ABitmap, color, ABitmap != nullptr);
}

void P::WinExplorerViewDrawGroup(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState, TColor AColor,
                                 TBitmap* ABitmap) {
  WinExplorerViewDrawRecord(ACanvas, ABounds, AState, AColor, ABitmap);
}

void P::WinExplorerViewDrawGroupCaptionLine(TcxCanvas* ACanvas, const TRect& ABounds) {
  DrawSeparator(ACanvas, ABounds, false);
}

void P::WinExplorerViewDrawScaledRecordExpandButton(TcxCanvas* ACanvas, const TRect& ABounds,
                                                    TcxButtonState AState, bool AExpanded,
                                                    const TdxScaleFactor* AScaleFactor) {
  DrawScaledGroupExpandButton(ACanvas, ABounds, AExpanded, AState, AScaleFactor);
}

int P::WinExplorerViewScaledExpandButtonSize(const TdxScaleFactor* AScaleFactor) {
  return ScaledGroupExpandButtonSize(AScaleFactor);
}

int P::WinExplorerViewGroupCaptionLineHeight() { return SeparatorSize(); }

TColor P::WinExplorerViewRecordTextColor(TcxButtonState AState) {
  if (AState == cxbsPressed) return DefaultSelectionTextColor();
  if (AState == cxbsDisabled) return DefaultInactiveTextColor();
  return DefaultContentTextColor();
}

TColor P::WinExplorerViewGroupTextColor(TcxButtonState AState) { return WinExplorerViewRecordTextColor(AState); }

bool P::WinExplorerViewGroupTextBold() { return false; }

int P::ChartToolBoxDataLevelInfoBorderSize() { return 1; }

void P::WinExplorerViewDrawRecordExpandButton(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                                              bool AExpanded) {
  WinExplorerViewDrawScaledRecordExpandButton(ACanvas, ABounds, AState, AExpanded, SystemScaleFactor());
}

int P::WinExplorerViewExpandButtonSize() { return WinExplorerViewScaledExpandButtonSize(SystemScaleFactor()); }

// ---------------------------------------------------------------------------
// Scheduler

void P::CalculateSchedulerNavigationButtonRects(bool AIsNextButton, bool ACollapsed, const TSize& APrevButtonTextSize,
                                                const TSize& ANextButtonTextSize, TRect& ABounds, TRect& ATextRect,
                                                TRect& AArrowRect, const TdxScaleFactor* AScaleFactor,
                                                bool AIsVertical) {
  TRect borders;
  TSize arrow;
  bool hasTextArea = true;
  SchedulerNavigationButtonSizes(AIsNextButton, borders, arrow, hasTextArea, AScaleFactor, AIsVertical);
  const int textLength = std::max(APrevButtonTextSize.cx, ANextButtonTextSize.cx);
  const int gap = AScaleFactor->Apply(5);
  const TRect content(ABounds.Left + borders.Left, ABounds.Top + borders.Top, ABounds.Right - borders.Right,
                      ABounds.Bottom - borders.Bottom);
  ATextRect = TRect();
  if (AIsVertical) {
    const int extent = 3 * arrow.cy;
    if (ACollapsed || !hasTextArea) {
      const int height = extent + borders.Top + borders.Bottom;
      ABounds.Top = (ABounds.Top + ABounds.Bottom - height) / 2;
      ABounds.Bottom = ABounds.Top + height;
      AArrowRect = CenteredIn(ABounds, arrow);
      return;
    }
    AArrowRect = CenteredIn(TRect(content.Left, content.Top, content.Right, content.Top + extent), arrow);
    ATextRect = TRect(content.Left, content.Top + extent + gap, content.Right, content.Bottom - 2 * arrow.cy);
    const int d = textLength - ATextRect.Height();
    if (d > 0) {
      ATextRect.Top -= d;
      ATextRect.Bottom += d;
      ABounds.Top -= d;
      ABounds.Bottom += d;
      AArrowRect.Offset(0, -d);
    }
    return;
  }
  const int extent = 3 * arrow.cx;
  if (ACollapsed || !hasTextArea) {
    const int width = extent + borders.Left + borders.Right;
    ABounds.Left = (ABounds.Left + ABounds.Right - width) / 2;
    ABounds.Right = ABounds.Left + width;
    AArrowRect = CenteredIn(ABounds, arrow);
    return;
  }
  AArrowRect = CenteredIn(TRect(content.Right - extent, content.Top, content.Right, content.Bottom), arrow);
  ATextRect = TRect(content.Left + 2 * arrow.cx, content.Top, content.Right - extent - gap, content.Bottom);
  const int d = textLength - ATextRect.Width();
  if (d > 0) {
    ATextRect.Left -= d;
    ATextRect.Right += d;
    ABounds.Left -= d;
    ABounds.Right += d;
    AArrowRect.Offset(d, 0);
  }
}

void P::DrawSchedulerBorder(TcxCanvas* ACanvas, const TRect& R) { DrawBorder(ACanvas, R); }

void P::DrawSchedulerScaledEventProgress(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& AProgress,
                                         const TcxViewParams& AViewParams, bool ATransparent,
                                         const TdxScaleFactor*) {
  constexpr TColor frame = TColor(0x808080);
  if (!ATransparent) ACanvas->FillRect(ABounds, AViewParams);
  ACanvas->FrameRect(ABounds, frame);
  ACanvas->FillRect(AProgress, TColor(0x800000));
}

void P::DrawSchedulerGroup(TcxCanvas* ACanvas, const TRect& R, TColor AColor) {
  const int left = R.Left, top = R.Top + 2, right = R.Right - 1, bottom = R.Bottom - 2;
  const int h = (bottom - top) / 2;
  const TPoint points[] = {{left, top},  {right, top},         {right, bottom}, {right - h, bottom - h},
                           {left + h, bottom - h}, {left, bottom}};
  ACanvas->Polygon(points, AColor, clBlack);
}

void P::DrawSchedulerScaledGroupSeparator(TcxCanvas* ACanvas, const TRect& ABounds, TColor ABackgroundColor,
                                          const TdxScaleFactor* AScaleFactor,
                                          const TcxDrawBackgroundEvent& AOnDrawBackground) {
  DrawScaledHeader(ACanvas, ABounds, ABounds, {nLeft, nRight}, cxBordersAll(), cxbsNormal, taLeftJustify, vaCenter,
                   false, false, String(), nullptr, clNone, ABackgroundColor, AScaleFactor, AOnDrawBackground);
}

void P::DrawSchedulerMilestone(TcxCanvas* ACanvas, const TRect& R) {
  ACanvas->Polygon(MilestoneDiamond(R), TColor(0x808080), clBlack);
}

void P::DrawSchedulerNavigationButton(TcxCanvas* ACanvas, const TRect& ARect, bool AIsNextButton,
                                      TcxButtonState AState, const String& AText, const TRect& ATextRect,
                                      const TRect& AArrowRect, bool AIsVertical) {
  DrawSchedulerNavigationButtonContent(ACanvas, ARect, AArrowRect, AIsNextButton, AState, AIsVertical);
  if (ATextRect.IsEmpty() || SchedulerNavigationButtonTextColor(AIsNextButton, AState, clDefault) == clNone) return;
  const TColor color = SchedulerNavigationButtonTextColor(AIsNextButton, AState, ACanvas->Font()->Color());
  DrawRotatedText(ACanvas, AText, ATextRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE, color,
                  AIsVertical ? raPlus90 : ra0);
}

void P::DrawSchedulerNavigationButtonArrow(TcxCanvas* ACanvas, const TRect& ARect, bool AIsNextButton,
                                           TColor AColor, bool AForVertical) {
  const TcxCanvasStateScope state(ACanvas);
  // A rectangle longer across than along would walk the bars past the tip.
  const TcxClipRegionScope clip(ACanvas, ARect);
  ACanvas->SetBrushColor(AColor);
  // Two bars walk from the corners of the side away from the tip toward
  // the tip, meeting in the middle; the tip's own line closes the chevron.
  if (AForVertical) {
    const int steps = (ARect.Height() + 1) / 2;
    const int direction = AIsNextButton ? 1 : -1;
    int x = AIsNextButton ? ARect.Left : ARect.Right - 2;
    int upper = ARect.Top, lower = ARect.Bottom - 1;
    for (int i = 0; i < steps; ++i, x += direction, ++upper, --lower) {
      ACanvas->FillRect(TRect(x, upper, x + 2, upper + 1));
      ACanvas->FillRect(TRect(x, lower, x + 2, lower + 1));
    }
    const int tip = AIsNextButton ? ARect.Right - 1 : ARect.Left;
    ACanvas->FillRect(TRect(tip, ARect.Top, tip + 1, ARect.Bottom));
    return;
  }
  const int steps = (ARect.Width() + 1) / 2;
  const int direction = AIsNextButton ? 1 : -1;
  int y = AIsNextButton ? ARect.Top : ARect.Bottom - 2;
  int first = ARect.Left, last = ARect.Right - 1;
  for (int i = 0; i < steps; ++i, y += direction, ++first, --last) {
    ACanvas->FillRect(TRect(first, y, first + 1, y + 2));
    ACanvas->FillRect(TRect(last, y, last + 1, y + 2));
  }
  const int tip = AIsNextButton ? ARect.Bottom - 1 : ARect.Top;
  ACanvas->FillRect(TRect(ARect.Left, tip, ARect.Right, tip + 1));
}

void P::DrawSchedulerNavigationButtonContent(TcxCanvas* ACanvas, const TRect& ARect, const TRect& AArrowRect,
                                             bool AIsNextButton, TcxButtonState AState, bool AIsVertical) {
  const TcxBorders sides = SchedulerNavigationButtonFrameSides(AIsNextButton, AIsVertical);
  ACanvas->FillRect(ARect, clBtnFace);
  ACanvas->FrameRect(ARect, clBtnShadow, 1, sides);
  TRect r = ARect;
  if (AIsNextButton) {
    r.Top += 1;
    r.Bottom -= 1;
    if (AIsVertical)
      r.Left += 1;
    else
      r.Right -= 1;
  } else {
    r.Left += 1;
    r.Right -= 1;
    if (AIsVertical)
      r.Top += 1;
    else
      r.Bottom -= 1;
  }
  const bool pressed = AState == cxbsPressed;
  const TColor light = pressed ? clBtnShadow : clBtnHighlight;
  const TColor dark = pressed ? clBtnHighlight : clBtnFace;
  ACanvas->FrameRect(r, light, 1, sides * TcxBorders{bLeft, bTop});
  ACanvas->FrameRect(r, dark, 1, sides * TcxBorders{bRight, bBottom});
  DrawSchedulerNavigationButtonArrow(ACanvas, AArrowRect, AIsNextButton, ButtonSymbolColor(AState, clDefault),
                                     AIsVertical);
}

void P::DrawSchedulerScaledNavigatorButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                           const TdxScaleFactor* AScaleFactor) {
  DrawScaledButton(ACanvas, R, AState, AScaleFactor, cxbpButton, clDefault);
}

void P::DrawSchedulerSplitterBorder(TcxCanvas*, const TRect&, const TcxViewParams&, bool) {}

void P::DrawSchedulerTaskExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                                      const TdxScaleFactor* AScaleFactor) {
  DrawScaledExpandButton(ACanvas, R, AExpanded, AScaleFactor, clDefault, cebsNormal);
}

TRect P::SchedulerEventProgressOffsets() { return TRect(2, 2, 2, 2); }

TColor P::SchedulerNavigationButtonTextColor(bool, TcxButtonState AState, TColor ADefaultColor) {
  return ButtonSymbolColor(AState, ADefaultColor);
}

void P::SchedulerNavigationButtonSizes(bool AIsNextButton, TRect& ABorders, TSize& AArrowSize, bool& AHasTextArea,
                                       const TdxScaleFactor* AScaleFactor, bool AIsVertical) {
  if (AIsVertical)
    ABorders = AIsNextButton ? TRect(2, 6, 0, 6) : TRect(0, 6, 2, 6);
  else
    ABorders = AIsNextButton ? TRect(6, 2, 6, 0) : TRect(6, 0, 6, 2);
  AArrowSize = AScaleFactor->Apply(TSize(7, 7));
  AHasTextArea = true;
}

TSize P::SchedulerTaskExpandButtonSize(const TdxScaleFactor* AScaleFactor) {
  const int side = ScaledExpandButtonSize(AScaleFactor);
  return TSize(side, side);
}

void P::DrawScaledMonthHeader(TcxCanvas* ACanvas, const TRect& ABounds, const String& AText,
                              TcxNeighbors ANeighbors, const TcxViewParams& AViewParams, TcxArrowDirections AArrows,
                              int ASideWidth, const TdxScaleFactor* AScaleFactor,
                              const TcxDrawBackgroundEvent& AOnDrawBackground) {
  DrawScaledHeader(ACanvas, ABounds, ABounds, ANeighbors, HeaderBorders(ANeighbors), cxbsNormal, taCenter, vaCenter,
                   false, false, AText, AViewParams.Font, AViewParams.TextColor, AViewParams.Color, AScaleFactor,
                   AOnDrawBackground);
  DrawMonthHeaderArrows(ACanvas, ABounds, AArrows, ASideWidth, clWindowText);
}

void P::DrawMonthHeader(TcxCanvas* ACanvas, const TRect& ABounds, const String& AText, TcxNeighbors ANeighbors,
                        const TcxViewParams& AViewParams, TcxArrowDirections AArrows, int ASideWidth,
                        const TcxDrawBackgroundEvent& AOnDrawBackground) {
  DrawScaledMonthHeader(ACanvas, ABounds, AText, ANeighbors, AViewParams, AArrows, ASideWidth, SystemScaleFactor(),
                        AOnDrawBackground);
}

void P::DrawSchedulerEventProgress(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& AProgress,
                                   const TcxViewParams& AViewParams, bool ATransparent) {
  DrawSchedulerScaledEventProgress(ACanvas, ABounds, AProgress, AViewParams, ATransparent, SystemScaleFactor());
}

void P::DrawSchedulerGroupSeparator(TcxCanvas* ACanvas, const TRect& ABounds, TColor ABackgroundColor,
                                    const TcxDrawBackgroundEvent& AOnDrawBackground) {
  DrawSchedulerScaledGroupSeparator(ACanvas, ABounds, ABackgroundColor, SystemScaleFactor(), AOnDrawBackground);
}

void P::DrawSchedulerNavigatorButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) {
  DrawSchedulerScaledNavigatorButton(ACanvas, R, AState, SystemScaleFactor());
}

// ---------------------------------------------------------------------------
// The analogue clock

TSize P::ScaledClockSize(const TdxScaleFactor* AScaleFactor) { return AScaleFactor->Apply(TSize(130, 130)); }

void P::DrawScaledClock(TcxCanvas* ACanvas, const TRect& ARect, TDateTime ADateTime, TColor ABackgroundColor,
                        const TdxScaleFactor* AScaleFactor) {
  int hours = 0, minutes = 0, seconds = 0, milliseconds = 0;
  DecodeTime(ADateTime, hours, minutes, seconds, milliseconds);
  const int cx = (ARect.Left + ARect.Right) / 2;
  const int cy = (ARect.Top + ARect.Bottom) / 2;
  const double rx = ARect.Width() / 2.0 - 2;
  const double ry = ARect.Height() / 2.0 - 2;
  // Angles run clockwise from three o'clock (y grows downwards); points
  // round halves to even (the default rounding mode).
  const auto at = [&](double AAngle, double AFactor) {
    return TPoint(cx + static_cast<int>(std::nearbyint(AFactor * rx * std::cos(AAngle))),
                  cy + static_cast<int>(std::nearbyint(AFactor * ry * std::sin(AAngle))));
  };
  constexpr double turn = 2 * std::numbers::pi;
  const int markSize = AScaleFactor->Apply(2);
  for (int i = 0; i < 60; i += 5) {
    const TPoint p = at(i * turn / 60, 1);
    TRect mark(p.X - markSize / 2, p.Y - markSize / 2, p.X - markSize / 2 + markSize,
               p.Y - markSize / 2 + markSize);
    ACanvas->FillRect(mark, TColor(0xFFFF00));
    ACanvas->ExcludeClipRect(mark);
    mark.Offset(1, 1);
    ACanvas->FillRect(mark, clBtnText);
    ACanvas->ExcludeClipRect(mark);
  }
  ACanvas->FillRect(ARect, ABackgroundColor);

  const TcxCanvasStateScope state(ACanvas);
  constexpr TColor handColor = TColor(0x808000);
  const auto hand = [&](double AAngle, double ALength, double ATail, double AWidth) {
    const double half = AWidth / 2;
    const TPoint tip = at(AAngle, ALength);
    const TPoint tail = at(AAngle + std::numbers::pi, ATail);
    const TPoint side1(cx + static_cast<int>(std::nearbyint(-half * std::sin(AAngle))),
                       cy + static_cast<int>(std::nearbyint(half * std::cos(AAngle))));
    const TPoint side2(cx + static_cast<int>(std::nearbyint(half * std::sin(AAngle))),
                       cy + static_cast<int>(std::nearbyint(-half * std::cos(AAngle))));
    ACanvas->Pen()->SetColor(handColor);
    ACanvas->SetBrushColor(handColor);
    ACanvas->BeginPath();
    ACanvas->MoveTo(tip.X, tip.Y);
    ACanvas->LineTo(side1.X, side1.Y);
    ACanvas->LineTo(tail.X, tail.Y);
    ACanvas->LineTo(side2.X, side2.Y);
    ACanvas->LineTo(tip.X, tip.Y);
    ACanvas->EndPath();
    StrokeAndFillPath(ACanvas->Handle());
    ACanvas->SetPixel(tip.X, tip.Y, handColor);
  };
  const double hourAngle = ((hours % 12) * 3600 + minutes * 60 + seconds - 3 * 3600) * turn / (12 * 3600);
  const double minuteAngle = (minutes * 60 + seconds - 15 * 60) * turn / 3600;
  hand(hourAngle, 0.75, 0.15, 9);
  hand(minuteAngle, 0.85, 0.2, 7);
  const TPoint second = at((seconds - 15) * turn / 60, 0.9);
  ACanvas->Pen()->SetColor(TColor(0x0000FF));
  ACanvas->MoveTo(cx, cy);
  ACanvas->LineTo(second.X, second.Y);
}

TSize P::ClockSize() { return ScaledClockSize(SystemScaleFactor()); }

void P::DrawClock(TcxCanvas* ACanvas, const TRect& ARect, TDateTime ADateTime, TColor ABackgroundColor) {
  DrawScaledClock(ACanvas, ARect, ADateTime, ABackgroundColor, SystemScaleFactor());
}

// ---------------------------------------------------------------------------
// The data navigator

void P::DrawNavigatorBorder(TcxCanvas*, const TRect&, bool) {}

void P::DrawNavigatorScaledButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, TColor,
                                  const TdxScaleFactor* AScaleFactor) {
  DrawScaledButton(ACanvas, R, AState, AScaleFactor, cxbpButton, clDefault);
}

void P::DrawNavigatorInfoPanel(TcxCanvas* ACanvas, const TRect& R, const TcxViewParams& AViewParams) {
  if (IsColorValid(AViewParams.Color) || AViewParams.Bitmap != nullptr)
    ACanvas->FillRect(R, AViewParams);
  else
    ACanvas->FillRect(R, DefaultGridDetailsSiteColor());
}

bool P::NavigatorBorderOverlap() { return false; }

int P::NavigatorBorderSize() { return 0; }

IPtr<IdxColorPalette> P::NavigatorButtonColorPalette(bool) { return nullptr; }

TRect P::NavigatorScaledButtonGlyphPadding(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TRect(3, 4, 3, 4));
}

TSize P::NavigatorScaledButtonGlyphSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TSize(11, 11));
}

TPoint P::NavigatorButtonPressedGlyphOffset() { return TPoint(0, 0); }

TColor P::NavigatorButtonTextColor(TcxButtonState) { return clBtnText; }

TSize P::NavigatorScaledButtonMinSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TSize(17, 19));
}

TRect P::NavigatorInfoPanelContentOffsets() { return TRect(); }

TColor P::NavigatorInfoPanelTextColor() { return DefaultContentTextColor(); }

void P::DrawNavigatorButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, TColor ABackgroundColor) {
  DrawNavigatorScaledButton(ACanvas, R, AState, ABackgroundColor, SystemScaleFactor());
}

TRect P::NavigatorButtonGlyphPadding() { return NavigatorScaledButtonGlyphPadding(SystemScaleFactor()); }

TSize P::NavigatorButtonGlyphSize() { return NavigatorScaledButtonGlyphSize(SystemScaleFactor()); }

TSize P::NavigatorButtonMinSize() { return NavigatorScaledButtonMinSize(SystemScaleFactor()); }

// ---------------------------------------------------------------------------
// The date navigator

void P::DrawDateNavigatorCellSelection(TcxCanvas* ACanvas, const TRect& R, TColor AColor) {
  ACanvas->FillRect(R, AColor);
}

void P::DrawDateNavigatorDateHeader(TcxCanvas* ACanvas, TRect& R) {
  ACanvas->FillRect(R, DefaultDateNavigatorHeaderColor());
  ACanvas->FrameRect(R, clBtnHighlight, 1, {bLeft, bTop});
  ACanvas->FrameRect(R, clBtnShadow, 1, {bRight, bBottom});
  R.Deflate(1);
}

void P::DrawDateNavigatorTodayCellSelection(TcxCanvas* ACanvas, const TRect& R) {
  ACanvas->FrameRect(R, DefaultDateNavigatorTodayFrameColor());
}

void P::DrawCalendarDateCellSelection(TcxCanvas* ACanvas, const TRect& ARect, TcxCalendarElementStates AStates) {
  if (AStates.Contains(cesMarked)) DrawDateNavigatorTodayCellSelection(ACanvas, ARect);
}

// ---------------------------------------------------------------------------
// Zoom buttons

void P::DrawScaledZoomOutButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                const TdxScaleFactor* AScaleFactor) {
  DrawButtonBorder(ACanvas, R, AState);
  TRect face = R;
  face.Deflate(1);
  ACanvas->FillRect(face, ButtonColor(AState));
  const TcxCanvasStateScope state(ACanvas);
  ACanvas->Pen()->SetColor(AState == cxbsDisabled ? clBtnShadow : ButtonSymbolColor(AState, clDefault));
  const int y = (R.Top + R.Bottom) / 2;
  ACanvas->MoveTo(R.Left + AScaleFactor->Apply(3), y);
  ACanvas->LineTo(R.Right - AScaleFactor->Apply(3), y);
}

void P::DrawScaledZoomInButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                               const TdxScaleFactor* AScaleFactor) {
  DrawScaledZoomOutButton(ACanvas, R, AState, AScaleFactor);
  const TcxCanvasStateScope state(ACanvas);
  ACanvas->Pen()->SetColor(AState == cxbsDisabled ? clBtnShadow : ButtonSymbolColor(AState, clDefault));
  const int x = (R.Left + R.Right) / 2;
  ACanvas->MoveTo(x, R.Top + AScaleFactor->Apply(3));
  ACanvas->LineTo(x, R.Bottom - AScaleFactor->Apply(3));
}

TSize P::GetScaledZoomInButtonSize(const TdxScaleFactor* AScaleFactor) { return AScaleFactor->Apply(TSize(15, 15)); }

TSize P::GetScaledZoomOutButtonSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TSize(15, 15));
}

void P::DrawZoomInButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) {
  DrawScaledZoomInButton(ACanvas, R, AState, SystemScaleFactor());
}

void P::DrawZoomOutButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) {
  DrawScaledZoomOutButton(ACanvas, R, AState, SystemScaleFactor());
}

TSize P::GetZoomInButtonSize() { return GetScaledZoomInButtonSize(SystemScaleFactor()); }

TSize P::GetZoomOutButtonSize() { return GetScaledZoomOutButtonSize(SystemScaleFactor()); }

// ---------------------------------------------------------------------------
// Data-row layouts

TColor P::DefaultDataRowLayoutContentTextColor(TcxButtonState AState) {
  return DefaultLayoutViewContentTextColor(AState);
}

void P::DrawDataRowLayoutItem(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState) {
  LayoutViewDrawItem(ACanvas, ABounds, AState, TcxBorders());
}

void P::DrawDataRowLayoutContent(TcxCanvas* ACanvas, const TRect& ABounds) {
  const TcxClipRegionScope clip(ACanvas, ABounds);
  DrawDataRowLayoutBackground(ACanvas, TRect(ABounds).DeflateByMargins(DataRowLayoutContentOffsets()));
}

void P::DrawDataRowLayoutSelection(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState) {
  const TcxClipRegionScope clip(ACanvas, ABounds);
  DrawDataRowLayoutItem(ACanvas, TRect(ABounds).DeflateByMargins(DataRowLayoutSelectionBorders(AState)), AState);
}

void P::DrawDataRowLayoutBackground(TcxCanvas* ACanvas, const TRect& R) {
  ACanvas->FillRect(R, DataRowLayoutContentColor());
}

TColor P::DataRowLayoutContentColor() { return DefaultContentColor(); }

TRect P::DataRowLayoutContentOffsets() { return TRect(); }

TRect P::DataRowLayoutSelectionBorders(TcxButtonState AState) {
  return AState == cxbsHot ? TRect(1, 1, 1, 1) : TRect();
}

// ---------------------------------------------------------------------------
// The scheduler's day header and the navigator's button glyph

void P::DrawSchedulerDayHeader(TcxCanvas* ACanvas, const TRect& ABounds, const TRect&, TcxNeighbors, TcxBorders,
                               TcxButtonState, TAlignment, TcxAlignmentVert, bool, bool, const String&, TFont*,
                               TColor, TColor, const TdxScaleFactor*,
                               const TcxDrawBackgroundEvent& AOnDrawBackground) {
  if (AOnDrawBackground) AOnDrawBackground(ACanvas, ABounds);
}

void P::DrawNavigatorScaledButtonGlyph(TcxCanvas* ACanvas, TCustomImageList* AImageList, int AImageIndex,
                                       const TRect& AGlyphRect, bool AEnabled, bool, const TdxScaleFactor*) {
  const IPtr<IdxColorPalette> palette = NavigatorButtonColorPalette(AEnabled);
  DrawImageThroughBuffer(ACanvas->Handle(), AGlyphRect, nullptr, AImageList, AImageIndex,
                         AEnabled ? idmNormal : idmDisabled, true, nullptr, clNone, false, palette.Get());
}

void P::DrawNavigatorButtonGlyph(TcxCanvas* ACanvas, TCustomImageList* AImageList, int AImageIndex,
                                 const TRect& AGlyphRect, bool AEnabled, bool AUserGlyphs) {
  DrawNavigatorScaledButtonGlyph(ACanvas, AImageList, AImageIndex, AGlyphRect, AEnabled, AUserGlyphs,
                                 SystemScaleFactor());
}
