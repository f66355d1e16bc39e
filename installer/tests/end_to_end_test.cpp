// The distribution installed into a fresh machine, then the installed rotator run as Windows runs
// it at log-on.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "installer/install_form.h"
#include "vbrun/settings.h"
#include "vcl/testing/dialogs.h"
#include "win32/machine.h"
#include "win32/shell.h"
#include "win32/testing/machine_root.h"

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
  EndToEnd() : saved_(Application) { Application = &app_; }
  ~EndToEnd() override {
    Application->ProcessMessages();
    Application = saved_;
  }
  void Installed() {
    std::ofstream(root.DriveC() / "logo.sys", std::ios::binary) << std::string(2000, 'u');
    std::ofstream(root.DriveC() / "windows/logow.sys", std::ios::binary) << "user wait";
    std::ofstream(root.DriveC() / "windows/logos.sys", std::ios::binary) << "user down";
    installer::TForm1 form(Application);
    ASSERT_TRUE(form.InstallSteps(machine::WindowsPath(STARTLOGO_DISTRIBUTION)).empty());
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
  TApplication app_{nullptr};
  TApplication* saved_;
  TDialogRecorder dialogs_;
};

TEST_F(EndToEnd, InstallThenLogoRunRotatesAllThreeSlots) {
  Installed();
  const auto link = shell::ReadLink(shell::ProgramGroupFolder("Startup") + "\\Logo.lnk");
  ASSERT_TRUE(link) << "the StartUp shortcut is no Shell Link";
  EXPECT_EQ(link->Target, "c:\\logos\\logo.exe");
  EXPECT_EQ(link->Arguments, "");
  if (std::system("command -v lnkinfo >/dev/null 2>&1") == 0) {
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

TEST_F(EndToEnd, OnlyRunExactlyIsSilent) {
  Installed();
  std::filesystem::remove(root.DriveC() / "logos/start/originalstart.sys");
  std::filesystem::copy_file(root.DriveC() / "logos/start/vorrelstart.sys", root.DriveC() / "logos/start/none.sys");
  std::filesystem::remove(root.DriveC() / "logos/start/vorrelstart.sys");
  // An ordinary start closes itself after a second and rotates nothing.
  vb::SaveSetting("Plumtrey", "Logo", "Shut", "Yes");
  vb::SaveSetting("Plumtrey", "Logo", "Time", "1");
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{{"run"}, {" RUN"}, {"RUN", "x"}}) {
    std::vector<std::string> argv{Logo()};
    argv.insert(argv.end(), args.begin(), args.end());
    EXPECT_EQ(RunFor(argv, 20), 0) << args[0];
    EXPECT_EQ(Bytes(root.DriveC() / "logo.sys"), std::string(2000, 'u')) << args[0];
  }
  // "RUN" with only "none.sys" in the start library deletes the startup logo.
  EXPECT_EQ(RunFor({Logo(), "RUN"}, 20), 0);
  EXPECT_FALSE(std::filesystem::exists(root.DriveC() / "logo.sys"));
  EXPECT_TRUE(FromLibrary("windows/logow.sys", "wait"));
}

}  // namespace
