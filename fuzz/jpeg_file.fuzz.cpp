// The JPEG reader on arbitrary bytes: libjpeg's errors must come out as EInvalidGraphic, with the
// decompressor destroyed (a leak is a finding), and a picture it reads has the size it reports.
#include <cstdint>
#include <cstdlib>

#include "imaging/jpeg_reader.h"
#include "bounded_bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryStream input;
  input.Write(data, static_cast<std::int64_t>(size));
  input.SetPosition(0);
  BoundedBitmap bitmap;
  TVelmoraIOParams params(nullptr);
  try {
    JPEGReadStream(&input, bitmap, params, {});
  } catch (const EInvalidGraphic&) {
    return 0;
  } catch (const PictureOverBudget&) {
    return 0;
  }
  if (bitmap.Width() != params.Width || bitmap.Height() != params.Height) abort();
  return 0;
}
