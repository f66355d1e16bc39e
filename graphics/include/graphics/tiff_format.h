#pragma once
// Tagged image files: one directory chosen by index, uncompressed or PackBits strips, bi-level,
// grey, palette, RGB and CMYK pictures. Offsets count from where the header begins, so a picture
// may sit inside a larger stream.
// Limits: pictures up to the DIB section's 1 GiB. PackBits data that ends early is "TIFF:
// Unexpected end of file", raised before sizing when the file cannot hold the rows; uncompressed
// rows past the file are black, but past 16 MiB of picture the file must be half of it.
#include <cstdint>

#include "graphics/file_formats.h"

// The codec settings; set-up leaves them as below and nothing changes them.
extern bool PGTIFFCountIFDs;  // off: the first directory is the only image
extern int PGTIFFMaxIFDs;  // 1000
extern int PGTIFFWriteCompression;  // 1 none, 32773 PackBits
extern bool PGTIFFWriteCMYK;  // off
extern bool PGTIFFWriteWhiteIsZero;  // off
extern bool PGTIFFWriteMotorola;  // off: "II"
extern int PGTIFFWriteResolutionUnit;  // 1: written as 2, inches
extern std::uint32_t PGTIFFWriteXResolution[2];  // 300 / 1
extern std::uint32_t PGTIFFWriteYResolution[2];  // 300 / 1

class TTIFFileFormatReader : public TFileFormatReader {
 public:
  VCL_CLASS_INFO
  TTIFFileFormatReader();
  // "II" 2A 00 or "MM" 00 2A.
  bool CheckHeader(const std::uint8_t* Header) override;
  void Read(TStream* Stream, TPixelGraphic* Graphic, int Index) override;
  void GetInfo(TStream* Stream, int Index, TPGImageInfo& Info) override;
};

class TTIFFFileFormatReader : public TTIFFileFormatReader {
 public:
  VCL_CLASS_INFO
  TTIFFFileFormatReader() { Extension = "tiff"; }
};

class TTIFFileFormatWriter : public TFileFormatWriter {
 public:
  VCL_CLASS_INFO
  TTIFFileFormatWriter();
  void Write(TStream* Stream, TPixelGraphic* Graphic) override;
  void WriteHeader(TStream* Stream) override;
  void WriteImage(TStream* Stream, TPixelGraphic* Graphic) override;
  void WriteTrailer(TStream* Stream) override;

 protected:
  std::int64_t HeaderStart = 0;
  // Where the offset of the next directory goes.
  std::int64_t NextIFDSlot = 0;
};

class TTIFFFileFormatWriter : public TTIFFileFormatWriter {
 public:
  VCL_CLASS_INFO
  TTIFFFileFormatWriter() {
    Extension = "tiff";
    InFilter = false;
  }
};
