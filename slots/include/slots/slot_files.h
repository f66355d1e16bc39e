#pragma once
// The slot manager's work on files, which the main window's handlers call: the start-up checks,
// and the backup, restore (or switch) and restore-originals of a slot. Every copy is checked; a
// failure is reported in the status text and leaves the files it did not reach as they were.
#include <array>
#include <functional>
#include <string>

#include "slots/slot_paths.h"
#include "win32/types.h"

// A handler's outcome: whether a slot's file changed, and the status bar's text.
struct TSlotOutcome {
  bool Changed = false;
  std::string Status;
};

// What the look at a switch's temporary file found: none left; one that a switch interrupted
// between its second and third copy left, now finished; one kept, which may hold the only copy
// of a picture (neither the logo nor the backup, while they differ), or could not be mended.
enum TSwitchMend { smNone, smFinished, smKept };

// Loads a logo or backup file into the slot's picture; raises when the file cannot be read.
using TLoadLogo = std::function<void(int Slot, const std::string& Path)>;

class TSlotFiles {
 public:
  TSlotFiles(const std::string& WinDir, const std::string& StartDir);

  const TSlotPaths& Paths() const { return paths_; }
  const std::string& StartDir() const { return startDir_; }
  // The owner window of the questions (MessageBoxA).
  HWND Owner = nullptr;
  // Set while the slot's logo file (backup file) does not exist.
  std::array<bool, kSlotCount> LogoMissing{}, BackupMissing{};
  // The logos the last Start could not read: "path: message", one a line.
  std::string Unreadable;

  // Clears the file's read-only and then its hidden attribute where set.
  static void CheckAttribs(const std::string& Path);
  // "BACKUP" and "ORIGINAL" under the start folder, created when missing.
  void MakeFolders() const;
  // The originals get the archive attribute only; each missing one becomes a copy of its slot's
  // logo, so the first logo seen in a slot is kept for good.
  void CheckOri() const;
  // The backups get the archive attribute only; BackupMissing from the files.
  void CheckBack();
  // LogoMissing and BackupMissing from the files.
  void CheckFlags();

  // The window's start, holding the locks of the slots: folders, attributes, each present logo
  // loaded, originals, backups, and the switches an interruption left unfinished. A logo that cannot be read is
  // reported and the start goes on. Returns the last status text.
  std::string Start(const TLoadLogo& LoadLogo);
  // Copies the slot's logo over its backup.
  TSlotOutcome Backup(int Slot);
  // Mends an interrupted switch, then asks whether to switch logo and backup (Yes), to copy the
  // backup over the logo (No), or neither (Cancel).
  TSlotOutcome Restore(int Slot);
  // The temporary file an interrupted switch of the slot left, once that switch is over (made by
  // this process, or by one that has ended): an empty one or a copy of the logo or of the backup
  // is deleted; the old logo, while the backup has gone over the logo, goes into the backup.
  // Anything else stays, and so does any file of that name that no switch made (a user's own, a
  // link, a folder).
  TSwitchMend MendSwitch(int Slot);
  // Offers a backup of each slot, then copies each original over its logo and reloads it; a
  // missing or unreadable original is skipped, reported, and the next slot goes on.
  TSlotOutcome RestoreOriginals(const TLoadLogo& LoadLogo);
  // After a swap: the logo exists; the status text of the swap.
  std::string Swapped(int Slot);

 private:
  // After the mend: logo to the temporary file (made first, marked as ours), backup over logo,
  // temporary file over backup, temporary file deleted. Each copy replaces its target whole, so a
  // kill leaves each file old or new and the next start or Restore finishes the switch. A failed
  // copy undoes the steps before it; a missing logo just takes the backup. The whole switch holds
  // the slot's lock, so another Corvane's start or switch waits for it.
  TSlotOutcome Switch(int Slot);
  // MendSwitch for a caller that holds the slot's lock.
  TSwitchMend MendLocked(int Slot);

  std::string startDir_;
  TSlotPaths paths_;
};

// The logo path with its last three characters replaced by "tmp".
std::string SwitchTempPath(const std::string& LogoPath);
