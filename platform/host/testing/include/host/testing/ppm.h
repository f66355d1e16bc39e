#pragma once
// Captured pictures kept as binary PPM files (P6, maxval 255), for screenshots a child process
// writes and a test reads back.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "host/display.h"

inline void WritePpm(const host::Image& image, const std::filesystem::path& file) {
  std::ofstream out(file, std::ios::binary);
  out << "P6\n" << image.width << " " << image.height << "\n255\n";
  for (std::uint32_t p : image.pixels) out.put(char(p >> 16)).put(char(p >> 8)).put(char(p));
}

// Empty when the file cannot be read.
inline host::Image ReadPpm(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string magic;
  host::Image image;
  int depth = 0;
  in >> magic >> image.width >> image.height >> depth;
  in.get();
  for (int i = 0; i < image.width * image.height; ++i) {
    const std::uint32_t r = static_cast<unsigned char>(in.get()), g = static_cast<unsigned char>(in.get()),
                        b = static_cast<unsigned char>(in.get());
    image.pixels.push_back((r << 16) | (g << 8) | b);
  }
  return image;
}
