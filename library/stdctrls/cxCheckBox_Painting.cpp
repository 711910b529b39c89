// The check mark: its theme state, its image in a glyph strip and the
// hand-drawn mark shared by every check-type control.
#include "library/controls/container/cxContainer.h"
#include "library/editors/edit/cxEditPaintUtils.h"
#include "library/graphics/canvas/cxCanvasScopes.h"
#include "library/stdctrls/cxCheckBox.h"

#include <array>

namespace {

TcxButtonState EditCheckStateToButtonState(TcxEditCheckState AState) {
  constexpr std::array<TcxButtonState, 4> states{cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled};
  return states[AState];
}

// DrawFrameControl's flags for the inside of a check mark that is not drawn
// in the flat styles.
UINT CheckFrameControlFlags(TcxCheckBoxState AState, TcxEditCheckState AEditState, TcxEditBorderStyle ABorderStyle,
                            TcxCheckBoxNullValueShowingStyle ANullStyle) {
  UINT flags = 0;
  if (AEditState == ecsDisabled) {
    const bool showsChecked = AState == cbsChecked || (AState == cbsGrayed && ANullStyle == nssGrayedChecked);
    flags = (showsChecked ? DFCS_CHECKED : DFCS_INACTIVE) | DFCS_PUSHED | DFCS_BUTTON3STATE;
  } else {
    if (AState == cbsChecked) flags = DFCS_CHECKED;
    if (AState == cbsGrayed) flags = DFCS_BUTTON3STATE | (ANullStyle == nssInactive ? DFCS_INACTIVE : DFCS_CHECKED);
    if (AEditState == ecsPressed) flags |= DFCS_PUSHED;
  }
  if (ABorderStyle != ebs3D) flags |= DFCS_FLAT;
  return flags;
}

TColor FlatCheckFrameColor(TcxEditCheckState AEditState, TcxEditBorderStyle ABorderStyle, bool AIsDesigning,
                           bool AFocused) {
  const bool isOffice11 = ABorderStyle == ebsOffice11;
  if (isOffice11 && AEditState == ecsNormal && !AIsDesigning && !AFocused) return clBtnText;
  if (AEditState == ecsHot || AEditState == ecsPressed || (AIsDesigning && AEditState != ecsDisabled) ||
      (AEditState == ecsNormal && AFocused))
    return EditHotBorderColor(isOffice11);
  return clBtnShadow;
}

void DrawCheckFrame(TcxCanvas* ACanvas, TRect& R, TcxEditCheckState AEditState, TcxEditBorderStyle ABorderStyle,
                    TColor ABorderColor, TColor ABackgroundColor, bool ADrawBackground, bool AIsDesigning,
                    bool AFocused) {
  const int offset = 2 - BorderStyleToWidth(static_cast<TcxContainerBorderStyle>(ABorderStyle));
  if (ADrawBackground && offset > 0) {
    ACanvas->FrameRect(R, ABackgroundColor, offset);
    R.Inflate(-offset, -offset);
  }
  switch (ABorderStyle) {
    case ebsNone:
      break;
    case ebsSingle:
      ACanvas->FrameRect(R, ABorderColor);
      break;
    case ebsThick:
      ACanvas->FrameRect(R, ABorderColor, 2);
      break;
    case ebsFlat:
    case ebs3D: {
      ACanvas->DrawEdge(R, true, true);
      TRect inner = R;
      inner.Inflate(-1, -1);
      if (ABorderStyle == ebsFlat)
        ACanvas->FrameRect(inner, clBtnFace);
      else
        ACanvas->DrawComplexFrame(inner, cl3DDkShadow, cl3DLight);
      break;
    }
    case ebsUltraFlat:
    case ebsOffice11:
      ACanvas->FrameRect(R, FlatCheckFrameColor(AEditState, ABorderStyle, AIsDesigning, AFocused));
      break;
  }
}

void DrawFlatCheckInside(TcxCanvas* ACanvas, const TRect& AInside, TcxCheckBoxState AState,
                         TcxEditCheckState AEditState, TcxEditBorderStyle ABorderStyle,
                         const TdxScaleFactor* AScaleFactor, TcxCheckBoxNullValueShowingStyle ANullStyle) {
  const bool isOffice11 = ABorderStyle == ebsOffice11;
  TColor fill = clWindow;
  if (AEditState == ecsNormal && AState == cbsGrayed && ANullStyle == nssInactive) fill = clBtnFace;
  if (AEditState == ecsDisabled) fill = clBtnFace;
  if (AEditState == ecsHot || AEditState == ecsPressed) fill = GetEditButtonColor(AEditState == ecsPressed, isOffice11);
  ACanvas->FillRect(AInside, fill);
  const bool showsCheck = AState == cbsChecked || (AState == cbsGrayed && ANullStyle == nssGrayedChecked);
  if (!showsCheck) return;
  const TcxClipRegionScope clip(ACanvas, AInside);
  const TColor checkColor = AState == cbsChecked && AEditState != ecsDisabled ? clBtnText : clBtnShadow;
  GetLookAndFeelPainterForKind(false, isOffice11 ? lfOffice11 : lfUltraFlat)
      ->DrawScaledCheck(ACanvas, AInside, EditCheckStateToButtonState(AEditState), cbsChecked, checkColor,
                        AScaleFactor, false);
}

// One image of the strip into R at the scale factor, in the disabled look
// when asked.
void DrawCheckGlyph(TcxCanvas* ACanvas, const TRect& R, TGraphic* AGlyph, int AGlyphCount, int AIndex, bool ADisabled,
                    TColor ABackgroundColor, bool ADrawBackground, const TdxScaleFactor* AScaleFactor) {
  const TSize stripSize = GetGraphicSize(AGlyph);
  const int width = stripSize.cx / AGlyphCount;
  if (width <= 0 || stripSize.cy <= 0) return;
  const TOwned<TBitmap> image(New<TBitmap>());
  const TRect source(AIndex * width, 0, (AIndex + 1) * width, stripSize.cy);
  if (AGlyph->Transparent() || Is<TdxSmartImage>(AGlyph)) {
    image->SetPixelFormat(pf32bit);
    image->SetSize(width, stripSize.cy);
    DrawGraphicToBitmap(image.get(), AGlyph, TRect(0, 0, width, stripSize.cy), source, false);
  } else {
    image->SetPixelFormat(pf24bit);
    image->SetSize(width, stripSize.cy);
    image->Canvas()->Draw(-source.Left, 0, AGlyph);
  }
  if (ADrawBackground) ACanvas->FillRect(R, ABackgroundColor);
  DrawScaledImage(ACanvas->Canvas(), R, image.get(), nullptr, -1, ifmStretch, ADisabled ? idmDisabled : idmNormal,
                  false, nullptr, AScaleFactor);
}

}  // namespace

String GetCheckGlyphPartName(int AIndex) {
  constexpr std::array<const wchar_t*, 6> names{L"Unchecked",         L"Checked",         L"Grayed",
                                                L"Unchecked Pressed", L"Checked Pressed", L"Grayed Pressed"};
  if (AIndex < 0 || AIndex >= static_cast<int>(names.size())) return L"Not Used";
  return names[AIndex];
}

int CheckBoxThemeState(TcxCheckBoxState ACheckState, TcxEditCheckState AEditState) {
  return ACheckState * 4 + AEditState + 1;
}

int GetCheckGlyphIndex(TcxCheckBoxState ACheckState, TcxEditCheckState AEditState, bool AThreeStateStrip,
                       int ACount) {
  if (ACount <= 1) return 0;
  const int perRow = !AThreeStateStrip && ACount % 3 != 0 && ACount % 2 == 0 ? 2 : 3;
  int index = ACheckState + (AEditState == ecsPressed ? perRow : 0);
  if (index >= ACount && index > perRow - 1) index %= perRow;
  // A three-state strip shorter than its states (two images, grayed) has no
  // picture for the state: the first image rather than a cut past the end.
  return index < ACount ? index : 0;
}

TSize GetCheckMarkSize(TGraphic* AGlyph, int AGlyphCount, bool ANativeStyle, TcxCustomLookAndFeelPainter* APainter,
                       const TdxScaleFactor* AScaleFactor) {
  if (AGlyphCount > 0 && IsGraphicAssigned(AGlyph)) {
    TSize size = GetGraphicSize(AGlyph);
    size.cx /= AGlyphCount;
    return AScaleFactor->Apply(size, GetObjectSourceDPI(AGlyph), dxDefaultDPI);
  }
  if (APainter == nullptr) APainter = GetLookAndFeelPainterForKind(ANativeStyle, lfStandard);
  return APainter->ScaledCheckButtonSize(AScaleFactor);
}

void DrawCheckMark(TcxCanvas* ACanvas, const TRect& R, TcxCheckBoxState ACheckState, TcxEditCheckState AEditState,
                   TGraphic* AGlyph, int AGlyphCount, TcxEditBorderStyle ABorderStyle, bool ANativeStyle,
                   TColor ABorderColor, TColor ABackgroundColor, bool ADrawBackground, bool AIsDesigning,
                   bool AFocused, bool AThreeStateStrip, TcxCustomLookAndFeelPainter* ASkinPainter,
                   const TdxScaleFactor* AScaleFactor, TcxCheckBoxNullValueShowingStyle ANullStyle) {
  if (R.IsEmpty()) return;
  const TcxCheckBoxState state = ACheckState == cbsGrayed && ANullStyle == nssUnchecked ? cbsUnchecked : ACheckState;
  if (AGlyphCount > 0 && IsGraphicAssigned(AGlyph)) {
    DrawCheckGlyph(ACanvas, R, AGlyph, AGlyphCount, GetCheckGlyphIndex(state, AEditState, AThreeStateStrip, AGlyphCount),
                   AEditState == ecsDisabled, ABackgroundColor, ADrawBackground, AScaleFactor);
    return;
  }
  const TcxButtonState buttonState = EditCheckStateToButtonState(AEditState);
  if (ASkinPainter != nullptr) {
    if (ADrawBackground) ACanvas->FillRect(R, ABackgroundColor);
    ASkinPainter->DrawScaledCheckButton(ACanvas, R, buttonState == cxbsNormal && AFocused ? cxbsDefault : buttonState,
                                        state, AScaleFactor, ADrawBackground);
    return;
  }
  if (ANativeStyle) {
    GetLookAndFeelPainterForKind(true, lfStandard)
        ->DrawScaledCheck(ACanvas, R, buttonState, state, clDefault, AScaleFactor, ADrawBackground);
    return;
  }
  TRect frame = R;
  DrawCheckFrame(ACanvas, frame, AEditState, ABorderStyle, ABorderColor, ABackgroundColor, ADrawBackground,
                 AIsDesigning, AFocused);
  TRect inside = R;
  inside.Inflate(-2, -2);
  if (ABorderStyle == ebsUltraFlat || ABorderStyle == ebsOffice11) {
    DrawFlatCheckInside(ACanvas, inside, state, AEditState, ABorderStyle, AScaleFactor, ANullStyle);
    return;
  }
  const TcxClipRegionScope clip(ACanvas, inside);
  RECT control = R;
  DrawFrameControl(ACanvas->Handle(), &control, DFC_BUTTON,
                   DFCS_BUTTONCHECK | CheckFrameControlFlags(state, AEditState, ABorderStyle, ANullStyle));
}
