#pragma once
// TPHiddenPropsUse: a filer that, handed to a component's DefineProperties, records every property
// the component stores itself with both a reader and a writer, so that one such property can be
// written to a stream and read back on its own (settings of kind 8).
#include <string>
#include <vector>

#include "vcl/filer.h"
#include "vcl/objects.h"

class TStream;

class TPHiddenPropsUse : public TFiler {
 public:
  // Asks Instance for its self-stored properties.
  explicit TPHiddenPropsUse(TPersistent* Instance);

  void DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc WriteData, bool HasData) override;
  void DefineBinaryProperty(const std::string& Name, TStreamProc ReadData, TStreamProc WriteData,
                            bool HasData) override;
  void FlushBuffer() override {}

  // Compared without regard to case, as the form reader names properties.
  bool Has(const std::string& Name) const;
  // The property's data in the component writer's format; false when Name was not recorded.
  bool WriteProp(const std::string& Name, TStream* Stream) const;
  // Reads what WriteProp wrote; false when Name was not recorded. Bad data raises EReadError.
  bool ReadProp(const std::string& Name, TStream* Stream) const;

 private:
  struct TEntry {
    std::string Name;
    TReaderProc Read;
    TWriterProc Write;
    TStreamProc ReadBinary;
    TStreamProc WriteBinary;
  };
  const TEntry* Find(const std::string& Name) const;

  std::vector<TEntry> entries_;
};
