// The abstract canvas on one GDI+ graphics object, with the resources and
// pools of the GDI family (the same GDI+ brushes, pens, images and paths as
// on the GDI canvas), and its binding to a class-library canvas for a paint.
//
// Classes in this file:
//   TdxCustomGDIPlusCanvas               the canvas on a TdxGPCanvas
//   TdxGDIPlusControlCanvas              ... opened on a TCanvas's device context for one paint
//   TdxGDIPlusCanvasBasedTextLayout      the text engine's rows drawn through the GDI interop
//
// GDI code (native objects, text) draws on the graphics object's device
// context with the world transform and clip of the graphics object.
#pragma once

#include "library/graphics/canvas/cxCustomCanvas.h"


class TdxCustomGDIPlusCanvas : public TcxCustomGdiBasedCanvas {
  SK_CLASS(TdxCustomGDIPlusCanvas, TcxCustomGdiBasedCanvas)
 public:
  using inherited::Arc;
  using inherited::DrawBitmap;
  using inherited::DrawNativeObject;
  using inherited::Ellipse;
  using inherited::FillRect;
  using inherited::Line;
  using inherited::Polygon;
  using inherited::Polyline;
  using inherited::Rectangle;

  void Create() override;
  void Destroy() override;

  TdxGPCanvas* GpCanvas() const { return FGpCanvas.get(); }
  TdxGPSmoothingMode SmoothingMode() const { return FSmoothingMode; }
  // Applied at once while there is a graphics object.
  void SetSmoothingMode(TdxGPSmoothingMode AValue);
  const XFORM& WorldTransform() const { return FStateStack.WorldTransform(); }

  TOwned<TcxCanvasBasedTextLayout> CreateTextLayout() override;
  // AProc paints on the graphics object itself.
  void DrawNativeObject(const TRect& R, const TcxCanvasBasedResourceCacheKey& ACacheKey,
                        TcxCanvasNativeDrawExProc AProc) override;
  // AProc paints on the graphics object's device context, turned and
  // clipped as the graphics object is.
  void DrawNativeObject(const TRect& R, const TcxCanvasBasedResourceCacheKey& ACacheKey,
                        TcxCanvasNativeDrawProc AProc) override;
  // The bitmap's own pixels at full opacity (the alpha format is not used).
  void DrawBitmap(TdxGpFastDIB* ABitmap, const TRect& ATargetRect, const TRect& ASourceRect,
                  TAlphaFormat AAlphaFormat, PcxCanvasBasedImage ACache = nullptr) override;
  void DrawBitmap(TdxGpFastDIB* ABitmap, const TdxRectF& ATargetRect, const TdxRectF& ASourceRect,
                  TAlphaFormat AAlphaFormat, PcxCanvasBasedImage ACache = nullptr) override;
  void DrawImage(TdxGPImage* AImage, const TRect& ATargetRect, PcxCanvasBasedImage ACache = nullptr) override;
  void DrawImage(TdxGPImage* AImage, const TdxRectF& ATargetRect, PcxCanvasBasedImage ACache = nullptr) override;

  void Arc(const TRect& AEllipse, const TPoint& AStartPoint, const TPoint& AEndPoint, TdxAlphaColor AColor,
           int APenWidth = 1, TPenStyle APenStyle = psSolid) override;
  void DonutSlice(const TdxRectF& R, float AStartAngle, float ASweepAngle, float AWholePercent,
                  TcxCanvasBasedBrush* ABrush, TcxCanvasBasedPen* APen) override;
  void Ellipse(const TRect& R, TdxAlphaColor ABrushColor, TdxAlphaColor APenColor, TPenStyle APenStyle = psSolid,
               int APenWidth = 1) override;
  void Ellipse(const TdxRectF& R, TcxCanvasBasedBrush* ABrush, TcxCanvasBasedPen* APen) override;
  void FillRect(const TRect& R, TdxAlphaColor AColor) override;
  // The image's whole area tiled over R.
  void FillRect(const TRect& R, TdxGPImage* AImage, PcxCanvasBasedImage ACache = nullptr) override;
  void Line(const TPoint& P1, const TPoint& P2, TColor AColor, int APenWidth = 1,
            TPenStyle APenStyle = psSolid) override;
  void Line(const TPoint& P1, const TPoint& P2, TdxAlphaColor AColor, int APenWidth = 1,
            TPenStyle APenStyle = psSolid) override;
  void Line(const TdxPointF& P1, const TdxPointF& P2, TcxCanvasBasedPen* APen) override;
  void Path(TcxCanvasBasedPath* APath, TcxCanvasBasedBrush* ABrush, TcxCanvasBasedPen* APen) override;
  void Pie(const TdxRectF& R, float AStartAngle, float ASweepAngle, TcxCanvasBasedBrush* ABrush,
           TcxCanvasBasedPen* APen) override;
  void Polygon(std::span<const TPoint> P, TdxAlphaColor ABrushColor, TdxAlphaColor APenColor) override;
  void Polygon(const TdxPointF* P, int ACount, TcxCanvasBasedBrush* ABrush, TcxCanvasBasedPen* APen) override;
  void Polyline(std::span<const TPoint> P, TdxAlphaColor AColor, int APenWidth = 1,
                TPenStyle APenStyle = psSolid) override;
  void Polyline(const TdxPointF* P, int ACount, TcxCanvasBasedPen* APen) override;
  void Rectangle(const TRect& R, TdxAlphaColor ABrushColor, TdxAlphaColor APenColor, TPenStyle APenStyle = psSolid,
                 int APenWidth = 1) override;

  // AForm applies before the current transform.
  void ModifyWorldTransform(const XFORM& AForm) override;
  void RestoreWorldTransform() override;
  void SaveWorldTransform() override;
  // Window origin, world transform and clip region.
  void RestoreState() override;
  void SaveState() override;
  void IntersectClipRect(const TRect& ARect) override;
  void IntersectClipRect(const TdxRectF& ARect) override;
  bool RectVisible(const TdxRectF& R) override;
  bool RectVisible(const TRect& R) override;
  void RestoreClipRegion() override;
  void SaveClipRegion() override;

 protected:
  // The image must be one of the GDI family (EInvalidCast otherwise).
  void DrawImageCoreF(TcxCanvasBasedImage* AImage, const TdxRectF& ATargetRect, const TdxRectF& ASourceRect,
                      std::uint8_t AAlpha) override;
  void DrawImageCore(TcxCanvasBasedImage* AImage, const TRect& ATargetRect, const TRect& ASourceRect,
                     std::uint8_t AAlpha) override;
  void FillRectByGradientCore(const TRect& R, TdxAlphaColor AColor1, TdxAlphaColor AColor2,
                              Gdiplus::LinearGradientMode AMode) override;
  void FillAndFrameRectF(const TdxRectF& R, TcxCanvasBasedResourceHandle* ABrush,
                         TcxCanvasBasedResourceHandle* APen) override;
  TPoint GetWindowOrg() override { return FStateStack.WindowOrg(); }
  void SetWindowOrgCore(const TPoint& AValue) override;

  // The graphics object gets the world transform followed by the window origin.
  void ApplyTransform();

  Gdiplus::PixelOffsetMode FPixelOffsetMode;
  TdxGPSmoothingMode FSmoothingMode;
  TOwned<TdxGPCanvas> FGpCanvas;
  // Window origin and world transform, with their saved levels.
  TcxCanvasStateStack FStateStack;
};

// Drawing is valid only between BeginPaint and EndPaint.
class TdxGDIPlusControlCanvas : public TdxCustomGDIPlusCanvas {
  SK_CLASS(TdxGDIPlusControlCanvas, TdxCustomGDIPlusCanvas)
 public:
  void Create(TCanvas* ACanvas);

  // A graphics object on the canvas's device context, with the identity
  // world transform, the pixel offset and smoothing modes.
  void BeginPaint();
  void EndPaint();

  TCanvas* Canvas() const { return FCanvas; }

 private:
  TCanvas* FCanvas;
};

class TdxGDIPlusCanvasBasedTextLayout : public TcxGdiCanvasBasedTextLayout {
  SK_CLASS(TdxGDIPlusCanvasBasedTextLayout, TcxGdiCanvasBasedTextLayout)
 protected:
  // The rows on the paint canvas the GDI interop hands over.
  void DrawCore(const TRect& R) override;
};
