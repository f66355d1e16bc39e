// The rotator run as a program of its own on a desktop, driven with real X input: a click on
// "Uninstall Logo" soon after the Options dialog shows is never lost; each opens the confirmation.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <thread>

#include "host/testing/desktop_program.h"
#include "host/testing/desktop_test.h"
#include "win32/testing/machine_root.h"

namespace {

// In the client areas: the main window's "Options" and the dialog's "Uninstall Logo" and "Cancel".
constexpr int kOptionsX = 16 + 72, kOptionsY = 96 + 16;
constexpr int kUninstallX = 16 + 92, kUninstallY = 140 + 14;
constexpr int kCancelX = 112 + 44, kCancelY = 188 + 14;
constexpr int kRuns = 50;
constexpr int kSoonestMs = 100, kLatestMs = 300;  // after the dialog shows

// The confirmation has the main window's title: two such windows show.
bool ConfirmationShown() {
  int shown = 0;
  for (xtest::XId w : xtest::FindAllByTitle("Logo")) shown += xtest::Shown(w) ? 1 : 0;
  return shown >= 2;
}

bool ShownWindow(const char* title, Spot& at) {
  const xtest::XId window = xtest::FindByTitle(title);
  return window && xtest::Shown(window) && !xtest::Property(window, "_NET_WM_ALLOWED_ACTIONS").empty() &&
         xtest::ScreenPosition(window, at.x, at.y);
}

using RotatorOptionsDesktop = DesktopTest;

TEST_F(RotatorOptionsDesktop, EveryClickOnUninstallSoonAfterOptionsShowsOpensTheConfirmation) {
  ScopedMachineRoot root;
  DesktopProgram logo(LOGO_PROGRAM, "Logo");
  const Spot client = logo.Client();
  ASSERT_NE(client.x, -1) << "the window manager did not take the main window";
  std::mt19937 random(39);
  std::uniform_int_distribution<int> delay(kSoonestMs, kLatestMs);
  int lost = 0;
  for (int run = 0; run < kRuns; ++run) {
    RealInput("mousemove " + At(client.x + kOptionsX, client.y + kOptionsY) + " click 1");
    Spot options;
    ASSERT_TRUE(WaitFor(std::chrono::seconds(10), [&] { return ShownWindow("Options", options); }))
        << "Options did not show, run " << run;
    std::this_thread::sleep_for(std::chrono::milliseconds(delay(random)));
    RealInput("mousemove " + At(options.x + kUninstallX, options.y + kUninstallY) + " click 1");
    if (!WaitFor(std::chrono::seconds(5), ConfirmationShown)) ++lost;
    RealInput("key n");  // "No"
    ASSERT_TRUE(WaitFor(std::chrono::seconds(5), [] { return !ConfirmationShown(); })) << "run " << run;
    RealInput("mousemove " + At(options.x + kCancelX, options.y + kCancelY) + " click 1");
    ASSERT_TRUE(WaitFor(std::chrono::seconds(5), [&] { return !ShownWindow("Options", options); }))
        << "Options stayed, run " << run;
  }
  EXPECT_EQ(lost, 0) << "clicks on \"Uninstall Logo\" that opened no confirmation, of " << kRuns;
}

}  // namespace
