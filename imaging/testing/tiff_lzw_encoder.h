#pragma once
// A TIFF LZW encoder for the tests and the fuzz seeds.
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

// codes most significant bit first, widths growing one code
// early as TIFF's variant does, a clear code when the table fills.
inline std::vector<std::uint8_t> TiffLzwEncode(const std::vector<std::uint8_t>& input, bool leadingClear = true) {
  std::vector<std::uint8_t> out;
  std::uint32_t buffer = 0;
  int bits = 0, width = 9, next = 258;
  const auto put = [&](int code) {
    buffer = buffer << width | static_cast<std::uint32_t>(code);
    bits += width;
    while (bits >= 8) {
      out.push_back(static_cast<std::uint8_t>(buffer >> (bits - 8)));
      bits -= 8;
    }
  };
  std::map<std::pair<int, int>, int> table;
  if (leadingClear) put(256);
  int current = -1;
  for (std::uint8_t b : input) {
    if (current < 0) {
      current = b;
      continue;
    }
    if (auto found = table.find({current, b}); found != table.end()) {
      current = found->second;
      continue;
    }
    put(current);
    table[{current, b}] = next++;
    if (next == 512) width = 10;  // the decoder, an entry behind, is then at 511
    else if (next == 1024)
      width = 11;
    else if (next == 2048)
      width = 12;
    if (next == 4094) {
      put(256);
      table.clear();
      next = 258;
      width = 9;
    }
    current = b;
  }
  if (current >= 0) put(current);
  put(257);
  if (bits > 0) out.push_back(static_cast<std::uint8_t>(buffer << (8 - bits)));
  return out;
}
