// The portable bitmap reader: one class reads all six kinds, whichever extension it stands for.
#include <climits>
#include <cstring>

#include "codec_input.h"
#include "codec_progress.h"
#include "graphics/exceptions.h"
#include "graphics/palettes.h"
#include "graphics/pnm_format.h"
#include "picture_budget.h"
#include "vcl/typinfo.h"

const TClassInfo& TPxMFileFormatReader::StaticClassInfo() {
  static const TClassInfo info("TPxMFileFormatReader", &TFileFormatReader::StaticClassInfo());
  return info;
}
const TClassInfo& TPBMFileFormatReader::StaticClassInfo() {
  static const TClassInfo info("TPBMFileFormatReader", &TPxMFileFormatReader::StaticClassInfo());
  return info;
}
const TClassInfo& TPGMFileFormatReader::StaticClassInfo() {
  static const TClassInfo info("TPGMFileFormatReader", &TPxMFileFormatReader::StaticClassInfo());
  return info;
}
const TClassInfo& TPPMFileFormatReader::StaticClassInfo() {
  static const TClassInfo info("TPPMFileFormatReader", &TPxMFileFormatReader::StaticClassInfo());
  return info;
}

TPBMFileFormatReader::TPBMFileFormatReader() {
  Extension = "pbm";
  Description = "Portable Bitmap";
}
TPGMFileFormatReader::TPGMFileFormatReader() {
  Extension = "pgm";
  Description = "Portable Graymap";
}
TPPMFileFormatReader::TPPMFileFormatReader() {
  Extension = "ppm";
  Description = "Portable Pixelmap";
}

bool TPBMFileFormatReader::CheckHeader(const std::uint8_t* Header) {
  return Header[0] == 'P' && (Header[1] == '1' || Header[1] == '4');
}
bool TPGMFileFormatReader::CheckHeader(const std::uint8_t* Header) {
  return Header[0] == 'P' && (Header[1] == '2' || Header[1] == '5');
}
bool TPPMFileFormatReader::CheckHeader(const std::uint8_t* Header) {
  return Header[0] == 'P' && (Header[1] == '3' || Header[1] == '6');
}

namespace {

const std::string kPxMPrefix = "PBM, PGM, PPM: ";

[[noreturn]] void Refuse(TPGLangStrId MessageId) { throw EPGPxMFileFormatReader(kPxMPrefix + PGLangStr(MessageId)); }

class TPxMInput {
 public:
  explicit TPxMInput(TStream* Stream) : input_(Stream, kPxMPrefix) {}

  std::uint8_t NextByte() { return input_.Next(); }
  // Bytes not read yet.
  std::int64_t Left() const { return input_.Left(); }

  // Skips everything up to a digit; a comment reads as its line feed. The byte ending the number
  // is consumed; the end of the stream may end it too.
  int NextNumber() {
    std::uint8_t c = NextChar();
    while (c < '0' || c > '9') c = NextChar();
    std::int64_t value = 0;
    while (c >= '0' && c <= '9') {
      value = value * 10 + (c - '0');
      if (value > INT_MAX) Refuse(pgsNotSupportedSubformat);
      if (!TryNextChar(c)) break;
    }
    return static_cast<int>(value);
  }

  // A plain bitmap's pixel is one digit: "0101" is four pixels, with or without blanks between.
  bool NextBit() {
    std::uint8_t c = NextChar();
    while (c != '0' && c != '1') c = NextChar();
    return c == '1';
  }

  // The subformat digit: the byte after "P".
  int Kind() {
    if (NextByte() != 'P') throw EPGPxMFileFormatReader(kPxMPrefix + PGLangStrS1(pgsNotAFile, "PBM, PGM, PPM"));
    const std::uint8_t digit = NextByte();
    if (digit < '1' || digit > '6') Refuse(pgsUnknownSubformat);
    return digit - '0';
  }

 private:
  std::uint8_t NextChar() {
    std::uint8_t c = 0;
    if (!TryNextChar(c)) Refuse(pgsUnexpectedEndOfFile);
    return c;
  }
  bool TryNextChar(std::uint8_t& c) {
    if (!input_.TryNext(c)) return false;
    if (c != '#') return true;
    while (c != '\n')
      if (!input_.TryNext(c)) return false;
    return true;
  }

  TCodecInput<EPGPxMFileFormatReader> input_;
};

// The fewest bytes Width x Height pixels take: binary rows as they are; a plain bitmap's pixel is
// at least a digit, other plain samples a digit and a blank (the end of the file may end the last).
std::int64_t LeastPixelBytes(int kind, int width, int height) {
  const std::int64_t pixels = std::int64_t{std::max(width, 0)} * std::max(height, 0);
  switch (kind) {
    case 1: return pixels;
    case 2: return 2 * pixels - 1;
    case 3: return 6 * pixels - 1;
    case 4: return (std::int64_t{std::max(width, 0)} + 7) / 8 * std::max(height, 0);
    case 5: return pixels;
    default: return 3 * pixels;
  }
}

}  // namespace

void TPxMFileFormatReader::Read(TStream* Stream, TPixelGraphic* Graphic, int Index) {
  if (Index != 0) throw EPGPxMFileFormatReader("PxM: " + PGLangStrS1(pgsInvalid, "Index"));
  Graphic->SetGamma(PGDisplayGamma);
  TPxMInput in(Stream);
  const int kind = in.Kind();
  const TPGBitCount format = kind == 1 || kind == 4 ? pgbc1 : kind == 2 || kind == 5 ? pgbc8 : pgbc24;
  Graphic->SetSize(0, 0, format);
  if (format == pgbc1) Graphic->SetPaletteIdent(pBlackWhite);
  if (format == pgbc8) Graphic->SetPaletteIdent(pGray256);
  // Width first, so the height's allocation is bounded by the image's size limit.
  const int width = in.NextNumber();
  Graphic->SetSize(width, 0, format);
  const int height = in.NextNumber();
  // A file that ends early is an error: one too short for its pixels is refused before sizing.
  if (TooShortFor(PictureBytes(width, height, format), LeastPixelBytes(kind, width, height), in.Left()))
    Refuse(pgsUnexpectedEndOfFile);
  Graphic->SetSize(width, height, format);
  const int maxval = kind == 1 || kind == 4 ? 1 : in.NextNumber();
  const bool binary = kind >= 4;
  if (width < 1 || height < 1 || maxval < 1 || (binary && maxval >= 256)) Refuse(pgsNotSupportedSubformat);

  // Samples above maxval are taken as maxval.
  auto scale = [maxval](int v) {
    return static_cast<std::uint8_t>(std::int64_t{v < maxval ? v : maxval} * 255 / maxval);
  };
  const int rowBytes = (width + 7) / 8;
  TCodecProgress progress(Graphic, this);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = Graphic->ScanLine(y);
    switch (kind) {
      case 1:
        for (int x = 0; x < width; ++x) Graphic->SetPixel(x, y, in.NextBit() ? 0 : 1);
        break;
      case 2:
        for (int x = 0; x < width; ++x) row[x] = scale(in.NextNumber());
        break;
      case 3:
        for (int x = 0; x < width; ++x) {
          const int r = in.NextNumber(), g = in.NextNumber(), b = in.NextNumber();
          row[3 * x] = scale(b), row[3 * x + 1] = scale(g), row[3 * x + 2] = scale(r);
        }
        break;
      case 4:
        for (int i = 0; i < rowBytes; ++i) row[i] = static_cast<std::uint8_t>(~in.NextByte());
        break;
      case 5:
        for (int x = 0; x < width; ++x) row[x] = scale(in.NextByte());
        break;
      default:
        for (int x = 0; x < width; ++x) {
          const int r = in.NextByte(), g = in.NextByte(), b = in.NextByte();
          row[3 * x] = scale(b), row[3 * x + 1] = scale(g), row[3 * x + 2] = scale(r);
        }
    }
    if (progress.Aborted(y, height)) break;
  }
  progress.Finish();
}

void TPxMFileFormatReader::GetInfo(TStream* Stream, int Index, TPGImageInfo& Info) {
  Info = TPGImageInfo{};
  Info.ImageCount = 1;
  if (Index != 0) throw EPGPxMFileFormatReader(kPxMPrefix + PGLangStrS1(pgsInvalidValue, "Index"));
  TPxMInput in(Stream);
  const int kind = in.Kind();
  Info.SubFormatText = kind <= 3 ? "ASCII" : "Binary";
  Info.BitsPerPixel = kind == 1 || kind == 4 ? 1 : kind == 2 || kind == 5 ? 8 : 24;
  Info.Width = in.NextNumber();
  Info.Height = in.NextNumber();
  Info.ColorsText = Info.BitsPerPixel == 24 ? "16.7M" : std::to_string(1 << Info.BitsPerPixel);
}
