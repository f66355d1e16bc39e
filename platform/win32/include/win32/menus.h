#pragma once
// Menus: menu bars and pop-up menus as handles holding items, the modal loop that tracks a pop-up
// menu, and a window's menu bar drawn above its client area.
//
// While a menu is open its owner receives WM_INITMENUPOPUP (wParam the pop-up, LOWORD(lParam)
// its position in the parent menu) before each pop-up shows and WM_MENUSELECT
// (MAKEWPARAM(id or position, MF_ flags), lParam the menu) as the highlight moves, and
// MAKEWPARAM(0, 0xFFFF) with lParam 0 when the menu closes. A chosen item sends WM_COMMAND with
// its id (HIWORD(wParam) 0, lParam 0), unless TPM_RETURNCMD asks for the id instead.
#include "win32/user.h"

constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_HILITE = 0x0080;
constexpr UINT MF_DEFAULT = 0x1000;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_SEPARATOR = 0x0800;
constexpr UINT MF_MOUSESELECT = 0x8000;

constexpr UINT TPM_LEFTBUTTON = 0x0000;
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_TOPALIGN = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_CENTERALIGN = 0x0004;
constexpr UINT TPM_RIGHTALIGN = 0x0008;
constexpr UINT TPM_VCENTERALIGN = 0x0010;
constexpr UINT TPM_BOTTOMALIGN = 0x0020;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;

HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the pop-ups of its items too.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);
// With MF_POPUP, idNewItem is the pop-up's HMENU. The text may hold "&" before the access key
// and "\t" before the shortcut text shown at the right.
BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR idNewItem, LPCSTR text);
BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idNewItem, LPCSTR text);
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
int GetMenuItemCount(HMENU menu);
// -1 for a pop-up or a position out of range.
UINT GetMenuItemID(HMENU menu, int position);
HMENU GetSubMenu(HMENU menu, int position);
// The MF_ flags of the item; (UINT)-1 when there is none.
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
int GetMenuStringA(HMENU menu, UINT item, LPSTR text, int size, UINT flags);
// The previous state (MF_CHECKED / MF_GRAYED | MF_DISABLED); (DWORD)-1 when there is no such item.
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);
BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable);
BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition);

// Shows the pop-up at the screen point and tracks it in a modal loop until an item is chosen or
// the menu is dismissed (Escape, a click elsewhere, the owner losing activation). Returns the
// chosen id with TPM_RETURNCMD, else whether one was chosen.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* rect);
// Ends the menu being tracked (for instance from a timer of the owner).
BOOL EndMenu();

// The window's menu bar: the frame gets a row of SM_CYMENU pixels above the client area. A click
// on a title opens its pop-up; F10 or Alt with an access key opens the bar from the keyboard.
BOOL SetMenu(HWND window, HMENU menu);
HMENU GetMenu(HWND window);
BOOL DrawMenuBar(HWND window);
// The title's rectangle in window coordinates (position in the bar), for tests and tooltips.
BOOL GetMenuItemRect(HWND window, HMENU menu, UINT position, LPRECT rect);
