// Tagged image files from the library's writer: every depth, uncompressed and PackBits, both byte
// orders, CMYK and WhiteIsZero.
#include <string>

#include "graphics/palettes.h"
#include "graphics/tiff_format.h"
#include "seeds.h"

namespace fuzz_seeds {

std::vector<Seed> Seeds() {
  std::vector<Seed> seeds;
  const std::pair<TPGBitCount, TPaletteIdent> kinds[] = {{pgbc1, pBlackWhite}, {pgbc4, pGray16},  {pgbc4, pSys16},
                                                         {pgbc8, pGray256},    {pgbc8, pUnknown}, {pgbc24, pTrueColor}};
  for (int compression : {1, 32773})
    for (bool options : {false, true})
      for (const auto& [format, ident] : kinds) {
        TPixelGraphic image;
        image.SetSize(10, 6, format);
        if (ident == pUnknown) {
          image.SetPaletteCount(40);
          for (int i = 0; i < 40; ++i) image.SetPaletteEntry(i, RGBToColor(6 * i, 255 - i, i));
        } else {
          image.SetPaletteIdent(ident);
        }
        for (int x = 0; x < 10; ++x) image.SetPixel(x, x % 6, format == pgbc24 ? 0x102030u * x : x % 2);
        PGTIFFWriteCompression = compression;
        PGTIFFWriteMotorola = PGTIFFWriteCMYK = PGTIFFWriteWhiteIsZero = options;
        TMemoryStream stream;
        TTIFFileFormatWriter().Write(&stream, &image);
        seeds.push_back(
            {"tiff-" + std::to_string(compression) + (options ? "-mm" : "-ii") + "-" +
                 std::to_string(image.GetBitsPerPixel()) + "-" + std::to_string(ident),
             std::string(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()))});
      }
  PGTIFFWriteCompression = 1;
  PGTIFFWriteMotorola = PGTIFFWriteCMYK = PGTIFFWriteWhiteIsZero = false;
  return seeds;
}

}  // namespace fuzz_seeds
