#include "graphics/bmp_format.h"
#include "graphics/jpeg_format.h"
#include "graphics/library.h"
#include "graphics/pcx_format.h"
#include "graphics/png_format.h"
#include "graphics/pnm_format.h"
#include "graphics/tga_format.h"
#include "graphics/tiff_format.h"

namespace {

template <class T>
TObject* Make() {
  return new T;
}

}  // namespace

// The codecs in registration order; each codec adds its own lines.
std::vector<TFileFormatFactory> FileFormatReaderFactories() {
  return {
      Make<TBMPFileFormatReader>,  Make<TDIBFileFormatReader>,  Make<TRLEFileFormatReader>, Make<TJPGFileFormatReader>,
      Make<TJPEGFileFormatReader>, Make<TJIFFileFormatReader>,  Make<TPNGFileFormatReader>, Make<TPCXFileFormatReader>,
      Make<TPBMFileFormatReader>,  Make<TPGMFileFormatReader>,  Make<TPPMFileFormatReader>, Make<TTGAFileFormatReader>,
      Make<TTIFFileFormatReader>,  Make<TTIFFFileFormatReader>,
  };
}

std::vector<TFileFormatFactory> FileFormatWriterFactories() {
  return {
      Make<TBMPFileFormatWriter>, Make<TDIBFileFormatWriter>, Make<TJPGFileFormatWriter>, Make<TJPEGFileFormatWriter>,
      Make<TJIFFileFormatWriter>, Make<TPNGFileFormatWriter>, Make<TPBMFileFormatWriter>, Make<TPGMFileFormatWriter>,
      Make<TPPMFileFormatWriter>, Make<TTGAFileFormatWriter>, Make<TTIFFileFormatWriter>, Make<TTIFFFileFormatWriter>,
  };
}
