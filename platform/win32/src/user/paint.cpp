// Invalidation, WM_PAINT, top-level surfaces and their presentation on the display.
#include "paint.h"

#include <algorithm>
#include <cstring>

#include "gdi/dc.h"
#include "gdi/screen.h"
#include "input.h"
#include "queue.h"
#include "win32/kernel.h"
#include "win32/syscolor.h"
#include "win32/text.h"
#include "window_dc.h"

namespace user {
namespace {

enum Children { kNoChildren, kChildrenByStyle, kAllChildren };

RECT ClientBox(const Window& w) { return RECT{0, 0, w.client.right - w.client.left, w.client.bottom - w.client.top}; }

bool HasFrame(const Window& w) {
  return w.client.left || w.client.top || w.client.right != w.Width() || w.client.bottom != w.Height();
}

void InvalidateTree(HWND window, gdi::Region region, bool erase, Children children) {
  WindowPtr w = Find(window);
  if (!w || window == Desktop() || !ReallyVisible(window)) return;
  region = gdi::Region::Combine(region, gdi::Region(ClientBox(*w)), RGN_AND);
  if (region.Empty()) return;
  std::vector<HWND> kids;
  {
    std::lock_guard lock(TreeLock());
    w->update = gdi::Region::Combine(w->update, region, RGN_OR);
    if (erase) w->erasePending = true;
    kids = w->children;
  }
  if (w->queue) w->queue->Wake();
  bool descend = children == kAllChildren || (children == kChildrenByStyle && !(w->style & WS_CLIPCHILDREN));
  // What lies beneath a transparent child shows through it, so its invalidation reaches it.
  const bool transparentOnly = !descend && children == kChildrenByStyle;
  if (!descend && !transparentOnly) return;
  for (HWND k : kids) {
    WindowPtr c = Find(k);
    if (!c || !c->Visible()) continue;
    if (transparentOnly && !(c->exStyle & WS_EX_TRANSPARENT)) continue;
    gdi::Region part = gdi::Region::Combine(region, gdi::Region(c->rect), RGN_AND);
    if (part.Empty()) continue;
    part.Offset(-c->rect.left, -c->rect.top);  // window coordinates of the child
    if (HasFrame(*c) && !gdi::Region::Combine(part, gdi::Region(c->client), RGN_DIFF).Empty()) c->framePending = true;
    part.Offset(-c->client.left, -c->client.top);
    InvalidateTree(k, part, erase, children == kAllChildren ? kAllChildren : kChildrenByStyle);
  }
}

gdi::Region RegionOf(const Window& w, const RECT* rect, HRGN rgn) {
  if (gdi::RegionObject* r = gdi::FindRegion(rgn)) return r->region;
  return gdi::Region(rect ? *rect : ClientBox(w));
}

bool NeedsPaint(const Window& w) { return !w.update.Empty() || w.framePending; }

std::vector<WindowPtr> ThreadTopLevels() {
  std::vector<WindowPtr> out;
  auto q = CurrentQueue();
  std::lock_guard lock(TreeLock());
  for (HWND h : Find(Desktop())->children)
    if (WindowPtr w = Find(h); w && w->queue == q) out.push_back(w);
  return out;
}

// The part of a top-level window the display shows: a captioned window gets its border and
// caption from the desktop, so what lies inside them (menu bar, client edge, scroll bars and the
// client area) is shown; any other window is shown whole.
RECT ShownPart(const Window& w) {
  if ((w.style & WS_CAPTION) != WS_CAPTION) return RECT{0, 0, w.Width(), w.Height()};
  const RECT in =
      NonClientInsets(w.style & ~(WS_VSCROLL | WS_HSCROLL), w.exStyle & ~(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
  return RECT{in.left, in.top, w.Width() - in.right, w.Height() - in.bottom};
}

void Present(Window& w) {
  const gdi::Surface& s = *w.surface;
  RECT part = ShownPart(w);
  part.right = std::min<LONG>(part.right, s.width);
  part.bottom = std::min<LONG>(part.bottom, s.height);
  const int width = part.right - part.left, height = part.bottom - part.top;
  if (width <= 0 || height <= 0) return;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  const bool direct = s.bitsPerPixel == 32 && s.redMask == 0xFF0000 && s.greenMask == 0xFF00 && s.blueMask == 0xFF;
  for (int y = 0; y < height; ++y) {
    std::uint32_t* out = pixels.data() + static_cast<std::size_t>(y) * width;
    if (direct) {
      std::memcpy(out, s.Row(part.top + y) + part.left * 4, static_cast<std::size_t>(width) * 4);
      continue;
    }
    for (int x = 0; x < width; ++x) {
      COLORREF c = s.ColorOf(s.Get(part.left + x, part.top + y));
      out[x] = (static_cast<std::uint32_t>(GetRValue(c)) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    }
  }
  host::TheDisplay().Present(w.hostSurface, width, height, pixels.data(), width);
}

// Whether the parent or a sibling beneath a transparent window still waits for its paint.
bool BeneathNeedsPaint(const Window& w) {
  WindowPtr parent = Find(w.parent);
  if (!parent || IsTopLevel(w)) return false;
  if (NeedsPaint(*parent)) return true;
  std::vector<HWND> siblings;
  {
    std::lock_guard lock(TreeLock());
    siblings = parent->children;
  }
  auto self = std::find(siblings.begin(), siblings.end(), w.handle);
  if (self == siblings.end()) return false;
  for (auto it = self + 1; it != siblings.end(); ++it) {  // later siblings lie beneath
    WindowPtr s = Find(*it);
    if (!s || !s->Visible() || !NeedsPaint(*s)) continue;
    const RECT& a = s->rect;
    const RECT& b = w.rect;
    if (a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom) return true;
  }
  return false;
}

}  // namespace

bool NextPaintMessage(HWND filter, MSG& out) {
  auto q = CurrentQueue();
  for (const WindowPtr& w : AllWindows()) {
    if (w->queue != q || !NeedsPaint(*w) || !ReallyVisible(w->handle)) continue;
    if (filter && filter != w->handle && !IsChild(filter, w->handle)) continue;
    if ((w->exStyle & WS_EX_TRANSPARENT) && BeneathNeedsPaint(*w)) continue;  // painted after them
    out = MSG{w->handle, WM_PAINT, 0, 0, GetTickCount(), POINT{0, 0}};
    GetCursorPos(&out.pt);
    return true;
  }
  return false;
}

void PresentDrawnWindows() {
  for (const WindowPtr& w : ThreadTopLevels()) {
    if (!w->dirty || !w->hostSurface || !w->surface || !w->Visible() || (w->style & WS_MINIMIZE)) continue;
    w->dirty = false;
    Present(*w);
  }
}

void Invalidate(HWND window, const gdi::Region& region, bool erase, bool withChildren) {
  InvalidateTree(window, region, erase, withChildren ? kAllChildren : kNoChildren);
}

void RepaintArea(HWND parent, const RECT& area) {
  if (parent == Desktop()) return;  // top-level windows have surfaces of their own
  InvalidateTree(parent, gdi::Region(area), true, kAllChildren);
}

void SizeSurface(Window& top) {
  const int w = std::max(1, top.Width()), h = std::max(1, top.Height());
  if (top.surface && top.surface->width == w && top.surface->height == h) return;
  auto screen = gdi::ScreenSurface();
  auto s = std::make_shared<gdi::Surface>();
  // Byte-aligned pixels, so that child windows can draw through views at any offset.
  const int bits = std::max(8, screen->bitsPerPixel);
  s->Allocate(w, h, bits, true);
  if (bits == 8)
    std::copy_n(screen->colorTable.begin(), std::min(screen->colorTable.size(), s->colorTable.size()),
                s->colorTable.begin());
  if (bits == screen->bitsPerPixel) {
    s->redMask = screen->redMask;
    s->greenMask = screen->greenMask;
    s->blueMask = screen->blueMask;
  }
  if (const auto& old = top.surface) {
    const int rows = std::min(h, old->height);
    const std::size_t bytes = static_cast<std::size_t>(std::min(w, old->width)) * (bits / 8);
    for (int y = 0; y < rows; ++y) std::memcpy(s->Row(y), old->Row(y), bytes);
  }
  top.surface = std::move(s);
  top.dirty = true;
}

namespace {

// An icon as the desktop takes it: drawn over black and over white, a pixel that follows the
// background is transparent and one that keeps its colour is opaque (an inverting one shows black).
host::Image DesktopImageOf(HICON icon) {
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return {};
  BITMAP mask{};
  GetObject(info.hbmMask, sizeof mask, &mask);
  const int width = mask.bmWidth, height = info.hbmColor ? mask.bmHeight : mask.bmHeight / 2;
  DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (width <= 0 || height <= 0 || width > 256 || height > 256) return {};
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  HDC dc = CreateCompatibleDC(nullptr);
  const std::uint32_t* over[2] = {};
  HBITMAP bitmaps[2] = {};
  for (int i = 0; i < 2; ++i) {
    void* bits = nullptr;
    bitmaps[i] = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmaps[i]) continue;
    over[i] = static_cast<const std::uint32_t*>(bits);
    HGDIOBJ old = SelectObject(dc, bitmaps[i]);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(i ? WHITE_BRUSH : BLACK_BRUSH)));
    DrawIconEx(dc, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    SelectObject(dc, old);
  }
  host::Image image;
  if (over[0] && over[1]) {
    image.width = width;
    image.height = height;
    for (int p = 0; p < width * height; ++p) {
      const std::uint32_t onBlack = over[0][p] & 0xFFFFFF, onWhite = over[1][p] & 0xFFFFFF;
      if (onBlack == 0 && onWhite == 0xFFFFFF) image.pixels.push_back(0);
      else
        image.pixels.push_back(0xFF000000u | (onBlack == onWhite ? onBlack : 0));
    }
  }
  for (HBITMAP b : bitmaps)
    if (b) DeleteObject(b);
  DeleteDC(dc);
  return image;
}

// A dialog or message box, as the desktop should know it.
bool IsDialog(const Window& w) {
  if ((w.style & WS_CAPTION) != WS_CAPTION || (w.style & WS_THICKFRAME)) return false;
  return (w.exStyle & WS_EX_DLGMODALFRAME) || (w.cls && w.cls->name == "#32770");
}

// The display surface of the window's owner, if it has one on the display.
host::SurfaceId OwnerSurface(const Window& w, bool* ownerDisabled) {
  WindowPtr owner = w.owner ? TopLevelOf(w.owner) : nullptr;
  if (ownerDisabled) *ownerDisabled = owner && (owner->style & WS_DISABLED);
  return owner ? owner->hostSurface : 0;
}

}  // namespace

void GiveIconsToDisplay(const Window& top) {
  // The window's own icons, else its class's, else those of the window it belongs to.
  HICON big = nullptr, small = nullptr;
  WindowPtr w = Find(top.handle);
  for (int depth = 0; w && !big && !small && depth < 8; ++depth, w = w->owner ? TopLevelOf(w->owner) : nullptr) {
    big = w->bigIcon ? w->bigIcon : (w->cls ? w->cls->icon : nullptr);
    small = w->smallIcon ? w->smallIcon : (w->cls ? w->cls->smallIcon : nullptr);
  }
  std::vector<host::Image> icons;
  for (HICON icon : {big, small})
    if (host::Image image = DesktopImageOf(icon); image.width) icons.push_back(std::move(image));
  if (icons.size() == 2 && icons[0].width < icons[1].width) std::swap(icons[0], icons[1]);
  host::TheDisplay().SetIcons(top.hostSurface, icons);
}

void SyncDisplaySurface(Window& top) {
  host::Display& display = host::TheDisplay();
  const bool shown = top.Visible() && !(top.style & WS_MINIMIZE);
  if (!shown) {
    if (top.hostSurface) display.Show(top.hostSurface, false);
    return;
  }
  RECT part = ShownPart(top);
  host::SurfaceDesc desc;
  desc.x = top.rect.left + part.left;
  desc.y = top.rect.top + part.top;
  desc.width = std::max<LONG>(1, part.right - part.left);
  desc.height = std::max<LONG>(1, part.bottom - part.top);
  desc.borderless = (top.style & WS_CAPTION) != WS_CAPTION;
  desc.topmost = (top.exStyle & WS_EX_TOPMOST) != 0;
  desc.fullScreen = desc.topmost && desc.borderless && top.rect.left <= 0 && top.rect.top <= 0 &&
                    top.rect.right >= GetSystemMetrics(SM_CXSCREEN) && top.rect.bottom >= GetSystemMetrics(SM_CYSCREEN);
  desc.title = top.text;
  desc.owner = OwnerSurface(top, &desc.modal);
  // A window shown while its owner is disabled is a modal one: a dialog that goes with its owner.
  desc.dialog = IsDialog(top) || desc.modal;
  desc.minimizable = (top.style & WS_MINIMIZEBOX) && !desc.modal;
  const host::SurfaceDesc& was = top.shownAs;
  if (top.hostSurface &&
      (was.borderless != desc.borderless || was.topmost != desc.topmost || was.fullScreen != desc.fullScreen ||
       was.dialog != desc.dialog || was.owner != desc.owner || was.minimizable != desc.minimizable)) {
    display.Close(top.hostSurface);
    top.hostSurface = 0;
  }
  if (!top.hostSurface) {
    top.hostSurface = display.Open(desc);
    GiveIconsToDisplay(top);
  } else if (was.x != desc.x || was.y != desc.y || was.width != desc.width || was.height != desc.height) {
    display.Place(top.hostSurface, desc.x, desc.y, desc.width, desc.height);
  }
  top.shownAs = desc;
  display.Show(top.hostSurface, true);
  top.dirty = true;
}

void FollowDisplayMove(host::SurfaceId surface, POINT at) {
  WindowPtr top = Find(TopLevelOfSurface(surface));
  if (!top || (top->shownAs.x == at.x && top->shownAs.y == at.y)) return;
  const RECT part = ShownPart(*top);
  // The surface is there already, so the move is not asked of the display again.
  top->shownAs.x = at.x;
  top->shownAs.y = at.y;
  SetWindowPos(top->handle, nullptr, at.x - part.left, at.y - part.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool EraseBackground(HWND window, HDC dc) {
  WindowPtr w = Find(window);
  if (!w || !w->cls->background) return false;
  RECT box{};
  GetClipBox(dc, &box);
  FillRect(dc, &box, w->cls->background);
  return true;
}

void PaintFrame(HWND window) {
  WindowPtr w = Find(window);
  if (!w || !HasFrame(*w)) return;
  gdi::Region frame =
      gdi::Region::Combine(gdi::Region(RECT{0, 0, w->Width(), w->Height()}), gdi::Region(w->client), RGN_DIFF);
  HDC dc = MakeWindowDC(window, true, false, &frame);
  if (!dc) return;
  RECT r{0, 0, w->Width(), w->Height()};
  if ((w->style & (WS_THICKFRAME | WS_DLGFRAME)) || (w->exStyle & WS_EX_DLGMODALFRAME)) {
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
    int ring = GetSystemMetrics((w->style & WS_THICKFRAME) ? SM_CXFRAME : SM_CXDLGFRAME) - 2;
    r.left += ring;
    r.top += ring;
    r.right -= ring;
    r.bottom -= ring;
  } else if (w->style & WS_BORDER) {
    FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
    r.left += 1;
    r.top += 1;
    r.right -= 1;
    r.bottom -= 1;
  }
  if ((w->style & WS_CAPTION) == WS_CAPTION) {
    const int height = GetSystemMetrics((w->exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
    RECT caption{r.left, r.top, r.right, r.top + height - 1};
    const bool active = GetActiveWindow() == window;
    FillRect(dc, &caption, GetSysColorBrush(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    caption.left += 3;
    DrawTextA(dc, w->text.c_str(), -1, &caption, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    r.top += height;
  }
  if (w->exStyle & WS_EX_CLIENTEDGE) DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  PaintScrollBars(window, dc);
  ReleaseDC(window, dc);
}

}  // namespace user

using namespace user;

HDC BeginPaint(HWND window, LPPAINTSTRUCT paint) {
  WindowPtr w = Find(window);
  if (!w || !paint) return nullptr;
  if (w->framePending) {
    w->framePending = false;
    SendMessageA(window, WM_NCPAINT, 1, 0);
  }
  gdi::Region update;
  bool erase;
  {
    std::lock_guard lock(TreeLock());
    update = std::move(w->update);
    w->update = gdi::Region();
    erase = w->erasePending;
    w->erasePending = false;
  }
  HDC dc = MakeWindowDC(window, false, (w->style & WS_CLIPCHILDREN) != 0, &update);
  *paint = PAINTSTRUCT{};
  paint->hdc = dc;
  paint->rcPaint = update.Box();
  paint->fErase = FALSE;
  if (dc && erase) paint->fErase = SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
  return dc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) {
  if (!paint || !paint->hdc) return FALSE;
  ReleaseDC(window, paint->hdc);
  return TRUE;
}

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
  return RedrawWindow(window, rect, nullptr, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL InvalidateRgn(HWND window, HRGN region, BOOL erase) {
  if (!gdi::FindRegion(region)) return InvalidateRect(window, nullptr, erase);
  return RedrawWindow(window, nullptr, region, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL ValidateRect(HWND window, const RECT* rect) { return RedrawWindow(window, rect, nullptr, RDW_VALIDATE); }
BOOL ValidateRgn(HWND window, HRGN region) { return RedrawWindow(window, nullptr, region, RDW_VALIDATE); }

BOOL GetUpdateRect(HWND window, LPRECT rect, BOOL erase) {
  WindowPtr w = Find(window);
  if (!w) return FALSE;
  if (rect) *rect = w->update.Box();
  if (erase && w->erasePending) UpdateWindow(window);
  return w->update.Empty() ? FALSE : TRUE;
}

int GetUpdateRgn(HWND window, HRGN region, BOOL) {
  WindowPtr w = Find(window);
  gdi::RegionObject* r = gdi::FindRegion(region);
  if (!w || !r) return ERROR;
  r->region = w->update;
  return r->region.Kind();
}

BOOL UpdateWindow(HWND window) {
  WindowPtr w = Find(window);
  if (!w) return FALSE;
  if (NeedsPaint(*w) && ReallyVisible(window)) SendMessageA(window, WM_PAINT, 0, 0);
  std::vector<HWND> kids;
  {
    std::lock_guard lock(TreeLock());
    kids = w->children;
  }
  for (HWND k : kids) UpdateWindow(k);
  return TRUE;
}

BOOL RedrawWindow(HWND window, const RECT* update, HRGN region, UINT flags) {
  if (!window) {
    for (HWND h : std::vector<HWND>(Find(Desktop())->children))
      RedrawWindow(h, update, region, flags | RDW_ALLCHILDREN);
    return TRUE;
  }
  WindowPtr w = Find(window);
  if (!w) return FALSE;
  gdi::Region r = RegionOf(*w, update, region);
  Children children = (flags & RDW_ALLCHILDREN)  ? kAllChildren
                      : (flags & RDW_NOCHILDREN) ? kNoChildren
                                                 : kChildrenByStyle;
  if (flags & RDW_INVALIDATE) {
    if ((flags & RDW_FRAME) && HasFrame(*w)) w->framePending = true;
    InvalidateTree(window, r, (flags & RDW_ERASE) != 0, children);
  }
  if (flags & RDW_VALIDATE) {
    std::lock_guard lock(TreeLock());
    w->update = gdi::Region::Combine(w->update, r, RGN_DIFF);
    if (flags & RDW_NOFRAME) w->framePending = false;
    if (w->update.Empty() || (flags & RDW_NOERASE)) w->erasePending = false;
  }
  if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) UpdateWindow(window);
  return TRUE;
}

int ScrollWindowEx(HWND window, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update, LPRECT updateRect,
                   UINT flags) {
  WindowPtr w = Find(window);
  if (!w) return ERROR;
  RECT client = ClientBox(*w);
  gdi::Region area(scroll ? *scroll : client);
  gdi::Region limit = gdi::Region::Combine(gdi::Region(clip ? *clip : client), gdi::Region(client), RGN_AND);
  area = gdi::Region::Combine(area, limit, RGN_AND);
  RECT box = area.Box();
  if (HDC dc = MakeWindowDC(window, false, false, &limit)) {
    // Through a copy: the source and the destination overlap.
    const int width = box.right - box.left, height = box.bottom - box.top;
    if (width > 0 && height > 0) {
      HDC mem = CreateCompatibleDC(dc);
      HBITMAP bm = CreateCompatibleBitmap(dc, width, height);
      HGDIOBJ old = SelectObject(mem, bm);
      BitBlt(mem, 0, 0, width, height, dc, box.left, box.top, SRCCOPY);
      BitBlt(dc, box.left + dx, box.top + dy, width, height, mem, 0, 0, SRCCOPY);
      SelectObject(mem, old);
      DeleteObject(bm);
      DeleteDC(mem);
    }
    ReleaseDC(window, dc);
  }
  gdi::Region moved = area;
  moved.Offset(dx, dy);
  gdi::Region uncovered = gdi::Region::Combine(area, moved, RGN_DIFF);
  {
    std::lock_guard lock(TreeLock());
    gdi::Region inside = gdi::Region::Combine(w->update, area, RGN_AND);
    inside.Offset(dx, dy);
    w->update = gdi::Region::Combine(gdi::Region::Combine(w->update, area, RGN_DIFF),
                                     gdi::Region::Combine(inside, limit, RGN_AND), RGN_OR);
  }
  if (flags & SW_SCROLLCHILDREN) {
    std::vector<HWND> kids;
    {
      std::lock_guard lock(TreeLock());
      kids = w->children;
    }
    for (HWND k : kids)
      if (WindowPtr c = Find(k))
        SetWindowPos(k, nullptr, c->rect.left + dx, c->rect.top + dy, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  }
  if (flags & SW_INVALIDATE) InvalidateTree(window, uncovered, (flags & SW_ERASE) != 0, kChildrenByStyle);
  if (gdi::RegionObject* r = gdi::FindRegion(update)) r->region = uncovered;
  if (updateRect) *updateRect = uncovered.Box();
  return uncovered.Kind();
}

BOOL ScrollWindow(HWND window, int dx, int dy, const RECT* scroll, const RECT* clip) {
  return ScrollWindowEx(window, dx, dy, scroll, clip, nullptr, nullptr,
                        SW_INVALIDATE | SW_ERASE | (scroll ? 0 : SW_SCROLLCHILDREN)) != ERROR;
}
