#pragma once
// The header and the chosen image directory of a tagged image file, as Read and GetInfo share
// them. Every fault raises EPGTIFFileFormatReader.
#include <cstdint>
#include <string>
#include <vector>

#include "vcl/streams.h"

inline const std::string kTIFFPrefix = "TIFF: ";

struct TTIFFDirectory {
  bool BigEndian = false;
  std::int64_t Start = 0;  // the header's stream position; offsets count from here
  int ImageCount = 1;
  std::uint32_t Width = 0;
  std::uint32_t Height = 0;
  std::vector<std::uint32_t> BitsPerSample;
  std::uint32_t Compression = 0;
  std::uint32_t Photometric = 0;
  std::vector<std::uint32_t> StripOffsets;
  std::uint32_t SamplesPerPixel = 0;
  std::uint32_t RowsPerStrip = 0;
  std::uint32_t PlanarConfiguration = 0;
  std::vector<std::uint32_t> ColorMap;
};

// Reads the header at the stream position and directory Index (the first unless counting is on),
// with its checks of samples, planes and rows per strip.
TTIFFDirectory ReadTIFFDirectory(TStream* Stream, int Index);

// Reads big- or little-endian values at stream offsets, refusing any that lie outside the stream.
class TTIFFSource {
 public:
  TTIFFSource(TStream* Stream, bool BigEndian) : stream_(Stream), size_(Stream->Size()), big_(BigEndian) {}
  std::int64_t Size() const { return size_; }
  void SetBigEndian(bool Value) { big_ = Value; }
  // Count bytes at Position into Out; out of range raises "TIFF: Unexpected end of file".
  void Bytes(std::int64_t Position, void* Out, std::int64_t Count);
  std::uint16_t U16(std::int64_t Position);
  std::uint32_t U32(std::int64_t Position);
  std::uint16_t U16Of(const std::uint8_t* p) const;
  std::uint32_t U32Of(const std::uint8_t* p) const;

 private:
  TStream* stream_;
  std::int64_t size_;
  bool big_;
};
