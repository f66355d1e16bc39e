// The JPEG reader on arbitrary bytes: libjpeg's errors must come out as EInvalidGraphic, with the
// decompressor destroyed (a leak is a finding), and a picture it reads has the size it reports.
#include <cstdint>

#include "imaging/jpeg_reader.h"
#include "reads_as_reported.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TVelmoraIOParams params(nullptr);
  ReadsAsReported(data, size, params,
                  [&](TMemoryStream& input, TBitmap& bitmap) { JPEGReadStream(&input, bitmap, params, {}); });
  return 0;
}
