#pragma once
// The StartUp group, whose shortcuts Windows starts at each log-on, and the desktop's log-in entry
// through which the platform plays that log-on for a machine folder.
#include <filesystem>
#include <string>
#include <vector>

namespace shell {

// The machine folder's tool verb that plays the log-on: `machine-folder log-on FOLDER`.
constexpr char kLogOnVerb[] = "log-on";

// The StartUp folders as Windows paths: the user's (the registry's Shell Folders "Startup", else
// the Start menu's group) and the common "All Users" one where the machine has it.
std::vector<std::string> StartUpFolders();
// The shortcuts (".lnk") in those folders, in name order within each.
std::vector<std::string> StartUpShortcuts();

// Starts a shortcut as the log-on does: its target with its arguments, in its working folder, its
// first window shown as the shortcut says. The process id, or 0 with `error` telling why.
int StartShortcut(const std::string& linkPath, std::string* error = nullptr);

struct LogOnResult {
  std::vector<int> Started;  // process ids, not waited for
  std::vector<std::string> Failures;  // one line per shortcut that could not start, naming it
};
// Starts every shortcut of the StartUp group, none waiting for another. A group without any
// shortcut also loses its log-in entry.
LogOnResult LogOn();

// The machine folder's log-in entry in the desktop's autostart folder ($XDG_CONFIG_HOME/autostart,
// else ~/.config/autostart), and its text, which has `program` play the log-on of that folder.
std::filesystem::path LogOnEntryFile(const std::filesystem::path& machineFolder);
std::string LogOnEntry(const std::filesystem::path& machineFolder, const std::filesystem::path& program);
// Writes this machine's entry while its StartUp group holds a shortcut, and removes it once the
// group holds none. False, said on standard error, when the entry could not be changed.
bool UpdateLogOnEntry();
// Keeps the entry in step after `hostFile` was written or deleted, when it is a StartUp shortcut.
void StartUpFileChanged(const std::filesystem::path& hostFile);

}  // namespace shell
