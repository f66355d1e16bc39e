#pragma once
// Golden pictures of controls in tests/golden/ (see host/testing/golden.h).
#include <filesystem>
#include <string>

#include "host/testing/golden.h"

inline std::filesystem::path GoldenPath(const std::string& name) {
  return std::filesystem::path(__FILE__).parent_path() / "golden" / (name + ".ppm");
}

inline void ExpectMatchesGolden(const host::Image& image, const std::string& name) {
  ExpectMatchesGoldenFile(image, GoldenPath(name));
}
