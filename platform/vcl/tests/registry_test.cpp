#include <gtest/gtest.h>

#include <cstring>

#include "vcl/registry.h"
#include "vcl/strings.h"
#include "win32/testing/machine_root.h"

namespace {

std::vector<std::string> Lines(const TStrings& list) {
  std::vector<std::string> lines;
  for (int i = 0; i < list.Count(); ++i) lines.push_back(list.Get(i));
  return lines;
}

}  // namespace

TEST(TRegistry, ValuesRoundTripWithTheirTypes) {
  ScopedMachineRoot root;
  TRegistry reg;
  EXPECT_EQ(reg.RootKey(), HKEY_CURRENT_USER);
  ASSERT_TRUE(reg.OpenKey("Software\\Halvetra\\Tarnquill\\fmLogo", true));
  EXPECT_EQ(reg.CurrentPath(), "Software\\Halvetra\\Tarnquill\\fmLogo");
  reg.WriteString("ScreenRes", "800x600");
  reg.WriteInteger("Left", -20);
  reg.WriteBool("LogoCheck", true);
  const unsigned char block[5] = {4, 0, 0, 0, 1};
  reg.WriteBinaryData("MainForm", block, sizeof block);
  reg.WriteString("Empty", "");
  reg.CloseKey();

  TRegistry again;
  ASSERT_TRUE(again.OpenKey("\\Software\\halvetra\\TARNQUILL\\fmlogo", false));
  EXPECT_EQ(again.ReadString("screenres"), "800x600");
  EXPECT_EQ(again.ReadString("Empty"), "");
  EXPECT_EQ(again.ReadString("Absent"), "");
  EXPECT_EQ(again.ReadInteger("Left"), -20);
  EXPECT_TRUE(again.ReadBool("LogoCheck"));
  unsigned char back[8] = {};
  EXPECT_EQ(again.ReadBinaryData("MainForm", back, sizeof back), 5);
  EXPECT_EQ(std::memcmp(back, block, 5), 0);
  EXPECT_EQ(again.ReadBinaryData("Absent", back, sizeof back), 0);
  TRegDataInfo info;
  ASSERT_TRUE(again.GetDataInfo("ScreenRes", info));
  EXPECT_EQ(info.RegData, rdString);
  EXPECT_EQ(info.DataSize, 8);
  EXPECT_EQ(again.GetDataType("Left"), rdInteger);
  EXPECT_EQ(again.GetDataSize("Absent"), -1);
}

TEST(TRegistry, TypeMismatchesAndMissingIntegersRaise) {
  ScopedMachineRoot root;
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software\\Test", true));
  reg.WriteString("Text", "123");
  reg.WriteInteger("Number", 5);
  const char bytes[3] = {1, 2, 3};
  reg.WriteBinaryData("Bytes", bytes, 3);
  try {
    reg.ReadInteger("Text");
    FAIL();
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Message, "Invalid data type for 'Text'");
  }
  EXPECT_THROW(reg.ReadString("Number"), ERegistryException);
  char small[2];
  EXPECT_THROW(reg.ReadBinaryData("Bytes", small, sizeof small), ERegistryException);
  EXPECT_THROW(reg.ReadBinaryData("Text", small, sizeof small), ERegistryException);
  try {
    reg.ReadInteger("Absent");
    FAIL();
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Message, "Failed to get data for 'Absent'");
  }
}

TEST(TRegistry, RelativeKeysOpenFromTheCurrentKey) {
  ScopedMachineRoot root;
  TRegistry reg;
  EXPECT_FALSE(reg.OpenKey("Software\\Nothing", false));
  EXPECT_EQ(reg.CurrentKey(), nullptr);
  ASSERT_TRUE(reg.OpenKey("Software", true));
  ASSERT_TRUE(reg.OpenKey("Firm\\App", true));
  EXPECT_EQ(reg.CurrentPath(), "Software\\Firm\\App");
  ASSERT_TRUE(reg.OpenKey("", false));
  EXPECT_EQ(reg.CurrentPath(), "Software\\Firm\\App");
  ASSERT_TRUE(reg.OpenKey("\\Software\\Firm", false));
  EXPECT_EQ(reg.CurrentPath(), "Software\\Firm");
  EXPECT_TRUE(reg.KeyExists("App"));
  EXPECT_TRUE(reg.KeyExists("\\Software"));
  EXPECT_FALSE(reg.KeyExists("Other"));
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_EQ(reg.CurrentKey(), nullptr);
  EXPECT_FALSE(reg.KeyExists("Software\\Firm"));
}

TEST(TRegistry, EnumeratesAndDeletesWithoutLosingSubKeys) {
  ScopedMachineRoot root;
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software\\Form\\laJokeFile\\Font", true));
  reg.WriteString("Name", "Arial");
  ASSERT_TRUE(reg.OpenKey("\\Software\\Form\\laJokeFile", false));
  reg.WriteString("Caption", "x");
  reg.WriteInteger("Color", 255);
  TStringList names;
  reg.GetValueNames(&names);
  EXPECT_EQ(Lines(names), (std::vector<std::string>{"Caption", "Color"}));
  reg.GetKeyNames(&names);
  EXPECT_EQ(Lines(names), (std::vector<std::string>{"Font"}));
  EXPECT_TRUE(reg.HasSubKeys());
  EXPECT_TRUE(reg.DeleteValue("Caption"));
  EXPECT_FALSE(reg.ValueExists("Caption"));
  EXPECT_FALSE(reg.DeleteValue("Caption"));

  ASSERT_TRUE(reg.OpenKey("\\Software\\Form", false));
  EXPECT_FALSE(reg.DeleteKey("laJokeFile"));
  EXPECT_TRUE(reg.KeyExists("laJokeFile\\Font"));
  EXPECT_TRUE(reg.DeleteKey("laJokeFile\\Font"));
  EXPECT_TRUE(reg.DeleteKey("laJokeFile"));
  EXPECT_FALSE(reg.KeyExists("laJokeFile"));
}

TEST(TRegIniFile, SectionsAreSubKeys) {
  ScopedMachineRoot root;
  {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", true));
    reg.WriteString("Startup", "C:\\WINDOWS\\Start Menu\\Programs\\StartUp");
    reg.WriteInteger("Number", 9);
  }
  TRegIniFile ini("Software");
  const std::string section = "Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  EXPECT_EQ(ini.ReadString(section, "Startup", ""), "C:\\WINDOWS\\Start Menu\\Programs\\StartUp");
  EXPECT_EQ(ini.ReadString(section, "Absent", "none"), "none");
  EXPECT_EQ(ini.ReadString("No\\Such\\Key", "Startup", "none"), "none");
  EXPECT_EQ(ini.ReadInteger(section, "Number", 0), 9);
  EXPECT_EQ(ini.CurrentPath(), "Software");

  ini.WriteInteger("Logo", "Time", 30);
  ini.WriteBool("Logo", "Shut", true);
  ini.WriteString("Logo", "Library", "c:\\logos");
  EXPECT_EQ(ini.ReadInteger("Logo", "Time", 0), 30);
  EXPECT_EQ(ini.ReadString("Logo", "Time", ""), "30");
  EXPECT_TRUE(ini.ReadBool("Logo", "Shut", false));
  EXPECT_EQ(ini.ReadInteger("Logo", "Library", -1), -1);

  TStringList list;
  ini.ReadSection("logo", &list);
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"Time", "Shut", "Library"}));
  ini.ReadSectionValues("Logo", &list);
  EXPECT_EQ(list.Values("Library"), "c:\\logos");
  ini.ReadSections(&list);
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"Logo", "Microsoft"}));
  ini.DeleteKey("Logo", "Time");
  EXPECT_EQ(ini.ReadInteger("Logo", "Time", -5), -5);
  ini.EraseSection("Logo");
  ini.ReadSections(&list);
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"Microsoft"}));
}
