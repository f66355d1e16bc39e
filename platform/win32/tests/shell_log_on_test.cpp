// The log-on: the StartUp group's shortcuts started as Windows starts them, a broken one named
// and passed over; and the machine folder tool that plays it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host/testing/child_process.h"
#include "host/testing/desktop_program.h"
#include "host/testing/time_limits.h"
#include "win32/kernel.h"
#include "win32/machine.h"
#include "win32/shell.h"
#include "win32/startup_group.h"
#include "win32/testing/machine_root.h"
#include "win32/user.h"

namespace {

constexpr char kTouch[] = "Z:\\usr\\bin\\touch";
constexpr char kWork[] = "c:\\work";

class LogOnTest : public MachineRootTest {
 protected:
  void SetUp() override { std::filesystem::create_directories(root.DriveC() / "work"); }
  void TearDown() override {
    for (int child : started_) ::waitpid(child, nullptr, 0);
  }
  static std::string UserStartUp() { return shell::StartUpFolders().front(); }
  std::string CommonStartUp() {
    std::filesystem::create_directories(root.DriveC() / "windows/All Users/Start Menu/Programs/StartUp");
    return "c:\\windows\\All Users\\Start Menu\\Programs\\StartUp";
  }
  static void Put(const std::string& folder, const std::string& name, const shell::Link& link) {
    ASSERT_TRUE(shell::WriteLink(folder + "\\" + name, link)) << name;
  }
  static shell::Link Touching(const std::string& arguments) {
    shell::Link link;
    link.Target = kTouch;
    link.Arguments = arguments;
    link.WorkingDirectory = kWork;
    return link;
  }
  shell::LogOnResult LogOn() {
    shell::LogOnResult result = shell::LogOn();
    started_.insert(started_.end(), result.Started.begin(), result.Started.end());
    return result;
  }
  // Whether the started programs made `file` in the working folder; they are not waited for.
  bool Made(const std::string& file) {
    return WaitFor(std::chrono::seconds(20), [&] { return std::filesystem::exists(root.DriveC() / "work" / file); });
  }

  std::vector<int> started_;
};

TEST_F(LogOnTest, EveryShortcutOfBothGroupsStartsWithItsArgumentsInItsWorkingFolder) {
  Put(UserStartUp(), "Mine.lnk", Touching("mine \"with blank\""));
  Put(CommonStartUp(), "Everyone's.lnk", Touching("common"));
  std::ofstream(root.DriveC() / "windows/Start Menu/Programs/StartUp/notes.txt") << "not a shortcut";
  const shell::LogOnResult result = LogOn();
  EXPECT_EQ(result.Failures, std::vector<std::string>{});
  EXPECT_EQ(result.Started.size(), 2u);
  EXPECT_TRUE(Made("mine"));
  EXPECT_TRUE(Made("with blank"));
  EXPECT_TRUE(Made("common"));
}

TEST_F(LogOnTest, ABrokenShortcutIsNamedAndTheOthersStillStart) {
  shell::Link missing = Touching("");
  missing.Target = "c:\\nowhere\\missing.exe";
  shell::Link notAProgram = Touching("");
  notAProgram.Target = "c:\\notes.txt";
  shell::Link noFolder = Touching("x");
  noFolder.WorkingDirectory = "c:\\gone";
  const struct {
    const char* name;
    shell::Link link;
    const char* said;
  } cases[] = {{"Missing.lnk", missing, "c:\\nowhere\\missing.exe"},
               {"Not a program.lnk", notAProgram, "c:\\notes.txt"},
               {"No folder.lnk", noFolder, "working folder"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScopedMachineRoot fresh;
    std::filesystem::create_directories(fresh.DriveC() / "work");
    std::ofstream(fresh.DriveC() / "notes.txt") << "no program";
    Put(UserStartUp(), c.name, c.link);
    Put(UserStartUp(), "Zeta.lnk", Touching("after"));
    const shell::LogOnResult result = LogOn();
    ASSERT_EQ(result.Failures.size(), 1u);
    EXPECT_EQ(result.Failures[0].rfind(UserStartUp() + "\\" + c.name + ": ", 0), 0u) << result.Failures[0];
    EXPECT_NE(result.Failures[0].find(c.said), std::string::npos) << result.Failures[0];
    EXPECT_EQ(result.Started.size(), 1u);
    EXPECT_TRUE(
        WaitFor(std::chrono::seconds(20), [&] { return std::filesystem::exists(fresh.DriveC() / "work/after"); }));
  }
  std::ofstream(root.DriveC() / "windows/Start Menu/Programs/StartUp/Garbled.lnk") << "not a shell link";
  const shell::LogOnResult garbled = LogOn();
  ASSERT_EQ(garbled.Failures.size(), 1u);
  EXPECT_NE(garbled.Failures[0].find("Garbled.lnk: "), std::string::npos);
}

TEST_F(LogOnTest, TheShortcutsShowCommandReachesTheProgram) {
  shell::Link link;
  link.Target = "Z:\\bin\\sh";
  link.Arguments = "-c \"printf %s $STARTLOGO_SHOW_COMMAND >shown\"";
  link.WorkingDirectory = kWork;
  link.ShowCommand = SW_SHOWMINNOACTIVE;
  Put(UserStartUp(), "Minimised.lnk", link);
  ASSERT_EQ(LogOn().Started.size(), 1u);
  ::waitpid(started_.back(), nullptr, 0);
  std::ifstream shown(root.DriveC() / "work/shown");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(shown), {}), std::to_string(SW_SHOWMINNOACTIVE));
}

// The machine folder tool, run as a session or cron runs it: the machine named on its command line.
TEST_F(LogOnTest, TheToolSaysWhichShortcutFailedAndFailsOnlyWhenNoneStarted) {
  shell::Link missing = Touching("");
  missing.Target = "c:\\nowhere\\missing.exe";
  Put(UserStartUp(), "Missing.lnk", missing);
  ::unsetenv("STARTLOGO_ROOT");  // the folder is named, not inherited
  const std::filesystem::path errors = root.Path() / "errors.txt";
  const std::vector<std::string> logOn{MACHINE_FOLDER_PROGRAM, shell::kLogOnVerb, root.Path().string()};
  ChildRun run = RunWithoutDesktop(logOn, errors, kHungChildSeconds);
  EXPECT_NE(run.Status, 0);
  EXPECT_EQ(run.Errors, "log-on: " + UserStartUp() +
                            "\\Missing.lnk: c:\\nowhere\\missing.exe: No such file or "
                            "directory\n");
  Put(UserStartUp(), "Touch.lnk", Touching("by-the-tool"));
  run = RunWithoutDesktop(logOn, errors, kHungChildSeconds);
  EXPECT_EQ(run.Status, 0);
  EXPECT_NE(run.Errors.find("Missing.lnk"), std::string::npos);
  EXPECT_TRUE(Made("by-the-tool"));
}

}  // namespace
