#include "library/graphics/imaging/dxPixelBuffers.h"

#include "library/graphics/imaging/dxPixelBuffers_Internal.h"

#include <algorithm>
#include <bit>
#include <cstdlib>

namespace {

// The bitmap a graphic's pixels live in, or nil.
HBITMAP GraphicBitmap(TGraphic* AGraphic) {
  auto* bitmap = dynamic_cast<TBitmap*>(AGraphic);
  return bitmap && !bitmap->Empty() ? bitmap->Handle() : nullptr;
}

std::size_t PixelCount(TGraphic* AGraphic) {
  return static_cast<std::size_t>(AGraphic->Width()) * static_cast<std::size_t>(AGraphic->Height());
}

}  // namespace

// ---------------------------------------------------------------------------
// Pixel access and tests

BITMAPINFO dxPixelsBitmapInfo(int AWidth, int AHeight, bool ATopDown) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = AWidth;
  info.bmiHeader.biHeight = ATopDown ? -AHeight : AHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

bool dxReadBitmapRows(HDC ADC, HBITMAP ABitmap, int AWidth, int AHeight, bool ATopDown, TRGBColors& AColors) {
  BITMAPINFO info = dxPixelsBitmapInfo(AWidth, AHeight, ATopDown);
  TRGBColors scratch(static_cast<std::size_t>(AWidth));
  for (int row = 0; row < AHeight; ++row) {
    const UINT scanLine = static_cast<UINT>(ATopDown ? AHeight - 1 - row : row);
    RGBQUAD* target = AColors.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(AWidth);
    if (GetDIBits(ADC, ABitmap, scanLine, 1, target, &info, DIB_RGB_COLORS) == 1) continue;
    if (GetDIBits(ADC, ABitmap, scanLine, 1, scratch.data(), &info, DIB_RGB_COLORS) != 1) return false;
    std::copy(scratch.begin(), scratch.end(), target);
  }
  return true;
}

bool GetGraphicPixels(TGraphic* AGraphic, TRGBColors& AColors, bool ATopDown) {
  if (!AGraphic) return false;
  AColors.resize(PixelCount(AGraphic));
  const HBITMAP bitmap = GraphicBitmap(AGraphic);
  if (!bitmap) return false;
  const int width = AGraphic->Width();
  const int height = AGraphic->Height();
  const TOwnedDC dc(CreateCompatibleDC(nullptr));
  BITMAPINFO info = dxPixelsBitmapInfo(width, height, ATopDown);
  if (GetDIBits(dc.Get(), bitmap, 0, static_cast<UINT>(height), AColors.data(), &info, DIB_RGB_COLORS) == height)
    return true;
  return dxReadBitmapRows(dc.Get(), bitmap, width, height, ATopDown, AColors);
}

bool SetGraphicPixels(TGraphic* AGraphic, const TRGBColors& AColors, bool ATopDown) {
  if (!AGraphic) return false;
  const HBITMAP bitmap = GraphicBitmap(AGraphic);
  if (!bitmap || AColors.size() < PixelCount(AGraphic)) return false;
  const int height = AGraphic->Height();
  const TOwnedDC dc(CreateCompatibleDC(nullptr));
  const BITMAPINFO info = dxPixelsBitmapInfo(AGraphic->Width(), height, ATopDown);
  return SetDIBits(dc.Get(), bitmap, 0, static_cast<UINT>(height), AColors.data(), &info, DIB_RGB_COLORS) == height;
}

int GetBitmapBitsPerPixel(TBitmap* ABitmap) {
  switch (ABitmap->PixelFormat()) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit:
    case pf16bit: return 16;
    case pf24bit: return 24;
    case pf32bit: return 32;
    case pfDevice:
    case pfCustom: break;
  }
  return GetDeviceCaps(ABitmap->Canvas()->Handle(), BITSPIXEL);
}

TdxAlphaState GetPixelsAlphaState(std::span<const RGBQUAD> AColors) {
  bool transparent = false;
  bool opaque = false;
  for (const RGBQUAD& pixel : AColors) {
    switch (pixel.rgbReserved) {
      case 0: transparent = true; break;
      case 255: opaque = true; break;
      default: return asSemitransparent;
    }
    if (transparent && opaque) return asSemitransparent;
  }
  return opaque ? asOpaque : asNoAlpha;
}

TdxAlphaState GetGraphicAlphaState(TGraphic* AGraphic) {
  auto* bitmap = dynamic_cast<TBitmap*>(AGraphic);
  if (!bitmap || bitmap->Empty() || GetBitmapBitsPerPixel(bitmap) < 32) return asNoAlpha;
  TRGBColors colors;
  return GetGraphicPixels(bitmap, colors, false) ? GetPixelsAlphaState(colors) : asNoAlpha;
}

bool HasGraphicAlphaChannel(TGraphic* AGraphic) { return GetGraphicAlphaState(AGraphic) != asNoAlpha; }

void ColorizePixels(std::span<RGBQUAD> AColors, TColor AColor) {
  const COLORREF rgb = ColorToColorRef(AColor);
  const TdxColors::TTable& premultiply = TdxColors::PremultiplyTable();
  for (RGBQUAD& pixel : AColors) {
    const std::uint8_t* scaled = premultiply[pixel.rgbReserved];
    pixel.rgbBlue = scaled[GetBValue(rgb)];
    pixel.rgbGreen = scaled[GetGValue(rgb)];
    pixel.rgbRed = scaled[GetRValue(rgb)];
  }
}

bool IsSameColorWithTolerance(TdxAlphaColor AColor1, TdxAlphaColor AColor2, int ATolerance) {
  if (ATolerance == 0) return AColor1 == AColor2;
  for (int shift = 0; shift < 32; shift += 8) {
    const int difference = static_cast<int>((AColor1 >> shift) & 0xFF) - static_cast<int>((AColor2 >> shift) & 0xFF);
    if (std::abs(difference) > ATolerance) return false;
  }
  return true;
}

bool GetBitmapObject(HBITMAP ABitmap, BITMAP& AInfo) {
  return GetObjectW(ABitmap, sizeof(AInfo), &AInfo) == static_cast<int>(sizeof(AInfo));
}

bool GetDIBSectionObject(HBITMAP ABitmap, DIBSECTION& AInfo) {
  return GetObjectW(ABitmap, sizeof(AInfo), &AInfo) == static_cast<int>(sizeof(AInfo));
}

// ---------------------------------------------------------------------------
// TdxColors

void TdxColors::Initialize() {
  for (int a = 0; a < 256; ++a)
    for (int c = a; c < 256; ++c) {
      FPremultiplyTable[a][c] = FPremultiplyTable[c][a] = static_cast<std::uint8_t>(MulDiv(a, c, 255));
      FUnpremultiplyTable[a][c] = FUnpremultiplyTable[c][a] = static_cast<std::uint8_t>(MulDiv(a, 255, c));
    }
}

namespace {

// Red, green and blue through one row of a [channel][alpha] table (both
// tables are symmetric, so the alpha's row serves). A pixel is read and
// written whole, as its 32-bit colour.
void MapColorChannels(std::span<RGBQUAD> AColors, const TdxColors::TTable& ATable) {
  for (RGBQUAD& pixel : AColors) {
    const auto color = std::bit_cast<TdxAlphaColor>(pixel);
    const std::uint8_t* row = ATable[AlphaOf(color)];
    pixel = std::bit_cast<RGBQUAD>((color & 0xFF000000u) | static_cast<TdxAlphaColor>(row[RedOf(color)]) << 16 |
                                   static_cast<TdxAlphaColor>(row[GreenOf(color)]) << 8 | row[BlueOf(color)]);
  }
}

}  // namespace

void TdxColors::Premultiply(std::span<RGBQUAD> AColors) { MapColorChannels(AColors, FPremultiplyTable); }

void TdxColors::UnPremultiply(std::span<RGBQUAD> AColors) { MapColorChannels(AColors, FUnpremultiplyTable); }

bool TdxColors::ArePremultiplied(std::span<const RGBQUAD> AColors) {
  return std::all_of(AColors.begin(), AColors.end(), [](const RGBQUAD& APixel) {
    return APixel.rgbReserved >= std::max({APixel.rgbBlue, APixel.rgbGreen, APixel.rgbRed});
  });
}

bool TdxColors::ArePremultiplied(const TRGBColors& AColors) {
  return !AColors.empty() && ArePremultiplied(std::span<const RGBQUAD>(AColors));
}

void TdxColors::GrayScale(std::span<RGBQUAD> AColors) {
  const std::uint8_t* blueWeight = FPremultiplyTable[77];
  const std::uint8_t* greenWeight = FPremultiplyTable[150];
  const std::uint8_t* redWeight = FPremultiplyTable[28];
  for (RGBQUAD& pixel : AColors) {
    // The weights add up to 255, so the sum fits a byte.
    const auto grey =
        static_cast<std::uint8_t>(blueWeight[pixel.rgbBlue] + greenWeight[pixel.rgbGreen] + redWeight[pixel.rgbRed]);
    pixel.rgbBlue = pixel.rgbGreen = pixel.rgbRed = grey;
  }
}

// ---------------------------------------------------------------------------

void dxPixelBuffersInitialization() { TdxColors::Initialize(); }
