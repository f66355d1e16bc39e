// Corvane run as a program of its own on a desktop with a window manager, driven with real X input:
// while its swap dialog is up, clicks on the main window (its client area and its title bar) reach
// nothing and leave the dialog in front and active; the dialog still answers the keyboard after.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "host/testing/child_process.h"
#include "host/testing/desktop_program.h"
#include "host/testing/desktop_test.h"
#include "win32/testing/machine_root.h"

namespace {

constexpr char kSwapTitle[] = "Swapping Startup Logo";
// The first tab's "Swap !" button's middle in the main window's X window, which holds the menu bar
// above the client area: the tab sheet's corner and the button's place in it.
constexpr int kMenuBar = 18;
constexpr int kSwapX = 4 + 186 + 40, kSwapY = kMenuBar + 4 + 52 + 12;
constexpr int kTitleBarAbove = 8;  // a point of the frame's title bar, above the client area
constexpr int kClear = 3;  // pixels kept from the dialog's frame

struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool Holds(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// The window's client area, or with `framed` the frame the window manager drew around it.
Box BoxOf(xtest::XId window, bool framed) {
  Box b;
  int width = 0, height = 0;
  xtest::ScreenPosition(window, b.left, b.top);
  xtest::WindowSize(window, width, height);
  b.right = b.left + width;
  b.bottom = b.top + height;
  const std::vector<xtest::XId> extents = xtest::Property(window, "_NET_FRAME_EXTENTS");  // left, right, top, bottom
  if (framed && extents.size() == 4) {
    b.left -= static_cast<int>(extents[0]);
    b.right += static_cast<int>(extents[1]);
    b.top -= static_cast<int>(extents[2]);
    b.bottom += static_cast<int>(extents[3]);
  }
  return b;
}

// A point of the main window's client area that the dialog's frame leaves uncovered.
bool UncoveredPoint(const Box& main, const Box& dialogFrame, int& x, int& y) {
  for (y = main.top + kClear; y < main.bottom - kClear; y += kClear)
    for (x = main.left + kClear; x < main.right - kClear; x += kClear)
      if (!dialogFrame.Holds(x - kClear, y - kClear) && !dialogFrame.Holds(x + kClear, y + kClear) &&
          !dialogFrame.Holds(x - kClear, y + kClear) && !dialogFrame.Holds(x + kClear, y - kClear))
        return true;
  return false;
}

// "" when the dialog lies above the main window and is the active one, else what is wrong.
std::string DialogInFront(xtest::XId main, xtest::XId dialog) {
  const std::vector<xtest::XId> stacking = xtest::RootProperty("_NET_CLIENT_LIST_STACKING");  // bottom first
  const auto mainAt = std::find(stacking.begin(), stacking.end(), main);
  const auto dialogAt = std::find(stacking.begin(), stacking.end(), dialog);
  std::string faults;
  if (dialogAt == stacking.end() || dialogAt < mainAt) faults += "the main window went in front of the dialog; ";
  const std::vector<xtest::XId> active = xtest::RootProperty("_NET_ACTIVE_WINDOW");
  if (active.empty() || active[0] != dialog) faults += "the dialog is not the active window; ";
  return faults;
}

using SwapModalDesktop = DesktopTest;

TEST_F(SwapModalDesktop, ClicksOnTheMainWindowReachNothingAndLeaveTheDialogInFront) {
  ScopedMachineRoot root;
  const std::filesystem::path folder = root.Path() / "corvane";
  std::filesystem::create_directories(folder);
  const std::filesystem::path program = CopyProgramFolder(CORVANE_PROGRAM, folder, "");
  DesktopProgram corvane(program.string(), "Corvane", folder.string());
  const Spot client = corvane.Client();
  ASSERT_NE(client.x, -1) << "the window manager did not take the main window";

  RealInput("mousemove " + At(client.x + kSwapX, client.y + kSwapY) + " click 1");
  xtest::XId dialog = 0;
  ASSERT_TRUE(WaitFor(std::chrono::seconds(10), [&] {
    dialog = xtest::FindByTitle(kSwapTitle);
    return dialog && !xtest::Property(dialog, "_NET_WM_ALLOWED_ACTIONS").empty() &&
           DialogInFront(corvane.Window(), dialog).empty();
  })) << "the swap dialog did not come up in front";
  EXPECT_EQ(xtest::TransientFor(dialog), corvane.Window());

  const Box main = BoxOf(corvane.Window(), false);
  int x = 0, y = 0;
  ASSERT_TRUE(UncoveredPoint(main, BoxOf(dialog, true), x, y)) << "the dialog hides the whole main window";
  RealInput("mousemove " + At(x, y) + " click 1");
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_EQ(DialogInFront(corvane.Window(), dialog), "") << "after a click on the main window's client area";
  RealInput("mousemove " + At(main.left + (main.right - main.left) / 2, main.top - kTitleBarAbove) + " click 1");
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_EQ(DialogInFront(corvane.Window(), dialog), "") << "after a click on the main window's title bar";

  RealInput("key Escape");
  EXPECT_TRUE(WaitFor(std::chrono::seconds(5), [&] { return !xtest::Shown(dialog); }))
      << "Escape did not cancel the dialog";
  EXPECT_FALSE(corvane.Ended(std::chrono::milliseconds(0)));
}

}  // namespace
