// LZW strips from the tests' encoder behind the target's two request-size bytes: repetitive and
// varied data long enough to reach every code width, without a leading clear, and cut short.
#include <string>

#include "tiff_lzw_encoder.h"
#include "seeds.h"

namespace fuzz_seeds {

std::vector<Seed> Seeds() {
  std::vector<std::uint8_t> varied(6000), runs(3000);
  for (std::size_t i = 0; i < varied.size(); ++i) varied[i] = static_cast<std::uint8_t>((i * i * 7 + i / 5) % 251);
  for (std::size_t i = 0; i < runs.size(); ++i) runs[i] = static_cast<std::uint8_t>(i / 40);
  const auto seed = [](const char* name, int request, const std::vector<std::uint8_t>& strip) {
    std::string bytes{static_cast<char>(request - 1), static_cast<char>((request - 1) >> 8)};
    return Seed{name, bytes + std::string(strip.begin(), strip.end())};
  };
  std::vector<std::uint8_t> cut = TiffLzwEncode(runs);
  cut.resize(cut.size() / 2);
  return {seed("varied.lzw", 300, TiffLzwEncode(varied)), seed("runs.lzw", 1, TiffLzwEncode(runs)),
          seed("no_clear.lzw", 17, TiffLzwEncode(runs, false)), seed("cut.lzw", 64, cut)};
}

}  // namespace fuzz_seeds
