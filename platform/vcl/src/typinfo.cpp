// Published properties by name, the class registry and the integer-constant registry.
#include <map>

#include "vcl/typinfo.h"

const TTypeInfo TypeInfo_Integer{"Integer", tkInteger};
const TTypeInfo TypeInfo_Char{"Char", tkChar};
const TTypeInfo TypeInfo_Boolean{"Boolean", tkEnumeration, {"False", "True"}};
const TTypeInfo TypeInfo_String{"string", tkString};
const TTypeInfo TypeInfo_Extended{"Extended", tkFloat};
const TTypeInfo TypeInfo_TNotifyEvent{"TNotifyEvent", tkMethod};

TClassInfo::TClassInfo(std::string name, const TClassInfo* parent, std::vector<TPropInfo> properties,
                       std::vector<TMethodEntry> methods, TFactory create)
    : type_{std::move(name), tkClass, {}, this},
      parent_(parent),
      properties_(std::move(properties)),
      methods_(std::move(methods)),
      create_(std::move(create)) {}

bool TClassInfo::InheritsFrom(const TClassInfo& ancestor) const {
  for (const TClassInfo* c = this; c; c = c->parent_)
    if (c == &ancestor) return true;
  return false;
}

std::vector<const TPropInfo*> TClassInfo::Properties() const {
  std::vector<const TPropInfo*> list = parent_ ? parent_->Properties() : std::vector<const TPropInfo*>{};
  for (const TPropInfo& p : properties_) list.push_back(&p);
  return list;
}

const TPropInfo* TClassInfo::FindProperty(const std::string& name) const {
  for (const TClassInfo* c = this; c; c = c->parent_)
    for (const TPropInfo& p : c->properties_)
      if (SameText(p.Name, name)) return &p;
  return nullptr;
}

const TMethodEntry* TClassInfo::FindMethod(const std::string& name) const {
  for (const TClassInfo* c = this; c; c = c->parent_)
    for (const TMethodEntry& m : c->methods_)
      if (SameText(m.Name, name)) return &m;
  return nullptr;
}

const TPropInfo* GetPropInfo(const TObject& instance, const std::string& name) {
  return instance.ClassInfo().FindProperty(name);
}

std::vector<const TPropInfo*> GetPropList(const TObject& instance) { return instance.ClassInfo().Properties(); }

namespace {

[[noreturn]] void WrongType(const TPropInfo& prop) {
  throw EPropertyError("Invalid property type: %s", {prop.PropType().Name});
}

template <class F>
const F& Getter(const TPropInfo& prop, const F& accessor) {
  if (!accessor) WrongType(prop);
  return accessor;
}

template <class F>
const F& Setter(const TPropInfo& prop, const F& accessor, bool kindFits) {
  if (!kindFits) WrongType(prop);
  if (!accessor) throw EPropertyError("Property is read-only");
  return accessor;
}

bool Ordinal(const TPropInfo& prop) {
  const TTypeKind k = prop.Kind();
  return k == tkInteger || k == tkChar || k == tkEnumeration || k == tkSet;
}

}  // namespace

std::int64_t GetOrdProp(TObject& instance, const TPropInfo& prop) { return Getter(prop, prop.GetOrd)(instance); }

void SetOrdProp(TObject& instance, const TPropInfo& prop, std::int64_t value) {
  Setter(prop, prop.SetOrd, Ordinal(prop))(instance, value);
}

std::string GetStrProp(TObject& instance, const TPropInfo& prop) { return Getter(prop, prop.GetStr)(instance); }

void SetStrProp(TObject& instance, const TPropInfo& prop, const std::string& value) {
  Setter(prop, prop.SetStr, prop.Kind() == tkString)(instance, value);
}

long double GetFloatProp(TObject& instance, const TPropInfo& prop) { return Getter(prop, prop.GetFloat)(instance); }

void SetFloatProp(TObject& instance, const TPropInfo& prop, long double value) {
  Setter(prop, prop.SetFloat, prop.Kind() == tkFloat)(instance, value);
}

TObject* GetObjectProp(TObject& instance, const TPropInfo& prop) { return Getter(prop, prop.GetObject)(instance); }

void SetObjectProp(TObject& instance, const TPropInfo& prop, TObject* value) {
  Setter(prop, prop.SetObject, prop.Kind() == tkClass)(instance, value);
}

std::string GetEnumProp(TObject& instance, const TPropInfo& prop) {
  if (prop.Kind() != tkEnumeration) WrongType(prop);
  return GetEnumName(prop.PropType(), GetOrdProp(instance, prop));
}

void SetEnumProp(TObject& instance, const TPropInfo& prop, const std::string& name) {
  if (prop.Kind() != tkEnumeration) WrongType(prop);
  const int value = GetEnumValue(prop.PropType(), name);
  if (value < 0) throw EPropertyError("Invalid property value");
  SetOrdProp(instance, prop, value);
}

std::string GetSetProp(TObject& instance, const TPropInfo& prop) {
  if (prop.Kind() != tkSet) WrongType(prop);
  return SetToString(prop.PropType(), static_cast<std::uint32_t>(GetOrdProp(instance, prop)));
}

void SetSetProp(TObject& instance, const TPropInfo& prop, const std::string& text) {
  if (prop.Kind() != tkSet) WrongType(prop);
  SetOrdProp(instance, prop, StringToSet(prop.PropType(), text));
}

void SetMethodProp(TObject& instance, const TPropInfo& prop, TObject& handlerOwner, const std::string& handlerName) {
  const auto& set = Setter(prop, prop.SetMethod, prop.Kind() == tkMethod);
  const TMethodEntry* method = handlerOwner.ClassInfo().FindMethod(handlerName);
  if (!method) throw EPropertyError("Invalid property value");
  set(instance, method->Bind(handlerOwner));
}

std::string GetEnumName(const TTypeInfo& type, std::int64_t value) {
  if (value < 0 || value >= static_cast<std::int64_t>(type.Names.size())) return {};
  return type.Names[static_cast<std::size_t>(value)];
}

int GetEnumValue(const TTypeInfo& type, const std::string& name) {
  for (std::size_t i = 0; i < type.Names.size(); ++i)
    if (SameText(type.Names[i], name)) return static_cast<int>(i);
  return -1;
}

std::string SetToString(const TTypeInfo& type, std::uint32_t bits) {
  std::string text;
  for (std::size_t i = 0; i < type.Names.size() && i < 32; ++i) {
    if (!(bits & (std::uint32_t{1} << i))) continue;
    if (!text.empty()) text += ',';
    text += type.Names[i];
  }
  return text;
}

std::uint32_t StringToSet(const TTypeInfo& type, const std::string& text) {
  std::string body = Trim(text);
  if (!body.empty() && body.front() == '[') body.erase(0, 1);
  if (!body.empty() && body.back() == ']') body.pop_back();
  std::uint32_t bits = 0;
  std::size_t start = 0;
  while (start <= body.size()) {
    std::size_t comma = body.find(',', start);
    if (comma == std::string::npos) comma = body.size();
    const std::string name = Trim(body.substr(start, comma - start));
    if (!name.empty()) {
      const int ordinal = GetEnumValue(type, name);
      if (ordinal < 0 || ordinal >= 32) throw EPropertyError("Invalid property element: %s", {name});
      bits |= std::uint32_t{1} << ordinal;
    }
    start = comma + 1;
  }
  return bits;
}

TPropPath FindPropPath(TObject& root, const std::string& path) {
  TObject* current = &root;
  std::size_t start = 0;
  while (current) {
    const std::size_t dot = path.find('.', start);
    const TPropInfo* prop = GetPropInfo(*current, path.substr(start, dot - start));
    if (!prop) return {};
    if (dot == std::string::npos) return {current, prop};
    if (prop->Kind() != tkClass) return {};
    current = GetObjectProp(*current, *prop);
    start = dot + 1;
  }
  return {};
}

namespace {

std::map<std::string, const TClassInfo*>& Classes() {
  static std::map<std::string, const TClassInfo*> classes;
  return classes;
}

struct TIntConsts {
  TIdentToInt IdentToInt;
  TIntToIdent IntToIdent;
};

std::map<const TTypeInfo*, TIntConsts>& IntConsts() {
  static std::map<const TTypeInfo*, TIntConsts> consts;
  return consts;
}

}  // namespace

void RegisterClass(const TClassInfo& info) { Classes()[UpperCase(info.Name())] = &info; }

const TClassInfo* GetClass(const std::string& name) {
  const auto found = Classes().find(UpperCase(name));
  return found == Classes().end() ? nullptr : found->second;
}

const TClassInfo& FindClass(const std::string& name) {
  const TClassInfo* info = GetClass(name);
  if (!info) throw EClassNotFound("Class %s not found", {name});
  return *info;
}

void RegisterIntegerConsts(const TTypeInfo& type, TIdentToInt identToInt, TIntToIdent intToIdent) {
  IntConsts()[&type] = {std::move(identToInt), std::move(intToIdent)};
}

const TIdentToInt* FindIdentToInt(const TTypeInfo& type) {
  const auto found = IntConsts().find(&type);
  return found == IntConsts().end() ? nullptr : &found->second.IdentToInt;
}

const TIntToIdent* FindIntToIdent(const TTypeInfo& type) {
  const auto found = IntConsts().find(&type);
  return found == IntConsts().end() ? nullptr : &found->second.IntToIdent;
}
