// What a window does with a message its procedure leaves to the system.
#include <algorithm>
#include <cstring>

#include "cursors.h"
#include "input.h"
#include "paint.h"
#include "window.h"

namespace user {
namespace {

LRESULT HitTest(const Window& w, POINT pt) {
  POINT o = WindowOrigin(w);
  const int x = pt.x - o.x, y = pt.y - o.y;
  if (x < 0 || y < 0 || x >= w.Width() || y >= w.Height()) return HTNOWHERE;
  const RECT& c = w.client;
  if (x >= c.left && x < c.right && y >= c.top && y < c.bottom) return HTCLIENT;
  if (w.style & WS_THICKFRAME) {
    const int f = GetSystemMetrics(SM_CXFRAME), corner = GetSystemMetrics(SM_CYCAPTION);
    const bool left = x < f, right = x >= w.Width() - f, top = y < f, bottom = y >= w.Height() - f;
    const bool nearLeft = x < corner, nearRight = x >= w.Width() - corner;
    const bool nearTop = y < corner, nearBottom = y >= w.Height() - corner;
    if ((top && nearLeft) || (left && nearTop)) return HTTOPLEFT;
    if ((top && nearRight) || (right && nearTop)) return HTTOPRIGHT;
    if ((bottom && nearLeft) || (left && nearBottom)) return HTBOTTOMLEFT;
    if ((bottom && nearRight) || (right && nearBottom)) return HTBOTTOMRIGHT;
    if (left) return HTLEFT;
    if (right) return HTRIGHT;
    if (top) return HTTOP;
    if (bottom) return HTBOTTOM;
  }
  if ((w.style & WS_CAPTION) == WS_CAPTION) {
    const RECT in = NonClientInsets(w.style & ~(WS_VSCROLL | WS_HSCROLL), w.exStyle & ~WS_EX_CLIENTEDGE);
    const int captionTop = in.left, captionBottom = in.top;
    if (y >= captionTop && y < captionBottom) {
      if ((w.style & WS_SYSMENU) && x >= w.Width() - in.right - GetSystemMetrics(SM_CXSIZE)) return HTCLOSE;
      return HTCAPTION;
    }
  }
  if ((w.style & WS_VSCROLL) && x >= c.right && y >= c.top && y < c.bottom) return HTVSCROLL;
  if ((w.style & WS_HSCROLL) && y >= c.bottom && x >= c.left && x < c.right) return HTHSCROLL;
  return HTBORDER;
}

void Deflate(RECT& r, const RECT& by) {
  r.left += by.left;
  r.top += by.top;
  r.right = std::max(r.left, r.right - by.right);
  r.bottom = std::max(r.top, r.bottom - by.bottom);
}

LRESULT NcCreate(Window& w, LPARAM lParam) {
  auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
  if (cs && cs->lpszName) w.text = cs->lpszName;
  return TRUE;
}

LRESULT NcCalcSize(const Window& w, WPARAM wParam, LPARAM lParam) {
  const RECT in = NonClientInsets(w.style, w.exStyle);
  if (wParam) {
    if (auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)) Deflate(p->rgrc[0], in);
  } else if (auto* r = reinterpret_cast<RECT*>(lParam)) {
    Deflate(*r, in);
  }
  return 0;
}

LRESULT RedrawFrame(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
  return TRUE;
}

LRESULT Paint(HWND window) {
  PAINTSTRUCT ps;
  if (BeginPaint(window, &ps)) EndPaint(window, &ps);
  return 0;
}

LRESULT SetText(HWND window, Window& w, LPARAM lParam) {
  w.text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
  if (IsTopLevel(w) && w.hostSurface) host::TheDisplay().SetTitle(w.hostSurface, w.text);
  if ((w.style & WS_CAPTION) == WS_CAPTION) RedrawFrame(window);
  return TRUE;
}

LRESULT GetText(const Window& w, WPARAM size, LPARAM buffer) {
  if (!size || !buffer) return 0;
  auto* out = reinterpret_cast<char*>(buffer);
  const std::size_t n = std::min<std::size_t>(w.text.size(), size - 1);
  std::memcpy(out, w.text.data(), n);
  out[n] = 0;
  return static_cast<LRESULT>(n);
}

LRESULT SetIcon(Window& w, WPARAM which, LPARAM icon) {
  HICON& slot = which == ICON_SMALL ? w.smallIcon : w.bigIcon;
  HICON previous = std::exchange(slot, reinterpret_cast<HICON>(icon));
  if (IsTopLevel(w) && w.hostSurface) GiveIconsToDisplay(w);
  return reinterpret_cast<LRESULT>(previous);
}

LRESULT GetIcon(const Window& w, WPARAM which) {
  if (which == ICON_SMALL2) return reinterpret_cast<LRESULT>(w.smallIcon ? w.smallIcon : w.bigIcon);
  return reinterpret_cast<LRESULT>(which == ICON_SMALL ? w.smallIcon : w.bigIcon);
}

// A child lets its parent decide first, as Windows does.
LRESULT MouseActivate(const Window& w, WPARAM wParam, LPARAM lParam) {
  if (w.style & WS_CHILD)
    if (LRESULT r = SendMessageA(w.parent, WM_MOUSEACTIVATE, wParam, lParam)) return r;
  return MA_ACTIVATE;
}

LRESULT CancelMode(HWND window) {
  if (GetCapture() == window) ReleaseCapture();
  return 0;
}

LRESULT SysCommand(HWND window, WPARAM command) {
  switch (command & 0xFFF0) {
    case SC_CLOSE: SendMessageA(window, WM_CLOSE, 0, 0); break;
    case SC_MINIMIZE: ShowWindow(window, SW_MINIMIZE); break;
    case SC_MAXIMIZE: ShowWindow(window, SW_SHOWMAXIMIZED); break;
    case SC_RESTORE: ShowWindow(window, SW_RESTORE); break;
    default: break;
  }
  return 0;
}

void CloseTopLevel(HWND window) {
  if (WindowPtr top = TopLevelOf(window)) PostMessageA(top->handle, WM_SYSCOMMAND, SC_CLOSE, 0);
}

LRESULT SysKeyDown(HWND window, WPARAM key, LPARAM lParam) {
  constexpr LPARAM kAltDown = 1 << 29;
  if (key == static_cast<WPARAM>(VK_F4) && (lParam & kAltDown)) CloseTopLevel(window);
  return 0;
}

LRESULT NcPress(HWND window, WPARAM hit, LPARAM lParam) {
  if (hit == static_cast<WPARAM>(HTVSCROLL) || hit == static_cast<WPARAM>(HTHSCROLL))
    StartScrollBarTracking(window, static_cast<LRESULT>(hit), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
  return 0;
}

LRESULT NcRelease(HWND window, WPARAM hit) {
  if (hit == static_cast<WPARAM>(HTCLOSE)) CloseTopLevel(window);
  return 0;
}

LRESULT WindowPosChanged(HWND window, const Window& w, LPARAM lParam) {
  auto* wp = reinterpret_cast<const WINDOWPOS*>(lParam);
  if (!wp) return 0;
  if (!(wp->flags & SWP_NOMOVE))
    SendMessageA(window, WM_MOVE, 0, MAKELPARAM(w.rect.left + w.client.left, w.rect.top + w.client.top));
  if (!(wp->flags & SWP_NOSIZE))
    SendMessageA(window, WM_SIZE, IsZoomed(window) ? SIZE_MAXIMIZED : SIZE_RESTORED,
                 MAKELPARAM(w.client.right - w.client.left, w.client.bottom - w.client.top));
  return 0;
}

}  // namespace
}  // namespace user

using namespace user;

LRESULT CallWindowProcA(WNDPROC proc, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return proc ? proc(window, message, wParam, lParam) : 0;
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowPtr w = Find(window);
  if (!w) return 0;
  switch (message) {
    case WM_NCCREATE: return NcCreate(*w, lParam);
    case WM_NCCALCSIZE: return NcCalcSize(*w, wParam, lParam);
    case WM_NCHITTEST: return HitTest(*w, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_NCPAINT: PaintFrame(window); return 0;
    case WM_NCACTIVATE: return RedrawFrame(window);
    case WM_PAINT: return Paint(window);
    case WM_ERASEBKGND: return EraseBackground(window, reinterpret_cast<HDC>(wParam)) ? 1 : 0;
    case WM_SETTEXT: return SetText(window, *w, lParam);
    case WM_GETTEXT: return GetText(*w, wParam, lParam);
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(w->text.size());
    case WM_SETICON: return SetIcon(*w, wParam, lParam);
    case WM_GETICON: return GetIcon(*w, wParam);
    case WM_SETCURSOR: return DefaultSetCursor(window, wParam, lParam);
    case WM_ACTIVATE: DefaultActivate(window, wParam); return 0;
    case WM_MOUSEACTIVATE: return MouseActivate(*w, wParam, lParam);
    case WM_MOUSEWHEEL: return (w->style & WS_CHILD) ? SendMessageA(w->parent, message, wParam, lParam) : 0;
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_CANCELMODE: return CancelMode(window);
    case WM_SYSCOMMAND: return SysCommand(window, wParam);
    case WM_SYSKEYDOWN: return SysKeyDown(window, wParam, lParam);
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: return NcPress(window, wParam, lParam);
    case WM_NCLBUTTONUP: return NcRelease(window, wParam);
    case WM_WINDOWPOSCHANGED: return WindowPosChanged(window, *w, lParam);
    case WM_QUERYENDSESSION: return TRUE;
    default: return 0;
  }
}
