// Reading a 2000x1500 RGB PackBits TIFF into a 24-bit picture: our reader beside libtiff's
// scanline reader on the same file, which libtiff writes once.
#include <benchmark/benchmark.h>
#include <tiffio.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "graphics/pixel_graphic.h"
#include "graphics/tiff_format.h"

namespace {

constexpr int kWidth = 2000, kHeight = 1500;

// Photograph-like samples: flat areas PackBits runs over, bands and some noise it copies.
std::uint8_t SampleAt(int x, int y, int s) {
  const unsigned noise = static_cast<unsigned>(x * 7919 + y * 104729) * 2654435761u >> 29;
  if ((x / 300 + y / 200) % 3 == 0) return static_cast<std::uint8_t>(17 + 60 * s);
  return static_cast<std::uint8_t>(x / 9 + y / 7 + noise + 40 * s);
}

struct PackBitsFile {
  std::string path =
      (std::filesystem::temp_directory_path() / ("startlogo-bench-" + std::to_string(getpid()) + "-packbits.tif"))
          .string();
  std::string bytes;
  PackBitsFile() {
    TIFF* tif = TIFFOpen(path.c_str(), "w");
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, kWidth);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, kHeight);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_PACKBITS);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 16);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(kWidth) * 3);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x)
        for (int s = 0; s < 3; ++s) row[static_cast<std::size_t>(3 * x + s)] = SampleAt(x, y, s);
      TIFFWriteScanline(tif, row.data(), static_cast<std::uint32_t>(y), 0);
    }
    TIFFClose(tif);
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  ~PackBitsFile() { std::filesystem::remove(path); }
};

const PackBitsFile& File() {
  static const PackBitsFile file;
  return file;
}

void ReadOurs(benchmark::State& state) {
  const PackBitsFile& f = File();
  TMemoryStream stream;
  stream.Write(f.bytes.data(), static_cast<std::int64_t>(f.bytes.size()));
  TPixelGraphic image;
  TTIFFileFormatReader reader;
  for (auto _ : state) {
    stream.SetPosition(0);
    reader.Read(&stream, &image, 0);
    benchmark::DoNotOptimize(image.ScanLine(0));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kWidth * 3 * kHeight);
}

// libtiff's scanlines turned into the picture's BGR rows, as our reader leaves them.
void ReadLibtiff(benchmark::State& state) {
  const PackBitsFile& f = File();
  TPixelGraphic image;
  std::vector<std::uint8_t> row(static_cast<std::size_t>(kWidth) * 3);
  for (auto _ : state) {
    TIFF* tif = TIFFOpen(f.path.c_str(), "r");
    image.SetSize(kWidth, kHeight, pgbc24);
    for (int y = 0; y < kHeight; ++y) {
      TIFFReadScanline(tif, row.data(), static_cast<std::uint32_t>(y), 0);
      std::uint8_t* out = image.ScanLine(y);
      for (int x = 0; x < kWidth; ++x, out += 3) {
        out[0] = row[static_cast<std::size_t>(3 * x + 2)];
        out[1] = row[static_cast<std::size_t>(3 * x + 1)];
        out[2] = row[static_cast<std::size_t>(3 * x)];
      }
    }
    TIFFClose(tif);
    benchmark::DoNotOptimize(image.ScanLine(0));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kWidth * 3 * kHeight);
}

}  // namespace

BENCHMARK(ReadOurs)->Name("tiff_packbits_pixel_graphic_read/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(ReadLibtiff)->Name("tiff_packbits_pixel_graphic_read/libtiff")->Unit(benchmark::kMillisecond);
