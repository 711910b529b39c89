// The decoded GDI+ image: drawing through the shared paint canvas, resizing,
// mirroring, frames and property items.
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"

#include "library/core/geometry/cxGeometry.h"
#include "platform/runtime/SysUtils.h"
#include "platform/ui/GdiScopes.h"

#include <algorithm>
#include <climits>
#include <cstring>

using namespace Gdiplus;

namespace {

// GDI+'s property items of animated images.
constexpr PROPID PropertyTagFrameDelayId = 0x5100;
constexpr PROPID PropertyTagLoopCountId = 0x5101;
// The delay of a frame whose image tells none, in milliseconds.
constexpr int DefaultFrameDelay = 75;

Gdiplus::PixelFormat PixelFormatOfAlpha(TAlphaFormat AAlphaFormat) {
  switch (AAlphaFormat) {
    case afDefined:
      return PixelFormat32bppARGB;
    case afPremultiplied:
      return PixelFormat32bppPARGB;
    default:
      return PixelFormat32bppRGB;
  }
}

bool IsNullGuid(const GUID& AId) { return AId == GUID{}; }

}  // namespace

// ---------------------------------------------------------------------------
// Construction

void TdxGPImageHandle::Create(GpImage* AHandle) {
  TdxGdiPlusLibrary::Acquire();
  FAcquired = true;
  FImageFormat = dxImageUnknown;
  SetHandle(AHandle);
}

void TdxGPImageHandle::CreateFromBits(int AWidth, int AHeight, const RGBQUAD* ABitsRef, TAlphaFormat AAlphaFormat) {
  Create(nullptr);
  GpBitmap* bitmap = nullptr;
  // GDI+ only reads through the pointer of a bitmap it does not own.
  CheckGdipStatus(GdipCreateBitmapFromScan0(AWidth, AHeight, AWidth * 4, PixelFormatOfAlpha(AAlphaFormat),
                                            reinterpret_cast<BYTE*>(const_cast<RGBQUAD*>(ABitsRef)), &bitmap));
  SetHandle(bitmap);
}

void TdxGPImageHandle::CreateSize(int AWidth, int AHeight, Gdiplus::PixelFormat APixelFormat) {
  Create(nullptr);
  GpBitmap* bitmap = nullptr;
  CheckGdipStatus(GdipCreateBitmapFromScan0(AWidth, AHeight, 0, APixelFormat, nullptr, &bitmap));
  SetHandle(bitmap);
}

void TdxGPImageHandle::Destroy() {
  FHandle.Reset();
  if (std::exchange(FAcquired, false)) TdxGdiPlusLibrary::Release();
  inherited::Destroy();
}

bool TdxGPImageHandle::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IdxAnimatedImage, IdxImageDataFormat, IdxGpFlipContent, IdxGPGraphicDraw>(this, AIID, AObj) ||
         inherited::GetInterface(AIID, AObj);
}

void TdxGPImageHandle::SetHandle(GpImage* AValue) {
  if (FHandle.Get() == AValue) return;
  FHandle.Reset(AValue);
  FImageFormat = GdipImageDataFormat(AValue);
  FImageOrigin = TdxPointF();
  FImageScaleFactor = 0;
  FActiveFrame = 0;
  FDimensionID = GUID{};
  if (AValue && FImageFormat == dxImageWmf) {
    RectF bounds;
    Unit unit;
    if (GdipGetImageBounds(AValue, &bounds, &unit) == Ok) FImageOrigin = TdxPointF(bounds.X, bounds.Y);
    float resolution = 0;
    if (GdipGetImageVerticalResolution(AValue, &resolution) == Ok && resolution > 0) {
      const TScreenDC screen;
      FImageScaleFactor = static_cast<float>(GetDeviceCaps(screen.Get(), LOGPIXELSY)) / resolution;
    }
  }
}

TOwned<TdxGPImageHandle> TdxGPImageHandle::Clone() const {
  GpImage* clone = nullptr;
  if (FHandle) CheckGdipStatus(GdipCloneImage(FHandle.Get(), &clone));
  return TOwned<TdxGPImageHandle>(New<TdxGPImageHandle>(clone));
}

TOwned<TdxGPImageHandle> TdxGPImageHandle::Clone(const TRect& ARect, Gdiplus::PixelFormat APixelFormat) const {
  GpBitmap* clone = nullptr;
  CheckGdipStatus(GdipCloneBitmapAreaI(ARect.Left, ARect.Top, ARect.Width(), ARect.Height(), APixelFormat,
                                       static_cast<GpBitmap*>(FHandle.Get()), &clone));
  return TOwned<TdxGPImageHandle>(New<TdxGPImageHandle>(clone));
}

TOwned<TdxGPImageHandle> TdxGPImageHandle::Clone(const TdxRectF& ARect, Gdiplus::PixelFormat APixelFormat) const {
  GpBitmap* clone = nullptr;
  CheckGdipStatus(GdipCloneBitmapArea(ARect.Left, ARect.Top, ARect.Width(), ARect.Height(), APixelFormat,
                                      static_cast<GpBitmap*>(FHandle.Get()), &clone));
  return TOwned<TdxGPImageHandle>(New<TdxGPImageHandle>(clone));
}

// ---------------------------------------------------------------------------
// Pixels

BitmapData TdxGPImageHandle::LockBits(const TRect& ARect, UINT ALockMode, Gdiplus::PixelFormat APixelFormat) {
  BitmapData data{};
  const GpRect rect(ARect.Left, ARect.Top, ARect.Width(), ARect.Height());
  CheckGdipStatus(GdipBitmapLockBits(static_cast<GpBitmap*>(FHandle.Get()), &rect, ALockMode, APixelFormat, &data));
  return data;
}

void TdxGPImageHandle::UnlockBits(BitmapData& AData) {
  CheckGdipStatus(GdipBitmapUnlockBits(static_cast<GpBitmap*>(FHandle.Get()), &AData));
}

ARGB TdxGPImageHandle::GetPixel(int X, int Y) const {
  ARGB color = 0;
  CheckGdipStatus(GdipBitmapGetPixel(static_cast<GpBitmap*>(FHandle.Get()), X, Y, &color));
  return color;
}

void TdxGPImageHandle::SetPixel(int X, int Y, ARGB AColor) {
  CheckGdipStatus(GdipBitmapSetPixel(static_cast<GpBitmap*>(FHandle.Get()), X, Y, AColor));
}

TOwned<TdxGPCanvas> TdxGPImageHandle::CreateCanvas() {
  GpGraphics* graphics = nullptr;
  CheckGdipStatus(GdipGetImageGraphicsContext(FHandle.Get(), &graphics));
  return TOwned<TdxGPCanvas>(New<TdxGPCanvas>(graphics));
}

Gdiplus::PixelFormat TdxGPImageHandle::PixelFormat() const {
  Gdiplus::PixelFormat format = PixelFormatUndefined;
  if (FHandle) CheckGdipStatus(GdipGetImagePixelFormat(FHandle.Get(), &format));
  return format;
}

// ---------------------------------------------------------------------------
// Size

TSize TdxGPImageHandle::GetSize() const {
  if (!FHandle) return TSize();
  UINT width = 0;
  UINT height = 0;
  CheckGdipStatus(GdipGetImageWidth(FHandle.Get(), &width));
  CheckGdipStatus(GdipGetImageHeight(FHandle.Get(), &height));
  if (IsMetafile() && FImageScaleFactor > 0)
    return TSize(RoundToInt(width * FImageScaleFactor), RoundToInt(height * FImageScaleFactor));
  return TSize(static_cast<int>(width), static_cast<int>(height));
}

void TdxGPImageHandle::SetSize(const TSize& ASize) { Resize(ASize, InterpolationModeDefault, PixelOffsetModeDefault); }

void TdxGPImageHandle::Resize(const TSize& ASize, InterpolationMode AInterpolationMode,
                              PixelOffsetMode APixelOffsetMode) {
  TdxGpOwnedImage bitmap = CreateGdipBitmapForSize(ASize);
  if (FHandle) {
    TdxGpOwnedGraphics graphics;
    CheckGdipStatus(GdipGetImageGraphicsContext(bitmap.Get(), graphics.Receive()));
    if (AInterpolationMode != InterpolationModeDefault)
      CheckGdipStatus(GdipSetInterpolationMode(graphics.Get(), AInterpolationMode));
    if (APixelOffsetMode != PixelOffsetModeDefault)
      CheckGdipStatus(GdipSetPixelOffsetMode(graphics.Get(), APixelOffsetMode));
    CheckGdipStatus(GdipDrawImageRectI(graphics.Get(), FHandle.Get(), 0, 0, ASize.cx, ASize.cy));
  }
  SetHandle(bitmap.Release());
}

void TdxGPImageHandle::Flip(bool AHorizontally, bool AVertically) {
  if ((!AHorizontally && !AVertically) || Empty()) return;
  const TSize size = Size();
  TdxGpOwnedImage bitmap = CreateGdipBitmapForSize(size);
  TdxGpOwnedGraphics graphics;
  CheckGdipStatus(GdipGetImageGraphicsContext(bitmap.Get(), graphics.Receive()));
  {
    const TdxGPPaintCanvasScope paint(graphics.Get());
    paint->SetPixelOffsetMode(PixelOffsetModeHalf);
    Draw(paint.Canvas(), ClientRect(), ClientRect(), nullptr);
  }
  graphics.Reset();
  // Mirrored by GDI+ pixel for pixel: drawn through a mirroring transform,
  // the copy lands a pixel off under Wine.
  constexpr RotateFlipType flips[2][2] = {{RotateNoneFlipNone, RotateNoneFlipY}, {RotateNoneFlipX, RotateNoneFlipXY}};
  CheckGdipStatus(GdipImageRotateFlip(bitmap.Get(), flips[AHorizontally][AVertically]));
  SetHandle(bitmap.Release());
}

TOwned<TBitmap> TdxGPImageHandle::GetAsBitmap() {
  if (Empty() || IsMetafile()) return inherited::GetAsBitmap();
  TOwnedBitmap handle;
  HBITMAP created = nullptr;
  CheckGdipStatus(GdipCreateHBITMAPFromBitmap(static_cast<GpBitmap*>(FHandle.Get()), &created, 0));
  handle.Reset(created);
  TOwned<TBitmap> result(New<TBitmap>());
  result->SetHandle(handle.Release());
  // GDI+ gives the pixels premultiplied.
  result->SetAlphaFormat(afPremultiplied);
  return result;
}

// ---------------------------------------------------------------------------
// Drawing

TdxRectF TdxGPImageHandle::SourceToImage(const TdxRectF& ASource) const {
  TdxRectF result = ASource;
  if (FImageScaleFactor > 0)
    result = TdxRectF(result.Left / FImageScaleFactor, result.Top / FImageScaleFactor, result.Right / FImageScaleFactor,
                      result.Bottom / FImageScaleFactor);
  result.Offset(FImageOrigin.X, FImageOrigin.Y);
  return result;
}

void TdxGPImageHandle::Draw(HDC DC, const TdxRectF& ADest, const TdxRectF& ASource, std::uint8_t AAlpha,
                            IdxColorPalette*) {
  if (Empty()) return;
  const TdxGPPaintCanvasScope paint(DC, ADest);
  Draw(paint.Canvas(), ADest, ASource, GetAlphaBlendAttributes(AAlpha));
}

void TdxGPImageHandle::Draw(HDC DC, const TRect& ADest, const TRect& ASource, std::uint8_t AAlpha,
                            IdxColorPalette* APalette) {
  Draw(DC, TdxRectF(ADest), TdxRectF(ASource), AAlpha, APalette);
}

void TdxGPImageHandle::Draw(TdxGPCanvas* ACanvas, const TdxRectF& ADest, const TdxRectF& ASource,
                            TdxGPImageAttributes* AAttributes) {
  if (Empty()) return;
  ACanvas->Draw(FHandle.Get(), ADest, SourceToImage(ASource), AAttributes);
}

void TdxGPImageHandle::Draw(TdxGPCanvas* ACanvas, const TRect& ADest, const TRect& ASource,
                            TdxGPImageAttributes* AAttributes) {
  Draw(ACanvas, TdxRectF(ADest), TdxRectF(ASource), AAttributes);
}

// ---------------------------------------------------------------------------
// Frames

int TdxGPImageHandle::GetAnimationFrameCount() {
  if (Empty()) return 0;
  UINT dimensions = 0;
  if (GdipImageGetFrameDimensionsCount(FHandle.Get(), &dimensions) != Ok || dimensions != 1) return 0;
  GUID dimension{};
  if (GdipImageGetFrameDimensionsList(FHandle.Get(), &dimension, 1) != Ok) return 0;
  FDimensionID = dimension;
  UINT count = 0;
  if (GdipImageGetFrameCount(FHandle.Get(), &FDimensionID, &count) != Ok) return 0;
  return static_cast<int>(count);
}

void TdxGPImageHandle::SetActiveFrame(int AValue) {
  FActiveFrame = AValue;
  if (Empty()) return;
  if (IsNullGuid(FDimensionID)) GetAnimationFrameCount();
  if (GdipImageSelectActiveFrame(FHandle.Get(), &FDimensionID, static_cast<UINT>(AValue)) != Ok && AValue != 0) {
    FActiveFrame = 0;
    GdipImageSelectActiveFrame(FHandle.Get(), &FDimensionID, 0);
  }
}

std::vector<std::uint8_t> TdxGPImageHandle::PropertyItemValue(PROPID AId) const {
  if (Empty()) return {};
  UINT size = 0;
  // The item's header holds a pointer: its size is the platform's, 24 bytes on x86_64.
  if (GdipGetPropertyItemSize(FHandle.Get(), AId, &size) != Ok || size <= sizeof(PropertyItem)) return {};
  std::vector<std::uint64_t> buffer((size + 7) / 8);  // aligned for the header's pointer
  auto* item = reinterpret_cast<PropertyItem*>(buffer.data());
  if (GdipGetPropertyItem(FHandle.Get(), AId, size, item) != Ok) return {};
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(buffer.data());
  return std::vector<std::uint8_t>(bytes + sizeof(PropertyItem), bytes + size);
}

int TdxGPImageHandle::GetAnimationFrameDelay() {
  const std::vector<std::uint8_t> delays = PropertyItemValue(PropertyTagFrameDelayId);
  const std::size_t offset = static_cast<std::size_t>(FActiveFrame) * 4;
  if (FActiveFrame < 0 || offset + 4 > delays.size()) return DefaultFrameDelay;
  std::uint32_t delay;
  std::memcpy(&delay, delays.data() + offset, sizeof delay);
  return static_cast<int>(std::min<std::int64_t>(std::int64_t{delay} * 10, INT_MAX));
}

int TdxGPImageHandle::GetAnimationLoopCount() {
  const std::vector<std::uint8_t> loops = PropertyItemValue(PropertyTagLoopCountId);
  if (loops.size() < 2) return 0;
  std::uint16_t count;
  std::memcpy(&count, loops.data(), sizeof count);
  return count;
}
