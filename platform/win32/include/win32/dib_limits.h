#pragma once
// The largest pixel block a DIB section gets; CreateDIBSection fails for a larger one. Every
// picture of the pixel graphics and imaging libraries lives in a DIB section, so this is the one
// size limit of both. 1 GiB also keeps every stride and image size of a section within 32 bits.
#include <cstdint>

inline constexpr long long kMaxDibBytes = 1LL << 30;

// Bytes of a row of `width` pixels of `bits` each, rows aligned to four bytes as a DIB's are.
inline constexpr std::int64_t DibStride(std::int64_t width, int bits) { return (width * bits + 31) / 32 * 4; }

// Whether a width x height picture of `bits` a pixel fits a DIB section; the stride is bounded
// first, so nothing here overflows.
inline constexpr bool FitsDib(std::int64_t width, std::int64_t height, int bits) {
  if (width < 0 || height < 0) return false;
  const std::int64_t stride = DibStride(width, bits);
  return stride <= kMaxDibBytes && (stride == 0 || height <= kMaxDibBytes / stride);
}
