#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include "kernel_test_files.h"
#include "win32/kernel.h"
#include "win32/testing/machine_root.h"

namespace {

std::string DosAttributeText(const std::filesystem::path& path) {
  char text[64];
  const ssize_t size = ::getxattr(path.c_str(), "user.DOSATTRIB", text, sizeof text);
  return size < 0 ? "" : std::string(text, static_cast<std::size_t>(size));
}

class KernelAttributes : public MachineRootTest {
 protected:
  void SetUp() override { WriteHostFile(root.DriveC() / "LOGO.SYS", "logo"); }
};

TEST_F(KernelAttributes, RoundTripsThroughPermissionAndExtendedAttribute) {
  struct Case {
    DWORD set;
    DWORD read;
    const char* dosText;
    bool ownerWrite;
  };
  const Case cases[] = {
      {FILE_ATTRIBUTE_NORMAL, FILE_ATTRIBUTE_NORMAL, "", true},
      {0, FILE_ATTRIBUTE_NORMAL, "", true},
      {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_READONLY, "", false},
      {FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE, "0x22", true},
      {FILE_ATTRIBUTE_SYSTEM, FILE_ATTRIBUTE_SYSTEM, "0x4", true},
      {FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM,
       FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, "0x6", false},
      // A file cannot be made a folder, nor NORMAL kept beside other bits.
      {FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_ARCHIVE, "0x20", true},
  };
  const auto host = root.DriveC() / "LOGO.SYS";
  for (const Case& c : cases) {
    ASSERT_TRUE(SetFileAttributesA("c:\\logo.sys", c.set)) << c.set;
    EXPECT_EQ(GetFileAttributesA("C:/Logo.Sys"), c.read) << c.set;
    EXPECT_EQ(DosAttributeText(host), c.dosText) << c.set;
    EXPECT_EQ((std::filesystem::status(host).permissions() & std::filesystem::perms::owner_write) !=
                  std::filesystem::perms::none,
              c.ownerWrite)
        << c.set;
  }
}

TEST_F(KernelAttributes, ReadsAttributesWrittenByTheHost) {
  const auto host = root.DriveC() / "LOGO.SYS";
  ::setxattr(host.c_str(), "user.DOSATTRIB", "0x6", 3, 0);
  EXPECT_EQ(GetFileAttributesA("c:\\logo.sys"), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  ::setxattr(host.c_str(), "user.DOSATTRIB", "\x03\x00\x11", 3, 0);  // not our text form
  EXPECT_EQ(GetFileAttributesA("c:\\logo.sys"), FILE_ATTRIBUTE_NORMAL);
  std::filesystem::permissions(host, std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
  EXPECT_EQ(GetFileAttributesA("c:\\logo.sys"), FILE_ATTRIBUTE_READONLY);
}

TEST_F(KernelAttributes, FoldersKeepReadOnlyAsAMarkOnly) {
  ASSERT_TRUE(CreateDirectoryA("c:\\logos", nullptr));
  EXPECT_EQ(GetFileAttributesA("c:\\logos"), FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(GetFileAttributesA("c:\\"), FILE_ATTRIBUTE_DIRECTORY);
  ASSERT_TRUE(SetFileAttributesA("c:\\logos", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  EXPECT_EQ(GetFileAttributesA("c:\\logos"),
            FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  WriteHostFile(root.DriveC() / "logos" / "a.sys", "a");  // still writable
  EXPECT_EQ(ReadHostFile(root.DriveC() / "logos" / "a.sys"), "a");
}

TEST_F(KernelAttributes, MissingFilesAndFolders) {
  struct Case {
    const char* path;
    DWORD error;
  };
  const Case cases[] = {
      {"c:\\missing.sys", ERROR_FILE_NOT_FOUND},
      {"c:\\missing\\logo.sys", ERROR_PATH_NOT_FOUND},
      {"q:\\logo.sys", ERROR_PATH_NOT_FOUND},
  };
  for (const Case& c : cases) {
    SetLastError(0);
    EXPECT_EQ(GetFileAttributesA(c.path), INVALID_FILE_ATTRIBUTES) << c.path;
    EXPECT_EQ(GetLastError(), c.error) << c.path;
    SetLastError(0);
    EXPECT_FALSE(SetFileAttributesA(c.path, FILE_ATTRIBUTE_HIDDEN)) << c.path;
    EXPECT_EQ(GetLastError(), c.error) << c.path;
  }
}

// Even for root, whom the host would let write, a read-only file is refused as on Windows.
TEST_F(KernelAttributes, ReadOnlyFilesRefuseWritesAndDeletion) {
  ASSERT_TRUE(SetFileAttributesA("c:\\logo.sys", FILE_ATTRIBUTE_READONLY));
  for (DWORD disposition : {OPEN_EXISTING, OPEN_ALWAYS, CREATE_ALWAYS, TRUNCATE_EXISTING}) {
    SetLastError(0);
    EXPECT_EQ(CreateFileA("c:\\logo.sys", GENERIC_WRITE, 0, nullptr, disposition, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  }
  EXPECT_FALSE(DeleteFileA("c:\\logo.sys"));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_EQ(ReadHostFile(root.DriveC() / "LOGO.SYS"), "logo");
  HANDLE reading = CreateFileA("c:\\logo.sys", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(reading, INVALID_HANDLE_VALUE);
  CloseHandle(reading);
  ASSERT_TRUE(SetFileAttributesA("c:\\logo.sys", FILE_ATTRIBUTE_NORMAL));
  EXPECT_TRUE(DeleteFileA("c:\\logo.sys"));
}

// The attributes of a file outside the machine folder are not changed through a link; a link
// to a file in the machine changes that file's, as Windows drive letters see it.
TEST_F(KernelAttributes, ALinkOutOfTheMachineFolderChangesNoAttributes) {
  const ScopedHostFolder host(root);
  const auto outside = host.Path() / "picture.sys";
  WriteHostFile(outside, "the host's");
  std::filesystem::permissions(outside, std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
  const auto before = std::filesystem::status(outside).permissions();
  std::filesystem::create_symlink(outside, root.DriveC() / "out.sys");
  std::filesystem::create_symlink(root.DriveC() / "LOGO.SYS", root.DriveC() / "in.sys");
  EXPECT_FALSE(SetFileAttributesA("c:\\out.sys", FILE_ATTRIBUTE_HIDDEN));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(std::filesystem::status(outside).permissions(), before);
  EXPECT_EQ(DosAttributeText(outside), "");
  EXPECT_TRUE(SetFileAttributesA("c:\\in.sys", FILE_ATTRIBUTE_HIDDEN));
  EXPECT_EQ(DosAttributeText(root.DriveC() / "LOGO.SYS"), "0x2");
}

}  // namespace
