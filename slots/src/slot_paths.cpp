#include "slots/slot_paths.h"

namespace {

const char* const kFileNames[kSlotCount] = {"LOGO.SYS", "LOGOW.SYS", "LOGOS.SYS"};
const char* const kTitles[kSlotCount] = {"Startup", "Wait", "Turnoff"};
const char* const kBases[kSlotCount] = {"LOGO", "LOGOW", "LOGOS"};

int Clamped(int Slot) { return Slot < 0 || Slot >= kSlotCount ? 0 : Slot; }

}  // namespace

const char* SlotFileName(int Slot) { return kFileNames[Clamped(Slot)]; }
const char* SlotTitle(int Slot) { return kTitles[Clamped(Slot)]; }

std::string JoinPath(const std::string& Folder, const std::string& Name) {
  if (Folder.empty()) return Name;
  const char last = Folder.back();
  return last == '\\' || last == '/' ? Folder + Name : Folder + "\\" + Name;
}

std::string LogoPath(const std::string& WinDir, int Slot) {
  Slot = Clamped(Slot);
  if (Slot == lsStartup) return std::string(1, WinDir.empty() ? 'C' : WinDir[0]) + ":\\" + kFileNames[Slot];
  return JoinPath(WinDir, kFileNames[Slot]);
}

std::string BackupPath(const std::string& StartDir, int Slot) {
  return JoinPath(StartDir, std::string("BACKUP\\") + kBases[Clamped(Slot)] + ".LSB");
}

std::string OriginalPath(const std::string& StartDir, int Slot) {
  return JoinPath(StartDir, std::string("ORIGINAL\\") + kBases[Clamped(Slot)] + ".LSO");
}

TSlotPaths SlotPaths(const std::string& WinDir, const std::string& StartDir) {
  TSlotPaths paths;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    paths.Logo[slot] = LogoPath(WinDir, slot);
    paths.Backup[slot] = BackupPath(StartDir, slot);
    paths.Original[slot] = OriginalPath(StartDir, slot);
  }
  return paths;
}
