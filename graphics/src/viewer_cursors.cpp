// The viewer's four 32 x 32 cursors, drawn here as black shapes with a white rim: an open hand
// (a ring), a grabbing hand (a disc), a cross hair and a four-way move arrow.
#include <array>
#include <cstdint>
#include <cstdlib>

#include "graphics/library.h"
#include "viewer_cursors.h"

HCURSOR PGCursorOpenHand = nullptr;
HCURSOR PGCursorGrabbingHand = nullptr;
HCURSOR PGCursorCross = nullptr;
HCURSOR PGCursorMove = nullptr;

namespace {

constexpr int kSize = 32;
constexpr int kRowBytes = kSize / 8;

// Which pixels a shape covers; the rim is the ring of pixels next to it.
using TShape = bool (*)(int x, int y);

bool Ring(int x, int y) {
  const int d = (x - 16) * (x - 16) + (y - 12) * (y - 12);
  return d <= 81 && d >= 36;
}
bool Disc(int x, int y) { return (x - 16) * (x - 16) + (y - 12) * (y - 12) <= 64; }
bool CrossHair(int x, int y) {
  return (x == 15 && std::abs(y - 15) <= 12 && std::abs(y - 15) >= 2) ||
         (y == 15 && std::abs(x - 15) <= 12 && std::abs(x - 15) >= 2);
}
bool MoveArrows(int x, int y) {
  const int dx = std::abs(x - 16), dy = std::abs(y - 15);
  const bool shaft = (dx <= 1 && dy <= 11) || (dy <= 1 && dx <= 11);
  const bool vertical_head = dy >= 8 && dy <= 12 && dx <= 12 - dy + 1;
  const bool horizontal_head = dx >= 8 && dx <= 12 && dy <= 12 - dx + 1;
  return shaft || vertical_head || horizontal_head;
}

HCURSOR MakeCursor(TShape shape, int hotX, int hotY) {
  // AND 1, XOR 0 leaves the screen; AND 0 with XOR 0 is black, with XOR 1 white.
  std::array<std::uint8_t, kRowBytes * kSize> andMask, xorMask{};
  andMask.fill(0xFF);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      bool inside = shape(x, y), rim = false;
      for (int j = -1; j <= 1 && !inside; ++j)
        for (int i = -1; i <= 1; ++i)
          if (x + i >= 0 && x + i < kSize && y + j >= 0 && y + j < kSize && shape(x + i, y + j)) rim = true;
      if (!inside && !rim) continue;
      const auto bit = static_cast<std::uint8_t>(0x80 >> (x % 8));
      andMask[static_cast<std::size_t>(y * kRowBytes + x / 8)] &= static_cast<std::uint8_t>(~bit);
      if (rim) xorMask[static_cast<std::size_t>(y * kRowBytes + x / 8)] |= bit;
    }
  return CreateCursor(nullptr, hotX, hotY, kSize, kSize, andMask.data(), xorMask.data());
}

}  // namespace

void CreateViewerCursors() {
  PGCursorOpenHand = MakeCursor(Ring, 16, 12);
  PGCursorGrabbingHand = MakeCursor(Disc, 16, 12);
  PGCursorCross = MakeCursor(CrossHair, 15, 15);
  PGCursorMove = MakeCursor(MoveArrows, 16, 15);
}

void DestroyViewerCursors() {
  for (HCURSOR* cursor : {&PGCursorOpenHand, &PGCursorGrabbingHand, &PGCursorCross, &PGCursorMove}) {
    if (*cursor) DestroyCursor(*cursor);
    *cursor = nullptr;
  }
}
