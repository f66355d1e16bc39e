#include <algorithm>
#include <array>
#include <vector>

#include "imaging/pcx_reader.h"
#include "imaging/screen_dpi.h"
#include "vcl/graphics_images.h"
#include "vcl/system.h"
#include "win32/little_endian.h"

namespace {

const char kUnrecognized[] = "unrecognized PCX";
// Line bytes one byte of run-length data can stand for: a two-byte run of 63.
constexpr std::int64_t kMaxRunBytesPerByte = 32;
constexpr int kHeaderSize = 128, kPaletteSize = 768;

void ToTriples(const std::uint8_t* rgb, int count, TColorTriple* out) {
  for (int i = 0; i < count; ++i) out[i] = {rgb[3 * i + 2], rgb[3 * i + 1], rgb[3 * i]};
}

// The run-length coded data after the header, a line at a time.
class PcxLines {
 public:
  PcxLines(std::vector<std::uint8_t> data, int encoding, int bytesPerLine)
      : data_(std::move(data)),
        encoding_(encoding),
        bytesPerLine_(bytesPerLine),
        line_(2 * static_cast<std::size_t>(bytesPerLine) + 8) {}

  // The next line; false when the data ran out before it was whole.
  bool Next() {
    std::size_t n = 0;
    const std::size_t wanted = static_cast<std::size_t>(bytesPerLine_);
    while (n < wanted) {
      if (pos_ >= data_.size()) return false;
      std::uint8_t b = data_[pos_++];
      std::size_t count = 1;
      if (encoding_ == 1 && b >= 192) {
        if (pos_ >= data_.size()) return false;
        count = b & 63u;
        b = data_[pos_++];
      }
      // A run past the line's end is dropped beyond it.
      const std::size_t room = std::min(count, wanted - n);
      std::fill_n(line_.begin() + static_cast<std::ptrdiff_t>(n), room, b);
      n += count;
    }
    return true;
  }
  const std::uint8_t* Line() const { return line_.data(); }

 private:
  std::vector<std::uint8_t> data_;
  std::size_t pos_ = 0;
  int encoding_, bytesPerLine_;
  std::vector<std::uint8_t> line_;
};

// The header's picture, refused when the format is not one the reader knows or the data cannot
// hold the declared lines.
struct PcxFormat {
  int bits = 0, planes = 0, encoding = 0, bytesPerLine = 0, width = 0, height = 0;
  bool endPalette = false;  // 256 colours after the data

  PcxFormat(const std::uint8_t* h, std::int64_t Size)
      : bits(h[3]), planes(h[65]), encoding(h[2]), bytesPerLine(ReadLE16(h + 66)), endPalette(planes == 1 && bits > 4) {
    const int xmin = ReadLE16(h + 4), ymin = ReadLE16(h + 6), xmax = ReadLE16(h + 8), ymax = ReadLE16(h + 10);
    if (h[0] != 10 || bits > 8 || bits == 0 || (planes != 1 && planes != 3) || encoding > 1 || xmax < xmin ||
        ymax < ymin || (planes == 3 && bits != 8) || (endPalette && Size < kHeaderSize + kPaletteSize + 1))
      throw EInvalidGraphic(kUnrecognized);
    width = xmax - xmin + 1;
    height = ymax - ymin + 1;
    if (bytesPerLine < (std::int64_t{width} * bits + 7) / 8 || !FitsBitmap(width, height, 24))
      throw EInvalidGraphic(kUnrecognized);
    // Lines missing from a truncated file stay black, but a run gives at most 63 bytes for two, so
    // data that cannot hold the declared lines describes no picture.
    const std::int64_t lineBytes = std::int64_t{height} * planes * bytesPerLine;
    if (lineBytes / kMaxRunBytesPerByte > Size - kHeaderSize) throw EInvalidGraphic(kUnrecognized);
  }
};

struct Palettes {
  std::array<TColorTriple, 256> large{};  // after the data
  std::array<TColorTriple, 16> small{};  // in the header
};

void PutTriple(std::uint8_t* row, int x, const TColorTriple& c) {
  row[3 * x] = c.b;
  row[3 * x + 1] = c.g;
  row[3 * x + 2] = c.r;
}

// One line of a single plane into the bitmap row.
void PutPlaneLine(const PcxFormat& f, const Palettes& p, const std::uint8_t* line, std::uint8_t* row) {
  if (f.bits == 8) {
    for (int x = 0; x < f.width; ++x) PutTriple(row, x, p.large[line[x]]);
  } else if (f.bits == 4) {
    for (int x = 0; x < f.width; ++x) PutTriple(row, x, p.small[(x & 1 ? line[x / 2] : line[x / 2] >> 4) & 15]);
  } else if (f.bits == 1) {
    std::copy_n(line, (f.width + 7) / 8, row);
  }
}

// The rows top down; those the data runs out before stay black.
void ReadRows(PcxLines& lines, const PcxFormat& f, const Palettes& p, TBitmap& Bitmap, const TProgressRec& Progress) {
  const long double step = 100.0L / f.height;
  for (int y = 0; y < f.height; ++y) {
    Progress.Report(static_cast<int>(Trunc(y * step)));
    std::uint8_t* row = RowOf(Bitmap, y);
    if (f.planes == 3) {
      for (int plane = 0; plane < 3; ++plane) {
        if (!lines.Next()) return;
        for (int x = 0; x < f.width; ++x) row[3 * x + 2 - plane] = lines.Line()[x];
      }
      continue;
    }
    if (!lines.Next()) return;
    PutPlaneLine(f, p, lines.Line(), row);
  }
}

void ReportPicture(const std::uint8_t* h, const PcxFormat& f, const Palettes& p, TVelmoraIOParams& Params) {
  Params.BitsPerSample = f.bits;
  Params.SamplesPerPixel = f.planes;
  Params.Width = f.width;
  Params.Height = f.height;
  Params.PcxVersion = h[1];
  Params.FreeColorMap();
  if (f.endPalette) Params.ColorMap.assign(p.large.begin(), p.large.begin() + (1 << f.bits));
  else if (f.planes == 1)
    Params.ColorMap.assign(p.small.begin(), p.small.begin() + (1 << f.bits));
}

}  // namespace

void PCXReadStream(TStream* Source, TBitmap& Bitmap, TVelmoraIOParams& Params, const TProgressRec& Progress,
                   std::int64_t Size) {
  const std::int64_t start = Source->Position();
  std::uint8_t h[kHeaderSize] = {};
  if (Size < kHeaderSize || Source->Read(h, kHeaderSize) != kHeaderSize) throw EInvalidGraphic(kUnrecognized);
  const PcxFormat f(h, Size);
  Params.DpiX = ReadLE16(h + 12);
  Params.DpiY = ReadLE16(h + 14);
  if (Params.DpiX == 0 || Params.DpiY == 0) {
    Params.DpiX = ScreenDpiX();
    Params.DpiY = ScreenDpiY();
  }
  Reshape(Bitmap, f.bits == 1 && f.planes == 1 ? pf1bit : pf24bit, f.width, f.height);

  Palettes palettes;
  ToTriples(h + 16, 16, palettes.small.data());
  if (f.endPalette) {
    std::uint8_t rgb[kPaletteSize];
    Source->SetPosition(start + Size - kPaletteSize);
    Source->ReadBuffer(rgb, kPaletteSize);
    Source->SetPosition(start + kHeaderSize);
    ToTriples(rgb, 256, palettes.large.data());
  }
  std::vector<std::uint8_t> data(static_cast<std::size_t>(Size - kHeaderSize));
  data.resize(static_cast<std::size_t>(std::max<std::int64_t>(Source->Read(data.data(), Size - kHeaderSize), 0)));
  ReportPicture(h, f, palettes, Params);
  PcxLines lines(std::move(data), f.encoding, f.bytesPerLine);
  ReadRows(lines, f, palettes, Bitmap, Progress);
}

void PCXReadFile(const std::string& FileName, TBitmap& Bitmap, TVelmoraIOParams& Params, const TProgressRec& Progress) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  PCXReadStream(&stream, Bitmap, Params, Progress, stream.Size());
}
