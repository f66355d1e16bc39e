// The component reader over the binary form format.
#include "vcl/formreader.h"

#include <cstring>
#include <limits>

#include "vcl/collections.h"
#include "vcl/scope_exit.h"
#include "vcl/typinfo.h"
#include "win32/little_endian.h"

static_assert(std::numeric_limits<long double>::digits == 64, "the 10-byte extended needs x87 long double");

namespace {

constexpr char kSignature[4] = {'T', 'P', 'F', '0'};

}  // namespace

TReader::TReader(TStream* Stream) : stream_(Stream) {}

// ---- Values -----------------------------------------------------------------------------------

void TReader::Read(void* Buffer, std::int64_t Count) {
  if (stream_->Read(Buffer, Count) != Count) throw EReadError("Invalid stream format");
}

std::uint8_t TReader::ReadByte() {
  std::uint8_t b = 0;
  Read(&b, 1);
  return b;
}

std::string TReader::ReadShortString() {
  std::string s(ReadByte(), '\0');
  if (!s.empty()) Read(s.data(), static_cast<std::int64_t>(s.size()));
  return s;
}

std::int64_t TReader::ReadCount() {
  std::uint8_t b[4];
  Read(b, 4);
  const std::int64_t count = ReadLE32(b);
  // The data must be there before anything is allocated for it.
  if (count > stream_->Size() - stream_->Position()) throw EReadError("Invalid stream format");
  return count;
}

void TReader::ValueError() { throw EReadError("Invalid property value"); }

TValueType TReader::ReadValue() { return static_cast<TValueType>(ReadByte()); }

TValueType TReader::NextValue() {
  const TValueType v = ReadValue();
  stream_->Seek(-1, soFromCurrent);
  return v;
}

bool TReader::EndOfList() { return NextValue() == vaNull; }

void TReader::ReadListBegin() {
  if (ReadValue() != vaList) ValueError();
}

void TReader::ReadListEnd() {
  if (ReadValue() != vaNull) ValueError();
}

std::int64_t TReader::ReadInt64() {
  switch (ReadValue()) {
    case vaInt8: {
      std::int8_t v;
      Read(&v, 1);
      return v;
    }
    case vaInt16: {
      std::uint8_t b[2];
      Read(b, 2);
      return static_cast<std::int16_t>(ReadLE16(b));
    }
    case vaInt32: {
      std::uint8_t b[4];
      Read(b, 4);
      return static_cast<std::int32_t>(ReadLE32(b));
    }
    case vaInt64: {
      std::uint8_t b[8];
      Read(b, 8);
      return static_cast<std::int64_t>(ReadLE32(b) | std::uint64_t{ReadLE32(b + 4)} << 32);
    }
    default: ValueError();
  }
}

int TReader::ReadInteger() {
  const std::int64_t v = ReadInt64();
  if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max()) ValueError();
  return static_cast<int>(v);
}

bool TReader::ReadBoolean() {
  const TValueType v = ReadValue();
  if (v != vaTrue && v != vaFalse) ValueError();
  return v == vaTrue;
}

long double TReader::ReadFloat() {
  if (NextValue() != vaExtended) return static_cast<long double>(ReadInt64());
  ReadValue();
  long double v = 0;
  Read(&v, 10);
  return v;
}

std::string TReader::ReadString() {
  switch (ReadValue()) {
    case vaString: return ReadShortString();
    case vaLString: {
      std::string s(static_cast<std::size_t>(ReadCount()), '\0');
      if (!s.empty()) Read(s.data(), static_cast<std::int64_t>(s.size()));
      return s;
    }
    default: ValueError();
  }
}

std::string TReader::ReadIdent() {
  switch (ReadValue()) {
    case vaIdent: return ReadShortString();
    case vaFalse: return "False";
    case vaTrue: return "True";
    case vaNil: return "nil";
    default: ValueError();
  }
}

char TReader::ReadChar() {
  const std::string s = ReadString();
  if (s.size() != 1) ValueError();
  return s[0];
}

std::vector<std::string> TReader::ReadSetNames() {
  if (ReadValue() != vaSet) ValueError();
  std::vector<std::string> names;
  for (std::string name = ReadShortString(); !name.empty(); name = ReadShortString()) names.push_back(name);
  return names;
}

void TReader::SkipValue() {
  switch (ReadValue()) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil: break;
    case vaList:
      while (!EndOfList()) SkipValue();
      ReadListEnd();
      break;
    case vaInt8: stream_->Seek(1, soFromCurrent); break;
    case vaInt16: stream_->Seek(2, soFromCurrent); break;
    case vaInt32: stream_->Seek(4, soFromCurrent); break;
    case vaInt64: stream_->Seek(8, soFromCurrent); break;
    case vaExtended: stream_->Seek(10, soFromCurrent); break;
    case vaString:
    case vaIdent: ReadShortString(); break;
    case vaLString:
    case vaBinary: stream_->Seek(ReadCount(), soFromCurrent); break;
    case vaSet:
      while (!ReadShortString().empty()) {
      }
      break;
    case vaCollection:
      while (!EndOfList()) {
        if (NextValue() != vaList) ReadInt64();
        ReadListBegin();
        while (!EndOfList()) {
          ReadShortString();
          SkipValue();
        }
        ReadListEnd();
      }
      ReadListEnd();
      break;
    default: throw EReadError("Invalid stream format");
  }
}

// ---- Defined properties -----------------------------------------------------------------------

void TReader::DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc, bool) {
  if (definedPropName_.empty() || !ReadData || !SameText(Name, definedPropName_)) return;
  definedPropName_.clear();
  ReadData(this);
}

void TReader::DefineBinaryProperty(const std::string& Name, TStreamProc ReadData, TStreamProc, bool) {
  if (definedPropName_.empty() || !ReadData || !SameText(Name, definedPropName_)) return;
  definedPropName_.clear();
  if (ReadValue() != vaBinary) ValueError();
  TMemoryStream data;
  data.SetSize(ReadCount());
  if (data.Size() > 0) Read(data.Memory(), data.Size());
  data.SetPosition(0);
  ReadData(&data);
}

// ---- Components -------------------------------------------------------------------------------

void TReader::ReadRootComponent(TComponent* Root, const std::vector<TFormField>& Fields) {
  root_ = Root;
  fields_ = &Fields;
  fieldBound_.assign(Fields.size(), false);
  loaded_.clear();
  fixups_.clear();

  char signature[4];
  Read(signature, 4);
  if (std::memcmp(signature, kSignature, 4) != 0) throw EReadError("Invalid stream format");

  itemPosition_ = stream_->Position();
  const std::uint8_t prefix = NextValue();
  if ((prefix & 0xF0) == 0xF0) {
    ReadByte();
    if (prefix & ffChildPos) ReadInteger();
  }
  ReadShortString();  // the root's class: the root exists already
  const std::string name = ReadShortString();
  Root->state_.Include(csLoading).Include(csReading);
  loaded_.push_back(Root);
  if (!name.empty()) Root->SetName(name);
  ReadComponentData(Root);
  ResolveFixups();

  for (std::size_t i = 0; i < Fields.size(); ++i)
    if (!fieldBound_[i])
      throw EReadError("Field %s of %s has no component in the form description", {Fields[i].Name, Root->ClassName()});
  for (TComponent* component : loaded_) {
    component->state_.Exclude(csReading);
    component->Loaded();
  }
}

void TReader::ReadComponent(TComponent* ParentComponent) {
  itemPosition_ = stream_->Position();
  std::uint8_t flags = 0;
  if ((NextValue() & 0xF0) == 0xF0) {
    flags = ReadByte() & 0x0F;
    if (flags & ffChildPos) ReadInteger();
  }
  const std::string className = ReadShortString();
  const std::string name = ReadShortString();

  TComponent* component = nullptr;
  if (flags & ffInherited) {
    component = root_->FindComponent(name);
    if (!component) throw EReadError("Ancestor for '%s' not found", {name});
  } else {
    const TClassInfo& info = FindClass(className);
    if (!info.Create()) throw EReadError("Class %s cannot be created from a form description", {className});
    component = info.Create()(root_);
    component->state_.Include(csLoading).Include(csReading);
    component->SetName(name);
  }
  component->state_.Include(csLoading).Include(csReading);
  loaded_.push_back(component);
  BindField(component);
  if (auto* child = dynamic_cast<IChildComponent*>(component)) child->SetParentComponent(ParentComponent);
  ReadComponentData(component);
}

void TReader::ReadComponentData(TComponent* Instance) {
  while (!EndOfList()) ReadProperty(Instance);
  ReadListEnd();
  while (!EndOfList()) ReadComponent(Instance);
  ReadListEnd();
}

void TReader::BindField(TComponent* Component) {
  for (std::size_t i = 0; i < fields_->size(); ++i) {
    const TFormField& field = (*fields_)[i];
    if (!SameText(field.Name, Component->Name())) continue;
    if (!field.Bind(Component)) throw EReadError("Field %s does not fit a %s", {field.Name, Component->ClassName()});
    fieldBound_[i] = true;
  }
}

void TReader::ReadProperty(TComponent* Component) {
  itemPosition_ = stream_->Position();
  const std::string path = ReadShortString();
  try {
    ReadPropertyAt(*Component, path, Component->Name() + "." + path);
  } catch (Exception& e) {
    e.Message = Format("Error reading %s.%s: %s", {Component->Name(), path, e.Message});
    throw;
  }
}

void TReader::ReadPropertyAt(TObject& Instance, const std::string& Path, const std::string& FullPath) {
  TObject* instance = &Instance;
  std::size_t start = 0;
  for (std::size_t dot = Path.find('.'); dot != std::string::npos; dot = Path.find('.', start)) {
    const std::string part = Path.substr(start, dot - start);
    const TPropInfo* prop = instance->ClassInfo().FindProperty(part);
    if (!prop || prop->Kind() != tkClass)
      throw EReadError("Property %s does not exist in %s", {part, instance->ClassName()});
    TObject* next = GetObjectProp(*instance, *prop);
    if (!next) throw EReadError("Property %s of %s is not assigned", {part, instance->ClassName()});
    instance = next;
    start = dot + 1;
  }
  const std::string name = Path.substr(start);
  if (const TPropInfo* prop = instance->ClassInfo().FindProperty(name)) {
    ReadPropValue(*instance, *prop, FullPath);
    return;
  }
  definedPropName_ = name;
  if (auto* persistent = dynamic_cast<TPersistent*>(instance)) DefinePropertiesOf(persistent);
  if (definedPropName_.empty()) return;
  definedPropName_.clear();
  throw EReadError("Property %s does not exist in %s", {name, instance->ClassName()});
}

void TReader::ReadCollection(TCollection* Collection) { ReadCollectionItems(*Collection, Collection->ClassName()); }

void TReader::ReadCollectionItems(TCollection& Collection, const std::string& Path) {
  Collection.BeginUpdate();
  {
    ScopeExit endUpdate([&] { Collection.EndUpdate(); });
    Collection.Clear();
    while (!EndOfList()) {
      // The index an item may carry ("item [2]") is where it stood when written; order decides.
      if (NextValue() != vaList) ReadInteger();
      TCollectionItem* item = Collection.Add();
      const std::string itemPath = Format("%s[%d]", {Path, item->Index()});
      ReadListBegin();
      while (!EndOfList()) {
        itemPosition_ = stream_->Position();
        const std::string name = ReadShortString();
        ReadPropertyAt(*item, name, itemPath + "." + name);
      }
      ReadListEnd();
    }
    ReadListEnd();
  }
}

void TReader::ReadPropValue(TObject& Instance, const TPropInfo& Prop, const std::string& Path) {
  const TTypeInfo& type = Prop.PropType();
  switch (Prop.Kind()) {
    case tkInteger: return SetOrdProp(Instance, Prop, ReadIntegerValue(type));
    case tkChar:
      return SetOrdProp(Instance, Prop,
                        NextValue() == vaString ? static_cast<unsigned char>(ReadChar()) : ReadInteger());
    case tkEnumeration: return SetOrdProp(Instance, Prop, ReadEnumValue(type));
    case tkSet: return SetOrdProp(Instance, Prop, ReadSetValue(type));
    case tkFloat: return SetFloatProp(Instance, Prop, ReadFloat());
    case tkString: return SetStrProp(Instance, Prop, ReadString());
    case tkClass: return ReadObjectProp(Instance, Prop, Path);
    case tkMethod: return ReadMethodProp(Instance, Prop);
    default: throw EReadError("Property %s cannot be read", {Prop.Name});
  }
}

// A number, or an identifier the type's own table turns into one.
std::int64_t TReader::ReadIntegerValue(const TTypeInfo& Type) {
  if (NextValue() != vaIdent) return ReadInt64();
  const std::string ident = ReadIdent();
  std::int64_t value = 0;
  const TIdentToInt* identToInt = FindIdentToInt(Type);
  if (!identToInt || !(*identToInt)(ident, value)) throw EReadError("Invalid property value: %s", {ident});
  return value;
}

int TReader::ReadEnumValue(const TTypeInfo& Type) {
  const std::string ident = ReadIdent();
  const int value = GetEnumValue(Type, ident);
  if (value < 0) throw EReadError("Invalid property value: %s", {ident});
  return value;
}

std::uint32_t TReader::ReadSetValue(const TTypeInfo& Type) {
  std::uint32_t bits = 0;
  for (const std::string& name : ReadSetNames()) {
    const int ordinal = GetEnumValue(Type, name);
    if (ordinal < 0 || ordinal >= 32) throw EReadError("Invalid property element: %s", {name});
    bits |= std::uint32_t{1} << ordinal;
  }
  return bits;
}

// A collection's items, nil, or the name of a component.
void TReader::ReadObjectProp(TObject& Instance, const TPropInfo& Prop, const std::string& Path) {
  if (NextValue() == vaCollection) {
    auto* collection = dynamic_cast<TCollection*>(GetObjectProp(Instance, Prop));
    if (!collection) ValueError();
    ReadValue();
    ReadCollectionItems(*collection, Path);
  } else if (NextValue() == vaNil) {
    ReadValue();
    SetObjectProp(Instance, Prop, nullptr);
  } else {
    // The component may come later in the description: bound once all are read.
    if (NextValue() != vaIdent) ValueError();
    if (!root_) throw EReadError("Component references are read only with their form");
    const std::int64_t position = itemPosition_;
    fixups_.push_back({&Instance, &Prop, ReadIdent(), Path, position});
  }
}

// nil, or the name of a handler of the form being read.
void TReader::ReadMethodProp(TObject& Instance, const TPropInfo& Prop) {
  if (NextValue() == vaNil) {
    ReadValue();
    return;
  }
  const std::string handler = ReadIdent();
  if (!root_) throw EReadError("Events are read only with their form");
  if (!root_->ClassInfo().FindMethod(handler))
    throw EReadError("Handler %s not found in %s", {handler, root_->ClassName()});
  SetMethodProp(Instance, Prop, *root_, handler);
}

void TReader::ResolveFixups() {
  for (const TFixup& fixup : fixups_) {
    std::string name = fixup.ComponentName;
    const std::string rootPrefix = root_->Name() + ".";
    if (!root_->Name().empty() && name.size() > rootPrefix.size() &&
        SameText(name.substr(0, rootPrefix.size()), rootPrefix))
      name.erase(0, rootPrefix.size());
    TComponent* component = SameText(name, root_->Name()) ? root_ : root_->FindComponent(name);
    if (!component) {
      itemPosition_ = fixup.Position;
      throw EReadError("Error reading %s: component %s not found", {fixup.PropPath, fixup.ComponentName});
    }
    try {
      SetObjectProp(*fixup.Instance, *fixup.Prop, component);
    } catch (Exception& e) {
      itemPosition_ = fixup.Position;
      e.Message = Format("Error reading %s: %s", {fixup.PropPath, e.Message});
      throw;
    }
  }
}
