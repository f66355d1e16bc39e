#include <algorithm>

#include "dc.h"
#include "dib.h"
#include "objects.h"
#include "screen.h"

namespace gdi {

const PALETTEENTRY* StaticColors() {
  static const PALETTEENTRY colors[20] = {
      {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},   {0, 0, 128, 0},
      {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0}, {192, 220, 192, 0}, {166, 202, 240, 0},
      {255, 251, 240, 0}, {160, 160, 164, 0}, {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},
      {255, 255, 0, 0},   {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0}};
  return colors;
}

PaletteObject* FindPalette(HPALETTE handle) { return Find<PaletteObject>(handle, ObjectKind::Palette); }

int PaletteObject::Describe(int size, void* out) const {
  // GetObject of a palette gives its entry count as a WORD.
  if (!out) return static_cast<int>(sizeof(WORD));
  if (size < static_cast<int>(sizeof(WORD))) return 0;
  *static_cast<WORD*>(out) = static_cast<WORD>(entries.size());
  return static_cast<int>(sizeof(WORD));
}

}  // namespace gdi

using namespace gdi;

HPALETTE CreatePalette(const LOGPALETTE* palette) {
  if (!palette || palette->palVersion != 0x300 || palette->palNumEntries == 0) return nullptr;
  auto p = std::make_unique<PaletteObject>();
  p->entries.assign(palette->palPalEntry, palette->palPalEntry + palette->palNumEntries);
  return AddObject(std::move(p));
}

UINT RealizePalette(HDC handle) {
  DeviceContext* dc = FindDC(handle);
  PaletteObject* p = dc ? FindPalette(dc->state.palette) : nullptr;
  Surface* s = dc ? dc->GetSurface() : nullptr;
  if (!p || !s || !IsScreen(s) || s->bitsPerPixel != 8 || p->stockIndex >= 0) return 0;
  // The free entries 10-245 of the system palette take the palette's colours that the static
  // colours do not already show.
  std::vector<RGBQUAD>& system = SystemPalette();
  UINT changed = 0;
  std::size_t slot = 10;
  for (const PALETTEENTRY& e : p->entries) {
    if (slot >= 246) break;
    RGBQUAD q{e.peBlue, e.peGreen, e.peRed, 0};
    auto same = [&](const RGBQUAD& o) {
      return o.rgbRed == q.rgbRed && o.rgbGreen == q.rgbGreen && o.rgbBlue == q.rgbBlue;
    };
    if (std::any_of(system.begin(), system.begin() + 10, same) ||
        std::any_of(system.begin() + 246, system.end(), same) ||
        std::any_of(system.begin() + 10, system.begin() + static_cast<std::ptrdiff_t>(slot), same))
      continue;
    if (!same(system[slot])) ++changed;
    system[slot++] = q;
  }
  s->colorTable = system;
  return changed;
}

UINT GetPaletteEntries(HPALETTE handle, UINT start, UINT count, PALETTEENTRY* entries) {
  PaletteObject* p = FindPalette(handle);
  if (!p) return 0;
  UINT size = static_cast<UINT>(p->entries.size());
  if (!entries) return size;
  if (start >= size) return 0;
  UINT n = std::min(count, size - start);
  std::copy_n(p->entries.begin() + start, n, entries);
  return n;
}

UINT SetPaletteEntries(HPALETTE handle, UINT start, UINT count, const PALETTEENTRY* entries) {
  PaletteObject* p = FindPalette(handle);
  if (!p || !entries || p->stockIndex >= 0) return 0;
  UINT size = static_cast<UINT>(p->entries.size());
  if (start >= size) return 0;
  UINT n = std::min(count, size - start);
  std::copy_n(entries, n, p->entries.begin() + start);
  return n;
}

UINT GetNearestPaletteIndex(HPALETTE handle, COLORREF color) {
  PaletteObject* p = FindPalette(handle);
  if (!p) return CLR_INVALID;
  std::vector<RGBQUAD> table;
  for (const PALETTEENTRY& e : p->entries) table.push_back(RGBQUAD{e.peBlue, e.peGreen, e.peRed, 0});
  if ((color >> 24) == 0x01) return LOWORD(color) < table.size() ? LOWORD(color) : CLR_INVALID;
  return static_cast<UINT>(NearestEntry(table.data(), static_cast<int>(table.size()), color & 0xFFFFFF));
}

COLORREF GetNearestColor(HDC handle, COLORREF color) {
  DeviceContext* dc = FindDC(handle);
  Surface* s = dc ? dc->GetSurface() : nullptr;
  if (!s || color == CLR_INVALID) return CLR_INVALID;
  return s->ColorOf(s->ValueOf(ResolveColor(*dc, color)));
}

UINT GetSystemPaletteEntries(HDC handle, UINT start, UINT count, PALETTEENTRY* entries) {
  if (handle && !FindDC(handle)) return 0;
  const std::vector<RGBQUAD>& system = SystemPalette();
  if (!entries) return static_cast<UINT>(system.size());
  if (start >= system.size()) return 0;
  UINT n = std::min<UINT>(count, static_cast<UINT>(system.size()) - start);
  for (UINT i = 0; i < n; ++i) {
    const RGBQUAD& q = system[start + i];
    entries[i] = PALETTEENTRY{q.rgbRed, q.rgbGreen, q.rgbBlue, 0};
  }
  return n;
}
