#pragma once
// What the tests that exchange files with outside tools (ImageMagick, Pillow) share.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "graphics/pixel_graphic.h"

inline const char* const kConvert = "/usr/bin/convert";

// What a command prints on its standard output; empty when it cannot run.
inline std::string CaptureOutput(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

// Our pixels as RGB bytes, top row first, the way the tools print them.
inline std::string OurRGB(TPixelGraphic& image) {
  std::string rgb;
  for (int y = 0; y < image.GetHeight(); ++y)
    for (int x = 0; x < image.GetWidth(); ++x) {
      const TColor c = image.GetPixelColor(x, y);
      rgb += {static_cast<char>(RedOf(c)), static_cast<char>(GreenOf(c)), static_cast<char>(BlueOf(c))};
    }
  return rgb;
}

// Skipped without ImageMagick; a fresh folder for the exchanged files, removed afterwards.
class ImageMagickExchangeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kConvert)) GTEST_SKIP() << "no ImageMagick";
    folder_ = std::filesystem::temp_directory_path() / ("magick-exchange-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    if (!folder_.empty()) std::filesystem::remove_all(folder_);
  }
  std::filesystem::path folder_;
};
