// The tagged image writer: one directory right after the header, then the colour map, sample
// sizes and resolutions, then strips of at most 32767 bytes, their places patched in at the end.
#include <algorithm>
#include <vector>

#include "codec_progress.h"
#include "formats/tiff_names.h"
#include "graphics/exceptions.h"
#include "graphics/messages.h"
#include "graphics/palettes.h"
#include "graphics/tiff_format.h"
#include "tiff_packbits.h"
#include "vcl/typinfo.h"

int PGTIFFWriteCompression = 1;
bool PGTIFFWriteCMYK = false;
bool PGTIFFWriteWhiteIsZero = false;
bool PGTIFFWriteMotorola = false;
int PGTIFFWriteResolutionUnit = 1;
std::uint32_t PGTIFFWriteXResolution[2] = {300, 1};
std::uint32_t PGTIFFWriteYResolution[2] = {300, 1};

const TClassInfo& TTIFFileFormatWriter::StaticClassInfo() {
  static const TClassInfo info("TTIFFileFormatWriter", &TFileFormatWriter::StaticClassInfo());
  return info;
}
const TClassInfo& TTIFFFileFormatWriter::StaticClassInfo() {
  static const TClassInfo info("TTIFFFileFormatWriter", &TTIFFileFormatWriter::StaticClassInfo());
  return info;
}

TTIFFileFormatWriter::TTIFFileFormatWriter() {
  Extension = "tif";
  Description = "Tagged Image File Format";
  TIFFOption = true;
  CanWriteResolutions = {pgcrBlackWhite, pgcr16Grays,   pgcrSys16,    pgcr16Colors,
                         pgcr256Grays,   pgcr256Colors, pgcrTrueColor};
}

namespace {

// Values in the chosen byte order.
class TTIFFOut {
 public:
  explicit TTIFFOut(TStream* Stream) : stream_(Stream), big_(PGTIFFWriteMotorola) {}
  void U16(std::uint32_t v) {
    std::uint8_t b[2];
    if (big_) b[0] = static_cast<std::uint8_t>(v >> 8), b[1] = static_cast<std::uint8_t>(v);
    else
      b[0] = static_cast<std::uint8_t>(v), b[1] = static_cast<std::uint8_t>(v >> 8);
    stream_->WriteBuffer(b, 2);
  }
  void U32(std::uint32_t v) {
    if (big_) U16(v >> 16), U16(v & 0xFFFF);
    else
      U16(v & 0xFFFF), U16(v >> 16);
  }
  // A SHORT value in its 4-byte field.
  void Short(std::uint32_t v) { U16(v), U16(0); }
  void U32At(std::int64_t at, std::uint32_t v) {
    const std::int64_t keep = stream_->Position();
    stream_->SetPosition(at);
    U32(v);
    stream_->SetPosition(keep);
  }
  void U16At(std::int64_t at, std::uint32_t v) {
    const std::int64_t keep = stream_->Position();
    stream_->SetPosition(at);
    U16(v);
    stream_->SetPosition(keep);
  }

 private:
  TStream* stream_;
  bool big_;
};

}  // namespace

void TTIFFileFormatWriter::Write(TStream* Stream, TPixelGraphic* Graphic) {
  WriteHeader(Stream);
  WriteImage(Stream, Graphic);
  WriteTrailer(Stream);
}

void TTIFFileFormatWriter::WriteHeader(TStream* Stream) {
  HeaderStart = Stream->Position();
  Stream->WriteBuffer(PGTIFFWriteMotorola ? "MM" : "II", 2);
  TTIFFOut out(Stream);
  out.U16(42);
  NextIFDSlot = Stream->Position();
  out.U32(0);
}

void TTIFFileFormatWriter::WriteTrailer(TStream*) {}

namespace {

// What the image is and how its rows go into strips.
struct TTIFFLayout {
  int compression, width, height, bits, samples, photometric;
  bool cmyk, invert, colorMap;
  std::uint32_t mapEntries;
  std::int64_t rowBytes, rowsPerStrip, strips;
};

TTIFFLayout PlanLayout(TPixelGraphic* Graphic) {
  TTIFFLayout l{};
  l.compression = PGTIFFWriteCompression;
  if (l.compression != tiff::kUncompressed && l.compression != tiff::kPackBits)
    throw EPGTIFFileFormatWriter("TIFF: Internal Error");
  l.width = Graphic->GetWidth();
  l.height = Graphic->GetHeight();
  // An empty image has no strips to write.
  if (l.width < 1 || l.height < 1) throw EPGTIFFileFormatWriter("TIFF: " + PGLangStr(pgsZeroSize));
  const int bits = l.bits = Graphic->GetBitsPerPixel();
  const TPaletteIdent ident = Graphic->PaletteIdent();
  l.cmyk = bits == 24 && PGTIFFWriteCMYK;
  const bool whiteIsZero = PGTIFFWriteWhiteIsZero;
  const bool grey = (bits == 1 && ident == pBlackWhite) || (bits == 4 && ident == pGray16) ||
                    (bits == 8 && ident == pGray256);
  l.invert = whiteIsZero && grey;
  l.colorMap = (bits == 4 && ident != pGray16) || (bits == 8 && ident != pGray256);
  l.samples = bits == 24 ? (l.cmyk ? 4 : 3) : 1;
  l.mapEntries = 1u << (bits == 24 ? 0 : bits);

  l.rowBytes = bits == 1   ? (l.width + 7) / 8
               : bits == 4 ? (l.width + 1) / 2
                           : std::int64_t{l.width} * l.samples * (bits == 24 ? 1 : bits / 8);
  const std::int64_t worst = l.compression == tiff::kUncompressed ? l.rowBytes : l.rowBytes * 2;
  l.rowsPerStrip = std::clamp<std::int64_t>(32767 / worst, 1, l.height);
  l.strips = (l.height + l.rowsPerStrip - 1) / l.rowsPerStrip;
  l.photometric = bits == 24    ? (l.cmyk ? tiff::kSeparated : tiff::kRgb)
                  : l.colorMap  ? tiff::kPalette
                  : whiteIsZero ? tiff::kWhiteIsZero
                                : tiff::kBlackIsZero;
  return l;
}

// One row of the pixel store in the file's sample order.
void PackRow(const TTIFFLayout& l, const std::uint8_t* stored, std::vector<std::uint8_t>& row) {
  if (l.bits == 24) {
    for (int x = 0; x < l.width; ++x) {
      const int b = stored[3 * x], g = stored[3 * x + 1], r = stored[3 * x + 2];
      if (l.cmyk) {
        const int c = 255 - r, m = 255 - g, ye = 255 - b, k = std::min({c, m, ye});
        std::uint8_t* p = row.data() + 4 * x;
        p[0] = static_cast<std::uint8_t>(c - k), p[1] = static_cast<std::uint8_t>(m - k);
        p[2] = static_cast<std::uint8_t>(ye - k), p[3] = static_cast<std::uint8_t>(k);
      } else {
        row[static_cast<std::size_t>(3 * x)] = static_cast<std::uint8_t>(r);
        row[static_cast<std::size_t>(3 * x + 1)] = static_cast<std::uint8_t>(g);
        row[static_cast<std::size_t>(3 * x + 2)] = static_cast<std::uint8_t>(b);
      }
    }
    return;
  }
  // The pixel store holds rows in the file's bit order, padding aside.
  for (std::int64_t i = 0; i < l.rowBytes; ++i)
    row[static_cast<std::size_t>(i)] = l.invert ? static_cast<std::uint8_t>(~stored[i]) : stored[i];
  if (l.bits == 1 && l.width % 8 != 0) row.back() &= static_cast<std::uint8_t>(0xFF << (8 - l.width % 8));
  if (l.bits == 4 && l.width % 2 != 0) row.back() &= 0xF0;
}

// Writes one image: its directory, the values that do not fit in it, then the strips, and patches
// the places of what came later into what came first.
class TTIFFImageWriter {
 public:
  TTIFFImageWriter(TStream* Stream, std::int64_t HeaderStart, const TTIFFLayout& Layout)
      : stream_(Stream), out_(Stream), headerStart_(HeaderStart), l_(Layout) {}

  // Returns where the next directory's offset goes.
  std::int64_t Directory(std::int64_t previousSlot);
  void Values(TPixelGraphic* Graphic);
  void Strips(TPixelGraphic* Graphic, TObject* Sender);

 private:
  std::uint32_t Relative(std::int64_t at) const { return static_cast<std::uint32_t>(at - headerStart_); }
  std::uint32_t Here() const { return Relative(stream_->Position()); }
  void Entry(int tag, int type, std::uint32_t count, std::uint32_t value);
  void ColourMap(TPixelGraphic* Graphic);
  void StripTables();
  void WriteRow(const std::vector<std::uint8_t>& row, std::string& packed);
  void PatchStripPlaces(const std::vector<std::uint32_t>& offsets, const std::vector<std::uint32_t>& counts);

  TStream* stream_;
  TTIFFOut out_;
  std::int64_t headerStart_;
  const TTIFFLayout& l_;
  int entries_ = 0;
  std::int64_t valueAt_[tiff::kColorMap + 1] = {};
  std::int64_t offsetsAt_ = 0, countsAt_ = 0;
};

void TTIFFImageWriter::Entry(int tag, int type, std::uint32_t count, std::uint32_t value) {
  out_.U16(static_cast<std::uint32_t>(tag)), out_.U16(static_cast<std::uint32_t>(type)), out_.U32(count);
  valueAt_[tag] = stream_->Position();
  if (type == 3 && count == 1) out_.Short(value);
  else
    out_.U32(value);
  ++entries_;
}

std::int64_t TTIFFImageWriter::Directory(std::int64_t previousSlot) {
  out_.U32At(previousSlot, Here());
  const std::int64_t countAt = stream_->Position();
  out_.U16(0);
  const auto strips = static_cast<std::uint32_t>(l_.strips);
  Entry(tiff::kNewSubfileType, tiff::kLong, 1, 0);
  Entry(tiff::kImageWidth, tiff::kLong, 1, static_cast<std::uint32_t>(l_.width));
  Entry(tiff::kImageLength, tiff::kLong, 1, static_cast<std::uint32_t>(l_.height));
  Entry(tiff::kBitsPerSample, tiff::kShort, static_cast<std::uint32_t>(l_.samples),
        l_.bits == 24 ? 0 : static_cast<std::uint32_t>(l_.bits));
  Entry(tiff::kCompression, tiff::kShort, 1, static_cast<std::uint32_t>(l_.compression));
  Entry(tiff::kPhotometric, tiff::kShort, 1, static_cast<std::uint32_t>(l_.photometric));
  Entry(tiff::kStripOffsets, tiff::kLong, strips, 0);
  Entry(tiff::kSamplesPerPixel, tiff::kShort, 1, static_cast<std::uint32_t>(l_.samples));
  Entry(tiff::kRowsPerStrip, tiff::kLong, 1, static_cast<std::uint32_t>(l_.rowsPerStrip));
  Entry(tiff::kStripByteCounts, tiff::kLong, strips, 0);
  Entry(tiff::kXResolution, tiff::kRational, 1, 0);
  Entry(tiff::kYResolution, tiff::kRational, 1, 0);
  Entry(tiff::kResolutionUnit, tiff::kShort, 1,
        static_cast<std::uint32_t>(std::clamp(PGTIFFWriteResolutionUnit, 0, 2) + 1));
  if (l_.colorMap) Entry(tiff::kColorMap, tiff::kShort, 3 * l_.mapEntries, 0);
  const std::int64_t nextSlot = stream_->Position();
  out_.U32(0);
  out_.U16At(countAt, static_cast<std::uint32_t>(entries_));
  return nextSlot;
}

void TTIFFImageWriter::ColourMap(TPixelGraphic* Graphic) {
  out_.U32At(valueAt_[tiff::kColorMap], Here());
  const int count = Graphic->PaletteCount();
  for (int channel = 0; channel < 3; ++channel)
    for (std::uint32_t i = 0; i < l_.mapEntries; ++i) {
      const TColor c = static_cast<int>(i) < count ? Graphic->GetPaletteEntry(static_cast<int>(i)) : 0;
      const int v = channel == 0 ? RedOf(c) : channel == 1 ? GreenOf(c) : BlueOf(c);
      out_.U16(static_cast<std::uint32_t>(v * 256));
    }
}

// Room for the strips' places and sizes when there is more than one, filled in after the strips.
void TTIFFImageWriter::StripTables() {
  if (l_.strips <= 1) return;
  offsetsAt_ = stream_->Position();
  for (std::int64_t i = 0; i < l_.strips; ++i) out_.U32(0);
  countsAt_ = stream_->Position();
  for (std::int64_t i = 0; i < l_.strips; ++i) out_.U32(0);
  out_.U32At(valueAt_[tiff::kStripOffsets], Relative(offsetsAt_));
  out_.U32At(valueAt_[tiff::kStripByteCounts], Relative(countsAt_));
}

void TTIFFImageWriter::Values(TPixelGraphic* Graphic) {
  if (l_.colorMap) ColourMap(Graphic);
  if (l_.bits == 24) {
    out_.U32At(valueAt_[tiff::kBitsPerSample], Here());
    for (int i = 0; i < l_.samples; ++i) out_.U16(8);
  }
  out_.U32At(valueAt_[tiff::kXResolution], Here());
  out_.U32(PGTIFFWriteXResolution[0]), out_.U32(PGTIFFWriteXResolution[1]);
  out_.U32At(valueAt_[tiff::kYResolution], Here());
  out_.U32(PGTIFFWriteYResolution[0]), out_.U32(PGTIFFWriteYResolution[1]);
  StripTables();
}

void TTIFFImageWriter::WriteRow(const std::vector<std::uint8_t>& row, std::string& packed) {
  if (l_.compression == tiff::kUncompressed) {
    stream_->WriteBuffer(row.data(), l_.rowBytes);
    return;
  }
  packed.clear();
  AppendPackBits(row.data(), static_cast<int>(l_.rowBytes), packed);
  stream_->WriteBuffer(packed.data(), static_cast<std::int64_t>(packed.size()));
}

void TTIFFImageWriter::PatchStripPlaces(const std::vector<std::uint32_t>& offsets,
                                        const std::vector<std::uint32_t>& counts) {
  if (l_.strips == 1) {
    out_.U32At(valueAt_[tiff::kStripOffsets], offsets[0]);
    out_.U32At(valueAt_[tiff::kStripByteCounts], counts[0]);
    return;
  }
  for (std::size_t i = 0; i < offsets.size(); ++i) {
    out_.U32At(offsetsAt_ + 4 * static_cast<std::int64_t>(i), offsets[i]);
    out_.U32At(countsAt_ + 4 * static_cast<std::int64_t>(i), counts[i]);
  }
}

void TTIFFImageWriter::Strips(TPixelGraphic* Graphic, TObject* Sender) {
  const auto strips = static_cast<std::size_t>(l_.strips);
  std::vector<std::uint32_t> offsets(strips), counts(strips);
  std::vector<std::uint8_t> row(static_cast<std::size_t>(l_.rowBytes));
  std::string packed;
  TCodecProgress progress(Graphic, Sender);
  for (int y = 0; y < l_.height; ++y) {
    const auto strip = static_cast<std::size_t>(y / l_.rowsPerStrip);
    if (y % l_.rowsPerStrip == 0) {
      if (Here() % 2 != 0) stream_->WriteBuffer("", 1);
      offsets[strip] = Here();
    }
    PackRow(l_, Graphic->ScanLine(y), row);
    WriteRow(row, packed);
    if ((y + 1) % l_.rowsPerStrip == 0 || y == l_.height - 1) counts[strip] = Here() - offsets[strip];
    // Nothing to undo in a half-written file, so an abort is not acted on.
    progress.Aborted(y, l_.height - 1);
  }
  PatchStripPlaces(offsets, counts);
  progress.Finish();
}

}  // namespace

void TTIFFileFormatWriter::WriteImage(TStream* Stream, TPixelGraphic* Graphic) {
  const TTIFFLayout layout = PlanLayout(Graphic);
  TTIFFImageWriter image(Stream, HeaderStart, layout);
  NextIFDSlot = image.Directory(NextIFDSlot);
  image.Values(Graphic);
  image.Strips(Graphic, this);
}
