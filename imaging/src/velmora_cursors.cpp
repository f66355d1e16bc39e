// The image view's eight cursors, drawn here once per process as black shapes with a white rim:
// magnifiers with a minus and a plus, a cross, an eraser, a hand, a pen and two cross hairs.
#include <array>
#include <cstdint>
#include <cstdlib>

#include "imaging/velmora_view.h"
#include "vcl/forms.h"

namespace {

constexpr int kSize = 32;
constexpr int kRowBytes = kSize / 8;

using TShape = bool (*)(int x, int y);

bool Lens(int x, int y) {
  const int d = (x - 12) * (x - 12) + (y - 12) * (y - 12);
  const bool ring = d <= 64 && d >= 36;
  const bool handle = x >= 17 && y >= 17 && x <= 27 && y <= 27 && std::abs(x - y) <= 1;
  return ring || handle;
}
bool ZoomOut(int x, int y) { return Lens(x, y) || (y == 12 && x >= 9 && x <= 15); }
bool ZoomIn(int x, int y) { return ZoomOut(x, y) || (x == 12 && y >= 9 && y <= 15); }
bool Cross(int x, int y) { return (x == 15 && y >= 4 && y <= 26) || (y == 15 && x >= 4 && x <= 26); }
bool Eraser(int x, int y) {
  const int u = x + y, v = x - y;
  return u >= 18 && u <= 42 && v >= -6 && v <= 6 && (u == 18 || u == 42 || v == -6 || v == 6 || u == 26);
}
bool Hand(int x, int y) {
  const bool palm = x >= 8 && x <= 22 && y >= 14 && y <= 26;
  const bool fingers = y >= 5 && y < 14 && (x == 9 || x == 10 || x == 13 || x == 14 || x == 17 || x == 18 || x == 21);
  return palm || fingers;
}
bool Pen(int x, int y) {
  const int v = x - (26 - y);
  return x >= 3 && x <= 24 && y >= 3 && y <= 26 && v >= -1 && v <= 1 && x + y >= 5;
}
bool CrossHair(int x, int y) {
  const int dx = std::abs(x - 15), dy = std::abs(y - 15);
  return (x == 15 && dy <= 12 && dy >= 3) || (y == 15 && dx <= 12 && dx >= 3);
}
bool CrossHairDot(int x, int y) { return CrossHair(x, y) || (x == 15 && y == 15); }

HCURSOR MakeCursor(TShape shape, int hotX, int hotY) {
  // AND 1, XOR 0 leaves the screen; AND 0 with XOR 0 is black, with XOR 1 white.
  std::array<std::uint8_t, kRowBytes * kSize> andMask, xorMask{};
  andMask.fill(0xFF);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      const bool inside = shape(x, y);
      bool rim = false;
      for (int j = -1; j <= 1 && !inside; ++j)
        for (int i = -1; i <= 1; ++i)
          if (x + i >= 0 && x + i < kSize && y + j >= 0 && y + j < kSize && shape(x + i, y + j)) rim = true;
      if (!inside && !rim) continue;
      const auto bit = static_cast<std::uint8_t>(0x80 >> (x % 8));
      const auto at = static_cast<std::size_t>(y * kRowBytes + x / 8);
      andMask[at] &= static_cast<std::uint8_t>(~bit);
      if (rim) xorMask[at] |= bit;
    }
  return CreateCursor(nullptr, hotX, hotY, kSize, kSize, andMask.data(), xorMask.data());
}

struct TCursorShape {
  TCursor Number;
  TShape Shape;
  int HotX, HotY;
};

// "ZOOMOUT", "ZOOMIN", "CROSS", "ERASER", "HAND", "PEN", "CROSS1", "CROSS2".
constexpr TCursorShape kShapes[] = {{crVelmoraZoomOut, ZoomOut, 12, 12},  {crVelmoraZoomIn, ZoomIn, 12, 12},
                                    {crVelmoraCross, Cross, 15, 15},      {crVelmoraEraser, Eraser, 9, 20},
                                    {crVelmoraHand, Hand, 15, 15},        {crVelmoraPen, Pen, 3, 26},
                                    {crVelmoraCross1, CrossHair, 15, 15}, {crVelmoraCross2, CrossHairDot, 15, 15}};

}  // namespace

void RegisterVelmoraCursors() {
  static const std::array<HCURSOR, std::size(kShapes)> cursors = [] {
    std::array<HCURSOR, std::size(kShapes)> made{};
    for (std::size_t i = 0; i < made.size(); ++i)
      made[i] = MakeCursor(kShapes[i].Shape, kShapes[i].HotX, kShapes[i].HotY);
    return made;
  }();
  for (std::size_t i = 0; i < cursors.size(); ++i) Screen->SetCursors(kShapes[i].Number, cursors[i]);
}
