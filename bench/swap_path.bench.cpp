// The slot manager's swap path on a 4000x3000 photograph-like picture: read the bitmap file,
// resample to 320x400 with Lanczos3, write the 8-bit logo. compare/swap_path.sh times the same
// work as whole processes beside ImageMagick and Pillow.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "imaging/bitmap_rows.h"
#include "imaging/bmp_codec.h"
#include "imaging/velmora_io.h"
#include "imaging/velmora_proc.h"

namespace {

// A 24-bit bitmap file in memory: smooth gradients with hard edges.
TMemoryStream& PhotoFile() {
  static TMemoryStream file;
  static const bool made = [] {
    TBitmap picture;
    Reshape(picture, pf24bit, 4000, 3000);
    for (int y = 0; y < 3000; ++y) {
      std::uint8_t* row = RowOf(picture, y);
      for (int x = 0; x < 4000; ++x) {
        row[3 * x] = static_cast<std::uint8_t>((x / 16 + y / 24) * 3);
        row[3 * x + 1] = static_cast<std::uint8_t>(y * 255 / 3000);
        row[3 * x + 2] = static_cast<std::uint8_t>(((x / 200 + y / 150) % 2) ? x * 255 / 4000 : 255 - x * 255 / 4000);
      }
    }
    TVelmoraIOParams params(nullptr);
    BMPWriteStream(&file, picture, params, {});
    return true;
  }();
  (void)made;
  return file;
}

void SwapPath(benchmark::State& state) {
  TMemoryStream& file = PhotoFile();
  for (auto _ : state) {
    TVelmoraTarget image(nullptr);
    TVelmoraProc proc(nullptr);
    proc.SetAttachedVelmora(&image);
    proc.AutoUndo = false;
    TVelmoraIOParams params(nullptr);
    file.SetPosition(0);
    BMPReadStream(&file, image.Bitmap(), file.Size(), {}, params);
    proc.Resample(320, 400, 5);
    params.SamplesPerPixel = 1;
    TMemoryStream logo;
    BMPWriteStream(&logo, image.Bitmap(), params, {});
    benchmark::DoNotOptimize(logo.Memory());
  }
}
BENCHMARK(SwapPath)->Name("swap_path_bmp/ours")->Unit(benchmark::kMillisecond);

}  // namespace
