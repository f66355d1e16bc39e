// The PCX reader on arbitrary bytes; a picture it reads has the size it reports.
#include <cstdint>

#include "imaging/pcx_reader.h"
#include "reads_as_reported.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TVelmoraIOParams params(nullptr);
  ReadsAsReported(data, size, params, [&](TMemoryStream& input, TBitmap& bitmap) {
    PCXReadStream(&input, bitmap, params, {}, input.Size());
  });
  return 0;
}
