#pragma once
// The DIB headers as the reader checks them; header faults raise EPGBMPFileFormatReader.
#include <cstdint>

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
};

// Read at the stream position and checked: planes, bit count, compression and height.
TBMPHeader ReadCoreHeader(TStream* Stream);
TBMPHeader ReadInfoHeader(TStream* Stream);
