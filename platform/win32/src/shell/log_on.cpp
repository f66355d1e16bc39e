// The log-on: every shortcut of the StartUp group started as Windows starts it, none waited for.
#include "win32/kernel.h"
#include "win32/machine.h"
#include "win32/shell.h"
#include "win32/startup_group.h"

namespace shell {

int StartShortcut(const std::string& linkPath, std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return 0;
  };
  const std::optional<Link> link = ReadLink(linkPath);
  if (!link) return fail("not a shortcut that can be read");
  if (link->Target.empty()) return fail("the shortcut names no target");
  const std::filesystem::path program = machine::HostPath(link->Target);
  if (program.empty()) return fail(link->Target + ": no such drive");
  ProgramStart start{{program.string()}, {}, link->ShowCommand};
  for (std::string& word : CommandLineWords(link->Arguments)) start.Argv.push_back(std::move(word));
  if (!link->WorkingDirectory.empty()) start.Folder = machine::HostPath(link->WorkingDirectory);
  std::string reason;
  const int child = StartProgram(start, &reason);
  return child ? child : fail(link->Target + ": " + reason);
}

LogOnResult LogOn() {
  LogOnResult result;
  const std::vector<std::string> shortcuts = StartUpShortcuts();
  if (shortcuts.empty()) UpdateLogOnEntry();
  for (const std::string& shortcut : shortcuts) {
    std::string error;
    if (const int child = StartShortcut(shortcut, &error)) result.Started.push_back(child);
    else
      result.Failures.push_back(shortcut + ": " + error);
  }
  return result;
}

}  // namespace shell
