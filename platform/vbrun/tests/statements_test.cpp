#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "vbrun/conversions.h"
#include "vbrun/declare.h"
#include "vbrun/errors.h"
#include "vbrun/files.h"
#include "vbrun/settings.h"
#include "win32/kernel.h"
#include "win32/registry.h"
#include "win32/shell.h"
#include "win32/testing/machine_root.h"

namespace {

// The error number a statement raises, 0 when it completes.
int ErrorOf(const std::function<void()>& statement) {
  try {
    statement();
    return 0;
  } catch (const vb::RuntimeError& e) {
    return e.Number;
  }
}

TEST(VbConversions, CIntRoundsHalvesToEvenAndChecksRange) {
  const struct {
    double in;
    int out;
  } cases[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {0.4999, 0}, {32767.4, 32767}, {-32768.0, -32768}};
  for (const auto& c : cases) EXPECT_EQ(vb::CInt(c.in), c.out) << c.in;
  EXPECT_EQ(ErrorOf([] { vb::CInt(32767.5); }), vb::vbErrOverflow);
  EXPECT_EQ(ErrorOf([] { vb::CInt(-32768.6); }), vb::vbErrOverflow);
  EXPECT_EQ(vb::CInt(std::string("7.")), 7);
  EXPECT_EQ(vb::CInt(std::string(" 6.5 ")), 6);
  EXPECT_EQ(vb::CInt(std::string("&h10")), 16);
  for (const char* bad : {"", "abc", "6 sec", "1e"})
    EXPECT_EQ(ErrorOf([&] { vb::CInt(std::string(bad)); }), vb::vbErrTypeMismatch) << bad;
  EXPECT_EQ(ErrorOf([] { vb::CInt(std::string("99999")); }), vb::vbErrOverflow);
}

TEST(VbConversions, IsNumericAndVal) {
  for (const char* yes : {"0", "-3", "+7.", ".5", "1e3", "2.5E-2", " 12 ", "&hFF", "&o17", "1d2"})
    EXPECT_TRUE(vb::IsNumeric(yes)) << yes;
  for (const char* no : {"", " ", "abc", "1.2.3", "e5", "&h", "&hG", "12a", "-"}) EXPECT_FALSE(vb::IsNumeric(no)) << no;
  EXPECT_EQ(vb::Val(" 1 2 3abc"), 123);
  EXPECT_EQ(vb::Val("abc"), 0);
  EXPECT_EQ(vb::Val("2.5e1x"), 25);
  EXPECT_EQ(vb::Val("&hFF"), 255);
  EXPECT_EQ(vb::Val("&hFFFF"), -1);  // four digits are a 16-bit value
  EXPECT_EQ(vb::Val("&h0000FFFF"), 65535);  // more are 32-bit
  EXPECT_EQ(vb::Val("&hFFFFFFFF"), -1);
  EXPECT_EQ(vb::Int(-2.5), -3);
}

TEST(VbRandom, TheRunTimesSequenceAndSeeding) {
  vb::ResetRandomGenerator();
  EXPECT_FLOAT_EQ(vb::Rnd(), 0.7055475f);
  EXPECT_FLOAT_EQ(vb::Rnd(), 0.533424f);
  vb::ResetRandomGenerator();
  vb::Randomize(12345.0);
  const float seeded = vb::Rnd();
  vb::ResetRandomGenerator();
  vb::Randomize(12345.0);
  EXPECT_EQ(vb::Rnd(), seeded);
  vb::ResetRandomGenerator();
  vb::Randomize(54321.0);
  EXPECT_NE(vb::Rnd(), seeded);
  for (int i = 0; i < 1000; ++i) {
    const int index = vb::RandomIndex(3);
    ASSERT_GE(index, 0);
    ASSERT_LT(index, 3);
  }
  EXPECT_EQ(vb::RandomIndex(0), 0);
}

class VbFiles : public MachineRootTest {
 protected:
  void Write(const std::string& relative, const std::string& text) {
    std::ofstream(root.DriveC() / relative, std::ios::binary) << text;
  }
};

TEST_F(VbFiles, StatementsAndTheirErrors) {
  Write("a.sys", "12345");
  EXPECT_EQ(vb::FileLen("c:\\a.sys"), 5);
  EXPECT_EQ(ErrorOf([] { vb::FileLen("c:\\none.sys"); }), vb::vbErrFileNotFound);
  vb::FileCopy("c:\\a.sys", "c:\\b.sys");
  vb::FileCopy("c:\\a.sys", "c:\\b.sys");  // overwrites
  EXPECT_EQ(vb::FileLen("c:\\B.SYS"), 5);
  EXPECT_EQ(ErrorOf([] { vb::FileCopy("c:\\none.sys", "c:\\c.sys"); }), vb::vbErrFileNotFound);
  EXPECT_EQ(ErrorOf([] { vb::FileCopy("c:\\a.sys", "c:\\no\\c.sys"); }), vb::vbErrPathNotFound);
  EXPECT_EQ(ErrorOf([] { vb::FileCopy("c:\\", "c:\\c.sys"); }) != 0, true);

  vb::MkDir("c:\\logos");
  EXPECT_EQ(ErrorOf([] { vb::MkDir("c:\\logos"); }), vb::vbErrPathFileAccess);
  EXPECT_EQ(ErrorOf([] { vb::MkDir("c:\\x\\y"); }), vb::vbErrPathNotFound);
  Write("logos/one.sys", "1");
  Write("logos/two.txt", "2");
  EXPECT_EQ(vb::Dir("c:\\logos\\*.sys"), "one.sys");
  EXPECT_EQ(vb::Dir("c:\\logos\\*.bmp"), "");
  EXPECT_EQ(ErrorOf([] { vb::RmDir("c:\\logos"); }), vb::vbErrPathFileAccess);
  vb::Kill("c:\\logos\\*.*");
  EXPECT_EQ(ErrorOf([] { vb::Kill("c:\\logos\\*.*"); }), vb::vbErrFileNotFound);
  vb::RmDir("c:\\logos");
  EXPECT_EQ(ErrorOf([] { vb::RmDir("c:\\logos"); }), vb::vbErrPathNotFound);
}

TEST_F(VbFiles, KillLeavesHiddenFiles) {
  vb::MkDir("c:\\lib");
  Write("lib/shown.sys", "1");
  Write("lib/hidden.sys", "2");
  SetFileAttributesA("c:\\lib\\hidden.sys", FILE_ATTRIBUTE_HIDDEN);
  if (!(GetFileAttributesA("c:\\lib\\hidden.sys") & FILE_ATTRIBUTE_HIDDEN)) GTEST_SKIP() << "no extended attributes";
  vb::Kill("c:\\lib\\*.*");
  EXPECT_FALSE(std::filesystem::exists(root.DriveC() / "lib/shown.sys"));
  EXPECT_TRUE(std::filesystem::exists(root.DriveC() / "lib/hidden.sys"));
  EXPECT_EQ(ErrorOf([] { vb::RmDir("c:\\lib"); }), vb::vbErrPathFileAccess);
}

TEST_F(VbFiles, ResumeNextSkipsAFailedStatementAndKeepsTheError) {
  int reached = 0;
  vb::Err().Clear();
  EXPECT_FALSE(vb::ResumeNext([&] {
    vb::Kill("c:\\none.sys");
    ++reached;
  }));
  EXPECT_TRUE(vb::ResumeNext([&] { ++reached; }));
  EXPECT_EQ(reached, 1);
  EXPECT_EQ(vb::Err().Number, vb::vbErrFileNotFound);
  EXPECT_EQ(vb::Err().Description, "File not found");
  EXPECT_EQ(vb::UnhandledErrorMessage(vb::RuntimeError(53)), "Run-time error '53':\n\nFile not found");
  // Ending the program is no error to skip.
  EXPECT_THROW(vb::ResumeNext([] { vb::End(); }), vb::EndProgram);
}

TEST_F(VbFiles, SettingsLiveUnderTheRunTimesKey) {
  EXPECT_EQ(vb::GetSetting("Plumtrey", "Logo", "Time"), "");
  EXPECT_EQ(vb::GetSetting("Plumtrey", "Logo", "Time", "6"), "6");
  vb::SaveSetting("Plumtrey", "Logo", "Time", "12");
  EXPECT_EQ(vb::GetSetting("plumtrey", "LOGO", "time"), "12");
  HKEY key = nullptr;
  ASSERT_EQ(
      RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\Plumtrey\\Logo", 0, KEY_READ, &key),
      ERROR_SUCCESS);
  char data[16] = {};
  DWORD size = sizeof data, type = 0;
  EXPECT_EQ(RegQueryValueExA(key, "Time", nullptr, &type, reinterpret_cast<BYTE*>(data), &size), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_STREQ(data, "12");
  RegCloseKey(key);
}

TEST_F(VbFiles, DeclaredProceduresBindByNameAtFirstCall) {
  vb::Declare<long(const char*, const char*, const char*, const char*)> makeLink("STKIT432.DLL", "fCreateShellLink");
  EXPECT_EQ(makeLink("Startup", "Logo", "c:\\logos\\logo.exe", ""), 1);
  auto link = shell::ReadLink(shell::ProgramGroupFolder("Startup") + "\\Logo.lnk");
  ASSERT_TRUE(link);
  EXPECT_EQ(link->Target, "c:\\logos\\logo.exe");
  EXPECT_EQ(link->Arguments, "");
  EXPECT_TRUE(std::filesystem::exists(root.DriveC() / "windows/Start Menu/Programs/StartUp/Logo.lnk"));

  vb::Declare<LONG(HKEY)> close("advapi32", "RegCloseKey");
  EXPECT_EQ(close(HKEY_CURRENT_USER), ERROR_SUCCESS);
  vb::Declare<long()> missingLibrary("nowhere.dll", "f");
  EXPECT_EQ(ErrorOf([&] { missingLibrary(); }), vb::vbErrDllNotFound);
  vb::Declare<long()> missingEntry("advapi32", "regclosekey");
  EXPECT_EQ(ErrorOf([&] { missingEntry(); }), vb::vbErrDllEntryNotFound);
}

}  // namespace
