#pragma once
// The base of the form-description reader and writer: the hook through which an object defines
// properties that it stores itself.
#include <functional>
#include <string>

#include "vcl/objects.h"

class TReader;
class TWriter;
class TStream;

using TReaderProc = std::function<void(TReader* Reader)>;
using TWriterProc = std::function<void(TWriter* Writer)>;
using TStreamProc = std::function<void(TStream* Stream)>;

class TFiler : public TObject {
 public:
  virtual void DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc WriteData, bool HasData) = 0;
  virtual void DefineBinaryProperty(const std::string& Name, TStreamProc ReadData, TStreamProc WriteData,
                                    bool HasData) = 0;
  virtual void FlushBuffer() = 0;

  // Hands this filer to Instance's DefineProperties.
  void DefinePropertiesOf(TPersistent* Instance) { Instance->DefineProperties(this); }
};
