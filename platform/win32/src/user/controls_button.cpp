// The "Button" class: push buttons (the default one with a dark frame), check boxes and radio
// buttons (the automatic ones checking themselves, a radio clearing the others of its group),
// group boxes and owner-drawn buttons (WM_DRAWITEM to the parent). A press becomes BN_CLICKED when
// the mouse is released over the button, or with the space bar.
#include "controls_common.h"

namespace user::controls {
namespace {

struct ButtonState {
  HFONT font = nullptr;
  WPARAM check = BST_UNCHECKED;
  bool pushed = false;
  bool focused = false;
  bool tracking = false;
};

DWORD TypeOf(HWND window) { return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & BS_TYPEMASK; }
bool IsCheck(DWORD type) { return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX; }
bool IsRadio(DWORD type) { return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON; }
bool IsPush(DWORD type) { return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON; }

void DrawCheckMark(HDC dc, const RECT& box) {
  HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWTEXT));
  HGDIOBJ old = SelectObject(dc, pen);
  for (int i = 0; i < 3; ++i) {  // the classic tick: down three, up four, three pixels thick
    MoveToEx(dc, box.left + 3, box.top + 5 + i, nullptr);
    LineTo(dc, box.left + 5, box.top + 7 + i);
    LineTo(dc, box.left + 10, box.top + 2 + i);
  }
  SelectObject(dc, old);
  DeleteObject(pen);
}

void DrawIndicator(HDC dc, DWORD type, const RECT& box, const ButtonState& state, bool enabled) {
  const COLORREF inside = GetSysColor(state.pushed || !enabled ? COLOR_BTNFACE : COLOR_WINDOW);
  if (IsCheck(type)) {
    RECT r = box;
    DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    HBRUSH brush = CreateSolidBrush(inside);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    if (state.check == BST_CHECKED) DrawCheckMark(dc, box);
    return;
  }
  HPEN shadow = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
  HBRUSH fill = CreateSolidBrush(inside);
  HGDIOBJ oldPen = SelectObject(dc, shadow), oldBrush = SelectObject(dc, fill);
  Ellipse(dc, box.left, box.top, box.right, box.bottom);
  if (state.check == BST_CHECKED) {
    HBRUSH dot = CreateSolidBrush(GetSysColor(COLOR_WINDOWTEXT));
    SelectObject(dc, dot);
    SelectObject(dc, GetStockObject(NULL_PEN));
    Ellipse(dc, box.left + 4, box.top + 4, box.right - 3, box.bottom - 3);
    SelectObject(dc, fill);
    DeleteObject(dot);
  }
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(shadow);
  DeleteObject(fill);
}

void DrawOwner(HWND window, HDC dc, const ButtonState& state) {
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_BUTTON;
  item.CtlID = static_cast<UINT>(GetWindowLongA(window, GWL_ID));
  item.itemAction = ODA_DRAWENTIRE;
  item.itemState = (state.pushed ? ODS_SELECTED : 0) | (state.focused ? ODS_FOCUS : 0) |
                   (IsWindowEnabled(window) ? 0 : ODS_DISABLED);
  item.hwndItem = window;
  item.hDC = dc;
  item.rcItem = ClientRectOf(window);
  if (HWND parent = GetParent(window)) SendMessageA(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

void PaintPush(HDC dc, DWORD type, const RECT& r, const std::string& text, const ButtonState& state) {
  RECT face = r;
  if (type == BS_DEFPUSHBUTTON || state.focused) {
    FrameRect(dc, &face, GetSysColorBrush(COLOR_WINDOWFRAME));
    face = Grown(face, -1);
  }
  if (state.pushed) {
    FrameRect(dc, &face, GetSysColorBrush(COLOR_BTNSHADOW));
  } else {
    DrawEdge(dc, &face, EDGE_RAISED, BF_RECT);
  }
  RECT label = face;
  if (state.pushed) label = Moved(label, 1, 1);
  DrawTextA(dc, text.c_str(), -1, &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (state.focused) {
    RECT focus = Grown(face, -4);
    DrawFocusRect(dc, &focus);
  }
}

void PaintGroup(HWND window, HDC dc, const RECT& r, const std::string& text, bool enabled) {
  SIZE extent{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  RECT frame{r.left, r.top + extent.cy / 2, r.right, r.bottom};
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  if (text.empty()) return;
  RECT label{r.left + 8, r.top, r.left + 8 + extent.cx + 4, r.top + extent.cy};
  FillRect(dc, &label, ParentColorBrush(window, dc, WM_CTLCOLORBTN, COLOR_BTNFACE));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  label = Moved(label, 2, 0);
  DrawTextA(dc, text.c_str(), -1, &label, DT_LEFT | DT_SINGLELINE);
}

// A check box or radio button: the indicator, the label right of it, the focus around the label.
void PaintIndicated(HDC dc, DWORD type, const RECT& r, const std::string& text, const ButtonState& state,
                    bool enabled) {
  const int mid = (r.top + r.bottom) / 2;
  const RECT box{r.left, mid - 6, r.left + 13, mid + 7};
  DrawIndicator(dc, type, box, state, enabled);
  RECT label{r.left + 17, r.top, r.right, r.bottom};
  DrawTextA(dc, text.c_str(), -1, &label, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  if (!state.focused) return;
  RECT focus = label;
  DrawTextA(dc, text.c_str(), -1, &focus, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_CALCRECT);
  const int height = focus.bottom - focus.top;
  focus.top = mid - height / 2 - 1;
  focus.bottom = focus.top + height + 2;
  focus.left -= 1;
  focus.right += 1;
  DrawFocusRect(dc, &focus);
}

void Paint(HWND window, ButtonState& state) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (!dc) return;
  const DWORD type = TypeOf(window);
  if (type == BS_OWNERDRAW) {
    DrawOwner(window, dc, state);
    EndPaint(window, &ps);
    return;
  }
  const bool enabled = IsWindowEnabled(window) != 0;
  RECT r = ClientRectOf(window);
  FillRect(dc, &r, ParentColorBrush(window, dc, WM_CTLCOLORBTN, COLOR_BTNFACE));
  HGDIOBJ oldFont = SelectObject(dc, FontOrDefault(state.font));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  const std::string text = TextOf(window);
  if (IsPush(type)) PaintPush(dc, type, r, text, state);
  else if (type == BS_GROUPBOX)
    PaintGroup(window, dc, r, text, enabled);
  else
    PaintIndicated(dc, type, r, text, state, enabled);
  SelectObject(dc, oldFont);
  EndPaint(window, &ps);
}

// What the button does when clicked before its parent hears BN_CLICKED.
void Click(HWND window, ButtonState& state) {
  const DWORD type = TypeOf(window);
  if (type == BS_AUTOCHECKBOX) {
    state.check = state.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
    InvalidateRect(window, nullptr, TRUE);
  } else if (type == BS_AUTORADIOBUTTON) {
    HWND parent = GetParent(window);
    for (HWND sibling = parent ? GetWindow(parent, GW_CHILD) : nullptr; sibling;
         sibling = GetWindow(sibling, GW_HWNDNEXT))
      if (sibling != window && TypeOf(sibling) == BS_AUTORADIOBUTTON && StateOf<ButtonState>(sibling))
        SendMessageA(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
    state.check = BST_CHECKED;
    InvalidateRect(window, nullptr, TRUE);
  }
  NotifyParent(window, BN_CLICKED);
}

void SetPushed(HWND window, ButtonState& state, bool pushed) {
  if (state.pushed == pushed) return;
  state.pushed = pushed;
  InvalidateRect(window, nullptr, TRUE);
}

LRESULT SetFont(HWND window, ButtonState& state, WPARAM font, LPARAM redraw) {
  state.font = reinterpret_cast<HFONT>(font);
  if (LOWORD(static_cast<DWORD_PTR>(redraw))) InvalidateRect(window, nullptr, TRUE);
  return 0;
}

LRESULT SetText(HWND window, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = DefWindowProcA(window, WM_SETTEXT, wParam, lParam);
  InvalidateRect(window, nullptr, TRUE);
  return result;
}

LRESULT DialogCode(HWND window) {
  const DWORD type = TypeOf(window);
  if (type == BS_DEFPUSHBUTTON) return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
  if (type == BS_PUSHBUTTON) return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
  if (IsRadio(type)) return DLGC_BUTTON | DLGC_RADIOBUTTON;
  if (type == BS_GROUPBOX) return DLGC_STATIC;
  return DLGC_BUTTON;
}

LRESULT SetCheck(HWND window, ButtonState& state, WPARAM check) {
  if (IsCheck(TypeOf(window)) || IsRadio(TypeOf(window))) {
    state.check = check == BST_CHECKED ? BST_CHECKED : BST_UNCHECKED;
    InvalidateRect(window, nullptr, TRUE);
  }
  return 0;
}

LRESULT GetState(const ButtonState& state) {
  return static_cast<LRESULT>(state.check) | (state.pushed ? BST_PUSHED : 0) | (state.focused ? BST_FOCUS : 0);
}

LRESULT SetStyle(HWND window, WPARAM style, LPARAM redraw) {
  SetWindowLongA(window, GWL_STYLE,
                 static_cast<LONG_PTR>((static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & ~BS_TYPEMASK) |
                                       (static_cast<DWORD>(style) & BS_TYPEMASK)));
  if (LOWORD(static_cast<DWORD_PTR>(redraw))) InvalidateRect(window, nullptr, TRUE);
  return 0;
}

LRESULT ClickIfEnabled(HWND window, ButtonState& state) {
  if (IsWindowEnabled(window)) Click(window, state);
  return 0;
}

LRESULT FocusTaken(HWND window, ButtonState& state) {
  state.focused = true;
  InvalidateRect(window, nullptr, TRUE);
  return 0;
}

LRESULT FocusLost(HWND window, ButtonState& state) {
  state.focused = false;
  state.tracking = false;
  SetPushed(window, state, false);
  InvalidateRect(window, nullptr, TRUE);
  return 0;
}

LRESULT Press(HWND window, ButtonState& state) {
  if (TypeOf(window) == BS_GROUPBOX) return 0;
  SetFocus(window);
  SetCapture(window);
  state.tracking = true;
  SetPushed(window, state, true);
  return 0;
}

LRESULT MouseMove(HWND window, ButtonState& state, LPARAM lParam) {
  if (state.tracking) SetPushed(window, state, PointIn(ClientRectOf(window), lParam));
  return 0;
}

LRESULT Release(HWND window, ButtonState& state) {
  if (!state.tracking) return 0;
  state.tracking = false;
  ReleaseCapture();
  if (state.pushed) {
    SetPushed(window, state, false);
    Click(window, state);
  }
  return 0;
}

LRESULT KeyDown(HWND window, ButtonState& state, WPARAM key) {
  if (key == static_cast<WPARAM>(VK_SPACE)) SetPushed(window, state, true);
  return 0;
}

LRESULT KeyUp(HWND window, ButtonState& state, WPARAM key) {
  if (key == static_cast<WPARAM>(VK_SPACE) && state.pushed) {
    SetPushed(window, state, false);
    Click(window, state);
  }
  return 0;
}

LRESULT ButtonProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ButtonState* state = StateOf<ButtonState>(window);
  if (!state && message != WM_NCCREATE) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_NCCREATE: AttachState<ButtonState>(window); break;
    case WM_NCDESTROY: DetachState<ButtonState>(window); break;
    case WM_PAINT: Paint(window, *state); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SETFONT: return SetFont(window, *state, wParam, lParam);
    case WM_GETFONT: return reinterpret_cast<LRESULT>(state->font);
    case WM_SETTEXT: return SetText(window, wParam, lParam);
    case WM_ENABLE: InvalidateRect(window, nullptr, TRUE); return 0;
    case WM_GETDLGCODE: return DialogCode(window);
    case WM_NCHITTEST:
      if (TypeOf(window) == BS_GROUPBOX) return HTTRANSPARENT;
      break;
    case BM_GETCHECK: return static_cast<LRESULT>(state->check);
    case BM_SETCHECK: return SetCheck(window, *state, wParam);
    case BM_GETSTATE: return GetState(*state);
    case BM_SETSTATE: SetPushed(window, *state, wParam != 0); return 0;
    case BM_SETSTYLE: return SetStyle(window, wParam, lParam);
    case BM_CLICK: return ClickIfEnabled(window, *state);
    case WM_SETFOCUS: return FocusTaken(window, *state);
    case WM_KILLFOCUS: return FocusLost(window, *state);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: return Press(window, *state);
    case WM_MOUSEMOVE: return MouseMove(window, *state, lParam);
    case WM_LBUTTONUP: return Release(window, *state);
    case WM_KEYDOWN: return KeyDown(window, *state, wParam);
    case WM_KEYUP: return KeyUp(window, *state, wParam);
    default: break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void RegisterButtonClass() { RegisterClassWithState("Button", ButtonProcedure, CS_DBLCLKS); }

}  // namespace user::controls
