// The graphics routines on raw device contexts and bitmaps: fills and frames
// through the brush cache, gradients, hatches, clipping, block transfers,
// the alpha blend with its fallbacks, regions from bitmaps, bitmap creation,
// object queries, fonts, the cursor size and the shared scratch bitmaps.
#include "library/graphics/canvas/cxGraphics.h"

#include "library/core/system/dxDPIAwareUtils.h"
#include "library/graphics/canvas/cxGraphics_Internal.h"
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "library/graphics/imaging/dxPixelBuffers.h"
#include "platform/runtime/SysUtils.h"

#include <algorithm>
#include <bit>
#include <vector>

namespace {

TcxMsImg32Functions GMsImg32;
TOwnedModule GMsImg32Module;
TOwned<TBrush> GHalftoneBrush;
TPoint GScreenDpi;
TOwned<TcxAlphaBitmap> GScratchBitmaps[3];
// The in-code alpha blend's copy of the destination, kept from one blend to
// the next: under Wine the page faults of a fresh bitmap's first writes cost
// several times the blend itself.
TOwned<TcxBitmap32> GBlendBuffer;

int RedOfColor(TColor AColor) { return GetRValue(static_cast<COLORREF>(AColor)); }
int GreenOfColor(TColor AColor) { return GetGValue(static_cast<COLORREF>(AColor)); }
int BlueOfColor(TColor AColor) { return GetBValue(static_cast<COLORREF>(AColor)); }
TColor ColorOfChannels(int ARed, int AGreen, int ABlue) {
  return TColor(static_cast<std::int32_t>(RGB(std::clamp(ARed, 0, 255), std::clamp(AGreen, 0, 255),
                                              std::clamp(ABlue, 0, 255))));
}

// The band along an axis of R: from AFrom to ATo on the gradient's axis.
TRect AxisBand(const TRect& R, bool AHorizontal, int AFrom, int ATo) {
  return AHorizontal ? TRect(AFrom, R.Top, ATo, R.Bottom) : TRect(R.Left, AFrom, R.Right, ATo);
}

TcxAlphaBitmap* ScratchBitmap(int AIndex, int AWidth, int AHeight) {
  TOwned<TcxAlphaBitmap>& bitmap = GScratchBitmaps[AIndex];
  if (bitmap) {
    bitmap->RefreshImage(AWidth, AHeight);
  } else {
    if (cxGraphicsFinalized()) return nullptr;
    bitmap.reset(NewWith<TcxAlphaBitmap>([&](TcxAlphaBitmap* b) { b->CreateSize(AWidth, AHeight, true); }));
  }
  return bitmap.get();
}

// GBlendBuffer at the size asked for; nil once the unit has finalized.
TcxBitmap32* BlendBuffer(int AWidth, int AHeight) {
  if (cxGraphicsFinalized()) return nullptr;
  if (!GBlendBuffer)
    GBlendBuffer.reset(NewWith<TcxBitmap32>([&](TcxBitmap32* b) { b->CreateSize(AWidth, AHeight); }));
  else if (GBlendBuffer->Width() != AWidth || GBlendBuffer->Height() != AHeight)
    GBlendBuffer->SetSize(AWidth, AHeight);
  return GBlendBuffer.get();
}

TOwned<TcxBitmap32> NewBitmap32(const TRect& ASize) {
  return TOwned<TcxBitmap32>(NewWith<TcxBitmap32>([&](TcxBitmap32* b) { b->CreateSize(ASize, true); }));
}

// The part ASrcRect of ABitmap as a bitmap of its own (ABitmap itself when
// that is all of it).
TcxBitmap32* WholeSource(TcxBitmap32* ABitmap, const TRect& ASrcRect, TOwned<TcxBitmap32>& APart) {
  if (ASrcRect == ABitmap->ClientRect()) return ABitmap;
  APart = NewBitmap32(ASrcRect);
  APart->CopyBitmap(ABitmap, APart->ClientRect(), ASrcRect.TopLeft());
  return APart.get();
}

// The pixels of AAbove blended into ADest's, both 32-bit and of one size.
// Worked on the bitmaps' own rows where both are DIBs: copies of a quarter
// megabyte each way made the blend several times slower than the system's.
void BlendInCode(TcxBitmap32* ADest, TcxBitmap32* AAbove, std::uint8_t AConstantAlpha) {
  if (ADest->HandleType() != bmDIB || AAbove->HandleType() != bmDIB) {
    TRGBColors below;
    TRGBColors aboveColors;
    ADest->GetBitmapColors(below);
    AAbove->GetBitmapColors(aboveColors);
    cxBlendPixels(below, aboveColors, AConstantAlpha);
    ADest->SetBitmapColors(below);
    return;
  }
  // Rows are walked from the first by the distance between two, so that
  // GDI is flushed once (each ScanLine flushes).
  const auto width = static_cast<std::size_t>(ADest->Width());
  const int height = ADest->Height();
  auto* below = static_cast<std::uint8_t*>(ADest->ScanLine(0));
  const auto* above = static_cast<const std::uint8_t*>(AAbove->ScanLine(0));
  const std::ptrdiff_t belowStep = height > 1 ? static_cast<std::uint8_t*>(ADest->ScanLine(1)) - below : 0;
  const std::ptrdiff_t aboveStep =
      height > 1 ? static_cast<const std::uint8_t*>(AAbove->ScanLine(1)) - above : 0;
  for (int y = 0; y < height; ++y, below += belowStep, above += aboveStep)
    cxBlendPixels({reinterpret_cast<RGBQUAD*>(below), width}, {reinterpret_cast<const RGBQUAD*>(above), width},
                  AConstantAlpha);
  ADest->Changed(ADest);
}

template <class T>
bool GetObjectData(HGDIOBJ AObject, T& AData) {
  return GetObjectW(AObject, sizeof(T), &AData) == static_cast<int>(sizeof(T));
}

// The system creates a region from at most this many rectangles at a time
// without trouble.
constexpr std::size_t RegionRectsPerBatch = 2000;

void AddRectsToRegion(TOwnedRegion& ARegion, const std::vector<RECT>& ARects) {
  std::vector<std::uint8_t> buffer(sizeof(RGNDATAHEADER) + ARects.size() * sizeof(RECT));
  auto* header = reinterpret_cast<RGNDATAHEADER*>(buffer.data());
  header->dwSize = sizeof(RGNDATAHEADER);
  header->iType = RDH_RECTANGLES;
  header->nCount = static_cast<DWORD>(ARects.size());
  header->nRgnSize = static_cast<DWORD>(ARects.size() * sizeof(RECT));
  RECT bounds = ARects.front();
  for (const RECT& r : ARects) {
    bounds.left = std::min(bounds.left, r.left);
    bounds.top = std::min(bounds.top, r.top);
    bounds.right = std::max(bounds.right, r.right);
    bounds.bottom = std::max(bounds.bottom, r.bottom);
  }
  header->rcBound = bounds;
  std::copy(ARects.begin(), ARects.end(), reinterpret_cast<RECT*>(buffer.data() + sizeof(RGNDATAHEADER)));
  TOwnedRegion part(ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()),
                                    reinterpret_cast<const RGNDATA*>(buffer.data())));
  if (!ARegion)
    ARegion = std::move(part);
  else
    CombineRgn(ARegion.Get(), ARegion.Get(), part.Get(), RGN_OR);
}

}  // namespace

// ---------------------------------------------------------------------------
// The unit's state

TcxMsImg32Functions& cxMsImg32Functions() { return GMsImg32; }

void cxGraphicsRoutinesInitialization() {
  GMsImg32Module.Reset(LoadLibraryW(L"msimg32.dll"));
  if (GMsImg32Module) {
    GMsImg32.GradientFill =
        reinterpret_cast<decltype(&::GradientFill)>(reinterpret_cast<void*>(GetProcAddress(GMsImg32Module.Get(), "GradientFill")));
    GMsImg32.AlphaBlend =
        reinterpret_cast<decltype(&::AlphaBlend)>(reinterpret_cast<void*>(GetProcAddress(GMsImg32Module.Get(), "AlphaBlend")));
  }
  // Rows of a monochrome bitmap are word-aligned.
  constexpr WORD halftoneRows[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
  const TOwnedBitmap pattern(CreateBitmap(8, 8, 1, 1, halftoneRows));
  GHalftoneBrush.reset(New<TBrush>());
  GHalftoneBrush->SetHandle(CreatePatternBrush(pattern.Get()));
  const TScreenDC screen;
  GScreenDpi = TPoint(GetDeviceCaps(screen.Get(), LOGPIXELSX), GetDeviceCaps(screen.Get(), LOGPIXELSY));
}

void cxGraphicsRoutinesFinalization() {
  GHalftoneBrush.reset();
  for (TOwned<TcxAlphaBitmap>& bitmap : GScratchBitmaps) bitmap.reset();
  GBlendBuffer.reset();
  GMsImg32 = TcxMsImg32Functions();
  GMsImg32Module.Reset();
}

TBrush* cxHalftoneBrush() { return GHalftoneBrush.get(); }

TPoint cxGetScreenDpi() { return GScreenDpi; }

int GetScreenDpiY() { return GScreenDpi.Y; }

// ---------------------------------------------------------------------------
// Colour fills and frames

void FillRectWithColor(HDC DC, const TRect& R, TColor AColor) {
  if (AColor == clNone) return;
  if (const HBRUSH brush = TdxSolidBrushCache::Get(AColor)) ::FillRect(DC, R.WinRect(), brush);
}

void FrameRectWithColor(HDC DC, const TRect& R, TColor AColor) {
  if (AColor == clNone) return;
  if (const HBRUSH brush = TdxSolidBrushCache::Get(AColor)) ::FrameRect(DC, R.WinRect(), brush);
}

void FillGradientRect(HDC DC, const TRect& R, TColor AColor1, TColor AColor2, bool AHorizontal) {
  const TColor color1 = ColorToRGB(AColor1);
  const TColor color2 = ColorToRGB(AColor2);
  if (color1 == color2) {
    FillRectWithColor(DC, R, color1);
    return;
  }
  if (const auto gradientFill = GMsImg32.GradientFill) {
    auto vertex = [](const TPoint& P, TColor AColor) {
      return TRIVERTEX{P.X, P.Y, static_cast<COLOR16>(RedOfColor(AColor) << 8),
                       static_cast<COLOR16>(GreenOfColor(AColor) << 8), static_cast<COLOR16>(BlueOfColor(AColor) << 8),
                       0};
    };
    TRIVERTEX vertices[2] = {vertex(R.TopLeft(), color1), vertex(R.BottomRight(), color2)};
    GRADIENT_RECT rect{0, 1};
    gradientFill(DC, vertices, 2, &rect, 1, AHorizontal ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V);
    return;
  }
  const int start = AHorizontal ? R.Left : R.Top;
  const int extent = AHorizontal ? R.Width() : R.Height();
  if (extent <= 0) return;
  const int bands = std::min(extent, 256);
  // A single band has the first colour.
  auto channel = [&](int AFrom, int ATo, int ABand) {
    return bands == 1 ? AFrom : AFrom + MulDiv(ABand, ATo - AFrom, bands - 1);
  };
  int from = start;
  for (int i = 0; i < bands; ++i) {
    const int to = start + MulDiv(i + 1, extent, bands);
    const TRect band = AxisBand(R, AHorizontal, from, to);
    if (!band.IsEmpty())
      FillRectWithColor(DC, band,
                        ColorOfChannels(channel(RedOfColor(color1), RedOfColor(color2), i),
                                        channel(GreenOfColor(color1), GreenOfColor(color2), i),
                                        channel(BlueOfColor(color1), BlueOfColor(color2), i)));
    from = to;
    if (to >= start + extent) break;
  }
}

void FillBentGradientRect(HDC DC, const TRect& R, TColor AColor1, TColor AColor2, int APercent, bool AHorizontal) {
  const TColor color1 = ColorToRGB(AColor1);
  const TColor color2 = ColorToRGB(AColor2);
  if (color1 == color2) {
    FillRectWithColor(DC, R, color1);
    return;
  }
  const int start = AHorizontal ? R.Left : R.Top;
  const int extent = AHorizontal ? R.Width() : R.Height();
  if (extent < 1) return;
  const int middle = extent / 2;
  auto channel = [&](int c1, int c2, int i) {
    const int d = MulDiv(c1 - c2, APercent, 200);
    if (i == middle) return c1 - d;
    if (i < middle) return c1 - MulDiv(i, MulDiv(d, extent, middle), extent - 1);
    const int t = c2 + MulDiv(c1 - d - c2, extent, middle);
    return t + MulDiv(i, c2 - t, extent - 1);
  };
  for (int i = 0; i < extent; ++i)
    FillRectWithColor(DC, AxisBand(R, AHorizontal, start + i, start + i + 1),
                      ColorOfChannels(channel(RedOfColor(color1), RedOfColor(color2), i),
                                      channel(GreenOfColor(color1), GreenOfColor(color2), i),
                                      channel(BlueOfColor(color1), BlueOfColor(color2), i)));
}

void DrawHatchedRect(TcxCanvas* ACanvas, const TRect& R, TColor AColor, bool AWithShadow) {
  if (R.IsEmpty()) return;
  {
    const TcxCanvasStateScope state(ACanvas);
    // Within R and what was visible before: the hatch lines run past R.
    ACanvas->SetClipRegion(New<TcxRegion>(R), roIntersect);
    ACanvas->FillRect(R, AColor);
    ACanvas->Pen()->SetStyle(psSolid);
    ACanvas->Pen()->SetWidth(1);
    ACanvas->Pen()->SetColor(ScaleColorChannels(AColor, 75));
    const int lines = MulDiv(std::max(R.Right, R.Bottom), 3, 2);
    for (int i = 1; i <= lines; ++i) ACanvas->Line(R.Right - 3 * i, R.Top, R.Right, R.Top + 3 * i);
    ACanvas->FrameRect(R, ScaleColorChannels(AColor, 50));
  }
  ACanvas->ExcludeClipRect(R);
  if (AWithShadow) {
    TRect shadow = R;
    shadow.Offset(1, 1);
    ACanvas->FillRect(shadow, clBtnShadow);
    ACanvas->ExcludeClipRect(shadow);
  }
}

void DrawHatchedRectByIndex(TcxCanvas* ACanvas, const TRect& R, int AColorIndex, bool AWithShadow) {
  constexpr TColor colors[] = {TColor(0xA0FFA0), TColor(0x9090FF)};
  // The table has two entries: any index picks one of them.
  DrawHatchedRect(ACanvas, R, colors[AColorIndex & 1], AWithShadow);
}

// ---------------------------------------------------------------------------
// Clipping and block transfers

bool IntersectClipRectWith(HDC DC, const TRect& R) {
  return ::IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom) != NULLREGION;
}

int ExcludeClipRectFrom(HDC DC, const TRect& R) { return ::ExcludeClipRect(DC, R.Left, R.Top, R.Right, R.Bottom); }

bool IsPointInRegion(HRGN ARegion, const TPoint& P) { return ::PtInRegion(ARegion, P.X, P.Y) != FALSE; }

void CopyDCRect(HDC ADestDC, HDC ASrcDC, const TRect& ADestRect, const TPoint& ASrcTopLeft, DWORD ARop) {
  BitBlt(ADestDC, ADestRect.Left, ADestRect.Top, ADestRect.Width(), ADestRect.Height(), ASrcDC, ASrcTopLeft.X,
         ASrcTopLeft.Y, ARop);
}

void StretchBltRect(HDC ADestDC, HDC ASrcDC, const TRect& ADestRect, const TRect& ASrcRect, DWORD ARop) {
  StretchBlt(ADestDC, ADestRect.Left, ADestRect.Top, ADestRect.Width(), ADestRect.Height(), ASrcDC, ASrcRect.Left,
             ASrcRect.Top, ASrcRect.Width(), ASrcRect.Height(), ARop);
}

void CopyBitmapToDC(HDC DC, TBitmap* ABitmap, const TRect& ADestRect, const TPoint& ASrcTopLeft, DWORD ARop) {
  // Windows 9x copies a bitmap without alpha bytes onto a 32-bit device
  // with undefined ones: they go through a bitmap whose alpha is cleared.
  if (IsWin9X && GetDeviceCaps(DC, BITSPIXEL) == 32 && GetBitmapBitsPerPixel(ABitmap) < 32) {
    TOwned<TcxAlphaBitmap> copy(
        NewWith<TcxAlphaBitmap>([&](TcxAlphaBitmap* b) { b->CreateSize(ADestRect.Width(), ADestRect.Height()); }));
    copy->CopyBitmap(ABitmap, copy->ClientRect(), ASrcTopLeft);
    copy->TransformBitmap(btmResetAlpha);
    CopyDCRect(DC, copy->Canvas()->Handle(), ADestRect, TPoint(), ARop);
    return;
  }
  CopyDCRect(DC, ABitmap->Canvas()->Handle(), ADestRect, ASrcTopLeft, ARop);
}

// ---------------------------------------------------------------------------
// Bitmaps

TBitmap* CreateBitmapWithFormat(int AWidth, int AHeight, TPixelFormat APixelFormat) {
  TOwned<TBitmap> result(New<TBitmap>());
  result->SetPixelFormat(APixelFormat);
  result->SetSize(AWidth, AHeight);
  return result.release();
}

TBitmap* CreateBitmapOfSize(const TSize& ASize, TPixelFormat APixelFormat) {
  return CreateBitmapWithFormat(ASize.cx, ASize.cy, APixelFormat);
}

TBitmap* CreateBitmapForRect(const TRect& ARect, TPixelFormat APixelFormat) {
  return CreateBitmapWithFormat(ARect.Width(), ARect.Height(), APixelFormat);
}

void ClearBitmapToBlack(TBitmap* ABitmap) {
  if (ABitmap->Empty()) return;
  const RECT all{0, 0, ABitmap->Width(), ABitmap->Height()};
  ::FillRect(ABitmap->Canvas()->Handle(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

TRect GetGraphicRect(TGraphic* AGraphic) { return TRect(0, 0, AGraphic->Width(), AGraphic->Height()); }

void ResizeBitmapContent(TBitmap* ASource, TBitmap* ADest, bool ASmooth) {
  if (ASource->Empty() || ADest->Empty()) return;
  ASource->Canvas()->Lock();
  ADest->Canvas()->Lock();
  TryFinally(
      [&] {
        if (!IsWinNT || ASmooth) {
          TdxColors::SmoothResize(ASource, ADest, TdxColors::FilterLanczos3);
          ADest->Changed(ADest);
          return;
        }
        const HDC DC = ADest->Canvas()->Handle();
        const int mode = SetStretchBltMode(DC, HALFTONE);
        SetBrushOrgEx(DC, 0, 0, nullptr);
        StretchBltRect(DC, ASource->Canvas()->Handle(), GetGraphicRect(ADest), GetGraphicRect(ASource), SRCCOPY);
        SetStretchBltMode(DC, mode);
      },
      [&] {
        ADest->Canvas()->Unlock();
        ASource->Canvas()->Unlock();
      });
}

HRGN CreateRegionFromBitmap(TBitmap* ABitmap, TColor ATransparentColor) {
  TRGBColors pixels;
  if (!GetGraphicPixels(ABitmap, pixels, true)) return nullptr;
  const std::uint32_t transparent = std::bit_cast<std::uint32_t>(ColorToQuad(ATransparentColor)) & 0x00FFFFFFu;
  auto isTransparent = [&](const RGBQUAD& APixel) {
    return (std::bit_cast<std::uint32_t>(APixel) & 0x00FFFFFFu) == transparent;
  };
  const int w = ABitmap->Width();
  const int h = ABitmap->Height();
  TOwnedRegion region;
  std::vector<RECT> runs;
  for (int y = 0; y < h; ++y) {
    const RGBQUAD* row = pixels.data() + static_cast<std::size_t>(y) * w;
    for (int x = 0; x < w;) {
      while (x < w && isTransparent(row[x])) ++x;
      const int start = x;
      while (x < w && !isTransparent(row[x])) ++x;
      if (start < x) runs.push_back(RECT{start, y, x, y + 1});
    }
    if (runs.size() >= RegionRectsPerBatch) {
      AddRectsToRegion(region, runs);
      runs.clear();
    }
  }
  if (!runs.empty()) AddRectsToRegion(region, runs);
  return region.Release();
}

HBITMAP CopyBitmapHandle(TBitmap* ABitmap) {
  if (IsWin9X && GetBitmapBitsPerPixel(ABitmap) == 32) {
    // Windows 9x loses the alpha bytes in a copy: a DIB section of the same
    // bits instead.
    const int w = ABitmap->Width();
    const int h = ABitmap->Height();
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    TOwnedBitmap result(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!result) return nullptr;
    TcxScreenCanvas* screen = SharedScreenCanvas();
    const HDC DC = screen ? screen->Handle() : nullptr;
    GetDIBits(DC, ABitmap->Handle(), 0, static_cast<UINT>(h), bits, &info, DIB_RGB_COLORS);
    if (screen) screen->Dormant();
    return result.Release();
  }
  return static_cast<HBITMAP>(CopyImage(ABitmap->Handle(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

TcxBitmap* GetScratchBitmap(int AWidth, int AHeight) { return ScratchBitmap(0, AWidth, AHeight); }

TcxBitmap32* GetScratchBitmap32(int AWidth, int AHeight) { return ScratchBitmap(1, AWidth, AHeight); }

TcxAlphaBitmap* GetScratchAlphaBitmap(int AWidth, int AHeight) { return ScratchBitmap(2, AWidth, AHeight); }

// ---------------------------------------------------------------------------
// Alpha blending

bool SystemAlphaBlend(HDC ADestDC, HDC ASrcDC, const TRect& ADestRect, const TRect& ASrcRect,
                      std::uint8_t AConstantAlpha, bool AUseSourceAlpha) {
  if (!GMsImg32.AlphaBlend) return false;
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, AConstantAlpha, static_cast<BYTE>(AUseSourceAlpha ? AC_SRC_ALPHA : 0)};
  return GMsImg32.AlphaBlend(ADestDC, ADestRect.Left, ADestRect.Top, ADestRect.Width(), ADestRect.Height(), ASrcDC,
                             ASrcRect.Left, ASrcRect.Top, ASrcRect.Width(), ASrcRect.Height(), blend) != FALSE;
}

void AlphaBlendDC(HDC ADestDC, HDC ASrcDC, const TRect& ADestRect, const TRect& ASrcRect, bool ASmooth,
                  std::uint8_t AConstantAlpha, TcxBitmap32* ASrcBitmap32, TBitmap*) {
  if (ADestRect.IsEmpty() || ASrcRect.IsEmpty()) return;
  const bool smooth = ASmooth && ADestRect.GetSize() != ASrcRect.GetSize();
  if (!IsWow64 && !IsWin9X && GMsImg32.AlphaBlend && !smooth) {
    SystemAlphaBlend(ADestDC, ASrcDC, ADestRect, ASrcRect, AConstantAlpha, true);
    return;
  }
  TOwned<TcxBitmap32> copied;
  TcxBitmap32* source = ASrcBitmap32;
  TRect sourceRect = ASrcRect;
  if (!source) {
    copied = NewBitmap32(ASrcRect);
    copied->SetAlphaFormat(afPremultiplied);
    CopyDCRect(copied->Canvas()->Handle(), ASrcDC, copied->ClientRect(), ASrcRect.TopLeft());
    source = copied.get();
    sourceRect = copied->ClientRect();
  }
  if (IsWow64) {
    TOwned<TdxGpFastDIB> pixels(New<TdxGpFastDIB>(source->Width(), source->Height(), false));
    TRGBColors colors;
    GetGraphicPixels(source, colors, true);
    std::copy(colors.begin(), colors.end(), pixels->Bits());
    const TdxGPPaintCanvasScope paint(ADestDC, ADestRect);
    paint->SetInterpolationMode(smooth ? imHighQualityBicubic : imNearestNeighbor);
    paint->SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    paint->Draw(pixels->Handle(), ADestRect, sourceRect, AConstantAlpha);
    return;
  }
  const TRect target(0, 0, ADestRect.Width(), ADestRect.Height());
  // Not cleared first: the copy of the destination covers all of it.
  TOwned<TcxBitmap32> temporary;
  TcxBitmap32* destination = BlendBuffer(target.Width(), target.Height());
  if (!destination) {
    temporary = NewBitmap32(target);
    destination = temporary.get();
  }
  CopyDCRect(destination->Canvas()->Handle(), ADestDC, target, ADestRect.TopLeft());
  TOwned<TcxBitmap32> part;
  TcxBitmap32* above = WholeSource(source, sourceRect, part);
  // A stretch to the same size is a copy: the source is blended as it is.
  TOwned<TcxBitmap32> resized;
  if (above->ClientRect() != target) {
    resized = NewBitmap32(target);
    ResizeBitmapContent(above, resized.get(), smooth);
    above = resized.get();
  }
  if (!SystemAlphaBlend(destination->Canvas()->Handle(), above->Canvas()->Handle(), target, target, AConstantAlpha,
                        true)) {
    BlendInCode(destination, above, AConstantAlpha);
  }
  CopyDCRect(ADestDC, destination->Canvas()->Handle(), ADestRect, TPoint());
}

void AlphaBlendBitmap(HDC DC, TBitmap* ABitmap, const TRect& ADestRect, const TRect& ASrcRect, bool ASmooth,
                      std::uint8_t AConstantAlpha) {
  AlphaBlendDC(DC, ABitmap->Canvas()->Handle(), ADestRect, ASrcRect, ASmooth, AConstantAlpha, nullptr, ABitmap);
}

void AlphaBlendBitmap32(TcxBitmap32* ADest, TcxBitmap32* ASrc, const TRect& ADestRect, const TRect& ASrcRect,
                        bool ASmooth, std::uint8_t AConstantAlpha) {
  AlphaBlendDC(ADest->Canvas()->Handle(), ASrc->Canvas()->Handle(), ADestRect, ASrcRect, ASmooth, AConstantAlpha,
               ASrc);
}

void AlphaBlendFromDC(HDC DC, HDC ASrcDC, const TRect& ADestRect, const TRect& ASrcRect, bool ASmooth,
                      std::uint8_t AConstantAlpha) {
  AlphaBlendDC(DC, ASrcDC, ADestRect, ASrcRect, ASmooth, AConstantAlpha);
}

// ---------------------------------------------------------------------------
// Object queries and fonts

bool GetBitmapData(HBITMAP ABitmap, BITMAP& AData) { return GetObjectData(ABitmap, AData); }

bool GetBrushData(HBRUSH ABrush, LOGBRUSH& AData) { return GetObjectData(ABrush, AData); }

bool GetFontLogFont(HFONT AFont, LOGFONTW& AData) { return GetObjectData(AFont, AData); }

bool GetPenData(HPEN APen, LOGPEN& AData) { return GetObjectData(APen, AData); }

bool GetFontTextMetrics(TFont* AFont, TEXTMETRICW& AMetrics) { return GetTextMetricsForFont(AFont, AMetrics); }

void InitLogFontWithName(LOGFONTW& ALogFont, const String& AName) {
  ALogFont = LOGFONTW{};
  const std::size_t length = std::min<std::size_t>(AName.size(), LF_FACESIZE - 1);
  std::copy_n(AName.c_str(), length, ALogFont.lfFaceName);
  ALogFont.lfCharSet = DEFAULT_CHARSET;
}

void DisableFontAntialiasing(TFont* AFont) {
  LOGFONTW logFont{};
  if (!GetFontLogFont(AFont->Handle(), logFont)) return;
  logFont.lfQuality = NONANTIALIASED_QUALITY;
  AFont->SetHandle(CreateFontIndirectW(&logFont));
}

void AssignDefaultFont(TFont* AFont, const TdxScaleFactor* AScaleFactor) {
  TOwned<TFont> font(New<TFont>());
  if (AScaleFactor)
    AssignScaledFont(AFont, font.get(), AScaleFactor, DefaultScaleFactor());
  else
    AFont->Assign(font.get());
}

// ---------------------------------------------------------------------------
// Other

TSize GetCursorSize() {
  TSize result(GetSystemMetrics(SM_CXCURSOR), GetSystemMetrics(SM_CYCURSOR));
  ICONINFO info{};
  if (!GetIconInfo(GetCursor(), &info)) return result;
  const TOwnedBitmap mask(info.hbmMask);
  const TOwnedBitmap color(info.hbmColor);
  BITMAP bitmap{};
  if (!GetBitmapData(mask.Get(), bitmap) || bitmap.bmBitsPixel != 1 || bitmap.bmWidth <= 0 || bitmap.bmHeight <= 0)
    return result;
  result.cx = bitmap.bmWidth;
  const int rowSize = ((bitmap.bmWidth + 15) / 16) * 2;
  std::vector<std::uint8_t> bits(static_cast<std::size_t>(rowSize) * bitmap.bmHeight);
  if (GetBitmapBits(mask.Get(), static_cast<LONG>(bits.size()), bits.data()) != static_cast<LONG>(bits.size()))
    return result;
  auto rowIs = [&](int ARow, std::uint8_t AValue) {
    const auto begin = bits.begin() + static_cast<std::ptrdiff_t>(ARow) * rowSize;
    return std::all_of(begin, begin + rowSize, [AValue](std::uint8_t b) { return b == AValue; });
  };
  // The last row (from the top) that shows anything.
  int rows = 0;
  const int andHeight = info.hbmColor || bitmap.bmHeight != 2 * bitmap.bmWidth ? bitmap.bmHeight : bitmap.bmWidth;
  for (int row = andHeight - 1; row >= 0; --row)
    if (!rowIs(row, 0xFF)) {
      rows = row + 1;
      break;
    }
  if (rows == 0 && andHeight != bitmap.bmHeight) {
    // An empty AND mask: the XOR half below it draws the cursor.
    for (int row = bitmap.bmHeight - 1; row >= andHeight; --row)
      if (!rowIs(row, 0)) {
        rows = row + 1 - andHeight;
        break;
      }
  }
  result.cy = rows - static_cast<int>(info.yHotspot);
  return result;
}

bool IsGraphicAssigned(TGraphic* AGraphic) { return AGraphic && !AGraphic->Empty(); }

bool HasGraphic(TGraphic* AGraphic) { return IsGraphicAssigned(AGraphic); }
