// Starting host programs with an argument vector: no shell ever parses a command line. A pipe
// closed on exec tells the parent whether the exec itself worked.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "win32/shell.h"

namespace shell {
namespace {

void SetError(std::string* error, const std::string& text) {
  if (error) *error = text;
}

}  // namespace

int StartProgram(const std::vector<std::string>& argv, std::string* error) {
  if (argv.empty() || argv[0].empty()) {
    SetError(error, "no program given");
    return 0;
  }
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) {
    SetError(error, std::strerror(errno));
    return 0;
  }
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(report[0]);
    ::execvp(args[0], args.data());
    const int failure = errno;
    (void)!::write(report[1], &failure, sizeof failure);
    ::_exit(127);
  }
  ::close(report[1]);
  if (child < 0) {
    SetError(error, std::strerror(errno));
    ::close(report[0]);
    return 0;
  }
  int failure = 0;
  ssize_t n;
  do n = ::read(report[0], &failure, sizeof failure);
  while (n < 0 && errno == EINTR);
  ::close(report[0]);
  if (n == static_cast<ssize_t>(sizeof failure)) {
    ::waitpid(child, nullptr, 0);
    SetError(error, argv[0] + ": " + std::strerror(failure));
    return 0;
  }
  return static_cast<int>(child);
}

bool OpenAddress(const std::string& address, std::string* error) {
  const int child = StartProgram({"xdg-open", address}, error);
  if (child == 0) return false;
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
  SetError(error, "xdg-open could not open " + address);
  return false;
}

}  // namespace shell
