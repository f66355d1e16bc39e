// The "Static" class: text labels, left, centred or right, with "&" marking the accelerator unless
// SS_NOPREFIX; an etched line; an optional sunken edge.
#include "controls_common.h"

namespace user::controls {
namespace {

struct StaticState {
  HFONT font = nullptr;
};

UINT TextFormat(DWORD style) {
  UINT format = (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
  switch (style & SS_TYPEMASK) {
    case SS_CENTER: return format | DT_CENTER | DT_WORDBREAK;
    case SS_RIGHT: return format | DT_RIGHT | DT_WORDBREAK;
    case SS_SIMPLE:
    case SS_LEFTNOWORDWRAP: return format | DT_LEFT | DT_SINGLELINE;
    default: return format | DT_LEFT | DT_WORDBREAK;
  }
}

void Paint(HWND window, StaticState& state) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (!dc) return;
  const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
  RECT r = ClientRectOf(window);
  HBRUSH background = ParentColorBrush(window, dc, WM_CTLCOLORSTATIC, COLOR_BTNFACE);
  FillRect(dc, &r, background);
  if ((style & SS_TYPEMASK) == SS_ETCHEDHORZ) {
    RECT line{r.left, r.top, r.right, r.top + 2};
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    EndPaint(window, &ps);
    return;
  }
  if (style & SS_SUNKEN) {
    DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  }
  HGDIOBJ oldFont = SelectObject(dc, FontOrDefault(state.font));
  SetBkMode(dc, TRANSPARENT);
  if (!IsWindowEnabled(window)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  const std::string text = TextOf(window);
  DrawTextA(dc, text.c_str(), -1, &r, TextFormat(style));
  SelectObject(dc, oldFont);
  EndPaint(window, &ps);
}

LRESULT StaticProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  StaticState* state = StateOf<StaticState>(window);
  switch (message) {
    case WM_NCCREATE: AttachState<StaticState>(window); break;
    case WM_NCDESTROY: DetachState<StaticState>(window); break;
    case WM_PAINT:
      if (state) Paint(window, *state);
      return 0;
    case WM_ERASEBKGND: return 1;  // painted whole in WM_PAINT
    case WM_SETFONT:
      if (state) state->font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(static_cast<DWORD_PTR>(lParam))) InvalidateRect(window, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return state ? reinterpret_cast<LRESULT>(state->font) : 0;
    case WM_SETTEXT: {
      LRESULT result = DefWindowProcA(window, message, wParam, lParam);
      InvalidateRect(window, nullptr, TRUE);
      return result;
    }
    case WM_ENABLE: InvalidateRect(window, nullptr, TRUE); return 0;
    case WM_GETDLGCODE: return DLGC_STATIC;
    case WM_NCHITTEST:
      if (!(GetWindowLongA(window, GWL_STYLE) & SS_NOTIFY)) return HTTRANSPARENT;
      break;
    case WM_LBUTTONDOWN: NotifyParent(window, STN_CLICKED); return 0;
    default: break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void RegisterStaticClass() { RegisterClassWithState("Static", StaticProcedure); }

}  // namespace user::controls
