#pragma once
// Text reaches the GDI as bytes: UTF-8 when the bytes are valid UTF-8, else Windows-1252.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace fonts {

struct DecodedText {
  std::u32string chars;
  std::vector<std::size_t> firstByte;  // per character, its offset in the bytes; one extra = size
  bool utf8 = false;
};

DecodedText DecodeText(std::string_view bytes);
// One character as UTF-8 onto `out`.
void AppendUtf8(std::string& out, char32_t c);
// Back into the encoding the text came in (characters 1252 lacks become '?').
std::string EncodeText(std::u32string_view chars, bool utf8);

}  // namespace fonts
