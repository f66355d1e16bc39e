#pragma once
// A window manager on the test's X server, and what it and our windows tell each other: window
// properties read back by a window's title. Running() is false without /usr/bin/openbox (the
// test then skips what needs it). Openbox shows a maximise button on every framed window; for
// one that may not be maximised the button is disabled. The X calls live in x_window_manager.cpp, apart from the tests:
// Xlib's macros clash with GoogleTest's names.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
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
// The window's size; false when there is no such window.
bool WindowSize(XId window, int& width, int& height);
// Resizes the window from outside, as a window manager may, and waits until the server did it.
void ResizeFromOutside(XId window, int width, int height);
// The frontmost pop-up on the screen (a shown window the window manager does not frame, larger
// than `minimum` pixels each way): its place and size; false when none shows.
bool FrontPopUp(int minimum, int& x, int& y, int& width, int& height);

}  // namespace xtest

class ScopedWindowManager {
 public:
  // On the X server of $DISPLAY, unless one runs there already.
  ScopedWindowManager() {
    if ((running_ = xtest::WindowManagerPresent())) return;
    const char* openbox = "/usr/bin/openbox";
    if (::access(openbox, X_OK) != 0) return;
    // A theme that draws the buttons of actions a window does not allow as disabled, so a
    // screenshot shows what the window manager made of our hints.
    char config[] = "/tmp/startlogo-openbox-XXXXXX";
    const int fd = ::mkstemp(config);
    if (fd < 0) return;
    config_ = config;
    const std::string text =
        "<openbox_config xmlns=\"http://openbox.org/3.4/rc\"><theme><name>Clearlooks-3.4</name>"
        "<titleLayout>NLIMC</titleLayout></theme></openbox_config>\n";
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(fd);
    if (!written) return;
    // Openbox now and then fails to reach a server that has just started: it is started again.
    for (int attempt = 0; attempt < 5 && !running_; ++attempt) {
      if (attempt) std::this_thread::sleep_for(std::chrono::milliseconds(300));
      child_ = ::fork();
      if (child_ == 0) {
        ::execl(openbox, openbox, "--sm-disable", "--config-file", config_.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
      }
      if (child_ < 0) return;
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
      int status = 0;
      while (!(running_ = xtest::WindowManagerPresent()) && std::chrono::steady_clock::now() < deadline) {
        if (::waitpid(child_, &status, WNOHANG) == child_) {
          child_ = -1;
          break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
      }
    }
  }
  ~ScopedWindowManager() {
    if (!config_.empty()) std::remove(config_.c_str());
    if (child_ <= 0) return;
    ::kill(child_, SIGTERM);
    int status = 0;
    ::waitpid(child_, &status, 0);
  }
  ScopedWindowManager(const ScopedWindowManager&) = delete;
  ScopedWindowManager& operator=(const ScopedWindowManager&) = delete;

  bool Running() const { return running_; }

 private:
  pid_t child_ = -1;
  bool running_ = false;
  std::string config_;
};
