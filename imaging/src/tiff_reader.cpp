#include <algorithm>
#include <climits>
#include <cmath>
#include <array>
#include <cstring>
#include <memory>
#include <optional>
#include <set>
#include <typeinfo>
#include <vector>

#include "formats/tiff_names.h"
#include "win32/dib_limits.h"
#include "imaging/ccitt_fax.h"
#include "vcl/graphics_images.h"
#include "imaging/screen_dpi.h"
#include "imaging/tiff_reader.h"
#include "vcl/system.h"

namespace {

const char kInvalid[] = "Invalid TIFF stream";
// Pictures up to 4M pixels are cheap whatever the file holds; past that a byte of the file may
// stand for at most 4096 pixels (an LZW code's longest string, or 32768 white fax pixels of a
// row per bit would allow more, but no real file comes near).
constexpr std::uint64_t kFreePixels = std::uint64_t{1} << 22;
constexpr std::uint64_t kMaxPixelsPerByte = 4096;

// The file's bytes: count bytes from the stream's position on, which the stream is moved past. A
// plain memory stream's are read where they lie; any other stream's (a memory stream of a class
// that reads in its own way among them) are read into a block of their own, not cleared first
// since the read fills it.
class FileBytes {
 public:
  void Read(TStream* source, std::int64_t count) {
    count = std::max<std::int64_t>(count, 0);
    if (typeid(*source) == typeid(TMemoryStream) || typeid(*source) == typeid(TCustomMemoryStream)) {
      auto* memory = static_cast<TCustomMemoryStream*>(source);
      if (count > 0) view_ = static_cast<const std::uint8_t*>(memory->Memory()) + memory->Position();
      size_ = static_cast<std::size_t>(count);
      memory->Seek(count, soFromCurrent);
      return;
    }
    data_ = std::make_unique_for_overwrite<std::uint8_t[]>(static_cast<std::size_t>(count));
    size_ = static_cast<std::size_t>(std::clamp<std::int64_t>(source->Read(data_.get(), count), 0, count));
    view_ = data_.get();
  }
  std::size_t size() const { return size_; }
  const std::uint8_t* data() const { return view_; }
  std::uint8_t operator[](std::size_t i) const { return view_[i]; }

 private:
  std::unique_ptr<std::uint8_t[]> data_;
  const std::uint8_t* view_ = nullptr;
  std::size_t size_ = 0;
};

// The file in memory, read in its byte order; reads beyond it give zeros.
struct TiffFile {
  FileBytes bytes;
  bool bigEndian = false;

  std::uint32_t U16(std::uint64_t at) const {
    if (at + 2 > bytes.size()) return 0;
    const std::uint8_t* p = bytes.data() + at;
    return bigEndian ? (p[0] << 8 | p[1]) : (p[0] | p[1] << 8);
  }
  std::uint32_t U32(std::uint64_t at) const {
    if (at + 4 > bytes.size()) return 0;
    const std::uint8_t* p = bytes.data() + at;
    return bigEndian ? (std::uint32_t{p[0]} << 24 | p[1] << 16 | p[2] << 8 | p[3])
                     : (p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t{p[3]} << 24);
  }
};

// A directory entry; its values lie in the entry's last four bytes when they fit, in file order.
struct Entry {
  std::uint32_t tag = 0, type = 0, count = 0;
  std::uint64_t valueAt = 0;  // where the entry's value field lies in the file
};

int TypeSize(std::uint32_t type) {
  switch (type) {
    case tiff::kShort:
    case tiff::kSShort: return 2;
    case tiff::kLong:
    case tiff::kSLong:
    case tiff::kFloat: return 4;
    case tiff::kRational:
    case tiff::kSRational:
    case tiff::kDouble: return 8;
    default: return 1;
  }
}

class Directory {
 public:
  Directory(const TiffFile& file, std::vector<Entry> entries) : file_(file), entries_(std::move(entries)) {}

  const Entry* Find(std::uint32_t tag) const {
    for (const Entry& e : entries_)
      if (e.tag == tag) return &e;
    return nullptr;
  }
  // Where the entry's values start.
  std::uint64_t ValuesAt(const Entry& e) const {
    return std::uint64_t{e.count} * TypeSize(e.type) <= 4 ? e.valueAt : file_.U32(e.valueAt);
  }
  std::uint32_t Element(const Entry& e, std::uint32_t i) const {
    const std::uint64_t at = ValuesAt(e) + std::uint64_t{i} * TypeSize(e.type);
    switch (TypeSize(e.type)) {
      case 1: return at < file_.bytes.size() ? file_.bytes[at] : 0;
      case 2: return file_.U16(at);
      default: return file_.U32(at);
    }
  }
  std::uint32_t Value(std::uint32_t tag, std::uint32_t fallback) const {
    const Entry* e = Find(tag);
    return e && e->count ? Element(*e, 0) : fallback;
  }
  std::vector<std::uint32_t> Array(std::uint32_t tag) const {
    std::vector<std::uint32_t> out;
    const Entry* e = Find(tag);
    if (!e) return out;
    // No more elements than the file could hold.
    const std::uint32_t count = static_cast<std::uint32_t>(std::min<std::uint64_t>(e->count, file_.bytes.size()));
    for (std::uint32_t i = 0; i < count; ++i) out.push_back(Element(*e, i));
    return out;
  }
  double Rational(std::uint32_t tag) const {
    const Entry* e = Find(tag);
    if (!e) return 0;
    const std::uint64_t at = file_.U32(e->valueAt);
    const std::uint32_t num = file_.U32(at), den = file_.U32(at + 4);
    return static_cast<double>(num) / (den == 0 ? 1 : den);
  }
  std::string String(std::uint32_t tag) const {
    const Entry* e = Find(tag);
    if (!e) return {};
    const std::uint64_t at = ValuesAt(*e);
    if (at >= file_.bytes.size()) return {};
    const std::uint64_t n = std::min<std::uint64_t>(e->count, file_.bytes.size() - at);
    std::string s(reinterpret_cast<const char*>(file_.bytes.data() + at), static_cast<std::size_t>(n));
    return s.substr(0, s.find('\0'));
  }

 private:
  const TiffFile& file_;
  std::vector<Entry> entries_;
};

// One strip's decoding state; rows carry the data and bit positions from one to the next.
class StripRows {
 public:
  StripRows(const std::uint8_t* data, std::size_t size, int compression, bool twoDimensional, int fillOrder, int width,
            const TTiffLzwDecoder& lzw)
      : data_(data),
        size_(size),
        compression_(compression),
        twoD_(twoDimensional),
        fillOrder_(fillOrder),
        width_(width),
        lzw_(lzw) {}
  ~StripRows() {
    if (lzwState_) lzw_(nullptr, 0, 0, lzwState_);
  }
  StripRows(const StripRows&) = delete;
  StripRows& operator=(const StripRows&) = delete;

  // The next row's rowBytes bytes into `row` (at least 2 x rowBytes bytes): what the strip does
  // not give, and the rows of compressions without a decoder, are zeros.
  void Next(std::uint8_t* row, std::size_t rowBytes) {
    std::size_t written = 0;
    switch (compression_) {
      case tiff::kUncompressed:
        written = pos_ < size_ ? std::min(rowBytes, size_ - pos_) : 0;
        std::memcpy(row, data_ + pos_, written);
        pos_ += rowBytes;
        break;
      case tiff::kCcittRle:
      case tiff::kCcittFax3:
      case tiff::kCcittFax4:
        std::memset(row, 0, rowBytes);  // a row of more than a bit per pixel has bytes no pixel reaches
        Fax(row);
        return;
      case tiff::kLzw:
        if (const std::uint8_t* bytes = lzw_(data_, size_, static_cast<int>(rowBytes), lzwState_)) {
          std::memcpy(row, bytes, rowBytes);
          written = rowBytes;
        }
        break;
      case tiff::kPackBits: written = PackBits(row, rowBytes); break;
      default: break;
    }
    std::memset(row + written, 0, rowBytes - written);
  }

 private:
  void Fax(std::uint8_t* row) {
    const FaxStrip fax{data_, size_, fillOrder_};
    if (compression_ == tiff::kCcittRle) {
      if (pos_ < size_) pos_ += DecodeFaxRowMH(row, {data_ + pos_, size_ - pos_, fillOrder_}, width_);
      else
        DecodeFaxRowMH(row, {data_, 0, fillOrder_}, width_);
    } else if (compression_ == tiff::kCcittFax3 && !twoD_) {
      bit_ = DecodeFaxRow1D(row, fax, width_, bit_);
    } else {
      bit_ = DecodeFaxRow2D(row, fax, width_, bit_, reference_);
    }
  }

  // Runs that cross the row's end are cut there. The bytes written.
  std::size_t PackBits(std::uint8_t* row, std::size_t rowBytes) {
    std::size_t n = 0;
    while (n < rowBytes && pos_ < size_) {
      const int control = static_cast<std::int8_t>(data_[pos_++]);
      if (control >= 0) {
        const std::size_t literal = std::min<std::size_t>(static_cast<std::size_t>(control) + 1, size_ - pos_);
        const std::size_t kept = std::min(literal, rowBytes - n);
        std::memcpy(row + n, data_ + pos_, kept);
        n += kept;
        pos_ += literal;
      } else if (control != -128) {
        if (pos_ >= size_) break;
        const std::size_t repeat = std::min<std::size_t>(static_cast<std::size_t>(1 - control), rowBytes - n);
        std::memset(row + n, data_[pos_++], repeat);
        n += repeat;
      }
    }
    return n;
  }

  const std::uint8_t* data_;
  std::size_t size_, pos_ = 0;
  std::int64_t bit_ = 0;
  int compression_;
  bool twoD_;
  int fillOrder_, width_;
  const TTiffLzwDecoder& lzw_;
  void* lzwState_ = nullptr;
  FaxReference reference_;
};

struct Picture {
  int width = 0, height = 0, bits = 1, samples = 1, photometric = 2, compression = 1, planar = 1, predictor = 1;
  bool twoD = false, bigEndian = false, hasMap = false;
  int fillOrder = 1;
  std::uint32_t rowsPerStrip = 0;
  std::array<TColorTriple, 256> palette{};  // zeroed: indexes beyond the file's map are black
};

// Spreads 4-bit data, undoes the predictor, scales 4-bit grey; then writes the bitmap row.
void ConvertRow(const Picture& p, std::uint8_t* row, std::size_t rowBytes, std::uint8_t* out) {
  const int w = p.width;
  if (p.bits == 1) {
    const bool invert = (p.photometric == tiff::kWhiteIsZero) ==
                        (p.compression == tiff::kUncompressed || p.compression > tiff::kCcittFax4);
    const std::size_t n = static_cast<std::size_t>((w + 7) / 8);
    for (std::size_t i = 0; i < n; ++i) out[i] = invert ? static_cast<std::uint8_t>(~row[i]) : row[i];
    return;
  }
  if (p.bits == 4) {
    for (std::size_t i = rowBytes; i-- > 0;) {
      row[2 * i + 1] = row[i] & 15;
      row[2 * i] = row[i] >> 4;
    }
    if (p.photometric <= 1)
      for (int x = 0; x < w; ++x) row[x] = static_cast<std::uint8_t>(row[x] * 16);
  }
  if (p.predictor == 2 && p.bits == 8) {
    const int step = p.planar == 2 ? 1 : p.samples;
    const int n = w * step;
    for (int i = step; i < n; ++i) row[i] = static_cast<std::uint8_t>(row[i] + row[i - step]);
  }
  if (p.photometric == tiff::kRgb) {  // red, green, blue, then any extra samples, which are not shown
    const int step = p.samples;
    for (int x = 0; x < w; ++x, out += 3, row += step) {
      out[0] = row[2];
      out[1] = row[1];
      out[2] = row[0];
    }
    return;
  }
  for (int x = 0; x < w; ++x, out += 3) {
    std::uint8_t v;
    if (p.photometric == tiff::kPalette) {
      const TColorTriple& c = p.palette[row[x]];
      out[0] = c.b;
      out[1] = c.g;
      out[2] = c.r;
      continue;
    }
    if (p.bits == 16) v = row[2 * x + (p.bigEndian ? 0 : 1)];
    else
      v = row[x];
    if (p.photometric == tiff::kWhiteIsZero) v = static_cast<std::uint8_t>(255 - v);
    out[0] = out[1] = out[2] = v;
  }
}

// Resolutions and positions are truncated; values beyond an int are held at its limits.
int ClampedInt(double v) {
  if (std::isnan(v)) return 0;
  return static_cast<int>(std::clamp(v, double{INT_MIN}, double{INT_MAX}));
}

// What the rows can be turned into; any other picture is refused rather than left blank.
bool Decodable(const Picture& p) {
  switch (p.compression) {
    case tiff::kUncompressed:
    case tiff::kLzw:
    case tiff::kPackBits: break;
    case tiff::kCcittRle:
    case tiff::kCcittFax3:
    case tiff::kCcittFax4:
      if (p.bits != 1) return false;
      break;
    default: return false;
  }
  if (p.photometric == tiff::kRgb) return p.samples >= 3 && p.bits == 8;  // RGB, and RGBA and the like
  if (p.samples != 1) return false;
  if (p.photometric == tiff::kPalette) return p.bits == 8 || p.bits == 4;
  if (p.photometric <= tiff::kBlackIsZero)
    return p.bits == 1 || p.bits == 4 || p.bits == 8 || (p.bits == 16 && p.compression == tiff::kUncompressed);
  return false;
}

// The entries of directory `index` of the chain, which is cut at the end of the file or where it
// comes back on itself; none when the chain is shorter. `count` is the chain's length.
std::optional<std::vector<Entry>> ChainDirectory(const TiffFile& file, int index, int& count) {
  std::optional<std::vector<Entry>> wanted;
  count = 0;
  std::set<std::uint32_t> seen;
  for (std::uint32_t at = file.U32(4); at != 0 && at + 2 <= file.bytes.size() && seen.insert(at).second;) {
    const std::uint32_t entries = file.U16(at);
    if (count == index) {
      wanted.emplace();
      for (std::uint32_t i = 0; i < entries && at + 2 + 12 * std::uint64_t{i} + 12 <= file.bytes.size(); ++i) {
        const std::uint64_t e = at + 2 + 12 * std::uint64_t{i};
        wanted->push_back({file.U16(e), file.U16(e + 2), file.U32(e + 4), e + 8});
      }
    }
    ++count;
    at = file.U32(at + 2 + 12 * std::uint64_t{entries});
  }
  return wanted;
}

// The picture the directory describes, refused when its samples differ in depth, it is tiled, or
// it is larger than a bitmap may be or than the file could describe.
Picture DescribePicture(const Directory& dir, const TiffFile& file) {
  Picture p;
  p.bigEndian = file.bigEndian;
  const std::uint32_t width = dir.Value(tiff::kImageWidth, 0), height = dir.Value(tiff::kImageLength, 0);
  const std::vector<std::uint32_t> bitsList = dir.Array(tiff::kBitsPerSample);
  for (std::uint32_t b : bitsList)
    if (b != bitsList[0]) throw EInvalidGraphic(kInvalid);
  p.bits = bitsList.empty() ? 1 : static_cast<int>(std::min<std::uint32_t>(bitsList[0], 64));
  p.samples = static_cast<int>(std::min<std::uint32_t>(dir.Value(tiff::kSamplesPerPixel, 1), 64));
  p.compression = static_cast<int>(dir.Value(tiff::kCompression, 1));
  p.photometric = static_cast<int>(dir.Value(tiff::kPhotometric, 2));
  p.fillOrder = dir.Value(tiff::kFillOrder, 1) == 2 ? 2 : 1;
  p.planar = static_cast<int>(dir.Value(tiff::kPlanarConfiguration, 1));
  p.twoD = dir.Value(tiff::kT4Options, 0) & 1;
  p.predictor = static_cast<int>(dir.Value(tiff::kPredictor, 1));
  // Tiles take the place of strips; without strips the picture would be left black.
  if (dir.Find(tiff::kTileWidth) || dir.Find(tiff::kTileOffsets)) throw EInvalidGraphic(kUnrecognizedTiff);
  if (width == 0 || height == 0 || !FitsBitmap(width, height, 24)) throw EInvalidGraphic(kInvalid);
  // A fax row may take a single bit, so no ratio bounds every compression; pictures past a few
  // MiB must still be describable by the file, at most kMaxPixelsPerByte pixels a byte.
  const std::uint64_t pixels = std::uint64_t{width} * height;
  if (pixels > kFreePixels && pixels / kMaxPixelsPerByte > file.bytes.size()) throw EInvalidGraphic(kInvalid);
  p.width = static_cast<int>(width);
  p.height = static_cast<int>(height);
  p.rowsPerStrip = dir.Value(tiff::kRowsPerStrip, height);
  if (p.rowsPerStrip == 0 || p.rowsPerStrip > height) p.rowsPerStrip = height;
  return p;
}

// A map of 3 x 2^bits values, the upper byte of each; shorter maps and deeper pictures get none.
void ReadColorMap(const Directory& dir, Picture& p) {
  const Entry* map = dir.Find(tiff::kColorMap);
  if (!map || p.bits > 8 || map->count < 3u << p.bits) return;
  p.hasMap = true;
  const std::uint32_t n = 1u << p.bits;
  for (std::uint32_t i = 0; i < n; ++i)
    p.palette[i] = {static_cast<std::uint8_t>(dir.Element(*map, i + 2 * n) >> 8),
                    static_cast<std::uint8_t>(dir.Element(*map, i + n) >> 8),
                    static_cast<std::uint8_t>(dir.Element(*map, i) >> 8)};
}

// The compression as the parameters number it: fax 3 splits in two, PackBits is 8.
void ReportCompression(const Picture& p, TVelmoraIOParams& Params) {
  switch (p.compression) {
    case tiff::kUncompressed: Params.TiffCompression = 0; break;
    case tiff::kCcittRle: Params.TiffCompression = 1; break;
    case tiff::kCcittFax3: Params.TiffCompression = p.twoD ? 3 : 2; break;
    case tiff::kCcittFax4:
    case tiff::kLzw:
    case tiff::kOldJpeg:
    case tiff::kJpeg: Params.TiffCompression = static_cast<std::uint8_t>(p.compression); break;
    case tiff::kPackBits: Params.TiffCompression = 8; break;
    default: break;
  }
}

void ReportPages(const Directory& dir, TVelmoraIOParams& Params) {
  Params.TiffDocumentName = dir.String(tiff::kDocumentName);
  Params.TiffImageDescription = dir.String(tiff::kImageDescription);
  Params.TiffPageName = dir.String(tiff::kPageName);
  if (const Entry* page = dir.Find(tiff::kPageNumber)) {
    Params.TiffPageNumber = static_cast<std::int32_t>(dir.Element(*page, 0));
    Params.TiffPageCount = static_cast<std::int32_t>(page->count > 1 ? dir.Element(*page, 1) : 0);
  } else {
    Params.TiffPageNumber = Params.TiffPageCount = 0;
  }
}

// Resolution and position in inches; a picture without a resolution has the screen's.
void ReportPlacement(const Directory& dir, TVelmoraIOParams& Params) {
  const double factor = dir.Value(tiff::kResolutionUnit, 2) == 3 ? 2.54 : 1;
  Params.DpiX = ClampedInt(dir.Rational(tiff::kXResolution) * factor);
  Params.DpiY = ClampedInt(dir.Rational(tiff::kYResolution) * factor);
  if (Params.DpiX == 0) Params.DpiX = ScreenDpiX();
  if (Params.DpiY == 0) Params.DpiY = ScreenDpiY();
  Params.TiffXPos = ClampedInt(dir.Rational(tiff::kXPosition) * factor);
  Params.TiffYPos = ClampedInt(dir.Rational(tiff::kYPosition) * factor);
}

void ReportPicture(const Directory& dir, const Picture& p, TVelmoraIOParams& Params) {
  Params.BitsPerSample = p.bits;
  Params.SamplesPerPixel = p.samples;
  Params.Width = p.width;
  Params.Height = p.height;
  ReportCompression(p, Params);
  if (p.photometric >= 0 && p.photometric <= 6) Params.TiffPhotometric = static_cast<std::uint8_t>(p.photometric);
  else if (p.photometric == 8)
    Params.TiffPhotometric = 7;
  Params.TiffPlanarConfig = p.planar;
  ReportPages(dir, Params);
  Params.FreeColorMap();
  if (p.hasMap) Params.ColorMap.assign(p.palette.begin(), p.palette.begin() + (1 << p.bits));
  ReportPlacement(dir, Params);
}

// The strips' rows into the bitmap, with a row buffer of at least 2 x rowBytes bytes.
class StripReader {
 public:
  StripReader(const TiffFile& file, const Directory& dir, const Picture& p, TBitmap& bitmap,
              const TProgressRec& progress, const TTiffLzwDecoder& lzw)
      : file_(file),
        p_(p),
        bitmap_(bitmap),
        progress_(progress),
        lzw_(lzw),
        offsets_(dir.Array(tiff::kStripOffsets)),
        counts_(dir.Array(tiff::kStripByteCounts)),
        step_(100.0L / p.height) {}

  bool HasStrips() const { return !offsets_.empty(); }

  void ReadAll() {
    const bool planar = p_.planar == 2 && p_.samples > 1;  // one sample per pixel lies the same either way
    const std::uint64_t width = static_cast<unsigned>(p_.width);
    const std::uint64_t perRow = planar ? width : width * static_cast<unsigned>(p_.samples);
    // Extra samples make a row wider than the picture's: keep it within what a bitmap may hold.
    if (perRow > static_cast<std::uint64_t>(kMaxDibBytes)) throw EInvalidGraphic(kInvalid);
    rowBytes_ = static_cast<std::size_t>(perRow * static_cast<unsigned>(p_.bits) / 8);
    if ((p_.bits == 4 && p_.width % 2) || (p_.bits == 1 && p_.width % 8)) ++rowBytes_;
    row_.assign(2 * rowBytes_ + 8, 0);
    // Planar data holds one run of strips per sample; only the first three planes are shown.
    const std::size_t strips = planar ? offsets_.size() / static_cast<unsigned>(p_.samples) : offsets_.size();
    const auto height = static_cast<std::uint64_t>(p_.height);
    for (std::size_t s = 0; s < strips; ++s) {
      const std::uint64_t first = s * std::uint64_t{p_.rowsPerStrip};
      if (first >= height) break;
      const int rows = static_cast<int>(std::min<std::uint64_t>(p_.rowsPerStrip, height - first));
      if (planar) PlanarStrip(s, strips, static_cast<int>(first), rows);
      else
        ChunkyStrip(s, static_cast<int>(first), rows);
    }
  }

 private:
  // A strip's bytes, cut at the end of the file; a strip without a byte count has none.
  std::pair<const std::uint8_t*, std::size_t> Strip(std::size_t i) const {
    if (i >= offsets_.size() || i >= counts_.size() || offsets_[i] >= file_.bytes.size()) return {nullptr, 0};
    return {file_.bytes.data() + offsets_[i], std::min<std::size_t>(counts_[i], file_.bytes.size() - offsets_[i])};
  }

  void ChunkyStrip(std::size_t s, int first, int rows) {
    auto [data, bytes] = Strip(s);
    if (bytes == 0) return;
    StripRows reader(data, bytes, p_.compression, p_.twoD, p_.fillOrder, p_.width, lzw_);
    for (int r = 0; r < rows; ++r) {
      reader.Next(row_.data(), rowBytes_);
      ConvertRow(p_, row_.data(), rowBytes_, RowOf(bitmap_, first + r));
      RowDone();
    }
  }

  // The red, green and blue planes' strips s, s + strips and s + 2 x strips.
  void PlanarStrip(std::size_t s, std::size_t strips, int first, int rows) {
    const auto [red, redBytes] = Strip(s);
    const auto [green, greenBytes] = Strip(s + strips);
    const auto [blue, blueBytes] = Strip(s + 2 * strips);
    StripRows r0(red, redBytes, p_.compression, p_.twoD, p_.fillOrder, p_.width, lzw_);
    StripRows r1(green, greenBytes, p_.compression, p_.twoD, p_.fillOrder, p_.width, lzw_);
    StripRows r2(blue, blueBytes, p_.compression, p_.twoD, p_.fillOrder, p_.width, lzw_);
    StripRows* readers[3] = {&r0, &r1, &r2};
    const std::size_t sizes[3] = {redBytes, greenBytes, blueBytes};
    for (int r = 0; r < rows; ++r) {
      std::uint8_t* out = RowOf(bitmap_, first + r);
      for (int c = 0; c < 3; ++c) {
        std::fill(row_.begin(), row_.end(), 0);
        if (sizes[c] > 0) readers[c]->Next(row_.data(), rowBytes_);
        if (p_.predictor == 2)
          for (int x = 1; x < p_.width; ++x) row_[x] = static_cast<std::uint8_t>(row_[x] + row_[x - 1]);
        for (int x = 0; x < p_.width; ++x) out[3 * x + 2 - c] = row_[x];
      }
      RowDone();
    }
  }

  void RowDone() { progress_.Report(static_cast<int>(Trunc(++done_ * step_))); }

  const TiffFile& file_;
  const Picture& p_;
  TBitmap& bitmap_;
  const TProgressRec& progress_;
  const TTiffLzwDecoder& lzw_;
  const std::vector<std::uint32_t> offsets_, counts_;
  const long double step_;
  std::size_t rowBytes_ = 0;
  std::vector<std::uint8_t> row_;
  int done_ = 0;
};

}  // namespace

void TIFFReadStream(TBitmap& Bitmap, TStream* Source, int& DirectoryCount, const TProgressRec& Progress,
                    TVelmoraIOParams& Params) {
  TiffFile file;
  const std::int64_t size = Source->Size() - Source->Position();
  file.bytes.Read(Source, size);
  if (file.bytes.size() < 8 ||
      !((file.bytes[0] == 'I' && file.bytes[1] == 'I') || (file.bytes[0] == 'M' && file.bytes[1] == 'M')))
    throw EInvalidGraphic(kUnrecognizedTiff);
  file.bigEndian = file.bytes[0] == 'M';

  std::optional<std::vector<Entry>> wanted = ChainDirectory(file, Params.TiffImageIndex, DirectoryCount);
  if (!wanted) return;
  const Directory dir(file, std::move(*wanted));
  Picture p = DescribePicture(dir, file);
  ReadColorMap(dir, p);
  Reshape(Bitmap, p.bits == 1 && p.samples == 1 ? pf1bit : pf24bit, p.width, p.height);
  ReportPicture(dir, p, Params);
  if (p.compression == tiff::kLzw && !Params.TiffLzwDecoder) throw EInvalidGraphic("LZW Decompressor not found");

  StripReader strips(file, dir, p, Bitmap, Progress, Params.TiffLzwDecoder);
  if (!strips.HasStrips()) return;
  if (!Decodable(p)) throw EInvalidGraphic(kUnrecognizedTiff);
  strips.ReadAll();
}
