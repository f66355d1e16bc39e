// The pixel graphics library's png reader on arbitrary bytes; what it reads must survive the
// library's bitmap writer and a second read unchanged.
#include <cstdint>

#include "graphics/exceptions.h"
#include "graphics/png_format.h"
#include "pixel_graphic_round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryStream input;
  input.Write(data, static_cast<std::int64_t>(size));
  input.SetPosition(0);
  TPNGFileFormatReader reader;
  TPGImageInfo info;
  try {
    reader.GetInfo(&input, 0, info);
  } catch (const EPGPNGFileFormatReaderWriter&) {
  }
  // Keep runs quick: large pictures decode for long whatever their bytes.
  if (std::int64_t{info.Width} * info.Height > 1 << 18) return 0;
  input.SetPosition(0);
  TPixelGraphic image;
  image.SetReadWarningAction(pgwaIgnore);
  try {
    reader.Read(&input, &image, 0);
  } catch (const EPixelGraphic&) {  // the codec's errors and sizes refused as the DIB section
    return 0;
  }
  CheckBitmapRoundTrip(image);
  return 0;
}
