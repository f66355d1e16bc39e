#include <gtest/gtest.h>
#include <sys/stat.h>

#include "kernel_test_files.h"
#include "win32/kernel.h"
#include "win32/testing/machine_root.h"

namespace {

namespace fs = std::filesystem;

class KernelCopy : public MachineRootTest {
 protected:
  void Source(DWORD attributes) {
    WriteHostFile(root.DriveC() / "logo.bmp", "new picture");
    ASSERT_TRUE(SetFileAttributesA("c:\\logo.bmp", attributes));
  }
  void Target(DWORD attributes) {
    WriteHostFile(root.DriveC() / "Logo.sys", "old");
    ASSERT_TRUE(SetFileAttributesA("c:\\logo.sys", attributes));
  }
  std::string TargetContent() { return ReadHostFile(root.DriveC() / "Logo.sys"); }
};

TEST_F(KernelCopy, RefusesTargetsAsWindowsDoes) {
  constexpr DWORD R = FILE_ATTRIBUTE_READONLY, H = FILE_ATTRIBUTE_HIDDEN, S = FILE_ATTRIBUTE_SYSTEM,
                  A = FILE_ATTRIBUTE_ARCHIVE, N = FILE_ATTRIBUTE_NORMAL;
  struct Case {
    DWORD source;
    DWORD target;
    BOOL failIfExists;
    DWORD error;
  };
  const Case cases[] = {
      {A, N, FALSE, ERROR_SUCCESS},       {A, A, TRUE, ERROR_FILE_EXISTS},    {A, R, FALSE, ERROR_ACCESS_DENIED},
      {R, R, FALSE, ERROR_ACCESS_DENIED}, {A, H, FALSE, ERROR_ACCESS_DENIED}, {A, S, FALSE, ERROR_ACCESS_DENIED},
      {H, H, FALSE, ERROR_SUCCESS},       {H | S, S, FALSE, ERROR_SUCCESS},   {H, H | S, FALSE, ERROR_ACCESS_DENIED},
  };
  for (const Case& c : cases) {
    Source(c.source);
    Target(c.target);
    SetLastError(0);
    const BOOL copied = CopyFileA("C:\\LOGO.BMP", "c:\\logo.sys", c.failIfExists);
    EXPECT_EQ(copied, c.error == ERROR_SUCCESS) << c.source << " over " << c.target;
    if (!copied) {
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(c.error)) << c.source << " over " << c.target;
    }
    EXPECT_EQ(TargetContent(), copied ? "new picture" : "old");
    EXPECT_EQ(GetFileAttributesA("c:\\logo.sys"), copied ? c.source : c.target);
    SetFileAttributesA("c:\\logo.sys", N);
    SetFileAttributesA("c:\\logo.bmp", N);
  }
}

TEST_F(KernelCopy, NewCopyTakesAttributesAndWriteTimeOfItsSource) {
  Source(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
  const fs::path source = root.DriveC() / "logo.bmp";
  const auto stamp = fs::file_time_type::clock::now() - std::chrono::hours(48);
  fs::last_write_time(source, stamp);
  ASSERT_TRUE(CreateDirectoryA("c:\\logos", nullptr));
  ASSERT_TRUE(CopyFileA("c:\\logo.bmp", "c:\\LOGOS\\start.sys", TRUE));
  const fs::path copy = root.DriveC() / "logos" / "start.sys";
  EXPECT_EQ(ReadHostFile(copy), "new picture");
  EXPECT_EQ(GetFileAttributesA("c:\\logos\\start.sys"),
            FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(fs::last_write_time(copy), stamp);
  EXPECT_EQ(fs::directory_iterator(root.DriveC() / "logos")->path().filename(), "start.sys");  // no temporary left
}

TEST_F(KernelCopy, FailsWithoutTouchingAnything) {
  Source(FILE_ATTRIBUTE_NORMAL);
  Target(FILE_ATTRIBUTE_NORMAL);
  struct Case {
    const char* from;
    const char* to;
    DWORD error;
  };
  const Case cases[] = {
      {"c:\\missing.bmp", "c:\\logo.sys", ERROR_FILE_NOT_FOUND},
      {"c:\\missing\\a.bmp", "c:\\logo.sys", ERROR_PATH_NOT_FOUND},
      {"c:\\logo.bmp", "c:\\missing\\logo.sys", ERROR_PATH_NOT_FOUND},
      {"c:\\logo.sys", "C:\\LOGO.SYS", ERROR_SHARING_VIOLATION},
      {"c:\\windows", "c:\\copy", ERROR_ACCESS_DENIED},
      {"c:\\logo.bmp", "c:\\windows", ERROR_ACCESS_DENIED},
      {"q:\\logo.bmp", "c:\\logo.sys", ERROR_PATH_NOT_FOUND},
  };
  for (const Case& c : cases) {
    SetLastError(0);
    EXPECT_FALSE(CopyFileA(c.from, c.to, FALSE)) << c.from << " to " << c.to;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(c.error)) << c.from << " to " << c.to;
  }
  EXPECT_EQ(TargetContent(), "old");
}

// How the composer saves a slot: clear the slot's attributes, copy over it, put them back.
TEST_F(KernelCopy, ProtectedSlotIsReplacedKeepingItsAttributes) {
  Source(FILE_ATTRIBUTE_ARCHIVE);
  Target(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  const DWORD kept = GetFileAttributesA("c:\\logo.sys");
  ASSERT_TRUE(SetFileAttributesA("c:\\logo.sys", 0));
  ASSERT_TRUE(CopyFileA("c:\\logo.bmp", "c:\\logo.sys", FALSE));
  ASSERT_TRUE(SetFileAttributesA("c:\\logo.sys", kept));
  EXPECT_EQ(TargetContent(), "new picture");
  EXPECT_EQ(GetFileAttributesA("c:\\logo.sys"), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
}

}  // namespace
