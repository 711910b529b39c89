// The base painter's buttons: faces, captions, focus rectangles, command
// links, the cross and the editors' glyph buttons.
#include "library/lookandfeel/painters/cxLookAndFeelPainters_Internal.h"

#include "library/core/base/dxCore.h"
#include "library/core/system/dxDPIAwareUtils.h"
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"

using P = TcxCustomLookAndFeelPainter;

namespace {

// The fill of a one-colour palette that keeps an element's own colour.
constexpr TdxAlphaColor OwnColors = 0x00010203;
constexpr TdxAlphaColor ClearGlyphHotColor = 0xFFED3D3B;

TOwned<TdxSmartImage> LoadGlyph(TdxSmartImage* AImage, const wchar_t* AResource, const wchar_t* AType) {
  TOwned<TdxSmartImage> image(AImage);
  image->LoadFromResource(HInstance(), AResource, AType);
  return image;
}

}  // namespace

// ---------------------------------------------------------------------------
// Glyph caches

TdxSmartImage* P::CachedImage(TOwned<TdxSmartImage>& AImage, const wchar_t* AResource, const wchar_t* AType) {
  if (!AImage) AImage = LoadGlyph(New<TdxSmartImage>(), AResource, AType);
  return AImage.get();
}

TdxSmartImage* P::ClearButtonGlyph() { return CachedImage(FClearButtonGlyph, L"CX_CLEARBUTTON", L"SVG"); }

TdxSmartImage* P::SearchButtonGlyph() { return CachedImage(FSearchButtonGlyph, L"DX_SEARCHBUTTONGLYPH", L"PNG"); }

TdxSmartGlyph* P::PasswordRevealButtonGlyph(bool AVisible) {
  if (!FPasswordRevealButtonGlyphs[0]) {
    static constexpr const wchar_t* names[] = {L"DX_PASSWORDREVEALINVISIBLEBUTTON", L"DX_PASSWORDREVEALVISIBLEBUTTON"};
    for (std::size_t i = 0; i < 2; ++i) {
      FPasswordRevealButtonGlyphs[i].reset(New<TdxSmartGlyph>());
      FPasswordRevealButtonGlyphs[i]->LoadFromResource(HInstance(), names[i], L"SVG");
    }
  }
  return FPasswordRevealButtonGlyphs[AVisible].get();
}

// ---------------------------------------------------------------------------
// Faces and captions

int P::ButtonBorderSize(TcxButtonState) { return 0; }

TColor P::ButtonColor(TcxButtonState) { return clBtnFace; }

IPtr<IdxColorPalette> P::ButtonColorPalette(TcxButtonState, TcxButtonPart) { return {}; }

TColor P::ButtonDescriptionTextColor(TcxButtonState, TColor ADefaultColor, TcxButtonPart) { return ADefaultColor; }

TColor P::ButtonSymbolColor(TcxButtonState AState, TColor ADefaultColor, TcxButtonPart) {
  if (AState == cxbsDisabled) return clBtnShadow;
  return ADefaultColor == clDefault ? clBtnText : ADefaultColor;
}

TcxButtonState P::ButtonSymbolState(TcxButtonState AState) { return AState; }

TRect P::ScaledButtonFocusRect(TcxCustomCanvas*, const TRect& R, const TdxScaleFactor* AScaleFactor) {
  TRect r = R;
  r.Deflate(AScaleFactor->Apply(4));
  return r.IsEmpty() ? R : r;
}

int P::ScaledButtonTextOffset(const TdxScaleFactor*) { return 0; }

int P::ScaledButtonTextShift(const TdxScaleFactor*) { return 0; }

void P::DrawButtonBorder(TcxCustomCanvas*, const TRect&, TcxButtonState) {}

void P::DrawScaledButton(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                         const TdxScaleFactor*, bool ADrawBorder, bool, TcxButtonPart, TColor AColor) {
  TRect face = R;
  if (ADrawBorder) {
    DrawButtonBorder(ACanvas, R, AState);
    face.Deflate(ButtonBorderSize(AState));
  }
  ACanvas->FillRect(face, AColor == clDefault ? ButtonColor(AState) : AColor);
}

void P::DrawButtonCaption(TcxCanvas* ACanvas, const TRect& R, const TdxScaleFactor* AScaleFactor, bool AWordWrap,
                          bool AWithBorder, TColor AColor, TcxButtonState AState, const String& AText) {
  TRect r = R;
  if (AWithBorder) r.Deflate(ButtonBorderSize(AState));
  // An even height centres a line of text the same way in every button.
  if (r.Height() % 2 != 0) --r.Bottom;
  if (r.Height() < 18) --r.Top;
  if (AState == cxbsPressed) {
    const int shift = ScaledButtonTextShift(AScaleFactor);
    r.Offset(shift, shift);
  }
  ACanvas->Font()->SetColor(AColor == clDefault ? ButtonSymbolColor(AState) : AColor);
  ACanvas->SetBrushColor(clNone);
  ACanvas->DrawTexT(AText, r, cxtfCenterX | cxtfCenterY | (AWordWrap ? cxtfWordBreak : cxtfSingleLine),
                    AState != cxbsDisabled);
}

void P::DrawScaledButton(TcxCanvas* ACanvas, const TRect& R, const String& ACaption, TcxButtonState AState,
                         const TdxScaleFactor* AScaleFactor, bool ADrawBorder, TColor AColor, TColor ATextColor,
                         bool AWordWrap, bool AIsToolButton, TcxButtonPart APart) {
  DrawScaledButton(ACanvas, R, AState, AScaleFactor, ADrawBorder, AIsToolButton, APart, AColor);
  if (!ACaption.empty())
    DrawButtonCaption(ACanvas, R, AScaleFactor, AWordWrap, ADrawBorder, ATextColor, AState, ACaption);
}

void P::DrawButton(TcxCanvas* ACanvas, const TRect& R, const String& ACaption, TcxButtonState AState,
                   bool ADrawBorder, TColor AColor, TColor ATextColor, bool AWordWrap, bool AIsToolButton,
                   TcxButtonPart APart) {
  DrawScaledButton(ACanvas, R, ACaption, AState, SystemScaleFactor(), ADrawBorder, AColor, ATextColor, AWordWrap,
                   AIsToolButton, APart);
}

void P::DrawScaledButton(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                         const TdxScaleFactor* AScaleFactor, TcxButtonPart APart, TColor AColor) {
  DrawScaledButton(ACanvas, R, AState, AScaleFactor, true, false, APart, AColor);
}

bool P::IsButtonHotTrack() { return false; }

TRect P::ButtonFocusRect(TcxCustomCanvas* ACanvas, const TRect& R) {
  return ScaledButtonFocusRect(ACanvas, R, SystemScaleFactor());
}

int P::ButtonTextOffset() { return ScaledButtonTextOffset(SystemScaleFactor()); }

// ---------------------------------------------------------------------------
// The cross

void P::DrawScaledButtonCrossEx(TcxCanvas* ACanvas, const TRect& R, TColor AColor, TcxButtonState AState, int ASize,
                                const TdxScaleFactor* AScaleFactor) {
  const int n = AScaleFactor->Apply(ASize);
  const int shift = AState == cxbsPressed ? 1 : 0;
  ACanvas->Pen()->SetColor(AColor);
  // Two one-pixel crosses side by side; the system leaves out each line's
  // last point.
  for (int i = 0; i < 2; ++i) {
    const int x = (R.Left + R.Right - n) / 2 + i + shift;
    const int y = (R.Top + R.Bottom - n) / 2 + shift;
    ACanvas->MoveTo(x, y);
    ACanvas->LineTo(x + n, y + n);
    ACanvas->MoveTo(x, y + n - 1);
    ACanvas->LineTo(x + n, y - 1);
  }
}

void P::DrawButtonCross(TcxCanvas* ACanvas, const TRect& R, TColor AColor, TcxButtonState AState, int ASize) {
  DrawScaledButtonCrossEx(ACanvas, R, AColor, AState, ASize, SystemScaleFactor());
}

void P::DrawScaledButtonCross(TcxCanvas* ACanvas, const TRect& R, TColor AColor, TcxButtonState AState,
                              const TdxScaleFactor* AScaleFactor) {
  // An odd size gives the cross a centre pixel; the size is scaled already.
  int size = ScaledFilterCloseButtonSize(AScaleFactor).X / 2;
  if (size % 2 == 0) --size;
  DrawScaledButtonCrossEx(ACanvas, R, AColor, AState, size, DefaultScaleFactor());
}

void P::DrawButtonCross(TcxCanvas* ACanvas, const TRect& R, TColor AColor, TcxButtonState AState) {
  DrawScaledButtonCross(ACanvas, R, AColor, AState, SystemScaleFactor());
}

// ---------------------------------------------------------------------------
// Editor glyph buttons

void P::DrawScaledClearButtonGlyph(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, const TdxScaleFactor*) {
  const bool active = AState == cxbsHot || AState == cxbsPressed;
  const IPtr<IdxColorPalette> palette = OneColorPalette(active ? ClearGlyphHotColor : OwnColors);
  ClearButtonGlyph()->StretchDraw(ACanvas->Handle(), R, 255, palette.Get());
}

void P::DrawScaledDropDownButtonArrow(TcxCustomCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                      const TdxScaleFactor* AScaleFactor, TColor AColor) {
  DrawScaledButton(ACanvas, R, AState, AScaleFactor, false, false, cxbpDropDownRightPart, AColor);
}

void P::DrawScaledSearchEditButtonGlyph(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                        const TdxScaleFactor* AScaleFactor) {
  TdxSmartImage* glyph = SearchButtonGlyph();
  if (glyph->Empty()) return;
  // Bands: normal, hot, pressed, disabled; a default button looks normal.
  const int band = AState == cxbsDefault ? 0 : static_cast<int>(AState) - 1;
  const int height = glyph->Height() / 4;
  const TRect source(0, band * height, glyph->Width(), (band + 1) * height);
  glyph->StretchDraw(ACanvas->Handle(), CenteredIn(R, ScaledSearchButtonGlyphSize(AScaleFactor)), source, 255);
}

TSize P::GetScaledClearButtonGlyphSize(const TdxScaleFactor* AScaleFactor) {
  TdxSmartImage* glyph = ClearButtonGlyph();
  return AScaleFactor->Apply(TSize(glyph->Width(), glyph->Height()));
}

int P::GetScaledDropDownButtonRightPartSize(const TdxScaleFactor* AScaleFactor) { return AScaleFactor->Apply(15); }

TSize P::ScaledSearchButtonGlyphSize(const TdxScaleFactor* AScaleFactor) {
  TdxSmartImage* glyph = SearchButtonGlyph();
  return AScaleFactor->Apply(TSize(glyph->Width(), glyph->Height() / 4));
}

int P::GetDropDownButtonRightPartSize() { return GetScaledDropDownButtonRightPartSize(SystemScaleFactor()); }

void P::DrawSearchEditButtonGlyph(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) {
  DrawScaledSearchEditButtonGlyph(ACanvas, R, AState, SystemScaleFactor());
}

void P::DrawScaledPasswordRevealButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, TColor AColor,
                                       const TdxScaleFactor*) {
  TColor fill = AColor;
  if (AState == cxbsPressed) {
    ACanvas->FillRect(R, clHighlight);
    fill = clHighlightText;
  } else if (AState == cxbsHot) {
    fill = clHighlight;
  }
  const IPtr<IdxColorPalette> palette = OneColorPalette(ColorToAlphaColor(fill));
  PasswordRevealButtonGlyph(AState == cxbsPressed)->StretchDraw(ACanvas->Handle(), R, 255, palette.Get());
}

// ---------------------------------------------------------------------------
// Command links

TColor P::DefaultCommandLinkTextColor(TcxButtonState AState, TColor ADefaultColor) {
  return ButtonSymbolColor(AState, ADefaultColor, cxbpButton);
}

void P::DrawScaledCommandLinkBackground(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                        const TdxScaleFactor* AScaleFactor, TColor AColor) {
  DrawScaledButton(ACanvas, R, AState, AScaleFactor, true, false, cxbpButton, AColor);
}

void P::DrawScaledCommandLinkGlyph(TcxCanvas* ACanvas, const TPoint& AGlyphPos, TcxButtonState AState,
                                   const TdxScaleFactor* AScaleFactor) {
  // Not cached: command links are few and drawn seldom.
  const TOwned<TdxSmartImage> glyph = LoadGlyph(New<TdxSmartImage>(), L"CX_COMMANDLINKGLYPH", L"PNG");
  TRect source = TRect::CreateFromSize(GetScaledCommandLinkGlyphSize(DefaultScaleFactor()));
  TRect target = AScaleFactor->Apply(source);
  target.Offset(AGlyphPos);
  if (AState == cxbsHot) source.Offset(0, source.Height());
  PaintMirroredOnCanvas(ACanvas, target,
                        [&] { glyph->StretchDraw(ACanvas->Handle(), target, source, 255); });
}

TSize P::GetScaledCommandLinkGlyphSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TSize(20, 20));
}

TRect P::GetScaledCommandLinkMargins(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TRect(7, 10, 7, 10));
}

void P::DrawCommandLinkBackground(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, TColor AColor) {
  DrawScaledCommandLinkBackground(ACanvas, R, AState, SystemScaleFactor(), AColor);
}

void P::DrawCommandLinkGlyph(TcxCanvas* ACanvas, const TPoint& AGlyphPos, TcxButtonState AState) {
  DrawScaledCommandLinkGlyph(ACanvas, AGlyphPos, AState, SystemScaleFactor());
}

TSize P::GetCommandLinkGlyphSize() { return GetScaledCommandLinkGlyphSize(SystemScaleFactor()); }

TRect P::GetCommandLinkMargins() { return GetScaledCommandLinkMargins(SystemScaleFactor()); }
