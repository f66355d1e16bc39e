// The "ComboBox" class as a drop-down list: the chosen string in a sunken field with the arrow
// button. While closed the arrow keys, a typed first letter and the wheel choose, telling the parent
// CBN_SELCHANGE; a click on the field or the button, F4 or Alt+Down opens the list
// (controls_combobox_list.cpp), where the same keys move the lit item.
#include <algorithm>

#include "controls_combobox.h"
#include "win32/item_search.h"

namespace user::controls {
namespace {

constexpr DWORD kTypeMask = 0x0003;  // CBS_DROPDOWN or CBS_DROPDOWNLIST

DWORD StyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)); }
bool OwnerDrawn(HWND window) { return (StyleOf(window) & CBS_OWNERDRAWFIXED) != 0; }
// Owner-drawn items without CBS_HASSTRINGS are their data alone, and a search compares that.
bool KeepsNoStrings(HWND window) { return OwnerDrawn(window) && !(StyleOf(window) & CBS_HASSTRINGS); }

// The arrow button inside the sunken edge.
RECT ButtonRect(HWND window) {
  const RECT r = Grown(ClientRectOf(window), -2);
  return RECT{r.right - GetSystemMetrics(SM_CXVSCROLL), r.top, r.right, r.bottom};
}

// The field's height for the font: the text with two pixels above and below inside the sunken edge.
int FieldHeight(const ComboState& state) { return ComboItemHeight(state) + 8; }

void Paint(HWND window, ComboState& state) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (!dc) return;
  RECT r = ClientRectOf(window);
  DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  HBRUSH back = ParentColorBrush(window, dc, WM_CTLCOLOREDIT, COLOR_WINDOW);
  FillRect(dc, &r, back);
  const RECT arrow = ButtonRect(window);
  const bool enabled = IsWindowEnabled(window);
  scrollbar::DrawArrowButton(dc, arrow, 1, state.dropped, enabled);
  const RECT field{r.left + 1, r.top + 1, arrow.left - 1, r.bottom - 1};
  const bool lit = state.focused && !state.dropped;
  const UINT itemState = ODS_COMBOBOXEDIT | (lit ? ODS_SELECTED | ODS_FOCUS : 0) | (enabled ? 0 : ODS_DISABLED);
  DrawComboItem(window, state, dc, state.selected, field, itemState, back);
  if (lit && !OwnerDrawn(window)) DrawFocusRect(dc, &field);
  EndPaint(window, &ps);
}

void Choose(HWND window, ComboState& state, int index) {
  index = std::clamp(index, 0, static_cast<int>(state.items.size()) - 1);
  if (index == state.selected) return;
  state.selected = index;
  InvalidateRect(window, nullptr, TRUE);
  NotifyParent(window, CBN_SELCHANGE);
}

// The wheel scrolls the open list; on a closed box each notch chooses the next item up or down.
void Wheel(HWND window, ComboState& state, WPARAM wParam) {
  if (state.dropped) ScrollComboList(state, state.top + WheelScrollLines(wParam));
  else if (!state.items.empty())
    Choose(window, state, state.selected < 0 ? 0 : state.selected - WheelNotches(wParam));
}

void Open(HWND window) {
  ComboState* state = StateOf<ComboState>(window);
  if (!state || state->dropped || !IsWindowEnabled(window)) return;
  NotifyParent(window, CBN_DROPDOWN);
  // The parent may have filled, emptied or destroyed the combo box.
  state = IsWindow(window) ? StateOf<ComboState>(window) : nullptr;
  if (!state || state->dropped) return;
  ShowComboList(window, *state);
  InvalidateRect(window, nullptr, TRUE);
}

void Toggle(HWND window, const ComboState& state) {
  if (state.dropped) CloseComboList(window, true);
  else
    Open(window);
}

LRESULT KeyDown(HWND window, ComboState& state, WPARAM key) {
  if (key == static_cast<WPARAM>(VK_F4)) {
    Toggle(window, state);
    return 0;
  }
  const int last = static_cast<int>(state.items.size()) - 1;
  if (state.dropped) {
    const int page = ComboListRows(state);
    switch (key) {
      case VK_RETURN: CloseComboList(window, true); break;
      case VK_ESCAPE: CloseComboList(window, false); break;
      case VK_UP:
      case VK_LEFT: SetComboHot(state, state.hot - 1); break;
      case VK_DOWN:
      case VK_RIGHT: SetComboHot(state, state.hot + 1); break;
      case VK_PRIOR: SetComboHot(state, state.hot - page + 1); break;
      case VK_NEXT: SetComboHot(state, state.hot + page - 1); break;
      case VK_HOME: SetComboHot(state, 0); break;
      case VK_END: SetComboHot(state, last); break;
      default: break;
    }
    return 0;
  }
  if (last < 0) return 0;
  switch (key) {
    case VK_UP:
    case VK_LEFT: Choose(window, state, state.selected - 1); break;
    case VK_DOWN:
    case VK_RIGHT: Choose(window, state, state.selected + 1); break;
    case VK_HOME: Choose(window, state, 0); break;
    case VK_END: Choose(window, state, last); break;
    default: break;
  }
  return 0;
}

// The next item starting with the typed letter: chosen while closed, lit while open.
void TypeAhead(HWND window, ComboState& state, char key) {
  if ((StyleOf(window) & kTypeMask) != CBS_DROPDOWNLIST) return;
  const int found = itemsearch::NextByFirstLetter(
      key, state.dropped ? state.hot : state.selected, static_cast<int>(state.items.size()),
      [&state](int i) { return state.items[static_cast<std::size_t>(i)].text; });
  if (found < 0) return;
  if (state.dropped) SetComboHot(state, found);
  else
    Choose(window, state, found);
}

LRESULT FindItem(HWND window, const ComboState& state, int after, LPARAM lParam, bool exact) {
  const int count = static_cast<int>(state.items.size());
  int found = -1;
  if (KeepsNoStrings(window)) {
    found = itemsearch::FirstFrom(count, after, [&](int i) {
      return state.items[static_cast<std::size_t>(i)].data == static_cast<ULONG_PTR>(lParam);
    });
  } else {
    const char* wanted = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
    found = itemsearch::Find(count, after, wanted, exact,
                             [&state](int i) { return state.items[static_cast<std::size_t>(i)].text; });
  }
  return found < 0 ? CB_ERR : found;
}

// A window made taller than its field keeps the rest as the height of its list.
void TakeDroppedHeight(HWND window, ComboState& state) {
  RECT r{};
  GetWindowRect(window, &r);
  const int field = FieldHeight(state);
  if (r.bottom - r.top < field + ComboItemHeight(state)) return;
  state.droppedHeight = r.bottom - r.top - field;
  SetWindowPos(window, nullptr, 0, 0, r.right - r.left, field, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Measure(HWND window, ComboState& state) {
  MEASUREITEMSTRUCT mis{};
  mis.CtlType = ODT_COMBOBOX;
  mis.CtlID = static_cast<UINT>(GetWindowLongA(window, GWL_ID));
  mis.itemHeight = static_cast<UINT>(FontHeight(state.font));
  if (HWND parent = GetParent(window)) SendMessageA(parent, WM_MEASUREITEM, mis.CtlID, reinterpret_cast<LPARAM>(&mis));
  state.measuredHeight = std::max(1, static_cast<int>(mis.itemHeight));
}

LRESULT AddString(HWND window, ComboState& state, LPARAM lParam) {
  ComboItem item;
  if (KeepsNoStrings(window)) item.data = static_cast<ULONG_PTR>(lParam);
  else
    item.text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
  state.items.push_back(std::move(item));
  if (state.list) InvalidateRect(state.list, nullptr, FALSE);
  return static_cast<LRESULT>(state.items.size()) - 1;
}

bool Valid(const ComboState& state, int index) { return index >= 0 && index < static_cast<int>(state.items.size()); }

LRESULT Create(HWND window, ComboState& state) {
  if (OwnerDrawn(window)) Measure(window, state);
  TakeDroppedHeight(window, state);
  return 0;
}

LRESULT Destroy(ComboState& state) {
  state.dropped = false;
  if (state.list) DestroyWindow(state.list);
  state.list = nullptr;
  return 0;
}

// While open, Return and Escape close the list instead of the dialog.
LRESULT DialogCode(const ComboState& state, LPARAM lParam) {
  const auto* msg = reinterpret_cast<const MSG*>(lParam);
  const bool closing = state.dropped && msg && msg->message == WM_KEYDOWN &&
                       (msg->wParam == static_cast<WPARAM>(VK_RETURN) || msg->wParam == static_cast<WPARAM>(VK_ESCAPE));
  return DLGC_WANTARROWS | DLGC_WANTCHARS | (closing ? DLGC_WANTMESSAGE : 0);
}

LRESULT FocusChanged(HWND window, ComboState& state, bool focused) {
  state.focused = focused;
  if (!focused) CloseComboList(window, false);
  InvalidateRect(window, nullptr, TRUE);
  return 0;
}

LRESULT Enable(HWND window, WPARAM enabled) {
  if (!enabled) CloseComboList(window, false);
  InvalidateRect(window, nullptr, TRUE);
  return 0;
}

LRESULT Press(HWND window, ComboState& state, LPARAM lParam) {
  SetFocus(window);
  if (IsWindow(window) && GetFocus() == window &&
      ((StyleOf(window) & kTypeMask) == CBS_DROPDOWNLIST || PointIn(ButtonRect(window), lParam)))
    Toggle(window, state);
  return 0;
}

// Alt+Down and Alt+Up open or close the list; other system keys go on to the default.
bool SysKeyDown(HWND window, ComboState& state, WPARAM key) {
  if (key != static_cast<WPARAM>(VK_DOWN) && key != static_cast<WPARAM>(VK_UP)) return false;
  Toggle(window, state);
  return true;
}

LRESULT ResetContent(HWND window, ComboState& state) {
  state.items.clear();
  state.selected = state.hot = -1;
  state.top = 0;
  InvalidateRect(window, nullptr, TRUE);
  if (state.list) InvalidateRect(state.list, nullptr, FALSE);
  return 0;
}

LRESULT SetCurSel(HWND window, ComboState& state, int index) {
  const bool valid = Valid(state, index);
  state.selected = valid ? index : -1;
  InvalidateRect(window, nullptr, TRUE);
  return valid ? index : CB_ERR;
}

LRESULT ItemData(const ComboState& state, int index) {
  return Valid(state, index) ? static_cast<LRESULT>(state.items[static_cast<std::size_t>(index)].data) : CB_ERR;
}

LRESULT SetItemData(HWND window, ComboState& state, int index, LPARAM lParam) {
  if (!Valid(state, index)) return CB_ERR;
  state.items[static_cast<std::size_t>(index)].data = static_cast<ULONG_PTR>(lParam);
  if (KeepsNoStrings(window)) {
    InvalidateRect(window, nullptr, TRUE);
    if (state.list) InvalidateRect(state.list, nullptr, FALSE);
  }
  return TRUE;
}

LRESULT SelectString(HWND window, ComboState& state, int after, LPARAM lParam) {
  const LRESULT found = FindItem(window, state, after, lParam, false);
  if (found == CB_ERR) return CB_ERR;
  state.selected = static_cast<int>(found);
  InvalidateRect(window, nullptr, TRUE);
  return found;
}

LRESULT TextLength(const ComboState& state, int index) {
  return Valid(state, index) ? static_cast<LRESULT>(state.items[static_cast<std::size_t>(index)].text.size()) : CB_ERR;
}

LRESULT CopyText(const ComboState& state, int index, LPARAM lParam) {
  return Valid(state, index) && lParam ? CopyItemText(state.items[static_cast<std::size_t>(index)].text, lParam)
                                       : CB_ERR;
}

LRESULT ShowDropDown(HWND window, WPARAM show) {
  if (show) Open(window);
  else
    CloseComboList(window, false);
  return TRUE;
}

LRESULT DroppedControlRect(HWND window, const ComboState& state, LPARAM lParam) {
  if (!lParam) return CB_ERR;
  *reinterpret_cast<RECT*>(lParam) = ComboListRect(window, state);
  return TRUE;
}

// An item's height, or with -1 the field's: the window's own height.
LRESULT ItemHeightOf(HWND window, const ComboState& state, int index) {
  if (index != -1) return ComboItemHeight(state);
  RECT r{};
  GetWindowRect(window, &r);
  return r.bottom - r.top;
}

LRESULT DroppedWidth(HWND window, const ComboState& state) {
  RECT r{};
  GetWindowRect(window, &r);
  return std::max<LRESULT>(state.droppedWidth, r.right - r.left);
}

LRESULT ComboProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ComboState* state = StateOf<ComboState>(window);
  if (!state && message != WM_NCCREATE) return DefWindowProcA(window, message, wParam, lParam);
  const auto index = static_cast<int>(static_cast<INT_PTR>(wParam));
  switch (message) {
    case WM_NCCREATE: AttachState<ComboState>(window); break;
    case WM_CREATE: return Create(window, *state);
    case WM_DESTROY: return Destroy(*state);
    case WM_NCDESTROY: DetachState<ComboState>(window); break;
    case WM_PAINT: Paint(window, *state); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SETFONT: state->font = reinterpret_cast<HFONT>(wParam); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(state->font);
    case WM_GETDLGCODE: return DialogCode(*state, lParam);
    case WM_SETFOCUS: return FocusChanged(window, *state, true);
    case WM_KILLFOCUS: return FocusChanged(window, *state, false);
    case WM_ENABLE: return Enable(window, wParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: return Press(window, *state, lParam);
    case WM_KEYDOWN: return KeyDown(window, *state, wParam);
    case WM_CHAR: TypeAhead(window, *state, static_cast<char>(wParam)); return 0;
    case WM_SYSKEYDOWN:
      if (SysKeyDown(window, *state, wParam)) return 0;
      break;
    case WM_MOUSEWHEEL: Wheel(window, *state, wParam); return 0;
    case CB_ADDSTRING: return AddString(window, *state, lParam);
    case CB_RESETCONTENT: return ResetContent(window, *state);
    case CB_GETCOUNT: return static_cast<LRESULT>(state->items.size());
    case CB_GETCURSEL: return state->selected;
    case CB_SETCURSEL: return SetCurSel(window, *state, index);
    case CB_GETITEMDATA: return ItemData(*state, index);
    case CB_SETITEMDATA: return SetItemData(window, *state, index, lParam);
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT: return FindItem(window, *state, index, lParam, message == CB_FINDSTRINGEXACT);
    case CB_SELECTSTRING: return SelectString(window, *state, index, lParam);
    case CB_GETLBTEXTLEN: return TextLength(*state, index);
    case CB_GETLBTEXT: return CopyText(*state, index, lParam);
    case CB_SHOWDROPDOWN: return ShowDropDown(window, wParam);
    case CB_GETDROPPEDSTATE: return state->dropped ? TRUE : FALSE;
    case CB_GETDROPPEDCONTROLRECT: return DroppedControlRect(window, *state, lParam);
    case CB_GETITEMHEIGHT: return ItemHeightOf(window, *state, index);
    case CB_SETDROPPEDWIDTH: state->droppedWidth = std::max(0, index); [[fallthrough]];
    case CB_GETDROPPEDWIDTH: return DroppedWidth(window, *state);
    default: break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int ComboItemHeight(const ComboState& state) {
  return state.measuredHeight > 0 ? state.measuredHeight : FontHeight(state.font);
}

void DrawComboItem(HWND combo, const ComboState& state, HDC dc, int index, const RECT& r, UINT itemState, HBRUSH back) {
  const bool exists = index >= 0 && index < static_cast<int>(state.items.size());
  if (OwnerDrawn(combo)) {
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_COMBOBOX;
    dis.CtlID = static_cast<UINT>(GetWindowLongA(combo, GWL_ID));
    dis.itemID = exists ? static_cast<UINT>(index) : static_cast<UINT>(-1);
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = itemState;
    dis.hwndItem = combo;
    dis.hDC = dc;
    dis.rcItem = r;
    dis.itemData = exists ? state.items[static_cast<std::size_t>(index)].data : 0;
    if (HWND parent = GetParent(combo)) SendMessageA(parent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
    return;
  }
  const bool selected = (itemState & ODS_SELECTED) != 0;
  FillRect(dc, &r, selected ? GetSysColorBrush(COLOR_HIGHLIGHT) : back);
  if (!exists) return;
  HGDIOBJ oldFont = SelectObject(dc, FontOrDefault(state.font));
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  COLORREF oldColor = GetTextColor(dc);
  if (selected) SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
  else if (itemState & ODS_DISABLED)
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  RECT label{r.left + 2, r.top, r.right, r.bottom};
  DrawTextA(dc, state.items[static_cast<std::size_t>(index)].text.c_str(), -1, &label,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SetTextColor(dc, oldColor);
  SetBkMode(dc, oldMode);
  SelectObject(dc, oldFont);
}

void CloseComboList(HWND combo, bool accept) {
  ComboState* state = StateOf<ComboState>(combo);
  if (!state || !state->dropped) return;
  state->dropped = false;
  StopComboListTracking(state->list, *state);
  const int picked = state->hot;
  if (GetCapture() == state->list) ReleaseCapture();
  ShowWindow(state->list, SW_HIDE);
  InvalidateRect(combo, nullptr, TRUE);
  if (accept && picked >= 0 && picked != state->selected) {
    state->selected = picked;
    NotifyParent(combo, CBN_SELCHANGE);
    if (!IsWindow(combo)) return;
  }
  NotifyParent(combo, accept ? CBN_SELENDOK : CBN_SELENDCANCEL);
  if (IsWindow(combo)) NotifyParent(combo, CBN_CLOSEUP);
}

void RegisterComboBoxClass() { RegisterClassWithState("ComboBox", ComboProcedure, CS_DBLCLKS); }

}  // namespace user::controls
