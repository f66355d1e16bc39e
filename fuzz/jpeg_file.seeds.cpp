// JPEG files from libjpeg's compressor: colour and grey, baseline and progressive, each density
// unit.
#include <string>

#include "jpeg_file_writer.h"
#include "seeds.h"

namespace fuzz_seeds {

std::vector<Seed> Seeds() {
  const auto bytes = [](const std::vector<std::uint8_t>& b) { return std::string(b.begin(), b.end()); };
  return {{"colour.jpg", bytes(WriteJpeg({}))},
          {"grey.jpg", bytes(WriteJpeg({.grey = true, .densityUnit = 0, .xDensity = 1, .yDensity = 1}))},
          {"progressive.jpg",
           bytes(WriteJpeg(
               {.width = 17, .height = 9, .progressive = true, .densityUnit = 2, .xDensity = 118, .yDensity = 118}))}};
}

}  // namespace fuzz_seeds
