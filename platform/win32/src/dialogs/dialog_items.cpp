// The controls of a dialog by id, their texts, and dialog units.
#include "dialog_state.h"
#include "win32/kernel.h"

HWND GetDlgItem(HWND dialog, int id) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (GetDlgCtrlID(child) == id) return child;
  return nullptr;
}

int GetDlgCtrlID(HWND control) { return static_cast<int>(GetWindowLongPtrA(control, GWLP_ID)); }

BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text) {
  HWND control = GetDlgItem(dialog, id);
  return control && SetWindowTextA(control, text);
}

UINT GetDlgItemTextA(HWND dialog, int id, LPSTR text, int size) {
  HWND control = GetDlgItem(dialog, id);
  if (!control) {
    if (text && size > 0) text[0] = '\0';
    return 0;
  }
  return static_cast<UINT>(GetWindowTextA(control, text, size));
}

LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND control = GetDlgItem(dialog, id);
  return control ? SendMessageA(control, message, wParam, lParam) : 0;
}

BOOL MapDialogRect(HWND dialog, LPRECT rect) {
  std::shared_ptr<dialogs::DialogState> state = dialogs::StateOf(dialog);
  if (!state || !rect) return FALSE;
  rect->left = MulDiv(rect->left, state->baseX, 4);
  rect->right = MulDiv(rect->right, state->baseX, 4);
  rect->top = MulDiv(rect->top, state->baseY, 8);
  rect->bottom = MulDiv(rect->bottom, state->baseY, 8);
  return TRUE;
}
