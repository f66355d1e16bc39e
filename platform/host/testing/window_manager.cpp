// Starting and stopping the tests' window manager. Each runs with a home folder of its own, so that
// the files it makes there on its first start stay out of the user's and apart between tests
// running side by side.
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include <gtest/gtest.h>

#include "host/testing/window_manager.h"

namespace {

// A theme that draws the buttons of actions a window does not allow as disabled, so a screenshot
// shows what the window manager made of our hints.
constexpr const char* kOpenboxConfig =
    "<openbox_config xmlns=\"http://openbox.org/3.4/rc\"><theme><name>Clearlooks-3.4</name>"
    "<titleLayout>NLIMC</titleLayout></theme></openbox_config>\n";
// Settings of the current version, so that fluxbox keeps them instead of writing its defaults; no
// toolbar, which would take a strip of the small test screen, and no wallpaper, whose failure to
// load opens a message window in the middle of the screen.
constexpr const char* kFluxboxConfig =
    "session.configVersion: 13\n"
    "session.screen0.toolbar.visible: false\n"
    "session.styleOverlay: ~/.fluxbox/overlay\n";
constexpr const char* kFluxboxOverlay = "background: none\n";
// Its mouse bindings but for the double click on the title bar that shades the window: xdotool's
// drag by the title bar is taken for one now and then.
constexpr const char* kFluxboxKeys =
    "OnTitlebar Mouse1 :MacroCmd {Raise} {Focus} {ActivateTab}\n"
    "OnTitlebar Move1 :StartMoving\n"
    "OnWindowBorder Move1 :StartMoving\n";

constexpr auto kStopWait = std::chrono::seconds(3);  // fluxbox may not end at SIGTERM
constexpr int kStartAttempts = 5;

bool WriteFile(const std::string& path, const char* text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  return static_cast<bool>(out.flush());
}

// Window managers talk much of missing settings and sessions: not the tests' business.
void QuietOutput() {
  const int null = ::open("/dev/null", O_WRONLY);
  if (null < 0) return;
  ::dup2(null, STDOUT_FILENO);
  ::dup2(null, STDERR_FILENO);
  ::close(null);
}

}  // namespace

ScopedWindowManager::ScopedWindowManager() {
  const char* asked = std::getenv("STARTLOGO_TEST_WM");
  name_ = asked && *asked ? asked : "openbox";
  if ((running_ = xtest::WindowManagerPresent())) return;
  char home[] = "/tmp/startlogo-wm-XXXXXX";
  if (!::mkdtemp(home)) return;
  home_ = home;
  if (name_ == "openbox") {
    const std::string config = home_ + "/rc.xml";
    if (WriteFile(config, kOpenboxConfig)) Start({"/usr/bin/openbox", "--sm-disable", "--config-file", config});
  } else if (name_ == "fluxbox") {
    const std::string folder = home_ + "/.fluxbox";
    if (::mkdir(folder.c_str(), 0700) == 0 && WriteFile(folder + "/init", kFluxboxConfig) &&
        WriteFile(folder + "/overlay", kFluxboxOverlay) && WriteFile(folder + "/keys", kFluxboxKeys))
      Start({"/usr/bin/fluxbox"});
  } else if (name_ == "xfwm4" && ::access("/usr/bin/xfwm4", X_OK) == 0) {
    // xfwm4 reads its settings over D-Bus: a session bus of its own.
    Start({"/usr/bin/dbus-run-session", "--", "/usr/bin/xfwm4", "--compositor=off"});
  }
}

ScopedWindowManager::~ScopedWindowManager() {
  Stop();
  std::error_code ignored;
  if (!home_.empty()) std::filesystem::remove_all(home_, ignored);
}

// The window manager's group is asked to end, then killed with what it started and left behind.
// The leader is reaped last: until then its pid, the group's id, cannot go to another process.
void ScopedWindowManager::Stop() {
  if (child_ <= 0) return;
  ::kill(-child_, SIGTERM);
  const auto deadline = std::chrono::steady_clock::now() + kStopWait;
  siginfo_t info{};
  while (::waitid(P_PID, static_cast<id_t>(child_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == 0 &&
         std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ::kill(-child_, SIGKILL);
  int status = 0;
  ::waitpid(child_, &status, 0);
  child_ = -1;
}

// Some window managers now and then fail to reach a server that has just started: started again.
bool ScopedWindowManager::Start(const std::vector<std::string>& argv) {
  if (::access(argv[0].c_str(), X_OK) != 0) return false;
  for (int attempt = 0; attempt < kStartAttempts && !running_; ++attempt) {
    if (attempt) std::this_thread::sleep_for(std::chrono::milliseconds(300));
    child_ = ::fork();
    if (child_ == 0) {
      ::setpgid(0, 0);
      ::setenv("HOME", home_.c_str(), 1);
      QuietOutput();
      std::vector<char*> args;
      for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
      args.push_back(nullptr);
      ::execv(args[0], args.data());
      ::_exit(127);
    }
    if (child_ < 0) return false;
    ::setpgid(child_, child_);  // also here, so that a stop before the child ran still reaches its group
    // However slow a busy machine makes the start, it ends in an announcement or an exit; the
    // test's own time-out stops one that hangs.
    int status = 0;
    while (!(running_ = xtest::WindowManagerPresent())) {
      if (::waitpid(child_, &status, WNOHANG) == child_) {
        child_ = -1;
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (!running_) Stop();
  }
  if (!running_) ADD_FAILURE() << argv[0] << " is installed but did not start";
  return running_;
}
