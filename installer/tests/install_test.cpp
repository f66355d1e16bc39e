#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "installer/install_form.h"
#include "vbrun/forms.h"
#include "vbrun/settings.h"
#include "vcl/testing/application.h"
#include "vcl/testing/dialogs.h"
#include "win32/machine.h"
#include "win32/shell.h"
#include "win32/testing/machine_root.h"

namespace {

class Install : public ::testing::Test {
 protected:
  Install() {
    std::filesystem::create_directories(source_);
    for (const char* name : {"logo.exe", "readme.txt", "vorrelstart.sys", "vorrelwait.sys", "vorreldown.sys"})
      Put(source_ / name, std::string("source ") + name);
  }
  static void Put(const std::filesystem::path& file, const std::string& content) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
  }
  std::string Content(const std::string& relative) {
    std::ifstream in(root.DriveC() / relative, std::ios::binary);
    if (!in) return "<missing>";
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  std::string Oldone() { return vb::GetSetting("Plumtrey", "Logo", "Oldone"); }
  std::vector<std::string> RunInstall(installer::TForm1& form) {
    return form.InstallSteps(machine::WindowsPath(source_));
  }

  ScopedMachineRoot root;
  // A source folder named by one letter, inside another folder.
  std::filesystem::path source_ = root.Path() / "media" / "a";
  TDialogRecorder dialogs_;  // outlives the application object, whose end may still ask
  TApplicationScope application_;
};

TEST(InstallSource, OneBackslashBetweenFolderAndFile) {
  EXPECT_EQ(installer::SourceFolder("Z:\\media\\a"), "Z:\\media\\a\\");
  EXPECT_EQ(installer::SourceFolder("Z:\\"), "Z:\\");
}

TEST_F(Install, AFreshMachineGetsTheWholeTree) {
  Put(root.DriveC() / "logo.sys", std::string(500, 's'));
  Put(root.DriveC() / "windows/logow.sys", "current wait");
  Put(root.DriveC() / "windows/logos.sys", "current down");
  installer::TForm1 form(Application);
  EXPECT_TRUE(RunInstall(form).empty());
  EXPECT_EQ(form.bar1->Value(), 15);
  EXPECT_EQ(Content("logos/logo.exe"), "source logo.exe");
  EXPECT_EQ(Content("logos/readme.txt"), "source readme.txt");
  EXPECT_EQ(Content("logos/start/vorrelstart.sys"), "source vorrelstart.sys");
  EXPECT_EQ(Content("logos/wait/vorrelwait.sys"), "source vorrelwait.sys");
  EXPECT_EQ(Content("logos/down/vorreldown.sys"), "source vorreldown.sys");
  EXPECT_EQ(Content("logos/start/originalstart.sys"), std::string(500, 's'));
  EXPECT_EQ(Content("logos/wait/originalwait.sys"), "current wait");
  EXPECT_EQ(Content("logos/down/originaldown.sys"), "current down");
  EXPECT_EQ(Oldone(), "Yes");  // a real logo is put back by the uninstall
  auto link = shell::ReadLink(shell::ProgramGroupFolder("Startup") + "\\Logo.lnk");
  ASSERT_TRUE(link);
  EXPECT_EQ(link->Target, "c:\\logos\\logo.exe");
  EXPECT_EQ(link->Arguments, "");
}

TEST_F(Install, OldoneFollowsTheStartupLogo) {
  const struct {
    int size;
    const char* oldone;
  } cases[] = {{-1, "No"}, {100, "No"}, {101, "Yes"}, {129078, "Yes"}};
  for (const auto& c : cases) {
    ScopedMachineRoot fresh;
    if (c.size >= 0) Put(fresh.DriveC() / "logo.sys", std::string(static_cast<size_t>(c.size), 'x'));
    installer::TForm1 form(Application);
    EXPECT_TRUE(form.InstallSteps(machine::WindowsPath(source_)).empty());
    EXPECT_EQ(vb::GetSetting("Plumtrey", "Logo", "Oldone"), c.oldone) << c.size;
    EXPECT_EQ(std::filesystem::exists(fresh.DriveC() / "logos/start/originalstart.sys"), c.size >= 0);
  }
}

TEST_F(Install, ASecondInstallKeepsTheFirstOriginals) {
  Put(root.DriveC() / "logo.sys", std::string(500, 'u'));
  Put(root.DriveC() / "windows/logow.sys", "user wait");
  {
    installer::TForm1 form(Application);
    RunInstall(form);
  }
  // The rotator has since put library logos in the slots.
  Put(root.DriveC() / "logo.sys", "rotated");
  Put(root.DriveC() / "windows/logow.sys", "rotated wait");
  Put(source_ / "readme.txt", "new readme");
  installer::TForm1 again(Application);
  EXPECT_TRUE(RunInstall(again).empty());
  EXPECT_EQ(again.bar1->Value(), 15);
  EXPECT_EQ(Content("logos/start/originalstart.sys"), std::string(500, 'u'));
  EXPECT_EQ(Content("logos/wait/originalwait.sys"), "user wait");
  EXPECT_EQ(Oldone(), "Yes");  // "rotated" is 7 bytes, but the first install saw the user's logo
  EXPECT_EQ(Content("logos/readme.txt"), "new readme");  // everything else is copied again
}

TEST_F(Install, OldoneIsDecidedWithTheSavedOriginal) {
  static const char kUsersOwn[] =
      "a logo of the user's own, saved by an earlier install that stored the wrong value for it .............";
  // An "Oldone" left by an earlier install, and whether that install's original is still there.
  const struct {
    const char* stored;
    const char* original;
    const char* oldone;
  } cases[] = {
      {"No", nullptr, "Yes"},  // the original is made now, from the user's logo
      {"Yes", nullptr, "Yes"}, {"No", "stub", "No"},  // the kept original keeps its value
      {"", "stub", "No"},  // none stored: judged from the kept original
      {"", nullptr, "Yes"},    {"No", kUsersOwn, "Yes"},  // a value that does not match the kept original is mended
  };
  for (const auto& c : cases) {
    ScopedMachineRoot fresh;
    Put(fresh.DriveC() / "logo.sys", std::string(500, 'u'));
    if (c.original) Put(fresh.DriveC() / "logos/start/originalstart.sys", c.original);
    if (*c.stored) vb::SaveSetting("Plumtrey", "Logo", "Oldone", c.stored);
    installer::TForm1 form(Application);
    EXPECT_TRUE(form.InstallSteps(machine::WindowsPath(source_)).empty());
    EXPECT_EQ(Oldone(), c.oldone) << c.stored << " " << (c.original ? c.original : "none");
    std::ifstream saved(fresh.DriveC() / "logos/start/originalstart.sys", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}), c.original ? c.original : std::string(500, 'u'));
  }
}

TEST_F(Install, MissingFilesAreSkippedAndTheEssentialOnesNamed) {
  std::filesystem::remove(source_ / "readme.txt");
  installer::TForm1 form(Application);
  EXPECT_TRUE(RunInstall(form).empty());  // the read-me is no essential step
  EXPECT_EQ(form.bar1->Value(), 15);
  EXPECT_EQ(Content("logos/start/vorrelstart.sys"), "source vorrelstart.sys");
  EXPECT_EQ(Content("logos/readme.txt"), "<missing>");

  // Install from the test program's own folder, which holds no rotator: both messages still come.
  installer::TForm1 again(Application);
  EXPECT_THROW(again.Command1_Click(), vb::EndProgram);
  const auto calls = dialogs_.Calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].Text,
            "The program Logo has NOT been installed completely!\n\nThese steps failed:\n- copying logo.exe to "
            "c:\\logos");
  EXPECT_EQ(calls[1].Text, "Thank you!");
}

// On a full drive (no file may grow) the report leads with the failure and the installer's exit
// code says it failed. The child process that has the full drive sends the report back.
TEST_F(Install, OnAFullDriveTheReportLeadsWithTheFailureAndTheExitCodeSaysSo) {
  int report[2];
  ASSERT_EQ(::pipe(report), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit nothing{0, 0};
    ::setrlimit(RLIMIT_FSIZE, &nothing);
    installer::TForm1 form(Application);
    try {
      form.Command1_Click();
    } catch (const vb::EndProgram&) {
    }
    const auto calls = dialogs_.Calls();
    const std::string text = std::to_string(vb::ExitCode()) + "|" + (calls.empty() ? "" : calls[0].Text);
    (void)!::write(report[1], text.data(), text.size());
    ::_exit(0);
  }
  ::close(report[1]);
  std::string text;
  char buffer[256];
  for (ssize_t n; (n = ::read(report[0], buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
  ::close(report[0]);
  ::waitpid(child, nullptr, 0);
  EXPECT_TRUE(text.starts_with(std::to_string(installer::kInstallFailedExitCode) +
                               "|The program Logo has NOT been installed completely!\n\nThese steps failed:\n"))
      << text;
  EXPECT_NE(text.find("\n- the StartUp shortcut"), std::string::npos) << text;
}

TEST_F(Install, CancelChangesNothing) {
  installer::TForm1 form(Application);
  EXPECT_THROW(form.Command2_Click(), vb::EndProgram);
  EXPECT_FALSE(std::filesystem::exists(root.DriveC() / "logos"));
  EXPECT_EQ(Oldone(), "");
}

}  // namespace
