// The base painter's layout control, scroll boxes, print preview and the
// grid's message box.
#include "library/graphics/canvas/cxCanvasScopes.h"
#include "library/lookandfeel/painters/cxLookAndFeelPainters_Internal.h"

using P = TcxCustomLookAndFeelPainter;

TColor P::LayoutControlEmptyAreaColor() { return clBtnFace; }

void P::DrawLayoutControlBackground(TcxCanvas* ACanvas, const TRect& R) {
  ACanvas->FillRect(R, LayoutControlEmptyAreaColor());
}

void P::DrawScrollBoxBackground(TcxCanvas* ACanvas, const TRect& R, TColor AColor) { ACanvas->FillRect(R, AColor); }

TColor P::GetCustomizationFormListBackgroundColor() { return clBtnFace; }

TColor P::PrintPreviewBackgroundTextColor() { return clWindowText; }

TRect P::PrintPreviewPageBordersScaledWidth(const TdxScaleFactor*) { return TRect(2, 2, 4, 4); }

void P::DrawPrintPreviewScaledBackground(TcxCanvas* ACanvas, const TRect& R, const TdxScaleFactor*) {
  ACanvas->FillRect(R, clBtnShadow);
}

void P::DrawPrintPreviewPageScaledBackground(TcxCanvas* ACanvas, const TRect& ABorderRect, const TRect& AContentRect,
                                             bool ASelected, bool ADrawContent, const TdxScaleFactor*) {
  const TcxClipRegionScope clip(ACanvas);
  TRect page(ABorderRect.Left, ABorderRect.Top, ABorderRect.Right - 2, ABorderRect.Bottom - 2);
  if (ADrawContent) ACanvas->FillRect(AContentRect, clWindow);
  if (!ASelected) page.Deflate(1);
  ACanvas->ExcludeClipRect(AContentRect);
  ACanvas->FillRect(page, ASelected ? clHighlight : clWindowText);
  ACanvas->ExcludeClipRect(page);
  page.Offset(2, 2);
  ACanvas->FillRect(page, clWindowText);
}

void P::DrawMessageBox(TcxCanvas* ACanvas, const TRect& ABounds, const String& AMessage, TFont* AFont,
                       TColor AColor) {
  ACanvas->FrameRect(ABounds, DefaultGridLineColor(), 1, cxBordersAll(), true);
  ACanvas->FillRect(ABounds, AColor == clNone ? DefaultGroupColor() : AColor);
  const TcxCanvasStateScope state(ACanvas);
  if (AFont) ACanvas->Font()->Assign(AFont);
  ACanvas->SetBrushColor(clNone);
  ACanvas->DrawTexT(AMessage, ABounds, cxtfCenterX | cxtfCenterY | cxtfSingleLine);
}

TRect P::PrintPreviewPageBordersWidth() { return PrintPreviewPageBordersScaledWidth(SystemScaleFactor()); }

void P::DrawPrintPreviewBackground(TcxCanvas* ACanvas, const TRect& R) {
  DrawPrintPreviewScaledBackground(ACanvas, R, SystemScaleFactor());
}

void P::DrawPrintPreviewPageBackground(TcxCanvas* ACanvas, const TRect& ABorderRect, const TRect& AContentRect,
                                       bool ASelected, bool ADrawContent) {
  DrawPrintPreviewPageScaledBackground(ACanvas, ABorderRect, AContentRect, ASelected, ADrawContent,
                                       SystemScaleFactor());
}

// ---------------------------------------------------------------------------
// The calculator's button colours and the layout control's glyph palettes

TColor P::CalcEditButtonTextColor(TcxCalcButtonKind AButtonKind) {
  switch (AButtonKind) {
    case cbBack:
    case cbCancel:
    case cbClear:
      return TColor(0x000080);
    case cbMC:
    case cbMR:
    case cbMS:
    case cbMP:
    case cbDiv:
    case cbMul:
    case cbSub:
    case cbAdd:
    case cbEqual:
      return TColor(0x0000FF);
    case cbSqrt:
    case cbPercent:
    case cbRev:
      return TColor(0x800000);
    default:  // the digits, the sign, the decimal point and cbNone
      return TColor(0xFF0000);
  }
}

IPtr<IdxColorPalette> P::LayoutControlGetColorPaletteForGroupButton(TcxButtonState) { return nullptr; }

IPtr<IdxColorPalette> P::LayoutControlGetColorPaletteForItemCaption() { return nullptr; }

IPtr<IdxColorPalette> P::LayoutControlGetColorPaletteForTabbedGroupCaption(bool) { return nullptr; }
