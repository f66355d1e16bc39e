// The fax row decoders on arbitrary strips. The first byte picks the coding (bits 0-1: 0 group 3
// one-dimensional, 1 modified Huffman, 2 and 3 two-dimensional) and the fill order (bit 2), the
// next two the row width; the rest is the strip. Rows never step backwards, never write beyond
// their bytes, and keep the bits beyond the width.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "imaging/ccitt_fax.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const int coding = data[0] & 3;
  const int width = 1 + ((data[1] | data[2] << 8) & 0x1FFF);
  const FaxStrip strip{data + 3, size - 3, data[0] & 4 ? 2 : 1};
  const std::size_t rowBytes = static_cast<std::size_t>((width + 7) / 8);
  const std::uint8_t padding = width % 8 ? static_cast<std::uint8_t>(0xFF >> (width % 8)) : 0;
  std::vector<std::uint8_t> row(rowBytes);
  FaxReference reference;
  std::int64_t position = 0;
  std::size_t byte = 0;
  for (int rows = 0; rows < 64; ++rows) {
    row.back() = 0x5A;
    if (coding == 1) {
      if (byte >= strip.size) break;
      const std::size_t used =
          DecodeFaxRowMH(row.data(), {strip.data + byte, strip.size - byte, strip.fillOrder}, width);
      if (used > strip.size - byte) abort();
      byte += used;
    } else {
      if (position >= strip.Bits()) break;
      const std::int64_t next = coding == 0 ? DecodeFaxRow1D(row.data(), strip, width, position)
                                            : DecodeFaxRow2D(row.data(), strip, width, position, reference);
      if (next < position) abort();
      position = next;
    }
    if ((row.back() & padding) != (0x5A & padding)) abort();
  }
  return 0;
}
