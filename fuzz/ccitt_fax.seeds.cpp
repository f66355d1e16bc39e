// Fax strips behind the target's three option bytes: one-dimensional rows with ends of line,
// modified Huffman rows on byte boundaries, two-dimensional rows in group 3 and group 4, in both
// fill orders.
#include <string>

#include "seeds.h"

namespace fuzz_seeds {

namespace {

std::string Bits(const std::string& text, bool reversed) {
  std::string out;
  int n = 0;
  for (char c : text) {
    if (c == ' ') continue;
    if (n % 8 == 0) out.push_back(0);
    if (c == '1') out.back() = static_cast<char>(out.back() | (reversed ? 1 << (n % 8) : 0x80 >> (n % 8)));
    ++n;
  }
  return out;
}

}  // namespace

std::vector<Seed> Seeds() {
  const std::string eol = "000000000001";
  const std::string row = "1000 11 01000";  // white 3, black 2, white 11
  const std::string wide = "0011011 0110 000111 11";  // white 64 + white 9, black 2
  struct Strip {
    const char* name;
    int coding, width;
    std::string bits;
  };
  const Strip strips[] = {
      {"one_d", 0, 16, eol + row + eol + row + "0000" + eol + row},
      {"one_d_wide", 0, 80, eol + wide + "0111" + eol + wide + "0111"},
      {"huffman", 1, 16, row + "000" + row + "000" + row},
      {"two_d_g3", 2, 16, eol + "1" + row + eol + "0" + "111" + eol + "0" + "001 1000 11 1"},
      {"two_d_g4", 2, 16,
       "001 1000 11 1"
       "111"
       "010 011 1"
       "0000011 0000010 1"},
  };
  std::vector<Seed> seeds;
  for (const Strip& s : strips)
    for (bool reversed : {false, true}) {
      std::string bytes{static_cast<char>(s.coding | (reversed ? 4 : 0)), static_cast<char>(s.width), 0};
      seeds.push_back({std::string(s.name) + (reversed ? "_lsb" : "_msb") + ".fax", bytes + Bits(s.bits, reversed)});
    }
  return seeds;
}

}  // namespace fuzz_seeds
