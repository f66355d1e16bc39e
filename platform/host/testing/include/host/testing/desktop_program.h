#pragma once
// A program run as a program of its own on the test's X server, as a user starts it, and real X
// input (xdotool) given to it.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "host/testing/window_manager.h"

struct Spot {
  int x = -1, y = -1;
};

inline bool RealInput(const std::string& xdotoolArguments) {
  return std::system(("xdotool " + xdotoolArguments).c_str()) == 0;
}

inline std::string At(int x, int y) { return std::to_string(x) + " " + std::to_string(y); }

template <typename Done>
bool WaitFor(std::chrono::milliseconds patience, Done done) {
  for (auto end = std::chrono::steady_clock::now() + patience; std::chrono::steady_clock::now() < end;) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return done();
}

class DesktopProgram {
 public:
  // Starts `program` in `folder` (the test's own when empty); its main window has `title`.
  DesktopProgram(const std::string& program, std::string title, const std::string& folder = {})
      : title_(std::move(title)) {
    child_ = ::fork();
    if (child_ == 0) {
      ::unsetenv("STARTLOGO_DISPLAY");
      if (!folder.empty() && ::chdir(folder.c_str()) != 0) ::_exit(126);
      ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ended_ = child_ < 0;  // no child to wait for: waitpid(-1) would take any other
  }
  ~DesktopProgram() {
    if (child_ <= 0 || Ended(std::chrono::milliseconds(0))) return;
    ::kill(child_, SIGTERM);
    if (Ended(std::chrono::seconds(5))) return;
    ::kill(child_, SIGKILL);  // a program stuck past SIGTERM must not hold the tests
    int status = 0;
    ::waitpid(child_, &status, 0);
  }
  DesktopProgram(const DesktopProgram&) = delete;
  DesktopProgram& operator=(const DesktopProgram&) = delete;

  // Its main window's client area on the screen, once the window manager has taken it.
  Spot Client() {
    xtest::XId window = 0;
    WaitFor(std::chrono::seconds(20), [&] {
      window = xtest::FindByTitle(title_);
      return window && !xtest::Property(window, "_NET_WM_ALLOWED_ACTIONS").empty();
    });
    Spot s;
    if (window) xtest::ScreenPosition(window, s.x, s.y);
    window_ = window;
    return s;
  }
  xtest::XId Window() const { return window_; }
  bool Ended(std::chrono::milliseconds patience) {
    return WaitFor(patience, [&] {
      int status = 0;
      if (ended_ || ::waitpid(child_, &status, WNOHANG) == child_) ended_ = true;
      return ended_;
    });
  }

 private:
  std::string title_;
  pid_t child_ = -1;
  xtest::XId window_ = 0;
  bool ended_ = false;
};
