// Classic scroll bars: two arrow buttons, a dithered track and a raised thumb.
#include "win32/scrollbar_draw.h"

#include <algorithm>

#include "win32/syscolor.h"

namespace scrollbar {
namespace {

int Length(const Geometry& G) { return G.Vertical ? G.Bar.bottom - G.Bar.top : G.Bar.right - G.Bar.left; }
int Thickness(const Geometry& G) { return G.Vertical ? G.Bar.right - G.Bar.left : G.Bar.bottom - G.Bar.top; }
int Arrow(const Geometry& G) { return std::min(Thickness(G), Length(G) / 2); }
int Track(const Geometry& G) { return std::max(0, Length(G) - 2 * Arrow(G)); }

int ThumbLength(const Geometry& G) {
  const int track = Track(G);
  if (G.Page <= 0) return std::min(track, Thickness(G));
  const int span = G.Max - G.Min + G.Page;
  return std::min(track, std::max(8, span > 0 ? track * G.Page / span : track));
}

// Along the bar: where the thumb starts, from the bar's start.
int ThumbStart(const Geometry& G) {
  const int room = Track(G) - ThumbLength(G), range = G.Max - G.Min;
  const int offset = range > 0 ? static_cast<int>(static_cast<long long>(G.Pos - G.Min) * room / range) : 0;
  return Arrow(G) + std::max(0, std::min(offset, room));
}

RECT Segment(const Geometry& G, int From, int To) {
  return G.Vertical ? RECT{G.Bar.left, G.Bar.top + From, G.Bar.right, G.Bar.top + To}
                    : RECT{G.Bar.left + From, G.Bar.top, G.Bar.left + To, G.Bar.bottom};
}

}  // namespace

RECT ThumbRect(const Geometry& G) {
  const int start = ThumbStart(G);
  return Segment(G, start, start + ThumbLength(G));
}

Part ScrollPartAt(const Geometry& G, POINT Pt) {
  if (Pt.x < G.Bar.left || Pt.x >= G.Bar.right || Pt.y < G.Bar.top || Pt.y >= G.Bar.bottom) return kNowhere;
  const int along = G.Vertical ? Pt.y - G.Bar.top : Pt.x - G.Bar.left;
  const int start = ThumbStart(G);
  if (along < Arrow(G)) return kLineUp;
  if (along >= Length(G) - Arrow(G)) return kLineDown;
  if (along < start) return kPageUp;
  if (along >= start + ThumbLength(G)) return kPageDown;
  return kThumb;
}

int PosAtThumb(const Geometry& G, int Start) {
  const int room = Track(G) - ThumbLength(G), range = G.Max - G.Min;
  if (room <= 0) return G.Min;
  const int offset = std::max(0, std::min(Start - Arrow(G), room));
  return G.Min + static_cast<int>((static_cast<long long>(offset) * range + room / 2) / room);
}

void DrawScrollBar(HDC DC, const Geometry& G, Part Pressed, bool Enabled) {
  const int arrow = Arrow(G), length = Length(G);
  DrawArrowButton(DC, Segment(G, 0, arrow), G.Vertical ? 0 : 2, Pressed == kLineUp, Enabled);
  DrawArrowButton(DC, Segment(G, length - arrow, length), G.Vertical ? 1 : 3, Pressed == kLineDown, Enabled);
  // The track: the classic checkerboard of face and highlight.
  RECT track = Segment(G, arrow, length - arrow);
  const COLORREF face = GetSysColor(COLOR_BTNFACE), light = GetSysColor(COLOR_BTNHIGHLIGHT);
  for (int y = track.top; y < track.bottom; ++y)
    for (int x = track.left; x < track.right; ++x) SetPixelV(DC, x, y, ((x + y) & 1) ? face : light);
  if (!Enabled || G.Max <= G.Min) return;
  auto darken = [&](Part part, int from, int to) {
    if (Pressed != part || from >= to) return;
    RECT r = Segment(G, from, to);
    FillRect(DC, &r, GetSysColorBrush(COLOR_3DDKSHADOW));
  };
  const int start = ThumbStart(G), thumbLength = ThumbLength(G);
  darken(kPageUp, arrow, start);
  darken(kPageDown, start + thumbLength, length - arrow);
  RECT thumb = ThumbRect(G);
  DrawEdge(DC, &thumb, EDGE_RAISED, BF_RECT | BF_ADJUST);
  FillRect(DC, &thumb, GetSysColorBrush(COLOR_BTNFACE));
}

void DrawArrowButton(HDC DC, RECT R, int Direction, bool Pressed, bool Enabled) {
  if (Pressed) {
    FrameRect(DC, &R, GetSysColorBrush(COLOR_BTNSHADOW));
    R = {R.left + 1, R.top + 1, R.right - 1, R.bottom - 1};
  } else {
    DrawEdge(DC, &R, EDGE_RAISED, BF_RECT | BF_ADJUST);
  }
  FillRect(DC, &R, GetSysColorBrush(COLOR_BTNFACE));
  // A triangle of four rows; Direction 0 up, 1 down, 2 left, 3 right.
  const int shift = Pressed ? 1 : 0;
  const int cx = (R.left + R.right) / 2 + shift, cy = (R.top + R.bottom) / 2 + shift;
  auto dot = [&](int x, int y, COLORREF c) { SetPixelV(DC, x, y, c); };
  auto triangle = [&](int dx, int dy, COLORREF c) {
    for (int row = 0; row < 4; ++row)
      for (int i = -row; i <= row; ++i) {
        const int along = Direction == 0 || Direction == 2 ? row - 2 : 1 - row;
        if (Direction < 2) dot(cx + i + dx, cy + along + dy, c);
        else
          dot(cx + along + dx, cy + i + dy, c);
      }
  };
  if (Enabled) {
    triangle(0, 0, GetSysColor(COLOR_BTNTEXT));
  } else {
    triangle(1, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
    triangle(0, 0, GetSysColor(COLOR_BTNSHADOW));
  }
}

}  // namespace scrollbar
