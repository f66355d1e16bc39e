// Starting host programs with an argument vector: no shell ever parses a command line. A pipe
// closed on exec tells the parent whether the change of folder and the exec worked.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>

#include "win32/shell.h"

namespace shell {
namespace {

void SetError(std::string* error, const std::string& text) {
  if (error) *error = text;
}

// What the child reports through the pipe when it cannot become the program.
struct StartFailure {
  int error = 0;
  bool inFolder = false;  // the change to the working folder failed, not the exec
};

// The caller's environment with the show command set, built before the fork: the child may only
// make async-signal-safe calls.
std::vector<std::string> ChildEnvironment(int showCommand) {
  const std::string prefix = std::string(kShowCommandVariable) + "=";
  std::vector<std::string> environment;
  for (char** entry = environ; *entry; ++entry)
    if (!std::string_view(*entry).starts_with(prefix)) environment.emplace_back(*entry);
  if (showCommand >= 0) environment.push_back(prefix + std::to_string(showCommand));
  return environment;
}

std::vector<char*> Pointers(const std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (const std::string& s : strings) pointers.push_back(const_cast<char*>(s.c_str()));
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

int StartProgram(const ProgramStart& start, std::string* error) {
  if (start.Argv.empty() || start.Argv[0].empty()) {
    SetError(error, "no program given");
    return 0;
  }
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) {
    SetError(error, std::strerror(errno));
    return 0;
  }
  const std::vector<std::string> environment = ChildEnvironment(start.ShowCommand);
  std::vector<char*> args = Pointers(start.Argv), envp = Pointers(environment);
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(report[0]);
    StartFailure failure;
    if (!start.Folder.empty() && ::chdir(start.Folder.c_str()) != 0) failure.inFolder = true;
    else
      ::execvpe(args[0], args.data(), envp.data());
    failure.error = errno;
    (void)!::write(report[1], &failure, sizeof failure);
    ::_exit(127);
  }
  ::close(report[1]);
  if (child < 0) {
    SetError(error, std::strerror(errno));
    ::close(report[0]);
    return 0;
  }
  StartFailure failure;
  ssize_t n;
  do n = ::read(report[0], &failure, sizeof failure);
  while (n < 0 && errno == EINTR);
  ::close(report[0]);
  if (n == static_cast<ssize_t>(sizeof failure)) {
    ::waitpid(child, nullptr, 0);
    const std::string reason = std::strerror(failure.error);
    SetError(error, failure.inFolder ? "working folder " + start.Folder.string() + ": " + reason : reason);
    return 0;
  }
  return static_cast<int>(child);
}

int StartProgram(const std::vector<std::string>& argv, std::string* error) {
  std::string reason;
  const int child = StartProgram(ProgramStart{argv, {}, -1}, &reason);
  if (child == 0) SetError(error, argv.empty() || argv[0].empty() ? reason : argv[0] + ": " + reason);
  return child;
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
