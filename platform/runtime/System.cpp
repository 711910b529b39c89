#include "platform/runtime/System.h"

#include "platform/runtime/SysUtils.h"

// ---------------------------------------------------------------------------
// TMetaClass

void TMetaClass::Init(const wchar_t* AName, TClass AParent, bool AAbstract,
                      void (*APublish)(TTypeDataBuilder&)) {
  FName = AName;
  FParent = AParent;
  FAbstract = AAbstract;
  FPublish = APublish;
}

bool TMetaClass::InheritsFrom(TClass AClass) const {
  for (TClass c = this; c; c = c->FParent)
    if (c == AClass) return true;
  return false;
}

const TTypeData& TMetaClass::TypeData() const {
  std::call_once(FTypeDataOnce, [this] {
    auto data = std::make_unique<TTypeData>();
    if (FParent) *data = FParent->TypeData();
    if (FPublish) {
      TTypeDataBuilder builder(*data, this);
      FPublish(builder);
    }
    FTypeData = std::move(data);
  });
  return *FTypeData;
}

void RaiseAbstractError(const String& AClassName) {
  throw EAbstractError(L"Abstrakter Fehler: von der Klasse %s gibt es keine Instanzen", {AClassName});
}

void RaiseInvalidCast(const String& AFrom, const String& ATo) {
  throw EInvalidCast(L"Ungültige Typumwandlung von %s in %s", {AFrom, ATo});
}

// ---------------------------------------------------------------------------
// TObject

namespace {
class TObjectMeta final : public TObject::TMeta {
 public:
  TObjectMeta() { Init(L"TObject", nullptr, false, nullptr); }
  TObject* NewInstance() const override { return new TObject(); }
};
}  // namespace

TClass TObject::ClassInfo() {
  static const TObjectMeta meta;
  return &meta;
}

TClass TObject::ClassType() const { return ClassInfo(); }

void TObject::Free() {
  BeforeDestruction();
  Destroy();
  delete this;
}

void TObject::DestroyAfterFailedCreate() noexcept {
  try {
    Destroy();
  } catch (...) {
    // The creation error is the one the caller must see.
  }
  delete this;
}

bool TObject::GetInterface(const GUID&, void** AObj) {
  *AObj = nullptr;
  return false;
}

void TObject::Dispatch(TMessage& Message) { DispatchFrom(ClassType(), Message); }

void TObject::DispatchFrom(TClass AClass, TMessage& Message) {
  if (AClass)
    if (TMessageHandler handler = AClass->TypeData().FindMessage(Message.Msg)) {
      handler(this, Message);
      return;
    }
  DefaultHandler(Message);
}

void TObject::DefaultHandler(TMessage&) {}

// ---------------------------------------------------------------------------
// TInterfacedObject

void TInterfacedObject::AfterConstruction() {
  inherited::AfterConstruction();
  InterlockedDecrement(&FRefCount);
}

bool TInterfacedObject::GetInterface(const GUID& AIID, void** AObj) {
  return AnswerInterfaces<IInterface>(this, AIID, AObj) || inherited::GetInterface(AIID, AObj);
}

HRESULT TInterfacedObject::QueryInterface(const GUID& AIID, void** AObj) {
  if (!GetInterface(AIID, AObj)) return E_NOINTERFACE;
  _AddRef();
  return S_OK;
}

int TInterfacedObject::_AddRef() { return InterlockedIncrement(&FRefCount); }

int TInterfacedObject::_Release() {
  const long count = InterlockedDecrement(&FRefCount);
  if (count == 0) Free();
  return count;
}
