#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "win32/shell.h"
#include "win32/testing/machine_root.h"

namespace {

shell::Link FullLink() {
  shell::Link link;
  link.Target = "c:\\logos\\logo.exe";
  link.Arguments = "/AUTO";
  link.WorkingDirectory = "c:\\logos";
  link.Description = "Logo";
  link.IconLocation = "c:\\logos\\logo.exe";
  link.IconIndex = 2;
  link.ShowCommand = 7;
  return link;
}

DWORD At32(const std::string& bytes, size_t at) {
  DWORD v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<BYTE>(bytes[at + static_cast<size_t>(i)]);
  return v;
}

TEST(ShellLink, HeaderAndFlagsFollowTheFormat) {
  const std::string bytes = shell::EncodeLink(FullLink());
  ASSERT_GT(bytes.size(), 76u);
  EXPECT_EQ(At32(bytes, 0), 0x4Cu);
  const unsigned char clsid[16] = {0x01, 0x14, 0x02, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};
  EXPECT_EQ(bytes.substr(4, 16), std::string(reinterpret_cast<const char*>(clsid), 16));
  EXPECT_EQ(At32(bytes, 20), 0x02u | 0x04u | 0x10u | 0x20u | 0x40u);
  EXPECT_EQ(At32(bytes, 60), 7u);
  // Link information: the local base path holds the target.
  const DWORD infoSize = At32(bytes, 76);
  EXPECT_EQ(At32(bytes, 80), 0x1Cu);
  EXPECT_EQ(At32(bytes, 84), 1u);
  const DWORD base = At32(bytes, 92);
  EXPECT_EQ(std::string(bytes.c_str() + 76 + base), "c:\\logos\\logo.exe");
  EXPECT_LT(base, infoSize);
  // The file ends in the terminal block.
  EXPECT_EQ(At32(bytes, bytes.size() - 4), 0u);
}

TEST(ShellLink, EmptyStringsAreLeftOutAndEverythingReadsBack) {
  shell::Link bare;
  bare.Target = "c:\\logos\\logo.exe";
  const std::string bytes = shell::EncodeLink(bare);
  EXPECT_EQ(At32(bytes, 20), 0x02u);
  for (const shell::Link& link : {bare, FullLink()}) {
    auto back = shell::DecodeLink(shell::EncodeLink(link));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Target, link.Target);
    EXPECT_EQ(back->Arguments, link.Arguments);
    EXPECT_EQ(back->WorkingDirectory, link.WorkingDirectory);
    EXPECT_EQ(back->Description, link.Description);
    EXPECT_EQ(back->IconLocation, link.IconLocation);
    EXPECT_EQ(back->IconIndex, link.IconIndex);
    EXPECT_EQ(back->ShowCommand, link.ShowCommand);
  }
}

TEST(ShellLink, DamagedFilesAreRefusedNotOverread) {
  const std::string bytes = shell::EncodeLink(FullLink());
  // Every cut before the last string's end loses data the flags promise.
  for (size_t cut = 0; cut + 4 < bytes.size(); ++cut)
    EXPECT_FALSE(shell::DecodeLink(bytes.substr(0, cut))) << "cut at " << cut;
  std::string badClsid = bytes;
  badClsid[19] = 0;
  EXPECT_FALSE(shell::DecodeLink(badClsid));
  std::string hugeInfo = bytes;
  hugeInfo[79] = '\x7F';  // link information larger than the file
  EXPECT_FALSE(shell::DecodeLink(hugeInfo));
}

TEST(ShellLink, WrittenIntoTheStartUpGroupAndReadBack) {
  ScopedMachineRoot root;
  const std::string folder = shell::ProgramGroupFolder("Startup");
  EXPECT_EQ(folder, "C:\\WINDOWS\\Start Menu\\Programs\\Startup");
  const std::string path = folder + "\\Logo.lnk";
  ASSERT_TRUE(shell::WriteLink(path, FullLink()));
  // The group's existing folder (StartUp) is found without regard to case.
  EXPECT_TRUE(std::filesystem::exists(root.DriveC() / "windows/Start Menu/Programs/StartUp/Logo.lnk"));
  auto back = shell::ReadLink(path);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->Target, "c:\\logos\\logo.exe");
  EXPECT_FALSE(shell::ReadLink(folder + "\\missing.lnk"));
  EXPECT_FALSE(shell::WriteLink("c:\\no such folder\\x.lnk", FullLink()));
}

// The reference reader, where the bench set-up installed it.
TEST(ShellLink, ReadByLnkinfo) {
  if (std::system("command -v lnkinfo >/dev/null 2>&1") != 0) GTEST_SKIP() << "lnkinfo not installed";
  ScopedMachineRoot root;
  const std::filesystem::path file = root.Path() / "logo.lnk";
  std::ofstream(file, std::ios::binary) << shell::EncodeLink(FullLink());
  const std::filesystem::path out = root.Path() / "lnkinfo.txt";
  ASSERT_EQ(std::system(("lnkinfo '" + file.string() + "' > '" + out.string() + "' 2>&1").c_str()), 0);
  std::ifstream in(out);
  const std::string report((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(report.find("c:\\logos\\logo.exe"), std::string::npos) << report;
  EXPECT_NE(report.find("/AUTO"), std::string::npos) << report;
}

}  // namespace
