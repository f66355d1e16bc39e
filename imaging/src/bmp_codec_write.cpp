#include <cstring>
#include <memory>
#include <vector>

#include "imaging/bit_routines.h"
#include "imaging/bitmap_rows.h"
#include "imaging/bmp_codec.h"
#include "imaging/conversions.h"
#include "imaging/neuquant.h"
#include "ordered_bands.h"
#include "vcl/system.h"
#include "win32/little_endian.h"

namespace {

std::int32_t PixelsPerMetre(int dpi) { return static_cast<std::int32_t>(Round(dpi / 2.54L * 100)); }

void WritePalette(TStream* stream, const std::vector<TColorTriple>& map, bool core) {
  std::vector<std::uint8_t> bytes;
  for (const TColorTriple& c : map) {
    bytes.insert(bytes.end(), {c.b, c.g, c.r});
    if (!core) bytes.push_back(0);
  }
  stream->WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

// Mapping a pixel to its palette entry weighs every entry: from this many pixels on, helper threads
// share the rows.
constexpr std::int64_t kPixelsForHelpers = std::int64_t{1} << 16;
constexpr int kRowsPerBand = 16;

void Report(const TProgressRec& progress, int done, int height) {
  if (progress) progress.Report(static_cast<int>(Trunc(done * 100.0L / height)));
}

}  // namespace

void BMPWriteStream(TStream* Stream, TBitmap& Bitmap, TVelmoraIOParams& Params, const TProgressRec& Progress) {
  int bits = Params.BitsPerSample == 1 || Params.BitsPerSample == 4 ? Params.BitsPerSample
             : Params.SamplesPerPixel == 1                          ? 8
                                                                    : 24;
  const int width = Bitmap.Width(), height = Bitmap.Height();

  // The 24-bit picture the palette writers read, and for 1 bit the two-colour bitmap.
  std::unique_ptr<TBitmap> expanded;
  if (Bitmap.PixelFormat() == pf1bit && bits != 1) {
    expanded = std::make_unique<TBitmap>();
    ConvertTo24Bit(Bitmap, *expanded);
  } else if (Bitmap.PixelFormat() != pf1bit && Bitmap.PixelFormat() != pf24bit) {
    // Rows of other formats would be read with the wrong length.
    expanded = std::make_unique<TBitmap>();
    CopyBitmap(Bitmap, *expanded);
    expanded->SetPixelFormat(pf24bit);
  }
  TBitmap& source = expanded ? *expanded : Bitmap;
  std::unique_ptr<TBitmap> bilevel;
  std::vector<TColorTriple> twoColours{{0, 0, 0}, {255, 255, 255}};
  if (bits == 1 && Bitmap.PixelFormat() != pf1bit) {
    COLORREF c0 = 0, c1 = 0;
    bilevel = ConvertToBilevel(source, c0, c1);
    if (bilevel)
      twoColours = {{GetBValue(c0), GetGValue(c0), GetRValue(c0)}, {GetBValue(c1), GetGValue(c1), GetRValue(c1)}};
    else
      bits = 24;  // more than two colours
  }
  const bool core = Params.BmpHeaderKind == 2;
  const bool runLength = !core && Params.BmpCompression == 1 && (bits == 4 || bits == 8);
  const std::int64_t stride = RowStride(width, bits);

  const std::int64_t start = Stream->Position();
  std::uint8_t fileHeader[14] = {'B', 'M'};
  Stream->WriteBuffer(fileHeader, 14);
  const int headerSize = core ? 12 : Params.BmpHeaderKind == 3 ? 64 : 40;
  std::uint8_t header[64] = {};
  WriteLE32(header, static_cast<std::uint32_t>(headerSize));
  if (core) {
    WriteLE16(header + 4, static_cast<std::uint32_t>(width));
    WriteLE16(header + 6, static_cast<std::uint32_t>(height));
    WriteLE16(header + 8, 1);
    WriteLE16(header + 10, static_cast<std::uint32_t>(bits));
  } else {
    WriteLE32(header + 4, static_cast<std::uint32_t>(width));
    WriteLE32(header + 8, static_cast<std::uint32_t>(height));
    WriteLE16(header + 12, 1);
    WriteLE16(header + 14, static_cast<std::uint32_t>(bits));
    WriteLE32(header + 16, runLength ? (bits == 4 ? 2 : 1) : 0);
    WriteLE32(header + 24, static_cast<std::uint32_t>(PixelsPerMetre(Params.DpiX)));
    WriteLE32(header + 28, static_cast<std::uint32_t>(PixelsPerMetre(Params.DpiY)));
    // Every palette entry matters: an entry count below the palette would claim animation colours.
    const std::uint32_t paletteSize = bits <= 8 ? 1u << bits : 0;
    WriteLE32(header + 32, paletteSize);
    WriteLE32(header + 36, paletteSize);
  }
  const std::int64_t headerAt = Stream->Position();
  Stream->WriteBuffer(header, headerSize);

  std::int64_t pixelStart = 0;
  std::vector<std::uint8_t> out(static_cast<std::size_t>(std::max<std::int64_t>(stride, 2 * std::int64_t{width} + 4)),
                                0);
  if (bits == 4 || bits == 8) {
    const int colors = 1 << bits;
    Params.ColorMap.assign(static_cast<std::size_t>(colors), {});
    const PixelRows rows = RowsOf(source);
    auto quant = NeuQuantBuild(rows, &Params.ColorMap[0].b, -1, colors);
    WritePalette(Stream, Params.ColorMap, core);
    pixelStart = Stream->Position();
    // Rows are mapped in bands, on helper threads for larger pictures, and written in order.
    const int bands = (height + kRowsPerBand - 1) / kRowsPerBand;
    std::vector<std::uint8_t> indexes(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    auto rowIndexes = [&](int r) { return indexes.data() + static_cast<std::size_t>(width) * r; };
    auto map = [&](int band, unsigned) {
      for (int r = band * kRowsPerBand; r < std::min(height, (band + 1) * kRowsPerBand); ++r) {
        const std::uint8_t* in = rows.Row(height - 1 - r);
        std::uint8_t* to = rowIndexes(r);
        for (int x = 0; x < width; ++x)
          to[x] = static_cast<std::uint8_t>(quant->Index(in[3 * x] | in[3 * x + 1] << 8 | in[3 * x + 2] << 16));
      }
    };
    auto write = [&](int band) {
      for (int r = band * kRowsPerBand; r < std::min(height, (band + 1) * kRowsPerBand); ++r) {
        Report(Progress, r, height);
        const std::uint8_t* row = rowIndexes(r);
        if (runLength) {
          std::size_t n = (bits == 8 ? BMPEncodeRLE8Row : BMPEncodeRLE4Row)(row, width, out.data());
          Stream->WriteBuffer(out.data(), static_cast<std::int64_t>(n));
          continue;
        }
        std::fill(out.begin(), out.end(), 0);
        if (bits == 8) std::memcpy(out.data(), row, static_cast<std::size_t>(width));
        else
          for (int x = 0; x < width; ++x) out[x >> 1] |= static_cast<std::uint8_t>(x & 1 ? row[x] : row[x] << 4);
        Stream->WriteBuffer(out.data(), stride);
      }
    };
    ForEachBand(bands, ThreadsFor(std::int64_t{width} * height, kPixelsForHelpers, bands), map, write);
    if (runLength) Stream->WriteBuffer("\0\1", 2);
  } else if (bits == 1) {
    Params.ColorMap = twoColours;
    WritePalette(Stream, Params.ColorMap, core);
    pixelStart = Stream->Position();
    TBitmap& mono = bilevel ? *bilevel : Bitmap;
    for (int r = 0; r < height; ++r) {
      Report(Progress, r, height);
      Stream->WriteBuffer(RowOf(mono, height - 1 - r), stride);
    }
  } else {
    pixelStart = Stream->Position();
    for (int r = 0; r < height; ++r) {
      Report(Progress, r, height);
      Stream->WriteBuffer(RowOf(source, height - 1 - r), stride);
    }
  }

  const std::int64_t end = Stream->Position();
  WriteLE32(fileHeader + 2, static_cast<std::uint32_t>(end - start));
  WriteLE32(fileHeader + 10, static_cast<std::uint32_t>(pixelStart - start));
  if (!core) WriteLE32(header + 20, static_cast<std::uint32_t>(end - pixelStart));
  Stream->Seek(start, soFromBeginning);
  Stream->WriteBuffer(fileHeader, 14);
  Stream->Seek(headerAt, soFromBeginning);
  Stream->WriteBuffer(header, headerSize);
  Stream->Seek(end, soFromBeginning);
}
