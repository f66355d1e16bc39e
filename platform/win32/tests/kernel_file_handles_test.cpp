#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <string>

#include "kernel_test_files.h"
#include "win32/kernel.h"
#include "win32/testing/machine_root.h"

namespace {

class KernelFileHandles : public MachineRootTest {
 protected:
  std::filesystem::path Host() { return root.DriveC() / "data.bin"; }
};

TEST_F(KernelFileHandles, CreationDispositions) {
  struct Case {
    DWORD disposition;
    bool exists;
    bool opens;
    DWORD error;
    const char* contentAfter;
  };
  const Case cases[] = {
      {CREATE_NEW, false, true, ERROR_SUCCESS, ""},
      {CREATE_NEW, true, false, ERROR_FILE_EXISTS, "old"},
      {CREATE_ALWAYS, false, true, ERROR_SUCCESS, ""},
      {CREATE_ALWAYS, true, true, ERROR_ALREADY_EXISTS, ""},
      {OPEN_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
      {OPEN_EXISTING, true, true, ERROR_SUCCESS, "old"},
      {OPEN_ALWAYS, false, true, ERROR_SUCCESS, ""},
      {OPEN_ALWAYS, true, true, ERROR_ALREADY_EXISTS, "old"},
      {TRUNCATE_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
      {TRUNCATE_EXISTING, true, true, ERROR_SUCCESS, ""},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(Host());
    if (c.exists) WriteHostFile(Host(), "old");
    SetLastError(12345);
    HANDLE file = CreateFileA("c:\\data.bin", GENERIC_READ | GENERIC_WRITE, 0, nullptr, c.disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_EQ(file != INVALID_HANDLE_VALUE, c.opens) << c.disposition << " " << c.exists;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(c.error)) << c.disposition << " " << c.exists;
    if (file != INVALID_HANDLE_VALUE) {
      EXPECT_TRUE(CloseHandle(file));
    }
    if (c.contentAfter) {
      EXPECT_EQ(ReadHostFile(Host()), c.contentAfter) << c.disposition << " " << c.exists;
    } else {
      EXPECT_FALSE(std::filesystem::exists(Host()));
    }
  }
  SetLastError(0);
  EXPECT_EQ(CreateFileA("c:\\missing\\data.bin", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(CreateFileA("c:\\windows", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST_F(KernelFileHandles, OverwritingAHiddenFileNeedsTheAttributeAsked) {
  WriteHostFile(Host(), "old");
  ASSERT_TRUE(SetFileAttributesA("c:\\data.bin", FILE_ATTRIBUTE_HIDDEN));
  EXPECT_EQ(CreateFileA("c:\\data.bin", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  HANDLE file = CreateFileA("c:\\data.bin", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  EXPECT_EQ(GetFileAttributesA("c:\\data.bin"), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
}

TEST_F(KernelFileHandles, ReadWriteSeekAndTruncate) {
  HANDLE file = CreateFileA("c:\\data.bin", GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD count = 0;
  ASSERT_TRUE(WriteFile(file, "0123456789", 10, &count, nullptr));
  EXPECT_EQ(count, 10u);
  DWORD high = 7;
  EXPECT_EQ(GetFileSize(file, &high), 10u);
  EXPECT_EQ(high, 0u);
  struct Seek {
    LONG distance;
    DWORD method;
    DWORD position;
  };
  const Seek seeks[] = {{2, FILE_BEGIN, 2}, {3, FILE_CURRENT, 5}, {-4, FILE_END, 6}, {20, FILE_BEGIN, 20}};
  for (const Seek& s : seeks) EXPECT_EQ(SetFilePointer(file, s.distance, nullptr, s.method), s.position);
  EXPECT_EQ(SetFilePointer(file, -1, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NEGATIVE_SEEK));
  LONG farHigh = 1;
  EXPECT_EQ(SetFilePointer(file, 0, &farHigh, FILE_BEGIN), 0u);  // 4 GiB, sparse
  EXPECT_EQ(farHigh, 1);

  SetFilePointer(file, 4, nullptr, FILE_BEGIN);
  char buffer[16] = {};
  ASSERT_TRUE(ReadFile(file, buffer, sizeof buffer, &count, nullptr));
  EXPECT_EQ(std::string(buffer, count), "456789");
  ASSERT_TRUE(ReadFile(file, buffer, sizeof buffer, &count, nullptr));  // at the end: success, nothing read
  EXPECT_EQ(count, 0u);
  SetFilePointer(file, 3, nullptr, FILE_BEGIN);
  ASSERT_TRUE(SetEndOfFile(file));
  EXPECT_EQ(GetFileSize(file, nullptr), 3u);
  EXPECT_TRUE(FlushFileBuffers(file));
  EXPECT_TRUE(CloseHandle(file));
  EXPECT_EQ(ReadHostFile(Host()), "012");
  EXPECT_FALSE(CloseHandle(file));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(KernelFileHandles, AccessFollowsTheHandle) {
  WriteHostFile(Host(), "abc");
  HANDLE reading = CreateFileA("c:\\data.bin", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(reading, INVALID_HANDLE_VALUE);
  DWORD count = 9;
  EXPECT_FALSE(WriteFile(reading, "x", 1, &count, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(count, 0u);
  EXPECT_FALSE(SetEndOfFile(reading));
  CloseHandle(reading);
  HANDLE writing = CreateFileA("c:\\data.bin", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  char byte;
  EXPECT_FALSE(ReadFile(writing, &byte, 1, &count, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  CloseHandle(writing);
  EXPECT_EQ(ReadHostFile(Host()), "abc");
}

TEST_F(KernelFileHandles, SharingBetweenHandles) {
  WriteHostFile(Host(), "abc");
  struct Case {
    DWORD firstAccess, firstShare, secondAccess, secondShare;
    bool secondOpens;
  };
  const Case cases[] = {
      {GENERIC_READ, FILE_SHARE_READ, GENERIC_READ, FILE_SHARE_READ, true},
      {GENERIC_READ, FILE_SHARE_READ, GENERIC_WRITE, FILE_SHARE_READ, false},
      {GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, GENERIC_WRITE, FILE_SHARE_READ, true},
      {GENERIC_WRITE, 0, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, false},
      {GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, GENERIC_READ, FILE_SHARE_READ, true},
      {GENERIC_WRITE, FILE_SHARE_READ, GENERIC_READ, FILE_SHARE_READ, false},  // the second must share write
  };
  for (const Case& c : cases) {
    HANDLE first = CreateFileA("c:\\data.bin", c.firstAccess, c.firstShare, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    HANDLE second = CreateFileA("C:\\Data.Bin", c.secondAccess, c.secondShare, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(second != INVALID_HANDLE_VALUE, c.secondOpens);
    if (second != INVALID_HANDLE_VALUE) {
      CloseHandle(second);
    } else {
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    }
    CloseHandle(first);
  }
  HANDLE open = CreateFileA("c:\\data.bin", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_FALSE(DeleteFileA("c:\\data.bin"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  CloseHandle(open);
  EXPECT_TRUE(DeleteFileA("c:\\data.bin"));
}

TEST_F(KernelFileHandles, FolderAndRenameCalls) {
  WriteHostFile(root.DriveC() / "logos" / "a.sys", "a");
  struct Call {
    const char* what;
    BOOL (*run)();
    DWORD error;
  };
  const Call calls[] = {
      {"create existing", [] { return CreateDirectoryA("c:\\LOGOS", nullptr); }, ERROR_ALREADY_EXISTS},
      {"create in missing", [] { return CreateDirectoryA("c:\\missing\\logos", nullptr); }, ERROR_PATH_NOT_FOUND},
      {"remove not empty", [] { return RemoveDirectoryA("c:\\logos"); }, ERROR_DIR_NOT_EMPTY},
      {"remove missing", [] { return RemoveDirectoryA("c:\\missing"); }, ERROR_FILE_NOT_FOUND},
      {"remove a file", [] { return RemoveDirectoryA("c:\\logos\\a.sys"); }, ERROR_DIRECTORY},
      {"delete missing", [] { return DeleteFileA("c:\\logos\\b.sys"); }, ERROR_FILE_NOT_FOUND},
      {"delete a folder", [] { return DeleteFileA("c:\\logos"); }, ERROR_ACCESS_DENIED},
      {"move missing", [] { return MoveFileA("c:\\logos\\b.sys", "c:\\logos\\c.sys"); }, ERROR_FILE_NOT_FOUND},
      {"move onto existing", [] { return MoveFileA("c:\\windows", "c:\\Logos"); }, ERROR_ALREADY_EXISTS},
      {"move into missing", [] { return MoveFileA("c:\\logos\\a.sys", "c:\\missing\\a.sys"); }, ERROR_PATH_NOT_FOUND},
  };
  for (const Call& c : calls) {
    SetLastError(0);
    EXPECT_FALSE(c.run()) << c.what;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(c.error)) << c.what;
  }
  EXPECT_TRUE(MoveFileA("c:\\logos\\a.sys", "c:\\logos\\A.SYS"));  // a change of case only
  EXPECT_TRUE(std::filesystem::exists(root.DriveC() / "logos" / "A.SYS"));
  EXPECT_FALSE(std::filesystem::exists(root.DriveC() / "logos" / "a.sys"));
  EXPECT_TRUE(MoveFileA("c:\\logos\\a.sys", "c:\\b.sys"));
  EXPECT_EQ(ReadHostFile(root.DriveC() / "b.sys"), "a");
  EXPECT_TRUE(RemoveDirectoryA("c:\\LOGOS"));
  EXPECT_FALSE(std::filesystem::exists(root.DriveC() / "logos"));
}

}  // namespace

TEST_F(KernelFileHandles, OpeningAFifoForReadingDoesNotWaitForAWriter) {
  ASSERT_EQ(::mkfifo(Host().c_str(), 0600), 0);
  // Without a writer the open would wait for ever; the test would hang instead of failing.
  HANDLE file = CreateFileA("c:\\data.bin", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  char buffer[8];
  DWORD read = 99;
  EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, &read, nullptr));
  EXPECT_EQ(read, 0u);  // no writer: the end at once
  EXPECT_TRUE(CloseHandle(file));

  // A regular file still reads whole, in blocking mode.
  const auto plain = root.DriveC() / "plain.bin";
  WriteHostFile(plain, "contents");
  file = CreateFileA("c:\\plain.bin", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(ReadFile(file, buffer, 8, &read, nullptr));
  EXPECT_EQ(std::string(buffer, read), "contents");
  EXPECT_TRUE(CloseHandle(file));
}
