// Creating and destroying windows.
#include <algorithm>
#include <mutex>

#include "controls_common.h"
#include "input.h"
#include "paint.h"
#include "queue.h"
#include "window.h"

namespace user {
namespace {

// Top-level windows: topmost ones above the rest; a new window goes on top of its band.
void LinkIntoParent(Window& parent, Window& w) {
  auto& kids = parent.children;
  auto pos = kids.begin();
  if (IsTopLevel(w) && !(w.exStyle & WS_EX_TOPMOST))
    pos = std::find_if(kids.begin(), kids.end(), [](HWND h) {
      WindowPtr k = Find(h);
      return k && !(k->exStyle & WS_EX_TOPMOST);
    });
  kids.insert(pos, w.handle);
}

void Unlink(HWND window) {
  std::lock_guard lock(TreeLock());
  WindowPtr w = Find(window);
  if (!w) return;
  if (WindowPtr p = Find(w->parent)) std::erase(p->children, window);
}

// Windows placed by default cascade down and to the right, a caption and frame apart, and start
// again at the work area's corner when the next one would not fit.
POINT NextCascadePosition(int width, int height) {
  static std::mutex lock;
  static int step = 0;
  std::lock_guard guard(lock);
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const int offset = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
  POINT p{work.left + step * offset, work.top + step * offset};
  if (step > 0 && (p.x + width > work.right || p.y + height > work.bottom)) {
    step = 0;
    p = POINT{work.left, work.top};
  }
  ++step;
  return p;
}

RECT DefaultTopLevelRect(int x, int y, int width, int height) {
  int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  if (width == CW_USEDEFAULT) {
    width = sw * 3 / 4;
    height = sh * 3 / 4;
  }
  if (x == CW_USEDEFAULT) {
    const POINT p = NextCascadePosition(width, height);
    x = p.x;
    y = p.y;
  }
  return RECT{x, y, x + width, y + height};
}

void DestroyTree(HWND window);

void DestroyChildren(HWND window) {
  std::vector<HWND> kids;
  {
    std::lock_guard lock(TreeLock());
    if (WindowPtr w = Find(window)) kids = w->children;
  }
  for (HWND k : kids) DestroyTree(k);
}

// WM_DESTROY goes to a window before its children, WM_NCDESTROY after them.
void DestroyTree(HWND window) {
  WindowPtr w = Find(window);
  if (!w) return;
  w->destroying = true;
  ForgetInputWindow(window);
  SendMessageA(window, WM_DESTROY, 0, 0);
  DestroyChildren(window);
  SendMessageA(window, WM_NCDESTROY, 0, 0);
  if (w->queue) ForgetWindow(*w->queue, window);
  if (w->hostSurface) host::TheDisplay().Close(w->hostSurface);
  Unlink(window);
  RemoveWindow(window);
}

}  // namespace
}  // namespace user

using namespace user;

BOOL IsWindow(HWND window) { return window && Find(window) ? TRUE : FALSE; }

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  controls::RegisterControlClasses();
  auto cls = ClassOf(className);
  if (!cls) return nullptr;
  auto w = std::make_shared<Window>();
  w->cls = cls;
  w->queue = CurrentQueue();
  w->proc = cls->proc;
  w->style = style & ~WS_VISIBLE;
  w->exStyle = exStyle;
  w->instance = instance;
  w->extra.assign(static_cast<std::size_t>(cls->windowExtra), 0);
  if (style & WS_CHILD) {
    if (!Find(parent) || parent == Desktop()) return nullptr;
    w->parent = parent;
    w->id = reinterpret_cast<LONG_PTR>(menu);
    w->rect = RECT{x == CW_USEDEFAULT ? 0 : x, y == CW_USEDEFAULT ? 0 : y, 0, 0};
    w->rect.right = w->rect.left + (width == CW_USEDEFAULT ? 0 : width);
    w->rect.bottom = w->rect.top + (height == CW_USEDEFAULT ? 0 : height);
  } else {
    w->parent = Desktop();
    if (parent && parent != Desktop()) {
      WindowPtr ownerTop = TopLevelOf(parent);
      if (!ownerTop) return nullptr;
      w->owner = ownerTop->handle;
    }
    w->rect = DefaultTopLevelRect(x, y, width, height);
    if (w->rect.right < w->rect.left) w->rect.right = w->rect.left;
    if (w->rect.bottom < w->rect.top) w->rect.bottom = w->rect.top;
  }
  w->client = RECT{0, 0, w->Width(), w->Height()};
  HWND handle = AddWindow(w);
  {
    std::lock_guard lock(TreeLock());
    LinkIntoParent(*Find(w->parent), *w);
  }

  CREATESTRUCTA cs{param,       instance,          menu,
                   parent,      w->Height(),       w->Width(),
                   w->rect.top, w->rect.left,      static_cast<LONG>(style),
                   windowName,  cls->name.c_str(), exStyle};
  if (!SendMessageA(handle, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    DestroyWindow(handle);
    return nullptr;
  }
  if (IsWindow(handle)) {
    RECT r{0, 0, w->Width(), w->Height()};
    SendMessageA(handle, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&r));
    w->client = r;
  }
  if (SendMessageA(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(handle);
    return nullptr;
  }
  if (!IsWindow(handle)) return nullptr;
  if (IsTopLevel(*w)) SizeSurface(*w);
  SendMessageA(handle, WM_SIZE, SIZE_RESTORED,
               MAKELPARAM(w->client.right - w->client.left, w->client.bottom - w->client.top));
  SendMessageA(handle, WM_MOVE, 0, MAKELPARAM(w->rect.left + w->client.left, w->rect.top + w->client.top));
  if (style & WS_VISIBLE) ShowWindow(handle, SW_SHOW);
  return IsWindow(handle) ? handle : nullptr;
}

BOOL DestroyWindow(HWND window) {
  WindowPtr w = Find(window);
  if (!w || window == Desktop() || w->queue != CurrentQueue()) return FALSE;
  if (w->destroying) return TRUE;
  if (w->Visible())
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  // Owned windows go with their owner.
  std::vector<HWND> owned;
  for (const WindowPtr& o : AllWindows())
    if (o->owner == window) owned.push_back(o->handle);
  for (HWND o : owned) DestroyWindow(o);
  DestroyTree(window);
  return TRUE;
}
