// A window's menu bar: the window's procedure is wrapped so that its frame holds a row for the
// bar above the client area, paints it, and opens the titles' pop-ups.
#include <algorithm>

#include "win32/item_search.h"
#include "menu_layout.h"
#include "menu_state.h"

namespace menus {
namespace {

constexpr const char* kMenuProp = "StartLogo.MenuBar";
constexpr const char* kProcProp = "StartLogo.MenuBarProc";

HMENU MenuOf(HWND window) { return static_cast<HMENU>(GetPropA(window, kMenuProp)); }
WNDPROC ProcOf(HWND window) { return reinterpret_cast<WNDPROC>(GetPropA(window, kProcProp)); }

// The bar in window coordinates: the row above the client area.
RECT BarRect(HWND window) {
  RECT frame, client;
  GetWindowRect(window, &frame);
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  const int left = origin.x - frame.left, top = origin.y - frame.top;
  return RECT{left, top - GetSystemMetrics(SM_CYMENU), left + client.right, top};
}

int TitleAt(HWND window, POINT screen) {
  HMENU menu = MenuOf(window);
  for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
    RECT r;
    if (GetMenuItemRect(window, menu, static_cast<UINT>(i), &r) && PtInRect(&r, screen)) return i;
  }
  return -1;
}

void Open(HWND window, int title, bool fromKeyboard) {
  HMENU menu = MenuOf(window);
  if (title < 0 || title >= GetMenuItemCount(menu)) return;
  const UINT chosen = TrackMenu(window, menu, window, title, fromKeyboard, POINT{0, 0}, 0);
  if (chosen) PostMessageA(window, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
}

LRESULT BarProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC inner = ProcOf(window);
  HMENU menu = MenuOf(window);
  switch (message) {
    case WM_NCCALCSIZE: {
      LRESULT result = CallWindowProcA(inner, window, message, wParam, lParam);
      RECT* r = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
      if (r) r->top = std::min(r->bottom, r->top + static_cast<LONG>(GetSystemMetrics(SM_CYMENU)));
      return result;
    }
    case WM_NCPAINT: {
      LRESULT result = CallWindowProcA(inner, window, message, wParam, lParam);
      DrawMenuBar(window);
      return result;
    }
    case WM_NCHITTEST: {
      POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      RECT bar = BarRect(window), frame;
      GetWindowRect(window, &frame);
      POINT inWindow{p.x - frame.left, p.y - frame.top};
      if (PtInRect(&bar, inWindow)) return HTMENU;
      return CallWindowProcA(inner, window, message, wParam, lParam);
    }
    case WM_NCLBUTTONDOWN:
      if (wParam == static_cast<WPARAM>(HTMENU)) {
        Open(window, TitleAt(window, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}), false);
        return 0;
      }
      break;
    case WM_SYSCOMMAND:
      // SC_KEYMENU: lParam is the access key typed with Alt, or 0 for F10 and Alt alone.
      if ((wParam & 0xFFF0) == SC_KEYMENU) {
        const char key = static_cast<char>(std::toupper(static_cast<int>(lParam & 0xFF)));
        int title = key ? -1 : 0;
        auto m = FindMenu(menu);
        for (size_t i = 0; m && key && i < m->items.size(); ++i)
          if (itemsearch::AccessKey(m->items[i].text) == key) title = static_cast<int>(i);
        Open(window, title, true);
        return 0;
      }
      break;
    case WM_NCDESTROY: {
      RemovePropA(window, kMenuProp);
      RemovePropA(window, kProcProp);
      SetWindowLongA(window, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(inner));
      return CallWindowProcA(inner, window, message, wParam, lParam);
    }
    default: break;
  }
  return CallWindowProcA(inner, window, message, wParam, lParam);
}

}  // namespace
}  // namespace menus

using namespace menus;

BOOL SetMenu(HWND window, HMENU menu) {
  if (!IsWindow(window) || (menu && !FindMenu(menu))) return FALSE;
  if (!ProcOf(window)) {
    if (!menu) return TRUE;
    SetPropA(window, kProcProp, reinterpret_cast<HANDLE>(GetWindowLongA(window, GWL_WNDPROC)));
    SetWindowLongA(window, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&BarProcedure));
  } else if (!menu) {
    SetWindowLongA(window, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(ProcOf(window)));
    RemovePropA(window, kProcProp);
  }
  if (menu) SetPropA(window, kMenuProp, menu);
  else
    RemovePropA(window, kMenuProp);
  SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return TRUE;
}

HMENU GetMenu(HWND window) { return MenuOf(window); }

BOOL DrawMenuBar(HWND window) {
  auto menu = FindMenu(MenuOf(window));
  if (!menu) return FALSE;
  HDC dc = GetWindowDC(window);
  if (!dc) return FALSE;
  PaintBar(dc, *menu, BarRect(window), OpenBarTitleOf(window));
  ReleaseDC(window, dc);
  return TRUE;
}

BOOL GetMenuItemRect(HWND window, HMENU menu, UINT position, LPRECT rect) {
  auto m = FindMenu(menu);
  if (!m || !rect || MenuOf(window) != menu || position >= m->items.size()) return FALSE;
  const RECT bar = BarRect(window);
  RECT r = LayoutBar(*m, bar.right - bar.left)[position];
  RECT frame;
  GetWindowRect(window, &frame);
  *rect = RECT{frame.left + bar.left + r.left, frame.top + bar.top + r.top, frame.left + bar.left + r.right,
               frame.top + bar.top + r.bottom};
  return TRUE;
}
