// The rotator's windows through the desktop back end under Xvfb: the main window
// (logo_main_window.ppm), the About box with a message box over it, and each tab of the manual
// pick dialog as the user clicks it (logo_pick_*.ppm).
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "components/program_icons.h"
#include "host/testing/outside_tools.h"
#include "host/testing/window_manager.h"
#include "host/testing/window_screenshot.h"
#include "rotator/about_form.h"
#include "rotator/main_form.h"
#include "rotator/pick_form.h"
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

// Where the picture occurs on the screen, pixel for pixel; x is -1 when nowhere.
POINT FindOnScreen(const host::Image& screen, const host::Image& picture) {
  for (int y = 0; y + picture.height <= screen.height; ++y)
    for (int x = 0; x + picture.width <= screen.width; ++x) {
      bool same = true;
      for (int j = 0; j < picture.height && same; ++j)
        same = std::equal(picture.pixels.begin() + j * picture.width, picture.pixels.begin() + (j + 1) * picture.width,
                          screen.pixels.begin() + (y + j) * screen.width + x);
      if (same) return {x, y};
    }
  return {-1, -1};
}
bool OnScreen(const host::Image& screen, const host::Image& picture) { return FindOnScreen(screen, picture).x >= 0; }

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
  if (!manager.Running()) GTEST_SKIP() << "no window manager (" << manager.Name() << ")";
  ExpectShownUnderX(kDesktopShotFile, ShowAboutAndMessageBox);
}

// The manual pick dialog under a window manager: each tab clicked with the X server's mouse shows
// its own picture, pixel for pixel where its image lies; logo_pick_<slot>.ppm keeps each.
const char* const kPickShots[3] = {"logo_pick_startup.ppm", "logo_pick_wait.ppm", "logo_pick_turnoff.ppm"};

std::uint32_t Rgb(TColor colour) {
  const COLORREF c = ColorToRGB(colour);
  return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

host::Image PictureOf(vb::Image& image) {
  host::Image picture;
  auto* bitmap = dynamic_cast<TBitmap*>(image.Picture()->Graphic());
  if (!bitmap) return picture;
  picture.width = bitmap->Width();
  picture.height = bitmap->Height();
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) picture.pixels.push_back(Rgb(bitmap->Canvas()->Pixels(x, y)));
  return picture;
}

bool ShowsAt(const host::Image& screen, const host::Image& picture, POINT at) {
  if (at.x < 0 || at.y < 0 || at.x + picture.width > screen.width || at.y + picture.height > screen.height)
    return false;
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      if (screen.At(at.x + x, at.y + y) != picture.At(x, y)) return false;
  return true;
}

// A few logos in each library and in the slots, so the lists and previews show what a user sees.
void PutLogos(ScopedMachineRoot& root) {
  const char* const folders[3] = {"c:\\logos\\start", "c:\\logos\\wait", "c:\\logos\\down"};
  const char* const slots[3] = {"c:\\logo.sys", "c:\\windows\\logow.sys", "c:\\windows\\logos.sys"};
  const TColor colours[3] = {static_cast<TColor>(RGB(230, 140, 40)), static_cast<TColor>(RGB(60, 110, 200)),
                             static_cast<TColor>(RGB(150, 30, 50))};
  for (int slot = 0; slot < 3; ++slot) {
    std::filesystem::create_directories(root.DriveC() / "logos" / (folders[slot] + std::strlen("c:\\logos\\")));
    TBitmap logo;
    logo.SetPixelFormat(pf24bit);
    logo.SetWidth(320);
    logo.SetHeight(400);
    logo.Canvas()->Brush()->SetColor(colours[slot]);
    logo.Canvas()->FillRect({0, 0, 320, 400});
    logo.Canvas()->Brush()->SetColor(clWhite);
    logo.Canvas()->Ellipse(100, 140, 220, 260);
    for (const std::string name : {"original", "sample1", "sample2"}) {
      TFileStream out(std::string(folders[slot]) + "\\" + name + ".sys", fmCreate);
      logo.SaveToStream(&out);
    }
    TFileStream out(slots[slot], fmCreate);
    logo.SaveToStream(&out);
  }
}

std::string ClickEachPickTab() {
  ::setenv("STARTLOGO_SCREEN_SIZE", "640x480", 1);
  ScopedMachineRoot root;
  PutLogos(root);
  auto* main = new rotator::TForm1(Application);
  main->SetPosition(poDesigned);
  main->Command3_Click();
  rotator::TForm6& pick = *main->Form6;
  pick.SetLeft(20);
  pick.SetTop(40);
  const auto pump = [] {
    Application->ProcessMessages();
    usleep(10000);
  };
  // Points of the dialog's client area.
  const TPoint origin = pick.ClientToScreen({0, 0});
  const auto inClient = [&](TControl& control, TPoint p) {
    const TPoint screen = control.ClientToScreen(p);
    return POINT{screen.x - origin.x, screen.y - origin.y};
  };
  const auto placeOf = [&](vb::Image& image) { return inClient(*image.Parent(), {image.Left(), image.Top()}); };
  // The window manager places the client area where it likes: the first tab's picture tells where.
  const host::Image first = PictureOf(*pick.Pictures[0]);
  const host::Image screen = ShootWhenShownWithin(
      std::chrono::seconds(10), {0, 0, kScreenWidth, kScreenHeight}, pump,
      [&](const host::Image& s) { return OnScreen(s, first); }, kPickShots[0]);
  const POINT found = FindOnScreen(screen, first);
  if (found.x < 0) return "the dialog's first tab does not show its picture";
  const POINT firstAt = placeOf(*pick.Pictures[0]);
  const ScreenArea client{found.x - firstAt.x, found.y - firstAt.y, pick.ClientWidth(), pick.ClientHeight()};
  std::string faults;
  for (int tab = 0; tab < 3; ++tab) {
    vb::SSTab& tabs = *pick.SSTab1;
    const int tabWidth = tabs.Width() / tabs.Tabs();
    const POINT click = inClient(tabs, {tabWidth * tab + tabWidth / 2, 10});
    ToolOutput("xdotool mousemove --sync " + std::to_string(client.left + click.x) + " " +
               std::to_string(client.top + click.y) + " click 1");
    for (int i = 0; i < 300 && tabs.Tab() != tab; ++i) pump();
    if (tabs.Tab() != tab) faults += "a click did not open tab " + std::to_string(tab) + "; ";
    vb::Image& image = *pick.Pictures[tab];
    const host::Image picture = PictureOf(image);
    const POINT at = placeOf(image);
    const host::Image shot = ShootWhenShownWithin(
        std::chrono::seconds(10), client, pump, [&](const host::Image& s) { return ShowsAt(s, picture, at); },
        kPickShots[tab]);
    if (picture.width != 184 || picture.height != 170) faults += "a tab's picture is not 184 x 170; ";
    if (!ShowsAt(shot, picture, at)) faults += "tab " + std::to_string(tab) + " does not show its picture; ";
  }
  return faults;
}

TEST(RotatorScreenshot, EachTabOfTheManualPickDialogShowsItsPicture) {
  ScopedXServer server;
  if (!server.Available()) GTEST_SKIP() << "no X display and no Xvfb";
  if (!HaveTool("xdotool")) GTEST_SKIP() << "no xdotool to click with";
  ScopedWindowManager manager;
  if (!manager.Running()) GTEST_SKIP() << "no window manager (" << manager.Name() << ")";
  ExpectShownUnderX(kPickShots[2], ClickEachPickTab);
}

}  // namespace
