// Icons: an AND mask and an XOR image (or, for a monochrome icon, both stacked in the mask).
#include "gdi/icon.h"

#include <atomic>

#include "dc.h"
#include "objects.h"

namespace gdi {
namespace {

std::atomic<int> liveIcons{0};

struct IconObject : GdiObject {
  IconObject() : GdiObject(ObjectKind::Icon) { ++liveIcons; }
  ~IconObject() override {
    DeleteObject(mask);
    DeleteObject(color);
    --liveIcons;
  }
  BOOL isIcon = TRUE;
  bool shared = false;
  DWORD hotX = 0, hotY = 0;
  HBITMAP mask = nullptr;
  HBITMAP color = nullptr;
};

IconObject* FindIcon(HICON handle) { return Find<IconObject>(handle, ObjectKind::Icon); }

HICON MakeIcon(BOOL isIcon, DWORD hotX, DWORD hotY, HBITMAP mask, HBITMAP color) {
  if (!FindBitmap(mask) || (color && !FindBitmap(color))) return nullptr;
  auto icon = std::make_unique<IconObject>();
  icon->isIcon = isIcon;
  icon->hotX = hotX;
  icon->hotY = hotY;
  icon->mask = CopyBitmap(mask);
  icon->color = color ? CopyBitmap(color) : nullptr;
  return AddObject(std::move(icon));
}

}  // namespace

HICON CreateSharedIcon(HBITMAP mask, HBITMAP color) {
  HICON handle = MakeIcon(TRUE, 16, 16, mask, color);
  if (IconObject* icon = FindIcon(handle)) icon->shared = true;
  return handle;
}

}  // namespace gdi

using namespace gdi;

HICON CreateIconIndirect(ICONINFO* info) {
  return info ? MakeIcon(info->fIcon, info->xHotspot, info->yHotspot, info->hbmMask, info->hbmColor) : nullptr;
}

HICON CopyIcon(HICON handle) {
  IconObject* icon = FindIcon(handle);
  return icon ? MakeIcon(icon->isIcon, icon->hotX, icon->hotY, icon->mask, icon->color) : nullptr;
}

int LiveIconCount() { return liveIcons.load(); }

BOOL DestroyIcon(HICON handle) {
  IconObject* icon = FindIcon(handle);
  if (!icon) return FALSE;
  return icon->shared || RemoveObject(handle) ? TRUE : FALSE;
}

BOOL GetIconInfo(HICON handle, ICONINFO* info) {
  IconObject* icon = FindIcon(handle);
  if (!icon || !info) return FALSE;
  *info = ICONINFO{icon->isIcon, icon->hotX, icon->hotY, CopyBitmap(icon->mask),
                   icon->color ? CopyBitmap(icon->color) : nullptr};
  return TRUE;
}

BOOL DrawIconEx(HDC handle, int x, int y, HICON iconHandle, int width, int height, UINT, HBRUSH flickerFreeBrush,
                UINT flags) {
  DeviceContext* dc = FindDC(handle);
  IconObject* icon = FindIcon(iconHandle);
  if (!dc || !icon) return FALSE;
  const Surface& mask = *FindBitmap(icon->mask)->surface;
  int w = mask.width, h = icon->color ? mask.height : mask.height / 2;
  if (width == 0) width = (flags & DI_DEFAULTSIZE) ? 32 : w;
  if (height == 0) height = (flags & DI_DEFAULTSIZE) ? 32 : h;
  if (flickerFreeBrush) {
    RECT r{x, y, x + width, y + height};
    FillRect(handle, &r, flickerFreeBrush);
  }
  // The mask's 0 and 1 bits must land as black and white whatever the DC's colours are.
  COLORREF text = SetTextColor(handle, RGB(0, 0, 0)), back = SetBkColor(handle, RGB(255, 255, 255));
  int stretch = SetStretchBltMode(handle, COLORONCOLOR);
  HDC source = CreateCompatibleDC(handle);
  HGDIOBJ old = SelectObject(source, icon->mask);
  UINT parts = flags & DI_NORMAL;
  BOOL ok = TRUE;
  if (parts & DI_MASK)
    ok &= StretchBlt(handle, x, y, width, height, source, 0, 0, w, h, parts == DI_MASK ? SRCCOPY : SRCAND);
  if (parts & DI_IMAGE) {
    DWORD rop = parts == DI_IMAGE ? SRCCOPY : SRCINVERT;
    if (icon->color) {
      SelectObject(source, icon->color);
      ok &= StretchBlt(handle, x, y, width, height, source, 0, 0, w, h, rop);
    } else {
      ok &= StretchBlt(handle, x, y, width, height, source, 0, h, w, h, rop);
    }
  }
  SelectObject(source, old);
  DeleteDC(source);
  SetStretchBltMode(handle, stretch);
  SetBkColor(handle, back);
  SetTextColor(handle, text);
  return ok ? TRUE : FALSE;
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) {
  return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
}
