// Sets up the emulated machine folder when it does not exist yet and shows where it is and how the
// drive letters map onto the host. "machine-folder log-on FOLDER" plays Windows' log-on for the
// machine folder FOLDER: it starts the shortcuts of its StartUp group.
#include <stdlib.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "win32/kernel.h"
#include "win32/machine.h"
#include "win32/startup_group.h"

namespace {

// The folders the machine's first use makes; each one that is not there is made once more for
// the reason it cannot be, which is told. Returns how many are missing.
int ReportMissing(const std::vector<std::filesystem::path>& folders) {
  int missing = 0;
  for (const std::filesystem::path& folder : folders) {
    std::error_code ec;
    if (std::filesystem::is_directory(folder, ec)) continue;
    std::filesystem::create_directories(folder, ec);
    if (!ec && std::filesystem::is_directory(folder, ec)) continue;
    std::fprintf(stderr, "machine-folder: could not make %s: %s\n", folder.c_str(),
                 ec ? ec.message().c_str() : "not a folder");
    ++missing;
  }
  return missing;
}

constexpr int kUsageStatus = 2;
constexpr int kNoneStartedStatus = 1;

int ShowMachine() {
  const std::filesystem::path root = machine::Root();
  std::printf("Machine folder: %s\n", root.c_str());
  for (char drive = 'A'; drive <= 'Z'; ++drive) {
    const std::filesystem::path folder = machine::DriveFolder(drive);
    if (folder.empty()) continue;
    std::error_code ec;
    const bool link = std::filesystem::is_symlink(folder, ec);
    const std::string target = link ? " (link to " + std::filesystem::read_symlink(folder, ec).string() + ")" : "";
    std::printf("  %c: -> %s%s\n", drive, folder.c_str(), target.c_str());
  }
  char windows[MAX_PATH];
  GetWindowsDirectoryA(windows, sizeof windows);
  const std::string startUp = std::string(windows) + "\\Start Menu\\Programs\\StartUp";
  std::printf("Windows folder: %s -> %s\n", windows, machine::HostPath(windows).c_str());
  std::printf("StartUp folder: %s -> %s\n", startUp.c_str(), machine::HostPath(startUp).c_str());
  return ReportMissing({machine::DriveFolder('C'), machine::HostPath(windows), machine::HostPath(startUp)}) ? 1 : 0;
}

// The started programs run in the given machine: they find it in the environment.
int LogOn(const char* folder) {
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) {
    std::fprintf(stderr, "log-on: %s is no machine folder\n", folder);
    return kNoneStartedStatus;
  }
  ::setenv("STARTLOGO_ROOT", std::filesystem::absolute(folder, ec).c_str(), 1);
  machine::Reset();
  const shell::LogOnResult result = shell::LogOn();
  for (const std::string& failure : result.Failures) std::fprintf(stderr, "log-on: %s\n", failure.c_str());
  return result.Started.empty() && !result.Failures.empty() ? kNoneStartedStatus : 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 1) return ShowMachine();
  if (argc == 3 && std::strcmp(argv[1], shell::kLogOnVerb) == 0) return LogOn(argv[2]);
  std::fprintf(stderr, "usage: machine-folder [%s FOLDER]\n", shell::kLogOnVerb);
  return kUsageStatus;
}
