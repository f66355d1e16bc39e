#include <gtest/gtest.h>

#include <vector>

#include "kernel_test_files.h"
#include "win32/kernel.h"
#include "win32/machine.h"
#include "win32/testing/machine_root.h"

namespace {

TEST(KernelMasks, MatchWithoutRegardToCaseAsWindows) {
  struct Case {
    const char* name;
    const char* mask;
    bool matches;
  };
  const Case cases[] = {
      {"LOGO.SYS", "*.sys", true},
      {"logo.sys", "*.SYS", true},
      {"logo.sys", "*.txt", false},
      {"jokes.txt", "*.TXT", true},
      {"jokes.txt.bak", "*.txt", false},
      {"README", "*.*", true},
      {"a.b.c", "*.*", true},
      {".", "*.*", true},
      {"logo", "logo.*", true},
      {"logo.sys", "logo.*", true},
      {"logos", "logo.*", false},
      {"logo", "*.", true},
      {"logo.sys", "*.", false},
      {"logow.sys", "logo?.sys", true},
      {"logo.sys", "logo?.sys", false},
      {"LOGOS.SYS", "l?g?s.*", true},
      {"none.sys", "None.sys", true},
      {"anything", "*", true},
      {"ab", "a*b*", true},
      {"originalstart.sys", "*start*.sys", true},
      {"start.bmp", "*start*.sys", false},
  };
  for (const Case& c : cases) EXPECT_EQ(machine::MatchesMask(c.name, c.mask), c.matches) << c.name << " " << c.mask;
}

class KernelFind : public MachineRootTest {
 protected:
  void SetUp() override {
    WriteHostFile(root.DriveC() / "logos" / "Start" / "b.SYS", "bb");
    WriteHostFile(root.DriveC() / "logos" / "Start" / "A.sys", "a");
    WriteHostFile(root.DriveC() / "logos" / "Start" / "notes.txt", "n");
    std::filesystem::create_directories(root.DriveC() / "logos" / "Start" / "old.sys");
    ASSERT_TRUE(SetFileAttributesA("c:\\logos\\start\\a.sys", FILE_ATTRIBUTE_HIDDEN));
  }
  std::vector<WIN32_FIND_DATAA> FindAll(const char* pattern) {
    std::vector<WIN32_FIND_DATAA> found;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(pattern, &data);
    if (find == INVALID_HANDLE_VALUE) return found;
    do found.push_back(data);
    while (FindNextFileA(find, &data));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
    EXPECT_TRUE(FindClose(find));
    return found;
  }
  static std::vector<std::string> Names(const std::vector<WIN32_FIND_DATAA>& found) {
    std::vector<std::string> names;
    for (const auto& entry : found) names.emplace_back(entry.cFileName);
    return names;
  }
};

TEST_F(KernelFind, ListsMatchesInNameOrderWithDotsForFolders) {
  using Names_ = std::vector<std::string>;
  struct Case {
    const char* pattern;
    Names_ names;
  };
  const Case cases[] = {
      {"c:\\LOGOS\\start\\*.sys", {"A.sys", "b.SYS", "old.sys"}},
      {"c:/logos/start/*.*", {".", "..", "A.sys", "b.SYS", "notes.txt", "old.sys"}},
      {"c:\\logos\\start\\*.TXT", {"notes.txt"}},
      {"c:\\logos\\start\\B.sys", {"b.SYS"}},
      {"c:\\*.*", {"logos", "windows"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Names(FindAll(c.pattern)), c.names) << c.pattern;
}

TEST_F(KernelFind, RelativePatternsSearchTheCurrentDirectory) {
  ASSERT_TRUE(SetCurrentDirectoryA("c:\\logos\\start"));
  EXPECT_EQ(Names(FindAll("*.txt")), std::vector<std::string>{"notes.txt"});
  EXPECT_EQ(Names(FindAll("..\\*")), (std::vector<std::string>{".", "..", "Start"}));
}

TEST_F(KernelFind, ReportsSizesAttributesAndTimes) {
  const auto found = FindAll("c:\\logos\\start\\*.sys");
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(found[0].dwFileAttributes, FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(found[0].nFileSizeLow, 1u);
  EXPECT_EQ(found[1].dwFileAttributes, FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(found[1].nFileSizeLow, 2u);
  EXPECT_EQ(found[1].nFileSizeHigh, 0u);
  EXPECT_EQ(found[2].dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(found[2].nFileSizeLow, 0u);
  // Written just now: after 2020 in 100 ns steps since 1601.
  const std::uint64_t written = (std::uint64_t{found[1].ftLastWriteTime.dwHighDateTime} << 32) |
                                found[1].ftLastWriteTime.dwLowDateTime;
  EXPECT_GT(written, 132223104000000000ull);
}

TEST_F(KernelFind, FailuresTellWhy) {
  struct Case {
    const char* pattern;
    DWORD error;
  };
  const Case cases[] = {
      {"c:\\logos\\start\\*.bmp", ERROR_FILE_NOT_FOUND},
      {"c:\\logos\\missing\\*.*", ERROR_PATH_NOT_FOUND},
      {"c:\\logos\\start\\notes.txt\\*.*", ERROR_PATH_NOT_FOUND},
      {"q:\\*.*", ERROR_PATH_NOT_FOUND},
  };
  for (const Case& c : cases) {
    WIN32_FIND_DATAA data;
    SetLastError(0);
    EXPECT_EQ(FindFirstFileA(c.pattern, &data), INVALID_HANDLE_VALUE) << c.pattern;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(c.error)) << c.pattern;
  }
  EXPECT_FALSE(FindNextFileA(reinterpret_cast<HANDLE>(0x1234), nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

}  // namespace
