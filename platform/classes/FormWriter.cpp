#include "platform/classes/FormWriter.h"

#include "platform/classes/Collection.h"
#include "platform/classes/Streams.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cwctype>
#include <limits>

namespace {

const wchar_t* const KLineBreak = L"\r\n";
// Long strings are split into parts joined with '+' on the next lines.
constexpr std::size_t KStringPart = 64;
constexpr std::size_t KBytesPerLine = 32;

// One part of a string: printable ASCII between quotes, everything else as
// #code, so the description stays plain ASCII.
String QuoteString(std::wstring_view AValue) {
  String out;
  bool quoted = false;
  for (wchar_t c : AValue) {
    if (c >= 32 && c < 127) {
      if (!quoted) {
        out += L'\'';
        quoted = true;
      }
      if (c == L'\'') out += L'\'';
      out += c;
    } else {
      if (quoted) {
        out += L'\'';
        quoted = false;
      }
      out += L'#' + std::to_wstring(static_cast<unsigned>(c));
    }
  }
  if (quoted) out += L'\'';
  return out.empty() ? String(L"''") : out;
}

}  // namespace

void TFormWriter::Create(TComponent* ARoot) { FRoot = ARoot; }

void TFormWriter::Enter(const String& AWhat) {
  if (++FDepth > MaxDepth) {
    --FDepth;
    throw EWriteError(L"%s ist tiefer als %d Ebenen verschachtelt", {AWhat, MaxDepth});
  }
}

void TFormWriter::WriteRootComponent() {
  if (!FRoot) throw EWriteError(L"Keine Komponente zum Schreiben angegeben");
  FText.clear();
  FIndent = 0;
  FWritten.clear();
  WriteComponent(FRoot);
}

void TFormWriter::WriteCollectionValue(TCollection* ACollection) {
  FText.clear();
  FIndent = 0;
  FListLevel = 0;
  FTopValues = 0;
  FCurrent = ACollection->ClassName();
  WriteCollection(ACollection);
  FText += KLineBreak;
}

void TFormWriter::WriteComponent(TComponent* AComponent) {
  if (!FWritten.insert(AComponent).second) return;  // listed twice by GetChildren
  Enter(AComponent->Name());
  FText += Spaces(FIndent) + L"object ";
  if (!AComponent->Name().empty()) FText += AComponent->Name() + L": ";
  FText += AComponent->ClassName() + KLineBreak;
  FIndent += 2;
  {
    AComponent->IncludeState(csWriting);
    TScopeExit written([AComponent] { AComponent->ExcludeState(csWriting); });
    WriteProperties(AComponent, String());
    AComponent->GetChildren([this](TComponent* AChild) { WriteComponent(AChild); }, FRoot);
  }
  FIndent -= 2;
  FText += Spaces(FIndent) + L"end" + KLineBreak;
  Leave();
}

void TFormWriter::WriteProperties(TPersistent* AInstance, const String& APrefix) {
  if (std::find(FObjectChain.begin(), FObjectChain.end(), AInstance) != FObjectChain.end()) return;
  Enter(APrefix.empty() ? AInstance->ClassName() : APrefix);
  FObjectChain.push_back(AInstance);
  for (const TPropInfo* prop : GetPropList(AInstance)) WriteProperty(AInstance, prop, APrefix);
  const String savedPrefix = std::exchange(FPrefix, APrefix);
  CallDefineProperties(AInstance, this);
  FPrefix = savedPrefix;
  FObjectChain.pop_back();
  Leave();
}

template <class F>
void TFormWriter::WriteValueLine(const String& AName, F&& AWriteValue) {
  const std::size_t start = FText.size();
  const String savedCurrent = std::exchange(FCurrent, AName);
  FText += Spaces(FIndent) + AName + L" = ";
  FTopValues = 0;
  AWriteValue();
  if (FTopValues != 1 || FListLevel != 0) {
    FText.resize(start);
    throw EWriteError(L"Eigenschaft %s: genau ein vollständiger Wert erwartet", {AName});
  }
  FText += KLineBreak;
  FCurrent = savedCurrent;
}

void TFormWriter::WriteProperty(TPersistent* AInstance, const TPropInfo* AProp, const String& APrefix) {
  if (!IsStoredProp(AInstance, AProp)) return;
  const String name = APrefix + AProp->Name;
  const TTypeInfo* type = AProp->PropType;
  switch (type->Kind) {
    case tkInteger:
    case tkInt64: {
      if (!AProp->HasSetter) return;
      const std::int64_t value = GetOrdProp(AInstance, AProp);
      String ident;
      if (type->IntToIdent && type->IntToIdent(value, ident))
        WriteValueLine(name, [&] { WriteIdent(ident); });
      else
        WriteValueLine(name, [&] { WriteInteger(value); });
      return;
    }
    case tkChar:
    case tkWChar: {
      if (!AProp->HasSetter) return;
      const auto value = static_cast<wchar_t>(GetOrdProp(AInstance, AProp));
      WriteValueLine(name, [&] { WriteString(String(1, value)); });
      return;
    }
    case tkEnumeration: {
      if (!AProp->HasSetter) return;
      const String value = GetEnumName(type, GetOrdProp(AInstance, AProp));
      if (value.empty()) throw EWriteError(L"Eigenschaft %s hat einen ungültigen Wert", {name});
      WriteValueLine(name, [&] { WriteIdent(value); });
      return;
    }
    case tkSet: {
      if (!AProp->HasSetter) return;
      const auto bits = static_cast<std::uint64_t>(GetOrdProp(AInstance, AProp));
      std::vector<String> names;
      for (std::size_t i = 0; i < type->CompType->EnumNames.size() && i < 64; ++i)
        if (bits & (std::uint64_t{1} << i)) names.push_back(type->CompType->EnumNames[i]);
      WriteValueLine(name, [&] { WriteSet(names); });
      return;
    }
    case tkFloat: {
      if (!AProp->HasSetter) return;
      const double value = GetFloatProp(AInstance, AProp);
      if (value == 0) return;
      WriteValueLine(name, [&] {
        BeginValue();
        WriteFloatValue(value, type->FloatType == ftSingle);
      });
      return;
    }
    case tkString:
    case tkLString:
    case tkWString:
    case tkUString: {
      if (!AProp->HasSetter) return;
      const String value = GetStrProp(AInstance, AProp);
      if (value.empty()) return;
      WriteValueLine(name, [&] { WriteString(value); });
      return;
    }
    case tkVariant: {
      if (!AProp->HasSetter) return;
      Variant value;
      GetVariantProp(AInstance, AProp, value);
      WriteValueLine(name, [&] { WriteVariant(value); });
      return;
    }
    case tkMethod: {
      if (!AProp->HasSetter) return;
      const String method = MethodName(GetMethodProp(AInstance, AProp));
      if (method.empty()) return;
      WriteValueLine(name, [&] { WriteIdent(method); });
      return;
    }
    case tkClass: {
      TObject* object = GetObjectProp(AInstance, AProp);
      if (!object) return;
      if (auto* component = dynamic_cast<TComponent*>(object)) {
        if (!AProp->HasSetter) return;
        const String reference = ReferenceName(component);
        if (!reference.empty()) WriteValueLine(name, [&] { WriteIdent(reference); });
      } else if (auto* collection = dynamic_cast<TCollection*>(object)) {
        if (collection->Count() > 0) WriteValueLine(name, [&] { WriteCollection(collection); });
      } else if (auto* persistent = dynamic_cast<TPersistent*>(object)) {
        WriteProperties(persistent, name + L".");
      }
      return;
    }
    default:
      return;  // kinds a description cannot hold
  }
}

String TFormWriter::ReferenceName(TComponent* AComponent) const {
  if (AComponent->Name().empty()) return {};
  if (FRoot && (AComponent == FRoot || AComponent->Owner() == FRoot)) return AComponent->Name();
  TComponent* owner = AComponent->Owner();
  if (!owner || owner->Name().empty()) return {};
  return owner->Name() + L"." + AComponent->Name();
}

String TFormWriter::MethodName(const TMethod& AMethod) const {
  if (!FRoot || !AMethod.Code || AMethod.Data != FRoot) return {};
  const TMethodInfo* info = FRoot->ClassType()->TypeData().FindMethodByCode(AMethod.Code);
  return info ? info->Name : String();
}

// ---------------------------------------------------------------------------
// Custom stored data

void TFormWriter::DefineProperty(const String& AName, const TReaderProc&, const TWriterProc& AWriteData,
                                 bool AHasData) {
  if (!AHasData || !AWriteData) return;
  WriteValueLine(FPrefix + AName, [&] { AWriteData(this); });
}

void TFormWriter::DefineBinaryProperty(const String& AName, const TStreamProc&, const TStreamProc& AWriteData,
                                       bool AHasData) {
  if (!AHasData || !AWriteData) return;
  TOwned<TMemoryStream> stream(New<TMemoryStream>());
  AWriteData(stream.get());
  const auto* bytes = static_cast<const std::uint8_t*>(stream->Memory());
  const auto size = static_cast<std::size_t>(stream->Size());
  WriteValueLine(FPrefix + AName, [&] {
    BeginValue();
    const String indent = Spaces(ValueIndent() + 2);
    FText += L'{';
    static const wchar_t* const digits = L"0123456789ABCDEF";
    for (std::size_t i = 0; i < size; ++i) {
      if (i % KBytesPerLine == 0) FText += KLineBreak + indent;
      FText += digits[bytes[i] >> 4];
      FText += digits[bytes[i] & 15];
    }
    FText += L'}';
  });
}

// ---------------------------------------------------------------------------
// Values

void TFormWriter::BeginValue() {
  if (FListLevel == 0) {
    ++FTopValues;
    if (FTopValues > 1) throw EWriteError(L"Eigenschaft %s: mehr als ein Wert ohne Liste", {FCurrent});
  } else {
    FText += KLineBreak + Spaces(ValueIndent());
  }
}

void TFormWriter::WriteListBegin() {
  BeginValue();
  FText += L'(';
  ++FListLevel;
}

void TFormWriter::WriteListEnd() {
  if (FListLevel == 0) throw EWriteError(L"Eigenschaft %s: Listenende ohne Listenanfang", {FCurrent});
  --FListLevel;
  FText += L')';
}

void TFormWriter::WriteString(const String& AValue) {
  BeginValue();
  if (AValue.size() <= KStringPart) {
    FText += QuoteString(AValue);
    return;
  }
  const String indent = Spaces(ValueIndent() + 2);
  for (std::size_t i = 0; i < AValue.size(); i += KStringPart) {
    if (i > 0) FText += L" +" + String(KLineBreak) + indent;
    FText += QuoteString(std::wstring_view(AValue).substr(i, KStringPart));
  }
}

void TFormWriter::WriteInteger(std::int64_t AValue) {
  BeginValue();
  FText += std::to_wstring(AValue);
}

void TFormWriter::WriteBoolean(bool AValue) { WriteIdent(AValue ? L"True" : L"False"); }

void TFormWriter::WriteFloat(double AValue) {
  BeginValue();
  WriteFloatValue(AValue, false);
}

void TFormWriter::WriteFloatValue(double AValue, bool ASingle) {
  if (!std::isfinite(AValue)) throw EWriteError(L"Eigenschaft %s: Zahl ist nicht endlich", {FCurrent});
  // The shortest digits that read back to the same value.
  char buffer[64];
  const auto result = ASingle ? std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(AValue))
                              : std::to_chars(buffer, buffer + sizeof buffer, AValue);
  String text(buffer, result.ptr);
  for (wchar_t& c : text)
    if (c == L'e') c = L'E';
  if (text.find_first_of(L".E") == String::npos) text += L".0";
  FText += text;
}

void TFormWriter::WriteIdent(const String& AValue) {
  BeginValue();
  FText += AValue;
}

void TFormWriter::WriteSet(const std::vector<String>& ANames) {
  BeginValue();
  FText += L'[';
  for (std::size_t i = 0; i < ANames.size(); ++i) {
    if (i > 0) FText += L", ";
    FText += ANames[i];
  }
  FText += L']';
}

void TFormWriter::WriteVariant(const Variant& AValue) {
  switch (AValue.VType()) {
    case varEmpty: WriteIdent(L"nil"); return;
    case varNull: WriteIdent(L"Null"); return;
    case varBoolean: WriteBoolean(AValue.AsBoolean()); return;
    case varShortInt:
    case varByte:
    case varSmallint:
    case varWord:
    case varInteger:
    case varLongWord:
    case varInt64: WriteInteger(AValue.AsInt64()); return;
    case varUInt64:
      if (AValue.AsUInt64() > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) break;
      WriteInteger(AValue.AsInt64());
      return;
    case varSingle:
    case varDouble:
      // A Single reads back as a Double: its exact digits keep the value.
      WriteFloat(AValue.AsDouble());
      return;
    case varOleStr:
    case varString:
    case varUString: WriteString(AValue.AsString()); return;
    default: break;
  }
  throw EWriteError(L"Eigenschaft %s: ein Variant des Typs %s kann nicht gespeichert werden",
                    {FCurrent, VarTypeAsText(AValue.VType())});
}

void TFormWriter::WriteCollection(TCollection* AValue) {
  BeginValue();
  Enter(FCurrent);
  FText += L'<';
  const int itemIndent = ValueIndent() + 2;
  // Items are written like objects: their lines at their own indent, with
  // no list of the enclosing value open.
  const int savedIndent = std::exchange(FIndent, itemIndent + 2);
  const int savedLevel = std::exchange(FListLevel, 0);
  const int savedTop = FTopValues;
  const String savedCurrent = FCurrent;
  for (int i = 0; i < AValue->Count(); ++i) {
    FText += KLineBreak + Spaces(itemIndent) + L"item" + KLineBreak;
    WriteProperties(AValue->Items(i), String());
    FText += Spaces(itemIndent) + L"end";
  }
  FIndent = savedIndent;
  FListLevel = savedLevel;
  FTopValues = savedTop;
  FCurrent = savedCurrent;
  FText += L'>';
  Leave();
}

// ---------------------------------------------------------------------------

String WriteComponentToText(TComponent* ARoot) {
  TOwned<TFormWriter> writer(New<TFormWriter>(ARoot));
  writer->WriteRootComponent();
  return writer->Text();
}

String WriteCollectionToText(TCollection* ACollection, TComponent* ARoot) {
  TOwned<TFormWriter> writer(New<TFormWriter>(ARoot));
  writer->WriteCollectionValue(ACollection);
  return writer->Text();
}

void WriteCollectionToStream(TStream* AStream, TCollection* ACollection, TComponent* ARoot) {
  const String text = WriteCollectionToText(ACollection, ARoot);
  if (text.empty()) return;
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                       nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
  AStream->WriteBuffer(bytes.data(), size);
}
