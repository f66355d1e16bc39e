#include "slots/slot_files.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "vcl/streams.h"
#include "vcl/sysutils.h"
#include "win32/kernel.h"
#include "win32/machine.h"
#include "win32/user.h"

namespace {

bool Exists(const std::string& Path) { return GetFileAttributesA(Path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool Copy(const std::string& From, const std::string& To) { return CopyFileA(From.c_str(), To.c_str(), FALSE) != 0; }

// A copy takes its source's attributes; a read-only temporary file must still go.
void Remove(const std::string& Path) {
  SetFileAttributesA(Path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(Path.c_str());
}

constexpr std::int64_t kCompareChunk = 64 * 1024;

// Whether both files can be read whole and hold the same bytes.
bool SameContent(const std::string& A, const std::string& B) {
  try {
    TFileStream a(A, fmOpenRead | fmShareDenyWrite), b(B, fmOpenRead | fmShareDenyWrite);
    const std::int64_t size = a.Size();
    if (b.Size() != size) return false;
    std::vector<char> x(kCompareChunk), y(kCompareChunk);
    for (std::int64_t done = 0; done < size;) {
      const std::int64_t n = std::min(kCompareChunk, size - done);
      if (a.Read(x.data(), n) != n || b.Read(y.data(), n) != n) return false;
      if (std::memcmp(x.data(), y.data(), static_cast<std::size_t>(n)) != 0) return false;
      done += n;
    }
    return true;
  } catch (const Exception&) {
    return false;
  }
}

// A switch's temporary file is its own (marked with its owner) or a user's; only ours is mended,
// and only once the switch that made it is over: in this process, or in one that has ended.
bool OursAndOver(const std::string& Temp) {
  const machine::FileOwner owner = machine::OwnerOf(machine::HostPath(Temp));
  return owner == machine::FileOwner::Self || owner == machine::FileOwner::Ended;
}

std::filesystem::path SlotFolder(const std::string& Logo) { return machine::HostPath(Logo).parent_path(); }

// Slot work that another Corvane on the machine must not see half done holds the lock of the
// logo's folder, where the switch's temporary file lies too. A process takes one lock of a
// folder at a time (a second would wait for the first), and several in the order of the slots.
machine::FolderLock LockSlot(const std::string& Logo) { return machine::FolderLock(SlotFolder(Logo)); }

std::vector<std::unique_ptr<machine::FolderLock>> LockEverySlot(const TSlotPaths& Paths) {
  std::vector<std::filesystem::path> folders;
  std::vector<std::unique_ptr<machine::FolderLock>> locks;
  for (const std::string& logo : Paths.Logo) {
    const std::filesystem::path folder = SlotFolder(logo);
    if (std::find(folders.begin(), folders.end(), folder) != folders.end()) continue;
    folders.push_back(folder);
    locks.push_back(std::make_unique<machine::FolderLock>(folder));
  }
  return locks;
}

// Made by a switch that was stopped before it had copied the logo into it.
bool Empty(const std::string& Path) {
  try {
    return TFileStream(Path, fmOpenRead | fmShareDenyNone).Size() == 0;
  } catch (const Exception&) {
    return false;
  }
}

int Ask(HWND Owner, const std::string& Text, const char* Caption) {
  return MessageBoxA(Owner, Text.c_str(), Caption, MB_YESNOCANCEL | MB_ICONQUESTION);
}

const char kRestoreFailed[] = "Restore operation was NOT successfull. Please check if there's enough harddisk space.";
const TSlotOutcome kRestored{true, "Restore operation successfully completed."};

}  // namespace

std::string SwitchTempPath(const std::string& LogoPath) {
  return LogoPath.substr(0, LogoPath.size() < 3 ? 0 : LogoPath.size() - 3) + "tmp";
}

TSlotFiles::TSlotFiles(const std::string& WinDir, const std::string& StartDir)
    : startDir_(StartDir), paths_(SlotPaths(WinDir, StartDir)) {}

void TSlotFiles::CheckAttribs(const std::string& Path) {
  DWORD attributes = GetFileAttributesA(Path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (attributes & FILE_ATTRIBUTE_READONLY) {
    attributes &= ~FILE_ATTRIBUTE_READONLY;
    SetFileAttributesA(Path.c_str(), attributes);
  }
  if (attributes & FILE_ATTRIBUTE_HIDDEN) SetFileAttributesA(Path.c_str(), attributes & ~FILE_ATTRIBUTE_HIDDEN);
}

void TSlotFiles::MakeFolders() const {
  // Lookups ignore case, so a folder of either case already serves.
  for (const char* folder : {"backup", "original"}) {
    const std::string path = JoinPath(startDir_, folder);
    if (!Exists(path)) CreateDirectoryA(path.c_str(), nullptr);
  }
}

void TSlotFiles::CheckOri() const {
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const std::string& original = paths_.Original[slot];
    SetFileAttributesA(original.c_str(), FILE_ATTRIBUTE_ARCHIVE);
    if (!Exists(original) && Exists(paths_.Logo[slot])) Copy(paths_.Logo[slot], original);
  }
}

void TSlotFiles::CheckBack() {
  for (int slot = 0; slot < kSlotCount; ++slot) {
    SetFileAttributesA(paths_.Backup[slot].c_str(), FILE_ATTRIBUTE_ARCHIVE);
    BackupMissing[slot] = !Exists(paths_.Backup[slot]);
  }
}

void TSlotFiles::CheckFlags() {
  for (int slot = 0; slot < kSlotCount; ++slot) {
    LogoMissing[slot] = !Exists(paths_.Logo[slot]);
    BackupMissing[slot] = !Exists(paths_.Backup[slot]);
  }
}

std::string TSlotFiles::Start(const TLoadLogo& LoadLogo) {
  std::string status;
  Unreadable.clear();
  // A switch of another Corvane is not seen half done: not loaded, kept as an original or mended.
  const auto locks = LockEverySlot(paths_);
  MakeFolders();
  for (const std::string& logo : paths_.Logo) CheckAttribs(logo);
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const std::string& logo = paths_.Logo[slot];
    LogoMissing[slot] = !Exists(logo);
    if (LogoMissing[slot]) {
      status = logo + " not found ! Select one by clicking Swap !.";
      continue;
    }
    try {
      LoadLogo(slot, logo);
    } catch (const Exception& e) {
      status = logo + ": " + e.Message;
      Unreadable += (Unreadable.empty() ? "" : "\n") + status;
    }
  }
  CheckOri();
  CheckBack();
  for (int slot = 0; slot < kSlotCount; ++slot)
    if (MendLocked(slot) == smFinished)
      status = std::string("The interrupted switch of ") + SlotFileName(slot) + " was completed.";
  return status;
}

TSlotOutcome TSlotFiles::Backup(int Slot) {
  const std::string name = SlotFileName(Slot);
  const machine::FolderLock lock = LockSlot(paths_.Logo[Slot]);
  if (!Copy(paths_.Logo[Slot], paths_.Backup[Slot]))
    return {false,
            "Backup operation of " + name + " was NOT successfull. Please check if there's enough harddisk space."};
  BackupMissing[Slot] = false;
  SetFileAttributesA(paths_.Backup[Slot].c_str(), FILE_ATTRIBUTE_ARCHIVE);
  return {true, "Backup operation of " + name + " was successfull."};
}

TSwitchMend TSlotFiles::MendSwitch(int Slot) {
  const machine::FolderLock lock = LockSlot(paths_.Logo[Slot]);
  return MendLocked(Slot);
}

TSwitchMend TSlotFiles::MendLocked(int Slot) {
  const std::string &logo = paths_.Logo[Slot], &backup = paths_.Backup[Slot];
  const std::string temp = SwitchTempPath(logo);
  if (!Exists(temp)) return smNone;
  if (!OursAndOver(temp)) return smKept;
  // Empty, or a copy of the logo or of the backup: the switch had not begun to change them, or
  // was done.
  if (Empty(temp) || SameContent(temp, logo) || SameContent(temp, backup)) {
    Remove(temp);
    return Exists(temp) ? smKept : smNone;
  }
  // Logo and backup alike: the backup had gone over the logo; the old logo goes into the backup.
  if (!SameContent(logo, backup) || !Copy(temp, backup)) return smKept;
  SetFileAttributesA(backup.c_str(), FILE_ATTRIBUTE_ARCHIVE);
  Remove(temp);
  return smFinished;
}

TSlotOutcome TSlotFiles::Switch(int Slot) {
  const std::string &logo = paths_.Logo[Slot], &backup = paths_.Backup[Slot];
  const TSlotOutcome failed{false, kRestoreFailed};
  const machine::FolderLock lock = LockSlot(logo);
  MendLocked(Slot);
  // No logo to keep: the backup goes into the slot.
  if (!Exists(logo)) return Copy(backup, logo) ? kRestored : failed;
  const std::string temp = SwitchTempPath(logo);
  // Marked as ours before the logo goes into it (the copy keeps the mark). A file of that name
  // that is there still is a user's own, or ours holding what may be the only copy of a picture.
  if (!machine::CreateOwnedFile(machine::HostPath(temp))) {
    if (GetLastError() != ERROR_FILE_EXISTS) return failed;
    return {false, std::string(kRestoreFailed) + " " + temp + " is in the way: it is neither the logo nor its backup."};
  }
  if (!Copy(logo, temp)) {
    Remove(temp);
    return failed;
  }
  if (!Copy(backup, logo)) {
    Remove(temp);  // the logo is untouched; the copy of it is not needed
    return failed;
  }
  if (!Copy(temp, backup)) {
    // The old logo goes back into the slot (over the backup's attributes the copy gave it);
    // should that fail too, it stays in the temporary file.
    SetFileAttributesA(logo.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!Copy(temp, logo)) return {true, std::string(kRestoreFailed) + " The current logo was kept as " + temp + "."};
    Remove(temp);
    return failed;
  }
  Remove(temp);
  SetFileAttributesA(backup.c_str(), FILE_ATTRIBUTE_ARCHIVE);  // as a backup made here has
  return kRestored;
}

TSlotOutcome TSlotFiles::Restore(int Slot) {
  const std::string &logo = paths_.Logo[Slot], &backup = paths_.Backup[Slot];
  MendSwitch(Slot);  // the Switch finds what is left of it
  if (!Exists(backup)) return {false, "Backup file was NOT found. Make a backup first !"};
  const int answer = Ask(Owner, "Do you wish to make a backup of the current logo?",
                         Slot == lsStartup ? "Make a Switch?" : "Make a switch?");
  TSlotOutcome outcome = kRestored;
  if (answer == IDYES) outcome = Switch(Slot);
  else if (answer == IDNO) {
    const machine::FolderLock lock = LockSlot(logo);
    if (!Copy(backup, logo)) outcome = {false, kRestoreFailed};
  } else {
    return {false, "Restore operation cancelled by user."};
  }
  CheckFlags();
  return outcome;
}

TSlotOutcome TSlotFiles::RestoreOriginals(const TLoadLogo& LoadLogo) {
  TSlotOutcome outcome;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const std::string question =
        std::string("Do you wish to make a backup of the current ") + SlotTitle(slot) + " Logo ?";
    const int answer = Ask(Owner, question, "Make a backup?");
    if (answer == IDYES) outcome.Status = Backup(slot).Status;
    else if (answer != IDNO)
      return {false, "Restore Originals operation cancelled by user."};
  }
  std::string problems;
  const auto report = [&](const std::string& text) { problems += (problems.empty() ? "" : " ") + text; };
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const std::string& original = paths_.Original[slot];
    const std::string name = SlotFileName(slot);
    if (!Exists(original)) {
      report("Original of " + name + " was NOT found.");
      continue;
    }
    if (!Copy(original, paths_.Logo[slot])) {
      report("Restoring the original of " + name + " was NOT successfull.");
      continue;
    }
    outcome.Changed = true;
    try {
      LoadLogo(slot, paths_.Logo[slot]);
    } catch (const Exception& e) {
      report(paths_.Logo[slot] + ": " + e.Message);
    }
  }
  CheckFlags();
  if (!problems.empty()) outcome.Status = problems;
  return outcome;
}

std::string TSlotFiles::Swapped(int Slot) {
  LogoMissing[Slot] = false;
  return std::string(SlotTitle(Slot)) + " Logo successfully swapped !";
}
