// The "ListBox" class, single selection: strings (sorted with LBS_SORT), a click or the arrow keys
// select and, with LBS_NOTIFY, tell the parent LBN_SELCHANGE; a double click LBN_DBLCLK. The
// selection is scrolled into view; the wheel scrolls, and so does the frame's vertical scroll bar
// of a list made with WS_VSCROLL, shown while there are more rows than fit. The sunken edge is the
// frame's with WS_EX_CLIENTEDGE, else the list draws it.
#include <strings.h>

#include <algorithm>
#include <vector>

#include "controls_common.h"

namespace user::controls {
namespace {

struct ListState {
  HFONT font = nullptr;
  std::vector<std::string> items;
  int selected = -1;
  int top = 0;
  bool focused = false;
  bool scrollBar = false;  // made with WS_VSCROLL; the style bit follows whether it shows
};

int ItemHeight(const ListState& state) { return FontHeight(state.font); }

bool OwnEdge(HWND window) { return !(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE); }

RECT Inner(HWND window) {
  const RECT r = ClientRectOf(window);
  return OwnEdge(window) ? Grown(r, -2) : r;
}

int VisibleRows(HWND window, const ListState& state) {
  const RECT r = Inner(window);
  return std::max<int>(1, (r.bottom - r.top) / ItemHeight(state));
}

// The scroll bar follows the rows: shown while they do not all fit, its thumb at the top row.
void SyncScrollBar(HWND window, const ListState& state) {
  if (!state.scrollBar) return;
  const int rows = VisibleRows(window, state), count = static_cast<int>(state.items.size());
  ShowScrollBar(window, SB_VERT, count > rows);
  SCROLLINFO info{
      sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, count - 1), static_cast<UINT>(rows), state.top, 0};
  SetScrollInfo(window, SB_VERT, &info, TRUE);
}

void ScrollIntoView(HWND window, ListState& state) {
  if (state.selected < 0) return;
  const int rows = VisibleRows(window, state);
  if (state.selected < state.top) state.top = state.selected;
  if (state.selected >= state.top + rows) state.top = state.selected - rows + 1;
  SyncScrollBar(window, state);
}

void ScrollTo(HWND window, ListState& state, int top) {
  const int maxTop = std::max(0, static_cast<int>(state.items.size()) - VisibleRows(window, state));
  state.top = std::clamp(top, 0, maxTop);
  SyncScrollBar(window, state);
  InvalidateRect(window, nullptr, TRUE);
}

LRESULT Scrolled(HWND window, ListState& state, WPARAM wParam) {
  const int rows = VisibleRows(window, state);
  switch (LOWORD(wParam)) {
    case SB_LINEUP: ScrollTo(window, state, state.top - 1); break;
    case SB_LINEDOWN: ScrollTo(window, state, state.top + 1); break;
    case SB_PAGEUP: ScrollTo(window, state, state.top - rows); break;
    case SB_PAGEDOWN: ScrollTo(window, state, state.top + rows); break;
    case SB_TOP: ScrollTo(window, state, 0); break;
    case SB_BOTTOM: ScrollTo(window, state, static_cast<int>(state.items.size())); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: ScrollTo(window, state, static_cast<short>(HIWORD(wParam))); break;
    default: break;
  }
  return 0;
}

void Paint(HWND window, ListState& state) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (!dc) return;
  RECT r = ClientRectOf(window);
  if (OwnEdge(window)) DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  FillRect(dc, &r, ParentColorBrush(window, dc, WM_CTLCOLORLISTBOX, COLOR_WINDOW));
  HGDIOBJ oldFont = SelectObject(dc, FontOrDefault(state.font));
  SetBkMode(dc, TRANSPARENT);
  const int height = ItemHeight(state);
  for (int i = state.top; i < static_cast<int>(state.items.size()); ++i) {
    RECT row{r.left, r.top + (i - state.top) * height, r.right, r.top + (i - state.top + 1) * height};
    if (row.top >= r.bottom) break;
    const bool selected = i == state.selected;
    if (selected) FillRect(dc, &row, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT label{row.left + 2, row.top, row.right, row.bottom};
    DrawTextA(dc, state.items[static_cast<std::size_t>(i)].c_str(), -1, &label,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (selected && state.focused) DrawFocusRect(dc, &row);
  }
  SelectObject(dc, oldFont);
  EndPaint(window, &ps);
}

void Select(HWND window, ListState& state, int index, bool byUser) {
  index = std::clamp(index, -1, static_cast<int>(state.items.size()) - 1);
  const bool changed = index != state.selected;
  state.selected = index;
  ScrollIntoView(window, state);
  InvalidateRect(window, nullptr, TRUE);
  if (byUser && changed && (GetWindowLongA(window, GWL_STYLE) & LBS_NOTIFY)) NotifyParent(window, LBN_SELCHANGE);
}

int IndexAt(HWND window, const ListState& state, LPARAM lParam) {
  const RECT r = Inner(window);
  const int y = GET_Y_LPARAM(lParam) - r.top;
  if (y < 0) return -1;
  const int index = state.top + y / ItemHeight(state);
  return index < static_cast<int>(state.items.size()) ? index : -1;
}

LRESULT Insert(HWND window, ListState& state, int at, LPCSTR text) {
  std::string item = text ? text : "";
  if (at < 0 || at > static_cast<int>(state.items.size())) at = static_cast<int>(state.items.size());
  if (GetWindowLongA(window, GWL_STYLE) & LBS_SORT)
    at = static_cast<int>(std::upper_bound(state.items.begin(), state.items.end(), item,
                                           [](const std::string& a, const std::string& b) {
                                             return strcasecmp(a.c_str(), b.c_str()) < 0;
                                           }) -
                          state.items.begin());
  state.items.insert(state.items.begin() + at, item);
  if (state.selected >= at) ++state.selected;
  SyncScrollBar(window, state);
  InvalidateRect(window, nullptr, TRUE);
  return at;
}

LRESULT KeyDown(HWND window, ListState& state, WPARAM key) {
  const int rows = VisibleRows(window, state);
  const int last = static_cast<int>(state.items.size()) - 1;
  switch (key) {
    case VK_UP: Select(window, state, std::max(0, state.selected - 1), true); break;
    case VK_DOWN: Select(window, state, std::min(last, state.selected + 1), true); break;
    case VK_PRIOR: Select(window, state, std::max(0, state.selected - rows + 1), true); break;
    case VK_NEXT: Select(window, state, std::min(last, state.selected + rows - 1), true); break;
    case VK_HOME: Select(window, state, 0, true); break;
    case VK_END: Select(window, state, last, true); break;
    default: break;
  }
  return 0;
}

bool Valid(const ListState& state, int index) { return index >= 0 && index < static_cast<int>(state.items.size()); }

LRESULT FocusChanged(HWND window, ListState& state, bool focused) {
  state.focused = focused;
  InvalidateRect(window, nullptr, TRUE);
  return 0;
}

LRESULT Press(HWND window, ListState& state, LPARAM lParam) {
  SetFocus(window);
  const int at = IndexAt(window, state, lParam);
  if (at >= 0) Select(window, state, at, true);
  return 0;
}

LRESULT DoubleClick(HWND window, const ListState& state, LPARAM lParam) {
  if (IndexAt(window, state, lParam) >= 0 && (GetWindowLongA(window, GWL_STYLE) & LBS_NOTIFY))
    NotifyParent(window, LBN_DBLCLK);
  return 0;
}

LRESULT Delete(HWND window, ListState& state, int index) {
  if (!Valid(state, index)) return LB_ERR;
  state.items.erase(state.items.begin() + index);
  if (state.selected == index) state.selected = -1;
  else if (state.selected > index)
    --state.selected;
  ScrollTo(window, state, state.top);
  return static_cast<LRESULT>(state.items.size());
}

LRESULT ResetContent(HWND window, ListState& state) {
  state.items.clear();
  state.selected = -1;
  ScrollTo(window, state, 0);
  return 0;
}

LRESULT SetCurSel(HWND window, ListState& state, int index) {
  const bool valid = Valid(state, index);
  Select(window, state, valid ? index : -1, false);
  return valid ? index : LB_ERR;
}

LRESULT TextLength(const ListState& state, int index) {
  return Valid(state, index) ? static_cast<LRESULT>(state.items[static_cast<std::size_t>(index)].size()) : LB_ERR;
}

LRESULT CopyText(const ListState& state, int index, LPARAM lParam) {
  return Valid(state, index) && lParam ? CopyItemText(state.items[static_cast<std::size_t>(index)], lParam) : LB_ERR;
}

LRESULT FindExact(const ListState& state, LPARAM lParam) {
  const char* wanted = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
  for (std::size_t i = 0; i < state.items.size(); ++i)
    if (strcasecmp(state.items[i].c_str(), wanted) == 0) return static_cast<LRESULT>(i);
  return LB_ERR;
}

LRESULT ItemRect(HWND window, const ListState& state, int index, LPARAM lParam) {
  if (!Valid(state, index) || !lParam) return LB_ERR;
  const RECT r = Inner(window);
  const int height = ItemHeight(state);
  *reinterpret_cast<RECT*>(lParam) =
      RECT{r.left, r.top + (index - state.top) * height, r.right, r.top + (index - state.top + 1) * height};
  return 0;
}

LRESULT ListProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ListState* state = StateOf<ListState>(window);
  if (!state && message != WM_NCCREATE) return DefWindowProcA(window, message, wParam, lParam);
  const auto index = static_cast<int>(static_cast<INT_PTR>(wParam));
  switch (message) {
    case WM_NCCREATE:
      AttachState<ListState>(window);
      StateOf<ListState>(window)->scrollBar = reinterpret_cast<const CREATESTRUCTA*>(lParam)->style & WS_VSCROLL;
      break;
    case WM_CREATE: SyncScrollBar(window, *state); break;
    case WM_SIZE: ScrollTo(window, *state, state->top); break;
    case WM_VSCROLL: return Scrolled(window, *state, wParam);
    case WM_NCDESTROY: DetachState<ListState>(window); break;
    case WM_PAINT: Paint(window, *state); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SETFONT: state->font = reinterpret_cast<HFONT>(wParam); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(state->font);
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS: return FocusChanged(window, *state, true);
    case WM_KILLFOCUS: return FocusChanged(window, *state, false);
    case WM_LBUTTONDOWN: return Press(window, *state, lParam);
    case WM_LBUTTONDBLCLK: return DoubleClick(window, *state, lParam);
    case WM_MOUSEWHEEL: ScrollTo(window, *state, state->top + WheelScrollLines(wParam)); return 0;
    case WM_KEYDOWN: return KeyDown(window, *state, wParam);
    case LB_ADDSTRING: return Insert(window, *state, -1, reinterpret_cast<LPCSTR>(lParam));
    case LB_INSERTSTRING: return Insert(window, *state, index, reinterpret_cast<LPCSTR>(lParam));
    case LB_DELETESTRING: return Delete(window, *state, index);
    case LB_RESETCONTENT: return ResetContent(window, *state);
    case LB_GETCOUNT: return static_cast<LRESULT>(state->items.size());
    case LB_SETCURSEL: return SetCurSel(window, *state, index);
    case LB_GETCURSEL: return state->selected;
    case LB_GETTOPINDEX: return state->top;
    case LB_GETTEXTLEN: return TextLength(*state, index);
    case LB_GETTEXT: return CopyText(*state, index, lParam);
    case LB_FINDSTRINGEXACT: return FindExact(*state, lParam);
    case LB_GETITEMHEIGHT: return ItemHeight(*state);
    case LB_GETITEMRECT: return ItemRect(window, *state, index, lParam);
    default: break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void RegisterListBoxClass() { RegisterClassWithState("ListBox", ListProcedure, CS_DBLCLKS); }

}  // namespace user::controls
