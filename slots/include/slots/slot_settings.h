#pragma once
// Corvane's registry values under HKEY_CURRENT_USER\Software\Ostrelle\Corvane 2.0: the swap
// dialog's folder and filter entry and the main window's position. Every value has a default, so
// a key left without some of them (a program that ended without closing its window) still starts.
#include <string>

inline constexpr char kSlotSettingsKey[] = "Software\\Ostrelle\\Corvane 2.0";
// The swap dialog's filter has nine entries; LastUsedIndex indexes them.
inline constexpr int kFilterEntryCount = 9;

struct TSlotSettings {
  std::string LastUsedDir;
  int LastUsedIndex = 0;
  int Left = 0, Top = 0;
};

// Reads the values; a missing key is created with "LastUsedDir" = StartDir and "LastUsedIndex"
// = 0. A value that is missing or of another type takes its default: StartDir, 0, DefaultLeft,
// DefaultTop. LastUsedIndex is held to the filter's entries.
TSlotSettings ReadSlotSettings(const std::string& StartDir, int DefaultLeft, int DefaultTop);
// Writes all four values, creating the key when missing.
void WriteSlotSettings(const TSlotSettings& Settings);
// Index into the filter's entries: 0 to 8.
int ClampFilterIndex(int Index);
// The folder for the swap dialog to open: LastUsedDir while it is a folder, else StartDir.
std::string UsableLastDir(const std::string& LastUsedDir, const std::string& StartDir);
