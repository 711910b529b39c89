// The paint canvases, the drawing routines that work on any GDI+ graphics
// object (stretching, tiling, mirroring), the low-colour test and the streams
// GDI+ reads images from.
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"

#include "library/core/system/cxMessageWindow.h"
#include "platform/ui/GdiScopes.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>

using namespace Gdiplus;

namespace {

TOwned<TdxGPPaintCanvas> SharedPaintCanvas;
// Nil: GetDeviceCaps. (An imported function's address taken in a static
// initializer is its import stub, in code its import table's entry, so the
// system's function is never compared by address.)
TdxDeviceCapsSource InjectedDeviceCaps = nullptr;
TdxWindowFromDCProc WindowFromDCProc = nullptr;

// Display contexts (windows, the screen and memory contexts made for them)
// share the display's colour depth. Asking GDI for it costs tens of
// microseconds under Wine, and the low-colour test runs at every paint, so the
// answer is kept until the display mode changes, which this hidden top-level
// window hears. Without the window (before start-up, after shut-down) every
// test asks GDI.
class TdxDisplayModeListener : public TcxMessageWindow {
  SK_CLASS(TdxDisplayModeListener, TcxMessageWindow)
 public:
  enum TColors { Unknown, Low, NotLow };
  static inline std::atomic<TColors> Colors{Unknown};

 protected:
  bool IsMessageOnly() override { return false; }
  void WndProc(TMessage& AMessage) override {
    if (AMessage.Msg == WM_DISPLAYCHANGE) Colors = Unknown;
    inherited::WndProc(AMessage);
  }
};
TOwned<TdxDisplayModeListener> DisplayModeListener;

int DeviceCapsSource(HDC DC, int AIndex) {
  return InjectedDeviceCaps ? InjectedDeviceCaps(DC, AIndex) : ::GetDeviceCaps(DC, AIndex);
}

bool DeviceHasFewColors(HDC DC) {
  return DeviceCapsSource(DC, BITSPIXEL) <= 16 || DeviceCapsSource(DC, NUMCOLORS) > 1;
}

bool DisplayHasFewColors(HDC DC) {
  // An injected source answers for itself, per context.
  if (InjectedDeviceCaps || !DisplayModeListener) return DeviceHasFewColors(DC);
  TdxDisplayModeListener::TColors colors = TdxDisplayModeListener::Colors;
  if (colors == TdxDisplayModeListener::Unknown) {
    colors = DeviceHasFewColors(DC) ? TdxDisplayModeListener::Low : TdxDisplayModeListener::NotLow;
    TdxDisplayModeListener::Colors = colors;
  }
  return colors == TdxDisplayModeListener::Low;
}

}  // namespace

// ---------------------------------------------------------------------------
// TdxGPCustomPaintCanvas

void TdxGPCustomPaintCanvas::Create() {
  inherited::Create();
  FLock.reset(New<TCriticalSection>());
}

void TdxGPCustomPaintCanvas::Destroy() {
  FLock.reset();
  inherited::Destroy();
}

void TdxGPCustomPaintCanvas::BeginPaint(HDC DC, const TRect& R) {
  FLock->Enter();
  SaveState();
  // The caller has no EndPaint to run when BeginPaint raises, so it undoes itself.
  TScopeExit undo([this] {
    ReleaseBuffer();
    FDrawDC = nullptr;
    FDrawRect = TRect();
    RestoreState();
    FLock->Leave();
  });
  FDrawRect = R;
  FDrawDC = DC;
  HDC target = DC;
  if (IsLowColorDC(DC) && !IsRectangleEmpty(R)) {
    CreateBuffer();
    FIsLowColorsMode = true;
    target = FBuffer->Canvas()->Handle();
  }
  CheckGdipStatus(GdipCreateFromHDC(target, FHandle.Receive()));
  undo.Dismiss();
}

void TdxGPCustomPaintCanvas::BeginPaint(HDC DC, const TdxRectF& R) { BeginPaint(DC, ConvertRectFToRect(R)); }

void TdxGPCustomPaintCanvas::BeginPaint(GpGraphics* AHandle) {
  FLock->Enter();
  SaveState();
  FDrawRect = TRect();
  FDrawDC = nullptr;
  FHandle.Reset(AHandle);
}

void TdxGPCustomPaintCanvas::EndPaint() {
  // Whatever fails on the way, the paint ends: the state comes back and the lock is left.
  TryFinally(
      [this] {
        if (FDrawDC) FHandle.Reset();
        if (FBuffer) FlushBuffer();
      },
      [this] {
        ReleaseBuffer();
        // A graphics object that came with BeginPaint stays its caller's.
        (void)FHandle.Release();
        RestoreState();
        FLock->Leave();
      });
}

void TdxGPCustomPaintCanvas::CreateBuffer() {
  TOwned<TBitmap> buffer(New<TBitmap>());
  buffer->SetPixelFormat(pf32bit);
  // One pixel more each way: antialiased edges on the last row and column land in the copy.
  buffer->SetSize(FDrawRect.Width() + 1, FDrawRect.Height() + 1);
  HDC bufferDC = buffer->Canvas()->Handle();
  buffer->Canvas()->Lock();
  BitBlt(bufferDC, 0, 0, buffer->Width(), buffer->Height(), FDrawDC, FDrawRect.Left, FDrawRect.Top, SRCCOPY);
  // The caller keeps drawing in the coordinates of FDrawDC.
  SetWindowOrgEx(bufferDC, FDrawRect.Left, FDrawRect.Top, nullptr);
  FBuffer = std::move(buffer);
}

void TdxGPCustomPaintCanvas::FlushBuffer() {
  SetWindowOrgEx(FBuffer->Canvas()->Handle(), 0, 0, nullptr);
  const TSavedDC saved(FDrawDC);
  const TOwned<TCanvas> canvas(New<TCanvas>());
  canvas->SetHandle(FDrawDC);
  canvas->Draw(FDrawRect.Left, FDrawRect.Top, FBuffer.get());
}

void TdxGPCustomPaintCanvas::ReleaseBuffer() {
  if (!FBuffer) return;
  FBuffer->Canvas()->Unlock();
  FBuffer.reset();
}

// ---------------------------------------------------------------------------
// TdxGPPaintCanvas

void TdxGPPaintCanvas::SaveState() {
  if (FCounter >= static_cast<int>(FSavedStates.size()))
    FSavedStates.resize(std::max<std::size_t>(FCounter + 1, FSavedStates.size() + 4));
  TdxGPPaintCanvasState& state = FSavedStates[FCounter];
  state.Handle = std::move(FHandle);
  state.Buffer = std::move(FBuffer);
  state.DrawRect = FDrawRect;
  state.DC = FDrawDC;
  ++FCounter;
}

void TdxGPPaintCanvas::RestoreState() {
  --FCounter;
  TdxGPPaintCanvasState& state = FSavedStates[FCounter];
  FHandle = std::move(state.Handle);
  FBuffer = std::move(state.Buffer);
  FDrawRect = state.DrawRect;
  FDrawDC = state.DC;
}

TdxGPPaintCanvas* SharedGPPaintCanvas() {
  if (!SharedPaintCanvas) SharedPaintCanvas.reset(New<TdxGPPaintCanvas>());
  return SharedPaintCanvas.get();
}

TdxGPCustomPaintCanvas* BeginGPPaint(HDC DC, const TRect& R) {
  TOwned<TdxGPCustomPaintCanvas> result(New<TdxGPCustomPaintCanvas>(static_cast<GpGraphics*>(nullptr)));
  result->BeginPaint(DC, R);
  return result.release();
}

void EndGPPaint(TdxGPCustomPaintCanvas*& ACanvas) {
  if (!ACanvas) return;
  const TOwned<TdxGPCustomPaintCanvas> canvas(std::exchange(ACanvas, nullptr));
  canvas->EndPaint();
}

// ---------------------------------------------------------------------------
// Stretched and tiled images

namespace {

// The size of two device pixels in world units, rounded up.
TdxSizeF TwoDevicePixels(GpGraphics* AGraphics) {
  TdxGpOwnedMatrix matrix;
  CheckGdipStatus(GdipCreateMatrix(matrix.Receive()));
  CheckGdipStatus(GdipGetWorldTransform(AGraphics, matrix.Get()));
  CheckGdipStatus(GdipInvertMatrix(matrix.Get()));
  PointF points[] = {PointF(2, 2), PointF(0, 0)};
  CheckGdipStatus(GdipTransformMatrixPoints(matrix.Get(), points, 2));
  return TdxSizeF(std::ceil(std::fabs(points[0].X - points[1].X)), std::ceil(std::fabs(points[0].Y - points[1].Y)));
}

// Whether a destination can show: it meets the bounds of the graphics'
// clip. Under Wine the exact test (GdipIsVisibleRect, which builds the
// visible region and turns it into a GDI region) costs twice the drawing of
// a small image. What passes here and still shows nothing (beyond the
// surface, or in a hole of a clip that is no rectangle) is drawn and clipped
// away by GDI+, to the same pixels.
bool MeetsClipBounds(GpGraphics* AGraphics, const TdxGpRectF& ADest) {
  RectF clip;
  CheckGdipStatus(GdipGetClipBounds(AGraphics, &clip));
  return ADest.X < clip.X + clip.Width && clip.X < ADest.X + ADest.Width && ADest.Y < clip.Y + clip.Height &&
         clip.Y < ADest.Y + ADest.Height;
}

}  // namespace

void DrawGdipImageStretched(GpGraphics* AGraphics, const TdxRectF& ADestRect, const TdxRectF& ASourceRect,
                            GpImage* AImage, std::uint8_t AAlpha, GpImageAttributes* AAttributes) {
  TdxGpRectF dest = TdxGpRectF::From(ADestRect);
  TdxGpRectF source = TdxGpRectF::From(ASourceRect);
  // Written so that a size that is not a number counts as too small.
  if (!(dest.Width >= 1 && dest.Height >= 1 && source.Width >= 1 && source.Height >= 1)) return;
  if (!MeetsClipBounds(AGraphics, dest)) return;
  if (!AAttributes && AAlpha < 255) AAttributes = GetAlphaBlendAttributes(AAlpha)->Handle();
  const auto draw = [&] {
    CheckGdipStatus(GdipDrawImageRectRect(AGraphics, AImage, dest.X, dest.Y, dest.Width, dest.Height, source.X,
                                          source.Y, source.Width, source.Height, UnitPixel, AAttributes, nullptr,
                                          nullptr));
  };

  ImageType type = ImageTypeUnknown;
  CheckGdipStatus(GdipGetImageType(AImage, &type));
  if (type == ImageTypeMetafile) {
    // GDI+ draws nothing of a metafile into less than two device pixels:
    // such a destination is enlarged and the clip keeps the drawing inside it.
    const TdxSizeF minimum = TwoDevicePixels(AGraphics);
    if (dest.Width < minimum.cx || dest.Height < minimum.cy) {
      TdxGpOwnedRegion clip;
      CheckGdipStatus(GdipCreateRegion(clip.Receive()));
      CheckGdipStatus(GdipGetClip(AGraphics, clip.Get()));
      CheckGdipStatus(GdipSetClipRect(AGraphics, dest.X, dest.Y, dest.Width, dest.Height, CombineModeIntersect));
      dest.Width = std::max(dest.Width, minimum.cx);
      dest.Height = std::max(dest.Height, minimum.cy);
      TryFinally(draw, [&] { CheckGdipStatus(GdipSetClipRegion(AGraphics, clip.Get(), CombineModeReplace)); });
      return;
    }
  } else {
    PixelOffsetMode offsetMode = PixelOffsetModeDefault;
    CheckGdipStatus(GdipGetPixelOffsetMode(AGraphics, &offsetMode));
    // Without the half-pixel offset GDI+ samples an enlarged image between
    // its pixels, so the last column and row would blend with nothing.
    if (offsetMode != PixelOffsetModeHalf) {
      if (source.Width > 1 && source.Width < dest.Width) source.Width -= 1;
      if (source.Height > 1 && source.Height < dest.Height) source.Height -= 1;
    }
  }
  draw();
}

void DrawGdipImageRect(GpGraphics* AGraphics, const TRect& ADestRect, const TRect& ASourceRect, GpImage* AImage,
                       std::uint8_t AAlpha, GpImageAttributes* AAttributes) {
  DrawGdipImageStretched(AGraphics, ADestRect, ASourceRect, AImage, AAlpha, AAttributes);
}

namespace {

// Tiles through a texture brush into a bitmap of the destination's size,
// drawn in one go; false when GDI+ makes no brush of the tile.
bool DrawTilesThroughTexture(GpGraphics* AGraphics, const TRect& ADestRect, const TRect& ASourceRect,
                             GpImage* AImage) {
  GpTexture* texture = nullptr;
  if (GdipCreateTexture2I(AImage, WrapModeTile, ASourceRect.Left, ASourceRect.Top, ASourceRect.Width(),
                          ASourceRect.Height(), &texture) != Ok)
    return false;
  const TdxGpOwnedBrush brush(texture);
  const TdxGpOwnedImage bitmap = CreateGdipBitmap(ADestRect.Width(), ADestRect.Height());
  {
    TdxGpOwnedGraphics graphics;
    CheckGdipStatus(GdipGetImageGraphicsContext(bitmap.Get(), graphics.Receive()));
    // From (0, 0): the tiles start at the destination's corner.
    CheckGdipStatus(GdipFillRectangleI(graphics.Get(), brush.Get(), 0, 0, ADestRect.Width(), ADestRect.Height()));
  }
  CheckGdipStatus(GdipDrawImageRectI(AGraphics, bitmap.Get(), ADestRect.Left, ADestRect.Top, ADestRect.Width(),
                                     ADestRect.Height()));
  return true;
}

}  // namespace

void DrawGdipImageTiled(GpGraphics* AGraphics, const TRect& ADestRect, const TRect& ASourceRect, GpImage* AImage,
                        std::uint8_t AAlpha) {
  if (IsRectangleEmpty(ASourceRect) || IsRectangleEmpty(ADestRect) || !IsGdipRectVisible(AGraphics, ADestRect))
    return;
  const int tileWidth = ASourceRect.Width();
  const int tileHeight = ASourceRect.Height();
  // A brush pays off unless a huge tile would be copied for a few repeats.
  const bool textureWorthIt = (tileWidth < ADestRect.Width() && tileHeight < ADestRect.Height()) ||
                              std::min(tileWidth, tileHeight) < 257;
  if (AAlpha == 255 && textureWorthIt && DrawTilesThroughTexture(AGraphics, ADestRect, ASourceRect, AImage)) return;

  const TdxGPImageAttributes* attributes = GetAlphaBlendAttributes(AAlpha);
  for (int y = ADestRect.Top; y < ADestRect.Bottom; y += tileHeight) {
    const int height = std::min(tileHeight, ADestRect.Bottom - y);
    for (int x = ADestRect.Left; x < ADestRect.Right; x += tileWidth) {
      // A tile at the right or bottom edge shows only its part that fits, unscaled.
      const int width = std::min(tileWidth, ADestRect.Right - x);
      CheckGdipStatus(GdipDrawImageRectRectI(AGraphics, AImage, x, y, width, height, ASourceRect.Left,
                                             ASourceRect.Top, width, height, UnitPixel,
                                             GetGPImageAttributesHandle(attributes), nullptr, nullptr));
    }
  }
}

void DrawGdipImageTiledOnDC(HDC DC, const TRect& ADestRect, const TRect& ASourceRect, GpImage* AImage) {
  const TdxGPPaintCanvasScope paint(DC, ADestRect);
  DrawGdipImageTiled(paint->Handle(), ADestRect, ASourceRect, AImage);
}

void PaintGPMirroredIfRightToLeft(TdxGPCanvas* ACanvas, const TRect& R, bool AMirror,
                                  const std::function<void()>& AProc) {
  if (!AMirror) {
    AProc();
    return;
  }
  const TcxWorldTransformScope transform(ACanvas);
  ACanvas->FlipWorldTransform(true, false, (R.Left + R.Right) / 2.0f, (R.Top + R.Bottom) / 2.0f);
  // Mirrored pixels meet the mirrored grid only with the half-pixel offset.
  const TdxGpPixelOffsetMode offsetMode = ACanvas->GetPixelOffsetMode();
  ACanvas->SetPixelOffsetMode(PixelOffsetModeHalf);
  TryFinally(AProc, [&] { ACanvas->SetPixelOffsetMode(offsetMode); });
}

// ---------------------------------------------------------------------------
// Small routines

bool IsLowColorDC(HDC DC) {
  const int technology = DeviceCapsSource(DC, TECHNOLOGY);
  if (technology == DT_RASPRINTER) return true;
  if (technology == DT_RASDISPLAY ? DisplayHasFewColors(DC) : DeviceHasFewColors(DC)) return true;
  // Before Vista GDI+ could not paint on a layered window's context directly.
  if (IsWinVistaOrLater || !WindowFromDCProc) return false;
  const HWND window = WindowFromDCProc(DC);
  return window && (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
}

bool IsGdipRectVisible(GpGraphics* AGraphics, const TdxRectF& R) {
  BOOL result = FALSE;
  CheckGdipStatus(GdipIsVisibleRect(AGraphics, R.Left, R.Top, R.Width(), R.Height(), &result));
  return result;
}

bool IsGdipRectVisible(GpGraphics* AGraphics, const TRect& R) {
  BOOL result = FALSE;
  CheckGdipStatus(GdipIsVisibleRectI(AGraphics, R.Left, R.Top, R.Width(), R.Height(), &result));
  return result;
}

GpGraphics* GetGPCanvasHandle(const TdxGPCanvas* ACanvas) { return ACanvas ? ACanvas->Handle() : nullptr; }

GpImageAttributes* GetGPImageAttributesHandle(const TdxGPImageAttributes* AAttributes) {
  return AAttributes ? AAttributes->Handle() : nullptr;
}

HWND GetWindowFromDC(HDC DC) { return WindowFromDCProc ? WindowFromDCProc(DC) : nullptr; }

TdxDeviceCapsSource SetDeviceCapsSource(TdxDeviceCapsSource ASource) {
  return std::exchange(InjectedDeviceCaps, ASource);
}

TdxWindowFromDCProc SetWindowFromDCProc(TdxWindowFromDCProc AProc) { return std::exchange(WindowFromDCProc, AProc); }

void dxGDIPlusClassesBindWindowFromDC() {
  const FARPROC proc = GetProcAddress(GetModuleHandleW(L"user32.dll"), "WindowFromDC");
  // Through the generic function type, which converts to any other quietly.
  WindowFromDCProc = reinterpret_cast<TdxWindowFromDCProc>(reinterpret_cast<void (*)()>(proc));
}

void dxGDIPlusClassesListenForDisplayChanges() { DisplayModeListener.reset(New<TdxDisplayModeListener>()); }

void dxGDIPlusClassesFreePaintCanvases() {
  SharedPaintCanvas.reset();
  DisplayModeListener.reset();
  TdxDisplayModeListener::Colors = TdxDisplayModeListener::Unknown;
}

// ---------------------------------------------------------------------------
// Streams

HRESULT TdxGPStreamAdapter::Stat(STATSTG* AStatStg, DWORD AStatFlag) {
  if (!AStatStg) return S_OK;
  return inherited::Stat(AStatStg, AStatFlag);
}

void TdxGPMemoryStream::Create() {
  TdxGdiPlusLibrary::Acquire();
  FAcquired = true;
}

void TdxGPMemoryStream::Destroy() {
  // The inherited step gives the memory back through Realloc, so GDI+ must still be there.
  inherited::Destroy();
  if (std::exchange(FAcquired, false)) TdxGdiPlusLibrary::Release();
}

void* TdxGPMemoryStream::Realloc(std::int64_t& ANewCapacity) {
  if (ANewCapacity == FCapacity) return Memory();
  void* old = Memory();
  if (ANewCapacity == 0) {
    if (old) GdipFree(old);
    return nullptr;
  }
  void* block = GdipAlloc && static_cast<std::uint64_t>(ANewCapacity) <= SIZE_MAX
                    ? GdipAlloc(static_cast<std::size_t>(ANewCapacity))
                    : nullptr;
  if (!block) throw EStreamError(SMemoryStreamError);
  if (old) {
    std::memcpy(block, old, static_cast<std::size_t>(std::min(FCapacity, ANewCapacity)));
    GdipFree(old);
  }
  return block;
}
