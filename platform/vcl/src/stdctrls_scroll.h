#pragma once
// The classic scroll bar's geometry, hit testing and painting, shared by the scroll bar control,
// list boxes and scroll boxes.
#include "win32/gdi.h"

namespace stdctrls {

enum TScrollPart { kNowhere, kLineUp, kPageUp, kThumb, kPageDown, kLineDown };

struct TScrollGeometry {
  RECT Bar;
  bool Vertical;
  int Min, Max;  // positions run from Min to Max
  int Pos;
  int Page;      // the part shown, for the thumb's length; 0 for a square thumb
};

RECT ThumbRect(const TScrollGeometry& G);
TScrollPart ScrollPartAt(const TScrollGeometry& G, POINT Pt);
// The position whose thumb starts at ThumbStart (the coordinate along the bar).
int PosAtThumb(const TScrollGeometry& G, int ThumbStart);
void DrawScrollBar(HDC DC, const TScrollGeometry& G, TScrollPart Pressed, bool Enabled);

}  // namespace stdctrls
