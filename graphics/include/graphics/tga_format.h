#pragma once
// Truevision Targa: colour-mapped, true-colour and black-and-white pictures, plain or run-length
// encoded, in any corner. The format has no signature; the reader is chosen by extension alone.
// Limits: pictures up to the DIB section's 1 GiB. Run-length data that ends early is "TGA:
// Unexpected end of file", raised before sizing when it cannot hold a packet per 128 pixels;
// uncompressed rows missing are black, but past 16 MiB of picture the data must be half of it.
#include "graphics/file_formats.h"

// The header's image types; the run-length kinds are the plain ones with tgaRunLength added.
enum TTGAImageType {
  tgaColorMapped = 1,
  tgaTrueColor = 2,
  tgaBlackAndWhite = 3,
  tgaRunLength = 8,
  tgaRunLengthColorMapped = tgaRunLength + tgaColorMapped,
  tgaRunLengthTrueColor = tgaRunLength + tgaTrueColor,
  tgaRunLengthBlackAndWhite = tgaRunLength + tgaBlackAndWhite,
};
// The descriptor's bits of the origin corner.
constexpr int kTGARightToLeft = 16;
constexpr int kTGATopDown = 32;

class TTGAFileFormatReader : public TFileFormatReader {
 public:
  VCL_CLASS_INFO
  TTGAFileFormatReader();
  void Read(TStream* Stream, TPixelGraphic* Graphic, int Index) override;
  void GetInfo(TStream* Stream, int Index, TPGImageInfo& Info) override;
};

// Writes 8-bit images colour-mapped and 24-bit images true-colour, uncompressed, bottom row first.
class TTGAFileFormatWriter : public TFileFormatWriter {
 public:
  VCL_CLASS_INFO
  TTGAFileFormatWriter();
  void Write(TStream* Stream, TPixelGraphic* Graphic) override;
};
