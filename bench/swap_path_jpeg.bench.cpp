// The slot manager's swap path from a JPEG file: a 4000x3000 photograph-like JPEG read through
// the JPEG reader, resampled to 320x400 with Lanczos3 and written as the 8-bit logo; beside the
// bitmap-file case of swap_path.bench.cpp.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "imaging/bmp_codec.h"
#include "imaging/jpeg_reader.h"
#include "imaging/velmora_io.h"
#include "imaging/velmora_proc.h"

#include <jpeglib.h>

namespace {

// The picture of the bitmap case, compressed by libjpeg at quality 90.
const std::vector<std::uint8_t>& PhotoJpeg() {
  static const std::vector<std::uint8_t> file = [] {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* memory = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &memory, &size);
    info.image_width = 4000;
    info.image_height = 3000;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(4000 * 3);
    while (info.next_scanline < info.image_height) {
      const int y = static_cast<int>(info.next_scanline);
      for (int x = 0; x < 4000; ++x) {
        row[static_cast<std::size_t>(3 * x + 2)] = static_cast<JSAMPLE>((x / 16 + y / 24) * 3);
        row[static_cast<std::size_t>(3 * x + 1)] = static_cast<JSAMPLE>(y * 255 / 3000);
        row[static_cast<std::size_t>(3 * x)] =
            static_cast<JSAMPLE>(((x / 200 + y / 150) % 2) ? x * 255 / 4000 : 255 - x * 255 / 4000);
      }
      JSAMPROW p = row.data();
      jpeg_write_scanlines(&info, &p, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> out(memory, memory + size);
    std::free(memory);
    return out;
  }();
  return file;
}

void SwapPathJpeg(benchmark::State& state) {
  const std::vector<std::uint8_t>& jpeg = PhotoJpeg();
  TMemoryStream file;
  file.Write(jpeg.data(), static_cast<std::int64_t>(jpeg.size()));
  for (auto _ : state) {
    TVelmoraTarget image(nullptr);
    TVelmoraProc proc(nullptr);
    proc.SetAttachedVelmora(&image);
    proc.AutoUndo = false;
    TVelmoraIOParams params(nullptr);
    file.SetPosition(0);
    JPEGReadStream(&file, image.Bitmap(), params, {});
    proc.Resample(320, 400, 5);
    params.SamplesPerPixel = 1;
    TMemoryStream logo;
    BMPWriteStream(&logo, image.Bitmap(), params, {});
    benchmark::DoNotOptimize(logo.Memory());
  }
}
BENCHMARK(SwapPathJpeg)->Name("swap_path_jpeg/ours")->Unit(benchmark::kMillisecond);

}  // namespace
