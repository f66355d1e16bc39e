// The TIFF LZW decoder on arbitrary strips: the first two bytes give the request size, the rest
// is the strip. Requests go on past the strip's end, where the decoder must keep giving bytes
// without reading beyond the strip.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "imaging/tiff_lzw.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const int request = 1 + ((data[0] | data[1] << 8) & 0xFFF);
  // A copy of exactly the strip's size, so a read past it is caught.
  const std::vector<std::uint8_t> strip(data + 2, data + size);
  void* state = nullptr;
  const std::size_t wanted = strip.size() * 4 + 64;  // past the end of most strips
  unsigned sum = 0;
  for (std::size_t done = 0; done < wanted; done += static_cast<std::size_t>(request)) {
    const std::uint8_t* out = TiffLzwDecode(strip.data(), strip.size(), request, state);
    if (!out) abort();
    for (int i = 0; i < request; ++i) sum += out[i];  // the whole request lies in the buffer
  }
  static volatile unsigned sink;
  sink = sum;
  TiffLzwDecode(nullptr, 0, 0, state);
  return 0;
}
