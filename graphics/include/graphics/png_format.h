#pragma once
// PNG through libpng: reading composes transparency over a background, strips 16-bit samples to
// 8 and undoes interlacing; writing keeps the image's own depth, never interlaced. Library errors
// and raising warnings become EPGPNGFileFormatReaderWriter.
// Limits: pictures up to the DIB section's 1 GiB. A file that ends early is "PNG: Read Error",
// raised before sizing when the stream cannot hold the rows at deflate's best ratio (1032:1).
#include <string>

#include "graphics/file_formats.h"

// The codec settings; set-up leaves them on and nothing changes them.
// A file's bKGD chunk is composed over and becomes the image's background colour.
extern bool PGPNGUseFileBackground;
// The writer stores a gAMA chunk.
extern bool PGPNGWriteGamma;

// The tags of the PNG and zlib interfaces the codec is written against; they begin "P090" and
// "Z104".
std::string PNGLibraryTag();
std::string ZLibLibraryTag();

class TPNGFileFormatReader : public TFileFormatReader {
 public:
  VCL_CLASS_INFO
  TPNGFileFormatReader();
  // The eight-byte PNG signature.
  bool CheckHeader(const std::uint8_t* Header) override;
  void Read(TStream* Stream, TPixelGraphic* Graphic, int Index) override;
  void GetInfo(TStream* Stream, int Index, TPGImageInfo& Info) override;
};

class TPNGFileFormatWriter : public TFileFormatWriter {
 public:
  VCL_CLASS_INFO
  TPNGFileFormatWriter();
  void Write(TStream* Stream, TPixelGraphic* Graphic) override;
};
