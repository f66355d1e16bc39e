#include "dc.h"

#include "objects.h"

namespace gdi {
namespace {

// Objects referenced by a DC's current or saved states count as selected, so they cannot be
// deleted under it; a bitmap knows the one DC that holds it.
void Hold(HDC dc, HGDIOBJ handle) {
  GdiObject* o = FindObject(handle);
  if (!o) return;
  ++o->selectCount;
  if (o->kind == ObjectKind::Bitmap) static_cast<BitmapObject*>(o)->selectedInto = dc;
}

void Release(HGDIOBJ handle) {
  GdiObject* o = FindObject(handle);
  if (!o || o->selectCount == 0) return;
  if (--o->selectCount == 0 && o->kind == ObjectKind::Bitmap) static_cast<BitmapObject*>(o)->selectedInto = nullptr;
}

void HoldState(HDC dc, const DcState& s) {
  for (HGDIOBJ h : {s.bitmap, s.pen, s.brush, s.font, s.palette}) Hold(dc, h);
}
void ReleaseState(const DcState& s) {
  for (HGDIOBJ h : {s.bitmap, s.pen, s.brush, s.font, s.palette}) Release(h);
}

HDC NewDC(std::unique_ptr<DeviceContext> dc) {
  dc->state.pen = StockObject(BLACK_PEN);
  dc->state.brush = StockObject(WHITE_BRUSH);
  dc->state.font = StockObject(SYSTEM_FONT);
  dc->state.palette = StockObject(DEFAULT_PALETTE);
  if (dc->IsMemory()) dc->state.bitmap = DefaultBitmap();
  DeviceContext* raw = dc.get();
  HDC handle = AddObject(std::move(dc));
  HoldState(handle, raw->state);
  return handle;
}

// Swaps `slot` to `handle`, keeping the selection counts; returns the old handle.
HGDIOBJ Swap(HDC dc, HGDIOBJ& slot, HGDIOBJ handle) {
  HGDIOBJ old = slot;
  Hold(dc, handle);
  Release(old);
  slot = handle;
  return old;
}

}  // namespace

DeviceContext::~DeviceContext() {
  ReleaseState(state);
  for (const DcState& s : saved) ReleaseState(s);
}

Surface* DeviceContext::GetSurface() const {
  if (!IsMemory()) return device.get();
  BitmapObject* b = FindBitmap(state.bitmap);
  return b ? b->surface.get() : nullptr;
}

const Region& DeviceContext::Drawable() {
  if (!drawableValid_) {
    Surface* s = GetSurface();
    Region r(RECT{0, 0, s ? s->width : 0, s ? s->height : 0});
    if (visible) r = Region::Combine(r, *visible, RGN_AND);
    if (state.clip) r = Region::Combine(r, *state.clip, RGN_AND);
    drawable_ = std::move(r);
    drawableValid_ = true;
  }
  return drawable_;
}

RECT DeviceContext::ToDevice(const RECT& r) const {
  POINT a = ToDevice(POINT{r.left, r.top}), b = ToDevice(POINT{r.right, r.bottom});
  return RECT{a.x, a.y, b.x, b.y};
}

DeviceContext* FindDC(HDC handle) {
  GdiObject* o = FindObject(handle);
  return o && (o->kind == ObjectKind::DC || o->kind == ObjectKind::MemoryDC) ? static_cast<DeviceContext*>(o) : nullptr;
}

HDC CreateDeviceDC(std::shared_ptr<Surface> surface) {
  auto dc = std::make_unique<DeviceContext>(false);
  dc->device = std::move(surface);
  return NewDC(std::move(dc));
}

COLORREF ResolveColor(const DeviceContext& dc, COLORREF color) {
  if ((color >> 24) == 0x01) {
    PaletteObject* p = FindPalette(dc.state.palette);
    WORD i = LOWORD(color);
    if (!p || i >= p->entries.size()) return RGB(0, 0, 0);
    const PALETTEENTRY& e = p->entries[i];
    return RGB(e.peRed, e.peGreen, e.peBlue);
  }
  return color & 0x00FFFFFF;
}

DWORD PixelValue(const DeviceContext& dc, COLORREF color) {
  Surface* s = dc.GetSurface();
  return s ? s->ValueOf(ResolveColor(dc, color)) : 0;
}

void FillDeviceSpan(DeviceContext& dc, int y, int x0, int x1, DWORD value) {
  Surface* s = dc.GetSurface();
  if (!s) return;
  dc.Drawable().ForSpan(y, x0, x1, [&](int a, int b) {
    for (int x = a; x < b; ++x) s->Put(x, y, value);
  });
}

void FillDeviceRect(DeviceContext& dc, const RECT& r, DWORD value) {
  for (int y = r.top; y < r.bottom; ++y) FillDeviceSpan(dc, y, r.left, r.right, value);
}

void SetDevicePixel(DeviceContext& dc, int x, int y, DWORD value) {
  Surface* s = dc.GetSurface();
  if (s && dc.Drawable().Contains(x, y)) s->Put(x, y, value);
}

}  // namespace gdi

using namespace gdi;

HDC CreateCompatibleDC(HDC other) {
  if (other && !FindDC(other)) return nullptr;
  return NewDC(std::make_unique<DeviceContext>(true));
}

BOOL DeleteDC(HDC handle) {
  if (!FindDC(handle)) return FALSE;
  return RemoveObject(handle) ? TRUE : FALSE;
}

HGDIOBJ SelectObject(HDC handle, HGDIOBJ object) {
  DeviceContext* dc = FindDC(handle);
  GdiObject* o = FindObject(object);
  if (!dc || !o) return nullptr;
  switch (o->kind) {
    case ObjectKind::Bitmap: {
      auto* b = static_cast<BitmapObject*>(o);
      if (!dc->IsMemory()) return nullptr;
      if (b->stockIndex < 0 && b->selectedInto && b->selectedInto != handle) return nullptr;
      HGDIOBJ old = Swap(handle, dc->state.bitmap, object);
      dc->ClipChanged();
      return old;
    }
    case ObjectKind::Pen: return Swap(handle, dc->state.pen, object);
    case ObjectKind::Brush: return Swap(handle, dc->state.brush, object);
    case ObjectKind::Font: return Swap(handle, dc->state.font, object);
    case ObjectKind::Region:
      return reinterpret_cast<HGDIOBJ>(static_cast<std::intptr_t>(SelectClipRgn(handle, object)));
    default: return nullptr;  // palettes go through SelectPalette
  }
}

HPALETTE SelectPalette(HDC handle, HPALETTE palette, BOOL) {
  DeviceContext* dc = FindDC(handle);
  if (!dc || !FindPalette(palette)) return nullptr;
  return Swap(handle, dc->state.palette, palette);
}

HGDIOBJ GetCurrentObject(HDC handle, UINT type) {
  DeviceContext* dc = FindDC(handle);
  if (!dc) return nullptr;
  switch (type) {
    case OBJ_PEN: return dc->state.pen;
    case OBJ_BRUSH: return dc->state.brush;
    case OBJ_FONT: return dc->state.font;
    case OBJ_PAL: return dc->state.palette;
    case OBJ_BITMAP: return dc->state.bitmap;
    default: return nullptr;
  }
}

BOOL DeleteObject(HGDIOBJ handle) {
  GdiObject* o = FindObject(handle);
  if (!o || o->kind == ObjectKind::DC || o->kind == ObjectKind::MemoryDC || o->kind == ObjectKind::Icon) return FALSE;
  if (o->stockIndex >= 0) return TRUE;  // deleting a stock object is harmless and does nothing
  return RemoveObject(handle) ? TRUE : FALSE;
}

DWORD GetObjectType(HGDIOBJ handle) {
  GdiObject* o = FindObject(handle);
  return !o || o->kind == ObjectKind::Icon ? 0 : static_cast<DWORD>(o->kind);
}

int GetObject(HGDIOBJ handle, int size, void* out) {
  GdiObject* o = FindObject(handle);
  if (!o || size < 0) return 0;
  return o->Describe(out ? size : 0, out);
}

BOOL GdiFlush() { return TRUE; }

int SaveDC(HDC handle) {
  DeviceContext* dc = FindDC(handle);
  if (!dc) return 0;
  HoldState(handle, dc->state);
  dc->saved.push_back(dc->state);
  return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC handle, int level) {
  DeviceContext* dc = FindDC(handle);
  if (!dc) return FALSE;
  int depth = static_cast<int>(dc->saved.size());
  if (level < 0) level = depth + 1 + level;
  if (level < 1 || level > depth) return FALSE;
  ReleaseState(dc->state);
  dc->state = std::move(dc->saved[static_cast<std::size_t>(level - 1)]);
  for (int i = level; i < depth; ++i) ReleaseState(dc->saved[static_cast<std::size_t>(i)]);
  dc->saved.resize(static_cast<std::size_t>(level - 1));
  dc->ClipChanged();
  return TRUE;
}

namespace {

BOOL SetPoint(HDC handle, POINT DcState::*member, int x, int y, POINT* previous, bool relative) {
  DeviceContext* dc = FindDC(handle);
  if (!dc) return FALSE;
  POINT& p = dc->state.*member;
  if (previous) *previous = p;
  p = relative ? POINT{p.x + x, p.y + y} : POINT{x, y};
  return TRUE;
}

BOOL GetPoint(HDC handle, POINT DcState::*member, POINT* out) {
  DeviceContext* dc = FindDC(handle);
  if (!dc || !out) return FALSE;
  *out = dc->state.*member;
  return TRUE;
}

// Swaps one integer of the state; returns the old value, or `failure`.
template <class T>
T SetField(HDC handle, T DcState::*member, T value, T failure) {
  DeviceContext* dc = FindDC(handle);
  if (!dc) return failure;
  T old = dc->state.*member;
  dc->state.*member = value;
  return old;
}

template <class T>
T GetField(HDC handle, T DcState::*member, T failure) {
  DeviceContext* dc = FindDC(handle);
  return dc ? dc->state.*member : failure;
}

}  // namespace

BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* previous) {
  return SetPoint(dc, &DcState::viewportOrg, x, y, previous, false);
}
BOOL GetViewportOrgEx(HDC dc, POINT* origin) { return GetPoint(dc, &DcState::viewportOrg, origin); }
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, POINT* previous) {
  return SetPoint(dc, &DcState::viewportOrg, dx, dy, previous, true);
}
BOOL SetWindowOrgEx(HDC dc, int x, int y, POINT* previous) {
  return SetPoint(dc, &DcState::windowOrg, x, y, previous, false);
}
BOOL GetWindowOrgEx(HDC dc, POINT* origin) { return GetPoint(dc, &DcState::windowOrg, origin); }
BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, POINT* previous) {
  return SetPoint(dc, &DcState::windowOrg, dx, dy, previous, true);
}
BOOL SetBrushOrgEx(HDC dc, int x, int y, POINT* previous) {
  return SetPoint(dc, &DcState::brushOrg, x, y, previous, false);
}
BOOL GetBrushOrgEx(HDC dc, POINT* origin) { return GetPoint(dc, &DcState::brushOrg, origin); }
BOOL GetCurrentPositionEx(HDC dc, POINT* position) { return GetPoint(dc, &DcState::penPos, position); }

BOOL LPtoDP(HDC handle, POINT* points, int count) {
  DeviceContext* dc = FindDC(handle);
  if (!dc || (!points && count > 0)) return FALSE;
  for (int i = 0; i < count; ++i) points[i] = dc->ToDevice(points[i]);
  return TRUE;
}

BOOL DPtoLP(HDC handle, POINT* points, int count) {
  DeviceContext* dc = FindDC(handle);
  if (!dc || (!points && count > 0)) return FALSE;
  for (int i = 0; i < count; ++i) points[i] = dc->ToLogical(points[i]);
  return TRUE;
}

COLORREF SetTextColor(HDC dc, COLORREF c) { return SetField(dc, &DcState::textColor, c, CLR_INVALID); }
COLORREF GetTextColor(HDC dc) { return GetField(dc, &DcState::textColor, CLR_INVALID); }
COLORREF SetBkColor(HDC dc, COLORREF c) { return SetField(dc, &DcState::bkColor, c, CLR_INVALID); }
COLORREF GetBkColor(HDC dc) { return GetField(dc, &DcState::bkColor, CLR_INVALID); }
int SetBkMode(HDC dc, int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  return SetField(dc, &DcState::bkMode, mode, 0);
}
int GetBkMode(HDC dc) { return GetField(dc, &DcState::bkMode, 0); }
int SetROP2(HDC dc, int mode) { return mode < R2_BLACK || mode > R2_WHITE ? 0 : SetField(dc, &DcState::rop2, mode, 0); }
int GetROP2(HDC dc) { return GetField(dc, &DcState::rop2, 0); }
int SetStretchBltMode(HDC dc, int mode) {
  return mode < BLACKONWHITE || mode > HALFTONE ? 0 : SetField(dc, &DcState::stretchMode, mode, 0);
}
int GetStretchBltMode(HDC dc) { return GetField(dc, &DcState::stretchMode, 0); }
int SetPolyFillMode(HDC dc, int mode) {
  return mode != ALTERNATE && mode != WINDING ? 0 : SetField(dc, &DcState::polyFillMode, mode, 0);
}
int GetPolyFillMode(HDC dc) { return GetField(dc, &DcState::polyFillMode, 0); }
