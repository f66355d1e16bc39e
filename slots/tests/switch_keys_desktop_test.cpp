// "Make a Switch?" answered with the keyboard on a desktop, as a user answers it: real key presses
// through the X server (xdotool) under a window manager. Tab moves the focus from Yes to No and
// Space presses No: the backup is copied over the logo and nothing is exchanged.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "host/testing/window_manager.h"
#include "host/testing/window_screenshot.h"
#include "host/testing/x_screenshot.h"
#include "host/testing/outside_tools.h"
#include "slot_test_files.h"
#include "slots/slot_files.h"
#include "win32/user.h"

namespace {

using slot_test::BitmapBytes;
using slot_test::Exists;
using slot_test::ReadFile;
using slot_test::WriteFile;

constexpr char kShotFile[] = "switch_keys_after_tab.ppm";
constexpr char kCaption[] = "Make a Switch?";
constexpr int kScreenWidth = 640, kScreenHeight = 480;

struct Keys {
  int ticks = 0;
  bool tabbed = false, done = false;
  std::string faults;
};
Keys gKeys;

bool Xdotool(const std::string& arguments) {
  return std::system(("xdotool " + arguments + " >/dev/null 2>&1").c_str()) == 0;
}

// Once the window manager has the box: activate it, Tab; a moment later the screen is shot and
// Space pressed. Each key is a real X key event for the focused window.
void TypeTabThenSpace(HWND, UINT, UINT_PTR id, DWORD) {
  const xtest::XId box = xtest::FindByTitle(kCaption);
  const bool managed = box && !xtest::Property(box, "_NET_WM_ALLOWED_ACTIONS").empty();
  if (++gKeys.ticks > 100) {
    gKeys.faults += "the box never came up; ";
    KillTimer(nullptr, id);
    std::_Exit(1);  // nothing else could answer it
  }
  if (!managed) return;
  if (!gKeys.tabbed) {
    if (!Xdotool("windowactivate --sync " + std::to_string(box)) || !Xdotool("key --delay 30 Tab"))
      gKeys.faults += "xdotool could not type; ";
    gKeys.tabbed = true;
    gKeys.ticks = 90;  // a few ticks for the focus to show
    return;
  }
  if (gKeys.ticks < 95) return;
  KillTimer(nullptr, id);
  WritePpm(XScreenShot(0, 0, kScreenWidth, kScreenHeight), kShotFile);
  if (!Xdotool("key --delay 30 space")) gKeys.faults += "xdotool could not press Space; ";
  gKeys.done = true;
}

std::string SwitchWithTheKeyboard() {
  ::setenv("STARTLOGO_SCREEN_SIZE", "640x480", 1);  // the X server's, so the box centres on it
  CreateDirectoryA("C:\\Program Files", nullptr);
  CreateDirectoryA(slot_test::kStartDir, nullptr);
  TSlotFiles files(slot_test::WindowsFolder(), slot_test::kStartDir);
  const std::string& logo = files.Paths().Logo[lsStartup];
  const std::string& backup = files.Paths().Backup[lsStartup];
  WriteFile(logo, BitmapBytes({}, 1));
  WriteFile(backup, BitmapBytes({}, 9));
  files.Start([](int, const std::string&) {});
  gKeys = {};
  SetTimer(nullptr, 0, 50, TypeTabThenSpace);
  const TSlotOutcome outcome = files.Restore(lsStartup);
  std::string faults = gKeys.faults;
  if (!gKeys.done) faults += "the keys were never typed; ";
  if (outcome.Status != "Restore operation successfully completed.") faults += "outcome: " + outcome.Status + "; ";
  if (ReadFile(logo) != BitmapBytes({}, 9)) faults += "the logo is not the backup (No copies it over); ";
  if (ReadFile(backup) != BitmapBytes({}, 9)) faults += "the backup changed: the files were exchanged (Yes); ";
  if (Exists(SwitchTempPath(logo))) faults += "a switch's temporary file was made; ";
  return faults;
}

class SwitchKeysDesktop : public MachineRootTest {};

TEST_F(SwitchKeysDesktop, TabThenSpaceInMakeASwitchAnswersNo) {
  ScopedXServer server;
  if (!server.Available()) GTEST_SKIP() << "no X display and no Xvfb";
  ScopedWindowManager manager;
  if (!manager.Running()) GTEST_SKIP() << "no window manager (" << manager.Name() << ")";
  if (!HaveTool("xdotool")) GTEST_SKIP() << "no xdotool";
  ExpectShownUnderX(kShotFile, SwitchWithTheKeyboard);
}

}  // namespace
