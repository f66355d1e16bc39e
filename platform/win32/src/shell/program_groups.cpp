// Start menu program groups, found as the shell finds them.
#include "win32/kernel.h"
#include "win32/registry.h"
#include "win32/shell.h"

namespace shell {
namespace {

std::string ShellFolder(const char* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                    KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return {};
  char data[MAX_PATH] = {};
  DWORD size = sizeof data - 1, type = 0;
  const bool found = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) ==
                         ERROR_SUCCESS &&
                     type == REG_SZ;
  RegCloseKey(key);
  return found ? std::string(data) : std::string();
}

}  // namespace

std::string ProgramGroupFolder(const std::string& group) {
  std::string programs = ShellFolder("Programs");
  if (programs.empty()) {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    programs = std::string(windows) + "\\Start Menu\\Programs";
  }
  if (!programs.empty() && programs.back() == '\\') programs.pop_back();
  return group.empty() ? programs : programs + "\\" + group;
}

}  // namespace shell
