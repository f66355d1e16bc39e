// The program itself, run as a process from a copy in the machine's own folder with nobody at a
// desktop: "/AUTO" as the StartUp shortcut runs it at log-on.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include "composer/startup_routines.h"
#include "composer_test_support.h"
#include "host/testing/child_process.h"
#include "host/testing/silent_display.h"
#include "logo_form_fixture.h"
#include "win32/kernel.h"
#include "win32/machine.h"
#include "win32/shell.h"
#include "host/testing/outside_tools.h"
#include "host/testing/time_limits.h"

namespace {

class TarnquillProcessTest : public LogoFormTest {
 protected:
  TarnquillProcessTest() {
    folder_ = root.DriveC() / "tarnquill";
    program_ = CopyProgramFolder(TARNQUILL_PROGRAM, folder_, "logo.sys");
    std::filesystem::permissions(Program(), std::filesystem::perms::owner_all);
  }

  std::filesystem::path Program() const { return program_; }
  std::string WindowsFolder() const { return machine::WindowsPath(folder_) + "\\"; }

  // Runs the program as log-on would, with no desktop to show on.
  ChildRun Run(const std::vector<std::string>& Arguments) const {
    std::vector<std::string> argv{Program().string()};
    argv.insert(argv.end(), Arguments.begin(), Arguments.end());
    return RunHost(argv);
  }
  ChildRun RunHost(const std::vector<std::string>& Argv) const {
    return RunWithoutDesktop(Argv, root.Path() / "stderr.txt", kHungChildSeconds);
  }

  // Settings stored as the user's "Save changes and exit" stores them.
  void StoreSettings(const std::function<void(TfmLogo&)>& Change) {
    TfmLogo* form = MakeForm();
    Change(*form);
    form->btSaveClick(form->btSave);
    FreeForm(form);
  }

  std::filesystem::path Logo() const { return root.DriveC() / "logo.sys"; }

  std::filesystem::path folder_, program_;
};

TEST_F(TarnquillProcessTest, AutoInAnyCaseWritesAPaletteLogoAndEnds) {
  for (const char* argument : {"/AUTO", "/auto"}) {
    std::filesystem::remove(Logo());
    const ChildRun run = Run({argument});
    EXPECT_EQ(run.Status, 0) << argument << ": " << run.Errors;
    EXPECT_LT(run.Seconds, BuildSeconds(5)) << argument;
    ASSERT_EQ(ReadBytes(Logo()).size(), 129078u) << argument;
    if (!HaveTool("identify")) continue;
    const std::string command = "identify -format '%w %h %r' '" + Logo().string() + "' > '" +
                                (root.Path() / "identify.txt").string() + "' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << argument;
    const std::string described = ReadBytes(root.Path() / "identify.txt");
    EXPECT_EQ(described.rfind("320 400 ", 0), 0u) << described;
    EXPECT_NE(described.find("PseudoClass"), std::string::npos) << described;  // a palette picture
  }
  std::filesystem::remove(Logo());
  const ChildRun second = Run({"x", "/AUTO"});  // not "/AUTO" first: the window waits for a user
  EXPECT_EQ(second.Status, kNoDesktopExitCode);
  EXPECT_LT(second.Seconds, BuildSeconds(2));
  EXPECT_FALSE(std::filesystem::exists(Logo()));
}

// With nobody to see the window, and no test to drive it, the program says so and ends at once.
TEST_F(TarnquillProcessTest, WithoutADesktopTheWindowEndsAtOnceAndSaysWhy) {
  for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{{}, {"/A"}}) {
    const ChildRun run = Run(arguments);
    EXPECT_EQ(run.Status, kNoDesktopExitCode) << run.Errors;
    EXPECT_LT(run.Seconds, BuildSeconds(2));
    EXPECT_EQ(run.Errors,
              "tarnquill: no desktop to show its window on (DISPLAY and WAYLAND_DISPLAY are not set), and nothing "
              "drives the headless display.\nRuns that need nobody: \"tarnquill /AUTO\" saves a new logo, "
              "\"logo.exe RUN\" rotates the logos.\n");
  }
  EXPECT_FALSE(std::filesystem::exists(Logo()));
}

// A desktop named by DISPLAY that does not answer, hung or gone, is no desktop: the window says
// which one and ends; "/AUTO" saves its logo as without a desktop.
TEST_F(TarnquillProcessTest, AtADesktopThatDoesNotAnswerTheWindowEndsSayingWhichAndAutoStillSaves) {
  const struct {
    SilentDisplay::At at;
    const char* reason;
  } cases[] = {{SilentDisplay::At::Listening, "did not answer within 3 s"},
               {SilentDisplay::At::Nothing, "could not be opened"}};
  for (const auto& c : cases) {
    const SilentDisplay display(c.at);
    ASSERT_NE(display.Name(), "") << "no free display number";
    SCOPED_TRACE(display.Name());
    const ChildRun window =
        RunOnDisplay(display.Name(), {Program().string()}, root.Path() / "stderr.txt", kHungChildSeconds);
    EXPECT_EQ(window.Status, kNoDesktopExitCode) << window.Errors;
    EXPECT_LT(window.Seconds, BuildSeconds(5));
    EXPECT_EQ(window.Errors.rfind("tarnquill: no desktop to show its window on (the desktop at DISPLAY=" +
                                      display.Name() + " " + c.reason + ")",
                                  0),
              0u)
        << window.Errors;
    EXPECT_NE(window.Errors.find("\"tarnquill /AUTO\""), std::string::npos) << window.Errors;
    std::filesystem::remove(Logo());
    const ChildRun autoRun =
        RunOnDisplay(display.Name(), {Program().string(), "/AUTO"}, root.Path() / "stderr.txt", kHungChildSeconds);
    EXPECT_EQ(autoRun.Status, 0) << autoRun.Errors;
    EXPECT_EQ(ReadBytes(Logo()).size(), 129078u);
  }
}

// Headless forced with nothing driving it is as unattended as no desktop: "/AUTO" answers the
// message of the first logo's backup on standard error instead of waiting for ever.
TEST_F(TarnquillProcessTest, ForcedHeadlessAutoWithAFirstBackupEndsByItself) {
  std::ofstream(Logo(), std::ios::binary) << "the user's logo";
  const ChildRun run = RunHost({"/usr/bin/env", "STARTLOGO_DISPLAY=headless", Program().string(), "/AUTO"});
  EXPECT_EQ(run.Status, 0) << run.Errors;
  EXPECT_NE(run.Errors.find("A Backup of your existing startup logo has been done"), std::string::npos) << run.Errors;
  EXPECT_EQ(ReadBytes(Program().parent_path() / "logo.sys"), "the user's logo");
  EXPECT_EQ(ReadBytes(Logo()).size(), 129078u);
}

TEST_F(TarnquillProcessTest, AutoPicksANewJokeEachRun) {
  const std::string jokes = WindowsFolder() + "questions.txt";
  StoreSettings([&](TfmLogo& form) { form.laJokeFile->SetCaption(jokes); });
  std::set<std::string> logos;
  for (int run = 0; run < 10; ++run) {
    ASSERT_EQ(Run({"/AUTO"}).Status, 0);
    logos.insert(ReadBytes(Logo()));
    std::this_thread::sleep_for(std::chrono::milliseconds(15));  // the clock seeds each run
  }
  EXPECT_GE(logos.size(), 2u);
}

// The files a run keeps only while it works: temporaries of a replace and intermediate logos.
std::vector<std::string> LeftOver(const std::filesystem::path& Root) {
  std::vector<std::string> found;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(Root)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with(".~") || (name.starts_with("logo") && name.ends_with(".bmp"))) found.push_back(name);
  }
  return found;
}

// How many runs a kill test kills: a few here, hundreds by hand with STARTLOGO_KILL_RUNS.
int KillRuns() {
  const char* runs = std::getenv("STARTLOGO_KILL_RUNS");
  return runs ? std::atoi(runs) : 12;
}

bool WholeLogoOrNone(const std::filesystem::path& File) {
  if (!std::filesystem::exists(File)) return true;
  const std::string bytes = ReadBytes(File);
  return bytes.size() == 129078u && bytes.starts_with("BM");
}

TEST_F(TarnquillProcessTest, RunsKilledAtAnyMomentLeaveWholeLogosAndNothingAfterTheNextRun) {
  std::filesystem::remove(Logo());
  const ChildRun whole = Run({"/AUTO"});
  ASSERT_EQ(whole.Status, 0) << whole.Errors;
  std::mt19937 random(std::random_device{}());
  std::uniform_real_distribution<double> moment(0.001, whole.Seconds * 1.2);  // 0 would wait for the end
  int leaving = 0;
  for (int run = 0; run < KillRuns(); ++run) {
    const double at = moment(random);
    RunWithoutDesktop({Program().string(), "/AUTO"}, {}, at);
    leaving += LeftOver(root.Path()).empty() ? 0 : 1;
    EXPECT_TRUE(WholeLogoOrNone(Logo())) << "killed after " << at << " s";
    EXPECT_TRUE(WholeLogoOrNone(folder_ / "logo.sys")) << "killed after " << at << " s";
  }
  std::printf("%d of %d killed runs left files for the next run to remove\n", leaving, KillRuns());
  const ChildRun next = Run({"/AUTO"});
  ASSERT_EQ(next.Status, 0) << next.Errors;
  EXPECT_EQ(LeftOver(root.Path()), std::vector<std::string>{});
}

// The new logo has the old one's attributes before it takes its place: no kill finds the slot
// writable or shown.
TEST_F(TarnquillProcessTest, RunsKilledAtAnyMomentKeepAReadOnlyHiddenLogoReadOnlyAndHidden) {
  constexpr DWORD kKept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
  const ChildRun whole = Run({"/AUTO"});
  ASSERT_EQ(whole.Status, 0) << whole.Errors;
  // The same settings save the same logo: the slot gets one of other pixels before each run.
  std::string old = ReadBytes(Logo());
  old.back() ^= 1;
  std::mt19937 random(std::random_device{}());
  std::uniform_real_distribution<double> moment(0.001, whole.Seconds * 1.2);
  int replaced = 0;
  for (int run = 0; run < KillRuns(); ++run) {
    ASSERT_TRUE(SetFileAttributesA("c:\\logo.sys", FILE_ATTRIBUTE_NORMAL));
    std::ofstream(Logo(), std::ios::binary) << old;
    ASSERT_TRUE(SetFileAttributesA("c:\\logo.sys", kKept));
    const double at = moment(random);
    RunWithoutDesktop({Program().string(), "/AUTO"}, {}, at);
    ASSERT_EQ(GetFileAttributesA("c:\\logo.sys") & kKept, kKept) << "killed after " << at << " s";
    EXPECT_TRUE(WholeLogoOrNone(Logo())) << "killed after " << at << " s";
    replaced += ReadBytes(Logo()) != old;
  }
  std::printf("%d of %d killed runs had replaced the read-only hidden logo\n", replaced, KillRuns());
}

TEST_F(TarnquillProcessTest, RunsAtTheSameTimeAllSaveTheirLogo) {
  constexpr int kLoops = 4, kRuns = 4;
  std::vector<std::thread> loops;
  std::atomic<int> failed{0};
  for (int loop = 0; loop < kLoops; ++loop)
    loops.emplace_back([&] {
      for (int run = 0; run < kRuns; ++run)
        if (RunWithoutDesktop({Program().string(), "/AUTO"}, {}, kHungChildSeconds).Status != 0) ++failed;
    });
  for (std::thread& loop : loops) loop.join();
  EXPECT_EQ(failed, 0);
  EXPECT_TRUE(WholeLogoOrNone(Logo()));
  EXPECT_EQ(LeftOver(root.Path()), std::vector<std::string>{});
}

TEST_F(TarnquillProcessTest, ABrokenBackgroundPictureEndsWithStatusOneAndSaysWhy) {
  WriteLines(root.DriveC() / "broken.bmp", {"BM but not a bitmap"});
  StoreSettings([](TfmLogo& form) {
    form.rgBackground->SetItemIndex(2);
    form.btBitmap->SetCaption("c:\\broken.bmp");
  });
  const ChildRun run = Run({"/AUTO"});
  EXPECT_EQ(run.Status, 1);
  EXPECT_FALSE(run.Errors.empty());
  EXPECT_FALSE(std::filesystem::exists(Logo()));
}

TEST_F(TarnquillProcessTest, TheStartupShortcutsTargetWritesTheLogoAsAtLogOn) {
  const std::string program = machine::WindowsPath(Program());
  ShortcutToStartup(program, 0, 0);
  const std::string linkFile = GetStartupFolder() + "\\Tarnquill.LNK";
  const std::optional<shell::Link> link = shell::ReadLink(linkFile);
  ASSERT_TRUE(link);
  EXPECT_EQ(link->Target, program);
  EXPECT_EQ(link->Arguments, "/AUTO");
  EXPECT_EQ(link->Description, "Tarnquill");
  EXPECT_EQ(link->ShowCommand, 7);
  if (HaveTool("lnkinfo")) {
    const std::filesystem::path info = root.Path() / "lnkinfo.txt";
    ASSERT_EQ(
        std::system(("lnkinfo '" + machine::HostPath(linkFile).string() + "' > '" + info.string() + "' 2>&1").c_str()),
        0);
    const std::string text = ReadBytes(info);
    EXPECT_NE(text.find(program), std::string::npos) << text;
    EXPECT_NE(text.find("/AUTO"), std::string::npos) << text;
    EXPECT_NE(text.find("Tarnquill"), std::string::npos) << text;
  }
  // This lnkinfo prints the target's size as the show command: read it from the header itself.
  const std::string bytes = ReadBytes(machine::HostPath(linkFile));
  ASSERT_GE(bytes.size(), 64u);
  EXPECT_EQ(bytes.substr(60, 4), std::string("\x07\0\0\0", 4));
  const ChildRun run = RunHost({machine::HostPath(link->Target).string(), link->Arguments});
  EXPECT_EQ(run.Status, 0) << run.Errors;
  EXPECT_EQ(ReadBytes(Logo()).size(), 129078u);
}

}  // namespace
