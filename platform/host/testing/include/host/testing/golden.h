#pragma once
// Golden pictures of windows: binary PPM files beside the tests, made by our own renderer and
// reviewed once. STARTLOGO_UPDATE_GOLDEN=1 writes them anew from what the test draws.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "host/display.h"
#include "host/testing/ppm.h"

// The part (x, y, width, height) of a captured window.
inline host::Image CropImage(const host::Image& image, int x, int y, int width, int height) {
  host::Image part;
  part.width = width;
  part.height = height;
  for (int row = 0; row < height; ++row)
    for (int col = 0; col < width; ++col) part.pixels.push_back(image.At(x + col, y + row));
  return part;
}

inline void ExpectMatchesGoldenFile(const host::Image& image, const std::filesystem::path& path) {
  const std::string name = path.stem().string();
  if (const char* update = std::getenv("STARTLOGO_UPDATE_GOLDEN"); update && std::string(update) == "1") {
    WritePpm(image, path);
    return;
  }
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in) << "no golden picture " << path << " (STARTLOGO_UPDATE_GOLDEN=1 makes it)";
  std::string magic;
  int width = 0, height = 0, depth = 0;
  in >> magic >> width >> height >> depth;
  in.get();
  ASSERT_EQ(magic, "P6");
  ASSERT_EQ(width, image.width);
  ASSERT_EQ(height, image.height);
  int differing = 0, firstX = -1, firstY = -1;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      std::uint32_t r = static_cast<unsigned char>(in.get()), g = static_cast<unsigned char>(in.get()),
                    b = static_cast<unsigned char>(in.get());
      if (((r << 16) | (g << 8) | b) != image.At(x, y) && differing++ == 0) firstX = x, firstY = y;
    }
  EXPECT_EQ(differing, 0) << name << ": first difference at " << firstX << "," << firstY;
}
