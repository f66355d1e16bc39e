#include <algorithm>
#include <cstring>

#include "dc.h"
#include "dib.h"
#include "objects.h"
#include "screen.h"

namespace gdi {

BitmapObject* FindBitmap(HBITMAP handle) { return Find<BitmapObject>(handle, ObjectKind::Bitmap); }

HBITMAP AddBitmap(std::shared_ptr<Surface> surface, bool dibSection) {
  auto b = std::make_unique<BitmapObject>();
  b->surface = std::move(surface);
  b->dibSection = dibSection;
  return AddObject(std::move(b));
}

HBITMAP CopyBitmap(HBITMAP source) {
  BitmapObject* b = FindBitmap(source);
  if (!b) return nullptr;
  auto s = std::make_shared<Surface>(*b->surface);
  s->bits = s->storage.data();
  return AddBitmap(std::move(s), b->dibSection);
}

std::shared_ptr<Surface> MonochromeSurface(int width, int height) {
  auto s = std::make_shared<Surface>();
  s->Allocate(width, height, 1, true);
  s->colorTable = StandardTable(1);
  s->monochrome = true;
  return s;
}

std::shared_ptr<Surface> CompatibleSurface(HDC handle, int width, int height) {
  DeviceContext* dc = FindDC(handle);
  Surface* current = dc ? dc->GetSurface() : nullptr;
  if (width <= 0 || height <= 0) return MonochromeSurface(1, 1);
  if (current && current->monochrome) return MonochromeSurface(width, height);
  const Surface& screen = *ScreenSurface();
  auto s = std::make_shared<Surface>();
  s->Allocate(width, height, screen.bitsPerPixel, true);
  s->colorTable = screen.colorTable;
  return s;
}

int BitmapObject::Describe(int size, void* out) const {
  const Surface& s = *surface;
  BITMAP bm{0, s.width, s.height, s.stride, 1, static_cast<WORD>(s.bitsPerPixel), nullptr};
  if (dibSection) {
    bm.bmBits = s.bits;
  } else {
    bm.bmWidthBytes = ((s.width * s.bitsPerPixel + 15) / 16) * 2;  // device bitmaps report WORD rows
  }
  int want = dibSection && size >= static_cast<int>(sizeof(DIBSECTION)) ? static_cast<int>(sizeof(DIBSECTION))
                                                                        : static_cast<int>(sizeof(BITMAP));
  if (!out) return want;
  if (size < static_cast<int>(sizeof(BITMAP))) return 0;
  if (want == static_cast<int>(sizeof(BITMAP))) {
    std::memcpy(out, &bm, sizeof bm);
    return want;
  }
  DIBSECTION ds{};
  ds.dsBm = bm;
  ds.dsBmih.biSize = sizeof(BITMAPINFOHEADER);
  ds.dsBmih.biWidth = s.width;
  ds.dsBmih.biHeight = s.topDown ? -s.height : s.height;
  ds.dsBmih.biPlanes = 1;
  ds.dsBmih.biBitCount = static_cast<WORD>(s.bitsPerPixel);
  bool bitfields = (s.bitsPerPixel == 16 && s.greenMask != 0x03E0) || (s.bitsPerPixel == 32 && s.greenMask != 0xFF00);
  ds.dsBmih.biCompression = bitfields ? BI_BITFIELDS : BI_RGB;
  ds.dsBmih.biSizeImage = static_cast<DWORD>(DibImageSize(s));
  ds.dsBmih.biClrUsed = static_cast<DWORD>(s.colorTable.size());
  if (s.bitsPerPixel == 16 || s.bitsPerPixel == 32) {
    ds.dsBitfields[0] = s.redMask;
    ds.dsBitfields[1] = s.greenMask;
    ds.dsBitfields[2] = s.blueMask;
  }
  std::memcpy(out, &ds, sizeof ds);
  return want;
}

namespace {

// Copies `lines` DIB scan lines (counted from the bottom for bottom-up DIBs) between a DIB in
// memory and a bitmap's surface, converting colours where the formats differ.
void TransferLines(Surface& dib, Surface& bitmap, UINT start, UINT lines, bool toBitmap) {
  bool sameFormat = dib.width == bitmap.width && dib.bitsPerPixel == bitmap.bitsPerPixel &&
                    dib.colorTable.size() == bitmap.colorTable.size() &&
                    std::equal(dib.colorTable.begin(), dib.colorTable.end(), bitmap.colorTable.begin(),
                               [](const RGBQUAD& a, const RGBQUAD& b) {
                                 return a.rgbRed == b.rgbRed && a.rgbGreen == b.rgbGreen && a.rgbBlue == b.rgbBlue;
                               }) &&
                    dib.redMask == bitmap.redMask && dib.greenMask == bitmap.greenMask &&
                    dib.blueMask == bitmap.blueMask;
  Surface& from = toBitmap ? dib : bitmap;
  Surface& to = toBitmap ? bitmap : dib;
  NearestCache nearest(to);
  std::vector<DWORD> row(static_cast<std::size_t>(std::max(dib.width, 1)));
  int w = std::min(dib.width, bitmap.width);
  for (UINT i = 0; i < lines; ++i) {
    int scan = static_cast<int>(start + i);
    int yd = dib.topDown ? scan : dib.height - 1 - scan;
    int yb = dib.topDown ? scan : bitmap.height - 1 - scan;
    if (yd < 0 || yd >= dib.height || yb < 0 || yb >= bitmap.height) continue;
    int yFrom = toBitmap ? yd : yb, yTo = toBitmap ? yb : yd;
    if (sameFormat) {
      std::memcpy(to.Row(yTo), from.Row(yFrom), static_cast<std::size_t>(std::min(from.stride, to.stride)));
      continue;
    }
    from.ReadRow(yFrom, 0, w, row.data());
    for (int x = 0; x < w; ++x)
      row[static_cast<std::size_t>(x)] = nearest.ValueOf(from.ColorOf(row[static_cast<std::size_t>(x)]));
    to.WriteRow(yTo, 0, w, row.data());
  }
}

}  // namespace
}  // namespace gdi

using namespace gdi;

HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD) {
  if (bits) *bits = nullptr;
  auto s = std::make_shared<Surface>();
  if (section || !ReadDibFormat(info, usage, FindDC(dc), *s)) return nullptr;
  s->storage = Surface::Storage(DibImageSize(*s));
  s->bits = s->storage.data();
  if (bits) *bits = s->bits;
  return AddBitmap(std::move(s), true);
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
  if (width < 0 || height < 0 || planes != 1 || bitsPerPixel > 32) return nullptr;
  if (width == 0 || height == 0) return AddBitmap(MonochromeSurface(1, 1), false);
  if (static_cast<std::int64_t>(width) * height > (std::int64_t{1} << 28)) return nullptr;
  std::shared_ptr<Surface> s;
  if (bitsPerPixel <= 1) {
    s = MonochromeSurface(width, height);
  } else {
    int bpp = bitsPerPixel <= 4 ? 4 : bitsPerPixel <= 8 ? 8 : bitsPerPixel <= 16 ? 16 : bitsPerPixel <= 24 ? 24 : 32;
    s = std::make_shared<Surface>();
    s->Allocate(width, height, bpp, true);
    if (bpp <= 8) s->colorTable = StandardTable(bpp);
  }
  if (bits) {
    // Device-bitmap rows are WORD aligned and top-down.
    std::size_t rowBytes = static_cast<std::size_t>(((width * s->bitsPerPixel + 15) / 16) * 2);
    for (int y = 0; y < height; ++y)
      std::memcpy(s->Row(y), static_cast<const BYTE*>(bits) + rowBytes * static_cast<std::size_t>(y), rowBytes);
  }
  return AddBitmap(std::move(s), false);
}

HBITMAP CreateBitmapIndirect(const BITMAP* bm) {
  if (!bm) return nullptr;
  return CreateBitmap(bm->bmWidth, bm->bmHeight, bm->bmPlanes, bm->bmBitsPixel, bm->bmBits);
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
  if (dc && !FindDC(dc)) return nullptr;
  if (static_cast<std::int64_t>(width) * height > (std::int64_t{1} << 28)) return nullptr;
  return AddBitmap(CompatibleSurface(dc, width, height), false);
}

HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits, const BITMAPINFO* info,
                       UINT usage) {
  if (!header || header->biWidth <= 0 || header->biHeight == 0 || header->biHeight == INT32_MIN) return nullptr;
  int height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  HBITMAP b = CreateCompatibleBitmap(dc, header->biWidth, height);
  if (b && (init & CBM_INIT) && bits && info && !SetDIBits(dc, b, 0, static_cast<UINT>(height), bits, info, usage)) {
    DeleteObject(b);
    return nullptr;
  }
  return b;
}

int SetDIBits(HDC dc, HBITMAP handle, UINT start, UINT lines, const void* bits, const BITMAPINFO* info, UINT usage) {
  BitmapObject* b = FindBitmap(handle);
  Surface dib;
  if (!b || !bits || !ReadDibFormat(info, usage, FindDC(dc), dib)) return 0;
  // The bits hold scan lines from `start` on; a DIB of full height is laid over them, of which
  // only those lines are touched.
  dib.bits = const_cast<BYTE*>(static_cast<const BYTE*>(bits));
  dib.bits -= static_cast<std::ptrdiff_t>(dib.stride) * static_cast<int>(start);
  UINT available = start < static_cast<UINT>(dib.height) ? std::min<UINT>(lines, static_cast<UINT>(dib.height) - start)
                                                         : 0;
  TransferLines(dib, *b->surface, start, available, true);
  return static_cast<int>(available);
}

int GetDIBits(HDC dc, HBITMAP handle, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT usage) {
  BitmapObject* b = FindBitmap(handle);
  if (!b || !info || info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER)) return 0;
  const Surface& s = *b->surface;
  BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biBitCount == 0) {
    // Only the format is asked.
    h.biWidth = s.width;
    h.biHeight = s.height;
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(s.bitsPerPixel);
    h.biCompression = BI_RGB;
    h.biSizeImage = static_cast<DWORD>(Surface::StrideFor(s.width, s.bitsPerPixel) * s.height);
    h.biClrUsed = 0;
    return bits ? 0 : 1;
  }
  if (h.biWidth <= 0) h.biWidth = s.width;
  if (h.biHeight == 0) h.biHeight = s.height;
  h.biPlanes = 1;
  if (h.biCompression != BI_BITFIELDS) h.biCompression = BI_RGB;
  // Paletted requests get the bitmap's own table at its own depth, else the standard one.
  if (h.biBitCount <= 8 && usage == DIB_RGB_COLORS) {
    std::vector<RGBQUAD> table = h.biBitCount == s.bitsPerPixel ? s.colorTable : StandardTable(h.biBitCount);
    h.biClrUsed = 0;
    std::memcpy(info->bmiColors, table.data(), table.size() * sizeof(RGBQUAD));
  }
  Surface dib;
  if (!ReadDibFormat(info, usage, FindDC(dc), dib)) return 0;
  h.biSizeImage = static_cast<DWORD>(DibImageSize(dib));
  if (!bits) return 1;
  UINT available = start < static_cast<UINT>(dib.height) ? std::min<UINT>(lines, static_cast<UINT>(dib.height) - start)
                                                         : 0;
  dib.bits = static_cast<BYTE*>(bits);
  dib.bits -= static_cast<std::ptrdiff_t>(dib.stride) * static_cast<int>(start);
  TransferLines(dib, *b->surface, start, available, false);
  return static_cast<int>(available);
}

LONG GetBitmapBits(HBITMAP handle, LONG size, void* bits) {
  BitmapObject* b = FindBitmap(handle);
  if (!b || size < 0) return 0;
  const Surface& s = *b->surface;
  std::size_t rowBytes = static_cast<std::size_t>(((s.width * s.bitsPerPixel + 15) / 16) * 2);
  std::size_t total = rowBytes * static_cast<std::size_t>(s.height);
  if (!bits) return static_cast<LONG>(total);
  std::size_t n = std::min(total, static_cast<std::size_t>(size));
  for (std::size_t done = 0, y = 0; done < n; done += rowBytes, ++y)
    std::memcpy(static_cast<BYTE*>(bits) + done, s.Row(static_cast<int>(y)), std::min(rowBytes, n - done));
  return static_cast<LONG>(n);
}

UINT GetDIBColorTable(HDC dc, UINT start, UINT count, RGBQUAD* colors) {
  DeviceContext* d = FindDC(dc);
  BitmapObject* b = d && d->IsMemory() ? FindBitmap(d->state.bitmap) : nullptr;
  if (!b || !b->dibSection || !colors) return 0;
  const std::vector<RGBQUAD>& t = b->surface->colorTable;
  if (start >= t.size()) return 0;
  UINT n = std::min<UINT>(count, static_cast<UINT>(t.size()) - start);
  std::copy_n(t.begin() + start, n, colors);
  return n;
}

UINT SetDIBColorTable(HDC dc, UINT start, UINT count, const RGBQUAD* colors) {
  DeviceContext* d = FindDC(dc);
  BitmapObject* b = d && d->IsMemory() ? FindBitmap(d->state.bitmap) : nullptr;
  if (!b || !b->dibSection || !colors) return 0;
  std::vector<RGBQUAD>& t = b->surface->colorTable;
  if (start >= t.size()) return 0;
  UINT n = std::min<UINT>(count, static_cast<UINT>(t.size()) - start);
  std::copy_n(colors, n, t.begin() + start);
  return n;
}
