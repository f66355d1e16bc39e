// Icon and cursor files with one entry of each depth, and one with a PNG entry.
#include <string>

#include "seeds.h"

namespace fuzz_seeds {
namespace {

void Put16(std::string& b, unsigned v) { b += static_cast<char>(v & 0xFF), b += static_cast<char>((v >> 8) & 0xFF); }
void Put32(std::string& b, unsigned v) { Put16(b, v & 0xFFFF), Put16(b, v >> 16); }

std::string Image(int size, int bits) {
  std::string img;
  Put32(img, 40), Put32(img, size), Put32(img, 2 * size), Put16(img, 1), Put16(img, bits);
  for (int i = 0; i < 6; ++i) Put32(img, 0);
  if (bits <= 8)
    for (int i = 0; i < (1 << bits); ++i) Put32(img, i * 0x010203u);
  int xorBytes = (size * bits + 31) / 32 * 4 * size, maskBytes = (size + 31) / 32 * 4 * size;
  for (int i = 0; i < xorBytes; ++i) img += static_cast<char>(i * 7);
  for (int i = 0; i < maskBytes; ++i) img += static_cast<char>(i % 3 ? 0 : 0xF0);
  return img;
}

std::string File(int kind, const std::string& image, int size) {
  std::string f;
  Put16(f, 0), Put16(f, kind), Put16(f, 1);
  f += static_cast<char>(size), f += static_cast<char>(size), f += '\0', f += '\0';
  Put16(f, 1), Put16(f, 8), Put32(f, static_cast<unsigned>(image.size())), Put32(f, 22);
  return f + image;
}

}  // namespace

std::vector<Seed> Seeds() {
  std::vector<Seed> seeds;
  for (int bits : {1, 4, 8, 24, 32})
    seeds.push_back({"icon" + std::to_string(bits) + ".ico", File(1, Image(16, bits), 16)});
  seeds.push_back({"cursor.cur", File(2, Image(32, 4), 32)});
  seeds.push_back({"png.ico", File(1, std::string("\x89PNG\r\n\x1a\n\0\0\0\0", 12), 16)});
  return seeds;
}

}  // namespace fuzz_seeds
