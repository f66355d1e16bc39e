// One stored setting: its value and kinds, the binding to a property and the conversions.
#include "settings/setorra.h"

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "settings/hidden_props.h"
#include "settings/setorras.h"
#include "setorra_binding.h"
#include "vcl/collections.h"
#include "vcl/strings.h"
#include "vcl/system.h"
#include "vcl/typinfo.h"

namespace {

constexpr char kGetAsError[] = "Cannot use GetAs functions with collections or hidden properties";
constexpr char kSetAsError[] = "Cannot use SetAs functions with collections or hidden properties";

// Guards a flag for the length of a scope.
class TFlagScope {
 public:
  explicit TFlagScope(bool& flag) : flag_(flag), saved_(flag) { flag_ = true; }
  ~TFlagScope() { flag_ = saved_; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

 private:
  bool& flag_;
  bool saved_;
};

bool IsText(TSetorraKind kind) { return kind == skString || kind == skVariant; }
// Collections and hidden properties: kinds without a text to give a property.
bool IsObjectKind(TSetorraKind kind) { return kind == skHiddenProps || kind == skCollection; }

// The bits of the names in a comma-separated list; a name the type does not have adds none.
std::uint32_t SetBitsOf(const TTypeInfo& type, const std::string& text) {
  std::uint32_t bits = 0;
  for (std::size_t start = 0;;) {
    const std::size_t comma = text.find(',', start);
    const std::string piece = Trim(text.substr(start, comma == std::string::npos ? comma : comma - start));
    for (std::size_t i = 0; i < type.Names.size() && i < 32; ++i)
      if (SameText(piece, type.Names[i])) bits |= std::uint32_t{1} << i;
    if (comma == std::string::npos) return bits;
    start = comma + 1;
  }
}

int ClampToInteger(long double value) {
  if (std::isnan(value)) return 0;
  value = std::trunc(value);
  if (value >= static_cast<long double>(std::numeric_limits<std::int32_t>::max()))
    return std::numeric_limits<std::int32_t>::max();
  if (value <= static_cast<long double>(std::numeric_limits<std::int32_t>::min()))
    return std::numeric_limits<std::int32_t>::min();
  return static_cast<int>(value);
}

}  // namespace

// ---- Binding ----------------------------------------------------------------------------------

std::vector<std::string> SplitPath(const std::string& Path) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t dot = Path.find('.'); dot != std::string::npos; dot = Path.find('.', start)) {
    parts.push_back(Path.substr(start, dot - start));
    start = dot + 1;
  }
  parts.push_back(Path.substr(start));
  return parts;
}

bool ReadTextNumber(const std::string& Text, long double& Value) {
  try {
    Value = StrToFloat(Text);
    return true;
  } catch (const EConvertError&) {
    Value = 0;
    return false;
  }
}

TBinding ResolveBinding(TComponent* Root, const std::string& Path, bool Reading) {
  if (!Root || Path.empty()) return {};
  const std::vector<std::string> parts = SplitPath(Path);
  std::size_t first = 0;
  if (!Root->Name().empty() && SameText(parts[0], Root->Name())) first = 1;
  TObject* current = Root;
  for (std::size_t i = first; i < parts.size(); ++i) {
    const std::string& part = parts[i];
    const bool last = i + 1 == parts.size();
    if (const TPropInfo* prop = current->ClassInfo().FindProperty(part)) {
      if (last) return {TBinding::Property, current, prop, {}};
      if (prop->Kind() != tkClass) return {};
      TObject* next = GetObjectProp(*current, *prop);
      if (!next) return {};  // an unassigned object names nothing
      current = next;
      continue;
    }
    if (TComponent* component = Root->FindComponent(part)) {
      if (last) return {};
      current = component;
      continue;
    }
    if (Reading && last) {
      if (auto* persistent = dynamic_cast<TPersistent*>(current)) {
        TPHiddenPropsUse hidden(persistent);
        if (hidden.Has(part)) return {TBinding::Hidden, current, nullptr, part};
      }
    }
    return {};
  }
  return {};
}

// ---- TSetorra ---------------------------------------------------------------------------------

TSetorra::TSetorra(TComponent* AOwner)
    : TComponent(AOwner), trueText_(GetEnumName(TypeInfo_Boolean, 1)), falseText_(GetEnumName(TypeInfo_Boolean, 0)) {}

std::string TSetorra::UniqueName() const {
  std::string unique = boundProperty_ + name_;
  for (char& c : unique)
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) c = '_';
  return unique;
}

TComponent* TSetorra::Root() const {
  TComponent* owner = Owner();
  // In the designer the settings component owns its settings; the form owns that.
  if (dynamic_cast<TSetorras*>(owner)) return owner->Owner();
  return owner;
}

void TSetorra::Refresh() {
  if (!writingBack_) RefreshFromProperty();
}

void TSetorra::Store(TSetorraValue Value) { value_ = std::move(Value); }

void TSetorra::StoreAndWrite(TSetorraValue Value) {
  Store(std::move(Value));
  if (refreshing_) return;
  WriteToProperty();
  if (OnChange) OnChange(this);
}

void TSetorra::CheckSettable() const {
  if (value_.Kind == skHiddenProps || value_.Kind == skCollection) throw ESetorraException(kSetAsError);
}

void TSetorra::AssignValue(const TSetorraValue& Value) { StoreAndWrite(Value); }

// ---- Getters ----------------------------------------------------------------------------------

bool TSetorra::AsBoolean() {
  Refresh();
  switch (value_.Kind) {
    case skString:
    case skVariant: return value_.Text == trueText_;
    case skInteger: return value_.Integer != 0;
    case skFloat: return value_.Float != 0;
    case skBoolean: return value_.Boolean;
    case skDateTime: throw ESetorraException("TSetorra.AsBoolean cannot convert from TDateTime type");
    case skStrings: throw ESetorraException("TSetorra.AsBoolean cannot convert from TStrings type");
    case skHiddenProps:
    case skCollection: throw ESetorraException(kGetAsError);
    case skNone: break;
  }
  return false;
}

int TSetorra::AsInteger() {
  Refresh();
  switch (value_.Kind) {
    case skString:
    case skVariant: {
      long double number = 0;
      ReadTextNumber(value_.Text, number);
      return ClampToInteger(number);
    }
    case skInteger: return value_.Integer;
    case skFloat: return ClampToInteger(value_.Float);
    case skBoolean: return value_.Boolean ? 1 : 0;
    case skDateTime: throw ESetorraException("TSetorra.AsInteger cannot convert from TDateTime type");
    case skStrings: throw ESetorraException("TSetorra.AsInteger cannot convert from TStrings type");
    case skHiddenProps:
    case skCollection: throw ESetorraException(kGetAsError);
    case skNone: break;
  }
  return 0;
}

long double TSetorra::AsFloat() {
  Refresh();
  switch (value_.Kind) {
    case skString:
    case skVariant: {
      long double number = 0;
      ReadTextNumber(value_.Text, number);
      return number;
    }
    case skInteger: return value_.Integer;
    case skFloat:
    case skDateTime: return value_.Float;
    case skBoolean: return value_.Boolean ? 1.0L : 0.0L;
    case skStrings: throw ESetorraException("TSetorra.AsFloat cannot convert from TStrings type");
    case skHiddenProps:
    case skCollection: throw ESetorraException(kGetAsError);
    case skNone: break;
  }
  return 0;
}

TDateTime TSetorra::AsDateTime() { return static_cast<TDateTime>(AsFloat()); }

std::string TSetorra::AsString() {
  Refresh();
  switch (value_.Kind) {
    case skString:
    case skVariant:
    case skStrings: return value_.Text;
    case skInteger: return IntToStr(value_.Integer);
    case skFloat: return FloatToStr(value_.Float);
    case skBoolean: return value_.Boolean ? trueText_ : falseText_;
    case skDateTime: return DateTimeToStr(static_cast<TDateTime>(value_.Float));
    case skHiddenProps:
    case skCollection: throw ESetorraException(kGetAsError);
    case skNone: break;
  }
  return "";
}

TVariant TSetorra::AsVariant() {
  Refresh();
  switch (value_.Kind) {
    case skString:
    case skVariant:
    case skStrings: return TVariant(value_.Text);
    case skInteger: return TVariant(static_cast<int>(value_.Integer));
    case skFloat:
    case skDateTime: return TVariant(value_.Float);
    case skBoolean: return TVariant(value_.Boolean);
    case skHiddenProps:
    case skCollection: throw ESetorraException(kGetAsError);
    case skNone: break;
  }
  return TVariant(std::string());
}

void TSetorra::GetAsStrings(TStrings* Strings) {
  Refresh();
  if (!Strings) return;
  switch (value_.Kind) {
    case skNone: return;
    case skStrings: Strings->SetText(value_.Text); return;
    case skHiddenProps:
    case skCollection: throw ESetorraException(kGetAsError);
    default: break;
  }
  const TFlagScope writing(writingBack_);  // refreshed once above
  Strings->Add(AsString());
}

// ---- Setters ----------------------------------------------------------------------------------

template <class T, class V>
void TSetorra::SetTyped(TSetorraKind Kind, T TSetorraValue::*Field, V&& Value) {
  CheckSettable();
  StoreAndWrite(KindValue(Kind, Field, std::forward<V>(Value)));
}

void TSetorra::SetAsString(const std::string& Value) { SetTyped(skString, &TSetorraValue::Text, Value); }

void TSetorra::SetAsInteger(int Value) { SetTyped(skInteger, &TSetorraValue::Integer, Value); }

void TSetorra::SetAsFloat(long double Value) { SetTyped(skFloat, &TSetorraValue::Float, Value); }

void TSetorra::SetAsBoolean(bool Value) { SetTyped(skBoolean, &TSetorraValue::Boolean, Value); }

void TSetorra::SetAsDateTime(long double Value) { SetTyped(skDateTime, &TSetorraValue::Float, Value); }

void TSetorra::SetAsVariant(const TVariant& Value) {
  CheckSettable();  // before the array test: a setting that takes no value refuses every one alike
  if (Value.IsArray()) throw ESetorraException("TSetorra.AsVariant cannot accept variant arrays");
  SetTyped(skVariant, &TSetorraValue::Text, Value.AsText());
}

void TSetorra::SetAsStrings(TStrings* Strings) {
  SetTyped(skStrings, &TSetorraValue::Text, Strings ? Strings->Text() : std::string());
}

// ---- The binding ------------------------------------------------------------------------------

void TSetorra::RefreshFromProperty() {
  if (boundProperty_.empty()) return;
  const TFlagScope refreshing(refreshing_);
  const TBinding binding = ResolveBinding(Root(), boundProperty_, true);
  TSetorraValue v;
  if (binding.What == TBinding::Hidden) {
    v.Kind = skHiddenProps;
    v.Object = binding.Instance;
    Store(std::move(v));
    return;
  }
  if (binding.What != TBinding::Property) {
    Store(std::move(v));
    return;
  }
  TObject& instance = *binding.Instance;
  const TPropInfo& prop = *binding.Prop;
  switch (prop.Kind()) {
    case tkInteger:
    case tkChar:
      v = KindValue(skInteger, &TSetorraValue::Integer, static_cast<std::int32_t>(GetOrdProp(instance, prop)));
      break;
    case tkEnumeration: v = KindValue(skString, &TSetorraValue::Text, GetEnumProp(instance, prop)); break;
    case tkFloat: v = KindValue(skFloat, &TSetorraValue::Float, GetFloatProp(instance, prop)); break;
    case tkString: v = KindValue(skString, &TSetorraValue::Text, GetStrProp(instance, prop)); break;
    case tkSet: v = KindValue(skString, &TSetorraValue::Text, GetSetProp(instance, prop)); break;
    case tkClass: {
      TObject* object = GetObjectProp(instance, prop);
      const TClassInfo* type = prop.PropType().ClassType;
      if (auto* strings = dynamic_cast<TStrings*>(object)) {
        v.Kind = skStrings;
        v.Text = strings->Text();
      } else if (auto* component = dynamic_cast<TComponent*>(object)) {
        v.Kind = skString;
        v.Text = component->Name();
      } else if (auto* collection = dynamic_cast<TCollection*>(object)) {
        v.Kind = skCollection;
        v.Object = collection;
      } else if (!object && type && type->InheritsFrom(TComponent::StaticClassInfo())) {
        v.Kind = skString;  // a component property holding none names no component
      }
      break;
    }
    default: break;
  }
  Store(std::move(v));
}

void TSetorra::WriteToObjectProperty(TObject& Instance, const TPropInfo& Prop) {
  TObject* object = GetObjectProp(Instance, Prop);
  const TClassInfo* classType = Prop.PropType().ClassType;
  if (auto* strings = dynamic_cast<TStrings*>(object)) {
    if (!IsObjectKind(value_.Kind)) GetAsStrings(strings);
  } else if (classType && classType->InheritsFrom(TComponent::StaticClassInfo()) && Prop.SetObject &&
             IsText(value_.Kind)) {
    TComponent* root = Root();
    if (TComponent* component = root ? root->FindComponent(value_.Text) : nullptr)
      SetObjectProp(Instance, Prop, component);
  }
}

void TSetorra::WriteToProperty() {
  if (value_.Kind == skNone || boundProperty_.empty()) return;
  const TFlagScope writing(writingBack_);
  const TBinding binding = ResolveBinding(Root(), boundProperty_, false);
  if (binding.What != TBinding::Property) return;
  TObject& instance = *binding.Instance;
  const TPropInfo& prop = *binding.Prop;
  const TTypeInfo& type = prop.PropType();
  long double number = 0;
  const bool numeric = value_.Kind == skInteger || value_.Kind == skFloat ||
                       (IsText(value_.Kind) && ReadTextNumber(value_.Text, number));
  switch (prop.Kind()) {
    case tkInteger:
    case tkChar:
      if (numeric) SetOrdProp(instance, prop, AsInteger());
      break;
    case tkEnumeration: {
      if (IsObjectKind(value_.Kind)) break;
      // A name the type does not have leaves the property as it is.
      const int ordinal = GetEnumValue(type, AsString());
      if (ordinal >= 0) SetOrdProp(instance, prop, ordinal);
      break;
    }
    case tkFloat:
      if (numeric) SetFloatProp(instance, prop, AsFloat());
      break;
    case tkString:
      if (!IsObjectKind(value_.Kind)) SetStrProp(instance, prop, AsString());
      break;
    case tkSet:
      if (value_.Kind == skString) SetOrdProp(instance, prop, SetBitsOf(type, value_.Text));
      break;
    case tkClass: WriteToObjectProperty(instance, prop); break;
    default: break;
  }
}

void TSetorra::CaptureDefault() {
  if (boundProperty_.empty()) return;
  RefreshFromProperty();
  default_ = value_;
}

bool TSetorra::IsModified() {
  if (boundProperty_.empty()) return true;
  Refresh();
  if (value_.Kind != default_.Kind) return false;
  switch (value_.Kind) {
    case skNone: return false;
    case skInteger: return value_.Integer != default_.Integer;
    case skFloat:
    case skDateTime: return value_.Float != default_.Float;
    case skBoolean: return value_.Boolean != default_.Boolean;
    case skHiddenProps:
    case skCollection: return true;
    case skString:
    case skVariant:
    case skStrings: return value_.Text != default_.Text;
  }
  return true;
}

std::pair<std::string, std::string> TSetorra::GetRegistryLocation(const std::string& FormKey) const {
  if (!name_.empty() || boundProperty_.empty()) return {FormKey, name_};
  const std::vector<std::string> parts = SplitPath(boundProperty_);
  std::string key = FormKey;
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) key += "\\" + parts[i];
  return {key, parts.back()};
}

// ---- Class description ------------------------------------------------------------------------

const TClassInfo& TSetorra::StaticClassInfo() {
  using C = TSetorra;
  static const TClassInfo info("TSetorra", &TComponent::StaticClassInfo(),
                               {StrProperty<C>("Name", &C::Name, &C::SetName),
                                StrProperty<C>("BoundProperty", &C::BoundProperty, &C::SetBoundProperty),
                                StrProperty<C>("RelAppSetting", &C::RelAppSetting, &C::SetRelAppSetting),
                                OrdProperty<C>("Encrypted", TypeInfo_Boolean, &C::Encrypted, &C::SetEncrypted, false),
                                StrProperty<C>("UniqueName", &C::UniqueName, nullptr)},
                               {}, CreateComponent<TSetorra>);
  return info;
}

[[maybe_unused]] static const bool setorraRegistered = (RegisterClass(TSetorra::StaticClassInfo()), true);
