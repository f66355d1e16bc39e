// The "ComboBox" class as a drop-down list without its pop-up: the chosen string in a sunken field
// with the arrow button; the arrow keys and the wheel choose, telling the parent CBN_SELCHANGE.
#include <algorithm>
#include <vector>

#include "controls_common.h"

namespace user::controls {
namespace {

struct ComboState {
  HFONT font = nullptr;
  std::vector<std::string> items;
  int selected = -1;
  bool focused = false;
};

void Paint(HWND window, ComboState& state) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (!dc) return;
  RECT r = ClientRectOf(window);
  DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  FillRect(dc, &r, ParentColorBrush(window, dc, WM_CTLCOLOREDIT, COLOR_WINDOW));
  const int arrowWidth = GetSystemMetrics(SM_CXVSCROLL);
  RECT arrow{r.right - arrowWidth, r.top, r.right, r.bottom};
  FillRect(dc, &arrow, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(dc, &arrow, EDGE_RAISED, BF_RECT);
  const int cx = (arrow.left + arrow.right) / 2, cy = (arrow.top + arrow.bottom) / 2;
  for (int i = 0; i < 4; ++i) {  // the down-pointing triangle, 7 pixels wide
    RECT line{cx - 3 + i, cy - 2 + i, cx + 4 - i, cy - 1 + i};
    FillRect(dc, &line, GetSysColorBrush(IsWindowEnabled(window) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  }
  RECT field{r.left + 1, r.top + 1, arrow.left - 1, r.bottom - 1};
  HGDIOBJ oldFont = SelectObject(dc, FontOrDefault(state.font));
  SetBkMode(dc, TRANSPARENT);
  if (state.focused) FillRect(dc, &field, GetSysColorBrush(COLOR_HIGHLIGHT));
  SetTextColor(dc, GetSysColor(state.focused ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  if (state.selected >= 0) {
    RECT label{field.left + 2, field.top, field.right, field.bottom};
    DrawTextA(dc, state.items[static_cast<std::size_t>(state.selected)].c_str(), -1, &label,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  if (state.focused) DrawFocusRect(dc, &field);
  SelectObject(dc, oldFont);
  EndPaint(window, &ps);
}

void Choose(HWND window, ComboState& state, int index) {
  index = std::clamp(index, 0, static_cast<int>(state.items.size()) - 1);
  if (index == state.selected) return;
  state.selected = index;
  InvalidateRect(window, nullptr, TRUE);
  NotifyParent(window, CBN_SELCHANGE);
}

LRESULT ComboProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ComboState* state = StateOf<ComboState>(window);
  if (!state && message != WM_NCCREATE) return DefWindowProcA(window, message, wParam, lParam);
  const auto index = static_cast<int>(static_cast<INT_PTR>(wParam));
  const bool valid = state && index >= 0 && index < static_cast<int>(state->items.size());
  switch (message) {
    case WM_NCCREATE: AttachState<ComboState>(window); break;
    case WM_NCDESTROY: DetachState<ComboState>(window); break;
    case WM_PAINT: Paint(window, *state); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SETFONT: state->font = reinterpret_cast<HFONT>(wParam); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(state->font);
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      state->focused = message == WM_SETFOCUS;
      InvalidateRect(window, nullptr, TRUE);
      return 0;
    case WM_LBUTTONDOWN: SetFocus(window); return 0;
    case WM_KEYDOWN:
      if (state->items.empty()) return 0;
      if (wParam == static_cast<WPARAM>(VK_UP) || wParam == static_cast<WPARAM>(VK_LEFT))
        Choose(window, *state, state->selected - 1);
      else if (wParam == static_cast<WPARAM>(VK_DOWN) || wParam == static_cast<WPARAM>(VK_RIGHT))
        Choose(window, *state, state->selected + 1);
      else if (wParam == static_cast<WPARAM>(VK_HOME))
        Choose(window, *state, 0);
      else if (wParam == static_cast<WPARAM>(VK_END))
        Choose(window, *state, static_cast<int>(state->items.size()) - 1);
      return 0;
    case WM_MOUSEWHEEL:
      if (!state->items.empty())
        Choose(window, *state, state->selected + (static_cast<SHORT>(HIWORD(wParam)) > 0 ? -1 : 1));
      return 0;
    case CB_ADDSTRING:
      state->items.emplace_back(lParam ? reinterpret_cast<LPCSTR>(lParam) : "");
      return static_cast<LRESULT>(state->items.size()) - 1;
    case CB_RESETCONTENT:
      state->items.clear();
      state->selected = -1;
      InvalidateRect(window, nullptr, TRUE);
      return 0;
    case CB_GETCOUNT: return static_cast<LRESULT>(state->items.size());
    case CB_GETCURSEL: return state->selected;
    case CB_SETCURSEL:
      state->selected = valid ? index : -1;
      InvalidateRect(window, nullptr, TRUE);
      return valid ? index : CB_ERR;
    case CB_GETLBTEXTLEN: return valid ? static_cast<LRESULT>(state->items[static_cast<std::size_t>(index)].size()) : CB_ERR;
    case CB_GETLBTEXT: {
      if (!valid || !lParam) return CB_ERR;
      const std::string& item = state->items[static_cast<std::size_t>(index)];
      std::copy(item.begin(), item.end(), reinterpret_cast<char*>(lParam));
      reinterpret_cast<char*>(lParam)[item.size()] = '\0';
      return static_cast<LRESULT>(item.size());
    }
    case CB_GETDROPPEDSTATE: return FALSE;
    default: break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void RegisterComboBoxClass() { RegisterClassWithState("ComboBox", ComboProcedure); }

}  // namespace user::controls
