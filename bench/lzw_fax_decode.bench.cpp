// Decoding throughput of the GIF LZW, TIFF LZW and group 4 fax decoders and of the TIFF reader on
// PackBits strips, beside giflib and libtiff on the same files, which those libraries write.
#include <benchmark/benchmark.h>
#include <gif_lib.h>
#include <tiffio.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "imaging/bitmap_rows.h"
#include "imaging/ccitt_fax.h"
#include "imaging/gif_lzw.h"
#include "imaging/tiff_lzw.h"
#include "imaging/tiff_reader.h"

namespace {

constexpr int kWidth = 2000, kHeight = 1500;  // colour and grey pictures
constexpr int kFaxWidth = 2480, kFaxHeight = 3508;  // a page at 300 dpi

// Colour indexes of a photograph-like picture: smooth bands, flat areas and some noise.
std::uint8_t IndexAt(int x, int y) {
  const unsigned noise = static_cast<unsigned>(x * 7919 + y * 104729) * 2654435761u >> 29;
  if ((x / 300 + y / 200) % 3 == 0) return 17;
  return static_cast<std::uint8_t>((x / 9 + y / 7 + noise) & 255);
}

// A page of text-like black marks on white: lines of short strokes.
bool BlackAt(int x, int y) {
  if (y % 60 >= 36 || x < 150 || x >= kFaxWidth - 150) return false;
  const int letter = x / 24, stroke = (x % 24) / 3;
  return (letter * 37 + y / 4 + stroke * 11) % 7 < 2 && x % 24 < 18;
}

std::string TempPath(const char* name) {
  return (std::filesystem::temp_directory_path() /
          (std::string("startlogo-bench-") + std::to_string(getpid()) + "-" + name))
      .string();
}

// --- GIF: one image written by giflib into memory.

int AppendToVector(GifFileType* gif, const GifByteType* bytes, int count) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
  out->insert(out->end(), bytes, bytes + count);
  return count;
}

const std::vector<std::uint8_t>& GifFile() {
  static const std::vector<std::uint8_t> file = [] {
    std::vector<std::uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, AppendToVector, &error);
    std::vector<GifColorType> colours(256);
    for (int i = 0; i < 256; ++i)
      colours[static_cast<std::size_t>(i)] = {static_cast<GifByteType>(i), static_cast<GifByteType>(255 - i),
                                              static_cast<GifByteType>(i * 7)};
    ColorMapObject* map = GifMakeMapObject(256, colours.data());
    EGifPutScreenDesc(gif, kWidth, kHeight, 8, 0, map);
    EGifPutImageDesc(gif, 0, 0, kWidth, kHeight, false, nullptr);
    std::vector<GifPixelType> line(kWidth);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) line[static_cast<std::size_t>(x)] = IndexAt(x, y);
      EGifPutLine(gif, line.data(), kWidth);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
  }();
  return file;
}

// Where the image data starts: after the screen, its table and the image descriptor.
constexpr std::int64_t kGifDataOffset = 13 + 768 + 10;

void GifLzwOurs(benchmark::State& state) {
  const std::vector<std::uint8_t>& file = GifFile();
  TMemoryStream stream;
  stream.Write(file.data(), static_cast<std::int64_t>(file.size()));
  std::vector<std::uint8_t> indexes(static_cast<std::size_t>(kWidth) * kHeight);
  for (auto _ : state) {
    stream.SetPosition(kGifDataOffset);
    GifLzwDecode(&stream, kHeight, kWidth, false, indexes.data());
    benchmark::DoNotOptimize(indexes.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kWidth * kHeight);
}

struct MemoryReader {
  const std::vector<std::uint8_t>* bytes;
  std::size_t at = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int count) {
  auto* r = static_cast<MemoryReader*>(gif->UserData);
  const std::size_t n = std::min(static_cast<std::size_t>(count), r->bytes->size() - r->at);
  std::memcpy(out, r->bytes->data() + r->at, n);
  r->at += n;
  return static_cast<int>(n);
}

void GifLzwGiflib(benchmark::State& state) {
  const std::vector<std::uint8_t>& file = GifFile();
  std::vector<GifPixelType> indexes(static_cast<std::size_t>(kWidth) * kHeight);
  for (auto _ : state) {
    MemoryReader reader{&file};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, ReadFromMemory, &error);
    GifRecordType record;
    while (DGifGetRecordType(gif, &record) == GIF_OK && record != IMAGE_DESC_RECORD_TYPE) {
    }
    DGifGetImageDesc(gif);
    for (int y = 0; y < kHeight; ++y) DGifGetLine(gif, indexes.data() + static_cast<std::size_t>(y) * kWidth, kWidth);
    DGifCloseFile(gif, &error);
    benchmark::DoNotOptimize(indexes.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kWidth * kHeight);
}

// --- TIFF: files written by libtiff; our decoders run on the strips as the reader hands them.

struct TiffFile {
  std::string path;
  std::vector<std::uint8_t> bytes;
  std::vector<std::pair<std::uint64_t, std::uint64_t>> strips;  // offset, byte count
  int rowsPerStrip = 0;
};

// An 8-bit picture of `samples` samples, or a bilevel page, in the given compression.
TiffFile WriteTiff(const char* name, int compression, int samples, bool bilevel) {
  TiffFile f{TempPath(name), {}, {}, bilevel ? kFaxHeight : 16};
  const int width = bilevel ? kFaxWidth : kWidth, height = bilevel ? kFaxHeight : kHeight;
  TIFF* tif = TIFFOpen(f.path.c_str(), "w");
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, bilevel ? 1 : 8);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, samples);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC,
               bilevel        ? PHOTOMETRIC_MINISWHITE
               : samples == 3 ? PHOTOMETRIC_RGB
                              : PHOTOMETRIC_MINISBLACK);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, f.rowsPerStrip);
  std::vector<std::uint8_t> row(static_cast<std::size_t>(bilevel ? (width + 7) / 8 : width * samples));
  for (int y = 0; y < height; ++y) {
    std::fill(row.begin(), row.end(), 0);
    for (int x = 0; x < width; ++x) {
      if (bilevel) {
        if (BlackAt(x, y)) row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        continue;
      }
      for (int s = 0; s < samples; ++s)
        row[static_cast<std::size_t>(x * samples + s)] = static_cast<std::uint8_t>(IndexAt(x, y) + 40 * s);
    }
    TIFFWriteScanline(tif, row.data(), static_cast<std::uint32_t>(y), 0);
  }
  TIFFClose(tif);
  FILE* in = std::fopen(f.path.c_str(), "rb");
  f.bytes.resize(std::filesystem::file_size(f.path));
  if (std::fread(f.bytes.data(), 1, f.bytes.size(), in) != f.bytes.size()) f.bytes.clear();
  std::fclose(in);
  tif = TIFFOpen(f.path.c_str(), "r");
  for (tstrip_t s = 0; s < TIFFNumberOfStrips(tif); ++s)
    f.strips.push_back({TIFFGetStrileOffset(tif, s), TIFFGetStrileByteCount(tif, s)});
  TIFFClose(tif);
  return f;
}

struct TiffFiles {
  TiffFile lzw = WriteTiff("lzw.tif", COMPRESSION_LZW, 3, false);
  TiffFile g4 = WriteTiff("g4.tif", COMPRESSION_CCITTFAX4, 1, true);
  TiffFile packbits = WriteTiff("packbits.tif", COMPRESSION_PACKBITS, 3, false);
  ~TiffFiles() {
    for (const TiffFile* f : {&lzw, &g4, &packbits}) std::filesystem::remove(f->path);
  }
};

const TiffFiles& Tiffs() {
  static const TiffFiles files;
  return files;
}

// Every strip of the file through libtiff's own decoder.
void LibtiffStrips(benchmark::State& state, const TiffFile& f, std::int64_t bytesPerIteration) {
  TIFF* tif = TIFFOpen(f.path.c_str(), "r");
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(TIFFStripSize(tif)));
  for (auto _ : state) {
    for (tstrip_t s = 0; s < TIFFNumberOfStrips(tif); ++s)
      TIFFReadEncodedStrip(tif, s, buffer.data(), static_cast<tmsize_t>(buffer.size()));
    benchmark::DoNotOptimize(buffer.data());
  }
  TIFFClose(tif);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * bytesPerIteration);
}

void TiffLzwOurs(benchmark::State& state) {
  const TiffFile& f = Tiffs().lzw;
  const int rowBytes = kWidth * 3;
  std::vector<std::uint8_t> row(static_cast<std::size_t>(rowBytes));
  for (auto _ : state) {
    int y = 0;
    for (auto [offset, count] : f.strips) {
      void* lzw = nullptr;
      const std::uint8_t* data = f.bytes.data() + offset;
      for (int r = 0; r < f.rowsPerStrip && y < kHeight; ++r, ++y)
        std::memcpy(row.data(), TiffLzwDecode(data, count, rowBytes, lzw), row.size());
      TiffLzwDecode(nullptr, 0, 0, lzw);
    }
    benchmark::DoNotOptimize(row.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * rowBytes * kHeight);
}

void TiffLzwLibtiff(benchmark::State& state) { LibtiffStrips(state, Tiffs().lzw, std::int64_t{kWidth} * 3 * kHeight); }

void FaxG4Ours(benchmark::State& state) {
  const TiffFile& f = Tiffs().g4;
  const std::size_t rowBytes = (kFaxWidth + 7) / 8;
  std::vector<std::uint8_t> page(rowBytes * kFaxHeight);
  for (auto _ : state) {
    for (auto [offset, count] : f.strips) {
      const FaxStrip strip{f.bytes.data() + offset, count, 1};
      FaxReference reference;
      std::int64_t bit = 0;
      for (int y = 0; y < kFaxHeight; ++y)
        bit = DecodeFaxRow2D(page.data() + rowBytes * y, strip, kFaxWidth, bit, reference);
    }
    benchmark::DoNotOptimize(page.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * std::int64_t{kFaxWidth} * kFaxHeight / 8);
}

void FaxG4Libtiff(benchmark::State& state) {
  LibtiffStrips(state, Tiffs().g4, std::int64_t{kFaxWidth} * kFaxHeight / 8);
}

// PackBits is decoded inside our TIFF reader, so both rows read the whole file into 24-bit rows.
void PackBitsOurs(benchmark::State& state) {
  const TiffFile& f = Tiffs().packbits;
  TMemoryStream stream;
  stream.Write(f.bytes.data(), static_cast<std::int64_t>(f.bytes.size()));
  TBitmap bitmap;
  for (auto _ : state) {
    stream.SetPosition(0);
    TVelmoraIOParams params(nullptr);
    int count = 0;
    TIFFReadStream(bitmap, &stream, count, {}, params);
    benchmark::DoNotOptimize(RowOf(bitmap, 0));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kWidth * 3 * kHeight);
}

void PackBitsLibtiff(benchmark::State& state) {
  const TiffFile& f = Tiffs().packbits;
  TBitmap bitmap;
  std::vector<std::uint8_t> row(static_cast<std::size_t>(kWidth) * 3);
  for (auto _ : state) {
    TIFF* tif = TIFFOpen(f.path.c_str(), "r");
    Reshape(bitmap, pf24bit, kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
      TIFFReadScanline(tif, row.data(), static_cast<std::uint32_t>(y), 0);
      std::uint8_t* out = RowOf(bitmap, y);
      for (int x = 0; x < kWidth; ++x, out += 3) {
        out[0] = row[static_cast<std::size_t>(3 * x + 2)];
        out[1] = row[static_cast<std::size_t>(3 * x + 1)];
        out[2] = row[static_cast<std::size_t>(3 * x)];
      }
    }
    TIFFClose(tif);
    benchmark::DoNotOptimize(RowOf(bitmap, 0));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kWidth * 3 * kHeight);
}

}  // namespace

BENCHMARK(GifLzwOurs)->Name("gif_lzw_decode/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(GifLzwGiflib)->Name("gif_lzw_decode/giflib")->Unit(benchmark::kMillisecond);
BENCHMARK(TiffLzwOurs)->Name("tiff_lzw_decode/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(TiffLzwLibtiff)->Name("tiff_lzw_decode/libtiff")->Unit(benchmark::kMillisecond);
BENCHMARK(FaxG4Ours)->Name("fax_g4_decode/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(FaxG4Libtiff)->Name("fax_g4_decode/libtiff")->Unit(benchmark::kMillisecond);
BENCHMARK(PackBitsOurs)->Name("tiff_packbits_read/ours")->Unit(benchmark::kMillisecond);
BENCHMARK(PackBitsLibtiff)->Name("tiff_packbits_read/libtiff")->Unit(benchmark::kMillisecond);
