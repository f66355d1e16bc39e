// Paintbrush files of each plane layout, made here: the library has no PCX writer.
#include <string>

#include "seeds.h"

namespace fuzz_seeds {

namespace {

std::string File(int version, int bits, int planes, int width, int height, int bytesPerLine, const std::string& body) {
  std::string s(128, '\0');
  s[0] = 10, s[1] = static_cast<char>(version), s[2] = 1, s[3] = static_cast<char>(bits);
  s[8] = static_cast<char>(width - 1), s[10] = static_cast<char>(height - 1);
  for (int i = 0; i < 48; ++i) s[16 + i] = static_cast<char>(i * 5);
  s[65] = static_cast<char>(planes), s[66] = static_cast<char>(bytesPerLine), s[68] = 1;
  return s + body;
}

}  // namespace

std::vector<Seed> Seeds() {
  std::string palette = "\x0c";
  for (int i = 0; i < 768; ++i) palette += static_cast<char>(i);
  return {
      {"one-bit", File(5, 1, 1, 10, 2, 2, "\xc2\xff\x81\x7e")},
      {"sixteen", File(2, 1, 4, 9, 2, 2, std::string("\xc8\x55\x01\x02\x03\x04\x05\x06\x07\x08", 10))},
      {"sixteen-v3", File(3, 1, 4, 8, 1, 1, "\x80\x40\x20\x10")},
      {"indexed", File(5, 8, 1, 3, 2, 4, "\xc4\x07\x01\x02\xc2\x03" + palette)},
      {"true-colour", File(5, 8, 3, 2, 2, 2, "\xc6\x10\x01\x02\x03\x04\x05\x06")},
  };
}

}  // namespace fuzz_seeds
