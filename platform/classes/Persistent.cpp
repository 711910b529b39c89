#include "platform/classes/Persistent.h"

#include <cwctype>
#include <mutex>
#include <unordered_map>

// ---------------------------------------------------------------------------
// TPersistent

void TPersistent::Assign(TPersistent* ASource) {
  if (ASource) ASource->AssignTo(this);
  else AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* ADest) { ADest->AssignError(this); }

void TPersistent::AssignError(TPersistent* ASource) {
  const String source = ASource ? ASource->ClassName() : String(L"nil");
  throw EConvertError(L"%s kann nicht zu einem %s zugewiesen werden", {source, ClassName()});
}

void TPersistent::DefineProperties(TFiler*) {}

TPersistent* TPersistent::GetOwner() { return nullptr; }

String TPersistent::GetNamePath() {
  String result = ClassName();
  if (TPersistent* owner = GetOwner()) {
    const String ownerPath = owner->GetNamePath();
    if (!ownerPath.empty()) result = ownerPath + L"." + result;
  }
  return result;
}

// ---------------------------------------------------------------------------
// TInterfacedPersistent

void TInterfacedPersistent::AfterConstruction() {
  inherited::AfterConstruction();
  if (TPersistent* owner = GetOwner()) {
    void* intf = nullptr;
    if (owner->GetInterface(IInterface::IID, &intf)) FOwnerInterface = static_cast<IInterface*>(intf);
  }
}

bool TInterfacedPersistent::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IInterface>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
}

HRESULT TInterfacedPersistent::QueryInterface(const GUID& AIID, void** AObj) {
  if (!GetInterface(AIID, AObj)) return E_NOINTERFACE;
  _AddRef();
  return S_OK;
}

int TInterfacedPersistent::_AddRef() { return FOwnerInterface ? FOwnerInterface->_AddRef() : -1; }

int TInterfacedPersistent::_Release() { return FOwnerInterface ? FOwnerInterface->_Release() : -1; }

// ---------------------------------------------------------------------------
// Class registry

namespace {

String Upper(const String& A) {
  String r = A;
  for (wchar_t& c : r) c = static_cast<wchar_t>(std::towupper(c));
  return r;
}

struct TClassRegistry {
  std::mutex Lock;
  std::unordered_map<String, TClass> ByName;  // upper-case name -> class
};

TClassRegistry& Registry() {
  static TClassRegistry registry;
  return registry;
}

void Register(const String& AName, TClass AClass) {
  TClassRegistry& r = Registry();
  std::lock_guard guard(r.Lock);
  auto [it, inserted] = r.ByName.emplace(Upper(AName), AClass);
  if (!inserted && it->second != AClass)
    throw EFilerError(L"Eine Klasse mit dem Namen %s existiert bereits", {AName});
}

}  // namespace

void RegisterClass(TClass AClass) {
  // Registering a class registers its persistent ancestors too, as the
  // reader needs them to create stored objects.
  for (TClass c = AClass; c && c != TPersistent::ClassInfo(); c = c->ClassParent()) {
    if (GetClass(c->ClassName()) == c) break;
    Register(c->ClassName(), c);
  }
}

void RegisterClasses(std::initializer_list<TClass> AClasses) {
  for (TClass c : AClasses) RegisterClass(c);
}

void RegisterClassAlias(TClass AClass, const String& AAlias) { Register(AAlias, AClass); }

void UnRegisterClass(TClass AClass) {
  TClassRegistry& r = Registry();
  std::lock_guard guard(r.Lock);
  for (auto it = r.ByName.begin(); it != r.ByName.end();)
    it = it->second == AClass ? r.ByName.erase(it) : std::next(it);
}

TClass GetClass(const String& AClassName) {
  TClassRegistry& r = Registry();
  std::lock_guard guard(r.Lock);
  const auto it = r.ByName.find(Upper(AClassName));
  return it == r.ByName.end() ? nullptr : it->second;
}

TClass FindClass(const String& AClassName) {
  if (TClass c = GetClass(AClassName)) return c;
  throw EClassNotFound(L"Klasse %s nicht gefunden", {AClassName});
}
