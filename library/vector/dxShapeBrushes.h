// GDI+ brushes laid over a target rectangle, and the shape brushes that the
// shape reader makes from mark-up, each wrapping one GDI+ brush.
//
// Classes in this file:
//   TdxGPSolidBrush              one colour
//   TdxGPTextureBrush            an image tiled from the target rectangle's corner
//   TdxGpCustomGradientBrush     stops blended over the target rectangle
//   TdxGPLinearGradientBrush     along a direction or between two relative points
//   TdxLinearGradientBrush
//   TdxGPPathGradientBrush       from a figure's outline to its centre
//   TdxRadialGradientBrush       over an ellipse given relative to the target rectangle
//   TdxShapeCustomBrush          a shape object that owns a GDI+ brush of its class's kind
//   TdxShapeSolidBrush           "Fill"
//   TdxShapeCustomGradientBrush  a shape brush with gradient stops
//   TdxShapeLinearGradientBrush  "LinearGradientBrush"
//   TdxShapeRadialGradientBrush  "RadialGradientBrush"
//   TdxShapeBrushGradientStop    "GradientStop": adds a stop to the gradient it stands in
//
// A brush's GDI+ object is made on first use of Handle and made again after a
// change of what it depends on: the colour of a solid brush goes into its
// live object instead. Relative points, centres and radii are fractions of
// the target rectangle, which the brush stores grown by one on every side.
#pragma once

#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "library/vector/dxShapePrimitives.h"

// ---------------------------------------------------------------------------
// GDI+ brushes

class TdxGPSolidBrush : public TdxGPCustomBrush {
  SK_CLASS(TdxGPSolidBrush, TdxGPCustomBrush)
 public:
  using inherited::Create;
  void Create(TdxAlphaColor AColor);
  void Assign(TdxGPCustomGraphicObject* ASource) override;

  TdxAlphaColor Color() const { return FColor; }
  // Goes into the GDI+ object, which is made first when there is none.
  void SetColor(TdxAlphaColor AValue);

 protected:
  void CreateHandle(TdxGpHandle& AHandle) override;
  // The empty colour, the default marker and $00FFFFFF.
  bool GetIsEmpty() override { return !IsAlphaColorVisible(FColor); }

 private:
  TdxAlphaColor FColor;
};

class TdxGPTextureBrush : public TdxGPCustomBrush {
  SK_CLASS(TdxGPTextureBrush, TdxGPCustomBrush)
 public:
  using inherited::Create;
  // Without an image.
  void Create() override;
  // Over a copy of ATexture.
  void Create(TdxGPImage* ATexture);
  void Destroy() override;
  void Assign(TdxGPCustomGraphicObject* ASource) override;

  TdxGPImage* Texture() const { return FTexture.get(); }
  // Copies ATexture's image (nil: none).
  void SetTexture(TdxGPImage* ATexture);

 protected:
  // Without an image: a transparent solid brush. With one: the image tiled
  // from the target rectangle's corner.
  void CreateHandle(TdxGpHandle& AHandle) override;
  bool GetIsEmpty() override { return FTexture->Empty(); }
  bool IsTargetRectDependent() override { return true; }

 private:
  void TextureChanged(TObject* Sender);

  TOwned<TdxGPImage> FTexture;
};

class TdxGpCustomGradientBrush : public TdxGPCustomBrush {
  SK_CLASS(TdxGpCustomGradientBrush, TdxGPCustomBrush)
 public:
  using inherited::Create;
  void Create() override;
  void Destroy() override;
  void Assign(TdxGPCustomGraphicObject* ASource) override;

  TdxGPBrushGradientPoints* GradientPoints() const { return FGradientPoints.get(); }
  void SetGradientPoints(const TdxGPBrushGradientPoints* AValue) { FGradientPoints->Assign(AValue); }
  TdxGPMatrix* TransformMatrix() const { return FTransformMatrix.get(); }
  void SetTransformMatrix(TdxGPMatrix* AValue) { FTransformMatrix->Assign(AValue); }

 protected:
  // From the brush's own stops.
  void CreateHandle(TdxGpHandle& AHandle) override;
  // Prepares APoints, then makes the GDI+ brush of their preset blend.
  void CreateHandleFromPoints(TdxGpHandle& AHandle, TdxGPBrushGradientPoints* APoints);
  virtual void CreateGradientHandle(TdxGpHandle& AHandle, const ARGB* AColors, const float* APositions,
                                    int ACount) = 0;
  // An empty list gets one transparent stop at 1.
  virtual void PrepareGradientPoints(TdxGPBrushGradientPoints* APoints);
  bool GetIsEmpty() override { return FGradientPoints->Count() == 0; }
  bool IsTargetRectDependent() override { return true; }

 private:
  void GradientPointsChanged(TObject* Sender);

  TOwned<TdxGPBrushGradientPoints> FGradientPoints;
  TOwned<TdxGPMatrix> FTransformMatrix;
};

enum TdxGPLinearGradientBrushMode {
  gplgbmHorizontal, gplgbmVertical, gplgbmForwardDiagonal, gplgbmBackwardDiagonal, gplgbmLine
};

class TdxGPLinearGradientBrush : public TdxGpCustomGradientBrush {
  SK_CLASS(TdxGPLinearGradientBrush, TdxGpCustomGradientBrush)
 public:
  using inherited::Create;
  // Horizontal, from (0, 0) to (1, 1).
  void Create() override;
  void Assign(TdxGPCustomGraphicObject* ASource) override;

  // gplgbmLine runs from StartPoint to EndPoint; the other modes across the
  // whole target rectangle.
  TdxGPLinearGradientBrushMode GradientMode() const { return FGradientMode; }
  void SetGradientMode(TdxGPLinearGradientBrushMode AValue);
  const TdxPointF& EndPoint() const { return FEndPoint; }
  void SetEndPoint(const TdxPointF& AValue);
  const TdxPointF& StartPoint() const { return FStartPoint; }
  void SetStartPoint(const TdxPointF& AValue);

 protected:
  // Afterwards the transform matrix holds the GDI+ brush's own transform.
  void CreateGradientHandle(TdxGpHandle& AHandle, const ARGB* AColors, const float* APositions,
                            int ACount) override;

 private:
  void GeometryChanged();

  TdxGPLinearGradientBrushMode FGradientMode;
  TdxPointF FEndPoint;
  TdxPointF FStartPoint;
};

class TdxLinearGradientBrush : public TdxGPLinearGradientBrush {
  SK_CLASS(TdxLinearGradientBrush, TdxGPLinearGradientBrush)
};

// A GDI+ path gradient runs from the outline (0) to the centre (1): the stops
// are mirrored for it, so that offset 0 stays at the centre.
class TdxGPPathGradientBrush : public TdxGpCustomGradientBrush {
  SK_CLASS(TdxGPPathGradientBrush, TdxGpCustomGradientBrush)

 protected:
  // From a mirrored copy of the stops.
  void CreateHandle(TdxGpHandle& AHandle) override;
  // Centred on the rectangle GetPathBounds gives, over the figure AddPathFigure adds.
  void CreateGradientHandle(TdxGpHandle& AHandle, const ARGB* AColors, const float* APositions,
                            int ACount) override;
  // Each stop (c, o) becomes (c, 1 - o); then the colour of the largest
  // offset (transparent when none is above 0) at 0 and the colour of the
  // smallest at 1 are added.
  void PrepareGradientPoints(TdxGPBrushGradientPoints* APoints) override;
  // Nothing here.
  virtual void AddPathFigure(TdxGPPath* APath);
  // The target rectangle here.
  virtual TdxRectF GetPathBounds();
};

class TdxRadialGradientBrush : public TdxGPPathGradientBrush {
  SK_CLASS(TdxRadialGradientBrush, TdxGPPathGradientBrush)
 public:
  using inherited::Create;
  // Centre (0.5, 0.5), radii (0.5, 0.5): the target rectangle's ellipse.
  void Create() override;
  void Assign(TdxGPCustomGraphicObject* ASource) override;

  const TdxPointF& Center() const { return FCenter; }
  void SetCenter(const TdxPointF& AValue);
  const TdxPointF& Radius() const { return FRadius; }
  void SetRadius(const TdxPointF& AValue);

 protected:
  // The ellipse of GetPathBounds.
  void AddPathFigure(TdxGPPath* APath) override;
  // The ellipse's rectangle; radii (0, 0) give the whole target rectangle.
  TdxRectF GetPathBounds() override;

 private:
  TdxPointF FCenter;
  TdxPointF FRadius;
};

// ---------------------------------------------------------------------------
// Shape brushes

class TdxShapeCustomBrush : public TdxShapeObject {
  SK_CLASS(TdxShapeCustomBrush, TdxShapeObject)
 public:
  struct TMeta : TdxShapeObject::TMeta {
    // The class of the GDI+ brush it makes.
    virtual TClass GetGPBrushClass() const { return TdxGPSolidBrush::ClassInfo(); }
  };
  static void Publish(TPublisher<TdxShapeCustomBrush>& P);

  using inherited::Create;
  void Create() override;
  void Destroy() override;
  // The GDI+ brush's settings, from a brush of the same kind.
  void Assign(TPersistent* ASource) override;

  TdxGPCustomBrush* GPBrush() const { return FGPBrush.get(); }

 private:
  void GPBrushChanged(TObject*) { Changed(); }

  TOwned<TdxGPCustomBrush> FGPBrush;
};

class TdxShapeSolidBrush : public TdxShapeCustomBrush {
  SK_CLASS(TdxShapeSolidBrush, TdxShapeCustomBrush)
 public:
  struct TMeta : TdxShapeCustomBrush::TMeta {
    String GetName() const override { return L"Fill"; }
  };
  static void Publish(TPublisher<TdxShapeSolidBrush>& P);

  TdxGPSolidBrush* SolidBrush() const { return static_cast<TdxGPSolidBrush*>(GPBrush()); }
  TdxAlphaColor Color() const { return SolidBrush()->Color(); }
  void SetColor(TdxAlphaColor AValue) { SolidBrush()->SetColor(AValue); }
};

class TdxShapeCustomGradientBrush : public TdxShapeCustomBrush {
  SK_CLASS(TdxShapeCustomGradientBrush, TdxShapeCustomBrush)
 public:
  struct TMeta : TdxShapeCustomBrush::TMeta {
    TClass GetGPBrushClass() const override { return TdxGpCustomGradientBrush::ClassInfo(); }
  };
  static void Publish(TPublisher<TdxShapeCustomGradientBrush>& P);

  TdxGpCustomGradientBrush* GradientBrush() const { return static_cast<TdxGpCustomGradientBrush*>(GPBrush()); }
  TdxGPBrushGradientPoints* GradientPoints() const { return GradientBrush()->GradientPoints(); }
};

class TdxShapeLinearGradientBrush : public TdxShapeCustomGradientBrush {
  SK_CLASS(TdxShapeLinearGradientBrush, TdxShapeCustomGradientBrush)
 public:
  struct TMeta : TdxShapeCustomGradientBrush::TMeta {
    String GetName() const override { return L"LinearGradientBrush"; }
    TClass GetGPBrushClass() const override { return TdxLinearGradientBrush::ClassInfo(); }
  };
  static void Publish(TPublisher<TdxShapeLinearGradientBrush>& P);

  using inherited::Create;
  // Between the two points.
  void Create() override;

  TdxGPLinearGradientBrush* LinearBrush() const { return static_cast<TdxGPLinearGradientBrush*>(GPBrush()); }
  String StartPoint() const { return dxShapePointToText(LinearBrush()->StartPoint()); }
  void SetStartPoint(const String& AValue) { LinearBrush()->SetStartPoint(dxShapeTextToPoint(AValue)); }
  String EndPoint() const { return dxShapePointToText(LinearBrush()->EndPoint()); }
  void SetEndPoint(const String& AValue) { LinearBrush()->SetEndPoint(dxShapeTextToPoint(AValue)); }
};

class TdxShapeRadialGradientBrush : public TdxShapeCustomGradientBrush {
  SK_CLASS(TdxShapeRadialGradientBrush, TdxShapeCustomGradientBrush)
 public:
  struct TMeta : TdxShapeCustomGradientBrush::TMeta {
    String GetName() const override { return L"RadialGradientBrush"; }
    TClass GetGPBrushClass() const override { return TdxRadialGradientBrush::ClassInfo(); }
  };
  static void Publish(TPublisher<TdxShapeRadialGradientBrush>& P);

  TdxRadialGradientBrush* RadialBrush() const { return static_cast<TdxRadialGradientBrush*>(GPBrush()); }
  String Center() const { return dxShapePointToText(RadialBrush()->Center()); }
  void SetCenter(const String& AValue) { RadialBrush()->SetCenter(dxShapeTextToPoint(AValue)); }
  float RadiusX() const { return RadialBrush()->Radius().X; }
  void SetRadiusX(float AValue) { RadialBrush()->SetRadius(TdxPointF(AValue, RadiusY())); }
  float RadiusY() const { return RadialBrush()->Radius().Y; }
  void SetRadiusY(float AValue) { RadialBrush()->SetRadius(TdxPointF(RadiusX(), AValue)); }
};

class TdxShapeBrushGradientStop : public TdxShapeObject {
  SK_CLASS(TdxShapeBrushGradientStop, TdxShapeObject)
 public:
  struct TMeta : TdxShapeObject::TMeta {
    String GetName() const override { return L"GradientStop"; }
    TClass GetReaderClass() const override;
  };
  static void Publish(TPublisher<TdxShapeBrushGradientStop>& P);

  // A shape colour.
  const String& Color() const { return FColor; }
  void SetColor(const String& AValue) { FColor = AValue; }
  float Offset() const { return FOffset; }
  void SetOffset(float AValue) { FOffset = AValue; }

 private:
  String FColor;
  float FOffset;
};

// The unit's start-up gives the Direct2D brush factory the Direct2D forms of
// the GDI+ brushes above (solid, texture, linear and radial gradients); its
// shut-down takes them back.
void dxShapeBrushesInitialization();
void dxShapeBrushesFinalization();
