#include "picture_decode_graphics.h"

#include <filesystem>

#include "graphics/palettes.h"
#include "graphics/pixel_graphic.h"
#include "win32/machine.h"

std::string DecodeToNetpbmWithGraphics(const std::string& hostPath) {
  TPixelGraphic image;
  image.SetReadWarningAction(pgwaIgnore);  // a command line has no one to answer a warning box
  image.LoadFromFile(machine::WindowsPath(std::filesystem::absolute(hostPath)));
  const int width = image.GetWidth(), height = image.GetHeight();
  const bool grey = image.PaletteIdent() == pBlackWhite;
  std::string out = (grey ? "P5\n" : "P6\n") + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
  out.reserve(out.size() + static_cast<std::size_t>(width) * height * (grey ? 1 : 3));
  for (int y = 0; y < height; ++y) {
    if (image.GetBitCount() == pgbc24) {
      const std::uint8_t* row = image.ScanLine(y);
      for (int x = 0; x < width; ++x, row += 3)
        out += {static_cast<char>(row[2]), static_cast<char>(row[1]), static_cast<char>(row[0])};
      continue;
    }
    for (int x = 0; x < width; ++x) {
      const TColor c = image.GetPixelColor(x, y);
      if (grey) out += static_cast<char>(RedOf(c));
      else
        out += {static_cast<char>(RedOf(c)), static_cast<char>(GreenOf(c)), static_cast<char>(BlueOf(c))};
    }
  }
  return out;
}
