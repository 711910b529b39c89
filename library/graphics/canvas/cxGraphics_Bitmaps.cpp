// Off-screen bitmaps: TcxBitmap with its canvas, update locking, flipping
// and rotation; TcxBitmap32 with per-pixel operations; TcxAlphaBitmap with
// transparent colours and its pixel transformations. The compressed form
// data is in cxGraphics_BitmapData.cpp.
#include "library/graphics/canvas/cxGraphics.h"

#include "library/graphics/imaging/dxPixelBuffers.h"
#include "platform/runtime/SysUtils.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>

#include <xmmintrin.h>

namespace {

std::uint32_t PixelValue(const RGBQUAD& APixel) { return std::bit_cast<std::uint32_t>(APixel); }

BYTE ClampToByte(float AValue) { return static_cast<BYTE>(std::clamp(AValue, 0.0f, 255.0f)); }

// Rounded to the nearest integer, halves to even, and clamped to 0..255. The
// SSE conversion rounds as the current mode says (nearest, halves to even),
// like std::nearbyint without its call: blends run it four times a pixel.
BYTE RoundToByte(float AValue) { return static_cast<BYTE>(std::clamp(_mm_cvtss_si32(_mm_set_ss(AValue)), 0, 255)); }

// Red, green and blue become their weighted sum, rounded to the nearest
// integer (halves to even).
void GreyPixel(RGBQUAD& AColor, float ARedWeight, float AGreenWeight, float ABlueWeight) {
  const BYTE grey =
      RoundToByte(AColor.rgbRed * ARedWeight + AColor.rgbGreen * AGreenWeight + AColor.rgbBlue * ABlueWeight);
  AColor.rgbRed = grey;
  AColor.rgbGreen = grey;
  AColor.rgbBlue = grey;
}

}  // namespace

void cxBlendPixel(RGBQUAD& P, const RGBQUAD& C, std::uint8_t AFactor) {
  const float k = AFactor / 255.0f;
  const float m = 1 - (C.rgbReserved * k) / 255.0f;
  auto blend = [&](BYTE AColor, BYTE APixel) { return RoundToByte(AColor * k + APixel * m); };
  P.rgbBlue = blend(C.rgbBlue, P.rgbBlue);
  P.rgbGreen = blend(C.rgbGreen, P.rgbGreen);
  P.rgbRed = blend(C.rgbRed, P.rgbRed);
  P.rgbReserved = blend(C.rgbReserved, P.rgbReserved);
}

void cxBlendPixels(std::span<RGBQUAD> APixels, std::span<const RGBQUAD> AColors, std::uint8_t AFactor) {
  // cxBlendPixel's products, worked out once per value instead of per
  // pixel: the same floats, so the same bytes.
  const float k = AFactor / 255.0f;
  std::array<float, 256> scaled;
  std::array<float, 256> remaining;
  for (int i = 0; i < 256; ++i) {
    scaled[i] = i * k;
    remaining[i] = 1 - (i * k) / 255.0f;
  }
  const std::size_t count = std::min(APixels.size(), AColors.size());
  for (std::size_t i = 0; i < count; ++i) {
    RGBQUAD& P = APixels[i];
    const RGBQUAD& C = AColors[i];
    const float m = remaining[C.rgbReserved];
    P.rgbBlue = RoundToByte(scaled[C.rgbBlue] + P.rgbBlue * m);
    P.rgbGreen = RoundToByte(scaled[C.rgbGreen] + P.rgbGreen * m);
    P.rgbRed = RoundToByte(scaled[C.rgbRed] + P.rgbRed * m);
    P.rgbReserved = RoundToByte(scaled[C.rgbReserved] + P.rgbReserved * m);
  }
}

// ---------------------------------------------------------------------------
// TcxColorList

void TcxColorList::Add(TColor AColor) {
  FItems.push_back(PixelValue(ColorToQuad(AColor)) & 0x00FFFFFFu);
}

bool TcxColorList::Contains(const RGBQUAD& APixel) const {
  return std::find(FItems.begin(), FItems.end(), PixelValue(APixel) & 0x00FFFFFFu) != FItems.end();
}

// ---------------------------------------------------------------------------
// TcxBitmap

void TcxBitmap::Publish(TPublisher<TcxBitmap>& P) {
  P.Property(L"CompressData", &TcxBitmap::CompressData, &TcxBitmap::SetCompressData).Default(false);
}

void TcxBitmap::Create() { CreateSize(0, 0); }

void TcxBitmap::CreateSize(int AWidth, int AHeight) { CreateSize(AWidth, AHeight, pf24bit); }

void TcxBitmap::CreateSize(int AWidth, int AHeight, TPixelFormat APixelFormat) {
  inherited::Create();
  Initialize(AWidth, AHeight, APixelFormat);
}

void TcxBitmap::CreateSize(const TSize& ASize) { CreateSize(ASize.cx, ASize.cy); }

void TcxBitmap::CreateSize(const TRect& ARect) { CreateSize(ARect.Width(), ARect.Height()); }

void TcxBitmap::CreateSize(const TRect& ARect, TPixelFormat APixelFormat) {
  CreateSize(ARect.Width(), ARect.Height(), APixelFormat);
}

void TcxBitmap::Initialize(int AWidth, int AHeight, TPixelFormat APixelFormat) {
  BeginUpdate();
  TryFinally(
      [&] {
        SetPixelFormat(APixelFormat);
        SetSize(AWidth, AHeight);
      },
      [&] { EndUpdate(true); });
}

void TcxBitmap::Destroy() {
  FcxCanvas.reset();
  inherited::Destroy();
}

void TcxBitmap::EndUpdate(bool AForceUpdate) {
  --FLockCount;
  if (FLockCount == 0 && (AForceUpdate || FModified)) Changed(this);
}

void TcxBitmap::Changed(TObject* Sender) {
  if (FLockCount > 0) {
    FModified = true;
    return;
  }
  inherited::Changed(Sender);
  Update();
  FModified = false;
}

void TcxBitmap::SetSize(int AWidth, int AHeight) {
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (AWidth == Width() && AHeight == Height()) return;
  BeginUpdate();
  TryFinally([&] { inherited::SetSize(AWidth, AHeight); }, [&] { EndUpdate(false); });
}

void TcxBitmap::CopyBitmap(TBitmap* ASrcBitmap, DWORD ACopyMode) {
  CopyBitmap(ASrcBitmap, ClientRect(), TPoint(), ACopyMode);
}

void TcxBitmap::CopyBitmap(TBitmap* ASrcBitmap, const TRect& ADestRect, const TPoint& ASrcTopLeft, DWORD ACopyMode) {
  CopyDCRect(Canvas()->Handle(), ASrcBitmap->Canvas()->Handle(), ADestRect, ASrcTopLeft, ACopyMode);
}

void TcxBitmap::Dormant() {
  FcxCanvas.reset();
  inherited::Dormant();
}

void TcxBitmap::Flip(bool AFlipHorizontally, bool AFlipVertically) {
  if (!AFlipHorizontally && !AFlipVertically) return;
  TRGBColors pixels;
  if (!GetGraphicPixels(this, pixels, true)) return;
  const auto width = static_cast<std::ptrdiff_t>(Width());
  if (AFlipHorizontally)
    for (auto row = pixels.begin(); row != pixels.end(); row += width) std::reverse(row, row + width);
  if (AFlipVertically)
    for (auto top = pixels.begin(), bottom = pixels.end() - width; top < bottom; top += width, bottom -= width)
      std::swap_ranges(top, top + width, bottom);
  SetGraphicPixels(this, pixels, true);
  Changed(this);
}

void TcxBitmap::Rotate(TcxRotationAngle ARotationAngle, bool AFlipVertically) {
  BeginUpdate();
  TryFinally([&] { cxCanvas()->RotateBitmap(this, ARotationAngle, AFlipVertically); }, [&] { EndUpdate(true); });
}

TcxCanvas* TcxBitmap::cxCanvas() {
  if (!FcxCanvas) FcxCanvas.reset(New<TcxCanvas>(Canvas()));
  return FcxCanvas.get();
}

// ---------------------------------------------------------------------------
// TcxBitmap32

void TcxBitmap32::CreateSize(int AWidth, int AHeight) { inherited::CreateSize(AWidth, AHeight, pf32bit); }

void TcxBitmap32::CreateSize(int AWidth, int AHeight, bool AClear) {
  CreateSize(AWidth, AHeight);
  if (AClear) Clear();
}

void TcxBitmap32::CreateSize(const TRect& ARect, bool AClear) { CreateSize(ARect.Width(), ARect.Height(), AClear); }

void TcxBitmap32::CreateSize(const TSize& ASize, bool AClear) { CreateSize(ASize.cx, ASize.cy, AClear); }

void TcxBitmap32::AfterConstruction() {
  inherited::AfterConstruction();
  FIsAlphaUsed = bDefault;
}

void TcxBitmap32::Update() {
  FIsAlphaUsed = bDefault;
  if (PixelFormat() != pf32bit) throw EdxException(L"Wrong PixelFormat");
}

void TcxBitmap32::LoadFromStream(TStream* AStream) {
  BeginUpdate();
  TryFinally([&] { inherited::LoadFromStream(AStream); },
             [&] {
               SetPixelFormat(pf32bit);
               EndUpdate(true);
             });
}

void TcxBitmap32::GetBitmapColors(TRGBColors& AColors) { GetGraphicPixels(this, AColors, false); }

void TcxBitmap32::SetBitmapColors(const TRGBColors& AColors) {
  SetGraphicPixels(this, AColors, false);
  Changed(this);
}

void TcxBitmap32::Clear() {
  if (Empty()) return;
  const RECT all = ClientRect();
  ::FillRect(Canvas()->Handle(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  Changed(this);
}

void TcxBitmap32::SetAlphaChannel(std::uint8_t AAlpha) {
  TRGBColors colors;
  GetBitmapColors(colors);
  for (RGBQUAD& color : colors) color.rgbReserved = AAlpha;
  SetBitmapColors(colors);
}

void TcxBitmap32::Darken(int APercent) {
  TRGBColors colors;
  GetBitmapColors(colors);
  auto darken = [APercent](BYTE c) { return static_cast<BYTE>(std::clamp(APercent * c / 100, 0, 255)); };
  for (RGBQUAD& color : colors) {
    color.rgbRed = darken(color.rgbRed);
    color.rgbGreen = darken(color.rgbGreen);
    color.rgbBlue = darken(color.rgbBlue);
  }
  SetBitmapColors(colors);
}

void TcxBitmap32::Lighten(int APercent) {
  TRGBColors colors;
  GetBitmapColors(colors);
  auto lighten = [APercent](BYTE c) {
    return ClampToByte(std::trunc(255 - APercent / 100.0f * (255 - c)));
  };
  for (RGBQUAD& color : colors) {
    color.rgbRed = lighten(color.rgbRed);
    color.rgbGreen = lighten(color.rgbGreen);
    color.rgbBlue = lighten(color.rgbBlue);
  }
  SetBitmapColors(colors);
}

void TcxBitmap32::Invert() { CopyBitmap(this, NOTSRCCOPY); }

void TcxBitmap32::Filter(TBitmap* AMaskBitmap) { CopyBitmap(AMaskBitmap, 0x00220326); }

void TcxBitmap32::RecoverTransparency(TColor ATransparentColor) {
  const std::uint32_t transparent = PixelValue(ColorToQuad(ATransparentColor)) & 0x00FFFFFFu;
  TRGBColors colors;
  GetBitmapColors(colors);
  for (RGBQUAD& color : colors) {
    if ((PixelValue(color) & 0x00FFFFFFu) == transparent)
      color = RGBQUAD{};
    else if (color.rgbReserved == 0)
      color.rgbReserved = 255;
  }
  SetBitmapColors(colors);
}

void TcxBitmap32::AlphaBlend(TBitmap* ADestBitmap, const TRect& ADestRect, bool ASmoothImage,
                             std::uint8_t AConstantAlpha) {
  AlphaBlendDC(ADestBitmap->Canvas()->Handle(), Canvas()->Handle(), ADestRect, ClientRect(), ASmoothImage,
               AConstantAlpha, this);
}

bool TcxBitmap32::IsAlphaUsed() {
  if (FIsAlphaUsed == bDefault) {
    TRGBColors colors;
    GetBitmapColors(colors);
    FIsAlphaUsed = BooleanToDefaultBoolean(GetPixelsAlphaState(colors) != asNoAlpha);
  }
  return FIsAlphaUsed == bTrue;
}

// ---------------------------------------------------------------------------
// TcxAlphaBitmap

void TcxAlphaBitmap::CreateSize(int AWidth, int AHeight) { inherited::CreateSize(AWidth, AHeight); }

void TcxAlphaBitmap::CreateSize(int AWidth, int AHeight, const RGBQUAD& ATransparentBkColor) {
  CreateSize(AWidth, AHeight);
  FTransparentBkColor = ATransparentBkColor;
}

void TcxAlphaBitmap::Clear() {
  if (FTransparentBkColor.rgbReserved != 0)
    TransformBitmap(btmClear);
  else
    inherited::Clear();
}

void TcxAlphaBitmap::RefreshImage(int AWidth, int AHeight) {
  SetSize(AWidth, AHeight);
  FTransparentPixels.Clear();
  Clear();
}

void TcxAlphaBitmap::DrawHatch(const TcxHatchData& AHatchData) {
  FHatchData = AHatchData;
  TransformBitmap(btmHatch);
}

void TcxAlphaBitmap::DrawHatch(TColor AColor1, TColor AColor2, int AStep, std::uint8_t AAlpha1,
                               std::uint8_t AAlpha2) {
  DrawHatch(TcxHatchData{ColorToQuad(AColor1, 255), AAlpha1, ColorToQuad(AColor2, 255), AAlpha2, static_cast<std::uint8_t>(AStep)});
}

void TcxAlphaBitmap::RecoverAlphaChannel(TColor ATransparentColor) {
  FTransparentPixels.Clear();
  FTransparentPixels.Add(ATransparentColor);
  FTransparentBkColor = ColorToQuad(ATransparentColor, 0);
  TransformBitmap(btmCorrectBlend);
}

void TcxAlphaBitmap::RecoverAlphaChannel(const TRect& ARect, TColor ATransparentColor) {
  TOwned<TcxAlphaBitmap> part(NewWith<TcxAlphaBitmap>([&](TcxAlphaBitmap* b) { b->CreateSize(ARect.Width(), ARect.Height()); }));
  part->CopyBitmap(this, part->ClientRect(), ARect.TopLeft());
  part->RecoverAlphaChannel(ATransparentColor);
  {
    TcxCanvas* canvas = cxCanvas();
    const TcxClipRegionScope clip(canvas);
    canvas->SetClipRegion(New<TcxRegion>(ARect), roIntersect);
    CopyBitmap(part.get(), ARect, TPoint());
  }
  Changed(this);
}

void TcxAlphaBitmap::ExtractLayer(TColor ATransparentColor) {
  FTransparentPixels.Clear();
  FTransparentPixels.Add(ATransparentColor);
  FTransparentBkColor = ColorToQuad(ATransparentColor, 0);
  TransformBitmap(btmExtractLayer);
}

void TcxAlphaBitmap::Shade(TBitmap* AMaskBitmap) {
  const TRect mask(0, 0, AMaskBitmap->Width(), AMaskBitmap->Height());
  CopyDCRect(AMaskBitmap->Canvas()->Handle(), AMaskBitmap->Canvas()->Handle(), mask, TPoint(), PATINVERT);
  CopyBitmap(AMaskBitmap, Bounds(1, 1, mask.Width(), mask.Height()), TPoint(), SRCCOPY);
  Canvas()->Brush()->SetColor(clBtnShadow);
  CopyBitmap(AMaskBitmap, mask, TPoint(), 0x00E20746);
  TransformBitmap(btmCorrectBlend);
}

void TcxAlphaBitmap::DrawShadow(TBitmap* AMaskBitmap, int AShadowSize, TColor AShadowColor, bool AInflateSize) {
  const int s = AShadowSize;
  const int w = Width();
  const int h = Height();
  TOwned<TcxAlphaBitmap> shadow(NewWith<TcxAlphaBitmap>([&](TcxAlphaBitmap* b) {
    b->CreateSize(w + 2 * s, h + 2 * s, RGBQUAD{255, 255, 255, 255});
  }));
  shadow->Clear();
  shadow->CopyBitmap(AMaskBitmap, Bounds(s, s, AMaskBitmap->Width(), AMaskBitmap->Height()), TPoint());
  shadow->Canvas()->Brush()->SetColor(AShadowColor);
  shadow->CopyBitmap(shadow.get(), Bounds(s, s, shadow->Width(), shadow->Height()), TPoint(), 0x00200F09);
  shadow->SetTransparentBkColor(RGBQUAD{});
  shadow->TransformBitmap(btmCorrectBlend);

  TOwned<TcxAlphaBitmap> result(NewWith<TcxAlphaBitmap>([&](TcxAlphaBitmap* b) { b->CreateSize(w + s, h + s); }));
  result->Clear();
  result->CopyBitmap(this, Bounds(0, 0, w, h), TPoint());
  result->CopyBitmap(shadow.get(), result->ClientRect(), TPoint(s, s), SRCPAINT);
  if (AInflateSize) SetSize(w + s, h + s);
  CopyBitmap(result.get());
}

bool TcxAlphaBitmap::IsColorTransparent(const RGBQUAD& AColor) const {
  return PixelValue(AColor) == PixelValue(FTransparentBkColor) || FTransparentPixels.Contains(AColor);
}

void TcxAlphaBitmap::TransformPixel(TcxBitmapTransformationMode AMode, RGBQUAD& AColor) {
  // The modes that treat every pixel alike.
  switch (AMode) {
    case btmSetOpaque:
      AColor.rgbReserved = 255;
      return;
    case btmResetAlpha:
      AColor.rgbReserved = 0;
      return;
    case btmClear:
      AColor = FTransparentBkColor;
      return;
    case btmHatch: {
      const int step = std::max<int>(FHatchData.Step, 1);
      if ((FCurrentColorIndex.X / step + FCurrentColorIndex.Y / step) % 2 == 1)
        cxBlendPixel(AColor, FHatchData.Color2, FHatchData.Alpha2);
      else
        cxBlendPixel(AColor, FHatchData.Color1, FHatchData.Alpha1);
      return;
    }
    case btmMakeMask:
      AColor = IsColorTransparent(AColor) ? RGBQUAD{255, 255, 255, 255} : RGBQUAD{};
      return;
    case btmExtractLayer:
      if (IsColorTransparent(AColor)) AColor = RGBQUAD{};
      return;
    default:
      break;
  }
  if (IsColorTransparent(AColor)) return;
  switch (AMode) {
    case btmDingy:
      if (AColor.rgbReserved == 255) {
        for (BYTE* c : {&AColor.rgbRed, &AColor.rgbGreen, &AColor.rgbBlue})
          *c = static_cast<BYTE>(*c + MulDiv(255 - *c, 3, 10));
      } else {
        for (BYTE* c : {&AColor.rgbRed, &AColor.rgbGreen, &AColor.rgbBlue, &AColor.rgbReserved})
          *c = static_cast<BYTE>(MulDiv(*c, 200, 255));
      }
      break;
    case btmDirty:
      GreyPixel(AColor, 0.299f, 0.587f, 0.114f);
      cxBlendPixel(AColor, ColorToQuad(clBtnShadow, 0xC0), 238);
      break;
    case btmGrayScale: {
      const BYTE grey = static_cast<BYTE>((AColor.rgbRed + AColor.rgbGreen + AColor.rgbBlue) / 3);
      AColor.rgbRed = grey;
      AColor.rgbGreen = grey;
      AColor.rgbBlue = grey;
      break;
    }
    case btmFade:
      GreyPixel(AColor, 0.299f, 0.587f, 0.114f);
      break;
    case btmDisable:
      GreyPixel(AColor, 0.0729f, 0.7146f, 0.2125f);
      break;
    case btmCorrectBlend:
      if (AColor.rgbReserved == 0) AColor.rgbReserved = 255;
      break;
    default:
      break;
  }
}

void TcxAlphaBitmap::TransformBitmap(TcxBitmapTransformationMode AMode) {
  TRGBColors colors;
  GetBitmapColors(colors);
  const int w = Width();
  const int h = Height();
  for (int x = 0; x < w; ++x)
    for (int y = 0; y < h; ++y) {
      FCurrentColorIndex = TPoint(x, y);
      TransformPixel(AMode, colors[static_cast<std::size_t>(y) * w + x]);
    }
  SetBitmapColors(colors);
}

// ---------------------------------------------------------------------------
// ResizeBitmap32

void ResizeBitmap32(TcxBitmap32* ABitmap, int AWidth, int AHeight, bool AStretch, bool ASmooth,
                    TColor ABackgroundColor) {
  TOwned<TcxBitmap32> old(NewWith<TcxBitmap32>([&](TcxBitmap32* b) { b->CreateSize(ABitmap->ClientRect(), false); }));
  old->CopyBitmap(ABitmap);
  ABitmap->SetSize(AWidth, AHeight);
  if (AStretch || ABackgroundColor == clNone)
    ABitmap->Clear();
  else
    ABitmap->cxCanvas()->FillRect(ABitmap->ClientRect(), ABackgroundColor);
  if (AStretch) {
    old->AlphaBlend(ABitmap, ABitmap->ClientRect(), ASmooth, 255);
  } else {
    const TRect r = ABitmap->ClientRect();
    const TPoint offset((r.Width() - old->Width()) / 2, (r.Height() - old->Height()) / 2);
    ABitmap->CopyBitmap(old.get(), Bounds(offset.X, offset.Y, old->Width(), old->Height()), TPoint());
  }
  ABitmap->Changed(ABitmap);
}
