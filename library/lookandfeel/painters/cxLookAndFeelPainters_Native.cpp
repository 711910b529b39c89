// The Native painter: each part through the visual-styles theme of its kind,
// the Standard painter's look where no theme can be had.
#include "library/lookandfeel/painters/cxLookAndFeelPainters_Internal.h"

#include "library/core/base/dxCore.h"
#include "library/core/system/dxDPIAwareUtils.h"
#include "library/core/system/dxUxTheme.h"
#include "library/graphics/canvas/cxCanvasScopes.h"
#include "library/graphics/canvas/cxGraphics.h"
#include "library/lookandfeel/painters/dxOffice11.h"
#include "platform/ui/GdiScopes.h"

#include <vssym32.h>

#include <algorithm>

using P = TcxWinXPLookAndFeelPainter;

namespace {

// The push button's state for each TcxButtonState.
constexpr int ButtonStates[cxButtonStateCount] = {PBS_DEFAULTED, PBS_NORMAL, PBS_HOT, PBS_PRESSED, PBS_DISABLED};
// The state of the parts that have no "default" look: normal, hot, pressed
// and disabled (1 to 4).
constexpr int PlainStates[cxButtonStateCount] = {1, 1, 2, 3, 4};

int ButtonState(TcxButtonState AState) { return ButtonStates[AState]; }
int PlainState(TcxButtonState AState) { return PlainStates[AState]; }

HTHEME ThemeFor(TdxThemedObjectType AType, const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor ? OpenThemeForScaleFactor(AType, AScaleFactor) : OpenTheme(AType);
}

TcxCanvasBasedResourceCacheKey ThemeKey(HTHEME ATheme, const TRect& R, int APartId, int AStateId, int ADpi = 96) {
  return TcxCanvasBasedResourceCacheKey::Create(ATheme, R.GetSize(), AStateId, APartId,
                                                static_cast<std::uint16_t>(ADpi));
}

// The theme's colour of a part (property of the visual-styles headers), or
// nothing.
std::optional<TColor> ThemeColor(TdxThemedObjectType AType, int APartId, int AStateId, int AProperty) {
  COLORREF color = 0;
  if (!GetThemedObjectColor(AType, APartId, AStateId, AProperty, color)) return std::nullopt;
  return static_cast<TColor>(color);
}

// The content rectangle of a part within ABounds, or nothing.
std::optional<TRect> ContentRect(HTHEME ATheme, int APartId, int AStateId, const TRect& ABounds) {
  TRect content;
  if (!ATheme || UxGetThemeBackgroundContentRect(ATheme, nullptr, APartId, AStateId, ABounds, content) != S_OK)
    return std::nullopt;
  return content;
}

// The part's content margins scaled from the theme's factor to
// AScaleFactor, or nothing.
std::optional<TRect> ContentMargins(HTHEME ATheme, int APartId, int AStateId, const TdxScaleFactor* AScaleFactor) {
  TRect margins;
  if (!ATheme || UxGetThemeMarginsRect(ATheme, APartId, AStateId, TMT_CONTENTMARGINS, margins) != S_OK)
    return std::nullopt;
  return AScaleFactor->Apply(margins, GetThemeHandleScaleFactor(ATheme));
}

bool IsVertical(bool AHorizontal) { return !AHorizontal; }

}  // namespace

// ---------------------------------------------------------------------------
// Painter information

namespace {

// A glyph bitmap of the program's resources with its magenta made
// transparent; empty when the program was built without it.
TOwned<TcxBitmap32> LoadZoomGlyph(const wchar_t* AName) {
  TOwned<TcxBitmap32> glyph(New<TcxBitmap32>());
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!FindResourceW(instance, AName, RT_BITMAP)) return glyph;
  const TOwned<TBitmap> picture(New<TBitmap>());
  picture->LoadFromResourceName(instance, AName);
  glyph->CreateSize(picture->Width(), picture->Height());
  glyph->CopyBitmap(picture.get());
  glyph->RecoverTransparency(clFuchsia);
  return glyph;
}

}  // namespace

void P::Create() {
  inherited::Create();
  FZoomInButtonGlyph = LoadZoomGlyph(L"CX_ZOOMINBUTTONGLYPH");
  FZoomOutButtonGlyph = LoadZoomGlyph(L"CX_ZOOMOUTBUTTONGLYPH");
}

String P::LookAndFeelName() { return L"Native"; }

TcxLookAndFeelStyle P::LookAndFeelStyle() { return lfsNative; }

bool P::NeedRedrawOnResize() { return AreVisualStylesAvailable(); }

// ---------------------------------------------------------------------------
// Drawing a theme part

void P::DrawScaledThemeBackground(HTHEME ATheme, HDC DC, int APartId, int AStateId, const TRect& R,
                                  const TdxScaleFactor* AScaleFactor, bool AForceScale, bool AUseThemePartSize) {
  const TdxScaleFactor* themeFactor = GetThemeHandleScaleFactor(ATheme);
  if (!AForceScale && AScaleFactor->Equals(themeFactor)) {
    UxDrawThemeBackground(ATheme, DC, APartId, AStateId, R);
    return;
  }
  TSize size;
  if (!AUseThemePartSize || UxGetThemePartSizeNoRect(ATheme, DC, APartId, AStateId, TS_TRUE, size) != S_OK)
    size = themeFactor->Apply(R.GetSize(), AScaleFactor);
  if (size.cx <= 0 || size.cy <= 0 || R.IsEmpty()) return;
  const TMemoryDC bitmap = TMemoryDC::Dib32(DC, size.cx, size.cy);
  if (!bitmap) return;
  UxDrawThemeBackground(ATheme, bitmap.DC(), APartId, AStateId, TRect(0, 0, size.cx, size.cy));
  GdiFlush();
  // Black is the bitmap's empty background; what the theme left without
  // alpha is opaque.
  std::uint32_t* pixels = bitmap.Bits();
  for (int i = 0, n = size.cx * size.cy; i < n; ++i) {
    if ((pixels[i] & 0x00FFFFFF) == 0)
      pixels[i] = 0;
    else if ((pixels[i] >> 24) == 0)
      pixels[i] |= 0xFF000000;
  }
  const TSavedDC saved(DC);
  SetStretchBltMode(DC, HALFTONE);
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ::AlphaBlend(DC, R.Left, R.Top, R.Width(), R.Height(), bitmap.DC(), 0, 0, size.cx, size.cy, blend);
}

bool P::DoDrawThemeBackground(TcxCustomCanvas* ACanvas, TdxThemedObjectType AThemedObjectType,
                              const TdxScaleFactor* AScaleFactor, const TRect& R, int APartId, int AStateId) {
  const HTHEME theme = ThemeFor(AThemedObjectType, AScaleFactor);
  if (!theme) return false;
  // A canvas that serves the picture from its cache leaves the result alone.
  HRESULT result = S_OK;
  ACanvas->DrawNativeObject(R, ThemeKey(theme, R, APartId, AStateId),
                            [&](TcxCanvas* ACanvas, const TRect& ARect) {
                              result = UxDrawThemeBackground(theme, ACanvas->Handle(), APartId, AStateId, ARect);
                            });
  return SUCCEEDED(result);
}

bool P::DoDrawScaledThemeBackground(TcxCustomCanvas* ACanvas, TdxThemedObjectType AThemedObjectType,
                                    const TdxScaleFactor* AScaleFactor, const TRect& R, int APartId, int AStateId) {
  const HTHEME theme = ThemeFor(AThemedObjectType, AScaleFactor);
  if (!theme) return false;
  const TdxScaleFactor* factor = AScaleFactor ? AScaleFactor : SystemScaleFactor();
  ACanvas->DrawNativeObject(R, ThemeKey(theme, R, APartId, AStateId, factor->Apply(96)),
                            [&](TcxCanvas* ACanvas, const TRect& ARect) {
                              DrawScaledThemeBackground(theme, ACanvas->Handle(), APartId, AStateId, ARect, factor,
                                                        false, true);
                            });
  return true;
}

void P::DrawThemedCaption(TcxCanvas* ACanvas, HTHEME ATheme, int APartId, int AStateId, const TRect& ATextRect,
                          TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert, bool AMultiLine,
                          bool AShowEndEllipsis, bool AShowPrefix, const String& AText, TFont* AFont,
                          TColor ATextColor) {
  if (AText.empty()) return;
  // Without a font of its own the caption keeps the canvas's.
  if (AFont) ACanvas->SetFont(AFont);
  ACanvas->Font()->SetColor(ATextColor);
  TRect r = ATextRect;
  if (AMultiLine) ACanvas->AlignMultiLineTextRectVertically(r, AText, AAlignmentVert, true, AShowPrefix);
  static constexpr DWORD horizontal[] = {0, DT_RIGHT, DT_CENTER};
  static constexpr DWORD vertical[] = {0, DT_BOTTOM, DT_VCENTER};
  DWORD flags = horizontal[AAlignmentHorz] | vertical[AAlignmentVert] | DT_EDITCONTROL;
  if (AShowEndEllipsis) flags |= DT_END_ELLIPSIS;
  if (!AShowPrefix) flags |= DT_NOPREFIX;
  flags |= AMultiLine ? DT_WORDBREAK : DT_SINGLELINE;
  UxDrawThemeTextString(ATheme, ACanvas->Handle(), APartId, AStateId, AText, -1, flags, 0, r);
}

// ---------------------------------------------------------------------------
// Default colours

TColor P::DefaultFilterBoxColor() { return IsWin10OrLater ? clBtnFace : inherited::DefaultFilterBoxColor(); }

TColor P::DefaultFilterBoxTextColor() {
  return IsWin10OrLater ? clBtnText : inherited::DefaultFilterBoxTextColor();
}

TColor P::DefaultFooterColor() { return TcxCustomLookAndFeelPainter::DefaultFooterColor(); }

TColor P::DefaultFooterTextColor() { return TcxCustomLookAndFeelPainter::DefaultFooterTextColor(); }

TColor P::DefaultGridLineColor() {
  if (IsWin10OrLater)
    if (const auto color = ThemeColor(totHeader, HP_HEADERITEM, HIS_NORMAL, TMT_EDGEFILLCOLOR)) return *color;
  return inherited::DefaultGridLineColor();
}

TColor P::DefaultGroupByBoxColor() { return IsWin10OrLater ? DefaultFooterColor() : inherited::DefaultGroupByBoxColor(); }

TColor P::DefaultGroupByBoxTextColor() {
  return IsWin10OrLater ? DefaultFooterTextColor() : inherited::DefaultGroupByBoxTextColor();
}

TColor P::DefaultSchedulerBorderColor() {
  return ThemeColor(totComboBox, CP_DROPDOWNBUTTON, CBXS_NORMAL, TMT_BORDERCOLOR)
      .value_or(inherited::DefaultSchedulerBorderColor());
}

TColor P::DefaultSchedulerViewContentColor() { return static_cast<TColor>(0xFFFFFF); }

TColor P::DefaultSchedulerViewContentColorClassic() { return static_cast<TColor>(0xD5FFFF); }

// ---------------------------------------------------------------------------
// Arrows, borders and separators

void P::DrawScaledArrow(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                        TcxArrowDirection AArrowDirection, const TdxScaleFactor* AScaleFactor, bool ADrawBorder) {
  // Four states per direction, up first; a default arrow looks normal.
  const int state = ABS_UPNORMAL + 4 * AArrowDirection + PlainState(AState) - 1;
  if (!DoDrawThemeBackground(ACanvas, totScrollBar, AScaleFactor, R, SBP_ARROWBTN, state))
    inherited::DrawScaledArrow(ACanvas, R, AState, AArrowDirection, AScaleFactor, ADrawBorder);
}

void P::DrawScaledArrowBorder(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                              const TdxScaleFactor* AScaleFactor) {
  if (!DoDrawThemeBackground(ACanvas, totButton, AScaleFactor, R, BP_PUSHBUTTON, ButtonState(AState)))
    inherited::DrawScaledArrowBorder(ACanvas, R, AState, AScaleFactor);
}

int P::BorderSize() { return IsThemedObjectTypeAvailable(totListView) ? 1 : inherited::BorderSize(); }

int P::SeparatorSize() { return 6; }

void P::DrawBorder(TcxCustomCanvas* ACanvas, const TRect& R) {
  const HTHEME theme = OpenTheme(totListView);
  if (!theme) {
    inherited::DrawBorder(ACanvas, R);
    return;
  }
  constexpr int ListViewFramePart = 5;
  ACanvas->DrawNativeObject(R, ThemeKey(theme, R, ListViewFramePart, 0), [theme](TcxCanvas* ACanvas, const TRect& ARect) {
    const HDC dc = ACanvas->Handle();
    const TSavedDC saved(dc);
    TRect inner = ARect;
    inner.Deflate(1);
    ExcludeClipRect(dc, inner.Left, inner.Top, inner.Right, inner.Bottom);
    UxDrawThemeBackground(theme, dc, ListViewFramePart, 0, ARect);
  });
}

void P::DoDrawSeparator(TcxCustomCanvas* ACanvas, const TRect& R, bool AIsVertical) {
  if (!DoDrawThemeBackground(ACanvas, totToolBar, nullptr, R, AIsVertical ? TP_SEPARATOR : TP_SEPARATORVERT, 1))
    inherited::DoDrawSeparator(ACanvas, R, AIsVertical);
}

// ---------------------------------------------------------------------------
// Buttons

int P::ButtonBorderSize(TcxButtonState AState) {
  if (const auto content = ContentRect(OpenTheme(totButton), BP_PUSHBUTTON, ButtonState(AState), TRect(0, 0, 100, 100)))
    return content->Left;
  return inherited::ButtonBorderSize(cxbsNormal);
}

TColor P::ButtonColor(TcxButtonState AState) {
  return ThemeColor(totButton, BP_PUSHBUTTON, ButtonState(AState), TMT_COLOR).value_or(inherited::ButtonColor(AState));
}

TColor P::ButtonSymbolColor(TcxButtonState AState, TColor ADefaultColor, TcxButtonPart) {
  return ThemeColor(totButton, BP_PUSHBUTTON, ButtonState(AState), TMT_TEXTCOLOR)
      .value_or(TcxCustomLookAndFeelPainter::ButtonSymbolColor(AState, ADefaultColor, cxbpButton));
}

TRect P::ScaledButtonFocusRect(TcxCustomCanvas* ACanvas, const TRect& R, const TdxScaleFactor* AScaleFactor) {
  return ContentRect(OpenThemeForScaleFactor(totButton, AScaleFactor), BP_PUSHBUTTON, PBS_NORMAL, R)
      .value_or(inherited::ScaledButtonFocusRect(ACanvas, R, AScaleFactor));
}

int P::ScaledButtonTextOffset(const TdxScaleFactor* AScaleFactor) { return AScaleFactor->Apply(2); }

int P::ScaledButtonTextShift(const TdxScaleFactor*) { return 0; }

void P::DrawScaledButton(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                         const TdxScaleFactor* AScaleFactor, bool ADrawBorder, bool AIsToolButton, TcxButtonPart APart,
                         TColor AColor) {
  if (!DoDrawThemeBackground(ACanvas, AIsToolButton ? totToolBar : totButton, AScaleFactor, R, BP_PUSHBUTTON,
                             ButtonState(AState)))
    inherited::DrawScaledButton(ACanvas, R, AState, AScaleFactor, ADrawBorder, AIsToolButton, APart, AColor);
}

bool P::IsButtonHotTrack() { return true; }

void P::DrawButtonCaption(TcxCanvas* ACanvas, const TRect& R, const TdxScaleFactor* AScaleFactor, bool AWordWrap,
                          bool AWithBorder, TColor AColor, TcxButtonState AState, const String& AText) {
  const HTHEME theme = OpenThemeForScaleFactor(totButton, AScaleFactor);
  if (!theme) {
    inherited::DrawButtonCaption(ACanvas, R, AScaleFactor, AWordWrap, AWithBorder, AColor, AState, AText);
    return;
  }
  ACanvas->Font()->SetColor(AColor == clDefault ? ButtonSymbolColor(AState) : AColor);
  UxDrawThemeTextString(theme, ACanvas->Handle(), BP_PUSHBUTTON, ButtonState(AState), AText, -1,
                        DT_CENTER | DT_VCENTER | DT_SINGLELINE, 0, R);
}

// ---------------------------------------------------------------------------
// Command links

TColor P::DefaultCommandLinkTextColor(TcxButtonState AState, TColor ADefaultColor) {
  if (IsWinVistaOrLater)
    if (const auto color = ThemeColor(totButton, BP_COMMANDLINK, ButtonState(AState), TMT_TEXTCOLOR)) return *color;
  return inherited::DefaultCommandLinkTextColor(AState, ADefaultColor);
}

void P::DrawScaledCommandLinkBackground(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                        const TdxScaleFactor* AScaleFactor, TColor AColor) {
  if (IsWinVistaOrLater &&
      DoDrawThemeBackground(ACanvas, totButton, AScaleFactor, R, BP_COMMANDLINK, ButtonState(AState)))
    return;
  TcxLookAndFeelPaintersManager* manager = GetPaintersManager();
  TcxCustomLookAndFeelPainter* flat = manager ? manager->GetPainter(lfsFlat) : nullptr;
  if (!flat) {
    inherited::DrawScaledCommandLinkBackground(ACanvas, R, AState, AScaleFactor, AColor);
    return;
  }
  const bool bordered = AState == cxbsHot || AState == cxbsPressed;
  flat->DrawScaledButton(static_cast<TcxCustomCanvas*>(ACanvas), R, AState, AScaleFactor, bordered, false, cxbpButton,
                         AColor);
}

void P::DrawScaledCommandLinkGlyph(TcxCanvas* ACanvas, const TPoint& AGlyphPos, TcxButtonState AState,
                                   const TdxScaleFactor* AScaleFactor) {
  const HTHEME theme = IsWinVistaOrLater ? OpenThemeForScaleFactor(totButton, AScaleFactor) : nullptr;
  if (!theme) {
    inherited::DrawScaledCommandLinkGlyph(ACanvas, AGlyphPos, AState, AScaleFactor);
    return;
  }
  TRect r = TRect::CreateFromSize(GetScaledCommandLinkGlyphSize(AScaleFactor));
  r.Offset(AGlyphPos);
  PaintMirroredOnCanvas(ACanvas, r, [&] {
    UxDrawThemeBackground(theme, ACanvas->Handle(), BP_COMMANDLINKGLYPH, ButtonState(AState), r);
  });
}

TSize P::GetScaledCommandLinkGlyphSize(const TdxScaleFactor* AScaleFactor) {
  TSize size;
  if (IsWinVistaOrLater &&
      GetScaledThemePartSize(totButton, AScaleFactor, BP_COMMANDLINKGLYPH, 0, tpsThemeHandle, size))
    return size;
  return inherited::GetScaledCommandLinkGlyphSize(AScaleFactor);
}

TRect P::GetScaledCommandLinkMargins(const TdxScaleFactor* AScaleFactor) {
  if (IsWinVistaOrLater)
    if (const auto margins = ContentMargins(OpenTheme(totButton), BP_COMMANDLINK, 0, AScaleFactor)) return *margins;
  return inherited::GetScaledCommandLinkMargins(AScaleFactor);
}

// ---------------------------------------------------------------------------
// Group boxes, panels, progress bars and drop-down lists

void P::DrawGroupBoxFrame(TcxCanvas* ACanvas, const TRect& R, bool AEnabled,
                          TcxGroupBoxCaptionPosition ACaptionPosition, TcxBorders ABorders) {
  if (!DoDrawThemeBackground(ACanvas, totButton, nullptr, R, BP_GROUPBOX, AEnabled ? GBS_NORMAL : GBS_DISABLED))
    inherited::DrawGroupBoxFrame(ACanvas, R, AEnabled, ACaptionPosition, ABorders);
}

TColor P::GroupBoxTextColor(bool AEnabled, TcxGroupBoxCaptionPosition ACaptionPosition) {
  return ThemeColor(totButton, BP_GROUPBOX, AEnabled ? GBS_NORMAL : GBS_DISABLED, TMT_TEXTCOLOR)
      .value_or(inherited::GroupBoxTextColor(AEnabled, ACaptionPosition));
}

void P::DrawPanelBackground(TcxCanvas* ACanvas, TWinControl* AControl, const TRect& ABounds, TColor AColorFrom,
                            TColor) {
  if (AColorFrom == clDefault)
    DrawParentBackground(AControl, ACanvas, ABounds, false);
  else
    ACanvas->FillRect(ABounds, AColorFrom);
}

TColor P::ProgressBarTextColor(TcxProgressBarPart APart) {
  if (!IsThemedObjectTypeAvailable(totProgress)) return inherited::ProgressBarTextColor(APart);
  return APart == pbpBackground ? clWindowText : clHighlightText;
}

void P::DrawDropDownListBoxBackground(TcxCanvas* ACanvas, const TRect& R, bool AHasBorders) {
  if (!AreVisualStylesAvailable()) {
    inherited::DrawDropDownListBoxBackground(ACanvas, R, AHasBorders);
    return;
  }
  TRect r = R;
  if (AHasBorders) {
    const auto edge = [&](int AProperty, TColor ADefault) {
      ACanvas->FrameRect(r, ThemeColor(totMenu, MENU_POPUPBACKGROUND, 0, AProperty).value_or(ADefault));
      r.Deflate(1);
    };
    edge(TMT_EDGELIGHTCOLOR, clBtnShadow);
    edge(TMT_EDGEHIGHLIGHTCOLOR, clBtnHighlight);
  }
  if (!DoDrawThemeBackground(ACanvas, totMenu, nullptr, r, MENU_POPUPBACKGROUND, 0)) ACanvas->FillRect(r, clWindow);
}

void P::DrawDropDownListBoxScaledGutterBackground(TcxCanvas* ACanvas, const TRect& R,
                                                  const TdxScaleFactor* AScaleFactor) {
  if (!DoDrawThemeBackground(ACanvas, totMenu, AScaleFactor, R, MENU_POPUPGUTTER, 0))
    inherited::DrawDropDownListBoxScaledGutterBackground(ACanvas, R, AScaleFactor);
}

void P::DrawDropDownListBoxScaledSelection(TcxCanvas* ACanvas, const TRect& R, const TRect& AGutterRect,
                                           const TdxScaleFactor* AScaleFactor) {
  if (!DoDrawThemeBackground(ACanvas, totMenu, AScaleFactor, R, MENU_POPUPITEM, MPI_HOT))
    inherited::DrawDropDownListBoxScaledSelection(ACanvas, R, AGutterRect, AScaleFactor);
}

void P::DrawDropDownListBoxScaledSeparator(TcxCanvas* ACanvas, const TRect& R, const TRect& AGutterRect,
                                           const TdxScaleFactor* AScaleFactor) {
  const HTHEME theme = OpenThemeForScaleFactor(totMenu, AScaleFactor);
  TSize size;
  if (!theme || UxGetThemePartSizeNoRect(theme, nullptr, MENU_POPUPSEPARATOR, 0, TS_TRUE, size) != S_OK) {
    inherited::DrawDropDownListBoxScaledSeparator(ACanvas, R, AGutterRect, AScaleFactor);
    return;
  }
  const int top = R.Top + (R.Height() - size.cy) / 2;
  DoDrawThemeBackground(ACanvas, totMenu, AScaleFactor,
                        TRect(AGutterRect.Right + AScaleFactor->Apply(2), top, R.Right, top + size.cy),
                        MENU_POPUPSEPARATOR, 0);
}

TColor P::DropDownListBoxItemTextColor(bool ASelected) {
  return ThemeColor(totMenu, MENU_POPUPITEM, MPI_NORMAL, TMT_TEXTCOLOR)
      .value_or(inherited::DropDownListBoxItemTextColor(ASelected));
}

int P::DropDownListBoxScaledSeparatorSize(const TdxScaleFactor* AScaleFactor) {
  TSize size;
  if (GetScaledThemePartSize(totMenu, AScaleFactor, MENU_POPUPSEPARATOR, 0, tpsDefault, size)) return size.cy;
  return inherited::DropDownListBoxScaledSeparatorSize(AScaleFactor);
}

// ---------------------------------------------------------------------------
// Expand buttons

bool P::DrawExpandButtonFirst() { return false; }

bool P::IsPointOverGroupExpandButton(const TRect& R, const TPoint& APoint) {
  const HTHEME theme = OpenTheme(totExplorerBar);
  HRGN region = nullptr;
  if (!theme ||
      UxGetThemeBackgroundRegion(theme, nullptr, EBP_NORMALGROUPEXPAND, EBNGE_HOT, R, region) != S_OK || !region)
    return inherited::IsPointOverGroupExpandButton(R, APoint);
  const TOwnedRegion owned(region);
  return PtInRegion(owned.Get(), APoint.X, APoint.Y) != FALSE;
}

void P::DrawScaledExpandButton(TcxCustomCanvas* ACanvas, const TRect& R, bool AExpanded,
                               const TdxScaleFactor* AScaleFactor, TColor AColor, TcxExpandButtonState AState) {
  if (!DoDrawScaledThemeBackground(ACanvas, totTreeView, AScaleFactor, R, TVP_GLYPH,
                                   AExpanded ? GLPS_OPENED : GLPS_CLOSED))
    inherited::DrawScaledExpandButton(ACanvas, R, AExpanded, AScaleFactor, AColor, AState);
}

int P::ScaledExpandButtonSize(const TdxScaleFactor* AScaleFactor) {
  TSize size;
  if (GetScaledThemePartSize(totTreeView, AScaleFactor, TVP_GLYPH, GLPS_OPENED, tpsThemeHandle, size))
    return size.cx;
  return inherited::ScaledExpandButtonSize(AScaleFactor);
}

void P::DrawScaledGroupExpandButton(TcxCustomCanvas* ACanvas, const TRect& R, bool AExpanded, TcxButtonState AState,
                                    const TdxScaleFactor* AScaleFactor) {
  // The explorer bar has normal, hot and pressed pictures only.
  static constexpr int states[cxButtonStateCount] = {1, 1, 2, 3, 1};
  if (!DoDrawThemeBackground(ACanvas, totExplorerBar, AScaleFactor, R,
                             AExpanded ? EBP_NORMALGROUPCOLLAPSE : EBP_NORMALGROUPEXPAND, states[AState]))
    inherited::DrawScaledGroupExpandButton(ACanvas, R, AExpanded, AState, AScaleFactor);
}

int P::ScaledGroupExpandButtonSize(const TdxScaleFactor* AScaleFactor) {
  TSize size;
  if (GetScaledThemePartSize(totExplorerBar, AScaleFactor, EBP_NORMALGROUPEXPAND, EBNGE_NORMAL, tpsDefault, size))
    return size.cx;
  return inherited::ScaledGroupExpandButtonSize(AScaleFactor);
}

void P::DrawScaledSmallExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor ABorderColor,
                                    const TdxScaleFactor* AScaleFactor, TColor AColor) {
  if (OpenThemeForScaleFactor(totTreeView, AScaleFactor))
    DrawScaledExpandButton(static_cast<TcxCustomCanvas*>(ACanvas), R, AExpanded, AScaleFactor, clDefault, cebsNormal);
  else
    inherited::DrawScaledSmallExpandButton(ACanvas, R, AExpanded, ABorderColor, AScaleFactor, AColor);
}

int P::ScaledSmallExpandButtonSize(const TdxScaleFactor* AScaleFactor) {
  return IsThemedObjectTypeAvailable(totTreeView) ? ScaledExpandButtonSize(AScaleFactor)
                                                  : inherited::ScaledSmallExpandButtonSize(AScaleFactor);
}

void P::DrawTreeViewExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, bool AExplorerStyle,
                                 const TdxScaleFactor* AScaleFactor, TColor AColor, TcxExpandButtonState AState) {
  if (AExplorerStyle &&
      DoDrawScaledThemeBackground(ACanvas, totExplorerTreeView, AScaleFactor, R, TVP_GLYPH,
                                  AExpanded ? GLPS_OPENED : GLPS_CLOSED)) {
    ACanvas->ExcludeClipRect(R);
    return;
  }
  inherited::DrawTreeViewExpandButton(ACanvas, R, AExpanded, AExplorerStyle, AScaleFactor, AColor, AState);
}

TSize P::TreeViewExpandButtonSize(bool AExplorerStyle, const TdxScaleFactor* AScaleFactor) {
  TSize size;
  if (GetScaledThemePartSize(AExplorerStyle ? totExplorerTreeView : totTreeView, AScaleFactor, TVP_GLYPH,
                             GLPS_OPENED, tpsThemeHandle, size))
    return size;
  return inherited::TreeViewExpandButtonSize(AExplorerStyle, AScaleFactor);
}

// ---------------------------------------------------------------------------
// Check boxes, radio buttons and the toggle switch

int P::CheckBorderSize() { return IsThemedObjectTypeAvailable(totButton) ? 0 : inherited::CheckBorderSize(); }

void P::DrawCheckBorder(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState) {
  if (!IsThemedObjectTypeAvailable(totButton)) inherited::DrawCheckBorder(ACanvas, R, AState);
}

TSize P::ScaledCheckButtonSize(const TdxScaleFactor* AScaleFactor) {
  TSize size;
  if (GetScaledThemePartSize(totButton, AScaleFactor, BP_CHECKBOX, CBS_CHECKEDNORMAL, tpsThemeHandle, size))
    return size;
  return inherited::ScaledCheckButtonSize(AScaleFactor);
}

void P::DrawScaledCheck(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState, TcxCheckBoxState ACheckState,
                        TColor AColor, const TdxScaleFactor* AScaleFactor, bool ADrawBackground) {
  // Four states (normal, hot, pressed, disabled) per check state.
  const int state = CBS_UNCHECKEDNORMAL + 4 * ACheckState + PlainState(AState) - 1;
  if (!DoDrawScaledThemeBackground(ACanvas, totButton, AScaleFactor, R, BP_CHECKBOX, state))
    inherited::DrawScaledCheck(ACanvas, R, AState, ACheckState, AColor, AScaleFactor, ADrawBackground);
}

void P::DrawScaledRadioButton(TcxCanvas* ACanvas, int X, int Y, TcxButtonState AButtonState, bool AChecked,
                              bool AFocused, TColor ABrushColor, const TdxScaleFactor* AScaleFactor,
                              bool AIsDesigning) {
  const HTHEME theme = OpenThemeForScaleFactor(totButton, AScaleFactor);
  if (!theme) {
    inherited::DrawScaledRadioButton(ACanvas, X, Y, AButtonState, AChecked, AFocused, ABrushColor, AScaleFactor,
                                     AIsDesigning);
    return;
  }
  const int state = (AChecked ? RBS_CHECKEDNORMAL : RBS_UNCHECKEDNORMAL) + PlainState(AButtonState) - 1;
  const TSize size = ScaledRadioButtonSize(AScaleFactor);
  DrawScaledThemeBackground(theme, ACanvas->Handle(), BP_RADIOBUTTON, state, TRect(X, Y, X + size.cx, Y + size.cy),
                            AScaleFactor, false, true);
}

TSize P::ScaledRadioButtonSize(const TdxScaleFactor* AScaleFactor) {
  TSize size;
  if (GetScaledThemePartSize(totButton, AScaleFactor, BP_RADIOBUTTON, RBS_UNCHECKEDNORMAL, tpsThemeHandle, size))
    return size;
  return inherited::ScaledRadioButtonSize(AScaleFactor);
}

void P::DrawScaledToggleSwitchState(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState, bool AChecked,
                                    const TdxScaleFactor*) {
  ACanvas->FillRect(ABounds, ToggleSwitchToggleColor(AChecked));
  ACanvas->FrameRect(ABounds, static_cast<TColor>(0x707070));
}

void P::DrawScaledToggleSwitchThumb(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                                    const TdxScaleFactor* AScaleFactor) {
  TRect thumb = ABounds;
  thumb.Deflate(1);
  DrawScaledButton(ACanvas, thumb, AState, AScaleFactor, true, false, cxbpButton, clDefault);
}

TColor P::ToggleSwitchToggleColor(bool AChecked) { return static_cast<TColor>(AChecked ? 0xA0A0A0 : 0xC8C8C8); }

// ---------------------------------------------------------------------------
// Bevels and tokens

TSize P::GetBevelMinimalShapeSize(TdxBevelShape) { return TSize(6, 6); }

void P::DrawBevelFrame(TcxCustomCanvas* ACanvas, const TRect& R, TColor AColor1, TColor AColor2, bool ABoxStyle) {
  if (!DoDrawThemeBackground(ACanvas, totButton, nullptr, R, BP_GROUPBOX, GBS_NORMAL))
    inherited::DrawBevelFrame(ACanvas, R, AColor1, AColor2, ABoxStyle);
}

void P::DrawBevelLine(TcxCustomCanvas* ACanvas, const TRect& R, TColor AColor1, TColor AColor2, bool AIsVertical) {
  if (!DoDrawThemeBackground(ACanvas, totToolBar, nullptr, R, AIsVertical ? TP_SEPARATOR : TP_SEPARATORVERT, 1))
    inherited::DrawBevelLine(ACanvas, R, AColor1, AColor2, AIsVertical);
}

void P::DrawScaledTokenBackground(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                  const TdxScaleFactor* AScaleFactor) {
  const HTHEME theme = OpenThemeForScaleFactor(totButton, AScaleFactor);
  if (!theme) {
    inherited::DrawScaledTokenBackground(ACanvas, R, AState, AScaleFactor);
    return;
  }
  if (R.IsEmpty() || (AState != cxbsHot && AState != cxbsPressed)) return;
  // The button's margins fall outside R: only its face shows.
  TRect r = R;
  if (const auto margins = ContentMargins(theme, BP_PUSHBUTTON, 0, AScaleFactor))
    r = TRect(R.Left - margins->Left, R.Top - margins->Top, R.Right + margins->Right, R.Bottom + margins->Bottom);
  const TcxCanvasStateScope state(ACanvas);
  ACanvas->IntersectClipRect(R);
  DoDrawThemeBackground(ACanvas, totButton, AScaleFactor, r, BP_PUSHBUTTON, ButtonState(AState));
}

// ---------------------------------------------------------------------------
// Scroll bars, size grips, small buttons and popup windows

void P::DoDrawScaledScrollBarPart(TcxCustomCanvas* ACanvas, bool AHorizontal, const TdxScaleFactor* AScaleFactor,
                                  TcxButtonState AState, TcxScrollBarPart APart, const TRect& R) {
  if (R.IsEmpty()) return;
  const HTHEME theme = OpenThemeForScaleFactor(totScrollBar, AScaleFactor);
  if (!theme) {
    inherited::DoDrawScaledScrollBarPart(ACanvas, AHorizontal, AScaleFactor, AState, APart, R);
    return;
  }
  const int state = PlainState(AState);
  const auto draw = [&](int APartId) {
    ACanvas->DrawNativeObject(R, ThemeKey(theme, R, APartId, state), [&](TcxCanvas* ACanvas, const TRect& ARect) {
      UxDrawThemeBackground(theme, ACanvas->Handle(), APartId, state, ARect);
    });
  };
  switch (APart) {
    case sbpLineUp:
    case sbpLineDown:
      DrawScaledArrow(ACanvas, R, AState, ScrollBarLineArrow(AHorizontal, APart), AScaleFactor, true);
      break;
    case sbpThumbnail: {
      const int part = AHorizontal ? SBP_THUMBBTNHORZ : SBP_THUMBBTNVERT;
      draw(part);
      // The gripper goes on a thumb longer than the part is wide.
      TSize size;
      const bool gripper = UxGetThemePartSizeNoRect(theme, nullptr, part, state, TS_TRUE, size) != S_OK ||
                           AScaleFactor->Apply(AHorizontal ? size.cy : size.cx, GetThemeHandleScaleFactor(theme)) <
                               (AHorizontal ? R.Width() : R.Height());
      if (gripper) draw(AHorizontal ? SBP_GRIPPERHORZ : SBP_GRIPPERVERT);
      break;
    }
    case sbpPageUp:
      draw(IsVertical(AHorizontal) ? SBP_LOWERTRACKVERT : SBP_LOWERTRACKHORZ);
      break;
    case sbpPageDown:
      draw(IsVertical(AHorizontal) ? SBP_UPPERTRACKVERT : SBP_UPPERTRACKHORZ);
      break;
    case sbpNone: break;
  }
}

int P::ScaledScrollBarMinimalThumbSize(bool AVertical, const TdxScaleFactor* AScaleFactor) {
  const HTHEME theme = OpenTheme(totScrollBar);
  const int part = AVertical ? SBP_THUMBBTNVERT : SBP_THUMBBTNHORZ;
  TSize size;
  if (!theme || UxGetThemePartSizeNoRect(theme, nullptr, part, SCRBS_NORMAL, TS_MIN, size) != S_OK)
    return inherited::ScaledScrollBarMinimalThumbSize(AVertical, AScaleFactor);
  int result = AVertical ? size.cy : size.cx;
  TRect margins;
  if (IsWinVistaOrLater && UxGetThemeMarginsRect(theme, part, SCRBS_NORMAL, TMT_CONTENTMARGINS, margins) == S_OK)
    result += AVertical ? margins.Top + margins.Bottom : margins.Left + margins.Right;
  return AScaleFactor->Apply(result, GetThemeHandleScaleFactor(theme));
}

void P::DoDrawSizeGrip(TcxCanvas* ACanvas, const TRect& ARect, const TdxScaleFactor* AScaleFactor) {
  if (!DoDrawThemeBackground(ACanvas, totScrollBar, AScaleFactor, ARect, SBP_SIZEBOX, SZB_RIGHTALIGN))
    inherited::DoDrawSizeGrip(ACanvas, ARect, AScaleFactor);
}

TSize P::ScaledSizeGripSize(const TdxScaleFactor* AScaleFactor) {
  const int source = IsWin8OrLater ? tpsThemeHandle : IsWinVistaOrLater ? tpsSystem : tpsDefault;
  TSize size;
  if (GetScaledThemePartSize(totScrollBar, AScaleFactor, SBP_SIZEBOX, SZB_RIGHTALIGN, source, size)) return size;
  return inherited::ScaledSizeGripSize(AScaleFactor);
}

void P::DrawScaledSmallButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                              const TdxScaleFactor* AScaleFactor) {
  DrawScaledButton(ACanvas, R, AState, AScaleFactor, true, false, cxbpButton, clDefault);
}

void P::DrawEditPopupWindowBorder(TcxCanvas* ACanvas, TRect& R, TcxEditPopupBorderStyle, bool) {
  constexpr int ListBoxBorderPart = 3;
  if (!IsWinVistaOrLater || !DoDrawThemeBackground(ACanvas, totListBox, nullptr, R, ListBoxBorderPart, 3))
    ACanvas->FrameRect(R, clBtnText);
  R.Deflate(1);
}

int P::GetEditPopupWindowBorderWidth(TcxEditPopupBorderStyle) { return 1; }

int P::GetEditPopupWindowClientEdgeWidth(TcxEditPopupBorderStyle) { return 2; }

// ---------------------------------------------------------------------------
// Headers and sorting marks

void P::DrawScaledHeader(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState, TcxNeighbors ANeighbors,
                         TcxBorders ABorders, const TdxScaleFactor* AScaleFactor, bool AIsLast, bool AIsGroup) {
  // Windows 10's header items are translucent over the window colour.
  if (IsWin10OrLater) ACanvas->FillRect(ABounds, clWindow);
  const int state = AState == cxbsHot ? HIS_HOT : AState == cxbsPressed ? HIS_PRESSED : HIS_NORMAL;
  // The blue and olive Windows XP schemes close the row with their own
  // right-hand item.
  const TdxOffice11Scheme scheme = Office11Scheme();
  const bool xpRightItem = AIsLast && state == HIS_NORMAL &&
                           (scheme == TdxOffice11Scheme::Blue || scheme == TdxOffice11Scheme::Olive);
  if (!DoDrawThemeBackground(ACanvas, totHeader, AScaleFactor, ABounds, xpRightItem ? HP_HEADERITEMRIGHT : HP_HEADERITEM,
                             state))
    inherited::DrawScaledHeader(ACanvas, ABounds, AState, ANeighbors, ABorders, AScaleFactor, AIsLast, AIsGroup);
}

void P::DrawScaledHeader(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                         TcxNeighbors ANeighbors, TcxBorders ABorders, TcxButtonState AState,
                         TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert, bool AMultiLine,
                         bool AShowEndEllipsis, const String& AText, TFont* AFont, TColor ATextColor, TColor ABkColor,
                         const TdxScaleFactor* AScaleFactor, const TcxDrawBackgroundEvent& AOnDrawBackground,
                         bool AIsLast, bool AIsGroup) {
  const HTHEME theme = ThemeFor(totHeader, AScaleFactor);
  if (!theme) {
    inherited::DrawScaledHeader(ACanvas, ABounds, ATextAreaBounds, ANeighbors, ABorders, AState, AAlignmentHorz,
                                AAlignmentVert, AMultiLine, AShowEndEllipsis, AText, AFont, ATextColor, ABkColor,
                                AScaleFactor, AOnDrawBackground, AIsLast, AIsGroup);
    return;
  }
  DrawScaledHeader(ACanvas, ABounds, AState, ANeighbors, ABorders, AScaleFactor, AIsLast, AIsGroup);
  TRect text = ATextAreaBounds;
  if (AState == cxbsPressed) text.Offset(1, 1);
  const int state = AState == cxbsHot ? HIS_HOT : AState == cxbsPressed ? HIS_PRESSED : HIS_NORMAL;
  DrawThemedCaption(ACanvas, theme, HP_HEADERITEM, state, text, AAlignmentHorz, AAlignmentVert, AMultiLine,
                    AShowEndEllipsis, false, AText, AFont, ATextColor);
}

void P::DrawHeaderPressed(TcxCanvas*, const TRect&) {}

void P::DrawScaledHeaderControlSection(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                                       TcxNeighbors, TcxBorders ABorders, TcxButtonState AState,
                                       TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert, bool AMultiLine,
                                       bool AShowEndEllipsis, const String& AText, TFont* AFont, TColor ATextColor,
                                       TColor ABkColor, const TdxScaleFactor* AScaleFactor) {
  ACanvas->FillRect(ABounds, clBtnFace);
  DrawScaledHeader(ACanvas, ABounds, ATextAreaBounds, TcxNeighbors{nRight}, ABorders, AState, AAlignmentHorz,
                   AAlignmentVert, AMultiLine, AShowEndEllipsis, AText, AFont, ATextColor, ABkColor, AScaleFactor);
}

int P::HeaderBorderSize() {
  if (const auto content = ContentRect(OpenTheme(totHeader), HP_HEADERITEM, HIS_NORMAL, TRect(0, 0, 100, 100)))
    return std::max(1, (content->Left + content->Top) / 2);
  return inherited::HeaderBorderSize();
}

int P::HeaderControlSectionBorderSize(TcxButtonState AState) {
  return OpenTheme(totHeader) ? HeaderBorderSize() : inherited::HeaderControlSectionBorderSize(AState);
}

TRect P::HeaderControlSectionContentBounds(const TRect& ABounds, TcxButtonState AState) {
  if (!OpenTheme(totHeader)) return inherited::HeaderControlSectionContentBounds(ABounds, AState);
  TRect result = ABounds;
  result.Deflate(HeaderBorderSize());
  return result;
}

bool P::IsHeaderHotTrack() { return true; }

void P::DrawScaledSortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
                              const TdxScaleFactor* AScaleFactor) {
  DrawSortingTriangle(ACanvas, R, clBtnShadow, clBtnShadow, AAscendingSorting, AScaleFactor);
}

void P::DrawScaledSummarySortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
                                     const TdxScaleFactor* AScaleFactor) {
  DrawSummarySortingTriangle(ACanvas, R, clBtnShadow, clBtnShadow, AAscendingSorting, AScaleFactor);
}

TSize P::ScaledSortingMarkSize(const TdxScaleFactor* AScaleFactor) { return AScaleFactor->Apply(TSize(7, 8)); }

// ---------------------------------------------------------------------------
// The filter button and hints

void P::DrawScaledFilterDropDownButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                       bool AIsFilterActive, const TdxScaleFactor* AScaleFactor) {
  if (!DoDrawThemeBackground(ACanvas, totComboBox, AScaleFactor, R, CP_DROPDOWNBUTTON, PlainState(AState)))
    inherited::DrawScaledFilterDropDownButton(ACanvas, R, AState, AIsFilterActive, AScaleFactor);
}

TColor P::GetHintBorderColor() { return OpenTheme(totToolTip) ? clWindowFrame : inherited::GetHintBorderColor(); }

void P::DrawHintBackground(TcxCanvas* ACanvas, const TRect& ARect, TColor AColor) {
  // Drawn four pixels larger all round and clipped to ARect: the part's
  // own rounded border stays outside, the hint window draws its border.
  TRect r = ARect;
  r.Inflate(4, 4);
  bool drawn = false;
  {
    const TcxClipRegionScope clip(ACanvas, ARect);
    drawn = DoDrawThemeBackground(ACanvas, totToolTip, nullptr, r, TTP_STANDARD, TTSS_NORMAL);
  }
  if (!drawn) inherited::DrawHintBackground(ACanvas, ARect, AColor);
}

TColor P::ScreenTipGetDescriptionTextColor() {
  return ThemeColor(totToolTip, TTP_STANDARD, TTSS_NORMAL, TMT_TEXTCOLOR)
      .value_or(inherited::ScreenTipGetDescriptionTextColor());
}

TColor P::ScreenTipGetTitleTextColor() {
  return OpenTheme(totToolTip) ? ScreenTipGetDescriptionTextColor() : inherited::ScreenTipGetTitleTextColor();
}

void P::DrawFilterRowSeparator(TcxCanvas* ACanvas, const TRect& ARect, TColor ABackgroundColor) {
  inherited::DrawFilterRowSeparator(ACanvas, ARect, ABackgroundColor);
  if (IsWin10OrLater) ACanvas->FrameRect(ARect, DefaultGridLineColor(), 1, TcxBorders{bTop, bRight, bBottom});
}

// ---------------------------------------------------------------------------
// Footers

int P::FooterBorderSize() { return OpenTheme(totEdit) ? 1 : inherited::FooterBorderSize(); }

void P::DrawFooterBorder(TcxCanvas* ACanvas, const TRect& R) {
  if (const HTHEME theme = OpenTheme(totEdit))
    UxDrawThemeEdge(theme, ACanvas->Handle(), 0, 0, R, BDR_RAISEDINNER, BF_RECT);
  else
    inherited::DrawFooterBorder(ACanvas, R);
}

int P::FooterCellBorderSize() {
  if (const auto content = ContentRect(OpenTheme(totTrackBar), TKP_TRACK, TRS_NORMAL, TRect(0, 0, 100, 100)))
    return content->Left;
  return inherited::FooterCellBorderSize();
}

int P::FooterCellOffset() { return OpenTheme(totTrackBar) ? 1 : inherited::FooterCellOffset(); }

void P::DrawFooterCell(TcxCanvas* ACanvas, const TRect& ABounds, TAlignment AAlignmentHorz,
                       TcxAlignmentVert AAlignmentVert, bool AMultiLine, const String& AText, TFont* AFont,
                       TColor ATextColor, TColor ABkColor, const TcxDrawBackgroundEvent& AOnDrawBackground) {
  const HTHEME theme = OpenTheme(totTrackBar);
  if (!theme) {
    inherited::DrawFooterCell(ACanvas, ABounds, AAlignmentHorz, AAlignmentVert, AMultiLine, AText, AFont, ATextColor,
                              ABkColor, AOnDrawBackground);
    return;
  }
  // The sunken track is the cell's well.
  DoDrawThemeBackground(ACanvas, totTrackBar, nullptr, ABounds, TKP_TRACK, TRS_NORMAL);
  DrawThemedCaption(ACanvas, theme, TKP_TRACK, TRS_NORMAL, FooterCellTextAreaBounds(ABounds), AAlignmentHorz,
                    AAlignmentVert, AMultiLine, false, false, AText, AFont, ATextColor);
}

bool P::FooterDrawCellsFirst() { return false; }

TColor P::FooterSeparatorColor() { return DefaultGridLineColor(); }

// ---------------------------------------------------------------------------
// Filter buttons, the small close button and the indicator

void P::DrawScaledFilterCloseButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                    const TdxScaleFactor* AScaleFactor) {
  const HTHEME theme = OpenThemeForScaleFactor(totWindow, AScaleFactor);
  if (!theme) {
    inherited::DrawScaledFilterCloseButton(ACanvas, R, AState, AScaleFactor);
    return;
  }
  // Without per-DPI themes the system's part is 96-DPI sized however the
  // theme handle is labelled: scale it ourselves.
  const bool forceScale = !IsPerDpiThemeAvailable() && !AScaleFactor->Equals(DefaultScaleFactor());
  DrawScaledThemeBackground(theme, ACanvas->Handle(), WP_SMALLCLOSEBUTTON, PlainState(AState), R, AScaleFactor,
                            forceScale, true);
}

TPoint P::ScaledFilterActivateButtonSize(const TdxScaleFactor* AScaleFactor) {
  TSize size;
  if (GetScaledThemePartSize(totButton, AScaleFactor, BP_CHECKBOX, CBS_CHECKEDNORMAL, tpsThemeHandle, size))
    return TPoint(size.cx, size.cy);
  return inherited::ScaledFilterActivateButtonSize(AScaleFactor);
}

TPoint P::ScaledFilterCloseButtonSize(const TdxScaleFactor* AScaleFactor) {
  if (!OpenTheme(totWindow)) return inherited::ScaledFilterCloseButtonSize(AScaleFactor);
  const TSize size = ScaledSmallCloseButtonSize(AScaleFactor);
  const int margin = AScaleFactor->Apply(4);
  return TPoint(size.cx + margin, size.cy + margin);
}

TSize P::DoGetSmallCloseButtonSize() {
  const HTHEME theme = OpenTheme(totWindow);
  TSize size;
  if (!theme || UxGetThemePartSizeNoRect(theme, nullptr, WP_SMALLCLOSEBUTTON, CBS_NORMAL, TS_TRUE, size) != S_OK)
    return inherited::DoGetSmallCloseButtonSize();
  // Windows 8's themes give the button a few pixels only: too small to hit.
  if (IsWin8OrLater && (size.cx < 10 || size.cy < 10)) return TSize(13, 13);
  return size;
}

void P::DrawScaledIndicatorItem(TcxCanvas* ACanvas, const TRect& R, const TRect& AImageAreaBounds,
                                TcxIndicatorKind AKind, TColor AColor, const TdxScaleFactor* AScaleFactor,
                                const TcxDrawBackgroundEvent& AOnDrawBackground, TcxNeighbors ANeighbors,
                                bool APaintLeftSide) {
  // Before Windows 10 a themed header cell under the indicator looked out
  // of place: the Flat painter's cell is used instead.
  TcxLookAndFeelPaintersManager* manager = GetPaintersManager();
  TcxCustomLookAndFeelPainter* flat = !IsWin10OrLater && manager ? manager->GetPainter(lfsFlat) : nullptr;
  if (flat)
    flat->DrawScaledIndicatorItem(ACanvas, R, AImageAreaBounds, AKind, AColor, AScaleFactor, AOnDrawBackground,
                                  ANeighbors, APaintLeftSide);
  else
    TcxCustomLookAndFeelPainter::DrawScaledIndicatorItem(ACanvas, R, AImageAreaBounds, AKind, AColor, AScaleFactor,
                                                         AOnDrawBackground, ANeighbors, APaintLeftSide);
}

// ---------------------------------------------------------------------------
// Tabs

namespace {

// The pixels of ASource (AWidth x AHeight) with x and y exchanged into
// ADest (AHeight x AWidth): a quarter turn and a flip, its own inverse.
void Transpose(const std::uint32_t* ASource, int AWidth, int AHeight, std::uint32_t* ADest) {
  for (int y = 0; y < AHeight; ++y)
    for (int x = 0; x < AWidth; ++x) ADest[x * AHeight + y] = ASource[y * AWidth + x];
}

}  // namespace

void P::DrawTabItem(HTHEME ATheme, HDC DC, const TRect& R, TcxBorders ABorders, int AStateId, bool AVertical) {
  // Sides without a border are pushed out of the clip so that the part's
  // own edge is cut off there. Across the tab the selected tab reaches one
  // pixel into the pane; the others stop a pixel short of it.
  TRect part = R;
  if (!ABorders.Contains(AVertical ? bTop : bLeft)) part.Left -= 2;
  if (!ABorders.Contains(AVertical ? bBottom : bRight)) part.Right += 2;
  TRect clip = R;
  if (AStateId == TIS_SELECTED)
    ++part.Bottom;
  else
    --clip.Bottom;
  const TSavedDC saved(DC);
  IntersectClipRectWith(DC, clip);
  UxDrawThemeBackground(ATheme, DC, TABP_TABITEM, AStateId, part);
}

void P::DrawTabFace(TcxCanvas* ACanvas, HTHEME ATheme, const TRect& R, TcxBorders ABorders, int AStateId,
                    bool AVertical) {
  if (!AVertical) {
    DrawTabItem(ATheme, ACanvas->Handle(), R, ABorders, AStateId, false);
    return;
  }
  // A standing tab is the lying one drawn with x and y exchanged, over what
  // the canvas already shows.
  const int w = R.Width(), h = R.Height();
  const TMemoryDC upright = TMemoryDC::Dib32(ACanvas->Handle(), w, h);
  const TMemoryDC lying = TMemoryDC::Dib32(ACanvas->Handle(), h, w);
  if (!upright || !lying) return;
  BitBlt(upright.DC(), 0, 0, w, h, ACanvas->Handle(), R.Left, R.Top, SRCCOPY);
  GdiFlush();
  Transpose(upright.Bits(), w, h, lying.Bits());
  DrawTabItem(ATheme, lying.DC(), TRect(0, 0, h, w), ABorders, AStateId, true);
  GdiFlush();
  Transpose(lying.Bits(), h, w, upright.Bits());
  BitBlt(ACanvas->Handle(), R.Left, R.Top, w, h, upright.DC(), 0, 0, SRCCOPY);
}

void P::DrawTab(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders, const String& AText, TcxButtonState AState,
                bool AVertical, TFont* AFont, TColor ATextColor, TColor ABkColor, bool AShowPrefix) {
  const HTHEME theme = OpenTheme(totTab);
  if (!theme) {
    inherited::DrawTab(ACanvas, R, ABorders, AText, AState, AVertical, AFont, ATextColor, ABkColor, AShowPrefix);
    return;
  }
  if (R.IsEmpty()) return;
  const int state = PlainState(AState);
  DrawTabFace(ACanvas, theme, R, ABorders, state, AVertical);
  TRect text = R;
  if (state == TIS_SELECTED) (AVertical ? text.Right : text.Bottom) -= 2;
  DrawThemedCaption(ACanvas, theme, TABP_TABITEM, state, text, taCenter, vaCenter, false, false, AShowPrefix, AText,
                    AFont, ATextColor);
}

void P::DrawTabBorder(TcxCanvas* ACanvas, const TRect& R, TcxBorder ABorder, TcxBorders ABorders, bool AVertical) {
  // The theme's tab item carries its own border.
  if (!OpenTheme(totTab)) inherited::DrawTabBorder(ACanvas, R, ABorder, ABorders, AVertical);
}

void P::DrawTabsRoot(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders, bool AVertical) {
  const HTHEME theme = OpenTheme(totTab);
  if (!theme) {
    inherited::DrawTabsRoot(ACanvas, R, ABorders, AVertical);
    return;
  }
  // The pane is drawn past R on the side away from the tabs, so that only
  // its edge along the tabs shows; the other axis evens out the pane's
  // unequal content margins.
  TRect pane = R;
  const TRect content = ContentRect(theme, TABP_PANE, 0, R).value_or(R);
  if (AVertical) {
    pane.Right += 10;
    pane.Bottom += (R.Bottom - content.Bottom) - (content.Top - R.Top);
  } else {
    pane.Bottom += 10;
    pane.Right += (R.Right - content.Right) - (content.Left - R.Left);
  }
  const TcxClipRegionScope clip(ACanvas, R);
  UxDrawThemeBackground(theme, ACanvas->Handle(), TABP_PANE, 0, pane);
}

bool P::IsDrawTabImplemented(bool AVertical) {
  return IsThemedObjectTypeAvailable(totTab) || inherited::IsDrawTabImplemented(AVertical);
}

bool P::IsTabHotTrack(bool AVertical) {
  return IsThemedObjectTypeAvailable(totTab) || inherited::IsTabHotTrack(AVertical);
}

int P::TabBorderSize(bool AVertical) {
  return IsThemedObjectTypeAvailable(totTab) ? 1 : inherited::TabBorderSize(AVertical);
}

// ---------------------------------------------------------------------------
// Galleries and calendars

void P::DrawGalleryGroupHeader(TcxCanvas* ACanvas, const TRect& ABounds) {
  if (!IsWin10OrLater) inherited::DrawGalleryGroupHeader(ACanvas, ABounds);
}

bool P::DrawGalleryItemSelectionFirst() {
  return IsThemedObjectTypeAvailable(totExplorerListView) || inherited::DrawGalleryItemSelectionFirst();
}

void P::DrawGalleryItemSelection(TcxCustomCanvas* ACanvas, const TRect& R, const TdxGalleryItemViewState& AViewState) {
  constexpr int Hot = 2, Pressed = 3, Focused = 5, CheckedHot = 6;
  int state = LISS_NORMAL;
  if (AViewState.Pressed)
    state = Pressed;
  else if (AViewState.Checked)
    state = (AViewState.Hover || AViewState.Focused) && IsWinVistaOrLater ? CheckedHot : Pressed;
  else if (AViewState.Focused)
    state = Focused;
  else if (AViewState.Hover)
    state = Hot;
  if (!OpenTheme(totExplorerListView)) {
    inherited::DrawGalleryItemSelection(ACanvas, R, AViewState);
    return;
  }
  // An item in no particular state has no selection to draw.
  if (state != LISS_NORMAL && !DoDrawThemeBackground(ACanvas, totExplorerListView, nullptr, R, LVP_LISTITEM, state))
    inherited::DrawGalleryItemSelection(ACanvas, R, AViewState);
}

void P::DrawModernCalendarDateCellSelection(TcxCustomCanvas* ACanvas, const TRect& ARect,
                                            TcxCalendarElementStates AStates) {
  if (!OpenTheme(totExplorerListView)) {
    inherited::DrawModernCalendarDateCellSelection(ACanvas, ARect, AStates);
    return;
  }
  const bool hot = AStates.Contains(cesHot);
  const bool selected = AStates.Contains(cesSelected);
  if (hot || selected) {
    int state = LISS_HOT;
    if (selected && hot)
      state = LISS_HOTSELECTED;
    else if (selected)
      state = AStates.Contains(cesFocused) ? LISS_SELECTED : LISS_SELECTEDNOTFOCUS;
    DoDrawThemeBackground(ACanvas, totExplorerListView, nullptr, ARect, LVP_LISTITEM, state);
  }
  if (AStates.Contains(cesMarked)) ACanvas->FrameRect(ARect, GetModernCalendarMarkedCellBorderColor());
  if (AStates.Contains(cesFocused)) {
    TRect focus = ARect;
    focus.Deflate(1);
    ACanvas->FocusRectangle(focus);
  }
}

TColor P::GetModernCalendarHeaderTextColor(TcxCalendarElementStates AStates) {
  constexpr int TextStyleBodyText = 6;
  return ThemeColor(totTextStyle, TextStyleBodyText, 1, TMT_TEXTCOLOR)
      .value_or(inherited::GetModernCalendarHeaderTextColor(AStates));
}

// ---------------------------------------------------------------------------
// List views

void P::DrawListViewSortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
                                const TdxScaleFactor* AScaleFactor) {
  if (!IsWinSevenOrLater || !DoDrawThemeBackground(ACanvas, totHeader, AScaleFactor, R, HP_HEADERSORTARROW,
                                                   AAscendingSorting ? HSAS_SORTEDUP : HSAS_SORTEDDOWN))
    inherited::DrawListViewSortingMark(ACanvas, R, AAscendingSorting, AScaleFactor);
}

TSize P::GetListViewColumnHeaderSortingMarkSize(const TdxScaleFactor* AScaleFactor) {
  TSize size;
  if (IsWinSevenOrLater &&
      GetScaledThemePartSize(totHeader, AScaleFactor, HP_HEADERSORTARROW, HSAS_SORTEDDOWN, tpsThemeHandle, size) &&
      size.cx > 0 && size.cy > 0)
    return size;
  return inherited::GetListViewColumnHeaderSortingMarkSize(AScaleFactor);
}

void P::DrawListViewFocusRect(TcxCanvas* ACanvas, const TRect& ABounds, bool AExplorerStyle, bool AHot,
                              bool AInactive) {
  if (AInactive) return;
  if (!AExplorerStyle) {
    TRect r = ABounds;
    r.Deflate(1);
    ACanvas->FocusRectangle(r);
  } else if (!AHot) {
    ACanvas->FrameRect(ABounds, static_cast<TColor>(0xFFD199));
  }
}

void P::DrawListViewBackground(TcxCanvas* ACanvas, const TRect& ABounds, bool AExplorerStyle, bool AEnabled) {
  if (const auto color = ThemeColor(AExplorerStyle ? totItemsViewListView : totListView, 0, 0, TMT_FILLCOLOR))
    ACanvas->FillRect(ABounds, *color);
  else
    inherited::DrawListViewBackground(ACanvas, ABounds, AExplorerStyle, AEnabled);
}

void P::DrawListViewItemBackground(TcxCanvas* ACanvas, const TRect& ABounds, TdxListViewItemStates AState,
                                   bool AExplorerStyle) {
  if (!IsWinVistaOrLater || !OpenTheme(totItemsViewListView)) {
    inherited::DrawListViewItemBackground(ACanvas, ABounds, AState, AExplorerStyle);
    return;
  }
  const bool selected = AState.Contains(dxlisSelected);
  const bool hot = AState.Contains(dxlisHot);
  const bool inactive = AState.Contains(dxlisInactive);
  if (selected || hot) {
    int state = LISS_HOT;
    if (selected && hot)
      state = LISS_HOTSELECTED;
    else if (selected)
      state = inactive ? LISS_SELECTEDNOTFOCUS : LISS_SELECTED;
    DoDrawThemeBackground(ACanvas, totItemsViewListView, nullptr, ABounds, LVP_LISTITEM, state);
  } else {
    DrawListViewBackground(ACanvas, ABounds, AExplorerStyle, !AState.Contains(dxlisDisabled));
  }
  if (AState.Contains(dxlisFocused)) DrawListViewFocusRect(ACanvas, ABounds, AExplorerStyle, hot, inactive);
}

void P::DrawListViewGroupExpandButton(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                                      bool AExpanded, bool AExplorerStyle, const TdxScaleFactor* AScaleFactor) {
  // The list view has no default or disabled look: both draw as normal.
  static constexpr int states[cxButtonStateCount] = {1, 1, 2, 3, 1};
  if (!IsWinVistaOrLater ||
      !DoDrawThemeBackground(ACanvas, AExplorerStyle ? totItemsViewListView : totListView, AScaleFactor, ABounds,
                             AExpanded ? LVP_COLLAPSEBUTTON : LVP_EXPANDBUTTON, states[AState]))
    inherited::DrawListViewGroupExpandButton(ACanvas, ABounds, AState, AExpanded, AExplorerStyle, AScaleFactor);
}

void P::DrawListViewGroupHeaderBackground(TcxCanvas* ACanvas, const TRect& ABounds,
                                          TdxListViewGroupHeaderStates AState, bool AExplorerStyle,
                                          const TdxScaleFactor* AScaleFactor) {
  if (!IsWinVistaOrLater || !OpenTheme(totExplorerListView)) {
    inherited::DrawListViewGroupHeaderBackground(ACanvas, ABounds, AState, AExplorerStyle, AScaleFactor);
    return;
  }
  const bool hot = AState.Contains(dxlgsHot);
  const bool collapsed = AState.Contains(dxlgsCollapsed);
  int state = 0;
  if (hot) {
    state = collapsed ? LVGH_CLOSEHOT : LVGH_OPENHOT;
  } else {
    DrawListViewBackground(ACanvas, ABounds, AExplorerStyle, true);
    state = collapsed ? LVGH_CLOSE : LVGH_OPEN;
  }
  DoDrawThemeBackground(ACanvas, totExplorerListView, nullptr, ABounds, LVP_GROUPHEADER, state);
  if (AState.Contains(dxlgsFocused))
    DrawListViewFocusRect(ACanvas, ABounds, AExplorerStyle, hot, AState.Contains(dxlgsInactive));
}

void P::DrawListViewGroupHeaderLine(TcxCanvas* ACanvas, const TRect& ABounds) {
  ACanvas->FillRect(ABounds, static_cast<TColor>(0xE0C1B2));
}

TColor P::GetListViewColumnHeaderTextColor(TcxButtonState AState, bool AExplorerStyle) {
  static constexpr int states[cxButtonStateCount] = {HIS_NORMAL, HIS_NORMAL, HIS_HOT, HIS_PRESSED, HIS_NORMAL};
  return ThemeColor(AExplorerStyle ? totItemsViewHeader : totHeader, HP_HEADERITEM, states[AState], TMT_TEXTCOLOR)
      .value_or(inherited::GetListViewColumnHeaderTextColor(AState, AExplorerStyle));
}

TColor P::GetListViewItemTextColor(TdxListViewItemStates AState, bool AExplorerStyle) {
  const int state = AState.Contains(dxlisDisabled) ? MPI_DISABLED : MPI_NORMAL;
  return ThemeColor(totMenu, MENU_POPUPITEM, state, TMT_TEXTCOLOR)
      .value_or(inherited::GetListViewItemTextColor(AState, AExplorerStyle));
}

TColor P::GetListViewGroupTextColor(TdxListViewGroupTextKind AKind, TdxListViewGroupHeaderStates AState,
                                    bool AExplorerStyle) {
  static constexpr int properties[] = {TMT_HEADING1TEXTCOLOR, TMT_HEADING2TEXTCOLOR, TMT_BODYTEXTCOLOR};
  const int state = AState.Contains(dxlgsHot) ? LVGH_OPENHOT : AState.Contains(dxlgsFocused) ? LVGH_OPENSELECTED : LVGH_OPEN;
  return ThemeColor(AExplorerStyle ? totItemsViewListView : totListView, LVP_GROUPHEADER, state, properties[AKind])
      .value_or(inherited::GetListViewGroupTextColor(AKind, AState, AExplorerStyle));
}

// ---------------------------------------------------------------------------
// Layout and explorer views

TColor P::DefaultLayoutViewCaptionTextColor(TcxGroupBoxCaptionPosition ACaptionPosition, TcxButtonState AState) {
  return IsThemedObjectTypeAvailable(totTab) ? DefaultTabTextColor()
                                             : inherited::DefaultLayoutViewCaptionTextColor(ACaptionPosition, AState);
}

TColor P::DefaultLayoutViewContentTextColor(TcxButtonState AState) {
  return IsThemedObjectTypeAvailable(totTab) ? clMenuText : inherited::DefaultLayoutViewContentTextColor(AState);
}

TColor P::WinExplorerViewRecordTextColor(TcxButtonState AState) {
  return IsThemedObjectTypeAvailable(totTab) ? DefaultTabTextColor() : inherited::WinExplorerViewRecordTextColor(AState);
}

void P::LayoutViewDrawRecordCaption(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextRect,
                                    TcxGroupBoxCaptionPosition APosition, TcxButtonState AState, TColor AColor,
                                    TBitmap* ABitmap) {
  const HTHEME theme = OpenTheme(totTab);
  if (!theme) {
    inherited::LayoutViewDrawRecordCaption(ACanvas, ABounds, ATextRect, APosition, AState, AColor, ABitmap);
    return;
  }
  // A caption is a borderless tab; a disabled record's is the focused look.
  static constexpr int states[cxButtonStateCount] = {TIS_NORMAL, TIS_NORMAL, TIS_HOT, TIS_SELECTED, TIS_FOCUSED};
  LayoutViewDrawRecordBorder(ACanvas, ABounds, AState, cxBordersAll());
  if (!ABounds.IsEmpty()) DrawTabFace(ACanvas, theme, ABounds, {}, states[AState], APosition != cxgpTop);
}

bool P::DrawMenuItemFace(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState) {
  if (AState != cxbsHot && AState != cxbsPressed && AState != cxbsDisabled) return false;
  return DoDrawThemeBackground(ACanvas, totMenu, nullptr, ABounds, MENU_POPUPITEM,
                               AState == cxbsDisabled ? MPI_DISABLEDHOT : MPI_HOT);
}

void P::LayoutViewDrawItem(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState, TcxBorders ABorders) {
  if (!DrawMenuItemFace(ACanvas, ABounds, AState)) inherited::LayoutViewDrawItem(ACanvas, ABounds, AState, ABorders);
}

void P::WinExplorerViewDrawRecord(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState, TColor AColor,
                                  TBitmap* ABitmap) {
  if (!DrawMenuItemFace(ACanvas, ABounds, AState))
    inherited::WinExplorerViewDrawRecord(ACanvas, ABounds, AState, AColor, ABitmap);
}

// ---------------------------------------------------------------------------
// Scheduler, month headers and navigators

void P::DrawSchedulerScaledEventProgress(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& AProgress,
                                         const TcxViewParams& AViewParams, bool ATransparent,
                                         const TdxScaleFactor* AScaleFactor) {
  if (!OpenThemeForScaleFactor(totProgress, AScaleFactor)) {
    inherited::DrawSchedulerScaledEventProgress(ACanvas, ABounds, AProgress, AViewParams, ATransparent, AScaleFactor);
    return;
  }
  DoDrawThemeBackground(ACanvas, totProgress, AScaleFactor, ABounds, PP_BAR, 0);
  DoDrawThemeBackground(ACanvas, totProgress, AScaleFactor, AProgress, PP_CHUNK, 0);
}

TRect P::SchedulerEventProgressOffsets() { return TRect(3, 3, 3, 3); }

void P::DrawSchedulerScaledNavigatorButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                           const TdxScaleFactor* AScaleFactor) {
  static constexpr int states[cxButtonStateCount] = {TS_HOT, TS_HOT, TS_CHECKED, TS_PRESSED, TS_DISABLED};
  if (!DoDrawThemeBackground(ACanvas, totToolBar, AScaleFactor, R, TP_BUTTON, states[AState]))
    inherited::DrawSchedulerScaledNavigatorButton(ACanvas, R, AState, AScaleFactor);
}

void P::DrawSchedulerSplitterBorder(TcxCanvas* ACanvas, const TRect& R, const TcxViewParams& AViewParams,
                                    bool AIsHorizontal) {
  const auto border = OpenTheme(totListView) ? ThemeColor(totComboBox, CP_DROPDOWNBUTTON, CBXS_NORMAL, TMT_BORDERCOLOR)
                                             : std::nullopt;
  if (!border) {
    inherited::DrawSchedulerSplitterBorder(ACanvas, R, AViewParams, AIsHorizontal);
    return;
  }
  TRect inner = R;
  if (AIsHorizontal) {
    ACanvas->FillRect(TRect(R.Left, R.Top, R.Right, R.Top + 1), *border);
    ACanvas->FillRect(TRect(R.Left, R.Bottom - 1, R.Right, R.Bottom), *border);
    inner.Inflate(0, -1);
  } else {
    ACanvas->FillRect(TRect(R.Left, R.Top, R.Left + 1, R.Bottom), *border);
    ACanvas->FillRect(TRect(R.Right - 1, R.Top, R.Right, R.Bottom), *border);
    inner.Inflate(-1, 0);
  }
  ACanvas->FillRect(inner, AViewParams);
}

void P::DrawScaledMonthHeader(TcxCanvas* ACanvas, const TRect& ABounds, const String& AText,
                              TcxNeighbors ANeighbors, const TcxViewParams& AViewParams, TcxArrowDirections AArrows,
                              int ASideWidth, const TdxScaleFactor* AScaleFactor,
                              const TcxDrawBackgroundEvent& AOnDrawBackground) {
  DrawScaledHeader(ACanvas, ABounds, ABounds, ANeighbors, cxBordersAll(), cxbsNormal, taCenter, vaCenter, false, false,
                   AText, AViewParams.Font, AViewParams.TextColor, AViewParams.Color, AScaleFactor,
                   AOnDrawBackground, !ANeighbors.Contains(nRight));
  DrawMonthHeaderArrows(ACanvas, ABounds, AArrows, ASideWidth, clWindowText);
}

void P::DrawDateNavigatorDateHeader(TcxCanvas* ACanvas, TRect& R) {
  if (!DoDrawThemeBackground(ACanvas, totHeader, nullptr, R, HP_HEADERITEMLEFT, HILS_NORMAL))
    inherited::DrawDateNavigatorDateHeader(ACanvas, R);
}

void P::DrawSchedulerNavigationButtonContent(TcxCanvas* ACanvas, const TRect& ARect, const TRect& AArrowRect,
                                             bool AIsNextButton, TcxButtonState AState, bool AIsVertical) {
  const HTHEME theme = OpenTheme(totTab);
  if (!theme) {
    inherited::DrawSchedulerNavigationButtonContent(ACanvas, ARect, AArrowRect, AIsNextButton, AState, AIsVertical);
    return;
  }
  if (!ARect.IsEmpty()) {
    // The tab item is open at its bottom: the picture under the button is
    // turned so that the drawing lands the right way round once turned back.
    TcxRotationAngle turn = ra0, back = ra0;
    if (AIsVertical) {
      turn = AIsNextButton ? raMinus90 : raPlus90;
      back = AIsNextButton ? raPlus90 : raMinus90;
    } else if (!AIsNextButton) {
      turn = back = ra180;
    }
    const TOwned<TcxBitmap32> bitmap(
        NewWith<TcxBitmap32>([&](TcxBitmap32* ABitmap) { ABitmap->CreateSize(ARect.Width(), ARect.Height()); }));
    BitBlt(bitmap->Canvas()->Handle(), 0, 0, ARect.Width(), ARect.Height(), ACanvas->Handle(), ARect.Left, ARect.Top,
           SRCCOPY);
    bitmap->Rotate(turn);
    UxDrawThemeBackground(theme, bitmap->Canvas()->Handle(), TABP_TABITEM, PlainState(AState), bitmap->ClientRect());
    bitmap->Rotate(back);
    BitBlt(ACanvas->Handle(), ARect.Left, ARect.Top, ARect.Width(), ARect.Height(), bitmap->Canvas()->Handle(), 0, 0,
           SRCCOPY);
  }
  DrawSchedulerNavigationButtonArrow(ACanvas, AArrowRect, AIsNextButton, ButtonSymbolColor(AState, clDefault),
                                     AIsVertical);
}

TSize P::ScaledClockSize(const TdxScaleFactor* AScaleFactor) { return AScaleFactor->Apply(ClockFaceSize()); }

void P::DrawScaledClock(TcxCanvas* ACanvas, const TRect& ARect, TDateTime ADateTime, TColor ABackgroundColor,
                        const TdxScaleFactor* AScaleFactor) {
  DrawModernCalendarClock(ACanvas, ARect, ADateTime, ABackgroundColor, AScaleFactor);
}

TPoint P::NavigatorButtonPressedGlyphOffset() { return TPoint(0, 0); }

TSize P::NavigatorScaledButtonMinSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TSize(18, 19));
}

// ---------------------------------------------------------------------------
// Track bars and splitters

namespace {

// The track bar's thumb part: pointing up or left, down or right, or
// two-sided.
int TrackBarThumbPart(bool AHorizontal, TcxTrackBarTicksAlign ATicks) {
  switch (ATicks) {
    case tbtaUp: return AHorizontal ? TKP_THUMBTOP : TKP_THUMBLEFT;
    case tbtaDown: return AHorizontal ? TKP_THUMBBOTTOM : TKP_THUMBRIGHT;
    case tbtaBoth: break;
  }
  return AHorizontal ? TKP_THUMB : TKP_THUMBVERT;
}

}  // namespace

void P::CorrectThumbRect(TcxCanvas* ACanvas, TRect& ARect, bool AHorizontal, TcxTrackBarTicksAlign ATicks,
                         const TdxScaleFactor* AScaleFactor) {
  const HTHEME theme = OpenThemeForScaleFactor(totTrackBar, AScaleFactor);
  TSize size;
  if (!theme || UxGetThemePartSize(theme, ACanvas->Handle(), TrackBarThumbPart(AHorizontal, ATicks), TUS_NORMAL,
                                   &ARect, TS_DRAW, size) != S_OK) {
    inherited::CorrectThumbRect(ACanvas, ARect, AHorizontal, ATicks, AScaleFactor);
    return;
  }
  const int left = ARect.Left + (ARect.Width() - size.cx) / 2;
  const int top = ARect.Top + (ARect.Height() - size.cy) / 2;
  ARect = TRect(left, top, left + size.cx, top + size.cy);
}

void P::DrawTrackBarScaledTrack(TcxCanvas* ACanvas, const TRect& ARect, const TRect& ASelection, bool AShowSelection,
                                bool AEnabled, bool AHorizontal, TColor ATrackColor,
                                const TdxScaleFactor* AScaleFactor) {
  if (!DoDrawThemeBackground(ACanvas, totTrackBar, AScaleFactor, ARect, AHorizontal ? TKP_TRACK : TKP_TRACKVERT,
                             TRS_NORMAL))
    inherited::DrawTrackBarScaledTrack(ACanvas, ARect, ASelection, AShowSelection, AEnabled, AHorizontal, ATrackColor,
                                       AScaleFactor);
}

void P::DrawTrackBarScaledThumb(TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState, bool AHorizontal,
                                TcxTrackBarTicksAlign ATicks, TColor AThumbColor, const TdxScaleFactor* AScaleFactor) {
  const HTHEME theme = OpenThemeForScaleFactor(totTrackBar, AScaleFactor);
  if (!theme) {
    inherited::DrawTrackBarScaledThumb(ACanvas, ARect, AState, AHorizontal, ATicks, AThumbColor, AScaleFactor);
    return;
  }
  static constexpr int states[cxButtonStateCount] = {TUS_HOT, TUS_NORMAL, TUS_HOT, TUS_PRESSED, TUS_DISABLED};
  DrawScaledThemeBackground(theme, ACanvas->Handle(), TrackBarThumbPart(AHorizontal, ATicks), states[AState], ARect,
                            AScaleFactor);
}

void P::DrawRangeThumb(TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState, bool AHorizontal,
                       TColor AThumbColor, const TdxScaleFactor* AScaleFactor) {
  // From Vista on the theme's thumb is drawn a pixel short of its
  // rectangle along the track's cross axis.
  TRect r = ARect;
  if (IsWinVistaOrLater) ++(AHorizontal ? r.Right : r.Bottom);
  DrawTrackBarScaledThumb(ACanvas, r, AState, AHorizontal, tbtaBoth, AThumbColor, AScaleFactor);
}

void P::DrawRangeTrackBarScaledLeftThumb(TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState,
                                         bool AHorizontal, TcxTrackBarTicksAlign ATicks, TColor AThumbColor,
                                         const TdxScaleFactor* AScaleFactor) {
  if (OpenThemeForScaleFactor(totTrackBar, AScaleFactor))
    DrawRangeThumb(ACanvas, ARect, AState, AHorizontal, AThumbColor, AScaleFactor);
  else
    inherited::DrawRangeTrackBarScaledLeftThumb(ACanvas, ARect, AState, AHorizontal, ATicks, AThumbColor, AScaleFactor);
}

void P::DrawRangeTrackBarScaledRightThumb(TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState,
                                          bool AHorizontal, TcxTrackBarTicksAlign ATicks, TColor AThumbColor,
                                          const TdxScaleFactor* AScaleFactor) {
  if (OpenThemeForScaleFactor(totTrackBar, AScaleFactor))
    DrawRangeThumb(ACanvas, ARect, AState, AHorizontal, AThumbColor, AScaleFactor);
  else
    inherited::DrawRangeTrackBarScaledRightThumb(ACanvas, ARect, AState, AHorizontal, ATicks, AThumbColor,
                                                 AScaleFactor);
}

void P::DrawScaledSplitter(TcxCanvas* ACanvas, const TRect& ARect, bool AHighlighted, bool AClicked, bool AHorizontal,
                           const TdxScaleFactor* AScaleFactor, bool AHasCloseMark, TcxArrowDirection AArrowDirection) {
  // The themed look has no splitter line.
  if (AHasCloseMark)
    DrawSplitterCloseMark(ACanvas, ARect, AHighlighted, AClicked, AHorizontal, AScaleFactor, AArrowDirection);
}

void P::DrawScaledScrollBarSplitter(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                    const TdxScaleFactor* AScaleFactor) {
  inherited::DrawScaledScrollBarSplitter(ACanvas, R, AState, AScaleFactor);
  TRect splitter = R;
  splitter.Deflate(2);
  TcxCustomLookAndFeelPainter::DrawScaledSplitter(ACanvas, splitter, AState == cxbsHot, AState == cxbsPressed, false,
                                                  AScaleFactor, false, adLeft);
}

// ---------------------------------------------------------------------------
// Zoom buttons

void P::DrawScaledZoomButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                             const TdxScaleFactor* AScaleFactor, bool AZoomIn) {
  if (!DoDrawThemeBackground(ACanvas, totButton, AScaleFactor, R, BP_PUSHBUTTON, ButtonState(AState))) {
    if (AZoomIn)
      inherited::DrawScaledZoomInButton(ACanvas, R, AState, AScaleFactor);
    else
      inherited::DrawScaledZoomOutButton(ACanvas, R, AState, AScaleFactor);
    return;
  }
  TcxBitmap32* glyph = (AZoomIn ? FZoomInButtonGlyph : FZoomOutButtonGlyph).get();
  if (!glyph->Empty())
    DrawScaledImage(ACanvas->Canvas(), R, glyph, nullptr, -1, ifmNormal,
                    AState == cxbsDisabled ? idmDisabled : idmNormal, false, nullptr, AScaleFactor);
}

void P::DrawScaledZoomInButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                               const TdxScaleFactor* AScaleFactor) {
  DrawScaledZoomButton(ACanvas, R, AState, AScaleFactor, true);
}

void P::DrawScaledZoomOutButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                const TdxScaleFactor* AScaleFactor) {
  DrawScaledZoomButton(ACanvas, R, AState, AScaleFactor, false);
}

TSize P::GetScaledZoomButtonSize(const TdxScaleFactor* AScaleFactor, bool AZoomIn) {
  const auto margins = ContentMargins(OpenThemeForScaleFactor(totButton, AScaleFactor), BP_PUSHBUTTON, 0, AScaleFactor);
  if (!margins)
    return AZoomIn ? inherited::GetScaledZoomInButtonSize(AScaleFactor)
                   : inherited::GetScaledZoomOutButtonSize(AScaleFactor);
  const TcxBitmap32* glyph = (AZoomIn ? FZoomInButtonGlyph : FZoomOutButtonGlyph).get();
  const TSize size = AScaleFactor->Apply(TSize(glyph->Width(), glyph->Height()));
  return TSize(size.cx + margins->Left + margins->Right, size.cy + margins->Top + margins->Bottom);
}

TSize P::GetScaledZoomInButtonSize(const TdxScaleFactor* AScaleFactor) {
  return GetScaledZoomButtonSize(AScaleFactor, true);
}

TSize P::GetScaledZoomOutButtonSize(const TdxScaleFactor* AScaleFactor) {
  return GetScaledZoomButtonSize(AScaleFactor, false);
}

// ---------------------------------------------------------------------------
// The back button

namespace {
// The navigation class's back button (absent from the headers at hand).
constexpr int NavigationBackButton = 1;
}  // namespace

TSize P::GetScaledBackButtonSize(const TdxScaleFactor* AScaleFactor) {
  TSize size;
  if (GetScaledThemePartSize(totNavigation, AScaleFactor, NavigationBackButton, 0, tpsThemeHandle, size)) return size;
  return inherited::GetScaledBackButtonSize(AScaleFactor);
}

void P::DrawScaledBackButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                             const TdxScaleFactor* AScaleFactor) {
  if (const HTHEME theme = OpenThemeForScaleFactor(totNavigation, AScaleFactor))
    DrawScaledThemeBackground(theme, ACanvas->Handle(), NavigationBackButton, PlainState(AState), R, AScaleFactor, false,
                              true);
  else
    inherited::DrawScaledBackButton(ACanvas, R, AState, AScaleFactor);
}
