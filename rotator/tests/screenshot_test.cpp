// The main window through the desktop back end under Xvfb, kept as logo_main_window.ppm.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "components/program_icons.h"
#include "host/testing/window_manager.h"
#include "host/testing/window_screenshot.h"
#include "rotator/about_form.h"
#include "rotator/main_form.h"
#include "vbrun/forms.h"
#include "vbrun/interaction.h"
#include "vcl/graphics_images.h"
#include "win32/testing/machine_root.h"
#include "win32/testing/windows.h"

namespace {

constexpr const char* kShotFile = "logo_main_window.ppm";

std::string ShowAndShoot() {
  ScopedMachineRoot root;
  auto* form = new rotator::TForm1(Application);
  form->SetPosition(poDesigned);  // on the small test screen whatever its size
  form->SetLeft(20);
  form->SetTop(20);
  form->ShowForm();
  RECT frame;
  GetWindowRect(form->Handle(), &frame);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  SetTimer(form->Handle(), 1, 30, nullptr);
  // The button face (&HC0C0C0) shows once the window is on the screen.
  auto buttonFaceInTheMiddle = [&](const host::Image& s) { return s.At(width / 2, height / 2) == 0xC0C0C0; };
  const host::Image shot = ShootWhenShown(
      {frame.left, frame.top, width, height}, [] { Application->HandleMessage(); }, buttonFaceInTheMiddle, kShotFile);
  if (shot.width != width) return "the X server gave no picture";
  return buttonFaceInTheMiddle(shot) ? "" : "no button face in the middle of the window";
}

TEST(RotatorScreenshot, MainWindowUnderXvfb) { ExpectShownUnderX(kShotFile, ShowAndShoot); }

// The About box over the main window and the message box of its "System Info..." in front of it,
// the whole screen as the window manager shows it.
constexpr const char* kDesktopShotFile = "logo_about_and_message_box.ppm";
constexpr int kScreenWidth = 640, kScreenHeight = 480;

struct BoxShot {
  HWND about = nullptr;
  int ticks = 0;
  std::string faults;
  bool done = false;
};
BoxShot gShot;

// The shown window that has an owner: the message box (focus and activation follow the window
// manager, so they do not tell).
HWND TheMessageBox() {
  HWND found = nullptr;
  EnumWindows(
      [](HWND w, LPARAM out) {
        if (IsWindowVisible(w) && GetWindow(w, GW_OWNER)) *reinterpret_cast<HWND*>(out) = w;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// Whether the picture occurs somewhere on the screen, pixel for pixel.
bool OnScreen(const host::Image& screen, const host::Image& picture) {
  for (int y = 0; y + picture.height <= screen.height; ++y)
    for (int x = 0; x + picture.width <= screen.width; ++x) {
      bool same = true;
      for (int j = 0; j < picture.height && same; ++j)
        same = std::equal(picture.pixels.begin() + j * picture.width, picture.pixels.begin() + (j + 1) * picture.width,
                          screen.pixels.begin() + (y + j) * screen.width + x);
      if (same) return true;
    }
  return false;
}

// What the desktop shows and knows while the message box is up; then the box is answered.
void ShootTheDesktop(HWND, UINT, UINT_PTR id, DWORD) {
  HWND box = TheMessageBox();
  const std::vector<xtest::XId> logos = xtest::FindAllByTitle("Logo");
  const xtest::XId about = xtest::FindByTitle("About Logo");
  xtest::XId boxWindow = 0;
  for (xtest::XId w : logos)
    if (xtest::TransientFor(w)) boxWindow = w;
  const bool managed = boxWindow && !xtest::Property(boxWindow, "_NET_WM_ALLOWED_ACTIONS").empty();
  if ((!managed || ++gShot.ticks < 5) && gShot.ticks < 60) {
    gShot.ticks += !managed;
    return;  // painted and settled first
  }
  KillTimer(nullptr, id);
  const host::Image screen = XScreenShot(0, 0, kScreenWidth, kScreenHeight);
  std::ofstream out(kDesktopShotFile, std::ios::binary);
  out << "P6\n" << screen.width << " " << screen.height << "\n255\n";
  for (std::uint32_t p : screen.pixels) out << char(p >> 16) << char(p >> 8) << char(p);
  auto fault = [](const std::string& what) { gShot.faults += what + "; "; };
  if (!managed) fault("the message box was not managed by the window manager");
  if (!about) fault("no About box on the screen");
  if (box && GetWindow(box, GW_OWNER) != gShot.about) fault("the message box does not belong to the About box");
  if (boxWindow && xtest::TransientFor(boxWindow) != about) fault("the message box is not transient for the About box");
  for (xtest::XId w : {boxWindow, about})
    if (w && !xtest::HasAtom(xtest::Property(w, "_NET_WM_WINDOW_TYPE"), "_NET_WM_WINDOW_TYPE_DIALOG"))
      fault("a dialog is not typed as one");
  for (const char* never : {"_NET_WM_ACTION_MAXIMIZE_HORZ", "_NET_WM_ACTION_MAXIMIZE_VERT"})
    if (xtest::HasAtom(xtest::Property(boxWindow, "_NET_WM_ALLOWED_ACTIONS"), never))
      fault("the message box may be maximised");
  // In front of its owner: later in the window manager's stacking order.
  const std::vector<xtest::XId> stacking = xtest::RootProperty("_NET_CLIENT_LIST_STACKING");
  const auto at = [&](xtest::XId w) { return std::find(stacking.begin(), stacking.end(), w) - stacking.begin(); };
  if (at(boxWindow) <= at(about) || at(boxWindow) >= static_cast<long>(stacking.size()))
    fault("the message box is not in front of the About box");
  if (xtest::Property(about, "_NET_WM_ICON").empty()) fault("the About box gave the desktop no icon");
  if (!OnScreen(screen, IconOverButtonFace(Application->Icon()->Handle())))
    fault("the About box shows no program icon");
  gShot.done = true;
  if (!box) {
    std::fputs("no message box", stderr);
    std::_Exit(1);  // nothing could answer it
  }
  PostMessageA(box, WM_KEYDOWN, VK_RETURN, 0);
}

std::string ShowAboutAndMessageBox() {
  ::setenv("STARTLOGO_SCREEN_SIZE", "640x480", 1);  // the X server's, so boxes centre on it
  ScopedMachineRoot root;
  vb::App().Title = "Logo";
  vb::App().Major = 3;
  vb::App().Minor = 0;
  vb::App().Revision = 4;
  components::SetApplicationIcon(components::TProgramIcon::Logo);
  auto* form = new rotator::TForm1(Application);
  form->SetPosition(poDesigned);
  form->SetLeft(400);
  form->SetTop(40);
  form->ShowForm();
  form->Command4_Click();
  rotator::TfrmAbout& about = *form->frmAbout;
  about.SetLeft(30);
  about.SetTop(40);
  // The About box active, as when the user presses its button; the window manager's focus
  // settles first.
  for (int steady = 0, i = 0; steady < 10 && i < 200; ++i) {
    Application->ProcessMessages();
    usleep(20000);
    if (GetActiveWindow() == about.Handle()) {
      ++steady;
    } else {
      steady = 0;
      SetActiveWindow(about.Handle());
    }
  }
  gShot = {};
  gShot.about = about.Handle();
  SetTimer(nullptr, 0, 100, ShootTheDesktop);
  about.cmdSysInfo_Click();  // no tool registered: the unavailable message, answered by the timer
  if (!gShot.done) return "the message box was never shot";
  return gShot.faults;
}

TEST(RotatorScreenshot, AboutBoxAndMessageBoxUnderAWindowManager) {
  ScopedXServer server;
  if (!server.Available()) GTEST_SKIP() << "no X display and no Xvfb";
  ScopedWindowManager manager;
  if (!manager.Running()) GTEST_SKIP() << "no window manager (openbox)";
  ExpectShownUnderX(kDesktopShotFile, ShowAboutAndMessageBox);
}

}  // namespace
