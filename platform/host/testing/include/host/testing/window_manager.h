#pragma once
// A window manager on the test's X server, and what it and our windows tell each other: window
// properties read back by a window's title. Running() is false when the window manager is not
// installed (the test then skips what needs it); one that is installed but does not start fails the test. Openbox shows
// a maximise button on every framed window; for one that may not be maximised the button is disabled. The X calls live
// in x_window_manager.cpp, apart from the tests: Xlib's macros clash with GoogleTest's names.
#include <sys/types.h>

#include <string>
#include <vector>

namespace xtest {

using XId = unsigned long;  // an X window or atom

// The client window with this title, searched through the whole tree (a window manager puts
// clients inside frames of its own); 0 when there is none or no display.
XId FindByTitle(const std::string& title);
// Every such window, in the order of the tree.
std::vector<XId> FindAllByTitle(const std::string& title);
// The 32-bit items of a window property (atoms, windows, cardinals); empty when it is not set.
std::vector<XId> Property(XId window, const char* name);
// The same of the root window (what the window manager publishes).
std::vector<XId> RootProperty(const char* name);
bool HasAtom(const std::vector<XId>& atoms, const char* name);
// WM_TRANSIENT_FOR, 0 when none.
XId TransientFor(XId window);
// Whether WM_NORMAL_HINTS give equal minimum and maximum sizes.
bool FixedSize(XId window);
// Whether a window manager has announced itself on the screen.
bool WindowManagerPresent();
// Where the window's top-left pixel is on the screen; false when there is no such window.
bool ScreenPosition(XId window, int& x, int& y);
// Whether the window is mapped and all its ancestors are.
bool Shown(XId window);
// The window's size; false when there is no such window.
bool WindowSize(XId window, int& width, int& height);
// Resizes the window from outside, as a window manager may, and waits until the server did it.
void ResizeFromOutside(XId window, int width, int height);
// The frontmost pop-up on the screen (a shown window the window manager does not frame, larger
// than `minimum` pixels each way): its place and size; false when none shows.
bool FrontPopUp(int minimum, int& x, int& y, int& width, int& height);

// A window of another X client (a connection of its own), shown with a title while it lives: what
// the user turns to away from our programs. It takes the keyboard when clicked.
class OtherClientWindow {
 public:
  OtherClientWindow(const std::string& title, int x, int y, int width, int height);
  ~OtherClientWindow();
  OtherClientWindow(const OtherClientWindow&) = delete;
  OtherClientWindow& operator=(const OtherClientWindow&) = delete;
  // Whether it holds the X keyboard focus now.
  bool Focused() const;

 private:
  void* display_ = nullptr;
  XId window_ = 0;
};

}  // namespace xtest

// A window manager on the X server of $DISPLAY, unless one runs there already: the one that
// $STARTLOGO_TEST_WM names (openbox, the default; xfwm4; fluxbox), so that the desktop tests can
// be run under each. It runs in a process group of its own and is stopped with it.
class ScopedWindowManager {
 public:
  ScopedWindowManager();
  ~ScopedWindowManager();
  ScopedWindowManager(const ScopedWindowManager&) = delete;
  ScopedWindowManager& operator=(const ScopedWindowManager&) = delete;

  bool Running() const { return running_; }
  // The window manager asked for, whether it runs or not; for the tests' skip messages.
  const std::string& Name() const { return name_; }

 private:
  bool Start(const std::vector<std::string>& argv);
  void Stop();

  pid_t child_ = -1;
  bool running_ = false;
  std::string name_;
  std::string home_;  // the window manager's own, with its settings
};
