// The "Edit" class, single line: typing, Backspace and Delete, the arrows, Home and End with Shift
// selecting, a click placing the caret (Shift+click selecting), EM_SETSEL/EM_GETSEL/EM_REPLACESEL
// and a text limit; EN_CHANGE after each change.
#include <algorithm>
#include <cstdlib>

#include "controls_common.h"

namespace user::controls {
namespace {

constexpr int kSunkenEdge = 2;  // the client edge's width on each side
constexpr int kTextGap = 2;  // between the edge and the text

struct EditState {
  HFONT font = nullptr;
  std::size_t anchor = 0, caret = 0;  // the selection runs between them
  std::size_t limit = 30000;
  bool focused = false;
};

std::size_t Low(const EditState& s) { return std::min(s.anchor, s.caret); }
std::size_t High(const EditState& s) { return std::max(s.anchor, s.caret); }

void Replace(HWND window, EditState& state, const std::string& with) {
  std::string text = TextOf(window);
  const std::size_t lo = std::min(Low(state), text.size()), hi = std::min(High(state), text.size());
  std::string insert = with.substr(0, state.limit - std::min(state.limit, text.size() - (hi - lo)));
  if (insert.empty() && lo == hi) return;  // nothing fits: the text stays and nobody is told
  text.replace(lo, hi - lo, insert);
  DefWindowProcA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  state.anchor = state.caret = lo + insert.size();
  InvalidateRect(window, nullptr, TRUE);
  NotifyParent(window, EN_CHANGE);
}

void Paint(HWND window, EditState& state) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (!dc) return;
  RECT r = ClientRectOf(window);
  DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  const bool enabled = IsWindowEnabled(window) != 0;
  HBRUSH background = ParentColorBrush(window, dc, WM_CTLCOLOREDIT, enabled ? COLOR_WINDOW : COLOR_BTNFACE);
  FillRect(dc, &r, background);
  HGDIOBJ oldFont = SelectObject(dc, FontOrDefault(state.font));
  const std::string text = TextOf(window);
  SetBkMode(dc, TRANSPARENT);
  if (!enabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  const int x = r.left + kTextGap;
  SIZE all{};
  GetTextExtentPoint32A(dc, "Ay", 2, &all);
  const int y = (r.top + r.bottom - all.cy) / 2;
  TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
  auto XAt = [&](std::size_t i) {
    SIZE s{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(std::min(i, text.size())), &s);
    return x + s.cx;
  };
  if (state.focused && Low(state) != High(state)) {
    RECT sel{XAt(Low(state)), y, XAt(High(state)), y + all.cy};
    FillRect(dc, &sel, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    const std::string part = text.substr(Low(state), High(state) - Low(state));
    TextOutA(dc, sel.left, y, part.c_str(), static_cast<int>(part.size()));
  } else if (state.focused) {
    RECT caret{XAt(state.caret), y, XAt(state.caret) + 1, y + all.cy};
    FillRect(dc, &caret, GetSysColorBrush(COLOR_WINDOWTEXT));
  }
  SelectObject(dc, oldFont);
  EndPaint(window, &ps);
}

void MoveCaret(HWND window, EditState& state, std::size_t to) {
  state.caret = to;
  if (!(GetKeyState(VK_SHIFT) & 0x8000)) state.anchor = to;
  InvalidateRect(window, nullptr, TRUE);
}

// The character boundary nearest to a client x, as Paint places the text.
std::size_t BoundaryAt(HWND window, const EditState& state, int x) {
  HDC dc = GetDC(window);
  HGDIOBJ oldFont = SelectObject(dc, FontOrDefault(state.font));
  const std::string text = TextOf(window);
  const int origin = kSunkenEdge + kTextGap;
  std::size_t best = 0;
  int bestDistance = std::abs(x - origin);
  for (std::size_t i = 1; i <= text.size(); ++i) {
    SIZE s{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(i), &s);
    const int distance = std::abs(x - (origin + s.cx));
    if (distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  SelectObject(dc, oldFont);
  ReleaseDC(window, dc);
  return best;
}

LRESULT KeyDown(HWND window, EditState& state, WPARAM key) {
  const std::size_t length = TextOf(window).size();
  const bool readOnly = GetWindowLongA(window, GWL_STYLE) & ES_READONLY;
  switch (key) {
    case VK_LEFT: MoveCaret(window, state, state.caret ? state.caret - 1 : 0); break;
    case VK_RIGHT: MoveCaret(window, state, std::min(state.caret + 1, length)); break;
    case VK_HOME: MoveCaret(window, state, 0); break;
    case VK_END: MoveCaret(window, state, length); break;
    case VK_DELETE:
      if (readOnly) break;
      if (Low(state) == High(state)) state.caret = std::min(state.caret + 1, length);
      if (Low(state) != High(state)) Replace(window, state, "");
      break;
    default: break;
  }
  return 0;
}

void Char(HWND window, EditState& state, char c) {
  if (GetWindowLongA(window, GWL_STYLE) & ES_READONLY) return;
  if (c == '\b') {
    if (Low(state) == High(state) && state.caret) state.anchor = state.caret - 1;
    if (Low(state) != High(state)) Replace(window, state, "");
  } else if (static_cast<unsigned char>(c) >= 0x20) {
    Replace(window, state, std::string(1, c));
  }
}

LRESULT EditProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  EditState* state = StateOf<EditState>(window);
  if (!state && message != WM_NCCREATE) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_NCCREATE: AttachState<EditState>(window); break;
    case WM_NCDESTROY: DetachState<EditState>(window); break;
    case WM_PAINT: Paint(window, *state); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SETFONT: state->font = reinterpret_cast<HFONT>(wParam); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(state->font);
    case WM_SETTEXT: {
      LRESULT result = DefWindowProcA(window, message, wParam, lParam);
      state->anchor = state->caret = 0;
      InvalidateRect(window, nullptr, TRUE);
      return result;
    }
    case WM_GETDLGCODE: return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    case WM_SETFOCUS:
      state->focused = true;
      InvalidateRect(window, nullptr, TRUE);
      return 0;
    case WM_KILLFOCUS:
      state->focused = false;
      InvalidateRect(window, nullptr, TRUE);
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(window);
      MoveCaret(window, *state, BoundaryAt(window, *state, GET_X_LPARAM(lParam)));
      return 0;
    case WM_KEYDOWN: return KeyDown(window, *state, wParam);
    case WM_CHAR: Char(window, *state, static_cast<char>(wParam)); return 0;
    case EM_GETSEL:
      if (wParam) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(Low(*state));
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(High(*state));
      return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(Low(*state)), static_cast<WORD>(High(*state))));
    case EM_SETSEL: {
      const std::size_t length = TextOf(window).size();
      const auto start = static_cast<INT_PTR>(wParam), end = static_cast<INT_PTR>(lParam);
      state->anchor = start < 0 ? length : std::min<std::size_t>(static_cast<std::size_t>(start), length);
      state->caret = end < 0 ? length : std::min<std::size_t>(static_cast<std::size_t>(end), length);
      if (start == -1) state->anchor = state->caret = length;  // -1 drops the selection
      InvalidateRect(window, nullptr, TRUE);
      return 0;
    }
    case EM_REPLACESEL: Replace(window, *state, lParam ? reinterpret_cast<LPCSTR>(lParam) : ""); return 0;
    case EM_LIMITTEXT: state->limit = wParam ? static_cast<std::size_t>(wParam) : 30000; return 0;
    default: break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void RegisterEditClass() { RegisterClassWithState("Edit", EditProcedure); }

}  // namespace user::controls
