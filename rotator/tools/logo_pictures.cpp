// logo-pictures FOLDER HEADER: draws the manual pick dialog's three pictures, one per slot (a
// sunrise for the startup logo, an hourglass at dusk for the wait, a power sign under the night
// sky for the turn-off), writes them as bitmap files into FOLDER to look at and as byte arrays into
// HEADER, which the dialog keeps them in. Run by the build.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "vcl/graphics_images.h"
#include "vcl/streams.h"

namespace {

constexpr int kWidth = 184, kHeight = 170;
constexpr double kPi = std::numbers::pi;

struct Rgb {
  double r, g, b;
};
Rgb Mix(Rgb a, Rgb b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

class Picture {
 public:
  Picture() : pixels_(static_cast<std::size_t>(kWidth) * kHeight) {}
  void Each(const std::function<Rgb(int x, int y, Rgb under)>& paint) {
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) At(x, y) = paint(x, y, At(x, y));
  }
  Rgb& At(int x, int y) { return pixels_[static_cast<std::size_t>(y) * kWidth + x]; }
  // Scattered points of light in the top rows, the same at every build.
  void Stars(int count, int rows, Rgb colour) {
    std::uint32_t seed = 20260;
    for (int i = 0; i < count; ++i) {
      seed = seed * 1664525u + 1013904223u;
      const int x = static_cast<int>(seed >> 8) % kWidth, y = static_cast<int>(seed >> 20) % rows;
      At(x, y) = Mix(At(x, y), colour, 0.5 + (seed & 7) / 14.0);
    }
  }
  // A 24-bit bitmap file.
  std::vector<std::uint8_t> BitmapFile() {
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetWidth(kWidth);
    bitmap.SetHeight(kHeight);
    for (int y = 0; y < kHeight; ++y) {
      auto* row = static_cast<std::uint8_t*>(bitmap.ScanLine(y));
      for (int x = 0; x < kWidth; ++x) {
        const Rgb c = At(x, y);
        row[3 * x] = Byte(c.b);
        row[3 * x + 1] = Byte(c.g);
        row[3 * x + 2] = Byte(c.r);
      }
    }
    TMemoryStream stream;
    bitmap.SaveToStream(&stream);
    const auto* bytes = static_cast<const std::uint8_t*>(stream.Memory());
    return {bytes, bytes + stream.Size()};
  }

 private:
  static std::uint8_t Byte(double v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 255.0))); }
  std::vector<Rgb> pixels_;
};

// A sun half risen over two green hills, its rays fanning into a dawn sky.
Picture Sunrise() {
  Picture p;
  const Rgb night{40, 44, 120}, dawn{230, 110, 90}, horizon{255, 196, 100};
  const double cx = 92, cy = 124, radius = 30;
  p.Each([&](int x, int y, Rgb) {
    const double t = y / 124.0;
    Rgb c = t < 0.6 ? Mix(night, dawn, t / 0.6) : Mix(dawn, horizon, (t - 0.6) / 0.4);
    const double dx = x - cx, dy = cy - y, d = std::hypot(dx, dy);
    const int sector = static_cast<int>(std::floor(std::atan2(dy, dx) / (kPi / 14)));
    if (sector % 2 == 0 && d > radius) c = Mix(c, {255, 232, 160}, 0.45 * (1 - d / 170));
    if (d < radius + 12) c = Mix(c, {255, 214, 120}, 0.7 * (1 - (d - radius) / 12));
    if (d <= radius) c = Mix({255, 236, 130}, {255, 200, 80}, (d / radius) * (d / radius));
    const double far = 122 + 9 * std::sin(x * 0.045 + 0.6), nearHill = 138 + 11 * std::sin(x * 0.032 + 2.6);
    if (y > nearHill) c = Mix({60, 130, 60}, {30, 80, 40}, (y - nearHill) / 30);
    else if (y > far)
      c = Mix({110, 160, 90}, {80, 130, 80}, (y - far) / 20);
    return c;
  });
  return p;
}

// An hourglass of wood and glass with its sand running down, against a dusk sky.
Picture Hourglass() {
  Picture p;
  p.Each([](int, int y, Rgb) { return Mix({90, 150, 230}, {20, 40, 120}, y / (kHeight - 1.0)); });
  p.Stars(40, 60, {255, 255, 230});
  const double cx = 92, neck = 85, half = 53;
  const Rgb wood{160, 100, 48}, woodDark{110, 66, 30}, sand{238, 196, 96}, glass{205, 228, 250};
  p.Each([&](int x, int y, Rgb c) {
    const double ax = std::abs(x + 0.5 - cx);
    const bool topPlate = y >= 20 && y < 32, bottomPlate = y >= 138 && y < 150;
    if ((topPlate || bottomPlate) && ax < 48) return (y == 20 || y == 138) ? Mix(wood, {255, 230, 190}, 0.4) : wood;
    if (y >= 32 && y < 138 && ax >= 37 && ax < 43) return ax < 39 ? Mix(woodDark, wood, 0.5) : woodDark;
    if (y < 32 || y >= 138) return c;
    const double width = 3 + 28 * std::sin(kPi / 2 * std::min(1.0, std::abs(y - neck) / half));
    if (ax > width) return c;
    if (ax > width - 1.5) return Rgb{240, 250, 255};
    const bool upperSand = y >= 62 && y < neck, stream = ax <= 1 && y >= neck && y < 132, pile = y >= 116 + ax * 0.5;
    if (upperSand || stream || pile) return Mix(sand, {200, 150, 60}, ax / 30);
    return Mix(c, glass, 0.55);
  });
  return p;
}

// A glowing power sign under a night sky with a crescent moon, over a dark hill.
Picture PowerSign() {
  Picture p;
  p.Each([](int, int y, Rgb) { return Mix({10, 10, 36}, {70, 16, 42}, y / (kHeight - 1.0)); });
  p.Stars(70, 150, {255, 250, 220});
  const double cx = 92, cy = 88, radius = 40, thickness = 5;
  const Rgb sign{236, 72, 62}, glow{200, 40, 60};
  p.Each([&](int x, int y, Rgb c) {
    const double dx = x + 0.5 - cx, dy = y + 0.5 - cy, d = std::hypot(dx, dy);
    // The ring is open at the top, its ends rounded.
    constexpr double kGap = 0.45;  // radians either side of straight up
    const double fromTop = std::atan2(std::abs(dx), -dy);
    const double endX = radius * std::sin(kGap), endY = -radius * std::cos(kGap);
    const double ring = fromTop > kGap ? std::abs(d - radius) - thickness
                                       : std::hypot(std::abs(dx) - endX, dy - endY) - thickness;
    const double barY = std::clamp(dy, -radius - 8, -8.0);
    const double bar = std::hypot(dx, dy - barY) - thickness;
    const double shape = std::min(ring, bar);
    if (shape <= 0) return Mix(sign, {255, 170, 150}, -shape / thickness * 0.6);
    if (shape < 12) c = Mix(c, glow, 0.5 * (1 - shape / 12));
    // The moon: a disc with a disc taken out.
    if (std::hypot(x - 152.0, y - 30.0) <= 13 && std::hypot(x - 158.0, y - 25.0) > 12) return Rgb{242, 236, 210};
    const double hill = 150 + 7 * std::sin(x * 0.05 + 1.2);
    if (y > hill) return Rgb{16, 8, 22};
    return c;
  });
  return p;
}

bool Write(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (out.flush()) return true;
  std::perror(path.c_str());
  return false;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s FOLDER HEADER\n", argv[0]);
    return 2;
  }
  const std::filesystem::path folder = argv[1], header = argv[2];
  std::filesystem::create_directories(folder);
  std::filesystem::create_directories(header.parent_path());
  const char* const names[3] = {"pick_startup", "pick_wait", "pick_turnoff"};
  Picture pictures[3] = {Sunrise(), Hourglass(), PowerSign()};
  std::string text =
      "#pragma once\n// Made by the build from the manual pick dialog's pictures (logo-pictures); do not edit.\n"
      "#include <cstddef>\n\n";
  std::string table =
      "struct TStoredPicture {\n  const unsigned char* Bytes;\n  std::size_t Size;\n};\n"
      "inline constexpr TStoredPicture kPickPictures[3] = {";
  for (int i = 0; i < 3; ++i) {
    const std::vector<std::uint8_t> file = pictures[i].BitmapFile();
    if (!Write(folder / (std::string(names[i]) + ".bmp"), std::string(file.begin(), file.end()))) return 1;
    text += "inline constexpr unsigned char k_" + std::string(names[i]) + "[] = {";
    for (std::size_t j = 0; j < file.size(); ++j)
      text += (j == 0 ? "\n" : j % 24 ? "," : ",\n") + std::to_string(file[j]);
    text += "};\n";
    table += std::string(i ? ", " : "") + "{k_" + names[i] + ", sizeof k_" + names[i] + "}";
  }
  return Write(header, text + table + "};\n") ? 0 : 1;
}
