// Start menu program groups, found as the shell finds them.
#include <algorithm>

#include "win32/kernel.h"
#include "win32/machine.h"
#include "win32/registry.h"
#include "win32/shell.h"
#include "win32/startup_group.h"

namespace shell {
namespace {

std::string ShellFolder(HKEY root, const char* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0, KEY_QUERY_VALUE,
                    &key) != ERROR_SUCCESS)
    return {};
  char data[MAX_PATH] = {};
  DWORD size = sizeof data - 1, type = 0;
  const bool found = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) ==
                         ERROR_SUCCESS &&
                     type == REG_SZ;
  RegCloseKey(key);
  return found ? std::string(data) : std::string();
}

std::string WithoutTrailingBackslash(std::string folder) {
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder;
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Where the machine keeps the StartUp group of all its users, when it has one.
std::string CommonStartUpFolder() {
  std::string common = ShellFolder(HKEY_LOCAL_MACHINE, "Common Startup");
  if (common.empty()) {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    common = std::string(windows) + "\\All Users\\Start Menu\\Programs\\StartUp";
  }
  return IsFolder(common) ? WithoutTrailingBackslash(common) : std::string();
}

std::vector<std::string> ShortcutsIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "\\*.lnk").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(data.cFileName);
  } while (FindNextFileA(find, &data));
  FindClose(find);
  std::sort(names.begin(), names.end());
  for (std::string& name : names) name = folder + "\\" + name;
  return names;
}

}  // namespace

std::string ProgramGroupFolder(const std::string& group) {
  std::string programs = ShellFolder(HKEY_CURRENT_USER, "Programs");
  if (programs.empty()) {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    programs = std::string(windows) + "\\Start Menu\\Programs";
  }
  programs = WithoutTrailingBackslash(programs);
  return group.empty() ? programs : programs + "\\" + group;
}

std::vector<std::string> StartUpFolders() {
  std::string user = WithoutTrailingBackslash(ShellFolder(HKEY_CURRENT_USER, "Startup"));
  if (user.empty()) user = ProgramGroupFolder("Startup");
  std::vector<std::string> folders{user};
  const std::string common = CommonStartUpFolder();
  if (!common.empty() && machine::HostPath(common) != machine::HostPath(user)) folders.push_back(common);
  return folders;
}

std::vector<std::string> StartUpShortcuts() {
  std::vector<std::string> shortcuts;
  for (const std::string& folder : StartUpFolders())
    for (std::string& shortcut : ShortcutsIn(folder)) shortcuts.push_back(std::move(shortcut));
  return shortcuts;
}

}  // namespace shell
