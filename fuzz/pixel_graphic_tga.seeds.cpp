// Targa files: the library's writer's colour-mapped and true-colour output, and run-length,
// 16-bit and mirrored top-down files made here.
#include <string>

#include "graphics/tga_format.h"
#include "seeds.h"

namespace fuzz_seeds {

namespace {

std::string Header(int type, int depth, int descriptor, int width, int height) {
  std::string s(18, '\0');
  s[2] = static_cast<char>(type), s[12] = static_cast<char>(width), s[14] = static_cast<char>(height);
  s[16] = static_cast<char>(depth), s[17] = static_cast<char>(descriptor);
  return s;
}

}  // namespace

std::vector<Seed> Seeds() {
  std::vector<Seed> seeds;
  for (TPGBitCount format : {pgbc8, pgbc24}) {
    TPixelGraphic image;
    image.SetSize(9, 4, format);
    if (format == pgbc8) image.SetPaletteIdent(pGray256);
    for (int x = 0; x < 9; ++x) image.SetPixel(x, x % 4, format == pgbc24 ? 0x203040u * x : 20u * x);
    TMemoryStream stream;
    TTGAFileFormatWriter().Write(&stream, &image);
    seeds.push_back({format == pgbc8 ? "mapped" : "true-colour",
                     std::string(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()))});
  }
  seeds.push_back(
      {"rle24", Header(10, 24, 32, 3, 2) + std::string("\x83\x01\x02\x03\x01\x04\x05\x06\x07\x08\x09", 11)});
  seeds.push_back({"rle-grey", Header(11, 8, 0, 4, 2) + std::string("\x87\x10", 2)});
  seeds.push_back({"sixteen-mirrored", Header(2, 16, 48, 2, 2) + std::string("\xff\x7f\x1f\x00\x00\x7c\xe0\x03", 8)});
  seeds.push_back({"thirty-two", Header(2, 32, 16, 1, 2) + std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8)});
  return seeds;
}

}  // namespace fuzz_seeds
