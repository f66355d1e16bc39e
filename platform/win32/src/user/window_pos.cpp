// Position, size, z-order, visibility and enabling of windows.
#include <algorithm>
#include <atomic>
#include <cstdlib>

#include "input.h"
#include "paint.h"
#include "win32/shell.h"
#include "window.h"

namespace user {
namespace {

// The show command that the starting program gave for the first window the process shows (a
// shortcut's "Run: Minimized"), taken once, as Windows takes it from the start-up information.
int FirstShowCommand(int command) {
  static std::atomic<bool> taken{false};
  const bool plainShow = command == SW_SHOWNORMAL || command == SW_SHOW || command == SW_SHOWDEFAULT;
  if (!plainShow || taken.exchange(true)) return command;
  const char* given = std::getenv(shell::kShowCommandVariable);
  const int asked = given ? std::atoi(given) : 0;
  return asked >= SW_SHOWNORMAL && asked <= SW_SHOWDEFAULT ? asked : command;
}

bool IsTopmostBand(HWND h) {
  WindowPtr w = Find(h);
  return w && (w->exStyle & WS_EX_TOPMOST);
}

void Reorder(Window& w, HWND after) {
  WindowPtr parent = Find(w.parent);
  if (!parent) return;
  auto& kids = parent->children;
  std::erase(kids, w.handle);
  bool top = IsTopLevel(w);
  auto bandStart = [&] {
    return top && !(w.exStyle & WS_EX_TOPMOST) ? std::find_if_not(kids.begin(), kids.end(), IsTopmostBand)
                                               : kids.begin();
  };
  if (after == HWND_TOPMOST) {
    if (top) w.exStyle |= WS_EX_TOPMOST;
    kids.insert(kids.begin(), w.handle);
  } else if (after == HWND_NOTOPMOST) {
    w.exStyle &= ~WS_EX_TOPMOST;
    kids.insert(bandStart(), w.handle);
  } else if (after == HWND_TOP) {
    kids.insert(bandStart(), w.handle);
  } else if (after == HWND_BOTTOM) {
    if (top) w.exStyle &= ~WS_EX_TOPMOST;
    kids.push_back(w.handle);
  } else {
    auto it = std::find(kids.begin(), kids.end(), after);
    kids.insert(it == kids.end() ? bandStart() : it + 1, w.handle);
  }
}

RECT WholeClient(const Window& w) { return RECT{0, 0, w.client.right - w.client.left, w.client.bottom - w.client.top}; }

void RepaintWhole(Window& w) {
  if (w.client.left || w.client.top || w.client.right != w.Width() || w.client.bottom != w.Height())
    w.framePending = true;
  Invalidate(w.handle, gdi::Region(WholeClient(w)), true, true);
}

// What a move, a resize, a restack or a show/hide changed, for the repaint and the notice after it.
struct PosChange {
  RECT old{};
  RECT next{};
  bool moved = false;
  bool sized = false;
  bool reordered = false;
  bool wasVisible = false;
  bool nowVisible = false;
};

// The position asked for, the window's own where the flags keep it.
WINDOWPOS Requested(const Window& w, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
  WINDOWPOS wp{w.handle, insertAfter, x, y, width, height, flags};
  if (flags & SWP_NOMOVE) {
    wp.x = w.rect.left;
    wp.y = w.rect.top;
  }
  if (flags & SWP_NOSIZE) {
    wp.cx = w.Width();
    wp.cy = w.Height();
  }
  return wp;
}

// Moves, restacks, shows or hides the window in the tree; the frame and client follow separately.
PosChange Apply(Window& w, const WINDOWPOS& wp) {
  PosChange c;
  c.old = w.rect;
  c.wasVisible = ReallyVisible(w.handle);
  c.next = RECT{wp.x, wp.y, wp.x + std::max(0, wp.cx), wp.y + std::max(0, wp.cy)};
  c.moved = c.next.left != c.old.left || c.next.top != c.old.top;
  c.sized = (c.next.right - c.next.left) != (c.old.right - c.old.left) ||
            (c.next.bottom - c.next.top) != (c.old.bottom - c.old.top);
  std::lock_guard lock(TreeLock());
  w.rect = c.next;
  if (!(wp.flags & SWP_NOZORDER)) {
    WindowPtr parent = Find(w.parent);
    auto before = parent ? parent->children : std::vector<HWND>{};
    Reorder(w, wp.hwndInsertAfter);
    c.reordered = parent && parent->children != before;
  }
  if (wp.flags & SWP_SHOWWINDOW) w.style |= WS_VISIBLE;
  if (wp.flags & SWP_HIDEWINDOW) w.style &= ~WS_VISIBLE;
  return c;
}

void RecalcClient(Window& w) {
  RECT r{0, 0, w.Width(), w.Height()};
  SendMessageA(w.handle, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&r));
  w.client = r;
}

// A child uncovers its old place in its parent and repaints whole after any change; a top-level
// window repaints only when resized, shown or reframed.
void RepaintAfter(Window& w, const PosChange& c, UINT flags) {
  const bool changed = c.moved || c.sized || c.wasVisible != c.nowVisible || (flags & SWP_FRAMECHANGED) || c.reordered;
  if (!IsTopLevel(w) && c.wasVisible && changed) RepaintArea(w.parent, c.old);
  if (c.nowVisible && (IsTopLevel(w) ? (c.sized || !c.wasVisible || (flags & SWP_FRAMECHANGED)) : changed))
    RepaintWhole(w);
}

// A top-level window hidden hands activation on; one shown takes it unless told not to.
void ActivateAfter(HWND window, const PosChange& c, UINT flags) {
  if (c.wasVisible && !c.nowVisible) ActivateAnotherThan(window);
  if (!c.wasVisible && c.nowVisible && !(flags & SWP_NOACTIVATE)) SetActiveWindow(window);
}

// WM_WINDOWPOSCHANGED carries where the window ended up, flagging what did not change.
void NotifyChanged(HWND window, WINDOWPOS wp, const PosChange& c) {
  if (!c.moved) wp.flags |= SWP_NOMOVE;
  if (!c.sized) wp.flags |= SWP_NOSIZE;
  wp.x = c.next.left;
  wp.y = c.next.top;
  wp.cx = c.next.right - c.next.left;
  wp.cy = c.next.bottom - c.next.top;
  SendMessageA(window, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
}

}  // namespace
}  // namespace user

using namespace user;

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
  WindowPtr w = Find(window);
  if (!w || window == Desktop()) return FALSE;
  WINDOWPOS wp = Requested(*w, insertAfter, x, y, width, height, flags);
  if (!(flags & SWP_NOSENDCHANGING)) SendMessageA(window, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
  if (!IsWindow(window)) return FALSE;
  flags = wp.flags;
  PosChange change = Apply(*w, wp);
  if (change.sized || (flags & SWP_FRAMECHANGED)) RecalcClient(*w);
  change.nowVisible = ReallyVisible(window);
  if (IsTopLevel(*w)) {
    if (change.sized) SizeSurface(*w);
    SyncDisplaySurface(*w);
  }
  if (!(flags & SWP_NOREDRAW)) RepaintAfter(*w, change, flags);
  if (IsTopLevel(*w)) ActivateAfter(window, change, flags);
  NotifyChanged(window, wp, change);
  return TRUE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(window, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND window) {
  return SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

BOOL ShowWindow(HWND window, int command) {
  WindowPtr w = Find(window);
  if (!w || window == Desktop()) return FALSE;
  if (IsTopLevel(*w) && command != SW_HIDE) command = FirstShowCommand(command);
  const bool wasVisible = w->Visible();
  if (command == SW_MINIMIZE || command == SW_SHOWMINIMIZED || command == SW_SHOWMINNOACTIVE) {
    w->style = (w->style | WS_MINIMIZE | WS_VISIBLE) & ~WS_MAXIMIZE;
    if (IsTopLevel(*w)) SyncDisplaySurface(*w);
    SendMessageA(window, WM_SIZE, SIZE_MINIMIZED, 0);
    if (IsTopLevel(*w)) ActivateAnotherThan(window);
    return wasVisible;
  }
  if ((command == SW_RESTORE || command == SW_SHOWNORMAL) && (w->style & (WS_MINIMIZE | WS_MAXIMIZE))) {
    w->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
    if (w->normalKept) {
      w->normalKept = false;
      const RECT n = w->normal;
      SetWindowPos(window, nullptr, n.left, n.top, n.right - n.left, n.bottom - n.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (IsTopLevel(*w)) SyncDisplaySurface(*w);
    SendMessageA(window, WM_SIZE, SIZE_RESTORED,
                 MAKELPARAM(w->client.right - w->client.left, w->client.bottom - w->client.top));
  }
  const bool show = command != SW_HIDE;
  UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER;
  if (command == SW_SHOWMAXIMIZED) {
    if (!(w->style & WS_MAXIMIZE) && !w->normalKept) {
      w->normal = w->rect;
      w->normalKept = true;
    }
    w->style |= WS_MAXIMIZE;
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    SendMessageA(window, WM_SHOWWINDOW, TRUE, 0);
    SetWindowPos(window, nullptr, work.left, work.top, work.right - work.left, work.bottom - work.top,
                 SWP_NOZORDER | SWP_SHOWWINDOW);
    SendMessageA(window, WM_SIZE, SIZE_MAXIMIZED,
                 MAKELPARAM(w->client.right - w->client.left, w->client.bottom - w->client.top));
    return wasVisible;
  }
  if (show == wasVisible) {
    if (show && IsTopLevel(*w) && command != SW_SHOWNA && command != SW_SHOWNOACTIVATE) SetActiveWindow(window);
    return wasVisible;
  }
  SendMessageA(window, WM_SHOWWINDOW, show, 0);
  if (!IsWindow(window)) return wasVisible;
  flags |= show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
  if (!show || command == SW_SHOWNA || command == SW_SHOWNOACTIVATE || !IsTopLevel(*w)) flags |= SWP_NOACTIVATE;
  SetWindowPos(window, nullptr, 0, 0, 0, 0, flags);
  return wasVisible;
}

BOOL IsWindowVisible(HWND window) { return ReallyVisible(window) ? TRUE : FALSE; }

BOOL GetWindowPlacement(HWND window, WINDOWPLACEMENT* placement) {
  WindowPtr w = Find(window);
  if (!w || !placement || window == Desktop()) return FALSE;
  placement->flags = 0;
  placement->showCmd = (w->style & WS_MINIMIZE)   ? SW_SHOWMINIMIZED
                       : (w->style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED
                                                  : SW_SHOWNORMAL;
  placement->ptMinPosition = POINT{-1, -1};
  placement->ptMaxPosition = POINT{-1, -1};
  placement->rcNormalPosition = w->normalKept ? w->normal : w->rect;
  return TRUE;
}

BOOL IsIconic(HWND window) {
  WindowPtr w = Find(window);
  return w && (w->style & WS_MINIMIZE) ? TRUE : FALSE;
}

BOOL IsZoomed(HWND window) {
  WindowPtr w = Find(window);
  return w && (w->style & WS_MAXIMIZE) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND window, BOOL enable) {
  WindowPtr w = Find(window);
  if (!w) return FALSE;
  const bool wasDisabled = (w->style & WS_DISABLED) != 0;
  if (wasDisabled == !enable) return wasDisabled;
  if (enable) {
    w->style &= ~WS_DISABLED;
  } else {
    w->style |= WS_DISABLED;
    HWND focus = GetFocus();
    if (focus == window || IsChild(window, focus)) SetFocus(nullptr);
    if (GetCapture() == window) ReleaseCapture();
  }
  SendMessageA(window, WM_ENABLE, enable ? TRUE : FALSE, 0);
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND window) {
  WindowPtr w = Find(window);
  return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL GetWindowRect(HWND window, LPRECT rect) {
  WindowPtr w = Find(window);
  if (!w || !rect) return FALSE;
  POINT o = WindowOrigin(*w);
  *rect = RECT{o.x, o.y, o.x + w->Width(), o.y + w->Height()};
  return TRUE;
}

BOOL GetClientRect(HWND window, LPRECT rect) {
  WindowPtr w = Find(window);
  if (!w || !rect) return FALSE;
  *rect = RECT{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
  return TRUE;
}

BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle) {
  if (!rect) return FALSE;
  RECT in = NonClientInsets(style, exStyle);
  rect->left -= in.left;
  rect->top -= in.top + (menu ? GetSystemMetrics(SM_CYMENU) : 0);
  rect->right += in.right;
  rect->bottom += in.bottom;
  return TRUE;
}

BOOL AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu) { return AdjustWindowRectEx(rect, style, menu, 0); }

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
  POINT a{0, 0}, b{0, 0};
  if (from && from != Desktop()) {
    WindowPtr w = Find(from);
    if (!w) return 0;
    a = ClientOrigin(*w);
  }
  if (to && to != Desktop()) {
    WindowPtr w = Find(to);
    if (!w) return 0;
    b = ClientOrigin(*w);
  }
  const int dx = a.x - b.x, dy = a.y - b.y;
  for (UINT i = 0; points && i < count; ++i) {
    points[i].x += dx;
    points[i].y += dy;
  }
  return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

BOOL ClientToScreen(HWND window, LPPOINT point) {
  if (!IsWindow(window) || !point) return FALSE;
  MapWindowPoints(window, nullptr, point, 1);
  return TRUE;
}

BOOL ScreenToClient(HWND window, LPPOINT point) {
  if (!IsWindow(window) || !point) return FALSE;
  MapWindowPoints(nullptr, window, point, 1);
  return TRUE;
}

HWND WindowFromPoint(POINT screenPoint) { return WindowAt(screenPoint, nullptr, false); }

HWND ChildWindowFromPointEx(HWND parent, POINT clientPoint, UINT flags) {
  WindowPtr p = Find(parent);
  if (!p) return nullptr;
  RECT c{0, 0, p->client.right - p->client.left, p->client.bottom - p->client.top};
  if (clientPoint.x < c.left || clientPoint.y < c.top || clientPoint.x >= c.right || clientPoint.y >= c.bottom)
    return nullptr;
  std::vector<HWND> kids;
  {
    std::lock_guard lock(TreeLock());
    kids = p->children;
  }
  for (HWND k : kids) {
    WindowPtr w = Find(k);
    if (!w) continue;
    if ((flags & CWP_SKIPINVISIBLE) && !w->Visible()) continue;
    if ((flags & CWP_SKIPDISABLED) && (w->style & WS_DISABLED)) continue;
    if ((flags & CWP_SKIPTRANSPARENT) && (w->exStyle & WS_EX_TRANSPARENT)) continue;
    const RECT& r = w->rect;
    if (clientPoint.x >= r.left && clientPoint.x < r.right && clientPoint.y >= r.top && clientPoint.y < r.bottom)
      return k;
  }
  return parent;
}

HWND ChildWindowFromPoint(HWND parent, POINT clientPoint) {
  return ChildWindowFromPointEx(parent, clientPoint, CWP_ALL);
}

HWND GetParent(HWND window) {
  WindowPtr w = Find(window);
  if (!w || !w->parent) return nullptr;
  if (w->style & WS_CHILD) return w->parent;
  return (w->style & WS_POPUP) ? w->owner : nullptr;
}

HWND SetParent(HWND child, HWND newParent) {
  WindowPtr w = Find(child);
  if (!newParent) newParent = Desktop();
  WindowPtr p = Find(newParent);
  if (!w || !p || child == Desktop() || newParent == child || IsChild(child, newParent)) return nullptr;
  const bool visible = ReallyVisible(child);
  HWND old = w->parent;
  if (visible) RepaintArea(old, w->rect);
  {
    std::lock_guard lock(TreeLock());
    if (WindowPtr op = Find(old)) std::erase(op->children, child);
    w->parent = newParent;
    w->owner = nullptr;
    p->children.insert(p->children.begin(), child);
  }
  if (IsTopLevel(*w)) {
    SizeSurface(*w);
    SyncDisplaySurface(*w);
  } else if (old == Desktop() && w->hostSurface) {
    host::TheDisplay().Close(w->hostSurface);
    w->hostSurface = 0;
  }
  if (ReallyVisible(child)) RepaintWhole(*w);
  return old == Desktop() ? nullptr : old;
}

HWND GetWindow(HWND window, UINT command) {
  std::lock_guard lock(TreeLock());
  WindowPtr w = Find(window);
  if (!w) return nullptr;
  if (command == GW_CHILD) return w->children.empty() ? nullptr : w->children.front();
  if (command == GW_OWNER) return w->owner;
  WindowPtr p = Find(w->parent);
  if (!p) return nullptr;
  const auto& s = p->children;
  auto it = std::find(s.begin(), s.end(), window);
  switch (command) {
    case GW_HWNDFIRST: return s.front();
    case GW_HWNDLAST: return s.back();
    case GW_HWNDNEXT: return it == s.end() || it + 1 == s.end() ? nullptr : *(it + 1);
    case GW_HWNDPREV: return it == s.begin() || it == s.end() ? nullptr : *(it - 1);
    default: return nullptr;
  }
}

HWND GetTopWindow(HWND window) { return GetWindow(window ? window : Desktop(), GW_CHILD); }

BOOL IsChild(HWND parent, HWND window) {
  if (!parent || !window) return FALSE;
  std::lock_guard lock(TreeLock());
  WindowPtr w = Find(window);
  while (w && (w->style & WS_CHILD)) {
    if (w->parent == parent) return TRUE;
    w = Find(w->parent);
  }
  return FALSE;
}

HWND GetAncestor(HWND window, UINT flags) {
  WindowPtr w = Find(window);
  if (!w || window == Desktop()) return nullptr;
  if (flags == GA_PARENT) return w->parent;
  WindowPtr top = TopLevelOf(window);
  if (!top) return nullptr;
  if (flags == GA_ROOTOWNER)
    while (WindowPtr o = Find(top->owner)) top = o;
  return top->handle;
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM param) {
  if (!proc) return FALSE;
  std::vector<HWND> all;
  for (const WindowPtr& w : AllWindows())
    if (IsChild(parent ? parent : Desktop(), w->handle) || (!parent && IsTopLevel(*w))) all.push_back(w->handle);
  for (HWND h : all)
    if (IsWindow(h) && !proc(h, param)) break;
  return TRUE;
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM param) {
  if (!proc) return FALSE;
  std::vector<HWND> tops;
  {
    std::lock_guard lock(TreeLock());
    tops = Find(Desktop())->children;
  }
  for (HWND h : tops)
    if (IsWindow(h) && !proc(h, param)) break;
  return TRUE;
}
