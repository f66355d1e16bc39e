// The PNG reader: transparency composed over a background, 16-bit samples stripped to 8, rows
// straight into the bottom-up pixel store (blue, green, red for colour files).
#include <algorithm>

#include "codec_progress.h"
#include "graphics/exceptions.h"
#include "graphics/messages.h"
#include "graphics/palettes.h"
#include "graphics/png_format.h"
#include "picture_budget.h"
#include "png_glue.h"
#include "vcl/typinfo.h"

bool PGPNGUseFileBackground = true;
bool PGPNGWriteGamma = true;

std::string PNGLibraryTag() { return "P090"; }
std::string ZLibLibraryTag() { return "Z104"; }

const TClassInfo& TPNGFileFormatReader::StaticClassInfo() {
  static const TClassInfo info("TPNGFileFormatReader", &TFileFormatReader::StaticClassInfo());
  return info;
}

TPNGFileFormatReader::TPNGFileFormatReader() {
  Extension = "png";
  Description = "Portable Network Graphics";
  HasSignature = true;
}

bool TPNGFileFormatReader::CheckHeader(const std::uint8_t* Header) {
  static const std::uint8_t signature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
  return std::equal(signature, signature + 8, Header);
}

namespace {

[[noreturn]] void Refuse(const std::string& text) { throw EPGPNGFileFormatReaderWriter(kPNGPrefix + text); }

struct THeader {
  png_uint_32 Width = 0;
  png_uint_32 Height = 0;
  int BitDepth = 0;
  int ColorType = 0;
  int Interlace = 0;
  int Channels = 0;
};

THeader ReadHeader(TPNGRecords& png) {
  THeader h;
  png.Run([&] {
    png_read_info(png.Png(), png.Info());
    png_get_IHDR(png.Png(), png.Info(), &h.Width, &h.Height, &h.BitDepth, &h.ColorType, &h.Interlace, nullptr, nullptr);
    h.Channels = png_get_channels(png.Png(), png.Info());
  });
  return h;
}

TPGBitCount FormatOf(const THeader& h) {
  if (h.Channels > 2) return pgbc24;
  switch (h.BitDepth) {
    case 1: return pgbc1;
    case 2:
    case 4: return pgbc4;
    default: return pgbc8;
  }
}

bool IsPalette(const THeader& h) { return h.ColorType == PNG_COLOR_TYPE_PALETTE; }

// A sample of the file's scale as a byte: 16-bit samples are x257, 1/2/4-bit grey levels span
// 0 .. 2^depth - 1; palette backgrounds come as the entry's bytes.
int ToByte(const THeader& h, int sample) {
  if (IsPalette(h)) return sample;
  if (h.BitDepth == 16) return (sample + 128) / 257;
  if (h.BitDepth < 8) return sample * 255 / ((1 << h.BitDepth) - 1);
  return sample;
}

// A byte in the scale png_set_background takes: the file's own, except for 16-bit files, whose
// background the library widens by itself when their samples are stripped to 8 bits.
int FromByte(const THeader& h, int value) {
  if (!IsPalette(h) && h.BitDepth < 8) return (value * ((1 << h.BitDepth) - 1) + 127) / 255;
  return value;
}

png_color_16 InLibraryScale(const THeader& h, TColor color) {
  const int r = RedOf(color), g = GreenOf(color), b = BlueOf(color);
  png_color_16 c{};
  c.red = static_cast<png_uint_16>(FromByte(h, r));
  c.green = static_cast<png_uint_16>(FromByte(h, g));
  c.blue = static_cast<png_uint_16>(FromByte(h, b));
  c.gray = static_cast<png_uint_16>(FromByte(h, (r + g + b) / 3));
  return c;
}

TColor ColorOfFileBackground(const THeader& h, const png_color_16& c) {
  if ((h.ColorType & PNG_COLOR_MASK_COLOR) == 0) {
    const int v = ToByte(h, c.gray);
    return RGBToColor(v, v, v);
  }
  return RGBToColor(ToByte(h, c.red), ToByte(h, c.green), ToByte(h, c.blue));
}

// The palette as the library holds it after its set-up, with transparency composed in.
void TakePalette(TPNGRecords& png, const THeader& h, TPixelGraphic* graphic) {
  if (IsPalette(h)) {
    png_colorp palette = nullptr;
    int count = 0;
    png.Run([&] { png_get_PLTE(png.Png(), png.Info(), &palette, &count); });
    count = std::min(count, graphic->GetPaletteCapacity());
    graphic->SetPaletteCount(count);
    for (int i = 0; i < count; ++i)
      graphic->SetPaletteEntry(i, RGBToColor(palette[i].red, palette[i].green, palette[i].blue));
  } else if ((h.ColorType & PNG_COLOR_MASK_COLOR) == 0) {
    switch (h.BitDepth) {
      case 1: graphic->SetPaletteIdent(pBlackWhite); break;
      case 2: graphic->SetPaletteIdent(pGray4); break;
      case 4: graphic->SetPaletteIdent(pGray16); break;
      default: graphic->SetPaletteIdent(pGray256); break;
    }
  }
}

// 2-bit rows as the library left them, packed four to a byte, spread to 4-bit pixels from the
// right so that no packed byte is overwritten before it is read.
void SpreadTwoBitRows(TPixelGraphic* graphic) {
  for (int y = 0; y < graphic->GetHeight(); ++y) {
    const std::uint8_t* row = graphic->ScanLine(y);
    for (int x = graphic->GetWidth() - 1; x >= 0; --x) {
      const int value = (row[x / 4] >> (6 - 2 * (x % 4))) & 3;
      graphic->SetPixel(x, y, static_cast<std::uint32_t>(value));
    }
  }
}

// A file that ends early is an error ("Read Error"), and deflate packs at most 1032 bytes of
// filtered rows into one: a stream too short for the declared rows is refused before sizing.
void CheckSize(TStream* Stream, const THeader& h) {
  const std::int64_t rowBytes = 1 + (std::int64_t{h.Width} * h.Channels * h.BitDepth + 7) / 8;
  if (TooShortFor(PictureBytes(h.Width, h.Height, FormatOf(h)), rowBytes * h.Height / kCompressedExpansion,
                  StreamBytesLeft(Stream)))
    Refuse("Read Error");
}

// What the library's set-up found in the file.
struct TReadSetup {
  bool hasFileBackground = false;
  png_color_16 fileBackground{};
  int passes = 1;
  long double gamma = PGDisplayGamma;
};

// Transparency is composed over the file's background when it has one and it is wanted, over the
// picture's current one otherwise.
void SetUpBackground(png_structp p, png_infop i, const THeader& h, TColor currentBackground, TReadSetup& setup) {
  if (!png_get_valid(p, i, PNG_INFO_tRNS) && !(h.ColorType & PNG_COLOR_MASK_ALPHA)) return;
  png_color_16p background = nullptr;
  if (PGPNGUseFileBackground && png_get_bKGD(p, i, &background)) {
    setup.hasFileBackground = true;
    setup.fileBackground = *background;
    png_color_16 handed = setup.fileBackground;
    if (h.BitDepth == 16) handed = InLibraryScale(h, ColorOfFileBackground(h, setup.fileBackground));
    png_set_background(p, &handed, PNG_BACKGROUND_GAMMA_FILE, 0, 1.0);
  } else {
    const png_color_16 ours = InLibraryScale(h, currentBackground);
    png_set_background(p, &ours, PNG_BACKGROUND_GAMMA_SCREEN, 0, 1.0);
  }
}

TReadSetup SetUpTransforms(TPNGRecords& png, const THeader& h, TColor currentBackground) {
  TReadSetup setup;
  png.Run([&] {
    png_structp p = png.Png();
    png_infop i = png.Info();
    SetUpBackground(p, i, h, currentBackground, setup);
    double fileGamma = 0;
    if (png_get_gAMA(p, i, &fileGamma) && fileGamma > 0) setup.gamma = 1 / static_cast<long double>(fileGamma);
    if (h.BitDepth == 16) png_set_strip_16(p);
    if (h.ColorType == PNG_COLOR_TYPE_RGB || h.ColorType == PNG_COLOR_TYPE_RGB_ALPHA) png_set_bgr(p);
    setup.passes = png_set_interlace_handling(p);
    png_read_update_info(p, i);
  });
  return setup;
}

// Every pass's rows into the bottom-up store; false when the progress handler asked to stop.
bool ReadRows(TPNGRecords& png, TPixelGraphic* Graphic, int passes, TObject* Sender) {
  TCodecProgress progress(Graphic, Sender);
  const int height = Graphic->GetHeight();
  std::uint8_t* bits = Graphic->GetBits();
  const int stride = Graphic->GetStride();
  for (int pass = 0; pass < passes && Graphic->GetWidth() > 0; ++pass)
    for (int n = 0; n < height; ++n) {
      png_bytep row = bits + static_cast<std::ptrdiff_t>(stride) * (height - n - 1);
      png.Run([&] { png_read_rows(png.Png(), &row, nullptr, 1); });
      if (progress.Aborted(n + height * pass, height * passes)) return false;
    }
  progress.Finish();
  return true;
}

}  // namespace

void TPNGFileFormatReader::Read(TStream* Stream, TPixelGraphic* Graphic, int Index) {
  if (Index != 0) Refuse(PGLangStrS1(pgsInvalid, "Index"));
  if (PNGLibraryTag().rfind("P090", 0) != 0 || ZLibLibraryTag().rfind("Z104", 0) != 0)
    Refuse("Invalid library version");
  Graphic->SetGamma(PGDisplayGamma);
  const TColor currentBackground = Graphic->GetBackGroundColor();
  TPNGRecords png(false, Stream, Graphic->ReadWarningAction());
  const THeader h = ReadHeader(png);
  CheckSize(Stream, h);
  // Sized before the library allocates its rows, so the image's limit decides.
  Graphic->SetSize(static_cast<int>(h.Width), static_cast<int>(h.Height), FormatOf(h));

  const TReadSetup setup = SetUpTransforms(png, h, currentBackground);
  Graphic->SetGamma(setup.gamma);
  TakePalette(png, h, Graphic);
  if (setup.hasFileBackground) Graphic->SetBackGroundColor(ColorOfFileBackground(h, setup.fileBackground));

  if (!ReadRows(png, Graphic, setup.passes, this)) return;
  if (h.BitDepth == 2) SpreadTwoBitRows(Graphic);
  png.Run([&] { png_read_end(png.Png(), nullptr); });
}

namespace {

std::string ColorTypeText(int colorType, int interlace) {
  std::string text = "GrayScale";
  if (colorType & PNG_COLOR_MASK_PALETTE) text = "palette";
  else if (colorType & PNG_COLOR_MASK_COLOR)
    text = "RGB";
  if (colorType & PNG_COLOR_MASK_ALPHA) text += ", alpha";
  if (interlace == PNG_INTERLACE_ADAM7) text += ", interlaced";
  return text;
}

std::string ChunksText(png_uint_32 valid) {
  static const char* const names[] = {"gama", "sbit", "chrm", "plte", "trns", "bkgd", "hist", "phys", "offs", "time"};
  std::string text;
  for (int bit = 0; bit < 10; ++bit)
    if (valid & (1u << bit)) text += (text.empty() ? "" : ", ") + std::string(names[bit]);
  return text.empty() ? text : "(" + text + ")";
}

std::string DepthColorsText(int depth) {
  switch (depth) {
    case 1: return "2";
    case 2: return "4";
    case 4: return "16";
    case 8: return "256";
    case 16: return "64K?";
    case 24: return "16.7M";
    case 32: return "16.7M?";
    default: return "?";
  }
}

}  // namespace

void TPNGFileFormatReader::GetInfo(TStream* Stream, int Index, TPGImageInfo& Info) {
  TFileFormatReader::GetInfo(Stream, Index, Info);
  if (Index != 0) Refuse(PGLangStrS1(pgsInvalidValue, "Index"));
  // Warnings while describing are benign: the file is not decoded.
  TPNGRecords png(false, Stream, pgwaIgnore);
  const THeader h = ReadHeader(png);
  png_uint_32 valid = 0;
  png.Run([&] { valid = png_get_valid(png.Png(), png.Info(), 0x3FF); });
  Info.SubFormatText = ColorTypeText(h.ColorType, h.Interlace);
  Info.DetailsText = ChunksText(valid);
  Info.Width = static_cast<int>(h.Width);
  Info.Height = static_cast<int>(h.Height);
  Info.BitsPerPixel = h.Channels * h.BitDepth;
  Info.ColorsText = DepthColorsText(Info.BitsPerPixel);
}
