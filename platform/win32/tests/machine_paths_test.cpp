#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "win32/machine.h"
#include "win32/testing/machine_root.h"

namespace fs = std::filesystem;

namespace {

class MachinePaths : public MachineRootTest {
 protected:
  void SetUp() override {
    fs::create_directories(root.DriveC() / "windows" / "System");
    std::ofstream(root.DriveC() / "windows" / "System" / "Foo.TXT") << "x";
    fs::create_directories(root.Path() / "drive_d");
    fs::create_directories(root.Path() / "elsewhere" / "Inner");
    fs::create_directory_symlink(root.Path() / "elsewhere", root.Path() / "drive_e");
  }
};

TEST_F(MachinePaths, RootIsCreatedWithTheWindowsFolders) {
  EXPECT_EQ(machine::Root(), root.Path());
  EXPECT_TRUE(fs::is_directory(root.DriveC() / "windows" / "Start Menu" / "Programs" / "StartUp"));
}

TEST(MachineRoot, ACopiedWindowsTreeInCapitalsGetsOnlyWhatIsMissing) {
  ScopedMachineRoot scoped;
  const fs::path copied = scoped.Path() / "copied";
  fs::create_directories(copied / "drive_c" / "WINDOWS" / "START MENU" / "PROGRAMS");
  std::ofstream(copied / "drive_c" / "WINDOWS" / "LOGOW.SYS") << "wait";
  std::ofstream(copied / "drive_c" / "LOGO.SYS") << "start";
  ::setenv("STARTLOGO_ROOT", copied.c_str(), 1);
  machine::Reset();
  machine::Root();
  std::vector<std::string> folders;
  for (auto it = fs::recursive_directory_iterator(copied); it != fs::recursive_directory_iterator(); ++it)
    if (it->is_directory()) folders.push_back(fs::relative(it->path(), copied).string());
  std::sort(folders.begin(), folders.end());
  EXPECT_EQ(folders, (std::vector<std::string>{"drive_c", "drive_c/WINDOWS", "drive_c/WINDOWS/START MENU",
                                               "drive_c/WINDOWS/START MENU/PROGRAMS",
                                               "drive_c/WINDOWS/START MENU/PROGRAMS/StartUp"}));
  EXPECT_EQ(machine::HostPath("c:\\windows\\logow.sys"), copied / "drive_c" / "WINDOWS" / "LOGOW.SYS");
  EXPECT_EQ(machine::HostPath("C:\\WINDOWS\\Start Menu\\Programs\\StartUp"),
            copied / "drive_c" / "WINDOWS" / "START MENU" / "PROGRAMS" / "StartUp");
  EXPECT_EQ(machine::HostPath("c:\\logo.sys"), copied / "drive_c" / "LOGO.SYS");
}

TEST(MachineRoot, FallsBackToXdgDataHome) {
  ScopedMachineRoot scoped;
  const char* xdg = ::getenv("XDG_DATA_HOME");
  const std::string oldXdg = xdg ? xdg : "";
  ::unsetenv("STARTLOGO_ROOT");
  ::setenv("XDG_DATA_HOME", (scoped.Path() / "xdg").c_str(), 1);
  machine::Reset();
  EXPECT_EQ(machine::Root(), scoped.Path() / "xdg" / "startlogo");
  EXPECT_TRUE(fs::is_directory(scoped.Path() / "xdg" / "startlogo" / "drive_c" / "windows"));
  if (xdg) ::setenv("XDG_DATA_HOME", oldXdg.c_str(), 1);
  else
    ::unsetenv("XDG_DATA_HOME");
}

TEST_F(MachinePaths, AbsolutePathsMapToDriveFolders) {
  struct Case {
    const char* windows;
    fs::path host;
  };
  const fs::path r = root.Path();
  const Case cases[] = {
      {"c:\\windows", r / "drive_c/windows"},
      {"C:/WINDOWS/system/foo.txt", r / "drive_c/windows/System/Foo.TXT"},
      {"c:\\Windows\\SYSTEM\\", r / "drive_c/windows/System"},
      {"c:\\windows\\New\\File.txt", r / "drive_c/windows/New/File.txt"},
      {"c:\\windows\\..\\windows\\.\\system\\..\\..\\..\\logo.sys", r / "drive_c/logo.sys"},
      {"d:\\x.sys", r / "drive_d/x.sys"},
      {"E:\\inner\\A", r / "drive_e/Inner/A"},
      {"z:\\usr\\bin", "/usr/bin"},
      {"Z:/", "/"},
      {"q:\\logo.sys", ""},
      {"\\\\server\\share\\logo.sys", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(machine::HostPath(c.windows), c.host) << c.windows;
}

TEST_F(MachinePaths, RelativePathsFollowTheCurrentDirectory) {
  EXPECT_EQ(machine::HostPath(machine::CurrentDirectory()), fs::current_path());
  ASSERT_TRUE(machine::ChangeCurrentDirectory("C:/Windows"));
  EXPECT_EQ(machine::CurrentDirectory(), "C:\\Windows");
  struct Case {
    const char* windows;
    const char* full;
    fs::path host;
  };
  const fs::path c = root.DriveC();
  const Case cases[] = {
      {"system\\FOO.txt", "C:\\Windows\\system\\FOO.txt", c / "windows/System/Foo.TXT"},
      {"..\\logo.sys", "C:\\logo.sys", c / "logo.sys"},
      {"\\logo.sys", "C:\\logo.sys", c / "logo.sys"},
      {"c:logow.sys", "C:\\Windows\\logow.sys", c / "windows/logow.sys"},
      {"d:x.sys", "D:\\x.sys", root.Path() / "drive_d/x.sys"},
  };
  for (const Case& k : cases) {
    EXPECT_EQ(machine::FullWindowsPath(k.windows), k.full) << k.windows;
    EXPECT_EQ(machine::HostPath(k.windows), k.host) << k.windows;
  }
}

TEST_F(MachinePaths, CurrentDirectoryMustBeAnExistingFolder) {
  const std::string before = machine::CurrentDirectory();
  EXPECT_FALSE(machine::ChangeCurrentDirectory("c:\\missing"));
  EXPECT_FALSE(machine::ChangeCurrentDirectory("c:\\windows\\system\\foo.txt"));
  EXPECT_FALSE(machine::ChangeCurrentDirectory("q:\\"));
  EXPECT_EQ(machine::CurrentDirectory(), before);
}

TEST_F(MachinePaths, HostPathsMapBackToDrives) {
  struct Case {
    fs::path host;
    const char* windows;
  };
  const fs::path r = root.Path();
  const Case cases[] = {
      {r / "drive_c", "C:\\"},
      {r / "drive_c/windows/System/Foo.TXT", "C:\\windows\\System\\Foo.TXT"},
      {r / "drive_d/", "D:\\"},
      {r / "drive_e/Inner", "E:\\Inner"},
      {r / "elsewhere/Inner", "E:\\Inner"},
      {"/usr/bin", "Z:\\usr\\bin"},
      {"/", "Z:\\"},
  };
  for (const Case& c : cases) EXPECT_EQ(machine::WindowsPath(c.host), c.windows) << c.host;
}

}  // namespace
