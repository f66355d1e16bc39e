// The pixel graphics library's pcx reader on arbitrary bytes.
#include <cstdint>

#include "pixel_graphic_round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TPixelGraphic image;
  ReadByExtension(data, size, "pcx", image);
  return 0;
}
