// The element tree: construction, children, attributes read from a node (or
// a style rule) and written back, inherited presentation values, the tag
// registry and the style sheet.
#include "library/vector/dxSVGCore.h"

#include "library/core/base/dxCore.h"
#include "library/vector/dxSVGCore_Internal.h"
#include "platform/classes/ClassErrors.h"

#include <algorithm>
#include <cmath>

namespace {

using TdxSVGConverter = TdxSVGAttributeConverter;

std::unique_ptr<TdxSVGElementClasses> GElementClasses;

float ClampOpacity(float AValue) { return std::clamp(AValue, 0.0f, 1.0f); }

// A dash array is invalid with a negative length in it.
bool IsValidDashArray(const TdxSVGValues& AValues) {
  return std::none_of(AValues.List().begin(), AValues.List().end(), [](float AValue) { return AValue < 0; });
}

template <class TEnum>
void ReadKeyword(TdxXMLNode* ANode, const TdxXMLString& AName, TEnum& AValue, TEnum (*AConvert)(const String&)) {
  String text;
  if (TdxSVGConverter::ReadString(ANode, AName, text)) AValue = AConvert(text);
}

// A number or a percentage, clamped to 0..1.
bool ReadOpacity(TdxXMLNode* ANode, const TdxXMLString& AName, float& AValue) {
  TdxSVGValue value;
  if (!TdxSVGConverter::ReadValue(ANode, AName, value)) return false;
  if (value.UnitsType == utPercents) AValue = ClampOpacity(value.Data / 100);
  else if (value.UnitsType == utPx) AValue = ClampOpacity(value.Data);
  else return false;
  return true;
}

// "currentColor" and "inherit" leave the colour to the parent.
void ReadCurrentColor(TdxXMLNode* ANode, TdxAlphaColor& AValue) {
  String text;
  if (!TdxSVGConverter::ReadString(ANode, "color", text)) return;
  TdxAlphaColor color;
  if (IsSameText(Trim(text), L"currentColor")) AValue = TdxSVGFill::DefaultColor;
  else if (TdxSVGConverter::TryStringToColor(Trim(text), color)) AValue = color;
}

// "xlink:href", else "href".
bool ReadHRef(TdxXMLNode* ANode, String& AValue) {
  return TdxSVGConverter::ReadString(ANode, "xlink:href", AValue) || TdxSVGConverter::ReadString(ANode, "href", AValue);
}

}  // namespace

void dxSVGRaiseMapEntryNotFound() { throw EListError(L"Element nicht gefunden"); }

TdxSVGElementClasses* dxSVGElementClasses() { return GElementClasses.get(); }

void svgcore_detail::RegisterElementClasses() {
  GElementClasses = std::make_unique<TdxSVGElementClasses>();
  const std::pair<const char*, TdxSVGElementClass> tags[] = {
      {"svg", TdxSVGElementRoot::ClassInfo()},
      {"g", TdxSVGElementGroup::ClassInfo()},
      {"circle", TdxSVGElementCircle::ClassInfo()},
      {"ellipse", TdxSVGElementEllipse::ClassInfo()},
      {"line", TdxSVGElementLine::ClassInfo()},
      {"image", TdxSVGElementImage::ClassInfo()},
      {"path", TdxSVGElementPath::ClassInfo()},
      {"polygon", TdxSVGElementPolygon::ClassInfo()},
      {"polyline", TdxSVGElementPolyline::ClassInfo()},
      {"rect", TdxSVGElementRectangle::ClassInfo()},
      {"text", TdxSVGElementText::ClassInfo()},
      {"tspan", TdxSVGElementTSpan::ClassInfo()},
      {"use", TdxSVGElementUse::ClassInfo()},
      {"defs", TdxSVGElementDefinitions::ClassInfo()},
      {"clipPath", TdxSVGElementClipPath::ClassInfo()},
      {"stop", TdxSVGElementGradientStop::ClassInfo()},
      {"linearGradient", TdxSVGElementLinearGradient::ClassInfo()},
      {"radialGradient", TdxSVGElementRadialGradient::ClassInfo()},
      {"pattern", TdxSVGElementPattern::ClassInfo()},
  };
  for (const auto& [tag, elementClass] : tags) GElementClasses->Add(tag, elementClass);
}

void svgcore_detail::UnregisterElementClasses() { GElementClasses.reset(); }

// ---------------------------------------------------------------------------
// Styles

void TdxSVGStyle::Create(const String& AName) {
  inherited::Create();
  FName = AName;
}

void TdxSVGStyle::Apply(TdxSVGElement* AElement) { AElement->ReadAttributes(this); }

TdxSVGStyle* TdxSVGStyles::Add(const String& AName) {
  auto& style = FItems[AName];
  if (!style) style.reset(New<TdxSVGStyle>(AName));
  return style.get();
}

String TdxSVGStyles::InlineName(const TdxSVGElement* AElement) {
  return Format(L"_inline_%p", {static_cast<const void*>(AElement)});
}

TdxSVGStyle* TdxSVGStyles::AddInline(TdxSVGElement* AElement) { return Add(InlineName(AElement)); }

bool TdxSVGStyles::TryGetStyle(const String& AName, TdxSVGStyle*& AStyle) const {
  AStyle = AName.empty() ? nullptr : GetItem(AName);
  return AStyle != nullptr;
}

TdxSVGStyle* TdxSVGStyles::GetItem(const String& AName) const {
  const auto it = FItems.find(AName);
  return it == FItems.end() ? nullptr : it->second.get();
}

void TdxSVGStyles::Apply(TdxSVGElement* AElement) {
  TdxSVGStyle* style;
  const String& names = AElement->StyleName();
  std::size_t start = 0;
  while (start <= names.size()) {
    const std::size_t end = std::min(names.find(L' ', start), names.size());
    if (TryGetStyle(names.substr(start, end - start), style)) style->Apply(AElement);
    start = end + 1;
  }
  if (TryGetStyle(InlineName(AElement), style)) style->Apply(AElement);
  for (int i = 0; i < AElement->Count(); ++i) Apply(AElement->GetElement(i));
}

// ---------------------------------------------------------------------------
// TdxSVGElement: construction and the tree

void TdxSVGElement::Create() {
  FClipRule = fmInherit;
  FCurrentColor = TdxSVGFill::DefaultColor;
  FFill = TdxSVGFill::Default();
  FFillMode = fmInherit;
  FFillOpacity = 1;
  FOpacity = 1;
  FStroke = TdxSVGFill::Default();
  FStrokeDashOffset = -1;
  FStrokeLineCap = lcsDefault;
  FStrokeLineJoin = LineJoinMiter;
  FStrokeMiterLimit = 4;
  FStrokeOpacity = 1;
  FStrokeSize = 0;
  FTransform.reset(New<TdxMatrix>());
}

void TdxSVGElement::Create(TdxSVGElement* AParent) {
  Create();
  SetParent(AParent);
}

void TdxSVGElement::Destroy() {
  // The children go first, each unhooked so that it does not leave the list
  // being freed.
  std::vector<TOwned<TdxSVGElement>> children = std::move(FChildren);
  for (const auto& child : children) child->FParent = nullptr;
  children.clear();
  if (FParent) FParent->Extract(this).release();
  inherited::Destroy();
}

TOwned<TdxSVGElement> TdxSVGElement::Extract(TdxSVGElement* AChild) {
  const auto it = std::find_if(FChildren.begin(), FChildren.end(), [&](const auto& C) { return C.get() == AChild; });
  if (it == FChildren.end()) return nullptr;
  TOwned<TdxSVGElement> result = std::move(*it);
  FChildren.erase(it);
  result->FParent = nullptr;
  return result;
}

void TdxSVGElement::SetParent(TdxSVGElement* AValue) {
  if (FParent == AValue) return;
  InsertInto(AValue, AValue ? AValue->Count() : 0);
}

void TdxSVGElement::InsertInto(TdxSVGElement* AParent, int AIndex) {
  TOwned<TdxSVGElement> self = FParent ? FParent->Extract(this) : TOwned<TdxSVGElement>(this);
  FParent = AParent;
  if (!AParent) {
    // Whoever holds the element owns it from now on.
    self.release();
    return;
  }
  const auto at = AIndex >= 0 && AIndex < AParent->Count() ? AParent->FChildren.begin() + AIndex : AParent->FChildren.end();
  AParent->FChildren.insert(at, std::move(self));
}

TdxSVGElement* TdxSVGElement::GetElement(int AIndex) const {
  if (AIndex < 0 || AIndex >= Count())
    throw EArgumentException(L"Listenindex außerhalb des gültigen Bereichs (%d)", {AIndex});
  return FChildren[static_cast<std::size_t>(AIndex)].get();
}

int TdxSVGElement::IndexOf(const TdxSVGElement* AElement) const {
  for (int i = 0; i < Count(); ++i)
    if (FChildren[static_cast<std::size_t>(i)].get() == AElement) return i;
  return -1;
}

bool TdxSVGElement::IsAncestorOf(const TdxSVGElement* AElement) const {
  for (const TdxSVGElement* e = AElement; e; e = e->FParent)
    if (e == this) return true;
  return false;
}

TdxSVGElementRoot* TdxSVGElement::Root() { return FParent ? FParent->Root() : nullptr; }

void TdxSVGElement::Assign(TPersistent* ASource) {
  auto* source = dynamic_cast<TdxSVGElement*>(ASource);
  if (!source) return inherited::Assign(ASource);
  if (source == this) return;
  std::vector<TOwned<TdxSVGElement>> children = std::move(FChildren);
  for (const auto& child : children) child->FParent = nullptr;
  children.clear();
  AssignAttributes(source);
  for (int i = 0; i < source->Count(); ++i) source->GetElement(i)->Clone()->SetParent(this);
}

void TdxSVGElement::AssignAttributes(TdxSVGElement* ASource) {
  const TOwned<TdxXMLNode> node(New<TdxXMLNode>());
  ASource->WriteAttributes(node.get());
  ReadAttributes(node.get());
}

TdxSVGElement* TdxSVGElement::Clone() {
  TOwned<TdxSVGElement> result(NewOfClass<TdxSVGElement>(ClassType()));
  result->Assign(this);
  return result.release();
}

bool TdxSVGElement::FindByID(const String& AID, TdxSVGElement*& AElement) {
  AElement = nullptr;
  if (AID.empty()) return false;
  for (const auto& child : FChildren)
    if (IsSameText(child->FID, AID)) {
      AElement = child.get();
      return true;
    }
  for (const auto& child : FChildren)
    if (child->FindByID(AID, AElement)) return true;
  return false;
}

bool TdxSVGElement::FindByID(const String& AID, TdxSVGElementClass AClass, TdxSVGElement*& AElement) {
  TdxSVGElementRoot* root = Root();
  if (!root || !root->FindByID(AID, AElement) || !AElement->InheritsFrom(AClass)) {
    AElement = nullptr;
    return false;
  }
  return true;
}

void TdxSVGElement::ReplaceReference(const String& AOldID, const String& ANewID) {
  if (IsSameText(FID, AOldID)) FID = ANewID;
  if (IsSameText(FClipPath, AOldID)) FClipPath = ANewID;
  FFill.UpdateReference(AOldID, ANewID);
  FStroke.UpdateReference(AOldID, ANewID);
  for (const auto& child : FChildren) child->ReplaceReference(AOldID, ANewID);
}

void TdxSVGElement::SetFillOpacity(float AValue) {
  FFillOpacity = ClampOpacity(AValue);
  FFillOpacityAssigned = true;
}

void TdxSVGElement::SetOpacity(float AValue) { FOpacity = ClampOpacity(AValue); }

void TdxSVGElement::SetStrokeOpacity(float AValue) {
  FStrokeOpacity = ClampOpacity(AValue);
  FStrokeOpacityAssigned = true;
}

bool TdxSVGElement::IsOwnNode(TdxXMLNode* ANode) { return !Is<TdxSVGStyle>(ANode); }

float TdxSVGElement::PixelsX(const TdxSVGValue& AValue) {
  TdxSVGElementRoot* root = Root();
  return AValue.ToPixels(96, root ? root->Size().cx : 0);
}

float TdxSVGElement::PixelsY(const TdxSVGValue& AValue) {
  TdxSVGElementRoot* root = Root();
  return AValue.ToPixels(96, root ? root->Size().cy : 0);
}

TdxRectF TdxSVGElement::GetBounds() {
  TdxSVGElementRoot* root = Root();
  return root ? root->GetBounds() : TdxRectF();
}

// ---------------------------------------------------------------------------
// Inherited values

TdxSVGFill TdxSVGElement::ActualFillPaint(IdxColorPalette* APalette) {
  for (TdxSVGElement* e = this; e; e = e->FParent) {
    if (APalette) {
      const TdxAlphaColor color = APalette->GetFillColor(e->FStyleName);
      if (color != TdxSVGFill::DefaultColor) return TdxSVGFill::Create(color);
    }
    if (!e->FFill.IsDefault()) return e->FFill;
  }
  return TdxSVGFill::Create(0xFF000000);
}

TdxAlphaColor TdxSVGElement::ActualFill(IdxColorPalette* APalette, TdxSVGFill* AFill) {
  const TdxSVGFill fill = ActualFillPaint(APalette);
  if (AFill) *AFill = fill;
  return fill.AsColor();
}

TdxSVGFill TdxSVGElement::ActualStrokePaint(IdxColorPalette* APalette) {
  for (TdxSVGElement* e = this; e; e = e->FParent) {
    if (e->FStroke.IsDefault()) continue;
    if (APalette) {
      const TdxAlphaColor color = APalette->GetStrokeColor(e->FStyleName);
      if (color != TdxSVGFill::DefaultColor) return TdxSVGFill::Create(color);
    }
    return e->FStroke;
  }
  return TdxSVGFill::Create(0);
}

TdxAlphaColor TdxSVGElement::ActualColor() {
  for (TdxSVGElement* e = this; e; e = e->FParent)
    if (e->FCurrentColor != TdxSVGFill::DefaultColor) return e->FCurrentColor;
  return 0xFF000000;
}

// Fill and stroke opacities, fill and clip rules are inherited as SVG has
// them: a group's value reaches the shapes inside that set none.
float TdxSVGElement::ActualFillOpacity() {
  for (TdxSVGElement* e = this; e; e = e->FParent)
    if (e->FFillOpacityAssigned) return e->FFillOpacity;
  return 1;
}

float TdxSVGElement::ActualStrokeOpacity() {
  for (TdxSVGElement* e = this; e; e = e->FParent)
    if (e->FStrokeOpacityAssigned) return e->FStrokeOpacity;
  return 1;
}

TdxSVGFillMode TdxSVGElement::ActualFillMode() {
  for (TdxSVGElement* e = this; e; e = e->FParent)
    if (e->FFillMode != fmInherit) return e->FFillMode;
  return fmNonZero;
}

TdxSVGFillMode TdxSVGElement::ActualClipRule() {
  for (TdxSVGElement* e = this; e; e = e->FParent)
    if (e->FClipRule != fmInherit) return e->FClipRule;
  return fmNonZero;
}

float TdxSVGElement::ActualStrokeWidth() {
  for (TdxSVGElement* e = this; e; e = e->FParent)
    if (e->FStrokeSize != 0) return e->FStrokeSize;
  return 1;
}

const TdxSVGValues& TdxSVGElement::ActualStrokeDashArray() {
  for (TdxSVGElement* e = this; e; e = e->FParent)
    if (!e->FStrokeDashArray.Empty()) return e->FStrokeDashArray;
  return FStrokeDashArray;
}

float TdxSVGElement::ActualStrokeDashOffset() {
  for (TdxSVGElement* e = this; e; e = e->FParent)
    if (e->FStrokeDashOffset >= 0) return e->FStrokeDashOffset;
  return 0;
}

TdxSVGLineCapStyle TdxSVGElement::ActualStrokeLineCap() {
  for (TdxSVGElement* e = this; e; e = e->FParent)
    if (e->FStrokeLineCap != lcsDefault) return e->FStrokeLineCap;
  return lcsDefault;
}

// ---------------------------------------------------------------------------
// Reading and writing the common attributes

void TdxSVGElement::ReadAttributes(TdxXMLNode* ANode) {
  TdxSVGConverter::ReadString(ANode, "id", FID);
  TdxSVGConverter::ReadString(ANode, "class", FStyleName);
  TdxSVGConverter::ReadReference(ANode, "clip-path", FClipPath);
  ReadKeyword(ANode, "clip-rule", FClipRule, &TdxSVGConverter::StringToFillMode);
  ReadKeyword(ANode, "fill-rule", FFillMode, &TdxSVGConverter::StringToFillMode);
  ReadCurrentColor(ANode, FCurrentColor);
  TdxSVGConverter::ReadFill(ANode, "fill", FFill);
  TdxSVGConverter::ReadFill(ANode, "stroke", FStroke);
  if (ReadOpacity(ANode, "fill-opacity", FFillOpacity)) FFillOpacityAssigned = true;
  ReadOpacity(ANode, "opacity", FOpacity);
  if (ReadOpacity(ANode, "stroke-opacity", FStrokeOpacity)) FStrokeOpacityAssigned = true;
  TdxSVGValues dashes;
  if (TdxSVGConverter::ReadValues(ANode, "stroke-dasharray", dashes) && IsValidDashArray(dashes))
    FStrokeDashArray = std::move(dashes);
  TdxSVGConverter::ReadFloat(ANode, "stroke-dashoffset", FStrokeDashOffset);
  TdxSVGConverter::ReadFloat(ANode, "stroke-miterlimit", FStrokeMiterLimit);
  // A negative width is no width: the inherited one stays in force.
  TdxSVGValue width;
  if (TdxSVGConverter::ReadValue(ANode, "stroke-width", width) && width.Data >= 0) FStrokeSize = width.ToPixels(96, 0);
  ReadKeyword(ANode, "stroke-linecap", FStrokeLineCap, &TdxSVGConverter::StringToLineCapStyle);
  ReadKeyword(ANode, "stroke-linejoin", FStrokeLineJoin, &TdxSVGConverter::StringToLineJoin);
  TdxSVGConverter::ReadMatrix(ANode, "transform", FTransform.get());
}

// Values that children inherit are written whenever they are set, whatever
// the own fill and stroke, so that a written tree reads back alike.
void TdxSVGElement::WriteAttributes(TdxXMLNode* ANode) {
  TdxSVGConverter::WriteString(ANode, "id", FID);
  TdxSVGConverter::WriteString(ANode, "clip-path", TdxSVGConverter::ReferenceToString(FClipPath));
  if (FClipRule != fmInherit) TdxSVGConverter::WriteString(ANode, "clip-rule", TdxSVGConverter::FillModeToString(FClipRule));
  TdxSVGConverter::WriteMatrix(ANode, "transform", FTransform.get());
  TdxSVGConverter::WriteFloat(ANode, "opacity", FOpacity, 1);
  TdxSVGConverter::WriteColor(ANode, "color", FCurrentColor);
  TdxSVGConverter::WriteFill(ANode, "fill", FFill);
  if (FFillMode != fmInherit) TdxSVGConverter::WriteString(ANode, "fill-rule", TdxSVGConverter::FillModeToString(FFillMode));
  if (FFillOpacityAssigned) TdxSVGConverter::WriteString(ANode, "fill-opacity", dxSVGFloatToString(FFillOpacity));
  TdxSVGConverter::WriteFill(ANode, "stroke", FStroke);
  if (FStrokeOpacityAssigned)
    TdxSVGConverter::WriteString(ANode, "stroke-opacity", dxSVGFloatToString(FStrokeOpacity));
  if (!FStrokeDashArray.Empty()) TdxSVGConverter::WriteValues(ANode, "stroke-dasharray", FStrokeDashArray);
  TdxSVGConverter::WriteFloat(ANode, "stroke-dashoffset", FStrokeDashOffset, -1);
  if (FStrokeLineCap != lcsDefault)
    TdxSVGConverter::WriteString(ANode, "stroke-linecap", TdxSVGConverter::LineCapStyleToString(FStrokeLineCap));
  if (FStrokeLineJoin != LineJoinMiter)
    TdxSVGConverter::WriteString(ANode, "stroke-linejoin", TdxSVGConverter::LineJoinToString(FStrokeLineJoin));
  TdxSVGConverter::WriteFloat(ANode, "stroke-miterlimit", FStrokeMiterLimit, 4);
  TdxSVGConverter::WriteFloat(ANode, "stroke-width", FStrokeSize, 0);
}

// ---------------------------------------------------------------------------
// Groups and the root

void TdxSVGElementGroup::ReadAttributes(TdxXMLNode* ANode) {
  inherited::ReadAttributes(ANode);
  TdxSVGConverter::ReadString(ANode, "tag", FTag);
}

void TdxSVGElementGroup::WriteAttributes(TdxXMLNode* ANode) {
  inherited::WriteAttributes(ANode);
  TdxSVGConverter::WriteString(ANode, "tag", FTag);
}

void TdxSVGElementRoot::ReadAttributes(TdxXMLNode* ANode) {
  inherited::ReadAttributes(ANode);
  TdxSVGConverter::ReadValue(ANode, "x", FX);
  TdxSVGConverter::ReadValue(ANode, "y", FY);
  TdxSVGConverter::ReadValue(ANode, "height", FHeight);
  TdxSVGConverter::ReadValue(ANode, "width", FWidth);
  TdxSVGConverter::ReadRect(ANode, "enable-background", FBackground);
  TdxSVGConverter::ReadRect(ANode, "viewBox", FViewBox);
  String aspect;
  if (TdxSVGConverter::ReadString(ANode, "preserveAspectRatio", aspect)) TdxSVGAspectRatio::TryParse(aspect, FAspectRatio);
}

void TdxSVGElementRoot::WriteAttributes(TdxXMLNode* ANode) {
  inherited::WriteAttributes(ANode);
  TdxSVGConverter::WriteValue(ANode, "x", FX);
  TdxSVGConverter::WriteValue(ANode, "y", FY);
  TdxSVGConverter::WriteValue(ANode, "height", FHeight);
  TdxSVGConverter::WriteValue(ANode, "width", FWidth);
  TdxSVGConverter::WriteRect(ANode, "enable-background", FBackground, L"new ");
  TdxSVGConverter::WriteRect(ANode, "viewBox", FViewBox);
  if (FAspectRatio != TdxSVGAspectRatio()) TdxSVGConverter::WriteString(ANode, "preserveAspectRatio", FAspectRatio.ToString());
}

TdxSizeF TdxSVGElementRoot::Size() const {
  TdxSizeF result(FViewBox.Width(), FViewBox.Height());
  if (!FWidth.IsEmpty() && FWidth.UnitsType != utPercents) result.cx = FWidth.ToPixels(96);
  if (!FHeight.IsEmpty() && FHeight.UnitsType != utPercents) result.cy = FHeight.ToPixels(96);
  return result;
}

TdxRectF TdxSVGElementRoot::ActualViewBox() const {
  TdxRectF result = FViewBox.Value();
  if (FViewBox.Width() == 0) result.Right = result.Left + FWidth.ToPixels(96);
  if (FViewBox.Height() == 0) result.Bottom = result.Top + FHeight.ToPixels(96);
  return result;
}

TdxRectF TdxSVGElementRoot::GetBounds() {
  const TdxSizeF size = Size();
  const TdxRectF& box = FViewBox.Value();
  return TdxRectF(box.Left, box.Top, box.Left + size.cx, box.Top + size.cy);
}

// ---------------------------------------------------------------------------
// Shapes

void TdxSVGElementCircle::ReadAttributes(TdxXMLNode* ANode) {
  inherited::ReadAttributes(ANode);
  TdxSVGConverter::ReadValue(ANode, "cx", FCenterX);
  TdxSVGConverter::ReadValue(ANode, "cy", FCenterY);
  TdxSVGConverter::ReadValue(ANode, "r", FRadius);
}

void TdxSVGElementCircle::WriteAttributes(TdxXMLNode* ANode) {
  inherited::WriteAttributes(ANode);
  TdxSVGConverter::WriteValue(ANode, "cx", FCenterX);
  TdxSVGConverter::WriteValue(ANode, "cy", FCenterY);
  TdxSVGConverter::WriteValue(ANode, "r", FRadius);
}

TdxRectF TdxSVGElementCircle::GetBounds() {
  return MakeRectFAroundPoint(PixelsX(FCenterX), PixelsY(FCenterY), PixelsX(FRadius), PixelsY(FRadius));
}

void TdxSVGElementEllipse::ReadAttributes(TdxXMLNode* ANode) {
  inherited::ReadAttributes(ANode);
  TdxSVGConverter::ReadValue(ANode, "cx", FCenterX);
  TdxSVGConverter::ReadValue(ANode, "cy", FCenterY);
  TdxSVGConverter::ReadValue(ANode, "rx", FRadiusX);
  TdxSVGConverter::ReadValue(ANode, "ry", FRadiusY);
}

void TdxSVGElementEllipse::WriteAttributes(TdxXMLNode* ANode) {
  inherited::WriteAttributes(ANode);
  TdxSVGConverter::WriteValue(ANode, "cx", FCenterX);
  TdxSVGConverter::WriteValue(ANode, "cy", FCenterY);
  TdxSVGConverter::WriteValue(ANode, "rx", FRadiusX);
  TdxSVGConverter::WriteValue(ANode, "ry", FRadiusY);
}

TdxRectF TdxSVGElementEllipse::GetBounds() {
  return MakeRectFAroundPoint(PixelsX(FCenterX), PixelsY(FCenterY), PixelsX(FRadiusX), PixelsY(FRadiusY));
}

void TdxSVGElementEllipse::SetBounds(const TdxRectF& R, TdxSVGUnitsType AUnits) {
  FCenterX = TdxSVGValue::Create((R.Left + R.Right) / 2, AUnits);
  FCenterY = TdxSVGValue::Create((R.Top + R.Bottom) / 2, AUnits);
  FRadiusX = TdxSVGValue::Create(R.Width() / 2, AUnits);
  FRadiusY = TdxSVGValue::Create(R.Height() / 2, AUnits);
}

void TdxSVGElementLine::ReadAttributes(TdxXMLNode* ANode) {
  inherited::ReadAttributes(ANode);
  TdxSVGConverter::ReadValue(ANode, "x1", FX1);
  TdxSVGConverter::ReadValue(ANode, "y1", FY1);
  TdxSVGConverter::ReadValue(ANode, "x2", FX2);
  TdxSVGConverter::ReadValue(ANode, "y2", FY2);
}

void TdxSVGElementLine::WriteAttributes(TdxXMLNode* ANode) {
  inherited::WriteAttributes(ANode);
  TdxSVGConverter::WriteValue(ANode, "x1", FX1);
  TdxSVGConverter::WriteValue(ANode, "y1", FY1);
  TdxSVGConverter::WriteValue(ANode, "x2", FX2);
  TdxSVGConverter::WriteValue(ANode, "y2", FY2);
}

TdxRectF TdxSVGElementLine::GetBounds() {
  const float x1 = PixelsX(FX1);
  const float y1 = PixelsY(FY1);
  const float x2 = PixelsX(FX2);
  const float y2 = PixelsY(FY2);
  return TdxRectF(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2));
}

void TdxSVGElementImage::Create() {
  inherited::Create();
  FImage.reset(New<TdxSmartImage>());
}

void TdxSVGElementImage::Destroy() {
  FImage.reset();
  inherited::Destroy();
}

// A data URI that is no valid Base64, or whose data no codec decodes, counts
// as no image: decoded here, so that neither sizing nor drawing meets it later.
void TdxSVGElementImage::ReadAttributes(TdxXMLNode* ANode) {
  inherited::ReadAttributes(ANode);
  const bool own = IsOwnNode(ANode);
  if (own) {
    String reference;
    try {
      if (ReadHRef(ANode, reference)) {
        TdxSVGParserImage::StringToImage(FImage.get(), reference);
        FImage->HandleNeeded();
      } else {
        FImage->Clear();
      }
    } catch (const EdxException&) {
      FImage->Clear();
    } catch (const EArgumentException&) {
      FImage->Clear();
    }
  }
  if (!TdxSVGConverter::ReadValue(ANode, "x", FX) && own) FX = TdxSVGValue();
  if (!TdxSVGConverter::ReadValue(ANode, "y", FY) && own) FY = TdxSVGValue();
  if (!TdxSVGConverter::ReadValue(ANode, "height", FHeight) && own)
    FHeight = TdxSVGValue::Create(static_cast<float>(FImage->Height()));
  if (!TdxSVGConverter::ReadValue(ANode, "width", FWidth) && own)
    FWidth = TdxSVGValue::Create(static_cast<float>(FImage->Width()));
}

void TdxSVGElementImage::WriteAttributes(TdxXMLNode* ANode) {
  inherited::WriteAttributes(ANode);
  TdxSVGConverter::WriteString(ANode, "preserveAspectRatio", L"none");
  TdxSVGConverter::WriteValue(ANode, "x", FX);
  TdxSVGConverter::WriteValue(ANode, "y", FY);
  TdxSVGConverter::WriteValue(ANode, "height", FHeight);
  TdxSVGConverter::WriteValue(ANode, "width", FWidth);
  if (!FImage->Empty()) TdxSVGConverter::WriteString(ANode, "xlink:href", TdxSVGParserImage::ImageToString(FImage.get()));
}

TdxRectF TdxSVGElementImage::GetBounds() {
  const float x = PixelsX(FX);
  const float y = PixelsY(FY);
  return TdxRectF(x, y, x + PixelsX(FWidth), y + PixelsY(FHeight));
}

void TdxSVGElementImage::SetBounds(const TdxRectF& R) {
  FX = TdxSVGValue::Create(R.Left);
  FY = TdxSVGValue::Create(R.Top);
  FWidth = TdxSVGValue::Create(R.Width());
  FHeight = TdxSVGValue::Create(R.Height());
}

void TdxSVGElementPath::Create() {
  inherited::Create();
  FPath.reset(New<TdxSVGPath>());
}

void TdxSVGElementPath::Destroy() {
  FPath.reset();
  inherited::Destroy();
}

void TdxSVGElementPath::ReadAttributes(TdxXMLNode* ANode) {
  inherited::ReadAttributes(ANode);
  String data;
  if (TdxSVGConverter::ReadString(ANode, "d", data)) FPath->FromString(data);
}

void TdxSVGElementPath::WriteAttributes(TdxXMLNode* ANode) {
  inherited::WriteAttributes(ANode);
  TdxSVGConverter::WriteString(ANode, "d", FPath->ToString());
}

TdxRectF TdxSVGElementPath::GetBounds() {
  TdxRectF result;
  if (FPath->TryGetBoundsF(result) != Gdiplus::Ok) return inherited::GetBounds();
  return result;
}

void TdxSVGElementPolygon::ReadAttributes(TdxXMLNode* ANode) {
  inherited::ReadAttributes(ANode);
  String points;
  if (TdxSVGConverter::ReadString(ANode, "points", points)) TdxSVGParserNumbers::AsPoints(points, FPoints);
}

void TdxSVGElementPolygon::WriteAttributes(TdxXMLNode* ANode) {
  inherited::WriteAttributes(ANode);
  String text;
  for (const TdxPointF& p : FPoints.List()) {
    if (!text.empty()) text += L' ';
    text += dxSVGFloatToString(p.X) + L',' + dxSVGFloatToString(p.Y);
  }
  TdxSVGConverter::WriteString(ANode, "points", text);
}

TdxRectF TdxSVGElementPolygon::GetBounds() {
  return FPoints.Empty() ? inherited::GetBounds() : FPoints.BoudingRect();
}

void TdxSVGElementRectangle::ReadAttributes(TdxXMLNode* ANode) {
  inherited::ReadAttributes(ANode);
  TdxSVGConverter::ReadValue(ANode, "x", FX);
  TdxSVGConverter::ReadValue(ANode, "y", FY);
  TdxSVGConverter::ReadValue(ANode, "height", FHeight);
  TdxSVGConverter::ReadValue(ANode, "width", FWidth);
  if (TdxSVGConverter::ReadValue(ANode, "rx", FCornerRadiusX)) FCornerRadiusXAssigned = true;
  if (TdxSVGConverter::ReadValue(ANode, "ry", FCornerRadiusY)) FCornerRadiusYAssigned = true;
  if (FCornerRadiusXAssigned && !FCornerRadiusYAssigned) FCornerRadiusY = FCornerRadiusX;
  if (FCornerRadiusYAssigned && !FCornerRadiusXAssigned) FCornerRadiusX = FCornerRadiusY;
}

void TdxSVGElementRectangle::WriteAttributes(TdxXMLNode* ANode) {
  inherited::WriteAttributes(ANode);
  TdxSVGConverter::WriteValue(ANode, "x", FX);
  TdxSVGConverter::WriteValue(ANode, "y", FY);
  TdxSVGConverter::WriteValue(ANode, "height", FHeight);
  TdxSVGConverter::WriteValue(ANode, "width", FWidth);
  if (FCornerRadiusXAssigned) TdxSVGConverter::WriteValue(ANode, "rx", FCornerRadiusX);
  if (FCornerRadiusYAssigned) TdxSVGConverter::WriteValue(ANode, "ry", FCornerRadiusY);
}

TdxRectF TdxSVGElementRectangle::GetBounds() {
  const float x = PixelsX(FX);
  const float y = PixelsY(FY);
  return TdxRectF(x, y, x + PixelsX(FWidth), y + PixelsY(FHeight));
}

void TdxSVGElementRectangle::SetBounds(const TdxRectF& R) {
  FX = TdxSVGValue::Create(R.Left);
  FY = TdxSVGValue::Create(R.Top);
  FWidth = TdxSVGValue::Create(R.Width());
  FHeight = TdxSVGValue::Create(R.Height());
}

// ---------------------------------------------------------------------------
// Text

void TdxSVGElementText::Create() {
  inherited::Create();
  FTextAnchor = taStart;
}

void TdxSVGElementText::Destroy() {
  FCachedFontFamily.reset();
  inherited::Destroy();
}

void TdxSVGElementText::ReadAttributes(TdxXMLNode* ANode) {
  inherited::ReadAttributes(ANode);
  if (IsOwnNode(ANode)) {
    FFontName.clear();
    FFontSize = 0;
    FFontStyles = TFontStyles();
    FFontStylesAssigned = false;
    if (!ANode->TextAsString().empty()) FText = ANode->TextAsString();
  }
  FCachedFontFamily.reset();
  TdxSVGConverter::ReadValue(ANode, "x", FX);
  TdxSVGConverter::ReadValue(ANode, "y", FY);
  TdxSVGConverter::ReadValue(ANode, "dx", FDX);
  TdxSVGConverter::ReadValue(ANode, "dy", FDY);
  String text;
  if (TdxSVGConverter::ReadString(ANode, "font", text)) {
    String name;
    TFontStyles styles;
    float size;
    if (TdxSVGFontStyleString::Parse(text, name, styles, size)) {
      FFontName = TdxSVGFontFamilyString::Decode(name);
      FFontSize = size;
      FFontStyles = styles;
      FFontStylesAssigned = true;
    }
  }
  if (TdxSVGConverter::ReadString(ANode, "font-family", text)) FFontName = TdxSVGFontFamilyString::Decode(text);
  TdxSVGValue size;
  if (TdxSVGConverter::ReadValue(ANode, "font-size", size)) FFontSize = size.ToPixels(96, 0);
  for (const char* name : {"font-style", "font-weight"}) {
    TFontStyle style;
    if (TdxSVGConverter::ReadString(ANode, name, text) && TdxSVGFontStyleString::TryStringToFontStyle(text, style)) {
      FFontStyles.Include(style);
      FFontStylesAssigned = true;
    }
  }
  ReadKeyword(ANode, "text-anchor", FTextAnchor, &TdxSVGConverter::StringToTextAnchor);
}

void TdxSVGElementText::WriteAttributes(TdxXMLNode* ANode) {
  inherited::WriteAttributes(ANode);
  ANode->SetTextAsString(FText);
  TdxSVGConverter::WriteValue(ANode, "x", FX);
  TdxSVGConverter::WriteValue(ANode, "y", FY);
  TdxSVGConverter::WriteValue(ANode, "dx", FDX);
  TdxSVGConverter::WriteValue(ANode, "dy", FDY);
  if (FTextAnchor != taInherit)
    TdxSVGConverter::WriteString(ANode, "text-anchor", TdxSVGConverter::TextAnchorToString(FTextAnchor));
  const TFontStyles styles = ActualFontStyles();
  String style = L"font:" + TdxSVGFontStyleString::Build(ActualFontName(), styles, ActualFontSize()) + L";";
  if (styles.Contains(fsUnderline)) style += L" font-style:underline;";
  TdxSVGConverter::WriteString(ANode, "style", style);
}

String TdxSVGElementText::ActualFontName() { return FFontName.empty() ? GetDefaultFontName() : FFontName; }
float TdxSVGElementText::ActualFontSize() { return FFontSize > 0 ? FFontSize : GetDefaultFontSize(); }
TFontStyles TdxSVGElementText::ActualFontStyles() {
  return FFontStylesAssigned ? FFontStyles : GetDefaultFontStyles();
}

String TdxSVGElementText::GetDefaultFontName() { return DefFontData().Name; }
float TdxSVGElementText::GetDefaultFontSize() { return 8; }
TFontStyles TdxSVGElementText::GetDefaultFontStyles() { return TFontStyles(); }

void TdxSVGElementTSpan::Create(TdxSVGElement* AParent) {
  inherited::Create(AParent);
  if (TdxSVGElementText* text = TextParent()) {
    AssignAttributes(text);
    FTransform->Reset();
  }
}

TdxSVGElementText* TdxSVGElementTSpan::TextParent() const { return dynamic_cast<TdxSVGElementText*>(FParent); }

String TdxSVGElementTSpan::GetDefaultFontName() {
  TdxSVGElementText* text = TextParent();
  return text ? text->ActualFontName() : inherited::GetDefaultFontName();
}

float TdxSVGElementTSpan::GetDefaultFontSize() {
  TdxSVGElementText* text = TextParent();
  return text ? text->ActualFontSize() : inherited::GetDefaultFontSize();
}

TFontStyles TdxSVGElementTSpan::GetDefaultFontStyles() {
  TdxSVGElementText* text = TextParent();
  return text ? text->ActualFontStyles() : inherited::GetDefaultFontStyles();
}

// ---------------------------------------------------------------------------
// Use

void TdxSVGElementUse::ReadAttributes(TdxXMLNode* ANode) {
  inherited::ReadAttributes(ANode);
  TdxSVGConverter::ReadValue(ANode, "x", FX);
  TdxSVGConverter::ReadValue(ANode, "y", FY);
  String reference;
  if (ReadHRef(ANode, reference)) FReference = TdxSVGConverter::StringToReference(reference);
}

void TdxSVGElementUse::WriteAttributes(TdxXMLNode* ANode) {
  inherited::WriteAttributes(ANode);
  TdxSVGConverter::WriteValue(ANode, "x", FX);
  TdxSVGConverter::WriteValue(ANode, "y", FY);
  TdxSVGConverter::WriteString(ANode, "href", TdxSVGConverter::ReferenceToString(FReference, true));
}

void TdxSVGElementUse::ReplaceReference(const String& AOldID, const String& ANewID) {
  inherited::ReplaceReference(AOldID, ANewID);
  if (IsSameText(FReference, AOldID)) FReference = ANewID;
}

// ---------------------------------------------------------------------------
// Gradient stops and paint servers

void TdxSVGElementGradientStop::Create() {
  inherited::Create();
  FColorOpacity = 1;
}

void TdxSVGElementGradientStop::ReadAttributes(TdxXMLNode* ANode) {
  inherited::ReadAttributes(ANode);
  String color;
  if (TdxSVGConverter::ReadString(ANode, "stop-color", color) && IsSameText(Trim(color), L"currentColor"))
    FColorIsCurrent = true;
  else if (TdxSVGConverter::ReadColor(ANode, "stop-color", FColor))
    FColorIsCurrent = false;
  ReadOpacity(ANode, "stop-opacity", FColorOpacity);
  TdxSVGConverter::ReadValue(ANode, "offset", FOffset);
}

void TdxSVGElementGradientStop::WriteAttributes(TdxXMLNode* ANode) {
  inherited::WriteAttributes(ANode);
  if (FColorIsCurrent) TdxSVGConverter::WriteString(ANode, "stop-color", L"currentColor");
  else TdxSVGConverter::WriteColor(ANode, "stop-color", FColor);
  TdxSVGConverter::WriteFloat(ANode, "stop-opacity", FColorOpacity, 1);
  TdxSVGConverter::WriteValue(ANode, "offset", FOffset);
}

void TdxSVGElementCustomPattern::Create() {
  inherited::Create();
  FPatternTransform.reset(New<TdxMatrix>());
  FPatternUnitsType = cuObjectBoundingBox;
}

void TdxSVGElementCustomPattern::Destroy() {
  FPatternTransform.reset();
  inherited::Destroy();
}

void TdxSVGElementCustomGradient::ReadAttributes(TdxXMLNode* ANode) {
  inherited::ReadAttributes(ANode);
  TdxSVGConverter::ReadMatrix(ANode, "gradientTransform", FPatternTransform.get());
  ReadKeyword(ANode, "gradientUnits", FPatternUnitsType, &TdxSVGConverter::StringToContentUnits);
}

void TdxSVGElementCustomGradient::WriteAttributes(TdxXMLNode* ANode) {
  inherited::WriteAttributes(ANode);
  TdxSVGConverter::WriteMatrix(ANode, "gradientTransform", FPatternTransform.get());
  TdxSVGConverter::WriteString(ANode, "gradientUnits", TdxSVGConverter::ContentUnitsToString(FPatternUnitsType));
}

void TdxSVGElementCustomGradient::AddStop(TdxAlphaColor AColor, float AOpacity, float AOffsetInPercents) {
  auto* stop = New<TdxSVGElementGradientStop>(this);
  stop->SetColor(AColor);
  stop->SetColorOpacity(AlphaOf(AColor) * AOpacity / 255);
  stop->SetOffset(TdxSVGValue::Create(AOffsetInPercents, utPercents));
}

void TdxSVGElementLinearGradient::Create() {
  inherited::Create();
  FX2 = TdxSVGValue::Create(1);
}

void TdxSVGElementLinearGradient::ReadAttributes(TdxXMLNode* ANode) {
  inherited::ReadAttributes(ANode);
  TdxSVGConverter::ReadValue(ANode, "x1", FX1);
  TdxSVGConverter::ReadValue(ANode, "y1", FY1);
  TdxSVGConverter::ReadValue(ANode, "x2", FX2);
  TdxSVGConverter::ReadValue(ANode, "y2", FY2);
}

void TdxSVGElementLinearGradient::WriteAttributes(TdxXMLNode* ANode) {
  inherited::WriteAttributes(ANode);
  TdxSVGConverter::WriteValue(ANode, "x1", FX1);
  TdxSVGConverter::WriteValue(ANode, "y1", FY1);
  TdxSVGConverter::WriteValue(ANode, "x2", FX2);
  TdxSVGConverter::WriteValue(ANode, "y2", FY2);
}

void TdxSVGElementLinearGradient::SetBounds(TdxSVGLinearGradientDirection ADirection) {
  static constexpr float vectors[][4] = {{0, 0, 100, 0}, {0, 0, 0, 100}, {0, 0, 100, 100}, {100, 0, 0, 100}};
  const float* v = vectors[ADirection];
  SetBounds(utPercents, v[0], v[1], v[2], v[3]);
}

void TdxSVGElementLinearGradient::SetBounds(TdxSVGUnitsType AUnits, float X1, float Y1, float X2, float Y2) {
  FX1 = TdxSVGValue::Create(X1, AUnits);
  FY1 = TdxSVGValue::Create(Y1, AUnits);
  FX2 = TdxSVGValue::Create(X2, AUnits);
  FY2 = TdxSVGValue::Create(Y2, AUnits);
}

void TdxSVGElementRadialGradient::Create() {
  inherited::Create();
  FCenterX = FCenterY = FFocalX = FFocalY = FRadius = TdxSVGValue::Create(50, utPercents);
}

void TdxSVGElementRadialGradient::ReadAttributes(TdxXMLNode* ANode) {
  inherited::ReadAttributes(ANode);
  if (TdxSVGConverter::ReadValue(ANode, "cx", FCenterX)) FFocalX = FCenterX;
  if (TdxSVGConverter::ReadValue(ANode, "cy", FCenterY)) FFocalY = FCenterY;
  TdxSVGConverter::ReadValue(ANode, "r", FRadius);
  TdxSVGConverter::ReadValue(ANode, "fr", FFocalRadius);
  TdxSVGConverter::ReadValue(ANode, "fx", FFocalX);
  TdxSVGConverter::ReadValue(ANode, "fy", FFocalY);
}

void TdxSVGElementRadialGradient::WriteAttributes(TdxXMLNode* ANode) {
  inherited::WriteAttributes(ANode);
  TdxSVGConverter::WriteValue(ANode, "cx", FCenterX);
  TdxSVGConverter::WriteValue(ANode, "cy", FCenterY);
  TdxSVGConverter::WriteValue(ANode, "r", FRadius);
  if (FFocalX != FCenterX) TdxSVGConverter::WriteValue(ANode, "fx", FFocalX);
  if (FFocalY != FCenterY) TdxSVGConverter::WriteValue(ANode, "fy", FFocalY);
  if (!FFocalRadius.IsEmpty()) TdxSVGConverter::WriteValue(ANode, "fr", FFocalRadius);
}

void TdxSVGElementPattern::ReadAttributes(TdxXMLNode* ANode) {
  inherited::ReadAttributes(ANode);
  TdxSVGConverter::ReadValue(ANode, "x", FX);
  TdxSVGConverter::ReadValue(ANode, "y", FY);
  TdxSVGConverter::ReadValue(ANode, "width", FWidth);
  TdxSVGConverter::ReadValue(ANode, "height", FHeight);
  TdxSVGConverter::ReadMatrix(ANode, "patternTransform", FPatternTransform.get());
  ReadKeyword(ANode, "patternUnits", FPatternUnitsType, &TdxSVGConverter::StringToContentUnits);
  TdxSVGConverter::ReadRect(ANode, "viewBox", FViewBox);
}

void TdxSVGElementPattern::WriteAttributes(TdxXMLNode* ANode) {
  inherited::WriteAttributes(ANode);
  TdxSVGConverter::WriteValue(ANode, "x", FX);
  TdxSVGConverter::WriteValue(ANode, "y", FY);
  TdxSVGConverter::WriteValue(ANode, "width", FWidth);
  TdxSVGConverter::WriteValue(ANode, "height", FHeight);
  TdxSVGConverter::WriteMatrix(ANode, "patternTransform", FPatternTransform.get());
  TdxSVGConverter::WriteString(ANode, "patternUnits", TdxSVGConverter::ContentUnitsToString(FPatternUnitsType));
  TdxSVGConverter::WriteRect(ANode, "viewBox", FViewBox);
}
