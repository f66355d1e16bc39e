#include "host/testing/lost_desktop.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <thread>

#include "host/display.h"
#include "host/testing/desktop_program.h"
#include "host/testing/xvfb.h"

namespace {

constexpr double kWindowPatience = 60;  // a busy machine may take long to bring a program up

using Snapshot = std::map<std::string, std::string>;  // path in the folder, contents

std::string Contents(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

Snapshot Take(const std::filesystem::path& folder) {
  Snapshot files;
  std::error_code ec;
  for (std::filesystem::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    if (it->is_regular_file()) files[std::filesystem::relative(it->path(), folder).string()] = Contents(it->path());
  return files;
}

std::vector<std::string> Changes(const Snapshot& before, const Snapshot& after) {
  std::vector<std::string> changed;
  for (const auto& [path, contents] : before)
    if (auto it = after.find(path); it == after.end() || it->second != contents) changed.push_back(path);
  for (const auto& [path, contents] : after)
    if (!before.count(path)) changed.push_back(path);
  return changed;
}

// User and system time of a running process, from /proc.
double CpuSecondsOf(pid_t process) {
  std::ifstream in("/proc/" + std::to_string(process) + "/stat");
  std::string line((std::istreambuf_iterator<char>(in)), {});
  // The fields after the command name, which may hold spaces, start after its closing parenthesis.
  std::istringstream fields(line.substr(line.rfind(')') + 2));
  std::string field;
  unsigned long long user = 0, system = 0;
  for (int i = 3; i <= 15 && fields >> field; ++i) {
    if (i == 14) user = std::stoull(field);
    if (i == 15) system = std::stoull(field);
  }
  return static_cast<double>(user + system) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

double Seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; }

pid_t Start(const std::vector<std::string>& argv, const std::filesystem::path& folder,
            const std::filesystem::path& errors) {
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    ::unsetenv("STARTLOGO_DISPLAY");
    const int fd = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(fd, 2);
    if (::chdir(folder.c_str()) != 0) ::_exit(126);
    ::execv(args[0], args.data());
    ::_exit(127);
  }
  return child;
}

}  // namespace

LostDesktopRun RunUntilDesktopLost(const std::vector<std::string>& argv, const std::string& title,
                                   const std::filesystem::path& folder, const std::filesystem::path& machine,
                                   double patience) {
  LostDesktopRun run;
  ScopedXServer server(ScopedXServer::Use::Own);
  if (!server.Available()) {
    run.skipped = "no Xvfb";
    return run;
  }
  const std::filesystem::path errors =
      std::filesystem::temp_directory_path() / ("lost-desktop-" + std::to_string(::getpid()) + ".txt");
  const pid_t child = Start(argv, folder, errors);
  if (child < 0) return run;
  int status = 0;
  bool endedFirst = false;
  run.shown = WaitFor(std::chrono::milliseconds(static_cast<long>(kWindowPatience * 1000)),
                      [&] {
                        endedFirst = ::waitpid(child, &status, WNOHANG) == child;
                        const xtest::XId window = endedFirst ? 0 : xtest::FindByTitle(title);
                        return endedFirst || (window && xtest::Shown(window));
                      }) &&
              !endedFirst;
  if (!run.shown) {
    if (!endedFirst) {
      ::kill(child, SIGKILL);
      ::waitpid(child, &status, 0);
    }
    run.errors = Contents(errors);
    return run;
  }
  const Snapshot before = Take(machine);
  const double cpuBefore = CpuSecondsOf(child);
  server.Kill();
  const auto lost = std::chrono::steady_clock::now();
  rusage usage{};
  run.ended = WaitFor(std::chrono::milliseconds(static_cast<long>(patience * 1000)),
                      [&] { return ::wait4(child, &status, WNOHANG, &usage) == child; });
  run.secondsToEnd = std::chrono::duration<double>(std::chrono::steady_clock::now() - lost).count();
  if (!run.ended) {
    run.cpuSecondsAfter = CpuSecondsOf(child) - cpuBefore;
    ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0);
  } else {
    run.cpuSecondsAfter = Seconds(usage.ru_utime) + Seconds(usage.ru_stime) - cpuBefore;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -2;
  }
  run.errors = Contents(errors);
  std::filesystem::remove(errors);
  run.changedFiles = Changes(before, Take(machine));
  return run;
}

std::string LossFaults(const LostDesktopRun& run, const std::string& program, double seconds) {
  if (!run.shown) return "its window never showed; standard error: " + run.errors;
  std::string faults;
  if (!run.ended)
    faults += "still running " + std::to_string(run.secondsToEnd) + " s after the loss, having spent " +
              std::to_string(run.cpuSecondsAfter) + " s of processor time; ";
  else if (run.secondsToEnd > seconds)
    faults += "ended " + std::to_string(run.secondsToEnd) + " s after the loss; ";
  if (run.ended && run.status != host::kDesktopLostStatus) faults += "exit status " + std::to_string(run.status) + "; ";
  const std::string said = program + ": the desktop at DISPLAY=";
  if (run.errors.rfind(said, 0) != 0 || run.errors.find(" was lost") == std::string::npos ||
      run.errors.find('\n') + 1 != run.errors.size())
    faults += "standard error is not one line that tells of the loss: \"" + run.errors + "\"; ";
  for (const std::string& file : run.changedFiles) faults += file + " changed after the loss; ";
  return faults;
}
