// PCX files of each kind the reader takes: 1, 4 and 8 bits in one plane, 8 bits in three,
// run-length coded and plain.
#include <string>

#include "pcx_file_builder.h"
#include "seeds.h"

namespace fuzz_seeds {

std::vector<Seed> Seeds() {
  const auto bytes = [](const PcxFile& f) { return std::string(f.bytes.begin(), f.bytes.end()); };
  std::vector<Seed> seeds;
  // Width 5, height 2; runs (0xC0 | n, value) and literal bytes below 0xC0.
  seeds.push_back({"mono.pcx", bytes(PcxFile(1, 1, 5, 2, 2).Data({0xC2, 0xA8, 0x50, 0x00}))});
  seeds.push_back({"four_bits.pcx", bytes(PcxFile(4, 1, 5, 2, 4).Data({0x01, 0x23, 0x45, 0x00, 0xC4, 0x98}))});
  seeds.push_back({"eight_bits.pcx", bytes(PcxFile(8, 1, 5, 2, 6).Data({1, 2, 3, 0xC3, 200, 0xC6, 9}).EndPalette())});
  seeds.push_back(
      {"three_planes.pcx",
       bytes(PcxFile(8, 3, 5, 2, 6).Data({0xC6, 250, 0xC6, 10, 1, 2, 3, 4, 5, 6, 0xC6, 0, 0xC6, 128, 0xC6, 255}))});
  seeds.push_back(
      {"plain.pcx", bytes(PcxFile(8, 1, 5, 2, 6, 0).Data({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}).EndPalette())});
  return seeds;
}

}  // namespace fuzz_seeds
