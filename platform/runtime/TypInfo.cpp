#include "platform/runtime/TypInfo.h"

#include "platform/runtime/SysUtils.h"

#include <algorithm>
#include <cwctype>
#include <deque>
#include <mutex>

namespace {

bool SameName(std::wstring_view A, std::wstring_view B) {
  return A.size() == B.size() &&
         std::equal(A.begin(), A.end(), B.begin(), [](wchar_t x, wchar_t y) {
           return std::towupper(x) == std::towupper(y);
         });
}

// Type records live as long as the process; they are made once per type.
TTypeInfo* NewTypeInfo() {
  static std::mutex lock;
  static std::deque<TTypeInfo> store;
  std::lock_guard guard(lock);
  return &store.emplace_back();
}

[[noreturn]] void WrongKind(const TPropInfo* AProp) {
  throw EPropertyError(L"Eigenschaft %s hat nicht den erwarteten Typ", {AProp->Name});
}

[[noreturn]] void ReadOnly(const TPropInfo* AProp) {
  throw EPropertyError(L"Eigenschaft %s ist schreibgeschützt", {AProp->Name});
}

}  // namespace

namespace typinfo_detail {

const TTypeInfo* MakeOrdinal(TTypeKind AKind, const wchar_t* AName, TOrdType AOrd,
                             std::int64_t AMin, std::int64_t AMax) {
  TTypeInfo* t = NewTypeInfo();
  t->Kind = AKind;
  t->Name = AName;
  t->OrdType = AOrd;
  t->MinValue = AMin;
  t->MaxValue = AMax;
  return t;
}

const TTypeInfo* MakeEnum(const wchar_t* AName, std::span<const wchar_t* const> ANames) {
  TTypeInfo* t = NewTypeInfo();
  t->Kind = tkEnumeration;
  t->Name = AName;
  t->OrdType = ANames.size() <= 256 ? otUByte : otUWord;
  t->MinValue = 0;
  t->MaxValue = static_cast<std::int64_t>(ANames.size()) - 1;
  t->EnumNames.assign(ANames.begin(), ANames.end());
  return t;
}

const TTypeInfo* MakeSet(const TTypeInfo* AElement) {
  TTypeInfo* t = NewTypeInfo();
  t->Kind = tkSet;
  t->Name = L"set of " + AElement->Name;
  t->CompType = AElement;
  return t;
}

const TTypeInfo* MakeSimple(TTypeKind AKind, const wchar_t* AName) {
  TTypeInfo* t = NewTypeInfo();
  t->Kind = AKind;
  t->Name = AName;
  return t;
}

const TTypeInfo* MakeFloat(const wchar_t* AName, TFloatType AType) {
  TTypeInfo* t = NewTypeInfo();
  t->Kind = tkFloat;
  t->Name = AName;
  t->FloatType = AType;
  return t;
}

const TTypeInfo* MakeClass(TClass AClass) {
  TTypeInfo* t = NewTypeInfo();
  t->Kind = tkClass;
  t->Name = AClass->ClassName();
  t->ClassType = AClass;
  return t;
}

const TTypeInfo* MakeMethod(const std::type_info& ASignature) {
  TTypeInfo* t = NewTypeInfo();
  t->Kind = tkMethod;
  t->Name = L"method";
  t->Signature = &ASignature;
  return t;
}

const TTypeInfo* MakeIdentInteger(const wchar_t* AName, TOrdType AOrd,
                                  bool (*AToIdent)(std::int64_t, String&),
                                  bool (*AFromIdent)(const String&, std::int64_t&)) {
  TTypeInfo* t = NewTypeInfo();
  t->Kind = tkInteger;
  t->Name = AName;
  t->OrdType = AOrd;
  t->MinValue = std::numeric_limits<std::int32_t>::min();
  t->MaxValue = std::numeric_limits<std::int32_t>::max();
  t->IntToIdent = AToIdent;
  t->IdentToInt = AFromIdent;
  return t;
}

}  // namespace typinfo_detail

// ---------------------------------------------------------------------------
// Enumerations and sets

String GetEnumName(const TTypeInfo* AType, std::int64_t AValue) {
  if (!AType || AValue < 0 || AValue >= static_cast<std::int64_t>(AType->EnumNames.size())) return {};
  return AType->EnumNames[static_cast<std::size_t>(AValue)];
}

std::int64_t GetEnumValue(const TTypeInfo* AType, const String& AName) {
  if (!AType) return -1;
  for (std::size_t i = 0; i < AType->EnumNames.size(); ++i)
    if (SameName(AType->EnumNames[i], AName)) return static_cast<std::int64_t>(i);
  return -1;
}

String SetToString(const TTypeInfo* ASetType, std::uint64_t AValue, bool ABrackets) {
  const TTypeInfo* element = ASetType->CompType;
  String result;
  for (std::size_t i = 0; i < element->EnumNames.size() && i < 64; ++i)
    if (AValue & (std::uint64_t{1} << i)) {
      if (!result.empty()) result += L',';
      result += element->EnumNames[i];
    }
  return ABrackets ? L"[" + result + L"]" : result;
}

std::uint64_t StringToSet(const TTypeInfo* ASetType, const String& AValue) {
  std::wstring_view text = AValue;
  auto trim = [](std::wstring_view s) {
    while (!s.empty() && std::iswspace(s.front())) s.remove_prefix(1);
    while (!s.empty() && std::iswspace(s.back())) s.remove_suffix(1);
    return s;
  };
  text = trim(text);
  if (!text.empty() && text.front() == L'[') text.remove_prefix(1);
  if (!text.empty() && text.back() == L']') text.remove_suffix(1);
  std::uint64_t result = 0;
  while (!text.empty()) {
    const std::size_t comma = text.find(L',');
    const std::wstring_view name = trim(text.substr(0, comma));
    text = comma == std::wstring_view::npos ? std::wstring_view{} : text.substr(comma + 1);
    if (name.empty()) continue;
    const std::int64_t value = GetEnumValue(ASetType->CompType, String(name));
    if (value < 0 || value >= 64)
      throw EPropertyConvertError(L"Ungültiger Eigenschaftselementname '%s'", {String(name)});
    result |= std::uint64_t{1} << value;
  }
  return result;
}

// ---------------------------------------------------------------------------
// TTypeData

const TPropInfo* TTypeData::FindProperty(std::wstring_view AName) const {
  for (const TPropInfo* p : FPropertyOrder)
    if (SameName(p->Name, AName)) return p;
  return nullptr;
}

const TMethodInfo* TTypeData::FindMethod(std::wstring_view AName) const {
  for (const TMethodInfo& m : FMethods)
    if (SameName(m.Name, AName)) return &m;
  return nullptr;
}

const TMethodInfo* TTypeData::FindMethodByCode(const void* ACode) const {
  for (const TMethodInfo& m : FMethods)
    if (m.Code == ACode) return &m;
  return nullptr;
}

const TFieldInfo* TTypeData::FindField(std::wstring_view AName) const {
  for (const TFieldInfo& f : FFields)
    if (SameName(f.Name, AName)) return &f;
  return nullptr;
}

TMessageHandler TTypeData::FindMessage(UINT AMsg) const {
  const auto it = FMessages.find(AMsg);
  return it == FMessages.end() ? nullptr : it->second;
}

TPropInfo& TTypeDataBuilder::AddProperty(TPropInfo AInfo) {
  auto info = std::make_shared<TPropInfo>(std::move(AInfo));
  TPropInfo& result = *info;
  for (std::size_t i = 0; i < FData.FProperties.size(); ++i)
    if (SameName(FData.FProperties[i]->Name, info->Name)) {
      FData.FPropertyOrder[i] = info.get();
      FData.FProperties[i] = std::move(info);
      return result;
    }
  FData.FPropertyOrder.push_back(info.get());
  FData.FProperties.push_back(std::move(info));
  return result;
}

void TTypeDataBuilder::AddMethod(TMethodInfo AInfo) {
  for (TMethodInfo& m : FData.FMethods)
    if (SameName(m.Name, AInfo.Name)) {
      m = std::move(AInfo);
      return;
    }
  FData.FMethods.push_back(std::move(AInfo));
}

void TTypeDataBuilder::AddField(TFieldInfo AInfo) {
  for (TFieldInfo& f : FData.FFields)
    if (SameName(f.Name, AInfo.Name)) {
      f = std::move(AInfo);
      return;
    }
  FData.FFields.push_back(std::move(AInfo));
}

void TTypeDataBuilder::AddMessage(UINT AMsg, TMessageHandler AHandler) { FData.FMessages[AMsg] = AHandler; }

// ---------------------------------------------------------------------------
// Access by name

const TPropInfo* GetPropInfo(TClass AClass, std::wstring_view AName) {
  return AClass ? AClass->TypeData().FindProperty(AName) : nullptr;
}

const TPropInfo* GetPropInfo(const TObject* AObject, std::wstring_view AName) {
  return AObject ? GetPropInfo(AObject->ClassType(), AName) : nullptr;
}

const TPropInfo* FindPropInfo(const TObject* AObject, std::wstring_view AName) {
  if (const TPropInfo* p = GetPropInfo(AObject, AName)) return p;
  throw EPropertyError(L"Eigenschaft %s existiert nicht", {String(AName)});
}

const std::vector<const TPropInfo*>& GetPropList(const TObject* AObject) {
  return AObject->ClassType()->TypeData().Properties();
}

std::int64_t GetOrdProp(TObject* AObject, const TPropInfo* AProp) {
  if (!AProp->GetOrd) WrongKind(AProp);
  return AProp->GetOrd(AObject);
}

void SetOrdProp(TObject* AObject, const TPropInfo* AProp, std::int64_t AValue) {
  if (!AProp->GetOrd) WrongKind(AProp);
  if (!AProp->SetOrd) ReadOnly(AProp);
  AProp->SetOrd(AObject, AValue);
}

String GetEnumProp(TObject* AObject, const TPropInfo* AProp) {
  return GetEnumName(AProp->PropType, GetOrdProp(AObject, AProp));
}

void SetEnumProp(TObject* AObject, const TPropInfo* AProp, const String& AValue) {
  const std::int64_t value = GetEnumValue(AProp->PropType, AValue);
  if (value < 0) throw EPropertyConvertError(L"Ungültiger Eigenschaftswert '%s'", {AValue});
  SetOrdProp(AObject, AProp, value);
}

String GetSetProp(TObject* AObject, const TPropInfo* AProp, bool ABrackets) {
  if (AProp->Kind() != tkSet) WrongKind(AProp);
  return SetToString(AProp->PropType, static_cast<std::uint64_t>(GetOrdProp(AObject, AProp)), ABrackets);
}

void SetSetProp(TObject* AObject, const TPropInfo* AProp, const String& AValue) {
  if (AProp->Kind() != tkSet) WrongKind(AProp);
  SetOrdProp(AObject, AProp, static_cast<std::int64_t>(StringToSet(AProp->PropType, AValue)));
}

double GetFloatProp(TObject* AObject, const TPropInfo* AProp) {
  if (!AProp->GetFloat) WrongKind(AProp);
  return AProp->GetFloat(AObject);
}

void SetFloatProp(TObject* AObject, const TPropInfo* AProp, double AValue) {
  if (!AProp->GetFloat) WrongKind(AProp);
  if (!AProp->SetFloat) ReadOnly(AProp);
  AProp->SetFloat(AObject, AValue);
}

String GetStrProp(TObject* AObject, const TPropInfo* AProp) {
  if (!AProp->GetStr) WrongKind(AProp);
  return AProp->GetStr(AObject);
}

void SetStrProp(TObject* AObject, const TPropInfo* AProp, const String& AValue) {
  if (!AProp->GetStr) WrongKind(AProp);
  if (!AProp->SetStr) ReadOnly(AProp);
  AProp->SetStr(AObject, AValue);
}

TObject* GetObjectProp(TObject* AObject, const TPropInfo* AProp) {
  if (!AProp->GetObj) WrongKind(AProp);
  return AProp->GetObj(AObject);
}

void SetObjectProp(TObject* AObject, const TPropInfo* AProp, TObject* AValue) {
  if (!AProp->GetObj) WrongKind(AProp);
  if (!AProp->SetObj) ReadOnly(AProp);
  AProp->SetObj(AObject, AValue);
}

TMethod GetMethodProp(TObject* AObject, const TPropInfo* AProp) {
  if (!AProp->GetMethod) WrongKind(AProp);
  return AProp->GetMethod(AObject);
}

void SetMethodProp(TObject* AObject, const TPropInfo* AProp, const TMethod& AValue) {
  if (!AProp->GetMethod) WrongKind(AProp);
  if (!AProp->SetMethod) ReadOnly(AProp);
  AProp->SetMethod(AObject, AValue);
}

void GetVariantProp(TObject* AObject, const TPropInfo* AProp, Variant& AValue) {
  if (!AProp->GetVar) WrongKind(AProp);
  AProp->GetVar(AObject, AValue);
}

void SetVariantProp(TObject* AObject, const TPropInfo* AProp, const Variant& AValue) {
  if (!AProp->GetVar) WrongKind(AProp);
  if (!AProp->SetVar) ReadOnly(AProp);
  AProp->SetVar(AObject, AValue);
}

bool IsDefaultOrdValue(TObject* AObject, const TPropInfo* AProp) {
  return AProp->GetOrd && AProp->Default != TPropInfo::NoDefault &&
         AProp->GetOrd(AObject) == AProp->Default;
}

bool IsStoredProp(TObject* AObject, const TPropInfo* AProp) {
  if (AProp->Stored && !AProp->Stored(AObject)) return false;
  return !IsDefaultOrdValue(AObject, AProp);
}
