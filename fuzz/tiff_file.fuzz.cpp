// The TIFF reader with its LZW decoder on arbitrary bytes; a picture it reads has the size it
// reports.
#include <cstdint>
#include <cstdlib>

#include "imaging/tiff_lzw.h"
#include "imaging/tiff_reader.h"
#include "bounded_bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryStream input;
  input.Write(data, static_cast<std::int64_t>(size));
  input.SetPosition(0);
  BoundedBitmap bitmap;
  TVelmoraIOParams params(nullptr);
  params.TiffLzwDecoder = TiffLzwDecode;
  int count = 0;
  try {
    TIFFReadStream(bitmap, &input, count, {}, params);
  } catch (const EInvalidGraphic&) {
    return 0;
  } catch (const PictureOverBudget&) {
    return 0;
  }
  if (bitmap.Width() != params.Width || bitmap.Height() != params.Height) abort();
  return 0;
}
