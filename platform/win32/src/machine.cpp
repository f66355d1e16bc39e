#include "win32/machine.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace machine {
namespace {

// Recursive: the current directory is derived from WindowsPath, which needs Root.
std::recursive_mutex gMutex;
std::optional<fs::path> gRoot;
std::optional<std::string> gCurrent;

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

fs::path DefaultRoot() {
  if (const char* root = std::getenv("STARTLOGO_ROOT"); root && *root) return fs::absolute(root);
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data) return fs::absolute(data) / "startlogo";
  const char* home = std::getenv("HOME");
  if (!home || !*home) {
    const passwd* user = getpwuid(getuid());
    home = user ? user->pw_dir : "/tmp";
  }
  return fs::path(home) / ".local" / "share" / "startlogo";
}

struct ParsedPath {
  char drive = 0;  // upper case
  std::vector<std::string> parts;  // without "." and ".."
};

void AppendComponents(std::string_view text, std::vector<std::string>& parts) {
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\\', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view part = text.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.emplace_back(part);
    }
    start = end + 1;
  }
}

std::optional<ParsedPath> ParseAbsolute(std::string_view text) {
  if (text.size() < 2 || !IsLetter(text[0]) || text[1] != ':') return std::nullopt;
  ParsedPath parsed;
  parsed.drive = AsciiUpper(text[0]);
  AppendComponents(text.substr(2), parsed.parts);
  return parsed;
}

std::optional<ParsedPath> Parse(std::string_view windowsPath) {
  if (windowsPath.empty()) return std::nullopt;
  std::string text(windowsPath);
  for (char& c : text)
    if (c == '/') c = '\\';
  if (text.starts_with("\\\\")) return std::nullopt;  // UNC names: no network drives here

  if (text.size() >= 2 && IsLetter(text[0]) && text[1] == ':') {
    const bool driveRelative = text.size() == 2 || text[2] != '\\';
    if (driveRelative) {
      const std::string current = CurrentDirectory();
      if (AsciiUpper(text[0]) == current[0]) return ParseAbsolute(current + "\\" + text.substr(2));
    }
    return ParseAbsolute(text);
  }
  const std::string current = CurrentDirectory();
  if (text[0] == '\\') return ParseAbsolute(current.substr(0, 2) + text);
  return ParseAbsolute(current + "\\" + text);
}

std::string Format(const ParsedPath& parsed) {
  std::string out{parsed.drive, ':', '\\'};
  for (std::size_t i = 0; i < parsed.parts.size(); ++i) {
    if (i) out += '\\';
    out += parsed.parts[i];
  }
  return out;
}

// The entry of `folder` named `name` without regard to case; the first in name order wins so the
// choice does not depend on the order the directory happens to list them in.
std::optional<std::string> FindNoCase(const fs::path& folder, const std::string& name) {
  std::error_code ec;
  std::optional<std::string> best;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::string entry = it->path().filename().string();
    if (EqualNoCase(entry, name) && (!best || entry < *best)) best = std::move(entry);
  }
  return best;
}

bool Exists(const fs::path& p) {
  std::error_code ec;
  return fs::symlink_status(p, ec).type() != fs::file_type::not_found && !ec;
}

// `path` relative to `base` when it lies in it (or is it), compared component by component.
std::optional<fs::path> Under(const fs::path& path, const fs::path& base) {
  auto p = path.begin();
  for (auto b = base.begin(); b != base.end(); ++b, ++p) {
    if (b->empty()) continue;  // the empty last component of a trailing separator
    if (p == path.end() || *p != *b) return std::nullopt;
  }
  fs::path rest;
  for (; p != path.end(); ++p)
    if (!p->empty()) rest /= *p;
  return rest;
}

std::string DrivePath(char drive, const fs::path& rest) {
  std::string out{drive, ':', '\\'};
  std::string tail = rest.generic_string();
  for (char& c : tail)
    if (c == '/') c = '\\';
  return out + tail;
}

// `name` in `folder`: its exact name when it exists, else an entry of any case, else `name`.
fs::path ChildNoCase(const fs::path& folder, const std::string& name) {
  if (Exists(folder / name)) return folder / name;
  if (auto match = FindNoCase(folder, name)) return folder / *match;
  return folder / name;
}

// Drive C: with its Windows folder and the Start menu's StartUp folder, each folder that exists
// in any case (a copied Windows tree's "WINDOWS") taken as it is and only the missing ones made.
void SetUpDriveC(const fs::path& root) {
  fs::path folder = root / "drive_c";
  std::error_code ec;
  fs::create_directories(folder, ec);
  for (const char* part : {"windows", "Start Menu", "Programs", "StartUp"}) {
    folder = ChildNoCase(folder, part);
    fs::create_directory(folder, ec);
  }
}

}  // namespace

fs::path Root() {
  std::lock_guard lock(gMutex);
  if (!gRoot) {
    gRoot = DefaultRoot().lexically_normal();
    SetUpDriveC(*gRoot);
  }
  return *gRoot;
}

fs::path DriveFolder(char driveLetter) {
  if (!IsLetter(driveLetter)) return {};
  const char lower = AsciiLower(driveLetter);
  if (lower == 'z') return "/";
  const fs::path root = Root();
  if (lower == 'c') return root / "drive_c";
  for (char letter : {lower, AsciiUpper(lower)}) {
    fs::path folder = root / (std::string("drive_") + letter);
    std::error_code ec;
    if (fs::is_directory(folder, ec)) return folder;
  }
  return {};
}

std::string FullWindowsPath(std::string_view windowsPath) {
  auto parsed = Parse(windowsPath);
  return parsed ? Format(*parsed) : std::string();
}

fs::path HostPath(std::string_view windowsPath) {
  auto parsed = Parse(windowsPath);
  if (!parsed) return {};
  fs::path host = DriveFolder(parsed->drive);
  if (host.empty()) return {};
  bool resolving = true;
  for (const std::string& part : parsed->parts) {
    if (resolving && !Exists(host / part)) {
      if (auto match = FindNoCase(host, part)) {
        host /= *match;
        continue;
      }
      resolving = false;  // nothing below a missing folder can exist
    }
    host /= part;
  }
  return host;
}

std::string WindowsPath(const fs::path& hostPath) {
  std::error_code ec;
  const fs::path path = fs::absolute(hostPath, ec).lexically_normal();
  const fs::path root = Root();
  std::vector<char> drives{'C'};
  for (fs::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() == 7 && name.starts_with("drive_") && IsLetter(name[6])) {
      const char drive = AsciiUpper(name[6]);
      if (drive != 'C' && drive != 'Z') drives.push_back(drive);
    }
  }
  for (char drive : drives)
    if (auto rest = Under(path, DriveFolder(drive))) return DrivePath(drive, *rest);
  for (char drive : drives) {  // a drive that is a link: its target's paths belong to it too
    const fs::path target = fs::weakly_canonical(DriveFolder(drive), ec);
    if (!ec && target != "/")
      if (auto rest = Under(path, target)) return DrivePath(drive, *rest);
  }
  return DrivePath('Z', path.relative_path());
}

std::string CurrentDirectory() {
  std::lock_guard lock(gMutex);
  if (!gCurrent) {
    std::error_code ec;
    const fs::path cwd = fs::current_path(ec);
    gCurrent = WindowsPath(ec ? fs::path("/") : cwd);
  }
  return *gCurrent;
}

bool ChangeCurrentDirectory(std::string_view windowsPath) {
  const std::string full = FullWindowsPath(windowsPath);
  const fs::path host = full.empty() ? fs::path() : HostPath(full);
  std::error_code ec;
  if (host.empty() || !fs::exists(host, ec)) {
    errno = ENOENT;
    return false;
  }
  if (!fs::is_directory(host, ec)) {
    errno = ENOTDIR;
    return false;
  }
  std::lock_guard lock(gMutex);
  gCurrent = full;
  return true;
}

void Reset() {
  std::lock_guard lock(gMutex);
  gRoot.reset();
  gCurrent.reset();
}

}  // namespace machine
