// The desktop's log-in entry of a machine folder: there while the StartUp group holds a shortcut,
// valid for the desktop's own checker, and its Exec line names the machine folder exactly.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host/testing/outside_tools.h"
#include "win32/kernel.h"
#include "win32/machine.h"
#include "win32/shell.h"
#include "win32/startup_group.h"
#include "win32/testing/machine_root.h"

namespace {

constexpr char kProgram[] = "/opt/start logo/machine-folder";

std::string Read(const std::filesystem::path& file) {
  std::ifstream in(file);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string ExecValue(const std::string& entry) {
  const std::size_t at = entry.find("\nExec=");
  if (at == std::string::npos) return {};
  const std::size_t start = at + 6;
  return entry.substr(start, entry.find('\n', start) - start);
}

// The Exec value read back as a session reads it: the string escapes undone, then the quoting,
// then "%%" taken as a literal "%".
std::vector<std::string> SessionArguments(const std::string& value) {
  std::string line;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      line += value[i];
      continue;
    }
    const char next = value[++i];
    line += next == 'n' ? '\n' : next == 't' ? '\t' : next == 'r' ? '\r' : next == 's' ? ' ' : next;
  }
  std::vector<std::string> words;
  std::string word;
  bool inWord = false, quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"') quoted = false;
      else if (c == '\\' && i + 1 < line.size())
        word += line[++i];
      else
        word += c;
    } else if (c == ' ') {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else if (c == '"') {
      quoted = inWord = true;
    } else if (c == '%' && i + 1 < line.size() && line[i + 1] == '%') {
      word += line[++i];
      inWord = true;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(word);
  return words;
}

TEST(LogOnEntry, TheExecLineGivesTheMachineFolderBackExactly) {
  const struct {
    const char* folder;
    const char* exec;  // as written in the file
  } cases[] = {
      {"/home/u/.local/share/startlogo", R"("/opt/start logo/machine-folder" log-on /home/u/.local/share/startlogo)"},
      {"/home/u/My machine", R"("/opt/start logo/machine-folder" log-on "/home/u/My machine")"},
      {"/m/100%", R"("/opt/start logo/machine-folder" log-on /m/100%%)"},
      {"/m/a$b", R"("/opt/start logo/machine-folder" log-on "/m/a\\$b")"},
      {"/m/back\\slash", R"("/opt/start logo/machine-folder" log-on "/m/back\\\\slash")"},
      {"/m/quo\"te's", R"("/opt/start logo/machine-folder" log-on "/m/quo\\"te's")"},
      {"/m/`x` & (y);~#*?<>|", R"("/opt/start logo/machine-folder" log-on "/m/\\`x\\` & (y);~#*?<>|")"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.folder);
    const std::string exec = ExecValue(shell::LogOnEntry(c.folder, kProgram));
    EXPECT_EQ(exec, c.exec);
    EXPECT_EQ(SessionArguments(exec), (std::vector<std::string>{kProgram, shell::kLogOnVerb, c.folder}));
  }
}

TEST(LogOnEntry, EachMachineFolderHasAnEntryOfItsOwn) {
  const std::vector<std::filesystem::path> folders = {"/home/u/.local/share/startlogo", "/home/u/a-b", "/home/u/a/b",
                                                      "/home/u/My machine", "/" + std::string(300, 'x')};
  std::vector<std::string> names;
  for (const auto& folder : folders) {
    const std::filesystem::path file = shell::LogOnEntryFile(folder);
    EXPECT_EQ(file.extension(), ".desktop");
    EXPECT_LT(file.filename().string().size(), 200u);
    EXPECT_EQ(file.filename().string().find_first_of(" /"), std::string::npos) << file;
    for (const std::string& other : names) EXPECT_NE(file.filename().string(), other);
    names.push_back(file.filename().string());
  }
  EXPECT_NE(names[0].find("home-u-.local-share-startlogo"), std::string::npos) << names[0];
}

TEST(LogOnEntry, TheDesktopsCheckerFindsNothingWrong) {
  if (!HaveTool("desktop-file-validate")) GTEST_SKIP() << "no desktop-file-validate";
  ScopedMachineRoot scratch;
  for (const char* folder : {"/home/u/.local/share/startlogo", "/home/u/My machine", "/m/100% $x\\y \"z\"", "/m/é"}) {
    SCOPED_TRACE(folder);
    const std::filesystem::path file = scratch.Path() / "startlogo-log-on-check.desktop";
    std::ofstream(file) << shell::LogOnEntry(folder, kProgram);
    const std::string said = ToolOutput("desktop-file-validate '" + file.string() + "' 2>&1; echo status $?");
    EXPECT_EQ(said, "status 0\n");
  }
}

class LogOnEntryFile : public MachineRootTest {
 protected:
  std::filesystem::path Entry() { return shell::LogOnEntryFile(machine::Root()); }
  static void Put(const std::string& path) {
    shell::Link link;
    link.Target = "c:\\logos\\logo.exe";
    ASSERT_TRUE(shell::WriteLink(path, link)) << path;
  }
};

TEST_F(LogOnEntryFile, ComesWithTheFirstStartUpShortcutAndGoesWithTheLast) {
  const std::string startUp = shell::StartUpFolders().front();
  std::filesystem::create_directories(root.DriveC() / "windows/Start Menu/Programs/Accessories");
  Put(shell::ProgramGroupFolder("Accessories") + "\\Other.lnk");
  EXPECT_FALSE(std::filesystem::exists(Entry())) << "a shortcut of another group";
  std::ofstream(root.DriveC() / "windows/Start Menu/Programs/StartUp/readme.txt") << "no shortcut";
  ASSERT_TRUE(CopyFileA("c:\\windows\\Start Menu\\Programs\\StartUp\\readme.txt", "c:\\windows\\x.txt", FALSE));
  EXPECT_FALSE(std::filesystem::exists(Entry()));

  Put(startUp + "\\Logo.lnk");
  ASSERT_TRUE(std::filesystem::exists(Entry()));
  EXPECT_EQ(Entry().parent_path(), root.Autostart());
  const std::string entry = Read(Entry());
  EXPECT_EQ(SessionArguments(ExecValue(entry)),
            (std::vector<std::string>{MACHINE_FOLDER_PROGRAM, shell::kLogOnVerb, machine::Root().string()}));
  Put(startUp + "\\Second.lnk");
  ASSERT_TRUE(DeleteFileA((startUp + "\\Logo.lnk").c_str()));
  EXPECT_TRUE(std::filesystem::exists(Entry())) << "the group still holds a shortcut";
  ASSERT_TRUE(DeleteFileA((startUp + "\\Second.lnk").c_str()));
  EXPECT_FALSE(std::filesystem::exists(Entry()));

  // The common group counts as well; a shortcut removed by other means goes at the next log-on.
  std::filesystem::create_directories(root.DriveC() / "windows/All Users/Start Menu/Programs/StartUp");
  Put("c:\\windows\\All Users\\Start Menu\\Programs\\StartUp\\Everyone.lnk");
  ASSERT_TRUE(std::filesystem::exists(Entry()));
  std::filesystem::remove(root.DriveC() / "windows/All Users/Start Menu/Programs/StartUp/Everyone.lnk");
  EXPECT_EQ(shell::LogOn().Failures, std::vector<std::string>{});
  EXPECT_FALSE(std::filesystem::exists(Entry()));
}

}  // namespace
