// Sets up the emulated machine folder when it does not exist yet and shows where it is and how the
// drive letters map onto the host.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "win32/kernel.h"
#include "win32/machine.h"

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

}  // namespace

int main() {
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
