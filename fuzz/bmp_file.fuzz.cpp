// The bitmap reader on arbitrary bytes; what it reads must survive our writer and a second read.
#include <cstdint>
#include <cstdlib>

#include "imaging/bmp_codec.h"
#include "vcl/graphics_images.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryStream input;
  input.Write(data, static_cast<std::int64_t>(size));
  input.SetPosition(0);
  TBitmap bitmap;
  TVelmoraIOParams params(nullptr);
  try {
    BMPReadStream(&input, bitmap, input.Size(), {}, params);
  } catch (const EInvalidGraphic&) {
    return 0;
  }
  if (bitmap.Width() != params.Width || bitmap.Height() != params.Height) abort();
  if (std::int64_t{bitmap.Width()} * bitmap.Height() > 1 << 16) return 0;  // keep runs quick
  params.BitsPerSample = 8;
  params.SamplesPerPixel = 3;
  TMemoryStream written;
  BMPWriteStream(&written, bitmap, params, {});
  written.SetPosition(0);
  TBitmap again;
  TVelmoraIOParams reread(nullptr);
  BMPReadStream(&written, again, written.Size(), {}, reread);
  if (again.Width() != bitmap.Width() || again.Height() != bitmap.Height()) abort();
  return 0;
}
