// The base painter's editor buttons, container borders, progress bars,
// group boxes, panels and drop-down lists.
#include "library/lookandfeel/painters/cxLookAndFeelPainters.h"

#include "library/core/system/dxDPIAwareUtils.h"
#include "library/graphics/canvas/cxCanvasScopes.h"
#include "library/graphics/text/cxDrawTextUtils.h"

using P = TcxCustomLookAndFeelPainter;

namespace {

// The canvas font's colour changed for a scope.
class TFontColorScope {
 public:
  TFontColorScope(TcxCanvas* ACanvas, TColor AColor) : FFont(ACanvas->Font()), FSaved(FFont->Color()) {
    FFont->SetColor(AColor);
  }
  ~TFontColorScope() { FFont->SetColor(FSaved); }
  TFontColorScope(const TFontColorScope&) = delete;
  TFontColorScope& operator=(const TFontColorScope&) = delete;

 private:
  TFont* FFont;
  TColor FSaved;
};

// A vertical text is moved this far right and down.
constexpr int VerticalTextShift = 2;

// The progress text in AColor within R: a line of formatted text, or
// turned a quarter clockwise (reading top to bottom) on a vertical bar.
void DrawProgressText(TcxCanvas* ACanvas, const String& AText, TRect R, TColor AColor, bool AVertical) {
  const TFontColorScope color(ACanvas, AColor);
  if (AVertical) {
    R.Offset(VerticalTextShift, VerticalTextShift);
    // The routine keeps two pixels clear on every side of its rectangle.
    R.Inflate(2, 2);
    DrawRotatedTextLines(ACanvas->Handle(), R, AText, ACanvas->Font(), 0, 0, false, false, false, 0, 0);
  } else {
    const std::uint32_t flags = cxtoSingleLine | (ACanvas->UseRightToLeftAlignment() ? cxtoRTLReading : 0);
    DrawTextFormattedDefaultColors(ACanvas->Handle(), AText, R, flags, ACanvas->Font());
  }
}

bool IsRealColor(TColor AColor) { return AColor != clNone && AColor != clDefault; }

}  // namespace

// ---------------------------------------------------------------------------
// Editor buttons and container borders

void P::DrawScaledEditorButton(TcxCanvas*, const TRect&, TcxEditBtnKind, TcxButtonState, const TdxScaleFactor*,
                               TcxEditBtnPosition) {}

void P::DrawScaledEditorButtonGlyph(TcxCanvas*, const TRect&, TcxEditBtnKind, TcxButtonState, const TdxScaleFactor*,
                                    TcxEditBtnPosition) {}

IPtr<IdxColorPalette> P::EditButtonColorPalette(TcxButtonState) { return {}; }

TSize P::EditButtonSize() { return TSize(0, 0); }

TColor P::EditButtonTextColor(TcxButtonState) { return clDefault; }

int P::EditButtonTextOffset() { return 0; }

TColor P::GetContainerBorderColor(bool) { return clBtnText; }

int P::GetContainerBorderWidth(TcxContainerBorderStyle ABorderStyle) {
  static constexpr int widths[] = {0, 1, 2, 2, 2, 1, 1};
  return widths[ABorderStyle];
}

void P::DrawEditorButton(TcxCanvas* ACanvas, const TRect& R, TcxEditBtnKind AButtonKind, TcxButtonState AState,
                         TcxEditBtnPosition APosition) {
  DrawScaledEditorButton(ACanvas, R, AButtonKind, AState, SystemScaleFactor(), APosition);
}

void P::DrawEditorButtonGlyph(TcxCanvas* ACanvas, const TRect& R, TcxEditBtnKind AButtonKind, TcxButtonState AState,
                              TcxEditBtnPosition APosition) {
  DrawScaledEditorButtonGlyph(ACanvas, R, AButtonKind, AState, SystemScaleFactor(), APosition);
}

// ---------------------------------------------------------------------------
// Progress bars

void P::DrawProgressBarPart(TcxCanvas* ACanvas, const TRect& ABounds, const TRect&, bool, const TdxScaleFactor*,
                            TcxProgressBarPart APart) {
  if (APart == pbpOverloadBar) ACanvas->InvertRect(ABounds);
}

TRect P::ProgressBarBorderSize(bool) { return TRect(); }

TColor P::ProgressBarTextColor(TcxProgressBarPart APart) { return APart == pbpBackground ? clWindowText : clDefault; }

void P::DrawProgressBarText(TcxCanvas* ACanvas, const String& AText, const TRect& ABounds, const TRect& AProgressRect,
                            const TRect& AOverloadBarRect, const TRect& APeakBarRect, TColor ATextColor,
                            bool AVertical) {
  TSize size = ACanvas->TextExtent(AText);
  if (AVertical) std::swap(size.cx, size.cy);
  const int left = ABounds.Left + (ABounds.Width() - size.cx) / 2;
  const int top = ABounds.Top + (ABounds.Height() - size.cy) / 2;
  const TRect text(left, top, left + size.cx, top + size.cy);

  if (ATextColor != clDefault) {
    DrawProgressText(ACanvas, AText, text, ATextColor, AVertical);
  } else if (ProgressBarTextColor(pbpProgressChunk) == clDefault) {
    // White text on black, without antialiasing, XOR-ed onto the canvas:
    // the text shows in the inverse of whatever lies beneath it.
    // A vertical text lies beyond the rectangle by its shift.
    const int extra = AVertical ? VerticalTextShift : 0;
    const TOwned<TcxBitmap> bitmap(NewWith<TcxBitmap>(
        [&](TcxBitmap* ABitmap) { ABitmap->CreateSize(size.cx + extra, size.cy + extra); }));
    TcxCanvas* canvas = bitmap->cxCanvas();
    canvas->Font()->Assign(ACanvas->Font());
    DisableFontAntialiasing(canvas->Font());
    canvas->SetUseRightToLeftAlignment(ACanvas->UseRightToLeftAlignment());
    canvas->FillRect(bitmap->ClientRect(), clBlack);
    DrawProgressText(canvas, AText, TRect(0, 0, size.cx, size.cy), clWhite, AVertical);
    BitBlt(ACanvas->Handle(), text.Left, text.Top, bitmap->Width(), bitmap->Height(), canvas->Handle(), 0, 0,
           SRCINVERT);
  } else {
    // Each area in its part's colour; an area paints only what the ones
    // before it left.
    const TcxClipRegionScope areasClip(ACanvas);
    const std::pair<const TRect*, TcxProgressBarPart> areas[] = {{&AProgressRect, pbpProgressChunk},
                                                                  {&AOverloadBarRect, pbpOverloadBar},
                                                                  {&APeakBarRect, pbpPeakBar},
                                                                  {&ABounds, pbpBackground}};
    for (const auto& [area, part] : areas) {
      const TColor color = ProgressBarTextColor(part);
      if (text.IntersectsWith(*area) && IsRealColor(color)) {
        TRect clip = text;
        clip.Intersect(*area);
        const TcxClipRegionScope textClip(ACanvas, clip);
        DrawProgressText(ACanvas, AText, text, color, AVertical);
      }
      ACanvas->ExcludeClipRect(*area);
    }
  }
}

// ---------------------------------------------------------------------------
// Group boxes and panels

void P::DrawGroupBoxBackground(TcxCanvas*, const TRect&, const TRect&) {}

void P::DrawGroupBoxCaption(TcxCanvas*, const TRect&, const TRect&, TcxGroupBoxCaptionPosition) {}

void P::DrawGroupBoxContent(TcxCanvas*, const TRect&, TcxGroupBoxCaptionPosition, TcxBorders) {}

void P::DrawGroupBoxScaledButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                 const TdxScaleFactor* AScaleFactor) {
  DrawScaledButton(ACanvas, R, AState, AScaleFactor, true, false, cxbpButton, clDefault);
}

void P::DrawGroupBoxFrame(TcxCanvas*, const TRect&, bool, TcxGroupBoxCaptionPosition, TcxBorders) {}

void P::GroupBoxAdjustCaptionFont(TFont*, TcxGroupBoxCaptionPosition) {}

TRect P::GroupBoxBorderSize(bool, TcxGroupBoxCaptionPosition) { return TRect(); }

int P::GroupBoxCaptionTailSize(TcxGroupBoxCaptionPosition) { return 0; }

TColor P::GroupBoxTextColor(bool AEnabled, TcxGroupBoxCaptionPosition) {
  return AEnabled ? clWindowText : clBtnShadow;
}

bool P::IsGroupBoxCaptionTextDrawnOverBorder(TcxGroupBoxCaptionPosition) { return true; }

bool P::IsGroupBoxTransparent(TcxGroupBoxCaptionPosition) { return false; }

void P::DrawGroupBoxButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) {
  DrawGroupBoxScaledButton(ACanvas, R, AState, SystemScaleFactor());
}

void P::DrawPanelBackground(TcxCanvas* ACanvas, TWinControl*, const TRect& ABounds, TColor, TColor) {
  DrawGroupBoxBackground(ACanvas, ABounds, ABounds);
}

void P::DrawPanelBorders(TcxCanvas*, const TRect&) {}

void P::DrawPanelCaption(TcxCanvas* ACanvas, const TRect& ACaptionRect, TcxGroupBoxCaptionPosition ACaptionPosition) {
  DrawGroupBoxCaption(ACanvas, ACaptionRect, TRect(), ACaptionPosition);
}

void P::DrawPanelContent(TcxCustomCanvas* ACanvas, const TRect& R) { ACanvas->FillRect(R, clBtnFace); }

TRect P::PanelBorderSize() { return TRect(); }

TColor P::PanelTextColor() { return GroupBoxTextColor(true, cxgpTop); }

// ---------------------------------------------------------------------------
// Drop-down lists

void P::DrawDropDownListBoxBackground(TcxCanvas* ACanvas, const TRect& R, bool AHasBorders) {
  TRect r = R;
  if (AHasBorders) {
    ACanvas->DrawComplexFrame(r, cl3DLight, cl3DDkShadow);
    r.Deflate(1);
    ACanvas->DrawComplexFrame(r, clBtnHighlight, clBtnShadow);
    r.Deflate(1);
  }
  ACanvas->FillRect(r, clMenu);
}

void P::DrawDropDownListBoxScaledGutterBackground(TcxCanvas*, const TRect&, const TdxScaleFactor*) {}

void P::DrawDropDownListBoxScaledSelection(TcxCanvas* ACanvas, const TRect& R, const TRect&, const TdxScaleFactor*) {
  ACanvas->FillRect(R, clMenuHighlight);
}

void P::DrawDropDownListBoxScaledSeparator(TcxCanvas* ACanvas, const TRect& R, const TRect&, const TdxScaleFactor*) {
  // Two pixels high whatever the scale.
  const int top = R.Top + (R.Height() - 2) / 2;
  ACanvas->DrawComplexFrame(TRect(R.Left, top, R.Right, top + 2), clBtnShadow, clBtnHighlight, TcxBorders{bTop, bBottom});
}

int P::DropDownListBoxBordersSize() { return 3; }

TColor P::DropDownListBoxItemTextColor(bool ASelected) { return ASelected ? clHighlightText : clMenuText; }

TRect P::DropDownListBoxScaledItemImageOffsets(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TRect(5, 3, 5, 3));
}

TRect P::DropDownListBoxScaledItemTextOffsets(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TRect(5, 2, 5, 2));
}

int P::DropDownListBoxScaledSeparatorSize(const TdxScaleFactor* AScaleFactor) { return AScaleFactor->Apply(8); }

void P::DrawDropDownListBoxGutterBackground(TcxCanvas* ACanvas, const TRect& R) {
  DrawDropDownListBoxScaledGutterBackground(ACanvas, R, SystemScaleFactor());
}

void P::DrawDropDownListBoxSelection(TcxCanvas* ACanvas, const TRect& R, const TRect& AGutterRect) {
  DrawDropDownListBoxScaledSelection(ACanvas, R, AGutterRect, SystemScaleFactor());
}

void P::DrawDropDownListBoxSeparator(TcxCanvas* ACanvas, const TRect& R, const TRect& AGutterRect) {
  DrawDropDownListBoxScaledSeparator(ACanvas, R, AGutterRect, SystemScaleFactor());
}

TRect P::DropDownListBoxItemImageOffsets() { return DropDownListBoxScaledItemImageOffsets(SystemScaleFactor()); }

TRect P::DropDownListBoxItemTextOffsets() { return DropDownListBoxScaledItemTextOffsets(SystemScaleFactor()); }

int P::DropDownListBoxSeparatorSize() { return DropDownListBoxScaledSeparatorSize(SystemScaleFactor()); }
