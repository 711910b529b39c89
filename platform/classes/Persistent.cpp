#include "platform/classes/Persistent.h"

#include <algorithm>
#include <cwctype>
#include <mutex>
#include <unordered_map>
#include <utility>
#include <vector>

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

// A class's group is derived from the group roots and groupings whenever it
// is asked for, so starting or joining a group later moves classes that are
// registered already.
struct TClassRegistry {
  TClassRegistry() : GroupRoots{TPersistent::ClassInfo()}, ActiveGroup(TPersistent::ClassInfo()) {}

  std::mutex Lock;
  std::unordered_multimap<String, TClass> ByName;  // upper-case name -> class
  std::vector<TClass> GroupRoots;                  // the first group's root is TPersistent
  std::unordered_map<TClass, TClass> GroupedWith;  // a class and its descendants -> a group root
  TClass ActiveGroup;

  TClass DefaultGroup() const { return GroupRoots.front(); }

  TClass GroupOf(TClass AClass) const {
    for (TClass c = AClass; c; c = c->ClassParent()) {
      if (const auto it = GroupedWith.find(c); it != GroupedWith.end()) return it->second;
      if (std::find(GroupRoots.begin(), GroupRoots.end(), c) != GroupRoots.end()) return c;
    }
    return DefaultGroup();
  }

  bool Contains(const String& AKey, TClass AClass) const {
    const auto [first, last] = ByName.equal_range(AKey);
    return std::any_of(first, last, [&](const auto& entry) { return entry.second == AClass; });
  }

  // The class of that name in the active group, else in the first group.
  TClass Find(const String& AKey) const {
    const auto [first, last] = ByName.equal_range(AKey);
    TClass inDefault = nullptr;
    for (auto it = first; it != last; ++it) {
      const TClass group = GroupOf(it->second);
      if (group == ActiveGroup) return it->second;
      if (group == DefaultGroup()) inDefault = it->second;
    }
    return inDefault;
  }

  void Add(const String& AName, TClass AClass) {
    const String key = Upper(AName);
    const TClass group = GroupOf(AClass);
    const auto [first, last] = ByName.equal_range(key);
    for (auto it = first; it != last; ++it) {
      if (it->second == AClass) return;
      if (GroupOf(it->second) == group)
        throw EFilerError(L"Eine Klasse mit dem Namen %s existiert bereits", {AName});
    }
    ByName.emplace(key, AClass);
  }
};

TClassRegistry& Registry() {
  static TClassRegistry registry;
  return registry;
}

}  // namespace

void RegisterClass(TClass AClass) {
  TClassRegistry& r = Registry();
  std::lock_guard guard(r.Lock);
  // Registering a class registers its persistent ancestors too, as the
  // reader needs them to create stored objects.
  for (TClass c = AClass; c && c != TPersistent::ClassInfo(); c = c->ClassParent()) {
    if (r.Contains(Upper(c->ClassName()), c)) break;
    r.Add(c->ClassName(), c);
  }
}

void RegisterClasses(std::initializer_list<TClass> AClasses) {
  for (TClass c : AClasses) RegisterClass(c);
}

void RegisterClassAlias(TClass AClass, const String& AAlias) {
  TClassRegistry& r = Registry();
  std::lock_guard guard(r.Lock);
  r.Add(AAlias, AClass);
}

void UnRegisterClass(TClass AClass) {
  TClassRegistry& r = Registry();
  std::lock_guard guard(r.Lock);
  std::erase_if(r.ByName, [&](const auto& entry) { return entry.second == AClass; });
}

TClass GetClass(const String& AClassName) {
  TClassRegistry& r = Registry();
  std::lock_guard guard(r.Lock);
  return r.Find(Upper(AClassName));
}

TClass FindClass(const String& AClassName) {
  if (TClass c = GetClass(AClassName)) return c;
  throw EClassNotFound(L"Klasse %s nicht gefunden", {AClassName});
}

void StartClassGroup(TClass AClass) {
  TClassRegistry& r = Registry();
  std::lock_guard guard(r.Lock);
  if (std::find(r.GroupRoots.begin(), r.GroupRoots.end(), AClass) == r.GroupRoots.end())
    r.GroupRoots.push_back(AClass);
}

void GroupDescendentsWith(TClass AClass, TClass AClassGroup) {
  TClassRegistry& r = Registry();
  std::lock_guard guard(r.Lock);
  r.GroupedWith[AClass] = r.GroupOf(AClassGroup);
}

TClass ActivateClassGroup(TClass AClass) {
  TClassRegistry& r = Registry();
  std::lock_guard guard(r.Lock);
  return std::exchange(r.ActiveGroup, r.GroupOf(AClass));
}

TClass ClassGroupOf(TClass AClass) {
  TClassRegistry& r = Registry();
  std::lock_guard guard(r.Lock);
  return r.GroupOf(AClass);
}
