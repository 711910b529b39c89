// TBitmap: a DIB section (or a device-dependent bitmap for pfDevice) with a
// canvas over a memory device context, scan lines and the BMP file format.
//
// Rows of our own DIB sections run bottom-up, as in BMP files; ScanLine(0)
// is always the top row. The canvas's memory context holds the bitmap
// selected; every change of the handle first takes it out of that context
// (FreeContext), because a bitmap selected into a context can be neither
// deleted nor read with GetDIBits.
#include "platform/classes/ClassErrors.h"
#include "platform/ui/Graphics.h"

#include <algorithm>
#include <cstring>

namespace {

// A BITMAPINFO with room for a full colour table or three masks.
struct TDibInfo {
  BITMAPINFOHEADER Header;
  RGBQUAD Colors[256];
  BITMAPINFO* Info() { return reinterpret_cast<BITMAPINFO*>(this); }
};

int StrideOf(int AWidth, int ABits) { return ((AWidth * ABits + 31) / 32) * 4; }

// A memory device context over one of our bitmaps, for a scope; raises when
// the system has no context to give.
class TCheckedBitmapDC : public TBitmapDC {
 public:
  explicit TCheckedBitmapDC(HBITMAP ABitmap) : TBitmapDC(ABitmap) {
    if (!DC()) RaiseGraphicsApiError(L"CreateCompatibleDC");
  }
};

int ScreenBits() {
  TScreenDC dc;
  return dc.Get() ? GetDeviceCaps(dc.Get(), BITSPIXEL) * GetDeviceCaps(dc.Get(), PLANES) : 32;
}

TPixelFormat FormatOfBits(int ABits, DWORD ARedMask) {
  switch (ABits) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16: return ARedMask == 0xF800 ? pf16bit : pf15bit;
    case 24: return pf24bit;
    case 32: return pf32bit;
    default: return pfCustom;
  }
}

// The colour table a new DIB of the format starts with.
int DefaultColorTable(TPixelFormat AFormat, RGBQUAD* AColors) {
  switch (AFormat) {
    case pf1bit:
      AColors[0] = RGBQUAD{0, 0, 0, 0};
      AColors[1] = RGBQUAD{255, 255, 255, 0};
      return 2;
    case pf4bit: {
      // The sixteen VGA colours.
      static constexpr COLORREF vga[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                                           0x808000, 0x808080, 0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF,
                                           0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
      for (int i = 0; i < 16; ++i)
        AColors[i] = RGBQUAD{GetBValue(vga[i]), GetGValue(vga[i]), GetRValue(vga[i]), 0};
      return 16;
    }
    case pf8bit: {
      const TScreenDC dc;
      const TOwnedPalette palette(CreateHalftonePalette(dc.Get()));
      PALETTEENTRY entries[256]{};
      const UINT n = palette ? GetPaletteEntries(palette.Get(), 0, 256, entries) : 0;
      for (UINT i = 0; i < 256; ++i)
        AColors[i] = i < n ? RGBQUAD{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0}
                           : RGBQUAD{static_cast<BYTE>(i), static_cast<BYTE>(i), static_cast<BYTE>(i), 0};
      return 256;
    }
    default:
      return 0;
  }
}

// Fills the header (and masks or colours) of a bottom-up DIB of the format.
void PrepareInfo(TDibInfo& AInfo, int AWidth, int AHeight, TPixelFormat AFormat, const RGBQUAD* AColors,
                 int AColorCount) {
  AInfo = TDibInfo{};
  AInfo.Header.biSize = sizeof(BITMAPINFOHEADER);
  AInfo.Header.biWidth = AWidth;
  AInfo.Header.biHeight = AHeight;
  AInfo.Header.biPlanes = 1;
  AInfo.Header.biBitCount = static_cast<WORD>(PixelFormatBits(AFormat));
  AInfo.Header.biCompression = BI_RGB;
  if (AFormat == pf16bit) {
    AInfo.Header.biCompression = BI_BITFIELDS;
    const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
    std::memcpy(AInfo.Colors, masks, sizeof(masks));
  } else if (AInfo.Header.biBitCount <= 8) {
    int n = AColorCount;
    if (AColors && n > 0) std::copy_n(AColors, n, AInfo.Colors);
    else n = DefaultColorTable(AFormat, AInfo.Colors);
    AInfo.Header.biClrUsed = static_cast<DWORD>(n);
  }
}

TOwnedBitmap CreateDib(TDibInfo& AInfo, void*& ABits) {
  ABits = nullptr;
  TOwnedBitmap handle(CreateDIBSection(nullptr, AInfo.Info(), DIB_RGB_COLORS, &ABits, nullptr, 0));
  if (!handle || !ABits) RaiseGraphicsApiError(L"CreateDIBSection");
  return handle;
}

[[noreturn]] void InvalidBitmap() { throw EInvalidGraphic(L"Bitmap ist ungültig"); }

std::uint32_t ReadU32(std::span<const std::uint8_t> AData, std::size_t AOffset) {
  if (AOffset + 4 > AData.size()) InvalidBitmap();
  return static_cast<std::uint32_t>(AData[AOffset]) | (static_cast<std::uint32_t>(AData[AOffset + 1]) << 8) |
         (static_cast<std::uint32_t>(AData[AOffset + 2]) << 16) |
         (static_cast<std::uint32_t>(AData[AOffset + 3]) << 24);
}

std::uint16_t ReadU16(std::span<const std::uint8_t> AData, std::size_t AOffset) {
  if (AOffset + 2 > AData.size()) InvalidBitmap();
  return static_cast<std::uint16_t>(AData[AOffset] | (AData[AOffset + 1] << 8));
}

void PutU32(std::vector<std::uint8_t>& AOut, std::uint32_t AValue) {
  for (int i = 0; i < 4; ++i) AOut.push_back(static_cast<std::uint8_t>(AValue >> (8 * i)));
}

// Whether a DIB section's rows run top-down. The system does not say (it
// reports every height as positive), so a pixel is drawn at (0, 0) and the
// first row's memory is watched; the bytes are put back afterwards.
bool DibRowsTopDown(HBITMAP AHandle, void* ABits, int AStride, int AHeight) {
  if (AHeight <= 1) return false;
  auto* first = static_cast<std::uint8_t*>(ABits);
  auto* last = first + static_cast<std::ptrdiff_t>(AHeight - 1) * AStride;
  std::vector<std::uint8_t> savedFirst(first, first + AStride);
  std::vector<std::uint8_t> savedLast(last, last + AStride);
  bool topDown = false;
  {
    TCheckedBitmapDC dc(AHandle);
    const COLORREF now = GetPixel(dc.DC(), 0, 0);
    SetPixelV(dc.DC(), 0, 0, (now ^ 0x00FFFFFF) & 0x00FFFFFF);
    GdiFlush();
    topDown = std::memcmp(first, savedFirst.data(), static_cast<std::size_t>(AStride)) != 0;
  }
  std::memcpy(first, savedFirst.data(), static_cast<std::size_t>(AStride));
  std::memcpy(last, savedLast.data(), static_cast<std::size_t>(AStride));
  return topDown;
}

// The largest DIB we accept from a file: 256 MB of pixels.
constexpr std::uint64_t MaxDibBytes = 256ull << 20;

}  // namespace

int PixelFormatBits(TPixelFormat AFormat) {
  static constexpr int bits[] = {0, 1, 4, 8, 16, 16, 24, 32, 0};
  return bits[AFormat];
}

// ---------------------------------------------------------------------------
// The bitmap's canvas: a memory device context created on demand.

class TBitmapCanvas : public TCanvas {
  SK_CLASS(TBitmapCanvas, TCanvas)
 public:
  void Create(TBitmap* ABitmap) {
    inherited::Create();
    FBitmap = ABitmap;
  }
  void Destroy() override {
    FreeContext();
    inherited::Destroy();
  }
  // Takes the bitmap out of the memory context and deletes the context.
  void FreeContext() {
    if (!FDC) return;
    SetHandle(nullptr);
    SelectObject(FDC.Get(), std::exchange(FOldBitmap, nullptr));
    FDC.Reset();
  }

 protected:
  void CreateHandle() override {
    if (FDC) return;
    TOwnedDC dc(CreateCompatibleDC(nullptr));
    if (!dc) RaiseGraphicsApiError(L"CreateCompatibleDC");
    if (HBITMAP bitmap = FBitmap->Handle()) FOldBitmap = SelectObject(dc.Get(), bitmap);
    FDC = std::move(dc);
    SetHandle(FDC.Get());
  }

 private:
  TBitmap* FBitmap;
  // The context stays for the canvas's next drawing; FreeContext ends it.
  TOwnedDC FDC;
  HGDIOBJ FOldBitmap;
};

// ---------------------------------------------------------------------------
// TBitmap

void TBitmap::Create() {
  inherited::Create();
  FPixelFormat = pfDevice;
  FHandleType = bmDDB;
  FTransparentColor = clDefault;
  FTransparentMode = tmAuto;
}

void TBitmap::Destroy() {
  FreeContext();
  FCanvas.reset();
  FHandle.Reset();
  inherited::Destroy();
}

void TBitmap::FreeContext() {
  if (FCanvas) static_cast<TBitmapCanvas*>(FCanvas.get())->FreeContext();
}

void TBitmap::CanvasChanging(TObject*) {}

void TBitmap::CanvasChanged(TObject*) { Changed(this); }

TCanvas* TBitmap::Canvas() {
  if (!FCanvas) {
    FCanvas.reset(New<TBitmapCanvas>(this));
    FCanvas->SetOnChanging(BindEvent<&TBitmap::CanvasChanging>(this));
    FCanvas->SetOnChange(BindEvent<&TBitmap::CanvasChanged>(this));
  }
  return FCanvas.get();
}

HBITMAP TBitmap::Handle() { return FHandle.Get(); }

void TBitmap::NewImage(int AWidth, int AHeight, TPixelFormat AFormat, TBitmapHandleType AType, bool ACopyPixels) {
  AWidth = std::max(0, AWidth);
  AHeight = std::max(0, AHeight);
  if (AType == bmDDB) AFormat = pfDevice;
  if (AFormat == pfDevice) AType = bmDDB;
  if (AFormat == pfCustom) throw EInvalidGraphic(L"Ungültiges Pixelformat");
  if (static_cast<std::uint64_t>(StrideOf(AWidth, 32)) * static_cast<std::uint64_t>(AHeight) > (1ull << 31))
    throw EOutOfResources(L"Bitmap zu groß: %d x %d", {AWidth, AHeight});

  FreeContext();
  TOwnedBitmap handle;
  void* bits = nullptr;
  int stride = 0;
  if (AWidth > 0 && AHeight > 0) {
    if (AType == bmDDB) {
      const TScreenDC screen;
      handle.Reset(CreateCompatibleBitmap(screen.Get(), AWidth, AHeight));
      if (!handle) RaiseGraphicsApiError(L"CreateCompatibleBitmap");
      // A device bitmap starts undefined; ours start zero like a DIB.
      const TCheckedBitmapDC dc(handle.Get());
      PatBlt(dc.DC(), 0, 0, AWidth, AHeight, BLACKNESS);
    } else {
      // A palette format keeps the colour table it had.
      RGBQUAD colors[256];
      int ncolors = 0;
      if (FHandle && FBits && AFormat == FPixelFormat && PixelFormatBits(AFormat) <= 8) {
        const TCheckedBitmapDC dc(FHandle.Get());
        ncolors = static_cast<int>(GetDIBColorTable(dc.DC(), 0, 256, colors));
      }
      TDibInfo info;
      PrepareInfo(info, AWidth, AHeight, AFormat, ncolors ? colors : nullptr, ncolors);
      handle = CreateDib(info, bits);
      stride = StrideOf(AWidth, PixelFormatBits(AFormat));
    }
  }

  if (handle && FHandle && ACopyPixels) {
    const int w = std::min(AWidth, FWidth);
    const int h = std::min(AHeight, FHeight);
    if (bits && FBits && AFormat == FPixelFormat) {
      // Same layout: copy bytes, which keeps the alpha channel.
      GdiFlush();
      const std::size_t bytes = static_cast<std::size_t>((w * PixelFormatBits(AFormat) + 7) / 8);
      for (int row = 0; row < h; ++row) {
        auto* dst = static_cast<std::uint8_t*>(bits) + static_cast<std::ptrdiff_t>(AHeight - 1 - row) * stride;
        const int srcRow = FTopDown ? row : FHeight - 1 - row;
        const auto* src = static_cast<const std::uint8_t*>(FBits) + static_cast<std::ptrdiff_t>(srcRow) * FStride;
        std::memcpy(dst, src, bytes);
      }
    } else {
      const TCheckedBitmapDC src(FHandle.Get());
      const TCheckedBitmapDC dst(handle.Get());
      BitBlt(dst.DC(), 0, 0, w, h, src.DC(), 0, 0, SRCCOPY);
    }
  }

  FHandle = std::move(handle);
  FBits = bits;
  FStride = stride;
  FTopDown = false;
  FWidth = AWidth;
  FHeight = AHeight;
  FPixelFormat = AFormat;
  FHandleType = AType;
}

void TBitmap::SetSize(int AWidth, int AHeight) {
  AWidth = std::max(0, AWidth);
  AHeight = std::max(0, AHeight);
  if (AWidth == FWidth && AHeight == FHeight) return;
  NewImage(AWidth, AHeight, FPixelFormat, FHandleType, true);
  Changed(this);
}

void TBitmap::SetPixelFormat(TPixelFormat AValue) {
  if (AValue == FPixelFormat) return;
  if (AValue == pfCustom) throw EInvalidGraphic(L"Ungültiges Pixelformat");
  NewImage(FWidth, FHeight, AValue, AValue == pfDevice ? bmDDB : bmDIB, true);
  Changed(this);
}

void TBitmap::SetHandleType(TBitmapHandleType AValue) {
  if (AValue == FHandleType) return;
  TPixelFormat format = pfDevice;
  if (AValue == bmDIB) {
    format = FormatOfBits(ScreenBits(), 0xF800);
    if (format == pfCustom) format = pf32bit;
  }
  NewImage(FWidth, FHeight, format, AValue, true);
  Changed(this);
}

void TBitmap::SetMonochrome(bool AValue) {
  if (AValue == Monochrome()) return;
  SetPixelFormat(AValue ? pf1bit : pfDevice);
}

void TBitmap::SetAlphaFormat(TAlphaFormat AValue) {
  if (AValue == FAlphaFormat) return;
  FAlphaFormat = AValue;
  Changed(this);
}

TColor TBitmap::TransparentColor() {
  if (FTransparentMode == tmFixed && FTransparentColor != clDefault) return FTransparentColor;
  if (Empty()) return clDefault;
  if (Monochrome()) return clWhite;
  return Canvas()->Pixels(0, FHeight - 1);
}

void TBitmap::SetTransparentColor(TColor AValue) {
  if (AValue == FTransparentColor && (AValue == clDefault) == (FTransparentMode == tmAuto)) return;
  FTransparentColor = AValue;
  FTransparentMode = AValue == clDefault ? tmAuto : tmFixed;
  Changed(this);
}

void TBitmap::SetTransparentMode(TTransparentMode AValue) {
  if (AValue == FTransparentMode) return;
  // Fixing the mode fixes the colour that applies now.
  SetTransparentColor(AValue == tmAuto ? clDefault : TransparentColor());
}

void* TBitmap::ScanLine(int ARow) {
  if (ARow < 0 || ARow >= FHeight)
    throw EInvalidGraphicOperation(L"Bereichsüberschreitung bei Zeilenindex %d", {ARow});
  if (!FBits) SetHandleType(bmDIB);
  GdiFlush();
  const int row = FTopDown ? ARow : FHeight - 1 - ARow;
  return static_cast<std::uint8_t*>(FBits) + static_cast<std::ptrdiff_t>(row) * FStride;
}

void TBitmap::SetHandle(HBITMAP AValue) {
  if (AValue == FHandle.Get()) return;
  if (!AValue) {
    FreeImage();
    Changed(this);
    return;
  }
  DIBSECTION ds{};
  const int size = GetObjectW(AValue, sizeof(ds), &ds);
  if (size != sizeof(DIBSECTION) && size != sizeof(BITMAP)) throw EInvalidGraphic(L"Ungültiges Bitmap-Handle");
  FreeContext();
  FHandle.Reset(AValue);
  FWidth = ds.dsBm.bmWidth;
  FHeight = std::abs(ds.dsBm.bmHeight);
  if (size == sizeof(DIBSECTION) && ds.dsBm.bmBits) {
    FBits = ds.dsBm.bmBits;
    FStride = ds.dsBm.bmWidthBytes;
    FTopDown = DibRowsTopDown(AValue, FBits, FStride, FHeight);
    FPixelFormat = FormatOfBits(ds.dsBm.bmBitsPixel,
                                ds.dsBmih.biCompression == BI_BITFIELDS ? ds.dsBitfields[0] : 0x7C00);
    FHandleType = bmDIB;
  } else {
    FBits = nullptr;
    FStride = 0;
    FTopDown = false;
    FPixelFormat = pfDevice;
    FHandleType = bmDDB;
  }
  Changed(this);
}

HBITMAP TBitmap::ReleaseHandle() {
  FreeContext();
  HBITMAP handle = FHandle.Release();
  FBits = nullptr;
  FStride = 0;
  FTopDown = false;
  FWidth = 0;
  FHeight = 0;
  return handle;
}

void TBitmap::Dormant() { FreeContext(); }

void TBitmap::FreeImage() {
  FreeContext();
  FHandle.Reset();
  FBits = nullptr;
  FStride = 0;
  FTopDown = false;
  FWidth = 0;
  FHeight = 0;
}

void TBitmap::Assign(TPersistent* ASource) {
  if (!ASource) {
    if (Empty() && !FHandle) return;
    FreeImage();
    Changed(this);
    return;
  }
  auto* source = dynamic_cast<TBitmap*>(ASource);
  if (!source) {
    inherited::Assign(ASource);
    return;
  }
  if (source == this) return;
  source->FreeContext();  // GetDIBColorTable and BitBlt need it unselected
  FreeImage();
  FPixelFormat = source->FPixelFormat;
  FHandleType = source->FHandleType;
  if (source->FHandle) {
    const int w = source->FWidth;
    const int h = source->FHeight;
    TOwnedBitmap handle;
    void* bits = nullptr;
    if (!source->FBits) {
      const TScreenDC screen;
      handle.Reset(CreateCompatibleBitmap(screen.Get(), w, h));
      if (!handle) RaiseGraphicsApiError(L"CreateCompatibleBitmap");
      const TCheckedBitmapDC src(source->FHandle.Get());
      const TCheckedBitmapDC dst(handle.Get());
      BitBlt(dst.DC(), 0, 0, w, h, src.DC(), 0, 0, SRCCOPY);
    } else {
      RGBQUAD colors[256];
      int n = 0;
      if (PixelFormatBits(FPixelFormat) <= 8) {
        const TCheckedBitmapDC dc(source->FHandle.Get());
        n = static_cast<int>(GetDIBColorTable(dc.DC(), 0, 256, colors));
      }
      TDibInfo info;
      PrepareInfo(info, w, h, FPixelFormat, n ? colors : nullptr, n);
      handle = CreateDib(info, bits);
    }
    FHandle = std::move(handle);
    FBits = bits;
    FStride = bits ? StrideOf(w, PixelFormatBits(FPixelFormat)) : 0;
    FTopDown = false;
    FWidth = w;
    FHeight = h;
    if (bits) {
      const std::size_t bytes = static_cast<std::size_t>(std::min(FStride, source->FStride));
      for (int row = 0; row < h; ++row) std::memcpy(ScanLine(row), source->ScanLine(row), bytes);
    }
  } else {
    FWidth = source->FWidth;
    FHeight = source->FHeight;
  }
  FAlphaFormat = source->FAlphaFormat;
  FTransparentColor = source->FTransparentColor;
  FTransparentMode = source->FTransparentMode;
  SetTransparent(source->Transparent());
  Changed(this);
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& ARect) {
  if (Empty() || !FHandle) return;
  HDC dst = ACanvas->Handle();
  HDC src = Canvas()->Handle();
  const int w = ARect.Width();
  const int h = ARect.Height();
  if (Transparent()) {
    TransparentBlt(dst, ARect.Left, ARect.Top, w, h, src, 0, 0, FWidth, FHeight, ColorToColorRef(TransparentColor()));
    return;
  }
  if (FPixelFormat == pf32bit && FAlphaFormat != afIgnored) {
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    if (FAlphaFormat == afPremultiplied) {
      AlphaBlend(dst, ARect.Left, ARect.Top, w, h, src, 0, 0, FWidth, FHeight, blend);
      return;
    }
    // Straight alpha: blend a premultiplied copy.
    TDibInfo info;
    PrepareInfo(info, FWidth, FHeight, pf32bit, nullptr, 0);
    void* bits = nullptr;
    const TOwnedBitmap copy = CreateDib(info, bits);
    GdiFlush();
    for (int row = 0; row < FHeight; ++row) {
      const auto* s = static_cast<const std::uint8_t*>(ScanLine(row));
      auto* d = static_cast<std::uint8_t*>(bits) + static_cast<std::ptrdiff_t>(FHeight - 1 - row) * FWidth * 4;
      for (int x = 0; x < FWidth; ++x, s += 4, d += 4) {
        const unsigned a = s[3];
        d[0] = static_cast<std::uint8_t>((s[0] * a + 127) / 255);
        d[1] = static_cast<std::uint8_t>((s[1] * a + 127) / 255);
        d[2] = static_cast<std::uint8_t>((s[2] * a + 127) / 255);
        d[3] = static_cast<std::uint8_t>(a);
      }
    }
    const TCheckedBitmapDC copyDC(copy.Get());
    AlphaBlend(dst, ARect.Left, ARect.Top, w, h, copyDC.DC(), 0, 0, FWidth, FHeight, blend);
    return;
  }
  const bool stretch = w != FWidth || h != FHeight;
  const int oldMode = stretch ? SetStretchBltMode(dst, Monochrome() ? BLACKONWHITE : COLORONCOLOR) : 0;
  StretchBlt(dst, ARect.Left, ARect.Top, w, h, src, 0, 0, FWidth, FHeight, ACanvas->CopyMode());
  if (stretch && oldMode) SetStretchBltMode(dst, oldMode);
}

// ---------------------------------------------------------------------------
// BMP format

void TBitmap::LoadFromBmpData(std::span<const std::uint8_t> AData) {
  if (AData.empty()) {
    // An empty bitmap saves as nothing.
    FreeImage();
    Changed(this);
    return;
  }
  if (AData.size() < 14 + 12 || AData[0] != 'B' || AData[1] != 'M') InvalidBitmap();
  const std::uint32_t offBits = ReadU32(AData, 10);
  LoadPackedDib(AData.subspan(14), offBits >= 14 ? offBits - 14 : 0);
}

void TBitmap::LoadPackedDib(std::span<const std::uint8_t> ADib, std::size_t APixelOffset) {
  const std::uint32_t headerSize = ReadU32(ADib, 0);
  std::int64_t width = 0;
  std::int64_t height = 0;
  int bits = 0;
  DWORD compression = BI_RGB;
  DWORD sizeImage = 0;
  DWORD colorsUsed = 0;
  DWORD masks[4] = {0, 0, 0, 0};
  std::size_t colorOffset = 0;
  bool core = false;
  if (headerSize == sizeof(BITMAPCOREHEADER)) {
    core = true;
    width = ReadU16(ADib, 4);
    height = ReadU16(ADib, 6);
    bits = ReadU16(ADib, 10);
    colorOffset = headerSize;
  } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 64 || headerSize == 108 ||
             headerSize == 124) {
    if (ADib.size() < headerSize) InvalidBitmap();
    width = static_cast<std::int32_t>(ReadU32(ADib, 4));
    height = static_cast<std::int32_t>(ReadU32(ADib, 8));
    bits = ReadU16(ADib, 14);
    compression = ReadU32(ADib, 16);
    sizeImage = ReadU32(ADib, 20);
    colorsUsed = ReadU32(ADib, 32);
    colorOffset = headerSize;
    if (compression == BI_BITFIELDS || compression == 6 /* BI_ALPHABITFIELDS */) {
      const int count = compression == BI_BITFIELDS ? 3 : 4;
      const std::size_t at = headerSize == 40 ? headerSize : 40;
      for (int i = 0; i < count; ++i) masks[i] = ReadU32(ADib, at + 4 * static_cast<std::size_t>(i));
      if (headerSize == 40) colorOffset += 4 * static_cast<std::size_t>(count);
      compression = BI_BITFIELDS;
    }
    if (headerSize >= 56) masks[3] = ReadU32(ADib, 52);
  } else {
    InvalidBitmap();
  }

  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (width <= 0 || height <= 0 || width > 0x7FFF'FFFF / 32) InvalidBitmap();
  switch (bits) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: InvalidBitmap();
  }
  const bool rle = compression == BI_RLE8 || compression == BI_RLE4;
  if (compression == BI_RLE8 && bits != 8) InvalidBitmap();
  if (compression == BI_RLE4 && bits != 4) InvalidBitmap();
  if (compression == BI_BITFIELDS && bits != 16 && bits != 32) InvalidBitmap();
  if (compression != BI_RGB && !rle && compression != BI_BITFIELDS) InvalidBitmap();
  if (rle && topDown) InvalidBitmap();
  const std::uint64_t stride = static_cast<std::uint64_t>(StrideOf(static_cast<int>(width), bits));
  const std::uint64_t pixelBytes = stride * static_cast<std::uint64_t>(height);
  if (pixelBytes > MaxDibBytes) InvalidBitmap();

  // The colour table.
  RGBQUAD colors[256]{};
  int ncolors = 0;
  if (bits <= 8) {
    const DWORD maxColors = 1u << bits;
    ncolors = static_cast<int>(colorsUsed == 0 || core ? maxColors : colorsUsed);
    if (static_cast<DWORD>(ncolors) > maxColors) InvalidBitmap();
    const std::size_t entry = core ? 3 : 4;
    if (colorOffset + entry * static_cast<std::size_t>(ncolors) > ADib.size()) InvalidBitmap();
    for (int i = 0; i < ncolors; ++i) {
      const std::uint8_t* p = ADib.data() + colorOffset + entry * static_cast<std::size_t>(i);
      colors[i] = RGBQUAD{p[0], p[1], p[2], 0};
    }
    colorOffset += entry * static_cast<std::size_t>(ncolors);
  }
  std::size_t pixelOffset = APixelOffset;
  if (pixelOffset == 0 || pixelOffset > ADib.size()) pixelOffset = colorOffset;
  if (pixelOffset > ADib.size()) InvalidBitmap();
  const std::span<const std::uint8_t> pixels = ADib.subspan(pixelOffset);
  if (!rle && pixels.size() < pixelBytes) InvalidBitmap();

  // The format we keep it in.
  TPixelFormat format;
  bool direct = compression == BI_RGB;
  switch (bits) {
    case 1: format = pf1bit; break;
    case 4: format = pf4bit; break;
    case 8: format = pf8bit; break;
    case 16:
      if (compression == BI_BITFIELDS && masks[0] == 0xF800 && masks[1] == 0x07E0 && masks[2] == 0x001F) {
        format = pf16bit;
        direct = true;
      } else if (compression == BI_BITFIELDS && !(masks[0] == 0x7C00 && masks[1] == 0x03E0 && masks[2] == 0x001F)) {
        format = pf24bit;
      } else {
        format = pf15bit;
        direct = true;
      }
      break;
    case 24: format = pf24bit; break;
    default:
      format = pf32bit;
      if (compression == BI_BITFIELDS && masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF) direct = true;
      break;
  }

  TDibInfo info;
  PrepareInfo(info, static_cast<int>(width), static_cast<int>(height), format, ncolors ? colors : nullptr, ncolors);
  void* dibBits = nullptr;
  TOwnedBitmap handle = CreateDib(info, dibBits);
  const int dibStride = StrideOf(static_cast<int>(width), PixelFormatBits(format));
  if (direct) {
    for (std::int64_t row = 0; row < height; ++row) {
      const std::int64_t srcRow = topDown ? height - 1 - row : row;  // both counted from the bottom
      std::memcpy(static_cast<std::uint8_t*>(dibBits) + row * dibStride, pixels.data() + srcRow * stride,
                  static_cast<std::size_t>(stride));
    }
  } else {
    // Let GDI decode run lengths and unusual masks.
    TDibInfo src{};
    src.Header.biSize = sizeof(BITMAPINFOHEADER);
    src.Header.biWidth = static_cast<LONG>(width);
    src.Header.biHeight = static_cast<LONG>(topDown ? -height : height);
    src.Header.biPlanes = 1;
    src.Header.biBitCount = static_cast<WORD>(bits);
    src.Header.biCompression = compression;
    src.Header.biSizeImage =
        rle ? static_cast<DWORD>(std::min<std::size_t>(sizeImage ? sizeImage : pixels.size(), pixels.size())) : 0;
    if (compression == BI_BITFIELDS) std::memcpy(src.Colors, masks, 3 * sizeof(DWORD));
    else if (ncolors) {
      std::copy_n(colors, ncolors, src.Colors);
      src.Header.biClrUsed = static_cast<DWORD>(ncolors);
    }
    // Run lengths may stop short: start from the first colour.
    const TScreenDC screen;
    const int lines = SetDIBits(screen.Get(), handle.Get(), 0, static_cast<UINT>(height), pixels.data(), src.Info(),
                                DIB_RGB_COLORS);
    if (lines == 0) InvalidBitmap();
  }

  FreeImage();
  FHandle = std::move(handle);
  FBits = dibBits;
  FStride = dibStride;
  FTopDown = false;
  FWidth = static_cast<int>(width);
  FHeight = static_cast<int>(height);
  FPixelFormat = format;
  FHandleType = bmDIB;
  FAlphaFormat = format == pf32bit && masks[3] == 0xFF000000u ? afDefined : afIgnored;
  Changed(this);
}

std::vector<std::uint8_t> TBitmap::SaveToBmpData() {
  std::vector<std::uint8_t> out;
  if (Empty() || !FHandle) return out;
  FreeContext();
  TDibInfo info;
  std::vector<std::uint8_t> pixels;
  TPixelFormat format = FPixelFormat;
  if (FBits) {
    RGBQUAD colors[256];
    int n = 0;
    if (PixelFormatBits(format) <= 8) {
      const TCheckedBitmapDC dc(FHandle.Get());
      n = static_cast<int>(GetDIBColorTable(dc.DC(), 0, 256, colors));
    }
    PrepareInfo(info, FWidth, FHeight, format, n ? colors : nullptr, n);
    pixels.resize(static_cast<std::size_t>(FStride) * static_cast<std::size_t>(FHeight));
    for (int row = 0; row < FHeight; ++row)
      std::memcpy(pixels.data() + static_cast<std::size_t>(FHeight - 1 - row) * static_cast<std::size_t>(FStride),
                  ScanLine(row), static_cast<std::size_t>(FStride));
  } else {
    // A device bitmap is written as 32-bit pixels.
    format = pf32bit;
    PrepareInfo(info, FWidth, FHeight, format, nullptr, 0);
    pixels.resize(static_cast<std::size_t>(FWidth) * 4 * static_cast<std::size_t>(FHeight));
    TScreenDC screen;
    if (!GetDIBits(screen.Get(), FHandle.Get(), 0, static_cast<UINT>(FHeight), pixels.data(), info.Info(), DIB_RGB_COLORS))
      RaiseGraphicsApiError(L"GetDIBits");
    info.Header.biClrUsed = 0;
  }
  std::size_t tableBytes = 0;
  if (info.Header.biCompression == BI_BITFIELDS) tableBytes = 3 * sizeof(DWORD);
  else if (info.Header.biBitCount <= 8) tableBytes = info.Header.biClrUsed * sizeof(RGBQUAD);
  const std::size_t offBits = 14 + sizeof(BITMAPINFOHEADER) + tableBytes;
  const std::size_t fileSize = offBits + pixels.size();
  out.reserve(fileSize);
  out.push_back('B');
  out.push_back('M');
  PutU32(out, static_cast<std::uint32_t>(fileSize));
  PutU32(out, 0);
  PutU32(out, static_cast<std::uint32_t>(offBits));
  info.Header.biSizeImage = static_cast<DWORD>(pixels.size());
  const auto* header = reinterpret_cast<const std::uint8_t*>(&info);
  out.insert(out.end(), header, header + sizeof(BITMAPINFOHEADER) + tableBytes);
  out.insert(out.end(), pixels.begin(), pixels.end());
  return out;
}

void TBitmap::LoadFromResourceName(HINSTANCE AInstance, const String& AName) {
  HRSRC info = FindResourceW(AInstance, AName.c_str(), MAKEINTRESOURCEW(2) /* RT_BITMAP */);
  if (!info) throw EResNotFound(L"Ressource %s nicht gefunden", {AName});
  HGLOBAL data = LoadResource(AInstance, info);
  const void* bytes = data ? LockResource(data) : nullptr;
  if (!bytes) throw EResNotFound(L"Ressource %s nicht gefunden", {AName});
  LoadPackedDib({static_cast<const std::uint8_t*>(bytes), SizeofResource(AInstance, info)}, 0);
}

void TBitmap::LoadFromResourceID(HINSTANCE AInstance, int AResID) {
  HRSRC info = FindResourceW(AInstance, MAKEINTRESOURCEW(AResID), MAKEINTRESOURCEW(2) /* RT_BITMAP */);
  if (!info) throw EResNotFound(L"Ressource %d nicht gefunden", {AResID});
  HGLOBAL data = LoadResource(AInstance, info);
  const void* bytes = data ? LockResource(data) : nullptr;
  if (!bytes) throw EResNotFound(L"Ressource %d nicht gefunden", {AResID});
  LoadPackedDib({static_cast<const std::uint8_t*>(bytes), SizeofResource(AInstance, info)}, 0);
}

void TBitmap::LoadFromClipboardFormat(UINT AFormat, HANDLE AData, HPALETTE APalette) {
  if (AFormat == CF_DIB && AData) {
    const TGlobalLock lock(AData);
    if (!lock.Data()) InvalidBitmap();
    LoadPackedDib({static_cast<const std::uint8_t*>(lock.Data()), lock.Size()}, 0);
    return;
  }
  if (AFormat != CF_BITMAP || !AData) {
    inherited::LoadFromClipboardFormat(AFormat, AData, APalette);
    return;
  }
  // The clipboard keeps its handle: take a DIB copy.
  auto copy = static_cast<HBITMAP>(CopyImage(AData, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!copy) RaiseGraphicsApiError(L"CopyImage");
  // A bitmap is never refused: from here on it is ours, whatever the change
  // event does.
  SetHandle(copy);
}

void TBitmap::SaveToClipboardFormat(UINT& AFormat, HANDLE& AData, HPALETTE& APalette) {
  FreeContext();
  AFormat = CF_BITMAP;
  APalette = nullptr;
  AData = nullptr;
  if (!FHandle) return;
  AData = CopyImage(FHandle.Get(), IMAGE_BITMAP, 0, 0, 0);
  if (!AData) RaiseGraphicsApiError(L"CopyImage");
}
