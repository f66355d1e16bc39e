#pragma once
// JPEG through libjpeg: decoding gives an 8-bit grey or a 24-bit image, encoding takes exactly
// those two kinds. Library errors and raising warnings become EPGJPGFileFormatReaderWriter.
// Limits: pictures up to the DIB section's 1 GiB. A file that ends early warns and the library
// makes up the rest; past 16 MiB of picture the file must be 1/1032 of it, else
// "JPG: Unexpected end of file". A file of more than jpeg::kMaxScans scans is
// "JPG: Corrupt JPEG data: more than 500 scans".
#include <string>

#include "graphics/file_formats.h"

// The codec settings; set-up leaves them as below and nothing changes them.
extern int PGJPEGReadDCTMethod;  // 0, the slow integer method (an image's fast-DCT flag gives 1)
extern int PGJPEGWriteDCTMethod;  // 2, floating point
extern int PGJPEGWriteQuality;  // 80
extern bool PGJPEGWriteProgressive;  // off

// The tag of the JPEG interface the codec is written against; it begins "J6a".
std::string JPEGLibraryTag();

class TJPGFileFormatReader : public TFileFormatReader {
 public:
  VCL_CLASS_INFO
  TJPGFileFormatReader();
  // FF D8.
  bool CheckHeader(const std::uint8_t* Header) override;
  void Read(TStream* Stream, TPixelGraphic* Graphic, int Index) override;
  void GetInfo(TStream* Stream, int Index, TPGImageInfo& Info) override;
};

class TJPEGFileFormatReader : public TJPGFileFormatReader {
 public:
  VCL_CLASS_INFO
  TJPEGFileFormatReader() { Extension = "jpeg"; }
};

class TJIFFileFormatReader : public TJPGFileFormatReader {
 public:
  VCL_CLASS_INFO
  TJIFFileFormatReader() { Extension = "jif"; }
};

// Writes 24-bit images and 8-bit images with the 256-level grey palette.
class TJPGFileFormatWriter : public TFileFormatWriter {
 public:
  VCL_CLASS_INFO
  TJPGFileFormatWriter();
  void Write(TStream* Stream, TPixelGraphic* Graphic) override;
};

class TJPEGFileFormatWriter : public TJPGFileFormatWriter {
 public:
  VCL_CLASS_INFO
  TJPEGFileFormatWriter() {
    Extension = "jpeg";
    InFilter = false;
  }
};

class TJIFFileFormatWriter : public TJPGFileFormatWriter {
 public:
  VCL_CLASS_INFO
  TJIFFileFormatWriter() {
    Extension = "jif";
    InFilter = false;
  }
};
