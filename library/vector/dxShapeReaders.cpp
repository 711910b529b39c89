#include "library/vector/dxShapeReaders.h"

#include "library/core/base/dxCore.h"
#include "library/vector/dxShapeBrushes.h"
#include "library/vector/dxShapeTransformations.h"

namespace {

// A checked downcast where nil is an error as well: property elements need
// an object of their kind to act on.
template <class T>
T* ShapeObjectAs(TObject* AObject) {
  if (!AObject) RaiseInvalidCast(L"nil", T::StaticClassName());
  return As<T>(AObject);
}

void ReadShapeProperty(TdxShapeObject* AObject, String AName, const String& AValue) {
  // An attached property ("Canvas.Left") is the object's own.
  if (const std::size_t dot = AName.find(L'.'); dot != String::npos) AName.erase(0, dot + 1);
  if (SameText(AName, L"Fill")) {
    TOwned<TdxShapeSolidBrush> brush(New<TdxShapeSolidBrush>(AObject));
    brush->SetColor(dxShapeTextToAlphaColor(AValue));
    if (auto* shape = dynamic_cast<TdxCustomVectorShape*>(AObject)) shape->SetBrush(brush.release());
    return;
  }
  const TPropInfo* property = GetPropInfo(AObject, AName);
  if (!property || !property->HasSetter) return;
  switch (property->Kind()) {
    case tkFloat: SetFloatProp(AObject, property, StrToFloatWithSeparator(AValue, L'.')); break;
    case tkString:
    case tkLString:
    case tkWString:
    case tkUString: SetStrProp(AObject, property, AValue); break;
    default: break;
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// TdxShapeObjectReader

void TdxShapeObjectReader::ReadFromNode(TdxShapeObject* ABaseObject, TdxXMLNode* ANode) {
  ReadProperties(ABaseObject, ANode);
  ReadChildNodes(ABaseObject, ANode);
}

void TdxShapeObjectReader::ReadProperties(TdxShapeObject* ABaseObject, TdxXMLNode* ANode) {
  if (GetPropList(ABaseObject).empty()) return;
  for (TdxXMLNodeAttribute* attribute = ANode->Attributes()->First(); attribute; attribute = attribute->Next()) {
    ABaseObject->BeginUpdate();
    const TScopeExit cancel([ABaseObject] { ABaseObject->CancelUpdate(); });
    ReadShapeProperty(ABaseObject, dxXMLStringToString(attribute->Name()), attribute->ValueAsString());
  }
}

void TdxShapeObjectReader::ReadChildNodes(TdxShapeObject* ABaseObject, TdxXMLNode* ANode) {
  for (TdxXMLNode* child = ANode->First(); child; child = child->Next())
    const TOwned<TdxShapeObject> dropped(dxReadShapeObject(child, ABaseObject));
}

// ---------------------------------------------------------------------------
// Readers of property elements and containers

void TdxShapeCanvasReader::ReadChildNodes(TdxShapeObject* ABaseObject, TdxXMLNode* ANode) {
  auto* canvas = ShapeObjectAs<TdxShapeCanvas>(ABaseObject);
  for (TdxXMLNode* child = ANode->First(); child; child = child->Next()) {
    TOwned<TdxShapeObject> object(dxReadShapeObject(child, canvas));
    canvas->AddShape(ShapeObjectAs<TdxCustomVectorShape>(object.get()));
    // The canvas's reference keeps it from now on.
    object.release();
  }
}

void TdxShapeFakeBrushReader::ReadChildNodes(TdxShapeObject* ABaseObject, TdxXMLNode* ANode) {
  TdxXMLNode* content = ANode->First();
  if (!content) return;
  auto* shape = ShapeObjectAs<TdxCustomVectorShape>(ABaseObject->Parent());
  TOwned<TdxShapeObject> object(dxReadShapeObject(content, shape));
  ShapeObjectAs<TdxShapeCustomBrush>(object.get());
  shape->SetBrush(static_cast<TdxShapeCustomBrush*>(object.release()));
}

void TdxShapeFakeGradientStopsReader::ReadChildNodes(TdxShapeObject* ABaseObject, TdxXMLNode* ANode) {
  // The stops add themselves to the gradient brush the element belongs to.
  inherited::ReadChildNodes(ABaseObject->Parent(), ANode);
}

void TdxShapeTransformationReader::ReadChildNodes(TdxShapeObject* ABaseObject, TdxXMLNode* ANode) {
  TdxXMLNode* group = ANode->First();
  if (!group) return;
  TdxShapeObject* shape = ShapeObjectAs<TdxShapeObject>(ABaseObject->Parent());
  for (TdxXMLNode* child = group->First(); child; child = child->Next()) {
    TOwned<TdxShapeObject> object(dxReadShapeObject(child, shape));
    ShapeObjectAs<TdxShapeCustomTransformation>(object.get());
    shape->Transformations()->Add(static_cast<TdxShapeCustomTransformation*>(object.release()));
  }
}

void TdxShapeGradientStopReader::ReadProperties(TdxShapeObject* ABaseObject, TdxXMLNode* ANode) {
  inherited::ReadProperties(ABaseObject, ANode);
  auto* stop = ShapeObjectAs<TdxShapeBrushGradientStop>(ABaseObject);
  auto* brush = ShapeObjectAs<TdxShapeCustomGradientBrush>(stop->Parent());
  brush->GradientPoints()->Add(stop->Offset(), dxShapeTextToAlphaColor(stop->Color()));
}

// ---------------------------------------------------------------------------

TdxShapeObject* dxReadShapeObject(TdxXMLNode* ANode, TdxShapeObject* AParent) {
  TdxShapesFactory* factory = dxShapesFactory();
  const TClass objectClass = factory ? factory->GetShapeClass(ANode->NameAsString()) : TdxShapeObject::ClassInfo();
  TOwned<TdxShapeObject> result(NewOfClass<TdxShapeObject>(objectClass, AParent));
  const TOwned<TdxShapeObjectReader> reader(
      NewOfClass<TdxShapeObjectReader>(ClassMeta<TdxShapeObject>(objectClass)->GetReaderClass()));
  reader->ReadFromNode(result.get(), ANode);
  return result.release();
}

TOwned<TdxShapeObject> dxLoadShapeObject(TdxXMLNode* ANode) {
  TOwned<TdxShapeObject> result(dxReadShapeObject(ANode, nullptr));
  result->Calculate();
  return result;
}
