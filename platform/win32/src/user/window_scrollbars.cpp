// The scroll bars of a window's frame: their state, drawing with the shared classic bar, and
// tracking the mouse on them. Tracking is not a modal loop: while a bar is pressed, the window
// holds the capture and DispatchMessage hands its mouse and repeat-timer messages here.
#include <algorithm>

#include "paint.h"
#include "win32/messages.h"
#include "win32/scrollbar_draw.h"
#include "win32/stdcontrols.h"
#include "win32/syscolor.h"
#include "window.h"

namespace user {
namespace {

constexpr UINT_PTR kRepeatTimer = 0xFFF7;  // an id class-library windows do not use
constexpr UINT kFirstRepeatDelay = 400, kRepeatDelay = 100;

struct Tracking {
  HWND window = nullptr;
  int bar = SB_VERT;
  scrollbar::Part part = scrollbar::kNowhere;
  int grip = 0;  // where on the thumb it was taken
};

thread_local Tracking gTracking;

bool Shown(const Window& w, int bar) { return (w.style & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL)) != 0; }

// In window coordinates.
RECT BarRect(const Window& w, int bar) {
  const RECT& c = w.client;
  if (bar == SB_VERT) return {c.right, c.top, c.right + GetSystemMetrics(SM_CXVSCROLL), c.bottom};
  return {c.left, c.bottom, c.right, c.bottom + GetSystemMetrics(SM_CYHSCROLL)};
}

int LargestPos(const ScrollBarState& s) { return std::max(s.min, s.max - std::max(s.page - 1, 0)); }

scrollbar::Geometry GeometryOf(const Window& w, int bar, bool tracking) {
  const ScrollBarState& s = w.scroll[bar];
  return {BarRect(w, bar), bar == SB_VERT, s.min, LargestPos(s), tracking ? s.trackPos : s.pos, s.page};
}

void Clamp(ScrollBarState& s) {
  if (s.max < s.min) s.max = s.min;
  s.page = std::clamp(s.page, 0, s.max - s.min + 1);
  s.pos = std::clamp(s.pos, s.min, LargestPos(s));
}

bool OwnBar(int bar) { return bar == SB_HORZ || bar == SB_VERT; }

void Redraw(HWND window) {
  HDC dc = GetWindowDC(window);
  if (!dc) return;
  PaintScrollBars(window, dc);
  ReleaseDC(window, dc);
}

UINT ScrollMessage(int bar) { return bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL; }

WORD CodeOf(scrollbar::Part part) {
  static const WORD codes[] = {SB_ENDSCROLL, SB_LINEUP, SB_PAGEUP, SB_ENDSCROLL, SB_PAGEDOWN, SB_LINEDOWN};
  return codes[part];
}

// Client mouse messages carry client coordinates, the frame's (input routed before the capture
// was taken) screen coordinates.
POINT WindowPointOf(const Window& w, const MSG& msg) {
  const POINT at{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
  if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) return {at.x + w.client.left, at.y + w.client.top};
  const POINT origin = WindowOrigin(w);
  return {at.x - origin.x, at.y - origin.y};
}

void EndTracking() {
  Tracking t = gTracking;
  gTracking = Tracking{};
  KillTimer(t.window, kRepeatTimer);
  if (GetCapture() == t.window) ReleaseCapture();
  if (WindowPtr w = Find(t.window); w && t.part == scrollbar::kThumb) {
    const int pos = w->scroll[t.bar].trackPos;
    SendMessageA(t.window, ScrollMessage(t.bar), MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(pos)), 0);
  }
  if (IsWindow(t.window)) SendMessageA(t.window, ScrollMessage(t.bar), SB_ENDSCROLL, 0);
  if (IsWindow(t.window)) Redraw(t.window);
}

}  // namespace

void PaintScrollBars(HWND window, HDC dc) {
  WindowPtr w = Find(window);
  if (!w) return;
  const bool enabled = !(w->style & WS_DISABLED);
  for (int bar : {SB_HORZ, SB_VERT}) {
    if (!Shown(*w, bar)) continue;
    const bool tracked = gTracking.window == window && gTracking.bar == bar;
    const bool thumb = tracked && gTracking.part == scrollbar::kThumb;
    scrollbar::DrawScrollBar(dc, GeometryOf(*w, bar, thumb), tracked ? gTracking.part : scrollbar::kNowhere, enabled);
  }
  if (Shown(*w, SB_HORZ) && Shown(*w, SB_VERT)) {
    const RECT v = BarRect(*w, SB_VERT), h = BarRect(*w, SB_HORZ);
    RECT corner{v.left, h.top, v.right, h.bottom};
    FillRect(dc, &corner, GetSysColorBrush(COLOR_BTNFACE));
  }
}

void StartScrollBarTracking(HWND window, LRESULT hit, POINT screen) {
  WindowPtr w = Find(window);
  const int bar = hit == HTVSCROLL ? SB_VERT : SB_HORZ;
  // A held bar whose window went, or lost the capture, without its button coming up is done.
  if (gTracking.window && (!IsWindow(gTracking.window) || GetCapture() != gTracking.window)) EndTracking();
  if (!w || !Shown(*w, bar) || (w->style & WS_DISABLED) || gTracking.window) return;
  const POINT origin = WindowOrigin(*w);
  const POINT at{screen.x - origin.x, screen.y - origin.y};
  const auto g = GeometryOf(*w, bar, false);
  const scrollbar::Part part = scrollbar::ScrollPartAt(g, at);
  if (part == scrollbar::kNowhere) return;
  gTracking = Tracking{window, bar, part, 0};
  SetCapture(window);
  if (part == scrollbar::kThumb) {
    const RECT thumb = scrollbar::ThumbRect(g);
    gTracking.grip = bar == SB_VERT ? at.y - thumb.top : at.x - thumb.left;
    w->scroll[bar].trackPos = w->scroll[bar].pos;
  } else {
    SendMessageA(window, ScrollMessage(bar), CodeOf(part), 0);
    SetTimer(window, kRepeatTimer, kFirstRepeatDelay, nullptr);
  }
  if (IsWindow(window)) Redraw(window);
}

bool ScrollBarTrackingMessage(const MSG& msg) {
  if (!gTracking.window || msg.hwnd != gTracking.window) return false;
  const bool mouse = (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) ||
                     (msg.message >= WM_NCMOUSEMOVE && msg.message <= WM_NCMBUTTONUP);
  const bool repeat = msg.message == WM_TIMER && msg.wParam == kRepeatTimer;
  if (!mouse && !repeat) return false;
  WindowPtr w = Find(msg.hwnd);
  if (!w) {
    gTracking = Tracking{};
    return true;
  }
  const int bar = gTracking.bar;
  if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) {
    EndTracking();
    return true;
  }
  if (gTracking.part == scrollbar::kThumb) {
    if (msg.message != WM_MOUSEMOVE && msg.message != WM_NCMOUSEMOVE) return true;
    const POINT at = WindowPointOf(*w, msg);
    const auto g = GeometryOf(*w, bar, true);
    const int pos = scrollbar::PosAtThumb(g, (bar == SB_VERT ? at.y : at.x) - gTracking.grip);
    if (pos == w->scroll[bar].trackPos) return true;
    w->scroll[bar].trackPos = pos;
    SendMessageA(msg.hwnd, ScrollMessage(bar), MAKEWPARAM(SB_THUMBTRACK, static_cast<WORD>(pos)), 0);
    if (IsWindow(msg.hwnd)) Redraw(msg.hwnd);
    return true;
  }
  if (repeat) {
    SetTimer(msg.hwnd, kRepeatTimer, kRepeatDelay, nullptr);
    POINT cursor;
    GetCursorPos(&cursor);
    const POINT origin = WindowOrigin(*w);
    const POINT at{cursor.x - origin.x, cursor.y - origin.y};
    if (scrollbar::ScrollPartAt(GeometryOf(*w, bar, false), at) == gTracking.part)
      SendMessageA(msg.hwnd, ScrollMessage(bar), CodeOf(gTracking.part), 0);
    if (IsWindow(msg.hwnd)) Redraw(msg.hwnd);
  }
  return true;
}

}  // namespace user

using namespace user;

BOOL ShowScrollBar(HWND window, int bar, BOOL show) {
  WindowPtr w = Find(window);
  if (!w || bar < SB_HORZ || bar > SB_BOTH || bar == SB_CTL) return FALSE;
  DWORD bits = 0;
  if (bar == SB_HORZ || bar == SB_BOTH) bits |= WS_HSCROLL;
  if (bar == SB_VERT || bar == SB_BOTH) bits |= WS_VSCROLL;
  const DWORD style = show ? (w->style | bits) : (w->style & ~bits);
  if (style == w->style) return TRUE;
  SetWindowLongA(window, GWL_STYLE, static_cast<LONG_PTR>(style));
  SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return TRUE;
}

int SetScrollInfo(HWND window, int bar, LPCSCROLLINFO info, BOOL redraw) {
  WindowPtr w = Find(window);
  if (!w || !info || !OwnBar(bar)) return 0;
  ScrollBarState& s = w->scroll[bar];
  if (info->fMask & SIF_RANGE) {
    s.min = info->nMin;
    s.max = info->nMax;
  }
  if (info->fMask & SIF_PAGE) s.page = static_cast<int>(std::min<UINT>(info->nPage, 0x7FFFFFFF));
  if (info->fMask & SIF_POS) s.pos = info->nPos;
  Clamp(s);
  if (redraw && Shown(*w, bar)) Redraw(window);
  return s.pos;
}

BOOL GetScrollInfo(HWND window, int bar, LPSCROLLINFO info) {
  WindowPtr w = Find(window);
  if (!w || !info || !OwnBar(bar)) return FALSE;
  const ScrollBarState& s = w->scroll[bar];
  if (info->fMask & SIF_RANGE) {
    info->nMin = s.min;
    info->nMax = s.max;
  }
  if (info->fMask & SIF_PAGE) info->nPage = static_cast<UINT>(s.page);
  if (info->fMask & SIF_POS) info->nPos = s.pos;
  if (info->fMask & SIF_TRACKPOS) {
    const bool tracking = gTracking.window == window && gTracking.bar == bar && gTracking.part == scrollbar::kThumb;
    info->nTrackPos = tracking ? s.trackPos : s.pos;
  }
  return TRUE;
}

int SetScrollPos(HWND window, int bar, int pos, BOOL redraw) {
  WindowPtr w = Find(window);
  if (!w || !OwnBar(bar)) return 0;
  const int previous = w->scroll[bar].pos;
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, pos, 0};
  SetScrollInfo(window, bar, &info, redraw);
  return previous;
}

int GetScrollPos(HWND window, int bar) {
  WindowPtr w = Find(window);
  return w && OwnBar(bar) ? w->scroll[bar].pos : 0;
}

BOOL SetScrollRange(HWND window, int bar, int minPos, int maxPos, BOOL redraw) {
  WindowPtr w = Find(window);
  if (!w || !OwnBar(bar)) return FALSE;
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE, minPos, maxPos, 0, 0, 0};
  SetScrollInfo(window, bar, &info, redraw);
  return TRUE;
}

BOOL GetScrollRange(HWND window, int bar, int* minPos, int* maxPos) {
  WindowPtr w = Find(window);
  if (!w || !OwnBar(bar) || !minPos || !maxPos) return FALSE;
  *minPos = w->scroll[bar].min;
  *maxPos = w->scroll[bar].max;
  return TRUE;
}
