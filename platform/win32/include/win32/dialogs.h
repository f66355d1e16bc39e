#pragma once
// The dialog manager: dialogs made from templates in memory, their procedures, the keyboard of
// dialogs (Tab, arrows, Return, Escape) and dialog units.
//
// A template is laid out as on Windows: a DLGTEMPLATE, then the menu, class and title (each
// 0x0000 for none, 0xFFFF and a number, or a zero-ended UTF-16 string), with DS_SETFONT the point
// size and face name; then each DLGITEMTEMPLATE on a four-byte boundary, followed by its class
// (0xFFFF and 0x0080 Button, 0x0081 Edit, 0x0082 Static, 0x0083 ListBox, 0x0084 ScrollBar,
// 0x0085 ComboBox, or a name), its title and the size of its creation data. Controls whose
// class is not registered fail the whole dialog. Extended templates are refused. The WM_GETDLGCODE
// answers are in stdcontrols.h.
#include <cstdint>

#include "win32/stdcontrols.h"
#include "win32/user.h"

using WCHAR = std::uint16_t;

// Dialog styles.
constexpr DWORD DS_ABSALIGN = 0x0001;
constexpr DWORD DS_SYSMODAL = 0x0002;
constexpr DWORD DS_SETFONT = 0x0040;
constexpr DWORD DS_MODALFRAME = 0x0080;
constexpr DWORD DS_NOFAILCREATE = 0x0010;
constexpr DWORD DS_3DLOOK = 0x0004;
constexpr DWORD DS_CONTROL = 0x0400;
constexpr DWORD DS_CENTER = 0x0800;

constexpr UINT DM_GETDEFID = WM_USER + 0;
constexpr UINT DM_SETDEFID = WM_USER + 1;
constexpr WORD DC_HASDEFID = 0x534B;

// The dialog window's extra bytes: the procedure's answer, the procedure, the program's value.
constexpr int DWLP_MSGRESULT = 0;
constexpr int DWLP_DLGPROC = DWLP_MSGRESULT + static_cast<int>(sizeof(LRESULT));
constexpr int DWLP_USER = DWLP_DLGPROC + static_cast<int>(sizeof(void*));
constexpr int DLGWINDOWEXTRA = DWLP_USER + static_cast<int>(sizeof(LONG_PTR));

#pragma pack(push, 2)
struct DLGTEMPLATE {
  DWORD style;
  DWORD dwExtendedStyle;
  WORD cdit;
  short x, y, cx, cy;
};
struct DLGITEMTEMPLATE {
  DWORD style;
  DWORD dwExtendedStyle;
  short x, y, cx, cy;
  WORD id;
};
#pragma pack(pop)
using LPCDLGTEMPLATEA = const DLGTEMPLATE*;

// Answers TRUE for the messages it handled; the answer itself goes to DWLP_MSGRESULT (or, for
// WM_INITDIALOG and the WM_CTLCOLOR messages, is the return value).
using DLGPROC = INT_PTR (*)(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The class of dialogs without a class of their own.
constexpr LPCSTR WC_DIALOG = "#32770";

// Makes the dialog and its controls, sends WM_SETFONT and WM_INITDIALOG (lParam = initParam);
// shown when the template has WS_VISIBLE. Null when the template or a control fails.
HWND CreateDialogIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA dialogTemplate, HWND parent, DLGPROC procedure,
                                LPARAM initParam);
// The same dialog, modal: the owner's top-level window is disabled until EndDialog; the value
// given to EndDialog, or -1 when the dialog could not be made.
INT_PTR DialogBoxIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA dialogTemplate, HWND parent, DLGPROC procedure,
                                LPARAM initParam);
BOOL EndDialog(HWND dialog, INT_PTR result);
// The default procedure of dialogs: asks the dialog procedure first.
LRESULT DefDlgProcA(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

HWND GetDlgItem(HWND dialog, int id);
int GetDlgCtrlID(HWND control);
BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text);
UINT GetDlgItemTextA(HWND dialog, int id, LPSTR text, int size);
LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
// The next (or previous) visible, enabled control with WS_TABSTOP, and the next control of the
// same group (groups start at WS_GROUP); children with WS_EX_CONTROLPARENT lend their controls.
HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous);

// Handles the message when it is for the dialog or one of its controls: Tab and the arrows move
// the focus, Return presses the default button (IDOK), Escape IDCANCEL; others are dispatched.
BOOL IsDialogMessageA(HWND dialog, MSG* message);

// Dialog units to pixels: x by a quarter of the dialog font's average character width, y by an
// eighth of its height.
BOOL MapDialogRect(HWND dialog, LPRECT rect);
