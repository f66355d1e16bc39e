#pragma once
// The DIB headers as the reader checks them; header faults raise EPGBMPFileFormatReader.
#include <cstdint>

#include "formats/bmp_names.h"
#include "vcl/streams.h"

inline const std::string kBMPPrefix = "BMP: ";

struct TBMPHeader {
  bool Core = false;
  std::int32_t Width = 0;
  std::int32_t Height = 0;  // negative: top-down rows
  int BitCount = 0;
  std::uint32_t Compression = 0;
  std::uint32_t SizeImage = 0;
  std::uint32_t ClrUsed = 0;
  std::uint32_t Size = 0;  // of the header as the file gives it
  bmp::Masks Masks{};  // from the file with bit fields, else the defaults of the bit count
};

// Read at the stream position and checked: planes, bit count, compression and height. An
// information header is read as its first 40 bytes and its masks; the rest of a longer one is skipped.
TBMPHeader ReadCoreHeader(TStream* Stream);
TBMPHeader ReadInfoHeader(TStream* Stream);
