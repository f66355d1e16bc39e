#include <gtest/gtest.h>
#include <stdio.h>

#include <filesystem>
#include <regex>

#include "components/shell_link.h"
#include "win32/errors.h"
#include "win32/shell.h"
#include "win32/testing/machine_root.h"

namespace {

constexpr const char* kLnkInfo = "/usr/bin/lnkinfo";

TShellLinkDescription ComposerStartupLink() {
  TShellLinkDescription d;
  d.Path = "z:\\opt\\tarnquill\\tarnquill";
  d.Mask = slDescription | slArguments | slShowCommand;  // 35
  d.Description = "Tarnquill";
  d.Arguments = "/AUTO";
  d.ShowCommand = 7;
  // Fields outside the mask must not reach the file.
  d.IconPath = "c:\\icons.dll";
  d.WorkingDirectory = "c:\\windows";
  d.HotKey = 0x0654;
  return d;
}

// What the independent parser prints for a file, or empty when it fails.
std::string LnkInfo(const std::filesystem::path& file) {
  std::string out;
  const std::string command = std::string(kLnkInfo) + " '" + file.string() + "' 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return out;
  char buffer[512];
  while (size_t got = ::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, got);
  return ::pclose(pipe) == 0 ? out : std::string();
}

std::string Field(const std::string& info, const std::string& name) {
  std::smatch m;
  return std::regex_search(info, m, std::regex("\n\\s*" + name + "\\s*: ([^\n]*)")) ? m[1].str() : "<absent>";
}

class CreateShellLinkTest : public MachineRootTest {};

TEST_F(CreateShellLinkTest, ComposerLinkHoldsOnlyTheMaskedFields) {
  ASSERT_EQ(CreateShellLink("c:\\Tarnquill.LNK", ComposerStartupLink()), S_OK);
  auto link = shell::ReadLink("c:\\Tarnquill.LNK");
  ASSERT_TRUE(link);
  EXPECT_EQ(link->Target, "z:\\opt\\tarnquill\\tarnquill");
  EXPECT_EQ(link->Description, "Tarnquill");
  EXPECT_EQ(link->Arguments, "/AUTO");
  EXPECT_EQ(link->ShowCommand, 7);
  EXPECT_EQ(link->IconLocation, "");
  EXPECT_EQ(link->WorkingDirectory, "");
}

TEST_F(CreateShellLinkTest, ALinkWithoutOptionalFieldsGetsTheShellDefaults) {
  TShellLinkDescription d = ComposerStartupLink();
  d.Mask = 0;
  ASSERT_EQ(CreateShellLink("c:\\Bare.lnk", d), S_OK);
  auto link = shell::ReadLink("c:\\Bare.lnk");
  ASSERT_TRUE(link);
  EXPECT_EQ(link->Target, d.Path);
  EXPECT_EQ(link->Description, "");
  EXPECT_EQ(link->Arguments, "");
  EXPECT_EQ(link->ShowCommand, 1);  // SW_SHOWNORMAL
}

TEST_F(CreateShellLinkTest, AMissingFolderGivesTheNegativeResult) {
  const HRESULT hr = CreateShellLink("c:\\missing\\Tarnquill.LNK", ComposerStartupLink());
  EXPECT_TRUE(FAILED(hr));
  EXPECT_EQ(hr, HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
}

TEST_F(CreateShellLinkTest, IndependentParserReadsBothLinks) {
  if (!std::filesystem::exists(kLnkInfo)) GTEST_SKIP() << "lnkinfo is not installed";
  ASSERT_EQ(CreateShellLink("c:\\Tarnquill.LNK", ComposerStartupLink()), S_OK);
  TShellLinkDescription bare;
  bare.Path = "c:\\windows\\notepad.exe";
  ASSERT_EQ(CreateShellLink("c:\\Bare.lnk", bare), S_OK);

  // Debian's lnkinfo prints 0 for the show command and hot key whatever the header holds, so
  // those two are checked by our reader above.
  const std::string composer = LnkInfo(root.DriveC() / "Tarnquill.LNK");
  ASSERT_FALSE(composer.empty());
  EXPECT_EQ(Field(composer, "Local path"), "z:\\opt\\tarnquill\\tarnquill");
  EXPECT_EQ(Field(composer, "Description"), "Tarnquill");
  EXPECT_EQ(Field(composer, "Command line arguments"), "/AUTO");
  EXPECT_EQ(Field(composer, "Icon location"), "<absent>");
  EXPECT_EQ(Field(composer, "Working directory"), "<absent>");

  const std::string plain = LnkInfo(root.DriveC() / "Bare.lnk");
  ASSERT_FALSE(plain.empty());
  EXPECT_EQ(Field(plain, "Local path"), "c:\\windows\\notepad.exe");
  EXPECT_EQ(Field(plain, "Description"), "<absent>");
  EXPECT_EQ(Field(plain, "Command line arguments"), "<absent>");
}

}  // namespace
