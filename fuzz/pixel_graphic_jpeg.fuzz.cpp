// The pixel graphics library's jpeg reader on arbitrary bytes; what it reads must survive the
// library's bitmap writer and a second read unchanged.
#include <cstdint>

#include "graphics/exceptions.h"
#include "graphics/jpeg_format.h"
#include "pixel_graphic_round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryStream input;
  input.Write(data, static_cast<std::int64_t>(size));
  input.SetPosition(0);
  TJPGFileFormatReader reader;
  TPGImageInfo info;
  try {
    reader.GetInfo(&input, 0, info);
  } catch (const EPGJPGFileFormatReaderWriter&) {
    return 0;  // its size unknown, the picture could be one that takes long or much memory
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
