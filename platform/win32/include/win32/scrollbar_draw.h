#pragma once
// The classic scroll bar's geometry, hit testing and painting, shared by the system's drop-down
// list and the class library's scroll bar control, list boxes and scroll boxes.
#include "win32/gdi.h"

namespace scrollbar {

enum Part { kNowhere, kLineUp, kPageUp, kThumb, kPageDown, kLineDown };

struct Geometry {
  RECT Bar;
  bool Vertical;
  int Min, Max;  // positions run from Min to Max
  int Pos;
  int Page;  // the part shown, for the thumb's length; 0 for a square thumb
};

RECT ThumbRect(const Geometry& G);
Part ScrollPartAt(const Geometry& G, POINT Pt);
// The position whose thumb starts at ThumbStart (the coordinate along the bar).
int PosAtThumb(const Geometry& G, int ThumbStart);
void DrawScrollBar(HDC DC, const Geometry& G, Part Pressed, bool Enabled);
// One arrow button, also a combo box's: Direction 0 up, 1 down, 2 left, 3 right. Pressed, it is flat
// with the arrow moved down and right; disabled, the arrow is embossed.
void DrawArrowButton(HDC DC, RECT R, int Direction, bool Pressed, bool Enabled);

}  // namespace scrollbar
