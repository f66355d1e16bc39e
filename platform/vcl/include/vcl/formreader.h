#pragma once
// The component reader: builds a component tree from the class library's binary form format
// ("TPF0", then the root object) and hands itself to DefineProperties so that objects read the
// properties they store themselves. vcl/formtext.h turns the text form into this format.
//
// Reading a tree, for each object in the order met:
//   1. the component is created through the class registry (vcl/typinfo.h) with the root as
//      owner (an `inherited` object is instead the root's existing component of that name),
//      csLoading and csReading are set, it gets its name, the root's field of that name is bound,
//      and a component that implements IChildComponent is given the object it is nested in;
//   2. its properties are read: published ones by name (dotted paths through object properties,
//      "Font.Name"), the rest through DefineProperties;
//   3. its nested objects are read.
// Then references to components by name are resolved, and Loaded runs on every component read,
// the root first, in creation order. Any failure raises; the components made so far stay owned
// by the root.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "vcl/components.h"
#include "vcl/filer.h"
#include "vcl/streams.h"

struct TPropInfo;
struct TTypeInfo;
class TCollection;

// The value tags of the binary format.
enum TValueType : std::uint8_t {
  vaNull = 0,
  vaList = 1,
  vaInt8 = 2,
  vaInt16 = 3,
  vaInt32 = 4,
  vaExtended = 5,
  vaString = 6,
  vaIdent = 7,
  vaFalse = 8,
  vaTrue = 9,
  vaBinary = 10,
  vaSet = 11,
  vaLString = 12,
  vaNil = 13,
  vaCollection = 14,
  vaInt64 = 19,
};

// The prefix byte of an object header ($F0 or'ed with these flags), present when any is set.
constexpr std::uint8_t ffInherited = 0x01;
constexpr std::uint8_t ffChildPos = 0x02;

// The hook for components that have a parent besides their owner (controls, menu items): the
// reader calls SetParentComponent with the component the object is nested in (the root for
// top-level objects), before the component's properties are read. Controls implement it by
// setting Parent when the nesting component is a windowed control; menu items by adding
// themselves to the enclosing menu or item.
//   class TControl : public TComponent, public IChildComponent { ... };
class IChildComponent {
 public:
  virtual void SetParentComponent(TComponent* ParentComponent) = 0;

 protected:
  ~IChildComponent() = default;
};

// A field of the root bound to the component of that name as it is created. Bind answers whether
// the component fits the field's type.
struct TFormField {
  std::string Name;
  std::function<bool(TComponent* Component)> Bind;
};

template <class T>
TFormField FormField(std::string Name, T*& Field) {
  return {std::move(Name), [&Field](TComponent* component) {
            Field = dynamic_cast<T*>(component);
            return Field != nullptr;
          }};
}

class TReader : public TFiler {
 public:
  // Reads from the stream's current position; the stream stays the caller's.
  explicit TReader(TStream* Stream);

  // The whole tree into Root (which must exist): checks the signature, takes the root object's
  // name, reads everything and binds Fields. A field without a component of its name, or of
  // another type, raises EReadError.
  void ReadRootComponent(TComponent* Root, const std::vector<TFormField>& Fields = {});

  // TFiler: the defined property whose name is being read is read by ReadData.
  void DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc WriteData, bool HasData) override;
  void DefineBinaryProperty(const std::string& Name, TStreamProc ReadData, TStreamProc WriteData,
                            bool HasData) override;
  void FlushBuffer() override {}

  // Values, for DefineProperties readers. A value of another type raises EReadError
  // "Invalid property value".
  TValueType NextValue();
  TValueType ReadValue();
  void SkipValue();
  bool EndOfList();
  void ReadListBegin();
  void ReadListEnd();
  int ReadInteger();
  std::int64_t ReadInt64();
  bool ReadBoolean();
  long double ReadFloat();
  std::string ReadString();
  std::string ReadIdent();
  char ReadChar();
  // The member names of a set value.
  std::vector<std::string> ReadSetNames();
  // The items that follow a collection's vaCollection marker, replacing Collection's items: each
  // item is made through the item class and its properties are read by name. References to
  // components and events need a root being read.
  void ReadCollection(TCollection* Collection);

  TComponent* Root() const { return root_; }
  // The stream offset where the object header or property being read began.
  std::int64_t ItemPosition() const { return itemPosition_; }

 private:
  struct TFixup {
    TObject* Instance;
    const TPropInfo* Prop;
    std::string ComponentName;
    std::string PropPath;
    std::int64_t Position;
  };

  std::uint8_t ReadByte();
  void Read(void* Buffer, std::int64_t Count);
  std::string ReadShortString();
  std::int64_t ReadCount();
  [[noreturn]] void ValueError();

  void ReadComponent(TComponent* ParentComponent);
  void ReadComponentData(TComponent* Instance);
  void ReadProperty(TComponent* Component);
  // The property at Path (dotted through object properties) of Instance; FullPath names it in
  // references resolved later.
  void ReadPropertyAt(TObject& Instance, const std::string& Path, const std::string& FullPath);
  void ReadPropValue(TObject& Instance, const TPropInfo& Prop, const std::string& Path);
  std::int64_t ReadIntegerValue(const TTypeInfo& Type);
  int ReadEnumValue(const TTypeInfo& Type);
  std::uint32_t ReadSetValue(const TTypeInfo& Type);
  void ReadObjectProp(TObject& Instance, const TPropInfo& Prop, const std::string& Path);
  void ReadMethodProp(TObject& Instance, const TPropInfo& Prop);
  void ReadCollectionItems(TCollection& Collection, const std::string& Path);
  void BindField(TComponent* Component);
  void ResolveFixups();

  TStream* stream_;
  TComponent* root_ = nullptr;
  std::vector<TComponent*> loaded_;
  std::vector<TFixup> fixups_;
  const std::vector<TFormField>* fields_ = nullptr;
  std::vector<bool> fieldBound_;
  std::string definedPropName_;
  std::int64_t itemPosition_ = 0;
};
