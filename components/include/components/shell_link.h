#pragma once
// Shortcut files through the shell's link object. Linking this unit keeps the component object
// library set up for the program's whole life.
#include <string>

#include "win32/objbase.h"

// Mask bits: which of the optional fields the link gets.
constexpr unsigned char slDescription = 1;
constexpr unsigned char slArguments = 2;
constexpr unsigned char slIcon = 4;
constexpr unsigned char slWorkingDirectory = 8;
constexpr unsigned char slHotKey = 16;
constexpr unsigned char slShowCommand = 32;

struct TShellLinkDescription {
  std::string Path;
  unsigned char Mask = 0;
  std::string Description;
  std::string Arguments;
  std::string IconPath;
  int IconIndex = 0;
  std::string WorkingDirectory;
  int ShowCommand = 0;
  WORD HotKey = 0;
};

// Creates or replaces the shortcut LinkFile; a negative result is the failing step's.
HRESULT CreateShellLink(const std::string& LinkFile, const TShellLinkDescription& Description);
