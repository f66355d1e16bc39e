// The pixel graphics library's tiff reader on arbitrary bytes; what it reads must survive the
// library's writer and a second read with the same raw pixel values.
#include <cstdint>

#include "graphics/tiff_format.h"
#include "pixel_graphic_round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TPixelGraphic image;
  if (!ReadByExtension(data, size, "tif", image)) return 0;
  if (std::int64_t{image.GetWidth()} * image.GetHeight() > 1 << 16 || image.GetEmpty()) return 0;  // keep runs quick
  CheckRoundTrip(image, TTIFFileFormatWriter(), "tif");
  return 0;
}
