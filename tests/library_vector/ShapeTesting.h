// Shared pieces of the shape tests: mark-up read into shape objects and
// drawn into a 32-bit surface, with the GDI+ leak check after each test.
#pragma once

#include "library/vector/dxShapeBrushes.h"
#include "library/vector/dxShapePrimitives.h"
#include "library/vector/dxShapeReaders.h"
#include "library/vector/dxShapeTransformations.h"
#include "tests/library_graphics/GdiPlusTesting.h"

#include <gtest/gtest.h>

constexpr COLORREF ShapeWhite = RGB(255, 255, 255);

// Counts the change notifications it is bound to.
class TShapeChangeCounter : public TObject {
  SK_CLASS(TShapeChangeCounter, TObject)
 public:
  void Create(int* ACount) { FCount = ACount; }
  void Notify(TObject*) { ++*FCount; }

 private:
  int* FCount;
};

class ShapeTest : public GdiPlusTest {
 protected:
  // The document's first element, read and calculated; raises what reading raises.
  static TOwned<TdxShapeObject> Load(const char* AMarkup) {
    const TOwned<TdxXMLDocument> document(New<TdxXMLDocument>(nullptr));
    document->LoadFromString(AMarkup);
    TdxXMLNode* element = document->Root()->First();
    if (!element) throw EConvertError(L"no element");
    return dxLoadShapeObject(element);
  }
  // A shape drawn onto a white surface.
  static void Draw(TdxShapeObject* AShape, TGpSurface& ASurface) {
    As<TdxCustomVectorShape>(AShape)->Draw(ASurface.Canvas());
    ASurface.Flush();
  }
};
