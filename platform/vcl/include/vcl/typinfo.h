#pragma once
// Run-time type information: the published properties of each class, read and written by name,
// the published handlers that form descriptions bind events to, and the class registry.
//
// A class declares VCL_CLASS_INFO and defines its description once, in its source:
//   const TClassInfo& TFoo::StaticClassInfo() {
//     static const TClassInfo info("TFoo", &TComponent::StaticClassInfo(),
//         {OrdProperty<TFoo>("Count", TypeInfo_Integer, &TFoo::GetCount, &TFoo::SetCount, 0),
//          EventProperty<TFoo>("OnChange", TypeInfo_TNotifyEvent, &TFoo::OnChange)});
//     return info;
//   }
#include <any>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "vcl/objects.h"
#include "vcl/sysutils.h"

class TComponent;

enum TTypeKind { tkUnknown, tkInteger, tkChar, tkEnumeration, tkFloat, tkString, tkSet, tkClass, tkMethod };

struct TTypeInfo {
  std::string Name;
  TTypeKind Kind;
  // Enumeration: the value names by ordinal. Set: the element names by ordinal.
  std::vector<std::string> Names = {};
  const TClassInfo* ClassType = nullptr;  // tkClass
};

extern const TTypeInfo TypeInfo_Integer;
extern const TTypeInfo TypeInfo_Char;
extern const TTypeInfo TypeInfo_Boolean;  // enumeration False, True
extern const TTypeInfo TypeInfo_String;
extern const TTypeInfo TypeInfo_Extended;
extern const TTypeInfo TypeInfo_TNotifyEvent;

class EPropertyError : public Exception {
  using Exception::Exception;
};
class EClassNotFound : public Exception {
  using Exception::Exception;
};

// One published property. Only the accessors of its kind are set; a missing setter makes it
// read-only. Ordinal kinds (integer, char, enumeration, set as a bit mask) go through Ord.
struct TPropInfo {
  std::string Name;
  // Fixed types are given; an object property names its class through a function, asked only
  // when the type is first wanted, so that a class may have a property of its own class while
  // its description is still being made.
  const TTypeInfo* Type = nullptr;
  const TTypeInfo& (*ResolveType)() = nullptr;
  std::function<std::int64_t(TObject&)> GetOrd;
  std::function<void(TObject&, std::int64_t)> SetOrd;
  std::function<std::string(TObject&)> GetStr;
  std::function<void(TObject&, const std::string&)> SetStr;
  std::function<long double(TObject&)> GetFloat;
  std::function<void(TObject&, long double)> SetFloat;
  std::function<TObject*(TObject&)> GetObject;
  std::function<void(TObject&, TObject*)> SetObject;
  // Takes a std::any holding the event's exact std::function type.
  std::function<void(TObject&, const std::any&)> SetMethod;
  // The value a form description leaves out (ordinal kinds).
  std::optional<std::int64_t> Default;

  const TTypeInfo& PropType() const { return Type ? *Type : ResolveType(); }
  TTypeKind Kind() const { return PropType().Kind; }
};

// A published handler: binds the method to an instance as a std::any of its std::function type.
struct TMethodEntry {
  std::string Name;
  std::function<std::any(TObject&)> Bind;
};

class TClassInfo {
 public:
  using TFactory = std::function<TComponent*(TComponent* Owner)>;

  TClassInfo(std::string name, const TClassInfo* parent, std::vector<TPropInfo> properties = {},
             std::vector<TMethodEntry> methods = {}, TFactory create = {});
  TClassInfo(const TClassInfo&) = delete;
  TClassInfo& operator=(const TClassInfo&) = delete;

  const std::string& Name() const { return type_.Name; }
  const TClassInfo* Parent() const { return parent_; }
  const TTypeInfo& TypeInfo() const { return type_; }
  bool InheritsFrom(const TClassInfo& ancestor) const;
  // The published properties, the ancestors' first.
  std::vector<const TPropInfo*> Properties() const;
  // By name without regard to case, the class's own first, then its ancestors'.
  const TPropInfo* FindProperty(const std::string& name) const;
  const TMethodEntry* FindMethod(const std::string& name) const;
  // Creates an instance on Owner; empty for classes that forms cannot create.
  const TFactory& Create() const { return create_; }

 private:
  TTypeInfo type_;
  const TClassInfo* parent_;
  std::vector<TPropInfo> properties_;
  std::vector<TMethodEntry> methods_;
  TFactory create_;
};

template <class T>
TComponent* CreateComponent(TComponent* Owner) {
  return new T(Owner);
}

namespace typinfo_detail {

// The value type a setter member function or a field takes.
template <class S>
struct ValueOf;
template <class C, class T>
struct ValueOf<T C::*> {
  using type = T;
};
template <class C, class R, class A>
struct ValueOf<R (C::*)(A)> {
  using type = std::decay_t<A>;
};

template <class C, class G>
decltype(auto) Read(G get, TObject& o) {
  return std::invoke(get, static_cast<C&>(o));
}

template <class C, class S, class V>
void Write(S set, TObject& o, V&& v) {
  if constexpr (std::is_member_object_pointer_v<S>) static_cast<C&>(o).*set = std::forward<V>(v);
  else
    std::invoke(set, static_cast<C&>(o), std::forward<V>(v));
}

template <class T>
std::int64_t ToOrd(const T& v) {
  if constexpr (requires { v.Bits(); }) return v.Bits();
  else
    return static_cast<std::int64_t>(v);
}

template <class T>
T FromOrd(std::int64_t v) {
  if constexpr (requires { T::FromBits(0u); }) return T::FromBits(static_cast<std::uint32_t>(v));
  else
    return static_cast<T>(v);
}

}  // namespace typinfo_detail

// Accessors are member functions or fields of C; nullptr as the setter makes a read-only property.
template <class C, class G, class S>
TPropInfo OrdProperty(std::string name, const TTypeInfo& type, G get, S set,
                      std::optional<std::int64_t> defaultValue = std::nullopt) {
  TPropInfo p;
  p.Name = std::move(name);
  p.Type = &type;
  p.GetOrd = [get](TObject& o) { return typinfo_detail::ToOrd(typinfo_detail::Read<C>(get, o)); };
  if constexpr (!std::is_null_pointer_v<S>)
    p.SetOrd = [set](TObject& o, std::int64_t v) {
      using V = typename typinfo_detail::ValueOf<S>::type;
      typinfo_detail::Write<C>(set, o, typinfo_detail::FromOrd<V>(v));
    };
  p.Default = defaultValue;
  return p;
}

template <class C, class G, class S>
TPropInfo StrProperty(std::string name, G get, S set) {
  TPropInfo p;
  p.Name = std::move(name);
  p.Type = &TypeInfo_String;
  p.GetStr = [get](TObject& o) { return std::string(typinfo_detail::Read<C>(get, o)); };
  if constexpr (!std::is_null_pointer_v<S>)
    p.SetStr = [set](TObject& o, const std::string& v) { typinfo_detail::Write<C>(set, o, v); };
  return p;
}

template <class C, class G, class S>
TPropInfo FloatProperty(std::string name, const TTypeInfo& type, G get, S set) {
  TPropInfo p;
  p.Name = std::move(name);
  p.Type = &type;
  p.GetFloat = [get](TObject& o) { return static_cast<long double>(typinfo_detail::Read<C>(get, o)); };
  if constexpr (!std::is_null_pointer_v<S>)
    p.SetFloat = [set](TObject& o, long double v) {
      using V = typename typinfo_detail::ValueOf<S>::type;
      typinfo_detail::Write<C>(set, o, static_cast<V>(v));
    };
  return p;
}

// An object property of class T (T describes itself with VCL_CLASS_INFO).
template <class C, class T, class G, class S>
TPropInfo ObjectProperty(std::string name, G get, S set) {
  TPropInfo p;
  p.Name = std::move(name);
  p.ResolveType = []() -> const TTypeInfo& { return T::StaticClassInfo().TypeInfo(); };
  p.GetObject = [get](TObject& o) -> TObject* { return typinfo_detail::Read<C>(get, o); };
  if constexpr (!std::is_null_pointer_v<S>)
    p.SetObject = [set](TObject& o, TObject* v) {
      T* value = dynamic_cast<T*>(v);
      if (v && !value) throw EPropertyError("Invalid property type: %s", {v->ClassName()});
      typinfo_detail::Write<C>(set, o, value);
    };
  return p;
}

// An event: a std::function field (or setter) of type Event.
template <class C, class S>
TPropInfo EventProperty(std::string name, const TTypeInfo& type, S set) {
  TPropInfo p;
  p.Name = std::move(name);
  p.Type = &type;
  p.SetMethod = [set](TObject& o, const std::any& handler) {
    using Event = typename typinfo_detail::ValueOf<S>::type;
    const Event* event = std::any_cast<Event>(&handler);
    if (!event) throw EPropertyError("Invalid property value");
    typinfo_detail::Write<C>(set, o, *event);
  };
  return p;
}

// A published handler of class C, e.g. Handler<TfmLogo>("btLogoClick", &TfmLogo::btLogoClick).
template <class C, class... Args>
TMethodEntry Handler(std::string name, void (C::*method)(Args...)) {
  return {std::move(name), [method](TObject& o) {
            C* self = &static_cast<C&>(o);
            return std::any(std::function<void(Args...)>(
                [self, method](Args... args) { (self->*method)(std::forward<Args>(args)...); }));
          }};
}

const TPropInfo* GetPropInfo(const TObject& instance, const std::string& name);
std::vector<const TPropInfo*> GetPropList(const TObject& instance);

// The accessors below raise EPropertyError for a property of another kind or without setter.
std::int64_t GetOrdProp(TObject& instance, const TPropInfo& prop);
void SetOrdProp(TObject& instance, const TPropInfo& prop, std::int64_t value);
std::string GetStrProp(TObject& instance, const TPropInfo& prop);
void SetStrProp(TObject& instance, const TPropInfo& prop, const std::string& value);
long double GetFloatProp(TObject& instance, const TPropInfo& prop);
void SetFloatProp(TObject& instance, const TPropInfo& prop, long double value);
TObject* GetObjectProp(TObject& instance, const TPropInfo& prop);
void SetObjectProp(TObject& instance, const TPropInfo& prop, TObject* value);
// Enumerations by value name, without regard to case when writing.
std::string GetEnumProp(TObject& instance, const TPropInfo& prop);
void SetEnumProp(TObject& instance, const TPropInfo& prop, const std::string& name);
// Sets as the member names in ordinal order joined by "," ("fsBold,fsItalic").
std::string GetSetProp(TObject& instance, const TPropInfo& prop);
void SetSetProp(TObject& instance, const TPropInfo& prop, const std::string& text);
// Binds the event to the published handler HandlerName of HandlerOwner (a form).
void SetMethodProp(TObject& instance, const TPropInfo& prop, TObject& handlerOwner, const std::string& handlerName);

std::string GetEnumName(const TTypeInfo& type, std::int64_t value);
// -1 when no value has that name (compared without regard to case).
int GetEnumValue(const TTypeInfo& type, const std::string& name);
std::string SetToString(const TTypeInfo& type, std::uint32_t bits);
// Names separated by ",", blanks and enclosing "[" "]" allowed; an unknown name raises EPropertyError.
std::uint32_t StringToSet(const TTypeInfo& type, const std::string& text);

// A property found through a dotted path of object properties ("Font.Color").
struct TPropPath {
  TObject* Instance = nullptr;  // the object that has the last property; none when not found
  const TPropInfo* Prop = nullptr;
};
TPropPath FindPropPath(TObject& root, const std::string& path);

// The class registry that form descriptions create their components through.
void RegisterClass(const TClassInfo& info);
const TClassInfo* GetClass(const std::string& name);  // none when not registered
const TClassInfo& FindClass(const std::string& name);  // EClassNotFound when not registered

// Integer types whose values a form description may name (colours, cursors ...).
using TIdentToInt = std::function<bool(const std::string& ident, std::int64_t& value)>;
using TIntToIdent = std::function<bool(std::int64_t value, std::string& ident)>;
void RegisterIntegerConsts(const TTypeInfo& type, TIdentToInt identToInt, TIntToIdent intToIdent);
const TIdentToInt* FindIdentToInt(const TTypeInfo& type);
const TIntToIdent* FindIntToIdent(const TTypeInfo& type);
