// Checking and copying the bitmaps of the blit records.
#include "metafile/dib_source.h"

#include <cstring>

namespace metafile {

namespace {

constexpr long kMaxSide = 1 << 16;

struct Layout {
  std::size_t headerSize = 0;
  std::size_t tableBytes = 0;  // colours, or the three bit-field masks
  std::size_t trailing = 0;  // bytes between the header and the scan lines
  std::size_t tableAt = 0;  // offset of the table from the header
  long width = 0, height = 0;
  int bitCount = 0;
  std::size_t imageBytes = 0;
};

std::optional<Layout> ReadLayout(RecordReader& r, std::size_t at, std::size_t available) {
  Layout l;
  l.headerSize = r.U32(at);
  l.width = r.S32(at + 4);
  l.height = r.S32(at + 8);
  WORD planes = r.U16(at + 12);
  l.bitCount = r.U16(at + 14);
  DWORD compression = r.U32(at + 16);
  DWORD used = r.U32(at + 32);
  if (r.Bad() || l.headerSize < 40 || l.headerSize > available || planes != 1) return std::nullopt;
  if (l.width <= 0 || l.width > kMaxSide || l.height == 0 || l.height < -kMaxSide || l.height > kMaxSide)
    return std::nullopt;
  switch (l.bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32: break;
    default: return std::nullopt;
  }
  if (compression == BI_BITFIELDS) {
    if (l.bitCount != 16 && l.bitCount != 32) return std::nullopt;
    // The masks follow a 40-byte header and are part of the longer ones, at the same place.
    if (l.headerSize != 40 && l.headerSize < 52) return std::nullopt;
    l.tableBytes = 12;
    l.tableAt = 40;
    l.trailing = l.headerSize == 40 ? 12 : 0;
  } else if (compression != BI_RGB) {
    return std::nullopt;
  }
  if (l.bitCount <= 8) {
    std::size_t capacity = std::size_t{1} << l.bitCount;
    std::size_t colours = used == 0 || used > capacity ? capacity : used;
    l.tableBytes = colours * 4;
    l.tableAt = l.headerSize;
    l.trailing = l.tableBytes;
  }
  if (l.trailing > available - l.headerSize || l.tableAt + l.tableBytes > available) return std::nullopt;
  std::size_t stride = ((static_cast<std::size_t>(l.width) * static_cast<std::size_t>(l.bitCount) + 31) / 32) * 4;
  l.imageBytes = stride * static_cast<std::size_t>(l.height < 0 ? -l.height : l.height);
  return l;
}

DibSource Copy(RecordReader& r, std::size_t at, const Layout& l, const BYTE* bits) {
  DibSource d;
  d.info.assign((40 + l.tableBytes + 3) / 4, 0);
  auto* out = reinterpret_cast<BYTE*>(d.info.data());
  std::memcpy(out, r.At(at), 40);
  std::memcpy(out + 40, r.At(at + l.tableAt), l.tableBytes);
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(out);
  header->biSize = 40;
  header->biClrUsed = l.bitCount <= 8 ? static_cast<DWORD>(l.tableBytes / 4) : 0;
  d.bits = bits;
  d.width = static_cast<int>(l.width);
  d.height = static_cast<int>(l.height < 0 ? -l.height : l.height);
  return d;
}

}  // namespace

std::optional<DibSource> ReadDib(RecordReader& r, std::size_t infoOffset, std::size_t infoSize, std::size_t bitsOffset,
                                 std::size_t bitsSize) {
  if (!r.Has(infoOffset, infoSize) || !r.Has(bitsOffset, bitsSize)) return std::nullopt;
  std::optional<Layout> l = ReadLayout(r, infoOffset, infoSize);
  if (!l || l->imageBytes > bitsSize) return std::nullopt;
  return Copy(r, infoOffset, *l, r.At(bitsOffset));
}

std::optional<DibSource> ReadPackedDib(RecordReader& r, std::size_t offset) {
  if (offset > r.Size()) return std::nullopt;
  std::size_t available = r.Size() - offset;
  std::optional<Layout> l = ReadLayout(r, offset, available);
  if (!l) return std::nullopt;
  std::size_t bitsAt = offset + l->headerSize + l->trailing;
  if (!r.Has(bitsAt, l->imageBytes)) return std::nullopt;
  return Copy(r, offset, *l, r.At(bitsAt));
}

}  // namespace metafile
