#pragma once
// Where Corvane's three logo slots, their backups and their first-found originals lie. The slots
// follow from the Windows folder alone (the startup logo at the root of its drive), the backups
// and originals from the folder the program starts in. Paths are whole strings: no length limit.
#include <array>
#include <string>

enum TLogoSlot { lsStartup = 0, lsWait = 1, lsTurnoff = 2 };
inline constexpr int kSlotCount = 3;

// "LOGO.SYS", "LOGOW.SYS", "LOGOS.SYS": the names the status texts use.
const char* SlotFileName(int Slot);
// "Startup", "Wait", "Turnoff": how the texts name a slot.
const char* SlotTitle(int Slot);

// Startup: the Windows folder's drive letter and ":\LOGO.SYS"; wait and turn-off: the Windows
// folder and "\LOGOW.SYS", "\LOGOS.SYS".
std::string LogoPath(const std::string& WinDir, int Slot);
// StartDir and "\BACKUP\LOGO.LSB" ("LOGOW.LSB", "LOGOS.LSB").
std::string BackupPath(const std::string& StartDir, int Slot);
// StartDir and "\ORIGINAL\LOGO.LSO" ("LOGOW.LSO", "LOGOS.LSO").
std::string OriginalPath(const std::string& StartDir, int Slot);
// The folder and a name below it, with one backslash between them also when the folder is a
// drive's root ("C:\").
std::string JoinPath(const std::string& Folder, const std::string& Name);

struct TSlotPaths {
  std::array<std::string, kSlotCount> Logo, Backup, Original;
};
TSlotPaths SlotPaths(const std::string& WinDir, const std::string& StartDir);
