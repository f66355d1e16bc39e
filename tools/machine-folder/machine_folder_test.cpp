// The tool run as a process on machine folders that can and cannot be made.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "host/testing/child_process.h"
#include "host/testing/time_limits.h"

namespace {

namespace fs = std::filesystem;

class MachineFolderTool : public ::testing::Test {
 protected:
  MachineFolderTool() {
    std::string pattern = (fs::temp_directory_path() / "machine-folder-test-XXXXXX").string();
    if (::mkdtemp(pattern.data())) base_ = pattern;
  }
  ~MachineFolderTool() override {
    std::error_code ec;
    fs::permissions(base_ / "read-only", fs::perms::owner_all, ec);
    fs::remove_all(base_, ec);
  }
  // The tool with $STARTLOGO_ROOT at `root`.
  ChildRun Run(const fs::path& root) const {
    return RunWithoutDesktop({"/usr/bin/env", "STARTLOGO_ROOT=" + root.string(), MACHINE_FOLDER}, base_ / "errors.txt",
                             kHungChildSeconds);
  }
  fs::path base_;
};

TEST_F(MachineFolderTool, MakesTheMachineFolderAndEndsWithZero) {
  const ChildRun run = Run(base_ / "machine");
  EXPECT_EQ(run.Status, 0) << run.Errors;
  EXPECT_EQ(run.Errors, "");
  EXPECT_TRUE(fs::is_directory(base_ / "machine/drive_c/windows/Start Menu/Programs/StartUp"));
}

// A root under a file, or in a read-only folder (which binds no superuser): each folder that
// could not be made is named, and the status is 1.
TEST_F(MachineFolderTool, FoldersThatCouldNotBeMadeAreNamedAndTheStatusIsOne) {
  std::ofstream(base_ / "file") << "not a folder";
  fs::create_directory(base_ / "read-only");
  fs::permissions(base_ / "read-only", fs::perms::owner_read | fs::perms::owner_exec);
  for (const fs::path& root : {base_ / "file" / "machine", base_ / "read-only" / "machine"}) {
    if (root.parent_path().filename() == "read-only" && ::geteuid() == 0) continue;
    const ChildRun run = Run(root);
    EXPECT_EQ(run.Status, 1) << root;
    EXPECT_NE(run.Errors.find("machine-folder: could not make " + (root / "drive_c").string() + ": "),
              std::string::npos)
        << run.Errors;
    EXPECT_NE(run.Errors.find("/StartUp: "), std::string::npos) << run.Errors;
  }
}

}  // namespace
