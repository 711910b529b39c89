// Painting of formatted text: the device-context painter and the drawing of
// the layout, its rows and boxes.
#include "library/controls/text/dxFormattedText_Internal.h"

#include "library/graphics/canvas/cxGraphics.h"
#include "platform/runtime/Handles.h"

#include <algorithm>
#include <vector>

// ---------------------------------------------------------------------------
// TdxFormattedTextPainter

void TdxFormattedTextPainter::Create(HDC ADCHandle) {
  inherited::Create();
  FDCHandle = ADCHandle;
}

void TdxFormattedTextPainter::ExtTextOut(const TRect& ABounds, HFONT AFontHandle, TColor AFontColor, const String&,
                                         const WORD* AGlyphs, int AGlyphCount, const int* AGlyphWidths) {
  // Between Store and Restore the context's state comes back with RestoreDC:
  // font, colour and mode are set only when they change.
  const auto draw = [&] {
    ExtTextOutW(FDCHandle, ABounds.Left, ABounds.Top, ETO_GLYPH_INDEX | ETO_IGNORELANGUAGE, nullptr,
                reinterpret_cast<const wchar_t*>(AGlyphs), static_cast<UINT>(AGlyphCount), AGlyphWidths);
  };
  const COLORREF color = ColorToRGB(AFontColor);
  if (FSaveDC != 0) {
    if (FSelectedFont != AFontHandle) SelectObject(FDCHandle, FSelectedFont = AFontHandle);
    if (!FStateSet || FTextColor != color) SetTextColor(FDCHandle, FTextColor = color);
    if (!FStateSet) SetBkMode(FDCHandle, TRANSPARENT);
    FStateSet = true;
    draw();
    return;
  }
  const TSelectObject font(FDCHandle, AFontHandle);
  const COLORREF previousColor = SetTextColor(FDCHandle, color);
  const int mode = SetBkMode(FDCHandle, TRANSPARENT);
  draw();
  SetBkMode(FDCHandle, mode);
  SetTextColor(FDCHandle, previousColor);
}

void TdxFormattedTextPainter::FillRect(const TRect& ARect, TColor AColor) { FillRectWithColor(FDCHandle, ARect, AColor); }

void TdxFormattedTextPainter::IntersectClipRect(const TRect& ARect) {
  ::IntersectClipRect(FDCHandle, ARect.Left, ARect.Top, ARect.Right, ARect.Bottom);
}

void TdxFormattedTextPainter::Store() {
  FSaveDC = SaveDC(FDCHandle);
  FSelectedFont = nullptr;
  FStateSet = false;
}

void TdxFormattedTextPainter::Restore() {
  RestoreDC(FDCHandle, FSaveDC);
  FSaveDC = 0;
}

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
  for (int i = 0; i < Count(); ++i) Items(i)->TdxFormattedTextLayoutBox::Draw(APainter, AOffset);
  // Neighbouring words of one font, colour and top go out as one glyph run
  // (one call instead of one per word): the room up to the next word is
  // added to the advance of a word's last glyph. The pixels are the same.
  std::vector<WORD> glyphs;
  std::vector<int> advances;
  String text;
  for (int i = 0; i < Count();) {
    auto* first = dynamic_cast<TdxFormattedTextTextLayoutBox*>(Items(i));
    if (!first || !first->TextViewInfo() || first->TextViewInfo()->GlyphCount() == 0) {
      ++i;
      continue;
    }
    glyphs.clear();
    advances.clear();
    text.clear();
    const TdxFontInfo* font = first->FontInfo();
    int end = first->Bounds().Left;
    int next = i;
    for (; next < Count(); ++next) {
      auto* box = dynamic_cast<TdxFormattedTextTextLayoutBox*>(Items(next));
      if (!box) {
        if (Items(next)->FontInfo() == font && Items(next)->Bounds().Left >= end) continue;
        break;
      }
      const TdxTextViewInfo* info = box->TextViewInfo();
      if (box->FontInfo() != font || box->FontColor() != first->FontColor() ||
          box->Bounds().Top != first->Bounds().Top || box->Bounds().Left < end || !info || info->GlyphCount() == 0)
        break;
      if (!advances.empty()) advances.back() += box->Bounds().Left - end;
      const int count = info->GlyphCount();
      glyphs.insert(glyphs.end(), info->Glyphs().begin(), info->Glyphs().begin() + count);
      advances.insert(advances.end(), info->CharacterWidths().begin(), info->CharacterWidths().begin() + count);
      text += box->Text();
      end = box->Bounds().Left + box->Bounds().Width();
    }
    TRect r = first->Bounds();
    r.Right = end;
    r.Offset(AOffset.X, AOffset.Y + font->Free() - font->GdiOffset() - font->DrawingOffset());
    APainter->ExtTextOut(r, font->GdiFontHandle(), first->FontColor(), text, glyphs.data(),
                         static_cast<int>(glyphs.size()), advances.data());
    i = std::max(next, i + 1);
  }
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
