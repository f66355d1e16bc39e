// Portable bitmaps of every kind: the library's writers' output in both forms, and a commented
// ASCII header.
#include <string>

#include "graphics/pnm_format.h"
#include "seeds.h"

namespace fuzz_seeds {

std::vector<Seed> Seeds() {
  std::vector<Seed> seeds;
  const std::pair<TPGBitCount, const char*> kinds[] = {{pgbc1, "pbm"}, {pgbc8, "pgm"}, {pgbc24, "ppm"}};
  for (bool binary : {false, true})
    for (const auto& [format, ext] : kinds) {
      TPixelGraphic image;
      image.SetSize(11, 5, format);
      if (format == pgbc1) image.SetPaletteIdent(pBlackWhite);
      if (format == pgbc8) image.SetPaletteIdent(pGray256);
      for (int x = 0; x < 11; ++x) image.SetPixel(x, x % 5, format == pgbc24 ? 0x123456u * x : x % 2);
      PGPxMWriteBinary = binary;
      TMemoryStream stream;
      image.SaveToStreamExt(&stream, ext);
      PGPxMWriteBinary = false;
      seeds.push_back(
          {std::string(ext) + (binary ? "-binary" : "-ascii"),
           std::string(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()))});
    }
  seeds.push_back({"comments", "P2 # c\n2 2 # c\n65535\n1 2 # c\n3 70000"});
  return seeds;
}

}  // namespace fuzz_seeds
