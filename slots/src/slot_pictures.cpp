#include "slots/slot_pictures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numbers>
#include <string_view>

#include "imaging/gif_writer.h"

namespace {

// A picture of palette indexes with a palette of at most 256 colours, grown as colours are used.
class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height) {}
  int Width() const { return width_; }
  int Height() const { return height_; }
  std::uint8_t Colour(int r, int g, int b) {
    const TColorTriple c{Byte(b), Byte(g), Byte(r)};
    const auto found = std::find(palette_.begin(), palette_.end(), c);
    if (found != palette_.end()) return static_cast<std::uint8_t>(found - palette_.begin());
    if (palette_.size() == 256) return Nearest(c);
    palette_.push_back(c);
    return static_cast<std::uint8_t>(palette_.size() - 1);
  }
  void Set(int x, int y, std::uint8_t index) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[static_cast<std::size_t>(y) * width_ + x] = index;
  }
  void Fill(int x0, int y0, int w, int h, std::uint8_t index) {
    for (int y = y0; y < y0 + h; ++y)
      for (int x = x0; x < x0 + w; ++x) Set(x, y, index);
  }
  // A frame around the rectangle, light at the top left and dark at the bottom right.
  void Bevel(int x0, int y0, int w, int h, std::uint8_t light, std::uint8_t dark) {
    Fill(x0, y0, w, 1, light);
    Fill(x0, y0, 1, h, light);
    Fill(x0, y0 + h - 1, w, 1, dark);
    Fill(x0 + w - 1, y0, 1, h, dark);
  }
  const std::vector<std::uint8_t>& Pixels() const { return pixels_; }
  const std::vector<TColorTriple>& Palette() const { return palette_; }

 private:
  static std::uint8_t Byte(int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); }
  std::uint8_t Nearest(const TColorTriple& c) const {
    int best = 0, bestDistance = 1 << 30;
    for (std::size_t i = 0; i < palette_.size(); ++i) {
      const int dr = palette_[i].r - c.r, dg = palette_[i].g - c.g, db = palette_[i].b - c.b;
      if (const int d = dr * dr + dg * dg + db * db; d < bestDistance) {
        bestDistance = d;
        best = static_cast<int>(i);
      }
    }
    return static_cast<std::uint8_t>(best);
  }
  int width_, height_;
  std::vector<std::uint8_t> pixels_;
  std::vector<TColorTriple> palette_;
};

// Capitals, digits and a few signs, 5 x 7, the top row first, bit 4 the left column.
struct Letter {
  char c;
  std::array<std::uint8_t, 7> rows;
};
constexpr Letter kFont[] = {
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}}, {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
    {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}}, {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
    {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}}, {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}}, {'K', {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}},
    {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}}, {'N', {0x11, 0x19, 0x15, 0x13, 0x11, 0x11, 0x11}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}}, {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}}, {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
    {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}}, {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}}, {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}},
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}}, {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}}, {' ', {0, 0, 0, 0, 0, 0, 0}},
};

// Text at a scale of `size` pixels per font pixel; returns its width.
int TextWidth(std::string_view text, int size) { return static_cast<int>(text.size()) * 6 * size - size; }

void DrawText(Canvas& canvas, int x0, int y0, std::string_view text, int size, std::uint8_t index) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const Letter* letter = nullptr;
    for (const Letter& l : kFont)
      if (l.c == text[i]) letter = &l;
    if (!letter) continue;
    for (int row = 0; row < 7; ++row)
      for (int column = 0; column < 5; ++column)
        if (letter->rows[static_cast<std::size_t>(row)] >> (4 - column) & 1)
          canvas.Fill(x0 + (static_cast<int>(i) * 6 + column) * size, y0 + row * size, size, size, index);
  }
}

struct Rgb {
  int r, g, b;
};
Rgb Mix(Rgb a, Rgb b, double t) {
  return {static_cast<int>(std::lround(a.r + (b.r - a.r) * t)), static_cast<int>(std::lround(a.g + (b.g - a.g) * t)),
          static_cast<int>(std::lround(a.b + (b.b - a.b) * t))};
}
std::uint8_t Colour(Canvas& canvas, Rgb c) { return canvas.Colour(c.r, c.g, c.b); }

// Each slot's two colours: dawn for the startup logo, dusk blue for the wait, night red for the
// turn-off.
constexpr Rgb kSlotColours[3][2] = {
    {{255, 190, 40}, {200, 60, 20}}, {{90, 150, 230}, {20, 40, 120}}, {{200, 50, 60}, {50, 10, 30}}};
constexpr const char* kSlotWords[3] = {"STARTUP LOGO", "WAIT LOGO", "TURNOFF LOGO"};
constexpr const char* kSlotFiles[3] = {"startup", "wait", "turnoff"};

// A banner in the slot's colours with a light sweeping across it, one position per frame.
TSlotPicture Header(int slot) {
  constexpr int kWidth = 300, kHeight = 36, kFrames = 8;
  std::vector<TGifFrame> frames;
  Canvas canvas(kWidth, kHeight);
  const Rgb light = kSlotColours[slot][0], dark = kSlotColours[slot][1];
  for (int f = 0; f < kFrames; ++f) {
    const double sweep = (f + 0.5) / kFrames * (kWidth + 80) - 40;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        const double across = static_cast<double>(x) / (kWidth - 1);
        double t = across * 0.8 + std::fabs(y - kHeight / 2.0) / kHeight * 0.4;
        const double glow = std::max(0.0, 1 - std::fabs(x - sweep) / 40);
        // Sixteen steps of the gradient keep the palette small and the runs long.
        t = std::round(std::clamp(t - glow * 0.5, 0.0, 1.0) * 15) / 15;
        canvas.Set(x, y, Colour(canvas, Mix(light, dark, t)));
      }
    canvas.Bevel(0, 0, kWidth, kHeight, Colour(canvas, {255, 255, 255}), Colour(canvas, {0, 0, 0}));
    const std::string_view word = kSlotWords[slot];
    const int textX = (kWidth - TextWidth(word, 3)) / 2, textY = (kHeight - 21) / 2;
    DrawText(canvas, textX + 2, textY + 2, word, 3, Colour(canvas, {0, 0, 0}));
    DrawText(canvas, textX, textY, word, 3, Colour(canvas, {255, 255, 255}));
    frames.push_back({0, 0, kWidth, kHeight, canvas.Pixels(), 12});
  }
  return {std::string("header_") + kSlotFiles[slot] + ".gif",      kWidth, kHeight, kFrames,
          GifFileBytes(kWidth, kHeight, canvas.Palette(), frames), {}};
}

// "BACKUP" on a raised plate in the slot's dark colour.
TSlotPicture Badge(int slot) {
  constexpr int kWidth = 76, kHeight = 21;
  Canvas canvas(kWidth, kHeight);
  canvas.Fill(0, 0, kWidth, kHeight, Colour(canvas, kSlotColours[slot][1]));
  canvas.Bevel(0, 0, kWidth, kHeight, Colour(canvas, kSlotColours[slot][0]), Colour(canvas, {0, 0, 0}));
  DrawText(canvas, (kWidth - TextWidth("BACKUP", 2)) / 2, 3, "BACKUP", 2, Colour(canvas, {255, 255, 255}));
  return {std::string("badge_") + kSlotFiles[slot] + ".gif",
          kWidth,
          kHeight,
          1,
          GifFileBytes(kWidth, kHeight, canvas.Palette(), {{0, 0, kWidth, kHeight, canvas.Pixels()}}),
          {}};
}

// A night sky over a dark sea with three screens for the three slots, and the program's name.
TSlotPicture About() {
  constexpr int kWidth = 427, kHeight = 400;
  Canvas canvas(kWidth, kHeight);
  const Rgb top{10, 12, 50}, horizon{90, 40, 120}, sea{5, 20, 40};
  for (int y = 0; y < kHeight; ++y) {
    const Rgb row = y < 260 ? Mix(top, horizon, std::round(y / 259.0 * 31) / 31)
                            : Mix(horizon, sea, std::round((y - 260) / 139.0 * 15) / 15);
    canvas.Fill(0, y, kWidth, 1, Colour(canvas, row));
  }
  // Stars from a fixed sequence, the same at every build.
  std::uint32_t seed = 12345;
  for (int i = 0; i < 120; ++i) {
    seed = seed * 1664525u + 1013904223u;
    const int x = static_cast<int>(seed >> 8) % kWidth, y = static_cast<int>(seed >> 20) % 240;
    canvas.Set(x, y, Colour(canvas, {255, 255, static_cast<int>(200 + (seed & 55))}));
  }
  // The moon and its path on the sea.
  const std::uint8_t moon = Colour(canvas, {250, 240, 200});
  for (int y = -30; y <= 30; ++y)
    for (int x = -30; x <= 30; ++x)
      if (x * x + y * y <= 900) canvas.Set(330 + x, 70 + y, moon);
  for (int y = 262; y < 292; y += 6) canvas.Fill(330 - (y - 250) / 8, y, (y - 250) / 4, 2, moon);
  // Three screens, each showing its slot's colours.
  for (int slot = 0; slot < 3; ++slot) {
    const int x0 = 40 + slot * 120, y0 = 300, w = 100, h = 70;
    canvas.Fill(x0 - 4, y0 - 4, w + 8, h + 8, Colour(canvas, {192, 192, 192}));
    canvas.Bevel(x0 - 4, y0 - 4, w + 8, h + 8, Colour(canvas, {255, 255, 255}), Colour(canvas, {64, 64, 64}));
    for (int y = 0; y < h; ++y)
      canvas.Fill(x0, y0 + y, w, 1,
                  Colour(canvas, Mix(kSlotColours[slot][0], kSlotColours[slot][1], std::round(y / (h - 1.0) * 7) / 7)));
    canvas.Fill(x0 + w / 2 - 12, y0 + h + 4, 24, 6, Colour(canvas, {128, 128, 128}));
  }
  const std::string_view name = "CORVANE", version = "V2.0";
  DrawText(canvas, (kWidth - TextWidth(name, 7)) / 2 + 3, 153, name, 7, Colour(canvas, {0, 0, 0}));
  DrawText(canvas, (kWidth - TextWidth(name, 7)) / 2, 150, name, 7, Colour(canvas, {255, 255, 255}));
  DrawText(canvas, (kWidth - TextWidth(version, 3)) / 2, 210, version, 3, Colour(canvas, {255, 220, 120}));
  return {"about.gif",
          kWidth,
          kHeight,
          1,
          GifFileBytes(kWidth, kHeight, canvas.Palette(), {{0, 0, kWidth, kHeight, canvas.Pixels()}}),
          {}};
}

void Put(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// The canvas as an 8-bit bitmap file, the 40-byte header, rows bottom-up.
std::vector<std::uint8_t> BitmapFile(const Canvas& canvas) {
  const int stride = (canvas.Width() + 3) / 4 * 4;
  const std::uint32_t offset = 14 + 40 + 256 * 4, size = offset + static_cast<std::uint32_t>(stride * canvas.Height());
  std::vector<std::uint8_t> out{'B', 'M'};
  Put(out, size, 4);
  Put(out, 0, 4);
  Put(out, offset, 4);
  for (std::uint32_t v : {40u, static_cast<std::uint32_t>(canvas.Width()), static_cast<std::uint32_t>(canvas.Height())})
    Put(out, v, 4);
  Put(out, 1, 2);
  Put(out, 8, 2);
  for (std::uint32_t v : {0u, 0u, 0u, 0u, 256u, 0u}) Put(out, v, 4);
  for (int i = 0; i < 256; ++i) {
    const TColorTriple c = i < static_cast<int>(canvas.Palette().size()) ? canvas.Palette()[static_cast<std::size_t>(i)]
                                                                         : TColorTriple{};
    out.insert(out.end(), {c.b, c.g, c.r, 0});
  }
  for (int y = canvas.Height(); y-- > 0;) {
    const auto row = canvas.Pixels().begin() + static_cast<std::ptrdiff_t>(y) * canvas.Width();
    out.insert(out.end(), row, row + canvas.Width());
    out.resize(out.size() + static_cast<std::size_t>(stride - canvas.Width()), 0);
  }
  return out;
}

// A glyph of two 16 x 16 states side by side, enabled and disabled, on the button face (the
// bottom-left pixel, which the buttons take as transparent).
TSlotPicture Glyph(const char* name, const char* const shape[16], Rgb ink) {
  Canvas canvas(32, 16);
  canvas.Fill(0, 0, 32, 16, Colour(canvas, {192, 192, 192}));
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      if (shape[y][x] == '#') {
        canvas.Set(x, y, Colour(canvas, ink));
        canvas.Set(16 + x + 1, y + 1, Colour(canvas, {255, 255, 255}));
      }
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      if (shape[y][x] == '#') canvas.Set(16 + x, y, Colour(canvas, {128, 128, 128}));
  return {
      name, 32, 16, 1, GifFileBytes(32, 16, canvas.Palette(), {{0, 0, 32, 16, canvas.Pixels()}}), BitmapFile(canvas)};
}

constexpr const char* kCross[16] = {"................", "................", "...##......##...", "...###....###...",
                                    "....###..###....", ".....######.....", "......####......", "......####......",
                                    ".....######.....", "....###..###....", "...###....###...", "...##......##...",
                                    "................", "................", "................", "................"};
constexpr const char* kTick[16] = {"................", "................", "............##..", "...........###..",
                                   "..........###...", ".........###....", "..##....###.....", "..###..###......",
                                   "...#####........", "....###.........", ".....#..........", "................",
                                   "................", "................", "................", "................"};
// An arrow turning back on itself, as on a retry button.
constexpr const char* kRetry[16] = {"................", ".....######.....", "...##......##...", "..##........#...",
                                    "..#..........#..", ".#...........#..", ".#.........#####", ".#..........###.",
                                    ".#............#.", "..#.............", "..##........#...", "...##......##...",
                                    ".....######.....", "................", "................", "................"};
constexpr const char* kBack[16] = {"................", "................", ".....#..........", "....##..........",
                                   "...###########..", "..############..", "...###########..", "....##.......#..",
                                   ".....#.......#..", ".............#..", ".............#..", "......########..",
                                   "................", "................", "................", "................"};

}  // namespace

std::vector<TSlotPicture> CorvanePictures() {
  std::vector<TSlotPicture> pictures;
  for (int slot = 0; slot < 3; ++slot) pictures.push_back(Header(slot));
  for (int slot = 0; slot < 3; ++slot) pictures.push_back(Badge(slot));
  pictures.push_back(About());
  pictures.push_back(Glyph("glyph_cancel.gif", kCross, {200, 0, 0}));
  pictures.push_back(Glyph("glyph_ok.gif", kTick, {0, 128, 0}));
  pictures.push_back(Glyph("glyph_restore.gif", kRetry, {0, 0, 160}));
  pictures.push_back(Glyph("glyph_back.gif", kBack, {0, 0, 128}));
  return pictures;
}
