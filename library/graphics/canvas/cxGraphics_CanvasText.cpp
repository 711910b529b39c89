// The GDI canvas's text output and image operations, and the text routines
// it draws and measures through: the library's text flags become DrawText
// flags, and single-line plain text goes through ExtTextOut.
#include "library/graphics/canvas/cxGraphics.h"

#include "platform/runtime/SysUtils.h"

#include <algorithm>
#include <iterator>

namespace {

struct TTextFlagTranslation {
  int Flag;
  UINT Format;
};

// The flags that add one DrawText flag each; cxtfShowPrefix, cxtfWordBreak
// and the two character-break flags are handled apart.
constexpr TTextFlagTranslation TextFlagTranslations[] = {
    {cxtfRight, DT_RIGHT},           {cxtfCenterX, DT_CENTER},       {cxtfBottom, DT_BOTTOM},
    {cxtfCenterY, DT_VCENTER},       {cxtfSingleLine, DT_SINGLELINE}, {cxtfNoClip, DT_NOCLIP},
    {cxtfExpandTabs, DT_EXPANDTABS}, {cxtfEndEllipsis, DT_END_ELLIPSIS}, {cxtfCalcRect, DT_CALCRECT},
    {cxtfPathEllipsis, DT_PATH_ELLIPSIS}, {cxtfRtlReading, DT_RTLREADING}, {cxtfWordEllipsis, DT_WORD_ELLIPSIS},
};

bool GRotatedTextAntialiasing = true;

TcxRotationAngle InverseRotation(TcxRotationAngle AAngle) {
  switch (AAngle) {
    case raPlus90:
      return raMinus90;
    case raMinus90:
      return raPlus90;
    default:
      return AAngle;
  }
}

// Where pixel (x, y) of a W x H bitmap lands.
TPoint RotatedPosition(TcxRotationAngle AAngle, bool AFlip, int X, int Y, int W, int H) {
  switch (AAngle) {
    case raPlus90:
      return AFlip ? TPoint(Y, X) : TPoint(Y, W - 1 - X);
    case raMinus90:
      return AFlip ? TPoint(H - 1 - Y, W - 1 - X) : TPoint(H - 1 - Y, X);
    case ra180:
      return AFlip ? TPoint(W - 1 - X, Y) : TPoint(W - 1 - X, H - 1 - Y);
    default:
      return TPoint(X, AFlip ? H - 1 - Y : Y);
  }
}

// The text without accelerator markers: "&&" leaves one "&".
String RemoveAccelerators(const String& AText) {
  String result;
  result.reserve(AText.size());
  for (std::size_t i = 0; i < AText.size(); ++i) {
    if (AText[i] == L'&') {
      if (i + 1 < AText.size() && AText[i + 1] == L'&') result += L'&';
      ++i;
      if (i < AText.size() && AText[i] != L'&') result += AText[i];
      continue;
    }
    result += AText[i];
  }
  return result;
}

// The characters of the next output line of AText in AWidth (at least
// one), and how many characters after them leave the text with it (a line
// break, or the blank a line ends at).
struct TTextLine {
  std::size_t Length;
  std::size_t Dropped;
};
TTextLine NextTextLine(HDC DC, const String& AText, int AWidth, bool AKeepBlank) {
  int fit = 0;
  SIZE size{};
  GetTextExtentExPointW(DC, AText.c_str(), static_cast<int>(AText.size()), std::max(AWidth, 0), &fit, nullptr,
                        &size);
  const std::size_t n = std::clamp<std::size_t>(static_cast<std::size_t>(std::max(fit, 0)), 1, AText.size());
  const std::size_t lineBreak = AText.find_first_of(L"\r\n");
  if (lineBreak < n) {
    const bool pair = lineBreak + 1 < AText.size() && AText[lineBreak + 1] != AText[lineBreak] &&
                      (AText[lineBreak + 1] == L'\r' || AText[lineBreak + 1] == L'\n');
    return {lineBreak, pair ? 2u : 1u};
  }
  if (n < AText.size()) {
    // The last blank up to the first character that did not fit; one before
    // the last fitting character ends the line there.
    const std::size_t blank = AText.find_last_of(L' ', n);
    if (blank != String::npos && blank + 1 < n) return AKeepBlank ? TTextLine{blank + 1, 0} : TTextLine{blank, 1};
  }
  return {n, 0};
}

}  // namespace

// ---------------------------------------------------------------------------
// Text routines

UINT TextFlagsToDrawTextFlags(int AFlags) {
  UINT result = DT_NOPREFIX;
  for (const TTextFlagTranslation& row : TextFlagTranslations)
    if (AFlags & row.Flag) result |= row.Format;
  if (AFlags & cxtfShowPrefix) result &= ~static_cast<UINT>(DT_NOPREFIX);
  if (AFlags & cxtfWordBreak) {
    result |= DT_WORDBREAK;
    if (!(AFlags & cxtfNoCharBreak))
      result |= DT_EDITCONTROL;
    else if (AFlags & cxtfNoFullWidthCharBreak)
      result |= DT_NOFULLWIDTHCHARBREAK;
  }
  return result;
}

int DrawTextWithColor(HDC DC, const String& AText, TRect& R, UINT AFormat, int ALength, TColor AColor, int ABkMode) {
  const int length = ALength == -1 ? static_cast<int>(AText.size()) : ALength;
  if (length == 0) return DrawTextW(DC, AText.c_str(), 0, R.WinRect(), AFormat);
  const COLORREF oldColor = AColor == clDefault ? CLR_INVALID : SetTextColor(DC, ColorToColorRef(AColor));
  const int oldMode = SetBkMode(DC, ABkMode);
  const int result = DrawTextW(DC, AText.c_str(), length, R.WinRect(), AFormat);
  SetBkMode(DC, oldMode);
  if (oldColor != CLR_INVALID) SetTextColor(DC, oldColor);
  return result;
}

int DrawTextTransparent(TCanvas* ACanvas, const String& AText, const TRect& R, UINT AFormat, TColor AColor) {
  TRect r = R;
  if (ACanvas->TextFlags() & ETO_RTLREADING) AFormat |= DT_RTLREADING;
  return DrawTextWithColor(ACanvas->Handle(), AText, r, AFormat, -1, AColor, TRANSPARENT);
}

bool ExtTextOutAt(HDC DC, const String& AText, const TPoint& P, const TRect& AClipRect, UINT AOptions, int ALength) {
  const int length = ALength == -1 ? static_cast<int>(AText.size()) : ALength;
  return ExtTextOutW(DC, P.X, P.Y, AOptions, AClipRect.WinRect(), AText.c_str(), static_cast<UINT>(length),
                     nullptr) != FALSE;
}

bool GetTextExtentOf(HDC DC, const String& AText, TSize& ASize, int ALength) {
  ASize = TSize();
  const int length = ALength == -1 ? static_cast<int>(AText.size()) : ALength;
  if (GetTextExtentPoint32W(DC, AText.c_str(), length, ASize.WinSize())) return true;
  ASize = TSize();
  return false;
}

bool RotatedTextAntialiasing() { return GRotatedTextAntialiasing; }

void SetRotatedTextAntialiasing(bool AValue) { GRotatedTextAntialiasing = AValue; }

int DrawRotatedText(TcxCanvas* ACanvas, const String& AText, const TRect& R, UINT AFormat, TColor AColor,
                    TcxRotationAngle AAngle) {
  if (AAngle == ra0) return DrawTextTransparent(ACanvas->Canvas(), AText, R, AFormat, AColor);
  TOwned<TcxBitmap> bitmap(NewWith<TcxBitmap>([&](TcxBitmap* b) { b->CreateSize(R, pf32bit); }));
  CopyDCRect(bitmap->Canvas()->Handle(), ACanvas->Handle(), bitmap->ClientRect(), R.TopLeft());
  bitmap->Rotate(InverseRotation(AAngle));
  TCanvas* canvas = bitmap->Canvas();
  canvas->SetFont(ACanvas->Font());
  canvas->SetTextFlags(ACanvas->TextFlags());
  if (!RotatedTextAntialiasing()) DisableFontAntialiasing(canvas->Font());
  const int result = DrawTextTransparent(canvas, AText, bitmap->ClientRect(), AFormat, AColor);
  bitmap->Rotate(AAngle);
  CopyDCRect(ACanvas->Handle(), bitmap->Canvas()->Handle(), R, TPoint(), SRCCOPY);
  return result;
}

// ---------------------------------------------------------------------------
// Text on the canvas

void TcxCanvas::DrawTexT(const String& AText, const TRect& R, int AFlags, bool AEnabled) {
  DrawTexT(AText, R, AFlags, AEnabled, ra0);
}

void TcxCanvas::DrawTexT(const String& AText, const TRect& R, int AFlags, bool AEnabled,
                         TcxRotationAngle ARotationAngle) {
  if (AText.empty()) return;
  TRect textRect = R;
  TRect clipRect = R;
  const bool useDrawText =
      !(AFlags & cxtfSingleLine) || ARotationAngle != ra0 ||
      (AFlags & (cxtfShowPrefix | cxtfEndEllipsis | cxtfPathEllipsis | cxtfWordEllipsis));
  const TSize size = TextExtent(AText);
  if (textRect.Width() >= size.cx && textRect.Height() >= size.cy) AFlags |= cxtfNoClip;

  UINT format = 0;
  UINT options = 0;
  const bool rightToLeft = (TextFlags() & ETO_RTLREADING) != 0;
  if (useDrawText) {
    if (!(AFlags & cxtfSingleLine) && (AFlags & (cxtfBottom | cxtfCenterY)) && ARotationAngle == ra0)
      AlignMultiLineTextRectVertically(textRect, AText, (AFlags & cxtfBottom) ? vaBottom : vaCenter,
                                       AFlags & cxtfWordBreak, AFlags & cxtfShowPrefix, AEnabled,
                                       AFlags & cxtfNoCharBreak, AFlags & (cxtfEndEllipsis | cxtfWordEllipsis),
                                       AFlags & cxtfExpandTabs);
    format = TextFlagsToDrawTextFlags(AFlags);
  } else {
    // A disabled text's embossed copy lies one pixel down and right.
    const int d = AEnabled ? 0 : 1;
    if (textRect.Width() > size.cx || rightToLeft) {
      if ((AFlags & cxtfHorzAlignment) == cxtfRight)
        textRect.Left = textRect.Right - size.cx - d;
      else if ((AFlags & cxtfHorzAlignment) == cxtfCenterX)
        textRect.Left = (textRect.Left + textRect.Right - size.cx) / 2;
    }
    if (textRect.Height() > size.cy) {
      if ((AFlags & cxtfVertAlignment) == cxtfBottom)
        textRect.Top = textRect.Bottom - size.cy - d;
      else if ((AFlags & cxtfVertAlignment) == cxtfCenterY)
        textRect.Top = (textRect.Top + textRect.Bottom - size.cy) / 2;
    }
    if (!rightToLeft) clipRect = textRect;
    options = (AFlags & cxtfNoClip) ? 0 : ETO_CLIPPED;
    if (rightToLeft) options |= ETO_RTLREADING;
  }

  const TBrushStyle brushStyle = Brush()->Style();
  const TColor fontColor = Font()->Color();
  TryFinally(
      [&] {
        if (!AEnabled) {
          ++textRect.Left;
          ++textRect.Top;
          Brush()->SetStyle(bsClear);
          Font()->SetColor(clBtnHighlight);
          DrawTextOnce(AText, textRect, clipRect, useDrawText, format, options, ARotationAngle);
          textRect.Offset(-1, -1);
          Font()->SetColor(clBtnShadow);
        }
        DrawTextOnce(AText, textRect, clipRect, useDrawText, format, options, ARotationAngle);
      },
      [&] {
        if (Brush()->Style() != brushStyle) Brush()->SetStyle(brushStyle);
        Font()->SetColor(fontColor);
      });
}

void TcxCanvas::DrawTextOnce(const String& AText, const TRect& ARect, const TRect& AClipRect, bool AUseDrawText,
                             UINT AFormat, UINT AOptions, TcxRotationAngle ARotationAngle) {
  if (AUseDrawText)
    DrawRotatedText(this, AText, ARect, AFormat, clDefault, ARotationAngle);
  else
    ExtTextOutAt(Handle(), AText, ARect.TopLeft(), AClipRect, AOptions);
}

void TcxCanvas::DrawTexT(const String& AText, const TRect& R, TAlignment AAlignmentHorz,
                         TcxAlignmentVert AAlignmentVert, bool AMultiLine, bool AShowEndEllipsis) {
  if (AText.empty()) return;
  constexpr int horizontal[] = {cxtfLeft, cxtfRight, cxtfCenterX};  // by TAlignment
  constexpr int vertical[] = {cxtfTop, cxtfBottom, cxtfCenterY};    // by TcxAlignmentVert
  int flags = horizontal[AAlignmentHorz] | vertical[AAlignmentVert] | (AMultiLine ? cxtfWordBreak : cxtfSingleLine);
  if (AShowEndEllipsis) flags |= cxtfEndEllipsis;
  DrawTexT(AText, R, flags, true);
}

TSize TcxCanvas::TextExtent(const String& AText) {
  TSize size;
  GetTextExtentOf(Handle(), AText, size);
  return size;
}

void TcxCanvas::TextExtent(const String& AText, TRect& R, int AFlags) {
  const int width = R.Width();
  const int height = R.Height();
  const UINT format = TextFlagsToDrawTextFlags(AFlags);
  // Word breaking needs a width to work with.
  if (R.Width() <= 0 && !AText.empty()) R.Right = R.Left + 1;
  if (DrawTextWithColor(Handle(), AText, R, (format & ~static_cast<UINT>(DT_VCENTER)) | DT_CALCRECT, -1, clDefault,
                        TRANSPARENT) == 0)
    R = TRect(R.Left, R.Top, R.Left, R.Top);
  if (format & DT_CENTER)
    R.Offset((width - R.Width()) / 2, 0);
  else if (format & DT_RIGHT)
    R.Offset(width - R.Width(), 0);
  if (format & DT_VCENTER)
    R.Offset(0, (height - R.Height()) / 2);
  else if (format & DT_BOTTOM)
    R.Offset(0, height - R.Height());
}

void TcxCanvas::TextOut(int X, int Y, const String& AText) { FCanvas->TextOut(X, Y, AText); }

int TcxCanvas::FontHeight(TFont* AFont) {
  Font()->Assign(AFont);
  TEXTMETRICW metrics{};
  GetTextMetricsW(Handle(), &metrics);
  return metrics.tmHeight;
}

void TcxCanvas::SetFontAngle(int AValue) {
  LOGFONTW logFont = Font()->LogFont();
  logFont.lfEscapement = AValue * 10;
  if (AValue != 0) logFont.lfOutPrecision = OUT_TT_ONLY_PRECIS;
  Font()->SetHandle(CreateFontIndirectW(&logFont));
}

void TcxCanvas::AlignMultiLineTextRectVertically(TRect& R, const String& AText, TcxAlignmentVert AAlignmentVert,
                                                 bool AWordBreak, bool AShowPrefix, bool AEnabled,
                                                 bool ADontBreakChars, bool AEndEllipsis, bool AExpandTabs) {
  if (AAlignmentVert == vaTop) return;
  const int d = AEnabled ? 0 : 1;
  TRect measure(0, 0, R.Width() - d, 0);
  int flags = cxtfLeft | cxtfTop;
  if (AWordBreak) flags |= cxtfWordBreak;
  if (AShowPrefix) flags |= cxtfShowPrefix;
  if (ADontBreakChars) flags |= cxtfNoCharBreak;
  if (AExpandTabs) flags |= cxtfExpandTabs;
  int height = 0;
  if (AEndEllipsis && AWordBreak) {
    height = GetTextHeightInWidth(Font(), AText, measure.Width(), R.Height(),
                                  TextFlagsToDrawTextFlags(flags | cxtfEndEllipsis) & ~static_cast<UINT>(DT_VCENTER));
  } else {
    TextExtent(AText, measure, flags);
    height = measure.Height();
  }
  if (AAlignmentVert == vaBottom)
    R.Top = R.Bottom - (height + d);
  else
    R.Top = (R.Top + R.Bottom - height) / 2;
}

void TcxCanvas::GetTextStringsBounds(const String& AText, const TRect& R, int AFlags, bool AEnabled,
                                     std::vector<TRect>& ABounds) {
  if (AText.empty()) return;
  String text = AText;
  int flags = AFlags;
  if (flags & cxtfShowPrefix) {
    text = RemoveAccelerators(text);
    flags &= ~cxtfShowPrefix;
  }
  TRect bounds = R;
  if (!AEnabled) {
    --bounds.Right;
    --bounds.Bottom;
  }
  // Lines start where DrawTexT puts the text: the block is measured from
  // the top and then placed at the bottom or in the middle.
  TRect block = bounds;
  TextExtent(text, block, flags & ~cxtfVertAlignment);
  int top = bounds.Top;
  if ((flags & cxtfVertAlignment) == cxtfBottom)
    top = bounds.Bottom - block.Height();
  else if ((flags & cxtfVertAlignment) == cxtfCenterY)
    top = (bounds.Top + bounds.Bottom - block.Height()) / 2;
  const HDC DC = Handle();
  while (!text.empty()) {
    const TTextLine line = NextTextLine(DC, text, bounds.Width(), (flags & cxtfLeft) != 0);
    TSize size;
    GetTextExtentOf(DC, text, size, static_cast<int>(line.Length));
    TRect lineRect(bounds.Left, top, bounds.Right, top + size.cy);
    if (flags & cxtfLeft) {
      lineRect.Right = bounds.Left + size.cx;
    } else if (flags & cxtfRight) {
      lineRect.Left = bounds.Right - size.cx;
    } else if (flags & cxtfCenterX) {
      lineRect.Left = (bounds.Left + bounds.Right - size.cx) / 2;
      lineRect.Right = lineRect.Left + size.cx;
    }
    ABounds.push_back(lineRect);
    top = lineRect.Bottom;
    text.erase(0, line.Length + line.Dropped);
  }
}

// ---------------------------------------------------------------------------
// Images

void TcxCanvas::Draw(int X, int Y, TGraphic* AGraphic) { FCanvas->Draw(X, Y, AGraphic); }

void TcxCanvas::Draw(int X, int Y, TGraphic* AGraphic, std::uint8_t AOpacity) {
  if (!AGraphic || AGraphic->Empty()) return;
  if (AOpacity == 255) {
    Draw(X, Y, AGraphic);
    return;
  }
  // The graphic drawn on a copy of what lies under it, faded in as a whole.
  const TRect target = Bounds(X, Y, AGraphic->Width(), AGraphic->Height());
  TOwned<TcxBitmap> layer(NewWith<TcxBitmap>([&](TcxBitmap* b) { b->CreateSize(target); }));
  CopyDCRect(layer->Canvas()->Handle(), Handle(), layer->ClientRect(), target.TopLeft());
  layer->Canvas()->Draw(0, 0, AGraphic);
  TransparentDraw(X, Y, layer.get(), AOpacity);
}

void TcxCanvas::StretchDraw(const TRect& R, TGraphic* AGraphic) { FCanvas->StretchDraw(R, AGraphic); }

void TcxCanvas::CopyRect(const TRect& ADest, TCanvas* ACanvas, const TRect& ASource) {
  FCanvas->CopyRect(ADest, ACanvas, ASource);
}

void TcxCanvas::BrushCopy(const TRect& ADest, TBitmap* ABitmap, const TRect& ASource, TColor AColor) {
  if (!ABitmap || ABitmap->Empty()) return;
  const HDC DC = Handle();
  if (Brush()->Style() != bsClear) FCanvas->FillRect(ADest);
  TransparentBlt(DC, ADest.Left, ADest.Top, ADest.Width(), ADest.Height(), ABitmap->Canvas()->Handle(), ASource.Left,
                 ASource.Top, ASource.Width(), ASource.Height(), ColorToColorRef(AColor));
}

void TcxCanvas::DrawImage(TCustomImageList* AImages, int X, int Y, int AIndex, bool AEnabled) {
  if (!AImages || AIndex < 0 || AIndex >= AImages->Count()) return;
  const TcxDCStateScope saved(this);
  AImages->Draw(FCanvas, X, Y, AIndex, AEnabled);
}

void TcxCanvas::DrawGlyph(int X, int Y, TBitmap* AGlyph, bool AEnabled, TColor ABackgroundColor) {
  if (!AGlyph || AGlyph->Empty()) return;
  const int w = AGlyph->Width();
  const int h = AGlyph->Height();
  if (AEnabled) {
    const TBrushStyle style = Brush()->Style();
    if (ABackgroundColor == clNone)
      Brush()->SetStyle(bsClear);
    else
      Brush()->SetColor(ABackgroundColor);
    BrushCopy(Bounds(X, Y, w, h), AGlyph, TRect(0, 0, w, h), AGlyph->TransparentColor());
    Brush()->SetStyle(style);
    return;
  }
  TOwned<TImageList> images(New<TImageList>(nullptr));
  images->SetSize(w, h);
  // clDefault lets the image list take the bottom-left pixel's colour.
  images->AddMasked(AGlyph, AGlyph->TransparentMode() == tmFixed ? AGlyph->TransparentColor() : clDefault);
  if (ABackgroundColor == clNone) {
    images->Draw(FCanvas, X, Y, 0, false);
    return;
  }
  TOwned<TBitmap> background(CreateBitmapWithFormat(w, h));
  FillRectWithColor(background->Canvas()->Handle(), TRect(0, 0, w, h), ABackgroundColor);
  images->Draw(background->Canvas(), 0, 0, 0, false);
  Draw(X, Y, background.get());
}

void TcxCanvas::TransparentDraw(int X, int Y, TBitmap* ABitmap, std::uint8_t AAlpha, TBitmap* ABackground) {
  if (!ABitmap || ABitmap->Empty()) return;
  const TRect client(0, 0, ABitmap->Width(), ABitmap->Height());
  TOwned<TcxBitmap> blended(NewWith<TcxBitmap>([&](TcxBitmap* b) { b->CreateSize(client); }));
  if (ABackground)
    blended->Canvas()->Draw(0, 0, ABackground);
  else
    CopyDCRect(blended->Canvas()->Handle(), Handle(), client, TPoint(X, Y));
  if (!SystemAlphaBlend(blended->Canvas()->Handle(), ABitmap->Canvas()->Handle(), client, client, AAlpha, false)) {
    TRGBColors source;
    TRGBColors target;
    if (GetGraphicPixels(ABitmap, source, true) && GetGraphicPixels(blended.get(), target, true)) {
      for (std::size_t i = 0; i < target.size(); ++i) {
        RGBQUAD& t = target[i];
        const RGBQUAD& s = source[i];
        t.rgbBlue = static_cast<BYTE>(MulDiv(t.rgbBlue, 255 - AAlpha, 255) + MulDiv(s.rgbBlue, AAlpha, 255));
        t.rgbGreen = static_cast<BYTE>(MulDiv(t.rgbGreen, 255 - AAlpha, 255) + MulDiv(s.rgbGreen, AAlpha, 255));
        t.rgbRed = static_cast<BYTE>(MulDiv(t.rgbRed, 255 - AAlpha, 255) + MulDiv(s.rgbRed, AAlpha, 255));
      }
      SetGraphicPixels(blended.get(), target, true);
    }
  }
  Draw(X, Y, blended.get());
}

void TcxCanvas::FlipHorizontally(TBitmap* ABitmap) {
  TRGBColors pixels;
  if (!GetGraphicPixels(ABitmap, pixels, true)) return;
  const auto width = static_cast<std::ptrdiff_t>(ABitmap->Width());
  for (auto row = pixels.begin(); row != pixels.end(); row += width) std::reverse(row, row + width);
  SetGraphicPixels(ABitmap, pixels, true);
}

void TcxCanvas::RotateBitmap(TBitmap* ABitmap, TcxRotationAngle ARotationAngle, bool AFlipVertically) {
  if (ARotationAngle == ra0 && !AFlipVertically) return;
  TRGBColors source;
  if (!GetGraphicPixels(ABitmap, source, true)) return;
  const int w = ABitmap->Width();
  const int h = ABitmap->Height();
  const bool quarterTurn = ARotationAngle == raPlus90 || ARotationAngle == raMinus90;
  const int resultWidth = quarterTurn ? h : w;
  TRGBColors result(source.size());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const TPoint p = RotatedPosition(ARotationAngle, AFlipVertically, x, y, w, h);
      result[static_cast<std::size_t>(p.Y) * resultWidth + p.X] = source[static_cast<std::size_t>(y) * w + x];
    }
  if (quarterTurn) {
    ABitmap->SetHeight(0);
    ABitmap->SetWidth(h);
    ABitmap->SetHeight(w);
  }
  SetGraphicPixels(ABitmap, result, true);
}
