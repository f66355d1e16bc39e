// The filer that finds a component's self-stored properties.
#include "settings/hidden_props.h"

#include "vcl/formreader.h"
#include "vcl/formwriter.h"
#include "vcl/streams.h"
#include "vcl/sysutils.h"
#include "win32/little_endian.h"

TPHiddenPropsUse::TPHiddenPropsUse(TPersistent* Instance) {
  if (Instance) DefinePropertiesOf(Instance);
}

void TPHiddenPropsUse::DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc WriteData, bool) {
  if (ReadData && WriteData) entries_.push_back({Name, std::move(ReadData), std::move(WriteData), {}, {}});
}

void TPHiddenPropsUse::DefineBinaryProperty(const std::string& Name, TStreamProc ReadData, TStreamProc WriteData,
                                            bool) {
  if (ReadData && WriteData) entries_.push_back({Name, {}, {}, std::move(ReadData), std::move(WriteData)});
}

const TPHiddenPropsUse::TEntry* TPHiddenPropsUse::Find(const std::string& Name) const {
  for (const TEntry& e : entries_)
    if (SameText(e.Name, Name)) return &e;
  return nullptr;
}

bool TPHiddenPropsUse::Has(const std::string& Name) const { return Find(Name) != nullptr; }

bool TPHiddenPropsUse::WriteProp(const std::string& Name, TStream* Stream) const {
  const TEntry* e = Find(Name);
  if (!e) return false;
  TWriter writer(Stream);
  if (e->Write) {
    e->Write(&writer);
  } else {
    writer.WriteBinary(e->WriteBinary);
  }
  writer.FlushBuffer();
  return true;
}

bool TPHiddenPropsUse::ReadProp(const std::string& Name, TStream* Stream) const {
  const TEntry* e = Find(Name);
  if (!e) return false;
  TReader reader(Stream);
  if (e->Read) {
    e->Read(&reader);
    return true;
  }
  if (reader.ReadValue() != vaBinary) throw EReadError("Invalid property value");
  std::uint8_t count[4];
  Stream->ReadBuffer(count, 4);
  const std::int64_t n = ReadLE32(count);
  if (n > Stream->Size() - Stream->Position()) throw EReadError("Invalid stream format");
  TMemoryStream data;
  data.SetSize(n);
  if (n > 0) Stream->ReadBuffer(data.Memory(), n);
  data.SetPosition(0);
  e->ReadBinary(&data);
  return true;
}
