// Reads a picture through the pixel graphics library's format registry and saves it as a bitmap,
// for the whole-process comparison of the bitmap reader and writer.
//   bench_bitmap_copy_tool IN OUT.bmp      (host paths)
#include <cstdio>
#include <exception>
#include <filesystem>

#include "graphics/pixel_graphic.h"
#include "win32/machine.h"

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s IN OUT.bmp\n", argv[0]);
    return 2;
  }
  try {
    TPixelGraphic image;
    image.LoadFromFile(machine::WindowsPath(std::filesystem::absolute(argv[1])));
    image.SaveToFile(machine::WindowsPath(std::filesystem::absolute(argv[2])));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
