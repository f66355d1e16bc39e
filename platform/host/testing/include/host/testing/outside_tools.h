#pragma once
// For the tests that check our files against programs installed beside us: whether one is there,
// and what a command prints.
#include <cstdio>
#include <cstdlib>
#include <string>

// True when the shell finds the program.
inline bool HaveTool(const std::string& Tool) {
  return std::system(("command -v " + Tool + " >/dev/null 2>&1").c_str()) == 0;
}

// What a command prints on its standard output; empty when it cannot run.
inline std::string ToolOutput(const std::string& Command) {
  std::string out;
  if (FILE* pipe = popen(Command.c_str(), "r")) {
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}
