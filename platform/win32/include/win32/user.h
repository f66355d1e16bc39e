#pragma once
// The USER layer: windows, window classes, message queues, timers, painting, input, cursors,
// system metrics and message boxes. Each thread has its own message queue; any thread may post to
// any window or thread, and SendMessage across threads waits for the window's thread to answer.
// A window's state is changed only on the thread that created it.
// Top-level windows each draw into a surface of their own that the display back end shows.
#include "win32/gdi.h"
#include "win32/messages.h"
#include "win32/types.h"

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);

// ---- Window classes ---------------------------------------------------------------------------
constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_DBLCLKS = 0x0008;
constexpr UINT CS_OWNDC = 0x0020;
constexpr UINT CS_CLASSDC = 0x0040;
constexpr UINT CS_PARENTDC = 0x0080;
constexpr UINT CS_SAVEBITS = 0x0800;

struct WNDCLASSA {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;  // a brush, or (HBRUSH)(COLOR_xxx + 1)
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
};
struct WNDCLASSEXA {
  UINT cbSize;
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
  HICON hIconSm;
};
using LPWNDCLASSA = WNDCLASSA*;

// Class names are compared without regard to case; instances are not told apart.
ATOM RegisterClassA(const WNDCLASSA* wc);
ATOM RegisterClassExA(const WNDCLASSEXA* wc);
BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance);
BOOL GetClassInfoA(HINSTANCE instance, LPCSTR className, LPWNDCLASSA wc);
int GetClassNameA(HWND window, LPSTR name, int size);

// ---- Windows ----------------------------------------------------------------------------------
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_MINIMIZE = 0x20000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_MAXIMIZE = 0x01000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_DLGFRAME = 0x00400000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
constexpr DWORD WS_OVERLAPPEDWINDOW = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX |
                                      WS_MAXIMIZEBOX;
constexpr DWORD WS_POPUPWINDOW = WS_POPUP | WS_BORDER | WS_SYSMENU;

constexpr DWORD WS_EX_DLGMODALFRAME = 0x00000001;
constexpr DWORD WS_EX_NOPARENTNOTIFY = 0x00000004;
constexpr DWORD WS_EX_TOPMOST = 0x00000008;
constexpr DWORD WS_EX_ACCEPTFILES = 0x00000010;
constexpr DWORD WS_EX_TRANSPARENT = 0x00000020;
constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080;
constexpr DWORD WS_EX_WINDOWEDGE = 0x00000100;
constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;
constexpr DWORD WS_EX_CONTROLPARENT = 0x00010000;
constexpr DWORD WS_EX_STATICEDGE = 0x00020000;
constexpr DWORD WS_EX_APPWINDOW = 0x00040000;

constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);

struct CREATESTRUCTA {
  LPVOID lpCreateParams;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int cy;
  int cx;
  int y;
  int x;
  LONG style;
  LPCSTR lpszName;
  LPCSTR lpszClass;
  DWORD dwExStyle;
};
using LPCREATESTRUCTA = CREATESTRUCTA*;

// WM_NCCREATE returning 0 or WM_CREATE returning -1 destroys the new window and gives 0. For a
// child window hMenu is its id.
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);
inline HWND CreateWindowA(LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width, int height,
                          HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  return CreateWindowExA(0, className, windowName, style, x, y, width, height, parent, menu, instance, param);
}
// Children (and owned windows) go first; each gets WM_DESTROY, then its children are destroyed,
// then WM_NCDESTROY. Posted messages still queued for a destroyed window are dropped.
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);
HWND GetDesktopWindow();
// The thread that created the window (and the process id in *processId, always this process).
DWORD GetWindowThreadProcessId(HWND window, LPDWORD processId);
DWORD GetCurrentThreadId();

constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_NORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_MAXIMIZE = 3;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWMINNOACTIVE = 7;
constexpr int SW_SHOWNA = 8;
constexpr int SW_RESTORE = 9;
constexpr int SW_SHOWDEFAULT = 10;

// Returns whether the window was visible before.
BOOL ShowWindow(HWND window, int command);
// The window and all its parents have WS_VISIBLE.
BOOL IsWindowVisible(HWND window);
struct WINDOWPLACEMENT {
  UINT length;
  UINT flags;
  UINT showCmd;
  POINT ptMinPosition;
  POINT ptMaxPosition;
  RECT rcNormalPosition;
};
// rcNormalPosition is the restored rectangle, also while the window is minimised or maximised.
BOOL GetWindowPlacement(HWND window, WINDOWPLACEMENT* placement);
BOOL IsIconic(HWND window);
BOOL IsZoomed(HWND window);
// Returns whether the window was disabled before. Disabling the focus window removes the focus.
BOOL EnableWindow(HWND window, BOOL enable);
BOOL IsWindowEnabled(HWND window);

inline const HWND HWND_TOP = reinterpret_cast<HWND>(0);
inline const HWND HWND_BOTTOM = reinterpret_cast<HWND>(1);
inline const HWND HWND_TOPMOST = reinterpret_cast<HWND>(-1);
inline const HWND HWND_NOTOPMOST = reinterpret_cast<HWND>(-2);
inline const HWND HWND_MESSAGE = reinterpret_cast<HWND>(-3);

constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOREDRAW = 0x0008;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_FRAMECHANGED = 0x0020;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;
constexpr UINT SWP_NOCOPYBITS = 0x0100;
constexpr UINT SWP_NOOWNERZORDER = 0x0200;
constexpr UINT SWP_NOSENDCHANGING = 0x0400;
constexpr UINT SWP_DRAWFRAME = SWP_FRAMECHANGED;

struct WINDOWPOS {
  HWND hwnd;
  HWND hwndInsertAfter;
  int x;
  int y;
  int cx;
  int cy;
  UINT flags;
};
using LPWINDOWPOS = WINDOWPOS*;

struct NCCALCSIZE_PARAMS {
  RECT rgrc[3];
  WINDOWPOS* lppos;
};

// WM_HELP's lParam: what F1 was pressed on (a window, or the highlighted item of a menu).
constexpr int HELPINFO_WINDOW = 0x0001;
constexpr int HELPINFO_MENUITEM = 0x0002;
struct HELPINFO {
  UINT cbSize;
  int iContextType;
  int iCtrlId;  // the window's or menu item's id
  HANDLE hItemHandle;  // the window, or the menu that holds the item
  DWORD_PTR dwContextId;
  POINT MousePos;  // screen coordinates
};
using LPHELPINFO = HELPINFO*;

// Help commands (the application's HelpCommand takes them).
constexpr UINT HELP_CONTEXT = 0x0001;
constexpr UINT HELP_QUIT = 0x0002;
constexpr UINT HELP_CONTENTS = 0x0003;
constexpr UINT HELP_CONTEXTPOPUP = 0x0008;
constexpr UINT HELP_FINDER = 0x000B;

// Positions are in the parent's client coordinates (the screen's for top-level windows). Sends
// WM_WINDOWPOSCHANGING (which may change the WINDOWPOS), then WM_WINDOWPOSCHANGED, whose default
// handling sends WM_MOVE and WM_SIZE.
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
BOOL BringWindowToTop(HWND window);
BOOL GetWindowRect(HWND window, LPRECT rect);  // screen coordinates
BOOL GetClientRect(HWND window, LPRECT rect);  // (0, 0, width, height) of the client area
BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle);
BOOL AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu);

// Window 0 stands for the screen.
int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count);
BOOL ClientToScreen(HWND window, LPPOINT point);
BOOL ScreenToClient(HWND window, LPPOINT point);
// The deepest visible, enabled-or-not window at a screen point whose hit test is not HTTRANSPARENT.
HWND WindowFromPoint(POINT screenPoint);
constexpr UINT CWP_ALL = 0x0000;
constexpr UINT CWP_SKIPINVISIBLE = 0x0001;
constexpr UINT CWP_SKIPDISABLED = 0x0002;
constexpr UINT CWP_SKIPTRANSPARENT = 0x0004;
// The child (or the window itself) at a point in the parent's client coordinates; 0 outside.
HWND ChildWindowFromPoint(HWND parent, POINT clientPoint);
HWND ChildWindowFromPointEx(HWND parent, POINT clientPoint, UINT flags);

// For a top-level window GetParent gives the owner (a popup's) or 0.
HWND GetParent(HWND window);
HWND SetParent(HWND child, HWND newParent);
constexpr UINT GW_HWNDFIRST = 0;
constexpr UINT GW_HWNDLAST = 1;
constexpr UINT GW_HWNDNEXT = 2;
constexpr UINT GW_HWNDPREV = 3;
constexpr UINT GW_OWNER = 4;
constexpr UINT GW_CHILD = 5;
// Z-order: first is the top.
HWND GetWindow(HWND window, UINT command);
HWND GetTopWindow(HWND window);
BOOL IsChild(HWND parent, HWND window);
constexpr UINT GA_PARENT = 1;
constexpr UINT GA_ROOT = 2;
constexpr UINT GA_ROOTOWNER = 3;
HWND GetAncestor(HWND window, UINT flags);
using WNDENUMPROC = BOOL (*)(HWND, LPARAM);
BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM param);
BOOL EnumWindows(WNDENUMPROC proc, LPARAM param);

// Property names are compared without regard to case.
BOOL SetPropA(HWND window, LPCSTR name, HANDLE data);
HANDLE GetPropA(HWND window, LPCSTR name);
HANDLE RemovePropA(HWND window, LPCSTR name);

constexpr int GWL_WNDPROC = -4;
constexpr int GWL_HINSTANCE = -6;
constexpr int GWL_HWNDPARENT = -8;
constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;
constexpr int GWL_USERDATA = -21;
constexpr int GWL_ID = -12;
constexpr int GWLP_WNDPROC = GWL_WNDPROC;
constexpr int GWLP_USERDATA = GWL_USERDATA;
constexpr int GWLP_ID = GWL_ID;
constexpr int GCL_HBRBACKGROUND = -10;
constexpr int GCL_HCURSOR = -12;
constexpr int GCL_STYLE = -26;
// Values are pointer-sized. Non-negative offsets address the cbWndExtra bytes. Changing GWL_STYLE
// or GWL_EXSTYLE does not change the frame until SetWindowPos with SWP_FRAMECHANGED.
LONG_PTR GetWindowLongA(HWND window, int index);
LONG_PTR SetWindowLongA(HWND window, int index, LONG_PTR value);
inline LONG_PTR GetWindowLongPtrA(HWND window, int index) { return GetWindowLongA(window, index); }
inline LONG_PTR SetWindowLongPtrA(HWND window, int index, LONG_PTR value) {
  return SetWindowLongA(window, index, value);
}
ULONG_PTR GetClassLongA(HWND window, int index);
ULONG_PTR SetClassLongA(HWND window, int index, LONG_PTR value);

BOOL SetWindowTextA(HWND window, LPCSTR text);
int GetWindowTextA(HWND window, LPSTR text, int size);
int GetWindowTextLengthA(HWND window);

// ---- Messages ---------------------------------------------------------------------------------
struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};
using LPMSG = MSG*;

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProcA(WNDPROC proc, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Same thread: a direct call of the window procedure. Other thread: queued to the window's
// thread; the sender waits, answering messages sent to itself meanwhile. 0 for a window that is
// gone or goes away before answering.
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Posts a message whose lParam is a payload owned by the message: `freePayload(lParam)` runs when
// the message is never delivered (posting fails, the window is destroyed first, its queue ends,
// or DispatchMessage finds the window gone). Once a window procedure receives it, it owns it.
BOOL PostOwnedMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, void (*freePayload)(LPARAM));
BOOL PostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
// Whether the current thread is handling a message sent from another thread.
BOOL InSendMessage();

constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;
constexpr UINT PM_NOYIELD = 0x0002;

// Order: messages sent from other threads are handled first, then posted messages and input,
// WM_QUIT, WM_PAINT for windows with an update region (until it is validated), then WM_TIMER. A
// filter window also matches its children; 0 matches every window of the thread and the thread's
// own messages; (HWND)-1 only the thread's own messages.
BOOL PeekMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags);
// 0 for WM_QUIT, else nonzero.
BOOL GetMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax);
BOOL WaitMessage();
// Adds WM_CHAR (WM_SYSCHAR) after a WM_KEYDOWN (WM_SYSKEYDOWN) of a key that types a character.
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageA(const MSG* msg);
DWORD GetMessageTime();
DWORD GetMessagePos();

constexpr DWORD QS_KEY = 0x0001;
constexpr DWORD QS_MOUSEMOVE = 0x0002;
constexpr DWORD QS_MOUSEBUTTON = 0x0004;
constexpr DWORD QS_POSTMESSAGE = 0x0008;
constexpr DWORD QS_TIMER = 0x0010;
constexpr DWORD QS_PAINT = 0x0020;
constexpr DWORD QS_SENDMESSAGE = 0x0040;
constexpr DWORD QS_HOTKEY = 0x0080;
constexpr DWORD QS_MOUSE = QS_MOUSEMOVE | QS_MOUSEBUTTON;
constexpr DWORD QS_INPUT = QS_MOUSE | QS_KEY;
constexpr DWORD QS_ALLEVENTS = QS_INPUT | QS_POSTMESSAGE | QS_TIMER | QS_PAINT | QS_HOTKEY;
constexpr DWORD QS_ALLINPUT = QS_ALLEVENTS | QS_SENDMESSAGE;

constexpr DWORD INFINITE = 0xFFFFFFFF;
constexpr DWORD WAIT_OBJECT_0 = 0x00000000;
constexpr DWORD WAIT_TIMEOUT = 0x00000102;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;

// A handle MsgWaitForMultipleObjects can wait on: signalled by the USER layer's own callers (for
// instance a thread object when its thread ends). Manual reset: it stays signalled until reset.
HANDLE CreateWaitableSignal();
void SetWaitableSignal(HANDLE signal);
void ResetWaitableSignal(HANDLE signal);
void CloseWaitableSignal(HANDLE signal);
// Waits until one of the signals is set (WAIT_OBJECT_0 + its index; with waitAll, all of them),
// until input of the kinds in `wakeMask` is in the queue (WAIT_OBJECT_0 + count), or the time is
// up (WAIT_TIMEOUT). Only signals made by CreateWaitableSignal can be waited on.
DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds, DWORD wakeMask);

// ---- Timers -----------------------------------------------------------------------------------
// A window timer (window, id) replaces one of the same id and restarts its interval. With window 0
// the id is chosen and returned. WM_TIMER carries the TIMERPROC in lParam; DispatchMessage calls it.
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC proc);
BOOL KillTimer(HWND window, UINT_PTR id);

// ---- Painting ---------------------------------------------------------------------------------
struct PAINTSTRUCT {
  HDC hdc;
  BOOL fErase;
  RECT rcPaint;
  BOOL fRestore;
  BOOL fIncUpdate;
  BYTE rgbReserved[32];
};
using LPPAINTSTRUCT = PAINTSTRUCT*;

// The DC is clipped to the update region, which becomes valid; WM_ERASEBKGND is sent first when
// the invalidation asked for erasing (fErase tells whether it was not done).
HDC BeginPaint(HWND window, LPPAINTSTRUCT paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
// Window 0 invalidates every window. Client coordinates.
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
BOOL InvalidateRgn(HWND window, HRGN region, BOOL erase);
BOOL ValidateRect(HWND window, const RECT* rect);
BOOL ValidateRgn(HWND window, HRGN region);
BOOL GetUpdateRect(HWND window, LPRECT rect, BOOL erase);
int GetUpdateRgn(HWND window, HRGN region, BOOL erase);
// Sends WM_PAINT now when the window has an update region.
BOOL UpdateWindow(HWND window);

constexpr UINT RDW_INVALIDATE = 0x0001;
constexpr UINT RDW_INTERNALPAINT = 0x0002;
constexpr UINT RDW_ERASE = 0x0004;
constexpr UINT RDW_VALIDATE = 0x0008;
constexpr UINT RDW_NOINTERNALPAINT = 0x0010;
constexpr UINT RDW_NOERASE = 0x0020;
constexpr UINT RDW_NOCHILDREN = 0x0040;
constexpr UINT RDW_ALLCHILDREN = 0x0080;
constexpr UINT RDW_UPDATENOW = 0x0100;
constexpr UINT RDW_ERASENOW = 0x0200;
constexpr UINT RDW_FRAME = 0x0400;
constexpr UINT RDW_NOFRAME = 0x0800;
BOOL RedrawWindow(HWND window, const RECT* update, HRGN region, UINT flags);

// Window DCs draw into the top-level window's surface at the window's place, clipped to what of
// it shows (children cut out with WS_CLIPCHILDREN, higher siblings with WS_CLIPSIBLINGS). Release
// them with ReleaseDC. GetDC(window) gives the client area, GetWindowDC the whole window.
constexpr DWORD DCX_WINDOW = 0x00000001;
constexpr DWORD DCX_CACHE = 0x00000002;
constexpr DWORD DCX_CLIPCHILDREN = 0x00000008;
constexpr DWORD DCX_CLIPSIBLINGS = 0x00000010;
constexpr DWORD DCX_PARENTCLIP = 0x00000020;
constexpr DWORD DCX_EXCLUDERGN = 0x00000040;
constexpr DWORD DCX_INTERSECTRGN = 0x00000080;
HDC GetDCEx(HWND window, HRGN clip, DWORD flags);
HDC GetWindowDC(HWND window);
HWND WindowFromDC(HDC dc);

constexpr UINT SW_SCROLLCHILDREN = 0x0001;
constexpr UINT SW_INVALIDATE = 0x0002;
constexpr UINT SW_ERASE = 0x0004;
// Moves the pixels of the client area (or of `scroll`) and invalidates what was uncovered.
int ScrollWindowEx(HWND window, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update, LPRECT updateRect,
                   UINT flags);
BOOL ScrollWindow(HWND window, int dx, int dy, const RECT* scroll, const RECT* clip);

// ---- Window scroll bars (WS_HSCROLL / WS_VSCROLL) ----------------------------------------------
// Each window has a horizontal and a vertical bar, range 0..100 until set. The default procedure
// draws the bars in the frame and tracks the mouse on them, sending WM_HSCROLL / WM_VSCROLL
// (nTrackPos holds the full thumb position while tracking). Bars show only through ShowScrollBar.
constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
constexpr int SB_CTL = 2;
constexpr int SB_BOTH = 3;
constexpr UINT SIF_RANGE = 0x0001;
constexpr UINT SIF_PAGE = 0x0002;
constexpr UINT SIF_POS = 0x0004;
constexpr UINT SIF_DISABLENOSCROLL = 0x0008;
constexpr UINT SIF_TRACKPOS = 0x0010;
constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

struct SCROLLINFO {
  UINT cbSize;
  UINT fMask;
  int nMin;
  int nMax;
  UINT nPage;
  int nPos;
  int nTrackPos;
};
using LPSCROLLINFO = SCROLLINFO*;
using LPCSCROLLINFO = const SCROLLINFO*;

BOOL ShowScrollBar(HWND window, int bar, BOOL show);
// The page is kept within the range's size and the position within min .. max - (page - 1);
// returns the new position. SB_CTL is not supported (0).
int SetScrollInfo(HWND window, int bar, LPCSCROLLINFO info, BOOL redraw);
BOOL GetScrollInfo(HWND window, int bar, LPSCROLLINFO info);
// Returns the previous position.
int SetScrollPos(HWND window, int bar, int pos, BOOL redraw);
int GetScrollPos(HWND window, int bar);
BOOL SetScrollRange(HWND window, int bar, int minPos, int maxPos, BOOL redraw);
BOOL GetScrollRange(HWND window, int bar, int* minPos, int* maxPos);

// ---- Mouse, capture and cursors ---------------------------------------------------------------
HWND SetCapture(HWND window);
BOOL ReleaseCapture();
HWND GetCapture();
UINT GetDoubleClickTime();
BOOL SetDoubleClickTime(UINT milliseconds);

inline LPCSTR MAKEINTRESOURCEA(WORD id) { return reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(id)); }
inline const LPCSTR IDC_ARROW = MAKEINTRESOURCEA(32512);
inline const LPCSTR IDC_IBEAM = MAKEINTRESOURCEA(32513);
inline const LPCSTR IDC_WAIT = MAKEINTRESOURCEA(32514);
inline const LPCSTR IDC_CROSS = MAKEINTRESOURCEA(32515);
inline const LPCSTR IDC_UPARROW = MAKEINTRESOURCEA(32516);
inline const LPCSTR IDC_SIZENWSE = MAKEINTRESOURCEA(32642);
inline const LPCSTR IDC_SIZENESW = MAKEINTRESOURCEA(32643);
inline const LPCSTR IDC_SIZEWE = MAKEINTRESOURCEA(32644);
inline const LPCSTR IDC_SIZENS = MAKEINTRESOURCEA(32645);
inline const LPCSTR IDC_SIZEALL = MAKEINTRESOURCEA(32646);
inline const LPCSTR IDC_NO = MAKEINTRESOURCEA(32648);
inline const LPCSTR IDC_HAND = MAKEINTRESOURCEA(32649);
inline const LPCSTR IDC_APPSTARTING = MAKEINTRESOURCEA(32650);
inline const LPCSTR IDC_HELP = MAKEINTRESOURCEA(32651);

// Stock cursors only (instance 0 and an IDC_* id); 0 for anything else.
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);

inline const LPCSTR IDI_APPLICATION = MAKEINTRESOURCEA(32512);
inline const LPCSTR IDI_HAND = MAKEINTRESOURCEA(32513);
inline const LPCSTR IDI_QUESTION = MAKEINTRESOURCEA(32514);
inline const LPCSTR IDI_EXCLAMATION = MAKEINTRESOURCEA(32515);
inline const LPCSTR IDI_ASTERISK = MAKEINTRESOURCEA(32516);
inline const LPCSTR IDI_ERROR = IDI_HAND;
inline const LPCSTR IDI_WARNING = IDI_EXCLAMATION;
inline const LPCSTR IDI_INFORMATION = IDI_ASTERISK;
// The system's 32x32 icons only (instance 0 and an IDI_* id); 0 for anything else. Every call
// gives the same handle, which DestroyIcon does not free.
HICON LoadIconA(HINSTANCE instance, LPCSTR name);
// Masks are monochrome, one bit per pixel, rows padded to 16 bits: AND 1 XOR 0 is transparent,
// 0/0 black, 0/1 white, 1/1 inverts the screen.
HCURSOR CreateCursor(HINSTANCE instance, int hotX, int hotY, int width, int height, const void* andMask,
                     const void* xorMask);
BOOL DestroyCursor(HCURSOR cursor);
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
BOOL GetCursorPos(LPPOINT point);
BOOL SetCursorPos(int x, int y);
// The display counter: the pointer shows while it is 0 or more. Returns the new count.
int ShowCursor(BOOL show);

// ---- Keyboard and focus -----------------------------------------------------------------------
constexpr int VK_LBUTTON = 0x01;
constexpr int VK_RBUTTON = 0x02;
constexpr int VK_CANCEL = 0x03;
constexpr int VK_MBUTTON = 0x04;
constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_CLEAR = 0x0C;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;
constexpr int VK_PAUSE = 0x13;
constexpr int VK_CAPITAL = 0x14;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_INSERT = 0x2D;
constexpr int VK_DELETE = 0x2E;
constexpr int VK_HELP = 0x2F;
constexpr int VK_NUMPAD0 = 0x60;
constexpr int VK_MULTIPLY = 0x6A;
constexpr int VK_ADD = 0x6B;
constexpr int VK_SUBTRACT = 0x6D;
constexpr int VK_DECIMAL = 0x6E;
constexpr int VK_DIVIDE = 0x6F;
constexpr int VK_F1 = 0x70;
constexpr int VK_F2 = 0x71;
constexpr int VK_F3 = 0x72;
constexpr int VK_F4 = 0x73;
constexpr int VK_F5 = 0x74;
constexpr int VK_F6 = 0x75;
constexpr int VK_F7 = 0x76;
constexpr int VK_F8 = 0x77;
constexpr int VK_F9 = 0x78;
constexpr int VK_F10 = 0x79;
constexpr int VK_F11 = 0x7A;
constexpr int VK_F12 = 0x7B;
constexpr int VK_NUMLOCK = 0x90;
constexpr int VK_SCROLL = 0x91;

// Bit 15 set: down; bit 0: toggled (GetKeyState). As of the last input message read.
SHORT GetKeyState(int virtualKey);
SHORT GetAsyncKeyState(int virtualKey);
BOOL GetKeyboardState(BYTE* state);

// Sends WM_KILLFOCUS to the old and WM_SETFOCUS to the new focus window, activating its top-level
// window first. Returns the previous focus window.
HWND SetFocus(HWND window);
HWND GetFocus();
HWND SetActiveWindow(HWND window);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND window);
HWND GetForegroundWindow();

// ---- System metrics and parameters ------------------------------------------------------------
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
constexpr int SM_CYCAPTION = 4;
constexpr int SM_CXBORDER = 5;
constexpr int SM_CYBORDER = 6;
constexpr int SM_CXDLGFRAME = 7;
constexpr int SM_CYDLGFRAME = 8;
constexpr int SM_CYVTHUMB = 9;
constexpr int SM_CXHTHUMB = 10;
constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;
constexpr int SM_CXCURSOR = 13;
constexpr int SM_CYCURSOR = 14;
constexpr int SM_CYMENU = 15;
constexpr int SM_CXFULLSCREEN = 16;
constexpr int SM_CYFULLSCREEN = 17;
constexpr int SM_CYVSCROLL = 20;
constexpr int SM_CXHSCROLL = 21;
constexpr int SM_MOUSEPRESENT = 19;
constexpr int SM_SWAPBUTTON = 23;
constexpr int SM_CXMIN = 28;
constexpr int SM_CYMIN = 29;
constexpr int SM_CXSIZE = 30;
constexpr int SM_CYSIZE = 31;
constexpr int SM_CXFRAME = 32;
constexpr int SM_CYFRAME = 33;
constexpr int SM_CXMINTRACK = 34;
constexpr int SM_CYMINTRACK = 35;
constexpr int SM_CXDOUBLECLK = 36;
constexpr int SM_CYDOUBLECLK = 37;
constexpr int SM_CXICONSPACING = 38;
constexpr int SM_CYICONSPACING = 39;
constexpr int SM_CXFIXEDFRAME = SM_CXDLGFRAME;
constexpr int SM_CYFIXEDFRAME = SM_CYDLGFRAME;
constexpr int SM_CXSIZEFRAME = SM_CXFRAME;
constexpr int SM_CYSIZEFRAME = SM_CYFRAME;
constexpr int SM_CXEDGE = 45;
constexpr int SM_CYEDGE = 46;
constexpr int SM_CXSMICON = 49;
constexpr int SM_CYSMICON = 50;
constexpr int SM_CYSMCAPTION = 51;
constexpr int SM_CXSMSIZE = 52;
constexpr int SM_CYSMSIZE = 53;
constexpr int SM_CXMENUSIZE = 54;
constexpr int SM_CYMENUSIZE = 55;
constexpr int SM_CXMAXIMIZED = 61;
constexpr int SM_CYMAXIMIZED = 62;
constexpr int SM_CXDRAG = 68;
constexpr int SM_CYDRAG = 69;
constexpr int SM_CMOUSEBUTTONS = 43;
// The classic Windows 95 values; the screen is the GDI's screen.
int GetSystemMetrics(int index);

constexpr UINT SPI_GETWORKAREA = 0x0030;
constexpr UINT SPI_GETNONCLIENTMETRICS = 0x0029;
constexpr UINT SPI_GETWHEELSCROLLLINES = 0x0068;
// SPI_GETWORKAREA (the whole screen: there is no task bar) and SPI_GETWHEELSCROLLLINES (3, into a
// UINT). FALSE for the rest.
BOOL SystemParametersInfoA(UINT action, UINT param, LPVOID paramData, UINT winIni);
// The whole notches of a WM_MOUSEWHEEL's turn (positive away from the user), and the lines it
// scrolls a list down by: SPI_GETWHEELSCROLLLINES a notch, negative when the wheel turns away from
// the user.
int WheelNotches(WPARAM wheelWParam);
int WheelScrollLines(WPARAM wheelWParam);

constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_ABORTRETRYIGNORE = 0x00000002;
constexpr UINT MB_YESNOCANCEL = 0x00000003;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_RETRYCANCEL = 0x00000005;
constexpr UINT MB_TYPEMASK = 0x0000000F;
constexpr UINT MB_ICONHAND = 0x00000010;
constexpr UINT MB_ICONSTOP = MB_ICONHAND;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONASTERISK = 0x00000040;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr UINT MB_ICONMASK = 0x000000F0;
constexpr UINT MB_DEFBUTTON1 = 0x00000000;
constexpr UINT MB_DEFBUTTON2 = 0x00000100;
constexpr UINT MB_DEFBUTTON3 = 0x00000200;
constexpr UINT MB_DEFMASK = 0x00000F00;
constexpr UINT MB_APPLMODAL = 0x00000000;
constexpr UINT MB_SYSTEMMODAL = 0x00001000;
constexpr UINT MB_TASKMODAL = 0x00002000;
constexpr UINT MB_SETFOREGROUND = 0x00010000;
constexpr UINT MB_TOPMOST = 0x00040000;

// Makes no sound here; TRUE.
BOOL MessageBeep(UINT type);
// Test hook: how many times MessageBeep was called in this process.
int MessageBeepCount();

// ---- Message boxes ----------------------------------------------------------------------------
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// A modal window with the text and the buttons of `type`, and the system icon of its MB_ICON*
// style at the left (no sound); the owner is disabled meanwhile. Return and Escape press the
// default and the cancel button. Unattended (host::Unattended) the caption and text go to standard
// error and the default button answers.
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// Answers message boxes without a screen (tests; the class library's dialog services build on it):
// called with the owner, text, caption and type instead of showing the box; its result is
// MessageBoxA's. A null answer shows real boxes again.
using MessageBoxAnswer = int (*)(HWND owner, LPCSTR text, LPCSTR caption, UINT type, void* context);
void SetMessageBoxAnswer(MessageBoxAnswer answer, void* context);
