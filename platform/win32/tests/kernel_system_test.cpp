#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

#include "win32/kernel.h"
#include "win32/machine.h"
#include "win32/testing/machine_root.h"

namespace {

class KernelSystem : public MachineRootTest {};

TEST_F(KernelSystem, FolderCallsFollowTheBufferRule) {
  struct Case {
    const char* name;
    UINT (*call)(LPSTR, UINT);
    const char* path;
  };
  const Case cases[] = {
      {"windows", [](LPSTR b, UINT n) { return GetWindowsDirectoryA(b, n); }, "C:\\WINDOWS"},
      {"system", [](LPSTR b, UINT n) { return GetSystemDirectoryA(b, n); }, "C:\\WINDOWS\\SYSTEM"},
      {"temp", [](LPSTR b, UINT n) { return static_cast<UINT>(GetTempPathA(n, b)); }, "C:\\WINDOWS\\TEMP\\"},
      {"current", [](LPSTR b, UINT n) { return static_cast<UINT>(GetCurrentDirectoryA(n, b)); }, nullptr},
  };
  for (const Case& c : cases) {
    const std::string expected = c.path ? c.path : machine::CurrentDirectory();
    char buffer[MAX_PATH] = "untouched";
    EXPECT_EQ(c.call(buffer, static_cast<UINT>(expected.size())), expected.size() + 1) << c.name;
    EXPECT_STREQ(buffer, "untouched") << c.name;
    EXPECT_EQ(c.call(buffer, sizeof buffer), expected.size()) << c.name;
    EXPECT_EQ(buffer, expected) << c.name;
  }
  EXPECT_TRUE(std::filesystem::is_directory(root.DriveC() / "windows" / "TEMP"));
}

TEST_F(KernelSystem, CurrentDirectoryIsAWindowsPath) {
  ASSERT_TRUE(SetCurrentDirectoryA("c:/Windows/"));
  char buffer[MAX_PATH];
  GetCurrentDirectoryA(sizeof buffer, buffer);
  EXPECT_STREQ(buffer, "C:\\Windows");
  EXPECT_FALSE(SetCurrentDirectoryA("c:\\missing"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(SetCurrentDirectoryA("q:\\"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  GetCurrentDirectoryA(sizeof buffer, buffer);
  EXPECT_STREQ(buffer, "C:\\Windows");
}

TEST_F(KernelSystem, ModuleFileNameIsTheBinaryOnDriveZ) {
  char buffer[MAX_PATH * 4];
  const DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  const std::string path(buffer, n);
  EXPECT_TRUE(path.starts_with("Z:\\")) << path;
  EXPECT_TRUE(path.ends_with("\\win32_tests")) << path;
  EXPECT_EQ(machine::HostPath(path), std::filesystem::read_symlink("/proc/self/exe"));
  char small[5];
  EXPECT_EQ(GetModuleFileNameA(nullptr, small, sizeof small), sizeof small);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(small, path.substr(0, sizeof small - 1));
}

TEST(KernelVersion, ReportsWindows98) {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  ASSERT_TRUE(GetVersionExA(&info));
  EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_WINDOWS);
  EXPECT_EQ(info.dwMajorVersion, 4u);
  EXPECT_EQ(info.dwMinorVersion, 10u);
  OSVERSIONINFOA unsized{};
  EXPECT_FALSE(GetVersionExA(&unsized));
}

TEST(KernelTime, SleepAdvancesTheTickCount) {
  const DWORD before = GetTickCount();
  const auto start = std::chrono::steady_clock::now();
  Sleep(30);
  const auto slept = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  EXPECT_GE(slept.count(), 30);
  EXPECT_GE(GetTickCount() - before, 30u);
}

}  // namespace
