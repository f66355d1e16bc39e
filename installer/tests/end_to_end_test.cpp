// The distribution installed into a fresh machine, then the installed rotator run as Windows runs
// it at log-on.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <utility>
#include <vector>
#include <thread>

#include "host/testing/child_process.h"
#include "host/testing/silent_display.h"
#include "installer/install_form.h"
#include "rotator/main_form.h"
#include "rotator/options_form.h"
#include "vbrun/settings.h"
#include "vcl/testing/application.h"
#include "vcl/testing/dialogs.h"
#include "win32/kernel.h"
#include "win32/machine.h"
#include "win32/shell.h"
#include "win32/startup_group.h"
#include "win32/testing/machine_root.h"
#include "host/testing/outside_tools.h"
#include "host/testing/time_limits.h"

namespace {

std::string Bytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return "<missing>";
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Runs the program and waits at most `seconds`; the exit status, or -1 when it had to be stopped.
int RunFor(const std::vector<std::string>& argv, int seconds) {
  const int child = shell::StartProgram(argv);
  if (child == 0) return -2;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  int status = 0;
  while (::waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > end) {
      ::kill(child, SIGKILL);
      ::waitpid(child, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -3;
}

class EndToEnd : public ::testing::Test {
 protected:
  void Installed() {
    std::ofstream(root.DriveC() / "logo.sys", std::ios::binary) << std::string(2000, 'u');
    std::ofstream(root.DriveC() / "windows/logow.sys", std::ios::binary) << "user wait";
    std::ofstream(root.DriveC() / "windows/logos.sys", std::ios::binary) << "user down";
    installer::TForm1 form(Application);
    ASSERT_TRUE(form.InstallSteps(machine::WindowsPath(STARTLOGO_DISTRIBUTION)).empty());
  }
  void Install() {
    installer::TForm1 form(Application);
    ASSERT_TRUE(form.InstallSteps(machine::WindowsPath(STARTLOGO_DISTRIBUTION)).empty());
  }
  // The rotator's "Uninstall Logo", answered Yes; the message it ends with.
  std::string Uninstall() {
    auto* options = new rotator::TForm5(Application);
    options->Load();
    dialogs_.Answer(IDYES);
    options->Command4_Click();
    delete options;
    return dialogs_.Calls().back().Text;
  }
  static void PutStartLogo(ScopedMachineRoot& machine, const std::string& bytes) {
    std::ofstream(machine.DriveC() / "logo.sys", std::ios::binary) << bytes;
  }
  // Whether the slot holds one of the library's files.
  bool FromLibrary(const std::string& slot, const std::string& library) {
    const std::string content = Bytes(root.DriveC() / slot);
    for (const auto& entry : std::filesystem::directory_iterator(root.DriveC() / "logos" / library))
      if (Bytes(entry.path()) == content) return true;
    return false;
  }
  std::string Logo() { return (root.DriveC() / "logos/logo.exe").string(); }

  ScopedMachineRoot root;
  TDialogRecorder dialogs_;  // outlives the application object, whose end may still ask
  TApplicationScope application_;
};

TEST_F(EndToEnd, InstallThenLogoRunRotatesAllThreeSlots) {
  Installed();
  const auto link = shell::ReadLink(shell::ProgramGroupFolder("Startup") + "\\Logo.lnk");
  ASSERT_TRUE(link) << "the StartUp shortcut is no Shell Link";
  EXPECT_EQ(link->Target, "c:\\logos\\logo.exe");
  EXPECT_EQ(link->Arguments, "");
  if (HaveTool("lnkinfo")) {
    const auto file = root.DriveC() / "windows/Start Menu/Programs/StartUp/Logo.lnk";
    EXPECT_EQ(std::system(("lnkinfo '" + file.string() + "' >/dev/null 2>&1").c_str()), 0);
  }
  // Each library holds its sample and the original: rotate until both have been seen, which also
  // shows the picks are random.
  bool sawSample = false, sawOriginal = false;
  for (int run = 0; run < 40 && !(sawSample && sawOriginal); ++run) {
    ASSERT_EQ(RunFor({Logo(), "RUN"}, 20), 0);
    EXPECT_TRUE(FromLibrary("logo.sys", "start"));
    EXPECT_TRUE(FromLibrary("windows/logow.sys", "wait"));
    EXPECT_TRUE(FromLibrary("windows/logos.sys", "down"));
    const std::string start = Bytes(root.DriveC() / "logo.sys");
    sawSample |= start == Bytes(root.DriveC() / "logos/start/vorrelstart.sys");
    sawOriginal |= start == std::string(2000, 'u');
    std::this_thread::sleep_for(std::chrono::milliseconds(15));  // the clock seeds each run
  }
  EXPECT_TRUE(sawSample);
  EXPECT_TRUE(sawOriginal);
  EXPECT_EQ(Bytes(root.DriveC() / "logos/start/vorrelstart.sys").size(), 129078u);
}

// How many runs a kill test kills: a few here, hundreds by hand with STARTLOGO_KILL_RUNS.
int KillRuns(int Default) {
  const char* runs = std::getenv("STARTLOGO_KILL_RUNS");
  return runs ? std::atoi(runs) : Default;
}

// The temporaries of replaces under `folder`.
std::vector<std::string> Temporaries(const std::filesystem::path& folder) {
  std::vector<std::string> found;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
    if (entry.path().filename().string().starts_with(".~")) found.push_back(entry.path().string());
  return found;
}

// Moments from just after the start to a little after a whole run's end.
class KillMoments {
 public:
  explicit KillMoments(double WholeSeconds) : moment_(0.001, WholeSeconds * 1.2) {}
  double Next() { return moment_(random_); }

 private:
  std::mt19937 random_{std::random_device{}()};
  std::uniform_real_distribution<double> moment_;
};

TEST_F(EndToEnd, RotationsKilledAtAnyMomentLeaveWholeSlotsAndNothingAfterTheNextRun) {
  Installed();
  const ChildRun whole = RunWithoutDesktop({Logo(), "RUN"});
  ASSERT_EQ(whole.Status, 0);
  KillMoments moments(whole.Seconds);
  int leaving = 0;
  for (int run = 0; run < KillRuns(12); ++run) {
    const double at = moments.Next();
    RunWithoutDesktop({Logo(), "RUN"}, {}, at);
    leaving += Temporaries(root.Path()).empty() ? 0 : 1;
    EXPECT_TRUE(FromLibrary("logo.sys", "start")) << "killed after " << at << " s";
    EXPECT_TRUE(FromLibrary("windows/logow.sys", "wait")) << "killed after " << at << " s";
    EXPECT_TRUE(FromLibrary("windows/logos.sys", "down")) << "killed after " << at << " s";
  }
  std::printf("%d of %d killed runs left temporaries for the next run to remove\n", leaving, KillRuns(12));
  ASSERT_EQ(RunWithoutDesktop({Logo(), "RUN"}).Status, 0);
  EXPECT_EQ(Temporaries(root.Path()), std::vector<std::string>{});
}

TEST_F(EndToEnd, InstallsKilledAtAnyMomentLeaveWholeFilesAndNothingAfterTheNextInstall) {
  const std::string userLogo(2000, 'u');
  PutStartLogo(root, userLogo);
  const std::filesystem::path dist = STARTLOGO_DISTRIBUTION;
  // Each installed file is missing or a whole copy of its source.
  const std::vector<std::pair<std::string, std::string>> installed = {
      {"logos/logo.exe", Bytes(dist / "logo.exe")},
      {"logos/start/vorrelstart.sys", Bytes(dist / "vorrelstart.sys")},
      {"logos/wait/vorrelwait.sys", Bytes(dist / "vorrelwait.sys")},
      {"logos/start/originalstart.sys", userLogo},
      {"logo.sys", userLogo}};
  auto killedAfter = [&](double seconds) {
    const pid_t child = ::fork();
    if (child < 0) {  // no child to kill: kill(-1) would reach every process
      ADD_FAILURE() << "fork failed";
      return -1.0;
    }
    if (child == 0) {
      installer::TForm1 form(Application);
      form.InstallSteps(machine::WindowsPath(dist));
      ::_exit(0);
    }
    const auto start = std::chrono::steady_clock::now();
    if (seconds > 0) std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  const auto started = std::chrono::steady_clock::now();
  Install();
  KillMoments moments(std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
  int leaving = 0;
  for (int run = 0; run < KillRuns(3); ++run) {  // an install copies 40 MB, slow under the sanitizers
    const double at = killedAfter(moments.Next());
    leaving += Temporaries(root.Path()).empty() ? 0 : 1;
    for (const auto& [file, content] : installed) {
      const std::string now = Bytes(root.DriveC() / file);
      EXPECT_TRUE(now == "<missing>" || now == content) << file << " killed after " << at << " s";
    }
  }
  std::printf("%d of %d killed installs left temporaries for the next to remove\n", leaving, KillRuns(3));
  Install();
  EXPECT_EQ(Temporaries(root.Path()), std::vector<std::string>{});
}

TEST_F(EndToEnd, OnlyRunExactlyIsSilent) {
  Installed();
  std::filesystem::remove(root.DriveC() / "logos/start/originalstart.sys");
  std::filesystem::copy_file(root.DriveC() / "logos/start/vorrelstart.sys", root.DriveC() / "logos/start/none.sys");
  std::filesystem::remove(root.DriveC() / "logos/start/vorrelstart.sys");
  // An ordinary start shows the window, which nobody sees here (nothing drives the child's
  // headless display): it ends at once and rotates nothing, even set to close itself.
  vb::SaveSetting("Plumtrey", "Logo", "Shut", "Yes");
  vb::SaveSetting("Plumtrey", "Logo", "Time", "1");
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{{"run"}, {" RUN"}, {"RUN", "x"}}) {
    std::vector<std::string> argv{Logo()};
    argv.insert(argv.end(), args.begin(), args.end());
    EXPECT_EQ(RunFor(argv, 20), kNoDesktopExitCode) << args[0];
    EXPECT_EQ(Bytes(root.DriveC() / "logo.sys"), std::string(2000, 'u')) << args[0];
  }
  // "RUN" with only "none.sys" in the start library deletes the startup logo.
  EXPECT_EQ(RunFor({Logo(), "RUN"}, 20), 0);
  EXPECT_FALSE(std::filesystem::exists(root.DriveC() / "logo.sys"));
  EXPECT_TRUE(FromLibrary("windows/logow.sys", "wait"));
}

// Started with no desktop, the installer and the rotator's window say so and end at once; the
// rotator's "RUN" needs nobody.
TEST_F(EndToEnd, WithoutADesktopTheWindowsEndAtOnceAndSayWhy) {
  const std::filesystem::path install = std::filesystem::path(STARTLOGO_DISTRIBUTION) / "install";
  const std::filesystem::path logo = std::filesystem::path(STARTLOGO_DISTRIBUTION) / "logo.exe";
  const struct {
    std::vector<std::string> argv;
    const char* program;
  } cases[] = {{{install.string()}, "install"}, {{logo.string()}, "logo.exe"}, {{logo.string(), "run"}, "logo.exe"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.argv.back());
    const ChildRun run = RunWithoutDesktop(c.argv, root.Path() / "stderr.txt", kHungChildSeconds);
    EXPECT_EQ(run.Status, kNoDesktopExitCode) << run.Errors;
    EXPECT_LT(run.Seconds, BuildSeconds(5));
    EXPECT_EQ(run.Errors.rfind(std::string(c.program) + ": no desktop to show its window on (DISPLAY and "
                                                        "WAYLAND_DISPLAY are not set)",
                               0),
              0u)
        << run.Errors;
    EXPECT_NE(run.Errors.find("\"tarnquill /AUTO\""), std::string::npos) << run.Errors;
    EXPECT_NE(run.Errors.find("\"logo.exe RUN\""), std::string::npos) << run.Errors;
  }
  EXPECT_FALSE(std::filesystem::exists(root.DriveC() / "logos")) << "the installer did nothing";
}

// A desktop named by DISPLAY that does not answer, hung or gone, is no desktop: the installer and
// the rotator's window say which one and end; the rotator's "RUN" still rotates.
TEST_F(EndToEnd, AtADesktopThatDoesNotAnswerTheWindowsEndSayingWhichAndRunStillRotates) {
  Installed();
  const std::filesystem::path install = std::filesystem::path(STARTLOGO_DISTRIBUTION) / "install";
  const struct {
    SilentDisplay::At at;
    const char* reason;
  } displays[] = {{SilentDisplay::At::Listening, "did not answer within 3 s"},
                  {SilentDisplay::At::Nothing, "could not be opened"}};
  for (const auto& d : displays) {
    const SilentDisplay display(d.at);
    ASSERT_NE(display.Name(), "") << "no free display number";
    for (const auto& [argv, program] : {std::pair{std::vector<std::string>{install.string()}, "install"},
                                        std::pair{std::vector<std::string>{Logo()}, "logo.exe"}}) {
      SCOPED_TRACE(display.Name() + " " + program);
      const ChildRun run = RunOnDisplay(display.Name(), argv, root.Path() / "stderr.txt", kHungChildSeconds);
      EXPECT_EQ(run.Status, kNoDesktopExitCode) << run.Errors;
      EXPECT_LT(run.Seconds, BuildSeconds(5));
      EXPECT_EQ(run.Errors.rfind(std::string(program) + ": no desktop to show its window on (the desktop at DISPLAY=" +
                                     display.Name() + " " + d.reason + ")",
                                 0),
                0u)
          << run.Errors;
    }
    std::filesystem::remove(root.DriveC() / "logo.sys");
    EXPECT_EQ(RunOnDisplay(display.Name(), {Logo(), "RUN"}, root.Path() / "stderr.txt", kHungChildSeconds).Status, 0);
    EXPECT_TRUE(FromLibrary("logo.sys", "start"));
  }
}

constexpr const char* kRemoved = "Logo was removed! You will have to delete c:\\logos\\logo.exe";

// A machine without a startup logo: the user adds one between installs, with or without an
// uninstall in between; the last uninstall leaves it in place, byte for byte.
TEST_F(EndToEnd, TheUsersOwnLogoSurvivesInstallingAgainAndUninstalling) {
  const std::string users(3000, 'm');
  for (const bool uninstallFirst : {true, false}) {
    ScopedMachineRoot fresh;
    Install();
    if (uninstallFirst) {
      EXPECT_EQ(Uninstall(), kRemoved);
    }
    PutStartLogo(fresh, users);
    Install();
    EXPECT_EQ(vb::GetSetting("Plumtrey", "Logo", "Oldone"), "Yes") << uninstallFirst;
    EXPECT_EQ(Uninstall(), kRemoved);
    EXPECT_EQ(Bytes(fresh.DriveC() / "logo.sys"), users) << uninstallFirst;
    EXPECT_FALSE(std::filesystem::exists(fresh.DriveC() / "logos/start")) << uninstallFirst;
  }
}

// The rotator puts a library logo into the slot; the uninstall removes it where the machine had no
// logo ("No") and puts the user's back where it had one ("Yes").
TEST_F(EndToEnd, ARotatedLogoIsRemovedOrTheOriginalPutBack) {
  for (const bool hadLogo : {false, true}) {
    ScopedMachineRoot fresh;
    if (hadLogo) PutStartLogo(fresh, std::string(2000, 'u'));
    Install();
    const std::string sample = Bytes(fresh.DriveC() / "logos/start/vorrelstart.sys");
    for (int run = 0; run < 40 && Bytes(fresh.DriveC() / "logo.sys") != sample; ++run) {
      ASSERT_EQ(RunFor({(fresh.DriveC() / "logos/logo.exe").string(), "RUN"}, 20), 0);
      std::this_thread::sleep_for(std::chrono::milliseconds(15));  // the clock seeds each run
    }
    ASSERT_EQ(Bytes(fresh.DriveC() / "logo.sys"), sample);
    EXPECT_EQ(Uninstall(), kRemoved);
    EXPECT_EQ(Bytes(fresh.DriveC() / "logo.sys"), hadLogo ? std::string(2000, 'u') : "<missing>");
  }
}

// The StartUp shortcut goes with the uninstall, and the log-in entry with the group's last one.
TEST_F(EndToEnd, TheUninstallTakesItsStartUpShortcutAndTheLastOneTheLogInEntry) {
  const std::string startUp = shell::ProgramGroupFolder("Startup");
  const std::filesystem::path entry = shell::LogOnEntryFile(machine::Root());
  shell::Link other;
  other.Target = "c:\\other.exe";
  for (const bool another : {true, false}) {
    SCOPED_TRACE(another ? "with another StartUp shortcut" : "alone");
    if (another) {
      ASSERT_TRUE(shell::WriteLink(startUp + "\\Other.lnk", other));
    }
    Install();
    ASSERT_TRUE(shell::ReadLink(startUp + "\\Logo.lnk"));
    ASSERT_TRUE(std::filesystem::exists(entry));
    EXPECT_EQ(Uninstall(), kRemoved);
    EXPECT_FALSE(shell::ReadLink(startUp + "\\Logo.lnk"));
    EXPECT_EQ(std::filesystem::exists(entry), another);
    if (another) {
      ASSERT_TRUE(DeleteFileA((startUp + "\\Other.lnk").c_str()));
    }
    EXPECT_FALSE(std::filesystem::exists(entry));
  }
}

TEST_F(EndToEnd, AReadOnlyLibraryFileIsNamedByTheUninstall) {
  Install();
  ASSERT_TRUE(SetFileAttributesA("c:\\logos\\wait\\vorrelwait.sys", FILE_ATTRIBUTE_READONLY));
  const std::string message = Uninstall();
  EXPECT_EQ(message,
            std::string(kRemoved) +
                "\n\nThese steps failed:\n- deleting c:\\logos\\wait\\vorrelwait.sys\n- removing c:\\logos\\wait");
  EXPECT_TRUE(std::filesystem::exists(root.DriveC() / "logos/wait/vorrelwait.sys"));
  EXPECT_FALSE(std::filesystem::exists(root.DriveC() / "logos/down"));
  EXPECT_FALSE(std::filesystem::exists(root.DriveC() / "logos/start"));
}

// "RUN" that can put no logo into any slot, on a full drive (no file may grow past one block,
// room for the message but not for a logo: a shell sets the limit and ignores the signal it would
// send) or with read-only slots, says so in one line on standard error and ends with status 1;
// the slots keep their logos.
TEST_F(EndToEnd, RunThatPutsNoLogoIntoAnySlotEndsWithStatusOneAndSaysSo) {
  Installed();
  const std::string large(4096, 'o');  // larger than the block, as every real logo is
  for (const char* original : {"logos/wait/originalwait.sys", "logos/down/originaldown.sys"})
    std::ofstream(root.DriveC() / original, std::ios::binary) << large;
  const char* slots[] = {"logo.sys", "windows/logow.sys", "windows/logos.sys"};
  const auto contents = [&] {
    std::vector<std::string> now;
    for (const char* slot : slots) now.push_back(Bytes(root.DriveC() / slot));
    return now;
  };
  const std::vector<std::string> before = contents();
  const ChildRun full = RunWithoutDesktop({"/bin/sh", "-c", "trap '' XFSZ; ulimit -f 1; exec \"$0\" RUN", Logo()},
                                          root.Path() / "full.txt", kHungChildSeconds);
  for (const char* slot : {"c:\\logo.sys", "c:\\windows\\logow.sys", "c:\\windows\\logos.sys"})
    ASSERT_TRUE(SetFileAttributesA(slot, FILE_ATTRIBUTE_READONLY));
  const ChildRun readOnly = RunWithoutDesktop({Logo(), "RUN"}, root.Path() / "read-only.txt", kHungChildSeconds);
  for (const ChildRun& run : {full, readOnly}) {
    EXPECT_EQ(run.Status, rotator::kNothingRotatedExitCode) << run.Errors;
    EXPECT_TRUE(run.Errors.starts_with("logo.exe RUN: no logo could be put into any slot")) << run.Errors;
    EXPECT_EQ(std::count(run.Errors.begin(), run.Errors.end(), '\n'), 1) << run.Errors;
    EXPECT_TRUE(run.Errors.ends_with("\n")) << run.Errors;
  }
  EXPECT_EQ(contents(), before);
}

}  // namespace
