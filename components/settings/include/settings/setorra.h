#pragma once
// TSetorra: one stored setting. It is either bound to a published property of a component on its
// form through a dotted path ("laJokeFile.Caption", "FirstFont.Font.Name") or free and known by
// its name ("LogoCheck"), and it keeps its value in the registry:
//   bound: key <form key>\<every part of the path but the last>, value <last part>
//   free:  key <form key>, value <Name>
// Values by kind: string REG_SZ; integer REG_DWORD; float and date-time REG_BINARY of 14 bytes
// (the kind, then the 80-bit extended); boolean REG_BINARY 04 00 00 00 00|01; variant and string
// list REG_BINARY: the kind, the length, the characters; hidden properties and collections
// REG_BINARY: the kind, then what the component writer writes. An encrypted setting stores a
// scrambled block instead (setorra_block.h).
//
// Registry data is untrusted: a value whose size does not fit its kind is not read and the
// setting keeps what it had; a damaged scrambled value leaves the setting empty (kind 0).
#include <cstdint>
#include <string>
#include <utility>

#include "vcl/components.h"
#include "vcl/registry.h"
#include "vcl/sysutils.h"
#include "vcl/variants.h"

class TStrings;
struct TPropInfo;

class ESetorraException : public Exception {
  using Exception::Exception;
};

// The registry through which the settings store opens its keys. The platform's TRegistry already
// opens keys as the store wants them (absolute with a leading "\", else from the current key) and
// asks no access rights that it could be refused.
class TPRegistry : public TRegistry {
 public:
  TPRegistry() = default;
};

enum TSetorraKind : std::uint8_t {
  skNone = 0,
  skString = 1,
  skInteger = 2,
  skFloat = 3,
  skBoolean = 4,
  skDateTime = 5,
  skVariant = 6,
  skStrings = 7,
  skHiddenProps = 8,
  skCollection = 9,
};

// A value with its kind. Kinds 1, 6 and 7 use Text; 2 Integer; 3 and 5 Float; 4 Boolean; 8 and 9
// Object (the object with the hidden property, the collection).
struct TSetorraValue {
  TSetorraKind Kind = skNone;
  std::string Text;
  std::int32_t Integer = 0;
  long double Float = 0;
  bool Boolean = false;
  TObject* Object = nullptr;
};

class TSetorra : public TComponent {
 public:
  VCL_CLASS_INFO
  // Owned by the form whose components the path names (or by the settings component, whose
  // owner is then the form).
  explicit TSetorra(TComponent* AOwner);

  // The setting's own name, the registry value name of a free setting: a string of its own, not
  // the component name (TComponent::Name stays the component's).
  const std::string& Name() const { return name_; }
  void SetName(const std::string& Value) { name_ = Value; }
  const std::string& BoundProperty() const { return boundProperty_; }
  void SetBoundProperty(const std::string& Value) { boundProperty_ = Value; }
  const std::string& RelAppSetting() const { return relAppSetting_; }
  void SetRelAppSetting(const std::string& Value) { relAppSetting_ = Value; }
  bool Encrypted() const { return encrypted_; }
  void SetEncrypted(bool Value) { encrypted_ = Value; }
  // BoundProperty then Name, every character but 0-9, A-Z and a-z made "_".
  std::string UniqueName() const;
  // Neither bound nor named: such a setting is never read or written.
  bool Anonymous() const { return name_.empty() && boundProperty_.empty(); }

  // Getters refresh from the bound property first; conversions that the kind does not allow
  // raise ESetorraException. Setters store the value with its kind and write the bound property;
  // on a hidden-properties or collection setting they raise.
  std::string AsString();
  void SetAsString(const std::string& Value);
  int AsInteger();
  void SetAsInteger(int Value);
  long double AsFloat();
  void SetAsFloat(long double Value);
  bool AsBoolean();
  void SetAsBoolean(bool Value);
  TDateTime AsDateTime();
  void SetAsDateTime(long double Value);
  TVariant AsVariant();
  void SetAsVariant(const TVariant& Value);
  // Reading fills Strings: kind 7 replaces its text, the others add AsString as one line.
  void GetAsStrings(TStrings* Strings);
  void SetAsStrings(TStrings* Strings);

  TSetorraKind Kind() const { return value_.Kind; }
  const TSetorraValue& Value() const { return value_; }
  const TSetorraValue& DefaultValue() const { return default_; }
  // Stores a value as it is, kind and all, and writes it into the bound property.
  void AssignValue(const TSetorraValue& Value);

  // The bound property's value becomes the default (nothing for a free setting).
  void CaptureDefault();
  // A free setting always; a bound one when it differs from its default of the same kind.
  bool IsModified();
  // (key path, value name) below FormKey.
  std::pair<std::string, std::string> GetRegistryLocation(const std::string& FormKey) const;
  // Registry is open with its root set; FormKey is the form's key path.
  void WriteToRegistry(TRegistry* Registry, const std::string& FormKey);
  void ReadFromRegistry(TRegistry* Registry, const std::string& FormKey);

  void RefreshFromProperty();
  void WriteToProperty();

  // Told after a setter (or AssignValue) stored a new value; reading the bound property tells nothing.
  TNotifyEvent OnChange;

  // The component the path's first part names, kept for the designer.
  TComponent* BoundComponent() const { return boundComponent_; }
  void SetBoundComponent(TComponent* Value) { boundComponent_ = Value; }

  // Takes a stored value as the registry gave it (a text, an integer's 4 bytes, or the bytes of a
  // binary value) and writes it into the bound property; what cannot be read or converted leaves
  // the setting (and the property) as it was, a damaged scrambled block the setting empty.
  void ReadStoredValue(TRegDataType Type, const std::string& Data);

  // The value as the registry stores it: the kind and its bytes (what follows the marker in a
  // scrambled block). Kinds 8 and 9 put out their objects' data.
  std::string PlainData();
  // Reads what PlainData wrote; false (the setting unchanged) when the bytes do not fit.
  bool ReadPlainData(const std::string& Data);

 private:
  // The form whose components the path names.
  TComponent* Root() const;
  void Refresh();
  void Store(TSetorraValue Value);
  void StoreAndWrite(TSetorraValue Value);
  void CheckSettable() const;
  // The shape of the typed setters: the value of Kind in Field, stored and written.
  template <class T, class V>
  void SetTyped(TSetorraKind Kind, T TSetorraValue::*Field, V&& Value);
  void DecodeStoredValue(TRegDataType Type, const std::string& Data);
  // ReadPlainData's kinds that no typed setter takes; Rest is what follows the kind.
  bool ReadStringsData(const std::string& Rest);
  bool ReadHiddenPropsData(const std::string& Rest);
  bool ReadCollectionData(const std::string& Rest);
  void WriteToObjectProperty(TObject& Instance, const TPropInfo& Prop);

  std::string name_;
  std::string boundProperty_;
  std::string relAppSetting_;
  bool encrypted_ = false;
  TSetorraValue value_;
  TSetorraValue default_;
  std::string trueText_;
  std::string falseText_;
  TComponent* boundComponent_ = nullptr;
  bool refreshing_ = false;
  bool writingBack_ = false;
};

// The 80-bit extended format written out: 64-bit mantissa with its integer bit, then 15-bit
// exponent and sign, little-endian, whatever the compiler's long double is.
void ExtendedToBytes(long double Value, std::uint8_t Bytes[10]);
long double BytesToExtended(const std::uint8_t Bytes[10]);
