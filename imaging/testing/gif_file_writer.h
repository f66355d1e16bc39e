#pragma once
// A GIF file builder for the reader tests, for screens, colour tables, extensions and images
// of any shape, sound or not; the image data comes from the library's encoder.
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/gif_writer.h"

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
  GifFileBuilder& Screen(int width, int height, const GifColors* global = nullptr, int sizeBits = 0, int background = 0,
                         int aspect = 0, const char* version = "GIF89a") {
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
