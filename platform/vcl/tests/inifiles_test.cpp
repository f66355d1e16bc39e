#include <gtest/gtest.h>

#include <fstream>

#include "vcl/inifiles.h"
#include "vcl/strings.h"
#include "win32/testing/machine_root.h"

namespace {

class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(root.DriveC() / "jokes.txt", std::ios::binary) << "; a joke file\r\n"
                                                                    "[Header]\r\n"
                                                                    "Description = \"Why, oh why?\" \r\n"
                                                                    "format=q&a\r\n"
                                                                    "Count=0x1F\r\n"
                                                                    "Bad=12x\r\n"
                                                                    "On=1\r\n"
                                                                    ";Hidden=yes\r\n"
                                                                    "[Data]\r\n"
                                                                    "Q: line\r\n";
  }
  ScopedMachineRoot root;
  TIniFile ini{"c:\\jokes.txt"};
};

std::vector<std::string> Lines(const TStrings& list) {
  std::vector<std::string> lines;
  for (int i = 0; i < list.Count(); ++i) lines.push_back(list.Get(i));
  return lines;
}

}  // namespace

TEST_F(IniFileTest, ReadsWithoutRegardToCaseTrimmedAndUnquoted) {
  struct Case {
    const char *section, *key, *expected;
  };
  const Case cases[] = {{"Header", "Description", "Why, oh why?"},
                        {"HEADER", "FORMAT", "q&a"},
                        {"header", "Hidden", "default"},
                        {"Header", "Missing", "default"},
                        {"Nowhere", "Format", "default"}};
  for (const Case& c : cases) EXPECT_EQ(ini.ReadString(c.section, c.key, "default"), c.expected) << c.key;
  EXPECT_EQ(ini.ReadInteger("Header", "Count", -1), 31);
  EXPECT_EQ(ini.ReadInteger("Header", "Bad", -1), -1);
  EXPECT_EQ(ini.ReadInteger("Header", "Missing", 7), 7);
  EXPECT_TRUE(ini.ReadBool("Header", "On", false));
  EXPECT_TRUE(ini.ReadBool("Header", "Missing", true));
}

TEST_F(IniFileTest, ListsSectionsKeysAndValues) {
  TStringList list;
  ini.ReadSections(&list);
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"Header", "Data"}));
  ini.ReadSection("header", &list);
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"Description", "format", "Count", "Bad", "On"}));
  ini.ReadSectionValues("Header", &list);
  EXPECT_EQ(list.Values("Description"), "Why, oh why?");
  EXPECT_EQ(list.Values("COUNT"), "0x1F");
  EXPECT_TRUE(ini.SectionExists("DATA"));
  EXPECT_FALSE(ini.SectionExists("Other"));
  EXPECT_TRUE(ini.ValueExists("Header", "ON"));
  EXPECT_FALSE(ini.ValueExists("Header", "Hidden"));
}

TEST_F(IniFileTest, WritesDeletesAndErases) {
  ini.WriteString("Header", "Description", "New");
  ini.WriteInteger("Options", "Time", 30);
  ini.WriteBool("Options", "Shut", true);
  EXPECT_EQ(ini.ReadString("header", "description", ""), "New");
  EXPECT_EQ(ini.ReadInteger("Options", "Time", 0), 30);
  EXPECT_EQ(ini.ReadString("Options", "Shut", ""), "1");
  ini.DeleteKey("Options", "Time");
  EXPECT_FALSE(ini.ValueExists("Options", "Time"));
  ini.EraseSection("Options");
  EXPECT_FALSE(ini.SectionExists("Options"));
}
