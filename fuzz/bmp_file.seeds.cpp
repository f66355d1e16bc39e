// Bitmap files written by our own writer at each depth, header kind and compression.
#include <string>

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
  return seeds;
}

}  // namespace fuzz_seeds
