#pragma once
// Bitmap files made in code for the reader's tests.
#include <cstdint>
#include <string>

#include "graphics/pixel_graphic.h"
#include "vcl/streams.h"

inline void PutLE16(std::string& s, std::uint32_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}
inline void PutLE32(std::string& s, std::uint32_t v) {
  PutLE16(s, v);
  PutLE16(s, v >> 16);
}

// The fields of a Windows information header; Body follows it (masks, colour table, pixels).
struct TInfoHeaderFile {
  std::int32_t Width = 1;
  std::int32_t Height = 1;
  int Planes = 1;
  int BitCount = 24;
  std::uint32_t Compression = 0;
  std::uint32_t SizeImage = 0;
  std::uint32_t ClrUsed = 0;
  std::uint32_t HeaderSize = 40;

  std::string Bytes(const std::string& Body) const {
    std::string s = "BM";
    PutLE32(s, static_cast<std::uint32_t>(54 + Body.size()));
    PutLE32(s, 0);
    PutLE32(s, 54);
    PutLE32(s, HeaderSize);
    PutLE32(s, static_cast<std::uint32_t>(Width));
    PutLE32(s, static_cast<std::uint32_t>(Height));
    PutLE16(s, static_cast<std::uint32_t>(Planes));
    PutLE16(s, static_cast<std::uint32_t>(BitCount));
    PutLE32(s, Compression);
    PutLE32(s, SizeImage);
    PutLE32(s, 0);
    PutLE32(s, 0);
    PutLE32(s, ClrUsed);
    PutLE32(s, 0);
    return s + Body;
  }
};

inline std::string Quads(int count, std::uint8_t step) {
  std::string s;
  for (int i = 0; i < count; ++i) {
    const auto v = static_cast<char>(i * step);
    s += {v, v, v, '\0'};
  }
  return s;
}

// Reads the bytes as a file into Image through the format registry.
inline void LoadBytes(TPixelGraphic& Image, const std::string& Bytes, const std::string& Ext = "") {
  TMemoryStream stream;
  stream.Write(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
  stream.SetPosition(0);
  Image.LoadFromStreamExt(&stream, Ext, 0);
}

inline std::string SavedBytes(TPixelGraphic& Image) {
  TMemoryStream stream;
  Image.SaveToStream(&stream);
  return std::string(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}
