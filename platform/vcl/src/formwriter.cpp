// The component writer over the binary form format.
#include "vcl/formwriter.h"

#include <cstring>
#include <limits>

#include "vcl/collections.h"
#include "vcl/components.h"
#include "vcl/typinfo.h"
#include "win32/little_endian.h"

TWriter::TWriter(TStream* Stream) : stream_(Stream) {}

void TWriter::WriteByte(std::uint8_t Value) { stream_->WriteBuffer(&Value, 1); }

void TWriter::WriteShortString(const std::string& Value) {
  if (Value.size() > 255) throw EWriteError("Stream write error");
  WriteByte(static_cast<std::uint8_t>(Value.size()));
  if (!Value.empty()) stream_->WriteBuffer(Value.data(), static_cast<std::int64_t>(Value.size()));
}

void TWriter::WriteValue(TValueType Value) { WriteByte(Value); }
void TWriter::WriteListBegin() { WriteValue(vaList); }
void TWriter::WriteListEnd() { WriteValue(vaNull); }

void TWriter::WriteInteger(std::int64_t Value) {
  std::uint8_t b[8];
  int size;
  if (Value >= std::numeric_limits<std::int8_t>::min() && Value <= std::numeric_limits<std::int8_t>::max()) {
    WriteValue(vaInt8);
    size = 1;
  } else if (Value >= std::numeric_limits<std::int16_t>::min() && Value <= std::numeric_limits<std::int16_t>::max()) {
    WriteValue(vaInt16);
    size = 2;
  } else if (Value >= std::numeric_limits<std::int32_t>::min() && Value <= std::numeric_limits<std::int32_t>::max()) {
    WriteValue(vaInt32);
    size = 4;
  } else {
    WriteValue(vaInt64);
    size = 8;
  }
  const auto bits = static_cast<std::uint64_t>(Value);
  for (int i = 0; i < size; ++i) b[i] = static_cast<std::uint8_t>(bits >> (8 * i));
  stream_->WriteBuffer(b, size);
}

void TWriter::WriteBoolean(bool Value) { WriteValue(Value ? vaTrue : vaFalse); }

void TWriter::WriteFloat(long double Value) {
  static_assert(std::numeric_limits<long double>::digits == 64, "the 10-byte extended needs x87 long double");
  WriteValue(vaExtended);
  std::uint8_t b[sizeof(long double)] = {};
  std::memcpy(b, &Value, sizeof Value);
  stream_->WriteBuffer(b, 10);
}

void TWriter::WriteString(const std::string& Value) {
  if (Value.size() <= 255) {
    WriteValue(vaString);
    WriteShortString(Value);
    return;
  }
  WriteValue(vaLString);
  WriteCount(Value.size());
  stream_->WriteBuffer(Value.data(), static_cast<std::int64_t>(Value.size()));
}

void TWriter::WriteCount(std::size_t Count) {
  // A size past four bytes would be cut and the stream unreadable.
  if (Count > std::numeric_limits<std::uint32_t>::max()) throw EWriteError("Stream write error");
  const auto n = static_cast<std::uint32_t>(Count);
  std::uint8_t count[4];
  WriteLE32(count, n);
  stream_->WriteBuffer(count, sizeof count);
}

void TWriter::WriteBinary(const TStreamProc& WriteData) {
  TMemoryStream data;
  if (WriteData) WriteData(&data);
  WriteValue(vaBinary);
  WriteCount(static_cast<std::size_t>(data.Size()));
  if (data.Size() > 0) stream_->WriteBuffer(data.Memory(), data.Size());
}

void TWriter::WriteIdent(const std::string& Ident) {
  if (SameText(Ident, "False")) return WriteValue(vaFalse);
  if (SameText(Ident, "True")) return WriteValue(vaTrue);
  if (SameText(Ident, "nil")) return WriteValue(vaNil);
  WriteValue(vaIdent);
  WriteShortString(Ident);
}

void TWriter::WriteChar(char Value) { WriteString(std::string(1, Value)); }

void TWriter::WriteSet(const std::vector<std::string>& Names) {
  WriteValue(vaSet);
  for (const std::string& name : Names) WriteShortString(name);
  WriteShortString("");
}

// ---- Defined properties -----------------------------------------------------------------------

void TWriter::DefineProperty(const std::string& Name, TReaderProc, TWriterProc WriteData, bool HasData) {
  if (!HasData || !WriteData) return;
  WriteShortString(prefix_ + Name);
  WriteData(this);
}

void TWriter::DefineBinaryProperty(const std::string& Name, TStreamProc, TStreamProc WriteData, bool HasData) {
  if (!HasData || !WriteData) return;
  WriteShortString(prefix_ + Name);
  WriteBinary(WriteData);
}

// ---- Properties and collections ---------------------------------------------------------------

void TWriter::WriteProperties(TPersistent* Instance) {
  for (const TPropInfo* prop : Instance->ClassInfo().Properties())
    WritePropValue(*Instance, *prop, prefix_ + prop->Name);
  DefinePropertiesOf(Instance);
}

void TWriter::WritePropValue(TObject& Instance, const TPropInfo& Prop, const std::string& Path) {
  const bool writable = Prop.SetOrd || Prop.SetStr || Prop.SetFloat || Prop.SetObject;
  if (Prop.Kind() == tkClass) return WriteObjectProp(GetObjectProp(Instance, Prop), writable, Path);
  if (!writable) return;
  switch (Prop.Kind()) {
    case tkInteger:
    case tkChar:
    case tkEnumeration:
    case tkSet: return WriteOrdinalProp(Instance, Prop, Path);
    case tkFloat:
      WriteShortString(Path);
      WriteFloat(GetFloatProp(Instance, Prop));
      return;
    case tkString: {
      const std::string value = GetStrProp(Instance, Prop);
      if (value.empty()) return;
      WriteShortString(Path);
      WriteString(value);
      return;
    }
    default: return;  // events name handlers, which only a form's description knows
  }
}

// An ordinal at its default is left out.
void TWriter::WriteOrdinalProp(TObject& Instance, const TPropInfo& Prop, const std::string& Path) {
  const TTypeInfo& type = Prop.PropType();
  const std::int64_t value = GetOrdProp(Instance, Prop);
  if (Prop.Default && *Prop.Default == value) return;
  WriteShortString(Path);
  if (Prop.Kind() == tkInteger) {
    std::string ident;
    const TIntToIdent* intToIdent = FindIntToIdent(type);
    if (intToIdent && (*intToIdent)(value, ident)) WriteIdent(ident);
    else
      WriteInteger(value);
  } else if (Prop.Kind() == tkChar) {
    WriteChar(static_cast<char>(value));
  } else if (Prop.Kind() == tkEnumeration) {
    WriteIdent(GetEnumName(type, value));
  } else {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < type.Names.size() && i < 32; ++i)
      if (value & (std::int64_t{1} << i)) names.push_back(type.Names[i]);
    WriteSet(names);
  }
}

// A collection is written whole, a component by its name, any other persistent object by its own
// properties under the dotted path.
void TWriter::WriteObjectProp(TObject* Object, bool Writable, const std::string& Path) {
  if (!Object) return;
  if (auto* collection = dynamic_cast<TCollection*>(Object)) {
    WriteShortString(Path);
    WriteCollection(collection);
  } else if (auto* component = dynamic_cast<TComponent*>(Object)) {
    if (!Writable || component->Name().empty()) return;
    WriteShortString(Path);
    WriteIdent(component->Name());
  } else if (auto* persistent = dynamic_cast<TPersistent*>(Object)) {
    const std::string saved = prefix_;
    prefix_ = Path + ".";
    try {
      WriteProperties(persistent);
    } catch (...) {
      prefix_ = saved;
      throw;
    }
    prefix_ = saved;
  }
}

void TWriter::WriteCollection(TCollection* Collection) {
  WriteValue(vaCollection);
  const std::string saved = prefix_;
  prefix_.clear();
  try {
    for (int i = 0; i < Collection->Count(); ++i) {
      WriteListBegin();
      WriteProperties(Collection->Items(i));
      WriteListEnd();
    }
  } catch (...) {
    prefix_ = saved;
    throw;
  }
  prefix_ = saved;
  WriteListEnd();
}
