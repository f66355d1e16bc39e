#pragma once
// A window program on an X server of its own that then ends under it, as when the user logs out or
// the display server is killed: how the program takes the loss.
#include <filesystem>
#include <string>
#include <vector>

struct LostDesktopRun {
  std::string skipped;  // why it could not be tried (no Xvfb); empty when it was
  bool shown = false;  // its window came up before the server ended
  bool ended = false;  // it ended by itself after the server did
  double secondsToEnd = 0;  // from the server's end to the program's
  double cpuSecondsAfter = 0;  // processor time it spent after the server ended
  int status = -1;  // its exit status; -2 when a signal ended it
  std::string errors;  // its standard error
  // Files of the machine folder added, removed or changed between the server's end and the
  // program's.
  std::vector<std::string> changedFiles;
};

// Runs `argv` in `folder` on a new X server with no window manager until a window titled `title`
// shows, kills the server and waits at most `patience` seconds for the program to end.
LostDesktopRun RunUntilDesktopLost(const std::vector<std::string>& argv, const std::string& title,
                                   const std::filesystem::path& folder, const std::filesystem::path& machine,
                                   double patience);

// What is wrong with how `program` took the loss, "" when nothing: it is to end within `seconds`
// of it with kDesktopLostStatus and one line on standard error that says so, and to leave the
// machine folder's files as they were.
std::string LossFaults(const LostDesktopRun& run, const std::string& program, double seconds);
