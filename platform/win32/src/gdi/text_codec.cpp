#include "gdi/text_codec.h"

#include <array>

namespace fonts {
namespace {

// 0x80..0x9F of Windows-1252; 0 marks the five bytes it leaves undefined (kept as C1 controls).
constexpr std::array<char32_t, 32> kHigh1252 = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t From1252(unsigned char b) {
  if (b >= 0x80 && b < 0xA0 && kHigh1252[b - 0x80] != 0) return kHigh1252[b - 0x80];
  return b;
}

// Length of the UTF-8 sequence at `i` and its code point, or 0 when it is not well formed
// (overlong forms, surrogates and values above U+10FFFF included).
std::size_t Utf8Sequence(std::string_view s, std::size_t i, char32_t& out) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) {
    out = b0;
    return 1;
  }
  std::size_t len;
  char32_t cp, min;
  if ((b0 & 0xE0) == 0xC0) {
    len = 2;
    cp = b0 & 0x1F;
    min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3;
    cp = b0 & 0x0F;
    min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4;
    cp = b0 & 0x07;
    min = 0x10000;
  } else
    return 0;
  if (i + len > s.size()) return 0;
  for (std::size_t k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  out = cp;
  return len;
}

}  // namespace

DecodedText DecodeText(std::string_view bytes) {
  DecodedText t;
  t.utf8 = true;
  for (std::size_t i = 0; i < bytes.size();) {
    char32_t cp;
    const std::size_t len = Utf8Sequence(bytes, i, cp);
    if (len == 0) {
      t.utf8 = false;
      break;
    }
    t.chars.push_back(cp);
    t.firstByte.push_back(i);
    i += len;
  }
  if (!t.utf8) {
    t.chars.clear();
    t.firstByte.clear();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      t.chars.push_back(From1252(static_cast<unsigned char>(bytes[i])));
      t.firstByte.push_back(i);
    }
  }
  t.firstByte.push_back(bytes.size());
  return t;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string EncodeText(std::u32string_view chars, bool utf8) {
  std::string out;
  for (char32_t c : chars) {
    if (utf8) {
      AppendUtf8(out, c);
      continue;
    }
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      out += static_cast<char>(c);
      continue;
    }
    char byte = '?';
    for (std::size_t k = 0; k < kHigh1252.size(); ++k)
      if (kHigh1252[k] == c || (kHigh1252[k] == 0 && c == 0x80 + k)) byte = static_cast<char>(0x80 + k);
    out += byte;
  }
  return out;
}

}  // namespace fonts
