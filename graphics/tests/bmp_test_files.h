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
  std::uint32_t PixelOffset = 54;

  // The file header and the 40 bytes of the information header, then Body as it is.
  std::string Bytes(const std::string& Body) const {
    std::string s = "BM";
    PutLE32(s, static_cast<std::uint32_t>(54 + Body.size()));
    PutLE32(s, 0);
    PutLE32(s, PixelOffset);
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

  // A whole file as the tools write it: a header of HeaderSize bytes (a longer one holds the
  // masks and zeros after its first 40 bytes; the 40-byte one is followed by the masks of bit
  // fields), the colour table, Gap spare bytes, and the pixels where the file header says.
  std::string File(const std::string& Masks, const std::string& Table, int Gap, const std::string& Pixels) const {
    std::string rest = HeaderSize > 40 || Compression == 3 ? Masks : "";
    if (HeaderSize > 40) rest.resize(HeaderSize - 40, '\0');
    TInfoHeaderFile file = *this;
    file.PixelOffset = static_cast<std::uint32_t>(54 + rest.size() + Table.size() + Gap);
    return file.Bytes(rest + Table + std::string(static_cast<std::size_t>(Gap), '\x5a') + Pixels);
  }
};

// Three masks (red, green, blue) as a header holds them.
inline std::string MaskBytes(std::uint32_t Red, std::uint32_t Green, std::uint32_t Blue) {
  std::string s;
  PutLE32(s, Red), PutLE32(s, Green), PutLE32(s, Blue);
  return s;
}

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
