// Painting of formatted text: the device-context painter and the drawing of
// the layout, its rows and boxes.
#include "library/controls/text/dxFormattedText_Internal.h"

#include "library/graphics/canvas/cxGraphics.h"
#include "platform/runtime/Handles.h"

// ---------------------------------------------------------------------------
// TdxFormattedTextPainter

void TdxFormattedTextPainter::Create(HDC ADCHandle) {
  inherited::Create();
  FDCHandle = ADCHandle;
}

void TdxFormattedTextPainter::ExtTextOut(const TRect& ABounds, HFONT AFontHandle, TColor AFontColor, const String&,
                                         const WORD* AGlyphs, int AGlyphCount, const int* AGlyphWidths) {
  const TSelectObject font(FDCHandle, AFontHandle);
  const COLORREF color = SetTextColor(FDCHandle, ColorToRGB(AFontColor));
  const int mode = SetBkMode(FDCHandle, TRANSPARENT);
  ExtTextOutW(FDCHandle, ABounds.Left, ABounds.Top, ETO_GLYPH_INDEX | ETO_IGNORELANGUAGE, nullptr,
              reinterpret_cast<const wchar_t*>(AGlyphs), static_cast<UINT>(AGlyphCount), AGlyphWidths);
  SetBkMode(FDCHandle, mode);
  SetTextColor(FDCHandle, color);
}

void TdxFormattedTextPainter::FillRect(const TRect& ARect, TColor AColor) { FillRectWithColor(FDCHandle, ARect, AColor); }

void TdxFormattedTextPainter::IntersectClipRect(const TRect& ARect) {
  ::IntersectClipRect(FDCHandle, ARect.Left, ARect.Top, ARect.Right, ARect.Bottom);
}

void TdxFormattedTextPainter::Store() { FSaveDC = SaveDC(FDCHandle); }

void TdxFormattedTextPainter::Restore() { RestoreDC(FDCHandle, FSaveDC); }

// ---------------------------------------------------------------------------
// Boxes, rows and the layout

void TdxFormattedTextLayoutBox::Draw(TdxFormattedTextCustomPainter* APainter, const TPoint& AOffset) {
  TRect r = FBounds;
  r.Offset(AOffset.X, AOffset.Y);
  const int ascentAndFree = FFontInfo->AscentAndFree();
  if (FUnderline) {
    const int top = r.Top + ascentAndFree + FUnderlinePosition;
    APainter->FillRect(TRect(r.Left, top, r.Right, top + FUnderlineThickness), FFontColor);
  }
  if (FStrikeout) {
    const int top = r.Top + ascentAndFree - FFontInfo->StrikeoutPosition();
    APainter->FillRect(TRect(r.Left, top, r.Right, top + FFontInfo->StrikeoutThickness()), FFontColor);
  }
}

void TdxFormattedTextTextLayoutBox::Draw(TdxFormattedTextCustomPainter* APainter, const TPoint& AOffset) {
  inherited::Draw(APainter, AOffset);
  if (!FTextViewInfo || FTextViewInfo->GlyphCount() == 0) return;
  TRect r = FBounds;
  r.Offset(AOffset.X, AOffset.Y + FFontInfo->Free() - FFontInfo->GdiOffset() - FFontInfo->DrawingOffset());
  APainter->ExtTextOut(r, FFontInfo->GdiFontHandle(), FFontColor, FText, FTextViewInfo->Glyphs().data(),
                       FTextViewInfo->GlyphCount(), FTextViewInfo->CharacterWidths().data());
}

void TdxFormattedTextLayoutRow::Draw(TdxFormattedTextCustomPainter* APainter, const TPoint& AOffset) {
  // A background runs from its box to the next box: the gap is the box's.
  for (int i = 0; i < Count(); ++i) {
    const TdxFormattedTextLayoutBox* box = Items(i);
    if (box->BackgroundColor() == clDefault) continue;
    const int right = i + 1 < Count() ? Items(i + 1)->Bounds().Left : box->Bounds().Right;
    TRect r(box->Bounds().Left, FBounds.Top, right, FBounds.Bottom);
    r.Offset(AOffset.X, AOffset.Y);
    APainter->FillRect(r, box->BackgroundColor());
  }
  for (int i = 0; i < Count(); ++i) Items(i)->Draw(APainter, AOffset);
}

void TdxFormattedTextLayout::Draw(TdxFormattedTextCustomPainter* APainter, const TPoint& AOffset, bool AClip) {
  APainter->Store();
  const TScopeExit restore([APainter] { APainter->Restore(); });
  if (AClip) {
    TRect clip(FBounds.Left, FBounds.Top, FBounds.Right + 1, FBounds.Bottom + 1);
    clip.Offset(AOffset.X, AOffset.Y);
    APainter->IntersectClipRect(clip);
  }
  for (const auto& row : FRows) row->Draw(APainter, AOffset);
}
