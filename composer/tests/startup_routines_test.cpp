#include <gtest/gtest.h>

#include "composer/startup_routines.h"
#include "composer_test_support.h"
#include "vcl/testing/dialogs.h"
#include "win32/machine.h"
#include "win32/registry.h"
#include "win32/shell.h"
#include "win32/testing/machine_root.h"

namespace {

class StartupRoutinesTest : public MachineRootTest {
 protected:
  TDialogRecorder dialogs;
  std::vector<std::string> Texts() {
    std::vector<std::string> texts;
    for (const TDialogRequest& r : dialogs.Calls()) texts.push_back(r.Text);
    return texts;
  }
};

TEST(MsdosSys, OnlyAnUncommentedLogoZeroPreventsLogos) {
  struct TCase {
    const char* Line;
    bool Prevents;
  };
  const TCase cases[] = {
      {"LOGO=0", true},    {"logo=0", true},  {";LOGO=0", false},   {"LOGO=0 ;x", true},
      {"LOGO = 0", false}, {"LOGO=1", false}, {"BootGUI=1", false}, {"; old: LOGO=0", false},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(MsdosSysPreventsLogos({"[Options]", c.Line, "BootMulti=1"}), c.Prevents) << c.Line;
}

TEST_F(StartupRoutinesTest, CheckMsdosSysWarnsWithTheHelpTopicOrSaysNothing) {
  CheckMsdosSys();  // no file
  EXPECT_TRUE(dialogs.Calls().empty());
  WriteLines(root.DriveC() / "MSDOS.SYS", {"[Options]", "Logo=0", "LOGO=0"});
  CheckMsdosSys();
  ASSERT_EQ(dialogs.Calls().size(), 1u);  // once, however many lines set it
  const TDialogRequest shown = dialogs.Calls()[0];
  EXPECT_EQ(shown.Text,
            "It seems as if your MSDOS.SYS file is preventing startup logos to appear. You should edit this file in "
            "order to correct the problem. Click on the Help button for an explanation of this problem");
  EXPECT_EQ(shown.DlgType, mtInformation);
  EXPECT_TRUE(shown.Buttons == (TMsgDlgButtons{mbOK, mbHelp}));
  EXPECT_EQ(shown.HelpCtx, 5000);
}

TEST_F(StartupRoutinesTest, TheShortcutStartsTheProgramWithAutoMinimised) {
  const std::string folder = GetStartupFolder();
  ASSERT_FALSE(folder.empty());
  ShortcutToStartup("c:\\tools\\tarnquill.exe", 300, 200);
  ASSERT_EQ(Texts(), std::vector<std::string>{"A shortcut has been successfully created on the StartUp folder"});
  EXPECT_EQ(dialogs.Calls()[0].X, 300);
  EXPECT_EQ(dialogs.Calls()[0].Y, 200);
  const std::optional<shell::Link> link = shell::ReadLink(folder + "\\Tarnquill.LNK");
  ASSERT_TRUE(link);
  EXPECT_EQ(link->Target, "c:\\tools\\tarnquill.exe");
  EXPECT_EQ(link->Arguments, "/AUTO");
  EXPECT_EQ(link->Description, "Tarnquill");
  EXPECT_EQ(link->ShowCommand, 7);
}

TEST_F(StartupRoutinesTest, WithoutAStartupFolderNothingIsWrittenAndTheErrorShows) {
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                          KEY_ALL_ACCESS, &key),
            ERROR_SUCCESS);
  ASSERT_EQ(RegDeleteValueA(key, "Startup"), ERROR_SUCCESS);
  RegCloseKey(key);
  ShortcutToStartup("c:\\tools\\tarnquill.exe", 10, 20);
  ASSERT_EQ(Texts(), std::vector<std::string>{"ERROR creating a shortcut to Brevicor on the StartUp folder"});
  EXPECT_EQ(dialogs.Calls()[0].DlgType, mtError);
  EXPECT_FALSE(std::filesystem::exists(root.DriveC() / "Tarnquill.LNK"));
}

TEST_F(StartupRoutinesTest, TheFirstLogoIsBackedUpOnceAndAFailureIsNotSilent) {
  std::filesystem::create_directories(root.DriveC() / "tools");
  BackupLogo("c:\\tools\\", 110, 90, false);  // no logo yet: nothing to copy
  EXPECT_TRUE(dialogs.Calls().empty());
  WriteLines(root.DriveC() / "logo.sys", {"first logo"});
  BackupLogo("c:\\tools\\", 110, 90, false);
  BackupLogo("c:\\tools\\", 110, 90, false);  // the copy is there: silent
  ASSERT_EQ(Texts(), std::vector<std::string>{"A Backup of your existing startup logo has been done"});
  EXPECT_EQ(dialogs.Calls()[0].X, 110);
  EXPECT_EQ(ReadBytes(root.DriveC() / "tools" / "logo.sys"), ReadBytes(root.DriveC() / "logo.sys"));

  BackupLogo("c:\\missing folder\\", 110, 90, false);
  ASSERT_EQ(dialogs.Calls().size(), 2u);
  EXPECT_EQ(dialogs.Calls()[1].DlgType, mtWarning);
  EXPECT_NE(dialogs.Calls()[1].Text.find("could not be copied"), std::string::npos);
  testing::internal::CaptureStderr();
  BackupLogo("c:\\missing folder\\", 110, 90, true);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("could not be copied"), std::string::npos);
  EXPECT_EQ(dialogs.Calls().size(), 2u);
}

}  // namespace
