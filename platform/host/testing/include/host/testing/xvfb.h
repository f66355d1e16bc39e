#pragma once
// An X server for a test of the desktop back end: the existing DISPLAY when one is set (unless the
// test needs one of its own, to stop under its programs), else an Xvfb on a display number of its
// own choosing, stopped with the object. Available() is false when there is neither (the test then
// skips); an Xvfb that is installed but does not start fails the test, however long it takes to
// say so.
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

class ScopedXServer {
 public:
  enum class Use { ExistingOrOwn, Own };
  explicit ScopedXServer(Use use = Use::ExistingOrOwn) {
    if (const char* d = ::getenv("DISPLAY"); d && *d) {
      if (use == Use::ExistingOrOwn) {
        available_ = true;
        return;
      }
      before_ = d;
    }
    const char* xvfb = "/usr/bin/Xvfb";
    if (::access(xvfb, X_OK) != 0) return;
    // Xvfb picks a free display itself and reports it on a pipe, so tests running side by side
    // never race for one number.
    int report[2];
    if (::pipe(report) != 0) return;
    pid_t child = ::fork();
    if (child == 0) {
      ::close(report[0]);
      const std::string fd = std::to_string(report[1]);
      ::execl(xvfb, xvfb, "-displayfd", fd.c_str(), "-screen", "0", "640x480x24", "-nolisten", "tcp",
              static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(report[1]);
    if (child < 0) {
      ::close(report[0]);
      return;
    }
    const std::string number = ReadLine(report[0]);
    ::close(report[0]);
    if (number.empty()) {
      ADD_FAILURE() << xvfb << " is installed but did not start";
      Stop(child, SIGTERM);
      return;
    }
    server_ = child;
    ::setenv("DISPLAY", (":" + number).c_str(), 1);
    started_ = true;
    available_ = true;
  }
  ~ScopedXServer() {
    if (!started_) return;
    if (before_.empty()) ::unsetenv("DISPLAY");
    else
      ::setenv("DISPLAY", before_.c_str(), 1);
    if (server_ > 0) Stop(server_, SIGTERM);
  }
  ScopedXServer(const ScopedXServer&) = delete;
  ScopedXServer& operator=(const ScopedXServer&) = delete;

  bool Available() const { return available_; }
  // Ends a server of its own at once, as a crash or the end of a session does.
  void Kill() {
    if (server_ <= 0) return;
    Stop(server_, SIGKILL);
    server_ = -1;
  }

 private:
  // The display number Xvfb writes once it accepts connections; empty if it ends first. A slow
  // start on a busy machine is waited for: the test's own time-out stops a server that hangs.
  static std::string ReadLine(int fd) {
    std::string line;
    for (char c; ::read(fd, &c, 1) == 1;) {
      if (c == '\n') return line;
      line += c;
    }
    return {};
  }
  static void Stop(pid_t child, int signal) {
    ::kill(child, signal);
    int status = 0;
    ::waitpid(child, &status, 0);
  }

  bool available_ = false;
  bool started_ = false;
  pid_t server_ = -1;
  std::string before_;  // the DISPLAY of the test's environment, given back at the end
};
