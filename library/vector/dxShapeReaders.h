// Reading shape mark-up: each element becomes an object of the class the
// shapes factory gives its name, created under the object of its parent
// element; a reader of the object's reader class turns the attributes into
// published properties and reads the child elements.
//
// Classes in this file:
//   TdxShapeObjectReader              attributes by property name; each child read and dropped
//   TdxShapeCanvasReader              each child a shape of the canvas
//   TdxShapeFakeBrushReader           ".Fill": the first child becomes the shape's brush
//   TdxShapeFakeGradientStopsReader   ".GradientStops": the stops join the gradient brush
//   TdxShapeTransformationReader      ".RenderTransform", ".RelativeTransformation": the
//                                     group's transformations join the shape
//   TdxShapeGradientStopReader        "GradientStop": adds a stop to its gradient brush
//
// Errors: content of the wrong class where a property element expects a
// brush, a gradient brush, a shape or a transformation raises EInvalidCast;
// an attribute for a number property that is no number, or a path whose
// data holds a run of number characters that is no number, raises
// EConvertError.
#pragma once

#include "library/vector/dxShapePrimitives.h"
#include "library/vector/dxXMLDoc.h"

class TdxShapeObjectReader : public TObject {
  SK_CLASS(TdxShapeObjectReader, TObject)
 public:
  virtual void Create() {}

  // ReadProperties, then ReadChildNodes.
  void ReadFromNode(TdxShapeObject* ABaseObject, TdxXMLNode* ANode);

 protected:
  // Each attribute in document order, inside an update batch that ends
  // without recalculating. The name loses everything up to its first "."
  // ("Canvas.Left" sets Left); "Fill" gives a vector shape a new solid
  // brush; any other name sets the published number or text property of
  // that name (letter case aside) and is ignored when there is none.
  virtual void ReadProperties(TdxShapeObject* ABaseObject, TdxXMLNode* ANode);
  // Each child element read under ABaseObject, then freed: property
  // elements act through their readers alone.
  virtual void ReadChildNodes(TdxShapeObject* ABaseObject, TdxXMLNode* ANode);
};

class TdxShapeCanvasReader : public TdxShapeObjectReader {
  SK_CLASS(TdxShapeCanvasReader, TdxShapeObjectReader)
 protected:
  void ReadChildNodes(TdxShapeObject* ABaseObject, TdxXMLNode* ANode) override;
};

class TdxShapeFakeBrushReader : public TdxShapeObjectReader {
  SK_CLASS(TdxShapeFakeBrushReader, TdxShapeObjectReader)
 protected:
  void ReadChildNodes(TdxShapeObject* ABaseObject, TdxXMLNode* ANode) override;
};

class TdxShapeFakeGradientStopsReader : public TdxShapeObjectReader {
  SK_CLASS(TdxShapeFakeGradientStopsReader, TdxShapeObjectReader)
 protected:
  void ReadChildNodes(TdxShapeObject* ABaseObject, TdxXMLNode* ANode) override;
};

class TdxShapeTransformationReader : public TdxShapeObjectReader {
  SK_CLASS(TdxShapeTransformationReader, TdxShapeObjectReader)
 protected:
  void ReadChildNodes(TdxShapeObject* ABaseObject, TdxXMLNode* ANode) override;
};

class TdxShapeGradientStopReader : public TdxShapeObjectReader {
  SK_CLASS(TdxShapeGradientStopReader, TdxShapeObjectReader)
 protected:
  void ReadProperties(TdxShapeObject* ABaseObject, TdxXMLNode* ANode) override;
};

// ANode read into a new object created under AParent; the caller owns it.
TdxShapeObject* dxReadShapeObject(TdxXMLNode* ANode, TdxShapeObject* AParent);
// ANode read as a top-level object and calculated, ready to draw; the
// caller owns it.
TOwned<TdxShapeObject> dxLoadShapeObject(TdxXMLNode* ANode);
