#include "vcl/drawn_cursors.h"

#include <array>
#include <cstdint>

#include "win32/user.h"

namespace {
constexpr int kSize = 32;
constexpr int kRowBytes = kSize / 8;
}  // namespace

HCURSOR CreateRimmedCursor(TCursorPixels Shape, int HotX, int HotY) {
  // AND 1, XOR 0 leaves the screen; AND 0 with XOR 0 is black, with XOR 1 white.
  std::array<std::uint8_t, kRowBytes * kSize> andMask, xorMask{};
  andMask.fill(0xFF);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      const bool inside = Shape(x, y);
      bool rim = false;
      for (int j = -1; j <= 1 && !inside; ++j)
        for (int i = -1; i <= 1; ++i)
          if (x + i >= 0 && x + i < kSize && y + j >= 0 && y + j < kSize && Shape(x + i, y + j)) rim = true;
      if (!inside && !rim) continue;
      const auto bit = static_cast<std::uint8_t>(0x80 >> (x % 8));
      const auto at = static_cast<std::size_t>(y * kRowBytes + x / 8);
      andMask[at] &= static_cast<std::uint8_t>(~bit);
      if (rim) xorMask[at] |= bit;
    }
  return CreateCursor(nullptr, HotX, HotY, kSize, kSize, andMask.data(), xorMask.data());
}
