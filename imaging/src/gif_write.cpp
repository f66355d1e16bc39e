#include "imaging/gif_writer.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

constexpr int kMaxCodes = 4096;

// The encoder's strings: (prefix code, next byte) to code, open addressing, cleared with the table.
class StringTable {
 public:
  StringTable() { Clear(); }
  void Clear() { keys_.fill(kEmpty); }
  // The code of (prefix, byte), or -1.
  int Find(int prefix, std::uint8_t byte) const {
    const std::uint32_t key = Key(prefix, byte);
    for (std::size_t at = Hash(key);; at = (at + 1) & (kSlots - 1)) {
      if (keys_[at] == kEmpty) return -1;
      if (keys_[at] == key) return codes_[at];
    }
  }
  void Add(int prefix, std::uint8_t byte, int code) {
    const std::uint32_t key = Key(prefix, byte);
    std::size_t at = Hash(key);
    while (keys_[at] != kEmpty) at = (at + 1) & (kSlots - 1);
    keys_[at] = key;
    codes_[at] = static_cast<std::int16_t>(code);
  }

 private:
  static constexpr std::size_t kSlots = 2 * 8192;  // at most 4096 entries: never more than a quarter full
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFF;
  static std::uint32_t Key(int prefix, std::uint8_t byte) { return static_cast<std::uint32_t>(prefix) << 8 | byte; }
  static std::size_t Hash(std::uint32_t key) { return (key * 2654435761u) >> 18 & (kSlots - 1); }
  std::array<std::uint32_t, kSlots> keys_;
  std::array<std::int16_t, kSlots> codes_{};
};

// The code size, then the packed codes in sub-blocks of `subBlockSize` bytes, then the terminator.
std::vector<std::uint8_t> SubBlocks(int codeSize, const std::vector<std::uint8_t>& packed, int subBlockSize) {
  const std::size_t block = static_cast<std::size_t>(std::clamp(subBlockSize, 1, 255));
  std::vector<std::uint8_t> out{static_cast<std::uint8_t>(codeSize)};
  out.reserve(packed.size() + packed.size() / block + 3);
  for (std::size_t i = 0; i < packed.size(); i += block) {
    const std::size_t n = std::min(packed.size() - i, block);
    out.push_back(static_cast<std::uint8_t>(n));
    out.insert(out.end(), packed.begin() + static_cast<std::ptrdiff_t>(i),
               packed.begin() + static_cast<std::ptrdiff_t>(i + n));
  }
  out.push_back(0);
  return out;
}

}  // namespace

std::vector<std::uint8_t> GifLzwEncode(const std::vector<std::uint8_t>& Pixels, const GifLzwOptions& o) {
  const int codeSize = std::clamp(o.minimumCodeSize, 1, 8);
  const int clear = 1 << codeSize, end = clear + 1;
  std::vector<std::uint8_t> packed;
  std::uint32_t buffer = 0;
  int bits = 0;
  int width = codeSize + 1, limit = 2 * clear, decoderNext = clear + 2, encoderNext = clear + 2;
  bool fresh = true;
  StringTable table;
  const auto put = [&](int code) {
    buffer |= static_cast<std::uint32_t>(code) << bits;
    bits += width;
    while (bits >= 8) {
      packed.push_back(static_cast<std::uint8_t>(buffer));
      buffer >>= 8;
      bits -= 8;
    }
  };
  // The decoder adds an entry for every code but the first after a clear; its width follows.
  const auto emit = [&](int code) {
    put(code);
    if (!fresh && decoderNext < kMaxCodes && ++decoderNext >= limit && limit < kMaxCodes) {
      limit *= 2;
      ++width;
    }
    fresh = false;
  };
  const auto clearTable = [&] {
    put(clear);
    table.Clear();
    width = codeSize + 1;
    limit = 2 * clear;
    decoderNext = encoderNext = clear + 2;
    fresh = true;
  };
  if (o.leadingClear) clearTable();
  int current = -1;
  for (std::uint8_t p : Pixels) {
    if (current < 0) {
      current = p;
      continue;
    }
    if (const int found = table.Find(current, p); found >= 0) {
      current = found;
      continue;
    }
    emit(current);
    if (encoderNext < kMaxCodes) table.Add(current, p, encoderNext++);
    else if (o.clearWhenFull)
      clearTable();
    current = p;
  }
  if (current >= 0) emit(current);
  if (o.endCode) put(end);
  if (bits > 0) packed.push_back(static_cast<std::uint8_t>(buffer));
  return SubBlocks(codeSize, packed, o.subBlockSize);
}

namespace {

// Appends the fields of a GIF stream, little-endian.
class GifStream {
 public:
  void U8(int v) { out_.push_back(static_cast<std::uint8_t>(v)); }
  void U16(int v) {
    U8(v & 0xFF);
    U8(v >> 8 & 0xFF);
  }
  void Text(std::string_view s) {
    for (char c : s) U8(c);
  }
  void Bytes(const std::vector<std::uint8_t>& b) { out_.insert(out_.end(), b.begin(), b.end()); }
  std::vector<std::uint8_t> Take() { return std::move(out_); }

 private:
  std::vector<std::uint8_t> out_;
};

// The global table holds 2^(bits + 1) entries. It also covers every index the frames use, so that
// the codes stay apart from the clear and end codes; entries past the palette are black.
int TableSizeBits(const std::vector<TColorTriple>& Palette, const std::vector<TGifFrame>& Frames) {
  std::size_t entries = Palette.size();
  for (const TGifFrame& f : Frames)
    if (!f.Indexes.empty())
      entries = std::max<std::size_t>(entries, *std::max_element(f.Indexes.begin(), f.Indexes.end()) + 1u);
  int sizeBits = 0;
  while ((2u << sizeBits) < entries && sizeBits < 7) ++sizeBits;
  return sizeBits;
}

void PutScreen(GifStream& out, int Width, int Height, const std::vector<TColorTriple>& Palette, int sizeBits) {
  out.Text("GIF89a");
  out.U16(Width);
  out.U16(Height);
  out.U8(0x80 | sizeBits << 4 | sizeBits);  // global table, colour resolution, table size
  out.U8(0);  // background index
  out.U8(0);  // no aspect ratio
  for (int i = 0; i < 2 << sizeBits; ++i) {
    const TColorTriple c = i < static_cast<int>(Palette.size()) ? Palette[static_cast<std::size_t>(i)] : TColorTriple{};
    out.U8(c.r);
    out.U8(c.g);
    out.U8(c.b);
  }
}

void PutLoopForEver(GifStream& out) {
  out.U8(0x21);
  out.U8(0xFF);
  out.U8(11);
  out.Text("NETSCAPE2.0");
  out.U8(3);
  out.U8(1);
  out.U16(0);  // repeat for ever
  out.U8(0);
}

void PutFrame(GifStream& out, const TGifFrame& f, int codeSize) {
  out.U8(0x21);
  out.U8(0xF9);
  out.U8(4);
  out.U8(f.Transparent >= 0 ? 0x05 : 0x04);  // leave the frame in place; transparency flag
  out.U16(f.Delay);
  out.U8(f.Transparent >= 0 ? f.Transparent : 0);
  out.U8(0);
  out.U8(0x2C);
  out.U16(f.Left);
  out.U16(f.Top);
  out.U16(f.Width);
  out.U16(f.Height);
  out.U8(0);  // no local table, not interlaced
  out.Bytes(GifLzwEncode(f.Indexes, {.minimumCodeSize = codeSize}));
}

}  // namespace

std::vector<std::uint8_t> GifFileBytes(int Width, int Height, const std::vector<TColorTriple>& Palette,
                                       const std::vector<TGifFrame>& Frames, bool Loop) {
  GifStream out;
  const int sizeBits = TableSizeBits(Palette, Frames);
  PutScreen(out, Width, Height, Palette, sizeBits);
  if (Loop && Frames.size() > 1) PutLoopForEver(out);
  const int codeSize = std::max(2, sizeBits + 1);
  for (const TGifFrame& f : Frames) PutFrame(out, f, codeSize);
  out.U8(0x3B);
  return out.Take();
}
