// The program started on a desktop again and again, driven with real X input: the message box it
// shows at its start (the backup of the existing startup logo) has the keyboard each time, so Return
// answers it.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "host/testing/child_process.h"
#include "host/testing/desktop_test.h"
#include "tarnquill_desktop.h"
#include "win32/machine.h"
#include "win32/testing/machine_root.h"

namespace {

constexpr int kStarts = 6;
constexpr const char* kBoxTitle = "Information";

bool BoxShown() {
  const xtest::XId box = xtest::FindByTitle(kBoxTitle);
  return box && xtest::Shown(box) && !xtest::Property(box, "_NET_WM_ALLOWED_ACTIONS").empty();
}

using TarnquillDesktop = DesktopTest;

TEST_F(TarnquillDesktop, TheMessageBoxAtTheStartTakesReturnEachTime) {
  ScopedMachineRoot root;
  std::ofstream(machine::HostPath("c:\\logo.sys"), std::ios::binary) << "a startup logo to back up";
  const std::filesystem::path folder = root.Path() / "tarnquill";
  std::filesystem::create_directories(folder);
  const std::filesystem::path program = CopyProgramFolder(TARNQUILL_PROGRAM, folder, "");
  for (int start = 0; start < kStarts; ++start) {
    SCOPED_TRACE(start);
    std::filesystem::remove(folder / "logo.sys");  // the backup, so that the next start makes it again
    Tarnquill tarnquill(program.string());
    ASSERT_TRUE(WaitFor(std::chrono::seconds(20), BoxShown)) << "no message box at the start";
    RealInput("key Return");
    EXPECT_TRUE(WaitFor(std::chrono::seconds(5), [] { return !BoxShown(); })) << "Return did not answer the box";
    ASSERT_NE(tarnquill.Client().x, -1) << "the main window did not show after the box";
  }
}

}  // namespace
