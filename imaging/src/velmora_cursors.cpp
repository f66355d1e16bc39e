// The image view's eight cursors, drawn here once per process as black shapes with a white rim:
// magnifiers with a minus and a plus, a cross, an eraser, a hand, a pen and two cross hairs.
#include <cstdlib>

#include "imaging/velmora_view.h"
#include "vcl/forms.h"
#include "vcl/drawn_cursors.h"

namespace {

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

struct TCursorShape {
  TCursor Number;
  TCursorPixels Shape;
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
      made[i] = CreateRimmedCursor(kShapes[i].Shape, kShapes[i].HotX, kShapes[i].HotY);
    return made;
  }();
  for (std::size_t i = 0; i < cursors.size(); ++i) Screen->SetCursors(kShapes[i].Number, cursors[i]);
}
