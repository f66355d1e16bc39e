#pragma once
// Bit helpers shared by the bitmap codec, the processing component and the fax decoder.
#include <cstdint>

// The number of consecutive 1 bits from the mask's lowest set bit (bits 0 to 30 are searched).
int MaskWidth(std::uint32_t mask);
// Bytes of one row padded to 32 bits.
std::int64_t RowStride(std::int64_t width, int bits);
std::uint32_t ReverseBits32(std::uint32_t value);
