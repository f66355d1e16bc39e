// The viewer's four 32 x 32 cursors, drawn here as black shapes with a white rim: an open hand
// (a ring), a grabbing hand (a disc), a cross hair and a four-way move arrow.
#include <cstdlib>

#include "graphics/library.h"
#include "viewer_cursors.h"
#include "vcl/drawn_cursors.h"

HCURSOR PGCursorOpenHand = nullptr;
HCURSOR PGCursorGrabbingHand = nullptr;
HCURSOR PGCursorCross = nullptr;
HCURSOR PGCursorMove = nullptr;

namespace {

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

}  // namespace

void CreateViewerCursors() {
  PGCursorOpenHand = CreateRimmedCursor(Ring, 16, 12);
  PGCursorGrabbingHand = CreateRimmedCursor(Disc, 16, 12);
  PGCursorCross = CreateRimmedCursor(CrossHair, 15, 15);
  PGCursorMove = CreateRimmedCursor(MoveArrows, 16, 15);
}

void DestroyViewerCursors() {
  for (HCURSOR* cursor : {&PGCursorOpenHand, &PGCursorGrabbingHand, &PGCursorCross, &PGCursorMove}) {
    if (*cursor) DestroyCursor(*cursor);
    *cursor = nullptr;
  }
}
