// Window longs, properties and texts.
#include <strings.h>

#include <cstring>

#include "paint.h"
#include "window.h"

using namespace user;

LONG_PTR GetWindowLongA(HWND window, int index) {
  WindowPtr w = Find(window);
  if (!w) return 0;
  switch (index) {
    case GWL_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
    case GWL_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
    case GWL_HWNDPARENT: return reinterpret_cast<LONG_PTR>(GetParent(window));
    case GWL_STYLE: return static_cast<LONG_PTR>(w->style);
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(w->exStyle);
    case GWL_USERDATA: return w->userData;
    case GWL_ID: return w->id;
    default: break;
  }
  if (index < 0 || static_cast<std::size_t>(index) + sizeof(LONG_PTR) > w->extra.size()) return 0;
  LONG_PTR v = 0;
  std::memcpy(&v, w->extra.data() + index, sizeof v);
  return v;
}

LONG_PTR SetWindowLongA(HWND window, int index, LONG_PTR value) {
  WindowPtr w = Find(window);
  if (!w || window == Desktop()) return 0;
  LONG_PTR old = GetWindowLongA(window, index);
  switch (index) {
    case GWL_WNDPROC: w->proc = reinterpret_cast<WNDPROC>(value); return old;
    case GWL_HINSTANCE: w->instance = reinterpret_cast<HINSTANCE>(value); return old;
    case GWL_HWNDPARENT: {
      WindowPtr top = TopLevelOf(reinterpret_cast<HWND>(value));
      w->owner = top ? top->handle : nullptr;
      return old;
    }
    case GWL_STYLE: {
      // WS_VISIBLE follows ShowWindow, not this.
      DWORD visible = w->style & WS_VISIBLE;
      w->style = (static_cast<DWORD>(value) & ~WS_VISIBLE) | visible;
      return old;
    }
    case GWL_EXSTYLE: w->exStyle = static_cast<DWORD>(value); return old;
    case GWL_USERDATA: w->userData = value; return old;
    case GWL_ID: w->id = value; return old;
    default: break;
  }
  if (index < 0 || static_cast<std::size_t>(index) + sizeof(LONG_PTR) > w->extra.size()) return 0;
  std::memcpy(w->extra.data() + index, &value, sizeof value);
  return old;
}

ULONG_PTR GetClassLongA(HWND window, int index) {
  WindowPtr w = Find(window);
  if (!w) return 0;
  switch (index) {
    case GCL_HBRBACKGROUND: return reinterpret_cast<ULONG_PTR>(w->cls->background);
    case GCL_HCURSOR: return reinterpret_cast<ULONG_PTR>(w->cls->cursor);
    case GCL_STYLE: return w->cls->style;
    default: return 0;
  }
}

ULONG_PTR SetClassLongA(HWND window, int index, LONG_PTR value) {
  WindowPtr w = Find(window);
  if (!w) return 0;
  ULONG_PTR old = GetClassLongA(window, index);
  switch (index) {
    case GCL_HBRBACKGROUND: w->cls->background = reinterpret_cast<HBRUSH>(value); break;
    case GCL_HCURSOR: w->cls->cursor = reinterpret_cast<HCURSOR>(value); break;
    case GCL_STYLE: w->cls->style = static_cast<UINT>(value); break;
    default: return 0;
  }
  return old;
}

namespace {

std::string PropName(LPCSTR name) {
  // An atom instead of a string: its number is its name.
  if (reinterpret_cast<std::uintptr_t>(name) < 0x10000)
    return "#" + std::to_string(reinterpret_cast<std::uintptr_t>(name));
  return name;
}

}  // namespace

BOOL SetPropA(HWND window, LPCSTR name, HANDLE data) {
  WindowPtr w = Find(window);
  if (!w || !name) return FALSE;
  std::lock_guard lock(TreeLock());
  std::string key = PropName(name);
  for (auto& [k, v] : w->props)
    if (strcasecmp(k.c_str(), key.c_str()) == 0) {
      v = data;
      return TRUE;
    }
  w->props.emplace_back(key, data);
  return TRUE;
}

HANDLE GetPropA(HWND window, LPCSTR name) {
  WindowPtr w = Find(window);
  if (!w || !name) return nullptr;
  std::lock_guard lock(TreeLock());
  std::string key = PropName(name);
  for (auto& [k, v] : w->props)
    if (strcasecmp(k.c_str(), key.c_str()) == 0) return v;
  return nullptr;
}

HANDLE RemovePropA(HWND window, LPCSTR name) {
  WindowPtr w = Find(window);
  if (!w || !name) return nullptr;
  std::lock_guard lock(TreeLock());
  std::string key = PropName(name);
  for (auto it = w->props.begin(); it != w->props.end(); ++it)
    if (strcasecmp(it->first.c_str(), key.c_str()) == 0) {
      HANDLE v = it->second;
      w->props.erase(it);
      return v;
    }
  return nullptr;
}

BOOL SetWindowTextA(HWND window, LPCSTR text) {
  if (!IsWindow(window)) return FALSE;
  return SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")) ? TRUE : FALSE;
}

int GetWindowTextA(HWND window, LPSTR text, int size) {
  if (!IsWindow(window) || !text || size <= 0) return 0;
  return static_cast<int>(SendMessageA(window, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextLengthA(HWND window) {
  return IsWindow(window) ? static_cast<int>(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0)) : 0;
}
