// The desktop's log-in entry of a machine folder: a freedesktop autostart entry whose Exec line
// has the platform play the machine's log-on. It exists while the StartUp group holds a shortcut.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <system_error>

#include "win32/machine.h"
#include "win32/startup_group.h"

namespace fs = std::filesystem;

namespace shell {
namespace {

constexpr std::size_t kMostNameCharacters = 120;  // of the folder in the entry's file name
constexpr std::string_view kReservedInExec = " \t\n\"'\\><~|&;$*?#()`";
constexpr std::string_view kEscapedInQuotes = "\"`$\\";

fs::path AutostartFolder() {
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config) return fs::path(config) / "autostart";
  const char* home = std::getenv("HOME");
  return fs::path(home && *home ? home : "/") / ".config" / "autostart";
}

// A string value of a desktop entry: backslash, newline, tab and carriage return escaped.
std::string StringValue(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

// One argument of an Exec line: quoted when it holds a reserved character, a literal "%" doubled
// so that it is no field code.
std::string ExecArgument(std::string_view argument) {
  const bool quoted = argument.empty() || argument.find_first_of(kReservedInExec) != std::string_view::npos;
  std::string out = quoted ? "\"" : "";
  for (char c : argument) {
    if (quoted && kEscapedInQuotes.find(c) != std::string_view::npos) out += '\\';
    out += c;
    if (c == '%') out += '%';
  }
  return quoted ? out + "\"" : out;
}

std::uint32_t Fnv1a(std::string_view text) {
  std::uint32_t hash = 2166136261u;
  for (unsigned char c : text) hash = (hash ^ c) * 16777619u;
  return hash;
}

bool IsStartUpFolder(const fs::path& hostFolder) {
  std::error_code ec;
  for (const std::string& folder : StartUpFolders())
    if (fs::equivalent(hostFolder, machine::HostPath(folder), ec)) return true;
  return false;
}

bool EndsWithLnk(const fs::path& file) {
  const std::string extension = file.extension().string();
  return extension.size() == 4 && strcasecmp(extension.c_str(), ".lnk") == 0;
}

}  // namespace

fs::path LogOnEntryFile(const fs::path& machineFolder) {
  const std::string folder = machineFolder.string();
  std::string name;
  for (char c : folder.substr(0, kMostNameCharacters)) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                       c == '_';
    if (plain) name += c;
    else if (!name.empty() && name.back() != '-')
      name += '-';
  }
  char hash[16];
  std::snprintf(hash, sizeof hash, "%08x", Fnv1a(folder));  // keeps folders that read alike apart
  return AutostartFolder() /
         ("startlogo-log-on-" + name + (name.empty() || name.back() == '-' ? "" : "-") + hash + ".desktop");
}

std::string LogOnEntry(const fs::path& machineFolder, const fs::path& program) {
  const std::string folder = machineFolder.string();
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Version=1.4\n"
         "Name=Startup logo log-on of " +
         StringValue(folder) +
         "\n"
         "Comment=Starts the StartUp group of the machine folder, as Windows does at each log-on\n"
         "Exec=" +
         StringValue(ExecArgument(program.string()) + " " + kLogOnVerb + " " + ExecArgument(folder)) +
         "\n"
         "Terminal=false\n"
         "NoDisplay=true\n";
}

bool UpdateLogOnEntry() {
  const fs::path folder = machine::Root();
  const fs::path entry = LogOnEntryFile(folder);
  std::error_code ec;
  if (StartUpShortcuts().empty()) {
    if (fs::remove(entry, ec) || !ec) return true;
    std::fprintf(stderr, "The log-in entry %s could not be removed: %s\n", entry.c_str(), ec.message().c_str());
    return false;
  }
  fs::create_directories(entry.parent_path(), ec);
  if (machine::ReplaceFileAtomically(entry, LogOnEntry(folder, STARTLOGO_LOG_ON_PROGRAM))) return true;
  std::fprintf(stderr, "The log-in entry %s could not be written: %s; the StartUp group will not run at log-in\n",
               entry.c_str(), std::strerror(errno));
  return false;
}

void StartUpFileChanged(const fs::path& hostFile) {
  if (EndsWithLnk(hostFile) && IsStartUpFolder(hostFile.parent_path())) UpdateLogOnEntry();
}

}  // namespace shell
