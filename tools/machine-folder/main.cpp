// Sets up the emulated machine folder when it does not exist yet and shows where it is and how the
// drive letters map onto the host.
#include <cstdio>
#include <filesystem>
#include <string>

#include "win32/kernel.h"
#include "win32/machine.h"

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
  return 0;
}
