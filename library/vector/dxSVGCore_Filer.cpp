// Reading an element tree from an XML document (with its style sheet and
// the references between elements) and writing it back.
#include "library/vector/dxSVGCore.h"

#include "library/core/base/dxCore.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <unordered_set>

namespace {

constexpr const char* SVGNamespace = "http://www.w3.org/2000/svg";
constexpr const char* XLinkNamespace = "http://www.w3.org/1999/xlink";

int CountElements(TdxSVGElement* AElement) {
  int result = 1;
  for (int i = 0; i < AElement->Count(); ++i) result += CountElements(AElement->GetElement(i));
  return result;
}

std::wstring_view TrimSpaces(std::wstring_view S) {
  while (!S.empty() && S.front() <= L' ') S.remove_prefix(1);
  while (!S.empty() && S.back() <= L' ') S.remove_suffix(1);
  return S;
}

}  // namespace

TSize dxSVGRoundSize(const TdxSizeF& ASize) {
  const auto round = [](float AValue) {
    if (!(AValue > 0)) return 0;
    return AValue >= float(INT_MAX / 2) ? INT_MAX / 2 : static_cast<int>(std::lround(AValue));
  };
  return TSize(round(ASize.cx), round(ASize.cy));
}

// ---------------------------------------------------------------------------
// Import

void TdxSVGReferenceFixup::Create(TdxSVGElement* AElement, const String& AReference, TdxXMLNode* ANode) {
  Element = AElement;
  Reference = AReference;
  Node = ANode;
}

void TdxSVGImporter::Create() { FStyles.reset(New<TdxSVGStyles>()); }

TdxXMLNode* TdxSVGImporter::FindSVGNode(TdxXMLDocument* ADocument) { return ADocument->Root()->FindChild("svg"); }

bool TdxSVGImporter::Import(TdxXMLDocument* ADocument, TdxSVGElementRoot*& ARoot) {
  ARoot = nullptr;
  TdxXMLNode* node = FindSVGNode(ADocument);
  if (!node) return false;
  const TOwned<TdxSVGImporter> importer(New<TdxSVGImporter>());
  TOwned<TdxSVGElementRoot> root(New<TdxSVGElementRoot>());
  importer->ImportNode(node, root.get());
  importer->FStyles->Apply(root.get());
  importer->ResolveFixups(root.get());
  ARoot = root.release();
  return true;
}

bool TdxSVGImporter::GetSize(TdxXMLDocument* ADocument, TSize& ASize) {
  TdxXMLNode* node = FindSVGNode(ADocument);
  if (!node) return false;
  const TOwned<TdxSVGElementRoot> root(New<TdxSVGElementRoot>());
  root->ReadAttributes(node);
  ASize = dxSVGRoundSize(root->Size());
  return true;
}

void TdxSVGImporter::ImportNode(TdxXMLNode* ANode, TdxSVGElement* AElement) {
  ++FElementCount;
  AElement->ReadAttributes(ANode);
  String text;
  if (TdxSVGAttributeConverter::ReadString(ANode, "style", text))
    TdxSVGInlineStyles::Parse(FStyles->AddInline(AElement), text);
  if (AElement->CanResolveReference() && TdxSVGAttributeConverter::ReadString(ANode, "xlink:href", text) &&
      !text.empty() && text[0] == L'#')
    FFixups.emplace_back(New<TdxSVGReferenceFixup>(AElement, TdxSVGAttributeConverter::StringToReference(text), ANode));
  for (TdxXMLNode* child = ANode->First(); child; child = child->Next()) {
    TdxSVGElementClass elementClass = nullptr;
    if (dxSVGElementClasses() && dxSVGElementClasses()->TryGetValue(child->Name(), elementClass)) {
      // Beyond the bound the rest of the document is left out.
      if (FElementCount >= MaxElementCount) return;
      TdxSVGElement* element = NewOfClass<TdxSVGElement>(elementClass, AElement);
      element->SetStyleName(child->NameAsString());
      ImportNode(child, element);
    } else if (child->Name() == "style") {
      ImportStyleSheet(child->TextAsString());
    }
  }
}

void TdxSVGImporter::ImportStyleSheet(const String& AText) {
  std::wstring_view rest(AText);
  while (!rest.empty()) {
    const std::size_t close = std::min(rest.find(L'}'), rest.size());
    const std::wstring_view rule = TrimSpaces(rest.substr(0, close));
    rest.remove_prefix(std::min(close + 1, rest.size()));
    const std::size_t open = rule.find(L'{');
    if (open == std::wstring_view::npos || rule.find(L'{', open + 1) != std::wstring_view::npos) continue;
    const std::wstring_view declarations = rule.substr(open + 1);
    std::wstring_view selectors = rule.substr(0, open);
    while (true) {
      const std::size_t comma = selectors.find(L',');
      std::wstring_view selector = TrimSpaces(selectors.substr(0, comma));
      if (!selector.empty() && selector.front() == L'.') selector.remove_prefix(1);
      if (!selector.empty()) TdxSVGInlineStyles::Parse(FStyles->Add(String(selector)), declarations);
      if (comma == std::wstring_view::npos) break;
      selectors.remove_prefix(comma + 1);
    }
  }
}

// An element copies the one it names once that one is complete: a fix-up
// whose target (or something in it) still waits for a fix-up of its own
// waits for a later pass, so chains resolve whatever their order in the
// document. Only when a pass resolves nothing (a cycle) are the waiting
// ones resolved as they stand. A reference to the element itself or to one
// it lies in is dropped: copying such an element into it would copy it into
// itself.
void TdxSVGImporter::ResolveFixups(TdxSVGElementRoot* ARoot) {
  bool force = false;
  while (!FFixups.empty()) {
    std::unordered_set<const TdxSVGElement*> waiting;
    for (const auto& fixup : FFixups) waiting.insert(fixup->Element);
    const auto isWaiting = [&](TdxSVGElement* ATarget) {
      return std::any_of(waiting.begin(), waiting.end(), [&](const TdxSVGElement* E) { return ATarget->IsAncestorOf(E); });
    };
    bool resolved = false;
    for (std::size_t i = FFixups.size(); i-- > 0;) {
      TdxSVGElement* target = nullptr;
      if (!ARoot->FindByID(FFixups[i]->Reference, target)) continue;
      TdxSVGElement* element = FFixups[i]->Element;
      if (!force && !target->IsAncestorOf(element) && isWaiting(target)) continue;
      const TOwned<TdxSVGReferenceFixup> fixup = std::move(FFixups[i]);
      FFixups.erase(FFixups.begin() + static_cast<std::ptrdiff_t>(i));
      waiting.erase(element);
      resolved = true;
      if (!target->IsAncestorOf(element)) Resolve(element, target, fixup->Node);
    }
    if (!resolved && force) break;
    force = !resolved;
  }
}

void TdxSVGImporter::Resolve(TdxSVGElement* AElement, TdxSVGElement* ATarget, TdxXMLNode* ANode) {
  const String id = AElement->ID();
  if (AElement->Count() == 0) {
    const int added = CountElements(ATarget) - 1;
    if (FElementCount + added > MaxElementCount) return;
    FElementCount += added;
    AElement->Assign(ATarget);
  } else {
    AElement->AssignAttributes(ATarget);
  }
  AElement->SetID(id);
  AElement->ReadAttributes(ANode);
}

// ---------------------------------------------------------------------------
// Export

void TdxSVGExporter::Export(TdxSVGElementRoot* ARoot, TdxXMLDocument* ADocument) {
  ADocument->Root()->Clear();
  TdxXMLNode* node = ADocument->AddChild("svg");
  node->Attributes()->Add("version", "1.1");
  node->Attributes()->Add("xmlns", SVGNamespace);
  node->Attributes()->Add("xmlns:xlink", XLinkNamespace);
  ExportElement(ARoot, node);
}

void TdxSVGExporter::ExportElement(TdxSVGElement* AElement, TdxXMLNode* ANode) {
  AElement->WriteAttributes(ANode);
  for (int i = 0; i < AElement->Count(); ++i) {
    TdxSVGElement* child = AElement->GetElement(i);
    TdxXMLString tag;
    if (dxSVGElementClasses() && dxSVGElementClasses()->TryGetKey(child->ClassType(), tag))
      ExportElement(child, ANode->AddChild(tag));
  }
}
