// The list a "ComboBox" drops down: a framed pop-up below the combo box (above it near the bottom of
// the screen) that holds the mouse while open, lights the item under the pointer and takes it on a
// click; a click elsewhere closes it unchanged. It never takes the activation from the dialog.
// With the button held, the pointer past its top or bottom scrolls it an item a tick, and a pressed
// scroll-bar part repeats.
#include <algorithm>

#include "controls_combobox.h"
#include "win32/dropdown.h"

namespace user::controls {
namespace {

constexpr const char* kListClass = "ComboLBox";
constexpr UINT_PTR kDragScrollTimer = 1;
constexpr UINT_PTR kRepeatTimer = 2;
constexpr UINT kDragScrollMs = 50;
constexpr UINT kRepeatDelayMs = 400;  // before a held scroll-bar part repeats
constexpr UINT kRepeatMs = 50;

int MaxRows(const ComboState& state) {
  if (state.droppedHeight <= 0) return 8;
  return std::max(1, (state.droppedHeight - 2) / ComboItemHeight(state));
}

bool HasScrollBar(const ComboState& state) { return static_cast<int>(state.items.size()) > ComboListRows(state); }

// The client area: the items, and the scroll bar at the right when they do not all fit.
RECT ItemArea(HWND list, const ComboState& state) {
  RECT r = ClientRectOf(list);
  if (HasScrollBar(state)) r.right -= GetSystemMetrics(SM_CXVSCROLL);
  return r;
}

scrollbar::Geometry BarGeometry(HWND list, const ComboState& state) {
  const RECT client = ClientRectOf(list);
  const RECT bar{client.right - GetSystemMetrics(SM_CXVSCROLL), client.top, client.right, client.bottom};
  const int rows = ComboListRows(state);
  return scrollbar::Geometry{bar, true, 0, static_cast<int>(state.items.size()) - rows, state.top, rows};
}

HWND ComboOf(HWND list) { return reinterpret_cast<HWND>(GetWindowLongPtrA(list, 0)); }

int IndexAt(HWND list, const ComboState& state, POINT p) {
  const RECT area = ItemArea(list, state);
  if (p.x < area.left || p.x >= area.right || p.y < area.top || p.y >= area.bottom) return -1;
  const int index = state.top + (p.y - area.top) / ComboItemHeight(state);
  return index < static_cast<int>(state.items.size()) ? index : -1;
}

void Paint(HWND list, HWND combo, const ComboState& state) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(list, &ps);
  if (!dc) return;
  const RECT area = ItemArea(list, state);
  const int height = ComboItemHeight(state);
  HBRUSH back = ParentColorBrush(combo, dc, WM_CTLCOLORLISTBOX, COLOR_WINDOW);
  int y = area.top;
  for (int i = state.top; i < static_cast<int>(state.items.size()) && y < area.bottom; ++i, y += height)
    DrawComboItem(combo, state, dc, i, RECT{area.left, y, area.right, y + height}, i == state.hot ? ODS_SELECTED : 0,
                  back);
  RECT rest{area.left, y, area.right, area.bottom};
  if (rest.top < rest.bottom) FillRect(dc, &rest, back);
  if (HasScrollBar(state)) scrollbar::DrawScrollBar(dc, BarGeometry(list, state), state.pressedPart, true);
  EndPaint(list, &ps);
}

void StepScrollBar(ComboState& state) {
  const int rows = ComboListRows(state);
  switch (state.pressedPart) {
    case scrollbar::kLineUp: ScrollComboList(state, state.top - 1); break;
    case scrollbar::kLineDown: ScrollComboList(state, state.top + 1); break;
    case scrollbar::kPageUp: ScrollComboList(state, state.top - rows); break;
    case scrollbar::kPageDown: ScrollComboList(state, state.top + rows); break;
    case scrollbar::kThumb:
    case scrollbar::kNowhere: break;
  }
}

void PressScrollBar(HWND list, ComboState& state, POINT p) {
  const scrollbar::Geometry g = BarGeometry(list, state);
  state.pressedPart = scrollbar::ScrollPartAt(g, p);
  if (state.pressedPart == scrollbar::kThumb) state.thumbGrab = p.y - scrollbar::ThumbRect(g).top;
  else if (state.pressedPart != scrollbar::kNowhere)
    SetTimer(list, kRepeatTimer, kRepeatDelayMs, nullptr);
  StepScrollBar(state);
  InvalidateRect(list, nullptr, FALSE);
}

// A held part repeats while the pointer stays on it.
void RepeatScrollBar(HWND list, ComboState& state) {
  if (state.pressedPart == scrollbar::kNowhere || state.pressedPart == scrollbar::kThumb) {
    KillTimer(list, kRepeatTimer);
    return;
  }
  SetTimer(list, kRepeatTimer, kRepeatMs, nullptr);
  POINT p{};
  GetCursorPos(&p);
  ScreenToClient(list, &p);
  if (scrollbar::ScrollPartAt(BarGeometry(list, state), p) == state.pressedPart) StepScrollBar(state);
}

// Dragged past the items' top or bottom, the list scrolls, lighting the item that comes in.
void DragPastEdge(HWND list, ComboState& state, POINT p) {
  const RECT area = ItemArea(list, state);
  const int direction = p.y < area.top ? -1 : p.y >= area.bottom ? 1 : 0;
  if (direction == state.dragScroll) return;
  state.dragScroll = direction;
  if (direction != 0) SetTimer(list, kDragScrollTimer, kDragScrollMs, nullptr);
  else
    KillTimer(list, kDragScrollTimer);
}

void DragScrollTick(HWND list, ComboState& state) {
  if (state.dragScroll == 0 || GetKeyState(VK_LBUTTON) >= 0) {
    state.dragScroll = 0;
    KillTimer(list, kDragScrollTimer);
    return;
  }
  SetComboHot(state, state.dragScroll < 0 ? state.top - 1 : state.top + ComboListRows(state));
}

LRESULT ListProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  // The dialog keeps the activation and the combo box the keyboard while the list is used.
  if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
  const HWND combo = ComboOf(list);
  ComboState* state = combo && IsWindow(combo) ? StateOf<ComboState>(combo) : nullptr;
  if (!state) return DefWindowProcA(list, message, wParam, lParam);
  const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  const RECT client = ClientRectOf(list);
  const bool inside = p.x >= client.left && p.x < client.right && p.y >= client.top && p.y < client.bottom;
  switch (message) {
    case WM_PAINT: Paint(list, combo, *state); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_MOUSEMOVE:
      if (state->pressedPart == scrollbar::kThumb) {
        ScrollComboList(*state, scrollbar::PosAtThumb(BarGeometry(list, *state), p.y - state->thumbGrab));
      } else if (state->pressedPart == scrollbar::kNowhere) {
        if (const int at = IndexAt(list, *state, p); at >= 0) SetComboHot(*state, at);
        if (wParam & MK_LBUTTON) DragPastEdge(list, *state, p);
      }
      return 0;
    case WM_TIMER:
      if (wParam == kRepeatTimer) RepeatScrollBar(list, *state);
      if (wParam == kDragScrollTimer) DragScrollTick(list, *state);
      return 0;
    case WM_LBUTTONDOWN:
      if (!inside) {
        CloseComboList(combo, false);
      } else if (HasScrollBar(*state) && p.x >= ItemArea(list, *state).right) {
        PressScrollBar(list, *state, p);
      } else if (const int at = IndexAt(list, *state, p); at >= 0) {
        SetComboHot(*state, at);
      }
      return 0;
    case WM_LBUTTONUP:
      if (state->pressedPart != scrollbar::kNowhere || state->dragScroll != 0) {
        StopComboListTracking(list, *state);
        InvalidateRect(list, nullptr, FALSE);
      } else if (const int at = IndexAt(list, *state, p); at >= 0) {
        SetComboHot(*state, at);
        CloseComboList(combo, true);
      }
      return 0;
    case WM_DESTROY:
      // Gone with the window that owns it, which the combo box may have left: the next open makes
      // a new one.
      if (state->list == list) {
        StopComboListTracking(list, *state);
        state->list = nullptr;
        state->dropped = false;
      }
      return 0;
    case WM_CAPTURECHANGED:
      // Another window took the mouse: the list can no longer see a click outside it.
      if (state->dropped && reinterpret_cast<HWND>(lParam) != list) CloseComboList(combo, false);
      return 0;
    default: break;
  }
  return DefWindowProcA(list, message, wParam, lParam);
}

int DroppedWidth(HWND combo, const ComboState& state) {
  RECT r{};
  GetWindowRect(combo, &r);
  return std::max<int>(state.droppedWidth, r.right - r.left);
}

}  // namespace

void StopComboListTracking(HWND list, ComboState& state) {
  state.pressedPart = scrollbar::kNowhere;
  state.dragScroll = 0;
  KillTimer(list, kRepeatTimer);
  KillTimer(list, kDragScrollTimer);
}

void RegisterComboListClass() { RegisterClassWithState(kListClass, ListProcedure, CS_SAVEBITS); }

int ComboListRows(const ComboState& state) {
  return std::max(1, std::min(static_cast<int>(state.items.size()), MaxRows(state)));
}

RECT ComboListRect(HWND combo, const ComboState& state) {
  RECT r{};
  GetWindowRect(combo, &r);
  return dropdown::Placement(r, DroppedWidth(combo, state), ComboListRows(state) * ComboItemHeight(state) + 2);
}

void ScrollComboList(ComboState& state, int top) {
  const int maxTop = std::max(0, static_cast<int>(state.items.size()) - ComboListRows(state));
  top = std::clamp(top, 0, maxTop);
  if (top == state.top) return;
  state.top = top;
  if (state.list) InvalidateRect(state.list, nullptr, FALSE);
}

void SetComboHot(ComboState& state, int index) {
  const int last = static_cast<int>(state.items.size()) - 1;
  index = last < 0 ? -1 : std::clamp(index, 0, last);
  if (index >= 0 && index < state.top) ScrollComboList(state, index);
  if (index >= state.top + ComboListRows(state)) ScrollComboList(state, index - ComboListRows(state) + 1);
  if (index == state.hot) return;
  state.hot = index;
  if (state.list) InvalidateRect(state.list, nullptr, FALSE);
}

void ShowComboList(HWND combo, ComboState& state) {
  if (!state.list) {
    state.list = CreateWindowExA(dropdown::kExStyle, kListClass, "", dropdown::kStyle, 0, 0, 0, 0,
                                 GetAncestor(combo, GA_ROOT), nullptr, nullptr, nullptr);
    if (!state.list) return;
    SetWindowLongPtrA(state.list, 0, reinterpret_cast<LONG_PTR>(combo));
  }
  state.top = 0;
  state.hot = -1;
  SetComboHot(state, state.selected);
  const RECT r = ComboListRect(combo, state);
  state.dropped = true;
  SetWindowPos(state.list, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(state.list, nullptr, FALSE);
  SetCapture(state.list);
}

}  // namespace user::controls
