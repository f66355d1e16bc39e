#include <array>
#include <cstring>
#include <vector>

#include "buffered_read_stream.h"
#include "imaging/gif_lzw.h"
#include "imaging/gif_reader.h"
#include "imaging/screen_dpi.h"
#include "vcl/graphics_images.h"
#include "win32/little_endian.h"

namespace {

const char kUnrecognized[] = "unrecognized GIF";
// Pixels one byte of LZW data can stand for: 4096 pixels per 12-bit code.
constexpr std::int64_t kMaxLzwPixelsPerByte = 4096 * 8 / 12 + 1;

// Every table has 256 zeroed entries, so any index byte finds a colour (black beyond the file's).
using ColorTable = std::array<TColorTriple, 256>;

bool ReadByte(TStream* s, std::uint8_t& b) { return s->Read(&b, 1) == 1; }

// 2^(bits+1) entries stored red, green, blue; what the file lacks stays black.
void ReadTable(TStream* s, int sizeBits, ColorTable& table) {
  table.fill({});
  std::uint8_t rgb[768] = {};
  const int count = 2 << sizeBits;
  s->Read(rgb, 3 * count);
  for (int i = 0; i < count; ++i) table[static_cast<std::size_t>(i)] = {rgb[3 * i + 2], rgb[3 * i + 1], rgb[3 * i]};
}

struct GraphicControl {
  std::uint8_t flags = 0, transparent = 0;
  int delay = 0;
};

// A black and white two-colour image is kept at 1 bit, its set bits index 1 (the white one);
// indexes past the map are black, as at 24 bits. Every other image shows its own colours at 24 bits.
void WriteBitmap(TBitmap& bitmap, const std::vector<std::uint8_t>& indexes, int width, int height, int bits,
                 const ColorTable& table) {
  const bool oneBit = bits == 1 && StartsBlackAndWhite(table.data(), table.size());
  Reshape(bitmap, oneBit ? pf1bit : pf24bit, width, height);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* in = indexes.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    std::uint8_t* out = RowOf(bitmap, y);
    if (oneBit) {
      for (int x = 0; x < width; ++x)
        if (in[x] == 1) out[x >> 3] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
      continue;
    }
    for (int x = 0; x < width; ++x, out += 3) {
      const TColorTriple& c = table[in[x]];
      out[0] = c.b;
      out[1] = c.g;
      out[2] = c.r;
    }
  }
}

// The screen descriptor and global table; the table's size in bits less one.
int ReadScreen(TStream* Source, ColorTable& global, TVelmoraIOParams& Params) {
  std::uint8_t header[13] = {};
  if (Source->Read(header, 13) != 13 || std::memcmp(header, "GIF", 3) != 0) throw EInvalidGraphic(kUnrecognized);
  Params.GifVersion.assign(reinterpret_cast<const char*>(header), 6);
  Params.GifWinWidth = ReadLE16(header + 6);
  Params.GifWinHeight = ReadLE16(header + 8);
  Params.GifRatio = header[12];
  Params.DpiX = ScreenDpiX();
  Params.DpiY = ScreenDpiY();
  Params.SamplesPerPixel = 1;
  const int globalBits = header[10] & 7;
  if (header[10] & 0x80) {
    ReadTable(Source, globalBits, global);
    Params.GifBackground = global[header[11]];
  }
  return globalBits;
}

// An extension after its introducer: the graphic control of the wanted image is kept, the rest
// skipped. False when the file ends before its label.
bool ReadExtension(TStream* Source, bool wantedNext, GraphicControl& control) {
  std::uint8_t label = 0;
  if (!ReadByte(Source, label)) return false;
  if (label == 0xF9 && wantedNext) {
    std::uint8_t body[6] = {};
    Source->Read(body, 6);  // size, flags, delay, transparent index, terminator
    control = {body[1], body[4], ReadLE16(body + 2)};
  } else {
    GifSkipSubBlocks(Source);
  }
  return true;
}

// The wanted image, whose descriptor `d` has been read, into the bitmap.
void ReadImage(TStream* Source, const std::uint8_t* d, const ColorTable& table, int bits, const GraphicControl& control,
               TBitmap& Bitmap, const TProgressRec& Progress, TVelmoraIOParams& Params) {
  Progress.Report(30);
  const int width = ReadLE16(d + 4), height = ReadLE16(d + 6);
  Params.GifXPos = ReadLE16(d);
  Params.GifYPos = ReadLE16(d + 2);
  Params.Width = width;
  Params.Height = height;
  Params.GifDelay = control.delay;
  Params.GifTransparent = control.flags & 1;
  Params.GifTranspColor = table[control.transparent];
  Params.GifInterlaced = d[8] & 0x40;
  if (!Params.GifLzwDecoder) throw EInvalidGraphic("LZW decompressor not found");
  // A 12-bit code stands for at most 4096 pixels, so the data left must be able to hold the
  // picture's codes: a few bytes declaring millions of pixels are refused before sizing.
  const std::int64_t pixels = std::int64_t{width} * height;
  if (width == 0 || height == 0 || !FitsBitmap(width, height, 24) ||
      pixels / kMaxLzwPixelsPerByte > Source->Size() - Source->Position())
    throw EInvalidGraphic(kUnrecognized);
  // Zeroed, so pixels past the end of damaged data take index 0.
  std::vector<std::uint8_t> indexes(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
  Params.GifLzwDecoder(Source, height, width, Params.GifInterlaced, indexes.data());
  Progress.Report(70);
  Params.BitsPerSample = bits;
  Params.ColorMap.assign(table.begin(), table.begin() + (1 << bits));
  WriteBitmap(Bitmap, indexes, width, height, bits, table);
}

}  // namespace

void GIFReadStream(TStream* Stream, TBitmap& Bitmap, int& ImageCount, const TProgressRec& Progress,
                   TVelmoraIOParams& Params) {
  // Blocks are read a byte, a seek or a size at a time, the decoder's too.
  TBufferedReadStream buffered(Stream);
  TStream* Source = &buffered;
  Progress.Report(0);
  GraphicControl control;
  const int wanted = Params.GifImageIndex;
  ColorTable global{}, local{};
  const int globalBits = ReadScreen(Source, global, Params);

  ImageCount = 0;
  std::uint8_t block = 0;
  while (ReadByte(Source, block) && block != 0x3B) {
    if (block == 0x21) {
      if (!ReadExtension(Source, ImageCount == wanted, control)) break;
      continue;
    }
    if (block != 0x2C) continue;
    std::uint8_t d[9] = {};
    if (Source->Read(d, 9) != 9) break;
    const bool hasLocal = d[8] & 0x80;
    const int localBits = d[8] & 7;
    if (hasLocal) ReadTable(Source, localBits, local);
    if (ImageCount++ != wanted) {
      std::uint8_t codeSize = 0;
      if (ReadByte(Source, codeSize)) GifSkipSubBlocks(Source);
      continue;
    }
    ReadImage(Source, d, hasLocal ? local : global, (hasLocal ? localBits : globalBits) + 1, control, Bitmap, Progress,
              Params);
  }
  Progress.Report(100);
}

void GIFReadFile(const std::string& FileName, TBitmap& Bitmap, int& ImageCount, const TProgressRec& Progress,
                 TVelmoraIOParams& Params) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  GIFReadStream(&stream, Bitmap, ImageCount, Progress, Params);
}
