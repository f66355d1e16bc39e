// JPEG files from libjpeg's compressor: colour and grey, baseline and progressive, each density
// unit, and one of too many scans.
#include <string>

#include "formats/testing/jpeg_scans_file.h"
#include "jpeg_file_writer.h"
#include "seeds.h"

namespace fuzz_seeds {

// Scans enough that decoding every one of them would exceed the fuzzer's time limit.
constexpr int kManyScans = 150000;

std::vector<Seed> Seeds() {
  const auto bytes = [](const std::vector<std::uint8_t>& b) { return std::string(b.begin(), b.end()); };
  return {{"colour.jpg", bytes(WriteJpeg({}))},
          {"grey.jpg", bytes(WriteJpeg({.grey = true, .densityUnit = 0, .xDensity = 1, .yDensity = 1}))},
          {"progressive.jpg",
           bytes(WriteJpeg(
               {.width = 17, .height = 9, .progressive = true, .densityUnit = 2, .xDensity = 118, .yDensity = 118}))},
          {"many-scans.jpg",
           WithEmptyScans(bytes(WriteJpeg({.width = 512, .height = 512, .progressive = true})), kManyScans)}};
}

}  // namespace fuzz_seeds
