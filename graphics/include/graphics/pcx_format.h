#pragma once
// Paintbrush pictures: run-length encoded, 1 bit in one or four planes, 8 bits in one or three.
// Limits: pictures up to the DIB section's 1 GiB. A file that ends early is "PCX: Unexpected end
// of file" (the rows decoded stay), raised before sizing when the stream cannot hold the lines.
#include "graphics/file_formats.h"

class TPCXFileFormatReader : public TFileFormatReader {
 public:
  VCL_CLASS_INFO
  TPCXFileFormatReader();
  // Byte 10, run-length encoding and a known version and plane depth: a lone 10 also starts
  // other formats.
  bool CheckHeader(const std::uint8_t* Header) override;
  void Read(TStream* Stream, TPixelGraphic* Graphic, int Index) override;
  void GetInfo(TStream* Stream, int Index, TPGImageInfo& Info) override;
};
