#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "vcl/streams.h"
#include "vcl/strings.h"
#include "vcl/system.h"
#include "win32/testing/machine_root.h"

namespace {

std::string HostText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

TEST(TFileStream, CreatesWritesAndReadsThroughWindowsPaths) {
  ScopedMachineRoot root;
  {
    TFileStream out("c:\\logo.bmp", fmCreate);
    out.WriteBuffer("BM1234", 6);
    EXPECT_EQ(out.Size(), 6);
    out.SetSize(4);
  }
  EXPECT_EQ(HostText(root.DriveC() / "logo.bmp"), "BM12");
  TFileStream in("C:\\LOGO.BMP", fmOpenReadWrite | fmShareExclusive);
  EXPECT_EQ(in.Seek(2, soFromBeginning), 2);
  char buffer[4] = {};
  EXPECT_THROW(in.ReadBuffer(buffer, 3), EReadError);
  in.SetPosition(0);
  in.WriteBuffer("XY", 2);
  in.SetPosition(0);
  in.ReadBuffer(buffer, 4);
  EXPECT_EQ(std::string(buffer, 4), "XY12");
}

TEST(TFileStream, FailuresNameTheFile) {
  ScopedMachineRoot root;
  try {
    TFileStream in("c:\\missing.sys", fmOpenRead);
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message, "Cannot open file c:\\missing.sys");
  }
  try {
    TFileStream out("c:\\no folder\\logo.sys", fmCreate);
    FAIL();
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message, "Cannot create file c:\\no folder\\logo.sys");
  }
}

TEST(FileRoutines, FileExistsAndDeleteFile) {
  ScopedMachineRoot root;
  std::ofstream(root.DriveC() / "Jokes.txt") << "x";
  EXPECT_TRUE(FileExists("c:\\jokes.TXT"));
  EXPECT_FALSE(FileExists("c:\\windows"));
  EXPECT_FALSE(FileExists("c:\\other.txt"));
  EXPECT_TRUE(DeleteFile("c:\\jokes.txt"));
  EXPECT_FALSE(FileExists("c:\\jokes.txt"));
  EXPECT_FALSE(DeleteFile("c:\\jokes.txt"));
}

TEST(StringListFiles, SaveAndLoadKeepTheLineRules) {
  ScopedMachineRoot root;
  std::ofstream(root.DriveC() / "joke.txt", std::ios::binary) << "[Header]\nFormat=SINGLE\r\n[Data]\rone\r\n";
  TStringList list;
  list.LoadFromFile("c:\\joke.txt");
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(list.Get(3), "one");
  list.SaveToFile("c:\\copy.txt");
  EXPECT_EQ(HostText(root.DriveC() / "copy.txt"), "[Header]\r\nFormat=SINGLE\r\n[Data]\r\none\r\n");
  EXPECT_THROW(list.LoadFromFile("c:\\missing.txt"), EFOpenError);

  TMemoryStream memory;
  memory.LoadFromFile("c:\\copy.txt");
  EXPECT_EQ(memory.Size(), 38);
  memory.SaveToFile("c:\\again.txt");
  EXPECT_EQ(HostText(root.DriveC() / "again.txt"), HostText(root.DriveC() / "copy.txt"));
}

TEST(ParamStr, ComeFromMainAndParamStrZeroIsTheProgramsZPath) {
  char program[] = "/usr/bin/tarnquill";
  char flag[] = "/AUTO";
  char* argv[] = {program, flag};
  InitParams(2, argv);
  EXPECT_EQ(ParamCount(), 1);
  EXPECT_EQ(ParamStr(1), "/AUTO");
  EXPECT_EQ(ParamStr(2), "");
  EXPECT_EQ(ParamStr(-1), "");
  const std::string self = ParamStr(0);
  EXPECT_EQ(self.substr(0, 3), "Z:\\") << self;
  EXPECT_EQ(ExtractFileName(self), "vcl_tests");
}
