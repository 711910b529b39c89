// The transformations of a shape (ScaleTransform, SkewTransform,
// RotateTransform, TranslateTransform) and the property elements that carry
// them (".RenderTransform", ".RelativeTransformation").
//
// Classes in this file:
//   TdxShapeCustomTransformation        the base: its type and its matrix for a shape
//   TdxShapeCenterTransformation        a transformation with a centre
//   TdxShapeScaleTransformation         "ScaleTransform"
//   TdxShapeSkewTransformation          "SkewTransform"
//   TdxShapeRotateTransformation        "RotateTransform"
//   TdxShapeTranslateTransformation     "TranslateTransform"
//   TdxShapeFakeCustomTransformation    a property element holding a transformation group
//   TdxShapeFakeRenderTransformation    ".RenderTransform"
//   TdxShapeFakeRelativeTransformation  ".RelativeTransformation"
//
// Every value is single precision; a setter ignores an equal value and
// otherwise reports the change, which reaches the shape that holds the
// transformation.
#pragma once

#include "library/vector/dxShapePrimitives.h"

enum TdxShapeTransformationType { dxsttScale, dxsttSkew, dxsttRotate, dxsttTranslate };
template <>
struct TEnumInfo<TdxShapeTransformationType> {
  static constexpr const wchar_t* Name = L"TdxShapeTransformationType";
  static constexpr const wchar_t* Names[] = {L"dxsttScale", L"dxsttSkew", L"dxsttRotate", L"dxsttTranslate"};
  static constexpr TdxShapeTransformationType Last = dxsttTranslate;
};

class TdxShapeCustomTransformation : public TdxShapeObject {
  SK_CLASS(TdxShapeCustomTransformation, TdxShapeObject)
 public:
  static void Publish(TPublisher<TdxShapeCustomTransformation>& P);

  // The matrix of this transformation for a shape with those bounds and that
  // render-transform origin: the identity here.
  virtual void GetMatrix(TdxGPMatrix* AMatrix, const TdxRectF& AShapeBounds, const TdxPointF& AShapeOrigin) const;

  TdxShapeTransformationType TransformationType() const { return FType; }

 protected:
  TdxShapeTransformationType FType;
};

class TdxShapeCenterTransformation : public TdxShapeCustomTransformation {
  SK_CLASS(TdxShapeCenterTransformation, TdxShapeCustomTransformation)
 public:
  static void Publish(TPublisher<TdxShapeCenterTransformation>& P);
  void Assign(TPersistent* ASource) override;

  float CenterX() const { return FCenter.X; }
  void SetCenterX(float AValue) { SetValue(FCenter.X, AValue); }
  float CenterY() const { return FCenter.Y; }
  void SetCenterY(float AValue) { SetValue(FCenter.Y, AValue); }

 private:
  TdxPointF FCenter;
};

class TdxShapeScaleTransformation : public TdxShapeCenterTransformation {
  SK_CLASS(TdxShapeScaleTransformation, TdxShapeCenterTransformation)
 public:
  struct TMeta : TdxShapeCenterTransformation::TMeta {
    String GetName() const override { return L"ScaleTransform"; }
  };
  static void Publish(TPublisher<TdxShapeScaleTransformation>& P);

  using inherited::Create;
  // Scale (1, 1).
  void Create() override;
  void Assign(TPersistent* ASource) override;
  // (ScaleX, 0, 0, ScaleY, 0, 0): about the origin.
  void GetMatrix(TdxGPMatrix* AMatrix, const TdxRectF& AShapeBounds, const TdxPointF& AShapeOrigin) const override;

  float ScaleX() const { return FScale.X; }
  void SetScaleX(float AValue) { SetValue(FScale.X, AValue); }
  float ScaleY() const { return FScale.Y; }
  void SetScaleY(float AValue) { SetValue(FScale.Y, AValue); }

 private:
  TdxPointF FScale;
};

class TdxShapeSkewTransformation : public TdxShapeCenterTransformation {
  SK_CLASS(TdxShapeSkewTransformation, TdxShapeCenterTransformation)
 public:
  struct TMeta : TdxShapeCenterTransformation::TMeta {
    String GetName() const override { return L"SkewTransform"; }
  };
  static void Publish(TPublisher<TdxShapeSkewTransformation>& P);

  using inherited::Create;
  void Create() override;
  void Assign(TPersistent* ASource) override;
  // A shear whose factors are the angles in radians.
  void GetMatrix(TdxGPMatrix* AMatrix, const TdxRectF& AShapeBounds, const TdxPointF& AShapeOrigin) const override;

  // Degrees.
  float AngleX() const { return FAngle.X; }
  void SetAngleX(float AValue) { SetValue(FAngle.X, AValue); }
  float AngleY() const { return FAngle.Y; }
  void SetAngleY(float AValue) { SetValue(FAngle.Y, AValue); }

 private:
  TdxPointF FAngle;
};

class TdxShapeRotateTransformation : public TdxShapeCenterTransformation {
  SK_CLASS(TdxShapeRotateTransformation, TdxShapeCenterTransformation)
 public:
  struct TMeta : TdxShapeCenterTransformation::TMeta {
    String GetName() const override { return L"RotateTransform"; }
  };
  static void Publish(TPublisher<TdxShapeRotateTransformation>& P);

  using inherited::Create;
  void Create() override;
  void Assign(TPersistent* ASource) override;
  // About the point the shape's render-transform origin gives within its
  // bounds; a coordinate of that point that is 0 is CenterX or CenterY instead.
  void GetMatrix(TdxGPMatrix* AMatrix, const TdxRectF& AShapeBounds, const TdxPointF& AShapeOrigin) const override;

  // Degrees, clockwise on the screen.
  float Angle() const { return FAngle; }
  void SetAngle(float AValue) { SetValue(FAngle, AValue); }

 private:
  float FAngle;
};

class TdxShapeTranslateTransformation : public TdxShapeCustomTransformation {
  SK_CLASS(TdxShapeTranslateTransformation, TdxShapeCustomTransformation)
 public:
  struct TMeta : TdxShapeCustomTransformation::TMeta {
    String GetName() const override { return L"TranslateTransform"; }
  };
  static void Publish(TPublisher<TdxShapeTranslateTransformation>& P);

  using inherited::Create;
  void Create() override;
  void Assign(TPersistent* ASource) override;
  // By (X, Y) from the bounds' top-left corner.
  void GetMatrix(TdxGPMatrix* AMatrix, const TdxRectF& AShapeBounds, const TdxPointF& AShapeOrigin) const override;

  float X() const { return FOffset.X; }
  void SetX(float AValue) { SetValue(FOffset.X, AValue); }
  float Y() const { return FOffset.Y; }
  void SetY(float AValue) { SetValue(FOffset.Y, AValue); }

 private:
  TdxPointF FOffset;
};

class TdxShapeFakeCustomTransformation : public TdxShapeObject {
  SK_CLASS(TdxShapeFakeCustomTransformation, TdxShapeObject)
 public:
  struct TMeta : TdxShapeObject::TMeta {
    TClass GetReaderClass() const override;
  };
};

class TdxShapeFakeRenderTransformation : public TdxShapeFakeCustomTransformation {
  SK_CLASS(TdxShapeFakeRenderTransformation, TdxShapeFakeCustomTransformation)
 public:
  struct TMeta : TdxShapeFakeCustomTransformation::TMeta {
    String GetName() const override { return L".RenderTransform"; }
  };
};

class TdxShapeFakeRelativeTransformation : public TdxShapeFakeCustomTransformation {
  SK_CLASS(TdxShapeFakeRelativeTransformation, TdxShapeFakeCustomTransformation)
 public:
  struct TMeta : TdxShapeFakeCustomTransformation::TMeta {
    String GetName() const override { return L".RelativeTransformation"; }
  };
};
