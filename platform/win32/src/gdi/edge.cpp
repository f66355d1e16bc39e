// DrawEdge: the classic 3-D frames, drawn as up to two one-pixel rings.
#include "raster.h"
#include "win32/syscolor.h"

using namespace gdi;

namespace {

void Line(DeviceContext& dc, int colorIndex, const RECT& r) {
  SpanPainter(dc, PixelValue(dc, GetSysColor(colorIndex)), R2_COPYPEN).Rect(r);
}

// One ring: the top and left sides in `light`, the bottom and right ones in `dark` (they take the
// top-right and bottom-left corners); the ring's sides are chosen by BF_LEFT ... BF_BOTTOM.
void Ring(DeviceContext& dc, RECT& r, int light, int dark, UINT flags) {
  if (r.left >= r.right || r.top >= r.bottom) return;
  if (flags & BF_TOP) Line(dc, light, RECT{r.left, r.top, r.right - 1, r.top + 1});
  if (flags & BF_LEFT) Line(dc, light, RECT{r.left, r.top, r.left + 1, r.bottom - 1});
  if (flags & BF_BOTTOM) Line(dc, dark, RECT{r.left, r.bottom - 1, r.right, r.bottom});
  if (flags & BF_RIGHT) Line(dc, dark, RECT{r.right - 1, r.top, r.right, r.bottom});
  if (flags & BF_LEFT) ++r.left;
  if (flags & BF_TOP) ++r.top;
  if (flags & BF_RIGHT) --r.right;
  if (flags & BF_BOTTOM) --r.bottom;
}

}  // namespace

BOOL DrawEdge(HDC handle, RECT* rect, UINT edge, UINT flags) {
  DeviceContext* dc = FindDC(handle);
  if (!dc || !rect || (flags & BF_DIAGONAL)) return FALSE;
  RECT r = dc->ToDevice(*rect);
  UINT outer = edge & BDR_OUTER, inner = edge & BDR_INNER;
  if (flags & BF_MONO) {
    if (outer) Ring(*dc, r, COLOR_WINDOWFRAME, COLOR_WINDOWFRAME, flags);
    if (inner) Ring(*dc, r, COLOR_WINDOW, COLOR_WINDOW, flags);
  } else if (flags & BF_FLAT) {
    if (outer) Ring(*dc, r, COLOR_3DSHADOW, COLOR_3DSHADOW, flags);
    if (inner) Ring(*dc, r, COLOR_3DFACE, COLOR_3DFACE, flags);
  } else {
    bool soft = flags & BF_SOFT;
    if (outer & BDR_RAISEDOUTER) Ring(*dc, r, soft ? COLOR_3DHIGHLIGHT : COLOR_3DLIGHT, COLOR_3DDKSHADOW, flags);
    else if (outer & BDR_SUNKENOUTER)
      Ring(*dc, r, soft ? COLOR_3DDKSHADOW : COLOR_3DSHADOW, COLOR_3DHIGHLIGHT, flags);
    if (inner & BDR_RAISEDINNER) Ring(*dc, r, soft ? COLOR_3DLIGHT : COLOR_3DHIGHLIGHT, COLOR_3DSHADOW, flags);
    else if (inner & BDR_SUNKENINNER)
      Ring(*dc, r, soft ? COLOR_3DSHADOW : COLOR_3DDKSHADOW, COLOR_3DLIGHT, flags);
  }
  if (flags & BF_MIDDLE) Line(*dc, (flags & BF_MONO) ? COLOR_WINDOW : COLOR_3DFACE, r);
  if (flags & BF_ADJUST) {
    POINT a = dc->ToLogical(POINT{r.left, r.top}), b = dc->ToLogical(POINT{r.right, r.bottom});
    *rect = RECT{a.x, a.y, b.x, b.y};
  }
  return TRUE;
}
