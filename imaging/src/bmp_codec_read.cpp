#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "formats/bmp_names.h"
#include "imaging/bit_routines.h"
#include "imaging/bitmap_rows.h"
#include "imaging/bmp_codec.h"
#include "imaging/screen_dpi.h"
#include "vcl/graphics_images.h"
#include "vcl/system.h"
#include "win32/little_endian.h"

namespace {

const char kUnrecognized[] = "unrecognized BMP";

// Reads what the stream has, leaving the rest of the buffer as it was (zeros).
void ReadSome(TStream* stream, void* buffer, std::int64_t count) {
  if (count > 0) stream->Read(buffer, count);
}

int DpiFrom(std::int32_t pixelsPerMetre, int screenDpi) {
  auto dpi = static_cast<int>(Round(pixelsPerMetre / 100.0L * 2.54L));
  return dpi == 0 ? screenDpi : dpi;
}

struct FileFormat {
  std::int64_t width = 0, height = 0;
  bool topDown = false;
  int bits = 0;
  std::uint32_t headerSize = 0;
  std::uint32_t compression = 0;
  std::uint32_t imageSize = 0;
  std::int64_t colors = 0;  // palette entries the file holds
  int paletteEntryBytes = 4;
  bmp::Masks masks{};  // of 16- and 32-bit pixels

  bool RunLength() const { return (compression == 1 || compression == 2) && headerSize != 12; }
};

// Rows of the file in file order map to these bitmap rows.
int BitmapRow(const FileFormat& f, std::int64_t fileRow) {
  return static_cast<int>(f.topDown ? fileRow : f.height - 1 - fileRow);
}

void Report(const TProgressRec& progress, std::int64_t done, std::int64_t height) {
  if (progress) progress.Report(static_cast<int>(Trunc(done * 100.0L / height)));
}

void PutTriple(std::uint8_t* p, const TColorTriple& c) {
  p[0] = c.b;
  p[1] = c.g;
  p[2] = c.r;
}

void ReadCoreHeader(TStream* Stream, FileFormat& f, TVelmoraIOParams& Params) {
  std::uint8_t core[12] = {};
  ReadSome(Stream, core, 12);
  Params.BmpHeaderKind = 2;
  f.width = ReadLE16(core + 4);
  f.height = ReadLE16(core + 6);
  f.bits = ReadLE16(core + 10);
  Params.DpiX = ScreenDpiX();
  Params.DpiY = ScreenDpiY();
  if (f.bits <= 8) f.colors = std::int64_t{1} << f.bits;
  f.paletteEntryBytes = 3;
}

// Bit fields' masks follow the 40-byte header and lie inside the later ones; OS/2 2.x's
// compression 3 is Huffman coding.
bool HasBitFields(const FileFormat& f) {
  const std::uint32_t masksEnd = bmp::kMasksOffset + bmp::kMasksBytes;
  return f.compression == bmp::kBitFields &&
         (f.headerSize == bmp::kInfoHeaderSize || (f.headerSize >= masksEnd && f.headerSize != bmp::kOs2HeaderSize));
}

// The info header and its later versions, whose fields past the first 64 bytes are skipped.
void ReadInfoHeader(TStream* Stream, std::int64_t start, FileFormat& f, TVelmoraIOParams& Params) {
  std::uint8_t info[64] = {};
  ReadSome(Stream, info, std::min<std::uint32_t>(64, f.headerSize));
  if (f.headerSize > 64) Stream->Seek(start + 14 + std::int64_t{f.headerSize}, soFromBeginning);
  Params.BmpHeaderKind = f.headerSize == 64 ? 3 : f.headerSize == 40 ? 1 : 0;
  f.width = static_cast<std::int32_t>(ReadLE32(info + 4));
  f.height = static_cast<std::int32_t>(ReadLE32(info + 8));
  f.bits = ReadLE16(info + 14);
  f.compression = ReadLE32(info + 16);
  f.imageSize = ReadLE32(info + 20);
  Params.DpiX = DpiFrom(static_cast<std::int32_t>(ReadLE32(info + 24)), ScreenDpiX());
  Params.DpiY = DpiFrom(static_cast<std::int32_t>(ReadLE32(info + 28)), ScreenDpiY());
  f.colors = ReadLE32(info + 32);
  f.masks = f.bits == 16 ? bmp::kDefault16 : bmp::kDefault32;
  if (HasBitFields(f)) {
    if (f.headerSize == bmp::kInfoHeaderSize) ReadSome(Stream, info + bmp::kMasksOffset, bmp::kMasksBytes);
    const std::uint8_t* m = info + bmp::kMasksOffset;
    f.masks = {ReadLE32(m), ReadLE32(m + 4), ReadLE32(m + 8)};
  }
  if (f.colors == 0 && f.bits <= 8) f.colors = std::int64_t{1} << f.bits;
  if (f.height < 0) {
    f.height = -f.height;
    f.topDown = true;
  }
}

FileFormat ReadHeader(TStream* Stream, std::int64_t start, TVelmoraIOParams& Params) {
  std::uint8_t sizeField[4] = {};
  ReadSome(Stream, sizeField, 4);
  Stream->Seek(-4, soFromCurrent);
  FileFormat f;
  f.headerSize = ReadLE32(sizeField);
  Params.FreeColorMap();
  if (f.headerSize == 12) ReadCoreHeader(Stream, f, Params);
  else
    ReadInfoHeader(Stream, start, f, Params);
  // Top-down files cannot be run-length compressed.
  if (f.width < 1 || f.height < 1 || (f.topDown && f.RunLength())) throw EInvalidGraphic(kUnrecognized);
  return f;
}

// Only 256 entries can be indexed; a longer table is skipped.
void ReadPalette(TStream* Stream, const FileFormat& f, std::int64_t streamLeft, TVelmoraIOParams& Params) {
  const std::int64_t kept = std::min<std::int64_t>(f.colors, 256);
  if (kept <= 0) return;
  std::vector<std::uint8_t> raw(static_cast<std::size_t>(kept * f.paletteEntryBytes), 0);
  ReadSome(Stream, raw.data(), static_cast<std::int64_t>(raw.size()));
  Params.ColorMap.resize(static_cast<std::size_t>(kept));
  for (std::int64_t i = 0; i < kept; ++i) {
    const std::uint8_t* e = &raw[static_cast<std::size_t>(i * f.paletteEntryBytes)];
    Params.ColorMap[static_cast<std::size_t>(i)] = {e[0], e[1], e[2]};
  }
  if (f.colors > kept) Stream->Seek(std::min((f.colors - kept) * f.paletteEntryBytes, streamLeft), soFromCurrent);
}

// What the pixel rows are read with.
struct Pixels {
  TStream* stream;
  const FileFormat& f;
  std::int64_t dataSize;
  const TProgressRec& progress;
  TBitmap& bitmap;
  bool twoColourCopy;
};

void ReadRunLength(const Pixels& px, const std::array<TColorTriple, 256>& table) {
  const FileFormat& f = px.f;
  if (!((f.bits == 8 && f.compression == 1) || (f.bits == 4 && f.compression == 2))) return;
  std::vector<std::uint8_t> data(static_cast<std::size_t>(px.dataSize), 0);
  ReadSome(px.stream, data.data(), px.dataSize);
  (f.bits == 8 ? BMPDecodeRLE8 : BMPDecodeRLE4)(px.bitmap, data.data(), data.size(), px.progress, table.data());
}

void ReadIndexedRows(const Pixels& px, const std::array<TColorTriple, 256>& table) {
  const FileFormat& f = px.f;
  const std::int64_t stride = RowStride(f.width, f.bits);
  const int width = static_cast<int>(f.width);
  const PixelRows rows = RowsOf(px.bitmap);
  std::vector<std::uint8_t> data(static_cast<std::size_t>(stride * f.height), 0);
  ReadSome(px.stream, data.data(), std::min<std::int64_t>(px.dataSize, static_cast<std::int64_t>(data.size())));
  for (std::int64_t r = 0; r < f.height; ++r) {
    Report(px.progress, r, f.height);
    const std::uint8_t* in = &data[static_cast<std::size_t>(r * stride)];
    std::uint8_t* out = rows.Row(BitmapRow(f, r));
    if (px.twoColourCopy) {
      std::memcpy(out, in, static_cast<std::size_t>(stride));
      continue;
    }
    for (int x = 0; x < width; ++x) {
      int index = f.bits == 8   ? in[x]
                  : f.bits == 4 ? (x & 1 ? in[x >> 1] & 15 : in[x >> 1] >> 4)
                                : (in[x >> 3] >> (7 - (x & 7))) & 1;
      PutTriple(out + 3 * x, table[index]);
    }
  }
}

// 1, 4 and 8 bits a pixel through the palette; indexes beyond the file's palette read black.
void ReadIndexed(const Pixels& px, TVelmoraIOParams& Params) {
  Params.BitsPerSample = px.f.bits;
  Params.SamplesPerPixel = 1;
  std::array<TColorTriple, 256> table{};
  std::copy(Params.ColorMap.begin(), Params.ColorMap.end(), table.begin());
  if (px.f.RunLength()) ReadRunLength(px, table);
  else if (px.f.compression == 0)
    ReadIndexedRows(px, table);
}

// A 16- or 32-bit row of the file into a 24-bit bitmap row, each channel through its mask.
void SpreadDirectRow(const std::uint8_t* row, int bits, int width, const bmp::Masks& masks, std::uint8_t* out) {
  for (int x = 0; x < width; ++x) {
    const std::size_t at = static_cast<std::size_t>(x) * (bits / 8);
    const std::uint32_t v = bits == 32 ? ReadLE32(&row[at]) : ReadLE16(&row[at]);
    out[3 * x] = static_cast<std::uint8_t>(bmp::Channel(v, masks.blue, false));
    out[3 * x + 1] = static_cast<std::uint8_t>(bmp::Channel(v, masks.green, false));
    out[3 * x + 2] = static_cast<std::uint8_t>(bmp::Channel(v, masks.red, false));
  }
}

// 16, 24 and 32 bits a pixel.
void ReadDirect(const Pixels& px, TVelmoraIOParams& Params) {
  const FileFormat& f = px.f;
  Params.BitsPerSample = f.bits == 16 ? 5 : 8;
  Params.SamplesPerPixel = 3;
  const std::int64_t stride = RowStride(f.width, f.bits);
  const PixelRows rows = RowsOf(px.bitmap);
  std::vector<std::uint8_t> row(f.bits == 24 ? 0 : static_cast<std::size_t>(stride), 0);
  for (std::int64_t r = 0; r < f.height; ++r) {
    Report(px.progress, r, f.height);
    std::uint8_t* out = rows.Row(BitmapRow(f, r));
    if (f.bits == 24) {  // straight into the bitmap, whose rows have the file's stride
      ReadSome(px.stream, out, stride);
      continue;
    }
    std::fill(row.begin(), row.end(), 0);
    ReadSome(px.stream, row.data(), stride);
    SpreadDirectRow(row.data(), f.bits, static_cast<int>(f.width), f.masks, out);
  }
}

}  // namespace

void BMPReadStream(TStream* Stream, TBitmap& Bitmap, std::int64_t Size, const TProgressRec& Progress,
                   TVelmoraIOParams& Params) {
  const std::int64_t start = Stream->Position();
  const std::int64_t streamLeft = std::max<std::int64_t>(Stream->Size() - start, 0);
  std::uint8_t fileHeader[14] = {};
  if (Stream->Read(fileHeader, 14) != 14 || ReadLE16(fileHeader) != 19778) throw EInvalidGraphic(kUnrecognized);
  const std::uint32_t fileSize = ReadLE32(fileHeader + 2), pixelOffset = ReadLE32(fileHeader + 10);
  if (Size < 1 && fileSize != 0) Size = fileSize;
  // Nothing beyond the stream can be read, whatever the headers claim.
  Size = Size < 1 ? streamLeft : std::min(Size, streamLeft);

  const FileFormat f = ReadHeader(Stream, start, Params);
  ReadPalette(Stream, f, streamLeft, Params);
  // A core header has no compression field: its files are uncompressed.
  if (f.compression == 0 || f.compression == 3) Params.BmpCompression = 0;
  if (f.RunLength()) Params.BmpCompression = 1;

  if (pixelOffset != 0) Stream->Seek(start + pixelOffset, soFromBeginning);
  const std::int64_t position = Stream->Position();
  std::int64_t dataSize = Size > 0 ? Size - (position - start) : f.imageSize;
  dataSize = std::clamp<std::int64_t>(dataSize, 0, std::max<std::int64_t>(Stream->Size() - position, 0));

  // The picture must fit the library and be describable by the data the file holds (run-length
  // data gives at most 255 pixels for two bytes); missing bytes of a truncated file read as zeros.
  const std::int64_t pixels = f.width * f.height;
  if (!FitsBitmap(f.width, f.height, 24) || pixels > 256 * std::max<std::int64_t>(dataSize, 1))
    throw EInvalidGraphic(kUnrecognized);

  Params.Width = static_cast<std::int32_t>(f.width);
  Params.Height = static_cast<std::int32_t>(f.height);
  const bool twoColourCopy = f.bits == 1 && f.compression == 0 &&
                             StartsBlackAndWhite(Params.ColorMap.data(), Params.ColorMap.size());
  Reshape(Bitmap, twoColourCopy ? pf1bit : pf24bit, static_cast<int>(f.width), static_cast<int>(f.height));
  const Pixels px{Stream, f, dataSize, Progress, Bitmap, twoColourCopy};
  if (f.bits == 1 || f.bits == 4 || f.bits == 8) ReadIndexed(px, Params);
  else if (f.bits == 16 || f.bits == 24 || f.bits == 32)
    ReadDirect(px, Params);
}
