#pragma once
// A tiny GIF writer for the reader tests: an LZW encoder that mirrors the decoder's code-width
// schedule, and a file builder for screens, colour tables, extensions and images.
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

struct GifLzwOptions {
  int minimumCodeSize = 8;
  bool leadingClear = true;
  bool clearWhenFull = true;  // false: the table stays full and codes stay 12 bits wide
  bool endCode = true;
  int subBlockSize = 255;
};

// The image data: code-size byte, sub-blocks and terminator.
inline std::vector<std::uint8_t> GifLzwEncode(const std::vector<std::uint8_t>& pixels, const GifLzwOptions& o = {}) {
  const int clear = 1 << o.minimumCodeSize, end = clear + 1;
  std::vector<std::uint8_t> packed;
  std::uint32_t buffer = 0;
  int bits = 0;
  int width = o.minimumCodeSize + 1, limit = 2 * clear, decoderNext = clear + 2;
  int encoderNext = clear + 2;
  bool fresh = true;
  std::map<std::pair<int, int>, int> table;
  const auto put = [&](int code) {
    buffer |= static_cast<std::uint32_t>(code) << bits;
    bits += width;
    while (bits >= 8) {
      packed.push_back(static_cast<std::uint8_t>(buffer));
      buffer >>= 8;
      bits -= 8;
    }
  };
  // The decoder adds an entry for every code but the first after a clear.
  const auto emit = [&](int code) {
    put(code);
    if (!fresh && decoderNext < 4096 && ++decoderNext >= limit && limit < 4096) {
      limit *= 2;
      ++width;
    }
    fresh = false;
  };
  const auto clearTable = [&] {
    put(clear);
    table.clear();
    width = o.minimumCodeSize + 1;
    limit = 2 * clear;
    decoderNext = encoderNext = clear + 2;
    fresh = true;
  };
  if (o.leadingClear) clearTable();
  int current = -1;
  for (std::uint8_t p : pixels) {
    if (current < 0) {
      current = p;
      continue;
    }
    auto found = table.find({current, p});
    if (found != table.end()) {
      current = found->second;
      continue;
    }
    emit(current);
    if (encoderNext < 4096) table[{current, p}] = encoderNext++;
    else if (o.clearWhenFull) clearTable();
    current = p;
  }
  if (current >= 0) emit(current);
  if (o.endCode) put(end);
  if (bits > 0) packed.push_back(static_cast<std::uint8_t>(buffer));

  std::vector<std::uint8_t> out{static_cast<std::uint8_t>(o.minimumCodeSize)};
  for (std::size_t i = 0; i < packed.size(); i += static_cast<std::size_t>(o.subBlockSize)) {
    std::size_t n = std::min(packed.size() - i, static_cast<std::size_t>(o.subBlockSize));
    out.push_back(static_cast<std::uint8_t>(n));
    out.insert(out.end(), packed.begin() + static_cast<std::ptrdiff_t>(i), packed.begin() + static_cast<std::ptrdiff_t>(i + n));
  }
  out.push_back(0);
  return out;
}

// Colour table entries as red, green, blue.
using GifColors = std::vector<std::uint8_t>;

struct GifFileBuilder {
  std::vector<std::uint8_t> bytes;

  GifFileBuilder& U8(int v) {
    bytes.push_back(static_cast<std::uint8_t>(v));
    return *this;
  }
  GifFileBuilder& U16(int v) { return U8(v).U8(v >> 8); }
  GifFileBuilder& Append(const std::vector<std::uint8_t>& more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
    return *this;
  }
  // Size bits n give 2^(n+1) entries; the table is padded with zeros to that size.
  static std::vector<std::uint8_t> Table(GifColors colors, int sizeBits) {
    colors.resize(3u << (sizeBits + 1), 0);
    return colors;
  }
  GifFileBuilder& Screen(int width, int height, const GifColors* global = nullptr, int sizeBits = 0,
                         int background = 0, int aspect = 0, const char* version = "GIF89a") {
    for (const char* c = version; *c; ++c) U8(*c);
    U16(width).U16(height).U8(global ? 0x80 | sizeBits : 0).U8(background).U8(aspect);
    if (global) Append(Table(*global, sizeBits));
    return *this;
  }
  GifFileBuilder& GraphicControl(int flags, int delay, int transparent) {
    return U8(0x21).U8(0xF9).U8(4).U8(flags).U16(delay).U8(transparent).U8(0);
  }
  GifFileBuilder& Comment(const std::string& text) {
    U8(0x21).U8(0xFE).U8(static_cast<int>(text.size()));
    for (char c : text) U8(c);
    return U8(0);
  }
  GifFileBuilder& Image(int left, int top, int width, int height, const std::vector<std::uint8_t>& data,
                        bool interlaced = false, const GifColors* local = nullptr, int sizeBits = 0) {
    U8(0x2C).U16(left).U16(top).U16(width).U16(height);
    U8((local ? 0x80 | sizeBits : 0) | (interlaced ? 0x40 : 0));
    if (local) Append(Table(*local, sizeBits));
    return Append(data);
  }
  GifFileBuilder& Trailer() { return U8(0x3B); }
};
