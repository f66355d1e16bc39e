// JPEG files for the pixel graphics library's reader: our writer's grey and colour output, both
// baseline and progressive, and a truncated one.
#include <string>

#include "graphics/jpeg_format.h"
#include "seeds.h"

namespace fuzz_seeds {

namespace {

std::string Written(TPGBitCount format, bool progressive) {
  TPixelGraphic image;
  image.SetSize(19, 11, format);
  if (format == pgbc8) image.SetPaletteIdent(pGray256);
  for (int y = 0; y < 11; ++y)
    for (int x = 0; x < 19; ++x)
      image.SetPixel(x, y,
                     static_cast<std::uint32_t>(x * 0x0D0301 + y * 0x200010) & (format == pgbc8 ? 0xFF : 0xFFFFFF));
  PGJPEGWriteProgressive = progressive;
  TMemoryStream stream;
  TJPGFileFormatWriter().Write(&stream, &image);
  PGJPEGWriteProgressive = false;
  return std::string(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

}  // namespace

std::vector<Seed> Seeds() {
  const std::string colour = Written(pgbc24, false);
  return {
      {"grey.jpg", Written(pgbc8, false)},
      {"colour.jpg", colour},
      {"progressive.jpg", Written(pgbc24, true)},
      {"truncated.jpg", colour.substr(0, colour.size() / 2)},
  };
}

}  // namespace fuzz_seeds
