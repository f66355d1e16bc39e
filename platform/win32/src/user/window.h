#pragma once
// The USER layer's own state: window classes, windows and the tree they form. The tree is kept
// under one lock (TreeLock); no lock is held while a window procedure runs.
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "gdi/region.h"
#include "gdi/surface.h"
#include "host/display.h"
#include "win32/user.h"

namespace user {

struct ThreadQueue;

struct WindowClass {
  std::string name;
  UINT style = 0;
  WNDPROC proc = nullptr;
  int windowExtra = 0;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HICON smallIcon = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  ATOM atom = 0;
};

// One of a window's own scroll bars (SB_HORZ, SB_VERT).
struct ScrollBarState {
  int min = 0, max = 100;
  int page = 0;
  int pos = 0;
  int trackPos = 0;
};

struct Window {
  HWND handle = nullptr;
  std::shared_ptr<WindowClass> cls;
  std::shared_ptr<ThreadQueue> queue;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  std::string text;
  HWND parent = nullptr;  // the desktop for top-level windows; null only for the desktop
  HWND owner = nullptr;
  std::vector<HWND> children;  // z-order, top first
  RECT rect{};  // in the parent's client coordinates (the screen for top-level windows)
  RECT client{};  // the client area in window coordinates
  // The rectangle a maximised window returns to; kept while it is maximised (or minimised from there).
  RECT normal{};
  bool normalKept = false;
  LONG_PTR id = 0;
  LONG_PTR userData = 0;
  HINSTANCE instance = nullptr;
  std::vector<BYTE> extra;
  std::vector<std::pair<std::string, HANDLE>> props;

  ScrollBarState scroll[2];

  gdi::Region update;  // client coordinates
  bool erasePending = false;
  bool framePending = false;
  bool destroying = false;

  HICON bigIcon = nullptr, smallIcon = nullptr;  // WM_SETICON's

  // Top-level windows only.
  std::shared_ptr<gdi::Surface> surface;
  host::SurfaceId hostSurface = 0;
  bool dirty = false;  // drawn since last presented
  host::SurfaceDesc shownAs;  // how the display surface was opened

  int Width() const { return rect.right - rect.left; }
  int Height() const { return rect.bottom - rect.top; }
  bool Visible() const { return (style & WS_VISIBLE) != 0; }
};

using WindowPtr = std::shared_ptr<Window>;

std::recursive_mutex& TreeLock();
WindowPtr Find(HWND handle);
HWND Desktop();
bool IsTopLevel(const Window& w);
// The top-level window a window belongs to (itself for a top-level one); null for the desktop.
WindowPtr TopLevelOf(HWND handle);
// Adds and removes table entries (the caller links the tree).
HWND AddWindow(WindowPtr window);
void RemoveWindow(HWND handle);
// Every window, parents before children, in z-order (top first) among siblings.
std::vector<WindowPtr> AllWindows();

// A class by name (any case) or by atom.
std::shared_ptr<WindowClass> ClassOf(LPCSTR nameOrAtom);

// Whether the window and its parents are visible.
bool ReallyVisible(HWND handle);
// Origin of the window's client area and of the window itself, in screen coordinates.
POINT ClientOrigin(const Window& w);
POINT WindowOrigin(const Window& w);
// Position of the window in its top-level window's surface.
POINT OffsetInTopLevel(const Window& w);

// The frame and caption thickness around the client area for these styles.
RECT NonClientInsets(DWORD style, DWORD exStyle);

// Calls the window's procedure (no lock held); 0 for a window that is gone.
LRESULT CallProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace user
