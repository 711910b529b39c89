// Direct2D brushes made from the library's GDI+ brushes for one device
// context, and the process-wide Direct2D stroke styles of the five stroke
// styles.
//
// Classes in this file:
//   TdxDirect2DBrush                 a Direct2D brush for one device context
//   TdxDirect2DSolidBrush            one colour
//   TdxDirect2DHatchBrush            a hatch pattern bitmap tiled
//   TdxDirect2DCustomTexturedBrush   a bitmap brush that moves with the target's corner
//   TdxDirect2DComplexNativeBrush    any other GDI+ brush, rendered into a bitmap of the target's size
//   TdxDirect2DTexturedBrush         a texture image tiled
//   TdxDirect2DCustomGradientBrush   stops laid over the target rectangle
//   TdxDirect2DLineGradientBrush     between two points given as fractions of the target
//   TdxDirect2DLinearGradientBrush   across the target in one of four directions
//   TdxDirect2DRadialGradientBrush   over an ellipse given as fractions of the target
//   TdxDirect2DBrushFactory          the Direct2D brush for a GDI+ brush, by its class
//   TdxDirect2DPenStyleCache         the dashed stroke styles
//
// Brushes whose geometry depends on the target rectangle (gradients,
// textures) are rebuilt or moved when they are asked for another one.
// Failed Direct2D calls raise EdxDirectXError.
//
// The vector brushes of the shape unit (solid, texture, linear and radial
// gradients) live in a layer above this one: that unit registers their
// conversions with the factory at its start-up (RegisterBrushClass).
#pragma once

#include "library/core/containers/dxGenerics.h"
#include "library/graphics/canvas/cxCustomCanvas.h"
#include "library/graphics/direct2d/dxDirectX_D2D_Utils.h"
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"

#include <functional>
#include <vector>

// ---------------------------------------------------------------------------
// Brushes

class TdxDirect2DBrush : public TObject {
  SK_CLASS(TdxDirect2DBrush, TObject)
 public:
  void Create(ID2D1DeviceContext* AContext);

  ID2D1DeviceContext* Context() const { return FContext.Get(); }
  // The brush laid over R (nil for an empty brush).
  virtual ID2D1Brush* GetHandle(const D2D1_RECT_F& R);
  virtual bool IsEmpty() { return !FHandle; }

 protected:
  TComPtr<ID2D1DeviceContext> FContext;
  TComPtr<ID2D1Brush> FHandle;
};

class TdxDirect2DSolidBrush : public TdxDirect2DBrush {
  SK_CLASS(TdxDirect2DSolidBrush, TdxDirect2DBrush)
 public:
  // A failure leaves the brush empty.
  void Create(ID2D1DeviceContext* AContext, TdxAlphaColor AColor);
};

// ATexture tiled from the origin, without smoothing.
class TdxDirect2DHatchBrush : public TdxDirect2DBrush {
  SK_CLASS(TdxDirect2DHatchBrush, TdxDirect2DBrush)
 public:
  void Create(ID2D1DeviceContext* AContext, ID2D1Bitmap* ATexture);
};

class TdxDirect2DCustomTexturedBrush : public TdxDirect2DBrush {
  SK_CLASS(TdxDirect2DCustomTexturedBrush, TdxDirect2DBrush)
 public:
  // Keeps a copy of ATransform when it has a GDI+ matrix.
  void Create(ID2D1DeviceContext* AContext, TdxGPMatrix* ATransform);

  // The texture starts at R's top-left corner.
  ID2D1Brush* GetHandle(const D2D1_RECT_F& R) override;
  TdxGPMatrix* OriginalTransform() const { return FOriginalTransform.get(); }

 protected:
  // The kept transform, then the translation to the origin.
  virtual void ApplyOrigin(ID2D1Brush* ABrush, const TdxPointF& AOrigin);
  // A bitmap brush over ATexture (wrap, wrap, nearest neighbour).
  TComPtr<ID2D1Brush> CreateTextureBrush(ID2D1Bitmap* ATexture, const D2D1_BRUSH_PROPERTIES* AProperties);

  TdxPointF FOrigin;
  TOwned<TdxGPMatrix> FOriginalTransform;
};

class TdxDirect2DComplexNativeBrush : public TdxDirect2DCustomTexturedBrush {
  SK_CLASS(TdxDirect2DComplexNativeBrush, TdxDirect2DCustomTexturedBrush)
 public:
  // Over a copy of ABrush.
  void Create(ID2D1DeviceContext* AContext, TdxGPCustomBrush* ABrush);

  // A GDI+ bitmap of the size (at least 1 x 1) filled with ABrush.
  static TComPtr<ID2D1Bitmap> CreateBrushBitmap(ID2D1DeviceContext* AContext, TdxGPCustomBrush* ABrush, int AWidth,
                                                int AHeight);
  // Made again for a target of another size.
  ID2D1Brush* GetHandle(const D2D1_RECT_F& R) override;
  bool IsEmpty() override { return FBrush->IsEmpty(); }

 private:
  TOwned<TdxGPCustomBrush> FBrush;
  D2D1_SIZE_F FSize;
};

class TdxDirect2DTexturedBrush : public TdxDirect2DCustomTexturedBrush {
  SK_CLASS(TdxDirect2DTexturedBrush, TdxDirect2DCustomTexturedBrush)
 public:
  // ATexture tiled, turned by ATextureTransform (nil: none).
  void Create(ID2D1DeviceContext* AContext, TdxGPMatrix* ATextureTransform, ID2D1Bitmap* ATexture);
};

class TdxDirect2DCustomGradientBrush : public TdxDirect2DBrush {
  SK_CLASS(TdxDirect2DCustomGradientBrush, TdxDirect2DBrush)
 public:
  // No stops make an empty brush.
  void Create(ID2D1DeviceContext* AContext, const std::vector<D2D1_GRADIENT_STOP>& AStops);

  // Made for R when R moved by more than 0.01 on any side.
  ID2D1Brush* GetHandle(const D2D1_RECT_F& R) override;
  bool IsEmpty() override { return !FStopCollection; }
  // How many times the brush was made, for the tests.
  int BuildCount() const { return FBuildCount; }

 protected:
  virtual TComPtr<ID2D1Brush> CreateGradientBrush(const D2D1_RECT_F& R, ID2D1GradientStopCollection* AStops) = 0;
  TComPtr<ID2D1Brush> CreateLinearBrush(const D2D1_POINT_2F& AStart, const D2D1_POINT_2F& AEnd,
                                        ID2D1GradientStopCollection* AStops);

  TComPtr<ID2D1GradientStopCollection> FStopCollection;
  D2D1_RECT_F FTargetRect;

 private:
  int FBuildCount;
};

class TdxDirect2DLineGradientBrush : public TdxDirect2DCustomGradientBrush {
  SK_CLASS(TdxDirect2DLineGradientBrush, TdxDirect2DCustomGradientBrush)
 public:
  void Create(ID2D1DeviceContext* AContext, const TdxPointF& AStartPoint, const TdxPointF& AEndPoint,
              const std::vector<D2D1_GRADIENT_STOP>& AStops);

 protected:
  TComPtr<ID2D1Brush> CreateGradientBrush(const D2D1_RECT_F& R, ID2D1GradientStopCollection* AStops) override;

 private:
  TdxPointF FEndPoint;
  TdxPointF FStartPoint;
};

class TdxDirect2DLinearGradientBrush : public TdxDirect2DCustomGradientBrush {
  SK_CLASS(TdxDirect2DLinearGradientBrush, TdxDirect2DCustomGradientBrush)
 public:
  void Create(ID2D1DeviceContext* AContext, Gdiplus::LinearGradientMode AMode,
              const std::vector<D2D1_GRADIENT_STOP>& AStops);

  // The gradient line of a mode across R.
  static void GetGradientLine(const D2D1_RECT_F& R, Gdiplus::LinearGradientMode AMode, D2D1_POINT_2F& AStart,
                              D2D1_POINT_2F& AEnd);

 protected:
  TComPtr<ID2D1Brush> CreateGradientBrush(const D2D1_RECT_F& R, ID2D1GradientStopCollection* AStops) override;

 private:
  Gdiplus::LinearGradientMode FMode;
};

class TdxDirect2DRadialGradientBrush : public TdxDirect2DCustomGradientBrush {
  SK_CLASS(TdxDirect2DRadialGradientBrush, TdxDirect2DCustomGradientBrush)
 public:
  void Create(ID2D1DeviceContext* AContext, const TdxPointF& ACenter, const TdxPointF& ARadius,
              const std::vector<D2D1_GRADIENT_STOP>& AStops);

 protected:
  TComPtr<ID2D1Brush> CreateGradientBrush(const D2D1_RECT_F& R, ID2D1GradientStopCollection* AStops) override;

 private:
  TdxPointF FCenter;
  TdxPointF FRadius;
};

// A stop collection of the stops (gamma 2.2, clamped); nil for no stops.
TComPtr<ID2D1GradientStopCollection> dxCreateD2DGradientStops(ID2D1DeviceContext* AContext,
                                                              const std::vector<D2D1_GRADIENT_STOP>& AStops);
// A GDI+ image's pixels as a premultiplied Direct2D bitmap; nil for no image.
TComPtr<ID2D1Bitmap> dxCreateD2DBitmap(ID2D1DeviceContext* AContext, GpImage* AImage);

// ---------------------------------------------------------------------------
// The factory

// Makes the Direct2D brush of one GDI+ brush class (and of its descendants
// that have no entry of their own).
using TdxDirect2DBrushCreateFunc =
    std::function<TOwned<TdxDirect2DBrush>(ID2D1DeviceContext* AContext, TdxGPCustomBrush* ABrush)>;

class TdxDirect2DBrushFactory {
 public:
  // By the nearest class of ABrush that has an entry: TdxGPBrush by its
  // style, TdxGPHatchBrush as its 8 x 8 pattern, any other brush rendered
  // into a bitmap (TdxDirect2DComplexNativeBrush).
  static TOwned<TdxDirect2DBrush> Create(ID2D1DeviceContext* AContext, TdxGPCustomBrush* ABrush);
  // Entries of the classes of higher layers; a second registration replaces the first.
  static void RegisterBrushClass(TClass AGpBrushClass, TdxDirect2DBrushCreateFunc ACreate);
  static void UnregisterBrushClass(TClass AGpBrushClass);

  // The unit's shut-down.
  static void Finalize();
};

// ---------------------------------------------------------------------------
// Stroke styles

class TdxDirect2DPenStyleCache {
 public:
  // Nil for Solid (and when there is no factory); made on the first request
  // and shared: flat caps, square dash caps, miter joins with limit 10.
  static ID2D1StrokeStyle1* Get(TdxStrokeStyle AStyle);
  // The unit's shut-down releases them.
  static void Release();
};

void dxDirectX_D2D_ClassesFinalization();
