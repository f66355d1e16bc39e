#pragma once
// What the system control classes share: their state kept in the window's extra bytes, the font,
// notifications to the parent and the parent's colours.
#include <string>

#include "win32/controls.h"
#include "win32/gdi.h"
#include "win32/messages.h"
#include "win32/syscolor.h"
#include "win32/text.h"

namespace user::controls {

// Registers each system control class once; called before the first window is made.
void RegisterControlClasses();
void RegisterStaticClass();
void RegisterButtonClass();
void RegisterEditClass();
void RegisterListBoxClass();
void RegisterComboBoxClass();
void RegisterComboListClass();

// One object of State per window, made at WM_NCCREATE and freed at WM_NCDESTROY.
constexpr int kStateExtra = static_cast<int>(sizeof(void*));
template <class State>
State* StateOf(HWND window) {
  return reinterpret_cast<State*>(GetWindowLongPtrA(window, 0));
}
template <class State>
void AttachState(HWND window) {
  SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(new State));
}
template <class State>
void DetachState(HWND window) {
  delete StateOf<State>(window);
  SetWindowLongPtrA(window, 0, 0);
}

void RegisterClassWithState(const char* name, WNDPROC procedure, UINT style = 0);

// WM_COMMAND to the parent with the control's identifier and the code.
void NotifyParent(HWND control, WORD code);
// The brush the parent answers to WM_CTLCOLOR... (the text and background colours set in the DC),
// else the system colour's brush.
HBRUSH ParentColorBrush(HWND control, HDC dc, UINT message, int fallbackColor);
// The font from WM_SETFONT, else the dialog font.
HFONT FontOrDefault(HFONT font);
// The height of a line of that font, at least 1.
int FontHeight(HFONT font);
std::string TextOf(HWND window);
// An item's text into the caller's buffer (LB_GETTEXT, CB_GETLBTEXT): its length.
LRESULT CopyItemText(const std::string& text, LPARAM buffer);
RECT ClientRectOf(HWND window);
bool PointIn(const RECT& r, LPARAM lParam);
inline RECT Grown(RECT r, int d) { return RECT{r.left - d, r.top - d, r.right + d, r.bottom + d}; }
inline RECT Moved(RECT r, int dx, int dy) { return RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

}  // namespace user::controls
