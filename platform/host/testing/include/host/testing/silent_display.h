#pragma once
// An X display name at which no server answers: with `Listening`, a socket that takes connections
// and never replies (a hung server); with `Nothing`, no socket at all (a server that is gone).
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>

class SilentDisplay {
 public:
  enum class At { Listening, Nothing };
  explicit SilentDisplay(At at) {
    // Display numbers far above those Xvfb picks, starting where this process's id points so that
    // tests side by side try different ones; Xlib looks for the abstract socket first.
    constexpr int kFirst = 600, kCount = 3000;
    for (int i = 0; i < kCount && socket_ < 0; ++i) {
      const int number = kFirst + (static_cast<int>(::getpid()) + i) % kCount;
      if (::access(("/tmp/.X11-unix/X" + std::to_string(number)).c_str(), F_OK) == 0) continue;
      const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
      sockaddr_un address{};
      address.sun_family = AF_UNIX;
      const int length = std::snprintf(address.sun_path + 1, sizeof address.sun_path - 1, "/tmp/.X11-unix/X%d", number);
      const socklen_t size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
      if (::bind(fd, reinterpret_cast<sockaddr*>(&address), size) == 0 && ::listen(fd, 8) == 0) {
        socket_ = fd;
        name_ = ":" + std::to_string(number);
      } else {
        ::close(fd);
      }
    }
    if (at == At::Nothing) Close();
  }
  ~SilentDisplay() { Close(); }
  SilentDisplay(const SilentDisplay&) = delete;
  SilentDisplay& operator=(const SilentDisplay&) = delete;

  // ":N"; empty when no free number was found.
  const std::string& Name() const { return name_; }

 private:
  void Close() {
    if (socket_ >= 0) ::close(socket_);
    socket_ = -1;
  }

  int socket_ = -1;
  std::string name_;
};
