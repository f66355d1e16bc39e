#pragma once
// Bitmap files' header sizes and the bit-field masks of their 16- and 32-bit pixels, as the pixel
// graphics library's reader and the imaging library's reader apply them.
#include <algorithm>
#include <bit>
#include <cstdint>

namespace bmp {

// Header sizes: the core header, the information header, OS/2 2.x's and the two later
// information headers, which begin as the 40-byte one with its three masks.
inline constexpr std::uint32_t kCoreHeaderSize = 12, kInfoHeaderSize = 40, kOs2HeaderSize = 64, kV4HeaderSize = 108,
                               kV5HeaderSize = 124;
// Where the red, green and blue masks lie from the start of the information header: right after
// the 40-byte one, inside the later ones.
inline constexpr int kMasksOffset = 40, kMasksBytes = 12;

// Compression 3: bit fields in Windows' headers, Huffman 1D in OS/2 2.x's.
inline constexpr std::uint32_t kBitFields = 3;

// Red, green and blue masks of files that give none.
struct Masks {
  std::uint32_t red, green, blue;
};
inline constexpr Masks kDefault16{0x7C00, 0x03E0, 0x001F}, kDefault32{0xFF0000, 0xFF00, 0xFF};

// The masked part of a pixel value moved so that the mask's top bit is bit 7; with HalfStep the
// lowest bit of the moved mask is added, so that a full field of fewer than 8 bits reaches 255.
inline int Channel(std::uint32_t Value, std::uint32_t Mask, bool HalfStep) {
  const std::uint32_t masked = Value & Mask;
  if (masked == 0) return 0;
  const int top = std::bit_width(Mask) - 1;
  std::uint32_t c, m;
  if (top > 7) {
    c = masked >> (top - 7);
    m = Mask >> (top - 7);
  } else {
    c = masked << (7 - top);
    m = Mask << (7 - top);
  }
  if (HalfStep) c += m & (~m + 1);
  return static_cast<int>(std::min<std::uint32_t>(c, 255));
}

}  // namespace bmp
