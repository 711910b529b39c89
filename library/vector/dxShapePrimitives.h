// A small retained-mode model of two-dimensional vector shapes, read from
// declarative shape mark-up (dxShapeReaders): a Canvas or Viewbox holds
// Rectangle, Ellipse and Path shapes, each with a position, a size, a fill
// brush (dxShapeBrushes), a stroke and a list of transformations
// (dxShapeTransformations); shapes draw themselves on a GDI+ canvas.
//
// Classes in this file:
//   TdxShapeTransformations   the transformations a shape object carries, in order
//   TdxShapeObject            the base of every shape object: parent, transformations, update lock
//   TdxCustomVectorShape      a shape with position, size, brush and pen, drawn as one cached path
//   TdxShapeRectangle         "Rectangle", with rounded corners
//   TdxShapeEllipse           "Ellipse"
//   TdxShapePath              "Path": figures from path data
//   TdxShapeList              the shapes of a canvas, each holding a reference
//   TdxShapeCanvas            "Canvas": draws its shapes in order
//   TdxShapeViewBox           "Viewbox": a canvas under another name
//   TdxShapeFakeBrush         ".Fill": the property element of a shape's brush
//   TdxShapeFakeGradientStops ".GradientStops": the property element of a gradient's stops
//   TdxShapePathDataParser    path data text to GDI+ points and point types
//   TdxShapesFactory          element names to shape classes
//
// Geometry changes (position, size, corner radii, path data, transformations)
// recalculate a shape through Changed; BeginUpdate/EndUpdate batch them, and
// CancelUpdate ends a batch without recalculating.
#pragma once

#include "library/core/base/cxClasses.h"
#include "library/core/base/dxCoreClasses.h"
#include "library/graphics/gdiplus/dxGDIPlusClasses.h"
#include "platform/classes/Persistent.h"

#include <vector>

class TdxCustomVectorShape;
class TdxShapeCustomBrush;
class TdxShapeCustomTransformation;
class TdxShapeObject;

// Shape colours (Fill, Stroke, a gradient stop's Color): empty text is opaque
// black; "#" and hexadecimal digits RRGGBB or AARRGGBB, a shorter run filled
// up to six digits with "0" at its end; "Transparent" is the empty colour;
// any other text a colour name, made opaque (unknown names: opaque black).
// A digit that is not hexadecimal raises EConvertError.
TdxAlphaColor dxShapeTextToAlphaColor(const String& AText);
// Points as text: the two coordinates joined by ",", with "." as decimal
// separator. Reading splits at the first ","; a side that is no number
// raises EConvertError.
TdxPointF dxShapeTextToPoint(const String& AText);
String dxShapePointToText(const TdxPointF& APoint);

// ---------------------------------------------------------------------------

class TdxShapeTransformations : public TPersistent {
  SK_CLASS(TdxShapeTransformations, TPersistent)
 public:
  void Create();
  void Destroy() override;
  // Takes the source's items as copies of their own.
  void Assign(TPersistent* ASource) override;

  // Appends and takes over ATransformation; a change of it later is a change
  // of the list.
  void Add(TdxShapeCustomTransformation* ATransformation);
  int Count() const { return FItems->Count(); }
  // Nil outside the list.
  TdxShapeCustomTransformation* GetTransformation(int AIndex) const;

  TNotifyEvent OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = AValue; }

 private:
  // Takes over ATransformation and listens to it; no change reported.
  void Append(TdxShapeCustomTransformation* ATransformation);
  void ItemChanged(TObject* Sender);
  void Changed() { CallEvent(FOnChange, this); }

  TOwned<TdxFastObjectList> FItems;
  TNotifyEvent FOnChange;
};

class TdxShapeObject : public TPersistent {
  SK_CLASS(TdxShapeObject, TPersistent)
 public:
  struct TMeta : TPersistent::TMeta {
    // The element name the factory knows the class by.
    virtual String GetName() const { return L"BaseShapeObject"; }
    // The reader class of its elements (dxShapeReaders).
    virtual TClass GetReaderClass() const;
  };
  static void Publish(TPublisher<TdxShapeObject>& P);

  virtual void Create();
  // Create, then the parent (not owned).
  virtual void Create(TdxShapeObject* AParent);
  void Destroy() override;
  // Copies the parent.
  void Assign(TPersistent* ASource) override;

  // Recomputes what depends on the settings: nothing here.
  virtual void Calculate() {}
  // Copies AMatrix into the transformation matrix.
  virtual void ApplyTransformMatrix(TdxGPMatrix* AMatrix);

  void BeginUpdate() { ++FLockCount; }
  // Ends a batch without recalculating.
  void CancelUpdate();
  // Ends a batch; the outermost end recalculates and reports the change.
  void EndUpdate();

  static String GetName(TClass AClass);

  // Properties
  TdxShapeObject* Parent() const { return FParent; }
  String RenderTransformOrigin() const { return dxShapePointToText(FTransformOrigin); }
  void SetRenderTransformOrigin(const String& AValue);
  const TdxPointF& TransformOrigin() const { return FTransformOrigin; }
  TdxGPMatrix* TransformMatrix() const { return FTransformMatrix.get(); }
  TdxShapeTransformations* Transformations() const { return FTransformations.get(); }

  // Called after each change outside an update batch, once the object has
  // recalculated.
  TNotifyEvent OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent AValue) { FOnChange = AValue; }

 protected:
  // Recalculates and reports unless a batch is open.
  virtual void Changed();
  bool IsLocked() const { return FLockCount > 0; }
  // A setter's step: stores AValue in AField and calls Changed, unless the
  // two are equal within the single-precision tolerance.
  void SetValue(float& AField, float AValue);

 private:
  void TransformationsChanged(TObject*) { Changed(); }

  int FLockCount;
  TdxShapeObject* FParent;
  TOwned<TdxShapeTransformations> FTransformations;
  TOwned<TdxGPMatrix> FTransformMatrix;
  TdxPointF FTransformOrigin;
  TNotifyEvent FOnChange;
};

// ---------------------------------------------------------------------------
// Vector shapes

class TdxCustomVectorShape : public TdxShapeObject {
  SK_CLASS(TdxCustomVectorShape, TdxShapeObject)
 public:
  static void Publish(TPublisher<TdxCustomVectorShape>& P);

  using inherited::Create;
  // A transparent solid brush and a pen of colour 0 and width 1: no stroke.
  void Create() override;
  void Destroy() override;
  // Position, size, name, brush and pen.
  void Assign(TPersistent* ASource) override;

  // The bounds (0, 0, Width, Height) and the transformation matrix; the
  // figure is built again on the next Draw.
  void Calculate() override;
  // The figure is built again on the next Draw, with AMatrix.
  void ApplyTransformMatrix(TdxGPMatrix* AMatrix) override;
  // Fills the figure with the brush and outlines it with the pen.
  virtual void Draw(TdxGPCanvas* ACanvas);
  // Recolours a solid brush; other brushes stay.
  virtual void SetColor(TdxAlphaColor AColor);

  // A canvas holds a shape by reference; the last release frees it.
  void AddReference() { ++FRefCount; }
  void ReleaseReference();
  int RefCount() const { return FRefCount; }

  // Properties
  // The fill (nil: none). The shape takes over a new one and frees the old.
  TdxShapeCustomBrush* Brush() const;
  void SetBrush(TdxShapeCustomBrush* AValue);
  const TdxRectF& Bounds() const { return FBounds; }
  // (Left, Top) with the bounds' size.
  virtual TdxRectF ContentBounds() const;
  TdxGPPen* Pen() const { return FGPPen.get(); }
  float Left() const { return FTopLeft.X; }
  void SetLeft(float AValue);
  float Top() const { return FTopLeft.Y; }
  void SetTop(float AValue);
  float Width() const { return FWidth; }
  void SetWidth(float AValue);
  float Height() const { return FHeight; }
  void SetHeight(float AValue);
  const String& Name() const { return FName; }
  void SetName(const String& AValue) { FName = AValue; }
  // The colour of the pen's brush, as a shape colour.
  String Stroke() const;
  void SetStroke(const String& AValue);
  float StrokeThickness() const { return FGPPen->Width(); }
  void SetStrokeThickness(float AValue) { FGPPen->SetWidth(AValue); }

 protected:
  // A new figure of the shape in its own coordinates: nothing here.
  virtual TOwned<TdxGPPath> CreatePath();
  // The figure Draw fills, built and transformed on first use.
  TdxGPPath* Path();

  TdxRectF FBounds;

 private:
  void CalculateTransformMatrix();

  // A TdxShapeCustomBrush, whose unit builds on this one.
  TOwned<TdxShapeObject> FBrush;
  TOwned<TdxGPPen> FGPPen;
  String FName;
  TOwned<TdxGPPath> FPath;
  int FRefCount;
  float FHeight;
  TdxPointF FTopLeft;
  float FWidth;
};

class TdxShapeRectangle : public TdxCustomVectorShape {
  SK_CLASS(TdxShapeRectangle, TdxCustomVectorShape)
 public:
  struct TMeta : TdxCustomVectorShape::TMeta {
    String GetName() const override { return L"Rectangle"; }
  };
  static void Publish(TPublisher<TdxShapeRectangle>& P);
  void Assign(TPersistent* ASource) override;

  float RadiusX() const { return FRadius.X; }
  void SetRadiusX(float AValue);
  float RadiusY() const { return FRadius.Y; }
  void SetRadiusY(float AValue);

 protected:
  // The bounds with rounded corners (each radius at most a third of a side).
  TOwned<TdxGPPath> CreatePath() override;

 private:
  TdxPointF FRadius;
};

class TdxShapeEllipse : public TdxCustomVectorShape {
  SK_CLASS(TdxShapeEllipse, TdxCustomVectorShape)
 public:
  struct TMeta : TdxCustomVectorShape::TMeta {
    String GetName() const override { return L"Ellipse"; }
  };

 protected:
  TOwned<TdxGPPath> CreatePath() override;
};

class TdxShapePath : public TdxCustomVectorShape {
  SK_CLASS(TdxShapePath, TdxCustomVectorShape)
 public:
  struct TMeta : TdxCustomVectorShape::TMeta {
    String GetName() const override { return L"Path"; }
  };
  static void Publish(TPublisher<TdxShapePath>& P);
  void Assign(TPersistent* ASource) override;

  // Then parses the data: the bounds become those of the figures, whose
  // points are kept relative to the bounds' top-left corner.
  void Calculate() override;

  const String& Data() const { return FData; }
  // A change of letter case alone is no change.
  void SetData(const String& AValue);
  const std::vector<Gdiplus::PointF>& Points() const { return FPoints; }
  const std::vector<Gdiplus::PointF>& NormalizedPoints() const { return FNormalizedPoints; }
  const std::vector<BYTE>& PointTypes() const { return FPointTypes; }

 protected:
  TOwned<TdxGPPath> CreatePath() override;

 private:
  String FData;
  std::vector<Gdiplus::PointF> FNormalizedPoints;
  std::vector<Gdiplus::PointF> FPoints;
  std::vector<BYTE> FPointTypes;
};

// An item's release drops the list's reference on the shape.
class TdxShapeList : public TcxObjectList {
  SK_CLASS(TdxShapeList, TcxObjectList)
 public:
  void Create() { inherited::Create(true); }
  // Takes a reference on AShape.
  void Add(TdxCustomVectorShape* AShape);
  TdxCustomVectorShape* Items(int AIndex) const { return static_cast<TdxCustomVectorShape*>(inherited::Items(AIndex)); }

 protected:
  void FreeObjectAt(int AIndex) override;
};

class TdxShapeCanvas : public TdxCustomVectorShape {
  SK_CLASS(TdxShapeCanvas, TdxCustomVectorShape)
 public:
  struct TMeta : TdxCustomVectorShape::TMeta {
    String GetName() const override { return L"Canvas"; }
    TClass GetReaderClass() const override;
  };
  static void Publish(TPublisher<TdxShapeCanvas>& P);

  using inherited::Create;
  void Create() override;
  void Destroy() override;

  // Takes a reference on AShape and appends it.
  void AddShape(TdxCustomVectorShape* AShape);
  // Then each shape.
  void Calculate() override;
  // Each shape in order; nothing of its own.
  void Draw(TdxGPCanvas* ACanvas) override;
  // The union of the shapes' content bounds; empty ones do not count.
  TdxRectF ContentBounds() const override;

  int Count() const { return FShapes->Count(); }
  // Nil outside the list.
  TdxCustomVectorShape* GetShape(int AIndex) const;

 private:
  TOwned<TdxShapeList> FShapes;
};

class TdxShapeViewBox : public TdxShapeCanvas {
  SK_CLASS(TdxShapeViewBox, TdxShapeCanvas)
 public:
  struct TMeta : TdxShapeCanvas::TMeta {
    String GetName() const override { return L"Viewbox"; }
  };
};

// Property elements: objects that live only while their element is read.
class TdxShapeFakeBrush : public TdxShapeObject {
  SK_CLASS(TdxShapeFakeBrush, TdxShapeObject)
 public:
  struct TMeta : TdxShapeObject::TMeta {
    String GetName() const override { return L".Fill"; }
    TClass GetReaderClass() const override;
  };
};

class TdxShapeFakeGradientStops : public TdxShapeObject {
  SK_CLASS(TdxShapeFakeGradientStops, TdxShapeObject)
 public:
  struct TMeta : TdxShapeObject::TMeta {
    String GetName() const override { return L".GradientStops"; }
    TClass GetReaderClass() const override;
  };
};

// ---------------------------------------------------------------------------

// Path data: a move ("m"), line ("l"), cubic Bézier ("c") and close ("z")
// command language with absolute coordinates. Commands are letters in either
// case; coordinates are separated by spaces, commas, tabs and line breaks.
class TdxShapePathDataParser {
 public:
  // Raises EConvertError for a run of number characters that is no number.
  void Parse(const String& AData, std::vector<Gdiplus::PointF>& APoints, std::vector<BYTE>& APointTypes);

 private:
  bool HasData() const { return FPosition < FData.size(); }
  void SkipSeparators();
  float ReadCoordinate();

  String FData;
  wchar_t FCommand = 0;
  BYTE FLastPointType = 0;
  std::size_t FPosition = 0;
};

// ---------------------------------------------------------------------------

class TdxShapesFactory : public TObject {
  SK_CLASS(TdxShapesFactory, TObject)
 public:
  void Create() {}

  // A name already present keeps its first class.
  void RegisterShape(TClass AShapeClass);
  void UnregisterShape(TClass AShapeClass);
  int Count() const { return static_cast<int>(FClasses.size()); }
  TClass GetShapeClass(int AIndex) const;
  // By element name: from its first "." on ("Rectangle.Fill" is ".Fill"),
  // else the whole name; TdxShapeObject for a name nobody registered.
  TClass GetShapeClass(const String& AName) const;

 private:
  struct TEntry {
    String Name;
    TClass ShapeClass;
  };
  // Sorted by name, without letter case.
  std::vector<TEntry>::const_iterator Find(const String& AName, bool& AFound) const;

  std::vector<TEntry> FClasses;
};

// The process-wide factory, made on first use; nil once the unit has shut down.
TdxShapesFactory* dxShapesFactory();

// Registers the shape, brush and transformation classes with the factory;
// shut-down unregisters them and frees the factory.
void dxShapePrimitivesInitialization();
void dxShapePrimitivesFinalization();
