// Window device contexts: views into the top-level window's surface at the window's offset.
#include "window_dc.h"

#include <map>

#include "gdi/dc.h"
#include "gdi/screen.h"

namespace user {
namespace {

// Keeps the top-level surface alive while a DC still draws into it.
struct SurfaceView : gdi::Surface {
  std::shared_ptr<gdi::Surface> base;
};

std::mutex gDcMutex;
std::map<HDC, std::pair<HWND, const gdi::Surface*>> gWindowDCs;

RECT RectAt(POINT o, int w, int h) { return RECT{o.x, o.y, o.x + w, o.y + h}; }

// What of the window shows in its top-level surface, in surface coordinates.
gdi::Region VisibleRegion(const Window& w, bool wholeWindow, bool clipChildren) {
  if (!ReallyVisible(w.handle)) return gdi::Region();
  std::lock_guard lock(TreeLock());
  POINT o = OffsetInTopLevel(w);
  RECT area = wholeWindow ? RectAt(o, w.Width(), w.Height())
                          : RECT{o.x + w.client.left, o.y + w.client.top, o.x + w.client.right, o.y + w.client.bottom};
  gdi::Region r(area);
  const Window* cur = &w;
  WindowPtr hold;
  while (!IsTopLevel(*cur)) {
    WindowPtr parent = Find(cur->parent);
    if (!parent) return gdi::Region();
    if (cur->style & WS_CLIPSIBLINGS)
      for (HWND s : parent->children) {
        if (s == cur->handle) break;
        WindowPtr sib = Find(s);
        // A transparent window shows what lies beneath it: it clips nothing away.
        if (sib && sib->Visible() && !(sib->exStyle & WS_EX_TRANSPARENT))
          r = gdi::Region::Combine(r, gdi::Region(RectAt(OffsetInTopLevel(*sib), sib->Width(), sib->Height())),
                                   RGN_DIFF);
      }
    POINT po = OffsetInTopLevel(*parent);
    RECT pc{po.x + parent->client.left, po.y + parent->client.top, po.x + parent->client.right,
            po.y + parent->client.bottom};
    r = gdi::Region::Combine(r, gdi::Region(pc), RGN_AND);
    hold = parent;
    cur = hold.get();
  }
  r = gdi::Region::Combine(r, gdi::Region(RECT{0, 0, cur->Width(), cur->Height()}), RGN_AND);
  if (clipChildren)
    for (HWND c : w.children) {
      WindowPtr child = Find(c);
      if (child && child->Visible() && !(child->exStyle & WS_EX_TRANSPARENT))
        r = gdi::Region::Combine(r, gdi::Region(RectAt(OffsetInTopLevel(*child), child->Width(), child->Height())),
                                 RGN_DIFF);
    }
  return r;
}

}  // namespace

HDC MakeWindowDC(HWND window, bool wholeWindow, bool clipChildren, const gdi::Region* clip) {
  WindowPtr w = Find(window);
  if (!w) return nullptr;
  WindowPtr top = TopLevelOf(window);
  if (!top) return gdi::CreateDeviceDC(gdi::ScreenSurface());  // the desktop draws on the screen
  if (!top->surface) return nullptr;
  POINT off = OffsetInTopLevel(*w);
  if (!wholeWindow) {
    off.x += w->client.left;
    off.y += w->client.top;
  }
  gdi::Region visible = VisibleRegion(*w, wholeWindow, clipChildren);
  visible.Offset(-off.x, -off.y);
  if (clip) visible = gdi::Region::Combine(visible, *clip, RGN_AND);

  const gdi::Surface& base = *top->surface;
  auto view = std::make_shared<SurfaceView>();
  view->base = top->surface;
  view->width = std::max(0, base.width - off.x);
  view->height = std::max(0, base.height - off.y);
  view->bitsPerPixel = base.bitsPerPixel;
  view->stride = base.stride;
  view->topDown = true;
  view->colorTable = base.colorTable;
  view->redMask = base.redMask;
  view->greenMask = base.greenMask;
  view->blueMask = base.blueMask;
  // The view starts at the window's origin, which may lie left of or above the surface: only
  // pixels inside the visible region (always within the surface) are ever touched.
  std::intptr_t start =
      static_cast<std::intptr_t>(off.y) * base.stride + static_cast<std::intptr_t>(off.x) * (base.bitsPerPixel / 8);
  view->bits =
      reinterpret_cast<BYTE*>(reinterpret_cast<std::uintptr_t>(base.bits) + static_cast<std::uintptr_t>(start));

  HDC dc = gdi::CreateDeviceDC(view);
  gdi::DeviceContext* d = gdi::FindDC(dc);
  d->visible = std::move(visible);
  d->ClipChanged();
  top->dirty = true;
  std::lock_guard lock(gDcMutex);
  gWindowDCs[dc] = {window, view.get()};
  return dc;
}

}  // namespace user

using namespace user;

HDC GetDCEx(HWND window, HRGN clip, DWORD flags) {
  if (!window) window = Desktop();
  WindowPtr w = Find(window);
  if (!w) return nullptr;
  bool clipChildren = (flags & DCX_CLIPCHILDREN) || (w->style & WS_CLIPCHILDREN);
  gdi::Region extra;
  const gdi::Region* limit = nullptr;
  if (gdi::RegionObject* r = gdi::FindRegion(clip); r && (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN))) {
    if (flags & DCX_INTERSECTRGN) {
      extra = r->region;
    } else {
      RECT all{-0x4000, -0x4000, 0x4000, 0x4000};
      extra = gdi::Region::Combine(gdi::Region(all), r->region, RGN_DIFF);
    }
    limit = &extra;
  }
  return MakeWindowDC(window, (flags & DCX_WINDOW) != 0, clipChildren, limit);
}

HDC GetWindowDC(HWND window) { return GetDCEx(window, nullptr, DCX_WINDOW); }

HWND WindowFromDC(HDC dc) {
  std::lock_guard lock(gDcMutex);
  auto it = gWindowDCs.find(dc);
  if (it == gWindowDCs.end()) return nullptr;
  gdi::DeviceContext* d = gdi::FindDC(dc);
  if (!d || d->device.get() != it->second.second) {
    gWindowDCs.erase(it);
    return nullptr;
  }
  return it->second.first;
}
