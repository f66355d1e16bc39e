#pragma once
// Bitmap files built byte by byte for the reader tests.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "vcl/streams.h"

struct BmpFileBuilder {
  std::vector<std::uint8_t> bytes;

  BmpFileBuilder& U8(std::uint32_t v) {
    bytes.push_back(static_cast<std::uint8_t>(v));
    return *this;
  }
  BmpFileBuilder& U16(std::uint32_t v) { return U8(v).U8(v >> 8); }
  BmpFileBuilder& U32(std::uint32_t v) { return U16(v).U16(v >> 16); }
  BmpFileBuilder& Bytes(std::initializer_list<int> list) {
    for (int b : list) U8(static_cast<std::uint32_t>(b));
    return *this;
  }
  // File header and information header (the fields of the 40-byte one, then zeros up to its
  // size); the pixel offset follows the palette.
  static BmpFileBuilder Info(std::int32_t width, std::int32_t height, int bits, std::uint32_t compression,
                             std::uint32_t colorsUsed, std::uint32_t paletteEntries, std::uint32_t headerSize = 40) {
    BmpFileBuilder b;
    b.U16(19778).U32(0).U32(0).U32(14 + headerSize + 4 * paletteEntries);
    b.U32(headerSize)
        .U32(static_cast<std::uint32_t>(width))
        .U32(static_cast<std::uint32_t>(height))
        .U16(1)
        .U16(static_cast<std::uint32_t>(bits));
    b.U32(compression).U32(0).U32(3780).U32(3780).U32(colorsUsed).U32(0);
    b.bytes.resize(14 + headerSize, 0);
    return b;
  }
  // A 32-bit field at a byte offset of the file.
  BmpFileBuilder& Set32(std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes.at(at + i) = static_cast<std::uint8_t>(v >> (8 * i));
    return *this;
  }
  // The pixels start here: the file header's offset says so.
  BmpFileBuilder& PixelsHere() { return Set32(10, static_cast<std::uint32_t>(bytes.size())); }
  BmpFileBuilder& Entry(int r, int g, int b) {
    return U8(static_cast<std::uint32_t>(b)).U8(static_cast<std::uint32_t>(g)).U8(static_cast<std::uint32_t>(r)).U8(0);
  }

  // The bytes as a stream, from its start.
  TMemoryStream* Stream() {
    stream_ = std::make_unique<TMemoryStream>();
    stream_->Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    stream_->SetPosition(0);
    return stream_.get();
  }

 private:
  std::unique_ptr<TMemoryStream> stream_;
};
