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

void TTIFFileFormatWriter::WriteImage(TStream* Stream, TPixelGraphic* Graphic) {
  const int compression = PGTIFFWriteCompression;
  if (compression != tiff::kUncompressed && compression != tiff::kPackBits)
    throw EPGTIFFileFormatWriter("TIFF: Internal Error");
  const int width = Graphic->GetWidth();
  const int height = Graphic->GetHeight();
  // An empty image has no strips to write.
  if (width < 1 || height < 1) throw EPGTIFFileFormatWriter("TIFF: " + PGLangStr(pgsZeroSize));
  const int bits = Graphic->GetBitsPerPixel();
  const TPaletteIdent ident = Graphic->PaletteIdent();
  const bool cmyk = bits == 24 && PGTIFFWriteCMYK;
  const bool whiteIsZero = PGTIFFWriteWhiteIsZero;
  const bool grey = (bits == 1 && ident == pBlackWhite) || (bits == 4 && ident == pGray16) ||
                    (bits == 8 && ident == pGray256);
  const bool colorMap = (bits == 4 && ident != pGray16) || (bits == 8 && ident != pGray256);
  const int samples = bits == 24 ? (cmyk ? 4 : 3) : 1;

  const std::int64_t rowBytes = bits == 1   ? (width + 7) / 8
                                : bits == 4 ? (width + 1) / 2
                                            : std::int64_t{width} * samples * (bits == 24 ? 1 : bits / 8);
  const std::int64_t worst = compression == tiff::kUncompressed ? rowBytes : rowBytes * 2;
  const std::int64_t rowsPerStrip = std::clamp<std::int64_t>(32767 / worst, 1, height);
  const std::int64_t strips = (height + rowsPerStrip - 1) / rowsPerStrip;
  const int photometric = bits == 24    ? (cmyk ? tiff::kSeparated : tiff::kRgb)
                          : colorMap    ? tiff::kPalette
                          : whiteIsZero ? tiff::kWhiteIsZero
                                        : tiff::kBlackIsZero;

  TTIFFOut out(Stream);
  auto relative = [&](std::int64_t at) { return static_cast<std::uint32_t>(at - HeaderStart); };
  out.U32At(NextIFDSlot, relative(Stream->Position()));
  const std::int64_t countAt = Stream->Position();
  out.U16(0);
  int entries = 0;
  std::int64_t valueAt[tiff::kColorMap + 1] = {};
  auto entry = [&](int tag, int type, std::uint32_t count, std::uint32_t value) {
    out.U16(static_cast<std::uint32_t>(tag)), out.U16(static_cast<std::uint32_t>(type)), out.U32(count);
    valueAt[tag] = Stream->Position();
    if (type == 3 && count == 1) out.Short(value);
    else
      out.U32(value);
    ++entries;
  };
  entry(tiff::kNewSubfileType, tiff::kLong, 1, 0);
  entry(tiff::kImageWidth, tiff::kLong, 1, static_cast<std::uint32_t>(width));
  entry(tiff::kImageLength, tiff::kLong, 1, static_cast<std::uint32_t>(height));
  entry(tiff::kBitsPerSample, tiff::kShort, static_cast<std::uint32_t>(samples),
        bits == 24 ? 0 : static_cast<std::uint32_t>(bits));
  entry(tiff::kCompression, tiff::kShort, 1, static_cast<std::uint32_t>(compression));
  entry(tiff::kPhotometric, tiff::kShort, 1, static_cast<std::uint32_t>(photometric));
  entry(tiff::kStripOffsets, tiff::kLong, static_cast<std::uint32_t>(strips), 0);
  entry(tiff::kSamplesPerPixel, tiff::kShort, 1, static_cast<std::uint32_t>(samples));
  entry(tiff::kRowsPerStrip, tiff::kLong, 1, static_cast<std::uint32_t>(rowsPerStrip));
  entry(tiff::kStripByteCounts, tiff::kLong, static_cast<std::uint32_t>(strips), 0);
  entry(tiff::kXResolution, tiff::kRational, 1, 0);
  entry(tiff::kYResolution, tiff::kRational, 1, 0);
  entry(tiff::kResolutionUnit, tiff::kShort, 1,
        static_cast<std::uint32_t>(std::clamp(PGTIFFWriteResolutionUnit, 0, 2) + 1));
  const std::uint32_t mapEntries = 1u << (bits == 24 ? 0 : bits);
  if (colorMap) entry(tiff::kColorMap, tiff::kShort, 3 * mapEntries, 0);
  NextIFDSlot = Stream->Position();
  out.U32(0);
  out.U16At(countAt, static_cast<std::uint32_t>(entries));

  if (colorMap) {
    out.U32At(valueAt[tiff::kColorMap], relative(Stream->Position()));
    const int count = Graphic->PaletteCount();
    for (int channel = 0; channel < 3; ++channel)
      for (std::uint32_t i = 0; i < mapEntries; ++i) {
        const TColor c = static_cast<int>(i) < count ? Graphic->GetPaletteEntry(static_cast<int>(i)) : 0;
        const int v = channel == 0 ? RedOf(c) : channel == 1 ? GreenOf(c) : BlueOf(c);
        out.U16(static_cast<std::uint32_t>(v * 256));
      }
  }
  if (bits == 24) {
    out.U32At(valueAt[tiff::kBitsPerSample], relative(Stream->Position()));
    for (int i = 0; i < samples; ++i) out.U16(8);
  }
  out.U32At(valueAt[tiff::kXResolution], relative(Stream->Position()));
  out.U32(PGTIFFWriteXResolution[0]), out.U32(PGTIFFWriteXResolution[1]);
  out.U32At(valueAt[tiff::kYResolution], relative(Stream->Position()));
  out.U32(PGTIFFWriteYResolution[0]), out.U32(PGTIFFWriteYResolution[1]);
  std::int64_t offsetsAt = 0, countsAt = 0;
  if (strips > 1) {
    offsetsAt = Stream->Position();
    for (std::int64_t i = 0; i < strips; ++i) out.U32(0);
    countsAt = Stream->Position();
    for (std::int64_t i = 0; i < strips; ++i) out.U32(0);
    out.U32At(valueAt[tiff::kStripOffsets], relative(offsetsAt));
    out.U32At(valueAt[tiff::kStripByteCounts], relative(countsAt));
  }

  std::vector<std::uint32_t> offsets(static_cast<std::size_t>(strips)), counts(static_cast<std::size_t>(strips));
  std::vector<std::uint8_t> row(static_cast<std::size_t>(rowBytes));
  std::string packed;
  TCodecProgress progress(Graphic, this);
  for (int y = 0; y < height; ++y) {
    const auto strip = static_cast<std::size_t>(y / rowsPerStrip);
    if (y % rowsPerStrip == 0) {
      if (relative(Stream->Position()) % 2 != 0) Stream->WriteBuffer("", 1);
      offsets[strip] = relative(Stream->Position());
    }
    const std::uint8_t* stored = Graphic->ScanLine(y);
    if (bits == 24) {
      for (int x = 0; x < width; ++x) {
        const int b = stored[3 * x], g = stored[3 * x + 1], r = stored[3 * x + 2];
        if (cmyk) {
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
    } else {
      // The pixel store holds rows in the file's bit order, padding aside.
      const bool invert = whiteIsZero && grey;
      for (std::int64_t i = 0; i < rowBytes; ++i)
        row[static_cast<std::size_t>(i)] = invert ? static_cast<std::uint8_t>(~stored[i]) : stored[i];
      if (bits == 1 && width % 8 != 0) row.back() &= static_cast<std::uint8_t>(0xFF << (8 - width % 8));
      if (bits == 4 && width % 2 != 0) row.back() &= 0xF0;
    }
    if (compression == tiff::kUncompressed) {
      Stream->WriteBuffer(row.data(), rowBytes);
    } else {
      packed.clear();
      AppendPackBits(row.data(), static_cast<int>(rowBytes), packed);
      Stream->WriteBuffer(packed.data(), static_cast<std::int64_t>(packed.size()));
    }
    if ((y + 1) % rowsPerStrip == 0 || y == height - 1) counts[strip] = relative(Stream->Position()) - offsets[strip];
    // Nothing to undo in a half-written file, so an abort is not acted on.
    progress.Aborted(y, height - 1);
  }
  if (strips == 1) {
    out.U32At(valueAt[tiff::kStripOffsets], offsets[0]);
    out.U32At(valueAt[tiff::kStripByteCounts], counts[0]);
  } else {
    for (std::size_t i = 0; i < offsets.size(); ++i) {
      out.U32At(offsetsAt + 4 * static_cast<std::int64_t>(i), offsets[i]);
      out.U32At(countsAt + 4 * static_cast<std::int64_t>(i), counts[i]);
    }
  }
  progress.Finish();
}
