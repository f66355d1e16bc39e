// The pixel graphics library's bitmap reader and writer on a 4000x3000 24-bit picture in memory.
// The whole-process rows beside ImageMagick are in compare/bitmap_codec.sh.
#include <benchmark/benchmark.h>

#include <string>

#include "graphics/pixel_graphic.h"
#include "pixel_graphic_reading.h"

namespace {

std::string PhotoFile() {
  TPixelGraphic image;
  image.SetSize(4000, 3000, pgbc24);
  for (int y = 0; y < 3000; ++y) {
    std::uint8_t* p = image.ScanLine(y);
    for (int x = 0; x < 4000; ++x, p += 3) {
      p[0] = static_cast<std::uint8_t>(x * 7 + y);
      p[1] = static_cast<std::uint8_t>(x ^ y);
      p[2] = static_cast<std::uint8_t>(y * 3);
    }
  }
  TMemoryStream stream;
  image.SaveToStream(&stream);
  return std::string(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

void Read(benchmark::State& state) { ReadEachIteration(state, PhotoFile()); }

void Write(benchmark::State& state) {
  const std::string file = PhotoFile();
  TMemoryStream in;
  in.Write(file.data(), static_cast<std::int64_t>(file.size()));
  in.SetPosition(0);
  TPixelGraphic image;
  image.LoadFromStream(&in);
  for (auto _ : state) {
    TMemoryStream out;
    image.SaveToStream(&out);
    benchmark::DoNotOptimize(out.Memory());
  }
}

}  // namespace

BENCHMARK(Read)->Name("bitmap_read_4000x3000_memory/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(Write)->Name("bitmap_write_4000x3000_memory/ours")->Unit(benchmark::kMillisecond);
