// The BMP file codec. Input is hostile: every size is checked against what the stream holds
// before anything is allocated, and every read is bounded.
#include <algorithm>
#include <cstring>

#include "graphics_dib.h"
#include "win32/little_endian.h"

namespace dib {

namespace {

constexpr std::int64_t kMaxPixels = std::int64_t{1} << 26;

[[noreturn]] void Invalid() { throw EInvalidGraphic("Bitmap image is not valid"); }

struct TInfo {
  std::int64_t Width = 0;
  std::int64_t Height = 0;  // negative: top-down
  int BitCount = 0;
  DWORD Compression = BI_RGB;
  DWORD SizeImage = 0;
  DWORD ClrUsed = 0;
  DWORD Masks[3] = {0, 0, 0};
  bool Core = false;  // 12-byte header, RGBTRIPLE colour table
};

// A bounded reader over the bytes of a packed DIB or of a stream's rest.
struct TBytes {
  const BYTE* Data;
  std::size_t Size;
  std::size_t Pos = 0;
  const BYTE* Take(std::size_t n) {
    if (n > Size - Pos) Invalid();
    const BYTE* p = Data + Pos;
    Pos += n;
    return p;
  }
};

TInfo ReadInfo(TBytes& in) {
  const DWORD size = ReadLE32(in.Take(4));
  TInfo info;
  if (size == 12) {
    const BYTE* h = in.Take(8);
    info.Width = ReadLE16(h);
    info.Height = ReadLE16(h + 2);
    if (ReadLE16(h + 4) != 1) Invalid();
    info.BitCount = ReadLE16(h + 6);
    info.Core = true;
  } else if (size >= 40 && size <= 1024) {
    const BYTE* h = in.Take(size - 4);
    info.Width = static_cast<LONG>(ReadLE32(h));
    info.Height = static_cast<LONG>(ReadLE32(h + 4));
    if (ReadLE16(h + 8) != 1) Invalid();
    info.BitCount = ReadLE16(h + 10);
    info.Compression = ReadLE32(h + 12);
    info.SizeImage = ReadLE32(h + 16);
    info.ClrUsed = ReadLE32(h + 28);
    if (info.Compression == BI_BITFIELDS) {
      // A 40-byte header is followed by the masks; the later headers carry them inside.
      const BYTE* m = size >= 52 ? h + 36 : in.Take(12);
      for (int i = 0; i < 3; ++i) info.Masks[i] = ReadLE32(m + 4 * i);
    }
  } else {
    Invalid();
  }
  if (info.Width <= 0 || info.Height == 0 || info.Height == INT32_MIN) Invalid();
  const std::int64_t height = info.Height < 0 ? -info.Height : info.Height;
  if (info.Width * height > kMaxPixels) Invalid();
  const int b = info.BitCount;
  if (b != 1 && b != 4 && b != 8 && b != 16 && b != 24 && b != 32) Invalid();
  switch (info.Compression) {
    case BI_RGB: break;
    case BI_RLE8:
      if (b != 8 || info.Height < 0) Invalid();
      break;
    case BI_RLE4:
      if (b != 4 || info.Height < 0) Invalid();
      break;
    case BI_BITFIELDS:
      if ((b != 16 && b != 32) || !info.Masks[0] || !info.Masks[1] || !info.Masks[2]) Invalid();
      break;
    default: Invalid();
  }
  return info;
}

TPixelFormat FormatOf(const TInfo& info) {
  switch (info.BitCount) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16:
      if (info.Compression == BI_BITFIELDS && info.Masks[0] == 0xF800 && info.Masks[1] == 0x07E0 &&
          info.Masks[2] == 0x001F)
        return pf16bit;
      if (info.Compression != BI_BITFIELDS ||
          (info.Masks[0] == 0x7C00 && info.Masks[1] == 0x03E0 && info.Masks[2] == 0x001F))
        return pf15bit;
      return pf32bit;  // other masks are widened
    case 24: return pf24bit;
    default: return pf32bit;
  }
}

// One channel of a masked pixel, scaled to 8 bits.
BYTE MaskedChannel(std::uint32_t v, DWORD mask) {
  int shift = 0;
  while (!((mask >> shift) & 1)) ++shift;
  int bits = 0;
  while (shift + bits < 32 && ((mask >> (shift + bits)) & 1)) ++bits;
  const std::uint32_t value = (v & mask) >> shift;
  const std::uint32_t max = bits >= 32 ? 0xFFFFFFFFu : (std::uint32_t{1} << bits) - 1;
  return static_cast<BYTE>((static_cast<std::uint64_t>(value) * 255 + max / 2) / max);
}

// Runs of one index, literal runs, line ends and deltas into bottom-up rows; a run or delta that
// leaves the image is refused.
void DecodeRle(TBytes& in, std::size_t end, TDibImage& out, bool four) {
  const int stride = Stride(out.Width, out.Format);
  int x = 0, y = 0;
  auto put = [&](int index) {
    if (x >= out.Width || y >= out.Height) Invalid();
    SetPixelValue(out.Bits.data() + static_cast<std::size_t>(y) * stride, x++, out.Format,
                  static_cast<std::uint32_t>(index));
  };
  while (in.Pos + 2 <= end) {
    const BYTE* pair = in.Take(2);
    if (pair[0] > 0) {
      for (int i = 0; i < pair[0]; ++i) put(four ? (i % 2 ? pair[1] & 0xF : pair[1] >> 4) : pair[1]);
    } else if (pair[1] == 0) {
      x = 0, ++y;
    } else if (pair[1] == 1) {
      return;
    } else if (pair[1] == 2) {
      if (in.Pos + 2 > end) Invalid();
      const BYTE* d = in.Take(2);
      x += d[0], y += d[1];
      if (x > out.Width || y > out.Height) Invalid();
    } else {
      const int count = pair[1];
      const std::size_t bytes = four ? (count + 1) / 2 : count;
      if (in.Pos + bytes > end) Invalid();
      const BYTE* literal = in.Take(bytes);
      for (int i = 0; i < count; ++i) put(four ? (i % 2 ? literal[i / 2] & 0xF : literal[i / 2] >> 4) : literal[i]);
      if (bytes % 2) in.Take(1);
    }
  }
  Invalid();  // no end of bitmap
}

// The image of a header, colour table and pixels starting at Pixels.
TDibImage Decode(const TInfo& info, const std::vector<RGBQUAD>& colors, TBytes& in, std::size_t pixels) {
  if (pixels > in.Size) Invalid();
  in.Pos = pixels;
  TDibImage out;
  out.Width = static_cast<int>(info.Width);
  out.Height = static_cast<int>(info.Height < 0 ? -info.Height : info.Height);
  out.Format = FormatOf(info);
  out.Colors = colors;
  const std::size_t stride = static_cast<std::size_t>(Stride(out.Width, out.Format));
  if (info.Compression == BI_RLE8 || info.Compression == BI_RLE4) {
    const std::size_t end = info.SizeImage && info.SizeImage <= in.Size - in.Pos ? in.Pos + info.SizeImage : in.Size;
    // A run of two bytes paints at most 255 pixels: refuse images the data cannot fill.
    if (static_cast<std::int64_t>(out.Width) * out.Height > static_cast<std::int64_t>(end - in.Pos + 2) * 2048)
      Invalid();
    out.Bits.assign(stride * out.Height, 0);
    DecodeRle(in, end, out, info.Compression == BI_RLE4);
    return out;
  }
  const std::size_t srcStride = static_cast<std::size_t>(((info.Width * info.BitCount + 31) / 32) * 4);
  if (srcStride * out.Height > in.Size - in.Pos) Invalid();
  const BYTE* src = in.Take(srcStride * out.Height);
  out.Bits.assign(stride * out.Height, 0);
  const bool widen = info.BitCount == 16
                         ? out.Format == pf32bit
                         : info.BitCount == 32 && info.Compression == BI_BITFIELDS &&
                               !(info.Masks[0] == 0xFF0000 && info.Masks[1] == 0xFF00 && info.Masks[2] == 0xFF);
  for (int row = 0; row < out.Height; ++row) {
    const BYTE* s = src + srcStride * (info.Height < 0 ? out.Height - 1 - row : row);
    BYTE* d = out.Bits.data() + stride * row;
    if (!widen) {
      std::memcpy(d, s, std::min(stride, srcStride));
      continue;
    }
    for (int x = 0; x < out.Width; ++x) {
      const std::uint32_t v = info.BitCount == 16 ? ReadLE16(s + 2 * x) : ReadLE32(s + 4 * x);
      const RGBQUAD c{MaskedChannel(v, info.Masks[2]), MaskedChannel(v, info.Masks[1]), MaskedChannel(v, info.Masks[0]),
                      0};
      SetPixelColor(d, x, pf32bit, {}, c);
    }
  }
  return out;
}

std::vector<RGBQUAD> ReadColors(const TInfo& info, TBytes& in) {
  if (info.BitCount > 8) return {};
  const std::size_t capacity = std::size_t{1} << info.BitCount;
  const std::size_t count = info.ClrUsed && info.ClrUsed < capacity ? info.ClrUsed : capacity;
  const std::size_t entry = info.Core ? 3 : 4;
  const BYTE* table = in.Take(count * entry);
  std::vector<RGBQUAD> colors(count);
  for (std::size_t i = 0; i < count; ++i) colors[i] = {table[i * entry], table[i * entry + 1], table[i * entry + 2], 0};
  return colors;
}

}  // namespace

TDibImage ReadPackedDib(const BYTE* Data, std::size_t Size) {
  TBytes in{Data, Size};
  const TInfo info = ReadInfo(in);
  std::vector<RGBQUAD> colors = ReadColors(info, in);
  return Decode(info, colors, in, in.Pos);
}

TDibImage ReadBmp(TStream* Stream) {
  const std::int64_t start = Stream->Position();
  const std::int64_t available = Stream->Size() - start;
  BYTE fileHeader[14];
  if (available < 14 || Stream->Read(fileHeader, 14) != 14 || fileHeader[0] != 'B' || fileHeader[1] != 'M') Invalid();
  const DWORD offBits = ReadLE32(fileHeader + 10);
  // The header's file size is often wrong; the pixels end where the image's own sizes say.
  BYTE sizeField[4];
  if (Stream->Read(sizeField, 4) != 4) Invalid();
  const DWORD headerSize = ReadLE32(sizeField);
  if (headerSize != 12 && (headerSize < 40 || headerSize > 1024)) Invalid();
  // Read the headers and colour table first, then only as many pixel bytes as the image needs.
  const std::int64_t rest = available - 14;
  const std::size_t headBytes = static_cast<std::size_t>(std::min<std::int64_t>(rest, headerSize + 12 + 256 * 4));
  std::vector<BYTE> head(headBytes);
  std::memcpy(head.data(), sizeField, 4);
  const std::int64_t got = Stream->Read(head.data() + 4, static_cast<std::int64_t>(headBytes) - 4);
  if (got != static_cast<std::int64_t>(headBytes) - 4) Invalid();
  TBytes headIn{head.data(), head.size()};
  const TInfo info = ReadInfo(headIn);
  const std::vector<RGBQUAD> colors = ReadColors(info, headIn);
  const std::int64_t pixelStart = offBits >= 14 + headIn.Pos ? offBits - 14 : static_cast<std::int64_t>(headIn.Pos);
  if (pixelStart > rest) Invalid();
  const std::int64_t height = info.Height < 0 ? -info.Height : info.Height;
  std::int64_t pixelBytes = ((info.Width * info.BitCount + 31) / 32) * 4 * height;
  if (info.Compression == BI_RLE8 || info.Compression == BI_RLE4)
    pixelBytes = info.SizeImage ? info.SizeImage : rest - pixelStart;
  pixelBytes = std::min(pixelBytes, rest - pixelStart);
  std::vector<BYTE> pixels(static_cast<std::size_t>(pixelBytes));
  Stream->SetPosition(start + 14 + pixelStart);
  if (Stream->Read(pixels.data(), pixelBytes) != pixelBytes) Invalid();
  TBytes in{pixels.data(), pixels.size()};
  return Decode(info, colors, in, 0);
}

void WritePackedDib(TStream* Stream, int Width, int Height, TPixelFormat Format, const std::vector<RGBQUAD>& Colors,
                    const BYTE* Bits) {
  const std::vector<BYTE> info = MakeBitmapInfo(Width, Height, Format, Colors);
  Stream->WriteBuffer(info.data(), static_cast<std::int64_t>(info.size()));
  Stream->WriteBuffer(Bits, static_cast<std::int64_t>(Stride(Width, Format)) * Height);
}

void WriteBmp(TStream* Stream, int Width, int Height, TPixelFormat Format, const std::vector<RGBQUAD>& Colors,
              const BYTE* Bits) {
  const std::vector<BYTE> info = MakeBitmapInfo(Width, Height, Format, Colors);
  const DWORD offBits = static_cast<DWORD>(14 + info.size());
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfSize = offBits + static_cast<DWORD>(Stride(Width, Format)) * static_cast<DWORD>(Height);
  fh.bfOffBits = offBits;
  Stream->WriteBuffer(&fh, sizeof fh);
  Stream->WriteBuffer(info.data(), static_cast<std::int64_t>(info.size()));
  Stream->WriteBuffer(Bits, static_cast<std::int64_t>(Stride(Width, Format)) * Height);
}

}  // namespace dib
