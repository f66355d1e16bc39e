// Pixels, rectangle fills and frames, and region fills.
#include "raster.h"
#include "win32/syscolor.h"

using namespace gdi;

namespace {

// FillRect and friends accept COLOR_xxx + 1 in place of a brush.
HBRUSH BrushOrSysColor(HBRUSH brush) {
  auto v = reinterpret_cast<std::uintptr_t>(brush);
  return v > 0 && v <= COLOR_INFOBK + 1 ? GetSysColorBrush(static_cast<int>(v) - 1) : brush;
}

RECT Ordered(RECT r) {
  if (r.left > r.right) std::swap(r.left, r.right);
  if (r.top > r.bottom) std::swap(r.top, r.bottom);
  return r;
}

// Brush fill of device rectangles, ignoring ROP2.
bool FillDevice(DeviceContext& dc, HBRUSH brush, std::initializer_list<RECT> rects) {
  if (!FindBrush(brush)) return false;
  BrushPattern pattern(dc, brush);
  SpanPainter painter(dc, pattern, R2_COPYPEN);
  for (const RECT& r : rects) painter.Rect(r);
  return true;
}

void InvertDevice(DeviceContext& dc, const RECT& r) {
  Surface* s = dc.GetSurface();
  if (!s) return;
  SpanPainter(dc, 0, R2_NOT).Rect(r);
}

}  // namespace

COLORREF SetPixel(HDC handle, int x, int y, COLORREF color) {
  DeviceContext* dc = FindDC(handle);
  Surface* s = dc ? dc->GetSurface() : nullptr;
  if (!s) return CLR_INVALID;
  POINT p = dc->ToDevice(POINT{x, y});
  if (!dc->Drawable().Contains(p.x, p.y)) return CLR_INVALID;
  DWORD v = PixelValue(*dc, color);
  s->Put(p.x, p.y, v);
  return s->ColorOf(v);
}

BOOL SetPixelV(HDC dc, int x, int y, COLORREF color) { return SetPixel(dc, x, y, color) != CLR_INVALID; }

COLORREF GetPixel(HDC handle, int x, int y) {
  DeviceContext* dc = FindDC(handle);
  Surface* s = dc ? dc->GetSurface() : nullptr;
  if (!s) return CLR_INVALID;
  POINT p = dc->ToDevice(POINT{x, y});
  if (!dc->Drawable().Contains(p.x, p.y)) return CLR_INVALID;
  return s->ColorOf(s->Get(p.x, p.y));
}

int FillRect(HDC handle, const RECT* rect, HBRUSH brush) {
  DeviceContext* dc = FindDC(handle);
  if (!dc || !rect) return 0;
  return FillDevice(*dc, BrushOrSysColor(brush), {dc->ToDevice(*rect)}) ? 1 : 0;
}

int FrameRect(HDC handle, const RECT* rect, HBRUSH brush) {
  DeviceContext* dc = FindDC(handle);
  if (!dc || !rect) return 0;
  RECT r = dc->ToDevice(*rect);
  if (r.left >= r.right || r.top >= r.bottom) return 1;
  return FillDevice(
             *dc, BrushOrSysColor(brush),
             {RECT{r.left, r.top, r.right, r.top + 1}, RECT{r.left, r.bottom - 1, r.right, r.bottom},
              RECT{r.left, r.top + 1, r.left + 1, r.bottom - 1}, RECT{r.right - 1, r.top + 1, r.right, r.bottom - 1}})
             ? 1
             : 0;
}

BOOL InvertRect(HDC handle, const RECT* rect) {
  DeviceContext* dc = FindDC(handle);
  if (!dc || !rect) return FALSE;
  InvertDevice(*dc, dc->ToDevice(*rect));
  return TRUE;
}

BOOL DrawFocusRect(HDC handle, const RECT* rect) {
  DeviceContext* dc = FindDC(handle);
  Surface* s = dc ? dc->GetSurface() : nullptr;
  if (!s || !rect) return FALSE;
  RECT r = Ordered(dc->ToDevice(*rect));
  if (r.left >= r.right || r.top >= r.bottom) return TRUE;
  // Every other pixel of the one-pixel frame is inverted (a 50% grey pattern XORed on), so drawing
  // it twice restores what was there.
  const Region& drawable = dc->Drawable();
  DWORD mask = s->ValueMask();
  auto flip = [&](int x, int y) {
    if (((x + y) & 1) == 0 && drawable.Contains(x, y)) s->Put(x, y, s->Get(x, y) ^ mask);
  };
  for (int x = r.left; x < r.right; ++x) {
    flip(x, r.top);
    if (r.bottom - 1 > r.top) flip(x, r.bottom - 1);
  }
  for (int y = r.top + 1; y < r.bottom - 1; ++y) {
    flip(r.left, y);
    if (r.right - 1 > r.left) flip(r.right - 1, y);
  }
  return TRUE;
}

BOOL FillRgn(HDC handle, HRGN region, HBRUSH brush) {
  DeviceContext* dc = FindDC(handle);
  RegionObject* rgn = FindRegion(region);
  brush = BrushOrSysColor(brush);
  if (!dc || !rgn || !FindBrush(brush)) return FALSE;
  BrushPattern pattern(*dc, brush);
  SpanPainter painter(*dc, pattern, R2_COPYPEN);
  POINT o = dc->ToDevice(POINT{0, 0});
  for (const RECT& r : rgn->region.Rects())
    painter.Rect(RECT{r.left + o.x, r.top + o.y, r.right + o.x, r.bottom + o.y});
  return TRUE;
}
