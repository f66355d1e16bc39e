// The Targa reader. Run-length packets may span rows: the decoder keeps its packet across them.
#include <algorithm>
#include <cstring>
#include <vector>

#include "codec_input.h"
#include "codec_progress.h"
#include "graphics/exceptions.h"
#include "graphics/palettes.h"
#include "graphics/tga_format.h"
#include "picture_budget.h"
#include "vcl/typinfo.h"
#include "win32/little_endian.h"

const TClassInfo& TTGAFileFormatReader::StaticClassInfo() {
  static const TClassInfo info("TTGAFileFormatReader", &TFileFormatReader::StaticClassInfo());
  return info;
}

TTGAFileFormatReader::TTGAFileFormatReader() {
  Extension = "tga";
  Description = "Truevision Targa";
}

namespace {

const std::string kTGAPrefix = "TGA: ";

[[noreturn]] void Refuse(const std::string& text) { throw EPGTGAFileFormatReader(kTGAPrefix + text); }

struct TTGAHeader {
  int IdLength, ColorMapType, ImageType, FirstEntry, MapLength, EntrySize, Width, Height, Depth, Descriptor;
};

TTGAHeader ReadHeader(TStream* Stream) {
  std::uint8_t b[18] = {};
  if (Stream->Read(b, sizeof b) != sizeof b) Refuse(PGLangStr(pgsUnexpectedEndOfFile));
  return {b[0], b[1], b[2], ReadLE16(b + 3), ReadLE16(b + 5), b[7], ReadLE16(b + 12), ReadLE16(b + 14), b[16], b[17]};
}

bool KnownImageType(int type) {
  const int kind = type & ~tgaRunLength;
  return kind >= tgaColorMapped && kind <= tgaBlackAndWhite;
}

// Run-length pixels; a packet that ends past a row goes on in the next.
class TRunLengthPixels {
 public:
  TRunLengthPixels(TStream* Stream, int BytesPerPixel) : input_(Stream, kTGAPrefix), bpp_(BytesPerPixel) {}
  void Row(std::uint8_t* Out, int Width) {
    for (int x = 0; x < Width; ++x, Out += bpp_) {
      if (left_ == 0) {
        const std::uint8_t p = input_.Next();
        left_ = (p & 0x7F) + 1;
        run_ = (p & 0x80) != 0;
        if (run_) input_.Read(pixel_, bpp_);
      }
      if (run_) std::memcpy(Out, pixel_, static_cast<std::size_t>(bpp_));
      else
        input_.Read(Out, bpp_);
      --left_;
    }
  }

 private:
  TCodecInput<EPGTGAFileFormatReader> input_;
  int bpp_;
  int left_ = 0;
  bool run_ = false;
  std::uint8_t pixel_[4] = {};
};

std::uint32_t PixelValue(const std::uint8_t* p, int depth) {
  if (depth == 8) return p[0];
  if (depth == 16) {
    const int v = ReadLE16(p);
    return static_cast<std::uint32_t>(RGBToColor(((v >> 10) & 0x1F) << 3, ((v >> 5) & 0x1F) << 3, (v & 0x1F) << 3));
  }
  return static_cast<std::uint32_t>(RGBToColor(p[2], p[1], p[0]));
}

// The map's entries are the palette's from its first index on; those before it are black.
void ReadColorMap(TStream* Stream, const TTGAHeader& h, TPixelGraphic* Graphic) {
  const int entryBytes = h.EntrySize / 8;
  if (h.EntrySize != 16 && h.EntrySize != 24 && h.EntrySize != 32) Refuse(PGLangStr(pgsNotSupportedSubformat));
  const int count = std::min(256, h.FirstEntry + h.MapLength);
  const int reached = std::max(0, count - h.FirstEntry);  // the map's entries an 8-bit index can reach
  std::vector<std::uint8_t> map(static_cast<std::size_t>(reached * entryBytes), 0);
  Stream->Read(map.data(), static_cast<std::int64_t>(map.size()));
  Graphic->SetPaletteCount(count);
  for (int i = 0; i < std::min(count, h.FirstEntry); ++i) Graphic->SetPaletteEntry(i, RGBToColor(0, 0, 0));
  for (int i = h.FirstEntry; i < count; ++i) {
    const std::uint8_t* e = map.data() + (i - h.FirstEntry) * entryBytes;
    if (h.EntrySize == 16) {
      const int v = ReadLE16(e);
      Graphic->SetPaletteEntry(i, RGBToColor((v & 0x7C00) >> 7, (v & 0x03E0) >> 2, (v & 0x1F) << 3));
    } else {
      Graphic->SetPaletteEntry(i, RGBToColor(e[2], e[1], e[0]));
    }
  }
}

}  // namespace

void TTGAFileFormatReader::Read(TStream* Stream, TPixelGraphic* Graphic, int Index) {
  if (Index != 0) Refuse(PGLangStrS1(pgsInvalid, "Index"));
  const TTGAHeader h = ReadHeader(Stream);
  if (h.Depth != 8 && h.Depth != 16 && h.Depth != 24 && h.Depth != 32) Refuse(PGLangStr(pgsNotSupportedSubformat));
  if (!KnownImageType(h.ImageType)) Refuse(PGLangStr(pgsNotSupportedSubformat));
  const int bpp = h.Depth / 8;
  const bool mapped = h.Depth == 8 && h.ColorMapType == 1 && h.MapLength > 0;

  Stream->Seek(h.IdLength, soFromCurrent);
  const std::int64_t mapEnd = Stream->Position() + std::int64_t{h.MapLength} * (h.EntrySize / 8);
  const TPGBitCount format = h.Depth == 8 ? pgbc8 : pgbc24;
  // Run-length data ends in an error, so it must hold a packet per 128 pixels; uncompressed rows
  // missing from a truncated file stay black, while the data can stand for them.
  const bool runLength = (h.ImageType & tgaRunLength) != 0;
  const std::int64_t pixels = std::int64_t{h.Width} * h.Height;
  const std::int64_t left =
      std::max<std::int64_t>(Stream->Size() - (h.ColorMapType == 1 ? mapEnd : Stream->Position()), 0);
  const std::int64_t picture = PictureBytes(h.Width, h.Height, format);
  if (runLength ? TooShortFor(picture, (pixels + 127) / 128 * (1 + bpp), left)
                : !DataCanFill(picture, left, kUncompressedExpansion))
    Refuse(PGLangStr(pgsUnexpectedEndOfFile));
  Graphic->SetSize(h.Width, h.Height, format);
  if (mapped) ReadColorMap(Stream, h, Graphic);
  else if (format == pgbc8)
    Graphic->SetPaletteIdent(pGray256);
  if (h.ColorMapType == 1) Stream->SetPosition(mapEnd);
  if (h.Height == 0) return;

  const bool mirrored = (h.Descriptor & kTGARightToLeft) != 0;
  const bool topDown = (h.Descriptor & kTGATopDown) != 0;
  const std::int64_t rowBytes = std::int64_t{h.Width} * bpp;
  std::vector<std::uint8_t> row(static_cast<std::size_t>(rowBytes), 0);
  TRunLengthPixels packets(Stream, bpp);
  TCodecProgress progress(Graphic, this);
  for (int r = 0; r < h.Height; ++r) {
    const int y = topDown ? r : h.Height - 1 - r;
    if (!runLength && (h.Depth == 8 || h.Depth == 24) && !mirrored) {
      Stream->Read(Graphic->ScanLine(y), rowBytes);
    } else {
      if (runLength) {
        packets.Row(row.data(), h.Width);
      } else {
        const std::int64_t got = Stream->Read(row.data(), rowBytes);
        if (got <= 0) break;  // the data has ended: the rows left stay black, as SetSize made them
        std::fill(row.begin() + got, row.end(), std::uint8_t{0});
      }
      for (int x = 0; x < h.Width; ++x)
        Graphic->SetPixel(mirrored ? h.Width - 1 - x : x, y, PixelValue(row.data() + x * bpp, h.Depth));
    }
    if (progress.Aborted(r, h.Height)) break;
  }
  progress.Finish();
}

void TTGAFileFormatReader::GetInfo(TStream* Stream, int Index, TPGImageInfo& Info) {
  Info = TPGImageInfo{};
  Info.ImageCount = 1;
  if (Index != 0) Refuse(PGLangStrS1(pgsInvalidValue, "Index"));
  const TTGAHeader h = ReadHeader(Stream);
  if (!KnownImageType(h.ImageType)) Refuse(PGLangStrS1(pgsInvalidValue, "ImageType"));
  Info.SubFormatText = h.ImageType & tgaRunLength ? "Run-length encoded" : "Uncompressed";
  const int kind = h.ImageType & ~tgaRunLength;
  Info.DetailsText = kind == tgaColorMapped ? "Color-mapped"
                     : kind == tgaTrueColor ? "True-color"
                                            : "\"Black-and-white\"";
  Info.Width = h.Width;
  Info.Height = h.Height;
  Info.BitsPerPixel = h.Depth;
  Info.ColorsText = h.Depth <= 23 ? std::to_string(1 << h.Depth) : h.Depth == 24 ? "16.7M" : "16.7M ?";
}
