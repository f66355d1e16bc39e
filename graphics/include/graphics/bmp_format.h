#pragma once
// The Windows bitmap format: the library's own streaming format and the startup logo's.
// Limits: pictures up to the DIB section's 1 GiB. Pixels missing from a truncated file are black;
// past 16 MiB of picture the data must be at least half of it (1/1032 run-length encoded), else
// "BMP: Unexpected end of file".
#include "graphics/file_formats.h"

class TBMPFileFormatReader : public TFileFormatReader {
 public:
  VCL_CLASS_INFO
  TBMPFileFormatReader();
  // "BM".
  bool CheckHeader(const std::uint8_t* Header) override;
  void Read(TStream* Stream, TPixelGraphic* Graphic, int Index) override;
  void GetInfo(TStream* Stream, int Index, TPGImageInfo& Info) override;
};

class TDIBFileFormatReader : public TBMPFileFormatReader {
 public:
  VCL_CLASS_INFO
  TDIBFileFormatReader() { Extension = "dib"; }
};

class TRLEFileFormatReader : public TBMPFileFormatReader {
 public:
  VCL_CLASS_INFO
  TRLEFileFormatReader() { Extension = "rle"; }
};

// Writes the image in its own format, bottom-up and uncompressed.
class TBMPFileFormatWriter : public TFileFormatWriter {
 public:
  VCL_CLASS_INFO
  TBMPFileFormatWriter();
  void Write(TStream* Stream, TPixelGraphic* Graphic) override;
};

class TDIBFileFormatWriter : public TBMPFileFormatWriter {
 public:
  VCL_CLASS_INFO
  TDIBFileFormatWriter() {
    Extension = "dib";
    InFilter = false;
  }
};
