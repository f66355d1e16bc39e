// The two heavy steps of saving a startup logo: stretching the 640x400 composite into a 320x400
// 8-bit image with error diffusion, and the median cut that makes its palette.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "graphics/median_cut.h"
#include "graphics/palettes.h"

namespace {

// Smooth gradients with some texture, as a photograph or a composed logo has.
void MakePhotoLike(TPixelGraphic& image) {
  image.SetSize(640, 400, pgbc24);
  std::uint32_t seed = 1;
  for (int y = 0; y < 400; ++y) {
    std::uint8_t* p = image.ScanLine(y);
    for (int x = 0; x < 640; ++x, p += 3) {
      seed = seed * 1103515245u + 12345u;
      int noise = static_cast<int>(seed >> 28) - 8;
      p[2] = static_cast<std::uint8_t>(std::clamp(x * 255 / 639 + noise, 0, 255));
      p[1] = static_cast<std::uint8_t>(std::clamp(y * 255 / 399 + noise, 0, 255));
      p[0] = static_cast<std::uint8_t>(std::clamp(((x + y) * 3) % 256 + noise, 0, 255));
    }
  }
}

void StretchCopyDithered(benchmark::State& state) {
  TPixelGraphic source, target;
  MakePhotoLike(source);
  target.SetSize(320, 400, pgbc8);
  MedianCutQuantize(&target, &source, 240, false);
  for (auto _ : state) {
    target.StretchCopy(&source);
    benchmark::DoNotOptimize(target.GetBits());
  }
}

void MedianCut(benchmark::State& state) {
  TPixelGraphic source, target;
  MakePhotoLike(source);
  target.SetSize(320, 400, pgbc8);
  for (auto _ : state) {
    MedianCutQuantize(&target, &source, 256, false);
    benchmark::DoNotOptimize(target.PaletteCount());
  }
}

}  // namespace

BENCHMARK(StretchCopyDithered)->Name("stretch_copy_dither_640x400_to_320x400x8/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(MedianCut)->Name("median_cut_640x400_256/ours")->Unit(benchmark::kMillisecond);
