#include <gtest/gtest.h>
#include <signal.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <set>
#include <string>
#include <vector>
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
  // The next copy succeeds and removes the leftover, whose owner has ended.
  ASSERT_TRUE(CopyFileA("c:\\logo.bmp", "c:\\logo.sys", FALSE));
  EXPECT_EQ(fs::file_size(root.DriveC() / "logo.sys"), newContent.size());
  EXPECT_FALSE(HasTemporary(root.DriveC()));
}

// A child process that has run `work` and waits until it is killed, at the latest by the
// destructor, which waits until it is gone.
class RunningChild {
 public:
  template <class Work>
  explicit RunningChild(Work work) {
    int ready[2];
    if (::pipe(ready) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      work();
      (void)!::write(ready[1], "x", 1);
      ::pause();
      ::_exit(0);
    }
    char done;
    if (pid_ < 0 || ::read(ready[0], &done, 1) != 1) ADD_FAILURE() << "the child did not get ready";
    ::close(ready[0]);
    ::close(ready[1]);
  }
  ~RunningChild() { Kill(); }
  RunningChild(const RunningChild&) = delete;
  RunningChild& operator=(const RunningChild&) = delete;
  void Kill() {
    if (pid_ <= 0) return;  // no child: kill(-1) would reach every process
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
};

// Runs `work` in a child process that is then killed, and waits until it is gone.
template <class Work>
void InKilledChild(Work work) {
  RunningChild child(work);
}

std::set<std::string> Names(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

TEST(KernelAtomicReplace, TheNextReplaceRemovesOnlyTheTemporariesOfEndedOwners) {
  ScopedMachineRoot root;
  const fs::path folder = root.DriveC();
  fs::path live, reused;
  InKilledChild([&] {
    fs::path killed;
    ::close(machine::CreateOwnedTemporary(folder, killed));
  });
  ASSERT_TRUE(HasTemporary(folder));
  ::close(machine::CreateOwnedTemporary(folder, live));
  // This process's id with another start time: a process that had the id before.
  const std::string name = live.filename().string();
  const std::size_t start = name.find('.', 2) + 1;
  reused = folder / (name.substr(0, start) + "1" + name.substr(start));
  WriteHostFile(reused, "older");
  const std::vector<std::string> users = {".~0a1b2c3d4e5f.tmp", ".~1.2.tmp", ".~x.1.0a1b2c3d4e5f.tmp", "logo.tmp"};
  for (const std::string& user : users) WriteHostFile(folder / user, "mine");

  ASSERT_TRUE(machine::ReplaceFileAtomically(folder / "hive.reg", std::string_view("content")));
  std::set<std::string> expected(users.begin(), users.end());
  expected.insert({"hive.reg", "windows", live.filename().string()});
  EXPECT_EQ(Names(folder), expected);
}

TEST(KernelAtomicReplace, AReadOnlyTargetIsRefusedAndKept) {
  ScopedMachineRoot root;
  const fs::path target = root.DriveC() / "logo.sys";
  WriteHostFile(target, "before");
  ASSERT_TRUE(SetFileAttributesA("c:\\logo.sys", FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(machine::ReplaceFileAtomically(target, std::string_view("after")));
  EXPECT_EQ(errno, EACCES);
  EXPECT_EQ(ReadHostFile(target), "before");
  EXPECT_FALSE(HasTemporary(root.DriveC()));
}

TEST(KernelOwnedFiles, CreatedExclusivelyAndRemovedOnlyOnceTheirOwnerHasEnded) {
  ScopedMachineRoot root;
  const fs::path mine = root.DriveC() / "logo.bmp", left = root.DriveC() / "logo~1.bmp",
                 users = root.DriveC() / "logo~2.bmp";
  ASSERT_TRUE(machine::CreateOwnedFile(mine));
  EXPECT_FALSE(machine::CreateOwnedFile(mine));
  EXPECT_EQ(errno, EEXIST);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
  InKilledChild([&] { machine::CreateOwnedFile(left); });
  WriteHostFile(users, "a user's picture");
  EXPECT_FALSE(HasTemporary(root.DriveC()));

  EXPECT_FALSE(machine::RemoveIfOrphaned(mine));  // its owner is running
  EXPECT_TRUE(machine::RemoveIfOrphaned(left));
  EXPECT_FALSE(machine::RemoveIfOrphaned(users));
  EXPECT_TRUE(fs::exists(mine));
  EXPECT_FALSE(fs::exists(left));
  EXPECT_EQ(ReadHostFile(users), "a user's picture");
  // The mark goes along when the file is replaced, as a save replaces its intermediate file.
  ASSERT_TRUE(machine::ReplaceFileAtomically(mine, std::string_view("picture")));
  InKilledChild([&] { machine::ReplaceFileAtomically(left, std::string_view("picture")); });
  EXPECT_TRUE(fs::exists(left));
  fs::path marked = root.DriveC() / "marked.bmp";
  InKilledChild([&] {
    machine::CreateOwnedFile(marked);
    machine::ReplaceFileAtomically(marked, std::string_view("picture"));
  });
  EXPECT_FALSE(machine::RemoveIfOrphaned(left));  // replaced by a process, never marked
  EXPECT_TRUE(machine::RemoveIfOrphaned(marked));
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

// Only the file itself counts: a link to a marked file, a folder or a missing file is no one's.
TEST(KernelOwnedFiles, TheOwnerOfAFileIsThisProcessARunningOneOrOneThatHasEnded) {
  ScopedMachineRoot root;
  const fs::path mine = root.DriveC() / "mine.tmp", running = root.DriveC() / "running.tmp",
                 ended = root.DriveC() / "ended.tmp", users = root.DriveC() / "users.tmp",
                 link = root.DriveC() / "link.tmp", folder = root.DriveC() / "folder.tmp";
  ASSERT_TRUE(machine::CreateOwnedFile(mine));
  RunningChild child([&] { machine::CreateOwnedFile(running); });
  InKilledChild([&] { machine::CreateOwnedFile(ended); });
  WriteHostFile(users, "a user's own");
  fs::create_symlink(mine, link);
  fs::create_directory(folder);
  const std::pair<fs::path, machine::FileOwner> cases[] = {{mine, machine::FileOwner::Self},
                                                           {running, machine::FileOwner::Running},
                                                           {ended, machine::FileOwner::Ended},
                                                           {users, machine::FileOwner::None},
                                                           {link, machine::FileOwner::None},
                                                           {folder, machine::FileOwner::None},
                                                           {root.DriveC() / "missing.tmp", machine::FileOwner::None}};
  for (const auto& [path, owner] : cases) EXPECT_EQ(machine::OwnerOf(path), owner) << path;
  child.Kill();
  EXPECT_EQ(machine::OwnerOf(running), machine::FileOwner::Ended);
  fs::remove(ended);
  fs::create_symlink(running, ended);
  EXPECT_FALSE(machine::RemoveIfOrphaned(ended)) << "a link to an orphan is no orphan";
  EXPECT_TRUE(fs::is_symlink(ended));
}

TEST(KernelFolderLock, AnotherProcessWaitsForTheLockUntilItsHolderLetsGoOrEnds) {
  ScopedMachineRoot root;
  const fs::path folder = root.DriveC();
  const auto freeNow = [&] {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return free;
  };
  {
    const machine::FolderLock lock(folder);
    ASSERT_TRUE(lock.Held());
    EXPECT_FALSE(freeNow()) << "held against another open of the folder";
  }
  EXPECT_TRUE(freeNow());
  std::optional<machine::FolderLock> held;
  RunningChild holder([&] { held.emplace(folder); });
  EXPECT_FALSE(freeNow()) << "held by the child";
  holder.Kill();
  const machine::FolderLock after(folder);  // would wait for ever were it not let go
  EXPECT_TRUE(after.Held());
  EXPECT_FALSE(machine::FolderLock(folder / "missing").Held());
}

}  // namespace
