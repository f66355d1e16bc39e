// Kept apart from the tests: Xlib's macros clash with GoogleTest's names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "host/testing/window_manager.h"

namespace xtest {
namespace {

// A window asked about may be gone by the time the server answers (a program's window closing
// or made again): the question then fails instead of Xlib's default handler ending the tests.
int IgnoreError(::Display*, XErrorEvent*) { return 0; }

// One connection per question: the tests ask few.
struct Connection {
  Connection() : x(XOpenDisplay(nullptr)), previous(XSetErrorHandler(IgnoreError)) {}
  ~Connection() {
    if (x) {
      XSync(x, False);
      XCloseDisplay(x);
    }
    XSetErrorHandler(previous);
  }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  ::Display* x;
  XErrorHandler previous;
};

void Search(::Display* x, ::Window from, const std::string& title, std::vector<XId>& found) {
  char* name = nullptr;
  if (XFetchName(x, from, &name) && name) {
    const bool same = title == name;
    XFree(name);
    if (same) found.push_back(from);
  }
  ::Window root = 0, parent = 0, *children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(x, from, &root, &parent, &children, &count)) return;
  for (unsigned int i = 0; i < count; ++i) Search(x, children[i], title, found);
  if (children) XFree(children);
}

std::vector<XId> Read(::Display* x, ::Window w, const char* name) {
  std::vector<XId> values;
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(x, w, XInternAtom(x, name, False), 0, 1 << 20, False, AnyPropertyType, &type, &format, &count,
                         &after, &data) == Success &&
      data) {
    // Xlib hands 32-bit items out as longs, sign-extended.
    if (format == 32)
      for (unsigned long i = 0; i < count; ++i)
        values.push_back(reinterpret_cast<unsigned long*>(data)[i] & 0xFFFFFFFFul);
    XFree(data);
  }
  return values;
}

}  // namespace

std::vector<XId> FindAllByTitle(const std::string& title) {
  Connection c;
  std::vector<XId> found;
  if (c.x) Search(c.x, DefaultRootWindow(c.x), title, found);
  return found;
}

XId FindByTitle(const std::string& title) {
  const std::vector<XId> found = FindAllByTitle(title);
  return found.empty() ? 0 : found.front();
}

std::vector<XId> Property(XId window, const char* name) {
  Connection c;
  return c.x ? Read(c.x, window, name) : std::vector<XId>{};
}

std::vector<XId> RootProperty(const char* name) {
  Connection c;
  return c.x ? Read(c.x, DefaultRootWindow(c.x), name) : std::vector<XId>{};
}

bool HasAtom(const std::vector<XId>& atoms, const char* name) {
  Connection c;
  if (!c.x) return false;
  const Atom wanted = XInternAtom(c.x, name, False);
  for (XId a : atoms)
    if (a == wanted) return true;
  return false;
}

XId TransientFor(XId window) {
  Connection c;
  ::Window owner = 0;
  return c.x && XGetTransientForHint(c.x, window, &owner) ? owner : 0;
}

bool FixedSize(XId window) {
  Connection c;
  XSizeHints hints{};
  long supplied = 0;
  if (!c.x || !XGetWMNormalHints(c.x, window, &hints, &supplied)) return false;
  return (hints.flags & PMinSize) && (hints.flags & PMaxSize) && hints.min_width == hints.max_width &&
         hints.min_height == hints.max_height;
}

bool ScreenPosition(XId window, int& x, int& y) {
  Connection c;
  ::Window child = 0;
  return c.x && XTranslateCoordinates(c.x, window, DefaultRootWindow(c.x), 0, 0, &x, &y, &child);
}

bool Shown(XId window) {
  Connection c;
  XWindowAttributes a{};
  return c.x && XGetWindowAttributes(c.x, window, &a) && a.map_state == IsViewable;
}

bool WindowSize(XId window, int& width, int& height) {
  Connection c;
  XWindowAttributes a{};
  if (!c.x || !XGetWindowAttributes(c.x, window, &a)) return false;
  width = a.width;
  height = a.height;
  return true;
}

void ResizeFromOutside(XId window, int width, int height) {
  Connection c;
  if (!c.x) return;
  XResizeWindow(c.x, window, static_cast<unsigned>(width), static_cast<unsigned>(height));
  XSync(c.x, False);
}

namespace {

// Whether the window is a window manager's frame: one that holds a client (fluxbox makes its frames
// override-redirect windows, as pop-ups are).
bool HoldsAClient(::Display* x, ::Window window) {
  ::Window root = 0, parent = 0, *children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(x, window, &root, &parent, &children, &count)) return false;
  const Atom state = XInternAtom(x, "WM_STATE", False);
  bool holds = false;
  for (unsigned int i = 0; i < count && !holds; ++i) {
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(x, children[i], state, 0, 0, False, AnyPropertyType, &type, &format, &items, &after,
                           &data) == Success)
      holds = type != None;
    if (data) XFree(data);
    holds = holds || HoldsAClient(x, children[i]);
  }
  if (children) XFree(children);
  return holds;
}

}  // namespace

bool FrontPopUp(int minimum, int& x, int& y, int& width, int& height) {
  Connection c;
  if (!c.x) return false;
  ::Window root = 0, parent = 0, *children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(c.x, DefaultRootWindow(c.x), &root, &parent, &children, &count)) return false;
  bool found = false;
  for (unsigned int i = count; i-- > 0 && !found;) {  // front first
    XWindowAttributes a{};
    if (!XGetWindowAttributes(c.x, children[i], &a) || a.map_state != IsViewable || !a.override_redirect ||
        a.width <= minimum || a.height <= minimum || HoldsAClient(c.x, children[i]))
      continue;
    x = a.x;
    y = a.y;
    width = a.width;
    height = a.height;
    found = true;
  }
  if (children) XFree(children);
  return found;
}

bool WindowManagerPresent() { return !RootProperty("_NET_SUPPORTING_WM_CHECK").empty(); }

OtherClientWindow::OtherClientWindow(const std::string& title, int x, int y, int width, int height) {
  ::Display* d = XOpenDisplay(nullptr);
  display_ = d;
  if (!d) return;
  window_ = XCreateSimpleWindow(d, DefaultRootWindow(d), x, y, static_cast<unsigned>(width),
                                static_cast<unsigned>(height), 0, 0, WhitePixel(d, DefaultScreen(d)));
  XStoreName(d, window_, title.c_str());
  XWMHints hints{};
  hints.flags = InputHint;
  hints.input = True;
  XSetWMHints(d, window_, &hints);
  XSizeHints place{};
  place.flags = USPosition | USSize;
  place.x = x;
  place.y = y;
  place.width = width;
  place.height = height;
  XSetWMNormalHints(d, window_, &place);
  XMapRaised(d, window_);
  XSync(d, False);
}

OtherClientWindow::~OtherClientWindow() {
  auto* d = static_cast<::Display*>(display_);
  if (!d) return;
  if (window_) XDestroyWindow(d, window_);
  XCloseDisplay(d);
}

bool OtherClientWindow::Focused() const {
  auto* d = static_cast<::Display*>(display_);
  if (!d) return false;
  ::Window focus = 0;
  int revert = 0;
  XGetInputFocus(d, &focus, &revert);
  return focus == window_;
}

}  // namespace xtest
