// RzCommon: the property store and its collection of (component, property) pairs.
#include "components/settings/RzCommon.h"

#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"

// ---------------------------------------------------------------------------
// TRzPropertyItem

void TRzPropertyItem::Publish(TPublisher<TRzPropertyItem>& P) {
  P.Property(L"Component", &TRzPropertyItem::Component, &TRzPropertyItem::SetComponent);
  P.Property(L"PropertyName", &TRzPropertyItem::PropertyName, &TRzPropertyItem::SetPropertyName);
}

void TRzPropertyItem::Destroy() {
  FComponent = nullptr;
  inherited::Destroy();
}

void TRzPropertyItem::Assign(TPersistent* ASource) {
  if (auto* source = dynamic_cast<TRzPropertyItem*>(ASource)) {
    SetComponent(source->FComponent);
    SetPropertyName(source->FPropertyName);
    return;
  }
  inherited::Assign(ASource);
}

String TRzPropertyItem::DisplayName() {
  const String component = FComponent && !FComponent->Name().empty() ? FComponent->Name() : String(L"<CompName>");
  const String property = FPropertyName.empty() ? String(L"<PropName>") : FPropertyName;
  return component + L"." + property;
}

TRzPropertyStore* TRzPropertyItem::Store() const {
  auto* collection = dynamic_cast<TRzPropertyCollection*>(Collection());
  return collection ? collection->Store() : nullptr;
}

void TRzPropertyItem::SetComponent(TComponent* AValue) {
  if (FComponent == AValue) return;
  FComponent = AValue;
  // The store hears when the component goes, so no entry is left dangling.
  if (TRzPropertyStore* store = Store()) store->WatchComponent(AValue);
  Changed(false);
}

void TRzPropertyItem::SetPropertyName(const String& AValue) {
  if (FPropertyName == AValue) return;
  FPropertyName = AValue;
  Changed(false);
}

// ---------------------------------------------------------------------------
// TRzPropertyCollection

void TRzPropertyCollection::Create(TRzPropertyStore* AStore) {
  inherited::Create(AStore, TRzPropertyItem::ClassInfo());
  FStore = AStore;
}

TRzPropertyItem* TRzPropertyCollection::AddProperty(TComponent* AComponent, const String& APropertyName) {
  TRzPropertyItem* item = Add();
  item->SetComponent(AComponent);
  item->SetPropertyName(APropertyName);
  return item;
}

// ---------------------------------------------------------------------------
// TRzPropertyStore

void TRzPropertyStore::Publish(TPublisher<TRzPropertyStore>& P) {
  P.Property(L"Properties", &TRzPropertyStore::Properties, &TRzPropertyStore::SetProperties);
  P.Property(L"RegIniFile", &TRzPropertyStore::RegIniFile, &TRzPropertyStore::SetRegIniFile);
  P.Property(L"Section", &TRzPropertyStore::Section, &TRzPropertyStore::SetSection);
}

void TRzPropertyStore::Create(TComponent* AOwner) {
  inherited::Create(AOwner);
  FProperties.reset(New<TRzPropertyCollection>(this));
}

void TRzPropertyStore::Destroy() {
  FProperties.reset();
  inherited::Destroy();
}

void TRzPropertyStore::SetRegIniFile(TRzRegIniFile* AValue) {
  if (FRegIniFile == AValue) return;
  if (FRegIniFile) FRegIniFile->RemoveFreeNotification(this);
  FRegIniFile = AValue;
  if (FRegIniFile) FRegIniFile->FreeNotification(this);
}

void TRzPropertyStore::WatchComponent(TComponent* AComponent) {
  if (AComponent && AComponent != this) AComponent->FreeNotification(this);
}

void TRzPropertyStore::Notification(TComponent* AComponent, TOperation AOperation) {
  inherited::Notification(AComponent, AOperation);
  if (AOperation != opRemove) return;
  if (AComponent == FRegIniFile) FRegIniFile = nullptr;
  if (FProperties)
    for (int i = 0; i < FProperties->Count(); ++i)
      if (FProperties->Items(i)->Component() == AComponent) FProperties->Items(i)->SetComponent(nullptr);
}

TRzPropertyItem* TRzPropertyStore::AddProperty(TComponent* AComponent, const String& APropertyName) {
  return FProperties->AddProperty(AComponent, APropertyName);
}

String TRzPropertyStore::GetSectionName() {
  if (!FSection.empty()) return FSection;
  if (auto* form = dynamic_cast<TCustomForm*>(Owner()))
    return (form->Name().empty() ? form->ClassName() : form->Name()) + L"_Properties";
  return L"Properties";
}

void TRzPropertyStore::Save() {
  TransferAll(L"Cannot save property settings--No TRzRegIniFile component specified", &TRzPropertyStore::SaveValue);
}

void TRzPropertyStore::Load() {
  TransferAll(L"Cannot load property settings--No TRzRegIniFile component specified", &TRzPropertyStore::LoadValue);
}

void TRzPropertyStore::TransferAll(const wchar_t* AMissingStorage, TValueTransfer ATransfer) {
  if (!FRegIniFile) {
    MessageDlg(AMissingStorage, mtError, {mbOK}, 0);
    return;
  }
  FCurrentSection = GetSectionName();
  for (int i = 0; i < FProperties->Count(); ++i) {
    TRzPropertyItem* item = FProperties->Items(i);
    TComponent* component = item->Component();
    if (!component || item->PropertyName().empty()) continue;
    const TPropInfo* prop = GetPropInfo(component, item->PropertyName());
    if (!prop) continue;
    (this->*ATransfer)(component, prop, component->Name() + L"." + item->PropertyName(), true);
  }
}

// Values: ordinals as numbers, enumerations and sets by name, floats and
// strings as they are; objects only at the top level (collections, string
// lists, other persistent objects one level deep).
void TRzPropertyStore::SaveValue(TObject* AObject, const TPropInfo* AProp, const String& AKey, bool ATopLevel) {
  const String& section = FCurrentSection;
  switch (AProp->Kind()) {
    case tkInteger:
    case tkChar:
    case tkWChar:
      FRegIniFile->WriteInteger(section, AKey, static_cast<int>(GetOrdProp(AObject, AProp)));
      break;
    case tkEnumeration:
      FRegIniFile->WriteString(section, AKey, GetEnumName(AProp->PropType, GetOrdProp(AObject, AProp)));
      break;
    case tkFloat:
      FRegIniFile->WriteFloat(section, AKey, GetFloatProp(AObject, AProp));
      break;
    case tkString:
    case tkLString:
    case tkWString:
    case tkUString:
      FRegIniFile->WriteString(section, AKey, GetStrProp(AObject, AProp));
      break;
    case tkSet:
      FRegIniFile->WriteString(section, AKey, GetSetProp(AObject, AProp, false));
      break;
    case tkClass: {
      if (!ATopLevel) break;
      TObject* value = GetObjectProp(AObject, AProp);
      if (!value || Is<TComponent>(value)) break;
      if (auto* collection = dynamic_cast<TCollection*>(value)) SaveCollection(collection, AKey);
      else if (auto* strings = dynamic_cast<TStrings*>(value)) SaveStrings(strings, AKey);
      else if (auto* persistent = dynamic_cast<TPersistent*>(value)) SavePersistent(persistent, AKey);
      break;
    }
    default:
      break;
  }
}

void TRzPropertyStore::SaveCollection(TCollection* ACollection, const String& AKey) {
  if (ACollection->Count() == 0) return;
  FRegIniFile->WriteInteger(FCurrentSection, AKey + L"_Count", ACollection->Count());
  for (int i = 0; i < ACollection->Count(); ++i)
    SavePersistent(ACollection->Items(i), Format(L"%s[%d]", {AKey, i}));
}

void TRzPropertyStore::SaveStrings(TStrings* AStrings, const String& AKey) {
  if (AStrings->Count() == 0) return;
  FRegIniFile->WriteInteger(FCurrentSection, AKey + L"_Count", AStrings->Count());
  for (int i = 0; i < AStrings->Count(); ++i)
    FRegIniFile->WriteString(FCurrentSection, Format(L"%s[%d]", {AKey, i}), AStrings->Strings(i));
}

void TRzPropertyStore::SavePersistent(TPersistent* APersistent, const String& AKey) {
  for (const TPropInfo* prop : GetPropList(APersistent)) SaveValue(APersistent, prop, AKey + L"." + prop->Name, false);
}

void TRzPropertyStore::LoadValue(TObject* AObject, const TPropInfo* AProp, const String& AKey, bool ATopLevel) {
  const String& section = FCurrentSection;
  if (AProp->Kind() == tkClass) {
    if (!ATopLevel) return;
    TObject* value = GetObjectProp(AObject, AProp);
    if (!value || Is<TComponent>(value)) return;
    if (auto* collection = dynamic_cast<TCollection*>(value)) LoadCollection(collection, AKey);
    else if (auto* strings = dynamic_cast<TStrings*>(value)) LoadStrings(strings, AKey);
    else if (auto* persistent = dynamic_cast<TPersistent*>(value)) LoadPersistent(persistent, AKey);
    return;
  }
  if (!AProp->HasSetter) return;
  switch (AProp->Kind()) {
    case tkInteger:
    case tkChar:
    case tkWChar: {
      if (!FRegIniFile->ValueExists(section, AKey)) return;
      std::int64_t value = FRegIniFile->ReadInteger(section, AKey, 0);
      const TTypeInfo* type = AProp->PropType;
      // Unsigned 32-bit values travel as their signed twin.
      if (type->OrdType == otULong && value < 0) value += std::int64_t{1} << 32;
      if (value < type->MinValue || value > type->MaxValue)
        throw ERzPropertyStoreError(L"Der gespeicherte Wert %d für %s liegt außerhalb des gültigen Bereichs",
                                    {static_cast<long long>(value), AKey});
      SetOrdProp(AObject, AProp, value);
      break;
    }
    case tkEnumeration: {
      if (!FRegIniFile->ValueExists(section, AKey)) return;
      const String text = FRegIniFile->ReadString(section, AKey, String());
      const std::int64_t value = GetEnumValue(AProp->PropType, Trim(text));
      if (value < 0) throw EPropertyConvertError(L"Ungültiges Eigenschaftselement: %s", {text});
      SetOrdProp(AObject, AProp, value);
      break;
    }
    case tkFloat:
      if (!FRegIniFile->ValueExists(section, AKey)) return;
      SetFloatProp(AObject, AProp, FRegIniFile->ReadFloat(section, AKey, 0));
      break;
    case tkString:
    case tkLString:
    case tkWString:
    case tkUString:
      if (!FRegIniFile->ValueExists(section, AKey)) return;
      SetStrProp(AObject, AProp, ReadText(AKey));
      break;
    case tkSet:
      if (!FRegIniFile->ValueExists(section, AKey)) return;
      SetSetProp(AObject, AProp, FRegIniFile->ReadString(section, AKey, String()));
      break;
    default:
      break;
  }
}

int TRzPropertyStore::ReadCount(const String& AKey) {
  const int count = FRegIniFile->ReadInteger(FCurrentSection, AKey, 0);
  if (count > MaxStoredCount)
    throw ERzPropertyStoreError(L"Der gespeicherte Wert %s = %d ist keine gültige Anzahl", {AKey, count});
  return count;
}

String TRzPropertyStore::ReadText(const String& AKey) {
  String text = FRegIniFile->ReadString(FCurrentSection, AKey, String());
  if (text.size() > static_cast<std::size_t>(MaxStoredTextLength))
    throw ERzPropertyStoreError(L"Der gespeicherte Text %s ist mit %d Zeichen zu lang (höchstens %d)",
                                {AKey, static_cast<int>(text.size()), MaxStoredTextLength});
  return text;
}

void TRzPropertyStore::LoadCollection(TCollection* ACollection, const String& AKey) {
  const int count = ReadCount(AKey + L"_Count");
  if (count <= 0) return;
  WithUpdate(ACollection, [&] {
    ACollection->Clear();
    for (int i = 0; i < count; ++i) LoadPersistent(ACollection->Add(), Format(L"%s[%d]", {AKey, i}));
  });
}

void TRzPropertyStore::LoadStrings(TStrings* AStrings, const String& AKey) {
  const int count = ReadCount(AKey + L"_Count");
  if (count <= 0) return;
  WithUpdate(AStrings, [&] {
    AStrings->Clear();
    for (int i = 0; i < count; ++i)
      AStrings->Add(ReadText(Format(L"%s[%d]", {AKey, i})));
  });
}

void TRzPropertyStore::LoadPersistent(TPersistent* APersistent, const String& AKey) {
  for (const TPropInfo* prop : GetPropList(APersistent)) LoadValue(APersistent, prop, AKey + L"." + prop->Name, false);
}
