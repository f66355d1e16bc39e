#pragma once
// How the readers meet declared picture sizes, in one place. A few header bytes can declare a
// gigabyte, so before a reader sizes the image it asks whether the stream can stand for it:
// - a format whose short file is an error compares the bytes left with the least its picture
//   needs (each reader knows that least) and raises its "Unexpected end of file" at once;
// - a format that leaves the missing rows of a truncated file black does so up to kFreeBlackBytes
//   of picture, and past that only while the data is at least 1/Expansion of the picture.
// The size limit itself is the DIB section's, kMaxDibBytes, checked by TPixelGraphic::SetSize.
#include <algorithm>
#include <cstdint>

#include "graphics/pixel_graphic.h"
#include "vcl/streams.h"
#include "win32/dib_limits.h"

// Black rows are this cheap: a 16 MiB picture is made and cleared in some 5 ms, so a few header
// bytes cost no more than that, and a reader's fuzz target stays fast.
inline constexpr std::int64_t kFreeBlackBytes = std::int64_t{16} << 20;
// Picture bytes per data byte of uncompressed rows: 16-bit pixels become 24-bit ones (1.5),
// four samples become three.
inline constexpr std::int64_t kUncompressedExpansion = 2;
// Of compressed data: deflate's best ratio (1032:1); run lengths and JPEG's coefficients stay
// below it in any file that is not built to be hostile.
inline constexpr std::int64_t kCompressedExpansion = 1032;

// Bytes from the stream position to its end.
inline std::int64_t StreamBytesLeft(TStream* Stream) {
  return std::max<std::int64_t>(Stream->Size() - Stream->Position(), 0);
}

// Bytes of a Width x Height image of the format in the pixel store; past kMaxDibBytes it is
// only told that it is too large (kMaxDibBytes + 1).
inline std::int64_t PictureBytes(std::int64_t Width, std::int64_t Height, TPGBitCount Format) {
  static constexpr int kBits[4] = {1, 4, 8, 24};
  if (Width <= 0 || Height <= 0) return 0;
  if (!FitsDib(Width, Height, kBits[Format])) return kMaxDibBytes + 1;
  return DibStride(Width, kBits[Format]) * Height;
}

// True when the stream is too short for a picture of `Picture` bytes whose data takes at least
// `Least` bytes. A picture past the size limit is left to SetSize, which refuses it as such.
inline bool TooShortFor(std::int64_t Picture, std::int64_t Least, std::int64_t Available) {
  return Picture <= kMaxDibBytes && Available < Least;
}

// True when `Available` bytes of data can stand for `Picture` bytes of a tolerant reader's image
// (or the picture is past the size limit, for SetSize to refuse).
inline bool DataCanFill(std::int64_t Picture, std::int64_t Available, std::int64_t Expansion) {
  return Picture <= kFreeBlackBytes || Picture > kMaxDibBytes || Picture / Expansion <= Available;
}
