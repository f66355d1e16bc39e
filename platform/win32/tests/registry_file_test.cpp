#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "host/testing/resource_use.h"
#include "win32/registry.h"
#include "win32/registry_file.h"

using registry::FormatHive;
using registry::Key;
using registry::ParseHive;

namespace {

std::vector<BYTE> Bytes(std::string_view text) { return {text.begin(), text.end()}; }
std::vector<BYTE> Sz(std::string_view text) {
  auto data = Bytes(text);
  data.push_back(0);
  return data;
}

// Lines of a formatted hive without their CR LF.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    EXPECT_NE(end, std::string::npos) << "every line ends in CR LF";
    if (end == std::string::npos) break;
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

void ExpectSameTree(const Key& expected, const Key& actual, const std::string& where = "") {
  const std::string here = where + "\\" + expected.name;
  EXPECT_EQ(expected.name, actual.name) << here;
  ASSERT_EQ(expected.values.size(), actual.values.size()) << here;
  for (std::size_t i = 0; i < expected.values.size(); ++i) {
    EXPECT_EQ(expected.values[i].name, actual.values[i].name) << here;
    EXPECT_EQ(expected.values[i].type, actual.values[i].type) << here << " " << expected.values[i].name;
    EXPECT_EQ(expected.values[i].data, actual.values[i].data) << here << " " << expected.values[i].name;
  }
  ASSERT_EQ(expected.subKeys.size(), actual.subKeys.size()) << here;
  for (std::size_t i = 0; i < expected.subKeys.size(); ++i)
    ExpectSameTree(expected.subKeys[i], actual.subKeys[i], here);
}

struct ValueCase {
  const char* what;
  registry::Value value;
  std::string line;  // how the value is written in the file
};

TEST(RegistryFile, EveryKindOfValueIsWrittenInItsFormAndReadBack) {
  const std::vector<ValueCase> cases = {
      {"string", {"Name", REG_SZ, Sz("Halvetra")}, R"("Name"="Halvetra")"},
      {"escapes", {"Path \"quoted\"", REG_SZ, Sz(R"(C:\WINDOWS\"x")")}, R"("Path \"quoted\""="C:\\WINDOWS\\\"x\"")"},
      {"default value", {"", REG_SZ, Sz("default")}, R"(@="default")"},
      {"value named @", {"@", REG_SZ, Sz("at")}, R"("@"="at")"},
      {"odd name", {"a=b]; [c", REG_SZ, Sz("")}, R"("a=b]; [c"="")"},
      {"ANSI bytes", {"\xe9t\xe9", REG_SZ, Sz("caf\xe9")}, "\"\xe9t\xe9\"=\"caf\xe9\""},
      {"dword", {"Size", REG_DWORD, {0xcd, 0xab, 0, 0}}, R"("Size"=dword:0000abcd)"},
      {"negative dword", {"Left", REG_DWORD, {0xff, 0xff, 0xff, 0xff}}, R"("Left"=dword:ffffffff)"},
      {"binary", {"LogoCheck", REG_BINARY, {4, 0, 0, 0, 1}}, R"("LogoCheck"=hex:04,00,00,00,01)"},
      {"empty binary", {"Nothing", REG_BINARY, {}}, R"("Nothing"=hex:)"},
      {"expand string", {"Temp", REG_EXPAND_SZ, Sz("%TEMP%")}, R"("Temp"=hex(2):25,54,45,4d,50,25,00)"},
      {"multi string", {"List", REG_MULTI_SZ, {'a', 0, 'b', 0, 0}}, R"("List"=hex(7):61,00,62,00,00)"},
      {"string with a line break", {"Two", REG_SZ, Sz("a\r\nb")}, R"("Two"=hex(1):61,0d,0a,62,00)"},
      {"string without its NUL", {"Bare", REG_SZ, Bytes("ab")}, R"("Bare"=hex(1):61,62)"},
      {"string with an inner NUL", {"Inner", REG_SZ, {'a', 0, 'b', 0}}, R"("Inner"=hex(1):61,00,62,00)"},
      {"short dword", {"Short", REG_DWORD, {1, 2}}, R"("Short"=hex(4):01,02)"},
      {"other type", {"Big", 0x12345678, {9}}, R"("Big"=hex(12345678):09)"},
  };
  for (const ValueCase& c : cases) {
    Key root{"HKEY_CURRENT_USER", {}, {}};
    root.AddSubKey("Software").SetValue(c.value.name, c.value.type, c.value.data);
    const std::string text = FormatHive(root);
    const auto lines = Lines(text);
    ASSERT_EQ(lines.size(), 7u) << c.what;
    EXPECT_EQ(lines[0], "REGEDIT4") << c.what;
    EXPECT_EQ(lines[2], "[HKEY_CURRENT_USER]") << c.what;
    EXPECT_EQ(lines[4], "[HKEY_CURRENT_USER\\Software]") << c.what;
    EXPECT_EQ(lines[5], c.line) << c.what;
    EXPECT_EQ(lines[6], "") << c.what;
    const auto parsed = ParseHive(text, "HKEY_CURRENT_USER");
    ASSERT_FALSE(parsed.error) << c.what << ": " << parsed.error->message;
    ExpectSameTree(root, parsed.root, c.what);
  }
}

TEST(RegistryFile, LongDataIsWrappedAsTheEditorDoesAndReadBack) {
  std::vector<BYTE> data(300);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<BYTE>(i * 7);
  Key root{"HKEY_LOCAL_MACHINE", {}, {}};
  root.AddSubKey("Software").SetValue("MRUList", REG_BINARY, data);
  const std::string text = FormatHive(root);
  const auto lines = Lines(text);
  ASSERT_GT(lines.size(), 10u);
  const std::size_t first = 5, last = lines.size() - 2;  // the value's lines
  for (std::size_t i = first; i <= last; ++i) {
    EXPECT_LE(lines[i].size(), 80u) << lines[i];
    EXPECT_EQ(lines[i].back() == '\\', i < last) << lines[i];
    EXPECT_EQ(lines[i].substr(0, 2) == "  ", i > first) << lines[i];
  }
  const auto parsed = ParseHive(text, "HKEY_LOCAL_MACHINE");
  ASSERT_FALSE(parsed.error) << parsed.error->message;
  ExpectSameTree(root, parsed.root);
}

TEST(RegistryFile, ReadsAnEditorExport) {
  const std::string text =
      "REGEDIT4\r\n"
      "\r\n"
      "; comment\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\r\n"
      "\"PATH\"=\"C:\\\\Program Files\\\\Common Files\\\\MSINFO32.EXE\"\r\n"
      "\r\n"
      "[hkey_local_machine\\Software\\Halvetra\\Tarnquill\\fmLogo]\r\n"
      "\"Left\" = dword:0000000A\r\n"
      "\"LogoCheck\"=hex:04,00,00,00,\\\r\n"
      "  01\r\n"
      "  \"Top\"=DWORD:14\r\n"
      "\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\HALVETRA\\Tarnquill\\fmLogo\\seFirst]\n"
      "\"Value\"=dword:00000018\n"
      "\"Value\"=dword:00000019\n";
  const auto parsed = ParseHive(text, "HKEY_LOCAL_MACHINE");
  ASSERT_FALSE(parsed.error) << parsed.error->line << ": " << parsed.error->message;

  Key expected{"HKEY_LOCAL_MACHINE", {}, {}};
  Key& software = expected.AddSubKey("SOFTWARE");
  software.AddSubKey("Microsoft")
      .AddSubKey("Shared Tools")
      .AddSubKey("MSINFO")
      .SetValue("PATH", REG_SZ, Sz(R"(C:\Program Files\Common Files\MSINFO32.EXE)"));
  Key& form = software.AddSubKey("Halvetra").AddSubKey("Tarnquill").AddSubKey("fmLogo");
  form.SetValue("Left", REG_DWORD, {10, 0, 0, 0});
  form.SetValue("LogoCheck", REG_BINARY, {4, 0, 0, 0, 1});
  form.SetValue("Top", REG_DWORD, {20, 0, 0, 0});
  form.AddSubKey("seFirst").SetValue("Value", REG_DWORD, {25, 0, 0, 0});
  ExpectSameTree(expected, parsed.root);
}

TEST(RegistryFile, SubKeysAreOrderedWithoutRegardToCaseAndKeepTheirFirstName) {
  const auto parsed = ParseHive(
      "REGEDIT4\n[HKEY_USERS\\b]\n[HKEY_USERS\\_x]\n[HKEY_USERS\\Alpha]\n[HKEY_USERS\\ALPHA\\c]\n[HKEY_USERS\\B]\n",
      "HKEY_USERS");
  ASSERT_FALSE(parsed.error);
  std::vector<std::string> names;
  for (const Key& k : parsed.root.subKeys) names.push_back(k.name);
  EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "b", "_x"}));
  EXPECT_EQ(parsed.root.subKeys[0].subKeys.size(), 1u);
}

TEST(RegistryFile, ARepeatedValueLineReplacesTheDataAndKeepsTheFirstNameAndPlace) {
  const auto parsed =
      ParseHive("REGEDIT4\n[HKEY_USERS\\k]\n\"One\"=\"1\"\n\"Two\"=\"2\"\n[HKEY_USERS\\K]\n\"ONE\"=dword:00000007\n",
                "HKEY_USERS");
  ASSERT_FALSE(parsed.error);
  const Key& key = parsed.root.subKeys.at(0);
  ASSERT_EQ(key.values.size(), 2u);
  EXPECT_EQ(key.values[0].name, "One");
  EXPECT_EQ(key.values[0].type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(key.values[0].data, (std::vector<BYTE>{7, 0, 0, 0}));
  EXPECT_EQ(key.values[1].name, "Two");
}

// A hive of `keys` sections named by `keyName`, each with `values` values.
std::string HiveOf(int keys, int values, const std::function<std::string(int)>& keyName) {
  std::string text = "REGEDIT4\n";
  for (int k = 0; k < keys; ++k) {
    text += "[HKEY_USERS\\" + keyName(k) + "]\n";
    for (int v = 0; v < values; ++v) text += "\"Value " + std::to_string(v) + "\"=dword:00000001\n";
  }
  return text;
}

std::string ParseOutcome(const std::string& text) {
  const auto parsed = ParseHive(text, "HKEY_USERS");
  if (parsed.error) return parsed.error->message;
  std::size_t values = 0;
  for (const Key& key : parsed.root.subKeys) values += key.values.size();
  return std::to_string(parsed.root.subKeys.size()) + " keys " + std::to_string(values) + " values";
}

std::string Numbered(int n) {
  char name[16];
  std::snprintf(name, sizeof name, "k%06d", n);
  return name;
}

struct HiveShapeCase {
  const char* what;
  std::string text;
  const char* outcome;
};

// Each shape against a control of as many entries in short keys written in order, measured in the
// same run: finding values or placing sub-keys by searching costs n squared, which these sizes make
// seconds.
TEST(RegistryFile, LargeKeysParseInTimeCloseToAsManyEntriesInSmallKeys) {
  constexpr int kValues = 100000;
  constexpr int kKeys = 50000;
  constexpr double kSlack = 10;
  const std::string controlText = HiveOf(kValues / 10, 10, Numbered);
  const ResourceUse control = MeasureInChild([&] { return ParseOutcome(controlText); });
  ASSERT_EQ(control.Outcome, "10000 keys 100000 values");
  const std::vector<HiveShapeCase> cases = {
      {"values in one key", HiveOf(1, kValues, Numbered), "1 keys 100000 values"},
      {"keys in reverse order", HiveOf(kKeys, 1, [](int k) { return Numbered(kKeys - k); }), "50000 keys 50000 values"},
  };
  for (const HiveShapeCase& c : cases) {
    const ResourceUse use = MeasureInChild([&] { return ParseOutcome(c.text); });
    EXPECT_EQ(use.Outcome, c.outcome) << c.what;
    EXPECT_LT(use.Seconds, kSlack * control.Seconds) << c.what << " against " << control.Seconds << " s";
  }
}

struct MalformedCase {
  const char* what;
  std::string text;
  std::size_t line;
};

TEST(RegistryFile, MalformedTextIsReportedWithItsLine) {
  const std::string head = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n";
  std::string deep = "REGEDIT4\n[HKEY_CURRENT_USER";
  for (std::size_t i = 0; i <= registry::kMaxKeyDepth; ++i) deep += "\\k";
  deep += "]\n";
  const std::vector<MalformedCase> cases = {
      {"empty file", "", 1},
      {"other header", "Windows Registry Editor Version 5.00\r\n", 1},
      {"header with text after it", "REGEDIT4 x\n", 1},
      {"value before any key", "REGEDIT4\n\"a\"=\"b\"\n", 2},
      {"other root", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software]\n", 2},
      {"root as a prefix only", "REGEDIT4\n[HKEY_CURRENT_USERX\\Software]\n", 2},
      {"unclosed section", "REGEDIT4\n[HKEY_CURRENT_USER\\Software\n", 2},
      {"empty key name", "REGEDIT4\n[HKEY_CURRENT_USER\\a\\\\b]\n", 2},
      {"key deletion", "REGEDIT4\n[-HKEY_CURRENT_USER\\a]\n", 2},
      {"too deep", deep, 2},
      {"value deletion", head + "\"a\"=-\n", 4},
      {"bare name", head + "a=\"b\"\n", 4},
      {"no equals sign", head + "\"a\" \"b\"\n", 4},
      {"unterminated name", head + "\"a=\"b\n", 4},
      {"unterminated string", head + "\"a\"=\"b\n", 4},
      {"unknown escape", head + "\"a\"=\"C:\\WINDOWS\"\n", 4},
      {"text after a string", head + "\"a\"=\"b\"c\n", 4},
      {"dword too long", head + "\"a\"=dword:123456789\n", 4},
      {"dword not hex", head + "\"a\"=dword:12g4\n", 4},
      {"empty dword", head + "\"a\"=dword:\n", 4},
      {"hex byte too long", head + "\"a\"=hex:100\n", 4},
      {"hex not hex", head + "\"a\"=hex:zz\n", 4},
      {"hex empty item", head + "\"a\"=hex:01,,02\n", 4},
      {"hex trailing comma", head + "\"a\"=hex:01,\n", 4},
      {"hex type unclosed", head + "\"a\"=hex(2:00\n", 4},
      {"hex type not hex", head + "\"a\"=hex(x):00\n", 4},
      {"hex without colon", head + "\"a\"=hex 00\n", 4},
      {"continued past the end", head + "\"a\"=hex:00,\\\n", 4},
      {"unknown data", head + "\"a\"=42\n", 4},
  };
  for (const MalformedCase& c : cases) {
    const auto parsed = ParseHive(c.text, "HKEY_CURRENT_USER");
    ASSERT_TRUE(parsed.error) << c.what;
    EXPECT_EQ(parsed.error->line, c.line) << c.what << ": " << parsed.error->message;
    EXPECT_FALSE(parsed.error->message.empty()) << c.what;
    EXPECT_TRUE(parsed.root.values.empty() && parsed.root.subKeys.empty()) << c.what;
  }
}

TEST(RegistryFile, TreeEditsKeepTheStoredNameAndOrder) {
  Key key{"K", {}, {}};
  key.SetValue("First", REG_SZ, Sz("1"));
  key.SetValue("Second", REG_SZ, Sz("2"));
  key.SetValue("FIRST", REG_DWORD, {1, 0, 0, 0});
  ASSERT_EQ(key.values.size(), 2u);
  EXPECT_EQ(key.values[0].name, "First");
  EXPECT_EQ(key.values[0].type, REG_DWORD);
  EXPECT_TRUE(key.RemoveValue("first"));
  EXPECT_FALSE(key.RemoveValue("first"));
  EXPECT_EQ(key.values[0].name, "Second");

  key.AddSubKey("Zeta");
  key.AddSubKey("alpha").AddSubKey("inner");
  EXPECT_EQ(&key.AddSubKey("ALPHA"), key.FindSubKey("Alpha"));
  EXPECT_EQ(key.FindSubKey("alpha")->subKeys.size(), 1u);
  EXPECT_TRUE(key.RemoveSubKey("ZETA"));
  EXPECT_FALSE(key.RemoveSubKey("zeta"));
  ASSERT_EQ(key.subKeys.size(), 1u);
  EXPECT_EQ(key.subKeys[0].name, "alpha");
}

}  // namespace
