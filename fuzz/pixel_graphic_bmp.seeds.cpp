// Bitmaps for the pixel graphics library's reader: our writer's output at each depth, and headers
// it does not write (core, bit fields, run lengths, top-down, the 64-, 108- and 124-byte ones,
// pixels after a gap) made here.
#include <string>

#include "graphics/pixel_graphic.h"
#include "seeds.h"

namespace fuzz_seeds {

namespace {

void Put(std::string& s, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// A file with an information header of the given fields, then Body.
std::string InfoFile(int width, int height, int bits, std::uint32_t compression, std::uint32_t clrUsed,
                     const std::string& body) {
  std::string s = "BM";
  Put(s, static_cast<std::uint32_t>(54 + body.size()), 4), Put(s, 0, 4), Put(s, 54, 4);
  Put(s, 40, 4), Put(s, static_cast<std::uint32_t>(width), 4), Put(s, static_cast<std::uint32_t>(height), 4);
  Put(s, 1, 2), Put(s, static_cast<std::uint32_t>(bits), 2), Put(s, compression, 4);
  Put(s, static_cast<std::uint32_t>(body.size()), 4), Put(s, 0, 4), Put(s, 0, 4), Put(s, clrUsed, 4), Put(s, 0, 4);
  return s + body;
}

// A file with a header of HeaderSize bytes whose masks are its bytes 40 to 51, a colour table,
// Gap spare bytes and the pixels, at the offset the file header gives.
std::string LongerHeaderFile(std::uint32_t headerSize, int width, int bits, std::uint32_t compression,
                             const std::string& masks, const std::string& table, int gap, const std::string& pixels) {
  std::string header;
  Put(header, headerSize, 4), Put(header, static_cast<std::uint32_t>(width), 4), Put(header, 2, 4);
  Put(header, 1, 2), Put(header, static_cast<std::uint32_t>(bits), 2), Put(header, compression, 4);
  Put(header, static_cast<std::uint32_t>(pixels.size()), 4), Put(header, 0, 4), Put(header, 0, 4);
  Put(header, static_cast<std::uint32_t>(table.size() / 4), 4), Put(header, 0, 4);
  header += masks;
  header.resize(headerSize, '\0');
  const std::string body = header + table + std::string(static_cast<std::size_t>(gap), '\0') + pixels;
  std::string s = "BM";
  Put(s, static_cast<std::uint32_t>(14 + body.size()), 4), Put(s, 0, 4);
  Put(s, static_cast<std::uint32_t>(14 + headerSize + table.size() + gap), 4);
  return s + body;
}

std::string Written(TPGBitCount format) {
  TPixelGraphic image;
  image.SetSize(13, 7, format);
  const int entries = image.GetPaletteCapacity();
  if (entries) {
    image.SetPaletteCount(entries);
    for (int i = 0; i < entries; ++i) image.SetPaletteEntry(i, static_cast<TColor>(i * 0x010305));
  }
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 13; ++x)
      image.SetPixel(x, y, static_cast<std::uint32_t>(x * 19 + y * 40) % (entries ? entries : 1 << 24));
  TMemoryStream stream;
  image.SaveToStream(&stream);
  return std::string(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

}  // namespace

std::vector<Seed> Seeds() {
  std::vector<Seed> seeds = {{"mono.bmp", Written(pgbc1)},
                             {"pal4.bmp", Written(pgbc4)},
                             {"pal8.bmp", Written(pgbc8)},
                             {"rgb24.bmp", Written(pgbc24)}};
  std::string palette16;
  for (int i = 0; i < 16; ++i) Put(palette16, static_cast<std::uint32_t>(i * 0x111111), 4);
  seeds.push_back(
      {"rle8.bmp",
       InfoFile(4, 2, 8, 1, 16,
                palette16 + std::string("\x03\x05\x00\x03\x01\x02\x03\x00\x00\x02\x01\x00\x00\x00\x00\x01", 16))});
  seeds.push_back(
      {"rle4.bmp", InfoFile(4, 2, 4, 2, 16, palette16 + std::string("\x03\x12\x00\x00\x00\x04\x12\x34\x00\x01", 10))});
  std::string masks;
  Put(masks, 0xF800, 4), Put(masks, 0x07E0, 4), Put(masks, 0x001F, 4);
  seeds.push_back(
      {"fields16.bmp", InfoFile(2, 2, 16, 3, 0, masks + std::string("\xff\xff\x1f\x00\x00\xf8\xe0\x07", 8))});
  seeds.push_back({"rgb32.bmp", InfoFile(2, -2, 32, 0, 0, std::string(16, '\x40'))});
  std::string core = "BM";
  Put(core, 0, 4), Put(core, 0, 4), Put(core, 0, 4);
  Put(core, 12, 4), Put(core, 3, 2), Put(core, 2, 2), Put(core, 1, 2), Put(core, 1, 2);
  core += std::string("\x00\x00\x00\xff\xff\xff\xa0\x00\x00\x00\x40\x00\x00\x00", 14);
  seeds.push_back({"core1.bmp", core});
  std::string rgba;
  Put(rgba, 0xFF, 4), Put(rgba, 0xFF00, 4), Put(rgba, 0xFF0000, 4);
  seeds.push_back({"v5rgba32.bmp", LongerHeaderFile(124, 2, 32, 3, rgba, "", 0, std::string(16, '\x21'))});
  seeds.push_back({"v4pal8gap.bmp", LongerHeaderFile(108, 3, 8, 0, "", palette16, 6, std::string(8, '\x05'))});
  seeds.push_back({"os2v2pal8.bmp", LongerHeaderFile(64, 3, 8, 0, "", palette16, 0, std::string(8, '\x03'))});
  return seeds;
}

}  // namespace fuzz_seeds
