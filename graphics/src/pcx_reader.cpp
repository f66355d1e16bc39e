// The Paintbrush reader: each scan line holds the planes one after the other; bytes per line and
// plane must cover the width.
#include <cstring>
#include <vector>

#include "codec_input.h"
#include "codec_progress.h"
#include "graphics/exceptions.h"
#include "graphics/palettes.h"
#include "graphics/pcx_format.h"
#include "picture_budget.h"
#include "vcl/typinfo.h"
#include "win32/little_endian.h"

const TClassInfo& TPCXFileFormatReader::StaticClassInfo() {
  static const TClassInfo info("TPCXFileFormatReader", &TFileFormatReader::StaticClassInfo());
  return info;
}

TPCXFileFormatReader::TPCXFileFormatReader() {
  Extension = "pcx";
  Description = "Paintbrush";
  HasSignature = true;
}

bool TPCXFileFormatReader::CheckHeader(const std::uint8_t* Header) {
  const int version = Header[1];
  const int bits = Header[3];
  return Header[0] == 10 && Header[2] == 1 && (version == 0 || (version >= 2 && version <= 5)) &&
         (bits == 1 || bits == 2 || bits == 4 || bits == 8);
}

namespace {

const std::string kPCXPrefix = "PCX: ";

[[noreturn]] void Refuse(TPGLangStrId MessageId) { throw EPGPCXFileFormatReader(kPCXPrefix + PGLangStr(MessageId)); }

struct TPCXHeader {
  int Version, Bits, Planes, BytesPerLine;
  int Width, Height;
  const std::uint8_t* Palette16;
  std::uint8_t Raw[128];
};

// Read and checked: palette info, reserved byte and extent.
void ReadHeader(TStream* Stream, TPCXHeader& h) {
  if (Stream->Read(h.Raw, sizeof h.Raw) != sizeof h.Raw) Refuse(pgsUnexpectedEndOfFile);
  const std::uint8_t* b = h.Raw;
  if (ReadLE16(b + 68) != 1 || b[64] != 0) Refuse(pgsUnknownSubformat);
  const int xmin = ReadLE16(b + 4), ymin = ReadLE16(b + 6), xmax = ReadLE16(b + 8), ymax = ReadLE16(b + 10);
  if (xmax < xmin || ymax < ymin) Refuse(pgsUnknownSubformat);
  h.Version = b[1];
  h.Bits = b[3];
  h.Planes = b[65];
  h.BytesPerLine = ReadLE16(b + 66);
  h.Width = xmax - xmin + 1;
  h.Height = ymax - ymin + 1;
  h.Palette16 = b + 16;
}

TPGBitCount FormatOf(const TPCXHeader& h) {
  if (h.Bits == 1 && h.Planes == 1) return pgbc1;
  if (h.Bits == 1 && h.Planes == 4) return pgbc4;
  if (h.Bits == 8 && h.Planes == 1) return pgbc8;
  if (h.Bits == 8 && h.Planes == 3) return pgbc24;
  Refuse(pgsUnknownSubformat);
}

void ReadPalette256(TStream* Stream, std::int64_t dataStart, TPixelGraphic* Graphic) {
  const std::int64_t keep = Stream->Position();
  const std::int64_t at = Stream->Size() - 769;
  if (at < dataStart) Refuse(pgsUnexpectedEndOfFile);
  std::uint8_t table[769] = {};
  Stream->SetPosition(at);
  const std::int64_t got = Stream->Read(table, sizeof table);
  Stream->SetPosition(keep);
  if (got != sizeof table || table[0] != 12) Refuse(pgsUnknownSubformat);
  Graphic->SetPaletteCount(256);
  for (int i = 0; i < 256; ++i)
    Graphic->SetPaletteEntry(i, RGBToColor(table[1 + 3 * i], table[2 + 3 * i], table[3 + 3 * i]));
}

// Each plane's bytes must hold the width's pixels. A file that ends early is an error, and a line
// takes at least two bytes per 63 of its bytes (runs stop at the line's end): a file too short for
// that is refused before it is sized.
void CheckSizes(TStream* Stream, const TPCXHeader& h, TPGBitCount format) {
  const std::int64_t planeBytesNeeded = (std::int64_t{h.Width} * h.Bits + 7) / 8;
  if (h.BytesPerLine < planeBytesNeeded) Refuse(pgsUnknownSubformat);
  const std::int64_t lineBytes = std::int64_t{h.Planes} * h.BytesPerLine;
  if (TooShortFor(PictureBytes(h.Width, h.Height, format), (2 * lineBytes + 62) / 63 * h.Height,
                  StreamBytesLeft(Stream)))
    Refuse(pgsUnexpectedEndOfFile);
}

void SetPalette(TStream* Stream, const TPCXHeader& h, TPGBitCount format, TPixelGraphic* Graphic) {
  if (format == pgbc1) {
    Graphic->SetPaletteCount(2);
    Graphic->SetPaletteEntry(0, RGBToColor(0, 0, 0));
    Graphic->SetPaletteEntry(1, RGBToColor(255, 255, 255));
  } else if (format == pgbc4) {
    if (h.Version == 3) {
      Graphic->SetPaletteIdent(pSys16);
      return;
    }
    Graphic->SetPaletteCount(16);
    for (int i = 0; i < 16; ++i) {
      const std::uint8_t* e = h.Palette16 + 3 * i;
      Graphic->SetPaletteEntry(i, RGBToColor(e[0], e[1], e[2]));
    }
  } else if (format == pgbc8) {
    ReadPalette256(Stream, Stream->Position(), Graphic);
  }
}

// One line's bytes, runs cut at the line's end.
void UnpackLine(TCodecInput<EPGPCXFileFormatReader>& input, std::vector<std::uint8_t>& line) {
  const int size = static_cast<int>(line.size());
  for (int n = 0; n < size;) {
    const std::uint8_t b = input.Next();
    if (b >= 192) {
      const int count = b & 63;
      const std::uint8_t value = input.Next();
      for (int i = 0; i < count && n < size; ++i) line[static_cast<std::size_t>(n++)] = value;
    } else {
      line[static_cast<std::size_t>(n++)] = b;
    }
  }
}

// The line's planes as one row of the pixel store.
void StoreRow(const std::vector<std::uint8_t>& line, TPGBitCount format, int width, std::uint8_t* row) {
  const int size = static_cast<int>(line.size());
  if (format == pgbc1) {
    const int bytes = (width + 7) / 8;
    std::memcpy(row, line.data(), static_cast<std::size_t>(bytes));
    if (width % 8 != 0) row[bytes - 1] &= static_cast<std::uint8_t>(0xFF << (8 - width % 8));
  } else if (format == pgbc4) {
    std::memset(row, 0, static_cast<std::size_t>((width + 1) / 2));
    for (int x = 0; x < width; ++x) {
      int v = 0;
      for (int k = 0; k < 4; ++k)
        if (line[static_cast<std::size_t>(k * (size / 4) + x / 8)] & (0x80 >> (x % 8))) v |= 1 << k;
      row[x / 2] |= static_cast<std::uint8_t>(x % 2 == 0 ? v << 4 : v);
    }
  } else if (format == pgbc8) {
    std::memcpy(row, line.data(), static_cast<std::size_t>(width));
  } else {
    const std::uint8_t* red = line.data();
    const std::uint8_t* green = red + size / 3;
    const std::uint8_t* blue = red + size * 2 / 3;
    for (int x = 0; x < width; ++x) row[3 * x] = blue[x], row[3 * x + 1] = green[x], row[3 * x + 2] = red[x];
  }
}

}  // namespace

void TPCXFileFormatReader::Read(TStream* Stream, TPixelGraphic* Graphic, int Index) {
  if (Index != 0) throw EPGPCXFileFormatReader(kPCXPrefix + PGLangStrS1(pgsInvalid, "Index"));
  Graphic->SetGamma(PGDisplayGamma);
  TPCXHeader h;
  ReadHeader(Stream, h);
  const TPGBitCount format = FormatOf(h);
  CheckSizes(Stream, h, format);
  Graphic->SetSize(h.Width, h.Height, format);
  SetPalette(Stream, h, format, Graphic);

  std::vector<std::uint8_t> line(static_cast<std::size_t>(h.Planes * h.BytesPerLine), 0);
  TCodecInput<EPGPCXFileFormatReader> input(Stream, kPCXPrefix);
  TCodecProgress progress(Graphic, this);
  for (int y = 0; y < h.Height; ++y) {
    UnpackLine(input, line);
    StoreRow(line, format, h.Width, Graphic->ScanLine(y));
    if (progress.Aborted(y, h.Height)) break;
  }
  progress.Finish();
}

void TPCXFileFormatReader::GetInfo(TStream* Stream, int Index, TPGImageInfo& Info) {
  Info = TPGImageInfo{};
  Info.ImageCount = 1;
  if (Index != 0) throw EPGPCXFileFormatReader(kPCXPrefix + PGLangStrS1(pgsInvalidValue, "Index"));
  TPCXHeader h;
  ReadHeader(Stream, h);
  Info.BitsPerPixel = h.Planes * h.Bits;
  Info.Width = h.Width;
  Info.Height = h.Height;
  switch (h.Version) {
    case 0: Info.SubFormatText = "Version 2.5 (0)"; break;
    case 2: Info.SubFormatText = "Version 2.8 (2) with Palette"; break;
    case 3: Info.SubFormatText = "Version 2.8 (3) without Palette"; break;
    case 5: Info.SubFormatText = "Version 3.0 (5)"; break;
    default: break;
  }
  Info.ColorsText = Info.BitsPerPixel == 24  ? "16.7M"
                    : Info.BitsPerPixel < 31 ? std::to_string(1 << Info.BitsPerPixel)
                                             : "";
}
