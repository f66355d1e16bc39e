#include "picture_decode.h"

#include <filesystem>

#include "imaging/velmora_io.h"
#include "slots/picture_load.h"
#include "vcl/sysutils.h"
#include "win32/machine.h"

std::string NetpbmFromDib(TBitmap& bitmap) {
  const int width = bitmap.Width(), height = bitmap.Height();
  const bool grey = bitmap.PixelFormat() == pf1bit;
  std::string out = (grey ? "P5\n" : "P6\n") + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
  out.reserve(out.size() + static_cast<std::size_t>(width) * height * (grey ? 1 : 3));
  for (int y = 0; y < height; ++y) {
    const auto* row = static_cast<const std::uint8_t*>(bitmap.ScanLine(y));
    for (int x = 0; x < width; ++x) {
      if (grey) {
        out += static_cast<char>((row[x / 8] >> (7 - x % 8)) & 1 ? 255 : 0);
      } else {
        const std::uint8_t* bgr = row + 3 * x;
        out += static_cast<char>(bgr[2]);
        out += static_cast<char>(bgr[1]);
        out += static_cast<char>(bgr[0]);
      }
    }
  }
  return out;
}

std::string DecodeToNetpbmWithImaging(const std::string& hostPath) {
  TVelmoraTarget image(nullptr);
  TVelmoraIO io(nullptr);
  io.SetAttachedVelmora(&image);
  // As the slot manager reads: LZW decoders plugged in, ".sys" as a bitmap, no silent skip.
  LoadPicture(io, machine::WindowsPath(std::filesystem::absolute(hostPath)));
  return NetpbmFromDib(image.Bitmap());
}
