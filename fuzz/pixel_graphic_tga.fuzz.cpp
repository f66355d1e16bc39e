// The pixel graphics library's tga reader on arbitrary bytes; what it reads must survive the
// library's writer and a second read with the same raw pixel values.
#include <cstdint>

#include "graphics/tga_format.h"
#include "pixel_graphic_round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TPixelGraphic image;
  if (!ReadByExtension(data, size, "tga", image)) return 0;
  if (std::int64_t{image.GetWidth()} * image.GetHeight() > 1 << 16 || image.GetEmpty()) return 0;  // keep runs quick
  // The writer takes 8 and 24 bits and refuses the rest; the file of another format, chosen by its
  // signature ("P1" is a bitmap), may give 1 or 4 bits.
  if (image.GetBitsPerPixel() != 8 && image.GetBitsPerPixel() != 24) return 0;
  CheckRoundTrip(image, TTGAFileFormatWriter(), "tga");
  return 0;
}
