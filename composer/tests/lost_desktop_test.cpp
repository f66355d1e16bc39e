// Tarnquill on a desktop that goes away under it (the user logs out, the display server is killed).
#include <gtest/gtest.h>

#include <filesystem>

#include "host/testing/child_process.h"
#include "host/testing/lost_desktop.h"
#include "host/testing/time_limits.h"
#include "win32/testing/machine_root.h"

namespace {

TEST(LostDesktop, TarnquillEndsAtOnceSayingSoAndLeavesItsFilesAsTheyWere) {
  ScopedMachineRoot root;
  const std::filesystem::path folder = root.DriveC() / "tarnquill";
  const std::filesystem::path program = CopyProgramFolder(TARNQUILL_PROGRAM, folder, "");
  const LostDesktopRun run =
      RunUntilDesktopLost({program.string()}, "Tarnquill", folder, root.Path(), BuildSeconds(10));
  if (!run.skipped.empty()) GTEST_SKIP() << run.skipped;
  EXPECT_EQ(LossFaults(run, "tarnquill", BuildSeconds(2)), "");
}

}  // namespace
