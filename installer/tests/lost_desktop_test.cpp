// The installer and the rotator's window on a desktop that goes away under them (the user logs
// out, the display server is killed).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "host/testing/lost_desktop.h"
#include "host/testing/time_limits.h"
#include "win32/testing/machine_root.h"

namespace {

TEST(LostDesktop, TheInstallerAndTheRotatorEndAtOnceSayingSoAndLeaveTheirFilesAsTheyWere) {
  const struct {
    const char* program;
    const char* title;
  } cases[] = {{"install", "Install For Logo"}, {"logo.exe", "Logo"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.program);
    ScopedMachineRoot root;
    const std::filesystem::path program = std::filesystem::path(STARTLOGO_DISTRIBUTION) / c.program;
    const LostDesktopRun run =
        RunUntilDesktopLost({program.string()}, c.title, root.Path(), root.Path(), BuildSeconds(10));
    if (!run.skipped.empty()) GTEST_SKIP() << run.skipped;
    EXPECT_EQ(LossFaults(run, c.program, BuildSeconds(2)), "");
  }
}

}  // namespace
