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

// What the file holds a pixel in: 1 or 4 bits when asked, 8 for one sample, else 24.
int FileBits(const TVelmoraIOParams& Params) {
  if (Params.BitsPerSample == 1 || Params.BitsPerSample == 4) return Params.BitsPerSample;
  return Params.SamplesPerPixel == 1 ? 8 : 24;
}

// The 24-bit picture the palette writers read, when the bitmap is not one already (none then).
std::unique_ptr<TBitmap> Expanded(TBitmap& Bitmap, int bits) {
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
  return expanded;
}

// The header after the file header; its image size is filled in once the rows are written.
struct InfoHeader {
  std::uint8_t bytes[64] = {};
  int size = 0;

  InfoHeader(int width, int height, int bits, bool runLength, const TVelmoraIOParams& Params)
      : size(Params.BmpHeaderKind == 2   ? 12
             : Params.BmpHeaderKind == 3 ? 64
                                         : 40) {
    WriteLE32(bytes, static_cast<std::uint32_t>(size));
    if (size == 12) {
      WriteLE16(bytes + 4, static_cast<std::uint32_t>(width));
      WriteLE16(bytes + 6, static_cast<std::uint32_t>(height));
      WriteLE16(bytes + 8, 1);
      WriteLE16(bytes + 10, static_cast<std::uint32_t>(bits));
      return;
    }
    WriteLE32(bytes + 4, static_cast<std::uint32_t>(width));
    WriteLE32(bytes + 8, static_cast<std::uint32_t>(height));
    WriteLE16(bytes + 12, 1);
    WriteLE16(bytes + 14, static_cast<std::uint32_t>(bits));
    WriteLE32(bytes + 16, runLength ? (bits == 4 ? 2 : 1) : 0);
    WriteLE32(bytes + 24, static_cast<std::uint32_t>(PixelsPerMetre(Params.DpiX)));
    WriteLE32(bytes + 28, static_cast<std::uint32_t>(PixelsPerMetre(Params.DpiY)));
    // Every palette entry matters: an entry count below the palette would claim animation colours.
    const std::uint32_t paletteSize = bits <= 8 ? 1u << bits : 0;
    WriteLE32(bytes + 32, paletteSize);
    WriteLE32(bytes + 36, paletteSize);
  }
};

// The rows bottom up as they lie in the bitmap, whose rows have the file's stride.
void WriteRows(TStream* Stream, TBitmap& bitmap, int height, std::int64_t stride, const TProgressRec& Progress) {
  for (int r = 0; r < height; ++r) {
    Report(Progress, r, height);
    Stream->WriteBuffer(RowOf(bitmap, height - 1 - r), stride);
  }
}

// 4 or 8 bits through a palette made for the picture, run-length compressed when asked. Rows are
// mapped in bands, on helper threads for larger pictures, and written in order.
class PaletteRows {
 public:
  PaletteRows(TStream* stream, TBitmap& source, int bits, bool runLength, const TProgressRec& progress)
      : stream_(stream),
        rows_(RowsOf(source)),
        width_(source.Width()),
        height_(source.Height()),
        bits_(bits),
        runLength_(runLength),
        stride_(RowStride(width_, bits)),
        progress_(progress),
        indexes_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)),
        out_(static_cast<std::size_t>(std::max<std::int64_t>(stride_, 2 * std::int64_t{width_} + 4)), 0) {}

  // Builds the palette into `map` (2^bits entries) and writes it; the pixel data's start.
  std::int64_t WritePaletteOf(std::vector<TColorTriple>& map, bool core) {
    map.assign(std::size_t{1} << bits_, {});
    quant_ = NeuQuantBuild(rows_, &map[0].b, -1, 1 << bits_);
    WritePalette(stream_, map, core);
    return stream_->Position();
  }

  void Write() {
    const int bands = (height_ + kRowsPerBand - 1) / kRowsPerBand;
    ForEachBand(
        bands, ThreadsFor(std::int64_t{width_} * height_, kPixelsForHelpers, bands),
        [this](int band, unsigned) { MapBand(band); }, [this](int band) { WriteBand(band); });
    if (runLength_) stream_->WriteBuffer("\0\1", 2);
  }

 private:
  std::uint8_t* Indexes(int r) { return indexes_.data() + static_cast<std::size_t>(width_) * r; }
  int BandEnd(int band) const { return std::min(height_, (band + 1) * kRowsPerBand); }

  void MapBand(int band) {
    for (int r = band * kRowsPerBand; r < BandEnd(band); ++r) {
      const std::uint8_t* in = rows_.Row(height_ - 1 - r);
      std::uint8_t* to = Indexes(r);
      for (int x = 0; x < width_; ++x)
        to[x] = static_cast<std::uint8_t>(quant_->Index(in[3 * x] | in[3 * x + 1] << 8 | in[3 * x + 2] << 16));
    }
  }

  void WriteBand(int band) {
    for (int r = band * kRowsPerBand; r < BandEnd(band); ++r) {
      Report(progress_, r, height_);
      const std::uint8_t* row = Indexes(r);
      if (runLength_) {
        std::size_t n = (bits_ == 8 ? BMPEncodeRLE8Row : BMPEncodeRLE4Row)(row, width_, out_.data());
        stream_->WriteBuffer(out_.data(), static_cast<std::int64_t>(n));
        continue;
      }
      std::fill(out_.begin(), out_.end(), 0);
      if (bits_ == 8) std::memcpy(out_.data(), row, static_cast<std::size_t>(width_));
      else
        for (int x = 0; x < width_; ++x) out_[x >> 1] |= static_cast<std::uint8_t>(x & 1 ? row[x] : row[x] << 4);
      stream_->WriteBuffer(out_.data(), stride_);
    }
  }

  TStream* stream_;
  const PixelRows rows_;
  const int width_, height_, bits_;
  const bool runLength_;
  const std::int64_t stride_;
  const TProgressRec& progress_;
  std::unique_ptr<TNeuQuant> quant_;
  std::vector<std::uint8_t> indexes_, out_;
};

}  // namespace

void BMPWriteStream(TStream* Stream, TBitmap& Bitmap, TVelmoraIOParams& Params, const TProgressRec& Progress) {
  int bits = FileBits(Params);
  const int width = Bitmap.Width(), height = Bitmap.Height();
  const std::unique_ptr<TBitmap> expanded = Expanded(Bitmap, bits);
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
  InfoHeader header(width, height, bits, runLength, Params);
  const std::int64_t headerAt = Stream->Position();
  Stream->WriteBuffer(header.bytes, header.size);

  std::int64_t pixelStart = 0;
  if (bits == 4 || bits == 8) {
    PaletteRows rows(Stream, source, bits, runLength, Progress);
    pixelStart = rows.WritePaletteOf(Params.ColorMap, core);
    rows.Write();
  } else if (bits == 1) {
    Params.ColorMap = twoColours;
    WritePalette(Stream, Params.ColorMap, core);
    pixelStart = Stream->Position();
    WriteRows(Stream, bilevel ? *bilevel : Bitmap, height, stride, Progress);
  } else {
    pixelStart = Stream->Position();
    WriteRows(Stream, source, height, stride, Progress);
  }

  const std::int64_t end = Stream->Position();
  WriteLE32(fileHeader + 2, static_cast<std::uint32_t>(end - start));
  WriteLE32(fileHeader + 10, static_cast<std::uint32_t>(pixelStart - start));
  if (!core) WriteLE32(header.bytes + 20, static_cast<std::uint32_t>(end - pixelStart));
  Stream->Seek(start, soFromBeginning);
  Stream->WriteBuffer(fileHeader, 14);
  Stream->Seek(headerAt, soFromBeginning);
  Stream->WriteBuffer(header.bytes, header.size);
  Stream->Seek(end, soFromBeginning);
}
