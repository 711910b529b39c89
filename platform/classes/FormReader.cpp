#include "platform/classes/FormReader.h"

#include "platform/classes/Collection.h"
#include "platform/classes/Streams.h"

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <limits>
#include <mutex>
#include <set>

namespace {

bool SameName(std::wstring_view A, std::wstring_view B) {
  return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](wchar_t x, wchar_t y) {
           return std::towupper(x) == std::towupper(y);
         });
}

std::vector<String> SplitPath(const String& APath) {
  std::vector<String> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t dot = APath.find(L'.', start);
    parts.push_back(APath.substr(start, dot == String::npos ? String::npos : dot - start));
    if (dot == String::npos) return parts;
    start = dot + 1;
  }
}

// Whether AClass or one of its ancestors is named AName.
bool ClassChainHasName(TClass AClass, const String& AName) {
  for (TClass c = AClass; c; c = c->ClassParent())
    if (SameName(c->ClassName(), AName)) return true;
  return false;
}

// Exceptions that already say where they happened pass unchanged; anything
// else raised while a value is applied is reported with line and path.
bool CarriesPosition(const Exception& E) {
  return dynamic_cast<const EFilerError*>(&E) || dynamic_cast<const EParserError*>(&E) ||
         dynamic_cast<const EAbort*>(&E);
}

template <class F>
void AtLine(int ALine, const String& AWhat, F&& AStep) {
  try {
    AStep();
  } catch (const Exception& e) {
    if (CarriesPosition(e)) throw;
    throw EReadError(L"Zeile %d: Fehler beim Lesen von %s: %s", {ALine, AWhat, e.Message()});
  }
}

// Learns when a component the reader depends on is freed during the read.
class TReadGuard : public TComponent {
  SK_CLASS(TReadGuard, TComponent)
 public:
  std::set<TComponent*> Gone;
  std::vector<TComponent*> Watched;

  void Watch(TComponent* AComponent) {
    AComponent->FreeNotification(this);
    Watched.push_back(AComponent);
  }
  bool Alive(TComponent* AComponent) const { return !Gone.contains(AComponent); }
  void UnwatchAll() {
    for (TComponent* c : Watched)
      if (Alive(c)) c->RemoveFreeNotification(this);
    Watched.clear();
  }

 protected:
  void Notification(TComponent* AComponent, TOperation AOperation) override {
    inherited::Notification(AComponent, AOperation);
    if (AOperation == opRemove) Gone.insert(AComponent);
  }
};

std::mutex GGlobalLock;
std::vector<TFindGlobalComponent> GGlobalFinders;

}  // namespace

// ---------------------------------------------------------------------------
// Reader state

struct TFormReader::TFixup {
  std::vector<TCollectionItem*> Anchors;  // the items the value lies in, outermost first
  TComponent* Component = nullptr;        // the component whose description holds the value
  TPersistent* Base = nullptr;            // the component or innermost item
  std::vector<String> SubPath;            // sub-objects from Base to the property's owner
  String PropName;
  String Reference;
  int Line = 0;
  String Display;
};

// Where the reader stands: the object whose properties are being read.
struct TContext {
  TComponent* Component = nullptr;
  TPersistent* Base = nullptr;
  std::vector<TCollectionItem*> Anchors;
  String Display;
};

// The custom stored property being looked for in a DefineProperties call.
struct TDefining {
  String Name;
  String Display;
  int Line = 0;
  bool Handled = false;
};

struct TFormReader::TState {
  TOwned<TReadGuard> Guard;
  std::vector<TComponent*> Created;
  std::vector<TComponent*> Loaded;
  std::vector<TFixup> Fixups;
  TContext Context;
  TDefining* Defining = nullptr;
  int ValuesRead = 0;
  int ListDepth = 0;
};

// ---------------------------------------------------------------------------
// TFormReader

void TFormReader::Create(const String& AText) {
  FState = std::make_shared<TState>();
  FState->Guard.reset(New<TReadGuard>(nullptr));
  FParser.reset(New<TParser>(AText));
}

void TFormReader::Destroy() {
  FParser.reset();
  if (FState) {
    if (FState->Guard) FState->Guard->UnwatchAll();
    FState->Guard.reset();
  }
  FState.reset();
  inherited::Destroy();
}

void TFormReader::Enter() {
  if (++FDepth > MaxDepth) {
    --FDepth;
    ReadError(Format(L"Beschreibung ist tiefer als %d Ebenen verschachtelt", {MaxDepth}));
  }
}

void TFormReader::ReadError(const String& AMessage) const {
  throw EReadError(L"Zeile %d: %s", {FParser->SourceLine(), AMessage});
}

void TFormReader::PropertyError(int ALine, const String& AMessage, const String& APath) const {
  throw EReadError(L"Zeile %d: %s (%s)", {ALine, AMessage, APath});
}

String TFormReader::DisplayPath(const String& AProp) const {
  const String& base = FState->Context.Display;
  return base.empty() ? AProp : base + L"." + AProp;
}

namespace {

bool IsBlockKeyword(const TParser* AParser) {
  return AParser->TokenSymbolIs(L"object") || AParser->TokenSymbolIs(L"inherited") ||
         AParser->TokenSymbolIs(L"inline");
}

String ComponentDisplay(TComponent* AComponent) {
  return AComponent->Name().empty() ? L"<" + AComponent->ClassName() + L">" : AComponent->Name();
}

// Frees a component while an error is on its way out: a second error must
// not stop the clean-up nor replace the first.
void FreeQuietly(TComponent* AComponent) noexcept {
  try {
    AComponent->Free();
  } catch (...) {
  }
}

// A root name not yet used among the owner's components: Name, Name_1, ...
String UniqueRootName(TComponent* ARoot, const String& AName) {
  TComponent* owner = ARoot->Owner();
  if (!owner) return AName;
  String name = AName;
  for (int i = 1;; ++i) {
    TComponent* existing = owner->FindComponent(name);
    if (!existing || existing == ARoot) return name;
    name = AName + L"_" + std::to_wstring(i);
  }
}

}  // namespace

void TFormReader::SkipPosition() {
  if (FParser->Token() != L'[') return;
  FParser->NextToken();
  FParser->CheckToken(TParser::toInteger);
  FParser->NextToken();
  FParser->CheckToken(L']');
  FParser->NextToken();
}

// After the keyword: `Name: TClass` or just `TClass`, then an optional
// position.
void TFormReader::ReadObjectHeader(String& AName, String& AClassName) {
  FParser->CheckToken(TParser::toSymbol);
  AName = FParser->TokenString();
  FParser->NextToken();
  if (FParser->Token() == L':') {
    FParser->NextToken();
    FParser->CheckToken(TParser::toSymbol);
    AClassName = FParser->TokenString();
    FParser->NextToken();
  } else {
    AClassName = std::exchange(AName, String());
  }
  SkipPosition();
}

TComponent* TFormReader::ReadRootComponent(TComponent* ARoot) {
  TState& s = *FState;
  const int line = FParser->SourceLine();
  if (!IsBlockKeyword(FParser.get()))
    FParser->Error(Format(L"'object' erwartet, aber %s gefunden", {FParser->TokenDescription()}));
  FParser->NextToken();
  String name;
  String className;
  ReadObjectHeader(name, className);

  TComponent* createdRoot = nullptr;
  if (!ARoot) {
    const TClass cls = GetClass(className);
    if (!cls) throw EClassNotFound(L"Zeile %d: Klasse %s nicht gefunden", {line, className});
    if (!cls->InheritsFrom(TComponent::ClassInfo()))
      throw EReadError(L"Zeile %d: Klasse %s ist keine Komponente", {line, className});
    AtLine(line, className, [&] { createdRoot = NewOfClass<TComponent>(cls, nullptr); });
    ARoot = createdRoot;
  } else if (!ClassChainHasName(ARoot->ClassType(), className)) {
    throw EReadError(L"Zeile %d: Die Beschreibung gilt für die Klasse %s, nicht für %s",
                     {line, className, ARoot->ClassName()});
  }

  FRoot = ARoot;
  FOwner = ARoot;
  FParent = nullptr;
  try {
    ARoot->IncludeState(csLoading);
    ARoot->IncludeState(csReading);
    s.Loaded.push_back(ARoot);
    if (!name.empty() && !SameName(name, ARoot->Name()))
      AtLine(line, name, [&] { ARoot->SetName(UniqueRootName(ARoot, name)); });
    ARoot->ReadState(this);
    if (FParser->Token() != TParser::toEOF)
      FParser->Error(Format(L"Ende der Beschreibung erwartet, aber %s gefunden", {FParser->TokenDescription()}));
    for (TComponent* c : s.Loaded)
      if (s.Guard->Alive(c)) c->ExcludeState(csReading);
    ResolveFixups();
    // Loaded may create, rename or free components; work on a copy and skip
    // what has gone meanwhile.
    const std::vector<TComponent*> loaded = s.Loaded;
    for (TComponent* c : loaded)
      if (s.Guard->Alive(c)) c->CallLoaded();
  } catch (...) {
    // Free what this read created, newest first; the guard tells which of
    // them went already with something freed before.
    for (auto it = s.Created.rbegin(); it != s.Created.rend(); ++it)
      if (s.Guard->Alive(*it)) FreeQuietly(*it);
    for (TComponent* c : s.Loaded)
      if (s.Guard->Alive(c)) {
        c->ExcludeState(csReading);
        c->ExcludeState(csLoading);
      }
    s.Guard->UnwatchAll();
    if (createdRoot) FreeQuietly(createdRoot);
    throw;
  }
  s.Guard->UnwatchAll();
  return ARoot;
}

void TFormReader::ReadCollectionValue(TCollection* ACollection, TComponent* ARoot) {
  FRoot = ARoot;
  FState->Context = TContext{nullptr, nullptr, {}, ACollection->ClassName()};
  ReadCollectionItems(ACollection, ACollection->ClassName());
  if (FParser->Token() != TParser::toEOF)
    FParser->Error(Format(L"Ende der Beschreibung erwartet, aber %s gefunden", {FParser->TokenDescription()}));
  ResolveFixups();
}

void TFormReader::ReadData(TComponent* AInstance) {
  TContext saved = std::move(FState->Context);
  FState->Context = TContext{AInstance, AInstance, {}, ComponentDisplay(AInstance)};
  ReadProperties(AInstance);
  while (IsBlockKeyword(FParser.get())) ReadComponentBlock(AInstance);
  FParser->CheckTokenSymbol(L"end");
  FParser->NextToken();
  FState->Context = std::move(saved);
}

TComponent* TFormReader::ReadComponentBlock(TComponent* AEnclosing) {
  TState& s = *FState;
  Enter();
  const int line = FParser->SourceLine();
  const bool isInherited = FParser->TokenSymbolIs(L"inherited");
  const bool isInline = FParser->TokenSymbolIs(L"inline");
  FParser->NextToken();
  String name;
  String className;
  ReadObjectHeader(name, className);

  TComponent* owner = AEnclosing->GetChildOwner();
  if (!owner) owner = FRoot;
  TComponent* parent = AEnclosing->GetChildParent();
  if (!parent) parent = AEnclosing;

  TComponent* component = nullptr;
  if (isInherited) {
    component = name.empty() ? nullptr : owner->FindComponent(name);
    if (!component)
      throw EReadError(L"Zeile %d: Geerbte Komponente %s nicht gefunden", {line, name.empty() ? className : name});
    if (!ClassChainHasName(component->ClassType(), className))
      throw EReadError(L"Zeile %d: Komponente %s ist keine %s", {line, name, className});
  } else {
    const TClass cls = GetClass(className);
    if (!cls) throw EClassNotFound(L"Zeile %d: Klasse %s nicht gefunden", {line, className});
    if (!cls->InheritsFrom(TComponent::ClassInfo()))
      throw EReadError(L"Zeile %d: Klasse %s ist keine Komponente", {line, className});
    AtLine(line, name.empty() ? className : name, [&] { component = NewOfClass<TComponent>(cls, owner); });
    s.Created.push_back(component);
    s.Guard->Watch(component);
  }
  component->IncludeState(csLoading);
  component->IncludeState(csReading);
  if (isInline) component->IncludeState(csInline);
  if (std::find(s.Loaded.begin(), s.Loaded.end(), component) == s.Loaded.end()) {
    s.Loaded.push_back(component);
    if (isInherited) s.Guard->Watch(component);
  }
  if (!isInherited && !name.empty()) AtLine(line, name, [&] { component->SetName(name); });

  TComponent* savedOwner = std::exchange(FOwner, owner);
  TComponent* savedParent = std::exchange(FParent, parent);
  AtLine(line, ComponentDisplay(component), [&] { component->SetParentComponent(parent); });
  component->ReadState(this);
  component->ExcludeState(csReading);
  FOwner = savedOwner;
  FParent = savedParent;
  Leave();
  return component;
}

void TFormReader::ReadProperties(TPersistent* AInstance) {
  while (FParser->Token() == TParser::toSymbol && !IsBlockKeyword(FParser.get()) && !FParser->TokenSymbolIs(L"end"))
    ReadPropertyLine(AInstance);
}

void TFormReader::ReadPropertyLine(TPersistent* AInstance) {
  const int line = FParser->SourceLine();
  const String path = FParser->TokenComponentIdent();
  FParser->CheckToken(L'=');
  FParser->NextToken();
  const String display = DisplayPath(path);
  const std::vector<String> parts = SplitPath(path);

  // Sub-objects named on the way (Font.Name, Properties.Items.Strings) are
  // read into where they are.
  TPersistent* instance = AInstance;
  std::vector<String> subPath;
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
    const TPropInfo* prop = GetPropInfo(instance, parts[i]);
    if (!prop) PropertyError(line, Format(L"Eigenschaft %s existiert nicht", {parts[i]}), display);
    if (prop->Kind() != tkClass || !prop->GetObj)
      PropertyError(line, Format(L"Eigenschaft %s hat keine Unter-Eigenschaften", {parts[i]}), display);
    TObject* object = nullptr;
    AtLine(line, display, [&] { object = prop->GetObj(instance); });
    auto* sub = dynamic_cast<TPersistent*>(object);
    if (!sub) PropertyError(line, Format(L"Eigenschaft %s ist nicht zugewiesen", {parts[i]}), display);
    instance = sub;
    subPath.push_back(parts[i]);
  }

  const String& name = parts.back();
  if (const TPropInfo* prop = GetPropInfo(instance, name)) {
    ReadPropValue(instance, prop, display, subPath);
    return;
  }

  // Not published: the object may store it itself (DefineProperties).
  TDefining defining{name, display, line, false};
  {
    TDefining* saved = std::exchange(FState->Defining, &defining);
    TScopeExit restore([&] { FState->Defining = saved; });
    AtLine(line, display, [&] { CallDefineProperties(instance, this); });
  }
  if (!defining.Handled) {
    // Report the line of the name, not of the value after it.
    throw EReadError(L"Zeile %d: Eigenschaft %s existiert nicht (%s)", {line, name, display});
  }
}

void TFormReader::DefineProperty(const String& AName, const TReaderProc& AReadData, const TWriterProc&, bool) {
  TDefining* defining = FState->Defining;
  if (!defining || defining->Handled || !AReadData || !SameName(AName, defining->Name)) return;
  defining->Handled = true;
  TState& s = *FState;
  const int valuesBefore = s.ValuesRead;
  const int listDepth = s.ListDepth;
  // The procedure reads in its own context: collections it reads are shown
  // under the defined property's name.
  TContext savedContext = s.Context;
  s.Context.Display = defining->Display;
  s.Defining = nullptr;
  AtLine(defining->Line, defining->Display, [&] { AReadData(this); });
  s.Context = std::move(savedContext);
  s.Defining = defining;
  if (s.ListDepth != listDepth)
    PropertyError(defining->Line, L"Liste wurde nicht vollständig gelesen", defining->Display);
  if (s.ValuesRead == valuesBefore) SkipValue();  // a procedure that drops the value
}

void TFormReader::DefineBinaryProperty(const String& AName, const TStreamProc& AReadData, const TStreamProc&,
                                       bool) {
  TDefining* defining = FState->Defining;
  if (!defining || defining->Handled || !AReadData || !SameName(AName, defining->Name)) return;
  defining->Handled = true;
  if (FParser->Token() != TParser::toBinary)
    PropertyError(defining->Line, Format(L"Binärdaten erwartet, aber %s gefunden", {FParser->TokenDescription()}),
                  defining->Display);
  ReadBinaryValue(AReadData, defining->Line, defining->Display);
}

// ---------------------------------------------------------------------------
// Values of published properties

namespace {

const wchar_t* const KVariantExpected = L"Zahl, Zeichenkette, True, False, Null oder nil";

std::int64_t OrdinalMin(const TTypeInfo* AType) {
  if (AType->Kind == tkInteger && AType->OrdType == otULong)
    return std::min<std::int64_t>(AType->MinValue, std::numeric_limits<std::int32_t>::min());
  return AType->MinValue;
}

std::int64_t OrdinalMax(const TTypeInfo* AType) {
  if (AType->Kind == tkInteger && AType->OrdType == otULong)
    return std::max<std::int64_t>(AType->MaxValue, std::numeric_limits<std::uint32_t>::max());
  return AType->MaxValue;
}

}  // namespace

void TFormReader::ReadPropValue(TPersistent* AInstance, const TPropInfo* AProp, const String& APath,
                                const std::vector<String>& ASubPath) {
  TState& s = *FState;
  const int line = FParser->SourceLine();
  const TTypeInfo* type = AProp->PropType;
  auto wrong = [&](const wchar_t* AExpected) {
    PropertyError(line, Format(L"Ungültiger Wert für Eigenschaft %s: %s erwartet, aber %s gefunden",
                         {AProp->Name, String(AExpected), FParser->TokenDescription()}),
                  APath);
  };
  auto apply = [&](auto&& AStep) { AtLine(line, APath, AStep); };

  switch (type->Kind) {
    case tkInteger:
    case tkInt64: {
      std::int64_t value = 0;
      if (FParser->Token() == TParser::toInteger) {
        value = FParser->TokenInt();
        // Hexadecimal digits give the bits of a 32-bit value: $FFFFFFFF is -1.
        const bool hex = FParser->TokenString().find(L'$') != String::npos;
        if (hex && type->Kind == tkInteger && type->OrdType == otSLong && value > type->MaxValue &&
            value <= std::numeric_limits<std::uint32_t>::max())
          value = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
        if (type->Kind == tkInteger && (value < OrdinalMin(type) || value > OrdinalMax(type)))
          PropertyError(line, Format(L"Wert %s liegt außerhalb des Bereichs von %s", {FParser->TokenString(), type->Name}),
                        APath);
      } else if (FParser->Token() == TParser::toSymbol && type->IdentToInt) {
        if (!type->IdentToInt(FParser->TokenString(), value))
          PropertyError(line, Format(L"Ungültiger Wert '%s' für Eigenschaft %s", {FParser->TokenString(), AProp->Name}),
                        APath);
      } else {
        wrong(L"Ganzzahl");
      }
      FParser->NextToken();
      apply([&] { SetOrdProp(AInstance, AProp, value); });
      break;
    }
    case tkChar:
    case tkWChar: {
      std::int64_t value = 0;
      if (FParser->Token() == TParser::toString) {
        const String text = ReadStringValue();
        if (text.size() != 1) PropertyError(line, L"Ein einzelnes Zeichen erwartet", APath);
        value = text[0];
      } else if (FParser->Token() == TParser::toInteger) {
        value = FParser->TokenInt();
        if (value < type->MinValue || value > type->MaxValue) PropertyError(line, L"Zeichencode außerhalb des Bereichs", APath);
        FParser->NextToken();
      } else {
        wrong(L"Zeichen");
      }
      apply([&] { SetOrdProp(AInstance, AProp, value); });
      break;
    }
    case tkEnumeration: {
      if (FParser->Token() != TParser::toSymbol) wrong(L"Bezeichner");
      const std::int64_t value = GetEnumValue(type, FParser->TokenString());
      if (value < 0)
        PropertyError(line, Format(L"Ungültiger Wert '%s' für Eigenschaft %s", {FParser->TokenString(), AProp->Name}),
                      APath);
      FParser->NextToken();
      apply([&] { SetOrdProp(AInstance, AProp, value); });
      break;
    }
    case tkSet: {
      if (FParser->Token() != L'[') wrong(L"Menge");
      std::uint64_t bits = 0;
      for (const String& element : ReadSet()) {
        const std::int64_t value = GetEnumValue(type->CompType, element);
        if (value < 0 || value >= 64)
          PropertyError(line, Format(L"Ungültiges Element '%s' für Eigenschaft %s", {element, AProp->Name}), APath);
        bits |= std::uint64_t{1} << value;
      }
      apply([&] { SetOrdProp(AInstance, AProp, static_cast<std::int64_t>(bits)); });
      break;
    }
    case tkFloat: {
      if (FParser->Token() != TParser::toFloat && FParser->Token() != TParser::toInteger) wrong(L"Zahl");
      const double value = FParser->TokenFloat();
      FParser->NextToken();
      apply([&] { SetFloatProp(AInstance, AProp, value); });
      break;
    }
    case tkString:
    case tkLString:
    case tkWString:
    case tkUString: {
      if (FParser->Token() != TParser::toString) wrong(L"Zeichenkette");
      const String value = ReadStringValue();
      apply([&] { SetStrProp(AInstance, AProp, value); });
      break;
    }
    case tkClass: {
      if (FParser->Token() == L'<') {
        TObject* object = nullptr;
        apply([&] { object = GetObjectProp(AInstance, AProp); });
        auto* collection = dynamic_cast<TCollection*>(object);
        if (!collection) PropertyError(line, Format(L"Eigenschaft %s ist keine Collection", {AProp->Name}), APath);
        ReadCollectionItems(collection, APath);
      } else if (FParser->TokenSymbolIs(L"nil")) {
        FParser->NextToken();
        apply([&] { SetObjectProp(AInstance, AProp, nullptr); });
      } else if (FParser->Token() == TParser::toSymbol) {
        if (!type->ClassType || !type->ClassType->InheritsFrom(TComponent::ClassInfo()))
          PropertyError(line, Format(L"Eigenschaft %s nimmt keinen Komponentenverweis auf", {AProp->Name}), APath);
        if (!AProp->SetObj) PropertyError(line, Format(L"Eigenschaft %s ist schreibgeschützt", {AProp->Name}), APath);
        // Resolved when the whole description is read: the component may
        // stand further down.
        TFixup fixup;
        fixup.Anchors = s.Context.Anchors;
        fixup.Component = s.Context.Component;
        fixup.Base = s.Context.Base;
        fixup.SubPath = ASubPath;
        fixup.PropName = AProp->Name;
        fixup.Line = line;
        fixup.Display = APath;
        fixup.Reference = FParser->TokenComponentIdent();
        s.Fixups.push_back(std::move(fixup));
      } else {
        wrong(L"Komponentenverweis");
      }
      break;
    }
    case tkVariant: {
      Variant value;
      if (!TakeVariant(value)) wrong(KVariantExpected);
      apply([&] { SetVariantProp(AInstance, AProp, value); });
      break;
    }
    case tkMethod: {
      if (FParser->Token() != TParser::toSymbol) wrong(L"Methodenname");
      const String methodName = FParser->TokenString();
      FParser->NextToken();
      TMethod method;
      if (!SameName(methodName, L"nil")) {
        if (!FRoot)
          throw EReadError(L"Zeile %d: Ereignis %s kann ohne Formular nicht gebunden werden", {line, APath});
        const TMethodInfo* info = FRoot->ClassType()->TypeData().FindMethod(methodName);
        if (!info)
          throw EReadError(L"Zeile %d: Methode %s nicht gefunden in %s (%s)",
                           {line, methodName, FRoot->ClassName(), APath});
        if (!info->Signature || !type->Signature || *info->Signature != *type->Signature)
          throw EReadError(L"Zeile %d: Methode %s passt nicht zum Ereignistyp von %s", {line, methodName, APath});
        method = TMethod{info->Code, FRoot};
      }
      apply([&] { SetMethodProp(AInstance, AProp, method); });
      break;
    }
    default:
      PropertyError(line, Format(L"Eigenschaft %s vom Typ %s kann nicht gelesen werden", {AProp->Name, type->Name}), APath);
  }
}

String TFormReader::ReadStringValue() {
  FParser->CheckToken(TParser::toString);
  String value = FParser->TokenWideString();
  FParser->NextToken();
  while (FParser->Token() == L'+') {
    FParser->NextToken();
    FParser->CheckToken(TParser::toString);
    value += FParser->TokenWideString();
    FParser->NextToken();
  }
  return value;
}

void TFormReader::ReadCollectionItems(TCollection* ACollection, const String& ADisplay) {
  TState& s = *FState;
  Enter();
  FParser->CheckToken(L'<');
  FParser->NextToken();
  // References waiting inside the items that are about to go are dropped.
  std::set<TCollectionItem*> going;
  for (int i = 0; i < ACollection->Count(); ++i) going.insert(ACollection->Items(i));
  std::erase_if(s.Fixups, [&](const TFixup& f) {
    return std::any_of(f.Anchors.begin(), f.Anchors.end(), [&](TCollectionItem* a) { return going.contains(a); });
  });

  WithUpdate(ACollection, [&] {
    ACollection->Clear();
    for (int index = 0; FParser->Token() != L'>'; ++index) {
      const int line = FParser->SourceLine();
      if (!FParser->TokenSymbolIs(L"item"))
        FParser->Error(Format(L"'item' oder '>' erwartet, aber %s gefunden", {FParser->TokenDescription()}));
      FParser->NextToken();
      SkipPosition();
      const String display = ADisplay + L"[" + std::to_wstring(index) + L"]";
      TCollectionItem* item = nullptr;
      AtLine(line, display, [&] { item = ACollection->Add(); });
      TContext saved = s.Context;
      s.Context.Base = item;
      s.Context.Anchors.push_back(item);
      s.Context.Display = display;
      ReadProperties(item);
      FParser->CheckTokenSymbol(L"end");
      FParser->NextToken();
      s.Context = std::move(saved);
    }
    FParser->NextToken();
  });
  Leave();
}

// ---------------------------------------------------------------------------
// Fix-ups

TComponent* TFormReader::FindReference(const String& AName) const {
  const std::vector<String> parts = SplitPath(AName);
  TComponent* component = FRoot ? FRoot->FindComponent(parts[0]) : nullptr;
  if (!component && FRoot && SameName(parts[0], FRoot->Name())) component = FRoot;
  if (!component && parts.size() > 1) component = FindGlobalComponent(parts[0]);
  for (std::size_t i = 1; component && i < parts.size(); ++i) component = component->FindComponent(parts[i]);
  return component;
}

void TFormReader::ResolveFixups() {
  TState& s = *FState;
  for (const TFixup& f : s.Fixups) {
    if (!s.Guard->Alive(f.Component)) continue;
    // Walk again from the component or item: a setter may have replaced a
    // sub-object since the value was read.
    TPersistent* instance = f.Base;
    for (const String& name : f.SubPath) {
      const TPropInfo* prop = GetPropInfo(instance, name);
      TObject* object = prop && prop->GetObj ? prop->GetObj(instance) : nullptr;
      instance = dynamic_cast<TPersistent*>(object);
      if (!instance) throw EReadError(L"Zeile %d: Eigenschaft %s ist nicht mehr vorhanden", {f.Line, f.Display});
    }
    const TPropInfo* prop = GetPropInfo(instance, f.PropName);
    if (!prop) throw EReadError(L"Zeile %d: Eigenschaft %s ist nicht mehr vorhanden", {f.Line, f.Display});
    TComponent* target = FindReference(f.Reference);
    if (!target)
      throw EReadError(L"Zeile %d: Komponente %s nicht gefunden (%s)", {f.Line, f.Reference, f.Display});
    if (!target->InheritsFrom(prop->PropType->ClassType))
      throw EReadError(L"Zeile %d: Komponente %s ist keine %s (%s)",
                       {f.Line, f.Reference, prop->PropType->ClassType->ClassName(), f.Display});
    AtLine(f.Line, f.Display, [&] { SetObjectProp(instance, prop, target); });
  }
  s.Fixups.clear();
}

// ---------------------------------------------------------------------------
// Operations for DefineProperties procedures

void TFormReader::ExpectValue(wchar_t AToken, const wchar_t* AWhat) {
  if (FParser->Token() == AToken) return;
  const String where = FState->Context.Display;
  throw EReadError(L"Zeile %d: %s erwartet, aber %s gefunden (%s)",
                   {FParser->SourceLine(), String(AWhat), FParser->TokenDescription(), where});
}

TValueType TFormReader::NextValue() {
  switch (FParser->Token()) {
    case TParser::toInteger: {
      const std::int64_t v = FParser->TokenInt();
      if (v >= -128 && v <= 127) return vaInt8;
      if (v >= -32768 && v <= 32767) return vaInt16;
      if (v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::int32_t>::max())
        return vaInt32;
      return vaInt64;
    }
    case TParser::toFloat: return vaExtended;
    case TParser::toString: {
      const String& v = FParser->TokenWideString();
      return std::all_of(v.begin(), v.end(), [](wchar_t c) { return c < 128; }) ? vaString : vaWString;
    }
    case TParser::toBinary: return vaBinary;
    case TParser::toSymbol:
      if (FParser->TokenSymbolIs(L"True")) return vaTrue;
      if (FParser->TokenSymbolIs(L"False")) return vaFalse;
      if (FParser->TokenSymbolIs(L"nil")) return vaNil;
      return vaIdent;
    case L'(': return vaList;
    case L'[': return vaSet;
    case L'<': return vaCollection;
    default: return vaNull;
  }
}

bool TFormReader::EndOfList() { return FParser->Token() == L')'; }

void TFormReader::ReadListBegin() {
  ExpectValue(L'(', L"'('");
  Enter();
  FParser->NextToken();
  ++FState->ListDepth;
  ++FState->ValuesRead;
}

void TFormReader::ReadListEnd() {
  ExpectValue(L')', L"')'");
  if (FState->ListDepth == 0) ReadError(L"')' ohne zugehörige Liste");
  FParser->NextToken();
  --FState->ListDepth;
  Leave();
}

String TFormReader::ReadString() {
  ExpectValue(TParser::toString, L"Zeichenkette");
  ++FState->ValuesRead;
  return ReadStringValue();
}

std::int64_t TFormReader::ReadInt64() {
  ExpectValue(TParser::toInteger, L"Ganzzahl");
  ++FState->ValuesRead;
  const std::int64_t value = FParser->TokenInt();
  FParser->NextToken();
  return value;
}

int TFormReader::ReadInteger() {
  const int line = FParser->SourceLine();
  const std::int64_t value = ReadInt64();
  if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
    throw EReadError(L"Zeile %d: Wert %d liegt außerhalb des Bereichs von Integer (%s)",
                     {line, static_cast<long long>(value), FState->Context.Display});
  return static_cast<int>(value);
}

bool TFormReader::ReadBoolean() {
  const bool value = FParser->TokenSymbolIs(L"True");
  if (!value && !FParser->TokenSymbolIs(L"False"))
    throw EReadError(L"Zeile %d: True oder False erwartet, aber %s gefunden (%s)",
                     {FParser->SourceLine(), FParser->TokenDescription(), FState->Context.Display});
  ++FState->ValuesRead;
  FParser->NextToken();
  return value;
}

double TFormReader::ReadFloat() {
  if (FParser->Token() != TParser::toInteger) ExpectValue(TParser::toFloat, L"Zahl");
  ++FState->ValuesRead;
  const double value = FParser->TokenFloat();
  FParser->NextToken();
  return value;
}

String TFormReader::ReadIdent() {
  ExpectValue(TParser::toSymbol, L"Bezeichner");
  ++FState->ValuesRead;
  return FParser->TokenComponentIdent();
}

std::vector<String> TFormReader::ReadSet() {
  ExpectValue(L'[', L"Menge");
  ++FState->ValuesRead;
  FParser->NextToken();
  std::vector<String> names;
  if (FParser->Token() != L']') {
    for (;;) {
      FParser->CheckToken(TParser::toSymbol);
      names.push_back(FParser->TokenString());
      FParser->NextToken();
      if (FParser->Token() == L']') break;
      FParser->CheckToken(L',');
      FParser->NextToken();
    }
  }
  FParser->NextToken();
  return names;
}

bool TFormReader::TakeVariant(Variant& AValue) {
  switch (FParser->Token()) {
    case TParser::toInteger: {
      const std::int64_t value = FParser->TokenInt();
      if (value >= std::numeric_limits<std::int32_t>::min() && value <= std::numeric_limits<std::int32_t>::max())
        AValue = Variant(static_cast<int>(value));
      else
        AValue = Variant(static_cast<long long>(value));
      break;
    }
    case TParser::toFloat: AValue = Variant(FParser->TokenFloat()); break;
    case TParser::toString: AValue = Variant(ReadStringValue()); return true;
    case TParser::toSymbol:
      if (FParser->TokenSymbolIs(L"True")) AValue = Variant(true);
      else if (FParser->TokenSymbolIs(L"False")) AValue = Variant(false);
      else if (FParser->TokenSymbolIs(L"Null")) AValue = Null();
      else if (FParser->TokenSymbolIs(L"nil")) AValue = Unassigned();
      else return false;
      break;
    default: return false;
  }
  FParser->NextToken();
  return true;
}

Variant TFormReader::ReadVariant() {
  Variant value;
  if (!TakeVariant(value))
    throw EReadError(L"Zeile %d: %s erwartet, aber %s gefunden (%s)",
                     {FParser->SourceLine(), String(KVariantExpected), FParser->TokenDescription(),
                      FState->Context.Display});
  ++FState->ValuesRead;
  return value;
}

void TFormReader::ReadCollection(TCollection* ACollection) {
  ExpectValue(L'<', L"Collection");
  ++FState->ValuesRead;
  ReadCollectionItems(ACollection, FState->Context.Display);
}

void TFormReader::ReadBinaryValue(const TStreamProc& AReadData, int ALine, const String& ADisplay) {
  ExpectValue(TParser::toBinary, L"Binärdaten");
  ++FState->ValuesRead;
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  const std::vector<std::uint8_t>& bytes = FParser->TokenBinary();
  if (!bytes.empty()) stream->WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  stream->SetPosition(0);
  FParser->NextToken();
  AtLine(ALine, ADisplay, [&] { AReadData(stream.get()); });
}

void TFormReader::SkipValue() {
  ++FState->ValuesRead;
  switch (FParser->Token()) {
    case TParser::toString:
      ReadStringValue();
      return;
    case TParser::toSymbol:
      FParser->TokenComponentIdent();
      return;
    case TParser::toInteger:
    case TParser::toFloat:
    case TParser::toBinary:
      FParser->NextToken();
      return;
    case L'[':
      ReadSet();
      return;
    case L'(':
      Enter();
      FParser->NextToken();
      while (FParser->Token() != L')') {
        if (FParser->Token() == TParser::toEOF) FParser->CheckToken(L')');
        SkipValue();
      }
      FParser->NextToken();
      Leave();
      return;
    case L'<':
      Enter();
      FParser->NextToken();
      while (FParser->Token() != L'>') {
        FParser->CheckTokenSymbol(L"item");
        FParser->NextToken();
        while (FParser->Token() == TParser::toSymbol && !FParser->TokenSymbolIs(L"end")) {
          FParser->TokenComponentIdent();
          FParser->CheckToken(L'=');
          FParser->NextToken();
          SkipValue();
        }
        FParser->CheckTokenSymbol(L"end");
        FParser->NextToken();
      }
      FParser->NextToken();
      Leave();
      return;
    default:
      FParser->Error(Format(L"Wert erwartet, aber %s gefunden", {FParser->TokenDescription()}));
  }
}

// ---------------------------------------------------------------------------
// Entry points

TComponent* ReadComponentFromText(const String& AText, TComponent* ARoot) {
  TOwned<TFormReader> reader(New<TFormReader>(AText));
  return reader->ReadRootComponent(ARoot);
}

namespace {

struct TResourceBytes {
  const std::uint8_t* Data = nullptr;
  DWORD Size = 0;
};

bool FindResourceBytes(HMODULE AModule, const String& AResName, TResourceBytes& ABytes) {
  HRSRC info = FindResourceW(AModule, AResName.c_str(), RT_RCDATA);
  if (!info) return false;
  HGLOBAL handle = LoadResource(AModule, info);
  if (!handle) return false;
  ABytes.Data = static_cast<const std::uint8_t*>(LockResource(handle));
  ABytes.Size = SizeofResource(AModule, info);
  return ABytes.Data != nullptr;
}

// Description bytes as text; ASource names them in messages.
String DecodeText(const std::uint8_t* AData, std::size_t ASize, const String& ASource) {
  if (ASize >= 2 && AData[0] == 0xFF && AData[1] == 0xFE) {
    String text((ASize - 2) / 2, L'\0');
    std::memcpy(text.data(), AData + 2, text.size() * sizeof(wchar_t));
    return text;
  }
  if (ASize >= 4 && std::memcmp(AData, "TPF0", 4) == 0)
    throw EReadError(L"%s enthält eine binäre Formularbeschreibung; erwartet wird Text", {ASource});
  UINT codePage = CP_UTF8;
  DWORD flags = MB_ERR_INVALID_CHARS;
  if (ASize >= 3 && AData[0] == 0xEF && AData[1] == 0xBB && AData[2] == 0xBF) {
    AData += 3;
    ASize -= 3;
  }
  if (ASize == 0) return {};
  if (ASize > static_cast<std::size_t>(std::numeric_limits<int>::max()))
    throw EReadError(L"%s ist zu groß", {ASource});
  const auto* bytes = reinterpret_cast<const char*>(AData);
  const int size = static_cast<int>(ASize);
  int length = MultiByteToWideChar(codePage, flags, bytes, size, nullptr, 0);
  if (length == 0) {
    // Not UTF-8: text in the ANSI code page.
    codePage = CP_ACP;
    flags = 0;
    length = MultiByteToWideChar(codePage, flags, bytes, size, nullptr, 0);
  }
  String text(static_cast<std::size_t>(length), L'\0');
  if (length > 0) MultiByteToWideChar(codePage, flags, bytes, size, text.data(), length);
  return text;
}

}  // namespace

void ReadCollectionFromText(const String& AText, TCollection* ACollection, TComponent* ARoot) {
  TOwned<TFormReader> reader(New<TFormReader>(AText));
  reader->ReadCollectionValue(ACollection, ARoot);
}

void ReadCollectionFromStream(TStream* AStream, TCollection* ACollection, TComponent* ARoot) {
  const std::int64_t size = AStream->Size() - AStream->Position();
  if (size < 0 || size > std::numeric_limits<int>::max())
    throw EReadError(L"Collection-Daten im Stream sind zu groß");
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  if (size > 0) AStream->ReadBuffer(bytes.data(), size);
  ReadCollectionFromText(DecodeText(bytes.data(), bytes.size(), ACollection->ClassName()), ACollection, ARoot);
}

bool FindComponentRes(HMODULE AModule, const String& AResName) {
  TResourceBytes bytes;
  return FindResourceBytes(AModule, AResName, bytes);
}

String ReadResourceText(HMODULE AModule, const String& AResName) {
  TResourceBytes bytes;
  if (!FindResourceBytes(AModule, AResName, bytes))
    throw EResNotFound(L"Ressource %s nicht gefunden", {AResName});
  return DecodeText(bytes.Data, bytes.Size, L"Ressource " + AResName);
}

TComponent* ReadComponentResEx(HMODULE AModule, const String& AResName, TComponent* AInstance) {
  const String text = ReadResourceText(AModule, AResName);
  try {
    return ReadComponentFromText(text, AInstance);
  } catch (Exception& e) {
    // Say which resource the line number belongs to; the class stays.
    e.SetMessage(L"Ressource " + AResName + L": " + e.Message());
    throw;
  }
}

TComponent* ReadComponentRes(const String& AResName, TComponent* AInstance) {
  return ReadComponentResEx(GetModuleHandleW(nullptr), AResName, AInstance);
}

bool InitInheritedComponent(TComponent* AInstance, TClass ARootAncestor) {
  std::vector<TClass> chain;
  for (TClass c = AInstance->ClassType(); c && c != ARootAncestor && c != TComponent::ClassInfo();
       c = c->ClassParent())
    chain.push_back(c);
  const HMODULE module = GetModuleHandleW(nullptr);
  bool found = false;
  // The ancestors' descriptions first: a derived form's description lists
  // only what it changes or adds.
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    if (!FindComponentRes(module, (*it)->ClassName())) continue;
    ReadComponentResEx(module, (*it)->ClassName(), AInstance);
    found = true;
  }
  return found;
}

void RegisterFindGlobalComponent(TFindGlobalComponent AFind) {
  std::lock_guard guard(GGlobalLock);
  if (std::find(GGlobalFinders.begin(), GGlobalFinders.end(), AFind) == GGlobalFinders.end())
    GGlobalFinders.push_back(AFind);
}

void UnRegisterFindGlobalComponent(TFindGlobalComponent AFind) {
  std::lock_guard guard(GGlobalLock);
  std::erase(GGlobalFinders, AFind);
}

TComponent* FindGlobalComponent(const String& AName) {
  std::vector<TFindGlobalComponent> finders;
  {
    std::lock_guard guard(GGlobalLock);
    finders = GGlobalFinders;
  }
  for (auto it = finders.rbegin(); it != finders.rend(); ++it)
    if (TComponent* c = (*it)(AName)) return c;
  return nullptr;
}
