#pragma once
// The component writer: the mirror of TReader (vcl/formreader.h). It writes values in the binary
// form format, so that what an object's DefineProperties writer or a collection puts out reads
// back through TReader. Integers take the smallest tag that holds them; strings up to 255 bytes
// are vaString, longer ones vaLString; floats are vaExtended with the 10-byte extended value.
#include <cstdint>
#include <string>
#include <vector>

#include "vcl/filer.h"
#include "vcl/formreader.h"
#include "vcl/streams.h"

class TCollection;

class TWriter : public TFiler {
 public:
  // Writes at the stream's current position; the stream stays the caller's.
  explicit TWriter(TStream* Stream);

  // TFiler: a defined property with data is written as its name and what WriteData writes.
  void DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc WriteData, bool HasData) override;
  void DefineBinaryProperty(const std::string& Name, TStreamProc ReadData, TStreamProc WriteData,
                            bool HasData) override;
  void FlushBuffer() override {}

  void WriteValue(TValueType Value);
  void WriteListBegin();
  void WriteListEnd();
  void WriteInteger(std::int64_t Value);
  void WriteBoolean(bool Value);
  void WriteFloat(long double Value);
  void WriteString(const std::string& Value);
  void WriteIdent(const std::string& Ident);
  void WriteChar(char Value);
  void WriteSet(const std::vector<std::string>& Names);
  // vaBinary, the size and the bytes WriteData puts into a memory stream.
  void WriteBinary(const TStreamProc& WriteData);
  // vaCollection, then each item as a list of its published properties that differ from their
  // defaults, then the end of the list: what TReader::ReadCollection reads after the marker.
  void WriteCollection(TCollection* Collection);
  // The published properties of Instance (by name, as the reader takes them), then the
  // properties it defines itself.
  void WriteProperties(TPersistent* Instance);

 private:
  void WriteByte(std::uint8_t Value);
  void WriteShortString(const std::string& Value);
  // The four-byte size before long strings and binary data.
  void WriteCount(std::size_t Count);
  void WritePropValue(TObject& Instance, const TPropInfo& Prop, const std::string& Path);
  void WriteOrdinalProp(TObject& Instance, const TPropInfo& Prop, const std::string& Path);
  void WriteObjectProp(TObject* Object, bool Writable, const std::string& Path);

  TStream* stream_;
  std::string prefix_;  // the dotted path of the object property being written
};
