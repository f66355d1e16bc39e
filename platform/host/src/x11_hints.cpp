// The X properties of the desktop back end's windows.
#include "x11_hints.h"

#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <errno.h>
#include <unistd.h>

#include <cstdio>

#include <algorithm>

namespace host {
namespace {

// The X connection and window behind an SDL window; none on other video drivers.
struct XWindow {
  ::Display* display = nullptr;
  ::Window window = 0;
};
XWindow XWindowOf(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return {};
  return {info.info.x11.display, info.info.x11.window};
}

// The Motif window manager hints: the functions and the frame's parts the desktop's buttons follow
// (some window managers read only one of the two).
constexpr long kMwmHintsFunctions = 1, kMwmHintsDecorations = 2;
constexpr long kMwmFuncMove = 4, kMwmFuncMinimize = 8, kMwmFuncClose = 32;
constexpr long kMwmDecorBorder = 2, kMwmDecorTitle = 8, kMwmDecorMenu = 16, kMwmDecorMinimize = 32;

int EndProgram(::Display* display) {
  std::fprintf(stderr, "%s: the desktop at DISPLAY=%s was lost; the program ends.\n", program_invocation_short_name,
               DisplayString(display));
  // Nothing may touch the dead connection: no destructor runs, files being replaced keep their
  // old contents.
  ::_exit(kDesktopLostStatus);
}

}  // namespace

void EndWhenDesktopLost() { XSetIOErrorHandler(EndProgram); }

void SetAllowedActions(SDL_Window* window, const SurfaceDesc& d) {
  const XWindow x = XWindowOf(window);
  if (!x.display) return;
  const Atom hints = XInternAtom(x.display, "_MOTIF_WM_HINTS", False);
  long value[5] = {kMwmHintsFunctions | kMwmHintsDecorations,
                   kMwmFuncMove | kMwmFuncClose | (d.minimizable ? kMwmFuncMinimize : 0),
                   kMwmDecorBorder | kMwmDecorTitle | kMwmDecorMenu | (d.minimizable ? kMwmDecorMinimize : 0), 0, 0};
  XChangeProperty(x.display, x.window, hints, hints, 32, PropModeReplace, reinterpret_cast<unsigned char*>(value), 5);
  if (d.modal) {
    const Atom state = XInternAtom(x.display, "_NET_WM_STATE", False);
    Atom modal = XInternAtom(x.display, "_NET_WM_STATE_MODAL", False);
    XChangeProperty(x.display, x.window, state, XA_ATOM, 32, PropModeAppend, reinterpret_cast<unsigned char*>(&modal),
                    1);
  }
}

// _NET_WM_ICON: for each size its width, height and ARGB pixels, as 32-bit items (longs in Xlib).
bool SetIconProperty(SDL_Window* window, const std::vector<Image>& icons) {
  const XWindow x = XWindowOf(window);
  if (!x.display) return false;
  const Atom property = XInternAtom(x.display, "_NET_WM_ICON", False);
  std::vector<long> data;
  for (const Image& icon : icons) {
    data.push_back(icon.width);
    data.push_back(icon.height);
    for (std::uint32_t p : icon.pixels) data.push_back(static_cast<long>(p));
  }
  if (data.empty()) XDeleteProperty(x.display, x.window, property);
  else
    XChangeProperty(x.display, x.window, property, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(data.data()), static_cast<int>(data.size()));
  XFlush(x.display);
  return true;
}

void KeepWhereAsked(SDL_Window* window) {
  const XWindow x = XWindowOf(window);
  if (!x.display) return;
  XSizeHints hints{};
  long supplied = 0;
  XGetWMNormalHints(x.display, x.window, &hints, &supplied);
  hints.flags |= PWinGravity;
  hints.win_gravity = StaticGravity;
  XSetWMNormalHints(x.display, x.window, &hints);
}

bool PlaceWhereAsked(SDL_Window* window, int left, int top, int width, int height) {
  const XWindow x = XWindowOf(window);
  if (!x.display) return false;
  XSizeHints hints{};
  long supplied = 0;
  XGetWMNormalHints(x.display, x.window, &hints, &supplied);
  hints.flags |= PMinSize | PMaxSize | PWinGravity;
  hints.min_width = hints.max_width = width;
  hints.min_height = hints.max_height = height;
  hints.win_gravity = StaticGravity;
  XSetWMNormalHints(x.display, x.window, &hints);
  XMoveResizeWindow(x.display, x.window, left, top, static_cast<unsigned>(width), static_cast<unsigned>(height));
  XFlush(x.display);
  return true;
}

bool RingBell(SDL_Window* window) {
  const XWindow x = XWindowOf(window);
  if (!x.display) return false;
  XBell(x.display, 0);
  XFlush(x.display);
  return true;
}

bool KeyboardFocusAmong(const std::vector<SDL_Window*>& windows) {
  std::vector<::Window> ours;
  ::Display* display = nullptr;
  for (SDL_Window* w : windows) {
    const XWindow x = XWindowOf(w);
    if (!x.display) return true;
    display = x.display;
    ours.push_back(x.window);
  }
  if (!display) return false;
  ::Window focus = 0;
  int revert = 0;
  XGetInputFocus(display, &focus, &revert);
  // PointerRoot (1) and None (0) are no window of ours; a focused window inside ours counts.
  for (::Window at = focus; at > PointerRoot;) {
    if (std::find(ours.begin(), ours.end(), at) != ours.end()) return true;
    ::Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, at, &root, &parent, &children, &count)) return false;
    if (children) XFree(children);
    if (parent == root) return false;
    at = parent;
  }
  return false;
}

}  // namespace host
