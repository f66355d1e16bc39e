#pragma once
// A program run in a child process as log-on starts it, with nobody at a desktop: DISPLAY,
// WAYLAND_DISPLAY and STARTLOGO_DISPLAY are left out of its environment (or only DISPLAY given), its
// standard input and output are /dev/null, its standard error goes to a file (or /dev/null).
#include <filesystem>
#include <string>
#include <vector>

struct ChildRun {
  int Status = -1;  // the exit status; -1 when it had to be stopped, -2 when a signal ended it
  double Seconds = 0;
  std::string Errors;  // standard error, when it went to a file
};

// Runs `argv` and waits at most `seconds` for it (0: as long as it takes), then kills it.
ChildRun RunWithoutDesktop(const std::vector<std::string>& argv, const std::filesystem::path& errorsFile = {},
                           double seconds = 0);
// The same with DISPLAY set to `display` (":5"), as a user at that desktop starts it.
ChildRun RunOnDisplay(const std::string& display, const std::vector<std::string>& argv,
                      const std::filesystem::path& errorsFile, double seconds);

// Copies the files beside `program` (not the folders) into `folder`, all but `except`, and returns
// the path of the program's copy: a program that finds its files beside itself, run from a copy.
std::filesystem::path CopyProgramFolder(const std::filesystem::path& program, const std::filesystem::path& folder,
                                        const std::string& except);
