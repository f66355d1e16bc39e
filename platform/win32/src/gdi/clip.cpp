// Region objects and the clip region of a device context.
#include "dc.h"
#include "polygon_scan.h"

using namespace gdi;

namespace {

RECT Ordered(int l, int t, int r, int b) {
  if (l > r) std::swap(l, r);
  if (t > b) std::swap(t, b);
  return RECT{l, t, r, b};
}

int ClipKind(DeviceContext& dc) { return dc.Drawable().Kind(); }

// Combines the DC's clip region (the whole surface when it has none) with `other`.
int CombineClip(DeviceContext& dc, const Region& other, int mode) {
  Surface* s = dc.GetSurface();
  Region current = dc.state.clip ? *dc.state.clip : Region(RECT{0, 0, s ? s->width : 0, s ? s->height : 0});
  dc.state.clip = Region::Combine(current, other, mode);
  dc.ClipChanged();
  return ClipKind(dc);
}

}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  auto r = std::make_unique<RegionObject>();
  r->region = Region(Ordered(left, top, right, bottom));
  return AddObject(std::move(r));
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
  return rect ? CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom) : nullptr;
}

HRGN CreatePolyPolygonRgn(const POINT* points, const INT* counts, int polygons, int mode) {
  if (!points || !counts || polygons < 1 || (mode != ALTERNATE && mode != WINDING)) return nullptr;
  std::vector<std::vector<POINT>> all;
  for (int i = 0; i < polygons; ++i) {
    if (counts[i] < 2) return nullptr;
    all.emplace_back(points, points + counts[i]);
    points += counts[i];
  }
  auto r = std::make_unique<RegionObject>();
  r->region = Region::FromRows([&](const auto& span) { ScanPolygons(all, mode == WINDING, span); });
  return AddObject(std::move(r));
}

int CombineRgn(HRGN dest, HRGN source1, HRGN source2, int mode) {
  RegionObject *d = FindRegion(dest), *a = FindRegion(source1);
  if (!d || !a || mode < RGN_AND || mode > RGN_COPY) return ERROR;
  if (mode == RGN_COPY) {
    d->region = a->region;
  } else {
    RegionObject* b = FindRegion(source2);
    if (!b) return ERROR;
    d->region = Region::Combine(a->region, b->region, mode);
  }
  return d->region.Kind();
}

int OffsetRgn(HRGN handle, int dx, int dy) {
  RegionObject* r = FindRegion(handle);
  if (!r) return ERROR;
  r->region.Offset(dx, dy);
  return r->region.Kind();
}

BOOL EqualRgn(HRGN a, HRGN b) {
  RegionObject *x = FindRegion(a), *y = FindRegion(b);
  return x && y && x->region == y->region;
}

BOOL PtInRegion(HRGN handle, int x, int y) {
  RegionObject* r = FindRegion(handle);
  return r && r->region.Contains(x, y);
}

int GetRgnBox(HRGN handle, RECT* box) {
  RegionObject* r = FindRegion(handle);
  if (!r || !box) return ERROR;
  *box = r->region.Box();
  return r->region.Kind();
}

int IntersectClipRect(HDC handle, int left, int top, int right, int bottom) {
  DeviceContext* dc = FindDC(handle);
  if (!dc) return ERROR;
  RECT r = dc->ToDevice(Ordered(left, top, right, bottom));
  return CombineClip(*dc, Region(r), RGN_AND);
}

int ExcludeClipRect(HDC handle, int left, int top, int right, int bottom) {
  DeviceContext* dc = FindDC(handle);
  if (!dc) return ERROR;
  RECT r = dc->ToDevice(Ordered(left, top, right, bottom));
  return CombineClip(*dc, Region(r), RGN_DIFF);
}

int ExtSelectClipRgn(HDC handle, HRGN region, int mode) {
  DeviceContext* dc = FindDC(handle);
  if (!dc) return ERROR;
  if (!region) {
    if (mode != RGN_COPY) return ERROR;
    dc->state.clip.reset();
    dc->ClipChanged();
    return ClipKind(*dc);
  }
  RegionObject* r = FindRegion(region);
  if (!r || mode < RGN_AND || mode > RGN_COPY) return ERROR;
  if (mode == RGN_COPY) {
    dc->state.clip = r->region;
    dc->ClipChanged();
    return ClipKind(*dc);
  }
  return CombineClip(*dc, r->region, mode);
}

int SelectClipRgn(HDC dc, HRGN region) { return ExtSelectClipRgn(dc, region, RGN_COPY); }

int GetClipBox(HDC handle, RECT* rect) {
  DeviceContext* dc = FindDC(handle);
  if (!dc || !rect) return ERROR;
  RECT box = dc->Drawable().Box();
  POINT a = dc->ToLogical(POINT{box.left, box.top}), b = dc->ToLogical(POINT{box.right, box.bottom});
  *rect = RECT{a.x, a.y, b.x, b.y};
  return ClipKind(*dc);
}

int GetClipRgn(HDC handle, HRGN region) {
  DeviceContext* dc = FindDC(handle);
  RegionObject* r = FindRegion(region);
  if (!dc || !r) return -1;
  if (!dc->state.clip) return 0;
  r->region = *dc->state.clip;
  return 1;
}
