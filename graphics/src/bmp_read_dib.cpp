// Decoding a packed DIB (header, colour table, pixels) into the image.
#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "bmp_header.h"
#include "graphics/exceptions.h"
#include "graphics/messages.h"
#include "graphics/palettes.h"
#include "picture_budget.h"
#include "win32/little_endian.h"

namespace {

[[noreturn]] void HeaderFault(const char* field) {
  throw EPGBMPFileFormatReader(kBMPPrefix + PGLangStrS1(pgsInvalid, field));
}

TPGBitCount FormatOfBitCount(int bitCount) {
  return bitCount == 1 ? pgbc1 : bitCount == 4 ? pgbc4 : bitCount == 8 ? pgbc8 : pgbc24;
}

// Bytes left between the position and the end; 0 when the size cannot be told.
std::int64_t BytesLeft(TStream* stream) {
  const std::int64_t position = stream->Position();
  return std::max<std::int64_t>(stream->Size() - position, 0);
}

bmp::Masks DefaultMasks(int bitCount) { return bitCount == 16 ? bmp::kDefault16 : bmp::kDefault32; }

}  // namespace

TBMPHeader ReadCoreHeader(TStream* Stream) {
  std::uint8_t b[12] = {};
  Stream->Read(b, sizeof b);
  TBMPHeader h;
  h.Core = true;
  h.Width = ReadLE16(b + 4);
  h.Height = ReadLE16(b + 6);
  if (ReadLE16(b + 8) != 1) HeaderFault("BitmapCoreHeader.bcPlanes");
  h.BitCount = ReadLE16(b + 10);
  if (h.BitCount != 1 && h.BitCount != 4 && h.BitCount != 8 && h.BitCount != 24)
    HeaderFault("BitmapCoreHeader.bcBitCount");
  return h;
}

TBMPHeader ReadInfoHeader(TStream* Stream) {
  std::uint8_t b[bmp::kInfoHeaderSize] = {};
  Stream->Read(b, sizeof b);
  TBMPHeader h;
  h.Size = ReadLE32(b);
  h.Width = static_cast<std::int32_t>(ReadLE32(b + 4));
  h.Height = static_cast<std::int32_t>(ReadLE32(b + 8));
  if (ReadLE16(b + 12) != 1) HeaderFault("BitmapInfoHeader.biPlanes");
  h.BitCount = ReadLE16(b + 14);
  if (h.BitCount != 1 && h.BitCount != 4 && h.BitCount != 8 && h.BitCount != 16 && h.BitCount != 24 && h.BitCount != 32)
    HeaderFault("BitmapInfoHeader.biBitCount");
  h.Compression = ReadLE32(b + 16);
  // OS/2 2.x's compression 3 is Huffman coding, which is not read.
  const bool bitFields = h.Compression == BI_BITFIELDS && h.Size != bmp::kOs2HeaderSize;
  const bool allowed = h.Compression == BI_RGB || (bitFields && (h.BitCount == 16 || h.BitCount == 32)) ||
                       (h.Compression == BI_RLE4 && h.BitCount == 4 && h.Height >= 0) ||
                       (h.Compression == BI_RLE8 && h.BitCount == 8 && h.Height >= 0);
  if (!allowed) HeaderFault("BitmapInfoHeader.biCompression");
  // Its row count cannot be negated.
  if (h.Height == INT_MIN) HeaderFault("BitmapInfoHeader.biHeight");
  h.SizeImage = ReadLE32(b + 20);
  h.ClrUsed = ReadLE32(b + 32);
  h.Masks = DefaultMasks(h.BitCount);
  std::int64_t consumed = bmp::kInfoHeaderSize;
  if (bitFields) {
    std::uint8_t m[bmp::kMasksBytes] = {};
    Stream->Read(m, sizeof m);
    h.Masks = {ReadLE32(m), ReadLE32(m + 4), ReadLE32(m + 8)};
    consumed += bmp::kMasksBytes;
  }
  if (h.Size > consumed) Stream->Seek(h.Size - consumed, soFromCurrent);
  return h;
}

void TPixelGraphic::ReadWithProgress(TStream* Stream, void* Buffer, std::int64_t Count) {
  auto* out = static_cast<std::uint8_t*>(Buffer);
  if (Count < 101) {
    Stream->Read(out, Count);
    return;
  }
  const std::int64_t piece = Count / 10;
  for (int k = 1; k <= 10; ++k) {
    const std::int64_t n = k < 10 ? piece : Count - 9 * piece;
    Stream->Read(out, n);
    out += n;
    if (ReportRowDone(k, 10)) return;
  }
}

void TPixelGraphic::ReadDIB(TStream* Stream, bool CoreHeader, std::int64_t PixelsAt) {
  FlushGdi();
  if (OnProgressStart) OnProgressStart(this);
  const TBMPHeader h = CoreHeader ? ReadCoreHeader(Stream) : ReadInfoHeader(Stream);
  const int rows = h.Height < 0 ? -h.Height : h.Height;
  // Pixels missing from a truncated file stay zero, but only while the data can stand for them.
  const bool runLength = h.Compression == BI_RLE8 || h.Compression == BI_RLE4;
  const std::int64_t dataLeft = PixelsAt > Stream->Position() ? std::max<std::int64_t>(Stream->Size() - PixelsAt, 0)
                                                              : BytesLeft(Stream);
  if (!DataCanFill(PictureBytes(h.Width, rows, h.BitCount > 8 ? pgbc24 : FormatOfBitCount(h.BitCount)), dataLeft,
                   runLength ? kCompressedExpansion : kUncompressedExpansion))
    throw EPGBMPFileFormatReader(kBMPPrefix + PGLangStr(pgsUnexpectedEndOfFile));
  if (h.BitCount > 8) {
    SetSize(h.Width, rows, pgbc24);
    SetPaletteCount(0);
    paletteIdent_ = pTrueColor;
    if (h.ClrUsed > 0) Stream->Seek(std::int64_t{h.ClrUsed} * 4, soFromCurrent);
  } else {
    const TPGBitCount format = FormatOfBitCount(h.BitCount);
    SetSize(h.Width, rows, format);
    const int capacity = GetPaletteCapacity();
    // A count past the capacity would not fit the format: use what fits and skip the rest.
    const std::int64_t stored = CoreHeader || h.ClrUsed == 0 ? capacity : std::int64_t{h.ClrUsed};
    const int count = static_cast<int>(std::min<std::int64_t>(stored, capacity));
    SetPaletteCount(count);
    const int entrySize = CoreHeader ? 3 : 4;
    std::vector<std::uint8_t> table(static_cast<std::size_t>(count * entrySize), 0);
    Stream->Read(table.data(), static_cast<std::int64_t>(table.size()));
    if (stored > count) Stream->Seek((stored - count) * entrySize, soFromCurrent);
    if (paletteIdent_ == pNone || paletteIdent_ == pTrueColor) paletteIdent_ = pUnknown;
    for (int i = 0; i < count; ++i) {
      const std::uint8_t* e = table.data() + i * entrySize;
      SetPaletteEntry(i, RGBToColor(e[2], e[1], e[0]));
    }
  }

  // Only a gap after the colour table is skipped: an offset into the table or the headers is
  // taken for a writer's slip, and the pixels follow the table.
  if (PixelsAt > Stream->Position()) Stream->Seek(std::min(PixelsAt, Stream->Size()), soFromBeginning);

  if (h.Compression == BI_RLE8 || h.Compression == BI_RLE4) {
    // The header's size is not trusted: no more than the stream still holds.
    const std::int64_t size = std::min<std::int64_t>(h.SizeImage, BytesLeft(Stream));
    std::vector<std::uint8_t> data(static_cast<std::size_t>(size), 0);
    ReadWithProgress(Stream, data.data(), size);
    DecodeRunLength(data.data(), size, h.Compression == BI_RLE4);
  } else if (h.BitCount == 16 || h.BitCount == 32) {
    const DWORD masks[3] = {h.Masks.red, h.Masks.green, h.Masks.blue};
    ReadBitFieldPixels(Stream, h.BitCount, masks);
  } else if (bits_) {
    ReadWithProgress(Stream, bits_, imageSize_);
  }
  if (h.Height < 0) FlipRows();
  if (OnProgressEnd) OnProgressEnd(this);
}

void TPixelGraphic::ReadBitFieldPixels(TStream* Stream, int BitCount, const DWORD Masks[3]) {
  if (!bits_) return;
  const std::int64_t fileStride = (std::int64_t{BitCount} * width_ + 31) / 32 * 4;
  std::vector<std::uint8_t> row(static_cast<std::size_t>(fileStride));
  const bool sixteen = BitCount == 16, halfStep = sixteen && PGScale16BitChannels;
  for (int i = 0; i < height_; ++i) {
    std::fill(row.begin(), row.end(), 0);
    const std::int64_t got = std::max<std::int64_t>(Stream->Read(row.data(), fileStride), 0);
    std::uint8_t* out = ScanLine(height_ - 1 - i);
    // Pixels past the end of the data are zero, which every mask makes black: a few bytes can
    // declare millions of them, so they are cleared at once rather than decoded one by one.
    const int decoded = static_cast<int>(std::min<std::int64_t>(width_, (got * 8 + BitCount - 1) / BitCount));
    for (int x = 0; x < decoded; ++x) {
      const std::uint32_t v = sixteen ? ReadLE16(row.data() + 2 * x) : ReadLE32(row.data() + 4 * x);
      out[3 * x] = static_cast<std::uint8_t>(bmp::Channel(v, Masks[2], halfStep));
      out[3 * x + 1] = static_cast<std::uint8_t>(bmp::Channel(v, Masks[1], halfStep));
      out[3 * x + 2] = static_cast<std::uint8_t>(bmp::Channel(v, Masks[0], halfStep));
    }
    std::memset(out + 3 * static_cast<std::ptrdiff_t>(decoded), 0, 3 * static_cast<std::size_t>(width_ - decoded));
    if (got < fileStride) {
      // The data has ended: the rows above are black as well, the rest of the image from here.
      const std::size_t done = static_cast<std::size_t>(stride_) * (i + 1);
      std::memset(bits_ + done, 0, static_cast<std::size_t>(imageSize_) - done);
      ReportRowDone(height_ - 1, height_);
      return;
    }
    if (ReportRowDone(i, height_)) return;
  }
}

void TPixelGraphic::FlipRows() {
  if (!bits_) return;
  std::vector<std::uint8_t> swap(static_cast<std::size_t>(stride_));
  for (int top = 0, bottom = height_ - 1; top < bottom; ++top, --bottom) {
    std::uint8_t* a = bits_ + static_cast<std::ptrdiff_t>(stride_) * top;
    std::uint8_t* b = bits_ + static_cast<std::ptrdiff_t>(stride_) * bottom;
    std::memcpy(swap.data(), a, swap.size());
    std::memcpy(a, b, swap.size());
    std::memcpy(b, swap.data(), swap.size());
  }
}

void TPixelGraphic::DecodeRunLength(const std::uint8_t* Data, std::int64_t Size, bool FourBits) {
  std::int64_t pos = 0;
  std::int64_t x = 0, y = height_ - 1;
  const std::int64_t tenth = Size / 10;
  auto put = [&](std::int64_t px, std::uint32_t value) {
    if (px >= 0 && px < width_ && y >= 0 && y < height_) SetPixel(static_cast<int>(px), static_cast<int>(y), value);
  };
  while (pos < Size - 1) {
    const std::uint8_t n = Data[pos], second = Data[pos + 1];
    if (n > 0) {
      for (int i = 0; i < n; ++i) put(x + i, FourBits ? (i % 2 == 0 ? second >> 4 : second & 0x0F) : second);
      x += n;
      pos += 2;
    } else if (second == 0) {
      x = 0;
      --y;
      pos += 2;
    } else if (second == 1) {
      break;
    } else if (second == 2) {
      if (pos >= Size - 3) break;
      x += Data[pos + 2];
      y -= Data[pos + 3];
      pos += 4;
    } else {
      const std::int64_t bytes = FourBits ? (second + 1) / 2 : second;
      // Operands past the end: the command stops the decoding.
      if (pos + 2 + bytes > Size) break;
      const std::uint8_t* literal = Data + pos + 2;
      for (int i = 0; i < second; ++i)
        put(x + i, FourBits ? (i % 2 == 0 ? literal[i / 2] >> 4 : literal[i / 2] & 0x0F) : literal[i]);
      x += second;
      pos += 2 + bytes;
      if (pos % 2 == 1) ++pos;
    }
    if (Size >= 10 && pos % tenth == 0 && ReportRowDone(static_cast<int>(pos / tenth), 10)) break;
  }
}
