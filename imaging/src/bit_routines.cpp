#include "imaging/bit_routines.h"

int MaskWidth(std::uint32_t mask) {
  int first = 0;
  while (first < 31 && !(mask & (1u << first))) ++first;
  int width = 0;
  while (first + width < 32 && (mask & (1u << (first + width)))) ++width;
  return width;
}

std::int64_t RowStride(std::int64_t width, int bits) { return (width * bits + 31) / 32 * 4; }

std::uint32_t ReverseBits32(std::uint32_t value) {
  std::uint32_t result = 0;
  for (int i = 0; i < 32; ++i, value >>= 1) result = (result << 1) | (value & 1);
  return result;
}
