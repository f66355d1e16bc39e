#pragma once
// An X server for a test of the desktop back end: the existing DISPLAY when one is set, else an
// Xvfb started on a free display number and stopped with the object. Available() is false when
// there is neither (the test then skips).
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

class ScopedXServer {
 public:
  ScopedXServer() {
    if (const char* d = ::getenv("DISPLAY"); d && *d) {
      available_ = true;
      return;
    }
    const char* xvfb = "/usr/bin/Xvfb";
    if (::access(xvfb, X_OK) != 0) return;
    for (int n = 90; n < 140 && !available_; ++n) {
      if (std::filesystem::exists("/tmp/.X" + std::to_string(n) + "-lock") ||
          std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(n)))
        continue;
      std::string name = ":" + std::to_string(n);
      pid_t child = ::fork();
      if (child == 0) {
        ::execl(xvfb, xvfb, name.c_str(), "-screen", "0", "640x480x24", "-nolisten", "tcp", static_cast<char*>(nullptr));
        ::_exit(127);
      }
      if (child < 0) return;
      if (WaitForSocket(n, child)) {
        server_ = child;
        ::setenv("DISPLAY", name.c_str(), 1);
        started_ = true;
        available_ = true;
      } else {
        Stop(child);
      }
    }
  }
  ~ScopedXServer() {
    if (!started_) return;
    ::unsetenv("DISPLAY");
    Stop(server_);
  }
  ScopedXServer(const ScopedXServer&) = delete;
  ScopedXServer& operator=(const ScopedXServer&) = delete;

  bool Available() const { return available_; }

 private:
  static bool WaitForSocket(int n, pid_t child) {
    const std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
    for (int i = 0; i < 100; ++i) {
      if (std::filesystem::exists(socket)) return true;
      int status = 0;
      if (::waitpid(child, &status, WNOHANG) == child) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }
  static void Stop(pid_t child) {
    ::kill(child, SIGTERM);
    int status = 0;
    ::waitpid(child, &status, 0);
  }

  bool available_ = false;
  bool started_ = false;
  pid_t server_ = -1;
};
