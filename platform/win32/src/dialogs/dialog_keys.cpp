// The keyboard of dialogs: moving the focus by tab stops and groups, Return (the focused push
// button, else the default one) and Escape, and the controls' access keys.
#include <algorithm>
#include <vector>

#include "dialog_state.h"
#include "win32/controls.h"
#include "win32/item_search.h"

namespace {

DWORD StyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)); }
DWORD ExStyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)); }

// The dialog's controls in Z order; a child with WS_EX_CONTROLPARENT (a dialog inside the dialog)
// stands for its own controls.
void CollectControls(HWND parent, std::vector<HWND>& out) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ExStyleOf(child) & WS_EX_CONTROLPARENT) {
      if (IsWindowVisible(child) && IsWindowEnabled(child)) CollectControls(child, out);
    } else {
      out.push_back(child);
    }
  }
}

bool Usable(HWND control) { return IsWindowVisible(control) && IsWindowEnabled(control); }

// The entry of the list that is the control or holds it.
int IndexOf(const std::vector<HWND>& controls, HWND control) {
  for (HWND c = control; c; c = GetParent(c)) {
    auto it = std::find(controls.begin(), controls.end(), c);
    if (it != controls.end()) return static_cast<int>(it - controls.begin());
    if (!(StyleOf(c) & WS_CHILD)) break;
  }
  return -1;
}

bool IsPushButton(LRESULT code) { return code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON); }

void Command(HWND dialog, WORD id, HWND control) {
  if (!control || IsWindowEnabled(control))
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

// Return presses the focused push button, else the default one; Escape is IDCANCEL.
void ReturnOrEscape(HWND dialog, int key, HWND focus, LRESULT focusCode) {
  if (key == VK_RETURN && focus && IsPushButton(focusCode)) {
    Command(dialog, static_cast<WORD>(GetDlgCtrlID(focus)), focus);
    return;
  }
  WORD id = IDCANCEL;
  if (key == VK_RETURN) {
    const LRESULT defId = SendMessageA(dialog, DM_GETDEFID, 0, 0);
    id = HIWORD(defId) == DC_HASDEFID ? LOWORD(defId) : static_cast<WORD>(IDOK);
  }
  Command(dialog, id, GetDlgItem(dialog, id));
}

std::string TextOf(HWND control) {
  char text[256] = {};
  GetWindowTextA(control, text, sizeof text);
  return text;
}

// The control whose access key was typed acts: a button is pressed (a check box or radio button
// takes the focus first), a label gives the focus to the control after it. False when none has it.
bool AccessKeyTyped(HWND dialog, char typed) {
  std::vector<HWND> controls;
  CollectControls(dialog, controls);
  for (HWND control : controls) {
    if (!Usable(control) || !itemsearch::IsAccessKey(typed, TextOf(control))) continue;
    const LRESULT code = SendMessageA(control, WM_GETDLGCODE, 0, 0);
    if (code & DLGC_STATIC) {
      if (HWND next = GetNextDlgTabItem(dialog, control, FALSE)) SetFocus(next);
    } else if (code & DLGC_BUTTON) {
      if (!IsPushButton(code)) SetFocus(control);
      SendMessageA(control, BM_CLICK, 0, 0);
    } else {
      continue;
    }
    return true;
  }
  return false;
}

}  // namespace

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
  std::vector<HWND> controls;
  CollectControls(dialog, controls);
  const int n = static_cast<int>(controls.size());
  if (n == 0) return nullptr;
  const int start = IndexOf(controls, control);
  const int step = previous ? -1 : 1;
  int i = start < 0 ? (previous ? 0 : n - 1) : start;
  for (int k = 0; k < n; ++k) {
    i = (i + step + n) % n;
    if (Usable(controls[static_cast<size_t>(i)]) && (StyleOf(controls[static_cast<size_t>(i)]) & WS_TABSTOP))
      return controls[static_cast<size_t>(i)];
  }
  return start >= 0 ? controls[static_cast<size_t>(start)] : nullptr;
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
  std::vector<HWND> controls;
  CollectControls(dialog, controls);
  const int at = IndexOf(controls, control);
  if (at < 0) return control;
  // The group runs from the last WS_GROUP control at or before `at` to the next WS_GROUP one.
  int first = at;
  while (first > 0 && !(StyleOf(controls[static_cast<size_t>(first)]) & WS_GROUP)) --first;
  int last = at + 1;
  while (last < static_cast<int>(controls.size()) && !(StyleOf(controls[static_cast<size_t>(last)]) & WS_GROUP)) ++last;
  const int size = last - first;
  for (int k = 1; k < size; ++k) {
    const int i = first + ((at - first) + (previous ? -k : k) + size * k) % size;
    if (Usable(controls[static_cast<size_t>(i)])) return controls[static_cast<size_t>(i)];
  }
  return control;
}

BOOL IsDialogMessageA(HWND dialog, MSG* message) {
  if (!message || !dialog || (message->hwnd != dialog && !IsChild(dialog, message->hwnd))) return FALSE;
  if (message->message == WM_KEYDOWN) {
    const LRESULT code = SendMessageA(message->hwnd, WM_GETDLGCODE, message->wParam, reinterpret_cast<LPARAM>(message));
    const int key = static_cast<int>(message->wParam);
    if (!(code & DLGC_WANTMESSAGE)) {
      if (key == VK_TAB && !(code & DLGC_WANTTAB)) {
        if (HWND next = GetNextDlgTabItem(dialog, GetFocus(), GetKeyState(VK_SHIFT) < 0)) SetFocus(next);
        return TRUE;
      }
      if (key >= VK_LEFT && key <= VK_DOWN && !(code & DLGC_WANTARROWS)) {
        HWND next = GetNextDlgGroupItem(dialog, GetFocus(), key == VK_LEFT || key == VK_UP);
        if (next) SetFocus(next);
        return TRUE;
      }
      if (key == VK_RETURN || key == VK_ESCAPE) {
        ReturnOrEscape(dialog, key, GetFocus(), code);
        return TRUE;
      }
    }
  }
  // A letter is an access key where the control does not take it as text; with Alt, always.
  const bool character = message->message == WM_CHAR || message->message == WM_SYSCHAR;
  if (character && (message->message == WM_SYSCHAR ||
                    !(SendMessageA(message->hwnd, WM_GETDLGCODE, message->wParam, reinterpret_cast<LPARAM>(message)) &
                      (DLGC_WANTCHARS | DLGC_WANTMESSAGE)))) {
    if (AccessKeyTyped(dialog, static_cast<char>(message->wParam))) return TRUE;
  }
  TranslateMessage(message);
  DispatchMessageA(message);
  return TRUE;
}
