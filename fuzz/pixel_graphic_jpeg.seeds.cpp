// JPEG files for the pixel graphics library's reader: our writer's grey and colour output, both
// baseline and progressive, a truncated one and one of too many scans.
#include <string>

#include "formats/testing/jpeg_scans_file.h"
#include "graphics/jpeg_format.h"
#include "seeds.h"

namespace fuzz_seeds {

namespace {

// Scans enough that decoding every one of them would exceed the fuzzer's time limit.
constexpr int kManyScans = 150000;
constexpr int kManyScansSide = 512;  // the largest picture the target decodes

std::string Written(TPGBitCount format, bool progressive, int width = 19, int height = 11) {
  TPixelGraphic image;
  image.SetSize(width, height, format);
  if (format == pgbc8) image.SetPaletteIdent(pGray256);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
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
      {"many-scans.jpg", WithEmptyScans(Written(pgbc24, true, kManyScansSide, kManyScansSide), kManyScans)},
  };
}

}  // namespace fuzz_seeds
