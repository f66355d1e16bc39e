#pragma once
// A picture's rows in memory, addressed from the top row down whatever order they are stored in
// (bitmap files and DIB sections keep them bottom-up).
#include <cstddef>
#include <cstdint>

struct PixelRows {
  std::uint8_t* top = nullptr;
  std::ptrdiff_t step = 0;  // bytes from one row to the row below it
  int width = 0;
  int height = 0;
  int bits = 24;

  std::uint8_t* Row(int y) const { return top + step * y; }
};
