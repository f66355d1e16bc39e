#include "slots/slot_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>

#include "slot_test_files.h"
#include "vcl/sysutils.h"
#include "win32/testing/dialogs.h"

namespace {

using slot_test::BitmapBytes;
using slot_test::Exists;
using slot_test::ReadFile;
using slot_test::WriteFile;

// A machine with the program in its folder; message boxes answered from a queue and recorded.
class SlotFiles : public MachineRootTest {
 protected:
  SlotFiles() : files(slot_test::WindowsFolder(), slot_test::kStartDir) {
    CreateDirectoryA("C:\\Program Files", nullptr);
    CreateDirectoryA(slot_test::kStartDir, nullptr);
  }

  const std::string& Logo(int slot) const { return files.Paths().Logo[slot]; }
  const std::string& Backup(int slot) const { return files.Paths().Backup[slot]; }
  const std::string& Original(int slot) const { return files.Paths().Original[slot]; }
  void WriteLogos() {
    for (int slot = 0; slot < kSlotCount; ++slot) WriteFile(Logo(slot), BitmapBytes({}, slot));
  }
  // The load of the main window: records what it was asked to load.
  TLoadLogo Recorder() {
    return [this](int slot, const std::string& path) { loaded.push_back(std::to_string(slot) + " " + path); };
  }

  TSlotFiles files;
  TMessageBoxRecorder boxes_{MB_YESNOCANCEL | MB_ICONQUESTION};
  std::deque<int>& answers = boxes_.answers;
  std::vector<std::string>& asked = boxes_.asked;
  std::vector<std::string> loaded;
};

TEST_F(SlotFiles, TheFirstStartMakesTheFoldersAndKeepsEachLogoFoundAndLaterStartsNeverOverwriteIt) {
  WriteFile(Logo(lsStartup), BitmapBytes({}, 1));
  WriteFile(Logo(lsTurnoff), BitmapBytes({}, 3));
  const std::string status = files.Start(Recorder());
  const std::filesystem::path start = machine::HostPath(slot_test::kStartDir);
  EXPECT_TRUE(std::filesystem::is_directory(start / "backup"));
  EXPECT_TRUE(std::filesystem::is_directory(start / "original"));
  EXPECT_EQ(ReadFile(Original(lsStartup)), BitmapBytes({}, 1));
  EXPECT_FALSE(Exists(Original(lsWait))) << "no logo, no original";
  EXPECT_EQ(ReadFile(Original(lsTurnoff)), BitmapBytes({}, 3));
  EXPECT_EQ(loaded, (std::vector<std::string>{"0 " + Logo(lsStartup), "2 " + Logo(lsTurnoff)}));
  EXPECT_EQ(status, Logo(lsWait) + " not found ! Select one by clicking Swap !.");
  EXPECT_EQ(files.LogoMissing, (std::array<bool, 3>{false, true, false}));
  EXPECT_EQ(files.BackupMissing, (std::array<bool, 3>{true, true, true}));

  WriteLogos();  // new logos in every slot
  TSlotFiles later(slot_test::WindowsFolder(), slot_test::kStartDir);
  EXPECT_EQ(later.Start(Recorder()), "");
  EXPECT_EQ(ReadFile(Original(lsStartup)), BitmapBytes({}, 1)) << "the first logo seen stays";
  EXPECT_EQ(ReadFile(Original(lsWait)), BitmapBytes({}, 1)) << "the wait slot's first logo";
  EXPECT_EQ(GetFileAttributesA(Original(lsStartup).c_str()), FILE_ATTRIBUTE_ARCHIVE);
}

TEST_F(SlotFiles, FoldersOfAnotherCaseServeAndNoSecondOneIsMade) {
  CreateDirectoryA((std::string(slot_test::kStartDir) + "\\BACKUP").c_str(), nullptr);
  CreateDirectoryA((std::string(slot_test::kStartDir) + "\\Original").c_str(), nullptr);
  WriteLogos();
  files.Start(Recorder());
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(machine::HostPath(slot_test::kStartDir)))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"BACKUP", "Original"}));
  EXPECT_EQ(ReadFile(Original(lsWait)), BitmapBytes({}, lsWait));
}

TEST_F(SlotFiles, AReadOnlyHiddenLogoLosesBothAttributesAtStart) {
  WriteLogos();
  SetFileAttributesA(Logo(lsWait).c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
  files.Start(Recorder());
  EXPECT_EQ(GetFileAttributesA(Logo(lsWait).c_str()), FILE_ATTRIBUTE_ARCHIVE);
}

TEST_F(SlotFiles, AnUnreadableLogoIsReportedAndTheStartGoesOn) {
  WriteLogos();
  const std::string status = files.Start([&](int slot, const std::string& path) {
    if (slot == lsStartup) throw Exception("unrecognized BMP");
    loaded.push_back(path);
  });
  EXPECT_EQ(status, Logo(lsStartup) + ": unrecognized BMP");
  EXPECT_EQ(files.Unreadable, status);
  EXPECT_EQ(loaded.size(), 2u);
  EXPECT_TRUE(Exists(Original(lsTurnoff))) << "the originals are still kept";
}

TEST_F(SlotFiles, BackupReportsInTheSlotsNameAndFailsWithoutTouchingTheFlags) {
  WriteLogos();
  files.Start(Recorder());
  const TSlotOutcome ok = files.Backup(lsWait);
  EXPECT_EQ(ok.Status, "Backup operation of LOGOW.SYS was successfull.");
  EXPECT_EQ(ReadFile(Backup(lsWait)), ReadFile(Logo(lsWait)));
  EXPECT_FALSE(files.BackupMissing[lsWait]);
  EXPECT_EQ(GetFileAttributesA(Backup(lsWait).c_str()), FILE_ATTRIBUTE_ARCHIVE);

  DeleteFileA(Logo(lsTurnoff).c_str());
  const TSlotOutcome failed = files.Backup(lsTurnoff);
  EXPECT_FALSE(failed.Changed);
  EXPECT_EQ(failed.Status,
            "Backup operation of LOGOS.SYS was NOT successfull. Please check if there's enough harddisk space.");
  EXPECT_TRUE(files.BackupMissing[lsTurnoff]);
}

TEST_F(SlotFiles, RestoreYesExchangesLogoAndBackupByteForByteAndLeavesNoTemporaryFile) {
  WriteLogos();
  WriteFile(Backup(lsStartup), BitmapBytes({}, 9));
  files.Start(Recorder());
  answers = {IDYES};
  const TSlotOutcome outcome = files.Restore(lsStartup);
  EXPECT_TRUE(outcome.Changed);
  EXPECT_EQ(outcome.Status, "Restore operation successfully completed.");
  EXPECT_EQ(asked, (std::vector<std::string>{"Make a Switch?: Do you wish to make a backup of the current logo?"}));
  EXPECT_EQ(ReadFile(Logo(lsStartup)), BitmapBytes({}, 9));
  EXPECT_EQ(ReadFile(Backup(lsStartup)), BitmapBytes({}, 0));
  EXPECT_EQ(SwitchTempPath(Logo(lsStartup)), "C:\\LOGO.tmp");
  EXPECT_FALSE(Exists("C:\\LOGO.tmp"));
}

TEST_F(SlotFiles, RestoreNoCopiesTheBackupAndCancelChangesNothing) {
  WriteLogos();
  WriteFile(Backup(lsWait), BitmapBytes({}, 9));
  files.Start(Recorder());
  answers = {IDCANCEL, IDNO};
  EXPECT_EQ(files.Restore(lsWait).Status, "Restore operation cancelled by user.");
  EXPECT_EQ(ReadFile(Logo(lsWait)), BitmapBytes({}, 1));
  const TSlotOutcome no = files.Restore(lsWait);
  EXPECT_TRUE(no.Changed);
  EXPECT_EQ(ReadFile(Logo(lsWait)), BitmapBytes({}, 9));
  EXPECT_EQ(ReadFile(Backup(lsWait)), BitmapBytes({}, 9));
  EXPECT_EQ(asked[0], "Make a switch?: Do you wish to make a backup of the current logo?");
  EXPECT_EQ(files.Restore(lsTurnoff).Status, "Backup file was NOT found. Make a backup first !");
}

// The copies of a switch are checked: a failure stops it and no file is lost.
TEST_F(SlotFiles, AFailedSwitchStopsAndKeepsEveryFile) {
  WriteLogos();
  WriteFile(Backup(lsWait), BitmapBytes({}, 9));
  WriteFile(Backup(lsTurnoff), BitmapBytes({}, 8));
  files.Start(Recorder());
  const std::string failed = "Restore operation was NOT successfull. Please check if there's enough harddisk space.";

  // The backup cannot go over the read-only logo: both stay, the temporary copy goes.
  SetFileAttributesA(Logo(lsWait).c_str(), FILE_ATTRIBUTE_READONLY);
  answers = {IDYES, IDNO};
  TSlotOutcome outcome = files.Restore(lsWait);
  EXPECT_FALSE(outcome.Changed);
  EXPECT_EQ(outcome.Status, failed);
  EXPECT_EQ(ReadFile(Logo(lsWait)), BitmapBytes({}, 1));
  EXPECT_EQ(ReadFile(Backup(lsWait)), BitmapBytes({}, 9));
  EXPECT_FALSE(Exists(SwitchTempPath(Logo(lsWait))));
  EXPECT_EQ(files.Restore(lsWait).Status, failed) << "the No branch is checked too";
  EXPECT_EQ(ReadFile(Logo(lsWait)), BitmapBytes({}, 1));

  // The old logo cannot go over the read-only backup: it goes back into the slot.
  SetFileAttributesA(Backup(lsTurnoff).c_str(), FILE_ATTRIBUTE_READONLY);
  answers = {IDYES};
  outcome = files.Restore(lsTurnoff);
  EXPECT_FALSE(outcome.Changed);
  EXPECT_EQ(outcome.Status, failed);
  EXPECT_EQ(ReadFile(Logo(lsTurnoff)), BitmapBytes({}, 2));
  EXPECT_EQ(ReadFile(Backup(lsTurnoff)), BitmapBytes({}, 8));
  EXPECT_FALSE(Exists(SwitchTempPath(Logo(lsTurnoff))));
}

TEST_F(SlotFiles, RestoreYesWithoutALogoPutsTheBackupIntoTheSlot) {
  WriteFile(Backup(lsWait), BitmapBytes({}, 9));
  files.Start(Recorder());
  ASSERT_TRUE(files.LogoMissing[lsWait]);
  answers = {IDYES};
  const TSlotOutcome outcome = files.Restore(lsWait);
  EXPECT_TRUE(outcome.Changed);
  EXPECT_EQ(outcome.Status, "Restore operation successfully completed.");
  EXPECT_EQ(ReadFile(Logo(lsWait)), BitmapBytes({}, 9));
  EXPECT_EQ(ReadFile(Backup(lsWait)), BitmapBytes({}, 9));
  EXPECT_FALSE(Exists(SwitchTempPath(Logo(lsWait))));
  EXPECT_FALSE(files.LogoMissing[lsWait]);
  EXPECT_EQ(files.Restore(lsTurnoff).Status, "Backup file was NOT found. Make a backup first !") << "neither file";
  EXPECT_FALSE(Exists(Logo(lsTurnoff)));
}

// A switch copies logo A to the temporary file, backup B over the logo, the temporary file over
// the backup, and deletes it. What an interruption leaves is mended at the next start.
TEST_F(SlotFiles, TheStartFinishesOrUndoesAnInterruptedSwitchAndKeepsAnUnknownTemporaryFile) {
  const auto a = BitmapBytes({}, 1), b = BitmapBytes({}, 9), c = BitmapBytes({}, 5);
  const std::vector<std::uint8_t> none;
  struct Case {
    const char* name;
    std::vector<std::uint8_t> logo, backup, temp;  // before the start; empty: no file
    std::vector<std::uint8_t> logoAfter, backupAfter, tempAfter;
    std::string status;
  };
  const Case cases[] = {
      {"after the first copy: undone", a, b, a, a, b, none, ""},
      {"after the second copy: finished", b, b, a, b, a, none, "The interrupted switch of LOGO.SYS was completed."},
      {"after the third copy: finished", b, a, a, b, a, none, ""},
      {"a third picture: kept", a, b, c, a, b, c, ""},
      {"no logo: kept", none, b, a, none, b, a, Logo(lsStartup) + " not found ! Select one by clicking Swap !."},
      {"no backup, a copy of the logo: deleted", a, none, a, a, none, none, ""},
  };
  WriteLogos();
  const std::string temp = SwitchTempPath(Logo(lsStartup));
  for (const Case& t : cases) {
    SCOPED_TRACE(t.name);
    for (const auto& [path, bytes] : {std::pair{Logo(lsStartup), t.logo}, {Backup(lsStartup), t.backup}}) {
      DeleteFileA(path.c_str());
      if (!bytes.empty()) WriteFile(path, bytes);
    }
    DeleteFileA(temp.c_str());
    if (!t.temp.empty()) slot_test::WriteLeftByKilledSwitch(temp, t.temp);
    TSlotFiles later(slot_test::WindowsFolder(), slot_test::kStartDir);
    const std::string status = later.Start(Recorder());
    EXPECT_EQ(status, t.status);
    EXPECT_EQ(Exists(Logo(lsStartup)) ? ReadFile(Logo(lsStartup)) : none, t.logoAfter);
    EXPECT_EQ(Exists(Backup(lsStartup)) ? ReadFile(Backup(lsStartup)) : none, t.backupAfter);
    EXPECT_EQ(Exists(temp) ? ReadFile(temp) : none, t.tempAfter);
  }
}

// A switch killed after it had made its temporary file, before the logo went into it.
TEST_F(SlotFiles, AnEmptyTemporaryFileOfAKilledSwitchIsDeletedAtStart) {
  WriteLogos();
  WriteFile(Backup(lsStartup), BitmapBytes({}, 0));
  const std::string temp = SwitchTempPath(Logo(lsStartup));
  slot_test::WriteLeftByKilledSwitch(temp, {});
  EXPECT_EQ(files.Start(Recorder()), "");
  EXPECT_FALSE(Exists(temp));
  EXPECT_EQ(ReadFile(Backup(lsStartup)), BitmapBytes({}, 0)) << "logo and backup alike: nothing goes over the backup";
}

// A "LOGO.tmp" that no switch made is the user's: never moved, copied into a backup or deleted,
// however much logo and backup are alike, and the switch refuses to go through it.
TEST_F(SlotFiles, AUsersOwnTemporaryFileNameSurvivesStartsAndRestoresUnchanged) {
  const ScopedHostFolder host(root);
  const std::filesystem::path outside = host.Path() / "notes.txt";
  const std::vector<std::uint8_t> text{'m', 'y', ' ', 'n', 'o', 't', 'e', 's'};
  const std::string temp = SwitchTempPath(Logo(lsStartup));
  const std::filesystem::path hostTemp = machine::HostPath(temp);
  WriteLogos();
  enum TKind { Text, Link, Folder };
  for (const TKind kind : {Text, Link, Folder}) {
    for (const bool alike : {true, false}) {
      SCOPED_TRACE(std::string(kind == Text ? "text" : kind == Link ? "link" : "folder") + (alike ? ", alike" : ""));
      std::filesystem::remove_all(hostTemp);
      std::filesystem::remove(outside);
      WriteFile(Backup(lsStartup), BitmapBytes({}, alike ? 0 : 9));
      if (kind == Text) WriteFile(temp, text);
      if (kind == Link) {
        WriteFile(machine::WindowsPath(outside), text);
        std::filesystem::create_symlink(outside, hostTemp);
      }
      if (kind == Folder) std::filesystem::create_directory(hostTemp);
      const auto same = [&] {
        if (kind == Folder) return std::filesystem::is_directory(hostTemp);
        if (kind == Link && !std::filesystem::is_symlink(hostTemp)) return false;
        return ReadFile(temp) == text;
      };
      TSlotFiles later(slot_test::WindowsFolder(), slot_test::kStartDir);
      EXPECT_EQ(later.Start(Recorder()), "");
      EXPECT_TRUE(same()) << "after the start";
      answers = {IDYES};
      EXPECT_EQ(later.Restore(lsStartup).Status,
                "Restore operation was NOT successfull. Please check if there's enough harddisk space. " + temp +
                    " is in the way: it is neither the logo nor its backup.");
      EXPECT_TRUE(same()) << "after Restore Yes";
      EXPECT_EQ(ReadFile(Logo(lsStartup)), BitmapBytes({}, 0));
      EXPECT_EQ(ReadFile(Backup(lsStartup)), BitmapBytes({}, alike ? 0 : 9));
      answers = {IDNO};
      EXPECT_TRUE(later.Restore(lsStartup).Changed) << "No goes through no temporary file";
      EXPECT_TRUE(same()) << "after Restore No";
      WriteFile(Logo(lsStartup), BitmapBytes({}, 0));
    }
  }
}

// The files a slot or its backup link to outside the machine keep their attributes at start.
TEST_F(SlotFiles, TheTargetsOfLinkedSlotsAndBackupsKeepTheirAttributes) {
  const ScopedHostFolder host(root);
  constexpr DWORD kKept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
  WriteLogos();
  files.MakeFolders();
  for (const std::string& linked : {Logo(lsWait), Backup(lsWait)}) {
    const std::filesystem::path target = host.Path() / machine::HostPath(linked).filename();
    WriteFile(machine::WindowsPath(target), BitmapBytes({}, 4));
    ASSERT_TRUE(SetFileAttributesA(machine::WindowsPath(target).c_str(), kKept));
    std::filesystem::remove(machine::HostPath(linked));
    std::filesystem::create_symlink(target, machine::HostPath(linked));
  }
  files.Start(Recorder());
  for (const auto& entry : std::filesystem::directory_iterator(host.Path()))
    EXPECT_EQ(GetFileAttributesA(machine::WindowsPath(entry.path()).c_str()), kKept) << entry.path();
}

// What a killed switch kept because it may be the only copy of a picture stays until logo and
// backup are alike, which tells that it is the old logo.
TEST_F(SlotFiles, ASwitchNeverOverwritesATemporaryFileThatMayBeTheOnlyCopyOfAPicture) {
  WriteLogos();
  WriteFile(Backup(lsStartup), BitmapBytes({}, 9));
  const std::string temp = SwitchTempPath(Logo(lsStartup));
  slot_test::WriteLeftByKilledSwitch(temp, BitmapBytes({}, 5));
  files.Start(Recorder());
  answers = {IDYES, IDNO};
  const TSlotOutcome refused = files.Restore(lsStartup);
  EXPECT_FALSE(refused.Changed);
  EXPECT_EQ(refused.Status, "Restore operation was NOT successfull. Please check if there's enough harddisk space. " +
                                temp + " is in the way: it is neither the logo nor its backup.");
  EXPECT_EQ(ReadFile(Logo(lsStartup)), BitmapBytes({}, 0));
  EXPECT_EQ(ReadFile(Backup(lsStartup)), BitmapBytes({}, 9));
  EXPECT_EQ(ReadFile(temp), BitmapBytes({}, 5));
  EXPECT_TRUE(files.Restore(lsStartup).Changed) << "No needs no temporary file";
  EXPECT_EQ(ReadFile(Logo(lsStartup)), BitmapBytes({}, 9));
  EXPECT_EQ(ReadFile(temp), BitmapBytes({}, 5));

  // Logo and backup now alike, the temporary file is taken for the old logo and the switch
  // finished before the next one: no picture is lost either way.
  answers = {IDYES};
  EXPECT_EQ(files.Restore(lsStartup).Status, "Restore operation successfully completed.");
  EXPECT_EQ(ReadFile(Logo(lsStartup)), BitmapBytes({}, 5));
  EXPECT_EQ(ReadFile(Backup(lsStartup)), BitmapBytes({}, 9));
  EXPECT_FALSE(Exists(temp));
}

TEST_F(SlotFiles, RestoreOriginalsAnsweredNoNoNoCopiesTheOriginalsBackWithoutBackups) {
  WriteLogos();
  files.Start(Recorder());
  for (int slot = 0; slot < kSlotCount; ++slot) WriteFile(Logo(slot), BitmapBytes({}, 5 + slot));
  loaded.clear();
  answers = {IDNO, IDNO, IDNO};
  const TSlotOutcome outcome = files.RestoreOriginals(Recorder());
  EXPECT_EQ(asked,
            (std::vector<std::string>{"Make a backup?: Do you wish to make a backup of the current Startup Logo ?",
                                      "Make a backup?: Do you wish to make a backup of the current Wait Logo ?",
                                      "Make a backup?: Do you wish to make a backup of the current Turnoff Logo ?"}));
  for (int slot = 0; slot < kSlotCount; ++slot) {
    EXPECT_EQ(ReadFile(Logo(slot)), BitmapBytes({}, slot));
    EXPECT_FALSE(Exists(Backup(slot)));
  }
  EXPECT_EQ(loaded.size(), 3u);
  EXPECT_EQ(outcome.Status, "");
}

TEST_F(SlotFiles, RestoreOriginalsBacksUpOnYesStopsOnCancelAndSkipsAMissingOriginal) {
  WriteLogos();
  files.Start(Recorder());
  WriteFile(Logo(lsStartup), BitmapBytes({}, 7));
  answers = {IDYES, IDCANCEL};
  EXPECT_EQ(files.RestoreOriginals(Recorder()).Status, "Restore Originals operation cancelled by user.");
  EXPECT_EQ(ReadFile(Backup(lsStartup)), BitmapBytes({}, 7));
  EXPECT_EQ(ReadFile(Logo(lsStartup)), BitmapBytes({}, 7)) << "nothing restored after Cancel";

  DeleteFileA(Original(lsWait).c_str());
  answers = {IDNO, IDNO, IDNO};
  const TSlotOutcome outcome = files.RestoreOriginals(Recorder());
  EXPECT_EQ(outcome.Status, "Original of LOGOW.SYS was NOT found.");
  EXPECT_EQ(ReadFile(Logo(lsStartup)), BitmapBytes({}, 0));
  EXPECT_EQ(ReadFile(Logo(lsTurnoff)), BitmapBytes({}, 2)) << "the slot after the missing one";
}

TEST_F(SlotFiles, FlagsFollowTheFilesAfterARestore) {
  WriteFile(Backup(lsWait), BitmapBytes({}, 9));
  files.Start(Recorder());
  ASSERT_TRUE(files.LogoMissing[lsWait]);
  answers = {IDNO};
  files.Restore(lsWait);
  EXPECT_FALSE(files.LogoMissing[lsWait]);
  EXPECT_EQ(files.Swapped(lsTurnoff), "Turnoff Logo successfully swapped !");
  EXPECT_FALSE(files.LogoMissing[lsTurnoff]);
}

}  // namespace
