// The pixel graphics library's pnm reader on arbitrary bytes; what it reads must survive the
// library's writer and a second read with the same raw pixel values.
#include <cstdint>

#include "pixel_graphic_round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TPixelGraphic image;
  image.SetSaveColorResWarningAction(pgwaIgnore);
  if (!ReadByExtension(data, size, "ppm", image)) return 0;
  if (std::int64_t{image.GetWidth()} * image.GetHeight() > 1 << 16 || image.GetEmpty()) return 0;  // keep runs quick
  // Through the writer for the kind read, and back.
  TMemoryStream written;
  const char* ext = image.GetBitCount() == pgbc1 ? "pbm" : image.GetBitCount() == pgbc8 ? "pgm" : "ppm";
  image.SaveToStreamExt(&written, ext);
  written.SetPosition(0);
  TPixelGraphic again;
  again.LoadFromStreamExt(&written, ext, 0);
  CheckSamePixels(image, again);
  return 0;
}
