#pragma once
// A tiny TIFF writer for the reader tests, in either byte order: strips first, then the
// directories with their out-of-line values.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct TiffField {
  int type;  // 1 BYTE, 2 ASCII, 3 SHORT, 4 LONG, 5 RATIONAL
  std::vector<std::uint32_t> values;
};

struct TiffDirectory {
  std::map<int, TiffField> fields;
  std::vector<std::vector<std::uint8_t>> strips;  // StripOffsets and StripByteCounts are made from these
  bool tiled = false;  // the strips are tiles: TileOffsets and TileByteCounts instead

  TiffDirectory& Set(int tag, int type, std::vector<std::uint32_t> values) {
    fields[tag] = {type, std::move(values)};
    return *this;
  }
  TiffDirectory& Text(int tag, const std::string& text) {
    std::vector<std::uint32_t> v(text.begin(), text.end());
    v.push_back(0);
    return Set(tag, 2, v);
  }
};

// The file's bytes in its byte order.
struct TiffBytes {
  std::vector<std::uint8_t> out;
  bool bigEndian = false;

  void Put(std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) {
      const int shift = bigEndian ? 8 * (bytes - 1 - i) : 8 * i;
      out.push_back(static_cast<std::uint8_t>(v >> shift));
    }
  }
  void Patch(std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
      out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (bigEndian ? 8 * (3 - i) : 8 * i));
  }
  void Align() {
    if (out.size() % 2) out.push_back(0);
  }
};

// The directory's strips, with offset and count fields for them unless it has its own.
inline void WriteTiffStrips(TiffBytes& b, TiffDirectory& d, int offsetType) {
  std::vector<std::uint32_t> offsets, counts;
  for (const auto& s : d.strips) {
    offsets.push_back(static_cast<std::uint32_t>(b.out.size()));
    counts.push_back(static_cast<std::uint32_t>(s.size()));
    b.out.insert(b.out.end(), s.begin(), s.end());
  }
  if (d.strips.empty()) return;
  const int offsetsTag = d.tiled ? 324 : 273, countsTag = d.tiled ? 325 : 279;
  if (!d.fields.count(offsetsTag)) d.Set(offsetsTag, offsetType, offsets);
  if (!d.fields.count(countsTag)) d.Set(countsTag, offsetType, counts);
}

// The entries, values that fit in place; where the others' offsets go, and which fields they are.
inline std::vector<std::pair<std::size_t, const TiffField*>> WriteTiffEntries(TiffBytes& b, const TiffDirectory& d) {
  std::vector<std::pair<std::size_t, const TiffField*>> later;
  b.Put(static_cast<std::uint32_t>(d.fields.size()), 2);
  for (const auto& [tag, f] : d.fields) {
    const int size = f.type == 3 ? 2 : f.type == 4 ? 4 : f.type == 5 ? 8 : 1;
    const std::uint32_t count = static_cast<std::uint32_t>(f.type == 5 ? f.values.size() / 2 : f.values.size());
    b.Put(static_cast<std::uint32_t>(tag), 2);
    b.Put(static_cast<std::uint32_t>(f.type), 2);
    b.Put(count, 4);
    if (count * static_cast<std::uint32_t>(size) <= 4) {
      int used = 0;
      for (std::uint32_t v : f.values) {
        b.Put(v, size);
        used += size;
      }
      for (; used < 4; ++used) b.out.push_back(0);
    } else {
      later.push_back({b.out.size(), &f});
      b.Put(0, 4);
    }
  }
  return later;
}

inline std::vector<std::uint8_t> WriteTiff(std::vector<TiffDirectory> dirs, bool bigEndian, int offsetType = 4,
                                           bool loop = false) {
  TiffBytes b;
  b.bigEndian = bigEndian;
  b.out.push_back(bigEndian ? 'M' : 'I');
  b.out.push_back(bigEndian ? 'M' : 'I');
  b.Put(42, 2);
  b.Put(0, 4);
  std::size_t link = 4;
  std::vector<std::size_t> starts;
  for (TiffDirectory& d : dirs) {
    WriteTiffStrips(b, d, offsetType);
    b.Align();
    b.Patch(link, static_cast<std::uint32_t>(b.out.size()));
    starts.push_back(b.out.size());
    const auto later = WriteTiffEntries(b, d);
    link = b.out.size();
    b.Put(0, 4);
    for (auto [at, f] : later) {
      b.Align();
      b.Patch(at, static_cast<std::uint32_t>(b.out.size()));
      const int size = f->type == 3 ? 2 : f->type == 1 || f->type == 2 ? 1 : 4;
      for (std::uint32_t v : f->values) b.Put(v, size);
    }
  }
  if (loop) b.Patch(link, static_cast<std::uint32_t>(starts.front()));
  return b.out;
}

// An 8-bit RGB image of width x height in uncompressed tiles of tile x tile pixels, each tile one
// grey level brighter than the one before, little-endian.
inline std::vector<std::uint8_t> TiledRgbTiff(int width, int height, int tile) {
  TiffDirectory d;
  d.Set(256, 3, {static_cast<std::uint32_t>(width)}).Set(257, 3, {static_cast<std::uint32_t>(height)});
  d.Set(258, 3, {8, 8, 8}).Set(259, 3, {1}).Set(262, 3, {2}).Set(277, 3, {3}).Set(284, 3, {1});
  d.Set(322, 3, {static_cast<std::uint32_t>(tile)}).Set(323, 3, {static_cast<std::uint32_t>(tile)});
  d.tiled = true;
  const int tiles = ((width + tile - 1) / tile) * ((height + tile - 1) / tile);
  for (int t = 0; t < tiles; ++t)
    d.strips.emplace_back(static_cast<std::size_t>(tile * tile * 3), static_cast<std::uint8_t>(60 + 40 * t));
  return WriteTiff({d}, false);
}
