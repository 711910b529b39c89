#include "library/graphics/direct2d/dxDirectX_D2D_Utils.h"

#include "library/core/system/dxDPIAwareUtils.h"
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "library/graphics/imaging/dxPixelBuffers.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <new>
#include <numbers>

namespace {

constexpr HRESULT DxgiErrorUnsupported = static_cast<HRESULT>(0x887A0004);
constexpr HRESULT DxgiErrorDeviceRemoved = static_cast<HRESULT>(0x887A0005);
constexpr HRESULT DxgiErrorDeviceReset = static_cast<HRESULT>(0x887A0007);
constexpr HRESULT D2DErrorRecreateTarget = static_cast<HRESULT>(0x8899000C);

constexpr double Pi = std::numbers::pi;

TdxDefaultBoolean Availability = bDefault;
std::atomic<ID2D1Factory1*> SharedD2DFactory{nullptr};
std::atomic<IDWriteFactory*> SharedDWriteFactory{nullptr};

// Made on demand; a second creator that loses the race releases its own copy.
template <class I, class TCreate>
I* SharedFactory(std::atomic<I*>& AStore, const TCreate& ACreate) {
  if (I* existing = AStore.load()) return existing;
  TComPtr<I> created;
  if (FAILED(ACreate(created)) || !created) return nullptr;
  I* expected = nullptr;
  if (AStore.compare_exchange_strong(expected, created.Get())) return created.Detach();
  return expected;
}

template <class I>
void ReleaseSharedFactory(std::atomic<I*>& AStore) {
  if (I* factory = AStore.exchange(nullptr)) factory->Release();
}

void TurnDirect2DOff() { Availability = bFalse; }

float ToChannel(std::uint8_t AByte) { return AByte / 255.0f; }

// Into 0 <= a < 2 pi.
double NormalizeRadians(double AAngle) {
  double result = std::fmod(AAngle, 2 * Pi);
  if (result < 0) result += 2 * Pi;
  return result;
}

// The point of the ellipse (centre C, radii RX, RY) in the direction of P,
// taken into the quadrant of the angle A (radians).
D2D1_POINT_2F ProjectOntoEllipse(const TdxPointF& C, float RX, float RY, const TdxPointF& P, double A) {
  A = NormalizeRadians(A);
  if (RX <= 0 || RY <= 0)
    return {static_cast<float>(C.X + RX * std::cos(A)), static_cast<float>(C.Y - RY * std::sin(A))};
  const double rx2 = static_cast<double>(RX) * RX;
  const double ry2 = static_cast<double>(RY) * RY;
  const double d = std::max(0.1, static_cast<double>(P.X - C.X) * (P.X - C.X));
  const double e = static_cast<double>(P.Y - C.Y) * (P.Y - C.Y);
  const double x = std::sqrt(rx2 * ry2 / (ry2 + rx2 * e / d));
  const double y = std::sqrt(ry2 * (1 - std::min(1.0, x * x / rx2)));
  D2D1_POINT_2F result{static_cast<float>(C.X + x), static_cast<float>(C.Y - y)};
  if (A >= Pi / 2 && A <= 3 * Pi / 2) result.x = static_cast<float>(C.X - x);
  if (A > Pi) result.y = static_cast<float>(C.Y + y);
  return result;
}

D2D1_ARC_SEGMENT ArcSegment(const D2D1_POINT_2F& AEnd, float RX, float RY, bool ACounterClockwise, bool ALarge) {
  return {AEnd, {RX, RY}, 0,
          ACounterClockwise ? D2D1_SWEEP_DIRECTION_COUNTER_CLOCKWISE : D2D1_SWEEP_DIRECTION_CLOCKWISE,
          ALarge ? D2D1_ARC_SIZE_LARGE : D2D1_ARC_SIZE_SMALL};
}

}  // namespace

// ---------------------------------------------------------------------------
// Exceptions

EdxDirectXError::EdxDirectXError(HRESULT AErrorCode)
    : EdxDirectCustomException(L"Invalid operation in DirectX (Code: %d)", {static_cast<int>(AErrorCode)}),
      FErrorCode(AErrorCode) {}

// ---------------------------------------------------------------------------
// Factories and availability

ID2D1Factory1* dxD2DFactory() {
  return SharedFactory(SharedD2DFactory, [](TComPtr<ID2D1Factory1>& AFactory) {
    return dxD2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory1), nullptr,
                               AFactory.ReceiveVoid());
  });
}

IDWriteFactory* dxDWriteFactory() {
  return SharedFactory(SharedDWriteFactory, [](TComPtr<IDWriteFactory>& AFactory) {
    return dxDWriteCreateFactory(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory),
                                 reinterpret_cast<IUnknown**>(AFactory.Receive()));
  });
}

bool IsDirect2DAvailable() {
  if (Availability == bDefault)
    Availability = !IsUnawareGdiScaled() && dxD2DFactory() && dxDWriteFactory() ? bTrue : bFalse;
  return Availability == bTrue;
}

bool CheckDirect2DFatalError(HRESULT AResult) {
  const bool fatal = AResult == DxgiErrorUnsupported || IsUnawareGdiScaled();
  if (fatal) TurnDirect2DOff();
  return fatal;
}

bool CheckDirect2DFatalError(const std::exception& AException) {
  const bool fatal = dynamic_cast<const EOutOfMemory*>(&AException) || dynamic_cast<const std::bad_alloc*>(&AException) ||
                     IsUnawareGdiScaled();
  if (fatal) TurnDirect2DOff();
  return fatal;
}

bool IsDirect2DDeviceLost(HRESULT AResult) {
  return CheckDirect2DFatalError(AResult) || AResult == DxgiErrorDeviceRemoved || AResult == DxgiErrorDeviceReset ||
         AResult == D2DErrorRecreateTarget;
}

// ---------------------------------------------------------------------------
// Conversions

D2D1_COLOR_F dxAlphaColorToD2DColor(TdxAlphaColor AColor) {
  return {ToChannel(RedOf(AColor)), ToChannel(GreenOf(AColor)), ToChannel(BlueOf(AColor)), ToChannel(AlphaOf(AColor))};
}

D2D1_RECT_F dxD2DCenteredRect(const D2D1_RECT_F& R, const D2D1_SIZE_F& ASize) {
  const float left = (R.left + R.right - ASize.width) / 2;
  const float top = (R.top + R.bottom - ASize.height) / 2;
  return {left, top, left + ASize.width, top + ASize.height};
}

TComPtr<ID2D1Bitmap> dxCreateD2DBitmap(ID2D1DeviceContext* AContext, const RGBQUAD* ABits, int AWidth, int AHeight,
                                       int APitch, TAlphaFormat AAlphaFormat) {
  if (AAlphaFormat == afDefined) {
    std::vector<RGBQUAD> premultiplied;
    for (int y = 0; y < AHeight; ++y) {
      const auto* row = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(ABits) +
                                                         static_cast<std::ptrdiff_t>(y) * APitch);
      premultiplied.insert(premultiplied.end(), row, row + AWidth);
    }
    TdxColors::Premultiply(premultiplied);
    return dxCreateD2DBitmap(AContext, premultiplied.data(), AWidth, AHeight, AWidth * static_cast<int>(sizeof(RGBQUAD)),
                             afPremultiplied);
  }
  D2D1_BITMAP_PROPERTIES1 properties{};
  properties.pixelFormat = {DXGI_FORMAT_B8G8R8A8_UNORM,
                            AAlphaFormat == afIgnored ? D2D1_ALPHA_MODE_IGNORE : D2D1_ALPHA_MODE_PREMULTIPLIED};
  ID2D1Bitmap1* bitmap = nullptr;
  dxCheckDirectXResult(AContext->CreateBitmap(D2D1_SIZE_U{static_cast<UINT32>(AWidth), static_cast<UINT32>(AHeight)},
                                              ABits, static_cast<UINT32>(APitch), &properties, &bitmap));
  return TComPtr<ID2D1Bitmap>::Attach(bitmap);
}

TComPtr<ID2D1Bitmap> dxCreateD2DBitmap(ID2D1DeviceContext* AContext, TdxCustomFastDIB* ABitmap,
                                       TAlphaFormat AAlphaFormat) {
  if (!ABitmap || ABitmap->Empty()) return nullptr;
  GdiFlush();
  return dxCreateD2DBitmap(AContext, ABitmap->Bits(), ABitmap->Width(), ABitmap->Height(),
                           ABitmap->Width() * static_cast<int>(sizeof(RGBQUAD)), AAlphaFormat);
}

TComPtr<ID2D1Bitmap> dxCreateD2DBitmap(ID2D1DeviceContext* AContext, TBitmap* ABitmap, TAlphaFormat AAlphaFormat) {
  TRGBColors pixels;
  if (!ABitmap || !GetGraphicPixels(ABitmap, pixels, true)) return nullptr;
  if (ABitmap->PixelFormat() != pf32bit) AAlphaFormat = afIgnored;
  if (AAlphaFormat != afIgnored) dxCorrectAlphaChannel(pixels);
  return dxCreateD2DBitmap(AContext, pixels.data(), ABitmap->Width(), ABitmap->Height(),
                           ABitmap->Width() * static_cast<int>(sizeof(RGBQUAD)), AAlphaFormat);
}

std::vector<D2D1_GRADIENT_STOP> dxGpGradientPointsToD2DStops(const TdxGPBrushGradientPoints* APoints,
                                                            bool AUseEdgeColors) {
  std::vector<D2D1_GRADIENT_STOP> stops;
  const int count = APoints ? APoints->Count() : 0;
  if (count == 0) return stops;
  const auto edgeColor = [&](int AIndex) {
    return AUseEdgeColors ? dxAlphaColorToD2DColor(APoints->Colors(AIndex)) : D2D1_COLOR_F{0, 0, 0, 0};
  };
  if (APoints->Offsets(0) > 0) stops.push_back({0, edgeColor(0)});
  for (int i = 0; i < count; ++i) stops.push_back({APoints->Offsets(i), dxAlphaColorToD2DColor(APoints->Colors(i))});
  if (APoints->Offsets(count - 1) < 1) stops.push_back({1, edgeColor(count - 1)});
  return stops;
}

TdxD2DArc dxD2DArc(const TdxRectF& R, float AStartAngle, float ASweepAngle) {
  const TdxPointF center((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
  const float rx = R.Width() / 2;
  const float ry = R.Height() / 2;
  TdxPointF start;
  TdxPointF end;
  GetEllipseArcPoints(R, AStartAngle, ASweepAngle, start, end);
  const double startAngle = AStartAngle * Pi / 180;
  const double endAngle = (static_cast<double>(AStartAngle) + ASweepAngle) * Pi / 180;
  return {ProjectOntoEllipse(center, rx, ry, start, startAngle),
          ArcSegment(ProjectOntoEllipse(center, rx, ry, end, endAngle), rx, ry, ASweepAngle > 0,
                     std::abs(ASweepAngle) > 180)};
}

TdxD2DArc dxD2DArc(const TRect& R, const TPoint& AStartPoint, const TPoint& AEndPoint) {
  const float rx = (R.Right - R.Left - 1) / 2.0f;
  const float ry = (R.Bottom - R.Top - 1) / 2.0f;
  const TdxPointF center((R.Left + R.Right) / 2.0f, (R.Top + R.Bottom) / 2.0f);
  const auto angleOf = [&](const TPoint& P) {
    return Pi - std::atan2(center.Y - P.Y - 0.5, center.X - P.X - 0.5);
  };
  const double startAngle = angleOf(AStartPoint);
  const double endAngle = angleOf(AEndPoint);
  const double sweep = NormalizeRadians(endAngle - startAngle);
  return {ProjectOntoEllipse(center, rx, ry, TdxPointF(AStartPoint), startAngle),
          ArcSegment(ProjectOntoEllipse(center, rx, ry, TdxPointF(AEndPoint), endAngle), rx, ry, true, sweep > Pi)};
}

void dxCorrectAlphaChannel(std::span<RGBQUAD> AColors) {
  for (RGBQUAD& pixel : AColors)
    if (pixel.rgbReserved == 0 && pixel.rgbBlue + pixel.rgbGreen + pixel.rgbRed != 0) pixel.rgbReserved = 255;
}

// ---------------------------------------------------------------------------
// Unit start-up and shut-down

void dxDirectX_D2D_UtilsInitialization() { Availability = bDefault; }

void dxDirectX_D2D_UtilsFinalization() {
  TurnDirect2DOff();
  ReleaseSharedFactory(SharedD2DFactory);
  ReleaseSharedFactory(SharedDWriteFactory);
  UnbindDirect2DLibraries();
}
