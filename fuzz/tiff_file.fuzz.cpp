// The TIFF reader with its LZW decoder on arbitrary bytes; a picture it reads has the size it
// reports.
#include <cstdint>

#include "imaging/tiff_lzw.h"
#include "imaging/tiff_reader.h"
#include "reads_as_reported.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TVelmoraIOParams params(nullptr);
  params.TiffLzwDecoder = TiffLzwDecode;
  ReadsAsReported(data, size, params, [&](TMemoryStream& input, TBitmap& bitmap) {
    int count = 0;
    TIFFReadStream(bitmap, &input, count, {}, params);
  });
  return 0;
}
