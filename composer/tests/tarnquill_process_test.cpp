// The program itself, run as a process from a copy in the machine's own folder with nobody at a
// desktop: "/AUTO" as the StartUp shortcut runs it at log-on.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <thread>

#include "composer/startup_routines.h"
#include "composer_test_support.h"
#include "logo_form_fixture.h"
#include "win32/machine.h"
#include "win32/shell.h"

namespace {

struct TRun {
  int Status = -1;  // the exit status; -1 when it had to be stopped
  double Seconds = 0;
  std::string Errors;  // standard error
};

class TarnquillProcessTest : public LogoFormTest {
 protected:
  TarnquillProcessTest() {
    const std::filesystem::path built = TARNQUILL_PROGRAM;
    folder_ = root.DriveC() / "tarnquill";
    std::filesystem::create_directories(folder_);
    for (const auto& entry : std::filesystem::directory_iterator(built.parent_path()))
      if (entry.is_regular_file() && entry.path().filename() != "logo.sys")
        std::filesystem::copy_file(entry.path(), folder_ / entry.path().filename());
    std::filesystem::permissions(Program(), std::filesystem::perms::owner_all);
  }

  std::filesystem::path Program() const { return folder_ / std::filesystem::path(TARNQUILL_PROGRAM).filename(); }
  std::string WindowsFolder() const { return machine::WindowsPath(folder_) + "\\"; }

  // Runs the program as log-on would, with no desktop to show on, for at most `seconds`.
  TRun Run(const std::vector<std::string>& Arguments, int Seconds = 5) const {
    std::vector<std::string> argv{Program().string()};
    argv.insert(argv.end(), Arguments.begin(), Arguments.end());
    return RunHost(argv, Seconds);
  }
  TRun RunHost(const std::vector<std::string>& Argv, int Seconds) const {
    const std::filesystem::path errors = root.Path() / "stderr.txt";
    const auto start = std::chrono::steady_clock::now();
    // Everything the child needs is made before the fork: only async-signal-safe calls after it.
    std::vector<char*> args;
    for (const std::string& a : Argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::vector<std::string> environment;
    for (char** e = environ; *e; ++e) {
      const std::string entry = *e;
      if (entry.rfind("DISPLAY=", 0) != 0 && entry.rfind("WAYLAND_DISPLAY=", 0) != 0 &&
          entry.rfind("STARTLOGO_DISPLAY=", 0) != 0)
        environment.push_back(entry);
    }
    std::vector<char*> envp;
    for (std::string& e : environment) envp.push_back(e.data());
    envp.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
      const int fd = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      ::dup2(fd, 2);
      const int null = ::open("/dev/null", O_RDWR);
      ::dup2(null, 0);
      ::dup2(null, 1);
      ::execve(args[0], args.data(), envp.data());
      ::_exit(127);
    }
    TRun run;
    int status = 0;
    const auto end = start + std::chrono::seconds(Seconds);
    while (::waitpid(child, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > end) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        run.Errors = ReadBytes(errors);
        return run;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    run.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -2;
    run.Errors = ReadBytes(errors);
    return run;
  }

  // Settings stored as the user's "Save changes and exit" stores them.
  void StoreSettings(const std::function<void(TfmLogo&)>& Change) {
    TfmLogo* form = MakeForm();
    Change(*form);
    form->btSaveClick(form->btSave);
    FreeForm(form);
  }

  std::filesystem::path Logo() const { return root.DriveC() / "logo.sys"; }

 private:
  std::filesystem::path folder_;
};

TEST_F(TarnquillProcessTest, AutoInAnyCaseWritesAPaletteLogoAndEnds) {
  for (const char* argument : {"/AUTO", "/auto"}) {
    std::filesystem::remove(Logo());
    const TRun run = Run({argument});
    EXPECT_EQ(run.Status, 0) << argument << ": " << run.Errors;
    EXPECT_LT(run.Seconds, 5.0) << argument;
    ASSERT_EQ(ReadBytes(Logo()).size(), 129078u) << argument;
    if (std::system("command -v identify >/dev/null 2>&1") != 0) continue;
    const std::string command = "identify -format '%w %h %r' '" + Logo().string() + "' > '" +
                                (root.Path() / "identify.txt").string() + "' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << argument;
    const std::string described = ReadBytes(root.Path() / "identify.txt");
    EXPECT_EQ(described.rfind("320 400 ", 0), 0u) << described;
    EXPECT_NE(described.find("PseudoClass"), std::string::npos) << described;  // a palette picture
  }
  std::filesystem::remove(Logo());
  const TRun second = Run({"x", "/AUTO"}, 2);  // not "/AUTO" first: the window waits for a user
  EXPECT_FALSE(std::filesystem::exists(Logo()));
  (void)second;
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

TEST_F(TarnquillProcessTest, ABrokenBackgroundPictureEndsWithStatusOneAndSaysWhy) {
  WriteLines(root.DriveC() / "broken.bmp", {"BM but not a bitmap"});
  StoreSettings([](TfmLogo& form) {
    form.rgBackground->SetItemIndex(2);
    form.btBitmap->SetCaption("c:\\broken.bmp");
  });
  const TRun run = Run({"/AUTO"});
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
  if (std::system("command -v lnkinfo >/dev/null 2>&1") == 0) {
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
  const TRun run = RunHost({machine::HostPath(link->Target).string(), link->Arguments}, 5);
  EXPECT_EQ(run.Status, 0) << run.Errors;
  EXPECT_EQ(ReadBytes(Logo()).size(), 129078u);
}

}  // namespace
