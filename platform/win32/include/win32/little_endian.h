#pragma once
// Little-endian fields of file formats (bitmaps, icons, metafiles, the picture codecs), read from
// bytes, written into them and appended to byte strings: the one spelling for every box above the platform.
#include <cstdint>
#include <string>

inline std::uint16_t ReadLE16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
inline std::uint32_t ReadLE32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}
inline void WriteLE16(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void WriteLE32(std::uint8_t* p, std::uint32_t v) {
  WriteLE16(p, v);
  WriteLE16(p + 2, v >> 16);
}
inline void AppendLE16(std::string& out, std::uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}
inline void AppendLE32(std::string& out, std::uint32_t v) {
  AppendLE16(out, v);
  AppendLE16(out, v >> 16);
}
