#include "slots/slot_settings.h"

#include <gtest/gtest.h>

#include "slot_test_files.h"
#include "vcl/registry.h"

namespace {

class SlotSettings : public MachineRootTest {
 protected:
  static void Write(const std::function<void(TRegistry&)>& write) {
    TRegistry registry;
    registry.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(registry.OpenKey(kSlotSettingsKey, true));
    write(registry);
  }
};

TEST_F(SlotSettings, TheFirstStartCreatesTheKeyWithTheStartFolderAndTheFirstFilter) {
  const TSlotSettings first = ReadSlotSettings("C:\\Corvane", 120, 80);
  EXPECT_EQ(first.LastUsedDir, "C:\\Corvane");
  EXPECT_EQ(first.LastUsedIndex, 0);
  EXPECT_EQ(first.Left, 120);
  EXPECT_EQ(first.Top, 80);
  TRegistry registry;
  registry.SetRootKey(HKEY_CURRENT_USER);
  ASSERT_TRUE(registry.OpenKey(kSlotSettingsKey, false));
  EXPECT_EQ(registry.ReadString("LastUsedDir"), "C:\\Corvane");
  EXPECT_EQ(registry.ReadInteger("LastUsedIndex"), 0);
  EXPECT_FALSE(registry.ValueExists("Left")) << "the position is written when the window closes";
}

TEST_F(SlotSettings, WrittenValuesComeBack) {
  WriteSlotSettings({"C:\\Pictures", 4, 33, 44});
  const TSlotSettings back = ReadSlotSettings("C:\\Corvane", 0, 0);
  EXPECT_EQ(back.LastUsedDir, "C:\\Pictures");
  EXPECT_EQ(back.LastUsedIndex, 4);
  EXPECT_EQ(back.Left, 33);
  EXPECT_EQ(back.Top, 44);
}

// A program that ended without closing its window leaves a key without some values.
TEST_F(SlotSettings, MissingOrMistypedValuesTakeTheirDefaults) {
  Write([](TRegistry& r) {
    r.WriteString("LastUsedIndex", "three");
    r.WriteInteger("Top", 7);
  });
  const TSlotSettings s = ReadSlotSettings("C:\\Corvane", 10, 20);
  EXPECT_EQ(s.LastUsedDir, "C:\\Corvane");
  EXPECT_EQ(s.LastUsedIndex, 0);
  EXPECT_EQ(s.Left, 10);
  EXPECT_EQ(s.Top, 7);
}

TEST_F(SlotSettings, TheFilterIndexIsHeldToTheNineEntries) {
  for (const auto& [stored, read] : {std::pair{-3, 0}, {0, 0}, {8, 8}, {9, 8}, {1000, 8}}) {
    Write([&](TRegistry& r) { r.WriteInteger("LastUsedIndex", stored); });
    EXPECT_EQ(ReadSlotSettings("C:\\", 0, 0).LastUsedIndex, read) << stored;
  }
}

TEST_F(SlotSettings, AVanishedLastFolderFallsBackToTheStartFolder) {
  CreateDirectoryA("C:\\Pictures", nullptr);
  EXPECT_EQ(UsableLastDir("C:\\Pictures", "C:\\Corvane"), "C:\\Pictures");
  EXPECT_EQ(UsableLastDir("C:\\Gone", "C:\\Corvane"), "C:\\Corvane");
  EXPECT_EQ(UsableLastDir("", "C:\\Corvane"), "C:\\Corvane");
  slot_test::WriteFile("C:\\file.txt", {1});
  EXPECT_EQ(UsableLastDir("C:\\file.txt", "C:\\Corvane"), "C:\\Corvane") << "a file is no folder";
}

}  // namespace
