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

inline std::vector<std::uint8_t> WriteTiff(std::vector<TiffDirectory> dirs, bool bigEndian, int offsetType = 4,
                                           bool loop = false) {
  std::vector<std::uint8_t> out;
  const auto put = [&](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) {
      const int shift = bigEndian ? 8 * (bytes - 1 - i) : 8 * i;
      out.push_back(static_cast<std::uint8_t>(v >> shift));
    }
  };
  const auto patch = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
      out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (bigEndian ? 8 * (3 - i) : 8 * i));
  };
  out.push_back(bigEndian ? 'M' : 'I');
  out.push_back(bigEndian ? 'M' : 'I');
  put(42, 2);
  put(0, 4);
  std::size_t link = 4;
  std::vector<std::size_t> starts;
  for (TiffDirectory& d : dirs) {
    std::vector<std::uint32_t> offsets, counts;
    for (const auto& s : d.strips) {
      offsets.push_back(static_cast<std::uint32_t>(out.size()));
      counts.push_back(static_cast<std::uint32_t>(s.size()));
      out.insert(out.end(), s.begin(), s.end());
    }
    if (!d.strips.empty()) {
      const int offsetsTag = d.tiled ? 324 : 273, countsTag = d.tiled ? 325 : 279;
      if (!d.fields.count(offsetsTag)) d.Set(offsetsTag, offsetType, offsets);
      if (!d.fields.count(countsTag)) d.Set(countsTag, offsetType, counts);
    }
    if (out.size() % 2) out.push_back(0);
    patch(link, static_cast<std::uint32_t>(out.size()));
    starts.push_back(out.size());
    put(static_cast<std::uint32_t>(d.fields.size()), 2);
    std::vector<std::pair<std::size_t, const TiffField*>> later;
    for (const auto& [tag, f] : d.fields) {
      const int size = f.type == 3 ? 2 : f.type == 4 ? 4 : f.type == 5 ? 8 : 1;
      const std::uint32_t count = static_cast<std::uint32_t>(f.type == 5 ? f.values.size() / 2 : f.values.size());
      put(static_cast<std::uint32_t>(tag), 2);
      put(static_cast<std::uint32_t>(f.type), 2);
      put(count, 4);
      if (count * static_cast<std::uint32_t>(size) <= 4) {
        int used = 0;
        for (std::uint32_t v : f.values) {
          put(v, size);
          used += size;
        }
        for (; used < 4; ++used) out.push_back(0);
      } else {
        later.push_back({out.size(), &f});
        put(0, 4);
      }
    }
    link = out.size();
    put(0, 4);
    for (auto [at, f] : later) {
      if (out.size() % 2) out.push_back(0);
      patch(at, static_cast<std::uint32_t>(out.size()));
      const int size = f->type == 3 ? 2 : f->type == 1 || f->type == 2 ? 1 : 4;
      for (std::uint32_t v : f->values) put(v, size);
    }
  }
  if (loop) patch(link, static_cast<std::uint32_t>(starts.front()));
  return out;
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
