// The window table, the desktop window and the class registry.
#include <strings.h>

#include <functional>
#include <map>
#include <unordered_map>

#include "gdi/screen.h"
#include "window.h"

namespace user {
namespace {

struct Table {
  std::unordered_map<std::uintptr_t, WindowPtr> windows;
  std::uintptr_t next = 0x10020;
  std::vector<std::shared_ptr<WindowClass>> classes;
  ATOM nextAtom = 0xC000;
};

Table& TheTable() {
  static Table table;
  return table;
}

constexpr std::uintptr_t kDesktop = 0x10010;

WindowPtr MakeDesktop() {
  auto d = std::make_shared<Window>();
  d->handle = reinterpret_cast<HWND>(kDesktop);
  d->style = WS_VISIBLE | WS_CLIPCHILDREN;
  auto screen = gdi::ScreenSurface();
  d->rect = RECT{0, 0, screen->width, screen->height};
  d->client = d->rect;
  d->cls = std::make_shared<WindowClass>();
  d->cls->name = "#32769";
  return d;
}

}  // namespace

std::recursive_mutex& TreeLock() {
  static std::recursive_mutex lock;
  return lock;
}

HWND Desktop() { return reinterpret_cast<HWND>(kDesktop); }

WindowPtr Find(HWND handle) {
  std::lock_guard lock(TreeLock());
  Table& t = TheTable();
  if (t.windows.empty()) t.windows[kDesktop] = MakeDesktop();
  auto it = t.windows.find(reinterpret_cast<std::uintptr_t>(handle));
  return it == t.windows.end() ? nullptr : it->second;
}

bool IsTopLevel(const Window& w) { return w.parent == Desktop(); }

WindowPtr TopLevelOf(HWND handle) {
  std::lock_guard lock(TreeLock());
  WindowPtr w = Find(handle);
  while (w && w->parent && !IsTopLevel(*w)) w = Find(w->parent);
  return w && w->parent ? w : nullptr;
}

HWND AddWindow(WindowPtr window) {
  std::lock_guard lock(TreeLock());
  Find(nullptr);  // the desktop first
  Table& t = TheTable();
  std::uintptr_t value = t.next;
  t.next += 4;
  window->handle = reinterpret_cast<HWND>(value);
  t.windows[value] = std::move(window);
  return reinterpret_cast<HWND>(value);
}

void RemoveWindow(HWND handle) {
  std::lock_guard lock(TreeLock());
  TheTable().windows.erase(reinterpret_cast<std::uintptr_t>(handle));
}

std::vector<WindowPtr> AllWindows() {
  std::lock_guard lock(TreeLock());
  std::vector<WindowPtr> out;
  std::function<void(HWND)> walk = [&](HWND h) {
    WindowPtr w = Find(h);
    if (!w) return;
    for (HWND c : w->children) {
      if (WindowPtr child = Find(c)) out.push_back(child);
      walk(c);
    }
  };
  walk(Desktop());
  return out;
}

bool ReallyVisible(HWND handle) {
  std::lock_guard lock(TreeLock());
  for (WindowPtr w = Find(handle); w; w = Find(w->parent)) {
    if (!w->Visible()) return false;
    if (!w->parent) return true;
  }
  return false;
}

POINT WindowOrigin(const Window& w) {
  std::lock_guard lock(TreeLock());
  if (!w.parent) return POINT{0, 0};
  WindowPtr parent = Find(w.parent);
  POINT o = parent ? ClientOrigin(*parent) : POINT{0, 0};
  return POINT{o.x + w.rect.left, o.y + w.rect.top};
}

POINT ClientOrigin(const Window& w) {
  POINT o = WindowOrigin(w);
  return POINT{o.x + w.client.left, o.y + w.client.top};
}

POINT OffsetInTopLevel(const Window& w) {
  WindowPtr top = TopLevelOf(w.handle);
  if (!top) return POINT{0, 0};
  POINT o = WindowOrigin(w), t = WindowOrigin(*top);
  return POINT{o.x - t.x, o.y - t.y};
}

RECT NonClientInsets(DWORD style, DWORD exStyle) {
  int edge = 0;
  if (style & WS_THICKFRAME) edge = GetSystemMetrics(SM_CXFRAME);
  else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
    edge = GetSystemMetrics(SM_CXDLGFRAME);
  else if (style & WS_BORDER)
    edge = GetSystemMetrics(SM_CXBORDER);
  if (exStyle & WS_EX_CLIENTEDGE) edge += GetSystemMetrics(SM_CXEDGE);
  if (exStyle & WS_EX_STATICEDGE) edge += GetSystemMetrics(SM_CXBORDER);
  RECT r{edge, edge, edge, edge};
  if ((style & WS_CAPTION) == WS_CAPTION)
    r.top += GetSystemMetrics((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
  if (style & WS_VSCROLL) r.right += GetSystemMetrics(SM_CXVSCROLL);
  if (style & WS_HSCROLL) r.bottom += GetSystemMetrics(SM_CYHSCROLL);
  return r;
}

LRESULT CallProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC proc = nullptr;
  {
    WindowPtr w = Find(window);
    if (!w || w == Find(Desktop())) return w ? DefWindowProcA(window, message, wParam, lParam) : 0;
    proc = w->proc;
  }
  return proc ? proc(window, message, wParam, lParam) : DefWindowProcA(window, message, wParam, lParam);
}

namespace {

std::shared_ptr<WindowClass> FindClass(const std::string& name) {
  std::lock_guard lock(TreeLock());
  for (auto& c : TheTable().classes)
    if (strcasecmp(c->name.c_str(), name.c_str()) == 0) return c;
  return nullptr;
}

bool IsAtomName(LPCSTR name) { return reinterpret_cast<std::uintptr_t>(name) < 0x10000; }

std::shared_ptr<WindowClass> ClassByNameOrAtom(LPCSTR name) {
  if (!name) return nullptr;
  if (IsAtomName(name)) {
    std::lock_guard lock(TreeLock());
    ATOM atom = static_cast<ATOM>(reinterpret_cast<std::uintptr_t>(name));
    for (auto& c : TheTable().classes)
      if (c->atom == atom) return c;
    return nullptr;
  }
  return FindClass(name);
}

ATOM Register(std::shared_ptr<WindowClass> c) {
  if (c->name.empty() || FindClass(c->name)) return 0;
  std::lock_guard lock(TreeLock());
  c->atom = TheTable().nextAtom++;
  TheTable().classes.push_back(c);
  return c->atom;
}

}  // namespace

std::shared_ptr<WindowClass> ClassOf(LPCSTR name) { return ClassByNameOrAtom(name); }

}  // namespace user

using namespace user;

ATOM RegisterClassA(const WNDCLASSA* wc) {
  if (!wc || !wc->lpszClassName || reinterpret_cast<std::uintptr_t>(wc->lpszClassName) < 0x10000) return 0;
  auto c = std::make_shared<WindowClass>();
  c->name = wc->lpszClassName;
  c->style = wc->style;
  c->proc = wc->lpfnWndProc;
  c->windowExtra = wc->cbWndExtra > 0 ? wc->cbWndExtra : 0;
  c->instance = wc->hInstance;
  c->icon = wc->hIcon;
  c->cursor = wc->hCursor;
  c->background = wc->hbrBackground;
  return Register(c);
}

ATOM RegisterClassExA(const WNDCLASSEXA* wc) {
  if (!wc) return 0;
  WNDCLASSA plain{wc->style, wc->lpfnWndProc, wc->cbClsExtra,    wc->cbWndExtra,   wc->hInstance,
                  wc->hIcon, wc->hCursor,     wc->hbrBackground, wc->lpszMenuName, wc->lpszClassName};
  ATOM atom = RegisterClassA(&plain);
  if (atom) ClassOf(wc->lpszClassName)->smallIcon = wc->hIconSm;
  return atom;
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE) {
  std::lock_guard lock(TreeLock());
  auto c = ClassOf(className);
  if (!c) return FALSE;
  for (const WindowPtr& w : AllWindows())
    if (w->cls == c) return FALSE;  // still in use
  auto& classes = TheTable().classes;
  std::erase(classes, c);
  return TRUE;
}

BOOL GetClassInfoA(HINSTANCE, LPCSTR className, LPWNDCLASSA wc) {
  auto c = ClassOf(className);
  if (!c || !wc) return FALSE;
  *wc = WNDCLASSA{c->style,  c->proc,       0,       c->windowExtra, c->instance, c->icon,
                  c->cursor, c->background, nullptr, className};
  return TRUE;
}

int GetClassNameA(HWND window, LPSTR name, int size) {
  WindowPtr w = Find(window);
  if (!w || !name || size <= 0) return 0;
  int n = static_cast<int>(std::min<std::size_t>(w->cls->name.size(), static_cast<std::size_t>(size - 1)));
  std::copy_n(w->cls->name.data(), n, name);
  name[n] = 0;
  return n;
}

HWND GetDesktopWindow() { return Desktop(); }
