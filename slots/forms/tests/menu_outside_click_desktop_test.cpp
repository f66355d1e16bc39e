// Corvane on a desktop, driven with real X input: its open menu closes without a choice when the
// user clicks another program's window, the keys typed there choose nothing, and the next click
// on the menu bar opens the menu again.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "host/testing/child_process.h"
#include "host/testing/desktop_program.h"
#include "host/testing/desktop_test.h"
#include "win32/testing/machine_root.h"

namespace {

constexpr int kMainTitleX = 15, kMainTitleY = 9;  // the "Main" title of the menu bar
constexpr int kMenuLeast = 30;  // the open menu is larger than this each way
// The other program's window, over the right of ours, away from the menu.
constexpr int kOtherX = 300, kOtherY = 60, kOtherSize = 120;

bool MenuShown() {
  int x = 0, y = 0, w = 0, h = 0;
  return xtest::FrontPopUp(kMenuLeast, x, y, w, h);
}

using CorvaneMenuDesktop = DesktopTest;

TEST_F(CorvaneMenuDesktop, AClickOnAnotherProgramClosesTheMenuWithoutAChoice) {
  ScopedMachineRoot root;
  const std::filesystem::path folder = root.Path() / "corvane";
  std::filesystem::create_directories(folder);
  const std::filesystem::path program = CopyProgramFolder(CORVANE_PROGRAM, folder, "");
  DesktopProgram corvane(program.string(), "Corvane", folder.string());
  const Spot client = corvane.Client();
  ASSERT_NE(client.x, -1) << "the window manager did not take the main window";
  const std::string onTitle = At(client.x + kMainTitleX, client.y + kMainTitleY);

  RealInput("mousemove " + onTitle + " click 1");
  ASSERT_TRUE(WaitFor(std::chrono::seconds(5), MenuShown)) << "the menu did not open";
  {
    xtest::OtherClientWindow other("Another program", client.x + kOtherX, client.y + kOtherY, kOtherSize, kOtherSize);
    xtest::XId window = 0;
    Spot at;
    ASSERT_TRUE(WaitFor(std::chrono::seconds(10), [&] {
      window = xtest::FindByTitle("Another program");
      return window && xtest::Shown(window) && xtest::ScreenPosition(window, at.x, at.y);
    })) << "the other program's window did not show";
    RealInput("mousemove " + At(at.x + kOtherSize / 2, at.y + kOtherSize / 2) + " click 1");
    EXPECT_TRUE(WaitFor(std::chrono::seconds(5), [] { return !MenuShown(); })) << "the menu stayed open";
    EXPECT_TRUE(WaitFor(std::chrono::seconds(5), [&] { return other.Focused(); })) << "it has no keyboard";
    RealInput("key Up Return");  // the menu's last item, "Quit", had the menu kept the keyboard
  }
  EXPECT_FALSE(corvane.Ended(std::chrono::milliseconds(500))) << "a key typed elsewhere chose \"Quit\"";
  RealInput("mousemove " + onTitle + " click 1");
  EXPECT_TRUE(WaitFor(std::chrono::seconds(5), MenuShown)) << "the first click on the menu bar was lost";
  RealInput("key Escape");
}

}  // namespace
