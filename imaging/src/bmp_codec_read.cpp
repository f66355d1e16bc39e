#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

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
  std::uint32_t compression = 0;
  std::uint32_t imageSize = 0;
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

  std::uint8_t sizeField[4] = {};
  ReadSome(Stream, sizeField, 4);
  Stream->Seek(-4, soFromCurrent);
  const std::uint32_t headerSize = ReadLE32(sizeField);
  Params.FreeColorMap();

  FileFormat f;
  std::int64_t colors = 0;
  int paletteEntryBytes = 4;
  if (headerSize == 12) {
    std::uint8_t core[12] = {};
    ReadSome(Stream, core, 12);
    Params.BmpHeaderKind = 2;
    f.width = ReadLE16(core + 4);
    f.height = ReadLE16(core + 6);
    f.bits = ReadLE16(core + 10);
    Params.DpiX = ScreenDpiX();
    Params.DpiY = ScreenDpiY();
    if (f.bits <= 8) colors = std::int64_t{1} << f.bits;
    paletteEntryBytes = 3;
  } else {
    std::uint8_t info[64] = {};
    ReadSome(Stream, info, std::min<std::uint32_t>(64, headerSize));
    if (headerSize > 64) Stream->Seek(start + 14 + std::int64_t{headerSize}, soFromBeginning);
    Params.BmpHeaderKind = headerSize == 64 ? 3 : headerSize == 40 ? 1 : 0;
    f.width = static_cast<std::int32_t>(ReadLE32(info + 4));
    f.height = static_cast<std::int32_t>(ReadLE32(info + 8));
    f.bits = ReadLE16(info + 14);
    f.compression = ReadLE32(info + 16);
    f.imageSize = ReadLE32(info + 20);
    Params.DpiX = DpiFrom(static_cast<std::int32_t>(ReadLE32(info + 24)), ScreenDpiX());
    Params.DpiY = DpiFrom(static_cast<std::int32_t>(ReadLE32(info + 28)), ScreenDpiY());
    colors = ReadLE32(info + 32);
    if (colors == 0 && f.bits <= 8) colors = std::int64_t{1} << f.bits;
    if (f.height < 0) {
      f.height = -f.height;
      f.topDown = true;
    }
  }
  // Top-down files cannot be run-length compressed.
  const bool runLength = (f.compression == 1 || f.compression == 2) && headerSize != 12;
  if (f.width < 1 || f.height < 1 || (f.topDown && runLength)) throw EInvalidGraphic(kUnrecognized);

  // Only 256 entries can be indexed; a longer table is skipped.
  const std::int64_t kept = std::min<std::int64_t>(colors, 256);
  if (kept > 0) {
    std::vector<std::uint8_t> raw(static_cast<std::size_t>(kept * paletteEntryBytes), 0);
    ReadSome(Stream, raw.data(), static_cast<std::int64_t>(raw.size()));
    Params.ColorMap.resize(static_cast<std::size_t>(kept));
    for (std::int64_t i = 0; i < kept; ++i) {
      const std::uint8_t* e = &raw[static_cast<std::size_t>(i * paletteEntryBytes)];
      Params.ColorMap[static_cast<std::size_t>(i)] = {e[0], e[1], e[2]};
    }
    if (colors > kept) Stream->Seek(std::min((colors - kept) * paletteEntryBytes, streamLeft), soFromCurrent);
  }
  if (f.compression == 3 && headerSize == 40) Stream->Seek(12, soFromCurrent);  // bit-field masks, not used
  // A core header has no compression field: its files are uncompressed.
  if (f.compression == 0 || f.compression == 3) Params.BmpCompression = 0;
  if (runLength) Params.BmpCompression = 1;

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
  const PixelRows rows = RowsOf(Bitmap);

  std::array<TColorTriple, 256> table{};  // indexes beyond the file's palette read black
  std::copy(Params.ColorMap.begin(), Params.ColorMap.end(), table.begin());
  const std::int64_t stride = RowStride(f.width, f.bits);
  const int width = static_cast<int>(f.width);

  if (f.bits == 1 || f.bits == 4 || f.bits == 8) {
    Params.BitsPerSample = f.bits;
    Params.SamplesPerPixel = 1;
    if (runLength) {
      if ((f.bits == 8 && f.compression == 1) || (f.bits == 4 && f.compression == 2)) {
        std::vector<std::uint8_t> data(static_cast<std::size_t>(dataSize), 0);
        ReadSome(Stream, data.data(), dataSize);
        (f.bits == 8 ? BMPDecodeRLE8 : BMPDecodeRLE4)(Bitmap, data.data(), data.size(), Progress, table.data());
      }
      return;
    }
    if (f.compression != 0) return;
    std::vector<std::uint8_t> data(static_cast<std::size_t>(stride * f.height), 0);
    ReadSome(Stream, data.data(), std::min<std::int64_t>(dataSize, static_cast<std::int64_t>(data.size())));
    for (std::int64_t r = 0; r < f.height; ++r) {
      Report(Progress, r, f.height);
      const std::uint8_t* in = &data[static_cast<std::size_t>(r * stride)];
      std::uint8_t* out = rows.Row(BitmapRow(f, r));
      if (twoColourCopy) {
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
    return;
  }
  if (f.bits != 16 && f.bits != 24 && f.bits != 32) return;
  Params.BitsPerSample = f.bits == 16 ? 5 : 8;
  Params.SamplesPerPixel = 3;
  std::vector<std::uint8_t> row(f.bits == 24 ? 0 : static_cast<std::size_t>(stride), 0);
  for (std::int64_t r = 0; r < f.height; ++r) {
    Report(Progress, r, f.height);
    std::uint8_t* out = rows.Row(BitmapRow(f, r));
    if (f.bits == 24) {  // straight into the bitmap, whose rows have the file's stride
      ReadSome(Stream, out, stride);
      continue;
    }
    std::fill(row.begin(), row.end(), 0);
    ReadSome(Stream, row.data(), stride);
    for (int x = 0; x < width; ++x) {
      if (f.bits == 32) {
        std::memcpy(out + 3 * x, &row[4 * static_cast<std::size_t>(x)], 3);
        continue;
      }
      const std::uint16_t v = ReadLE16(&row[2 * static_cast<std::size_t>(x)]);
      out[3 * x] = static_cast<std::uint8_t>((v & 31) << 3);
      out[3 * x + 1] = static_cast<std::uint8_t>(((v >> 5) & 31) << 3);
      out[3 * x + 2] = static_cast<std::uint8_t>(((v >> 10) & 31) << 3);
    }
  }
}
