// Bitmap files written by our own writer at each depth, header kind and compression, and the
// 16- and 32-bit ones with bit fields it does not write, after the 40-byte header and inside the
// 124-byte one.
#include <string>

#include "bmp_file_builder.h"
#include "imaging/bitmap_rows.h"
#include "imaging/bmp_codec.h"
#include "seeds.h"

namespace fuzz_seeds {

std::vector<Seed> Seeds() {
  TBitmap picture;
  Reshape(picture, pf24bit, 13, 7);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 13 * 3; ++x) RowOf(picture, y)[x] = static_cast<std::uint8_t>(x * 19 + y * 40);
  struct Kind {
    const char* name;
    int bits, samples, header, compression;
  };
  const Kind kinds[] = {{"rgb24", 8, 3, 1, 0}, {"pal8", 8, 1, 1, 0},  {"rle8", 8, 1, 1, 1}, {"pal4", 4, 1, 1, 0},
                        {"rle4", 4, 1, 1, 1},  {"core8", 8, 1, 2, 0}, {"v64", 8, 1, 3, 0},  {"mono", 1, 1, 1, 0}};
  std::vector<Seed> seeds;
  for (const Kind& k : kinds) {
    TVelmoraIOParams params(nullptr);
    params.BitsPerSample = k.bits;
    params.SamplesPerPixel = k.samples;
    params.BmpHeaderKind = static_cast<std::uint8_t>(k.header);
    params.BmpCompression = static_cast<std::uint8_t>(k.compression);
    TMemoryStream stream;
    BMPWriteStream(&stream, picture, params, {});
    seeds.push_back({std::string(k.name) + ".bmp",
                     std::string(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()))});
  }
  auto fields16 = BmpFileBuilder::Info(3, 2, 16, 3, 0, 0);
  fields16.U32(0xF800).U32(0x07E0).U32(0x001F).PixelsHere().Bytes({0x10, 0x84, 0xFF, 0xFF, 0x1F, 0, 0, 0});
  fields16.Bytes({0xE0, 0x07, 0, 0xF8, 0, 0, 0, 0});
  auto v5rgba = BmpFileBuilder::Info(2, 2, 32, 3, 0, 0, 124);
  v5rgba.Set32(54, 0xFF).Set32(58, 0xFF00).Set32(62, 0xFF0000).PixelsHere();
  for (int i = 0; i < 16; ++i) v5rgba.U8(static_cast<std::uint32_t>(i * 17));
  for (BmpFileBuilder* b : {&fields16, &v5rgba})
    seeds.push_back({b == &fields16 ? "fields16.bmp" : "v5rgba32.bmp", std::string(b->bytes.begin(), b->bytes.end())});
  return seeds;
}

}  // namespace fuzz_seeds
