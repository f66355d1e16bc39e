// The pixel graphics library's JPEG reader on a 4000x3000 colour picture in memory, beside libjpeg
// decoding the same bytes on its own. The whole-process rows beside ImageMagick are in
// compare/jpeg_codec.sh.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "graphics/jpeg_format.h"
#include "graphics/pixel_graphic.h"
#include "pixel_graphic_reading.h"

#include <jpeglib.h>

namespace {

std::string PhotoFile() {
  TPixelGraphic image;
  image.SetSize(4000, 3000, pgbc24);
  for (int y = 0; y < 3000; ++y) {
    std::uint8_t* p = image.ScanLine(y);
    for (int x = 0; x < 4000; ++x, p += 3) {
      p[0] = static_cast<std::uint8_t>((x * 7 + y) / 16);
      p[1] = static_cast<std::uint8_t>((x ^ y) / 8);
      p[2] = static_cast<std::uint8_t>(y * 3 / 32);
    }
  }
  TMemoryStream stream;
  TJPGFileFormatWriter().Write(&stream, &image);
  return std::string(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

void Ours(benchmark::State& state) { ReadEachIteration(state, PhotoFile()); }

void LibJpeg(benchmark::State& state) {
  const std::string file = PhotoFile();
  std::vector<unsigned char> pixels(4000u * 3000u * 3u);
  for (auto _ : state) {
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(file.data()), file.size());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
      JSAMPROW row = pixels.data() + static_cast<std::size_t>(info.output_scanline) * 12000u;
      jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    benchmark::DoNotOptimize(pixels.data());
  }
}

}  // namespace

BENCHMARK(Ours)->Name("jpeg_read_4000x3000_memory/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(LibJpeg)->Name("jpeg_read_4000x3000_memory/libjpeg")->Unit(benchmark::kMillisecond);
