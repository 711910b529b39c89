// What every Direct2D part shares: the process-wide Direct2D and DirectWrite
// factories, the answer to whether Direct2D may be used at all, the results
// that mean the device is gone, the library's DirectX exceptions, and the
// conversions from the library's pixels, colours, gradient points and arcs.
//
// Classes in this file:
//   EdxDirectCustomException          the base of the DirectX exceptions
//   EdxDirectXInvalidStateException   an object used before what it needs was set
//   EdxDirectXError                   a DirectX call that failed, with its HRESULT
//   TdxD2DArc                         where an arc figure starts and its segment
//
// Availability is tested once: the first answer holds for the rest of the
// run, and a fatal error found later turns it off for good. The factories
// and the device are single-threaded: everything here belongs to the UI
// thread.
#pragma once

#include "library/core/geometry/cxGeometry.h"
#include "library/core/base/dxCore.h"
#include "library/core/colors/dxCoreGraphics.h"
#include "library/graphics/direct2d/dxDirectX_D2D_Types.h"
#include "platform/runtime/ComPtr.h"
#include "platform/ui/Graphics.h"

#include <exception>
#include <span>
#include <vector>

class TdxCustomFastDIB;
class TdxGPBrushGradientPoints;

// ---------------------------------------------------------------------------
// Exceptions

class EdxDirectCustomException : public EdxException { public: using EdxException::EdxException; };
class EdxDirectXInvalidStateException : public EdxDirectCustomException {
 public:
  using EdxDirectCustomException::EdxDirectCustomException;
};

// "Invalid operation in DirectX (Code: %d)", the code as a signed number.
class EdxDirectXError : public EdxDirectCustomException {
 public:
  explicit EdxDirectXError(HRESULT AErrorCode);
  HRESULT ErrorCode() const { return FErrorCode; }

 private:
  HRESULT FErrorCode;
};

// Raises EdxDirectXError for a failed result.
inline void dxCheckDirectXResult(HRESULT AResult) {
  if (FAILED(AResult)) throw EdxDirectXError(AResult);
}

// ---------------------------------------------------------------------------
// Factories and availability

// The shared single-threaded Direct2D factory, made on the first call; nil
// when it cannot be made (asked again next time). Callers do not release it.
ID2D1Factory1* dxD2DFactory();
// The shared DirectWrite factory, with the same rules.
IDWriteFactory* dxDWriteFactory();

// False under GDI scaling of a DPI-unaware process, or when either factory
// cannot be made; the first answer is kept.
bool IsDirect2DAvailable();
// DXGI_ERROR_UNSUPPORTED, or a GDI-scaled unaware process: Direct2D is
// turned off for good and the answer is true.
bool CheckDirect2DFatalError(HRESULT AResult);
// The same for an exception: running out of memory (EOutOfMemory or the C++
// run-time's bad_alloc) or a GDI-scaled unaware process.
bool CheckDirect2DFatalError(const std::exception& AException);
// A fatal error, or the device removed or reset, or the target to be made again.
bool IsDirect2DDeviceLost(HRESULT AResult);

// ---------------------------------------------------------------------------
// Conversions

// Each channel byte / 255.
D2D1_COLOR_F dxAlphaColorToD2DColor(TdxAlphaColor AColor);
inline D2D1_POINT_2F dxPointToD2DPoint(const TdxPointF& P) { return {P.X, P.Y}; }
inline D2D1_POINT_2F dxPointToD2DPoint(const TPoint& P) {
  return {static_cast<float>(P.X), static_cast<float>(P.Y)};
}
inline D2D1_RECT_F dxRectToD2DRect(const TdxRectF& R) { return {R.Left, R.Top, R.Right, R.Bottom}; }
inline D2D1_RECT_F dxRectToD2DRect(const TRect& R) {
  return {static_cast<float>(R.Left), static_cast<float>(R.Top), static_cast<float>(R.Right),
          static_cast<float>(R.Bottom)};
}
inline TdxRectF dxD2DRectToRect(const D2D1_RECT_F& R) { return TdxRectF(R.left, R.top, R.right, R.bottom); }
inline D2D1_SIZE_F dxD2DRectSize(const D2D1_RECT_F& R) { return {R.right - R.left, R.bottom - R.top}; }
// A rectangle of ASize centred in R.
D2D1_RECT_F dxD2DCenteredRect(const D2D1_RECT_F& R, const D2D1_SIZE_F& ASize);
inline D2D1_MATRIX_3X2_F dxXFormToD2DMatrix(const XFORM& AForm) {
  return {{{AForm.eM11, AForm.eM12, AForm.eM21, AForm.eM22, AForm.eDx, AForm.eDy}}};
}
// Front 0, back 1.
inline D3D11_BOX dxRectToD3DBox(const TRect& R) {
  return {static_cast<UINT>(R.Left), static_cast<UINT>(R.Top), 0, static_cast<UINT>(R.Right),
          static_cast<UINT>(R.Bottom), 1};
}

// A bitmap of AWidth x AHeight pixels (rows APitch bytes apart, top row
// first) in the device context's format: afIgnored opaque, afPremultiplied as
// they are, afDefined from a premultiplied copy. A failure raises
// EdxDirectXError.
TComPtr<ID2D1Bitmap> dxCreateD2DBitmap(ID2D1DeviceContext* AContext, const RGBQUAD* ABits, int AWidth, int AHeight,
                                       int APitch, TAlphaFormat AAlphaFormat);
// Nil for an empty buffer.
TComPtr<ID2D1Bitmap> dxCreateD2DBitmap(ID2D1DeviceContext* AContext, TdxCustomFastDIB* ABitmap,
                                       TAlphaFormat AAlphaFormat);
// Nil for an empty bitmap. A bitmap that is not pf32bit counts as afIgnored;
// with an alpha format, pixels that are transparent but not black are made
// opaque first (dxCorrectAlphaChannel).
TComPtr<ID2D1Bitmap> dxCreateD2DBitmap(ID2D1DeviceContext* AContext, TBitmap* ABitmap, TAlphaFormat AAlphaFormat);

// The gradient points as stops, with stops added at 0 and 1 where the points
// do not reach them: in the nearest point's colour with AUseEdgeColors, else
// transparent black. No points give none.
std::vector<D2D1_GRADIENT_STOP> dxGpGradientPointsToD2DStops(const TdxGPBrushGradientPoints* APoints,
                                                            bool AUseEdgeColors);

inline D2D1_ELLIPSE dxD2DEllipse(const TdxRectF& R) {
  return {{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2}, (R.Right - R.Left) / 2, (R.Bottom - R.Top) / 2};
}

struct TdxD2DArc {
  D2D1_POINT_2F StartPoint;
  D2D1_ARC_SEGMENT Segment;
};
// The arc of R's ellipse from AStartAngle over ASweepAngle (degrees,
// counter-clockwise on the screen for a positive sweep).
TdxD2DArc dxD2DArc(const TdxRectF& R, float AStartAngle, float ASweepAngle);
// GDI's arc: counter-clockwise from the direction of AStartPoint to that of
// AEndPoint, on the ellipse through the centres of R's edge pixels.
TdxD2DArc dxD2DArc(const TRect& R, const TPoint& AStartPoint, const TPoint& AEndPoint);

// The fading helper's repair of pixels read back from GDI: every pixel with
// alpha 0 that is not black becomes opaque.
void dxCorrectAlphaChannel(std::span<RGBQUAD> AColors);

// The unit's start-up leaves availability untested; its shut-down turns it
// off, releases both factories and frees the DLLs.
void dxDirectX_D2D_UtilsInitialization();
void dxDirectX_D2D_UtilsFinalization();
