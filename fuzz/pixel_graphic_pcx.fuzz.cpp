// The pixel graphics library's pcx reader on arbitrary bytes..
#include <cstdint>
#include <cstdlib>

#include "graphics/exceptions.h"
#include "graphics/pixel_graphic.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryStream input;
  input.Write(data, static_cast<std::int64_t>(size));
  input.SetPosition(0);
  TPixelGraphic image;
  image.SetReadWarningAction(pgwaIgnore);
  try {
    image.LoadFromStreamExt(&input, "pcx", 0);
  } catch (const EPixelGraphic&) {  // the reader's errors and sizes refused by the image
    return 0;
  }

  return 0;
}
