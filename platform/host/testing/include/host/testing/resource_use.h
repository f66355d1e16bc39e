#pragma once
// What one piece of work costs: it runs in a child process of its own, which reports the processor
// time it took (which, unlike the wall time, other work on a busy machine hardly changes), the
// growth of its peak resident memory and the text the work returned. A child that dies
// reports "crashed". Tests of hostile inputs use it to bound time and memory of each case.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

struct ResourceUse {
  double Seconds = 0;
  double PeakMiB = 0;  // peak resident memory above what the child started with
  std::string Outcome;
};

namespace resource_use_detail {

// VmHWM or VmRSS of this process in KiB.
inline long StatusKiB(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const std::size_t n = std::strlen(field);
  while (std::getline(status, line))
    if (line.compare(0, n, field) == 0 && line.size() > n && line[n] == ':') return std::stol(line.substr(n + 1));
  return 0;
}

// User and system time of this process so far, all threads.
inline double ProcessorSeconds() {
  rusage use{};
  ::getrusage(RUSAGE_SELF, &use);
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
  return seconds(use.ru_utime) + seconds(use.ru_stime);
}

}  // namespace resource_use_detail

template <class Work>
ResourceUse MeasureInChild(Work work) {
  int pipe[2];
  if (::pipe(pipe) != 0) return {0, 0, "pipe failed"};
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipe[0]);
    // The peak starts again from what the child holds now.
    if (std::FILE* refs = std::fopen("/proc/self/clear_refs", "w")) {
      std::fputs("5", refs);
      std::fclose(refs);
    }
    const long before = resource_use_detail::StatusKiB("VmRSS");
    const double start = resource_use_detail::ProcessorSeconds();
    const std::string outcome = work();
    const double seconds = resource_use_detail::ProcessorSeconds() - start;
    const long peak = resource_use_detail::StatusKiB("VmHWM");
    const std::string report = std::to_string(seconds) + " " + std::to_string((peak - before) / 1024.0) + " " + outcome;
    if (::write(pipe[1], report.data(), report.size()) < 0) ::_exit(2);
    ::_exit(0);
  }
  ::close(pipe[1]);
  std::string report;
  char buffer[512];
  for (ssize_t n; (n = ::read(pipe[0], buffer, sizeof buffer)) > 0;) report.append(buffer, static_cast<std::size_t>(n));
  ::close(pipe[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || report.empty()) return {0, 0, "crashed"};
  ResourceUse use;
  std::size_t used = 0;
  use.Seconds = std::stod(report, &used);
  report.erase(0, used + 1);
  use.PeakMiB = std::stod(report, &used);
  use.Outcome = report.substr(used + 1);
  return use;
}
