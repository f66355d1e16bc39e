#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "kernel_test_files.h"
#include "win32/kernel.h"
#include "win32/machine.h"
#include "win32/testing/machine_root.h"

namespace {

namespace fs = std::filesystem;

bool HasTemporary(const fs::path& folder) {
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.path().filename().string().starts_with(".~")) return true;
  return false;
}

// A copy over the slot killed while it writes: the slot keeps its old content, whole, and the
// temporary left behind is found under no name the slot's users look for.
TEST(KernelAtomicReplace, KilledCopyLeavesTheOldFileWhole) {
  ScopedMachineRoot root;
  const std::string oldContent(1 << 20, 'o');
  const std::string newContent(96 << 20, 'n');  // large enough for the copy to be caught in flight
  WriteHostFile(root.DriveC() / "logo.bmp", newContent);

  bool caughtInFlight = false;
  for (int attempt = 0; attempt < 8 && !caughtInFlight; ++attempt) {
    WriteHostFile(root.DriveC() / "logo.sys", oldContent);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      CopyFileA("c:\\logo.bmp", "c:\\logo.sys", FALSE);
      ::_exit(0);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!HasTemporary(root.DriveC()) && std::chrono::steady_clock::now() < deadline) {
      if (::waitpid(child, nullptr, WNOHANG) == child) break;  // finished before it was seen
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    caughtInFlight = HasTemporary(root.DriveC());
  }
  ASSERT_TRUE(caughtInFlight) << "the copy always finished before it could be killed";

  EXPECT_EQ(ReadHostFile(machine::HostPath("c:\\logo.sys")), oldContent);
  WIN32_FIND_DATAA found;
  for (const char* mask : {"c:\\logo.*", "c:\\*.sys", "c:\\*.bmp"}) {
    HANDLE find = FindFirstFileA(mask, &found);
    ASSERT_NE(find, INVALID_HANDLE_VALUE) << mask;
    int count = 1;
    while (FindNextFileA(find, &found)) ++count;
    FindClose(find);
    EXPECT_EQ(count, std::string(mask) == "c:\\logo.*" ? 2 : 1) << mask;
  }
  // The next copy succeeds over the leftover.
  ASSERT_TRUE(CopyFileA("c:\\logo.bmp", "c:\\logo.sys", FALSE));
  EXPECT_EQ(fs::file_size(root.DriveC() / "logo.sys"), newContent.size());
}

TEST(KernelAtomicReplace, FailedWriterLeavesTargetAndNoTemporary) {
  ScopedMachineRoot root;
  const fs::path target = root.DriveC() / "hive.reg";
  WriteHostFile(target, "before");
  EXPECT_FALSE(machine::ReplaceFileAtomically(target, [](int fd) {
    (void)!::write(fd, "half", 4);
    errno = ENOSPC;
    return false;
  }));
  EXPECT_EQ(errno, ENOSPC);
  EXPECT_EQ(ReadHostFile(target), "before");
  EXPECT_FALSE(HasTemporary(root.DriveC()));
  ASSERT_TRUE(machine::ReplaceFileAtomically(target, std::string_view("after")));
  EXPECT_EQ(ReadHostFile(target), "after");
  EXPECT_FALSE(HasTemporary(root.DriveC()));
}

TEST(KernelAtomicReplace, ReplacedFileKeepsPermissionsAndAttributes) {
  ScopedMachineRoot root;
  const fs::path target = root.DriveC() / "jokes.ini";
  WriteHostFile(target, "before");
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_TRUE(SetFileAttributesA("c:\\jokes.ini", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
  ASSERT_TRUE(machine::ReplaceFileAtomically(target, std::string_view("after")));
  EXPECT_EQ(ReadHostFile(target), "after");
  EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(GetFileAttributesA("c:\\jokes.ini"), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
}

}  // namespace
