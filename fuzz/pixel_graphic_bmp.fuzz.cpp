// The pixel graphics library's bitmap reader on arbitrary bytes; what it reads must survive the
// library's writer and a second read unchanged.
#include <cstdint>
#include <cstdlib>

#include "graphics/exceptions.h"
#include "graphics/pixel_graphic.h"
#include "pixel_graphic_round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryStream input;
  input.Write(data, static_cast<std::int64_t>(size));
  input.SetPosition(0);
  TPixelGraphic image;
  try {
    image.LoadFromStreamExt(&input, "bmp", 0);
  } catch (const EPixelGraphic&) {  // the reader's errors and sizes refused as the DIB section
    return 0;
  }
  if (std::int64_t{image.GetWidth()} * image.GetHeight() > 1 << 16) return 0;  // keep runs quick
  TPixelGraphic again;
  WriteBitmapAndReadBack(image, again);
  if (again.GetBitCount() != image.GetBitCount() || again.PaletteCount() != image.PaletteCount()) abort();
  for (int i = 0; i < image.PaletteCount(); ++i)
    if (again.GetPaletteEntry(i) != image.GetPaletteEntry(i)) abort();
  CheckSamePixels(image, again);
  return 0;
}
