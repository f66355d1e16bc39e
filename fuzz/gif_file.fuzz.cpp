// The GIF reader with its LZW decoder on arbitrary bytes; a picture it reads has the size it reports.
#include <cstdint>
#include <cstdlib>

#include "imaging/gif_lzw.h"
#include "imaging/gif_reader.h"
#include "reads_as_reported.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TVelmoraIOParams params(nullptr);
  params.GifLzwDecoder = GifLzwDecode;
  const bool read = ReadsAsReported(data, size, params, [&](TMemoryStream& input, TBitmap& bitmap) {
    int count = 0;
    GIFReadStream(&input, bitmap, count, {}, params);
  });
  if (read && params.ColorMapCount() != 0 && params.ColorMapCount() != 1 << params.BitsPerSample) abort();
  return 0;
}
