// The Office11 painter: the UltraFlat painter recoloured with the Office11
// colour set.
#include "library/lookandfeel/painters/cxLookAndFeelPainters_Internal.h"

#include "library/core/system/dxThemeManager.h"
#include "library/graphics/canvas/cxGraphics.h"
#include "library/lookandfeel/painters/dxOffice11.h"
#include "platform/ui/GdiScopes.h"

using P = TcxOffice11LookAndFeelPainter;

namespace {

TColor Color(TdxOffice11Color AColor) { return Office11Color(AColor); }

// The Native painter, which draws some parts for this one while it is
// registered (nil otherwise).
TcxCustomLookAndFeelPainter* NativePainter() {
  TcxLookAndFeelPaintersManager* manager = GetPaintersManager();
  return manager ? manager->GetPainter(lfsNative) : nullptr;
}

void FillBentGradient(TcxCustomCanvas* ACanvas, const TRect& R, TColor AColor1, TColor AColor2, bool AHorizontal) {
  ACanvas->DrawNativeObject(R, TcxCanvasBasedResourceCacheKey(), [&](TcxCanvas* ACanvas, const TRect& ARect) {
    Office11FillBentGradient(ACanvas->Handle(), ARect, AColor1, AHorizontal, AColor2);
  });
}

}  // namespace

// ---------------------------------------------------------------------------
// Painter information

String P::LookAndFeelName() { return L"Office11"; }

TcxLookAndFeelStyle P::LookAndFeelStyle() { return lfsOffice11; }

bool P::NeedRedrawOnResize() { return true; }

// ---------------------------------------------------------------------------
// Default colours

TColor P::DefaultControlColor() { return Color(Office11ControlColor); }
TColor P::DefaultControlTextColor() { return Color(Office11TextColor); }
TColor P::DefaultDateNavigatorHeaderColor() { return Color(Office11BackgroundColor); }
TColor P::DefaultDateNavigatorSelectionColor() { return Color(Office11DateNavigatorSelectionColor); }
TColor P::DefaultDateNavigatorSelectionTextColor() { return clWindowText; }
TColor P::DefaultFilterBoxColor() { return Color(Office11FilterBoxColor); }
TColor P::DefaultFilterBoxTextColor() { return Office11FilterBoxTextColor(); }
TColor P::DefaultFooterColor() { return Color(Office11BackgroundColor); }
TColor P::DefaultFooterTextColor() { return DefaultHeaderTextColor(); }
TColor P::DefaultGroupColor() { return Color(Office11GroupColor); }
TColor P::DefaultGroupByBoxColor() { return Office11GroupByBoxColor(); }
TColor P::DefaultGroupByBoxTextColor() { return Color(Office11GradientLightColor); }
TColor P::DefaultHeaderColor() { return HeaderTopColor(); }
TColor P::DefaultHeaderBackgroundColor() { return DefaultGroupByBoxColor(); }
TColor P::DefaultSchedulerBorderColor() { return Color(Office11SchedulerBorderColor); }
TColor P::DefaultSchedulerControlColor() { return Color(Office11SchedulerControlColor); }
TColor P::DefaultSchedulerDayHeaderColor() { return DefaultHeaderColor(); }
TColor P::DefaultTabColor() { return Color(Office11ControlColor); }
TColor P::DefaultTabsBackgroundColor() { return Color(Office11ControlColor); }
TColor P::DefaultTimeGridMinorScaleColor() { return Color(Office11BackgroundColor); }
TColor P::DefaultTimeGridSelectionBarColor() { return DefaultSchedulerControlColor(); }

TColor P::HighlightedArrowColor() { return clHighlightText; }

std::uint8_t P::FixedColumnHighlightAlpha() { return 30; }

// ---------------------------------------------------------------------------
// Header colours

TColor P::HeaderBottomColor() { return Color(Office11GradientDarkColor); }
TColor P::HeaderDarkEdgeColor() { return Color(Office11SeparatorDarkColor); }
TColor P::HeaderLightEdgeColor() { return Color(Office11SeparatorLightColor); }
TColor P::HeaderTopColor() {
  return BlendColors(Color(Office11GradientLightColor), Color(Office11GradientDarkColor), 50);
}

// ---------------------------------------------------------------------------
// Borders, separators and buttons

int P::SeparatorSize() { return 2; }

void P::DrawBorder(TcxCustomCanvas* ACanvas, const TRect& R) { ACanvas->FrameRect(R, Color(Office11FrameColor)); }

void P::DoDrawSeparator(TcxCustomCanvas* ACanvas, const TRect& R, bool) {
  TRect line(R.Left, R.Top, R.Right - 1, R.Bottom - 1);
  ACanvas->FillRect(line, Color(Office11SeparatorDarkColor));
  line.Offset(1, 1);
  ACanvas->FillRect(line, Color(Office11SeparatorLightColor));
}

TColor P::ButtonColor(TcxButtonState AState) {
  switch (AState) {
    case cxbsHot: return Color(Office11HotColor);
    case cxbsPressed: return Color(Office11PressedColor);
    case cxbsDisabled: return clBtnFace;
    default: return Color(Office11BackgroundColor);
  }
}

TColor P::ButtonSymbolColor(TcxButtonState AState, TColor, TcxButtonPart) {
  // Without a scheme the pressed face is a dark highlight blend.
  if (AState == cxbsPressed && !IsOffice11Themed()) return clHighlightText;
  return Color(AState == cxbsDisabled ? Office11DisabledTextColor : Office11TextColor);
}

void P::DrawButtonBorder(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState) {
  switch (AState) {
    case cxbsDefault: inherited::DrawButtonBorder(ACanvas, R, AState); break;
    case cxbsNormal: ACanvas->FrameRect(R, clBtnText); break;
    case cxbsDisabled: ACanvas->FrameRect(R, Color(Office11DisabledTextColor)); break;
    case cxbsHot:
    case cxbsPressed:
      ACanvas->FrameRect(R, Color(Office11HighlightBorderColor));
      break;
  }
}

TColor P::ButtonFrameColor(TcxButtonState AState) {
  return AState == cxbsNormal ? HeaderDarkEdgeColor() : Color(Office11HighlightBorderColor);
}

void P::DrawBreadcrumbButtonFrame(TcxCustomCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                                  TdxBreadcrumbEditButtonState AState) {
  if (R.IsEmpty()) return;
  switch (AState) {
    case dxbcbsFocused: FillBentGradient(ACanvas, R, Color(Office11HotColor), Color(Office11HotColor), false); break;
    case dxbcbsHot: FillBentGradient(ACanvas, R, Color(Office11HotColor), Color(Office11HotColor2), false); break;
    case dxbcbsPressed:
      FillBentGradient(ACanvas, R, Color(Office11PressedDarkColor), Color(Office11HotColor), false);
      break;
    default: FillBentGradient(ACanvas, R, HeaderTopColor(), HeaderTopColor(), false); break;
  }
  ACanvas->FrameRect(R, Color(Office11FrameColor), 1, ABorders);
}

TColor P::TabBorderColor() { return HeaderDarkEdgeColor(); }

TColor P::BorderHighlightColor() { return Color(Office11HighlightBorderColor); }

// ---------------------------------------------------------------------------
// Group boxes, panels and drop-down lists

void P::DrawGroupBoxFrame(TcxCanvas* ACanvas, const TRect& R, bool AEnabled,
                          TcxGroupBoxCaptionPosition ACaptionPosition, TcxBorders ABorders) {
  TcxCustomLookAndFeelPainter* native = NativePainter();
  if (native && AreVisualStylesAvailable(TdxThemedObjectTypes{totButton}))
    native->DrawGroupBoxFrame(ACanvas, R, AEnabled, ACaptionPosition, ABorders);
  else
    inherited::DrawGroupBoxFrame(ACanvas, R, AEnabled, ACaptionPosition, ABorders);
}

TColor P::GroupBoxTextColor(bool AEnabled, TcxGroupBoxCaptionPosition ACaptionPosition) {
  TcxCustomLookAndFeelPainter* native = NativePainter();
  if (native && AreVisualStylesAvailable(TdxThemedObjectTypes{totButton}))
    return native->GroupBoxTextColor(AEnabled, ACaptionPosition);
  return TcxCustomLookAndFeelPainter::GroupBoxTextColor(AEnabled, ACaptionPosition);
}

void P::DrawPanelBackground(TcxCanvas* ACanvas, TWinControl* AControl, const TRect& ABounds, TColor AColorFrom,
                            TColor AColorTo) {
  if (AColorFrom == clDefault)
    DrawParentBackground(AControl, ACanvas, ABounds, false);
  else if (AColorTo == clDefault)
    ACanvas->FillRect(ABounds, AColorFrom);
  else
    FillGradientRect(ACanvas->Handle(), ABounds, AColorFrom, AColorTo, false);
}

void P::DrawDropDownListBoxBackground(TcxCanvas* ACanvas, const TRect& R, bool AHasBorders) {
  TRect r = R;
  if (AHasBorders) {
    ACanvas->FrameRect(r, Color(Office11FrameColor));
    r.Deflate(1);
    ACanvas->FrameRect(r, Color(Office11DropDownBackgroundColor));
    r.Deflate(1);
  }
  ACanvas->FillRect(r, Color(Office11DropDownBackgroundColor));
}

void P::DrawDropDownListBoxScaledGutterBackground(TcxCanvas* ACanvas, const TRect& R, const TdxScaleFactor*) {
  FillBentGradient(ACanvas, R, Color(Office11GradientLightColor), Color(Office11GradientDarkColor), true);
}

void P::DrawDropDownListBoxScaledSelection(TcxCanvas* ACanvas, const TRect& R, const TRect&, const TdxScaleFactor*) {
  ACanvas->FillRect(R, Color(Office11HotColor));
  // On a black face the highlight border would not show.
  const bool blackFace = ColorToRGB(clBtnFace) == clBlack;
  ACanvas->FrameRect(R, blackFace ? clHighlightText : Color(Office11HighlightBorderColor));
}

void P::DrawDropDownListBoxScaledSeparator(TcxCanvas* ACanvas, const TRect& R, const TRect& AGutterRect,
                                           const TdxScaleFactor* AScaleFactor) {
  const int top = R.Top + (R.Height() - 1) / 2;
  ACanvas->FillRect(TRect(AGutterRect.Right + AScaleFactor->Apply(8), top, R.Right, top + 1),
                    Color(Office11SeparatorDarkColor));
}

// ---------------------------------------------------------------------------
// Expand buttons, check boxes and radio buttons

bool P::DrawExpandButtonFirst() { return false; }

void P::DrawScaledExpandButton(TcxCustomCanvas* ACanvas, const TRect& R, bool AExpanded,
                               const TdxScaleFactor* AScaleFactor, TColor AColor, TcxExpandButtonState AState) {
  const HBITMAP bitmap = Office11ExpandButtonBitmap(AExpanded);
  BITMAP picture{};
  if (!bitmap || !GetObjectW(bitmap, sizeof(picture), &picture)) {
    inherited::DrawScaledExpandButton(ACanvas, R, AExpanded, AScaleFactor, AColor, AState);
    return;
  }
  const TSize size = AScaleFactor->Apply(TSize(picture.bmWidth, picture.bmHeight));
  const TPoint origin(R.Left + (R.Width() - size.cx) / 2, R.Top + (R.Height() - size.cy) / 2);
  const TRect target(origin.X, origin.Y, origin.X + size.cx, origin.Y + size.cy);
  // Keyed by the bitmap: a new colour set makes new bitmaps.
  ACanvas->DrawNativeObject(
      target, TcxCanvasBasedResourceCacheKey::Create(bitmap, size, AExpanded, 0, AScaleFactor->Apply(96)),
      [&](TcxCanvas* ACanvas, const TRect& ARect) {
        const TBitmapDC source(bitmap);
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        ::AlphaBlend(ACanvas->Handle(), ARect.Left, ARect.Top, ARect.Width(), ARect.Height(), source.DC(), 0, 0,
                     picture.bmWidth, picture.bmHeight, blend);
      });
}

void P::DrawScaledSmallExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor,
                                    const TdxScaleFactor* AScaleFactor, TColor) {
  DrawScaledExpandButton(static_cast<TcxCustomCanvas*>(ACanvas), R, AExpanded, AScaleFactor);
}

int P::ScaledSmallExpandButtonSize(const TdxScaleFactor* AScaleFactor) { return AScaleFactor->Apply(11); }

TColor P::CheckButtonColor(TcxButtonState AState, TcxCheckBoxState ACheckState) {
  if (AState == cxbsHot || AState == cxbsPressed || AState == cxbsDisabled) return ButtonColor(AState);
  return TcxCustomLookAndFeelPainter::CheckButtonColor(AState, ACheckState);
}

TColor P::RadioButtonBodyColor(TcxButtonState AState) {
  return AState == cxbsNormal ? clWindow : ButtonColor(AState);
}

// ---------------------------------------------------------------------------
// Bevels and tokens

void P::GetBevelShapeColors(TColor& AColor1, TColor& AColor2) {
  AColor1 = Color(Office11SeparatorDarkColor);
  AColor2 = Color(Office11SeparatorLightColor);
}

TSize P::GetBevelMinimalShapeSize(TdxBevelShape) { return TSize(2, 2); }

void P::DrawScaledTokenBackground(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                  const TdxScaleFactor*) {
  if (AState == cxbsHot)
    FillBentGradient(ACanvas, R, Color(Office11HotColor), Color(Office11HotColor2), false);
  else if (AState == cxbsPressed)
    FillBentGradient(ACanvas, R, Color(Office11PressedDarkColor), Color(Office11HotColor), false);
  ACanvas->FrameRect(R, Color(Office11FrameColor));
}

// ---------------------------------------------------------------------------
// Scroll bars and the size grip

int P::ScaledScrollBarMinimalThumbSize(bool AVertical, const TdxScaleFactor* AScaleFactor) {
  if (TcxCustomLookAndFeelPainter* native = NativePainter())
    return native->ScaledScrollBarMinimalThumbSize(AVertical, AScaleFactor);
  return inherited::ScaledScrollBarMinimalThumbSize(AVertical, AScaleFactor);
}

void P::DrawScaledScrollBarPart(TcxCustomCanvas* ACanvas, bool AHorizontal, const TRect& R, TcxScrollBarPart APart,
                                TcxButtonState AState, const TdxScaleFactor* AScaleFactor) {
  if (TcxCustomLookAndFeelPainter* native = NativePainter())
    native->DrawScaledScrollBarPart(ACanvas, AHorizontal, R, APart, AState, AScaleFactor);
  else
    inherited::DrawScaledScrollBarPart(ACanvas, AHorizontal, R, APart, AState, AScaleFactor);
}

void P::DoDrawSizeGrip(TcxCanvas* ACanvas, const TRect& ARect, const TdxScaleFactor* AScaleFactor) {
  Office11DrawSizeGrip(ACanvas->Handle(), ARect, clDefault, AScaleFactor, clDefault);
}

// ---------------------------------------------------------------------------
// Headers, sorting marks and footers

TcxBorders P::HeaderBorders(TcxNeighbors) { return cxBordersAll(); }

bool P::IsHeaderHotTrack() { return true; }

int P::GridBordersOverlapSize() { return 0; }

void P::DrawHeaderBorder(TcxCanvas* ACanvas, const TRect& R, TcxNeighbors ANeighbors, TcxBorders ABorders) {
  const TColor top = HeaderTopColor();
  const TColor bottom = HeaderBottomColor();
  const TColor dark = HeaderDarkEdgeColor();
  if (ABorders.Contains(bTop)) ACanvas->FillRect(TRect(R.Left, R.Top, R.Right, R.Top + 1), top);
  if (ABorders.Contains(bBottom)) ACanvas->FillRect(TRect(R.Left, R.Bottom - 1, R.Right, R.Bottom), dark);
  const auto column = [&](int X, int ATop, int ABottom, TColor AColor) {
    ACanvas->FillRect(TRect(X, ATop, X + 1, ABottom), AColor);
  };
  // Where a neighbour joins, the edge line stops short of both ends and its
  // lower end fades into the face.
  const auto joinedEdge = [&](int X, TColor ALineColor) {
    column(X, R.Top + 1, R.Top + 3, top);
    column(X, R.Top + 3, R.Bottom - 3, ALineColor);
    ACanvas->FillPixel(X, R.Bottom - 3, BlendColors(top, bottom, 25));
    ACanvas->FillPixel(X, R.Bottom - 2, bottom);
  };
  if (ABorders.Contains(bLeft)) {
    if (ANeighbors.Contains(nLeft)) {
      joinedEdge(R.Left, HeaderLightEdgeColor());
    } else {
      ACanvas->FillPixel(R.Left, R.Top + 1, top);
      column(R.Left, R.Top + 2, R.Bottom - 2, HeaderLightEdgeColor());
      ACanvas->FillPixel(R.Left, R.Bottom - 2, bottom);
    }
  }
  if (ABorders.Contains(bRight)) {
    if (ANeighbors.Contains(nRight)) {
      joinedEdge(R.Right - 1, dark);
    } else {
      ACanvas->FillPixel(R.Right - 1, R.Top + 1, BlendColors(top, dark, 50));
      column(R.Right - 1, R.Top + 2, R.Bottom - 2, dark);
      ACanvas->FillPixel(R.Right - 1, R.Bottom - 2, BlendColors(bottom, dark, 50));
    }
  }
}

void P::DrawHeaderBackground(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) {
  const bool hot = AState == cxbsHot;
  const TColor first = hot ? Color(Office11GradientLightColor) : HeaderTopColor();
  const TColor second = hot ? first : HeaderBottomColor();
  ACanvas->FillRect(TRect(R.Left, R.Top, R.Right, R.Bottom - 3), first);
  FillGradientRect(ACanvas->Handle(), TRect(R.Left, std::max(R.Top, R.Bottom - 4), R.Right, R.Bottom), first, second,
                   false);
  if (hot)
    FillGradientRect(ACanvas->Handle(), TRect(R.Left - 1, R.Bottom - 2, R.Right, R.Bottom + 1),
                     Color(Office11HotColor), Color(Office11HotColor2), false);
}

void P::DrawScaledHeader(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState, TcxNeighbors ANeighbors,
                         TcxBorders ABorders, const TdxScaleFactor*, bool, bool) {
  DrawHeaderBorder(ACanvas, ABounds, ANeighbors, ABorders);
  DrawHeaderBackground(ACanvas, HeaderContentBounds(ABounds, ABorders), AState);
}

void P::DrawScaledHeader(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                         TcxNeighbors ANeighbors, TcxBorders ABorders, TcxButtonState AState,
                         TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert, bool AMultiLine,
                         bool AShowEndEllipsis, const String& AText, TFont* AFont, TColor ATextColor, TColor ABkColor,
                         const TdxScaleFactor* AScaleFactor, const TcxDrawBackgroundEvent& AOnDrawBackground, bool,
                         bool) {
  DrawHeaderBorder(ACanvas, ABounds, ANeighbors, ABorders);
  const TRect content = ScaledHeaderContentBounds(ABounds, ABorders, AScaleFactor);
  if (!AOnDrawBackground || !AOnDrawBackground(ACanvas, content)) DrawHeaderBackground(ACanvas, content, AState);
  // The face is drawn: the shared drawer adds only the text.
  DoDrawHeader(ACanvas, content, ATextAreaBounds, AAlignmentHorz, AAlignmentVert, AMultiLine, AShowEndEllipsis, AText,
               AFont, ATextColor, ABkColor, [](TcxCanvas*, const TRect&) { return true; });
}

void P::DrawScaledHeaderEx(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                           TcxNeighbors ANeighbors, TcxBorders ABorders, TcxButtonState AState,
                           TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert, bool AMultiLine,
                           bool AShowEndEllipsis, const String& AText, TFont* AFont, TColor ATextColor,
                           TColor ABkColor, const TdxScaleFactor* AScaleFactor,
                           const TcxDrawBackgroundEvent& AOnDrawBackground) {
  TcxCustomLookAndFeelPainter::DrawScaledHeaderEx(ACanvas, ABounds, ATextAreaBounds, ANeighbors, ABorders, AState,
                                                  AAlignmentHorz, AAlignmentVert, AMultiLine, AShowEndEllipsis, AText,
                                                  AFont, ATextColor, ABkColor, AScaleFactor, AOnDrawBackground);
}

void P::DrawScaledHeaderControlSection(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                                       TcxNeighbors ANeighbors, TcxBorders, TcxButtonState AState,
                                       TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert, bool AMultiLine,
                                       bool AShowEndEllipsis, const String& AText, TFont* AFont, TColor ATextColor,
                                       TColor ABkColor, const TdxScaleFactor* AScaleFactor) {
  DrawScaledHeader(ACanvas, ABounds, ATextAreaBounds, ANeighbors, cxBordersAll(), AState, AAlignmentHorz,
                   AAlignmentVert, AMultiLine, AShowEndEllipsis, AText, AFont, ATextColor, ABkColor, AScaleFactor);
  if (AState == cxbsPressed) DrawHeaderPressed(ACanvas, ABounds);
}

void P::DrawScaledSortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
                              const TdxScaleFactor* AScaleFactor) {
  DrawSortingTriangle(ACanvas, R, HeaderDarkEdgeColor(), HeaderLightEdgeColor(), AAscendingSorting, AScaleFactor);
}

void P::DrawScaledSummarySortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
                                     const TdxScaleFactor* AScaleFactor) {
  DrawSummarySortingTriangle(ACanvas, R, HeaderDarkEdgeColor(), HeaderLightEdgeColor(), AAscendingSorting,
                             AScaleFactor);
}

TColor P::FooterSeparatorColor() { return HeaderDarkEdgeColor(); }

// ---------------------------------------------------------------------------
// Rich edit

TColor P::RichEditControlHeaderFooterLineColor() { return Color(Office11BackgroundColor); }

TColor P::RichEditControlHeaderFooterMarkBackColor() { return Color(Office11ControlColor); }

TColor P::RichEditRulerInactiveAreaColor() { return Color(Office11BackgroundColor); }

TColor P::RichEditRulerTabTypeToggleBorderColor() { return Color(Office11FrameColor); }

// ---------------------------------------------------------------------------
// Scheduler, date navigator, track bars, splitters and the layout control

void P::DrawSchedulerScaledNavigatorButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                           const TdxScaleFactor* AScaleFactor) {
  if (TcxCustomLookAndFeelPainter* native = NativePainter())
    native->DrawSchedulerScaledNavigatorButton(ACanvas, R, AState, AScaleFactor);
  else
    inherited::DrawSchedulerScaledNavigatorButton(ACanvas, R, AState, AScaleFactor);
}

void P::DrawSchedulerBorder(TcxCanvas* ACanvas, const TRect& R) {
  ACanvas->FrameRect(R, DefaultSchedulerBorderColor());
}

void P::DrawSchedulerNavigationButtonContent(TcxCanvas* ACanvas, const TRect& ARect, const TRect& AArrowRect,
                                             bool AIsNextButton, TcxButtonState AState, bool AIsVertical) {
  const TdxOffice11Color face = AState == cxbsHot       ? Office11HotColor
                                : AState == cxbsPressed ? Office11PressedColor
                                                        : Office11BackgroundColor;
  ACanvas->FillRect(ARect, Color(face));
  ACanvas->FrameRect(ARect, Color(Office11SchedulerBorderColor), 1,
                     SchedulerNavigationButtonFrameSides(AIsNextButton, AIsVertical));
  DrawSchedulerNavigationButtonArrow(ACanvas, AArrowRect, AIsNextButton, ButtonSymbolColor(AState, clDefault),
                                     AIsVertical);
}

void P::DrawDateNavigatorDateHeader(TcxCanvas* ACanvas, TRect& R) {
  ACanvas->FillRect(R, DefaultDateNavigatorHeaderColor());
}

void P::DrawTrackBarTrackBounds(TcxCanvas* ACanvas, const TRect& ARect) { ACanvas->FrameRect(ARect, clBtnText); }

void P::DrawTrackBarThumbBorderUpDown(TcxCanvas* ACanvas, std::span<const TPoint> ALightPolyLine,
                                      std::span<const TPoint>, std::span<const TPoint> ADarkPolyLine) {
  ACanvas->Polyline(ALightPolyLine, clBtnText);
  ACanvas->Polyline(ADarkPolyLine, clBtnText);
}

void P::DrawTrackBarThumbBorderBoth(TcxCanvas* ACanvas, const TRect& ARect) { ACanvas->FrameRect(ARect, clBtnText); }

TColor P::GetSplitterInnerColor(bool) { return Color(Office11SeparatorLightColor); }

TColor P::GetSplitterOuterColor(bool AHighlighted) {
  return Color(AHighlighted ? Office11HighlightBorderColor : Office11SeparatorDarkColor);
}

void P::DrawLayoutControlBackground(TcxCanvas* ACanvas, const TRect& R) {
  ACanvas->FillRectByGradient(R, Color(Office11GradientLightColor), Color(Office11GradientDarkColor), false);
}

void P::LayoutViewDrawRecordCaption(TcxCanvas* ACanvas, const TRect& ABounds, const TRect&,
                                    TcxGroupBoxCaptionPosition, TcxButtonState AState, TColor, TBitmap*) {
  // The border leaves the clip as it is drawn; the face fills what is left.
  LayoutViewDrawRecordBorder(ACanvas, ABounds, AState, cxBordersAll());
  TRect face = ABounds;
  face.Deflate(1);
  DrawHeaderBackground(ACanvas, face, AState);
}

void P::DrawScaledMonthHeader(TcxCanvas* ACanvas, const TRect& ABounds, const String& AText, TcxNeighbors,
                              const TcxViewParams& AViewParams, TcxArrowDirections AArrows, int ASideWidth,
                              const TdxScaleFactor*, const TcxDrawBackgroundEvent& AOnDrawBackground) {
  TRect content = ABounds;
  content.Deflate(1);
  DoDrawHeader(ACanvas, content, content, taCenter, vaCenter, false, false, AText, AViewParams.Font,
               AViewParams.TextColor, AViewParams.Color, [&](TcxCanvas* ACanvas, const TRect& R) {
                 if (!AOnDrawBackground || !AOnDrawBackground(ACanvas, R)) ACanvas->FillRect(R, AViewParams);
                 return true;
               });
  DrawMonthHeaderArrows(ACanvas, ABounds, AArrows, ASideWidth, clWindowText);
}

TSize P::ScaledClockSize(const TdxScaleFactor* AScaleFactor) { return AScaleFactor->Apply(ClockFaceSize()); }

void P::DrawScaledClock(TcxCanvas* ACanvas, const TRect& ARect, TDateTime ADateTime, TColor ABackgroundColor,
                        const TdxScaleFactor* AScaleFactor) {
  DrawModernCalendarClock(ACanvas, ARect, ADateTime, ABackgroundColor, AScaleFactor);
}
