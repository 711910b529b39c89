// Published information: what a class makes visible by name to the form
// reader and writer, the property store and the message dispatch.
//
// Classes in this file:
//   TTypeKind, TTypeInfo    the type of a published property
//   TEnumInfo, TIntegerIdents  traits a type specialises to be published
//   TPropInfo, TMethodInfo  one published property / method
//   TTypeData               all published items of a class (own + inherited)
//   TPublisher              what a class's static Publish function receives
//   GetOrdProp ...          access to published properties by name
//
// A class publishes in one function beside its Create:
//
//   void TControl::Publish(TPublisher<TControl>& P) {
//     P.Property(L"Left", &TControl::Left, &TControl::SetLeft);
//     P.Property(L"Visible", &TControl::Visible, &TControl::SetVisible).Default(true);
//     P.Property(L"OnClick", &TControl::OnClick, &TControl::SetOnClick);
//     P.Method<&TMainForm::FormShow>(L"FormShow");
//     P.Message<&TControl::WMPaint>(WM_PAINT);
//   }
#pragma once

#include "platform/runtime/System.h"

#include <cstdint>
#include <functional>
#include <iterator>
#include <limits>
#include <span>
#include <string_view>
#include <type_traits>
#include <typeinfo>
#include <unordered_map>
#include <utility>
#include <vector>

class Variant;
template <class T>
class TSet;

enum TTypeKind {
  tkUnknown, tkInteger, tkChar, tkEnumeration, tkFloat, tkString, tkSet, tkClass,
  tkMethod, tkWChar, tkLString, tkWString, tkVariant, tkArray, tkRecord,
  tkInterface, tkInt64, tkDynArray, tkUString, tkClassRef, tkPointer, tkProcedure
};
enum TOrdType { otSByte, otUByte, otSWord, otUWord, otSLong, otULong };
enum TFloatType { ftSingle, ftDouble, ftExtended, ftComp, ftCurr };

// The names of an enumeration, for publishing. Specialise next to the enum,
// one name per value from 0 to the last value, which the table names too:
//   template <> struct TEnumInfo<TAlign> {
//     static constexpr const wchar_t* Name = L"TAlign";
//     static constexpr const wchar_t* Names[] = {L"alNone", L"alTop", ..., L"alCustom"};
//     static constexpr TAlign Last = alCustom;
//   };
// Publishing the enumeration checks the table at compile time: it has
// Last + 1 names, and each spells the enumerator of its value.
template <class E>
struct TEnumInfo;

// Identifiers for an integer type (colours, cursors, charsets). Specialise with
//   static constexpr const wchar_t* Name = L"TColor";
//   static bool ToIdent(std::int64_t, String&);
//   static bool FromIdent(const String&, std::int64_t&);
template <class T>
struct TIntegerIdents;

struct TTypeInfo {
  TTypeKind Kind = tkUnknown;
  String Name;
  TOrdType OrdType = otSLong;
  std::int64_t MinValue = 0;
  std::int64_t MaxValue = 0;
  std::vector<String> EnumNames;             // tkEnumeration, in value order
  const TTypeInfo* CompType = nullptr;       // tkSet: the element type
  TClass ClassType = nullptr;                // tkClass
  const std::type_info* Signature = nullptr; // tkMethod: the delegate type
  TFloatType FloatType = ftDouble;
  bool (*IntToIdent)(std::int64_t, String&) = nullptr;
  bool (*IdentToInt)(const String&, std::int64_t&) = nullptr;
};

// The name of an enumeration value; empty when out of range.
String GetEnumName(const TTypeInfo* AType, std::int64_t AValue);
// The value of a name (not case-sensitive); -1 when unknown.
std::int64_t GetEnumValue(const TTypeInfo* AType, const String& AName);
// "[a,b]" and back; StringToSet raises EPropertyConvertError for an unknown name.
String SetToString(const TTypeInfo* ASetType, std::uint64_t AValue, bool ABrackets = true);
std::uint64_t StringToSet(const TTypeInfo* ASetType, const String& AValue);

// ---------------------------------------------------------------------------
// TypeInfoOf<T>(): the published type of a C++ type.

namespace typinfo_detail {
const TTypeInfo* MakeOrdinal(TTypeKind, const wchar_t*, TOrdType, std::int64_t, std::int64_t);
const TTypeInfo* MakeEnum(const wchar_t* AName, std::span<const wchar_t* const> ANames);
const TTypeInfo* MakeSet(const TTypeInfo* AElement);
const TTypeInfo* MakeSimple(TTypeKind, const wchar_t*);
const TTypeInfo* MakeFloat(const wchar_t*, TFloatType);
const TTypeInfo* MakeClass(TClass);
const TTypeInfo* MakeMethod(const std::type_info&);
const TTypeInfo* MakeIdentInteger(const wchar_t*, TOrdType, bool (*)(std::int64_t, String&),
                                  bool (*)(const String&, std::int64_t&));

template <class T> struct IsSet : std::false_type {};
template <class E> struct IsSet<TSet<E>> : std::true_type { using Element = E; };
template <class T> struct IsDelegate : std::false_type {};
template <class S> struct IsDelegate<Delegate<S>> : std::true_type {};

// The compiler's spelling of an enumeration value: its enumerator, perhaps
// qualified ("alTop", "{anonymous}::alTop", "TFoo::Bar"), or a cast such as
// "(TAlign)9" for a value no enumerator has.
template <auto V>
constexpr std::string_view EnumeratorSpelling() {
  constexpr std::string_view signature = __PRETTY_FUNCTION__;  // "... [with auto V = alTop; ...]"
  constexpr std::size_t start = signature.find("V = ") + 4;
  return signature.substr(start, signature.find_first_of(";]", start) - start);
}

// Whether ANames[I] spells the enumerator whose value is I.
template <class E, std::size_t I>
constexpr bool NamesItsEnumerator(std::span<const wchar_t* const> ANames) {
  std::string_view spelling = EnumeratorSpelling<static_cast<E>(I)>();
  if (spelling.starts_with('(')) return false;
  if (const std::size_t scope = spelling.rfind("::"); scope != std::string_view::npos)
    spelling.remove_prefix(scope + 2);
  const std::wstring_view name = ANames[I];
  if (name.size() != spelling.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i)
    if (name[i] != static_cast<wchar_t>(spelling[i])) return false;
  return true;
}

// The index of the first name of TEnumInfo<E> that is not its value's
// enumerator; the table's size when every name is.
template <class E, std::size_t... I>
constexpr std::size_t FirstMisnamedValue(std::index_sequence<I...>) {
  std::size_t result = sizeof...(I);
  ((result == sizeof...(I) && !NamesItsEnumerator<E, I>(TEnumInfo<E>::Names) ? result = I : result), ...);
  return result;
}

template <class E>
constexpr bool CheckEnumNames() {
  static_assert(requires { TEnumInfo<E>::Last; }, "TEnumInfo<E> names the last value: static constexpr E Last");
  constexpr std::size_t count = std::size(TEnumInfo<E>::Names);
  static_assert(count == static_cast<std::size_t>(TEnumInfo<E>::Last) + 1,
                "TEnumInfo<E>::Names has one name per value from 0 to Last");
  constexpr std::size_t misnamed = FirstMisnamedValue<E>(std::make_index_sequence<count>());
  static_assert(misnamed == count, "TEnumInfo<E>::Names spells each value's enumerator, in value order");
  return true;
}

template <class T>
constexpr TOrdType OrdTypeOf() {
  if constexpr (sizeof(T) == 1) return std::is_signed_v<T> ? otSByte : otUByte;
  else if constexpr (sizeof(T) == 2) return std::is_signed_v<T> ? otSWord : otUWord;
  else return std::is_signed_v<T> ? otSLong : otULong;
}
}  // namespace typinfo_detail

template <class T>
const TTypeInfo* TypeInfoOf() {
  using namespace typinfo_detail;
  if constexpr (requires { TIntegerIdents<T>::Name; }) {
    using U = typename std::conditional_t<std::is_enum_v<T>, std::underlying_type<T>, std::type_identity<T>>::type;
    static const TTypeInfo* info = MakeIdentInteger(TIntegerIdents<T>::Name, OrdTypeOf<U>(),
                                                    &TIntegerIdents<T>::ToIdent,
                                                    &TIntegerIdents<T>::FromIdent);
    return info;
  } else if constexpr (std::is_same_v<T, bool>) {
    static const wchar_t* const names[] = {L"False", L"True"};
    static const TTypeInfo* info = MakeEnum(L"Boolean", names);
    return info;
  } else if constexpr (std::is_enum_v<T>) {
    static_assert(CheckEnumNames<T>());
    static const TTypeInfo* info = MakeEnum(TEnumInfo<T>::Name, TEnumInfo<T>::Names);
    return info;
  } else if constexpr (std::is_same_v<T, wchar_t>) {
    static const TTypeInfo* info = MakeOrdinal(tkWChar, L"Char", otUWord, 0, 0xFFFF);
    return info;
  } else if constexpr (std::is_same_v<T, char>) {
    static const TTypeInfo* info = MakeOrdinal(tkChar, L"AnsiChar", otUByte, 0, 0xFF);
    return info;
  } else if constexpr (std::is_integral_v<T> && sizeof(T) == 8) {
    static const TTypeInfo* info = MakeOrdinal(tkInt64, std::is_signed_v<T> ? L"Int64" : L"UInt64",
                                               otSLong, std::numeric_limits<std::int64_t>::min(),
                                               std::numeric_limits<std::int64_t>::max());
    return info;
  } else if constexpr (std::is_integral_v<T>) {
    static const TTypeInfo* info =
        MakeOrdinal(tkInteger, std::is_signed_v<T> ? L"Integer" : L"Cardinal", OrdTypeOf<T>(),
                    std::numeric_limits<T>::min(), std::numeric_limits<T>::max());
    return info;
  } else if constexpr (std::is_floating_point_v<T>) {
    static const TTypeInfo* info =
        MakeFloat(sizeof(T) == 4 ? L"Single" : L"Double", sizeof(T) == 4 ? ftSingle : ftDouble);
    return info;
  } else if constexpr (std::is_same_v<T, String>) {
    static const TTypeInfo* info = MakeSimple(tkUString, L"string");
    return info;
  } else if constexpr (std::is_same_v<T, Variant>) {
    static const TTypeInfo* info = MakeSimple(tkVariant, L"Variant");
    return info;
  } else if constexpr (IsSet<T>::value) {
    static const TTypeInfo* info = MakeSet(TypeInfoOf<typename IsSet<T>::Element>());
    return info;
  } else if constexpr (IsDelegate<T>::value) {
    static const TTypeInfo* info = MakeMethod(typeid(T));
    return info;
  } else if constexpr (std::is_pointer_v<T> &&
                       std::is_base_of_v<TObject, std::remove_cv_t<std::remove_pointer_t<T>>>) {
    static const TTypeInfo* info = MakeClass(std::remove_cv_t<std::remove_pointer_t<T>>::ClassInfo());
    return info;
  } else {
    static_assert(sizeof(T) == 0, "this type cannot be published");
    return nullptr;
  }
}

// ---------------------------------------------------------------------------
// Published items

struct TPropInfo {
  static constexpr std::int64_t NoDefault = std::numeric_limits<std::int64_t>::min();

  String Name;
  const TTypeInfo* PropType = nullptr;
  std::int64_t Default = NoDefault;  // ordinal properties only
  bool HasSetter = false;

  // Accessors by kind; only those of the property's kind are set.
  std::function<std::int64_t(TObject*)> GetOrd;
  std::function<void(TObject*, std::int64_t)> SetOrd;
  std::function<double(TObject*)> GetFloat;
  std::function<void(TObject*, double)> SetFloat;
  std::function<String(TObject*)> GetStr;
  std::function<void(TObject*, const String&)> SetStr;
  std::function<TObject*(TObject*)> GetObj;
  std::function<void(TObject*, TObject*)> SetObj;
  std::function<TMethod(TObject*)> GetMethod;
  std::function<void(TObject*, const TMethod&)> SetMethod;
  std::function<void(TObject*, Variant&)> GetVar;
  std::function<void(TObject*, const Variant&)> SetVar;
  // Whether the value is stored; unset means always (before the default test).
  std::function<bool(TObject*)> Stored;

  TTypeKind Kind() const { return PropType->Kind; }
};

struct TMethodInfo {
  String Name;
  void* Code = nullptr;  // the thunk a Delegate calls
  const std::type_info* Signature = nullptr;
};

// A published field: an owned component of that name is stored in it when
// it joins its owner and cleared when it leaves.
struct TFieldInfo {
  String Name;
  TClass FieldClass = nullptr;
  void (*Set)(TObject* AOwner, TObject* AValue) = nullptr;
};

using TMessageHandler = void (*)(TObject*, TMessage&);

class TTypeData {
 public:
  // Inherited properties first, each class's in the order it published them.
  const std::vector<const TPropInfo*>& Properties() const { return FPropertyOrder; }
  // Not case-sensitive; null when absent.
  const TPropInfo* FindProperty(std::wstring_view AName) const;
  const TMethodInfo* FindMethod(std::wstring_view AName) const;
  const TMethodInfo* FindMethodByCode(const void* ACode) const;
  const TFieldInfo* FindField(std::wstring_view AName) const;
  TMessageHandler FindMessage(UINT AMsg) const;

 private:
  friend class TTypeDataBuilder;
  friend class TMetaClass;
  std::vector<std::shared_ptr<const TPropInfo>> FProperties;
  std::vector<const TPropInfo*> FPropertyOrder;
  std::vector<TMethodInfo> FMethods;
  std::vector<TFieldInfo> FFields;
  std::unordered_map<UINT, TMessageHandler> FMessages;
};

class TTypeDataBuilder {
 public:
  TTypeDataBuilder(TTypeData& AData, TClass AClass) : FData(AData), FClass(AClass) {}
  TClass Class() const { return FClass; }
  // Adds or, for a name already published, replaces in place.
  TPropInfo& AddProperty(TPropInfo AInfo);
  void AddMethod(TMethodInfo AInfo);
  void AddField(TFieldInfo AInfo);
  void AddMessage(UINT AMsg, TMessageHandler AHandler);

 private:
  TTypeData& FData;
  TClass FClass;
};

// Refines the property just published.
template <class C>
class TPropBuilder {
 public:
  explicit TPropBuilder(TPropInfo& AInfo) : FInfo(AInfo) {}
  template <class V>
  TPropBuilder& Default(V AValue) {
    if constexpr (typinfo_detail::IsSet<V>::value) FInfo.Default = static_cast<std::int64_t>(AValue.ToBits());
    else FInfo.Default = static_cast<std::int64_t>(AValue);
    return *this;
  }
  TPropBuilder& NoDefault() { FInfo.Default = TPropInfo::NoDefault; return *this; }
  TPropBuilder& Stored(bool AStored) {
    FInfo.Stored = [AStored](TObject*) { return AStored; };
    return *this;
  }
  // The test may be inherited (a member of a base of C).
  template <class R, class B>
    requires std::is_base_of_v<B, C>
  TPropBuilder& Stored(R (B::*AIsStored)() const) {
    FInfo.Stored = [AIsStored](TObject* o) { return static_cast<bool>((static_cast<C*>(o)->*AIsStored)()); };
    return *this;
  }

 private:
  TPropInfo& FInfo;
};

template <class C>
class TPublisher {
 public:
  explicit TPublisher(TTypeDataBuilder& ABuilder) : FBuilder(ABuilder) {}

  // A read-write property: getter `V (C::*)() const`, setter `void (C::*)(V)`.
  template <class G, class S>
  TPropBuilder<C> Property(const wchar_t* AName, G AGetter, S ASetter) {
    using V = std::decay_t<std::invoke_result_t<G, C*>>;
    TPropInfo info = MakeInfo<V>(AName, AGetter);
    info.HasSetter = true;
    AddSetter<V>(info, ASetter);
    return TPropBuilder<C>(FBuilder.AddProperty(std::move(info)));
  }

  // A read-only property; an object-typed one is read into in place.
  template <class G>
  TPropBuilder<C> Property(const wchar_t* AName, G AGetter) {
    using V = std::decay_t<std::invoke_result_t<G, C*>>;
    return TPropBuilder<C>(FBuilder.AddProperty(MakeInfo<V>(AName, AGetter)));
  }

  // A published method, bound to events by name.
  template <auto M>
  void Method(const wchar_t* AName) {
    using T = MemberThunk<M>;
    FBuilder.AddMethod({AName, reinterpret_cast<void*>(&T::Call), &typeid(Delegate<typename T::Signature>)});
  }

  // A published field `T* C::*` (T a TObject descendant), filled with the
  // owned component of the same name.
  template <auto F>
  void Field(const wchar_t* AName) {
    using T = std::remove_pointer_t<std::remove_reference_t<decltype(std::declval<C&>().*F)>>;
    FBuilder.AddField({AName, T::ClassInfo(), [](TObject* AOwner, TObject* AValue) {
                         static_cast<C*>(AOwner)->*F = static_cast<T*>(AValue);
                       }});
  }

  // A message handler `void (C::*)(TMessage&)`.
  template <auto H>
  void Message(UINT AMsg) {
    FBuilder.AddMessage(AMsg, [](TObject* AObject, TMessage& AMessage) {
      (static_cast<C*>(AObject)->*H)(AMessage);
    });
  }

 private:
  static C* Self(TObject* AObject) { return static_cast<C*>(AObject); }

  template <class V, class G>
  static TPropInfo MakeInfo(const wchar_t* AName, G AGetter) {
    TPropInfo info;
    info.Name = AName;
    info.PropType = TypeInfoOf<V>();
    switch (info.PropType->Kind) {
      case tkInteger: case tkChar: case tkWChar: case tkEnumeration: case tkSet: case tkInt64:
        info.GetOrd = [AGetter](TObject* o) { return ToOrd(std::invoke(AGetter, Self(o))); };
        break;
      default:
        break;
    }
    if constexpr (std::is_floating_point_v<V>)
      info.GetFloat = [AGetter](TObject* o) { return static_cast<double>(std::invoke(AGetter, Self(o))); };
    else if constexpr (std::is_same_v<V, String>)
      info.GetStr = [AGetter](TObject* o) { return String(std::invoke(AGetter, Self(o))); };
    else if constexpr (std::is_same_v<V, Variant>)
      info.GetVar = [AGetter](TObject* o, Variant& v) { v = std::invoke(AGetter, Self(o)); };
    else if constexpr (typinfo_detail::IsDelegate<V>::value)
      info.GetMethod = [AGetter](TObject* o) { return std::invoke(AGetter, Self(o)).AsMethod(); };
    else if constexpr (std::is_pointer_v<V>)
      info.GetObj = [AGetter](TObject* o) -> TObject* { return std::invoke(AGetter, Self(o)); };
    return info;
  }

  template <class V, class S>
  static void AddSetter(TPropInfo& AInfo, S ASetter) {
    if constexpr (std::is_floating_point_v<V>)
      AInfo.SetFloat = [ASetter](TObject* o, double v) { std::invoke(ASetter, Self(o), static_cast<V>(v)); };
    else if constexpr (std::is_same_v<V, String>)
      AInfo.SetStr = [ASetter](TObject* o, const String& v) { std::invoke(ASetter, Self(o), v); };
    else if constexpr (std::is_same_v<V, Variant>)
      AInfo.SetVar = [ASetter](TObject* o, const Variant& v) { std::invoke(ASetter, Self(o), v); };
    else if constexpr (typinfo_detail::IsDelegate<V>::value)
      AInfo.SetMethod = [ASetter](TObject* o, const TMethod& m) { std::invoke(ASetter, Self(o), V::FromMethod(m)); };
    else if constexpr (std::is_pointer_v<V>)
      AInfo.SetObj = [ASetter](TObject* o, TObject* v) {
        using T = std::remove_pointer_t<V>;
        std::invoke(ASetter, Self(o), v ? As<std::remove_cv_t<T>>(v) : nullptr);
      };
    else
      AInfo.SetOrd = [ASetter](TObject* o, std::int64_t v) { std::invoke(ASetter, Self(o), FromOrd<V>(v)); };
  }

  template <class V>
  static std::int64_t ToOrd(const V& AValue) {
    if constexpr (typinfo_detail::IsSet<V>::value) return static_cast<std::int64_t>(AValue.ToBits());
    else if constexpr (std::is_arithmetic_v<V> || std::is_enum_v<V>) return static_cast<std::int64_t>(AValue);
    else return 0;
  }
  template <class V>
  static V FromOrd(std::int64_t AValue) {
    if constexpr (typinfo_detail::IsSet<V>::value) return V::FromBits(static_cast<std::uint64_t>(AValue));
    else return static_cast<V>(AValue);
  }

  TTypeDataBuilder& FBuilder;
};

template <class C>
void PublishThunk(TTypeDataBuilder& ABuilder) {
  TPublisher<C> publisher(ABuilder);
  C::Publish(publisher);
}

// ---------------------------------------------------------------------------
// Access by name. The Get/Set functions raise EPropertyError for a property
// of another kind or without a setter.

const TPropInfo* GetPropInfo(TClass AClass, std::wstring_view AName);
const TPropInfo* GetPropInfo(const TObject* AObject, std::wstring_view AName);
// Like GetPropInfo but raises EPropertyError when the property does not exist.
const TPropInfo* FindPropInfo(const TObject* AObject, std::wstring_view AName);
const std::vector<const TPropInfo*>& GetPropList(const TObject* AObject);

std::int64_t GetOrdProp(TObject* AObject, const TPropInfo* AProp);
void SetOrdProp(TObject* AObject, const TPropInfo* AProp, std::int64_t AValue);
String GetEnumProp(TObject* AObject, const TPropInfo* AProp);
void SetEnumProp(TObject* AObject, const TPropInfo* AProp, const String& AValue);
String GetSetProp(TObject* AObject, const TPropInfo* AProp, bool ABrackets = false);
void SetSetProp(TObject* AObject, const TPropInfo* AProp, const String& AValue);
double GetFloatProp(TObject* AObject, const TPropInfo* AProp);
void SetFloatProp(TObject* AObject, const TPropInfo* AProp, double AValue);
String GetStrProp(TObject* AObject, const TPropInfo* AProp);
void SetStrProp(TObject* AObject, const TPropInfo* AProp, const String& AValue);
TObject* GetObjectProp(TObject* AObject, const TPropInfo* AProp);
void SetObjectProp(TObject* AObject, const TPropInfo* AProp, TObject* AValue);
TMethod GetMethodProp(TObject* AObject, const TPropInfo* AProp);
void SetMethodProp(TObject* AObject, const TPropInfo* AProp, const TMethod& AValue);
void GetVariantProp(TObject* AObject, const TPropInfo* AProp, Variant& AValue);
void SetVariantProp(TObject* AObject, const TPropInfo* AProp, const Variant& AValue);

// Whether the writer stores the property: its stored test, then for ordinal
// kinds whether the value differs from the default.
bool IsStoredProp(TObject* AObject, const TPropInfo* AProp);
bool IsDefaultOrdValue(TObject* AObject, const TPropInfo* AProp);
