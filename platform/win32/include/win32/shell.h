#pragma once
// Shortcut files in the Shell Link binary format, as the Windows shell reads and writes them, and
// the host's way of opening an address or starting a program.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "win32/types.h"

namespace shell {

// What a shortcut holds. Paths are Windows paths; empty strings are left out of the file.
struct Link {
  std::string Target;  // "c:\logos\logo.exe"
  std::string Arguments;
  std::string WorkingDirectory;
  std::string Description;
  std::string IconLocation;
  int IconIndex = 0;
  int ShowCommand = 1;  // SW_SHOWNORMAL, SW_SHOWMAXIMIZED or SW_SHOWMINNOACTIVE
};

// The file's bytes: header, link information with the target as local base path, then the
// strings the flags announce (ANSI), then the terminal block.
std::string EncodeLink(const Link& link);
// The link of a file's bytes; none when they are not a well-formed shortcut of this kind.
std::optional<Link> DecodeLink(std::string_view bytes);

// Writes (replacing atomically) or reads the shortcut file at a Windows path. Failures set the
// thread's last error and give false / none.
bool WriteLink(const std::string& linkPath, const Link& link);
std::optional<Link> ReadLink(const std::string& linkPath);

// The folder of a Start menu program group ("Startup" is the group Windows runs at log-on):
// the "Programs" shell folder of the registry, else the Windows folder's "Start Menu\Programs".
std::string ProgramGroupFolder(const std::string& group);

// Opens a web or mail address with the host's opener (xdg-open), given as one argument, never
// through a shell command line. False, with `error` telling why, when the opener cannot be
// started or reports failure.
bool OpenAddress(const std::string& address, std::string* error = nullptr);

// Starts a host program with an argument vector (argv[0] is the program's host path). Returns
// the process id, or 0 with `error` telling why when it could not be started.
int StartProgram(const std::vector<std::string>& argv, std::string* error = nullptr);

// The environment variable that tells a started program the show command of its first window, as
// Windows' start-up information does.
constexpr char kShowCommandVariable[] = "STARTLOGO_SHOW_COMMAND";

// How a program is started: in `Folder` when one is given, its first window shown as
// `ShowCommand` when that is not negative.
struct ProgramStart {
  std::vector<std::string> Argv;
  std::filesystem::path Folder;
  int ShowCommand = -1;
};
// As above; `error` tells why without naming the program.
int StartProgram(const ProgramStart& start, std::string* error = nullptr);

// The words of a command line: blanks separate them, double quotes hold a word with blanks.
std::vector<std::string> CommandLineWords(const std::string& text);

}  // namespace shell
