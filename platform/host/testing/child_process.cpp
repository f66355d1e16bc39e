#include "host/testing/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

namespace {

ChildRun Run(const std::string& display, const std::vector<std::string>& argv, const std::filesystem::path& errorsFile,
             double seconds) {
  const auto start = std::chrono::steady_clock::now();
  // Everything the child needs is made before the fork: only async-signal-safe calls after it.
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  std::vector<std::string> environment;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    if (entry.rfind("DISPLAY=", 0) != 0 && entry.rfind("WAYLAND_DISPLAY=", 0) != 0 &&
        entry.rfind("STARTLOGO_DISPLAY=", 0) != 0)
      environment.push_back(entry);
  }
  if (!display.empty()) environment.push_back("DISPLAY=" + display);
  std::vector<char*> envp;
  for (std::string& e : environment) envp.push_back(e.data());
  envp.push_back(nullptr);
  const std::string errors = errorsFile.empty() ? std::string("/dev/null") : errorsFile.string();
  const pid_t child = ::fork();
  if (child == 0) {
    const int fd = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(fd, 2);
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, 0);
    ::dup2(null, 1);
    ::execve(args[0], args.data(), envp.data());
    ::_exit(127);
  }
  auto readErrors = [&] {
    if (errorsFile.empty()) return std::string();
    std::ifstream in(errorsFile, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  ChildRun run;
  int status = 0;
  if (seconds <= 0) {
    ::waitpid(child, &status, 0);
  } else {
    const auto end = start + std::chrono::duration<double>(seconds);
    while (::waitpid(child, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > end) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        run.Errors = readErrors();
        return run;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  run.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -2;
  run.Errors = readErrors();
  return run;
}

}  // namespace

ChildRun RunWithoutDesktop(const std::vector<std::string>& argv, const std::filesystem::path& errorsFile,
                           double seconds) {
  return Run({}, argv, errorsFile, seconds);
}

ChildRun RunOnDisplay(const std::string& display, const std::vector<std::string>& argv,
                      const std::filesystem::path& errorsFile, double seconds) {
  return Run(display, argv, errorsFile, seconds);
}

std::filesystem::path CopyProgramFolder(const std::filesystem::path& program, const std::filesystem::path& folder,
                                        const std::string& except) {
  std::filesystem::create_directories(folder);
  for (const auto& entry : std::filesystem::directory_iterator(program.parent_path()))
    if (entry.is_regular_file() && entry.path().filename() != except)
      std::filesystem::copy_file(entry.path(), folder / entry.path().filename());
  return folder / program.filename();
}
