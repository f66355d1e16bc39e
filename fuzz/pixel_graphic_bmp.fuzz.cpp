// The pixel graphics library's bitmap reader on arbitrary bytes; what it reads must survive the
// library's writer and a second read unchanged.
#include <cstdint>
#include <cstdlib>

#include "graphics/pixel_graphic.h"
#include "pixel_graphic_round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TPixelGraphic image;
  // Warnings ignored: a file of another format chosen by its signature (a PNG) may warn, and a
  // warning box would wait for an answer that never comes.
  if (!ReadByExtension(data, size, "bmp", image)) return 0;
  if (std::int64_t{image.GetWidth()} * image.GetHeight() > 1 << 16) return 0;  // keep runs quick
  TPixelGraphic again;
  WriteBitmapAndReadBack(image, again);
  if (again.GetBitCount() != image.GetBitCount() || again.PaletteCount() != image.PaletteCount()) abort();
  for (int i = 0; i < image.PaletteCount(); ++i)
    if (again.GetPaletteEntry(i) != image.GetPaletteEntry(i)) abort();
  CheckSamePixels(image, again);
  return 0;
}
