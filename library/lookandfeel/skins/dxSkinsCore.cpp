#include "library/lookandfeel/skins/dxSkinsCore.h"

#include "platform/runtime/Handles.h"

#include <algorithm>

namespace {

// Where a colour reference is looked up: the first owner up the chain that
// answers palette colours.
IdxSkinColorPalette* FindColorPaletteOwner(TPersistent* AObject) {
  while (AObject) {
    if (auto* palette = dynamic_cast<IdxSkinColorPalette*>(AObject)) return palette;
    if (auto* object = dynamic_cast<TdxSkinCustomObject*>(AObject))
      AObject = object->Owner();
    else if (auto* image = dynamic_cast<TdxSkinImage*>(AObject))
      AObject = image->Owner();
    else
      return nullptr;
  }
  return nullptr;
}

bool SameAsciiText(const String& A, const String& B) {
  return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](wchar_t x, wchar_t y) {
           auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c; };
           return lower(x) == lower(y);
         });
}

template <class T>
void SetField(TdxSkinCustomObject* AObject, T& AField, const T& AValue) {
  if (AField == AValue) return;
  AField = AValue;
  AObject->Changed({scContent});
}

std::vector<TClass>& PropertyClasses() {
  static std::vector<TClass> classes;
  return classes;
}

TOwned<TdxSkinElement>& EmptyElement() {
  static TOwned<TdxSkinElement> element;
  return element;
}

}  // namespace

const String& dxSkinElementStateName(TdxSkinElementState AState) {
  static const String names[] = {L"Normal",  L"Hot",         L"Pressed", L"Disabled", L"Active",       L"Focused",
                                 L"DroppedDown", L"Checked", L"HotCheck", L"ActiveDisabled", L"CheckPressed"};
  return names[AState];
}

// ---------------------------------------------------------------------------
// TdxSkinColorValue

TColor TdxSkinColorValue::Value() const {
  if (FValue != Unresolved) return FValue;
  if (FResolving) return FDefaultValue;
  FResolving = true;
  TScopeExit done([this] { FResolving = false; });
  TColor found = FDefaultValue;
  if (!FValueReference.empty())
    if (IdxSkinColorPalette* palette = FindColorPaletteOwner(FOwner); !palette || !palette->GetColorByName(FValueReference, found))
      found = FDefaultValue;
  FValue = found;
  return FValue;
}

void TdxSkinColorValue::SetValue(TColor AValue) {
  FValueReference.clear();
  FValue = AValue;
}

void TdxSkinColorValue::SetValueReference(const String& AValue) {
  if (AValue.empty()) {
    FValue = Value();
    FValueReference.clear();
    return;
  }
  FValueReference = AValue;
  FValue = Unresolved;
}

void TdxSkinColorValue::Load(TColor AStoredValue, const String& AReference) {
  FValueReference = AReference;
  FValue = AReference.empty() ? AStoredValue : Unresolved;
}

void TdxSkinColorValue::FlushCache() {
  if (!FValueReference.empty()) FValue = Unresolved;
}

bool TdxSkinColorValue::operator==(const TdxSkinColorValue& AOther) const {
  return FDefaultValue == AOther.FDefaultValue && FValueReference == AOther.FValueReference &&
         (!FValueReference.empty() || Value() == AOther.Value());
}

void TdxSkinColorValue::Assign(const TdxSkinColorValue& ASource) {
  FValueReference = ASource.FValueReference;
  FValue = FValueReference.empty() ? ASource.Value() : Unresolved;
}

// ---------------------------------------------------------------------------
// TdxSkinCustomObject

void TdxSkinCustomObject::Create(TPersistent* AOwner, const String& AName) {
  inherited::Create();
  FOwner = AOwner;
  FName = AName;
  FState = {sosUnused};
}

void TdxSkinCustomObject::Assign(TPersistent* ASource) {
  auto* source = dynamic_cast<TdxSkinCustomObject*>(ASource);
  if (!source) return inherited::Assign(ASource);
  WithUpdate(this, [&] { DoAssign(source); });
}

void TdxSkinCustomObject::DoAssign(TdxSkinCustomObject* ASource) {
  SetName(ASource->Name());
  FTag = ASource->FTag;
  FState = ASource->FState;
}

void TdxSkinCustomObject::EndUpdate() {
  if (--FUpdateCount == 0) Changed({});
}

void TdxSkinCustomObject::CancelUpdate() {
  if (--FUpdateCount == 0) FChanges = {};
}

void TdxSkinCustomObject::Changed(TdxSkinChanges AChanges) {
  FChanges += AChanges;
  if (FUpdateCount > 0) return;
  const TdxSkinChanges changes = std::exchange(FChanges, {});
  DoChanged(changes);
}

void TdxSkinCustomObject::DoChanged(TdxSkinChanges AChanges) {
  if (!AChanges.Empty() && FOnChange) FOnChange(this, AChanges);
}

void TdxSkinCustomObject::ReadData(TStream*, double) {}
void TdxSkinCustomObject::WriteData(TStream*) {}

void TdxSkinCustomObject::SetName(const String& AValue) {
  if (FName == AValue) return;
  FName = AValue;
  Changed({scStruct});
}

// ---------------------------------------------------------------------------
// TdxSkinCustomObjectList

void TdxSkinCustomObjectList::Create(TPersistent* AOwner) {
  inherited::Create();
  FOwner = AOwner;
}

void TdxSkinCustomObjectList::Create(TPersistent* AOwner, TdxSkinChangeNotify AChangeHandler) {
  Create(AOwner);
  FOnChange = AChangeHandler;
}

void TdxSkinCustomObjectList::Destroy() {
  FOnChange = {};
  FItems.clear();
  inherited::Destroy();
}

void TdxSkinCustomObjectList::Add(TOwned<TdxSkinCustomObject> AItem) {
  AItem->SetOnChange(BindEvent<&TdxSkinCustomObjectList::ItemChanged>(this));
  FItems.push_back(std::move(AItem));
  Changed({scStruct});
}

void TdxSkinCustomObjectList::Delete(int AIndex) {
  TOwned<TdxSkinCustomObject> item = std::move(FItems.at(AIndex));
  FItems.erase(FItems.begin() + AIndex);
  item->SetOnChange({});
  item.reset();
  Changed({scStruct});
}

bool TdxSkinCustomObjectList::Remove(TdxSkinCustomObject* AItem) {
  const int index = IndexOfObject(AItem);
  if (index >= 0) Delete(index);
  return index >= 0;
}

void TdxSkinCustomObjectList::Clear() {
  if (FItems.empty()) return;
  for (auto& item : FItems) item->SetOnChange({});
  FItems.clear();
  Changed({scStruct});
}

void TdxSkinCustomObjectList::Exchange(int AIndex1, int AIndex2) {
  std::swap(FItems.at(AIndex1), FItems.at(AIndex2));
  Changed({scStruct});
}

bool TdxSkinCustomObjectList::Find(const String& AName, TdxSkinCustomObject*& AObject) {
  if (!FSorted) Sort(false);
  const auto it = std::lower_bound(FItems.begin(), FItems.end(), AName, [](const auto& item, const String& name) {
    return AnsiCompareStr(item->Name(), name) < 0;
  });
  AObject = it != FItems.end() && AnsiCompareStr((*it)->Name(), AName) == 0 ? it->get() : nullptr;
  return AObject != nullptr;
}

int TdxSkinCustomObjectList::IndexOf(const String& AName) const {
  for (int i = 0; i < Count(); ++i)
    if (FItems[i]->Name() == AName) return i;
  return -1;
}

int TdxSkinCustomObjectList::IndexOfObject(const TdxSkinCustomObject* AObject) const {
  for (int i = 0; i < Count(); ++i)
    if (FItems[i].get() == AObject) return i;
  return -1;
}

void TdxSkinCustomObjectList::Sort(bool ASortChildren) {
  std::stable_sort(FItems.begin(), FItems.end(),
                   [](const auto& a, const auto& b) { return AnsiCompareStr(a->Name(), b->Name()) < 0; });
  FSorted = true;
  if (ASortChildren) SortChildren();
}

void TdxSkinCustomObjectList::FlushCache() {
  for (auto& item : FItems) item->FlushCache();
}

void TdxSkinCustomObjectList::EndUpdate() {
  if (--FUpdateCount == 0) Changed({});
}

void TdxSkinCustomObjectList::Changed(TdxSkinChanges AChanges) {
  // Any change may be a rename: the order is checked again on the next Find.
  if (AChanges.Contains(scStruct)) FSorted = false;
  FChanges += AChanges;
  if (FUpdateCount > 0 || FChanges.Empty()) return;
  const TdxSkinChanges changes = std::exchange(FChanges, {});
  if (FOnChange) FOnChange(this, changes);
}

void TdxSkinCustomObjectList::ItemChanged(TObject*, TdxSkinChanges AChanges) { Changed(AChanges); }

// ---------------------------------------------------------------------------
// TdxSkinProperties

TdxSkinProperty* TdxSkinProperties::Items(int AIndex) const {
  return static_cast<TdxSkinProperty*>(inherited::Items(AIndex));
}

TClass TdxSkinProperties::ItemClass() const { return FItemClass ? FItemClass : TdxSkinProperty::ClassInfo(); }

void TdxSkinProperties::SortChildren() {
  for (int i = 0; i < Count(); ++i)
    if (auto* list = dynamic_cast<TdxSkinCustomListProperty*>(Items(i))) list->Sort(true);
}

TClass TdxSkinColors::ItemClass() const { return TdxSkinColor::ClassInfo(); }

// ---------------------------------------------------------------------------
// TdxSkinPersistent

void TdxSkinPersistent::Create(TPersistent* AOwner, const String& AName) {
  inherited::Create(AOwner, AName);
  FProperties.reset(New<TdxSkinProperties>(this, BindEvent<&TdxSkinPersistent::SubItemChanged>(this)));
}

void TdxSkinPersistent::Destroy() {
  FProperties.reset();
  inherited::Destroy();
}

void TdxSkinPersistent::Clear() { FProperties->Clear(); }

void TdxSkinPersistent::DeleteProperty(TdxSkinProperty* AProperty) { FProperties->Remove(AProperty); }

void TdxSkinPersistent::Sort(bool ASortChildren) { FProperties->Sort(ASortChildren); }

void TdxSkinPersistent::FlushCache() { FProperties->FlushCache(); }

TdxSkinProperty* TdxSkinPersistent::AddProperty(const String& AName, TClass AClass) {
  TOwned<TdxSkinCustomObject> created(NewOfClass<TdxSkinProperty>(AClass, this, AName));
  auto* result = static_cast<TdxSkinProperty*>(created.get());
  FProperties->Add(std::move(created));
  return result;
}

TdxSkinProperty* TdxSkinPersistent::AddPropertyBool(const String& AName, bool AValue) {
  return WithUpdate(this, [&] {
    auto* p = static_cast<TdxSkinBooleanProperty*>(AddProperty(AName, TdxSkinBooleanProperty::ClassInfo()));
    p->SetValue(AValue);
    return static_cast<TdxSkinProperty*>(p);
  });
}

TdxSkinProperty* TdxSkinPersistent::AddPropertyColor(const String& AName, TColor AValue) {
  return WithUpdate(this, [&] {
    auto* p = static_cast<TdxSkinColor*>(AddProperty(AName, TdxSkinColor::ClassInfo()));
    p->SetValue(AValue);
    return static_cast<TdxSkinProperty*>(p);
  });
}

TdxSkinProperty* TdxSkinPersistent::AddPropertyInteger(const String& AName, int AValue) {
  return WithUpdate(this, [&] {
    auto* p = static_cast<TdxSkinIntegerProperty*>(AddProperty(AName, TdxSkinIntegerProperty::ClassInfo()));
    p->SetValue(AValue);
    return static_cast<TdxSkinProperty*>(p);
  });
}

void TdxSkinPersistent::DeletePropertyByName(const String& AName) {
  if (TdxSkinProperty* p = GetPropertyByName(AName)) DeleteProperty(p);
}

TdxSkinProperty* TdxSkinPersistent::GetPropertyByName(const String& AName) const {
  TdxSkinCustomObject* found = nullptr;
  FProperties->Find(AName, found);
  return static_cast<TdxSkinProperty*>(found);
}

bool TdxSkinPersistent::GetPropertyByName(const String& AName, TdxSkinProperty*& AProperty) const {
  AProperty = GetPropertyByName(AName);
  return AProperty != nullptr;
}

void TdxSkinPersistent::DoAssign(TdxSkinCustomObject* ASource) {
  inherited::DoAssign(ASource);
  auto* source = dynamic_cast<TdxSkinPersistent*>(ASource);
  if (!source) return;
  FProperties->Clear();
  for (int i = 0; i < source->PropertyCount(); ++i) {
    TdxSkinProperty* from = source->GetProperty(i);
    AddProperty(from->Name(), from->ClassType())->Assign(from);
  }
}

void TdxSkinPersistent::DoChanged(TdxSkinChanges AChanges) {
  if (!AChanges.Empty()) FModified = true;
  inherited::DoChanged(AChanges);
}

void TdxSkinPersistent::SubItemChanged(TObject*, TdxSkinChanges AChanges) { Changed(AChanges); }

// ---------------------------------------------------------------------------
// TdxSkinProperty

String TdxSkinProperty::Description() const {
  String result = ClassName();
  for (const String& part : {String(L"TdxSkin"), String(L"Property")}) {
    for (std::size_t at = 0; at + part.size() <= result.size();) {
      if (SameAsciiText(result.substr(at, part.size()), part))
        result.erase(at, part.size());
      else
        ++at;
    }
  }
  return result;
}

bool TdxSkinProperty::Compare(TdxSkinProperty* AProperty) {
  return AProperty && SameAsciiText(Name(), AProperty->Name()) && ClassType() == AProperty->ClassType();
}

void TdxSkinProperty::Register(TClass AClass) {
  auto& classes = PropertyClasses();
  if (std::find(classes.begin(), classes.end(), AClass) == classes.end()) classes.push_back(AClass);
  RegisterClass(AClass);
}

void TdxSkinProperty::Unregister(TClass AClass) {
  auto& classes = PropertyClasses();
  std::erase(classes, AClass);
  if (classes.empty()) classes.shrink_to_fit();
  UnRegisterClass(AClass);
}

TClass TdxSkinProperty::FindPropertyClass(const String& AClassName) {
  const TClass found = FindClass(AClassName);
  // A registered class that is no property (an element, a group, an image)
  // would be created and used as one.
  if (!found->InheritsFrom(TdxSkinProperty::ClassInfo()))
    throw EClassNotFound(L"Klasse %s nicht gefunden", {AClassName});
  return found;
}

// ---------------------------------------------------------------------------
// Value properties

void TdxSkinIntegerProperty::SetValue(int AValue) { SetField(this, FValue, AValue); }

bool TdxSkinIntegerProperty::Compare(TdxSkinProperty* AProperty) {
  return inherited::Compare(AProperty) && FValue == static_cast<TdxSkinIntegerProperty*>(AProperty)->FValue;
}

void TdxSkinIntegerProperty::DoAssign(TdxSkinCustomObject* ASource) {
  inherited::DoAssign(ASource);
  if (auto* source = dynamic_cast<TdxSkinIntegerProperty*>(ASource)) SetValue(source->FValue);
}

void TdxSkinBooleanProperty::SetValue(bool AValue) { SetField(this, FValue, AValue); }

bool TdxSkinBooleanProperty::Compare(TdxSkinProperty* AProperty) {
  return inherited::Compare(AProperty) && FValue == static_cast<TdxSkinBooleanProperty*>(AProperty)->FValue;
}

void TdxSkinBooleanProperty::DoAssign(TdxSkinCustomObject* ASource) {
  inherited::DoAssign(ASource);
  if (auto* source = dynamic_cast<TdxSkinBooleanProperty*>(ASource)) SetValue(source->FValue);
}

void TdxSkinColor::Create(TPersistent* AOwner, const String& AName) {
  inherited::Create(AOwner, AName);
}

void TdxSkinColor::SetValue(TColor AValue) {
  if (FValue.ValueReference().empty() && FValue.StoredValue() == AValue) return;
  FValue.SetValue(AValue);
  Changed({scContent});
}

void TdxSkinColor::SetValueReference(const String& AValue) {
  if (FValue.ValueReference() == AValue) return;
  FValue.SetValueReference(AValue);
  Changed({scContent});
}

TdxAlphaColor TdxSkinColor::ValueAsAlphaColor() const { return ColorToAlphaColor(Value(), 255); }

bool TdxSkinColor::Compare(TdxSkinProperty* AProperty) {
  return inherited::Compare(AProperty) && FValue == static_cast<TdxSkinColor*>(AProperty)->FValue;
}

void TdxSkinColor::DoAssign(TdxSkinCustomObject* ASource) {
  inherited::DoAssign(ASource);
  if (auto* source = dynamic_cast<TdxSkinColor*>(ASource)) {
    FValue.Assign(source->FValue);
    Changed({scContent});
  }
}

void TdxSkinAlphaColor::Create(TPersistent* AOwner, const String& AName) {
  inherited::Create(AOwner, AName);
  FValueAlpha = 255;
}

void TdxSkinAlphaColor::SetValueAlpha(std::uint8_t AValue) { SetField(this, FValueAlpha, AValue); }

TdxAlphaColor TdxSkinAlphaColor::ValueAsAlphaColor() const { return ColorToAlphaColor(Value(), FValueAlpha); }

bool TdxSkinAlphaColor::Compare(TdxSkinProperty* AProperty) {
  return inherited::Compare(AProperty) && FValueAlpha == static_cast<TdxSkinAlphaColor*>(AProperty)->FValueAlpha;
}

void TdxSkinAlphaColor::DoAssign(TdxSkinCustomObject* ASource) {
  inherited::DoAssign(ASource);
  if (auto* source = dynamic_cast<TdxSkinAlphaColor*>(ASource)) SetValueAlpha(source->FValueAlpha);
}

void TdxSkinRectProperty::SetValue(const TRect& AValue) { SetField(this, FValue, AValue); }

bool TdxSkinRectProperty::Compare(TdxSkinProperty* AProperty) {
  return inherited::Compare(AProperty) && FValue == static_cast<TdxSkinRectProperty*>(AProperty)->FValue;
}

void TdxSkinRectProperty::DoAssign(TdxSkinCustomObject* ASource) {
  inherited::DoAssign(ASource);
  if (auto* source = dynamic_cast<TdxSkinRectProperty*>(ASource)) SetValue(source->FValue);
}

void TdxSkinSizeProperty::SetValue(const TSize& AValue) { SetField(this, FValue, AValue); }

bool TdxSkinSizeProperty::Compare(TdxSkinProperty* AProperty) {
  return inherited::Compare(AProperty) && FValue == static_cast<TdxSkinSizeProperty*>(AProperty)->FValue;
}

void TdxSkinSizeProperty::DoAssign(TdxSkinCustomObject* ASource) {
  inherited::DoAssign(ASource);
  if (auto* source = dynamic_cast<TdxSkinSizeProperty*>(ASource)) SetValue(source->FValue);
}

void TdxSkinStringProperty::SetValue(const String& AValue) { SetField(this, FValue, AValue); }

bool TdxSkinStringProperty::Compare(TdxSkinProperty* AProperty) {
  return inherited::Compare(AProperty) &&
         AnsiCompareStr(FValue, static_cast<TdxSkinStringProperty*>(AProperty)->FValue) == 0;
}

void TdxSkinStringProperty::DoAssign(TdxSkinCustomObject* ASource) {
  inherited::DoAssign(ASource);
  if (auto* source = dynamic_cast<TdxSkinStringProperty*>(ASource)) SetValue(source->FValue);
}

// ---------------------------------------------------------------------------
// Borders

void TdxSkinBorder::Create(TPersistent* AOwner, TcxBorder AKind) {
  static const wchar_t* const names[] = {L"Left", L"Top", L"Right", L"Bottom"};
  inherited::Create(AOwner, names[AKind]);
  FKind = AKind;
  FThin = 1;
}

void TdxSkinBorder::SetColor(TColor AValue) {
  if (FColor.ValueReference().empty() && FColor.StoredValue() == AValue) return;
  FColor.SetValue(AValue);
  Changed({scContent});
}

void TdxSkinBorder::SetColorReference(const String& AValue) {
  if (FColor.ValueReference() == AValue) return;
  FColor.SetValueReference(AValue);
  Changed({scContent});
}

void TdxSkinBorder::SetThin(int AValue) { SetField(this, FThin, AValue); }

void TdxSkinBorder::ResetToDefaults() {
  WithUpdate(this, [&] {
    SetColor(clNone);
    SetThin(1);
  });
}

bool TdxSkinBorder::Compare(TdxSkinProperty* AProperty) {
  auto* other = dynamic_cast<TdxSkinBorder*>(AProperty);
  return other && FKind == other->FKind && FThin == other->FThin && FColor == other->FColor;
}

void TdxSkinBorder::DoAssign(TdxSkinCustomObject* ASource) {
  auto* source = dynamic_cast<TdxSkinBorder*>(ASource);
  if (!source) return;
  FColor.Assign(source->FColor);
  SetThin(source->FThin);
  Changed({scContent});
}

void TdxSkinBorders::Create(TPersistent* AOwner, const String& AName) {
  inherited::Create(AOwner, AName);
  for (TcxBorder side : {bLeft, bTop, bRight, bBottom}) {
    FBorders[side].reset(New<TdxSkinBorder>(this, side));
    FBorders[side]->SetOnChange(BindEvent<&TdxSkinBorders::BorderChanged>(this));
  }
}

void TdxSkinBorders::Destroy() {
  for (auto& border : FBorders) border.reset();
  inherited::Destroy();
}

TRect TdxSkinBorders::ContentMargins() const {
  return TRect(Left()->ContentMargin(), Top()->ContentMargin(), Right()->ContentMargin(), Bottom()->ContentMargin());
}

void TdxSkinBorders::ResetToDefaults() {
  WithUpdate(this, [&] {
    for (auto& border : FBorders) border->ResetToDefaults();
  });
}

bool TdxSkinBorders::Compare(TdxSkinProperty* AProperty) {
  auto* other = dynamic_cast<TdxSkinBorders*>(AProperty);
  if (!other) return false;
  for (std::size_t i = 0; i < FBorders.size(); ++i)
    if (!FBorders[i]->Compare(other->FBorders[i].get())) return false;
  return true;
}

void TdxSkinBorders::FlushCache() {
  for (auto& border : FBorders) border->FlushCache();
}

void TdxSkinBorders::DoAssign(TdxSkinCustomObject* ASource) {
  auto* source = dynamic_cast<TdxSkinBorders*>(ASource);
  if (!source) return;
  for (std::size_t i = 0; i < FBorders.size(); ++i) FBorders[i]->Assign(source->FBorders[i].get());
}

// ---------------------------------------------------------------------------
// TdxSkinAlternateImageAttributes

void TdxSkinAlternateImageAttributes::Create(TPersistent* AOwner, const String& AName) {
  inherited::Create(AOwner, AName);
  FAlpha = 255;
  FBorders.reset(New<TdxSkinBorders>(this, L"Borders"));
  FBordersInner.reset(New<TdxSkinBorders>(this, L"BordersInner"));
  FBorders->SetOnChange(BindEvent<&TdxSkinAlternateImageAttributes::PartChanged>(this));
  FBordersInner->SetOnChange(BindEvent<&TdxSkinAlternateImageAttributes::PartChanged>(this));
}

void TdxSkinAlternateImageAttributes::Destroy() {
  FBorders.reset();
  FBordersInner.reset();
  inherited::Destroy();
}

void TdxSkinAlternateImageAttributes::SetAlpha(std::uint8_t AValue) { SetField(this, FAlpha, AValue); }
void TdxSkinAlternateImageAttributes::SetContentOffsets(const TRect& AValue) {
  SetField(this, FContentOffsets, AValue);
}
void TdxSkinAlternateImageAttributes::SetGradient(TdxSkinGradientMode AValue) { SetField(this, FGradient, AValue); }

void TdxSkinAlternateImageAttributes::SetGradientBeginColor(TColor AValue) {
  FGradientBeginColor.SetValue(AValue);
  Changed({scContent});
}

void TdxSkinAlternateImageAttributes::SetGradientEndColor(TColor AValue) {
  FGradientEndColor.SetValue(AValue);
  Changed({scContent});
}

bool TdxSkinAlternateImageAttributes::Compare(TdxSkinProperty* AProperty) {
  if (!inherited::Compare(AProperty)) return false;
  auto* other = static_cast<TdxSkinAlternateImageAttributes*>(AProperty);
  return FAlpha == other->FAlpha && FGradient == other->FGradient && FContentOffsets == other->FContentOffsets &&
         FGradientBeginColor == other->FGradientBeginColor && FGradientEndColor == other->FGradientEndColor &&
         FBorders->Compare(other->FBorders.get()) && FBordersInner->Compare(other->FBordersInner.get());
}

void TdxSkinAlternateImageAttributes::FlushCache() {
  FGradientBeginColor.FlushCache();
  FGradientEndColor.FlushCache();
  FBorders->FlushCache();
  FBordersInner->FlushCache();
}

void TdxSkinAlternateImageAttributes::DoAssign(TdxSkinCustomObject* ASource) {
  inherited::DoAssign(ASource);
  auto* source = dynamic_cast<TdxSkinAlternateImageAttributes*>(ASource);
  if (!source) return;
  SetAlpha(source->FAlpha);
  SetGradient(source->FGradient);
  SetContentOffsets(source->FContentOffsets);
  FGradientBeginColor.Assign(source->FGradientBeginColor);
  FGradientEndColor.Assign(source->FGradientEndColor);
  FBorders->Assign(source->FBorders.get());
  FBordersInner->Assign(source->FBordersInner.get());
  Changed({scContent});
}

// ---------------------------------------------------------------------------
// List properties and palettes

void TdxSkinCustomListProperty::Create(TPersistent* AOwner, const String& AName) {
  inherited::Create(AOwner, AName);
  FProperties = CreateProperties();
}

void TdxSkinCustomListProperty::Destroy() {
  FProperties.reset();
  inherited::Destroy();
}

TOwned<TdxSkinProperties> TdxSkinCustomListProperty::CreateProperties() {
  TOwned<TdxSkinProperties> list(New<TdxSkinProperties>(this, BindEvent<&TdxSkinCustomListProperty::ItemsChanged>(this)));
  return list;
}

void TdxSkinCustomListProperty::Clear() { FProperties->Clear(); }

void TdxSkinCustomListProperty::Delete(TdxSkinProperty* AProperty) { FProperties->Remove(AProperty); }

void TdxSkinCustomListProperty::Delete(int AIndex) { FProperties->Delete(AIndex); }

void TdxSkinCustomListProperty::Delete(const String& AName) {
  if (TdxSkinProperty* found = nullptr; Find(AName, found)) Delete(found);
}

bool TdxSkinCustomListProperty::Find(const String& AName, TdxSkinProperty*& AProperty) {
  TdxSkinCustomObject* found = nullptr;
  FProperties->Find(AName, found);
  AProperty = static_cast<TdxSkinProperty*>(found);
  return AProperty != nullptr;
}

bool TdxSkinCustomListProperty::Compare(TdxSkinProperty* AProperty) {
  if (!inherited::Compare(AProperty)) return false;
  auto* other = static_cast<TdxSkinCustomListProperty*>(AProperty);
  if (Count() != other->Count()) return false;
  for (int i = 0; i < Count(); ++i)
    if (!GetItem(i)->Compare(other->GetItem(i))) return false;
  return true;
}

void TdxSkinCustomListProperty::DoAssign(TdxSkinCustomObject* ASource) {
  inherited::DoAssign(ASource);
  auto* source = dynamic_cast<TdxSkinCustomListProperty*>(ASource);
  if (!source) return;
  WithUpdate(FProperties.get(), [&] {
    FProperties->Clear();
    for (int i = 0; i < source->Count(); ++i) {
      TdxSkinProperty* from = source->GetItem(i);
      TOwned<TdxSkinCustomObject> copy(NewOfClass<TdxSkinProperty>(from->ClassType(), this, from->Name()));
      copy->Assign(from);
      FProperties->Add(std::move(copy));
    }
  });
}

void TdxSkinColorPalette::Create(TPersistent* AOwner, const String& AName) {
  FDefaultColorClass = TdxSkinColor::ClassInfo();
  if (auto* palettes = dynamic_cast<TdxSkinColorPalettes*>(AOwner)) FDefaultColorClass = palettes->DefaultColorClass();
  inherited::Create(AOwner, AName);
}

TOwned<TdxSkinProperties> TdxSkinColorPalette::CreateProperties() {
  TOwned<TdxSkinProperties> list(New<TdxSkinColors>(this, BindEvent<&TdxSkinColorPalette::ItemsChanged>(this)));
  return list;
}

TdxSkinColor* TdxSkinColorPalette::Add(const String& AName, TColor AValue) {
  return WithUpdate(this, [&] {
    TOwned<TdxSkinCustomObject> color(NewOfClass<TdxSkinColor>(FDefaultColorClass, this, AName));
    auto* result = static_cast<TdxSkinColor*>(color.get());
    result->SetValue(AValue);
    Properties()->Add(std::move(color));
    return result;
  });
}

TdxSkinColor* TdxSkinColorPalette::Add(const String& AName, const String& AValueReference) {
  return WithUpdate(this, [&] {
    TdxSkinColor* result = Add(AName, clDefault);
    result->SetValueReference(AValueReference);
    return result;
  });
}

void TdxSkinColorPalettes::Create(TPersistent* AOwner, const String& AName) {
  FDefaultColorClass = TdxSkinColor::ClassInfo();
  inherited::Create(AOwner, AName);
}

TOwned<TdxSkinProperties> TdxSkinColorPalettes::CreateProperties() {
  TOwned<TdxSkinProperties> list(New<TdxSkinProperties>(this, BindEvent<&TdxSkinColorPalettes::ItemsChanged>(this)));
  list->SetItemClass(TdxSkinColorPalette::ClassInfo());
  return list;
}

TdxSkinColorPalette* TdxSkinColorPalettes::Add(const String& AName) {
  TOwned<TdxSkinCustomObject> palette(New<TdxSkinColorPalette>(this, AName));
  auto* result = static_cast<TdxSkinColorPalette*>(palette.get());
  Properties()->Add(std::move(palette));
  return result;
}

TdxSkinColorPalette* TdxSkinColorPalettes::Items(int AIndex) const {
  return dynamic_cast<TdxSkinColorPalette*>(GetItem(AIndex));
}

// ---------------------------------------------------------------------------
// TdxSkinImage

void TdxSkinImage::Create(TdxSkinElement* AOwner) {
  inherited::Create();
  FOwner = AOwner;
  FImageCount = 1;
  FStates = {esNormal};
  FColorPalettes.reset(New<TdxSkinColorPalettes>(this, String()));
  FColorPalettes->SetDefaultColorClass(TdxSkinAlphaColor::ClassInfo());
  FColorPalettes->SetOnChange(BindEvent<&TdxSkinImage::PalettesChanged>(this));
  FTexture.reset(New<TdxSmartImage>());
}

void TdxSkinImage::Destroy() {
  FOnChange = {};
  FColorPalettes.reset();
  FTexture.reset();
  inherited::Destroy();
}

TPersistent* TdxSkinImage::GetOwner() { return FOwner; }

void TdxSkinImage::Changed() { CallEvent(FOnChange, this); }

void TdxSkinImage::Assign(TPersistent* ASource) {
  auto* source = dynamic_cast<TdxSkinImage*>(ASource);
  if (!source) return;
  if (source->Empty()) {
    Clear();
  } else {
    FTexture->Assign(source->FTexture.get());
    FSourceName = source->FSourceName;
  }
  FColorPalettes->Assign(source->FColorPalettes.get());
  FGradientEndColor.Assign(source->FGradientEndColor);
  FGradientBeginColor.Assign(source->FGradientBeginColor);
  FGradient = source->FGradient;
  FImageCount = source->FImageCount;
  FImageLayout = source->FImageLayout;
  FMargins = source->FMargins;
  FMarginsScaled = source->FMarginsScaled;
  FStretch = source->FStretch;
  FStates = source->FStates;
  FInterpolationMode = source->FInterpolationMode;
  Changed();
}

void TdxSkinImage::Clear() {
  if (Empty()) return;
  FSourceName.clear();
  FTexture->Clear();
  Changed();
}

bool TdxSkinImage::Compare(TdxSkinImage* AImage) {
  if (!AImage || FImageLayout != AImage->FImageLayout || Empty() != AImage->Empty() || FStates != AImage->FStates ||
      FGradient != AImage->FGradient || FStretch != AImage->FStretch || FImageCount != AImage->FImageCount ||
      !FColorPalettes->Compare(AImage->FColorPalettes.get()) || FMargins != AImage->FMargins ||
      FMarginsScaled != AImage->FMarginsScaled || FInterpolationMode != AImage->FInterpolationMode ||
      !(FGradientBeginColor == AImage->FGradientBeginColor) || !(FGradientEndColor == AImage->FGradientEndColor))
    return false;
  return Empty() || FTexture->Compare(AImage->FTexture.get());
}

void TdxSkinImage::FlushCache() {
  FGradientBeginColor.FlushCache();
  FGradientEndColor.FlushCache();
  FColorPalettes->FlushCache();
}

template <class T>
static void SetImageField(TdxSkinImage* AImage, T& AField, const T& AValue, void (TdxSkinImage::*AChanged)()) {
  if (AField == AValue) return;
  AField = AValue;
  (AImage->*AChanged)();
}

void TdxSkinImage::SetGradient(TdxSkinGradientMode AValue) { SetImageField(this, FGradient, AValue, &TdxSkinImage::Changed); }
void TdxSkinImage::SetGradientBeginColor(TColor AValue) {
  FGradientBeginColor.SetValue(AValue);
  Changed();
}
void TdxSkinImage::SetGradientBeginColorReference(const String& AValue) {
  FGradientBeginColor.SetValueReference(AValue);
  Changed();
}
void TdxSkinImage::SetGradientEndColor(TColor AValue) {
  FGradientEndColor.SetValue(AValue);
  Changed();
}
void TdxSkinImage::SetGradientEndColorReference(const String& AValue) {
  FGradientEndColor.SetValueReference(AValue);
  Changed();
}
void TdxSkinImage::SetImageCount(int AValue) {
  SetImageField(this, FImageCount, std::max(AValue, 1), &TdxSkinImage::Changed);
}
void TdxSkinImage::SetImageLayout(TdxSkinImageLayout AValue) {
  SetImageField(this, FImageLayout, AValue, &TdxSkinImage::Changed);
}
void TdxSkinImage::SetInterpolationMode(TdxGPInterpolationMode AValue) {
  SetImageField(this, FInterpolationMode, AValue, &TdxSkinImage::Changed);
}
void TdxSkinImage::SetMargins(const TRect& AValue) { SetImageField(this, FMargins, AValue, &TdxSkinImage::Changed); }
void TdxSkinImage::SetMarginsScaled(bool AValue) {
  SetImageField(this, FMarginsScaled, AValue, &TdxSkinImage::Changed);
}
void TdxSkinImage::SetStates(TdxSkinElementStates AValue) {
  SetImageField(this, FStates, AValue, &TdxSkinImage::Changed);
}
void TdxSkinImage::SetStretch(TdxSkinStretchMode AValue) {
  SetImageField(this, FStretch, AValue, &TdxSkinImage::Changed);
}

int TdxSkinImage::StateCount() const {
  int count = 0;
  for (int s = esNormal; s <= esCheckPressed; ++s) count += FStates.Contains(static_cast<TdxSkinElementState>(s));
  return count;
}

// ---------------------------------------------------------------------------
// TdxSkinElement

void TdxSkinElement::Create(TPersistent* AOwner, const String& AName) {
  inherited::Create(AOwner, AName);
  FAlpha = 255;
  FCacheCapacity = 8;
  FBorders.reset(New<TdxSkinBorders>(this, L"Borders"));
  FBorders->SetOnChange(BindEvent<&TdxSkinElement::SubItemChanged>(this));
  FGlyph.reset(New<TdxSkinImage>(this));
  FImage.reset(New<TdxSkinImage>(this));
  FGlyph->SetOnChange(BindEvent<&TdxSkinElement::ImageChanged>(this));
  FImage->SetOnChange(BindEvent<&TdxSkinElement::ImageChanged>(this));
}

void TdxSkinElement::Destroy() {
  FCache.reset();
  FGlyph.reset();
  FImage.reset();
  FBorders.reset();
  inherited::Destroy();
}

bool TdxSkinElement::Compare(TdxSkinElement* AElement) {
  if (!AElement || !SameAsciiText(Name(), AElement->Name()) || Color() != AElement->Color() ||
      FAlpha != AElement->FAlpha || TextColor() != AElement->TextColor() || FMinSize != AElement->FMinSize ||
      FContentOffset != AElement->FContentOffset || !FBorders->Compare(AElement->FBorders.get()) ||
      PropertyCount() != AElement->PropertyCount())
    return false;
  for (int i = 0; i < PropertyCount(); ++i)
    if (!GetProperty(i)->Compare(AElement->GetProperty(i))) return false;
  return FImage->Compare(AElement->FImage.get()) && FGlyph->Compare(AElement->FGlyph.get());
}

void TdxSkinElement::FlushCache() {
  inherited::FlushCache();
  FColor.FlushCache();
  FTextColor.FlushCache();
  FBorders->FlushCache();
  FImage->FlushCache();
  FGlyph->FlushCache();
}

TdxSkinAlternateImageAttributes* TdxSkinElement::AddAlternateImageAttributes(TdxSkinElementState AState,
                                                                               int AImageIndex) {
  const String name = L"AlternateImage" + IntToStr(AImageIndex + 1) + dxSkinElementStateName(AState);
  return static_cast<TdxSkinAlternateImageAttributes*>(
      AddProperty(name, TdxSkinAlternateImageAttributes::ClassInfo()));
}

TColor TdxSkinElement::FindColor(const String& AName, const String& ANamePrefix) const {
  if (AName.empty()) return clDefault;
  auto* color = dynamic_cast<TdxSkinColor*>(GetPropertyByName(ANamePrefix + AName));
  return color ? color->Value() : clDefault;
}

TColor TdxSkinElement::GetTextColor(TdxSkinElementState AState, const String& ANamePrefix) const {
  const TColor color = FindColor(L"TextColor" + dxSkinElementStateName(AState), ANamePrefix);
  if (color != clDefault) return color;
  if (!ANamePrefix.empty() && AState != esNormal) return GetTextColor(esNormal, ANamePrefix);
  return TextColor();
}

TColor TdxSkinElement::GetTextColor(TcxButtonState AState, const String& ANamePrefix) const {
  static constexpr std::array<const wchar_t*, cxButtonStateCount> names = {
      L"TextColorSelected", L"TextColor", L"TextColorHot", L"TextColorPressed", L"TextColorDisabled"};
  TColor color = FindColor(names[AState], ANamePrefix);
  if (color == clDefault && AState == cxbsDisabled) color = FindColor(L"DisabledText", ANamePrefix);
  if (color != clDefault) return color;
  if (!ANamePrefix.empty() && AState != cxbsNormal) return GetTextColor(cxbsNormal, ANamePrefix);
  return TextColor();
}

TColor TdxSkinElement::GetTextColor(const String& AName) const {
  const TColor color = FindColor(AName);
  return color == clDefault ? TextColor() : color;
}

void TdxSkinElement::SetAlpha(std::uint8_t AValue) { SetField(this, FAlpha, AValue); }

void TdxSkinElement::SetColor(TColor AValue) {
  FColor.SetValue(AValue);
  Changed({scContent});
}

void TdxSkinElement::SetColorReference(const String& AValue) {
  FColor.SetValueReference(AValue);
  Changed({scContent});
}

void TdxSkinElement::SetContentOffset(const TRect& AValue) { SetField(this, FContentOffset, AValue); }
void TdxSkinElement::SetMinSize(const TSize& AValue) { SetField(this, FMinSize, AValue); }

void TdxSkinElement::SetTextColor(TColor AValue) {
  FTextColor.SetValue(AValue);
  Changed({scContent});
}

void TdxSkinElement::SetTextColorReference(const String& AValue) {
  FTextColor.SetValueReference(AValue);
  Changed({scContent});
}

// An element without an image draws little more than a fill: not worth a copy.
void TdxSkinElement::SetUseCache(bool AValue) {
  if (AValue && !FImage->Empty() && (!FImage->TextureIsVector() || FImage->Margins() != TRect())) {
    if (!FCache) FCache.reset(New<TdxSkinElementCacheList>(FCacheCapacity));
  } else {
    FCache.reset();
  }
  SetField(this, FUseCache, FCache != nullptr);
}

// How much is kept is no part of the skin: no change to report, and the
// entries that stay remain valid.
void TdxSkinElement::SetCacheCapacity(int AValue) {
  FCacheCapacity = std::max(AValue, 1);
  if (FCache) FCache->SetCapacity(FCacheCapacity);
}

void TdxSkinElement::DoChanged(TdxSkinChanges AChanges) {
  if (FCache) FCache->Clear();
  if (AChanges.Contains(scStruct)) FAlternateImageSetDirty = true;
  inherited::DoChanged(AChanges);
}
void TdxSkinElement::SetScaleBorders(bool AValue) { SetField(this, FScaleBorders, AValue); }

TdxSkinControlGroup* TdxSkinElement::Group() const { return dynamic_cast<TdxSkinControlGroup*>(Owner()); }

String TdxSkinElement::Path() const {
  TdxSkinControlGroup* group = Group();
  return group ? group->Name() + L"\\" : String();
}

void TdxSkinElement::DoAssign(TdxSkinCustomObject* ASource) {
  inherited::DoAssign(ASource);
  FAlternateImageSetDirty = true;
  auto* source = dynamic_cast<TdxSkinElement*>(ASource);
  if (!source) return;
  FImage->Assign(source->FImage.get());
  FGlyph->Assign(source->FGlyph.get());
  SetAlpha(source->FAlpha);
  SetContentOffset(source->FContentOffset);
  FBorders->Assign(source->FBorders.get());
  SetMinSize(source->FMinSize);
  FColor.Assign(source->FColor);
  FTextColor.Assign(source->FTextColor);
  SetUseCache(source->FUseCache);
  Changed({scContent});
}

void TdxSkinElements::SortChildren() {
  for (int i = 0; i < Count(); ++i) Items(i)->Sort(true);
}

// ---------------------------------------------------------------------------
// TdxSkinControlGroup

void TdxSkinControlGroup::Create(TPersistent* AOwner, const String& AName) {
  inherited::Create(AOwner, AName);
  FElements.reset(New<TdxSkinElements>(this, BindEvent<&TdxSkinControlGroup::SubItemChanged>(this)));
}

void TdxSkinControlGroup::Destroy() {
  FElements.reset();
  inherited::Destroy();
}

void TdxSkinControlGroup::Clear() {
  WithUpdate(this, [&] {
    inherited::Clear();
    FElements->Clear();
  });
}

void TdxSkinControlGroup::Sort(bool ASortChildren) {
  inherited::Sort(ASortChildren);
  FElements->Sort(ASortChildren);
}

void TdxSkinControlGroup::FlushCache() {
  inherited::FlushCache();
  FElements->FlushCache();
}

TdxSkinElement* TdxSkinControlGroup::AddElementEx(const String& AName, TClass AElementClass) {
  TOwned<TdxSkinCustomObject> element(NewOfClass<TdxSkinElement>(AElementClass, this, AName));
  auto* result = static_cast<TdxSkinElement*>(element.get());
  FElements->Add(std::move(element));
  return result;
}

void TdxSkinControlGroup::RemoveElementByName(const String& AName) {
  if (TdxSkinElement* element = GetElementByName(AName)) RemoveElement(element);
}

TdxSkinElement* TdxSkinControlGroup::GetElementByName(const String& AName) const {
  TdxSkinCustomObject* found = nullptr;
  FElements->Find(AName, found);
  return static_cast<TdxSkinElement*>(found);
}

bool TdxSkinControlGroup::GetElementByName(const String& AName, TdxSkinElement*& AElement) const {
  AElement = GetElementByName(AName);
  return AElement != nullptr;
}

bool TdxSkinControlGroup::HasMissingElements() const {
  if (State().Contains(sosUnassigned)) return true;
  for (int i = 0; i < Count(); ++i)
    if (GetElement(i)->State().Contains(sosUnassigned)) return true;
  return false;
}

TdxSkin* TdxSkinControlGroup::Skin() const { return dynamic_cast<TdxSkin*>(Owner()); }

bool TdxSkinControlGroup::Compare(TdxSkinControlGroup* AGroup) {
  if (!AGroup || Name() != AGroup->Name() || Count() != AGroup->Count() || PropertyCount() != AGroup->PropertyCount())
    return false;
  for (int i = 0; i < PropertyCount(); ++i)
    if (!GetProperty(i)->Compare(AGroup->GetProperty(i))) return false;
  for (int i = 0; i < Count(); ++i)
    if (!GetElement(i)->Compare(AGroup->GetElement(i))) return false;
  return true;
}

void TdxSkinControlGroup::DoAssign(TdxSkinCustomObject* ASource) {
  inherited::DoAssign(ASource);
  auto* source = dynamic_cast<TdxSkinControlGroup*>(ASource);
  if (!source) return;
  WithUpdate(FElements.get(), [&] {
    FElements->Clear();
    for (int i = 0; i < source->Count(); ++i) {
      TdxSkinElement* from = source->GetElement(i);
      AddElementEx(from->Name(), from->ClassType())->Assign(from);
    }
  });
}

void TdxSkinControlGroups::SortChildren() {
  for (int i = 0; i < Count(); ++i) Items(i)->Sort(true);
}

// ---------------------------------------------------------------------------
// TdxSkin

void TdxSkin::Create(TPersistent* AOwner, const String& AName) {
  FDetails.reset(New<TdxSkinDetails>());
  inherited::Create(AOwner, AName);
  FDetails->SetName(AName);
  FDetails->SetOnChange(BindEvent<&TdxSkin::DetailsChanged>(this));
  FColors.reset(New<TdxSkinColors>(this, BindEvent<&TdxSkin::SubItemChanged>(this)));
  FGroups.reset(New<TdxSkinControlGroups>(this, BindEvent<&TdxSkin::SubItemChanged>(this)));
  FColorPalettes.reset(New<TdxSkinColorPalettes>(this, L"ColorPalettes"));
  FColorPalettes->SetOnChange(BindEvent<&TdxSkin::PalettesChanged>(this));
  FColorPalette.reset(New<TdxSkinGeneralColorPalette>(this, L"Default"));
  FColorPalette->SetOnChange(BindEvent<&TdxSkin::SubItemChanged>(this));
}

void TdxSkin::Create(const String& AName, bool ALoadOnCreate, HINSTANCE AInstance) {
  Create(nullptr, AName);
  if (ALoadOnCreate) LoadFromResource(AInstance);
}

void TdxSkin::BeforeDestruction() {
  FDestroying = true;
  inherited::BeforeDestruction();
}

void TdxSkin::Destroy() {
  FDestroying = true;
  FListeners.clear();
  FColorPalette.reset();
  FColorPalettes.reset();
  FGroups.reset();
  FColors.reset();
  inherited::Destroy();
  FDetails.reset();
}

TOwned<TdxSkin> TdxSkin::Clone(const String& AName) {
  TOwned<TdxSkin> clone(NewOfClass<TdxSkin>(ClassType(), nullptr, AName));
  clone->Assign(this);
  return clone;
}

void TdxSkin::Clear() {
  WithUpdate(this, [&] {
    inherited::Clear();
    FColors->Clear();
    FGroups->Clear();
    FColorPalettes->Clear();
    FDetails->Clear();
  });
}

void TdxSkin::DeleteGroup(TdxSkinControlGroup* AGroup) { FGroups->Remove(AGroup); }

void TdxSkin::DeleteProperty(TdxSkinProperty* AProperty) {
  if (!Properties()->Remove(AProperty)) FColors->Remove(AProperty);
}

void TdxSkin::Sort(bool ASortChildren) {
  inherited::Sort(ASortChildren);
  FColors->Sort(ASortChildren);
  FGroups->Sort(ASortChildren);
}

void TdxSkin::FlushCache() {
  inherited::FlushCache();
  FColorPalette->FlushCache();
  FColorPalettes->FlushCache();
  FColors->FlushCache();
  FGroups->FlushCache();
}

bool TdxSkin::Compare(TdxSkin* ASkin) {
  if (!ASkin || Name() != ASkin->Name() || ColorCount() != ASkin->ColorCount() ||
      PropertyCount() != ASkin->PropertyCount() || GroupCount() != ASkin->GroupCount() ||
      !FColorPalettes->Compare(ASkin->FColorPalettes.get()) || DisplayName() != ASkin->DisplayName() ||
      FDetails->GroupName() != ASkin->FDetails->GroupName() || FDetails->Notes() != ASkin->FDetails->Notes())
    return false;
  for (int i = 0; i < ColorCount(); ++i)
    if (!GetColor(i)->Compare(ASkin->GetColor(i))) return false;
  for (int i = 0; i < PropertyCount(); ++i)
    if (!GetProperty(i)->Compare(ASkin->GetProperty(i))) return false;
  for (int i = 0; i < GroupCount(); ++i)
    if (!GetGroup(i)->Compare(ASkin->GetGroup(i))) return false;
  return true;
}

TdxSkinColor* TdxSkin::AddColor(const String& AName, TColor AColor) {
  return WithUpdate(this, [&] {
    TOwned<TdxSkinCustomObject> color(New<TdxSkinColor>(this, AName));
    auto* result = static_cast<TdxSkinColor*>(color.get());
    result->SetValue(AColor);
    FColors->Add(std::move(color));
    return result;
  });
}

TdxSkinControlGroup* TdxSkin::AddGroup(const String& AName) {
  TOwned<TdxSkinCustomObject> group(New<TdxSkinControlGroup>(this, AName));
  auto* result = static_cast<TdxSkinControlGroup*>(group.get());
  FGroups->Add(std::move(group));
  return result;
}

void TdxSkin::AddListener(IInterface* AListener) {
  if (!AListener) return;
  for (const auto& listener : FListeners)
    if (listener.Get() == AListener) return;
  FListeners.emplace_back(AListener);
}

void TdxSkin::RemoveListener(IInterface* AListener) {
  std::erase_if(FListeners, [AListener](const auto& listener) { return listener.Get() == AListener; });
}

void TdxSkin::ClearModified() {
  SetModified(false);
  for (int i = 0; i < GroupCount(); ++i) {
    TdxSkinControlGroup* group = GetGroup(i);
    group->SetModified(false);
    for (int j = 0; j < group->Count(); ++j) group->GetElement(j)->SetModified(false);
  }
}

TdxSkinColor* TdxSkin::GetColorByName(const String& AName) const {
  TdxSkinCustomObject* found = nullptr;
  FColors->Find(AName, found);
  return static_cast<TdxSkinColor*>(found);
}

TdxSkinControlGroup* TdxSkin::GetGroupByName(const String& AName) const {
  TdxSkinCustomObject* found = nullptr;
  FGroups->Find(AName, found);
  return static_cast<TdxSkinControlGroup*>(found);
}

bool TdxSkin::GetGroupByName(const String& AName, TdxSkinControlGroup*& AGroup) const {
  AGroup = GetGroupByName(AName);
  return AGroup != nullptr;
}

bool TdxSkin::HasMissingElements() const {
  for (int i = 0; i < GroupCount(); ++i)
    if (GetGroup(i)->HasMissingElements()) return true;
  return false;
}

const String& TdxSkin::DisplayName() const {
  return FDetails->DisplayName().empty() ? FDetails->Name() : FDetails->DisplayName();
}

void TdxSkin::SetActiveColorPaletteName(const String& AValue) {
  if (AValue == FColorPalette->Name()) return;
  ChooseActivePalette(AValue);
}

bool TdxSkin::GetColorByName(const String& AName, TColor& AColor) {
  TdxSkinProperty* found = nullptr;
  if (!FColorPalette || !FColorPalette->Find(AName, found)) return false;
  auto* color = dynamic_cast<TdxSkinColor*>(found);
  if (!color) return false;
  AColor = color->Value();
  return true;
}

void TdxSkin::ChooseActivePalette(const String& AName) {
  TdxSkinColorPalette* chosen = nullptr;
  for (const String& name : {AName, String(L"Default")}) {
    if (TdxSkinProperty* found = nullptr; FColorPalettes->Find(name, found)) {
      chosen = dynamic_cast<TdxSkinColorPalette*>(found);
      break;
    }
  }
  if (!chosen && FColorPalettes->Count() > 0) chosen = FColorPalettes->Items(0);
  WithUpdate(this, [&] {
    if (chosen) {
      FColorPalette->Assign(chosen);
    } else {
      FColorPalette->Clear();
      FColorPalette->SetName(L"Default");
    }
    Changed({scContent});
  });
}

void TdxSkin::PalettesChanged(TObject*, TdxSkinChanges AChanges) {
  WithUpdate(this, [&] {
    ChooseActivePalette(FColorPalette->Name());
    Changed(AChanges);
  });
}

void TdxSkin::DoAssign(TdxSkinCustomObject* ASource) {
  auto* source = dynamic_cast<TdxSkin*>(ASource);
  if (!source) return inherited::DoAssign(ASource);
  FDetails->Assign(source->FDetails.get());
  inherited::DoAssign(ASource);
  FColors->Clear();
  for (int i = 0; i < source->ColorCount(); ++i) {
    TdxSkinColor* from = source->GetColor(i);
    TOwned<TdxSkinCustomObject> color(NewOfClass<TdxSkinColor>(from->ClassType(), this, from->Name()));
    color->Assign(from);
    FColors->Add(std::move(color));
  }
  FGroups->Clear();
  for (int i = 0; i < source->GroupCount(); ++i) AddGroup(source->GetGroup(i)->Name())->Assign(source->GetGroup(i));
  FColorPalettes->Assign(source->FColorPalettes.get());
  ChooseActivePalette(source->ActiveColorPaletteName());
}

void TdxSkin::DoChanged(TdxSkinChanges AChanges) {
  if (FDestroying || AChanges.Empty()) return;
  FlushCache();
  BeginUpdate();
  {
    TScopeExit cancel([this] { CancelUpdate(); });
    for (std::size_t i = 0; i < FListeners.size(); ++i) {
      const IPtr<IInterface> listener = FListeners[i];
      if (auto second = Supports<IdxSkinChangeListener2>(listener.Get()))
        second->SkinChanged(this, AChanges);
      else if (auto first = Supports<IdxSkinChangeListener>(listener.Get()))
        first->SkinChanged(this);
    }
  }
  inherited::DoChanged(AChanges);
}

// ---------------------------------------------------------------------------
// TdxSkinDetails

void TdxSkinDetails::Create() {
  inherited::Create();
  for (auto& icon : FIcons) icon.reset(New<TdxSmartImage>());
}

void TdxSkinDetails::Destroy() {
  for (auto& icon : FIcons) icon.reset();
  inherited::Destroy();
}

void TdxSkinDetails::Assign(TPersistent* ASource) {
  auto* source = dynamic_cast<TdxSkinDetails*>(ASource);
  if (!source) return inherited::Assign(ASource);
  WithUpdate(this, [&] {
    SetDisplayName(source->FDisplayName);
    SetGroupName(source->FGroupName);
    SetName(source->FName);
    SetNotes(source->FNotes);
    for (std::size_t i = 0; i < FIcons.size(); ++i) FIcons[i]->Assign(source->FIcons[i].get());
    FDataOffset = source->FDataOffset;
    Changed();
  });
}

void TdxSkinDetails::Clear() {
  WithUpdate(this, [&] {
    SetDisplayName(String());
    SetGroupName(String());
    SetName(String());
    SetNotes(String());
    for (auto& icon : FIcons) icon->Clear();
    Changed();
  });
}

void TdxSkinDetails::BeginUpdate() { ++FUpdateCount; }

void TdxSkinDetails::EndUpdate() {
  if (--FUpdateCount == 0 && std::exchange(FChangedInUpdate, false)) Changed();
}

void TdxSkinDetails::ResetIcon(TdxSkinIconSize ASize) {
  static constexpr const wchar_t* names[] = {L"DEFAULTSKINICONSMALL", L"DEFAULTSKINICONLARGE"};
  LoadIcon(ASize, HInstance(), names[ASize], L"DXSKINS");
}

void TdxSkinDetails::LoadIcon(TdxSkinIconSize ASize, HINSTANCE AInstance, const String& AName, const wchar_t* AType) {
  if (FindResourceW(AInstance, AName.c_str(), AType))
    FIcons[ASize]->LoadFromResource(AInstance, AName, AType);
  else
    FIcons[ASize]->Clear();
}

void TdxSkinDetails::Changed() {
  if (FUpdateCount > 0) {
    FChangedInUpdate = true;
    return;
  }
  CallEvent(FOnChange, this);
}

void TdxSkinDetails::SetText(String& AField, const String& AValue) {
  if (AField == AValue) return;
  AField = AValue;
  Changed();
}

// ---------------------------------------------------------------------------
// Unit start and stop

namespace {

const std::array<TClass, 5>& PersistentClasses() {
  static const std::array<TClass, 5> classes = {TdxSkinControlGroup::ClassInfo(), TdxSkinElement::ClassInfo(),
                                                TdxSkinImage::ClassInfo(), TdxSkinColorPalette::ClassInfo(),
                                                TdxSkinAlphaColor::ClassInfo()};
  return classes;
}

const std::array<TClass, 9>& RegisteredPropertyClasses() {
  static const std::array<TClass, 9> classes = {
      TdxSkinAlternateImageAttributes::ClassInfo(), TdxSkinBooleanProperty::ClassInfo(),
      TdxSkinColor::ClassInfo(),                    TdxSkinColorPalettes::ClassInfo(),
      TdxSkinIntegerProperty::ClassInfo(),          TdxSkinRectProperty::ClassInfo(),
      TdxSkinSizeProperty::ClassInfo(),             TdxSkinStringProperty::ClassInfo(),
      TdxSkinWideStringProperty::ClassInfo()};
  return classes;
}

}  // namespace

TdxSkinElement* dxSkinEmptyElement() { return EmptyElement().get(); }

void dxSkinsCoreInitialization() {
  EmptyElement().reset(New<TdxSkinElement>(nullptr, String()));
  for (TClass c : PersistentClasses()) RegisterClass(c);
  for (TClass c : RegisteredPropertyClasses()) TdxSkinProperty::Register(c);
}

void dxSkinsCoreFinalization() {
  for (TClass c : RegisteredPropertyClasses()) TdxSkinProperty::Unregister(c);
  for (TClass c : PersistentClasses()) UnRegisterClass(c);
  EmptyElement().reset();
}
