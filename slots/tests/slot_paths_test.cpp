#include "slots/slot_paths.h"

#include <gtest/gtest.h>

namespace {

TEST(SlotPaths, FollowTheWindowsFolderAndItsDrive) {
  const TSlotPaths d = SlotPaths("D:\\WINDOWS", "E:\\Tools\\Corvane");
  EXPECT_EQ(d.Logo[lsStartup], "D:\\LOGO.SYS");
  EXPECT_EQ(d.Logo[lsWait], "D:\\WINDOWS\\LOGOW.SYS");
  EXPECT_EQ(d.Logo[lsTurnoff], "D:\\WINDOWS\\LOGOS.SYS");
  EXPECT_EQ(d.Backup[lsStartup], "E:\\Tools\\Corvane\\BACKUP\\LOGO.LSB");
  EXPECT_EQ(d.Backup[lsWait], "E:\\Tools\\Corvane\\BACKUP\\LOGOW.LSB");
  EXPECT_EQ(d.Backup[lsTurnoff], "E:\\Tools\\Corvane\\BACKUP\\LOGOS.LSB");
  EXPECT_EQ(d.Original[lsStartup], "E:\\Tools\\Corvane\\ORIGINAL\\LOGO.LSO");
  EXPECT_EQ(d.Original[lsWait], "E:\\Tools\\Corvane\\ORIGINAL\\LOGOW.LSO");
  EXPECT_EQ(d.Original[lsTurnoff], "E:\\Tools\\Corvane\\ORIGINAL\\LOGOS.LSO");
}

TEST(SlotPaths, AStartAtADrivesRootGetsOneBackslash) {
  EXPECT_EQ(BackupPath("C:\\", lsWait), "C:\\BACKUP\\LOGOW.LSB");
  EXPECT_EQ(LogoPath("C:\\WINDOWS\\", lsTurnoff), "C:\\WINDOWS\\LOGOS.SYS");
}

TEST(SlotPaths, LongFoldersAreKeptWhole) {
  const std::string deep = "Z:\\" + std::string(300, 'a');
  EXPECT_EQ(OriginalPath(deep, lsStartup), deep + "\\ORIGINAL\\LOGO.LSO");
  EXPECT_EQ(LogoPath(deep, lsWait).size(), deep.size() + 10);
}

TEST(SlotPaths, TextsNameEachSlot) {
  EXPECT_STREQ(SlotFileName(lsWait), "LOGOW.SYS");
  EXPECT_STREQ(SlotTitle(lsTurnoff), "Turnoff");
}

}  // namespace
