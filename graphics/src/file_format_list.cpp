#include "graphics/bmp_format.h"
#include "graphics/library.h"

namespace {

template <class T>
TObject* Make() {
  return new T;
}

}  // namespace

// The codecs in registration order; each codec adds its own lines.
std::vector<TFileFormatFactory> FileFormatReaderFactories() {
  return {
      Make<TBMPFileFormatReader>,
      Make<TDIBFileFormatReader>,
      Make<TRLEFileFormatReader>,
  };
}

std::vector<TFileFormatFactory> FileFormatWriterFactories() {
  return {
      Make<TBMPFileFormatWriter>,
      Make<TDIBFileFormatWriter>,
  };
}
