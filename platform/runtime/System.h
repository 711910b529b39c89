// The object model every class of the system is built on.
//
// Classes in this file:
//   TMetaClass, TClass      class references: name, parent, creation by class,
//                           published information (see TypInfo.h)
//   TObject                 the root: two-step construction, Free, messages
//   New, NewWith, FreeAndNil  the factory (plain or through a named creation
//                           step) and the one way to free
//   TOwned                  a unique_ptr that frees a TObject
//   TSet                    a set over an enumeration
//   Delegate, BindEvent     comparable method pointers (object + method)
//   IInterface, IPtr        interfaces by GUID, Supports
//   TInterfacedObject       a reference-counted implementer
//   TMessage                a window or object message
//
// Construction: a C++ constructor only zero-initialises. The class's own
// construction is its `Create(...)` member, run by `New<T>(...)` after the
// whole object exists, so virtual calls inside `Create` reach the most
// derived class; `AfterConstruction` follows. `Free` runs
// `BeforeDestruction`, the virtual `Destroy` chain (each class ends with
// `inherited::Destroy()`), then releases the memory.
//
// Rules for a class:
//   - derive from exactly one TObject-derived base, listed first;
//   - declare `SK_CLASS(Self, Base)` at the top of the class body;
//   - have no user-provided C++ constructor; initialise in `Create`;
//   - optionally declare `static void Publish(TPublisher<Self>&)` to list
//     published properties, methods and message handlers (TypInfo.h).
#pragma once

#include "platform/runtime/WinApi.h"

#include <bitset>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string>
#include <type_traits>
#include <utility>

using String = std::wstring;        // UTF-16 text
using RawByteString = std::string;  // bytes

class TObject;
class TMetaClass;
class TTypeData;
class TTypeDataBuilder;
template <class C>
class TPublisher;
template <class C>
void PublishThunk(TTypeDataBuilder& ABuilder);
using TClass = const TMetaClass*;

// A window or object message; the first field is the message id.
struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

// ---------------------------------------------------------------------------
// Class references

class TMetaClass {
 public:
  TMetaClass(const TMetaClass&) = delete;
  TMetaClass& operator=(const TMetaClass&) = delete;
  virtual ~TMetaClass() = default;

  const String& ClassName() const { return FName; }
  TClass ClassParent() const { return FParent; }
  bool InheritsFrom(TClass AClass) const;
  bool IsAbstract() const { return FAbstract; }

  // Allocates a zero-initialised instance of exactly this class; the caller
  // runs the creation step. Raises EAbstractError for an abstract class.
  virtual TObject* NewInstance() const = 0;

  // Published properties, methods and message handlers, own and inherited;
  // built on first use.
  const TTypeData& TypeData() const;

 protected:
  TMetaClass() = default;
  void Init(const wchar_t* AName, TClass AParent, bool AAbstract,
            void (*APublish)(TTypeDataBuilder&));

 private:
  String FName;
  TClass FParent = nullptr;
  bool FAbstract = false;
  void (*FPublish)(TTypeDataBuilder&) = nullptr;
  mutable std::once_flag FTypeDataOnce;
  mutable std::unique_ptr<TTypeData> FTypeData;
};

// The metaclass object of class T. M is T's metaclass type: a class adds
// class-level virtual operations by declaring `struct TMeta : Base::TMeta`.
template <class T, class M>
class TMetaClassOf final : public M {
 public:
  TMetaClassOf();
  TObject* NewInstance() const override;
};

template <class T>
TClass ClassOf() { return T::ClassInfo(); }

// Class-level virtual operations of a class reference.
template <class T>
const typename T::TMeta* ClassMeta(TClass AClass);

// Declares the class reference, ClassType and the `inherited` alias.
#define SK_CLASS(Self, Base)                                                  \
 public:                                                                      \
  using inherited [[maybe_unused]] = Base;                                    \
  static TClass ClassInfo() {                                                 \
    static const TMetaClassOf<Self, typename Self::TMeta> meta;               \
    return &meta;                                                             \
  }                                                                           \
  TClass ClassType() const override { return Self::ClassInfo(); }             \
  static constexpr const wchar_t* StaticClassName() { return L## #Self; }     \
                                                                              \
 private:

// ---------------------------------------------------------------------------
// The root class

class TObject {
 public:
  struct TMeta : TMetaClass {};

  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  static TClass ClassInfo();
  virtual TClass ClassType() const;
  static constexpr const wchar_t* StaticClassName() { return L"TObject"; }
  const String& ClassName() const { return ClassType()->ClassName(); }
  bool InheritsFrom(TClass AClass) const { return ClassType()->InheritsFrom(AClass); }

  // Construction and destruction steps.
  void Create() {}
  virtual void AfterConstruction() {}
  virtual void BeforeDestruction() {}
  virtual void Destroy() {}
  // Runs BeforeDestruction, Destroy, then releases the memory.
  void Free();

  // Interfaces this object answers; see AnswerInterfaces.
  virtual bool GetInterface(const GUID& AIID, void** AObj);

  // Messages: the handler published for Message.Msg, else DefaultHandler.
  virtual void Dispatch(TMessage& Message);
  virtual void DefaultHandler(TMessage& Message);

 protected:
  // For a message handler of class Self: the handler its ancestors publish
  // for the same message, else DefaultHandler (what `inherited` does in a
  // message handler).
  template <class Self>
  void InheritedMessage(TMessage& Message) { DispatchFrom(Self::ClassInfo()->ClassParent(), Message); }
  void DispatchFrom(TClass AClass, TMessage& Message);

 private:
  template <class T, class... A>
  friend T* New(A&&... AArgs);
  template <class T, class... A>
  friend T* NewOfClass(TClass AClass, A&&... AArgs);
  template <class T, class F>
  friend T* Construct(T* AObject, F&& ACreate);
  // A failed creation step still runs Destroy, then frees the memory.
  void DestroyAfterFailedCreate() noexcept;
};

// Constructs an object: allocation, the creation step, AfterConstruction.
template <class T, class F>
T* Construct(T* AObject, F&& ACreate) {
  try {
    ACreate(AObject);
  } catch (...) {
    AObject->DestroyAfterFailedCreate();
    throw;
  }
  try {
    AObject->AfterConstruction();
  } catch (...) {
    AObject->Free();
    throw;
  }
  return AObject;
}

template <class T, class... A>
T* New(A&&... AArgs) {
  static_assert(std::is_base_of_v<TObject, T>, "New makes TObject descendants");
  static_assert(!std::is_abstract_v<T>, "an abstract class has no instances");
  return Construct(new T(), [&](T* o) { o->Create(std::forward<A>(AArgs)...); });
}

// Construction through a named creation step of T (CreateFromWindow,
// CreateSize...), which ACreate calls on the new object:
//   NewWith<TcxRegion>([&](TcxRegion* r) { r->CreateRoundCorners(R, 4, 4); })
template <class T, class F>
T* NewWith(F&& ACreate) {
  static_assert(std::is_base_of_v<TObject, T>, "NewWith makes TObject descendants");
  return Construct(new T(), std::forward<F>(ACreate));
}

// Creation by class reference: the instance is of AClass (which must inherit
// from T); T's `Create` overload for AArgs must be virtual to reach AClass.
template <class T, class... A>
T* NewOfClass(TClass AClass, A&&... AArgs);

// Owns a TObject for a scope or a container: freed with Free.
struct TObjectDeleter {
  void operator()(TObject* AObject) const { AObject->Free(); }
};
template <class T>
using TOwned = std::unique_ptr<T, TObjectDeleter>;

template <class T>
void FreeAndNil(T*& AObject) {
  T* object = AObject;
  AObject = nullptr;
  if (object) object->Free();
}

// ---------------------------------------------------------------------------
// Sets over an enumeration (values 0..255)

template <class E>
class TSet {
 public:
  static constexpr std::size_t Capacity = 256;

  constexpr TSet() = default;
  TSet(std::initializer_list<E> AValues) {
    for (E v : AValues) Include(v);
  }

  bool Contains(E AValue) const { return FBits.test(Index(AValue)); }
  TSet& Include(E AValue) { FBits.set(Index(AValue)); return *this; }
  TSet& Exclude(E AValue) { FBits.reset(Index(AValue)); return *this; }
  bool Empty() const { return FBits.none(); }
  std::size_t Count() const { return FBits.count(); }

  friend TSet operator+(TSet A, const TSet& B) { A.FBits |= B.FBits; return A; }
  friend TSet operator-(TSet A, const TSet& B) { A.FBits &= ~B.FBits; return A; }
  friend TSet operator*(TSet A, const TSet& B) { A.FBits &= B.FBits; return A; }
  TSet& operator+=(const TSet& B) { FBits |= B.FBits; return *this; }
  TSet& operator-=(const TSet& B) { FBits &= ~B.FBits; return *this; }
  friend bool operator==(const TSet& A, const TSet& B) { return A.FBits == B.FBits; }
  // A <= B: every member of A is in B.
  friend bool operator<=(const TSet& A, const TSet& B) { return (A.FBits & ~B.FBits).none(); }

  // The bit mask of the members below 64 (how stored sets travel).
  std::uint64_t ToBits() const {
    std::uint64_t r = 0;
    for (std::size_t i = 0; i < 64; ++i)
      if (FBits.test(i)) r |= std::uint64_t{1} << i;
    return r;
  }
  static TSet FromBits(std::uint64_t ABits) {
    TSet s;
    for (std::size_t i = 0; i < 64; ++i)
      if (ABits & (std::uint64_t{1} << i)) s.FBits.set(i);
    return s;
  }

 private:
  static std::size_t Index(E AValue) {
    return static_cast<std::size_t>(static_cast<std::underlying_type_t<E>>(AValue)) & (Capacity - 1);
  }
  std::bitset<Capacity> FBits;
};

// ---------------------------------------------------------------------------
// Method pointers: an object and one of its methods. Two delegates are equal
// when both the object and the method are the same; "assigned" means a
// method is set. Events are called only when assigned.

struct TMethod {
  void* Code = nullptr;  // the method's thunk
  TObject* Data = nullptr;
  friend bool operator==(const TMethod&, const TMethod&) = default;
};

template <class Sig>
class Delegate;

template <class R, class... A>
class Delegate<R(A...)> {
 public:
  using Thunk = R (*)(TObject*, A...);

  constexpr Delegate() = default;
  constexpr Delegate(std::nullptr_t) {}
  Delegate(TObject* AObject, Thunk ACode) : FCode(ACode), FObject(AObject) {}

  bool Assigned() const { return FCode != nullptr; }
  explicit operator bool() const { return Assigned(); }
  R operator()(A... AArgs) const { return FCode(FObject, std::forward<A>(AArgs)...); }

  TObject* Object() const { return FObject; }
  TMethod AsMethod() const { return {reinterpret_cast<void*>(FCode), FObject}; }
  static Delegate FromMethod(const TMethod& M) {
    return Delegate(M.Data, reinterpret_cast<Thunk>(M.Code));
  }
  friend bool operator==(const Delegate&, const Delegate&) = default;

 private:
  Thunk FCode = nullptr;
  TObject* FObject = nullptr;
};

template <auto M>
struct MemberThunk;

template <class C, class R, class... A, R (C::*M)(A...)>
struct MemberThunk<M> {
  using Signature = R(A...);
  static R Call(TObject* AObject, A... AArgs) {
    return (static_cast<C*>(AObject)->*M)(std::forward<A>(AArgs)...);
  }
};

// BindEvent<&TMainForm::FormShow>(form): the delegate of that method of form.
template <auto M, class C>
auto BindEvent(C* AObject) {
  using T = MemberThunk<M>;
  return Delegate<typename T::Signature>(static_cast<TObject*>(AObject), &T::Call);
}

using TNotifyEvent = Delegate<void(TObject* Sender)>;

// Calls an event only when it is assigned.
template <class R, class... A, class... P>
void CallEvent(const Delegate<R(A...)>& AEvent, P&&... AArgs) {
  if (AEvent) AEvent(std::forward<P>(AArgs)...);
}

// ---------------------------------------------------------------------------
// Interfaces. Our own interfaces derive virtually from IInterface and carry
// `static constexpr GUID IID`. An implementer answers -1 from _AddRef and
// _Release when its owner decides its lifetime.

struct IInterface {
  static constexpr GUID IID = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
  virtual HRESULT QueryInterface(const GUID& AIID, void** AObj) = 0;
  virtual int _AddRef() = 0;
  virtual int _Release() = 0;

 protected:
  ~IInterface() = default;
};

template <class I>
constexpr const GUID& IIDOf() { return I::IID; }

// An owning interface reference: AddRef on copy, Release on drop.
template <class I>
class IPtr {
 public:
  IPtr() = default;
  IPtr(std::nullptr_t) {}
  explicit IPtr(I* AIntf) : FIntf(AIntf) { AddRef(); }
  IPtr(const IPtr& A) : FIntf(A.FIntf) { AddRef(); }
  IPtr(IPtr&& A) noexcept : FIntf(std::exchange(A.FIntf, nullptr)) {}
  ~IPtr() { Release(); }
  IPtr& operator=(IPtr A) noexcept { std::swap(FIntf, A.FIntf); return *this; }

  I* Get() const { return FIntf; }
  I* operator->() const { return FIntf; }
  explicit operator bool() const { return FIntf != nullptr; }
  friend bool operator==(const IPtr& A, const IPtr& B) { return A.FIntf == B.FIntf; }
  // Takes over a reference already counted (the result of QueryInterface).
  static IPtr Adopt(I* AIntf) { IPtr p; p.FIntf = AIntf; return p; }

 private:
  void AddRef() { if (FIntf) static_cast<IInterface*>(FIntf)->_AddRef(); }
  void Release() { if (FIntf) static_cast<IInterface*>(std::exchange(FIntf, nullptr))->_Release(); }
  I* FIntf = nullptr;
};

// For GetInterface overrides: answers the listed interfaces of ASelf.
template <class... I, class C>
bool AnswerInterfaces(C* ASelf, const GUID& AIID, void** AObj) {
  return ((AIID == IIDOf<I>() ? (*AObj = static_cast<I*>(ASelf), true) : false) || ...);
}

// The interface I of an object or of another interface, or null. The
// reference is counted.
template <class I, class T>
IPtr<I> Supports(T* ASource) {
  void* p = nullptr;
  if constexpr (std::is_base_of_v<TObject, T>) {
    if (ASource && static_cast<TObject*>(ASource)->GetInterface(IIDOf<I>(), &p)) return IPtr<I>(static_cast<I*>(p));
  } else {
    if (ASource && SUCCEEDED(static_cast<IInterface*>(ASource)->QueryInterface(IIDOf<I>(), &p)))
      return IPtr<I>::Adopt(static_cast<I*>(p));
  }
  return {};
}

template <class I, class J>
IPtr<I> Supports(const IPtr<J>& AIntf) { return Supports<I>(AIntf.Get()); }

// The interface I of an object without counting a reference: for objects
// whose owner decides their lifetime.
template <class I>
I* SupportsRaw(TObject* AObject) {
  void* p = nullptr;
  return AObject && AObject->GetInterface(IIDOf<I>(), &p) ? static_cast<I*>(p) : nullptr;
}

// A reference-counted implementer: freed when its last reference goes.
class TInterfacedObject : public TObject, public virtual IInterface {
  SK_CLASS(TInterfacedObject, TObject)
 public:
  void AfterConstruction() override;
  int RefCount() const { return FRefCount; }
  bool GetInterface(const GUID& AIID, void** AObj) override;
  HRESULT QueryInterface(const GUID& AIID, void** AObj) override;
  int _AddRef() override;
  int _Release() override;

 private:
  // 1 until AfterConstruction, so that handing `this` out inside Create
  // does not free the object when that reference goes.
  volatile long FRefCount = 1;
};

// Implements IInterface for an object whose owner frees it.
template <class Base>
class TNoRefCount : public Base, public virtual IInterface {
 public:
  HRESULT QueryInterface(const GUID& AIID, void** AObj) override {
    return this->GetInterface(AIID, AObj) ? S_OK : E_NOINTERFACE;
  }
  int _AddRef() override { return -1; }
  int _Release() override { return -1; }
};

// ---------------------------------------------------------------------------
// Template definitions

void RaiseAbstractError(const String& AClassName);
void RaiseInvalidCast(const String& AFrom, const String& ATo);

template <class T, class M>
TMetaClassOf<T, M>::TMetaClassOf() {
  void (*publish)(TTypeDataBuilder&) = nullptr;
  // Only a class that declares its own Publish adds to what it inherits.
  if constexpr (requires { static_cast<void (*)(TPublisher<T>&)>(&T::Publish); })
    publish = &PublishThunk<T>;
  this->Init(T::StaticClassName(), T::inherited::ClassInfo(), std::is_abstract_v<T>, publish);
}

template <class T, class M>
TObject* TMetaClassOf<T, M>::NewInstance() const {
  if constexpr (std::is_abstract_v<T>) {
    RaiseAbstractError(this->ClassName());
    return nullptr;
  } else {
    return new T();
  }
}

template <class T>
const typename T::TMeta* ClassMeta(TClass AClass) {
  if (!AClass || !AClass->InheritsFrom(T::ClassInfo()))
    RaiseInvalidCast(AClass ? AClass->ClassName() : L"nil", T::StaticClassName());
  return static_cast<const typename T::TMeta*>(AClass);
}

template <class T, class... A>
T* NewOfClass(TClass AClass, A&&... AArgs) {
  if (!AClass || !AClass->InheritsFrom(T::ClassInfo()))
    RaiseInvalidCast(AClass ? AClass->ClassName() : L"nil", T::StaticClassName());
  T* object = static_cast<T*>(AClass->NewInstance());
  return Construct(object, [&](T* o) { o->Create(std::forward<A>(AArgs)...); });
}

// `as`: a checked downcast that raises EInvalidCast.
template <class T>
T* As(TObject* AObject) {
  if (!AObject) return nullptr;
  if (auto* p = dynamic_cast<T*>(AObject)) return p;
  RaiseInvalidCast(AObject->ClassName(), T::StaticClassName());
  return nullptr;
}

// `is`: whether the object is a T (nil is not).
template <class T>
bool Is(const TObject* AObject) { return dynamic_cast<const T*>(AObject) != nullptr; }

#include "platform/runtime/TypInfo.h"
